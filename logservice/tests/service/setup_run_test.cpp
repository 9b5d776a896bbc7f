// The setup run from a pen drive, on the simulated board with the forecourt server, the
// board-built Dovetrix and the network library: the service object is built in this process
// and its removable-storage pass is called directly, as its main loop does every two seconds.
#include <chrono>
#include <memory>
#include <thread>

#include "logservice/CLogService.h"
#include "logservice/tests/service/ServiceRoot.h"

namespace {

using namespace servicetest;

class SetupRunTest : public ServiceRoot {
  protected:
    void SetUp() override {
        ServiceRoot::SetUp();
        m_pen = m_root / "pen";
        fs::create_directories(m_pen);
    }
    void TearDown() override {
        m_service.reset();
        ServiceRoot::TearDown();
    }
    void StartService(const std::vector<std::string>& options = {}) {
        StartBoard(options);
        SetProfile("Level=1\r\nFile=Yes\r\n");
        m_service = std::make_unique<CLogService>();
    }
    void Plug() {
        ASSERT_NE(m_board.Ctl("plug '" + m_pen.string() + "'").find("plugged"), std::string::npos);
    }
    void Unplug() { m_board.Ctl("unplug"); }
    // One pass, then the service log so far.
    std::string Pass() {
        m_service->ProcessSetupScript();
        return Log();
    }
    std::string Log() {
        m_service->ServiceLog().Flush();
        return ServiceLogText();
    }
    fs::path Drive() const { return m_root / "Hard Disk"; }
    std::string SetupLog() { return ReadFile(Drive() / "QVSetup.log"); }
    bool ServicesRunning() {
        const std::string s = m_board.Ctl("services");
        return s.find("QVServer QVS1: running") != std::string::npos &&
               s.find("QV2Serial QV21: running") != std::string::npos;
    }
    void Script(const std::string& text) { WriteFile(m_pen / "QVSetup.scp", text); }

    fs::path m_pen;
    std::unique_ptr<CLogService> m_service;
};

const char kWholeScript[] = "rem \"Site setup\"\r\n"
                            "   REM two words\r\n"
                            "rem\r\n"
                            "\r\n"
                            "exec\r\n"
                            "exec \\Windows\\Dovetrix.exe\r\n"
                            "Exec /bin/true \"VERSION \\versions.ini\"\r\n"
                            "exec \\Windows\\Dovetrix.exe VERSION\r\n"
                            "exec /bin/false x\r\n"
                            "exec \\Windows\\Missing.exe x\r\n"
                            "copy\r\n"
                            "copy \"\\Hard Disk\\files\\*.TXT\"\r\n"
                            "copy \"\\Hard Disk\\files\\*.TXT\" \\Target\r\n"
                            "COPY \"\\Hard Disk\\files\\?.dat\" \\Target\\\r\n"
                            "copy \"\\Hard Disk\\files\\*.none\" \\Target\r\n"
                            "md \\Target\\Sub\r\n"
                            "md \\Target\\Sub\r\n"
                            "md\r\n"
                            "rd \\Target\\Sub\r\n"
                            "rd \\Target\\Sub\r\n"
                            "rd\r\n"
                            "del \\Target\\a*.txt\r\n"
                            "del \\Target\\*.none\r\n"
                            "del\r\n"
                            "get IP\r\nget DHCP\r\nget boardname\r\nget subnetmask\r\n"
                            "get dns\r\nget TFTP\r\nget\r\nget gateway\r\n"
                            "set\r\nset IP\r\nset gateway 1.1.1.1\r\n"
                            "set DHCP YES\r\nget DHCP\r\nset dhcp 1\r\nget dhcp\r\n"
                            "set dhcp yes\r\nset IP 10.1.2.3\r\nset SubNetMask 255.255.0.0\r\n"
                            "set DNS 10.1.2.1\r\nset TFTP 10.1.2.2\r\nset BoardName SITE-7\r\n"
                            "save\r\nsave now\r\n"
                            "frobnicate\r\n";

TEST_F(SetupRunTest, EveryCommandWithItsReportsOnTheBoard) {
    StartService();
    const std::string longHeading(95, 'A'); // "rem " and 95 characters fill one read
    Script(kWholeScript + ("rem " + longHeading + "get IP\r\n"));
    fs::create_directories(m_pen / "files" / "dir.TXT");
    for (const char* name : {"a1.txt", "A2.TXT", "b.log", "x.dat"})
        WriteFile(m_pen / "files" / name, name);
    fs::create_directories(m_root / "Target");
    Plug();
    const std::string log = Pass();

    // The report on the drive is complete before the next pass closes it.
    const std::string expected = "Driver version      [QVDrv 4.02]\n"
                                 "Boot version        [QVBoot 2.10]\n"
                                 "Serial No           [QV0012345]\n"
                                 "\n*** Site setup *** \n"
                                 "\n*** two *** \n"
                                 "/bin/true VERSION \\versions.ini - successful.\n"
                                 // Dovetrix without its file shows its usage and ends with -1.
                                 "\\Windows\\Dovetrix.exe VERSION - failed!! exit code 255\n"
                                 "/bin/false x - failed!! exit code 1\n"
                                 "\\Windows\\Missing.exe x - failed!!\n"
                                 " 2 file(s) copied.  [\\Hard Disk\\files\\*.TXT -> \\Target]\n"
                                 " 1 file(s) copied.  [\\Hard Disk\\files\\?.dat -> \\Target\\]\n"
                                 " 0 file(s) copied.  [\\Hard Disk\\files\\*.none -> \\Target]\n"
                                 "directory \\Target\\Sub removed.\n"
                                 "directory \\Target\\Sub failed to remove!!\n"
                                 " 2 file(s) deleted. [\\Target\\a*.txt]\n"
                                 " 0 file(s) deleted. [\\Target\\*.none]\n"
                                 "IP address          [192.168.1.100]\n"
                                 "DHCP                [No]\n"
                                 "Network name        [QVBOARD]\n"
                                 "SubNet mask         [255.255.255.0]\n"
                                 "DNS                 [192.168.1.1]\n"
                                 "TFTP address        [192.168.1.1]\n"
                                 "Setting DHCP        [YES]\n"
                                 "DHCP                [Yes]\n"
                                 "Setting DHCP        [1]\n"
                                 "DHCP                [No]\n"
                                 "Setting DHCP        [yes]\n"
                                 "Setting IP Address  [10.1.2.3]\n"
                                 "Setting SubNet mask [255.255.0.0]\n"
                                 "Setting DNS         [10.1.2.1]\n"
                                 "Setting TFTP Address[10.1.2.2]\n"
                                 "Setting network name[SITE-7]\n"
                                 "IP Address updated successfully.\n"
                                 "\n*** " +
                                 longHeading +
                                 " *** \n"
                                 "IP address          [10.1.2.3]\n"
                                 "Driver version      [QVDrv 4.02]\n";
    EXPECT_EQ(SetupLog(), expected);

    // Lines for the service log only, in their places.
    for (const char* line : {"Pen drive found.",
                             "QVSetup.scp found.",
                             "config.ini extracted successfully",
                             "Starting to process QVSetup.scp....",
                             "invalid rem!!",
                             "empty line!!",
                             "exec invalid!!",
                             "exec command line invalid!!",
                             "copy source invalid!!",
                             "copy destination invalid !!",
                             "copying \\Hard Disk\\files\\A2.TXT to \\Target\\A2.TXT.",
                             "copying \\Hard Disk\\files\\a1.txt to \\Target\\a1.txt.",
                             "copying \\Hard Disk\\files\\dir.TXT to \\Target\\dir.TXT.",
                             "copying \\Hard Disk\\files\\x.dat to \\Target\\x.dat.",
                             "directory \\Target\\Sub created.",
                             "directory \\Target\\Sub failed to create!!",
                             "deleting \\Target\\A2.TXT.",
                             "deleting \\Target\\a1.txt.",
                             "invalid get!!",
                             "unknown get!!",
                             "invalid set!!",
                             "set parameter invalid!!",
                             "unknown set!!",
                             "unknown command!!",
                             "Processing complete.",
                             "Starting LED.",
                             "LED stopped."})
        EXPECT_NE(log.find(line), std::string::npos) << line;
    EXPECT_EQ(Count(log, "copy source invalid!!"), 4); // copy, md, rd, del without a word
    EXPECT_EQ(Count(log, "invalid set!!"), 2);         // set and save without a word
    EXPECT_LT(log.find("Starting LED."), log.find("Site setup"));

    // What the commands left behind, and the board afterwards.
    EXPECT_TRUE(fs::exists(m_root / "Target" / "x.dat"));
    EXPECT_FALSE(fs::exists(m_root / "Target" / "a1.txt"));
    EXPECT_FALSE(fs::exists(m_root / "Target" / "Sub"));
    EXPECT_FALSE(fs::exists(Drive() / "QVSetup.scp"));
    EXPECT_NE(ReadFile(m_root / "config.ini").find("["), std::string::npos);
    const std::string network = ReadFile(m_root / "Windows" / "QVNetwork.ini");
    for (const char* key : {"BoardName=SITE-7", "DHCP=Yes", "IP=10.1.2.3", "SubnetMask=255.255.0.0",
                            "DNS=10.1.2.1", "TFTP=10.1.2.2", "Gateway=192.168.1.1"})
        EXPECT_NE(network.find(key), std::string::npos) << key << "\n" << network;
    EXPECT_TRUE(ServicesRunning());
    EXPECT_GE(Count(m_board.Ctl("led"), "\n"), 2) << "the LED blinked";
    EXPECT_NE(m_board.Ctl("status").find("\nled off\n"), std::string::npos)
        << "the LED is back in its idle state";

    // The drive left in does nothing more; taking it out is noticed once.
    const std::string before = Log();
    m_service->ProcessSetupScript();
    m_service->ProcessSetupScript();
    EXPECT_EQ(Log(), before);
    Unplug();
    EXPECT_EQ(Count(Pass(), "Pen drive removed."), 1);
    EXPECT_EQ(Count(Pass(), "Pen drive removed."), 1);
}

TEST_F(SetupRunTest, SaveGivesUpAfterFiveFailedAttempts) {
    StartService();
    WriteFile(m_pen / "QVNetwork.fail", "5");
    Script("copy \"\\Hard Disk\\QVNetwork.fail\" \\Windows\r\nset IP 10.9.9.9\r\nsave x\r\n"
           "save x\r\n");
    Plug();
    Pass();
    const std::string report = SetupLog();
    EXPECT_EQ(Count(report, "IP Address updated  failed !!"), 1) << report;
    EXPECT_EQ(Count(report, "IP Address updated successfully."), 1) << report; // 6th call
    EXPECT_NE(report.find("IP Address updated  failed !!\nNetwork settings not changed.\n"),
              std::string::npos)
        << report;
    EXPECT_NE(ReadFile(m_root / "Windows" / "QVNetwork.ini").find("IP=10.9.9.9"),
              std::string::npos);
}

TEST_F(SetupRunTest, AFailedSaveSaysWhatItChanged) {
    StartService();
    Script("set IP 10.1.2.5\r\nset BoardName bad_name\r\nsave x\r\n");
    Plug();
    Pass();
    const std::string report = SetupLog();
    // The address was written and the name refused: the report says exactly that.
    EXPECT_NE(report.find("IP Address updated  failed !!\nIP address, subnet mask, TFTP, DHCP and "
                          "DNS changed; network name not changed.\n"),
              std::string::npos)
        << report;
    const std::string network = ReadFile(m_root / "Windows" / "QVNetwork.ini");
    EXPECT_NE(network.find("IP=10.1.2.5"), std::string::npos) << network;
    EXPECT_EQ(network.find("bad_name"), std::string::npos) << network;
}

TEST_F(SetupRunTest, NoScriptOrNoWritableReportEndsTheRunAtOnce) {
    StartService();
    WriteFile(m_pen / "QVSetup.log", "an earlier report\n");
    Plug();
    std::string log = Pass();
    EXPECT_NE(log.find("Pen drive found."), std::string::npos);
    EXPECT_EQ(log.find("QVSetup.scp found."), std::string::npos);
    EXPECT_EQ(SetupLog(), "an earlier report\n"); // nothing to say: the old report stays
    Unplug();
    Pass();
    fs::remove(m_pen / "QVSetup.log");

    Script("rem x\r\n");
    fs::create_directories(m_pen / "QVSetup.log"); // the report cannot be written
    Plug();
    log = Pass();
    EXPECT_EQ(Count(log, "Pen drive found."), 2);
    EXPECT_EQ(log.find("QVSetup.scp found."), std::string::npos);
    EXPECT_TRUE(fs::exists(Drive() / "QVSetup.scp"));
    EXPECT_TRUE(ServicesRunning());
}

TEST_F(SetupRunTest, AMissingDovetrixIsPassedOverAndAFailingOneIsReported) {
    StartService({"--address", "127.0.0.9"}); // Dovetrix looks for its server elsewhere
    Script("rem one\r\n");
    Plug();
    std::string log = Pass();
    EXPECT_EQ(log.find("config.ini extracted successfully"), std::string::npos);
    // Dovetrix ends with -1, which this platform's exit status carries as 255.
    EXPECT_NE(log.find("config.ini extraction failed, exit code 255"), std::string::npos) << log;
    EXPECT_NE(SetupLog().find("config.ini extraction failed, exit code 255"), std::string::npos);
    EXPECT_NE(SetupLog().find("*** one ***"), std::string::npos); // the run went on
    Unplug();
    Pass();

    fs::remove(m_root / "Windows" / "Dovetrix.exe");
    Script("rem two\r\n");
    Plug();
    log = Pass();
    EXPECT_EQ(Count(log, "config.ini extract"), 1); // nothing for the missing program
    EXPECT_NE(SetupLog().find("*** two ***"), std::string::npos);
    EXPECT_TRUE(ServicesRunning());
}

TEST_F(SetupRunTest, NoControllerEndsTheRunWithTheServicesStartedAgain) {
    StartService({"--controller", "0"});
    Script("rem x\r\n");
    WriteFile(m_pen / "QVSetup.log", "an earlier report\n");
    Plug();
    const std::string log = Pass();
    EXPECT_NE(log.find("Failed to open USB port."), std::string::npos);
    EXPECT_EQ(log.find("Starting to process"), std::string::npos);
    EXPECT_TRUE(fs::exists(Drive() / "QVSetup.scp"));
    EXPECT_TRUE(ServicesRunning());
    // The drive's report says why the script did not run.
    EXPECT_EQ(SetupLog(), "Failed to open USB port.\n");
    // Nothing more until the drive comes again.
    EXPECT_EQ(Pass(), log);
}

TEST_F(SetupRunTest, UnreadableNetworkSettingsEndTheRunWithTheServicesStartedAgain) {
    StartService();
    WriteFile(m_root / "Windows" / "QVNetwork.fail", "1");
    Script("rem x\r\n");
    Plug();
    const std::string log = Pass();
    EXPECT_NE(log.find("Serial No           [QV0012345]"), std::string::npos);
    EXPECT_EQ(log.find("Starting to process"), std::string::npos);
    const std::string report = SetupLog();
    EXPECT_NE(
        report.find("Serial No           [QV0012345]\nFailed to read the network settings.\n"),
        std::string::npos)
        << report;
    EXPECT_TRUE(fs::exists(Drive() / "QVSetup.scp"));
    EXPECT_TRUE(ServicesRunning());
}

TEST_F(SetupRunTest, TheServiceLoopRunsTheScriptOfANewDrive) {
    StartBoard();
    SetProfile("File=Yes\r\n");
    std::thread loop;
    m_service = std::make_unique<CLogService>();
    loop = std::thread([&] { m_service->Run(); });
    Script("rem looped\r\n");
    Plug();
    EXPECT_TRUE(WaitFor([&] { return !fs::exists(Drive() / "QVSetup.scp"); }, 30000));
    EXPECT_TRUE(WaitFor(
        [&] { return SetupLog().find("Driver version") != SetupLog().rfind("Driver version"); },
        10000));
    m_service->RequestStop();
    loop.join();
    EXPECT_NE(SetupLog().find("*** looped ***"), std::string::npos);
    EXPECT_TRUE(ServicesRunning());
}

TEST_F(SetupRunTest, AControllerSwappedDuringTheRunFailsTheSecondOpenAndTheRunCompletes) {
    StartService();
    const fs::path hold = m_root / "hold";
    WriteFile(hold, "");
    // The script waits in its exec until the test has swapped the controller.
    Script("rem before\r\nexec /bin/sh \"-c \"\"while test -e " + hold.string() +
           "; do sleep 0.1; done\"\"\"\r\nrem after\r\n");
    Plug();
    std::thread run([&] { m_service->ProcessSetupScript(); });
    // The report is flushed line by line, so the drive shows how far the run is.
    const bool waiting =
        WaitFor([&] { return SetupLog().find("*** before ***") != std::string::npos; }, 30000);
    if (waiting) {
        m_board.Stop();
        StartBoard({"--serial", "QV7654321"});
    }
    fs::remove(hold);
    run.join();
    ASSERT_TRUE(waiting);

    const std::string log = Log();
    EXPECT_NE(log.find("serial #'s different"), std::string::npos) << log;
    EXPECT_NE(log.find("Failed to open USB port.", log.find("Processing complete.")),
              std::string::npos);
    const std::string report = SetupLog();
    EXPECT_NE(report.find("*** after ***"), std::string::npos);
    EXPECT_EQ(Count(report, "Driver version"), 1) << report;
    EXPECT_NE(report.find(" - successful."), std::string::npos);
    EXPECT_TRUE(fs::is_directory(Drive())) << "the drive stayed in through the swap";
    EXPECT_FALSE(fs::exists(Drive() / "QVSetup.scp"));
    EXPECT_TRUE(ServicesRunning());
}

TEST_F(SetupRunTest, AStopEndsAHungExportAtOnce) {
    StartService();
    // The exported program hangs until the test lets it go.
    const fs::path hold = m_root / "hold";
    WriteFile(hold, "");
    fs::remove(m_root / "Windows" / "Dovetrix.exe");
    WriteFile(m_root / "Windows" / "Dovetrix.exe",
              "#!/bin/sh\nwhile test -e " + hold.string() + "; do sleep 0.1; done\n");
    fs::permissions(m_root / "Windows" / "Dovetrix.exe", fs::perms::owner_all);
    Script("rem never\r\n");
    WriteFile(m_pen / "QVSetup.log", "an earlier report\n");
    Plug();
    std::thread run([&] { m_service->ProcessSetupScript(); });
    const bool waiting =
        WaitFor([&] { return Log().find("QVSetup.scp found.") != std::string::npos; }, 30000);
    std::this_thread::sleep_for(std::chrono::milliseconds(700)); // well inside the wait
    const auto asked = std::chrono::steady_clock::now();
    m_service->RequestStop();
    // A run that does not see the stop ends only once its program does: let it go after a while.
    std::thread release([&] {
        WaitFor([&] { return !fs::exists(hold); }, 10000);
        fs::remove(hold);
    });
    run.join();
    const auto took = std::chrono::steady_clock::now() - asked;
    fs::remove(hold);
    release.join();
    ASSERT_TRUE(waiting);
    EXPECT_LT(took, std::chrono::milliseconds(3000));
    // The new report, which says why, replaced the earlier one whole.
    EXPECT_EQ(SetupLog(), "Setup run stopped: the service is stopping.\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(Drive()), fs::directory_iterator()), 2);
    EXPECT_TRUE(fs::exists(Drive() / "QVSetup.scp"));
    EXPECT_EQ(Log().find("Starting to process"), std::string::npos);
    EXPECT_TRUE(ServicesRunning());
}

TEST_F(SetupRunTest, APulledDriveEndsTheRunAndTheNextDriveRunsItsOwnScript) {
    StartService();
    const fs::path hold = m_root / "hold";
    WriteFile(hold, "");
    Script("rem first\r\n" + HoldLine(hold) + "rem after\r\n");
    WriteFile(m_pen / "QVSetup.log", "an earlier report\n");
    Plug();
    std::thread run([&] { m_service->ProcessSetupScript(); });
    const bool waiting =
        WaitFor([&] { return Log().find("*** first ***") != std::string::npos; }, 30000);
    // Drive A is pulled in the middle of its run and drive B goes in at once.
    Unplug();
    const fs::path second = m_root / "pen2";
    WriteFile(second / "QVSetup.scp", "rem second\r\n");
    ASSERT_NE(m_board.Ctl("plug '" + second.string() + "'").find("plugged"), std::string::npos);
    fs::remove(hold);
    run.join();
    ASSERT_TRUE(waiting);

    // A keeps its earlier report; the new one, beside it, stops where A was pulled: what the
    // run did after is not written to it.
    EXPECT_EQ(ReadFile(m_pen / "QVSetup.log"), "an earlier report\n");
    std::string first;
    for (const auto& entry : fs::directory_iterator(m_pen))
        if (entry.path().filename().string().rfind("QVSetup.log.", 0) == 0)
            first = ReadFile(entry.path());
    EXPECT_NE(first.find("*** first ***"), std::string::npos);
    EXPECT_EQ(first.find(" - successful."), std::string::npos) << first;
    EXPECT_EQ(first.find("*** after ***"), std::string::npos) << first;
    EXPECT_TRUE(fs::exists(m_pen / "QVSetup.scp")); // A's script stays for its next insertion
    std::string log = Log();
    EXPECT_NE(log.find("Pen drive removed during the setup run."), std::string::npos) << log;
    EXPECT_EQ(log.find("Processing complete."), std::string::npos);
    EXPECT_TRUE(ServicesRunning());

    // B is a new insertion: its script runs and only its script is deleted.
    ASSERT_TRUE(fs::exists(Drive() / "QVSetup.scp")) << "the run deleted the next drive's script";
    log = Pass();
    EXPECT_EQ(Count(log, "Pen drive removed."), 1);
    EXPECT_EQ(Count(log, "Pen drive found."), 2);
    EXPECT_NE(SetupLog().find("*** second ***"), std::string::npos);
    EXPECT_FALSE(fs::exists(Drive() / "QVSetup.scp"));
}

TEST_F(SetupRunTest, ScriptPathsStayInTheDeviceRootAndPatternsTakeEveryName) {
    StartService();
    // A file beside the device root, which a script must not reach.
    const fs::path victim = m_root.parent_path() / (m_root.filename().string() + "-victim.txt");
    WriteFile(victim, "keep");
    const std::string escape = "\\..\\" + victim.filename().string();
    Script("del \"" + escape +
           "\"\r\n"
           "copy \"" +
           escape +
           "\" \\Target\r\n"
           "copy \"\\Hard Disk\\f\\*.txt\" \\Target\r\n"
           "del \\Target\\*.*\r\n");
    // Names from a technician's computer (UTF-8), and one without a dot.
    for (const char* name : {"a.txt", "\xC3\x84rger.txt", "\xC3\x9F.txt", "README"})
        WriteFile(m_pen / "f" / name, name);
    fs::create_directories(m_root / "Target");
    WriteFile(m_root / "Target" / "NODOT", "x");
    Plug();
    Pass();
    const std::string report = SetupLog();
    EXPECT_NE(report.find(" 0 file(s) deleted. [" + escape + "]"), std::string::npos) << report;
    EXPECT_NE(report.find(" 0 file(s) copied.  [" + escape + " -> \\Target]"), std::string::npos);
    EXPECT_EQ(ReadFile(victim), "keep");
    fs::remove(victim);
    EXPECT_NE(report.find(" 3 file(s) copied.  [\\Hard Disk\\f\\*.txt -> \\Target]"),
              std::string::npos)
        << report;
    // "*.*" takes every name, the one without a dot too.
    EXPECT_NE(report.find(" 4 file(s) deleted. [\\Target\\*.*]"), std::string::npos) << report;
    EXPECT_TRUE(fs::is_empty(m_root / "Target"));
}

TEST_F(SetupRunTest, TheLedIsIdleAfterEveryRun) {
    StartService();
    for (int i = 0; i < 3; ++i) {
        Script("rem x\r\nexec /bin/sleep 0." + std::to_string(3 + i) + "\r\n");
        Plug();
        Pass();
        EXPECT_NE(m_board.Ctl("status").find("\nled off\n"), std::string::npos) << i;
        Unplug();
        Pass();
    }
}

} // namespace
