// Field names of the newest variant of each kind's property calls, in argument order after the
// ID: the columns of the site tables and the order in which the seed fills them.
#pragma once
#include <string>
#include <vector>

namespace qvserver {

using Names = std::vector<std::string>;

inline const Names kPortFields{"Number", "Name", "ProtocolID", "DeviceType", "SerialNo"};
inline const Names kZigBeeFields{"Number",       "Name",           "DeviceType",
                                 "SerialNumber", "NodeIdentifier", "PortID"};
inline const Names kGradeEx{"Number", "Name", "ShortName", "Code", "Type"};
inline const Names kTankEx2{"Number",           "Name",
                            "GradeID",          "Type",
                            "Capacity",         "Diameter",
                            "TheoVolume",       "GaugeVolume",
                            "GaugeTCVolume",    "GaugeUllage",
                            "GaugeTemperature", "GaugeLevel",
                            "GaugeWaterVolume", "GaugeWaterLevel",
                            "GaugeID",          "ProbeNo",
                            "GaugeAlarmsMask",  "SlotZigBeeID",
                            "ProbeType",        "ProbeSerialNo"};
inline const Names kPumpEx{"Number",
                           "Name",
                           "PhysicalNumber",
                           "Side",
                           "Address",
                           "PriceLevel1",
                           "PriceLevel2",
                           "PriceDspFormat",
                           "VolumeDspFormat",
                           "ValueDspFormat",
                           "Type",
                           "PortID",
                           "AttendantID",
                           "AuthMode",
                           "StackMode",
                           "PrepayAllowed",
                           "PreauthAllowed",
                           "SlotZigBeeID",
                           "MuxSlotZigBeeID",
                           "PriceControl",
                           "HasPreset"};
inline const Names kHoseEx3{"Number",       "PumpID",        "TankID",       "PhysicalNumber",
                            "MtrTheoValue", "MtrTheoVolume", "MtrElecValue", "MtrElecVolume",
                            "UVEAntenna",   "Price1",        "Price2",       "Price3",
                            "Price4",       "Enabled"};
inline const Names kSensorEx{"Number",  "Name",     "PortID",       "Type",
                             "Address", "SensorNo", "SlotZigBeeID", "SensorSerialNo"};
inline const Names kProductEx{"Number",    "Name",    "Tag",       "Enabled",
                              "ShortName", "Barcode", "QuickCode", "Price1",
                              "Price2",    "Price3",  "Price4",    "ProductGroup"};
inline const Names kAttendantEx2{"Number",      "Name",      "ShortName",   "Password",
                                 "Tag",         "IDNumber",  "ShiftAStart", "ShiftAEnd",
                                 "ShiftBStart", "ShiftBEnd", "Type"};
inline const Names kCardEx4{"Number",   "Name",          "Tag",       "Enabled",   "PriceLevel",
                            "Plate",    "IDNumber",      "ShortName", "Password",  "GradeType",
                            "CardType", "LimitType",     "Limit",     "EntryType", "ExpirationDate",
                            "ParentID", "QVOdoSerialNo", "Odometer",  "Factor"};

} // namespace qvserver
