// Events: reset kinds, named sharing within and across processes, waits and their results.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/Event.h"
#include "platform/LastError.h"
#include "platform/NamedMutex.h"
#include "testing/TempDir.h"

using namespace platform;

namespace {

uint32_t ElapsedMs(std::chrono::steady_clock::time_point since) {
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - since)
                                     .count());
}

class EventTest : public ::testing::Test {
  protected:
    qvtesting::DeviceRoot m_root;
};

TEST_F(EventTest, AutoResetReleasesOneWaitManualStaysSet) {
    const Handle autoEvent = CreateEvent(false, false);
    const Handle manual = CreateEvent(true, true);
    ASSERT_NE(0u, autoEvent);
    ASSERT_NE(0u, manual);
    EXPECT_EQ(kWaitTimeout, WaitForSingleObject(autoEvent, 0));
    ASSERT_TRUE(SetEvent(autoEvent));
    EXPECT_EQ(kWaitObject0, WaitForSingleObject(autoEvent, 0));
    EXPECT_EQ(kWaitTimeout, WaitForSingleObject(autoEvent, 0)); // the wait reset it

    EXPECT_EQ(kWaitObject0, WaitForSingleObject(manual, 0));
    EXPECT_EQ(kWaitObject0, WaitForSingleObject(manual, 10));
    ASSERT_TRUE(ResetEvent(manual));
    EXPECT_EQ(kWaitTimeout, WaitForSingleObject(manual, 0));
    EXPECT_TRUE(CloseHandle(autoEvent));
    EXPECT_TRUE(CloseHandle(manual));
}

TEST_F(EventTest, ATimedWaitLastsItsTimeAndASetFromAnotherThreadEndsIt) {
    const Handle e = CreateEvent(false, false);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(kWaitTimeout, WaitForSingleObject(e, 150));
    const uint32_t waited = ElapsedMs(start);
    EXPECT_GE(waited, 150u);
    EXPECT_LT(waited, 2000u);

    std::thread setter([e] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        SetEvent(e);
    });
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(kWaitObject0, WaitForSingleObject(e, 10000));
    EXPECT_LT(ElapsedMs(start), 5000u);
    setter.join();
    CloseHandle(e);
}

TEST_F(EventTest, BadHandlesFailWithTheirLastError) {
    SetLastError(0);
    EXPECT_EQ(kWaitFailed, WaitForSingleObject(0x12345670, 0));
    EXPECT_EQ(kErrorInvalidHandle, GetLastError());
    EXPECT_FALSE(SetEvent(0));
    EXPECT_FALSE(CloseHandle(0x12345670));
    const Handle m = CreateMutex(false);
    SetLastError(0);
    EXPECT_FALSE(SetEvent(m)); // a mutex is not an event
    EXPECT_EQ(kErrorInvalidHandle, GetLastError());
    const Handle e = CreateEvent(true, false);
    CloseHandle(e);
    EXPECT_EQ(kWaitFailed, WaitForSingleObject(e, 0)); // closed
    CloseHandle(m);
}

TEST_F(EventTest, NamedEventsAreOneObjectWhileAHandleIsOpen) {
    const Handle a = CreateEvent(true, false, u"QVFrcUSB1");
    ASSERT_NE(0u, a);
    EXPECT_EQ(kErrorSuccess, GetLastError());
    const Handle b = CreateEvent(false, true, u"QVFrcUSB1"); // kind and state kept
    ASSERT_NE(0u, b);
    EXPECT_EQ(kErrorAlreadyExists, GetLastError());
    EXPECT_EQ(kWaitTimeout, WaitForSingleObject(b, 0));
    const Handle c = OpenEvent(u"QVFrcUSB1");
    ASSERT_NE(0u, c);
    SetEvent(c);
    EXPECT_EQ(kWaitObject0, WaitForSingleObject(a, 0));
    EXPECT_EQ(kWaitObject0, WaitForSingleObject(b, 0)); // manual: still set
    EXPECT_EQ(0u, OpenEvent(u"qvfrcusb1"));             // names are case-sensitive
    EXPECT_EQ(kErrorFileNotFound, GetLastError());
    CloseHandle(a);
    CloseHandle(b);
    CloseHandle(c);
    // All handles closed: the object is gone, a new one starts afresh.
    EXPECT_EQ(0u, OpenEvent(u"QVFrcUSB1"));
    const Handle d = CreateEvent(false, false, u"QVFrcUSB1");
    EXPECT_EQ(kErrorSuccess, GetLastError());
    EXPECT_EQ(kWaitTimeout, WaitForSingleObject(d, 0));
    CloseHandle(d);
}

TEST_F(EventTest, NamesOfOtherKindsAndOddNamesAreHandled) {
    const Handle m = CreateMutex(false, u"Shared\\Name");
    ASSERT_NE(0u, m);
    EXPECT_EQ(0u, CreateEvent(false, false, u"Shared\\Name"));
    EXPECT_EQ(kErrorInvalidHandle, GetLastError());
    EXPECT_EQ(0u, OpenEvent(u"Shared\\Name"));
    EXPECT_EQ(kErrorInvalidHandle, GetLastError());
    const Handle slashes = CreateEvent(true, true, u"../../etc/x");
    ASSERT_NE(0u, slashes); // a name is never a path
    EXPECT_EQ(kWaitObject0, WaitForSingleObject(slashes, 0));
    EXPECT_EQ(0u, CreateEvent(true, true, std::u16string(201, u'x')));
    EXPECT_EQ(kErrorInvalidParameter, GetLastError());
    CloseHandle(slashes);
    CloseHandle(m);
}

TEST_F(EventTest, ANamedEventSignalsAnotherProcess) {
    const Handle e = CreateEvent(false, false, u"Across");
    ASSERT_NE(0u, e);
    const pid_t child = fork();
    if (child == 0) {
        const Handle mine = OpenEvent(u"Across");
        usleep(50 * 1000);
        _exit(mine != 0 && SetEvent(mine) ? 0 : 1);
    }
    EXPECT_EQ(kWaitObject0, WaitForSingleObject(e, 10000));
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    CloseHandle(e);
}

} // namespace
