// CUsbLink: the link to the forecourt controller board behind the USB driver's devices "QVF1:"
// to "QVF4:". Open finds the board, binds it to a port number and reads its identity (boot and
// driver versions, serial number, the "dels" count). Identifying a board is serialised across
// the board's programs by the named mutex "QVForecourtUSBMutex", held only inside Open.
// Used by the service's worker thread only.
#pragma once
#include <cstdint>

#include "common/CLog.h"
#include "common/CStr.h"
#include "platform/Handle.h"

class CUsbLink {
  public:
    static constexpr int32_t kFrameMax = 261; // bytes of the largest frame
    static constexpr uint8_t kVersionRequest = 0x00;
    static constexpr uint8_t kVersionResponse = 0x40;
    static constexpr int32_t kVersionResponseSize = 59;
    static constexpr uint32_t kVersionWaitMs = 1000;
    static constexpr uint32_t kEventWaitMs = 250;
    static constexpr uint32_t kIoctlSetPort = 0x0022000C;
    static constexpr int32_t kLastDevice = 4;
    static constexpr int32_t kSerialIdLength = 7; // characters that identify a board

    // Messages go to log, which must outlive the link. Creates the named mutex.
    explicit CUsbLink(CLog& log);
    ~CUsbLink();
    CUsbLink(const CUsbLink&) = delete;
    CUsbLink& operator=(const CUsbLink&) = delete;

    // Tries the devices from *index (1 when index is null) to 4 and keeps the first board that
    // answers the version request and matches serial (see the identity check in the .cpp);
    // *index follows the device tried. Returns the "dels" count (0..65535) with serial, boot and
    // driver holding the board's answers and the link open; -1 when no board was accepted.
    int32_t Open(uint16_t port, CStr& serial, CStr& boot, CStr& driver, int32_t* index = nullptr);
    // Closes the device (and its data event); all handles invalid.
    void Close();

    // Writes the type byte and length payload bytes as one frame: 0, or -1 when closed or the
    // write fails.
    int32_t WrapAndSend(const uint8_t* frame, int32_t length);
    // One read of up to kFrameMax bytes; read = 0 when no frame waits. 0, or -1 when closed or
    // the read fails.
    int32_t ReadFrame(uint8_t* buffer, uint32_t& read);
    // Discards the frames waiting.
    void Flush();
    // Sends the version request: 0 or -1.
    int32_t RequestVersion();
    // Waits up to limitMs for a frame of type (and of length bytes unless length is 0), dropping
    // any other frames; copies kFrameMax bytes to out (and the length to outLength when given).
    // 1 when found, 0 on time-out, -1 on a read error.
    int32_t WaitFrame(uint8_t* out, uint8_t type, int32_t length, uint32_t limitMs,
                      uint8_t* outLength);

    bool IsOpen() const { return m_device != platform::kInvalidHandle; }

  private:
    bool CreateLinkMutex();
    bool TakeMutex();
    // Binds the open device to port and finds its data event; false after logging.
    bool BindPort(uint16_t port);
    // The version exchange on the open device; false after logging.
    bool ReadVersion(uint8_t* response);
    bool SameBoard(CStr& serial, const uint8_t* response);
    void WaitForData();

    CLog& m_log;                  // the service log
    platform::Handle m_mutex = 0; // "QVForecourtUSBMutex", 0 when not created
    platform::Handle m_device = platform::kInvalidHandle;
    platform::Handle m_read = platform::kInvalidHandle;  // the device handle while open
    platform::Handle m_write = platform::kInvalidHandle; // the device handle while open
    platform::Handle m_event = platform::kInvalidHandle; // signalled while a frame waits
};
