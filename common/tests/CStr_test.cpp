#include "common/CStr.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Resources.h"
#include "testing/TempDir.h"

namespace {

// Every test runs in its own device root.
class CStrTest : public ::testing::Test {
  protected:
    qvtesting::DeviceRoot m_root{"cstr-test"};
};

std::u16string W(const CStr& s) {
    return std::u16string(s.Wide(), s.Length());
}

TEST_F(CStrTest, NullAndEmptyStatesDifferOnlyInTheirViews) {
    CStr null;
    EXPECT_TRUE(null.IsNull());
    EXPECT_EQ(null.Length(), 0);
    EXPECT_STREQ(null.Narrow(), "<null>");
    EXPECT_EQ(std::u16string(null.Wide()), u"<null>");

    CStr empty("");
    EXPECT_FALSE(empty.IsNull());
    EXPECT_EQ(empty.Length(), 0);
    EXPECT_STREQ(empty.Narrow(), "");
    EXPECT_EQ(std::u16string(empty.Wide()), u"");
    EXPECT_EQ(null, empty); // both have length 0

    EXPECT_TRUE(CStr(null).IsNull());
    EXPECT_FALSE(CStr(empty).IsNull());
    CStr s("abc");
    s = static_cast<const char*>(nullptr);
    EXPECT_TRUE(s.IsNull());
    s = u"x";
    s = static_cast<const char16_t*>(nullptr);
    EXPECT_TRUE(s.IsNull());
    s = "abc";
    s.Clear();
    EXPECT_STREQ(s.Narrow(), "<null>");
}

// Narrow text is the desktop code page Windows-1252 both ways: "€" is 0x80, not its low byte
// 0xAC ("¬"), and what the code page cannot hold is "?".
TEST_F(CStrTest, NarrowAndWideConversionsUseTheCodePage) {
    CStr latin("\xE7\xE3\x80"); // ç ã € as bytes
    EXPECT_EQ(W(latin), u"\u00E7\u00E3\u20AC");
    EXPECT_STREQ(latin.Narrow(), "\xE7\xE3\x80");
    CStr wide(u"\u0141\u00E9Z\u20AC");
    EXPECT_STREQ(wide.Narrow(), "?\xE9Z\x80");
    EXPECT_EQ(W(CStr(wide.Narrow())), u"?\u00E9Z\u20AC");
    EXPECT_EQ(W(CStr("\x80\x9F", 2)), u"\u20AC\u0178"); // counted bytes convert alike
    CStr appended("1");
    appended.Append("\x80");
    EXPECT_EQ(W(appended), u"1\u20AC");
    EXPECT_EQ(CStr(u"\u20AC").Compare("\x80"), 0);
    CStr formatted;
    formatted.Format("%s%d", "\x80", 5);
    EXPECT_EQ(W(formatted), u"\u20AC5");
    EXPECT_EQ(CStr(u"abcdef", 3).Narrow(), std::string("abc"));
    CStr counted("ab\0cd", 5); // the count, not the terminator, gives the length
    EXPECT_EQ(counted.Length(), 5);
    EXPECT_EQ(counted.At(4), u'c');
}

TEST_F(CStrTest, LengthIsLimitedTo32767Characters) {
    CStr s;
    s.Fill(CStr::kMaxLength, u'x');
    ASSERT_EQ(s.Length(), CStr::kMaxLength);
    EXPECT_EQ(std::string(s.Narrow()).size(), 32767u);
    s.Append(u'y').Append("z").Append(CStr("w")).PadRight(32768, u'p').PadLeft(32768, u'p');
    EXPECT_EQ(s.Length(), CStr::kMaxLength);
    EXPECT_EQ(s.At(CStr::kMaxLength), u'x');

    CStr t("ab");
    t.Fill(32768, u'q');
    EXPECT_STREQ(t.Narrow(), "ab");
    CStr half;
    half.Fill(16384, u'a');
    half.ToHex(); // would need 32768 characters
    EXPECT_EQ(half.Length(), 16384);

    std::string tooLong(32768, 'n');
    EXPECT_TRUE(CStr(tooLong.c_str()).IsNull());
    CStr kept("keep");
    kept = tooLong.c_str();
    EXPECT_STREQ(kept.Narrow(), "keep");
    EXPECT_EQ(CStr(std::string(32767, 'n').c_str()).Length(), 32767);

    // Growing one character at a time across many 32-slot steps keeps the content.
    CStr grown;
    for (int i = 0; i < 1000; ++i)
        grown.Append(static_cast<char16_t>(u'a' + i % 26));
    EXPECT_EQ(grown.Length(), 1000);
    EXPECT_EQ(grown.At(1000), static_cast<char16_t>(u'a' + 999 % 26));
}

TEST_F(CStrTest, CharacterAtOutsideTheStringIsTheSharedZero) {
    CStr s("abc");
    EXPECT_EQ(s.At(1), u'a');
    EXPECT_EQ(s.At(3), u'c');
    EXPECT_EQ(s.At(0), 0);
    EXPECT_EQ(s.At(4), 0);
    EXPECT_EQ(&s.At(-1), &CStr().At(1));
}

TEST_F(CStrTest, Find) {
    struct Case {
        const char* text;
        const char* sub;
        int start;
        int expected;
    };
    const Case cases[] = {
        {"abcabc", "bc", 1, 2},  {"abcabc", "bc", 3, 5}, {"abcabc", "bc", 6, 0},
        {"abcabc", "abc", 0, 1}, {"abcabc", "cd", 1, 0}, {"abc", "abcd", 1, 0},
        {"abc", "", 1, 0},       {"aaa", "aa", 2, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CStr(c.text).Find(CStr(c.sub), c.start), c.expected)
            << c.text << " / " << c.sub << " from " << c.start;
    EXPECT_EQ(CStr().Find(CStr("a")), 0);
}

TEST_F(CStrTest, ComparisonsWithAndWithoutCase) {
    EXPECT_EQ(CStr("Pump").CompareNoCase(CStr("pUMP")), 0);
    EXPECT_EQ(CStr("abc").CompareNoCase(CStr("abd")), -1);
    EXPECT_EQ(CStr("abd").CompareNoCase(CStr("ABC")), 1);
    EXPECT_EQ(CStr("ab").CompareNoCase(CStr("abc")), -1);
    EXPECT_EQ(CStr("abc").CompareNoCase(CStr("AB")), 1);
    EXPECT_TRUE(CStr("Yes") == CStr("YES"));
    EXPECT_TRUE(CStr("\xE4") != CStr("\xC4")); // ä and Ä: run-time upper-casing is a-z only

    EXPECT_EQ(CStr("abc").Compare("abc"), 0);
    EXPECT_EQ(CStr("abc").Compare("ABC"), 1);
    EXPECT_EQ(CStr("ab").Compare("abc"), -1);
    EXPECT_EQ(CStr("abc").Compare("ab"), 1);
    EXPECT_EQ(CStr("z").Compare("\xE9"), -1); // unsigned codes
    EXPECT_EQ(CStr("abc").Compare(nullptr), -1);
    EXPECT_EQ(CStr().Compare(""), 0);
}

TEST_F(CStrTest, AppendAndSelfReferences) {
    CStr s;
    s.Append("");
    EXPECT_TRUE(s.IsNull());
    s.Append(static_cast<const char*>(nullptr));
    EXPECT_TRUE(s.IsNull());
    s += "ab";
    s += u'c';
    s += CStr("de");
    EXPECT_STREQ(s.Narrow(), "abcde");
    s.Append(s);
    EXPECT_STREQ(s.Narrow(), "abcdeabcde");
    s.Append(s.Narrow()); // the narrow view stays readable while the wide buffer grows
    EXPECT_STREQ(s.Narrow(), "abcdeabcdeabcdeabcde");
    s = s.Wide() + 15;
    EXPECT_STREQ(s.Narrow(), "abcde");
    s = s;
    EXPECT_STREQ(s.Narrow(), "abcde");
}

TEST_F(CStrTest, Mid) {
    struct Case {
        int start;
        int count;
        const char* expected;
    };
    const Case cases[] = {
        {0, 3, "abc"}, {5, 10, "ef"}, {-4, 2, "ab"}, {2, 3, "bcd"},
        {6, 1, "f"},   {7, 2, ""},    {3, -1, ""},   {1, 6, "abcdef"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(CStr("abcdef").Mid(c.start, c.count).Narrow(), c.expected)
            << "Mid(" << c.start << ", " << c.count << ")";
    EXPECT_TRUE(CStr().Mid(1, 2).IsNull());
}

TEST_F(CStrTest, PadFillTrimAndRemove) {
    EXPECT_STREQ(CStr("12").PadLeft(5, u'0').Narrow(), "00012");
    EXPECT_STREQ(CStr("12").PadRight(4, u'.').Narrow(), "12..");
    EXPECT_STREQ(CStr("12345").PadLeft(3, u'0').Narrow(), "12345");
    EXPECT_STREQ(CStr().PadRight(2, u'-').Narrow(), "--");
    EXPECT_STREQ(CStr("abc").Fill(4, u'*').Narrow(), "****");
    EXPECT_STREQ(CStr("abc").Fill(0, u'*').Narrow(), "");
    EXPECT_STREQ(CStr("  a b \t ").TrimLeft().Narrow(), "a b \t ");
    EXPECT_STREQ(CStr("  a b \t ").TrimRight().Narrow(), "  a b \t");
    EXPECT_STREQ(CStr("   ").TrimLeft().Narrow(), "");
    EXPECT_STREQ(CStr("   ").TrimRight().Narrow(), "");
    EXPECT_STREQ(CStr("1.234,50 EUR").RemoveChars(u".,").Narrow(), "123450 EUR");
    EXPECT_STREQ(CStr("abc").RemoveChars(nullptr).Narrow(), "abc");
}

TEST_F(CStrTest, ToHexUsesTheLowEightBitsHighDigitFirst) {
    EXPECT_STREQ(CStr("A\xFF\x01").ToHex().Narrow(), "41FF01");
    EXPECT_STREQ(CStr(u"\u0141").ToHex().Narrow(), "41");
    EXPECT_STREQ(CStr("").ToHex().Narrow(), "");
}

TEST_F(CStrTest, CaseFoldingLatin1) {
    // Each row: a lower-case code, its upper-case code (0: neither folds).
    struct Case {
        char16_t lower;
        char16_t upper;
    };
    const Case folded[] = {
        {u'a', u'A'}, {u'z', u'Z'}, {224, 192}, {227, 195}, {231, 199}, {234, 202},
        {236, 204},   {238, 206},   {241, 209}, {245, 213}, {249, 217}, {252, 220},
    };
    for (const Case& c : folded) {
        EXPECT_EQ(CStr().Append(c.lower).MakeUpper().At(1), c.upper) << int(c.lower);
        EXPECT_EQ(CStr().Append(c.upper).MakeLower().At(1), c.lower) << int(c.upper);
    }
    // Neighbours of the folded ranges stay as they are, in both directions.
    const char16_t unchanged[] = {223, 228, 230,   235,  239,  240,  246,  247, 248,
                                  253, 255, 196,   198,  203,  207,  208,  214, 215,
                                  216, 221, 0x100, u'@', u'[', u'`', u'{', u'1'};
    for (char16_t c : unchanged) {
        EXPECT_EQ(CStr().Append(c).MakeUpper().At(1), c) << int(c);
        EXPECT_EQ(CStr().Append(c).MakeLower().At(1), c) << int(c);
    }
    EXPECT_EQ(W(CStr(u"a\u00E7\u00E3o").MakeUpper()), u"A\u00C7\u00C3O");
    EXPECT_TRUE(CStr().MakeUpper().IsNull());
}

TEST_F(CStrTest, AccentFoldingLatin1AndCodePage850) {
    struct Row {
        char16_t plain;
        std::vector<int> codes;
    };
    const Row rows[] = {
        {u'C', {128, 199}},           {u'c', {135, 231}},
        {u'E', {144, 200, 201, 202}}, {u'e', {130, 136, 138, 232, 233, 234}},
        {u'A', {192, 193, 194, 195}}, {u'a', {131, 133, 160, 224, 225, 226, 227}},
        {u'I', {204, 205, 206}},      {u'i', {140, 141, 161, 236, 237, 238}},
        {u'O', {210, 211, 212, 213}}, {u'o', {147, 149, 162, 242, 243, 244, 245}},
        {u'U', {217, 218, 219, 220}}, {u'u', {150, 151, 163, 249, 250, 251, 252}},
        {u'N', {165, 209}},           {u'n', {164, 241}},
    };
    int folded = 0;
    for (const Row& row : rows)
        for (int code : row.codes) {
            EXPECT_EQ(CStr().Append(char16_t(code)).RemoveAccents().At(1), row.plain) << code;
            ++folded;
        }
    int unchangedBelow256 = 0;
    for (int code = 0; code < 256; ++code) {
        bool inTable = false;
        for (const Row& row : rows)
            for (int c : row.codes)
                inTable = inTable || c == code;
        if (!inTable && CStr().Append(char16_t(code)).RemoveAccents().At(1) == code)
            ++unchangedBelow256;
    }
    EXPECT_EQ(folded + unchangedBelow256, 256);
    EXPECT_EQ(CStr().Append(char16_t(0x1E9)).RemoveAccents().At(1), 0x1E9);
    EXPECT_STREQ(CStr(u"a\u00E7\u00E3o").RemoveAccents().Narrow(), "acao");
}

TEST_F(CStrTest, IntegerParsing) {
    struct Case {
        const char* text;
        int64_t expected;
    };
    const Case cases[] = {
        {"1,024", 1024}, {"12abc", 12},
        {"-1,5", -15},   {"abc", 0},
        {"", 0},         {" +-7", -7},
        {"-+7", 7},      {"7-", -7},
        {"  42 ", 42},   {"3 4", 34},
        {"0", 0},        {"-0", 0},
        {"12.9", 12},    {"2147483647", 2147483647},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CStr(c.text).ToInt(), c.expected) << c.text;
        EXPECT_EQ(CStr(c.text).ToInt64(), c.expected) << c.text;
    }
    EXPECT_EQ(CStr().ToInt(), 0);
    EXPECT_EQ(CStr("-2147483648").ToInt(), INT32_MIN);
    EXPECT_EQ(CStr("-9,000,000,000").ToInt64(), -9000000000LL);
    EXPECT_EQ(CStr("9223372036854775807").ToInt64(), INT64_MAX);
}

TEST_F(CStrTest, DecimalParsing) {
    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {"1,234.50", 1234.5}, {"1.2.3", 1.2}, {"5-", 5.0},    {"-5", -5.0},       {"--5", 0.0},
        {"+-5", -5.0},        {"-+5", 5.0},   {"0.5-", 0.5},  {"5+3", 5.0},       {".25", 0.25},
        {"abc", 0.0},         {"", 0.0},      {" 7 .5", 7.5}, {"-0.125", -0.125},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(CStr(c.text).ToDouble(), c.expected) << c.text;
    EXPECT_EQ(CStr().ToDouble(), 0.0);
}

TEST_F(CStrTest, HexadecimalParsing) {
    struct Case {
        const char* text;
        uint64_t expected;
    };
    const Case cases[] = {
        {"0x1A", 26}, {"1a", 26},   {" 0X00ff", 255}, {"1G2", 1},
        {"", 0},      {"000", 0},   {"x10", 16},      {"FFFFFFFFFFFFFFFF", UINT64_MAX},
        {"-1", 0},    {"12 3", 18},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CStr(c.text).HexToInt64(), c.expected) << c.text;

    // The free function counts every character: any non-letter is its code minus 48.
    const Case strict[] = {
        {"1A", 26}, {"ff", 255}, {"G", 23}, {"0x1A", 72 * 256 + 16 + 10}, {"", 0}};
    for (const Case& c : strict)
        EXPECT_EQ(HexStrToInt64(CStr(c.text)), c.expected) << c.text;
}

TEST_F(CStrTest, FormatIsCutAt1024Units) {
    CStr s;
    s.Format("%s-%03d", "pump", 7);
    EXPECT_STREQ(s.Narrow(), "pump-007");
    s.Format("%s", std::string(2000, 'x').c_str());
    EXPECT_EQ(s.Length(), 1023);
    s.Format("%s", s.Narrow()); // formatting from its own view
    EXPECT_EQ(s.Length(), 1023);

    s.Format(u"%d:%s", 12, u"\u00E9t\u00E9");
    EXPECT_EQ(W(s), u"12:\u00E9t\u00E9");
    std::u16string longWide(1500, u'w');
    s.Format(u"%s", longWide.c_str());
    EXPECT_EQ(s.Length(), 1023);
}

TEST_F(CStrTest, LoadStringTakesAtMost287Characters) {
    static const std::u16string longText(300, u'r');
    static const platform::StringResource table[] = {
        {101, u"Pump %d"}, {102, u""}, {103, longText.c_str()}};
    platform::RegisterStringTable(table, 3);
    CStr s;
    EXPECT_TRUE(s.LoadString(101));
    EXPECT_STREQ(s.Narrow(), "Pump %d");
    EXPECT_TRUE(s.LoadString(103));
    EXPECT_EQ(s.Length(), 287);
    EXPECT_FALSE(s.LoadString(102));
    EXPECT_FALSE(s.LoadString(999));
    EXPECT_EQ(s.Length(), 0);
}

TEST_F(CStrTest, LiveCounterFollowsConstructionAndDestruction) {
    long before = CStr::LiveCount();
    {
        CStr a;
        CStr b("x");
        CStr c(b);
        CStr d(u"y", 1);
        EXPECT_EQ(CStr::LiveCount(), before + 4);
    }
    EXPECT_EQ(CStr::LiveCount(), before);
}

} // namespace
