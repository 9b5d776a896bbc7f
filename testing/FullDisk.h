// A full disk for a test: a small tmpfs mounted over a folder in a mount namespace of its own
// (`unshare -m`), so that only the commands run there see it and it vanishes with them.
#pragma once
#include <string>

#include "testing/Run.h"

namespace qvtesting {

// True when this process may make a mount namespace and mount a tmpfs in it (root, or the
// capability); a test skips otherwise.
inline bool TmpfsAvailable() {
    return RunShell("unshare -m sh -c 'mount -t tmpfs -o size=64k tmpfs /mnt' 2>/dev/null")
               .exitCode == 0;
}

// Runs the shell script with a tmpfs of sizeKb kilobytes mounted over folder (which it hides);
// the script fills it and copies out what the test inspects afterwards. Standard error goes
// into the output unless errIntoOut is false.
inline RunResult RunWithTmpfs(const std::string& folder, int sizeKb, const std::string& script,
                              bool errIntoOut = true) {
    const std::string inner = "mount -t tmpfs -o size=" + std::to_string(sizeKb) + "k tmpfs '" +
                              folder + "' && " + script;
    std::string quoted;
    for (char c : inner)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    RunOptions options;
    options.errIntoOut = errIntoOut;
    return RunShell("unshare -m sh -c '" + quoted + "'", options);
}

} // namespace qvtesting
