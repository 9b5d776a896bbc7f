// The events waiting for one events connection: any thread queues a frame without ever
// blocking, and the connection's own thread writes them out. A client that stops reading is
// disconnected once kMaxBytes of frames wait
// for it: its events connection closes (its calls go on), so
// it learns that it lost events instead of silently missing some of them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace qvserver {

class EventOutbox {
  public:
    static constexpr size_t kMaxBytes = 2 << 20; // besides what the socket buffers hold

    EventOutbox();
    ~EventOutbox();
    EventOutbox(const EventOutbox&) = delete;
    EventOutbox& operator=(const EventOutbox&) = delete;

    // Queues one whole frame; false when the outbox is closed, or when it overflowed now (it
    // is then closed and Run ends).
    bool Push(std::vector<uint8_t> frame);
    // Makes Run end soon; later pushes are refused.
    void Close();
    // Writes queued frames to the connection until the peer closes it, it fails, Close is called
    // or the queue overflows. Bytes the peer sends are read and ignored. Sets fd non-blocking.
    void Run(int fd);

  private:
    void Wake();
    void Drain();
    void Clear(); // under m_mutex

    std::mutex m_mutex; // guards the members below
    std::deque<std::vector<uint8_t>> m_frames;
    size_t m_bytes = 0; // in m_frames
    bool m_closed = false;
    bool m_woken = false;     // a byte waits in the wake pipe
    int m_wake[2] = {-1, -1}; // pipe that interrupts Run's wait
};

} // namespace qvserver
