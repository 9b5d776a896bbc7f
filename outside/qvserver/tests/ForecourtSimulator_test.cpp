// Simulated customers: busy, reproducible from their seed, and tidy (sales paid, tanks refilled).
#include "outside/qvserver/ForecourtSimulator.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "outside/qvclient/QVCodes.h"
#include "outside/qvserver/ForecourtTables.h"
#include "testing/TempDir.h"

using namespace qvserver;

namespace {

struct Recorder : ForecourtSink {
    std::string kinds;
    std::vector<DeliveryRecord> deliveries;
    std::vector<LogEventRecord> logs;
    void PumpStatus(const PumpStatusRecord&) override { kinds += 'P'; }
    void Delivery(const DeliveryRecord& r) override { kinds += 'D', deliveries.push_back(r); }
    void DeliveryStacked(int32_t) override { kinds += 'S'; }
    void DeliveryCleared(const DeliveryRecord&) override { kinds += 'C'; }
    void HoseTotals(const HoseTotalsRecord&) override { kinds += 'H'; }
    void TankStatus(const TankStatusRecord&) override { kinds += 'T'; }
    void ZeroDelivery(const ZeroDeliveryRecord&) override { kinds += 'Z'; }
    void LogEvent(const LogEventRecord& r) override { kinds += 'L', logs.push_back(r); }
    void SaleItem(const SaleItemRecord&) override { kinds += 'I'; }
    void AttendantLogon(const AttendantRecord&) override { kinds += 'A'; }
    void AttendantLogoff(const AttendantRecord&) override { kinds += 'A'; }
};

// Two pumps (one client-authorised with prepays, one automatic) on a large tank, and a third on
// a small tank that runs low.
Site TwoTankSite() {
    Site s;
    GradeInfo g;
    g.id = g.number = 1;
    g.prices = {2.0, 1.9, 0, 0, 0, 0, 0, 0};
    s.grades.push_back(g);
    TankInfo big, small;
    big.id = big.number = 1;
    big.gradeID = 1;
    big.capacity = 50000;
    big.diameter = 3;
    big.volume = big.tcVolume = 40000;
    small = big;
    small.id = small.number = 2;
    small.capacity = 2000;
    small.diameter = 1.2;
    small.volume = small.tcVolume = 400;
    s.tanks = {big, small};
    for (int p = 1; p <= 3; ++p) {
        PumpInfo info;
        info.id = info.number = p;
        info.authMode = p == 2 ? AUTH_MODE_AUTO : AUTH_MODE_CLIENT;
        info.prepayAllowed = p == 1;
        for (int h = 1; h <= 2; ++h) {
            HoseInfo hose;
            hose.id = 10 * p + h;
            hose.number = h;
            hose.tankID = p == 3 ? 2 : 1;
            info.hoses.push_back(hose);
        }
        s.pumps.push_back(info);
    }
    return s;
}

// One forecourt with its own database, run by customers of one seed.
struct SimulatedRun {
    explicit SimulatedRun(uint32_t seed, int64_t ms) {
        std::string error;
        EXPECT_TRUE(store.Open(root.Str() + "/site.db", error)) << error;
        const Site site = TwoTankSite();
        for (const TankInfo& t : site.tanks)
            store.Set(kTank, t.id, {"Number", "Capacity"},
                      {Value::I32(t.number), Value::F64(t.capacity)});
        for (const PumpInfo& p : site.pumps)
            for (const HoseInfo& h : p.hoses)
                store.Set(kHose, h.id, {"Number", "PumpID", "TankID"},
                          {Value::I32(h.number), Value::I32(p.id), Value::I32(h.tankID)});
        fc = std::make_unique<Forecourt>(site, sink, tables, 46000.0);
        ForecourtSimulator sim(*fc, seed);
        sim.Advance(ms);
        served = sim.Served();
    }
    qvtesting::DeviceRoot root;
    Store store;
    StoreTables tables{store};
    Recorder sink;
    std::unique_ptr<Forecourt> fc;
    int32_t served = 0;
};

constexpr int64_t kTwoHours = 2 * 3600 * 1000;

TEST(ForecourtSimulator, CustomersComeAndGoReproducibly) {
    SimulatedRun a(42, kTwoHours), b(42, kTwoHours), c(43, kTwoHours);
    EXPECT_GT(a.served, 100);
    EXPECT_EQ(a.served, b.served);
    EXPECT_EQ(a.sink.kinds, b.sink.kinds);
    ASSERT_EQ(a.sink.deliveries.size(), b.sink.deliveries.size());
    for (size_t k = 0; k < a.sink.deliveries.size(); ++k) {
        EXPECT_EQ(a.sink.deliveries[k].id, b.sink.deliveries[k].id);
        EXPECT_DOUBLE_EQ(a.sink.deliveries[k].volume, b.sink.deliveries[k].volume);
    }
    EXPECT_NE(a.sink.kinds, c.sink.kinds);
}

TEST(ForecourtSimulator, SalesArePaidPrepaysTakenAndLowTanksRefilled) {
    SimulatedRun r(7, kTwoHours);
    int prepays = 0, cleared = 0;
    for (const DeliveryRecord& d : r.sink.deliveries) {
        prepays += d.type == DELIVERY_TYPE_PREPAY || d.type == DELIVERY_TYPE_REFUND;
        cleared += d.state == DELIVERY_STATE_CLEARED;
        EXPECT_GT(d.volume, 0);
    }
    EXPECT_GT(prepays, 0);
    EXPECT_GE(cleared, r.served - 3); // the last customers may still be paying
    for (int p = 1; p <= 3; ++p)
        EXPECT_LE(r.fc->PumpDeliveries(p).size(), 1u) << p;
    bool dropped = false;
    for (const LogEventRecord& e : r.sink.logs) {
        dropped |= e.eventType == kLogTankDrop && e.deviceID == 2;
        EXPECT_NE(e.eventType, kLogNotStored) << e.deviceID;
    }
    EXPECT_TRUE(dropped);
    TankStatusRecord small;
    ASSERT_TRUE(r.fc->GetTankStatus(2, small));
    EXPECT_GE(small.gaugeVolume, 0);
    double stored = 0;
    ASSERT_TRUE(r.store.Scalar("SELECT COUNT(*) FROM Deliveries WHERE State = 3", {}, stored));
    EXPECT_EQ(stored, cleared);
}

} // namespace
