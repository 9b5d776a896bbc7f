// Reading the site from the store's tables.
#include "outside/qvserver/ForecourtSite.h"

namespace qvserver {

namespace {

int32_t I(const Row& r, const char* name) {
    auto it = r.find(name);
    return it == r.end() ? 0 : static_cast<int32_t>(it->second.i);
}
int16_t H(const Row& r, const char* name) {
    return static_cast<int16_t>(I(r, name));
}
int64_t L(const Row& r, const char* name) {
    auto it = r.find(name);
    return it == r.end() ? 0 : it->second.i;
}
double D(const Row& r, const char* name) {
    auto it = r.find(name);
    return it == r.end() ? 0 : it->second.d;
}
std::u16string S(const Row& r, const char* name) {
    auto it = r.find(name);
    return it == r.end() ? std::u16string() : it->second.s;
}

// Every record of a kind, in ID order (or the query's order).
bool Rows(Store& store, const Entity& e, const std::string& sql, const Values& binds,
          std::vector<Row>& out, std::string& error) {
    std::vector<int32_t> ids;
    if (!store.Ids(sql, binds, ids)) {
        error = std::string("cannot list ") + e.table;
        return false;
    }
    out.clear();
    for (int32_t id : ids) {
        Row r;
        if (store.Fetch(e, id, r)) out.push_back(std::move(r));
    }
    return true;
}

GradeInfo GradeOf(const Row& r) {
    GradeInfo g;
    g.id = I(r, "ID");
    g.number = I(r, "Number");
    g.name = S(r, "Name");
    g.shortName = S(r, "ShortName");
    g.code = S(r, "Code");
    for (int k = 0; k < 8; ++k)
        g.prices[static_cast<size_t>(k)] = D(r, ("Price" + std::to_string(k + 1)).c_str());
    return g;
}

TankInfo TankOf(const Row& r) {
    TankInfo t;
    t.id = I(r, "ID");
    t.number = I(r, "Number");
    t.name = S(r, "Name");
    t.gradeID = I(r, "GradeID");
    t.type = H(r, "Type");
    t.capacity = D(r, "Capacity");
    t.diameter = D(r, "Diameter");
    t.volume = D(r, "GaugeVolume");
    t.tcVolume = D(r, "GaugeTCVolume");
    t.temperature = D(r, "GaugeTemperature");
    t.waterVolume = D(r, "GaugeWaterVolume");
    t.waterLevel = D(r, "GaugeWaterLevel");
    t.gaugeID = I(r, "GaugeID");
    t.probeNo = H(r, "ProbeNo");
    return t;
}

HoseInfo HoseOf(const Row& r) {
    HoseInfo h;
    h.id = I(r, "ID");
    h.number = I(r, "Number");
    h.physicalNumber = I(r, "PhysicalNumber");
    h.tankID = I(r, "TankID");
    for (int k = 0; k < 4; ++k)
        h.prices[static_cast<size_t>(k)] = D(r, ("Price" + std::to_string(k + 1)).c_str());
    h.enabled = I(r, "Enabled") != 0;
    h.elecVolume = D(r, "MtrElecVolume");
    h.elecValue = D(r, "MtrElecValue");
    return h;
}

PumpInfo PumpOf(const Row& r) {
    PumpInfo p;
    p.id = I(r, "ID");
    p.number = I(r, "Number");
    p.name = S(r, "Name");
    p.priceLevel1 = H(r, "PriceLevel1");
    p.authMode = H(r, "AuthMode");
    p.stackMode = H(r, "StackMode");
    p.prepayAllowed = I(r, "PrepayAllowed") != 0;
    p.preauthAllowed = I(r, "PreauthAllowed") != 0;
    p.attendantID = I(r, "AttendantID");
    return p;
}

DeliveryRecord DeliveryOf(const Row& r) {
    DeliveryRecord d;
    d.id = I(r, "ID");
    d.pumpID = I(r, "PumpID");
    d.hoseID = I(r, "HoseID");
    d.tankID = I(r, "TankID");
    d.gradeID = I(r, "GradeID");
    d.state = H(r, "State");
    d.type = H(r, "Type");
    d.priceLevel = H(r, "PriceLevel");
    d.price = D(r, "Price");
    d.volume = D(r, "Volume");
    d.value = D(r, "Value");
    d.volume2 = D(r, "Volume2");
    d.completedDT = D(r, "CompletedDT");
    d.clearedDT = D(r, "ClearedDT");
    d.lockedBy = I(r, "LockedBy");
    d.reservedBy = I(r, "ReservedBy");
    d.clearedBy = I(r, "ClearedBy");
    d.attendantID = I(r, "AttendantID");
    d.cardClientID = I(r, "CardClientID");
    d.tag = L(r, "Tag");
    d.oldVolumeETot = D(r, "OldVolumeETot");
    d.oldValueETot = D(r, "OldValueETot");
    d.newVolumeETot = D(r, "NewVolumeETot");
    d.newValueETot = D(r, "NewValueETot");
    d.duration = I(r, "Duration");
    d.peakFlowRate = D(r, "PeakFlowRate");
    return d;
}

} // namespace

const GradeInfo* Site::Grade(int32_t id) const {
    for (const GradeInfo& g : grades)
        if (g.id == id) return &g;
    return nullptr;
}

const TankInfo* Site::Tank(int32_t id) const {
    for (const TankInfo& t : tanks)
        if (t.id == id) return &t;
    return nullptr;
}

const GradeInfo* Site::GradeOfHose(const HoseInfo& h) const {
    const TankInfo* t = Tank(h.tankID);
    return t ? Grade(t->gradeID) : nullptr;
}

double Site::PriceOf(const HoseInfo& h, int16_t level) const {
    if (level < 1 || level > 8) return 0;
    if (level <= 4 && h.prices[static_cast<size_t>(level - 1)] > 0)
        return h.prices[static_cast<size_t>(level - 1)];
    const GradeInfo* g = GradeOfHose(h);
    return g ? g->prices[static_cast<size_t>(level - 1)] : 0;
}

bool LoadSite(Store& store, Site& site, std::string& error) {
    site = Site{};
    std::vector<Row> rows;
    if (!Rows(store, kGrade, "SELECT ID FROM Grades ORDER BY ID", {}, rows, error)) return false;
    for (const Row& r : rows)
        site.grades.push_back(GradeOf(r));
    if (!Rows(store, kTank, "SELECT ID FROM Tanks ORDER BY ID", {}, rows, error)) return false;
    for (const Row& r : rows)
        site.tanks.push_back(TankOf(r));
    if (!Rows(store, kPump, "SELECT ID FROM Pumps ORDER BY ID", {}, rows, error)) return false;
    for (const Row& r : rows)
        site.pumps.push_back(PumpOf(r));
    for (PumpInfo& p : site.pumps) {
        if (!Rows(store, kHose, "SELECT ID FROM Hoses WHERE PumpID = ?1 ORDER BY Number, ID",
                  {Value::I32(p.id)}, rows, error))
            return false;
        for (const Row& r : rows)
            p.hoses.push_back(HoseOf(r));
    }
    if (!Rows(store, kDelivery, "SELECT ID FROM Deliveries WHERE State IN (1, 2) ORDER BY ID", {},
              rows, error))
        return false;
    for (const Row& r : rows)
        site.onPumps.push_back(DeliveryOf(r));
    return true;
}

} // namespace qvserver
