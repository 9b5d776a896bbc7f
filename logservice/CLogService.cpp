#include "logservice/CLogService.h"

#include <cstdarg>
#include <cstdio>

#include "logservice/NamedService.h"
#include "logservice/ScriptText.h"
#include "logservice/SetupRun.h"
#include "platform/Event.h"
#include "platform/Files.h"
#include "platform/LastError.h"

CLogService::CLogService() : CService(0), m_usb(m_log), m_blinker(m_log) {
    m_wakeEvent = platform::CreateEvent(true, false);
}

CLogService::~CLogService() {
    m_blinker.Stop();
    CloseReport();
    if (m_wakeEvent != 0) platform::CloseHandle(m_wakeEvent);
    m_usb.Close();
}

void CLogService::RequestStop() {
    m_stopRequest = true;
    if (m_wakeEvent != 0) platform::SetEvent(m_wakeEvent);
}

bool CLogService::WaitOrStop(uint32_t ms) {
    if (m_stopRequest) return true;
    if (platform::WaitForSingleObject(m_wakeEvent, ms) == platform::kWaitFailed)
        m_log.Write("error result for WaitForMultipleObjects Error %d",
                    static_cast<int>(platform::GetLastError()));
    return m_stopRequest;
}

void CLogService::Run() {
    m_profile.SetSection("Log");
    m_log.m_screen = m_profile.GetBool("Screen");
    m_log.EnableFile(m_profile.GetBool("File"));
    m_log.m_hook = m_profile.GetBool("Socket");
    m_log.Write("Ostrel service entering main loop");

    m_running = true;
    while (!m_stopRequest) {
        CloseReport();
        m_blinker.Stop();
        if (WaitOrStop(kPassWaitMs)) break;
        ProcessSetupScript();
        // Records reach the file within a pass, so a board reset or power cut loses little.
        m_log.FlushIfIdle();
    }
    m_running = false;
}

void CLogService::ProcessSetupScript() {
    uint64_t media = 0;
    const bool present = platform::GetFileKind(SetupRun::kDrive) == platform::FileKind::Directory &&
                         platform::GetMediaId(SetupRun::kDrive, media);
    if (m_handled && (!present || media != m_handledMedia)) {
        m_log.Write("Pen drive removed.");
        m_handled = false;
    }
    if (!present || m_handled) return;
    m_log.Write("Pen drive found.");
    m_handled = true;
    m_handledMedia = media;
    SetupRun run(*this, media);
    run.Execute();
    m_log.Flush();
}

bool CLogService::OpenReport() {
    CloseReport();
    m_reportLines = 0;
    const platform::FileKind kind = platform::GetFileKind(SetupRun::kSetupLogPath);
    if (kind == platform::FileKind::Missing) {
        // Nothing to lose: the report grows on the drive line by line as the run goes.
        m_setupLog = platform::OpenFile(SetupRun::kSetupLogPath, "wt");
        return m_setupLog != nullptr;
    }
    // An earlier report is replaced whole, and only by a report that has something to say.
    if (kind != platform::FileKind::File ||
        !platform::CreateReplacement(SetupRun::kSetupLogPath, m_reportTarget, m_reportTemp))
        return false;
    m_setupLog = platform::OpenFile(m_reportTemp, "wt");
    if (m_setupLog == nullptr) ForgetReplacement(false);
    return m_setupLog != nullptr;
}

void CLogService::ForgetReplacement(bool replace) {
    if (m_reportTemp.empty()) return;
    if (!replace || !platform::ReplaceFile(m_reportTemp, m_reportTarget))
        platform::DeleteFile(m_reportTemp); // on a pulled drive it stays beside the old report
    m_reportTemp.clear();
    m_reportTarget.clear();
}

void CLogService::CloseReport() {
    if (m_setupLog == nullptr) return;
    const bool written = std::fclose(m_setupLog) == 0;
    m_setupLog = nullptr;
    ForgetReplacement(written && m_reportLines > 0);
}

bool CLogService::Report(bool toReport, const char* text) {
    m_log.Write("%s", text);
    m_log.Flush(); // a run's records reach the file as the run goes
    if (!toReport || m_setupLog == nullptr) return true;
    ++m_reportLines;
    std::fputs(text, m_setupLog);
    std::fputc('\n', m_setupLog);
    // A drive pulled as soon as the LED stops must still carry the whole report.
    return std::fflush(m_setupLog) == 0 && !std::ferror(m_setupLog);
}

void CLogService::Blink(bool on) {
    if (on) {
        m_blinker.Start();
        return;
    }
    if (!m_blinker.IsStarted()) return;
    m_blinker.Stop();
    m_watchdog.SetLed(false); // the LED's idle state, whichever step the blinker ended on
}

int CLogService::StartService(const char* name) {
    return script::StartNamedService(name);
}

int CLogService::StopService(const char* name) {
    return script::StopNamedService(name);
}

void CLogService::ReportLine(bool toSetupLog, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = script::FormatMessage(format, args);
    va_end(args);
    Report(toSetupLog, text.c_str());
}

void CLogService::ReportLineWide(bool toSetupLog, const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = script::FormatMessageWide(format, args);
    va_end(args);
    Report(toSetupLog, text.c_str());
}
