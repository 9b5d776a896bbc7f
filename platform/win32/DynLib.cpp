// Dynamic libraries through the Windows loader.
#include "platform/DynLib.h"

#include "platform/win32/Win32.h"

namespace platform {

LibHandle LoadLibrary(std::string_view path) {
    return reinterpret_cast<LibHandle>(LoadLibraryW(win32::WidePath(path).c_str()));
}

LibHandle LoadLibrary(std::u16string_view path) {
    return reinterpret_cast<LibHandle>(LoadLibraryW(win32::WidePath(path).c_str()));
}

void* GetProcAddress(LibHandle h, const char* name) {
    if (h == nullptr || name == nullptr) return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(h), name));
}

void FreeLibrary(LibHandle h) {
    if (h != nullptr) ::FreeLibrary(static_cast<HMODULE>(h));
}

} // namespace platform
