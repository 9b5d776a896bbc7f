// CLogService: the controller log service. Its main loop waits two seconds per pass and then
// looks for a pen drive at "\Hard Disk"; on a new insertion that carries "QVSetup.scp" it runs
// the setup script (SetupRun), handing the run itself as its SetupHost, and the run leaves its
// report "QVSetup.log" on the drive. Stop requests come from another thread through
// RequestStop; they end the loop's wait and a run's waits at once.
#pragma once
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

#include "common/CTimer.h"
#include "logservice/CLedBlinker.h"
#include "logservice/CService.h"
#include "logservice/CUsbLink.h"
#include "logservice/SetupHost.h"

class CLogService : public CService, public SetupHost {
  public:
    static constexpr uint32_t kPassWaitMs = 2000;

    CLogService();
    ~CLogService() override;

    // The main loop, until a stop request; returns at once when one came before it started.
    void Run() override;
    int32_t Reserved() override { return 0; }

    // Any thread: the loop ends after its current pass, a run in progress at its next wait.
    void RequestStop();
    bool IsRunning() const { return m_running; }

    // One removable-storage pass: notices a drive coming and going (a drive pulled and another
    // plugged in its place is a new insertion) and runs its setup script once per insertion.
    void ProcessSetupScript();

    // Formats one message (cut at 255 characters) into the service log and, when toSetupLog is
    // set and the setup log is open, appends it to the setup log and flushes it.
    void ReportLine(bool toSetupLog, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void ReportLineWide(bool toSetupLog, const char16_t* format, ...);

    // SetupHost
    CLog& ServiceLog() override { return m_log; }
    CUsbLink& Controller() override { return m_usb; }
    bool OpenReport() override;
    bool Report(bool toReport, const char* text) override;
    void CloseReport() override;
    void Blink(bool on) override;
    int StartService(const char* name) override;
    int StopService(const char* name) override;
    bool StopRequested() override { return m_stopRequest; }
    bool WaitOrStop(uint32_t ms) override;

  private:
    std::atomic<bool> m_stopRequest{false}; // set by the stopping thread
    std::atomic<bool> m_running{false};     // set while Run loops
    platform::Handle m_wakeEvent = 0;       // manual-reset, signalled by a stop request
    CTimer m_timer;
    // Closes a report written beside an earlier one: moved over it when replace is set (and
    // the move works), else deleted.
    void ForgetReplacement(bool replace);

    FILE* m_setupLog = nullptr; // "\Hard Disk\QVSetup.log" (or its replacement) while a run reports
    std::string m_reportTarget; // an earlier report the run's report replaces at its end
    std::string m_reportTemp;   // the replacement beside it, empty when none
    int m_reportLines = 0;      // lines the run wrote to its report
    bool m_handled = false;     // the drive now mounted was dealt with
    uint64_t m_handledMedia = 0; // the insertion that was dealt with
    CUsbLink m_usb;              // the controller link
    CLedBlinker m_blinker;       // blinks while a script runs
};
