// A shared library with attach and detach hooks for LibraryEntry_test: each call appends a line
// to the file that QV_LIBENTRY_LOG names.
#include <cstdio>
#include <cstdlib>

#include "platform/LibraryEntry.h"

bool platform::LibraryMain(void* instance, uint32_t reason) {
    const char* path = std::getenv("QV_LIBENTRY_LOG");
    if (path == nullptr) return true;
    FILE* f = std::fopen(path, "a");
    if (f == nullptr) return true;
    std::fprintf(f, "%s %s\n", reason == platform::kProcessAttach ? "attach" : "detach",
                 instance != nullptr ? "instance" : "none");
    std::fclose(f);
    return true;
}

extern "C" int LibEntryProbe() {
    return 7;
}
