// Kernel object handles: events, mutexes, stream devices and waitable threads share one handle
// space per process, one close and one wait, as on the board.
#pragma once
#include <cstdint>

namespace platform {

// A process-local handle value; it fits the 4-byte handle fields that drivers fill in.
using Handle = uint32_t;

// Returned by OpenDevice and GetServiceHandle on failure. Creation of events, mutexes and threads
// returns 0 instead, as on the board.
constexpr Handle kInvalidHandle = 0xFFFFFFFF;

constexpr uint32_t kInfinite = 0xFFFFFFFF; // wait without time limit

// Wait results.
constexpr uint32_t kWaitObject0 = 0;         // the object was signalled (a mutex is now owned)
constexpr uint32_t kWaitAbandoned = 0x80;    // a mutex whose owner ended without releasing it
constexpr uint32_t kWaitTimeout = 0x102;     // the time ran out first
constexpr uint32_t kWaitFailed = 0xFFFFFFFF; // bad handle (last error 6) or a device handle

// Waits until the object is signalled or ms have passed (kInfinite: no limit; 0: just tests).
// An event is signalled while set (a wait released by an auto-reset event resets it); a mutex
// when free, and the waiting thread then owns it (also when abandoned); a thread when it has
// returned. Any thread may wait; several may wait on one object.
uint32_t WaitForSingleObject(Handle h, uint32_t ms);

// Closes any handle of this process. The object lives on while other handles (in this or, for
// named objects, any process) refer to it; a device is closed on the board. False with last
// error 6 when h is not an open handle. Closing a thread handle does not stop the thread.
bool CloseHandle(Handle h);

} // namespace platform
