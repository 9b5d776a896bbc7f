// Shared by the database tool's tests: a temporary device root with SQLite linked where the
// board keeps it, controller-database files with the three purged tables, and small file and
// SQL helpers. The tests use the system SQLite directly to make and inspect their files.
#pragma once
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "testing/Files.h"
#include "testing/TempDir.h"

namespace dbtest {

namespace fs = std::filesystem;

using qvtesting::CountLines;
using qvtesting::FindLine;
using qvtesting::Lines;
using qvtesting::ReadFile;
using qvtesting::WriteFile;

// The file of the SQLite library this test binary runs with, to link as the board's library.
inline std::string SystemSqlitePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&sqlite3_libversion), &info) == 0 || !info.dli_fname)
        return {};
    return info.dli_fname;
}

// One open file of the test's own, closed when it goes.
class Db {
  public:
    explicit Db(const fs::path& path) {
        if (sqlite3_open(path.c_str(), &m_db) != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << path << ": " << sqlite3_errmsg(m_db);
        sqlite3_busy_timeout(m_db, 5000);
    }
    ~Db() { sqlite3_close_v2(m_db); }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    void Exec(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK)
            ADD_FAILURE() << sql << ": " << (error ? error : "?");
        sqlite3_free(error);
    }
    // First column of the first row as an integer; -1 when no row came.
    long long Int(const std::string& sql) {
        sqlite3_stmt* stmt = nullptr;
        long long value = -1;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << sqlite3_errmsg(m_db);
            return value;
        }
        if (sqlite3_step(stmt) == SQLITE_ROW) value = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);
        return value;
    }
    std::string Text(const std::string& sql) {
        sqlite3_stmt* stmt = nullptr;
        std::string value;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0))
            value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        sqlite3_finalize(stmt);
        return value;
    }
    sqlite3* Handle() const { return m_db; }

    // The three tables the tool purges, with the controller's key, state and date columns.
    void CreateTables(bool deliveries = true, bool logEvents = true, bool saleItems = true) {
        if (deliveries)
            Exec("CREATE TABLE Deliveries(ID INTEGER PRIMARY KEY, LoggedState INTEGER, "
                 "CompletedDT REAL, Volume INTEGER)");
        if (logEvents)
            Exec("CREATE TABLE LogEvents(ID INTEGER PRIMARY KEY, LoggedState INTEGER, "
                 "GeneratedDT REAL, Text TEXT)");
        if (saleItems)
            Exec("CREATE TABLE SaleItems(ID INTEGER PRIMARY KEY, LoggedState INTEGER, "
                 "AddedDT REAL, Price INTEGER)");
    }
    // Adds `count` rows dated `ageDays` days back (SQLite day numbers) in one transaction.
    void AddRows(const std::string& table, int count, double ageDays, int loggedState = 0) {
        const std::string date = table == "Deliveries"  ? "CompletedDT"
                                 : table == "LogEvents" ? "GeneratedDT"
                                                        : "AddedDT";
        Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
             std::to_string(count) + ") INSERT INTO " + table + "(LoggedState, " + date +
             ") SELECT " + std::to_string(loggedState) + ", julianday('now') - " +
             std::to_string(ageDays) + " FROM n");
    }

  private:
    sqlite3* m_db = nullptr;
};

// A temporary device root with the board's folders and SQLite linked as "SQLite.DLL";
// QV_ROOT points at it for the test and is removed with it.
class DeviceRoot : public qvtesting::DeviceRoot {
  public:
    explicit DeviceRoot(bool withLibrary = true)
        : qvtesting::DeviceRoot("tarnwell", {"DAVozuz/QVForecourt", "DAVozuz/SQLite"}) {
        if (withLibrary) LinkLibrary(SystemSqlitePath());
    }

    void LinkLibrary(const std::string& target) { Link("DAVozuz/QVForecourt/SQLite.DLL", target); }
    fs::path Library() const { return Root() / "DAVozuz" / "QVForecourt" / "SQLite.DLL"; }
    const fs::path& Root() const { return Dir(); }
    fs::path Sqlite() const { return Root() / "DAVozuz" / "SQLite"; }
    fs::path Database() const { return Sqlite() / "QV.db"; }
    fs::path Profile() const { return Sqlite() / "QVSQLite.ini"; }
    fs::path Backup() const { return Sqlite() / "QvDBBU.SQL"; }
};

} // namespace dbtest
