#include "logservice/RunGuarded.h"

#include <atomic>
#include <cinttypes>
#include <cstdio>

#include "logservice/CSocket.h"
#include "platform/Clock.h"
#include "platform/ExceptionGuard.h"

namespace {

struct ExceptionName {
    uint32_t code;
    const char* text;
};

constexpr ExceptionName kExceptionNames[] = {
    {0x80000002, "DATA TYPE MISALIGNMENT"}, {0xC0000005, "Access violation"},
    {0xC000001D, "ILLEGAL INSTRUCTION"},    {0xC000008E, "Floating divide by zero"},
    {0xC0000094, "Integer divide by zero"}, {0xC00000FD, "Stack overflow"},
};

std::atomic<uint32_t> g_code{0};
std::atomic<uintptr_t> g_address{0};

// Nothing refreshes the watchdog from here on; the board resets. The thread is held even when
// "LED1:" was not open and no reset will come: resuming or ending the abandoned main loop would
// run the service on from a state nobody can trust.
[[noreturn]] void HoldThread() {
    for (;;)
        platform::Sleep(1000);
}

} // namespace

ExceptionRecord LastException() {
    return {g_code.load(), g_address.load()};
}

void ExceptionText(uint32_t code, char* out, size_t size) {
    for (const auto& name : kExceptionNames) {
        if (name.code == code) {
            std::snprintf(out, size, "%s", name.text);
            return;
        }
    }
    std::snprintf(out, size, "Unhandled exeception 0x%08X", code);
}

void RunGuarded(const std::function<void()>& run, CLog& log, CWatchdog& watchdog) {
    platform::ProcessorException caught;
    const platform::GuardResult result = platform::CallGuarded(run, caught);
    if (result == platform::GuardResult::Returned) return;
    if (result == platform::GuardResult::NoGuard) {
        // The loop still has to run; it does so unguarded.
        run();
        return;
    }
    g_code = caught.code;
    g_address = caught.address;
    // Whole addresses (at least eight digits): their difference locates the failing code.
    log.Write("SEH exception: address 0x%08" PRIXPTR "  CSocket::ReadMsg address 0x%08" PRIXPTR,
              caught.address, CSocket::ReadMsgAddress());
    char text[64];
    ExceptionText(caught.code, text, sizeof text);
    log.Write("%s", text);
    watchdog.TurnOn(CWatchdog::kModeOn);
    // The reset kills the process without a shutdown: the report must be in the file by then.
    log.Flush();
    HoldThread();
}
