#include "platform/Process.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

#include "testing/Env.h"
#include "testing/Files.h"
#include "testing/TempDir.h"
#include "testing/Wait.h"

using namespace platform;

namespace {

std::string ChildProgram() {
    return qvtesting::QvBuildDir() + "/tests/platform_process_child";
}

std::u16string Wide(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

// The child's report: its command line, then its argv words.
std::vector<std::u16string> ReadReport(const std::string& path) {
    const std::string bytes = qvtesting::ReadFile(path);
    std::u16string text(bytes.size() / 2, 0);
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    std::vector<std::u16string> lines;
    size_t start = 0;
    for (size_t nl; (nl = text.find(u'\n', start)) != std::u16string::npos; start = nl + 1)
        lines.push_back(text.substr(start, nl - start));
    return lines;
}

class Process : public ::testing::Test {
  protected:
    void SetUp() override { unsetenv("QV_CMDLINE"); }
    qvtesting::DeviceRoot m_root{"qvplatform"};
};

} // namespace

TEST_F(Process, ChildReadsTheCommandLineExactly) {
    const std::string out = m_root.Str() + "/report with blank";
    const std::u16string line =
        u"\"" + Wide(out) + u"\"   7 run \"two  words\"\ttail\u20AC\u0141 \"\" x\"y z\"";
    const ProcessHandle h = StartProcess(ChildProgram(), line, false);
    ASSERT_NE(h, 0);
    ASSERT_TRUE(WaitProcess(h, 20000));
    uint32_t code = 0;
    ASSERT_TRUE(GetExitCode(h, code));
    EXPECT_EQ(code, 7u);
    ASSERT_TRUE(GetExitCode(h, code)); // still answers once the child has been collected
    EXPECT_EQ(code, 7u);
    CloseProcess(h);

    const auto report = ReadReport(out);
    const std::vector<std::u16string> want = {line,          Wide(out),      u"7", u"run",
                                              u"two  words", u"tail\u20AC?", u"",  u"xy z"};
    EXPECT_EQ(report, want);
}

TEST_F(Process, StillActiveUntilItEnds) {
    const std::string out = m_root.Str() + "/r";
    const ProcessHandle h = StartProcess(ChildProgram(), Wide(out) + u" 255 wait", true);
    ASSERT_NE(h, 0);
    uint32_t code = 0;
    ASSERT_TRUE(GetExitCode(h, code));
    EXPECT_EQ(code, kStillActive);
    EXPECT_FALSE(WaitProcess(h, 30));
    std::ofstream(out + ".go").put('x');
    ASSERT_TRUE(WaitProcess(h, 0xFFFFFFFFu));
    ASSERT_TRUE(GetExitCode(h, code));
    EXPECT_EQ(code, 255u);
    CloseProcess(h);
}

TEST_F(Process, BareNamesComeFromTheWindowsFolder) {
    std::filesystem::create_directories(m_root.Str() + "/Windows");
    std::filesystem::create_symlink(ChildProgram(), m_root.Str() + "/Windows/QVChild");
    const std::string out = m_root.Str() + "/bare";
    ProcessHandle h = StartProcess("QVChild.exe", Wide(out) + u" 3", false); // ".exe" dropped
    ASSERT_NE(h, 0);
    ASSERT_TRUE(WaitProcess(h, 20000));
    uint32_t code = 0;
    ASSERT_TRUE(GetExitCode(h, code));
    EXPECT_EQ(code, 3u);
    CloseProcess(h);

    h = StartProcess("\\Windows\\QVChild.EXE", Wide(out) + u" 4", false);
    ASSERT_NE(h, 0);
    ASSERT_TRUE(WaitProcess(h, 20000));
    ASSERT_TRUE(GetExitCode(h, code));
    EXPECT_EQ(code, 4u);
    CloseProcess(h);

    EXPECT_EQ(StartProcess("Missing.exe", u"x", false), 0);
    EXPECT_EQ(StartProcess("\\Windows", u"x", false), 0); // a folder is no program
    EXPECT_EQ(StartProcess("", u"x", false), 0);
    EXPECT_FALSE(GetExitCode(0, code));
    EXPECT_FALSE(WaitProcess(0, 0));
    CloseProcess(0);
}

TEST_F(Process, ClosingARunningProcessLetsItFinish) {
    const std::string out = m_root.Str() + "/late";
    const ProcessHandle h = StartProcess(ChildProgram(), Wide(out) + u" 0 wait", false);
    ASSERT_NE(h, 0);
    CloseProcess(h);
    std::ofstream(out + ".go").put('x');
    qvtesting::WaitFor([&] { return ReadReport(out).size() >= 4; }, std::chrono::seconds(20));
    EXPECT_EQ(ReadReport(out).size(), 4u);
}

TEST(CommandLine, SplitAtBlanksWithQuotesGrouping) {
    struct {
        const char16_t* line;
        std::vector<std::u16string> words;
    } const cases[] = {
        {u"export \\config.ini", {u"export", u"\\config.ini"}},
        {u"  a\t b  ", {u"a", u"b"}},
        {u"-Q -C \"B L01.zip\" \"B.L01\"", {u"-Q", u"-C", u"B L01.zip", u"B.L01"}},
        {u"pre\"fix mid\"post", {u"prefix midpost"}},
        {u"\"\" \"open quote", {u"", u"open quote"}},
        {u"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitCommandLine(c.line), c.words);
}

TEST(CommandLine, WithoutAStartedLineArgvIsJoined) {
    unsetenv("QV_CMDLINE");
    char prog[] = "prog", a[] = "import", b[] = "C:\\My Files\\site.ini", e[] = "";
    char* argv[] = {prog, a, b, e, nullptr};
    EXPECT_EQ(CommandLine(4, argv), u"import \"C:\\My Files\\site.ini\" \"\"");
    EXPECT_EQ(CommandLine(1, argv), u"");
    // A line inherited from a parent that does not match these arguments is ignored.
    setenv("QV_CMDLINE", "export \\config.ini", 1);
    EXPECT_EQ(CommandLine(2, argv), u"import");
    setenv("QV_CMDLINE", "  import  ", 1);
    EXPECT_EQ(CommandLine(2, argv), u"  import  ");
    unsetenv("QV_CMDLINE");
}
