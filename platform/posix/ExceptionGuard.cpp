// Exception guard on signals. A guarded call records a jump point in a per-thread guard record;
// the process-wide handler, finding a record on the faulting thread, stores the code and the
// instruction address and jumps back to that point, so the faulting function never resumes.
// Threads without a record get the handler that was installed before ours.
#include "platform/ExceptionGuard.h"

#include <pthread.h>
#include <setjmp.h>
#include <signal.h>
#include <ucontext.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace platform {

namespace {

constexpr std::array<int, 4> kSignals = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};

// Room for our handler and any handler it chains to; sanitizer builds need more than the
// system's minimum.
constexpr size_t kSignalStackSize = 256 * 1024;

// A fault this far below the lowest stack address still counts as a stack overflow: a large
// frame can step over the guard page.
constexpr uintptr_t kOverflowReach = 1024 * 1024;

struct Guard {
    sigjmp_buf jump;
    volatile sig_atomic_t armed = 0;
    uintptr_t stackLow = 0;  // lowest address of the thread's stack
    uintptr_t stackHigh = 0; // one past its highest address
    ProcessorException caught;
    Guard* outer = nullptr; // the enclosing guarded call on this thread
};

// Initial-exec: the handler reads it on any thread, and this model never allocates on access.
__thread Guard* t_guard __attribute__((tls_model("initial-exec"))) = nullptr;

struct sigaction g_previous[4]; // handlers in place before ours, by kSignals order
bool g_installed = false;

int SignalSlot(int sig) {
    for (size_t i = 0; i < kSignals.size(); ++i)
        if (kSignals[i] == sig) return static_cast<int>(i);
    return -1;
}

uintptr_t InstructionAddress(const siginfo_t* info, const void* context) {
    const auto* uc = static_cast<const ucontext_t*>(context);
    (void)info;
#if defined(__x86_64__)
    return static_cast<uintptr_t>(uc->uc_mcontext.gregs[REG_RIP]);
#elif defined(__i386__)
    return static_cast<uintptr_t>(uc->uc_mcontext.gregs[REG_EIP]);
#elif defined(__aarch64__)
    return static_cast<uintptr_t>(uc->uc_mcontext.pc);
#elif defined(__arm__)
    return static_cast<uintptr_t>(uc->uc_mcontext.arm_pc);
#else
    (void)uc;
    // For SIGILL and SIGFPE the kernel reports the instruction itself; for memory faults this
    // is the data address, the best left without the machine context.
    return reinterpret_cast<uintptr_t>(info->si_addr);
#endif
}

uint32_t FpeCode(int siCode) {
    switch (siCode) {
    case FPE_INTDIV:
        return kExceptionIntDivideByZero;
    case FPE_INTOVF:
        return kExceptionIntOverflow;
    case FPE_FLTDIV:
        return kExceptionFltDivideByZero;
    case FPE_FLTOVF:
        return kExceptionFltOverflow;
    case FPE_FLTUND:
        return kExceptionFltUnderflow;
    case FPE_FLTRES:
        return kExceptionFltInexactResult;
    case FPE_FLTSUB:
        return kExceptionArrayBoundsExceeded;
    default:
        return kExceptionFltInvalidOperation;
    }
}

uint32_t ExceptionCode(int sig, const siginfo_t* info, const Guard& guard) {
    const auto addr = reinterpret_cast<uintptr_t>(info->si_addr);
    switch (sig) {
    case SIGSEGV: {
        const uintptr_t reachLow =
            guard.stackLow > kOverflowReach ? guard.stackLow - kOverflowReach : 0;
        const bool nearStackEnd = addr >= reachLow && addr < guard.stackLow + 4096;
        return nearStackEnd ? kExceptionStackOverflow : kExceptionAccessViolation;
    }
    case SIGBUS:
        return info->si_code == BUS_ADRALN ? kExceptionDatatypeMisalignment
                                           : kExceptionAccessViolation;
    case SIGILL:
        return kExceptionIllegalInstruction;
    default:
        return FpeCode(info->si_code);
    }
}

// Hands a signal we do not catch to whoever had it before us.
void PassOn(int sig, siginfo_t* info, void* context) {
    const int slot = SignalSlot(sig);
    const struct sigaction& prev = g_previous[slot];
    if (prev.sa_flags & SA_SIGINFO) {
        prev.sa_sigaction(sig, info, context);
        return;
    }
    if (prev.sa_handler != SIG_DFL && prev.sa_handler != SIG_IGN) {
        prev.sa_handler(sig);
        return;
    }
    const bool sentByProcess = info->si_code <= 0;
    if (prev.sa_handler == SIG_IGN && sentByProcess) return;
    // Default action: a fault re-executes its instruction on return and now meets the default;
    // a sent signal is raised again (blocked until we return).
    struct sigaction dfl = {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(sig, &dfl, nullptr);
    if (sentByProcess) raise(sig);
}

// A function that made the processor check alignment is abandoned with its flags: the check
// must not follow the thread into the jump back (library code there may access unaligned data).
void ClearAlignmentCheck() {
#if defined(__x86_64__)
    asm volatile("pushfq\n\tandq $~0x40000, (%%rsp)\n\tpopfq" ::: "memory", "cc");
#endif
}

void OnSignal(int sig, siginfo_t* info, void* context) {
    Guard* guard = t_guard;
    if (guard == nullptr || !guard->armed || info->si_code <= 0) {
        PassOn(sig, info, context);
        return;
    }
    ClearAlignmentCheck();
    guard->armed = 0;
    guard->caught.code = ExceptionCode(sig, info, *guard);
    guard->caught.address = InstructionAddress(info, context);
    siglongjmp(guard->jump, 1);
}

bool InstallHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction sa = {};
        sa.sa_sigaction = OnSignal;
        sa.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&sa.sa_mask);
        bool ok = true;
        for (size_t i = 0; i < kSignals.size(); ++i)
            ok = sigaction(kSignals[i], &sa, &g_previous[i]) == 0 && ok;
        g_installed = ok;
    });
    return g_installed;
}

void StackBounds(Guard& guard) {
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) != 0) return;
    void* low = nullptr;
    size_t size = 0;
    if (pthread_attr_getstack(&attr, &low, &size) == 0) {
        guard.stackLow = reinterpret_cast<uintptr_t>(low);
        guard.stackHigh = guard.stackLow + size;
    }
    pthread_attr_destroy(&attr);
}

// The thread's alternate signal stack for one guarded call; the previous one comes back after.
class SignalStack {
  public:
    bool Install() {
        m_memory.reset(static_cast<char*>(std::malloc(kSignalStackSize)));
        if (!m_memory) return false;
        stack_t ours = {};
        ours.ss_sp = m_memory.get();
        ours.ss_size = kSignalStackSize;
        if (sigaltstack(&ours, &m_previous) != 0) return false;
        m_installed = true;
        return true;
    }
    ~SignalStack() {
        if (m_installed) sigaltstack(&m_previous, nullptr);
    }

  private:
    struct Free {
        void operator()(char* p) const { std::free(p); }
    };
    std::unique_ptr<char, Free> m_memory;
    stack_t m_previous = {};
    bool m_installed = false;
};

// Makes the guard the thread's innermost one while it lives, also when body throws.
class GuardScope {
  public:
    explicit GuardScope(Guard& guard) : m_guard(guard) {
        guard.outer = t_guard;
        t_guard = &guard;
    }
    ~GuardScope() {
        m_guard.armed = 0;
        t_guard = m_guard.outer;
    }

  private:
    Guard& m_guard;
};

// Kept apart from the jump point so nothing the jump skips lives in CallGuarded's own frame.
__attribute__((noinline)) void RunArmed(Guard& guard, const std::function<void()>& body) {
    guard.armed = 1;
    body();
    guard.armed = 0;
}

} // namespace

GuardResult CallGuarded(const std::function<void()>& body, ProcessorException& caught) {
    if (!InstallHandlers()) return GuardResult::NoGuard;
    SignalStack stack;
    if (!stack.Install()) return GuardResult::NoGuard;
    auto guard = std::make_unique<Guard>();
    StackBounds(*guard);
    GuardScope scope(*guard);
    if (sigsetjmp(guard->jump, 1) == 0) {
        RunArmed(*guard, body);
        return GuardResult::Returned;
    }
    caught = guard->caught;
    return GuardResult::Exception;
}

} // namespace platform
