// Winsock sockets for the framed message transport (the Windows build of the client library).
// A socket handle is kept in the int descriptors of QVSocket.h: on 32-bit Windows it fits.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <cstring>
#include <mutex>

#include "outside/qvclient/QVSocket.h"

namespace qvwire {

namespace {

using Clock = std::chrono::steady_clock;

// Winsock is started once for the process and stays up until it ends.
bool Started() {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] {
        WSADATA data{};
        ok = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    });
    return ok;
}

SOCKET Sock(int fd) {
    return static_cast<SOCKET>(fd);
}

int RemainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

// select on one socket for reading or writing; timeoutMs < 0 waits without limit. Returns
// select's result: 1 ready, 0 timed out, -1 failed.
int WaitFor(int fd, bool write, int timeoutMs) {
    fd_set ready;
    fd_set failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(Sock(fd), &ready);
    FD_SET(Sock(fd), &failed);
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    const int rc = select(0, write ? nullptr : &ready, write ? &ready : nullptr, &failed,
                          timeoutMs < 0 ? nullptr : &tv);
    if (rc > 0 && FD_ISSET(Sock(fd), &failed) && !FD_ISSET(Sock(fd), &ready)) return -1;
    return rc;
}

bool Resolve(const std::string& host, uint16_t port, sockaddr_storage& addr, int& len) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* res = nullptr;
    const std::string name = host.empty() || host == "<local>" ? "127.0.0.1" : host;
    if (getaddrinfo(name.c_str(), std::to_string(port).c_str(), &hints, &res) != 0 || !res)
        return false;
    std::memcpy(&addr, res->ai_addr, res->ai_addrlen);
    len = static_cast<int>(res->ai_addrlen);
    freeaddrinfo(res);
    return true;
}

// Reads exactly n bytes before the deadline (no deadline when timeoutMs < 0).
int ReadExact(int fd, uint8_t* p, size_t n, int timeoutMs, Clock::time_point deadline) {
    while (n > 0) {
        const int rc = WaitFor(fd, false, timeoutMs < 0 ? -1 : RemainingMs(deadline));
        if (rc < 0) return kRecvBroken;
        if (rc == 0) return kRecvTimeout;
        const int got = recv(Sock(fd), reinterpret_cast<char*>(p), static_cast<int>(n), 0);
        if (got <= 0) return kRecvBroken;
        p += got;
        n -= static_cast<size_t>(got);
    }
    return 0;
}

} // namespace

int ConnectTcp(const std::string& host, uint16_t port, int timeoutMs, int32_t& result) {
    sockaddr_storage addr{};
    int len = 0;
    if (!Started() || !Resolve(host, port, addr, len)) {
        result = -20;
        return -1;
    }
    result = -21;
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return -1;
    const int fd = static_cast<int>(s);
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    int rc = connect(s, reinterpret_cast<sockaddr*>(&addr), len);
    if (rc == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK)
        rc = WaitFor(fd, true, timeoutMs) == 1 ? 0 : -1;
    if (rc != 0) {
        closesocket(s);
        return -1;
    }
    nonBlocking = 0;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    const BOOL one = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
    result = 0;
    return fd;
}

int ListenTcp(const std::string& host, uint16_t port, std::string* why) {
    const auto fail = [why](const std::string& reason) {
        if (why) *why = reason;
        return -1;
    };
    sockaddr_storage addr{};
    int len = 0;
    if (!Started()) return fail("Winsock cannot be started");
    if (!Resolve(host, port, addr, len)) return fail("the address cannot be resolved");
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return fail("no socket");
    const BOOL one = TRUE;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&one), sizeof one);
    if (bind(s, reinterpret_cast<sockaddr*>(&addr), len) != 0 || listen(s, 64) != 0) {
        const std::string reason = "error " + std::to_string(WSAGetLastError());
        closesocket(s);
        return fail(reason);
    }
    return static_cast<int>(s);
}

bool SendFrame(int fd, Header h, const std::vector<uint8_t>& body) {
    if (fd < 0 || body.size() > kMaxBody) return false;
    h.bodyLen = static_cast<uint16_t>(body.size());
    std::vector<uint8_t> frame(kHeaderSize + body.size());
    EncodeHeader(h, frame.data());
    if (!body.empty()) std::memcpy(frame.data() + kHeaderSize, body.data(), body.size());
    size_t sent = 0;
    while (sent < frame.size()) {
        const int n = send(Sock(fd), reinterpret_cast<const char*>(frame.data() + sent),
                           static_cast<int>(frame.size() - sent), 0);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

int RecvFrame(int fd, Header& h, std::vector<uint8_t>& body, int timeoutMs) {
    if (fd < 0) return kRecvBroken;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    uint8_t raw[kHeaderSize];
    int rc = ReadExact(fd, raw, kHeaderSize, timeoutMs, deadline);
    if (rc != 0) return rc;
    if (!DecodeHeader(raw, h)) return kRecvMalformed;
    body.resize(h.bodyLen);
    if (h.bodyLen == 0) return 0;
    return ReadExact(fd, body.data(), h.bodyLen, timeoutMs, deadline);
}

bool Readable(int fd, int timeoutMs) {
    return WaitFor(fd, false, timeoutMs) > 0;
}

// Winsock has no notice of a half-closed peer: a readable socket whose peek finds the end (or
// a failure) is closed; one with bytes waiting is taken as open.
bool PeerClosed(int fd) {
    if (fd < 0) return true;
    const int rc = WaitFor(fd, false, 0);
    if (rc < 0) return true;
    if (rc == 0) return false;
    char c = 0;
    return recv(Sock(fd), &c, 1, MSG_PEEK) <= 0;
}

void CloseSocket(int fd) {
    if (fd >= 0) closesocket(Sock(fd));
}

void ShutdownSocket(int fd) {
    if (fd >= 0) shutdown(Sock(fd), SD_BOTH);
}

} // namespace qvwire
