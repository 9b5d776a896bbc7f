#include "platform/Text.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>

using namespace platform;

namespace {

int FormatInto(char16_t* buf, size_t cap, const char16_t* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    const int n = VFormatWide(buf, cap, fmt, ap);
    va_end(ap);
    return n;
}

std::u16string Format(size_t cap, const char16_t* fmt, ...) {
    char16_t buf[256];
    va_list ap;
    va_start(ap, fmt);
    const int n = VFormatWide(buf, cap, fmt, ap);
    va_end(ap);
    std::u16string s(buf);
    EXPECT_EQ(static_cast<size_t>(n), s.size());
    return s;
}

std::u16string F(const char16_t* fmt, ...) {
    char16_t buf[256];
    va_list ap;
    va_start(ap, fmt);
    const int n = VFormatWide(buf, 256, fmt, ap);
    va_end(ap);
    EXPECT_GE(n, 0);
    return std::u16string(buf, static_cast<size_t>(n));
}

} // namespace

TEST(Text, NarrowIsWindows1252) {
    char16_t wide[8] = {};
    EXPECT_EQ(MultiByteToWide("a\xE9\xFF", 3, wide, 8), 3);
    EXPECT_EQ(wide[1], 0xE9);
    EXPECT_EQ(wide[2], 0xFF);
    EXPECT_EQ(MultiByteToWide("abcdef", 6, wide, 4), 4); // cut at cap, no terminator
    EXPECT_EQ(MultiByteToWide("xyz", -1, wide, 8), 3);

    char narrow[8];
    EXPECT_EQ(WideToMultiByte(u"\u00E7a\u20AC\u0141", narrow, 8), 4);
    EXPECT_STREQ(narrow, "\xE7"
                         "a\x80?"); // the euro sign is in the code page, L with stroke is not
    EXPECT_EQ(WideToMultiByte(u"abcdefghij", narrow, 4), 3);
    EXPECT_STREQ(narrow, "abc");
    EXPECT_EQ(WideToMultiByte(nullptr, narrow, 4), 0);
    EXPECT_STREQ(narrow, "");
}

// Every byte comes back from wide text unchanged, and each wide character the code page holds
// has exactly one byte; anything else (C1 controls the code page replaced, other scripts) is "?".
TEST(Text, CodePageRoundTrip) {
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        EXPECT_EQ(WideToNarrowChar(NarrowToWideChar(c)), c) << b;
    }
    const struct {
        char16_t wide;
        unsigned char narrow;
    } cases[] = {
        {u'A', 'A'},    {0x20AC, 0x80}, {0x201A, 0x82}, {0x0152, 0x8C}, {0x2122, 0x99},
        {0x0178, 0x9F}, {0x00A0, 0xA0}, {0x00FF, 0xFF}, {0x0081, 0x81}, {0x008D, 0x8D},
        {0x0080, '?'},  {0x0099, '?'},  {0x0100, '?'},  {0x0141, '?'},  {0xD83D, '?'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<unsigned char>(WideToNarrowChar(c.wide)), c.narrow) << c.wide;
        if (c.narrow != '?') {
            EXPECT_EQ(NarrowToWideChar(static_cast<char>(c.narrow)), c.wide) << c.wide;
        }
    }
}

TEST(Text, ToUpperOnlyFoldsAsciiLetters) {
    EXPECT_EQ(ToUpperChar(u'a'), u'A');
    EXPECT_EQ(ToUpperChar(u'z'), u'Z');
    EXPECT_EQ(ToUpperChar(u'A'), u'A');
    EXPECT_EQ(ToUpperChar(u'{'), u'{');
    EXPECT_EQ(ToUpperChar(0xE7), 0xE7);
}

TEST(FormatWide, TextConversionsFollowTheWindowsRunTime) {
    EXPECT_EQ(F(u"[%s]", u"wide"), u"[wide]");
    EXPECT_EQ(F(u"[%hs|%S]", "narrow", "other"), u"[narrow|other]");
    EXPECT_EQ(F(u"[%hs|%hc]", "5\x80", '\x80'), u"[5\u20AC|\u20AC]"); // narrow is the code page
    EXPECT_EQ(F(u"[%ls|%ws|%lS]", u"a", u"b", u"c"), u"[a|b|c]");
    EXPECT_EQ(F(u"[%c%hc%C]", u'\u20AC', 'x', 'y'), u"[\u20ACxy]");
    EXPECT_EQ(F(u"[%5s|%-5s|%.2s|%*s]", u"ab", u"ab", u"abcdef", 3, u"x"), u"[   ab|ab   |ab|  x]");
    EXPECT_EQ(F(u"[%-4hs]", "\xE9"), u"[\u00E9   ]");
    EXPECT_EQ(F(u"%s %hs", static_cast<char16_t*>(nullptr), static_cast<char*>(nullptr)),
              u"(null) (null)");
    EXPECT_EQ(F(u"100%% %q %"), u"100% %q %");
}

TEST(FormatWide, NumbersDelegatePerConversion) {
    struct {
        std::u16string got;
        const char16_t* want;
    } const cases[] = {
        {F(u"%d|%i|%5d|%-5d|%05d", -42, 7, 3, 3, -3), u"-42|7|    3|3    |-0003"},
        {F(u"%u|%x|%X|%#x|%o", 4000000000u, 255u, 255u, 255u, 8u), u"4000000000|ff|FF|0xff|10"},
        {F(u"%ld|%lu|%lld|%I64d|%I64u", -1L, 2UL, -3LL, 1234567890123LL, 5ULL),
         u"-1|2|-3|1234567890123|5"},
        {F(u"%hd|%hu|%hhd", 70000, 70000, 300), u"4464|4464|44"},
        {F(u"%zu|%Iu|%I32d", size_t{9}, size_t{10}, 11), u"9|10|11"},
        {F(u"%.2f|%8.3f|%e|%g|%+.1f", 3.14159, 2.5, 1500.0, 0.0001, 2.0),
         u"3.14|   2.500|1.500000e+03|0.0001|+2.0"},
        {F(u"%*.*f|%6dms ", 7, 1, 9.25, 12), u"    9.2|    12ms "},
        {F(u"%06X|%6d,\"%s\"", 255, 3, u"msg"), u"0000FF|     3,\"msg\""},
        {F(u"%d %s %d", 1, u"mid", 2), u"1 mid 2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want);
    EXPECT_FALSE(F(u"%p", reinterpret_cast<void*>(0x1234)).empty());
}

TEST(FormatWide, OutputIsCutAtCapacity) {
    EXPECT_EQ(Format(6, u"%s-%d", u"abc", 12345), u"abc-1");
    EXPECT_EQ(Format(1, u"%s", u"abc"), u"");
    char16_t untouched[2] = {u'x', u'y'};
    EXPECT_EQ(FormatInto(untouched, 0, u"abc%d", 1), 0);
    EXPECT_EQ(untouched[0], u'x');
}
