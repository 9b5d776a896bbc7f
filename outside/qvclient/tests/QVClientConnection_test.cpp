// The client library's connections (127.0.11.25 .. 127.0.11.29): events are read on the logon's
// own thread into a bounded queue; when the server goes away calls fail with -14 or -23 within
// the call timeout, TestConnection and CheckSocketClosed tell, and a new logon works once the
// server is back.
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace qvtest;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kTimeoutMs = 3000; // the test logon's call timeout

int64_t MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Waits up to the bound for CheckSocketClosed to give -14.
int32_t AwaitClosed(int32_t h, std::chrono::milliseconds bound) {
    const auto until = Clock::now() + bound;
    int32_t r = 0;
    while ((r = CheckSocketClosedMT(h, 0)) == 0 && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return r;
}

// Waits until every thread of the process is stopped (a stop signal takes effect later than
// kill returns); false after two seconds.
bool AwaitStopped(pid_t pid) {
    const auto until = Clock::now() + std::chrono::seconds(2);
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    while (Clock::now() < until) {
        bool all = true;
        for (const auto& task : std::filesystem::directory_iterator(tasks)) {
            std::ifstream stat(task.path() / "stat");
            std::string line;
            std::getline(stat, line);
            const size_t close = line.rfind(')');
            if (close == std::string::npos || close + 2 >= line.size() ||
                (line[close + 2] != 'T' && line[close + 2] != 't'))
                all = false;
        }
        if (all) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

class ServerGoesAway : public ::testing::TestWithParam<int> {};

// SIGTERM stops the server in order, SIGKILL kills it: either way the logon learns at once.
TEST_P(ServerGoesAway, CallsGiveMinus14AndANewLogonWorksOnceItIsBack) {
    TempDir dir;
    ServerProcess server("127.0.11.25", dir.Path());
    ASSERT_TRUE(server.Start("demo"));
    int32_t h = Logon("127.0.11.25");
    ASSERT_NE(h, 0);
    EXPECT_EQ(TestConnectionMT(h), 0);
    EXPECT_EQ(CheckSocketClosedMT(h, 0), 0);

    server.Stop(GetParam());
    EXPECT_EQ(AwaitClosed(h, std::chrono::seconds(3)), QV_CONNECTION_BROKEN);
    const auto start = Clock::now();
    int32_t count = 0;
    EXPECT_EQ(GetPortsCountMT(h, &count), QV_CONNECTION_BROKEN);
    EXPECT_EQ(TestConnectionMT(h), QV_CONNECTION_BROKEN);
    EXPECT_EQ(ProcessEventsMT(h), QV_CONNECTION_BROKEN);
    EXPECT_LT(MsSince(start), kTimeoutMs);
    int32_t none = 0;
    EXPECT_EQ(Logon("127.0.11.25", &none), 0);
    EXPECT_EQ(none, QV_CANNOT_CONNECT);

    ASSERT_TRUE(server.Start("demo"));
    // The old logon stays broken; a new one works.
    EXPECT_EQ(GetPortsCountMT(h, &count), QV_CONNECTION_BROKEN);
    EXPECT_EQ(ClientLogoffMT(&h), 0);
    h = Logon("127.0.11.25");
    ASSERT_NE(h, 0);
    EXPECT_EQ(TestConnectionMT(h), 0);
    EXPECT_EQ(GetPortsCountMT(h, &count), 0);
    EXPECT_EQ(count, 3);
    ClientLogoffMT(&h);
}

INSTANTIATE_TEST_SUITE_P(Signals, ServerGoesAway, ::testing::Values(SIGTERM, SIGKILL));

TEST(ServerFrozen, CallsTimeOutWithMinus23WithinTheCallTimeoutThenGiveMinus14) {
    TempDir dir;
    ServerProcess server("127.0.11.26", dir.Path());
    ASSERT_TRUE(server.Start("demo"));
    int32_t h = Logon("127.0.11.26"), other = Logon("127.0.11.26");
    ASSERT_NE(h, 0);
    ASSERT_NE(other, 0);
    ASSERT_GT(server.Pid(), 0);
    ASSERT_EQ(kill(server.Pid(), SIGSTOP), 0);
    ASSERT_TRUE(AwaitStopped(server.Pid()));
    auto start = Clock::now();
    int32_t count = 0;
    EXPECT_EQ(GetPortsCountMT(h, &count), QV_TIMEOUT);
    EXPECT_GE(MsSince(start), kTimeoutMs - 100);
    EXPECT_LT(MsSince(start), kTimeoutMs + 1000);
    // A frozen server keeps its connections open: nothing says the events connection is gone,
    // until a timeout makes the library close the logon's connections.
    EXPECT_EQ(CheckSocketClosedMT(other, 0), 0);
    start = Clock::now();
    EXPECT_EQ(TestConnectionMT(other), QV_TIMEOUT);
    EXPECT_LT(MsSince(start), kTimeoutMs + 1000);
    EXPECT_EQ(CheckSocketClosedMT(other, 0), QV_CONNECTION_BROKEN);
    kill(server.Pid(), SIGCONT);
    // After a timeout the stream cannot be trusted: the logon stays broken.
    EXPECT_EQ(GetPortsCountMT(h, &count), QV_CONNECTION_BROKEN);
    EXPECT_EQ(TestConnectionMT(other), QV_CONNECTION_BROKEN);
    ClientLogoffMT(&h);
    ClientLogoffMT(&other);
    h = Logon("127.0.11.26");
    ASSERT_NE(h, 0);
    EXPECT_EQ(GetPortsCountMT(h, &count), 0);
    ClientLogoffMT(&h);
}

// Waits up to ten seconds for the queue to hold n events; the count it holds.
int32_t AwaitQueued(int32_t h, int32_t n) {
    const auto until = Clock::now() + std::chrono::seconds(10);
    int32_t queued = 0;
    while (GetEventsCountMT(h, &queued) == 0 && queued < n && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return queued;
}

TEST(EventsReader, EventsQueueWithoutProcessEventsUpToTheBoundAndNoneIsLost) {
    TempDir dir;
    ServerProcess server("127.0.11.27", dir.Path());
    ASSERT_TRUE(server.Start("demo"));
    // The writer first: the server's notice of its logon would be one more event for the reader.
    int32_t writer = Logon("127.0.11.27"), reader = Logon("127.0.11.27");
    ASSERT_NE(reader, 0);
    ASSERT_NE(writer, 0);
    // 600 more events than the queue holds; the writer discards its own as they come.
    constexpr int32_t kBound = 16384, kSent = kBound + 600;
    BSTR desc = Bstr("e");
    for (int32_t i = 0; i < kSent; ++i) {
        int32_t id = 0;
        ASSERT_EQ(AddLogEventMT(writer, 0, 0, 1, 1, desc, &id), 0) << i;
        while (DiscardNextEventMT(writer) == 0) {
        }
    }
    platform::SysFreeString(desc);
    // The reader never called ProcessEvents: its thread filled the queue up to the bound and
    // left the rest in the connection.
    EXPECT_EQ(AwaitQueued(reader, kBound), kBound);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    int32_t queued = 0;
    EXPECT_EQ(GetEventsCountMT(reader, &queued), 0);
    EXPECT_EQ(queued, kBound);
    EXPECT_EQ(ProcessEventsMT(reader), 0);
    EXPECT_EQ(CheckSocketClosedMT(reader, 0), 0);
    // Room in the queue lets the rest in, in order and complete.
    for (int32_t i = 0; i < 1000; ++i)
        ASSERT_EQ(DiscardNextEventMT(reader), 0);
    EXPECT_EQ(AwaitQueued(reader, kSent - 1000), kSent - 1000);
    int16_t type = 0;
    EXPECT_EQ(GetNextEventTypeMT(reader, &type), 0);
    EXPECT_EQ(type, 24);
    ClientLogoffMT(&reader);
    ClientLogoffMT(&writer);
}

TEST(UnknownHandles, AnswerNotLoggedOn) {
    EXPECT_EQ(TestConnectionMT(0), QV_NOT_LOGGED_ON);
    EXPECT_EQ(CheckSocketClosedMT(63, 0), QV_NOT_LOGGED_ON);
}

} // namespace
