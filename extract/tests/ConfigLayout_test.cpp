// Section-name recognition and value formats of the configuration file.
#include "extract/ConfigLayout.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "testing/Files.h"

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

namespace {

TEST(ConfigLayoutTest, TextsAreWrittenOnOneLine) {
    EXPECT_STREQ(OneLine(CStr("Sump\n[Pump09]\nNumber=9")).Narrow(), "Sump [Pump09] Number=9");
    EXPECT_STREQ(OneLine(CStr("a\r\nb\rc")).Narrow(), "a  b c");
    EXPECT_STREQ(OneLine(CStr("plain")).Narrow(), "plain");
    EXPECT_TRUE(OneLine(CStr()).IsNull());
    EXPECT_EQ(OneLine(CStr("\n")).Length(), 1);
}

// Collects the key names of a key list, in order.
struct KeyNames {
    std::vector<std::string> keys;
    template <typename T> void Int(const char* key, T&) { keys.push_back(key); }
    template <typename T> void Int16(const char* key, T&) { keys.push_back(key); }
    void Text(const char* key, CStr&) { keys.push_back(key); }
    void Real(const char* key, double&, int) { keys.push_back(key); }
    void RealAbove(const char* key, double&, int, double) { keys.push_back(key); }
    void Date(const char* key, double&) { keys.push_back(key); }
};

template <typename Record, typename Keys> std::vector<std::string> NamesOf(Keys keys) {
    KeyNames names;
    Record r;
    keys(names, r);
    return names.keys;
}

// The key lines of one section of the golden export, names only, in file order.
std::vector<std::string> GoldenKeys(const std::string& section) {
    const char* fixtures = std::getenv("QV_FIXTURES");
    const std::string text =
        qvtesting::ReadFile(std::string(fixtures ? fixtures : ".") + "/export/small_site.ini");
    std::vector<std::string> keys;
    bool inside = false;
    for (const std::string& line : qvtesting::Lines(text)) {
        if (line.empty()) continue;
        if (line[0] == '[') {
            inside = line == "[" + section + "]";
            continue;
        }
        if (inside) keys.push_back(line.substr(0, line.find('=')));
    }
    return keys;
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The key lists are those of the file: each kind's section in the golden export holds its list's
// keys in order, followed only by the keys that one side alone knows.
TEST(ConfigLayoutTest, KeyListsAreTheFilesKeys) {
    const std::vector<std::string> versions = {"CurrentSerialNo", "BootVersion", "FirmwareVersion"};
    const std::vector<std::string> radio = {"PanID", "Channels", "KeyA", "KeyB"};
    EXPECT_EQ(
        GoldenKeys("Port01"),
        Join(Join(NamesOf<PortRecord>([](auto& v, auto& r) { PortKeys(v, r); }), radio), versions));
    EXPECT_EQ(GoldenKeys("ZigBee05"),
              Join(NamesOf<ZigBeeRecord>([](auto& v, auto& r) { ZigBeeKeys(v, r); }), versions));
    EXPECT_EQ(GoldenKeys("Grade01"),
              Join(NamesOf<GradeRecord>([](auto& v, auto& r) { GradeKeys(v, r); }),
                   {GradePriceKey(1), GradePriceKey(3)}));
    EXPECT_EQ(GoldenKeys("Tank01"), NamesOf<TankRecord>([](auto& v, auto& r) { TankKeys(v, r); }));
    EXPECT_EQ(GoldenKeys("Sensor01"),
              NamesOf<SensorRecord>([](auto& v, auto& r) { SensorKeys(v, r); }));
    EXPECT_EQ(GoldenKeys("Product001"),
              NamesOf<ProductRecord>([](auto& v, auto& r) { ProductKeys(v, r); }));
    EXPECT_EQ(GoldenKeys("Attendant01"),
              NamesOf<AttendantRecord>([](auto& v, auto& r) { AttendantKeys(v, r); }));
    EXPECT_EQ(GoldenKeys("Client001"),
              NamesOf<CardClientRecord>([](auto& v, auto& r) { CardClientKeys(v, r); }));

    // A pump's keys, then per hose its list without the prices that are not above the floor.
    const std::vector<std::string> pump = GoldenKeys("Pump01");
    const std::vector<std::string> pumpKeys =
        NamesOf<PumpRecord>([](auto& v, auto& r) { PumpKeys(v, r); });
    ASSERT_GT(pump.size(), pumpKeys.size());
    EXPECT_EQ(std::vector<std::string>(pump.begin(), pump.begin() + pumpKeys.size()), pumpKeys);
    const std::vector<std::string> hose1 =
        NamesOf<HoseRecord>([](auto& v, auto& r) { HoseKeys(v, r, 1); });
    EXPECT_EQ(hose1.front(), "Hose1ID");
    EXPECT_EQ(hose1.back(), "Hose1Enabled");
    for (size_t i = pumpKeys.size(); i < pump.size(); ++i)
        EXPECT_EQ(pump[i].rfind("Hose", 0), 0u) << pump[i];
}

} // namespace
