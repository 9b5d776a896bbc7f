// The server's SQLite file: the site tables, the controller tables and the settings.
// Not thread-safe: the server runs every operation under Lock(). No transaction stays open
// between operations, so other programs (the database maintenance tool) can use the file.
#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "outside/qvserver/Schema.h"

struct sqlite3;
struct sqlite3_stmt;

namespace qvserver {

using qvwire::Value;
using qvwire::Values;
using Row = std::map<std::string, Value>; // a record's fields by name (wire forms)

// Automation date <-> SQLite day number.
double JulianOf(double oleDate);
double OleOf(double julian);
// The current local time as an automation date.
double NowOle();

class Store {
  public:
    ~Store();
    // Opens or creates the file, sets WAL and synchronous=NORMAL, creates missing tables.
    bool Open(const std::string& path, std::string& error);
    std::mutex& Mutex() { return m_mutex; }

    // True when no table holds a row.
    bool IsEmpty();
    bool Exists(const Entity& e, int32_t id);
    // The named fields of record id in order; 3 when there is none, 6 on a database failure.
    int32_t Get(const Entity& e, int32_t id, const std::vector<std::string>& fields, Values& out);
    // Every field of record id; false when there is none.
    bool Fetch(const Entity& e, int32_t id, Row& row);
    // Stores the named fields under id, creating the record (other fields at their defaults).
    int32_t Set(const Entity& e, int32_t id, const std::vector<std::string>& fields,
                const Values& in);
    // Adds a record with the given fields under a new ID (or row["ID"] when given as I32).
    int32_t Insert(const Entity& e, const Row& row, int32_t& newId);
    // 3 when there was no such record.
    int32_t Delete(const Entity& e, int32_t id);

    // IDs from a query whose single column is an ID; false on a database failure.
    bool Ids(const std::string& sql, const Values& binds, std::vector<int32_t>& out);
    // A query's first column of its first row as a number (0 when no row).
    bool Scalar(const std::string& sql, const Values& binds, double& out);
    bool Exec(const std::string& sql, const Values& binds);
    bool Begin() { return Exec("BEGIN", {}); }
    bool Commit() { return Exec("COMMIT", {}); }

    // Changes whenever any program changed the file (walk lists are rebuilt then).
    uint64_t Generation();

    std::string Setting(const std::string& key, const std::string& fallback);
    bool SetSetting(const std::string& key, const std::string& value);

  private:
    sqlite3_stmt* Prepare(const std::string& sql);
    void Bind(sqlite3_stmt* st, const Values& binds);
    Value Column(sqlite3_stmt* st, int col, const Field& f);
    void BindField(sqlite3_stmt* st, int at, const Field& f, const Value& v);

    std::mutex m_mutex;
    sqlite3* m_db = nullptr;
    std::map<std::string, sqlite3_stmt*> m_statements; // prepared once, reset after each use
};

} // namespace qvserver
