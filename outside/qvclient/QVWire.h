// Wire format shared by the forecourt client library and the forecourt server: framed messages
// (24-byte header, body up to 10240 bytes) whose bodies are lists of typed values, and the
// table of operations with their codes.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qvwire {

constexpr size_t kHeaderSize = 24;
constexpr size_t kMaxBody = 10240;
constexpr uint32_t kMagic = 0x31465651; // "QVF1" as it appears on the wire
constexpr uint8_t kVersion = 1;
constexpr uint16_t kCallPort = 5123;
constexpr uint16_t kEventsPort = 5124;

// Message types: the first eight are the controller's common vocabulary, the last two carry
// library calls.
enum class MsgType : uint8_t {
    Invalid = 0,
    Connect = 1,    // logon on the calls connection, or attach on the events connection
    Disconnect = 2, // logoff
    Ping = 3,
    Pong = 4,
    Events = 5, // one event pushed by the server
    Shutdown = 6,
    Close = 7,
    Call = 8,  // one library operation
    Reply = 9, // its answer
};

// Header layout (little-endian):
//   0  uint32  magic "QVF1"
//   4  uint8   message type (MsgType)
//   5  uint8   format version (1)
//   6  uint16  operation code (index + 1 in kOperationNames), 0 for none
//   8  uint32  sequence number, echoed by the reply
//  12  int32   session: the server's session ID (given by the Connect reply)
//  16  int32   result of the operation (replies), 0 otherwise
//  20  uint16  reserved, 0
//  22  uint16  body length, at most 10240
struct Header {
    MsgType type = MsgType::Invalid;
    uint16_t op = 0;
    uint32_t seq = 0;
    int32_t session = 0;
    int32_t result = 0;
    uint16_t bodyLen = 0;
};

void EncodeHeader(const Header& h, uint8_t* out);
// False for a wrong magic or version, an unknown type or a body above kMaxBody.
bool DecodeHeader(const uint8_t* in, Header& h);

// Value tags of a body. Texts are UTF-16 units with a 16-bit unit count.
enum class Tag : uint8_t { I16 = 1, I32 = 2, I64 = 3, F64 = 4, Text = 5 };

struct Value {
    Tag tag = Tag::I32;
    int64_t i = 0;    // I16, I32, I64
    double d = 0;     // F64
    std::u16string s; // Text

    static Value I16(int16_t v) { return {Tag::I16, v, 0, {}}; }
    static Value I32(int32_t v) { return {Tag::I32, v, 0, {}}; }
    static Value I64(int64_t v) { return {Tag::I64, v, 0, {}}; }
    static Value F64(double v) { return {Tag::F64, 0, v, {}}; }
    static Value Text(std::u16string v) { return {Tag::Text, 0, 0, std::move(v)}; }
};
using Values = std::vector<Value>;

// Appends values to a body; Overflow() tells whether the body grew past kMaxBody.
class Writer {
  public:
    void Put(const Value& v);
    void PutAll(const Values& vs) {
        for (const Value& v : vs)
            Put(v);
    }
    bool Overflow() const { return m_bytes.size() > kMaxBody; }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

  private:
    void Raw(uint64_t v, int n);
    std::vector<uint8_t> m_bytes;
};

// Decodes a whole body; false when it is malformed (unknown tag, truncated value).
bool DecodeValues(const uint8_t* body, size_t len, Values& out);

// Signature letters: h int16, i int32, l int64, d double, s text.
char Letter(Tag t);
std::string SignatureOf(const Values& vs);

// The operations, in the order of the library's bound-name table; code = index + 1.
constexpr std::array<std::string_view, 312> kOperationNames = {"CheckForManagementFtn",
                                                               "ClientLogoff",
                                                               "SetIniValueEx",
                                                               "GetIniValueEx",
                                                               "SetIniValue",
                                                               "GetIniValue",
                                                               "InternalClientLogon",
                                                               "ClientLogonEx",
                                                               "ClientLogon",
                                                               "GetClientEventsSocket",
                                                               "GetClientCallsSocket",
                                                               "SetClientType",
                                                               "GetSerialNo",
                                                               "GetCardClientsCount",
                                                               "GetCardClientByOrdinal",
                                                               "GetCardClientPropertiesEx4",
                                                               "GetCardClientPropertiesEx3",
                                                               "GetCardClientPropertiesEx2",
                                                               "GetCardClientPropertiesEx",
                                                               "GetCardClientProperties",
                                                               "SetCardClientPropertiesEx4",
                                                               "SetCardClientPropertiesEx3",
                                                               "SetCardClientPropertiesEx2",
                                                               "SetCardClientPropertiesEx",
                                                               "GetCardType",
                                                               "DeleteCardClient",
                                                               "GetAttendantsCount",
                                                               "GetAttendantByOrdinal",
                                                               "GetAttendantPropertiesEx2",
                                                               "GetAttendantPropertiesEx",
                                                               "GetAttendantProperties",
                                                               "SetAttendantPropertiesEx2",
                                                               "SetAttendantPropertiesEx",
                                                               "SetAttendantProperties",
                                                               "DeleteAttendant",
                                                               "GetProductsCount",
                                                               "GetProductByOrdinal",
                                                               "GetProductByNumber",
                                                               "DeleteProduct",
                                                               "GetProductProperties",
                                                               "SetProductProperties",
                                                               "GetProductPropertiesEx",
                                                               "GetProductPropertiesEx2",
                                                               "SetProductPropertiesEx",
                                                               "GetGradesCount",
                                                               "GetGradeByOrdinal",
                                                               "DeleteGrade",
                                                               "GetGradeProperties",
                                                               "SetGradeProperties",
                                                               "GetGradePropertiesEx",
                                                               "SetGradePropertiesEx",
                                                               "GetGradePrice",
                                                               "GetTanksCount",
                                                               "GetTankByOrdinal",
                                                               "GetTankProperties",
                                                               "GetTankPropertiesEx",
                                                               "GetTankPropertiesEx2",
                                                               "GetPumpsCount",
                                                               "GetPumpByOrdinal",
                                                               "GetPumpByNumber",
                                                               "GetPumpPropertiesEx",
                                                               "GetPumpProperties",
                                                               "SetPumpProperties",
                                                               "SetPumpPropertiesEx",
                                                               "SetHosePrices",
                                                               "SetHosePricesEx",
                                                               "GetHosePrices",
                                                               "GetHosePricesEx",
                                                               "GetHosesCount",
                                                               "GetHoseByOrdinal",
                                                               "GetHosePropertiesEx3",
                                                               "GetHosePropertiesEx2",
                                                               "GetHosePropertiesEx",
                                                               "GetDeliveriesCount",
                                                               "GetDeliveriesCountNotLogged",
                                                               "GetDeliveriesCountNotVolLogged",
                                                               "GetDeliveryByOrdinal",
                                                               "GetDeliveryIDByOrdinalNotLogged",
                                                               "GetDeliveryIDByOrdinalNotVolLogged",
                                                               "GetDeliverySummaryEx2",
                                                               "GetDeliverySummaryEx3",
                                                               "GetDeliverySummaryEx4",
                                                               "ClearDelivery",
                                                               "LockAndClearDelivery",
                                                               "AckDeliveryDBLog",
                                                               "AckDeliveryVolLog",
                                                               "GetDeliveryExt",
                                                               "SetDeliveryExt",
                                                               "GetSaleItemsCount",
                                                               "GetSaleItemByOrdinal",
                                                               "GetSaleItemSummary",
                                                               "SaleItemClear",
                                                               "SaleItemLockAndClear",
                                                               "SaleItemAckDBLog",
                                                               "SaleItemAckVolLog",
                                                               "ServerVersion",
                                                               "DllVersion",
                                                               "ResultString",
                                                               "GetLogEventCount",
                                                               "GetLogEventByOrdinal",
                                                               "GetLogEventCountEx",
                                                               "GetLogEventByOrdinalEx",
                                                               "ClearLogEvent",
                                                               "AckLogEvent",
                                                               "DeleteLogEvent",
                                                               "GetLogEventProperties",
                                                               "ProcessEvents",
                                                               "GetEventsCount",
                                                               "GetNextEventType",
                                                               "DiscardNextEvent",
                                                               "GetNextPumpEvent",
                                                               "GetNextPumpEventEx2",
                                                               "GetNextPumpEventEx3",
                                                               "GetNextDeliveryEventEx2",
                                                               "GetNextDeliveryEventEx3",
                                                               "GetNextDeliveryEventEx4",
                                                               "GetPumpHosesCount",
                                                               "GetPumpHoseByNumber",
                                                               "PreauthReserve",
                                                               "PreauthCancel",
                                                               "PreauthAuthorise",
                                                               "PaymentReserve",
                                                               "PaymentCancel",
                                                               "PaymentAuthorise",
                                                               "TerminateDelivery",
                                                               "GetNextCardReadEvent",
                                                               "SetDeliveryPropertiesEx4",
                                                               "SetDeliveryPropertiesEx3",
                                                               "SetDeliveryPropertiesEx2",
                                                               "SetDeliveryPropertiesEx",
                                                               "SetDateTime",
                                                               "GetDateTime",
                                                               "GetZigBeeCount",
                                                               "GetZigBeeByOrdinal",
                                                               "GetZigBeeProperties",
                                                               "GetPortsCount",
                                                               "GetPortByNumber",
                                                               "GetPortByName",
                                                               "GetPortByOrdinal",
                                                               "GetPortProperties",
                                                               "GetTankSummary",
                                                               "GetTankSummaryEx",
                                                               "GetTankSummaryEx2",
                                                               "GetDeliveriesCountFiltered",
                                                               "GetDeliveriesCountFilteredEx",
                                                               "GetDeliveryIDByOrdinalFiltered",
                                                               "GetDeliveryIDByOrdinalFilteredEx",
                                                               "GetDeliveryProperties",
                                                               "GetDeliveryPropertiesEx",
                                                               "GetDeliveryPropertiesEx2",
                                                               "GetDeliveryPropertiesEx3",
                                                               "GetDeliveryPropertiesEx4",
                                                               "GetNextDBTankStatusEvent",
                                                               "GetNextDBTankStatusEventEx",
                                                               "GetNextDBTankStatusEventEx2",
                                                               "GetNextLogEventEvent",
                                                               "TempStop",
                                                               "ReAuthorise",
                                                               "GetLastProductUpdated",
                                                               "AddLogEvent",
                                                               "GetSensorsCount",
                                                               "GetSensorByOrdinal",
                                                               "GetSensorProperties",
                                                               "GetSensorPropertiesEx",
                                                               "GetSensorStatus",
                                                               "GetHoseDelTotals",
                                                               "GetZB2GConfig",
                                                               "GetDeviceDetails",
                                                               "SetPortProperties",
                                                               "SetGradePrice",
                                                               "SetZigBeeProperties",
                                                               "SetTankPropertiesEx",
                                                               "SetTankPropertiesEx2",
                                                               "SetHosePropertiesEx",
                                                               "SetHosePropertiesEx2",
                                                               "SetHosePropertiesEx3",
                                                               "SetSensorProperties",
                                                               "SetSensorPropertiesEx",
                                                               "SetNextDeliveryID",
                                                               "DeleteHose",
                                                               "DeletePump",
                                                               "AllStop",
                                                               "Authorise",
                                                               "CancelAuthorise",
                                                               "LoadPreset",
                                                               "LoadPresetWithPrice",
                                                               "GetPumpDeliveryPropertiesEx4",
                                                               "SetPumpDefaultPriceLevel",
                                                               "GetNextDBHoseETotalsEventEx",
                                                               "GetCardReadByOrdinal",
                                                               "GetCardReadProperties",
                                                               "DeleteCardRead",
                                                               "TagAuthorise",
                                                               "GetTCPIPConfig",
                                                               "SetTCPIPConfig",
                                                               "WDReset",
                                                               "GetHoseSummary",
                                                               "GetHoseSummaryEx",
                                                               "GetHoseSummaryEx2",
                                                               "ExternalStartDelivery",
                                                               "ExternalEndDelivery",
                                                               "PrepayReserve",
                                                               "PrepayCancel",
                                                               "PrepayAuthorise",
                                                               "AttendantAuthorise",
                                                               "StackCurrentDelivery",
                                                               "AllStopIfIdle",
                                                               "AllAuthorise",
                                                               "AllReAuthorise",
                                                               "EnablePump",
                                                               "DisablePump",
                                                               "LockDelivery",
                                                               "UnlockDelivery",
                                                               "GetPumpStatus",
                                                               "GetPumpStatusEx",
                                                               "GetPumpStatusEx2",
                                                               "GetAllPumpStatuses",
                                                               "TankDrop",
                                                               "FireClientEvent",
                                                               "GetNextClientEvent",
                                                               "GetNextDBLogEvent",
                                                               "GetNextDBLogDeliveryEvent",
                                                               "GetNextDBClearDeliveryEvent",
                                                               "GetNextDBStackDeliveryEvent",
                                                               "GetNextDBAttendantLogonEvent",
                                                               "GetNextDBAttendantLogoffEvent",
                                                               "GetNextZeroDeliveryEvent",
                                                               "AttendantLogon",
                                                               "AttendantLogoff",
                                                               "GetPumpByName",
                                                               "GetGradeByNumber",
                                                               "GetGradeByName",
                                                               "GetTankByNumber",
                                                               "GetTankByName",
                                                               "GetAttendantByNumber",
                                                               "GetAttendantByName",
                                                               "GetCardClientByNumber",
                                                               "GetCardClientByName",
                                                               "GetZigBeeByNumber",
                                                               "GetZigBeeByName",
                                                               "GetSensorByNumber",
                                                               "GetSensorByName",
                                                               "GetProductByName",
                                                               "GetCardReadByNumber",
                                                               "GetCardReadByName",
                                                               "GetCardReadsCount",
                                                               "AddPump",
                                                               "GetPumpDeliveryProperties",
                                                               "GetPumpDeliveryPropertiesEx",
                                                               "GetPumpDeliveryPropertiesEx3",
                                                               "GetDensity",
                                                               "GetHoseProperties",
                                                               "SetHoseProperties",
                                                               "AddHose",
                                                               "SetHoseETotals",
                                                               "GetPeriod",
                                                               "ClosePeriod",
                                                               "GetAllDeliveriesCount",
                                                               "GetAllDeliveryByOrdinal",
                                                               "GetDeliverySummary",
                                                               "GetDuration",
                                                               "SetDeliveryProperties",
                                                               "AddGrade",
                                                               "SetTankProperties",
                                                               "AddTank",
                                                               "DeleteTank",
                                                               "ReadAllTanks",
                                                               "GetStrappingTableData",
                                                               "SetStrappingTableData",
                                                               "GetStrappingTableElement",
                                                               "SetStrappingTableElement",
                                                               "ClientStatus",
                                                               "GetClientsCount",
                                                               "AddPort",
                                                               "RemovePort",
                                                               "AddAttendant",
                                                               "GetAttendantState",
                                                               "SetCardClientProperties",
                                                               "AddCardClient",
                                                               "FindCard",
                                                               "SetCardReadProperties",
                                                               "AddZigBee",
                                                               "DeleteZigBee",
                                                               "AddSensor",
                                                               "DeleteSensor",
                                                               "AddProduct",
                                                               "SetLogEventProperties",
                                                               "GetAllStatuses",
                                                               "GetPriceSignElement",
                                                               "SetPriceSignElement",
                                                               "GetLastAPIResult",
                                                               "WasReconnected",
                                                               "GetNextServerEvent",
                                                               "GetNextDBTriggerEvent",
                                                               "GetNextZBPanIDEvent",
                                                               "GetNextZB2GStatusEvent",
                                                               "GetNextQVTermPromptEvent",
                                                               "SetZBCoordPan",
                                                               "QVTermPrompt",
                                                               "ScheduleBeep",
                                                               "FlashLEDS",
                                                               "GetNextQVOdoEvent",
                                                               "SetLineMode",
                                                               "GetSaleItemProperties",
                                                               "SetSaleItemProperties",
                                                               "AddSaleItem",
                                                               "DeleteSaleItem",
                                                               "SaleItemLock",
                                                               "SaleItemUnlock",
                                                               "GetSaleItemsCountEx",
                                                               "GetSaleItemByOrdinalEx",
                                                               "GetNextSaleItemEvent"};

// Code of an operation name, 0 when unknown. Usable at compile time.
constexpr uint16_t OpCode(std::string_view name) {
    for (size_t i = 0; i < kOperationNames.size(); ++i)
        if (kOperationNames[i] == name) return static_cast<uint16_t>(i + 1);
    return 0;
}
// Name of an operation code, empty when unknown.
std::string_view OpName(uint16_t code);
// The operation's family: its name without a trailing "Ex", "Ex2", ... ("GetHosePropertiesEx3"
// and "GetHosePropertiesEx" are both "GetHoseProperties").
std::string FamilyName(std::string_view name);

// Event types that the server pushes (the first value of an Events body is the type as I16).
enum EventType : int16_t {
    kEventPumpStatus = 1,
    kEventDelivery = 2,
    kEventServer = 3,
    kEventClient = 4,
    kEventDBLog = 5,
    kEventDBLogDelivery = 6,
    kEventDBClearDelivery = 7,
    kEventDBStackDelivery = 8,
    kEventHoseETotals = 9,
    kEventAttendantLogon = 11,
    kEventAttendantLogoff = 12,
    kEventTankStatus = 13,
    kEventZeroDelivery = 17,
    kEventCardRead = 22,
    kEventLogEvent = 24,
    kEventSaleItem = 25,
    kEventDBTrigger = 10,
    kEventZBPanID = 19,
    kEventZB2GStatus = 23,
    kEventTermPrompt = 27,
    kEventQVOdo = 26,
};

// Whether a logon's event mask asks for events of `type`: bit (type - 1) of the mask; a mask of
// 0 asks for every type.
constexpr bool MaskWants(int32_t mask, int16_t type) {
    return mask == 0 ||
           (type >= 1 && type <= 32 && (static_cast<uint32_t>(mask) >> (type - 1) & 1u) != 0);
}

// Operation code of the test and demo driver's control calls (qvserver ctl): outside the
// library's operations, accepted only from loopback, without a logon. The body is the command
// word and its arguments as texts; the reply carries one text.
constexpr uint16_t kControlOp = 0xFFF0;

// An Events body: the type (I16), then one section per reader variant: the variant (I16), a
// count n (I16, 0 or more) and n values. Decodes and checks one; false when a value is
// malformed or the sections do not cover the values exactly (a count below 0 or beyond what is
// left, a variant or count that is not I16).
bool DecodeEvent(const uint8_t* body, size_t len, Values& event);
// The values of section `variant` of an event that DecodeEvent accepted; false when it has none.
bool EventSection(const Values& event, int16_t variant, Values& out);

// UTF-8 <-> UTF-16 for names and logs (invalid input is replaced by '?').
std::u16string ToU16(std::string_view s);
std::string ToU8(std::u16string_view s);

} // namespace qvwire
