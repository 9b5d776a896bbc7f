// Tick counter from the monotonic clock, local wall clock from the real-time clock and the
// C library's time zone, both replaceable by tests.
#include "platform/Clock.h"

#include <atomic>
#include <cerrno>
#include <ctime>

#include "platform/posix/Calendar.h"

namespace platform {

namespace {

using TickFn = uint32_t (*)();
using ClockFn = SystemTime (*)();
using SetterFn = bool (*)(const SystemTime&);

std::atomic<TickFn> g_tickSource{nullptr};
std::atomic<ClockFn> g_clockSource{nullptr};
std::atomic<SetterFn> g_clockSetter{nullptr};

// Days from 1 January 1601 to 1 January 1970.
constexpr int64_t kFileTimeEpochDays = -calendar::DaysFromCivil(1601, 1, 1);
constexpr uint64_t kTicksPerMs = 10000;
constexpr uint64_t kMaxFileTime = 0x7FFFFFFFFFFFFFFFull;

uint32_t RealTickCount(clockid_t clock = CLOCK_MONOTONIC) {
    timespec ts{};
    clock_gettime(clock, &ts);
    const uint64_t ms =
        static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms); // wraps modulo 2^32 like the board's counter
}

// The local fields of the last second converted on this thread. The C library's conversion takes
// a process-wide lock and costs more than the clock itself, and a busy log asks many times a
// second; a new time zone (tzset changes these globals) converts afresh.
struct LocalSecond {
    time_t secs = -1;
    long zone = 0;
    int daylight = 0;
    const char* names[2] = {nullptr, nullptr};
    tm local{};

    bool Holds(time_t s) const {
        return s == secs && zone == ::timezone && daylight == ::daylight &&
               names[0] == ::tzname[0] && names[1] == ::tzname[1];
    }
    void Convert(time_t s) {
        localtime_r(&s, &local);
        secs = s;
        zone = ::timezone;
        daylight = ::daylight;
        names[0] = ::tzname[0];
        names[1] = ::tzname[1];
    }
};

SystemTime RealLocalNow(clockid_t clock = CLOCK_REALTIME) {
    timespec ts{};
    clock_gettime(clock, &ts);
    thread_local LocalSecond cache;
    if (!cache.Holds(ts.tv_sec)) cache.Convert(ts.tv_sec);
    const tm& local = cache.local;
    SystemTime st;
    st.year = static_cast<uint16_t>(local.tm_year + 1900);
    st.month = static_cast<uint16_t>(local.tm_mon + 1);
    st.dayOfWeek = static_cast<uint16_t>(local.tm_wday);
    st.day = static_cast<uint16_t>(local.tm_mday);
    st.hour = static_cast<uint16_t>(local.tm_hour);
    st.minute = static_cast<uint16_t>(local.tm_min);
    st.second = static_cast<uint16_t>(local.tm_sec < 60 ? local.tm_sec : 59); // leap second
    st.milliseconds = static_cast<uint16_t>(ts.tv_nsec / 1000000);
    return st;
}

bool RealSetLocalTime(const SystemTime& st) {
    tm local{};
    local.tm_year = st.year - 1900;
    local.tm_mon = st.month - 1;
    local.tm_mday = st.day;
    local.tm_hour = st.hour;
    local.tm_min = st.minute;
    local.tm_sec = st.second;
    local.tm_isdst = -1;
    const time_t secs = mktime(&local);
    if (secs == static_cast<time_t>(-1)) return false;
    timespec ts{};
    ts.tv_sec = secs;
    ts.tv_nsec = static_cast<long>(st.milliseconds) * 1000000L;
    return clock_settime(CLOCK_REALTIME, &ts) == 0;
}

} // namespace

uint32_t TickCount() {
    const TickFn source = g_tickSource.load();
    return source ? source() : RealTickCount();
}

void SetTickSource(uint32_t (*source)()) {
    g_tickSource.store(source);
}

SystemTime LocalNow() {
    const ClockFn source = g_clockSource.load();
    return source ? source() : RealLocalNow();
}

uint32_t CoarseTickCount() {
    const TickFn source = g_tickSource.load();
    return source ? source() : RealTickCount(CLOCK_MONOTONIC_COARSE);
}

SystemTime CoarseLocalNow() {
    const ClockFn source = g_clockSource.load();
    return source ? source() : RealLocalNow(CLOCK_REALTIME_COARSE);
}

bool SetLocalTime(const SystemTime& st) {
    if (!calendar::ValidDate(st, 1601, 30827) || !calendar::ValidTimeOfDay(st)) return false;
    if (const SetterFn setter = g_clockSetter.load()) return setter(st);
    // A driven clock without a setter refuses: the machine's clock is never the test's to set.
    if (g_clockSource.load()) return false;
    return RealSetLocalTime(st);
}

void SetClockSource(SystemTime (*source)(), bool (*setter)(const SystemTime&)) {
    g_clockSetter.store(source ? setter : nullptr);
    g_clockSource.store(source);
}

bool SystemTimeToFileTime(const SystemTime& st, uint64_t& out) {
    if (!calendar::ValidDate(st, 1601, 30827) || !calendar::ValidTimeOfDay(st)) return false;
    const int64_t days = calendar::DaysFromCivil(st.year, st.month, st.day) + kFileTimeEpochDays;
    const uint64_t ms = static_cast<uint64_t>(days) * calendar::kMsPerDay +
                        static_cast<uint64_t>(calendar::MsOfDay(st));
    out = ms * kTicksPerMs;
    return true;
}

bool FileTimeToSystemTime(uint64_t ft, SystemTime& out) {
    if (ft > kMaxFileTime) return false;
    const uint64_t ms = ft / kTicksPerMs;
    const int64_t days = static_cast<int64_t>(ms / calendar::kMsPerDay);
    out = calendar::FromDaysAndMs(days - kFileTimeEpochDays,
                                  static_cast<int64_t>(ms % calendar::kMsPerDay));
    return true;
}

void Sleep(uint32_t ms) {
    timespec ts{};
    ts.tv_sec = ms / 1000;
    ts.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

} // namespace platform
