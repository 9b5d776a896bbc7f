#include "dbmaint/RunLog.h"

#include <cstdint>
#include <cstring>

#include "common/CLog.h"
#include "dbmaint/CSQLiteDB.h"
#include "platform/Memory.h"

namespace {

// The run's steps all belong to the program's entry; the line names it as the board does.
constexpr const char* kEntryName = "wmain";

const char* BaseName(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash != nullptr ? slash + 1 : path;
}

int32_t Kilobytes(uint64_t bytes) {
    return static_cast<int32_t>(bytes / 1024);
}

} // namespace

void MemoryReport(CLog& log) {
    platform::MemoryStatus status;
    platform::GetMemoryStatus(status);
    const double freeShare = status.totalPhys > 0 ? static_cast<double>(status.availPhys) * 100.0 /
                                                        static_cast<double>(status.totalPhys)
                                                  : 0.0;
    // The board divides its RAM between program memory and the object store; Linux has no
    // such division, so the two numbers are the RAM pages used by processes (total - available)
    // and the pages held by the page cache.
    log.Write("%%MEMORY total %dKb - free %dKb = in use %dKb, %.2f %% free  division %d - %d",
              Kilobytes(status.totalPhys), Kilobytes(status.availPhys),
              Kilobytes(status.totalPhys - status.availPhys), freeShare,
              static_cast<int>(status.programPages), static_cast<int>(status.storePages));
}

void LogDbError(CLog& log, const CSQLiteDB& db, int code, const char* file, int line) {
    log.Write("DB: ERROR %s - %d %s Res %d %s - %s", BaseName(file), line, kEntryName, code,
              db.ErrorText(code), db.ErrorMessage());
}
