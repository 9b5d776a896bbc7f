// QVClient's forwarders for sale items and the reader of their event; as QVClientOperations.cpp,
// each passes its arguments to the library function of the same name and its result through
// CheckResult.
#include "managed/Conversions.h"
#include "managed/LibraryCall.h"
#include "outside/qvclient/QVClientPlain.h"

namespace Halvora {

int32_t QVClient::GetSaleItemProperties(int32_t ID, int32_t& pProductID, int32_t& pPumpID,
                                        int32_t& pAttendantID, int32_t& pCardClientID,
                                        int16_t& pPriceLevel, double& pPrice, double& pQuantity,
                                        QDateTime& pAddedDT, QDateTime& pClearedDT,
                                        int32_t& pLockedBy, int32_t& pClearedBy,
                                        int16_t& pLoggedState, QString& pPlate,
                                        int16_t& pAuthType) {
    return Forward(::GetSaleItemProperties, ID, pProductID, pPumpID, pAttendantID, pCardClientID,
                   pPriceLevel, pPrice, pQuantity, pAddedDT, pClearedDT, pLockedBy, pClearedBy,
                   pLoggedState, pPlate, pAuthType);
}

int32_t QVClient::SetSaleItemProperties(int32_t ID, int32_t ProductID, int32_t PumpID,
                                        int32_t AttendantID, int32_t CardClientID,
                                        int16_t PriceLevel, double Price, double Quantity,
                                        const QDateTime& AddedDT, const QDateTime& ClearedDT,
                                        int32_t LockedBy, int32_t ClearedBy, int16_t LoggedState,
                                        const QString& Plate, int16_t AuthType) {
    return Forward(::SetSaleItemProperties, ID, ProductID, PumpID, AttendantID, CardClientID,
                   PriceLevel, Price, Quantity, AddedDT, ClearedDT, LockedBy, ClearedBy,
                   LoggedState, Plate, AuthType);
}

int32_t QVClient::AddSaleItem(int32_t& pID, int32_t ProductID, int32_t PumpID, int32_t AttendantID,
                              int32_t CardClientID, int16_t PriceLevel, double Price,
                              double Quantity, const QString& Plate, int16_t AuthType) {
    return Forward(::AddSaleItem, pID, ProductID, PumpID, AttendantID, CardClientID, PriceLevel,
                   Price, Quantity, Plate, AuthType);
}

int32_t QVClient::DeleteSaleItem(int32_t ID) {
    return Forward(::DeleteSaleItem, ID);
}

int32_t QVClient::SaleItemLock(int32_t ID, int32_t LockedBy) {
    return Forward(::SaleItemLock, ID, LockedBy);
}

int32_t QVClient::SaleItemUnlock(int32_t ID, int32_t LockedBy) {
    return Forward(::SaleItemUnlock, ID, LockedBy);
}

int32_t QVClient::GetSaleItemsCountEx(int32_t ProductID, int32_t PumpID, int32_t AttendantID,
                                      int32_t CardClientID, int16_t State,
                                      const QDateTime& AddedFrom, const QDateTime& AddedTo,
                                      int32_t& pCount) {
    return Forward(::GetSaleItemsCountEx, ProductID, PumpID, AttendantID, CardClientID, State,
                   AddedFrom, AddedTo, pCount);
}

int32_t QVClient::GetSaleItemByOrdinalEx(int32_t ProductID, int32_t PumpID, int32_t AttendantID,
                                         int32_t CardClientID, int16_t State,
                                         const QDateTime& AddedFrom, const QDateTime& AddedTo,
                                         int32_t Ordinal, int32_t& pID) {
    return Forward(::GetSaleItemByOrdinalEx, ProductID, PumpID, AttendantID, CardClientID, State,
                   AddedFrom, AddedTo, Ordinal, pID);
}

namespace {

// A text output of the reader: starts null, freed when the event has been raised.
struct Text {
    BSTR b = nullptr;
    Text() = default;
    Text(const Text&) = delete;
    ~Text() { platform::SysFreeString(b); }
    BSTR* out() { return &b; }
    QString str() const { return FromBstr(b); }
};

} // namespace

int32_t QVClient::ReadSaleItem() {
    int32_t SaleItemID = -1, ProductID = -1, ProductNumber = 0, ProductGroup = 0, PumpID = -1,
            PumpNumber = 0, AttendantID = -1, AttendantNumber = 0, CardClientID = -1,
            CardClientNumber = 0, LockedBy = -1, ClearedBy = -1;
    int64_t AttendantTag = 0, CardClientTag = 0;
    int16_t PriceLevel = 0, LoggedDB = 0, LoggedVolumetric = 0, AuthType = 0;
    double Price = 0, Quantity = 0, AddedDT = 0, ClearedDT = 0;
    Text productName, productTag, productGroupName, barcode, pumpName, attendantName,
        cardClientName, plate, driverID, extTransactionID, authID;
    const int32_t res = ::GetNextSaleItemEvent(
        &SaleItemID, &ProductID, &ProductNumber, productName.out(), productTag.out(), &ProductGroup,
        productGroupName.out(), barcode.out(), &PumpID, &PumpNumber, pumpName.out(), &AttendantID,
        &AttendantNumber, attendantName.out(), &AttendantTag, &CardClientID, &CardClientNumber,
        cardClientName.out(), &CardClientTag, &PriceLevel, &Price, &Quantity, &AddedDT, &ClearedDT,
        &LockedBy, &ClearedBy, &LoggedDB, &LoggedVolumetric, plate.out(), driverID.out(),
        extTransactionID.out(), authID.out(), &AuthType);
    if (res != 0) return res;
    emit SaleItemEvent(SaleItemID, ProductID, ProductNumber, productName.str(), productTag.str(),
                       ProductGroup, productGroupName.str(), barcode.str(), PumpID, PumpNumber,
                       pumpName.str(), AttendantID, AttendantNumber, attendantName.str(),
                       AttendantTag, CardClientID, CardClientNumber, cardClientName.str(),
                       CardClientTag, PriceLevel, Price, Quantity, FromOADate(AddedDT),
                       FromOADate(ClearedDT), LockedBy, ClearedBy, LoggedDB, LoggedVolumetric,
                       plate.str(), driverID.str(), extTransactionID.str(), authID.str(), AuthType);
    return 0;
}

} // namespace Halvora
