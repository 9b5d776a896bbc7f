// The server's running forecourt: the engine built from the store at start, its clock (a ticker
// that follows real time, or a manual clock that only the control channel moves), the demo
// customers when asked for, and the sink that turns the engine's records into event frames for
// the clients.
//
// Every call except Start and Stop is made with the store's lock held (Store::Mutex()); the
// ticker takes that lock for each step. Events leave through EventSink::Broadcast, which only
// queues them.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_set>

#include "outside/qvserver/Forecourt.h"
#include "outside/qvserver/ForecourtSimulator.h"
#include "outside/qvserver/ForecourtTables.h"
#include "outside/qvserver/Operations.h"
#include "outside/qvserver/Store.h"

namespace qvserver {

struct ServiceOptions {
    bool manualClock = false; // the clock moves only by Advance (the control channel's advance)
    bool simulate = false;    // customers come and go on their own
    bool cashier = true;      // ... and a simulated cashier (client 9000) serves them
    uint32_t seed = 1;        // of the customers' choices
    int64_t tickMs = 100;     // real time between two steps of the ticker
};

class ForecourtService : public ForecourtSink {
  public:
    ForecourtService(Store& store, EventSink& events);
    ~ForecourtService() override;
    ForecourtService(const ForecourtService&) = delete;
    ForecourtService& operator=(const ForecourtService&) = delete;

    // Reads the site and builds the engine; starts the ticker unless the clock is manual.
    // False with the reason when the site cannot be read. Takes the store's lock itself.
    bool Start(const ServiceOptions& options, std::string& error);
    // Ends the ticker. Takes no lock.
    void Stop();

    // The engine, with the equipment re-read first when a client changed it since.
    Forecourt& Engine();
    // Moves the simulated clock on (the customers acting, when simulated).
    void Advance(int64_t ms);
    // A client changed the equipment (pumps, hoses, tanks, grades, prices): it is re-read before
    // the engine is next used, so that a run of changes costs one reading.
    void EquipmentChanged() { m_changed = true; }

    // The extra fields of a pump status, in the order the events and GetPumpStatusEx give them.
    // variant 0: GetNextPumpEvent's list; 2 and 3: GetNextPumpEventEx2/Ex3's lists (each with
    // the pump ID first).
    Values PumpStatusEvent(const PumpStatusRecord& r, int variant);
    // GetPumpStatus (variant 0), GetPumpStatusEx (1) and GetPumpStatusEx2 (2) outputs.
    Values PumpStatusOutputs(const PumpStatusRecord& r, int variant);
    // Stores a card read at a pump and reports it (event type 22); its new ID, 0 on failure.
    int32_t CardRead(int32_t pumpID, const std::u16string& name, int64_t tag, int32_t& id);
    // A client's message to the others (event type 4).
    void ClientEvent(int32_t clientID, int32_t eventID, const std::u16string& text);

    // ---- ForecourtSink ----
    void PumpStatus(const PumpStatusRecord& r) override;
    void Delivery(const DeliveryRecord& r) override;
    void DeliveryStacked(int32_t deliveryID) override;
    void DeliveryCleared(const DeliveryRecord& r) override;
    void HoseTotals(const HoseTotalsRecord& r) override;
    void TankStatus(const TankStatusRecord& r) override;
    void ZeroDelivery(const ZeroDeliveryRecord& r) override;
    void LogEvent(const LogEventRecord& r) override;
    void SaleItem(const SaleItemRecord& r) override;
    void AttendantLogon(const AttendantRecord& r) override;
    void AttendantLogoff(const AttendantRecord& r) override;

  private:
    // Who a status names: the pump's stored record, its attendant's and card client's.
    struct Party {
        int32_t number = 0;
        std::u16string name;
        int64_t tag = -1;
    };
    const Row& PumpRow(int32_t pumpID);
    Party Person(const Entity& e, int32_t id);
    void Ticker();
    void Reload();

    Store& m_store;
    EventSink& m_events;
    StoreTables m_tables;
    std::unique_ptr<Forecourt> m_fc;
    std::unique_ptr<ForecourtSimulator> m_sim;
    ServiceOptions m_options;
    std::map<int32_t, Row> m_pumpRows; // stored pump records, re-read by Reload
    std::map<std::pair<const Entity*, int32_t>, Party> m_people; // attendants, card clients
    std::unordered_set<int32_t> m_logged; // deliveries whose completion was reported
    bool m_changed = false;               // the equipment was changed since it was read

    std::mutex m_tickMutex; // guards m_stopping for the ticker's wait
    std::condition_variable m_tickWake;
    bool m_stopping = false;
    std::thread m_ticker;
};

} // namespace qvserver
