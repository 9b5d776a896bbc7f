// Console output through the C run-time's stdout. A closed pipe makes the write fail with an
// error (Windows has no signal for it), so there is nothing to prepare.
#include "platform/Console.h"

#include <cstdio>

namespace platform {

void PrepareConsole() {}

bool WriteConsole(const char* text, size_t n) {
    if (!text || n == 0) return true;
    // Flushed at once, so the console shows each record as it is written.
    bool ok = std::fwrite(text, 1, n, stdout) == n && std::fflush(stdout) == 0;
    if (!ok) std::clearerr(stdout); // a reader may come back; try the next write
    return ok;
}

} // namespace platform
