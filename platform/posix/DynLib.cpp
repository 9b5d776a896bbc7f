// Dynamic libraries through dlopen. The device root holds the libraries under their board
// names ("QVClient.DLL", "SQLite.DLL") as links to the Linux shared objects.
#include "platform/DynLib.h"

#include <dlfcn.h>

#include <string>

#include "platform/Paths.h"

namespace platform {

LibHandle LoadLibrary(std::string_view path) {
    const std::string native = MapPath(path);
    return dlopen(native.c_str(), RTLD_NOW | RTLD_LOCAL);
}

LibHandle LoadLibrary(std::u16string_view path) {
    const std::string native = MapPath(path);
    return dlopen(native.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* GetProcAddress(LibHandle h, const char* name) {
    if (h == nullptr || name == nullptr) return nullptr;
    return dlsym(h, name);
}

void FreeLibrary(LibHandle h) {
    if (h != nullptr) dlclose(h);
}

} // namespace platform
