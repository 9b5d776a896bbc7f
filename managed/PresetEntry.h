// The limit an attendant types on the preset keypad: integer digits, then after the point at
// most the decimals of the chosen display format. The integer part is bounded by the
// decimals (6 digits with none, one fewer for each decimal), so a limit always fits a
// six-digit pump display.
#pragma once
#include <QLocale>
#include <QString>

namespace Halvora {

class PresetEntry {
  public:
    // The most integer digits a limit with `decimals` decimals (0 to 3) may have.
    static int MaxIntegerDigits(int decimals);

    int Decimals() const { return m_decimals; }
    // A new number of decimals; a limit that no longer fits (more decimals or more integer
    // digits than allowed) is cleared.
    void SetDecimals(int decimals);

    // A digit '0'..'9'; ignored once its part is full.
    void AddDigit(char digit);
    // "." or ",": the following digits are decimals, up to the format's count; with no
    // decimals they are dropped (never joined to the integer part).
    void AddPoint();
    // Removes the last digit shown (or the point; with no decimals the point, which is not
    // shown, goes with the last integer digit).
    void Backspace();
    void Clear();

    // True when a limit above zero is entered.
    bool IsSet() const { return Value() > 0; }
    double Value() const;
    // What the entry shows: "0" when empty, "12.5" while typing decimals.
    QString Text() const;
    // The same with the locale's decimal point ("12,5" in pt_BR), as the pump displays show
    // their amounts.
    QString Text(const QLocale& locale) const;

  private:
    int m_decimals = 0;
    QString m_integer; // digits before the point, no leading zeros
    bool m_point = false;
    QString m_fraction; // digits after the point
};

} // namespace Halvora
