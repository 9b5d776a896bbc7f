// The texts of the code sets, and the values the managed package relies on.
#include "outside/qvclient/CodeTexts.h"

#include <gtest/gtest.h>

#include <set>

#include "outside/qvclient/QVCodes.h"

using namespace qvclient;

namespace {

TEST(CodeTexts, FixedValuesHaveTheirMeaning) {
    EXPECT_EQ(PumpStateText(PUMP_STATE_OFFLINE), "Off line");
    EXPECT_EQ(PumpStateText(4), "Idle");
    EXPECT_EQ(PumpStateText(6), "Calling");
    EXPECT_EQ(PumpStateText(8), "No nozzle");
    EXPECT_EQ(PumpStateText(13), "Nozzle left out");
    EXPECT_EQ(PumpStateText(14), "Prepay timed out");
    EXPECT_EQ(DeliveryStateText(1), "Current");
    EXPECT_EQ(DeliveryStateText(2), "Stacked");
    EXPECT_EQ(DeliveryTypeText(3), "Prepay refund");
    EXPECT_EQ(ReserveTypeText(2), "Prepay reserved");
    EXPECT_EQ(ReserveTypeText(5), "Preauth");
    EXPECT_EQ(ReserveTypeText(9), "Tag preauth");
    EXPECT_EQ(EVENT_ZERO_DELIVERY, 17);
    EXPECT_EQ(EVENT_TERM_PROMPT, 27);
    EXPECT_EQ(TANK_STATE_NO_SERVER, 6);
    EXPECT_EQ(RESULT_DELIVERY_STARTED, 25);
}

// Every member of the four named sets has a text of its own.
TEST(CodeTexts, EveryMemberIsNamedOnce) {
    struct Set {
        std::string (*text)(int32_t);
        int32_t last;
    };
    for (const Set& s :
         {Set{PumpStateText, PUMP_STATE_DISABLED}, Set{DeliveryStateText, DELIVERY_STATE_CLEARED},
          Set{DeliveryTypeText, DELIVERY_TYPE_TEST}, Set{ReserveTypeText, RESERVE_TAG}}) {
        std::set<std::string> seen;
        for (int32_t code = 0; code <= s.last; ++code) {
            const std::string t = s.text(code);
            EXPECT_EQ(t.find("Unknown "), std::string::npos) << code;
            EXPECT_TRUE(seen.insert(t).second) << t;
        }
        EXPECT_EQ(s.text(s.last + 1).rfind("Unknown ", 0), 0u);
    }
}

TEST(CodeTexts, ValuesOutsideASetAreNamedWithTheirCode) {
    EXPECT_EQ(PumpStateText(-1), "Unknown pump state -1");
    EXPECT_EQ(DeliveryStateText(40), "Unknown delivery state 40");
    EXPECT_EQ(DeliveryTypeText(99), "Unknown delivery type 99");
    EXPECT_EQ(ReserveTypeText(10), "Unknown reserve type 10");
    EXPECT_EQ(ControlResultText(RESULT_STACK_FULL), "Delivery stack full");
    EXPECT_EQ(ControlResultText(0), "");
}

} // namespace
