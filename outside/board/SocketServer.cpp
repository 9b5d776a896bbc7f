#include "outside/board/SocketServer.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/posix/BoardWire.h"

namespace qvboard {

SocketServer::~SocketServer() {
    Stop();
}

bool SocketServer::Start(const std::string& path, Serve serve) {
    m_path = path;
    m_serve = std::move(serve);
    m_listen = platform::board::Listen(path);
    if (m_listen < 0) return false;
    m_acceptor = std::thread([this] { Accept(); });
    return true;
}

void SocketServer::Stop() {
    if (m_listen < 0) return;
    m_stopping = true;
    shutdown(m_listen, SHUT_RDWR); // wakes the acceptor
    m_acceptor.join();
    close(m_listen);
    m_listen = -1;
    unlink(m_path.c_str());
    {
        std::lock_guard<std::mutex> hold(m_lock);
        for (Connection& c : m_connections)
            shutdown(c.m_fd, SHUT_RDWR);
    }
    Reap(true);
}

void SocketServer::Accept() {
    while (!m_stopping) {
        const int fd = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if (m_stopping) return;
            if (errno == EMFILE || errno == ENFILE) {
                Reap(false);
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                continue;
            }
            return;
        }
        Reap(false);
        std::lock_guard<std::mutex> hold(m_lock);
        m_connections.emplace_back();
        Connection& c = m_connections.back();
        c.m_fd = fd;
        c.m_thread = std::thread([this, &c] {
            m_serve(c.m_fd);
            c.m_done = true;
        });
    }
}

void SocketServer::Reap(bool all) {
    std::list<Connection> ended;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        for (auto it = m_connections.begin(); it != m_connections.end();) {
            auto next = std::next(it);
            if (all || it->m_done) ended.splice(ended.end(), m_connections, it);
            it = next;
        }
    }
    for (Connection& c : ended) {
        c.m_thread.join();
        close(c.m_fd);
    }
}

bool SendReply(int fd, bool ok, uint32_t error, const void* payload, size_t size, uint32_t extra,
               const void* tail, size_t tailSize) {
    const platform::board::Reply reply{ok ? 1u : 0u, error, static_cast<uint32_t>(size), extra};
    if (tailSize == 0) return platform::board::Send(fd, &reply, sizeof reply, payload, size);
    std::vector<uint8_t> all(size + tailSize);
    if (size > 0) std::memcpy(all.data(), payload, size);
    std::memcpy(all.data() + size, tail, tailSize);
    return platform::board::Send(fd, &reply, sizeof reply, all.data(), all.size());
}

} // namespace qvboard
