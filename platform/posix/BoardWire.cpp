// Sockets to the board (see BoardWire.h).
#include "platform/posix/BoardWire.h"

#include <sys/socket.h>
#include <sys/uio.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/Paths.h"

namespace platform::board {

namespace {

bool Address(const std::string& path, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

} // namespace

std::string BoardFolder() {
    return DeviceRoot() + "/.board";
}
std::string DeviceSocketPath() {
    return BoardFolder() + "/devices";
}
std::string ServicesSocketPath() {
    return BoardFolder() + "/services";
}
std::string ControlSocketPath() {
    return BoardFolder() + "/control";
}
std::string DriveNoticePath() {
    return BoardFolder() + "/drive";
}

int Connect(const std::string& path) {
    sockaddr_un addr;
    if (!Address(path, addr)) return -1;
    const int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

int Listen(const std::string& path) {
    sockaddr_un addr;
    if (!Address(path, addr)) return -1;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    unlink(path.c_str());
    const int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 64) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool Send(int fd, const void* head, size_t headSize, const void* payload, size_t payloadSize) {
    iovec parts[2] = {{const_cast<void*>(head), headSize},
                      {const_cast<void*>(payload), payloadSize}};
    msghdr msg{};
    msg.msg_iov = parts;
    msg.msg_iovlen = payloadSize > 0 ? 2 : 1;
    ssize_t n;
    do {
        n = sendmsg(fd, &msg, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n == static_cast<ssize_t>(headSize + payloadSize);
}

long Receive(int fd, std::vector<uint8_t>& buffer) {
    // One scratch area per thread, so a small message costs no large clearing of a buffer.
    thread_local std::vector<uint8_t> scratch(sizeof(Request) + kMaxPayload);
    ssize_t n;
    do {
        n = recv(fd, scratch.data(), scratch.size(), 0);
    } while (n < 0 && errno == EINTR);
    buffer.assign(scratch.data(), scratch.data() + (n > 0 ? n : 0));
    return n;
}

bool Call(int fd, const Request& request, const void* payload, Reply& reply,
          std::vector<uint8_t>& replyPayload) {
    if (!Send(fd, &request, sizeof request, payload, request.m_size)) return false;
    std::vector<uint8_t> message;
    const long n = Receive(fd, message);
    if (n < static_cast<long>(sizeof reply)) return false;
    std::memcpy(&reply, message.data(), sizeof reply);
    const size_t rest = static_cast<size_t>(n) - sizeof reply;
    if (reply.m_size > rest) return false;
    replyPayload.assign(message.begin() + sizeof reply, message.end());
    return true;
}

std::u16string UnitsOf(const std::vector<uint8_t>& bytes, size_t offset, size_t size) {
    if (offset > bytes.size() || size > bytes.size() - offset) return {};
    std::u16string out(size / 2, u'\0');
    std::memcpy(out.data(), bytes.data() + offset, out.size() * 2);
    return out;
}

} // namespace platform::board
