// CSQLiteDB: the tool's one connection to the controller database, over the SQLite library
// bound at run time. Every SQLite failure is thrown as its integer result code (kNotBound when
// the library or a function is missing); busy and locked answers are retried 12 times, 250 ms
// apart. Progress goes to the program's log writer, more of it the higher the log level.
#pragma once
#include <cstdint>
#include <string>

#include "dbmaint/CSQLiteLib.h"

class CLog;

class CSQLiteDB {
  public:
    static constexpr int kPathMax = 259;  // longer database names are cut
    static constexpr int kBusyTries = 12; // busy/locked answers before an operation gives up
    static constexpr uint32_t kBusyPauseMs = 250;

    CSQLiteDB() = default;
    // Closes the connection (if open) and frees the library.
    ~CSQLiteDB();
    CSQLiteDB(const CSQLiteDB&) = delete;
    CSQLiteDB& operator=(const CSQLiteDB&) = delete;

    // Loads the library and opens the database file `name` (a board path is mapped into the
    // device root). Throws the SQLite result code of a failed initialisation or open, or
    // kNotBound when the library is absent (after logging so) or incomplete. It is kept apart
    // from the constructor so that after a failure the caller can still print the connection's
    // error texts and the destructor still closes what was opened.
    void Open(const char* name, int32_t logLevel, CLog* log);
    // Releases the cache, closes the connection and shuts SQLite down; a second call does
    // nothing. Never throws.
    void Close();
    // Hands the connection's cache memory back to the system; the result is ignored.
    void ReleaseMemory();
    // Runs a complete SQL text (one or more statements), ignoring any rows. Returns true when
    // it ran (also when nothing was open), false when it gave up after the twelfth busy/locked
    // answer. Throws any other failure.
    bool Execute(const char* sql);
    // Online copy of the "main" schema into the file `destination`, `pagesPerStep` pages at a
    // time with `waitMs` between steps. The copy is made in a new file beside the destination
    // and moved over it only when complete: a failed or stopped copy leaves no partial file and
    // an earlier backup as it was. An earlier backup is held exclusively meanwhile; one that
    // another process holds, or a step, answering busy or locked is retried as any busy
    // operation ("DB: Backup() [<destination>] DB busy/locked repeating <n>."); after the
    // twelfth answer in a row the copy is abandoned and that answer (5 or 6) returned. A file
    // of that name that is not a database is not replaced (its error is returned). A stop
    // request ends the copy between steps with SQLITE_INTERRUPT. Every kProgressMs of a long
    // copy "DB: Backup() <n> of <total> pages copied." is logged. Returns -1 when nothing is open,
    // else the last result: 0 for a complete copy, otherwise the SQLite error. Only a missing
    // library function throws.
    int Backup(const char* destination, int pagesPerStep, int waitMs);
    static constexpr uint32_t kProgressMs = 10000;

    // SQLite's text for a result code, and the connection's last error message; substitute
    // texts when the library is not bound or nothing is open.
    const char* ErrorText(int code) const;
    const char* ErrorMessage() const;

    const char* Path() const { return m_path; }
    int32_t LogLevel() const { return m_logLevel; }
    int32_t LastResult() const { return m_lastResult; }
    bool IsOpen() const { return m_handle != nullptr; }
    // The database directory "\DAVozuz\SQLite" as SQLite formatted it at the first open (null
    // before); kept for the process and not handed to SQLite.
    static const char* DatabaseDir() { return s_databaseDir; }

  private:
    friend class CSQLiteStmt;
    friend class CSQLiteLibTestAccess;

    // Calls `call` until it answers neither busy nor locked, pausing and logging
    // "DB: <operation> [<sql>] DB busy/locked repeating <attempt>." after each busy answer;
    // returns the last answer (still busy/locked when it gave up). The answer becomes the last
    // result.
    template <typename Call> int RetryWhileBusy(const char* operation, const char* sql, Call call);
    // The copy into a new file beside `file` that replaces it when complete (see Backup).
    // guard: the connection holding the earlier backup (null when there is none); closed here.
    int CopyBeside(const std::string& file, const char* destination, sqlite3*& guard,
                   int pagesPerStep, int waitMs);
    // The copy itself into the database file `file`; the result, also kept as the last one.
    int CopyInto(const std::string& file, const char* destination, int pagesPerStep, int waitMs);
    static bool SameFile(const std::string& a, const std::string& b);
    void ReleaseGuard(sqlite3*& guard); // closes it, when open

    // Sleeps the busy pause and logs the operation's busy line (written whatever the level).
    void RetryPause(const char* operation, const char* sql, int attempt);
    // Logs a line when the connection's log level is at least `level`; kAlways: whatever it is.
    static constexpr int32_t kAlways = INT32_MIN;
    void Log(int32_t level, const char* format, ...) __attribute__((format(printf, 3, 4)));

    char m_path[kPathMax + 1] = {}; // database file as given, always terminated
    CSQLiteLib m_lib;               // the bound library
    CLog* m_log = nullptr;          // the program's log writer (not owned)
    sqlite3* m_handle = nullptr;    // null when closed
    int32_t m_logLevel = 0;         // how much the layer logs
    int32_t m_lastResult = 0;       // result of the most recent library call

    static char* s_databaseDir; // formatted by SQLite's mprintf, process-wide
};

// Runs a busy-retried call; defined here because statements use it too.
template <typename Call>
int CSQLiteDB::RetryWhileBusy(const char* operation, const char* sql, Call call) {
    int rc = 0;
    for (int attempt = 0; attempt < kBusyTries; ++attempt) {
        rc = call();
        m_lastResult = rc;
        if (!CSQLiteLib::IsBusy(rc)) return rc;
        RetryPause(operation, sql, attempt);
    }
    return rc;
}
