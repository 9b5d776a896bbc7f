// The watchdog and LED access and the LED blinker against the board simulator's "LED1:": what
// the board recorded for each call, the messages, and a board without the driver.
#include "logservice/CWatchdog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "BoardSim.h"
#include "CaptureLog.h"
#include "logservice/CLedBlinker.h"

namespace {

using partstest::Board;
using std::chrono::milliseconds;

std::vector<std::string> Texts(const std::vector<Board::Event>& events) {
    std::vector<std::string> texts;
    for (const auto& e : events)
        texts.push_back(e.text);
    return texts;
}

class WatchdogTest : public ::testing::Test {
  protected:
    TestRoot m_root;
    CaptureLog m_log;
    Board m_board{m_root.Path()};
};

TEST_F(WatchdogTest, CodesTheBoardRecordsForEachCall) {
    ASSERT_TRUE(m_board.Start({"--watchdog-ms", "60000"}));
    {
        CWatchdog watchdog(m_log);
        ASSERT_TRUE(watchdog.IsOpen());
        EXPECT_FALSE(m_log.Has("Watchdog created FFFFFFFF"));
        EXPECT_TRUE(m_log.Has("Watchdog created "));

        watchdog.Kick(); // not armed: nothing sent
        watchdog.TurnOff();
        EXPECT_EQ(0, m_board.Status("refreshes"));
        watchdog.SetLed(true);
        watchdog.SetLed(false);
        watchdog.SetLed(true);
        EXPECT_EQ((std::vector<std::string>{"LED on", "LED off", "LED on"}),
                  Texts(m_board.Events("led.log")));

        watchdog.TurnOn(CWatchdog::kModeOn);
        EXPECT_EQ("on", m_board.StatusText("watchdog"));
        EXPECT_EQ(0, m_board.Status("refreshes")); // the first on sends no refresh
        EXPECT_TRUE(m_log.Has("DeviceIoControl\r\n") || m_log.Has("DeviceIoControl\n"));
        EXPECT_EQ(1, m_log.Count("DeviceIoControl(IOCTL_WD_ON) "));
        EXPECT_EQ(1, m_log.Count("WD turned on!! 2"));

        watchdog.TurnOn(CWatchdog::kModeOn);
        EXPECT_EQ(1, m_board.Status("refreshes")); // a refresh after the second on code
        EXPECT_EQ(2, m_log.Count("DeviceIoControl(IOCTL_WD_ON) "));
        EXPECT_EQ(1, m_log.Count("WD turned on!! 2"));
        watchdog.Kick();
        EXPECT_EQ(2, m_board.Status("refreshes"));
        EXPECT_EQ(CWatchdog::kModeOn, watchdog.Mode());
    }
    // The destructor: refresh (its own and the switch-off's), off, the LED's "false" state.
    EXPECT_EQ(4, m_board.Status("refreshes"));
    EXPECT_EQ(0, m_board.Status("resets"));
    EXPECT_EQ((std::vector<std::string>{"LED on", "LED off", "LED on", "watchdog on",
                                        "watchdog off", "LED off"}),
              Texts(m_board.Events("led.log")));
    EXPECT_TRUE(m_log.Has("Watchdog closed"));
}

TEST_F(WatchdogTest, UnarmedWatchdogIsNotSwitchedOffAtTheEnd) {
    ASSERT_TRUE(m_board.Start({"--watchdog-ms", "60000"}));
    { CWatchdog watchdog(m_log); }
    EXPECT_EQ(0, m_board.Status("refreshes"));
    EXPECT_TRUE(m_board.Events("led.log").empty()); // LED stays in its "false" state
    EXPECT_TRUE(m_log.Has("Watchdog closed"));
}

TEST_F(WatchdogTest, WithoutTheDriverEverythingIsANoOp) {
    // No board runs for this device root: "LED1:" cannot be opened.
    {
        CWatchdog watchdog(m_log);
        EXPECT_FALSE(watchdog.IsOpen());
        EXPECT_TRUE(m_log.Has("Watchdog created FFFFFFFF"));
        watchdog.SetLed(true);
        watchdog.Kick();
        watchdog.TurnOn(CWatchdog::kModeOn);
        watchdog.TurnOff();
        // The mode still changes; nothing reaches a driver.
        EXPECT_EQ(1, m_log.Count("WD turned on!! 2"));
        EXPECT_FALSE(m_log.Has("DeviceIoControl"));
    }
    EXPECT_TRUE(m_log.Has("Watchdog closed"));

    CLedBlinker blinker(m_log);
    blinker.Start();
    std::this_thread::sleep_for(milliseconds(300)); // the thread has ended by now
    blinker.Stop();
    EXPECT_EQ(1, m_log.Count("Starting LED."));
    EXPECT_EQ(1, m_log.Count("Stopping LED."));
    EXPECT_FALSE(m_log.Has("LED stopped."));
}

TEST_F(WatchdogTest, BlinkerAlternatesEvery100msStartingWithTheFalseState) {
    ASSERT_TRUE(m_board.Start({"--watchdog-ms", "60000"}));
    CWatchdog watchdog(m_log);
    watchdog.SetLed(true);
    CLedBlinker blinker(m_log);
    blinker.Stop(); // never started: silent
    EXPECT_FALSE(m_log.Has("LED"));

    blinker.Start();
    std::this_thread::sleep_for(milliseconds(1050));
    blinker.Stop();
    EXPECT_EQ(1, m_log.Count("Starting LED."));
    EXPECT_EQ(1, m_log.Count("Stopping LED."));
    EXPECT_EQ(1, m_log.Count("LED stopped."));
    const auto events = m_board.Events("led.log");
    ASSERT_GE(events.size(), 7u); // "LED on" from SetLed, then about ten changes
    EXPECT_LE(events.size(), 14u);
    EXPECT_EQ("LED on", events[0].text);
    EXPECT_EQ("LED off", events[1].text); // the blinker's first code is the "false" state
    std::vector<long> gaps;
    for (size_t i = 1; i < events.size(); ++i) {
        if (i > 1) {
            EXPECT_NE(events[i].text, events[i - 1].text) << i;
            gaps.push_back(events[i].ms - events[i - 1].ms);
        }
    }
    std::sort(gaps.begin(), gaps.end());
    const long median = gaps[gaps.size() / 2];
    EXPECT_GE(median, 80);
    EXPECT_LE(median, 200);

    // Nothing changes after the stop.
    std::this_thread::sleep_for(milliseconds(300));
    EXPECT_EQ(events.size(), m_board.Events("led.log").size());
}

TEST_F(WatchdogTest, RestartingTheBlinkerStopsTheFirstOne) {
    ASSERT_TRUE(m_board.Start({"--watchdog-ms", "60000"}));
    CLedBlinker blinker(m_log);
    blinker.Start();
    std::this_thread::sleep_for(milliseconds(250));
    blinker.Start();
    std::this_thread::sleep_for(milliseconds(250));
    blinker.Stop();
    EXPECT_EQ(2, m_log.Count("Starting LED."));
    EXPECT_EQ(2, m_log.Count("Stopping LED."));
    EXPECT_EQ(2, m_log.Count("LED stopped."));
    // One blinker at a time: the changes still alternate.
    const auto events = m_board.Events("led.log");
    for (size_t i = 1; i < events.size(); ++i)
        EXPECT_NE(events[i].text, events[i - 1].text) << i;
}

TEST_F(WatchdogTest, BlinkerStoppedRightAfterItsStartDoesNotBlinkOn) {
    ASSERT_TRUE(m_board.Start({"--watchdog-ms", "60000"}));
    CLedBlinker blinker(m_log);
    blinker.Start();
    blinker.Stop();
    std::this_thread::sleep_for(milliseconds(400));
    const size_t after = m_board.Events("led.log").size();
    std::this_thread::sleep_for(milliseconds(400));
    EXPECT_EQ(after, m_board.Events("led.log").size());
    EXPECT_LE(after, 2u);
}

} // namespace
