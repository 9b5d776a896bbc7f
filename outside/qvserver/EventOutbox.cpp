// One events connection's outbox: a bounded queue and a writer that never blocks on a peer.
#include "outside/qvserver/EventOutbox.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qvserver {

EventOutbox::EventOutbox() {
    if (pipe2(m_wake, O_NONBLOCK | O_CLOEXEC) != 0) {
        m_wake[0] = m_wake[1] = -1;
        m_closed = true; // without its wake pipe Run could not be stopped: refuse events
    }
}

EventOutbox::~EventOutbox() {
    for (int fd : m_wake)
        if (fd >= 0) close(fd);
}

void EventOutbox::Wake() {
    if (m_woken || m_wake[1] < 0) return;
    const char b = 1;
    m_woken = write(m_wake[1], &b, 1) == 1;
}

void EventOutbox::Drain() {
    char buf[16];
    while (read(m_wake[0], buf, sizeof buf) > 0) {
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_woken = false;
}

void EventOutbox::Clear() {
    m_frames.clear();
    m_bytes = 0;
}

bool EventOutbox::Push(std::vector<uint8_t> frame) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_closed) return false;
    if (m_bytes + frame.size() > kMaxBytes) {
        m_closed = true; // the client stopped reading: it is disconnected
        Clear();
        Wake();
        return false;
    }
    m_bytes += frame.size();
    m_frames.push_back(std::move(frame));
    Wake();
    return true;
}

void EventOutbox::Close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
    Clear();
    Wake();
}

void EventOutbox::Run(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL, 0) | O_NONBLOCK);
    std::vector<uint8_t> current; // the frame being written
    size_t sent = 0;              // bytes of it already written
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_closed) break;
            if (current.empty() && !m_frames.empty()) {
                current = std::move(m_frames.front());
                m_frames.pop_front();
                m_bytes -= current.size();
                sent = 0;
            }
        }
        pollfd fds[2] = {{fd, static_cast<short>(POLLIN | (current.empty() ? 0 : POLLOUT)), 0},
                         {m_wake[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[1].revents & POLLIN) Drain();
        if (fds[0].revents & (POLLERR | POLLNVAL)) break;
        if (fds[0].revents & (POLLIN | POLLHUP)) {
            uint8_t ignored[256];
            const ssize_t n = recv(fd, ignored, sizeof ignored, 0);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
                break;
        }
        if (fds[0].revents & POLLOUT) {
            const ssize_t n = send(fd, current.data() + sent, current.size() - sent, MSG_NOSIGNAL);
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) break;
            if (n > 0) sent += static_cast<size_t>(n);
            if (sent == current.size()) current.clear();
        }
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
    Clear();
}

} // namespace qvserver
