// Adding records, the older variants that are prefixes of newer ones, hose totals, accounting
// periods, tank strapping tables and product densities.
#include "outside/qvserver/OperationsEntities.h"

#include <cstdlib>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVCodes.h"
#include "outside/qvserver/FieldNames.h"
#include "outside/qvserver/ForecourtService.h"

namespace qvserver {

namespace {

using qvwire::OpCode;

int32_t IdAt(const Values& in, size_t k = 0) {
    return static_cast<int32_t>(in[k].i);
}

// The time deliveries are completed at: the running forecourt's clock, else the server's.
double Now(Ctx& c) {
    if (c.fc) return c.fc->Engine().NowOle();
    return NowOle() + std::atof(c.store.Setting("ClockOffset", "0").c_str());
}

std::string Sig(const Entity& e, const Names& fields) {
    std::string sig;
    for (const std::string& n : fields)
        sig += qvwire::Letter(TagOf(e.Find(n)->type));
    return sig;
}

Names After(const Names& n, size_t k) {
    return Names(n.begin() + static_cast<long>(k), n.end());
}

// ---- Adding records ----

// The next free ID and Number of a kind; a hose's Number is the next free on its pump.
bool NextFree(Ctx& c, const Entity& e, const Values& in, int32_t& id, int32_t& number) {
    const std::string table = e.table;
    double highestID = 0, highestNumber = 0;
    const bool hose = &e == &kHose;
    const std::string numbers =
        "SELECT COALESCE(MAX(Number), 0) FROM " + table + (hose ? " WHERE PumpID = ?1" : "");
    if (!c.store.Scalar("SELECT COALESCE(MAX(ID), 0) FROM " + table, {}, highestID) ||
        !c.store.Scalar(numbers, hose ? Values{in[0]} : Values{}, highestNumber))
        return false;
    id = static_cast<int32_t>(highestID) + 1;
    number = static_cast<int32_t>(highestNumber) + 1;
    return true;
}

// Stores the newest setter's fields after Number (`in`) under a new ID and Number; outputs both.
int32_t AddRecord(Ctx& c, const Entity& e, const Names& fields, const Values& in, Values& out) {
    int32_t id = 0, number = 0;
    if (!NextFree(c, e, in, id, number)) return QV_DATABASE_ERROR;
    Values v{Value::I32(number)};
    v.insert(v.end(), in.begin(), in.end());
    const int32_t r = c.ops.StoreRecord(e, id, fields, v);
    if (r != QV_OK) return r;
    out = {Value::I32(id), Value::I32(number)};
    return QV_OK;
}

int32_t AddPump(Ctx& c, const Values& in, Values& out) {
    return AddRecord(c, kPump, kPumpEx, in, out);
}
int32_t AddHose(Ctx& c, const Values& in, Values& out) {
    return AddRecord(c, kHose, kHoseEx3, in, out);
}
int32_t AddGrade(Ctx& c, const Values& in, Values& out) {
    return AddRecord(c, kGrade, kGradeEx, in, out);
}
int32_t AddTank(Ctx& c, const Values& in, Values& out) {
    return AddRecord(c, kTank, kTankEx2, in, out);
}

int32_t DeleteTank(Ctx& c, const Values& in, Values&) {
    const int32_t id = IdAt(in);
    if (!c.store.Exists(kTank, id)) return QV_UNKNOWN_ID;
    double hoses = 0;
    if (!c.store.Scalar("SELECT COUNT(*) FROM Hoses WHERE TankID = ?1", in, hoses))
        return QV_DATABASE_ERROR;
    if (hoses > 0) return QV_FAILED;
    if (!c.store.Exec("DELETE FROM StrappingElements WHERE TankID = ?1", in) ||
        !c.store.Exec("DELETE FROM StrappingTables WHERE ID = ?1", in))
        return QV_DATABASE_ERROR;
    return c.store.Delete(kTank, id);
}

// ---- Older variants read through the newest, keeping the first `n` outputs ----

template <size_t N> int32_t Prefix(Ctx& c, uint16_t op, const Values& in, Values& out) {
    const int32_t r = c.ops.Run(op, c.session, in, out);
    if (r == QV_OK && out.size() > N) out.resize(N);
    return r;
}

// The delivery's ID, then its fields from HoseID up to AttendantID, Duration or TankID.
template <size_t N> int32_t PumpDeliveryProperties(Ctx& c, const Values& in, Values& out) {
    return Prefix<N>(c, OpCode("GetPumpDeliveryPropertiesEx4"), in, out);
}
int32_t GetDeliverySummary(Ctx& c, const Values& in, Values& out) {
    return Prefix<18>(c, OpCode("GetDeliverySummaryEx2"), in, out);
}

// ---- Hoses ----

int32_t SetHoseETotals(Ctx& c, const Values& in, Values&) {
    const int32_t id = IdAt(in);
    if (!(in[1].d >= 0) || !(in[2].d >= 0)) return QV_INVALID_ARGUMENT;
    if (!c.store.Exists(kHose, id)) return QV_UNKNOWN_ID;
    // The running forecourt counts on from the new totals; it stores them itself.
    if (c.fc && c.fc->Engine().SetHoseTotals(id, in[1].d, in[2].d) == QV_OK) return QV_OK;
    return c.store.Set(kHose, id, {"MtrElecVolume", "MtrElecValue"}, {in[1], in[2]});
}

// The hose a density call names: HoseID itself, or the pump's lifted hose for -1.
int32_t HoseOfCall(Ctx& c, int32_t pumpID, int32_t hoseID, Row& hose) {
    if (hoseID == -1) {
        if (!c.fc) return QV_NOT_SUPPORTED;
        PumpStatusRecord s;
        if (!c.fc->Engine().GetPumpStatus(pumpID, s)) return QV_UNKNOWN_ID;
        if (s.hoseID < 1) return RESULT_WRONG_PUMP_STATE;
        hoseID = s.hoseID;
    }
    if (!c.store.Fetch(kHose, hoseID, hose)) return QV_UNKNOWN_ID;
    if (pumpID != -1 && hose["PumpID"].i != pumpID) return QV_UNKNOWN_ID;
    return QV_OK;
}

int32_t GetDensity(Ctx& c, const Values& in, Values& out) {
    Row hose;
    const int32_t r = HoseOfCall(c, IdAt(in), IdAt(in, 1), hose);
    if (r != QV_OK) return r;
    const std::string tank = std::to_string(hose["TankID"].i);
    const std::string text = c.store.Setting("ini|QVServer.ini|Density|" + tank, "0");
    out = {Value::F64(std::atof(text.c_str()))};
    return QV_OK;
}

// ---- Accounting periods ----

bool ValidPeriodType(int64_t type) {
    return type >= PERIOD_SHIFT && type <= PERIOD_MONTH;
}

// Totals of the deliveries completed after start (0: the beginning) up to end.
bool PeriodTotals(Ctx& c, double startOle, double endOle, Values& totals) {
    const Values binds{Value::F64(startOle == 0 ? 0 : JulianOf(startOle)),
                       Value::F64(JulianOf(endOle))};
    // A delivery completed at the very moment a period closes belongs to the closed one.
    const std::string where = " FROM Deliveries WHERE CompletedDT IS NOT NULL AND CompletedDT > ?1"
                              " AND CompletedDT <= ?2";
    double volume = 0, value = 0, count = 0;
    if (!c.store.Scalar("SELECT TOTAL(Volume)" + where, binds, volume) ||
        !c.store.Scalar("SELECT TOTAL(Value)" + where, binds, value) ||
        !c.store.Scalar("SELECT COUNT(*)" + where, binds, count))
        return false;
    totals = {Value::F64(volume), Value::F64(value), Value::I32(static_cast<int32_t>(count))};
    return true;
}

// The closed periods of a type, the latest first.
bool ClosedPeriods(Ctx& c, int64_t type, std::vector<int32_t>& ids) {
    return c.store.Ids("SELECT ID FROM Periods WHERE Type = ?1 ORDER BY ID DESC",
                       {Value::I16(static_cast<int16_t>(type))}, ids);
}

// The open period starts where the last closed one ended.
double OpenStart(Ctx& c, const std::vector<int32_t>& closed) {
    Values end;
    if (closed.empty() || c.store.Get(kPeriod, closed[0], {"EndDT"}, end) != QV_OK) return 0;
    return end[0].d;
}

int32_t GetPeriod(Ctx& c, const Values& in, Values& out) {
    if (!ValidPeriodType(in[0].i)) return QV_INVALID_ARGUMENT;
    std::vector<int32_t> closed;
    if (!ClosedPeriods(c, in[0].i, closed)) return QV_DATABASE_ERROR;
    const int64_t index = in[1].i;
    if (index < 0 || index > static_cast<int64_t>(closed.size())) return QV_INVALID_ORDINAL;
    if (index > 0) {
        const int32_t id = closed[static_cast<size_t>(index - 1)];
        Values fields;
        const int32_t r =
            c.store.Get(kPeriod, id, {"StartDT", "EndDT", "Volume", "Value", "Deliveries"}, fields);
        if (r != QV_OK) return r;
        out = {Value::I32(id)};
        out.insert(out.end(), fields.begin(), fields.end());
        return QV_OK;
    }
    // The open period has no row yet: its ID is the one it will be stored under.
    double highest = 0;
    Values totals;
    if (!c.store.Scalar("SELECT COALESCE(MAX(ID), 0) FROM Periods", {}, highest) ||
        !PeriodTotals(c, OpenStart(c, closed), Now(c), totals))
        return QV_DATABASE_ERROR;
    out = {Value::I32(static_cast<int32_t>(highest) + 1), Value::F64(OpenStart(c, closed)),
           Value::F64(0)};
    out.insert(out.end(), totals.begin(), totals.end());
    return QV_OK;
}

int32_t ClosePeriod(Ctx& c, const Values& in, Values& out) {
    if (!ValidPeriodType(in[0].i)) return QV_INVALID_ARGUMENT;
    std::vector<int32_t> closed;
    if (!ClosedPeriods(c, in[0].i, closed)) return QV_DATABASE_ERROR;
    const double start = OpenStart(c, closed), end = Now(c);
    Values totals;
    if (!PeriodTotals(c, start, end, totals)) return QV_DATABASE_ERROR;
    Row r{{"Type", in[0]},       {"StartDT", Value::F64(start)}, {"EndDT", Value::F64(end)},
          {"Volume", totals[0]}, {"Value", totals[1]},           {"Deliveries", totals[2]}};
    int32_t id = 0;
    if (c.store.Insert(kPeriod, r, id) != QV_OK) return QV_DATABASE_ERROR;
    out = {Value::I32(id)};
    return QV_OK;
}

// ---- Tanks ----

// Only a running forecourt has gauges to ask.
int32_t ReadAllTanks(Ctx& c, const Values&, Values&) {
    if (!c.fc) return QV_NOT_SUPPORTED;
    c.fc->Engine().ReadAllTanks();
    return QV_OK;
}

const Names kStrapData{"StepSize", "Diameter", "Offset", "Capacity", "Alarms", "Desc"};
const Names kStrapElement{"Passes", "Height", "StartDelta", "CurDelta", "StartVolume", "CurVolume"};
constexpr int64_t kMaxStrapElements = 1000;

int32_t GetStrappingTableData(Ctx& c, const Values& in, Values& out) {
    const int32_t tank = IdAt(in);
    if (!c.store.Exists(kTank, tank)) return QV_UNKNOWN_ID;
    if (c.store.Exists(kStrappingTable, tank))
        return c.store.Get(kStrappingTable, tank, kStrapData, out);
    Values t;
    const int32_t r = c.store.Get(kTank, tank, {"Diameter", "Capacity"}, t);
    if (r != QV_OK) return r;
    out = {Value::F64(0), t[0], Value::F64(0), t[1], Value::I32(0), Value::Text({})};
    return QV_OK;
}

int32_t SetStrappingTableData(Ctx& c, const Values& in, Values&) {
    const int32_t tank = IdAt(in);
    if (!(in[1].d >= 0) || !(in[4].d >= 0)) return QV_INVALID_ARGUMENT;
    if (!c.store.Exists(kTank, tank)) return QV_UNKNOWN_ID;
    return c.store.Set(kStrappingTable, tank, kStrapData, Values(in.begin() + 1, in.end()));
}

// The row of element (tank, index): 0 when it was never set, -1 on a database failure.
int32_t ElementRow(Ctx& c, const Values& in) {
    std::vector<int32_t> ids;
    if (!c.store.Ids("SELECT ID FROM StrappingElements WHERE TankID = ?1 AND Idx = ?2",
                     {in[0], in[1]}, ids))
        return -1;
    return ids.empty() ? 0 : ids[0];
}

int32_t CheckElement(Ctx& c, const Values& in) {
    if (in[1].i < 1 || in[1].i > kMaxStrapElements) return QV_INVALID_ARGUMENT;
    return c.store.Exists(kTank, IdAt(in)) ? QV_OK : QV_UNKNOWN_ID;
}

int32_t GetStrappingTableElement(Ctx& c, const Values& in, Values& out) {
    const int32_t check = CheckElement(c, in);
    if (check != QV_OK) return check;
    const int32_t row = ElementRow(c, in);
    if (row < 0) return QV_DATABASE_ERROR;
    if (row == 0) return QV_UNKNOWN_ID;
    return c.store.Get(kStrappingElement, row, kStrapElement, out);
}

int32_t SetStrappingTableElement(Ctx& c, const Values& in, Values&) {
    const int32_t check = CheckElement(c, in);
    if (check != QV_OK) return check;
    const int32_t row = ElementRow(c, in);
    if (row < 0) return QV_DATABASE_ERROR;
    const Values fields(in.begin() + 2, in.end());
    if (row > 0) return c.store.Set(kStrappingElement, row, kStrapElement, fields);
    Row r{{"TankID", in[0]}, {"Idx", in[1]}};
    for (size_t k = 0; k < kStrapElement.size(); ++k)
        r[kStrapElement[k]] = fields[k];
    int32_t id = 0;
    return c.store.Insert(kStrappingElement, r, id) == QV_OK ? QV_OK : QV_DATABASE_ERROR;
}

} // namespace

const std::vector<EntityOperation>& EntityOperations() {
    static const std::vector<EntityOperation> ops{
        {"AddPump", Sig(kPump, After(kPumpEx, 1)), AddPump},
        {"AddHose", Sig(kHose, After(kHoseEx3, 1)), AddHose},
        {"AddGrade", Sig(kGrade, After(kGradeEx, 1)), AddGrade},
        {"AddTank", Sig(kTank, After(kTankEx2, 1)), AddTank},
        {"DeleteTank", "i", DeleteTank},
        {"GetPumpDeliveryProperties", "ii", PumpDeliveryProperties<13>},
        {"GetPumpDeliveryPropertiesEx", "ii", PumpDeliveryProperties<15>},
        {"GetPumpDeliveryPropertiesEx3", "ii", PumpDeliveryProperties<19>},
        {"GetDeliverySummary", "i", GetDeliverySummary},
        {"SetHoseETotals", "idd", SetHoseETotals},
        {"GetDensity", "ii", GetDensity},
        {"GetPeriod", "hi", GetPeriod},
        {"ClosePeriod", "h", ClosePeriod},
        {"ReadAllTanks", "", ReadAllTanks},
        {"GetStrappingTableData", "i", GetStrappingTableData},
        {"SetStrappingTableData", "iddddis", SetStrappingTableData},
        {"GetStrappingTableElement", "ii", GetStrappingTableElement},
        {"SetStrappingTableElement", "iiiddddd", SetStrappingTableElement},
    };
    return ops;
}

} // namespace qvserver
