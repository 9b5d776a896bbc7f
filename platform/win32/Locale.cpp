// Date, time, number and currency text from the system's locale functions, always for English
// (United Kingdom), the desktop's locale, whatever the machine's own locale is.
#include "platform/Locale.h"

#include "platform/win32/Win32.h"

namespace platform {

namespace {

const wchar_t* Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

wchar_t* Wide(char16_t* text) {
    return reinterpret_cast<wchar_t*>(text);
}

// The system's counts include the terminator; ours do not. 0 stays a failure.
int Units(int withTerminator) {
    return withTerminator > 0 ? withTerminator - 1 : 0;
}

// The picture strings live as long as the format they came from.
NUMBERFMTW ToWindows(const NumberFormat& fmt) {
    NUMBERFMTW w{};
    w.NumDigits = static_cast<UINT>(fmt.decimals);
    w.LeadingZero = fmt.leadingZero ? 1 : 0;
    w.Grouping = static_cast<UINT>(fmt.grouping);
    w.lpDecimalSep = const_cast<wchar_t*>(Wide(fmt.decimalSep));
    w.lpThousandSep = const_cast<wchar_t*>(Wide(fmt.thousandSep));
    w.NegativeOrder = static_cast<UINT>(fmt.negativeOrder);
    return w;
}

} // namespace

int FormatDate(const SystemTime& st, const char16_t* picture, char16_t* out, int cap) {
    if (!out || cap <= 0) return 0;
    const SYSTEMTIME w = win32::ToWindows(st);
    if (!win32::ValidSystemTime(w)) return 0;
    return Units(GetDateFormatW(win32::kLocaleEnglishUk, 0, &w, Wide(picture), Wide(out), cap));
}

int FormatTime(const SystemTime& st, const char16_t* picture, char16_t* out, int cap) {
    if (!out || cap <= 0) return 0;
    const SYSTEMTIME w = win32::ToWindows(st);
    if (!win32::ValidSystemTime(w)) return 0;
    return Units(GetTimeFormatW(win32::kLocaleEnglishUk, 0, &w, Wide(picture), Wide(out), cap));
}

NumberFormat UserNumberFormat() {
    return NumberFormat();
}

CurrencyFormat UserCurrencyFormat() {
    return CurrencyFormat();
}

int FormatNumber(const char16_t* plain, const NumberFormat& fmt, char16_t* out, int cap) {
    if (!plain || !out || cap <= 0) return 0;
    NUMBERFMTW w = ToWindows(fmt);
    return Units(GetNumberFormatW(win32::kLocaleEnglishUk, 0, Wide(plain), &w, Wide(out), cap));
}

int FormatCurrency(const char16_t* plain, const CurrencyFormat& fmt, char16_t* out, int cap) {
    if (!plain || !out || cap <= 0) return 0;
    const NUMBERFMTW n = ToWindows(fmt);
    CURRENCYFMTW w{};
    w.NumDigits = n.NumDigits;
    w.LeadingZero = n.LeadingZero;
    w.Grouping = n.Grouping;
    w.lpDecimalSep = n.lpDecimalSep;
    w.lpThousandSep = n.lpThousandSep;
    w.NegativeOrder = static_cast<UINT>(fmt.negativeCurrencyOrder);
    w.PositiveOrder = static_cast<UINT>(fmt.positiveOrder);
    w.lpCurrencySymbol = const_cast<wchar_t*>(Wide(fmt.symbol));
    return Units(GetCurrencyFormatW(win32::kLocaleEnglishUk, 0, Wide(plain), &w, Wide(out), cap));
}

} // namespace platform
