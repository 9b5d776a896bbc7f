// Tick counter and local wall clock of the system, both replaceable by tests; file times
// through the system's own conversions.
#include "platform/Clock.h"

#include <atomic>

#include "platform/win32/Win32.h"

namespace platform {

namespace {

using TickFn = uint32_t (*)();
using ClockFn = SystemTime (*)();
using SetterFn = bool (*)(const SystemTime&);

std::atomic<TickFn> g_tickSource{nullptr};
std::atomic<ClockFn> g_clockSource{nullptr};
std::atomic<SetterFn> g_clockSetter{nullptr};

SystemTime RealLocalNow() {
    SYSTEMTIME w{};
    GetLocalTime(&w);
    return win32::FromWindows(w);
}

} // namespace

uint32_t TickCount() {
    const TickFn source = g_tickSource.load();
    return source ? source() : GetTickCount();
}

// GetTickCount and GetLocalTime already read the clock of the last timer interrupt.
uint32_t CoarseTickCount() {
    return TickCount();
}

SystemTime CoarseLocalNow() {
    return LocalNow();
}

void SetTickSource(uint32_t (*source)()) {
    g_tickSource.store(source);
}

SystemTime LocalNow() {
    const ClockFn source = g_clockSource.load();
    return source ? source() : RealLocalNow();
}

bool SetLocalTime(const SystemTime& st) {
    uint64_t check = 0;
    if (!SystemTimeToFileTime(st, check)) return false;
    if (const SetterFn setter = g_clockSetter.load()) return setter(st);
    // A driven clock without a setter refuses: the machine's clock is never the test's to set.
    if (g_clockSource.load()) return false;
    const SYSTEMTIME w = win32::ToWindows(st);
    return ::SetLocalTime(&w) != 0;
}

void SetClockSource(SystemTime (*source)(), bool (*setter)(const SystemTime&)) {
    g_clockSetter.store(source ? setter : nullptr);
    g_clockSource.store(source);
}

bool SystemTimeToFileTime(const SystemTime& st, uint64_t& out) {
    const SYSTEMTIME w = win32::ToWindows(st);
    if (!win32::ValidSystemTime(w)) return false;
    FILETIME ft{};
    if (!::SystemTimeToFileTime(&w, &ft)) return false;
    out = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return true;
}

bool FileTimeToSystemTime(uint64_t ft, SystemTime& out) {
    FILETIME f{};
    f.dwLowDateTime = static_cast<DWORD>(ft);
    f.dwHighDateTime = static_cast<DWORD>(ft >> 32);
    SYSTEMTIME w{};
    if (!::FileTimeToSystemTime(&f, &w)) return false;
    out = win32::FromWindows(w);
    return true;
}

void Sleep(uint32_t ms) {
    ::Sleep(ms);
}

namespace win32 {

SYSTEMTIME ToWindows(const SystemTime& st) {
    SYSTEMTIME w{};
    w.wYear = st.year;
    w.wMonth = st.month;
    w.wDayOfWeek = st.dayOfWeek;
    w.wDay = st.day;
    w.wHour = st.hour;
    w.wMinute = st.minute;
    w.wSecond = st.second;
    w.wMilliseconds = st.milliseconds;
    return w;
}

SystemTime FromWindows(const SYSTEMTIME& w) {
    SystemTime st;
    st.year = w.wYear;
    st.month = w.wMonth;
    st.dayOfWeek = w.wDayOfWeek;
    st.day = w.wDay;
    st.hour = w.wHour;
    st.minute = w.wMinute;
    st.second = w.wSecond;
    st.milliseconds = w.wMilliseconds;
    return st;
}

bool ValidSystemTime(const SYSTEMTIME& st) {
    static const uint8_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (st.wMonth < 1 || st.wMonth > 12 || st.wDay < 1) return false;
    const bool leap = (st.wYear % 4 == 0 && st.wYear % 100 != 0) || st.wYear % 400 == 0;
    const int days = kDays[st.wMonth - 1] + (st.wMonth == 2 && leap ? 1 : 0);
    return st.wDay <= days && st.wHour < 24 && st.wMinute < 60 && st.wSecond < 60 &&
           st.wMilliseconds < 1000;
}

} // namespace win32

} // namespace platform
