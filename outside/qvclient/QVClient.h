// Forecourt client library: every operation a program can ask of the forecourt server.
// Each call travels over TCP to the server (calls port 5123, events port 5124) and reads or
// changes the server's stored site and controller data.
//
// Conventions of the whole interface:
// - Every function returns an int32_t result, 0 for success (see QVResult below); only
//   ResultString returns a text.
// - Logon-bound functions are exported as <Name>MT and take the logon handle first. A handle is
//   a small positive integer given by a logon; an unknown handle gives QV_NOT_LOGGED_ON (8).
//   DllVersion, ResultString and the four code texts (PumpStateString, ...) carry their plain
//   names and need no logon.
// - Texts are BSTRs (platform/OleAuto.h). Inputs are BSTR (null reads as empty). Outputs are
//   BSTR*: on success the library frees the BSTR found in *out (when not null) and stores a new
//   one allocated with platform::SysAllocString*, which the caller frees with
//   platform::SysFreeString. On failure outputs are left as they were.
// - Prices, capacities, limits, volumes, values, odometers and money are double; flags and small
//   codes (types, modes, formats, enables, levels, sides, addresses, protocol IDs, device types,
//   shifts in minutes of the day) are int16_t; IDs, numbers, counts, ordinals, masks and serial
//   numbers are int32_t; tags of cards and deliveries in events are int64_t; radio keys are
//   int64_t. Dates are OLE automation dates (double days since 30 December 1899).
// - Entities are addressed by ID. A kind's count call gives the number of records; its
//   by-ordinal call (ordinal 1..count) gives the IDs in ascending ID order.
// - A Set...Properties call with an ID the server does not know creates the record under that
//   ID (IDs must be above 0); fields that an older variant does not carry keep their values, or
//   their defaults in a new record. Records that a record refers to must exist: a tank's grade,
//   a hose's pump and tank, a ZigBee slot of 5 or more of a tank or pump, a card client's parent
//   (CardType 4 and 6: card client, 5: attendant, 7 and 8: product); otherwise
//   QV_UNKNOWN_REFERENCE.
#pragma once
#include <cstdint>

#include "platform/OleAuto.h"

// Result codes. ResultString gives the text of each.
enum QVResult : int32_t {
    QV_OK = 0,                  // "Success"
    QV_FAILED = 1,              // "Operation failed"
    QV_INVALID_ARGUMENT = 2,    // "Invalid argument" (an ID below 1, a level outside 1..8, ...)
    QV_UNKNOWN_ID = 3,          // "Unknown ID" (no record with that ID)
    QV_INVALID_ORDINAL = 4,     // "Ordinal out of range"
    QV_NOT_SUPPORTED = 5,       // "Function not supported by this server"
    QV_DATABASE_ERROR = 6,      // "Server database error"
    QV_ACCESS_DENIED = 7,       // "Access denied" (malformed hash key)
    QV_NOT_LOGGED_ON = 8,       // "Not logged on" (unknown or cleared handle)
    QV_TOO_MANY_LOGONS = 9,     // "Too many logons in this process"
    QV_INJECTED_FAILURE = 10,   // "Failure simulated by the server" (qvserver --fail default)
    QV_NO_EVENT = 11,           // "No event waiting" (or not of the type asked for)
    QV_NO_DEVICE_DETAILS = 12,  // "Device does not report its details" (no serial number)
    QV_UNKNOWN_REFERENCE = 13,  // "Referenced record does not exist"
    QV_FUNCTION_MISSING = 65,   // "Function missing" (produced by bindings, not by the library)
    QV_MESSAGE_TOO_LONG = -9,   // "Message too long" (arguments exceed one 10240-byte frame)
    QV_CONNECTION_BROKEN = -14, // "Connection to the server broken"
    QV_SERVER_NOT_FOUND = -20,  // "Server name cannot be resolved"
    QV_CANNOT_CONNECT = -21,    // "Cannot connect to the server"
    QV_PROTOCOL_ERROR = -22,    // "Malformed answer from the server"
    QV_TIMEOUT = -23,           // "Call timed out" (the connection is closed afterwards)
};

extern "C" {

// ---- Management, profile values, logon ----

// Available = 1 when the server implements the function named FunctionName (without MT), else 0.
int32_t CheckForManagementFtnMT(int32_t handle, BSTR FunctionName, int16_t* pAvailable);
// Ends the logon and sets *handle to 0. An unknown handle gives 8 (handle unchanged).
int32_t ClientLogoffMT(int32_t* handle);
// Server-side profile values: (FileName, Section, Key) -> Value. The plain forms use the file
// "QVServer.ini". A missing value reads as empty text with result 0.
int32_t SetIniValueExMT(int32_t handle, BSTR FileName, BSTR Section, BSTR Key, BSTR Value);
int32_t GetIniValueExMT(int32_t handle, BSTR FileName, BSTR Section, BSTR Key, BSTR* pValue);
int32_t SetIniValueMT(int32_t handle, BSTR Section, BSTR Key, BSTR Value);
int32_t GetIniValueMT(int32_t handle, BSTR Section, BSTR Key, BSTR* pValue);
// Full logon. ServerName: host name or dotted address (empty or "<local>" = 127.0.0.1).
// Ports 1..65535; CallTimeout in ms bounds connecting and every later call (0 = 10000).
// HashKey: empty, or six dash-separated groups of four hexadecimal digits (else 7).
// EventMask: bit (type - 1) asks for events of that type (bit 0 pump status, bit 1 delivery,
// ...); 0 asks for every type. EventHandle is accepted for compatibility. hwnd, a window of
// platform/WindowMessages.h (0: none), is posted message msg from the library's events thread:
// lParam 1 once events have been queued (one post until the host calls ProcessEvents or empties
// the queue), lParam 32 once the events connection has closed (not after ClientLogoff); wParam
// is the events socket. Unreachable server: -21 (refused or timed out), -20 (not resolved).
int32_t InternalClientLogonMT(int32_t* handle, int32_t ClientID, int16_t ClientType,
                              BSTR ClientName, int16_t ClientCategory, BSTR HashKey,
                              int32_t EventMask, BSTR ServerName, int32_t CallPortNo,
                              int32_t EventsPortNo, int32_t CallTimeout, int32_t EventHandle,
                              intptr_t hwnd, int32_t msg);
// Older logon: client name empty, category 0, no hash key, event mask 0.
int32_t ClientLogonExMT(int32_t* handle, int32_t ClientID, int16_t ClientType, BSTR ServerName,
                        int32_t CallPortNo, int32_t EventsPortNo, int32_t CallTimeout,
                        int32_t EventHandle, intptr_t hwnd, int32_t msg);
// Oldest logon: the local server 127.0.0.1 (or the host named by the environment variable
// QV_CLIENT_SERVER), ports 5123 and 5124, timeout 10000 ms.
int32_t ClientLogonMT(int32_t* handle, int32_t ClientID, int16_t ClientType, int32_t EventHandle,
                      intptr_t hwnd, int32_t msg);
// Socket descriptors of the logon's events and calls connections.
int32_t GetClientEventsSocketMT(int32_t handle, int32_t* pSocket);
int32_t GetClientCallsSocketMT(int32_t handle, int32_t* pSocket);
// Asks the server for an answer on the calls connection within the call timeout: 0 when it
// answers and the events connection is open, -14 when either connection is gone, -23 when the
// server does not answer in time (the connection is closed then, as after any timeout).
int32_t TestConnectionMT(int32_t handle);
// Param is the lParam of the logon's window message: -14 for the closing post (32), 0 for an
// arrival post (1). Any other Param asks for the connection's state: -14 once the events
// connection is gone (the server closed it, or the library closed it after a malformed event),
// even before its last events were read; 0 while it is open.
int32_t CheckSocketClosedMT(int32_t handle, int32_t Param);
// When the server closes the events connection while the logon's calls are still answered (it
// does so to a client that fell behind reading), the library attaches a new events connection
// at once; the events sent in between are lost. *pReconnected = 1 when that happened since the
// last WasReconnected of this logon (the flag is cleared by asking), else 0.
int32_t WasReconnectedMT(int32_t handle, int16_t* pReconnected);
// A key whose four top bits are clear is an event mask (it replaces the logon's EventMask);
// any other value declares the client's type key.
int32_t SetClientTypeMT(int32_t handle, int32_t ClientKey);
// The controller's serial number.
int32_t GetSerialNoMT(int32_t handle, BSTR* pSerialNo);

// ---- Card clients ----
// Fields (Ex4): Number, Name, Tag, Enabled, PriceLevel, Plate, IDNumber, ShortName, Password,
// GradeType, CardType, LimitType, Limit, EntryType, ExpirationDate, ParentID, QVOdoSerialNo,
// Odometer, Factor. Ex3: up to ParentID. Ex2: without IDNumber, ShortName, Password, up to
// ParentID. Ex: up to Plate. Plain: up to Enabled.

int32_t GetCardClientsCountMT(int32_t handle, int32_t* pCount);
int32_t GetCardClientByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID);
int32_t GetCardClientPropertiesEx4MT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                     BSTR* pTag, int16_t* pEnabled, int16_t* pPriceLevel,
                                     BSTR* pPlate, BSTR* pIDNumber, BSTR* pShortName,
                                     BSTR* pPassword, int16_t* pGradeType, int16_t* pCardType,
                                     int16_t* pLimitType, double* pLimit, int16_t* pEntryType,
                                     double* pExpirationDate, int32_t* pParentID,
                                     BSTR* pQVOdoSerialNo, double* pOdometer, int32_t* pFactor);
int32_t GetCardClientPropertiesEx3MT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                     BSTR* pTag, int16_t* pEnabled, int16_t* pPriceLevel,
                                     BSTR* pPlate, BSTR* pIDNumber, BSTR* pShortName,
                                     BSTR* pPassword, int16_t* pGradeType, int16_t* pCardType,
                                     int16_t* pLimitType, double* pLimit, int16_t* pEntryType,
                                     double* pExpirationDate, int32_t* pParentID);
int32_t GetCardClientPropertiesEx2MT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                     BSTR* pTag, int16_t* pEnabled, int16_t* pPriceLevel,
                                     BSTR* pPlate, int16_t* pGradeType, int16_t* pCardType,
                                     int16_t* pLimitType, double* pLimit, int16_t* pEntryType,
                                     double* pExpirationDate, int32_t* pParentID);
int32_t GetCardClientPropertiesExMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                    BSTR* pTag, int16_t* pEnabled, int16_t* pPriceLevel,
                                    BSTR* pPlate);
int32_t GetCardClientPropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                  BSTR* pTag, int16_t* pEnabled);
int32_t SetCardClientPropertiesEx4MT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                                     BSTR Tag, int16_t Enabled, int16_t PriceLevel, BSTR Plate,
                                     BSTR IDNumber, BSTR ShortName, BSTR Password,
                                     int16_t GradeType, int16_t CardType, int16_t LimitType,
                                     double Limit, int16_t EntryType, double ExpirationDate,
                                     int32_t ParentID, BSTR QVOdoSerialNo, double Odometer,
                                     int32_t Factor);
int32_t SetCardClientPropertiesEx3MT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                                     BSTR Tag, int16_t Enabled, int16_t PriceLevel, BSTR Plate,
                                     BSTR IDNumber, BSTR ShortName, BSTR Password,
                                     int16_t GradeType, int16_t CardType, int16_t LimitType,
                                     double Limit, int16_t EntryType, double ExpirationDate,
                                     int32_t ParentID);
int32_t SetCardClientPropertiesEx2MT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                                     BSTR Tag, int16_t Enabled, int16_t PriceLevel, BSTR Plate,
                                     int16_t GradeType, int16_t CardType, int16_t LimitType,
                                     double Limit, int16_t EntryType, double ExpirationDate,
                                     int32_t ParentID);
int32_t SetCardClientPropertiesExMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name, BSTR Tag,
                                    int16_t Enabled, int16_t PriceLevel, BSTR Plate);
// The card type and ID of the card client whose Tag equals Tag (3 when none).
int32_t GetCardTypeMT(int32_t handle, BSTR Tag, int16_t* pCardType, int32_t* pID);
int32_t DeleteCardClientMT(int32_t handle, int32_t ID);

// ---- Attendants ----
// Fields (Ex2): Number, Name, ShortName, Password, Tag, IDNumber, ShiftAStart, ShiftAEnd,
// ShiftBStart, ShiftBEnd, Type. Ex: without IDNumber. Plain: up to Tag.

int32_t GetAttendantsCountMT(int32_t handle, int32_t* pCount);
int32_t GetAttendantByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID);
int32_t GetAttendantPropertiesEx2MT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                    BSTR* pShortName, BSTR* pPassword, BSTR* pTag, BSTR* pIDNumber,
                                    int16_t* pShiftAStart, int16_t* pShiftAEnd,
                                    int16_t* pShiftBStart, int16_t* pShiftBEnd, int16_t* pType);
int32_t GetAttendantPropertiesExMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                   BSTR* pShortName, BSTR* pPassword, BSTR* pTag,
                                   int16_t* pShiftAStart, int16_t* pShiftAEnd,
                                   int16_t* pShiftBStart, int16_t* pShiftBEnd, int16_t* pType);
int32_t GetAttendantPropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                 BSTR* pShortName, BSTR* pPassword, BSTR* pTag);
int32_t SetAttendantPropertiesEx2MT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                                    BSTR ShortName, BSTR Password, BSTR Tag, BSTR IDNumber,
                                    int16_t ShiftAStart, int16_t ShiftAEnd, int16_t ShiftBStart,
                                    int16_t ShiftBEnd, int16_t Type);
int32_t SetAttendantPropertiesExMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                                   BSTR ShortName, BSTR Password, BSTR Tag, int16_t ShiftAStart,
                                   int16_t ShiftAEnd, int16_t ShiftBStart, int16_t ShiftBEnd,
                                   int16_t Type);
int32_t SetAttendantPropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                                 BSTR ShortName, BSTR Password, BSTR Tag);
int32_t DeleteAttendantMT(int32_t handle, int32_t ID);

// ---- Products ----
// Filter of the count and by-ordinal calls: Number (-1 any), Name and ShortName (empty any,
// else contained, ASCII case ignored), Tag and Barcode (empty any, else equal), ProductGroup
// (-1 any). Ordinals number the matching products in ascending ID order.
// Fields (Ex): Number, Name, Tag, Enabled, ShortName, Barcode, QuickCode, Price1..Price4,
// ProductGroup; the Ex2 getter adds AddedDT and UpdatedDT (when created, when last set).
// Plain: Number, Name, Tag, Enabled, ShortName, Barcode, Price1, Price2, ProductGroup.

int32_t GetProductsCountMT(int32_t handle, int32_t Number, BSTR Name, BSTR ShortName, BSTR Tag,
                           BSTR Barcode, int32_t ProductGroup, int32_t* pCount);
int32_t GetProductByOrdinalMT(int32_t handle, int32_t Number, BSTR Name, BSTR ShortName, BSTR Tag,
                              BSTR Barcode, int32_t ProductGroup, int32_t Ordinal, int32_t* pID);
int32_t GetProductByNumberMT(int32_t handle, int32_t Number, int32_t* pID);
int32_t DeleteProductMT(int32_t handle, int32_t ID);
int32_t GetProductPropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                               BSTR* pTag, int16_t* pEnabled, BSTR* pShortName, BSTR* pBarcode,
                               double* pPrice1, double* pPrice2, int32_t* pProductGroup);
int32_t SetProductPropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name, BSTR Tag,
                               int16_t Enabled, BSTR ShortName, BSTR Barcode, double Price1,
                               double Price2, int32_t ProductGroup);
int32_t GetProductPropertiesExMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                 BSTR* pTag, int16_t* pEnabled, BSTR* pShortName, BSTR* pBarcode,
                                 int32_t* pQuickCode, double* pPrice1, double* pPrice2,
                                 double* pPrice3, double* pPrice4, int32_t* pProductGroup);
int32_t GetProductPropertiesEx2MT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                  BSTR* pTag, int16_t* pEnabled, BSTR* pShortName, BSTR* pBarcode,
                                  int32_t* pQuickCode, double* pPrice1, double* pPrice2,
                                  double* pPrice3, double* pPrice4, int32_t* pProductGroup,
                                  double* pAddedDT, double* pUpdatedDT);
int32_t SetProductPropertiesExMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name, BSTR Tag,
                                 int16_t Enabled, BSTR ShortName, BSTR Barcode, int32_t QuickCode,
                                 double Price1, double Price2, double Price3, double Price4,
                                 int32_t ProductGroup);

// ---- Grades ----
// Fields (Ex): Number, Name, ShortName, Code, Type. Plain: up to Code.
// Prices: levels 1..8 (else 2); an unset level reads 0.

int32_t GetGradesCountMT(int32_t handle, int32_t* pCount);
int32_t GetGradeByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID);
int32_t DeleteGradeMT(int32_t handle, int32_t ID);
int32_t GetGradePropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                             BSTR* pShortName, BSTR* pCode);
int32_t SetGradePropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name, BSTR ShortName,
                             BSTR Code);
int32_t GetGradePropertiesExMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                               BSTR* pShortName, BSTR* pCode, int16_t* pType);
int32_t SetGradePropertiesExMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                               BSTR ShortName, BSTR Code, int16_t Type);
int32_t GetGradePriceMT(int32_t handle, int32_t ID, int16_t Level, double* pPrice);

// ---- Tanks ----
// Fields (Ex2): Number, Name, GradeID, Type, Capacity, Diameter, TheoVolume, GaugeVolume,
// GaugeTCVolume, GaugeUllage, GaugeTemperature, GaugeLevel, GaugeWaterVolume, GaugeWaterLevel,
// GaugeID, ProbeNo, GaugeAlarmsMask, SlotZigBeeID, ProbeType, ProbeSerialNo.
// Ex: up to GaugeAlarmsMask. Plain: up to ProbeNo.

int32_t GetTanksCountMT(int32_t handle, int32_t* pCount);
int32_t GetTankByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID);
int32_t GetTankPropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                            int32_t* pGradeID, int16_t* pType, double* pCapacity, double* pDiameter,
                            double* pTheoVolume, double* pGaugeVolume, double* pGaugeTCVolume,
                            double* pGaugeUllage, double* pGaugeTemperature, double* pGaugeLevel,
                            double* pGaugeWaterVolume, double* pGaugeWaterLevel, int32_t* pGaugeID,
                            int16_t* pProbeNo);
int32_t GetTankPropertiesExMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                              int32_t* pGradeID, int16_t* pType, double* pCapacity,
                              double* pDiameter, double* pTheoVolume, double* pGaugeVolume,
                              double* pGaugeTCVolume, double* pGaugeUllage,
                              double* pGaugeTemperature, double* pGaugeLevel,
                              double* pGaugeWaterVolume, double* pGaugeWaterLevel,
                              int32_t* pGaugeID, int16_t* pProbeNo, int32_t* pGaugeAlarmsMask);
int32_t GetTankPropertiesEx2MT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                               int32_t* pGradeID, int16_t* pType, double* pCapacity,
                               double* pDiameter, double* pTheoVolume, double* pGaugeVolume,
                               double* pGaugeTCVolume, double* pGaugeUllage,
                               double* pGaugeTemperature, double* pGaugeLevel,
                               double* pGaugeWaterVolume, double* pGaugeWaterLevel,
                               int32_t* pGaugeID, int16_t* pProbeNo, int32_t* pGaugeAlarmsMask,
                               int32_t* pSlotZigBeeID, int16_t* pProbeType,
                               int32_t* pProbeSerialNo);

// ---- Pumps ----
// Fields (Ex): Number, Name, PhysicalNumber, Side, Address, PriceLevel1, PriceLevel2,
// PriceDspFormat, VolumeDspFormat, ValueDspFormat, Type, PortID, AttendantID, AuthMode,
// StackMode, PrepayAllowed, PreauthAllowed, SlotZigBeeID, MuxSlotZigBeeID, PriceControl,
// HasPreset. Plain: up to PreauthAllowed.

int32_t GetPumpsCountMT(int32_t handle, int32_t* pCount);
int32_t GetPumpByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID);
int32_t GetPumpByNumberMT(int32_t handle, int32_t Number, int32_t* pID);
int32_t GetPumpPropertiesExMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                              int16_t* pPhysicalNumber, int16_t* pSide, int16_t* pAddress,
                              int16_t* pPriceLevel1, int16_t* pPriceLevel2,
                              int16_t* pPriceDspFormat, int16_t* pVolumeDspFormat,
                              int16_t* pValueDspFormat, int16_t* pType, int32_t* pPortID,
                              int32_t* pAttendantID, int16_t* pAuthMode, int16_t* pStackMode,
                              int16_t* pPrepayAllowed, int16_t* pPreauthAllowed,
                              int32_t* pSlotZigBeeID, int32_t* pMuxSlotZigBeeID,
                              int16_t* pPriceControl, int16_t* pHasPreset);
int32_t GetPumpPropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                            int16_t* pPhysicalNumber, int16_t* pSide, int16_t* pAddress,
                            int16_t* pPriceLevel1, int16_t* pPriceLevel2, int16_t* pPriceDspFormat,
                            int16_t* pVolumeDspFormat, int16_t* pValueDspFormat, int16_t* pType,
                            int32_t* pPortID, int32_t* pAttendantID, int16_t* pAuthMode,
                            int16_t* pStackMode, int16_t* pPrepayAllowed, int16_t* pPreauthAllowed);
int32_t SetPumpPropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                            int16_t PhysicalNumber, int16_t Side, int16_t Address,
                            int16_t PriceLevel1, int16_t PriceLevel2, int16_t PriceDspFormat,
                            int16_t VolumeDspFormat, int16_t ValueDspFormat, int16_t Type,
                            int32_t PortID, int32_t AttendantID, int16_t AuthMode,
                            int16_t StackMode, int16_t PrepayAllowed, int16_t PreauthAllowed);
int32_t SetPumpPropertiesExMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                              int16_t PhysicalNumber, int16_t Side, int16_t Address,
                              int16_t PriceLevel1, int16_t PriceLevel2, int16_t PriceDspFormat,
                              int16_t VolumeDspFormat, int16_t ValueDspFormat, int16_t Type,
                              int32_t PortID, int32_t AttendantID, int16_t AuthMode,
                              int16_t StackMode, int16_t PrepayAllowed, int16_t PreauthAllowed,
                              int32_t SlotZigBeeID, int32_t MuxSlotZigBeeID, int16_t PriceControl,
                              int16_t HasPreset);

// ---- Hose prices and hoses ----
// Hose prices are the hose's Price1..Price4 with the duration and price types of the last set.
// Hose fields (Ex3): Number, PumpID, TankID, PhysicalNumber, MtrTheoValue, MtrTheoVolume,
// MtrElecValue, MtrElecVolume, UVEAntenna, Price1, Price2, Price3, Price4, Enabled.
// Ex2: up to Price2, then Enabled. Ex: up to UVEAntenna.

int32_t SetHosePricesMT(int32_t handle, int32_t HoseID, int16_t DurationType, int16_t PriceType,
                        double Price1, double Price2);
int32_t SetHosePricesExMT(int32_t handle, int32_t HoseID, int16_t DurationType, int16_t PriceType,
                          double Price1, double Price2, double Price3, double Price4);
int32_t GetHosePricesMT(int32_t handle, int32_t HoseID, int16_t* pDurationType, int16_t* pPriceType,
                        double* pPrice1, double* pPrice2);
int32_t GetHosePricesExMT(int32_t handle, int32_t HoseID, int16_t* pDurationType,
                          int16_t* pPriceType, double* pPrice1, double* pPrice2, double* pPrice3,
                          double* pPrice4);
int32_t GetHosesCountMT(int32_t handle, int32_t* pCount);
int32_t GetHoseByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID);
int32_t GetHosePropertiesEx3MT(int32_t handle, int32_t ID, int32_t* pNumber, int32_t* pPumpID,
                               int32_t* pTankID, int32_t* pPhysicalNumber, double* pMtrTheoValue,
                               double* pMtrTheoVolume, double* pMtrElecValue,
                               double* pMtrElecVolume, int16_t* pUVEAntenna, double* pPrice1,
                               double* pPrice2, double* pPrice3, double* pPrice4,
                               int16_t* pEnabled);
int32_t GetHosePropertiesEx2MT(int32_t handle, int32_t ID, int32_t* pNumber, int32_t* pPumpID,
                               int32_t* pTankID, int32_t* pPhysicalNumber, double* pMtrTheoValue,
                               double* pMtrTheoVolume, double* pMtrElecValue,
                               double* pMtrElecVolume, int16_t* pUVEAntenna, double* pPrice1,
                               double* pPrice2, int16_t* pEnabled);
int32_t GetHosePropertiesExMT(int32_t handle, int32_t ID, int32_t* pNumber, int32_t* pPumpID,
                              int32_t* pTankID, int32_t* pPhysicalNumber, double* pMtrTheoValue,
                              double* pMtrTheoVolume, double* pMtrElecValue, double* pMtrElecVolume,
                              int16_t* pUVEAntenna);

// ---- Deliveries ----
// A delivery's LoggedState is a mask of logs still pending: 1 the database log, 2 the
// volumetric log; acknowledging clears the bit. States: 1 current, 2 stacked (completed,
// not cleared), 3 cleared. Deliveries are listed in ascending ID order.
// Delivery property fields (Ex4): PumpID, HoseID, State, Type, Volume, PriceLevel, Price,
// Value, Volume2, CompletedDT, LockedBy, ReservedBy, AttendantID (plain), ClearedDT, Duration
// (Ex), CardClientID, Tag (Ex2), GradeID, TankID (Ex3), LoggedState, ClearedBy (Ex4).
// SetDeliveryProperties* take the same lists as inputs and create unknown IDs.

// Deliveries of a pump that are not cleared (PumpID -1: of all pumps).
int32_t GetDeliveriesCountMT(int32_t handle, int32_t PumpID, int32_t* pCount);
int32_t GetDeliveriesCountNotLoggedMT(int32_t handle, int32_t* pCount);
int32_t GetDeliveriesCountNotVolLoggedMT(int32_t handle, int32_t* pCount);
int32_t GetDeliveryByOrdinalMT(int32_t handle, int32_t PumpID, int32_t Ordinal, int32_t* pID);
int32_t GetDeliveryIDByOrdinalNotLoggedMT(int32_t handle, int32_t Ordinal, int32_t* pID);
int32_t GetDeliveryIDByOrdinalNotVolLoggedMT(int32_t handle, int32_t Ordinal, int32_t* pID);
// Summaries join the delivery with its hose, pump, tank, grade, attendant and card client.
// Age: seconds since completion (current deliveries 0). Tags are the cards' tags read as
// integers (-1 when not numeric). ETotals are the hose's electronic meters before and after.
int32_t GetDeliverySummaryEx2MT(int32_t handle, int32_t ID, int32_t* pPumpID, int32_t* pPumpNumber,
                                int32_t* pHoseID, int32_t* pHoseNumber, int32_t* pGradeID,
                                BSTR* pGradeName, BSTR* pShortGradeName, int16_t* pPriceLevel,
                                double* pPrice, double* pVolume, double* pValue,
                                int16_t* pDeliveryState, int16_t* pDeliveryType, int32_t* pLockedBy,
                                int32_t* pReservedBy, int32_t* pAge, double* pCompletedDT,
                                int32_t* pAttendantID, double* pOldVolumeETot,
                                double* pOldVolume2ETot, double* pOldValueETot,
                                double* pNewVolumeETot, double* pNewVolume2ETot,
                                double* pNewValueETot, int64_t* pTag, int32_t* pDuration);
int32_t GetDeliverySummaryEx3MT(
    int32_t handle, int32_t ID, int32_t* pHoseID, int32_t* pHoseNumber,
    int32_t* pHosePhysicalNumber, int32_t* pPumpID, int32_t* pPumpNumber, BSTR* pPumpName,
    int32_t* pTankID, int32_t* pTankNumber, BSTR* pTankName, int32_t* pGradeID,
    int32_t* pGradeNumber, BSTR* pGradeName, BSTR* pGradeShortName, BSTR* pGradeCode,
    int16_t* pDeliveryState, int16_t* pDeliveryType, double* pVolume, int16_t* pPriceLevel,
    double* pPrice, double* pValue, double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
    int32_t* pReservedBy, int32_t* pAttendantID, int32_t* pAge, double* pClearedDT,
    double* pOldVolumeETot, double* pOldVolume2ETot, double* pOldValueETot, double* pNewVolumeETot,
    double* pNewVolume2ETot, double* pNewValueETot, int64_t* pTag, int32_t* pDuration,
    int32_t* pAttendantNumber, BSTR* pAttendantName, int64_t* pAttendantTag, int32_t* pCardClientID,
    int32_t* pCardClientNumber, BSTR* pCardClientName, int64_t* pCardClientTag);
// Ex3's list, then PeakFlowRate.
int32_t GetDeliverySummaryEx4MT(
    int32_t handle, int32_t ID, int32_t* pHoseID, int32_t* pHoseNumber,
    int32_t* pHosePhysicalNumber, int32_t* pPumpID, int32_t* pPumpNumber, BSTR* pPumpName,
    int32_t* pTankID, int32_t* pTankNumber, BSTR* pTankName, int32_t* pGradeID,
    int32_t* pGradeNumber, BSTR* pGradeName, BSTR* pGradeShortName, BSTR* pGradeCode,
    int16_t* pDeliveryState, int16_t* pDeliveryType, double* pVolume, int16_t* pPriceLevel,
    double* pPrice, double* pValue, double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
    int32_t* pReservedBy, int32_t* pAttendantID, int32_t* pAge, double* pClearedDT,
    double* pOldVolumeETot, double* pOldVolume2ETot, double* pOldValueETot, double* pNewVolumeETot,
    double* pNewVolume2ETot, double* pNewValueETot, int64_t* pTag, int32_t* pDuration,
    int32_t* pAttendantNumber, BSTR* pAttendantName, int64_t* pAttendantTag, int32_t* pCardClientID,
    int32_t* pCardClientNumber, BSTR* pCardClientName, int64_t* pCardClientTag,
    double* pPeakFlowRate);
// Clears a stacked delivery (state 3, ClearedDT now, ClearedBy the logon's ClientID).
// LockAndClear also clears a delivery that another client has locked.
int32_t ClearDeliveryMT(int32_t handle, int32_t ID, int16_t DeliveryType);
int32_t LockAndClearDeliveryMT(int32_t handle, int32_t ID, int16_t DeliveryType);
int32_t AckDeliveryDBLogMT(int32_t handle, int32_t ID);
int32_t AckDeliveryVolLogMT(int32_t handle, int32_t ID);
// A free text kept with the delivery.
int32_t GetDeliveryExtMT(int32_t handle, int32_t ID, BSTR* pExt);
int32_t SetDeliveryExtMT(int32_t handle, int32_t ID, BSTR Ext);

// ---- Sale items ----
// LoggedState as for deliveries. Listed in ascending ID order.

int32_t GetSaleItemsCountMT(int32_t handle, int32_t* pCount);
int32_t GetSaleItemByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID);
int32_t GetSaleItemSummaryMT(int32_t handle, int32_t ID, int32_t* pProductID, int32_t* pPumpID,
                             int32_t* pAttendantID, int32_t* pCardClientID, int16_t* pPriceLevel,
                             double* pPrice, double* pQuantity, double* pAddedDT,
                             double* pClearedDT, int32_t* pLockedBy, int32_t* pClearedBy,
                             int16_t* pLoggedState, BSTR* pPlate, int16_t* pAuthType);
int32_t SaleItemClearMT(int32_t handle, int32_t ID, int32_t ClearedBy);
int32_t SaleItemLockAndClearMT(int32_t handle, int32_t ID, int32_t ClearedBy);
int32_t SaleItemAckDBLogMT(int32_t handle, int32_t ID);
int32_t SaleItemAckVolLogMT(int32_t handle, int32_t ID);
// The stored fields of a sale item, in the order of GetSaleItemSummary. Set changes an existing
// item only; the product must exist, pump, attendant and card client may be -1 (none).
int32_t GetSaleItemPropertiesMT(int32_t handle, int32_t ID, int32_t* pProductID, int32_t* pPumpID,
                                int32_t* pAttendantID, int32_t* pCardClientID, int16_t* pPriceLevel,
                                double* pPrice, double* pQuantity, double* pAddedDT,
                                double* pClearedDT, int32_t* pLockedBy, int32_t* pClearedBy,
                                int16_t* pLoggedState, BSTR* pPlate, int16_t* pAuthType);
int32_t SetSaleItemPropertiesMT(int32_t handle, int32_t ID, int32_t ProductID, int32_t PumpID,
                                int32_t AttendantID, int32_t CardClientID, int16_t PriceLevel,
                                double Price, double Quantity, double AddedDT, double ClearedDT,
                                int32_t LockedBy, int32_t ClearedBy, int16_t LoggedState,
                                BSTR Plate, int16_t AuthType);
// Adds a sale item under the next free ID (pID): AddedDT now, not cleared, not locked, waiting
// for both logs (LoggedState 3). PriceLevel 1..8 and a Quantity above 0, else 2.
int32_t AddSaleItemMT(int32_t handle, int32_t* pID, int32_t ProductID, int32_t PumpID,
                      int32_t AttendantID, int32_t CardClientID, int16_t PriceLevel, double Price,
                      double Quantity, BSTR Plate, int16_t AuthType);
int32_t DeleteSaleItemMT(int32_t handle, int32_t ID);
// Locks a sale item for LockedBy (a client ID) or releases it. Refused with 7 (access denied)
// when another client holds the lock or the item is cleared.
int32_t SaleItemLockMT(int32_t handle, int32_t ID, int32_t LockedBy);
int32_t SaleItemUnlockMT(int32_t handle, int32_t ID, int32_t LockedBy);
// The sale items that pass a filter: ProductID, PumpID, AttendantID and CardClientID -1 for any;
// State 0 all, 1 not cleared, 2 cleared; AddedDT between AddedFrom and AddedTo (automation
// dates, -1 or 0 for an open end). ByOrdinalEx walks the list of the last CountEx with that
// filter.
int32_t GetSaleItemsCountExMT(int32_t handle, int32_t ProductID, int32_t PumpID,
                              int32_t AttendantID, int32_t CardClientID, int16_t State,
                              double AddedFrom, double AddedTo, int32_t* pCount);
int32_t GetSaleItemByOrdinalExMT(int32_t handle, int32_t ProductID, int32_t PumpID,
                                 int32_t AttendantID, int32_t CardClientID, int16_t State,
                                 double AddedFrom, double AddedTo, int32_t Ordinal, int32_t* pID);
// Event type 25, sent when a sale item is added, changed, locked, unlocked, cleared or deleted
// (a deleted item's last state). LoggedDB and LoggedVolumetric are 1 while that log waits.
// DriverID, ExtTransactionID and AuthID are not kept with a sale item and come empty.
int32_t GetNextSaleItemEventMT(
    int32_t handle, int32_t* pSaleItemID, int32_t* pProductID, int32_t* pProductNumber,
    BSTR* pProductName, BSTR* pProductTag, int32_t* pProductGroup, BSTR* pProductGroupName,
    BSTR* pBarcode, int32_t* pPumpID, int32_t* pPumpNumber, BSTR* pPumpName, int32_t* pAttendantID,
    int32_t* pAttendantNumber, BSTR* pAttendantName, int64_t* pAttendantTag, int32_t* pCardClientID,
    int32_t* pCardClientNumber, BSTR* pCardClientName, int64_t* pCardClientTag,
    int16_t* pPriceLevel, double* pPrice, double* pQuantity, double* pAddedDT, double* pClearedDT,
    int32_t* pLockedBy, int32_t* pClearedBy, int16_t* pLoggedDB, int16_t* pLoggedVolumetric,
    BSTR* pPlate, BSTR* pDriverID, BSTR* pExtTransactionID, BSTR* pAuthID, int16_t* pAuthType);

// ---- Versions and texts ----

int32_t ServerVersionMT(int32_t handle, BSTR* pVersion);
int32_t DllVersion(BSTR* pVersion);
// The text of a result code as a new BSTR that the caller frees; unknown codes get a generic
// text ("Unknown result %d"). Never null unless memory is exhausted.
BSTR ResultString(int32_t Result);
// The texts of a pump state, delivery state, delivery type and reservation (QVCodes.h) as new
// BSTRs that the caller frees; a value outside its set gives "Unknown <set> <value>".
BSTR PumpStateString(int16_t State);
BSTR DeliveryStateString(int16_t State);
BSTR DeliveryTypeString(int16_t Type);
BSTR ReserveTypeString(int16_t Type);

// ---- Log events ----
// Properties: DeviceType, DeviceID, EventLevel, EventType, EventDesc, GeneratedDT, ClearedDT,
// ClearedBy, AckedBy, Volume, Value, ProductVolume, ProductLevel, WaterLevel, Temperature.
// The Ex count and by-ordinal calls filter by DeviceType, DeviceID and EventType (-1 any).

int32_t GetLogEventCountMT(int32_t handle, int32_t* pCount);
int32_t GetLogEventByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID);
int32_t GetLogEventCountExMT(int32_t handle, int16_t DeviceType, int32_t DeviceID,
                             int16_t EventType, int32_t* pCount);
int32_t GetLogEventByOrdinalExMT(int32_t handle, int16_t DeviceType, int32_t DeviceID,
                                 int16_t EventType, int32_t Ordinal, int32_t* pID);
int32_t ClearLogEventMT(int32_t handle, int32_t ID, int32_t ClearedBy);
int32_t AckLogEventMT(int32_t handle, int32_t ID, int32_t AckedBy);
int32_t DeleteLogEventMT(int32_t handle, int32_t ID);
int32_t GetLogEventPropertiesMT(int32_t handle, int32_t ID, int16_t* pDeviceType,
                                int32_t* pDeviceID, int16_t* pEventLevel, int16_t* pEventType,
                                BSTR* pEventDesc, double* pGeneratedDT, double* pClearedDT,
                                int32_t* pClearedBy, int32_t* pAckedBy, double* pVolume,
                                double* pValue, double* pProductVolume, double* pProductLevel,
                                double* pWaterLevel, double* pTemperature);

// ---- Event queue ----
// The server pushes events over the events connection; the logon's own thread moves each one
// into the logon's queue as it arrives (at most 16384 wait; the rest stay in the connection
// until the queue shrinks). ProcessEvents gives 0 while the events connection is read; once it
// has ended, -22 when a malformed event ended it (once), else -14. GetNextEventType gives the type
// of the oldest queued event (0 when none); each GetNext...Event reads and removes the oldest event
// when it has that reader's type, else returns 11. The server's forecourt sends 1 pump status
// (every change of state or sale, amounts at most every 100 ms while delivering), 2 delivery
// (completed, and every later change), 4 client event, 5 and 24 log events, 6 a delivery stored,
// 7 cleared, 8 stacked, 9 hose electronic totals, 11 and 12 attendant logon and logoff, 13 tank
// status, 17 a zero delivery and 22 card reads, each to the logons whose event mask asks for its
// type.

int32_t ProcessEventsMT(int32_t handle);
int32_t GetEventsCountMT(int32_t handle, int32_t* pCount);
int32_t GetNextEventTypeMT(int32_t handle, int16_t* pEventType);
int32_t DiscardNextEventMT(int32_t handle);
int32_t GetNextPumpEventMT(int32_t handle, int32_t* pPumpID, int16_t* pPumpNumber, int16_t* pState,
                           int16_t* pReservedFor, int32_t* pReservedBy, int32_t* pHoseID,
                           int16_t* pHoseNumber, int32_t* pGradeID, BSTR* pGradeName,
                           BSTR* pShortGradeName, int16_t* pPriceLevel, double* pPrice,
                           double* pVolume, double* pValue, int16_t* pStackSize);
int32_t GetNextPumpEventEx2MT(
    int32_t handle, int32_t* pPumpID, int32_t* pPumpNumber, int16_t* pState, int16_t* pReservedFor,
    int32_t* pReservedBy, int32_t* pHoseID, int32_t* pHoseNumber, int32_t* pHosePhysicalNumber,
    int32_t* pGradeID, int32_t* pGradeNumber, BSTR* pGradeName, BSTR* pShortGradeName,
    int16_t* pPriceLevel, double* pPrice, double* pVolume, double* pValue, int16_t* pStackSize,
    BSTR* pPumpName, int16_t* pPhysicalNumber, int16_t* pSide, int16_t* pAddress,
    int16_t* pPriceLevel1, int16_t* pPriceLevel2, int16_t* pType, int32_t* pPortID,
    int16_t* pAuthMode, int16_t* pStackMode, int16_t* pPrepayAllowed, int16_t* pPreauthAllowed,
    int16_t* pPriceFormat, int16_t* pValueFormat, int16_t* pVolumeFormat, int64_t* pTag,
    int32_t* pAttendantID, int32_t* pAttendantNumber, BSTR* pAttendantName, int64_t* pAttendantTag,
    int32_t* pCardClientID, int32_t* pCardClientNumber, BSTR* pCardClientName,
    int64_t* pCardClientTag);
// Ex2's list, then CurFlowRate and PeakFlowRate.
int32_t GetNextPumpEventEx3MT(
    int32_t handle, int32_t* pPumpID, int32_t* pPumpNumber, int16_t* pState, int16_t* pReservedFor,
    int32_t* pReservedBy, int32_t* pHoseID, int32_t* pHoseNumber, int32_t* pHosePhysicalNumber,
    int32_t* pGradeID, int32_t* pGradeNumber, BSTR* pGradeName, BSTR* pShortGradeName,
    int16_t* pPriceLevel, double* pPrice, double* pVolume, double* pValue, int16_t* pStackSize,
    BSTR* pPumpName, int16_t* pPhysicalNumber, int16_t* pSide, int16_t* pAddress,
    int16_t* pPriceLevel1, int16_t* pPriceLevel2, int16_t* pType, int32_t* pPortID,
    int16_t* pAuthMode, int16_t* pStackMode, int16_t* pPrepayAllowed, int16_t* pPreauthAllowed,
    int16_t* pPriceFormat, int16_t* pValueFormat, int16_t* pVolumeFormat, int64_t* pTag,
    int32_t* pAttendantID, int32_t* pAttendantNumber, BSTR* pAttendantName, int64_t* pAttendantTag,
    int32_t* pCardClientID, int32_t* pCardClientNumber, BSTR* pCardClientName,
    int64_t* pCardClientTag, double* pCurFlowRate, double* pPeakFlowRate);
// The delivery's ID, then the list of GetDeliverySummaryEx2.
int32_t GetNextDeliveryEventEx2MT(
    int32_t handle, int32_t* pDeliveryID, int32_t* pPumpID, int32_t* pPumpNumber, int32_t* pHoseID,
    int32_t* pHoseNumber, int32_t* pGradeID, BSTR* pGradeName, BSTR* pShortGradeName,
    int16_t* pPriceLevel, double* pPrice, double* pVolume, double* pValue, int16_t* pDeliveryState,
    int16_t* pDeliveryType, int32_t* pLockedBy, int32_t* pReservedBy, int32_t* pAge,
    double* pCompletedDT, int32_t* pAttendantID, double* pOldVolumeETot, double* pOldVolume2ETot,
    double* pOldValueETot, double* pNewVolumeETot, double* pNewVolume2ETot, double* pNewValueETot,
    int64_t* pTag, int32_t* pDuration);
// The delivery's ID, then the list of GetDeliverySummaryEx3.
int32_t GetNextDeliveryEventEx3MT(
    int32_t handle, int32_t* pDeliveryID, int32_t* pHoseID, int32_t* pHoseNumber,
    int32_t* pHosePhysicalNumber, int32_t* pPumpID, int32_t* pPumpNumber, BSTR* pPumpName,
    int32_t* pTankID, int32_t* pTankNumber, BSTR* pTankName, int32_t* pGradeID,
    int32_t* pGradeNumber, BSTR* pGradeName, BSTR* pGradeShortName, BSTR* pGradeCode,
    int16_t* pDeliveryState, int16_t* pDeliveryType, double* pVolume, int16_t* pPriceLevel,
    double* pPrice, double* pValue, double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
    int32_t* pReservedBy, int32_t* pAttendantID, int32_t* pAge, double* pClearedDT,
    double* pOldVolumeETot, double* pOldVolume2ETot, double* pOldValueETot, double* pNewVolumeETot,
    double* pNewVolume2ETot, double* pNewValueETot, int64_t* pTag, int32_t* pDuration,
    int32_t* pAttendantNumber, BSTR* pAttendantName, int64_t* pAttendantTag, int32_t* pCardClientID,
    int32_t* pCardClientNumber, BSTR* pCardClientName, int64_t* pCardClientTag);
// The delivery's ID, then the list of GetDeliverySummaryEx4.
int32_t GetNextDeliveryEventEx4MT(
    int32_t handle, int32_t* pDeliveryID, int32_t* pHoseID, int32_t* pHoseNumber,
    int32_t* pHosePhysicalNumber, int32_t* pPumpID, int32_t* pPumpNumber, BSTR* pPumpName,
    int32_t* pTankID, int32_t* pTankNumber, BSTR* pTankName, int32_t* pGradeID,
    int32_t* pGradeNumber, BSTR* pGradeName, BSTR* pGradeShortName, BSTR* pGradeCode,
    int16_t* pDeliveryState, int16_t* pDeliveryType, double* pVolume, int16_t* pPriceLevel,
    double* pPrice, double* pValue, double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
    int32_t* pReservedBy, int32_t* pAttendantID, int32_t* pAge, double* pClearedDT,
    double* pOldVolumeETot, double* pOldVolume2ETot, double* pOldValueETot, double* pNewVolumeETot,
    double* pNewVolume2ETot, double* pNewValueETot, int64_t* pTag, int32_t* pDuration,
    int32_t* pAttendantNumber, BSTR* pAttendantName, int64_t* pAttendantTag, int32_t* pCardClientID,
    int32_t* pCardClientNumber, BSTR* pCardClientName, int64_t* pCardClientTag,
    double* pPeakFlowRate);

// ---- Pump hoses and pump control ----
// Pump control goes to the server's forecourt (see "The living forecourt" below).

int32_t GetPumpHosesCountMT(int32_t handle, int32_t PumpID, int32_t* pCount);
// The ID of the pump's HoseNumber-th hose in Number order, 1 to the count (3 beyond): the hose
// whose Number is HoseNumber on a pump whose hoses are numbered 1 to the count.
int32_t GetPumpHoseByNumberMT(int32_t handle, int32_t PumpID, int32_t HoseNumber, int32_t* pHoseID);
int32_t PreauthReserveMT(int32_t handle, int32_t PumpID, int32_t ReservedBy);
int32_t PreauthCancelMT(int32_t handle, int32_t PumpID, int32_t ReservedBy);
int32_t PreauthAuthoriseMT(int32_t handle, int32_t PumpID, int32_t ReservedBy, int16_t LimitType,
                           double Limit, int16_t PriceLevel);
int32_t PaymentReserveMT(int32_t handle, int32_t PumpID, int32_t ReservedBy);
int32_t PaymentCancelMT(int32_t handle, int32_t PumpID, int32_t ReservedBy);
int32_t PaymentAuthoriseMT(int32_t handle, int32_t PumpID, int32_t ReservedBy, int16_t PresetType,
                           double PresetValue, int16_t PriceType, int16_t AuthType);
int32_t TerminateDeliveryMT(int32_t handle, int32_t PumpID);
int32_t GetNextCardReadEventMT(int32_t handle, int32_t* pCardReadID, int32_t* pNumber, BSTR* pName,
                               int32_t* pPumpID, int16_t* pType, int32_t* pParentID, int64_t* pTag,
                               double* pTimeStamp);
int32_t SetDeliveryPropertiesEx4MT(int32_t handle, int32_t ID, int32_t PumpID, int32_t HoseID,
                                   int16_t State, int16_t Type, double Volume, int16_t PriceLevel,
                                   double Price, double Value, double Volume2, double CompletedDT,
                                   int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID,
                                   double ClearedDT, int32_t Duration, int32_t CardClientID,
                                   int64_t Tag, int32_t GradeID, int32_t TankID,
                                   int16_t LoggedState, int32_t ClearedBy);
int32_t SetDeliveryPropertiesEx3MT(int32_t handle, int32_t ID, int32_t PumpID, int32_t HoseID,
                                   int16_t State, int16_t Type, double Volume, int16_t PriceLevel,
                                   double Price, double Value, double Volume2, double CompletedDT,
                                   int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID,
                                   double ClearedDT, int32_t Duration, int32_t CardClientID,
                                   int64_t Tag, int32_t GradeID, int32_t TankID);
int32_t SetDeliveryPropertiesEx2MT(int32_t handle, int32_t ID, int32_t PumpID, int32_t HoseID,
                                   int16_t State, int16_t Type, double Volume, int16_t PriceLevel,
                                   double Price, double Value, double Volume2, double CompletedDT,
                                   int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID,
                                   double ClearedDT, int32_t Duration, int32_t CardClientID,
                                   int64_t Tag);
int32_t SetDeliveryPropertiesExMT(int32_t handle, int32_t ID, int32_t PumpID, int32_t HoseID,
                                  int16_t State, int16_t Type, double Volume, int16_t PriceLevel,
                                  double Price, double Value, double Volume2, double CompletedDT,
                                  int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID,
                                  double ClearedDT, int32_t Duration);
// The server's clock: SetDateTime moves it (the offset is kept), GetDateTime reads it.
int32_t SetDateTimeMT(int32_t handle, double DateTime);
int32_t GetDateTimeMT(int32_t handle, double* pDateTime);

// ---- ZigBee devices and ports ----
// ZigBee fields: Number, Name, DeviceType, SerialNumber, NodeIdentifier, PortID.
// Port fields: Number, Name, ProtocolID, DeviceType, SerialNo.

int32_t GetZigBeeCountMT(int32_t handle, int32_t* pCount);
int32_t GetZigBeeByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID);
int32_t GetZigBeePropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                              int16_t* pDeviceType, BSTR* pSerialNumber, BSTR* pNodeIdentifier,
                              int32_t* pPortID);
int32_t GetPortsCountMT(int32_t handle, int32_t* pCount);
int32_t GetPortByNumberMT(int32_t handle, int32_t Number, int32_t* pID);
int32_t GetPortByNameMT(int32_t handle, BSTR Name, int32_t* pID);
int32_t GetPortByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID);
int32_t GetPortPropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                            int16_t* pProtocolID, int16_t* pDeviceType, BSTR* pSerialNo);

// ---- Tank summaries ----
// Gauge readings; Ex adds the tank's identity, Ex2 its state (1 normal) and alarms.

int32_t GetTankSummaryMT(int32_t handle, int32_t ID, double* pGaugeVolume, double* pGaugeTCVolume,
                         double* pGaugeUllage, double* pGaugeTemperature, double* pGaugeLevel,
                         double* pGaugeWaterVolume, double* pGaugeWaterLevel);
int32_t GetTankSummaryExMT(int32_t handle, int32_t ID, double* pGaugeVolume, double* pGaugeTCVolume,
                           double* pGaugeUllage, double* pGaugeTemperature, double* pGaugeLevel,
                           double* pGaugeWaterVolume, double* pGaugeWaterLevel,
                           int32_t* pTankNumber, BSTR* pTankName, int32_t* pGradeID,
                           BSTR* pGradeName, int16_t* pType, double* pCapacity, double* pDiameter,
                           int32_t* pGaugeID, int16_t* pProbeNo);
int32_t GetTankSummaryEx2MT(int32_t handle, int32_t ID, double* pGaugeVolume,
                            double* pGaugeTCVolume, double* pGaugeUllage, double* pGaugeTemperature,
                            double* pGaugeLevel, double* pGaugeWaterVolume,
                            double* pGaugeWaterLevel, int32_t* pTankNumber, BSTR* pTankName,
                            int32_t* pGradeID, BSTR* pGradeName, int16_t* pType, double* pCapacity,
                            double* pDiameter, int32_t* pGaugeID, int16_t* pProbeNo,
                            int16_t* pState, int32_t* pAlarmsMask);

// ---- Filtered deliveries and delivery properties ----
// Filter: PumpID (-1 any), State (-1 any), Type (-1 any), completed from FromDT up to ToDT
// (0 for an open end); Ex adds AttendantID and CardClientID (-1 any).

int32_t GetDeliveriesCountFilteredMT(int32_t handle, int32_t PumpID, int16_t State, int16_t Type,
                                     double FromDT, double ToDT, int32_t* pCount);
int32_t GetDeliveriesCountFilteredExMT(int32_t handle, int32_t PumpID, int16_t State, int16_t Type,
                                       double FromDT, double ToDT, int32_t AttendantID,
                                       int32_t CardClientID, int32_t* pCount);
int32_t GetDeliveryIDByOrdinalFilteredMT(int32_t handle, int32_t PumpID, int16_t State,
                                         int16_t Type, double FromDT, double ToDT, int32_t Ordinal,
                                         int32_t* pID);
int32_t GetDeliveryIDByOrdinalFilteredExMT(int32_t handle, int32_t PumpID, int16_t State,
                                           int16_t Type, double FromDT, double ToDT,
                                           int32_t AttendantID, int32_t CardClientID,
                                           int32_t Ordinal, int32_t* pID);
int32_t GetDeliveryPropertiesMT(int32_t handle, int32_t ID, int32_t* pPumpID, int32_t* pHoseID,
                                int16_t* pState, int16_t* pType, double* pVolume,
                                int16_t* pPriceLevel, double* pPrice, double* pValue,
                                double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
                                int32_t* pReservedBy, int32_t* pAttendantID);
int32_t GetDeliveryPropertiesExMT(int32_t handle, int32_t ID, int32_t* pPumpID, int32_t* pHoseID,
                                  int16_t* pState, int16_t* pType, double* pVolume,
                                  int16_t* pPriceLevel, double* pPrice, double* pValue,
                                  double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
                                  int32_t* pReservedBy, int32_t* pAttendantID, double* pClearedDT,
                                  int32_t* pDuration);
int32_t GetDeliveryPropertiesEx2MT(int32_t handle, int32_t ID, int32_t* pPumpID, int32_t* pHoseID,
                                   int16_t* pState, int16_t* pType, double* pVolume,
                                   int16_t* pPriceLevel, double* pPrice, double* pValue,
                                   double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
                                   int32_t* pReservedBy, int32_t* pAttendantID, double* pClearedDT,
                                   int32_t* pDuration, int32_t* pCardClientID, int64_t* pTag);
int32_t GetDeliveryPropertiesEx3MT(int32_t handle, int32_t ID, int32_t* pPumpID, int32_t* pHoseID,
                                   int16_t* pState, int16_t* pType, double* pVolume,
                                   int16_t* pPriceLevel, double* pPrice, double* pValue,
                                   double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
                                   int32_t* pReservedBy, int32_t* pAttendantID, double* pClearedDT,
                                   int32_t* pDuration, int32_t* pCardClientID, int64_t* pTag,
                                   int32_t* pGradeID, int32_t* pTankID);
int32_t GetDeliveryPropertiesEx4MT(int32_t handle, int32_t ID, int32_t* pPumpID, int32_t* pHoseID,
                                   int16_t* pState, int16_t* pType, double* pVolume,
                                   int16_t* pPriceLevel, double* pPrice, double* pValue,
                                   double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
                                   int32_t* pReservedBy, int32_t* pAttendantID, double* pClearedDT,
                                   int32_t* pDuration, int32_t* pCardClientID, int64_t* pTag,
                                   int32_t* pGradeID, int32_t* pTankID, int16_t* pLoggedState,
                                   int32_t* pClearedBy);

// ---- Tank status, log event and pump control events; misc ----

int32_t GetNextDBTankStatusEventMT(int32_t handle, int32_t* pTankID, double* pGaugeVolume,
                                   double* pGaugeTCVolume, double* pGaugeUllage,
                                   double* pGaugeTemperature, double* pGaugeLevel,
                                   double* pGaugeWaterVolume, double* pGaugeWaterLevel);
int32_t GetNextDBTankStatusEventExMT(int32_t handle, int32_t* pTankID, double* pGaugeVolume,
                                     double* pGaugeTCVolume, double* pGaugeUllage,
                                     double* pGaugeTemperature, double* pGaugeLevel,
                                     double* pGaugeWaterVolume, double* pGaugeWaterLevel,
                                     int32_t* pTankNumber, BSTR* pTankName, int32_t* pGradeID,
                                     BSTR* pGradeName, int16_t* pType, double* pCapacity,
                                     double* pDiameter, int32_t* pGaugeID, int16_t* pProbeNo);
int32_t GetNextDBTankStatusEventEx2MT(int32_t handle, int32_t* pTankID, double* pGaugeVolume,
                                      double* pGaugeTCVolume, double* pGaugeUllage,
                                      double* pGaugeTemperature, double* pGaugeLevel,
                                      double* pGaugeWaterVolume, double* pGaugeWaterLevel,
                                      int32_t* pTankNumber, BSTR* pTankName, int32_t* pGradeID,
                                      BSTR* pGradeName, int16_t* pType, double* pCapacity,
                                      double* pDiameter, int32_t* pGaugeID, int16_t* pProbeNo,
                                      int16_t* pState, int32_t* pAlarmsMask);
int32_t GetNextLogEventEventMT(int32_t handle, int32_t* pLogEventID, int16_t* pDeviceType,
                               int32_t* pDeviceID, int32_t* pDeviceNumber, BSTR* pDeviceName,
                               int16_t* pEventLevel, int16_t* pEventType, BSTR* pEventDesc,
                               double* pGeneratedDT, double* pClearedDT, int32_t* pClearedBy,
                               int32_t* pAckedBy, double* pVolume, double* pValue,
                               double* pProductVolume, double* pProductLevel, double* pWaterLevel,
                               double* pTemperature);
int32_t TempStopMT(int32_t handle, int32_t PumpID);
int32_t ReAuthoriseMT(int32_t handle, int32_t PumpID);
// The product stored most recently (3 when there are no products).
int32_t GetLastProductUpdatedMT(int32_t handle, int32_t* pProductID, double* pUpdatedDT);
// Adds a log event generated now (LoggedState 1) and sends a log event to every logon.
int32_t AddLogEventMT(int32_t handle, int16_t DeviceType, int32_t DeviceID, int16_t EventLevel,
                      int16_t EventType, BSTR EventDesc, int32_t* pID);

// ---- Sensors ----
// Fields (Ex): Number, Name, PortID, Type, Address, SensorNo, SlotZigBeeID, SensorSerialNo.
// Plain: up to SensorNo.

int32_t GetSensorsCountMT(int32_t handle, int32_t* pCount);
int32_t GetSensorByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID);
int32_t GetSensorPropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                              int32_t* pPortID, int16_t* pType, int16_t* pAddress,
                              int16_t* pSensorNo);
int32_t GetSensorPropertiesExMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                int32_t* pPortID, int16_t* pType, int16_t* pAddress,
                                int16_t* pSensorNo, int32_t* pSlotZigBeeID,
                                int32_t* pSensorSerialNo);
// The sensor's last reported state (0 normal, 1 alarm).
int32_t GetSensorStatusMT(int32_t handle, int32_t ID, int16_t* pState);
// Sums of the hose's deliveries: volume, value and their number.
int32_t GetHoseDelTotalsMT(int32_t handle, int32_t HoseID, double* pVolume, double* pValue,
                           int32_t* pCount);

// ---- Radio, device details and setters of the configuration ----

// Radio settings of a port: PAN identifier, channel bit mask (bits 11..26), link keys.
// A port without a radio reports zeros.
int32_t GetZB2GConfigMT(int32_t handle, int32_t PortID, int32_t* pPanID, int32_t* pChannels,
                        int64_t* pKeyA, int64_t* pKeyB);
// Versions that a device reports: the port itself (DeviceID -1) or a ZigBee device of that
// port. 3 for an unknown port or a device of another port; 12 when the device has no serial
// number.
int32_t GetDeviceDetailsMT(int32_t handle, int32_t PortID, int32_t DeviceID, BSTR* pSerialNo,
                           BSTR* pBootVersion, BSTR* pFirmwareVersion);
int32_t SetPortPropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                            int16_t ProtocolID, int16_t DeviceType, BSTR SerialNo);
int32_t SetGradePriceMT(int32_t handle, int32_t ID, int16_t Level, double Price);
int32_t SetZigBeePropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                              int16_t DeviceType, BSTR SerialNumber, BSTR NodeIdentifier,
                              int32_t PortID);
int32_t SetTankPropertiesExMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                              int32_t GradeID, int16_t Type, double Capacity, double Diameter,
                              double TheoVolume, double GaugeVolume, double GaugeTCVolume,
                              double GaugeUllage, double GaugeTemperature, double GaugeLevel,
                              double GaugeWaterVolume, double GaugeWaterLevel, int32_t GaugeID,
                              int16_t ProbeNo, int32_t GaugeAlarmsMask);
int32_t SetTankPropertiesEx2MT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                               int32_t GradeID, int16_t Type, double Capacity, double Diameter,
                               double TheoVolume, double GaugeVolume, double GaugeTCVolume,
                               double GaugeUllage, double GaugeTemperature, double GaugeLevel,
                               double GaugeWaterVolume, double GaugeWaterLevel, int32_t GaugeID,
                               int16_t ProbeNo, int32_t GaugeAlarmsMask, int32_t SlotZigBeeID,
                               int16_t ProbeType, int32_t ProbeSerialNo);
int32_t SetHosePropertiesExMT(int32_t handle, int32_t ID, int32_t Number, int32_t PumpID,
                              int32_t TankID, int32_t PhysicalNumber, double MtrTheoValue,
                              double MtrTheoVolume, double MtrElecValue, double MtrElecVolume,
                              int16_t UVEAntenna);
int32_t SetHosePropertiesEx2MT(int32_t handle, int32_t ID, int32_t Number, int32_t PumpID,
                               int32_t TankID, int32_t PhysicalNumber, double MtrTheoValue,
                               double MtrTheoVolume, double MtrElecValue, double MtrElecVolume,
                               int16_t UVEAntenna, double Price1, double Price2, int16_t Enabled);
int32_t SetHosePropertiesEx3MT(int32_t handle, int32_t ID, int32_t Number, int32_t PumpID,
                               int32_t TankID, int32_t PhysicalNumber, double MtrTheoValue,
                               double MtrTheoVolume, double MtrElecValue, double MtrElecVolume,
                               int16_t UVEAntenna, double Price1, double Price2, double Price3,
                               double Price4, int16_t Enabled);
int32_t SetSensorPropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name, int32_t PortID,
                              int16_t Type, int16_t Address, int16_t SensorNo);
int32_t SetSensorPropertiesExMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                                int32_t PortID, int16_t Type, int16_t Address, int16_t SensorNo,
                                int32_t SlotZigBeeID, int32_t SensorSerialNo);
// The ID that the next delivery gets (at least one above the highest existing ID).
int32_t SetNextDeliveryIDMT(int32_t handle, int32_t NextID);
int32_t DeleteHoseMT(int32_t handle, int32_t ID);
// Deletes the pump and its hoses.
int32_t DeletePumpMT(int32_t handle, int32_t ID);
int32_t AllStopMT(int32_t handle);
int32_t AuthoriseMT(int32_t handle, int32_t PumpID);
int32_t CancelAuthoriseMT(int32_t handle, int32_t PumpID);
// Authorises the pump up to the limit for the hoses of the Hoses mask (bit 1 for hose 1, 2 for
// hose 2, 4 for hose 3, ...; 255 all hoses; 0 is refused) at PriceLevel.
int32_t LoadPresetMT(int32_t handle, int32_t PumpID, int16_t PresetType, double PresetValue,
                     int16_t Hoses, int16_t PriceLevel);
// The same for every hose of the pump, at PriceLevel, with Price instead of the hose's own
// price when Price is above 0.
int32_t LoadPresetWithPriceMT(int32_t handle, int32_t PumpID, int16_t PresetType,
                              double PresetValue, int16_t PriceLevel, double Price);
// The Index-th (1..) delivery of the pump that is not cleared, with the outputs of
// GetDeliveryPropertiesEx4 after its ID.
int32_t GetPumpDeliveryPropertiesEx4MT(
    int32_t handle, int32_t PumpID, int32_t Index, int32_t* pDeliveryID, int32_t* pHoseID,
    int16_t* pState, int16_t* pType, double* pVolume, int16_t* pPriceLevel, double* pPrice,
    double* pValue, double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
    int32_t* pReservedBy, int32_t* pAttendantID, double* pClearedDT, int32_t* pDuration,
    int32_t* pCardClientID, int64_t* pTag, int32_t* pGradeID, int32_t* pTankID,
    int16_t* pLoggedState, int32_t* pClearedBy);
// Sets the pump's PriceLevel1 (levels 1..8).
int32_t SetPumpDefaultPriceLevelMT(int32_t handle, int32_t PumpID, int16_t PriceLevel);
int32_t GetNextDBHoseETotalsEventExMT(int32_t handle, int32_t* pHoseID, double* pVolume,
                                      double* pValue, double* pVolumeETot, double* pValueETot,
                                      int32_t* pHoseNumber, int32_t* pHosePhysicalNumber,
                                      int32_t* pPumpID, int32_t* pPumpNumber, BSTR* pPumpName,
                                      int32_t* pTankID, int32_t* pTankNumber, BSTR* pTankName,
                                      int32_t* pGradeID, BSTR* pGradeName);

// ---- Card reads ----
// Card reads listed in ascending ID order; properties: Number, Name, PumpID, Type, ParentID,
// Tag, TimeStamp.

int32_t GetCardReadByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID);
int32_t GetCardReadPropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                int32_t* pPumpID, int16_t* pType, int32_t* pParentID, int64_t* pTag,
                                double* pTimeStamp);
int32_t DeleteCardReadMT(int32_t handle, int32_t ID);
int32_t TagAuthoriseMT(int32_t handle, int32_t PumpID, int64_t Tag, int16_t LimitType,
                       double Limit);

// ---- Network settings, watchdog, hose summaries, external deliveries ----

// The controller's stored network settings (not the host's). DHCP 1 on, 0 off.
int32_t GetTCPIPConfigMT(int32_t handle, BSTR* pIPAddress, BSTR* pNetMask, BSTR* pGateway,
                         BSTR* pDNSServer, int16_t* pDHCP, BSTR* pNetworkName);
int32_t SetTCPIPConfigMT(int32_t handle, BSTR IPAddress, BSTR NetMask, BSTR Gateway, BSTR DNSServer,
                         int16_t DHCP, BSTR NetworkName);
int32_t WDResetMT(int32_t handle);
// A hose with its pump, tank and grade; Ex adds its prices and Enabled, Ex2 its meters.
int32_t GetHoseSummaryMT(int32_t handle, int32_t HoseID, int32_t* pNumber, int32_t* pPhysicalNumber,
                         int32_t* pPumpID, int32_t* pPumpNumber, int32_t* pTankID,
                         int32_t* pTankNumber, int32_t* pGradeID, BSTR* pGradeName);
int32_t GetHoseSummaryExMT(int32_t handle, int32_t HoseID, int32_t* pNumber,
                           int32_t* pPhysicalNumber, int32_t* pPumpID, int32_t* pPumpNumber,
                           int32_t* pTankID, int32_t* pTankNumber, int32_t* pGradeID,
                           BSTR* pGradeName, double* pPrice1, double* pPrice2, double* pPrice3,
                           double* pPrice4, int16_t* pEnabled);
int32_t GetHoseSummaryEx2MT(int32_t handle, int32_t HoseID, int32_t* pNumber,
                            int32_t* pPhysicalNumber, int32_t* pPumpID, int32_t* pPumpNumber,
                            int32_t* pTankID, int32_t* pTankNumber, int32_t* pGradeID,
                            BSTR* pGradeName, double* pPrice1, double* pPrice2, double* pPrice3,
                            double* pPrice4, int16_t* pEnabled, double* pMtrTheoValue,
                            double* pMtrTheoVolume, double* pMtrElecValue, double* pMtrElecVolume);
// A delivery made outside the server's pump control: Start adds a current delivery (state 1)
// on the hose at the hose's price of that level; End completes it (state 2, CompletedDT now,
// LoggedState 3), advances the hose's electronic meters and sends a delivery event.
int32_t ExternalStartDeliveryMT(int32_t handle, int32_t HoseID, int16_t PriceLevel,
                                int32_t* pDeliveryID);
int32_t ExternalEndDeliveryMT(int32_t handle, int32_t DeliveryID, double Volume, double Value);

// ---- The living forecourt: pump control, pump status, deliveries on the pumps ----
// The server runs every pump's state machine (QVCodes.h: TPumpState, TPumpReserve,
// TDeliveryState, TDeliveryType). A call the pump refuses in its present state returns the
// TResult code saying why and changes nothing; an unknown pump, tank or delivery gives 3.
// ReservedBy and the logon's client ID are the client IDs that reservations, locks and
// clearings are recorded under. Limits: PresetType/LimitType LIMIT_VALUE (2) or LIMIT_VOLUME (3)
// (TAllocLimitType; limit 0: none);
// PriceLevel 1..8, or 0 for the pump's default level.

// Reserves the pump for a prepaid sale of the client ReservedBy; the reservation is released
// when it is not authorised in time. Cancel releases it (only ReservedBy may).
int32_t PrepayReserveMT(int32_t handle, int32_t PumpID, int32_t ReservedBy);
int32_t PrepayCancelMT(int32_t handle, int32_t PumpID, int32_t ReservedBy);
// Authorises the reserved pump up to the paid limit; a sale that stops short of it becomes a
// refund delivery (type 3) for the difference.
int32_t PrepayAuthoriseMT(int32_t handle, int32_t PumpID, int32_t ReservedBy, int16_t LimitType,
                          double Limit, int16_t PriceLevel);
// Authorises the pump for the attendant (an attendant ID); the sale is the attendant's.
int32_t AttendantAuthoriseMT(int32_t handle, int32_t PumpID, int32_t AttendantID);
// Moves the pump's current delivery to its stack so that the pump may sell again.
int32_t StackCurrentDeliveryMT(int32_t handle, int32_t PumpID);
// Stops every pump that is not idle (AllStop stops all of them); they resume with ReAuthorise
// or AllReAuthorise.
int32_t AllStopIfIdleMT(int32_t handle);
// Authorises every calling pump that may start.
int32_t AllAuthoriseMT(int32_t handle);
// Resumes every stopped or temporarily stopped pump.
int32_t AllReAuthoriseMT(int32_t handle);
// A disabled pump refuses every authorisation until enabled.
int32_t EnablePumpMT(int32_t handle, int32_t ID);
int32_t DisablePumpMT(int32_t handle, int32_t ID);
// Locks a delivery on a pump for the calling client (another client's lock refuses); Unlock
// releases the caller's own lock. ClearDelivery and LockAndClearDelivery (above) clear it.
int32_t LockDeliveryMT(int32_t handle, int32_t ID);
int32_t UnlockDeliveryMT(int32_t handle, int32_t ID);
// The pump's state and running sale: hose up or delivering (-1 when none), its grade, price
// level and price, the volume and value so far, and the deliveries held on the pump.
int32_t GetPumpStatusMT(int32_t handle, int32_t ID, int16_t* pState, int16_t* pReservedFor,
                        int32_t* pReservedBy, int32_t* pHoseID, int32_t* pHoseNumber,
                        int32_t* pGradeID, BSTR* pGradeName, BSTR* pShortGradeName,
                        int16_t* pPriceLevel, double* pPrice, double* pVolume, double* pValue,
                        int32_t* pStackSize);
// The pump's number, name and physical number first, then GetPumpStatus's list with the hose's
// physical number and the grade's number, then the sale's tag, attendant and card client (IDs
// -1 and tags -1 when none).
int32_t GetPumpStatusExMT(int32_t handle, int32_t ID, int32_t* pPumpNumber, BSTR* pPumpName,
                          int16_t* pPhysicalNumber, int16_t* pState, int16_t* pReservedFor,
                          int32_t* pReservedBy, int32_t* pHoseID, int32_t* pHoseNumber,
                          int32_t* pHosePhysicalNumber, int32_t* pGradeID, int32_t* pGradeNumber,
                          BSTR* pGradeName, BSTR* pShortGradeName, int16_t* pPriceLevel,
                          double* pPrice, double* pVolume, double* pValue, int32_t* pStackSize,
                          int64_t* pTag, int32_t* pAttendantID, int32_t* pAttendantNumber,
                          BSTR* pAttendantName, int64_t* pAttendantTag, int32_t* pCardClientID,
                          int32_t* pCardClientNumber, BSTR* pCardClientName,
                          int64_t* pCardClientTag);
// GetPumpStatusEx's list, then the flow rate now and the sale's peak (litres per minute).
int32_t GetPumpStatusEx2MT(int32_t handle, int32_t ID, int32_t* pPumpNumber, BSTR* pPumpName,
                           int16_t* pPhysicalNumber, int16_t* pState, int16_t* pReservedFor,
                           int32_t* pReservedBy, int32_t* pHoseID, int32_t* pHoseNumber,
                           int32_t* pHosePhysicalNumber, int32_t* pGradeID, int32_t* pGradeNumber,
                           BSTR* pGradeName, BSTR* pShortGradeName, int16_t* pPriceLevel,
                           double* pPrice, double* pVolume, double* pValue, int32_t* pStackSize,
                           int64_t* pTag, int32_t* pAttendantID, int32_t* pAttendantNumber,
                           BSTR* pAttendantName, int64_t* pAttendantTag, int32_t* pCardClientID,
                           int32_t* pCardClientNumber, BSTR* pCardClientName,
                           int64_t* pCardClientTag, double* pCurFlowRate, double* pPeakFlowRate);
// Every pump at once, one character per pump in ID order: its state and its current hose
// number as base-36 digits ("0" for no hose), and its deliveries held (at most "9").
int32_t GetAllPumpStatusesMT(int32_t handle, BSTR* pStates, BSTR* pCurrentHoses,
                             BSTR* pDeliveriesCount);
// A delivery of Volume litres into the tank: its gauge rises at the tanker's rate.
int32_t TankDropMT(int32_t handle, int32_t TankID, double Volume);
// The attendant's sales at the pump (PumpID -1: at no pump in particular) are theirs from now
// on; a logon at another pump moves them (events 11 and 12). Logoff: 3 when the attendant is
// not logged on.
int32_t AttendantLogonMT(int32_t handle, int32_t ID, int32_t PumpID);
int32_t AttendantLogoffMT(int32_t handle, int32_t ID);
// Sends a client event (type 4) with the caller's client ID to every logon that asks for them.
int32_t FireClientEventMT(int32_t handle, int32_t EventID, BSTR EventText);

// ---- Readers of the forecourt's other events ----
// As the other readers: the oldest queued event when it has the reader's type, else 11.

// Type 4: a client's event (FireClientEvent).
int32_t GetNextClientEventMT(int32_t handle, int32_t* pClientID, int32_t* pEventID,
                             BSTR* pEventText);
// Type 5: a log event stored in the database (its type, device, date and text).
int32_t GetNextDBLogEventMT(int32_t handle, int16_t* pEventType, int32_t* pDeviceID,
                            double* pEventDT, BSTR* pEventText);
// Type 6: a completed delivery stored in the database.
int32_t GetNextDBLogDeliveryEventMT(int32_t handle, int32_t* pDeliveryID, int32_t* pHoseID,
                                    int16_t* pDeliveryState, int16_t* pDeliveryType,
                                    double* pVolume, int16_t* pPriceLevel, double* pPrice,
                                    double* pValue, double* pVolume2, int32_t* pReservedBy,
                                    int32_t* pAttendantID, double* pDeliveryDT);
// Type 7: a delivery was cleared.
int32_t GetNextDBClearDeliveryEventMT(int32_t handle, int32_t* pDeliveryID, int16_t* pDeliveryType,
                                      int32_t* pClearedBy, double* pClearedDT,
                                      int32_t* pAttendantID);
// Type 8: a current delivery became stacked.
int32_t GetNextDBStackDeliveryEventMT(int32_t handle, int32_t* pDeliveryID);
// Type 11: an attendant logged on at a pump (-1: at none); type 12: logged off.
int32_t GetNextDBAttendantLogonEventMT(int32_t handle, int32_t* pAttendantID, int32_t* pPumpID);
int32_t GetNextDBAttendantLogoffEventMT(int32_t handle, int32_t* pAttendantID);
// Type 17: a nozzle hung up without any product delivered.
int32_t GetNextZeroDeliveryEventMT(int32_t handle, int32_t* pPumpID, int32_t* pPumpNumber,
                                   int32_t* pHoseID, int32_t* pHoseNumber);

// ---- Server notices, ZigBee reports, terminal prompts, beeper and lights ----

// Type 3: something happened on the server. EventID 1 a client logged on, 2 a client logged
// off (EventText "Client <ClientID>"), 3 a pump went off line, 4 a pump came back on line
// (EventText "Pump <PumpID>").
int32_t GetNextServerEventMT(int32_t handle, int32_t* pEventID, BSTR* pEventText);
// Type 10: a row of a forecourt table was written: TableID 1 Deliveries (a delivery stored or
// its state changed), 2 LogEvents, 3 SaleItems; RowID is the row's ID.
int32_t GetNextDBTriggerEventMT(int32_t handle, int32_t* pTableID, int32_t* pRowID);
// Type 19: a port's ZigBee coordinator took a new PAN id (SetZBCoordPan).
int32_t GetNextZBPanIDEventMT(int32_t handle, int32_t* pPortID, int32_t* pPanID);
// Type 23: a ZigBee device's radio status as its coordinator on PortID reports it.
int32_t GetNextZB2GStatusEventMT(int32_t handle, int32_t* pPortID, int64_t* pZBAddress,
                                 int16_t* pLQI, int16_t* pRSSI, int64_t* pParZBAddress,
                                 int16_t* pZBChannel, int32_t* pMemBlocks, int32_t* pMemFree,
                                 int16_t* pDeviceType);
// Type 27: the answer to a QVTermPrompt: PromptResult 0 entered (Input holds what was keyed),
// 1 cancelled at the terminal, 2 timed out.
int32_t GetNextQVTermPromptEventMT(int32_t handle, int32_t* pPumpID, int32_t* pPromptID,
                                   int16_t* pPromptResult, BSTR* pInput);
// Type 26: an odometer's report through the ZigBee coordinator on PortID: the radio's status as
// in type 23, the card client it belongs to (ClientID, with the client's Name, Tag as a number,
// -1 when it is none, and Plate), two odometer channels (reading, factor, level), four tags
// and the fuel types allowed (bit mask). The client's Odometer and Factor take Odo1 and Factor1.
int32_t GetNextQVOdoEventMT(int32_t handle, int32_t* pPortID, int64_t* pZBAddress, int16_t* pLQI,
                            int16_t* pRSSI, int64_t* pParZBAddress, int16_t* pZBChannel,
                            int32_t* pMemBlocks, int32_t* pMemFree, int16_t* pDeviceType,
                            int32_t* pClientID, BSTR* pClientName, int64_t* pClientTag,
                            double* pOdo1, int32_t* pFactor1, int16_t* pLevel1, double* pOdo2,
                            int32_t* pFactor2, int16_t* pLevel2, int64_t* pTag1, int64_t* pTag2,
                            int64_t* pTag3, int64_t* pTag4, int32_t* pFuelTypes, BSTR* pPlate);
// Stores PanID (0..0xFFFE) as the PAN id of the port's radio (GetZB2GConfig reads it) and
// sends event 19; 3 for an unknown port, 2 for a PAN id out of range.
int32_t SetZBCoordPanMT(int32_t handle, int32_t PortID, int32_t PanID);
// The mode of the port's serial line: 0 RS-485 two-wire (a port's default), 1 RS-485 four-wire,
// 2 RS-232, 3 current loop. 3 for an unknown port, 2 for a mode out of range.
int32_t SetLineModeMT(int32_t handle, int32_t PortID, int16_t LineMode);
// Shows PromptText on the terminal of the pump and waits for an answer (event 27): InputType 0
// none (a key to confirm), 1 digits, 2 text; at most MaxLength (1..32) characters; Timeout in
// seconds (0: none). A new prompt replaces one not yet answered. 3 for an unknown pump, 2 for
// a type or length out of range.
int32_t QVTermPromptMT(int32_t handle, int32_t PumpID, int32_t PromptID, BSTR PromptText,
                       int16_t InputType, int16_t MaxLength, int32_t Timeout);
// Schedules Repeats (1..20) beeps of Pattern (1 short, 2 long, 3 alarm) at the pump's terminal;
// Pattern 0 silences it. Recorded on the pump ('qvserver ctl ADDRESS terminal PUMP').
int32_t ScheduleBeepMT(int32_t handle, int32_t PumpID, int16_t Pattern, int16_t Repeats);
// Flashes the terminal's lights of LEDMask (bits 0..7; 0 puts them out) for Duration ms
// (0: until changed). Recorded on the pump as ScheduleBeep.
int32_t FlashLEDSMT(int32_t handle, int32_t PumpID, int16_t LEDMask, int32_t Duration);

// ---- Records by number and by name ----
// The ID of the record with that Number, or that Name (exact; the lowest ID when several
// match); 3 when there is none. GetCardReadsCount: the card reads stored.

int32_t GetPumpByNameMT(int32_t handle, BSTR Name, int32_t* pID);
int32_t GetGradeByNumberMT(int32_t handle, int32_t Number, int32_t* pID);
int32_t GetGradeByNameMT(int32_t handle, BSTR Name, int32_t* pID);
int32_t GetTankByNumberMT(int32_t handle, int32_t Number, int32_t* pID);
int32_t GetTankByNameMT(int32_t handle, BSTR Name, int32_t* pID);
int32_t GetAttendantByNumberMT(int32_t handle, int32_t Number, int32_t* pID);
int32_t GetAttendantByNameMT(int32_t handle, BSTR Name, int32_t* pID);
int32_t GetCardClientByNumberMT(int32_t handle, int32_t Number, int32_t* pID);
int32_t GetCardClientByNameMT(int32_t handle, BSTR Name, int32_t* pID);
int32_t GetZigBeeByNumberMT(int32_t handle, int32_t Number, int32_t* pID);
int32_t GetZigBeeByNameMT(int32_t handle, BSTR Name, int32_t* pID);
int32_t GetSensorByNumberMT(int32_t handle, int32_t Number, int32_t* pID);
int32_t GetSensorByNameMT(int32_t handle, BSTR Name, int32_t* pID);
int32_t GetProductByNameMT(int32_t handle, BSTR Name, int32_t* pID);
int32_t GetCardReadByNumberMT(int32_t handle, int32_t Number, int32_t* pID);
int32_t GetCardReadByNameMT(int32_t handle, BSTR Name, int32_t* pID);
int32_t GetCardReadsCountMT(int32_t handle, int32_t* pCount);

// ---- Adding records, older property variants, hose totals, periods, tank strapping ----
// Add... creates a record under a free ID (one above the highest) and the next free Number
// (one above the highest; for a hose, on its pump) and gives both back; the other fields are
// those of the kind's newest setter after its Number. References are checked as for the setters
// (13). The older variants carry a prefix of their newest variant's fields.

// The pump fields of SetPumpPropertiesEx after Number.
int32_t AddPumpMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, int16_t PhysicalNumber,
                  int16_t Side, int16_t Address, int16_t PriceLevel1, int16_t PriceLevel2,
                  int16_t PriceDspFormat, int16_t VolumeDspFormat, int16_t ValueDspFormat,
                  int16_t Type, int32_t PortID, int32_t AttendantID, int16_t AuthMode,
                  int16_t StackMode, int16_t PrepayAllowed, int16_t PreauthAllowed,
                  int32_t SlotZigBeeID, int32_t MuxSlotZigBeeID, int16_t PriceControl,
                  int16_t HasPreset);
// GetPumpDeliveryPropertiesEx4's outputs up to AttendantID (plain), up to Duration (Ex), up to
// TankID (Ex3).
int32_t GetPumpDeliveryPropertiesMT(int32_t handle, int32_t PumpID, int32_t Index,
                                    int32_t* pDeliveryID, int32_t* pHoseID, int16_t* pState,
                                    int16_t* pType, double* pVolume, int16_t* pPriceLevel,
                                    double* pPrice, double* pValue, double* pVolume2,
                                    double* pCompletedDT, int32_t* pLockedBy, int32_t* pReservedBy,
                                    int32_t* pAttendantID);
int32_t GetPumpDeliveryPropertiesExMT(int32_t handle, int32_t PumpID, int32_t Index,
                                      int32_t* pDeliveryID, int32_t* pHoseID, int16_t* pState,
                                      int16_t* pType, double* pVolume, int16_t* pPriceLevel,
                                      double* pPrice, double* pValue, double* pVolume2,
                                      double* pCompletedDT, int32_t* pLockedBy,
                                      int32_t* pReservedBy, int32_t* pAttendantID,
                                      double* pClearedDT, int32_t* pDuration);
int32_t GetPumpDeliveryPropertiesEx3MT(
    int32_t handle, int32_t PumpID, int32_t Index, int32_t* pDeliveryID, int32_t* pHoseID,
    int16_t* pState, int16_t* pType, double* pVolume, int16_t* pPriceLevel, double* pPrice,
    double* pValue, double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
    int32_t* pReservedBy, int32_t* pAttendantID, double* pClearedDT, int32_t* pDuration,
    int32_t* pCardClientID, int64_t* pTag, int32_t* pGradeID, int32_t* pTankID);
// The density (kg/m3) of the product a hose sells: that of its tank, a site setting kept in the
// server's profile (file "QVServer.ini", section "Density", key the tank's ID; 0 when unset).
// HoseID above 0 names the hose (3 when it is not on PumpID; PumpID -1 any pump); HoseID -1 the
// hose lifted or delivering on the pump now (20 when none is).
int32_t GetDensityMT(int32_t handle, int32_t PumpID, int32_t HoseID, double* pDensity);
// Hose fields up to MtrElecVolume.
int32_t GetHosePropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, int32_t* pPumpID,
                            int32_t* pTankID, int32_t* pPhysicalNumber, double* pMtrTheoValue,
                            double* pMtrTheoVolume, double* pMtrElecValue, double* pMtrElecVolume);
int32_t SetHosePropertiesMT(int32_t handle, int32_t ID, int32_t Number, int32_t PumpID,
                            int32_t TankID, int32_t PhysicalNumber, double MtrTheoValue,
                            double MtrTheoVolume, double MtrElecValue, double MtrElecVolume);
// The hose fields of SetHosePropertiesEx3 after Number; the Number is the next free on PumpID.
int32_t AddHoseMT(int32_t handle, int32_t* pID, int32_t* pNumber, int32_t PumpID, int32_t TankID,
                  int32_t PhysicalNumber, double MtrTheoValue, double MtrTheoVolume,
                  double MtrElecValue, double MtrElecVolume, int16_t UVEAntenna, double Price1,
                  double Price2, double Price3, double Price4, int16_t Enabled);
// Sets the hose's electronic totals (MtrElecVolume, MtrElecValue), from which the forecourt
// counts on with each delivery, a running one included. 2 for a negative total.
int32_t SetHoseETotalsMT(int32_t handle, int32_t HoseID, double VolumeETot, double ValueETot);
// Accounting periods of each PeriodType (TPeriodType 1..3; another type gives 2): one is open at a
// time; ClosePeriod ends it now, freezes its totals and opens the next from the same moment. The
// first period of a type runs from the start of the records (StartDT 0). Index 0 is the open
// period, 1 the last closed, 2 the one before (4 beyond the oldest). EndDT is 0 while open;
// the open period's ID is the one it would be stored under if it were closed now.
// Totals: the volume, value and number of the deliveries completed within the period, cleared
// or not (of the open one, up to now).
int32_t GetPeriodMT(int32_t handle, int16_t PeriodType, int32_t Index, int32_t* pPeriodID,
                    double* pStartDT, double* pEndDT, double* pVolume, double* pValue,
                    int32_t* pDeliveries);
// The ID of the period it closed.
int32_t ClosePeriodMT(int32_t handle, int16_t PeriodType, int32_t* pPeriodID);
// Every delivery the server holds, of all pumps and in every state (cleared ones until the
// database tool purges them), in ascending ID order.
int32_t GetAllDeliveriesCountMT(int32_t handle, int32_t* pCount);
int32_t GetAllDeliveryByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID);
// GetDeliverySummaryEx2's outputs up to AttendantID.
int32_t GetDeliverySummaryMT(int32_t handle, int32_t ID, int32_t* pPumpID, int32_t* pPumpNumber,
                             int32_t* pHoseID, int32_t* pHoseNumber, int32_t* pGradeID,
                             BSTR* pGradeName, BSTR* pShortGradeName, int16_t* pPriceLevel,
                             double* pPrice, double* pVolume, double* pValue,
                             int16_t* pDeliveryState, int16_t* pDeliveryType, int32_t* pLockedBy,
                             int32_t* pReservedBy, int32_t* pAge, double* pCompletedDT,
                             int32_t* pAttendantID);
// Seconds from the start of the delivery's flow to its completion, as the forecourt recorded it.
int32_t GetDurationMT(int32_t handle, int32_t ID, int32_t* pDuration);
// Delivery fields up to AttendantID.
int32_t SetDeliveryPropertiesMT(int32_t handle, int32_t ID, int32_t PumpID, int32_t HoseID,
                                int16_t State, int16_t Type, double Volume, int16_t PriceLevel,
                                double Price, double Value, double Volume2, double CompletedDT,
                                int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID);
// The grade fields of SetGradePropertiesEx after Number.
int32_t AddGradeMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, BSTR ShortName,
                   BSTR Code, int16_t Type);
// Tank fields up to ProbeNo.
int32_t SetTankPropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name, int32_t GradeID,
                            int16_t Type, double Capacity, double Diameter, double TheoVolume,
                            double GaugeVolume, double GaugeTCVolume, double GaugeUllage,
                            double GaugeTemperature, double GaugeLevel, double GaugeWaterVolume,
                            double GaugeWaterLevel, int32_t GaugeID, int16_t ProbeNo);
// The tank fields of SetTankPropertiesEx2 after Number.
int32_t AddTankMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, int32_t GradeID,
                  int16_t Type, double Capacity, double Diameter, double TheoVolume,
                  double GaugeVolume, double GaugeTCVolume, double GaugeUllage,
                  double GaugeTemperature, double GaugeLevel, double GaugeWaterVolume,
                  double GaugeWaterLevel, int32_t GaugeID, int16_t ProbeNo, int32_t GaugeAlarmsMask,
                  int32_t SlotZigBeeID, int16_t ProbeType, int32_t ProbeSerialNo);
// Deletes the tank with its strapping table. 1 while a hose draws from it (delete or move the
// hose first), so that no hose is left without its tank.
int32_t DeleteTankMT(int32_t handle, int32_t ID);
// Asks every tank's gauge for a fresh reading: one tank status event (type 13) per tank.
int32_t ReadAllTanksMT(int32_t handle);
// A tank's strapping table (its height-to-volume calibration), kept per tank: StepSize,
// Diameter, Offset (heights in mm), Capacity (litres), Alarms (a mask) and a description. A
// table never set reads the tank's Diameter and Capacity and 0 elsewhere. 3 for an unknown tank.
int32_t GetStrappingTableDataMT(int32_t handle, int32_t TankID, double* pStepSize,
                                double* pDiameter, double* pOffset, double* pCapacity,
                                int32_t* pAlarms, BSTR* pDesc);
// 2 for a negative StepSize or Capacity.
int32_t SetStrappingTableDataMT(int32_t handle, int32_t TankID, double StepSize, double Diameter,
                                double Offset, double Capacity, int32_t Alarms, BSTR Desc);
// Element Index (1..1000) of the tank's table: calibration passes, the height (mm), the volume
// deltas and volumes (litres) at the start and now. 2 for an index outside 1..1000; reading an
// element never set gives 3, as does an unknown tank.
int32_t GetStrappingTableElementMT(int32_t handle, int32_t TankID, int32_t Index, int32_t* pPasses,
                                   double* pHeight, double* pStartDelta, double* pCurDelta,
                                   double* pStartVolume, double* pCurVolume);
int32_t SetStrappingTableElementMT(int32_t handle, int32_t TankID, int32_t Index, int32_t Passes,
                                   double Height, double StartDelta, double CurDelta,
                                   double StartVolume, double CurVolume);
// ---- Clients, site records added by the server, controller statuses ----
// An Add call stores a new record under the next free ID and the next free Number (one above
// the highest), with the fields of the kind's newest property list after Number; it gives back
// the ID and the Number. References are checked as the setters check them.

// The pumps this logon's client holds reserved and the deliveries it holds locked.
int32_t ClientStatusMT(int32_t handle, int32_t* pPumpsReserved, int32_t* pDeliveriesLocked);
// The logons the server holds, this one included.
int32_t GetClientsCountMT(int32_t handle, int32_t* pCount);
// Ports: Name, ProtocolID, DeviceType, SerialNo after Number. RemovePort: 3 for an unknown ID.
int32_t AddPortMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, int16_t ProtocolID,
                  int16_t DeviceType, BSTR SerialNo);
int32_t RemovePortMT(int32_t handle, int32_t ID);
// Attendants: the Ex2 list after Number.
int32_t AddAttendantMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, BSTR ShortName,
                       BSTR Password, BSTR Tag, BSTR IDNumber, int16_t ShiftAStart,
                       int16_t ShiftAEnd, int16_t ShiftBStart, int16_t ShiftBEnd, int16_t Type);
// LoggedOn 1 while the attendant is logged on, with the pump (-1: at none, or logged off);
// 3 for an unknown attendant.
int32_t GetAttendantStateMT(int32_t handle, int32_t ID, int16_t* pLoggedOn, int32_t* pPumpID);
// Card clients: the plain setter stores Number, Name, Tag, Enabled; AddCardClient takes the
// Ex4 list after Number.
int32_t SetCardClientPropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name, BSTR Tag,
                                  int16_t Enabled);
int32_t AddCardClientMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, BSTR Tag,
                        int16_t Enabled, int16_t PriceLevel, BSTR Plate, BSTR IDNumber,
                        BSTR ShortName, BSTR Password, int16_t GradeType, int16_t CardType,
                        int16_t LimitType, double Limit, int16_t EntryType, double ExpirationDate,
                        int32_t ParentID, BSTR QVOdoSerialNo, double Odometer, int32_t Factor);
// The card client whose Tag is the card's Tag (the lowest ID when several are): its ID,
// Number, Name, CardType, Enabled, LimitType and Limit. 3 when no card client has it, 2 for
// an empty Tag.
int32_t FindCardMT(int32_t handle, BSTR Tag, int32_t* pID, int32_t* pNumber, BSTR* pName,
                   int16_t* pCardType, int16_t* pEnabled, int16_t* pLimitType, double* pLimit);
// Card reads: Number, Name, PumpID, Type, ParentID, Tag, TimeStamp.
int32_t SetCardReadPropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                                int32_t PumpID, int16_t Type, int32_t ParentID, int64_t Tag,
                                double TimeStamp);
// ZigBee devices: the ZigBee fields after Number. Sensors: the Ex list after Number.
// DeleteZigBee: 1 while a tank or pump sits on the device (its SlotZigBeeID).
int32_t AddZigBeeMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, int16_t DeviceType,
                    BSTR SerialNumber, BSTR NodeIdentifier, int32_t PortID);
int32_t DeleteZigBeeMT(int32_t handle, int32_t ID);
int32_t AddSensorMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, int32_t PortID,
                    int16_t Type, int16_t Address, int16_t SensorNo, int32_t SlotZigBeeID,
                    int32_t SensorSerialNo);
int32_t DeleteSensorMT(int32_t handle, int32_t ID);
// Products: the Ex list after Number.
int32_t AddProductMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, BSTR Tag,
                     int16_t Enabled, BSTR ShortName, BSTR Barcode, int32_t QuickCode,
                     double Price1, double Price2, double Price3, double Price4,
                     int32_t ProductGroup);
// Log events: the fields of GetLogEventProperties.
int32_t SetLogEventPropertiesMT(int32_t handle, int32_t ID, int16_t DeviceType, int32_t DeviceID,
                                int16_t EventLevel, int16_t EventType, BSTR EventDesc,
                                double GeneratedDT, double ClearedDT, int32_t ClearedBy,
                                int32_t AckedBy, double Volume, double Value, double ProductVolume,
                                double ProductLevel, double WaterLevel, double Temperature);
// Every status at once. The pumps' three strings as GetAllPumpStatuses gives them (empty while
// the server drives no forecourt); then one character per tank and one per sensor in ID
// order, as base-36 digits: the tank's state (1 normal) and the sensor's status. The counts
// of pumps, tanks and sensors are the strings' lengths.
int32_t GetAllStatusesMT(int32_t handle, BSTR* pPumpStates, BSTR* pCurrentHoses,
                         BSTR* pDeliveriesCount, BSTR* pTankStates, BSTR* pSensorStates);
// One element of a price sign, addressed by the sign's number and the element's (both 1 or
// more, else 2): what it shows (ElementType), the grade (-1 none) and its price level (1..8)
// whose price it shows, the price's display format and whether it is lit. Get: 3 for an
// element never set. Set: 13 for an unknown grade.
int32_t GetPriceSignElementMT(int32_t handle, int32_t SignNumber, int32_t ElementNumber,
                              int16_t* pElementType, int32_t* pGradeID, int16_t* pPriceLevel,
                              int16_t* pPriceDspFormat, int16_t* pEnabled);
int32_t SetPriceSignElementMT(int32_t handle, int32_t SignNumber, int32_t ElementNumber,
                              int16_t ElementType, int32_t GradeID, int16_t PriceLevel,
                              int16_t PriceDspFormat, int16_t Enabled);
// The result the server answered this logon's previous call (0 before the first).
int32_t GetLastAPIResultMT(int32_t handle, int32_t* pResult);

} // extern "C"
