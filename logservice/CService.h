// CService: the base of the service object. It owns the service log, the watchdog access, the
// alarms log, the profile "\DAVozuz\QVForecourt\Ostrel.ini" and a wake-up event, and applies
// the profile's "Log" settings to the service log while it is built. A derived class supplies
// the main loop (Run). Built, run and destroyed on the service's worker thread.
#pragma once
#include <cstdint>
#include <memory>

#include "common/CLog.h"
#include "common/CProfile.h"
#include "common/CTimer.h"
#include "logservice/CWatchdog.h"
#include "platform/Handle.h"

class CService {
  public:
    static constexpr const char* kTitle =
        "Ostrel service executable Version(1,0,0,0:B19) Built(Jan  7 2025 at 13:49:57)";
    static constexpr const char* kLogBase = "\\Ostrel";
    static constexpr const char* kAlarmsBase = "\\DAVozuz\\LOG\\QVAlarms";
    static constexpr const char* kProfilePath = "\\DAVozuz\\QVForecourt\\Ostrel.ini";
    static constexpr int32_t kLogMaxSize = 1024000;
    static constexpr int16_t kLogMaxFiles = 5;
    static constexpr int32_t kAlarmsMaxSize = 0x80000;
    static constexpr int16_t kAlarmsMaxFiles = 3;
    static constexpr int kPathTries = 20;        // the log directory may be mounted late
    static constexpr uint32_t kPathWaitMs = 500; // after each failed test

    // wakeUp: an event of the creator; 0 or an invalid handle makes the base create its own.
    explicit CService(platform::Handle wakeUp);
    virtual void Run() = 0;
    virtual ~CService();
    virtual int32_t Reserved() = 0;
    // Hooks for services that need them; this one uses none.
    virtual void OnHook4() {}
    virtual int32_t OnHook5() { return 0; }
    virtual void OnHook6() {}
    virtual void OnHook7() {}
    virtual void OnHook8() {}
    virtual int32_t OnHook9() { return 0; }
    virtual int32_t OnHook10() { return 0; }
    virtual int32_t OnHook11() { return 0; }
    CService(const CService&) = delete;
    CService& operator=(const CService&) = delete;

    CLog& ServiceLog() { return m_log; }
    CWatchdog& Watchdog() { return m_watchdog; }

  protected:
    // Applies section "Log" of the profile to the service log (level, directory and limits,
    // outputs); called once at the end of construction.
    void Configure();

    std::unique_ptr<CTimer> m_firstList;  // element lists kept for derived services; unused
    std::unique_ptr<CTimer> m_secondList; // here
    CLog m_log;                           // the service log
    CWatchdog m_watchdog;                 // "LED1:": watchdog and status LED
    CLog m_alarms;                        // the alarms log: start and stop records only
    CProfile m_profile;                   // "\DAVozuz\QVForecourt\Ostrel.ini"
    platform::Handle m_wakeUp;            // the creator's event or our own
    bool m_ownWakeUp = false;             // m_wakeUp was created here
};
