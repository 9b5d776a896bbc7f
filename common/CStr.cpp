#include "common/CStr.h"

#include <array>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/Resources.h"
#include "platform/Text.h"

namespace {

// Strings live in several threads (the log writer among them), so the counter is atomic.
std::atomic<long> s_live{0};

const char16_t kNullWide[] = u"<null>";
const char16_t kZero = 0; // what At() hands out for positions outside the string

constexpr int kGrowStep = 32;
constexpr int kFormatUnits = 1024;
constexpr int kResourceUnits = 288; // 287 characters and the terminator

// Slots for n characters, in steps of 32 (length slot and terminator included).
int SlotsFor(int n) {
    return (((n + 1) / kGrowStep) + 1) * kGrowStep;
}

int NarrowLength(const char* text) {
    size_t n = std::strlen(text);
    return n > static_cast<size_t>(CStr::kMaxLength) ? CStr::kMaxLength + 1 : static_cast<int>(n);
}

int WideLength(const char16_t* text) {
    int n = 0;
    while (text[n] != 0 && n <= CStr::kMaxLength)
        ++n;
    return n;
}

// Case folding: a-z and the accented Latin-1 letters below, 32 codes apart.
struct CaseRange {
    char16_t lower;
    char16_t lowerLast;
};
constexpr CaseRange kCaseRanges[] = {
    {u'a', u'z'}, {224, 227}, {231, 234}, {236, 238}, {241, 245}, {249, 252},
};
constexpr char16_t kCaseDistance = 32;

char16_t FoldUpper(char16_t c) {
    for (const CaseRange& r : kCaseRanges)
        if (c >= r.lower && c <= r.lowerLast) return c - kCaseDistance;
    return c;
}

char16_t FoldLower(char16_t c) {
    for (const CaseRange& r : kCaseRanges)
        if (c >= r.lower - kCaseDistance && c <= r.lowerLast - kCaseDistance)
            return c + kCaseDistance;
    return c;
}

// Accent folding: Latin-1 and DOS code page 850 codes of accented letters (0 ends a row).
struct AccentRow {
    char16_t plain;
    std::array<uint8_t, 7> codes;
};
constexpr AccentRow kAccentRows[] = {
    {u'C', {128, 199}},           {u'c', {135, 231}},
    {u'E', {144, 200, 201, 202}}, {u'e', {130, 136, 138, 232, 233, 234}},
    {u'A', {192, 193, 194, 195}}, {u'a', {131, 133, 160, 224, 225, 226, 227}},
    {u'I', {204, 205, 206}},      {u'i', {140, 141, 161, 236, 237, 238}},
    {u'O', {210, 211, 212, 213}}, {u'o', {147, 149, 162, 242, 243, 244, 245}},
    {u'U', {217, 218, 219, 220}}, {u'u', {150, 151, 163, 249, 250, 251, 252}},
    {u'N', {165, 209}},           {u'n', {164, 241}},
};

constexpr std::array<char16_t, 256> BuildAccentMap() {
    std::array<char16_t, 256> map{};
    for (int c = 0; c < 256; ++c)
        map[c] = static_cast<char16_t>(c);
    for (const AccentRow& row : kAccentRows)
        for (uint8_t code : row.codes)
            if (code != 0) map[code] = row.plain;
    return map;
}
constexpr std::array<char16_t, 256> kAccentMap = BuildAccentMap();

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

int HexDigit(char16_t c) {
    if (IsDigit(c)) return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

// Integer scan shared by ToInt and ToInt64; unsigned arithmetic so overflow wraps.
template <class U> U ScanInteger(const char16_t* s, int n, bool& minus) {
    U value = 0;
    minus = false;
    for (int i = 0; i < n; ++i) {
        char16_t c = s[i];
        if (c == u' ' || c == u',') continue;
        if (c == u'+') {
            minus = false;
        } else if (c == u'-') {
            minus = true;
        } else if (IsDigit(c)) {
            value = value * 10 + static_cast<U>(c - u'0');
        } else {
            break;
        }
    }
    return value;
}

} // namespace

// --- construction -------------------------------------------------------------------------

CStr::CStr() {
    ++s_live;
}

CStr::CStr(const char* text) : CStr() {
    if (text) AssignBytes(text, NarrowLength(text));
}

CStr::CStr(const char* bytes, int count) : CStr() {
    if (!bytes) return;
    if (count < 0) count = 0;
    if (!Reserve(count, false)) return;
    std::memset(m_wide + 1, 0, sizeof(char16_t) * count);
    platform::MultiByteToWide(bytes, count, m_wide + 1, count);
    SetLength(count);
}

CStr::CStr(const char16_t* text) : CStr() {
    if (text) Assign(text, WideLength(text));
}

CStr::CStr(const char16_t* text, int count) : CStr() {
    if (text) Assign(text, count < 0 ? 0 : count);
}

CStr::CStr(const CStr& other) : CStr() {
    if (other.m_wide) Assign(other.m_wide + 1, other.Length());
}

CStr& CStr::operator=(const CStr& other) {
    if (this == &other) return *this;
    if (other.m_wide)
        Assign(other.m_wide + 1, other.Length());
    else
        Clear();
    return *this;
}

CStr& CStr::operator=(const char* text) {
    if (text)
        AssignBytes(text, NarrowLength(text));
    else
        Clear();
    return *this;
}

CStr& CStr::operator=(const char16_t* text) {
    if (text)
        Assign(text, WideLength(text));
    else
        Clear();
    return *this;
}

CStr::~CStr() {
    Clear();
    --s_live;
}

long CStr::LiveCount() {
    return s_live;
}

bool CStr::LoadString(unsigned id) {
    char16_t buffer[kResourceUnits];
    int n = platform::LoadString(id, buffer, kResourceUnits);
    if (n < 0) n = 0;
    Assign(buffer, n);
    return n != 0;
}

CStr& CStr::Format(const char* format, ...) {
    if (!format) return *this;
    char buffer[kFormatUnits];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0) n = 0;
    if (n >= kFormatUnits) n = kFormatUnits - 1;
    AssignBytes(buffer, n);
    return *this;
}

CStr& CStr::Format(const char16_t* format, ...) {
    if (!format) return *this;
    char16_t buffer[kFormatUnits];
    va_list args;
    va_start(args, format);
    int n = platform::VFormatWide(buffer, kFormatUnits, format, args);
    va_end(args);
    if (n < 0) n = 0;
    if (n >= kFormatUnits) n = kFormatUnits - 1;
    Assign(buffer, n);
    return *this;
}

void CStr::Clear() {
    delete[] m_wide;
    m_wide = nullptr;
    m_capacity = 0;
    delete[] m_narrow;
    m_narrow = nullptr;
    m_narrowCapacity = 0;
}

// --- storage ------------------------------------------------------------------------------

bool CStr::Reserve(int n, bool keep) {
    if (n < 0 || n > kMaxLength) return false;
    if (m_wide && m_capacity >= n + 2) return true;
    int slots = SlotsFor(n);
    char16_t* grown = new char16_t[slots];
    if (keep && m_wide) {
        std::memcpy(grown, m_wide, sizeof(char16_t) * (Length() + 2));
    } else {
        grown[0] = 0;
        grown[1] = 0;
    }
    delete[] m_wide;
    m_wide = grown;
    m_capacity = slots;
    return true;
}

void CStr::SetLength(int n) {
    m_wide[0] = static_cast<char16_t>(n);
    m_wide[n + 1] = 0;
}

void CStr::Assign(const char16_t* text, int n) {
    if (n > kMaxLength) return;
    bool aliased = m_wide && text >= m_wide && text < m_wide + m_capacity;
    if (aliased) {
        // The source lives in this buffer: shift it down in place (n never grows here).
        std::memmove(m_wide + 1, text, sizeof(char16_t) * n);
        SetLength(n);
        return;
    }
    if (!Reserve(n, false)) return;
    std::memcpy(m_wide + 1, text, sizeof(char16_t) * n);
    SetLength(n);
}

void CStr::AssignBytes(const char* text, int n) {
    if (!Reserve(n, false)) return;
    for (int i = 0; i < n; ++i)
        m_wide[i + 1] = platform::NarrowToWideChar(text[i]);
    SetLength(n);
}

// --- access -------------------------------------------------------------------------------

int16_t CStr::Length() const {
    return m_wide ? static_cast<int16_t>(m_wide[0]) : 0;
}

const char* CStr::Narrow() const {
    if (!m_wide) return "<null>";
    int n = Length();
    if (n == 0) return "";
    if (m_narrowCapacity < n + 1) {
        int bytes = SlotsFor(n);
        char* grown = new char[bytes];
        delete[] m_narrow;
        m_narrow = grown;
        m_narrowCapacity = bytes;
    }
    for (int i = 0; i < n; ++i)
        m_narrow[i] = platform::WideToNarrowChar(m_wide[i + 1]);
    m_narrow[n] = 0;
    return m_narrow;
}

const char16_t* CStr::Wide() const {
    return m_wide ? m_wide + 1 : kNullWide;
}

const char16_t& CStr::At(int pos) const {
    if (pos < 1 || pos > Length()) return kZero;
    return m_wide[pos];
}

int CStr::Find(const CStr& sub, int start) const {
    int n = Length();
    int m = sub.Length();
    if (!m_wide || m == 0) return 0;
    if (start < 1) start = 1;
    for (int pos = start; pos + m - 1 <= n; ++pos)
        if (std::memcmp(m_wide + pos, sub.m_wide + 1, sizeof(char16_t) * m) == 0) return pos;
    return 0;
}

int CStr::CompareNoCase(const CStr& other) const {
    int n = Length();
    int m = other.Length();
    for (int i = 1; i <= n && i <= m; ++i) {
        char16_t a = platform::ToUpperChar(m_wide[i]);
        char16_t b = platform::ToUpperChar(other.m_wide[i]);
        if (a != b) return a < b ? -1 : 1;
    }
    return n == m ? 0 : (n < m ? -1 : 1);
}

int CStr::Compare(const char* text) const {
    if (!text) return -1;
    int n = Length();
    int i = 0;
    for (; i < n && text[i] != 0; ++i) {
        unsigned a = m_wide[i + 1];
        unsigned b = platform::NarrowToWideChar(text[i]);
        if (a != b) return a < b ? -1 : 1;
    }
    if (i < n) return 1;
    return text[i] != 0 ? -1 : 0;
}

// --- changes ------------------------------------------------------------------------------

CStr& CStr::Append(const CStr& other) {
    int n = Length();
    int m = other.Length();
    if (m == 0 || n + m > kMaxLength) return *this;
    Reserve(n + m, true);
    // Read the source after growing: appending a string to itself sees the new buffer.
    std::memcpy(m_wide + n + 1, other.m_wide + 1, sizeof(char16_t) * m);
    SetLength(n + m);
    return *this;
}

CStr& CStr::Append(const char* text) {
    if (!text || text[0] == 0) return *this;
    int n = Length();
    int m = NarrowLength(text);
    if (n + m > kMaxLength) return *this;
    Reserve(n + m, true);
    for (int i = 0; i < m; ++i)
        m_wide[n + 1 + i] = platform::NarrowToWideChar(text[i]);
    SetLength(n + m);
    return *this;
}

CStr& CStr::Append(char16_t c) {
    int n = Length();
    if (n + 1 > kMaxLength) return *this;
    Reserve(n + 1, true);
    m_wide[n + 1] = c;
    SetLength(n + 1);
    return *this;
}

CStr& CStr::Mid(int start, int count) {
    if (!m_wide) return *this;
    int n = Length();
    if (start < 1) start = 1;
    int available = start <= n ? n - start + 1 : 0;
    if (count > available) count = available;
    if (count < 0) count = 0;
    if (count > 0) std::memmove(m_wide + 1, m_wide + start, sizeof(char16_t) * count);
    SetLength(count);
    return *this;
}

CStr& CStr::PadRight(int length, char16_t c) {
    int n = Length();
    if (length <= n || !Reserve(length, true)) return *this;
    for (int i = n + 1; i <= length; ++i)
        m_wide[i] = c;
    SetLength(length);
    return *this;
}

CStr& CStr::PadLeft(int length, char16_t c) {
    int n = Length();
    if (length <= n || !Reserve(length, true)) return *this;
    int fill = length - n;
    std::memmove(m_wide + 1 + fill, m_wide + 1, sizeof(char16_t) * n);
    for (int i = 1; i <= fill; ++i)
        m_wide[i] = c;
    SetLength(length);
    return *this;
}

CStr& CStr::Fill(int length, char16_t c) {
    if (length < 0) length = 0;
    if (!Reserve(length, false)) return *this;
    for (int i = 1; i <= length; ++i)
        m_wide[i] = c;
    SetLength(length);
    return *this;
}

CStr& CStr::TrimLeft() {
    int n = Length();
    int skip = 0;
    while (skip < n && m_wide[skip + 1] == u' ')
        ++skip;
    if (skip > 0) Mid(skip + 1, n - skip);
    return *this;
}

CStr& CStr::TrimRight() {
    int n = Length();
    while (n > 0 && m_wide[n] == u' ')
        --n;
    if (n != Length()) SetLength(n);
    return *this;
}

CStr& CStr::RemoveChars(const char16_t* set) {
    if (!m_wide || !set || set[0] == 0) return *this;
    int n = Length();
    int kept = 0;
    for (int i = 1; i <= n; ++i) {
        char16_t c = m_wide[i];
        bool inSet = false;
        for (const char16_t* p = set; *p && !inSet; ++p)
            inSet = *p == c;
        if (!inSet) m_wide[++kept] = c;
    }
    SetLength(kept);
    return *this;
}

CStr& CStr::ToHex() {
    static const char16_t kDigits[] = u"0123456789ABCDEF";
    int n = Length();
    if (n == 0 || 2 * n > kMaxLength) return *this;
    Reserve(2 * n, true);
    // Back to front, so each character is read before its slot is overwritten.
    for (int i = n; i >= 1; --i) {
        unsigned low8 = m_wide[i] & 0xFF;
        m_wide[2 * i - 1] = kDigits[low8 >> 4];
        m_wide[2 * i] = kDigits[low8 & 0xF];
    }
    SetLength(2 * n);
    return *this;
}

CStr& CStr::MakeUpper() {
    for (int i = 1; i <= Length(); ++i)
        m_wide[i] = FoldUpper(m_wide[i]);
    return *this;
}

CStr& CStr::MakeLower() {
    for (int i = 1; i <= Length(); ++i)
        m_wide[i] = FoldLower(m_wide[i]);
    return *this;
}

CStr& CStr::RemoveAccents() {
    for (int i = 1; i <= Length(); ++i)
        if (m_wide[i] < kAccentMap.size()) m_wide[i] = kAccentMap[m_wide[i]];
    return *this;
}

// --- parsing ------------------------------------------------------------------------------

int32_t CStr::ToInt() const {
    bool minus = false;
    uint32_t value = m_wide ? ScanInteger<uint32_t>(m_wide + 1, Length(), minus) : 0;
    return static_cast<int32_t>(minus ? 0u - value : value);
}

int64_t CStr::ToInt64() const {
    bool minus = false;
    uint64_t value = m_wide ? ScanInteger<uint64_t>(m_wide + 1, Length(), minus) : 0;
    return static_cast<int64_t>(minus ? 0u - value : value);
}

double CStr::ToDouble() const {
    double value = 0.0;
    bool minus = false;
    bool fraction = false;
    double place = 1.0; // 10^k for the k-th fraction digit
    int n = Length();
    for (int i = 1; i <= n; ++i) {
        char16_t c = m_wide[i];
        if (c == u' ' || c == u',') continue;
        if (IsDigit(c)) {
            if (fraction) {
                place *= 10.0;
                value += (c - u'0') / place;
            } else {
                value = value * 10.0 + (c - u'0');
            }
        } else if (c == u'.') {
            if (fraction) break;
            fraction = true;
        } else if (c == u'+') {
            if (value > 0) break;
            minus = false;
        } else if (c == u'-') {
            if (value > 0 || minus) break;
            minus = true;
        } else {
            break;
        }
    }
    return minus ? -value : value;
}

uint64_t CStr::HexToInt64() const {
    int n = Length();
    int i = 1;
    while (i <= n &&
           (m_wide[i] == u' ' || m_wide[i] == u'0' || m_wide[i] == u'X' || m_wide[i] == u'x'))
        ++i;
    uint64_t value = 0;
    for (; i <= n; ++i) {
        int digit = HexDigit(m_wide[i]);
        if (digit < 0) break;
        value = value * 16 + static_cast<uint64_t>(digit);
    }
    return value;
}

uint64_t HexStrToInt64(const CStr& s) {
    uint64_t value = 0;
    for (int i = 1; i <= s.Length(); ++i) {
        char16_t c = s.At(i);
        bool letter = (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
        uint64_t digit = letter ? static_cast<uint64_t>(HexDigit(c)) : uint64_t{c} - 48u;
        value = value * 16 + digit;
    }
    return value;
}
