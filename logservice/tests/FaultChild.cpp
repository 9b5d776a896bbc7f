// A service-like program whose main loop faults on purpose: its log and its watchdog access as
// the service has them, and the loop run through RunGuarded. The first argument names the fault
// ("none" lets the loop return). The log is "\FaultChild.L00" in the device root.
#include <cfenv>
#include <cstdio>
#include <cstring>

#include "common/CLog.h"
#include "logservice/CWatchdog.h"
#include "logservice/RunGuarded.h"

namespace {

volatile int g_sink = 0;
volatile int g_depthLimit = 1 << 30; // never reached; hides the endless recursion

// The faults are deliberate: instrumentation that would report them first is kept out.
#define QV_FAULTING __attribute__((noinline, no_sanitize("address", "undefined")))

QV_FAULTING void NullRead() {
    volatile int* volatile p = nullptr;
    g_sink = *p;
}

QV_FAULTING void DivideByZero() {
    volatile int a = 1;
    volatile int b = 0;
    g_sink = a / b;
}

QV_FAULTING void Illegal() {
    __builtin_trap();
}

QV_FAULTING int Recurse(int depth) {
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    if (depth >= g_depthLimit) return 0;
    return Recurse(depth + 1) + frame[0];
}

// An invalid floating-point operation: a code outside the report's table.
QV_FAULTING void InvalidFloat() {
    feenableexcept(FE_INVALID);
    volatile double zero = 0.0;
    g_sink = static_cast<int>(zero / zero);
}

class FaultingService {
  public:
    explicit FaultingService(const char* fault) : m_fault(fault) {}
    void Run() {
        if (std::strcmp(m_fault, "null") == 0) NullRead();
        if (std::strcmp(m_fault, "divide") == 0) DivideByZero();
        if (std::strcmp(m_fault, "illegal") == 0) Illegal();
        if (std::strcmp(m_fault, "overflow") == 0) g_sink = Recurse(0);
        if (std::strcmp(m_fault, "unlisted") == 0) InvalidFloat();
    }

  private:
    const char* m_fault;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s none|null|divide|illegal|overflow|unlisted\n", argv[0]);
        return 2;
    }
    CLog log("\\FaultChild", "Fault child", 1, 1 << 20, 1, true, false);
    CWatchdog watchdog(log);
    FaultingService service(argv[1]);
    RunGuarded([&] { service.Run(); }, log, watchdog);
    log.Write("Run returned");
    return 0;
}
