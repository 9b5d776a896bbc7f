// Stop requests on POSIX: SIGINT and SIGTERM set an async-signal-safe flag. SA_RESTART keeps
// the system calls that a signal interrupts going, so work in progress reaches its next safe
// point unharmed; sleeps are cut into short slices that look at the flag.
#include "platform/StopRequest.h"

#include <signal.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace platform {

namespace {

std::atomic<bool> g_stop{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from a signal handler");

constexpr uint32_t kSliceMs = 20; // how late a sleep notices a stop request at most

extern "C" void OnStopSignal(int) {
    g_stop.store(true);
}

} // namespace

void InstallStopHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
    });
}

bool StopRequested() {
    return g_stop.load();
}

void RequestStop() {
    g_stop.store(true);
}

// Real time, not the tick counter that tests may drive.
bool SleepUnlessStopped(uint32_t ms) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (StopRequested()) return false;
        const Clock::time_point now = Clock::now();
        if (now >= end) return true;
        std::this_thread::sleep_for(
            std::min<Clock::duration>(end - now, std::chrono::milliseconds(kSliceMs)));
    }
}

} // namespace platform
