// One logon of the client library: the calls connection (request and reply), the events
// connection the server pushes to, and the queue of events received but not yet read.
// All members are safe to call from several threads; calls on one session are serialised.
#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "outside/qvclient/QVWire.h"

namespace qvclient {

struct LogonArgs {
    int32_t clientID = 0;
    int16_t clientType = 0;
    std::u16string clientName;
    int16_t clientCategory = 0;
    std::u16string hashKey;
    int32_t eventMask = 0;
    std::string serverName;
    int32_t callPort = qvwire::kCallPort;
    int32_t eventsPort = qvwire::kEventsPort;
    int32_t callTimeoutMs = 10000;
};

class ClientSession {
  public:
    ~ClientSession();
    // Connects both connections and logs on; 0 or the failure result (-20, -21, -23, -14,
    // or the server's refusal).
    int32_t Logon(const LogonArgs& args);
    // One operation: inputs out, outputs back. -14 once the connection has broken, -23 on a
    // timeout (the connection is closed, as its stream can no longer be trusted).
    int32_t Call(uint16_t op, const qvwire::Values& in, qvwire::Values& out);
    // Tells the server goodbye (best effort) and closes both connections.
    void Logoff();
    // A ping on the calls connection: 0, -14 (a connection is gone) or -23 (no answer in time).
    int32_t TestConnection();
    // True once the events connection is closed or its peer has closed it.
    bool EventsClosed();

    // At most this many events wait in the queue.
    static constexpr size_t kMaxQueuedEvents = 16384;

    // Moves the events that have arrived into the queue; -14 when the events connection broke,
    // -22 when the server sent a malformed event. Either closes the events connection, and
    // every later call gives -14.
    int32_t ProcessEvents();
    // Takes one frame as read from the events connection: 0 when queued (or not an event),
    // -22 when malformed (nothing is queued then).
    int32_t QueueEvent(const qvwire::Header& h, const std::vector<uint8_t>& body);
    int32_t EventsCount();
    // Type of the oldest event, 0 when none.
    int16_t NextEventType();
    // Removes the oldest event; 11 when none.
    int32_t DiscardNextEvent();
    // Copies the values of the oldest event's section `variant` when the event has `type`;
    // 11 otherwise. The event stays queued until PopEvent.
    int32_t PeekEvent(int16_t type, int16_t variant, qvwire::Values& out);
    void PopEvent();

    int CallsSocket() const { return m_callFd; }
    int EventsSocket() const { return m_eventFd; }

  private:
    int32_t Exchange(int fd, qvwire::Header h, const std::vector<uint8_t>& body,
                     qvwire::Header& reply, std::vector<uint8_t>& replyBody);
    void CloseAll();
    int32_t QueueFrame(const qvwire::Header& h, const std::vector<uint8_t>& body); // m_mutex held
    // Closes the events connection; returns result.
    int32_t DropEvents(int32_t result);

    std::mutex m_mutex; // serialises calls and the queue
    int m_callFd = -1;
    int m_eventFd = -1;
    uint32_t m_seq = 0;    // sequence number of the last call
    int32_t m_session = 0; // the server's session ID
    int m_timeoutMs = 10000;
    bool m_broken = false; // a connection failed: every later call gives -14
    std::deque<qvwire::Values> m_events;
};

// The process's logons, addressed by small positive handles.
class SessionTable {
  public:
    static constexpr int kMaxSessions = 64;
    // The new handle, or 0 when the table is full.
    static int32_t Add(std::shared_ptr<ClientSession> s);
    static std::shared_ptr<ClientSession> Find(int32_t handle);
    static std::shared_ptr<ClientSession> Remove(int32_t handle);
};

} // namespace qvclient
