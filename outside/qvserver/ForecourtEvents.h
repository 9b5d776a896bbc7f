// What the forecourt reports: one record per event kind, the sink that receives them (the
// server pushes them to the clients whose event masks ask for them), and the tables the
// records are stored in (Deliveries, LogEvents, SaleItems and the site's totals and gauges).
// Dates are local automation dates; IDs that do not apply are -1; codes are those of QVCodes.h.
#pragma once
#include <cstdint>
#include <string>

namespace qvserver {

// A pump's state and running sale (event type 1), sent on every change of state, reservation,
// hose or stack, and while delivering at most once per amount interval.
struct PumpStatusRecord {
    int32_t pumpID = -1;
    int32_t pumpNumber = 0;
    int16_t state = 0;       // TPumpState
    int16_t reservedFor = 0; // TPumpReserve
    int32_t reservedBy = -1; // client ID
    int32_t hoseID = -1;     // the hose that is up or delivering, -1 when none
    int32_t hoseNumber = 0;
    int32_t hosePhysicalNumber = 0;
    int32_t gradeID = -1;
    int32_t gradeNumber = 0;
    std::u16string gradeName, shortGradeName;
    int16_t priceLevel = 0;
    double price = 0;
    double volume = 0;     // litres, 3 decimals
    double value = 0;      // money, 2 decimals
    int32_t stackSize = 0; // current and stacked deliveries on the pump
    int64_t tag = -1;
    int32_t attendantID = -1;
    int32_t cardClientID = -1;
    double curFlowRate = 0; // litres per minute
    double peakFlowRate = 0;
};

// A delivery (event type 2), sent when it completes and on every later change: stacked, locked,
// unlocked, cleared, timed out.
struct DeliveryRecord {
    int32_t id = 0;
    int32_t pumpID = -1;
    int32_t pumpNumber = 0;
    int32_t hoseID = -1;
    int32_t hoseNumber = 0;
    int32_t hosePhysicalNumber = 0;
    int32_t tankID = -1;
    int32_t gradeID = -1;
    int16_t state = 1; // TDeliveryState
    int16_t type = 1;  // TDeliveryType
    int16_t priceLevel = 1;
    double price = 0;
    double volume = 0;
    double value = 0;
    double volume2 = 0;
    double completedDT = 0;
    double clearedDT = 0; // 0 while not cleared
    int32_t lockedBy = -1;
    int32_t reservedBy = -1;
    int32_t clearedBy = -1;
    int32_t attendantID = -1;
    int32_t cardClientID = -1;
    int64_t tag = -1;
    int32_t age = 0;          // seconds since completion; negative once timed out
    double oldVolumeETot = 0; // the hose's electronic totals before and after
    double oldValueETot = 0;
    double newVolumeETot = 0;
    double newValueETot = 0;
    int32_t duration = 0; // seconds from the start of flow to completion
    double peakFlowRate = 0;
    double limit = 0;      // the authorised limit (0 none), kept for refunds
    int16_t limitType = 1; // TAllocLimitType
};

// A hose's electronic totals after a delivery (event type 9).
struct HoseTotalsRecord {
    int32_t hoseID = -1;
    int32_t hoseNumber = 0;
    int32_t pumpID = -1;
    int32_t tankID = -1;
    int32_t gradeID = -1;
    double volume = 0; // the delivery that moved them
    double value = 0;
    double volumeETot = 0;
    double valueETot = 0;
};

// A tank gauge (event type 13), sent on every change of state or alarms and, while the level
// moves, at most once per tank interval.
struct TankStatusRecord {
    int32_t tankID = -1;
    int32_t tankNumber = 0;
    double gaugeVolume = 0;
    double gaugeTCVolume = 0;
    double gaugeUllage = 0;
    double gaugeTemperature = 0;
    double gaugeLevel = 0; // millimetres
    double gaugeWaterVolume = 0;
    double gaugeWaterLevel = 0;
    int16_t state = 1;      // TTankState
    int32_t alarmsMask = 0; // TTankAlarm bits
};

// A nozzle hung up without any product delivered (event type 17).
struct ZeroDeliveryRecord {
    int32_t pumpID = -1;
    int32_t pumpNumber = 0;
    int32_t hoseID = -1;
    int32_t hoseNumber = 0;
};

// Kinds of log event the forecourt raises (EventType of LogEvents).
enum ForecourtLogType : int16_t {
    kLogPumpError = 1,
    kLogPumpOffline = 2,
    kLogNozzleLeftOut = 3,
    kLogReserveTimeout = 4,
    kLogAuthoriseTimeout = 5,
    kLogPrepayTimeout = 6,
    kLogDeliveryTimeout = 7,
    kLogTankAlarm = 8,
    kLogTankDrop = 9,
    kLogTankEmpty = 10,
    kLogAllStop = 11,
    kLogNotStored = 12, // a record the database refused
};
// Levels of a log event (EventLevel).
enum ForecourtLogLevel : int16_t { kLevelInfo = 1, kLevelWarning = 2, kLevelAlarm = 3 };

// A log event (event type 24), also a row of LogEvents.
struct LogEventRecord {
    int32_t id = 0;
    int16_t deviceType = 0; // TDeviceType
    int32_t deviceID = -1;
    int32_t deviceNumber = 0;
    std::u16string deviceName;
    int16_t eventLevel = kLevelInfo;
    int16_t eventType = 0; // ForecourtLogType
    std::u16string eventDesc;
    double generatedDT = 0;
    double volume = 0; // the delivery or drop concerned
    double value = 0;
    double productVolume = 0; // tank readings when a tank is concerned
    double productLevel = 0;
    double waterLevel = 0;
    double temperature = 0;
};

// A shop product sold at a pump (event type 25), also a row of SaleItems.
struct SaleItemRecord {
    int32_t id = 0;
    int32_t productID = 0;
    int32_t pumpID = -1;
    int32_t attendantID = -1;
    int32_t cardClientID = -1;
    int16_t priceLevel = 1;
    double price = 0;
    double quantity = 0;
    double addedDT = 0;
    int16_t authType = 0; // TAuthorisationType
};

// Receives every event as it happens, in order, under the caller's lock (see Forecourt).
class ForecourtSink {
  public:
    virtual ~ForecourtSink() = default;
    virtual void PumpStatus(const PumpStatusRecord& r) = 0;
    virtual void Delivery(const DeliveryRecord& r) = 0;
    // A current delivery became stacked (event type 8), after its Delivery event.
    virtual void DeliveryStacked(int32_t deliveryID) = 0;
    // A delivery was cleared (event type 7), after its Delivery event.
    virtual void DeliveryCleared(const DeliveryRecord& r) = 0;
    virtual void HoseTotals(const HoseTotalsRecord& r) = 0;
    virtual void TankStatus(const TankStatusRecord& r) = 0;
    virtual void ZeroDelivery(const ZeroDeliveryRecord& r) = 0;
    virtual void LogEvent(const LogEventRecord& r) = 0;
    virtual void SaleItem(const SaleItemRecord& r) = 0;
};

// Where the records are stored. Each call returns false (or 0 for an ID) when the database
// refused it; the forecourt goes on with the record in memory and logs the failure.
class ForecourtTables {
  public:
    virtual ~ForecourtTables() = default;
    // Stores a completed delivery; its new ID, 0 on failure.
    virtual int32_t AddDelivery(const DeliveryRecord& d) = 0;
    // Stores the state, lock and clearing fields of a stored delivery.
    virtual bool UpdateDelivery(const DeliveryRecord& d) = 0;
    // The new ID, 0 on failure.
    virtual int32_t AddLogEvent(const LogEventRecord& e) = 0;
    virtual int32_t AddSaleItem(const SaleItemRecord& s) = 0;
    virtual bool SaveHoseTotals(int32_t hoseID, double volumeETot, double valueETot) = 0;
    virtual bool SaveTankGauge(const TankStatusRecord& t) = 0;
};

} // namespace qvserver
