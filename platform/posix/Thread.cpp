// Detached threads, and threads with a waitable handle. The lowest priority maps to the nice
// value 19 of the new thread (Linux schedules threads individually), which needs no privilege.
#include "platform/Thread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/LastError.h"
#include "platform/Process.h"
#include "platform/posix/HandleTable.h"

namespace platform {

namespace {

void LowerOwnPriority() {
    const auto tid = static_cast<id_t>(syscall(SYS_gettid));
    setpriority(PRIO_PROCESS, tid, 19);
}

// Thread ids count up from 1; a thread gets its id when it first asks or when it is created.
std::atomic<uint32_t> g_nextThreadId{1};
thread_local uint32_t t_threadId = 0;

uint32_t NewThreadId() {
    uint32_t id = g_nextThreadId.fetch_add(1);
    if (id == 0) id = g_nextThreadId.fetch_add(1); // after a wrap
    return id;
}

// The end of a thread started by CreateThread, shared by the thread and its handles.
class ThreadObject : public posix::KernelObject {
  public:
    uint32_t Wait(uint32_t ms) override {
        std::unique_lock<std::mutex> hold(m_lock);
        const auto ended = [this] { return m_ended; };
        if (ms == kInfinite)
            m_changed.wait(hold, ended);
        else if (!m_changed.wait_for(hold, std::chrono::milliseconds(ms), ended))
            return kWaitTimeout;
        return kWaitObject0;
    }
    void End(uint32_t code) {
        std::lock_guard<std::mutex> hold(m_lock);
        m_code = code;
        m_ended = true;
        m_changed.notify_all();
    }
    uint32_t Code() {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_ended ? m_code : kStillActive;
    }

  private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_ended = false;
    uint32_t m_code = 0;
};

} // namespace

uint32_t CurrentThreadId() {
    if (t_threadId == 0) t_threadId = NewThreadId();
    return t_threadId;
}

Handle CreateThread(std::function<uint32_t()> body, uint32_t* threadId) {
    auto end = std::make_shared<ThreadObject>();
    const Handle h = posix::AddHandle(end);
    if (h == 0) return 0;
    const uint32_t id = NewThreadId();
    if (threadId != nullptr) *threadId = id;
    try {
        std::thread t([body = std::move(body), end, id]() {
            t_threadId = id;
            end->End(body());
        });
        t.detach();
    } catch (const std::system_error&) {
        CloseHandle(h);
        SetLastError(kErrorNotEnoughMemory);
        return 0;
    }
    return h;
}

bool GetExitCodeThread(Handle h, uint32_t& code) {
    std::shared_ptr<ThreadObject> end = posix::FindHandleOf<ThreadObject>(h);
    if (!end) return false;
    code = end->Code();
    return true;
}

bool StartDetachedThread(std::function<void()> body, ThreadPriority priority) {
    try {
        std::thread t([body = std::move(body), priority]() {
            if (priority == ThreadPriority::Lowest) LowerOwnPriority();
            body();
        });
        t.detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

} // namespace platform
