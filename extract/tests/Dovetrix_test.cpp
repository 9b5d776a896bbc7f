// The desktop build of Dovetrix run as a program: usage texts, exit codes, keywords, switches,
// the logon tries and its log, in a temporary device root against the server simulator.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <string>
#include <vector>

#include "extract/tests/ToolTestSupport.h"
#include "testing/Background.h"
#include "testing/FullDisk.h"
#include "testing/Wait.h"

using namespace tooltest;

namespace {

const char* const kUsage = "Dovetrix IMPORT | EXPORT | VERSION <destination INI file name> "
                           "[<server name>|<server IP>] [/PAM | /Company] \n";
const char* const kUsageNoFile = "Dovetrix IMPORT | EXPORT <destination INI file name> "
                                 "[<server name>|<server IP>] [/PAM | /Company] \n";

// Loopback addresses of this binary: 127.0.20.100 to 127.0.20.199.
std::string NextAddress() {
    static int next = 100;
    return "127.0.20." + std::to_string(next++);
}

RunResult Dovetrix(const std::vector<std::string>& args) {
    return Run(BuildDir() + "/bin/Dovetrix", args);
}

int TryLines(const std::string& out) {
    return CountOf(out, "Try ");
}

void WriteText(const std::string& path, const std::string& text) {
    qvtesting::WriteFile(path, text);
}

class DovetrixTest : public testing::Test {
  protected:
    void SetUp() override { m_root.LinkLibrary(); }
    std::string File(const char* name = "cfg.ini") const { return m_root.Path(name).string(); }
    DeviceRoot m_root;
};

} // namespace

TEST_F(DovetrixTest, UsageTexts) {
    struct Row {
        std::vector<std::string> args;
        const char* usage;
    };
    const Row rows[] = {
        {{}, kUsage},
        {{"EXPORT"}, kUsage},
        {{"EXPORT", "/PAM"}, kUsageNoFile},
        {{"import", "/NoProducts", "/IPT"}, kUsageNoFile},
    };
    for (const Row& row : rows) {
        const RunResult r = Dovetrix(row.args);
        EXPECT_EQ(r.exitCode, 255) << row.args.size();
        EXPECT_EQ(r.out, row.usage) << row.args.size();
    }
}

TEST_F(DovetrixTest, LibraryIsLoadedOnlyWithTwoArguments) {
    Dovetrix({"EXPORT"});
    std::string log = m_root.DesktopLog();
    EXPECT_EQ(log.find("QVClient ["), std::string::npos) << log;

    Dovetrix({"EXPORT", "/PAM"});
    log = m_root.DesktopLog();
    EXPECT_EQ(CountOf(log, "QVClient [C:\\QVForecourt\\QVClient.DLL] loaded successfully"), 1)
        << log;
}

TEST_F(DovetrixTest, LogStartsWithStartAndEndsWithStop) {
    Dovetrix({"EXPORT", File(), NextAddress()});
    const std::vector<std::string> lines = Lines(m_root.DesktopLog());
    ASSERT_GE(lines.size(), 3u);
    EXPECT_NE(lines.front().find(" ***START <2.6.0.0>"), std::string::npos) << lines.front();
    EXPECT_NE(lines.back().find(" ****STOP <2.6.0.0>"), std::string::npos) << lines.back();
    EXPECT_EQ(CountOf(m_root.DesktopLog(), "****STOP"), 1);
}

TEST_F(DovetrixTest, MissingLibraryFailsTheLogonWithAnEmptyText) {
    fs::remove(m_root.Path("C/QVForecourt/QVClient.DLL"));
    const RunResult r = Dovetrix({"export", File()});
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_EQ(r.out, "Dovetrix 2.6.0.0\n\n"
                     "Connecting to 127.0.0.1 for export.\n"
                     "Try 1, Connecting to 127.0.0.1 for export.\n"
                     "Logon failed - .\n");
    const std::string log = m_root.DesktopLog();
    EXPECT_NE(log.find("QVClient [C:\\QVForecourt\\QVClient.DLL] not found/loaded!!"),
              std::string::npos);
    EXPECT_NE(log.find("Logon failed - 65."), std::string::npos);
    // Standard error says where the library was looked for and what lays it out.
    EXPECT_NE(r.err.find("C:\\QVForecourt\\QVClient.DLL"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(m_root.Path("C/QVForecourt/QVClient.DLL").string()), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("qvroot-provision"), std::string::npos) << r.err;
}

TEST_F(DovetrixTest, UnreachableServerTriesSixTimesForImportOnceForExport) {
    const std::string nobody = NextAddress();
    RunResult r = Dovetrix({"IMPORT", File(), nobody});
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_EQ(TryLines(r.out), 6) << r.out;
    for (int i = 1; i <= 6; ++i) {
        const std::string line =
            "Try " + std::to_string(i) + ", Connecting to " + nobody + " for import.\n";
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
    }
    EXPECT_NE(r.out.find("Logon failed - "), std::string::npos);

    r = Dovetrix({"EXPORT", File(), nobody});
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_EQ(TryLines(r.out), 1) << r.out;
    EXPECT_FALSE(fs::exists(File())); // nothing written without a logon
}

TEST_F(DovetrixTest, KeywordsIgnoreCaseAndLaterOnesWin) {
    const std::string nobody = NextAddress();
    struct Row {
        std::vector<std::string> args;
        const char* mode;
        int tries;
    };
    const Row rows[] = {
        {{"export", "cfg.ini", nobody}, "export", 1},
        {{"ImPoRt", "cfg.ini", nobody}, "import", 6},
        {{"EXPORT", "IMPORT", "cfg.ini", nobody}, "import", 6},
        {{"IMPORT", "cfg.ini", "export", nobody}, "export", 1},
        {{"import", "cfg.ini", nobody, "version"}, "export", 1},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args = row.args;
        for (std::string& a : args) {
            if (a == "cfg.ini") a = File();
        }
        const RunResult r = Dovetrix(args);
        const std::string connecting = "Connecting to " + nobody + " for " + row.mode + ".\n";
        EXPECT_EQ(r.out.find("Dovetrix 2.6.0.0\n\n" + connecting), 0u) << r.out;
        EXPECT_EQ(TryLines(r.out), row.tries) << r.out;
    }
}

TEST_F(DovetrixTest, DefaultServerAndTheLastFreeArgumentWins) {
    RunResult r = Dovetrix({"EXPORT", File()});
    EXPECT_NE(r.out.find("Connecting to 127.0.0.1 for export.\n"), std::string::npos) << r.out;

    const std::string first = NextAddress();
    const std::string last = NextAddress();
    r = Dovetrix({"IMPORT", File(), first, last});
    EXPECT_NE(r.out.find("Connecting to " + last + " for import.\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find(first), std::string::npos) << r.out;
}

TEST_F(DovetrixTest, ImportLogsOnAtTheThirdTry) {
    Server server(NextAddress());
    ASSERT_TRUE(server.Start());
    const std::string front = NextAddress();
    FlakyProxy proxy(front, server.Address(), 2); // the first two logons find the line dead
    WriteText(File("empty.ini"), "");
    const RunResult r = Dovetrix({"IMPORT", File("empty.ini"), front});
    EXPECT_EQ(TryLines(r.out), 3) << r.out;
    EXPECT_NE(r.out.find("Try 3, Connecting to " + front + " for import.\n"), std::string::npos);
    EXPECT_EQ(r.out.find("Logon failed"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nAll done.\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.exitCode, 0);
}

TEST_F(DovetrixTest, FailingSetClientTypeIsReportedAndWorkGoesOn) {
    Server server(NextAddress(), {"--fail", "SetClientType:1"});
    ASSERT_TRUE(server.Start());
    const RunResult r = Dovetrix({"EXPORT", File(), server.Address()});
    EXPECT_NE(r.out.find("SetClientType failed - "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nAll done.\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(fs::exists(File()));
}

// The service sections that the export writes show how the switches were resolved.
TEST_F(DovetrixTest, SwitchResolutionShowsInTheWrittenFile) {
    Server server(NextAddress());
    ASSERT_TRUE(server.Start());
    struct Row {
        std::vector<std::string> switches;
        const char* protocol; // Protocol's Name, null when no service sections
        bool gsc, ipt;
    };
    const Row rows[] = {
        {{}, nullptr, false, false},
        {{"/PAM"}, "PAM", false, false},
        {{"/PAM", "/COMPANY"}, "Company", false, false},
        {{"/company", "/pam"}, "PAM", false, false},
        {{"/COMPANY", "/GSC"}, "PAM", true, false},
        {{"/IPT"}, "PAM", true, true},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args = {"EXPORT", File(), server.Address()};
        args.insert(args.end(), row.switches.begin(), row.switches.end());
        const RunResult r = Dovetrix(args);
        ASSERT_EQ(r.exitCode, 0) << r.out;
        const std::string ini = ReadFile(File());
        const std::string label = row.switches.empty() ? "none" : row.switches.front();
        if (row.protocol == nullptr) {
            EXPECT_EQ(ini.find("[Protocol]"), std::string::npos) << label;
        } else {
            const size_t section = ini.find("[Protocol]");
            ASSERT_NE(section, std::string::npos) << label;
            EXPECT_EQ(ini.find(std::string("Name=") + row.protocol, section),
                      ini.find("Name=", section))
                << label;
        }
        EXPECT_EQ(ini.find("[GSC]") != std::string::npos, row.gsc) << label;
        EXPECT_EQ(ini.find("[IPT]") != std::string::npos, row.ipt) << label;
    }
}

TEST_F(DovetrixTest, VersionExportsWithoutTheEntityLists) {
    Server server(NextAddress(), {"--seed", "demo"});
    ASSERT_TRUE(server.Start());
    RunResult r = Dovetrix({"EXPORT", File("full.ini"), server.Address()});
    ASSERT_EQ(r.exitCode, 0) << r.out;
    r = Dovetrix({"VERSION", File("version.ini"), server.Address()});
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(TryLines(r.out), 1);
    const std::string full = ReadFile(File("full.ini"));
    const std::string version = ReadFile(File("version.ini"));
    EXPECT_NE(full.find("[Grade"), std::string::npos);
    EXPECT_EQ(version.find("[Grade"), std::string::npos);
    EXPECT_EQ(version.find("[Pump"), std::string::npos);
    EXPECT_NE(version.find("[Application]"), std::string::npos);
    EXPECT_EQ(full.find("[Port") != std::string::npos, version.find("[Port") != std::string::npos);
}

TEST_F(DovetrixTest, ListSwitchesLeaveTheirSectionsOut) {
    Server server(NextAddress(), {"--seed", "demo"});
    ASSERT_TRUE(server.Start());
    ASSERT_EQ(Dovetrix({"EXPORT", File("full.ini"), server.Address()}).exitCode, 0);
    const std::string full = ReadFile(File("full.ini"));
    struct Row {
        const char* keyword;
        const char* section;
    };
    const Row rows[] = {
        {"/NoProducts", "[Product"},
        {"/noattendants", "[Attendant"},
        {"/NOCARDCLIENTS", "[Client"},
    };
    for (const Row& row : rows) {
        ASSERT_NE(full.find(row.section), std::string::npos) << row.section;
        const RunResult r = Dovetrix({"EXPORT", row.keyword, File("part.ini"), server.Address()});
        ASSERT_EQ(r.exitCode, 0) << r.out;
        const std::string part = ReadFile(File("part.ini"));
        EXPECT_EQ(part.find(row.section), std::string::npos) << row.keyword;
        for (const Row& other : rows) {
            if (&other != &row) {
                EXPECT_NE(part.find(other.section), std::string::npos) << row.keyword;
            }
        }
    }
}

// An export whose file cannot be created or written fails with the path on the console and in
// the log; "All done." only follows a written file. A device is written into, never deleted.
TEST_F(DovetrixTest, ExportThatCannotWriteItsFileFails) {
    Server server(NextAddress(), {"--seed", "demo"});
    ASSERT_TRUE(server.Start());
    fs::create_directories(m_root.Path("folder"));
    const std::pair<std::string, const char*> paths[] = {
        {File("no-such-folder/cfg.ini"), "no such folder"},
        {File("folder"), "is a folder"},
        {"/dev/full", "disk full"}};
    for (const auto& [path, reason] : paths) {
        const RunResult r = Dovetrix({"EXPORT", path, server.Address()});
        const std::string failure =
            "Configuration file " + path + " cannot be written: " + reason + ".";
        EXPECT_EQ(r.exitCode, 255) << path;
        EXPECT_NE(r.out.find(failure + "\n"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("All done."), std::string::npos) << r.out;
        EXPECT_NE(m_root.DesktopLog().find(failure), std::string::npos) << path;
    }
    EXPECT_FALSE(fs::exists(File("no-such-folder")));
    EXPECT_TRUE(fs::is_directory(File("folder")));
    EXPECT_TRUE(fs::is_character_file("/dev/full"));

    // A folder that refuses new files; running as root ignores the mode, so only checked when
    // the mode holds.
    fs::create_directories(m_root.Path("locked"));
    fs::permissions(m_root.Path("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    if (!std::ofstream(File("locked/probe"))) {
        const RunResult r = Dovetrix({"EXPORT", File("locked/cfg.ini"), server.Address()});
        EXPECT_EQ(r.exitCode, 255);
        EXPECT_NE(r.out.find("cannot be written: permission denied."), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("All done."), std::string::npos) << r.out;
    }
    fs::permissions(m_root.Path("locked"), fs::perms::owner_all);

    // A written file still ends with "All done." and 0.
    const RunResult ok = Dovetrix({"EXPORT", File(), server.Address()});
    EXPECT_EQ(ok.exitCode, 0) << ok.out;
    EXPECT_NE(ok.out.find("\nAll done.\n"), std::string::npos);
}

TEST_F(DovetrixTest, ImportOfAFileThatCannotBeReadFails) {
    Server server(NextAddress());
    ASSERT_TRUE(server.Start());
    const RunResult r = Dovetrix({"IMPORT", File("missing.ini"), server.Address()});
    const std::string failure =
        "Configuration file " + File("missing.ini") + " cannot be read: no such file.";
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_NE(r.out.find(failure + "\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("All done."), std::string::npos) << r.out;
    EXPECT_NE(m_root.DesktopLog().find(failure), std::string::npos);
}

// Screen output into a pipe that was closed early does not end the run: the file is written
// and the log still ends with its STOP record. Needs the entry to prepare the console first.
TEST_F(DovetrixTest, ClosedScreenPipeDoesNotStopTheRun) {
    Server server(NextAddress(), {"--seed", "large:12000:10:10"});
    ASSERT_TRUE(server.Start());
    const std::string command = "'" + BuildDir() + "/bin/Dovetrix' EXPORT '" + File() + "' " +
                                server.Address() + " | head -1 >/dev/null";
    ASSERT_EQ(qvtesting::RunShell(command).status, 0);
    EXPECT_NE(ReadFile(File()).find("[Client12000]"), std::string::npos);
    const std::vector<std::string> lines = Lines(m_root.DesktopLog());
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find(" ****STOP <2.6.0.0>"), std::string::npos) << lines.back();
}

namespace {

// Names in a folder, sorted.
std::vector<std::string> FolderNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

// An export that fills the disk leaves the previous file byte for byte and nothing beside it;
// the destination, a symbolic link, stays a link to its target with the target's mode. A whole
// export rewrites the target through the link and keeps the mode. The folder is a small tmpfs.
TEST_F(DovetrixTest, ExportOnAFullDiskKeepsThePreviousFileAndItsLink) {
    if (!qvtesting::TmpfsAvailable()) GTEST_SKIP() << "no mount namespace with a tmpfs here";
    Server server(NextAddress(), {"--seed", "large:2000:10:10"});
    ASSERT_TRUE(server.Start());
    const fs::path dir = m_root.Path("disk");
    const fs::path out = m_root.Path("after");
    fs::create_directories(dir);
    fs::create_directories(out);
    std::string previous = "[Application]\r\nName=QV2Serial service configuration\r\n";
    while (previous.size() < 5000)
        previous += "[Grade" + std::to_string(previous.size()) + "]\r\nNumber=1\r\n";
    WriteText(m_root.Path("previous.ini").string(), previous);
    const std::string d = dir.string();
    const std::string script =
        "cp '" + m_root.Path("previous.ini").string() + "' '" + d + "/real.ini' && chmod 640 '" +
        d + "/real.ini' && ln -s real.ini '" + d + "/cfg.ini' && { '" + BuildDir() +
        "/bin/Dovetrix' EXPORT '" + d + "/cfg.ini' " + server.Address() +
        "; echo \"exit $?\"; ls -A '" + d + "' >'" + out.string() + "/listing'; cp '" + d +
        "/real.ini' '" + out.string() + "/'; stat -c %a '" + d + "/real.ini' >'" + out.string() +
        "/mode'; test -L '" + d + "/cfg.ini' && echo link >>'" + out.string() + "/mode'; true; }";
    const RunResult r = qvtesting::RunWithTmpfs(d, 64, script);
    EXPECT_NE(r.out.find("exit 255"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Configuration file " + d + "/cfg.ini cannot be written: disk full.\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("All done."), std::string::npos);
    EXPECT_EQ(ReadFile((out / "listing").string()), "cfg.ini\nreal.ini\n");
    EXPECT_EQ(ReadFile((out / "real.ini").string()), previous);
    EXPECT_EQ(ReadFile((out / "mode").string()), "640\nlink\n");
    const std::vector<std::string> log = Lines(m_root.DesktopLog());
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find(" ****STOP <2.6.0.0>"), std::string::npos) << log.back();

    // On a disk with room, through a link: the target is rewritten, the link and mode stay.
    const fs::path real = m_root.Path("real.ini");
    WriteText(real.string(), previous);
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, m_root.Path("link.ini"));
    const RunResult ok = Dovetrix({"EXPORT", File("link.ini"), server.Address()});
    EXPECT_EQ(ok.exitCode, 0) << ok.out;
    EXPECT_TRUE(fs::is_symlink(m_root.Path("link.ini")));
    EXPECT_NE(ReadFile(real.string()).find("[Client2000]"), std::string::npos);
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// Ctrl-C or SIGTERM in the middle of a long export stops the walk between two records: the
// previous file stays byte for byte, nothing is left beside it, the exit code is -1 and the log
// ends with its STOP record.
TEST_F(DovetrixTest, StopSignalDuringAnExportKeepsThePreviousFileAndTheLog) {
    Server server(NextAddress(), {"--seed", "large:8000:10:10"});
    ASSERT_TRUE(server.Start());
    const fs::path dir = m_root.Path("out");
    fs::create_directories(dir);
    const std::string previous = "[Application]\r\nName=previous\r\n";
    for (int sig : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(sig);
        fs::remove(m_root.Path("C/QVForecourt/log/Dovetrix.L00"));
        WriteText((dir / "cfg.ini").string(), previous);
        qvtesting::BackgroundProgram run("'" + BuildDir() + "/bin/Dovetrix' EXPORT '" +
                                             (dir / "cfg.ini").string() + "' " + server.Address(),
                                         m_root.Path("console.txt").string());
        ASSERT_TRUE(run.Started());
        // Well into the card clients: the file being written has grown.
        auto building = [&] {
            for (const auto& entry : fs::directory_iterator(dir)) {
                std::error_code ec;
                if (fs::file_size(entry.path(), ec) > 300000) return true;
            }
            return false;
        };
        ASSERT_TRUE(qvtesting::WaitFor(building, std::chrono::seconds(60)));
        run.Signal(sig);
        EXPECT_EQ(run.Wait(std::chrono::seconds(30)), -1) << "-999: ended by the signal";
        EXPECT_TRUE(ReadFile((dir / "cfg.ini").string()) == previous) << "the file changed";
        EXPECT_EQ(FolderNames(dir), std::vector<std::string>{"cfg.ini"});
        const std::string console = ReadFile(m_root.Path("console.txt").string());
        EXPECT_NE(console.find("\nExport stopped on request; " + (dir / "cfg.ini").string() +
                               " is left as it was.\n"),
                  std::string::npos);
        EXPECT_EQ(console.find("All done."), std::string::npos);
        const std::vector<std::string> log = Lines(m_root.DesktopLog());
        ASSERT_GE(log.size(), 2u);
        EXPECT_NE(log[log.size() - 2].find("Export stopped on request"), std::string::npos);
        EXPECT_NE(log.back().find(" ****STOP <2.6.0.0>"), std::string::npos) << log.back();
    }
}

// Ctrl-C in the middle of a long import ends it between two sections: what was stored stays,
// the summaries and the reason are printed, the exit code is -1 and the log ends with STOP.
TEST_F(DovetrixTest, StopSignalDuringAnImportEndsItBetweenTwoSections) {
    Server source(NextAddress(), {"--seed", "large:6000:10:10"});
    ASSERT_TRUE(source.Start());
    ASSERT_EQ(Dovetrix({"EXPORT", File("site.ini"), source.Address()}).exitCode, 0);
    Server target(NextAddress(), {"--seed", "empty"});
    ASSERT_TRUE(target.Start());
    fs::remove(m_root.Path("C/QVForecourt/log/Dovetrix.L00"));
    const std::string console = m_root.Path("console.txt").string();
    qvtesting::BackgroundProgram run("'" + BuildDir() + "/bin/Dovetrix' IMPORT '" +
                                         File("site.ini") + "' " + target.Address(),
                                     console);
    ASSERT_TRUE(run.Started());
    // The console is a file: its first block of dots arrives a few thousand sections in.
    ASSERT_TRUE(qvtesting::WaitFor(
        [&] {
            std::error_code ec;
            return fs::file_size(console, ec) > 0 && !ec;
        },
        std::chrono::seconds(60)));
    run.Signal(SIGINT);
    EXPECT_EQ(run.Wait(std::chrono::seconds(30)), -1) << "-999: ended by the signal";
    const std::string out = ReadFile(console);
    EXPECT_NE(out.find("\nImport stopped - stop requested.\n"), std::string::npos);
    EXPECT_NE(out.find(" Cards imported successfully."), std::string::npos) << "some, not all";
    EXPECT_EQ(out.find("6000 Cards imported"), std::string::npos);
    EXPECT_EQ(out.find("All done."), std::string::npos);
    const std::vector<std::string> log = Lines(m_root.DesktopLog());
    ASSERT_GE(log.size(), 2u);
    EXPECT_NE(log[log.size() - 2].find("Import stopped - stop requested."), std::string::npos);
    EXPECT_NE(log.back().find(" ****STOP <2.6.0.0>"), std::string::npos) << log.back();
}
