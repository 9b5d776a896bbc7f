// Exception guard: runs a function on the calling thread and turns a processor exception that
// escapes it into the board's exception code and the address of the failing instruction. The
// function is never resumed after an exception: its frames are abandoned as they stand (no
// destructors run, locks it held stay held), so a caught exception is for reporting only.
//
// Processor exceptions are signals here. On a guarded thread they map to these codes:
//
//   SIGSEGV, fault address in or just below the thread's stack  0xC00000FD  stack overflow
//   SIGSEGV, any other address                                  0xC0000005  access violation
//   SIGBUS,  misaligned address (BUS_ADRALN)                    0x80000002  data misalignment
//   SIGBUS,  other (e.g. a mapped file cut short)               0xC0000005  access violation
//   SIGILL                                                      0xC000001D  illegal instruction
//   SIGFPE,  integer division by zero (FPE_INTDIV)              0xC0000094  integer divide by zero
//   SIGFPE,  integer overflow (FPE_INTOVF)                      0xC0000095  integer overflow
//   SIGFPE,  floating division by zero (FPE_FLTDIV)             0xC000008E  float divide by zero
//   SIGFPE,  floating overflow / underflow / inexact / invalid  0xC0000091 / 0xC0000093 /
//                                                               0xC000008F / 0xC0000090
//   SIGFPE,  subscript out of range (FPE_FLTSUB)                0xC000008C  array bounds exceeded
//
// The guard installs process-wide handlers for these four signals on its first use, keeping the
// handlers that were there before: a signal on a thread that is not inside a guarded call (or a
// signal sent by another process) goes to the previous handler, or takes the default action
// (usually ending the process) when there was none. A guarded call gives its thread an
// alternate signal stack for its duration, so a stack overflow can still be reported.
#pragma once
#include <cstdint>
#include <functional>

namespace platform {

// The board's exception codes.
constexpr uint32_t kExceptionAccessViolation = 0xC0000005;
constexpr uint32_t kExceptionDatatypeMisalignment = 0x80000002;
constexpr uint32_t kExceptionIllegalInstruction = 0xC000001D;
constexpr uint32_t kExceptionIntDivideByZero = 0xC0000094;
constexpr uint32_t kExceptionIntOverflow = 0xC0000095;
constexpr uint32_t kExceptionFltDivideByZero = 0xC000008E;
constexpr uint32_t kExceptionFltOverflow = 0xC0000091;
constexpr uint32_t kExceptionFltUnderflow = 0xC0000093;
constexpr uint32_t kExceptionFltInexactResult = 0xC000008F;
constexpr uint32_t kExceptionFltInvalidOperation = 0xC0000090;
constexpr uint32_t kExceptionArrayBoundsExceeded = 0xC000008C;
constexpr uint32_t kExceptionStackOverflow = 0xC00000FD;

// What a guarded call caught.
struct ProcessorException {
    uint32_t code = 0;     // one of the codes above
    uintptr_t address = 0; // address of the failing instruction
};

enum class GuardResult {
    Returned,  // the function returned normally
    Exception, // a processor exception escaped it; 'caught' holds it
    NoGuard,   // the guard could not be set up (no memory for the signal stack, or the
               // handlers could not be installed); the function was not run
};

// Runs body on the calling thread under the guard. Guarded calls may nest: the innermost one
// catches. C++ exceptions are not caught and pass through as usual.
GuardResult CallGuarded(const std::function<void()>& body, ProcessorException& caught);

} // namespace platform
