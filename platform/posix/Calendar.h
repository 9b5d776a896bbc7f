// Proleptic Gregorian calendar arithmetic shared by the clock, automation-date and locale
// services: day numbers counted from 1 January 1970, valid for any year the callers accept.
#pragma once
#include <cstdint>

#include "platform/Clock.h"

namespace platform {
namespace calendar {

constexpr int64_t kMsPerDay = 86400000;

constexpr bool IsLeapYear(int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

constexpr int DaysInMonth(int64_t y, int m) {
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (m == 2 && IsLeapYear(y)) ? 29 : kDays[m - 1];
}

// Days from 1 January 1970 to the given date (negative before it).
constexpr int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// The inverse of DaysFromCivil.
constexpr void CivilFromDays(int64_t z, int64_t& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

// 0 = Sunday; 1 January 1970 was a Thursday.
constexpr int DayOfWeek(int64_t days) {
    const int64_t w = (days + 4) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

// True when the date fields name a real day of a year in [minYear, maxYear].
constexpr bool ValidDate(const SystemTime& st, int minYear, int maxYear) {
    return st.year >= minYear && st.year <= maxYear && st.month >= 1 && st.month <= 12 &&
           st.day >= 1 && st.day <= DaysInMonth(st.year, st.month);
}

constexpr bool ValidTimeOfDay(const SystemTime& st) {
    return st.hour < 24 && st.minute < 60 && st.second < 60 && st.milliseconds < 1000;
}

constexpr int64_t MsOfDay(const SystemTime& st) {
    return ((st.hour * 60 + st.minute) * 60 + st.second) * int64_t{1000} + st.milliseconds;
}

// Fills every field from a day number and the milliseconds into that day (0 <= ms < one day).
inline SystemTime FromDaysAndMs(int64_t days, int64_t ms) {
    int64_t y = 0;
    int m = 0, d = 0;
    CivilFromDays(days, y, m, d);
    SystemTime st;
    st.year = static_cast<uint16_t>(y);
    st.month = static_cast<uint16_t>(m);
    st.day = static_cast<uint16_t>(d);
    st.dayOfWeek = static_cast<uint16_t>(DayOfWeek(days));
    st.hour = static_cast<uint16_t>(ms / 3600000);
    st.minute = static_cast<uint16_t>(ms / 60000 % 60);
    st.second = static_cast<uint16_t>(ms / 1000 % 60);
    st.milliseconds = static_cast<uint16_t>(ms % 1000);
    return st;
}

} // namespace calendar
} // namespace platform
