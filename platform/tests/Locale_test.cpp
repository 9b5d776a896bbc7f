#include "platform/Locale.h"

#include <gtest/gtest.h>
#include <string>

#include "testing/Time.h"

using qvtesting::MakeTime;

using namespace platform;

namespace {

std::u16string Date(const SystemTime& st, const char16_t* picture) {
    char16_t buf[128];
    const int n = FormatDate(st, picture, buf, 128);
    return std::u16string(buf, static_cast<size_t>(n));
}

std::u16string Time(const SystemTime& st, const char16_t* picture) {
    char16_t buf[128];
    const int n = FormatTime(st, picture, buf, 128);
    return std::u16string(buf, static_cast<size_t>(n));
}

std::u16string Num(const char16_t* plain, const NumberFormat& fmt = NumberFormat{}) {
    char16_t buf[64];
    const int n = FormatNumber(plain, fmt, buf, 64);
    return std::u16string(buf, static_cast<size_t>(n));
}

std::u16string Cur(const char16_t* plain, const CurrencyFormat& fmt = CurrencyFormat{}) {
    char16_t buf[64];
    const int n = FormatCurrency(plain, fmt, buf, 64);
    return std::u16string(buf, static_cast<size_t>(n));
}

} // namespace

TEST(FormatDate, Pictures) {
    const SystemTime jan7 = MakeTime(2025, 1, 7, 16, 50, 27); // a Tuesday
    const SystemTime nov3 = MakeTime(2023, 11, 3, 8, 26, 40); // a Friday
    struct {
        const SystemTime& st;
        const char16_t* picture;
        const char16_t* want;
    } const cases[] = {
        {jan7, u"dd'/'MM'/'yyyy", u"07/01/2025"},
        {jan7, nullptr, u"07/01/2025"},
        {jan7, u"d/M/yy", u"7/1/25"},
        {jan7, u"y", u"25"},
        {MakeTime(2005, 1, 7), u"y|yy", u"5|05"},
        {jan7, u"ddd d MMM yyyy", u"Tue 7 Jan 2025"},
        {nov3, u"dddd, d MMMM yyyy", u"Friday, 3 November 2023"},
        {nov3, u"yyyy-MM-dd", u"2023-11-03"},
        {nov3, u"'day' d 'of' MMMM", u"day 3 of November"},
        {nov3, u"'it''s' d''MM", u"it's 3'11"},
        {nov3, u"dd 'open", u"03 open"},
        {nov3, u"HH:mm dd", u"HH:mm 03"}, // time letters are no date fields
        {nov3, u"", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Date(c.st, c.picture), c.want);
}

TEST(FormatTime, Pictures) {
    struct {
        SystemTime st;
        const char16_t* picture;
        const char16_t* want;
    } const cases[] = {
        {MakeTime(2025, 1, 7, 16, 50, 27), u"HH':'mm':'ss", u"16:50:27"},
        {MakeTime(2025, 1, 7, 16, 50, 27), nullptr, u"16:50:27"},
        {MakeTime(2025, 1, 7, 6, 5, 4), u"H:m:s", u"6:5:4"},
        {MakeTime(2025, 1, 7, 6, 5, 4), u"HH:mm:ss", u"06:05:04"},
        {MakeTime(2025, 1, 7, 0, 5, 0), u"h:mm tt", u"12:05 am"},
        {MakeTime(2025, 1, 7, 12, 0, 0), u"hh:mm t", u"12:00 p"},
        {MakeTime(2025, 1, 7, 23, 59, 59), u"hh 'o''clock' tt", u"11 o'clock pm"},
        {MakeTime(2025, 1, 7, 9, 0, 0), u"HH dd", u"09 dd"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Time(c.st, c.picture), c.want);
}

TEST(FormatDateTime, InvalidInputOrNoRoom) {
    char16_t buf[11];
    EXPECT_EQ(FormatDate(MakeTime(2023, 2, 29), nullptr, buf, 11), 0);
    EXPECT_EQ(FormatDate(MakeTime(2023, 0, 1), nullptr, buf, 11), 0);
    EXPECT_EQ(FormatDate(MakeTime(2023, 2, 28), nullptr, buf, 10), 0); // 10 units need 11
    EXPECT_EQ(FormatDate(MakeTime(2023, 2, 28), nullptr, buf, 11), 10);
    EXPECT_EQ(buf[10], 0);
    EXPECT_EQ(FormatTime(MakeTime(2023, 2, 28, 24), nullptr, buf, 11), 0);
    EXPECT_EQ(FormatTime(MakeTime(2023, 2, 28, 1, 60), nullptr, buf, 11), 0);
    EXPECT_EQ(FormatTime(MakeTime(2023, 2, 28, 1), nullptr, nullptr, 0), 0);
}

TEST(FormatNumber, UserLocaleAndRounding) {
    struct {
        const char16_t* plain;
        const char16_t* want;
    } const cases[] = {
        {u"1234.5000", u"1,234.50"},
        {u"-1234.5000", u"-1,234.50"},
        {u"0.0050", u"0.01"}, // half away from zero
        {u"-0.0050", u"-0.01"},
        {u"0.0049", u"0.00"},
        {u"-0.0040", u"0.00"}, // rounds to zero: no sign
        {u"999.9950", u"1,000.00"},
        {u"-999999.9999", u"-1,000,000.00"},
        {u"007.1", u"7.10"},
        {u"12", u"12.00"},
        {u".5", u"0.50"},
        {u"123456789012345678901234.125", u"123,456,789,012,345,678,901,234.13"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Num(c.plain), c.want) << std::string(c.plain, c.plain + 3);
    for (const char16_t* bad : {u"", u"-", u"1,000", u"1.2.3", u" 1", u"+1", u"1e3", u"."})
        EXPECT_EQ(Num(bad), u"");
    EXPECT_EQ(Num(nullptr), u"");
}

TEST(FormatNumber, FormatFields) {
    NumberFormat f;
    f.decimals = 0;
    EXPECT_EQ(Num(u"1234.5000", f), u"1,235");
    f.decimals = 3;
    f.grouping = 0;
    f.leadingZero = false;
    f.decimalSep = u",";
    f.thousandSep = u".";
    EXPECT_EQ(Num(u"0.0625", f), u",063");
    EXPECT_EQ(Num(u"1234567.0", f), u"1234567,000");
    f.grouping = 3;
    EXPECT_EQ(Num(u"1234567.0", f), u"1.234.567,000");
    f.thousandSep = u"";
    EXPECT_EQ(Num(u"1234567.0", f), u"1234567,000");

    const char16_t* orders[] = {u"(1.1)", u"-1.1", u"- 1.1", u"1.1-", u"1.1 -"};
    NumberFormat o;
    o.decimals = 1;
    for (int i = 0; i < 5; ++i) {
        o.negativeOrder = i;
        EXPECT_EQ(Num(u"-1.1", o), orders[i]);
        EXPECT_EQ(Num(u"1.1", o), u"1.1");
    }
    o.negativeOrder = 5;
    EXPECT_EQ(Num(u"1.1", o), u"");

    char16_t small[5];
    EXPECT_EQ(FormatNumber(u"1234", NumberFormat{}, small, 5), 0); // "1,234.00" does not fit
}

TEST(FormatCurrency, Orders) {
    EXPECT_EQ(Cur(u"1234.5000"), u"\u00A31,234.50");
    EXPECT_EQ(Cur(u"-0.0500"), u"-\u00A30.05");

    const char16_t* positive[] = {u"$1.1", u"1.1$", u"$ 1.1", u"1.1 $"};
    const char16_t* negative[] = {u"($1.1)", u"-$1.1",  u"$-1.1",   u"$1.1-",  u"(1.1$)", u"-1.1$",
                                  u"1.1-$",  u"1.1$-",  u"-1.1 $",  u"-$ 1.1", u"1.1 $-", u"$ 1.1-",
                                  u"$ -1.1", u"1.1- $", u"($ 1.1)", u"(1.1 $)"};
    CurrencyFormat f;
    f.decimals = 1;
    f.symbol = u"$";
    for (int i = 0; i < 4; ++i) {
        f.positiveOrder = i;
        EXPECT_EQ(Cur(u"1.1", f), positive[i]);
    }
    for (int i = 0; i < 16; ++i) {
        f.negativeCurrencyOrder = i;
        EXPECT_EQ(Cur(u"-1.1", f), negative[i]);
    }
    f.negativeCurrencyOrder = 16;
    EXPECT_EQ(Cur(u"1.1", f), u"");
    f.negativeCurrencyOrder = 0;
    f.symbol = u"n$"; // symbol text is not a pattern
    EXPECT_EQ(Cur(u"-2", f), u"(n$2.0)");
}
