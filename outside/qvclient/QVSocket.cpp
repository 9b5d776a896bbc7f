// POSIX sockets for the framed message transport.
#include "outside/qvclient/QVSocket.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qvwire {

namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

bool Resolve(const std::string& host, uint16_t port, sockaddr_storage& addr, socklen_t& len) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* res = nullptr;
    const std::string name = host.empty() || host == "<local>" ? "127.0.0.1" : host;
    if (getaddrinfo(name.c_str(), std::to_string(port).c_str(), &hints, &res) != 0 || !res)
        return false;
    std::memcpy(&addr, res->ai_addr, res->ai_addrlen);
    len = res->ai_addrlen;
    freeaddrinfo(res);
    return true;
}

// An answer on loopback usually arrives within microseconds; blocking in poll at once adds the
// scheduler's wake-up latency (tens of microseconds on a virtual machine) to every call, so a
// reader first tries for a short while without blocking. Returns recv's result, or -1 with
// EAGAIN when nothing came in that time.
ssize_t RecvSpinning(int fd, uint8_t* p, size_t n) {
    constexpr auto kSpin = std::chrono::microseconds(60);
    const auto until = Clock::now() + kSpin;
    for (;;) {
        const ssize_t got = recv(fd, p, n, MSG_DONTWAIT);
        if (got >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) return got;
        if (Clock::now() >= until) return -1;
    }
}

// Reads exactly n bytes before the deadline (no deadline when timeoutMs < 0).
int ReadExact(int fd, uint8_t* p, size_t n, int timeoutMs, Clock::time_point deadline) {
    while (n > 0) {
        const ssize_t quick = RecvSpinning(fd, p, n);
        if (quick == 0) return kRecvBroken;
        if (quick > 0) {
            p += quick;
            n -= static_cast<size_t>(quick);
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return kRecvBroken;
        pollfd pfd{fd, POLLIN, 0};
        const int wait = timeoutMs < 0 ? -1 : RemainingMs(deadline);
        const int pr = poll(&pfd, 1, wait);
        if (pr < 0 && errno == EINTR) continue;
        if (pr < 0) return kRecvBroken;
        if (pr == 0) return kRecvTimeout;
        const ssize_t got = recv(fd, p, n, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) return kRecvBroken;
        p += got;
        n -= static_cast<size_t>(got);
    }
    return 0;
}

} // namespace

int ConnectTcp(const std::string& host, uint16_t port, int timeoutMs, int32_t& result) {
    sockaddr_storage addr{};
    socklen_t len = 0;
    if (!Resolve(host, port, addr, len)) {
        result = -20;
        return -1;
    }
    result = -21;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    const int flags = fcntl(fd, F_GETFL, 0);
    fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    int rc = connect(fd, reinterpret_cast<sockaddr*>(&addr), len);
    if (rc < 0 && errno == EINPROGRESS) {
        pollfd pfd{fd, POLLOUT, 0};
        do {
            rc = poll(&pfd, 1, timeoutMs);
        } while (rc < 0 && errno == EINTR);
        int err = 0;
        socklen_t elen = sizeof err;
        if (rc == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &elen) == 0 && err == 0)
            rc = 0;
        else
            rc = -1;
    }
    if (rc != 0) {
        close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, flags);
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    result = 0;
    return fd;
}

int ListenTcp(const std::string& host, uint16_t port, std::string* why) {
    const auto fail = [why](const std::string& reason) {
        if (why) *why = reason;
        return -1;
    };
    sockaddr_storage addr{};
    socklen_t len = 0;
    if (!Resolve(host, port, addr, len)) return fail("the address cannot be resolved");
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return fail(std::strerror(errno));
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 || listen(fd, 64) != 0) {
        const std::string reason = std::strerror(errno);
        close(fd);
        return fail(reason);
    }
    return fd;
}

bool SendFrame(int fd, Header h, const std::vector<uint8_t>& body) {
    if (fd < 0 || body.size() > kMaxBody) return false;
    h.bodyLen = static_cast<uint16_t>(body.size());
    std::vector<uint8_t> frame(kHeaderSize + body.size());
    EncodeHeader(h, frame.data());
    if (!body.empty()) std::memcpy(frame.data() + kHeaderSize, body.data(), body.size());
    size_t sent = 0;
    while (sent < frame.size()) {
        const ssize_t n = send(fd, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
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
    pollfd pfd{fd, POLLIN, 0};
    int rc;
    do {
        rc = poll(&pfd, 1, timeoutMs);
    } while (rc < 0 && errno == EINTR);
    return rc > 0;
}

bool PeerClosed(int fd) {
    if (fd < 0) return true;
    pollfd pfd{fd, POLLRDHUP, 0};
    return poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL));
}

void CloseSocket(int fd) {
    if (fd >= 0) close(fd);
}

void ShutdownSocket(int fd) {
    if (fd >= 0) shutdown(fd, SHUT_RDWR);
}

} // namespace qvwire
