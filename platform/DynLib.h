// Dynamic libraries loaded at run time by program path (mapped, see Paths.h).
#pragma once
#include <string_view>

namespace platform {

using LibHandle = void*; // null = not loaded

LibHandle LoadLibrary(std::string_view path);
LibHandle LoadLibrary(std::u16string_view path);
// Address of an exported name, null when missing or h is null.
void* GetProcAddress(LibHandle h, const char* name);
void FreeLibrary(LibHandle h);

} // namespace platform
