// QVClient against real servers on 127.0.71.1 .. 127.0.71.4 and 127.0.71.10: the logons and what
// each remembers, the forwarders of every family with their outputs, the control registry, the
// current pump, and the connection watch with its re-logon.
#include "managed/QVClient.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

#include "managed/Conversions.h"
#include "managed/QVPump.h"
#include "managed/QVTank.h"
#include "managed/tests/QtApp.h"
#include "outside/qvclient/QVClientPlain.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace Halvora;
using qvtest::ServerProcess;
using qvtest::TempDir;

namespace {

const QString kDemo = QStringLiteral("127.0.71.1");

class DemoSite : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_dir = new TempDir;
        s_server = new ServerProcess(kDemo.toStdString(), s_dir->Path());
        ASSERT_TRUE(s_server->Start("demo"));
    }
    static void TearDownTestSuite() {
        delete s_server;
        delete s_dir;
    }
    void SetUp() override {
        ASSERT_EQ(m_client.InternalClientLogon(21, 5, QStringLiteral("halvora"), 1,
                                               QStringLiteral(""), 0, kDemo, 5123, 5124, 3000),
                  0);
    }
    void TearDown() override { m_client.ClientLogoff(); }

    static TempDir* s_dir;
    static ServerProcess* s_server;
    QVClient m_client;
};
TempDir* DemoSite::s_dir = nullptr;
ServerProcess* DemoSite::s_server = nullptr;

TEST(Control, DefaultsLogoAndVersionText) {
    QVClient client;
    EXPECT_EQ(client.RememberedEventType(), 3143);
    EXPECT_EQ(client.RememberedClientCategory(), 0);
    EXPECT_EQ(client.RememberedCallsPort(), 5123);
    EXPECT_EQ(client.RememberedEventsPort(), 5124);
    EXPECT_EQ(client.RememberedCallTimeout(), 10000);
    EXPECT_EQ(client.RememberedClientID(), -1);
    EXPECT_FALSE(client.LoggedOn());
    EXPECT_EQ(client.CurrentPump(), 0);
    // The control takes the size of its embedded logo.
    EXPECT_EQ(client.size(), QSize(80, 32));
    const QImage drawn = client.grab().toImage();
    EXPECT_EQ(drawn.size(), QSize(80, 32));
    EXPECT_EQ(drawn.pixelColor(40, 31), QColor(Qt::white)); // its border

    QString version = QStringLiteral("old");
    EXPECT_EQ(client.GetNETVersion(version), 0);
    const QRegularExpression form(QStringLiteral(
        R"(^Halvora \.NET package Version\(2,5,8,0:B19\) Built\([A-Z][a-z]{2} [ 123]\d \d{4} at \d\d:\d\d:\d\d\)$)"));
    EXPECT_TRUE(form.match(version).hasMatch()) << version.toStdString();
}

TEST_F(DemoSite, TheFullLogonRemembersEverythingAndLogoffForgetsTheClient) {
    m_client.ClientLogoff();
    ASSERT_EQ(m_client.InternalClientLogon(22, 4, QStringLiteral("till 2"), 2, QStringLiteral(""),
                                           0x0123, kDemo, 5123, 5124, 4000),
              0);
    EXPECT_TRUE(m_client.LoggedOn());
    EXPECT_EQ(m_client.RememberedClientID(), 22);
    EXPECT_EQ(m_client.RememberedClientType(), 4);
    EXPECT_EQ(m_client.RememberedClientName(), QStringLiteral("till 2"));
    EXPECT_EQ(m_client.RememberedClientCategory(), 2);
    EXPECT_EQ(m_client.RememberedEventType(), 0x0123);
    EXPECT_EQ(m_client.RememberedServerName(), kDemo);
    EXPECT_EQ(m_client.RememberedCallTimeout(), 4000);
    EXPECT_TRUE(m_client.EventPollRunning());
    EXPECT_FALSE(m_client.ReLogonPending());

    // ClientLogonEx keeps server, ports and timeout and resets the rest.
    EXPECT_EQ(m_client.ClientLogoff(), 0);
    EXPECT_EQ(m_client.RememberedClientID(), -1);
    EXPECT_EQ(m_client.RememberedClientType(), 0);
    EXPECT_FALSE(m_client.EventPollRunning());
    ASSERT_EQ(m_client.ClientLogonEx(23, 3, kDemo, 5123, 5124, 2500), 0);
    EXPECT_EQ(m_client.RememberedClientID(), 23);
    EXPECT_EQ(m_client.RememberedClientName(), QStringLiteral(""));
    EXPECT_EQ(m_client.RememberedHashKey(), QStringLiteral(""));
    EXPECT_EQ(m_client.RememberedEventType(), 3143);
    EXPECT_EQ(m_client.RememberedClientCategory(), 0);
    EXPECT_EQ(m_client.RememberedCallTimeout(), 2500);

    // SetClientType remembers only a non-zero key whose four top bits are clear.
    EXPECT_EQ(m_client.SetClientType(0x00FF), 0);
    EXPECT_EQ(m_client.RememberedEventType(), 0x00FF);
    m_client.SetClientType(0x10000007);
    m_client.SetClientType(0);
    EXPECT_EQ(m_client.RememberedEventType(), 0x00FF);

    // ClientLogon: the library's local server, every other parameter at its default.
    EXPECT_EQ(m_client.ClientLogoff(), 0);
    setenv("QV_CLIENT_SERVER", "127.0.71.1", 1);
    ASSERT_EQ(m_client.ClientLogon(24, 5), 0);
    EXPECT_EQ(m_client.RememberedClientID(), 24);
    EXPECT_EQ(m_client.RememberedServerName(), QStringLiteral(""));
    EXPECT_EQ(m_client.RememberedEventType(), 3143);
    EXPECT_EQ(m_client.RememberedCallTimeout(), 10000);
    int32_t count = 0;
    EXPECT_EQ(m_client.GetPumpsCount(count), 0);
    EXPECT_GT(count, 0);
}

TEST_F(DemoSite, PumpsGradesAndHosesWithEveryOutput) {
    int32_t pumps = 0;
    ASSERT_EQ(m_client.GetPumpsCount(pumps), 0);
    ASSERT_GT(pumps, 0);
    int32_t id = 0;
    ASSERT_EQ(m_client.GetPumpByOrdinal(1, id), 0);
    int32_t number = 0, port = 0, attendant = 0, zb = 0, mux = 0;
    QString name;
    int16_t phys = 0, side = 0, address = 0, l1 = 0, l2 = 0, pf = 0, vf = 0, valf = 0, type = 0,
            auth = 0, stack = 0, prepay = 0, preauth = 0, control = 0, preset = 0;
    ASSERT_EQ(m_client.GetPumpPropertiesEx(id, number, name, phys, side, address, l1, l2, pf, vf,
                                           valf, type, port, attendant, auth, stack, prepay,
                                           preauth, zb, mux, control, preset),
              0);
    EXPECT_FALSE(name.isEmpty());
    int32_t byNumber = 0;
    EXPECT_EQ(m_client.GetPumpByNumber(number, byNumber), 0);
    EXPECT_EQ(byNumber, id);

    // A text with non-Latin letters goes to the server and back.
    const QString renamed = QString::fromUtf8("Bomba ñ 3 – 軽油");
    ASSERT_EQ(m_client.SetPumpPropertiesEx(id, number, renamed, phys, side, address, l1, l2, pf, vf,
                                           valf, type, port, attendant, auth, stack, prepay,
                                           preauth, zb, mux, control, preset),
              0);
    QString back;
    ASSERT_EQ(m_client.GetPumpProperties(id, number, back, phys, side, address, l1, l2, pf, vf,
                                         valf, type, port, attendant, auth, stack, prepay, preauth),
              0);
    EXPECT_EQ(back, renamed);

    int32_t hoses = 0, hose = 0;
    ASSERT_EQ(m_client.GetPumpHosesCount(id, hoses), 0);
    ASSERT_GT(hoses, 0);
    ASSERT_EQ(m_client.GetPumpHoseByNumber(id, 1, hose), 0);
    int32_t hoseNumber = 0, hosePhys = 0, pumpID = 0, pumpNumber = 0, tank = 0, tankNumber = 0,
            grade = 0;
    QString gradeName;
    ASSERT_EQ(m_client.GetHoseSummary(hose, hoseNumber, hosePhys, pumpID, pumpNumber, tank,
                                      tankNumber, grade, gradeName),
              0);
    EXPECT_EQ(pumpID, id);
    EXPECT_FALSE(gradeName.isEmpty());

    ASSERT_EQ(m_client.SetGradePrice(grade, 2, 1.459), 0);
    double price = 0;
    ASSERT_EQ(m_client.GetGradePrice(grade, 2, price), 0);
    EXPECT_DOUBLE_EQ(price, 1.459);
}

TEST_F(DemoSite, AFailedCallWritesItsOutputsAnyway) {
    int32_t number = 77, port = 77, attendant = 77;
    QString name = QStringLiteral("stale");
    int16_t phys = 7, side = 7, address = 7, l1 = 7, l2 = 7, pf = 7, vf = 7, valf = 7, type = 7,
            auth = 7, stack = 7, prepay = 7, preauth = 7;
    EXPECT_EQ(m_client.GetPumpProperties(98765, number, name, phys, side, address, l1, l2, pf, vf,
                                         valf, type, port, attendant, auth, stack, prepay, preauth),
              QV_UNKNOWN_ID);
    EXPECT_EQ(number, 0);
    EXPECT_EQ(name, QStringLiteral(""));
    EXPECT_FALSE(name.isNull());
    EXPECT_EQ(phys, 0);
    EXPECT_EQ(preauth, 0);
    EXPECT_TRUE(m_client.LoggedOn()); // not a connection result
    EXPECT_EQ(m_client.ResultString(QV_UNKNOWN_ID), QStringLiteral("Unknown ID"));
}

TEST_F(DemoSite, TanksPortsSensorsAndZigBeeDevices) {
    int32_t tanks = 0, tank = 0;
    ASSERT_EQ(m_client.GetTanksCount(tanks), 0);
    ASSERT_GT(tanks, 0);
    ASSERT_EQ(m_client.GetTankByOrdinal(1, tank), 0);
    int32_t number = 0, grade = 0, gauge = 0;
    QString name;
    int16_t type = 0, probe = 0;
    double capacity = 0, diameter = 0, theo = 0, vol = 0, tc = 0, ullage = 0, temp = 0, level = 0,
           wvol = 0, wlevel = 0;
    ASSERT_EQ(m_client.GetTankProperties(tank, number, name, grade, type, capacity, diameter, theo,
                                         vol, tc, ullage, temp, level, wvol, wlevel, gauge, probe),
              0);
    EXPECT_GT(capacity, 0);
    EXPECT_FALSE(name.isEmpty());

    int32_t ports = 0, portID = 0;
    ASSERT_EQ(m_client.GetPortsCount(ports), 0);
    ASSERT_GT(ports, 0);
    ASSERT_EQ(m_client.GetPortByOrdinal(1, portID), 0);
    QString portName, serial;
    int16_t protocol = 0, device = 0;
    ASSERT_EQ(m_client.GetPortProperties(portID, number, portName, protocol, device, serial), 0);
    EXPECT_FALSE(portName.isEmpty());

    int32_t sensors = -1, zigbees = -1;
    EXPECT_EQ(m_client.GetSensorsCount(sensors), 0);
    EXPECT_GE(sensors, 0);
    EXPECT_EQ(m_client.GetZigBeeCount(zigbees), 0);
    EXPECT_GE(zigbees, 0);
    int32_t pan = -1, channels = -1;
    int64_t keyA = -1, keyB = -1;
    EXPECT_EQ(m_client.GetZB2GConfig(portID, pan, channels, keyA, keyB), 0);
}

TEST_F(DemoSite, AttendantsCardClientsProductsAndTheirDates) {
    int32_t attendants = 0, attendant = 0;
    ASSERT_EQ(m_client.GetAttendantsCount(attendants), 0);
    ASSERT_GT(attendants, 0);
    ASSERT_EQ(m_client.GetAttendantByOrdinal(1, attendant), 0);
    int32_t number = 0;
    QString name, shortName, password, tag;
    ASSERT_EQ(m_client.GetAttendantProperties(attendant, number, name, shortName, password, tag),
              0);
    EXPECT_FALSE(name.isEmpty());

    // A card client's expiry date goes to the server and back, and a null text arrives empty.
    int32_t clients = 0, client = 0;
    ASSERT_EQ(m_client.GetCardClientsCount(clients), 0);
    ASSERT_GT(clients, 0);
    ASSERT_EQ(m_client.GetCardClientByOrdinal(1, client), 0);
    const QDateTime expiry(QDate(2031, 2, 28), QTime(17, 45, 30));
    ASSERT_EQ(m_client.SetCardClientPropertiesEx3(client, 501, QStringLiteral("Fleet"),
                                                  QStringLiteral("AB12"), 1, 1, QString(),
                                                  QStringLiteral("ID9"), QStringLiteral("FL"),
                                                  QString(), 0, 1, 2, 250.0, 0, expiry, -1),
              0);
    QString cname, ctag, plate, idNumber, cshort, cpass;
    int16_t enabled = 0, level = 0, gradeType = 0, cardType = 0, limitType = 0, entry = 0;
    double limit = 0;
    QDateTime expiryBack;
    int32_t parent = 0;
    ASSERT_EQ(m_client.GetCardClientPropertiesEx3(
                  client, number, cname, ctag, enabled, level, plate, idNumber, cshort, cpass,
                  gradeType, cardType, limitType, limit, entry, expiryBack, parent),
              0);
    EXPECT_EQ(cname, QStringLiteral("Fleet"));
    EXPECT_EQ(plate, QStringLiteral(""));
    EXPECT_FALSE(plate.isNull());
    EXPECT_EQ(expiryBack, expiry);
    EXPECT_DOUBLE_EQ(limit, 250.0);

    // A date at the end of the range is sent as -1.0 and comes back as that automation date.
    ASSERT_EQ(m_client.SetCardClientPropertiesEx3(client, 501, cname, ctag, 1, 1, plate, idNumber,
                                                  cshort, cpass, 0, 1, 2, 250.0, 0, MaxDateTime(),
                                                  -1),
              0);
    ASSERT_EQ(m_client.GetCardClientPropertiesEx3(
                  client, number, cname, ctag, enabled, level, plate, idNumber, cshort, cpass,
                  gradeType, cardType, limitType, limit, entry, expiryBack, parent),
              0);
    EXPECT_EQ(expiryBack, QDateTime(QDate(1899, 12, 29), QTime(0, 0)));

    int32_t products = 0, product = 0;
    ASSERT_EQ(
        m_client.GetProductsCount(-1, QString(), QString(), QString(), QString(), -1, products), 0);
    ASSERT_GT(products, 0);
    ASSERT_EQ(m_client.GetProductByOrdinal(-1, QString(), QString(), QString(), QString(), -1, 1,
                                           product),
              0);
    QString pname, ptag, pshort, barcode;
    int16_t penabled = 0;
    int32_t quick = 0, group = 0;
    double p1 = 0, p2 = 0, p3 = 0, p4 = 0;
    QDateTime added, updated;
    ASSERT_EQ(m_client.GetProductPropertiesEx2(product, number, pname, ptag, penabled, pshort,
                                               barcode, quick, p1, p2, p3, p4, group, added,
                                               updated),
              0);
    EXPECT_FALSE(pname.isEmpty());
    EXPECT_TRUE(added.isValid());
    EXPECT_GE(updated, added);
}

TEST_F(DemoSite, DeliveriesSaleItemsLogEventsCardReadsAndTheController) {
    int32_t count = -1, filtered = -1;
    EXPECT_EQ(m_client.GetDeliveriesCount(-1, count), 0);
    EXPECT_GE(count, 0);
    const QDateTime from(QDate(1990, 1, 1), QTime(0, 0)), to(QDate(2200, 1, 1), QTime(0, 0));
    // The dates of a filter reach the server: the demo's deliveries lie in the wide window only.
    EXPECT_EQ(m_client.GetDeliveriesCountFilteredEx(-1, -1, -1, from, to, -1, -1, filtered), 0);
    EXPECT_GT(filtered, 0);
    EXPECT_EQ(
        m_client.GetDeliveriesCountFilteredEx(-1, -1, -1, to.addYears(-10), to, -1, -1, filtered),
        0);
    EXPECT_EQ(filtered, 0);
    count = -1;
    EXPECT_EQ(m_client.GetSaleItemsCount(count), 0);
    EXPECT_GE(count, 0);
    count = -1;
    EXPECT_EQ(m_client.GetLogEventCount(count), 0);
    EXPECT_GE(count, 0);
    count = -1;
    EXPECT_EQ(m_client.GetCardReadByOrdinal(1, count), QV_INVALID_ORDINAL);
    EXPECT_EQ(count, 0); // written although the call failed

    // The server's clock: set, then read back within a few seconds.
    const QDateTime when(QDate(2024, 6, 1), QTime(8, 30));
    ASSERT_EQ(m_client.SetDateTime(when), 0);
    QDateTime now;
    ASSERT_EQ(m_client.GetDateTime(now), 0);
    EXPECT_LE(std::abs(when.secsTo(now)), 5);

    // Profile values, a null text arriving as empty.
    ASSERT_EQ(m_client.SetIniValue(QStringLiteral("Halvora"), QStringLiteral("Key"),
                                   QString::fromUtf8("valor ç")),
              0);
    QString value;
    ASSERT_EQ(m_client.GetIniValue(QStringLiteral("Halvora"), QStringLiteral("Key"), value), 0);
    EXPECT_EQ(value, QString::fromUtf8("valor ç"));
    ASSERT_EQ(m_client.SetIniValue(QStringLiteral("Halvora"), QStringLiteral("Key"), QString()), 0);
    ASSERT_EQ(m_client.GetIniValue(QStringLiteral("Halvora"), QStringLiteral("Key"), value), 0);
    EXPECT_EQ(value, QStringLiteral(""));

    QString ip, mask, gateway, dns, network;
    int16_t dhcp = -1;
    EXPECT_EQ(m_client.GetTCPIPConfig(ip, mask, gateway, dns, dhcp, network), 0);
    EXPECT_FALSE(ip.isEmpty());
    QString dll, server;
    EXPECT_EQ(m_client.GetDLLVersion(dll), 0);
    EXPECT_FALSE(dll.isEmpty());
    EXPECT_EQ(m_client.GetServerVersion(server), 0);
    EXPECT_FALSE(server.isEmpty());
}

// The pump-control calls reach the forecourt: each changes the pump, so the same call made
// again through the library is refused by the pump's new state.
TEST_F(DemoSite, PumpControlReachesTheForecourt) {
    int32_t id = 0;
    ASSERT_EQ(m_client.GetPumpByOrdinal(1, id), 0);
    EXPECT_EQ(m_client.Authorise(id), 0);
    EXPECT_NE(::Authorise(id), 0) << "an authorised pump takes no second authorise";
    EXPECT_EQ(m_client.CancelAuthorise(id), 0);
    EXPECT_NE(::CancelAuthorise(id), 0) << "nothing is left to cancel";
    EXPECT_EQ(m_client.LoadPreset(id, 2, 10.0, 255, 1), 0);
    EXPECT_EQ(::CancelAuthorise(id), 0) << "the preset authorised the pump";
    EXPECT_EQ(m_client.AllStop(), 0);
    EXPECT_TRUE(m_client.LoggedOn());
}

TEST_F(DemoSite, TheEventPumpEmptiesTheQueue) {
    int32_t id = 0;
    BSTR text = ToBstr(QStringLiteral("halvora test event"));
    ASSERT_EQ(::AddLogEvent(1, 1, 1, 1, text, &id), 0);
    platform::SysFreeString(text);
    // A plain sleep, not a Qt wait: the library's window message, handled by the client on the
    // event loop, would empty the queue before it is looked at.
    int32_t waiting = 0;
    for (int i = 0; i < 500 && waiting == 0; ++i) {
        ASSERT_EQ(::ProcessEvents(), 0);
        ASSERT_EQ(::GetEventsCount(&waiting), 0);
        if (waiting == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_GT(waiting, 0);
    m_client.CheckEvents();
    ASSERT_EQ(::GetEventsCount(&waiting), 0);
    EXPECT_EQ(waiting, 0);
    EXPECT_TRUE(m_client.LoggedOn());
}

TEST_F(DemoSite, ControlsRegisterOnceAndTheCurrentPumpMoves) {
    int32_t first = 0, second = 0;
    ASSERT_EQ(m_client.GetPumpByOrdinal(1, first), 0);
    ASSERT_EQ(m_client.GetPumpByOrdinal(2, second), 0);

    QVPump a, b;
    a.SetID(first);
    a.SetQVClient(&m_client); // binding registers and loads
    EXPECT_EQ(m_client.PumpsRegistered(), 1);
    EXPECT_FALSE(a.PumpName().isEmpty());
    EXPECT_FALSE(m_client.AddQVPump(&a));
    EXPECT_EQ(m_client.PumpsRegistered(), 1);
    EXPECT_TRUE(m_client.AddQVPump(&b));
    EXPECT_FALSE(m_client.AddQVPump(&b));
    b.SetID(second);
    b.SetQVClient(&m_client);
    EXPECT_EQ(m_client.PumpsRegistered(), 2);

    QSignalSpy changes(&m_client, &QVClient::CurrentPumpEvent);
    m_client.SetCurrentPump(first);
    m_client.SetCurrentPump(first);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toInt(), first);
    EXPECT_TRUE(a.IsCurrentPump());
    m_client.SetCurrentPump(second);
    EXPECT_FALSE(a.IsCurrentPump());
    EXPECT_TRUE(b.IsCurrentPump());
    EXPECT_EQ(changes.count(), 2);

    // An ID of -1 leaves the registry; a destroyed control leaves it too.
    b.SetID(-1);
    EXPECT_EQ(m_client.PumpsRegistered(), 1);
    EXPECT_FALSE(m_client.RemoveQVPump(&b));
    {
        QVTank tank;
        tank.SetQVClient(&m_client);
        tank.SetID(1);
        EXPECT_EQ(m_client.TanksRegistered(), 1);
        EXPECT_FALSE(m_client.AddQVTank(&tank));
    }
    EXPECT_EQ(m_client.TanksRegistered(), 0);
    EXPECT_TRUE(m_client.RemoveQVPump(&a));
}

// Reading a delivery's summary hands it to the registered control of its pump, as its event
// would; a read that fails hands nothing on.
TEST(DeliverySummary, TheNewerSummariesReachTheRegisteredPump) {
    const std::string address = "127.0.71.10";
    TempDir dir;
    ServerProcess server(address, dir.Path(), {"--clock", "manual"});
    ASSERT_TRUE(server.Start("demo"));
    QVClient client;
    ASSERT_EQ(client.ClientLogonEx(23, 5, QString::fromStdString(address), 5123, 5124, 3000), 0);
    int32_t pumpID = -1, before = 0, after = 0;
    ASSERT_EQ(client.GetPumpByOrdinal(1, pumpID), 0);
    ASSERT_EQ(client.GetDeliveriesCount(pumpID, before), 0);
    // One sale on the pump: authorised, a nozzle lifted, 30 s of flow, hung up.
    const std::string pump = std::to_string(pumpID);
    ASSERT_EQ(client.Authorise(pumpID), 0);
    ASSERT_EQ(qvtesting::ServerCtl(address, "nozzle-up " + pump + " 1"), 0);
    ASSERT_EQ(qvtesting::ServerCtl(address, "advance 30000"), 0);
    ASSERT_EQ(qvtesting::ServerCtl(address, "nozzle-down " + pump), 0);
    ASSERT_EQ(client.GetDeliveriesCount(pumpID, after), 0);
    ASSERT_EQ(after, before + 1);
    int32_t deliveryID = -1;
    ASSERT_EQ(client.GetDeliveryByOrdinal(pumpID, after, deliveryID), 0);

    QVPump control;
    control.SetID(pumpID);
    control.SetQVClient(&client);
    const auto listed = [&control](int32_t id) {
        for (const QVDelivery& d : control.Deliveries())
            if (d.ID == id) return d.State;
        return int16_t(-1);
    };
    const auto empty = [&client, pumpID] {
        client.FireDeliveryEvent(-1, -1, 0, 0, pumpID, 0, QString(), -1, 0, QString(), -1, 0,
                                 QString(), QString(), QString(), 0, 0, 0, 0, 0, 0, 0, QDateTime(),
                                 -1, -1, -1, 0, QDateTime(), 0, 0, 0, 0, 0, 0, -1, 0, 0, QString(),
                                 -1, -1, 0, QString(), -1);
    };

    int32_t hoseID, hoseNumber, hosePhys, pumpOut, pumpNumber, tankID, tankNumber, gradeID,
        gradeNumber, lockedBy, reservedBy, attendantID, age, duration, attNumber, ccID, ccNumber;
    int16_t state, type, level;
    double volume, price, value, volume2, oldVol, oldVol2, oldVal, newVol, newVol2, newVal, peak;
    QString pumpName, tankName, grade, shortGrade, code, attName, ccName;
    QDateTime completed, cleared;
    int64_t tag, attTag, ccTag;
    empty();
    ASSERT_EQ(client.GetDeliverySummaryEx3(
                  deliveryID, hoseID, hoseNumber, hosePhys, pumpOut, pumpNumber, pumpName, tankID,
                  tankNumber, tankName, gradeID, gradeNumber, grade, shortGrade, code, state, type,
                  volume, level, price, value, volume2, completed, lockedBy, reservedBy,
                  attendantID, age, cleared, oldVol, oldVol2, oldVal, newVol, newVol2, newVal, tag,
                  duration, attNumber, attName, attTag, ccID, ccNumber, ccName, ccTag),
              0);
    EXPECT_EQ(pumpOut, pumpID);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(listed(deliveryID), 1);
    EXPECT_DOUBLE_EQ(control.Deliveries().first().Volume, volume);

    empty();
    ASSERT_EQ(client.GetDeliverySummaryEx4(
                  deliveryID, hoseID, hoseNumber, hosePhys, pumpOut, pumpNumber, pumpName, tankID,
                  tankNumber, tankName, gradeID, gradeNumber, grade, shortGrade, code, state, type,
                  volume, level, price, value, volume2, completed, lockedBy, reservedBy,
                  attendantID, age, cleared, oldVol, oldVol2, oldVal, newVol, newVol2, newVal, tag,
                  duration, attNumber, attName, attTag, ccID, ccNumber, ccName, ccTag, peak),
              0);
    EXPECT_EQ(listed(deliveryID), 1);

    empty();
    ASSERT_EQ(client.GetDeliverySummaryEx2(
                  deliveryID, pumpOut, pumpNumber, hoseID, hoseNumber, gradeID, grade, shortGrade,
                  level, price, volume, value, state, type, lockedBy, reservedBy, age, completed,
                  attendantID, oldVol, oldVol2, oldVal, newVol, newVol2, newVal, tag, duration),
              0);
    EXPECT_EQ(listed(deliveryID), 1);

    // An unknown delivery: the read fails and the pump's list stays as it is.
    EXPECT_NE(client.GetDeliverySummaryEx2(
                  999999, pumpOut, pumpNumber, hoseID, hoseNumber, gradeID, grade, shortGrade,
                  level, price, volume, value, state, type, lockedBy, reservedBy, age, completed,
                  attendantID, oldVol, oldVol2, oldVal, newVol, newVol2, newVal, tag, duration),
              0);
    EXPECT_EQ(control.Deliveries().size(), 1);
    client.ClientLogoff();
}

TEST_F(DemoSite, LogoffThenAConnectionResultNeverLogsOnAgain) {
    QVClient::SetTimeouts(100, 100);
    QVPump pump;
    pump.SetID(1);
    pump.SetQVClient(&m_client);
    QSignalSpy broken(&m_client, &QVClient::ServerConnectionBroken);
    QSignalSpy back(&m_client, &QVClient::ServerReconnected);

    EXPECT_EQ(m_client.ClientLogoff(), 0);
    int32_t count = 0;
    EXPECT_EQ(m_client.GetPumpsCount(count), QV_NOT_LOGGED_ON);
    EXPECT_EQ(m_client.CheckResult(-14), -14);
    EXPECT_EQ(broken.count(), 1);
    EXPECT_EQ(pump.PumpState(), 0);
    EXPECT_TRUE(m_client.ReLogonPending());
    EXPECT_FALSE(back.wait(600));
    EXPECT_FALSE(m_client.LoggedOn());
    EXPECT_FALSE(m_client.ReLogonPending());
    EXPECT_EQ(m_client.GetPumpsCount(count), QV_NOT_LOGGED_ON);
    QVClient::SetTimeouts(10000, 5000);
}

// A server killed under a logged-on client: the event poll notices, the registered controls go
// blank, and the client logs on again by itself once the server is back.
TEST(ConnectionWatch, AKilledServerIsNoticedAndTheClientLogsOnAgain) {
    TempDir dir;
    ServerProcess server("127.0.71.2", dir.Path());
    ASSERT_TRUE(server.Start("demo"));
    QVClient::SetTimeouts(200, 100);
    {
        QVClient client;
        ASSERT_EQ(client.ClientLogonEx(31, 5, QStringLiteral("127.0.71.2"), 5123, 5124, 2000), 0);
        ASSERT_EQ(client.SetClientType(0x0042), 0);
        QVTank tank;
        tank.SetQVClient(&client);
        tank.SetID(1);
        QSignalSpy broken(&client, &QVClient::ServerConnectionBroken);
        QSignalSpy back(&client, &QVClient::ServerReconnected);

        server.Stop(SIGKILL);
        ASSERT_TRUE(broken.wait(3000));
        EXPECT_EQ(tank.TankState(), QVTank::kNoServerState);
        EXPECT_FALSE(client.LoggedOn());
        EXPECT_FALSE(client.EventPollRunning());
        // Re-logons fail while the server is away and keep being retried.
        QTest::qWait(700);
        EXPECT_EQ(back.count(), 0);
        EXPECT_TRUE(client.ReLogonPending());

        ASSERT_TRUE(server.Start("demo"));
        ASSERT_TRUE(back.wait(3000));
        EXPECT_TRUE(client.LoggedOn());
        EXPECT_TRUE(client.EventPollRunning());
        EXPECT_EQ(client.RememberedClientID(), 31);
        EXPECT_EQ(client.RememberedEventType(), 0x0042);
        int32_t count = 0;
        EXPECT_EQ(client.GetPumpsCount(count), 0);
        EXPECT_GT(count, 0);
        EXPECT_EQ(back.count(), 1);
    }
    QVClient::SetTimeouts(10000, 5000);
}

TEST(ConnectionWatch, AFailedLogonRemembersNothing) {
    QVClient client;
    EXPECT_EQ(client.ClientLogonEx(32, 5, QStringLiteral("127.0.71.3"), 5123, 5124, 1000),
              QV_CANNOT_CONNECT);
    EXPECT_EQ(client.RememberedClientID(), -1);
    EXPECT_EQ(client.RememberedServerName(), QString());
    EXPECT_FALSE(client.LoggedOn());
    EXPECT_FALSE(client.EventPollRunning());

    // Ports above 32767 reach the library as unsigned numbers: nothing listens there, but the
    // port is not refused as out of range.
    EXPECT_EQ(client.ClientLogonEx(32, 5, QStringLiteral("127.0.71.3"), static_cast<int16_t>(60000),
                                   static_cast<int16_t>(60001), 1000),
              QV_CANNOT_CONNECT);
}

} // namespace
