// Fixed-point conversions and display-format tables.
#include "common/CFixed.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

struct DoubleCase {
    double x;
    int64_t raw;
};

TEST(CFixedTest, FromDoubleRoundsHalfAwayFromZero) {
    const DoubleCase cases[] = {
        {0.03125, 313},
        {-0.03125, -313},
        {0.00004, 0},
        {-0.00004, 0},
        {1.5, 15000},
        {-1.5, -15000},
        {0.00016, 2},
        {123.45678, 1234568},
        {0.0, 0},
        {-2.00006, -20001},
        {99999.99996, 1000000000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CFixed(c.x).Raw(), c.raw) << c.x;
    }
    EXPECT_DOUBLE_EQ(CFixed::FromRaw(-313).ToDouble(), -0.0313);
}

struct PlacesCase {
    int64_t raw;
    int places;
    int64_t expected;
};

TEST(CFixedTest, RoundToPlaces) {
    const PlacesCase cases[] = {
        {12345, 2, 12300},
        {12350, 2, 12400},
        {12349, 2, 12300},
        {-12345, 2, -12300},
        {-12350, 2, -12400},
        {4999, 0, 0},
        {5000, 0, 10000},
        {149999, -1, 100000},
        {150000, -1, 200000},
        {12345, 4, 12345},
        {12345, 9, 12345},         // places above 4 count as
                                   // 4
        {50000000, -9, 100000000}, // places below -4 count as -4
        {49999999, -4, 0},
    };
    for (const auto& c : cases) {
        CFixed f = CFixed::FromRaw(c.raw);
        EXPECT_EQ(f.Round(c.places).Raw(), c.expected) << c.raw << " at " << c.places;
    }
}

TEST(CFixedTest, TruncateToPlaces) {
    const PlacesCase cases[] = {
        {12399, 2, 12300}, {-12399, 2, -12300},        {99999, 0, 90000},
        {12399, 4, 12399}, {123456789, -2, 123000000}, {-5, 3, 0},
    };
    for (const auto& c : cases) {
        CFixed f = CFixed::FromRaw(c.raw);
        EXPECT_EQ(f.Truncate(c.places).Raw(), c.expected) << c.raw << " at " << c.places;
    }
}

struct WrapCase {
    int64_t raw;
    int digits;
    int places;
    bool half;
    int64_t expected;
};

TEST(CFixedTest, WrapKeepsTheLowestCounterDigits) {
    const WrapCase cases[] = {
        {1234567800, 6, 2, false, 34567800}, // 123456.78 -> 3456.78
        {1234567800, 4, 2, false, 567800},   // -> 56.78
        {12355, 4, 2, false, 12300},
        {12355, 4, 2, true, 12400},         // half a unit added first
        {99995, 1, 0, true, 0},             // 9.9995 + 0.5 -> 10 -> one digit 0
        {123456789, 0, 4, false, 23456789}, // digits outside 1..8 count as 8
        {123456789, 9, 4, false, 23456789},
        {1234567800, 3, -1, false, 34500000}, // 12345 tens -> 345 tens
    };
    for (const auto& c : cases) {
        CFixed f = CFixed::FromRaw(c.raw);
        EXPECT_EQ(f.Wrap(c.digits, c.places, c.half).Raw(), c.expected)
            << c.raw << " " << c.digits << " digits at " << c.places;
    }
}

struct CountCase {
    int64_t in;
    int places;
    int64_t out;
};

TEST(CFixedTest, FromCountAtPlaces) {
    const CountCase cases[] = {
        {125, 2, 12500},   {125, 4, 125},      {3, 0, 30000}, {5, -1, 500000}, {2, -4, 200000000},
        {123456, 6, 1234}, {123456789, 12, 1}, {7, 13, 7},    {7, -5, 7},      {-125, 2, -12500},
    };
    for (const auto& c : cases) {
        CFixed f;
        EXPECT_EQ(f.FromCount(c.in, c.places).Raw(), c.out) << c.in << " at " << c.places;
    }
}

TEST(CFixedTest, ToCountReturnsAndKeepsTheCount) {
    const CountCase cases[] = {
        {12500, 2, 125}, {12599, 2, 125}, {1234, 6, 123400}, {1, 12, 100000000},
        {500000, -1, 5}, {7, 13, 7},      {7, -5, 7},
    };
    for (const auto& c : cases) {
        CFixed f = CFixed::FromRaw(c.in);
        EXPECT_EQ(f.ToCount(c.places), c.out) << c.in << " at " << c.places;
        EXPECT_EQ(f.Raw(), c.out);
    }
}

struct DigitsCase {
    int64_t raw;
    int length;
    int places;
    bool reverse;
    const char* text;
};

TEST(CFixedTest, ToDigits) {
    const DigitsCase cases[] = {
        {125000, 6, 2, false, "001250"},
        {125000, 6, 2, true, "052100"},
        {1234567800, 4, 2, false, "5678"}, // higher digits dropped
        {12350, 3, 2, false, "124"},       // rounded at the place
        {-125000, 6, 2, false, "001250"},  // the sign is not written
        {0, 1, 0, false, "0"},
        {125000, 0, 2, false, ""},
        {1, 25, 4, false, "00000000000000000001"}, // at most 20 digits
        {INT64_MAX, 20, 4, false, "09223372036854775807"},
    };
    for (const auto& c : cases) {
        char buffer[32];
        std::memset(buffer, 'z', sizeof buffer);
        CFixed::FromRaw(c.raw).ToDigits(buffer, c.length, c.places, c.reverse);
        EXPECT_STREQ(buffer, c.text) << c.raw;
    }
}

TEST(CFixedTest, FromDigits) {
    const DigitsCase cases[] = {
        {125000, 6, 2, false, "001250"},   {125000, 6, 2, true, "052100"},
        {12050000, 6, 0, false, "0A12x5"}, // non-digits count as 0
        {1234, 6, 6, false, "123456"},     // six decimals: 0.1234
        {12, 2, 4, false, "12345"},        // only the given length is read
    };
    for (const auto& c : cases) {
        CFixed f;
        EXPECT_EQ(f.FromDigits(c.text, c.length, c.places, c.reverse).Raw(), c.raw) << c.text;
    }
}

struct BcdCase {
    int64_t raw;
    int length;
    int places;
    bool reverse;
    int bytes;
    uint8_t packed[4];
};

const BcdCase kBcdCases[] = {
    {12500000, 4, 0, false, 2, {0x12, 0x50}},
    {12500000, 4, 0, true, 2, {0x50, 0x12}},
    {123450000, 5, 0, false, 3, {0x01, 0x23, 0x45}},
    {123450000, 3, 0, false, 2, {0x03, 0x45}}, // the fourth digit is dropped
    {9876, 8, 4, false, 4, {0x00, 0x00, 0x98, 0x76}},
    {125000, 6, 2, true, 3, {0x50, 0x12, 0x00}},
};

TEST(CFixedTest, ToPackedBcd) {
    for (const auto& c : kBcdCases) {
        uint8_t buffer[8];
        std::memset(buffer, 0xEE, sizeof buffer);
        CFixed::FromRaw(c.raw).ToBcd(buffer, c.length, c.places, c.reverse);
        for (int i = 0; i < c.bytes; ++i)
            EXPECT_EQ(buffer[i], c.packed[i]) << c.raw << " byte " << i;
        EXPECT_EQ(buffer[c.bytes], 0xEE) << "written beyond " << c.bytes << " bytes";
    }
}

TEST(CFixedTest, FromPackedBcd) {
    for (const auto& c : kBcdCases) {
        if (c.length == 3) continue; // lossy case
        CFixed f;
        EXPECT_EQ(f.FromBcd(c.packed, c.length, c.places, c.reverse).Raw(), c.raw) << c.raw;
    }
    const uint8_t bad[] = {0x1F, 0xA2};
    CFixed f;
    EXPECT_EQ(f.FromBcd(bad, 4, 4, false).Raw(), 1002); // nibbles above 9 count as 0
}

TEST(CFixedTest, PlainTextHasFourDecimals) {
    const struct {
        int64_t raw;
        const char* text;
    } cases[] = {
        {-500, "-0.0500"},
        {0, "0.0000"},
        {12345678, "1234.5678"},
        {INT64_MIN, "-922337203685477.5808"},
    };
    for (const auto& c : cases) {
        char buffer[32];
        CFixed::FromRaw(c.raw).PlainText(buffer, sizeof buffer);
        EXPECT_STREQ(buffer, c.text);
    }
}

// The user locale is the default one (English, United Kingdom) unless the environment sets one.
TEST(CFixedTest, LocaleTextInTheDefaultUserLocale) {
    if (std::getenv("QV_LOCALE")) GTEST_SKIP() << "a user locale is set";
    CFixed f(1234.5);
    EXPECT_STREQ(f.LocaleText(false, -1, true), "1,234.50");
    EXPECT_STREQ(f.LocaleText(false, -1, false), "1234.50");
    EXPECT_STREQ(f.LocaleText(false, 3, true), "1,234.500");
    EXPECT_STREQ(f.LocaleText(false, 0, true), "1,235");
    EXPECT_STREQ(CFixed(-0.05).LocaleText(false, -1, true), "-0.05");
    EXPECT_STREQ(f.LocaleText(true, -1, true), "\xA3"
                                               "1,234.50");
    // The largest values still fit the 39-character result.
    EXPECT_STREQ(CFixed::FromRaw(INT64_MAX).LocaleText(true, -1, true), "\xA3"
                                                                        "922,337,203,685,477.58");
}

struct TypeCase {
    int type;
    int digits;
    int decimals;
    int64_t stepRaw;
};

TEST(CFixedTest, DisplayTypes) {
    const TypeCase cases[] = {
        {1, 4, 3, 50},         {2, 4, 2, 500},       {3, 4, 1, 5000},       {4, 4, 0, 50000},
        {5, 5, 3, 50},         {8, 5, 0, 50000},     {9, 6, 3, 50},         {12, 6, 0, 50000},
        {13, 4, -1, 500000},   {14, 4, -2, 5000000}, {15, 4, -3, 50000000}, {16, 5, -1, 500000},
        {18, 5, -3, 50000000}, {19, 6, -1, 500000},  {21, 6, -3, 50000000}, {0, 0, 0, 50000},
        {22, 0, 0, 50000},     {-1, 0, 0, 50000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DigitsOfType(c.type), c.digits) << c.type;
        EXPECT_EQ(DecimalsOfType(c.type), c.decimals) << c.type;
        EXPECT_EQ(StepOfType(c.type).Raw(), c.stepRaw) << c.type;
    }
}

TEST(CFixedTest, BitPositions) {
    const struct {
        uint8_t byte;
        int lowest;
    } lowest[] = {{0, -1}, {1, 1}, {0x80, 8}, {0x0C, 3}, {0xFF, 1}};
    for (const auto& c : lowest)
        EXPECT_EQ(LowestBit(c.byte), c.lowest) << int(c.byte);
    const struct {
        int position;
        uint8_t bit;
    } bits[] = {{0, 0}, {1, 1}, {4, 8}, {8, 0x80}, {9, 0}, {-3, 0}};
    for (const auto& c : bits)
        EXPECT_EQ(BitOfPosition(c.position), c.bit) << c.position;
}

} // namespace

// Results beyond the 64-bit raw value saturate at its limits instead of wrapping (and the
// sanitizer build checks that no path overflows on the way).
TEST(CFixedTest, OutOfRangeSaturates) {
    constexpr int64_t kMax = INT64_MAX;
    constexpr int64_t kMin = INT64_MIN;
    const struct {
        double x;
        int64_t raw;
        bool fits;
    } doubles[] = {
        {9e14, 9000000000000000000, true},
        {-9e14, -9000000000000000000, true},
        {1e15, kMax, false},
        {-1e15, kMin, false},
        {1e300, kMax, false},
        {-std::numeric_limits<double>::infinity(), kMin, false},
        {std::numeric_limits<double>::infinity(), kMax, false},
        {std::numeric_limits<double>::quiet_NaN(), 0, false},
    };
    for (const auto& d : doubles) {
        CFixed f;
        EXPECT_EQ(f.TryFromDouble(d.x), d.fits) << d.x;
        EXPECT_EQ(f.Raw(), d.raw) << d.x;
        CFixed g(d.x);
        EXPECT_EQ(g.Raw(), d.raw) << d.x;
    }

    CFixed f;
    EXPECT_EQ(f.FromCount(kMax / 100, 0).Raw(), kMax);
    EXPECT_EQ(f.FromCount(kMin / 100, -2).Raw(), kMin);
    EXPECT_EQ(f.FromCount(kMin, 4).Raw(), kMin); // a unit of 1 keeps every count
    f = CFixed::FromRaw(kMax / 10);
    EXPECT_EQ(f.ToCount(12), kMax);
    f = CFixed::FromRaw(kMin / 10);
    EXPECT_EQ(f.ToCount(12), kMin);

    EXPECT_EQ(CFixed::FromRaw(kMax).Round(0).Raw(), kMax);
    EXPECT_EQ(CFixed::FromRaw(kMin).Round(0).Raw(), kMin);
    EXPECT_EQ(CFixed::FromRaw(kMin).Round(4).Raw(), kMin);
    EXPECT_EQ(CFixed::FromRaw(kMin).Truncate(4).Raw(), kMin);
    // A counter keeps its lowest digits however large the value; half a unit cannot overflow.
    EXPECT_EQ(CFixed::FromRaw(kMax).Wrap(8, 4, true).Raw(), 54775807);
    EXPECT_EQ(CFixed::FromRaw(kMin).Wrap(8, 0, true).Raw(), -36854770000);

    char digits[21];
    CFixed::FromRaw(kMin).ToDigits(digits, 20, 4, false);
    EXPECT_STREQ(digits, "09223372036854775808");
    uint8_t bcd[10];
    CFixed::FromRaw(kMin).ToBcd(bcd, 20, 4, false);
    EXPECT_EQ(bcd[0], 0x09);
    EXPECT_EQ(bcd[9], 0x08);

    EXPECT_EQ(f.FromDigits("99999999999999999999", 20, 4, false).Raw(), kMax);
    EXPECT_EQ(f.FromDigits("99999999999999999999", 20, 0, false).Raw(), kMax);
    const uint8_t nines[10] = {0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99};
    EXPECT_EQ(f.FromBcd(nines, 20, 4, false).Raw(), kMax);
}
