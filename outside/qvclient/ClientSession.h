// One logon of the client library: the calls connection (request and reply), the events
// connection the server pushes to, read by the logon's own thread, and the queue of events
// received but not yet read. All members are safe to call from several threads; calls on one
// session are serialised, and the queue has a lock of its own so that events keep arriving
// during a call.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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
    intptr_t window = 0;  // window told of arriving events (platform/WindowMessages.h); 0 none
    uint32_t message = 0; // the message number posted to it
};

// The lParam of the logon's window message: events have been queued, or the events connection
// has closed (CheckSocketClosed reports -14 for it).
constexpr intptr_t kNotifyEvents = 1;
constexpr intptr_t kNotifyClosed = 32;

class ClientSession {
  public:
    ~ClientSession();
    // Connects both connections, logs on and starts reading events; 0 or the failure result
    // (-20, -21, -23, -14, 1 when no thread can be started, or the server's refusal).
    int32_t Logon(const LogonArgs& args);
    // One operation: inputs out, outputs back. -14 once the connection has broken, -23 on a
    // timeout (the connection is closed, as its stream can no longer be trusted).
    int32_t Call(uint16_t op, const qvwire::Values& in, qvwire::Values& out);
    // Tells the server goodbye (best effort), stops reading events and closes both connections.
    void Logoff();
    // A ping on the calls connection: 0, -14 (a connection is gone) or -23 (no answer in time).
    int32_t TestConnection();
    // True once the events connection is closed or its peer has closed it.
    bool EventsClosed();
    // True when the events connection was attached again after it broke, since the last ask.
    bool WasReconnected();

    // At most this many events wait in the queue.
    static constexpr size_t kMaxQueuedEvents = 16384;

    // Events are queued as they arrive (while the queue is full the rest wait in the
    // connection). 0 while the events connection is read; once it has ended, -22 when a
    // malformed event ended it (reported once), -14 otherwise and from then on.
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
    // Closes the calls connection and shuts the events connection down (its reader closes it).
    void CloseAll();
    void ReadEvents(); // the reader thread
    void StopReader();
    int32_t QueueFrame(const qvwire::Header& h, const std::vector<uint8_t>& body); // m_queueMutex
    // Posts kNotifyEvents unless a post is already waiting for the host; m_queueMutex held.
    void NotifyArrival();
    void NotifyClosed();
    // Connects and attaches a new events connection with the logon's key: the fd, or -1.
    int AttachEvents(int32_t& result);
    // After the events connection broke while the logon still stands: one new attach.
    bool ReattachEvents();

    std::mutex m_mutex; // serialises calls; guards the connections
    int m_callFd = -1;
    int m_eventFd = -1;    // set by Logon, closed by StopReader
    uint32_t m_seq = 0;    // sequence number of the last call
    int32_t m_session = 0; // the server's session ID
    int m_timeoutMs = 10000;
    bool m_broken = false; // a connection failed: every later call gives -14
    std::string m_server;  // where the events connection is attached again after a break
    int32_t m_eventsPort = 0;
    qvwire::Values m_attachKey; // the server's key for attaching this logon's events
    intptr_t m_window = 0;      // notified of events (0: nobody)
    uint32_t m_message = 0;

    std::mutex m_queueMutex;         // guards the members below
    std::condition_variable m_space; // the queue shrank, or the session closes
    std::deque<qvwire::Values> m_events;
    int32_t m_eventsResult = 0; // what ProcessEvents reports: 0 until the events connection ends
    bool m_closing = false;     // the reader is to stop
    bool m_notified = false;    // a kNotifyEvents post waits for the host's ProcessEvents
    bool m_reconnected = false; // the events connection was attached again, not yet asked
    std::thread m_reader;
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
