// Configuration export against a live server simulator: the file's layout and value formats
// (a golden file of a small site built here), the switches, VERSION, the product switch, empty
// sites, a failing hose, and a client library without the network settings call.
#include "extract/Export.h"

#include "extract/Import.h"
#include <algorithm>
#include <filesystem>

#include "extract/tests/TransferTestSupport.h"
#include "platform/Files.h"

namespace {

using namespace transfer_test;

// One device root for the whole test process, removed at its end.
DeviceRoot& Root() {
    static DeviceRoot root;
    return root;
}

// A small site with every kind, stored through the client library.
void BuildSmallSite() {
    ClientLibrary& l = ToolLibrary();
    ASSERT_EQ(l.SetPortProperties(1, 1, CStr("Pumps"), 3, 1, CStr("P-0001")), 0);
    ASSERT_EQ(l.SetPortProperties(5, 5, CStr("Gauge"), 7, 2, CStr("P-0005")), 0);
    ASSERT_EQ(l.SetZigBeeProperties(5, 1, CStr("Radio one"), 2, CStr("ZB-0005"), CStr("N5"), 1), 0);
    ASSERT_EQ(l.SetGradeProperties(1, 1, CStr("Unleaded 95"), CStr("U95"), CStr("95"), 1), 0);
    ASSERT_EQ(l.SetGradePrice(1, 1, 1.459), 0);
    ASSERT_EQ(l.SetGradePrice(1, 3, 1.3594), 0);
    ASSERT_EQ(l.SetGradeProperties(100, 2, CStr("Diesel"), CStr("DSL"), CStr("D"), 2), 0);
    ASSERT_EQ(l.SetTankProperties(1, 1, CStr("Tank one"), 1, 1, 20000, 2.5, 0, 0, 0, 0, 0, 0, 0, 0,
                                  3, 1, 6, 5, 2, 77),
              0);
    ASSERT_EQ(l.SetPumpProperties(1, 1, CStr("Pump one"), 1, 2, 3, 1, 2, 1, 10, 10, 4, 1, 2, 1, 0,
                                  1, 1, 1, -1, 1, 1),
              0);
    // Prices at and just above the 0.1 floor.
    ASSERT_EQ(l.SetHoseProperties(11, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1.459, 0.1, 0.101, 0, 1), 0);
    ASSERT_EQ(l.SetHoseProperties(12, 2, 1, 1, 2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0), 0);
    ASSERT_EQ(l.SetSensorProperties(1, 1, CStr("Leak"), 1, 3, 4, 5, -1, 1234), 0);
    ASSERT_EQ(l.SetProductProperties(1, 1, CStr("Coffee"), CStr("T1"), 1, CStr("COF"),
                                     CStr("5000000000017"), 12, 2.5, 2.25, 0, 0, 3),
              0);
    ASSERT_EQ(l.SetAttendantProperties(1, 1, CStr("Ana"), CStr("ANA"), CStr("1234"), CStr("AB12"),
                                       CStr("77"), 360, 840, 840, 1320, 2),
              0);
    ASSERT_EQ(l.SetCardClientProperties(1, 1, CStr("Fleet"), CStr("C0FFEE"), 1, 1, CStr("AB-12"),
                                        CStr("ID1"), CStr("FLT"), CStr("pw"), 1, 1, 2, 100.5, 1,
                                        46023.5, -1, CStr("ODO1"), 1234.56, 3),
              0);
    ASSERT_EQ(l.SetCardClientProperties(100, 2, CStr("Driver"), CStr(""), 1, 0, CStr(""), CStr(""),
                                        CStr(""), CStr(""), 1, 4, 1, 0, 1, 0, 1, CStr(""), 0, 0),
              0);
}

class ExportTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { Root(); }

    void StartServer(const std::vector<std::string>& args) {
        static int next = 1;
        const std::string address = "127.0.30." + std::to_string(100 + next++);
        ASSERT_TRUE(m_server.Start(address, Root().Path(), args)) << address;
        ASSERT_EQ(Logon(address), 0);
    }
    void StartSmallSite(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args = {"--seed", "empty"};
        args.insert(args.end(), extra.begin(), extra.end());
        StartServer(args);
        BuildSmallSite();
    }
    void TearDown() override {
        Logoff();
        m_server.Stop();
    }

    using Options = ExportOptions;
    // Exports into a file of the device root; the console output and the result.
    std::string Export(const Options& o, int expected = 0) {
        m_file = Root().File("export.ini");
        int code = -2;
        const std::string out =
            Console([&] { code = ExportConfiguration(ToolLibrary(), m_file.c_str(), o); });
        EXPECT_EQ(code, expected) << out;
        return out;
    }
    std::string Written() const { return ReadFile(m_file); }

    Server m_server;
    std::string m_file;
};

TEST_F(ExportTest, SmallSiteMatchesTheGoldenFile) {
    StartSmallSite();
    WriteFile(Root().File("export.ini"), "old content that must go\r\n");
    const std::string out = Export({});
    std::string text = Written();

    // DateGenerated is the local short date and time: "dd/MM/yyyy HH:mm:ss".
    const std::string key = "DateGenerated=";
    const size_t at = text.find(key);
    ASSERT_NE(at, std::string::npos) << text;
    const std::string shape = "00/00/0000 00:00:00\r\n";
    std::string value = text.substr(at + key.size(), shape.size());
    for (char& c : value) {
        if (c >= '0' && c <= '9') c = '0';
    }
    EXPECT_EQ(value, shape);
    text.replace(at + key.size(), shape.size() - 2, "<date> <time>");
    const std::string golden = ReadFile(FixtureDir() + "/export/small_site.ini");
    const std::string console = ReadFile(FixtureDir() + "/export/small_site.console.txt");
    if (text != golden || out != console) { // kept for a look with QV_KEEP_ROOT set
        WriteFile(Root().File("small_site.actual.ini"), text);
        WriteFile(Root().File("small_site.console.actual.txt"), out);
    }
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(text, golden);
    EXPECT_EQ(out, console);
}

TEST_F(ExportTest, FileThatCannotBeDeletedKeepsNoOldLines) {
    StartSmallSite();
    std::string old;
    for (int i = 0; i < 2000; ++i)
        old += "[Grade" + std::to_string(900 + i) + "]\r\nNumber=1\r\n";
    WriteFile(Root().File("export.ini"), old);
    platform::FailFileOp(platform::FileOp::Delete, 1);
    Export({});
    platform::ClearFileFaults();
    const std::string text = Written();
    EXPECT_EQ(text.find("Grade900"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 10), "Factor=0\r\n");
    EXPECT_EQ(ParseSections(text).count("Client100"), 1u);
}

TEST_F(ExportTest, SwitchesAddTheServiceSections) {
    StartSmallSite();
    struct Case {
        Options options;
        bool service, gsc, ipt, tankGauge;
        const char* protocol;
    } cases[] = {
        {{}, false, false, false, false, nullptr},
        {{true}, true, false, false, true, "Name=PAM"},
        {{false, true}, true, false, false, false, "Name=Company"},
        {{true, false, true}, true, true, false, true, "Name=PAM"},
        {{true, false, true, true}, true, true, true, true, "Name=PAM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "pam " << c.options.pam << " company " << c.options.company << " gsc "
                     << c.options.gsc << " ipt " << c.options.ipt);
        Export(c.options);
        const Sections s = ParseSections(Written());
        EXPECT_EQ(s.count("Log") + s.count("Server") + s.count("Port") + s.count("Protocol") +
                      s.count("Company") + s.count("Pam"),
                  c.service ? 6u : 0u);
        EXPECT_EQ(s.count("GSC"), c.gsc ? 1u : 0u);
        EXPECT_EQ(s.count("IPT"), c.ipt ? 1u : 0u);
        EXPECT_EQ(s.count("TankGauge05"), c.tankGauge ? 1u : 0u);
        EXPECT_EQ(s.count("TankGauge01"), 0u); // only ports above 4 are tank gauges
        if (c.protocol != nullptr) {
            EXPECT_EQ(s.at("Protocol"), std::vector<std::string>{c.protocol});
        }
        if (c.gsc) {
            const std::vector<std::string> gsc = {"GSC=Yes",          "Name=192.168.1.200",
                                                  "CommandPort=6001", "EventPort=6003",
                                                  "LogAll=No",        "AutoClear=No"};
            EXPECT_EQ(s.at("GSC"), gsc);
        }
        if (c.ipt) {
            const std::vector<std::string> ipt = {"IPT=Yes",       "Terminal=1", "Port=COM1",
                                                  "Baudrate=9600", "DataBits=8", "Parity=N",
                                                  "StopBits=1"};
            EXPECT_EQ(s.at("IPT"), ipt);
        }
        if (c.tankGauge) {
            const std::vector<std::string> gauge = {"Port=Gauge", "Protocol=7"};
            EXPECT_EQ(s.at("TankGauge05"), gauge);
            // The port's device keys come under a second header of its section.
            EXPECT_NE(Written().find("[TankGauge05]\r\nPort=Gauge\r\nProtocol=7\r\n\r\n[Port05]"),
                      std::string::npos);
        }
    }
}

TEST_F(ExportTest, VersionWritesOnlyHeaderPortsAndZigBeeDevices) {
    StartSmallSite();
    Options version;
    version.versionOnly = true;
    const std::string out = Export(version);
    const Sections s = ParseSections(Written());
    std::vector<std::string> names;
    for (const auto& section : s)
        names.push_back(section.first);
    const std::vector<std::string> expected = {"Application", "Port01", "Port05", "ZigBee05"};
    EXPECT_EQ(names, expected);
    EXPECT_NE(out.find("\n  2 ports exported successfully.\n"), std::string::npos) << out;
    EXPECT_NE(out.find("\n  1 ZigBee devices exported successfully.\n"), std::string::npos);
    EXPECT_EQ(out.find("grades"), std::string::npos) << out;
    EXPECT_EQ(out.substr(out.size() - 11), "\nAll done.\n");
}

TEST_F(ExportTest, VersionStillMakesTheCountCalls) {
    StartSmallSite({"--fail", "GetCardClientsCount:1"});
    Options version;
    version.versionOnly = true;
    const std::string out = Export(version, -1);
    EXPECT_NE(out.find("GetCardClientsCount failed. - "), std::string::npos) << out;
    EXPECT_EQ(out.find("All done."), std::string::npos);
}

TEST_F(ExportTest, NoProductsDoesNotAskForProducts) {
    StartSmallSite({"--fail", "GetProductsCount:1"});
    Options o;
    o.noProducts = true;
    std::string out = Export(o);
    EXPECT_EQ(ParseSections(Written()).count("Product001"), 0u);
    EXPECT_EQ(out.find("Products"), std::string::npos) << out;
    EXPECT_NE(ParseSections(Written()).count("Client100"), 0u);

    const std::string before = Written();
    out = Export({}, -1);
    EXPECT_NE(out.find("GetProductsCount failed. - "), std::string::npos) << out;
    // The walk stopped there: the file of the export before stays as it was.
    EXPECT_EQ(Written(), before);

    o = {};
    o.noAttendants = true;
    o.noCardClients = true;
    Export(o);
    const Sections s = ParseSections(Written());
    EXPECT_EQ(s.count("Attendant01") + s.count("Client001") + s.count("Client100"), 0u);
}

TEST_F(ExportTest, EmptySiteSummarisesPortsOnly) {
    StartServer({"--seed", "empty"});
    const std::string out = Export({});
    EXPECT_EQ(out, "\n  0 ports exported successfully.\n\nAll done.\n");
    std::vector<std::string> names;
    for (const auto& section : ParseSections(Written()))
        names.push_back(section.first);
    EXPECT_EQ(names, std::vector<std::string>{"Application"});
}

// Names in the folder of the export file: a file built beside it must not stay behind.
std::vector<std::string> FolderNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Root().Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A walk that a failed call stops leaves the previous file byte for byte, or no file at all:
// a partial file would be taken for a whole site by a later import.
TEST_F(ExportTest, FailingSecondHoseLeavesThePreviousFileAsItWas) {
    StartSmallSite({"--fail", "GetHoseProperties:2"});
    const std::string file = Root().File("export.ini");
    std::filesystem::remove(file);
    const std::vector<std::string> names = FolderNames();
    std::string out = Export({}, -1);
    EXPECT_NE(out.find("GetHoseProperties failed. - "), std::string::npos) << out;
    EXPECT_FALSE(std::filesystem::exists(file)) << "no partial file";
    EXPECT_EQ(FolderNames(), names);

    Logoff();
    m_server.Stop();
    StartSmallSite({"--fail", "GetHoseProperties:2"});
    const std::string previous = "[Application]\r\nName=previous\r\n";
    WriteFile(file, previous);
    const std::vector<std::string> withFile = FolderNames();
    out = Export({}, -1);
    EXPECT_EQ(Written(), previous);
    EXPECT_EQ(FolderNames(), withFile);
}

TEST_F(ExportTest, DeviceDetailsFailureOnlyLosesTheirKeys) {
    StartSmallSite({"--fail", "GetDeviceDetails:1"});
    const std::string out = Export({});
    EXPECT_NE(out.find("GetDeviceDetails failed. - "), std::string::npos) << out;
    // Only the first call fails: port 1 loses its device keys, the others keep theirs.
    const Sections s = ParseSections(Written());
    auto hasVersions = [&](const char* section) {
        for (const std::string& line : s.at(section)) {
            if (line.rfind("BootVersion=", 0) == 0) return true;
        }
        return false;
    };
    EXPECT_FALSE(hasVersions("Port01"));
    EXPECT_TRUE(hasVersions("Port05"));
    EXPECT_TRUE(hasVersions("ZigBee05"));
    EXPECT_NE(s.count("Client100"), 0u);
}

TEST_F(ExportTest, FailuresStopTheWalkWithTheirMessages) {
    struct Case {
        const char* function;
        const char* message;
    } cases[] = {
        {"ServerVersion:1", "ServerVersion failed. - "},
        {"GetPortsCount:1", "GetPortsCount failed. - "},
        {"GetZB2GConfig:1", "GetZB2GConfig failed. - "},
        {"GetGradesCount:1", "GetGradesCount failed - "},
        {"GetGradePropertiesEx:1", "GetGradePropertiesEx failed. - "},
        {"GetGradePrice:1", "GetGradePrice failed. - "},
        {"GetPumpHosesCount:1", "GetPumpsCount failed. - "},
        {"GetPumpHoseByNumber:1", "GetPumpHoseByNumber failed. - "},
        {"GetCardClientByOrdinal:1", "GetCardClient failed. - "},
        {"GetCardClientPropertiesEx4:1", "GetCardClientProperties failed. - "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.function);
        StartSmallSite({"--fail", c.function});
        const std::string out = Export({}, -1);
        EXPECT_NE(out.find(c.message), std::string::npos) << out;
        EXPECT_EQ(out.find("All done."), std::string::npos);
        Logoff();
        m_server.Stop();
    }
}

} // namespace

namespace {

// A write that fails on the way (an injected write fault, or a commit that fails as a full
// disk does) fails the export: reported with the path, no "All done.".
TEST_F(ExportTest, FailedWriteFailsTheExport) {
    StartSmallSite();
    const struct {
        platform::FileOp op;
        int nth;
    } faults[] = {
        {platform::FileOp::Write, 1}, {platform::FileOp::Write, 40}, {platform::FileOp::Commit, 1}};
    const std::string previous = "[Application]\r\nName=previous\r\n";
    for (const auto& f : faults) {
        SCOPED_TRACE(f.nth);
        WriteFile(Root().File("export.ini"), previous);
        platform::FailFileOp(f.op, f.nth);
        const std::string out = Export({}, -1);
        platform::ClearFileFaults();
        EXPECT_NE(
            out.find("Configuration file " + m_file + " cannot be written: input/output error.\n"),
            std::string::npos)
            << out;
        EXPECT_EQ(out.find("All done."), std::string::npos) << out;
        EXPECT_EQ(Written(), previous);
    }
    // A write fault stops the walk: no summary after the kind it happened in.
    platform::FailFileOp(platform::FileOp::Write, 1);
    const std::string out = Export({}, -1);
    platform::ClearFileFaults();
    EXPECT_EQ(out.find("exported successfully"), std::string::npos) << out;
}

// A broken connection fails every later call: a device-details failure for that reason stops
// the walk (other device-details failures only lose their keys).
TEST_F(ExportTest, BrokenConnectionStopsTheWalk) {
    StartSmallSite({"--fail", "GetDeviceDetails:1:-14"});
    const std::string out = Export({}, -1);
    EXPECT_EQ(CountOf(out, "failed."), 1) << out;
    EXPECT_NE(out.find("GetDeviceDetails failed. - "), std::string::npos) << out;
    EXPECT_EQ(out.find("All done."), std::string::npos) << out;
}

// A text holding line breaks cannot start a section or key of its own: the breaks are written
// as blanks, and an import of the file stores no phantom pump.
TEST_F(ExportTest, LineBreaksInTextsStayOnTheirLine) {
    StartServer({"--seed", "empty"});
    ClientLibrary& l = ToolLibrary();
    ASSERT_EQ(l.SetPumpProperties(1, 1, CStr("Sump\n[Pump09]\nNumber=9"), 1, 0, 1, 1, 2, 1, 10, 10,
                                  4, 1, -1, 0, 0, 0, 0, 1, -1, 1, 1),
              0);
    ASSERT_EQ(l.SetAttendantProperties(1, 1, CStr("Ana\r\n"), CStr("A\rB"), CStr(""), CStr(""),
                                       CStr(""), 0, 0, 0, 0, 1),
              0);
    Export({});
    const std::string text = Written();
    EXPECT_NE(text.find("\r\nName=Sump [Pump09] Number=9\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nName=Ana  \r\nShortName=A B\r\n"), std::string::npos) << text;
    const Sections s = ParseSections(text);
    EXPECT_EQ(s.count("Pump09"), 0u);

    StartServer({"--seed", "empty"});
    int code = 0;
    const std::string out = Console(
        [&] { code = ImportConfiguration(ToolLibrary(), m_file.c_str(), ImportOptions()); });
    EXPECT_EQ(code, 0) << out;
    int32_t pumps = 0;
    ASSERT_EQ(l.GetPumpsCount(pumps), 0);
    EXPECT_EQ(pumps, 1);
    int32_t number = 0;
    CStr name;
    int16_t s16[15];
    int32_t s32[4];
    ASSERT_EQ(l.GetPumpProperties(1, number, name, s16[0], s16[1], s16[2], s16[3], s16[4], s16[5],
                                  s16[6], s16[7], s16[8], s32[0], s32[1], s16[9], s16[10], s16[11],
                                  s16[12], s32[2], s32[3], s16[13], s16[14]),
              0);
    EXPECT_EQ(Narrow(name), "Sump [Pump09] Number=9");
}

} // namespace
