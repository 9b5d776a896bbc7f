#include "dbmaint/RunSettings.h"

#include <array>
#include <cstdint>

#include "common/CProfile.h"
#include "common/CStr.h"
#include "platform/Text.h"

namespace {

// Switches and the flags they set; -all sets exactly the three purge flags.
struct Switch {
    const char* name;
    bool RunSettings::*flags[3];
};
const std::array<Switch, 7> kSwitches = {{
    {"-events", {&RunSettings::m_purgeLogEvents}},
    {"-backup", {&RunSettings::m_backupSwitch}},
    {"-vacuum", {&RunSettings::m_vacuum}},
    {"-saleitems", {&RunSettings::m_purgeSaleItems}},
    {"-deliveries", {&RunSettings::m_purgeDels}},
    {"-fast", {&RunSettings::m_fast}},
    {"-all",
     {&RunSettings::m_purgeDels, &RunSettings::m_purgeLogEvents, &RunSettings::m_purgeSaleItems}},
}};

bool EqualsNoCase(std::u16string_view arg, std::string_view name) {
    if (arg.size() != name.size()) return false;
    for (size_t i = 0; i < arg.size(); ++i)
        if (platform::ToUpperChar(arg[i]) !=
            platform::ToUpperChar(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

// A key whose value is missing or 0 takes the default.
int32_t ReadWithDefault(CProfile& profile, const char* key, int32_t fallback) {
    const int32_t value = profile.GetInt(key);
    return value != 0 ? value : fallback;
}

} // namespace

bool RunSettings::ApplySwitch(std::u16string_view arg) {
    for (const Switch& s : kSwitches) {
        if (!EqualsNoCase(arg, s.name)) continue;
        for (bool RunSettings::*flag : s.flags)
            if (flag != nullptr) this->*flag = true;
        m_backup = m_backup || m_backupSwitch;
        return true;
    }
    return false;
}

void RunSettings::ReadParameters(CProfile& profile) {
    profile.SetSection("Parameters");
    m_deliveryKeepDays = profile.GetInt("DeliveryKeepDays");
    m_maxDeliveries = ReadWithDefault(profile, "MaxDeliveries", 100000);
    m_eventsKeepDays = profile.GetInt("EventsKeepDays");
    m_maxLogEvents = ReadWithDefault(profile, "MaxLogEvents", 10000);
    m_saleItemKeepDays = profile.GetInt("SaleItemKeepDays");
    m_maxSaleItems = ReadWithDefault(profile, "MaxSaleItems", 10000);
    // A batch size below 1 would never bring the remaining count down; it takes the default.
    m_batchSize = profile.GetInt("DeleteBatchSize");
    if (m_batchSize <= 0) m_batchSize = 250;
    m_waitMs = ReadWithDefault(profile, "BetweenBatchWait", 1000);
    if (!m_backupSwitch && profile.KeyExists("BackupBefore"))
        m_backup = profile.GetBool("BackupBefore");
    ApplyFast();
}

void RunSettings::ReadDatabaseKeys(CProfile& profile) {
    profile.SetSection("Parameters");
    CStr name;
    profile.GetString("DBName", name);
    m_dbName = name.Length() > 0 ? name.Narrow() : "";
    profile.SetSection("Log");
    m_logLevel = profile.GetInt("LogLevel");
}

void RunSettings::ApplyFast() {
    if (!m_fast) return;
    // Four times a huge configured size would overflow into a negative LIMIT, which SQLite
    // reads as no limit at all: the batch stays at the largest 32-bit size instead.
    constexpr int32_t kLargestBatch = INT32_MAX;
    m_batchSize = m_batchSize > kLargestBatch / 4 ? kLargestBatch : m_batchSize * 4;
    m_waitMs = 0;
}
