// Detached threads. The lowest priority maps to the nice value 19 of the new thread (Linux
// schedules threads individually), which needs no privilege.
#include "platform/Thread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <system_error>
#include <thread>

namespace platform {

namespace {

void LowerOwnPriority() {
    const auto tid = static_cast<id_t>(syscall(SYS_gettid));
    setpriority(PRIO_PROCESS, tid, 19);
}

} // namespace

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
