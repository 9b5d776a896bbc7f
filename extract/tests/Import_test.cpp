// Configuration import against a live server simulator: section recognition, dependencies stored
// on demand, skip flags, console output, failure handling, the card-client loop guard and both
// forms of the expiration date. Each case is a small file in fixtures/import/.
#include "extract/Import.h"

#include <chrono>
#include <csignal>
#include <thread>

#include "extract/tests/TransferTestSupport.h"

namespace {

using namespace transfer_test;

// One device root for the whole test process, removed at its end.
DeviceRoot& Root() {
    static DeviceRoot root;
    return root;
}

class ImportTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { Root(); }

    // A fresh empty server on its own address; extra arguments such as "--fail".
    void StartServer(const std::vector<std::string>& extra = {}) {
        static int next = 1;
        const std::string address = "127.0.30." + std::to_string(10 + next++);
        std::vector<std::string> args = {"--seed", "empty"};
        args.insert(args.end(), extra.begin(), extra.end());
        ASSERT_TRUE(m_server.Start(address, Root().Path(), args)) << address;
        ASSERT_EQ(Logon(address), 0);
    }
    void TearDown() override {
        Logoff();
        m_server.Stop();
    }

    std::string Import(const std::string& fixture, bool noProducts = false,
                       bool noAttendants = false, bool noCardClients = false) {
        const std::string path = FixtureDir() + "/import/" + fixture;
        EXPECT_TRUE(FileExists(path)) << path;
        int code = -2;
        std::string out = Console([&] {
            ImportOptions options;
            options.noProducts = noProducts;
            options.noAttendants = noAttendants;
            options.noCardClients = noCardClients;
            code = ImportConfiguration(ToolLibrary(), path.c_str(), options);
        });
        EXPECT_EQ(code, 0);
        return out;
    }

    int32_t Count(int32_t (ClientLibrary::*count)(int32_t&)) {
        int32_t n = -1;
        EXPECT_EQ((ToolLibrary().*count)(n), 0);
        return n;
    }

    struct Hose {
        int32_t number = 0, pump = 0, tank = 0, physical = 0;
        int16_t reader = 0, enabled = 0;
        double prices[4] = {0, 0, 0, 0};
    };
    int32_t GetHose(int32_t id, Hose& h) {
        double meters[4];
        return ToolLibrary().GetHoseProperties(
            id, h.number, h.pump, h.tank, h.physical, meters[0], meters[1], meters[2], meters[3],
            h.reader, h.prices[0], h.prices[1], h.prices[2], h.prices[3], h.enabled);
    }

    struct Card {
        int32_t number = 0, parent = 0, factor = 0;
        CStr name, tag, plate, idNumber, shortName, password, odo;
        int16_t enabled = 0, priceLevel = 0, gradeType = 0, cardType = 0, limitType = 0,
                entryType = 0;
        double limit = 0, expiration = 0, odometer = 0;
    };
    int32_t GetCard(int32_t id, Card& c) {
        return ToolLibrary().GetCardClientProperties(
            id, c.number, c.name, c.tag, c.enabled, c.priceLevel, c.plate, c.idNumber, c.shortName,
            c.password, c.gradeType, c.cardType, c.limitType, c.limit, c.entryType, c.expiration,
            c.parent, c.odo, c.odometer, c.factor);
    }

    Server m_server;
};

TEST_F(ImportTest, GradeTankAndPumpAreStoredInDependencyOrder) {
    StartServer();
    const std::string out = Import("grade_tank_pump.ini");
    EXPECT_EQ(out, "\n  Grades .\n  Tanks .\n  Pumps *."
                   "  1 Grade imported successfully.\n"
                   "  1 Tank imported successfully.\n"
                   "  1 Pump imported successfully.\n"
                   "\nAll done.\n");
    EXPECT_EQ(Count(&ClientLibrary::GetGradesCount), 1);
    EXPECT_EQ(Count(&ClientLibrary::GetTanksCount), 1);
    EXPECT_EQ(Count(&ClientLibrary::GetPumpsCount), 1);
    double price = 0;
    EXPECT_EQ(ToolLibrary().GetGradePrice(1, 1, price), 0);
    EXPECT_DOUBLE_EQ(price, 1.459);
    int32_t hoses = 0, hoseID = 0;
    ASSERT_EQ(ToolLibrary().GetPumpHosesCount(1, hoses), 0);
    ASSERT_EQ(hoses, 1);
    ASSERT_EQ(ToolLibrary().GetPumpHoseByNumber(1, 1, hoseID), 0);
    EXPECT_EQ(hoseID, 11);
    Hose h;
    ASSERT_EQ(GetHose(11, h), 0);
    EXPECT_EQ(h.number, 1);
    EXPECT_EQ(h.pump, 1);
    EXPECT_EQ(h.tank, 1);
    EXPECT_DOUBLE_EQ(h.prices[0], 1.459);
    EXPECT_EQ(h.enabled, 1);
}

TEST_F(ImportTest, GradeNeededByAnEarlierTankIsStoredFirstAndCountedLater) {
    StartServer();
    const std::string out = Import("tank_before_grade.ini");
    EXPECT_EQ(out, "\n  Tanks .\n  Grades ."
                   "  1 Grade imported successfully.\n"
                   "  1 Tank imported successfully.\n"
                   "\nAll done.\n");
    int32_t number = 0;
    CStr name, shortName, code;
    int16_t type = 0;
    ASSERT_EQ(ToolLibrary().GetGradeProperties(3, number, name, shortName, code, type), 0);
    EXPECT_EQ(Narrow(name), "Diesel");
    EXPECT_EQ(type, 2);
}

TEST_F(ImportTest, HosesStopAtTheFirstGap) {
    StartServer();
    const std::string out = Import("hose_gap.ini");
    EXPECT_NE(out.find("\n  Pumps **."), std::string::npos) << out;
    int32_t hoses = 0;
    ASSERT_EQ(ToolLibrary().GetPumpHosesCount(1, hoses), 0);
    EXPECT_EQ(hoses, 2);
    Hose h;
    EXPECT_NE(GetHose(14, h), 0);
}

TEST_F(ImportTest, TankWhoseGradeCannotBeStoredIsNotStored) {
    StartServer();
    const std::string out = Import("tank_without_grade.ini");
    EXPECT_EQ(out, "\n  Tanks ..\nAll done.\n");
    EXPECT_EQ(Count(&ClientLibrary::GetTanksCount), 0);
}

TEST_F(ImportTest, HoseOnAMissingTankFailsThePumpAfterItsEarlierHoses) {
    StartServer();
    const std::string out = Import("hose_missing_tank.ini");
    EXPECT_EQ(out, "\n  Grades .\n  Tanks .\n  Pumps *."
                   "  1 Grade imported successfully.\n"
                   "  1 Tank imported successfully.\n"
                   "\nAll done.\n");
    EXPECT_EQ(Count(&ClientLibrary::GetPumpsCount), 1); // its properties stay stored
    int32_t hoses = 0;
    ASSERT_EQ(ToolLibrary().GetPumpHosesCount(1, hoses), 0);
    EXPECT_EQ(hoses, 1);
}

TEST_F(ImportTest, SkippedKindsAreCountedButNotStored) {
    StartServer();
    std::string out = Import("products.ini", true, false, false);
    EXPECT_EQ(out, "\n  Products ..  2 Products imported successfully.\n\nAll done.\n");
    const CStr any("");
    int32_t n = -1;
    ASSERT_EQ(ToolLibrary().GetProductsCount(-1, any, any, any, any, -1, n), 0);
    EXPECT_EQ(n, 0);

    out = Import("products.ini");
    EXPECT_EQ(out, "\n  Products ..  2 Products imported successfully.\n\nAll done.\n");
    ASSERT_EQ(ToolLibrary().GetProductsCount(-1, any, any, any, any, -1, n), 0);
    EXPECT_EQ(n, 2);
    int32_t number = 0, quickCode = 0, group = 0;
    CStr name, tag, shortName, barcode;
    int16_t enabled = 0;
    double p[4], d1, d2;
    ASSERT_EQ(ToolLibrary().GetProductProperties(1, number, name, tag, enabled, shortName, barcode,
                                                 quickCode, p[0], p[1], p[2], p[3], group, d1, d2),
              0);
    EXPECT_EQ(Narrow(barcode), "5000000000017");
    EXPECT_EQ(quickCode, 12);
    EXPECT_DOUBLE_EQ(p[1], 2.25);
    EXPECT_EQ(group, 3);
}

TEST_F(ImportTest, CardClientParentsAreStoredFirstByCardType) {
    StartServer();
    const std::string out = Import("card_parents.ini");
    // Client011's attendant has no section: it alone fails.
    EXPECT_EQ(out, "\n  Cards ....\n  Attendants .\n  Products ."
                   "  1 Product imported successfully.\n"
                   "  1 Attendant imported successfully.\n"
                   "  3 Cards imported successfully.\n"
                   "\nAll done.\n");
    Card c;
    ASSERT_EQ(GetCard(10, c), 0);
    EXPECT_EQ(c.parent, 3);
    EXPECT_EQ(c.factor, 1); // a missing Factor reads 0, stored as 1
    EXPECT_NE(GetCard(11, c), 0);
    EXPECT_EQ(GetCard(12, c), 0);
    EXPECT_EQ(GetCard(13, c), 0);
    EXPECT_EQ(Count(&ClientLibrary::GetAttendantsCount), 1);

    // With the card clients skipped, nothing is sent for them.
    StartServer();
    Import("card_parents.ini", false, false, true);
    EXPECT_EQ(Count(&ClientLibrary::GetCardClientsCount), 0);
}

TEST_F(ImportTest, AttendantTypeFallsBackToEnabled) {
    StartServer();
    Import("attendant_type.ini");
    int32_t number = 0;
    CStr name, shortName, password, tag, idNumber;
    int16_t aStart = 0, aEnd = 0, bStart = 0, bEnd = 0, type = 0;
    ASSERT_EQ(ToolLibrary().GetAttendantProperties(1, number, name, shortName, password, tag,
                                                   idNumber, aStart, aEnd, bStart, bEnd, type),
              0);
    EXPECT_EQ(type, 2);
    EXPECT_EQ(Narrow(idNumber), "77");
    EXPECT_EQ(aEnd, 840);
    EXPECT_EQ(bEnd, 1320);
    ASSERT_EQ(ToolLibrary().GetAttendantProperties(2, number, name, shortName, password, tag,
                                                   idNumber, aStart, aEnd, bStart, bEnd, type),
              0);
    EXPECT_EQ(type, 3);
}

TEST_F(ImportTest, RepeatedPortSectionAndTankGaugeSection) {
    StartServer();
    const std::string out = Import("pam_port.ini");
    // Port05 twice; TankGauge05 is taken for tank 5, which its own section then finds stored.
    EXPECT_EQ(out, "\n  Ports .\n  Tanks .\n  Ports .\n  Grades .\n  Tanks ."
                   "\n\n  2 Ports imported successfully.\n"
                   "  1 Grade imported successfully.\n"
                   "  2 Tanks imported successfully.\n"
                   "\nAll done.\n");
    int32_t number = 0;
    CStr name, serialNo;
    int16_t protocol = 0, deviceType = 0;
    ASSERT_EQ(ToolLibrary().GetPortProperties(5, number, name, protocol, deviceType, serialNo), 0);
    EXPECT_EQ(Narrow(name), "Gauge port");
    EXPECT_EQ(protocol, 7);
    EXPECT_EQ(Count(&ClientLibrary::GetTanksCount), 1);
}

TEST_F(ImportTest, GradePricesStopAtTheFirstMissingLevel) {
    StartServer();
    const std::string out = Import("grade_prices.ini");
    // Grade7 is read as Grade07, already stored: counted again without a second store.
    EXPECT_EQ(out, "\n  Grades ..  2 Grades imported successfully.\n\nAll done.\n");
    double price = -1;
    ASSERT_EQ(ToolLibrary().GetGradePrice(7, 1, price), 0);
    EXPECT_DOUBLE_EQ(price, 1.659);
    ASSERT_EQ(ToolLibrary().GetGradePrice(7, 3, price), 0);
    EXPECT_DOUBLE_EQ(price, 0);
    int32_t number = 0;
    CStr name, shortName, code;
    int16_t type = 0;
    ASSERT_EQ(ToolLibrary().GetGradeProperties(7, number, name, shortName, code, type), 0);
    EXPECT_EQ(Narrow(name), "Premium");
}

TEST_F(ImportTest, SectionsWithoutNumberOrKindAreSkipped) {
    StartServer();
    const std::string out = Import("names.ini");
    // Misc5 and pump03 have numbers but no kind: a dot each, no header.
    EXPECT_EQ(out, "..\n  Sensors .  1 Sensor imported successfully.\n\nAll done.\n");
    int32_t number = 0, port = 0, slot = 0, serial = 0;
    CStr name;
    int16_t type = 0, address = 0, sensorNo = 0;
    ASSERT_EQ(ToolLibrary().GetSensorProperties(2, number, name, port, type, address, sensorNo,
                                                slot, serial),
              0);
    EXPECT_EQ(sensorNo, 5);
    EXPECT_EQ(serial, 1234);
}

TEST_F(ImportTest, RealsAreRoundedToFourDecimals) {
    StartServer();
    Import("reals.ini");
    int32_t number, grade, gauge, alarms, slot, probeSerial;
    CStr name;
    int16_t type, probe, probeType;
    double capacity = 0, diameter = -1, r[8];
    ASSERT_EQ(ToolLibrary().GetTankProperties(1, number, name, grade, type, capacity, diameter,
                                              r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], gauge,
                                              probe, alarms, slot, probeType, probeSerial),
              0);
    EXPECT_DOUBLE_EQ(capacity, 12.3457);
    EXPECT_DOUBLE_EQ(diameter, 0);
    double price = 0;
    ASSERT_EQ(ToolLibrary().GetGradePrice(1, 1, price), 0);
    EXPECT_DOUBLE_EQ(price, 1.2346);
}

TEST_F(ImportTest, LoopingCardClientParentsEnd) {
    StartServer();
    const std::string out = Import("client_loop.ini");
    EXPECT_NE(out.find("\nAll done.\n"), std::string::npos);
    // The server refuses a card whose parent is not stored yet, so the clients of a loop cannot
    // be stored; the rest of the file is imported.
    Card c;
    EXPECT_EQ(GetCard(4, c), 0);
    ASSERT_EQ(GetCard(5, c), 0);
    EXPECT_EQ(c.parent, 4);
    EXPECT_NE(out.find("  2 Cards imported successfully.\n"), std::string::npos) << out;

    // Skipped, the loop is only read: every card counts.
    StartServer();
    const std::string skipped = Import("client_loop.ini", false, false, true);
    EXPECT_NE(skipped.find("  5 Cards imported successfully.\n"), std::string::npos) << skipped;
}

TEST_F(ImportTest, ExpirationDateIsReadAsDayNumberOrDateText) {
    StartServer();
    Import("expiration.ini");
    Card c;
    ASSERT_EQ(GetCard(1, c), 0);
    EXPECT_DOUBLE_EQ(c.expiration, 46023.5);
    ASSERT_EQ(GetCard(2, c), 0);
    EXPECT_DOUBLE_EQ(c.expiration, 46023.5);
    ASSERT_EQ(GetCard(3, c), 0);
    EXPECT_DOUBLE_EQ(c.expiration, 0);
    ASSERT_EQ(GetCard(4, c), 0);
    EXPECT_DOUBLE_EQ(c.expiration, 0);
    ASSERT_EQ(GetCard(5, c), 0);
    EXPECT_DOUBLE_EQ(c.expiration, 0);
    EXPECT_EQ(c.factor, 1);
    EXPECT_DOUBLE_EQ(c.limit, 150.1235);
    EXPECT_DOUBLE_EQ(c.odometer, 12345.6);
}

// A file that cannot be read is not an empty configuration: reported with its path and the
// reason, -1.
TEST_F(ImportTest, UnreadableFileIsReportedAsAFailure) {
    StartServer();
    const std::string missing = Root().File("no-such-file.ini");
    const std::string folder = Root().Path();
    const std::pair<std::string, const char*> cases[] = {{missing, "no such file"},
                                                         {folder, "is a folder"}};
    for (const auto& [path, reason] : cases) {
        const std::string out = Console([&] {
            EXPECT_EQ(ImportConfiguration(ToolLibrary(), path.c_str(), ImportOptions()), -1);
        });
        EXPECT_EQ(out, "Configuration file " + path + " cannot be read: " + reason + ".\n");
    }
    EXPECT_FALSE(FileExists(missing)); // the import only reads
}

TEST_F(ImportTest, FailingCallIsReportedAndTheWalkGoesOn) {
    StartServer({"--fail", "SetPumpProperties:1"});
    const std::string out = Import("grade_tank_pump.ini");
    EXPECT_NE(out.find("SetPumpProperties failed. - "), std::string::npos) << out;
    EXPECT_EQ(out.find("Pump imported"), std::string::npos) << out;
    EXPECT_NE(out.find("  1 Tank imported successfully.\n"), std::string::npos) << out;
    EXPECT_EQ(Count(&ClientLibrary::GetPumpsCount), 0);
}

} // namespace

namespace {

TEST_F(ImportTest, PumpWhoseThirdHoseFailsKeepsItsFirstTwo) {
    StartServer({"--fail", "SetHoseProperties:3"});
    const std::string out = Import("three_hoses.ini");
    EXPECT_NE(out.find("\n  Pumps **SetHoseProperties failed. - "), std::string::npos) << out;
    EXPECT_NE(out.find("  1 Pump imported successfully.\n"), std::string::npos) << out;
    int32_t hoses = 0;
    ASSERT_EQ(ToolLibrary().GetPumpHosesCount(1, hoses), 0);
    EXPECT_EQ(hoses, 2);
    ASSERT_EQ(ToolLibrary().GetPumpHosesCount(2, hoses), 0);
    EXPECT_EQ(hoses, 1);
    int32_t number = 0;
    CStr name;
    int16_t s16[15];
    int32_t s32[4];
    ASSERT_EQ(ToolLibrary().GetPumpProperties(1, number, name, s16[0], s16[1], s16[2], s16[3],
                                              s16[4], s16[5], s16[6], s16[7], s16[8], s32[0],
                                              s32[1], s16[9], s16[10], s16[11], s16[12], s32[2],
                                              s32[3], s16[13], s16[14]),
              0);
    EXPECT_EQ(Narrow(name), "Pump one");
}

} // namespace

namespace {

std::string CardClients(int n) {
    std::string text;
    char id[16];
    for (int c = 1; c <= n; ++c) {
        std::snprintf(id, sizeof id, "%03d", c);
        text += std::string("\r\n[Client") + id + "]\r\nNumber=" + std::to_string(c) +
                "\r\nName=Client " + std::to_string(c) + "\r\nEnabled=1\r\nCardType=1\r\n";
    }
    return text;
}

std::string ImportFile(const std::string& path, int& code) {
    return Console(
        [&] { code = ImportConfiguration(ToolLibrary(), path.c_str(), ImportOptions()); });
}

} // namespace

// Reals pass through fixed point: beyond its range a value is refused with the record, reported
// on the import line; the largest values within it are stored.
TEST_F(ImportTest, RealBeyondTheFixedPointRangeIsRefused) {
    StartServer();
    const std::string path = Root().File("capacity.ini");
    WriteFile(path, "[Grade01]\r\nNumber=1\r\nName=Diesel\r\n"
                    "[Tank01]\r\nNumber=1\r\nGrade=1\r\nCapacity=1000000000000000\r\n"
                    "[Tank02]\r\nNumber=2\r\nGrade=1\r\nCapacity=922337203685477\r\n"
                    "[Tank03]\r\nNumber=3\r\nGrade=1\r\nDiameter=-1e15\r\n"
                    "[Product001]\r\nNumber=1\r\nPrice2=99999999999999999999999999999\r\n");
    int code = 0;
    const std::string out = ImportFile(path, code);
    EXPECT_EQ(code, 0);
    EXPECT_NE(out.find("Tank01 Capacity out of range - 1000000000000000.\n"), std::string::npos)
        << out;
    EXPECT_NE(out.find("Product001 Price2 out of range - 99999999999999999999999999999.\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("  2 Tanks imported successfully.\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("Product imported"), std::string::npos) << out;
    EXPECT_EQ(Count(&ClientLibrary::GetTanksCount), 2);
    const CStr any("");
    int32_t products = -1;
    ASSERT_EQ(ToolLibrary().GetProductsCount(-1, any, any, any, any, -1, products), 0);
    EXPECT_EQ(products, 0);

    int32_t number = 0, grade = 0, gauge = 0, alarms = 0, slot = 0, serial = 0;
    CStr name;
    int16_t type = 0, probe = 0, probeType = 0;
    double capacity = 0, diameter = 0, g[8];
    ASSERT_EQ(ToolLibrary().GetTankProperties(2, number, name, grade, type, capacity, diameter,
                                              g[0], g[1], g[2], g[3], g[4], g[5], g[6], g[7], gauge,
                                              probe, alarms, slot, probeType, serial),
              0);
    EXPECT_DOUBLE_EQ(capacity, 922337203685477.0);
}

// Once the connection is broken every later call fails too: the walk stops at the first such
// call with one report, and the run fails.
TEST_F(ImportTest, BrokenConnectionStopsTheWalk) {
    StartServer({"--fail", "SetCardClientProperties:3:-14"});
    const std::string path = Root().File("clients.ini");
    WriteFile(path, CardClients(10));
    int code = 0;
    const std::string out = ImportFile(path, code);
    EXPECT_EQ(code, -1);
    EXPECT_EQ(CountOf(out, "failed."), 1) << out;
    EXPECT_NE(out.find("\n  Cards ..SetCardClientProperties failed. - "), std::string::npos) << out;
    EXPECT_NE(out.find("  2 Cards imported successfully.\n\nImport stopped - Connection to the "
                       "server broken.\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("All done."), std::string::npos) << out;
    EXPECT_TRUE(ToolLibrary().ConnectionBroken());
    int32_t count = 0;
    EXPECT_EQ(ToolLibrary().GetCardClientsCount(count), ClientLibrary::kConnectionBroken);
    // A new logon has a connection of its own.
    ASSERT_EQ(Logon(m_server.Address()), 0);
    EXPECT_FALSE(ToolLibrary().ConnectionBroken());
    EXPECT_EQ(ToolLibrary().GetCardClientsCount(count), 0);
    EXPECT_EQ(count, 2);
}

TEST_F(ImportTest, ServerKilledDuringALargeImport) {
    StartServer();
    const std::string path = Root().File("many-clients.ini");
    WriteFile(path, CardClients(20000));
    std::thread killer([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        m_server.Stop(SIGKILL);
    });
    int code = 0;
    const std::string out = ImportFile(path, code);
    killer.join();
    EXPECT_EQ(code, -1);
    EXPECT_LE(CountOf(out, "failed."), 1) << out.substr(out.size() > 2000 ? out.size() - 2000 : 0);
    EXPECT_NE(out.find("Import stopped - Connection to the server broken.\n"), std::string::npos);
    EXPECT_EQ(out.find("All done."), std::string::npos);
    EXPECT_LT(CountOf(out, "."), 20000); // the walk did not go on to the end of the file
}
