// Tarnwell run as a program in temporary device roots against database files made here: its
// switches and profile, counts, purges by age and by size, backup, commands, vacuum, failures
// of single steps, a database held by another writer, and the runs that stop early.
#include <sys/wait.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <thread>

#include "DbTestRoot.h"
#include "testing/Background.h"
#include "testing/Env.h"
#include "testing/FullDisk.h"
#include "testing/Run.h"
#include "testing/Wait.h"

namespace {

using dbtest::CountLines;
using dbtest::FindLine;
namespace fs = std::filesystem;

struct RunResult {
    int exitCode = 0;
    std::vector<std::string> log; // $QV_ROOT/Tarnwell.L00
    std::vector<std::string> out; // standard output
};

class Tarnwell : public ::testing::Test {
  protected:
    // A profile with the database in the device root and no pauses, plus `extra` lines.
    void Profile(const std::string& extra, const std::string& commands = "") {
        dbtest::WriteFile(m_root.Profile(),
                          "[Parameters]\r\nDBName=\\DAVozuz\\SQLite\\QV.db\r\n"
                          "BetweenBatchWait=-1\r\nDeliveryKeepDays=30\r\nEventsKeepDays=20\r\n"
                          "SaleItemKeepDays=10\r\n" +
                              extra + "\r\n[Log]\r\nLogLevel=1\r\n" +
                              (commands.empty() ? "" : "\r\n[Commands]\r\n" + commands));
    }

    static std::string Program() {
        EXPECT_NE(std::getenv("QV_BUILD_DIR"), nullptr);
        return qvtesting::QvBuildDir() + "/bin/ce/Tarnwell";
    }
    // The exit code as the program returned it (a byte read as signed), -999 after a signal.
    static int ExitCode(int status) {
        return WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : -999;
    }

    RunResult Run(const std::string& args) {
        // A run that never ends fails the test within a minute instead of holding it up.
        const qvtesting::RunResult run =
            qvtesting::RunShell("timeout -k 5 60 " + Program() + " " + args + " 2>&1");
        RunResult r;
        r.exitCode = ExitCode(run.status);
        r.log = dbtest::Lines(dbtest::ReadFile(m_root.Root() / "Tarnwell.L00"));
        r.out = dbtest::Lines(run.out);
        return r;
    }

    // Runs the program with `arg` and its standard output a pipe whose reader is already gone,
    // SIGPIPE at its default action as in a shell pipeline; the exit code is -999 when a
    // signal ended it.
    RunResult RunIntoClosedPipe(const std::string& arg) {
        const int status = qvtesting::RunIntoClosedPipe(Program(), {arg}, 60);
        EXPECT_NE(status, -1);
        RunResult r;
        r.exitCode = ExitCode(status);
        r.log = dbtest::Lines(dbtest::ReadFile(m_root.Root() / "Tarnwell.L00"));
        return r;
    }

    dbtest::DeviceRoot m_root;
};

// Every record of a finished run lies between its START and STOP lines.
void ExpectWholeLog(const RunResult& r) {
    ASSERT_GE(r.log.size(), 2u);
    EXPECT_NE(r.log.front().find("***START <Tarnwell V1.2//>"), std::string::npos);
    EXPECT_NE(r.log.back().find("****STOP <Tarnwell V1.2//>"), std::string::npos);
}

TEST_F(Tarnwell, WithoutSwitchesOnlyCountsAndEndsWithAllDone) {
    {
        dbtest::Db db(m_root.Database());
        db.CreateTables();
        db.AddRows("Deliveries", 40, 45);
        db.AddRows("Deliveries", 7, 1);
        db.AddRows("LogEvents", 12, 25);
        db.AddRows("LogEvents", 4, 25, 1); // not yet logged: never old enough
        db.AddRows("SaleItems", 9, 11);
    }
    Profile("");
    const RunResult r = Run("");
    EXPECT_EQ(r.exitCode, 0);
    ExpectWholeLog(r);
    EXPECT_EQ(CountLines(r.log, "PurgeLogEvents = false, PurgeSaleItems = false, PurgeDels = "
                                "false, Fast = false, Backup = false"),
              1);
    EXPECT_EQ(CountLines(r.log, "DeliveryKeepDays = 30, MaxDeliveries = 100000, EventsKeepDays = "
                                "20, MaxLogEvents = 10000, SaleItemKeepDays = 10 , MaxSaleItems = "
                                "10000, DeleteBatchSize = 250, BetweenBatchWait = -1ms"),
              1);
    EXPECT_EQ(CountLines(r.log, "DB: KeepDays 30, 40 Deliveries to be deleted "), 1);
    EXPECT_EQ(CountLines(r.log, "DB: 47/100000 Deliveries total. "), 1);
    EXPECT_EQ(CountLines(r.log, "DB: KeepDays 20, 12 LogEvents to be deleted "), 1);
    EXPECT_EQ(CountLines(r.log, "DB: 16 total 10000 LogEvents max, "), 1);
    EXPECT_EQ(CountLines(r.log, "DB: KeepDays 10, 9 SaleItems to be deleted, "), 1);
    EXPECT_EQ(CountLines(r.log, "DB: 9/10000 SaleItems to be deleted "), 1);
    EXPECT_EQ(CountLines(r.log, "purged"), 0);
    EXPECT_EQ(CountLines(r.log, "%MEMORY total "), 13);
    EXPECT_EQ(CountLines(r.log, "DB: \\DAVozuz\\SQLite\\QV.db closed, 0."), 1);
    EXPECT_EQ(CountLines(r.log, "DB: shutdown, 0, Stmnt Count 0."), 1);
    ASSERT_GE(r.log.size(), 2u);
    EXPECT_NE(r.log[r.log.size() - 2].find("All done!! "), std::string::npos);
    EXPECT_EQ(CountLines(r.out, "All done!! "), 1) << "the screen shows the records too";

    dbtest::Db db(m_root.Database());
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM Deliveries"), 47);
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM LogEvents"), 16);
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM SaleItems"), 9);
}

TEST_F(Tarnwell, MemoryLineShowsKilobytesShareAndDivision) {
    Profile("");
    const RunResult r = Run("");
    const int i = FindLine(r.log, "%MEMORY total ");
    ASSERT_GE(i, 0);
    long total = 0, avail = 0, used = 0, program = -1, store = -1;
    double share = 0;
    const std::string& line = r.log[static_cast<size_t>(i)];
    ASSERT_EQ(std::sscanf(line.c_str() + line.find("%MEMORY"),
                          "%%MEMORY total %ldKb - free %ldKb = in use %ldKb, %lf %% free  "
                          "division %ld - %ld",
                          &total, &avail, &used, &share, &program, &store),
              6)
        << line;
    EXPECT_GT(total, 0);
    EXPECT_LE(avail, total);
    EXPECT_NEAR(static_cast<double>(used), static_cast<double>(total - avail), 1.0);
    EXPECT_NEAR(share, 100.0 * static_cast<double>(avail) / static_cast<double>(total), 0.01);
    EXPECT_GE(program, 0);
    EXPECT_GE(store, 0);
}

TEST_F(Tarnwell, PurgeByAgeRunsOneBatchPerBatchSizeAndKeepsTheRest) {
    {
        dbtest::Db db(m_root.Database());
        db.CreateTables();
        db.AddRows("Deliveries", 1000, 40);  // IDs 1..1000: old enough
        db.AddRows("Deliveries", 20, 40, 1); // not yet logged
        db.AddRows("Deliveries", 30, 29);    // too young
        db.AddRows("LogEvents", 10, 40);     // old, but only Deliveries are purged
    }
    Profile("");
    const RunResult r = Run("-deliveries");
    EXPECT_EQ(r.exitCode, 0);
    ExpectWholeLog(r);
    EXPECT_EQ(CountLines(r.log, "DB: KeepDays 30, 1000 Deliveries to be deleted "), 1);
    int at = 0;
    for (int remaining : {1000, 750, 500, 250}) {
        at = FindLine(
            r.log,
            "DB: Deliveries table purged, 30 days, 250 of " + std::to_string(remaining) + ", ", at);
        EXPECT_GE(at, 0) << "batch at " << remaining;
    }
    EXPECT_EQ(CountLines(r.log, "DB: Deliveries table purged"), 4);
    EXPECT_EQ(CountLines(r.log, "DB: 50/100000 Deliveries total. "), 1);
    EXPECT_EQ(CountLines(r.log, "LogEvents table purged"), 0);

    dbtest::Db db(m_root.Database());
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM Deliveries WHERE ID <= 1000"), 0);
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM Deliveries"), 50);
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM LogEvents"), 10);
}

TEST_F(Tarnwell, PurgeBySizeDeletesWholeBatchesOfTheOldestRows) {
    {
        dbtest::Db db(m_root.Database());
        db.CreateTables();
        db.AddRows("Deliveries", 100100, 1, 1);
        db.AddRows("SaleItems", 30, 1);
    }
    Profile("MaxSaleItems=4\r\nDeleteBatchSize=250\r\nMaxDeliveries=0");
    const RunResult r = Run("-all");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(CountLines(r.log, "DB: 100100/100000 Deliveries total. "), 1);
    EXPECT_EQ(CountLines(r.log, "DB: Deliveries table limit purged, 250 of 100100 total 100000, "),
              1);
    EXPECT_EQ(CountLines(r.log, "limit purged"), 1);
    EXPECT_EQ(CountLines(r.log, "DB: 30/4 SaleItems to be deleted "), 1);
    EXPECT_EQ(CountLines(r.log, "DB: SaleItems table purged, 250 of 30 "), 1);

    dbtest::Db db(m_root.Database());
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM Deliveries"), 99850);
    EXPECT_EQ(db.Int("SELECT MIN(ID) FROM Deliveries"), 251);
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM SaleItems"), 0) << "a whole batch goes below the max";
}

TEST_F(Tarnwell, FailedCountDoesNotLeaveTheLastRemainderForTheNextLoop) {
    {
        dbtest::Db db(m_root.Database());
        db.CreateTables(true, false, true); // LogEvents is missing
        db.AddRows("Deliveries", 100100, 1, 1);
    }
    Profile("");
    const RunResult r = Run("-all");
    EXPECT_EQ(r.exitCode, -1) << "a step failed";
    EXPECT_EQ(CountLines(r.log, "DB: Deliveries table limit purged"), 1);
    EXPECT_EQ(CountLines(r.log, "DB: ERROR "), 2) << "one per LogEvents count, no batch tried";
    EXPECT_EQ(CountLines(r.log, "LogEvents table"), 0);
    EXPECT_EQ(CountLines(r.log, "All done!! "), 1);
}

TEST_F(Tarnwell, MissingTableLogsTheErrorLineAndTheRunGoesOn) {
    {
        dbtest::Db db(m_root.Database());
        db.CreateTables(true, false, true);
        db.AddRows("SaleItems", 5, 30);
    }
    Profile("");
    const RunResult r = Run("-events -saleitems");
    EXPECT_EQ(r.exitCode, -1) << "a step failed";
    ExpectWholeLog(r);
    EXPECT_EQ(CountLines(r.log, "wmain Res 1 SQL logic error - no such table: LogEvents"), 2);
    EXPECT_EQ(CountLines(r.log, "DB: ERROR CPurgeRun.cpp - "), 2);
    EXPECT_EQ(CountLines(r.log, "DB: KeepDays 10, 5 SaleItems to be deleted, "), 1);
    EXPECT_EQ(CountLines(r.log, "DB: SaleItems table purged,Days 10, 250 of 5 "), 1);
    EXPECT_EQ(CountLines(r.log, "All done!! "), 1);
}

TEST_F(Tarnwell, FastQuadruplesTheBatchAndDropsThePauses) {
    {
        dbtest::Db db(m_root.Database());
        db.CreateTables();
        db.AddRows("LogEvents", 1000, 21);
    }
    dbtest::WriteFile(m_root.Profile(), "[Parameters]\r\nDBName=\\DAVozuz\\SQLite\\QV.db\r\n"
                                        "DeleteBatchSize=100\r\nBetweenBatchWait=5000\r\n"
                                        "EventsKeepDays=20\r\n");
    const RunResult r = Run("-FAST -Events");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(CountLines(r.log, "PurgeLogEvents = true, PurgeSaleItems = false, PurgeDels = "
                                "false, Fast = true, Backup = false"),
              1);
    EXPECT_EQ(CountLines(r.log, "DeleteBatchSize = 400, BetweenBatchWait = 0ms"), 1);
    for (int remaining : {1000, 600, 200})
        EXPECT_EQ(CountLines(r.log, "DB: LogEvents table purged, Days 20, 400 of " +
                                        std::to_string(remaining) + ", "),
                  1);
    EXPECT_EQ(CountLines(r.log, "table purged"), 3);
    const int done = FindLine(r.log, "All done!! ");
    ASSERT_GE(done, 0);
    const std::string& line = r.log[static_cast<size_t>(done)];
    EXPECT_LT(std::atoi(line.c_str() + line.find("All done!! ") + 11), 5000)
        << "no 5 s pause was taken";
    dbtest::Db db(m_root.Database());
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM LogEvents"), 0);
}

TEST_F(Tarnwell, FastKeepsAHugeBatchSizePositive) {
    {
        dbtest::Db db(m_root.Database());
        db.CreateTables();
        db.AddRows("Deliveries", 10, 40);
    }
    Profile("DeleteBatchSize=1000000000");
    const RunResult r = Run("-deliveries -fast");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(CountLines(r.log, "DeleteBatchSize = 2147483647, BetweenBatchWait = 0ms"), 1);
    EXPECT_EQ(CountLines(r.log, "DB: Deliveries table purged, 30 days, 2147483647 of 10, "), 1);
}

TEST_F(Tarnwell, BatchSizeBelowOneTakesTheDefaultSoTheLoopEnds) {
    {
        dbtest::Db db(m_root.Database());
        db.CreateTables();
        db.AddRows("Deliveries", 600, 40);
    }
    Profile("DeleteBatchSize=-5");
    const RunResult r = Run("-deliveries");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(CountLines(r.log, "DeleteBatchSize = 250, "), 1);
    EXPECT_EQ(CountLines(r.log, "DB: Deliveries table purged, 30 days, 250 of "), 3);
    dbtest::Db db(m_root.Database());
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM Deliveries"), 0);
}

TEST_F(Tarnwell, ValuesBeyondThe32BitRangeSaturateAndNeverEmptyATable) {
    {
        dbtest::Db db(m_root.Database());
        db.CreateTables();
        db.AddRows("Deliveries", 30, 40);
        db.AddRows("LogEvents", 30, 40);
        db.AddRows("SaleItems", 30, 40);
    }
    // Wrapped, these read as -1 (every old row, then every row), 1 (every old row), and the
    // most negative maximum, whose loop never ends.
    dbtest::WriteFile(m_root.Profile(),
                      "[Parameters]\r\nDBName=\\DAVozuz\\SQLite\\QV.db\r\nBetweenBatchWait=-1\r\n"
                      "DeliveryKeepDays=4294967295\r\nMaxDeliveries=4294967295\r\n"
                      "EventsKeepDays=-4294967295\r\nMaxLogEvents=99999999999999999999999\r\n"
                      "SaleItemKeepDays=2147483648\r\nMaxSaleItems=2147483648\r\n"
                      "DeleteBatchSize=10\r\n");
    const RunResult r = Run("-all");
    EXPECT_EQ(r.exitCode, 0);
    ExpectWholeLog(r);
    EXPECT_EQ(CountLines(r.log, "DeliveryKeepDays = 2147483647, MaxDeliveries = 2147483647, "
                                "EventsKeepDays = -2147483648, MaxLogEvents = 2147483647, "
                                "SaleItemKeepDays = 2147483647 , MaxSaleItems = 2147483647, "
                                "DeleteBatchSize = 10, "),
              1);
    EXPECT_EQ(CountLines(r.log, "DB: KeepDays 2147483647, 0 Deliveries to be deleted "), 1);
    EXPECT_EQ(CountLines(r.log, "DB: KeepDays -2147483648, 0 LogEvents to be deleted "), 1);
    EXPECT_EQ(CountLines(r.log, "DB: 30 total 2147483647 LogEvents max, "), 1);
    EXPECT_EQ(CountLines(r.log, "purged"), 0);
    dbtest::Db db(m_root.Database());
    for (const char* table : {"Deliveries", "LogEvents", "SaleItems"})
        EXPECT_EQ(db.Int(std::string("SELECT COUNT(*) FROM ") + table), 30) << table;
}

TEST_F(Tarnwell, NegativeMaximumTakesTheDefaultAndValuesInRangeReadAsBefore) {
    {
        dbtest::Db db(m_root.Database());
        db.CreateTables();
        db.AddRows("Deliveries", 30, 1, 1);
        db.AddRows("LogEvents", 30, 1, 1);
        db.AddRows("SaleItems", 30, 1, 1);
    }
    Profile("MaxDeliveries=-1\r\nMaxLogEvents=-2147483649\r\nMaxSaleItems= +2,0 units\r\n"
            "DeleteBatchSize=5");
    const RunResult r = Run("-all");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(CountLines(r.log, "MaxDeliveries = 100000, EventsKeepDays = 20, MaxLogEvents = "
                                "10000, SaleItemKeepDays = 10 , MaxSaleItems = 20, "),
              1);
    EXPECT_EQ(CountLines(r.log, "DB: SaleItems table purged, 5 of "), 2);
    EXPECT_EQ(CountLines(r.log, "purged"), 2);
    dbtest::Db db(m_root.Database());
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM Deliveries"), 30);
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM LogEvents"), 30);
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM SaleItems"), 20);
}

TEST_F(Tarnwell, BackupPrecedesThePurgesWhenAskedFor) {
    struct Case {
        const char* args;
        const char* backupKey;
        bool backup;
    };
    for (const Case& c :
         {Case{"-deliveries", "BackupBefore=yes", true},
          Case{"-deliveries", "BackupBefore=no", false}, Case{"-deliveries", "", false},
          Case{"-backup -deliveries", "BackupBefore=no", true}}) {
        SCOPED_TRACE(std::string(c.args) + " / " + c.backupKey);
        fs::remove(m_root.Database());
        fs::remove(m_root.Backup());
        fs::remove(m_root.Root() / "Tarnwell.L00");
        {
            dbtest::Db db(m_root.Database());
            db.CreateTables();
            db.AddRows("Deliveries", 600, 40);
        }
        Profile(c.backupKey);
        const RunResult r = Run(c.args);
        EXPECT_EQ(r.exitCode, 0);
        const int backup = FindLine(r.log, "DB: DB backup to QvDBBu.SQL ");
        EXPECT_EQ(backup >= 0, c.backup);
        EXPECT_EQ(fs::exists(m_root.Backup()), c.backup);
        EXPECT_EQ(CountLines(r.log, "Backup = true") == 1,
                  std::string(c.args).find("-backup") == 0);
        if (!c.backup) continue;
        EXPECT_LT(backup, FindLine(r.log, "DB: Deliveries table purged"));
        EXPECT_EQ(CountLines(r.out, "Done."), 1);
        dbtest::Db copy(m_root.Backup());
        EXPECT_EQ(copy.Text("PRAGMA integrity_check"), "ok");
        EXPECT_EQ(copy.Int("SELECT COUNT(*) FROM Deliveries"), 600) << "copied before the purge";
    }
}

TEST_F(Tarnwell, FailedBackupIsReportedWithSQLiteTextAndTheRunGoesOn) {
    {
        dbtest::Db db(m_root.Database());
        db.CreateTables();
        db.AddRows("Deliveries", 10, 40);
    }
    dbtest::WriteFile(m_root.Backup(), std::string(2048, '#')); // not a database
    Profile("BackupBefore=1");
    const RunResult r = Run("-deliveries");
    EXPECT_EQ(r.exitCode, -1) << "a step failed";
    EXPECT_EQ(CountLines(r.log, "DB: DB backup to QvDBBu.SQL FAILED, 26 file is not a database, "),
              1);
    EXPECT_EQ(CountLines(r.log, "QvDBBu.SQL"), 1) << "no time line for a failed copy";
    EXPECT_EQ(CountLines(r.log, "DB: Deliveries table purged, 30 days, 250 of 10, "), 1);
    EXPECT_EQ(CountLines(r.log, "All done!! "), 1);
}

TEST_F(Tarnwell, BackupGivesUpOnADestinationThatStaysBusyAndTheRunGoesOn) {
    const std::string busy = "DB: Backup() [\\DAVozuz\\SQLite\\QvDBBU.SQL] DB busy/locked "
                             "repeating ";
    struct Case {
        const char* name;
        bool backupIsTheDatabase; // DBName names the backup file itself
    };
    for (const Case& c :
         {Case{"held by another process", false}, Case{"DBName is the backup file", true}}) {
        SCOPED_TRACE(c.name);
        fs::remove(m_root.Root() / "Tarnwell.L00");
        fs::remove(m_root.Database());
        fs::remove(m_root.Backup());
        const fs::path database = c.backupIsTheDatabase ? m_root.Backup() : m_root.Database();
        {
            dbtest::Db db(database);
            db.CreateTables();
            db.AddRows("Deliveries", 10, 40);
        }
        dbtest::WriteFile(m_root.Profile(),
                          std::string("[Parameters]\r\nDBName=\\DAVozuz\\SQLite\\") +
                              (c.backupIsTheDatabase ? "QvDBBU.SQL" : "QV.db") +
                              "\r\nBetweenBatchWait=-1\r\nDeliveryKeepDays=30\r\n");
        RunResult r;
        {
            std::unique_ptr<dbtest::Db> holder;
            if (!c.backupIsTheDatabase) {
                holder = std::make_unique<dbtest::Db>(m_root.Backup());
                holder->Exec("BEGIN EXCLUSIVE; CREATE TABLE Mine(x); INSERT INTO Mine VALUES(7);");
            }
            r = Run("-backup -deliveries");
            if (holder) holder->Exec("COMMIT");
        }
        EXPECT_EQ(r.exitCode, -1) << "the backup failed";
        ExpectWholeLog(r);
        int at = 0;
        for (int attempt = 0; attempt < 12; ++attempt) {
            at = FindLine(r.log, busy + std::to_string(attempt) + ".", at);
            EXPECT_GE(at, 0) << "attempt " << attempt;
        }
        EXPECT_EQ(CountLines(r.log, "busy/locked repeating"), 12);
        EXPECT_EQ(FindLine(r.log, "DB: DB backup to QvDBBu.SQL FAILED, 5 database is locked, "),
                  at + 1);
        EXPECT_EQ(CountLines(r.log, "DB: Deliveries table purged, 30 days, 250 of 10, "), 1);
        EXPECT_EQ(CountLines(r.log, "All done!! "), 1);

        dbtest::Db db(database);
        EXPECT_EQ(db.Text("PRAGMA integrity_check"), "ok");
        EXPECT_EQ(db.Int("SELECT COUNT(*) FROM Deliveries"), 0);
        if (!c.backupIsTheDatabase) {
            dbtest::Db held(m_root.Backup());
            EXPECT_EQ(held.Int("SELECT x FROM Mine"), 7) << "the holder's file is left alone";
        }
    }
}

TEST_F(Tarnwell, CommandsRunInOrderUntilTheFirstGap) {
    {
        dbtest::Db db(m_root.Database());
        db.CreateTables();
    }
    Profile("", "Cmd1=CREATE TABLE Marks(x); INSERT INTO Marks VALUES(1);\r\n"
                "Cmd3=INSERT INTO Marks VALUES(3)\r\n");
    RunResult r = Run("");
    EXPECT_EQ(r.exitCode, 0);
    {
        dbtest::Db db(m_root.Database());
        EXPECT_EQ(db.Int("SELECT group_concat(x) FROM Marks"), 1);
    }

    Profile("",
            "Cmd1=INSERT INTO Marks VALUES(2)\r\nCmd2=\r\nCmd3=INSERT INTO Marks VALUES(3)\r\n");
    r = Run("");
    EXPECT_EQ(r.exitCode, 0);
    {
        dbtest::Db db(m_root.Database());
        EXPECT_EQ(db.Text("SELECT group_concat(x) FROM Marks"), "1,2") << "an empty Cmd2 ends too";
    }
}

TEST_F(Tarnwell, FailingCommandStopsTheRunKeepingTheCommandsBeforeIt) {
    {
        dbtest::Db db(m_root.Database());
        db.CreateTables();
    }
    Profile("", "Cmd1=CREATE TABLE Marks(x); INSERT INTO Marks VALUES(1)\r\n"
                "Cmd2=INSERT INTO NoTable VALUES(1)\r\n"
                "Cmd3=INSERT INTO Marks VALUES(3)\r\n");
    const RunResult r = Run("-all");
    EXPECT_EQ(r.exitCode, -1);
    ExpectWholeLog(r);
    EXPECT_EQ(CountLines(r.log, "DB: ERROR Tarnwell.cpp - "), 1);
    EXPECT_EQ(CountLines(r.log, "wmain Res 1 SQL logic error - no such table: NoTable"), 1);
    EXPECT_EQ(CountLines(r.log, "Deliveries to be deleted"), 0);
    EXPECT_EQ(CountLines(r.log, "All done!!"), 0);
    EXPECT_EQ(CountLines(r.log, "DB: shutdown"), 1) << "the connection is closed on the way out";
    dbtest::Db db(m_root.Database());
    EXPECT_EQ(db.Text("SELECT group_concat(x) FROM Marks"), "1");
}

TEST_F(Tarnwell, VacuumAloneCountsCompactsAndCloses) {
    {
        dbtest::Db db(m_root.Database());
        db.CreateTables();
        db.AddRows("Deliveries", 20000, 1);
        db.Exec("DELETE FROM Deliveries WHERE ID > 10");
        EXPECT_GT(db.Int("PRAGMA freelist_count"), 0);
    }
    Profile("");
    const RunResult r = Run("-vacuum");
    EXPECT_EQ(r.exitCode, 0);
    const int vacuum = FindLine(r.log, "DB: vacuumed sucessfully, ");
    EXPECT_GT(vacuum, FindLine(r.log, "/10000 SaleItems to be deleted "));
    EXPECT_LT(vacuum, FindLine(r.log, "DB: \\DAVozuz\\SQLite\\QV.db closed, 0."));
    EXPECT_EQ(CountLines(r.log, "purged"), 0);
    dbtest::Db db(m_root.Database());
    EXPECT_EQ(db.Int("PRAGMA freelist_count"), 0);
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM Deliveries"), 10);
}

TEST_F(Tarnwell, DatabaseHeldByAnotherWriterFailsTheBatchAndTheRunGoesOn) {
    {
        dbtest::Db db(m_root.Database());
        db.CreateTables();
        db.AddRows("Deliveries", 1000, 40);
    }
    Profile("");
    RunResult r;
    {
        dbtest::Db writer(m_root.Database());
        writer.Exec("BEGIN IMMEDIATE; INSERT INTO SaleItems(LoggedState) VALUES(1);");
        r = Run("-deliveries -fast -vacuum");
        writer.Exec("COMMIT");
    }
    EXPECT_EQ(r.exitCode, -1) << "a step failed";
    ExpectWholeLog(r);
    const std::string del = "DB: Execute() [DELETE FROM Deliveries  WHERE ID in (    SELECT ID "
                            "FROM Deliveries       WHERE LoggedState = 0 AND date( CompletedDT + "
                            "?1 ) <= date('now')       ORDER BY ID ASC       LIMIT ?2   ) ] DB "
                            "busy/locked repeating ";
    int at = 0;
    for (int attempt = 0; attempt < 12; ++attempt) {
        at = FindLine(r.log, del + std::to_string(attempt) + ".", at);
        EXPECT_GE(at, 0) << "attempt " << attempt;
    }
    EXPECT_EQ(CountLines(r.log, "busy/locked repeating"), 24);
    EXPECT_EQ(FindLine(r.log, "DB: Deliveries table purge FAILED!!"), at + 1);
    EXPECT_EQ(CountLines(r.log, "DB: 1000/100000 Deliveries total. "), 1) << "the run goes on";
    EXPECT_EQ(CountLines(r.log, "DB: DB Execute() [ VACUUM ; ] DB busy/locked repeating 11."), 1);
    EXPECT_EQ(CountLines(r.log, "DB: vacuum gave up, DB busy/locked, "), 1);
    EXPECT_EQ(CountLines(r.log, "vacuumed sucessfully"), 0);
    EXPECT_EQ(CountLines(r.log, "All done!! "), 1);
    dbtest::Db db(m_root.Database());
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM Deliveries"), 1000);
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM SaleItems"), 1);
}

TEST_F(Tarnwell, ClosedScreenPipeDoesNotStopTheRun) {
    // Once the reader is gone every screen write fails: the batch lines overflow the stdio
    // buffer half-way through the purge, and the backup's progress is flushed at once.
    for (const char* backup : {"BackupBefore=no", "BackupBefore=yes"}) {
        SCOPED_TRACE(backup);
        fs::remove(m_root.Root() / "Tarnwell.L00");
        fs::remove(m_root.Database());
        {
            dbtest::Db db(m_root.Database());
            db.CreateTables();
            db.AddRows("LogEvents", 1000, 40);
            db.AddRows("SaleItems", 100, 40);
        }
        Profile(std::string("DeleteBatchSize=10\r\n") + backup);
        const RunResult r = RunIntoClosedPipe("-all");
        EXPECT_EQ(r.exitCode, 0) << "-999: ended by a signal";
        ExpectWholeLog(r);
        EXPECT_EQ(CountLines(r.log, "DB: LogEvents table purged, Days 20, 10 of "), 100);
        EXPECT_EQ(CountLines(r.log, "All done!! "), 1);
        dbtest::Db db(m_root.Database());
        EXPECT_EQ(db.Int("SELECT COUNT(*) FROM LogEvents"), 0);
        EXPECT_EQ(db.Int("SELECT COUNT(*) FROM SaleItems"), 0);
    }
}

TEST_F(Tarnwell, MissingLibraryStopsTheRun) {
    fs::remove(m_root.Library());
    dbtest::Db(m_root.Database()).CreateTables();
    Profile("");
    const RunResult r = Run("-all");
    EXPECT_EQ(r.exitCode, -1);
    ExpectWholeLog(r);
    EXPECT_EQ(CountLines(r.log, "SQLite.DLL [\\DAVozuz\\QVForecourt\\SQLite.DLL] not "
                                "found/loaded!!"),
              1);
    EXPECT_EQ(CountLines(r.log, " wmain Res -1000 SQLite.DLL not loaded - SQLite.DLL not loaded"),
              1);
    EXPECT_EQ(CountLines(r.log, "All done!!"), 0);
}

TEST_F(Tarnwell, DatabaseThatCannotBeOpenedStopsTheRun) {
    fs::create_directories(m_root.Root() / "AFolder"); // SQLite cannot open a folder
    dbtest::WriteFile(m_root.Profile(), "[Parameters]\r\nDBName=\\AFolder\r\n"
                                        "[Log]\r\nLogLevel=1\r\n");
    const RunResult r = Run("-all");
    EXPECT_EQ(r.exitCode, -1);
    ExpectWholeLog(r);
    EXPECT_EQ(CountLines(r.log, "wmain Res 14 unable to open database file - unable to open "
                                "database file"),
              1);
    EXPECT_EQ(CountLines(r.log, "opened"), 0);
    EXPECT_EQ(CountLines(r.log, "DB: shutdown, 0, Stmnt Count 0."), 1)
        << "the failed connection is closed and SQLite shut down";
}

TEST_F(Tarnwell, InvalidArgumentStopsBeforeAnythingIsOpened) {
    for (const char* args : {"-all bogus", "-delivery", "all", "\"-all -fast\""}) {
        SCOPED_TRACE(args);
        fs::remove(m_root.Root() / "Tarnwell.L00");
        const RunResult r = Run(args);
        EXPECT_EQ(r.exitCode, -1);
        ExpectWholeLog(r);
        EXPECT_EQ(CountLines(r.log, "Invalid argument, can be -events | -saleitems | "
                                    "-deliveries | -all."),
                  1);
        EXPECT_EQ(CountLines(r.log, "PurgeLogEvents"), 0);
        EXPECT_FALSE(fs::exists(m_root.Profile())) << "the profile is not even opened";
    }
}

TEST_F(Tarnwell, SwitchesInAnyCaseAndOrder) {
    struct Case {
        const char* args;
        const char* flags;
    };
    for (const Case& c :
         {Case{"-ALL", "PurgeLogEvents = true, PurgeSaleItems = true, PurgeDels = true, Fast = "
                       "false, Backup = false"},
          Case{"-SaleItems -saleitems -Backup", "PurgeLogEvents = false, PurgeSaleItems = true, "
                                                "PurgeDels = false, Fast = false, Backup = true"},
          Case{"-vacuum -fast -Deliveries", "PurgeLogEvents = false, PurgeSaleItems = false, "
                                            "PurgeDels = true, Fast = true, Backup = false"}}) {
        SCOPED_TRACE(c.args);
        fs::remove(m_root.Root() / "Tarnwell.L00");
        const RunResult r = Run(c.args);
        EXPECT_EQ(CountLines(r.log, c.flags), 1);
    }
}

TEST_F(Tarnwell, MissingOrEmptyDBNameStopsTheRun) {
    struct Case {
        const char* name;
        const char* profile; // null: no profile file at all
    };
    for (const Case& c : {Case{"no profile", nullptr}, Case{"no key", "[Parameters]\r\nX=1\r\n"},
                          Case{"empty", "[Parameters]\r\nDBName=\r\n"},
                          Case{"quotes only", "[Parameters]\r\nDBName=\"\"\r\n"},
                          Case{"other section", "[Log]\r\nDBName=\\DAVozuz\\SQLite\\QV.db\r\n"}}) {
        SCOPED_TRACE(c.name);
        fs::remove(m_root.Root() / "Tarnwell.L00");
        fs::remove(m_root.Profile());
        if (c.profile != nullptr) dbtest::WriteFile(m_root.Profile(), c.profile);
        const RunResult r = Run("");
        EXPECT_EQ(r.exitCode, -1);
        ExpectWholeLog(r);
        EXPECT_EQ(CountLines(r.log, "DBName invalid ou missing QVSQLite.ini."), 1);
        EXPECT_EQ(CountLines(r.out, "Tarnwell: no DBName in section Parameters of the profile "
                                    "\\DAVozuz\\SQLite\\QVSQLite.ini (" +
                                        m_root.Profile().string() +
                                        "); qvroot-provision writes a default one."),
                  1)
            << "on standard error";
        EXPECT_EQ(CountLines(r.log, "opened"), 0);
        EXPECT_TRUE(fs::exists(m_root.Profile())) << "an absent profile is created empty";
        EXPECT_FALSE(fs::exists(m_root.Database()));
    }
}

TEST_F(Tarnwell, QuotedNativeDBNameIsUsedWithoutItsQuotes) {
    const fs::path dir = m_root.Root() / "native dir";
    fs::create_directories(dir);
    {
        dbtest::Db db(dir / "site.db");
        db.CreateTables();
        db.AddRows("SaleItems", 3, 20);
    }
    dbtest::WriteFile(m_root.Profile(), "[Parameters]\r\nDBName = \"" + (dir / "site.db").string() +
                                            "\"  \r\nBetweenBatchWait=-1\r\n");
    const RunResult r = Run("-saleitems");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(CountLines(r.log, "DB: " + (dir / "site.db").string() + " opened, result 0."), 1);
    EXPECT_EQ(CountLines(r.log, "DB: KeepDays 0, 3 SaleItems to be deleted, "), 1);
    dbtest::Db db(dir / "site.db");
    EXPECT_EQ(db.Int("SELECT COUNT(*) FROM SaleItems"), 0);
}

// A DBName that names no file creates nothing and stops the run with the path and the reason;
// a file that is not a database stops it too, untouched.
TEST_F(Tarnwell, MissingOrForeignDatabaseFileStopsTheRunAndCreatesNothing) {
    Profile("");
    RunResult r = Run("-all");
    EXPECT_EQ(r.exitCode, -1);
    ExpectWholeLog(r);
    EXPECT_EQ(CountLines(r.log, "DB: \\DAVozuz\\SQLite\\QV.db (" + m_root.Database().string() +
                                    ") cannot be opened: no such file."),
              1);
    EXPECT_EQ(CountLines(r.log, "no such table"), 0);
    EXPECT_FALSE(fs::exists(m_root.Database())) << "no empty database is made";

    const std::string foreign(3000, 'x');
    dbtest::WriteFile(m_root.Database(), foreign);
    fs::remove(m_root.Root() / "Tarnwell.L00");
    r = Run("-all -vacuum");
    EXPECT_EQ(r.exitCode, -1);
    ExpectWholeLog(r);
    EXPECT_EQ(CountLines(r.log, "Res 26 file is not a database"), 1);
    EXPECT_EQ(CountLines(r.log, "All done!!"), 0);
    EXPECT_EQ(dbtest::ReadFile(m_root.Database()), foreign);
}

// A backup that fails on a full disk leaves no partial file or journal, and an earlier good
// backup stays byte for byte. The database folder is a small tmpfs of its own.
TEST_F(Tarnwell, BackupOnAFullDiskLeavesNoPartialFileAndKeepsTheEarlierOne) {
    if (!qvtesting::TmpfsAvailable()) GTEST_SKIP() << "no mount namespace with a tmpfs here";
    const fs::path stage = m_root.Root() / "stage";
    fs::create_directories(stage);
    {
        dbtest::Db db(stage / "QV.db");
        db.CreateTables();
        db.Exec("BEGIN");
        db.AddRows("LogEvents", 20000, 1);
        db.Exec("UPDATE LogEvents SET Text = hex(randomblob(20))");
        db.Exec("COMMIT");
    }
    {
        dbtest::Db earlier(stage / "earlier.SQL");
        earlier.Exec("CREATE TABLE Earlier(x); INSERT INTO Earlier VALUES(42);");
    }
    const std::string earlierBytes = dbtest::ReadFile(stage / "earlier.SQL");
    const int dbKb = static_cast<int>(fs::file_size(stage / "QV.db") / 1024);
    Profile("");
    fs::copy_file(m_root.Profile(), stage / "QVSQLite.ini");
    const std::string dir = m_root.Sqlite().string();
    const std::string out = (m_root.Root() / "after").string();
    for (bool withEarlier : {false, true}) {
        SCOPED_TRACE(withEarlier ? "earlier backup" : "first backup");
        fs::remove(m_root.Root() / "Tarnwell.L00");
        fs::remove_all(out);
        fs::create_directories(out);
        const std::string script =
            "cp '" + stage.string() + "/QV.db' '" + stage.string() + "/QVSQLite.ini' '" + dir +
            "/' && " +
            (withEarlier ? "cp '" + stage.string() + "/earlier.SQL' '" + dir + "/QvDBBU.SQL' && "
                         : std::string()) +
            "{ " + Program() + " -backup -fast; echo \"exit $?\"; ls -A '" + dir + "' >'" + out +
            "/listing'; cp '" + dir + "/QvDBBU.SQL' '" + out + "/' 2>/dev/null; true; }";
        const qvtesting::RunResult run = qvtesting::RunWithTmpfs(dir, dbKb + 120, script);
        const std::vector<std::string> log =
            dbtest::Lines(dbtest::ReadFile(m_root.Root() / "Tarnwell.L00"));
        EXPECT_NE(run.out.find("exit 255"), std::string::npos) << run.out;
        EXPECT_EQ(CountLines(log, "DB: DB backup to QvDBBu.SQL FAILED, 13 database or disk is "
                                  "full, "),
                  1)
            << run.out;
        EXPECT_EQ(CountLines(log, "All done!! "), 1) << "the run goes on";
        EXPECT_EQ(dbtest::ReadFile(out + "/listing"),
                  withEarlier ? "QV.db\nQVSQLite.ini\nQvDBBU.SQL\n" : "QV.db\nQVSQLite.ini\n");
        if (withEarlier) {
            EXPECT_TRUE(dbtest::ReadFile(out + "/QvDBBU.SQL") == earlierBytes) << "it changed";
        }
    }
}

// Ctrl-C or a termination request during a purge ends the run after the batch in progress: every
// batch done is in the log, which ends with STOP, and the exit code is -1.
TEST_F(Tarnwell, StopSignalEndsThePurgeAtASafePointWithTheWholeLog) {
    for (int sig : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(sig);
        fs::remove(m_root.Root() / "Tarnwell.L00");
        fs::remove(m_root.Database());
        const int rows = 20000;
        {
            dbtest::Db db(m_root.Database());
            db.CreateTables();
            db.AddRows("Deliveries", rows, 40);
        }
        dbtest::WriteFile(m_root.Profile(), "[Parameters]\r\nDBName=\\DAVozuz\\SQLite\\QV.db\r\n"
                                            "DeliveryKeepDays=30\r\nDeleteBatchSize=50\r\n"
                                            "BetweenBatchWait=20\r\n");
        qvtesting::BackgroundProgram run(Program() + " -deliveries",
                                         (m_root.Root() / "out.txt").string());
        ASSERT_TRUE(run.Started());
        dbtest::Db watcher(m_root.Database());
        ASSERT_TRUE(qvtesting::WaitFor(
            [&] { return watcher.Int("SELECT COUNT(*) FROM Deliveries") <= rows - 500; },
            std::chrono::seconds(30)));
        run.Signal(sig);
        EXPECT_EQ(run.Wait(std::chrono::seconds(20)), -1) << "-999: ended by the signal";
        RunResult r;
        r.log = dbtest::Lines(dbtest::ReadFile(m_root.Root() / "Tarnwell.L00"));
        ExpectWholeLog(r);
        EXPECT_EQ(CountLines(r.log, "Stop requested: the run ends after the step in progress."), 1);
        EXPECT_EQ(CountLines(r.log, "Stopped on request, "), 1);
        EXPECT_EQ(CountLines(r.log, "All done!!"), 0);
        const long long left = watcher.Int("SELECT COUNT(*) FROM Deliveries");
        EXPECT_GT(left, 0) << "stopped before the end";
        EXPECT_EQ(CountLines(r.log, "DB: Deliveries table purged, 30 days, 50 of ") * 50,
                  rows - left)
            << "every batch done is logged";
    }
}

// Ctrl-C during a backup ends the copy between two steps: no partial file, the earlier backup
// byte for byte.
TEST_F(Tarnwell, StopSignalDuringABackupKeepsTheEarlierOne) {
    {
        dbtest::Db db(m_root.Database());
        db.CreateTables();
        db.AddRows("LogEvents", 20000, 1);
        db.Exec("UPDATE LogEvents SET Text = hex(randomblob(20))");
    }
    {
        dbtest::Db earlier(m_root.Backup());
        earlier.Exec("CREATE TABLE Earlier(x); INSERT INTO Earlier VALUES(42);");
    }
    const std::string earlierBytes = dbtest::ReadFile(m_root.Backup());
    // About 30 steps of 10 pages, 200 ms apart.
    dbtest::WriteFile(m_root.Profile(), "[Parameters]\r\nDBName=\\DAVozuz\\SQLite\\QV.db\r\n"
                                        "BetweenBatchWait=200\r\n");
    qvtesting::BackgroundProgram run(Program() + " -backup", (m_root.Root() / "out.txt").string());
    ASSERT_TRUE(run.Started());
    auto copying = [&] {
        for (const auto& entry : fs::directory_iterator(m_root.Sqlite())) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("QvDBBU.SQL.", 0) == 0) return true;
        }
        return false;
    };
    ASSERT_TRUE(qvtesting::WaitFor(copying, std::chrono::seconds(30)));
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // a few steps into the copy
    run.Signal(SIGINT);
    EXPECT_EQ(run.Wait(std::chrono::seconds(20)), -1) << "-999: ended by the signal";
    RunResult r;
    r.log = dbtest::Lines(dbtest::ReadFile(m_root.Root() / "Tarnwell.L00"));
    ExpectWholeLog(r);
    EXPECT_EQ(CountLines(r.log, "DB: DB backup to QvDBBu.SQL FAILED, 9 interrupted, "), 1);
    EXPECT_EQ(CountLines(r.log, "Stopped on request, "), 1);
    EXPECT_TRUE(dbtest::ReadFile(m_root.Backup()) == earlierBytes) << "the earlier backup changed";
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_root.Sqlite()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"QV.db", "QVSQLite.ini", "QvDBBU.SQL"}));
}

// A second backup of a database in write-ahead-log mode replaces the first one whole and leaves
// no log files of the replaced copy beside it.
TEST_F(Tarnwell, SecondBackupReplacesTheFirstAndLeavesNothingBeside) {
    {
        dbtest::Db db(m_root.Database());
        db.Exec("PRAGMA journal_mode=WAL");
        db.CreateTables();
        db.AddRows("Deliveries", 10, 1);
        db.AddRows("LogEvents", 3000, 1); // a copy of several steps
        db.Exec("UPDATE LogEvents SET Text = hex(randomblob(40))");
    }
    Profile("");
    // Open beside the runs, as the controller's server keeps it.
    dbtest::Db server(m_root.Database());
    EXPECT_EQ(Run("-backup").exitCode, 0);
    server.AddRows("Deliveries", 5, 1);
    fs::remove(m_root.Root() / "Tarnwell.L00");
    const RunResult r = Run("-backup");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(CountLines(r.log, "DB: DB backup to QvDBBu.SQL "), 1);
    {
        dbtest::Db copy(m_root.Backup());
        EXPECT_EQ(copy.Int("SELECT COUNT(*) FROM Deliveries"), 15);
    }
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_root.Sqlite()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"QV.db", "QV.db-shm", "QV.db-wal", "QVSQLite.ini",
                                               "QvDBBU.SQL"}));
}

} // namespace
