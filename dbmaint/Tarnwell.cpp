// Tarnwell: maintenance of the controller's SQLite database. Reads its switches and the profile
// "\DAVozuz\SQLite\QVSQLite.ini", opens the database, runs the profile's commands and then the
// purge, backup and vacuum sequence. Exit code 0 when the run reached its end with every step
// done, -1 when it stopped early, a stop was requested, or a step failed.
#include <cstdio>
#include <memory>
#include <string>

#include "common/CLog.h"
#include "common/CProfile.h"
#include "common/CStr.h"
#include "dbmaint/CPurgeRun.h"
#include "dbmaint/CSQLiteDB.h"
#include "dbmaint/RunLog.h"
#include "dbmaint/RunSettings.h"
#include "platform/Clock.h"
#include "platform/Console.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/StopRequest.h"

namespace {

// The program's one log writer, built before the entry runs so that START is the first line
// and STOP (written when it is destroyed at exit) the last.
CLog g_log("\\Tarnwell", "Tarnwell V1.2//", 1, 1024000, 5, true, true);

constexpr const char* kProfilePath = "\\DAVozuz\\SQLite\\QVSQLite.ini";

// Reads the schema, which every database has.
constexpr const char* kProbeSql = "SELECT COUNT(*) FROM sqlite_master;";

// The log line keeps its text; the screen also learns where the profile is and what makes one.
void ExplainMissingDBName() {
    std::fprintf(stderr,
                 "Tarnwell: no DBName in section Parameters of the profile %s (%s); "
                 "qvroot-provision writes a default one.\n",
                 kProfilePath, platform::MapPath(kProfilePath).c_str());
}

// SQLite would create a missing database empty and run every step on it: a name that names no
// file stops the run with its path and the reason.
bool DatabaseFileExists(const std::string& name) {
    const platform::FileKind kind = platform::GetFileKind(name);
    if (kind != platform::FileKind::Missing) return true;
    g_log.Write("DB: %s (%s) cannot be opened: no such file.", name.c_str(),
                platform::MapPath(name).c_str());
    return false;
}

const char* YesNo(bool value) {
    return value ? "true" : "false";
}

// Runs Cmd1, Cmd2, ... of section Commands; the first missing or empty key ends the list.
void RunCommands(CProfile& profile, CSQLiteDB& db) {
    profile.SetSection("Commands");
    for (int i = 1;; ++i) {
        CStr key;
        key.Format("Cmd%d", i);
        const std::string keyName = key.Narrow();
        CStr sql;
        if (profile.GetString(keyName.c_str(), sql) <= 0) break;
        const std::string text = sql.Narrow();
        db.Execute(text.c_str());
    }
}

int TarnwellMain(int argc, char** argv) {
    const uint32_t startTick = platform::TickCount();
    g_log.EnableFile(true);
    g_log.m_screen = true;
    // Ctrl-C and a termination signal end the run at its next safe point, so the log is flushed
    // and ends with its STOP record.
    platform::InstallStopHandlers();
    MemoryReport(g_log);

    // The command line comes without the program's own name: every argument is a switch.
    RunSettings settings;
    for (const std::u16string& arg :
         platform::SplitCommandLine(platform::CommandLine(argc, argv))) {
        if (!settings.ApplySwitch(arg)) {
            g_log.Write("Invalid argument, can be -events | -saleitems | -deliveries | -all.");
            return -1;
        }
    }
    g_log.Write("PurgeLogEvents = %s, PurgeSaleItems = %s, PurgeDels = %s, Fast = %s, Backup = %s",
                YesNo(settings.m_purgeLogEvents), YesNo(settings.m_purgeSaleItems),
                YesNo(settings.m_purgeDels), YesNo(settings.m_fast),
                YesNo(settings.m_backupSwitch));

    CProfile profile(kProfilePath, true);
    settings.ReadParameters(profile);
    g_log.Write("DeliveryKeepDays = %d, MaxDeliveries = %d, EventsKeepDays = %d, MaxLogEvents = "
                "%d, SaleItemKeepDays = %d , MaxSaleItems = %d, DeleteBatchSize = %d, "
                "BetweenBatchWait = %dms",
                settings.m_deliveryKeepDays, settings.m_maxDeliveries, settings.m_eventsKeepDays,
                settings.m_maxLogEvents, settings.m_saleItemKeepDays, settings.m_maxSaleItems,
                settings.m_batchSize, settings.m_waitMs);
    settings.ReadDatabaseKeys(profile);
    if (settings.m_dbName.empty()) {
        g_log.Write("DBName invalid ou missing QVSQLite.ini.");
        ExplainMissingDBName();
        return -1;
    }
    if (!DatabaseFileExists(settings.m_dbName)) return -1;

    auto db = std::make_unique<CSQLiteDB>();
    try {
        db->Open(settings.m_dbName.c_str(), settings.m_logLevel, &g_log);
        // SQLite reads the file only at the first statement: a file that is not a database
        // stops the run here, before anything is changed.
        db->Execute(kProbeSql);
        RunCommands(profile, *db);
    } catch (int code) {
        LogDbError(g_log, *db, code, __FILE__, __LINE__);
        db.reset(); // closes the database and frees the library
        profile.Close();
        return -1;
    }
    profile.Close();

    // A failed step does not stop the run, but the run as a whole then failed.
    return CPurgeRun(*db, settings, g_log).Run(startTick) ? 0 : -1;
}

} // namespace

int main(int argc, char** argv) {
    // Screen output is a copy of the log: a reader that goes away (Tarnwell -all | head) must
    // not end the run before its purges and its STOP record.
    platform::PrepareConsole();
    return TarnwellMain(argc, argv);
}
