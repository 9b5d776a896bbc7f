// Window messages: a window is a receiver registered with a callback and known by a
// pointer-sized handle; posting a message to it queues the message and returns at once, and the
// service's own thread calls the receiver with each message in the order they were posted.
// A handle that was never registered, or was unregistered, is never called: posting to it
// returns false, and messages still queued for it are dropped.
#pragma once
#include <cstdint>
#include <functional>

namespace platform {

using WindowHandle = intptr_t;
// Receives one message: the window, the message number and its two parameters.
using WindowProc =
    std::function<void(WindowHandle, uint32_t msg, intptr_t wParam, intptr_t lParam)>;

// A new window (handles are never 0 and never reused); 0 when proc is empty.
WindowHandle RegisterWindow(WindowProc proc);
// Once it returns, the window's callback is not running (unless this is called from inside that
// callback) and is never called again. False for an unknown handle.
bool UnregisterWindow(WindowHandle window);
// Queues the message; false when the window is not registered.
bool PostWindowMessage(WindowHandle window, uint32_t msg, intptr_t wParam, intptr_t lParam);

} // namespace platform
