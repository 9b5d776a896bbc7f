#include "extract/Import.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "common/CDateTime.h"
#include "common/CFixed.h"
#include "common/CProfile.h"
#include "common/CStr.h"
#include "extract/ConfigLayout.h"
#include "extract/ToolGlobals.h"

namespace {

constexpr const char* kSetPortFailed = "SetPortProperties failed";
constexpr const char* kSetGradeFailed = "SetGradeProperties failed.";
constexpr const char* kSetGradePriceFailed = "SetGradePrice failed.";
constexpr const char* kSetZigBeeFailed = "SetZigBeeProperties failed.";
constexpr const char* kSetTankFailed = "SetTankProperties failed.";
constexpr const char* kSetPumpFailed = "SetPumpProperties failed.";
constexpr const char* kSetHoseFailed = "SetHoseProperties failed.";
constexpr const char* kSetSensorFailed = "SetSensorProperties failed.";
constexpr const char* kSetAttendantFailed = "SetAttendantPropertiesEx2 failed.";
constexpr const char* kSetProductFailed = "SetProductProperties failed.";
constexpr const char* kSetCardClientFailed = "SetCardClientProperties failed.";

constexpr int kPriceLevels = 8;
constexpr int32_t kMaxHoses = 8;
// Slots 1 to 4 are the controller's own; radio devices start at 5.
constexpr int32_t kFirstZigBeeSlot = 5;
// Card types and the kind of their parent.
constexpr int16_t kCardOfClient1 = 4, kCardOfClient2 = 6;
constexpr int16_t kCardOfAttendant = 5;
constexpr int16_t kCardOfProduct1 = 7, kCardOfProduct2 = 8;
// Automation dates end with the year 9999.
constexpr double kLastAutomationDay = 2958466.0;

// IDs stored in this run; a full list stores further IDs without remembering them.
class IdList {
  public:
    static constexpr size_t kCapacity = 128;
    bool Has(int32_t id) const { return std::find(m_ids.begin(), m_ids.end(), id) != m_ids.end(); }
    void Add(int32_t id) {
        if (m_ids.size() < kCapacity) m_ids.push_back(id);
    }

  private:
    std::vector<int32_t> m_ids;
};

// The file being imported and what this run has stored on demand.
struct ImportRun {
    CProfile* profile = nullptr; // null outside ImportConfiguration
    IdList grades;
    IdList tanks;
};
ImportRun g_run;

bool Check(const char* text, int32_t result) {
    return ToolLibrary().ReportResult(text, result);
}

// Key reading in the current section, with the widths and conversions of the file layout.
void UseSection(SectionKind kind, int32_t n) {
    g_run.profile->SetSection(SectionName(kind, n).c_str());
}
int32_t Int(const char* key) {
    return g_run.profile->GetInt(key);
}
int32_t Int(const std::string& key) {
    return Int(key.c_str());
}
int16_t Int16(const char* key) {
    return static_cast<int16_t>(g_run.profile->GetInt(key));
}
int16_t Int16(const std::string& key) {
    return Int16(key.c_str());
}
CStr Text(const char* key) {
    CStr value("");
    g_run.profile->GetString(key, value);
    return value;
}
// Four decimals, rounded half away from zero, as the profile reads fixed-point values.
double Real(const char* key) {
    CFixed value;
    return g_run.profile->GetFixed(value, key).ToDouble();
}
double Real(const std::string& key) {
    return Real(key.c_str());
}

// An automation day number as the export writes it ("46021.50000"): digits and one optional
// point, within the automation date range. False for any other text.
bool ParseDayNumber(const CStr& text, double& day) {
    const std::string s = text.IsNull() ? "" : text.Narrow();
    if (s.empty() || s.find_first_not_of("0123456789.") != std::string::npos ||
        std::count(s.begin(), s.end(), '.') > 1 || s == ".")
        return false;
    const auto result = std::from_chars(s.data(), s.data() + s.size(), day);
    return result.ec == std::errc() && result.ptr == s.data() + s.size() &&
           day < kLastAutomationDay;
}

// A date key as an automation date, 0 for none. The profile date text is read first; the
// export writes the day number itself, which must survive a re-import too.
double Date(const char* key) {
    CDateTime date;
    g_run.profile->GetDateTime(date, key);
    if (!date.IsNull()) return date.ToOleDate();
    double day = 0;
    return ParseDayNumber(Text(key), day) ? day : 0.0;
}

// Makes the kind's section current and reads its Number; false for a missing section or a
// Number below 1.
bool Enter(SectionKind kind, int32_t n, int32_t& number) {
    if (g_run.profile == nullptr) return false;
    UseSection(kind, n);
    number = Int("Number");
    return number >= 1;
}

struct CardClientRecord {
    int32_t id = 0;
    int32_t number = 0;
    CStr name, tag, plate, idNumber, shortName, password, odoSerial;
    int16_t enabled = 0, priceLevel = 0, gradeType = 0, cardType = 0, limitType = 0, entryType = 0;
    double limit = 0, expiration = 0, odometer = 0;
    int32_t parentID = 0, factor = 0;
};

bool ReadCardClient(int32_t n, CardClientRecord& r) {
    r.id = n;
    if (!Enter(SectionKind::Client, n, r.number)) return false;
    r.name = Text("Name");
    r.tag = Text("Tag");
    r.enabled = Int16("Enabled");
    r.priceLevel = Int16("PriceLevel");
    r.plate = Text("Plate");
    r.idNumber = Text("IDNumber");
    r.shortName = Text("ShortName");
    r.password = Text("Password");
    r.gradeType = Int16("GradeType");
    r.cardType = Int16("CardType");
    r.limitType = Int16("LimitType");
    r.limit = Real("LimitValue");
    r.entryType = Int16("EntryType");
    r.expiration = Date("ExpirationDate");
    r.parentID = Int("ParentID");
    r.odoSerial = Text("QVOdoSerialNo");
    r.odometer = Real("Odometer");
    r.factor = Int("Factor");
    if (r.factor == 0) r.factor = 1;
    return true;
}

bool StoreCardClient(const CardClientRecord& r) {
    return Check(kSetCardClientFailed,
                 ToolLibrary().SetCardClientProperties(
                     r.id, r.number, r.name, r.tag, r.enabled, r.priceLevel, r.plate, r.idNumber,
                     r.shortName, r.password, r.gradeType, r.cardType, r.limitType, r.limit,
                     r.entryType, r.expiration, r.parentID, r.odoSerial, r.odometer, r.factor));
}

bool OnChain(const std::vector<CardClientRecord>& chain, int32_t id) {
    return std::any_of(chain.begin(), chain.end(),
                       [id](const CardClientRecord& r) { return r.id == id; });
}

struct ImportOptions {
    bool noProducts;
    bool noAttendants;
    bool noCardClients;
};

bool ImportOfKind(SectionKind kind, int32_t n, const ImportOptions& o) {
    switch (kind) {
    case SectionKind::Port:
        return ImportPort(n);
    case SectionKind::Grade:
        return ImportGrade(n);
    case SectionKind::Tank:
        return ImportTank(n);
    case SectionKind::ZigBee:
        return ImportZigBee(n);
    case SectionKind::Pump:
        return ImportPump(n);
    case SectionKind::Sensor:
        return ImportSensor(n);
    case SectionKind::Attendant:
        return ImportAttendant(n, o.noAttendants);
    case SectionKind::Product:
        return ImportProduct(n, o.noProducts);
    case SectionKind::Client:
        return ImportCardClient(n, o.noCardClients);
    }
    return false;
}

void PrintSummaries(const std::array<int, kKindCount>& counts) {
    for (SectionKind kind : kImportSummaryOrder) {
        const int count = counts[static_cast<int>(kind)];
        if (count <= 0) continue;
        const KindLayout& layout = LayoutOf(kind);
        const char* word = count == 1 ? layout.singular : layout.plural;
        if (kind == SectionKind::Port)
            std::printf("\n\n%3d %s imported successfully.\n", count, word);
        else
            std::printf("%3d %s imported successfully.\n", count, word);
    }
}

} // namespace

bool ImportPort(int32_t n) {
    int32_t number = 0;
    if (!Enter(SectionKind::Port, n, number)) return false;
    const CStr name = Text("Name");
    const CStr serialNo = Text("SerialNo");
    const int16_t protocolID = Int16("ProtocolID");
    const int16_t deviceType = Int16("DeviceType");
    return Check(kSetPortFailed, ToolLibrary().SetPortProperties(n, number, name, protocolID,
                                                                 deviceType, serialNo));
}

bool ImportGrade(int32_t n) {
    if (g_run.grades.Has(n)) return true;
    int32_t number = 0;
    if (!Enter(SectionKind::Grade, n, number)) return false;
    const CStr name = Text("Name");
    const CStr shortName = Text("ShortName");
    const CStr code = Text("Code");
    const int16_t type = Int16("GradeType");
    if (!Check(kSetGradeFailed,
               ToolLibrary().SetGradeProperties(n, number, name, shortName, code, type)))
        return false;
    for (int16_t level = 1; level <= kPriceLevels; ++level) {
        char key[16];
        std::snprintf(key, sizeof key, "Price%02d", level);
        const double price = Real(key);
        if (!(price > 0)) break;
        if (!Check(kSetGradePriceFailed, ToolLibrary().SetGradePrice(n, level, price)))
            return false;
    }
    g_run.grades.Add(n);
    return true;
}

bool ImportZigBee(int32_t n) {
    int32_t number = 0;
    if (!Enter(SectionKind::ZigBee, n, number)) return false;
    const CStr name = Text("Name");
    const int16_t deviceType = Int16("DeviceType");
    const CStr serialNumber = Text("SerialNumber");
    const CStr nodeIdentifier = Text("NodeIdentifier");
    const int32_t portID = Int("PortID");
    return Check(kSetZigBeeFailed,
                 ToolLibrary().SetZigBeeProperties(n, number, name, deviceType, serialNumber,
                                                   nodeIdentifier, portID));
}

bool ImportTank(int32_t n) {
    if (g_run.tanks.Has(n)) return true;
    int32_t number = 0;
    if (!Enter(SectionKind::Tank, n, number)) return false;
    const CStr name = Text("Name");
    const int32_t grade = Int("Grade");
    const int16_t type = Int16("Type");
    const double capacity = Real("Capacity");
    const double diameter = Real("Diameter");
    const int32_t gauge = Int("TankGauge");
    const int16_t probe = Int16("Probe");
    const int32_t alarms = Int("GaugeAlarmsMask");
    const int32_t slot = Int("SlotZigBeeID");
    const int16_t probeType = Int16("ProbeType");
    const int32_t probeSerialNo = Int("ProbeSerialNo");
    if (!ImportGrade(grade)) return false;
    if (slot >= kFirstZigBeeSlot && !ImportZigBee(slot)) return false;
    UseSection(SectionKind::Tank, n);
    // Gauge readings are live values of the site, never copied.
    if (!Check(kSetTankFailed, ToolLibrary().SetTankProperties(
                                   n, number, name, grade, type, capacity, diameter, 0, 0, 0, 0, 0,
                                   0, 0, 0, gauge, probe, alarms, slot, probeType, probeSerialNo)))
        return false;
    g_run.tanks.Add(n);
    return true;
}

bool ImportPump(int32_t n) {
    int32_t number = 0;
    if (!Enter(SectionKind::Pump, n, number)) return false;
    const CStr name = Text("Name");
    const int16_t physicalNumber = Int16("PhysicalNumber");
    const int16_t side = Int16("Side");
    const int16_t address = Int16("Address");
    const int32_t slot = Int("Slot");
    const int16_t priceLevel1 = Int16("PriceLevel1");
    const int16_t priceLevel2 = Int16("PriceLevel2");
    const int16_t priceFormat = Int16("PriceDspFormat");
    const int16_t volumeFormat = Int16("VolumeDspFormat");
    const int16_t valueFormat = Int16("ValueDspFormat");
    const int16_t type = Int16("PumpType");
    const int32_t portID = Int("PortID");
    const int32_t attendantID = Int("AttendantID");
    const int16_t authMode = Int16("AuthMode");
    const int16_t stackMode = Int16("StackMode");
    const int16_t prepay = Int16("PrepayAllowed");
    const int16_t preauth = Int16("PreauthAllowed");
    const int32_t muxSlot = Int("MuxSlotZigBeeID");
    const int16_t priceControl = Int16("PriceControl");
    const int16_t hasPreset = Int16("HasPreset");
    if (slot >= kFirstZigBeeSlot && !ImportZigBee(slot)) return false;
    UseSection(SectionKind::Pump, n);
    if (!Check(kSetPumpFailed,
               ToolLibrary().SetPumpProperties(
                   n, number, name, physicalNumber, side, address, priceLevel1, priceLevel2,
                   priceFormat, volumeFormat, valueFormat, type, portID, attendantID, authMode,
                   stackMode, prepay, preauth, slot, muxSlot, priceControl, hasPreset)))
        return false;
    for (int32_t hose = 1; hose <= kMaxHoses; ++hose) {
        const int32_t hoseID = Int(HoseKey("Hose%dID", hose));
        if (hoseID < 1) break;
        const int32_t tank = Int(HoseKey("Hose%dTank", hose));
        if (tank < 1) break;
        if (!ImportTank(tank)) return false;
        UseSection(SectionKind::Pump, n);
        const int32_t hosePhysical = Int(HoseKey("Hose%dPhysicalNumber", hose));
        const int16_t reader = Int16(HoseKey("Hose%dReader", hose));
        const double price1 = Real(HoseKey("Hose%dPrice1", hose));
        const double price2 = Real(HoseKey("Hose%dPrice2", hose));
        const double price3 = Real(HoseKey("Hose%dPrice3", hose));
        const double price4 = Real(HoseKey("Hose%dPrice4", hose));
        const int16_t enabled = Int16(HoseKey("Hose%dEnabled", hose));
        // Meter totals belong to the site's own history and start at 0.
        if (!Check(kSetHoseFailed, ToolLibrary().SetHoseProperties(
                                       hoseID, hose, n, tank, hosePhysical, 0, 0, 0, 0, reader,
                                       price1, price2, price3, price4, enabled)))
            return false;
        std::printf("*");
    }
    return true;
}

bool ImportSensor(int32_t n) {
    int32_t number = 0;
    if (!Enter(SectionKind::Sensor, n, number)) return false;
    const CStr name = Text("Name");
    const int32_t portID = Int("PortID");
    const int16_t type = Int16("Type");
    const int16_t address = Int16("Address");
    const int16_t sensorNo = Int16("SensorNo");
    const int32_t slot = Int("SlotZigBeeID");
    const int32_t serialNo = Int("SensorSerialNo");
    return Check(kSetSensorFailed,
                 ToolLibrary().SetSensorProperties(n, number, name, portID, type, address, sensorNo,
                                                   slot, serialNo));
}

bool ImportAttendant(int32_t n, bool skip) {
    int32_t number = 0;
    if (!Enter(SectionKind::Attendant, n, number)) return false;
    const CStr name = Text("Name");
    const CStr shortName = Text("ShortName");
    const CStr password = Text("Password");
    const CStr tag = Text("Tag");
    const CStr idNumber = Text("IDNumber");
    const int16_t shiftAStart = Int16("ShiftAStart");
    const int16_t shiftAEnd = Int16("ShiftAEnd");
    const int16_t shiftBStart = Int16("ShiftBStart");
    const int16_t shiftBEnd = Int16("ShiftBEnd");
    const int16_t enabled = Int16("Enabled");
    int16_t type = Int16("Type");
    if (type == 0) type = enabled; // files of older exports carry the type only as Enabled
    if (skip) return true;
    return Check(kSetAttendantFailed, ToolLibrary().SetAttendantProperties(
                                          n, number, name, shortName, password, tag, idNumber,
                                          shiftAStart, shiftAEnd, shiftBStart, shiftBEnd, type));
}

bool ImportProduct(int32_t n, bool skip) {
    int32_t number = 0;
    if (!Enter(SectionKind::Product, n, number)) return false;
    const CStr name = Text("Name");
    const CStr tag = Text("Tag");
    const CStr shortName = Text("ShortName");
    const CStr barcode = Text("Barcode");
    const int32_t quickCode = Int("QuickCode");
    const int16_t enabled = Int16("Enabled");
    const double price1 = Real("Price1");
    const double price2 = Real("Price2");
    const double price3 = Real("Price3");
    const double price4 = Real("Price4");
    const int32_t group = Int("ProductGroup");
    if (skip) return true;
    return Check(kSetProductFailed, ToolLibrary().SetProductProperties(
                                        n, number, name, tag, enabled, shortName, barcode,
                                        quickCode, price1, price2, price3, price4, group));
}

// A card client's parents are stored before it, the topmost first. The chain of card-client
// parents is followed without recursion, so a long chain cannot exhaust the stack, and a parent
// that is already on the chain (the chain loops back) is not imported again: it counts as
// imported (true), since it is stored anyway further down the chain, after its dependants.
bool ImportCardClient(int32_t n, bool skip) {
    std::vector<CardClientRecord> chain;
    for (int32_t id = n;;) {
        chain.emplace_back();
        if (!ReadCardClient(id, chain.back())) return false;
        const CardClientRecord& r = chain.back();
        if (r.cardType == kCardOfClient1 || r.cardType == kCardOfClient2) {
            if (OnChain(chain, r.parentID)) break;
            id = r.parentID;
            continue;
        }
        if (r.cardType == kCardOfAttendant && !ImportAttendant(r.parentID, skip)) return false;
        if ((r.cardType == kCardOfProduct1 || r.cardType == kCardOfProduct2) &&
            !ImportProduct(r.parentID, skip))
            return false;
        break;
    }
    if (skip) return true;
    for (auto r = chain.rbegin(); r != chain.rend(); ++r) {
        if (!StoreCardClient(*r)) return false;
    }
    return true;
}

int ImportConfiguration(const char* fileName, bool noProducts, bool noAttendants,
                        bool noCardClients) {
    // The import only reads: a read-only profile also serves files on write-protected media.
    CProfile profile(fileName, false);
    g_run = ImportRun();
    g_run.profile = &profile;
    const ImportOptions options{noProducts, noAttendants, noCardClients};

    std::array<int, kKindCount> counts{};
    bool anyKind = false;
    SectionKind previous = SectionKind::Port;
    CStr name;
    for (int32_t index = 1; profile.GetSectionName(index, name); ++index) {
        const int32_t n = SectionNumber(name);
        if (n == 0) continue;
        SectionKind kind;
        if (FindKind(name, kind)) {
            if (!anyKind || kind != previous) std::printf("%s", LayoutOf(kind).importHeader);
            anyKind = true;
            previous = kind;
            if (ImportOfKind(kind, n, options)) ++counts[static_cast<int>(kind)];
        }
        std::printf(".");
    }
    PrintSummaries(counts);
    std::printf("\nAll done.\n");
    g_run = ImportRun();
    return 0;
}
