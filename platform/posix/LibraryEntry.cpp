// The attach and detach hooks of a shared library (LibraryEntry.h): the loader runs the
// library's constructors when it maps it and its destructors when it unmaps it or the process
// exits, which is when the board's loader calls the library entry.
#include "platform/LibraryEntry.h"

#include <dlfcn.h>

namespace platform {

namespace {

void* Instance() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&Instance), &info) == 0) return nullptr;
    return info.dli_fbase;
}

[[gnu::constructor]] void OnAttach() {
    LibraryMain(Instance(), kProcessAttach);
}
[[gnu::destructor]] void OnDetach() {
    LibraryMain(Instance(), kProcessDetach);
}

} // namespace

} // namespace platform
