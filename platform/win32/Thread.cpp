// Detached background threads on the system's threads; the lowest priority is the system's.
#include "platform/Thread.h"

#include <system_error>
#include <thread>

#include "platform/win32/Win32.h"

namespace platform {

bool StartDetachedThread(std::function<void()> body, ThreadPriority priority) {
    try {
        std::thread([body = std::move(body), priority] {
            if (priority == ThreadPriority::Lowest)
                SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
            body();
        }).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

uint32_t CurrentThreadId() {
    return GetCurrentThreadId();
}

} // namespace platform
