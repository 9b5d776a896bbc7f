// Section-name recognition and value formats of the configuration file.
#include "extract/ConfigLayout.h"

#include <cstdio>
#include <random>

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* name;
    int32_t number;
    bool hasKind;
    SectionKind kind;
};

TEST(ConfigLayoutTest, SectionNamesGiveNumberAndKind) {
    const NameCase cases[] = {
        {"Pump07", 7, true, SectionKind::Pump},
        {"Pump7", 7, true, SectionKind::Pump},
        {"Grade100", 100, true, SectionKind::Grade},
        {"A1B2", 12, false, SectionKind::Port},
        {"Dispenser", 0, false, SectionKind::Port},
        {"Misc5", 5, false, SectionKind::Port},
        {"Pump00", 0, true, SectionKind::Pump},
        {"pump03", 3, false, SectionKind::Port}, // kind texts are case-sensitive
        {"TankGauge05", 5, true, SectionKind::Tank},
        {"ZigBee12", 12, true, SectionKind::ZigBee},
        {"Client001", 1, true, SectionKind::Client},
        {"Attendant03", 3, true, SectionKind::Attendant},
        {"Product010", 10, true, SectionKind::Product},
        {"Sensor02", 2, true, SectionKind::Sensor},
        {"PumpPort1", 1, true, SectionKind::Port},       // first text of the list wins
        {"Pump99999999999", 0, true, SectionKind::Pump}, // beyond any ID
        {"Port2147483647", 2147483647, true, SectionKind::Port},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SectionNumber(CStr(c.name)), c.number);
        SectionKind kind = SectionKind::Port;
        EXPECT_EQ(FindKind(CStr(c.name), kind), c.hasKind);
        if (c.hasKind) {
            EXPECT_EQ(kind, c.kind);
        }
    }
    SectionKind kind;
    EXPECT_FALSE(FindKind(CStr(), kind));
    EXPECT_EQ(SectionNumber(CStr()), 0);
}

TEST(ConfigLayoutTest, SectionNamesAreNumberedByID) {
    EXPECT_EQ(SectionName(SectionKind::Grade, 100), "Grade100");
    EXPECT_EQ(SectionName(SectionKind::Pump, 7), "Pump07");
    EXPECT_EQ(SectionName(SectionKind::Product, 7), "Product007");
    EXPECT_EQ(SectionName(SectionKind::Client, 1234), "Client1234");
    EXPECT_EQ(SectionName(SectionKind::Attendant, 3), "Attendant03");
    EXPECT_EQ(SectionName(SectionKind::ZigBee, 5), "ZigBee05");
}

TEST(ConfigLayoutTest, RealsAreWrittenAsPrintfDoesInTheCLocale) {
    struct RealCase {
        double value;
        int places;
        const char* text;
    } cases[] = {
        {12.3456, 3, "12.346"},
        {0.1, 3, "0.100"},
        {-0.0001, 3, "-0.000"},
        {46023.5, 5, "46023.50000"},
        {12345.66, 1, "12345.7"},
        {0, 3, "0.000"},
        {1e15, 3, "1000000000000000.000"},
        {0.125, 2, "0.12"}, // ties go to even, as printf
    };
    for (const RealCase& c : cases)
        EXPECT_EQ(FormatReal(c.value, c.places), c.text) << c.value;

    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> value(-100000.0, 100000.0);
    for (int i = 0; i < 20000; ++i) {
        const double v = value(random);
        const int places = i % 6;
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.*f", places, v);
        ASSERT_EQ(FormatReal(v, places), expected) << v;
    }
}

TEST(ConfigLayoutTest, HexAndChannelFormats) {
    EXPECT_EQ(FormatHex4(0x1A2B), "0x1A2B");
    EXPECT_EQ(FormatHex4(5), "0x0005");
    EXPECT_EQ(FormatHex4(0x12345), "0x12345");
    EXPECT_EQ(FormatHex64(0x1A), "0x000000000000001A");
    EXPECT_EQ(FormatHex64(-1), "0xFFFFFFFFFFFFFFFF");
    EXPECT_EQ(FormatHex64(static_cast<int64_t>(0x8000000000000000ULL)), "0x8000000000000000");

    EXPECT_EQ(ChannelList(0), "");
    EXPECT_EQ(ChannelList((1 << 11) | (1 << 15) | (1 << 20)), " 11,15,20");
    EXPECT_EQ(ChannelList((1 << 10) | (1 << 27)), ""); // outside the radio band
    EXPECT_EQ(ChannelList(1 << 26), " 26");
    EXPECT_EQ(ChannelList(-1), " 11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26");

    EXPECT_EQ(HoseKey("Hose%dPrice1", 2), "Hose2Price1");
    EXPECT_EQ(HoseKey("Hose%dID", 12), "Hose12ID");
}

TEST(ConfigLayoutTest, KindTablesMatchTheirRows) {
    for (int i = 0; i < kKindCount; ++i)
        EXPECT_EQ(static_cast<int>(kKinds[i].kind), i);
    // Every kind has exactly one summary place.
    int seen = 0;
    for (SectionKind k : kImportSummaryOrder)
        seen |= 1 << static_cast<int>(k);
    EXPECT_EQ(seen, (1 << kKindCount) - 1);
}

} // namespace
