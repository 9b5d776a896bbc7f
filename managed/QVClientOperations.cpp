// QVClient's forwarders, one per library function, in the families of QVClient.h. Each passes
// its arguments to the library function of the same name (LibraryCall.h) and its result
// through CheckResult.
#include "managed/LibraryCall.h"
#include "outside/qvclient/QVClientPlain.h"

namespace Halvora {

// ---- Pumps ----

int32_t QVClient::GetPumpsCount(int32_t& pCount) {
    return Forward(::GetPumpsCount, pCount);
}

int32_t QVClient::GetPumpByNumber(int32_t Number, int32_t& pID) {
    return Forward(::GetPumpByNumber, Number, pID);
}

int32_t QVClient::GetPumpByOrdinal(int32_t Ordinal, int32_t& pID) {
    return Forward(::GetPumpByOrdinal, Ordinal, pID);
}

int32_t QVClient::GetPumpProperties(int32_t ID, int32_t& pNumber, QString& pName,
                                    int16_t& pPhysicalNumber, int16_t& pSide, int16_t& pAddress,
                                    int16_t& pPriceLevel1, int16_t& pPriceLevel2,
                                    int16_t& pPriceDspFormat, int16_t& pVolumeDspFormat,
                                    int16_t& pValueDspFormat, int16_t& pType, int32_t& pPortID,
                                    int32_t& pAttendantID, int16_t& pAuthMode, int16_t& pStackMode,
                                    int16_t& pPrepayAllowed, int16_t& pPreauthAllowed) {
    return Forward(::GetPumpProperties, ID, pNumber, pName, pPhysicalNumber, pSide, pAddress,
                   pPriceLevel1, pPriceLevel2, pPriceDspFormat, pVolumeDspFormat, pValueDspFormat,
                   pType, pPortID, pAttendantID, pAuthMode, pStackMode, pPrepayAllowed,
                   pPreauthAllowed);
}

int32_t QVClient::SetPumpProperties(int32_t ID, int32_t Number, const QString& Name,
                                    int16_t PhysicalNumber, int16_t Side, int16_t Address,
                                    int16_t PriceLevel1, int16_t PriceLevel2,
                                    int16_t PriceDspFormat, int16_t VolumeDspFormat,
                                    int16_t ValueDspFormat, int16_t Type, int32_t PortID,
                                    int32_t AttendantID, int16_t AuthMode, int16_t StackMode,
                                    int16_t PrepayAllowed, int16_t PreauthAllowed) {
    return Forward(::SetPumpProperties, ID, Number, Name, PhysicalNumber, Side, Address,
                   PriceLevel1, PriceLevel2, PriceDspFormat, VolumeDspFormat, ValueDspFormat, Type,
                   PortID, AttendantID, AuthMode, StackMode, PrepayAllowed, PreauthAllowed);
}

int32_t QVClient::GetPumpPropertiesEx(
    int32_t ID, int32_t& pNumber, QString& pName, int16_t& pPhysicalNumber, int16_t& pSide,
    int16_t& pAddress, int16_t& pPriceLevel1, int16_t& pPriceLevel2, int16_t& pPriceDspFormat,
    int16_t& pVolumeDspFormat, int16_t& pValueDspFormat, int16_t& pType, int32_t& pPortID,
    int32_t& pAttendantID, int16_t& pAuthMode, int16_t& pStackMode, int16_t& pPrepayAllowed,
    int16_t& pPreauthAllowed, int32_t& pSlotZigBeeID, int32_t& pMuxSlotZigBeeID,
    int16_t& pPriceControl, int16_t& pHasPreset) {
    return Forward(::GetPumpPropertiesEx, ID, pNumber, pName, pPhysicalNumber, pSide, pAddress,
                   pPriceLevel1, pPriceLevel2, pPriceDspFormat, pVolumeDspFormat, pValueDspFormat,
                   pType, pPortID, pAttendantID, pAuthMode, pStackMode, pPrepayAllowed,
                   pPreauthAllowed, pSlotZigBeeID, pMuxSlotZigBeeID, pPriceControl, pHasPreset);
}

int32_t QVClient::SetPumpPropertiesEx(int32_t ID, int32_t Number, const QString& Name,
                                      int16_t PhysicalNumber, int16_t Side, int16_t Address,
                                      int16_t PriceLevel1, int16_t PriceLevel2,
                                      int16_t PriceDspFormat, int16_t VolumeDspFormat,
                                      int16_t ValueDspFormat, int16_t Type, int32_t PortID,
                                      int32_t AttendantID, int16_t AuthMode, int16_t StackMode,
                                      int16_t PrepayAllowed, int16_t PreauthAllowed,
                                      int32_t SlotZigBeeID, int32_t MuxSlotZigBeeID,
                                      int16_t PriceControl, int16_t HasPreset) {
    return Forward(::SetPumpPropertiesEx, ID, Number, Name, PhysicalNumber, Side, Address,
                   PriceLevel1, PriceLevel2, PriceDspFormat, VolumeDspFormat, ValueDspFormat, Type,
                   PortID, AttendantID, AuthMode, StackMode, PrepayAllowed, PreauthAllowed,
                   SlotZigBeeID, MuxSlotZigBeeID, PriceControl, HasPreset);
}

int32_t QVClient::DeletePump(int32_t ID) {
    return Forward(::DeletePump, ID);
}

int32_t QVClient::GetPumpHosesCount(int32_t PumpID, int32_t& pCount) {
    return Forward(::GetPumpHosesCount, PumpID, pCount);
}

int32_t QVClient::GetPumpHoseByNumber(int32_t PumpID, int32_t HoseNumber, int32_t& pHoseID) {
    return Forward(::GetPumpHoseByNumber, PumpID, HoseNumber, pHoseID);
}

int32_t QVClient::GetPumpDeliveryPropertiesEx4(
    int32_t PumpID, int32_t Index, int32_t& pDeliveryID, int32_t& pHoseID, int16_t& pState,
    int16_t& pType, double& pVolume, int16_t& pPriceLevel, double& pPrice, double& pValue,
    double& pVolume2, QDateTime& pCompletedDT, int32_t& pLockedBy, int32_t& pReservedBy,
    int32_t& pAttendantID, QDateTime& pClearedDT, int32_t& pDuration, int32_t& pCardClientID,
    int64_t& pTag, int32_t& pGradeID, int32_t& pTankID, int16_t& pLoggedState,
    int32_t& pClearedBy) {
    return Forward(::GetPumpDeliveryPropertiesEx4, PumpID, Index, pDeliveryID, pHoseID, pState,
                   pType, pVolume, pPriceLevel, pPrice, pValue, pVolume2, pCompletedDT, pLockedBy,
                   pReservedBy, pAttendantID, pClearedDT, pDuration, pCardClientID, pTag, pGradeID,
                   pTankID, pLoggedState, pClearedBy);
}

// ---- Pump control ----

int32_t QVClient::PreauthReserve(int32_t PumpID, int32_t ReservedBy) {
    return Forward(::PreauthReserve, PumpID, ReservedBy);
}

int32_t QVClient::PreauthCancel(int32_t PumpID, int32_t ReservedBy) {
    return Forward(::PreauthCancel, PumpID, ReservedBy);
}

int32_t QVClient::PreauthAuthorise(int32_t PumpID, int32_t ReservedBy, int16_t LimitType,
                                   double Limit, int16_t PriceLevel) {
    return Forward(::PreauthAuthorise, PumpID, ReservedBy, LimitType, Limit, PriceLevel);
}

int32_t QVClient::LoadPreset(int32_t PumpID, int16_t PresetType, double PresetValue, int16_t Hoses,
                             int16_t PriceLevel) {
    return Forward(::LoadPreset, PumpID, PresetType, PresetValue, Hoses, PriceLevel);
}

int32_t QVClient::LoadPresetWithPrice(int32_t PumpID, int16_t PresetType, double PresetValue,
                                      int16_t PriceLevel, double Price) {
    return Forward(::LoadPresetWithPrice, PumpID, PresetType, PresetValue, PriceLevel, Price);
}

int32_t QVClient::TagAuthorise(int32_t PumpID, int64_t Tag, int16_t LimitType, double Limit) {
    return Forward(::TagAuthorise, PumpID, Tag, LimitType, Limit);
}

int32_t QVClient::PaymentReserve(int32_t PumpID, int32_t ReservedBy) {
    return Forward(::PaymentReserve, PumpID, ReservedBy);
}

int32_t QVClient::PaymentCancel(int32_t PumpID, int32_t ReservedBy) {
    return Forward(::PaymentCancel, PumpID, ReservedBy);
}

int32_t QVClient::PaymentAuthorise(int32_t PumpID, int32_t ReservedBy, int16_t PresetType,
                                   double PresetValue, int16_t PriceType, int16_t AuthType) {
    return Forward(::PaymentAuthorise, PumpID, ReservedBy, PresetType, PresetValue, PriceType,
                   AuthType);
}

int32_t QVClient::Authorise(int32_t PumpID) {
    return Forward(::Authorise, PumpID);
}

int32_t QVClient::CancelAuthorise(int32_t PumpID) {
    return Forward(::CancelAuthorise, PumpID);
}

int32_t QVClient::TempStop(int32_t PumpID) {
    return Forward(::TempStop, PumpID);
}

int32_t QVClient::ReAuthorise(int32_t PumpID) {
    return Forward(::ReAuthorise, PumpID);
}

int32_t QVClient::TerminateDelivery(int32_t PumpID) {
    return Forward(::TerminateDelivery, PumpID);
}

int32_t QVClient::AllStop() {
    return Forward(::AllStop);
}

// ---- Hoses ----

int32_t QVClient::GetHosesCount(int32_t& pCount) {
    return Forward(::GetHosesCount, pCount);
}

int32_t QVClient::GetHoseByOrdinal(int32_t Ordinal, int32_t& pID) {
    return Forward(::GetHoseByOrdinal, Ordinal, pID);
}

int32_t QVClient::GetHosePropertiesEx(int32_t ID, int32_t& pNumber, int32_t& pPumpID,
                                      int32_t& pTankID, int32_t& pPhysicalNumber,
                                      double& pMtrTheoValue, double& pMtrTheoVolume,
                                      double& pMtrElecValue, double& pMtrElecVolume,
                                      int16_t& pUVEAntenna) {
    return Forward(::GetHosePropertiesEx, ID, pNumber, pPumpID, pTankID, pPhysicalNumber,
                   pMtrTheoValue, pMtrTheoVolume, pMtrElecValue, pMtrElecVolume, pUVEAntenna);
}

int32_t QVClient::GetHosePropertiesEx2(int32_t ID, int32_t& pNumber, int32_t& pPumpID,
                                       int32_t& pTankID, int32_t& pPhysicalNumber,
                                       double& pMtrTheoValue, double& pMtrTheoVolume,
                                       double& pMtrElecValue, double& pMtrElecVolume,
                                       int16_t& pUVEAntenna, double& pPrice1, double& pPrice2,
                                       int16_t& pEnabled) {
    return Forward(::GetHosePropertiesEx2, ID, pNumber, pPumpID, pTankID, pPhysicalNumber,
                   pMtrTheoValue, pMtrTheoVolume, pMtrElecValue, pMtrElecVolume, pUVEAntenna,
                   pPrice1, pPrice2, pEnabled);
}

int32_t QVClient::GetHosePropertiesEx3(int32_t ID, int32_t& pNumber, int32_t& pPumpID,
                                       int32_t& pTankID, int32_t& pPhysicalNumber,
                                       double& pMtrTheoValue, double& pMtrTheoVolume,
                                       double& pMtrElecValue, double& pMtrElecVolume,
                                       int16_t& pUVEAntenna, double& pPrice1, double& pPrice2,
                                       double& pPrice3, double& pPrice4, int16_t& pEnabled) {
    return Forward(::GetHosePropertiesEx3, ID, pNumber, pPumpID, pTankID, pPhysicalNumber,
                   pMtrTheoValue, pMtrTheoVolume, pMtrElecValue, pMtrElecVolume, pUVEAntenna,
                   pPrice1, pPrice2, pPrice3, pPrice4, pEnabled);
}

int32_t QVClient::GetHoseSummary(int32_t HoseID, int32_t& pNumber, int32_t& pPhysicalNumber,
                                 int32_t& pPumpID, int32_t& pPumpNumber, int32_t& pTankID,
                                 int32_t& pTankNumber, int32_t& pGradeID, QString& pGradeName) {
    return Forward(::GetHoseSummary, HoseID, pNumber, pPhysicalNumber, pPumpID, pPumpNumber,
                   pTankID, pTankNumber, pGradeID, pGradeName);
}

int32_t QVClient::GetHoseSummaryEx(int32_t HoseID, int32_t& pNumber, int32_t& pPhysicalNumber,
                                   int32_t& pPumpID, int32_t& pPumpNumber, int32_t& pTankID,
                                   int32_t& pTankNumber, int32_t& pGradeID, QString& pGradeName,
                                   double& pPrice1, double& pPrice2, double& pPrice3,
                                   double& pPrice4, int16_t& pEnabled) {
    return Forward(::GetHoseSummaryEx, HoseID, pNumber, pPhysicalNumber, pPumpID, pPumpNumber,
                   pTankID, pTankNumber, pGradeID, pGradeName, pPrice1, pPrice2, pPrice3, pPrice4,
                   pEnabled);
}

int32_t QVClient::GetHoseSummaryEx2(int32_t HoseID, int32_t& pNumber, int32_t& pPhysicalNumber,
                                    int32_t& pPumpID, int32_t& pPumpNumber, int32_t& pTankID,
                                    int32_t& pTankNumber, int32_t& pGradeID, QString& pGradeName,
                                    double& pPrice1, double& pPrice2, double& pPrice3,
                                    double& pPrice4, int16_t& pEnabled, double& pMtrTheoValue,
                                    double& pMtrTheoVolume, double& pMtrElecValue,
                                    double& pMtrElecVolume) {
    return Forward(::GetHoseSummaryEx2, HoseID, pNumber, pPhysicalNumber, pPumpID, pPumpNumber,
                   pTankID, pTankNumber, pGradeID, pGradeName, pPrice1, pPrice2, pPrice3, pPrice4,
                   pEnabled, pMtrTheoValue, pMtrTheoVolume, pMtrElecValue, pMtrElecVolume);
}

int32_t QVClient::SetHosePropertiesEx(int32_t ID, int32_t Number, int32_t PumpID, int32_t TankID,
                                      int32_t PhysicalNumber, double MtrTheoValue,
                                      double MtrTheoVolume, double MtrElecValue,
                                      double MtrElecVolume, int16_t UVEAntenna) {
    return Forward(::SetHosePropertiesEx, ID, Number, PumpID, TankID, PhysicalNumber, MtrTheoValue,
                   MtrTheoVolume, MtrElecValue, MtrElecVolume, UVEAntenna);
}

int32_t QVClient::SetHosePropertiesEx2(int32_t ID, int32_t Number, int32_t PumpID, int32_t TankID,
                                       int32_t PhysicalNumber, double MtrTheoValue,
                                       double MtrTheoVolume, double MtrElecValue,
                                       double MtrElecVolume, int16_t UVEAntenna, double Price1,
                                       double Price2, int16_t Enabled) {
    return Forward(::SetHosePropertiesEx2, ID, Number, PumpID, TankID, PhysicalNumber, MtrTheoValue,
                   MtrTheoVolume, MtrElecValue, MtrElecVolume, UVEAntenna, Price1, Price2, Enabled);
}

int32_t QVClient::SetHosePropertiesEx3(int32_t ID, int32_t Number, int32_t PumpID, int32_t TankID,
                                       int32_t PhysicalNumber, double MtrTheoValue,
                                       double MtrTheoVolume, double MtrElecValue,
                                       double MtrElecVolume, int16_t UVEAntenna, double Price1,
                                       double Price2, double Price3, double Price4,
                                       int16_t Enabled) {
    return Forward(::SetHosePropertiesEx3, ID, Number, PumpID, TankID, PhysicalNumber, MtrTheoValue,
                   MtrTheoVolume, MtrElecValue, MtrElecVolume, UVEAntenna, Price1, Price2, Price3,
                   Price4, Enabled);
}

int32_t QVClient::DeleteHose(int32_t ID) {
    return Forward(::DeleteHose, ID);
}

int32_t QVClient::SetHosePrices(int32_t HoseID, int16_t DurationType, int16_t PriceType,
                                double Price1, double Price2) {
    return Forward(::SetHosePrices, HoseID, DurationType, PriceType, Price1, Price2);
}

int32_t QVClient::GetHosePrices(int32_t HoseID, int16_t& pDurationType, int16_t& pPriceType,
                                double& pPrice1, double& pPrice2) {
    return Forward(::GetHosePrices, HoseID, pDurationType, pPriceType, pPrice1, pPrice2);
}

int32_t QVClient::SetHosePricesEx(int32_t HoseID, int16_t DurationType, int16_t PriceType,
                                  double Price1, double Price2, double Price3, double Price4) {
    return Forward(::SetHosePricesEx, HoseID, DurationType, PriceType, Price1, Price2, Price3,
                   Price4);
}

int32_t QVClient::GetHosePricesEx(int32_t HoseID, int16_t& pDurationType, int16_t& pPriceType,
                                  double& pPrice1, double& pPrice2, double& pPrice3,
                                  double& pPrice4) {
    return Forward(::GetHosePricesEx, HoseID, pDurationType, pPriceType, pPrice1, pPrice2, pPrice3,
                   pPrice4);
}

// ---- Deliveries ----

int32_t QVClient::GetDeliveriesCount(int32_t PumpID, int32_t& pCount) {
    return Forward(::GetDeliveriesCount, PumpID, pCount);
}

int32_t QVClient::GetDeliveryByOrdinal(int32_t PumpID, int32_t Ordinal, int32_t& pID) {
    return Forward(::GetDeliveryByOrdinal, PumpID, Ordinal, pID);
}

int32_t QVClient::GetDeliveriesCountFiltered(int32_t PumpID, int16_t State, int16_t Type,
                                             const QDateTime& FromDT, const QDateTime& ToDT,
                                             int32_t& pCount) {
    return Forward(::GetDeliveriesCountFiltered, PumpID, State, Type, FromDT, ToDT, pCount);
}

int32_t QVClient::GetDeliveryIDByOrdinalFiltered(int32_t PumpID, int16_t State, int16_t Type,
                                                 const QDateTime& FromDT, const QDateTime& ToDT,
                                                 int32_t Ordinal, int32_t& pID) {
    return Forward(::GetDeliveryIDByOrdinalFiltered, PumpID, State, Type, FromDT, ToDT, Ordinal,
                   pID);
}

int32_t QVClient::GetDeliveriesCountFilteredEx(int32_t PumpID, int16_t State, int16_t Type,
                                               const QDateTime& FromDT, const QDateTime& ToDT,
                                               int32_t AttendantID, int32_t CardClientID,
                                               int32_t& pCount) {
    return Forward(::GetDeliveriesCountFilteredEx, PumpID, State, Type, FromDT, ToDT, AttendantID,
                   CardClientID, pCount);
}

int32_t QVClient::GetDeliveryIDByOrdinalFilteredEx(int32_t PumpID, int16_t State, int16_t Type,
                                                   const QDateTime& FromDT, const QDateTime& ToDT,
                                                   int32_t AttendantID, int32_t CardClientID,
                                                   int32_t Ordinal, int32_t& pID) {
    return Forward(::GetDeliveryIDByOrdinalFilteredEx, PumpID, State, Type, FromDT, ToDT,
                   AttendantID, CardClientID, Ordinal, pID);
}

int32_t QVClient::GetDeliveriesCountNotLogged(int32_t& pCount) {
    return Forward(::GetDeliveriesCountNotLogged, pCount);
}

int32_t QVClient::GetDeliveryIDByOrdinalNotLogged(int32_t Ordinal, int32_t& pID) {
    return Forward(::GetDeliveryIDByOrdinalNotLogged, Ordinal, pID);
}

int32_t QVClient::AckDeliveryDBLog(int32_t ID) {
    return Forward(::AckDeliveryDBLog, ID);
}

int32_t QVClient::GetDeliveriesCountNotVolLogged(int32_t& pCount) {
    return Forward(::GetDeliveriesCountNotVolLogged, pCount);
}

int32_t QVClient::GetDeliveryIDByOrdinalNotVolLogged(int32_t Ordinal, int32_t& pID) {
    return Forward(::GetDeliveryIDByOrdinalNotVolLogged, Ordinal, pID);
}

int32_t QVClient::AckDeliveryVolLog(int32_t ID) {
    return Forward(::AckDeliveryVolLog, ID);
}

int32_t QVClient::GetDeliverySummaryEx2(
    int32_t ID, int32_t& pPumpID, int32_t& pPumpNumber, int32_t& pHoseID, int32_t& pHoseNumber,
    int32_t& pGradeID, QString& pGradeName, QString& pShortGradeName, int16_t& pPriceLevel,
    double& pPrice, double& pVolume, double& pValue, int16_t& pDeliveryState,
    int16_t& pDeliveryType, int32_t& pLockedBy, int32_t& pReservedBy, int32_t& pAge,
    QDateTime& pCompletedDT, int32_t& pAttendantID, double& pOldVolumeETot, double& pOldVolume2ETot,
    double& pOldValueETot, double& pNewVolumeETot, double& pNewVolume2ETot, double& pNewValueETot,
    int64_t& pTag, int32_t& pDuration) {
    const int32_t res =
        Forward(::GetDeliverySummaryEx2, ID, pPumpID, pPumpNumber, pHoseID, pHoseNumber, pGradeID,
                pGradeName, pShortGradeName, pPriceLevel, pPrice, pVolume, pValue, pDeliveryState,
                pDeliveryType, pLockedBy, pReservedBy, pAge, pCompletedDT, pAttendantID,
                pOldVolumeETot, pOldVolume2ETot, pOldValueETot, pNewVolumeETot, pNewVolume2ETot,
                pNewValueETot, pTag, pDuration);
    // The fields this summary lacks go as "not known" (-1, empty, no date).
    if (res == 0)
        FireDeliveryEvent(ID, pHoseID, pHoseNumber, -1, pPumpID, pPumpNumber, QString(), -1, -1,
                          QString(), pGradeID, -1, pGradeName, pShortGradeName, QString(),
                          pDeliveryState, pDeliveryType, pVolume, pPriceLevel, pPrice, pValue, 0,
                          pCompletedDT, pLockedBy, pReservedBy, pAttendantID, pAge, QDateTime(),
                          pOldVolumeETot, pOldVolume2ETot, pOldValueETot, pNewVolumeETot,
                          pNewVolume2ETot, pNewValueETot, pTag, pDuration, -1, QString(), -1, -1,
                          -1, QString(), -1);
    return res;
}

int32_t QVClient::GetDeliverySummaryEx3(
    int32_t ID, int32_t& pHoseID, int32_t& pHoseNumber, int32_t& pHosePhysicalNumber,
    int32_t& pPumpID, int32_t& pPumpNumber, QString& pPumpName, int32_t& pTankID,
    int32_t& pTankNumber, QString& pTankName, int32_t& pGradeID, int32_t& pGradeNumber,
    QString& pGradeName, QString& pGradeShortName, QString& pGradeCode, int16_t& pDeliveryState,
    int16_t& pDeliveryType, double& pVolume, int16_t& pPriceLevel, double& pPrice, double& pValue,
    double& pVolume2, QDateTime& pCompletedDT, int32_t& pLockedBy, int32_t& pReservedBy,
    int32_t& pAttendantID, int32_t& pAge, QDateTime& pClearedDT, double& pOldVolumeETot,
    double& pOldVolume2ETot, double& pOldValueETot, double& pNewVolumeETot, double& pNewVolume2ETot,
    double& pNewValueETot, int64_t& pTag, int32_t& pDuration, int32_t& pAttendantNumber,
    QString& pAttendantName, int64_t& pAttendantTag, int32_t& pCardClientID,
    int32_t& pCardClientNumber, QString& pCardClientName, int64_t& pCardClientTag) {
    const int32_t res = Forward(
        ::GetDeliverySummaryEx3, ID, pHoseID, pHoseNumber, pHosePhysicalNumber, pPumpID,
        pPumpNumber, pPumpName, pTankID, pTankNumber, pTankName, pGradeID, pGradeNumber, pGradeName,
        pGradeShortName, pGradeCode, pDeliveryState, pDeliveryType, pVolume, pPriceLevel, pPrice,
        pValue, pVolume2, pCompletedDT, pLockedBy, pReservedBy, pAttendantID, pAge, pClearedDT,
        pOldVolumeETot, pOldVolume2ETot, pOldValueETot, pNewVolumeETot, pNewVolume2ETot,
        pNewValueETot, pTag, pDuration, pAttendantNumber, pAttendantName, pAttendantTag,
        pCardClientID, pCardClientNumber, pCardClientName, pCardClientTag);
    if (res == 0)
        FireDeliveryEvent(
            ID, pHoseID, pHoseNumber, pHosePhysicalNumber, pPumpID, pPumpNumber, pPumpName, pTankID,
            pTankNumber, pTankName, pGradeID, pGradeNumber, pGradeName, pGradeShortName, pGradeCode,
            pDeliveryState, pDeliveryType, pVolume, pPriceLevel, pPrice, pValue, pVolume2,
            pCompletedDT, pLockedBy, pReservedBy, pAttendantID, pAge, pClearedDT, pOldVolumeETot,
            pOldVolume2ETot, pOldValueETot, pNewVolumeETot, pNewVolume2ETot, pNewValueETot, pTag,
            pDuration, pAttendantNumber, pAttendantName, pAttendantTag, pCardClientID,
            pCardClientNumber, pCardClientName, pCardClientTag);
    return res;
}

int32_t QVClient::GetDeliverySummaryEx4(
    int32_t ID, int32_t& pHoseID, int32_t& pHoseNumber, int32_t& pHosePhysicalNumber,
    int32_t& pPumpID, int32_t& pPumpNumber, QString& pPumpName, int32_t& pTankID,
    int32_t& pTankNumber, QString& pTankName, int32_t& pGradeID, int32_t& pGradeNumber,
    QString& pGradeName, QString& pGradeShortName, QString& pGradeCode, int16_t& pDeliveryState,
    int16_t& pDeliveryType, double& pVolume, int16_t& pPriceLevel, double& pPrice, double& pValue,
    double& pVolume2, QDateTime& pCompletedDT, int32_t& pLockedBy, int32_t& pReservedBy,
    int32_t& pAttendantID, int32_t& pAge, QDateTime& pClearedDT, double& pOldVolumeETot,
    double& pOldVolume2ETot, double& pOldValueETot, double& pNewVolumeETot, double& pNewVolume2ETot,
    double& pNewValueETot, int64_t& pTag, int32_t& pDuration, int32_t& pAttendantNumber,
    QString& pAttendantName, int64_t& pAttendantTag, int32_t& pCardClientID,
    int32_t& pCardClientNumber, QString& pCardClientName, int64_t& pCardClientTag,
    double& pPeakFlowRate) {
    const int32_t res = Forward(
        ::GetDeliverySummaryEx4, ID, pHoseID, pHoseNumber, pHosePhysicalNumber, pPumpID,
        pPumpNumber, pPumpName, pTankID, pTankNumber, pTankName, pGradeID, pGradeNumber, pGradeName,
        pGradeShortName, pGradeCode, pDeliveryState, pDeliveryType, pVolume, pPriceLevel, pPrice,
        pValue, pVolume2, pCompletedDT, pLockedBy, pReservedBy, pAttendantID, pAge, pClearedDT,
        pOldVolumeETot, pOldVolume2ETot, pOldValueETot, pNewVolumeETot, pNewVolume2ETot,
        pNewValueETot, pTag, pDuration, pAttendantNumber, pAttendantName, pAttendantTag,
        pCardClientID, pCardClientNumber, pCardClientName, pCardClientTag, pPeakFlowRate);
    if (res == 0)
        FireDeliveryEvent(
            ID, pHoseID, pHoseNumber, pHosePhysicalNumber, pPumpID, pPumpNumber, pPumpName, pTankID,
            pTankNumber, pTankName, pGradeID, pGradeNumber, pGradeName, pGradeShortName, pGradeCode,
            pDeliveryState, pDeliveryType, pVolume, pPriceLevel, pPrice, pValue, pVolume2,
            pCompletedDT, pLockedBy, pReservedBy, pAttendantID, pAge, pClearedDT, pOldVolumeETot,
            pOldVolume2ETot, pOldValueETot, pNewVolumeETot, pNewVolume2ETot, pNewValueETot, pTag,
            pDuration, pAttendantNumber, pAttendantName, pAttendantTag, pCardClientID,
            pCardClientNumber, pCardClientName, pCardClientTag);
    return res;
}

int32_t QVClient::GetDeliveryProperties(int32_t ID, int32_t& pPumpID, int32_t& pHoseID,
                                        int16_t& pState, int16_t& pType, double& pVolume,
                                        int16_t& pPriceLevel, double& pPrice, double& pValue,
                                        double& pVolume2, QDateTime& pCompletedDT,
                                        int32_t& pLockedBy, int32_t& pReservedBy,
                                        int32_t& pAttendantID) {
    return Forward(::GetDeliveryProperties, ID, pPumpID, pHoseID, pState, pType, pVolume,
                   pPriceLevel, pPrice, pValue, pVolume2, pCompletedDT, pLockedBy, pReservedBy,
                   pAttendantID);
}

int32_t QVClient::GetDeliveryPropertiesEx(int32_t ID, int32_t& pPumpID, int32_t& pHoseID,
                                          int16_t& pState, int16_t& pType, double& pVolume,
                                          int16_t& pPriceLevel, double& pPrice, double& pValue,
                                          double& pVolume2, QDateTime& pCompletedDT,
                                          int32_t& pLockedBy, int32_t& pReservedBy,
                                          int32_t& pAttendantID, QDateTime& pClearedDT,
                                          int32_t& pDuration) {
    return Forward(::GetDeliveryPropertiesEx, ID, pPumpID, pHoseID, pState, pType, pVolume,
                   pPriceLevel, pPrice, pValue, pVolume2, pCompletedDT, pLockedBy, pReservedBy,
                   pAttendantID, pClearedDT, pDuration);
}

int32_t QVClient::GetDeliveryPropertiesEx2(
    int32_t ID, int32_t& pPumpID, int32_t& pHoseID, int16_t& pState, int16_t& pType,
    double& pVolume, int16_t& pPriceLevel, double& pPrice, double& pValue, double& pVolume2,
    QDateTime& pCompletedDT, int32_t& pLockedBy, int32_t& pReservedBy, int32_t& pAttendantID,
    QDateTime& pClearedDT, int32_t& pDuration, int32_t& pCardClientID, int64_t& pTag) {
    return Forward(::GetDeliveryPropertiesEx2, ID, pPumpID, pHoseID, pState, pType, pVolume,
                   pPriceLevel, pPrice, pValue, pVolume2, pCompletedDT, pLockedBy, pReservedBy,
                   pAttendantID, pClearedDT, pDuration, pCardClientID, pTag);
}

int32_t QVClient::GetDeliveryPropertiesEx3(int32_t ID, int32_t& pPumpID, int32_t& pHoseID,
                                           int16_t& pState, int16_t& pType, double& pVolume,
                                           int16_t& pPriceLevel, double& pPrice, double& pValue,
                                           double& pVolume2, QDateTime& pCompletedDT,
                                           int32_t& pLockedBy, int32_t& pReservedBy,
                                           int32_t& pAttendantID, QDateTime& pClearedDT,
                                           int32_t& pDuration, int32_t& pCardClientID,
                                           int64_t& pTag, int32_t& pGradeID, int32_t& pTankID) {
    return Forward(::GetDeliveryPropertiesEx3, ID, pPumpID, pHoseID, pState, pType, pVolume,
                   pPriceLevel, pPrice, pValue, pVolume2, pCompletedDT, pLockedBy, pReservedBy,
                   pAttendantID, pClearedDT, pDuration, pCardClientID, pTag, pGradeID, pTankID);
}

int32_t QVClient::GetDeliveryPropertiesEx4(
    int32_t ID, int32_t& pPumpID, int32_t& pHoseID, int16_t& pState, int16_t& pType,
    double& pVolume, int16_t& pPriceLevel, double& pPrice, double& pValue, double& pVolume2,
    QDateTime& pCompletedDT, int32_t& pLockedBy, int32_t& pReservedBy, int32_t& pAttendantID,
    QDateTime& pClearedDT, int32_t& pDuration, int32_t& pCardClientID, int64_t& pTag,
    int32_t& pGradeID, int32_t& pTankID, int16_t& pLoggedState, int32_t& pClearedBy) {
    return Forward(::GetDeliveryPropertiesEx4, ID, pPumpID, pHoseID, pState, pType, pVolume,
                   pPriceLevel, pPrice, pValue, pVolume2, pCompletedDT, pLockedBy, pReservedBy,
                   pAttendantID, pClearedDT, pDuration, pCardClientID, pTag, pGradeID, pTankID,
                   pLoggedState, pClearedBy);
}

int32_t QVClient::SetDeliveryPropertiesEx(int32_t ID, int32_t PumpID, int32_t HoseID, int16_t State,
                                          int16_t Type, double Volume, int16_t PriceLevel,
                                          double Price, double Value, double Volume2,
                                          const QDateTime& CompletedDT, int32_t LockedBy,
                                          int32_t ReservedBy, int32_t AttendantID,
                                          const QDateTime& ClearedDT, int32_t Duration) {
    return Forward(::SetDeliveryPropertiesEx, ID, PumpID, HoseID, State, Type, Volume, PriceLevel,
                   Price, Value, Volume2, CompletedDT, LockedBy, ReservedBy, AttendantID, ClearedDT,
                   Duration);
}

int32_t QVClient::SetDeliveryPropertiesEx3(
    int32_t ID, int32_t PumpID, int32_t HoseID, int16_t State, int16_t Type, double Volume,
    int16_t PriceLevel, double Price, double Value, double Volume2, const QDateTime& CompletedDT,
    int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID, const QDateTime& ClearedDT,
    int32_t Duration, int32_t CardClientID, int64_t Tag, int32_t GradeID, int32_t TankID) {
    return Forward(::SetDeliveryPropertiesEx3, ID, PumpID, HoseID, State, Type, Volume, PriceLevel,
                   Price, Value, Volume2, CompletedDT, LockedBy, ReservedBy, AttendantID, ClearedDT,
                   Duration, CardClientID, Tag, GradeID, TankID);
}

int32_t QVClient::SetDeliveryPropertiesEx4(
    int32_t ID, int32_t PumpID, int32_t HoseID, int16_t State, int16_t Type, double Volume,
    int16_t PriceLevel, double Price, double Value, double Volume2, const QDateTime& CompletedDT,
    int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID, const QDateTime& ClearedDT,
    int32_t Duration, int32_t CardClientID, int64_t Tag, int32_t GradeID, int32_t TankID,
    int16_t LoggedState, int32_t ClearedBy) {
    return Forward(::SetDeliveryPropertiesEx4, ID, PumpID, HoseID, State, Type, Volume, PriceLevel,
                   Price, Value, Volume2, CompletedDT, LockedBy, ReservedBy, AttendantID, ClearedDT,
                   Duration, CardClientID, Tag, GradeID, TankID, LoggedState, ClearedBy);
}

int32_t QVClient::ClearDelivery(int32_t ID, int16_t DeliveryType) {
    return Forward(::ClearDelivery, ID, DeliveryType);
}

int32_t QVClient::LockAndClearDelivery(int32_t ID, int16_t DeliveryType) {
    return Forward(::LockAndClearDelivery, ID, DeliveryType);
}

int32_t QVClient::SetDeliveryExt(int32_t ID, const QString& Ext) {
    return Forward(::SetDeliveryExt, ID, Ext);
}

int32_t QVClient::GetDeliveryExt(int32_t ID, QString& pExt) {
    return Forward(::GetDeliveryExt, ID, pExt);
}

int32_t QVClient::SetNextDeliveryID(int32_t NextID) {
    return Forward(::SetNextDeliveryID, NextID);
}

// ---- Grades ----

int32_t QVClient::GetGradesCount(int32_t& pCount) {
    return Forward(::GetGradesCount, pCount);
}

int32_t QVClient::GetGradeByOrdinal(int32_t Ordinal, int32_t& pID) {
    return Forward(::GetGradeByOrdinal, Ordinal, pID);
}

int32_t QVClient::GetGradeProperties(int32_t ID, int32_t& pNumber, QString& pName,
                                     QString& pShortName, QString& pCode) {
    return Forward(::GetGradeProperties, ID, pNumber, pName, pShortName, pCode);
}

int32_t QVClient::SetGradeProperties(int32_t ID, int32_t Number, const QString& Name,
                                     const QString& ShortName, const QString& Code) {
    return Forward(::SetGradeProperties, ID, Number, Name, ShortName, Code);
}

int32_t QVClient::GetGradePropertiesEx(int32_t ID, int32_t& pNumber, QString& pName,
                                       QString& pShortName, QString& pCode, int16_t& pType) {
    return Forward(::GetGradePropertiesEx, ID, pNumber, pName, pShortName, pCode, pType);
}

int32_t QVClient::SetGradePropertiesEx(int32_t ID, int32_t Number, const QString& Name,
                                       const QString& ShortName, const QString& Code,
                                       int16_t Type) {
    return Forward(::SetGradePropertiesEx, ID, Number, Name, ShortName, Code, Type);
}

int32_t QVClient::DeleteGrade(int32_t ID) {
    return Forward(::DeleteGrade, ID);
}

int32_t QVClient::SetGradePrice(int32_t ID, int16_t Level, double Price) {
    return Forward(::SetGradePrice, ID, Level, Price);
}

int32_t QVClient::GetGradePrice(int32_t ID, int16_t Level, double& pPrice) {
    return Forward(::GetGradePrice, ID, Level, pPrice);
}

// ---- Tanks ----

int32_t QVClient::GetTanksCount(int32_t& pCount) {
    return Forward(::GetTanksCount, pCount);
}

int32_t QVClient::GetTankByOrdinal(int32_t Ordinal, int32_t& pID) {
    return Forward(::GetTankByOrdinal, Ordinal, pID);
}

int32_t QVClient::GetTankProperties(int32_t ID, int32_t& pNumber, QString& pName, int32_t& pGradeID,
                                    int16_t& pType, double& pCapacity, double& pDiameter,
                                    double& pTheoVolume, double& pGaugeVolume,
                                    double& pGaugeTCVolume, double& pGaugeUllage,
                                    double& pGaugeTemperature, double& pGaugeLevel,
                                    double& pGaugeWaterVolume, double& pGaugeWaterLevel,
                                    int32_t& pGaugeID, int16_t& pProbeNo) {
    return Forward(::GetTankProperties, ID, pNumber, pName, pGradeID, pType, pCapacity, pDiameter,
                   pTheoVolume, pGaugeVolume, pGaugeTCVolume, pGaugeUllage, pGaugeTemperature,
                   pGaugeLevel, pGaugeWaterVolume, pGaugeWaterLevel, pGaugeID, pProbeNo);
}

int32_t QVClient::GetTankPropertiesEx(int32_t ID, int32_t& pNumber, QString& pName,
                                      int32_t& pGradeID, int16_t& pType, double& pCapacity,
                                      double& pDiameter, double& pTheoVolume, double& pGaugeVolume,
                                      double& pGaugeTCVolume, double& pGaugeUllage,
                                      double& pGaugeTemperature, double& pGaugeLevel,
                                      double& pGaugeWaterVolume, double& pGaugeWaterLevel,
                                      int32_t& pGaugeID, int16_t& pProbeNo,
                                      int32_t& pGaugeAlarmsMask) {
    return Forward(::GetTankPropertiesEx, ID, pNumber, pName, pGradeID, pType, pCapacity, pDiameter,
                   pTheoVolume, pGaugeVolume, pGaugeTCVolume, pGaugeUllage, pGaugeTemperature,
                   pGaugeLevel, pGaugeWaterVolume, pGaugeWaterLevel, pGaugeID, pProbeNo,
                   pGaugeAlarmsMask);
}

int32_t QVClient::GetTankPropertiesEx2(int32_t ID, int32_t& pNumber, QString& pName,
                                       int32_t& pGradeID, int16_t& pType, double& pCapacity,
                                       double& pDiameter, double& pTheoVolume, double& pGaugeVolume,
                                       double& pGaugeTCVolume, double& pGaugeUllage,
                                       double& pGaugeTemperature, double& pGaugeLevel,
                                       double& pGaugeWaterVolume, double& pGaugeWaterLevel,
                                       int32_t& pGaugeID, int16_t& pProbeNo,
                                       int32_t& pGaugeAlarmsMask, int32_t& pSlotZigBeeID,
                                       int16_t& pProbeType, int32_t& pProbeSerialNo) {
    return Forward(::GetTankPropertiesEx2, ID, pNumber, pName, pGradeID, pType, pCapacity,
                   pDiameter, pTheoVolume, pGaugeVolume, pGaugeTCVolume, pGaugeUllage,
                   pGaugeTemperature, pGaugeLevel, pGaugeWaterVolume, pGaugeWaterLevel, pGaugeID,
                   pProbeNo, pGaugeAlarmsMask, pSlotZigBeeID, pProbeType, pProbeSerialNo);
}

int32_t QVClient::GetTankSummary(int32_t ID, double& pGaugeVolume, double& pGaugeTCVolume,
                                 double& pGaugeUllage, double& pGaugeTemperature,
                                 double& pGaugeLevel, double& pGaugeWaterVolume,
                                 double& pGaugeWaterLevel) {
    return Forward(::GetTankSummary, ID, pGaugeVolume, pGaugeTCVolume, pGaugeUllage,
                   pGaugeTemperature, pGaugeLevel, pGaugeWaterVolume, pGaugeWaterLevel);
}

int32_t QVClient::GetTankSummaryEx(int32_t ID, double& pGaugeVolume, double& pGaugeTCVolume,
                                   double& pGaugeUllage, double& pGaugeTemperature,
                                   double& pGaugeLevel, double& pGaugeWaterVolume,
                                   double& pGaugeWaterLevel, int32_t& pTankNumber,
                                   QString& pTankName, int32_t& pGradeID, QString& pGradeName,
                                   int16_t& pType, double& pCapacity, double& pDiameter,
                                   int32_t& pGaugeID, int16_t& pProbeNo) {
    return Forward(::GetTankSummaryEx, ID, pGaugeVolume, pGaugeTCVolume, pGaugeUllage,
                   pGaugeTemperature, pGaugeLevel, pGaugeWaterVolume, pGaugeWaterLevel, pTankNumber,
                   pTankName, pGradeID, pGradeName, pType, pCapacity, pDiameter, pGaugeID,
                   pProbeNo);
}

int32_t QVClient::GetTankSummaryEx2(int32_t ID, double& pGaugeVolume, double& pGaugeTCVolume,
                                    double& pGaugeUllage, double& pGaugeTemperature,
                                    double& pGaugeLevel, double& pGaugeWaterVolume,
                                    double& pGaugeWaterLevel, int32_t& pTankNumber,
                                    QString& pTankName, int32_t& pGradeID, QString& pGradeName,
                                    int16_t& pType, double& pCapacity, double& pDiameter,
                                    int32_t& pGaugeID, int16_t& pProbeNo, int16_t& pState,
                                    int32_t& pAlarmsMask) {
    return Forward(::GetTankSummaryEx2, ID, pGaugeVolume, pGaugeTCVolume, pGaugeUllage,
                   pGaugeTemperature, pGaugeLevel, pGaugeWaterVolume, pGaugeWaterLevel, pTankNumber,
                   pTankName, pGradeID, pGradeName, pType, pCapacity, pDiameter, pGaugeID, pProbeNo,
                   pState, pAlarmsMask);
}

int32_t QVClient::SetTankPropertiesEx(int32_t ID, int32_t Number, const QString& Name,
                                      int32_t GradeID, int16_t Type, double Capacity,
                                      double Diameter, double TheoVolume, double GaugeVolume,
                                      double GaugeTCVolume, double GaugeUllage,
                                      double GaugeTemperature, double GaugeLevel,
                                      double GaugeWaterVolume, double GaugeWaterLevel,
                                      int32_t GaugeID, int16_t ProbeNo, int32_t GaugeAlarmsMask) {
    return Forward(::SetTankPropertiesEx, ID, Number, Name, GradeID, Type, Capacity, Diameter,
                   TheoVolume, GaugeVolume, GaugeTCVolume, GaugeUllage, GaugeTemperature,
                   GaugeLevel, GaugeWaterVolume, GaugeWaterLevel, GaugeID, ProbeNo,
                   GaugeAlarmsMask);
}

int32_t QVClient::SetTankPropertiesEx2(
    int32_t ID, int32_t Number, const QString& Name, int32_t GradeID, int16_t Type, double Capacity,
    double Diameter, double TheoVolume, double GaugeVolume, double GaugeTCVolume,
    double GaugeUllage, double GaugeTemperature, double GaugeLevel, double GaugeWaterVolume,
    double GaugeWaterLevel, int32_t GaugeID, int16_t ProbeNo, int32_t GaugeAlarmsMask,
    int32_t SlotZigBeeID, int16_t ProbeType, int32_t ProbeSerialNo) {
    return Forward(::SetTankPropertiesEx2, ID, Number, Name, GradeID, Type, Capacity, Diameter,
                   TheoVolume, GaugeVolume, GaugeTCVolume, GaugeUllage, GaugeTemperature,
                   GaugeLevel, GaugeWaterVolume, GaugeWaterLevel, GaugeID, ProbeNo, GaugeAlarmsMask,
                   SlotZigBeeID, ProbeType, ProbeSerialNo);
}

// ---- Ports ----

int32_t QVClient::GetPortsCount(int32_t& pCount) {
    return Forward(::GetPortsCount, pCount);
}

int32_t QVClient::GetPortByNumber(int32_t Number, int32_t& pID) {
    return Forward(::GetPortByNumber, Number, pID);
}

int32_t QVClient::GetPortByName(const QString& Name, int32_t& pID) {
    return Forward(::GetPortByName, Name, pID);
}

int32_t QVClient::GetPortByOrdinal(int32_t Ordinal, int32_t& pID) {
    return Forward(::GetPortByOrdinal, Ordinal, pID);
}

int32_t QVClient::GetPortProperties(int32_t ID, int32_t& pNumber, QString& pName,
                                    int16_t& pProtocolID, int16_t& pDeviceType,
                                    QString& pSerialNo) {
    return Forward(::GetPortProperties, ID, pNumber, pName, pProtocolID, pDeviceType, pSerialNo);
}

int32_t QVClient::SetPortProperties(int32_t ID, int32_t Number, const QString& Name,
                                    int16_t ProtocolID, int16_t DeviceType,
                                    const QString& SerialNo) {
    return Forward(::SetPortProperties, ID, Number, Name, ProtocolID, DeviceType, SerialNo);
}

// ---- Attendants ----

int32_t QVClient::GetAttendantsCount(int32_t& pCount) {
    return Forward(::GetAttendantsCount, pCount);
}

int32_t QVClient::GetAttendantByOrdinal(int32_t Ordinal, int32_t& pID) {
    return Forward(::GetAttendantByOrdinal, Ordinal, pID);
}

int32_t QVClient::GetAttendantProperties(int32_t ID, int32_t& pNumber, QString& pName,
                                         QString& pShortName, QString& pPassword, QString& pTag) {
    return Forward(::GetAttendantProperties, ID, pNumber, pName, pShortName, pPassword, pTag);
}

int32_t QVClient::SetAttendantProperties(int32_t ID, int32_t Number, const QString& Name,
                                         const QString& ShortName, const QString& Password,
                                         const QString& Tag) {
    return Forward(::SetAttendantProperties, ID, Number, Name, ShortName, Password, Tag);
}

int32_t QVClient::GetAttendantPropertiesEx(int32_t ID, int32_t& pNumber, QString& pName,
                                           QString& pShortName, QString& pPassword, QString& pTag,
                                           int16_t& pShiftAStart, int16_t& pShiftAEnd,
                                           int16_t& pShiftBStart, int16_t& pShiftBEnd,
                                           int16_t& pType) {
    return Forward(::GetAttendantPropertiesEx, ID, pNumber, pName, pShortName, pPassword, pTag,
                   pShiftAStart, pShiftAEnd, pShiftBStart, pShiftBEnd, pType);
}

int32_t QVClient::SetAttendantPropertiesEx(int32_t ID, int32_t Number, const QString& Name,
                                           const QString& ShortName, const QString& Password,
                                           const QString& Tag, int16_t ShiftAStart,
                                           int16_t ShiftAEnd, int16_t ShiftBStart,
                                           int16_t ShiftBEnd, int16_t Type) {
    return Forward(::SetAttendantPropertiesEx, ID, Number, Name, ShortName, Password, Tag,
                   ShiftAStart, ShiftAEnd, ShiftBStart, ShiftBEnd, Type);
}

int32_t QVClient::GetAttendantPropertiesEx2(int32_t ID, int32_t& pNumber, QString& pName,
                                            QString& pShortName, QString& pPassword, QString& pTag,
                                            QString& pIDNumber, int16_t& pShiftAStart,
                                            int16_t& pShiftAEnd, int16_t& pShiftBStart,
                                            int16_t& pShiftBEnd, int16_t& pType) {
    return Forward(::GetAttendantPropertiesEx2, ID, pNumber, pName, pShortName, pPassword, pTag,
                   pIDNumber, pShiftAStart, pShiftAEnd, pShiftBStart, pShiftBEnd, pType);
}

int32_t QVClient::SetAttendantPropertiesEx2(int32_t ID, int32_t Number, const QString& Name,
                                            const QString& ShortName, const QString& Password,
                                            const QString& Tag, const QString& IDNumber,
                                            int16_t ShiftAStart, int16_t ShiftAEnd,
                                            int16_t ShiftBStart, int16_t ShiftBEnd, int16_t Type) {
    return Forward(::SetAttendantPropertiesEx2, ID, Number, Name, ShortName, Password, Tag,
                   IDNumber, ShiftAStart, ShiftAEnd, ShiftBStart, ShiftBEnd, Type);
}

int32_t QVClient::DeleteAttendant(int32_t ID) {
    return Forward(::DeleteAttendant, ID);
}

// ---- Card clients ----

int32_t QVClient::GetCardClientsCount(int32_t& pCount) {
    return Forward(::GetCardClientsCount, pCount);
}

int32_t QVClient::GetCardClientByOrdinal(int32_t Ordinal, int32_t& pID) {
    return Forward(::GetCardClientByOrdinal, Ordinal, pID);
}

int32_t QVClient::GetCardClientProperties(int32_t ID, int32_t& pNumber, QString& pName,
                                          QString& pTag, int16_t& pEnabled) {
    return Forward(::GetCardClientProperties, ID, pNumber, pName, pTag, pEnabled);
}

int32_t QVClient::GetCardClientPropertiesEx(int32_t ID, int32_t& pNumber, QString& pName,
                                            QString& pTag, int16_t& pEnabled, int16_t& pPriceLevel,
                                            QString& pPlate) {
    return Forward(::GetCardClientPropertiesEx, ID, pNumber, pName, pTag, pEnabled, pPriceLevel,
                   pPlate);
}

int32_t QVClient::GetCardClientPropertiesEx2(int32_t ID, int32_t& pNumber, QString& pName,
                                             QString& pTag, int16_t& pEnabled, int16_t& pPriceLevel,
                                             QString& pPlate, int16_t& pGradeType,
                                             int16_t& pCardType, int16_t& pLimitType,
                                             double& pLimit, int16_t& pEntryType,
                                             QDateTime& pExpirationDate, int32_t& pParentID) {
    return Forward(::GetCardClientPropertiesEx2, ID, pNumber, pName, pTag, pEnabled, pPriceLevel,
                   pPlate, pGradeType, pCardType, pLimitType, pLimit, pEntryType, pExpirationDate,
                   pParentID);
}

int32_t QVClient::GetCardClientPropertiesEx3(
    int32_t ID, int32_t& pNumber, QString& pName, QString& pTag, int16_t& pEnabled,
    int16_t& pPriceLevel, QString& pPlate, QString& pIDNumber, QString& pShortName,
    QString& pPassword, int16_t& pGradeType, int16_t& pCardType, int16_t& pLimitType,
    double& pLimit, int16_t& pEntryType, QDateTime& pExpirationDate, int32_t& pParentID) {
    return Forward(::GetCardClientPropertiesEx3, ID, pNumber, pName, pTag, pEnabled, pPriceLevel,
                   pPlate, pIDNumber, pShortName, pPassword, pGradeType, pCardType, pLimitType,
                   pLimit, pEntryType, pExpirationDate, pParentID);
}

int32_t QVClient::GetCardClientPropertiesEx4(
    int32_t ID, int32_t& pNumber, QString& pName, QString& pTag, int16_t& pEnabled,
    int16_t& pPriceLevel, QString& pPlate, QString& pIDNumber, QString& pShortName,
    QString& pPassword, int16_t& pGradeType, int16_t& pCardType, int16_t& pLimitType,
    double& pLimit, int16_t& pEntryType, QDateTime& pExpirationDate, int32_t& pParentID,
    QString& pQVOdoSerialNo, double& pOdometer, int32_t& pFactor) {
    return Forward(::GetCardClientPropertiesEx4, ID, pNumber, pName, pTag, pEnabled, pPriceLevel,
                   pPlate, pIDNumber, pShortName, pPassword, pGradeType, pCardType, pLimitType,
                   pLimit, pEntryType, pExpirationDate, pParentID, pQVOdoSerialNo, pOdometer,
                   pFactor);
}

int32_t QVClient::SetCardClientPropertiesEx(int32_t ID, int32_t Number, const QString& Name,
                                            const QString& Tag, int16_t Enabled, int16_t PriceLevel,
                                            const QString& Plate) {
    return Forward(::SetCardClientPropertiesEx, ID, Number, Name, Tag, Enabled, PriceLevel, Plate);
}

int32_t QVClient::SetCardClientPropertiesEx2(int32_t ID, int32_t Number, const QString& Name,
                                             const QString& Tag, int16_t Enabled,
                                             int16_t PriceLevel, const QString& Plate,
                                             int16_t GradeType, int16_t CardType, int16_t LimitType,
                                             double Limit, int16_t EntryType,
                                             const QDateTime& ExpirationDate, int32_t ParentID) {
    return Forward(::SetCardClientPropertiesEx2, ID, Number, Name, Tag, Enabled, PriceLevel, Plate,
                   GradeType, CardType, LimitType, Limit, EntryType, ExpirationDate, ParentID);
}

int32_t QVClient::SetCardClientPropertiesEx3(
    int32_t ID, int32_t Number, const QString& Name, const QString& Tag, int16_t Enabled,
    int16_t PriceLevel, const QString& Plate, const QString& IDNumber, const QString& ShortName,
    const QString& Password, int16_t GradeType, int16_t CardType, int16_t LimitType, double Limit,
    int16_t EntryType, const QDateTime& ExpirationDate, int32_t ParentID) {
    return Forward(::SetCardClientPropertiesEx3, ID, Number, Name, Tag, Enabled, PriceLevel, Plate,
                   IDNumber, ShortName, Password, GradeType, CardType, LimitType, Limit, EntryType,
                   ExpirationDate, ParentID);
}

int32_t QVClient::SetCardClientPropertiesEx4(
    int32_t ID, int32_t Number, const QString& Name, const QString& Tag, int16_t Enabled,
    int16_t PriceLevel, const QString& Plate, const QString& IDNumber, const QString& ShortName,
    const QString& Password, int16_t GradeType, int16_t CardType, int16_t LimitType, double Limit,
    int16_t EntryType, const QDateTime& ExpirationDate, int32_t ParentID,
    const QString& QVOdoSerialNo, double Odometer, int32_t Factor) {
    return Forward(::SetCardClientPropertiesEx4, ID, Number, Name, Tag, Enabled, PriceLevel, Plate,
                   IDNumber, ShortName, Password, GradeType, CardType, LimitType, Limit, EntryType,
                   ExpirationDate, ParentID, QVOdoSerialNo, Odometer, Factor);
}

int32_t QVClient::DeleteCardClient(int32_t ID) {
    return Forward(::DeleteCardClient, ID);
}

int32_t QVClient::GetCardType(const QString& Tag, int16_t& pCardType, int32_t& pID) {
    return Forward(::GetCardType, Tag, pCardType, pID);
}

// ---- Card reads ----

int32_t QVClient::GetCardReadByOrdinal(int32_t Ordinal, int32_t& pID) {
    return Forward(::GetCardReadByOrdinal, Ordinal, pID);
}

int32_t QVClient::GetCardReadProperties(int32_t ID, int32_t& pNumber, QString& pName,
                                        int32_t& pPumpID, int16_t& pType, int32_t& pParentID,
                                        int64_t& pTag, QDateTime& pTimeStamp) {
    return Forward(::GetCardReadProperties, ID, pNumber, pName, pPumpID, pType, pParentID, pTag,
                   pTimeStamp);
}

int32_t QVClient::DeleteCardRead(int32_t ID) {
    return Forward(::DeleteCardRead, ID);
}

// ---- ZigBee devices ----

int32_t QVClient::GetZigBeeCount(int32_t& pCount) {
    return Forward(::GetZigBeeCount, pCount);
}

int32_t QVClient::GetZigBeeByOrdinal(int32_t Ordinal, int32_t& pID) {
    return Forward(::GetZigBeeByOrdinal, Ordinal, pID);
}

int32_t QVClient::GetZigBeeProperties(int32_t ID, int32_t& pNumber, QString& pName,
                                      int16_t& pDeviceType, QString& pSerialNumber,
                                      QString& pNodeIdentifier, int32_t& pPortID) {
    return Forward(::GetZigBeeProperties, ID, pNumber, pName, pDeviceType, pSerialNumber,
                   pNodeIdentifier, pPortID);
}

int32_t QVClient::SetZigBeeProperties(int32_t ID, int32_t Number, const QString& Name,
                                      int16_t DeviceType, const QString& SerialNumber,
                                      const QString& NodeIdentifier, int32_t PortID) {
    return Forward(::SetZigBeeProperties, ID, Number, Name, DeviceType, SerialNumber,
                   NodeIdentifier, PortID);
}

int32_t QVClient::GetZB2GConfig(int32_t PortID, int32_t& pPanID, int32_t& pChannels, int64_t& pKeyA,
                                int64_t& pKeyB) {
    return Forward(::GetZB2GConfig, PortID, pPanID, pChannels, pKeyA, pKeyB);
}

int32_t QVClient::GetSerialNo(QString& pSerialNo) {
    return Forward(::GetSerialNo, pSerialNo);
}

int32_t QVClient::GetDeviceDetails(int32_t PortID, int32_t DeviceID, QString& pSerialNo,
                                   QString& pBootVersion, QString& pFirmwareVersion) {
    return Forward(::GetDeviceDetails, PortID, DeviceID, pSerialNo, pBootVersion, pFirmwareVersion);
}

// ---- Sensors ----

int32_t QVClient::GetSensorsCount(int32_t& pCount) {
    return Forward(::GetSensorsCount, pCount);
}

int32_t QVClient::GetSensorByOrdinal(int32_t Ordinal, int32_t& pID) {
    return Forward(::GetSensorByOrdinal, Ordinal, pID);
}

int32_t QVClient::GetSensorProperties(int32_t ID, int32_t& pNumber, QString& pName,
                                      int32_t& pPortID, int16_t& pType, int16_t& pAddress,
                                      int16_t& pSensorNo) {
    return Forward(::GetSensorProperties, ID, pNumber, pName, pPortID, pType, pAddress, pSensorNo);
}

int32_t QVClient::SetSensorProperties(int32_t ID, int32_t Number, const QString& Name,
                                      int32_t PortID, int16_t Type, int16_t Address,
                                      int16_t SensorNo) {
    return Forward(::SetSensorProperties, ID, Number, Name, PortID, Type, Address, SensorNo);
}

int32_t QVClient::GetSensorPropertiesEx(int32_t ID, int32_t& pNumber, QString& pName,
                                        int32_t& pPortID, int16_t& pType, int16_t& pAddress,
                                        int16_t& pSensorNo, int32_t& pSlotZigBeeID,
                                        int32_t& pSensorSerialNo) {
    return Forward(::GetSensorPropertiesEx, ID, pNumber, pName, pPortID, pType, pAddress, pSensorNo,
                   pSlotZigBeeID, pSensorSerialNo);
}

int32_t QVClient::SetSensorPropertiesEx(int32_t ID, int32_t Number, const QString& Name,
                                        int32_t PortID, int16_t Type, int16_t Address,
                                        int16_t SensorNo, int32_t SlotZigBeeID,
                                        int32_t SensorSerialNo) {
    return Forward(::SetSensorPropertiesEx, ID, Number, Name, PortID, Type, Address, SensorNo,
                   SlotZigBeeID, SensorSerialNo);
}

int32_t QVClient::GetSensorStatus(int32_t ID, int16_t& pState) {
    return Forward(::GetSensorStatus, ID, pState);
}

// ---- Products ----

int32_t QVClient::GetProductsCount(int32_t Number, const QString& Name, const QString& ShortName,
                                   const QString& Tag, const QString& Barcode, int32_t ProductGroup,
                                   int32_t& pCount) {
    return Forward(::GetProductsCount, Number, Name, ShortName, Tag, Barcode, ProductGroup, pCount);
}

int32_t QVClient::GetProductByNumber(int32_t Number, int32_t& pID) {
    return Forward(::GetProductByNumber, Number, pID);
}

int32_t QVClient::GetProductByOrdinal(int32_t Number, const QString& Name, const QString& ShortName,
                                      const QString& Tag, const QString& Barcode,
                                      int32_t ProductGroup, int32_t Ordinal, int32_t& pID) {
    return Forward(::GetProductByOrdinal, Number, Name, ShortName, Tag, Barcode, ProductGroup,
                   Ordinal, pID);
}

int32_t QVClient::GetProductProperties(int32_t ID, int32_t& pNumber, QString& pName, QString& pTag,
                                       int16_t& pEnabled, QString& pShortName, QString& pBarcode,
                                       double& pPrice1, double& pPrice2, int32_t& pProductGroup) {
    return Forward(::GetProductProperties, ID, pNumber, pName, pTag, pEnabled, pShortName, pBarcode,
                   pPrice1, pPrice2, pProductGroup);
}

int32_t QVClient::SetProductProperties(int32_t ID, int32_t Number, const QString& Name,
                                       const QString& Tag, int16_t Enabled,
                                       const QString& ShortName, const QString& Barcode,
                                       double Price1, double Price2, int32_t ProductGroup) {
    return Forward(::SetProductProperties, ID, Number, Name, Tag, Enabled, ShortName, Barcode,
                   Price1, Price2, ProductGroup);
}

int32_t QVClient::GetProductPropertiesEx(int32_t ID, int32_t& pNumber, QString& pName,
                                         QString& pTag, int16_t& pEnabled, QString& pShortName,
                                         QString& pBarcode, int32_t& pQuickCode, double& pPrice1,
                                         double& pPrice2, double& pPrice3, double& pPrice4,
                                         int32_t& pProductGroup) {
    return Forward(::GetProductPropertiesEx, ID, pNumber, pName, pTag, pEnabled, pShortName,
                   pBarcode, pQuickCode, pPrice1, pPrice2, pPrice3, pPrice4, pProductGroup);
}

int32_t QVClient::SetProductPropertiesEx(int32_t ID, int32_t Number, const QString& Name,
                                         const QString& Tag, int16_t Enabled,
                                         const QString& ShortName, const QString& Barcode,
                                         int32_t QuickCode, double Price1, double Price2,
                                         double Price3, double Price4, int32_t ProductGroup) {
    return Forward(::SetProductPropertiesEx, ID, Number, Name, Tag, Enabled, ShortName, Barcode,
                   QuickCode, Price1, Price2, Price3, Price4, ProductGroup);
}

int32_t QVClient::GetProductPropertiesEx2(int32_t ID, int32_t& pNumber, QString& pName,
                                          QString& pTag, int16_t& pEnabled, QString& pShortName,
                                          QString& pBarcode, int32_t& pQuickCode, double& pPrice1,
                                          double& pPrice2, double& pPrice3, double& pPrice4,
                                          int32_t& pProductGroup, QDateTime& pAddedDT,
                                          QDateTime& pUpdatedDT) {
    return Forward(::GetProductPropertiesEx2, ID, pNumber, pName, pTag, pEnabled, pShortName,
                   pBarcode, pQuickCode, pPrice1, pPrice2, pPrice3, pPrice4, pProductGroup,
                   pAddedDT, pUpdatedDT);
}

int32_t QVClient::DeleteProduct(int32_t ID) {
    return Forward(::DeleteProduct, ID);
}

// ---- Sale items ----

int32_t QVClient::GetSaleItemsCount(int32_t& pCount) {
    return Forward(::GetSaleItemsCount, pCount);
}

int32_t QVClient::GetSaleItemByOrdinal(int32_t Ordinal, int32_t& pID) {
    return Forward(::GetSaleItemByOrdinal, Ordinal, pID);
}

int32_t QVClient::SaleItemClear(int32_t ID, int32_t ClearedBy) {
    return Forward(::SaleItemClear, ID, ClearedBy);
}

int32_t QVClient::SaleItemLockAndClear(int32_t ID, int32_t ClearedBy) {
    return Forward(::SaleItemLockAndClear, ID, ClearedBy);
}

int32_t QVClient::SaleItemAckDBLog(int32_t ID) {
    return Forward(::SaleItemAckDBLog, ID);
}

int32_t QVClient::SaleItemAckVolLog(int32_t ID) {
    return Forward(::SaleItemAckVolLog, ID);
}

int32_t QVClient::SaleItemGetSummary(int32_t ID, int32_t& pProductID, int32_t& pPumpID,
                                     int32_t& pAttendantID, int32_t& pCardClientID,
                                     int16_t& pPriceLevel, double& pPrice, double& pQuantity,
                                     QDateTime& pAddedDT, QDateTime& pClearedDT, int32_t& pLockedBy,
                                     int32_t& pClearedBy, int16_t& pLoggedState, QString& pPlate,
                                     int16_t& pAuthType) {
    return Forward(::GetSaleItemSummary, ID, pProductID, pPumpID, pAttendantID, pCardClientID,
                   pPriceLevel, pPrice, pQuantity, pAddedDT, pClearedDT, pLockedBy, pClearedBy,
                   pLoggedState, pPlate, pAuthType);
}

// ---- Log events ----

int32_t QVClient::GetLogEventCount(int32_t& pCount) {
    return Forward(::GetLogEventCount, pCount);
}

int32_t QVClient::GetLogEventByOrdinal(int32_t Ordinal, int32_t& pID) {
    return Forward(::GetLogEventByOrdinal, Ordinal, pID);
}

int32_t QVClient::GetLogEventCountEx(int16_t DeviceType, int32_t DeviceID, int16_t EventType,
                                     int32_t& pCount) {
    return Forward(::GetLogEventCountEx, DeviceType, DeviceID, EventType, pCount);
}

int32_t QVClient::GetLogEventByOrdinalEx(int16_t DeviceType, int32_t DeviceID, int16_t EventType,
                                         int32_t Ordinal, int32_t& pID) {
    return Forward(::GetLogEventByOrdinalEx, DeviceType, DeviceID, EventType, Ordinal, pID);
}

int32_t QVClient::GetLogEventProperties(int32_t ID, int16_t& pDeviceType, int32_t& pDeviceID,
                                        int16_t& pEventLevel, int16_t& pEventType,
                                        QString& pEventDesc, QDateTime& pGeneratedDT,
                                        QDateTime& pClearedDT, int32_t& pClearedBy,
                                        int32_t& pAckedBy, double& pVolume, double& pValue,
                                        double& pProductVolume, double& pProductLevel,
                                        double& pWaterLevel, double& pTemperature) {
    return Forward(::GetLogEventProperties, ID, pDeviceType, pDeviceID, pEventLevel, pEventType,
                   pEventDesc, pGeneratedDT, pClearedDT, pClearedBy, pAckedBy, pVolume, pValue,
                   pProductVolume, pProductLevel, pWaterLevel, pTemperature);
}

int32_t QVClient::DeleteLogEvent(int32_t ID) {
    return Forward(::DeleteLogEvent, ID);
}

int32_t QVClient::ClearLogEvent(int32_t ID, int32_t ClearedBy) {
    return Forward(::ClearLogEvent, ID, ClearedBy);
}

int32_t QVClient::AckLogEvent(int32_t ID, int32_t AckedBy) {
    return Forward(::AckLogEvent, ID, AckedBy);
}

// ---- Controller ----

int32_t QVClient::GetDateTime(QDateTime& pDateTime) {
    return Forward(::GetDateTime, pDateTime);
}

int32_t QVClient::SetDateTime(const QDateTime& DateTime) {
    return Forward(::SetDateTime, DateTime);
}

int32_t QVClient::GetIniValue(const QString& Section, const QString& Key, QString& pValue) {
    return Forward(::GetIniValue, Section, Key, pValue);
}

int32_t QVClient::SetIniValue(const QString& Section, const QString& Key, const QString& Value) {
    return Forward(::SetIniValue, Section, Key, Value);
}

int32_t QVClient::GetIniValueEx(const QString& FileName, const QString& Section, const QString& Key,
                                QString& pValue) {
    return Forward(::GetIniValueEx, FileName, Section, Key, pValue);
}

int32_t QVClient::SetIniValueEx(const QString& FileName, const QString& Section, const QString& Key,
                                const QString& Value) {
    return Forward(::SetIniValueEx, FileName, Section, Key, Value);
}

int32_t QVClient::GetTCPIPConfig(QString& pIPAddress, QString& pNetMask, QString& pGateway,
                                 QString& pDNSServer, int16_t& pDHCP, QString& pNetworkName) {
    return Forward(::GetTCPIPConfig, pIPAddress, pNetMask, pGateway, pDNSServer, pDHCP,
                   pNetworkName);
}

int32_t QVClient::SetTCPIPConfig(const QString& IPAddress, const QString& NetMask,
                                 const QString& Gateway, const QString& DNSServer, int16_t DHCP,
                                 const QString& NetworkName) {
    return Forward(::SetTCPIPConfig, IPAddress, NetMask, Gateway, DNSServer, DHCP, NetworkName);
}

int32_t QVClient::WDReset() {
    return Forward(::WDReset);
}

} // namespace Halvora
