// QVClient driven by the library's window message alone (the event poll set far off), against a
// manually clocked demo server (127.0.74.1 .. 127.0.74.4): events read on the message, a killed
// server told by the closing message, the poll's ServerReconnected after the events connection
// was attached again, and the readers of server events, table triggers, ZigBee reports and
// terminal prompts raising their signals with every field.
#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

#include "managed/Conversions.h"
#include "managed/QVClient.h"
#include "managed/tests/QtApp.h"
#include "outside/qvclient/QVClientPlain.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace Halvora;

namespace {

class MessageDriven : public ::testing::Test {
  protected:
    void Boot(const char* address) {
        m_address = address;
        m_server = std::make_unique<qvtest::ServerProcess>(
            address, m_dir.Path(), std::vector<std::string>{"--clock", "manual"});
        ASSERT_TRUE(m_server->Start("demo"));
        // Only the library's message can drive the event pump within a test's time.
        QVClient::SetTimeouts(600000, 600000);
        m_client = std::make_unique<QVClient>();
        ASSERT_NE(m_client->WindowHandle(), 0);
        ASSERT_EQ(m_client->InternalClientLogon(42, 5, QStringLiteral("halvora"), 1, QString(), 0,
                                                QString::fromLatin1(address), 5123, 5124, 3000),
                  0);
    }
    void TearDown() override {
        if (m_client) m_client->ClientLogoff();
        m_client.reset();
        QVClient::SetTimeouts(10000, 5000);
    }
    int Ctl(const std::string& command) {
        const std::string line = qvtest::BuildDir() + "/bin/qvserver ctl " + m_address + " " +
                                 command + " >/dev/null 2>&1";
        const int raw = std::system(line.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    qvtest::TempDir m_dir;
    std::unique_ptr<qvtest::ServerProcess> m_server;
    std::unique_ptr<QVClient> m_client;
    std::string m_address;
};

} // namespace

TEST_F(MessageDriven, EventsAreRaisedOnTheLibrarysMessageWithoutThePoll) {
    Boot("127.0.74.1");
    QSignalSpy clientEvents(m_client.get(), &QVClient::ClientEvent);
    ASSERT_EQ(m_client->FireClientEvent(31, QStringLiteral("hello")), 0);
    ASSERT_TRUE(clientEvents.wait(3000));
    EXPECT_EQ(clientEvents.at(0)[0].toInt(), 42);
    EXPECT_EQ(clientEvents.at(0)[1].toInt(), 31);
    EXPECT_EQ(clientEvents.at(0)[2].toString(), QStringLiteral("hello"));
    // A second batch after the first was read is told again.
    ASSERT_EQ(m_client->FireClientEvent(32, QStringLiteral("again")), 0);
    ASSERT_TRUE(clientEvents.wait(3000));
    EXPECT_EQ(clientEvents.at(1)[1].toInt(), 32);
}

TEST_F(MessageDriven, AKilledServerIsAConnectionBrokenOnTheClosingMessage) {
    Boot("127.0.74.2");
    QSignalSpy broken(m_client.get(), &QVClient::ServerConnectionBroken);
    m_server->Stop(SIGKILL);
    ASSERT_TRUE(broken.wait(3000));
    EXPECT_FALSE(m_client->LoggedOn());
    EXPECT_TRUE(m_client->ReLogonPending());
}

TEST_F(MessageDriven, ThePollRaisesServerReconnectedOnceAfterANewEventsConnection) {
    Boot("127.0.74.3");
    QVClient::SetTimeouts(600000, 50);
    m_client->ClientLogoff();
    ASSERT_EQ(m_client->InternalClientLogon(42, 5, QStringLiteral("halvora"), 1, QString(), 0,
                                            QString::fromLatin1(m_address.c_str()), 5123, 5124,
                                            3000),
              0);
    QSignalSpy reconnected(m_client.get(), &QVClient::ServerReconnected);
    QSignalSpy broken(m_client.get(), &QVClient::ServerConnectionBroken);
    ASSERT_EQ(Ctl("drop-events"), 0);
    ASSERT_TRUE(reconnected.wait(3000));
    QTest::qWait(300); // several more ticks
    EXPECT_EQ(reconnected.count(), 1);
    EXPECT_EQ(broken.count(), 0);
    EXPECT_TRUE(m_client->LoggedOn());
}

TEST_F(MessageDriven, TheNewReadersRaiseTheirSignalsWithEveryField) {
    Boot("127.0.74.4");
    QSignalSpy server(m_client.get(), &QVClient::ServerEvent);
    QSignalSpy trigger(m_client.get(), &QVClient::DBTriggerEvent);
    QSignalSpy pan(m_client.get(), &QVClient::PanIDEvent);
    QSignalSpy zb(m_client.get(), &QVClient::ZB2GStatusEvent);
    QSignalSpy prompt(m_client.get(), &QVClient::QVTermPromptEvent);

    int32_t other = 0;
    BSTR empty = ToBstr(QString()), host = ToBstr(QString::fromLatin1(m_address.c_str()));
    ASSERT_EQ(InternalClientLogonMT(&other, 43, 5, empty, 1, empty, 0, host, 5123, 5124, 3000, 0, 0,
                                    1024),
              0);
    platform::SysFreeString(empty);
    platform::SysFreeString(host);
    ASSERT_TRUE(server.wait(3000));
    EXPECT_EQ(server.at(0)[0].toInt(), 1);
    EXPECT_EQ(server.at(0)[1].toString(), QStringLiteral("Client 43"));
    ClientLogoffMT(&other);

    ASSERT_EQ(m_client->SetZBCoordPan(2, 0x2C3D), 0);
    ASSERT_TRUE(pan.wait(3000));
    EXPECT_EQ(pan.at(0)[0].toInt(), 2);
    EXPECT_EQ(pan.at(0)[1].toInt(), 0x2C3D);

    ASSERT_EQ(Ctl("zb-status 2 0x0013A20040B1C2D3 180 -60 0x0013A20040000001 20 8 1200 1"), 0);
    ASSERT_TRUE(zb.wait(3000));
    const QList<QVariant> z = zb.at(0);
    EXPECT_EQ(z[0].toInt(), 2);
    EXPECT_EQ(z[1].value<int64_t>(), 0x0013A20040B1C2D3LL);
    EXPECT_EQ(z[2].value<int16_t>(), 180);
    EXPECT_EQ(z[3].value<int16_t>(), -60);
    EXPECT_EQ(z[4].value<int64_t>(), 0x0013A20040000001LL);
    EXPECT_EQ(z[5].value<int16_t>(), 20);
    EXPECT_EQ(z[6].toInt(), 8);
    EXPECT_EQ(z[7].toInt(), 1200);
    EXPECT_EQ(z[8].value<int16_t>(), 1);

    ASSERT_EQ(m_client->QVTermPrompt(1, 90, QStringLiteral("Driver?"), 2, 8, 0), 0);
    ASSERT_EQ(Ctl("prompt-answer 1 0 JONES"), 0);
    ASSERT_TRUE(prompt.wait(3000));
    EXPECT_EQ(prompt.at(0)[0].toInt(), 1);
    EXPECT_EQ(prompt.at(0)[1].toInt(), 90);
    EXPECT_EQ(prompt.at(0)[2].value<int16_t>(), 0);
    EXPECT_EQ(prompt.at(0)[3].toString(), QStringLiteral("JONES"));

    // Pump 1 of the demonstration site authorises itself; its sale is a row of Deliveries.
    ASSERT_EQ(Ctl("nozzle-up 1 1"), 0);
    ASSERT_EQ(Ctl("advance 30000"), 0);
    ASSERT_EQ(Ctl("nozzle-down 1"), 0);
    for (int i = 0; i < 300 && trigger.isEmpty(); ++i)
        QTest::qWait(10);
    ASSERT_FALSE(trigger.isEmpty());
    EXPECT_EQ(trigger.at(0)[0].toInt(), 1);
    int32_t count = 0, newest = 0;
    ASSERT_EQ(m_client->GetDeliveriesCount(1, count), 0);
    ASSERT_EQ(m_client->GetDeliveryByOrdinal(1, count, newest), 0);
    EXPECT_EQ(trigger.at(0)[1].toInt(), newest);

    QSignalSpy odo(m_client.get(), &QVClient::QVOdoEvent);
    ASSERT_EQ(Ctl("odo 2 0x0013A20040B1C2D3 190 -50 0x0013A20040000001 11 6 2048 3 3 "
                  "123456.5 10 2 98765.25 100 1 0x0102030405060708 2 3 4 7"),
              0);
    ASSERT_TRUE(odo.wait(3000));
    const QList<QVariant> o = odo.at(0);
    EXPECT_EQ(o[0].toInt(), 2);
    EXPECT_EQ(o[1].value<int64_t>(), 0x0013A20040B1C2D3LL);
    EXPECT_EQ(o[2].value<int16_t>(), 190);
    EXPECT_EQ(o[3].value<int16_t>(), -50);
    EXPECT_EQ(o[4].value<int64_t>(), 0x0013A20040000001LL);
    EXPECT_EQ(o[5].value<int16_t>(), 11);
    EXPECT_EQ(o[6].toInt(), 6);
    EXPECT_EQ(o[7].toInt(), 2048);
    EXPECT_EQ(o[8].value<int16_t>(), 3);
    EXPECT_EQ(o[9].toInt(), 3);
    EXPECT_FALSE(o[10].toString().isEmpty());
    EXPECT_EQ(o[11].value<int64_t>(), 0x77100003); // the card's tag text, in hexadecimal
    EXPECT_DOUBLE_EQ(o[12].toDouble(), 123456.5);
    EXPECT_EQ(o[13].toInt(), 10);
    EXPECT_EQ(o[14].value<int16_t>(), 2);
    EXPECT_DOUBLE_EQ(o[15].toDouble(), 98765.25);
    EXPECT_EQ(o[16].toInt(), 100);
    EXPECT_EQ(o[17].value<int16_t>(), 1);
    EXPECT_EQ(o[18].value<int64_t>(), 0x0102030405060708LL);
    EXPECT_EQ(o[19].value<int64_t>(), 2);
    EXPECT_EQ(o[20].value<int64_t>(), 3);
    EXPECT_EQ(o[21].value<int64_t>(), 4);
    EXPECT_EQ(o[22].toInt(), 7);
    EXPECT_EQ(o[23].toString(), QStringLiteral("13-AB-43"));

    EXPECT_EQ(m_client->ScheduleBeep(1, 5, 1), 2);
    EXPECT_EQ(m_client->FlashLEDS(1, 3, 200), 0);
    EXPECT_EQ(m_client->SetLineMode(1, 1), 0);
    EXPECT_EQ(m_client->SetLineMode(1, 9), 2);
}
