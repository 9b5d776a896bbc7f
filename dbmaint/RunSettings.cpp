#include "dbmaint/RunSettings.h"

#include <algorithm>
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

// Reads an integer key as the profile reader does (blanks and commas skipped, "+" and "-" set
// the sign, the first other character ends it; missing reads 0), except that a value beyond
// the signed 32-bit range stays at the nearest limit instead of wrapping: 4294967295 must not
// become -1, nor 2147483648 the most negative count.
int32_t ReadSaturated(CProfile& profile, const char* key) {
    constexpr int64_t kLimit = int64_t{INT32_MAX} + 1; // magnitude of INT32_MIN
    CStr text;
    profile.GetString(key, text);
    bool minus = false;
    int64_t magnitude = 0; // never beyond kLimit, so it cannot overflow either
    for (int i = 1; i <= text.Length(); ++i) {
        const char16_t c = text.At(i);
        if (c == u' ' || c == u',') continue;
        if (c == u'+' || c == u'-') {
            minus = c == u'-';
        } else if (c >= u'0' && c <= u'9') {
            magnitude = std::min(magnitude * 10 + (c - u'0'), kLimit);
        } else {
            break;
        }
    }
    if (minus) return static_cast<int32_t>(-magnitude);
    return static_cast<int32_t>(std::min(magnitude, kLimit - 1));
}

// A key whose value is missing or 0 takes the default.
int32_t ReadWithDefault(CProfile& profile, const char* key, int32_t fallback) {
    const int32_t value = ReadSaturated(profile, key);
    return value != 0 ? value : fallback;
}

// A maximum row count below 0 would make every row surplus: it takes the default as a missing
// one does, so that a mistyped maximum never empties the table.
int32_t ReadMaximum(CProfile& profile, const char* key, int32_t fallback) {
    const int32_t value = ReadSaturated(profile, key);
    return value > 0 ? value : fallback;
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
    m_deliveryKeepDays = ReadSaturated(profile, "DeliveryKeepDays");
    m_maxDeliveries = ReadMaximum(profile, "MaxDeliveries", 100000);
    m_eventsKeepDays = ReadSaturated(profile, "EventsKeepDays");
    m_maxLogEvents = ReadMaximum(profile, "MaxLogEvents", 10000);
    m_saleItemKeepDays = ReadSaturated(profile, "SaleItemKeepDays");
    m_maxSaleItems = ReadMaximum(profile, "MaxSaleItems", 10000);
    // A batch size below 1 would never bring the remaining count down; it takes the default.
    m_batchSize = ReadMaximum(profile, "DeleteBatchSize", 250);
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
    m_logLevel = ReadSaturated(profile, "LogLevel");
}

void RunSettings::ApplyFast() {
    if (!m_fast) return;
    // Four times a huge configured size would overflow into a negative LIMIT, which SQLite
    // reads as no limit at all: the batch stays at the largest 32-bit size instead.
    constexpr int32_t kLargestBatch = INT32_MAX;
    m_batchSize = m_batchSize > kLargestBatch / 4 ? kLargestBatch : m_batchSize * 4;
    m_waitMs = 0;
}
