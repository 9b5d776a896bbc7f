#include "logservice/CSocket.h"

#include <array>
#include <cstring>

#include "platform/Clock.h"

namespace {

constexpr std::array<const char*, CSocket::kMsgTypeCount> kMsgTypeNames = {
    "INVALID", "CONNECT", "DISCONNECT", "PING", "PONG", "EVENTS", "SHUTDOWN", "CLOSE"};

} // namespace

const char* CSocket::MsgTypeName(int32_t type) {
    if (type < 0 || type >= kMsgTypeCount) return kMsgTypeNames[kInvalid];
    return kMsgTypeNames[static_cast<size_t>(type)];
}

CSocket::CSocket(CLog& log) : m_log(log) {}

CSocket::~CSocket() = default;

int32_t CSocket::Read(uint8_t*, int32_t, int32_t) {
    return -1;
}

int32_t CSocket::ReadMsg(uint8_t* msg) {
    if (m_socket == -1) return kMsgReadFailed;
    const int32_t got = Read(msg, kHeaderSize, kReadHeader);
    if (got == 0) return kMsgPeerClosed;
    if (got < 0) return kMsgReadFailed;
    if (got != kHeaderSize) {
        m_log.Write("Error on hdr read, expecting %d, read %d.", kHeaderSize, got);
        return kMsgShortRead;
    }
    const int32_t length = msg[kLengthOffset] | (msg[kLengthOffset + 1] << 8);
    if (length > kMaxBody) {
        m_log.Write("Error msg size  %d > %d.", length, kMaxBody);
        return kMsgTooLong;
    }
    if (length != 0) {
        const int32_t body = Read(msg + kHeaderSize, length, kReadBody);
        if (body < 0) return kMsgReadFailed;
        // A body read of 0 bytes is a short read here, not a close: the header has arrived.
        if (body != length) {
            m_log.Write("Error on body read, expecting %d, read %d.", length, body);
            return kMsgShortRead;
        }
    }
    m_lastMsgTick = platform::TickCount();
    return kMsgOk;
}

uintptr_t CSocket::ReadMsgAddress() {
    // A pointer to a non-virtual member function holds the function's address first (the
    // Itanium C++ ABI that GCC and Clang follow).
    const auto member = &CSocket::ReadMsg;
    uintptr_t address = 0;
    static_assert(sizeof member >= sizeof address);
    std::memcpy(&address, &member, sizeof address);
    return address;
}
