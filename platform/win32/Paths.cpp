// Paths on Windows are native: "C:\QVForecourt\log\Dovetrix" is a real path, so nothing is
// mapped. The device root is the root of the current drive.
#include "platform/Paths.h"

#include "platform/Text.h"
#include "platform/win32/Win32.h"

namespace platform {

std::string DeviceRoot() {
    return std::string();
}

std::string MapPath(std::string_view path) {
    return std::string(path);
}

std::string MapPath(std::u16string_view path) {
    std::string narrow;
    narrow.reserve(path.size());
    for (char16_t c : path)
        narrow += WideToNarrowChar(c);
    return narrow;
}

namespace win32 {

std::wstring WidePath(std::string_view path) {
    std::wstring wide;
    wide.reserve(path.size());
    for (char c : path)
        wide += static_cast<wchar_t>(NarrowToWideChar(c));
    return wide;
}

std::wstring WidePath(std::u16string_view path) {
    return std::wstring(path.begin(), path.end());
}

} // namespace win32

} // namespace platform
