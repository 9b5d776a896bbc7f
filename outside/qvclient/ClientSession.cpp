// Connections and event queue of one logon.
#include "outside/qvclient/ClientSession.h"

#include <array>
#include <system_error>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVSocket.h"
#include "platform/WindowMessages.h"

namespace qvclient {

using namespace qvwire;

namespace {

std::mutex g_tableMutex;
std::array<std::shared_ptr<ClientSession>, SessionTable::kMaxSessions> g_sessions;

} // namespace

ClientSession::~ClientSession() {
    StopReader();
    CloseSocket(m_callFd);
}

void ClientSession::CloseAll() {
    CloseSocket(m_callFd);
    m_callFd = -1;
    ShutdownSocket(m_eventFd);
}

void ClientSession::StopReader() {
    {
        // Under the lock: the reader may be swapping in a new events connection.
        std::lock_guard<std::mutex> lock(m_queueMutex);
        m_closing = true;
        ShutdownSocket(m_eventFd);
    }
    m_space.notify_all();
    if (m_reader.joinable()) m_reader.join();
    std::scoped_lock lock(m_mutex, m_queueMutex);
    CloseSocket(m_eventFd);
    m_eventFd = -1;
    if (m_eventsResult == QV_OK) m_eventsResult = QV_CONNECTION_BROKEN;
}

void ClientSession::ReadEvents() {
    int32_t end = QV_CONNECTION_BROKEN;
    for (;;) {
        Header h;
        std::vector<uint8_t> body;
        // The next frame may be long in coming, but once begun it must be whole within the
        // call timeout: a server that stalls in the middle of a frame loses its connection.
        if (!Readable(m_eventFd, -1) || RecvFrame(m_eventFd, h, body, m_timeoutMs) != 0) {
            if (ReattachEvents()) continue;
            break;
        }
        std::unique_lock<std::mutex> lock(m_queueMutex);
        m_space.wait(lock, [this] { return m_closing || m_events.size() < kMaxQueuedEvents; });
        if (m_closing) break;
        if (QueueFrame(h, body) != QV_OK) {
            end = QV_PROTOCOL_ERROR;
            break;
        }
        NotifyArrival();
    }
    bool hostLeft;
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        if (m_eventsResult == QV_OK) m_eventsResult = end;
        hostLeft = m_closing;
        // The server learns at once that this logon's events are no longer read.
        ShutdownSocket(m_eventFd);
    }
    // A host that logged off is not told of its own logoff.
    if (!hostLeft) NotifyClosed();
}

void ClientSession::NotifyArrival() {
    // One post until the host next calls ProcessEvents (or empties the queue): it reads all
    // that has arrived by then, so a post per event would only cost it empty rounds.
    if (m_window == 0 || m_notified) return;
    m_notified = platform::PostWindowMessage(m_window, m_message, m_eventFd, kNotifyEvents);
}

void ClientSession::NotifyClosed() {
    if (m_window != 0) platform::PostWindowMessage(m_window, m_message, -1, kNotifyClosed);
}

int ClientSession::AttachEvents(int32_t& result) {
    const int fd = ConnectTcp(m_server, static_cast<uint16_t>(m_eventsPort), m_timeoutMs, result);
    if (fd < 0) return -1;
    Writer attach;
    attach.PutAll(m_attachKey);
    Header h;
    h.type = MsgType::Connect;
    Header reply;
    std::vector<uint8_t> body;
    result = Exchange(fd, h, attach.Bytes(), reply, body);
    if (result != QV_OK) {
        CloseSocket(fd);
        return -1;
    }
    return fd;
}

bool ClientSession::ReattachEvents() {
    std::lock_guard<std::mutex> lock(m_mutex);
    {
        std::lock_guard<std::mutex> queue(m_queueMutex);
        if (m_closing || m_broken || m_eventsResult != QV_OK) return false;
    }
    // Only a logon whose calls still get answers is worth a new events connection: a server
    // that dropped this client, or went away, has dropped both.
    Header ping;
    ping.type = MsgType::Ping;
    ping.seq = ++m_seq;
    ping.session = m_session;
    Header pong;
    std::vector<uint8_t> body;
    if (!SendFrame(m_callFd, ping, {}) || RecvFrame(m_callFd, pong, body, m_timeoutMs) != 0 ||
        pong.type != MsgType::Pong || pong.seq != ping.seq)
        return false;
    int32_t result = 0;
    // Exchange marks the session broken when the attach fails; the calls are still sound.
    const int fd = AttachEvents(result);
    if (m_callFd >= 0) m_broken = false;
    if (fd < 0) return false;
    std::lock_guard<std::mutex> queue(m_queueMutex);
    if (m_closing) {
        CloseSocket(fd);
        return false;
    }
    CloseSocket(m_eventFd);
    m_eventFd = fd;
    m_reconnected = true;
    return true;
}

int32_t ClientSession::Exchange(int fd, Header h, const std::vector<uint8_t>& body, Header& reply,
                                std::vector<uint8_t>& replyBody) {
    h.seq = ++m_seq;
    h.session = m_session;
    if (!SendFrame(fd, h, body)) {
        m_broken = true;
        return QV_CONNECTION_BROKEN;
    }
    const int rc = RecvFrame(fd, reply, replyBody, m_timeoutMs);
    if (rc == 0 && (reply.type != MsgType::Reply || reply.seq != h.seq)) {
        m_broken = true;
        CloseAll();
        return QV_PROTOCOL_ERROR;
    }
    if (rc != 0) {
        m_broken = true;
        CloseAll();
        return rc == kRecvMalformed ? QV_PROTOCOL_ERROR
               : rc == kRecvTimeout ? QV_TIMEOUT
                                    : QV_CONNECTION_BROKEN;
    }
    return reply.result;
}

int32_t ClientSession::Logon(const LogonArgs& a) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_timeoutMs = a.callTimeoutMs;
    m_server = a.serverName;
    m_eventsPort = a.eventsPort;
    m_window = a.window;
    m_message = a.message;
    int32_t result = 0;
    m_callFd = ConnectTcp(a.serverName, static_cast<uint16_t>(a.callPort), m_timeoutMs, result);
    if (m_callFd < 0) return result;
    Writer w;
    w.Put(Value::I32(a.clientID));
    w.Put(Value::I16(a.clientType));
    w.Put(Value::Text(a.clientName));
    w.Put(Value::I16(a.clientCategory));
    w.Put(Value::Text(a.hashKey));
    w.Put(Value::I32(a.eventMask));
    if (w.Overflow()) return QV_MESSAGE_TOO_LONG;
    Header h;
    h.type = MsgType::Connect;
    Header reply;
    std::vector<uint8_t> body;
    result = Exchange(m_callFd, h, w.Bytes(), reply, body);
    if (result != 0) return result;
    // The reply carries the key that attaches this logon's events connection.
    Values key;
    if (!DecodeValues(body.data(), body.size(), key) || SignatureOf(key) != "s")
        return QV_PROTOCOL_ERROR;
    m_session = reply.session;
    m_attachKey = key;
    m_eventFd = AttachEvents(result);
    if (m_eventFd < 0) return result;
    try {
        m_reader = std::thread([this] { ReadEvents(); });
    } catch (const std::system_error&) {
        return QV_FAILED;
    }
    return QV_OK;
}

int32_t ClientSession::Call(uint16_t op, const Values& in, Values& out) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_broken) return QV_CONNECTION_BROKEN;
    Writer w;
    w.PutAll(in);
    if (w.Overflow()) return QV_MESSAGE_TOO_LONG;
    Header h;
    h.type = MsgType::Call;
    h.op = op;
    Header reply;
    std::vector<uint8_t> body;
    const int32_t result = Exchange(m_callFd, h, w.Bytes(), reply, body);
    if (m_broken) return result;
    if (!DecodeValues(body.data(), body.size(), out)) return QV_PROTOCOL_ERROR;
    return result;
}

void ClientSession::Logoff() {
    {
        // The reader sees the connection end as the host's doing: no closing post, no attach.
        std::lock_guard<std::mutex> queue(m_queueMutex);
        m_closing = true;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_broken && m_callFd >= 0) {
            Header h;
            h.type = MsgType::Disconnect;
            Header reply;
            std::vector<uint8_t> body;
            Exchange(m_callFd, h, {}, reply, body);
        }
        CloseAll();
        m_broken = true;
    }
    StopReader();
}

int32_t ClientSession::TestConnection() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_broken) return QV_CONNECTION_BROKEN;
    Header h;
    h.type = MsgType::Ping;
    h.seq = ++m_seq;
    h.session = m_session;
    Header reply;
    std::vector<uint8_t> body;
    int rc =
        SendFrame(m_callFd, h, {}) ? RecvFrame(m_callFd, reply, body, m_timeoutMs) : kRecvBroken;
    if (rc == 0 && (reply.type != MsgType::Pong || reply.seq != h.seq)) rc = kRecvMalformed;
    if (rc != 0) {
        m_broken = true;
        CloseAll();
        return rc == kRecvMalformed ? QV_PROTOCOL_ERROR
               : rc == kRecvTimeout ? QV_TIMEOUT
                                    : QV_CONNECTION_BROKEN;
    }
    std::lock_guard<std::mutex> queue(m_queueMutex);
    return m_eventsResult != QV_OK || PeerClosed(m_eventFd) ? QV_CONNECTION_BROKEN : QV_OK;
}

bool ClientSession::WasReconnected() {
    std::lock_guard<std::mutex> lock(m_queueMutex);
    const bool was = m_reconnected;
    m_reconnected = false;
    return was;
}

bool ClientSession::EventsClosed() {
    std::lock_guard<std::mutex> lock(m_queueMutex);
    return m_eventsResult != QV_OK || PeerClosed(m_eventFd);
}

int32_t ClientSession::ProcessEvents() {
    std::lock_guard<std::mutex> lock(m_queueMutex);
    // A connection its peer has shut is gone, even while the reader still queues its last
    // events.
    if (m_eventsResult == QV_OK && PeerClosed(m_eventFd)) m_eventsResult = QV_CONNECTION_BROKEN;
    const int32_t result = m_eventsResult;
    if (result != QV_OK) m_eventsResult = QV_CONNECTION_BROKEN;
    m_notified = false; // what arrives from now on is told anew
    return result;
}

int32_t ClientSession::QueueEvent(const Header& h, const std::vector<uint8_t>& body) {
    std::lock_guard<std::mutex> lock(m_queueMutex);
    return QueueFrame(h, body);
}

int32_t ClientSession::QueueFrame(const Header& h, const std::vector<uint8_t>& body) {
    if (h.type != MsgType::Events) return QV_OK; // not meant for the queue
    Values event;
    if (!DecodeEvent(body.data(), body.size(), event)) return QV_PROTOCOL_ERROR;
    m_events.push_back(std::move(event));
    return QV_OK;
}

int32_t ClientSession::EventsCount() {
    std::lock_guard<std::mutex> lock(m_queueMutex);
    return static_cast<int32_t>(m_events.size());
}

int16_t ClientSession::NextEventType() {
    std::lock_guard<std::mutex> lock(m_queueMutex);
    return m_events.empty() ? 0 : static_cast<int16_t>(m_events.front()[0].i);
}

int32_t ClientSession::DiscardNextEvent() {
    std::lock_guard<std::mutex> lock(m_queueMutex);
    if (m_events.empty()) return QV_NO_EVENT;
    m_events.pop_front();
    if (m_events.empty()) m_notified = false;
    m_space.notify_one();
    return QV_OK;
}

int32_t ClientSession::PeekEvent(int16_t type, int16_t variant, Values& out) {
    std::lock_guard<std::mutex> lock(m_queueMutex);
    if (m_events.empty() || m_events.front()[0].i != type) return QV_NO_EVENT;
    return EventSection(m_events.front(), variant, out) ? QV_OK : QV_PROTOCOL_ERROR;
}

void ClientSession::PopEvent() {
    std::lock_guard<std::mutex> lock(m_queueMutex);
    if (!m_events.empty()) m_events.pop_front();
    if (m_events.empty()) m_notified = false;
    m_space.notify_one();
}

int32_t SessionTable::Add(std::shared_ptr<ClientSession> s) {
    std::lock_guard<std::mutex> lock(g_tableMutex);
    for (int i = 0; i < kMaxSessions; ++i) {
        if (!g_sessions[i]) {
            g_sessions[i] = std::move(s);
            return i + 1;
        }
    }
    return 0;
}

std::shared_ptr<ClientSession> SessionTable::Find(int32_t handle) {
    std::lock_guard<std::mutex> lock(g_tableMutex);
    if (handle < 1 || handle > kMaxSessions) return nullptr;
    return g_sessions[handle - 1];
}

std::shared_ptr<ClientSession> SessionTable::Remove(int32_t handle) {
    std::lock_guard<std::mutex> lock(g_tableMutex);
    if (handle < 1 || handle > kMaxSessions) return nullptr;
    return std::move(g_sessions[handle - 1]);
}

} // namespace qvclient
