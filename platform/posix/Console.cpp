// Console output: SIGPIPE would end the process at the first write into a closed pipe; ignored,
// the write fails with EPIPE and the caller goes on.
#include "platform/Console.h"

#include <csignal>
#include <cstdio>
#include <mutex>

namespace platform {

void PrepareConsole() {
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGPIPE, SIG_IGN); });
}

bool WriteConsole(const char* text, size_t n) {
    PrepareConsole();
    if (!text || n == 0) return true;
    // Flushed at once: a service's or a piped program's output is seen as it is written.
    bool ok = std::fwrite(text, 1, n, stdout) == n && std::fflush(stdout) == 0;
    if (!ok) std::clearerr(stdout); // a reader may come back (a terminal); try the next write
    return ok;
}

} // namespace platform
