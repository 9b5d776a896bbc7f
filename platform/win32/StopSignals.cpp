// Stop requests on Windows: Ctrl-C, Ctrl-Break and the console window closing set the stop flag.
// The handler runs on a thread of its own; returning TRUE keeps the process alive so the work
// reaches its next safe point.
#include <mutex>

#include "platform/StopRequest.h"
#include "platform/win32/Win32.h"

namespace platform {

namespace {

BOOL WINAPI OnConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
        RequestStop();
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void InstallStopHandlers() {
    static std::once_flag once;
    std::call_once(once, [] { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); });
}

} // namespace platform
