// The display controls as drawn: every pump state, reservation, nozzle and stack picture, the
// running sale in its display formats, the tank in each state and the delivery list's pictures,
// each compared with its reference PNG (Golden.h says how the references are drawn again);
// and the texts the pictures rest on: decimals by format and the running sale cut to its field.
#include <QTest>
#include <gtest/gtest.h>

#include "managed/DisplayRules.h"
#include "managed/QVDelListBox.h"
#include "managed/QVPopup.h"
#include "managed/QVPresetPopup.h"
#include "managed/QVPump.h"
#include "managed/QVTank.h"
#include "managed/tests/Golden.h"
#include "managed/tests/PumpFeed.h"
#include "managed/tests/QtApp.h"

using namespace Halvora;
using halvoratest::CompareWithGolden;
using halvoratest::Delivery;
using halvoratest::Feed;
using halvoratest::Render;
using halvoratest::Status;

namespace {

class Pictures : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { halvoratest::PinLook(); }
};

// A pump numbered 7 with no client, showing `s`.
QImage PumpWith(const Status& s) {
    QVPump pump;
    Feed(pump, s);
    return Render(pump);
}

Status WithState(int16_t state, int32_t hose = 0) {
    Status s;
    s.state = state;
    s.hoseNumber = hose;
    return s;
}

TEST_F(Pictures, EveryPumpStatePicture) {
    // 8 and 13 concern a lifted nozzle, so they are drawn with a hose up.
    const struct {
        int16_t state;
        int32_t hose;
    } cases[] = {{0, 0},  {1, 0},  {2, 0},  {3, 0},  {8, 1}, {9, 0}, {13, 1},
                 {14, 0}, {15, 0}, {16, 0}, {17, 0}, {4, 0}, {10, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(CompareWithGolden(PumpWith(WithState(c.state, c.hose)),
                                    QStringLiteral("pump_state_%1").arg(c.state)),
                  "")
            << "state " << c.state;
}

// The calling picture shows while the blink flag is on and goes with it.
TEST_F(Pictures, TheCallingPictureBlinks) {
    QVPump::SetCallingInterval(20);
    QVPump pump;
    Feed(pump, WithState(6));
    ASSERT_TRUE(pump.CallingBlink());
    EXPECT_EQ(CompareWithGolden(Render(pump), QStringLiteral("pump_state_6_on")), "");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pump.CallingBlink(); }, 2000));
    EXPECT_EQ(CompareWithGolden(Render(pump), QStringLiteral("pump_state_6_off")), "");
    QVPump::SetCallingInterval(1000);
}

TEST_F(Pictures, ReservationPicturesSitLower) {
    for (int16_t reserve : {2, 3, 4, 5, 8, 9}) {
        Status s = WithState(3); // locked: the reservation picture replaces the locked one
        s.reservedFor = reserve;
        EXPECT_EQ(CompareWithGolden(PumpWith(s), QStringLiteral("pump_reserved_%1").arg(reserve)),
                  "")
            << "reserved for " << reserve;
    }
    // A reservation picture is drawn kReservationDrop pixels below the state pictures.
    EXPECT_EQ(StatePictureChoice(PumpStatePicture(4, 3, false)).reservation, true);
    EXPECT_EQ(PumpStatePicture(3, 1, false).name, QStringLiteral("Locked.bmp"));
    EXPECT_EQ(PumpStatePicture(1, 3, false).name, QStringLiteral("error1.bmp"));
}

TEST_F(Pictures, StackPicturesCountTheUnpaidSales) {
    for (int16_t stack = 0; stack <= 6; ++stack) {
        Status s;
        s.stackSize = stack;
        EXPECT_EQ(CompareWithGolden(PumpWith(s), QStringLiteral("pump_stack_%1").arg(stack)), "")
            << "stack " << stack;
    }
    // A listed sale still in progress (state 1) is not counted: stack 2 shows as 1.
    QVPump pump;
    Status s;
    s.stackSize = 2;
    Feed(pump, s);
    halvoratest::Deliver(pump, Delivery{5, 1});
    EXPECT_EQ(CompareWithGolden(Render(pump), QStringLiteral("pump_stack_1")), "");
    EXPECT_EQ(StackPicture(-1), QStringLiteral("Stack0.bmp"));
}

TEST_F(Pictures, TheRunningSaleByDisplayFormat) {
    for (int16_t format : {0, 1, 2, 3, 4, 12}) {
        Status s = WithState(10, 1);
        s.volume = 12.3456;
        s.value = 1234.5678;
        s.price = 1.2345;
        s.priceFormat = s.valueFormat = s.volumeFormat = format;
        EXPECT_EQ(CompareWithGolden(PumpWith(s), QStringLiteral("pump_sale_format_%1").arg(format)),
                  "")
            << "format " << format;
    }
    Status s = WithState(10, 1);
    s.value = 123456789.12;
    s.valueFormat = 2;
    EXPECT_EQ(CompareWithGolden(PumpWith(s), QStringLiteral("pump_sale_cut")), "");
}

TEST(SaleText, DecimalsFollowTheFormatRuns) {
    const int expected[] = {0, 3, 2, 1, 0, 3, 2, 1, 0, 3, 2, 1, 0, 0};
    for (int format = 0; format <= 13; ++format)
        EXPECT_EQ(DecimalsOfFormat(format), expected[format]) << "format " << format;
    EXPECT_EQ(DecimalsOfFormat(-1), 0);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(SaleText(12.3456, 1, us, false), QStringLiteral("12.346"));
    EXPECT_EQ(SaleText(12.3456, 3, us, false), QStringLiteral("12.3"));
    EXPECT_EQ(SaleText(12.3456, 12, us, false), QStringLiteral("12"));
    EXPECT_EQ(SaleText(1234.5678, 2, us, true), QStringLiteral("$1,234.57"));
}

TEST(SaleText, ALongTextLosesBlanksGroupsSymbolThenItsHighDigits) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(SaleText(1234567.5, 2, us, true, 12), QStringLiteral("$1234567.50"));
    EXPECT_EQ(SaleText(1234567.5, 2, us, true, 10), QStringLiteral("1234567.50"));
    EXPECT_EQ(SaleText(123456789.12, 2, us, true, 10), QStringLiteral("3456789.12"));
    // Blanks go first: French groups with narrow no-break spaces and puts the symbol after.
    const QLocale fr(QLocale::French, QLocale::France);
    const QString cut = SaleText(12345.5, 2, fr, true, 9);
    EXPECT_EQ(cut, QStringLiteral("12345,50€"));
}

TEST_F(Pictures, TheTankInEachState) {
    for (int16_t state = 0; state <= 7; ++state) {
        QVTank tank;
        halvoratest::FeedTank(tank, state);
        EXPECT_EQ(CompareWithGolden(Render(tank), QStringLiteral("tank_state_%1").arg(state)), "")
            << "state " << state;
    }
}

// The demo site's widest title: a name that carries its grade's short name, and the grade's full
// name on its own line; neither is cut at the default size.
TEST_F(Pictures, ALongTankTitleKeepsNumberNameAndGrade) {
    QVTank tank;
    tank.StatusEventSink(17200, 17010, 12800, 15.5, 1362.3, 12.5, 8.25, 12,
                         QStringLiteral("Tank 2 SUP98"), 1, QStringLiteral("Unleaded 95"), 1, 30000,
                         2.54, 3, 1, 1, 0);
    EXPECT_EQ(CompareWithGolden(Render(tank), QStringLiteral("tank_title_long")), "");
}

TEST_F(Pictures, TheDeliveryListPictures) {
    QVPump pump;
    Status s;
    s.volumeFormat = 3;
    s.valueFormat = 2;
    Feed(pump, s);
    halvoratest::Deliver(pump, Delivery{1, 2});            // stacked: no picture
    halvoratest::Deliver(pump, Delivery{2, 2, 1, 21});     // locked
    halvoratest::Deliver(pump, Delivery{3, 2, 1, -1, -5}); // timed out
    halvoratest::Deliver(pump, Delivery{4, 1});            // current
    halvoratest::Deliver(pump, Delivery{5, 2, 3});         // refund
    halvoratest::Deliver(pump, Delivery{6, 1, 3});         // current refund
    halvoratest::Deliver(pump, Delivery{7, 2, 3, 21, -5}); // locked wins over timed out
    QVDelListBox list(&pump);
    list.resize(300, 7 * 20);
    EXPECT_EQ(CompareWithGolden(Render(list), QStringLiteral("delivery_list")), "");
    list.Select(3);
    EXPECT_EQ(CompareWithGolden(Render(list), QStringLiteral("delivery_list_selected")), "");
}

// The two dialogs a click opens: buttons enabled by the state, the sale caption, the keypad
// with a typed limit and a ticked hose.
TEST_F(Pictures, TheDialogs) {
    QVPump pump;
    Status s = WithState(6);
    s.valueFormat = 2;
    s.volumeFormat = 1;
    s.volume = 12.5;
    s.value = 25;
    Feed(pump, s);
    halvoratest::Deliver(pump, Delivery{1, 1});
    halvoratest::Deliver(pump, Delivery{2, 2, 3});
    QVPopup popup(&pump);
    EXPECT_EQ(CompareWithGolden(Render(popup), QStringLiteral("popup")), "");
    QVPresetPopup preset(&pump);
    preset.TickHose(1, true);
    for (const char* key : {"1", "2", ".", "5"})
        preset.PressKey(QString::fromLatin1(key));
    EXPECT_EQ(CompareWithGolden(Render(preset), QStringLiteral("preset_popup")), "");
}

} // namespace
