// CFixed: a signed 64-bit integer with four implied decimals, for prices, volumes and totals,
// with its conversions (double, rounding, counters, digit strings, packed BCD, locale text),
// and the free functions that describe numeric display formats by type code.
#pragma once
#include <cstdint>

class CFixed {
public:
    CFixed() = default;
    explicit CFixed(double x) { FromDouble(x); }
    static CFixed FromRaw(int64_t v) { CFixed f; f.m_value = v; return f; }

    void FromDouble(double x); // half away from zero
    double ToDouble() const { return static_cast<double>(m_value) / 10000.0; }
    int64_t Raw() const { return m_value; }

    CFixed& Round(int places);
    CFixed& Truncate(int places);
    CFixed& Wrap(int digits, int places, bool halfUnit);
    CFixed& FromCount(int64_t count, int places);
    int64_t ToCount(int places); // also replaces the value by the count
    void ToDigits(char* buffer, int length, int places, bool reverse) const;
    void ToBcd(uint8_t* buffer, int length, int places, bool reverse) const;
    CFixed& FromDigits(const char* text, int length, int places, bool reverse);
    CFixed& FromBcd(const uint8_t* bytes, int length, int places, bool reverse);
    // Locale number (or currency) text in a thread-local buffer of at most 39 characters.
    const char* LocaleText(bool currency, int decimals, bool grouping) const;

private:
    int64_t m_value = 0; // the number times 10000
};

int DecimalsOfType(int type);
int DigitsOfType(int type);
CFixed StepOfType(int type);
int LowestBit(uint8_t byte);
uint8_t BitOfPosition(int position);
