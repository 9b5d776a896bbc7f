#include "extract/Import.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "common/CDateTime.h"
#include "common/CFixed.h"
#include "common/CHFile.h"
#include "common/CProfile.h"
#include "common/CStr.h"
#include "extract/ConfigLayout.h"
#include "extract/ToolGlobals.h"
#include "platform/Files.h"
#include "platform/StopRequest.h"

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

// Slots 1 to 4 are the controller's own; radio devices start at 5.
constexpr int32_t kFirstZigBeeSlot = 5;
// Card types and the kind of their parent.
constexpr int16_t kCardOfClient1 = 4, kCardOfClient2 = 6;
constexpr int16_t kCardOfAttendant = 5;
constexpr int16_t kCardOfProduct1 = 7, kCardOfProduct2 = 8;
// Automation dates end with the year 9999.
constexpr double kLastAutomationDay = 2958466.0;
// Real values travel as fixed point: a magnitude whose raw value (times 10000) reaches 2^63,
// about 9.22e14, has no fixed-point value and is refused.
constexpr double kFixedRawLimit = 9223372036854775808.0; // 2^63

bool FitsFixed(double value) {
    return std::fabs(value) * static_cast<double>(CFixed::kScale) < kFixedRawLimit;
}

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

// Reads one record's keys from the current section, with the widths and conversions of the
// file layout. The section's lines are read once, not searched in the file key by key. A real
// value beyond the fixed-point range is reported and marks the record refused (it reads as 0).
class KeyReader {
  public:
    explicit KeyReader(CProfile& profile) { profile.GetSectionKeys(m_keys); }

    void Int(const char* key, int32_t& out) {
        CStr text;
        m_keys.GetString(key, text);
        out = text.ToInt();
    }
    void Int16(const char* key, int16_t& out) {
        int32_t value = 0;
        Int(key, value);
        out = static_cast<int16_t>(value);
    }
    void Text(const char* key, CStr& out) { m_keys.GetString(key, out); }
    // Four decimals, rounded half away from zero, as the profile reads fixed-point values.
    void Real(const char* key, double& out, int) {
        CStr text;
        m_keys.GetString(key, text);
        const double value = text.ToDouble();
        out = 0;
        if (!FitsFixed(value)) {
            Refuse(key, text);
            return;
        }
        out = CFixed(value).ToDouble();
    }
    void RealAbove(const char* key, double& out, int places, double) { Real(key, out, places); }
    // The profile date text is read first; the export writes the day number itself, which must
    // survive a re-import too. 0 for neither.
    void Date(const char* key, double& out) {
        CStr text;
        CDateTime date;
        if (m_keys.GetString(key, text) > 0) date.Parse(text.Narrow());
        if (!date.IsNull()) {
            out = date.ToOleDate();
            return;
        }
        double day = 0;
        out = ParseDayNumber(text, day) ? day : 0.0;
    }

    // True when a value was refused; reports the first one (section, key, text) once.
    bool Refused() {
        if (m_refusedKey.empty()) return false;
        if (!m_reported) {
            const std::string section = m_keys.Section().Narrow();
            std::printf("%s %s out of range - %s.\n", section.c_str(), m_refusedKey.c_str(),
                        m_refusedText.c_str());
            ToolLog().Write("%s %s out of range - %s.", section.c_str(), m_refusedKey.c_str(),
                            m_refusedText.c_str());
            m_reported = true;
        }
        return true;
    }

  private:
    void Refuse(const char* key, const CStr& text) {
        if (!m_refusedKey.empty()) return;
        m_refusedKey = key;
        m_refusedText = text.Narrow();
    }

    CProfile::SectionKeys m_keys;
    std::string m_refusedKey; // the first refused key; empty when none
    std::string m_refusedText;
    bool m_reported = false;
};

// One import run: the file, the library, the switches and what has been stored on demand.
// Each import returns true when the entity counts as imported; false when its section is
// missing, its Number is below 1, a value is refused, a dependency cannot be stored or a library
// call fails (reported).
class Importer {
  public:
    Importer(ClientLibrary& library, CProfile& profile, const ImportOptions& options)
        : m_library(library), m_profile(profile), m_options(options) {}

    bool Import(SectionKind kind, int32_t n);

  private:
    bool Check(const char* text, int32_t result) { return m_library.ReportResult(text, result); }
    void UseSection(SectionKind kind, int32_t n) {
        m_profile.SetSection(SectionName(kind, n).c_str());
    }
    // Makes the kind's section current and reads the record; false for a missing section or a
    // Number below 1 (silently) and for a refused value (reported).
    template <typename Record, typename Keys>
    bool Read(SectionKind kind, int32_t n, Record& r, Keys keys) {
        UseSection(kind, n);
        KeyReader reader(m_profile);
        keys(reader, r);
        return r.number >= 1 && !reader.Refused();
    }

    bool Port(int32_t n);
    bool Grade(int32_t n);
    bool ZigBee(int32_t n);
    bool Tank(int32_t n);
    bool Pump(int32_t n);
    bool Hoses(int32_t n);
    bool Sensor(int32_t n);
    bool Attendant(int32_t n, bool skip);
    bool Product(int32_t n, bool skip);
    bool CardClient(int32_t n, bool skip);

    struct ChainLink {
        int32_t id;
        CardClientRecord record;
    };
    bool StoreCardClient(const ChainLink& link);

    ClientLibrary& m_library;
    CProfile& m_profile;
    ImportOptions m_options;
    IdList m_grades;
    IdList m_tanks;
};

bool Importer::Import(SectionKind kind, int32_t n) {
    switch (kind) {
    case SectionKind::Port:
        return Port(n);
    case SectionKind::Grade:
        return Grade(n);
    case SectionKind::Tank:
        return Tank(n);
    case SectionKind::ZigBee:
        return ZigBee(n);
    case SectionKind::Pump:
        return Pump(n);
    case SectionKind::Sensor:
        return Sensor(n);
    case SectionKind::Attendant:
        return Attendant(n, m_options.noAttendants);
    case SectionKind::Product:
        return Product(n, m_options.noProducts);
    case SectionKind::Client:
        return CardClient(n, m_options.noCardClients);
    }
    return false;
}

bool Importer::Port(int32_t n) {
    PortRecord r;
    if (!Read(SectionKind::Port, n, r, [](auto& v, auto& rec) { PortKeys(v, rec); })) return false;
    return Check(kSetPortFailed, m_library.SetPortProperties(n, r.number, r.name, r.protocolID,
                                                             r.deviceType, r.serialNo));
}

bool Importer::Grade(int32_t n) {
    if (m_grades.Has(n)) return true;
    GradeRecord r;
    if (!Read(SectionKind::Grade, n, r, [](auto& v, auto& rec) { GradeKeys(v, rec); }))
        return false;
    if (!Check(kSetGradeFailed,
               m_library.SetGradeProperties(n, r.number, r.name, r.shortName, r.code, r.type)))
        return false;
    KeyReader reader(m_profile);
    for (int16_t level = 1; level <= kGradePriceLevels; ++level) {
        double price = 0;
        reader.Real(GradePriceKey(level).c_str(), price, 3);
        if (reader.Refused()) return false;
        if (!(price > 0)) break;
        if (!Check(kSetGradePriceFailed, m_library.SetGradePrice(n, level, price))) return false;
    }
    m_grades.Add(n);
    return true;
}

// No list: a device reached several times is stored each time.
bool Importer::ZigBee(int32_t n) {
    ZigBeeRecord r;
    if (!Read(SectionKind::ZigBee, n, r, [](auto& v, auto& rec) { ZigBeeKeys(v, rec); }))
        return false;
    return Check(kSetZigBeeFailed,
                 m_library.SetZigBeeProperties(n, r.number, r.name, r.deviceType, r.serialNumber,
                                               r.nodeIdentifier, r.portID));
}

bool Importer::Tank(int32_t n) {
    if (m_tanks.Has(n)) return true;
    TankRecord r;
    if (!Read(SectionKind::Tank, n, r, [](auto& v, auto& rec) { TankKeys(v, rec); })) return false;
    if (!Grade(r.gradeID)) return false;
    if (r.slotZigBeeID >= kFirstZigBeeSlot && !ZigBee(r.slotZigBeeID)) return false;
    UseSection(SectionKind::Tank, n);
    // Gauge readings are live values of the site, never copied.
    if (!Check(kSetTankFailed, m_library.SetTankProperties(
                                   n, r.number, r.name, r.gradeID, r.type, r.capacity, r.diameter,
                                   0, 0, 0, 0, 0, 0, 0, 0, r.gaugeID, r.probeNo, r.alarmsMask,
                                   r.slotZigBeeID, r.probeType, r.probeSerialNo)))
        return false;
    m_tanks.Add(n);
    return true;
}

bool Importer::Pump(int32_t n) {
    PumpRecord r;
    if (!Read(SectionKind::Pump, n, r, [](auto& v, auto& rec) { PumpKeys(v, rec); })) return false;
    if (r.slotZigBeeID >= kFirstZigBeeSlot && !ZigBee(r.slotZigBeeID)) return false;
    UseSection(SectionKind::Pump, n);
    if (!Check(kSetPumpFailed,
               m_library.SetPumpProperties(n, r.number, r.name, r.physicalNumber, r.side, r.address,
                                           r.priceLevel1, r.priceLevel2, r.priceDspFormat,
                                           r.volumeDspFormat, r.valueDspFormat, r.type, r.portID,
                                           r.attendantID, r.authMode, r.stackMode, r.prepayAllowed,
                                           r.preauthAllowed, r.slotZigBeeID, r.muxSlotZigBeeID,
                                           r.priceControl, r.hasPreset)))
        return false;
    return Hoses(n);
}

// The pump's hoses 1 to 8, up to the first without an ID or a tank; each hose's tank first.
bool Importer::Hoses(int32_t n) {
    for (int32_t hose = 1; hose <= kMaxHoses; ++hose) {
        HoseRecord h;
        KeyReader reader(m_profile);
        HoseKeys(reader, h, hose);
        if (h.id < 1 || h.tankID < 1) break;
        if (reader.Refused()) return false;
        if (!Tank(h.tankID)) return false;
        UseSection(SectionKind::Pump, n);
        // Meter totals belong to the site's own history and start at 0.
        if (!Check(kSetHoseFailed,
                   m_library.SetHoseProperties(h.id, hose, n, h.tankID, h.physicalNumber, 0, 0, 0,
                                               0, h.reader, h.prices[0], h.prices[1], h.prices[2],
                                               h.prices[3], h.enabled)))
            return false;
        std::printf("*");
    }
    return true;
}

bool Importer::Sensor(int32_t n) {
    SensorRecord r;
    if (!Read(SectionKind::Sensor, n, r, [](auto& v, auto& rec) { SensorKeys(v, rec); }))
        return false;
    return Check(kSetSensorFailed,
                 m_library.SetSensorProperties(n, r.number, r.name, r.portID, r.type, r.address,
                                               r.sensorNo, r.slotZigBeeID, r.serialNo));
}

bool Importer::Attendant(int32_t n, bool skip) {
    AttendantRecord r;
    if (!Read(SectionKind::Attendant, n, r, [](auto& v, auto& rec) { AttendantKeys(v, rec); }))
        return false;
    if (r.type == 0) r.type = r.enabled; // files of older exports carry the type only as Enabled
    if (skip) return true;
    return Check(kSetAttendantFailed,
                 m_library.SetAttendantProperties(n, r.number, r.name, r.shortName, r.password,
                                                  r.tag, r.idNumber, r.shiftAStart, r.shiftAEnd,
                                                  r.shiftBStart, r.shiftBEnd, r.type));
}

bool Importer::Product(int32_t n, bool skip) {
    ProductRecord r;
    if (!Read(SectionKind::Product, n, r, [](auto& v, auto& rec) { ProductKeys(v, rec); }))
        return false;
    if (skip) return true;
    return Check(kSetProductFailed,
                 m_library.SetProductProperties(n, r.number, r.name, r.tag, r.enabled, r.shortName,
                                                r.barcode, r.quickCode, r.prices[0], r.prices[1],
                                                r.prices[2], r.prices[3], r.group));
}

bool Importer::StoreCardClient(const ChainLink& link) {
    const CardClientRecord& r = link.record;
    return Check(kSetCardClientFailed,
                 m_library.SetCardClientProperties(
                     link.id, r.number, r.name, r.tag, r.enabled, r.priceLevel, r.plate, r.idNumber,
                     r.shortName, r.password, r.gradeType, r.cardType, r.limitType, r.limit,
                     r.entryType, r.expiration, r.parentID, r.odoSerialNo, r.odometer, r.factor));
}

// A card client's parents are stored before it, the topmost first. The chain of card-client
// parents is followed without recursion, so a long chain cannot exhaust the stack, and a parent
// that is already on the chain (the chain loops back) is not imported again: it counts as
// imported (true), since it is stored anyway further down the chain, after its dependants.
bool Importer::CardClient(int32_t n, bool skip) {
    std::vector<ChainLink> chain;
    const auto onChain = [&chain](int32_t id) {
        return std::any_of(chain.begin(), chain.end(),
                           [id](const ChainLink& link) { return link.id == id; });
    };
    for (int32_t id = n;;) {
        chain.push_back(ChainLink{id, CardClientRecord()});
        CardClientRecord& r = chain.back().record;
        if (!Read(SectionKind::Client, id, r, [](auto& v, auto& rec) { CardClientKeys(v, rec); }))
            return false;
        if (r.factor == 0) r.factor = 1;
        if (r.cardType == kCardOfClient1 || r.cardType == kCardOfClient2) {
            if (onChain(r.parentID)) break;
            id = r.parentID;
            continue;
        }
        if (r.cardType == kCardOfAttendant && !Attendant(r.parentID, skip)) return false;
        if ((r.cardType == kCardOfProduct1 || r.cardType == kCardOfProduct2) &&
            !Product(r.parentID, skip))
            return false;
        break;
    }
    if (skip) return true;
    for (auto link = chain.rbegin(); link != chain.rend(); ++link) {
        if (!StoreCardClient(*link)) return false;
    }
    return true;
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

// A file that cannot be opened would read as one without sections: the import must not take
// it for an empty configuration. reason receives why it cannot be read.
bool Readable(const char* fileName, std::string& reason) {
    if (platform::GetFileKind(fileName) == platform::FileKind::Directory) {
        reason = "is a folder";
        return false;
    }
    CHFile probe(fileName, false, "rb", "rb");
    if (probe.Open()) return true;
    reason = platform::LastFileErrorText(true);
    return false;
}

constexpr const char* kBrokenText = "Connection to the server broken";
constexpr const char* kStopText = "stop requested";

} // namespace

int ImportConfiguration(ClientLibrary& library, const char* fileName,
                        const ImportOptions& options) {
    std::string reason;
    if (!Readable(fileName, reason)) {
        std::printf("Configuration file %s cannot be read: %s.\n", fileName, reason.c_str());
        ToolLog().Write("Configuration file %s cannot be read: %s.", fileName, reason.c_str());
        return -1;
    }
    // The import only reads: a read-only profile also serves files on write-protected media.
    CProfile profile(fileName, false);
    Importer importer(library, profile, options);

    std::array<int, kKindCount> counts{};
    bool anyKind = false;
    bool broken = false;
    SectionKind previous = SectionKind::Port;
    CStr name;
    bool stopped = false;
    for (int32_t index = 1; !broken && profile.GetSectionName(index, name); ++index) {
        // A stop request (Ctrl-C, a termination signal) ends the walk between two sections.
        stopped = platform::StopRequested();
        if (stopped) break;
        const int32_t n = SectionNumber(name);
        if (n == 0) continue;
        SectionKind kind;
        if (FindKind(name, kind)) {
            if (!anyKind || kind != previous) std::printf("%s", LayoutOf(kind).importHeader);
            anyKind = true;
            previous = kind;
            if (importer.Import(kind, n)) ++counts[static_cast<int>(kind)];
            // Every later call would fail the same way: one report, not one per section.
            broken = library.ConnectionBroken();
        }
        std::printf(".");
    }
    PrintSummaries(counts);
    if (broken || stopped) {
        const char* why = broken ? kBrokenText : kStopText;
        std::printf("\nImport stopped - %s.\n", why);
        ToolLog().Write("Import stopped - %s.", why);
        return -1;
    }
    std::printf("\nAll done.\n");
    return 0;
}
