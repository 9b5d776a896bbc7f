// A QVClient and its pump and tank controls when the server goes away and comes back: a real
// qvserver killed (SIGKILL) and started again on the same database, or stopped (SIGSTOP) and
// continued. Servers on 127.0.79.1 .. 127.0.79.4.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>

#include "managed/Codes.h"
#include "managed/QVClient.h"
#include "managed/QVPump.h"
#include "managed/QVTank.h"
#include "managed/tests/QtApp.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace Halvora;
using qvtest::ServerProcess;
using qvtest::TempDir;

namespace {

// Waits (bounded) on the event loop until done() holds.
bool Await(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QTest::qWait(5);
    }
    return true;
}

// The longest time the UI thread went without running its event loop while it ran for ms: a
// timer ticking every 5 ms notes the gaps between its ticks.
qint64 LongestStall(int ms) {
    QElapsedTimer clock, sinceTick;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longest = std::max(longest, sinceTick.restart()); });
    clock.start();
    sinceTick.start();
    ticker.start(5);
    while (clock.elapsed() < ms)
        QTest::qWait(5);
    return std::max(longest, sinceTick.elapsed());
}

// The client with short timers: a re-logon every 300 ms, the event poll every 100 ms. The
// timers are shared by every client; the usual ones come back at the end.
class Reconnect : public ::testing::Test {
  protected:
    void SetUp() override { QVClient::SetTimeouts(300, 100); }
    void TearDown() override {
        m_client.ClientLogoff();
        QVClient::SetTimeouts(10000, 5000);
    }
    // Starts the demo site on `address` and logs on with a call timeout of callTimeoutMs.
    void Boot(const std::string& address, int32_t callTimeoutMs = 2000) {
        m_server = std::make_unique<ServerProcess>(address, m_dir.Path());
        ASSERT_TRUE(m_server->Start("demo"));
        ASSERT_EQ(m_client.ClientLogonEx(41, 5, QString::fromStdString(address), 5123, 5124,
                                         callTimeoutMs),
                  0);
    }

    TempDir m_dir;
    std::unique_ptr<ServerProcess> m_server;
    QVClient m_client;
};

TEST_F(Reconnect, AHostThatKeepsCallingIsLoggedOnAgain) {
    Boot("127.0.79.1");
    QSignalSpy broken(&m_client, &QVClient::ServerConnectionBroken);
    QSignalSpy back(&m_client, &QVClient::ServerReconnected);
    // The host refreshes its own view every 50 ms, far more often than the re-logon timer ticks.
    QTimer refresh;
    int calls = 0, notLoggedOn = 0;
    QObject::connect(&refresh, &QTimer::timeout, [&] {
        int32_t count = 0;
        ++calls;
        if (m_client.GetPumpsCount(count) == QV_NOT_LOGGED_ON) ++notLoggedOn;
    });
    refresh.start(50);

    m_server->Stop(SIGKILL);
    ASSERT_TRUE(broken.wait(3000));
    ASSERT_TRUE(m_server->Start("demo"));
    ASSERT_TRUE(Await([&] { return back.count() > 0; }, 5000))
        << calls << " calls, " << notLoggedOn << " of them while logged off";
    EXPECT_GT(notLoggedOn, 3) << "the host called while the client was logged off";
    EXPECT_TRUE(m_client.LoggedOn());
    int32_t count = 0;
    EXPECT_EQ(m_client.GetPumpsCount(count), 0);
    EXPECT_EQ(count, 4);
}

TEST_F(Reconnect, TheBlankStatusIsToldAndTheControlsAreReloadedAfterTheReLogon) {
    Boot("127.0.79.2");
    QVPump pump;
    pump.SetID(1);
    pump.SetQVClient(&m_client);
    QVTank tank;
    tank.SetID(4);
    tank.SetQVClient(&m_client);
    const int16_t idle = static_cast<int16_t>(Halvora::TPumpState::PUMP_STATE_IDLE);
    ASSERT_EQ(pump.PumpState(), idle);
    const double volume = tank.GaugeVolume();
    const int16_t stack = pump.StackSize();
    const QString tankName = tank.TankName();
    ASSERT_GT(volume, 0);

    // A host mirroring the controls through their status events.
    int16_t mirroredPump = -1, mirroredTankState = -1;
    double mirroredVolume = -1;
    QObject::connect(
        &pump, &QVPump::StatusEventEx2,
        [&](QVPump*, int32_t, int32_t, int16_t State, auto&&...) { mirroredPump = State; });
    QObject::connect(&tank, &QVTank::StatusEventEx2,
                     [&](QVTank*, int32_t, double GaugeVolume, double, double, double, double,
                         double, double, int32_t, const QString&, int32_t, const QString&, int16_t,
                         double, double, int32_t, int16_t, int16_t State, int32_t) {
                         mirroredVolume = GaugeVolume;
                         mirroredTankState = State;
                     });
    QSignalSpy pumpEvents(&pump, &QVPump::StatusEvent);
    QSignalSpy tankEvents(&tank, &QVTank::StatusEvent);
    QSignalSpy back(&m_client, &QVClient::ServerReconnected);

    m_server->Stop(SIGKILL);
    ASSERT_TRUE(Await([&] { return !m_client.LoggedOn(); }, 3000));
    // The blank status, told through the controls' events.
    EXPECT_EQ(pump.PumpState(), 0);
    EXPECT_EQ(mirroredPump, 0);
    EXPECT_EQ(pumpEvents.count(), 1);
    EXPECT_EQ(pump.PumpName(), QStringLiteral("Pump 1")) << "the properties stay";
    EXPECT_EQ(tank.TankState(), QVTank::kNoServerState);
    EXPECT_EQ(mirroredTankState, QVTank::kNoServerState);
    EXPECT_EQ(mirroredVolume, 0.0);
    EXPECT_EQ(tankEvents.count(), 1);
    EXPECT_EQ(tank.TankName(), tankName);
    // Calls while logged off change nothing more.
    int32_t count = 0;
    EXPECT_EQ(m_client.GetPumpsCount(count), QV_NOT_LOGGED_ON);
    EXPECT_EQ(pumpEvents.count(), 1);

    // Back on the same database: the idle pump and the still tank send nothing by themselves,
    // yet both show the server's values as soon as the client is logged on again.
    ASSERT_TRUE(m_server->Start("demo"));
    ASSERT_TRUE(back.wait(5000));
    EXPECT_EQ(pump.PumpState(), idle);
    EXPECT_EQ(mirroredPump, idle);
    EXPECT_EQ(pump.StackSize(), stack);
    EXPECT_EQ(pump.PumpName(), QStringLiteral("Pump 1"));
    EXPECT_NE(tank.TankState(), QVTank::kNoServerState);
    EXPECT_TRUE(tank.GaugeResponding());
    EXPECT_DOUBLE_EQ(tank.GaugeVolume(), volume);
    EXPECT_DOUBLE_EQ(mirroredVolume, volume);
    EXPECT_EQ(tank.TankName(), tankName);
}

TEST_F(Reconnect, AHungServerDoesNotStallTheScreen) {
    // Calls wait up to 1.5 s for a stopped server.
    Boot("127.0.79.3", 1500);
    QVPump pump;
    pump.SetID(2);
    pump.SetQVClient(&m_client);
    QSignalSpy back(&m_client, &QVClient::ServerReconnected);
    // Stopped while logged on: the event poll's connection test waits out the call timeout and
    // the client gives the logon up.
    ASSERT_EQ(::kill(m_server->Pid(), SIGSTOP), 0);
    ASSERT_TRUE(Await([&] { return !m_client.LoggedOn(); }, 6000));
    ASSERT_TRUE(m_client.ReLogonPending());

    // From now on only re-logons reach the stopped server, each one waiting out the timeout.
    const qint64 stall = LongestStall(4000);
    std::printf("longest event-loop stall while re-logons wait on a stopped server: %lld ms\n",
                static_cast<long long>(stall));
    EXPECT_LT(stall, 200);
    EXPECT_EQ(back.count(), 0);
    EXPECT_FALSE(m_client.LoggedOn());
    EXPECT_TRUE(m_client.ReLogonPending());

    // Continued, the server answers the next re-logon and the pump shows it again.
    ASSERT_EQ(::kill(m_server->Pid(), SIGCONT), 0);
    ASSERT_TRUE(Await([&] { return back.count() > 0; }, 8000));
    EXPECT_TRUE(m_client.LoggedOn());
    EXPECT_EQ(pump.PumpState(), static_cast<int16_t>(Halvora::TPumpState::PUMP_STATE_IDLE));
}

// Stops the server under a logged-on client and waits until a re-logon is under way.
void StopUntilReLogon(QVClient& client, ServerProcess& server) {
    ASSERT_EQ(::kill(server.Pid(), SIGSTOP), 0);
    ASSERT_TRUE(Await([&] { return !client.LoggedOn(); }, 6000));
    // Past the 300 ms timer: the re-logon's call now waits on the stopped server.
    QTest::qWait(500);
    ASSERT_TRUE(client.ReLogonPending());
}

// True when the process can log on to the server within a few seconds.
bool CanLogOn(QVClient& client, const QString& server) {
    return Await([&] { return client.ClientLogonEx(45, 5, server, 5123, 5124, 1500) == 0; }, 6000);
}

TEST_F(Reconnect, ALogoffOrAGoneClientDuringAReLogonEndsItsLogonWithoutWaiting) {
    const QString address = QStringLiteral("127.0.79.4");
    Boot(address.toStdString(), 1500);
    StopUntilReLogon(m_client, *m_server);
    QSignalSpy back(&m_client, &QVClient::ServerReconnected);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(m_client.ClientLogoff(), QV_NOT_LOGGED_ON);
    EXPECT_LT(clock.elapsed(), 200) << "the logoff does not wait for the re-logon";
    EXPECT_FALSE(m_client.ReLogonPending());
    ASSERT_EQ(::kill(m_server->Pid(), SIGCONT), 0);
    // The abandoned re-logon keeps no logon: the process can log on again, and the client is
    // not reconnected behind its host's back.
    EXPECT_TRUE(CanLogOn(m_client, address));
    EXPECT_EQ(back.count(), 0);

    // A client destroyed during a re-logon: at once, and the logon is not left held either.
    {
        QVClient gone;
        m_client.ClientLogoff();
        ASSERT_EQ(gone.ClientLogonEx(46, 5, address, 5123, 5124, 1500), 0);
        StopUntilReLogon(gone, *m_server);
        clock.restart();
    }
    EXPECT_LT(clock.elapsed(), 200) << "the client goes without waiting for the re-logon";
    ASSERT_EQ(::kill(m_server->Pid(), SIGCONT), 0);
    EXPECT_TRUE(CanLogOn(m_client, address));
}

} // namespace
