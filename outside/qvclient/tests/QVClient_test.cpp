// The client library against a real server on 127.0.10.1 .. 127.0.10.9: logons, walks of the
// demo site, setters, ownership of texts, concurrent clients and a server that dies.
#include "outside/qvclient/QVClient.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "outside/qvclient/tests/ServerProcess.h"

using namespace qvtest;

namespace {

class DemoSite : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_dir = new TempDir;
        s_server = new ServerProcess("127.0.10.1", s_dir->Path());
        ASSERT_TRUE(s_server->Start("demo"));
    }
    static void TearDownTestSuite() {
        delete s_server;
        delete s_dir;
    }
    void SetUp() override {
        m_h = Logon("127.0.10.1");
        ASSERT_NE(m_h, 0);
    }
    void TearDown() override {
        if (m_h) ClientLogoffMT(&m_h);
    }
    static TempDir* s_dir;
    static ServerProcess* s_server;
    int32_t m_h = 0;
};
TempDir* DemoSite::s_dir = nullptr;
ServerProcess* DemoSite::s_server = nullptr;

TEST(Logon, AllThreeFormsAndLogoffClearsTheHandle) {
    TempDir dir;
    ServerProcess server("127.0.10.2", dir.Path());
    ASSERT_TRUE(server.Start("empty"));

    int32_t r = 0;
    int32_t h1 = Logon("127.0.10.2", &r);
    EXPECT_EQ(r, 0);
    EXPECT_GT(h1, 0);

    int32_t h2 = 0;
    BSTR host = Bstr("127.0.10.2");
    EXPECT_EQ(ClientLogonExMT(&h2, 8, 5, host, 5123, 5124, 3000, 0, 0, 1024), 0);
    platform::SysFreeString(host);
    EXPECT_GT(h2, 0);
    EXPECT_NE(h1, h2);

    setenv("QV_CLIENT_SERVER", "127.0.10.2", 1);
    int32_t h3 = 0;
    EXPECT_EQ(ClientLogonMT(&h3, 9, 5, -1, 0, 1024), 0);
    unsetenv("QV_CLIENT_SERVER");

    for (int32_t* h : {&h1, &h2, &h3}) {
        Out version;
        EXPECT_EQ(ServerVersionMT(*h, &version), 0);
        EXPECT_EQ(version.str(), "QVServer 5.1.3.0");
        EXPECT_EQ(SetClientTypeMT(*h, 0x3B7D16E5), 0);
        const int32_t old = *h;
        EXPECT_EQ(ClientLogoffMT(h), 0);
        EXPECT_EQ(*h, 0);
        int32_t count = 0;
        EXPECT_EQ(GetPortsCountMT(old, &count), QV_NOT_LOGGED_ON);
    }
}

TEST(Logon, UnreachableOrUnknownServerFailsQuickly) {
    const auto start = std::chrono::steady_clock::now();
    int32_t r = 0;
    EXPECT_EQ(Logon("127.0.10.3", &r), 0); // nothing listens there
    EXPECT_EQ(r, QV_CANNOT_CONNECT);
    EXPECT_EQ(Logon("no-such-host.invalid", &r), 0);
    EXPECT_EQ(r, QV_SERVER_NOT_FOUND);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));

    int32_t h = 0;
    BSTR host = Bstr("127.0.10.3");
    EXPECT_EQ(ClientLogonExMT(&h, 1, 5, host, 0, 5124, 1000, 0, 0, 0), QV_INVALID_ARGUMENT);
    platform::SysFreeString(host);
    EXPECT_EQ(h, 0);
}

TEST(Logon, UnknownHandlesAnswerNotLoggedOn) {
    int32_t count = -1;
    for (int32_t h : {0, -1, 5, 64, 65, 100000})
        EXPECT_EQ(GetPortsCountMT(h, &count), 8) << h;
    EXPECT_EQ(count, -1);
    int32_t h = 12;
    EXPECT_EQ(ClientLogoffMT(&h), 8);
    EXPECT_EQ(h, 12);
}

TEST(Texts, ResultStringAndDllVersionGiveNewBstrs) {
    const struct {
        int32_t code;
        const char* text;
    } rows[] = {{0, "Success"},
                {8, "Not logged on"},
                {65, "Function missing"},
                {-14, "Connection to the server broken"},
                {3, "Unknown ID"},
                {2, "Invalid argument"},
                {5, "Function not supported by this server"},
                {-23, "Call timed out"},
                {4242, "Unknown result 4242"}};
    for (const auto& row : rows) {
        BSTR t = ResultString(row.code);
        EXPECT_EQ(Text(t), row.text);
        platform::SysFreeString(t);
    }
    Out v;
    v.b = Bstr("old text that the library must free");
    EXPECT_EQ(DllVersion(&v), 0);
    EXPECT_EQ(v.str(), "QVClient 4.2.7.0");
}

TEST_F(DemoSite, PortsWithRadioAndDeviceDetails) {
    int32_t count = 0;
    ASSERT_EQ(GetPortsCountMT(m_h, &count), 0);
    ASSERT_EQ(count, 3);
    int32_t radios = 0;
    for (int32_t o = 1; o <= count; ++o) {
        int32_t id = 0, number = 0, pan = 0, channels = 0;
        int16_t protocol = 0, type = 0;
        int64_t a = 0, b = 0;
        Out name, serial, dev, boot, fw;
        ASSERT_EQ(GetPortByOrdinalMT(m_h, o, &id), 0);
        EXPECT_EQ(id, o); // ordinals follow IDs
        ASSERT_EQ(GetPortPropertiesMT(m_h, id, &number, &name, &protocol, &type, &serial), 0);
        EXPECT_FALSE(name.str().empty());
        ASSERT_EQ(GetZB2GConfigMT(m_h, id, &pan, &channels, &a, &b), 0);
        if (pan != 0) {
            ++radios;
            EXPECT_EQ(channels & ~0x07FFF800, 0); // only bits 11..26
            EXPECT_NE(channels, 0);
            EXPECT_NE(a, 0);
        }
        ASSERT_EQ(GetDeviceDetailsMT(m_h, id, -1, &dev, &boot, &fw), 0);
        EXPECT_EQ(dev.str(), serial.str());
        EXPECT_FALSE(fw.str().empty());
    }
    EXPECT_EQ(radios, 1);
    int32_t id = 0;
    EXPECT_EQ(GetPortByOrdinalMT(m_h, 4, &id), QV_INVALID_ORDINAL);
    EXPECT_EQ(GetPortByOrdinalMT(m_h, 0, &id), QV_INVALID_ORDINAL);
    int32_t pan, ch;
    int64_t a, b;
    EXPECT_EQ(GetZB2GConfigMT(m_h, 99, &pan, &ch, &a, &b), QV_UNKNOWN_ID);
}

TEST_F(DemoSite, ZigBeeDevicesBelongToTheirPort) {
    int32_t count = 0;
    ASSERT_EQ(GetZigBeeCountMT(m_h, &count), 0);
    ASSERT_EQ(count, 3);
    for (int32_t o = 1; o <= count; ++o) {
        int32_t id = 0, number = 0, port = 0;
        int16_t type = 0;
        Out name, serial, node, dev, boot, fw;
        ASSERT_EQ(GetZigBeeByOrdinalMT(m_h, o, &id), 0);
        EXPECT_GE(id, 5);
        ASSERT_EQ(GetZigBeePropertiesMT(m_h, id, &number, &name, &type, &serial, &node, &port), 0);
        ASSERT_EQ(GetDeviceDetailsMT(m_h, port, id, &dev, &boot, &fw), 0);
        EXPECT_EQ(dev.str(), serial.str());
        EXPECT_EQ(GetDeviceDetailsMT(m_h, port == 1 ? 3 : 1, id, &dev, &boot, &fw), QV_UNKNOWN_ID);
    }
}

TEST_F(DemoSite, GradesHaveConsecutivePricesFromLevelOne) {
    int32_t count = 0;
    ASSERT_EQ(GetGradesCountMT(m_h, &count), 0);
    ASSERT_EQ(count, 4);
    for (int32_t o = 1; o <= count; ++o) {
        int32_t id = 0, number = 0;
        int16_t type = 0;
        Out name, shortName, code;
        ASSERT_EQ(GetGradeByOrdinalMT(m_h, o, &id), 0);
        ASSERT_EQ(GetGradePropertiesExMT(m_h, id, &number, &name, &shortName, &code, &type), 0);
        bool gap = false;
        int levels = 0;
        for (int16_t level = 1; level <= 8; ++level) {
            double price = -1;
            ASSERT_EQ(GetGradePriceMT(m_h, id, level, &price), 0);
            if (price == 0)
                gap = true;
            else {
                EXPECT_FALSE(gap) << "price after a gap in grade " << id;
                ++levels;
            }
        }
        EXPECT_GE(levels, 1);
    }
    double price;
    EXPECT_EQ(GetGradePriceMT(m_h, 1, 9, &price), QV_INVALID_ARGUMENT);
    EXPECT_EQ(GetGradePriceMT(m_h, 1, 0, &price), QV_INVALID_ARGUMENT);
}

TEST_F(DemoSite, PumpsWithHosesOnExistingTanks) {
    int32_t pumps = 0, tanks = 0;
    ASSERT_EQ(GetPumpsCountMT(m_h, &pumps), 0);
    ASSERT_EQ(GetTanksCountMT(m_h, &tanks), 0);
    EXPECT_EQ(tanks, 4);
    ASSERT_EQ(pumps, 4);
    int totalHoses = 0;
    for (int32_t o = 1; o <= pumps; ++o) {
        int32_t id = 0, number, port, att, slot, mux;
        int16_t phys, side, addr, pl1, pl2, pf, vf, valf, type, auth, stack, prepay, preauth, pc,
            preset;
        Out name;
        ASSERT_EQ(GetPumpByOrdinalMT(m_h, o, &id), 0);
        ASSERT_EQ(GetPumpPropertiesExMT(m_h, id, &number, &name, &phys, &side, &addr, &pl1, &pl2,
                                        &pf, &vf, &valf, &type, &port, &att, &auth, &stack, &prepay,
                                        &preauth, &slot, &mux, &pc, &preset),
                  0);
        int32_t hoses = 0;
        ASSERT_EQ(GetPumpHosesCountMT(m_h, id, &hoses), 0);
        ASSERT_GE(hoses, 1);
        for (int32_t n = 1; n <= hoses; ++n) {
            int32_t hose = 0, hn, pump, tank, hphys;
            double tv, tvol, ev, evol, p1, p2, p3, p4;
            int16_t uve, enabled;
            ASSERT_EQ(GetPumpHoseByNumberMT(m_h, id, n, &hose), 0);
            ASSERT_EQ(GetHosePropertiesEx3MT(m_h, hose, &hn, &pump, &tank, &hphys, &tv, &tvol, &ev,
                                             &evol, &uve, &p1, &p2, &p3, &p4, &enabled),
                      0);
            EXPECT_EQ(hn, n);
            EXPECT_EQ(pump, id);
            Out tname;
            int32_t tnumber, grade;
            int16_t ttype;
            double cap, dia, g[8];
            int32_t gauge;
            int16_t probe;
            EXPECT_EQ(GetTankPropertiesMT(m_h, tank, &tnumber, &tname, &grade, &ttype, &cap, &dia,
                                          &g[0], &g[1], &g[2], &g[3], &g[4], &g[5], &g[6], &g[7],
                                          &gauge, &probe),
                      0);
            ++totalHoses;
        }
        int32_t none;
        EXPECT_EQ(GetPumpHoseByNumberMT(m_h, id, hoses + 1, &none), QV_UNKNOWN_ID);
    }
    int32_t hosesCount = 0;
    ASSERT_EQ(GetHosesCountMT(m_h, &hosesCount), 0);
    EXPECT_EQ(hosesCount, totalHoses);
}

TEST_F(DemoSite, SensorsAttendantsAndCardClientParents) {
    int32_t sensors = 0, attendants = 0, cards = 0;
    ASSERT_EQ(GetSensorsCountMT(m_h, &sensors), 0);
    EXPECT_EQ(sensors, 3);
    for (int32_t o = 1; o <= sensors; ++o) {
        int32_t id, number, port, slot, serial;
        int16_t type, addr, no;
        Out name;
        ASSERT_EQ(GetSensorByOrdinalMT(m_h, o, &id), 0);
        ASSERT_EQ(GetSensorPropertiesExMT(m_h, id, &number, &name, &port, &type, &addr, &no, &slot,
                                          &serial),
                  0);
    }
    ASSERT_EQ(GetAttendantsCountMT(m_h, &attendants), 0);
    EXPECT_EQ(attendants, 4);
    for (int32_t o = 1; o <= attendants; ++o) {
        int32_t id, number;
        int16_t a1, a2, b1, b2, type = 0;
        Out name, shortName, password, tag, idn;
        ASSERT_EQ(GetAttendantByOrdinalMT(m_h, o, &id), 0);
        ASSERT_EQ(GetAttendantPropertiesEx2MT(m_h, id, &number, &name, &shortName, &password, &tag,
                                              &idn, &a1, &a2, &b1, &b2, &type),
                  0);
        EXPECT_GT(type, 0);
    }
    ASSERT_EQ(GetCardClientsCountMT(m_h, &cards), 0);
    ASSERT_EQ(cards, 8);
    bool seen[9] = {};
    for (int32_t o = 1; o <= cards; ++o) {
        int32_t id, number, parent, factor;
        int16_t enabled, pl, gt, ct, lt, et;
        double limit, expiry, odo;
        Out name, tag, plate, idn, sn, pw, odoSerial;
        ASSERT_EQ(GetCardClientByOrdinalMT(m_h, o, &id), 0);
        ASSERT_EQ(GetCardClientPropertiesEx4MT(m_h, id, &number, &name, &tag, &enabled, &pl, &plate,
                                               &idn, &sn, &pw, &gt, &ct, &lt, &limit, &et, &expiry,
                                               &parent, &odoSerial, &odo, &factor),
                  0);
        seen[ct] = true;
        EXPECT_NE(factor, 0);
        EXPECT_EQ(expiry, static_cast<int>(expiry)); // whole days
        int32_t count = 0;
        if (ct == 4 || ct == 6) {
            EXPECT_EQ(GetCardClientPropertiesMT(m_h, parent, &count, &name, &tag, &enabled), 0);
        }
        if (ct == 5) {
            EXPECT_EQ(GetAttendantPropertiesMT(m_h, parent, &count, &name, &sn, &pw, &tag), 0);
        }
        if (ct == 7 || ct == 8) {
            double p1, p2;
            EXPECT_EQ(GetProductPropertiesMT(m_h, parent, &count, &name, &tag, &enabled, &sn,
                                             &plate, &p1, &p2, &factor),
                      0);
        }
    }
    for (int t : {4, 5, 6, 7, 8})
        EXPECT_TRUE(seen[t]) << "card type " << t;
}

TEST_F(DemoSite, ProductFilterSelectsAllOrFilters) {
    BSTR empty = Bstr(""), oil = Bstr("OIL"), barcode = Bstr("2000000000022");
    int32_t all = 0, some = 0, one = 0, group = 0, id = 0;
    ASSERT_EQ(GetProductsCountMT(m_h, -1, empty, empty, empty, empty, -1, &all), 0);
    EXPECT_EQ(all, 6);
    ASSERT_EQ(GetProductsCountMT(m_h, -1, oil, empty, empty, empty, -1, &some), 0);
    EXPECT_EQ(some, 1); // "Engine oil 5W30 1L", case ignored
    ASSERT_EQ(GetProductsCountMT(m_h, -1, empty, empty, empty, barcode, -1, &one), 0);
    EXPECT_EQ(one, 1);
    ASSERT_EQ(GetProductByOrdinalMT(m_h, -1, empty, empty, empty, barcode, -1, 1, &id), 0);
    EXPECT_EQ(id, 5);
    ASSERT_EQ(GetProductsCountMT(m_h, -1, empty, empty, empty, empty, 3, &group), 0);
    EXPECT_EQ(group, 2);
    ASSERT_EQ(GetProductByOrdinalMT(m_h, -1, empty, empty, empty, empty, 3, 2, &id), 0);
    EXPECT_EQ(id, 6);
    EXPECT_EQ(GetProductByOrdinalMT(m_h, -1, empty, empty, empty, empty, 3, 3, &id),
              QV_INVALID_ORDINAL);
    for (BSTR b : {empty, oil, barcode})
        platform::SysFreeString(b);
}

TEST_F(DemoSite, NetworkSettingsAreTheServersStoredOnes) {
    Out ip, mask, gw, dns, net;
    int16_t dhcp = -1;
    ASSERT_EQ(GetTCPIPConfigMT(m_h, &ip, &mask, &gw, &dns, &dhcp, &net), 0);
    EXPECT_EQ(ip.str(), "192.168.1.50");
    EXPECT_EQ(net.str(), "FORECOURT-01");
    EXPECT_EQ(dhcp, 0);
}

TEST_F(DemoSite, PumpControlGoesToTheForecourtAndTheWatchdogIsRefusedHonestly) {
    EXPECT_EQ(AuthoriseMT(m_h, 1), 0);
    EXPECT_EQ(AuthoriseMT(m_h, 99), QV_UNKNOWN_ID);
    EXPECT_EQ(AllStopMT(m_h), 0);
    EXPECT_EQ(WDResetMT(m_h), QV_NOT_SUPPORTED);
    int16_t available = -1;
    BSTR name = Bstr("WDReset");
    EXPECT_EQ(CheckForManagementFtnMT(m_h, name, &available), 0);
    EXPECT_EQ(available, 0);
    platform::SysFreeString(name);
    name = Bstr("Authorise");
    EXPECT_EQ(CheckForManagementFtnMT(m_h, name, &available), 0);
    EXPECT_EQ(available, 1);
    platform::SysFreeString(name);
    name = Bstr("GetPumpPropertiesEx");
    EXPECT_EQ(CheckForManagementFtnMT(m_h, name, &available), 0);
    EXPECT_EQ(available, 1);
    platform::SysFreeString(name);
}

TEST_F(DemoSite, DeliveriesLogEventsAndEvents) {
    int32_t notLogged = 0;
    ASSERT_EQ(GetDeliveriesCountNotLoggedMT(m_h, &notLogged), 0);
    EXPECT_GT(notLogged, 0);
    int32_t id = 0;
    ASSERT_EQ(ExternalStartDeliveryMT(m_h, 1, 1, &id), 0);
    ASSERT_EQ(ExternalEndDeliveryMT(m_h, id, 20.0, 36.98), 0);
    BSTR desc = Bstr("Probe fault");
    int32_t logID = 0;
    ASSERT_EQ(AddLogEventMT(m_h, 2, 1, 3, 7, desc, &logID), 0);
    platform::SysFreeString(desc);

    // The events arrive on the events connection; poll for them with a generous bound.
    int32_t queued = 0;
    for (int i = 0; i < 200 && queued < 3; ++i) {
        ASSERT_EQ(ProcessEventsMT(m_h), 0);
        GetEventsCountMT(m_h, &queued);
        if (queued < 3) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_GE(queued, 3);
    int16_t type = 0;
    ASSERT_EQ(GetNextEventTypeMT(m_h, &type), 0);
    EXPECT_EQ(type, 2);
    int32_t did, hose, hn, hpn, pump, pn, tank, tn, grade, gn, locked, reserved, att, age, dur, an,
        cc, ccn;
    int16_t state, dtype, level;
    double volume, price, value, v2, done, cleared, e[6];
    int64_t tag, atag, ctag;
    Out pname, tname, gname, gsn, gcode, aname, ccname;
    ASSERT_EQ(GetNextDeliveryEventEx3MT(
                  m_h, &did, &hose, &hn, &hpn, &pump, &pn, &pname, &tank, &tn, &tname, &grade, &gn,
                  &gname, &gsn, &gcode, &state, &dtype, &volume, &level, &price, &value, &v2, &done,
                  &locked, &reserved, &att, &age, &cleared, &e[0], &e[1], &e[2], &e[3], &e[4],
                  &e[5], &tag, &dur, &an, &aname, &atag, &cc, &ccn, &ccname, &ctag),
              0);
    EXPECT_EQ(did, id);
    EXPECT_EQ(state, 2);
    EXPECT_DOUBLE_EQ(volume, 20.0);
    EXPECT_EQ(gname.str(), "Unleaded 95");
    EXPECT_DOUBLE_EQ(e[3] - e[0], 20.0); // the meter moved by the delivery
    EXPECT_EQ(GetNextEventTypeMT(m_h, &type), 0);
    EXPECT_EQ(type, 9);
    EXPECT_EQ(GetNextLogEventEventMT(m_h, &did, &level, &did, &did, &aname, &level, &level, &aname,
                                     &done, &done, &did, &did, &volume, &volume, &volume, &volume,
                                     &volume, &volume),
              QV_NO_EVENT); // the oldest is not a log event
    EXPECT_EQ(DiscardNextEventMT(m_h), 0);
    int32_t lid, dev, dnum, cby, aby;
    int16_t dt, el, et;
    Out dname, text;
    double gen, clr, x[6];
    ASSERT_EQ(GetNextLogEventEventMT(m_h, &lid, &dt, &dev, &dnum, &dname, &el, &et, &text, &gen,
                                     &clr, &cby, &aby, &x[0], &x[1], &x[2], &x[3], &x[4], &x[5]),
              0);
    EXPECT_EQ(lid, logID);
    EXPECT_EQ(text.str(), "Probe fault");
    EXPECT_EQ(dname.str(), "Tank 1 ULP95");

    // Cleared and acknowledged through the library, purgeable by the maintenance tool.
    EXPECT_EQ(ClearDeliveryMT(m_h, id, 0), 0);
    EXPECT_EQ(ClearDeliveryMT(m_h, id, 0), QV_FAILED); // already cleared
    EXPECT_EQ(AckDeliveryDBLogMT(m_h, id), 0);
    int16_t logged = -1;
    int32_t i32;
    int64_t i64;
    double d;
    ASSERT_EQ(GetDeliveryPropertiesEx4MT(m_h, id, &i32, &i32, &state, &dtype, &d, &level, &d, &d,
                                         &d, &d, &i32, &i32, &i32, &d, &i32, &i32, &i64, &i32, &i32,
                                         &logged, &i32),
              0);
    EXPECT_EQ(state, 3);
    EXPECT_EQ(logged, 2);
}

TEST(Setters, CreateRecordsCheckReferencesAndOlderGettersGiveTheLeadingFields) {
    TempDir dir;
    ServerProcess server("127.0.10.4", dir.Path());
    ASSERT_TRUE(server.Start("empty"));
    int32_t h = Logon("127.0.10.4");
    ASSERT_NE(h, 0);
    BSTR name = Bstr("Diesel"), sn = Bstr("DSL"), code = Bstr("D"), tankName = Bstr("T9");

    double g[8] = {};
    EXPECT_EQ(SetTankPropertiesEx2MT(h, 9, 1, tankName, 42, 1, 1000, 2, g[0], g[1], g[2], g[3],
                                     g[4], g[5], g[6], g[7], 1, 1, 0, -1, 1, 5),
              QV_UNKNOWN_REFERENCE); // grade 42 does not exist yet
    EXPECT_EQ(SetGradePropertiesExMT(h, 42, 3, name, sn, code, 2), 0);
    EXPECT_EQ(SetGradePriceMT(h, 42, 1, 1.799), 0);
    EXPECT_EQ(SetGradePriceMT(h, 43, 1, 1.799), QV_UNKNOWN_ID);
    EXPECT_EQ(SetTankPropertiesEx2MT(h, 9, 1, tankName, 42, 1, 1000, 2, g[0], g[1], g[2], g[3],
                                     g[4], g[5], g[6], g[7], 1, 1, 0, 6, 1, 5),
              QV_UNKNOWN_REFERENCE); // ZigBee slot 6 is missing
    EXPECT_EQ(SetTankPropertiesEx2MT(h, 9, 1, tankName, 42, 1, 1000, 2, g[0], g[1], g[2], g[3],
                                     g[4], g[5], g[6], g[7], 1, 1, 0, 2, 1, 5),
              0);
    EXPECT_EQ(SetGradePropertiesExMT(h, 0, 3, name, sn, code, 2), QV_INVALID_ARGUMENT);

    int32_t count = 0, id = 0, number = 0;
    ASSERT_EQ(GetGradesCountMT(h, &count), 0);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(GetGradeByOrdinalMT(h, 1, &id), 0);
    EXPECT_EQ(id, 42);
    Out n, s, c;
    ASSERT_EQ(GetGradePropertiesMT(h, 42, &number, &n, &s, &c), 0);
    EXPECT_EQ(number, 3);
    EXPECT_EQ(n.str(), "Diesel");

    // An older setter creates a record whose newer fields take their defaults.
    EXPECT_EQ(SetSensorPropertiesMT(h, 3, 7, name, 1, 2, 3, 4), 0);
    int32_t port, slot = 0, serial = -1;
    int16_t type, addr, no;
    Out sname;
    ASSERT_EQ(
        GetSensorPropertiesExMT(h, 3, &number, &sname, &port, &type, &addr, &no, &slot, &serial),
        0);
    EXPECT_EQ(slot, -1);
    EXPECT_EQ(serial, 0);
    EXPECT_EQ(no, 4);
    EXPECT_EQ(DeleteGradeMT(h, 42), 0);
    EXPECT_EQ(DeleteGradeMT(h, 42), QV_UNKNOWN_ID);
    for (BSTR b : {name, sn, code, tankName})
        platform::SysFreeString(b);
    ClientLogoffMT(&h);
}

TEST(Persistence, TheSiteSurvivesARestart) {
    TempDir dir;
    const std::string folder = dir.Path(); // the database lasts across both servers
    {
        ServerProcess server("127.0.10.5", folder);
        ASSERT_TRUE(server.Start("empty"));
        int32_t h = Logon("127.0.10.5");
        BSTR name = Bstr("Attendant X"), e = Bstr("");
        ASSERT_EQ(SetAttendantPropertiesEx2MT(h, 12, 5, name, e, e, e, e, 60, 120, 0, 1439, 3), 0);
        platform::SysFreeString(name);
        platform::SysFreeString(e);
        ClientLogoffMT(&h);
        EXPECT_EQ(server.Stop(), 0); // a clean stop
    }
    ServerProcess again("127.0.10.5", folder);
    ASSERT_TRUE(again.Start("demo")); // not empty: the seed does not apply
    int32_t h = Logon("127.0.10.5");
    int32_t count = 0, number = 0;
    ASSERT_EQ(GetAttendantsCountMT(h, &count), 0);
    EXPECT_EQ(count, 1);
    int16_t a1, a2, b1, b2, type;
    Out name, sn, pw, tag;
    ASSERT_EQ(GetAttendantPropertiesExMT(h, 12, &number, &name, &sn, &pw, &tag, &a1, &a2, &b1, &b2,
                                         &type),
              0);
    EXPECT_EQ(name.str(), "Attendant X");
    EXPECT_EQ(a2, 120);
    EXPECT_EQ(type, 3);
    ClientLogoffMT(&h);
}

TEST(Concurrency, ManyClientsAtOnce) {
    TempDir dir;
    ServerProcess server("127.0.10.6", dir.Path());
    ASSERT_TRUE(server.Start("demo"));
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&, t] {
            int32_t h = Logon("127.0.10.6");
            if (!h) {
                ++failures;
                return;
            }
            BSTR name = Bstr("Product " + std::to_string(t)), e = Bstr("");
            for (int i = 0; i < 200; ++i) {
                int32_t count = 0;
                if (GetPumpsCountMT(h, &count) != 0 || count != 4) ++failures;
                if (SetProductPropertiesMT(h, 100 + t, i, name, e, 1, e, e, 1.5, 1.25, 1) != 0)
                    ++failures;
            }
            platform::SysFreeString(name);
            platform::SysFreeString(e);
            ClientLogoffMT(&h);
        });
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(failures, 0);
    int32_t h = Logon("127.0.10.6");
    BSTR e = Bstr("");
    int32_t count = 0;
    ASSERT_EQ(GetProductsCountMT(h, -1, e, e, e, e, -1, &count), 0);
    EXPECT_EQ(count, 6 + 6);
    platform::SysFreeString(e);
    ClientLogoffMT(&h);
}

TEST(ConnectionLoss, ACallWhileTheServerIsKilledGivesMinus14) {
    TempDir dir;
    ServerProcess server("127.0.10.7", dir.Path());
    ASSERT_TRUE(server.Start("demo"));
    int32_t h = Logon("127.0.10.7");
    ASSERT_NE(h, 0);
    int32_t count = 0;
    ASSERT_EQ(GetPortsCountMT(h, &count), 0);
    server.Stop(SIGKILL);
    EXPECT_EQ(GetPortsCountMT(h, &count), QV_CONNECTION_BROKEN);
    EXPECT_EQ(GetPortsCountMT(h, &count), QV_CONNECTION_BROKEN); // stays broken
    EXPECT_EQ(ClientLogoffMT(&h), 0);
    EXPECT_EQ(h, 0);
}

TEST_F(DemoSite, TextOutputsReplaceAndFreeWhatTheCallerHeld) {
    Out name, shortName, code;
    name.b = Bstr("to be replaced");
    code.b = Bstr("this one too");
    int32_t number = 0;
    ASSERT_EQ(GetGradePropertiesMT(m_h, 1, &number, &name, &shortName, &code), 0);
    EXPECT_EQ(name.str(), "Unleaded 95");
    EXPECT_EQ(code.str(), "95");
    // A failed call leaves the outputs as they were.
    BSTR before = name.b;
    EXPECT_EQ(GetGradePropertiesMT(m_h, 999, &number, &name, &shortName, &code), QV_UNKNOWN_ID);
    EXPECT_EQ(name.b, before);
    // Null inputs read as empty texts.
    int32_t count = -1;
    EXPECT_EQ(GetProductsCountMT(m_h, -1, nullptr, nullptr, nullptr, nullptr, -1, &count), 0);
    EXPECT_EQ(count, 6);
}

} // namespace
