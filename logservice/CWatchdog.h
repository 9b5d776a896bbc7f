// CWatchdog: the service's access to the board's hardware watchdog and status LED through the
// driver "LED1:". The watchdog is armed only to let the board reset after a processor exception
// (RunGuarded). When "LED1:" cannot be opened every operation does nothing. Used by the
// service's worker thread only.
#pragma once
#include <cstdint>

#include "common/CLog.h"
#include "platform/Handle.h"

class CWatchdog {
  public:
    static constexpr int16_t kModeOff = 0;
    static constexpr int16_t kModeOn = 2;

    // Opens "LED1:" (shared) and logs "Watchdog created %08X"; log must outlive the watchdog.
    explicit CWatchdog(CLog& log);
    // Refreshes and switches off an armed watchdog, leaves the LED in its "false" state.
    ~CWatchdog();
    CWatchdog(const CWatchdog&) = delete;
    CWatchdog& operator=(const CWatchdog&) = delete;

    void Kick();          // refresh, while armed
    void SetLed(bool on); // one of the two LED states
    void TurnOn(int16_t mode);
    void TurnOff();

    int16_t Mode() const { return m_mode; }
    bool IsOpen() const { return m_handle != platform::kInvalidHandle; }

  private:
    void Send(uint32_t code);

    CLog& m_log;               // the service log
    int16_t m_mode = kModeOff; // 0 off, 2 on
    uint32_t m_bytes = 0;      // the driver's byte count of the last code
    platform::Handle m_handle; // "LED1:", kInvalidHandle when closed
};
