// Millisecond tick counter, local wall clock and local time / file time conversion.
// Both clocks can be driven by tests (see SetTickSource, SetClockSource).
#pragma once
#include <cstdint>

namespace platform {

// Broken-down local date and time, the fields of the system-time record.
struct SystemTime {
    uint16_t year = 0;
    uint16_t month = 0; // 1..12
    uint16_t dayOfWeek = 0; // 0 = Sunday
    uint16_t day = 0; // 1..31
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;
};

// Milliseconds since an arbitrary start, 32 bits, wrapping modulo 2^32.
uint32_t TickCount();
// Replace the tick source (null restores the real one). Tests only.
void SetTickSource(uint32_t (*source)());

// Local wall clock, to the millisecond (no time-zone conversion is applied by callers).
SystemTime LocalNow();
// The same two clocks as of the system's last timer interrupt: a few milliseconds behind, and
// much cheaper to read (for time stamps read very often that need no more). Driven sources are
// followed as by TickCount and LocalNow.
uint32_t CoarseTickCount();
SystemTime CoarseLocalNow();
// Sets the local wall clock. False when not permitted or the value is invalid.
bool SetLocalTime(const SystemTime& st);
// Replace the wall-clock source (null restores the real one). Tests only; a driven clock
// also receives SetLocalTime.
void SetClockSource(SystemTime (*source)(), bool (*setter)(const SystemTime&) = nullptr);

// File time: 100-ns units since 1 January 1601 (here of a local time). False on invalid input.
bool SystemTimeToFileTime(const SystemTime& st, uint64_t& out);
bool FileTimeToSystemTime(uint64_t ft, SystemTime& out);

// Sleeps the calling thread.
void Sleep(uint32_t ms);

} // namespace platform
