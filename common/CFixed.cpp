// Fixed-point conversions. Raw value v is the number times 10000; the unit of place p is
// U(p) = 10^(4 - p) raw steps.
#include "common/CFixed.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/Locale.h"
#include "platform/Text.h"

namespace {

constexpr int kMaxDigits = 20; // longest digit string or BCD field
constexpr int kWideCap = 40;   // wide units for the locale text, terminator included

// 10^e for 0 <= e <= 18.
int64_t Pow10(int e) {
    int64_t r = 1;
    for (int i = 0; i < e; ++i)
        r *= 10;
    return r;
}

int ClampPlaces(int places) {
    return places < -4 ? -4 : (places > 4 ? 4 : places);
}

// Raw steps in one unit of the (clamped) place.
int64_t Unit(int places) {
    return Pow10(4 - ClampPlaces(places));
}

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

uint64_t Magnitude(int64_t v) {
    return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
}

// The signed value of a magnitude, saturated at the 64-bit limits.
int64_t Signed(uint64_t m, bool minus) {
    if (minus) return m >= Magnitude(kMin) ? kMin : -static_cast<int64_t>(m);
    return m > static_cast<uint64_t>(kMax) ? kMax : static_cast<int64_t>(m);
}

// a * b saturated at the 64-bit limits.
int64_t SaturatedProduct(int64_t a, int64_t b) {
    int64_t r;
    if (!__builtin_mul_overflow(a, b, &r)) return r;
    return (a < 0) != (b < 0) ? kMin : kMax;
}

// count * 10 + digit for a non-negative count, saturated at the maximum.
int64_t AddDigit(int64_t count, int digit) {
    return count > (kMax - digit) / 10 ? kMax : count * 10 + digit;
}

// Magnitude of the whole units at the place, half away from zero (never overflows: the
// magnitude is at most 2^63 and half a unit is far below the rest of the 64-bit range).
uint64_t RoundedMagnitude(int64_t v, int64_t unit) {
    return (Magnitude(v) + static_cast<uint64_t>(unit / 2)) / static_cast<uint64_t>(unit);
}

// The 20 lowest decimal digits of m, least significant first.
void SplitDigits(uint64_t m, int digits[kMaxDigits]) {
    for (int i = 0; i < kMaxDigits; ++i) {
        digits[i] = static_cast<int>(m % 10);
        m /= 10;
    }
}

int ClampLength(int length) {
    return length > kMaxDigits ? kMaxDigits : length;
}

struct TypeFormat {
    int digits;
    int decimals;
};

// Display type codes 1 to 21: digit count and decimal position.
constexpr TypeFormat kTypeFormats[] = {
    {4, 3},  {4, 2},  {4, 1},  {4, 0}, // 1-4
    {5, 3},  {5, 2},  {5, 1},  {5, 0}, // 5-8
    {6, 3},  {6, 2},  {6, 1},  {6, 0}, // 9-12
    {4, -1}, {4, -2}, {4, -3},         // 13-15
    {5, -1}, {5, -2}, {5, -3},         // 16-18
    {6, -1}, {6, -2}, {6, -3},         // 19-21
};
constexpr int kTypeCount = sizeof(kTypeFormats) / sizeof(kTypeFormats[0]);

TypeFormat FormatOfType(int type) {
    if (type < 1 || type > kTypeCount) return {0, 0};
    return kTypeFormats[type - 1];
}

} // namespace

bool CFixed::TryFromDouble(double x) {
    // 2^63 is exact in a double; every double below it (and from -2^63 up) converts safely.
    constexpr double kLimit = 9223372036854775808.0;
    if (std::isnan(x)) {
        m_value = 0;
        return false;
    }
    double scaled = x * 10000.0;
    double rounded = x >= 0 ? std::floor(scaled + 0.5) : std::ceil(scaled - 0.5);
    if (rounded >= kLimit) {
        m_value = kMax;
        return false;
    }
    if (rounded < -kLimit) {
        m_value = kMin;
        return false;
    }
    m_value = static_cast<int64_t>(rounded);
    return true;
}

void CFixed::FromDouble(double x) {
    TryFromDouble(x);
}

CFixed& CFixed::Round(int places) {
    int64_t unit = Unit(places);
    int64_t units = Signed(RoundedMagnitude(m_value, unit), m_value < 0);
    m_value = SaturatedProduct(units, unit);
    return *this;
}

CFixed& CFixed::Truncate(int places) {
    int64_t unit = Unit(places);
    m_value = (m_value / unit) * unit;
    return *this;
}

CFixed& CFixed::Wrap(int digits, int places, bool halfUnit) {
    if (digits < 1 || digits > 8) digits = 8;
    int64_t unit = Unit(places);
    // (value + half a unit) / unit, truncated, without forming the sum, which could overflow.
    const int64_t half = halfUnit ? unit / 2 : 0;
    int64_t units = m_value / unit;
    const int64_t rest = m_value % unit + half; // below 2 units, above -1 unit
    if (rest >= unit)
        ++units;
    else if (rest > 0 && units < 0)
        ++units; // a negative value that half a unit carries one unit nearer to zero
    m_value = (units % Pow10(digits)) * unit;
    return *this;
}

CFixed& CFixed::FromCount(int64_t count, int places) {
    if (places >= -4 && places <= 4)
        m_value = SaturatedProduct(count, Unit(places));
    else if (places >= 5 && places <= 12)
        m_value = count / Pow10(places - 4);
    else
        m_value = count;
    return *this;
}

int64_t CFixed::ToCount(int places) {
    if (places >= -4 && places <= 4)
        m_value /= Unit(places);
    else if (places >= 5 && places <= 12)
        m_value = SaturatedProduct(m_value, Pow10(places - 4));
    return m_value;
}

void CFixed::ToDigits(char* buffer, int length, int places, bool reverse) const {
    if (!buffer) return;
    length = ClampLength(length);
    if (length <= 0) {
        buffer[0] = 0;
        return;
    }
    int digits[kMaxDigits];
    SplitDigits(RoundedMagnitude(m_value, Unit(places)), digits);
    for (int i = 0; i < length; ++i) {
        int d = digits[i]; // i-th lowest digit
        buffer[reverse ? i : length - 1 - i] = static_cast<char>('0' + d);
    }
    buffer[length] = 0;
}

void CFixed::ToBcd(uint8_t* buffer, int length, int places, bool reverse) const {
    length = ClampLength(length);
    if (!buffer || length <= 0) return;
    int digits[kMaxDigits];
    SplitDigits(RoundedMagnitude(m_value, Unit(places)), digits);
    for (int i = length; i < kMaxDigits; ++i)
        digits[i] = 0; // digits beyond the length are dropped
    int bytes = (length - 1) / 2 + 1;
    for (int i = 0; i < bytes; ++i) { // i-th byte from the lowest digits
        uint8_t b = static_cast<uint8_t>((digits[2 * i + 1] << 4) | digits[2 * i]);
        buffer[reverse ? i : bytes - 1 - i] = b;
    }
}

CFixed& CFixed::FromDigits(const char* text, int length, int places, bool reverse) {
    int64_t count = 0;
    for (int i = 0; text && i < length; ++i) {
        char c = text[reverse ? length - 1 - i : i];
        count = AddDigit(count, (c >= '1' && c <= '9') ? c - '0' : 0);
    }
    return FromCount(count, places);
}

CFixed& CFixed::FromBcd(const uint8_t* bytes, int length, int places, bool reverse) {
    int64_t count = 0;
    int n = length > 0 ? (length - 1) / 2 + 1 : 0;
    for (int i = 0; bytes && i < n; ++i) {
        uint8_t b = bytes[reverse ? n - 1 - i : i];
        int high = b >> 4, low = b & 0x0F;
        count = AddDigit(count, high > 9 ? 0 : high);
        count = AddDigit(count, low > 9 ? 0 : low);
    }
    return FromCount(count, places);
}

void CFixed::PlainText(char* buffer, int size) const {
    uint64_t m = Magnitude(m_value);
    std::snprintf(buffer, static_cast<size_t>(size), "%s%llu.%04llu", m_value < 0 ? "-" : "",
                  static_cast<unsigned long long>(m / 10000),
                  static_cast<unsigned long long>(m % 10000));
}

const char* CFixed::LocaleText(bool currency, int decimals, bool grouping) const {
    thread_local char result[kWideCap];
    char plain[32];
    PlainText(plain, sizeof plain);
    char16_t widePlain[32];
    int n = platform::MultiByteToWide(plain, static_cast<int>(std::strlen(plain)), widePlain, 31);
    widePlain[n] = 0;

    char16_t out[kWideCap];
    int written;
    if (currency) {
        platform::CurrencyFormat fmt = platform::UserCurrencyFormat();
        if (decimals != -1) fmt.decimals = decimals;
        if (!grouping) fmt.thousandSep = u"";
        written = platform::FormatCurrency(widePlain, fmt, out, kWideCap);
    } else {
        platform::NumberFormat fmt = platform::UserNumberFormat();
        if (decimals != -1) fmt.decimals = decimals;
        if (!grouping) fmt.thousandSep = u"";
        written = platform::FormatNumber(widePlain, fmt, out, kWideCap);
    }
    result[0] = 0;
    if (written > 0) {
        out[written < kWideCap ? written : kWideCap - 1] = 0;
        platform::WideToMultiByte(out, result, kWideCap);
    }
    return result;
}

int DecimalsOfType(int type) {
    return FormatOfType(type).decimals;
}

int DigitsOfType(int type) {
    return FormatOfType(type).digits;
}

CFixed StepOfType(int type) {
    return CFixed::FromRaw(5 * Pow10(4 - DecimalsOfType(type)));
}

int LowestBit(uint8_t byte) {
    for (int pos = 1; pos <= 8; ++pos)
        if (byte & (1u << (pos - 1))) return pos;
    return -1;
}

uint8_t BitOfPosition(int position) {
    if (position < 1 || position > 8) return 0;
    return static_cast<uint8_t>(1u << (position - 1));
}
