// The forecourt server's network side: listens for calls and events connections, serves each
// connection on its own thread, and pushes events to every logon's events connection.
#pragma once
#include <atomic>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "outside/qvserver/EventOutbox.h"
#include "outside/qvserver/FaultPlan.h"
#include "outside/qvserver/Operations.h"
#include "outside/qvserver/Store.h"

namespace qvserver {

class ForecourtService;

// EventIDs of the server events (type 3).
constexpr int32_t kNoticeClientLogon = 1, kNoticeClientLogoff = 2, kNoticePumpOffline = 3,
                  kNoticePumpOnline = 4;

class Server : public EventSink {
  public:
    Server(Store& store, FaultPlan& faults);
    ~Server() override;
    Operations& Ops() { return m_ops; }
    // The forecourt that pump calls and the control channel drive; it must outlive Run.
    void SetForecourt(ForecourtService* forecourt);

    // Binds both ports; false with the reason.
    bool Listen(const std::string& address, uint16_t callPort, uint16_t eventsPort,
                std::string& error);
    // Accepts and serves until Stop; then closes every connection and joins its thread.
    void Run();
    // Any thread may call it.
    void Stop();

    // Queues the event for every attached events connection whose logon's event mask asks for
    // its type; never blocks on a client. Called with the store's lock held.
    void Broadcast(const Values& event) override;

    // One logon, known to the server from its Connect until its calls connection closes.
    struct Logon {
        SessionInfo info;
        std::u16string attachKey;            // handed to the logon; attaches its events
        bool attached = false;               // an events connection has attached
        std::shared_ptr<EventOutbox> outbox; // of its events connection, while attached
    };
    // One calls connection's state: the logon it made, if any.
    class CallsState {
      public:
        int fd = -1;           // the connection's socket
        bool loopback = false; // the peer is on this host: control calls are accepted
      private:
        friend class Server;
        std::shared_ptr<Logon> m_logon;
    };
    enum class Answer {
        Reply,         // send the reply, then read the next frame
        ReplyAndClose, // send the reply, then close (a logoff)
        Close,         // close without a reply (a malformed body, a type out of place)
    };
    // What the server does with one frame of a calls connection, apart from the socket: fills
    // the reply's header and values.
    Answer AnswerCall(CallsState& state, const qvwire::Header& h, const std::vector<uint8_t>& body,
                      qvwire::Header& reply, Values& out);
    // Ends the logon of a calls connection that closed.
    void EndCalls(CallsState& state);

  private:
    struct Connection {
        int fd;
        std::thread thread;
        std::atomic<bool> done{false};
    };

    // Accepts one connection and starts its thread; false when the process is out of
    // descriptors, memory or threads.
    bool Accept(int listenFd, bool events);
    void ServeCalls(Connection& c);
    void ServeEvents(Connection& c);
    void Reap(bool all);
    // A control call (qvserver ctl): the command's words in, one text out.
    int32_t Control(CallsState& state, const Values& in, std::string& answer);
    // Closes every client connection but the one of `keepFd`.
    void DropClients(int keepFd);
    // Closes every logon's events connection; the logons may attach new ones.
    void DropEvents();
    // A server event (type 3) to every logon that asks for them.
    void Notice(int32_t eventID, const std::string& text);
    // The control channel's zb-status: a ZigBee 2G status event (type 23).
    int32_t ZB2GStatus(const Values& in);
    // The control channel's odo: an odometer report (type 26) stored on its card client.
    int32_t OdometerReport(const Values& in);

    Store& m_store;
    FaultPlan& m_faults;
    Operations m_ops;
    ForecourtService* m_forecourt = nullptr;
    int m_callListen = -1;
    int m_eventListen = -1;
    int m_wake[2] = {-1, -1}; // pipe that ends Run
    std::atomic<bool> m_stopping{false};
    bool m_starved = false;      // Run's accepting paused for want of descriptors or threads
    int m_fdCeiling = INT32_MAX; // a connection accepted at this descriptor or above is closed
    std::string m_why;           // what the last such failure was
    std::mutex m_mutex; // guards m_connections, m_logons (with their outboxes), m_nextSession
    std::list<Connection> m_connections;
    std::map<int32_t, std::shared_ptr<Logon>> m_logons;
    int32_t m_nextSession = 1000;
};

} // namespace qvserver
