// A service library for the services host tests, exporting the stream entry points under the
// prefix QVL. It records every call in "<QV_ROOT>/testservice.log" and answers the status code
// as a service does (4-byte state; last error 1784 for a short buffer, 87 for unknown codes).
// "<QV_ROOT>/testservice.fail" makes its Init fail.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/LastError.h"
#include "platform/LibraryEntry.h"
#include "platform/Services.h"

namespace {

int g_context = 0; // its address is the device context
uint32_t g_state = 0;

std::string RootFile(const char* name) {
    const char* root = std::getenv("QV_ROOT");
    return std::string(root != nullptr ? root : "/tmp/qvroot") + "/" + name;
}

void Record(const std::string& line) {
    FILE* f = std::fopen(RootFile("testservice.log").c_str(), "a");
    if (f == nullptr) return;
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
}

} // namespace

bool platform::LibraryMain(void*, uint32_t reason) {
    Record(reason == kProcessAttach ? "attach" : "detach");
    return true;
}

extern "C" {

uintptr_t QVL_Init(uintptr_t) {
    FILE* fail = std::fopen(RootFile("testservice.fail").c_str(), "r");
    if (fail != nullptr) {
        std::fclose(fail);
        Record("init failed");
        return 0;
    }
    Record("init");
    g_state = 1;
    return reinterpret_cast<uintptr_t>(&g_context);
}

int32_t QVL_Deinit(uintptr_t context) {
    Record(context == reinterpret_cast<uintptr_t>(&g_context) ? "deinit" : "deinit stranger");
    g_state = 0;
    return 1;
}

int32_t QVL_IOControl(uintptr_t, uint32_t code, uint8_t*, uint32_t, uint8_t* out, uint32_t outSize,
                      uint32_t* actualOut) {
    char line[64];
    std::snprintf(line, sizeof line, "ioctl %08X", code);
    Record(line);
    switch (code) {
    case platform::kIoctlServiceStop:
        g_state = 0;
        return 1;
    case platform::kIoctlServiceStart:
        g_state = 1;
        return 1;
    case platform::kIoctlServiceStatus:
        if (out == nullptr || outSize < 4) {
            platform::SetLastError(platform::kErrorInvalidUserBuffer);
            return 0;
        }
        std::memcpy(out, &g_state, 4);
        if (actualOut != nullptr) *actualOut = 4;
        return 1;
    default:
        platform::SetLastError(platform::kErrorInvalidParameter);
        return 0;
    }
}
}
