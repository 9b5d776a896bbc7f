#include "common/CDateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/Clock.h"
#include "testing/TempDir.h"
#include "testing/Time.h"

namespace {

using qvtesting::MakeTime;

CDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    CDateTime t;
    EXPECT_TRUE(t.FromSystemTime(MakeTime(y, mo, d, h, mi, s, ms)));
    return t;
}

platform::SystemTime g_clock;
platform::SystemTime g_clockSet;
platform::SystemTime DrivenClock() {
    return g_clock;
}
bool DrivenSetter(const platform::SystemTime& st) {
    g_clockSet = st;
    return true;
}

// Each test drives the wall clock and runs in its own device root.
class CDateTimeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_clock = MakeTime(2025, 1, 7, 16, 50, 27, 500);
        platform::SetClockSource(DrivenClock, DrivenSetter);
    }
    void TearDown() override { platform::SetClockSource(nullptr); }
    qvtesting::DeviceRoot m_root{"cdatetime-test"};
};

TEST_F(CDateTimeTest, NullValueAndItsDefaults) {
    CDateTime null;
    EXPECT_TRUE(null.IsNull());
    EXPECT_EQ(null.Value(), CDateTime::kNull);
    EXPECT_TRUE(CDateTime(0).IsNull());

    const platform::SystemTime& st = null.ToSystemTime();
    EXPECT_EQ(st.year, 2000);
    EXPECT_EQ(st.month, 1);
    EXPECT_EQ(st.day, 1);
    EXPECT_EQ(st.dayOfWeek, 6);
    EXPECT_EQ(st.hour + st.minute + st.second + st.milliseconds, 0);

    const struct tm& t = null.ToTm();
    EXPECT_EQ(t.tm_year, 100);
    EXPECT_EQ(t.tm_mon, 0);
    EXPECT_EQ(t.tm_mday, 1);
    EXPECT_EQ(t.tm_wday, 6);
    EXPECT_EQ(t.tm_hour + t.tm_min + t.tm_sec, 0);

    EXPECT_EQ(null.ToOleDate(), 0.0);
    EXPECT_EQ(CDateTime(0).ToOleDate(), 0.0);
    EXPECT_EQ(null.ToJulian(), 0.0);
    EXPECT_EQ(null.Year(), 2000);

    CDateTime set = At(2024, 5, 6);
    set.FromOleDate(0.0);
    EXPECT_TRUE(set.IsNull());
    set = At(2024, 5, 6);
    set.FromOleDate(-3.5);
    EXPECT_TRUE(set.IsNull());
    set = At(2024, 5, 6);
    set.SetNull();
    EXPECT_TRUE(set.IsNull());
}

TEST_F(CDateTimeTest, NowComponentsAndDifferences) {
    CDateTime now;
    uint64_t value = now.SetNow();
    EXPECT_EQ(value, now.Value());
    EXPECT_EQ(now.Year(), 2025);
    EXPECT_EQ(now.Month(), 1);
    EXPECT_EQ(now.Day(), 7);
    EXPECT_EQ(now.Hour(), 16);
    EXPECT_EQ(now.Minute(), 50);
    EXPECT_EQ(now.Second(), 27);
    EXPECT_EQ(now.ToSystemTime().milliseconds, 500);
    EXPECT_EQ(now.ToSystemTime().dayOfWeek, 2); // a Tuesday

    g_clock = MakeTime(2025, 1, 7, 16, 50, 30, 250);
    EXPECT_EQ(now.SecondsSince(), 2);
    EXPECT_EQ(now.MillisecondsSince(), 2750);
    g_clock = MakeTime(2025, 1, 7, 16, 50, 26, 0);
    EXPECT_EQ(now.SecondsSince(), -1); // truncated toward 0
    EXPECT_EQ(now.MillisecondsSince(), -1500);
    g_clock = MakeTime(2025, 1, 8, 16, 50, 27, 500);
    EXPECT_EQ(now.SecondsSince(), 86400);

    EXPECT_TRUE(now.SameSecond(At(2025, 1, 7, 16, 50, 27, 999)));
    EXPECT_FALSE(now.SameSecond(At(2025, 1, 7, 16, 50, 28, 0)));
    EXPECT_FALSE(now.SameSecond(At(2024, 1, 7, 16, 50, 27, 500)));
}

TEST_F(CDateTimeTest, SetSystemClockHandsTheValueToTheClock) {
    CDateTime t = At(2023, 11, 3, 8, 26, 40, 0);
    EXPECT_TRUE(t.SetSystemClock());
    EXPECT_EQ(g_clockSet.year, 2023);
    EXPECT_EQ(g_clockSet.month, 11);
    EXPECT_EQ(g_clockSet.day, 3);
    EXPECT_EQ(g_clockSet.hour, 8);
    EXPECT_EQ(g_clockSet.minute, 26);
    EXPECT_EQ(g_clockSet.second, 40);
    g_clockSet = {};
    EXPECT_FALSE(CDateTime().SetSystemClock()); // a null value never reaches the clock
    EXPECT_EQ(g_clockSet.year, 0);
}

TEST_F(CDateTimeTest, ParseProfileDateText) {
    struct Case {
        const char* text;
        int y, mo, d, h, mi, s;
    };
    const Case parsed[] = {
        {"2024-02-29 13:05:00", 2024, 2, 29, 13, 5, 0},
        {"2024/02/29 13:05:00", 2024, 2, 29, 13, 5, 0},
        {"2023-11-03 08:26:40", 2023, 11, 3, 8, 26, 40},
        {"2023/01-31 23:59:59", 2023, 1, 31, 23, 59, 59},
        {"1900-01-01 00:00:00", 1900, 1, 1, 0, 0, 0},
        {"2023-11-03 08:26:40 trailing", 2023, 11, 3, 8, 26, 40},
    };
    for (const Case& c : parsed) {
        CDateTime t = At(2010, 6, 15, 12, 0, 0, 123);
        EXPECT_TRUE(t.Parse(c.text)) << c.text;
        const platform::SystemTime& st = t.ToSystemTime();
        EXPECT_EQ(st.year, c.y) << c.text;
        EXPECT_EQ(st.month, c.mo) << c.text;
        EXPECT_EQ(st.day, c.d) << c.text;
        EXPECT_EQ(st.hour, c.h) << c.text;
        EXPECT_EQ(st.minute, c.mi) << c.text;
        EXPECT_EQ(st.second, c.s) << c.text;
        EXPECT_EQ(st.milliseconds, 0) << c.text;
    }

    const char* refused[] = {
        "2024-2-29 13:05:00",
        "1899-12-31 23:59:59",
        "2023-02-29 00:00:00", // no such day
        "2023-04-31 00:00:00",
        "2023-13-01 00:00:00",
        "2023-00-01 00:00:00",
        "2023-01-00 00:00:00",
        "2023-01-32 00:00:00",
        "2023-01-01 24:00:00",
        "2023-01-01 23:60:00",
        "2023-01-01 23:59:60",
        "2023-01-01T00:00:00",
        "2023-01-01 00.00.00",
        "2023.01.01 00:00:00",
        "2023-01-01 00:00:0",
        "",
        nullptr,
    };
    for (const char* text : refused) {
        CDateTime t = At(2010, 6, 15, 12, 0, 0, 123);
        uint64_t before = t.Value();
        EXPECT_FALSE(t.Parse(text)) << (text ? text : "(null)");
        EXPECT_EQ(t.Value(), before) << (text ? text : "(null)");
    }
}

TEST_F(CDateTimeTest, JulianDates) {
    struct Case {
        platform::SystemTime st;
        double jd;
    };
    const Case cases[] = {
        {MakeTime(2000, 1, 1), 2451544.5},
        {MakeTime(2000, 1, 1, 12), 2451545.0},
        {MakeTime(1999, 12, 31, 18), 2451544.25},
        {MakeTime(2000, 2, 29), 2451603.5},
        {MakeTime(2000, 3, 1), 2451604.5},
        {MakeTime(1970, 1, 1), 2440587.5},
        {MakeTime(1858, 11, 17), 2400000.5},
        {MakeTime(1601, 1, 1, 12), 2305814.0}, // midnight is file time 0, which counts as null
        {MakeTime(1900, 3, 1), 2415079.5},
        {MakeTime(2100, 2, 28, 6), 2488127.75},
        {MakeTime(2024, 12, 31, 23, 59, 59, 999), 2460676.5 - 0.001 / 86400},
    };
    for (const Case& c : cases) {
        CDateTime t;
        ASSERT_TRUE(t.FromSystemTime(c.st));
        EXPECT_NEAR(t.ToJulian(), c.jd, 3e-9) << c.st.year << "-" << c.st.month << "-" << c.st.day;

        CDateTime back;
        back.FromJulian(c.jd);
        EXPECT_EQ(back.Value(), t.Value()) << c.jd;
    }

    // Milliseconds survive the round trip; the fraction is rounded half up.
    CDateTime precise = At(2025, 1, 7, 16, 50, 27, 123);
    CDateTime back;
    back.FromJulian(precise.ToJulian());
    EXPECT_EQ(back.Value(), precise.Value());
    back.FromJulian(2451544.5 + 0.3 / 86400000);
    EXPECT_EQ(back.ToSystemTime().milliseconds, 0);
    back.FromJulian(2451544.5 + 0.7 / 86400000);
    EXPECT_EQ(back.ToSystemTime().milliseconds, 1);
    back.FromJulian(2451545.5 - 0.3 / 86400000); // rounds up to the next midnight
    EXPECT_EQ(back.Value(), At(2000, 1, 2).Value());

    CDateTime kept = At(2010, 6, 15);
    kept.FromJulian(0.0);
    kept.FromJulian(std::nan(""));
    kept.FromJulian(1e300);
    EXPECT_EQ(kept.Value(), At(2010, 6, 15).Value());
}

TEST_F(CDateTimeTest, OleAutomationDates) {
    EXPECT_DOUBLE_EQ(At(2000, 1, 1).ToOleDate(), 36526.0);
    EXPECT_DOUBLE_EQ(At(2000, 1, 1, 18).ToOleDate(), 36526.75);
    CDateTime t;
    t.FromOleDate(36526.5);
    EXPECT_EQ(t.Value(), At(2000, 1, 1, 12).Value());
    CDateTime precise = At(2023, 11, 3, 8, 26, 40, 0);
    t.FromOleDate(precise.ToOleDate());
    EXPECT_TRUE(t.SameSecond(precise));
}

TEST_F(CDateTimeTest, CalendarRecords) {
    const struct tm& t = At(2024, 12, 31, 23, 58, 57).ToTm();
    EXPECT_EQ(t.tm_year, 124);
    EXPECT_EQ(t.tm_mon, 11);
    EXPECT_EQ(t.tm_mday, 31);
    EXPECT_EQ(t.tm_yday, 365); // a leap year
    EXPECT_EQ(t.tm_wday, 2);
    EXPECT_EQ(t.tm_hour, 23);
    EXPECT_EQ(t.tm_min, 58);
    EXPECT_EQ(t.tm_sec, 57);

    struct tm in = {};
    in.tm_year = 123;
    in.tm_mon = 10;
    in.tm_mday = 3;
    in.tm_hour = 8;
    in.tm_min = 26;
    in.tm_sec = 40;
    CDateTime back;
    ASSERT_TRUE(back.FromTm(in));
    EXPECT_EQ(back.Value(), At(2023, 11, 3, 8, 26, 40).Value());
    in.tm_mon = 12;
    EXPECT_FALSE(back.FromTm(in));
    EXPECT_EQ(back.Value(), At(2023, 11, 3, 8, 26, 40).Value());
}

TEST_F(CDateTimeTest, FormatWithPictures) {
    CDateTime t = At(2025, 1, 7, 16, 50, 27);
    struct Case {
        const char16_t* date;
        const char16_t* time;
        const char* expected;
    };
    const Case cases[] = {
        {u"dd'/'MM'/'yyyy", u"HH':'mm':'ss", "07/01/2025 16:50:27"},
        {nullptr, nullptr, "07/01/2025 16:50:27"}, // the locale's defaults
        {u"yyyy'-'MM'-'dd", u"", "2025-01-07"},
        {u"", u"HH':'mm", "16:50"},
        {u"", u"", ""},
        {u"d'.'M'.'yy", nullptr, "7.1.25 16:50:27"},
        {u"dddd d MMMM", u"hh':'mm tt", "Tuesday 7 January 04:50 pm"},
    };
    for (const Case& c : cases) {
        char buffer[100];
        EXPECT_STREQ(t.Format(buffer, sizeof buffer, c.date, c.time), c.expected) << c.expected;
    }
    char small[6];
    EXPECT_STREQ(t.Format(small, sizeof small, u"dd'/'MM'/'yyyy", u""), "07/01");
    EXPECT_STREQ(t.Format(nullptr, 10, nullptr, nullptr), "Null date");
    EXPECT_STREQ(t.DefaultText(), "07/01/2025 16:50:27");
    EXPECT_STREQ(CDateTime().DefaultText(), "01/01/2000 00:00:00");
}

TEST_F(CDateTimeTest, SharedResultsBelongToEachThread) {
    // The log writer formats dates outside its lock: two threads must not see each other's text.
    CDateTime a = At(2025, 1, 7, 16, 50, 27);
    CDateTime b = At(1999, 12, 31, 23, 59, 59);
    const char* mainText = a.DefaultText();
    const platform::SystemTime* mainTime = &a.ToSystemTime();
    bool otherOk = true;
    std::thread other([&] {
        for (int i = 0; i < 2000 && otherOk; ++i) {
            otherOk = std::strcmp(b.DefaultText(), "31/12/1999 23:59:59") == 0 &&
                      b.ToSystemTime().year == 1999 && b.ToTm().tm_year == 99;
        }
        otherOk = otherOk && b.DefaultText() != mainText && &b.ToSystemTime() != mainTime;
    });
    bool mainOk = true;
    for (int i = 0; i < 2000 && mainOk; ++i) {
        mainOk = std::strcmp(a.DefaultText(), "07/01/2025 16:50:27") == 0 &&
                 a.ToSystemTime().year == 2025 && a.ToTm().tm_year == 125;
    }
    other.join();
    EXPECT_TRUE(mainOk);
    EXPECT_TRUE(otherOk);
}

TEST_F(CDateTimeTest, LocalOffsetFromUtcFollowsTheTimeZone) {
    const char* saved = getenv("TZ");
    std::string savedTz = saved ? saved : "";
    struct Case {
        const char* tz;
        int32_t offset;
    };
    const Case cases[] = {
        {"UTC0", 0},
        {"IST-5:30", 19800},
        {"CET-1CEST,M3.5.0,M10.5.0/3", 3600},  // 3 November: winter time
        {"EST5EDT,M3.2.0,M11.1.0", -4 * 3600}, // daylight saving ends on 5 November 2023
        {"AEST-10AEDT,M10.1.0,M4.1.0/3", 11 * 3600},
    };
    for (const Case& c : cases) {
        setenv("TZ", c.tz, 1);
        tzset();
        EXPECT_EQ(CDateTime::LocalOffsetFromUtc(), c.offset) << c.tz;
    }
    if (saved)
        setenv("TZ", savedTz.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

} // namespace
