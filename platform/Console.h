// Console output of the programs. A write to standard output that fails (a pipe whose reader has
// gone, as in "Tarnwell -all | head", a closed or full terminal) is silent and the run goes on.
#pragma once
#include <cstddef>

namespace platform {

// Makes a write into a pipe without a reader fail instead of ending the process (on POSIX:
// SIGPIPE is ignored for the whole process). Each program's entry calls it first, before any
// output; WriteConsole calls it too. Calling it again does nothing more.
void PrepareConsole();

// Writes n bytes to standard output through stdio (so it stays in order with printf) and flushes
// them, so output into a pipe or file is there as soon as it is written. True when
// all of them were accepted; a failure is not reported anywhere else and later writes are still
// tried.
bool WriteConsole(const char* text, size_t n);

} // namespace platform
