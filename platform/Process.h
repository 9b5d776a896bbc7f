// Process start with a command line, exit-code polling, and the process's own command line.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Exit code reported while a process is still running.
constexpr uint32_t kStillActive = 259;

using ProcessHandle = intptr_t; // 0 = none

// Starts a program (program path, mapped; a bare name such as "Dovetrix.exe" is looked up in
// "\Windows\") with a command line given as one string, as the board's process creation takes
// it. The child receives the string unchanged (see CommandLine) and, for its argv, the string
// split at white space with double quotes grouping. A trailing ".exe" that does not exist is
// dropped. Returns 0 when the program cannot be started.
ProcessHandle StartProcess(const std::string& program, const std::u16string& cmdLine,
                           bool newConsole);
// True with the exit code, or kStillActive while it runs; false when the query fails.
bool GetExitCode(ProcessHandle h, uint32_t& code);
// Waits up to ms (0xFFFFFFFF: forever); true when the process has ended.
bool WaitProcess(ProcessHandle h, uint32_t ms);
void CloseProcess(ProcessHandle h);

// The command line this process was started with, as one string without the program name:
// the string given to StartProcess, or else argv[1..] joined by blanks (arguments holding
// white space in double quotes).
std::u16string CommandLine(int argc, char** argv);

// Splits a command line at white space; a double quote switches quoting on and off and is
// removed, so white space inside quotes does not split.
std::vector<std::u16string> SplitCommandLine(std::u16string_view line);

} // namespace platform
