// CTimer: a millisecond timer on the platform's wrapping 32-bit tick counter.
#pragma once
#include <cstdint>

#include "common/CElement.h"

class CTimer : public CElement<CTimer, CTimer> {
  public:
    CTimer();
    ~CTimer() override;
    // Now minus the start tick, modulo 2^32.
    int32_t Elapsed() const;
    uint32_t Restart();
    // Elapsed and Restart from one reading of the tick counter.
    int32_t Lap();
    // The same against a tick the caller has read (one reading can serve several timers).
    int32_t LapAt(uint32_t now);
    void RestartAt(uint32_t now) { m_start = now; }

  private:
    uint32_t m_start; // tick at construction or the last restart
};
