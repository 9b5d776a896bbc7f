// halvora-screen against a live server on 127.0.71.6: one pump control per pump and one tank
// control per tank, a screenshot on request, and a plain failure when there is no server.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

TEST(Screen, WithoutAServerItSaysSoAndFails) {
    QProcess screen;
    screen.start(ScreenProgram(), {QStringLiteral("127.0.71.7")});
    ASSERT_TRUE(screen.waitForFinished(30000));
    EXPECT_EQ(screen.exitCode(), 1);
    EXPECT_TRUE(screen.readAllStandardError().contains("cannot open the site on 127.0.71.7"));
    screen.start(ScreenProgram(), {QStringLiteral("--after"), QStringLiteral("soon")});
    ASSERT_TRUE(screen.waitForFinished(10000));
    EXPECT_EQ(screen.exitCode(), 2);
}

} // namespace
