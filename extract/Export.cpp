#include "extract/Export.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "common/CDateTime.h"
#include "common/CProfile.h"
#include "common/CStr.h"
#include "extract/ConfigLayout.h"
#include "extract/ToolGlobals.h"
#include "platform/Files.h"
#include "platform/StopRequest.h"

namespace {

constexpr const char* kProgramVersion = "2.6.0.0";
constexpr const char* kApplicationName = "QV2Serial service configuration";
// Address of the site device on the controller's own local network.
constexpr const char* kGscDefaultName = "192.168.1.200";
// Ports above this ID are tank-gauge ports for the PAM protocol.
constexpr int32_t kLastPumpPortID = 4;

// The library texts and console summary of one walked kind.
struct KindExport {
    SectionKind kind;
    const char* countFailed;
    const char* byOrdinalFailed;
    const char* propertiesFailed;
    const char* summary;
};

const KindExport kPortExport = {SectionKind::Port, "GetPortsCount failed.",
                                "GetPortByOrdinal failed.", "GetPortProperties failed.",
                                "\n%3d ports exported successfully.\n"};
const KindExport kZigBeeExport = {SectionKind::ZigBee, "GetZigBeeCount failed.",
                                  "GetZigBeeByOrdinal failed.", "GetZigBeeProperties failed.",
                                  "\n%3d ZigBee devices exported successfully.\n"};
const KindExport kGradeExport = {SectionKind::Grade, "GetGradesCount failed",
                                 "GetGradeByOrdinal failed.", "GetGradePropertiesEx failed.",
                                 "\n%3d grades exported successfully.\n"};
const KindExport kTankExport = {SectionKind::Tank, "GetTanksCount failed.",
                                "GetTankByOrdinal failed.", "GetTankProperties failed.",
                                "\n%3d Tanks exported successfully.\n"};
const KindExport kPumpExport = {SectionKind::Pump, "GetPumpsCount failed.",
                                "GetPumpByOrdinal failed.", "GetPumpProperties failed.",
                                "\n%3d Pumps exported successfully.\n"};
const KindExport kSensorExport = {SectionKind::Sensor, "GetSensorsCount failed.",
                                  "GetSensorByOrdinal failed.", "GetSensorProperties failed.",
                                  "\n%3d Sensors exported successfully.\n"};
const KindExport kProductExport = {SectionKind::Product, "GetProductsCount failed.",
                                   "GetProductByOrdinal failed.", "GetProductProperties failed.",
                                   "\n%3d Products exported successfully.\n"};
const KindExport kAttendantExport = {
    SectionKind::Attendant, "GetAttendantsCount failed.", "GetAttendantByOrdinal failed.",
    "GetAttendantProperties failed.", "\n%3d Attendants exported successfully.\n"};
const KindExport kClientExport = {SectionKind::Client, "GetCardClientsCount failed.",
                                  "GetCardClient failed.", "GetCardClientProperties failed.",
                                  "\n%3d Clients exported successfully.\n"};

constexpr const char* kDllVersionFailed = "DllVersion failed.";
constexpr const char* kServerVersionFailed = "ServerVersion failed.";
constexpr const char* kZB2GConfigFailed = "GetZB2GConfig failed.";
constexpr const char* kDeviceDetailsFailed = "GetDeviceDetails failed.";
constexpr const char* kGradePriceFailed = "GetGradePrice failed.";
constexpr const char* kPumpHosesCountFailed = "GetPumpsCount failed."; // the tool's own text
constexpr const char* kPumpHoseByNumberFailed = "GetPumpHoseByNumber failed.";
constexpr const char* kHosePropertiesFailed = "GetHoseProperties failed.";

// Fixed service settings written for the serial service when a protocol switch is on.
struct FixedKey {
    const char* section;
    const char* key;
    const char* value;
};

const FixedKey kServiceKeys[] = {
    {"Log", "Screen", "0"},
    {"Log", "File", "1"},
    {"Log", "Socket", "0"},
    {"Server", "Name", "<local>"},
    {"Server", "CallPort", "5123"},
    {"Server", "EventsPort", "5124"},
    {"Server", "CallTimeout", "10000"},
    {"Port", "Name", "COM2"},
};
const FixedKey kCompanyKeys[] = {
    {"Company", "Baudrate", "9600"},
    {"Company", "DataBits", "8"},
    {"Company", "Parity", "N"},
    {"Company", "StopBits", "1"},
};
const FixedKey kPamKeys[] = {
    {"Pam", "Baudrate", "4800"},     {"Pam", "DataBits", "7"},
    {"Pam", "Parity", "O"},          {"Pam", "StopBits", "1"},
    {"Pam", "PriceDspFormat", "1"},  {"Pam", "VolumeDspFormat", "10"},
    {"Pam", "ValueDspFormat", "10"}, {"Pam", "PumpType", "4"},
};
const FixedKey kGscKeys[] = {
    {"GSC", "GSC", "Yes"},        {"GSC", "Name", kGscDefaultName}, {"GSC", "CommandPort", "6001"},
    {"GSC", "EventPort", "6003"}, {"GSC", "LogAll", "No"},          {"GSC", "AutoClear", "No"},
};
const FixedKey kIptKeys[] = {
    {"IPT", "IPT", "Yes"},       {"IPT", "Terminal", "1"}, {"IPT", "Port", "COM1"},
    {"IPT", "Baudrate", "9600"}, {"IPT", "DataBits", "8"}, {"IPT", "Parity", "N"},
    {"IPT", "StopBits", "1"},
};

// One export run: the file being written and the switches. Each step returns false when a
// library failure or a failed write stops the walk (already reported or noted).
class Exporter {
  public:
    Exporter(ClientLibrary& library, const char* fileName, const ExportOptions& options)
        : m_profile(fileName, true), m_fileName(fileName), m_options(options), m_library(library) {}

    int Run();

    // Keys; a failed write is noted and stops the walk at its next step.
    void Put(const char* key, const CStr& value) {
        if (m_writeFailed || m_profile.AppendKey(key, OneLine(value)) >= 0) return;
        m_writeFailed = true;
        NoteFileFailure();
    }
    void Put(const char* key, const std::string& value) { Put(key, CStr(value.c_str())); }
    void PutInt(const char* key, int64_t value) { Put(key, FormatInt(value)); }
    void PutReal(const char* key, double value, int places) { Put(key, FormatReal(value, places)); }

  private:
    void Section(const std::string& name) { m_profile.SetSection(name.c_str()); }
    void PutFixed(const FixedKey* begin, const FixedKey* end);
    bool Check(const char* text, int32_t result) { return m_library.ReportResult(text, result); }
    // Writes the record through the kind's key list under the section of the ID.
    template <typename Record, typename Keys>
    void PutRecord(SectionKind kind, int32_t id, Record& r, Keys keys);

    bool OpenFile();
    // walked: the walk completed, so the file may take the destination's place.
    bool FileWritten(bool walked);
    void Discard(); // removes the file built beside the destination
    void NoteFileFailure();
    void ReportFileFailure();
    void ReportStop();
    // A stop request (Ctrl-C, a termination signal) ends the walk between two records.
    bool Stopped() {
        if (platform::StopRequested()) m_stopped = true;
        return m_stopped;
    }
    bool Application();
    void ServiceSections();
    // False when the connection broke meanwhile: nothing that follows could be read.
    bool DeviceDetails(int32_t portID, int32_t deviceID);

    // The walk over one kind: count, then each ID by ordinal handed to item. With listed false
    // only the count is made.
    template <typename Count, typename ByOrdinal, typename Item>
    bool Walk(const KindExport& kind, bool listed, bool summaryWhenEmpty, Count count,
              ByOrdinal byOrdinal, Item item);
    bool Listed() const { return !m_options.versionOnly; }

    bool Port(int32_t id);
    bool ZigBee(int32_t id);
    bool Grade(int32_t id);
    bool Tank(int32_t id);
    bool Pump(int32_t id);
    bool Hose(int32_t pumpID, int32_t hoseNumber);
    bool Sensor(int32_t id);
    bool Product(int32_t id);
    bool Attendant(int32_t id);
    bool CardClient(int32_t id);

    CProfile m_profile;
    std::string m_fileName;
    ExportOptions m_options;
    ClientLibrary& m_library;
    bool m_writeFailed = false; // a key could not be written
    bool m_stopped = false;     // a stop request ended the walk
    std::string m_target;       // the file that finally takes the configuration
    std::string m_temp;         // the new file built beside it; empty for a device or pipe
    bool m_builtBeside = false; // the file is built beside the destination
    std::string m_reason;       // why the file could not be written
};

// Writes one record's keys in the formats of the file layout.
class KeyWriter {
  public:
    explicit KeyWriter(Exporter& exporter) : m_exporter(exporter) {}
    void Int(const char* key, const int32_t& value) { m_exporter.PutInt(key, value); }
    void Int16(const char* key, const int16_t& value) { m_exporter.PutInt(key, value); }
    void Text(const char* key, const CStr& value) { m_exporter.Put(key, value); }
    void Real(const char* key, const double& value, int places) {
        m_exporter.PutReal(key, value, places);
    }
    void RealAbove(const char* key, const double& value, int places, double floor) {
        if (value > floor) m_exporter.PutReal(key, value, places);
    }
    void Date(const char* key, const double& value) { m_exporter.PutReal(key, value, 5); }

  private:
    Exporter& m_exporter;
};

template <typename Record, typename Keys>
void Exporter::PutRecord(SectionKind kind, int32_t id, Record& r, Keys keys) {
    Section(SectionName(kind, id));
    KeyWriter writer(*this);
    keys(writer, r);
}

void Exporter::PutFixed(const FixedKey* begin, const FixedKey* end) {
    for (const FixedKey* k = begin; k != end; ++k) {
        m_profile.SetSection(k->section);
        Put(k->key, CStr(k->value));
    }
}

int Exporter::Run() {
    if (!OpenFile()) {
        ReportFileFailure();
        return -1;
    }
    bool done = Application();
    if (done) ServiceSections();
    done = done &&
           Walk(
               kPortExport, true, true, [this](int32_t& n) { return m_library.GetPortsCount(n); },
               [this](int32_t o, int32_t& id) { return m_library.GetPortByOrdinal(o, id); },
               [this](int32_t id) { return Port(id); });
    done =
        done &&
        Walk(
            kZigBeeExport, true, false, [this](int32_t& n) { return m_library.GetZigBeeCount(n); },
            [this](int32_t o, int32_t& id) { return m_library.GetZigBeeByOrdinal(o, id); },
            [this](int32_t id) { return ZigBee(id); });
    done =
        done && Walk(
                    kGradeExport, Listed(), false,
                    [this](int32_t& n) { return m_library.GetGradesCount(n); },
                    [this](int32_t o, int32_t& id) { return m_library.GetGradeByOrdinal(o, id); },
                    [this](int32_t id) { return Grade(id); });
    done = done && Walk(
                       kTankExport, Listed(), false,
                       [this](int32_t& n) { return m_library.GetTanksCount(n); },
                       [this](int32_t o, int32_t& id) { return m_library.GetTankByOrdinal(o, id); },
                       [this](int32_t id) { return Tank(id); });
    done = done && Walk(
                       kPumpExport, Listed(), false,
                       [this](int32_t& n) { return m_library.GetPumpsCount(n); },
                       [this](int32_t o, int32_t& id) { return m_library.GetPumpByOrdinal(o, id); },
                       [this](int32_t id) { return Pump(id); });
    done =
        done && Walk(
                    kSensorExport, Listed(), false,
                    [this](int32_t& n) { return m_library.GetSensorsCount(n); },
                    [this](int32_t o, int32_t& id) { return m_library.GetSensorByOrdinal(o, id); },
                    [this](int32_t id) { return Sensor(id); });
    // Number -1, empty texts and group -1 select every product.
    const CStr any("");
    done =
        done &&
        (m_options.noProducts ||
         Walk(
             kProductExport, Listed(), false,
             [&](int32_t& n) { return m_library.GetProductsCount(-1, any, any, any, any, -1, n); },
             [&](int32_t o, int32_t& id) {
                 return m_library.GetProductByOrdinal(o, -1, any, any, any, any, -1, id);
             },
             [this](int32_t id) { return Product(id); }));
    done = done &&
           (m_options.noAttendants ||
            Walk(
                kAttendantExport, Listed(), false,
                [this](int32_t& n) { return m_library.GetAttendantsCount(n); },
                [this](int32_t o, int32_t& id) { return m_library.GetAttendantByOrdinal(o, id); },
                [this](int32_t id) { return Attendant(id); }));
    done = done &&
           (m_options.noCardClients ||
            Walk(
                kClientExport, Listed(), false,
                [this](int32_t& n) { return m_library.GetCardClientsCount(n); },
                [this](int32_t o, int32_t& id) { return m_library.GetCardClientByOrdinal(o, id); },
                [this](int32_t id) { return CardClient(id); }));
    done = done && !Stopped();
    const bool written = FileWritten(done);
    if (m_stopped) {
        ReportStop();
        return -1;
    }
    if (!written) ReportFileFailure();
    if (!done || !written) return -1;
    std::printf("\nAll done.\n");
    return 0;
}

template <typename Count, typename ByOrdinal, typename Item>
bool Exporter::Walk(const KindExport& kind, bool listed, bool summaryWhenEmpty, Count count,
                    ByOrdinal byOrdinal, Item item) {
    int32_t total = 0;
    if (Stopped() || !Check(kind.countFailed, count(total))) return false;
    if (!listed) return true;
    for (int32_t ordinal = 1; ordinal <= total; ++ordinal) {
        if (Stopped()) return false;
        std::printf(".");
        int32_t id = -1;
        if (!Check(kind.byOrdinalFailed, byOrdinal(ordinal, id))) return false;
        if (!item(id) || m_writeFailed) return false;
    }
    if (total > 0 || summaryWhenEmpty) std::printf(kind.summary, total);
    return true;
}

// The configuration is built in a new file beside the destination and moved over it only when
// complete, so a failed or stopped export leaves the previous file as it was (a symbolic link
// keeps its target, whose mode and owner are kept). A device or pipe is written as it is:
// replacing it would remove the device itself.
bool Exporter::OpenFile() {
    const platform::FileKind kind = platform::GetFileKind(m_fileName);
    if (kind == platform::FileKind::Directory) {
        m_reason = "is a folder";
        return false;
    }
    if (kind != platform::FileKind::Other) {
        const bool created = kind == platform::FileKind::File
                                 ? platform::CreateReplacement(m_fileName, m_target, m_temp)
                                 : platform::CreateNewFileBeside(m_fileName, m_target, m_temp);
        if (!created) {
            m_reason = platform::LastFileErrorText(false);
            return false;
        }
        m_profile.SetName(m_temp.c_str());
        m_builtBeside = true;
    }
    if (m_profile.Open()) return true;
    NoteFileFailure();
    Discard();
    return false;
}

// Every key reached the file, the file is on the disk and in place; the file is closed. A file
// built beside the destination is moved over it, or removed when anything failed.
bool Exporter::FileWritten(bool walked) {
    bool written = !m_writeFailed;
    // A file that is going to be removed need not reach the disk first.
    const bool keep = walked || m_temp.empty();
    if (written && keep && !m_profile.Flush()) {
        NoteFileFailure();
        written = false;
    }
    m_profile.Close();
    if (m_temp.empty()) return written;
    if (walked && written && !platform::ReplaceFile(m_temp, m_target)) {
        NoteFileFailure();
        written = false;
    }
    if (!walked || !written) Discard();
    return written;
}

void Exporter::Discard() {
    if (!m_temp.empty()) platform::DeleteFile(m_temp);
    m_temp.clear();
}

// Keeps the reason of the first failure, read right after it.
void Exporter::NoteFileFailure() {
    if (m_reason.empty()) m_reason = platform::LastFileErrorText(false);
}

void Exporter::ReportFileFailure() {
    std::printf("\nConfiguration file %s cannot be written: %s.\n", m_fileName.c_str(),
                m_reason.c_str());
    ToolLog().Write("Configuration file %s cannot be written: %s.", m_fileName.c_str(),
                    m_reason.c_str());
}

void Exporter::ReportStop() {
    if (!m_builtBeside) { // a device or pipe took what was written
        std::printf("\nExport stopped on request.\n");
        ToolLog().Write("Export stopped on request.");
        return;
    }
    std::printf("\nExport stopped on request; %s is left as it was.\n", m_fileName.c_str());
    ToolLog().Write("Export stopped on request; %s is left as it was.", m_fileName.c_str());
}

bool Exporter::Application() {
    const char* section = "Application";
    m_profile.SetSection(section);
    Put("Name", CStr(kApplicationName));
    Put("IniVersion", CStr(kProgramVersion));
    CDateTime now;
    now.SetNow();
    char generated[160];
    now.Format(generated, sizeof generated, nullptr, nullptr); // locale short date and time
    Put("DateGenerated", CStr(generated));

    CStr clientVersion("");
    if (!Check(kDllVersionFailed, m_library.DllVersion(clientVersion))) return false;
    Put("ClientVersion", clientVersion);
    CStr serverVersion("");
    if (!Check(kServerVersionFailed, m_library.ServerVersion(serverVersion))) return false;
    Put("ServerVersion", serverVersion);

    // Network settings are optional: older libraries and servers do not give them.
    CStr ip(""), mask(""), gateway(""), dns(""), network("");
    int16_t dhcp = 0;
    if (m_library.GetTCPIPConfig(ip, mask, gateway, dns, dhcp, network) == 0) {
        Put("IPAddress", ip);
        Put("NetMask", mask);
        Put("Gateway", gateway);
        Put("DNSServer", dns);
        Put("DHCP", CStr(dhcp != 0 ? "Yes" : "No"));
        Put("NetworkName", network);
    }
    return !m_writeFailed;
}

void Exporter::ServiceSections() {
    const ExportOptions& o = m_options;
    if (!(o.pam || o.company || o.gsc || o.ipt)) return;
    PutFixed(std::begin(kServiceKeys), std::end(kServiceKeys));
    m_profile.SetSection("Protocol");
    Put("Name", CStr(o.company ? "Company" : "PAM"));
    PutFixed(std::begin(kCompanyKeys), std::end(kCompanyKeys));
    PutFixed(std::begin(kPamKeys), std::end(kPamKeys));
    if (o.gsc) PutFixed(std::begin(kGscKeys), std::end(kGscKeys));
    if (o.ipt) PutFixed(std::begin(kIptKeys), std::end(kIptKeys));
}

// Versions of a radio device, written into the current section; a failure only loses them.
bool Exporter::DeviceDetails(int32_t portID, int32_t deviceID) {
    CStr serialNo(""), boot(""), firmware("");
    if (!Check(kDeviceDetailsFailed,
               m_library.GetDeviceDetails(portID, deviceID, serialNo, boot, firmware)))
        return !m_library.ConnectionBroken();
    Put("CurrentSerialNo", serialNo);
    Put("BootVersion", boot);
    Put("FirmwareVersion", firmware);
    return true;
}

bool Exporter::Port(int32_t id) {
    PortRecord r;
    if (!Check(kPortExport.propertiesFailed,
               m_library.GetPortProperties(id, r.number, r.name, r.protocolID, r.deviceType,
                                           r.serialNo)))
        return false;
    int32_t panID = 0, channels = 0;
    int64_t keyA = 0, keyB = 0;
    if (!Check(kZB2GConfigFailed, m_library.GetZB2GConfig(id, panID, channels, keyA, keyB)))
        return false;
    PutRecord(SectionKind::Port, id, r, [](auto& v, auto& rec) { PortKeys(v, rec); });
    Put("PanID", FormatHex4(panID));
    Put("Channels", ChannelList(channels));
    Put("KeyA", FormatHex64(keyA));
    Put("KeyB", FormatHex64(keyB));
    if (m_options.pam && id > kLastPumpPortID) {
        char gauge[32];
        std::snprintf(gauge, sizeof gauge, "TankGauge%02d", id);
        Section(gauge);
        Put("Port", r.name);
        PutInt("Protocol", r.protocolID);
        Section(SectionName(SectionKind::Port, id)); // the device keys follow under a second header
    }
    return DeviceDetails(id, -1);
}

bool Exporter::ZigBee(int32_t id) {
    ZigBeeRecord r;
    if (!Check(kZigBeeExport.propertiesFailed,
               m_library.GetZigBeeProperties(id, r.number, r.name, r.deviceType, r.serialNumber,
                                             r.nodeIdentifier, r.portID)))
        return false;
    PutRecord(SectionKind::ZigBee, id, r, [](auto& v, auto& rec) { ZigBeeKeys(v, rec); });
    return DeviceDetails(r.portID, id);
}

bool Exporter::Grade(int32_t id) {
    GradeRecord r;
    if (!Check(kGradeExport.propertiesFailed,
               m_library.GetGradeProperties(id, r.number, r.name, r.shortName, r.code, r.type)))
        return false;
    PutRecord(SectionKind::Grade, id, r, [](auto& v, auto& rec) { GradeKeys(v, rec); });
    for (int16_t level = 1; level <= kGradePriceLevels; ++level) {
        double price = 0;
        if (!Check(kGradePriceFailed, m_library.GetGradePrice(id, level, price))) return false;
        if (price != 0) PutReal(GradePriceKey(level).c_str(), price, 3);
    }
    return true;
}

bool Exporter::Tank(int32_t id) {
    TankRecord r;
    // Live gauge readings are not part of the configuration.
    double theo = 0, volume = 0, tcVolume = 0, ullage = 0, temperature = 0, level = 0,
           waterVolume = 0, waterLevel = 0;
    if (!Check(kTankExport.propertiesFailed,
               m_library.GetTankProperties(
                   id, r.number, r.name, r.gradeID, r.type, r.capacity, r.diameter, theo, volume,
                   tcVolume, ullage, temperature, level, waterVolume, waterLevel, r.gaugeID,
                   r.probeNo, r.alarmsMask, r.slotZigBeeID, r.probeType, r.probeSerialNo)))
        return false;
    PutRecord(SectionKind::Tank, id, r, [](auto& v, auto& rec) { TankKeys(v, rec); });
    return true;
}

bool Exporter::Pump(int32_t id) {
    PumpRecord r;
    if (!Check(kPumpExport.propertiesFailed,
               m_library.GetPumpProperties(id, r.number, r.name, r.physicalNumber, r.side,
                                           r.address, r.priceLevel1, r.priceLevel2,
                                           r.priceDspFormat, r.volumeDspFormat, r.valueDspFormat,
                                           r.type, r.portID, r.attendantID, r.authMode, r.stackMode,
                                           r.prepayAllowed, r.preauthAllowed, r.slotZigBeeID,
                                           r.muxSlotZigBeeID, r.priceControl, r.hasPreset)))
        return false;
    PutRecord(SectionKind::Pump, id, r, [](auto& v, auto& rec) { PumpKeys(v, rec); });

    int32_t hoses = 0;
    if (!Check(kPumpHosesCountFailed, m_library.GetPumpHosesCount(id, hoses))) return false;
    for (int32_t hose = 1; hose <= hoses; ++hose) {
        if (!Hose(id, hose)) return false;
    }
    return true;
}

// One hose of the pump, its keys numbered by the hose's own Number.
bool Exporter::Hose(int32_t pumpID, int32_t hoseNumber) {
    HoseRecord h;
    if (!Check(kPumpHoseByNumberFailed, m_library.GetPumpHoseByNumber(pumpID, hoseNumber, h.id)))
        return false;
    int32_t number = 0, pump = -1;
    double theoValue = 0, theoVolume = 0, elecValue = 0, elecVolume = 0; // meter totals
    if (!Check(kHosePropertiesFailed, m_library.GetHoseProperties(
                                          h.id, number, pump, h.tankID, h.physicalNumber, theoValue,
                                          theoVolume, elecValue, elecVolume, h.reader, h.prices[0],
                                          h.prices[1], h.prices[2], h.prices[3], h.enabled)))
        return false;
    KeyWriter writer(*this);
    HoseKeys(writer, h, number);
    return true;
}

bool Exporter::Sensor(int32_t id) {
    SensorRecord r;
    if (!Check(kSensorExport.propertiesFailed,
               m_library.GetSensorProperties(id, r.number, r.name, r.portID, r.type, r.address,
                                             r.sensorNo, r.slotZigBeeID, r.serialNo)))
        return false;
    PutRecord(SectionKind::Sensor, id, r, [](auto& v, auto& rec) { SensorKeys(v, rec); });
    return true;
}

bool Exporter::Product(int32_t id) {
    ProductRecord r;
    double date1 = 0, date2 = 0; // change dates of the newest getter, not configuration
    if (!Check(kProductExport.propertiesFailed,
               m_library.GetProductProperties(id, r.number, r.name, r.tag, r.enabled, r.shortName,
                                              r.barcode, r.quickCode, r.prices[0], r.prices[1],
                                              r.prices[2], r.prices[3], r.group, date1, date2)))
        return false;
    PutRecord(SectionKind::Product, id, r, [](auto& v, auto& rec) { ProductKeys(v, rec); });
    return true;
}

bool Exporter::Attendant(int32_t id) {
    AttendantRecord r;
    if (!Check(kAttendantExport.propertiesFailed,
               m_library.GetAttendantProperties(id, r.number, r.name, r.shortName, r.password,
                                                r.tag, r.idNumber, r.shiftAStart, r.shiftAEnd,
                                                r.shiftBStart, r.shiftBEnd, r.type)))
        return false;
    r.enabled = r.type; // older readers take the attendant's type from Enabled
    PutRecord(SectionKind::Attendant, id, r, [](auto& v, auto& rec) { AttendantKeys(v, rec); });
    return true;
}

bool Exporter::CardClient(int32_t id) {
    CardClientRecord r;
    if (!Check(kClientExport.propertiesFailed,
               m_library.GetCardClientProperties(
                   id, r.number, r.name, r.tag, r.enabled, r.priceLevel, r.plate, r.idNumber,
                   r.shortName, r.password, r.gradeType, r.cardType, r.limitType, r.limit,
                   r.entryType, r.expiration, r.parentID, r.odoSerialNo, r.odometer, r.factor)))
        return false;
    PutRecord(SectionKind::Client, id, r, [](auto& v, auto& rec) { CardClientKeys(v, rec); });
    return true;
}

} // namespace

int ExportConfiguration(ClientLibrary& library, const char* fileName,
                        const ExportOptions& options) {
    Exporter exporter(library, fileName, options);
    return exporter.Run();
}
