// Console output of the command-line programs.
#pragma once

namespace platform {

// Makes output to standard output or standard error that nobody reads any more (a pipe whose
// reader has gone, as in "Tarnwell -all | head") fail quietly instead of ending the process,
// so that a run whose screen output is cut short still finishes its work and its log. The
// failed writes report their error as usual. Call once at the program's start; calling it
// again changes nothing. Programs started afterwards inherit the setting.
void IgnoreClosedConsole();

} // namespace platform
