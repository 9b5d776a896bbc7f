// The client library when its server goes away (127.0.11.25 .. 127.0.11.29): calls fail with
// -14 or -23 within the call timeout, TestConnection and CheckSocketClosed tell, and a new logon
// works once the server is back.
#include <chrono>
#include <csignal>
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

TEST(UnknownHandles, AnswerNotLoggedOn) {
    EXPECT_EQ(TestConnectionMT(0), QV_NOT_LOGGED_ON);
    EXPECT_EQ(CheckSocketClosedMT(63, 0), QV_NOT_LOGGED_ON);
}

} // namespace
