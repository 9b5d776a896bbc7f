// The database layer against real SQLite files: loading and binding, empty statements,
// column reads, thrown codes, the busy/locked retry, the level-dependent lines, the live
// statement count and the online backup.
#include <chrono>
#include <cstdio>
#include <thread>

#include "DbTestRoot.h"
#include "common/CLog.h"
#include "dbmaint/CSQLiteDB.h"
#include "dbmaint/CSQLiteStmt.h"
#include "platform/Clock.h"

// Test-only access to the binding table: swaps one slot by name.
class CSQLiteLibTestAccess {
  public:
    static bool SetSlot(CSQLiteDB& db, const char* name, void* address) {
        for (int i = 0; i < CSQLiteLib::kSlotCount; ++i)
            if (std::string(CSQLiteLib::kNames[i]) == name) {
                db.m_lib.m_slots[i] = address;
                return true;
            }
        return false;
    }
};

namespace {

using dbtest::CountLines;
using dbtest::Lines;

// A log without prefixes whose output hook collects everything emitted.
class HookLog : public CLog {
  public:
    HookLog() : CLog("\\layer", "", 0, 1024000, 5, false, false) {
        EnableFile(false);
        m_hook = true;
    }
    void OnOutput(const char* text) override { m_seen += text; }
    std::vector<std::string> Taken() {
        Flush();
        std::vector<std::string> lines = Lines(m_seen);
        m_seen.clear();
        return lines;
    }
    std::string m_seen;
};

class SQLiteLayer : public ::testing::Test {
  protected:
    void SetUp() override {
        dbtest::Db db(m_root.Database());
        db.CreateTables();
        db.AddRows("Deliveries", 30, 40);
    }
    void Open(CSQLiteDB& db, int level = 0) { db.Open("\\DAVozuz\\SQLite\\QV.db", level, &m_log); }

    dbtest::DeviceRoot m_root;
    HookLog m_log;
};

TEST_F(SQLiteLayer, BindsTheThirtyThreeNamesInTheirOrder) {
    ASSERT_EQ(CSQLiteLib::kSlotCount, 33);
    EXPECT_STREQ(CSQLiteLib::kNames[0], "sqlite3_initialize");
    EXPECT_STREQ(CSQLiteLib::kNames[6], "sqlite3_prepare_v3");
    EXPECT_STREQ(CSQLiteLib::kNames[27], "sqlite3_db_release_memory");
    EXPECT_STREQ(CSQLiteLib::kNames[32], "sqlite3_backup_pagecount");
    CSQLiteLib lib;
    lib.Clear(&m_log, 0);
    EXPECT_TRUE(lib.Load());
    EXPECT_NE(lib.backup_pagecount(), nullptr);
    lib.Free();
    EXPECT_EQ(lib.open(), nullptr) << "slots of an unloaded library are not handed out";
}

TEST_F(SQLiteLayer, MissingLibraryLogsItsPathAndThrowsNotBound) {
    std::filesystem::remove(m_root.Library());
    CSQLiteDB db;
    try {
        Open(db);
        FAIL() << "Open did not throw";
    } catch (int code) {
        EXPECT_EQ(code, CSQLiteLib::kNotBound);
    }
    EXPECT_EQ(CountLines(m_log.Taken(),
                         "SQLite.DLL [\\DAVozuz\\QVForecourt\\SQLite.DLL] not found/loaded!!"),
              1);
    EXPECT_STREQ(db.ErrorText(1), "SQLite.DLL not loaded");
    EXPECT_STREQ(db.ErrorMessage(), "SQLite.DLL not loaded");
}

TEST_F(SQLiteLayer, LibraryWithoutTheNamesThrowsNotBoundSilently) {
    // A real library that exports none of SQLite's names.
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&dladdr), &info), 0);
    m_root.LinkLibrary(info.dli_fname);
    CSQLiteDB db;
    EXPECT_THROW(Open(db), int);
    EXPECT_EQ(CountLines(m_log.Taken(), "not found/loaded"), 0);
    EXPECT_FALSE(db.IsOpen());
}

TEST_F(SQLiteLayer, OpenLogsPathResultAndVersionAndCloseTwiceWritesOnce) {
    const int before = CSQLiteStmt::LiveCount();
    {
        CSQLiteDB db;
        Open(db, 1);
        EXPECT_EQ(CountLines(m_log.Taken(), std::string("DB: \\DAVozuz\\SQLite\\QV.db opened, "
                                                        "result 0. LIB Version ") +
                                                sqlite3_libversion()),
                  1);
        EXPECT_STREQ(CSQLiteDB::DatabaseDir(), "\\DAVozuz\\SQLite");
        {
            CSQLiteStmt stmt(db, "SELECT COUNT(*) FROM Deliveries ;");
            EXPECT_EQ(CSQLiteStmt::LiveCount(), before + 1);
        }
        db.Close();
        std::vector<std::string> lines = m_log.Taken();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], "DB: \\DAVozuz\\SQLite\\QV.db closed, 0.");
        EXPECT_EQ(lines[1], "DB: shutdown, 0, Stmnt Count " + std::to_string(before) + ".");
        db.Close();
    }
    EXPECT_TRUE(m_log.Taken().empty()) << "a second Close and the destructor write nothing";
}

TEST_F(SQLiteLayer, LevelDecidesWhichLinesAreWritten) {
    struct Case {
        int level;
        int created, closed, shutdown;
    };
    for (const Case& c : {Case{0, 0, 0, 0}, Case{1, 0, 0, 1}, Case{5, 1, 0, 1}, Case{6, 1, 1, 1}}) {
        CSQLiteDB db;
        Open(db, c.level);
        {
            CSQLiteStmt stmt(db, "SELECT COUNT(*) FROM Deliveries ;");
            stmt.Step();
        }
        db.Close();
        std::vector<std::string> lines = m_log.Taken();
        EXPECT_EQ(CountLines(lines, "opened, result 0"), 1) << "level " << c.level;
        EXPECT_EQ(CountLines(lines, "DB: stmnt [SELECT COUNT(*) FROM Deliveries ;] created 0, "
                                    "count "),
                  c.created)
            << "level " << c.level;
        EXPECT_EQ(CountLines(lines, "DB: stmnt [SELECT COUNT(*) FROM Deliveries ;] closed 0, "
                                    "count "),
                  c.closed)
            << "level " << c.level;
        EXPECT_EQ(CountLines(lines, "DB: shutdown, 0, Stmnt Count"), c.shutdown)
            << "level " << c.level;
    }
}

TEST_F(SQLiteLayer, EmptyStatementOnAClosedConnectionDoesNothing) {
    CSQLiteDB db; // never opened
    const int before = CSQLiteStmt::LiveCount();
    CSQLiteStmt stmt(db, "SELECT COUNT(*) FROM Deliveries ;");
    EXPECT_TRUE(stmt.IsEmpty());
    EXPECT_EQ(CSQLiteStmt::LiveCount(), before);
    stmt.Bind(1, 5);
    EXPECT_FALSE(stmt.Step());
    EXPECT_FALSE(stmt.Execute());
    int32_t out = 77;
    stmt.GetInt(0, out);
    EXPECT_EQ(out, 77);
    EXPECT_TRUE(db.Execute("DELETE FROM Deliveries"));
    EXPECT_EQ(db.Backup("\\DAVozuz\\SQLite\\QvDBBU.SQL", 10, 0), -1);
    EXPECT_FALSE(std::filesystem::exists(m_root.Backup()));
}

TEST_F(SQLiteLayer, GetIntReadsCountsAndNullAsZero) {
    CSQLiteDB db;
    Open(db);
    struct Case {
        const char* sql;
        int32_t expected;
    };
    for (const Case& c :
         {Case{"SELECT COUNT(*) FROM Deliveries ;", 30}, Case{"SELECT NULL", 0},
          Case{"SELECT MAX(ID) FROM Deliveries WHERE ID > 1000", 0}, Case{"SELECT -42", -42}}) {
        CSQLiteStmt stmt(db, c.sql);
        ASSERT_TRUE(stmt.Step()) << c.sql;
        int32_t out = 99;
        stmt.GetInt(0, out);
        EXPECT_EQ(out, c.expected) << c.sql;
        EXPECT_FALSE(stmt.Step()) << "one row only: " << c.sql;
    }
}

TEST_F(SQLiteLayer, BoundParametersSelectAndDeleteRows) {
    CSQLiteDB db;
    Open(db);
    {
        CSQLiteStmt del(db, "DELETE FROM Deliveries WHERE ID in (SELECT ID FROM Deliveries "
                            "ORDER BY ID ASC LIMIT ?1)");
        del.Bind(1, 12);
        EXPECT_TRUE(del.Execute());
    }
    CSQLiteStmt count(db, "SELECT COUNT(*) FROM Deliveries WHERE ID > ?1");
    count.Bind(1, 20);
    ASSERT_TRUE(count.Step());
    int32_t n = 0;
    count.GetInt(0, n);
    EXPECT_EQ(n, 10);
}

TEST_F(SQLiteLayer, FailuresAreThrownAsTheirCodesAndTheConnectionStaysUsable) {
    CSQLiteDB db;
    Open(db);
    const int before = CSQLiteStmt::LiveCount();
    try {
        CSQLiteStmt stmt(db, "SELECT COUNT(*) FROM NoSuchTable");
        FAIL() << "prepare did not throw";
    } catch (int code) {
        EXPECT_EQ(code, SQLITE_ERROR);
        EXPECT_STREQ(db.ErrorText(code), "SQL logic error");
        EXPECT_STREQ(db.ErrorMessage(), "no such table: NoSuchTable");
    }
    EXPECT_EQ(CSQLiteStmt::LiveCount(), before + 1) << "a failed preparation is counted too";

    db.Execute("CREATE TABLE Unique1(x INTEGER UNIQUE); INSERT INTO Unique1 VALUES(1);");
    try {
        CSQLiteStmt stmt(db, "INSERT INTO Unique1 VALUES(?1)");
        stmt.Bind(1, 1);
        stmt.Execute();
        FAIL() << "constraint violation did not throw";
    } catch (int code) {
        EXPECT_EQ(code, SQLITE_CONSTRAINT);
    }
    EXPECT_THROW(db.Execute("NOT SQL AT ALL"), int);
    {
        CSQLiteStmt stmt(db, "SELECT COUNT(*) FROM Unique1");
        EXPECT_THROW(stmt.Bind(3, 1), int) << "index out of range";
        ASSERT_TRUE(stmt.Step());
    }
    CSQLiteLibTestAccess::SetSlot(db, "sqlite3_bind_int", nullptr);
    CSQLiteStmt stmt(db, "SELECT ?1");
    try {
        stmt.Bind(1, 1);
        FAIL() << "a missing function did not throw";
    } catch (int code) {
        EXPECT_EQ(code, CSQLiteLib::kNotBound);
    }
}

TEST_F(SQLiteLayer, LockedDatabaseIsRetriedTwelveTimesThenGivenUp) {
    CSQLiteDB db;
    Open(db);
    const auto started = std::chrono::steady_clock::now();
    {
        dbtest::Db writer(m_root.Database());
        writer.Exec("BEGIN IMMEDIATE; INSERT INTO Deliveries(LoggedState) VALUES(0);");
        {
            CSQLiteStmt stmt(db, "DELETE FROM Deliveries");
            EXPECT_FALSE(stmt.Execute());
        }
        EXPECT_FALSE(db.Execute(" VACUUM ; "));
        writer.Exec("COMMIT");
    }
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_GE(waited, std::chrono::milliseconds(2 * 12 * 250));

    std::vector<std::string> lines = m_log.Taken();
    for (int attempt = 0; attempt < 12; ++attempt) {
        const std::string n = std::to_string(attempt) + ".";
        EXPECT_EQ(CountLines(lines, "DB: Execute() [DELETE FROM Deliveries] DB busy/locked "
                                    "repeating " +
                                        n),
                  1);
        EXPECT_EQ(CountLines(lines, "DB: DB Execute() [ VACUUM ; ] DB busy/locked repeating " + n),
                  1);
    }
    EXPECT_EQ(CountLines(lines, "busy/locked repeating 12."), 0);
    EXPECT_EQ(db.LastResult(), SQLITE_BUSY);

    CSQLiteStmt count(db, "SELECT COUNT(*) FROM Deliveries");
    ASSERT_TRUE(count.Step()) << "usable once the other writer is gone";
    int32_t n = 0;
    count.GetInt(0, n);
    EXPECT_EQ(n, 31);
}

TEST_F(SQLiteLayer, PreparingWhileAnotherWriterHoldsTheFileIsRetried) {
    CSQLiteDB db;
    Open(db);
    dbtest::Db writer(m_root.Database());
    writer.Exec("BEGIN EXCLUSIVE; INSERT INTO Deliveries(LoggedState) VALUES(0);");
    std::thread release([&writer] {
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        writer.Exec("COMMIT");
    });
    int32_t n = 0;
    {
        CSQLiteStmt count(db, "SELECT COUNT(*) FROM Deliveries");
        ASSERT_TRUE(count.Step());
        count.GetInt(0, n);
    }
    release.join();
    EXPECT_EQ(n, 31);
    std::vector<std::string> lines = m_log.Taken();
    EXPECT_EQ(CountLines(lines, "DB: Prepare() [SELECT COUNT(*) FROM Deliveries] DB busy/locked "
                                "repeating 0."),
              1);
}

TEST_F(SQLiteLayer, BackupCopiesTheDatabaseAndReportsAFailedCopy) {
    CSQLiteDB db;
    Open(db);
    testing::internal::CaptureStdout();
    EXPECT_EQ(db.Backup("\\DAVozuz\\SQLite\\QvDBBU.SQL", 10, 0), SQLITE_OK);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Done.\n");
    {
        dbtest::Db copy(m_root.Backup());
        EXPECT_EQ(copy.Text("PRAGMA integrity_check"), "ok");
        EXPECT_EQ(copy.Int("SELECT COUNT(*) FROM Deliveries"), 30);
    }

    const std::filesystem::path garbage = m_root.Sqlite() / "garbage.SQL";
    dbtest::WriteFile(garbage, std::string(4096, 'x'));
    testing::internal::CaptureStdout();
    const int rc = db.Backup("\\DAVozuz\\SQLite\\garbage.SQL", 10, 0);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(rc, SQLITE_NOTADB);
    EXPECT_EQ(dbtest::ReadFile(garbage), std::string(4096, 'x'));
}

// A long copy says how far it has come every ten seconds; the tick counter is driven here, four
// seconds a reading.
uint32_t FourSecondTicks() {
    static uint32_t now = 0;
    return now += 4000;
}

TEST_F(SQLiteLayer, LongBackupLogsThePagesCopiedEveryTenSeconds) {
    {
        dbtest::Db db(m_root.Database());
        db.AddRows("LogEvents", 2000, 1);
        db.Exec("UPDATE LogEvents SET Text = hex(randomblob(40))");
    }
    CSQLiteDB db;
    Open(db);
    m_log.Taken();
    platform::SetTickSource(FourSecondTicks);
    testing::internal::CaptureStdout();
    const int rc = db.Backup("\\DAVozuz\\SQLite\\QvDBBU.SQL", 2, 0);
    const std::string dots = testing::internal::GetCapturedStdout();
    platform::SetTickSource(nullptr);
    EXPECT_EQ(rc, SQLITE_OK);
    dbtest::Db copy(m_root.Backup());
    const long long pages = copy.Int("PRAGMA page_count");
    const std::vector<std::string> lines = m_log.Taken();
    ASSERT_GE(lines.size(), 3u) << dots;
    int last = 0;
    for (const std::string& line : lines) {
        int copied = 0, total = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "DB: Backup() %d of %d pages copied.", &copied, &total),
                  2)
            << line;
        EXPECT_EQ(total, pages);
        EXPECT_GT(copied, last);
        EXPECT_LT(copied, total);
        last = copied;
    }
}

TEST_F(SQLiteLayer, StatementCountIsZeroAtShutdownWhenEveryPreparationSucceeded) {
    const int before = CSQLiteStmt::LiveCount();
    CSQLiteDB db;
    Open(db, 1);
    for (int i = 0; i < 5; ++i) {
        CSQLiteStmt stmt(db, "SELECT COUNT(*) FROM Deliveries ;");
        stmt.Step();
    }
    db.Close();
    EXPECT_EQ(
        CountLines(m_log.Taken(), "DB: shutdown, 0, Stmnt Count " + std::to_string(before) + "."),
        1);
}

TEST_F(SQLiteLayer, LongTextsAreCutToTheirFields) {
    {
        CSQLiteDB db;
        const std::string longName = "\\DAVozuz\\SQLite\\" + std::string(300, 'n');
        db.Open(longName.c_str(), 0, &m_log);
        EXPECT_EQ(std::string(db.Path()), longName.substr(0, 259));
        EXPECT_TRUE(std::filesystem::exists(m_root.Sqlite() / std::string(259 - 16, 'n')));
    }
    CSQLiteDB db;
    Open(db);
    const std::string sql = "SELECT 1 " + std::string(3000, ' ');
    CSQLiteStmt stmt(db, sql.c_str());
    EXPECT_EQ(std::string(stmt.Sql()).size(), 2048u);
    EXPECT_TRUE(stmt.Step());
}

} // namespace
