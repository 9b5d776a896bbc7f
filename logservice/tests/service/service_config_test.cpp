// The service object's logs and its "Log" settings, read while it is built and again when its
// main loop begins. No board runs: the watchdog driver and the controller link stay closed.
#include <chrono>
#include <memory>
#include <thread>

#include "logservice/CLogService.h"
#include "logservice/tests/service/ServiceRoot.h"

namespace {

using namespace servicetest;
using Clock = std::chrono::steady_clock;

class ServiceConfig : public ServiceRoot {
  protected:
    std::unique_ptr<CLogService> Build(const std::string& logSection) {
        SetProfile(logSection);
        return std::make_unique<CLogService>();
    }
    // Runs the main loop for about one pass and stops it.
    static void RunBriefly(CLogService& service) {
        std::thread loop([&] { service.Run(); });
        WaitFor([&] { return service.IsRunning(); }, 2000);
        service.RequestStop();
        loop.join();
    }
};

TEST_F(ServiceConfig, BothLogsAndTheWatchdogRecordWithoutProfile) {
    fs::remove(m_root / "DAVozuz" / "QVForecourt" / "Ostrel.ini");
    {
        CLogService service;
        CLog& log = service.ServiceLog();
        EXPECT_EQ(log.m_level, 1);
        EXPECT_EQ(log.m_maxSize, 1024000);
        EXPECT_EQ(log.m_maxFiles, 5);
        EXPECT_FALSE(log.m_screen);
        EXPECT_FALSE(log.m_hook);
        EXPECT_FALSE(log.m_stackTrace);
    }
    const std::string text = ServiceLogText();
    EXPECT_EQ(
        text.find("***START <Ostrel service executable Version(1,0,0,0:B19) Built(Jan  7 2025 "
                  "at 13:49:57)>"),
        text.find("***START")); // the first record
    EXPECT_NE(text.find("Watchdog created FFFFFFFF"), std::string::npos);
    EXPECT_NE(text.find("Watchdog closed"), std::string::npos);
    EXPECT_NE(text.find("****STOP <Ostrel service executable"), std::string::npos);
    EXPECT_EQ(text.find("Logging to path"), std::string::npos);
    // The alarms log gets its start and stop records and nothing else.
    const std::string alarms = ReadFile(m_root / "DAVozuz" / "LOG" / "QVAlarms.L00");
    EXPECT_EQ(Count(alarms, "\n"), 2) << alarms;
    EXPECT_EQ(Count(alarms, "***START <Ostrel service executable"), 1);
    EXPECT_EQ(Count(alarms, "****STOP <Ostrel service executable"), 1);
}

TEST_F(ServiceConfig, LevelOutsideOneToFiveIsOne) {
    for (const char* value : {"0", "6", "high", "-3"})
        EXPECT_EQ(Build(std::string("Level=") + value + "\r\n")->ServiceLog().m_level, 1) << value;
    EXPECT_EQ(Build("Level=5\r\n")->ServiceLog().m_level, 5);
    EXPECT_EQ(Build("Level=3\r\n")->ServiceLog().m_level, 3);
}

TEST_F(ServiceConfig, PathLimitsAndTheirDefaults) {
    fs::create_directories(m_root / "Logs Here");
    {
        auto service = Build("Path=  \\Logs Here  \r\nMaxSize=1024\r\nMaxFiles=3\r\n");
        EXPECT_EQ(service->ServiceLog().m_maxSize, 1024);
        EXPECT_EQ(service->ServiceLog().m_maxFiles, 3);
    }
    const std::string moved = ReadFile(m_root / "Logs Here" / "Ostrel.L00");
    EXPECT_NE(moved.find("Logging to path \\Logs Here , 1024 size 3 files"), std::string::npos)
        << moved;

    auto service = Build("Path=\\Logs Here\r\nMaxSize=1023\r\nMaxFiles=0\r\n");
    EXPECT_EQ(service->ServiceLog().m_maxSize, 1024000);
    EXPECT_EQ(service->ServiceLog().m_maxFiles, 5);
    service.reset();
    EXPECT_NE(ReadFile(m_root / "Logs Here" / "Ostrel.L00")
                  .find("Logging to path \\Logs Here , 1024000 size 5 files"),
              std::string::npos);
}

TEST_F(ServiceConfig, PathThatAppearsLateIsUsedAndOneThatNeverDoesIsDropped) {
    std::thread mount([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        fs::create_directories(m_root / "Late");
    });
    auto start = Clock::now();
    Build("Path=\\Late\r\nMaxSize=4096\r\n").reset();
    mount.join();
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(1400));
    EXPECT_NE(ReadFile(m_root / "Late" / "Ostrel.L00").find("Logging to path \\Late , 4096 size 5"),
              std::string::npos);

    fs::remove(m_root / "Ostrel.L00");
    start = Clock::now();
    auto service = Build("Path=\\Never\r\nMaxSize=4096\r\nMaxFiles=2\r\n");
    const auto took = Clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(9500));
    EXPECT_LT(took, std::chrono::seconds(20));
    EXPECT_EQ(service->ServiceLog().m_maxSize, 1024000);
    EXPECT_EQ(service->ServiceLog().m_maxFiles, 5);
    service.reset();
    EXPECT_FALSE(fs::exists(m_root / "Never"));
    const std::string text = ServiceLogText();
    EXPECT_NE(text.find("***START"), std::string::npos);
    EXPECT_EQ(text.find("Logging to path"), std::string::npos);
}

TEST_F(ServiceConfig, OutputSwitchesAtConstructionAndInTheLoop) {
    for (const char* yes : {"sim", "S", "yes", "TRUE", "1"})
        EXPECT_TRUE(Build(std::string("Screen=") + yes + "\r\n")->ServiceLog().m_screen) << yes;
    EXPECT_FALSE(Build("Screen=no\r\n")->ServiceLog().m_screen);
    auto service = Build("StackTrace=y\r\nSocket=yes\r\n");
    EXPECT_TRUE(service->ServiceLog().m_stackTrace);
    EXPECT_FALSE(service->ServiceLog().m_hook); // the hook waits for the loop
    RunBriefly(*service);
    EXPECT_TRUE(service->ServiceLog().m_hook);
}

TEST_F(ServiceConfig, FileAbsentIsOnWhileBuiltAndOffInTheLoop) {
    {
        auto service = Build("Level=1\r\n");
        service->ServiceLog().Write("built record");
        RunBriefly(*service);
        service->ServiceLog().Write("loop record");
    }
    const std::string text = ServiceLogText();
    EXPECT_NE(text.find("built record"), std::string::npos);
    EXPECT_EQ(text.find("entering main loop"), std::string::npos);
    EXPECT_EQ(text.find("loop record"), std::string::npos);
}

TEST_F(ServiceConfig, FileNoIsOffBothTimesAndYesStaysOn) {
    {
        auto service = Build("File=no\r\n");
        service->ServiceLog().Write("built record");
        RunBriefly(*service);
    }
    std::string text = ServiceLogText();
    EXPECT_NE(text.find("Watchdog created"), std::string::npos); // before the settings
    EXPECT_EQ(text.find("built record"), std::string::npos);
    EXPECT_EQ(text.find("entering main loop"), std::string::npos);

    fs::remove(m_root / "Ostrel.L00");
    {
        auto service = Build("File=Yes\r\n");
        RunBriefly(*service);
    }
    text = ServiceLogText();
    EXPECT_NE(text.find("Ostrel service entering main loop"), std::string::npos);
    EXPECT_NE(text.find("****STOP"), std::string::npos);
}

TEST_F(ServiceConfig, StopBeforeTheLoopSkipsItAndAStopInItEndsWithinAPass) {
    auto service = Build("File=Yes\r\n");
    service->RequestStop();
    auto start = Clock::now();
    service->Run();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_FALSE(service->IsRunning());

    service = Build("File=Yes\r\n");
    std::thread loop([&] { service->Run(); });
    ASSERT_TRUE(WaitFor([&] { return service->IsRunning(); }, 2000));
    start = Clock::now();
    service->RequestStop();
    loop.join();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(3000));
    EXPECT_FALSE(service->IsRunning());
}

TEST_F(ServiceConfig, AReportedMessageIsCutAt255Characters) {
    {
        auto service = Build("File=Yes\r\n");
        const std::string longText(400, 'x');
        service->ReportLine(false, "narrow %s", longText.c_str());
        const std::u16string wide(400, u'y');
        service->ReportLineWide(false, u"wide %s", wide.c_str());
    }
    const std::string text = ServiceLogText();
    EXPECT_NE(text.find(" narrow " + std::string(248, 'x') + "\n"), std::string::npos);
    EXPECT_NE(text.find(" wide " + std::string(250, 'y') + "\n"), std::string::npos);
}

} // namespace
