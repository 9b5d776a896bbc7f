// The forecourt engine on a small site in a real store, driven by its simulated clock.
#include "outside/qvserver/Forecourt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVCodes.h"
#include "outside/qvserver/FieldNames.h"
#include "outside/qvserver/ForecourtTables.h"
#include "testing/TempDir.h"

using namespace qvserver;

namespace {

constexpr double kStart = 46000.25; // the simulated clock's start (automation date)
constexpr int32_t kClient = 7, kOther = 8;

// Every event in arrival order: one letter per kind, and the records by kind.
struct RecordingSink : ForecourtSink {
    std::string
        kinds; // P pump, D delivery, S stacked, C cleared, H totals, T tank, Z zero, L log, I item
    std::vector<PumpStatusRecord> pumps;
    std::vector<DeliveryRecord> deliveries;
    std::vector<int32_t> stacked;
    std::vector<DeliveryRecord> cleared;
    std::vector<HoseTotalsRecord> totals;
    std::vector<TankStatusRecord> tanks;
    std::vector<ZeroDeliveryRecord> zeros;
    std::vector<LogEventRecord> logs;
    std::vector<SaleItemRecord> items;
    std::vector<AttendantRecord> logons, logoffs;

    void PumpStatus(const PumpStatusRecord& r) override { kinds += 'P', pumps.push_back(r); }
    void Delivery(const DeliveryRecord& r) override { kinds += 'D', deliveries.push_back(r); }
    void DeliveryStacked(int32_t id) override { kinds += 'S', stacked.push_back(id); }
    void DeliveryCleared(const DeliveryRecord& r) override { kinds += 'C', cleared.push_back(r); }
    void HoseTotals(const HoseTotalsRecord& r) override { kinds += 'H', totals.push_back(r); }
    void TankStatus(const TankStatusRecord& r) override { kinds += 'T', tanks.push_back(r); }
    void ZeroDelivery(const ZeroDeliveryRecord& r) override { kinds += 'Z', zeros.push_back(r); }
    void LogEvent(const LogEventRecord& r) override { kinds += 'L', logs.push_back(r); }
    void SaleItem(const SaleItemRecord& r) override { kinds += 'I', items.push_back(r); }
    void AttendantLogon(const AttendantRecord& r) override { kinds += 'A', logons.push_back(r); }
    void AttendantLogoff(const AttendantRecord& r) override { kinds += 'O', logoffs.push_back(r); }

    void Forget() { *this = RecordingSink{}; }
    std::vector<PumpStatusRecord> Of(int32_t pump) const {
        std::vector<PumpStatusRecord> v;
        for (const auto& p : pumps)
            if (p.pumpID == pump) v.push_back(p);
        return v;
    }
    std::vector<TankStatusRecord> OfTank(int32_t tank) const {
        std::vector<TankStatusRecord> v;
        for (const auto& t : tanks)
            if (t.tankID == tank) v.push_back(t);
        return v;
    }
};

// Tables that refuse everything, as a database that is locked or full.
struct RefusingTables : ForecourtTables {
    int32_t AddDelivery(const DeliveryRecord&) override { return 0; }
    bool UpdateDelivery(const DeliveryRecord&) override { return false; }
    int32_t AddLogEvent(const LogEventRecord&) override { return 0; }
    int32_t AddSaleItem(const SaleItemRecord&) override { return 0; }
    bool SaveHoseTotals(int32_t, double, double) override { return false; }
    bool SaveTankGauge(const TankStatusRecord&) override { return false; }
};

Value I(int32_t v) {
    return Value::I32(v);
}
Value H(int16_t v) {
    return Value::I16(v);
}
Value F(double v) {
    return Value::F64(v);
}
Value T(const char16_t* s) {
    return Value::Text(s);
}

// Grades 1 (2.000, level 2 1.900) and 2 (1.500). Tanks: 1 half full, 2 just above its low
// alarm, 3 nearly empty. Pump 1: client-authorised, prepay and preauth allowed, hose 1 on tank 1
// and hose 2 (own price 1.555) on tank 2. Pump 2: auto-authorised, manual stacking. Pump 3:
// monitor mode. Pump 4: on the nearly empty tank.
void SeedSite(Store& s) {
    const Names grade{"Number", "Name", "ShortName", "Price1", "Price2"};
    s.Set(kGrade, 1, grade, {I(1), T(u"Unleaded"), T(u"ULP"), F(2.0), F(1.9)});
    s.Set(kGrade, 2, grade, {I(2), T(u"Diesel"), T(u"DSL"), F(1.5), F(1.4)});
    const Names tank{"Number",          "Name",
                     "GradeID",         "Type",
                     "Capacity",        "Diameter",
                     "GaugeVolume",     "GaugeTCVolume",
                     "GaugeUllage",     "GaugeWaterVolume",
                     "GaugeWaterLevel", "GaugeTemperature"};
    s.Set(kTank, 1, tank,
          {I(1), T(u"Tank 1"), I(1), H(1), F(10000), F(2.0), F(5000), F(4990), F(5000), F(20),
           F(10), F(15)});
    s.Set(kTank, 2, tank,
          {I(2), T(u"Tank 2"), I(2), H(1), F(10000), F(2.0), F(1600), F(1600), F(8400), F(0), F(0),
           F(15)});
    s.Set(kTank, 3, tank,
          {I(3), T(u"Tank 3"), I(1), H(2), F(1000), F(1.0), F(5), F(5), F(995), F(0), F(0), F(15)});
    const Names pump{"Number",    "Name",          "PriceLevel1",    "AuthMode",
                     "StackMode", "PrepayAllowed", "PreauthAllowed", "AttendantID"};
    s.Set(kPump, 1, pump, {I(1), T(u"Pump 1"), H(1), H(1), H(1), H(1), H(1), I(-1)});
    s.Set(kPump, 2, pump, {I(2), T(u"Pump 2"), H(1), H(2), H(2), H(0), H(0), I(3)});
    s.Set(kPump, 3, pump, {I(3), T(u"Pump 3"), H(1), H(3), H(1), H(0), H(0), I(-1)});
    s.Set(kPump, 4, pump, {I(4), T(u"Pump 4"), H(1), H(2), H(1), H(0), H(0), I(-1)});
    const Names hose{"Number", "PumpID",        "TankID",      "PhysicalNumber",
                     "Price1", "MtrElecVolume", "MtrElecValue"};
    s.Set(kHose, 11, hose, {I(1), I(1), I(1), I(101), F(0), F(1000), F(2000)});
    s.Set(kHose, 12, hose, {I(2), I(1), I(2), I(102), F(1.555), F(0), F(0)});
    s.Set(kHose, 21, hose, {I(1), I(2), I(1), I(201), F(0), F(0), F(0)});
    s.Set(kHose, 31, hose, {I(1), I(3), I(1), I(301), F(0), F(0), F(0)});
    s.Set(kHose, 41, hose, {I(1), I(4), I(3), I(401), F(0), F(0), F(0)});
}

class ForecourtTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(m_store.Open(m_root.Str() + "/site.db", error)) << error;
        SeedSite(m_store);
    }
    // Builds the engine over what the store holds now.
    Forecourt& Start(ForecourtSettings settings = {}) {
        Site site;
        std::string error;
        EXPECT_TRUE(LoadSite(m_store, site, error)) << error;
        m_fc = std::make_unique<Forecourt>(std::move(site), m_sink, m_tables, kStart, settings);
        return *m_fc;
    }
    PumpStatusRecord Status(int32_t pump) {
        PumpStatusRecord r;
        EXPECT_TRUE(m_fc->GetPumpStatus(pump, r));
        return r;
    }
    int16_t State(int32_t pump) { return Status(pump).state; }
    TankStatusRecord Tank(int32_t tank) {
        TankStatusRecord r;
        EXPECT_TRUE(m_fc->GetTankStatus(tank, r));
        return r;
    }
    // Delivers on an authorised or auto pump for `ms` and hangs up; the delivery made.
    DeliveryRecord Sell(int32_t pump, int32_t hose, int64_t ms) {
        EXPECT_EQ(m_fc->NozzleUp(pump, hose), 0);
        m_fc->Advance(ms);
        EXPECT_EQ(m_fc->NozzleDown(pump), 0);
        return m_sink.deliveries.empty() ? DeliveryRecord{} : m_sink.deliveries.back();
    }
    double Db(const std::string& sql, int32_t id) {
        double v = -1;
        EXPECT_TRUE(m_store.Scalar(sql, {Value::I32(id)}, v)) << sql;
        return v;
    }

    qvtesting::DeviceRoot m_root;
    Store m_store;
    StoreTables m_tables{m_store};
    RecordingSink m_sink;
    std::unique_ptr<Forecourt> m_fc;
};

// ---- Pump states and the calls that change them ----

TEST_F(ForecourtTest, PostpaySaleGoesFromCallingThroughDeliveringToIdle) {
    Forecourt& fc = Start();
    EXPECT_EQ(State(1), PUMP_STATE_IDLE);
    ASSERT_EQ(fc.NozzleUp(1, 1), 0);
    const PumpStatusRecord calling = m_sink.pumps.back();
    EXPECT_EQ(calling.state, PUMP_STATE_CALLING);
    EXPECT_EQ(calling.hoseID, 11);
    EXPECT_EQ(calling.hoseNumber, 1);
    EXPECT_EQ(calling.hosePhysicalNumber, 101);
    EXPECT_EQ(calling.gradeID, 1);
    EXPECT_EQ(calling.gradeName, u"Unleaded");
    EXPECT_EQ(calling.shortGradeName, u"ULP");
    EXPECT_EQ(calling.priceLevel, 1);
    EXPECT_DOUBLE_EQ(calling.price, 2.0);

    ASSERT_EQ(fc.Authorise(1, kClient), 0);
    EXPECT_EQ(m_sink.pumps.back().state, PUMP_STATE_DELIVERING);
    EXPECT_EQ(m_sink.pumps.back().reservedFor, RESERVE_AUTHORISED);
    EXPECT_EQ(m_sink.pumps.back().reservedBy, kClient);

    m_sink.Forget();
    fc.Advance(3000); // 40 l/min: 2 litres
    const std::vector<PumpStatusRecord> running = m_sink.Of(1);
    ASSERT_EQ(running.size(), 30u); // one per 100 ms
    for (size_t k = 1; k < running.size(); ++k) {
        EXPECT_GT(running[k].volume, running[k - 1].volume);
        EXPECT_NEAR(running[k].value, running[k].volume * 2.0, 0.006);
    }
    EXPECT_NEAR(running.back().volume, 2.0, 1e-9);
    EXPECT_DOUBLE_EQ(running.back().curFlowRate, 40);
    EXPECT_DOUBLE_EQ(running.back().peakFlowRate, 40);

    m_sink.Forget();
    ASSERT_EQ(fc.NozzleDown(1), 0);
    EXPECT_EQ(m_sink.kinds, "DHP"); // the delivery, the hose totals, then the idle pump
    const DeliveryRecord& d = m_sink.deliveries[0];
    EXPECT_EQ(d.state, DELIVERY_STATE_CURRENT);
    EXPECT_EQ(d.type, DELIVERY_TYPE_POSTPAY);
    EXPECT_EQ(d.pumpID, 1);
    EXPECT_EQ(d.hoseID, 11);
    EXPECT_EQ(d.tankID, 1);
    EXPECT_EQ(d.gradeID, 1);
    EXPECT_DOUBLE_EQ(d.volume, 2.0);
    EXPECT_DOUBLE_EQ(d.value, 4.0);
    EXPECT_EQ(d.reservedBy, kClient);
    EXPECT_EQ(d.lockedBy, -1);
    EXPECT_EQ(d.duration, 3);
    EXPECT_NEAR(d.completedDT, kStart + 3.0 / 86400, 1e-9);
    EXPECT_DOUBLE_EQ(d.oldVolumeETot, 1000);
    EXPECT_DOUBLE_EQ(d.newVolumeETot, 1002);
    EXPECT_DOUBLE_EQ(d.newValueETot, 2004);
    EXPECT_EQ(m_sink.totals[0].hoseID, 11);
    EXPECT_DOUBLE_EQ(m_sink.totals[0].volumeETot, 1002);
    const PumpStatusRecord idle = m_sink.pumps.back();
    EXPECT_EQ(idle.state, PUMP_STATE_IDLE);
    EXPECT_EQ(idle.reservedFor, RESERVE_NONE);
    EXPECT_EQ(idle.stackSize, 1);
    EXPECT_EQ(idle.hoseID, -1);
}

TEST_F(ForecourtTest, AuthoriseFirstThenStopsResumesAndTerminates) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.Authorise(1, kClient), 0);
    EXPECT_EQ(State(1), PUMP_STATE_AUTHORISED);
    EXPECT_EQ(fc.Authorise(1, kClient), RESULT_WRONG_PUMP_STATE);
    ASSERT_EQ(fc.NozzleUp(1, 1), 0);
    EXPECT_EQ(State(1), PUMP_STATE_DELIVERING);
    fc.Advance(1500);
    EXPECT_EQ(fc.CancelAuthorise(1), RESULT_DELIVERY_STARTED);

    ASSERT_EQ(fc.TempStop(1), 0);
    EXPECT_EQ(State(1), PUMP_STATE_TEMP_STOPPED);
    const double held = Status(1).volume;
    fc.Advance(5000);
    EXPECT_DOUBLE_EQ(Status(1).volume, held);
    EXPECT_DOUBLE_EQ(Status(1).curFlowRate, 0);
    EXPECT_EQ(fc.TempStop(1), RESULT_WRONG_PUMP_STATE);

    ASSERT_EQ(fc.ReAuthorise(1), 0);
    EXPECT_EQ(State(1), PUMP_STATE_DELIVERING);
    fc.Advance(1500);
    ASSERT_EQ(fc.TerminateDelivery(1), 0);
    EXPECT_EQ(State(1), PUMP_STATE_FINISHED);
    ASSERT_EQ(m_sink.deliveries.size(), 1u);
    EXPECT_DOUBLE_EQ(m_sink.deliveries[0].volume, 2.0);
    EXPECT_EQ(m_sink.deliveries[0].duration, 8); // stopped time counts

    // The nozzle stays out: after a minute the pump says so and logs it.
    fc.Advance(59900);
    EXPECT_EQ(State(1), PUMP_STATE_FINISHED);
    fc.Advance(100);
    EXPECT_EQ(State(1), PUMP_STATE_NOZZLE_LEFT_OUT);
    ASSERT_FALSE(m_sink.logs.empty());
    EXPECT_EQ(m_sink.logs.back().eventDesc, u"Nozzle left out");
    EXPECT_EQ(m_sink.logs.back().deviceType, DEVICE_PUMP);
    EXPECT_EQ(m_sink.logs.back().deviceName, u"Pump 1");
    ASSERT_EQ(fc.NozzleDown(1), 0);
    EXPECT_EQ(State(1), PUMP_STATE_IDLE);
    EXPECT_EQ(m_sink.deliveries.size(), 1u); // hanging up after the end makes no second one
}

TEST_F(ForecourtTest, CancelledAuthorisationAndUnliftedOneTimeOut) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.Authorise(1, kClient), 0);
    ASSERT_EQ(fc.CancelAuthorise(1), 0);
    EXPECT_EQ(State(1), PUMP_STATE_IDLE);
    EXPECT_EQ(fc.CancelAuthorise(1), RESULT_WRONG_PUMP_STATE);
    ASSERT_EQ(fc.Authorise(1, kClient), 0);
    fc.Advance(120000);
    EXPECT_EQ(State(1), PUMP_STATE_IDLE);
    EXPECT_EQ(m_sink.logs.back().eventType, kLogAuthoriseTimeout);
}

TEST_F(ForecourtTest, ZeroDeliveryWhenNothingFlowed) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.SetFlowRate(1, 0), 0);
    ASSERT_EQ(fc.NozzleUp(1, 2), 0);
    ASSERT_EQ(fc.Authorise(1, kClient), 0);
    EXPECT_EQ(State(1), PUMP_STATE_STARTING);
    fc.Advance(2000);
    m_sink.Forget();
    ASSERT_EQ(fc.NozzleDown(1), 0);
    EXPECT_EQ(m_sink.kinds, "ZP");
    EXPECT_EQ(m_sink.zeros[0].pumpID, 1);
    EXPECT_EQ(m_sink.zeros[0].hoseID, 12);
    EXPECT_EQ(m_sink.zeros[0].hoseNumber, 2);
    EXPECT_EQ(Db("SELECT COUNT(*) FROM Deliveries WHERE PumpID = ?1", 1), 0);
    EXPECT_EQ(fc.SetFlowRate(1, -1), QV_INVALID_ARGUMENT);
    EXPECT_EQ(fc.NozzleDown(1), RESULT_WRONG_PUMP_STATE);
    EXPECT_EQ(fc.NozzleUp(1, 9), QV_INVALID_ARGUMENT);
    EXPECT_EQ(fc.NozzleUp(99, 1), QV_UNKNOWN_ID);
}

TEST_F(ForecourtTest, AutoAndMonitorPumpsStartOnTheirOwn) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.NozzleUp(2, 1), 0);
    EXPECT_EQ(State(2), PUMP_STATE_DELIVERING);
    EXPECT_EQ(Status(2).reservedFor, RESERVE_NONE);
    EXPECT_EQ(Status(2).attendantID, 3); // the pump's attendant
    fc.Advance(1500);
    ASSERT_EQ(fc.NozzleDown(2), 0);
    EXPECT_EQ(m_sink.deliveries.back().type, DELIVERY_TYPE_POSTPAY);
    EXPECT_EQ(m_sink.deliveries.back().attendantID, 3);
    EXPECT_EQ(m_sink.deliveries.back().reservedBy, -1);

    const DeliveryRecord monitored = Sell(3, 1, 1500);
    EXPECT_EQ(monitored.type, DELIVERY_TYPE_MONITOR);
    EXPECT_EQ(monitored.pumpID, 3);
}

// ---- Presets and hose masks ----

TEST_F(ForecourtTest, ValuePresetStopsExactlyAtItsLimitAfterSlowingDown) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.LoadPreset(1, kClient, LIMIT_VALUE, 10.0, HOSE_ALL, 0), 0);
    ASSERT_EQ(fc.NozzleUp(1, 1), 0);
    fc.Advance(60000);
    EXPECT_EQ(State(1), PUMP_STATE_FINISHED);
    bool slowed = false;
    for (const PumpStatusRecord& p : m_sink.Of(1)) {
        EXPECT_LE(p.value, 10.0);
        if (p.state == PUMP_STATE_SLOWING) {
            slowed = true;
            EXPECT_DOUBLE_EQ(p.curFlowRate, 10);
        }
    }
    EXPECT_TRUE(slowed);
    ASSERT_EQ(m_sink.deliveries.size(), 1u);
    EXPECT_DOUBLE_EQ(m_sink.deliveries[0].value, 10.0);
    EXPECT_DOUBLE_EQ(m_sink.deliveries[0].volume, 5.0);
    EXPECT_EQ(m_sink.deliveries[0].limitType, LIMIT_VALUE);
}

TEST_F(ForecourtTest, VolumePresetOnAHoseWithItsOwnPriceAtALevel) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.LoadPreset(1, kClient, LIMIT_VOLUME, 2.0, HOSE_2, 1), 0);
    ASSERT_EQ(fc.NozzleUp(1, 1), 0); // outside the mask: it calls and does not flow
    EXPECT_EQ(State(1), PUMP_STATE_CALLING);
    fc.Advance(1000);
    EXPECT_DOUBLE_EQ(Status(1).volume, 0);
    ASSERT_EQ(fc.NozzleDown(1), 0);
    EXPECT_EQ(State(1), PUMP_STATE_AUTHORISED); // the authorisation waits for the right hose
    ASSERT_EQ(fc.NozzleUp(1, 2), 0);
    EXPECT_EQ(State(1), PUMP_STATE_DELIVERING);
    fc.Advance(30000);
    ASSERT_EQ(m_sink.deliveries.size(), 1u);
    EXPECT_DOUBLE_EQ(m_sink.deliveries[0].volume, 2.0);
    EXPECT_DOUBLE_EQ(m_sink.deliveries[0].price, 1.555);
    EXPECT_DOUBLE_EQ(m_sink.deliveries[0].value, 3.11);

    // Level 2 of a hose without its own price is the grade's; a given price wins.
    ASSERT_EQ(fc.NozzleDown(1), 0);
    ASSERT_EQ(fc.LoadPresetWithPrice(1, kClient, LIMIT_VOLUME, 1.0, HOSE_1, 2, 0), 0);
    EXPECT_DOUBLE_EQ(Sell(1, 1, 10000).price, 1.9);
    ASSERT_EQ(fc.LoadPresetWithPrice(1, kClient, LIMIT_VOLUME, 1.0, HOSE_1, 2, 1.25), 0);
    EXPECT_DOUBLE_EQ(Sell(1, 1, 10000).value, 1.25);
}

TEST_F(ForecourtTest, BadPresetsAreRefusedAndChangeNothing) {
    Forecourt& fc = Start();
    EXPECT_EQ(fc.LoadPreset(1, kClient, LIMIT_VALUE, -5, HOSE_ALL, 1), QV_INVALID_ARGUMENT);
    EXPECT_EQ(fc.LoadPreset(1, kClient, LIMIT_VALUE, 5, HOSE_ALL, 9), QV_INVALID_ARGUMENT);
    EXPECT_EQ(fc.LoadPreset(1, kClient, LIMIT_DAILY_VALUE, 5, HOSE_ALL, 1), QV_INVALID_ARGUMENT);
    EXPECT_EQ(fc.LoadPreset(1, kClient, LIMIT_VALUE, 5, 0, 1), QV_INVALID_ARGUMENT);
    EXPECT_EQ(State(1), PUMP_STATE_IDLE);
    // A zero limit is no limit, whatever its kind (the preset dialog sends it so).
    ASSERT_EQ(fc.LoadPreset(1, kClient, LIMIT_VALUE, 0, HOSE_ALL, 1), 0);
    ASSERT_EQ(fc.NozzleUp(1, 1), 0);
    fc.Advance(60000);
    EXPECT_EQ(State(1), PUMP_STATE_DELIVERING);
}

// ---- Reservations ----

TEST_F(ForecourtTest, PrepayReservedAuthorisedAndRefundedWhenShort) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.PrepayReserve(1, kClient), 0);
    EXPECT_EQ(State(1), PUMP_STATE_LOCKED);
    EXPECT_EQ(Status(1).reservedFor, RESERVE_PREPAY_LOCKED);
    EXPECT_EQ(Status(1).reservedBy, kClient);
    EXPECT_EQ(fc.PrepayReserve(1, kOther), RESULT_PUMP_RESERVED);
    EXPECT_EQ(fc.Authorise(1, kOther), RESULT_PUMP_RESERVED);
    EXPECT_EQ(fc.PrepayAuthorise(1, kOther, LIMIT_VALUE, 20, 1), RESULT_PUMP_RESERVED);
    EXPECT_EQ(fc.PreauthAuthorise(1, kClient, LIMIT_VALUE, 20, 1), RESULT_WRONG_PUMP_STATE);
    ASSERT_EQ(fc.NozzleUp(1, 1), 0); // the customer is early: the pump stays locked
    EXPECT_EQ(State(1), PUMP_STATE_LOCKED);

    ASSERT_EQ(fc.PrepayAuthorise(1, kClient, LIMIT_VALUE, 20, 1), 0);
    EXPECT_EQ(State(1), PUMP_STATE_DELIVERING);
    EXPECT_EQ(Status(1).reservedFor, RESERVE_PREPAY);
    EXPECT_EQ(fc.PrepayCancel(1, kClient), RESULT_DELIVERY_STARTED);
    fc.Advance(6000); // 4 litres, 8.00 of 20.00
    ASSERT_EQ(fc.NozzleDown(1), 0);
    const DeliveryRecord& d = m_sink.deliveries.back();
    EXPECT_EQ(d.type, DELIVERY_TYPE_REFUND);
    EXPECT_DOUBLE_EQ(d.value, 8.0);
    EXPECT_DOUBLE_EQ(d.limit, 20.0);
    EXPECT_EQ(d.reservedBy, kClient);
    EXPECT_EQ(Status(1).reservedFor, RESERVE_NONE);
    EXPECT_EQ(State(1), PUMP_STATE_IDLE);

    // A prepay used in full is a plain prepay.
    ASSERT_EQ(fc.PrepayReserve(1, kClient), 0);
    ASSERT_EQ(fc.PrepayAuthorise(1, kClient, LIMIT_VALUE, 4, 1), 0);
    EXPECT_EQ(Sell(1, 1, 20000).type, DELIVERY_TYPE_PREPAY);
}

TEST_F(ForecourtTest, PrepayNotTakenTimesOutUntilCancelled) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.PrepayReserve(1, kClient), 0);
    ASSERT_EQ(fc.PrepayAuthorise(1, kClient, LIMIT_VALUE, 20, 1), 0);
    EXPECT_EQ(State(1), PUMP_STATE_AUTHORISED);
    fc.Advance(119900);
    EXPECT_EQ(State(1), PUMP_STATE_AUTHORISED);
    fc.Advance(100);
    EXPECT_EQ(State(1), PUMP_STATE_PREPAY_TIMEOUT);
    EXPECT_EQ(Status(1).reservedFor, RESERVE_PREPAY);
    EXPECT_EQ(m_sink.logs.back().eventType, kLogPrepayTimeout);
    ASSERT_EQ(fc.NozzleUp(1, 1), 0); // too late: nothing flows
    fc.Advance(1000);
    EXPECT_EQ(State(1), PUMP_STATE_PREPAY_TIMEOUT);
    EXPECT_EQ(fc.Authorise(1, kClient), RESULT_WRONG_PUMP_STATE);
    EXPECT_EQ(fc.PrepayCancel(1, kOther), RESULT_PUMP_RESERVED);
    ASSERT_EQ(fc.PrepayCancel(1, kClient), 0);
    EXPECT_EQ(State(1), PUMP_STATE_CALLING);
    EXPECT_EQ(Status(1).reservedFor, RESERVE_NONE);
}

TEST_F(ForecourtTest, ReservationNotAuthorisedIsReleased) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.PreauthReserve(1, kClient), 0);
    EXPECT_EQ(Status(1).reservedFor, RESERVE_PREAUTH_LOCKED);
    fc.Advance(120000);
    EXPECT_EQ(State(1), PUMP_STATE_IDLE);
    EXPECT_EQ(Status(1).reservedFor, RESERVE_NONE);
    EXPECT_EQ(m_sink.logs.back().eventType, kLogReserveTimeout);
    EXPECT_EQ(m_sink.logs.back().eventDesc, u"Reservation timed out");
}

TEST_F(ForecourtTest, PreauthAndPaymentReservationsMakeTheirKindsOfSale) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.PreauthReserve(1, kClient), 0);
    EXPECT_EQ(fc.PreauthCancel(1, kOther), RESULT_PUMP_RESERVED);
    ASSERT_EQ(fc.PreauthAuthorise(1, kClient, LIMIT_VOLUME, 1, 1), 0);
    EXPECT_EQ(Status(1).reservedFor, RESERVE_PREAUTH);
    EXPECT_EQ(Sell(1, 1, 10000).type, DELIVERY_TYPE_PREAUTH);

    ASSERT_EQ(fc.PaymentReserve(1, kClient), 0);
    EXPECT_EQ(Status(1).reservedFor, RESERVE_PAYMENT_LOCKED);
    EXPECT_EQ(State(1), PUMP_STATE_LOCKED);
    ASSERT_EQ(fc.PaymentAuthorise(1, kClient, PRESET_VOLUME, 1, PRICE_TYPE_CARD, 2), 0);
    EXPECT_EQ(Status(1).reservedFor, RESERVE_PAYMENT);
    EXPECT_EQ(Sell(1, 1, 10000).type, DELIVERY_TYPE_PAYMENT);

    // The reserving client's plain Authorise takes up its reservation.
    ASSERT_EQ(fc.PreauthReserve(1, kClient), 0);
    ASSERT_EQ(fc.Authorise(1, kClient), 0);
    EXPECT_EQ(Status(1).reservedFor, RESERVE_PREAUTH);
    ASSERT_EQ(fc.PreauthCancel(1, kClient), 0);
    EXPECT_EQ(State(1), PUMP_STATE_IDLE);

    EXPECT_EQ(fc.PrepayReserve(2, kClient), RESULT_NOT_ALLOWED);
    EXPECT_EQ(fc.PreauthReserve(2, kClient), RESULT_NOT_ALLOWED);
    EXPECT_EQ(fc.PaymentCancel(1, kClient), RESULT_WRONG_PUMP_STATE);
}

TEST_F(ForecourtTest, TagAndAttendantAuthorisationsReachTheDelivery) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.TagAuthorise(1, kClient, 0x1234, LIMIT_VOLUME, 1, 1), 0);
    EXPECT_EQ(Status(1).tag, 0x1234);
    EXPECT_EQ(Sell(1, 1, 10000).tag, 0x1234);
    ASSERT_EQ(fc.AttendantAuthorise(1, kClient, 42), 0);
    const DeliveryRecord d = Sell(1, 1, 1500);
    EXPECT_EQ(d.attendantID, 42);
    EXPECT_EQ(d.type, DELIVERY_TYPE_ATTENDANT);
}

TEST_F(ForecourtTest, LoggedOnAttendantTakesThePumpsSales) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.AttendantLogon(5, 1), 0);
    EXPECT_EQ(m_sink.kinds, "A");
    EXPECT_EQ(m_sink.logons[0].attendantID, 5);
    EXPECT_EQ(m_sink.logons[0].pumpID, 1);
    ASSERT_EQ(fc.Authorise(1, kClient), 0);
    EXPECT_EQ(Status(1).attendantID, 5);
    EXPECT_EQ(Sell(1, 1, 1500).attendantID, 5);
    // Moving to pump 2 hands pump 2's sales over, and pump 1 has no attendant any more.
    ASSERT_EQ(fc.AttendantLogon(5, 2), 0);
    EXPECT_EQ(Sell(2, 1, 1500).attendantID, 5);
    ASSERT_EQ(fc.Authorise(1, kClient), 0);
    EXPECT_EQ(Sell(1, 1, 1500).attendantID, -1);
    ASSERT_EQ(fc.AttendantLogoff(5), 0);
    EXPECT_EQ(m_sink.logoffs.back().pumpID, 2);
    ASSERT_EQ(fc.StackCurrentDelivery(2), 0);   // pump 2 stacks by hand
    EXPECT_EQ(Sell(2, 1, 1500).attendantID, 3); // the pump's own attendant again
    EXPECT_EQ(fc.AttendantLogoff(5), QV_UNKNOWN_ID);
    EXPECT_EQ(fc.AttendantLogon(5, 99), QV_UNKNOWN_ID);
    EXPECT_EQ(fc.AttendantLogon(0, 1), QV_INVALID_ARGUMENT);
}

// ---- The whole forecourt ----

TEST_F(ForecourtTest, AllStopHaltsEveryPumpUntilReAuthorised) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.NozzleUp(2, 1), 0); // delivering (auto)
    ASSERT_EQ(fc.NozzleUp(1, 1), 0); // calling
    fc.Advance(1500);
    ASSERT_EQ(fc.AllStop(), 0);
    EXPECT_EQ(State(1), PUMP_STATE_STOPPED);
    EXPECT_EQ(State(2), PUMP_STATE_STOPPED);
    EXPECT_EQ(State(3), PUMP_STATE_STOPPED);
    EXPECT_EQ(m_sink.logs.back().eventType, kLogAllStop);
    const double held = Status(2).volume;
    fc.Advance(3000);
    EXPECT_DOUBLE_EQ(Status(2).volume, held);
    EXPECT_EQ(fc.Authorise(1, kClient), RESULT_WRONG_PUMP_STATE);

    ASSERT_EQ(fc.AllReAuthorise(), 0);
    EXPECT_EQ(State(1), PUMP_STATE_CALLING);
    EXPECT_EQ(State(2), PUMP_STATE_DELIVERING);
    EXPECT_EQ(State(3), PUMP_STATE_IDLE);
    ASSERT_EQ(fc.AllAuthorise(kClient), 0);
    EXPECT_EQ(State(1), PUMP_STATE_DELIVERING);

    // Stopping the idle pumps leaves the running sales alone.
    ASSERT_EQ(fc.AllStopIfIdle(), 0);
    EXPECT_EQ(State(1), PUMP_STATE_DELIVERING);
    EXPECT_EQ(State(3), PUMP_STATE_STOPPED);
    ASSERT_EQ(fc.ReAuthorise(3), 0);
    EXPECT_EQ(State(3), PUMP_STATE_IDLE);
}

TEST_F(ForecourtTest, FaultsOfflineAndDisabledPumps) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.Authorise(1, kClient), 0);
    ASSERT_EQ(fc.NozzleUp(1, 1), 0);
    fc.Advance(1500);
    ASSERT_EQ(fc.PumpError(1, PUMP_STATE_ERROR), 0);
    EXPECT_EQ(State(1), PUMP_STATE_ERROR);
    ASSERT_EQ(m_sink.deliveries.size(), 1u); // what flowed was sold
    EXPECT_DOUBLE_EQ(m_sink.deliveries[0].volume, 1.0);
    EXPECT_EQ(m_sink.logs.back().eventType, kLogPumpError);
    EXPECT_EQ(fc.Authorise(1, kClient), RESULT_WRONG_PUMP_STATE);
    EXPECT_EQ(fc.PumpError(1, 5), QV_INVALID_ARGUMENT);
    ASSERT_EQ(fc.PumpError(1, 0), 0);
    EXPECT_EQ(State(1), PUMP_STATE_FINISHED); // the nozzle is still out
    ASSERT_EQ(fc.NozzleDown(1), 0);
    EXPECT_EQ(State(1), PUMP_STATE_IDLE);

    ASSERT_EQ(fc.SetPumpOffline(1, true), 0);
    EXPECT_EQ(State(1), PUMP_STATE_OFFLINE);
    EXPECT_EQ(fc.NozzleUp(1, 1), RESULT_WRONG_PUMP_STATE);
    ASSERT_EQ(fc.SetPumpOffline(1, false), 0);
    EXPECT_EQ(State(1), PUMP_STATE_IDLE);

    ASSERT_EQ(fc.DisablePump(1), 0);
    EXPECT_EQ(State(1), PUMP_STATE_DISABLED);
    EXPECT_EQ(fc.Authorise(1, kClient), RESULT_PUMP_DISABLED);
    EXPECT_EQ(fc.PrepayReserve(1, kClient), RESULT_PUMP_DISABLED);
    ASSERT_EQ(fc.EnablePump(1), 0);
    EXPECT_EQ(State(1), PUMP_STATE_IDLE);
    ASSERT_EQ(fc.NozzleUp(2, 1), 0);
    EXPECT_EQ(fc.DisablePump(2), RESULT_DELIVERY_STARTED);
    ASSERT_EQ(fc.PrepayReserve(1, kClient), 0);
    EXPECT_EQ(fc.DisablePump(1), RESULT_PUMP_RESERVED);
}

// ---- Deliveries ----

TEST_F(ForecourtTest, CompletedDeliveriesStackAndClear) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.Authorise(1, kClient), 0);
    const DeliveryRecord first = Sell(1, 1, 1500);
    ASSERT_EQ(fc.Authorise(1, kClient), 0);
    m_sink.Forget();
    const DeliveryRecord second = Sell(1, 2, 1500);
    // The older one is stacked first, then the new current one arrives.
    EXPECT_EQ(m_sink.kinds.substr(m_sink.kinds.size() - 5), "DSDHP");
    ASSERT_GE(m_sink.deliveries.size(), 2u);
    EXPECT_EQ(m_sink.deliveries[0].id, first.id);
    EXPECT_EQ(m_sink.deliveries[0].state, DELIVERY_STATE_STACKED);
    EXPECT_EQ(m_sink.stacked, std::vector<int32_t>{first.id});
    EXPECT_EQ(second.state, DELIVERY_STATE_CURRENT);
    EXPECT_EQ(Status(1).stackSize, 2);
    EXPECT_EQ(fc.PumpDeliveries(1), (std::vector<int32_t>{first.id, second.id}));
    EXPECT_EQ(Db("SELECT State FROM Deliveries WHERE ID = ?1", first.id), DELIVERY_STATE_STACKED);

    ASSERT_EQ(fc.StackCurrentDelivery(1), 0);
    EXPECT_EQ(m_sink.stacked.back(), second.id);
    EXPECT_EQ(fc.StackCurrentDelivery(1), RESULT_NO_CURRENT_DELIVERY);

    ASSERT_EQ(fc.LockDelivery(first.id, kClient), 0);
    EXPECT_EQ(m_sink.deliveries.back().lockedBy, kClient);
    EXPECT_EQ(Db("SELECT LockedBy FROM Deliveries WHERE ID = ?1", first.id), kClient);
    EXPECT_EQ(fc.LockDelivery(first.id, kOther), RESULT_DELIVERY_LOCKED);
    EXPECT_EQ(fc.ClearDelivery(first.id, kOther, 0), RESULT_DELIVERY_LOCKED);
    EXPECT_EQ(fc.UnlockDelivery(first.id, kOther), RESULT_DELIVERY_LOCKED);
    m_sink.Forget();
    ASSERT_EQ(fc.ClearDelivery(first.id, kClient, 0), 0);
    EXPECT_EQ(m_sink.kinds, "DCP");
    EXPECT_EQ(m_sink.cleared[0].state, DELIVERY_STATE_CLEARED);
    EXPECT_EQ(m_sink.cleared[0].clearedBy, kClient);
    EXPECT_DOUBLE_EQ(m_sink.cleared[0].clearedDT, fc.NowOle());
    EXPECT_EQ(Status(1).stackSize, 1);
    EXPECT_EQ(Db("SELECT State FROM Deliveries WHERE ID = ?1", first.id), DELIVERY_STATE_CLEARED);
    EXPECT_EQ(Db("SELECT ClearedBy FROM Deliveries WHERE ID = ?1", first.id), kClient);
    EXPECT_EQ(fc.ClearDelivery(first.id, kClient, 0), RESULT_DELIVERY_CLEARED);
    EXPECT_EQ(fc.ClearDelivery(9999, kClient, 0), QV_UNKNOWN_ID);

    ASSERT_EQ(fc.LockAndClearDelivery(second.id, kOther, DELIVERY_TYPE_POSTPAY), 0);
    EXPECT_EQ(m_sink.cleared.back().lockedBy, kOther);
    EXPECT_EQ(Status(1).stackSize, 0);
    EXPECT_TRUE(fc.PumpDeliveries(1).empty());
}

TEST_F(ForecourtTest, FullStackAndManualStackingHoldThePump) {
    ForecourtSettings s;
    s.maxStack = 2;
    Forecourt& fc = Start(s);
    for (int k = 0; k < 2; ++k) {
        ASSERT_EQ(fc.Authorise(1, kClient), 0);
        Sell(1, 1, 1500);
    }
    EXPECT_EQ(fc.Authorise(1, kClient), RESULT_STACK_FULL);
    ASSERT_EQ(fc.ClearDelivery(fc.PumpDeliveries(1)[0], kClient, 0), 0);
    EXPECT_EQ(fc.Authorise(1, kClient), 0);

    // Pump 2 stacks by hand: after one sale the next customer waits, calling.
    Sell(2, 1, 1500);
    ASSERT_EQ(fc.NozzleUp(2, 1), 0);
    EXPECT_EQ(State(2), PUMP_STATE_CALLING);
    EXPECT_EQ(fc.Authorise(2, kClient), RESULT_CURRENT_NOT_STACKED);
    ASSERT_EQ(fc.StackCurrentDelivery(2), 0);
    ASSERT_EQ(fc.Authorise(2, kClient), 0);
    EXPECT_EQ(State(2), PUMP_STATE_DELIVERING);
}

TEST_F(ForecourtTest, DeliveriesAgeAndTimeOut) {
    ForecourtSettings s;
    s.deliveryTimeoutS = 300;
    Forecourt& fc = Start(s);
    ASSERT_EQ(fc.Authorise(1, kClient), 0);
    const DeliveryRecord d = Sell(1, 1, 1500);
    EXPECT_EQ(d.age, 0);
    fc.Advance(299000);
    DeliveryRecord now;
    ASSERT_TRUE(fc.GetDelivery(d.id, now));
    EXPECT_EQ(now.age, 299);
    m_sink.Forget();
    fc.Advance(1000);
    ASSERT_TRUE(fc.GetDelivery(d.id, now));
    EXPECT_EQ(now.age, -300);
    EXPECT_EQ(m_sink.kinds, "DL"); // reported once as it times out
    EXPECT_EQ(m_sink.deliveries[0].age, -300);
    EXPECT_EQ(m_sink.logs[0].eventType, kLogDeliveryTimeout);
    fc.Advance(10000);
    EXPECT_EQ(m_sink.deliveries.size(), 1u);
}

TEST_F(ForecourtTest, DeliveriesAndTotalsReachTheDatabase) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.Authorise(1, kClient), 0);
    const DeliveryRecord d = Sell(1, 1, 3000);
    ASSERT_GT(d.id, 0);
    Row row;
    ASSERT_TRUE(m_store.Fetch(kDelivery, d.id, row));
    EXPECT_EQ(row["PumpID"].i, 1);
    EXPECT_EQ(row["HoseID"].i, 11);
    EXPECT_EQ(row["State"].i, DELIVERY_STATE_CURRENT);
    EXPECT_DOUBLE_EQ(row["Volume"].d, 2.0);
    EXPECT_DOUBLE_EQ(row["Value"].d, 4.0);
    EXPECT_NEAR(row["CompletedDT"].d, d.completedDT, 1e-6);
    EXPECT_EQ(row["LoggedState"].i, 3); // waiting for both loggers
    EXPECT_DOUBLE_EQ(row["NewVolumeETot"].d, 1002);
    EXPECT_EQ(Db("SELECT MtrElecVolume FROM Hoses WHERE ID = ?1", 11), 1002);
    double volume = 0, value = 0;
    ASSERT_TRUE(fc.GetHoseTotals(11, volume, value));
    EXPECT_DOUBLE_EQ(value, 2004);

    // A restarted forecourt finds the delivery still on its pump.
    m_fc.reset();
    Forecourt& again = Start();
    EXPECT_EQ(again.PumpDeliveries(1), std::vector<int32_t>{d.id});
    EXPECT_EQ(Status(1).stackSize, 1);
    ASSERT_EQ(again.Authorise(1, kClient), 0);
    const DeliveryRecord next = Sell(1, 1, 1500);
    EXPECT_GT(next.id, d.id);
    EXPECT_DOUBLE_EQ(next.oldVolumeETot, 1002);
    EXPECT_EQ(m_sink.stacked.back(), d.id);
    ASSERT_GE(m_sink.deliveries.size(), 2u);
    const DeliveryRecord& restacked = m_sink.deliveries[m_sink.deliveries.size() - 2];
    EXPECT_EQ(restacked.id, d.id);
    EXPECT_EQ(restacked.pumpNumber, 1);
    EXPECT_EQ(restacked.hosePhysicalNumber, 101);
    EXPECT_DOUBLE_EQ(restacked.volume, 2.0);
}

TEST_F(ForecourtTest, ClientsChosenNextDeliveryIDIsUsed) {
    m_store.SetSetting("NextDeliveryID", "5000");
    Forecourt& fc = Start();
    ASSERT_EQ(fc.Authorise(1, kClient), 0);
    EXPECT_EQ(Sell(1, 1, 1500).id, 5000);
    ASSERT_EQ(fc.Authorise(1, kClient), 0);
    EXPECT_EQ(Sell(1, 1, 1500).id, 5001);
}

TEST(ForecourtTables, RefusedRecordsStayInMemoryAndAreLogged) {
    qvtesting::DeviceRoot root;
    Store store;
    std::string error;
    ASSERT_TRUE(store.Open(root.Str() + "/site.db", error));
    SeedSite(store);
    Site site;
    ASSERT_TRUE(LoadSite(store, site, error));
    RecordingSink sink;
    RefusingTables tables;
    Forecourt fc(std::move(site), sink, tables, kStart);
    ASSERT_EQ(fc.NozzleUp(2, 1), 0);
    fc.Advance(1500);
    ASSERT_EQ(fc.NozzleDown(2), 0);
    ASSERT_EQ(sink.deliveries.size(), 1u);
    EXPECT_GT(sink.deliveries[0].id, 0);
    EXPECT_EQ(fc.PumpDeliveries(2), std::vector<int32_t>{sink.deliveries[0].id});
    ASSERT_GE(sink.logs.size(), 1u);
    EXPECT_EQ(sink.logs[0].eventType, kLogNotStored);
    SaleItemRecord item;
    item.productID = 1;
    item.quantity = 1;
    int32_t id = 0;
    EXPECT_EQ(fc.AddSaleItem(item, id), QV_DATABASE_ERROR);
}

// ---- Events ----

TEST_F(ForecourtTest, AmountsAreReportedAtMostEveryHundredMilliseconds) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.NozzleUp(2, 1), 0);
    m_sink.Forget();
    for (int k = 0; k < 100; ++k)
        fc.Advance(10);
    EXPECT_EQ(m_sink.Of(2).size(), 10u);
    // A change of state is reported at once, whatever the interval.
    fc.Advance(10);
    ASSERT_EQ(fc.TempStop(2), 0);
    EXPECT_EQ(m_sink.pumps.back().state, PUMP_STATE_TEMP_STOPPED);
    EXPECT_NEAR(m_sink.pumps.back().volume, 40.0 * 1.01 / 60, 0.0005);
}

// ---- Tanks ----

TEST_F(ForecourtTest, TankFallsWithEachDeliveryAndReportsOncePerSecond) {
    Forecourt& fc = Start();
    EXPECT_NEAR(Tank(1).gaugeLevel, 1000, 0.01); // half of a 2 m lying cylinder
    EXPECT_DOUBLE_EQ(Tank(1).gaugeUllage, 5000);
    ASSERT_EQ(fc.NozzleUp(2, 1), 0);
    fc.Advance(15000); // 10 litres
    const std::vector<TankStatusRecord> moving = m_sink.OfTank(1);
    ASSERT_EQ(moving.size(), 15u); // the first step, then one a second
    EXPECT_EQ(moving[0].state, TANK_STATE_FALLING);
    for (size_t k = 1; k < moving.size(); ++k)
        EXPECT_LT(moving[k].gaugeLevel, moving[k - 1].gaugeLevel);
    ASSERT_EQ(fc.NozzleDown(2), 0);
    fc.Advance(100);
    const TankStatusRecord t = m_sink.OfTank(1).back();
    EXPECT_EQ(t.state, TANK_STATE_NORMAL);
    EXPECT_NEAR(t.gaugeVolume, 4990, 1e-6);
    EXPECT_NEAR(t.gaugeUllage, 5010, 1e-6);
    EXPECT_NEAR(t.gaugeTCVolume, 4990 * 4990.0 / 5000, 1e-6);
    EXPECT_DOUBLE_EQ(t.gaugeWaterLevel, 10);
    EXPECT_NEAR(Db("SELECT GaugeVolume FROM Tanks WHERE ID = ?1", 1), 4990, 1e-6);
}

TEST_F(ForecourtTest, TankDropRaisesTheLevel) {
    Forecourt& fc = Start();
    EXPECT_EQ(fc.TankDrop(1, 6000), QV_INVALID_ARGUMENT); // more than the ullage
    EXPECT_EQ(fc.TankDrop(1, 0), QV_INVALID_ARGUMENT);
    EXPECT_EQ(fc.TankDrop(99, 10), QV_UNKNOWN_ID);
    ASSERT_EQ(fc.TankDrop(1, 2000), 0);
    EXPECT_EQ(m_sink.logs.back().eventType, kLogTankDrop);
    EXPECT_DOUBLE_EQ(m_sink.logs.back().volume, 2000);
    EXPECT_EQ(fc.TankDrop(1, 3500), QV_INVALID_ARGUMENT); // with the running drop, too much
    fc.Advance(60000);
    EXPECT_EQ(Tank(1).state, TANK_STATE_RISING);
    EXPECT_NEAR(Tank(1).gaugeVolume, 6000, 1e-6);
    fc.Advance(60100);
    EXPECT_NEAR(Tank(1).gaugeVolume, 7000, 1e-6);
    EXPECT_EQ(Tank(1).state, TANK_STATE_NORMAL);
    EXPECT_GT(Tank(1).gaugeLevel, 1000);
    EXPECT_EQ(m_sink.OfTank(1).back().state, TANK_STATE_NORMAL);
}

TEST_F(ForecourtTest, LowTankRaisesItsAlarmAndAnEmptyOneEndsTheSale) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.LoadPreset(1, kClient, LIMIT_VOLUME, 150, HOSE_2, 1), 0);
    ASSERT_EQ(fc.SetFlowRate(1, 600), 0);
    Sell(1, 2, 20000);
    EXPECT_DOUBLE_EQ(m_sink.deliveries.back().volume, 150);
    const TankStatusRecord low = Tank(2);
    EXPECT_EQ(low.state, TANK_STATE_LOW);
    EXPECT_EQ(low.alarmsMask, TANK_ALARM_LOW);
    bool logged = false;
    for (const LogEventRecord& e : m_sink.logs)
        if (e.eventDesc == u"Tank level low") {
            logged = true;
            EXPECT_EQ(e.deviceType, DEVICE_TANK);
            EXPECT_EQ(e.deviceID, 2);
            EXPECT_EQ(e.deviceName, u"Tank 2");
            EXPECT_LT(e.productVolume, 1500);
            EXPECT_GT(e.productVolume, 1480);
        }
    EXPECT_TRUE(logged);
    EXPECT_GT(
        Db("SELECT COUNT(*) FROM LogEvents WHERE EventDesc = 'Tank level low' AND DeviceID = ?1",
           2),
        0);

    // Pump 4's tank holds 5 litres: the sale ends there, and the tank does not go below 0.
    ASSERT_EQ(fc.NozzleUp(4, 1), 0);
    fc.Advance(20000);
    EXPECT_EQ(State(4), PUMP_STATE_FINISHED);
    EXPECT_DOUBLE_EQ(m_sink.deliveries.back().volume, 5.0);
    EXPECT_DOUBLE_EQ(Tank(3).gaugeVolume, 0);
    EXPECT_EQ(Tank(3).alarmsMask, TANK_ALARM_LOW | TANK_ALARM_CRITICAL_LOW);
    bool empty = false;
    for (const LogEventRecord& e : m_sink.logs)
        empty |= e.eventType == kLogTankEmpty && e.deviceID == 3;
    EXPECT_TRUE(empty);
}

TEST_F(ForecourtTest, GaugeFaultIsReportedAtOnce) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.SetTankGaugeFault(1, true), 0);
    EXPECT_EQ(m_sink.OfTank(1).back().state, TANK_STATE_GAUGE_ERROR);
    ASSERT_EQ(fc.SetTankGaugeFault(1, false), 0);
    EXPECT_EQ(m_sink.OfTank(1).back().state, TANK_STATE_NORMAL);
}

// ---- Changes of the equipment ----

TEST_F(ForecourtTest, ReloadTakesNewPricesModesAndPumpsWithoutBreakingSales) {
    Forecourt& fc = Start();
    ASSERT_EQ(fc.Authorise(1, kClient), 0);
    ASSERT_EQ(fc.NozzleUp(1, 1), 0);
    ASSERT_EQ(fc.NozzleUp(3, 1), 0); // monitor pump, delivering
    fc.Advance(1500);
    const double drawn = Tank(1).gaugeVolume;
    EXPECT_LT(drawn, 5000);

    m_store.Set(kGrade, 1, {"Price1"}, {F(2.5)});
    m_store.Set(kPump, 1, {"AuthMode"}, {H(AUTH_MODE_AUTO)});
    m_store.Set(kPump, 5, {"Number", "Name", "AuthMode"}, {I(5), T(u"Pump 5"), H(1)});
    m_store.Set(kHose, 51, {"Number", "PumpID", "TankID"}, {I(1), I(5), I(1)});
    m_store.Delete(kHose, 31);
    m_store.Delete(kPump, 3);
    Site site;
    std::string error;
    ASSERT_TRUE(LoadSite(m_store, site, error));
    m_sink.Forget();
    fc.Reload(site);

    // The removed pump's sale was completed; the pump is gone.
    ASSERT_EQ(m_sink.deliveries.size(), 1u);
    EXPECT_EQ(m_sink.deliveries[0].pumpID, 3);
    EXPECT_DOUBLE_EQ(m_sink.deliveries[0].volume, 1.0);
    EXPECT_EQ(fc.NozzleUp(3, 1), QV_UNKNOWN_ID);
    // The new pump announced itself.
    ASSERT_FALSE(m_sink.Of(5).empty());
    EXPECT_EQ(m_sink.Of(5).back().state, PUMP_STATE_IDLE);
    EXPECT_EQ(fc.Authorise(5, kClient), 0);
    // The running sale keeps its price; the gauge its volume.
    EXPECT_DOUBLE_EQ(Status(1).price, 2.0);
    EXPECT_DOUBLE_EQ(Tank(1).gaugeVolume, drawn);
    fc.Advance(1500);
    ASSERT_EQ(fc.NozzleDown(1), 0);
    EXPECT_DOUBLE_EQ(m_sink.deliveries.back().price, 2.0);
    // The next one is auto-authorised at the new price, and the totals went on counting.
    ASSERT_EQ(fc.NozzleUp(1, 1), 0);
    EXPECT_EQ(State(1), PUMP_STATE_DELIVERING);
    EXPECT_DOUBLE_EQ(Status(1).price, 2.5);
    double volume = 0, value = 0;
    ASSERT_TRUE(fc.GetHoseTotals(11, volume, value));
    EXPECT_DOUBLE_EQ(volume, 1002);
}

// ---- Sale items ----

TEST_F(ForecourtTest, SaleItemsAreStoredAndReported) {
    Forecourt& fc = Start();
    SaleItemRecord item;
    item.productID = 3;
    item.pumpID = 1;
    item.price = 4.5;
    item.quantity = 2;
    item.authType = AUTHORISATION_CASH;
    int32_t id = 0;
    ASSERT_EQ(fc.AddSaleItem(item, id), 0);
    ASSERT_EQ(m_sink.items.size(), 1u);
    EXPECT_EQ(m_sink.items[0].id, id);
    EXPECT_DOUBLE_EQ(m_sink.items[0].addedDT, kStart);
    EXPECT_EQ(Db("SELECT Quantity FROM SaleItems WHERE ID = ?1", id), 2);
    EXPECT_EQ(Db("SELECT LoggedState FROM SaleItems WHERE ID = ?1", id), 3);
    item.quantity = 0;
    EXPECT_EQ(fc.AddSaleItem(item, id), QV_INVALID_ARGUMENT);
    item.quantity = 1;
    item.pumpID = 99;
    EXPECT_EQ(fc.AddSaleItem(item, id), QV_UNKNOWN_ID);
}

} // namespace
