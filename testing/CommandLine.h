// Checks of the command-line conventions our own programs keep, on a program's captured run
// (testing/Run.h): --help on standard output with exit 0, --version as one line, and a usage
// error as one line naming the mistake plus the hint to --help on standard error with exit 2.
// Each returns "" when the run keeps the convention, else what is wrong (for the test's message).
#pragma once
#include <string>

#include "testing/Run.h"

namespace qvtesting {

// What the run printed and how it ended, for a failure message.
inline std::string Described(const RunResult& r) {
    return "exit " + std::to_string(r.exitCode) + "\n--- stdout:\n" + r.out + "--- stderr:\n" +
           r.err;
}

// --help: exit 0, nothing on standard error, standard output starting with usageStart.
inline std::string HelpProblem(const RunResult& r, const std::string& usageStart) {
    if (r.exitCode == 0 && r.err.empty() && r.out.rfind(usageStart, 0) == 0) return "";
    return "help does not start with '" + usageStart + "' on stdout with exit 0: " + Described(r);
}

// --version: exit 0, one line "<program> ...<digits>" on standard output, nothing on stderr.
inline std::string VersionProblem(const RunResult& r, const std::string& program) {
    const bool oneLine = !r.out.empty() && r.out.find('\n') == r.out.size() - 1;
    if (r.exitCode == 0 && r.err.empty() && oneLine && r.out.rfind(program + " ", 0) == 0)
        return "";
    return "version is not one line starting with '" + program + " ': " + Described(r);
}

// A usage error: exit 2, nothing on standard output, and exactly
// "<program>: <mistake>\nTry '<program> --help' for more information.\n" on standard error.
inline std::string UsageErrorProblem(const RunResult& r, const std::string& program,
                                     const std::string& mistake) {
    const std::string expected =
        program + ": " + mistake + "\nTry '" + program + " --help' for more information.\n";
    if (r.exitCode == 2 && r.out.empty() && r.err == expected) return "";
    return "expected exit 2 and on stderr:\n" + expected + "got " + Described(r);
}

} // namespace qvtesting
