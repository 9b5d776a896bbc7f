// ConfigLayout: the layout of the configuration file shared by the export and the import: the
// entity kinds with their section-name formats, console words and texts, the recognition of a
// section name, and the value formats (always with a point as decimal separator).
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "common/CStr.h"

// Entity kinds, in the order in which the import looks for their texts in a section name.
enum class SectionKind { Port, Grade, Tank, ZigBee, Pump, Sensor, Attendant, Product, Client };
constexpr int kKindCount = 9;

struct KindLayout {
    SectionKind kind;
    const char* text;          // marks the kind in a section name (case-sensitive)
    const char* sectionFormat; // section name from the entity's ID
    const char* importHeader;  // printed when the import reaches a section of this kind
    const char* singular;      // word of the import summary for a count of 1
    const char* plural;        // word for any other count
};

// Recognition order; the row of a kind is kKinds[static_cast<int>(kind)].
extern const std::array<KindLayout, kKindCount> kKinds;
// Order of the import summaries.
extern const std::array<SectionKind, kKindCount> kImportSummaryOrder;

inline const KindLayout& LayoutOf(SectionKind kind) {
    return kKinds[static_cast<int>(kind)];
}

// Section name of the entity with this ID ("Pump07", "Client100").
std::string SectionName(SectionKind kind, int32_t id);

// All decimal digits of the name in order as one number ("A1B2" gives 12); 0 when there are
// none, when they make 0, or when they exceed the 32-bit ID range.
int32_t SectionNumber(const CStr& name);
// The first kind whose text occurs in the name; false when none does.
bool FindKind(const CStr& name, SectionKind& kind);

// Value formats of the file.
std::string FormatInt(int64_t value);             // "%d"
std::string FormatReal(double value, int places); // "%.<places>f", always with a point
std::string FormatHex4(int32_t value);            // "0x%04X"
std::string FormatHex64(int64_t value);           // "0x%016llX": 16 upper-case hex digits
// Radio channels 11 to 26 of the mask: " 11,15,20" for bits 11, 15, 20; "" for none.
std::string ChannelList(int32_t mask);
// Key name with the hose number in it ("Hose%dPrice1" with 2 gives "Hose2Price1").
std::string HoseKey(const char* format, int32_t hose);

// Text values are written on one line: a line break in a server's text would otherwise start a
// section or key of its own. Each CR and LF becomes a blank.
CStr OneLine(const CStr& value);

// The records of the file, one per kind, and their key lists. Each Keys function hands every
// key of the kind's section, in file order, to the visitor together with the record's field, its
// width and its format:
//   v.Int(key, int32_t&)  v.Int16(key, int16_t&)  v.Text(key, CStr&)
//   v.Real(key, double&, places)            always written
//   v.RealAbove(key, double&, places, floor) written only when the value is above floor
//   v.Date(key, double&)                    an automation day number, "%.5f"
// The export writes a record through them and the import reads one, so the two cannot disagree.
// Keys that only one side knows (the port's radio keys, grade prices, device versions) stay with
// that side.

struct PortRecord {
    int32_t number = 0;
    CStr name, serialNo;
    int16_t protocolID = 0, deviceType = 0;
};
template <typename V> void PortKeys(V& v, PortRecord& r) {
    v.Int("Number", r.number);
    v.Text("Name", r.name);
    v.Text("SerialNo", r.serialNo);
    v.Int16("ProtocolID", r.protocolID);
    v.Int16("DeviceType", r.deviceType);
}

struct ZigBeeRecord {
    int32_t number = 0, portID = -1;
    CStr name, serialNumber, nodeIdentifier;
    int16_t deviceType = 0;
};
template <typename V> void ZigBeeKeys(V& v, ZigBeeRecord& r) {
    v.Int("Number", r.number);
    v.Text("Name", r.name);
    v.Int16("DeviceType", r.deviceType);
    v.Text("SerialNumber", r.serialNumber);
    v.Text("NodeIdentifier", r.nodeIdentifier);
    v.Int("PortID", r.portID);
}

// Grade prices follow the grade's keys as Price01 to Price08 (GradePriceKey).
struct GradeRecord {
    int32_t number = 0;
    CStr name, shortName, code;
    int16_t type = 0;
};
template <typename V> void GradeKeys(V& v, GradeRecord& r) {
    v.Int("Number", r.number);
    v.Text("Name", r.name);
    v.Text("ShortName", r.shortName);
    v.Text("Code", r.code);
    v.Int16("GradeType", r.type);
}
constexpr int kGradePriceLevels = 8;
std::string GradePriceKey(int level); // "Price%02d"

struct TankRecord {
    int32_t number = 0, gradeID = -1, gaugeID = -1, alarmsMask = 0, slotZigBeeID = -1;
    int32_t probeSerialNo = 0;
    CStr name;
    int16_t type = 0, probeNo = 0, probeType = 0;
    double capacity = 0, diameter = 0;
};
template <typename V> void TankKeys(V& v, TankRecord& r) {
    v.Int("Number", r.number);
    v.Text("Name", r.name);
    v.Int("Grade", r.gradeID);
    v.Int16("Type", r.type);
    v.Real("Capacity", r.capacity, 3);
    v.Real("Diameter", r.diameter, 3);
    v.Int("TankGauge", r.gaugeID);
    v.Int16("Probe", r.probeNo);
    v.Int("GaugeAlarmsMask", r.alarmsMask);
    v.Int("SlotZigBeeID", r.slotZigBeeID);
    v.Int16("ProbeType", r.probeType);
    v.Int("ProbeSerialNo", r.probeSerialNo);
}

// A pump's hoses follow its keys, each under keys numbered by the hose's Number (HoseKeys).
struct PumpRecord {
    int32_t number = 0, portID = -1, attendantID = -1, slotZigBeeID = -1, muxSlotZigBeeID = -1;
    CStr name;
    int16_t physicalNumber = 0, side = 0, address = 0, priceLevel1 = 0, priceLevel2 = 0,
            priceDspFormat = 0, volumeDspFormat = 0, valueDspFormat = 0, type = 0, authMode = 0,
            stackMode = 0, prepayAllowed = 0, preauthAllowed = 0, priceControl = 0, hasPreset = 0;
};
template <typename V> void PumpKeys(V& v, PumpRecord& r) {
    v.Int("Number", r.number);
    v.Text("Name", r.name);
    v.Int16("PhysicalNumber", r.physicalNumber);
    v.Int16("Side", r.side);
    v.Int16("Address", r.address);
    v.Int("Slot", r.slotZigBeeID);
    v.Int16("PriceLevel1", r.priceLevel1);
    v.Int16("PriceLevel2", r.priceLevel2);
    v.Int16("PriceDspFormat", r.priceDspFormat);
    v.Int16("VolumeDspFormat", r.volumeDspFormat);
    v.Int16("ValueDspFormat", r.valueDspFormat);
    v.Int16("PumpType", r.type);
    v.Int("PortID", r.portID);
    v.Int("AttendantID", r.attendantID);
    v.Int16("AuthMode", r.authMode);
    v.Int16("StackMode", r.stackMode);
    v.Int16("PrepayAllowed", r.prepayAllowed);
    v.Int16("PreauthAllowed", r.preauthAllowed);
    v.Int("MuxSlotZigBeeID", r.muxSlotZigBeeID);
    v.Int16("PriceControl", r.priceControl);
    v.Int16("HasPreset", r.hasPreset);
}

constexpr int32_t kMaxHoses = 8;        // the import reads hoses 1 to 8
constexpr double kHosePriceFloor = 0.1; // hose prices at or below it are not written
struct HoseRecord {
    int32_t id = -1, tankID = -1, physicalNumber = 0;
    int16_t reader = 0, enabled = 0;
    double prices[4] = {0, 0, 0, 0};
};
// The keys of hose n; the ID and the tank come first, and the import stops at a hose whose ID
// or tank is below 1.
template <typename V> void HoseKeys(V& v, HoseRecord& r, int32_t n) {
    v.Int(HoseKey("Hose%dID", n).c_str(), r.id);
    v.Int(HoseKey("Hose%dTank", n).c_str(), r.tankID);
    v.Int(HoseKey("Hose%dPhysicalNumber", n).c_str(), r.physicalNumber);
    v.Int16(HoseKey("Hose%dReader", n).c_str(), r.reader);
    v.RealAbove(HoseKey("Hose%dPrice1", n).c_str(), r.prices[0], 3, kHosePriceFloor);
    v.RealAbove(HoseKey("Hose%dPrice2", n).c_str(), r.prices[1], 3, kHosePriceFloor);
    v.RealAbove(HoseKey("Hose%dPrice3", n).c_str(), r.prices[2], 3, kHosePriceFloor);
    v.RealAbove(HoseKey("Hose%dPrice4", n).c_str(), r.prices[3], 3, kHosePriceFloor);
    v.Int16(HoseKey("Hose%dEnabled", n).c_str(), r.enabled);
}

struct SensorRecord {
    int32_t number = 0, portID = -1, slotZigBeeID = -1, serialNo = 0;
    CStr name;
    int16_t type = 0, address = 0, sensorNo = 0;
};
template <typename V> void SensorKeys(V& v, SensorRecord& r) {
    v.Int("Number", r.number);
    v.Text("Name", r.name);
    v.Int("PortID", r.portID);
    v.Int16("Type", r.type);
    v.Int16("Address", r.address);
    v.Int16("SensorNo", r.sensorNo);
    v.Int("SlotZigBeeID", r.slotZigBeeID);
    v.Int("SensorSerialNo", r.serialNo);
}

struct ProductRecord {
    int32_t number = 0, quickCode = 0, group = -1;
    CStr name, tag, shortName, barcode;
    int16_t enabled = 0;
    double prices[4] = {0, 0, 0, 0};
};
template <typename V> void ProductKeys(V& v, ProductRecord& r) {
    v.Int("Number", r.number);
    v.Text("Name", r.name);
    v.Text("Tag", r.tag);
    v.Int16("Enabled", r.enabled);
    v.Text("ShortName", r.shortName);
    v.Text("Barcode", r.barcode);
    v.Int("QuickCode", r.quickCode);
    v.Real("Price1", r.prices[0], 3);
    v.Real("Price2", r.prices[1], 3);
    v.Real("Price3", r.prices[2], 3);
    v.Real("Price4", r.prices[3], 3);
    v.Int("ProductGroup", r.group);
}

// Enabled carries the type again for older readers; the import takes it when Type reads 0.
struct AttendantRecord {
    int32_t number = 0;
    CStr name, shortName, password, tag, idNumber;
    int16_t shiftAStart = 0, shiftAEnd = 0, shiftBStart = 0, shiftBEnd = 0, enabled = 0, type = 0;
};
template <typename V> void AttendantKeys(V& v, AttendantRecord& r) {
    v.Int("Number", r.number);
    v.Text("Name", r.name);
    v.Text("ShortName", r.shortName);
    v.Text("Password", r.password);
    v.Text("Tag", r.tag);
    v.Text("IDNumber", r.idNumber);
    v.Int16("ShiftAStart", r.shiftAStart);
    v.Int16("ShiftAEnd", r.shiftAEnd);
    v.Int16("ShiftBStart", r.shiftBStart);
    v.Int16("ShiftBEnd", r.shiftBEnd);
    v.Int16("Enabled", r.enabled);
    v.Int16("Type", r.type);
}

// A Factor of 0 reads as 1.
struct CardClientRecord {
    int32_t number = 0, parentID = -1, factor = 0;
    CStr name, tag, plate, idNumber, shortName, password, odoSerialNo;
    int16_t enabled = 0, priceLevel = 0, gradeType = 0, cardType = 0, limitType = 0, entryType = 0;
    double limit = 0, expiration = 0, odometer = 0;
};
template <typename V> void CardClientKeys(V& v, CardClientRecord& r) {
    v.Int("Number", r.number);
    v.Text("Name", r.name);
    v.Text("Tag", r.tag);
    v.Int16("Enabled", r.enabled);
    v.Int16("PriceLevel", r.priceLevel);
    v.Text("Plate", r.plate);
    v.Text("IDNumber", r.idNumber);
    v.Text("ShortName", r.shortName);
    v.Text("Password", r.password);
    v.Int16("GradeType", r.gradeType);
    v.Int16("CardType", r.cardType);
    v.Int16("LimitType", r.limitType);
    v.Real("LimitValue", r.limit, 3);
    v.Int16("EntryType", r.entryType);
    v.Date("ExpirationDate", r.expiration);
    v.Int("ParentID", r.parentID);
    v.Text("QVOdoSerialNo", r.odoSerialNo);
    v.Real("Odometer", r.odometer, 1);
    v.Int("Factor", r.factor);
}
