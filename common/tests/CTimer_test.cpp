#include "common/CTimer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Clock.h"
#include "testing/TempDir.h"

namespace {

std::atomic<uint32_t> g_tick{0};
uint32_t DrivenTick() {
    return g_tick.load();
}

// Each test drives the tick counter and runs in its own device root.
class CTimerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_tick = 1000;
        platform::SetTickSource(DrivenTick);
    }
    void TearDown() override { platform::SetTickSource(nullptr); }
    qvtesting::DeviceRoot m_root{"ctimer-test"};
};

TEST_F(CTimerTest, ElapsedCountsFromConstructionAndRestart) {
    CTimer timer;
    EXPECT_EQ(timer.Elapsed(), 0);
    g_tick += 250;
    EXPECT_EQ(timer.Elapsed(), 250);
    g_tick += 50;
    EXPECT_EQ(timer.Restart(), 1300u);
    EXPECT_EQ(timer.Elapsed(), 0);
    g_tick += 7;
    EXPECT_EQ(timer.Elapsed(), 7);
}

TEST_F(CTimerTest, ElapsedAcrossAWrapOfTheTickCounter) {
    g_tick = 0xFFFFFF00u;
    CTimer timer;
    g_tick = 0x00000100u;
    EXPECT_EQ(timer.Elapsed(), 0x200);
    g_tick = 0xFFFFFFFFu;
    timer.Restart();
    g_tick = 0;
    EXPECT_EQ(timer.Elapsed(), 1);
}

TEST_F(CTimerTest, RealTickCounterMovesForward) {
    platform::SetTickSource(nullptr);
    CTimer timer;
    // Windows' tick moves in steps of 10 to 16 ms: 50 ms slept show at least 34.
    platform::Sleep(50);
    int32_t elapsed = timer.Elapsed();
    EXPECT_GE(elapsed, 30);
    EXPECT_LT(elapsed, 10000);
}

TEST_F(CTimerTest, ElementsOwnTheirSuccessors) {
    long before = CTimer::LiveCount();
    CTimer* first = new CTimer;
    CTimer* second = new CTimer;
    CTimer* third = new CTimer;
    EXPECT_EQ(CTimer::LiveCount(), before + 3);
    first->LinkNext(second);
    second->LinkPrev(first);
    second->LinkNext(third);
    EXPECT_EQ(second->Refs(), 1);
    EXPECT_EQ(first->Refs(), 1);
    EXPECT_EQ(first->Next(), second);
    EXPECT_EQ(second->Prev(), first);
    EXPECT_EQ(first->Self(), first);
    first->Touch();

    second->ReleasePrev();
    EXPECT_EQ(first->Refs(), 0);
    EXPECT_EQ(second->Prev(), nullptr);
    second->ReleasePrev(); // releasing an empty link changes nothing
    EXPECT_EQ(first->Refs(), 0);

    delete first; // destroys second and third through their virtual destructors
    EXPECT_EQ(CTimer::LiveCount(), before);
}

TEST_F(CTimerTest, ACopiedTimerKeepsItsStartButNoLinks) {
    long before = CTimer::LiveCount();
    {
        CTimer head;
        CTimer* tail = new CTimer;
        head.LinkNext(tail);
        g_tick += 40;
        CTimer copy(head);
        EXPECT_EQ(copy.Next(), nullptr); // the tail has one owner only
        EXPECT_EQ(copy.Elapsed(), 40);
        EXPECT_EQ(tail->Refs(), 1);
        EXPECT_EQ(CTimer::LiveCount(), before + 3);
    }
    EXPECT_EQ(CTimer::LiveCount(), before);
}

} // namespace
