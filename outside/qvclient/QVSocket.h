// TCP transport of framed messages, shared by the client library and the server.
// Every function works on a plain socket descriptor and reports failures as result codes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "outside/qvclient/QVWire.h"

namespace qvwire {

// Receive results besides 0.
constexpr int kRecvBroken = -14;    // peer closed or the socket failed
constexpr int kRecvTimeout = -23;   // nothing complete within the timeout
constexpr int kRecvMalformed = -22; // bad magic or version, unknown type, body above 10240

// Connects with Nagle's delay off. Returns the descriptor, or -1 with result set to -20 (name
// not resolved) or -21 (refused, unreachable, or not connected within timeoutMs).
int ConnectTcp(const std::string& host, uint16_t port, int timeoutMs, int32_t& result);
// Listens on host:port (SO_REUSEADDR); -1 on failure, with the reason in *why when given.
int ListenTcp(const std::string& host, uint16_t port, std::string* why = nullptr);
// Sends one frame whole; false when the connection failed.
bool SendFrame(int fd, Header h, const std::vector<uint8_t>& body);
// Reads one whole frame; timeoutMs < 0 waits without limit. Returns 0 or a kRecv code.
int RecvFrame(int fd, Header& h, std::vector<uint8_t>& body, int timeoutMs);
// True when the descriptor has bytes (or an end) waiting; timeoutMs < 0 waits without limit.
bool Readable(int fd, int timeoutMs);
// True when fd is -1, failed, or its peer has shut the connection down, whether or not bytes
// sent before that still wait to be read.
bool PeerClosed(int fd);
void CloseSocket(int fd);
// Wakes a thread blocked on the socket (shutdown both ways) without closing it.
void ShutdownSocket(int fd);

} // namespace qvwire
