// Locale date, time, number and currency formatting with Windows picture conventions.
// The default user locale is English (United Kingdom): short date "dd/MM/yyyy", time "HH:mm:ss",
// two decimals, "." and ",", grouping by three, currency "£" before the amount.
#pragma once
#include <cstdint>

#include "platform/Clock.h"

namespace platform {

// Formats the date part with a picture: d dd (day), M MM (month), yy yyyy (year), ddd dddd and
// MMM MMMM (names), text in single quotes literal ('' is a quote). Null picture: locale short date.
// Writes at most cap units including the terminator; returns the units written without it, 0 on
// failure (invalid date or no room).
int FormatDate(const SystemTime& st, const char16_t* picture, char16_t* out, int cap);
// Time part: H HH (24 h), h hh (12 h), m mm, s ss, t tt (am/pm, as Windows writes them for
// English (UK)), quoted literals.
// Null picture: locale time format.
int FormatTime(const SystemTime& st, const char16_t* picture, char16_t* out, int cap);

// What the user locale supplies for number and currency text.
struct NumberFormat {
    int decimals = 2;
    bool leadingZero = true;
    int grouping = 3; // digits per group, 0 for none
    const char16_t* decimalSep = u".";
    const char16_t* thousandSep = u",";
    int negativeOrder = 1; // 0 "(1.1)", 1 "-1.1", 2 "- 1.1", 3 "1.1-", 4 "1.1 -"
};
struct CurrencyFormat : NumberFormat {
    const char16_t* symbol = u"\u00A3";
    int positiveOrder = 0; // 0 "£1", 1 "1£", 2 "£ 1", 3 "1 £"
    int negativeCurrencyOrder = 1; // Windows negative currency orders 0..15
};

NumberFormat UserNumberFormat();
CurrencyFormat UserCurrencyFormat();

// Formats plain decimal text ("-1234.5000": optional "-", digits, optional "." and digits) with
// the given format (rounded half away from zero to its decimals). Returns units written without
// the terminator, 0 on bad input or no room.
int FormatNumber(const char16_t* plain, const NumberFormat& fmt, char16_t* out, int cap);
int FormatCurrency(const char16_t* plain, const CurrencyFormat& fmt, char16_t* out, int cap);

} // namespace platform
