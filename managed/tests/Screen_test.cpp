// halvora-screen against a live server on 127.0.71.6: one pump control per pump and one tank
// control per tank, a screenshot on request, and a plain failure when there is no server. On
// 127.0.71.20 a server on a manual clock takes one pump through two sales while the screen's
// pump control follows it. On 127.0.71.21 a simulated forecourt is killed and started again
// under a screen, which shows it as the server has it right after the re-logon.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "managed/Codes.h"
#include "managed/QVClient.h"
#include "managed/QVPump.h"
#include "managed/QVTank.h"
#include "managed/art/ArtLayout.h"
#include "managed/screen/AttendantScreen.h"
#include "managed/tests/QtApp.h"
#include "outside/qvclient/tests/ServerProcess.h"
#include "testing/CommandLine.h"
#include "testing/Files.h"
#include "testing/FullDisk.h"
#include "testing/Run.h"
#include "testing/TempDir.h"

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

// The screenshot's place is checked before the wait: a folder that is not there, or a folder
// where the file should be, ends the program at once (here a minute early).
TEST_F(Site, AScreenshotThatCannotBeWrittenIsRefusedBeforeTheWait) {
    qvtesting::TempDir dir("qvscreen");
    struct Case {
        std::string file;
        std::string reason;
    };
    const Case cases[] = {
        {dir.Str() + "/no/such/screen.png", "no such folder"},
        {dir.Str(), "is a folder"},
    };
    for (const Case& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const qvtesting::RunResult r =
            qvtesting::Run(ScreenProgram().toStdString(),
                           {kServer.toStdString(), "--screenshot", c.file, "--after", "60"});
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "halvora-screen: cannot write " + c.file + ": " + c.reason + "\n");
    }
}

// A full disk: the picture does not fit into a small tmpfs of a mount namespace of its own. It
// says so, and neither the screenshot nor a piece of it is left.
TEST_F(Site, AScreenshotOnAFullDiskSaysSoAndLeavesNothing) {
    if (!qvtesting::TmpfsAvailable()) GTEST_SKIP() << "no mount namespace with a tmpfs here";
    qvtesting::TempDir dir("qvscreen");
    const std::string shot = dir.Str() + "/screen.png";
    const qvtesting::RunResult r = qvtesting::RunWithTmpfs(
        dir.Str(), 4,
        ScreenProgram().toStdString() + " " + kServer.toStdString() + " --screenshot " + shot +
            " --after 0.2; code=$?; ls -A " + dir.Str() + "; exit $code",
        false);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("halvora-screen: cannot write " + shot + ": disk full\n"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.out, "") << "left on the full disk";
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
    // The demo site stacks the day's last sales from the evening on: count on from what it holds.
    const int16_t stackedBefore = pump.StackSize();

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
        ASSERT_TRUE(AwaitScreen([&] { return pump.StackSize() == stackedBefore + sale; }))
            << pump.StackSize();
        EXPECT_TRUE(AwaitState(pump, Halvora::TPumpState::PUMP_STATE_IDLE)) << pump.PumpState();
    }
}

// Every pump and tank control shows what the server says of its pump or tank.
void ExpectShownAsTheServerHasThem(AttendantScreen& screen) {
    QVClient& client = screen.Client();
    for (const QVPump* pump : screen.Pumps()) {
        SCOPED_TRACE(pump->ID());
        int16_t state = -1, reservedFor = 0, level = 0;
        int32_t reservedBy = 0, hoseID = 0, hoseNumber = 0, gradeID = 0, stack = 0;
        double price = 0, volume = 0, value = 0;
        QString grade, shortGrade;
        ASSERT_EQ(client.GetPumpStatus(pump->ID(), state, reservedFor, reservedBy, hoseID,
                                       hoseNumber, gradeID, grade, shortGrade, level, price, volume,
                                       value, stack),
                  0);
        EXPECT_EQ(pump->PumpState(), state);
        EXPECT_NE(pump->PumpState(), 0) << "not off line";
        EXPECT_EQ(pump->ReservedFor(), reservedFor);
        EXPECT_EQ(pump->HoseID(), hoseID);
        EXPECT_EQ(pump->StackSize(), stack);
        EXPECT_DOUBLE_EQ(pump->CurVolume(), volume);
        EXPECT_DOUBLE_EQ(pump->CurValue(), value);
        EXPECT_DOUBLE_EQ(pump->CurPrice(), price);
    }
    for (const QVTank* tank : screen.Tanks()) {
        SCOPED_TRACE(tank->ID());
        double v, tc, ullage, temperature, gaugeLevel, wv, wl, capacity, diameter;
        int32_t number, gradeID, gauge, alarms;
        int16_t type, probe, state;
        QString name, grade;
        ASSERT_EQ(client.GetTankSummaryEx2(tank->ID(), v, tc, ullage, temperature, gaugeLevel, wv,
                                           wl, number, name, gradeID, grade, type, capacity,
                                           diameter, gauge, probe, state, alarms),
                  0);
        EXPECT_EQ(tank->TankState(), state);
        EXPECT_DOUBLE_EQ(tank->GaugeVolume(), v);
        EXPECT_DOUBLE_EQ(tank->GaugeLevel(), gaugeLevel);
        EXPECT_EQ(tank->TankName(), name);
        EXPECT_EQ(tank->GradeName(), grade);
    }
}

// The number of colour channels further than 8 apart between two pictures of one size.
int Differences(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return -1;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 8 || std::abs(qGreen(p) - qGreen(q)) > 8 ||
                std::abs(qBlue(p) - qBlue(q)) > 8)
                ++differing;
        }
    return differing;
}

// halvora-screen against 'qvserver --simulate': customers come and go, then the server is
// killed and started again on its database. Within two seconds of the re-logon every control
// shows the forecourt as the server has it, and the screen looks as a screen opened afresh on
// that server does.
TEST(Screen, AfterAKilledServerComesBackEveryPumpAndTankIsShownAsTheServerHasThem) {
    const std::string address = "127.0.71.21";
    const QString server = QString::fromStdString(address);
    TempDir dir;
    ServerProcess forecourt(address, dir.Path(),
                            {"--clock", "manual", "--simulate", "--seed-random", "3"});
    ASSERT_TRUE(forecourt.Start("demo"));
    const auto ctl = [&](const std::string& command) {
        return qvtesting::ServerCtl(address, command) == 0;
    };
    QVClient::SetTimeouts(300, 100);
    {
        AttendantScreen screen;
        ASSERT_EQ(screen.Open(server), 0);
        screen.show();
        // Four minutes of customers: sales on the stacks, tanks drawn down.
        for (int minute = 0; minute < 4; ++minute)
            ASSERT_TRUE(ctl("advance 60000"));
        QTest::qWait(300);

        QSignalSpy back(&screen.Client(), &QVClient::ServerReconnected);
        forecourt.Stop(SIGKILL);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !screen.Client().LoggedOn(); }, 3000));
        for (const QVPump* pump : screen.Pumps())
            EXPECT_EQ(pump->PumpState(), 0) << pump->ID();
        for (const QVTank* tank : screen.Tanks())
            EXPECT_EQ(tank->TankState(), QVTank::kNoServerState) << tank->ID();

        ASSERT_TRUE(forecourt.Start("demo"));
        ASSERT_TRUE(back.wait(5000));
        QElapsedTimer sinceReLogon;
        sinceReLogon.start();
        ExpectShownAsTheServerHasThem(screen);
        QTest::qWait(100); // the repaints
        const QImage shown = screen.grab().toImage();
        EXPECT_LT(sinceReLogon.elapsed(), 2000);

        // The same server seen by a screen opened afresh.
        QTemporaryDir shots;
        const QString fresh = shots.filePath(QStringLiteral("fresh.png"));
        QProcess program;
        program.start(ScreenProgram(), {server, QStringLiteral("--screenshot"), fresh,
                                        QStringLiteral("--after"), QStringLiteral("1")});
        ASSERT_TRUE(program.waitForFinished(20000));
        ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        const QImage expected(fresh);
        const int differing = Differences(shown.convertToFormat(QImage::Format_RGB32),
                                          expected.convertToFormat(QImage::Format_RGB32));
        if (differing != 0) {
            const QString kept = QString::fromStdString(qvtest::BuildDir()) +
                                 QStringLiteral("/screen-after-relogon");
            shown.save(kept + QStringLiteral(".got.png"));
            expected.save(kept + QStringLiteral(".fresh.png"));
        }
        EXPECT_EQ(differing, 0) << "pictures kept as " << qvtest::BuildDir()
                                << "/screen-after-relogon.*.png";
        screen.Client().ClientLogoff();
    }
    QVClient::SetTimeouts(10000, 5000);
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

// Help and version on standard output; a wrong line is one named mistake with the hint, before
// any display or server is needed.
TEST(Screen, TheCommandLineKeepsTheConventions) {
    const std::string program = ScreenProgram().toStdString();
    EXPECT_EQ(qvtesting::HelpProblem(qvtesting::Run(program, {"--help"}),
                                     "usage: halvora-screen [SERVER]"),
              "");
    EXPECT_EQ(qvtesting::VersionProblem(qvtesting::Run(program, {"--version"}), "halvora-screen"),
              "");
    struct Case {
        std::vector<std::string> args;
        std::string mistake;
    };
    const Case cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"127.0.71.11", "127.0.71.12"}, "unexpected argument '127.0.71.12' (one SERVER only)"},
        {{"--screenshot"}, "option '--screenshot' needs a value (FILE)"},
        {{"--screenshot", "s.png", "--after"}, "option '--after' needs a value (SECONDS)"},
        {{"--screenshot", "s.png", "--after", "soon"},
         "invalid value 'soon' for --after: expected seconds from 0 to 86400"},
        {{"--screenshot", "s.png", "--after", "-1"},
         "invalid value '-1' for --after: expected seconds from 0 to 86400"},
        {{"127.0.71.11", "--after", "30"}, "--after needs --screenshot FILE"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qvtesting::UsageErrorProblem(qvtesting::Run(program, c.args), "halvora-screen",
                                               c.mistake),
                  "");
}

// Without a display (and no platform chosen) Qt would abort; the program says what it needs.
TEST(Screen, WithoutADisplayItSaysWhatItNeedsInsteadOfAborting) {
    const qvtesting::RunResult r =
        qvtesting::RunShell("env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY " +
                            ScreenProgram().toStdString() + " 127.0.71.11");
    EXPECT_TRUE(WIFEXITED(r.status)) << "ended by signal " << WTERMSIG(r.status);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "halvora-screen: needs a display: set DISPLAY (or WAYLAND_DISPLAY), or "
                     "QT_QPA_PLATFORM=offscreen to run without one\n");
    EXPECT_EQ(r.out, "");
}

} // namespace
