// The library's client, site-record and controller-status functions: reservations and locks of
// the client, the server's logons, records added under IDs and Numbers the server gives,
// attendant states, card look-ups, price-sign elements and the last result of a call.
#include "outside/qvclient/Marshal.h"
#include "outside/qvclient/QVClient.h"

using qvclient::Call;
using qvwire::OpCode;

extern "C" {

int32_t ClientStatusMT(int32_t handle, int32_t* pPumpsReserved, int32_t* pDeliveriesLocked) {
    return Call<OpCode("ClientStatus")>(handle, pPumpsReserved, pDeliveriesLocked);
}

int32_t GetClientsCountMT(int32_t handle, int32_t* pCount) {
    return Call<OpCode("GetClientsCount")>(handle, pCount);
}

int32_t AddPortMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, int16_t ProtocolID,
                  int16_t DeviceType, BSTR SerialNo) {
    return Call<OpCode("AddPort")>(handle, pID, pNumber, Name, ProtocolID, DeviceType, SerialNo);
}

int32_t RemovePortMT(int32_t handle, int32_t ID) {
    return Call<OpCode("RemovePort")>(handle, ID);
}

int32_t AddAttendantMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, BSTR ShortName,
                       BSTR Password, BSTR Tag, BSTR IDNumber, int16_t ShiftAStart,
                       int16_t ShiftAEnd, int16_t ShiftBStart, int16_t ShiftBEnd, int16_t Type) {
    return Call<OpCode("AddAttendant")>(handle, pID, pNumber, Name, ShortName, Password, Tag,
                                        IDNumber, ShiftAStart, ShiftAEnd, ShiftBStart, ShiftBEnd,
                                        Type);
}

int32_t GetAttendantStateMT(int32_t handle, int32_t ID, int16_t* pLoggedOn, int32_t* pPumpID) {
    return Call<OpCode("GetAttendantState")>(handle, ID, pLoggedOn, pPumpID);
}

int32_t SetCardClientPropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name, BSTR Tag,
                                  int16_t Enabled) {
    return Call<OpCode("SetCardClientProperties")>(handle, ID, Number, Name, Tag, Enabled);
}

int32_t AddCardClientMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, BSTR Tag,
                        int16_t Enabled, int16_t PriceLevel, BSTR Plate, BSTR IDNumber,
                        BSTR ShortName, BSTR Password, int16_t GradeType, int16_t CardType,
                        int16_t LimitType, double Limit, int16_t EntryType, double ExpirationDate,
                        int32_t ParentID, BSTR QVOdoSerialNo, double Odometer, int32_t Factor) {
    return Call<OpCode("AddCardClient")>(handle, pID, pNumber, Name, Tag, Enabled, PriceLevel,
                                         Plate, IDNumber, ShortName, Password, GradeType, CardType,
                                         LimitType, Limit, EntryType, ExpirationDate, ParentID,
                                         QVOdoSerialNo, Odometer, Factor);
}

int32_t FindCardMT(int32_t handle, BSTR Tag, int32_t* pID, int32_t* pNumber, BSTR* pName,
                   int16_t* pCardType, int16_t* pEnabled, int16_t* pLimitType, double* pLimit) {
    return Call<OpCode("FindCard")>(handle, Tag, pID, pNumber, pName, pCardType, pEnabled,
                                    pLimitType, pLimit);
}

int32_t SetCardReadPropertiesMT(int32_t handle, int32_t ID, int32_t Number, BSTR Name,
                                int32_t PumpID, int16_t Type, int32_t ParentID, int64_t Tag,
                                double TimeStamp) {
    return Call<OpCode("SetCardReadProperties")>(handle, ID, Number, Name, PumpID, Type, ParentID,
                                                 Tag, TimeStamp);
}

int32_t AddZigBeeMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, int16_t DeviceType,
                    BSTR SerialNumber, BSTR NodeIdentifier, int32_t PortID) {
    return Call<OpCode("AddZigBee")>(handle, pID, pNumber, Name, DeviceType, SerialNumber,
                                     NodeIdentifier, PortID);
}

int32_t DeleteZigBeeMT(int32_t handle, int32_t ID) {
    return Call<OpCode("DeleteZigBee")>(handle, ID);
}

int32_t AddSensorMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, int32_t PortID,
                    int16_t Type, int16_t Address, int16_t SensorNo, int32_t SlotZigBeeID,
                    int32_t SensorSerialNo) {
    return Call<OpCode("AddSensor")>(handle, pID, pNumber, Name, PortID, Type, Address, SensorNo,
                                     SlotZigBeeID, SensorSerialNo);
}

int32_t DeleteSensorMT(int32_t handle, int32_t ID) {
    return Call<OpCode("DeleteSensor")>(handle, ID);
}

int32_t AddProductMT(int32_t handle, int32_t* pID, int32_t* pNumber, BSTR Name, BSTR Tag,
                     int16_t Enabled, BSTR ShortName, BSTR Barcode, int32_t QuickCode,
                     double Price1, double Price2, double Price3, double Price4,
                     int32_t ProductGroup) {
    return Call<OpCode("AddProduct")>(handle, pID, pNumber, Name, Tag, Enabled, ShortName, Barcode,
                                      QuickCode, Price1, Price2, Price3, Price4, ProductGroup);
}

int32_t SetLogEventPropertiesMT(int32_t handle, int32_t ID, int16_t DeviceType, int32_t DeviceID,
                                int16_t EventLevel, int16_t EventType, BSTR EventDesc,
                                double GeneratedDT, double ClearedDT, int32_t ClearedBy,
                                int32_t AckedBy, double Volume, double Value, double ProductVolume,
                                double ProductLevel, double WaterLevel, double Temperature) {
    return Call<OpCode("SetLogEventProperties")>(
        handle, ID, DeviceType, DeviceID, EventLevel, EventType, EventDesc, GeneratedDT, ClearedDT,
        ClearedBy, AckedBy, Volume, Value, ProductVolume, ProductLevel, WaterLevel, Temperature);
}

int32_t GetAllStatusesMT(int32_t handle, BSTR* pPumpStates, BSTR* pCurrentHoses,
                         BSTR* pDeliveriesCount, BSTR* pTankStates, BSTR* pSensorStates) {
    return Call<OpCode("GetAllStatuses")>(handle, pPumpStates, pCurrentHoses, pDeliveriesCount,
                                          pTankStates, pSensorStates);
}

int32_t GetPriceSignElementMT(int32_t handle, int32_t SignNumber, int32_t ElementNumber,
                              int16_t* pElementType, int32_t* pGradeID, int16_t* pPriceLevel,
                              int16_t* pPriceDspFormat, int16_t* pEnabled) {
    return Call<OpCode("GetPriceSignElement")>(handle, SignNumber, ElementNumber, pElementType,
                                               pGradeID, pPriceLevel, pPriceDspFormat, pEnabled);
}

int32_t SetPriceSignElementMT(int32_t handle, int32_t SignNumber, int32_t ElementNumber,
                              int16_t ElementType, int32_t GradeID, int16_t PriceLevel,
                              int16_t PriceDspFormat, int16_t Enabled) {
    return Call<OpCode("SetPriceSignElement")>(handle, SignNumber, ElementNumber, ElementType,
                                               GradeID, PriceLevel, PriceDspFormat, Enabled);
}

int32_t GetLastAPIResultMT(int32_t handle, int32_t* pResult) {
    return Call<OpCode("GetLastAPIResult")>(handle, pResult);
}

} // extern "C"
