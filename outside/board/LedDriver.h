// The board driver "LED1:": the status LED and the hardware watchdog, through control codes
// without buffers (any number of handles, whatever their share mode). Reads and writes are not
// supported. Every LED change and every watchdog switch is recorded with its time ("LED on",
// "LED off", "watchdog on", "watchdog off"); refreshes are counted, not recorded.
// Armed and not refreshed for its timeout, the watchdog calls the board's reset.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "outside/board/Driver.h"
#include "outside/board/Recorder.h"

namespace qvboard {

constexpr uint32_t kLedOn = 0x00220000;
constexpr uint32_t kLedOff = 0x00220004;
constexpr uint32_t kWatchdogOn = 0x00220018;
constexpr uint32_t kWatchdogOff = 0x0022001C;
constexpr uint32_t kWatchdogRefresh = 0x00220020;

class LedDriver : public Driver {
  public:
    // reset runs on the watchdog's own thread when the watchdog fires.
    LedDriver(uint32_t watchdogMs, Recorder& log, std::function<void()> reset);
    ~LedDriver() override;

    std::unique_ptr<DriverSession> Open(const std::u16string& name, uint32_t access,
                                        uint32_t share) override;
    // After a board reset: the LED dark, the watchdog off.
    void Reset();

    struct State {
        bool m_ledOn;
        bool m_armed;
        uint64_t m_refreshes;
    };
    State Now();

  private:
    class Session;
    DriverAnswer Control(uint32_t code);
    void RunWatchdog();

    const uint32_t m_watchdogMs;
    Recorder& m_log;
    std::function<void()> m_reset;
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_ledOn = false;
    bool m_armed = false;
    int64_t m_deadline = 0; // BoardMillis when the armed watchdog fires
    uint64_t m_refreshes = 0;
    bool m_stopping = false;
    std::thread m_watchdog;
};

} // namespace qvboard
