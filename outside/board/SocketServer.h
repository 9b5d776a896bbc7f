// Accepts connections on one of the board's sockets and serves each on a thread of its own,
// one request and its reply at a time, until the peer closes or the server stops.
#pragma once
#include <atomic>
#include <functional>
#include <list>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qvboard {

class SocketServer {
  public:
    // Serves one connection: called with the connected socket; returns when done (the server
    // closes the socket).
    using Serve = std::function<void(int fd)>;

    SocketServer() = default;
    ~SocketServer();
    SocketServer(const SocketServer&) = delete;
    SocketServer& operator=(const SocketServer&) = delete;

    // Listens at path; false when the socket cannot be made.
    bool Start(const std::string& path, Serve serve);
    // Stops accepting, ends every connection and waits for their threads.
    void Stop();

  private:
    void Accept();
    struct Connection {
        int m_fd;
        std::thread m_thread;
        std::atomic<bool> m_done{false};
    };
    void Reap(bool all); // joins finished connections (all: every one)

    std::string m_path;
    Serve m_serve;
    int m_listen = -1;
    std::atomic<bool> m_stopping{false};
    std::thread m_acceptor;
    std::mutex m_lock;
    std::list<Connection> m_connections;
};

// Sends a reply (BoardWire.h) with a payload; false when the peer has gone.
bool SendReply(int fd, bool ok, uint32_t error, const void* payload, size_t size,
               uint32_t extra = 0, const void* tail = nullptr, size_t tailSize = 0);

} // namespace qvboard
