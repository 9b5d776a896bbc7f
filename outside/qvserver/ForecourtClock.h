// The forecourt's simulated clock: milliseconds since the engine started, moved only by
// Advance, and the local date and time they stand for. Tests move it by hand; the server moves
// it by the wall-clock time that passed.
#pragma once
#include <cstdint>

namespace qvserver {

class SimClock {
  public:
    // startOle: the local date and time (automation date) at millisecond 0.
    explicit SimClock(double startOle) : m_startOle(startOle) {}

    int64_t NowMs() const { return m_nowMs; }
    // The current local date and time as an automation date.
    double NowOle() const { return m_startOle + static_cast<double>(m_nowMs) / 86400000.0; }
    // Negative steps are ignored: simulated time never runs backwards.
    void Advance(int64_t ms) {
        if (ms > 0) m_nowMs += ms;
    }

  private:
    double m_startOle; // automation date of millisecond 0
    int64_t m_nowMs = 0;
};

} // namespace qvserver
