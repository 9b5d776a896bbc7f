// BSTRs on the C heap and automation dates (days since 30 December 1899).
#include "platform/OleAuto.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/posix/Calendar.h"

namespace platform {

namespace {

std::atomic<long> g_liveBstrs{0};

// The byte-length prefix sits just in front of the text the BSTR points to.
constexpr size_t kPrefix = sizeof(uint32_t);
constexpr uint32_t kMaxUnits = 0x7FFFFFF0u / 2; // keeps the byte length within 31 bits

uint32_t* PrefixOf(BSTR s) {
    return reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(s) - kPrefix);
}

constexpr int64_t kEpochDays = calendar::DaysFromCivil(1899, 12, 30);

} // namespace

BSTR SysAllocStringLen(const char16_t* text, uint32_t len) {
    if (len > kMaxUnits) return nullptr;
    const size_t bytes = size_t{len} * sizeof(char16_t);
    char* block = static_cast<char*>(std::malloc(kPrefix + bytes + sizeof(char16_t)));
    if (!block) return nullptr;
    const uint32_t byteLen = static_cast<uint32_t>(bytes);
    std::memcpy(block, &byteLen, kPrefix);
    BSTR s = reinterpret_cast<BSTR>(block + kPrefix);
    if (text)
        std::memcpy(s, text, bytes);
    else
        std::memset(s, 0, bytes);
    s[len] = 0;
    ++g_liveBstrs;
    return s;
}

BSTR SysAllocString(const char16_t* text) {
    if (!text) return nullptr;
    uint32_t len = 0;
    while (text[len])
        ++len;
    return SysAllocStringLen(text, len);
}

void SysFreeString(BSTR s) {
    if (!s) return;
    std::free(PrefixOf(s));
    --g_liveBstrs;
}

uint32_t SysStringLen(BSTR s) {
    if (!s) return 0;
    uint32_t byteLen = 0;
    std::memcpy(&byteLen, PrefixOf(s), kPrefix);
    return byteLen / sizeof(char16_t);
}

long LiveBstrCount() {
    return g_liveBstrs.load();
}

// Before the epoch the whole days count backwards while the fraction still runs forwards
// through the day: -1.25 is 29 December 1899 06:00, so the fraction is taken away from zero.
bool SystemTimeToVariantTime(const SystemTime& st, double& out) {
    if (!calendar::ValidDate(st, 100, 9999) || !calendar::ValidTimeOfDay(st)) return false;
    const double days =
        static_cast<double>(calendar::DaysFromCivil(st.year, st.month, st.day) - kEpochDays);
    const double fraction =
        static_cast<double>(calendar::MsOfDay(st)) / static_cast<double>(calendar::kMsPerDay);
    out = days < 0 ? days - fraction : days + fraction;
    return true;
}

bool VariantTimeToSystemTime(double vt, SystemTime& out) {
    // 1 January 100 to the last millisecond of 31 December 9999.
    constexpr double kMin = static_cast<double>(calendar::DaysFromCivil(100, 1, 1) - kEpochDays);
    constexpr double kMax = static_cast<double>(calendar::DaysFromCivil(10000, 1, 1) - kEpochDays);
    if (!(vt > kMin - 1.0 && vt < kMax)) return false; // also rejects NaN
    const double whole = std::trunc(vt);
    int64_t days = static_cast<int64_t>(whole);
    int64_t ms = std::llround(std::fabs(vt - whole) * static_cast<double>(calendar::kMsPerDay));
    if (ms >= calendar::kMsPerDay) { // rounded up to midnight of the following day
        ms -= calendar::kMsPerDay;
        ++days;
    }
    const SystemTime st = calendar::FromDaysAndMs(days + kEpochDays, ms);
    if (st.year < 100 || st.year > 9999) return false;
    out = st;
    return true;
}

} // namespace platform
