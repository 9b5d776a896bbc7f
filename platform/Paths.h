// Device path mapping: the programs use their fixed Windows paths; this maps them into the
// device root. "\A\B" -> "$QV_ROOT/A/B" (board path), "C:\A\B" -> "$QV_ROOT/C/A/B" (desktop
// path, drive letter upper-cased); any other path is native and returned unchanged. In a mapped
// path "." and ".." parts are resolved; one that would climb above "\" or "C:\" makes the result
// empty, so the call fails as for a missing file and nothing outside the device root is reached.
// When QV_ROOT is unset the device root is "/tmp/qvroot".
#pragma once
#include <string>
#include <string_view>

namespace platform {

// The device root, without a trailing slash.
std::string DeviceRoot();
// Maps a program path to a native path as above (backslashes become slashes in mapped paths).
std::string MapPath(std::string_view path);
std::string MapPath(std::u16string_view path);

} // namespace platform
