// Mutexes: ownership by thread, recursion, waits with time limits, and the abandoned result when
// the owning thread or process ends without releasing.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "platform/Event.h"
#include "platform/LastError.h"
#include "platform/NamedMutex.h"
#include "testing/TempDir.h"

using namespace platform;

namespace {

class MutexTest : public ::testing::Test {
  protected:
    qvtesting::DeviceRoot m_root;
};

// The result of a wait on another thread (which gives back what it took).
uint32_t WaitElsewhere(Handle m, uint32_t ms) {
    uint32_t result = 0;
    std::thread([&] {
        result = WaitForSingleObject(m, ms);
        if (result == kWaitObject0 || result == kWaitAbandoned) ReleaseMutex(m);
    }).join();
    return result;
}

TEST_F(MutexTest, TheOwnerMayTakeItAgainAndOthersWait) {
    const Handle m = CreateMutex(false, u"QVForecourtUSBMutex");
    ASSERT_NE(0u, m);
    ASSERT_EQ(kWaitObject0, WaitForSingleObject(m, kInfinite));
    ASSERT_EQ(kWaitObject0, WaitForSingleObject(m, 0)); // recursion
    EXPECT_EQ(kWaitTimeout, WaitElsewhere(m, 100));
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_EQ(kWaitTimeout, WaitElsewhere(m, 0)); // still held once
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_EQ(kWaitObject0, WaitElsewhere(m, 0));
    EXPECT_FALSE(ReleaseMutex(m)); // not held any more
    EXPECT_EQ(kErrorNotOwner, GetLastError());
    CloseHandle(m);
}

TEST_F(MutexTest, OnlyTheOwnerReleasesAndAnInitialOwnerHoldsIt) {
    const Handle m = CreateMutex(true);
    ASSERT_NE(0u, m);
    bool released = true;
    uint32_t error = 0;
    std::thread([&] {
        released = ReleaseMutex(m);
        error = GetLastError();
    }).join();
    EXPECT_FALSE(released);
    EXPECT_EQ(kErrorNotOwner, error);
    EXPECT_TRUE(ReleaseMutex(m));
    CloseHandle(m);
    EXPECT_FALSE(ReleaseMutex(m));
    EXPECT_EQ(kErrorInvalidHandle, GetLastError());
}

TEST_F(MutexTest, OpenAndCreateFindTheExistingMutex) {
    EXPECT_EQ(0u, OpenMutex(u"Nobody"));
    EXPECT_EQ(kErrorFileNotFound, GetLastError());
    const Handle a = CreateMutex(true, u"Held");
    const Handle b = CreateMutex(true, u"Held"); // existed: not taken again
    EXPECT_EQ(kErrorAlreadyExists, GetLastError());
    const Handle c = OpenMutex(u"Held");
    ASSERT_NE(0u, c);
    EXPECT_TRUE(ReleaseMutex(c)); // one hold, through any handle
    EXPECT_FALSE(ReleaseMutex(a));
    const Handle e = CreateEvent(false, false, u"AnEvent");
    EXPECT_EQ(0u, OpenMutex(u"AnEvent"));
    EXPECT_EQ(kErrorInvalidHandle, GetLastError());
    for (Handle h : {a, b, c, e})
        CloseHandle(h);
}

TEST_F(MutexTest, AThreadThatEndsHoldingItAbandonsIt) {
    const Handle m = CreateMutex(false);
    std::thread([m] { WaitForSingleObject(m, kInfinite); }).join();
    EXPECT_EQ(kWaitAbandoned, WaitForSingleObject(m, 1000));
    EXPECT_TRUE(ReleaseMutex(m)); // the waiter owns it after all
    EXPECT_EQ(kWaitObject0, WaitElsewhere(m, 0));
    CloseHandle(m);
}

TEST_F(MutexTest, AProcessHoldingItBlocksOthersUntilItIsKilled) {
    int ready[2];
    ASSERT_EQ(0, pipe(ready));
    const pid_t child = fork();
    if (child == 0) {
        const Handle m = CreateMutex(true, u"QVForecourtUSBMutex");
        const char ok = m != 0 ? 'y' : 'n';
        (void)!write(ready[1], &ok, 1);
        for (;;)
            pause();
    }
    char ok = 0;
    ASSERT_EQ(1, read(ready[0], &ok, 1));
    ASSERT_EQ('y', ok);
    const Handle m = CreateMutex(false, u"QVForecourtUSBMutex");
    ASSERT_NE(0u, m);
    EXPECT_EQ(kErrorAlreadyExists, GetLastError());
    EXPECT_EQ(kWaitTimeout, WaitForSingleObject(m, 200));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(kWaitAbandoned, WaitForSingleObject(m, 5000));
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_EQ(kWaitObject0, WaitForSingleObject(m, 0));
    EXPECT_TRUE(ReleaseMutex(m));
    CloseHandle(m);
    close(ready[0]);
    close(ready[1]);
}

} // namespace
