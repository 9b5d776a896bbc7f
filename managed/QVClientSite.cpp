// QVClient's forwarders for the client's status, the server's logons, records the server adds,
// attendant states, card look-ups, price-sign elements, every status at once and the last
// result; as QVClientOperations.cpp, each passes its arguments to the library function of the
// same name and its result through CheckResult.
#include "managed/LibraryCall.h"
#include "outside/qvclient/QVClientPlain.h"

namespace Halvora {

int32_t QVClient::ClientStatus(int32_t& pPumpsReserved, int32_t& pDeliveriesLocked) {
    return Forward(::ClientStatus, pPumpsReserved, pDeliveriesLocked);
}

int32_t QVClient::GetClientsCount(int32_t& pCount) {
    return Forward(::GetClientsCount, pCount);
}

int32_t QVClient::AddPort(int32_t& pID, int32_t& pNumber, const QString& Name, int16_t ProtocolID,
                          int16_t DeviceType, const QString& SerialNo) {
    return Forward(::AddPort, pID, pNumber, Name, ProtocolID, DeviceType, SerialNo);
}

int32_t QVClient::RemovePort(int32_t ID) {
    return Forward(::RemovePort, ID);
}

int32_t QVClient::AddAttendant(int32_t& pID, int32_t& pNumber, const QString& Name,
                               const QString& ShortName, const QString& Password,
                               const QString& Tag, const QString& IDNumber, int16_t ShiftAStart,
                               int16_t ShiftAEnd, int16_t ShiftBStart, int16_t ShiftBEnd,
                               int16_t Type) {
    return Forward(::AddAttendant, pID, pNumber, Name, ShortName, Password, Tag, IDNumber,
                   ShiftAStart, ShiftAEnd, ShiftBStart, ShiftBEnd, Type);
}

int32_t QVClient::GetAttendantState(int32_t ID, int16_t& pLoggedOn, int32_t& pPumpID) {
    return Forward(::GetAttendantState, ID, pLoggedOn, pPumpID);
}

int32_t QVClient::SetCardClientProperties(int32_t ID, int32_t Number, const QString& Name,
                                          const QString& Tag, int16_t Enabled) {
    return Forward(::SetCardClientProperties, ID, Number, Name, Tag, Enabled);
}

int32_t QVClient::AddCardClient(int32_t& pID, int32_t& pNumber, const QString& Name,
                                const QString& Tag, int16_t Enabled, int16_t PriceLevel,
                                const QString& Plate, const QString& IDNumber,
                                const QString& ShortName, const QString& Password,
                                int16_t GradeType, int16_t CardType, int16_t LimitType,
                                double Limit, int16_t EntryType, const QDateTime& ExpirationDate,
                                int32_t ParentID, const QString& QVOdoSerialNo, double Odometer,
                                int32_t Factor) {
    return Forward(::AddCardClient, pID, pNumber, Name, Tag, Enabled, PriceLevel, Plate, IDNumber,
                   ShortName, Password, GradeType, CardType, LimitType, Limit, EntryType,
                   ExpirationDate, ParentID, QVOdoSerialNo, Odometer, Factor);
}

int32_t QVClient::FindCard(const QString& Tag, int32_t& pID, int32_t& pNumber, QString& pName,
                           int16_t& pCardType, int16_t& pEnabled, int16_t& pLimitType,
                           double& pLimit) {
    return Forward(::FindCard, Tag, pID, pNumber, pName, pCardType, pEnabled, pLimitType, pLimit);
}

int32_t QVClient::SetCardReadProperties(int32_t ID, int32_t Number, const QString& Name,
                                        int32_t PumpID, int16_t Type, int32_t ParentID, int64_t Tag,
                                        const QDateTime& TimeStamp) {
    return Forward(::SetCardReadProperties, ID, Number, Name, PumpID, Type, ParentID, Tag,
                   TimeStamp);
}

int32_t QVClient::AddZigBee(int32_t& pID, int32_t& pNumber, const QString& Name, int16_t DeviceType,
                            const QString& SerialNumber, const QString& NodeIdentifier,
                            int32_t PortID) {
    return Forward(::AddZigBee, pID, pNumber, Name, DeviceType, SerialNumber, NodeIdentifier,
                   PortID);
}

int32_t QVClient::DeleteZigBee(int32_t ID) {
    return Forward(::DeleteZigBee, ID);
}

int32_t QVClient::AddSensor(int32_t& pID, int32_t& pNumber, const QString& Name, int32_t PortID,
                            int16_t Type, int16_t Address, int16_t SensorNo, int32_t SlotZigBeeID,
                            int32_t SensorSerialNo) {
    return Forward(::AddSensor, pID, pNumber, Name, PortID, Type, Address, SensorNo, SlotZigBeeID,
                   SensorSerialNo);
}

int32_t QVClient::DeleteSensor(int32_t ID) {
    return Forward(::DeleteSensor, ID);
}

int32_t QVClient::AddProduct(int32_t& pID, int32_t& pNumber, const QString& Name,
                             const QString& Tag, int16_t Enabled, const QString& ShortName,
                             const QString& Barcode, int32_t QuickCode, double Price1,
                             double Price2, double Price3, double Price4, int32_t ProductGroup) {
    return Forward(::AddProduct, pID, pNumber, Name, Tag, Enabled, ShortName, Barcode, QuickCode,
                   Price1, Price2, Price3, Price4, ProductGroup);
}

int32_t QVClient::SetLogEventProperties(int32_t ID, int16_t DeviceType, int32_t DeviceID,
                                        int16_t EventLevel, int16_t EventType,
                                        const QString& EventDesc, const QDateTime& GeneratedDT,
                                        const QDateTime& ClearedDT, int32_t ClearedBy,
                                        int32_t AckedBy, double Volume, double Value,
                                        double ProductVolume, double ProductLevel,
                                        double WaterLevel, double Temperature) {
    return Forward(::SetLogEventProperties, ID, DeviceType, DeviceID, EventLevel, EventType,
                   EventDesc, GeneratedDT, ClearedDT, ClearedBy, AckedBy, Volume, Value,
                   ProductVolume, ProductLevel, WaterLevel, Temperature);
}

int32_t QVClient::GetAllStatuses(QString& pPumpStates, QString& pCurrentHoses,
                                 QString& pDeliveriesCount, QString& pTankStates,
                                 QString& pSensorStates) {
    return Forward(::GetAllStatuses, pPumpStates, pCurrentHoses, pDeliveriesCount, pTankStates,
                   pSensorStates);
}

int32_t QVClient::GetPriceSignElement(int32_t SignNumber, int32_t ElementNumber,
                                      int16_t& pElementType, int32_t& pGradeID,
                                      int16_t& pPriceLevel, int16_t& pPriceDspFormat,
                                      int16_t& pEnabled) {
    return Forward(::GetPriceSignElement, SignNumber, ElementNumber, pElementType, pGradeID,
                   pPriceLevel, pPriceDspFormat, pEnabled);
}

int32_t QVClient::SetPriceSignElement(int32_t SignNumber, int32_t ElementNumber,
                                      int16_t ElementType, int32_t GradeID, int16_t PriceLevel,
                                      int16_t PriceDspFormat, int16_t Enabled) {
    return Forward(::SetPriceSignElement, SignNumber, ElementNumber, ElementType, GradeID,
                   PriceLevel, PriceDspFormat, Enabled);
}

int32_t QVClient::GetLastAPIResult(int32_t& pResult) {
    return Forward(::GetLastAPIResult, pResult);
}

} // namespace Halvora
