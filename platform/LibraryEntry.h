// Library attach and detach hooks of a shared library: the platform calls the library's own
// LibraryMain once when the library is loaded into a process (attach) and once when it is
// unloaded or the process exits normally (detach), on the loading or unloading thread.
// A library gets the hooks by linking the CMake target qvlibentry and defining LibraryMain.
#pragma once
#include <cstdint>

namespace platform {

constexpr uint32_t kProcessDetach = 0;
constexpr uint32_t kProcessAttach = 1;

// Defined by the library, not by the platform (hidden, so each library keeps its own).
// instance identifies the library (its load address). The result of the attach call is
// ignored: on this platform a library cannot refuse to load.
[[gnu::visibility("hidden")]] bool LibraryMain(void* instance, uint32_t reason);

} // namespace platform
