// The tests' program runner in the Windows build, found ahead of testing/Run.h there. Windows
// has no fork: a piece of a test cannot run in a child of its own, so ForkIntoClosedPipe reports
// that it could not start one, and the cases that need it are left out of the Windows run.
#pragma once
#include <functional>

namespace qvtesting {

inline int ForkIntoClosedPipe(const std::function<void()>& /*body*/, int /*exitCode*/) {
    return -1;
}

} // namespace qvtesting
