// The board driver "LED1:": the LED record, the watchdog's reset of the board and its refresh.
#include <chrono>
#include <thread>

#include "outside/board/tests/BoardFixture.h"
#include "platform/Device.h"
#include "platform/LastError.h"

using namespace platform;

namespace {

using boardtest::BoardFixture;
using boardtest::LinesWith;

constexpr uint32_t kLedOn = 0x00220000, kLedOff = 0x00220004, kWdOn = 0x00220018,
                   kWdOff = 0x0022001C, kWdRefresh = 0x00220020;

bool Code(Handle led, uint32_t code) {
    uint32_t returned = 99;
    return DeviceIoControl(led, code, nullptr, 0, nullptr, 0, &returned) && returned == 0;
}

long long TimeOf(const std::string& line) {
    return std::stoll(line.substr(0, line.find(' ')));
}

std::string StatusValue(const std::string& status, const std::string& key) {
    const std::vector<std::string> lines = LinesWith(status, key + " ");
    return lines.empty() ? "" : lines[0].substr(key.size() + 1);
}

class LedTest : public BoardFixture {};

TEST_F(LedTest, EveryLedChangeIsRecordedWithItsTime) {
    StartBoard({});
    const Handle led = OpenDevice(u"LED1:", kGenericRead | kGenericWrite, kShareRead | kShareWrite);
    ASSERT_NE(kInvalidHandle, led);
    const Handle second = OpenDevice(u"LED1:", kGenericRead | kGenericWrite, 0); // no sharing
    ASSERT_NE(kInvalidHandle, second);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(Code(second, kLedOff));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ASSERT_TRUE(Code(second, kLedOn));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_TRUE(Code(led, kLedOn)); // no change, no record
    const std::string record = m_board.Ctl("led");
    const std::vector<std::string> changes = LinesWith(record, "LED ");
    ASSERT_EQ(5u, changes.size()) << record; // starts off: the first "off" changes nothing
    EXPECT_NE(std::string::npos, changes[0].find("LED on"));
    EXPECT_NE(std::string::npos, changes[1].find("LED off"));
    for (size_t i = 1; i < changes.size(); ++i) {
        const long long step = TimeOf(changes[i]) - TimeOf(changes[i - 1]);
        EXPECT_GE(step, 95);
        EXPECT_LT(step, 1000);
    }
    EXPECT_EQ("on", StatusValue(m_board.Ctl("status"), "led"));

    EXPECT_FALSE(Code(led, 0x00220008));
    EXPECT_EQ(kErrorInvalidParameter, GetLastError());
    uint8_t b[4];
    uint32_t n = 0;
    EXPECT_FALSE(ReadDevice(led, b, 4, n));
    EXPECT_EQ(kErrorNotSupported, GetLastError());
    CloseHandle(led);
    CloseHandle(second);
}

TEST_F(LedTest, AnArmedWatchdogNotRefreshedResetsTheBoard) {
    StartBoard({"--watchdog-ms", "300"});
    const std::string hostBefore = StatusValue(m_board.Ctl("status"), "host");
    const Handle led = OpenDevice(u"LED1:", kGenericRead | kGenericWrite, 3);
    ASSERT_TRUE(Code(led, kLedOn));
    ASSERT_TRUE(Code(led, kWdOn));
    const auto armed = std::chrono::steady_clock::now();
    std::string status;
    while (std::chrono::steady_clock::now() - armed < std::chrono::seconds(20)) {
        status = m_board.Ctl("status");
        if (StatusValue(status, "resets") == "1") break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_GE(std::chrono::steady_clock::now() - armed, std::chrono::milliseconds(300));
    ASSERT_EQ("1", StatusValue(status, "resets")) << status;
    ASSERT_TRUE(m_board.WaitHostReady(20000));
    status = m_board.Ctl("status");
    EXPECT_EQ("2", StatusValue(status, "boots"));
    EXPECT_NE(hostBefore, StatusValue(status, "host"));
    EXPECT_EQ("off", StatusValue(status, "watchdog"));
    EXPECT_EQ("off", StatusValue(status, "led"));
    EXPECT_EQ(1u, LinesWith(m_board.Ctl("log"), "watchdog reset").size());
    CloseHandle(led);
}

TEST_F(LedTest, ARefreshedWatchdogDoesNotResetAndOffDisarmsIt) {
    StartBoard({"--watchdog-ms", "300"});
    const Handle led = OpenDevice(u"LED1:", kGenericRead | kGenericWrite, 3);
    ASSERT_TRUE(Code(led, kWdRefresh)); // while off: nothing
    ASSERT_TRUE(Code(led, kWdOn));
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(1200)) {
        ASSERT_TRUE(Code(led, kWdRefresh));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(Code(led, kWdOff));
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    const std::string status = m_board.Ctl("status");
    EXPECT_EQ("0", StatusValue(status, "resets")) << status;
    EXPECT_EQ("1", StatusValue(status, "boots"));
    const std::string record = m_board.Ctl("led");
    EXPECT_EQ(1u, LinesWith(record, "watchdog on").size());
    EXPECT_EQ(1u, LinesWith(record, "watchdog off").size());
    CloseHandle(led);
}

} // namespace
