// The board build of Dovetrix: its log and library paths, its own command-line splitting, and
// the board flavour of the binding (no "found" lines).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extract/ClientLibrary.h"
#include "extract/ToolGlobals.h"
#include "extract/tests/ToolTestSupport.h"
#include "platform/Process.h"

using namespace tooltest;

namespace {

// Loopback addresses of this binary: 127.0.20.200 to 127.0.20.250.
std::string NextAddress() {
    static int next = 200;
    return "127.0.20." + std::to_string(next++);
}

RunResult BoardDovetrix(const std::vector<std::string>& args) {
    return Run(BuildDir() + "/bin/ce/Dovetrix", args);
}

} // namespace

TEST(DovetrixBoard, LogsUnderTheRootAndLoadsTheBoardLibrary) {
    DeviceRoot root;
    root.LinkLibrary();
    fs::remove(root.Path("C/QVForecourt/QVClient.DLL")); // only the board's path is there
    const std::string nobody = NextAddress();
    const RunResult r = BoardDovetrix({"EXPORT", root.Path("cfg.ini").string(), nobody});
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_EQ(CountOf(r.out, "Try "), 1) << r.out;

    EXPECT_FALSE(fs::exists(root.Path("C/QVForecourt/log/Dovetrix.L00")));
    const std::vector<std::string> lines = Lines(root.BoardLog());
    ASSERT_GE(lines.size(), 3u);
    EXPECT_NE(lines.front().find(" ***START <2.6.0.0>"), std::string::npos);
    EXPECT_NE(lines.back().find(" ****STOP <2.6.0.0>"), std::string::npos);
    const std::string log = root.BoardLog();
    EXPECT_NE(log.find("QVClient [\\DAVozuz\\QVForecourt\\QVClient.DLL] loaded successfully"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Logon failed - "), std::string::npos);
}

TEST(DovetrixBoard, NoLocaleStepAndTheSameUsageTexts) {
    DeviceRoot root;
    RunResult r = BoardDovetrix({"export"});
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_EQ(r.out, "Dovetrix IMPORT | EXPORT | VERSION <destination INI file name> "
                     "[<server name>|<server IP>] [/PAM | /Company] \n");
    r = BoardDovetrix({"Export", "/nOpRoDuCtS"});
    EXPECT_EQ(r.out, "Dovetrix IMPORT | EXPORT <destination INI file name> "
                     "[<server name>|<server IP>] [/PAM | /Company] \n");
}

TEST(DovetrixBoard, QuotedWordsKeepTheirBlanks) {
    DeviceRoot root;
    root.LinkLibrary();
    Server server(NextAddress());
    ASSERT_TRUE(server.Start());
    fs::create_directories(root.Path("with blank"));
    const std::string file = root.Path("with blank/cfg one.ini").string();
    const RunResult r = BoardDovetrix({"export", file, server.Address()});
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_TRUE(fs::exists(file)) << r.out;
}

// In-process: the board flavour of the binding and of the process-wide log.
TEST(DovetrixBoard, BindingLoadsFromTheBoardPathWithoutFoundLines) {
    DeviceRoot root;
    root.LinkLibrary();
    CLog& log = ToolLog();
    log.m_level = 2;
    ClientLibrary& library = ToolLibrary();
    ASSERT_TRUE(library.Load());
    log.Flush();
    const std::string text = root.BoardLog();
    EXPECT_NE(text.find(" ***START <2.6.0.0>"), std::string::npos);
    EXPECT_NE(text.find("QVClient [\\DAVozuz\\QVForecourt\\QVClient.DLL] loaded successfully"),
              std::string::npos)
        << text;
    EXPECT_EQ(CountOf(text, "QVClient DLL, function"), 0);
    CStr version;
    EXPECT_EQ(library.DllVersion(version), 0);
    EXPECT_GT(version.Length(), 0);
}

// Started as the board starts it: one command line, split by the program itself.
TEST(DovetrixBoard, OneStringCommandLineWithQuotes) {
    DeviceRoot root;
    root.LinkLibrary();
    Server server(NextAddress());
    ASSERT_TRUE(server.Start());
    fs::create_directories(root.Path("two words"));
    const std::string file = root.Path("two words/site file.ini").string();
    const std::string line = "export \"" + file + "\" " + server.Address() + " /PAM";
    const platform::ProcessHandle p = platform::StartProcess(
        BuildDir() + "/bin/ce/Dovetrix", std::u16string(line.begin(), line.end()), false);
    ASSERT_NE(p, 0);
    ASSERT_TRUE(platform::WaitProcess(p, 60000));
    uint32_t code = 1;
    ASSERT_TRUE(platform::GetExitCode(p, code));
    platform::CloseProcess(p);
    EXPECT_EQ(code, 0u);
    const std::string ini = ReadFile(file);
    EXPECT_NE(ini.find("[Protocol]"), std::string::npos) << ini; // /PAM reached the program
}
