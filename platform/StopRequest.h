// Stop requests of the console programs: Ctrl-C and a termination request (SIGINT and SIGTERM
// on POSIX, the console control events on Windows) set a process-wide flag instead of ending the
// process. Long work checks the flag at its safe points (between records, batches, steps and
// waits), ends there, and lets its log flush and write its STOP record on the normal way out.
#pragma once
#include <cstdint>

namespace platform {

// Turns the interrupt and termination requests into a stop request from now on. Calling it again
// does nothing more. Without it the requests keep their default effect.
void InstallStopHandlers();

// True once a stop was requested (by a handled signal or by RequestStop).
bool StopRequested();

// Requests a stop from within the process, as the handled signals do.
void RequestStop();

// Sleeps up to ms milliseconds, returning early when a stop is requested: a wait that a stop
// request cuts short within a few tens of milliseconds. True when the whole time passed, false
// when a stop request ended it (or was already pending).
bool SleepUnlessStopped(uint32_t ms);

} // namespace platform
