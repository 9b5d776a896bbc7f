#include "logservice/CWatchdog.h"

#include "logservice/LedCodes.h"
#include "platform/Device.h"

CWatchdog::CWatchdog(CLog& log)
    : m_log(log), m_handle(platform::OpenDevice(led::kDeviceName,
                                                platform::kGenericRead | platform::kGenericWrite,
                                                platform::kShareRead | platform::kShareWrite)) {
    m_log.Write("Watchdog created %08X", m_handle);
}

CWatchdog::~CWatchdog() {
    if (IsOpen()) {
        Kick();
        TurnOff();
        SetLed(false);
        platform::CloseHandle(m_handle);
        m_handle = platform::kInvalidHandle;
    }
    m_log.Write("Watchdog closed");
}

// The driver's byte count is kept but not judged: the codes carry no data.
void CWatchdog::Send(uint32_t code) {
    platform::DeviceIoControl(m_handle, code, nullptr, 0, nullptr, 0, &m_bytes);
}

void CWatchdog::Kick() {
    if (IsOpen() && m_mode == kModeOn) Send(led::kWatchdogRefresh);
}

void CWatchdog::SetLed(bool on) {
    if (IsOpen()) Send(on ? led::kLedStateOn : led::kLedStateOff);
}

void CWatchdog::TurnOn(int16_t mode) {
    if (IsOpen() && mode == kModeOn) {
        m_log.Write("DeviceIoControl");
        Send(led::kWatchdogOn);
        m_log.Write("DeviceIoControl(IOCTL_WD_ON) %d", static_cast<int>(m_bytes));
        Kick(); // refreshes only when the watchdog was on already
    }
    if (mode != m_mode) {
        m_mode = mode;
        m_log.Write("WD turned on!! %d", m_mode);
    }
}

void CWatchdog::TurnOff() {
    if (IsOpen() && m_mode == kModeOn) {
        Kick();
        Send(led::kWatchdogOff);
    }
}
