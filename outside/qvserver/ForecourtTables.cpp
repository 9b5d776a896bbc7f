// Rows of the forecourt's records. New rows wait for both loggers (LoggedState 3), so that the
// database tool purges them only after they were acknowledged.
#include "outside/qvserver/ForecourtTables.h"

#include <cstdlib>

namespace qvserver {

namespace {

constexpr int16_t kAwaitingLoggers = 3;

Value I16(int16_t v) {
    return Value::I16(v);
}
Value I32(int32_t v) {
    return Value::I32(v);
}
Value F(double v) {
    return Value::F64(v);
}

} // namespace

int32_t StoreTables::AddDelivery(const DeliveryRecord& d) {
    Row r{{"PumpID", I32(d.pumpID)},
          {"HoseID", I32(d.hoseID)},
          {"State", I16(d.state)},
          {"Type", I16(d.type)},
          {"Volume", F(d.volume)},
          {"PriceLevel", I16(d.priceLevel)},
          {"Price", F(d.price)},
          {"Value", F(d.value)},
          {"Volume2", F(d.volume2)},
          {"CompletedDT", F(d.completedDT)},
          {"LockedBy", I32(d.lockedBy)},
          {"ReservedBy", I32(d.reservedBy)},
          {"AttendantID", I32(d.attendantID)},
          {"ClearedDT", F(d.clearedDT)},
          {"Duration", I32(d.duration)},
          {"CardClientID", I32(d.cardClientID)},
          {"Tag", Value::I64(d.tag)},
          {"GradeID", I32(d.gradeID)},
          {"TankID", I32(d.tankID)},
          {"LoggedState", I16(kAwaitingLoggers)},
          {"ClearedBy", I32(d.clearedBy)},
          {"OldVolumeETot", F(d.oldVolumeETot)},
          {"OldValueETot", F(d.oldValueETot)},
          {"NewVolumeETot", F(d.newVolumeETot)},
          {"NewValueETot", F(d.newValueETot)},
          {"PeakFlowRate", F(d.peakFlowRate)}};
    double highest = 0;
    if (!m_store.Scalar("SELECT COALESCE(MAX(ID), 0) FROM Deliveries", {}, highest)) return 0;
    const int64_t next = std::atoll(m_store.Setting("NextDeliveryID", "0").c_str());
    if (next > highest) r["ID"] = I32(static_cast<int32_t>(next));
    int32_t id = 0;
    if (m_store.Insert(kDelivery, r, id) != 0) return 0;
    if (next > 0) m_store.SetSetting("NextDeliveryID", "0");
    Written(kTableDeliveries, id);
    return id;
}

bool StoreTables::UpdateDelivery(const DeliveryRecord& d) {
    const bool stored =
        m_store.Set(kDelivery, d.id,
                    {"State", "Type", "LockedBy", "ReservedBy", "ClearedDT", "ClearedBy"},
                    {I16(d.state), I16(d.type), I32(d.lockedBy), I32(d.reservedBy), F(d.clearedDT),
                     I32(d.clearedBy)}) == 0;
    if (stored) Written(kTableDeliveries, d.id);
    return stored;
}

int32_t StoreTables::AddLogEvent(const LogEventRecord& e) {
    Row r{{"DeviceType", I16(e.deviceType)},
          {"DeviceID", I32(e.deviceID)},
          {"EventLevel", I16(e.eventLevel)},
          {"EventType", I16(e.eventType)},
          {"EventDesc", Value::Text(e.eventDesc)},
          {"GeneratedDT", F(e.generatedDT)},
          {"Volume", F(e.volume)},
          {"Value", F(e.value)},
          {"ProductVolume", F(e.productVolume)},
          {"ProductLevel", F(e.productLevel)},
          {"WaterLevel", F(e.waterLevel)},
          {"Temperature", F(e.temperature)},
          {"LoggedState", I16(kAwaitingLoggers)}};
    int32_t id = 0;
    if (m_store.Insert(kLogEvent, r, id) != 0) return 0;
    Written(kTableLogEvents, id);
    return id;
}

int32_t StoreTables::AddSaleItem(const SaleItemRecord& s) {
    Row r{{"ProductID", I32(s.productID)},
          {"PumpID", I32(s.pumpID)},
          {"AttendantID", I32(s.attendantID)},
          {"CardClientID", I32(s.cardClientID)},
          {"PriceLevel", I16(s.priceLevel)},
          {"Price", F(s.price)},
          {"Quantity", F(s.quantity)},
          {"AddedDT", F(s.addedDT)},
          {"LoggedState", I16(kAwaitingLoggers)},
          {"AuthType", I16(s.authType)}};
    int32_t id = 0;
    if (m_store.Insert(kSaleItem, r, id) != 0) return 0;
    Written(kTableSaleItems, id);
    return id;
}

bool StoreTables::SaveHoseTotals(int32_t hoseID, double volumeETot, double valueETot) {
    if (!m_store.Exists(kHose, hoseID)) return false;
    return m_store.Set(kHose, hoseID, {"MtrElecVolume", "MtrElecValue"},
                       {F(volumeETot), F(valueETot)}) == 0;
}

bool StoreTables::SaveTankGauge(const TankStatusRecord& t) {
    if (!m_store.Exists(kTank, t.tankID)) return false;
    return m_store.Set(kTank, t.tankID,
                       {"GaugeVolume", "GaugeTCVolume", "GaugeUllage", "GaugeLevel", "State",
                        "GaugeAlarmsMask"},
                       {F(t.gaugeVolume), F(t.gaugeTCVolume), F(t.gaugeUllage), F(t.gaugeLevel),
                        I16(t.state), I32(t.alarmsMask)}) == 0;
}

} // namespace qvserver
