// Background threads: detached ones, and threads with a handle that can be waited on.
#pragma once
#include <cstdint>
#include <functional>

#include "platform/Handle.h"

namespace platform {

enum class ThreadPriority { Lowest, Normal };

// Starts a detached thread; nobody waits for it. False when it cannot be created.
bool StartDetachedThread(std::function<void()> body, ThreadPriority priority);

// Starts a thread running body. WaitForSingleObject on the handle returns kWaitObject0 once body
// has returned; GetExitCodeThread then gives its result. threadId, when given, receives the
// thread's id before body runs. Returns 0 when the thread cannot be created (last error 8).
// CloseHandle forgets the handle; the thread runs on.
Handle CreateThread(std::function<uint32_t()> body, uint32_t* threadId = nullptr);

// True with body's result, or kStillActive (Process.h, 259) while it runs; false with last
// error 6 when h is not a thread handle.
bool GetExitCodeThread(Handle h, uint32_t& code);

// The calling thread's id, unique among the living threads of the process, never 0.
uint32_t CurrentThreadId();

} // namespace platform
