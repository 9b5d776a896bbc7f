// QVClient's event pump against a fake server on 127.0.71.8 (a socket peer in this test that
// pushes event frames after the logon) and a real server on 127.0.71.7: the client-level signals
// with their fields and version tests, routing to registered pump and tank controls, kinds that
// are dropped, and the poll noticing a server gone under a logged-on client.
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/socket.h>
#include <thread>

#include "managed/Conversions.h"
#include "managed/QVClient.h"
#include "managed/QVPump.h"
#include "managed/QVTank.h"
#include "managed/tests/QtApp.h"
#include "outside/qvclient/QVClientPlain.h"
#include "outside/qvclient/QVSocket.h"
#include "outside/qvclient/QVWire.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace Halvora;
using qvwire::Value;
using qvwire::Values;

namespace {

constexpr char kFake[] = "127.0.71.8";

// An event frame: the type, then one section (variant, count, values).
std::vector<uint8_t> EventFrame(int16_t type, int16_t variant, const Values& values) {
    qvwire::Writer w;
    w.Put(Value::I16(type));
    w.Put(Value::I16(variant));
    w.Put(Value::I16(static_cast<int16_t>(values.size())));
    w.PutAll(values);
    qvwire::Header h;
    h.type = qvwire::MsgType::Events;
    h.session = 77;
    h.bodyLen = static_cast<uint16_t>(w.Bytes().size());
    std::vector<uint8_t> raw(qvwire::kHeaderSize);
    qvwire::EncodeHeader(h, raw.data());
    raw.insert(raw.end(), w.Bytes().begin(), w.Bytes().end());
    return raw;
}

// Answers one logon, sends the frames on the events connection and answers later calls with an
// empty success until it is destroyed, which closes both connections.
class FakeServer {
  public:
    explicit FakeServer(std::vector<std::vector<uint8_t>> frames) : m_frames(std::move(frames)) {
        m_calls = qvwire::ListenTcp(kFake, 5123);
        m_events = qvwire::ListenTcp(kFake, 5124);
        m_thread = std::thread([this] { Serve(); });
    }
    ~FakeServer() {
        m_stop = true;
        for (int fd : {m_callFd.load(), m_eventFd.load(), m_calls, m_events})
            qvwire::ShutdownSocket(fd);
        m_thread.join();
        for (int fd : {m_callFd.load(), m_eventFd.load(), m_calls, m_events})
            qvwire::CloseSocket(fd);
    }

    // Later calls get no answer; the events connection stays open.
    void StopAnswering() { m_answer = false; }

  private:
    void Serve() {
        m_callFd = accept(m_calls, nullptr, nullptr);
        qvwire::Header h;
        std::vector<uint8_t> body;
        if (qvwire::RecvFrame(m_callFd, h, body, 5000) != 0) return;
        qvwire::Writer key;
        key.Put(Value::Text(u"0123456789abcdef0123456789abcdef"));
        Answer(m_callFd, h, key.Bytes());
        m_eventFd = accept(m_events, nullptr, nullptr);
        if (qvwire::RecvFrame(m_eventFd, h, body, 5000) != 0) return;
        Answer(m_eventFd, h, {});
        for (const std::vector<uint8_t>& f : m_frames)
            send(m_eventFd, f.data(), f.size(), MSG_NOSIGNAL);
        while (!m_stop) {
            const int rc = qvwire::RecvFrame(m_callFd, h, body, 100);
            if (rc == 0 && m_answer) Answer(m_callFd, h, {});
            if (rc == qvwire::kRecvBroken || rc == qvwire::kRecvMalformed) break;
        }
    }
    static void Answer(int fd, const qvwire::Header& request, const std::vector<uint8_t>& body) {
        qvwire::Header r = request;
        r.type = qvwire::MsgType::Reply;
        r.session = 77;
        r.result = 0;
        qvwire::SendFrame(fd, r, body);
    }

    std::vector<std::vector<uint8_t>> m_frames;
    int m_calls = -1, m_events = -1;
    std::atomic<int> m_callFd{-1}, m_eventFd{-1};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_answer{true};
    std::thread m_thread;
};

// A pump status (variant 3) of pump `id`; curFlow and hosePhys steer the version tests.
std::vector<uint8_t> PumpStatus(int32_t id, double curFlow, int32_t hosePhys, int16_t priceFmt) {
    return EventFrame(
        1, 3,
        {Value::I32(id),  Value::I32(70000 + id), Value::I16(5),          Value::I16(2),
         Value::I32(44),  Value::I32(10 + id),    Value::I32(2),          Value::I32(hosePhys),
         Value::I32(3),   Value::I32(33),         Value::Text(u"Diesel"), Value::Text(u"DSL"),
         Value::I16(1),   Value::F64(1.5),        Value::F64(12.25),      Value::F64(18.375),
         Value::I16(1),   Value::Text(u"Pump é"), Value::I16(7),          Value::I16(1),
         Value::I16(9),   Value::I16(1),          Value::I16(2),          Value::I16(4),
         Value::I32(6),   Value::I16(1),          Value::I16(2),          Value::I16(1),
         Value::I16(0),   Value::I16(priceFmt),   Value::I16(2),          Value::I16(3),
         Value::I64(-1),  Value::I32(8),          Value::I32(81),         Value::Text(u"Ann"),
         Value::I64(555), Value::I32(-1),         Value::I32(0),          Value::Text(u""),
         Value::I64(-1),  Value::F64(curFlow),    Value::F64(40.5)});
}

// A delivery (variant 3) of pump `pumpID`; tag, attendant tag and card tag for the tag rule,
// oldVolume and newVolume for the version tests.
std::vector<uint8_t> Delivery(int32_t pumpID, int64_t tag, int64_t attTag, int64_t cardTag,
                              double oldVolume, double newVolume) {
    return EventFrame(
        2, 3,
        {Value::I32(901),        Value::I32(11),      Value::I32(1),       Value::I32(1),
         Value::I32(pumpID),     Value::I32(pumpID),  Value::Text(u"P"),   Value::I32(4),
         Value::I32(4),          Value::Text(u"T4"),  Value::I32(3),       Value::I32(33),
         Value::Text(u"Diesel"), Value::Text(u"DSL"), Value::Text(u"D"),   Value::I16(1),
         Value::I16(0),          Value::F64(20.0),    Value::I16(1),       Value::F64(1.5),
         Value::F64(30.0),       Value::F64(0),       Value::F64(45000.5), Value::I32(-1),
         Value::I32(-1),         Value::I32(8),       Value::I32(12),      Value::F64(0),
         Value::F64(oldVolume),  Value::F64(0),       Value::F64(100),     Value::F64(newVolume),
         Value::F64(0),          Value::F64(130),     Value::I64(tag),     Value::I32(65),
         Value::I32(81),         Value::Text(u"Ann"), Value::I64(attTag),  Value::I32(-1),
         Value::I32(0),          Value::Text(u""),    Value::I64(cardTag)});
}

std::vector<uint8_t> TankStatus(int32_t id, int16_t state, int32_t number) {
    return EventFrame(13, 2,
                      {Value::I32(id), Value::F64(1000), Value::F64(990), Value::F64(4000),
                       Value::F64(15.5), Value::F64(800), Value::F64(10), Value::F64(20),
                       Value::I32(number), Value::Text(u"Tank"), Value::I32(3),
                       Value::Text(u"Diesel"), Value::I16(1), Value::F64(5000), Value::F64(2000),
                       Value::I32(2), Value::I16(1), Value::I16(state), Value::I32(0x11)});
}

// Logs a client on to the fake server and lets CheckEvents take what arrived, until `until`
// says enough (or two seconds passed).
class FakeSite : public ::testing::Test {
  protected:
    void LogOnAndPump(const std::vector<std::vector<uint8_t>>& frames,
                      const std::function<bool()>& until) {
        m_fake = std::make_unique<FakeServer>(frames);
        ASSERT_EQ(m_client.ClientLogonEx(41, 5, QString::fromLatin1(kFake), 5123, 5124, 2000), 0);
        for (int i = 0; i < 200 && !until(); ++i) {
            QTest::qWait(10);
            m_client.CheckEvents();
        }
    }
    void TearDown() override { m_client.ClientLogoff(); }

    QVClient m_client;
    std::unique_ptr<FakeServer> m_fake;
};

int32_t WaitingEvents() {
    int32_t n = -1;
    ::GetEventsCount(&n);
    return n;
}

} // namespace

TEST_F(FakeSite, PumpStatusRaisesEachVersionTheFieldsAllow) {
    QSignalSpy ex3(&m_client, &QVClient::PumpStatusEventEx3);
    QSignalSpy ex2(&m_client, &QVClient::PumpStatusEventEx2);
    QSignalSpy ex(&m_client, &QVClient::PumpStatusEventEx);
    QSignalSpy plain(&m_client, &QVClient::PumpStatusEvent);
    // All versions; then CurFlowRate < 0 (no Ex3); then HosePhysicalNumber < 0 (no Ex2) with
    // PriceFormat 0 (no Ex): only the oldest.
    LogOnAndPump({PumpStatus(1, 2.5, 3, 2), PumpStatus(2, -1, 3, 1), PumpStatus(3, -1, -1, 0)},
                 [&] { return plain.count() >= 3; });
    ASSERT_EQ(plain.count(), 3);
    ASSERT_EQ(ex3.count(), 1);
    ASSERT_EQ(ex2.count(), 2);
    ASSERT_EQ(ex.count(), 2);

    const QList<QVariant> e3 = ex3.at(0);
    ASSERT_EQ(e3.size(), 43);
    EXPECT_EQ(e3[0].toInt(), 1);
    EXPECT_EQ(e3[1].toInt(), 70001); // 32-bit pump number
    EXPECT_EQ(e3[10].toString(), QStringLiteral("Diesel"));
    EXPECT_EQ(e3[17].toString(), QStringLiteral("Pump é"));
    EXPECT_EQ(e3[29].value<int16_t>(), 2);
    EXPECT_EQ(e3[36].value<int64_t>(), 555);
    EXPECT_DOUBLE_EQ(e3[41].toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(e3[42].toDouble(), 40.5);
    EXPECT_EQ(ex2.at(1)[0].toInt(), 2);
    EXPECT_EQ(ex2.at(1).size(), 41);

    const QList<QVariant> e = ex.at(0);
    ASSERT_EQ(e.size(), 30);
    EXPECT_EQ(e[15].toString(), QStringLiteral("Pump é"));
    EXPECT_EQ(e[27].value<int16_t>(), 2); // PriceFormat
    const QList<QVariant> p = plain.at(2);
    ASSERT_EQ(p.size(), 15);
    EXPECT_EQ(p[0].toInt(), 3);
    EXPECT_EQ(p[1].value<int16_t>(), static_cast<int16_t>(70003)); // the 16-bit number
    EXPECT_EQ(p[5].toInt(), 13);
    EXPECT_DOUBLE_EQ(p[12].toDouble(), 12.25);
    EXPECT_DOUBLE_EQ(p[13].toDouble(), 18.375);
}

TEST_F(FakeSite, DeliveriesRaiseTheirVersionsWithTheTagRule) {
    QSignalSpy ex3(&m_client, &QVClient::DeliveryEventEx3);
    QSignalSpy ex2(&m_client, &QVClient::DeliveryEventEx2);
    QSignalSpy ex(&m_client, &QVClient::DeliveryEventEx);
    QSignalSpy plain(&m_client, &QVClient::DeliveryEvent);
    // Tag from the delivery; from the attendant; from the card client with no totals.
    LogOnAndPump({Delivery(1, 77, 555, 999, 100, 120), Delivery(1, -1, 555, 999, 100, 120),
                  Delivery(1, -1, -1, 999, -1, -1)},
                 [&] { return plain.count() >= 3; });
    ASSERT_EQ(plain.count(), 3);
    ASSERT_EQ(ex3.count(), 3);
    ASSERT_EQ(ex2.count(), 2);
    ASSERT_EQ(ex.count(), 2);
    EXPECT_EQ(ex3.at(0).size(), 43);
    EXPECT_EQ(ex3.at(1)[34].value<int64_t>(), -1); // Ex3 carries the delivery's own tag
    EXPECT_EQ(ex2.at(0)[25].value<int64_t>(), 77);
    EXPECT_EQ(ex2.at(1)[25].value<int64_t>(), 555);
    EXPECT_EQ(ex.at(1)[22].value<int64_t>(), 555);
    EXPECT_DOUBLE_EQ(ex.at(0)[19].toDouble(), 120.0); // VolumeETot is the new total
    EXPECT_EQ(ex2.at(0)[26].toInt(), 65);             // Duration
    const QList<QVariant> d = plain.at(2);
    ASSERT_EQ(d.size(), 19);
    EXPECT_EQ(d[0].toInt(), 901);
    EXPECT_EQ(d[6].toString(), QStringLiteral("Diesel"));
    EXPECT_EQ(d[17].toDateTime(), QDateTime(QDate(2023, 3, 15), QTime(12, 0)));
    EXPECT_EQ(d[18].toInt(), 8);
}

TEST_F(FakeSite, RegisteredControlsTakeTheirStatusAndOthersRaiseSignals) {
    QVPump pump;
    pump.SetQVClient(&m_client); // bound once logged on below
    QVTank tank;
    tank.SetQVClient(&m_client);
    QSignalSpy pumpStatus(&m_client, &QVClient::PumpStatusEvent);
    QSignalSpy deliveries(&m_client, &QVClient::DeliveryEvent);
    QSignalSpy tankEx2(&m_client, &QVClient::DBTankStatusEventEx2);
    QSignalSpy tankEx(&m_client, &QVClient::DBTankStatusEventEx);
    QSignalSpy tankPlain(&m_client, &QVClient::DBTankStatusEvent);
    m_fake = std::make_unique<FakeServer>(std::vector<std::vector<uint8_t>>{
        PumpStatus(1, 2.5, 3, 2), PumpStatus(2, 2.5, 3, 2), Delivery(1, 77, -1, -1, 1, 1),
        Delivery(2, 77, -1, -1, 1, 1), TankStatus(4, 1, 4), TankStatus(5, 0, 5),
        TankStatus(6, -1, -1)});
    ASSERT_EQ(m_client.ClientLogonEx(41, 5, QString::fromLatin1(kFake), 5123, 5124, 2000), 0);
    m_client.AddQVPump(&pump);
    m_client.AddQVTank(&tank);
    pump.SetID(1);
    tank.SetID(4);
    for (int i = 0; i < 200 && tankPlain.count() < 2; ++i) {
        QTest::qWait(10);
        m_client.CheckEvents();
    }
    // Pump 1 and tank 4 went to their controls; pump 2 and tanks 5, 6 to the signals.
    ASSERT_EQ(pumpStatus.count(), 1);
    EXPECT_EQ(pumpStatus.at(0)[0].toInt(), 2);
    EXPECT_EQ(pump.PumpState(), 5);
    EXPECT_EQ(pump.HoseID(), 11);
    ASSERT_EQ(deliveries.count(), 1);
    EXPECT_EQ(deliveries.at(0)[1].toInt(), 2);
    ASSERT_EQ(pump.Deliveries().size(), 1);
    EXPECT_EQ(pump.Deliveries().at(0).ID, 901);
    ASSERT_EQ(tankPlain.count(), 2);
    EXPECT_EQ(tankPlain.at(0)[0].toInt(), 5);
    EXPECT_EQ(tankPlain.at(1)[0].toInt(), 6);
    ASSERT_EQ(tankEx2.count(), 1);
    EXPECT_EQ(tankEx2.at(0)[18].toInt(), 0x11);
    EXPECT_EQ(tankEx.count(), 1);
    EXPECT_EQ(tank.TankState(), 1);
    // FireDeliveryEvent: 0 when a control takes the delivery, 2 when none shows that pump.
    const QDateTime now = QDateTime::currentDateTime();
    EXPECT_EQ(m_client.FireDeliveryEvent(-1, 0, 0, 0, 1, 1, {}, 0, 0, {}, 0, 0, {}, {}, {}, 0, 0, 0,
                                         0, 0, 0, 0, now, 0, 0, 0, 0, now, 0, 0, 0, 0, 0, 0, 0, 0,
                                         0, {}, 0, 0, 0, {}, 0),
              0);
    EXPECT_TRUE(pump.Deliveries().isEmpty()); // -1 empties the list
    EXPECT_EQ(m_client.FireDeliveryEvent(-1, 0, 0, 0, 9, 9, {}, 0, 0, {}, 0, 0, {}, {}, {}, 0, 0, 0,
                                         0, 0, 0, 0, now, 0, 0, 0, 0, now, 0, 0, 0, 0, 0, 0, 0, 0,
                                         0, {}, 0, 0, 0, {}, 0),
              2);
}

TEST_F(FakeSite, KindsWithoutAReaderAreDroppedAndTheQueueDrains) {
    QSignalSpy logEvents(&m_client, &QVClient::LogEventEvent);
    QSignalSpy pumps(&m_client, &QVClient::PumpStatusEvent);
    // Kind 14, an unknown kind and a pump status of a variant the reader does not know (it
    // fails on it) all leave the queue; the log event behind them is raised.
    const std::vector<uint8_t> logEvent =
        EventFrame(24, 0,
                   {Value::I32(5), Value::I16(2), Value::I32(3), Value::I32(4), Value::Text(u"Dev"),
                    Value::I16(1), Value::I16(6), Value::Text(u"Low level"), Value::F64(45000.25),
                    Value::F64(0), Value::I32(-1), Value::I32(-1), Value::F64(1), Value::F64(2),
                    Value::F64(3), Value::F64(4), Value::F64(5), Value::F64(6)});
    LogOnAndPump({EventFrame(14, 0, {Value::I32(1)}), EventFrame(99, 0, {Value::I32(1)}),
                  EventFrame(1, 7, {Value::I32(1)}), logEvent},
                 [&] { return logEvents.count() >= 1; });
    ASSERT_EQ(logEvents.count(), 1);
    EXPECT_EQ(pumps.count(), 0);
    EXPECT_EQ(WaitingEvents(), 0);
    const QList<QVariant> l = logEvents.at(0);
    ASSERT_EQ(l.size(), 18);
    EXPECT_EQ(l[0].toInt(), 5);
    EXPECT_EQ(l[4].toString(), QStringLiteral("Dev"));
    EXPECT_EQ(l[7].toString(), QStringLiteral("Low level"));
    EXPECT_EQ(l[8].toDateTime(), QDateTime(QDate(2023, 3, 15), QTime(6, 0)));
    EXPECT_FALSE(l[9].toDateTime().isValid() && l[9].toDateTime().date().year() != 1899);
    EXPECT_DOUBLE_EQ(l[17].toDouble(), 6.0);
    EXPECT_TRUE(m_client.LoggedOn());
}

TEST_F(FakeSite, TheEventPollNoticesAServerGoneUnderALoggedOnClient) {
    QVClient::SetTimeouts(60000, 50);
    LogOnAndPump({}, [] { return true; });
    ASSERT_TRUE(m_client.EventPollRunning());
    QSignalSpy broken(&m_client, &QVClient::ServerConnectionBroken);
    m_fake.reset(); // both connections close
    // Nothing but the poll timer runs here.
    EXPECT_TRUE(broken.wait(3000));
    EXPECT_FALSE(m_client.LoggedOn());
    EXPECT_FALSE(m_client.EventPollRunning());
    EXPECT_TRUE(m_client.ReLogonPending());
    QVClient::SetTimeouts(10000, 5000);
}

TEST_F(FakeSite, TheConnectionTestOfThePollNoticesAServerThatStoppedAnswering) {
    QVClient::SetTimeouts(60000, 50);
    m_fake = std::make_unique<FakeServer>(std::vector<std::vector<uint8_t>>{});
    ASSERT_EQ(m_client.ClientLogonEx(41, 5, QString::fromLatin1(kFake), 5123, 5124, 200), 0);
    QSignalSpy broken(&m_client, &QVClient::ServerConnectionBroken);
    m_fake->StopAnswering();
    // The events connection stays open, so only TestConnection can tell (-23: no broken signal).
    for (int i = 0; i < 300 && m_client.LoggedOn(); ++i)
        QTest::qWait(10);
    EXPECT_FALSE(m_client.LoggedOn());
    EXPECT_TRUE(m_client.ReLogonPending());
    EXPECT_EQ(broken.count(), 0);
    QVClient::SetTimeouts(10000, 5000);
}

TEST_F(FakeSite, TheLibraryNoticeReadsEventsOrReportsAClosedSocket) {
    QSignalSpy logEvents(&m_client, &QVClient::LogEventEvent);
    QSignalSpy broken(&m_client, &QVClient::ServerConnectionBroken);
    m_fake = std::make_unique<FakeServer>(std::vector<std::vector<uint8_t>>{
        EventFrame(24, 0,
                   {Value::I32(6), Value::I16(2), Value::I32(3), Value::I32(4), Value::Text(u""),
                    Value::I16(1), Value::I16(6), Value::Text(u"x"), Value::F64(0), Value::F64(0),
                    Value::I32(-1), Value::I32(-1), Value::F64(0), Value::F64(0), Value::F64(0),
                    Value::F64(0), Value::F64(0), Value::F64(0)})});
    ASSERT_EQ(m_client.ClientLogonEx(41, 5, QString::fromLatin1(kFake), 5123, 5124, 2000), 0);
    for (int i = 0; i < 200 && logEvents.count() == 0; ++i) {
        QTest::qWait(10);
        m_client.OnLibraryMessage(0);
    }
    EXPECT_EQ(logEvents.count(), 1);
    EXPECT_EQ(broken.count(), 0);
    m_fake.reset();
    for (int i = 0; i < 200 && broken.count() == 0; ++i) {
        QTest::qWait(10);
        m_client.OnLibraryMessage(0);
    }
    EXPECT_EQ(broken.count(), 1);
    EXPECT_FALSE(m_client.LoggedOn());
}

TEST(LiveServer, ALogEventAddedOnTheServerArrivesAsLogEventEvent) {
    qvtest::TempDir dir;
    qvtest::ServerProcess server("127.0.71.7", dir.Path());
    ASSERT_TRUE(server.Start("demo"));
    QVClient client;
    ASSERT_EQ(client.ClientLogonEx(42, 5, QStringLiteral("127.0.71.7"), 5123, 5124, 3000), 0);
    QSignalSpy logEvents(&client, &QVClient::LogEventEvent);
    int32_t id = 0;
    BSTR text = ToBstr(QStringLiteral("Tür offen"));
    ASSERT_EQ(::AddLogEvent(1, 2, 3, 4, text, &id), 0);
    platform::SysFreeString(text);
    for (int i = 0; i < 200 && logEvents.count() == 0; ++i) {
        QTest::qWait(10);
        client.CheckEvents();
    }
    ASSERT_EQ(logEvents.count(), 1);
    const QList<QVariant> l = logEvents.at(0);
    EXPECT_EQ(l[0].toInt(), id);
    EXPECT_EQ(l[1].value<int16_t>(), 1);
    EXPECT_EQ(l[2].toInt(), 2);
    EXPECT_EQ(l[5].value<int16_t>(), 3);
    EXPECT_EQ(l[6].value<int16_t>(), 4);
    EXPECT_EQ(l[7].toString(), QStringLiteral("Tür offen"));
    EXPECT_TRUE(l[8].toDateTime().isValid());
    client.ClientLogoff();
}

// An attendant's logon and logoff made on the server arrive with their fields (the default
// event mask asks for both).
TEST(LiveServer, AttendantLogonAndLogoffArriveWithTheAttendantAndPump) {
    qvtest::TempDir dir;
    qvtest::ServerProcess server("127.0.71.7", dir.Path());
    ASSERT_TRUE(server.Start("demo"));
    QVClient client;
    ASSERT_EQ(client.ClientLogonEx(42, 5, QStringLiteral("127.0.71.7"), 5123, 5124, 3000), 0);
    QSignalSpy logons(&client, &QVClient::DBAttendantLogonEvent);
    QSignalSpy logoffs(&client, &QVClient::DBAttendantLogoffEvent);
    int32_t attendant = -1, pump = -1;
    ASSERT_EQ(client.GetAttendantByOrdinal(1, attendant), 0);
    ASSERT_EQ(client.GetPumpByOrdinal(2, pump), 0);
    ASSERT_EQ(client.AttendantLogon(attendant, pump), 0);
    ASSERT_EQ(client.AttendantLogoff(attendant), 0);
    for (int i = 0; i < 200 && logoffs.count() == 0; ++i) {
        QTest::qWait(10);
        client.CheckEvents();
    }
    ASSERT_EQ(logons.count(), 1);
    EXPECT_EQ(logons.at(0)[0].toInt(), attendant);
    EXPECT_EQ(logons.at(0)[1].toInt(), pump);
    ASSERT_EQ(logoffs.count(), 1);
    EXPECT_EQ(logoffs.at(0)[0].toInt(), attendant);
    client.ClientLogoff();
}

// The database kinds, zero deliveries and card reads: each raises its signal once, every field
// in its place, the texts and dates converted.
TEST_F(FakeSite, TheDatabaseKindsZeroDeliveriesAndCardReadsCarryEveryField) {
    QSignalSpy log(&m_client, &QVClient::DBLogEvent);
    QSignalSpy logged(&m_client, &QVClient::DBLogDeliveryEvent);
    QSignalSpy cleared(&m_client, &QVClient::DBClearDeliveryEvent);
    QSignalSpy stacked(&m_client, &QVClient::DBStackDeliveryEvent);
    QSignalSpy zero(&m_client, &QVClient::ZeroDeliveryEvent);
    QSignalSpy card(&m_client, &QVClient::CardReadEvent);
    const double when = 45000.25; // 15 March 2023, 06:00
    const QDateTime at(QDate(2023, 3, 15), QTime(6, 0));
    LogOnAndPump(
        {EventFrame(5, 0, {Value::I16(3), Value::I32(12), Value::F64(when), Value::Text(u"Día")}),
         EventFrame(6, 0,
                    {Value::I32(901), Value::I32(11), Value::I16(2), Value::I16(3),
                     Value::F64(20.5), Value::I16(2), Value::F64(1.5), Value::F64(30.75),
                     Value::F64(0.5), Value::I32(44), Value::I32(8), Value::F64(when)}),
         EventFrame(
             7, 0,
             {Value::I32(902), Value::I16(1), Value::I32(45), Value::F64(when), Value::I32(9)}),
         EventFrame(8, 0, {Value::I32(903)}),
         EventFrame(17, 0, {Value::I32(4), Value::I32(14), Value::I32(41), Value::I32(2)}),
         EventFrame(22, 0,
                    {Value::I32(7), Value::I32(70), Value::Text(u"Card ç"), Value::I32(4),
                     Value::I16(2), Value::I32(-1), Value::I64(0x1234567890LL), Value::F64(when)})},
        [&] { return card.count() >= 1; });
    ASSERT_EQ(log.count(), 1);
    const QList<QVariant> l = log.at(0);
    EXPECT_EQ(l[0].toInt(), 3);
    EXPECT_EQ(l[1].toInt(), 12);
    EXPECT_EQ(l[2].toDateTime(), at);
    EXPECT_EQ(l[3].toString(), QString::fromUtf8("Día"));

    ASSERT_EQ(logged.count(), 1);
    const QList<QVariant> d = logged.at(0);
    ASSERT_EQ(d.size(), 12);
    EXPECT_EQ(d[0].toInt(), 901);
    EXPECT_EQ(d[1].toInt(), 11);
    EXPECT_EQ(d[2].toInt(), 2);
    EXPECT_EQ(d[3].toInt(), 3);
    EXPECT_DOUBLE_EQ(d[4].toDouble(), 20.5);
    EXPECT_EQ(d[5].toInt(), 2);
    EXPECT_DOUBLE_EQ(d[6].toDouble(), 1.5);
    EXPECT_DOUBLE_EQ(d[7].toDouble(), 30.75);
    EXPECT_DOUBLE_EQ(d[8].toDouble(), 0.5);
    EXPECT_EQ(d[9].toInt(), 44);
    EXPECT_EQ(d[10].toInt(), 8);
    EXPECT_EQ(d[11].toDateTime(), at);

    ASSERT_EQ(cleared.count(), 1);
    const QList<QVariant> c = cleared.at(0);
    EXPECT_EQ(c[0].toInt(), 902);
    EXPECT_EQ(c[1].toInt(), 1);
    EXPECT_EQ(c[2].toInt(), 45);
    EXPECT_EQ(c[3].toDateTime(), at);
    EXPECT_EQ(c[4].toInt(), 9);

    ASSERT_EQ(stacked.count(), 1);
    EXPECT_EQ(stacked.at(0)[0].toInt(), 903);

    ASSERT_EQ(zero.count(), 1);
    const QList<QVariant> z = zero.at(0);
    EXPECT_EQ(z[0].toInt(), 4);
    EXPECT_EQ(z[1].toInt(), 14);
    EXPECT_EQ(z[2].toInt(), 41);
    EXPECT_EQ(z[3].toInt(), 2);

    ASSERT_EQ(card.count(), 1);
    const QList<QVariant> r = card.at(0);
    ASSERT_EQ(r.size(), 8);
    EXPECT_EQ(r[0].toInt(), 7);
    EXPECT_EQ(r[1].toInt(), 70);
    EXPECT_EQ(r[2].toString(), QString::fromUtf8("Card ç"));
    EXPECT_EQ(r[3].toInt(), 4);
    EXPECT_EQ(r[4].toInt(), 2);
    EXPECT_EQ(r[5].toInt(), -1);
    EXPECT_EQ(r[6].toLongLong(), 0x1234567890LL);
    EXPECT_EQ(r[7].toDateTime(), at);
    EXPECT_EQ(WaitingEvents(), 0);
}
