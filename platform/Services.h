// The board's services: the services API that programs call (activate a service by name, find
// one by its device prefix, unload it), answered by the services host; and the entry points that
// the host calls in a service library (exported unmangled under the service's prefix, "QVL_Init").
#pragma once
#include <cstdint>
#include <string_view>

#include "platform/Handle.h"

namespace platform {

// Starts the service registered under name ("QVServer"). clientInfo is passed to the service's
// Init. Returns a non-zero value on success; 0 with the last error: 1060 no such service, 1056
// it runs already, 55 no services host is running, 31 the service did not start.
Handle ActivateService(std::u16string_view name, uint32_t clientInfo);

// Finds the running service whose device prefix is prefix ("QVS1:"). When dllName is given,
// it receives the service library's name, 0-terminated, within *dllNameBytes bytes (60 are
// enough), and *dllNameBytes the bytes used. Returns the service handle for DeregisterService
// (it needs no close), or kInvalidHandle with the last error: 1062 no running service has that
// prefix, 122 the buffer is too small, 55 no services host is running.
Handle GetServiceHandle(std::u16string_view prefix, char16_t* dllName, uint32_t* dllNameBytes);

// Stops and unloads the service; true when it was running and is now stopped. False with the
// last error: 6 not a service handle (or the service has already gone), 55 no host.
bool DeregisterService(Handle service);

// Service control codes passed to a service's IOControl entry.
constexpr uint32_t kIoctlServiceStart = 0x01040004;
constexpr uint32_t kIoctlServiceStop = 0x01040008;
constexpr uint32_t kIoctlServiceRefresh = 0x0104000C;
constexpr uint32_t kIoctlServiceInstall = 0x01040010;
constexpr uint32_t kIoctlServiceUninstall = 0x01040014;
constexpr uint32_t kIoctlServiceUnload = 0x01040018;
constexpr uint32_t kIoctlServiceControl = 0x0104001C;
constexpr uint32_t kIoctlServiceStatus = 0x01040020;
constexpr uint32_t kIoctlServiceDebug = 0x01040024;
constexpr uint32_t kIoctlServiceConsole = 0x01040028;
constexpr uint32_t kIoctlServiceRegisterSockaddr = 0x0104002C;
constexpr uint32_t kIoctlServiceDeregisterSockaddr = 0x01040030;
constexpr uint32_t kIoctlServiceStarted = 0x01040034;
constexpr uint32_t kIoctlServiceQueryCanDeinit = 0x01040038;
constexpr uint32_t kIoctlServiceSupportedOptions = 0x0104003C;
constexpr uint32_t kIoctlServiceNotifyAddrChange = 0x01040040;

// Entry points of a service library, looked up by "<prefix>_Init" and so on. BOOL results are
// int32_t (non-zero = TRUE); Read, Write and Seek return 0xFFFFFFFF for -1.
extern "C" {
// context: the host's registry context (0 here). Result: device context, 0 = failed to start.
using ServiceInitFn = uintptr_t (*)(uintptr_t context);
using ServiceDeinitFn = int32_t (*)(uintptr_t deviceContext);
using ServiceOpenFn = uintptr_t (*)(uintptr_t deviceContext, uint32_t access, uint32_t share);
using ServiceCloseFn = int32_t (*)(uintptr_t openContext);
using ServiceReadFn = uint32_t (*)(uintptr_t openContext, void* buffer, uint32_t size);
using ServiceWriteFn = uint32_t (*)(uintptr_t openContext, const void* data, uint32_t size);
using ServiceSeekFn = uint32_t (*)(uintptr_t openContext, int32_t distance, uint32_t method);
// The host passes the device context from Init as context; out may be null; actualOut may be
// null. The service sets the last error (LastError.h) when it returns FALSE.
using ServiceIOControlFn = int32_t (*)(uintptr_t context, uint32_t code, uint8_t* in,
                                       uint32_t inSize, uint8_t* out, uint32_t outSize,
                                       uint32_t* actualOut);
}

} // namespace platform
