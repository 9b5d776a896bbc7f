// The forecourt's records stored in the server's database: deliveries, log events and sale
// items as rows of their tables, hose totals and tank gauges in the site's records. Uses the
// store without locking it: the caller holds the store's lock, as for every forecourt call.
#pragma once
#include "outside/qvserver/ForecourtEvents.h"
#include "outside/qvserver/Store.h"

namespace qvserver {

class StoreTables : public ForecourtTables {
  public:
    explicit StoreTables(Store& store) : m_store(store) {}

    // Takes the ID the clients asked for with SetNextDeliveryID when it is above every stored
    // one, else the next free ID.
    int32_t AddDelivery(const DeliveryRecord& d) override;
    bool UpdateDelivery(const DeliveryRecord& d) override;
    int32_t AddLogEvent(const LogEventRecord& e) override;
    int32_t AddSaleItem(const SaleItemRecord& s) override;
    bool SaveHoseTotals(int32_t hoseID, double volumeETot, double valueETot) override;
    bool SaveTankGauge(const TankStatusRecord& t) override;

  private:
    Store& m_store;
};

} // namespace qvserver
