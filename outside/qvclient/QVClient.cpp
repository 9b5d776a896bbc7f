// The exported functions of the client library. Most forward their arguments to the server
// unchanged (Marshal.h); logons, the event queue and the local texts are handled here.
#include "outside/qvclient/QVClient.h"

#include <cstdlib>
#include <string>

#include "outside/qvclient/ClientSession.h"
#include "outside/qvclient/Marshal.h"
#include "outside/qvclient/QVWire.h"
#include "outside/qvclient/ResultTexts.h"

using qvclient::Call;
using qvclient::ClientSession;
using qvclient::ReadEvent;
using qvclient::SessionTable;
using qvwire::OpCode;

namespace {

constexpr char kDllVersion[] = "QVClient 4.2.7.0";

BSTR NewBstr(const std::string& text) {
    const std::u16string u = qvwire::ToU16(text);
    return platform::SysAllocStringLen(u.data(), static_cast<uint32_t>(u.size()));
}

std::u16string TextOf(BSTR s) {
    return s ? std::u16string(s, platform::SysStringLen(s)) : std::u16string();
}

bool ValidPort(int32_t port) {
    return port >= 1 && port <= 65535;
}

int32_t LogonWith(int32_t* handle, qvclient::LogonArgs args, intptr_t window, int32_t message) {
    if (!handle) return QV_INVALID_ARGUMENT;
    args.window = window;
    args.message = static_cast<uint32_t>(message);
    if (!ValidPort(args.callPort) || !ValidPort(args.eventsPort) || args.callTimeoutMs < 0)
        return QV_INVALID_ARGUMENT;
    if (args.callTimeoutMs == 0) args.callTimeoutMs = 10000;
    auto session = std::make_shared<ClientSession>();
    const int32_t result = session->Logon(args);
    if (result != QV_OK) return result;
    const int32_t h = SessionTable::Add(session);
    if (h == 0) {
        session->Logoff();
        return QV_TOO_MANY_LOGONS;
    }
    *handle = h;
    return QV_OK;
}

} // namespace

extern "C" {

int32_t InternalClientLogonMT(int32_t* handle, int32_t ClientID, int16_t ClientType,
                              BSTR ClientName, int16_t ClientCategory, BSTR HashKey,
                              int32_t EventMask, BSTR ServerName, int32_t CallPortNo,
                              int32_t EventsPortNo, int32_t CallTimeout, int32_t, intptr_t hwnd,
                              int32_t msg) {
    qvclient::LogonArgs a;
    a.clientID = ClientID;
    a.clientType = ClientType;
    a.clientName = TextOf(ClientName);
    a.clientCategory = ClientCategory;
    a.hashKey = TextOf(HashKey);
    a.eventMask = EventMask;
    a.serverName = qvwire::ToU8(TextOf(ServerName));
    a.callPort = CallPortNo;
    a.eventsPort = EventsPortNo;
    a.callTimeoutMs = CallTimeout;
    return LogonWith(handle, a, hwnd, msg);
}

int32_t ClientLogonExMT(int32_t* handle, int32_t ClientID, int16_t ClientType, BSTR ServerName,
                        int32_t CallPortNo, int32_t EventsPortNo, int32_t CallTimeout, int32_t,
                        intptr_t hwnd, int32_t msg) {
    qvclient::LogonArgs a;
    a.clientID = ClientID;
    a.clientType = ClientType;
    a.serverName = qvwire::ToU8(TextOf(ServerName));
    a.callPort = CallPortNo;
    a.eventsPort = EventsPortNo;
    a.callTimeoutMs = CallTimeout;
    return LogonWith(handle, a, hwnd, msg);
}

int32_t ClientLogonMT(int32_t* handle, int32_t ClientID, int16_t ClientType, int32_t, intptr_t hwnd,
                      int32_t msg) {
    qvclient::LogonArgs a;
    a.clientID = ClientID;
    a.clientType = ClientType;
    // The local server; QV_CLIENT_SERVER names another host (tests run servers side by side).
    const char* server = std::getenv("QV_CLIENT_SERVER");
    a.serverName = server && *server ? server : "127.0.0.1";
    return LogonWith(handle, a, hwnd, msg);
}

int32_t ClientLogoffMT(int32_t* handle) {
    if (!handle) return QV_INVALID_ARGUMENT;
    std::shared_ptr<ClientSession> s = SessionTable::Remove(*handle);
    if (!s) return QV_NOT_LOGGED_ON;
    s->Logoff();
    *handle = 0;
    return QV_OK;
}

int32_t GetClientEventsSocketMT(int32_t handle, int32_t* pSocket) {
    std::shared_ptr<ClientSession> s = SessionTable::Find(handle);
    if (!s) return QV_NOT_LOGGED_ON;
    if (pSocket) *pSocket = s->EventsSocket();
    return QV_OK;
}

int32_t GetClientCallsSocketMT(int32_t handle, int32_t* pSocket) {
    std::shared_ptr<ClientSession> s = SessionTable::Find(handle);
    if (!s) return QV_NOT_LOGGED_ON;
    if (pSocket) *pSocket = s->CallsSocket();
    return QV_OK;
}

int32_t TestConnectionMT(int32_t handle) {
    std::shared_ptr<ClientSession> s = SessionTable::Find(handle);
    return s ? s->TestConnection() : QV_NOT_LOGGED_ON;
}

int32_t CheckSocketClosedMT(int32_t handle, int32_t Param) {
    std::shared_ptr<ClientSession> s = SessionTable::Find(handle);
    if (!s) return QV_NOT_LOGGED_ON;
    if (Param == qvclient::kNotifyClosed) return QV_CONNECTION_BROKEN;
    if (Param == qvclient::kNotifyEvents) return QV_OK;
    return s->EventsClosed() ? QV_CONNECTION_BROKEN : QV_OK;
}

int32_t WasReconnectedMT(int32_t handle, int16_t* pReconnected) {
    std::shared_ptr<ClientSession> s = SessionTable::Find(handle);
    if (!s) return QV_NOT_LOGGED_ON;
    const bool was = s->WasReconnected();
    if (pReconnected) *pReconnected = was ? 1 : 0;
    return QV_OK;
}

int32_t DllVersion(BSTR* pVersion) {
    if (!pVersion) return QV_INVALID_ARGUMENT;
    BSTR fresh = NewBstr(kDllVersion);
    if (*pVersion) platform::SysFreeString(*pVersion);
    *pVersion = fresh;
    return QV_OK;
}

BSTR ResultString(int32_t Result) {
    return NewBstr(qvclient::ResultText(Result));
}

int32_t ProcessEventsMT(int32_t handle) {
    std::shared_ptr<ClientSession> s = SessionTable::Find(handle);
    return s ? s->ProcessEvents() : QV_NOT_LOGGED_ON;
}

int32_t GetEventsCountMT(int32_t handle, int32_t* pCount) {
    std::shared_ptr<ClientSession> s = SessionTable::Find(handle);
    if (!s) return QV_NOT_LOGGED_ON;
    if (pCount) *pCount = s->EventsCount();
    return QV_OK;
}

int32_t GetNextEventTypeMT(int32_t handle, int16_t* pEventType) {
    std::shared_ptr<ClientSession> s = SessionTable::Find(handle);
    if (!s) return QV_NOT_LOGGED_ON;
    if (pEventType) *pEventType = s->NextEventType();
    return QV_OK;
}

int32_t DiscardNextEventMT(int32_t handle) {
    std::shared_ptr<ClientSession> s = SessionTable::Find(handle);
    return s ? s->DiscardNextEvent() : QV_NOT_LOGGED_ON;
}

// ---- Operations answered by the server ----

int32_t CheckForManagementFtnMT(int32_t handle, BSTR FunctionName, int16_t* pAvailable) {
    return Call<OpCode("CheckForManagementFtn")>(handle, FunctionName, pAvailable);
}

int32_t SetIniValueExMT(int32_t handle, BSTR FileName, BSTR Section, BSTR Key, BSTR Value) {
    return Call<OpCode("SetIniValueEx")>(handle, FileName, Section, Key, Value);
}

int32_t GetIniValueExMT(int32_t handle, BSTR FileName, BSTR Section, BSTR Key, BSTR* pValue) {
    return Call<OpCode("GetIniValueEx")>(handle, FileName, Section, Key, pValue);
}

int32_t SetIniValueMT(int32_t handle, BSTR Section, BSTR Key, BSTR Value) {
    return Call<OpCode("SetIniValue")>(handle, Section, Key, Value);
}

int32_t GetIniValueMT(int32_t handle, BSTR Section, BSTR Key, BSTR* pValue) {
    return Call<OpCode("GetIniValue")>(handle, Section, Key, pValue);
}

int32_t SetClientTypeMT(int32_t handle, int32_t ClientKey) {
    return Call<OpCode("SetClientType")>(handle, ClientKey);
}

int32_t GetSerialNoMT(int32_t handle, BSTR* pSerialNo) {
    return Call<OpCode("GetSerialNo")>(handle, pSerialNo);
}

int32_t GetCardClientsCountMT(int32_t handle, int32_t* pCount) {
    return Call<OpCode("GetCardClientsCount")>(handle, pCount);
}

int32_t GetCardClientByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetCardClientByOrdinal")>(handle, Ordinal, pID);
}

int32_t GetCardClientPropertiesEx4MT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                     BSTR* pTag, int16_t* pEnabled, int16_t* pPriceLevel,
                                     BSTR* pPlate, BSTR* pIDNumber, BSTR* pShortName,
                                     BSTR* pPassword, int16_t* pGradeType, int16_t* pCardType,
                                     int16_t* pLimitType, double* pLimit, int16_t* pEntryType,
                                     double* pExpirationDate, int32_t* pParentID,
                                     BSTR* pQVOdoSerialNo, double* pOdometer, int32_t* pFactor) {
    return Call<OpCode("GetCardClientPropertiesEx4")>(
        handle, ID, pNumber, pName, pTag, pEnabled, pPriceLevel, pPlate, pIDNumber, pShortName,
        pPassword, pGradeType, pCardType, pLimitType, pLimit, pEntryType, pExpirationDate,
        pParentID, pQVOdoSerialNo, pOdometer, pFactor);
}

int32_t GetCardClientPropertiesEx3MT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                     BSTR* pTag, int16_t* pEnabled, int16_t* pPriceLevel,
                                     BSTR* pPlate, BSTR* pIDNumber, BSTR* pShortName,
                                     BSTR* pPassword, int16_t* pGradeType, int16_t* pCardType,
                                     int16_t* pLimitType, double* pLimit, int16_t* pEntryType,
                                     double* pExpirationDate, int32_t* pParentID) {
    return Call<OpCode("GetCardClientPropertiesEx3")>(
        handle, ID, pNumber, pName, pTag, pEnabled, pPriceLevel, pPlate, pIDNumber, pShortName,
        pPassword, pGradeType, pCardType, pLimitType, pLimit, pEntryType, pExpirationDate,
        pParentID);
}

int32_t GetCardClientPropertiesEx2MT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                     BSTR* pTag, int16_t* pEnabled, int16_t* pPriceLevel,
                                     BSTR* pPlate, int16_t* pGradeType, int16_t* pCardType,
                                     int16_t* pLimitType, double* pLimit, int16_t* pEntryType,
                                     double* pExpirationDate, int32_t* pParentID) {
    return Call<OpCode("GetCardClientPropertiesEx2")>(
        handle, ID, pNumber, pName, pTag, pEnabled, pPriceLevel, pPlate, pGradeType, pCardType,
        pLimitType, pLimit, pEntryType, pExpirationDate, pParentID);
}

int32_t GetCardClientPropertiesExMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                    BSTR* pTag, int16_t* pEnabled, int16_t* pPriceLevel,
                                    BSTR* pPlate) {
    return Call<OpCode("GetCardClientPropertiesEx")>(handle, ID, pNumber, pName, pTag, pEnabled,
                                                     pPriceLevel, pPlate);
}

int32_t GetCardClientPropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                  BSTR* pTag, int16_t* pEnabled) {
    return Call<OpCode("GetCardClientProperties")>(handle, ID, pNumber, pName, pTag, pEnabled);
}

int32_t SetCardClientPropertiesEx4MT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                                     BSTR Tag, int16_t Enabled, int16_t PriceLevel, BSTR Plate,
                                     BSTR IDNumber, BSTR ShortName, BSTR Password,
                                     int16_t GradeType, int16_t CardType, int16_t LimitType,
                                     double Limit, int16_t EntryType, double ExpirationDate,
                                     int32_t ParentID, BSTR QVOdoSerialNo, double Odometer,
                                     int32_t Factor) {
    return Call<OpCode("SetCardClientPropertiesEx4")>(
        handle, ID, Number, Name, Tag, Enabled, PriceLevel, Plate, IDNumber, ShortName, Password,
        GradeType, CardType, LimitType, Limit, EntryType, ExpirationDate, ParentID, QVOdoSerialNo,
        Odometer, Factor);
}

int32_t SetCardClientPropertiesEx3MT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                                     BSTR Tag, int16_t Enabled, int16_t PriceLevel, BSTR Plate,
                                     BSTR IDNumber, BSTR ShortName, BSTR Password,
                                     int16_t GradeType, int16_t CardType, int16_t LimitType,
                                     double Limit, int16_t EntryType, double ExpirationDate,
                                     int32_t ParentID) {
    return Call<OpCode("SetCardClientPropertiesEx3")>(
        handle, ID, Number, Name, Tag, Enabled, PriceLevel, Plate, IDNumber, ShortName, Password,
        GradeType, CardType, LimitType, Limit, EntryType, ExpirationDate, ParentID);
}

int32_t SetCardClientPropertiesEx2MT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                                     BSTR Tag, int16_t Enabled, int16_t PriceLevel, BSTR Plate,
                                     int16_t GradeType, int16_t CardType, int16_t LimitType,
                                     double Limit, int16_t EntryType, double ExpirationDate,
                                     int32_t ParentID) {
    return Call<OpCode("SetCardClientPropertiesEx2")>(
        handle, ID, Number, Name, Tag, Enabled, PriceLevel, Plate, GradeType, CardType, LimitType,
        Limit, EntryType, ExpirationDate, ParentID);
}

int32_t SetCardClientPropertiesExMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name, BSTR Tag,
                                    int16_t Enabled, int16_t PriceLevel, BSTR Plate) {
    return Call<OpCode("SetCardClientPropertiesEx")>(handle, ID, Number, Name, Tag, Enabled,
                                                     PriceLevel, Plate);
}

int32_t GetCardTypeMT(int32_t handle, BSTR Tag, int16_t* pCardType, int32_t* pID) {
    return Call<OpCode("GetCardType")>(handle, Tag, pCardType, pID);
}

int32_t DeleteCardClientMT(int32_t handle, int32_t ID) {
    return Call<OpCode("DeleteCardClient")>(handle, ID);
}

int32_t GetAttendantsCountMT(int32_t handle, int32_t* pCount) {
    return Call<OpCode("GetAttendantsCount")>(handle, pCount);
}

int32_t GetAttendantByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetAttendantByOrdinal")>(handle, Ordinal, pID);
}

int32_t GetAttendantPropertiesEx2MT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                    BSTR* pShortName, BSTR* pPassword, BSTR* pTag, BSTR* pIDNumber,
                                    int16_t* pShiftAStart, int16_t* pShiftAEnd,
                                    int16_t* pShiftBStart, int16_t* pShiftBEnd, int16_t* pType) {
    return Call<OpCode("GetAttendantPropertiesEx2")>(handle, ID, pNumber, pName, pShortName,
                                                     pPassword, pTag, pIDNumber, pShiftAStart,
                                                     pShiftAEnd, pShiftBStart, pShiftBEnd, pType);
}

int32_t GetAttendantPropertiesExMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                   BSTR* pShortName, BSTR* pPassword, BSTR* pTag,
                                   int16_t* pShiftAStart, int16_t* pShiftAEnd,
                                   int16_t* pShiftBStart, int16_t* pShiftBEnd, int16_t* pType) {
    return Call<OpCode("GetAttendantPropertiesEx")>(handle, ID, pNumber, pName, pShortName,
                                                    pPassword, pTag, pShiftAStart, pShiftAEnd,
                                                    pShiftBStart, pShiftBEnd, pType);
}

int32_t GetAttendantPropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                 BSTR* pShortName, BSTR* pPassword, BSTR* pTag) {
    return Call<OpCode("GetAttendantProperties")>(handle, ID, pNumber, pName, pShortName, pPassword,
                                                  pTag);
}

int32_t SetAttendantPropertiesEx2MT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                                    BSTR ShortName, BSTR Password, BSTR Tag, BSTR IDNumber,
                                    int16_t ShiftAStart, int16_t ShiftAEnd, int16_t ShiftBStart,
                                    int16_t ShiftBEnd, int16_t Type) {
    return Call<OpCode("SetAttendantPropertiesEx2")>(handle, ID, Number, Name, ShortName, Password,
                                                     Tag, IDNumber, ShiftAStart, ShiftAEnd,
                                                     ShiftBStart, ShiftBEnd, Type);
}

int32_t SetAttendantPropertiesExMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                                   BSTR ShortName, BSTR Password, BSTR Tag, int16_t ShiftAStart,
                                   int16_t ShiftAEnd, int16_t ShiftBStart, int16_t ShiftBEnd,
                                   int16_t Type) {
    return Call<OpCode("SetAttendantPropertiesEx")>(handle, ID, Number, Name, ShortName, Password,
                                                    Tag, ShiftAStart, ShiftAEnd, ShiftBStart,
                                                    ShiftBEnd, Type);
}

int32_t SetAttendantPropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                                 BSTR ShortName, BSTR Password, BSTR Tag) {
    return Call<OpCode("SetAttendantProperties")>(handle, ID, Number, Name, ShortName, Password,
                                                  Tag);
}

int32_t DeleteAttendantMT(int32_t handle, int32_t ID) {
    return Call<OpCode("DeleteAttendant")>(handle, ID);
}

int32_t GetProductsCountMT(int32_t handle, int32_t Number, BSTR Name, BSTR ShortName, BSTR Tag,
                           BSTR Barcode, int32_t ProductGroup, int32_t* pCount) {
    return Call<OpCode("GetProductsCount")>(handle, Number, Name, ShortName, Tag, Barcode,
                                            ProductGroup, pCount);
}

int32_t GetProductByOrdinalMT(int32_t handle, int32_t Number, BSTR Name, BSTR ShortName, BSTR Tag,
                              BSTR Barcode, int32_t ProductGroup, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetProductByOrdinal")>(handle, Number, Name, ShortName, Tag, Barcode,
                                               ProductGroup, Ordinal, pID);
}

int32_t GetProductByNumberMT(int32_t handle, int32_t Number, int32_t* pID) {
    return Call<OpCode("GetProductByNumber")>(handle, Number, pID);
}

int32_t DeleteProductMT(int32_t handle, int32_t ID) {
    return Call<OpCode("DeleteProduct")>(handle, ID);
}

int32_t GetProductPropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                               BSTR* pTag, int16_t* pEnabled, BSTR* pShortName, BSTR* pBarcode,
                               double* pPrice1, double* pPrice2, int32_t* pProductGroup) {
    return Call<OpCode("GetProductProperties")>(handle, ID, pNumber, pName, pTag, pEnabled,
                                                pShortName, pBarcode, pPrice1, pPrice2,
                                                pProductGroup);
}

int32_t SetProductPropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name, BSTR Tag,
                               int16_t Enabled, BSTR ShortName, BSTR Barcode, double Price1,
                               double Price2, int32_t ProductGroup) {
    return Call<OpCode("SetProductProperties")>(handle, ID, Number, Name, Tag, Enabled, ShortName,
                                                Barcode, Price1, Price2, ProductGroup);
}

int32_t GetProductPropertiesExMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                 BSTR* pTag, int16_t* pEnabled, BSTR* pShortName, BSTR* pBarcode,
                                 int32_t* pQuickCode, double* pPrice1, double* pPrice2,
                                 double* pPrice3, double* pPrice4, int32_t* pProductGroup) {
    return Call<OpCode("GetProductPropertiesEx")>(handle, ID, pNumber, pName, pTag, pEnabled,
                                                  pShortName, pBarcode, pQuickCode, pPrice1,
                                                  pPrice2, pPrice3, pPrice4, pProductGroup);
}

int32_t GetProductPropertiesEx2MT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                  BSTR* pTag, int16_t* pEnabled, BSTR* pShortName, BSTR* pBarcode,
                                  int32_t* pQuickCode, double* pPrice1, double* pPrice2,
                                  double* pPrice3, double* pPrice4, int32_t* pProductGroup,
                                  double* pAddedDT, double* pUpdatedDT) {
    return Call<OpCode("GetProductPropertiesEx2")>(
        handle, ID, pNumber, pName, pTag, pEnabled, pShortName, pBarcode, pQuickCode, pPrice1,
        pPrice2, pPrice3, pPrice4, pProductGroup, pAddedDT, pUpdatedDT);
}

int32_t SetProductPropertiesExMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name, BSTR Tag,
                                 int16_t Enabled, BSTR ShortName, BSTR Barcode, int32_t QuickCode,
                                 double Price1, double Price2, double Price3, double Price4,
                                 int32_t ProductGroup) {
    return Call<OpCode("SetProductPropertiesEx")>(handle, ID, Number, Name, Tag, Enabled, ShortName,
                                                  Barcode, QuickCode, Price1, Price2, Price3,
                                                  Price4, ProductGroup);
}

int32_t GetGradesCountMT(int32_t handle, int32_t* pCount) {
    return Call<OpCode("GetGradesCount")>(handle, pCount);
}

int32_t GetGradeByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetGradeByOrdinal")>(handle, Ordinal, pID);
}

int32_t DeleteGradeMT(int32_t handle, int32_t ID) {
    return Call<OpCode("DeleteGrade")>(handle, ID);
}

int32_t GetGradePropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                             BSTR* pShortName, BSTR* pCode) {
    return Call<OpCode("GetGradeProperties")>(handle, ID, pNumber, pName, pShortName, pCode);
}

int32_t SetGradePropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name, BSTR ShortName,
                             BSTR Code) {
    return Call<OpCode("SetGradeProperties")>(handle, ID, Number, Name, ShortName, Code);
}

int32_t GetGradePropertiesExMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                               BSTR* pShortName, BSTR* pCode, int16_t* pType) {
    return Call<OpCode("GetGradePropertiesEx")>(handle, ID, pNumber, pName, pShortName, pCode,
                                                pType);
}

int32_t SetGradePropertiesExMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                               BSTR ShortName, BSTR Code, int16_t Type) {
    return Call<OpCode("SetGradePropertiesEx")>(handle, ID, Number, Name, ShortName, Code, Type);
}

int32_t GetGradePriceMT(int32_t handle, int32_t ID, int16_t Level, double* pPrice) {
    return Call<OpCode("GetGradePrice")>(handle, ID, Level, pPrice);
}

int32_t GetTanksCountMT(int32_t handle, int32_t* pCount) {
    return Call<OpCode("GetTanksCount")>(handle, pCount);
}

int32_t GetTankByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetTankByOrdinal")>(handle, Ordinal, pID);
}

int32_t GetTankPropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                            int32_t* pGradeID, int16_t* pType, double* pCapacity, double* pDiameter,
                            double* pTheoVolume, double* pGaugeVolume, double* pGaugeTCVolume,
                            double* pGaugeUllage, double* pGaugeTemperature, double* pGaugeLevel,
                            double* pGaugeWaterVolume, double* pGaugeWaterLevel, int32_t* pGaugeID,
                            int16_t* pProbeNo) {
    return Call<OpCode("GetTankProperties")>(
        handle, ID, pNumber, pName, pGradeID, pType, pCapacity, pDiameter, pTheoVolume,
        pGaugeVolume, pGaugeTCVolume, pGaugeUllage, pGaugeTemperature, pGaugeLevel,
        pGaugeWaterVolume, pGaugeWaterLevel, pGaugeID, pProbeNo);
}

int32_t GetTankPropertiesExMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                              int32_t* pGradeID, int16_t* pType, double* pCapacity,
                              double* pDiameter, double* pTheoVolume, double* pGaugeVolume,
                              double* pGaugeTCVolume, double* pGaugeUllage,
                              double* pGaugeTemperature, double* pGaugeLevel,
                              double* pGaugeWaterVolume, double* pGaugeWaterLevel,
                              int32_t* pGaugeID, int16_t* pProbeNo, int32_t* pGaugeAlarmsMask) {
    return Call<OpCode("GetTankPropertiesEx")>(
        handle, ID, pNumber, pName, pGradeID, pType, pCapacity, pDiameter, pTheoVolume,
        pGaugeVolume, pGaugeTCVolume, pGaugeUllage, pGaugeTemperature, pGaugeLevel,
        pGaugeWaterVolume, pGaugeWaterLevel, pGaugeID, pProbeNo, pGaugeAlarmsMask);
}

int32_t GetTankPropertiesEx2MT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                               int32_t* pGradeID, int16_t* pType, double* pCapacity,
                               double* pDiameter, double* pTheoVolume, double* pGaugeVolume,
                               double* pGaugeTCVolume, double* pGaugeUllage,
                               double* pGaugeTemperature, double* pGaugeLevel,
                               double* pGaugeWaterVolume, double* pGaugeWaterLevel,
                               int32_t* pGaugeID, int16_t* pProbeNo, int32_t* pGaugeAlarmsMask,
                               int32_t* pSlotZigBeeID, int16_t* pProbeType,
                               int32_t* pProbeSerialNo) {
    return Call<OpCode("GetTankPropertiesEx2")>(
        handle, ID, pNumber, pName, pGradeID, pType, pCapacity, pDiameter, pTheoVolume,
        pGaugeVolume, pGaugeTCVolume, pGaugeUllage, pGaugeTemperature, pGaugeLevel,
        pGaugeWaterVolume, pGaugeWaterLevel, pGaugeID, pProbeNo, pGaugeAlarmsMask, pSlotZigBeeID,
        pProbeType, pProbeSerialNo);
}

int32_t GetPumpsCountMT(int32_t handle, int32_t* pCount) {
    return Call<OpCode("GetPumpsCount")>(handle, pCount);
}

int32_t GetPumpByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetPumpByOrdinal")>(handle, Ordinal, pID);
}

int32_t GetPumpByNumberMT(int32_t handle, int32_t Number, int32_t* pID) {
    return Call<OpCode("GetPumpByNumber")>(handle, Number, pID);
}

int32_t GetPumpPropertiesExMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                              int16_t* pPhysicalNumber, int16_t* pSide, int16_t* pAddress,
                              int16_t* pPriceLevel1, int16_t* pPriceLevel2,
                              int16_t* pPriceDspFormat, int16_t* pVolumeDspFormat,
                              int16_t* pValueDspFormat, int16_t* pType, int32_t* pPortID,
                              int32_t* pAttendantID, int16_t* pAuthMode, int16_t* pStackMode,
                              int16_t* pPrepayAllowed, int16_t* pPreauthAllowed,
                              int32_t* pSlotZigBeeID, int32_t* pMuxSlotZigBeeID,
                              int16_t* pPriceControl, int16_t* pHasPreset) {
    return Call<OpCode("GetPumpPropertiesEx")>(
        handle, ID, pNumber, pName, pPhysicalNumber, pSide, pAddress, pPriceLevel1, pPriceLevel2,
        pPriceDspFormat, pVolumeDspFormat, pValueDspFormat, pType, pPortID, pAttendantID, pAuthMode,
        pStackMode, pPrepayAllowed, pPreauthAllowed, pSlotZigBeeID, pMuxSlotZigBeeID, pPriceControl,
        pHasPreset);
}

int32_t GetPumpPropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                            int16_t* pPhysicalNumber, int16_t* pSide, int16_t* pAddress,
                            int16_t* pPriceLevel1, int16_t* pPriceLevel2, int16_t* pPriceDspFormat,
                            int16_t* pVolumeDspFormat, int16_t* pValueDspFormat, int16_t* pType,
                            int32_t* pPortID, int32_t* pAttendantID, int16_t* pAuthMode,
                            int16_t* pStackMode, int16_t* pPrepayAllowed,
                            int16_t* pPreauthAllowed) {
    return Call<OpCode("GetPumpProperties")>(
        handle, ID, pNumber, pName, pPhysicalNumber, pSide, pAddress, pPriceLevel1, pPriceLevel2,
        pPriceDspFormat, pVolumeDspFormat, pValueDspFormat, pType, pPortID, pAttendantID, pAuthMode,
        pStackMode, pPrepayAllowed, pPreauthAllowed);
}

int32_t SetPumpPropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                            int16_t PhysicalNumber, int16_t Side, int16_t Address,
                            int16_t PriceLevel1, int16_t PriceLevel2, int16_t PriceDspFormat,
                            int16_t VolumeDspFormat, int16_t ValueDspFormat, int16_t Type,
                            int32_t PortID, int32_t AttendantID, int16_t AuthMode,
                            int16_t StackMode, int16_t PrepayAllowed, int16_t PreauthAllowed) {
    return Call<OpCode("SetPumpProperties")>(
        handle, ID, Number, Name, PhysicalNumber, Side, Address, PriceLevel1, PriceLevel2,
        PriceDspFormat, VolumeDspFormat, ValueDspFormat, Type, PortID, AttendantID, AuthMode,
        StackMode, PrepayAllowed, PreauthAllowed);
}

int32_t SetPumpPropertiesExMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                              int16_t PhysicalNumber, int16_t Side, int16_t Address,
                              int16_t PriceLevel1, int16_t PriceLevel2, int16_t PriceDspFormat,
                              int16_t VolumeDspFormat, int16_t ValueDspFormat, int16_t Type,
                              int32_t PortID, int32_t AttendantID, int16_t AuthMode,
                              int16_t StackMode, int16_t PrepayAllowed, int16_t PreauthAllowed,
                              int32_t SlotZigBeeID, int32_t MuxSlotZigBeeID, int16_t PriceControl,
                              int16_t HasPreset) {
    return Call<OpCode("SetPumpPropertiesEx")>(
        handle, ID, Number, Name, PhysicalNumber, Side, Address, PriceLevel1, PriceLevel2,
        PriceDspFormat, VolumeDspFormat, ValueDspFormat, Type, PortID, AttendantID, AuthMode,
        StackMode, PrepayAllowed, PreauthAllowed, SlotZigBeeID, MuxSlotZigBeeID, PriceControl,
        HasPreset);
}

int32_t SetHosePricesMT(int32_t handle, int32_t HoseID, int16_t DurationType, int16_t PriceType,
                        double Price1, double Price2) {
    return Call<OpCode("SetHosePrices")>(handle, HoseID, DurationType, PriceType, Price1, Price2);
}

int32_t SetHosePricesExMT(int32_t handle, int32_t HoseID, int16_t DurationType, int16_t PriceType,
                          double Price1, double Price2, double Price3, double Price4) {
    return Call<OpCode("SetHosePricesEx")>(handle, HoseID, DurationType, PriceType, Price1, Price2,
                                           Price3, Price4);
}

int32_t GetHosePricesMT(int32_t handle, int32_t HoseID, int16_t* pDurationType, int16_t* pPriceType,
                        double* pPrice1, double* pPrice2) {
    return Call<OpCode("GetHosePrices")>(handle, HoseID, pDurationType, pPriceType, pPrice1,
                                         pPrice2);
}

int32_t GetHosePricesExMT(int32_t handle, int32_t HoseID, int16_t* pDurationType,
                          int16_t* pPriceType, double* pPrice1, double* pPrice2, double* pPrice3,
                          double* pPrice4) {
    return Call<OpCode("GetHosePricesEx")>(handle, HoseID, pDurationType, pPriceType, pPrice1,
                                           pPrice2, pPrice3, pPrice4);
}

int32_t GetHosesCountMT(int32_t handle, int32_t* pCount) {
    return Call<OpCode("GetHosesCount")>(handle, pCount);
}

int32_t GetHoseByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetHoseByOrdinal")>(handle, Ordinal, pID);
}

int32_t GetHosePropertiesEx3MT(int32_t handle, int32_t ID, int32_t* pNumber, int32_t* pPumpID,
                               int32_t* pTankID, int32_t* pPhysicalNumber, double* pMtrTheoValue,
                               double* pMtrTheoVolume, double* pMtrElecValue,
                               double* pMtrElecVolume, int16_t* pUVEAntenna, double* pPrice1,
                               double* pPrice2, double* pPrice3, double* pPrice4,
                               int16_t* pEnabled) {
    return Call<OpCode("GetHosePropertiesEx3")>(
        handle, ID, pNumber, pPumpID, pTankID, pPhysicalNumber, pMtrTheoValue, pMtrTheoVolume,
        pMtrElecValue, pMtrElecVolume, pUVEAntenna, pPrice1, pPrice2, pPrice3, pPrice4, pEnabled);
}

int32_t GetHosePropertiesEx2MT(int32_t handle, int32_t ID, int32_t* pNumber, int32_t* pPumpID,
                               int32_t* pTankID, int32_t* pPhysicalNumber, double* pMtrTheoValue,
                               double* pMtrTheoVolume, double* pMtrElecValue,
                               double* pMtrElecVolume, int16_t* pUVEAntenna, double* pPrice1,
                               double* pPrice2, int16_t* pEnabled) {
    return Call<OpCode("GetHosePropertiesEx2")>(
        handle, ID, pNumber, pPumpID, pTankID, pPhysicalNumber, pMtrTheoValue, pMtrTheoVolume,
        pMtrElecValue, pMtrElecVolume, pUVEAntenna, pPrice1, pPrice2, pEnabled);
}

int32_t GetHosePropertiesExMT(int32_t handle, int32_t ID, int32_t* pNumber, int32_t* pPumpID,
                              int32_t* pTankID, int32_t* pPhysicalNumber, double* pMtrTheoValue,
                              double* pMtrTheoVolume, double* pMtrElecValue, double* pMtrElecVolume,
                              int16_t* pUVEAntenna) {
    return Call<OpCode("GetHosePropertiesEx")>(handle, ID, pNumber, pPumpID, pTankID,
                                               pPhysicalNumber, pMtrTheoValue, pMtrTheoVolume,
                                               pMtrElecValue, pMtrElecVolume, pUVEAntenna);
}

int32_t GetDeliveriesCountMT(int32_t handle, int32_t PumpID, int32_t* pCount) {
    return Call<OpCode("GetDeliveriesCount")>(handle, PumpID, pCount);
}

int32_t GetDeliveriesCountNotLoggedMT(int32_t handle, int32_t* pCount) {
    return Call<OpCode("GetDeliveriesCountNotLogged")>(handle, pCount);
}

int32_t GetDeliveriesCountNotVolLoggedMT(int32_t handle, int32_t* pCount) {
    return Call<OpCode("GetDeliveriesCountNotVolLogged")>(handle, pCount);
}

int32_t GetDeliveryByOrdinalMT(int32_t handle, int32_t PumpID, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetDeliveryByOrdinal")>(handle, PumpID, Ordinal, pID);
}

int32_t GetDeliveryIDByOrdinalNotLoggedMT(int32_t handle, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetDeliveryIDByOrdinalNotLogged")>(handle, Ordinal, pID);
}

int32_t GetDeliveryIDByOrdinalNotVolLoggedMT(int32_t handle, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetDeliveryIDByOrdinalNotVolLogged")>(handle, Ordinal, pID);
}

int32_t GetDeliverySummaryEx2MT(int32_t handle, int32_t ID, int32_t* pPumpID, int32_t* pPumpNumber,
                                int32_t* pHoseID, int32_t* pHoseNumber, int32_t* pGradeID,
                                BSTR* pGradeName, BSTR* pShortGradeName, int16_t* pPriceLevel,
                                double* pPrice, double* pVolume, double* pValue,
                                int16_t* pDeliveryState, int16_t* pDeliveryType, int32_t* pLockedBy,
                                int32_t* pReservedBy, int32_t* pAge, double* pCompletedDT,
                                int32_t* pAttendantID, double* pOldVolumeETot,
                                double* pOldVolume2ETot, double* pOldValueETot,
                                double* pNewVolumeETot, double* pNewVolume2ETot,
                                double* pNewValueETot, int64_t* pTag, int32_t* pDuration) {
    return Call<OpCode("GetDeliverySummaryEx2")>(
        handle, ID, pPumpID, pPumpNumber, pHoseID, pHoseNumber, pGradeID, pGradeName,
        pShortGradeName, pPriceLevel, pPrice, pVolume, pValue, pDeliveryState, pDeliveryType,
        pLockedBy, pReservedBy, pAge, pCompletedDT, pAttendantID, pOldVolumeETot, pOldVolume2ETot,
        pOldValueETot, pNewVolumeETot, pNewVolume2ETot, pNewValueETot, pTag, pDuration);
}

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
    int32_t* pCardClientNumber, BSTR* pCardClientName, int64_t* pCardClientTag) {
    return Call<OpCode("GetDeliverySummaryEx3")>(
        handle, ID, pHoseID, pHoseNumber, pHosePhysicalNumber, pPumpID, pPumpNumber, pPumpName,
        pTankID, pTankNumber, pTankName, pGradeID, pGradeNumber, pGradeName, pGradeShortName,
        pGradeCode, pDeliveryState, pDeliveryType, pVolume, pPriceLevel, pPrice, pValue, pVolume2,
        pCompletedDT, pLockedBy, pReservedBy, pAttendantID, pAge, pClearedDT, pOldVolumeETot,
        pOldVolume2ETot, pOldValueETot, pNewVolumeETot, pNewVolume2ETot, pNewValueETot, pTag,
        pDuration, pAttendantNumber, pAttendantName, pAttendantTag, pCardClientID,
        pCardClientNumber, pCardClientName, pCardClientTag);
}

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
    double* pPeakFlowRate) {
    return Call<OpCode("GetDeliverySummaryEx4")>(
        handle, ID, pHoseID, pHoseNumber, pHosePhysicalNumber, pPumpID, pPumpNumber, pPumpName,
        pTankID, pTankNumber, pTankName, pGradeID, pGradeNumber, pGradeName, pGradeShortName,
        pGradeCode, pDeliveryState, pDeliveryType, pVolume, pPriceLevel, pPrice, pValue, pVolume2,
        pCompletedDT, pLockedBy, pReservedBy, pAttendantID, pAge, pClearedDT, pOldVolumeETot,
        pOldVolume2ETot, pOldValueETot, pNewVolumeETot, pNewVolume2ETot, pNewValueETot, pTag,
        pDuration, pAttendantNumber, pAttendantName, pAttendantTag, pCardClientID,
        pCardClientNumber, pCardClientName, pCardClientTag, pPeakFlowRate);
}

int32_t ClearDeliveryMT(int32_t handle, int32_t ID, int16_t DeliveryType) {
    return Call<OpCode("ClearDelivery")>(handle, ID, DeliveryType);
}

int32_t LockAndClearDeliveryMT(int32_t handle, int32_t ID, int16_t DeliveryType) {
    return Call<OpCode("LockAndClearDelivery")>(handle, ID, DeliveryType);
}

int32_t AckDeliveryDBLogMT(int32_t handle, int32_t ID) {
    return Call<OpCode("AckDeliveryDBLog")>(handle, ID);
}

int32_t AckDeliveryVolLogMT(int32_t handle, int32_t ID) {
    return Call<OpCode("AckDeliveryVolLog")>(handle, ID);
}

int32_t GetDeliveryExtMT(int32_t handle, int32_t ID, BSTR* pExt) {
    return Call<OpCode("GetDeliveryExt")>(handle, ID, pExt);
}

int32_t SetDeliveryExtMT(int32_t handle, int32_t ID, BSTR Ext) {
    return Call<OpCode("SetDeliveryExt")>(handle, ID, Ext);
}

int32_t GetSaleItemsCountMT(int32_t handle, int32_t* pCount) {
    return Call<OpCode("GetSaleItemsCount")>(handle, pCount);
}

int32_t GetSaleItemByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetSaleItemByOrdinal")>(handle, Ordinal, pID);
}

int32_t GetSaleItemSummaryMT(int32_t handle, int32_t ID, int32_t* pProductID, int32_t* pPumpID,
                             int32_t* pAttendantID, int32_t* pCardClientID, int16_t* pPriceLevel,
                             double* pPrice, double* pQuantity, double* pAddedDT,
                             double* pClearedDT, int32_t* pLockedBy, int32_t* pClearedBy,
                             int16_t* pLoggedState, BSTR* pPlate, int16_t* pAuthType) {
    return Call<OpCode("GetSaleItemSummary")>(
        handle, ID, pProductID, pPumpID, pAttendantID, pCardClientID, pPriceLevel, pPrice,
        pQuantity, pAddedDT, pClearedDT, pLockedBy, pClearedBy, pLoggedState, pPlate, pAuthType);
}

int32_t SaleItemClearMT(int32_t handle, int32_t ID, int32_t ClearedBy) {
    return Call<OpCode("SaleItemClear")>(handle, ID, ClearedBy);
}

int32_t SaleItemLockAndClearMT(int32_t handle, int32_t ID, int32_t ClearedBy) {
    return Call<OpCode("SaleItemLockAndClear")>(handle, ID, ClearedBy);
}

int32_t SaleItemAckDBLogMT(int32_t handle, int32_t ID) {
    return Call<OpCode("SaleItemAckDBLog")>(handle, ID);
}

int32_t SaleItemAckVolLogMT(int32_t handle, int32_t ID) {
    return Call<OpCode("SaleItemAckVolLog")>(handle, ID);
}

int32_t ServerVersionMT(int32_t handle, BSTR* pVersion) {
    return Call<OpCode("ServerVersion")>(handle, pVersion);
}

int32_t GetLogEventCountMT(int32_t handle, int32_t* pCount) {
    return Call<OpCode("GetLogEventCount")>(handle, pCount);
}

int32_t GetLogEventByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetLogEventByOrdinal")>(handle, Ordinal, pID);
}

int32_t GetLogEventCountExMT(int32_t handle, int16_t DeviceType, int32_t DeviceID,
                             int16_t EventType, int32_t* pCount) {
    return Call<OpCode("GetLogEventCountEx")>(handle, DeviceType, DeviceID, EventType, pCount);
}

int32_t GetLogEventByOrdinalExMT(int32_t handle, int16_t DeviceType, int32_t DeviceID,
                                 int16_t EventType, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetLogEventByOrdinalEx")>(handle, DeviceType, DeviceID, EventType, Ordinal,
                                                  pID);
}

int32_t ClearLogEventMT(int32_t handle, int32_t ID, int32_t ClearedBy) {
    return Call<OpCode("ClearLogEvent")>(handle, ID, ClearedBy);
}

int32_t AckLogEventMT(int32_t handle, int32_t ID, int32_t AckedBy) {
    return Call<OpCode("AckLogEvent")>(handle, ID, AckedBy);
}

int32_t DeleteLogEventMT(int32_t handle, int32_t ID) {
    return Call<OpCode("DeleteLogEvent")>(handle, ID);
}

int32_t GetLogEventPropertiesMT(int32_t handle, int32_t ID, int16_t* pDeviceType,
                                int32_t* pDeviceID, int16_t* pEventLevel, int16_t* pEventType,
                                BSTR* pEventDesc, double* pGeneratedDT, double* pClearedDT,
                                int32_t* pClearedBy, int32_t* pAckedBy, double* pVolume,
                                double* pValue, double* pProductVolume, double* pProductLevel,
                                double* pWaterLevel, double* pTemperature) {
    return Call<OpCode("GetLogEventProperties")>(
        handle, ID, pDeviceType, pDeviceID, pEventLevel, pEventType, pEventDesc, pGeneratedDT,
        pClearedDT, pClearedBy, pAckedBy, pVolume, pValue, pProductVolume, pProductLevel,
        pWaterLevel, pTemperature);
}

int32_t GetNextPumpEventMT(int32_t handle, int32_t* pPumpID, int16_t* pPumpNumber, int16_t* pState,
                           int16_t* pReservedFor, int32_t* pReservedBy, int32_t* pHoseID,
                           int16_t* pHoseNumber, int32_t* pGradeID, BSTR* pGradeName,
                           BSTR* pShortGradeName, int16_t* pPriceLevel, double* pPrice,
                           double* pVolume, double* pValue, int16_t* pStackSize) {
    return ReadEvent(handle, qvwire::kEventPumpStatus, 0, pPumpID, pPumpNumber, pState,
                     pReservedFor, pReservedBy, pHoseID, pHoseNumber, pGradeID, pGradeName,
                     pShortGradeName, pPriceLevel, pPrice, pVolume, pValue, pStackSize);
}

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
    int64_t* pCardClientTag) {
    return ReadEvent(handle, qvwire::kEventPumpStatus, 2, pPumpID, pPumpNumber, pState,
                     pReservedFor, pReservedBy, pHoseID, pHoseNumber, pHosePhysicalNumber, pGradeID,
                     pGradeNumber, pGradeName, pShortGradeName, pPriceLevel, pPrice, pVolume,
                     pValue, pStackSize, pPumpName, pPhysicalNumber, pSide, pAddress, pPriceLevel1,
                     pPriceLevel2, pType, pPortID, pAuthMode, pStackMode, pPrepayAllowed,
                     pPreauthAllowed, pPriceFormat, pValueFormat, pVolumeFormat, pTag, pAttendantID,
                     pAttendantNumber, pAttendantName, pAttendantTag, pCardClientID,
                     pCardClientNumber, pCardClientName, pCardClientTag);
}

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
    int64_t* pCardClientTag, double* pCurFlowRate, double* pPeakFlowRate) {
    return ReadEvent(
        handle, qvwire::kEventPumpStatus, 3, pPumpID, pPumpNumber, pState, pReservedFor,
        pReservedBy, pHoseID, pHoseNumber, pHosePhysicalNumber, pGradeID, pGradeNumber, pGradeName,
        pShortGradeName, pPriceLevel, pPrice, pVolume, pValue, pStackSize, pPumpName,
        pPhysicalNumber, pSide, pAddress, pPriceLevel1, pPriceLevel2, pType, pPortID, pAuthMode,
        pStackMode, pPrepayAllowed, pPreauthAllowed, pPriceFormat, pValueFormat, pVolumeFormat,
        pTag, pAttendantID, pAttendantNumber, pAttendantName, pAttendantTag, pCardClientID,
        pCardClientNumber, pCardClientName, pCardClientTag, pCurFlowRate, pPeakFlowRate);
}

int32_t GetNextDeliveryEventEx2MT(
    int32_t handle, int32_t* pDeliveryID, int32_t* pPumpID, int32_t* pPumpNumber, int32_t* pHoseID,
    int32_t* pHoseNumber, int32_t* pGradeID, BSTR* pGradeName, BSTR* pShortGradeName,
    int16_t* pPriceLevel, double* pPrice, double* pVolume, double* pValue, int16_t* pDeliveryState,
    int16_t* pDeliveryType, int32_t* pLockedBy, int32_t* pReservedBy, int32_t* pAge,
    double* pCompletedDT, int32_t* pAttendantID, double* pOldVolumeETot, double* pOldVolume2ETot,
    double* pOldValueETot, double* pNewVolumeETot, double* pNewVolume2ETot, double* pNewValueETot,
    int64_t* pTag, int32_t* pDuration) {
    return ReadEvent(handle, qvwire::kEventDelivery, 2, pDeliveryID, pPumpID, pPumpNumber, pHoseID,
                     pHoseNumber, pGradeID, pGradeName, pShortGradeName, pPriceLevel, pPrice,
                     pVolume, pValue, pDeliveryState, pDeliveryType, pLockedBy, pReservedBy, pAge,
                     pCompletedDT, pAttendantID, pOldVolumeETot, pOldVolume2ETot, pOldValueETot,
                     pNewVolumeETot, pNewVolume2ETot, pNewValueETot, pTag, pDuration);
}

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
    int32_t* pCardClientNumber, BSTR* pCardClientName, int64_t* pCardClientTag) {
    return ReadEvent(
        handle, qvwire::kEventDelivery, 3, pDeliveryID, pHoseID, pHoseNumber, pHosePhysicalNumber,
        pPumpID, pPumpNumber, pPumpName, pTankID, pTankNumber, pTankName, pGradeID, pGradeNumber,
        pGradeName, pGradeShortName, pGradeCode, pDeliveryState, pDeliveryType, pVolume,
        pPriceLevel, pPrice, pValue, pVolume2, pCompletedDT, pLockedBy, pReservedBy, pAttendantID,
        pAge, pClearedDT, pOldVolumeETot, pOldVolume2ETot, pOldValueETot, pNewVolumeETot,
        pNewVolume2ETot, pNewValueETot, pTag, pDuration, pAttendantNumber, pAttendantName,
        pAttendantTag, pCardClientID, pCardClientNumber, pCardClientName, pCardClientTag);
}

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
    double* pPeakFlowRate) {
    return ReadEvent(handle, qvwire::kEventDelivery, 4, pDeliveryID, pHoseID, pHoseNumber,
                     pHosePhysicalNumber, pPumpID, pPumpNumber, pPumpName, pTankID, pTankNumber,
                     pTankName, pGradeID, pGradeNumber, pGradeName, pGradeShortName, pGradeCode,
                     pDeliveryState, pDeliveryType, pVolume, pPriceLevel, pPrice, pValue, pVolume2,
                     pCompletedDT, pLockedBy, pReservedBy, pAttendantID, pAge, pClearedDT,
                     pOldVolumeETot, pOldVolume2ETot, pOldValueETot, pNewVolumeETot,
                     pNewVolume2ETot, pNewValueETot, pTag, pDuration, pAttendantNumber,
                     pAttendantName, pAttendantTag, pCardClientID, pCardClientNumber,
                     pCardClientName, pCardClientTag, pPeakFlowRate);
}

int32_t GetPumpHosesCountMT(int32_t handle, int32_t PumpID, int32_t* pCount) {
    return Call<OpCode("GetPumpHosesCount")>(handle, PumpID, pCount);
}

int32_t GetPumpHoseByNumberMT(int32_t handle, int32_t PumpID, int32_t HoseNumber,
                              int32_t* pHoseID) {
    return Call<OpCode("GetPumpHoseByNumber")>(handle, PumpID, HoseNumber, pHoseID);
}

int32_t PreauthReserveMT(int32_t handle, int32_t PumpID, int32_t ReservedBy) {
    return Call<OpCode("PreauthReserve")>(handle, PumpID, ReservedBy);
}

int32_t PreauthCancelMT(int32_t handle, int32_t PumpID, int32_t ReservedBy) {
    return Call<OpCode("PreauthCancel")>(handle, PumpID, ReservedBy);
}

int32_t PreauthAuthoriseMT(int32_t handle, int32_t PumpID, int32_t ReservedBy, int16_t LimitType,
                           double Limit, int16_t PriceLevel) {
    return Call<OpCode("PreauthAuthorise")>(handle, PumpID, ReservedBy, LimitType, Limit,
                                            PriceLevel);
}

int32_t PaymentReserveMT(int32_t handle, int32_t PumpID, int32_t ReservedBy) {
    return Call<OpCode("PaymentReserve")>(handle, PumpID, ReservedBy);
}

int32_t PaymentCancelMT(int32_t handle, int32_t PumpID, int32_t ReservedBy) {
    return Call<OpCode("PaymentCancel")>(handle, PumpID, ReservedBy);
}

int32_t PaymentAuthoriseMT(int32_t handle, int32_t PumpID, int32_t ReservedBy, int16_t PresetType,
                           double PresetValue, int16_t PriceType, int16_t AuthType) {
    return Call<OpCode("PaymentAuthorise")>(handle, PumpID, ReservedBy, PresetType, PresetValue,
                                            PriceType, AuthType);
}

int32_t TerminateDeliveryMT(int32_t handle, int32_t PumpID) {
    return Call<OpCode("TerminateDelivery")>(handle, PumpID);
}

int32_t GetNextCardReadEventMT(int32_t handle, int32_t* pCardReadID, int32_t* pNumber, BSTR* pName,
                               int32_t* pPumpID, int16_t* pType, int32_t* pParentID, int64_t* pTag,
                               double* pTimeStamp) {
    return ReadEvent(handle, qvwire::kEventCardRead, 0, pCardReadID, pNumber, pName, pPumpID, pType,
                     pParentID, pTag, pTimeStamp);
}

int32_t SetDeliveryPropertiesEx4MT(int32_t handle, int32_t ID, int32_t PumpID, int32_t HoseID,
                                   int16_t State, int16_t Type, double Volume, int16_t PriceLevel,
                                   double Price, double Value, double Volume2, double CompletedDT,
                                   int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID,
                                   double ClearedDT, int32_t Duration, int32_t CardClientID,
                                   int64_t Tag, int32_t GradeID, int32_t TankID,
                                   int16_t LoggedState, int32_t ClearedBy) {
    return Call<OpCode("SetDeliveryPropertiesEx4")>(
        handle, ID, PumpID, HoseID, State, Type, Volume, PriceLevel, Price, Value, Volume2,
        CompletedDT, LockedBy, ReservedBy, AttendantID, ClearedDT, Duration, CardClientID, Tag,
        GradeID, TankID, LoggedState, ClearedBy);
}

int32_t SetDeliveryPropertiesEx3MT(int32_t handle, int32_t ID, int32_t PumpID, int32_t HoseID,
                                   int16_t State, int16_t Type, double Volume, int16_t PriceLevel,
                                   double Price, double Value, double Volume2, double CompletedDT,
                                   int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID,
                                   double ClearedDT, int32_t Duration, int32_t CardClientID,
                                   int64_t Tag, int32_t GradeID, int32_t TankID) {
    return Call<OpCode("SetDeliveryPropertiesEx3")>(handle, ID, PumpID, HoseID, State, Type, Volume,
                                                    PriceLevel, Price, Value, Volume2, CompletedDT,
                                                    LockedBy, ReservedBy, AttendantID, ClearedDT,
                                                    Duration, CardClientID, Tag, GradeID, TankID);
}

int32_t SetDeliveryPropertiesEx2MT(int32_t handle, int32_t ID, int32_t PumpID, int32_t HoseID,
                                   int16_t State, int16_t Type, double Volume, int16_t PriceLevel,
                                   double Price, double Value, double Volume2, double CompletedDT,
                                   int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID,
                                   double ClearedDT, int32_t Duration, int32_t CardClientID,
                                   int64_t Tag) {
    return Call<OpCode("SetDeliveryPropertiesEx2")>(
        handle, ID, PumpID, HoseID, State, Type, Volume, PriceLevel, Price, Value, Volume2,
        CompletedDT, LockedBy, ReservedBy, AttendantID, ClearedDT, Duration, CardClientID, Tag);
}

int32_t SetDeliveryPropertiesExMT(int32_t handle, int32_t ID, int32_t PumpID, int32_t HoseID,
                                  int16_t State, int16_t Type, double Volume, int16_t PriceLevel,
                                  double Price, double Value, double Volume2, double CompletedDT,
                                  int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID,
                                  double ClearedDT, int32_t Duration) {
    return Call<OpCode("SetDeliveryPropertiesEx")>(
        handle, ID, PumpID, HoseID, State, Type, Volume, PriceLevel, Price, Value, Volume2,
        CompletedDT, LockedBy, ReservedBy, AttendantID, ClearedDT, Duration);
}

int32_t SetDateTimeMT(int32_t handle, double DateTime) {
    return Call<OpCode("SetDateTime")>(handle, DateTime);
}

int32_t GetDateTimeMT(int32_t handle, double* pDateTime) {
    return Call<OpCode("GetDateTime")>(handle, pDateTime);
}

int32_t GetZigBeeCountMT(int32_t handle, int32_t* pCount) {
    return Call<OpCode("GetZigBeeCount")>(handle, pCount);
}

int32_t GetZigBeeByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetZigBeeByOrdinal")>(handle, Ordinal, pID);
}

int32_t GetZigBeePropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                              int16_t* pDeviceType, BSTR* pSerialNumber, BSTR* pNodeIdentifier,
                              int32_t* pPortID) {
    return Call<OpCode("GetZigBeeProperties")>(handle, ID, pNumber, pName, pDeviceType,
                                               pSerialNumber, pNodeIdentifier, pPortID);
}

int32_t GetPortsCountMT(int32_t handle, int32_t* pCount) {
    return Call<OpCode("GetPortsCount")>(handle, pCount);
}

int32_t GetPortByNumberMT(int32_t handle, int32_t Number, int32_t* pID) {
    return Call<OpCode("GetPortByNumber")>(handle, Number, pID);
}

int32_t GetPortByNameMT(int32_t handle, BSTR Name, int32_t* pID) {
    return Call<OpCode("GetPortByName")>(handle, Name, pID);
}

int32_t GetPortByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetPortByOrdinal")>(handle, Ordinal, pID);
}

int32_t GetPortPropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                            int16_t* pProtocolID, int16_t* pDeviceType, BSTR* pSerialNo) {
    return Call<OpCode("GetPortProperties")>(handle, ID, pNumber, pName, pProtocolID, pDeviceType,
                                             pSerialNo);
}

int32_t GetTankSummaryMT(int32_t handle, int32_t ID, double* pGaugeVolume, double* pGaugeTCVolume,
                         double* pGaugeUllage, double* pGaugeTemperature, double* pGaugeLevel,
                         double* pGaugeWaterVolume, double* pGaugeWaterLevel) {
    return Call<OpCode("GetTankSummary")>(handle, ID, pGaugeVolume, pGaugeTCVolume, pGaugeUllage,
                                          pGaugeTemperature, pGaugeLevel, pGaugeWaterVolume,
                                          pGaugeWaterLevel);
}

int32_t GetTankSummaryExMT(int32_t handle, int32_t ID, double* pGaugeVolume, double* pGaugeTCVolume,
                           double* pGaugeUllage, double* pGaugeTemperature, double* pGaugeLevel,
                           double* pGaugeWaterVolume, double* pGaugeWaterLevel,
                           int32_t* pTankNumber, BSTR* pTankName, int32_t* pGradeID,
                           BSTR* pGradeName, int16_t* pType, double* pCapacity, double* pDiameter,
                           int32_t* pGaugeID, int16_t* pProbeNo) {
    return Call<OpCode("GetTankSummaryEx")>(
        handle, ID, pGaugeVolume, pGaugeTCVolume, pGaugeUllage, pGaugeTemperature, pGaugeLevel,
        pGaugeWaterVolume, pGaugeWaterLevel, pTankNumber, pTankName, pGradeID, pGradeName, pType,
        pCapacity, pDiameter, pGaugeID, pProbeNo);
}

int32_t GetTankSummaryEx2MT(int32_t handle, int32_t ID, double* pGaugeVolume,
                            double* pGaugeTCVolume, double* pGaugeUllage, double* pGaugeTemperature,
                            double* pGaugeLevel, double* pGaugeWaterVolume,
                            double* pGaugeWaterLevel, int32_t* pTankNumber, BSTR* pTankName,
                            int32_t* pGradeID, BSTR* pGradeName, int16_t* pType, double* pCapacity,
                            double* pDiameter, int32_t* pGaugeID, int16_t* pProbeNo,
                            int16_t* pState, int32_t* pAlarmsMask) {
    return Call<OpCode("GetTankSummaryEx2")>(
        handle, ID, pGaugeVolume, pGaugeTCVolume, pGaugeUllage, pGaugeTemperature, pGaugeLevel,
        pGaugeWaterVolume, pGaugeWaterLevel, pTankNumber, pTankName, pGradeID, pGradeName, pType,
        pCapacity, pDiameter, pGaugeID, pProbeNo, pState, pAlarmsMask);
}

int32_t GetDeliveriesCountFilteredMT(int32_t handle, int32_t PumpID, int16_t State, int16_t Type,
                                     double FromDT, double ToDT, int32_t* pCount) {
    return Call<OpCode("GetDeliveriesCountFiltered")>(handle, PumpID, State, Type, FromDT, ToDT,
                                                      pCount);
}

int32_t GetDeliveriesCountFilteredExMT(int32_t handle, int32_t PumpID, int16_t State, int16_t Type,
                                       double FromDT, double ToDT, int32_t AttendantID,
                                       int32_t CardClientID, int32_t* pCount) {
    return Call<OpCode("GetDeliveriesCountFilteredEx")>(handle, PumpID, State, Type, FromDT, ToDT,
                                                        AttendantID, CardClientID, pCount);
}

int32_t GetDeliveryIDByOrdinalFilteredMT(int32_t handle, int32_t PumpID, int16_t State,
                                         int16_t Type, double FromDT, double ToDT, int32_t Ordinal,
                                         int32_t* pID) {
    return Call<OpCode("GetDeliveryIDByOrdinalFiltered")>(handle, PumpID, State, Type, FromDT, ToDT,
                                                          Ordinal, pID);
}

int32_t GetDeliveryIDByOrdinalFilteredExMT(int32_t handle, int32_t PumpID, int16_t State,
                                           int16_t Type, double FromDT, double ToDT,
                                           int32_t AttendantID, int32_t CardClientID,
                                           int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetDeliveryIDByOrdinalFilteredEx")>(
        handle, PumpID, State, Type, FromDT, ToDT, AttendantID, CardClientID, Ordinal, pID);
}

int32_t GetDeliveryPropertiesMT(int32_t handle, int32_t ID, int32_t* pPumpID, int32_t* pHoseID,
                                int16_t* pState, int16_t* pType, double* pVolume,
                                int16_t* pPriceLevel, double* pPrice, double* pValue,
                                double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
                                int32_t* pReservedBy, int32_t* pAttendantID) {
    return Call<OpCode("GetDeliveryProperties")>(
        handle, ID, pPumpID, pHoseID, pState, pType, pVolume, pPriceLevel, pPrice, pValue, pVolume2,
        pCompletedDT, pLockedBy, pReservedBy, pAttendantID);
}

int32_t GetDeliveryPropertiesExMT(int32_t handle, int32_t ID, int32_t* pPumpID, int32_t* pHoseID,
                                  int16_t* pState, int16_t* pType, double* pVolume,
                                  int16_t* pPriceLevel, double* pPrice, double* pValue,
                                  double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
                                  int32_t* pReservedBy, int32_t* pAttendantID, double* pClearedDT,
                                  int32_t* pDuration) {
    return Call<OpCode("GetDeliveryPropertiesEx")>(
        handle, ID, pPumpID, pHoseID, pState, pType, pVolume, pPriceLevel, pPrice, pValue, pVolume2,
        pCompletedDT, pLockedBy, pReservedBy, pAttendantID, pClearedDT, pDuration);
}

int32_t GetDeliveryPropertiesEx2MT(int32_t handle, int32_t ID, int32_t* pPumpID, int32_t* pHoseID,
                                   int16_t* pState, int16_t* pType, double* pVolume,
                                   int16_t* pPriceLevel, double* pPrice, double* pValue,
                                   double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
                                   int32_t* pReservedBy, int32_t* pAttendantID, double* pClearedDT,
                                   int32_t* pDuration, int32_t* pCardClientID, int64_t* pTag) {
    return Call<OpCode("GetDeliveryPropertiesEx2")>(
        handle, ID, pPumpID, pHoseID, pState, pType, pVolume, pPriceLevel, pPrice, pValue, pVolume2,
        pCompletedDT, pLockedBy, pReservedBy, pAttendantID, pClearedDT, pDuration, pCardClientID,
        pTag);
}

int32_t GetDeliveryPropertiesEx3MT(int32_t handle, int32_t ID, int32_t* pPumpID, int32_t* pHoseID,
                                   int16_t* pState, int16_t* pType, double* pVolume,
                                   int16_t* pPriceLevel, double* pPrice, double* pValue,
                                   double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
                                   int32_t* pReservedBy, int32_t* pAttendantID, double* pClearedDT,
                                   int32_t* pDuration, int32_t* pCardClientID, int64_t* pTag,
                                   int32_t* pGradeID, int32_t* pTankID) {
    return Call<OpCode("GetDeliveryPropertiesEx3")>(
        handle, ID, pPumpID, pHoseID, pState, pType, pVolume, pPriceLevel, pPrice, pValue, pVolume2,
        pCompletedDT, pLockedBy, pReservedBy, pAttendantID, pClearedDT, pDuration, pCardClientID,
        pTag, pGradeID, pTankID);
}

int32_t GetDeliveryPropertiesEx4MT(int32_t handle, int32_t ID, int32_t* pPumpID, int32_t* pHoseID,
                                   int16_t* pState, int16_t* pType, double* pVolume,
                                   int16_t* pPriceLevel, double* pPrice, double* pValue,
                                   double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
                                   int32_t* pReservedBy, int32_t* pAttendantID, double* pClearedDT,
                                   int32_t* pDuration, int32_t* pCardClientID, int64_t* pTag,
                                   int32_t* pGradeID, int32_t* pTankID, int16_t* pLoggedState,
                                   int32_t* pClearedBy) {
    return Call<OpCode("GetDeliveryPropertiesEx4")>(
        handle, ID, pPumpID, pHoseID, pState, pType, pVolume, pPriceLevel, pPrice, pValue, pVolume2,
        pCompletedDT, pLockedBy, pReservedBy, pAttendantID, pClearedDT, pDuration, pCardClientID,
        pTag, pGradeID, pTankID, pLoggedState, pClearedBy);
}

int32_t GetNextDBTankStatusEventMT(int32_t handle, int32_t* pTankID, double* pGaugeVolume,
                                   double* pGaugeTCVolume, double* pGaugeUllage,
                                   double* pGaugeTemperature, double* pGaugeLevel,
                                   double* pGaugeWaterVolume, double* pGaugeWaterLevel) {
    return ReadEvent(handle, qvwire::kEventTankStatus, 0, pTankID, pGaugeVolume, pGaugeTCVolume,
                     pGaugeUllage, pGaugeTemperature, pGaugeLevel, pGaugeWaterVolume,
                     pGaugeWaterLevel);
}

int32_t GetNextDBTankStatusEventExMT(int32_t handle, int32_t* pTankID, double* pGaugeVolume,
                                     double* pGaugeTCVolume, double* pGaugeUllage,
                                     double* pGaugeTemperature, double* pGaugeLevel,
                                     double* pGaugeWaterVolume, double* pGaugeWaterLevel,
                                     int32_t* pTankNumber, BSTR* pTankName, int32_t* pGradeID,
                                     BSTR* pGradeName, int16_t* pType, double* pCapacity,
                                     double* pDiameter, int32_t* pGaugeID, int16_t* pProbeNo) {
    return ReadEvent(handle, qvwire::kEventTankStatus, 1, pTankID, pGaugeVolume, pGaugeTCVolume,
                     pGaugeUllage, pGaugeTemperature, pGaugeLevel, pGaugeWaterVolume,
                     pGaugeWaterLevel, pTankNumber, pTankName, pGradeID, pGradeName, pType,
                     pCapacity, pDiameter, pGaugeID, pProbeNo);
}

int32_t GetNextDBTankStatusEventEx2MT(int32_t handle, int32_t* pTankID, double* pGaugeVolume,
                                      double* pGaugeTCVolume, double* pGaugeUllage,
                                      double* pGaugeTemperature, double* pGaugeLevel,
                                      double* pGaugeWaterVolume, double* pGaugeWaterLevel,
                                      int32_t* pTankNumber, BSTR* pTankName, int32_t* pGradeID,
                                      BSTR* pGradeName, int16_t* pType, double* pCapacity,
                                      double* pDiameter, int32_t* pGaugeID, int16_t* pProbeNo,
                                      int16_t* pState, int32_t* pAlarmsMask) {
    return ReadEvent(handle, qvwire::kEventTankStatus, 2, pTankID, pGaugeVolume, pGaugeTCVolume,
                     pGaugeUllage, pGaugeTemperature, pGaugeLevel, pGaugeWaterVolume,
                     pGaugeWaterLevel, pTankNumber, pTankName, pGradeID, pGradeName, pType,
                     pCapacity, pDiameter, pGaugeID, pProbeNo, pState, pAlarmsMask);
}

int32_t GetNextLogEventEventMT(int32_t handle, int32_t* pLogEventID, int16_t* pDeviceType,
                               int32_t* pDeviceID, int32_t* pDeviceNumber, BSTR* pDeviceName,
                               int16_t* pEventLevel, int16_t* pEventType, BSTR* pEventDesc,
                               double* pGeneratedDT, double* pClearedDT, int32_t* pClearedBy,
                               int32_t* pAckedBy, double* pVolume, double* pValue,
                               double* pProductVolume, double* pProductLevel, double* pWaterLevel,
                               double* pTemperature) {
    return ReadEvent(handle, qvwire::kEventLogEvent, 0, pLogEventID, pDeviceType, pDeviceID,
                     pDeviceNumber, pDeviceName, pEventLevel, pEventType, pEventDesc, pGeneratedDT,
                     pClearedDT, pClearedBy, pAckedBy, pVolume, pValue, pProductVolume,
                     pProductLevel, pWaterLevel, pTemperature);
}

int32_t TempStopMT(int32_t handle, int32_t PumpID) {
    return Call<OpCode("TempStop")>(handle, PumpID);
}

int32_t ReAuthoriseMT(int32_t handle, int32_t PumpID) {
    return Call<OpCode("ReAuthorise")>(handle, PumpID);
}

int32_t GetLastProductUpdatedMT(int32_t handle, int32_t* pProductID, double* pUpdatedDT) {
    return Call<OpCode("GetLastProductUpdated")>(handle, pProductID, pUpdatedDT);
}

int32_t AddLogEventMT(int32_t handle, int16_t DeviceType, int32_t DeviceID, int16_t EventLevel,
                      int16_t EventType, BSTR EventDesc, int32_t* pID) {
    return Call<OpCode("AddLogEvent")>(handle, DeviceType, DeviceID, EventLevel, EventType,
                                       EventDesc, pID);
}

int32_t GetSensorsCountMT(int32_t handle, int32_t* pCount) {
    return Call<OpCode("GetSensorsCount")>(handle, pCount);
}

int32_t GetSensorByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetSensorByOrdinal")>(handle, Ordinal, pID);
}

int32_t GetSensorPropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                              int32_t* pPortID, int16_t* pType, int16_t* pAddress,
                              int16_t* pSensorNo) {
    return Call<OpCode("GetSensorProperties")>(handle, ID, pNumber, pName, pPortID, pType, pAddress,
                                               pSensorNo);
}

int32_t GetSensorPropertiesExMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                int32_t* pPortID, int16_t* pType, int16_t* pAddress,
                                int16_t* pSensorNo, int32_t* pSlotZigBeeID,
                                int32_t* pSensorSerialNo) {
    return Call<OpCode("GetSensorPropertiesEx")>(handle, ID, pNumber, pName, pPortID, pType,
                                                 pAddress, pSensorNo, pSlotZigBeeID,
                                                 pSensorSerialNo);
}

int32_t GetSensorStatusMT(int32_t handle, int32_t ID, int16_t* pState) {
    return Call<OpCode("GetSensorStatus")>(handle, ID, pState);
}

int32_t GetHoseDelTotalsMT(int32_t handle, int32_t HoseID, double* pVolume, double* pValue,
                           int32_t* pCount) {
    return Call<OpCode("GetHoseDelTotals")>(handle, HoseID, pVolume, pValue, pCount);
}

int32_t GetZB2GConfigMT(int32_t handle, int32_t PortID, int32_t* pPanID, int32_t* pChannels,
                        int64_t* pKeyA, int64_t* pKeyB) {
    return Call<OpCode("GetZB2GConfig")>(handle, PortID, pPanID, pChannels, pKeyA, pKeyB);
}

int32_t GetDeviceDetailsMT(int32_t handle, int32_t PortID, int32_t DeviceID, BSTR* pSerialNo,
                           BSTR* pBootVersion, BSTR* pFirmwareVersion) {
    return Call<OpCode("GetDeviceDetails")>(handle, PortID, DeviceID, pSerialNo, pBootVersion,
                                            pFirmwareVersion);
}

int32_t SetPortPropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                            int16_t ProtocolID, int16_t DeviceType, BSTR SerialNo) {
    return Call<OpCode("SetPortProperties")>(handle, ID, Number, Name, ProtocolID, DeviceType,
                                             SerialNo);
}

int32_t SetGradePriceMT(int32_t handle, int32_t ID, int16_t Level, double Price) {
    return Call<OpCode("SetGradePrice")>(handle, ID, Level, Price);
}

int32_t SetZigBeePropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                              int16_t DeviceType, BSTR SerialNumber, BSTR NodeIdentifier,
                              int32_t PortID) {
    return Call<OpCode("SetZigBeeProperties")>(handle, ID, Number, Name, DeviceType, SerialNumber,
                                               NodeIdentifier, PortID);
}

int32_t SetTankPropertiesExMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                              int32_t GradeID, int16_t Type, double Capacity, double Diameter,
                              double TheoVolume, double GaugeVolume, double GaugeTCVolume,
                              double GaugeUllage, double GaugeTemperature, double GaugeLevel,
                              double GaugeWaterVolume, double GaugeWaterLevel, int32_t GaugeID,
                              int16_t ProbeNo, int32_t GaugeAlarmsMask) {
    return Call<OpCode("SetTankPropertiesEx")>(
        handle, ID, Number, Name, GradeID, Type, Capacity, Diameter, TheoVolume, GaugeVolume,
        GaugeTCVolume, GaugeUllage, GaugeTemperature, GaugeLevel, GaugeWaterVolume, GaugeWaterLevel,
        GaugeID, ProbeNo, GaugeAlarmsMask);
}

int32_t SetTankPropertiesEx2MT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                               int32_t GradeID, int16_t Type, double Capacity, double Diameter,
                               double TheoVolume, double GaugeVolume, double GaugeTCVolume,
                               double GaugeUllage, double GaugeTemperature, double GaugeLevel,
                               double GaugeWaterVolume, double GaugeWaterLevel, int32_t GaugeID,
                               int16_t ProbeNo, int32_t GaugeAlarmsMask, int32_t SlotZigBeeID,
                               int16_t ProbeType, int32_t ProbeSerialNo) {
    return Call<OpCode("SetTankPropertiesEx2")>(
        handle, ID, Number, Name, GradeID, Type, Capacity, Diameter, TheoVolume, GaugeVolume,
        GaugeTCVolume, GaugeUllage, GaugeTemperature, GaugeLevel, GaugeWaterVolume, GaugeWaterLevel,
        GaugeID, ProbeNo, GaugeAlarmsMask, SlotZigBeeID, ProbeType, ProbeSerialNo);
}

int32_t SetHosePropertiesExMT(int32_t handle, int32_t ID, int32_t Number, int32_t PumpID,
                              int32_t TankID, int32_t PhysicalNumber, double MtrTheoValue,
                              double MtrTheoVolume, double MtrElecValue, double MtrElecVolume,
                              int16_t UVEAntenna) {
    return Call<OpCode("SetHosePropertiesEx")>(handle, ID, Number, PumpID, TankID, PhysicalNumber,
                                               MtrTheoValue, MtrTheoVolume, MtrElecValue,
                                               MtrElecVolume, UVEAntenna);
}

int32_t SetHosePropertiesEx2MT(int32_t handle, int32_t ID, int32_t Number, int32_t PumpID,
                               int32_t TankID, int32_t PhysicalNumber, double MtrTheoValue,
                               double MtrTheoVolume, double MtrElecValue, double MtrElecVolume,
                               int16_t UVEAntenna, double Price1, double Price2, int16_t Enabled) {
    return Call<OpCode("SetHosePropertiesEx2")>(handle, ID, Number, PumpID, TankID, PhysicalNumber,
                                                MtrTheoValue, MtrTheoVolume, MtrElecValue,
                                                MtrElecVolume, UVEAntenna, Price1, Price2, Enabled);
}

int32_t SetHosePropertiesEx3MT(int32_t handle, int32_t ID, int32_t Number, int32_t PumpID,
                               int32_t TankID, int32_t PhysicalNumber, double MtrTheoValue,
                               double MtrTheoVolume, double MtrElecValue, double MtrElecVolume,
                               int16_t UVEAntenna, double Price1, double Price2, double Price3,
                               double Price4, int16_t Enabled) {
    return Call<OpCode("SetHosePropertiesEx3")>(
        handle, ID, Number, PumpID, TankID, PhysicalNumber, MtrTheoValue, MtrTheoVolume,
        MtrElecValue, MtrElecVolume, UVEAntenna, Price1, Price2, Price3, Price4, Enabled);
}

int32_t SetSensorPropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name, int32_t PortID,
                              int16_t Type, int16_t Address, int16_t SensorNo) {
    return Call<OpCode("SetSensorProperties")>(handle, ID, Number, Name, PortID, Type, Address,
                                               SensorNo);
}

int32_t SetSensorPropertiesExMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                                int32_t PortID, int16_t Type, int16_t Address, int16_t SensorNo,
                                int32_t SlotZigBeeID, int32_t SensorSerialNo) {
    return Call<OpCode("SetSensorPropertiesEx")>(handle, ID, Number, Name, PortID, Type, Address,
                                                 SensorNo, SlotZigBeeID, SensorSerialNo);
}

int32_t SetNextDeliveryIDMT(int32_t handle, int32_t NextID) {
    return Call<OpCode("SetNextDeliveryID")>(handle, NextID);
}

int32_t DeleteHoseMT(int32_t handle, int32_t ID) {
    return Call<OpCode("DeleteHose")>(handle, ID);
}

int32_t DeletePumpMT(int32_t handle, int32_t ID) {
    return Call<OpCode("DeletePump")>(handle, ID);
}

int32_t AllStopMT(int32_t handle) {
    return Call<OpCode("AllStop")>(handle);
}

int32_t AuthoriseMT(int32_t handle, int32_t PumpID) {
    return Call<OpCode("Authorise")>(handle, PumpID);
}

int32_t CancelAuthoriseMT(int32_t handle, int32_t PumpID) {
    return Call<OpCode("CancelAuthorise")>(handle, PumpID);
}

int32_t LoadPresetMT(int32_t handle, int32_t PumpID, int16_t PresetType, double PresetValue,
                     int16_t Hoses, int16_t PriceLevel) {
    return Call<OpCode("LoadPreset")>(handle, PumpID, PresetType, PresetValue, Hoses, PriceLevel);
}

int32_t LoadPresetWithPriceMT(int32_t handle, int32_t PumpID, int16_t PresetType,
                              double PresetValue, int16_t PriceLevel, double Price) {
    return Call<OpCode("LoadPresetWithPrice")>(handle, PumpID, PresetType, PresetValue, PriceLevel,
                                               Price);
}

int32_t GetPumpDeliveryPropertiesEx4MT(
    int32_t handle, int32_t PumpID, int32_t Index, int32_t* pDeliveryID, int32_t* pHoseID,
    int16_t* pState, int16_t* pType, double* pVolume, int16_t* pPriceLevel, double* pPrice,
    double* pValue, double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
    int32_t* pReservedBy, int32_t* pAttendantID, double* pClearedDT, int32_t* pDuration,
    int32_t* pCardClientID, int64_t* pTag, int32_t* pGradeID, int32_t* pTankID,
    int16_t* pLoggedState, int32_t* pClearedBy) {
    return Call<OpCode("GetPumpDeliveryPropertiesEx4")>(
        handle, PumpID, Index, pDeliveryID, pHoseID, pState, pType, pVolume, pPriceLevel, pPrice,
        pValue, pVolume2, pCompletedDT, pLockedBy, pReservedBy, pAttendantID, pClearedDT, pDuration,
        pCardClientID, pTag, pGradeID, pTankID, pLoggedState, pClearedBy);
}

int32_t SetPumpDefaultPriceLevelMT(int32_t handle, int32_t PumpID, int16_t PriceLevel) {
    return Call<OpCode("SetPumpDefaultPriceLevel")>(handle, PumpID, PriceLevel);
}

int32_t GetNextDBHoseETotalsEventExMT(int32_t handle, int32_t* pHoseID, double* pVolume,
                                      double* pValue, double* pVolumeETot, double* pValueETot,
                                      int32_t* pHoseNumber, int32_t* pHosePhysicalNumber,
                                      int32_t* pPumpID, int32_t* pPumpNumber, BSTR* pPumpName,
                                      int32_t* pTankID, int32_t* pTankNumber, BSTR* pTankName,
                                      int32_t* pGradeID, BSTR* pGradeName) {
    return ReadEvent(handle, qvwire::kEventHoseETotals, 1, pHoseID, pVolume, pValue, pVolumeETot,
                     pValueETot, pHoseNumber, pHosePhysicalNumber, pPumpID, pPumpNumber, pPumpName,
                     pTankID, pTankNumber, pTankName, pGradeID, pGradeName);
}

int32_t GetCardReadByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetCardReadByOrdinal")>(handle, Ordinal, pID);
}

int32_t GetCardReadPropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, BSTR* pName,
                                int32_t* pPumpID, int16_t* pType, int32_t* pParentID, int64_t* pTag,
                                double* pTimeStamp) {
    return Call<OpCode("GetCardReadProperties")>(handle, ID, pNumber, pName, pPumpID, pType,
                                                 pParentID, pTag, pTimeStamp);
}

int32_t DeleteCardReadMT(int32_t handle, int32_t ID) {
    return Call<OpCode("DeleteCardRead")>(handle, ID);
}

int32_t TagAuthoriseMT(int32_t handle, int32_t PumpID, int64_t Tag, int16_t LimitType,
                       double Limit) {
    return Call<OpCode("TagAuthorise")>(handle, PumpID, Tag, LimitType, Limit);
}

int32_t GetTCPIPConfigMT(int32_t handle, BSTR* pIPAddress, BSTR* pNetMask, BSTR* pGateway,
                         BSTR* pDNSServer, int16_t* pDHCP, BSTR* pNetworkName) {
    return Call<OpCode("GetTCPIPConfig")>(handle, pIPAddress, pNetMask, pGateway, pDNSServer, pDHCP,
                                          pNetworkName);
}

int32_t SetTCPIPConfigMT(int32_t handle, BSTR IPAddress, BSTR NetMask, BSTR Gateway, BSTR DNSServer,
                         int16_t DHCP, BSTR NetworkName) {
    return Call<OpCode("SetTCPIPConfig")>(handle, IPAddress, NetMask, Gateway, DNSServer, DHCP,
                                          NetworkName);
}

int32_t WDResetMT(int32_t handle) {
    return Call<OpCode("WDReset")>(handle);
}

int32_t GetHoseSummaryMT(int32_t handle, int32_t HoseID, int32_t* pNumber, int32_t* pPhysicalNumber,
                         int32_t* pPumpID, int32_t* pPumpNumber, int32_t* pTankID,
                         int32_t* pTankNumber, int32_t* pGradeID, BSTR* pGradeName) {
    return Call<OpCode("GetHoseSummary")>(handle, HoseID, pNumber, pPhysicalNumber, pPumpID,
                                          pPumpNumber, pTankID, pTankNumber, pGradeID, pGradeName);
}

int32_t GetHoseSummaryExMT(int32_t handle, int32_t HoseID, int32_t* pNumber,
                           int32_t* pPhysicalNumber, int32_t* pPumpID, int32_t* pPumpNumber,
                           int32_t* pTankID, int32_t* pTankNumber, int32_t* pGradeID,
                           BSTR* pGradeName, double* pPrice1, double* pPrice2, double* pPrice3,
                           double* pPrice4, int16_t* pEnabled) {
    return Call<OpCode("GetHoseSummaryEx")>(handle, HoseID, pNumber, pPhysicalNumber, pPumpID,
                                            pPumpNumber, pTankID, pTankNumber, pGradeID, pGradeName,
                                            pPrice1, pPrice2, pPrice3, pPrice4, pEnabled);
}

int32_t GetHoseSummaryEx2MT(int32_t handle, int32_t HoseID, int32_t* pNumber,
                            int32_t* pPhysicalNumber, int32_t* pPumpID, int32_t* pPumpNumber,
                            int32_t* pTankID, int32_t* pTankNumber, int32_t* pGradeID,
                            BSTR* pGradeName, double* pPrice1, double* pPrice2, double* pPrice3,
                            double* pPrice4, int16_t* pEnabled, double* pMtrTheoValue,
                            double* pMtrTheoVolume, double* pMtrElecValue, double* pMtrElecVolume) {
    return Call<OpCode("GetHoseSummaryEx2")>(
        handle, HoseID, pNumber, pPhysicalNumber, pPumpID, pPumpNumber, pTankID, pTankNumber,
        pGradeID, pGradeName, pPrice1, pPrice2, pPrice3, pPrice4, pEnabled, pMtrTheoValue,
        pMtrTheoVolume, pMtrElecValue, pMtrElecVolume);
}

int32_t ExternalStartDeliveryMT(int32_t handle, int32_t HoseID, int16_t PriceLevel,
                                int32_t* pDeliveryID) {
    return Call<OpCode("ExternalStartDelivery")>(handle, HoseID, PriceLevel, pDeliveryID);
}

int32_t ExternalEndDeliveryMT(int32_t handle, int32_t DeliveryID, double Volume, double Value) {
    return Call<OpCode("ExternalEndDelivery")>(handle, DeliveryID, Volume, Value);
}
} // extern "C"
