// Field tables of the stored kinds. Defaults are what a record created by an older setter
// reports for the fields that setter does not carry.
#include "outside/qvserver/Schema.h"

namespace qvserver {

using FT = FieldType;

const Field* Entity::Find(const std::string& name) const {
    for (const Field& f : fields)
        if (name == f.name) return &f;
    return nullptr;
}

qvwire::Tag TagOf(FieldType t) {
    switch (t) {
    case FT::I16:
        return qvwire::Tag::I16;
    case FT::I32:
        return qvwire::Tag::I32;
    case FT::I64:
        return qvwire::Tag::I64;
    case FT::F64:
    case FT::Date:
        return qvwire::Tag::F64;
    case FT::Text:
        return qvwire::Tag::Text;
    }
    return qvwire::Tag::I32;
}

qvwire::Value DefaultOf(const Field& f) {
    switch (f.type) {
    case FT::I16:
        return qvwire::Value::I16(static_cast<int16_t>(f.defaultValue));
    case FT::I32:
        return qvwire::Value::I32(static_cast<int32_t>(f.defaultValue));
    case FT::I64:
        return qvwire::Value::I64(static_cast<int64_t>(f.defaultValue));
    case FT::F64:
    case FT::Date:
        return qvwire::Value::F64(f.defaultValue);
    case FT::Text:
        return qvwire::Value::Text({});
    }
    return {};
}

const Entity kPort{"Ports",
                   {{"Number", FT::I32, 0},
                    {"Name", FT::Text, 0},
                    {"ProtocolID", FT::I16, 0},
                    {"DeviceType", FT::I16, 0},
                    {"SerialNo", FT::Text, 0},
                    {"PanID", FT::I32, 0},
                    {"Channels", FT::I32, 0},
                    {"KeyA", FT::I64, 0},
                    {"KeyB", FT::I64, 0},
                    {"DevSerialNo", FT::Text, 0},
                    {"BootVersion", FT::Text, 0},
                    {"FirmwareVersion", FT::Text, 0}}};

const Entity kZigBee{"ZigBees",
                     {{"Number", FT::I32, 0},
                      {"Name", FT::Text, 0},
                      {"DeviceType", FT::I16, 0},
                      {"SerialNumber", FT::Text, 0},
                      {"NodeIdentifier", FT::Text, 0},
                      {"PortID", FT::I32, 0},
                      {"DevSerialNo", FT::Text, 0},
                      {"BootVersion", FT::Text, 0},
                      {"FirmwareVersion", FT::Text, 0}}};

const Entity kGrade{"Grades",
                    {{"Number", FT::I32, 0},
                     {"Name", FT::Text, 0},
                     {"ShortName", FT::Text, 0},
                     {"Code", FT::Text, 0},
                     {"Type", FT::I16, 1},
                     {"Price1", FT::F64, 0},
                     {"Price2", FT::F64, 0},
                     {"Price3", FT::F64, 0},
                     {"Price4", FT::F64, 0},
                     {"Price5", FT::F64, 0},
                     {"Price6", FT::F64, 0},
                     {"Price7", FT::F64, 0},
                     {"Price8", FT::F64, 0}}};

const Entity kTank{"Tanks",
                   {{"Number", FT::I32, 0},
                    {"Name", FT::Text, 0},
                    {"GradeID", FT::I32, 0},
                    {"Type", FT::I16, 0},
                    {"Capacity", FT::F64, 0},
                    {"Diameter", FT::F64, 0},
                    {"TheoVolume", FT::F64, 0},
                    {"GaugeVolume", FT::F64, 0},
                    {"GaugeTCVolume", FT::F64, 0},
                    {"GaugeUllage", FT::F64, 0},
                    {"GaugeTemperature", FT::F64, 0},
                    {"GaugeLevel", FT::F64, 0},
                    {"GaugeWaterVolume", FT::F64, 0},
                    {"GaugeWaterLevel", FT::F64, 0},
                    {"GaugeID", FT::I32, 0},
                    {"ProbeNo", FT::I16, 0},
                    {"GaugeAlarmsMask", FT::I32, 0},
                    {"SlotZigBeeID", FT::I32, -1},
                    {"ProbeType", FT::I16, -1},
                    {"ProbeSerialNo", FT::I32, 1},
                    {"State", FT::I16, 1}}};

const Entity kPump{"Pumps",
                   {{"Number", FT::I32, 0},
                    {"Name", FT::Text, 0},
                    {"PhysicalNumber", FT::I16, 0},
                    {"Side", FT::I16, 0},
                    {"Address", FT::I16, 0},
                    {"PriceLevel1", FT::I16, 1},
                    {"PriceLevel2", FT::I16, 1},
                    {"PriceDspFormat", FT::I16, 0},
                    {"VolumeDspFormat", FT::I16, 0},
                    {"ValueDspFormat", FT::I16, 0},
                    {"Type", FT::I16, 0},
                    {"PortID", FT::I32, 0},
                    {"AttendantID", FT::I32, -1},
                    {"AuthMode", FT::I16, 0},
                    {"StackMode", FT::I16, 0},
                    {"PrepayAllowed", FT::I16, 0},
                    {"PreauthAllowed", FT::I16, 0},
                    {"SlotZigBeeID", FT::I32, 1},
                    {"MuxSlotZigBeeID", FT::I32, -1},
                    {"PriceControl", FT::I16, 1},
                    {"HasPreset", FT::I16, 1}}};

const Entity kHose{"Hoses",
                   {{"Number", FT::I32, 0},
                    {"PumpID", FT::I32, 0},
                    {"TankID", FT::I32, 0},
                    {"PhysicalNumber", FT::I32, 0},
                    {"MtrTheoValue", FT::F64, 0},
                    {"MtrTheoVolume", FT::F64, 0},
                    {"MtrElecValue", FT::F64, 0},
                    {"MtrElecVolume", FT::F64, 0},
                    {"UVEAntenna", FT::I16, 0},
                    {"Price1", FT::F64, 0},
                    {"Price2", FT::F64, 0},
                    {"Price3", FT::F64, 0},
                    {"Price4", FT::F64, 0},
                    {"Enabled", FT::I16, 1},
                    {"DurationType", FT::I16, 0},
                    {"PriceType", FT::I16, 0}}};

const Entity kSensor{"Sensors",
                     {{"Number", FT::I32, 0},
                      {"Name", FT::Text, 0},
                      {"PortID", FT::I32, 0},
                      {"Type", FT::I16, 0},
                      {"Address", FT::I16, 0},
                      {"SensorNo", FT::I16, 0},
                      {"SlotZigBeeID", FT::I32, -1},
                      {"SensorSerialNo", FT::I32, 0},
                      {"Status", FT::I16, 0}}};

const Entity kProduct{"Products",
                      {{"Number", FT::I32, 0},
                       {"Name", FT::Text, 0},
                       {"Tag", FT::Text, 0},
                       {"Enabled", FT::I16, 1},
                       {"ShortName", FT::Text, 0},
                       {"Barcode", FT::Text, 0},
                       {"QuickCode", FT::I32, 0},
                       {"Price1", FT::F64, 0},
                       {"Price2", FT::F64, 0},
                       {"Price3", FT::F64, 0},
                       {"Price4", FT::F64, 0},
                       {"ProductGroup", FT::I32, 0},
                       {"AddedDT", FT::Date, 0},
                       {"UpdatedDT", FT::Date, 0}}};

const Entity kAttendant{"Attendants",
                        {{"Number", FT::I32, 0},
                         {"Name", FT::Text, 0},
                         {"ShortName", FT::Text, 0},
                         {"Password", FT::Text, 0},
                         {"Tag", FT::Text, 0},
                         {"IDNumber", FT::Text, 0},
                         {"ShiftAStart", FT::I16, 0},
                         {"ShiftAEnd", FT::I16, 1439},
                         {"ShiftBStart", FT::I16, 0},
                         {"ShiftBEnd", FT::I16, 1439},
                         {"Type", FT::I16, 1}}};

const Entity kCardClient{"CardClients",
                         {{"Number", FT::I32, 0},
                          {"Name", FT::Text, 0},
                          {"Tag", FT::Text, 0},
                          {"Enabled", FT::I16, 1},
                          {"PriceLevel", FT::I16, 0},
                          {"Plate", FT::Text, 0},
                          {"IDNumber", FT::Text, 0},
                          {"ShortName", FT::Text, 0},
                          {"Password", FT::Text, 0},
                          {"GradeType", FT::I16, 1},
                          {"CardType", FT::I16, 1},
                          {"LimitType", FT::I16, 1},
                          {"Limit", FT::F64, 0},
                          {"EntryType", FT::I16, 1},
                          {"ExpirationDate", FT::F64, 0},
                          {"ParentID", FT::I32, -1},
                          {"QVOdoSerialNo", FT::Text, 0},
                          {"Odometer", FT::F64, 0},
                          {"Factor", FT::I32, 0}}};

const Entity kCardRead{"CardReads",
                       {{"Number", FT::I32, 0},
                        {"Name", FT::Text, 0},
                        {"PumpID", FT::I32, -1},
                        {"Type", FT::I16, 0},
                        {"ParentID", FT::I32, -1},
                        {"Tag", FT::I64, 0},
                        {"TimeStamp", FT::Date, 0}}};

const Entity kDelivery{
    "Deliveries",
    {{"PumpID", FT::I32, 0},        {"HoseID", FT::I32, 0},        {"State", FT::I16, 1},
     {"Type", FT::I16, 1},          {"Volume", FT::F64, 0},        {"PriceLevel", FT::I16, 1},
     {"Price", FT::F64, 0},         {"Value", FT::F64, 0},         {"Volume2", FT::F64, 0},
     {"CompletedDT", FT::Date, 0},  {"LockedBy", FT::I32, -1},     {"ReservedBy", FT::I32, -1},
     {"AttendantID", FT::I32, -1},  {"ClearedDT", FT::Date, 0},    {"Duration", FT::I32, 0},
     {"CardClientID", FT::I32, -1}, {"Tag", FT::I64, -1},          {"GradeID", FT::I32, 0},
     {"TankID", FT::I32, 0},        {"LoggedState", FT::I16, 0},   {"ClearedBy", FT::I32, -1},
     {"Ext", FT::Text, 0},          {"OldVolumeETot", FT::F64, 0}, {"OldValueETot", FT::F64, 0},
     {"NewVolumeETot", FT::F64, 0}, {"NewValueETot", FT::F64, 0},  {"PeakFlowRate", FT::F64, 0}}};

const Entity kLogEvent{"LogEvents",
                       {{"DeviceType", FT::I16, 0},
                        {"DeviceID", FT::I32, 0},
                        {"EventLevel", FT::I16, 0},
                        {"EventType", FT::I16, 0},
                        {"EventDesc", FT::Text, 0},
                        {"GeneratedDT", FT::Date, 0},
                        {"ClearedDT", FT::Date, 0},
                        {"ClearedBy", FT::I32, -1},
                        {"AckedBy", FT::I32, -1},
                        {"Volume", FT::F64, 0},
                        {"Value", FT::F64, 0},
                        {"ProductVolume", FT::F64, 0},
                        {"ProductLevel", FT::F64, 0},
                        {"WaterLevel", FT::F64, 0},
                        {"Temperature", FT::F64, 0},
                        {"LoggedState", FT::I16, 0}}};

const Entity kSaleItem{"SaleItems",
                       {{"ProductID", FT::I32, 0},
                        {"PumpID", FT::I32, -1},
                        {"AttendantID", FT::I32, -1},
                        {"CardClientID", FT::I32, -1},
                        {"PriceLevel", FT::I16, 1},
                        {"Price", FT::F64, 0},
                        {"Quantity", FT::F64, 0},
                        {"AddedDT", FT::Date, 0},
                        {"ClearedDT", FT::Date, 0},
                        {"LockedBy", FT::I32, -1},
                        {"ClearedBy", FT::I32, -1},
                        {"LoggedState", FT::I16, 0},
                        {"Plate", FT::Text, 0},
                        {"AuthType", FT::I16, 0}}};

// EndDT 0 while the period is open; the totals are frozen when it closes.
const Entity kPeriod{"Periods",
                     {{"Type", FT::I16, 0},
                      {"StartDT", FT::Date, 0},
                      {"EndDT", FT::Date, 0},
                      {"Volume", FT::F64, 0},
                      {"Value", FT::F64, 0},
                      {"Deliveries", FT::I32, 0}}};

const Entity kStrappingTable{"StrappingTables",
                             {{"StepSize", FT::F64, 0},
                              {"Diameter", FT::F64, 0},
                              {"Offset", FT::F64, 0},
                              {"Capacity", FT::F64, 0},
                              {"Alarms", FT::I32, 0},
                              {"Desc", FT::Text, 0}}};

// One row per (TankID, Idx).
const Entity kStrappingElement{"StrappingElements",
                               {{"TankID", FT::I32, 0},
                                {"Idx", FT::I32, 0},
                                {"Passes", FT::I32, 0},
                                {"Height", FT::F64, 0},
                                {"StartDelta", FT::F64, 0},
                                {"CurDelta", FT::F64, 0},
                                {"StartVolume", FT::F64, 0},
                                {"CurVolume", FT::F64, 0}}};

// One element of a price sign: which sign and which element on it, and what it shows.
const Entity kPriceSignElement{"PriceSignElements",
                               {{"Sign", FT::I32, 0},
                                {"Element", FT::I32, 0},
                                {"ElementType", FT::I16, 0},
                                {"GradeID", FT::I32, -1},
                                {"PriceLevel", FT::I16, 1},
                                {"PriceDspFormat", FT::I16, 0},
                                {"Enabled", FT::I16, 1}}};

const std::vector<const Entity*>& AllEntities() {
    static const std::vector<const Entity*> all{
        &kPort,           &kZigBee,           &kGrade,           &kTank,      &kPump,
        &kHose,           &kSensor,           &kProduct,         &kAttendant, &kCardClient,
        &kCardRead,       &kDelivery,         &kLogEvent,        &kSaleItem,  &kPeriod,
        &kStrappingTable, &kStrappingElement, &kPriceSignElement};
    return all;
}

} // namespace qvserver
