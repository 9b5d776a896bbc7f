// Where a test finds the build and its fixtures: the folders that the test run names in the
// environment (QV_BUILD_DIR, QV_SOURCE_DIR, QV_FIXTURES).
#pragma once
#include <cstdlib>
#include <string>

namespace qvtesting {

// The variable's value, "" when it is not set.
inline std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// build/ as QV_BUILD_DIR names it, else the current folder.
inline std::string QvBuildDir() {
    const char* dir = std::getenv("QV_BUILD_DIR");
    return dir != nullptr ? dir : ".";
}

// The folder of the test's fixture files (QV_FIXTURES), "" when none is named.
inline std::string FixtureDir() {
    return Env("QV_FIXTURES");
}

} // namespace qvtesting
