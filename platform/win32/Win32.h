// The Windows API for the Win32 implementation of the platform layer. The platform's own
// services carry the names of their Windows namesakes, which <windows.h> defines as macros for
// its A and W variants; those macros are undone here, and the implementation calls the W (wide)
// variants by their full names.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/Clock.h"

#undef CopyFile
#undef CreateDirectory
#undef CreateEvent
#undef CreateMutex
#undef DeleteFile
#undef FindFirstFile
#undef FindNextFile
#undef LoadLibrary
#undef LoadString
#undef MoveFile
#undef OpenEvent
#undef OpenMutex
#undef RemoveDirectory
#undef ReplaceFile
#undef Yield

namespace platform::win32 {

// The English (United Kingdom) locale of the desktop, whatever the machine's own is.
constexpr LCID kLocaleEnglishUk = 0x0809;

// The platform's broken-down time and the system's record of it, field by field.
SYSTEMTIME ToWindows(const SystemTime& st);
SystemTime FromWindows(const SYSTEMTIME& w);

// The date exists (29 February only in a leap year) and the time of day is within the day.
// Windows refuses any other in its conversions and formats; Wine takes some, so it is checked
// here first.
bool ValidSystemTime(const SYSTEMTIME& st);

// A narrow program path (the code page of Text.h) as a 0-terminated wide path.
std::wstring WidePath(std::string_view path);
std::wstring WidePath(std::u16string_view path);

} // namespace platform::win32
