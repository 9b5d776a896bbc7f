// The equipment the forecourt runs, read once from the store: grades with their prices, tanks
// with their gauge readings, pumps with their hoses, and the deliveries still on the pumps.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "outside/qvserver/ForecourtEvents.h"
#include "outside/qvserver/Store.h"

namespace qvserver {

struct GradeInfo {
    int32_t id = 0;
    int32_t number = 0;
    std::u16string name, shortName, code;
    std::array<double, 8> prices{}; // price levels 1..8
};

struct TankInfo {
    int32_t id = 0;
    int32_t number = 0;
    std::u16string name;
    int32_t gradeID = 0;
    int16_t type = 0;
    double capacity = 0; // litres
    double diameter = 0; // metres
    double volume = 0;   // gauge readings
    double tcVolume = 0; // temperature-compensated volume
    double temperature = 0;
    double waterVolume = 0;
    double waterLevel = 0; // millimetres
    int32_t gaugeID = 0;
    int16_t probeNo = 0;
};

struct HoseInfo {
    int32_t id = 0;
    int32_t number = 0; // 1..4 on its pump
    int32_t physicalNumber = 0;
    int32_t tankID = 0;
    std::array<double, 4> prices{}; // the hose's own prices for levels 1..4, 0 = the grade's
    bool enabled = true;
    double elecVolume = 0; // electronic totals
    double elecValue = 0;
};

struct PumpInfo {
    int32_t id = 0;
    int32_t number = 0;
    std::u16string name;
    int16_t priceLevel1 = 1; // the level a delivery uses when its authorisation names none
    int16_t authMode = 0;    // TAuthMode
    int16_t stackMode = 0;   // TStackMode
    bool prepayAllowed = false;
    bool preauthAllowed = false;
    int32_t attendantID = -1;
    std::vector<HoseInfo> hoses; // in hose-number order
};

struct Site {
    std::vector<GradeInfo> grades;
    std::vector<TankInfo> tanks;
    std::vector<PumpInfo> pumps;         // in ID order
    std::vector<DeliveryRecord> onPumps; // current and stacked deliveries, in ID order

    const GradeInfo* Grade(int32_t id) const;
    const TankInfo* Tank(int32_t id) const;
    // The grade a hose sells: its tank's grade (null when the hose has no tank).
    const GradeInfo* GradeOfHose(const HoseInfo& h) const;
    // The hose's price at a level: its own price for levels 1..4 when set, else its grade's.
    double PriceOf(const HoseInfo& h, int16_t level) const;
};

// Reads the site; false on a database failure (reason in error).
bool LoadSite(Store& store, Site& site, std::string& error);

} // namespace qvserver
