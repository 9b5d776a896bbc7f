#include "logservice/CLogService.h"

#include <cstdarg>
#include <cstdio>

#include "logservice/SetupRun.h"
#include "platform/Event.h"
#include "platform/LastError.h"
#include "platform/Text.h"

namespace {
constexpr int kReportMax = 255; // characters of one reported message
}

CLogService::CLogService() : CService(0), m_usb(m_log), m_blinker(m_log) {
    m_wakeEvent = platform::CreateEvent(false, false);
}

CLogService::~CLogService() {
    m_blinker.Stop();
    ClosePassFiles();
    if (m_wakeEvent != 0) platform::CloseHandle(m_wakeEvent);
    m_usb.Close();
}

void CLogService::ClosePassFiles() {
    if (m_script != nullptr) {
        std::fclose(m_script);
        m_script = nullptr;
    }
    if (m_setupLog != nullptr) {
        std::fclose(m_setupLog);
        m_setupLog = nullptr;
    }
}

void CLogService::Run() {
    m_profile.SetSection("Log");
    m_log.m_screen = m_profile.GetBool("Screen");
    m_log.EnableFile(m_profile.GetBool("File"));
    m_log.m_hook = m_profile.GetBool("Socket");
    m_log.Write("Ostrel service entering main loop");

    m_running = true;
    while (!m_stopRequest) {
        ClosePassFiles();
        m_blinker.Stop();
        if (platform::WaitForSingleObject(m_wakeEvent, kPassWaitMs) == platform::kWaitFailed)
            m_log.Write("error result for WaitForMultipleObjects Error %d",
                        static_cast<int>(platform::GetLastError()));
        ProcessSetupScript();
        // Records reach the file within a pass, so a board reset or power cut loses little.
        m_log.FlushIfIdle();
    }
    m_running = false;
}

void CLogService::ProcessSetupScript() {
    SetupRun::Pass(*this);
}

void CLogService::EmitReport(bool toSetupLog, const char* text) {
    m_log.Write("%s", text);
    if (!toSetupLog || m_setupLog == nullptr) return;
    std::fputs(text, m_setupLog);
    std::fputc('\n', m_setupLog);
    // A drive pulled as soon as the LED stops must still carry the whole report.
    std::fflush(m_setupLog);
}

void CLogService::ReportLine(bool toSetupLog, const char* format, ...) {
    char text[kReportMax + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    EmitReport(toSetupLog, text);
}

void CLogService::ReportLineWide(bool toSetupLog, const char16_t* format, ...) {
    char16_t wide[kReportMax + 1];
    va_list args;
    va_start(args, format);
    platform::VFormatWide(wide, kReportMax + 1, format, args);
    va_end(args);
    char text[kReportMax + 1];
    platform::WideToMultiByte(wide, text, sizeof text);
    EmitReport(toSetupLog, text);
}
