// Maps the programs' fixed Windows paths into the device root.
#include "platform/Paths.h"

#include <cstdlib>

#include "platform/Text.h"

namespace platform {

namespace {

constexpr const char* kDefaultRoot = "/tmp/qvroot";

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Appends the parts of rest to root, slash-separated: empty and "." parts are dropped and ".."
// takes the part before it away. A ".." that would climb above root refuses the whole path: the
// result is empty, which every file call fails on as on a missing file.
std::string Join(std::string root, std::string_view rest) {
    const size_t base = root.size();
    size_t at = 0;
    while (at < rest.size()) {
        size_t end = at;
        while (end < rest.size() && !IsSeparator(rest[end]))
            ++end;
        const std::string_view part = rest.substr(at, end - at);
        if (part == "..") {
            if (root.size() == base) return std::string();
            root.erase(root.rfind('/'));
        } else if (!part.empty() && part != ".") {
            root += '/';
            root += part;
        }
        at = end + 1;
    }
    if (!rest.empty() && IsSeparator(rest.back())) root += '/';
    return root;
}

} // namespace

// Read on every call: tests point QV_ROOT at their own temporary folders.
std::string DeviceRoot() {
    const char* env = std::getenv("QV_ROOT");
    std::string root = env && *env ? env : kDefaultRoot;
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    if (root == "/") root.clear();
    return root;
}

std::string MapPath(std::string_view path) {
    if (!path.empty() && path[0] == '\\') return Join(DeviceRoot(), path);
    if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
        std::string root = DeviceRoot() + '/';
        root += static_cast<char>(path[0] >= 'a' ? path[0] - 'a' + 'A' : path[0]);
        return Join(root, path.substr(2)); // "C:name" is "C:\name"
    }
    return std::string(path);
}

// Wide paths become the system's narrow text (the code page of Text.h), so a wide and a narrow
// spelling of the same name reach the same file.
std::string MapPath(std::u16string_view path) {
    std::string narrow;
    narrow.reserve(path.size());
    for (char16_t c : path)
        narrow += WideToNarrowChar(c);
    return MapPath(std::string_view(narrow));
}

} // namespace platform
