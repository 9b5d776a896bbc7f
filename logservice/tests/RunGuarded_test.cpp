// The exception report: a service-like program whose main loop faults writes the two lines,
// arms the board's watchdog and is held, and the simulated board resets after its timeout.
#include "logservice/RunGuarded.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "BoardSim.h"
#include "CaptureLog.h"

namespace {

using partstest::Board;
using partstest::Child;
using partstest::ReadText;
using partstest::WaitFor;

TEST(ExceptionText, TableAndOtherCodes) {
    const std::pair<uint32_t, const char*> table[] = {
        {0x80000002, "DATA TYPE MISALIGNMENT"},
        {0xC0000005, "Access violation"},
        {0xC000001D, "ILLEGAL INSTRUCTION"},
        {0xC000008E, "Floating divide by zero"},
        {0xC0000094, "Integer divide by zero"},
        {0xC00000FD, "Stack overflow"},
        {0xC0000090, "Unhandled exeception 0xC0000090"},
        {0x1, "Unhandled exeception 0x00000001"},
    };
    for (const auto& [code, text] : table) {
        char out[64];
        ExceptionText(code, out, sizeof out);
        EXPECT_STREQ(text, out);
    }
}

struct FaultCase {
    const char* fault; // FaultChild's argument
    const char* text;  // the second line of the report
};

class ExceptionReport : public ::testing::TestWithParam<FaultCase> {
  protected:
    std::string LogPath() const { return m_root.Path() + "/FaultChild.L00"; }
    bool StartChild(const char* fault) {
        return m_child.Start({partstest::BuildDir() + "/tests/logservice_FaultChild", fault},
                             m_root.Path() + "/child.out");
    }
    bool LogHas(const std::string& part) const {
        return ReadText(LogPath()).find(part) != std::string::npos;
    }

    TestRoot m_root;
    Board m_board{m_root.Path()};
    Child m_child;
};

TEST_P(ExceptionReport, ReportsArmsTheWatchdogAndHoldsTheThreadUntilTheBoardResets) {
    const FaultCase& c = GetParam();
    ASSERT_TRUE(m_board.Start({"--watchdog-ms", "700"}));
    ASSERT_TRUE(StartChild(c.fault));
    ASSERT_TRUE(WaitFor([&] { return LogHas("WD turned on!! 2"); }, 10000))
        << ReadText(LogPath()) << ReadText(m_root.Path() + "/child.out");
    const std::string log = ReadText(LogPath());
    // Both addresses whole, upper-case hex, at least eight digits; both lie in the program.
    const std::regex report(
        "SEH exception: address 0x([0-9A-F]{8,})  CSocket::ReadMsg address 0x([0-9A-F]{8,})");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(log, m, report)) << log;
    const uint64_t failing = std::strtoull(m[1].str().c_str(), nullptr, 16);
    const uint64_t readMsg = std::strtoull(m[2].str().c_str(), nullptr, 16);
    const uint64_t distance = failing > readMsg ? failing - readMsg : readMsg - failing;
    EXPECT_LT(distance, 64u << 20) << log;
    const size_t reportAt = log.find("SEH exception");
    const size_t textAt = log.find(c.text);
    ASSERT_NE(std::string::npos, textAt) << log;
    EXPECT_LT(reportAt, textAt);
    EXPECT_LT(textAt, log.find("DeviceIoControl(IOCTL_WD_ON)"));
    EXPECT_EQ("on", m_board.StatusText("watchdog"));

    // Nobody refreshes: the board resets once its timeout has passed, the program stays held.
    ASSERT_TRUE(WaitFor([&] { return m_board.Status("resets") == 1; }, 5000));
    EXPECT_TRUE(m_child.Running());
    EXPECT_FALSE(LogHas("Run returned"));
    EXPECT_NE(std::string::npos, ReadText(m_board.Record("board.log")).find("watchdog reset"));
}

const FaultCase kFaults[] = {
    {"null", "Access violation"},
    {"divide", "Integer divide by zero"},
    {"illegal", "ILLEGAL INSTRUCTION"},
    {"overflow", "Stack overflow"},
    {"unlisted", "Unhandled exeception 0xC0000090"},
};

INSTANTIATE_TEST_SUITE_P(Faults, ExceptionReport, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.fault); });

class GuardedRun : public ::testing::Test {
  protected:
    TestRoot m_root;
    Board m_board{m_root.Path()};
    Child m_child;
};

TEST_F(GuardedRun, ReturningLoopIsNotReported) {
    ASSERT_TRUE(m_board.Start({"--watchdog-ms", "700"}));
    ASSERT_TRUE(m_child.Start({partstest::BuildDir() + "/tests/logservice_FaultChild", "none"},
                              m_root.Path() + "/child.out"));
    EXPECT_EQ(0, m_child.Wait(10000));
    const std::string log = ReadText(m_root.Path() + "/FaultChild.L00");
    EXPECT_NE(std::string::npos, log.find("Run returned"));
    EXPECT_EQ(std::string::npos, log.find("SEH exception"));
    EXPECT_EQ(std::string::npos, log.find("WD turned on"));
    EXPECT_EQ("off", m_board.StatusText("watchdog"));
}

TEST_F(GuardedRun, WithoutTheWatchdogDriverTheThreadIsStillHeld) {
    // No board for this device root: nothing can be armed, and the loop is not resumed.
    ASSERT_TRUE(m_child.Start({partstest::BuildDir() + "/tests/logservice_FaultChild", "null"},
                              m_root.Path() + "/child.out"));
    const std::string path = m_root.Path() + "/FaultChild.L00";
    ASSERT_TRUE(WaitFor(
        [&] { return ReadText(path).find("WD turned on!! 2") != std::string::npos; }, 10000));
    const std::string log = ReadText(path);
    EXPECT_NE(std::string::npos, log.find("Watchdog created FFFFFFFF"));
    EXPECT_NE(std::string::npos, log.find("Access violation"));
    EXPECT_EQ(std::string::npos, log.find("DeviceIoControl"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(m_child.Running());
    EXPECT_EQ(std::string::npos, ReadText(path).find("Run returned"));
}

} // namespace
