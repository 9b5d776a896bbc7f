// The controller link against the board simulator's USB devices and controller: the device loop,
// the identity check, misbehaving controllers, and two processes sharing the link's mutex.
#include "logservice/CUsbLink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "BoardSim.h"
#include "CaptureLog.h"

namespace {

using partstest::Board;
using partstest::Child;
using partstest::ReadText;
using partstest::WaitFor;
using Clock = std::chrono::steady_clock;

constexpr uint16_t kPort = 7;

long MsSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

class UsbLinkTest : public ::testing::Test {
  protected:
    // Opens the link once; the strings keep what Open left in them.
    int32_t Open(const char* held, int32_t start) {
        m_serial = held;
        m_index = start;
        CUsbLink link(m_log);
        const int32_t result = link.Open(kPort, m_serial, m_boot, m_driver, &m_index);
        m_openedNow = link.IsOpen();
        return result;
    }
    int Lines(const std::string& part) { return m_log.Count(part); }
    std::string UsbLog() const { return ReadText(m_board.Record("usb.log")); }

    TestRoot m_root;
    CaptureLog m_log;
    Board m_board{m_root.Path()};
    CStr m_serial, m_boot, m_driver;
    int32_t m_index = 0;
    bool m_openedNow = false;
};

TEST_F(UsbLinkTest, FindsTheControllerOnEachDevice) {
    for (int device = 1; device <= 4; ++device) {
        SCOPED_TRACE(device);
        TestRoot root;
        Board board(root.Path());
        ASSERT_TRUE(board.Start(
            {"--controller", std::to_string(device), "--serial", "QVAB12CDE", "--dels", "258"}));
        m_log.Reset();
        EXPECT_EQ(258, Open("", 1)); // an empty held serial accepts the first board
        EXPECT_TRUE(m_openedNow);
        EXPECT_EQ(device, m_index);
        EXPECT_STREQ("QVAB12CDE", m_serial.Narrow());
        EXPECT_STREQ("QVBoot 2.10", m_boot.Narrow());
        EXPECT_STREQ("QVDrv 4.02", m_driver.Narrow());
        for (int n = 1; n <= device; ++n)
            EXPECT_EQ(1, Lines("Opening USB device QVF" + std::to_string(n) + ":"));
        EXPECT_EQ(0, Lines("Opening USB device QVF" + std::to_string(device + 1) + ":"));
        EXPECT_EQ(device - 1, Lines("Failed to get verison"));
        EXPECT_EQ(device - 1, Lines("Bugger timeout!!"));
        EXPECT_EQ(1, Lines("Version response [QVBoot 2.10]-[QVDrv 4.02] Serial No QVAB12CDE, "
                           "dels 258 "));
        const std::string usb = ReadText(board.Record("usb.log"));
        const std::string name = "QVF" + std::to_string(device) + ":";
        EXPECT_NE(std::string::npos, usb.find(name + " port 7")) << usb;
        EXPECT_NE(std::string::npos, usb.find(name + " write 1 00")) << usb;
        EXPECT_NE(std::string::npos, usb.find(name + " read 59 40 ")) << usb;
    }
}

TEST_F(UsbLinkTest, HeldSerialIsComparedOnItsLastSevenCharacters) {
    ASSERT_TRUE(m_board.Start({"--controller", "4", "--serial", "QVAB12CDE"}));
    struct Case {
        const char* held;
        bool accepted;
    } cases[] = {
        {"QVAB12CDE", true},
        {"zzab12cde", true},               // any case, whatever the first characters
        {"  old-serial-XAB12cDe  ", true}, // trimmed, then its last seven
        {"12CDE", true},                   // fewer than seven: any board
        {"QV7654321", false},
        {"AB12CDF", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.held);
        m_log.Reset();
        const int32_t result = Open(c.held, 4);
        if (c.accepted) {
            EXPECT_EQ(0, result);
            EXPECT_STREQ("QVAB12CDE", m_serial.Narrow());
            EXPECT_EQ(0, Lines("serial #'s different"));
        } else {
            EXPECT_EQ(-1, result);
            EXPECT_FALSE(m_openedNow);
            const std::string held = std::string(m_serial.Narrow());
            EXPECT_EQ(7u, held.size()); // cut in place to its last seven
            EXPECT_EQ(1, Lines("serial #'s different  '" + held + "' != 'AB12CDE'"))
                << m_log.Text();
        }
    }
}

TEST_F(UsbLinkTest, BoardWithoutSerialIsAcceptedWhateverIsHeld) {
    ASSERT_TRUE(m_board.Start({"--controller", "4", "--serial", "XY???????", "--dels", "1"}));
    EXPECT_EQ(1, Open("QV7654321", 4));
    EXPECT_STREQ("XY???????", m_serial.Narrow());
}

TEST_F(UsbLinkTest, DelsIsBigEndian) {
    ASSERT_TRUE(m_board.Start({"--controller", "1", "--dels", "65534"}));
    EXPECT_EQ(65534, Open("", 1));
    EXPECT_EQ(1, Lines("dels 65534 "));
}

TEST_F(UsbLinkTest, NoAnswerTimesOutAfterOneSecondAndTriesTheNextDevice) {
    ASSERT_TRUE(m_board.Start({"--controller", "3", "--no-answer"}));
    const auto start = Clock::now();
    EXPECT_EQ(-1, Open("", 3));
    const long ms = MsSince(start);
    EXPECT_GE(ms, 2 * 950); // QVF3: and QVF4: each waited out their second
    EXPECT_LT(ms, 2 * 1600);
    EXPECT_EQ(4, m_index);
    EXPECT_EQ(2, Lines("Failed to get verison"));
    EXPECT_EQ(2, Lines("Bugger timeout!!"));
    EXPECT_FALSE(m_openedNow);
}

TEST_F(UsbLinkTest, NoiseFramesAreDroppedWithoutChangingTheTimeLimit) {
    ASSERT_TRUE(m_board.Start({"--controller", "4", "--answer-delay-ms", "600", "--noise",
                               "0x40:20", "--noise", "0x41:59", "--dels", "9"}));
    EXPECT_EQ(9, Open("", 4)); // noise first, then the response: the wait goes on
    const std::string usb = UsbLog();
    EXPECT_NE(std::string::npos, usb.find("QVF4: read 20 40 ")) << usb;
    EXPECT_NE(std::string::npos, usb.find("QVF4: read 59 41 ")) << usb;
    EXPECT_NE(std::string::npos, usb.find("QVF4: read 59 40 ")) << usb;
}

TEST_F(UsbLinkTest, NoiseAfterTheLimitDoesNotExtendIt) {
    ASSERT_TRUE(
        m_board.Start({"--controller", "4", "--answer-delay-ms", "1300", "--noise", "0x41:10"}));
    const auto start = Clock::now();
    EXPECT_EQ(-1, Open("", 4));
    const long ms = MsSince(start);
    EXPECT_GE(ms, 950);
    EXPECT_LT(ms, 1300);
    EXPECT_EQ(1, Lines("Failed to get verison"));
}

TEST_F(UsbLinkTest, StartIndexAboveFourFailsAtOnce) {
    ASSERT_TRUE(m_board.Start({"--controller", "1"}));
    EXPECT_EQ(-1, Open("", 5));
    EXPECT_EQ("", m_log.Text());
    EXPECT_EQ(std::string::npos, UsbLog().find("open"));
}

TEST_F(UsbLinkTest, EventOpenedByNameWhenTheDriverGivesNone) {
    ASSERT_TRUE(m_board.Start({"--controller", "2", "--no-event", "--answer-delay-ms", "300"}));
    EXPECT_EQ(0, Open("", 2));
    EXPECT_EQ(1, Lines("USB event opened by name QVFrcUSB7"));
    m_log.Reset();
    TestRoot root;
    Board board(root.Path());
    ASSERT_TRUE(board.Start({"--controller", "2", "--answer-delay-ms", "300"}));
    EXPECT_EQ(0, Open("", 2));
    EXPECT_EQ(0, Lines("USB event opened by name"));
}

TEST_F(UsbLinkTest, NoBoardMeansNoDevice) {
    EXPECT_EQ(-1, Open("", 1));
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(1, Lines("Opening USB device QVF" + std::to_string(n) + ":"));
    EXPECT_EQ(0, Lines("Failed"));
}

TEST_F(UsbLinkTest, WithoutAnOpenDeviceFramesAreRefused) {
    CUsbLink link(m_log);
    const uint8_t frame[1] = {0};
    uint8_t buffer[CUsbLink::kFrameMax];
    uint32_t read = 5;
    EXPECT_EQ(-1, link.WrapAndSend(frame, 0));
    EXPECT_EQ(1, Lines("WriteFile failed in WrapAndSend 3 closed."));
    EXPECT_EQ(-1, link.ReadFrame(buffer, read));
    EXPECT_EQ(-1, link.WaitFrame(buffer, 0x40, 59, 1000, nullptr));
}

// Two programs identifying the board: the mutex serialises them.
class UsbLinkProcesses : public UsbLinkTest {
  protected:
    bool StartChild(Child& child, const std::string& name, int32_t start) {
        return child.Start({partstest::BuildDir() + "/tests/logservice_UsbOpenChild",
                            std::to_string(kPort), "", std::to_string(start)},
                           m_root.Path() + "/" + name + ".out");
    }
    std::string Out(const std::string& name) const {
        return ReadText(m_root.Path() + "/" + name + ".out");
    }
};

TEST_F(UsbLinkProcesses, TwoProcessesOpeningAtOnceTakeTurns) {
    ASSERT_TRUE(m_board.Start({"--controller", "1", "--answer-delay-ms", "400", "--dels", "3"}));
    Child a, b;
    ASSERT_TRUE(StartChild(a, "a", 1));
    ASSERT_TRUE(StartChild(b, "b", 1));
    EXPECT_EQ(0, a.Wait(10000)) << Out("a");
    EXPECT_EQ(0, b.Wait(10000)) << Out("b");
    EXPECT_NE(std::string::npos, Out("a").find("result=3 index=1"));
    EXPECT_NE(std::string::npos, Out("b").find("result=3 index=1"));
    // Each request is answered before the other process opens the device.
    std::vector<std::string> order;
    for (const auto& e : m_board.Events("usb.log")) {
        if (e.text == "QVF1: open") order.push_back("open");
        if (e.text == "QVF1: write 1 00") order.push_back("request");
        if (e.text.rfind("QVF1: read 59 40", 0) == 0) order.push_back("response");
    }
    EXPECT_EQ(
        (std::vector<std::string>{"open", "request", "response", "open", "request", "response"}),
        order);
}

TEST_F(UsbLinkProcesses, HolderKilledWhileHoldingTheMutexDoesNotBlockTheNext) {
    ASSERT_TRUE(m_board.Start({"--controller", "1", "--no-answer", "--second-controller", "2",
                               "--second-serial", "QV0099999"}));
    // The link exists before the holder dies, so the mutex lives on and comes back abandoned.
    CUsbLink link(m_log);
    Child holder;
    ASSERT_TRUE(StartChild(holder, "holder", 1));
    // It holds the mutex while it waits for an answer that never comes on QVF1:.
    ASSERT_TRUE(
        WaitFor([&] { return UsbLog().find("QVF1: write 1 00") != std::string::npos; }, 10000));
    holder.Kill();
    const auto start = Clock::now();
    m_index = 2;
    EXPECT_EQ(0, link.Open(kPort, m_serial, m_boot, m_driver, &m_index));
    EXPECT_LT(MsSince(start), 900); // not held up by the dead holder's remaining devices
    EXPECT_STREQ("QV0099999", m_serial.Narrow());
    EXPECT_EQ(0, Lines("Failed to get mutex"));
    // The mutex was released again: another process identifies the board at once.
    link.Close();
    Child next;
    ASSERT_TRUE(StartChild(next, "next", 2));
    EXPECT_EQ(0, next.Wait(5000)) << Out("next");
}

} // namespace
