// CDateTime: a local date and time held as a 64-bit file time (100 ns since 1 January 1601);
// all bits set is the null value. Locale formatting with date and time pictures, the profile
// date text, OLE automation and Julian dates.
#pragma once
#include <cstdint>
#include <ctime>

#include "platform/Clock.h"

class CDateTime {
  public:
    static constexpr uint64_t kNull = ~0ULL;

    CDateTime() = default; // null
    explicit CDateTime(uint64_t fileTime) : m_value(fileTime) {}

    uint64_t Value() const { return m_value; }
    void SetNull() { m_value = kNull; }
    bool IsNull() const { return m_value == kNull || m_value == 0; } // 0 counts as null too

    uint64_t SetNow();           // reads the local wall clock; returns the new value
    bool SetSystemClock() const; // sets the local wall clock from the value

    // Broken-down form; null gives 1 January 2000 00:00:00.000, Saturday. The results of
    // ToSystemTime and ToTm live in thread-local buffers, valid until the thread's next call.
    bool FromSystemTime(const platform::SystemTime& st);
    const platform::SystemTime& ToSystemTime() const;
    // Standard calendar record (year - 1900, month 0-11); null gives year 100, month 0, day 1.
    bool FromTm(const struct tm& t);
    const struct tm& ToTm() const;

    int Year() const;
    int Month() const;
    int Day() const;
    int Hour() const;
    int Minute() const;
    int Second() const;
    bool SameSecond(const CDateTime& other) const;
    // Now minus value, truncated toward 0 (seconds saturate at the 32-bit range).
    int32_t SecondsSince() const;
    int64_t MillisecondsSince() const;

    // Automation date: 0 or less gives null; null (or 0) gives 0.0.
    void FromOleDate(double date);
    double ToOleDate() const;

    // Parses "yyyy-mm-dd hh:mm:ss" or with "/"; false (value unchanged) when it does not parse,
    // also for a day its month does not have.
    bool Parse(const char* text);

    // Date picture null: locale short date; "" omits the date. Same for the time picture.
    // Returns buffer, or "Null date" when buffer is null.
    const char* Format(char* buffer, int size, const char16_t* datePicture,
                       const char16_t* timePicture) const;
    // Both pictures null, into a thread-local 160-byte buffer.
    const char* DefaultText() const;

    double ToJulian() const;    // null gives 0.0
    void FromJulian(double jd); // a date outside the file-time range leaves the value unchanged

    // Seconds local time is ahead of UTC (negative west of Greenwich).
    static int32_t LocalOffsetFromUtc();

  private:
    platform::SystemTime Broken() const; // broken-down form without touching the shared result
    int64_t TicksSince() const;          // now minus value in file-time units

    uint64_t m_value = kNull; // file time of a local wall-clock time; all bits set = null
};
