// The client library's functions that add records, the older property variants, hose totals,
// accounting periods and tank strapping tables: each is one call answered by the server.
#include "outside/qvclient/Marshal.h"
#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVWire.h"

using qvclient::Call;
using qvwire::OpCode;

extern "C" {

int32_t AddPumpMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, int16_t PhysicalNumber,
                  int16_t Side, int16_t Address, int16_t PriceLevel1, int16_t PriceLevel2,
                  int16_t PriceDspFormat, int16_t VolumeDspFormat, int16_t ValueDspFormat,
                  int16_t Type, int32_t PortID, int32_t AttendantID, int16_t AuthMode,
                  int16_t StackMode, int16_t PrepayAllowed, int16_t PreauthAllowed,
                  int32_t SlotZigBeeID, int32_t MuxSlotZigBeeID, int16_t PriceControl,
                  int16_t HasPreset) {
    return Call<OpCode("AddPump")>(handle, pID, pNumber, Name, PhysicalNumber, Side, Address,
                                   PriceLevel1, PriceLevel2, PriceDspFormat, VolumeDspFormat,
                                   ValueDspFormat, Type, PortID, AttendantID, AuthMode, StackMode,
                                   PrepayAllowed, PreauthAllowed, SlotZigBeeID, MuxSlotZigBeeID,
                                   PriceControl, HasPreset);
}

int32_t GetPumpDeliveryPropertiesMT(int32_t handle, int32_t PumpID, int32_t Index,
                                    int32_t* pDeliveryID, int32_t* pHoseID, int16_t* pState,
                                    int16_t* pType, double* pVolume, int16_t* pPriceLevel,
                                    double* pPrice, double* pValue, double* pVolume2,
                                    double* pCompletedDT, int32_t* pLockedBy, int32_t* pReservedBy,
                                    int32_t* pAttendantID) {
    return Call<OpCode("GetPumpDeliveryProperties")>(
        handle, PumpID, Index, pDeliveryID, pHoseID, pState, pType, pVolume, pPriceLevel, pPrice,
        pValue, pVolume2, pCompletedDT, pLockedBy, pReservedBy, pAttendantID);
}

int32_t GetPumpDeliveryPropertiesExMT(int32_t handle, int32_t PumpID, int32_t Index,
                                      int32_t* pDeliveryID, int32_t* pHoseID, int16_t* pState,
                                      int16_t* pType, double* pVolume, int16_t* pPriceLevel,
                                      double* pPrice, double* pValue, double* pVolume2,
                                      double* pCompletedDT, int32_t* pLockedBy,
                                      int32_t* pReservedBy, int32_t* pAttendantID,
                                      double* pClearedDT, int32_t* pDuration) {
    return Call<OpCode("GetPumpDeliveryPropertiesEx")>(
        handle, PumpID, Index, pDeliveryID, pHoseID, pState, pType, pVolume, pPriceLevel, pPrice,
        pValue, pVolume2, pCompletedDT, pLockedBy, pReservedBy, pAttendantID, pClearedDT,
        pDuration);
}

int32_t GetPumpDeliveryPropertiesEx3MT(
    int32_t handle, int32_t PumpID, int32_t Index, int32_t* pDeliveryID, int32_t* pHoseID,
    int16_t* pState, int16_t* pType, double* pVolume, int16_t* pPriceLevel, double* pPrice,
    double* pValue, double* pVolume2, double* pCompletedDT, int32_t* pLockedBy,
    int32_t* pReservedBy, int32_t* pAttendantID, double* pClearedDT, int32_t* pDuration,
    int32_t* pCardClientID, int64_t* pTag, int32_t* pGradeID, int32_t* pTankID) {
    return Call<OpCode("GetPumpDeliveryPropertiesEx3")>(
        handle, PumpID, Index, pDeliveryID, pHoseID, pState, pType, pVolume, pPriceLevel, pPrice,
        pValue, pVolume2, pCompletedDT, pLockedBy, pReservedBy, pAttendantID, pClearedDT, pDuration,
        pCardClientID, pTag, pGradeID, pTankID);
}

int32_t GetDensityMT(int32_t handle, int32_t PumpID, int32_t HoseID, double* pDensity) {
    return Call<OpCode("GetDensity")>(handle, PumpID, HoseID, pDensity);
}

int32_t GetHosePropertiesMT(int32_t handle, int32_t ID, int32_t* pNumber, int32_t* pPumpID,
                            int32_t* pTankID, int32_t* pPhysicalNumber, double* pMtrTheoValue,
                            double* pMtrTheoVolume, double* pMtrElecValue, double* pMtrElecVolume) {
    return Call<OpCode("GetHoseProperties")>(handle, ID, pNumber, pPumpID, pTankID, pPhysicalNumber,
                                             pMtrTheoValue, pMtrTheoVolume, pMtrElecValue,
                                             pMtrElecVolume);
}

int32_t SetHosePropertiesMT(int32_t handle, int32_t ID, int32_t Number, int32_t PumpID,
                            int32_t TankID, int32_t PhysicalNumber, double MtrTheoValue,
                            double MtrTheoVolume, double MtrElecValue, double MtrElecVolume) {
    return Call<OpCode("SetHoseProperties")>(handle, ID, Number, PumpID, TankID, PhysicalNumber,
                                             MtrTheoValue, MtrTheoVolume, MtrElecValue,
                                             MtrElecVolume);
}

int32_t AddHoseMT(int32_t handle, int32_t* pID, int32_t* pNumber, int32_t PumpID, int32_t TankID,
                  int32_t PhysicalNumber, double MtrTheoValue, double MtrTheoVolume,
                  double MtrElecValue, double MtrElecVolume, int16_t UVEAntenna, double Price1,
                  double Price2, double Price3, double Price4, int16_t Enabled) {
    return Call<OpCode("AddHose")>(handle, pID, pNumber, PumpID, TankID, PhysicalNumber,
                                   MtrTheoValue, MtrTheoVolume, MtrElecValue, MtrElecVolume,
                                   UVEAntenna, Price1, Price2, Price3, Price4, Enabled);
}

int32_t SetHoseETotalsMT(int32_t handle, int32_t HoseID, double VolumeETot, double ValueETot) {
    return Call<OpCode("SetHoseETotals")>(handle, HoseID, VolumeETot, ValueETot);
}

int32_t GetPeriodMT(int32_t handle, int16_t PeriodType, int32_t Index, int32_t* pPeriodID,
                    double* pStartDT, double* pEndDT, double* pVolume, double* pValue,
                    int32_t* pDeliveries) {
    return Call<OpCode("GetPeriod")>(handle, PeriodType, Index, pPeriodID, pStartDT, pEndDT,
                                     pVolume, pValue, pDeliveries);
}

int32_t ClosePeriodMT(int32_t handle, int16_t PeriodType, int32_t* pPeriodID) {
    return Call<OpCode("ClosePeriod")>(handle, PeriodType, pPeriodID);
}

int32_t GetAllDeliveriesCountMT(int32_t handle, int32_t* pCount) {
    return Call<OpCode("GetAllDeliveriesCount")>(handle, pCount);
}

int32_t GetAllDeliveryByOrdinalMT(int32_t handle, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetAllDeliveryByOrdinal")>(handle, Ordinal, pID);
}

int32_t GetDeliverySummaryMT(int32_t handle, int32_t ID, int32_t* pPumpID, int32_t* pPumpNumber,
                             int32_t* pHoseID, int32_t* pHoseNumber, int32_t* pGradeID,
                             BSTR* pGradeName, BSTR* pShortGradeName, int16_t* pPriceLevel,
                             double* pPrice, double* pVolume, double* pValue,
                             int16_t* pDeliveryState, int16_t* pDeliveryType, int32_t* pLockedBy,
                             int32_t* pReservedBy, int32_t* pAge, double* pCompletedDT,
                             int32_t* pAttendantID) {
    return Call<OpCode("GetDeliverySummary")>(
        handle, ID, pPumpID, pPumpNumber, pHoseID, pHoseNumber, pGradeID, pGradeName,
        pShortGradeName, pPriceLevel, pPrice, pVolume, pValue, pDeliveryState, pDeliveryType,
        pLockedBy, pReservedBy, pAge, pCompletedDT, pAttendantID);
}

int32_t GetDurationMT(int32_t handle, int32_t ID, int32_t* pDuration) {
    return Call<OpCode("GetDuration")>(handle, ID, pDuration);
}

int32_t SetDeliveryPropertiesMT(int32_t handle, int32_t ID, int32_t PumpID, int32_t HoseID,
                                int16_t State, int16_t Type, double Volume, int16_t PriceLevel,
                                double Price, double Value, double Volume2, double CompletedDT,
                                int32_t LockedBy, int32_t ReservedBy, int32_t AttendantID) {
    return Call<OpCode("SetDeliveryProperties")>(handle, ID, PumpID, HoseID, State, Type, Volume,
                                                 PriceLevel, Price, Value, Volume2, CompletedDT,
                                                 LockedBy, ReservedBy, AttendantID);
}

int32_t AddGradeMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, BSTR ShortName,
                   BSTR Code, int16_t Type) {
    return Call<OpCode("AddGrade")>(handle, pID, pNumber, Name, ShortName, Code, Type);
}

int32_t SetTankPropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name, int32_t GradeID,
                            int16_t Type, double Capacity, double Diameter, double TheoVolume,
                            double GaugeVolume, double GaugeTCVolume, double GaugeUllage,
                            double GaugeTemperature, double GaugeLevel, double GaugeWaterVolume,
                            double GaugeWaterLevel, int32_t GaugeID, int16_t ProbeNo) {
    return Call<OpCode("SetTankProperties")>(handle, ID, Number, Name, GradeID, Type, Capacity,
                                             Diameter, TheoVolume, GaugeVolume, GaugeTCVolume,
                                             GaugeUllage, GaugeTemperature, GaugeLevel,
                                             GaugeWaterVolume, GaugeWaterLevel, GaugeID, ProbeNo);
}

int32_t AddTankMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, int32_t GradeID,
                  int16_t Type, double Capacity, double Diameter, double TheoVolume,
                  double GaugeVolume, double GaugeTCVolume, double GaugeUllage,
                  double GaugeTemperature, double GaugeLevel, double GaugeWaterVolume,
                  double GaugeWaterLevel, int32_t GaugeID, int16_t ProbeNo, int32_t GaugeAlarmsMask,
                  int32_t SlotZigBeeID, int16_t ProbeType, int32_t ProbeSerialNo) {
    return Call<OpCode("AddTank")>(
        handle, pID, pNumber, Name, GradeID, Type, Capacity, Diameter, TheoVolume, GaugeVolume,
        GaugeTCVolume, GaugeUllage, GaugeTemperature, GaugeLevel, GaugeWaterVolume, GaugeWaterLevel,
        GaugeID, ProbeNo, GaugeAlarmsMask, SlotZigBeeID, ProbeType, ProbeSerialNo);
}

int32_t DeleteTankMT(int32_t handle, int32_t ID) {
    return Call<OpCode("DeleteTank")>(handle, ID);
}

int32_t ReadAllTanksMT(int32_t handle) {
    return Call<OpCode("ReadAllTanks")>(handle);
}

int32_t GetStrappingTableDataMT(int32_t handle, int32_t TankID, double* pStepSize,
                                double* pDiameter, double* pOffset, double* pCapacity,
                                int32_t* pAlarms, BSTR* pDesc) {
    return Call<OpCode("GetStrappingTableData")>(handle, TankID, pStepSize, pDiameter, pOffset,
                                                 pCapacity, pAlarms, pDesc);
}

int32_t SetStrappingTableDataMT(int32_t handle, int32_t TankID, double StepSize, double Diameter,
                                double Offset, double Capacity, int32_t Alarms, BSTR Desc) {
    return Call<OpCode("SetStrappingTableData")>(handle, TankID, StepSize, Diameter, Offset,
                                                 Capacity, Alarms, Desc);
}

int32_t GetStrappingTableElementMT(int32_t handle, int32_t TankID, int32_t Index, int32_t* pPasses,
                                   double* pHeight, double* pStartDelta, double* pCurDelta,
                                   double* pStartVolume, double* pCurVolume) {
    return Call<OpCode("GetStrappingTableElement")>(
        handle, TankID, Index, pPasses, pHeight, pStartDelta, pCurDelta, pStartVolume, pCurVolume);
}

int32_t SetStrappingTableElementMT(int32_t handle, int32_t TankID, int32_t Index, int32_t Passes,
                                   double Height, double StartDelta, double CurDelta,
                                   double StartVolume, double CurVolume) {
    return Call<OpCode("SetStrappingTableElement")>(handle, TankID, Index, Passes, Height,
                                                    StartDelta, CurDelta, StartVolume, CurVolume);
}

} // extern "C"
