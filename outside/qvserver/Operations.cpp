// Handlers of the library operations and the table that routes operation codes to them.
#include "outside/qvserver/Operations.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "outside/qvclient/QVClient.h"
#include "outside/qvserver/FieldNames.h"
#include "outside/qvserver/ForecourtService.h"
#include "outside/qvserver/OperationContext.h"
#include "outside/qvserver/OperationsEntities.h"
#include "outside/qvserver/SaleItemEvents.h"
#include "outside/qvserver/TagText.h"
#include "outside/qvserver/Terminals.h"

namespace qvserver {

const char kServerVersion[] = "QVServer 5.1.3.0";

namespace {

enum class Kind {
    Count,        // number of records of the kind
    ByOrdinal,    // ID of the ordinal-th record in ID order
    Get,          // the fields of a record
    Set,          // stores the fields, creating the record
    Update,       // stores the fields of an existing record only
    Delete,       // removes a record
    ByNumber,     // ID of the record with that Number
    Special,      // a handler of its own
    Add,          // stores the fields under the next free ID and Number
    NotSupported, // needs forecourt hardware the server does not drive
    Local,        // answered inside the library, never sent
};

Names First(const Names& n, size_t k) {
    return Names(n.begin(), n.begin() + static_cast<long>(k));
}
Names Join(Names a, const Names& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// ---- Field lists of the property variants ----

const Names kCardEx2{"Number",    "Name",           "Tag",      "Enabled",   "PriceLevel",
                     "Plate",     "GradeType",      "CardType", "LimitType", "Limit",
                     "EntryType", "ExpirationDate", "ParentID"};
const Names kAttendantEx{"Number",      "Name",      "ShortName",   "Password",  "Tag",
                         "ShiftAStart", "ShiftAEnd", "ShiftBStart", "ShiftBEnd", "Type"};
const Names kProductFields{"Number",  "Name",   "Tag",    "Enabled",     "ShortName",
                           "Barcode", "Price1", "Price2", "ProductGroup"};
const Names kGauge{"GaugeVolume", "GaugeTCVolume",    "GaugeUllage",    "GaugeTemperature",
                   "GaugeLevel",  "GaugeWaterVolume", "GaugeWaterLevel"};
const Names kHoseEx2 = Join(First(kHoseEx3, 11), {"Enabled"});
const Names kDeliveryEx4{"PumpID",       "HoseID",     "State",       "Type",      "Volume",
                         "PriceLevel",   "Price",      "Value",       "Volume2",   "CompletedDT",
                         "LockedBy",     "ReservedBy", "AttendantID", "ClearedDT", "Duration",
                         "CardClientID", "Tag",        "GradeID",     "TankID",    "LoggedState",
                         "ClearedBy"};
const Names kSaleItemFields{"ProductID", "PumpID",      "AttendantID", "CardClientID", "PriceLevel",
                            "Price",     "Quantity",    "AddedDT",     "ClearedDT",    "LockedBy",
                            "ClearedBy", "LoggedState", "Plate",       "AuthType"};
const Names kLogEventFields{"DeviceType",   "DeviceID",    "EventLevel", "EventType",
                            "EventDesc",    "GeneratedDT", "ClearedDT",  "ClearedBy",
                            "AckedBy",      "Volume",      "Value",      "ProductVolume",
                            "ProductLevel", "WaterLevel",  "Temperature"};
const Names kCardReadFields{"Number", "Name", "PumpID", "Type", "ParentID", "Tag", "TimeStamp"};

// ---- Small helpers ----

const Value& At(const Row& r, const std::string& name) {
    static const Value kNone = Value::I32(0);
    auto it = r.find(name);
    return it == r.end() ? kNone : it->second;
}
int32_t I(const Row& r, const std::string& name) {
    return static_cast<int32_t>(At(r, name).i);
}
double D(const Row& r, const std::string& name) {
    return At(r, name).d;
}
std::u16string S(const Row& r, const std::string& name) {
    return At(r, name).s;
}

Value T(const std::string& s) {
    return Value::Text(qvwire::ToU16(s));
}

double Now(Ctx& c) {
    return NowOle() + std::atof(c.store.Setting("ClockOffset", "0").c_str());
}

std::string SigOf(const Entity& e, const Names& fields) {
    std::string sig;
    for (const std::string& n : fields)
        sig += qvwire::Letter(TagOf(e.Find(n)->type));
    return sig;
}

// Lists IDs for a count (fresh) or a by-ordinal call (the list of the last count while the
// database is unchanged).
bool Walk(Ctx& c, const std::string& key, const std::string& sql, const Values& binds, bool fresh,
          const std::vector<int32_t>*& ids) {
    const uint64_t gen = c.store.Generation();
    auto it = c.session.walks.find(key);
    if (fresh || it == c.session.walks.end() || it->second.first != gen) {
        std::vector<int32_t> list;
        if (!c.store.Ids(sql, binds, list)) return false;
        auto& slot = c.session.walks[key];
        slot = {gen, std::move(list)};
        ids = &slot.second;
        return true;
    }
    ids = &it->second.second;
    return true;
}

int32_t ListCount(Ctx& c, const std::string& key, const std::string& sql, const Values& binds,
                  Values& out) {
    const std::vector<int32_t>* ids = nullptr;
    if (!Walk(c, key, sql, binds, true, ids)) return QV_DATABASE_ERROR;
    out = {Value::I32(static_cast<int32_t>(ids->size()))};
    return QV_OK;
}

int32_t ListOrdinal(Ctx& c, const std::string& key, const std::string& sql, const Values& binds,
                    int64_t ordinal, Values& out) {
    const std::vector<int32_t>* ids = nullptr;
    if (!Walk(c, key, sql, binds, false, ids)) return QV_DATABASE_ERROR;
    if (ordinal < 1 || ordinal > static_cast<int64_t>(ids->size())) return QV_INVALID_ORDINAL;
    out = {Value::I32((*ids)[static_cast<size_t>(ordinal - 1)])};
    return QV_OK;
}

std::string KeyOf(const std::string& family, const Values& filter) {
    std::string key = family;
    for (const Value& v : filter)
        key += "|" + (v.tag == qvwire::Tag::Text  ? qvwire::ToU8(v.s)
                      : v.tag == qvwire::Tag::F64 ? std::to_string(v.d)
                                                  : std::to_string(v.i));
    return key;
}

// ---- Derived hardware identity ----
// A port's radio settings and every device's reported versions come from the hardware with
// that serial number; the server derives them from the serial number so that the same device
// always reports the same values.

constexpr int16_t kRadioCoordinator = 2; // port device type with a ZigBee radio

uint64_t Fnv(const std::u16string& s, char salt) {
    uint64_t h = 1469598103934665603ull ^ static_cast<uint64_t>(salt);
    for (char16_t c : s) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

void AddDetails(const std::u16string& serial, Names& f, Values& v) {
    const uint64_t h = Fnv(serial, 'D');
    char boot[32], firmware[32];
    std::snprintf(boot, sizeof boot, "1.%u.%u", unsigned(h % 4), unsigned((h >> 8) % 10));
    std::snprintf(firmware, sizeof firmware, "3.%u.%02u", unsigned((h >> 16) % 8),
                  unsigned((h >> 24) % 100));
    const bool known = !serial.empty();
    f.insert(f.end(), {"DevSerialNo", "BootVersion", "FirmwareVersion"});
    v.push_back(Value::Text(serial));
    v.push_back(known ? T(boot) : T(""));
    v.push_back(known ? T(firmware) : T(""));
}

void AddRadio(const std::u16string& serial, int16_t deviceType, Names& f, Values& v) {
    const bool radio = deviceType == kRadioCoordinator && !serial.empty();
    const uint64_t h = Fnv(serial, 'R');
    int32_t channels = 0;
    for (int k = 0; k < 3; ++k)
        channels |= 1 << (11 + static_cast<int>((h >> (8 * k)) % 16));
    f.insert(f.end(), {"PanID", "Channels", "KeyA", "KeyB"});
    v.push_back(Value::I32(radio ? static_cast<int32_t>(0x1000 + (h >> 32) % 0xE000) : 0));
    v.push_back(Value::I32(radio ? channels : 0));
    v.push_back(Value::I64(radio ? static_cast<int64_t>(Fnv(serial, 'A')) : 0));
    v.push_back(Value::I64(radio ? static_cast<int64_t>(Fnv(serial, 'B')) : 0));
}

// ---- Events ----

void TankSection(const Row& t, const Row& g, int variant, Values& out) {
    for (const std::string& n : kGauge)
        out.push_back(At(t, n));
    if (variant < 1) return;
    out.insert(out.end(),
               {Value::I32(I(t, "Number")), Value::Text(S(t, "Name")), Value::I32(I(t, "GradeID")),
                Value::Text(S(g, "Name")), Value::I16(static_cast<int16_t>(I(t, "Type"))),
                Value::F64(D(t, "Capacity")), Value::F64(D(t, "Diameter")),
                Value::I32(I(t, "GaugeID")), Value::I16(static_cast<int16_t>(I(t, "ProbeNo")))});
    if (variant < 2) return;
    out.push_back(Value::I16(static_cast<int16_t>(I(t, "State"))));
    out.push_back(Value::I32(I(t, "GaugeAlarmsMask")));
}

// An event body: the type, then (variant, count, values) for each reader variant.
void AddSection(Values& event, int16_t variant, const Values& vs) {
    event.push_back(Value::I16(variant));
    event.push_back(Value::I16(static_cast<int16_t>(vs.size())));
    event.insert(event.end(), vs.begin(), vs.end());
}

void SendTankStatus(Ctx& c, int32_t id) {
    Row t, g;
    if (!c.store.Fetch(kTank, id, t)) return;
    c.store.Fetch(kGrade, I(t, "GradeID"), g);
    Values event{Value::I16(qvwire::kEventTankStatus)};
    for (int16_t variant = 0; variant <= 2; ++variant) {
        Values s{Value::I32(id)};
        TankSection(t, g, variant, s);
        AddSection(event, variant, s);
    }
    c.events.Broadcast(event);
}

// ---- Deliveries joined with their hose, pump, tank, grade, attendant and card client ----

struct DeliveryJoin {
    Row d, h, p, t, g, a, cc;
};

bool LoadDelivery(Ctx& c, int32_t id, DeliveryJoin& j) {
    if (!c.store.Fetch(kDelivery, id, j.d)) return false;
    c.store.Fetch(kHose, I(j.d, "HoseID"), j.h);
    c.store.Fetch(kPump, I(j.d, "PumpID"), j.p);
    c.store.Fetch(kTank, I(j.d, "TankID"), j.t);
    c.store.Fetch(kGrade, I(j.d, "GradeID"), j.g);
    c.store.Fetch(kAttendant, I(j.d, "AttendantID"), j.a);
    c.store.Fetch(kCardClient, I(j.d, "CardClientID"), j.cc);
    return true;
}

int32_t AgeOf(Ctx& c, const Row& d) {
    const double done = D(d, "CompletedDT");
    if (I(d, "State") == 1 || done == 0) return 0;
    return static_cast<int32_t>(std::lround((Now(c) - done) * 86400.0));
}

Value V16(const Row& r, const char* n) {
    return Value::I16(static_cast<int16_t>(I(r, n)));
}
Value V32(const Row& r, const char* n) {
    return Value::I32(I(r, n));
}
Value VD(const Row& r, const char* n) {
    return Value::F64(D(r, n));
}
Value VS(const Row& r, const char* n) {
    return Value::Text(S(r, n));
}
Value VRef(const Row& r) {
    return Value::I32(r.empty() ? -1 : I(r, "ID"));
}

// The outputs of GetDeliverySummaryEx<variant> (2, 3 or 4).
Values DeliveryView(Ctx& c, const DeliveryJoin& j, int variant) {
    const Row& d = j.d;
    const Value tag = Value::I64(At(d, "Tag").i);
    if (variant == 2)
        return {V32(d, "PumpID"),
                V32(j.p, "Number"),
                V32(d, "HoseID"),
                V32(j.h, "Number"),
                V32(d, "GradeID"),
                VS(j.g, "Name"),
                VS(j.g, "ShortName"),
                V16(d, "PriceLevel"),
                VD(d, "Price"),
                VD(d, "Volume"),
                VD(d, "Value"),
                V16(d, "State"),
                V16(d, "Type"),
                V32(d, "LockedBy"),
                V32(d, "ReservedBy"),
                Value::I32(AgeOf(c, d)),
                VD(d, "CompletedDT"),
                V32(d, "AttendantID"),
                VD(d, "OldVolumeETot"),
                Value::F64(0),
                VD(d, "OldValueETot"),
                VD(d, "NewVolumeETot"),
                Value::F64(0),
                VD(d, "NewValueETot"),
                tag,
                V32(d, "Duration")};
    Values v{V32(d, "HoseID"),
             V32(j.h, "Number"),
             V32(j.h, "PhysicalNumber"),
             V32(d, "PumpID"),
             V32(j.p, "Number"),
             VS(j.p, "Name"),
             V32(d, "TankID"),
             V32(j.t, "Number"),
             VS(j.t, "Name"),
             V32(d, "GradeID"),
             V32(j.g, "Number"),
             VS(j.g, "Name"),
             VS(j.g, "ShortName"),
             VS(j.g, "Code"),
             V16(d, "State"),
             V16(d, "Type"),
             VD(d, "Volume"),
             V16(d, "PriceLevel"),
             VD(d, "Price"),
             VD(d, "Value"),
             VD(d, "Volume2"),
             VD(d, "CompletedDT"),
             V32(d, "LockedBy"),
             V32(d, "ReservedBy"),
             V32(d, "AttendantID"),
             Value::I32(AgeOf(c, d)),
             VD(d, "ClearedDT"),
             VD(d, "OldVolumeETot"),
             Value::F64(0),
             VD(d, "OldValueETot"),
             VD(d, "NewVolumeETot"),
             Value::F64(0),
             VD(d, "NewValueETot"),
             tag,
             V32(d, "Duration"),
             V32(j.a, "Number"),
             VS(j.a, "Name"),
             Value::I64(TagNumber(S(j.a, "Tag"))),
             VRef(j.cc),
             V32(j.cc, "Number"),
             VS(j.cc, "Name"),
             Value::I64(TagNumber(S(j.cc, "Tag")))};
    if (variant == 4) v.push_back(VD(d, "PeakFlowRate"));
    return v;
}

void SendDelivery(Ctx& c, int32_t id) {
    DeliveryJoin j;
    if (!LoadDelivery(c, id, j)) return;
    Values event{Value::I16(qvwire::kEventDelivery)};
    for (int variant = 2; variant <= 4; ++variant) {
        Values s{Value::I32(id)};
        const Values view = DeliveryView(c, j, variant);
        s.insert(s.end(), view.begin(), view.end());
        AddSection(event, static_cast<int16_t>(variant), s);
    }
    c.events.Broadcast(event);

    Values totals{V32(j.d, "HoseID"),
                  VD(j.d, "Volume"),
                  VD(j.d, "Value"),
                  VD(j.d, "NewVolumeETot"),
                  VD(j.d, "NewValueETot"),
                  V32(j.h, "Number"),
                  V32(j.h, "PhysicalNumber"),
                  V32(j.d, "PumpID"),
                  V32(j.p, "Number"),
                  VS(j.p, "Name"),
                  V32(j.d, "TankID"),
                  V32(j.t, "Number"),
                  VS(j.t, "Name"),
                  V32(j.d, "GradeID"),
                  VS(j.g, "Name")};
    Values event2{Value::I16(qvwire::kEventHoseETotals)};
    AddSection(event2, 1, totals);
    c.events.Broadcast(event2);
}

// ---- Handlers ----

int32_t CheckForManagementFtn(Ctx& c, const Values& in, Values& out) {
    out = {Value::I16(c.ops.Implemented(qvwire::ToU8(in[0].s)) ? 1 : 0)};
    return QV_OK;
}

const std::u16string kDefaultIniFile = u"QVServer.ini";

// Profile values live in the settings table under "ini|file|section|key".
std::string IniKey(const std::u16string& file, const Value& section, const Value& key) {
    return "ini|" + qvwire::ToU8(file) + "|" + qvwire::ToU8(section.s) + "|" + qvwire::ToU8(key.s);
}

int32_t SetIniValueEx(Ctx& c, const Values& in, Values&) {
    return c.store.SetSetting(IniKey(in[0].s, in[1], in[2]), qvwire::ToU8(in[3].s))
               ? QV_OK
               : QV_DATABASE_ERROR;
}
int32_t GetIniValueEx(Ctx& c, const Values& in, Values& out) {
    out = {T(c.store.Setting(IniKey(in[0].s, in[1], in[2]), ""))};
    return QV_OK;
}
int32_t SetIniValue(Ctx& c, const Values& in, Values& out) {
    return SetIniValueEx(c, {Value::Text(kDefaultIniFile), in[0], in[1], in[2]}, out);
}
int32_t GetIniValue(Ctx& c, const Values& in, Values& out) {
    return GetIniValueEx(c, {Value::Text(kDefaultIniFile), in[0], in[1]}, out);
}

int32_t SetClientType(Ctx& c, const Values& in, Values&) {
    const int32_t key = static_cast<int32_t>(in[0].i);
    if ((static_cast<uint32_t>(key) & 0xF0000000u) == 0)
        c.session.eventMask = key;
    else
        c.session.clientKey = key;
    return QV_OK;
}

int32_t GetSerialNo(Ctx& c, const Values&, Values& out) {
    out = {T(c.store.Setting("SerialNo", "QVF-000000"))};
    return QV_OK;
}

int32_t ServerVersion(Ctx&, const Values&, Values& out) {
    out = {T(kServerVersion)};
    return QV_OK;
}

int32_t GetCardType(Ctx& c, const Values& in, Values& out) {
    std::vector<int32_t> ids;
    if (!c.store.Ids("SELECT ID FROM CardClients WHERE Tag = ?1 ORDER BY ID LIMIT 1", {in[0]}, ids))
        return QV_DATABASE_ERROR;
    Row r;
    if (ids.empty() || !c.store.Fetch(kCardClient, ids[0], r)) return QV_UNKNOWN_ID;
    out = {V16(r, "CardType"), Value::I32(ids[0])};
    return QV_OK;
}

const char kProductFilter[] = "SELECT ID FROM Products WHERE (?1 = -1 OR Number = ?1)"
                              " AND (?2 = '' OR instr(lower(Name), lower(?2)) > 0)"
                              " AND (?3 = '' OR instr(lower(ShortName), lower(?3)) > 0)"
                              " AND (?4 = '' OR Tag = ?4) AND (?5 = '' OR Barcode = ?5)"
                              " AND (?6 = -1 OR ProductGroup = ?6) ORDER BY ID";

int32_t GetProductsCount(Ctx& c, const Values& in, Values& out) {
    return ListCount(c, KeyOf("Products", in), kProductFilter, in, out);
}
int32_t GetProductByOrdinal(Ctx& c, const Values& in, Values& out) {
    const Values filter(in.begin(), in.begin() + 6);
    return ListOrdinal(c, KeyOf("Products", filter), kProductFilter, filter, in[6].i, out);
}

int32_t GetGradePrice(Ctx& c, const Values& in, Values& out) {
    const int64_t level = in[1].i;
    if (level < 1 || level > 8) return QV_INVALID_ARGUMENT;
    return c.store.Get(kGrade, static_cast<int32_t>(in[0].i), {"Price" + std::to_string(level)},
                       out);
}

int32_t SetGradePrice(Ctx& c, const Values& in, Values&) {
    const int64_t level = in[1].i;
    if (level < 1 || level > 8) return QV_INVALID_ARGUMENT;
    const int32_t id = static_cast<int32_t>(in[0].i);
    if (!c.store.Exists(kGrade, id)) return QV_UNKNOWN_ID;
    return c.store.Set(kGrade, id, {"Price" + std::to_string(level)}, {in[2]});
}

// A pump's hoses in Number order. Count and by-number calls walk the same list, so the hose
// "by number" n is the n-th of them: the one whose Number is n on a pump numbered 1 to count,
// and still a readable hose when numbers have gaps.
const char kPumpHoses[] = "SELECT ID FROM Hoses WHERE PumpID = ?1 ORDER BY Number, ID";

int32_t GetPumpHosesCount(Ctx& c, const Values& in, Values& out) {
    if (!c.store.Exists(kPump, static_cast<int32_t>(in[0].i))) return QV_UNKNOWN_ID;
    return ListCount(c, KeyOf("PumpHoses", in), kPumpHoses, in, out);
}

int32_t GetPumpHoseByNumber(Ctx& c, const Values& in, Values& out) {
    if (!c.store.Exists(kPump, static_cast<int32_t>(in[0].i))) return QV_UNKNOWN_ID;
    const int32_t r =
        ListOrdinal(c, KeyOf("PumpHoses", {in[0]}), kPumpHoses, {in[0]}, in[1].i, out);
    return r == QV_INVALID_ORDINAL ? QV_UNKNOWN_ID : r;
}

const char kPumpDeliveries[] = "SELECT ID FROM Deliveries WHERE State IN (1, 2)"
                               " AND (?1 = -1 OR PumpID = ?1) ORDER BY ID";
const char kNotLogged[] = "SELECT ID FROM Deliveries WHERE (LoggedState & 1) != 0 ORDER BY ID";
const char kNotVolLogged[] = "SELECT ID FROM Deliveries WHERE (LoggedState & 2) != 0 ORDER BY ID";

int32_t GetDeliveriesCount(Ctx& c, const Values& in, Values& out) {
    return ListCount(c, KeyOf("PumpDeliveries", in), kPumpDeliveries, in, out);
}
int32_t GetDeliveryByOrdinal(Ctx& c, const Values& in, Values& out) {
    return ListOrdinal(c, KeyOf("PumpDeliveries", {in[0]}), kPumpDeliveries, {in[0]}, in[1].i, out);
}
int32_t CountNotLogged(Ctx& c, const Values&, Values& out) {
    return ListCount(c, "NotLogged", kNotLogged, {}, out);
}
int32_t OrdinalNotLogged(Ctx& c, const Values& in, Values& out) {
    return ListOrdinal(c, "NotLogged", kNotLogged, {}, in[0].i, out);
}
int32_t CountNotVolLogged(Ctx& c, const Values&, Values& out) {
    return ListCount(c, "NotVolLogged", kNotVolLogged, {}, out);
}
int32_t OrdinalNotVolLogged(Ctx& c, const Values& in, Values& out) {
    return ListOrdinal(c, "NotVolLogged", kNotVolLogged, {}, in[0].i, out);
}

template <int Variant> int32_t GetDeliverySummary(Ctx& c, const Values& in, Values& out) {
    DeliveryJoin j;
    if (!LoadDelivery(c, static_cast<int32_t>(in[0].i), j)) return QV_UNKNOWN_ID;
    out = DeliveryView(c, j, Variant);
    return QV_OK;
}

int32_t ClearWith(Ctx& c, const Values& in, bool force) {
    const int32_t id = static_cast<int32_t>(in[0].i);
    Row d;
    if (!c.store.Fetch(kDelivery, id, d)) return QV_UNKNOWN_ID;
    if (I(d, "State") != 2) return QV_FAILED;
    const int32_t lockedBy = I(d, "LockedBy");
    if (!force && lockedBy != -1 && lockedBy != c.session.clientID) return QV_ACCESS_DENIED;
    Names f{"State", "ClearedDT", "ClearedBy", "LockedBy"};
    Values v{Value::I16(3), Value::F64(Now(c)), Value::I32(c.session.clientID),
             Value::I32(force ? c.session.clientID : lockedBy)};
    if (in[1].i > 0) {
        f.push_back("Type");
        v.push_back(in[1]);
    }
    return c.store.Set(kDelivery, id, f, v);
}
// A delivery on a pump is cleared by the forecourt; one it never had (entered by a client) in
// the table.
int32_t ClearDelivery(Ctx& c, const Values& in, Values&) {
    const int32_t id = static_cast<int32_t>(in[0].i);
    const int16_t type = static_cast<int16_t>(in[1].i);
    if (c.fc) {
        const int32_t r = c.fc->Engine().ClearDelivery(id, c.session.clientID, type);
        if (r != QV_UNKNOWN_ID) return r;
    }
    return ClearWith(c, in, false);
}
int32_t LockAndClearDelivery(Ctx& c, const Values& in, Values&) {
    const int32_t id = static_cast<int32_t>(in[0].i);
    const int16_t type = static_cast<int16_t>(in[1].i);
    if (c.fc) {
        const int32_t r = c.fc->Engine().LockAndClearDelivery(id, c.session.clientID, type);
        if (r != QV_UNKNOWN_ID) return r;
    }
    return ClearWith(c, in, true);
}

int32_t Ack(Ctx& c, const Entity& e, const Values& in, int bit) {
    const int32_t id = static_cast<int32_t>(in[0].i);
    if (!c.store.Exists(e, id)) return QV_UNKNOWN_ID;
    return c.store.Exec(std::string("UPDATE ") + e.table + " SET LoggedState = LoggedState & ~" +
                            std::to_string(bit) + " WHERE ID = ?1",
                        {in[0]})
               ? QV_OK
               : QV_DATABASE_ERROR;
}
int32_t AckDeliveryDBLog(Ctx& c, const Values& in, Values&) {
    return Ack(c, kDelivery, in, 1);
}
int32_t AckDeliveryVolLog(Ctx& c, const Values& in, Values&) {
    return Ack(c, kDelivery, in, 2);
}

void SendSaleItem(Ctx& c, int32_t id, const Row& s) {
    c.events.Broadcast(SaleItemEvent(c.store, id, s));
}
void SendSaleItem(Ctx& c, int32_t id) {
    Row s;
    if (c.store.Fetch(kSaleItem, id, s)) SendSaleItem(c, id, s);
}
int32_t Sent(Ctx& c, int32_t id, int32_t r) {
    if (r == QV_OK) SendSaleItem(c, id);
    return r;
}

int32_t SaleItemAckDBLog(Ctx& c, const Values& in, Values&) {
    return Sent(c, static_cast<int32_t>(in[0].i), Ack(c, kSaleItem, in, 1));
}
int32_t SaleItemAckVolLog(Ctx& c, const Values& in, Values&) {
    return Sent(c, static_cast<int32_t>(in[0].i), Ack(c, kSaleItem, in, 2));
}

int32_t SaleClearWith(Ctx& c, const Values& in, bool force) {
    const int32_t id = static_cast<int32_t>(in[0].i);
    const int32_t by = static_cast<int32_t>(in[1].i);
    Row s;
    if (!c.store.Fetch(kSaleItem, id, s)) return QV_UNKNOWN_ID;
    const int32_t lockedBy = I(s, "LockedBy");
    if (!force && lockedBy != -1 && lockedBy != by) return QV_ACCESS_DENIED;
    return Sent(
        c, id,
        c.store.Set(kSaleItem, id, {"ClearedDT", "ClearedBy", "LockedBy"},
                    {Value::F64(Now(c)), Value::I32(by), Value::I32(force ? by : lockedBy)}));
}
int32_t SaleItemClear(Ctx& c, const Values& in, Values&) {
    return SaleClearWith(c, in, false);
}
int32_t SaleItemLockAndClear(Ctx& c, const Values& in, Values&) {
    return SaleClearWith(c, in, true);
}

// The product must exist; pump, attendant and card client may be -1 (none).
int32_t SaleReferences(Ctx& c, const Row& s) {
    auto optional = [&](const Entity& e, const char* n) {
        return I(s, n) == -1 || c.store.Exists(e, I(s, n));
    };
    return c.store.Exists(kProduct, I(s, "ProductID")) && optional(kPump, "PumpID") &&
                   optional(kAttendant, "AttendantID") && optional(kCardClient, "CardClientID")
               ? QV_OK
               : QV_UNKNOWN_REFERENCE;
}

int32_t SetSaleItemProperties(Ctx& c, const Values& in, Values&) {
    const int32_t id = static_cast<int32_t>(in[0].i);
    Row s;
    if (!c.store.Fetch(kSaleItem, id, s)) return QV_UNKNOWN_ID;
    Values v(in.begin() + 1, in.end());
    // A date at or below 0 (a null date from the managed side is -1) is no date: not cleared.
    for (size_t k : {size_t{7}, size_t{8}})
        if (v[k].d <= 0) v[k] = Value::F64(0);
    for (size_t k = 0; k < kSaleItemFields.size(); ++k)
        s[kSaleItemFields[k]] = v[k];
    const int32_t ref = SaleReferences(c, s);
    if (ref != QV_OK) return ref;
    return Sent(c, id, c.store.Set(kSaleItem, id, kSaleItemFields, v));
}

// The fields a client gives a new sale item; it is added now, not cleared, not locked and
// waiting for both logs.
const Names kSaleItemAdded{"ProductID", "PumpID",   "AttendantID", "CardClientID", "PriceLevel",
                           "Price",     "Quantity", "Plate",       "AuthType"};

int32_t AddSaleItem(Ctx& c, const Values& in, Values& out) {
    Row s = Joined(c.store, kSaleItem, -1);
    for (size_t k = 0; k < kSaleItemAdded.size(); ++k)
        s[kSaleItemAdded[k]] = in[k];
    if (in[4].i < 1 || in[4].i > 8 || in[6].d <= 0) return QV_INVALID_ARGUMENT;
    const int32_t ref = SaleReferences(c, s);
    if (ref != QV_OK) return ref;
    s["AddedDT"] = Value::F64(Now(c));
    s["LoggedState"] = Value::I16(3);
    int32_t id = 0;
    if (c.store.Insert(kSaleItem, s, id) != 0) return QV_DATABASE_ERROR;
    out = {Value::I32(id)};
    SendSaleItem(c, id);
    return QV_OK;
}

int32_t DeleteSaleItem(Ctx& c, const Values& in, Values&) {
    const int32_t id = static_cast<int32_t>(in[0].i);
    Row s;
    if (!c.store.Fetch(kSaleItem, id, s)) return QV_UNKNOWN_ID;
    const int32_t r = c.store.Delete(kSaleItem, id);
    if (r == QV_OK) SendSaleItem(c, id, s);
    return r;
}

// A sale item is locked by one client at a time; a cleared one no longer changes hands.
int32_t LockWith(Ctx& c, const Values& in, bool lock) {
    const int32_t id = static_cast<int32_t>(in[0].i);
    const int32_t by = static_cast<int32_t>(in[1].i);
    Row s;
    if (!c.store.Fetch(kSaleItem, id, s)) return QV_UNKNOWN_ID;
    if (by < 0) return QV_INVALID_ARGUMENT;
    const int32_t lockedBy = I(s, "LockedBy");
    if (I(s, "ClearedBy") != -1 || D(s, "ClearedDT") != 0) return QV_ACCESS_DENIED;
    if (lockedBy != -1 && lockedBy != by) return QV_ACCESS_DENIED;
    return Sent(c, id, c.store.Set(kSaleItem, id, {"LockedBy"}, {Value::I32(lock ? by : -1)}));
}
int32_t SaleItemLock(Ctx& c, const Values& in, Values&) {
    return LockWith(c, in, true);
}
int32_t SaleItemUnlock(Ctx& c, const Values& in, Values&) {
    return LockWith(c, in, false);
}

// Filters of the sale item lists: -1 for any product, pump, attendant or card client; state 0
// all, 1 not cleared, 2 cleared; AddedDT from and to as day numbers, -1 for an open end.
const char kSaleItemFilter[] =
    "SELECT ID FROM SaleItems WHERE (?1 = -1 OR ProductID = ?1) AND (?2 = -1 OR PumpID = ?2)"
    " AND (?3 = -1 OR AttendantID = ?3) AND (?4 = -1 OR CardClientID = ?4)"
    " AND (?5 = 0 OR (?5 = 1) = (ClearedBy = -1 AND ClearedDT IS NULL))"
    " AND (?6 = -1 OR AddedDT >= ?6) AND (?7 = -1 OR AddedDT <= ?7) ORDER BY ID";

// The first seven inputs as bound values; an automation date at or below 0 leaves its end open.
Values SaleItemFilter(const Values& in) {
    auto day = [](double ole) { return Value::F64(ole <= 0 ? -1 : JulianOf(ole)); };
    return {in[0], in[1], in[2], in[3], in[4], day(in[5].d), day(in[6].d)};
}

int32_t GetSaleItemsCountEx(Ctx& c, const Values& in, Values& out) {
    if (in[4].i < 0 || in[4].i > 2) return QV_INVALID_ARGUMENT;
    const Values f = SaleItemFilter(in);
    return ListCount(c, KeyOf("SaleItems", f), kSaleItemFilter, f, out);
}
int32_t GetSaleItemByOrdinalEx(Ctx& c, const Values& in, Values& out) {
    const Values f = SaleItemFilter(in);
    return ListOrdinal(c, KeyOf("SaleItems", f), kSaleItemFilter, f, in[7].i, out);
}

const char kLogFilter[] = "SELECT ID FROM LogEvents WHERE (?1 = -1 OR DeviceType = ?1)"
                          " AND (?2 = -1 OR DeviceID = ?2) AND (?3 = -1 OR EventType = ?3)"
                          " ORDER BY ID";

int32_t GetLogEventCountEx(Ctx& c, const Values& in, Values& out) {
    return ListCount(c, KeyOf("LogEvents", in), kLogFilter, in, out);
}
int32_t GetLogEventByOrdinalEx(Ctx& c, const Values& in, Values& out) {
    const Values filter(in.begin(), in.begin() + 3);
    return ListOrdinal(c, KeyOf("LogEvents", filter), kLogFilter, filter, in[3].i, out);
}

int32_t ClearLogEvent(Ctx& c, const Values& in, Values&) {
    const int32_t id = static_cast<int32_t>(in[0].i);
    if (!c.store.Exists(kLogEvent, id)) return QV_UNKNOWN_ID;
    return c.store.Set(kLogEvent, id, {"ClearedDT", "ClearedBy"}, {Value::F64(Now(c)), in[1]});
}
int32_t AckLogEvent(Ctx& c, const Values& in, Values&) {
    const int32_t id = static_cast<int32_t>(in[0].i);
    if (!c.store.Exists(kLogEvent, id)) return QV_UNKNOWN_ID;
    return c.store.Set(kLogEvent, id, {"AckedBy"}, {in[1]});
}

// Log event devices by their DeviceType code.
const Entity* DeviceEntity(int64_t deviceType) {
    switch (deviceType) {
    case 1:
        return &kPump;
    case 2:
        return &kTank;
    case 3:
        return &kPort;
    case 4:
        return &kSensor;
    case 5:
        return &kZigBee;
    default:
        return nullptr;
    }
}

int32_t AddLogEvent(Ctx& c, const Values& in, Values& out) {
    Row r{{"DeviceType", in[0]},         {"DeviceID", in[1]},  {"EventLevel", in[2]},
          {"EventType", in[3]},          {"EventDesc", in[4]}, {"GeneratedDT", Value::F64(Now(c))},
          {"LoggedState", Value::I16(1)}};
    int32_t id = 0;
    if (c.store.Insert(kLogEvent, r, id) != 0) return QV_DATABASE_ERROR;
    Row e, device;
    c.store.Fetch(kLogEvent, id, e);
    if (const Entity* de = DeviceEntity(in[0].i)) c.store.Fetch(*de, I(e, "DeviceID"), device);
    Values s{Value::I32(id), At(e, "DeviceType"), At(e, "DeviceID"), V32(device, "Number"),
             VS(device, "Name")};
    for (size_t k = 2; k < kLogEventFields.size(); ++k)
        s.push_back(At(e, kLogEventFields[k]));
    Values event{Value::I16(qvwire::kEventLogEvent)};
    AddSection(event, 0, s);
    c.events.Broadcast(event);
    out = {Value::I32(id)};
    return QV_OK;
}

int32_t SetDateTime(Ctx& c, const Values& in, Values&) {
    if (in[0].d <= 0) return QV_INVALID_ARGUMENT;
    char offset[64];
    std::snprintf(offset, sizeof offset, "%.9f", in[0].d - NowOle());
    return c.store.SetSetting("ClockOffset", offset) ? QV_OK : QV_DATABASE_ERROR;
}
int32_t GetDateTime(Ctx& c, const Values&, Values& out) {
    out = {Value::F64(Now(c))};
    return QV_OK;
}

template <int Variant> int32_t GetTankSummary(Ctx& c, const Values& in, Values& out) {
    Row t, g;
    if (!c.store.Fetch(kTank, static_cast<int32_t>(in[0].i), t)) return QV_UNKNOWN_ID;
    c.store.Fetch(kGrade, I(t, "GradeID"), g);
    out.clear();
    TankSection(t, g, Variant, out);
    return QV_OK;
}

const char kDeliveryFilter[] =
    "SELECT ID FROM Deliveries WHERE (?1 = -1 OR PumpID = ?1) AND (?2 = -1 OR State = ?2)"
    " AND (?3 = -1 OR Type = ?3) AND (?4 = 0 OR CompletedDT >= ?4)"
    " AND (?5 = 0 OR CompletedDT <= ?5) AND (?6 = -1 OR AttendantID = ?6)"
    " AND (?7 = -1 OR CardClientID = ?7) ORDER BY ID";

// The filter as bound values: dates as day numbers, the attendant and card client of the
// older form open.
Values DeliveryFilter(const Values& in, bool ex) {
    auto day = [](double ole) { return Value::F64(ole == 0 ? 0 : JulianOf(ole)); };
    return {in[0],
            in[1],
            in[2],
            day(in[3].d),
            day(in[4].d),
            ex ? in[5] : Value::I32(-1),
            ex ? in[6] : Value::I32(-1)};
}

int32_t CountFiltered(Ctx& c, const Values& in, Values& out) {
    const Values f = DeliveryFilter(in, false);
    return ListCount(c, KeyOf("Deliveries", f), kDeliveryFilter, f, out);
}
int32_t CountFilteredEx(Ctx& c, const Values& in, Values& out) {
    const Values f = DeliveryFilter(in, true);
    return ListCount(c, KeyOf("Deliveries", f), kDeliveryFilter, f, out);
}
int32_t OrdinalFiltered(Ctx& c, const Values& in, Values& out) {
    const Values f = DeliveryFilter(in, false);
    return ListOrdinal(c, KeyOf("Deliveries", f), kDeliveryFilter, f, in[5].i, out);
}
int32_t OrdinalFilteredEx(Ctx& c, const Values& in, Values& out) {
    const Values f = DeliveryFilter(in, true);
    return ListOrdinal(c, KeyOf("Deliveries", f), kDeliveryFilter, f, in[7].i, out);
}

int32_t GetLastProductUpdated(Ctx& c, const Values&, Values& out) {
    std::vector<int32_t> ids;
    if (!c.store.Ids("SELECT ID FROM Products ORDER BY UpdatedDT DESC, ID DESC LIMIT 1", {}, ids))
        return QV_DATABASE_ERROR;
    if (ids.empty()) return QV_UNKNOWN_ID;
    Values dt;
    const int32_t r = c.store.Get(kProduct, ids[0], {"UpdatedDT"}, dt);
    if (r != 0) return r;
    out = {Value::I32(ids[0]), dt[0]};
    return QV_OK;
}

int32_t GetHoseDelTotals(Ctx& c, const Values& in, Values& out) {
    if (!c.store.Exists(kHose, static_cast<int32_t>(in[0].i))) return QV_UNKNOWN_ID;
    double volume = 0, value = 0, count = 0;
    const bool ok =
        c.store.Scalar("SELECT TOTAL(Volume) FROM Deliveries WHERE HoseID = ?1", in, volume) &&
        c.store.Scalar("SELECT TOTAL(Value) FROM Deliveries WHERE HoseID = ?1", in, value) &&
        c.store.Scalar("SELECT COUNT(*) FROM Deliveries WHERE HoseID = ?1", in, count);
    if (!ok) return QV_DATABASE_ERROR;
    out = {Value::F64(volume), Value::F64(value), Value::I32(static_cast<int32_t>(count))};
    return QV_OK;
}

int32_t GetDeviceDetails(Ctx& c, const Values& in, Values& out) {
    const int32_t port = static_cast<int32_t>(in[0].i);
    const int32_t device = static_cast<int32_t>(in[1].i);
    Row r;
    if (!c.store.Fetch(kPort, port, r)) return QV_UNKNOWN_ID;
    if (device != -1 && (!c.store.Fetch(kZigBee, device, r) || I(r, "PortID") != port))
        return QV_UNKNOWN_ID;
    if (S(r, "DevSerialNo").empty()) return QV_NO_DEVICE_DETAILS;
    out = {VS(r, "DevSerialNo"), VS(r, "BootVersion"), VS(r, "FirmwareVersion")};
    return QV_OK;
}

int32_t SetNextDeliveryID(Ctx& c, const Values& in, Values&) {
    double highest = 0;
    if (!c.store.Scalar("SELECT COALESCE(MAX(ID), 0) FROM Deliveries", {}, highest))
        return QV_DATABASE_ERROR;
    if (in[0].i <= highest) return QV_INVALID_ARGUMENT;
    return c.store.SetSetting("NextDeliveryID", std::to_string(in[0].i)) ? QV_OK
                                                                         : QV_DATABASE_ERROR;
}

int32_t DeletePump(Ctx& c, const Values& in, Values&) {
    if (!c.store.Exists(kPump, static_cast<int32_t>(in[0].i))) return QV_UNKNOWN_ID;
    if (!c.store.Exec("DELETE FROM Hoses WHERE PumpID = ?1", in)) return QV_DATABASE_ERROR;
    return c.store.Delete(kPump, static_cast<int32_t>(in[0].i));
}

int32_t GetPumpDeliveryPropertiesEx4(Ctx& c, const Values& in, Values& out) {
    if (!c.store.Exists(kPump, static_cast<int32_t>(in[0].i))) return QV_UNKNOWN_ID;
    Values id;
    const int32_t r =
        ListOrdinal(c, KeyOf("PumpDeliveries", {in[0]}), kPumpDeliveries, {in[0]}, in[1].i, id);
    if (r != 0) return r;
    Values props;
    const int32_t g = c.store.Get(kDelivery, static_cast<int32_t>(id[0].i),
                                  Names(kDeliveryEx4.begin() + 1, kDeliveryEx4.end()), props);
    if (g != 0) return g;
    out = id;
    out.insert(out.end(), props.begin(), props.end());
    return QV_OK;
}

int32_t SetPumpDefaultPriceLevel(Ctx& c, const Values& in, Values&) {
    if (in[1].i < 1 || in[1].i > 8) return QV_INVALID_ARGUMENT;
    const int32_t id = static_cast<int32_t>(in[0].i);
    if (!c.store.Exists(kPump, id)) return QV_UNKNOWN_ID;
    return c.store.Set(kPump, id, {"PriceLevel1"}, {in[1]});
}

const char* const kNetworkKeys[] = {"IPAddress", "NetMask", "Gateway",
                                    "DNSServer", "DHCP",    "NetworkName"};
// Factory settings of a controller whose network was never configured.
const char* const kNetworkDefaults[] = {
    "192.168.0.200", "255.255.255.0", "192.168.0.1", "192.168.0.1", "1", "QVCONTROLLER"};

int32_t GetTCPIPConfig(Ctx& c, const Values&, Values& out) {
    out.clear();
    for (size_t k = 0; k < 6; ++k) {
        const std::string v =
            c.store.Setting(std::string("TCPIP.") + kNetworkKeys[k], kNetworkDefaults[k]);
        out.push_back(k == 4 ? Value::I16(static_cast<int16_t>(std::atoi(v.c_str()))) : T(v));
    }
    return QV_OK;
}

int32_t SetTCPIPConfig(Ctx& c, const Values& in, Values&) {
    for (size_t k = 0; k < 6; ++k) {
        const std::string v = k == 4 ? std::to_string(in[k].i) : qvwire::ToU8(in[k].s);
        if (!c.store.SetSetting(std::string("TCPIP.") + kNetworkKeys[k], v))
            return QV_DATABASE_ERROR;
    }
    return QV_OK;
}

template <int Variant> int32_t GetHoseSummary(Ctx& c, const Values& in, Values& out) {
    Row h, p, t, g;
    if (!c.store.Fetch(kHose, static_cast<int32_t>(in[0].i), h)) return QV_UNKNOWN_ID;
    c.store.Fetch(kPump, I(h, "PumpID"), p);
    c.store.Fetch(kTank, I(h, "TankID"), t);
    c.store.Fetch(kGrade, I(t, "GradeID"), g);
    out = {V32(h, "Number"), V32(h, "PhysicalNumber"), V32(h, "PumpID"), V32(p, "Number"),
           V32(h, "TankID"), V32(t, "Number"),         VRef(g),          VS(g, "Name")};
    if (Variant >= 1)
        out.insert(out.end(), {VD(h, "Price1"), VD(h, "Price2"), VD(h, "Price3"), VD(h, "Price4"),
                               V16(h, "Enabled")});
    if (Variant >= 2)
        out.insert(out.end(), {VD(h, "MtrTheoValue"), VD(h, "MtrTheoVolume"), VD(h, "MtrElecValue"),
                               VD(h, "MtrElecVolume")});
    return QV_OK;
}

int32_t ExternalStartDelivery(Ctx& c, const Values& in, Values& out) {
    const int64_t level = in[1].i;
    if (level < 1 || level > 8) return QV_INVALID_ARGUMENT;
    Row h, t, g;
    if (!c.store.Fetch(kHose, static_cast<int32_t>(in[0].i), h)) return QV_UNKNOWN_ID;
    c.store.Fetch(kTank, I(h, "TankID"), t);
    c.store.Fetch(kGrade, I(t, "GradeID"), g);
    double price = level <= 4 ? D(h, "Price" + std::to_string(level)) : 0;
    if (price <= 0) price = D(g, "Price" + std::to_string(level));
    Row d{{"PumpID", At(h, "PumpID")},
          {"HoseID", At(h, "ID")},
          {"TankID", At(h, "TankID")},
          {"GradeID", Value::I32(t.empty() ? 0 : I(t, "GradeID"))},
          {"State", Value::I16(1)},
          {"PriceLevel", Value::I16(static_cast<int16_t>(level))},
          {"Price", Value::F64(price)},
          {"OldVolumeETot", At(h, "MtrElecVolume")},
          {"OldValueETot", At(h, "MtrElecValue")},
          {"AttendantID", Value::I32(-1)}};
    double highest = 0;
    c.store.Scalar("SELECT COALESCE(MAX(ID), 0) FROM Deliveries", {}, highest);
    const int64_t next = std::atoll(c.store.Setting("NextDeliveryID", "0").c_str());
    if (next > highest) d["ID"] = Value::I32(static_cast<int32_t>(next));
    int32_t id = 0;
    if (c.store.Insert(kDelivery, d, id) != 0) return QV_DATABASE_ERROR;
    c.store.SetSetting("NextDeliveryID", "0");
    out = {Value::I32(id)};
    return QV_OK;
}

int32_t ExternalEndDelivery(Ctx& c, const Values& in, Values&) {
    const int32_t id = static_cast<int32_t>(in[0].i);
    if (in[1].d < 0 || in[2].d < 0) return QV_INVALID_ARGUMENT;
    Row d, h;
    if (!c.store.Fetch(kDelivery, id, d)) return QV_UNKNOWN_ID;
    if (I(d, "State") != 1) return QV_FAILED;
    const double volumeTotal = D(d, "OldVolumeETot") + in[1].d;
    const double valueTotal = D(d, "OldValueETot") + in[2].d;
    int32_t r = c.store.Set(
        kDelivery, id,
        {"State", "Volume", "Value", "CompletedDT", "LoggedState", "NewVolumeETot", "NewValueETot"},
        {Value::I16(2), in[1], in[2], Value::F64(Now(c)), Value::I16(3), Value::F64(volumeTotal),
         Value::F64(valueTotal)});
    if (r != 0) return r;
    const int32_t hose = I(d, "HoseID");
    if (c.store.Exists(kHose, hose)) {
        r = c.store.Set(kHose, hose, {"MtrElecVolume", "MtrElecValue"},
                        {Value::F64(volumeTotal), Value::F64(valueTotal)});
        if (r != 0) return r;
    }
    SendDelivery(c, id);
    return QV_OK;
}

// ---- Pump control, deliveries on the pumps, tank gauges: through the forecourt ----

using FcCall = int32_t (*)(Ctx&, Forecourt&, const Values&, Values&);

template <FcCall F> int32_t OnForecourt(Ctx& c, const Values& in, Values& out) {
    if (!c.fc) return QV_NOT_SUPPORTED;
    return F(c, c.fc->Engine(), in, out);
}

int32_t Id(const Values& in, size_t k = 0) {
    return static_cast<int32_t>(in[k].i);
}
int16_t Small(const Values& in, size_t k) {
    return static_cast<int16_t>(in[k].i);
}

int32_t FcAuthorise(Ctx& c, Forecourt& f, const Values& in, Values&) {
    return f.Authorise(Id(in), c.session.clientID);
}
int32_t FcCancelAuthorise(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.CancelAuthorise(Id(in));
}
int32_t FcLoadPreset(Ctx& c, Forecourt& f, const Values& in, Values&) {
    return f.LoadPreset(Id(in), c.session.clientID, Small(in, 1), in[2].d, Small(in, 3),
                        Small(in, 4));
}
int32_t FcLoadPresetWithPrice(Ctx& c, Forecourt& f, const Values& in, Values&) {
    return f.LoadPresetWithPrice(Id(in), c.session.clientID, Small(in, 1), in[2].d, HOSE_ALL,
                                 Small(in, 3), in[4].d);
}
int32_t FcTagAuthorise(Ctx& c, Forecourt& f, const Values& in, Values&) {
    return f.TagAuthorise(Id(in), c.session.clientID, in[1].i, Small(in, 2), in[3].d, 0);
}
int32_t FcAttendantAuthorise(Ctx& c, Forecourt& f, const Values& in, Values&) {
    if (!c.store.Exists(kAttendant, Id(in, 1))) return QV_UNKNOWN_ID;
    return f.AttendantAuthorise(Id(in), c.session.clientID, Id(in, 1));
}
int32_t FcPrepayReserve(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.PrepayReserve(Id(in), Id(in, 1));
}
int32_t FcPrepayCancel(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.PrepayCancel(Id(in), Id(in, 1));
}
int32_t FcPrepayAuthorise(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.PrepayAuthorise(Id(in), Id(in, 1), Small(in, 2), in[3].d, Small(in, 4));
}
int32_t FcPreauthReserve(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.PreauthReserve(Id(in), Id(in, 1));
}
int32_t FcPreauthCancel(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.PreauthCancel(Id(in), Id(in, 1));
}
int32_t FcPreauthAuthorise(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.PreauthAuthorise(Id(in), Id(in, 1), Small(in, 2), in[3].d, Small(in, 4));
}
int32_t FcPaymentReserve(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.PaymentReserve(Id(in), Id(in, 1));
}
int32_t FcPaymentCancel(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.PaymentCancel(Id(in), Id(in, 1));
}
int32_t FcPaymentAuthorise(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.PaymentAuthorise(Id(in), Id(in, 1), Small(in, 2), in[3].d, Small(in, 4), Small(in, 5));
}
int32_t FcTempStop(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.TempStop(Id(in));
}
int32_t FcReAuthorise(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.ReAuthorise(Id(in));
}
int32_t FcTerminateDelivery(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.TerminateDelivery(Id(in));
}
int32_t FcStackCurrentDelivery(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.StackCurrentDelivery(Id(in));
}
int32_t FcEnablePump(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.EnablePump(Id(in));
}
int32_t FcDisablePump(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.DisablePump(Id(in));
}
int32_t FcAllStop(Ctx&, Forecourt& f, const Values&, Values&) {
    return f.AllStop();
}
int32_t FcAllStopIfIdle(Ctx&, Forecourt& f, const Values&, Values&) {
    return f.AllStopIfIdle();
}
int32_t FcAllAuthorise(Ctx& c, Forecourt& f, const Values&, Values&) {
    return f.AllAuthorise(c.session.clientID);
}
int32_t FcAllReAuthorise(Ctx&, Forecourt& f, const Values&, Values&) {
    return f.AllReAuthorise();
}
int32_t FcAttendantLogon(Ctx& c, Forecourt& f, const Values& in, Values&) {
    if (!c.store.Exists(kAttendant, Id(in))) return QV_UNKNOWN_ID;
    PumpStatusRecord pump;
    if (Id(in, 1) != -1 && !f.GetPumpStatus(Id(in, 1), pump)) return QV_UNKNOWN_ID;
    return f.AttendantLogon(Id(in), Id(in, 1));
}
int32_t FcAttendantLogoff(Ctx& c, Forecourt& f, const Values& in, Values&) {
    if (!c.store.Exists(kAttendant, Id(in))) return QV_UNKNOWN_ID;
    return f.AttendantLogoff(Id(in));
}
int32_t FcLockDelivery(Ctx& c, Forecourt& f, const Values& in, Values&) {
    return f.LockDelivery(Id(in), c.session.clientID);
}
int32_t FcUnlockDelivery(Ctx& c, Forecourt& f, const Values& in, Values&) {
    return f.UnlockDelivery(Id(in), c.session.clientID);
}
template <int Variant> int32_t FcPumpStatus(Ctx& c, Forecourt& f, const Values& in, Values& out) {
    PumpStatusRecord r;
    if (!f.GetPumpStatus(Id(in), r)) return QV_UNKNOWN_ID;
    out = c.fc->PumpStatusOutputs(r, Variant);
    return QV_OK;
}
// One character per pump in ID order: its state and current hose as base-36 digits ('0' for no
// hose), and the number of deliveries on it (at most 9).
int32_t FcAllPumpStatuses(Ctx&, Forecourt& f, const Values&, Values& out) {
    static const char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::u16string states, hoses, counts;
    for (const PumpInfo& p : f.GetSite().pumps) {
        PumpStatusRecord r;
        if (!f.GetPumpStatus(p.id, r)) continue;
        states += static_cast<char16_t>(kDigits[std::clamp<int>(r.state, 0, 35)]);
        hoses += static_cast<char16_t>(kDigits[std::clamp<int>(r.hoseNumber, 0, 35)]);
        counts += static_cast<char16_t>(kDigits[std::clamp<int>(r.stackSize, 0, 9)]);
    }
    out = {Value::Text(states), Value::Text(hoses), Value::Text(counts)};
    return QV_OK;
}
int32_t FcTankDrop(Ctx&, Forecourt& f, const Values& in, Values&) {
    return f.TankDrop(Id(in), in[1].d);
}
int32_t FcFireClientEvent(Ctx& c, Forecourt&, const Values& in, Values&) {
    c.fc->ClientEvent(c.session.clientID, Id(in), in[1].s);
    return QV_OK;
}
// The stored tank with the gauge's running readings.
template <int Variant> int32_t FcTankSummary(Ctx& c, Forecourt& f, const Values& in, Values& out) {
    Row t, g;
    if (!c.store.Fetch(kTank, Id(in), t)) return QV_UNKNOWN_ID;
    c.store.Fetch(kGrade, I(t, "GradeID"), g);
    TankStatusRecord s;
    if (f.GetTankStatus(Id(in), s)) {
        t["GaugeVolume"] = Value::F64(s.gaugeVolume);
        t["GaugeTCVolume"] = Value::F64(s.gaugeTCVolume);
        t["GaugeUllage"] = Value::F64(s.gaugeUllage);
        t["GaugeTemperature"] = Value::F64(s.gaugeTemperature);
        t["GaugeLevel"] = Value::F64(s.gaugeLevel);
        t["GaugeWaterVolume"] = Value::F64(s.gaugeWaterVolume);
        t["GaugeWaterLevel"] = Value::F64(s.gaugeWaterLevel);
        t["State"] = Value::I16(s.state);
        t["GaugeAlarmsMask"] = Value::I32(s.alarmsMask);
    }
    out.clear();
    TankSection(t, g, Variant, out);
    return QV_OK;
}
// Without a forecourt the stored readings.
template <int Variant> int32_t TankSummary(Ctx& c, const Values& in, Values& out) {
    if (c.fc) return FcTankSummary<Variant>(c, c.fc->Engine(), in, out);
    return GetTankSummary<Variant>(c, in, out);
}

// ---- Clients, attendants, card clients, controller statuses, price signs ----

// Pumps this client holds reserved and deliveries it holds locked, as the forecourt sees them;
// without a forecourt, the stored deliveries it locked.
int32_t ClientStatus(Ctx& c, const Values&, Values& out) {
    const int32_t me = c.session.clientID;
    int32_t pumps = 0, locked = 0;
    if (c.fc) {
        const Forecourt& f = c.fc->Engine();
        for (const PumpInfo& p : f.GetSite().pumps) {
            PumpStatusRecord r;
            if (f.GetPumpStatus(p.id, r) && r.reservedFor != 0 && r.reservedBy == me) ++pumps;
            for (int32_t id : f.PumpDeliveries(p.id)) {
                DeliveryRecord d;
                if (f.GetDelivery(id, d) && d.lockedBy == me) ++locked;
            }
        }
    } else {
        double n = 0;
        if (!c.store.Scalar(
                "SELECT COUNT(*) FROM Deliveries WHERE State IN (1, 2) AND LockedBy = ?1",
                {Value::I32(me)}, n))
            return QV_DATABASE_ERROR;
        locked = static_cast<int32_t>(n);
    }
    out = {Value::I32(pumps), Value::I32(locked)};
    return QV_OK;
}

int32_t GetClientsCount(Ctx& c, const Values&, Values& out) {
    out = {Value::I32(c.ops.LogonCount())};
    return QV_OK;
}

// Logged on (1) or not (0), and the pump (-1: none, or not logged on).
int32_t GetAttendantState(Ctx& c, const Values& in, Values& out) {
    if (!c.store.Exists(kAttendant, Id(in))) return QV_UNKNOWN_ID;
    int32_t pump = -1;
    const bool on = c.fc && c.fc->Engine().AttendantPump(Id(in), pump);
    out = {Value::I16(on ? 1 : 0), Value::I32(on ? pump : -1)};
    return QV_OK;
}

// The card client whose Tag is the card's tag (the lowest ID when several are).
int32_t FindCard(Ctx& c, const Values& in, Values& out) {
    if (in[0].s.empty()) return QV_INVALID_ARGUMENT;
    std::vector<int32_t> ids;
    if (!c.store.Ids("SELECT ID FROM CardClients WHERE Tag = ?1 ORDER BY ID LIMIT 1", {in[0]}, ids))
        return QV_DATABASE_ERROR;
    Row r;
    if (ids.empty() || !c.store.Fetch(kCardClient, ids[0], r)) return QV_UNKNOWN_ID;
    out = {Value::I32(ids[0]), V32(r, "Number"),    VS(r, "Name"), V16(r, "CardType"),
           V16(r, "Enabled"),  V16(r, "LimitType"), VD(r, "Limit")};
    return QV_OK;
}

char16_t Digit36(int v) {
    static const char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return static_cast<char16_t>(kDigits[std::clamp(v, 0, 35)]);
}

// The pumps' three strings (empty without a forecourt), then one character per tank and per
// sensor in ID order: the tank's state (the gauge's while the forecourt runs it) and the
// sensor's status.
int32_t GetAllStatuses(Ctx& c, const Values& in, Values& out) {
    Values pumps{Value::Text(u""), Value::Text(u""), Value::Text(u"")};
    if (c.fc) FcAllPumpStatuses(c, c.fc->Engine(), in, pumps);
    std::vector<int32_t> tanks, sensors;
    if (!c.store.Ids("SELECT ID FROM Tanks ORDER BY ID", {}, tanks) ||
        !c.store.Ids("SELECT ID FROM Sensors ORDER BY ID", {}, sensors))
        return QV_DATABASE_ERROR;
    std::u16string tankStates, sensorStates;
    for (int32_t id : tanks) {
        TankStatusRecord s;
        Row t;
        if (c.fc && c.fc->Engine().GetTankStatus(id, s))
            tankStates += Digit36(s.state);
        else if (c.store.Fetch(kTank, id, t))
            tankStates += Digit36(I(t, "State"));
    }
    for (int32_t id : sensors) {
        Row r;
        if (c.store.Fetch(kSensor, id, r)) sensorStates += Digit36(I(r, "Status"));
    }
    out = pumps;
    out.push_back(Value::Text(tankStates));
    out.push_back(Value::Text(sensorStates));
    return QV_OK;
}

const Names kPriceSignFields{"ElementType", "GradeID", "PriceLevel", "PriceDspFormat", "Enabled"};

// The stored element of a sign: its ID in the table, 0 when it was never set; -1 on failure.
int32_t PriceSignRow(Ctx& c, const Values& in) {
    std::vector<int32_t> ids;
    if (!c.store.Ids("SELECT ID FROM PriceSignElements WHERE Sign = ?1 AND Element = ?2",
                     {in[0], in[1]}, ids))
        return -1;
    return ids.empty() ? 0 : ids[0];
}

int32_t GetPriceSignElement(Ctx& c, const Values& in, Values& out) {
    if (in[0].i < 1 || in[1].i < 1) return QV_INVALID_ARGUMENT;
    const int32_t row = PriceSignRow(c, in);
    if (row < 0) return QV_DATABASE_ERROR;
    if (row == 0) return QV_UNKNOWN_ID;
    return c.store.Get(kPriceSignElement, row, kPriceSignFields, out);
}

int32_t SetPriceSignElement(Ctx& c, const Values& in, Values&) {
    if (in[0].i < 1 || in[1].i < 1 || in[4].i < 1 || in[4].i > 8) return QV_INVALID_ARGUMENT;
    if (in[3].i != -1 && !c.store.Exists(kGrade, Id(in, 3))) return QV_UNKNOWN_REFERENCE;
    int32_t row = PriceSignRow(c, in);
    if (row < 0) return QV_DATABASE_ERROR;
    if (row == 0 &&
        c.store.Insert(kPriceSignElement, {{"Sign", in[0]}, {"Element", in[1]}}, row) != 0)
        return QV_DATABASE_ERROR;
    return c.store.Set(kPriceSignElement, row, kPriceSignFields, Values(in.begin() + 2, in.end()));
}

// A device that a tank or pump sits on stays: deleting it would leave that record unstorable
// (its next store would fail the slot's reference check).
int32_t DeleteZigBee(Ctx& c, const Values& in, Values&) {
    if (!c.store.Exists(kZigBee, Id(in))) return QV_UNKNOWN_ID;
    double users = 0;
    if (!c.store.Scalar("SELECT (SELECT COUNT(*) FROM Tanks WHERE SlotZigBeeID = ?1) +"
                        " (SELECT COUNT(*) FROM Pumps WHERE SlotZigBeeID = ?1)",
                        in, users))
        return QV_DATABASE_ERROR;
    // Slots below 5 are the controller's own and name no device.
    if (Id(in) >= 5 && users > 0) return QV_FAILED;
    return c.store.Delete(kZigBee, Id(in));
}

int32_t GetLastAPIResult(Ctx& c, const Values&, Values& out) {
    out = {Value::I32(c.session.lastResult)};
    return QV_OK;
}

// Operations after which the forecourt re-reads its equipment (and the names it reports).
bool ChangesEquipment(const std::string& name) {
    if (name == "SetGradePrice" || name == "SetPumpDefaultPriceLevel") return true;
    if (name.rfind("Set", 0) != 0 && name.rfind("Delete", 0) != 0 && name.rfind("Add", 0) != 0)
        return false;
    for (const char* kind : {"Pump", "Hose", "Tank", "Grade", "Attendant", "CardClient"})
        if (name.find(kind) != std::string::npos) return true;
    return false;
}

} // namespace

// ---- The table ----

struct Operations::Def {
    std::string name;
    Kind kind = Kind::NotSupported;
    const Entity* entity = nullptr;
    Names fields;      // Get, Set, Update
    std::string inSig; // expected input letters
    Handler handler = nullptr;
};

namespace {

using Def = Operations::Def;

// ---- Terminals and the ZigBee coordinator ----

int32_t SetZBCoordPan(Ctx& c, const Values& in, Values&) {
    const int32_t port = Id(in);
    const int32_t pan = static_cast<int32_t>(in[1].i);
    if (!c.store.Exists(kPort, port)) return QV_UNKNOWN_ID;
    // 0xFFFF is no PAN (a coordinator that has none yet).
    if (pan < 0 || pan > 0xFFFE) return QV_INVALID_ARGUMENT;
    const int32_t r = c.store.Set(kPort, port, {"PanID"}, {Value::I32(pan)});
    if (r != QV_OK) return r;
    Values event{Value::I16(qvwire::kEventZBPanID)};
    AddSection(event, 0, {Value::I32(port), Value::I32(pan)});
    c.events.Broadcast(event);
    return QV_OK;
}

int32_t QVTermPrompt(Ctx& c, const Values& in, Values&) {
    TermPromptRequest r;
    r.pumpID = Id(in);
    r.promptID = static_cast<int32_t>(in[1].i);
    r.text = in[2].s;
    r.inputType = static_cast<int16_t>(in[3].i);
    r.maxLength = static_cast<int16_t>(in[4].i);
    r.timeout = static_cast<int32_t>(in[5].i);
    return StartTermPrompt(c.store, r);
}

int32_t ScheduleBeep(Ctx& c, const Values& in, Values&) {
    return ScheduleTermBeep(c.store, Id(in), static_cast<int16_t>(in[1].i),
                            static_cast<int16_t>(in[2].i));
}

int32_t SetLineMode(Ctx& c, const Values& in, Values&) {
    return SetPortLineMode(c.store, Id(in), static_cast<int16_t>(in[1].i));
}

int32_t FlashLEDS(Ctx& c, const Values& in, Values&) {
    return FlashTermLeds(c.store, Id(in), static_cast<int16_t>(in[1].i),
                         static_cast<int32_t>(in[2].i));
}

Def Count(const char* n, const Entity& e) {
    return {n, Kind::Count, &e, {}, "", nullptr};
}
Def Ordinal(const char* n, const Entity& e) {
    return {n, Kind::ByOrdinal, &e, {}, "i", nullptr};
}
Def Get(const char* n, const Entity& e, Names f) {
    return {n, Kind::Get, &e, f, "i", nullptr};
}
Def Set(const char* n, const Entity& e, Names f) {
    return {n, Kind::Set, &e, f, "i" + SigOf(e, f), nullptr};
}
Def Update(const char* n, const Entity& e, Names f) {
    return {n, Kind::Update, &e, f, "i" + SigOf(e, f), nullptr};
}
Def Del(const char* n, const Entity& e) {
    return {n, Kind::Delete, &e, {}, "i", nullptr};
}
Def ByNumber(const char* n, const Entity& e) {
    return {n, Kind::ByNumber, &e, {}, "i", nullptr};
}
// The fields after Number; the caller gets the ID and the Number back.
Def Add(const char* n, const Entity& e, const Names& withNumber) {
    const Names f(withNumber.begin() + 1, withNumber.end());
    return {n, Kind::Add, &e, f, SigOf(e, f), nullptr};
}
Def Special(const char* n, const char* sig, Handler h) {
    return {n, Kind::Special, nullptr, {}, sig, h};
}
Def Unsupported(const char* n) {
    return {n, Kind::NotSupported, nullptr, {}, "", nullptr};
}
Def Local(const char* n) {
    return {n, Kind::Local, nullptr, {}, "", nullptr};
}

std::vector<Def> BuildTable() {
    const Names card = kCardEx4, att = kAttendantEx2, tank = kTankEx2, hose = kHoseEx3;
    std::vector<Def> defs{
        Special("CheckForManagementFtn", "s", CheckForManagementFtn),
        Local("ClientLogoff"),
        Special("SetIniValueEx", "ssss", SetIniValueEx),
        Special("GetIniValueEx", "sss", GetIniValueEx),
        Special("SetIniValue", "sss", SetIniValue),
        Special("GetIniValue", "ss", GetIniValue),
        Local("InternalClientLogon"),
        Local("ClientLogonEx"),
        Local("ClientLogon"),
        Local("GetClientEventsSocket"),
        Local("GetClientCallsSocket"),
        Special("SetClientType", "i", SetClientType),
        Special("GetSerialNo", "", GetSerialNo),
        Count("GetCardClientsCount", kCardClient),
        Ordinal("GetCardClientByOrdinal", kCardClient),
        Get("GetCardClientPropertiesEx4", kCardClient, card),
        Get("GetCardClientPropertiesEx3", kCardClient, First(card, 16)),
        Get("GetCardClientPropertiesEx2", kCardClient, kCardEx2),
        Get("GetCardClientPropertiesEx", kCardClient, First(card, 6)),
        Get("GetCardClientProperties", kCardClient, First(card, 4)),
        Set("SetCardClientPropertiesEx4", kCardClient, card),
        Set("SetCardClientPropertiesEx3", kCardClient, First(card, 16)),
        Set("SetCardClientPropertiesEx2", kCardClient, kCardEx2),
        Set("SetCardClientPropertiesEx", kCardClient, First(card, 6)),
        Special("GetCardType", "s", GetCardType),
        Del("DeleteCardClient", kCardClient),
        Count("GetAttendantsCount", kAttendant),
        Ordinal("GetAttendantByOrdinal", kAttendant),
        Get("GetAttendantPropertiesEx2", kAttendant, att),
        Get("GetAttendantPropertiesEx", kAttendant, kAttendantEx),
        Get("GetAttendantProperties", kAttendant, First(att, 5)),
        Set("SetAttendantPropertiesEx2", kAttendant, att),
        Set("SetAttendantPropertiesEx", kAttendant, kAttendantEx),
        Set("SetAttendantProperties", kAttendant, First(att, 5)),
        Del("DeleteAttendant", kAttendant),
        Special("GetProductsCount", "issssi", GetProductsCount),
        Special("GetProductByOrdinal", "issssii", GetProductByOrdinal),
        ByNumber("GetProductByNumber", kProduct),
        Del("DeleteProduct", kProduct),
        Get("GetProductProperties", kProduct, kProductFields),
        Set("SetProductProperties", kProduct, kProductFields),
        Get("GetProductPropertiesEx", kProduct, kProductEx),
        Get("GetProductPropertiesEx2", kProduct, Join(kProductEx, {"AddedDT", "UpdatedDT"})),
        Set("SetProductPropertiesEx", kProduct, kProductEx),
        Count("GetGradesCount", kGrade),
        Ordinal("GetGradeByOrdinal", kGrade),
        Del("DeleteGrade", kGrade),
        Get("GetGradeProperties", kGrade, First(kGradeEx, 4)),
        Set("SetGradeProperties", kGrade, First(kGradeEx, 4)),
        Get("GetGradePropertiesEx", kGrade, kGradeEx),
        Set("SetGradePropertiesEx", kGrade, kGradeEx),
        Special("GetGradePrice", "ih", GetGradePrice),
        Count("GetTanksCount", kTank),
        Ordinal("GetTankByOrdinal", kTank),
        Get("GetTankProperties", kTank, First(tank, 16)),
        Get("GetTankPropertiesEx", kTank, First(tank, 17)),
        Get("GetTankPropertiesEx2", kTank, tank),
        Count("GetPumpsCount", kPump),
        Ordinal("GetPumpByOrdinal", kPump),
        ByNumber("GetPumpByNumber", kPump),
        Get("GetPumpPropertiesEx", kPump, kPumpEx),
        Get("GetPumpProperties", kPump, First(kPumpEx, 17)),
        Set("SetPumpProperties", kPump, First(kPumpEx, 17)),
        Set("SetPumpPropertiesEx", kPump, kPumpEx),
        Update("SetHosePrices", kHose, {"DurationType", "PriceType", "Price1", "Price2"}),
        Update("SetHosePricesEx", kHose,
               {"DurationType", "PriceType", "Price1", "Price2", "Price3", "Price4"}),
        Get("GetHosePrices", kHose, {"DurationType", "PriceType", "Price1", "Price2"}),
        Get("GetHosePricesEx", kHose,
            {"DurationType", "PriceType", "Price1", "Price2", "Price3", "Price4"}),
        Count("GetHosesCount", kHose),
        Ordinal("GetHoseByOrdinal", kHose),
        Get("GetHosePropertiesEx3", kHose, hose),
        Get("GetHosePropertiesEx2", kHose, kHoseEx2),
        Get("GetHosePropertiesEx", kHose, First(hose, 9)),
        Special("GetDeliveriesCount", "i", GetDeliveriesCount),
        Special("GetDeliveriesCountNotLogged", "", CountNotLogged),
        Special("GetDeliveriesCountNotVolLogged", "", CountNotVolLogged),
        Special("GetDeliveryByOrdinal", "ii", GetDeliveryByOrdinal),
        Special("GetDeliveryIDByOrdinalNotLogged", "i", OrdinalNotLogged),
        Special("GetDeliveryIDByOrdinalNotVolLogged", "i", OrdinalNotVolLogged),
        Special("GetDeliverySummaryEx2", "i", GetDeliverySummary<2>),
        Special("GetDeliverySummaryEx3", "i", GetDeliverySummary<3>),
        Special("GetDeliverySummaryEx4", "i", GetDeliverySummary<4>),
        Special("ClearDelivery", "ih", ClearDelivery),
        Special("LockAndClearDelivery", "ih", LockAndClearDelivery),
        Special("AckDeliveryDBLog", "i", AckDeliveryDBLog),
        Special("AckDeliveryVolLog", "i", AckDeliveryVolLog),
        Get("GetDeliveryExt", kDelivery, {"Ext"}),
        Update("SetDeliveryExt", kDelivery, {"Ext"}),
        Count("GetSaleItemsCount", kSaleItem),
        Ordinal("GetSaleItemByOrdinal", kSaleItem),
        Get("GetSaleItemSummary", kSaleItem, kSaleItemFields),
        Special("SaleItemClear", "ii", SaleItemClear),
        Special("SaleItemLockAndClear", "ii", SaleItemLockAndClear),
        Special("SaleItemAckDBLog", "i", SaleItemAckDBLog),
        Special("SaleItemAckVolLog", "i", SaleItemAckVolLog),
        Special("ServerVersion", "", ServerVersion),
        Local("DllVersion"),
        Local("ResultString"),
        Count("GetLogEventCount", kLogEvent),
        Ordinal("GetLogEventByOrdinal", kLogEvent),
        Special("GetLogEventCountEx", "hih", GetLogEventCountEx),
        Special("GetLogEventByOrdinalEx", "hihi", GetLogEventByOrdinalEx),
        Special("ClearLogEvent", "ii", ClearLogEvent),
        Special("AckLogEvent", "ii", AckLogEvent),
        Del("DeleteLogEvent", kLogEvent),
        Get("GetLogEventProperties", kLogEvent, kLogEventFields),
        Local("ProcessEvents"),
        Local("GetEventsCount"),
        Local("GetNextEventType"),
        Local("DiscardNextEvent"),
        Local("GetNextPumpEvent"),
        Local("GetNextPumpEventEx2"),
        Local("GetNextPumpEventEx3"),
        Local("GetNextDeliveryEventEx2"),
        Local("GetNextDeliveryEventEx3"),
        Local("GetNextDeliveryEventEx4"),
        Special("GetPumpHosesCount", "i", GetPumpHosesCount),
        Special("GetPumpHoseByNumber", "ii", GetPumpHoseByNumber),
        Special("PreauthReserve", "ii", OnForecourt<FcPreauthReserve>),
        Special("PreauthCancel", "ii", OnForecourt<FcPreauthCancel>),
        Special("PreauthAuthorise", "iihdh", OnForecourt<FcPreauthAuthorise>),
        Special("PaymentReserve", "ii", OnForecourt<FcPaymentReserve>),
        Special("PaymentCancel", "ii", OnForecourt<FcPaymentCancel>),
        Special("PaymentAuthorise", "iihdhh", OnForecourt<FcPaymentAuthorise>),
        Special("TerminateDelivery", "i", OnForecourt<FcTerminateDelivery>),
        Local("GetNextCardReadEvent"),
        Set("SetDeliveryPropertiesEx4", kDelivery, kDeliveryEx4),
        Set("SetDeliveryPropertiesEx3", kDelivery, First(kDeliveryEx4, 19)),
        Set("SetDeliveryPropertiesEx2", kDelivery, First(kDeliveryEx4, 17)),
        Set("SetDeliveryPropertiesEx", kDelivery, First(kDeliveryEx4, 15)),
        Special("SetDateTime", "d", SetDateTime),
        Special("GetDateTime", "", GetDateTime),
        Count("GetZigBeeCount", kZigBee),
        Ordinal("GetZigBeeByOrdinal", kZigBee),
        Get("GetZigBeeProperties", kZigBee, kZigBeeFields),
        Count("GetPortsCount", kPort),
        ByNumber("GetPortByNumber", kPort),
        {"GetPortByName", Kind::ByNumber, &kPort, {"Name"}, "s", nullptr},
        Ordinal("GetPortByOrdinal", kPort),
        Get("GetPortProperties", kPort, kPortFields),
        Special("GetTankSummary", "i", TankSummary<0>),
        Special("GetTankSummaryEx", "i", TankSummary<1>),
        Special("GetTankSummaryEx2", "i", TankSummary<2>),
        Special("GetDeliveriesCountFiltered", "ihhdd", CountFiltered),
        Special("GetDeliveriesCountFilteredEx", "ihhddii", CountFilteredEx),
        Special("GetDeliveryIDByOrdinalFiltered", "ihhddi", OrdinalFiltered),
        Special("GetDeliveryIDByOrdinalFilteredEx", "ihhddiii", OrdinalFilteredEx),
        Get("GetDeliveryProperties", kDelivery, First(kDeliveryEx4, 13)),
        Get("GetDeliveryPropertiesEx", kDelivery, First(kDeliveryEx4, 15)),
        Get("GetDeliveryPropertiesEx2", kDelivery, First(kDeliveryEx4, 17)),
        Get("GetDeliveryPropertiesEx3", kDelivery, First(kDeliveryEx4, 19)),
        Get("GetDeliveryPropertiesEx4", kDelivery, kDeliveryEx4),
        Local("GetNextDBTankStatusEvent"),
        Local("GetNextDBTankStatusEventEx"),
        Local("GetNextDBTankStatusEventEx2"),
        Local("GetNextLogEventEvent"),
        Special("TempStop", "i", OnForecourt<FcTempStop>),
        Special("ReAuthorise", "i", OnForecourt<FcReAuthorise>),
        Special("GetLastProductUpdated", "", GetLastProductUpdated),
        Special("AddLogEvent", "hihhs", AddLogEvent),
        Count("GetSensorsCount", kSensor),
        Ordinal("GetSensorByOrdinal", kSensor),
        Get("GetSensorProperties", kSensor, First(kSensorEx, 6)),
        Get("GetSensorPropertiesEx", kSensor, kSensorEx),
        Get("GetSensorStatus", kSensor, {"Status"}),
        Special("GetHoseDelTotals", "i", GetHoseDelTotals),
        Get("GetZB2GConfig", kPort, {"PanID", "Channels", "KeyA", "KeyB"}),
        Special("GetDeviceDetails", "ii", GetDeviceDetails),
        Set("SetPortProperties", kPort, kPortFields),
        Special("SetGradePrice", "ihd", SetGradePrice),
        Set("SetZigBeeProperties", kZigBee, kZigBeeFields),
        Set("SetTankPropertiesEx", kTank, First(tank, 17)),
        Set("SetTankPropertiesEx2", kTank, tank),
        Set("SetHosePropertiesEx", kHose, First(hose, 9)),
        Set("SetHosePropertiesEx2", kHose, kHoseEx2),
        Set("SetHosePropertiesEx3", kHose, hose),
        Set("SetSensorProperties", kSensor, First(kSensorEx, 6)),
        Set("SetSensorPropertiesEx", kSensor, kSensorEx),
        Special("SetNextDeliveryID", "i", SetNextDeliveryID),
        Del("DeleteHose", kHose),
        Special("DeletePump", "i", DeletePump),
        Special("AllStop", "", OnForecourt<FcAllStop>),
        Special("Authorise", "i", OnForecourt<FcAuthorise>),
        Special("CancelAuthorise", "i", OnForecourt<FcCancelAuthorise>),
        Special("LoadPreset", "ihdhh", OnForecourt<FcLoadPreset>),
        Special("LoadPresetWithPrice", "ihdhd", OnForecourt<FcLoadPresetWithPrice>),
        Special("GetPumpDeliveryPropertiesEx4", "ii", GetPumpDeliveryPropertiesEx4),
        Special("SetPumpDefaultPriceLevel", "ih", SetPumpDefaultPriceLevel),
        Local("GetNextDBHoseETotalsEventEx"),
        Ordinal("GetCardReadByOrdinal", kCardRead),
        Get("GetCardReadProperties", kCardRead, kCardReadFields),
        Del("DeleteCardRead", kCardRead),
        Special("TagAuthorise", "ilhd", OnForecourt<FcTagAuthorise>),
        Special("GetTCPIPConfig", "", GetTCPIPConfig),
        Special("SetTCPIPConfig", "sssshs", SetTCPIPConfig),
        Unsupported("WDReset"),
        Special("GetHoseSummary", "i", GetHoseSummary<0>),
        Special("GetHoseSummaryEx", "i", GetHoseSummary<1>),
        Special("GetHoseSummaryEx2", "i", GetHoseSummary<2>),
        Special("ExternalStartDelivery", "ih", ExternalStartDelivery),
        Special("ExternalEndDelivery", "idd", ExternalEndDelivery),
        Special("PrepayReserve", "ii", OnForecourt<FcPrepayReserve>),
        Special("PrepayCancel", "ii", OnForecourt<FcPrepayCancel>),
        Special("PrepayAuthorise", "iihdh", OnForecourt<FcPrepayAuthorise>),
        Special("AttendantAuthorise", "ii", OnForecourt<FcAttendantAuthorise>),
        Special("StackCurrentDelivery", "i", OnForecourt<FcStackCurrentDelivery>),
        Special("AllStopIfIdle", "", OnForecourt<FcAllStopIfIdle>),
        Special("AllAuthorise", "", OnForecourt<FcAllAuthorise>),
        Special("AllReAuthorise", "", OnForecourt<FcAllReAuthorise>),
        Special("EnablePump", "i", OnForecourt<FcEnablePump>),
        Special("DisablePump", "i", OnForecourt<FcDisablePump>),
        Special("LockDelivery", "i", OnForecourt<FcLockDelivery>),
        Special("UnlockDelivery", "i", OnForecourt<FcUnlockDelivery>),
        Special("GetPumpStatus", "i", OnForecourt<FcPumpStatus<0>>),
        Special("GetPumpStatusEx", "i", OnForecourt<FcPumpStatus<1>>),
        Special("GetPumpStatusEx2", "i", OnForecourt<FcPumpStatus<2>>),
        Special("GetAllPumpStatuses", "", OnForecourt<FcAllPumpStatuses>),
        Special("TankDrop", "id", OnForecourt<FcTankDrop>),
        Special("FireClientEvent", "is", OnForecourt<FcFireClientEvent>),
        Local("GetNextClientEvent"),
        Local("GetNextDBLogEvent"),
        Local("GetNextDBLogDeliveryEvent"),
        Local("GetNextDBClearDeliveryEvent"),
        Local("GetNextDBStackDeliveryEvent"),
        Local("GetNextDBAttendantLogonEvent"),
        Local("GetNextDBAttendantLogoffEvent"),
        Local("GetNextZeroDeliveryEvent"),
        Special("AttendantLogon", "ii", OnForecourt<FcAttendantLogon>),
        Special("AttendantLogoff", "i", OnForecourt<FcAttendantLogoff>),
        {"GetPumpByName", Kind::ByNumber, &kPump, {"Name"}, "s", nullptr},
        ByNumber("GetGradeByNumber", kGrade),
        {"GetGradeByName", Kind::ByNumber, &kGrade, {"Name"}, "s", nullptr},
        ByNumber("GetTankByNumber", kTank),
        {"GetTankByName", Kind::ByNumber, &kTank, {"Name"}, "s", nullptr},
        ByNumber("GetAttendantByNumber", kAttendant),
        {"GetAttendantByName", Kind::ByNumber, &kAttendant, {"Name"}, "s", nullptr},
        ByNumber("GetCardClientByNumber", kCardClient),
        {"GetCardClientByName", Kind::ByNumber, &kCardClient, {"Name"}, "s", nullptr},
        ByNumber("GetZigBeeByNumber", kZigBee),
        {"GetZigBeeByName", Kind::ByNumber, &kZigBee, {"Name"}, "s", nullptr},
        ByNumber("GetSensorByNumber", kSensor),
        {"GetSensorByName", Kind::ByNumber, &kSensor, {"Name"}, "s", nullptr},
        {"GetProductByName", Kind::ByNumber, &kProduct, {"Name"}, "s", nullptr},
        ByNumber("GetCardReadByNumber", kCardRead),
        {"GetCardReadByName", Kind::ByNumber, &kCardRead, {"Name"}, "s", nullptr},
        Count("GetCardReadsCount", kCardRead),
        Get("GetHoseProperties", kHose, First(hose, 8)),
        Set("SetHoseProperties", kHose, First(hose, 8)),
        Count("GetAllDeliveriesCount", kDelivery),
        Ordinal("GetAllDeliveryByOrdinal", kDelivery),
        Get("GetDuration", kDelivery, {"Duration"}),
        Set("SetDeliveryProperties", kDelivery, First(kDeliveryEx4, 13)),
        Set("SetTankProperties", kTank, First(tank, 16)),
        Special("ClientStatus", "", ClientStatus),
        Special("GetClientsCount", "", GetClientsCount),
        Add("AddPort", kPort, kPortFields),
        Del("RemovePort", kPort),
        Add("AddAttendant", kAttendant, att),
        Special("GetAttendantState", "i", GetAttendantState),
        Set("SetCardClientProperties", kCardClient, First(card, 4)),
        Add("AddCardClient", kCardClient, card),
        Special("FindCard", "s", FindCard),
        Set("SetCardReadProperties", kCardRead, kCardReadFields),
        Add("AddZigBee", kZigBee, kZigBeeFields),
        Special("DeleteZigBee", "i", DeleteZigBee),
        Add("AddSensor", kSensor, kSensorEx),
        Del("DeleteSensor", kSensor),
        Add("AddProduct", kProduct, kProductEx),
        Set("SetLogEventProperties", kLogEvent, kLogEventFields),
        Special("GetAllStatuses", "", GetAllStatuses),
        Special("GetPriceSignElement", "ii", GetPriceSignElement),
        Special("SetPriceSignElement", "iihihhh", SetPriceSignElement),
        Special("GetLastAPIResult", "", GetLastAPIResult),
        Local("WasReconnected"),
        Local("GetNextServerEvent"),
        Local("GetNextDBTriggerEvent"),
        Local("GetNextZBPanIDEvent"),
        Local("GetNextZB2GStatusEvent"),
        Local("GetNextQVTermPromptEvent"),
        Special("SetZBCoordPan", "ii", SetZBCoordPan),
        Special("QVTermPrompt", "iishhi", QVTermPrompt),
        Special("ScheduleBeep", "ihh", ScheduleBeep),
        Special("FlashLEDS", "ihi", FlashLEDS),
        Local("GetNextQVOdoEvent"),
        Special("SetLineMode", "ih", SetLineMode),
        Get("GetSaleItemProperties", kSaleItem, kSaleItemFields),
        Special("SetSaleItemProperties", "iiiiihddddiihsh", SetSaleItemProperties),
        Special("AddSaleItem", "iiiihddsh", AddSaleItem),
        Special("DeleteSaleItem", "i", DeleteSaleItem),
        Special("SaleItemLock", "ii", SaleItemLock),
        Special("SaleItemUnlock", "ii", SaleItemUnlock),
        Special("GetSaleItemsCountEx", "iiiihdd", GetSaleItemsCountEx),
        Special("GetSaleItemByOrdinalEx", "iiiihddi", GetSaleItemByOrdinalEx),
        Local("GetNextSaleItemEvent"),
    };
    for (const EntityOperation& e : EntityOperations())
        defs.push_back({e.name, Kind::Special, nullptr, {}, e.inSig, e.handler});
    return defs;
}

// Indexed by operation code; built once and checked against the operation names.
const std::vector<const Def*>& Table() {
    static const std::vector<Def> defs = BuildTable();
    static const std::vector<const Def*> byCode = [] {
        std::vector<const Def*> t(qvwire::kOperationNames.size() + 1, nullptr);
        for (const Def& d : defs) {
            const uint16_t code = qvwire::OpCode(d.name);
            if (code == 0 || t[code]) {
                std::fprintf(stderr, "qvserver: operation table broken at %s\n", d.name.c_str());
                std::abort();
            }
            t[code] = &d;
        }
        return t;
    }();
    return byCode;
}

// Which record a record refers to must exist: 13 otherwise.
int32_t CheckReferences(Store& s, const Entity& e, const Row& r) {
    auto slotOk = [&](int32_t slot) { return slot < 5 || s.Exists(kZigBee, slot); };
    if (&e == &kTank) {
        if (!s.Exists(kGrade, I(r, "GradeID")) || !slotOk(I(r, "SlotZigBeeID")))
            return QV_UNKNOWN_REFERENCE;
    } else if (&e == &kPump) {
        if (!slotOk(I(r, "SlotZigBeeID"))) return QV_UNKNOWN_REFERENCE;
    } else if (&e == &kHose) {
        if (!s.Exists(kPump, I(r, "PumpID")) || !s.Exists(kTank, I(r, "TankID")))
            return QV_UNKNOWN_REFERENCE;
    } else if (&e == &kCardClient) {
        const int32_t type = I(r, "CardType");
        const Entity* parent = type == 4 || type == 6   ? &kCardClient
                               : type == 5              ? &kAttendant
                               : type == 7 || type == 8 ? &kProduct
                                                        : nullptr;
        if (parent && !s.Exists(*parent, I(r, "ParentID"))) return QV_UNKNOWN_REFERENCE;
    }
    return QV_OK;
}

} // namespace

Operations::Operations(Store& store, EventSink& events) : m_store(store), m_events(events) {
    Table();
}

bool Operations::Implemented(const std::string& name) const {
    const uint16_t code = qvwire::OpCode(name);
    return code != 0 && Table()[code]->kind != Kind::NotSupported;
}

std::string Operations::InputSignature(uint16_t op) {
    if (op == 0 || op > qvwire::kOperationNames.size()) return {};
    const Def& d = *Table()[op];
    return d.kind == Kind::Count ? "" : d.inSig;
}

int32_t Operations::StoreRecord(const Entity& e, int32_t id, const Names& fields,
                                const Values& in) {
    if (id < 1) return QV_INVALID_ARGUMENT;
    Row merged;
    const bool existed = m_store.Fetch(e, id, merged);
    if (!existed)
        for (const Field& f : e.fields)
            merged[f.name] = DefaultOf(f);
    for (size_t k = 0; k < fields.size(); ++k)
        merged[fields[k]] = in[k];
    const int32_t ref = CheckReferences(m_store, e, merged);
    if (ref != QV_OK) return ref;

    Names f = fields;
    Values v = in;
    if (&e == &kHose) return StoreHose(id, merged, f, v);
    if (&e == &kPort) {
        AddRadio(S(merged, "SerialNo"), static_cast<int16_t>(I(merged, "DeviceType")), f, v);
        AddDetails(S(merged, "SerialNo"), f, v);
    } else if (&e == &kZigBee) {
        AddDetails(S(merged, "SerialNumber"), f, v);
    } else if (&e == &kProduct) {
        const double now = NowOle();
        f.push_back("UpdatedDT");
        v.push_back(Value::F64(now));
        if (!existed) {
            f.push_back("AddedDT");
            v.push_back(Value::F64(now));
        }
    }
    return m_store.Set(e, id, f, v);
}

int32_t Operations::AddRecord(const Entity& e, const Names& fields, const Values& in, Values& out) {
    const std::string table = e.table;
    double highestID = 0, highestNumber = 0;
    if (!m_store.Scalar("SELECT COALESCE(MAX(ID), 0) FROM " + table, {}, highestID) ||
        !m_store.Scalar("SELECT COALESCE(MAX(Number), 0) FROM " + table, {}, highestNumber))
        return QV_DATABASE_ERROR;
    const int32_t id = static_cast<int32_t>(highestID) + 1;
    const int32_t number = static_cast<int32_t>(highestNumber) + 1;
    Names f{"Number"};
    f.insert(f.end(), fields.begin(), fields.end());
    Values v{Value::I32(number)};
    v.insert(v.end(), in.begin(), in.end());
    const int32_t r = StoreRecord(e, id, f, v);
    if (r == QV_OK) out = {Value::I32(id), Value::I32(number)};
    return r;
}

int32_t Operations::StoreHose(int32_t id, const Row& merged, const Names& fields,
                              const Values& in) {
    // A pump has one hose at each Number: a hose stored at another's place replaces it, as an
    // import does when the file gives the pump's hose a new ID.
    // Both changes or neither, inside a seed's transaction too.
    if (!m_store.Exec("SAVEPOINT StoreHose", {})) return QV_DATABASE_ERROR;
    const bool stored =
        m_store.Exec(
            "DELETE FROM Hoses WHERE PumpID = ?1 AND Number = ?2 AND ID != ?3",
            {Value::I32(I(merged, "PumpID")), Value::I32(I(merged, "Number")), Value::I32(id)}) &&
        m_store.Set(kHose, id, fields, in) == QV_OK;
    if (!stored) m_store.Exec("ROLLBACK TO StoreHose", {});
    const bool released = m_store.Exec("RELEASE StoreHose", {});
    return stored && released ? QV_OK : QV_DATABASE_ERROR;
}

int32_t Operations::Run(uint16_t op, SessionInfo& session, const Values& in, Values& out) {
    if (op == 0 || op > qvwire::kOperationNames.size()) return QV_NOT_SUPPORTED;
    const Def& d = *Table()[op];
    if (d.kind == Kind::NotSupported || d.kind == Kind::Local) return QV_NOT_SUPPORTED;
    const std::string sig = d.kind == Kind::Count ? "" : d.inSig;
    if (qvwire::SignatureOf(in) != sig) return QV_INVALID_ARGUMENT;
    Ctx c{m_store, m_events, session, *this, m_forecourt};
    out.clear();
    const int32_t id = in.empty() ? 0 : static_cast<int32_t>(in[0].i);
    const std::string all = std::string("SELECT ID FROM ") + (d.entity ? d.entity->table : "");
    switch (d.kind) {
    case Kind::Count:
        return ListCount(c, d.entity->table, all + " ORDER BY ID", {}, out);
    case Kind::ByOrdinal:
        return ListOrdinal(c, d.entity->table, all + " ORDER BY ID", {}, in[0].i, out);
    case Kind::Get:
        return m_store.Get(*d.entity, id, d.fields, out);
    case Kind::Set: {
        const int32_t r = StoreRecord(*d.entity, id, d.fields, Values(in.begin() + 1, in.end()));
        if (r == QV_OK && d.entity == &kTank) SendTankStatus(c, id);
        if (r == QV_OK && m_forecourt && ChangesEquipment(d.name)) m_forecourt->EquipmentChanged();
        return r;
    }
    case Kind::Update: {
        if (!m_store.Exists(*d.entity, id)) return QV_UNKNOWN_ID;
        const int32_t r = m_store.Set(*d.entity, id, d.fields, Values(in.begin() + 1, in.end()));
        if (r == QV_OK && m_forecourt && ChangesEquipment(d.name)) m_forecourt->EquipmentChanged();
        return r;
    }
    case Kind::Delete: {
        const int32_t r = m_store.Delete(*d.entity, id);
        if (r == QV_OK && m_forecourt && ChangesEquipment(d.name)) m_forecourt->EquipmentChanged();
        return r;
    }
    case Kind::ByNumber: {
        const std::string column = d.fields.empty() ? "Number" : d.fields[0];
        std::vector<int32_t> ids;
        if (!m_store.Ids(all + " WHERE " + column + " = ?1 ORDER BY ID LIMIT 1", in, ids))
            return QV_DATABASE_ERROR;
        if (ids.empty()) return QV_UNKNOWN_ID;
        out = {Value::I32(ids[0])};
        return QV_OK;
    }
    case Kind::Add: {
        const int32_t r = AddRecord(*d.entity, d.fields, in, out);
        if (r == QV_OK && m_forecourt && ChangesEquipment(d.name)) m_forecourt->EquipmentChanged();
        return r;
    }
    case Kind::Special: {
        const int32_t r = d.handler(c, in, out);
        if (r == QV_OK && m_forecourt && ChangesEquipment(d.name)) m_forecourt->EquipmentChanged();
        return r;
    }
    default:
        return QV_NOT_SUPPORTED;
    }
}

} // namespace qvserver
