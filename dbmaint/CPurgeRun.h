// CPurgeRun: the fixed sequence of one maintenance run on an open database: an optional
// backup, for Deliveries, LogEvents and SaleItems a purge by age and a purge by size (each
// after a count), an optional compaction, and closing. Deletes go in batches with pauses
// between them; every step catches and logs its own failure and the run goes on. A stop
// request (Ctrl-C, a termination signal) ends the run at the next safe point: between batches,
// steps and during the pauses.
#pragma once
#include <cstdint>

#include "dbmaint/RunSettings.h"

class CLog;
class CSQLiteDB;

class CPurgeRun {
  public:
    CPurgeRun(CSQLiteDB& db, const RunSettings& settings, CLog& log);
    // Runs the sequence through to the "All done!!" line; `startTick` is the program's start.
    // True when every step succeeded; false when one failed (the run still went on to its end)
    // or a stop request ended the run early (no "All done!!" then).
    bool Run(uint32_t startTick);
    bool Stopped() const { return m_stopped; }

  private:
    // The SQL texts of one table, sent exactly as they stand.
    struct TableSql {
        const char* countByAge;  // ?1 = keep days
        const char* deleteByAge; // ?1 = keep days, ?2 = batch size
        const char* countAll;
        const char* deleteOldest; // ?1 = batch size
    };
    static const TableSql kDeliveries;
    static const TableSql kLogEvents;
    static const TableSql kSaleItems;
    static constexpr const char* kBackupFile = "\\DAVozuz\\SQLite\\QvDBBU.SQL";
    static constexpr int kBackupPagesPerStep = 10;

    void Backup();
    void Vacuum();
    // Runs a COUNT(*) statement (with ?1 = *keepDays when given) into m_count; true when a row
    // came, so that the caller logs its line. A failure is logged and leaves the count 0.
    bool Count(const char* sql, const int32_t* keepDays);
    // One DELETE batch on a statement of its own: Done when it completed, GaveUp after the
    // busy/locked retries (the caller logs the phase's FAILED line), Failed when it threw (the
    // error line is logged here).
    enum class Batch { Done, GaveUp, Failed };
    Batch RunBatch(const char* sql, int32_t first, const int32_t* second);
    void CountDown(); // one batch less still to delete
    void Wait();      // the pause between batches and phases, cut short by a stop request
    // False once a stop was requested (noted in the log once): the run does no further step.
    bool Go();
    void Fail(); // notes a failed step
    // Notes a failed step and logs its line.
    void LogFailure(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Memory();           // the memory line, unless the run is stopping
    int32_t Elapsed() const; // ms since m_stepTick
    void StartStep();        // takes the tick of the step that starts now

    CSQLiteDB& m_db;
    const RunSettings& m_settings;
    CLog& m_log;
    int32_t m_count = 0;     // rows still to delete, shared by all phases
    uint32_t m_stepTick = 0; // tick taken just before the current step
    bool m_failed = false;   // a step failed
    bool m_stopped = false;  // a stop request ends the run
};
