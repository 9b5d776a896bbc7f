// The calling thread's last error: failing platform calls set it, a few callers set it
// themselves (the service's control codes). Error numbers are the board's.
#pragma once
#include <cstdint>

namespace platform {

// Error numbers that the platform services give.
constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorFileNotFound = 2;  // no named object or service of that name
constexpr uint32_t kErrorAccessDenied = 5;  // the device does not allow that access
constexpr uint32_t kErrorInvalidHandle = 6; // not an open handle, or of the wrong kind
constexpr uint32_t kErrorNotEnoughMemory = 8;
constexpr uint32_t kErrorGenFailure = 31;       // the board broke the link to a device
constexpr uint32_t kErrorNotSupported = 50;     // operation the device does not have
constexpr uint32_t kErrorDevNotExist = 55;      // no such device, or no board is running
constexpr uint32_t kErrorInvalidParameter = 87; // unknown control code, bad arguments
constexpr uint32_t kErrorInsufficientBuffer = 122;
constexpr uint32_t kErrorAlreadyExists = 183; // create found the named object existing
constexpr uint32_t kErrorNotOwner = 288;      // release of a mutex the thread does not own
constexpr uint32_t kErrorServiceAlreadyRunning = 1056;
constexpr uint32_t kErrorServiceDoesNotExist = 1060;
constexpr uint32_t kErrorServiceNotActive = 1062;
constexpr uint32_t kErrorInvalidUserBuffer = 1784;

// One value per thread, 0 in a new thread. A shared library and the program that loads it share
// it when the program exports its platform symbols (the board's services host does).
uint32_t GetLastError();
void SetLastError(uint32_t error);

} // namespace platform
