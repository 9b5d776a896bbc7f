#include "dbmaint/CSQLiteStmt.h"

#include <cstdio>
#include <cstring>

#include "common/CLog.h"

int32_t CSQLiteStmt::s_liveCount = 0;

CSQLiteStmt::CSQLiteStmt(CSQLiteDB& db, const char* sql) : m_db(&db) {
    if (db.m_handle == nullptr) return;
    std::snprintf(m_sql, sizeof(m_sql), "%s", sql != nullptr ? sql : "");
    auto prepare = CSQLiteLib::Need(db.m_lib.prepare_v3());
    // Preparing reads the schema, which a writer in another process may hold locked: it gets
    // the same bounded retries as stepping, and still throws once they are used up.
    const int rc = db.RetryWhileBusy("Prepare()", m_sql, [&] {
        return prepare(db.m_handle, m_sql, static_cast<int>(std::strlen(m_sql)),
                       SQLITE_PREPARE_PERSISTENT, &m_handle, nullptr);
    });
    ++s_liveCount;
    db.Log(5, "DB: stmnt [%s] created %d, count %d.", m_sql, rc, s_liveCount);
    CSQLiteLib::Check(rc);
}

CSQLiteStmt::~CSQLiteStmt() {
    if (m_handle == nullptr) return;
    --s_liveCount;
    int rc = CSQLiteLib::kNotBound;
    if (auto finalize = m_db->m_lib.finalize()) rc = finalize(m_handle);
    m_db->Log(6, "DB: stmnt [%s] closed %d, count %d.", m_sql, rc, s_liveCount);
    m_handle = nullptr;
    m_db->ReleaseMemory();
}

void CSQLiteStmt::Bind(int index, int32_t value) {
    if (m_handle == nullptr) return;
    const int rc = CSQLiteLib::Need(m_db->m_lib.bind_int())(m_handle, index, value);
    m_db->m_lastResult = rc;
    CSQLiteLib::Check(rc);
}

bool CSQLiteStmt::Step() {
    if (m_handle == nullptr) return false;
    auto step = CSQLiteLib::Need(m_db->m_lib.step());
    const int rc = m_db->RetryWhileBusy("Step()", m_sql, [&] { return step(m_handle); });
    if (CSQLiteLib::IsBusy(rc)) return false;
    CSQLiteLib::Check(rc);
    return rc == SQLITE_ROW;
}

bool CSQLiteStmt::Execute() {
    if (m_handle == nullptr) return false;
    auto step = CSQLiteLib::Need(m_db->m_lib.step());
    const int rc = m_db->RetryWhileBusy("Execute()", m_sql, [&] { return step(m_handle); });
    if (CSQLiteLib::IsBusy(rc)) return false;
    CSQLiteLib::Check(rc);
    m_db->ReleaseMemory();
    return true;
}

void CSQLiteStmt::GetInt(int column, int32_t& out) {
    if (m_handle == nullptr) return;
    auto text = CSQLiteLib::Need(m_db->m_lib.column_text16());
    auto integer = CSQLiteLib::Need(m_db->m_lib.column_int());
    out = text(m_handle, column) == nullptr ? 0 : integer(m_handle, column);
}
