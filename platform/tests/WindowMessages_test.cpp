// Window messages: delivered in order on the service's thread, never to an unregistered window.
#include "platform/WindowMessages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// What one window received, waited for without sleeping.
struct Inbox {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<intptr_t> params;
    std::thread::id thread;

    platform::WindowProc Proc(uint32_t expectedMsg) {
        return [this, expectedMsg](platform::WindowHandle, uint32_t msg, intptr_t w, intptr_t) {
            std::lock_guard<std::mutex> lock(mutex);
            EXPECT_EQ(msg, expectedMsg);
            params.push_back(w);
            thread = std::this_thread::get_id();
            arrived.notify_all();
        };
    }
    bool WaitFor(size_t n) {
        std::unique_lock<std::mutex> lock(mutex);
        return arrived.wait_for(lock, std::chrono::seconds(5), [&] { return params.size() >= n; });
    }
};

TEST(WindowMessages, PostedMessagesArriveInOrderOnTheServicesThread) {
    Inbox inbox;
    const platform::WindowHandle w = platform::RegisterWindow(inbox.Proc(1024));
    ASSERT_NE(w, 0);
    static_assert(sizeof(platform::WindowHandle) == sizeof(void*), "pointer-sized handles");
    for (intptr_t k = 0; k < 1000; ++k)
        ASSERT_TRUE(platform::PostWindowMessage(w, 1024, k, 0));
    ASSERT_TRUE(inbox.WaitFor(1000));
    for (intptr_t k = 0; k < 1000; ++k)
        EXPECT_EQ(inbox.params[static_cast<size_t>(k)], k);
    EXPECT_NE(inbox.thread, std::this_thread::get_id());
    EXPECT_TRUE(platform::UnregisterWindow(w));
}

TEST(WindowMessages, AnUnregisteredOrUnknownWindowIsNeverCalled) {
    EXPECT_FALSE(platform::PostWindowMessage(12345, 1024, 0, 0));
    EXPECT_EQ(platform::RegisterWindow({}), 0);

    // A window busy in its callback while the other is unregistered with messages queued.
    std::mutex gate;
    gate.lock();
    std::atomic<int> slowCalls{0}, goneCalls{0};
    const platform::WindowHandle slow =
        platform::RegisterWindow([&](platform::WindowHandle, uint32_t, intptr_t, intptr_t) {
            ++slowCalls;
            std::lock_guard<std::mutex> wait(gate);
        });
    const platform::WindowHandle gone = platform::RegisterWindow(
        [&](platform::WindowHandle, uint32_t, intptr_t, intptr_t) { ++goneCalls; });
    ASSERT_TRUE(platform::PostWindowMessage(slow, 1, 0, 0));
    for (int k = 0; k < 10; ++k)
        ASSERT_TRUE(platform::PostWindowMessage(gone, 2, k, 0));
    EXPECT_TRUE(platform::UnregisterWindow(gone));
    EXPECT_FALSE(platform::UnregisterWindow(gone));
    EXPECT_FALSE(platform::PostWindowMessage(gone, 2, 0, 0));
    gate.unlock();
    // A message posted after the dropped ones comes through once they are passed over.
    Inbox after;
    const platform::WindowHandle next = platform::RegisterWindow(after.Proc(3));
    ASSERT_TRUE(platform::PostWindowMessage(next, 3, 7, 0));
    ASSERT_TRUE(after.WaitFor(1));
    EXPECT_EQ(goneCalls.load(), 0);
    EXPECT_EQ(slowCalls.load(), 1);
    EXPECT_NE(next, gone); // handles are not reused
    platform::UnregisterWindow(slow);
    platform::UnregisterWindow(next);
}

TEST(WindowMessages, UnregisteringWaitsForTheRunningCallback) {
    std::atomic<bool> inside{false}, finished{false};
    const platform::WindowHandle w =
        platform::RegisterWindow([&](platform::WindowHandle, uint32_t, intptr_t, intptr_t) {
            inside = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            finished = true;
        });
    ASSERT_TRUE(platform::PostWindowMessage(w, 1, 0, 0));
    while (!inside)
        std::this_thread::yield();
    EXPECT_TRUE(platform::UnregisterWindow(w));
    EXPECT_TRUE(finished.load());
}

TEST(WindowMessages, ACallbackMayUnregisterItsOwnWindow) {
    Inbox inbox;
    platform::WindowHandle w = 0;
    std::atomic<bool> unregistered{false};
    w = platform::RegisterWindow([&](platform::WindowHandle self, uint32_t, intptr_t, intptr_t) {
        unregistered = platform::UnregisterWindow(self);
    });
    ASSERT_TRUE(platform::PostWindowMessage(w, 1, 0, 0));
    const platform::WindowHandle probe = platform::RegisterWindow(inbox.Proc(9));
    ASSERT_TRUE(platform::PostWindowMessage(probe, 9, 0, 0));
    ASSERT_TRUE(inbox.WaitFor(1));
    EXPECT_TRUE(unregistered.load());
    EXPECT_FALSE(platform::PostWindowMessage(w, 1, 0, 0));
    platform::UnregisterWindow(probe);
}

} // namespace
