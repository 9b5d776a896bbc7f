// Events per second from the forecourt engine: 32 pumps delivering without end (pump status
// only), then 32 pumps selling 20-litre presets one after the other, each completed sale stored
// in a real database (deliveries, totals, tank gauges). Wall-clock time of Advance only.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "outside/qvclient/QVCodes.h"
#include "outside/qvserver/Forecourt.h"
#include "outside/qvserver/ForecourtTables.h"

using namespace qvserver;

namespace {

constexpr int kPumps = 32;

struct CountingSink : ForecourtSink {
    long pumps = 0, deliveries = 0, others = 0;
    double volume = 0; // read so that the records are not optimised away
    void PumpStatus(const PumpStatusRecord& r) override { ++pumps, volume += r.volume; }
    void Delivery(const DeliveryRecord&) override { ++deliveries; }
    void DeliveryStacked(int32_t) override { ++others; }
    void DeliveryCleared(const DeliveryRecord&) override { ++others; }
    void HoseTotals(const HoseTotalsRecord&) override { ++others; }
    void TankStatus(const TankStatusRecord&) override { ++others; }
    void ZeroDelivery(const ZeroDeliveryRecord&) override { ++others; }
    void LogEvent(const LogEventRecord&) override { ++others; }
    void SaleItem(const SaleItemRecord&) override { ++others; }
    long All() const { return pumps + deliveries + others; }
};

Site BenchSite() {
    Site s;
    GradeInfo g;
    g.id = 1;
    g.number = 1;
    g.name = u"Unleaded";
    g.prices = {1.899, 1.879, 1.859, 1.839, 0, 0, 0, 0};
    s.grades.push_back(g);
    for (int t = 1; t <= 4; ++t) {
        TankInfo k;
        k.id = k.number = t;
        k.gradeID = 1;
        k.type = TANK_TYPE_HORIZONTAL;
        k.capacity = 1e9;
        k.diameter = 3;
        k.volume = k.tcVolume = 5e8;
        s.tanks.push_back(k);
    }
    for (int p = 1; p <= kPumps; ++p) {
        PumpInfo info;
        info.id = info.number = p;
        info.name = u"Pump " + qvwire::ToU16(std::to_string(p));
        info.authMode = AUTH_MODE_CLIENT;
        for (int h = 1; h <= 2; ++h) {
            HoseInfo hose;
            hose.id = 100 * p + h;
            hose.number = h;
            hose.tankID = 1 + (p + h) % 4;
            info.hoses.push_back(hose);
        }
        s.pumps.push_back(info);
    }
    return s;
}

struct NoTables : ForecourtTables {
    int32_t next = 0;
    int32_t AddDelivery(const DeliveryRecord&) override { return ++next; }
    bool UpdateDelivery(const DeliveryRecord&) override { return true; }
    int32_t AddLogEvent(const LogEventRecord&) override { return ++next; }
    int32_t AddSaleItem(const SaleItemRecord&) override { return ++next; }
    bool SaveHoseTotals(int32_t, double, double) override { return true; }
    bool SaveTankGauge(const TankStatusRecord&) override { return true; }
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void Endless() {
    CountingSink sink;
    NoTables tables;
    Forecourt fc(BenchSite(), sink, tables, 46000);
    for (int p = 1; p <= kPumps; ++p) {
        fc.Authorise(p, 1);
        fc.NozzleUp(p, 1);
    }
    sink = CountingSink{};
    const int64_t simulatedMs = 3600 * 1000;
    const auto start = std::chrono::steady_clock::now();
    fc.Advance(simulatedMs);
    const double took = Seconds(start);
    std::printf("32 pumps delivering, 1 simulated hour: %ld pump-status events in %.3f s: "
                "%.0f events/s (%.0fx real time)\n",
                sink.pumps, took, sink.pumps / took, simulatedMs / 1000.0 / took);
}

void Presets(Store& store) {
    CountingSink sink;
    StoreTables tables(store);
    Forecourt fc(BenchSite(), sink, tables, 46000);
    long sales = 0;
    const int64_t simulatedMs = 1800 * 1000;
    const auto start = std::chrono::steady_clock::now();
    for (int64_t t = 0; t < simulatedMs; t += 100) {
        for (int p = 1; p <= kPumps; ++p) {
            PumpStatusRecord s;
            fc.GetPumpStatus(p, s);
            if (s.state == PUMP_STATE_FINISHED) {
                fc.NozzleDown(p);
                ++sales;
                // Clear the older ones so the stack never fills.
                for (int32_t id : fc.PumpDeliveries(p))
                    fc.ClearDelivery(id, 1, 0);
            }
            if (s.state == PUMP_STATE_IDLE || s.state == PUMP_STATE_FINISHED) {
                fc.LoadPreset(p, 1, LIMIT_VOLUME, 20, HOSE_ALL, 1);
                fc.NozzleUp(p, 1 + p % 2);
            }
        }
        fc.Advance(100);
    }
    const double took = Seconds(start);
    std::printf("32 pumps selling 20-litre presets, stored: %ld sales, %ld events (%ld pump "
                "status) in %.3f s: %.0f events/s, %.0f sales/s\n",
                sales, sink.All(), sink.pumps, took, sink.All() / took, sales / took);
}

} // namespace

int main() {
    Endless();
    std::string dir = (std::filesystem::temp_directory_path() / "qvbench-XXXXXX").string();
    if (!mkdtemp(dir.data())) return 1;
    {
        Store store;
        std::string error;
        if (!store.Open(dir + "/bench.db", error)) {
            std::fprintf(stderr, "cannot open the database: %s\n", error.c_str());
            return 1;
        }
        Presets(store);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
