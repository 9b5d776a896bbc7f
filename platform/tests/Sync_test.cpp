#include "platform/Sync.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace platform;

TEST(CriticalSection, RecursiveAndExclusive) {
    CriticalSection cs;
    {
        Lock outer(cs);
        Lock inner(cs); // the owner may enter again
    }
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                Lock lock(cs);
                counter = counter + 1;
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(counter, 80000);
}
