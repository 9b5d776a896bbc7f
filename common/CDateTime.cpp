#include "common/CDateTime.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "platform/Locale.h"
#include "platform/OleAuto.h"
#include "platform/Text.h"

namespace {

constexpr int kPartUnits = 81; // a date or time part: at most 80 characters and the terminator
constexpr int kDefaultTextBytes = 160;
constexpr int64_t kTicksPerMs = 10000; // file-time units (100 ns) per millisecond
constexpr int64_t kMsPerDay = 86400000;
constexpr double kJulianEpoch = 1721424.5; // Julian date of day number 0

// The broken-down form of the null value: Saturday 1 January 2000, midnight.
platform::SystemTime NullSystemTime() {
    platform::SystemTime st;
    st.year = 2000;
    st.month = 1;
    st.day = 1;
    st.dayOfWeek = 6;
    return st;
}

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Month offsets of the Julian day number, January first; the year starts in March.
constexpr int kMonthOffset[12] = {0, 31, -306, -275, -245, -214, -184, -153, -122, -92, -61, -31};

// Astronomical day number of a proleptic Gregorian date (Julian date minus 1721424.5).
int64_t DayNumber(int64_t year, int month, int day) {
    int64_t y = month <= 2 ? year - 1 : year;
    int64_t century = FloorDiv(y, 100);
    int64_t inCentury = y - 100 * century;
    return FloorDiv(146097 * century, 4) + FloorDiv(1461 * inCentury, 4) + kMonthOffset[month - 1] +
           day;
}

// Inverse of DayNumber: the same formula solved for century, year and day in the March year.
void DateOfDayNumber(int64_t n, int64_t& year, int& month, int& day) {
    int64_t z = n + 305; // days since 1 March of year 0
    int64_t century = FloorDiv(4 * z + 3, 146097);
    int64_t inCentury = z - FloorDiv(146097 * century, 4);
    int64_t yearInCentury = FloorDiv(4 * inCentury + 3, 1461);
    int64_t dayOfYear = inCentury - FloorDiv(1461 * yearInCentury, 4); // 0 = 1 March
    int64_t marchMonth = (5 * dayOfYear + 2) / 153;                    // 0 = March
    day = static_cast<int>(dayOfYear - (153 * marchMonth + 2) / 5 + 1);
    month = static_cast<int>(marchMonth < 10 ? marchMonth + 3 : marchMonth - 9);
    year = 100 * century + yearInCentury + (month <= 2 ? 1 : 0);
}

// Reads the decimal digits at text[pos] up to the first non-digit.
int DigitsAt(const char* text, int pos) {
    int value = 0;
    for (const char* p = text + pos; *p >= '0' && *p <= '9' && value < 100000; ++p)
        value = value * 10 + (*p - '0');
    return value;
}

bool IsDateSeparator(char c) {
    return c == '-' || c == '/';
}

// Writes a date or time part unless its picture is empty ("" omits the part).
int FormatPart(int (*format)(const platform::SystemTime&, const char16_t*, char16_t*, int),
               const platform::SystemTime& st, const char16_t* picture, char16_t* out) {
    out[0] = 0;
    if (picture && picture[0] == 0) return 0;
    int n = format(st, picture, out, kPartUnits);
    if (n <= 0 || n >= kPartUnits) {
        out[0] = 0;
        return 0;
    }
    return n;
}

int32_t ClampToInt32(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

} // namespace

platform::SystemTime CDateTime::Broken() const {
    platform::SystemTime st;
    if (IsNull() || !platform::FileTimeToSystemTime(m_value, st)) return NullSystemTime();
    return st;
}

uint64_t CDateTime::SetNow() {
    uint64_t now = 0;
    if (platform::SystemTimeToFileTime(platform::LocalNow(), now)) m_value = now;
    return m_value;
}

bool CDateTime::SetSystemClock() const {
    if (IsNull()) return false;
    return platform::SetLocalTime(Broken());
}

bool CDateTime::FromSystemTime(const platform::SystemTime& st) {
    uint64_t value = 0;
    if (!platform::SystemTimeToFileTime(st, value)) return false;
    m_value = value;
    return true;
}

const platform::SystemTime& CDateTime::ToSystemTime() const {
    thread_local platform::SystemTime result;
    result = Broken();
    return result;
}

bool CDateTime::FromTm(const struct tm& t) {
    int64_t year = int64_t{t.tm_year} + 1900;
    if (year < 0 || year > UINT16_MAX || t.tm_mon < 0 || t.tm_mon > 11 || t.tm_mday < 0 ||
        t.tm_hour < 0 || t.tm_min < 0 || t.tm_sec < 0)
        return false;
    platform::SystemTime st;
    st.year = static_cast<uint16_t>(year);
    st.month = static_cast<uint16_t>(t.tm_mon + 1);
    st.day = static_cast<uint16_t>(t.tm_mday);
    st.hour = static_cast<uint16_t>(t.tm_hour);
    st.minute = static_cast<uint16_t>(t.tm_min);
    st.second = static_cast<uint16_t>(t.tm_sec);
    return FromSystemTime(st);
}

const struct tm& CDateTime::ToTm() const {
    thread_local struct tm result;
    platform::SystemTime st = Broken();
    result = {};
    result.tm_year = st.year - 1900;
    result.tm_mon = st.month - 1;
    result.tm_mday = st.day;
    result.tm_wday = st.dayOfWeek;
    result.tm_yday =
        static_cast<int>(DayNumber(st.year, st.month, st.day) - DayNumber(st.year, 1, 1));
    result.tm_hour = st.hour;
    result.tm_min = st.minute;
    result.tm_sec = st.second;
    result.tm_isdst = -1; // unknown: a local wall-clock reading
    return result;
}

int CDateTime::Year() const {
    return Broken().year;
}
int CDateTime::Month() const {
    return Broken().month;
}
int CDateTime::Day() const {
    return Broken().day;
}
int CDateTime::Hour() const {
    return Broken().hour;
}
int CDateTime::Minute() const {
    return Broken().minute;
}
int CDateTime::Second() const {
    return Broken().second;
}

bool CDateTime::SameSecond(const CDateTime& other) const {
    platform::SystemTime a = Broken();
    platform::SystemTime b = other.Broken();
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second;
}

int64_t CDateTime::TicksSince() const {
    CDateTime now;
    now.SetNow();
    return static_cast<int64_t>(now.m_value) - static_cast<int64_t>(m_value);
}

int32_t CDateTime::SecondsSince() const {
    return ClampToInt32(TicksSince() / (1000 * kTicksPerMs));
}

int64_t CDateTime::MillisecondsSince() const {
    return TicksSince() / kTicksPerMs;
}

void CDateTime::FromOleDate(double date) {
    if (!(date > 0)) {
        SetNull();
        return;
    }
    platform::SystemTime st;
    if (platform::VariantTimeToSystemTime(date, st)) FromSystemTime(st);
}

double CDateTime::ToOleDate() const {
    double date = 0.0;
    if (IsNull() || !platform::SystemTimeToVariantTime(Broken(), date)) return 0.0;
    return date;
}

bool CDateTime::Parse(const char* text) {
    if (!text || std::strlen(text) < 19) return false;
    if (!IsDateSeparator(text[4]) || !IsDateSeparator(text[7]) || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':')
        return false;
    int year = DigitsAt(text, 0);
    int month = DigitsAt(text, 5);
    int day = DigitsAt(text, 8);
    int hour = DigitsAt(text, 11);
    int minute = DigitsAt(text, 14);
    int second = DigitsAt(text, 17);
    if (year < 1900 || year > UINT16_MAX || month < 1 || month > 12 || day < 1 || day > 31 ||
        hour > 23 || minute > 59 || second > 59)
        return false;
    platform::SystemTime st;
    st.year = static_cast<uint16_t>(year);
    st.month = static_cast<uint16_t>(month);
    st.day = static_cast<uint16_t>(day);
    st.hour = static_cast<uint16_t>(hour);
    st.minute = static_cast<uint16_t>(minute);
    st.second = static_cast<uint16_t>(second);
    // A day the month does not have (30 February) is refused by the conversion: not parsed.
    return FromSystemTime(st);
}

const char* CDateTime::Format(char* buffer, int size, const char16_t* datePicture,
                              const char16_t* timePicture) const {
    if (!buffer) return "Null date";
    if (size <= 0) return buffer;
    platform::SystemTime st = Broken();
    char16_t date[kPartUnits];
    char16_t time[kPartUnits];
    int dateLength = FormatPart(platform::FormatDate, st, datePicture, date);
    int timeLength = FormatPart(platform::FormatTime, st, timePicture, time);

    char16_t text[2 * kPartUnits + 1];
    std::memcpy(text, date, sizeof(char16_t) * dateLength);
    int n = dateLength;
    if (dateLength > 0 && timeLength > 0) text[n++] = u' ';
    std::memcpy(text + n, time, sizeof(char16_t) * timeLength);
    n += timeLength;
    text[n] = 0;

    buffer[0] = 0;
    if (platform::WideToMultiByte(text, buffer, size) <= 0) buffer[0] = 0;
    return buffer;
}

const char* CDateTime::DefaultText() const {
    thread_local char text[kDefaultTextBytes];
    return Format(text, kDefaultTextBytes, nullptr, nullptr);
}

double CDateTime::ToJulian() const {
    if (IsNull()) return 0.0;
    platform::SystemTime st = Broken();
    double days = static_cast<double>(DayNumber(st.year, st.month, st.day));
    return days + st.hour / 24.0 + st.minute / 1440.0 + st.second / 86400.0 +
           st.milliseconds / 86400000.0 + kJulianEpoch;
}

void CDateTime::FromJulian(double jd) {
    double x = jd - kJulianEpoch;
    if (!std::isfinite(x) || x < 0 || x > 1e8) return; // far outside every file time
    int64_t days = static_cast<int64_t>(std::floor(x));
    int64_t ms = static_cast<int64_t>(std::floor((x - days) * kMsPerDay + 0.5));
    if (ms >= kMsPerDay) { // the fraction rounded up to the next midnight
        ++days;
        ms -= kMsPerDay;
    }
    int64_t year = 0;
    int month = 0;
    int day = 0;
    DateOfDayNumber(days, year, month, day);
    if (year < 1 || year > UINT16_MAX) return;
    platform::SystemTime st;
    st.year = static_cast<uint16_t>(year);
    st.month = static_cast<uint16_t>(month);
    st.day = static_cast<uint16_t>(day);
    st.hour = static_cast<uint16_t>(ms / 3600000);
    st.minute = static_cast<uint16_t>(ms / 60000 % 60);
    st.second = static_cast<uint16_t>(ms / 1000 % 60);
    st.milliseconds = static_cast<uint16_t>(ms % 1000);
    FromSystemTime(st);
}

int32_t CDateTime::LocalOffsetFromUtc() {
    // A fixed instant (3 November 2023 08:26:40 UTC): its UTC fields read back as local time.
    const time_t instant = 1699000000;
    struct tm utc = {};
    if (!gmtime_r(&instant, &utc)) return 0;
    utc.tm_isdst = -1; // daylight saving as the run-time library sees it
    time_t asLocal = mktime(&utc);
    if (asLocal == static_cast<time_t>(-1)) return 0;
    return static_cast<int32_t>(instant - asLocal);
}
