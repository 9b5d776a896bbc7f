// Stop requests on POSIX: SIGINT and SIGTERM set the stop flag. SA_RESTART keeps the system
// calls that a signal interrupts going, so work in progress reaches its next safe point unharmed.
#include <signal.h>

#include <mutex>

#include "platform/StopRequest.h"

namespace platform {

namespace {

extern "C" void OnStopSignal(int) {
    RequestStop();
}

} // namespace

void InstallStopHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
    });
}

} // namespace platform
