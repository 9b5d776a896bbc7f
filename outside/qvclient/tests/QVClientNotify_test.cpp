// The library's window message (127.0.75.1 .. 127.0.75.4): one post per arrival batch until the
// host reads, the closing post that CheckSocketClosed reports as -14, none after a logoff, and
// a new events connection after the server dropped it, told by WasReconnected.
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/tests/ServerProcess.h"
#include "platform/WindowMessages.h"

using namespace qvtest;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int32_t kMessage = 1024;
constexpr intptr_t kArrived = 1, kClosed = 32;

// A registered window that records the lParam of every message it receives.
class TestWindow {
  public:
    TestWindow() {
        m_handle = platform::RegisterWindow(
            [this](platform::WindowHandle, uint32_t msg, intptr_t, intptr_t lParam) {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (msg == kMessage) m_params.push_back(lParam);
                m_changed.notify_all();
            });
    }
    ~TestWindow() { platform::UnregisterWindow(m_handle); }
    intptr_t Handle() const { return m_handle; }
    // Waits up to two seconds for at least n messages; how many there are.
    size_t Await(size_t n) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(2), [&] { return m_params.size() >= n; });
        return m_params.size();
    }
    std::vector<intptr_t> Params() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_params;
    }

  private:
    intptr_t m_handle = 0;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<intptr_t> m_params;
};

int32_t LogonNotifying(const std::string& server, intptr_t window) {
    int32_t h = 0;
    BSTR name = Bstr("notified"), key = Bstr(""), host = Bstr(server);
    const int32_t r = InternalClientLogonMT(&h, 9, 5, name, 1, key, 0, host, 5123, 5124, 3000, 0,
                                            window, kMessage);
    platform::SysFreeString(name);
    platform::SysFreeString(key);
    platform::SysFreeString(host);
    return r == 0 ? h : 0;
}

void Fire(int32_t h, int32_t eventID) {
    BSTR text = Bstr("note");
    EXPECT_EQ(FireClientEventMT(h, eventID, text), 0);
    platform::SysFreeString(text);
}

// Waits up to two seconds for the queue to hold n events.
bool AwaitQueued(int32_t h, int32_t n) {
    const auto until = Clock::now() + std::chrono::seconds(2);
    int32_t count = 0;
    while (GetEventsCountMT(h, &count) == 0 && count < n && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return count >= n;
}

void Drain(int32_t h) {
    while (DiscardNextEventMT(h) == 0) {
    }
}

} // namespace

TEST(WindowMessage, OnePostPerBatchUntilTheHostReadsAndAgainAfterward) {
    TempDir dir;
    ServerProcess server("127.0.75.1", dir.Path(), {"--clock", "manual"});
    ASSERT_TRUE(server.Start("demo"));
    TestWindow window;
    int32_t h = LogonNotifying(server.Address(), window.Handle());
    ASSERT_NE(h, 0);
    Drain(h);
    ASSERT_EQ(ProcessEventsMT(h), 0);

    for (int32_t id = 1; id <= 3; ++id)
        Fire(h, id);
    ASSERT_TRUE(AwaitQueued(h, 3));
    ASSERT_GE(window.Await(1), 1u);
    // The three arrived before the host read: one post told of them all.
    EXPECT_EQ(window.Params(), std::vector<intptr_t>{kArrived});
    EXPECT_EQ(CheckSocketClosedMT(h, kArrived), 0);

    // Once the host has read, the next arrival is told again.
    ASSERT_EQ(ProcessEventsMT(h), 0);
    Drain(h);
    Fire(h, 4);
    ASSERT_EQ(window.Await(2), 2u);
    EXPECT_EQ(window.Params()[1], kArrived);
    ClientLogoffMT(&h);
}

TEST(WindowMessage, AKilledServerIsToldByAClosingPostThatReadsAsMinus14) {
    TempDir dir;
    ServerProcess server("127.0.75.2", dir.Path(), {"--clock", "manual"});
    ASSERT_TRUE(server.Start("demo"));
    TestWindow window;
    int32_t h = LogonNotifying(server.Address(), window.Handle());
    ASSERT_NE(h, 0);
    Fire(h, 1);
    ASSERT_TRUE(AwaitQueued(h, 1));
    const size_t before = window.Await(1);
    ASSERT_GE(before, 1u);
    server.Stop(SIGKILL);
    ASSERT_EQ(window.Await(before + 1), before + 1);
    EXPECT_EQ(window.Params().back(), kClosed);
    EXPECT_EQ(CheckSocketClosedMT(h, static_cast<int32_t>(kClosed)), QV_CONNECTION_BROKEN);
    EXPECT_EQ(ProcessEventsMT(h), QV_CONNECTION_BROKEN);
    ClientLogoffMT(&h);
}

TEST(WindowMessage, ALogoffIsNotToldAndAWindowOfZeroIsNeverPosted) {
    TempDir dir;
    ServerProcess server("127.0.75.3", dir.Path(), {"--clock", "manual"});
    ASSERT_TRUE(server.Start("demo"));
    TestWindow window;
    int32_t h = LogonNotifying(server.Address(), window.Handle());
    ASSERT_NE(h, 0);
    int32_t silent = LogonNotifying(server.Address(), 0);
    ASSERT_NE(silent, 0);
    Fire(silent, 1);
    ASSERT_TRUE(AwaitQueued(h, 1));
    const size_t told = window.Await(1);
    ASSERT_GE(told, 1u);
    ClientLogoffMT(&h);
    ClientLogoffMT(&silent);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    for (intptr_t p : window.Params())
        EXPECT_EQ(p, kArrived);
}

TEST(WindowMessage, DroppedEventsAreAttachedAgainAndWasReconnectedTellsItOnce) {
    TempDir dir;
    ServerProcess server("127.0.75.4", dir.Path(), {"--clock", "manual"});
    ASSERT_TRUE(server.Start("demo"));
    TestWindow window;
    int32_t h = LogonNotifying(server.Address(), window.Handle());
    ASSERT_NE(h, 0);
    int16_t reconnected = -1;
    ASSERT_EQ(WasReconnectedMT(h, &reconnected), 0);
    EXPECT_EQ(reconnected, 0);

    const std::string ctl =
        BuildDir() + "/bin/qvserver ctl " + server.Address() + " drop-events >/dev/null 2>&1";
    ASSERT_EQ(std::system(ctl.c_str()), 0);
    const auto until = Clock::now() + std::chrono::seconds(3);
    while (WasReconnectedMT(h, &reconnected) == 0 && reconnected == 0 && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(reconnected, 1);
    ASSERT_EQ(WasReconnectedMT(h, &reconnected), 0);
    EXPECT_EQ(reconnected, 0); // asking clears it

    // Events flow on the new connection, and the window was never told of a close.
    Drain(h);
    ProcessEventsMT(h);
    Fire(h, 5);
    ASSERT_TRUE(AwaitQueued(h, 1));
    int32_t client = 0, id = 0;
    Out text;
    EXPECT_EQ(GetNextClientEventMT(h, &client, &id, &text), 0);
    EXPECT_EQ(id, 5);
    EXPECT_EQ(CheckSocketClosedMT(h, 0), 0);
    for (intptr_t p : window.Params())
        EXPECT_EQ(p, kArrived);
    EXPECT_EQ(WasReconnectedMT(0, &reconnected), QV_NOT_LOGGED_ON);
    ClientLogoffMT(&h);
}
