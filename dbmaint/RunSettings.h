// RunSettings: what one maintenance run does, from its command-line switches and the
// parameters of the profile "\DAVozuz\SQLite\QVSQLite.ini", with the defaults that stand in
// for missing (or 0) values and the effect of -fast.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

class CProfile;

struct RunSettings {
    // Run flags, from the switches (backup also from the profile key BackupBefore).
    bool m_purgeDels = false;
    bool m_purgeLogEvents = false;
    bool m_purgeSaleItems = false;
    bool m_vacuum = false;
    bool m_fast = false;
    bool m_backup = false;
    bool m_backupSwitch = false; // -backup was given: BackupBefore is not consulted

    // Parameters, effective values after defaults and -fast.
    int32_t m_deliveryKeepDays = 0;
    int32_t m_maxDeliveries = 0;
    int32_t m_eventsKeepDays = 0;
    int32_t m_maxLogEvents = 0;
    int32_t m_saleItemKeepDays = 0;
    int32_t m_maxSaleItems = 0;
    int32_t m_batchSize = 0; // rows per DELETE statement
    int32_t m_waitMs = 0;    // pause between batches and phases; none when not above 0

    std::string m_dbName;   // empty when missing
    int32_t m_logLevel = 0; // of the database layer

    // Applies one command-line argument (compared without regard to case); false when it is
    // not one of the switches.
    bool ApplySwitch(std::u16string_view arg);
    // Reads section Parameters (the counts, sizes and waits, then BackupBefore) and applies
    // -fast. Values beyond the signed 32-bit range read as its nearest limit; a maximum or a
    // batch size below 1 takes the default, as a missing one does.
    void ReadParameters(CProfile& profile);
    // Reads DBName from section Parameters, then LogLevel from section Log.
    void ReadDatabaseKeys(CProfile& profile);
    // -fast: four times the batch size and no waits.
    void ApplyFast();
};
