#include "platform/OleAuto.h"

#include <cstring>
#include <gtest/gtest.h>

#include "testing/Time.h"

using qvtesting::MakeTime;

using namespace platform;

TEST(Bstr, LayoutAndOwnership) {
    const long before = LiveBstrCount();
    BSTR s = SysAllocString(u"abc");
    ASSERT_NE(s, nullptr);
    uint32_t prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<char*>(s) - 4, 4);
    EXPECT_EQ(prefix, 6u); // byte length, not units
    EXPECT_EQ(SysStringLen(s), 3u);
    EXPECT_EQ(s[3], 0);
    EXPECT_EQ(LiveBstrCount(), before + 1);

    BSTR zeros = SysAllocStringLen(nullptr, 4);
    ASSERT_NE(zeros, nullptr);
    EXPECT_EQ(SysStringLen(zeros), 4u);
    for (int i = 0; i <= 4; ++i)
        EXPECT_EQ(zeros[i], 0);

    BSTR embedded = SysAllocStringLen(u"a\0b", 3); // length counts past an inner 0
    EXPECT_EQ(SysStringLen(embedded), 3u);
    EXPECT_EQ(embedded[2], u'b');

    SysFreeString(s);
    SysFreeString(zeros);
    SysFreeString(embedded);
    SysFreeString(nullptr);
    EXPECT_EQ(LiveBstrCount(), before);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
}

struct VariantCase {
    double vt;
    SystemTime st;
};

TEST(VariantTime, KnownValuesBothWays) {
    const VariantCase cases[] = {
        {0.0, MakeTime(1899, 12, 30)},         {2.5, MakeTime(1900, 1, 1, 12)},
        {45000.75, MakeTime(2023, 3, 15, 18)}, {1.0, MakeTime(1899, 12, 31)},
        {-1.25, MakeTime(1899, 12, 29, 6)}, // days count back, the fraction still forward
        {-2.75, MakeTime(1899, 12, 28, 18)},   {36526.0, MakeTime(2000, 1, 1)},
        {60.0, MakeTime(1900, 2, 28)},         {61.0, MakeTime(1900, 3, 1)}, // 1900 is no leap year
        {2958465.0, MakeTime(9999, 12, 31)},   {-657434.0, MakeTime(100, 1, 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.vt);
        SystemTime st;
        ASSERT_TRUE(VariantTimeToSystemTime(c.vt, st));
        EXPECT_EQ(st.year, c.st.year);
        EXPECT_EQ(st.month, c.st.month);
        EXPECT_EQ(st.day, c.st.day);
        EXPECT_EQ(st.hour, c.st.hour);
        EXPECT_EQ(st.minute, 0);
        double back = -99;
        ASSERT_TRUE(SystemTimeToVariantTime(c.st, back));
        EXPECT_DOUBLE_EQ(back, c.vt);
    }
    SystemTime st;
    ASSERT_TRUE(VariantTimeToSystemTime(45000.75, st));
    EXPECT_EQ(st.dayOfWeek, 3); // Wednesday
}

TEST(VariantTime, RoundTripsToTheMillisecond) {
    const SystemTime times[] = {
        MakeTime(2025, 1, 7, 16, 50, 27, 123), MakeTime(1899, 12, 1, 23, 59, 59, 999),
        MakeTime(2024, 2, 29, 0, 0, 0, 1), MakeTime(1601, 1, 1, 12, 34, 56, 789)};
    for (const auto& t : times) {
        double vt = 0;
        ASSERT_TRUE(SystemTimeToVariantTime(t, vt));
        SystemTime back;
        ASSERT_TRUE(VariantTimeToSystemTime(vt, back));
        EXPECT_EQ(back.year, t.year);
        EXPECT_EQ(back.month, t.month);
        EXPECT_EQ(back.day, t.day);
        EXPECT_EQ(back.hour, t.hour);
        EXPECT_EQ(back.minute, t.minute);
        EXPECT_EQ(back.second, t.second);
        EXPECT_EQ(back.milliseconds, t.milliseconds);
    }
}

TEST(VariantTime, RejectsOutOfRangeAndLeavesOutput) {
    SystemTime st = MakeTime(2000, 1, 1);
    EXPECT_FALSE(VariantTimeToSystemTime(2958466.0, st)); // 1 January 10000
    EXPECT_FALSE(VariantTimeToSystemTime(-657435.0, st)); // 31 December 99
    EXPECT_FALSE(VariantTimeToSystemTime(0.0 / 0.0, st));
    EXPECT_EQ(st.year, 2000);
    EXPECT_TRUE(VariantTimeToSystemTime(2958465.9999, st)); // late on 31 December 9999

    double vt = 7.0;
    EXPECT_FALSE(SystemTimeToVariantTime(MakeTime(99, 12, 31), vt));
    EXPECT_FALSE(SystemTimeToVariantTime(MakeTime(2023, 2, 29), vt));
    EXPECT_FALSE(SystemTimeToVariantTime(MakeTime(2023, 13, 1), vt));
    EXPECT_FALSE(SystemTimeToVariantTime(MakeTime(2023, 1, 1, 24), vt));
    EXPECT_EQ(vt, 7.0);
}

TEST(VariantTime, RoundingToMidnightCarriesTheDay) {
    SystemTime st;
    ASSERT_TRUE(VariantTimeToSystemTime(1.9999999999, st));
    EXPECT_EQ(st.day, 1);
    EXPECT_EQ(st.month, 1);
    EXPECT_EQ(st.year, 1900);
    EXPECT_EQ(st.hour, 0);
    ASSERT_TRUE(VariantTimeToSystemTime(-1.9999999999, st)); // 29 December at 24:00
    EXPECT_EQ(st.day, 30);
    EXPECT_EQ(st.hour, 0);
}
