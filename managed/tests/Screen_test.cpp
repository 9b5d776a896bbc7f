// halvora-screen against a live server on 127.0.71.6: one pump control per pump and one tank
// control per tank, a screenshot on request, and a plain failure when there is no server. On
// 127.0.71.20 a server on a manual clock takes one pump through two sales while the screen's
// pump control follows it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "managed/Codes.h"
#include "managed/QVClient.h"
#include "managed/QVPump.h"
#include "managed/art/ArtLayout.h"
#include "managed/screen/AttendantScreen.h"
#include "managed/tests/QtApp.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace Halvora;
using qvtest::ServerProcess;
using qvtest::TempDir;

namespace {

const QString kServer = QStringLiteral("127.0.71.6");

QString ScreenProgram() {
    return QString::fromStdString(qvtest::BuildDir()) + QStringLiteral("/bin/halvora-screen");
}

class Site : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_dir = new TempDir;
        s_server = new ServerProcess(kServer.toStdString(), s_dir->Path());
        ASSERT_TRUE(s_server->Start("demo"));
    }
    static void TearDownTestSuite() {
        delete s_server;
        delete s_dir;
    }
    static TempDir* s_dir;
    static ServerProcess* s_server;
};
TempDir* Site::s_dir = nullptr;
ServerProcess* Site::s_server = nullptr;

TEST_F(Site, TheScreenShowsEveryPumpAndTankOfTheSite) {
    AttendantScreen screen;
    ASSERT_EQ(screen.Open(kServer), 0);
    int32_t pumps = 0, tanks = 0;
    ASSERT_EQ(screen.Client().GetPumpsCount(pumps), 0);
    ASSERT_EQ(screen.Client().GetTanksCount(tanks), 0);
    ASSERT_GT(pumps, 0);
    ASSERT_EQ(screen.Pumps().size(), pumps);
    EXPECT_EQ(screen.Tanks().size(), tanks);
    EXPECT_EQ(screen.Client().PumpsRegistered(), pumps);
    EXPECT_EQ(screen.Client().TanksRegistered(), tanks);
    for (int i = 0; i < pumps; ++i)
        EXPECT_EQ(screen.Pumps()[i]->Number(), i + 1) << i;
    screen.Client().ClientLogoff();
}

TEST_F(Site, TheProgramSavesAScreenshot) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("screen.png"));
    QProcess screen;
    screen.start(ScreenProgram(), {kServer, QStringLiteral("--screenshot"), file,
                                   QStringLiteral("--after"), QStringLiteral("0.5")});
    ASSERT_TRUE(screen.waitForFinished(20000));
    EXPECT_EQ(screen.exitCode(), 0) << screen.readAllStandardError().toStdString();
    const QImage shot(file);
    ASSERT_FALSE(shot.isNull());
    // At least a row of pumps and a tank below it.
    EXPECT_GE(shot.height(), ArtLayout::kPumpSize.height() + ArtLayout::kTankSize.height());
    EXPECT_GE(shot.width(), ArtLayout::kPumpSize.width());
}

// A forecourt that moves only when the test says so, driven by 'qvserver ctl'.
class ManualSite : public ::testing::Test {
  protected:
    static constexpr char kAddress[] = "127.0.71.20";

    void SetUp() override {
        m_server = std::make_unique<ServerProcess>(kAddress, m_dir.Path(),
                                                   std::vector<std::string>{"--clock", "manual"});
        ASSERT_TRUE(m_server->Start("demo"));
        ASSERT_EQ(m_screen.Open(QString::fromLatin1(kAddress)), 0);
        ASSERT_FALSE(m_screen.Pumps().isEmpty());
    }
    void TearDown() override { m_screen.Client().ClientLogoff(); }

    // Runs 'qvserver ctl' against the server; true when the server accepted the command.
    bool Ctl(const QStringList& command) {
        QProcess ctl;
        ctl.start(QString::fromStdString(qvtest::BuildDir()) + QStringLiteral("/bin/qvserver"),
                  QStringList{QStringLiteral("ctl"), QString::fromLatin1(kAddress)} + command);
        return ctl.waitForFinished(10000) && ctl.exitStatus() == QProcess::NormalExit &&
               ctl.exitCode() == 0;
    }

    // Runs the screen's event pump until `done` holds; false when it does not within 10 s.
    template <typename Condition> bool AwaitScreen(Condition done) {
        QElapsedTimer timer;
        timer.start();
        while (!done()) {
            if (timer.elapsed() > 10000) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            m_screen.Client().CheckEvents();
        }
        return true;
    }
    bool AwaitState(const QVPump& pump, Halvora::TPumpState state) {
        return AwaitScreen([&] { return pump.PumpState() == static_cast<int16_t>(state); });
    }

    TempDir m_dir;
    std::unique_ptr<ServerProcess> m_server;
    AttendantScreen m_screen;
};

TEST_F(ManualSite, APumpControlFollowsTwoSalesFromCallingToTheStack) {
    // Pump 2 of the demo site waits for an authorisation when its nozzle is lifted.
    const QVPump* found = nullptr;
    for (const QVPump* p : m_screen.Pumps())
        if (p->ID() == 2) found = p;
    ASSERT_NE(found, nullptr);
    const QVPump& pump = *found;
    const QString id = QString::number(pump.ID());
    ASSERT_TRUE(AwaitState(pump, Halvora::TPumpState::PUMP_STATE_IDLE)) << pump.PumpState();
    EXPECT_EQ(pump.StackSize(), 0);

    for (int sale = 1; sale <= 2; ++sale) {
        SCOPED_TRACE(sale);
        ASSERT_TRUE(Ctl({QStringLiteral("nozzle-up"), id, QStringLiteral("1")}));
        ASSERT_TRUE(AwaitState(pump, Halvora::TPumpState::PUMP_STATE_CALLING)) << pump.PumpState();

        ASSERT_EQ(m_screen.Client().Authorise(pump.ID()), 0);
        ASSERT_TRUE(AwaitScreen([&] {
            return pump.PumpState() !=
                   static_cast<int16_t>(Halvora::TPumpState::PUMP_STATE_CALLING);
        }));
        const auto now = static_cast<Halvora::TPumpState>(pump.PumpState());
        EXPECT_TRUE(now == Halvora::TPumpState::PUMP_STATE_AUTHORISED ||
                    now == Halvora::TPumpState::PUMP_STATE_STARTING ||
                    now == Halvora::TPumpState::PUMP_STATE_DELIVERING)
            << pump.PumpState();
        EXPECT_EQ(pump.CurVolume(), 0.0);

        ASSERT_TRUE(Ctl({QStringLiteral("advance"), QStringLiteral("30000")}));
        ASSERT_TRUE(AwaitScreen([&] { return pump.CurVolume() > 0; }));
        EXPECT_EQ(pump.PumpState(),
                  static_cast<int16_t>(Halvora::TPumpState::PUMP_STATE_DELIVERING));

        // Hung up: the sale is stacked and the pump is free for the next customer.
        ASSERT_TRUE(Ctl({QStringLiteral("nozzle-down"), id}));
        ASSERT_TRUE(AwaitScreen([&] { return pump.StackSize() == sale; })) << pump.StackSize();
        EXPECT_TRUE(AwaitState(pump, Halvora::TPumpState::PUMP_STATE_IDLE)) << pump.PumpState();
    }
}

TEST(Screen, WithoutAServerItSaysSoAndFails) {
    QProcess screen;
    screen.start(ScreenProgram(), {QStringLiteral("127.0.71.11")});
    ASSERT_TRUE(screen.waitForFinished(30000));
    EXPECT_EQ(screen.exitCode(), 1);
    EXPECT_TRUE(screen.readAllStandardError().contains("cannot open the site on 127.0.71.11"));
    screen.start(ScreenProgram(), {QStringLiteral("--after"), QStringLiteral("soon")});
    ASSERT_TRUE(screen.waitForFinished(10000));
    EXPECT_EQ(screen.exitCode(), 2);
}

} // namespace
