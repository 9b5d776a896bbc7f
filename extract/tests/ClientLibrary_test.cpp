// The client-library binding against the real stand-in library, its older variant and test
// builds that lack single functions, with the forecourt server simulator behind them.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "extract/ClientLibrary.h"
#include "extract/tests/ToolTestSupport.h"
#include "platform/OleAuto.h"

using namespace tooltest;

namespace {

constexpr const char* kKey = "7A3E-19C4-B05D-62F8-D1A7-4E93";

// Loopback addresses of this binary: 127.0.20.1 to 127.0.20.99.
std::string NextAddress() {
    static int next = 1;
    return "127.0.20." + std::to_string(next++);
}

// A binding with its own device root and log file; libFile is linked as the client library
// (none when null).
class Binding {
  public:
    explicit Binding(const char* libFile, uint8_t level = 1)
        : m_log((m_root.Dir() / "binding").c_str(), "2.6.0.0", 1, 2048000, 10, true, false),
          m_lib(m_log) {
        m_log.m_level = level;
        if (libFile != nullptr) m_root.LinkLibrary(libFile);
    }
    ~Binding() {
        if (m_lib.LogonHandle() != 0) m_lib.Logoff();
    }
    ClientLibrary& Lib() { return m_lib; }
    ClientLibrary* operator->() { return &m_lib; }
    std::string Log() {
        m_log.Flush();
        return ReadFile(m_root.Dir() / "binding.L00");
    }
    int32_t Logon(const std::string& server) {
        return m_lib.Logon(110, 5, CStr("Dovetrix"), 3, CStr(kKey), 0, CStr(server.c_str()), 5123,
                           5124, 10000, 0, 0, 1024);
    }
    const DeviceRoot& Root() const { return m_root; }

  private:
    DeviceRoot m_root;
    CLog m_log;
    ClientLibrary m_lib;
};

// Every logon-bound wrapper, called with harmless arguments.
struct WrapperCall {
    const char* name;
    std::function<int32_t(ClientLibrary&)> call;
};

std::vector<WrapperCall> LogonBoundWrappers() {
    static int32_t i32;
    static int16_t i16;
    static int64_t i64;
    static double d;
    static CStr s;
    const CStr any("");
    return {
        {"Logoff", [](ClientLibrary& l) { return l.Logoff(); }},
        {"SetClientType", [](ClientLibrary& l) { return l.SetClientType(1); }},
        {"ServerVersion", [](ClientLibrary& l) { return l.ServerVersion(s); }},
        {"GetPortsCount", [](ClientLibrary& l) { return l.GetPortsCount(i32); }},
        {"GetPortByOrdinal", [](ClientLibrary& l) { return l.GetPortByOrdinal(1, i32); }},
        {"GetPortProperties",
         [](ClientLibrary& l) { return l.GetPortProperties(1, i32, s, i16, i16, s); }},
        {"GetZB2GConfig", [](ClientLibrary& l) { return l.GetZB2GConfig(1, i32, i32, i64, i64); }},
        {"GetDeviceDetails", [](ClientLibrary& l) { return l.GetDeviceDetails(1, -1, s, s, s); }},
        {"GetZigBeeCount", [](ClientLibrary& l) { return l.GetZigBeeCount(i32); }},
        {"GetZigBeeByOrdinal", [](ClientLibrary& l) { return l.GetZigBeeByOrdinal(1, i32); }},
        {"GetZigBeeProperties",
         [](ClientLibrary& l) { return l.GetZigBeeProperties(1, i32, s, i16, s, s, i32); }},
        {"GetGradesCount", [](ClientLibrary& l) { return l.GetGradesCount(i32); }},
        {"GetGradeByOrdinal", [](ClientLibrary& l) { return l.GetGradeByOrdinal(1, i32); }},
        {"GetGradeProperties",
         [](ClientLibrary& l) { return l.GetGradeProperties(1, i32, s, s, s, i16); }},
        {"GetGradePrice", [](ClientLibrary& l) { return l.GetGradePrice(1, 1, d); }},
        {"GetTanksCount", [](ClientLibrary& l) { return l.GetTanksCount(i32); }},
        {"GetTankByOrdinal", [](ClientLibrary& l) { return l.GetTankByOrdinal(1, i32); }},
        {"GetTankProperties",
         [](ClientLibrary& l) {
             return l.GetTankProperties(1, i32, s, i32, i16, d, d, d, d, d, d, d, d, d, d, i32, i16,
                                        i32, i32, i16, i32);
         }},
        {"GetPumpsCount", [](ClientLibrary& l) { return l.GetPumpsCount(i32); }},
        {"GetPumpByOrdinal", [](ClientLibrary& l) { return l.GetPumpByOrdinal(1, i32); }},
        {"GetPumpProperties",
         [](ClientLibrary& l) {
             return l.GetPumpProperties(1, i32, s, i16, i16, i16, i16, i16, i16, i16, i16, i16, i32,
                                        i32, i16, i16, i16, i16, i32, i32, i16, i16);
         }},
        {"GetPumpHosesCount", [](ClientLibrary& l) { return l.GetPumpHosesCount(1, i32); }},
        {"GetPumpHoseByNumber", [](ClientLibrary& l) { return l.GetPumpHoseByNumber(1, 1, i32); }},
        {"GetHoseProperties",
         [](ClientLibrary& l) {
             return l.GetHoseProperties(1, i32, i32, i32, i32, d, d, d, d, i16, d, d, d, d, i16);
         }},
        {"GetSensorsCount", [](ClientLibrary& l) { return l.GetSensorsCount(i32); }},
        {"GetSensorByOrdinal", [](ClientLibrary& l) { return l.GetSensorByOrdinal(1, i32); }},
        {"GetSensorProperties",
         [](ClientLibrary& l) {
             return l.GetSensorProperties(1, i32, s, i32, i16, i16, i16, i32, i32);
         }},
        {"GetProductsCount",
         [any](ClientLibrary& l) { return l.GetProductsCount(-1, any, any, any, any, -1, i32); }},
        {"GetProductByOrdinal",
         [any](ClientLibrary& l) {
             return l.GetProductByOrdinal(1, -1, any, any, any, any, -1, i32);
         }},
        {"GetProductProperties",
         [](ClientLibrary& l) {
             return l.GetProductProperties(1, i32, s, s, i16, s, s, i32, d, d, d, d, i32, d, d);
         }},
        {"GetAttendantsCount", [](ClientLibrary& l) { return l.GetAttendantsCount(i32); }},
        {"GetAttendantByOrdinal", [](ClientLibrary& l) { return l.GetAttendantByOrdinal(1, i32); }},
        {"GetAttendantProperties",
         [](ClientLibrary& l) {
             return l.GetAttendantProperties(1, i32, s, s, s, s, s, i16, i16, i16, i16, i16);
         }},
        {"GetCardClientsCount", [](ClientLibrary& l) { return l.GetCardClientsCount(i32); }},
        {"GetCardClientByOrdinal",
         [](ClientLibrary& l) { return l.GetCardClientByOrdinal(1, i32); }},
        {"GetCardClientProperties",
         [](ClientLibrary& l) {
             return l.GetCardClientProperties(1, i32, s, s, i16, i16, s, s, s, s, i16, i16, i16, d,
                                              i16, d, i32, s, d, i32);
         }},
        {"GetTCPIPConfig", [](ClientLibrary& l) { return l.GetTCPIPConfig(s, s, s, s, i16, s); }},
        {"SetPortProperties",
         [any](ClientLibrary& l) { return l.SetPortProperties(1, 1, any, 1, 1, any); }},
        {"SetGradeProperties",
         [any](ClientLibrary& l) { return l.SetGradeProperties(1, 1, any, any, any, 1); }},
        {"SetGradePrice", [](ClientLibrary& l) { return l.SetGradePrice(1, 1, 1.0); }},
        {"SetZigBeeProperties",
         [any](ClientLibrary& l) { return l.SetZigBeeProperties(5, 1, any, 1, any, any, 1); }},
        {"SetTankProperties",
         [any](ClientLibrary& l) {
             return l.SetTankProperties(1, 1, any, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0,
                                        0, 0);
         }},
        {"SetPumpProperties",
         [any](ClientLibrary& l) {
             return l.SetPumpProperties(1, 1, any, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0,
                                        0, 1, 1);
         }},
        {"SetHoseProperties",
         [](ClientLibrary& l) {
             return l.SetHoseProperties(1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
         }},
        {"SetSensorProperties",
         [any](ClientLibrary& l) { return l.SetSensorProperties(1, 1, any, 1, 1, 1, 1, 0, 0); }},
        {"SetAttendantProperties",
         [any](ClientLibrary& l) {
             return l.SetAttendantProperties(1, 1, any, any, any, any, any, 0, 1439, 0, 1439, 1);
         }},
        {"SetProductProperties",
         [any](ClientLibrary& l) {
             return l.SetProductProperties(1, 1, any, any, 1, any, any, 0, 0, 0, 0, 0, 0);
         }},
        {"SetCardClientProperties",
         [any](ClientLibrary& l) {
             return l.SetCardClientProperties(1, 1, any, any, 1, 1, any, any, any, any, 1, 1, 1, 0,
                                              1, 0, -1, any, 0, 1);
         }},
    };
}

} // namespace

// ---- Loading and refusals ----

TEST(ClientLibraryLoad, MissingLibraryRefusesEveryCall) {
    Binding b(nullptr);
    const long bstrs = platform::LiveBstrCount();
    EXPECT_FALSE(b->Load());
    EXPECT_FALSE(b->IsLoaded());
    EXPECT_EQ(b.Logon("127.0.0.1"), 65);
    CStr text("unchanged");
    EXPECT_EQ(b->DllVersion(text), 65);
    EXPECT_EQ(b->ResultString(8, text), 65);
    EXPECT_STREQ(text.Narrow(), "unchanged");
    for (const WrapperCall& w : LogonBoundWrappers())
        EXPECT_EQ(w.call(b.Lib()), 8) << w.name;
    EXPECT_EQ(platform::LiveBstrCount(), bstrs);

    const std::string log = b.Log();
    EXPECT_NE(log.find("QVClient [C:\\QVForecourt\\QVClient.DLL] not found/loaded!!"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("function"), std::string::npos);
}

TEST(ClientLibraryLoad, LoadedButLoggedOffRefusesLogonBoundCalls) {
    Binding b("libQVClient.so");
    ASSERT_TRUE(b->Load());
    const long bstrs = platform::LiveBstrCount();
    for (const WrapperCall& w : LogonBoundWrappers())
        EXPECT_EQ(w.call(b.Lib()), 8) << w.name;
    EXPECT_EQ(platform::LiveBstrCount(), bstrs);

    // The two calls that need no logon reach the library.
    CStr version;
    EXPECT_EQ(b->DllVersion(version), 0);
    EXPECT_GT(version.Length(), 0);
    CStr text;
    EXPECT_EQ(b->ResultString(8, text), 0);
    EXPECT_STREQ(text.Narrow(), "Not logged on");
}

TEST(ClientLibraryLoad, LogLinesFollowTheTableAndTheLevel) {
    {
        Binding quiet("libQVClient.so", 1);
        ASSERT_TRUE(quiet->Load());
        const std::string log = quiet.Log();
        EXPECT_EQ(CountOf(log, "QVClient [C:\\QVForecourt\\QVClient.DLL] loaded successfully"), 1);
        EXPECT_EQ(CountOf(log, "QVClient DLL, function"), 0) << log;
    }
    {
        Binding verbose("libQVClient.so", 2);
        ASSERT_TRUE(verbose->Load());
        const std::string log = verbose.Log();
        EXPECT_EQ(CountOf(log, " found\n"), ClientLibrary::kBoundCount);
        EXPECT_EQ(CountOf(log, "not found"), 0);
        // Binding order, with the two names that carry no MT ending.
        const size_t first = log.find("function CheckForManagementFtnMT found");
        const size_t logoff = log.find("function ClientLogoffMT found");
        const size_t dll = log.find("function DllVersion found");
        const size_t text = log.find("function ResultString found");
        const size_t last = log.find("function ExternalEndDeliveryMT found");
        ASSERT_NE(first, std::string::npos);
        ASSERT_NE(last, std::string::npos);
        EXPECT_LT(first, logoff);
        EXPECT_LT(logoff, dll);
        EXPECT_LT(dll, text);
        EXPECT_LT(text, last);
        EXPECT_EQ(log.find("DllVersionMT"), std::string::npos);
    }
    {
        // Missing functions are written whatever the level, and do not fail the load.
        Binding legacy("libQVClientLegacy.so", 1);
        ASSERT_TRUE(legacy->Load());
        const std::string log = legacy.Log();
        EXPECT_EQ(CountOf(log, "QVClient DLL, function InternalClientLogonMT not found!!!"), 1);
        EXPECT_EQ(CountOf(log, "QVClient DLL, function GetPumpPropertiesExMT not found!!!"), 1);
        EXPECT_EQ(CountOf(log, "ClientLogonExMT not found"), 0);
        EXPECT_EQ(CountOf(log, " found\n"), 0); // found lines need level 2
        EXPECT_GT(CountOf(log, " not found!!!\n"), 1);
        EXPECT_TRUE(legacy->IsBound("ClientLogonEx"));
        EXPECT_FALSE(legacy->IsBound("InternalClientLogon"));
    }
}

// ---- Results and their texts ----

TEST(ClientLibraryReport, ResultZeroIsSilent) {
    Binding b("libQVClient.so");
    ASSERT_TRUE(b->Load());
    testing::internal::CaptureStdout();
    EXPECT_TRUE(b->ReportResult("GetPumpsCount failed.", 0));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(b.Log().find("GetPumpsCount failed."), std::string::npos);
}

TEST(ClientLibraryReport, FailurePrintsAndLogsTheResultText) {
    Binding b("libQVClient.so");
    ASSERT_TRUE(b->Load());
    testing::internal::CaptureStdout();
    EXPECT_FALSE(b->ReportResult("GetPumpsCount failed.", 8));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "GetPumpsCount failed. - Not logged on.\n");
    const std::string log = b.Log();
    const size_t number = log.find("GetPumpsCount failed. - 8.\n");
    const size_t text = log.find("GetPumpsCount failed. - Not logged on.\n");
    ASSERT_NE(number, std::string::npos) << log;
    ASSERT_NE(text, std::string::npos) << log;
    EXPECT_LT(number, text);
}

TEST(ClientLibraryReport, TextStaysEmptyWhenItCannotBeObtained) {
    for (const char* lib : {static_cast<const char*>(nullptr), "libQVClientNoLogon.so"}) {
        Binding b(lib);
        b->Load();
        testing::internal::CaptureStdout();
        EXPECT_FALSE(b->ReportResult("Logon failed", 65));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Logon failed - .\n");
        const std::string log = b.Log();
        EXPECT_NE(log.find("Logon failed - 65.\n"), std::string::npos);
        EXPECT_NE(log.find("Logon failed - .\n"), std::string::npos);
    }
}

// ---- Logon and logoff ----

TEST(ClientLibraryLogon, FullLogonThenLogoffClearsTheHandle) {
    Server server(NextAddress());
    ASSERT_TRUE(server.Start());
    Binding b("libQVClient.so");
    ASSERT_TRUE(b->Load());
    const long bstrs = platform::LiveBstrCount();
    ASSERT_EQ(b.Logon(server.Address()), 0);
    EXPECT_NE(b->LogonHandle(), 0);
    CStr version("old");
    EXPECT_EQ(b->ServerVersion(version), 0);
    EXPECT_GT(version.Length(), 0);
    EXPECT_STRNE(version.Narrow(), "old");
    EXPECT_EQ(b->SetClientType(0x5C2E4A91), 0);
    EXPECT_EQ(b->Logoff(), 0);
    EXPECT_EQ(b->LogonHandle(), 0);
    EXPECT_EQ(platform::LiveBstrCount(), bstrs);
    for (const WrapperCall& w : LogonBoundWrappers())
        EXPECT_EQ(w.call(b.Lib()), 8) << w.name;
}

TEST(ClientLibraryLogon, UnreachableServerGivesTheLibraryResult) {
    Binding b("libQVClient.so");
    ASSERT_TRUE(b->Load());
    const int32_t result = b.Logon(NextAddress()); // nobody listens there
    EXPECT_NE(result, 0);
    EXPECT_NE(result, 65);
    EXPECT_EQ(b->LogonHandle(), 0);
}

TEST(ClientLibraryLogon, OlderLibraryLogsOnThroughClientLogonEx) {
    Server server(NextAddress());
    ASSERT_TRUE(server.Start());
    Binding b("libQVClientLegacy.so");
    ASSERT_TRUE(b->Load());
    ASSERT_EQ(b.Logon(server.Address()), 0);
    EXPECT_NE(b->LogonHandle(), 0);
    EXPECT_EQ(b->Logoff(), 0);
}

TEST(ClientLibraryLogon, OlderLogonDeclaresTheClientTypeTwice) {
    // The second SetClientType call of the run fails: the older logon reports it.
    Server server(NextAddress(), {"--fail", "SetClientType:2:13"});
    ASSERT_TRUE(server.Start());
    Binding b("libQVClientLegacy.so");
    ASSERT_TRUE(b->Load());
    EXPECT_EQ(b.Logon(server.Address()), 13);
}

TEST(ClientLibraryLogon, OlderLogonWithoutSetClientTypeIsMissing) {
    Server server(NextAddress());
    ASSERT_TRUE(server.Start());
    Binding b("libQVClientNoClientType.so");
    ASSERT_TRUE(b->Load());
    EXPECT_EQ(b.Logon(server.Address()), 65);
}

TEST(ClientLibraryLogon, NoLogonFunctionIsMissing) {
    Server server(NextAddress());
    ASSERT_TRUE(server.Start());
    Binding b("libQVClientNoLogon.so");
    ASSERT_TRUE(b->Load());
    EXPECT_EQ(b.Logon(server.Address()), 65);
    EXPECT_EQ(b->LogonHandle(), 0);
    CStr text("unchanged");
    EXPECT_EQ(b->ResultString(8, text), 65);
    EXPECT_STREQ(text.Narrow(), "unchanged");
}

// ---- Reads and writes, and the fall-backs to older variants ----

namespace {

// Each record kind with every field of its newest variant; the initial values are junk, so a
// read shows which fields it set.
struct Grade {
    int32_t number = 99;
    CStr name{"junk"}, shortName{"junk"}, code{"junk"};
    int16_t type = 99;
};
struct Tank {
    int32_t number = 99;
    CStr name{"junk"};
    int32_t gradeID = 99;
    int16_t type = 99;
    double capacity = 99, diameter = 99;
    double gauge[8] = {99, 99, 99, 99, 99, 99, 99, 99};
    int32_t gaugeID = 99;
    int16_t probeNo = 99;
    int32_t alarms = 99, slot = 99;
    int16_t probeType = 99;
    int32_t probeSerialNo = 99;
};
struct Pump {
    int32_t number = 99;
    CStr name{"junk"};
    int16_t physical = 99, side = 99, address = 99, level1 = 99, level2 = 99, priceFormat = 99,
            volumeFormat = 99, valueFormat = 99, type = 99;
    int32_t portID = 99, attendantID = 99;
    int16_t authMode = 99, stackMode = 99, prepay = 99, preauth = 99;
    int32_t slot = 99, muxSlot = 99;
    int16_t priceControl = 99, hasPreset = 99;
};
struct Hose {
    int32_t number = 99, pumpID = 99, tankID = 99, physical = 99;
    double meters[4] = {99, 99, 99, 99};
    int16_t antenna = 99;
    double price[4] = {99, 99, 99, 99};
    int16_t enabled = 99;
};
struct Sensor {
    int32_t number = 99;
    CStr name{"junk"};
    int32_t portID = 99;
    int16_t type = 99, address = 99, sensorNo = 99;
    int32_t slot = 99, serialNo = 99;
};
struct Product {
    int32_t number = 99;
    CStr name{"junk"}, tag{"junk"};
    int16_t enabled = 99;
    CStr shortName{"junk"}, barcode{"junk"};
    int32_t quickCode = 99;
    double price[4] = {99, 99, 99, 99};
    int32_t group = 99;
    double added = 99, updated = 99;
};
struct Attendant {
    int32_t number = 99;
    CStr name{"junk"}, shortName{"junk"}, password{"junk"}, tag{"junk"}, idNumber{"junk"};
    int16_t shift[4] = {99, 99, 99, 99};
    int16_t type = 99;
};
struct Card {
    int32_t number = 99;
    CStr name{"junk"}, tag{"junk"};
    int16_t enabled = 99, priceLevel = 99;
    CStr plate{"junk"}, idNumber{"junk"}, shortName{"junk"}, password{"junk"};
    int16_t gradeType = 99, cardType = 99, limitType = 99;
    double limit = 99;
    int16_t entryType = 99;
    double expiration = 99;
    int32_t parentID = 99;
    CStr odoSerialNo{"junk"};
    double odometer = 99;
    int32_t factor = 99;
};

int32_t Read(ClientLibrary& l, int32_t id, Grade& g) {
    return l.GetGradeProperties(id, g.number, g.name, g.shortName, g.code, g.type);
}
int32_t Read(ClientLibrary& l, int32_t id, Tank& t) {
    return l.GetTankProperties(id, t.number, t.name, t.gradeID, t.type, t.capacity, t.diameter,
                               t.gauge[0], t.gauge[1], t.gauge[2], t.gauge[3], t.gauge[4],
                               t.gauge[5], t.gauge[6], t.gauge[7], t.gaugeID, t.probeNo, t.alarms,
                               t.slot, t.probeType, t.probeSerialNo);
}
int32_t Read(ClientLibrary& l, int32_t id, Pump& p) {
    return l.GetPumpProperties(id, p.number, p.name, p.physical, p.side, p.address, p.level1,
                               p.level2, p.priceFormat, p.volumeFormat, p.valueFormat, p.type,
                               p.portID, p.attendantID, p.authMode, p.stackMode, p.prepay,
                               p.preauth, p.slot, p.muxSlot, p.priceControl, p.hasPreset);
}
int32_t Read(ClientLibrary& l, int32_t id, Hose& h) {
    return l.GetHoseProperties(id, h.number, h.pumpID, h.tankID, h.physical, h.meters[0],
                               h.meters[1], h.meters[2], h.meters[3], h.antenna, h.price[0],
                               h.price[1], h.price[2], h.price[3], h.enabled);
}
int32_t Read(ClientLibrary& l, int32_t id, Sensor& s) {
    return l.GetSensorProperties(id, s.number, s.name, s.portID, s.type, s.address, s.sensorNo,
                                 s.slot, s.serialNo);
}
int32_t Read(ClientLibrary& l, int32_t id, Product& p) {
    return l.GetProductProperties(id, p.number, p.name, p.tag, p.enabled, p.shortName, p.barcode,
                                  p.quickCode, p.price[0], p.price[1], p.price[2], p.price[3],
                                  p.group, p.added, p.updated);
}
int32_t Read(ClientLibrary& l, int32_t id, Attendant& a) {
    return l.GetAttendantProperties(id, a.number, a.name, a.shortName, a.password, a.tag,
                                    a.idNumber, a.shift[0], a.shift[1], a.shift[2], a.shift[3],
                                    a.type);
}
int32_t Read(ClientLibrary& l, int32_t id, Card& c) {
    return l.GetCardClientProperties(id, c.number, c.name, c.tag, c.enabled, c.priceLevel, c.plate,
                                     c.idNumber, c.shortName, c.password, c.gradeType, c.cardType,
                                     c.limitType, c.limit, c.entryType, c.expiration, c.parentID,
                                     c.odoSerialNo, c.odometer, c.factor);
}

std::string Text(const CStr& s) {
    return s.Narrow();
}

// A small site whose values differ from every value an older variant presets.
void WriteSite(ClientLibrary& l) {
    ASSERT_EQ(l.SetGradeProperties(1, 11, "Unleaded", "UNL", "U95", 3), 0);
    ASSERT_EQ(l.SetGradePrice(1, 1, 1.459), 0);
    ASSERT_EQ(l.SetTankProperties(1, 21, "Tank one", 1, 2, 10000, 2.5, 1, 2, 3, 4, 5, 6, 7, 8, 4, 2,
                                  15, 3, 2, 77),
              0);
    ASSERT_EQ(l.SetPumpProperties(1, 31, "Pump one", 1, 2, 3, 1, 2, 4, 10, 10, 4, 1, 0, 1, 2, 1, 0,
                                  2, 3, 0, 0),
              0);
    ASSERT_EQ(l.SetHoseProperties(1, 1, 1, 1, 1, 10.5, 20.5, 30.5, 40.5, 2, 1.1, 1.2, 1.3, 1.4, 0),
              0);
    ASSERT_EQ(l.SetSensorProperties(1, 41, "Sensor one", 1, 2, 3, 4, 3, 55), 0);
    ASSERT_EQ(
        l.SetProductProperties(1, 51, "Oil", "TAG1", 1, "OIL", "123456", 12, 5.5, 6.5, 7.5, 8.5, 2),
        0);
    ASSERT_EQ(
        l.SetAttendantProperties(1, 61, "Ann", "AN", "pw", "TAGA", "ID77", 60, 600, 600, 1200, 2),
        0);
    ASSERT_EQ(l.SetCardClientProperties(1, 71, "Fleet", "TAGC", 1, 2, "AB-123", "IDN", "SN", "PW",
                                        2, 2, 2, 50.0, 2, 45000.5, 9, "ODO1", 1234.5, 3),
              0);
}

// The server with the site written through the full library.
class SiteTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_server.Start());
        Binding full("libQVClient.so");
        ASSERT_TRUE(full->Load());
        ASSERT_EQ(full.Logon(m_server.Address()), 0);
        WriteSite(full.Lib());
    }
    // A logged-on binding over one build of the library.
    std::unique_ptr<Binding> Open(const char* lib) {
        auto b = std::make_unique<Binding>(lib);
        EXPECT_TRUE((*b)->Load());
        EXPECT_EQ(b->Logon(m_server.Address()), 0) << lib;
        return b;
    }
    Server m_server{NextAddress()};
};

} // namespace

TEST_F(SiteTest, FullLibraryReadsBackEveryField) {
    auto b = Open("libQVClient.so");
    ClientLibrary& l = b->Lib();
    const long bstrs = platform::LiveBstrCount();

    Grade g;
    ASSERT_EQ(Read(l, 1, g), 0);
    EXPECT_EQ(g.number, 11);
    EXPECT_EQ(Text(g.name), "Unleaded");
    EXPECT_EQ(Text(g.shortName), "UNL");
    EXPECT_EQ(Text(g.code), "U95");
    EXPECT_EQ(g.type, 3);
    double price = 0;
    EXPECT_EQ(l.GetGradePrice(1, 1, price), 0);
    EXPECT_DOUBLE_EQ(price, 1.459);

    Tank t;
    ASSERT_EQ(Read(l, 1, t), 0);
    EXPECT_EQ(t.number, 21);
    EXPECT_EQ(Text(t.name), "Tank one");
    EXPECT_EQ(t.gradeID, 1);
    EXPECT_EQ(t.type, 2);
    EXPECT_DOUBLE_EQ(t.capacity, 10000);
    EXPECT_DOUBLE_EQ(t.diameter, 2.5);
    EXPECT_EQ(t.gaugeID, 4);
    EXPECT_EQ(t.probeNo, 2);
    EXPECT_EQ(t.alarms, 15);
    EXPECT_EQ(t.slot, 3);
    EXPECT_EQ(t.probeType, 2);
    EXPECT_EQ(t.probeSerialNo, 77);

    Pump p;
    ASSERT_EQ(Read(l, 1, p), 0);
    EXPECT_EQ(p.number, 31);
    EXPECT_EQ(Text(p.name), "Pump one");
    EXPECT_EQ(p.physical, 1);
    EXPECT_EQ(p.side, 2);
    EXPECT_EQ(p.address, 3);
    EXPECT_EQ(p.level1, 1);
    EXPECT_EQ(p.level2, 2);
    EXPECT_EQ(p.priceFormat, 4);
    EXPECT_EQ(p.volumeFormat, 10);
    EXPECT_EQ(p.valueFormat, 10);
    EXPECT_EQ(p.type, 4);
    EXPECT_EQ(p.portID, 1);
    EXPECT_EQ(p.attendantID, 0);
    EXPECT_EQ(p.authMode, 1);
    EXPECT_EQ(p.stackMode, 2);
    EXPECT_EQ(p.prepay, 1);
    EXPECT_EQ(p.preauth, 0);
    EXPECT_EQ(p.slot, 2);
    EXPECT_EQ(p.muxSlot, 3);
    EXPECT_EQ(p.priceControl, 0);
    EXPECT_EQ(p.hasPreset, 0);

    int32_t hoses = 0, hoseID = 0;
    EXPECT_EQ(l.GetPumpHosesCount(1, hoses), 0);
    EXPECT_EQ(hoses, 1);
    EXPECT_EQ(l.GetPumpHoseByNumber(1, 1, hoseID), 0);
    EXPECT_EQ(hoseID, 1);
    Hose h;
    ASSERT_EQ(Read(l, 1, h), 0);
    EXPECT_EQ(h.number, 1);
    EXPECT_EQ(h.pumpID, 1);
    EXPECT_EQ(h.tankID, 1);
    EXPECT_EQ(h.physical, 1);
    EXPECT_DOUBLE_EQ(h.meters[0], 10.5);
    EXPECT_DOUBLE_EQ(h.meters[3], 40.5);
    EXPECT_EQ(h.antenna, 2);
    EXPECT_DOUBLE_EQ(h.price[0], 1.1);
    EXPECT_DOUBLE_EQ(h.price[1], 1.2);
    EXPECT_DOUBLE_EQ(h.price[2], 1.3);
    EXPECT_DOUBLE_EQ(h.price[3], 1.4);
    EXPECT_EQ(h.enabled, 0);

    Sensor s;
    ASSERT_EQ(Read(l, 1, s), 0);
    EXPECT_EQ(s.number, 41);
    EXPECT_EQ(Text(s.name), "Sensor one");
    EXPECT_EQ(s.portID, 1);
    EXPECT_EQ(s.type, 2);
    EXPECT_EQ(s.address, 3);
    EXPECT_EQ(s.sensorNo, 4);
    EXPECT_EQ(s.slot, 3);
    EXPECT_EQ(s.serialNo, 55);

    // Products are listed through the filter that selects all of them.
    const CStr any("");
    int32_t products = 0, productID = 0;
    EXPECT_EQ(l.GetProductsCount(-1, any, any, any, any, -1, products), 0);
    EXPECT_EQ(products, 1);
    EXPECT_EQ(l.GetProductByOrdinal(1, -1, any, any, any, any, -1, productID), 0);
    EXPECT_EQ(productID, 1);
    EXPECT_EQ(l.GetProductsCount(-1, any, any, "no such tag", any, -1, products), 0);
    EXPECT_EQ(products, 0);
    Product pr;
    ASSERT_EQ(Read(l, 1, pr), 0);
    EXPECT_EQ(pr.number, 51);
    EXPECT_EQ(Text(pr.name), "Oil");
    EXPECT_EQ(Text(pr.tag), "TAG1");
    EXPECT_EQ(pr.enabled, 1);
    EXPECT_EQ(Text(pr.shortName), "OIL");
    EXPECT_EQ(Text(pr.barcode), "123456");
    EXPECT_EQ(pr.quickCode, 12);
    EXPECT_DOUBLE_EQ(pr.price[0], 5.5);
    EXPECT_DOUBLE_EQ(pr.price[3], 8.5);
    EXPECT_EQ(pr.group, 2);
    EXPECT_GT(pr.added, 0);
    EXPECT_GT(pr.updated, 0);

    Attendant a;
    ASSERT_EQ(Read(l, 1, a), 0);
    EXPECT_EQ(a.number, 61);
    EXPECT_EQ(Text(a.name), "Ann");
    EXPECT_EQ(Text(a.shortName), "AN");
    EXPECT_EQ(Text(a.password), "pw");
    EXPECT_EQ(Text(a.tag), "TAGA");
    EXPECT_EQ(Text(a.idNumber), "ID77");
    EXPECT_EQ(a.shift[0], 60);
    EXPECT_EQ(a.shift[1], 600);
    EXPECT_EQ(a.shift[2], 600);
    EXPECT_EQ(a.shift[3], 1200);
    EXPECT_EQ(a.type, 2);

    Card c;
    ASSERT_EQ(Read(l, 1, c), 0);
    EXPECT_EQ(c.number, 71);
    EXPECT_EQ(Text(c.name), "Fleet");
    EXPECT_EQ(Text(c.tag), "TAGC");
    EXPECT_EQ(c.enabled, 1);
    EXPECT_EQ(c.priceLevel, 2);
    EXPECT_EQ(Text(c.plate), "AB-123");
    EXPECT_EQ(Text(c.idNumber), "IDN");
    EXPECT_EQ(Text(c.shortName), "SN");
    EXPECT_EQ(Text(c.password), "PW");
    EXPECT_EQ(c.gradeType, 2);
    EXPECT_EQ(c.cardType, 2);
    EXPECT_EQ(c.limitType, 2);
    EXPECT_DOUBLE_EQ(c.limit, 50.0);
    EXPECT_EQ(c.entryType, 2);
    EXPECT_DOUBLE_EQ(c.expiration, 45000.5);
    EXPECT_EQ(c.parentID, 9);
    EXPECT_EQ(Text(c.odoSerialNo), "ODO1");
    EXPECT_DOUBLE_EQ(c.odometer, 1234.5);
    EXPECT_EQ(c.factor, 3);

    // Every BSTR handed over went back.
    EXPECT_EQ(platform::LiveBstrCount(), bstrs);
}

TEST_F(SiteTest, PortsZigBeeDevicesAndNetworkSettings) {
    auto b = Open("libQVClient.so");
    ClientLibrary& l = b->Lib();
    const long bstrs = platform::LiveBstrCount();
    ASSERT_EQ(l.SetPortProperties(5, 8, "Radio", 3, 2, "SN-5"), 0);
    ASSERT_EQ(l.SetZigBeeProperties(6, 9, "Node", 4, "ZB-6", "NODE6", 5), 0);

    int32_t count = 0, id = 0, number = 0, portID = 0;
    CStr name(""), serialNo(""), nodeIdentifier("");
    int16_t protocolID = 0, deviceType = 0;
    EXPECT_EQ(l.GetPortsCount(count), 0);
    EXPECT_GE(count, 1);
    EXPECT_EQ(l.GetPortByOrdinal(count, id), 0);
    EXPECT_EQ(id, 5);
    EXPECT_EQ(l.GetPortProperties(5, number, name, protocolID, deviceType, serialNo), 0);
    EXPECT_EQ(number, 8);
    EXPECT_EQ(Text(name), "Radio");
    EXPECT_EQ(protocolID, 3);
    EXPECT_EQ(deviceType, 2);
    EXPECT_EQ(Text(serialNo), "SN-5");
    int32_t panID = -1, channels = -1;
    int64_t keyA = -1, keyB = -1;
    EXPECT_EQ(l.GetZB2GConfig(5, panID, channels, keyA, keyB), 0);

    EXPECT_EQ(l.GetZigBeeCount(count), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(l.GetZigBeeByOrdinal(1, id), 0);
    EXPECT_EQ(id, 6);
    EXPECT_EQ(l.GetZigBeeProperties(6, number, name, deviceType, serialNo, nodeIdentifier, portID),
              0);
    EXPECT_EQ(number, 9);
    EXPECT_EQ(Text(name), "Node");
    EXPECT_EQ(deviceType, 4);
    EXPECT_EQ(Text(serialNo), "ZB-6");
    EXPECT_EQ(Text(nodeIdentifier), "NODE6");
    EXPECT_EQ(portID, 5);

    CStr serial("keep"), boot("keep"), firmware("keep");
    const int32_t details = l.GetDeviceDetails(5, 6, serial, boot, firmware);
    if (details == 0)
        EXPECT_EQ(Text(serial), "ZB-6");
    else
        EXPECT_EQ(Text(serial), "keep"); // a failed call leaves the outputs as they were

    CStr ip(""), mask(""), gateway(""), dns(""), network("");
    int16_t dhcp = 7;
    EXPECT_EQ(l.GetTCPIPConfig(ip, mask, gateway, dns, dhcp, network), 0);
    EXPECT_TRUE(dhcp == 0 || dhcp == 1);
    EXPECT_EQ(platform::LiveBstrCount(), bstrs);
}

// Each getter through each older build: the fields the variant carries come from the server,
// the others are preset.
TEST_F(SiteTest, OlderPumpGetterPresetsTheNewerFields) {
    auto b = Open("libQVClientOlder1.so"); // no GetPumpPropertiesEx
    Pump p;
    ASSERT_EQ(Read(b->Lib(), 1, p), 0);
    EXPECT_EQ(Text(p.name), "Pump one");
    EXPECT_EQ(p.preauth, 0);
    EXPECT_EQ(p.slot, 1);
    EXPECT_EQ(p.muxSlot, -1);
    EXPECT_EQ(p.priceControl, 1);
    EXPECT_EQ(p.hasPreset, 1);
}

TEST_F(SiteTest, OlderGradeTankSensorGettersPresetTheNewerFields) {
    {
        auto b = Open("libQVClientOlder1.so");
        Grade g;
        ASSERT_EQ(Read(b->Lib(), 1, g), 0);
        EXPECT_EQ(Text(g.code), "U95");
        EXPECT_EQ(g.type, 1);
        Sensor s;
        ASSERT_EQ(Read(b->Lib(), 1, s), 0);
        EXPECT_EQ(s.sensorNo, 4);
        EXPECT_EQ(s.slot, -1);
        EXPECT_EQ(s.serialNo, 0);
        Tank t; // through GetTankPropertiesEx
        ASSERT_EQ(Read(b->Lib(), 1, t), 0);
        EXPECT_EQ(t.probeNo, 2);
        EXPECT_EQ(t.alarms, 15);
        EXPECT_EQ(t.slot, -1);
        EXPECT_EQ(t.probeType, -1);
        EXPECT_EQ(t.probeSerialNo, 1);
    }
    {
        auto b = Open("libQVClientOlder2.so");
        Tank t; // through the plain getter
        ASSERT_EQ(Read(b->Lib(), 1, t), 0);
        EXPECT_EQ(t.probeNo, 2);
        EXPECT_EQ(t.alarms, 0);
        EXPECT_EQ(t.slot, -1);
        EXPECT_EQ(t.probeType, -1);
        EXPECT_EQ(t.probeSerialNo, 1);
    }
}

TEST_F(SiteTest, OlderHoseGettersPresetPricesAndEnabled) {
    struct Row {
        const char* lib;
        int32_t result;
        double price[4];
        int16_t enabled;
    };
    const Row rows[] = {
        {"libQVClient.so", 0, {1.1, 1.2, 1.3, 1.4}, 0},
        {"libQVClientOlder1.so", 0, {1.1, 1.2, 0, 0}, 0},   // Ex2
        {"libQVClientOlder2.so", 0, {0, 0, 0, 0}, 1},       // Ex
        {"libQVClientOlder3.so", 65, {99, 99, 99, 99}, 99}, // none: nothing set
        {"libQVClientLegacy.so", 65, {99, 99, 99, 99}, 99},
    };
    for (const Row& row : rows) {
        auto b = Open(row.lib);
        Hose h;
        EXPECT_EQ(Read(b->Lib(), 1, h), row.result) << row.lib;
        for (int i = 0; i < 4; ++i)
            EXPECT_DOUBLE_EQ(h.price[i], row.price[i]) << row.lib << " price " << i + 1;
        EXPECT_EQ(h.enabled, row.enabled) << row.lib;
        if (row.result == 0) {
            EXPECT_EQ(h.antenna, 2) << row.lib;
            EXPECT_DOUBLE_EQ(h.meters[3], 40.5) << row.lib;
        }
    }
}

TEST_F(SiteTest, OlderProductAndAttendantGettersPresetTheNewerFields) {
    struct ProductRow {
        const char* lib;
        bool dates;
        int32_t quickCode;
        double price3, price4;
    };
    const ProductRow products[] = {
        {"libQVClient.so", true, 12, 7.5, 8.5},
        {"libQVClientOlder1.so", false, 12, 7.5, 8.5}, // Ex
        {"libQVClientOlder2.so", false, 0, 0, 0},      // plain
    };
    for (const ProductRow& row : products) {
        auto b = Open(row.lib);
        Product p;
        ASSERT_EQ(Read(b->Lib(), 1, p), 0) << row.lib;
        EXPECT_EQ(Text(p.barcode), "123456") << row.lib;
        EXPECT_DOUBLE_EQ(p.price[1], 6.5) << row.lib;
        EXPECT_EQ(p.group, 2) << row.lib;
        EXPECT_EQ(p.quickCode, row.quickCode) << row.lib;
        EXPECT_DOUBLE_EQ(p.price[2], row.price3) << row.lib;
        EXPECT_DOUBLE_EQ(p.price[3], row.price4) << row.lib;
        if (row.dates) {
            EXPECT_GT(p.added, 0);
        } else {
            EXPECT_EQ(p.added, 0) << row.lib;
            EXPECT_EQ(p.updated, 0) << row.lib;
        }
    }

    struct AttendantRow {
        const char* lib;
        const char* idNumber;
        int16_t shift[4];
        int16_t type;
    };
    const AttendantRow attendants[] = {
        {"libQVClient.so", "ID77", {60, 600, 600, 1200}, 2},
        {"libQVClientOlder1.so", "", {60, 600, 600, 1200}, 2}, // Ex
        {"libQVClientOlder2.so", "", {0, 1439, 0, 1439}, 1},   // plain
    };
    for (const AttendantRow& row : attendants) {
        auto b = Open(row.lib);
        Attendant a;
        ASSERT_EQ(Read(b->Lib(), 1, a), 0) << row.lib;
        EXPECT_EQ(Text(a.tag), "TAGA") << row.lib;
        EXPECT_EQ(Text(a.idNumber), row.idNumber) << row.lib;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(a.shift[i], row.shift[i]) << row.lib;
        EXPECT_EQ(a.type, row.type) << row.lib;
    }
}

TEST_F(SiteTest, OlderCardClientGettersPresetTheNewerFields) {
    struct Row {
        const char* lib;
        const char* plate;
        int16_t priceLevel;
        const char* idNumber; // also ShortName and Password when empty
        int16_t cardType;     // also GradeType, LimitType and EntryType
        double limit, expiration;
        int32_t parentID;
        const char* odoSerialNo;
        double odometer;
        int32_t factor;
    };
    const Row rows[] = {
        {"libQVClient.so", "AB-123", 2, "IDN", 2, 50, 45000.5, 9, "ODO1", 1234.5, 3},
        {"libQVClientOlder1.so", "AB-123", 2, "IDN", 2, 50, 45000.5, 9, "", 0, 0}, // Ex3
        {"libQVClientOlder2.so", "AB-123", 2, "", 2, 50, 45000.5, 9, "", 0, 0},    // Ex2
        {"libQVClientOlder3.so", "AB-123", 2, "", 1, 0, 0, -1, "", 0, 0},          // Ex
        {"libQVClientLegacy.so", "", 0, "", 1, 0, 0, -1, "", 0, 0},                // plain
    };
    for (const Row& row : rows) {
        auto b = Open(row.lib);
        Card c;
        ASSERT_EQ(Read(b->Lib(), 1, c), 0) << row.lib;
        EXPECT_EQ(Text(c.name), "Fleet") << row.lib;
        EXPECT_EQ(c.enabled, 1) << row.lib;
        EXPECT_EQ(Text(c.plate), row.plate) << row.lib;
        EXPECT_EQ(c.priceLevel, row.priceLevel) << row.lib;
        EXPECT_EQ(Text(c.idNumber), row.idNumber) << row.lib;
        if (*row.idNumber == '\0') {
            EXPECT_EQ(Text(c.shortName), "") << row.lib;
            EXPECT_EQ(Text(c.password), "") << row.lib;
        }
        EXPECT_EQ(c.cardType, row.cardType) << row.lib;
        EXPECT_EQ(c.gradeType, row.cardType) << row.lib;
        EXPECT_EQ(c.limitType, row.cardType) << row.lib;
        EXPECT_EQ(c.entryType, row.cardType) << row.lib;
        EXPECT_DOUBLE_EQ(c.limit, row.limit) << row.lib;
        EXPECT_DOUBLE_EQ(c.expiration, row.expiration) << row.lib;
        EXPECT_EQ(c.parentID, row.parentID) << row.lib;
        EXPECT_EQ(Text(c.odoSerialNo), row.odoSerialNo) << row.lib;
        EXPECT_DOUBLE_EQ(c.odometer, row.odometer) << row.lib;
        EXPECT_EQ(c.factor, row.factor) << row.lib;
    }
}

// Each setter through each older build: only the fields the variant carries change.
TEST_F(SiteTest, OlderPumpSetterKeepsTheNewerFields) {
    {
        auto b = Open("libQVClientNoSetPumpEx.so");
        EXPECT_EQ(b->Lib().SetPumpProperties(1, 32, "Renamed", 1, 2, 3, 1, 2, 4, 10, 10, 4, 1, 0, 1,
                                             2, 1, 1, 4, 4, 1, 1),
                  0);
        // The newer getter is still there and shows the fields the plain setter left alone.
        Pump p;
        ASSERT_EQ(Read(b->Lib(), 1, p), 0);
        EXPECT_EQ(p.number, 32);
        EXPECT_EQ(Text(p.name), "Renamed");
        EXPECT_EQ(p.preauth, 1);
        EXPECT_EQ(p.slot, 2);
        EXPECT_EQ(p.muxSlot, 3);
        EXPECT_EQ(p.priceControl, 0);
        EXPECT_EQ(p.hasPreset, 0);
    }
}

TEST_F(SiteTest, OlderSettersSendOnlyTheFieldsTheyCarry) {
    {
        auto b = Open("libQVClientOlder1.so");
        ClientLibrary& l = b->Lib();
        EXPECT_EQ(l.SetGradeProperties(1, 12, "Super", "SUP", "U98", 5), 0);
        EXPECT_EQ(l.SetTankProperties(1, 22, "Tank A", 1, 2, 9000, 2.5, 0, 0, 0, 0, 0, 0, 0, 0, 4,
                                      2, 7, 4, 3, 88),
                  0);
        EXPECT_EQ(
            l.SetHoseProperties(1, 1, 1, 1, 1, 10.5, 20.5, 30.5, 40.5, 2, 2.1, 2.2, 2.3, 2.4, 1),
            0);
        EXPECT_EQ(l.SetSensorProperties(1, 42, "Sensor A", 1, 2, 3, 4, 4, 66), 0);
        EXPECT_EQ(l.SetProductProperties(1, 52, "Oil A", "TAG1", 1, "OIL", "123456", 13, 5.5, 6.5,
                                         9.5, 9.5, 2),
                  0);
        EXPECT_EQ(
            l.SetAttendantProperties(1, 62, "Ann A", "AN", "pw", "TAGA", "ID88", 1, 2, 3, 4, 3), 0);
        EXPECT_EQ(l.SetCardClientProperties(1, 72, "Fleet A", "TAGC", 1, 2, "AB-123", "IDM", "SN",
                                            "PW", 2, 2, 2, 50.0, 2, 45000.5, 9, "ODO2", 1.5, 4),
                  0);
    }
    auto b = Open("libQVClient.so");
    ClientLibrary& l = b->Lib();
    Grade g;
    ASSERT_EQ(Read(l, 1, g), 0);
    EXPECT_EQ(Text(g.name), "Super");
    EXPECT_EQ(g.type, 3);
    Tank t;
    ASSERT_EQ(Read(l, 1, t), 0);
    EXPECT_EQ(Text(t.name), "Tank A");
    EXPECT_EQ(t.alarms, 7); // Ex carries the mask
    EXPECT_EQ(t.slot, 3);
    EXPECT_EQ(t.probeType, 2);
    EXPECT_EQ(t.probeSerialNo, 77);
    Hose h;
    ASSERT_EQ(Read(l, 1, h), 0);
    EXPECT_DOUBLE_EQ(h.price[0], 2.1); // Ex2 carries two prices and Enabled
    EXPECT_DOUBLE_EQ(h.price[1], 2.2);
    EXPECT_DOUBLE_EQ(h.price[2], 1.3);
    EXPECT_DOUBLE_EQ(h.price[3], 1.4);
    EXPECT_EQ(h.enabled, 1);
    Sensor s;
    ASSERT_EQ(Read(l, 1, s), 0);
    EXPECT_EQ(Text(s.name), "Sensor A");
    EXPECT_EQ(s.slot, 3);
    EXPECT_EQ(s.serialNo, 55);
    Product p; // the plain setter: no quick code, no third and fourth price
    ASSERT_EQ(Read(l, 1, p), 0);
    EXPECT_EQ(Text(p.name), "Oil A");
    EXPECT_EQ(p.quickCode, 12);
    EXPECT_DOUBLE_EQ(p.price[2], 7.5);
    Attendant a;
    ASSERT_EQ(Read(l, 1, a), 0);
    EXPECT_EQ(Text(a.name), "Ann A");
    EXPECT_EQ(Text(a.idNumber), "ID77");
    EXPECT_EQ(a.shift[0], 1);
    EXPECT_EQ(a.type, 3);
    Card c;
    ASSERT_EQ(Read(l, 1, c), 0);
    EXPECT_EQ(Text(c.name), "Fleet A");
    EXPECT_EQ(Text(c.idNumber), "IDM");
    EXPECT_EQ(Text(c.odoSerialNo), "ODO1");
    EXPECT_DOUBLE_EQ(c.odometer, 1234.5);
    EXPECT_EQ(c.factor, 3);
}

TEST_F(SiteTest, SettersWithoutAnyVariantAreMissing) {
    {
        auto b = Open("libQVClientOlder2.so");
        EXPECT_EQ(b->Lib().SetTankProperties(1, 22, "Tank A", 1, 2, 9000, 2.5, 0, 0, 0, 0, 0, 0, 0,
                                             0, 4, 2, 7, 4, 3, 88),
                  65);
        // Ex is the oldest hose setter; the plain attendant setter leaves the shifts alone.
        EXPECT_EQ(b->Lib().SetHoseProperties(1, 1, 1, 1, 1, 10.5, 20.5, 30.5, 40.5, 5, 3.1, 3.2,
                                             3.3, 3.4, 1),
                  0);
        EXPECT_EQ(b->Lib().SetAttendantProperties(1, 63, "Ann B", "AN", "pw", "TAGA", "ID99", 1, 2,
                                                  3, 4, 3),
                  0);
        EXPECT_EQ(b->Lib().SetCardClientProperties(1, 73, "Fleet B", "TAGC", 1, 3, "CD-456", "X",
                                                   "Y", "Z", 3, 3, 3, 1.0, 3, 1.0, 8, "O", 1, 1),
                  0);
    }
    {
        auto b = Open("libQVClientLegacy.so");
        EXPECT_EQ(b->Lib().SetCardClientProperties(1, 73, "Fleet B", "TAGC", 1, 3, "CD-456", "X",
                                                   "Y", "Z", 3, 3, 3, 1.0, 3, 1.0, 8, "O", 1, 1),
                  65);
        EXPECT_EQ(b->Lib().SetHoseProperties(1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1), 65);
    }
    {
        // The product setter needs the plain variant even when the newer one is there.
        auto b = Open("libQVClientNoPlainSetProduct.so");
        const long bstrs = platform::LiveBstrCount();
        EXPECT_EQ(b->Lib().SetProductProperties(1, 53, "Oil B", "TAG1", 1, "OIL", "123456", 14, 1,
                                                2, 3, 4, 2),
                  65);
        EXPECT_EQ(platform::LiveBstrCount(), bstrs);
    }
    auto b = Open("libQVClient.so");
    Hose h;
    ASSERT_EQ(Read(b->Lib(), 1, h), 0);
    EXPECT_EQ(h.antenna, 5);
    EXPECT_DOUBLE_EQ(h.price[0], 1.1);
    Attendant a;
    ASSERT_EQ(Read(b->Lib(), 1, a), 0);
    EXPECT_EQ(Text(a.name), "Ann B");
    EXPECT_EQ(a.shift[0], 60);
    EXPECT_EQ(a.type, 2);
    Card c; // through Ex2: no IDNumber, ShortName, Password, nothing after ParentID
    ASSERT_EQ(Read(b->Lib(), 1, c), 0);
    EXPECT_EQ(Text(c.plate), "CD-456");
    EXPECT_EQ(c.priceLevel, 3);
    EXPECT_EQ(Text(c.idNumber), "IDN");
    EXPECT_EQ(Text(c.password), "PW");
    EXPECT_EQ(c.cardType, 3);
    EXPECT_EQ(c.parentID, 8);
    EXPECT_EQ(Text(c.odoSerialNo), "ODO1");
    Product p;
    ASSERT_EQ(Read(b->Lib(), 1, p), 0);
    EXPECT_EQ(p.number, 51);
}
