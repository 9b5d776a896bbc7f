#include "logservice/CUsbLink.h"

#include <cstring>
#include <string_view>

#include "common/CTimer.h"
#include "platform/Clock.h"
#include "platform/Device.h"
#include "platform/Event.h"
#include "platform/LastError.h"
#include "platform/NamedMutex.h"

namespace {

constexpr char16_t kMutexName[] = u"QVForecourtUSBMutex";
constexpr char kUnknownSerial[] = "???????"; // reported by a board that has no serial

std::u16string_view View(const CStr& s) {
    return {s.Wide(), static_cast<size_t>(s.Length())};
}

char16_t FoldCase(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// Response offsets.
constexpr int kDelsOffset = 8;
constexpr int kBootOffset = 10;
constexpr int kDriverOffset = 30;
constexpr int kSerialOffset = 50;
constexpr int kSerialIdOffset = 52;

} // namespace

CUsbLink::CUsbLink(CLog& log) : m_log(log) {
    CreateLinkMutex();
}

CUsbLink::~CUsbLink() {
    Close();
    if (m_mutex != 0) platform::CloseHandle(m_mutex);
}

bool CUsbLink::CreateLinkMutex() {
    m_mutex = platform::CreateMutex(false, kMutexName);
    return m_mutex != 0;
}

bool CUsbLink::TakeMutex() {
    const uint32_t wait = platform::WaitForSingleObject(m_mutex, platform::kInfinite);
    // A holder that died without releasing leaves the mutex to us: the device state it left is
    // reset by our own flush, so it must not block every later identification.
    if (wait == platform::kWaitObject0 || wait == platform::kWaitAbandoned) return true;
    m_log.Write("Failed to get mutex");
    return false;
}

void CUsbLink::Close() {
    if (m_device != platform::kInvalidHandle) platform::CloseHandle(m_device);
    // The data event is ours to close whether the driver handed it over or we opened it by name.
    if (m_event != platform::kInvalidHandle) platform::CloseHandle(m_event);
    m_device = m_read = m_write = m_event = platform::kInvalidHandle;
}

int32_t CUsbLink::Open(uint16_t port, CStr& serial, CStr& boot, CStr& driver, int32_t* index) {
    Close();
    const int32_t first = index ? *index : 1;
    if (first > kLastDevice) return -1;
    if (m_mutex == 0 && !CreateLinkMutex()) return -1;
    if (!TakeMutex()) return -1;
    uint8_t response[kFrameMax];
    bool accepted = false;
    for (int32_t n = first; n <= kLastDevice && !accepted; ++n) {
        CStr name;
        name.Format(u"QVF%01d:", n);
        m_log.Write("Opening USB device QVF%01d:", n);
        const platform::Handle h =
            platform::OpenDevice(View(name), platform::kGenericRead | platform::kGenericWrite, 0);
        if (index) *index = n;
        if (h != platform::kInvalidHandle) {
            m_device = m_read = m_write = h;
            m_event = platform::kInvalidHandle;
            accepted = BindPort(port) && ReadVersion(response) && SameBoard(serial, response);
        }
        if (!accepted) Close();
    }
    if (!accepted) {
        platform::ReleaseMutex(m_mutex);
        return -1;
    }
    const int32_t dels = (response[kDelsOffset] << 8) | response[kDelsOffset + 1];
    const char* r = reinterpret_cast<const char*>(response);
    m_log.Log(2, "Version response [%.20s]-[%.20s] Serial No %.9s, dels %d ", r + kBootOffset,
              r + kDriverOffset, r + kSerialOffset, dels);
    serial.Format("%.9s", r + kSerialOffset);
    boot.Format("%.20s", r + kBootOffset);
    driver.Format("%.20s", r + kDriverOffset);
    platform::ReleaseMutex(m_mutex);
    return dels;
}

bool CUsbLink::BindPort(uint16_t port) {
    uint32_t returned = 0;
    if (!platform::DeviceIoControl(m_device, kIoctlSetPort, &port, sizeof port, &m_event,
                                   sizeof m_event, &returned)) {
        m_log.Write("Failed to set port no %d", static_cast<int>(platform::GetLastError()));
        return false;
    }
    if (m_event == 0) m_event = platform::kInvalidHandle; // a driver that gave a null handle
    if (m_event == platform::kInvalidHandle) {
        CStr name;
        name.Format(u"QVFrcUSB%d", port);
        const platform::Handle event = platform::OpenEvent(View(name));
        if (event != 0) {
            m_event = event;
            m_log.Write("USB event opened by name QVFrcUSB%d", port);
        } else {
            m_log.Write("Failed to open event by name %d",
                        static_cast<int>(platform::GetLastError()));
        }
    }
    return true;
}

bool CUsbLink::ReadVersion(uint8_t* response) {
    Flush();
    if (RequestVersion() != 0) {
        m_log.Write("Failed to request verison");
        return false;
    }
    if (WaitFrame(response, kVersionResponse, kVersionResponseSize, kVersionWaitMs, nullptr) != 1) {
        m_log.Write("Failed to get verison");
        return false;
    }
    return true;
}

// The held serial, trimmed and cut to its last seven characters (in place), must match the
// board's offsets 52 to 58 without regard to case. Fewer than seven held characters accept
// any board, and a board that reports "???????" is accepted whatever is held.
bool CUsbLink::SameBoard(CStr& serial, const uint8_t* response) {
    serial.TrimLeft().TrimRight();
    const int length = serial.Length();
    if (length > kSerialIdLength) serial.Mid(length - kSerialIdLength + 1, kSerialIdLength);
    if (serial.Length() < kSerialIdLength) return true;
    const uint8_t* reported = response + kSerialIdOffset;
    if (std::memcmp(reported, kUnknownSerial, kSerialIdLength) == 0) return true;
    bool same = true;
    for (int i = 0; i < kSerialIdLength && same; ++i)
        same = FoldCase(serial.At(i + 1)) == FoldCase(reported[i]);
    if (!same) {
        m_log.Write("serial #'s different  '%.7s' != '%.7s'", serial.Narrow(),
                    reinterpret_cast<const char*>(reported));
    }
    return same;
}

int32_t CUsbLink::WrapAndSend(const uint8_t* frame, int32_t length) {
    if (m_write == platform::kInvalidHandle) {
        m_log.Write("WriteFile failed in WrapAndSend 3 closed.");
        return -1;
    }
    uint32_t written = 0;
    if (!platform::WriteDevice(m_write, frame, static_cast<uint32_t>(length + 1), written)) {
        m_log.Write("WriteFile failed in WrapAndSend 4 err %d.",
                    static_cast<int>(platform::GetLastError()));
        return -1;
    }
    return 0;
}

int32_t CUsbLink::ReadFrame(uint8_t* buffer, uint32_t& read) {
    if (m_write == platform::kInvalidHandle) return -1;
    if (!platform::ReadDevice(m_read, buffer, kFrameMax, read)) {
        read = 0;
        m_log.Write("error in read USB port %d", static_cast<int>(platform::GetLastError()));
        return -1;
    }
    return 0;
}

void CUsbLink::Flush() {
    uint8_t frame[kFrameMax] = {};
    uint32_t read = 0;
    while (ReadFrame(frame, read) == 0 && read != 0)
        m_log.Log(3, "Flushed <- T 0x%02X, len %d", frame[0], static_cast<int>(read));
}

int32_t CUsbLink::RequestVersion() {
    const uint8_t request[1] = {kVersionRequest};
    return WrapAndSend(request, 0);
}

void CUsbLink::WaitForData() {
    if (m_event != platform::kInvalidHandle)
        platform::WaitForSingleObject(m_event, kEventWaitMs);
    else
        platform::Sleep(kEventWaitMs); // no event to wait on: the wait lasts its full time
}

int32_t CUsbLink::WaitFrame(uint8_t* out, uint8_t type, int32_t length, uint32_t limitMs,
                            uint8_t* outLength) {
    CTimer timer;
    for (;;) {
        uint8_t frame[kFrameMax] = {};
        uint32_t read = 0;
        if (ReadFrame(frame, read) != 0) return -1;
        const bool wanted =
            read != 0 && frame[0] == type && (length == 0 || read == static_cast<uint32_t>(length));
        if (wanted) {
            std::memcpy(out, frame, kFrameMax);
            if (outLength) *outLength = static_cast<uint8_t>(read);
            return 1;
        }
        if (read == 0) WaitForData();
        // Checked after dropped frames too, so a stream of other frames cannot hold the wait
        // past its limit.
        if (static_cast<uint32_t>(timer.Elapsed()) >= limitMs) {
            m_log.Log(3, "Bugger timeout!!");
            return 0;
        }
    }
}
