#include "dbmaint/CSQLiteDB.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/CLog.h"
#include "dbmaint/CSQLiteStmt.h"
#include "platform/Clock.h"
#include "platform/Paths.h"

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
    auto closeDb = CSQLiteLib::Need(m_lib.close_v2());
    auto errcode = CSQLiteLib::Need(m_lib.errcode());
    auto init = CSQLiteLib::Need(m_lib.backup_init());
    auto step = CSQLiteLib::Need(m_lib.backup_step());
    auto finish = CSQLiteLib::Need(m_lib.backup_finish());

    sqlite3* dest = nullptr;
    const std::string file = platform::MapPath(std::string_view(destination));
    m_lastResult = open(file.c_str(), &dest);
    if (m_lastResult == SQLITE_OK) {
        sqlite3_backup* backup = init(dest, "main", m_handle, "main");
        if (backup == nullptr) {
            m_lastResult = errcode(dest);
        } else {
            // A step that answers busy or locked is retried like every other busy operation
            // (12 answers, 250 ms apart): a destination that another process holds, or that is
            // the open database itself, must not hold the run up for ever. A step that made
            // progress starts the count again.
            int rc = SQLITE_OK;
            for (;;) {
                rc = RetryWhileBusy("Backup()", destination,
                                    [&] { return step(backup, pagesPerStep); });
                if (rc != SQLITE_OK) break;
                if (waitMs > 0) platform::Sleep(static_cast<uint32_t>(waitMs));
                std::fputs(".", stdout);
                std::fflush(stdout);
            }
            finish(backup);
            // After a busy give-up the destination reports no error of its own: the busy
            // answer is the result, so that the copy is not taken for complete.
            m_lastResult = CSQLiteLib::IsBusy(rc) ? rc : errcode(dest);
        }
    }
    closeDb(dest);
    std::fputs("Done.\n", stdout);
    std::fflush(stdout);
    return m_lastResult;
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
