// What our own programs share on their command lines: the usage error (one line naming the
// mistake and a hint to --help, on standard error, exit 2), the version line, and the reason a
// file could not be read or written, in plain words.
#pragma once
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace qvcli {

constexpr int kUsageExit = 2; // exit code of a wrong command line

// Prints "<program>: <mistake>" and "Try '<program> --help' for more information." on standard
// error; returns kUsageExit. program may hold a verb ("qvserver ctl").
inline int UsageError(const std::string& program, const std::string& mistake) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", program.c_str(),
                 mistake.c_str(), program.c_str());
    return kUsageExit;
}

#ifdef QV_VERSION // given by linking the qv_cli target
// Prints "<program> (Forecourt tools) <version>" on standard output; returns 0.
inline int PrintVersion(const std::string& program) {
    std::printf("%s (Forecourt tools) %s\n", program.c_str(), QV_VERSION);
    return 0;
}
#endif

// A quoted option or word for a usage error: 'text'.
inline std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

// Why a file operation failed, from its error number: the common cases in plain words ("no
// such file or folder", "is a folder", "disk full", "permission denied"), else the system's text.
inline std::string Reason(int error) {
    switch (error) {
    case ENOENT:
        return "no such file or folder";
    case ENOTDIR:
        return "a part of the path is not a folder";
    case EISDIR:
        return "is a folder";
    case ENOSPC:
    case EDQUOT:
        return "disk full";
    case EACCES:
    case EPERM:
        return "permission denied";
    case EROFS:
        return "read-only file system";
    default:
        return std::strerror(error);
    }
}

// The same for a file being written or created, where a missing part can only be its folder.
inline std::string WriteReason(int error) {
    return error == ENOENT ? "no such folder" : Reason(error);
}

} // namespace qvcli
