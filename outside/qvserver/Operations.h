// The server's answer to every library operation: a table from operation code to handler,
// with the inputs each expects. Record operations (count, by-ordinal, properties, setters,
// deletes) are driven by the kinds' field tables; the others have handlers of their own.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "outside/qvserver/Store.h"

namespace qvserver {

// What the server knows of one logon.
struct SessionInfo {
    int32_t sessionID = 0;
    int32_t clientID = 0;
    int16_t clientType = 0;
    int32_t eventMask = 0;
    int32_t clientKey = 0;
    int32_t lastResult = 0; // what the server answered this logon's previous call
    // IDs listed by the last count call of each kind and filter, so that a walk of ordinals
    // sees one stable list; dropped when the database changed.
    std::map<std::string, std::pair<uint64_t, std::vector<int32_t>>> walks;
};

// Receives events for every logon's events connection.
class EventSink {
  public:
    virtual ~EventSink() = default;
    virtual void Broadcast(const Values& event) = 0;
};

class ForecourtService;

class Operations {
  public:
    Operations(Store& store, EventSink& events);
    // The forecourt that pump control, deliveries and tank gauges go through; without one those
    // operations answer 5.
    void SetForecourt(ForecourtService* forecourt) { m_forecourt = forecourt; }
    // Tells how many logons the server holds (GetClientsCount); without one it counts 1, the
    // caller.
    void SetLogonCounter(std::function<int32_t()> counter) { m_logonCount = std::move(counter); }
    int32_t LogonCount() const { return m_logonCount ? m_logonCount() : 1; }
    // Runs operation `op`; the caller holds the store's lock. 5 for an operation the server
    // does not offer, 2 when the inputs do not match the operation.
    int32_t Run(uint16_t op, SessionInfo& session, const Values& in, Values& out);
    // True when the server implements the operation (CheckForManagementFtn).
    bool Implemented(const std::string& name) const;
    // The letters (qvwire::SignatureOf) of the inputs that Run expects for `op`.
    static std::string InputSignature(uint16_t op);

    // Stores a record as the setters do: references checked, derived fields filled. A hose
    // stored at the pump and Number of another hose replaces that hose.
    int32_t StoreRecord(const Entity& e, int32_t id, const std::vector<std::string>& fields,
                        const Values& in);

    struct Def;

  private:
    // A new record under the next free ID and Number; out: the ID and the Number.
    int32_t AddRecord(const Entity& e, const std::vector<std::string>& fields, const Values& in,
                      Values& out);
    int32_t StoreHose(int32_t id, const Row& merged, const std::vector<std::string>& fields,
                      const Values& in);

    Store& m_store;
    EventSink& m_events;
    ForecourtService* m_forecourt = nullptr;
    std::function<int32_t()> m_logonCount;
};

// Version text that ServerVersion reports.
extern const char kServerVersion[];

} // namespace qvserver
