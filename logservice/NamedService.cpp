#include "logservice/NamedService.h"

#include <cstdio>

#include "platform/LastError.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace script {

namespace {

constexpr uint32_t kClientInfo = 2;
constexpr uint32_t kDllNameBytes = 60;

std::u16string Wide(const std::string& text) {
    std::u16string out(text.size(), u'\0');
    out.resize(static_cast<size_t>(platform::MultiByteToWide(
        text.data(), static_cast<int>(text.size()), out.data(), static_cast<int>(out.size()))));
    return out;
}

} // namespace

int StartNamedService(const std::string& name) {
    if (platform::ActivateService(Wide(name), kClientInfo) == 0) {
        std::printf("Failed to start service %s error %d.\n", name.c_str(),
                    static_cast<int>(platform::GetLastError()));
        std::fflush(stdout);
        return 0;
    }
    std::printf("Service %s started.\n", name.c_str());
    std::fflush(stdout);
    return 1;
}

int StopNamedService(const std::string& name) {
    std::u16string prefix;
    for (size_t i = 0; i < 3 && i < name.size(); ++i) {
        const char c = name[i];
        prefix += static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    prefix += u"1:";
    char16_t dll[kDllNameBytes / 2] = {};
    uint32_t dllBytes = kDllNameBytes;
    const platform::Handle service = platform::GetServiceHandle(prefix, dll, &dllBytes);
    int result = 0;
    if (service == platform::kInvalidHandle) {
        std::printf("Failed to find service %s error %d.\n", name.c_str(),
                    static_cast<int>(platform::GetLastError()));
    } else if (platform::DeregisterService(service)) {
        std::printf("Service %s stopped.\n", name.c_str());
        result = 1;
    } else {
        std::printf("Failed to stop service %s error %d.\n", name.c_str(),
                    static_cast<int>(platform::GetLastError()));
    }
    std::fflush(stdout);
    return result;
}

} // namespace script
