#include "extract/ToolLogon.h"

namespace {

constexpr int32_t kClientID = 110;
constexpr int32_t kClientType = 5;
constexpr const char* kClientName = "Dovetrix";
constexpr int32_t kClientCategory = 3;
constexpr const char* kClientKey = "7A3E-19C4-B05D-62F8-D1A7-4E93"; // the tool's fixed client key
constexpr int32_t kEventMask = 0;
constexpr int32_t kCallPortNo = 5123;
constexpr int32_t kEventsPortNo = 5124;
constexpr int32_t kCallTimeout = 10000; // milliseconds
constexpr int32_t kLogonParam1 = 0;
constexpr int32_t kNotifyWindow = 0; // no window to notify
constexpr int32_t kLogonParam3 = 1024;

} // namespace

int32_t ToolLogon(ClientLibrary& library, const CStr& server) {
    return library.Logon(kClientID, kClientType, CStr(kClientName), kClientCategory,
                         CStr(kClientKey), kEventMask, server, kCallPortNo, kEventsPortNo,
                         kCallTimeout, kLogonParam1, kNotifyWindow, kLogonParam3);
}
