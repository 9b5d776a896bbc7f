// QVClient's forwarders for the forecourt's pump control and status, attendants, client events
// and the by-number and by-name lookups; as QVClientOperations.cpp, each passes its arguments
// to the library function of the same name and its result through CheckResult.
#include "managed/LibraryCall.h"
#include "outside/qvclient/QVClientPlain.h"

namespace Halvora {

// ---- The forecourt: pump control, pump status, attendants, records by number and name ----

int32_t QVClient::PrepayReserve(int32_t PumpID, int32_t ReservedBy) {
    return Forward(::PrepayReserve, PumpID, ReservedBy);
}

int32_t QVClient::PrepayCancel(int32_t PumpID, int32_t ReservedBy) {
    return Forward(::PrepayCancel, PumpID, ReservedBy);
}

int32_t QVClient::PrepayAuthorise(int32_t PumpID, int32_t ReservedBy, int16_t LimitType,
                                  double Limit, int16_t PriceLevel) {
    return Forward(::PrepayAuthorise, PumpID, ReservedBy, LimitType, Limit, PriceLevel);
}

int32_t QVClient::AttendantAuthorise(int32_t PumpID, int32_t AttendantID) {
    return Forward(::AttendantAuthorise, PumpID, AttendantID);
}

int32_t QVClient::StackCurrentDelivery(int32_t PumpID) {
    return Forward(::StackCurrentDelivery, PumpID);
}

int32_t QVClient::AllStopIfIdle() {
    return Forward(::AllStopIfIdle);
}

int32_t QVClient::AllAuthorise() {
    return Forward(::AllAuthorise);
}

int32_t QVClient::AllReAuthorise() {
    return Forward(::AllReAuthorise);
}

int32_t QVClient::EnablePump(int32_t ID) {
    return Forward(::EnablePump, ID);
}

int32_t QVClient::DisablePump(int32_t ID) {
    return Forward(::DisablePump, ID);
}

int32_t QVClient::LockDelivery(int32_t ID) {
    return Forward(::LockDelivery, ID);
}

int32_t QVClient::UnlockDelivery(int32_t ID) {
    return Forward(::UnlockDelivery, ID);
}

int32_t QVClient::GetPumpStatus(int32_t ID, int16_t& pState, int16_t& pReservedFor,
                                int32_t& pReservedBy, int32_t& pHoseID, int32_t& pHoseNumber,
                                int32_t& pGradeID, QString& pGradeName, QString& pShortGradeName,
                                int16_t& pPriceLevel, double& pPrice, double& pVolume,
                                double& pValue, int32_t& pStackSize) {
    return Forward(::GetPumpStatus, ID, pState, pReservedFor, pReservedBy, pHoseID, pHoseNumber,
                   pGradeID, pGradeName, pShortGradeName, pPriceLevel, pPrice, pVolume, pValue,
                   pStackSize);
}

int32_t QVClient::GetPumpStatusEx(
    int32_t ID, int32_t& pPumpNumber, QString& pPumpName, int16_t& pPhysicalNumber, int16_t& pState,
    int16_t& pReservedFor, int32_t& pReservedBy, int32_t& pHoseID, int32_t& pHoseNumber,
    int32_t& pHosePhysicalNumber, int32_t& pGradeID, int32_t& pGradeNumber, QString& pGradeName,
    QString& pShortGradeName, int16_t& pPriceLevel, double& pPrice, double& pVolume, double& pValue,
    int32_t& pStackSize, int64_t& pTag, int32_t& pAttendantID, int32_t& pAttendantNumber,
    QString& pAttendantName, int64_t& pAttendantTag, int32_t& pCardClientID,
    int32_t& pCardClientNumber, QString& pCardClientName, int64_t& pCardClientTag) {
    return Forward(::GetPumpStatusEx, ID, pPumpNumber, pPumpName, pPhysicalNumber, pState,
                   pReservedFor, pReservedBy, pHoseID, pHoseNumber, pHosePhysicalNumber, pGradeID,
                   pGradeNumber, pGradeName, pShortGradeName, pPriceLevel, pPrice, pVolume, pValue,
                   pStackSize, pTag, pAttendantID, pAttendantNumber, pAttendantName, pAttendantTag,
                   pCardClientID, pCardClientNumber, pCardClientName, pCardClientTag);
}

int32_t QVClient::GetPumpStatusEx2(
    int32_t ID, int32_t& pPumpNumber, QString& pPumpName, int16_t& pPhysicalNumber, int16_t& pState,
    int16_t& pReservedFor, int32_t& pReservedBy, int32_t& pHoseID, int32_t& pHoseNumber,
    int32_t& pHosePhysicalNumber, int32_t& pGradeID, int32_t& pGradeNumber, QString& pGradeName,
    QString& pShortGradeName, int16_t& pPriceLevel, double& pPrice, double& pVolume, double& pValue,
    int32_t& pStackSize, int64_t& pTag, int32_t& pAttendantID, int32_t& pAttendantNumber,
    QString& pAttendantName, int64_t& pAttendantTag, int32_t& pCardClientID,
    int32_t& pCardClientNumber, QString& pCardClientName, int64_t& pCardClientTag,
    double& pCurFlowRate, double& pPeakFlowRate) {
    return Forward(::GetPumpStatusEx2, ID, pPumpNumber, pPumpName, pPhysicalNumber, pState,
                   pReservedFor, pReservedBy, pHoseID, pHoseNumber, pHosePhysicalNumber, pGradeID,
                   pGradeNumber, pGradeName, pShortGradeName, pPriceLevel, pPrice, pVolume, pValue,
                   pStackSize, pTag, pAttendantID, pAttendantNumber, pAttendantName, pAttendantTag,
                   pCardClientID, pCardClientNumber, pCardClientName, pCardClientTag, pCurFlowRate,
                   pPeakFlowRate);
}

int32_t QVClient::GetAllPumpStatuses(QString& pStates, QString& pCurrentHoses,
                                     QString& pDeliveriesCount) {
    return Forward(::GetAllPumpStatuses, pStates, pCurrentHoses, pDeliveriesCount);
}

int32_t QVClient::TankDrop(int32_t TankID, double Volume) {
    return Forward(::TankDrop, TankID, Volume);
}

int32_t QVClient::AttendantLogon(int32_t ID, int32_t PumpID) {
    return Forward(::AttendantLogon, ID, PumpID);
}

int32_t QVClient::AttendantLogoff(int32_t ID) {
    return Forward(::AttendantLogoff, ID);
}

int32_t QVClient::FireClientEvent(int32_t EventID, const QString& EventText) {
    return Forward(::FireClientEvent, EventID, EventText);
}

int32_t QVClient::GetPumpByName(const QString& Name, int32_t& pID) {
    return Forward(::GetPumpByName, Name, pID);
}

int32_t QVClient::GetGradeByNumber(int32_t Number, int32_t& pID) {
    return Forward(::GetGradeByNumber, Number, pID);
}

int32_t QVClient::GetGradeByName(const QString& Name, int32_t& pID) {
    return Forward(::GetGradeByName, Name, pID);
}

int32_t QVClient::GetTankByNumber(int32_t Number, int32_t& pID) {
    return Forward(::GetTankByNumber, Number, pID);
}

int32_t QVClient::GetTankByName(const QString& Name, int32_t& pID) {
    return Forward(::GetTankByName, Name, pID);
}

int32_t QVClient::GetAttendantByNumber(int32_t Number, int32_t& pID) {
    return Forward(::GetAttendantByNumber, Number, pID);
}

int32_t QVClient::GetAttendantByName(const QString& Name, int32_t& pID) {
    return Forward(::GetAttendantByName, Name, pID);
}

int32_t QVClient::GetCardClientByNumber(int32_t Number, int32_t& pID) {
    return Forward(::GetCardClientByNumber, Number, pID);
}

int32_t QVClient::GetCardClientByName(const QString& Name, int32_t& pID) {
    return Forward(::GetCardClientByName, Name, pID);
}

int32_t QVClient::GetZigBeeByNumber(int32_t Number, int32_t& pID) {
    return Forward(::GetZigBeeByNumber, Number, pID);
}

int32_t QVClient::GetZigBeeByName(const QString& Name, int32_t& pID) {
    return Forward(::GetZigBeeByName, Name, pID);
}

int32_t QVClient::GetSensorByNumber(int32_t Number, int32_t& pID) {
    return Forward(::GetSensorByNumber, Number, pID);
}

int32_t QVClient::GetSensorByName(const QString& Name, int32_t& pID) {
    return Forward(::GetSensorByName, Name, pID);
}

int32_t QVClient::GetProductByName(const QString& Name, int32_t& pID) {
    return Forward(::GetProductByName, Name, pID);
}

int32_t QVClient::GetCardReadByNumber(int32_t Number, int32_t& pID) {
    return Forward(::GetCardReadByNumber, Number, pID);
}

int32_t QVClient::GetCardReadByName(const QString& Name, int32_t& pID) {
    return Forward(::GetCardReadByName, Name, pID);
}

int32_t QVClient::GetCardReadsCount(int32_t& pCount) {
    return Forward(::GetCardReadsCount, pCount);
}

namespace {

// A code's text from the library's function, the BSTR freed.
QString CodeText(BSTR (*f)(int16_t), int16_t code) {
    BSTR text = f(code);
    const QString s = FromBstr(text);
    platform::SysFreeString(text);
    return s;
}

} // namespace

QString QVClient::PumpStateString(int16_t State) {
    return CodeText(::PumpStateString, State);
}

QString QVClient::DeliveryStateString(int16_t State) {
    return CodeText(::DeliveryStateString, State);
}

QString QVClient::DeliveryTypeString(int16_t Type) {
    return CodeText(::DeliveryTypeString, Type);
}

QString QVClient::ReserveTypeString(int16_t Type) {
    return CodeText(::ReserveTypeString, Type);
}

} // namespace Halvora
