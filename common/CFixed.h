// CFixed: a signed 64-bit integer with four implied decimals, for prices, volumes and totals,
// with its conversions (double, rounding, counters, digit strings, packed BCD, locale text),
// and the free functions that describe numeric display formats by type code.
// Out-of-range results saturate: every operation whose result does not fit the 64-bit raw value
// gives the nearest limit (raw INT64_MAX or INT64_MIN, about +-922337203685477.5807), never a
// wrapped value.
#pragma once
#include <cstdint>

class CFixed {
  public:
    static constexpr int64_t kScale = 10000; // raw steps per unit

    CFixed() = default;
    explicit CFixed(double x) { FromDouble(x); }
    static CFixed FromRaw(int64_t v) {
        CFixed f;
        f.m_value = v;
        return f;
    }

    // Places p (decimals kept) run from -4 to 4 and are clamped there, except for the counts
    // (FromCount, ToCount, FromDigits, FromBcd) which also take 5 to 12.

    void FromDouble(double x); // half away from zero; saturates, NaN gives 0
    // FromDouble that tells whether x fitted: false when x was out of range (the value is then
    // the saturated limit) or NaN (the value is then 0).
    bool TryFromDouble(double x);
    double ToDouble() const { return static_cast<double>(m_value) / 10000.0; }
    int64_t Raw() const { return m_value; }

    CFixed& Round(int places);    // half away from zero at the place
    CFixed& Truncate(int places); // toward zero
    // Keeps the lowest digits (1 to 8, other values count as 8) whole units at the place, as a
    // counter with that many digits does; halfUnit adds half a unit first.
    CFixed& Wrap(int digits, int places, bool halfUnit);
    CFixed& FromCount(int64_t count, int places);
    int64_t ToCount(int places); // also replaces the value by the count
    // Writes the lowest length (at most 20) digits of the value rounded at the place, zero
    // padded, most significant first (least significant first when reversed), then a 0 byte:
    // buffer needs length + 1 bytes. The sign is not written.
    void ToDigits(char* buffer, int length, int places, bool reverse) const;
    // Packs the same digits two to a byte into (length - 1) / 2 + 1 bytes; the byte with the
    // lowest digits comes last (first when reversed).
    void ToBcd(uint8_t* buffer, int length, int places, bool reverse) const;
    // Reads length digit characters (anything but 1-9 counts as 0), then FromCount.
    CFixed& FromDigits(const char* text, int length, int places, bool reverse);
    // Reads (length - 1) / 2 + 1 packed bytes (a nibble above 9 counts as 0), then FromCount.
    CFixed& FromBcd(const uint8_t* bytes, int length, int places, bool reverse);
    // Four-decimal plain text such as "-0.0500" (at most 21 characters plus the 0 byte).
    void PlainText(char* buffer, int size) const;
    // Number (or currency) text in the user locale, decimals -1 for the locale's default,
    // without thousands separators unless grouping. Returns a thread-local buffer of at most
    // 39 characters, overwritten by the thread's next call; "" when formatting fails.
    const char* LocaleText(bool currency, int decimals, bool grouping) const;

    bool operator==(const CFixed& o) const { return m_value == o.m_value; }
    bool operator!=(const CFixed& o) const { return m_value != o.m_value; }

  private:
    int64_t m_value = 0; // the number times 10000
};

// Display formats by type code 1 to 21; other codes have 0 digits and 0 decimals.
int DecimalsOfType(int type);
int DigitsOfType(int type);
// Five units of the last displayed place (0.005 for 3 decimals ... 5000 for -3; 5 otherwise).
CFixed StepOfType(int type);
// Position 1 to 8 of the lowest set bit of the byte; -1 when none is set.
int LowestBit(uint8_t byte);
// 1 << (position - 1) for positions 1 to 8; 0 otherwise.
uint8_t BitOfPosition(int position);
