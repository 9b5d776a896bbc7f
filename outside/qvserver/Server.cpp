// Connections of the forecourt server. A calls connection logs on with a Connect frame, whose
// reply hands the logon its session ID and a random attach key, and then sends Call frames,
// each answered by one Reply. An events connection attaches to a logon with a Connect frame
// carrying that session ID and key, once per logon, and then only receives Events frames.
// A malformed frame closes its connection and nothing else.
#include "outside/qvserver/Server.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/random.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

#include <arpa/inet.h>

#include "outside/qvclient/CodeTexts.h"
#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVSocket.h"
#include "outside/qvclient/ResultTexts.h"
#include "outside/qvserver/ForecourtService.h"
#include "outside/qvserver/Schema.h"
#include "outside/qvserver/TagText.h"
#include "outside/qvserver/Terminals.h"

namespace qvserver {

using namespace qvwire;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kAttachTimeoutMs = 5000;
// The call that reads the previous result does not replace it.
constexpr uint16_t kLastResultOp = OpCode("GetLastAPIResult");
constexpr auto kAcceptPause = std::chrono::milliseconds(100);
// Descriptors kept free of connections: SQLite opens its journal files as it needs them.
constexpr int kSpareDescriptors = 16;

// Empty, or six dash-separated groups of four hexadecimal digits.
bool HashKeyValid(const std::u16string& key) {
    if (key.empty()) return true;
    if (key.size() != 29) return false;
    for (size_t i = 0; i < key.size(); ++i) {
        const char16_t c = key[i];
        if (i % 5 == 4) {
            if (c != u'-') return false;
        } else if (c > 0x7F || !std::isxdigit(static_cast<int>(c))) {
            return false;
        }
    }
    return true;
}

// 128 random bits as 32 hexadecimal digits; empty when the system has no randomness to give.
std::u16string NewAttachKey() {
    uint8_t bits[16];
    size_t got = 0;
    while (got < sizeof bits) {
        const ssize_t n = getrandom(bits + got, sizeof bits - got, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return {};
        got += static_cast<size_t>(n);
    }
    static const char kHex[] = "0123456789abcdef";
    std::u16string key;
    for (uint8_t b : bits) {
        key += static_cast<char16_t>(kHex[b >> 4]);
        key += static_cast<char16_t>(kHex[b & 15]);
    }
    return key;
}

// Compares in a time that does not depend on where the texts differ.
bool SameKey(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size() || a.empty()) return false;
    unsigned diff = 0;
    for (size_t i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned>(a[i] ^ b[i]);
    return diff == 0;
}

bool SendReply(int fd, Header h, const Values& out) {
    Writer w;
    w.PutAll(out);
    if (w.Overflow()) {
        h.result = QV_MESSAGE_TOO_LONG;
        return SendFrame(fd, h, {});
    }
    return SendFrame(fd, h, w.Bytes());
}

bool Reply(int fd, const Header& request, int32_t result, int32_t session, const Values& out) {
    Header h = request;
    h.type = MsgType::Reply;
    h.session = session;
    h.result = result;
    return SendReply(fd, h, out);
}

} // namespace

Server::Server(Store& store, FaultPlan& faults)
    : m_store(store), m_faults(faults), m_ops(store, *this) {
    m_ops.SetLogonCounter([this] {
        std::lock_guard<std::mutex> lock(m_mutex);
        return static_cast<int32_t>(m_logons.size());
    });
}

void Server::SetForecourt(ForecourtService* forecourt) {
    m_forecourt = forecourt;
    m_ops.SetForecourt(forecourt);
}

Server::~Server() {
    CloseSocket(m_callListen);
    CloseSocket(m_eventListen);
    if (m_wake[0] >= 0) close(m_wake[0]);
    if (m_wake[1] >= 0) close(m_wake[1]);
}

bool Server::Listen(const std::string& address, uint16_t callPort, uint16_t eventsPort,
                    std::string& error) {
    std::string why;
    m_callListen = ListenTcp(address, callPort, &why);
    if (m_callListen < 0) {
        error = "cannot listen on " + address + " port " + std::to_string(callPort) + ": " + why;
        return false;
    }
    m_eventListen = ListenTcp(address, eventsPort, &why);
    if (m_eventListen < 0) {
        error = "cannot listen on " + address + " port " + std::to_string(eventsPort) + ": " + why;
        return false;
    }
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur != RLIM_INFINITY &&
        files.rlim_cur < static_cast<rlim_t>(INT32_MAX))
        m_fdCeiling = static_cast<int>(files.rlim_cur) - kSpareDescriptors;
    if (pipe(m_wake) != 0) {
        error = "cannot create the stop pipe";
        return false;
    }
    return true;
}

void Server::Stop() {
    m_stopping = true;
    const char b = 1;
    if (m_wake[1] >= 0 && write(m_wake[1], &b, 1) < 0) {
        // The pipe is full or closed: Run has been woken already.
    }
}

void Server::Run() {
    // While the process is out of descriptors or threads the listening sockets stay readable,
    // so accepting pauses instead of polling them again at once; waiting connections stay in
    // the backlog until resources are free.
    Clock::time_point pausedUntil{};
    while (!m_stopping) {
        const auto now = Clock::now();
        const bool paused = now < pausedUntil;
        const int waitMs =
            paused ? static_cast<int>(
                         std::chrono::duration_cast<std::chrono::milliseconds>(pausedUntil - now)
                             .count()) +
                         1
                   : 1000;
        pollfd fds[3] = {{paused ? -1 : m_callListen, POLLIN, 0},
                         {paused ? -1 : m_eventListen, POLLIN, 0},
                         {m_wake[0], POLLIN, 0}};
        if (poll(fds, 3, waitMs) < 0) continue;
        if (m_stopping) break;
        bool starved = false;
        if (fds[0].revents & POLLIN) starved |= !Accept(m_callListen, false);
        if (fds[1].revents & POLLIN) starved |= !Accept(m_eventListen, true);
        if (starved) {
            // Said once each time it runs short, not for every retry.
            if (!m_starved) std::fprintf(stderr, "qvserver: %s; accepting pauses\n", m_why.c_str());
            m_starved = true;
            pausedUntil = Clock::now() + kAcceptPause;
        }
        Reap(false);
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (Connection& c : m_connections)
            ShutdownSocket(c.fd);
    }
    Reap(true);
}

bool Server::Accept(int listenFd, bool events) {
    const int fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
        if (errno != EMFILE && errno != ENFILE && errno != ENOBUFS && errno != ENOMEM) return true;
        m_why = std::string("cannot accept a connection: ") + std::strerror(errno);
        return false;
    }
    if (fd >= m_fdCeiling) {
        // The last descriptors stay for the database's files and the events' wake pipes; the
        // peer sees its connection close.
        CloseSocket(fd);
        m_why = "too few descriptors left to serve another connection";
        return false;
    }
    if (m_starved) std::fprintf(stderr, "qvserver: accepting again\n");
    m_starved = false;
    const int one = 1; // replies go out at once
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_connections.emplace_back();
    Connection& c = m_connections.back();
    c.fd = fd;
    try {
        c.thread = std::thread([this, &c, events] {
            if (events)
                ServeEvents(c);
            else
                ServeCalls(c);
            // The peer learns of the end at once; the descriptor is closed when reaped.
            ShutdownSocket(c.fd);
            c.done = true;
        });
    } catch (const std::system_error&) {
        // No thread for it: the peer sees its connection close.
        m_why = "cannot start a connection's thread";
        m_connections.pop_back();
        CloseSocket(fd);
        return false;
    }
    return true;
}

void Server::Reap(bool all) {
    std::list<Connection> finished;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto it = m_connections.begin(); it != m_connections.end();) {
            auto next = std::next(it);
            if (all || it->done) finished.splice(finished.end(), m_connections, it);
            it = next;
        }
    }
    for (Connection& c : finished) {
        if (c.thread.joinable()) c.thread.join();
        CloseSocket(c.fd);
    }
}

Server::Answer Server::AnswerCall(CallsState& state, const Header& h,
                                  const std::vector<uint8_t>& body, Header& reply, Values& out) {
    out.clear();
    reply = h;
    reply.type = MsgType::Reply;
    reply.result = QV_OK;
    reply.session = 0;
    Values in;
    if (!DecodeValues(body.data(), body.size(), in)) return Answer::Close; // malformed body
    std::shared_ptr<Logon>& logon = state.m_logon;
    switch (h.type) {
    case MsgType::Connect: {
        const bool shape = SignatureOf(in) == "ihshsi";
        if (!shape || !HashKeyValid(in[4].s)) {
            reply.result = shape ? QV_ACCESS_DENIED : QV_INVALID_ARGUMENT;
            return Answer::Reply;
        }
        auto fresh = std::make_shared<Logon>();
        fresh->attachKey = NewAttachKey();
        if (fresh->attachKey.empty()) {
            reply.result = QV_FAILED;
            return Answer::Reply;
        }
        fresh->info.clientID = static_cast<int32_t>(in[0].i);
        fresh->info.clientType = static_cast<int16_t>(in[1].i);
        fresh->info.eventMask = static_cast<int32_t>(in[5].i);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (logon) m_logons.erase(logon->info.sessionID);
            fresh->info.sessionID = m_nextSession++;
            m_logons[fresh->info.sessionID] = fresh;
        }
        logon = fresh;
        reply.session = logon->info.sessionID;
        Notice(kNoticeClientLogon, "Client " + std::to_string(logon->info.clientID));
        out = {Value::Text(logon->attachKey)};
        return Answer::Reply;
    }
    case MsgType::Disconnect:
        return Answer::ReplyAndClose;
    case MsgType::Ping:
        reply.type = MsgType::Pong;
        return Answer::Reply;
    case MsgType::Call:
        if (h.op == kControlOp) {
            std::string answer;
            reply.result = Control(state, in, answer);
            out = {Value::Text(ToU16(answer))};
            return Answer::Reply;
        }
        reply.result = QV_NOT_LOGGED_ON;
        if (logon) {
            reply.session = logon->info.sessionID;
            reply.result = m_faults.Next(std::string(OpName(h.op)));
            if (reply.result == 0) {
                std::lock_guard<std::mutex> lock(m_store.Mutex());
                reply.result = m_ops.Run(h.op, logon->info, in, out);
            }
            if (reply.result != 0) out.clear();
            // Injected failures count too: they are what this client was answered.
            if (h.op != kLastResultOp) logon->info.lastResult = reply.result;
        }
        return Answer::Reply;
    default:
        return Answer::Close; // a type that has no place on a calls connection
    }
}

void Server::EndCalls(CallsState& state) {
    if (!state.m_logon) return;
    const int32_t clientID = state.m_logon->info.clientID;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_logons.erase(state.m_logon->info.sessionID);
        // Its events connection ends with the logon.
        if (state.m_logon->outbox) state.m_logon->outbox->Close();
        state.m_logon.reset();
    }
    Notice(kNoticeClientLogoff, "Client " + std::to_string(clientID));
}

void Server::Notice(int32_t eventID, const std::string& text) {
    Broadcast({Value::I16(qvwire::kEventServer), Value::I16(0), Value::I16(2), Value::I32(eventID),
               Value::Text(ToU16(text))});
}

void Server::ServeCalls(Connection& c) {
    CallsState state;
    state.fd = c.fd;
    sockaddr_in peer{};
    socklen_t len = sizeof peer;
    state.loopback = getpeername(c.fd, reinterpret_cast<sockaddr*>(&peer), &len) == 0 &&
                     peer.sin_family == AF_INET && (ntohl(peer.sin_addr.s_addr) >> 24) == 127;
    Header h, reply;
    std::vector<uint8_t> body;
    Values out;
    while (!m_stopping && RecvFrame(c.fd, h, body, -1) == 0) {
        const Answer a = AnswerCall(state, h, body, reply, out);
        if (a == Answer::Close || !SendReply(c.fd, reply, out) || a == Answer::ReplyAndClose) break;
    }
    EndCalls(state);
}

void Server::ServeEvents(Connection& c) {
    Header h;
    std::vector<uint8_t> body;
    if (RecvFrame(c.fd, h, body, kAttachTimeoutMs) != 0 || h.type != MsgType::Connect) return;
    Values in;
    if (!DecodeValues(body.data(), body.size(), in) || SignatureOf(in) != "s") {
        Reply(c.fd, h, QV_INVALID_ARGUMENT, 0, {});
        return;
    }
    // A refused attach leaves the logon as it was.
    std::shared_ptr<Logon> logon;
    int32_t refusal = QV_NOT_LOGGED_ON;
    auto outbox = std::make_shared<EventOutbox>();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_logons.find(h.session);
        if (it != m_logons.end()) {
            refusal = QV_ACCESS_DENIED;
            // One events connection at a time: a logon whose connection ended may attach anew.
            const bool free = !it->second->attached || !it->second->outbox;
            if (free && SameKey(it->second->attachKey, in[0].s)) {
                logon = it->second;
                logon->attached = true;
                logon->outbox = outbox;
            }
        }
    }
    if (!logon) {
        Reply(c.fd, h, refusal, 0, {});
        return;
    }
    // Events queued from now on are written after this reply.
    if (Reply(c.fd, h, QV_OK, h.session, {})) outbox->Run(c.fd);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (logon->outbox == outbox) logon->outbox.reset();
}

void Server::Broadcast(const Values& event) {
    Writer w;
    w.PutAll(event);
    if (w.Overflow()) return;
    const std::vector<uint8_t>& body = w.Bytes();
    Header h;
    h.type = MsgType::Events;
    h.bodyLen = static_cast<uint16_t>(body.size());
    const int16_t type = event.empty() ? 0 : static_cast<int16_t>(event[0].i);
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto& kv : m_logons) {
        const std::shared_ptr<EventOutbox>& outbox = kv.second->outbox;
        if (!outbox || !MaskWants(kv.second->info.eventMask, type)) continue;
        std::vector<uint8_t> frame(kHeaderSize + body.size());
        h.session = kv.first;
        EncodeHeader(h, frame.data());
        std::copy(body.begin(), body.end(), frame.begin() + kHeaderSize);
        outbox->Push(std::move(frame));
    }
}

void Server::DropEvents() {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto& kv : m_logons)
        if (kv.second->outbox) kv.second->outbox->Close();
}

void Server::DropClients(int keepFd) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (Connection& c : m_connections)
        if (c.fd != keepFd) ShutdownSocket(c.fd);
}

namespace {

// A whole number argument of up to 64 bits (ZigBee addresses do not fit a double).
bool Integer(const Values& in, size_t at, int64_t& out) {
    if (at >= in.size() || in[at].tag != Tag::Text) return false;
    const std::string s = ToU8(in[at].s);
    char* end = nullptr;
    out = std::strtoll(s.c_str(), &end, 0);
    return !s.empty() && *end == 0;
}

bool Number(const Values& in, size_t at, double& out) {
    if (at >= in.size() || in[at].tag != Tag::Text) return false;
    const std::string s = ToU8(in[at].s);
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return !s.empty() && *end == 0;
}

// Why a control command was refused: the library's text of the result, or a closer one for
// the results that mean something else on the control channel.
std::string RefusalText(int32_t result) {
    switch (result) {
    case QV_ACCESS_DENIED:
        return "commands are taken only from this host";
    case QV_INVALID_ARGUMENT:
        return "an argument is not a number in range";
    case QV_NOT_SUPPORTED:
        return "the forecourt is not running";
    default:
        return qvclient::ResultText(result);
    }
}

} // namespace

int32_t Server::ZB2GStatus(const Values& in) {
    // PORT ZBADDRESS LQI RSSI PARENT CHANNEL MEMBLOCKS MEMFREE DEVICETYPE
    std::array<int64_t, 9> v{};
    for (size_t k = 0; k < v.size(); ++k)
        if (!Integer(in, k + 1, v[k])) return QV_INVALID_ARGUMENT;
    if (!m_store.Exists(kPort, static_cast<int32_t>(v[0]))) return QV_UNKNOWN_ID;
    auto h = [&](size_t k) { return Value::I16(static_cast<int16_t>(v[k])); };
    auto i = [&](size_t k) { return Value::I32(static_cast<int32_t>(v[k])); };
    Broadcast({Value::I16(qvwire::kEventZB2GStatus), Value::I16(0), Value::I16(9), i(0),
               Value::I64(v[1]), h(2), h(3), Value::I64(v[4]), h(5), i(6), i(7), h(8)});
    return QV_OK;
}

int32_t Server::OdometerReport(const Values& in) {
    // PORT ZBADDRESS LQI RSSI PARENT CHANNEL MEMBLOCKS MEMFREE DEVICETYPE CLIENTID ODO1 FACTOR1
    // LEVEL1 ODO2 FACTOR2 LEVEL2 TAG1 TAG2 TAG3 TAG4 FUELTYPES; the odometers are decimals.
    constexpr size_t kCount = 21, kOdo1 = 10, kOdo2 = 13;
    std::array<int64_t, kCount> v{};
    double odo1 = 0, odo2 = 0;
    for (size_t k = 0; k < kCount; ++k) {
        const bool ok = k == kOdo1   ? Number(in, k + 1, odo1)
                        : k == kOdo2 ? Number(in, k + 1, odo2)
                                     : Integer(in, k + 1, v[k]);
        if (!ok) return QV_INVALID_ARGUMENT;
    }
    const auto clientID = static_cast<int32_t>(v[9]);
    Row client;
    if (!m_store.Exists(kPort, static_cast<int32_t>(v[0])) ||
        !m_store.Fetch(kCardClient, clientID, client))
        return QV_UNKNOWN_ID;
    // The reading is the client's odometer from now on.
    const int32_t stored = m_store.Set(kCardClient, clientID, {"Odometer", "Factor"},
                                       {Value::F64(odo1), Value::I32(static_cast<int32_t>(v[11]))});
    if (stored != QV_OK) return stored;
    auto text = [&](const char* field) {
        auto it = client.find(field);
        return it != client.end() && it->second.tag == Tag::Text ? it->second.s : u"";
    };
    const int64_t clientTag = TagNumber(text("Tag"));
    auto h = [&](size_t k) { return Value::I16(static_cast<int16_t>(v[k])); };
    auto i = [&](size_t k) { return Value::I32(static_cast<int32_t>(v[k])); };
    auto l = [&](size_t k) { return Value::I64(v[k]); };
    Broadcast({Value::I16(qvwire::kEventQVOdo),
               Value::I16(0),
               Value::I16(24),
               i(0),
               l(1),
               h(2),
               h(3),
               l(4),
               h(5),
               i(6),
               i(7),
               h(8),
               i(9),
               Value::Text(text("Name")),
               Value::I64(clientTag),
               Value::F64(odo1),
               i(11),
               h(12),
               Value::F64(odo2),
               i(14),
               h(15),
               l(16),
               l(17),
               l(18),
               l(19),
               i(20),
               Value::Text(text("Plate"))});
    return QV_OK;
}

// Commands: nozzle-up PUMP HOSE, nozzle-down PUMP, flow PUMP LITRES_PER_MINUTE, card PUMP TAG
// [NAME] (TAG in hexadecimal), tank-drop TANK LITRES, pump-error PUMP STATE (0 clears), offline
// PUMP 1|0, drop-clients, drop-events (closes the events connections, the logons stay), advance MS,
// status PUMP, zb-status PORT ZBADDRESS LQI RSSI PARENT CHANNEL MEMBLOCKS MEMFREE DEVICETYPE
// (a coordinator's report of a device), prompt-answer PUMP RESULT [INPUT] (the terminal's
// answer to the waiting prompt), odo PORT ... (an odometer's report, see OdometerReport),
// line-mode PORT (its serial line's mode), terminal PUMP (its beeps, lights and waiting prompt).
int32_t Server::Control(CallsState& state, const Values& in, std::string& answer) {
    if (!state.loopback) return QV_ACCESS_DENIED;
    if (in.empty() || in[0].tag != Tag::Text) return QV_INVALID_ARGUMENT;
    const std::string cmd = ToU8(in[0].s);
    if (cmd == "drop-clients") {
        DropClients(state.fd);
        answer = "dropped";
        return QV_OK;
    }
    if (cmd == "drop-events") {
        DropEvents();
        answer = "dropped";
        return QV_OK;
    }
    if (!m_forecourt) return QV_NOT_SUPPORTED;
    double a = 0, b = 0;
    const bool one = Number(in, 1, a);
    const bool two = one && Number(in, 2, b);
    const int32_t id = static_cast<int32_t>(a);
    std::lock_guard<std::mutex> lock(m_store.Mutex());
    Forecourt& fc = m_forecourt->Engine();
    int32_t r = QV_INVALID_ARGUMENT;
    if (cmd == "nozzle-up" && two) {
        r = fc.NozzleUp(id, static_cast<int32_t>(b));
    } else if (cmd == "nozzle-down" && one) {
        r = fc.NozzleDown(id);
    } else if (cmd == "flow" && two) {
        r = fc.SetFlowRate(id, b);
    } else if (cmd == "tank-drop" && two) {
        r = fc.TankDrop(id, b);
    } else if (cmd == "pump-error" && two) {
        r = fc.PumpError(id, static_cast<int16_t>(b));
    } else if (cmd == "offline" && two) {
        r = fc.SetPumpOffline(id, b != 0);
        if (r == QV_OK)
            Notice(b != 0 ? kNoticePumpOffline : kNoticePumpOnline, "Pump " + std::to_string(id));
    } else if (cmd == "zb-status") {
        r = ZB2GStatus(in);
    } else if (cmd == "odo") {
        r = OdometerReport(in);
    } else if (cmd == "prompt-answer" && two) {
        const std::u16string input = in.size() > 3 && in[3].tag == Tag::Text ? in[3].s : u"";
        int32_t promptID = 0;
        r = AnswerTermPrompt(m_store, id, static_cast<int16_t>(b), input, promptID);
        if (r == QV_OK)
            Broadcast({Value::I16(qvwire::kEventTermPrompt), Value::I16(0), Value::I16(4),
                       Value::I32(id), Value::I32(promptID), Value::I16(static_cast<int16_t>(b)),
                       Value::Text(input)});
    } else if (cmd == "line-mode" && one) {
        const int32_t mode = PortLineMode(m_store, id);
        r = mode < 0 ? QV_UNKNOWN_ID : QV_OK;
        if (r == QV_OK) answer = std::to_string(mode);
    } else if (cmd == "terminal" && one) {
        r = m_store.Exists(kPump, id) ? QV_OK : QV_UNKNOWN_ID;
        if (r == QV_OK) answer = DescribeTerminal(m_store, id);
    } else if (cmd == "card" && one && in.size() > 2 && in[2].tag == Tag::Text) {
        // The tag as the reader shows it: hexadecimal digits.
        const int64_t tag = TagNumber(in[2].s);
        int32_t read = 0;
        const std::u16string name = in.size() > 3 && in[3].tag == Tag::Text ? in[3].s : u"";
        r = tag < 0 ? QV_INVALID_ARGUMENT : m_forecourt->CardRead(id, name, tag, read);
        if (r == QV_OK) answer = std::to_string(read);
    } else if (cmd == "advance" && one && a >= 0) {
        m_forecourt->Advance(static_cast<int64_t>(a));
        r = QV_OK;
    } else if (cmd == "status" && one) {
        PumpStatusRecord s;
        r = fc.GetPumpStatus(id, s) ? QV_OK : QV_UNKNOWN_ID;
        if (r == QV_OK)
            answer = "state " + std::to_string(s.state) + " (" + qvclient::PumpStateText(s.state) +
                     ") hose " + std::to_string(s.hoseNumber) + " volume " +
                     std::to_string(s.volume) + " value " + std::to_string(s.value) + " stack " +
                     std::to_string(s.stackSize);
    }
    if (answer.empty())
        answer = r == QV_OK ? "ok" : "refused " + std::to_string(r) + " (" + RefusalText(r) + ")";
    return r;
}

} // namespace qvserver
