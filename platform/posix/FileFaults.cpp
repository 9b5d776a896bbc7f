// Shared by the POSIX and the Win32 file services (see FileFaults.h).
#include "platform/posix/FileFaults.h"

#include <cerrno>
#include <cstring>
#include <mutex>
#include <string>

namespace platform {

namespace {

constexpr int kOpCount = static_cast<int>(FileOp::Write) + 1;

std::mutex g_faultLock;
int g_faultCountdown[kOpCount] = {}; // calls left until the fault fires; 0 = none armed

} // namespace

namespace detail {

bool FileFaultFires(FileOp op) {
    std::lock_guard<std::mutex> lock(g_faultLock);
    int& left = g_faultCountdown[static_cast<int>(op)];
    if (left <= 0 || --left > 0) return false;
    errno = EIO;
    return true;
}

} // namespace detail

void FailFileOp(FileOp op, int nth) {
    std::lock_guard<std::mutex> lock(g_faultLock);
    g_faultCountdown[static_cast<int>(op)] = nth > 0 ? nth : 0;
}

void ClearFileFaults() {
    std::lock_guard<std::mutex> lock(g_faultLock);
    for (int& left : g_faultCountdown)
        left = 0;
}

bool WriteFaultFires() {
    return detail::FileFaultFires(FileOp::Write);
}

const char* LastFileErrorText(bool reading) {
    switch (errno) {
    case ENOENT:
        return reading ? "no such file" : "no such folder";
    case ENOTDIR:
        return "no such folder";
    case EISDIR:
        return "is a folder";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return "disk full";
    case EACCES:
    case EPERM:
        return "permission denied";
    case EROFS:
        return "read-only disk";
    default: {
        // The system's text, lower-cased at its start to sit inside a sentence.
        thread_local std::string text;
        text = std::strerror(errno);
        if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') text[0] = char(text[0] - 'A' + 'a');
        return text.c_str();
    }
    }
}

} // namespace platform
