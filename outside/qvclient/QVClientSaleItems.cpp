// Sale items: properties, adding and deleting, locks, filtered lists and the reader of event
// type 25.
#include "outside/qvclient/ClientSession.h"
#include "outside/qvclient/Marshal.h"
#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVWire.h"

using qvclient::Call;
using qvclient::ReadEvent;
using qvwire::OpCode;

extern "C" {

int32_t GetSaleItemPropertiesMT(int32_t handle, int32_t ID, int32_t* pProductID, int32_t* pPumpID,
                                int32_t* pAttendantID, int32_t* pCardClientID, int16_t* pPriceLevel,
                                double* pPrice, double* pQuantity, double* pAddedDT,
                                double* pClearedDT, int32_t* pLockedBy, int32_t* pClearedBy,
                                int16_t* pLoggedState, BSTR* pPlate, int16_t* pAuthType) {
    return Call<OpCode("GetSaleItemProperties")>(
        handle, ID, pProductID, pPumpID, pAttendantID, pCardClientID, pPriceLevel, pPrice,
        pQuantity, pAddedDT, pClearedDT, pLockedBy, pClearedBy, pLoggedState, pPlate, pAuthType);
}

int32_t SetSaleItemPropertiesMT(int32_t handle, int32_t ID, int32_t ProductID, int32_t PumpID,
                                int32_t AttendantID, int32_t CardClientID, int16_t PriceLevel,
                                double Price, double Quantity, double AddedDT, double ClearedDT,
                                int32_t LockedBy, int32_t ClearedBy, int16_t LoggedState,
                                BSTR Plate, int16_t AuthType) {
    return Call<OpCode("SetSaleItemProperties")>(
        handle, ID, ProductID, PumpID, AttendantID, CardClientID, PriceLevel, Price, Quantity,
        AddedDT, ClearedDT, LockedBy, ClearedBy, LoggedState, Plate, AuthType);
}

int32_t AddSaleItemMT(int32_t handle, int32_t* pID, int32_t ProductID, int32_t PumpID,
                      int32_t AttendantID, int32_t CardClientID, int16_t PriceLevel, double Price,
                      double Quantity, BSTR Plate, int16_t AuthType) {
    return Call<OpCode("AddSaleItem")>(handle, ProductID, PumpID, AttendantID, CardClientID,
                                       PriceLevel, Price, Quantity, Plate, AuthType, pID);
}

int32_t DeleteSaleItemMT(int32_t handle, int32_t ID) {
    return Call<OpCode("DeleteSaleItem")>(handle, ID);
}

int32_t SaleItemLockMT(int32_t handle, int32_t ID, int32_t LockedBy) {
    return Call<OpCode("SaleItemLock")>(handle, ID, LockedBy);
}

int32_t SaleItemUnlockMT(int32_t handle, int32_t ID, int32_t LockedBy) {
    return Call<OpCode("SaleItemUnlock")>(handle, ID, LockedBy);
}

int32_t GetSaleItemsCountExMT(int32_t handle, int32_t ProductID, int32_t PumpID,
                              int32_t AttendantID, int32_t CardClientID, int16_t State,
                              double AddedFrom, double AddedTo, int32_t* pCount) {
    return Call<OpCode("GetSaleItemsCountEx")>(handle, ProductID, PumpID, AttendantID, CardClientID,
                                               State, AddedFrom, AddedTo, pCount);
}

int32_t GetSaleItemByOrdinalExMT(int32_t handle, int32_t ProductID, int32_t PumpID,
                                 int32_t AttendantID, int32_t CardClientID, int16_t State,
                                 double AddedFrom, double AddedTo, int32_t Ordinal, int32_t* pID) {
    return Call<OpCode("GetSaleItemByOrdinalEx")>(handle, ProductID, PumpID, AttendantID,
                                                  CardClientID, State, AddedFrom, AddedTo, Ordinal,
                                                  pID);
}

int32_t GetNextSaleItemEventMT(
    int32_t handle, int32_t* pSaleItemID, int32_t* pProductID, int32_t* pProductNumber,
    BSTR* pProductName, BSTR* pProductTag, int32_t* pProductGroup, BSTR* pProductGroupName,
    BSTR* pBarcode, int32_t* pPumpID, int32_t* pPumpNumber, BSTR* pPumpName, int32_t* pAttendantID,
    int32_t* pAttendantNumber, BSTR* pAttendantName, int64_t* pAttendantTag, int32_t* pCardClientID,
    int32_t* pCardClientNumber, BSTR* pCardClientName, int64_t* pCardClientTag,
    int16_t* pPriceLevel, double* pPrice, double* pQuantity, double* pAddedDT, double* pClearedDT,
    int32_t* pLockedBy, int32_t* pClearedBy, int16_t* pLoggedDB, int16_t* pLoggedVolumetric,
    BSTR* pPlate, BSTR* pDriverID, BSTR* pExtTransactionID, BSTR* pAuthID, int16_t* pAuthType) {
    return ReadEvent(handle, qvwire::kEventSaleItem, 0, pSaleItemID, pProductID, pProductNumber,
                     pProductName, pProductTag, pProductGroup, pProductGroupName, pBarcode, pPumpID,
                     pPumpNumber, pPumpName, pAttendantID, pAttendantNumber, pAttendantName,
                     pAttendantTag, pCardClientID, pCardClientNumber, pCardClientName,
                     pCardClientTag, pPriceLevel, pPrice, pQuantity, pAddedDT, pClearedDT,
                     pLockedBy, pClearedBy, pLoggedDB, pLoggedVolumetric, pPlate, pDriverID,
                     pExtTransactionID, pAuthID, pAuthType);
}

} // extern "C"
