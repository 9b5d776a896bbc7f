// The forecourt's timings, limits and physical constants, with the values the server runs with.
#pragma once
#include <cstdint>

namespace qvserver {

struct ForecourtSettings {
    int64_t tickMs = 100;                // longest step of the simulation; presets stop within one
    int64_t amountIntervalMs = 100;      // a delivering pump reports its amounts at most this often
    int64_t tankIntervalMs = 1000;       // a moving tank level is reported at most this often
    int64_t reserveTimeoutMs = 120000;   // a reservation not authorised by then is released
    int64_t authoriseTimeoutMs = 120000; // an authorisation whose nozzle is not lifted by then
    int64_t nozzleLeftOutMs = 60000;     // a finished delivery's nozzle still out by then
    int32_t deliveryTimeoutS = 600;      // a current or stacked delivery not cleared by then
    int32_t maxStack = 5;                // deliveries a pump may hold before it refuses to start
    double defaultFlowRate = 40;         // litres per minute when a nozzle is lifted
    int64_t startingMs = 0;              // from an authorised nozzle to the flow (motor start)
    double slowZone = 0.5;               // litres before a preset limit where the flow slows down
    double slowFactor = 0.25;            // the flow rate there, as a share of the normal one
    double dropRate = 1000;              // litres per minute into a tank during a drop
    double lowLevel = 0.15;              // tank alarms as shares of the capacity
    double criticalLevel = 0.05;
    double highLevel = 0.90;
    double highWater = 50; // millimetres of water
    // Tank temperatures swing this many degrees either side of the stored one, once every
    // temperatureCycleMs (0: they stay as stored).
    double temperatureSwing = 0;
    int64_t temperatureCycleMs = 600000;
};

} // namespace qvserver
