#include "common/CTimer.h"

#include "platform/Clock.h"

CTimer::CTimer() : m_start(platform::TickCount()) {}

CTimer::~CTimer() = default;

// Unsigned subtraction is modulo 2^32, so a wrap of the counter still gives the small difference.
int32_t CTimer::Elapsed() const {
    return static_cast<int32_t>(platform::TickCount() - m_start);
}

uint32_t CTimer::Restart() {
    m_start = platform::TickCount();
    return m_start;
}

int32_t CTimer::Lap() {
    return LapAt(platform::TickCount());
}

int32_t CTimer::LapAt(uint32_t now) {
    const int32_t elapsed = static_cast<int32_t>(now - m_start);
    m_start = now;
    return elapsed;
}
