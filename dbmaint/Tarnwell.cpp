// Tarnwell: maintenance of the controller's SQLite database. Reads its switches and the profile
// "\DAVozuz\SQLite\QVSQLite.ini", opens the database, runs the profile's commands and then the
// purge, backup and vacuum sequence. Exit code 0 when the run reached its end, -1 when it
// stopped early.
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
#include "platform/Process.h"

namespace {

// The program's one log writer, built before the entry runs so that START is the first line
// and STOP (written when it is destroyed at exit) the last.
CLog g_log("\\Tarnwell", "Tarnwell V1.2//", 1, 1024000, 5, true, true);

constexpr const char* kProfilePath = "\\DAVozuz\\SQLite\\QVSQLite.ini";

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
        return -1;
    }

    auto db = std::make_unique<CSQLiteDB>();
    try {
        db->Open(settings.m_dbName.c_str(), settings.m_logLevel, &g_log);
        RunCommands(profile, *db);
    } catch (int code) {
        LogDbError(g_log, *db, code, __FILE__, __LINE__);
        db.reset(); // closes the database and frees the library
        profile.Close();
        return -1;
    }
    profile.Close();

    CPurgeRun(*db, settings, g_log).Run(startTick);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Screen output is a copy of the log: a reader that goes away (Tarnwell -all | head) must
    // not end the run before its purges and its STOP record.
    platform::PrepareConsole();
    return TarnwellMain(argc, argv);
}
