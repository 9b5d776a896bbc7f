// The stop-request flag and the waits it cuts short: plain C++, shared by every platform. How the
// interrupt and termination requests reach the flag is each platform's (StopSignals.cpp).
#include "platform/StopRequest.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace platform {

namespace {

std::atomic<bool> g_stop{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from a signal handler");

constexpr uint32_t kSliceMs = 20; // how late a sleep notices a stop request at most

} // namespace

bool StopRequested() {
    return g_stop.load();
}

// Async-signal-safe: one lock-free store.
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
