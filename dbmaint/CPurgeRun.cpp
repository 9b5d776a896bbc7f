#include "dbmaint/CPurgeRun.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>

#include "common/CLog.h"
#include "dbmaint/CSQLiteDB.h"
#include "dbmaint/CSQLiteStmt.h"
#include "dbmaint/RunLog.h"
#include "platform/Clock.h"
#include "platform/StopRequest.h"

const CPurgeRun::TableSql CPurgeRun::kDeliveries = {
    "SELECT COUNT(*) FROM Deliveries WHERE LoggedState = 0 AND date( CompletedDT + ?1 ) <= "
    "date('now');",
    "DELETE FROM Deliveries  WHERE ID in (    SELECT ID FROM Deliveries       WHERE LoggedState "
    "= 0 AND date( CompletedDT + ?1 ) <= date('now')       ORDER BY ID ASC       LIMIT ?2   ) ",
    "SELECT COUNT(*) FROM Deliveries ;",
    "DELETE FROM Deliveries  WHERE ID in (    SELECT ID FROM Deliveries       ORDER BY ID ASC    "
    "   LIMIT ?1   ) ",
};

const CPurgeRun::TableSql CPurgeRun::kLogEvents = {
    "SELECT COUNT(*) FROM LogEvents WHERE LoggedState = 0 AND date( GeneratedDT + ?1 ) <= "
    "date('now'); ",
    "DELETE FROM LogEvents  WHERE ID in (    SELECT ID FROM LogEvents       WHERE LoggedState = "
    "0 AND date( GeneratedDT + ?1 ) <= date('now')       ORDER BY ID ASC       LIMIT ?2   ) ",
    "SELECT COUNT(*)  FROM LogEvents; ",
    "DELETE FROM LogEvents  WHERE ID in (    SELECT ID FROM LogEvents       ORDER BY ID ASC      "
    " LIMIT ?1   ) ",
};

const CPurgeRun::TableSql CPurgeRun::kSaleItems = {
    "SELECT COUNT(*) FROM SaleItems WHERE LoggedState = 0 AND date( AddedDT + ?1 ) <= "
    "date('now');",
    "DELETE FROM SaleItems  WHERE ID in (    SELECT ID FROM SaleItems       WHERE LoggedState = "
    "0 AND date( AddedDT + ?1 ) <= date('now')       ORDER BY ID ASC       LIMIT ?2   ) ",
    "SELECT COUNT(*)  FROM SaleItems ;",
    "DELETE FROM SaleItems  WHERE ID in (    SELECT ID FROM SaleItems       ORDER BY ID ASC      "
    " LIMIT ?1   ) ",
};

CPurgeRun::CPurgeRun(CSQLiteDB& db, const RunSettings& settings, CLog& log)
    : m_db(db), m_settings(settings), m_log(log) {}

bool CPurgeRun::Run(uint32_t startTick) {
    const RunSettings& s = m_settings;
    const int32_t batch = s.m_batchSize;

    if (s.m_backup) Backup();

    // Deliveries by age, then by size.
    if (Count(kDeliveries.countByAge, &s.m_deliveryKeepDays))
        m_log.Write("DB: KeepDays %d, %d Deliveries to be deleted %dms.", s.m_deliveryKeepDays,
                    m_count, Elapsed());
    Memory();
    Wait();
    while (Go() && s.m_purgeDels && m_count > 0) {
        const Batch b = RunBatch(kDeliveries.deleteByAge, s.m_deliveryKeepDays, &batch);
        if (b == Batch::Done)
            m_log.Write("DB: Deliveries table purged, %d days, %d of %d, %dms.",
                        s.m_deliveryKeepDays, batch, m_count, Elapsed());
        else if (b == Batch::GaveUp)
            LogFailure("DB: Deliveries table purge FAILED!!");
        Wait();
        CountDown();
    }
    Memory();
    Wait();
    if (Count(kDeliveries.countAll, nullptr))
        m_log.Write("DB: %d/%d Deliveries total. %dms.", m_count, s.m_maxDeliveries, Elapsed());
    Memory();
    while (Go() && s.m_purgeDels && m_count > s.m_maxDeliveries) {
        const Batch b = RunBatch(kDeliveries.deleteOldest, batch, nullptr);
        if (b == Batch::Done)
            m_log.Write("DB: Deliveries table limit purged, %d of %d total %d, %dms.", batch,
                        m_count, s.m_maxDeliveries, Elapsed());
        else if (b == Batch::GaveUp)
            LogFailure("DB: Deliveries table limit purge FAILED!!");
        CountDown();
        Wait();
    }

    // LogEvents by age, then by size.
    Memory();
    Wait();
    if (Count(kLogEvents.countByAge, &s.m_eventsKeepDays))
        m_log.Write("DB: KeepDays %d, %d LogEvents to be deleted %dms.", s.m_eventsKeepDays,
                    m_count, Elapsed());
    Memory();
    Wait();
    while (Go() && s.m_purgeLogEvents && m_count > 0) {
        const Batch b = RunBatch(kLogEvents.deleteByAge, s.m_eventsKeepDays, &batch);
        if (b == Batch::Done)
            m_log.Write("DB: LogEvents table purged, Days %d, %d of %d, %dms.", s.m_eventsKeepDays,
                        batch, m_count, Elapsed());
        else if (b == Batch::GaveUp)
            LogFailure("DB: LogEvents table purge FAILED!!");
        Wait();
        CountDown();
    }
    Memory();
    Wait();
    if (Count(kLogEvents.countAll, nullptr))
        m_log.Write("DB: %d total %d LogEvents max, %dms.", m_count, s.m_maxLogEvents, Elapsed());
    Memory();
    Wait();
    while (Go() && s.m_purgeLogEvents && m_count > s.m_maxLogEvents) {
        const Batch b = RunBatch(kLogEvents.deleteOldest, batch, nullptr);
        if (b == Batch::Done)
            m_log.Write("DB: LogEvents table limit purged, %d of %d %dms.", m_count,
                        s.m_maxLogEvents, Elapsed());
        else if (b == Batch::GaveUp)
            LogFailure("DB: LogEvents table limit purge FAILED!!");
        Wait();
        CountDown();
    }

    // SaleItems by age, then by size.
    Memory();
    Wait();
    if (Count(kSaleItems.countByAge, &s.m_saleItemKeepDays))
        m_log.Write("DB: KeepDays %d, %d SaleItems to be deleted, %dms.", s.m_saleItemKeepDays,
                    m_count, Elapsed());
    Memory();
    Wait();
    while (Go() && s.m_purgeSaleItems && m_count > 0) {
        const Batch b = RunBatch(kSaleItems.deleteByAge, s.m_saleItemKeepDays, &batch);
        if (b == Batch::Done)
            m_log.Write("DB: SaleItems table purged,Days %d, %d of %d %dms.", s.m_saleItemKeepDays,
                        batch, m_count, Elapsed());
        else if (b == Batch::GaveUp)
            LogFailure("DB: SaleItems table purge FAILED!!");
        Wait();
        CountDown();
    }
    Memory();
    Wait();
    if (Count(kSaleItems.countAll, nullptr))
        m_log.Write("DB: %d/%d SaleItems to be deleted %dms.", m_count, s.m_maxSaleItems,
                    Elapsed());
    Memory();
    Wait();
    while (Go() && s.m_purgeSaleItems && m_count > s.m_maxSaleItems) {
        const Batch b = RunBatch(kSaleItems.deleteOldest, batch, nullptr);
        if (b == Batch::Done)
            m_log.Write("DB: SaleItems table purged, %d of %d %dms.", batch, m_count, Elapsed());
        else if (b == Batch::GaveUp)
            LogFailure("DB: SaleItems table purge FAILED!!");
        Wait();
        CountDown();
    }

    if (s.m_vacuum && Go()) Vacuum();
    m_db.Close();

    const int32_t total = static_cast<int32_t>(platform::TickCount() - startTick);
    if (m_stopped) {
        m_log.Write("Stopped on request, %dms.", total);
        return false;
    }
    MemoryReport(m_log);
    if (m_failed) m_log.Write("A step FAILED, see above.");
    m_log.Write("All done!! %dms.", total);
    return !m_failed;
}

void CPurgeRun::Backup() {
    if (!Go()) return;
    StartStep();
    try {
        const int rc = m_db.Backup(kBackupFile, kBackupPagesPerStep, m_settings.m_waitMs);
        if (rc == 0)
            m_log.Write("DB: DB backup to QvDBBu.SQL %dms.", Elapsed());
        else
            LogFailure("DB: DB backup to QvDBBu.SQL FAILED, %d %s, %dms.", rc, m_db.ErrorText(rc),
                       Elapsed());
    } catch (int code) {
        Fail();
        LogDbError(m_log, m_db, code, __FILE__, __LINE__);
    }
}

void CPurgeRun::Vacuum() {
    StartStep();
    try {
        if (m_db.Execute(" VACUUM ; "))
            m_log.Write("DB: vacuumed sucessfully, %dms.", Elapsed());
        else
            LogFailure("DB: vacuum gave up, DB busy/locked, %dms.", Elapsed());
    } catch (int code) {
        Fail();
        LogDbError(m_log, m_db, code, __FILE__, __LINE__);
    }
}

bool CPurgeRun::Count(const char* sql, const int32_t* keepDays) {
    m_count = 0;
    if (!Go()) return false;
    StartStep();
    try {
        CSQLiteStmt stmt(m_db, sql);
        if (keepDays != nullptr) stmt.Bind(1, *keepDays);
        if (stmt.Step()) {
            stmt.GetInt(0, m_count);
            return true;
        }
        m_count = 0;
        return false;
    } catch (int code) {
        Fail();
        LogDbError(m_log, m_db, code, __FILE__, __LINE__);
        // A failed count must not leave the previous phase's remainder for the next loop.
        m_count = 0;
        return false;
    }
}

CPurgeRun::Batch CPurgeRun::RunBatch(const char* sql, int32_t first, const int32_t* second) {
    StartStep();
    try {
        CSQLiteStmt stmt(m_db, sql);
        stmt.Bind(1, first);
        if (second != nullptr) stmt.Bind(2, *second);
        return stmt.Execute() ? Batch::Done : Batch::GaveUp;
    } catch (int code) {
        Fail();
        LogDbError(m_log, m_db, code, __FILE__, __LINE__);
        return Batch::Failed;
    }
}

void CPurgeRun::CountDown() {
    // The counter stops at the most negative count rather than wrapping round to a large one,
    // which would start the loop over.
    const int64_t rest = int64_t{m_count} - m_settings.m_batchSize;
    m_count = static_cast<int32_t>(std::max<int64_t>(rest, INT32_MIN));
}

void CPurgeRun::Wait() {
    if (m_settings.m_waitMs > 0 && Go())
        platform::SleepUnlessStopped(static_cast<uint32_t>(m_settings.m_waitMs));
}

bool CPurgeRun::Go() {
    if (!m_stopped && platform::StopRequested()) {
        m_stopped = true;
        m_log.Write("Stop requested: the run ends after the step in progress.");
    }
    return !m_stopped;
}

void CPurgeRun::Fail() {
    m_failed = true;
}

void CPurgeRun::LogFailure(const char* format, ...) {
    Fail();
    va_list args;
    va_start(args, format);
    m_log.WriteV(format, args);
    va_end(args);
}

void CPurgeRun::Memory() {
    if (Go()) MemoryReport(m_log);
}

void CPurgeRun::StartStep() {
    m_stepTick = platform::TickCount();
}

int32_t CPurgeRun::Elapsed() const {
    return static_cast<int32_t>(platform::TickCount() - m_stepTick);
}
