// RunGuarded: runs the service's main loop under the exception guard. A processor exception
// that escapes it is reported to the service log, the hardware watchdog is armed, and the
// thread is held for good: nobody refreshes the watchdog, so the board resets.
#pragma once
#include <cstdint>
#include <functional>

#include "common/CLog.h"
#include "logservice/CWatchdog.h"

// The last exception the guard caught in this module (code 0 while none was).
struct ExceptionRecord {
    uint32_t code;
    uintptr_t address;
};
ExceptionRecord LastException();

// The report's text for an exception code ("Access violation", ...; "Unhandled exeception
// 0x%08X" for codes outside the table), formatted into out.
void ExceptionText(uint32_t code, char* out, size_t size);

// Returns when run returns; after an exception it never returns. When the guard cannot be set
// up (no memory for its signal stack), run still runs, unguarded.
void RunGuarded(const std::function<void()>& run, CLog& log, CWatchdog& watchdog);
