// CLogService: the controller log service. Its main loop waits two seconds per pass and then
// looks for a pen drive at "\Hard Disk"; on a new insertion that carries "QVSetup.scp" it runs
// the setup script (SetupRun.cpp) and leaves its report "QVSetup.log" on the drive.
// Stop requests come from another thread through RequestStop.
#pragma once
#include <atomic>
#include <cstdint>
#include <cstdio>

#include "common/CTimer.h"
#include "logservice/CLedBlinker.h"
#include "logservice/CService.h"
#include "logservice/CUsbLink.h"

class CLogService : public CService {
  public:
    static constexpr uint32_t kPassWaitMs = 2000;

    CLogService();
    ~CLogService() override;

    // The main loop, until a stop request; returns at once when one came before it started.
    void Run() override;
    int32_t Reserved() override { return 0; }

    // Any thread: the loop ends after its current pass.
    void RequestStop() { m_stopRequest = true; }
    bool IsRunning() const { return m_running; }
    bool StopRequested() const { return m_stopRequest; }

    // One removable-storage pass: notices a drive coming and going and runs its setup script
    // once per insertion.
    void ProcessSetupScript();

    // Formats one message (cut at 255 characters) into the service log and, when toSetupLog is
    // set and the setup log is open, appends it to the setup log and flushes it.
    void ReportLine(bool toSetupLog, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void ReportLineWide(bool toSetupLog, const char16_t* format, ...);

  private:
    friend class SetupRun;
    void EmitReport(bool toSetupLog, const char* text);
    void ClosePassFiles();

    std::atomic<bool> m_stopRequest{false}; // set by the stopping thread
    std::atomic<bool> m_running{false};     // set while Run loops
    platform::Handle m_wakeEvent = 0;       // auto-reset, never signalled: each wait times out
    CTimer m_timer;
    FILE* m_setupLog = nullptr; // "\Hard Disk\QVSetup.log" from a run until the next pass
    FILE* m_script = nullptr;   // a script left open by a run that ended early
    bool m_handled = false;     // the drive now mounted was dealt with
    CUsbLink m_usb;             // the controller link
    CLedBlinker m_blinker;      // blinks while a script runs
};
