// The handle table: handle values count up in steps of 4 (as the board's do) and are not reused
// until the counter wraps, so a stale handle is not mistaken for a new object.
#include <ctime>
#include <mutex>
#include <unordered_map>

#include "platform/Handle.h"
#include "platform/LastError.h"
#include "platform/posix/HandleTable.h"

namespace platform {

namespace posix {

namespace {

struct Table {
    std::mutex m_lock;
    std::unordered_map<Handle, std::shared_ptr<KernelObject>> m_objects;
    Handle m_next = 0x40;
};

Table& TheTable() {
    static Table* table = new Table; // never destroyed: threads may close handles during exit
    return *table;
}

constexpr size_t kMaxHandles = 1 << 20;

} // namespace

uint32_t KernelObject::Wait(uint32_t) {
    SetLastError(kErrorInvalidHandle);
    return kWaitFailed;
}

void SetInvalidHandleError() {
    SetLastError(kErrorInvalidHandle);
}

Handle AddHandle(std::shared_ptr<KernelObject> object) {
    Table& t = TheTable();
    std::lock_guard<std::mutex> hold(t.m_lock);
    if (t.m_objects.size() >= kMaxHandles) {
        SetLastError(kErrorNotEnoughMemory);
        return 0;
    }
    for (;;) {
        const Handle h = t.m_next;
        t.m_next += 4;
        if (h == 0 || h == kInvalidHandle || t.m_objects.count(h) != 0) continue;
        t.m_objects.emplace(h, std::move(object));
        return h;
    }
}

std::shared_ptr<KernelObject> FindHandle(Handle h) {
    Table& t = TheTable();
    std::lock_guard<std::mutex> hold(t.m_lock);
    auto it = t.m_objects.find(h);
    return it == t.m_objects.end() ? nullptr : it->second;
}

struct timespec DeadlineAfter(uint32_t ms) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    ts.tv_sec += ms / 1000;
    ts.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
    if (ts.tv_nsec >= 1000000000L) {
        ts.tv_sec += 1;
        ts.tv_nsec -= 1000000000L;
    }
    return ts;
}

} // namespace posix

uint32_t WaitForSingleObject(Handle h, uint32_t ms) {
    std::shared_ptr<posix::KernelObject> object = posix::FindHandle(h);
    if (!object) {
        SetLastError(kErrorInvalidHandle);
        return kWaitFailed;
    }
    return object->Wait(ms);
}

bool CloseHandle(Handle h) {
    std::shared_ptr<posix::KernelObject> object;
    {
        posix::Table& t = posix::TheTable();
        std::lock_guard<std::mutex> hold(t.m_lock);
        auto it = t.m_objects.find(h);
        if (it == t.m_objects.end()) {
            SetLastError(kErrorInvalidHandle);
            return false;
        }
        object = std::move(it->second);
        t.m_objects.erase(it);
    }
    return true; // the object goes when its last user lets go, outside the table's lock
}

} // namespace platform
