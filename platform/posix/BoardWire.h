// Inside the platform, and shared with the board simulator: how programs reach the board.
// The board listens on Unix-domain sockets of the SOCK_SEQPACKET type in "<root>/.board/", so
// each message arrives whole. One connection per open device; every message is a Request (with
// its payload) answered by one Reply (with its payload).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::board {

// "<device root>/.board" and the sockets in it.
std::string BoardFolder();
std::string DeviceSocketPath();   // the drivers: one connection per open device
std::string ServicesSocketPath(); // the services host: the services API and its commands
std::string ControlSocketPath();  // the board: its commands (qvboard ctl)
// The board's notice of the pen drive at "\Hard Disk": one line "insertion N in" while the N-th
// drive the board has plugged is in, "insertion N out" once it was pulled. The board replaces
// it in one step on every plug and unplug; the file services read it (RemovableDrive.h).
std::string DriveNoticePath();

enum class Op : uint32_t {
    Open = 1,     // m_code access, m_arg share, payload the device name (UTF-16 units)
    Read = 2,     // m_arg the most bytes wanted
    Write = 3,    // payload the data
    Control = 4,  // m_code the control code, m_arg the out size, payload the input
    Activate = 5, // m_arg client information, payload the service name (UTF-16 units)
    Find = 6,     // m_arg the name buffer's bytes, payload the device prefix (UTF-16 units)
    Unload = 7,   // m_code the service handle
    Command = 8,  // payload a command line of qvboard ctl (UTF-8); the reply's payload its text
};

struct Request {
    uint32_t m_op;   // Op
    uint32_t m_code; // see Op
    uint32_t m_arg;  // see Op
    uint32_t m_size; // payload bytes that follow
};

struct Reply {
    uint32_t m_ok;    // non-zero on success
    uint32_t m_error; // the last error on failure
    uint32_t m_size;  // payload bytes that follow (data read, control output, text)
    uint32_t m_extra; // Control: bytes of an event name after the payload whose handle goes at
                      // the output's start; Activate and Find: the service handle
};

// Largest payload of one message.
constexpr size_t kMaxPayload = 65536 + 1024;

// A connected socket, -1 when nothing listens.
int Connect(const std::string& path);
// A listening socket at path (a stale one is replaced), -1 on failure.
int Listen(const std::string& path);

// One whole message of a head and a payload; false when the peer has gone.
bool Send(int fd, const void* head, size_t headSize, const void* payload, size_t payloadSize);
// One whole message into buffer; its size, 0 when the peer closed, -1 on error.
long Receive(int fd, std::vector<uint8_t>& buffer);

// A request and its reply on a connected socket: false when the board has gone or the reply is
// malformed; payload receives the reply's payload.
bool Call(int fd, const Request& request, const void* payload, Reply& reply,
          std::vector<uint8_t>& replyPayload);

// The UTF-16 text of size bytes at offset (empty when they are not there).
std::u16string UnitsOf(const std::vector<uint8_t>& bytes, size_t offset, size_t size);

} // namespace platform::board
