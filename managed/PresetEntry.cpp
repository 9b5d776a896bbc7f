#include "managed/PresetEntry.h"

#include <algorithm>

namespace Halvora {

namespace {
// Indexed by decimals: the integer part's digits that keep the limit within six digits.
constexpr int kMaxIntegerDigits[] = {6, 5, 4, 3};
} // namespace

int PresetEntry::MaxIntegerDigits(int decimals) {
    return kMaxIntegerDigits[std::clamp(decimals, 0, 3)];
}

void PresetEntry::SetDecimals(int decimals) {
    m_decimals = std::clamp(decimals, 0, 3);
    if (m_fraction.size() > m_decimals || m_integer.size() > MaxIntegerDigits(m_decimals)) Clear();
}

void PresetEntry::AddDigit(char digit) {
    if (digit < '0' || digit > '9') return;
    if (m_point) {
        if (m_fraction.size() < m_decimals) m_fraction += QLatin1Char(digit);
        return;
    }
    if (m_integer.isEmpty() && digit == '0') return; // no leading zeros
    if (m_integer.size() < MaxIntegerDigits(m_decimals)) m_integer += QLatin1Char(digit);
}

void PresetEntry::AddPoint() {
    // Kept even without decimals: the digits after it are then dropped, where joining them to
    // the integer part would make "1.5" a preset of 15.
    m_point = true;
}

void PresetEntry::Backspace() {
    if (!m_fraction.isEmpty()) {
        m_fraction.chop(1);
    } else if (m_point) {
        m_point = false;
        if (m_decimals == 0) m_integer.chop(1);
    } else {
        m_integer.chop(1);
    }
}

void PresetEntry::Clear() {
    m_integer.clear();
    m_fraction.clear();
    m_point = false;
}

double PresetEntry::Value() const {
    const QString text = (m_integer.isEmpty() ? QStringLiteral("0") : m_integer) +
                         QStringLiteral(".") + m_fraction + QStringLiteral("0");
    return text.toDouble();
}

QString PresetEntry::Text() const {
    return Text(QLocale::c());
}

QString PresetEntry::Text(const QLocale& locale) const {
    QString text = m_integer.isEmpty() ? QStringLiteral("0") : m_integer;
    if (m_point && m_decimals > 0) text += locale.decimalPoint() + m_fraction;
    return text;
}

} // namespace Halvora
