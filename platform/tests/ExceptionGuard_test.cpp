// The exception guard against real processor faults raised on purpose: each code reached, the
// faulting function never resumed, the guard usable again, and faults outside a guarded call
// still handled by whoever handled them before.
#include "platform/ExceptionGuard.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <csignal>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using platform::CallGuarded;
using platform::GuardResult;
using platform::ProcessorException;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAsan = true;
#else
constexpr bool kAsan = false;
#endif

volatile int g_sink = 0;
volatile bool g_resumed = false; // set by a faulting function after its fault

// The faults are deliberate: instrumentation that would report them first is kept out.
#define QV_FAULTING __attribute__((noinline, no_sanitize("address", "undefined")))

QV_FAULTING void NullWrite() {
    volatile int* volatile p = nullptr;
    *p = 1;
    g_resumed = true;
}

QV_FAULTING void IllegalInstruction() {
    __builtin_trap();
}

QV_FAULTING void IntDivideByZero() {
    volatile int a = 7;
    volatile int b = 0;
    g_sink = a / b;
    g_resumed = true;
}

QV_FAULTING void FloatDivideByZero() {
    feenableexcept(FE_DIVBYZERO);
    volatile double a = 1.0;
    volatile double b = 0.0;
    g_sink = static_cast<int>(a / b);
    g_resumed = true;
}

QV_FAULTING void FloatInvalid() {
    feenableexcept(FE_INVALID);
    volatile double a = 0.0;
    g_sink = static_cast<int>(a / a);
    g_resumed = true;
}

volatile int g_depthLimit = 1 << 30; // never reached; hides the endless recursion from the compiler

QV_FAULTING int Recurse(int depth) {
    volatile char frame[1024];
    frame[0] = static_cast<char>(depth);
    if (depth >= g_depthLimit) return 0;
    return Recurse(depth + 1) + frame[0]; // not a tail call: every level keeps its frame
}

QV_FAULTING void StackOverflow() {
    g_sink = Recurse(0);
    g_resumed = true;
}

#if defined(__x86_64__)
// x86 faults on misaligned data only with the alignment-check flag set.
void SetAlignmentCheck(bool on) {
    if (on)
        asm volatile("pushfq\n\torq $0x40000, (%%rsp)\n\tpopfq" ::: "memory", "cc");
    else
        asm volatile("pushfq\n\tandq $~0x40000, (%%rsp)\n\tpopfq" ::: "memory", "cc");
}

QV_FAULTING void MisalignedLoad() {
    alignas(8) static volatile char buffer[16];
    SetAlignmentCheck(true);
    g_sink = *reinterpret_cast<volatile int*>(buffer + 1);
    SetAlignmentCheck(false);
    g_resumed = true;
}
#endif

// Restores what the faulting functions change about the thread.
void CleanUp() {
    fedisableexcept(FE_ALL_EXCEPT);
    feclearexcept(FE_ALL_EXCEPT);
#if defined(__x86_64__)
    SetAlignmentCheck(false);
#endif
}

struct FaultCase {
    const char* name;
    void (*fault)();
    uint32_t code;
};

class ExceptionGuardCodes : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ExceptionGuardCodes, CodeAndAddressOfTheFaultingFunctionWhichIsNotResumed) {
    const FaultCase& c = GetParam();
    g_resumed = false;
    const auto thread = std::this_thread::get_id();
    std::thread::id ranOn;
    ProcessorException caught;
    const GuardResult result = CallGuarded(
        [&] {
            ranOn = std::this_thread::get_id();
            c.fault();
        },
        caught);
    CleanUp();
    ASSERT_EQ(GuardResult::Exception, result);
    EXPECT_EQ(c.code, caught.code) << std::hex << caught.code;
    EXPECT_FALSE(g_resumed);
    EXPECT_EQ(thread, ranOn);
    EXPECT_EQ(thread, std::this_thread::get_id());
    // The failing instruction lies inside the (small) faulting function or, for the overflow,
    // inside the recursion.
    const auto fn = reinterpret_cast<uintptr_t>(
        c.fault == StackOverflow ? reinterpret_cast<void (*)()>(Recurse) : c.fault);
    EXPECT_GE(caught.address, fn);
    EXPECT_LT(caught.address, fn + 512) << std::hex << caught.address << " " << fn;
}

const FaultCase kCases[] = {
    {"NullWrite", NullWrite, 0xC0000005},
    {"IllegalInstruction", IllegalInstruction, 0xC000001D},
    {"IntDivideByZero", IntDivideByZero, 0xC0000094},
    {"FloatDivideByZero", FloatDivideByZero, 0xC000008E},
    {"FloatInvalid", FloatInvalid, 0xC0000090},
    {"StackOverflow", StackOverflow, 0xC00000FD},
#if defined(__x86_64__)
    {"MisalignedLoad", MisalignedLoad, 0x80000002},
#endif
};

INSTANTIATE_TEST_SUITE_P(Faults, ExceptionGuardCodes, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ExceptionGuard, ReturnsNormallyAndIsReusableAfterAnException) {
    ProcessorException caught;
    int runs = 0;
    EXPECT_EQ(GuardResult::Returned, CallGuarded([&] { ++runs; }, caught));
    EXPECT_EQ(0u, caught.code);
    // The signal is unblocked again after each catch, so the same thread catches repeatedly.
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(GuardResult::Exception, CallGuarded(NullWrite, caught));
        EXPECT_EQ(0xC0000005u, caught.code);
    }
    EXPECT_EQ(GuardResult::Returned, CallGuarded([&] { ++runs; }, caught));
    EXPECT_EQ(2, runs);
}

TEST(ExceptionGuard, InnermostGuardCatchesAndTheOuterCallGoesOn) {
    ProcessorException outer, inner;
    GuardResult innerResult = GuardResult::Returned;
    bool outerWentOn = false;
    const GuardResult outerResult = CallGuarded(
        [&] {
            innerResult = CallGuarded(IntDivideByZero, inner);
            outerWentOn = true;
        },
        outer);
    EXPECT_EQ(GuardResult::Returned, outerResult);
    EXPECT_EQ(GuardResult::Exception, innerResult);
    EXPECT_EQ(0xC0000094u, inner.code);
    EXPECT_TRUE(outerWentOn);
}

TEST(ExceptionGuard, GuardsOnSeveralThreadsCatchTheirOwnFaults) {
    const FaultCase faults[] = {{"", NullWrite, 0xC0000005},
                                {"", IntDivideByZero, 0xC0000094},
                                {"", StackOverflow, 0xC00000FD},
                                {"", IllegalInstruction, 0xC000001D}};
    constexpr int kThreads = 4;
    ProcessorException caught[kThreads];
    GuardResult results[kThreads];
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back([&, i] { results[i] = CallGuarded(faults[i].fault, caught[i]); });
    for (auto& t : threads)
        t.join();
    for (int i = 0; i < kThreads; ++i) {
        EXPECT_EQ(GuardResult::Exception, results[i]);
        EXPECT_EQ(faults[i].code, caught[i].code) << i;
    }
}

TEST(ExceptionGuard, CxxExceptionsPassThrough) {
    ProcessorException caught;
    EXPECT_THROW(CallGuarded([] { throw std::runtime_error("x"); }, caught), std::runtime_error);
    EXPECT_EQ(GuardResult::Exception, CallGuarded(NullWrite, caught));
}

// A fault outside a guarded call ends the process as it would without the guard (under the
// address sanitizer its own report ends it instead).
bool DiedOfFault(int status) {
    if (kAsan) return !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV;
}

class ExceptionGuardDeath : public ::testing::Test {
  protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(ExceptionGuardDeath, FaultOnAnUnguardedThreadWhileAnotherIsGuarded) {
    EXPECT_EXIT(
        {
            ProcessorException caught;
            CallGuarded([] { std::thread(NullWrite).join(); }, caught);
            _exit(0);
        },
        DiedOfFault, "");
}

TEST_F(ExceptionGuardDeath, FaultAfterAGuardedCallLeftByAnExceptionIsNotCaught) {
    EXPECT_EXIT(
        {
            ProcessorException caught;
            try {
                CallGuarded([] { throw 1; }, caught);
            } catch (int) {
            }
            NullWrite();
            _exit(0);
        },
        DiedOfFault, "");
}

int g_previousHandlerSignal = 0;
void PreviousHandler(int sig) {
    g_previousHandlerSignal = sig;
    _exit(40 + sig);
}

TEST_F(ExceptionGuardDeath, HandlerInstalledBeforeTheGuardStillServesOtherThreads) {
    EXPECT_EXIT(
        {
            struct sigaction sa = {};
            sa.sa_handler = PreviousHandler;
            sigemptyset(&sa.sa_mask);
            sigaction(SIGFPE, &sa, nullptr);
            ProcessorException caught;
            CallGuarded([] {}, caught); // installs the guard's handlers
            std::thread(IntDivideByZero).join();
            _exit(0);
        },
        ::testing::ExitedWithCode(40 + SIGFPE), "");
}

} // namespace
