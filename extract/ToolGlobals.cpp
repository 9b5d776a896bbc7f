#include "extract/ToolGlobals.h"

#include <cstdint>

namespace {

constexpr bool kBoardBuild = QV_BOARD_BUILD;

// The log settings of each flavour: the board has little room, so its log is half the size
// with half the archive slots.
struct LogSettings {
    const char* base;
    int32_t maxSize;
    int16_t maxFiles;
};
constexpr LogSettings kDesktopLog{"C:\\QVForecourt\\log\\Dovetrix", 2048000, 10};
constexpr LogSettings kBoardLog{"\\Dovetrix", 1024000, 5};
constexpr LogSettings kLog = kBoardBuild ? kBoardLog : kDesktopLog;

constexpr const char* kTitle = "2.6.0.0"; // the program version
constexpr int16_t kTimeMode = 1;          // milliseconds since the previous record

} // namespace

CLog& ToolLog() {
    static CLog log(kLog.base, kTitle, kTimeMode, kLog.maxSize, kLog.maxFiles, true, true);
    return log;
}

ClientLibrary& ToolLibrary() {
    // ToolLog() completes first, so the log outlives the binding.
    static ClientLibrary library(ToolLog());
    return library;
}
