// SetupHost: what a setup run reaches of the service that runs it: the service log, the drive's
// report "QVSetup.log", the status LED, the forecourt services, the controller link and the
// service's stop request. The service hands its own to the run; a test may hand another.
#pragma once
#include <cstdint>

#include "common/CLog.h"
#include "logservice/CUsbLink.h"

class SetupHost {
  public:
    virtual ~SetupHost() = default;

    virtual CLog& ServiceLog() = 0;
    virtual CUsbLink& Controller() = 0;

    // Opens the drive's report without touching an earlier one: the new report is written
    // beside it and replaces it whole when it is closed, and only when it has a line. False when
    // the report cannot be opened.
    virtual bool OpenReport() = 0;
    // One message into the service log (written to its file at once) and, when toReport is
    // set and the report is open, into the report. False when the report line could not be
    // written (the drive was pulled).
    virtual bool Report(bool toReport, const char* text) = 0;
    // Closes the report (putting it in place of an earlier one, see OpenReport).
    virtual void CloseReport() = 0;

    // Blinks the status LED (true) or stops the blinking and leaves the LED in its idle state.
    virtual void Blink(bool on) = 0;

    // Starts and stops a forecourt service by name (1 done, 0 failed; failures are printed).
    virtual int StartService(const char* name) = 0;
    virtual int StopService(const char* name) = 0;

    // True once the service was asked to stop.
    virtual bool StopRequested() = 0;
    // Waits ms or until a stop request; true when the service was asked to stop.
    virtual bool WaitOrStop(uint32_t ms) = 0;
};
