#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "testing/Time.h"

using qvtesting::MakeTime;

using namespace platform;

namespace {

uint32_t g_tick = 0;
uint32_t DrivenTick() {
    return g_tick;
}

SystemTime g_now;
int g_setCalls = 0;
SystemTime DrivenNow() {
    return g_now;
}
bool DrivenSet(const SystemTime& st) {
    ++g_setCalls;
    g_now = st;
    return true;
}

} // namespace

TEST(Tick, DrivenSourceWrapsModulo32Bits) {
    SetTickSource(DrivenTick);
    g_tick = 0xFFFFFFF0u;
    const uint32_t start = TickCount();
    g_tick += 0x20; // wraps past zero
    EXPECT_EQ(TickCount(), 0x10u);
    EXPECT_EQ(TickCount() - start, 0x20u); // unsigned difference survives the wrap
    SetTickSource(nullptr);
    const uint32_t a = TickCount();
    Sleep(20);
    const uint32_t elapsed = TickCount() - a;
    EXPECT_GE(elapsed, 19u);
    EXPECT_LT(elapsed, 5000u);
}

TEST(WallClock, DrivenSourceReceivesSetLocalTime) {
    g_now = MakeTime(2025, 1, 7, 16, 50, 27, 5);
    g_setCalls = 0;
    SetClockSource(DrivenNow, DrivenSet);
    EXPECT_EQ(LocalNow().minute, 50);
    EXPECT_TRUE(SetLocalTime(MakeTime(2024, 2, 29, 1, 2, 3)));
    EXPECT_EQ(LocalNow().day, 29);
    EXPECT_FALSE(SetLocalTime(MakeTime(2023, 2, 29))); // invalid values never reach the clock
    EXPECT_FALSE(SetLocalTime(MakeTime(2023, 1, 1, 25)));
    EXPECT_EQ(g_setCalls, 1);
    SetClockSource(DrivenNow); // driven without a setter: setting is refused
    EXPECT_FALSE(SetLocalTime(MakeTime(2024, 1, 1)));
    EXPECT_EQ(g_setCalls, 1);
    SetClockSource(nullptr);

    const SystemTime now = LocalNow();
    EXPECT_GE(now.year, 2024);
    uint64_t ft = 0;
    ASSERT_TRUE(SystemTimeToFileTime(now, ft)); // the real clock gives a consistent record
    SystemTime back;
    ASSERT_TRUE(FileTimeToSystemTime(ft, back));
    EXPECT_EQ(back.dayOfWeek, now.dayOfWeek);
}

TEST(FileTime, KnownValues) {
    struct {
        SystemTime st;
        uint64_t ft;
        int dayOfWeek;
    } const cases[] = {
        {MakeTime(1601, 1, 1), 0, 1},
        {MakeTime(1970, 1, 1), 116444736000000000ull, 4},
        {MakeTime(2000, 1, 1), 125911584000000000ull, 6},
        {MakeTime(2000, 2, 29, 12), 125962992000000000ull, 2},
        {MakeTime(2025, 1, 7, 16, 50, 27, 123), 133807422271230000ull, 2},
        {MakeTime(30827, 12, 31, 23, 59, 59, 999), 0x7FFF35F4F06C58F0ull, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.st.year);
        uint64_t ft = 1;
        ASSERT_TRUE(SystemTimeToFileTime(c.st, ft));
        EXPECT_EQ(ft, c.ft);
        SystemTime back;
        ASSERT_TRUE(FileTimeToSystemTime(c.ft + 9999, back)); // sub-millisecond units dropped
        EXPECT_EQ(back.year, c.st.year);
        EXPECT_EQ(back.month, c.st.month);
        EXPECT_EQ(back.day, c.st.day);
        EXPECT_EQ(back.hour, c.st.hour);
        EXPECT_EQ(back.minute, c.st.minute);
        EXPECT_EQ(back.second, c.st.second);
        EXPECT_EQ(back.milliseconds, c.st.milliseconds);
        EXPECT_EQ(back.dayOfWeek, c.dayOfWeek);
    }
}

TEST(FileTime, LeapYearsAndInvalidInput) {
    uint64_t ft = 0;
    EXPECT_TRUE(SystemTimeToFileTime(MakeTime(2000, 2, 29), ft));
    EXPECT_TRUE(SystemTimeToFileTime(MakeTime(2024, 2, 29), ft));
    EXPECT_FALSE(SystemTimeToFileTime(MakeTime(1900, 2, 29), ft));
    EXPECT_FALSE(SystemTimeToFileTime(MakeTime(2100, 2, 29), ft));
    EXPECT_FALSE(SystemTimeToFileTime(MakeTime(2023, 4, 31), ft));
    EXPECT_FALSE(SystemTimeToFileTime(MakeTime(1600, 12, 31), ft));
    EXPECT_FALSE(SystemTimeToFileTime(MakeTime(2023, 1, 1, 0, 60), ft));
    EXPECT_FALSE(SystemTimeToFileTime(MakeTime(2023, 1, 1, 0, 0, 0, 1000), ft));
    SystemTime st;
    EXPECT_FALSE(FileTimeToSystemTime(0x8000000000000000ull, st));

    // Walking day by day across leap days keeps the calendar and the weekday in step.
    uint64_t start = 0;
    ASSERT_TRUE(SystemTimeToFileTime(MakeTime(1896, 1, 1), start));
    int dow = 3; // 1 January 1896 was a Wednesday
    SystemTime prev = MakeTime(1895, 12, 31);
    const uint64_t day = 864000000000ull;
    for (int i = 0; i < 365 * 12; ++i) {
        ASSERT_TRUE(FileTimeToSystemTime(start + i * day, st));
        EXPECT_EQ(st.dayOfWeek, (dow + i) % 7);
        const bool sameMonth = st.month == prev.month && st.day == prev.day + 1;
        const bool newMonth = st.day == 1 && (st.month == prev.month % 12 + 1);
        ASSERT_TRUE(sameMonth || newMonth) << st.year << "-" << st.month << "-" << st.day;
        uint64_t back = 0;
        ASSERT_TRUE(SystemTimeToFileTime(st, back));
        ASSERT_EQ(back, start + i * day);
        if (st.month == 2 && st.day == 29) {
            EXPECT_TRUE(st.year % 4 == 0 && st.year != 1900);
        }
        prev = st;
    }
}

// The local clock keeps the last second's conversion, but a time zone set meanwhile (tzset)
// shows at once, within the same second too.
TEST(WallClock, LocalTimeFollowsANewTimeZoneAtOnce) {
    const char* saved = getenv("TZ");
    const std::string savedTz = saved ? saved : "";
    int minutes[2] = {0, 0};
    for (int attempt = 0; attempt < 5; ++attempt) { // both readings within one UTC second
        const time_t before = time(nullptr);
        int i = 0;
        for (const char* tz : {"UTC0", "IST-5:30"}) {
            setenv("TZ", tz, 1);
            tzset();
            const platform::SystemTime now = platform::LocalNow();
            minutes[i++] = now.hour * 60 + now.minute;
        }
        if (time(nullptr) == before) break;
    }
    if (saved)
        setenv("TZ", savedTz.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    EXPECT_EQ((minutes[1] - minutes[0] + 24 * 60) % (24 * 60), 5 * 60 + 30);
}
