// Date, time, number and currency text for the English (United Kingdom) user locale, with the
// Windows picture and negative-order conventions.
#include "platform/Locale.h"

#include <string>

#include "platform/posix/Calendar.h"

namespace platform {

namespace {

constexpr const char16_t* kDefaultDate = u"dd/MM/yyyy";
constexpr const char16_t* kDefaultTime = u"HH:mm:ss";

constexpr const char16_t* kMonthNames[12] = {u"January",   u"February", u"March",    u"April",
                                             u"May",       u"June",     u"July",     u"August",
                                             u"September", u"October",  u"November", u"December"};
constexpr const char16_t* kMonthAbbrev[12] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                              u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
constexpr const char16_t* kDayNames[7] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                          u"Thursday", u"Friday", u"Saturday"};
constexpr const char16_t* kDayAbbrev[7] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
constexpr const char16_t* kAm = u"am";
constexpr const char16_t* kPm = u"pm";

std::u16string Number(int value, int minDigits) {
    std::u16string s; // least significant digit first
    do {
        s += static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (static_cast<int>(s.size()) < minDigits)
        s += u'0';
    return std::u16string(s.rbegin(), s.rend());
}

// Copies text into out (cap units with the terminator); 0 when it does not fit.
int Emit(const std::u16string& text, char16_t* out, int cap) {
    if (!out || cap <= 0 || static_cast<int>(text.size()) >= cap) return 0;
    text.copy(out, text.size());
    out[text.size()] = 0;
    return static_cast<int>(text.size());
}

// Expands one run of a picture letter (e.g. "dd") into text; false when the letter is not a
// field of this kind of picture, so the run is copied as it stands.
using FieldFn = bool (*)(const SystemTime& st, char16_t letter, int count, std::u16string& out);

bool DateField(const SystemTime& st, char16_t letter, int count, std::u16string& out) {
    switch (letter) {
    case u'd':
        if (count <= 2)
            out += Number(st.day, count);
        else
            out += (count == 3 ? kDayAbbrev : kDayNames)[st.dayOfWeek];
        return true;
    case u'M':
        if (count <= 2)
            out += Number(st.month, count);
        else
            out += (count == 3 ? kMonthAbbrev : kMonthNames)[st.month - 1];
        return true;
    case u'y':
        if (count <= 2)
            out += Number(st.year % 100, count);
        else
            out += Number(st.year, 1);
        return true;
    default:
        return false;
    }
}

bool TimeField(const SystemTime& st, char16_t letter, int count, std::u16string& out) {
    const int width = count >= 2 ? 2 : 1;
    switch (letter) {
    case u'H':
        out += Number(st.hour, width);
        return true;
    case u'h':
        out += Number(st.hour % 12 == 0 ? 12 : st.hour % 12, width);
        return true;
    case u'm':
        out += Number(st.minute, width);
        return true;
    case u's':
        out += Number(st.second, width);
        return true;
    case u't': {
        const std::u16string marker = st.hour < 12 ? kAm : kPm;
        out += count >= 2 ? marker : marker.substr(0, 1);
        return true;
    }
    default:
        return false;
    }
}

// Walks a picture: runs of field letters, 'quoted literals' ('' is one quote), other units as
// they stand.
std::u16string Expand(const SystemTime& st, const char16_t* picture, FieldFn field) {
    std::u16string out;
    for (const char16_t* p = picture; *p;) {
        if (p[0] == u'\'' && p[1] == u'\'') { // '' outside quotes is one quote as well
            out += u'\'';
            p += 2;
            continue;
        }
        if (*p == u'\'') {
            ++p;
            for (;;) {
                if (!*p) break; // an unclosed quote runs to the end
                if (*p == u'\'') {
                    if (p[1] != u'\'') {
                        ++p;
                        break;
                    }
                    ++p;
                }
                out += *p++;
            }
            continue;
        }
        int count = 1;
        while (p[count] == *p)
            ++count;
        if (!field(st, *p, count, out)) out.append(p, static_cast<size_t>(count));
        p += count;
    }
    return out;
}

} // namespace

int FormatDate(const SystemTime& st, const char16_t* picture, char16_t* out, int cap) {
    if (!calendar::ValidDate(st, 1601, 30827)) return 0;
    SystemTime date = st; // the weekday is computed, not trusted
    date.dayOfWeek = static_cast<uint16_t>(
        calendar::DayOfWeek(calendar::DaysFromCivil(st.year, st.month, st.day)));
    return Emit(Expand(date, picture ? picture : kDefaultDate, DateField), out, cap);
}

int FormatTime(const SystemTime& st, const char16_t* picture, char16_t* out, int cap) {
    if (!calendar::ValidTimeOfDay(st)) return 0;
    return Emit(Expand(st, picture ? picture : kDefaultTime, TimeField), out, cap);
}

NumberFormat UserNumberFormat() {
    return NumberFormat{};
}
CurrencyFormat UserCurrencyFormat() {
    return CurrencyFormat{};
}

namespace {

// A parsed plain decimal text.
struct Decimal {
    bool negative = false;
    std::u16string whole;    // integer digits without leading zeros ("" for zero)
    std::u16string fraction; // fraction digits
};

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool Parse(const char16_t* text, Decimal& d) {
    if (!text) return false;
    const char16_t* p = text;
    if (*p == u'-') {
        d.negative = true;
        ++p;
    }
    while (IsDigit(*p))
        d.whole += *p++;
    if (*p == u'.') {
        ++p;
        while (IsDigit(*p))
            d.fraction += *p++;
    }
    if (*p || (d.whole.empty() && d.fraction.empty())) return false;
    d.whole.erase(0, d.whole.find_first_not_of(u'0'));
    return true;
}

// Rounds half away from zero at the given decimals, on the digits themselves.
void Round(Decimal& d, int decimals) {
    if (static_cast<int>(d.fraction.size()) <= decimals) {
        d.fraction.append(static_cast<size_t>(decimals) - d.fraction.size(), u'0');
        return;
    }
    const bool up = d.fraction[static_cast<size_t>(decimals)] >= u'5';
    d.fraction.resize(static_cast<size_t>(decimals));
    if (!up) return;
    std::u16string digits = d.whole + d.fraction;
    int i = static_cast<int>(digits.size()) - 1;
    for (; i >= 0 && digits[static_cast<size_t>(i)] == u'9'; --i)
        digits[static_cast<size_t>(i)] = u'0';
    if (i >= 0)
        ++digits[static_cast<size_t>(i)];
    else
        digits = u'1' + digits;
    const size_t wholeLen = digits.size() - d.fraction.size();
    d.whole = digits.substr(0, wholeLen);
    d.fraction = digits.substr(wholeLen);
}

bool IsZero(const Decimal& d) {
    return d.whole.empty() && d.fraction.find_first_not_of(u'0') == std::u16string::npos;
}

// The unsigned number text: grouped whole part, separator and decimals.
std::u16string Magnitude(const Decimal& d, const NumberFormat& fmt) {
    std::u16string whole = d.whole;
    if (whole.empty() && fmt.leadingZero) whole.push_back(u'0');
    std::u16string out;
    const std::u16string thousand = fmt.thousandSep ? fmt.thousandSep : u"";
    for (size_t i = 0; i < whole.size(); ++i) {
        const size_t left = whole.size() - i;
        if (i > 0 && fmt.grouping > 0 && left % static_cast<size_t>(fmt.grouping) == 0)
            out += thousand;
        out += whole[i];
    }
    if (fmt.decimals > 0) {
        out += fmt.decimalSep ? fmt.decimalSep : u"";
        out += d.fraction;
    }
    return out;
}

// Fills a pattern: 'n' is the number, '$' the currency symbol, anything else as it stands.
std::u16string Fill(const char16_t* pattern, const std::u16string& number,
                    const std::u16string& symbol) {
    std::u16string out;
    for (const char16_t* p = pattern; *p; ++p) {
        if (*p == u'n')
            out += number;
        else if (*p == u'$')
            out += symbol;
        else
            out += *p;
    }
    return out;
}

constexpr const char16_t* kNegativeNumber[] = {u"(n)", u"-n", u"- n", u"n-", u"n -"};
constexpr const char16_t* kPositiveCurrency[] = {u"$n", u"n$", u"$ n", u"n $"};
constexpr const char16_t* kNegativeCurrency[] = {
    u"($n)", u"-$n",  u"$-n",  u"$n-",  u"(n$)", u"-n$",  u"n-$",   u"n$-",
    u"-n $", u"-$ n", u"n $-", u"$ n-", u"$ -n", u"n- $", u"($ n)", u"(n $)"};

template <size_t N> const char16_t* Pick(const char16_t* const (&table)[N], int index) {
    return index >= 0 && static_cast<size_t>(index) < N ? table[index] : nullptr;
}

// Parses and rounds; a value that rounds to zero is shown without its sign.
bool Prepare(const char16_t* plain, const NumberFormat& fmt, Decimal& d) {
    if (fmt.decimals < 0 || fmt.decimals > 9 || fmt.grouping < 0 || !Parse(plain, d)) return false;
    Round(d, fmt.decimals);
    if (IsZero(d)) d.negative = false;
    return true;
}

} // namespace

int FormatNumber(const char16_t* plain, const NumberFormat& fmt, char16_t* out, int cap) {
    Decimal d;
    const char16_t* negative = Pick(kNegativeNumber, fmt.negativeOrder);
    if (!negative || !Prepare(plain, fmt, d)) return 0;
    const std::u16string number = Magnitude(d, fmt);
    return Emit(d.negative ? Fill(negative, number, u"") : number, out, cap);
}

int FormatCurrency(const char16_t* plain, const CurrencyFormat& fmt, char16_t* out, int cap) {
    Decimal d;
    const char16_t* positive = Pick(kPositiveCurrency, fmt.positiveOrder);
    const char16_t* negative = Pick(kNegativeCurrency, fmt.negativeCurrencyOrder);
    if (!positive || !negative || !Prepare(plain, fmt, d)) return 0;
    const std::u16string symbol = fmt.symbol ? fmt.symbol : u"";
    return Emit(Fill(d.negative ? negative : positive, Magnitude(d, fmt), symbol), out, cap);
}

} // namespace platform
