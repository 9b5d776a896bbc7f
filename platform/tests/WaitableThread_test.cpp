// Threads with handles: waiting for their end, their exit code and ids; and the last error,
// which each thread keeps for itself.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/Event.h"
#include "platform/LastError.h"
#include "platform/Process.h"
#include "platform/Thread.h"

using namespace platform;

namespace {

TEST(WaitableThread, AWaitTimesOutWhileItRunsAndSucceedsOnceItReturned) {
    const Handle go = CreateEvent(true, false);
    uint32_t seenId = 0;
    uint32_t id = 0;
    const Handle t = CreateThread(
        [go, &seenId] {
            WaitForSingleObject(go, kInfinite);
            seenId = CurrentThreadId();
            return 42u;
        },
        &id);
    ASSERT_NE(0u, t);
    EXPECT_EQ(kWaitTimeout, WaitForSingleObject(t, 100));
    uint32_t code = 0;
    ASSERT_TRUE(GetExitCodeThread(t, code));
    EXPECT_EQ(kStillActive, code);
    SetEvent(go);
    EXPECT_EQ(kWaitObject0, WaitForSingleObject(t, 10000));
    ASSERT_TRUE(GetExitCodeThread(t, code));
    EXPECT_EQ(42u, code);
    EXPECT_EQ(id, seenId);
    EXPECT_NE(0u, id);
    EXPECT_NE(id, CurrentThreadId());
    EXPECT_TRUE(CloseHandle(t));
    EXPECT_FALSE(GetExitCodeThread(t, code));
    EXPECT_EQ(kErrorInvalidHandle, GetLastError());
    CloseHandle(go);
}

TEST(WaitableThread, ClosingTheHandleLeavesTheThreadRunning) {
    std::atomic<bool> ran{false};
    const Handle done = CreateEvent(true, false);
    const Handle t = CreateThread([&ran, done] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ran = true;
        SetEvent(done);
        return 0u;
    });
    ASSERT_TRUE(CloseHandle(t));
    EXPECT_EQ(kWaitObject0, WaitForSingleObject(done, 10000));
    EXPECT_TRUE(ran);
    CloseHandle(done);
}

TEST(LastError, EachThreadHasItsOwn) {
    SetLastError(1784);
    uint32_t inOther = 99;
    std::thread([&] {
        inOther = GetLastError();
        SetLastError(87);
    }).join();
    EXPECT_EQ(0u, inOther);
    EXPECT_EQ(1784u, GetLastError());
}

} // namespace
