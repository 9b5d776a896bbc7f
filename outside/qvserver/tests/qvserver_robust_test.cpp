// The server under clients that misbehave (127.0.11.1 .. 127.0.11.19): one that never reads its
// events, connections that try to take over another logon's events, a descriptor limit reached,
// and the command line.
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#include "outside/qvclient/QVSocket.h"
#include "outside/qvclient/QVWire.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace qvtest;
using Clock = std::chrono::steady_clock;

namespace {

int64_t MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Reads the events waiting and discards them; their number.
int DrainEvents(int32_t h) {
    if (ProcessEventsMT(h) != 0) return -1;
    int n = 0;
    while (DiscardNextEventMT(h) == 0)
        ++n;
    return n;
}

// Reads the events that arrive until the events connection ends (-14) or `bound` passes.
int32_t ProcessUntilClosed(int32_t h, std::chrono::seconds bound) {
    const auto until = Clock::now() + bound;
    int32_t r = 0;
    while ((r = ProcessEventsMT(h)) == 0 && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return r;
}

TEST(SilentClient, ALogonThatNeverReadsItsEventsHoldsNobodyUp) {
    TempDir dir;
    ServerProcess server("127.0.11.1", dir.Path());
    ASSERT_TRUE(server.Start("demo"));
    int32_t silent = Logon("127.0.11.1"); // never reads its events until the end
    int32_t busy = Logon("127.0.11.1");   // reads its events after every call
    ASSERT_NE(silent, 0);
    ASSERT_NE(busy, 0);

    // Each log event is pushed to every logon: some 4 kB each, 24 MB in all, far more than the
    // socket buffers between the server and the silent client hold.
    BSTR desc = Bstr(std::string(2000, 'x'));
    int64_t slowest = 0;
    int failed = 0, received = 0;
    for (int i = 0; i < 6000 && failed == 0; ++i) { // a frozen server fails every later call
        const auto start = Clock::now();
        int32_t id = 0;
        if (AddLogEventMT(busy, 0, 0, 1, 1, desc, &id) != 0) ++failed;
        slowest = std::max(slowest, MsSince(start));
        received += DrainEvents(busy);
    }
    platform::SysFreeString(desc);
    EXPECT_EQ(failed, 0);
    EXPECT_LT(slowest, 1000) << "the slowest call took " << slowest << " ms";

    int32_t other = Logon("127.0.11.1");
    ASSERT_NE(other, 0);
    Out version;
    const auto start = Clock::now();
    EXPECT_EQ(ServerVersionMT(other, &version), 0);
    EXPECT_LT(MsSince(start), 1000);

    // The silent client was disconnected from its events (not left to miss some silently): it
    // reads what had reached it, then learns that its events connection is gone. Its calls go on.
    EXPECT_EQ(ProcessUntilClosed(silent, std::chrono::seconds(20)), QV_CONNECTION_BROKEN);
    int32_t queued = 0;
    EXPECT_EQ(GetEventsCountMT(silent, &queued), 0);
    EXPECT_GT(queued, 0);
    EXPECT_LT(queued, 6000);
    EXPECT_EQ(ServerVersionMT(silent, &version), 0);
    // The client that kept reading got every event.
    const auto until = Clock::now() + std::chrono::seconds(10);
    while (received < 6000 && Clock::now() < until)
        received += DrainEvents(busy);
    EXPECT_EQ(received, 6000);
    for (int32_t* h : {&silent, &busy, &other})
        ClientLogoffMT(h);
}

} // namespace
