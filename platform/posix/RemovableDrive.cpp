// Files on the pen drive: a stdio stream over the file's descriptor whose reads and writes first
// ask the board's notice whether the drive they were opened on is still in.
#include "platform/posix/RemovableDrive.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>

#include "platform/Paths.h"
#include "platform/posix/BoardWire.h"

namespace platform::drive {

namespace {

struct DriveFile {
    int fd;
    uint64_t insertion;     // the drive the file was opened on
    FILE* stream = nullptr; // the stream over it
};

std::mutex g_lock;
std::map<FILE*, int> g_descriptors; // streams opened here and their descriptors

bool StillIn(const DriveFile& file) {
    uint64_t now = 0;
    if (CurrentInsertion(now) && now == file.insertion) return true;
    errno = EIO;
    return false;
}

ssize_t Read(void* cookie, char* buf, size_t size) {
    DriveFile* file = static_cast<DriveFile*>(cookie);
    if (!StillIn(*file)) return -1;
    return read(file->fd, buf, size);
}

ssize_t Write(void* cookie, const char* buf, size_t size) {
    DriveFile* file = static_cast<DriveFile*>(cookie);
    if (!StillIn(*file)) return 0; // stdio takes 0 as a failed write
    const ssize_t n = write(file->fd, buf, size);
    return n < 0 ? 0 : n;
}

int Seek(void* cookie, off64_t* offset, int whence) {
    DriveFile* file = static_cast<DriveFile*>(cookie);
    const off64_t at = lseek64(file->fd, *offset, whence);
    if (at < 0) return -1;
    *offset = at;
    return 0;
}

int Close(void* cookie) {
    DriveFile* file = static_cast<DriveFile*>(cookie);
    {
        std::lock_guard<std::mutex> hold(g_lock);
        g_descriptors.erase(file->stream);
    }
    const int r = close(file->fd);
    delete file;
    return r;
}

// The open flags of a stdio mode ("r", "w+", "ab", ...).
int Flags(const char* mode) {
    const bool plus = std::strchr(mode, '+') != nullptr;
    const int access = plus ? O_RDWR : (mode[0] == 'r' ? O_RDONLY : O_WRONLY);
    if (mode[0] == 'w') return access | O_CREAT | O_TRUNC;
    if (mode[0] == 'a') return access | O_CREAT | O_APPEND;
    return access;
}

} // namespace

bool CurrentInsertion(uint64_t& insertion) {
    std::ifstream notice(board::DriveNoticePath());
    std::string word, state;
    uint64_t n = 0;
    if (!(notice >> word >> n >> state) || word != "insertion") return false;
    insertion = state == "in" ? n : 0;
    return true;
}

static bool Under(const std::string& native, const std::string& dir) {
    return !dir.empty() && native.compare(0, dir.size(), dir) == 0 &&
           (native.size() == dir.size() || native[dir.size()] == '/');
}

bool OnDrive(const std::string& native) {
    const std::string drive = DeviceRoot() + "/Hard Disk";
    if (Under(native, drive)) return true;
    // The drive's folder as the system resolves it (a linked folder, a root behind a link).
    char* real = realpath(drive.c_str(), nullptr);
    const bool under = real != nullptr && Under(native, real);
    std::free(real);
    return under;
}

FILE* Open(const std::string& native, const char* mode) {
    uint64_t insertion = 0;
    // A folder at "\Hard Disk" that the board did not plug is an ordinary folder.
    if (!OnDrive(native) || !CurrentInsertion(insertion) || insertion == 0)
        return std::fopen(native.c_str(), mode);
    if (mode[0] != 'r' && mode[0] != 'w' && mode[0] != 'a') {
        errno = EINVAL;
        return nullptr;
    }
    const int fd = open(native.c_str(), Flags(mode) | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    DriveFile* file = new DriveFile{fd, insertion};
    std::lock_guard<std::mutex> hold(g_lock); // Close cannot run before the stream is noted
    const cookie_io_functions_t io = {Read, Write, Seek, Close};
    FILE* f = fopencookie(file, mode, io);
    if (f == nullptr) {
        close(fd);
        delete file;
        return nullptr;
    }
    file->stream = f;
    g_descriptors[f] = fd;
    return f;
}

int Descriptor(FILE* f) {
    if (f == nullptr) return -1;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        const auto it = g_descriptors.find(f);
        if (it != g_descriptors.end()) return it->second;
    }
    return fileno(f);
}

} // namespace platform::drive
