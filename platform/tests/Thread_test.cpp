#include "platform/Thread.h"

#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/resource.h>
#include <unistd.h>

using namespace platform;

TEST(Thread, DetachedThreadsRunAtTheirPriority) {
    std::mutex m;
    std::condition_variable cv;
    int done = 0;
    int lowNice = -100, normalNice = -100;
    const int before = getpriority(PRIO_PROCESS, 0);
    auto body = [&](int& nice) {
        return [&] {
            const int n = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
            std::lock_guard<std::mutex> lock(m);
            nice = n;
            ++done;
            cv.notify_all();
        };
    };
    ASSERT_TRUE(StartDetachedThread(body(lowNice), ThreadPriority::Lowest));
    ASSERT_TRUE(StartDetachedThread(body(normalNice), ThreadPriority::Normal));
    std::unique_lock<std::mutex> lock(m);
    ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(20), [&] { return done == 2; }));
    EXPECT_EQ(lowNice, 19);
    EXPECT_EQ(normalNice, before);
    EXPECT_EQ(getpriority(PRIO_PROCESS, 0), before); // the caller keeps its own
}
