// SQLite access of the server: one connection, statements prepared once and reset after each
// use so that no read transaction outlives an operation.
#include "outside/qvserver/Store.h"

#include <chrono>
#include <ctime>
#include <sqlite3.h>

#include "tools/cli/CommandLine.h"

namespace qvserver {

namespace {

constexpr double kJulianOfOleZero = 2415018.5; // 30 December 1899, 00:00

// Column names are quoted: some fields (Limit) are SQL words.
std::string Q(const std::string& name) {
    return "\"" + name + "\"";
}

std::string Columns(const Entity& e) {
    std::string s;
    for (const Field& f : e.fields)
        s += (s.empty() ? "" : ", ") + Q(f.name);
    return s;
}

std::string SqlType(FieldType t) {
    switch (t) {
    case FieldType::I16:
    case FieldType::I32:
    case FieldType::I64:
        return "INTEGER";
    case FieldType::F64:
    case FieldType::Date:
        return "REAL";
    case FieldType::Text:
        return "TEXT";
    }
    return "";
}

// Resets a statement when it goes out of scope, whatever path leaves.
struct Used {
    sqlite3_stmt* st;
    ~Used() {
        if (st) {
            sqlite3_reset(st);
            sqlite3_clear_bindings(st);
        }
    }
};

} // namespace

double JulianOf(double oleDate) {
    return oleDate + kJulianOfOleZero;
}
double OleOf(double julian) {
    return julian - kJulianOfOleZero;
}

double NowOle() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    const double secondsLocal = static_cast<double>(t) + static_cast<double>(local.tm_gmtoff);
    const double ms = static_cast<double>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000);
    // 25569 days lie between 30 December 1899 and 1 January 1970.
    return 25569.0 + (secondsLocal + ms / 1000.0) / 86400.0;
}

Store::~Store() {
    for (auto& kv : m_statements)
        sqlite3_finalize(kv.second);
    if (m_db) sqlite3_close(m_db);
}

bool Store::Open(const std::string& path, std::string& error) {
    if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        error = m_db ? sqlite3_errmsg(m_db) : "cannot open";
        // SQLite's own text does not say why the file could not be opened or created; the
        // system does.
        if (m_db != nullptr && sqlite3_system_errno(m_db) != 0)
            error += " (" + qvcli::WriteReason(sqlite3_system_errno(m_db)) + ")";
        return false;
    }
    sqlite3_busy_timeout(m_db, 5000);
    std::string sql = "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
                      "CREATE TABLE IF NOT EXISTS Settings (Key TEXT PRIMARY KEY, Value TEXT);";
    for (const Entity* e : AllEntities()) {
        sql += std::string("CREATE TABLE IF NOT EXISTS ") + e->table + " (ID INTEGER PRIMARY KEY";
        for (const Field& f : e->fields)
            sql += ", " + Q(f.name) + " " + SqlType(f.type);
        sql += ");";
    }
    char* msg = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &msg) != SQLITE_OK) {
        error = msg ? msg : "cannot create tables";
        sqlite3_free(msg);
        return false;
    }
    return true;
}

sqlite3_stmt* Store::Prepare(const std::string& sql) {
    auto it = m_statements.find(sql);
    if (it != m_statements.end()) return it->second;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v3(m_db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &st, nullptr) !=
        SQLITE_OK)
        return nullptr;
    m_statements[sql] = st;
    return st;
}

void Store::Bind(sqlite3_stmt* st, const Values& binds) {
    for (size_t i = 0; i < binds.size(); ++i) {
        const Value& v = binds[i];
        const int at = static_cast<int>(i + 1);
        switch (v.tag) {
        case qvwire::Tag::F64:
            sqlite3_bind_double(st, at, v.d);
            break;
        case qvwire::Tag::Text: {
            const std::string u8 = qvwire::ToU8(v.s);
            sqlite3_bind_text(st, at, u8.c_str(), static_cast<int>(u8.size()), SQLITE_TRANSIENT);
            break;
        }
        default:
            sqlite3_bind_int64(st, at, v.i);
            break;
        }
    }
}

void Store::BindField(sqlite3_stmt* st, int at, const Field& f, const Value& v) {
    switch (f.type) {
    case FieldType::Date:
        if (v.d == 0)
            sqlite3_bind_null(st, at);
        else
            sqlite3_bind_double(st, at, JulianOf(v.d));
        break;
    case FieldType::F64:
        sqlite3_bind_double(st, at, v.d);
        break;
    case FieldType::Text: {
        const std::string u8 = qvwire::ToU8(v.s);
        sqlite3_bind_text(st, at, u8.c_str(), static_cast<int>(u8.size()), SQLITE_TRANSIENT);
        break;
    }
    default:
        sqlite3_bind_int64(st, at, v.i);
        break;
    }
}

Value Store::Column(sqlite3_stmt* st, int col, const Field& f) {
    const bool null = sqlite3_column_type(st, col) == SQLITE_NULL;
    if (null && f.type != FieldType::Date) return DefaultOf(f);
    switch (f.type) {
    case FieldType::I16:
        return Value::I16(static_cast<int16_t>(sqlite3_column_int(st, col)));
    case FieldType::I32:
        return Value::I32(sqlite3_column_int(st, col));
    case FieldType::I64:
        return Value::I64(sqlite3_column_int64(st, col));
    case FieldType::F64:
        return Value::F64(sqlite3_column_double(st, col));
    case FieldType::Date:
        return Value::F64(null ? 0 : OleOf(sqlite3_column_double(st, col)));
    case FieldType::Text: {
        const unsigned char* t = sqlite3_column_text(st, col);
        return Value::Text(qvwire::ToU16(t ? reinterpret_cast<const char*>(t) : ""));
    }
    }
    return {};
}

bool Store::IsEmpty() {
    for (const Entity* e : AllEntities()) {
        double n = 0;
        if (!Scalar(std::string("SELECT COUNT(*) FROM ") + e->table, {}, n) || n > 0) return false;
    }
    double n = 0;
    return Scalar("SELECT COUNT(*) FROM Settings", {}, n) && n == 0;
}

bool Store::Exists(const Entity& e, int32_t id) {
    double n = 0;
    return Scalar(std::string("SELECT COUNT(*) FROM ") + e.table + " WHERE ID = ?1",
                  {Value::I32(id)}, n) &&
           n > 0;
}

int32_t Store::Get(const Entity& e, int32_t id, const std::vector<std::string>& fields,
                   Values& out) {
    std::string cols;
    std::vector<const Field*> defs;
    for (const std::string& name : fields) {
        defs.push_back(e.Find(name));
        cols += (cols.empty() ? "" : ", ") + Q(name);
    }
    sqlite3_stmt* st = Prepare("SELECT " + cols + " FROM " + e.table + " WHERE ID = ?1");
    if (!st) return 6;
    Used used{st};
    sqlite3_bind_int(st, 1, id);
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_DONE) return 3;
    if (rc != SQLITE_ROW) return 6;
    out.clear();
    for (size_t i = 0; i < defs.size(); ++i)
        out.push_back(Column(st, static_cast<int>(i), *defs[i]));
    return 0;
}

bool Store::Fetch(const Entity& e, int32_t id, Row& row) {
    std::vector<std::string> names;
    for (const Field& f : e.fields)
        names.push_back(f.name);
    Values vs;
    if (Get(e, id, names, vs) != 0) return false;
    row.clear();
    row["ID"] = Value::I32(id);
    for (size_t i = 0; i < names.size(); ++i)
        row[names[i]] = vs[i];
    return true;
}

int32_t Store::Set(const Entity& e, int32_t id, const std::vector<std::string>& fields,
                   const Values& in) {
    // A new record gets every field: the given ones, the defaults for the rest.
    std::string cols = "ID", params = "?1", updates;
    int at = 2;
    for (const Field& f : e.fields) {
        cols += ", " + Q(f.name);
        params += ", ?" + std::to_string(at++);
    }
    for (const std::string& name : fields)
        updates += (updates.empty() ? "" : ", ") + Q(name) + " = excluded." + Q(name);
    sqlite3_stmt* st = Prepare(std::string("INSERT INTO ") + e.table + " (" + cols + ") VALUES (" +
                               params + ") ON CONFLICT(ID) DO UPDATE SET " + updates);
    if (!st) return 6;
    Used used{st};
    sqlite3_bind_int(st, 1, id);
    at = 2;
    for (const Field& f : e.fields) {
        size_t k = 0;
        while (k < fields.size() && fields[k] != f.name)
            ++k;
        BindField(st, at++, f, k < fields.size() ? in[k] : DefaultOf(f));
    }
    return sqlite3_step(st) == SQLITE_DONE ? 0 : 6;
}

int32_t Store::Insert(const Entity& e, const Row& row, int32_t& newId) {
    sqlite3_stmt* st =
        Prepare(std::string("INSERT INTO ") + e.table + " (ID, " + Columns(e) + ") VALUES (?1" +
                [&] {
                    std::string p;
                    for (size_t i = 0; i < e.fields.size(); ++i)
                        p += ", ?" + std::to_string(i + 2);
                    return p;
                }() +
                ")");
    if (!st) return 6;
    Used used{st};
    auto id = row.find("ID");
    if (id != row.end())
        sqlite3_bind_int(st, 1, static_cast<int>(id->second.i));
    else
        sqlite3_bind_null(st, 1);
    int at = 2;
    for (const Field& f : e.fields) {
        auto it = row.find(f.name);
        BindField(st, at++, f, it != row.end() ? it->second : DefaultOf(f));
    }
    if (sqlite3_step(st) != SQLITE_DONE) return 6;
    newId = static_cast<int32_t>(sqlite3_last_insert_rowid(m_db));
    return 0;
}

int32_t Store::Delete(const Entity& e, int32_t id) {
    if (!Exists(e, id)) return 3;
    return Exec(std::string("DELETE FROM ") + e.table + " WHERE ID = ?1", {Value::I32(id)}) ? 0 : 6;
}

bool Store::Ids(const std::string& sql, const Values& binds, std::vector<int32_t>& out) {
    sqlite3_stmt* st = Prepare(sql);
    if (!st) return false;
    Used used{st};
    Bind(st, binds);
    out.clear();
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        out.push_back(sqlite3_column_int(st, 0));
    return rc == SQLITE_DONE;
}

bool Store::Scalar(const std::string& sql, const Values& binds, double& out) {
    sqlite3_stmt* st = Prepare(sql);
    if (!st) return false;
    Used used{st};
    Bind(st, binds);
    const int rc = sqlite3_step(st);
    out = rc == SQLITE_ROW ? sqlite3_column_double(st, 0) : 0;
    return rc == SQLITE_ROW || rc == SQLITE_DONE;
}

bool Store::Exec(const std::string& sql, const Values& binds) {
    sqlite3_stmt* st = Prepare(sql);
    if (!st) return false;
    Used used{st};
    Bind(st, binds);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    return rc == SQLITE_DONE;
}

uint64_t Store::Generation() {
    double version = 0;
    Scalar("PRAGMA data_version", {}, version);
    return (static_cast<uint64_t>(version) << 40) ^
           static_cast<uint64_t>(sqlite3_total_changes64(m_db));
}

std::string Store::Setting(const std::string& key, const std::string& fallback) {
    sqlite3_stmt* st = Prepare("SELECT Value FROM Settings WHERE Key = ?1");
    if (!st) return fallback;
    Used used{st};
    sqlite3_bind_text(st, 1, key.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(st) != SQLITE_ROW) return fallback;
    const unsigned char* t = sqlite3_column_text(st, 0);
    return t ? reinterpret_cast<const char*>(t) : "";
}

bool Store::SetSetting(const std::string& key, const std::string& value) {
    return Exec("INSERT INTO Settings (Key, Value) VALUES (?1, ?2) ON CONFLICT(Key) DO UPDATE SET "
                "Value = excluded.Value",
                {Value::Text(qvwire::ToU16(key)), Value::Text(qvwire::ToU16(value))});
}

} // namespace qvserver
