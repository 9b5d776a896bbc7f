// Stream devices of the board ("LED1:", "QVF1:" .. "QVF4:"): open by name, read, write,
// control codes with in and out buffers, close with CloseHandle (Handle.h). Each call is
// answered by the device's driver on the board; the driver decides what a read, a write or a
// code means (one whole frame per read and per write for "QVFn:").
#pragma once
#include <cstdint>
#include <string_view>

#include "platform/Handle.h"

namespace platform {

constexpr uint32_t kGenericRead = 0x80000000;
constexpr uint32_t kGenericWrite = 0x40000000;
constexpr uint32_t kShareRead = 1;
constexpr uint32_t kShareWrite = 2;

// Largest buffer one read, write or control code carries; larger sizes fail with last error 87.
constexpr uint32_t kMaxDeviceTransfer = 65536;

// Opens an existing device by its name (letters and digits, then a colon). Returns
// kInvalidHandle with the last error: 55 when the board has no such device or no board runs for
// the device root, 5 when the driver refuses the access or share mode.
Handle OpenDevice(std::u16string_view name, uint32_t access, uint32_t share);

// Reads what the driver has, up to size bytes, into buffer; read receives the count (0 when
// nothing waits). False with the last error (read then 0): 6 not a device handle, 5 not opened
// for reading, 31 the board has gone.
bool ReadDevice(Handle h, void* buffer, uint32_t size, uint32_t& read);

// Hands size bytes to the driver; written receives the count taken. Failures as ReadDevice.
bool WriteDevice(Handle h, const void* data, uint32_t size, uint32_t& written);

// Sends a control code with an input buffer and room for an output (either may be null with
// size 0). returned, when given, receives the output bytes written. False with the last error
// the driver gives (87 for a code it does not know), or as ReadDevice. A driver may hand back a
// handle in the output (the USB driver's data event): it is a handle of this process, to be
// closed with CloseHandle.
bool DeviceIoControl(Handle h, uint32_t code, const void* in, uint32_t inSize, void* out,
                     uint32_t outSize, uint32_t* returned);

} // namespace platform
