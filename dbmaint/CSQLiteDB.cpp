#include "dbmaint/CSQLiteDB.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/CLog.h"
#include "dbmaint/CSQLiteStmt.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/StopRequest.h"

namespace {

constexpr const char* kNoLibraryText = "SQLite.DLL not loaded";
constexpr const char* kNoConnectionText = "no connection";

int IgnoreRows(void*, int, char**, char**) {
    return 0;
}

} // namespace

char* CSQLiteDB::s_databaseDir = nullptr;

CSQLiteDB::~CSQLiteDB() {
    Close();
    m_lib.Free();
}

void CSQLiteDB::Open(const char* name, int32_t logLevel, CLog* log) {
    m_lib.Clear(log, logLevel);
    if (!m_lib.Load()) m_lib.Free(); // a partly bound library is of no use

    m_log = log;
    m_logLevel = logLevel;
    m_handle = nullptr;
    m_lastResult = 0;
    std::snprintf(m_path, sizeof(m_path), "%s", name != nullptr ? name : "");

    m_lastResult = CSQLiteLib::Need(m_lib.initialize())();
    CSQLiteLib::Check(m_lastResult);

    // Formatted once per process: the text is never freed (the table has no sqlite3_free),
    // and a run opens its one connection only once.
    auto mprintf = CSQLiteLib::Need(m_lib.mprintf());
    if (s_databaseDir == nullptr) s_databaseDir = mprintf("%s", "\\DAVozuz\\SQLite");

    const std::string file = platform::MapPath(std::string_view(m_path));
    m_lastResult = CSQLiteLib::Need(m_lib.open())(file.c_str(), &m_handle);
    CSQLiteLib::Check(m_lastResult);

    if (m_log != nullptr)
        m_log->Write("DB: %s opened, result %d. LIB Version %s", m_path, m_lastResult,
                     CSQLiteLib::Need(m_lib.libversion())());
}

void CSQLiteDB::Close() {
    if (m_handle == nullptr) return;
    ReleaseMemory();
    if (auto closeDb = m_lib.close_v2()) m_lastResult = closeDb(m_handle);
    Log(1, "DB: %s closed, %d.", m_path, m_lastResult);
    m_handle = nullptr;
    if (auto shutdown = m_lib.shutdown()) m_lastResult = shutdown();
    Log(1, "DB: shutdown, %d, Stmnt Count %d.", m_lastResult, CSQLiteStmt::LiveCount());
}

void CSQLiteDB::ReleaseMemory() {
    if (m_handle == nullptr) return;
    if (auto release = m_lib.db_release_memory()) release(m_handle);
}

bool CSQLiteDB::Execute(const char* sql) {
    if (m_handle == nullptr) return true;
    auto exec = CSQLiteLib::Need(m_lib.exec());
    const int rc = RetryWhileBusy(
        "DB Execute()", sql, [&] { return exec(m_handle, sql, IgnoreRows, nullptr, nullptr); });
    if (CSQLiteLib::IsBusy(rc)) {
        ReleaseMemory();
        return false;
    }
    CSQLiteLib::Check(rc);
    return true;
}

int CSQLiteDB::Backup(const char* destination, int pagesPerStep, int waitMs) {
    if (m_handle == nullptr) return -1;
    auto open = CSQLiteLib::Need(m_lib.open());
    CSQLiteLib::Need(m_lib.close_v2());
    auto exec = CSQLiteLib::Need(m_lib.exec());
    CSQLiteLib::Need(m_lib.errcode());
    CSQLiteLib::Need(m_lib.backup_init());
    CSQLiteLib::Need(m_lib.backup_step());
    CSQLiteLib::Need(m_lib.backup_finish());

    const std::string file = platform::MapPath(std::string_view(destination));
    if (SameFile(file, platform::MapPath(std::string_view(m_path)))) {
        // The database's own file: SQLite refuses the copy (locked), and no other file may
        // take its place.
        m_lastResult = CopyInto(file, destination, pagesPerStep, waitMs);
    } else {
        // An earlier backup is held, so that no other process is using it when it is replaced,
        // and it must be a database: another file of that name is not ours to replace.
        sqlite3* guard = nullptr;
        m_lastResult = SQLITE_OK;
        if (platform::GetFileKind(file) != platform::FileKind::Missing) {
            m_lastResult = open(file.c_str(), &guard);
            if (m_lastResult == SQLITE_OK)
                m_lastResult = RetryWhileBusy("Backup()", destination, [&] {
                    return exec(guard, "BEGIN EXCLUSIVE", IgnoreRows, nullptr, nullptr);
                });
        }
        if (m_lastResult == SQLITE_OK)
            m_lastResult = CopyBeside(file, destination, guard, pagesPerStep, waitMs);
        ReleaseGuard(guard);
    }
    std::fputs("Done.\n", stdout);
    std::fflush(stdout);
    return m_lastResult;
}

// The copy goes into a new file beside the backup and replaces it only when complete, so a
// failed or stopped copy leaves no partial file and the earlier backup as it was.
int CSQLiteDB::CopyBeside(const std::string& file, const char* destination, sqlite3*& guard,
                          int pagesPerStep, int waitMs) {
    std::string target, temp;
    const bool created = guard != nullptr ? platform::CreateReplacement(file, target, temp)
                                          : platform::CreateNewFileBeside(file, target, temp);
    if (!created) {
        Log(kAlways, "DB: Backup() [%s] cannot be written: %s.", destination,
            platform::LastFileErrorText(false));
        return SQLITE_CANTOPEN;
    }
    int rc = CopyInto(temp, destination, pagesPerStep, waitMs);
    // Released while the earlier backup still has its name, so that SQLite removes the
    // write-ahead log files that belong to it.
    ReleaseGuard(guard);
    if (rc == SQLITE_OK && !platform::ReplaceFile(temp, target)) {
        Log(kAlways, "DB: Backup() [%s] cannot be written: %s.", destination,
            platform::LastFileErrorText(false));
        rc = SQLITE_IOERR;
    }
    if (rc != SQLITE_OK) {
        platform::DeleteFile(temp);
        platform::DeleteFile(temp + "-journal"); // a rollback journal left by a failed step
    }
    return rc;
}

int CSQLiteDB::CopyInto(const std::string& file, const char* destination, int pagesPerStep,
                        int waitMs) {
    auto open = m_lib.open();
    auto closeDb = m_lib.close_v2();
    auto errcode = m_lib.errcode();
    auto init = m_lib.backup_init();
    auto step = m_lib.backup_step();
    auto finish = m_lib.backup_finish();
    auto remaining = m_lib.backup_remaining();
    auto pagecount = m_lib.backup_pagecount();

    sqlite3* dest = nullptr;
    int result = open(file.c_str(), &dest);
    if (result == SQLITE_OK) {
        sqlite3_backup* backup = init(dest, "main", m_handle, "main");
        if (backup == nullptr) {
            result = errcode(dest);
        } else {
            // A step that answers busy or locked is retried like every other busy operation
            // (12 answers, 250 ms apart): a destination that another process holds, or that is
            // the open database itself, must not hold the run up for ever. A step that made
            // progress starts the count again. A stop request ends the copy between steps.
            int rc = SQLITE_OK;
            uint32_t reported = platform::TickCount();
            for (;;) {
                rc = RetryWhileBusy("Backup()", destination,
                                    [&] { return step(backup, pagesPerStep); });
                if (rc != SQLITE_OK) break;
                if (platform::StopRequested() ||
                    (waitMs > 0 && !platform::SleepUnlessStopped(static_cast<uint32_t>(waitMs)))) {
                    rc = SQLITE_INTERRUPT;
                    break;
                }
                std::fputs(".", stdout);
                std::fflush(stdout);
                if (platform::TickCount() - reported >= kProgressMs && remaining && pagecount) {
                    reported = platform::TickCount();
                    const int total = pagecount(backup);
                    Log(kAlways, "DB: Backup() %d of %d pages copied.", total - remaining(backup),
                        total);
                }
            }
            finish(backup);
            // After a busy give-up or a stop the destination reports no error of its own: that
            // answer is the result, so that the copy is not taken for complete.
            result = CSQLiteLib::IsBusy(rc) || rc == SQLITE_INTERRUPT ? rc : errcode(dest);
        }
    }
    closeDb(dest);
    m_lastResult = result;
    return result;
}

void CSQLiteDB::ReleaseGuard(sqlite3*& guard) {
    if (guard == nullptr) return;
    if (auto closeDb = m_lib.close_v2()) closeDb(guard); // rolls its transaction back
    guard = nullptr;
}

// Both paths name one file (the same device and node).
bool CSQLiteDB::SameFile(const std::string& a, const std::string& b) {
    platform::FileStamp sa, sb;
    return platform::GetPathStamp(a, sa) && platform::GetPathStamp(b, sb) &&
           sa.device == sb.device && sa.inode == sb.inode;
}

const char* CSQLiteDB::ErrorText(int code) const {
    auto errstr = m_lib.errstr();
    return errstr != nullptr ? errstr(code) : kNoLibraryText;
}

const char* CSQLiteDB::ErrorMessage() const {
    auto errmsg = m_lib.errmsg();
    if (errmsg == nullptr) return kNoLibraryText;
    return m_handle != nullptr ? errmsg(m_handle) : kNoConnectionText;
}

void CSQLiteDB::RetryPause(const char* operation, const char* sql, int attempt) {
    platform::Sleep(kBusyPauseMs);
    if (m_log != nullptr)
        m_log->Write("DB: %s [%s] DB busy/locked repeating %d.", operation, sql, attempt);
}

void CSQLiteDB::Log(int32_t level, const char* format, ...) {
    if (m_log == nullptr || m_logLevel < level) return;
    va_list args;
    va_start(args, format);
    m_log->WriteV(format, args);
    va_end(args);
}
