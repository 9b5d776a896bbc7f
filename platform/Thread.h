// Background threads.
#pragma once
#include <functional>

namespace platform {

enum class ThreadPriority { Lowest, Normal };

// Starts a detached thread; nobody waits for it. False when it cannot be created.
bool StartDetachedThread(std::function<void()> body, ThreadPriority priority);

} // namespace platform
