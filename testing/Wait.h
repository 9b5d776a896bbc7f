// Waiting for a condition that another thread or process brings about, with a bound, so that a
// fault fails the test instead of hanging it.
#pragma once
#include <chrono>
#include <functional>
#include <thread>

namespace qvtesting {

// Polls done() every step until it holds (true) or the bound has passed (false).
inline bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds bound,
                    std::chrono::milliseconds step = std::chrono::milliseconds(10)) {
    const auto limit = std::chrono::steady_clock::now() + bound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        std::this_thread::sleep_for(step);
    }
    return true;
}

} // namespace qvtesting
