// Named and unnamed sync blocks (see SharedBlock.h).
#include "platform/posix/SharedBlock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <new>

#include "platform/LastError.h"
#include "platform/Paths.h"

namespace platform::posix {

namespace {

constexpr uint32_t kSyncMagic = 0x51565342; // "QVSB"
constexpr size_t kMaxNameLength = 200;

void InitBlock(SyncBlock& b, SyncKind kind, bool manual) {
    pthread_mutexattr_t ma;
    pthread_mutexattr_init(&ma);
    pthread_mutexattr_setpshared(&ma, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&ma, PTHREAD_MUTEX_ROBUST);
    if (kind == SyncKind::Mutex) pthread_mutexattr_settype(&ma, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&b.m_lock, &ma);
    pthread_mutexattr_destroy(&ma);
    pthread_condattr_t ca;
    pthread_condattr_init(&ca);
    pthread_condattr_setpshared(&ca, PTHREAD_PROCESS_SHARED);
    pthread_condattr_setclock(&ca, CLOCK_MONOTONIC);
    pthread_cond_init(&b.m_cond, &ca);
    pthread_condattr_destroy(&ca);
    b.m_kind = static_cast<uint32_t>(kind);
    b.m_manual = manual ? 1 : 0;
    b.m_set = 0;
    b.m_magic = kSyncMagic;
}

// File name of a named object: letters, digits, '.', '_' and '-' as they are, any other unit
// as "%XXXX", so every name maps to one file and names stay case-sensitive.
std::string FileNameOf(std::u16string_view name) {
    std::string out;
    for (char16_t c : name) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u'.' || c == u'_' || c == u'-';
        if (plain && !(c == u'.' && out.empty())) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%%%04X", static_cast<unsigned>(c));
            out += hex;
        }
    }
    return out;
}

std::filesystem::path ObjectsFolder() {
    return std::filesystem::path(DeviceRoot()) / ".board" / "objects";
}

} // namespace

std::string NamedObjectPath(std::u16string_view name) {
    return (ObjectsFolder() / FileNameOf(name)).string();
}

int LockRobust(pthread_mutex_t& m) {
    const int r = pthread_mutex_lock(&m);
    if (r == EOWNERDEAD) pthread_mutex_consistent(&m);
    return r;
}

SyncMapping::~SyncMapping() {
    if (m_fd >= 0) {
        munmap(m_block, sizeof(SyncBlock));
        close(m_fd); // drops the shared lock
    } else if (m_block != nullptr) {
        pthread_cond_destroy(&m_block->m_cond);
        pthread_mutex_destroy(&m_block->m_lock);
        delete m_block;
    }
}

std::shared_ptr<SyncMapping> SyncMapping::CreatePrivate(SyncKind kind, bool manual) {
    std::shared_ptr<SyncMapping> map(new SyncMapping);
    map->m_block = new (std::nothrow) SyncBlock();
    if (map->m_block == nullptr) {
        SetLastError(kErrorNotEnoughMemory);
        return nullptr;
    }
    InitBlock(*map->m_block, kind, manual);
    return map;
}

std::shared_ptr<SyncMapping> SyncMapping::OpenNamed(std::u16string_view name, SyncKind kind,
                                                    bool create, bool manual, bool& existed) {
    existed = false;
    if (name.size() > kMaxNameLength) {
        SetLastError(kErrorInvalidParameter);
        return nullptr;
    }
    const std::filesystem::path folder = std::filesystem::path(DeviceRoot()) / ".board" / "objects";
    std::error_code ec;
    if (create) std::filesystem::create_directories(folder, ec);
    const std::string path = (folder / FileNameOf(name)).string();
    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0666);
    if (fd < 0) {
        SetLastError(errno == ENOENT ? kErrorFileNotFound : kErrorAccessDenied);
        return nullptr;
    }
    std::shared_ptr<SyncMapping> map(new SyncMapping);
    map->m_fd = fd;
    const bool alone = flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (alone && !create) { // a left-over file: the object itself has gone
        SetLastError(kErrorFileNotFound);
        return nullptr;
    }
    if (alone && ftruncate(fd, sizeof(SyncBlock)) != 0) {
        SetLastError(kErrorAccessDenied);
        return nullptr;
    }
    if (!alone) flock(fd, LOCK_SH); // waits while a creator initialises the block
    struct stat st;
    void* mem = MAP_FAILED;
    if (fstat(fd, &st) == 0 && st.st_size >= static_cast<off_t>(sizeof(SyncBlock)))
        mem = mmap(nullptr, sizeof(SyncBlock), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (mem == MAP_FAILED) {
        SetLastError(kErrorAccessDenied);
        return nullptr;
    }
    map->m_block = static_cast<SyncBlock*>(mem);
    if (alone) {
        InitBlock(*map->m_block, kind, manual);
        flock(fd, LOCK_SH); // converts the exclusive lock
    } else {
        existed = true;
        if (map->m_block->m_magic != kSyncMagic ||
            map->m_block->m_kind != static_cast<uint32_t>(kind)) {
            SetLastError(kErrorInvalidHandle);
            return nullptr;
        }
    }
    return map;
}

} // namespace platform::posix
