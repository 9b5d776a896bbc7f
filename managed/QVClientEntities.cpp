// QVClient's forwarders of the functions that add records, the older property variants, hose
// totals, accounting periods and tank strapping tables (LibraryCall.h).
#include "managed/LibraryCall.h"
#include "outside/qvclient/QVClientPlain.h"

namespace Halvora {

int32_t QVClient::AddPump(int32_t& pID, int32_t& pNumber, const QString& Name,
                          int16_t PhysicalNumber, int16_t Side, int16_t Address,
                          int16_t PriceLevel1, int16_t PriceLevel2, int16_t PriceDspFormat,
                          int16_t VolumeDspFormat, int16_t ValueDspFormat, int16_t Type,
                          int32_t PortID, int32_t AttendantID, int16_t AuthMode, int16_t StackMode,
                          int16_t PrepayAllowed, int16_t PreauthAllowed, int32_t SlotZigBeeID,
                          int32_t MuxSlotZigBeeID, int16_t PriceControl, int16_t HasPreset) {
    return Forward(::AddPump, pID, pNumber, Name, PhysicalNumber, Side, Address, PriceLevel1,
                   PriceLevel2, PriceDspFormat, VolumeDspFormat, ValueDspFormat, Type, PortID,
                   AttendantID, AuthMode, StackMode, PrepayAllowed, PreauthAllowed, SlotZigBeeID,
                   MuxSlotZigBeeID, PriceControl, HasPreset);
}

int32_t QVClient::GetPumpDeliveryProperties(int32_t PumpID, int32_t Index, int32_t& pDeliveryID,
                                            int32_t& pHoseID, int16_t& pState, int16_t& pType,
                                            double& pVolume, int16_t& pPriceLevel, double& pPrice,
                                            double& pValue, double& pVolume2,
                                            QDateTime& pCompletedDT, int32_t& pLockedBy,
                                            int32_t& pReservedBy, int32_t& pAttendantID) {
    return Forward(::GetPumpDeliveryProperties, PumpID, Index, pDeliveryID, pHoseID, pState, pType,
                   pVolume, pPriceLevel, pPrice, pValue, pVolume2, pCompletedDT, pLockedBy,
                   pReservedBy, pAttendantID);
}

int32_t QVClient::GetPumpDeliveryPropertiesEx(int32_t PumpID, int32_t Index, int32_t& pDeliveryID,
                                              int32_t& pHoseID, int16_t& pState, int16_t& pType,
                                              double& pVolume, int16_t& pPriceLevel, double& pPrice,
                                              double& pValue, double& pVolume2,
                                              QDateTime& pCompletedDT, int32_t& pLockedBy,
                                              int32_t& pReservedBy, int32_t& pAttendantID,
                                              QDateTime& pClearedDT, int32_t& pDuration) {
    return Forward(::GetPumpDeliveryPropertiesEx, PumpID, Index, pDeliveryID, pHoseID, pState,
                   pType, pVolume, pPriceLevel, pPrice, pValue, pVolume2, pCompletedDT, pLockedBy,
                   pReservedBy, pAttendantID, pClearedDT, pDuration);
}

int32_t QVClient::GetPumpDeliveryPropertiesEx3(
    int32_t PumpID, int32_t Index, int32_t& pDeliveryID, int32_t& pHoseID, int16_t& pState,
    int16_t& pType, double& pVolume, int16_t& pPriceLevel, double& pPrice, double& pValue,
    double& pVolume2, QDateTime& pCompletedDT, int32_t& pLockedBy, int32_t& pReservedBy,
    int32_t& pAttendantID, QDateTime& pClearedDT, int32_t& pDuration, int32_t& pCardClientID,
    int64_t& pTag, int32_t& pGradeID, int32_t& pTankID) {
    return Forward(::GetPumpDeliveryPropertiesEx3, PumpID, Index, pDeliveryID, pHoseID, pState,
                   pType, pVolume, pPriceLevel, pPrice, pValue, pVolume2, pCompletedDT, pLockedBy,
                   pReservedBy, pAttendantID, pClearedDT, pDuration, pCardClientID, pTag, pGradeID,
                   pTankID);
}

int32_t QVClient::GetDensity(int32_t PumpID, int32_t HoseID, double& pDensity) {
    return Forward(::GetDensity, PumpID, HoseID, pDensity);
}

int32_t QVClient::GetHoseProperties(int32_t ID, int32_t& pNumber, int32_t& pPumpID,
                                    int32_t& pTankID, int32_t& pPhysicalNumber,
                                    double& pMtrTheoValue, double& pMtrTheoVolume,
                                    double& pMtrElecValue, double& pMtrElecVolume) {
    return Forward(::GetHoseProperties, ID, pNumber, pPumpID, pTankID, pPhysicalNumber,
                   pMtrTheoValue, pMtrTheoVolume, pMtrElecValue, pMtrElecVolume);
}

int32_t QVClient::SetHoseProperties(int32_t ID, int32_t Number, int32_t PumpID, int32_t TankID,
                                    int32_t PhysicalNumber, double MtrTheoValue,
                                    double MtrTheoVolume, double MtrElecValue,
                                    double MtrElecVolume) {
    return Forward(::SetHoseProperties, ID, Number, PumpID, TankID, PhysicalNumber, MtrTheoValue,
                   MtrTheoVolume, MtrElecValue, MtrElecVolume);
}

int32_t QVClient::AddHose(int32_t& pID, int32_t& pNumber, int32_t PumpID, int32_t TankID,
                          int32_t PhysicalNumber, double MtrTheoValue, double MtrTheoVolume,
                          double MtrElecValue, double MtrElecVolume, int16_t UVEAntenna,
                          double Price1, double Price2, double Price3, double Price4,
                          int16_t Enabled) {
    return Forward(::AddHose, pID, pNumber, PumpID, TankID, PhysicalNumber, MtrTheoValue,
                   MtrTheoVolume, MtrElecValue, MtrElecVolume, UVEAntenna, Price1, Price2, Price3,
                   Price4, Enabled);
}

int32_t QVClient::SetHoseETotals(int32_t HoseID, double VolumeETot, double ValueETot) {
    return Forward(::SetHoseETotals, HoseID, VolumeETot, ValueETot);
}

int32_t QVClient::GetPeriod(int16_t PeriodType, int32_t Index, int32_t& pPeriodID,
                            QDateTime& pStartDT, QDateTime& pEndDT, double& pVolume, double& pValue,
                            int32_t& pDeliveries) {
    return Forward(::GetPeriod, PeriodType, Index, pPeriodID, pStartDT, pEndDT, pVolume, pValue,
                   pDeliveries);
}

int32_t QVClient::ClosePeriod(int16_t PeriodType, int32_t& pPeriodID) {
    return Forward(::ClosePeriod, PeriodType, pPeriodID);
}

int32_t QVClient::GetAllDeliveriesCount(int32_t& pCount) {
    return Forward(::GetAllDeliveriesCount, pCount);
}

int32_t QVClient::GetAllDeliveryByOrdinal(int32_t Ordinal, int32_t& pID) {
    return Forward(::GetAllDeliveryByOrdinal, Ordinal, pID);
}

int32_t QVClient::GetDeliverySummary(int32_t ID, int32_t& pPumpID, int32_t& pPumpNumber,
                                     int32_t& pHoseID, int32_t& pHoseNumber, int32_t& pGradeID,
                                     QString& pGradeName, QString& pShortGradeName,
                                     int16_t& pPriceLevel, double& pPrice, double& pVolume,
                                     double& pValue, int16_t& pDeliveryState,
                                     int16_t& pDeliveryType, int32_t& pLockedBy,
                                     int32_t& pReservedBy, int32_t& pAge, QDateTime& pCompletedDT,
                                     int32_t& pAttendantID) {
    return Forward(::GetDeliverySummary, ID, pPumpID, pPumpNumber, pHoseID, pHoseNumber, pGradeID,
                   pGradeName, pShortGradeName, pPriceLevel, pPrice, pVolume, pValue,
                   pDeliveryState, pDeliveryType, pLockedBy, pReservedBy, pAge, pCompletedDT,
                   pAttendantID);
}

int32_t QVClient::GetDuration(int32_t ID, int32_t& pDuration) {
    return Forward(::GetDuration, ID, pDuration);
}

int32_t QVClient::SetDeliveryProperties(int32_t ID, int32_t PumpID, int32_t HoseID, int16_t State,
                                        int16_t Type, double Volume, int16_t PriceLevel,
                                        double Price, double Value, double Volume2,
                                        const QDateTime& CompletedDT, int32_t LockedBy,
                                        int32_t ReservedBy, int32_t AttendantID) {
    return Forward(::SetDeliveryProperties, ID, PumpID, HoseID, State, Type, Volume, PriceLevel,
                   Price, Value, Volume2, CompletedDT, LockedBy, ReservedBy, AttendantID);
}

int32_t QVClient::AddGrade(int32_t& pID, int32_t& pNumber, const QString& Name,
                           const QString& ShortName, const QString& Code, int16_t Type) {
    return Forward(::AddGrade, pID, pNumber, Name, ShortName, Code, Type);
}

int32_t QVClient::SetTankProperties(int32_t ID, int32_t Number, const QString& Name,
                                    int32_t GradeID, int16_t Type, double Capacity, double Diameter,
                                    double TheoVolume, double GaugeVolume, double GaugeTCVolume,
                                    double GaugeUllage, double GaugeTemperature, double GaugeLevel,
                                    double GaugeWaterVolume, double GaugeWaterLevel,
                                    int32_t GaugeID, int16_t ProbeNo) {
    return Forward(::SetTankProperties, ID, Number, Name, GradeID, Type, Capacity, Diameter,
                   TheoVolume, GaugeVolume, GaugeTCVolume, GaugeUllage, GaugeTemperature,
                   GaugeLevel, GaugeWaterVolume, GaugeWaterLevel, GaugeID, ProbeNo);
}

int32_t QVClient::AddTank(int32_t& pID, int32_t& pNumber, const QString& Name, int32_t GradeID,
                          int16_t Type, double Capacity, double Diameter, double TheoVolume,
                          double GaugeVolume, double GaugeTCVolume, double GaugeUllage,
                          double GaugeTemperature, double GaugeLevel, double GaugeWaterVolume,
                          double GaugeWaterLevel, int32_t GaugeID, int16_t ProbeNo,
                          int32_t GaugeAlarmsMask, int32_t SlotZigBeeID, int16_t ProbeType,
                          int32_t ProbeSerialNo) {
    return Forward(::AddTank, pID, pNumber, Name, GradeID, Type, Capacity, Diameter, TheoVolume,
                   GaugeVolume, GaugeTCVolume, GaugeUllage, GaugeTemperature, GaugeLevel,
                   GaugeWaterVolume, GaugeWaterLevel, GaugeID, ProbeNo, GaugeAlarmsMask,
                   SlotZigBeeID, ProbeType, ProbeSerialNo);
}

int32_t QVClient::DeleteTank(int32_t ID) {
    return Forward(::DeleteTank, ID);
}

int32_t QVClient::ReadAllTanks() {
    return Forward(::ReadAllTanks);
}

int32_t QVClient::GetStrappingTableData(int32_t TankID, double& pStepSize, double& pDiameter,
                                        double& pOffset, double& pCapacity, int32_t& pAlarms,
                                        QString& pDesc) {
    return Forward(::GetStrappingTableData, TankID, pStepSize, pDiameter, pOffset, pCapacity,
                   pAlarms, pDesc);
}

int32_t QVClient::SetStrappingTableData(int32_t TankID, double StepSize, double Diameter,
                                        double Offset, double Capacity, int32_t Alarms,
                                        const QString& Desc) {
    return Forward(::SetStrappingTableData, TankID, StepSize, Diameter, Offset, Capacity, Alarms,
                   Desc);
}

int32_t QVClient::GetStrappingTableElement(int32_t TankID, int32_t Index, int32_t& pPasses,
                                           double& pHeight, double& pStartDelta, double& pCurDelta,
                                           double& pStartVolume, double& pCurVolume) {
    return Forward(::GetStrappingTableElement, TankID, Index, pPasses, pHeight, pStartDelta,
                   pCurDelta, pStartVolume, pCurVolume);
}

int32_t QVClient::SetStrappingTableElement(int32_t TankID, int32_t Index, int32_t Passes,
                                           double Height, double StartDelta, double CurDelta,
                                           double StartVolume, double CurVolume) {
    return Forward(::SetStrappingTableElement, TankID, Index, Passes, Height, StartDelta, CurDelta,
                   StartVolume, CurVolume);
}

} // namespace Halvora
