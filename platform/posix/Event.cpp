// Events over sync blocks (SharedBlock.h): a flag under a robust lock and a condition variable.
#include "platform/Event.h"

#include <cerrno>

#include "platform/LastError.h"
#include "platform/posix/HandleTable.h"
#include "platform/posix/SharedBlock.h"

namespace platform {

namespace {

class EventObject : public posix::KernelObject {
  public:
    explicit EventObject(std::shared_ptr<posix::SyncMapping> map) : m_map(std::move(map)) {}

    uint32_t Wait(uint32_t ms) override {
        posix::SyncBlock& b = m_map->Block();
        const struct timespec deadline = posix::DeadlineAfter(ms);
        if (posix::LockRobust(b.m_lock) == ENOTRECOVERABLE) return Failed();
        while (b.m_set == 0) {
            if (ms == 0) break;
            int r = ms == kInfinite ? pthread_cond_wait(&b.m_cond, &b.m_lock)
                                    : pthread_cond_timedwait(&b.m_cond, &b.m_lock, &deadline);
            if (r == EOWNERDEAD) pthread_mutex_consistent(&b.m_lock);
            if (r == ETIMEDOUT) break;
        }
        const bool signalled = b.m_set != 0;
        if (signalled && b.m_manual == 0) b.m_set = 0;
        pthread_mutex_unlock(&b.m_lock);
        return signalled ? kWaitObject0 : kWaitTimeout;
    }

    bool Set(bool set) {
        posix::SyncBlock& b = m_map->Block();
        if (posix::LockRobust(b.m_lock) == ENOTRECOVERABLE) return Failed() == 0;
        b.m_set = set ? 1 : 0;
        if (set) pthread_cond_broadcast(&b.m_cond); // an auto-reset event lets the first through
        pthread_mutex_unlock(&b.m_lock);
        return true;
    }

  private:
    static uint32_t Failed() {
        SetLastError(kErrorGenFailure);
        return kWaitFailed;
    }
    std::shared_ptr<posix::SyncMapping> m_map;
};

Handle AddEvent(std::shared_ptr<posix::SyncMapping> map) {
    if (!map) return 0;
    return posix::AddHandle(std::make_shared<EventObject>(std::move(map)));
}

} // namespace

Handle CreateEvent(bool manualReset, bool initiallySet, std::u16string_view name) {
    if (name.empty()) {
        const Handle h =
            AddEvent(posix::SyncMapping::CreatePrivate(posix::SyncKind::Event, manualReset));
        if (h != 0 && initiallySet) SetEvent(h);
        if (h != 0) SetLastError(kErrorSuccess);
        return h;
    }
    bool existed = false;
    std::shared_ptr<posix::SyncMapping> map =
        posix::SyncMapping::OpenNamed(name, posix::SyncKind::Event, true, manualReset, existed);
    const Handle h = AddEvent(std::move(map));
    if (h == 0) return 0;
    if (!existed && initiallySet) SetEvent(h);
    SetLastError(existed ? kErrorAlreadyExists : kErrorSuccess);
    return h;
}

Handle OpenEvent(std::u16string_view name) {
    if (name.empty()) {
        SetLastError(kErrorInvalidParameter);
        return 0;
    }
    bool existed = false;
    return AddEvent(
        posix::SyncMapping::OpenNamed(name, posix::SyncKind::Event, false, false, existed));
}

bool SetEvent(Handle h) {
    std::shared_ptr<EventObject> e = posix::FindHandleOf<EventObject>(h);
    return e && e->Set(true);
}

bool ResetEvent(Handle h) {
    std::shared_ptr<EventObject> e = posix::FindHandleOf<EventObject>(h);
    return e && e->Set(false);
}

} // namespace platform
