// The forecourt's records stored in the server's database: deliveries, log events and sale
// items as rows of their tables, hose totals and tank gauges in the site's records. Uses the
// store without locking it: the caller holds the store's lock, as for every forecourt call.
#pragma once
#include <functional>

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

    // Tables whose written rows are told (TableID of the DB trigger event).
    static constexpr int32_t kTableDeliveries = 1, kTableLogEvents = 2, kTableSaleItems = 3;
    // Called with the table and the row's ID after each row is stored or changed.
    void OnRowWritten(std::function<void(int32_t table, int32_t row)> f) {
        m_written = std::move(f);
    }

  private:
    void Written(int32_t table, int32_t row) {
        if (m_written && row > 0) m_written(table, row);
    }

    Store& m_store;
    std::function<void(int32_t, int32_t)> m_written;
};

} // namespace qvserver
