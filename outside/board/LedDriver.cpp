#include "outside/board/LedDriver.h"

#include <chrono>

#include "platform/LastError.h"

namespace qvboard {

class LedDriver::Session : public DriverSession {
  public:
    explicit Session(LedDriver& driver) : m_driver(driver) {}
    DriverAnswer Read(uint32_t) override {
        return DriverAnswer::Fail(platform::kErrorNotSupported);
    }
    DriverAnswer Write(const uint8_t*, uint32_t) override {
        return DriverAnswer::Fail(platform::kErrorNotSupported);
    }
    DriverAnswer Control(uint32_t code, const uint8_t*, uint32_t, uint32_t) override {
        return m_driver.Control(code);
    }

  private:
    LedDriver& m_driver;
};

LedDriver::LedDriver(uint32_t watchdogMs, Recorder& log, std::function<void()> reset)
    : m_watchdogMs(watchdogMs), m_log(log), m_reset(std::move(reset)) {
    m_watchdog = std::thread([this] { RunWatchdog(); });
}

LedDriver::~LedDriver() {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_watchdog.join();
}

std::unique_ptr<DriverSession> LedDriver::Open(const std::u16string& name, uint32_t, uint32_t) {
    if (name != u"LED1:") return nullptr;
    return std::make_unique<Session>(*this);
}

void LedDriver::Reset() {
    std::lock_guard<std::mutex> hold(m_lock);
    m_armed = false;
    if (m_ledOn) m_log.Line("LED off");
    m_ledOn = false;
}

LedDriver::State LedDriver::Now() {
    std::lock_guard<std::mutex> hold(m_lock);
    return State{m_ledOn, m_armed, m_refreshes};
}

DriverAnswer LedDriver::Control(uint32_t code) {
    std::lock_guard<std::mutex> hold(m_lock);
    switch (code) {
    case kLedOn:
    case kLedOff:
        if (m_ledOn != (code == kLedOn)) m_log.Line(code == kLedOn ? "LED on" : "LED off");
        m_ledOn = code == kLedOn;
        break;
    case kWatchdogOn:
        if (!m_armed) m_log.Line("watchdog on");
        if (!m_armed) m_deadline = BoardMillis() + m_watchdogMs;
        m_armed = true;
        m_changed.notify_all();
        break;
    case kWatchdogOff:
        if (m_armed) m_log.Line("watchdog off");
        m_armed = false;
        break;
    case kWatchdogRefresh:
        ++m_refreshes;
        if (m_armed) m_deadline = BoardMillis() + m_watchdogMs;
        break;
    default:
        return DriverAnswer::Fail(platform::kErrorInvalidParameter);
    }
    return DriverAnswer();
}

void LedDriver::RunWatchdog() {
    std::unique_lock<std::mutex> hold(m_lock);
    while (!m_stopping) {
        if (!m_armed) {
            m_changed.wait(hold);
            continue;
        }
        const int64_t left = m_deadline - BoardMillis();
        if (left > 0) {
            m_changed.wait_for(hold, std::chrono::milliseconds(left));
            continue;
        }
        m_armed = false;
        hold.unlock();
        m_reset(); // the reset itself resets this driver, under the lock again
        hold.lock();
    }
}

} // namespace qvboard
