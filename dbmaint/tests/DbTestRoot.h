// Shared by the database tool's tests: a temporary device root with SQLite linked where the
// board keeps it, controller-database files with the three purged tables, and small file and
// SQL helpers. The tests use the system SQLite directly to make and inspect their files.
#pragma once
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace dbtest {

namespace fs = std::filesystem;

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Number of lines that contain `part`.
inline int CountLines(const std::vector<std::string>& lines, const std::string& part) {
    int n = 0;
    for (const std::string& line : lines)
        n += line.find(part) != std::string::npos ? 1 : 0;
    return n;
}

// Index of the first line at or after `from` that contains `part`, -1 when none.
inline int FindLine(const std::vector<std::string>& lines, const std::string& part, int from = 0) {
    for (size_t i = static_cast<size_t>(from); i < lines.size(); ++i)
        if (lines[i].find(part) != std::string::npos) return static_cast<int>(i);
    return -1;
}

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
class DeviceRoot {
  public:
    explicit DeviceRoot(bool withLibrary = true) {
        std::string pattern = (fs::temp_directory_path() / "tarnwell.XXXXXX").string();
        m_root = mkdtemp(pattern.data());
        fs::create_directories(m_root / "DAVozuz" / "QVForecourt");
        fs::create_directories(m_root / "DAVozuz" / "SQLite");
        if (withLibrary) LinkLibrary(SystemSqlitePath());
        setenv("QV_ROOT", m_root.c_str(), 1);
    }
    ~DeviceRoot() {
        unsetenv("QV_ROOT");
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    DeviceRoot(const DeviceRoot&) = delete;
    DeviceRoot& operator=(const DeviceRoot&) = delete;

    void LinkLibrary(const std::string& target) {
        const fs::path link = Library();
        std::error_code ec;
        fs::remove(link, ec);
        fs::create_symlink(target, link);
    }
    fs::path Library() const { return m_root / "DAVozuz" / "QVForecourt" / "SQLite.DLL"; }
    const fs::path& Root() const { return m_root; }
    fs::path Sqlite() const { return m_root / "DAVozuz" / "SQLite"; }
    fs::path Database() const { return Sqlite() / "QV.db"; }
    fs::path Profile() const { return Sqlite() / "QVSQLite.ini"; }
    fs::path Backup() const { return Sqlite() / "QvDBBU.SQL"; }

  private:
    fs::path m_root;
};

} // namespace dbtest
