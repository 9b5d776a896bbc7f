// The library's forecourt functions: pump control, pump status, deliveries on the pumps and
// the readers of the forecourt's events, each an operation of the server or a read of the
// logon's event queue.
#include "outside/qvclient/CodeTexts.h"
#include "outside/qvclient/Marshal.h"
#include "outside/qvclient/QVClient.h"

using qvclient::Call;
using qvclient::ReadEvent;
using qvwire::OpCode;

namespace {

BSTR NewText(const std::string& s) {
    const std::u16string u = qvwire::ToU16(s);
    return platform::SysAllocStringLen(u.data(), static_cast<uint32_t>(u.size()));
}

} // namespace

extern "C" {

BSTR PumpStateString(int16_t State) {
    return NewText(qvclient::PumpStateText(State));
}

BSTR DeliveryStateString(int16_t State) {
    return NewText(qvclient::DeliveryStateText(State));
}

BSTR DeliveryTypeString(int16_t Type) {
    return NewText(qvclient::DeliveryTypeText(Type));
}

BSTR ReserveTypeString(int16_t Type) {
    return NewText(qvclient::ReserveTypeText(Type));
}

int32_t PrepayReserveMT(int32_t handle, int32_t PumpID, int32_t ReservedBy) {
    return Call<OpCode("PrepayReserve")>(handle, PumpID, ReservedBy);
}

int32_t PrepayCancelMT(int32_t handle, int32_t PumpID, int32_t ReservedBy) {
    return Call<OpCode("PrepayCancel")>(handle, PumpID, ReservedBy);
}

int32_t PrepayAuthoriseMT(int32_t handle, int32_t PumpID, int32_t ReservedBy, int16_t LimitType,
                          double Limit, int16_t PriceLevel) {
    return Call<OpCode("PrepayAuthorise")>(handle, PumpID, ReservedBy, LimitType, Limit,
                                           PriceLevel);
}

int32_t AttendantAuthoriseMT(int32_t handle, int32_t PumpID, int32_t AttendantID) {
    return Call<OpCode("AttendantAuthorise")>(handle, PumpID, AttendantID);
}

int32_t StackCurrentDeliveryMT(int32_t handle, int32_t PumpID) {
    return Call<OpCode("StackCurrentDelivery")>(handle, PumpID);
}

int32_t AllStopIfIdleMT(int32_t handle) {
    return Call<OpCode("AllStopIfIdle")>(handle);
}

int32_t AllAuthoriseMT(int32_t handle) {
    return Call<OpCode("AllAuthorise")>(handle);
}

int32_t AllReAuthoriseMT(int32_t handle) {
    return Call<OpCode("AllReAuthorise")>(handle);
}

int32_t EnablePumpMT(int32_t handle, int32_t ID) {
    return Call<OpCode("EnablePump")>(handle, ID);
}

int32_t DisablePumpMT(int32_t handle, int32_t ID) {
    return Call<OpCode("DisablePump")>(handle, ID);
}

int32_t LockDeliveryMT(int32_t handle, int32_t ID) {
    return Call<OpCode("LockDelivery")>(handle, ID);
}

int32_t UnlockDeliveryMT(int32_t handle, int32_t ID) {
    return Call<OpCode("UnlockDelivery")>(handle, ID);
}

int32_t GetPumpStatusMT(int32_t handle, int32_t ID, int16_t* pState, int16_t* pReservedFor,
                        int32_t* pReservedBy, int32_t* pHoseID, int32_t* pHoseNumber,
                        int32_t* pGradeID, BSTR* pGradeName, BSTR* pShortGradeName,
                        int16_t* pPriceLevel, double* pPrice, double* pVolume, double* pValue,
                        int32_t* pStackSize) {
    return Call<OpCode("GetPumpStatus")>(handle, ID, pState, pReservedFor, pReservedBy, pHoseID,
                                         pHoseNumber, pGradeID, pGradeName, pShortGradeName,
                                         pPriceLevel, pPrice, pVolume, pValue, pStackSize);
}

int32_t GetPumpStatusExMT(int32_t handle, int32_t ID, int32_t* pPumpNumber, BSTR* pPumpName,
                          int16_t* pPhysicalNumber, int16_t* pState, int16_t* pReservedFor,
                          int32_t* pReservedBy, int32_t* pHoseID, int32_t* pHoseNumber,
                          int32_t* pHosePhysicalNumber, int32_t* pGradeID, int32_t* pGradeNumber,
                          BSTR* pGradeName, BSTR* pShortGradeName, int16_t* pPriceLevel,
                          double* pPrice, double* pVolume, double* pValue, int32_t* pStackSize,
                          int64_t* pTag, int32_t* pAttendantID, int32_t* pAttendantNumber,
                          BSTR* pAttendantName, int64_t* pAttendantTag, int32_t* pCardClientID,
                          int32_t* pCardClientNumber, BSTR* pCardClientName,
                          int64_t* pCardClientTag) {
    return Call<OpCode("GetPumpStatusEx")>(
        handle, ID, pPumpNumber, pPumpName, pPhysicalNumber, pState, pReservedFor, pReservedBy,
        pHoseID, pHoseNumber, pHosePhysicalNumber, pGradeID, pGradeNumber, pGradeName,
        pShortGradeName, pPriceLevel, pPrice, pVolume, pValue, pStackSize, pTag, pAttendantID,
        pAttendantNumber, pAttendantName, pAttendantTag, pCardClientID, pCardClientNumber,
        pCardClientName, pCardClientTag);
}

int32_t GetPumpStatusEx2MT(int32_t handle, int32_t ID, int32_t* pPumpNumber, BSTR* pPumpName,
                           int16_t* pPhysicalNumber, int16_t* pState, int16_t* pReservedFor,
                           int32_t* pReservedBy, int32_t* pHoseID, int32_t* pHoseNumber,
                           int32_t* pHosePhysicalNumber, int32_t* pGradeID, int32_t* pGradeNumber,
                           BSTR* pGradeName, BSTR* pShortGradeName, int16_t* pPriceLevel,
                           double* pPrice, double* pVolume, double* pValue, int32_t* pStackSize,
                           int64_t* pTag, int32_t* pAttendantID, int32_t* pAttendantNumber,
                           BSTR* pAttendantName, int64_t* pAttendantTag, int32_t* pCardClientID,
                           int32_t* pCardClientNumber, BSTR* pCardClientName,
                           int64_t* pCardClientTag, double* pCurFlowRate, double* pPeakFlowRate) {
    return Call<OpCode("GetPumpStatusEx2")>(
        handle, ID, pPumpNumber, pPumpName, pPhysicalNumber, pState, pReservedFor, pReservedBy,
        pHoseID, pHoseNumber, pHosePhysicalNumber, pGradeID, pGradeNumber, pGradeName,
        pShortGradeName, pPriceLevel, pPrice, pVolume, pValue, pStackSize, pTag, pAttendantID,
        pAttendantNumber, pAttendantName, pAttendantTag, pCardClientID, pCardClientNumber,
        pCardClientName, pCardClientTag, pCurFlowRate, pPeakFlowRate);
}

int32_t GetAllPumpStatusesMT(int32_t handle, BSTR* pStates, BSTR* pCurrentHoses,
                             BSTR* pDeliveriesCount) {
    return Call<OpCode("GetAllPumpStatuses")>(handle, pStates, pCurrentHoses, pDeliveriesCount);
}

int32_t TankDropMT(int32_t handle, int32_t TankID, double Volume) {
    return Call<OpCode("TankDrop")>(handle, TankID, Volume);
}

int32_t FireClientEventMT(int32_t handle, int32_t EventID, BSTR EventText) {
    return Call<OpCode("FireClientEvent")>(handle, EventID, EventText);
}

int32_t GetNextClientEventMT(int32_t handle, int32_t* pClientID, int32_t* pEventID,
                             BSTR* pEventText) {
    return ReadEvent(handle, qvwire::kEventClient, 0, pClientID, pEventID, pEventText);
}

int32_t GetNextDBLogEventMT(int32_t handle, int16_t* pEventType, int32_t* pDeviceID,
                            double* pEventDT, BSTR* pEventText) {
    return ReadEvent(handle, qvwire::kEventDBLog, 0, pEventType, pDeviceID, pEventDT, pEventText);
}

int32_t GetNextDBLogDeliveryEventMT(int32_t handle, int32_t* pDeliveryID, int32_t* pHoseID,
                                    int16_t* pDeliveryState, int16_t* pDeliveryType,
                                    double* pVolume, int16_t* pPriceLevel, double* pPrice,
                                    double* pValue, double* pVolume2, int32_t* pReservedBy,
                                    int32_t* pAttendantID, double* pDeliveryDT) {
    return ReadEvent(handle, qvwire::kEventDBLogDelivery, 0, pDeliveryID, pHoseID, pDeliveryState,
                     pDeliveryType, pVolume, pPriceLevel, pPrice, pValue, pVolume2, pReservedBy,
                     pAttendantID, pDeliveryDT);
}

int32_t GetNextDBClearDeliveryEventMT(int32_t handle, int32_t* pDeliveryID, int16_t* pDeliveryType,
                                      int32_t* pClearedBy, double* pClearedDT,
                                      int32_t* pAttendantID) {
    return ReadEvent(handle, qvwire::kEventDBClearDelivery, 0, pDeliveryID, pDeliveryType,
                     pClearedBy, pClearedDT, pAttendantID);
}

int32_t GetNextDBStackDeliveryEventMT(int32_t handle, int32_t* pDeliveryID) {
    return ReadEvent(handle, qvwire::kEventDBStackDelivery, 0, pDeliveryID);
}

int32_t GetNextDBAttendantLogonEventMT(int32_t handle, int32_t* pAttendantID, int32_t* pPumpID) {
    return ReadEvent(handle, qvwire::kEventAttendantLogon, 0, pAttendantID, pPumpID);
}

int32_t GetNextDBAttendantLogoffEventMT(int32_t handle, int32_t* pAttendantID) {
    return ReadEvent(handle, qvwire::kEventAttendantLogoff, 0, pAttendantID);
}

int32_t GetNextZeroDeliveryEventMT(int32_t handle, int32_t* pPumpID, int32_t* pPumpNumber,
                                   int32_t* pHoseID, int32_t* pHoseNumber) {
    return ReadEvent(handle, qvwire::kEventZeroDelivery, 0, pPumpID, pPumpNumber, pHoseID,
                     pHoseNumber);
}

int32_t AttendantLogonMT(int32_t handle, int32_t ID, int32_t PumpID) {
    return Call<OpCode("AttendantLogon")>(handle, ID, PumpID);
}

int32_t AttendantLogoffMT(int32_t handle, int32_t ID) {
    return Call<OpCode("AttendantLogoff")>(handle, ID);
}

int32_t GetPumpByNameMT(int32_t handle, BSTR Name, int32_t* pID) {
    return Call<OpCode("GetPumpByName")>(handle, Name, pID);
}

int32_t GetGradeByNumberMT(int32_t handle, int32_t Number, int32_t* pID) {
    return Call<OpCode("GetGradeByNumber")>(handle, Number, pID);
}

int32_t GetGradeByNameMT(int32_t handle, BSTR Name, int32_t* pID) {
    return Call<OpCode("GetGradeByName")>(handle, Name, pID);
}

int32_t GetTankByNumberMT(int32_t handle, int32_t Number, int32_t* pID) {
    return Call<OpCode("GetTankByNumber")>(handle, Number, pID);
}

int32_t GetTankByNameMT(int32_t handle, BSTR Name, int32_t* pID) {
    return Call<OpCode("GetTankByName")>(handle, Name, pID);
}

int32_t GetAttendantByNumberMT(int32_t handle, int32_t Number, int32_t* pID) {
    return Call<OpCode("GetAttendantByNumber")>(handle, Number, pID);
}

int32_t GetAttendantByNameMT(int32_t handle, BSTR Name, int32_t* pID) {
    return Call<OpCode("GetAttendantByName")>(handle, Name, pID);
}

int32_t GetCardClientByNumberMT(int32_t handle, int32_t Number, int32_t* pID) {
    return Call<OpCode("GetCardClientByNumber")>(handle, Number, pID);
}

int32_t GetCardClientByNameMT(int32_t handle, BSTR Name, int32_t* pID) {
    return Call<OpCode("GetCardClientByName")>(handle, Name, pID);
}

int32_t GetZigBeeByNumberMT(int32_t handle, int32_t Number, int32_t* pID) {
    return Call<OpCode("GetZigBeeByNumber")>(handle, Number, pID);
}

int32_t GetZigBeeByNameMT(int32_t handle, BSTR Name, int32_t* pID) {
    return Call<OpCode("GetZigBeeByName")>(handle, Name, pID);
}

int32_t GetSensorByNumberMT(int32_t handle, int32_t Number, int32_t* pID) {
    return Call<OpCode("GetSensorByNumber")>(handle, Number, pID);
}

int32_t GetSensorByNameMT(int32_t handle, BSTR Name, int32_t* pID) {
    return Call<OpCode("GetSensorByName")>(handle, Name, pID);
}

int32_t GetProductByNameMT(int32_t handle, BSTR Name, int32_t* pID) {
    return Call<OpCode("GetProductByName")>(handle, Name, pID);
}

int32_t GetCardReadByNumberMT(int32_t handle, int32_t Number, int32_t* pID) {
    return Call<OpCode("GetCardReadByNumber")>(handle, Number, pID);
}

int32_t GetCardReadByNameMT(int32_t handle, BSTR Name, int32_t* pID) {
    return Call<OpCode("GetCardReadByName")>(handle, Name, pID);
}

int32_t GetCardReadsCountMT(int32_t handle, int32_t* pCount) {
    return Call<OpCode("GetCardReadsCount")>(handle, pCount);
}

} // extern "C"
