// Mutexes over sync blocks (SharedBlock.h): a robust, recursive, process-shared pthread mutex.
// Its memory stays mapped while the process lives: glibc links the robust mutexes a thread
// holds into a list, so unmapping one that a thread still holds would corrupt that list.
#include "platform/NamedMutex.h"

#include <cerrno>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/LastError.h"
#include "platform/posix/HandleTable.h"
#include "platform/posix/SharedBlock.h"

namespace platform {

namespace {

class MutexObject : public posix::KernelObject {
  public:
    explicit MutexObject(std::shared_ptr<posix::SyncMapping> map) : m_map(std::move(map)) {}

    uint32_t Wait(uint32_t ms) override {
        pthread_mutex_t& m = m_map->Block().m_lock;
        int r;
        if (ms == 0) {
            r = pthread_mutex_trylock(&m);
        } else if (ms == kInfinite) {
            r = pthread_mutex_lock(&m);
        } else {
            const struct timespec deadline = posix::DeadlineAfter(ms);
            r = pthread_mutex_clocklock(&m, CLOCK_MONOTONIC, &deadline);
        }
        switch (r) {
        case 0:
            return kWaitObject0;
        case EOWNERDEAD:
            pthread_mutex_consistent(&m);
            return kWaitAbandoned;
        case EBUSY:
        case ETIMEDOUT:
            return kWaitTimeout;
        default:
            SetLastError(kErrorGenFailure);
            return kWaitFailed;
        }
    }

    bool Release() {
        if (pthread_mutex_unlock(&m_map->Block().m_lock) == 0) return true;
        SetLastError(kErrorNotOwner);
        return false;
    }

  private:
    std::shared_ptr<posix::SyncMapping> m_map;
};

// Every mapping this process made, kept until it exits (see the top of this file).
struct Mappings {
    std::mutex m_lock;
    std::map<std::string, std::shared_ptr<posix::SyncMapping>> m_named; // by file
    std::vector<std::shared_ptr<posix::SyncMapping>> m_unnamed;
};

Mappings& TheMappings() {
    static Mappings* all = new Mappings; // never destroyed, see above
    return *all;
}

std::shared_ptr<posix::SyncMapping> Named(std::u16string_view name, bool create, bool& existed) {
    Mappings& all = TheMappings();
    std::lock_guard<std::mutex> hold(all.m_lock);
    const std::string path = posix::NamedObjectPath(name);
    auto it = all.m_named.find(path);
    if (it != all.m_named.end()) {
        existed = true;
        return it->second;
    }
    std::shared_ptr<posix::SyncMapping> map =
        posix::SyncMapping::OpenNamed(name, posix::SyncKind::Mutex, create, false, existed);
    if (map) all.m_named.emplace(path, map);
    return map;
}

} // namespace

Handle CreateMutex(bool initiallyOwned, std::u16string_view name) {
    bool existed = false;
    std::shared_ptr<posix::SyncMapping> map;
    if (name.empty()) {
        map = posix::SyncMapping::CreatePrivate(posix::SyncKind::Mutex, false);
        if (map) {
            Mappings& all = TheMappings();
            std::lock_guard<std::mutex> hold(all.m_lock);
            all.m_unnamed.push_back(map);
        }
    } else {
        map = Named(name, true, existed);
    }
    if (!map) return 0;
    auto object = std::make_shared<MutexObject>(map);
    const Handle h = posix::AddHandle(object);
    if (h == 0) return 0;
    if (initiallyOwned && !existed) object->Wait(kInfinite);
    SetLastError(existed ? kErrorAlreadyExists : kErrorSuccess);
    return h;
}

Handle OpenMutex(std::u16string_view name) {
    if (name.empty()) {
        SetLastError(kErrorInvalidParameter);
        return 0;
    }
    bool existed = false;
    std::shared_ptr<posix::SyncMapping> map = Named(name, false, existed);
    return map ? posix::AddHandle(std::make_shared<MutexObject>(map)) : 0;
}

bool ReleaseMutex(Handle h) {
    std::shared_ptr<MutexObject> m = posix::FindHandleOf<MutexObject>(h);
    return m && m->Release();
}

} // namespace platform
