// The deliveries still on the pumps: each pump's current delivery (its last completed one) and
// the stacked ones before it, with their locks, clearing and ages. Cleared deliveries leave.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "outside/qvserver/ForecourtEvents.h"
#include "outside/qvserver/ForecourtSettings.h"

namespace qvserver {

class DeliveryBook {
  public:
    explicit DeliveryBook(const ForecourtSettings& settings) : m_settings(settings) {}

    // Takes the current and stacked deliveries found in the database.
    void Load(const std::vector<DeliveryRecord>& onPumps);

    // Adds a completed delivery as its pump's current one. The pump's previous current delivery
    // becomes stacked; its ID is returned (0 when there was none).
    int32_t AddCurrent(const DeliveryRecord& d);
    // Stacks the pump's current delivery. RESULT_NO_CURRENT_DELIVERY when it has none.
    int32_t Stack(int32_t pumpID, int32_t& stackedID);

    // RESULT_DELIVERY_LOCKED when another client holds the lock; QV_UNKNOWN_ID for an ID that
    // never was on a pump, RESULT_DELIVERY_CLEARED for one that was cleared.
    int32_t Lock(int32_t id, int32_t client);
    int32_t Unlock(int32_t id, int32_t client);
    // Clears the delivery for the client (type > 0 records how it was settled). On success the
    // cleared record is in `cleared` and the delivery leaves its pump.
    int32_t Clear(int32_t id, int32_t client, int16_t type, double nowOle, DeliveryRecord& cleared);

    // Null when the delivery is not on a pump.
    const DeliveryRecord* Find(int32_t id) const;
    // The pump's deliveries in ID order.
    std::vector<int32_t> OnPump(int32_t pumpID) const;
    int32_t StackSize(int32_t pumpID) const;
    bool HasCurrent(int32_t pumpID) const;

    // Seconds since the delivery completed; negative once past the delivery time-out.
    int32_t AgeOf(const DeliveryRecord& d, double nowOle) const;
    // Deliveries that reached the time-out since the last call.
    std::vector<int32_t> NewlyTimedOut(double nowOle);

  private:
    int32_t Check(int32_t id, int32_t client, DeliveryRecord*& d);

    const ForecourtSettings& m_settings;
    std::map<int32_t, DeliveryRecord> m_open; // current and stacked, by ID
    std::set<int32_t> m_cleared;              // IDs cleared while the forecourt ran
    std::set<int32_t> m_timedOut;             // open IDs already reported as timed out
};

} // namespace qvserver
