// CSQLiteStmt: one prepared statement on a CSQLiteDB, living for one query or one DELETE batch.
// Failures are thrown as the SQLite result code (or kNotBound); a statement made on a closed
// connection is empty: every operation on it does nothing and reports false.
#pragma once
#include <cstdint>

#include "dbmaint/CSQLiteDB.h"

class CSQLiteStmt {
  public:
    static constexpr int kSqlMax = 2048; // longer SQL texts are cut

    // Prepares `sql` (persistent) on the connection; counts the statement whatever the result
    // and throws a failed preparation's code.
    CSQLiteStmt(CSQLiteDB& db, const char* sql);
    // Finalizes the statement and hands the connection's cache memory back.
    ~CSQLiteStmt();
    CSQLiteStmt(const CSQLiteStmt&) = delete;
    CSQLiteStmt& operator=(const CSQLiteStmt&) = delete;

    // Binds the integer parameter ?index (counting from 1); throws a failure.
    void Bind(int index, int32_t value);
    // Steps once expecting a row: true when a row is available; false when the statement is
    // done, empty, or gave up after the twelfth busy/locked answer. Throws other failures.
    bool Step();
    // Steps a statement that returns no rows (a DELETE): true when it completed; false when
    // empty or after giving up on busy/locked. Throws other failures.
    bool Execute();
    // Integer value of a result column of the current row; 0 for an SQL NULL; `out` is left
    // unchanged on an empty statement.
    void GetInt(int column, int32_t& out);

    bool IsEmpty() const { return m_handle == nullptr; }
    const char* Sql() const { return m_sql; }
    // Statements prepared and not yet finalized, process-wide.
    static int32_t LiveCount() { return s_liveCount; }

  private:
    CSQLiteDB* m_db;                  // owning connection (not owned)
    char m_sql[kSqlMax + 1] = {};     // SQL text, always terminated
    sqlite3_stmt* m_handle = nullptr; // null when not prepared or already finalized

    static int32_t s_liveCount; // prepared minus finalized statements
};
