#include "extract/Export.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "common/CDateTime.h"
#include "common/CProfile.h"
#include "common/CStr.h"
#include "extract/ConfigLayout.h"
#include "extract/ToolGlobals.h"

unsigned char versionOnly = 0;

namespace {

constexpr const char* kProgramVersion = "2.6.0.0";
constexpr const char* kApplicationName = "QV2Serial service configuration";
// Address of the site device on the controller's own local network.
constexpr const char* kGscDefaultName = "192.168.1.200";
// Hose prices at or below this are not written.
constexpr double kHosePriceFloor = 0.1;
constexpr int kPriceLevels = 8;
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

struct ExportOptions {
    bool pam;
    bool company;
    bool gsc;
    bool ipt;
    bool noProducts;
    bool noAttendants;
    bool noCardClients;
};

// One export run: the file being written and the switches. Each step returns false when a
// library failure stops the walk (already reported).
class Exporter {
  public:
    Exporter(const char* fileName, const ExportOptions& options)
        : m_profile(fileName, true), m_options(options), m_library(ToolLibrary()) {}

    int Run();

  private:
    // Sections and keys.
    void Section(const std::string& name) { m_profile.SetSection(name.c_str()); }
    void Put(const char* key, const CStr& value) { m_profile.AppendKey(key, value); }
    void Put(const char* key, const std::string& value) { Put(key, CStr(value.c_str())); }
    void PutInt(const char* key, int64_t value) { Put(key, FormatInt(value)); }
    void PutReal(const char* key, double value, int places) { Put(key, FormatReal(value, places)); }
    void PutFixed(const FixedKey* begin, const FixedKey* end);
    bool Check(const char* text, int32_t result) { return m_library.ReportResult(text, result); }

    bool Application();
    void ServiceSections();
    void DeviceDetails(int32_t portID, int32_t deviceID);

    // The walk over one kind: count, then each ID by ordinal handed to item. With listed false
    // only the count is made.
    template <typename Count, typename ByOrdinal, typename Item>
    bool Walk(const KindExport& kind, bool listed, bool summaryWhenEmpty, Count count,
              ByOrdinal byOrdinal, Item item);
    bool Listed() const { return versionOnly == 0; }

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
    ExportOptions m_options;
    ClientLibrary& m_library;
};

void Exporter::PutFixed(const FixedKey* begin, const FixedKey* end) {
    for (const FixedKey* k = begin; k != end; ++k) {
        m_profile.SetSection(k->section);
        m_profile.AppendKey(k->key, CStr(k->value));
    }
}

int Exporter::Run() {
    // A file that cannot be deleted is emptied, so no line of its old content stays behind.
    if (!m_profile.Delete() && m_profile.Open()) m_profile.Truncate();
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
    if (!done) {
        m_profile.Close();
        return -1;
    }
    std::printf("\nAll done.\n");
    m_profile.Close();
    return 0;
}

template <typename Count, typename ByOrdinal, typename Item>
bool Exporter::Walk(const KindExport& kind, bool listed, bool summaryWhenEmpty, Count count,
                    ByOrdinal byOrdinal, Item item) {
    int32_t total = 0;
    if (!Check(kind.countFailed, count(total))) return false;
    if (!listed) return true;
    for (int32_t ordinal = 1; ordinal <= total; ++ordinal) {
        std::printf(".");
        int32_t id = -1;
        if (!Check(kind.byOrdinalFailed, byOrdinal(ordinal, id))) return false;
        if (!item(id)) return false;
    }
    if (total > 0 || summaryWhenEmpty) std::printf(kind.summary, total);
    return true;
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
    return true;
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
void Exporter::DeviceDetails(int32_t portID, int32_t deviceID) {
    CStr serialNo(""), boot(""), firmware("");
    if (!Check(kDeviceDetailsFailed,
               m_library.GetDeviceDetails(portID, deviceID, serialNo, boot, firmware)))
        return;
    Put("CurrentSerialNo", serialNo);
    Put("BootVersion", boot);
    Put("FirmwareVersion", firmware);
}

bool Exporter::Port(int32_t id) {
    int32_t number = 0;
    CStr name(""), serialNo("");
    int16_t protocolID = 0, deviceType = 0;
    if (!Check(kPortExport.propertiesFailed,
               m_library.GetPortProperties(id, number, name, protocolID, deviceType, serialNo)))
        return false;
    int32_t panID = 0, channels = 0;
    int64_t keyA = 0, keyB = 0;
    if (!Check(kZB2GConfigFailed, m_library.GetZB2GConfig(id, panID, channels, keyA, keyB)))
        return false;
    const std::string section = SectionName(SectionKind::Port, id);
    Section(section);
    PutInt("Number", number);
    Put("Name", name);
    Put("SerialNo", serialNo);
    PutInt("ProtocolID", protocolID);
    PutInt("DeviceType", deviceType);
    Put("PanID", FormatHex4(panID));
    Put("Channels", ChannelList(channels));
    Put("KeyA", FormatHex64(keyA));
    Put("KeyB", FormatHex64(keyB));
    if (m_options.pam && id > kLastPumpPortID) {
        char gauge[32];
        std::snprintf(gauge, sizeof gauge, "TankGauge%02d", id);
        Section(gauge);
        Put("Port", name);
        PutInt("Protocol", protocolID);
        Section(section); // the device keys follow under a second header of the port
    }
    DeviceDetails(id, -1);
    return true;
}

bool Exporter::ZigBee(int32_t id) {
    int32_t number = 0, portID = -1;
    CStr name(""), serialNumber(""), nodeIdentifier("");
    int16_t deviceType = 0;
    if (!Check(kZigBeeExport.propertiesFailed,
               m_library.GetZigBeeProperties(id, number, name, deviceType, serialNumber,
                                             nodeIdentifier, portID)))
        return false;
    Section(SectionName(SectionKind::ZigBee, id));
    PutInt("Number", number);
    Put("Name", name);
    PutInt("DeviceType", deviceType);
    Put("SerialNumber", serialNumber);
    Put("NodeIdentifier", nodeIdentifier);
    PutInt("PortID", portID);
    DeviceDetails(portID, id);
    return true;
}

bool Exporter::Grade(int32_t id) {
    int32_t number = 0;
    CStr name(""), shortName(""), code("");
    int16_t type = 0;
    if (!Check(kGradeExport.propertiesFailed,
               m_library.GetGradeProperties(id, number, name, shortName, code, type)))
        return false;
    Section(SectionName(SectionKind::Grade, id));
    PutInt("Number", number);
    Put("Name", name);
    Put("ShortName", shortName);
    Put("Code", code);
    PutInt("GradeType", type);
    for (int16_t level = 1; level <= kPriceLevels; ++level) {
        double price = 0;
        if (!Check(kGradePriceFailed, m_library.GetGradePrice(id, level, price))) return false;
        if (price != 0) {
            char key[16];
            std::snprintf(key, sizeof key, "Price%02d", level);
            PutReal(key, price, 3);
        }
    }
    return true;
}

bool Exporter::Tank(int32_t id) {
    int32_t number = 0, gradeID = -1, gaugeID = -1, alarms = 0, slot = -1, probeSerialNo = 0;
    CStr name("");
    int16_t type = 0, probeNo = 0, probeType = 0;
    double capacity = 0, diameter = 0, theo = 0, volume = 0, tcVolume = 0, ullage = 0,
           temperature = 0, level = 0, waterVolume = 0, waterLevel = 0;
    if (!Check(kTankExport.propertiesFailed,
               m_library.GetTankProperties(id, number, name, gradeID, type, capacity, diameter,
                                           theo, volume, tcVolume, ullage, temperature, level,
                                           waterVolume, waterLevel, gaugeID, probeNo, alarms, slot,
                                           probeType, probeSerialNo)))
        return false;
    Section(SectionName(SectionKind::Tank, id));
    PutInt("Number", number);
    Put("Name", name);
    PutInt("Grade", gradeID);
    PutInt("Type", type);
    PutReal("Capacity", capacity, 3);
    PutReal("Diameter", diameter, 3);
    PutInt("TankGauge", gaugeID);
    PutInt("Probe", probeNo);
    PutInt("GaugeAlarmsMask", alarms);
    PutInt("SlotZigBeeID", slot);
    PutInt("ProbeType", probeType);
    PutInt("ProbeSerialNo", probeSerialNo);
    return true;
}

bool Exporter::Pump(int32_t id) {
    int32_t number = 0, portID = -1, attendantID = -1, slot = -1, muxSlot = -1;
    CStr name("");
    int16_t physicalNumber = 0, side = 0, address = 0, priceLevel1 = 0, priceLevel2 = 0,
            priceFormat = 0, volumeFormat = 0, valueFormat = 0, type = 0, authMode = 0,
            stackMode = 0, prepay = 0, preauth = 0, priceControl = 0, hasPreset = 0;
    if (!Check(kPumpExport.propertiesFailed,
               m_library.GetPumpProperties(
                   id, number, name, physicalNumber, side, address, priceLevel1, priceLevel2,
                   priceFormat, volumeFormat, valueFormat, type, portID, attendantID, authMode,
                   stackMode, prepay, preauth, slot, muxSlot, priceControl, hasPreset)))
        return false;
    Section(SectionName(SectionKind::Pump, id));
    PutInt("Number", number);
    Put("Name", name);
    PutInt("PhysicalNumber", physicalNumber);
    PutInt("Side", side);
    PutInt("Address", address);
    PutInt("Slot", slot);
    PutInt("PriceLevel1", priceLevel1);
    PutInt("PriceLevel2", priceLevel2);
    PutInt("PriceDspFormat", priceFormat);
    PutInt("VolumeDspFormat", volumeFormat);
    PutInt("ValueDspFormat", valueFormat);
    PutInt("PumpType", type);
    PutInt("PortID", portID);
    PutInt("AttendantID", attendantID);
    PutInt("AuthMode", authMode);
    PutInt("StackMode", stackMode);
    PutInt("PrepayAllowed", prepay);
    PutInt("PreauthAllowed", preauth);
    PutInt("MuxSlotZigBeeID", muxSlot);
    PutInt("PriceControl", priceControl);
    PutInt("HasPreset", hasPreset);

    int32_t hoses = 0;
    if (!Check(kPumpHosesCountFailed, m_library.GetPumpHosesCount(id, hoses))) return false;
    for (int32_t hose = 1; hose <= hoses; ++hose) {
        if (!Hose(id, hose)) return false;
    }
    return true;
}

// One hose of the pump, its keys numbered by the hose's own Number.
bool Exporter::Hose(int32_t pumpID, int32_t hoseNumber) {
    int32_t hoseID = -1;
    if (!Check(kPumpHoseByNumberFailed, m_library.GetPumpHoseByNumber(pumpID, hoseNumber, hoseID)))
        return false;
    int32_t number = 0, pump = -1, tankID = -1, physicalNumber = 0;
    double theoValue = 0, theoVolume = 0, elecValue = 0, elecVolume = 0;
    int16_t reader = 0, enabled = 0;
    double prices[4] = {0, 0, 0, 0};
    if (!Check(kHosePropertiesFailed,
               m_library.GetHoseProperties(hoseID, number, pump, tankID, physicalNumber, theoValue,
                                           theoVolume, elecValue, elecVolume, reader, prices[0],
                                           prices[1], prices[2], prices[3], enabled)))
        return false;
    PutInt(HoseKey("Hose%dID", number).c_str(), hoseID);
    PutInt(HoseKey("Hose%dTank", number).c_str(), tankID);
    PutInt(HoseKey("Hose%dPhysicalNumber", number).c_str(), physicalNumber);
    PutInt(HoseKey("Hose%dReader", number).c_str(), reader);
    static const char* const kPriceKeys[4] = {"Hose%dPrice1", "Hose%dPrice2", "Hose%dPrice3",
                                              "Hose%dPrice4"};
    for (int i = 0; i < 4; ++i) {
        if (prices[i] > kHosePriceFloor)
            PutReal(HoseKey(kPriceKeys[i], number).c_str(), prices[i], 3);
    }
    PutInt(HoseKey("Hose%dEnabled", number).c_str(), enabled);
    return true;
}

bool Exporter::Sensor(int32_t id) {
    int32_t number = 0, portID = -1, slot = -1, serialNo = 0;
    CStr name("");
    int16_t type = 0, address = 0, sensorNo = 0;
    if (!Check(kSensorExport.propertiesFailed,
               m_library.GetSensorProperties(id, number, name, portID, type, address, sensorNo,
                                             slot, serialNo)))
        return false;
    Section(SectionName(SectionKind::Sensor, id));
    PutInt("Number", number);
    Put("Name", name);
    PutInt("PortID", portID);
    PutInt("Type", type);
    PutInt("Address", address);
    PutInt("SensorNo", sensorNo);
    PutInt("SlotZigBeeID", slot);
    PutInt("SensorSerialNo", serialNo);
    return true;
}

bool Exporter::Product(int32_t id) {
    int32_t number = 0, quickCode = 0, group = -1;
    CStr name(""), tag(""), shortName(""), barcode("");
    int16_t enabled = 0;
    double prices[4] = {0, 0, 0, 0};
    double date1 = 0, date2 = 0;
    if (!Check(kProductExport.propertiesFailed,
               m_library.GetProductProperties(id, number, name, tag, enabled, shortName, barcode,
                                              quickCode, prices[0], prices[1], prices[2], prices[3],
                                              group, date1, date2)))
        return false;
    Section(SectionName(SectionKind::Product, id));
    PutInt("Number", number);
    Put("Name", name);
    Put("Tag", tag);
    PutInt("Enabled", enabled);
    Put("ShortName", shortName);
    Put("Barcode", barcode);
    PutInt("QuickCode", quickCode);
    PutReal("Price1", prices[0], 3);
    PutReal("Price2", prices[1], 3);
    PutReal("Price3", prices[2], 3);
    PutReal("Price4", prices[3], 3);
    PutInt("ProductGroup", group);
    return true;
}

bool Exporter::Attendant(int32_t id) {
    int32_t number = 0;
    CStr name(""), shortName(""), password(""), tag(""), idNumber("");
    int16_t shiftAStart = 0, shiftAEnd = 0, shiftBStart = 0, shiftBEnd = 0, type = 0;
    if (!Check(kAttendantExport.propertiesFailed,
               m_library.GetAttendantProperties(id, number, name, shortName, password, tag,
                                                idNumber, shiftAStart, shiftAEnd, shiftBStart,
                                                shiftBEnd, type)))
        return false;
    Section(SectionName(SectionKind::Attendant, id));
    PutInt("Number", number);
    Put("Name", name);
    Put("ShortName", shortName);
    Put("Password", password);
    Put("Tag", tag);
    Put("IDNumber", idNumber);
    PutInt("ShiftAStart", shiftAStart);
    PutInt("ShiftAEnd", shiftAEnd);
    PutInt("ShiftBStart", shiftBStart);
    PutInt("ShiftBEnd", shiftBEnd);
    PutInt("Enabled", type); // older readers take the attendant's type from Enabled
    PutInt("Type", type);
    return true;
}

bool Exporter::CardClient(int32_t id) {
    int32_t number = 0, parentID = -1, factor = 0;
    CStr name(""), tag(""), plate(""), idNumber(""), shortName(""), password(""), odoSerial("");
    int16_t enabled = 0, priceLevel = 0, gradeType = 0, cardType = 0, limitType = 0, entryType = 0;
    double limit = 0, expiration = 0, odometer = 0;
    if (!Check(kClientExport.propertiesFailed,
               m_library.GetCardClientProperties(id, number, name, tag, enabled, priceLevel, plate,
                                                 idNumber, shortName, password, gradeType, cardType,
                                                 limitType, limit, entryType, expiration, parentID,
                                                 odoSerial, odometer, factor)))
        return false;
    Section(SectionName(SectionKind::Client, id));
    PutInt("Number", number);
    Put("Name", name);
    Put("Tag", tag);
    PutInt("Enabled", enabled);
    PutInt("PriceLevel", priceLevel);
    Put("Plate", plate);
    Put("IDNumber", idNumber);
    Put("ShortName", shortName);
    Put("Password", password);
    PutInt("GradeType", gradeType);
    PutInt("CardType", cardType);
    PutInt("LimitType", limitType);
    PutReal("LimitValue", limit, 3);
    PutInt("EntryType", entryType);
    PutReal("ExpirationDate", expiration, 5); // automation day number
    PutInt("ParentID", parentID);
    Put("QVOdoSerialNo", odoSerial);
    PutReal("Odometer", odometer, 1);
    PutInt("Factor", factor);
    return true;
}

} // namespace

int ExportConfiguration(const char* fileName, bool pam, bool company, bool gsc, bool ipt,
                        bool noProducts, bool noAttendants, bool noCardClients) {
    const ExportOptions options{pam, company, gsc, ipt, noProducts, noAttendants, noCardClients};
    Exporter exporter(fileName, options);
    return exporter.Run();
}
