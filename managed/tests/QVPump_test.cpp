// The pump control's behaviour: the calling blink and beep, the tooltip, the delivery list
// rules, repainting only what changed, -21 without a client, and, against a live server on
// 127.0.71.5, what a click does in each popup mode, each dialog result and the preset dialog.
// The operations' calls reach the server; which operation a click chose is seen through
// OperationDone.
#include <QPaintEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "managed/DisplayRules.h"
#include "managed/QVButton.h"
#include "managed/QVCheckBox.h"
#include "managed/QVClient.h"
#include "managed/QVDelListBox.h"
#include "managed/QVPopup.h"
#include "managed/QVPresetPopup.h"
#include "managed/QVPump.h"
#include "managed/QVTank.h"
#include "managed/art/ArtLayout.h"
#include "managed/tests/PumpFeed.h"
#include "managed/tests/QtApp.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace Halvora;
using halvoratest::Deliver;
using halvoratest::Delivery;
using halvoratest::Feed;
using halvoratest::Status;
using qvtest::ServerProcess;
using qvtest::TempDir;

namespace {

// Counts its beeps instead of sounding them.
class CountingPump : public QVPump {
  public:
    int beeps = 0;

  protected:
    void Beep() override { ++beeps; }
};

Status InState(int16_t state) {
    Status s;
    s.state = state;
    return s;
}

// The names of the operations a spy on OperationDone saw, in order.
QStringList Operations(const QSignalSpy& spy) {
    QStringList names;
    for (const QList<QVariant>& call : spy)
        names << call.at(0).toString();
    return names;
}

TEST(Calling, BlinksAndBeepsOnceASecondUntilTheStateLeaves) {
    QVPump::SetCallingInterval(50);
    CountingPump pump;
    pump.SetBeepEnabled(true);
    Feed(pump, InState(4));
    EXPECT_EQ(pump.beeps, 0);
    Feed(pump, InState(6));
    EXPECT_EQ(pump.beeps, 1) << "a beep when calling starts";
    EXPECT_TRUE(pump.CallingBlink());
    EXPECT_TRUE(pump.CallingTimerActive());
    // A repeated calling status does not start again.
    Feed(pump, InState(6));
    EXPECT_EQ(pump.beeps, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pump.beeps >= 4; }, 3000));
    // Each tick beeps once and flips the blink flag.
    const int beeps = pump.beeps;
    const bool blink = pump.CallingBlink();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pump.beeps == beeps + 1; }, 1000));
    EXPECT_NE(pump.CallingBlink(), blink);

    Feed(pump, InState(10));
    EXPECT_FALSE(pump.CallingTimerActive());
    EXPECT_FALSE(pump.CallingBlink());
    const int after = pump.beeps;
    QTest::qWait(200);
    EXPECT_EQ(pump.beeps, after) << "no beep once the pump has left calling";

    // Without beeping the picture still blinks.
    pump.SetBeepEnabled(false);
    Feed(pump, InState(6));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pump.CallingBlink(); }, 1000));
    EXPECT_EQ(pump.beeps, after);
    QVPump::SetCallingInterval(1000);
}

TEST(Tooltip, NamesEachKnownItem) {
    QVPump pump;
    Status s = InState(10);
    s.pumpName = QStringLiteral("Pump 7");
    Feed(pump, s);
    EXPECT_EQ(pump.TooltipText(), QStringLiteral("Pump 7"));
    s.gradeName = QStringLiteral("Diesel");
    s.hoseNumber = 2;
    s.attendantID = 4;
    s.tag = 0x1F;
    s.flowRate = 35.5;
    Feed(pump, s);
    EXPECT_EQ(pump.TooltipText(), QStringLiteral("Pump 7\nGrade\t Diesel\nHose\t 2\n"
                                                 "Attendant\t 12 Ana  [AB12]\nTag\t[1F]\n"
                                                 "Flow rate\t 35.50"));
    EXPECT_EQ(pump.toolTip(), pump.TooltipText());
}

TEST(Deliveries, TheListKeepsStatesOneAndTwo) {
    CountingPump pump;
    pump.SetBeepEnabled(true);
    QSignalSpy plain(&pump, &QVPump::DeliveryEvent);
    QSignalSpy ex(&pump, &QVPump::DeliveryEventEx);
    QSignalSpy ex3(&pump, &QVPump::DeliveryEventEx3);

    Deliver(pump, Delivery{1, 1});
    EXPECT_EQ(pump.beeps, 1) << "a new current sale beeps";
    Deliver(pump, Delivery{2, 2});
    EXPECT_EQ(pump.beeps, 1) << "a stacked one does not";
    ASSERT_EQ(pump.Deliveries().size(), 2);

    // A listed delivery takes its new state, type, holder and age.
    Delivery update{1, 2, 3, 44, -1};
    Deliver(pump, update);
    ASSERT_EQ(pump.Deliveries().size(), 2);
    EXPECT_EQ(pump.Deliveries()[0].State, 2);
    EXPECT_EQ(pump.Deliveries()[0].Type, 3);
    EXPECT_EQ(pump.Deliveries()[0].LockedBy, 44);
    EXPECT_TRUE(pump.Deliveries()[0].IsTimedOut());
    EXPECT_EQ(pump.beeps, 1);

    // Any other state leaves the list; one never listed does not join it.
    Deliver(pump, Delivery{2, 3});
    Deliver(pump, Delivery{9, 4});
    ASSERT_EQ(pump.Deliveries().size(), 1);
    EXPECT_EQ(pump.Deliveries()[0].ID, 1);
    Deliver(pump, Delivery{-1, 0});
    EXPECT_TRUE(pump.Deliveries().isEmpty());

    // Every delivery raises the plain list; the newer ones only when their fields are filled.
    EXPECT_EQ(plain.count(), 6);
    EXPECT_EQ(ex.count(), 0);
    EXPECT_EQ(ex3.count(), 0);
    Delivery filled{3, 2};
    filled.oldVolumeETot = 100;
    filled.newVolumeETot = 110.5;
    Deliver(pump, filled);
    EXPECT_EQ(plain.count(), 7);
    ASSERT_EQ(ex.count(), 1);
    EXPECT_EQ(ex3.count(), 1);
    EXPECT_EQ(ex.at(0).at(20).toDouble(), 110.5); // VolumeETot
}

// Records the region of every paint the control receives.
class PaintRecorder : public QObject {
  public:
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

TEST(Repaint, OnlyThePartsWhoseValuesChanged) {
    using namespace ArtLayout;
    QVPump pump;
    Status s = InState(10);
    s.hoseNumber = 1;
    Feed(pump, s);
    pump.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pump));
    PaintRecorder recorder;
    pump.installEventFilter(&recorder);
    const auto paintedAfter = [&](const Status& next) {
        QCoreApplication::processEvents();
        recorder.painted = QRegion();
        Feed(pump, next);
        QCoreApplication::processEvents();
        return recorder.painted;
    };
    s.volume = 1.5;
    s.value = 3.0;
    EXPECT_EQ(paintedAfter(s), QRegion(kPumpSaleRect));
    s.stackSize = 1;
    EXPECT_EQ(paintedAfter(s), QRegion(kPumpStackRect));
    s.reservedFor = 3;
    EXPECT_EQ(paintedAfter(s), QRegion(kPumpStateRect.united(kPumpReserveRect)));
    s.hoseNumber = 0;
    EXPECT_EQ(paintedAfter(s), QRegion(kPumpNozzleRect));
    EXPECT_TRUE(paintedAfter(s).isEmpty()) << "the same status paints nothing";
    s.state = 0;
    EXPECT_EQ(paintedAfter(s), QRegion(pump.rect())) << "off line changes the whole picture";
}

TEST(NoClient, EveryOperationReturnsMinus21) {
    QVPump pump;
    int32_t out = 5;
    const int32_t results[] = {pump.PreauthReserve(1),
                               pump.PreauthCancel(1),
                               pump.PreauthAuthorise(1, 2, 10, 1),
                               pump.LoadPreset(2, 10, 1, 1),
                               pump.PaymentReserve(1),
                               pump.PaymentCancel(1),
                               pump.PaymentAuthorise(1, 2, 10, 1, 1),
                               pump.Authorise(),
                               pump.CancelAuthorise(),
                               pump.TempStop(),
                               pump.ReAuthorise(),
                               pump.TerminateDelivery(),
                               pump.StackCurrentDelivery(),
                               pump.PrepayReserve(1),
                               pump.PrepayCancel(1),
                               pump.PrepayAuthorise(1, 2, 10, 1),
                               pump.AttendantAuthorise(1),
                               pump.EnablePump(),
                               pump.DisablePump(),
                               pump.AttendantLogon(1),
                               pump.GetHosesCount(out),
                               pump.GetHoseByNumber(1, out)};
    for (int32_t r : results)
        EXPECT_EQ(r, QVPump::kNoClient);
    EXPECT_EQ(out, 5) << "no call was made";

    // The reading operations: -21 too, their outputs untouched (GetHoseGrade's blanked).
    double density = 7;
    int32_t deliveryID = 5, hoseID = 5, lockedBy = 5, reservedBy = 5, attendantID = 5;
    int32_t duration = 5, gradeID = 5;
    int16_t state = 5, type = 5, level = 5;
    double volume = 5, price = 5, value = 5, volume2 = 5;
    QDateTime completed, cleared;
    QString grade = QStringLiteral("x");
    EXPECT_EQ(pump.GetDensity(1, density), QVPump::kNoClient);
    EXPECT_EQ(density, 7);
    EXPECT_EQ(pump.GetHoseGrade(1, gradeID, grade), QVPump::kNoClient);
    EXPECT_EQ(gradeID, -1);
    EXPECT_EQ(pump.GetDeliveryProperties(1, deliveryID, hoseID, state, type, volume, level, price,
                                         value, volume2, completed, lockedBy, reservedBy,
                                         attendantID),
              QVPump::kNoClient);
    EXPECT_EQ(pump.GetDeliveryPropertiesEx(1, deliveryID, hoseID, state, type, volume, level, price,
                                           value, volume2, completed, lockedBy, reservedBy,
                                           attendantID, cleared, duration),
              QVPump::kNoClient);
    EXPECT_EQ(deliveryID, 5);
}

TEST(Widgets, TheListChoosesByClickAndKey) {
    QVPump pump;
    Deliver(pump, Delivery{1, 2});
    Deliver(pump, Delivery{2, 2});
    Deliver(pump, Delivery{3, 1});
    QVDelListBox list(&pump);
    list.resize(300, 100);
    QSignalSpy chosen(&list, &QVDelListBox::DeliverySelected);
    QTest::mouseClick(&list, Qt::LeftButton, {}, QPoint(50, 25)); // second row
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).value<QVDelivery>().ID, 2);
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(chosen.last().at(0).value<QVDelivery>().ID, 3);
    QTest::keyClick(&list, Qt::Key_Down); // stays on the last row
    QTest::keyClick(&list, Qt::Key_Home);
    EXPECT_EQ(chosen.last().at(0).value<QVDelivery>().ID, 1);
    EXPECT_EQ(chosen.count(), 4);
    QTest::mouseClick(&list, Qt::LeftButton, {}, QPoint(50, 90)); // below the rows
    EXPECT_EQ(chosen.count(), 4);
}

TEST(Widgets, ButtonsCloseTheirDialogAndCheckBoxesFlip) {
    QDialog dialog;
    auto* button =
        new QVButton(QStringLiteral("StopDisabled.bmp"), QStringLiteral("StopEnabled.bmp"),
                     QStringLiteral("StopPressed.bmp"), DialogResult::No, QStringLiteral("Stop"),
                     Qt::Key_X, &dialog);
    auto* box =
        new QVCheckBox(QStringLiteral("ButtonHose.bmp"), QStringLiteral("ButtonHosePressed.bmp"),
                       QStringLiteral("H1"), QStringLiteral("H1"), &dialog);
    box->move(0, 60);
    EXPECT_EQ(button->size(), ArtLayout::kDialogButtonSize);
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.open();
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), DialogResult::No);
    dialog.open();
    EXPECT_TRUE(QVButton::PressHotKey(&dialog, Qt::Key_X));
    EXPECT_FALSE(QVButton::PressHotKey(&dialog, Qt::Key_Y));
    button->setEnabled(false);
    EXPECT_FALSE(QVButton::PressHotKey(&dialog, Qt::Key_X)) << "a disabled button does not answer";
    EXPECT_EQ(finished.count(), 2);

    EXPECT_FALSE(box->Checked());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(box->Checked());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(box->objectName(), QStringLiteral("H1"));
}

// ---- Against a live server ----

const QString kServer = QStringLiteral("127.0.71.5");

// The server's state of the pump, as the client reads it.
struct ServerPump {
    int16_t state = -1, reservedFor = -1;
    int32_t reservedBy = 0, attendantID = 0;
};
ServerPump ServerState(QVClient& client, int32_t id) {
    ServerPump s;
    int32_t number, hoseID, hoseNumber, hosePhys, gradeID, gradeNumber, stack, attNumber, ccID,
        ccNumber;
    int16_t phys, level;
    int64_t tag, attTag, ccTag;
    double price, volume, value, cur, peak;
    QString name, grade, shortGrade, attName, ccName;
    EXPECT_EQ(client.GetPumpStatusEx2(id, number, name, phys, s.state, s.reservedFor, s.reservedBy,
                                      hoseID, hoseNumber, hosePhys, gradeID, gradeNumber, grade,
                                      shortGrade, level, price, volume, value, stack, tag,
                                      s.attendantID, attNumber, attName, attTag, ccID, ccNumber,
                                      ccName, ccTag, cur, peak),
              0);
    return s;
}

class LivePump : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_dir = new TempDir;
        s_server = new ServerProcess(kServer.toStdString(), s_dir->Path());
        ASSERT_TRUE(s_server->Start("demo"));
    }
    static void TearDownTestSuite() {
        delete s_server;
        delete s_dir;
    }
    void SetUp() override {
        ASSERT_EQ(m_client.ClientLogonEx(41, 5, kServer, 5123, 5124, 3000), 0);
        ASSERT_EQ(m_client.GetPumpByOrdinal(1, m_pumpID), 0);
        m_pump.SetID(m_pumpID);
        m_pump.SetQVClient(&m_client);
        ASSERT_FALSE(m_pump.PumpName().isEmpty());
        QObject::connect(&m_pump, &QVPump::OperationDone,
                         [this](const QString& name, int32_t result) {
                             m_results.append({name, result});
                         });
    }
    // Every operation a click ran was answered by the server: no lost connection, no missing
    // client and no missing library function.
    void TearDown() override {
        for (const auto& [name, result] : m_results) {
            EXPECT_TRUE(result != 8 && result != -21 && result != -14 && result != -23 &&
                        result != 65)
                << name.toStdString() << " " << result;
        }
        m_client.ClientLogoff();
    }

    // The pump in `state` with `listed` deliveries (the first current, the rest stacked).
    void Prepare(int16_t state, int listed = 0) {
        Deliver(m_pump, Delivery{-1, 0});
        for (int i = 0; i < listed; ++i)
            Deliver(m_pump, Delivery{100 + i, int16_t(i == 0 ? 1 : 2)});
        Status s = InState(state);
        s.pumpName = m_pump.PumpName();
        s.valueFormat = 2;  // 2 decimals
        s.volumeFormat = 1; // 3 decimals
        Feed(m_pump, s);
    }
    // The pump's state as the server has it, and the server's test driver.
    int16_t ServerPumpState() { return ServerState(m_client, m_pumpID).state; }
    static int Ctl(const std::string& command) {
        return qvtesting::ServerCtl(kServer.toStdString(), command);
    }
    bool PopupShown() const { return m_pump.Popup() && m_pump.Popup()->isVisible(); }
    void ClosePopup() {
        if (m_pump.Popup()) m_pump.Popup()->done(DialogResult::Cancel);
    }

    static TempDir* s_dir;
    static ServerProcess* s_server;
    QVClient m_client;
    int32_t m_pumpID = -1;
    QVPump m_pump;
    QList<std::pair<QString, int32_t>> m_results;
};
TempDir* LivePump::s_dir = nullptr;
ServerProcess* LivePump::s_server = nullptr;

TEST_F(LivePump, NeverModeDoesNothingOtherModesMakeThePumpCurrent) {
    QSignalSpy ops(&m_pump, &QVPump::OperationDone);
    m_pump.SetPopupMode(QVPump::POPUP_NEVER);
    Prepare(6);
    m_pump.Click();
    EXPECT_NE(m_client.CurrentPump(), m_pumpID);
    EXPECT_FALSE(m_pump.IsCurrentPump());
    EXPECT_EQ(ops.count(), 0);
    EXPECT_FALSE(PopupShown());

    m_pump.SetPopupMode(QVPump::POPUP_ALWAYS);
    QTest::mouseClick(&m_pump, Qt::LeftButton);
    EXPECT_EQ(m_client.CurrentPump(), m_pumpID);
    EXPECT_TRUE(m_pump.IsCurrentPump());
    EXPECT_TRUE(PopupShown()) << "Always opens the dialog whatever the state";
    EXPECT_EQ(ops.count(), 0);
    ClosePopup();
}

TEST_F(LivePump, SometimesActsByStateWithoutListedDeliveries) {
    m_pump.SetPopupMode(QVPump::POPUP_SOMETIMES);
    const struct {
        int16_t state;
        const char* operation;
    } rows[] = {{6, "Authorise"}, {9, "ReAuthorise"}, {7, "TempStop"},  {8, "TempStop"},
                {10, "TempStop"}, {12, "TempStop"},   {3, "Authorise"}, {5, "CancelAuthorise"}};
    for (const auto& row : rows) {
        Prepare(row.state);
        QSignalSpy ops(&m_pump, &QVPump::OperationDone);
        m_pump.Click();
        ASSERT_GE(ops.count(), 1) << "state " << row.state;
        EXPECT_EQ(ops.at(0).at(0).toString(), QString::fromLatin1(row.operation))
            << "state " << row.state;
        EXPECT_FALSE(PopupShown()) << "state " << row.state;
        // CancelAuthorise is followed by TempStop exactly when it answered 25.
        if (row.state == 5)
            EXPECT_EQ(ops.count() == 2, ops.at(0).at(1).toInt() == 25);
        else
            EXPECT_EQ(ops.count(), 1);
    }
    for (int16_t state : {0, 1, 2, 4, 11, 13, 14, 15, 16, 17}) {
        Prepare(state);
        QSignalSpy ops(&m_pump, &QVPump::OperationDone);
        m_pump.Click();
        EXPECT_TRUE(PopupShown()) << "state " << state;
        EXPECT_EQ(ops.count(), 0);
        ClosePopup();
    }
}

TEST_F(LivePump, SometimesWithOneListedDeliveryRaisesTheCurrentOne) {
    m_pump.SetPopupMode(QVPump::POPUP_SOMETIMES);
    for (int16_t state : {2, 3, 5, 15, 17}) {
        Prepare(state, 1);
        QSignalSpy selected(&m_pump, &QVPump::DeliverySelectedEvent);
        m_pump.Click();
        ASSERT_EQ(selected.count(), 1) << "state " << state;
        EXPECT_EQ(selected.at(0).at(1).toInt(), 100);
        EXPECT_FALSE(PopupShown());
    }
    // A stacked one alone, two listed, or another state: the dialog.
    Prepare(3, 1);
    Deliver(m_pump, Delivery{100, 2});
    m_pump.Click();
    EXPECT_TRUE(PopupShown());
    ClosePopup();
    Prepare(3, 2);
    m_pump.Click();
    EXPECT_TRUE(PopupShown());
    ClosePopup();
    Prepare(6, 1);
    QSignalSpy ops(&m_pump, &QVPump::OperationDone);
    m_pump.Click();
    EXPECT_TRUE(PopupShown());
    EXPECT_EQ(ops.count(), 0);
    ClosePopup();
}

TEST_F(LivePump, EachPumpDialogResult) {
    m_pump.SetPopupMode(QVPump::POPUP_ALWAYS);
    QSignalSpy ops(&m_pump, &QVPump::OperationDone);
    QSignalSpy selected(&m_pump, &QVPump::DeliverySelectedEvent);

    // OK: a delivery chosen in the list.
    Prepare(4, 2);
    m_pump.Click();
    ASSERT_TRUE(PopupShown());
    EXPECT_EQ(m_pump.Popup()->List()->Items().size(), 2);
    QTest::mouseClick(m_pump.Popup()->List(), Qt::LeftButton, {}, QPoint(50, 25));
    EXPECT_FALSE(PopupShown());
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected.at(0).at(1).toInt(), 101);
    // A chosen delivery that has left the pump's list meanwhile raises nothing.
    QVDelivery gone;
    gone.ID = 555;
    m_pump.ActOnPopupResult(DialogResult::OK, &gone);
    EXPECT_EQ(selected.count(), 1);

    // Retry (Stack): the server's pump has no current delivery to stack.
    m_pump.Click();
    QTest::mouseClick(m_pump.Popup()->StackButton(), Qt::LeftButton);
    EXPECT_EQ(Operations(ops), QStringList{QStringLiteral("StackCurrentDelivery")});
    EXPECT_EQ(ops.at(0).at(1).toInt(), 23);
    ops.clear();

    // Yes (Auth): Authorise in 6 and 3, nothing in 5, ReAuthorise in 9.
    for (int16_t state : {6, 3}) {
        Prepare(state);
        m_pump.Click();
        ASSERT_TRUE(m_pump.Popup()->AuthButton()->isEnabled());
        QTest::mouseClick(m_pump.Popup()->AuthButton(), Qt::LeftButton);
        EXPECT_EQ(Operations(ops), QStringList{QStringLiteral("Authorise")}) << state;
        ops.clear();
    }
    Prepare(5);
    m_pump.ActOnPopupResult(DialogResult::Yes, nullptr);
    EXPECT_EQ(ops.count(), 0);
    Prepare(9);
    m_pump.Click();
    QTest::keyClick(m_pump.Popup(), Qt::Key_A); // the Auth button's hot key
    EXPECT_EQ(Operations(ops), QStringList{QStringLiteral("ReAuthorise")});
    ops.clear();

    // No (Stop): TerminateDelivery in 9, else CancelAuthorise (TempStop after a 25).
    m_pump.Click();
    QTest::mouseClick(m_pump.Popup()->StopButton(), Qt::LeftButton);
    EXPECT_EQ(Operations(ops), QStringList{QStringLiteral("TerminateDelivery")});
    ops.clear();
    Prepare(10);
    m_pump.ActOnPopupResult(DialogResult::No, nullptr);
    ASSERT_GE(ops.count(), 1);
    EXPECT_EQ(ops.at(0).at(0).toString(), QStringLiteral("CancelAuthorise"));
    ops.clear();

    // Cancel: nothing.
    m_pump.Click();
    QTest::keyClick(m_pump.Popup(), Qt::Key_Escape);
    EXPECT_FALSE(PopupShown());
    EXPECT_EQ(ops.count(), 0);

    // Preset mode: Auth opens the preset dialog instead, in 6, 3 and 5.
    m_pump.SetPopupMode(QVPump::POPUP_PRESET);
    for (int16_t state : {6, 3, 5}) {
        Prepare(state);
        m_pump.Click();
        QTest::mouseClick(m_pump.Popup()->AuthButton(), Qt::LeftButton);
        ASSERT_TRUE(m_pump.PresetPopup() && m_pump.PresetPopup()->isVisible()) << state;
        m_pump.PresetPopup()->done(DialogResult::Cancel);
    }
    EXPECT_EQ(ops.count(), 0);
}

TEST_F(LivePump, PresetSendsTheHoseMaskAndLimit) {
    m_client.CancelAuthorise(m_pumpID); // whatever earlier clicks left on the server's pump
    ASSERT_EQ(ServerPumpState(), 4);
    m_pump.SetPopupMode(QVPump::POPUP_PRESET);
    Prepare(6);
    m_pump.Click();
    QTest::mouseClick(m_pump.Popup()->AuthButton(), Qt::LeftButton);
    QVPresetPopup* preset = m_pump.PresetPopup();
    ASSERT_TRUE(preset && preset->isVisible());
    QSignalSpy ops(&m_pump, &QVPump::OperationDone);

    QTest::mouseClick(preset->HoseBox(1), Qt::LeftButton);
    QTest::mouseClick(preset->HoseBox(4), Qt::LeftButton);
    for (const char* key : {"1", "2", ".", "5"})
        QTest::mouseClick(preset->Key(QString::fromLatin1(key)), Qt::LeftButton);
    EXPECT_EQ(preset->Entry().Text(), QStringLiteral("12.5"));
    EXPECT_EQ(preset->HoseMask(), 9);
    const QVPresetPopup::Preset chosen = preset->ChosenPreset();
    EXPECT_EQ(chosen.type, 2);
    EXPECT_DOUBLE_EQ(chosen.limit, 12.5);
    EXPECT_EQ(chosen.hoses, 9);
    EXPECT_EQ(chosen.priceLevel, 1);
    QTest::mouseClick(preset->PresetButton(), Qt::LeftButton);
    EXPECT_FALSE(preset->isVisible());
    ASSERT_EQ(Operations(ops), QStringList{QStringLiteral("LoadPreset")});
    // The server holds the preset for hoses 1 and 4: hose 2 lifted only calls, hose 1 is served.
    EXPECT_EQ(ServerPumpState(), 5);
    ASSERT_EQ(Ctl("nozzle-up " + std::to_string(m_pumpID) + " 2"), 0);
    EXPECT_EQ(ServerPumpState(), 6);
    ASSERT_EQ(Ctl("nozzle-down " + std::to_string(m_pumpID)), 0);
    ASSERT_EQ(Ctl("nozzle-up " + std::to_string(m_pumpID) + " 1"), 0);
    EXPECT_NE(ServerPumpState(), 6);
    ASSERT_EQ(Ctl("nozzle-down " + std::to_string(m_pumpID)), 0);
    ops.clear();

    // A volume limit is type 3.
    preset->Refresh();
    preset->ChooseValue(false);
    preset->TickHose(2, true);
    preset->PressKey(QStringLiteral("7"));
    EXPECT_EQ(preset->ChosenPreset().type, 3);
    EXPECT_EQ(preset->ChosenPreset().hoses, 2);

    // Nothing ticked: all hoses, no limit, whatever was typed; no limit: the same.
    preset->Refresh();
    for (const char* key : {"4", "0"})
        preset->PressKey(QString::fromLatin1(key));
    QVPresetPopup::Preset open = preset->ChosenPreset();
    EXPECT_EQ(open.type, 2);
    EXPECT_EQ(open.limit, 0.0);
    EXPECT_EQ(open.hoses, 255);
    EXPECT_EQ(open.priceLevel, 1);
    preset->PressKey(QStringLiteral("CLR"));
    preset->TickHose(3, true);
    EXPECT_EQ(preset->ChosenPreset().hoses, 255);
    preset->open();
    QTest::keyClick(preset, Qt::Key_P); // Preset's hot key
    EXPECT_EQ(Operations(ops), QStringList{QStringLiteral("LoadPreset")});
    // All hoses: hose 2 is served at once.
    ASSERT_EQ(Ctl("nozzle-up " + std::to_string(m_pumpID) + " 2"), 0);
    EXPECT_NE(ServerPumpState(), 6);
    ASSERT_EQ(Ctl("nozzle-down " + std::to_string(m_pumpID)), 0);
    ops.clear();

    // Auth authorises.
    preset->open();
    QTest::mouseClick(preset->AuthButton(), Qt::LeftButton);
    EXPECT_EQ(Operations(ops), QStringList{QStringLiteral("Authorise")});
}

// The preset dialog of a pump shown in pt_BR draws its limit as the pump draws its amounts.
TEST_F(LivePump, ThePresetEntryUsesThePumpsLocale) {
    m_pump.setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    Prepare(6);
    m_pump.SetPopupMode(QVPump::POPUP_PRESET);
    m_pump.ActOnPopupResult(DialogResult::Yes, nullptr);
    QVPresetPopup* preset = m_pump.PresetPopup();
    ASSERT_TRUE(preset);
    for (const char* key : {"2", "5", ".", "5"})
        preset->PressKey(QString::fromLatin1(key));
    const QImage shown = preset->grab().toImage();
    EXPECT_EQ(preset->Entry().Text(m_pump.locale()), QStringLiteral("25,5"));
    EXPECT_EQ(SaleText(4.87, 2, m_pump.locale(), false), QStringLiteral("4,87"));
    const QRect entry = ArtLayout::kPresetEntryRect;
    QImage withComma(entry.size(), QImage::Format_ARGB32);
    withComma.fill(Qt::black);
    {
        QPainter p(&withComma);
        QFont font(QString::fromLatin1(ArtLayout::kFontFamily));
        font.setPixelSize(22);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(ArtLayout::kDisplayTextColor));
        p.drawText(QRect(QPoint(0, 0), entry.size()).adjusted(6, 0, -6, 0),
                   Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("25,5"));
    }
    // Every bright pixel of the comma's text is bright in the dialog too.
    int bright = 0, matched = 0;
    for (int y = 0; y < entry.height(); ++y)
        for (int x = 0; x < entry.width(); ++x)
            if (qGreen(withComma.pixel(x, y)) > 200) {
                ++bright;
                if (qGreen(shown.pixel(entry.left() + x, entry.top() + y)) > 200) ++matched;
            }
    ASSERT_GT(bright, 0);
    EXPECT_EQ(matched, bright);
    preset->done(DialogResult::Cancel);
}

// The pump's reading operations reach the server with the pump's ID.
TEST_F(LivePump, DensityHoseGradeAndDeliveriesOfThePump) {
    double density = -1;
    int32_t hoseID = -1;
    ASSERT_EQ(m_pump.GetHoseByNumber(1, hoseID), 0);
    EXPECT_EQ(m_pump.GetDensity(hoseID, density), m_client.GetDensity(m_pumpID, hoseID, density));
    int32_t gradeID = 0;
    QString grade;
    ASSERT_EQ(m_pump.GetHoseGrade(1, gradeID, grade), 0);
    int32_t number, physical, pumpID, pumpNumber, tankID, tankNumber, summaryGrade;
    QString summaryName;
    ASSERT_EQ(m_client.GetHoseSummary(hoseID, number, physical, pumpID, pumpNumber, tankID,
                                      tankNumber, summaryGrade, summaryName),
              0);
    EXPECT_EQ(pumpID, m_pumpID);
    EXPECT_EQ(gradeID, summaryGrade);
    EXPECT_EQ(grade, summaryName);
    EXPECT_FALSE(grade.isEmpty());
    EXPECT_NE(m_pump.GetHoseGrade(99, gradeID, grade), 0) << "no hose 99 on the pump";
    EXPECT_EQ(gradeID, -1);

    // The pump's first delivery, both ways; the same as the client reads for the pump's ID.
    int32_t id1 = 0, id2 = 0, id3 = 0, h1, h2, h3, l1, l2, l3, r1, r2, r3, a1, a2, a3, d2, d3;
    int16_t s1, s2, s3, t1, t2, t3, p1, p2, p3;
    double v1, v2, v3, pr1, pr2, pr3, va1, va2, va3, w1, w2, w3;
    QDateTime c1, c2, c3, k2, k3;
    const int32_t plain =
        m_pump.GetDeliveryProperties(1, id1, h1, s1, t1, v1, p1, pr1, va1, w1, c1, l1, r1, a1);
    const int32_t ex = m_pump.GetDeliveryPropertiesEx(1, id2, h2, s2, t2, v2, p2, pr2, va2, w2, c2,
                                                      l2, r2, a2, k2, d2);
    const int32_t direct = m_client.GetPumpDeliveryPropertiesEx(
        m_pumpID, 1, id3, h3, s3, t3, v3, p3, pr3, va3, w3, c3, l3, r3, a3, k3, d3);
    EXPECT_EQ(plain, direct);
    EXPECT_EQ(ex, direct);
    if (direct == 0) {
        EXPECT_GT(id3, 0);
        EXPECT_EQ(id1, id3);
        EXPECT_EQ(id2, id3);
        EXPECT_DOUBLE_EQ(v1, v3);
        EXPECT_EQ(d2, d3);
    }
}

TEST_F(LivePump, PresetDecimalsFollowTheValueOrVolumeChoice) {
    Prepare(6); // value format 2 (2 decimals), volume format 1 (3 decimals)
    m_pump.SetPopupMode(QVPump::POPUP_PRESET);
    m_pump.ActOnPopupResult(DialogResult::Yes, nullptr);
    QVPresetPopup* preset = m_pump.PresetPopup();
    ASSERT_TRUE(preset);
    EXPECT_TRUE(preset->ValueChosen());
    EXPECT_EQ(preset->Entry().Decimals(), 2);
    for (const char* key : {"1", ",", "2", "3", "4"})
        preset->PressKey(QString::fromLatin1(key));
    EXPECT_EQ(preset->Entry().Text(), QStringLiteral("1.23")) << "a third decimal does not fit";
    QTest::mouseClick(preset->VolumeBox(), Qt::LeftButton);
    EXPECT_FALSE(preset->ValueChosen());
    EXPECT_EQ(preset->Entry().Decimals(), 3);
    EXPECT_EQ(preset->Entry().Text(), QStringLiteral("1.23")) << "still fits";
    preset->PressKey(QStringLiteral("4"));
    EXPECT_EQ(preset->Entry().Text(), QStringLiteral("1.234"));
    QTest::mouseClick(preset->ValueBox(), Qt::LeftButton);
    EXPECT_EQ(preset->Entry().Text(), QStringLiteral("0")) << "three decimals no longer fit";

    // Keyboard: digits, backspace (key 8), delete clears.
    preset->open();
    QTest::keyClicks(preset, QStringLiteral("98.7"));
    EXPECT_EQ(preset->Entry().Text(), QStringLiteral("98.7"));
    QTest::keyClick(preset, Qt::Key_Backspace);
    QTest::keyClick(preset, Qt::Key_Backspace);
    EXPECT_EQ(preset->Entry().Text(), QStringLiteral("98"));
    QTest::keyClick(preset, Qt::Key_Delete);
    EXPECT_EQ(preset->Entry().Text(), QStringLiteral("0"));
    preset->done(DialogResult::Cancel);
}

TEST_F(LivePump, ATankReadsItsSummaryThenShowsItsStatus) {
    int32_t tankID = -1;
    ASSERT_EQ(m_client.GetTankByOrdinal(1, tankID), 0);
    QVTank tank;
    tank.SetQVClient(&m_client);
    tank.SetID(tankID);
    EXPECT_GT(tank.Number(), 0);
    EXPECT_FALSE(tank.TankName().isEmpty());
    EXPECT_GT(tank.Capacity(), 0);
    EXPECT_EQ(tank.TankState(), 1) << "the summary's state: a healthy gauge";

    QSignalSpy plain(&tank, &QVTank::StatusEvent);
    QSignalSpy ex(&tank, &QVTank::StatusEventEx);
    QSignalSpy ex2(&tank, &QVTank::StatusEventEx2);
    halvoratest::FeedTank(tank, 2, 5000);
    EXPECT_EQ(tank.TankState(), 2);
    EXPECT_EQ(tank.GaugeVolume(), 5000);
    EXPECT_EQ(plain.count(), 1);
    EXPECT_EQ(ex.count(), 1);
    ASSERT_EQ(ex2.count(), 1);
    EXPECT_EQ(ex2.at(0).at(1).toInt(), tankID);
    // An older library leaves State negative: only the older lists.
    halvoratest::FeedTank(tank, -1);
    EXPECT_EQ(ex2.count(), 1);
    EXPECT_EQ(plain.count(), 2);
    tank.ShowConnectionLost();
    EXPECT_EQ(tank.TankState(), QVTank::kNoServerState);
    EXPECT_EQ(tank.GaugeVolume(), 0);
}

TEST(PresetLimit, TheIntegerPartIsBoundedByTheDecimals) {
    PresetEntry entry;
    for (int decimals = 0; decimals <= 3; ++decimals) {
        entry.Clear();
        entry.SetDecimals(decimals);
        for (int i = 0; i < 9; ++i)
            entry.AddDigit('9');
        EXPECT_EQ(entry.Text().size(), PresetEntry::MaxIntegerDigits(decimals));
        entry.AddPoint();
        for (int i = 0; i < 5; ++i)
            entry.AddDigit('9');
        // Every limit fits six digits of a pump display.
        EXPECT_LT(entry.Value(), 1e6);
        EXPECT_EQ(entry.Text().size(), decimals == 0 ? 6 : 7) << decimals;
    }
    entry.Clear();
    entry.AddDigit('0');
    entry.AddDigit('0');
    EXPECT_EQ(entry.Text(), QStringLiteral("0"));
    EXPECT_FALSE(entry.IsSet());
    entry.SetDecimals(0);
    entry.AddPoint();
    entry.AddDigit('5');
    EXPECT_EQ(entry.Text(), QStringLiteral("0")) << "no point and no decimals without decimals";
}

// "1.5" typed for a format without decimals is a limit of 1, not 15; with decimals the digits
// after the point fill them up to the format's count, and the entry shows the pumps' locale.
TEST(PresetLimit, DigitsAfterThePointOnlyFillTheDecimals) {
    PresetEntry entry;
    entry.SetDecimals(0);
    for (char c : {'1', '.', '5', '7'})
        c == '.' ? entry.AddPoint() : entry.AddDigit(c);
    EXPECT_EQ(entry.Text(), QStringLiteral("1"));
    EXPECT_DOUBLE_EQ(entry.Value(), 1.0);
    entry.Backspace(); // the point goes with the last integer digit
    EXPECT_EQ(entry.Text(), QStringLiteral("0"));
    entry.AddDigit('2');
    EXPECT_EQ(entry.Text(), QStringLiteral("2")) << "typing goes on in the integer part";

    entry.Clear();
    entry.SetDecimals(2);
    for (char c : {'2', '5', ',', '5', '0', '9'})
        c == ',' ? entry.AddPoint() : entry.AddDigit(c);
    EXPECT_DOUBLE_EQ(entry.Value(), 25.5);
    EXPECT_EQ(entry.Text(), QStringLiteral("25.50"));
    EXPECT_EQ(entry.Text(QLocale(QLocale::Portuguese, QLocale::Brazil)), QStringLiteral("25,50"));
    // A type with fewer decimals chosen later still keeps the point.
    entry.Clear();
    entry.AddDigit('3');
    entry.AddPoint();
    entry.SetDecimals(0);
    entry.AddDigit('4');
    EXPECT_DOUBLE_EQ(entry.Value(), 3.0);
}

} // namespace

// A pump bound to a client shows the server's state from the start, before any status event,
// and the pump's own operations change that state on the server.
TEST_F(LivePump, ABoundPumpShowsTheServersStateAndItsOperationsChangeIt) {
    const auto rebind = [this] {
        m_pump.SetID(-1);
        m_pump.SetID(m_pumpID);
    };
    const auto expectShown = [this](const char* step) {
        const ServerPump s = ServerState(m_client, m_pumpID);
        EXPECT_EQ(m_pump.PumpState(), s.state) << step;
        EXPECT_EQ(m_pump.ReservedFor(), s.reservedFor) << step;
        EXPECT_EQ(m_pump.ReservedBy(), s.reservedBy) << step;
        EXPECT_EQ(m_pump.AttendantID(), s.attendantID) << step;
    };
    // Whatever the earlier clicks left on the server's pump is released first.
    m_pump.CancelAuthorise();
    for (int32_t by : {41, 0})
        for (auto cancel : {&QVPump::PreauthCancel, &QVPump::PaymentCancel, &QVPump::PrepayCancel})
            (m_pump.*cancel)(by);
    rebind();
    expectShown("bound");
    const int16_t idle = m_pump.PumpState();
    ASSERT_EQ(idle, 4) << "an idle pump on line is not shown off line";

    ASSERT_EQ(m_pump.Authorise(), 0);
    rebind();
    expectShown("authorised");
    EXPECT_NE(m_pump.PumpState(), idle);
    ASSERT_EQ(m_pump.CancelAuthorise(), 0);

    ASSERT_EQ(m_pump.PrepayReserve(41), 0);
    rebind();
    expectShown("prepay reserved");
    EXPECT_NE(m_pump.ReservedFor(), 0);
    EXPECT_EQ(m_pump.ReservedBy(), 41);
    EXPECT_NE(m_pump.PrepayCancel(42), 0) << "only the reserving client cancels";
    ASSERT_EQ(m_pump.PrepayAuthorise(41, 2, 20.0, 0), 0);
    ASSERT_EQ(m_pump.CancelAuthorise(), 0);
    rebind();
    expectShown("prepay cancelled");

    ASSERT_EQ(m_pump.DisablePump(), 0);
    EXPECT_NE(m_pump.Authorise(), 0) << "a disabled pump refuses authorisation";
    ASSERT_EQ(m_pump.EnablePump(), 0);

    int32_t attendant = -1;
    ASSERT_EQ(m_client.GetAttendantByOrdinal(1, attendant), 0);
    ASSERT_EQ(m_pump.AttendantLogon(attendant), 0);
    ASSERT_EQ(m_pump.AttendantAuthorise(attendant), 0);
    rebind();
    expectShown("attendant authorised");
    EXPECT_EQ(m_pump.AttendantID(), attendant);
    EXPECT_EQ(m_pump.CancelAuthorise(), 0);
    EXPECT_EQ(m_client.AttendantLogoff(attendant), 0);
    EXPECT_NE(m_pump.StackCurrentDelivery(), 65) << "the library function is reached";
}
