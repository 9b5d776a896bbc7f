// A write into a pipe without a reader raises SIGPIPE, whose default action ends the process;
// ignored, the write fails with EPIPE instead.
#include "platform/Console.h"

#include <signal.h>

namespace platform {

void IgnoreClosedConsole() {
    struct sigaction action {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    sigaction(SIGPIPE, &action, nullptr);
}

} // namespace platform
