// halvora-screen against a live server on 127.0.71.6: one pump control per pump and one tank
// control per tank, a screenshot on request, and a plain failure when there is no server. On
// 127.0.71.20 a server on a manual clock takes one pump through two sales while the screen's
// pump control follows it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
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
#include "testing/CommandLine.h"
#include "testing/Files.h"
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
    if (qvtesting::RunShell("unshare -m true").exitCode != 0)
        GTEST_SKIP() << "mount namespaces are not permitted here";
    qvtesting::TempDir dir("qvscreen");
    const std::string shot = dir.Str() + "/screen.png";
    const qvtesting::RunResult r = qvtesting::RunShell(
        "unshare -m sh -c 'mount -t tmpfs -o size=4k tmpfs " + dir.Str() + " && " +
        ScreenProgram().toStdString() + " " + kServer.toStdString() + " --screenshot " + shot +
        " --after 0.2; code=$?; ls -A " + dir.Str() + "; exit $code'");
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
