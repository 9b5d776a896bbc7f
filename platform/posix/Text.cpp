// Windows-1252 narrow/wide conversion and a wide printf with the Windows run-time's %s rules.
#include "platform/Text.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace platform {

namespace {

// Bytes 0x80-0x9F of Windows-1252. The five bytes the code page leaves unassigned (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) stand for the control characters of the same code, as on Windows, so that
// every byte comes back unchanged.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

} // namespace

char16_t NarrowToWideChar(char c) {
    const unsigned char b = static_cast<unsigned char>(c);
    return b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : static_cast<char16_t>(b);
}

char WideToNarrowChar(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == c) return static_cast<char>(0x80 + i);
    }
    return '?';
}

int MultiByteToWide(const char* text, int n, char16_t* out, int cap) {
    if (!text || !out || cap <= 0) return 0;
    if (n < 0) n = static_cast<int>(std::strlen(text)); // up to the terminator
    const int count = n < cap ? n : cap;
    for (int i = 0; i < count; ++i)
        out[i] = NarrowToWideChar(text[i]);
    return count;
}

int WideToMultiByte(const char16_t* text, char* out, int cap) {
    if (!out || cap <= 0) return 0;
    int i = 0;
    for (; text && text[i] && i < cap - 1; ++i)
        out[i] = WideToNarrowChar(text[i]);
    out[i] = 0;
    return i;
}

char16_t ToUpperChar(char16_t c) {
    return c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c;
}

namespace {

// Collects output up to cap - 1 units.
class WideSink {
  public:
    WideSink(char16_t* out, size_t cap) : m_out(out), m_cap(cap) {}
    void Put(char16_t c) {
        if (m_out && m_len + 1 < m_cap) m_out[m_len++] = c;
    }
    void PutNarrow(const char* s) {
        while (*s)
            Put(NarrowToWideChar(*s++));
    }
    int Finish() {
        if (m_out && m_cap > 0) m_out[m_len] = 0;
        return static_cast<int>(m_len);
    }

  private:
    char16_t* m_out;
    size_t m_cap;
    size_t m_len = 0; // units written
};

enum class Length { None, Char, Short, Long, LongLong, LongDouble, Size, IntMax, PtrDiff };

// One conversion of the format (flags, width, precision, length, type), as parsed.
struct Conversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    Length length = Length::None;
    bool narrowText = false; // %hs, %S, %hc, %C: the argument is narrow
    bool wideText = false;   // %ls, %ws, %lc: the argument is wide
    char type = 0;
};

const char16_t* ParseNumber(const char16_t* p, int& value) {
    value = 0;
    while (*p >= u'0' && *p <= u'9') {
        if (value < 100000) value = value * 10 + (*p - u'0');
        ++p;
    }
    return p;
}

const char16_t* ParseLength(const char16_t* p, Conversion& conv) {
    switch (*p) {
    case u'h':
        if (p[1] == u'h') {
            conv.length = Length::Char;
            return p + 2;
        }
        conv.length = Length::Short;
        conv.narrowText = true;
        return p + 1;
    case u'l':
        if (p[1] == u'l') {
            conv.length = Length::LongLong;
            return p + 2;
        }
        conv.length = Length::Long;
        conv.wideText = true;
        return p + 1;
    case u'w':
        conv.wideText = true;
        return p + 1;
    case u'L':
        conv.length = Length::LongDouble;
        return p + 1;
    case u'q':
        conv.length = Length::LongLong;
        return p + 1;
    case u'z':
        conv.length = Length::Size;
        return p + 1;
    case u'j':
        conv.length = Length::IntMax;
        return p + 1;
    case u't':
        conv.length = Length::PtrDiff;
        return p + 1;
    case u'I':
        if (p[1] == u'6' && p[2] == u'4') {
            conv.length = Length::LongLong;
            return p + 3;
        }
        if (p[1] == u'3' && p[2] == u'2') return p + 3;
        conv.length = Length::Size;
        return p + 1;
    default:
        return p;
    }
}

// Parses from just behind the '%'; null when the conversion character is missing or unknown.
const char16_t* ParseConversion(const char16_t* p, Conversion& conv, va_list* args) {
    while (*p && *p < 0x80 && std::strchr("-+ #0", static_cast<char>(*p)))
        conv.flags += static_cast<char>(*p++);
    if (*p == u'*') {
        conv.width = va_arg(*args, int);
        if (conv.width < 0) {
            conv.flags += '-';
            conv.width = -conv.width;
        }
        ++p;
    } else if (*p >= u'0' && *p <= u'9') {
        p = ParseNumber(p, conv.width);
    }
    if (*p == u'.') {
        ++p;
        if (*p == u'*') {
            conv.precision = va_arg(*args, int);
            if (conv.precision < 0) conv.precision = -1;
            ++p;
        } else {
            p = ParseNumber(p, conv.precision);
        }
    }
    p = ParseLength(p, conv);
    if (!*p || *p >= 0x80 || !std::strchr("diouxXfFeEgGaApcsSCn%", static_cast<char>(*p)))
        return nullptr;
    conv.type = static_cast<char>(*p);
    return p + 1;
}

char16_t ToWide(char16_t c) {
    return c;
}
char16_t ToWide(char c) {
    return NarrowToWideChar(c);
}

// Text conversions: precision limits the units taken, width pads with blanks.
template <typename Unit>
void PutText(WideSink& sink, const Conversion& conv, const Unit* text, size_t available) {
    size_t n = 0;
    const size_t limit = conv.precision >= 0 ? static_cast<size_t>(conv.precision) : available;
    while (n < limit && n < available && text[n])
        ++n;
    const bool left = conv.flags.find('-') != std::string::npos;
    const size_t width = conv.width > 0 ? static_cast<size_t>(conv.width) : 0;
    const size_t pad = width > n ? width - n : 0;
    if (!left)
        for (size_t i = 0; i < pad; ++i)
            sink.Put(u' ');
    for (size_t i = 0; i < n; ++i)
        sink.Put(ToWide(text[i]));
    if (left)
        for (size_t i = 0; i < pad; ++i)
            sink.Put(u' ');
}

void PutString(WideSink& sink, const Conversion& conv, va_list* args) {
    const bool narrow = conv.type == 'S' ? !conv.wideText : conv.narrowText;
    if (narrow) {
        const char* s = va_arg(*args, const char*);
        const char* text = s ? s : "(null)";
        PutText(sink, conv, text, SIZE_MAX);
    } else {
        const char16_t* s = va_arg(*args, const char16_t*);
        PutText(sink, conv, s ? s : u"(null)", SIZE_MAX);
    }
}

void PutChar(WideSink& sink, const Conversion& conv, va_list* args) {
    const bool narrow = conv.type == 'C' ? !conv.wideText : conv.narrowText;
    const int value = va_arg(*args, int);
    const char16_t c =
        narrow ? NarrowToWideChar(static_cast<char>(value)) : static_cast<char16_t>(value);
    Conversion one = conv;
    one.precision = -1;
    PutText(sink, one, &c, 1);
}

// Numbers are formatted by the C library, one conversion at a time.
void PutNumber(WideSink& sink, const Conversion& conv, va_list* args) {
    std::string fmt = "%" + conv.flags;
    if (conv.width >= 0) fmt += std::to_string(conv.width);
    if (conv.precision >= 0) fmt += "." + std::to_string(conv.precision);
    const bool isSigned = conv.type == 'd' || conv.type == 'i';
    const bool isFloat = std::strchr("fFeEgGaA", conv.type) != nullptr;
    char buf[512];
    if (conv.type == 'p') {
        std::snprintf(buf, sizeof buf, (fmt + "p").c_str(), va_arg(*args, void*));
    } else if (isFloat) {
        if (conv.length == Length::LongDouble)
            std::snprintf(buf, sizeof buf, (fmt + "L" + conv.type).c_str(),
                          va_arg(*args, long double));
        else
            std::snprintf(buf, sizeof buf, (fmt + conv.type).c_str(), va_arg(*args, double));
    } else {
        long long s = 0;
        unsigned long long u = 0;
        switch (conv.length) {
        case Length::Long:
            s = isSigned ? va_arg(*args, long) : 0;
            u = isSigned ? 0 : va_arg(*args, unsigned long);
            break;
        case Length::LongLong:
            s = isSigned ? va_arg(*args, long long) : 0;
            u = isSigned ? 0 : va_arg(*args, unsigned long long);
            break;
        case Length::Size:
            s = isSigned ? static_cast<long long>(va_arg(*args, ptrdiff_t)) : 0;
            u = isSigned ? 0 : va_arg(*args, size_t);
            break;
        case Length::IntMax:
            s = isSigned ? va_arg(*args, intmax_t) : 0;
            u = isSigned ? 0 : va_arg(*args, uintmax_t);
            break;
        case Length::PtrDiff:
            s = isSigned ? va_arg(*args, ptrdiff_t) : 0;
            u = isSigned ? 0 : static_cast<unsigned long long>(va_arg(*args, ptrdiff_t));
            break;
        default: {
            const int i = isSigned ? va_arg(*args, int) : 0;
            const unsigned v = isSigned ? 0 : va_arg(*args, unsigned);
            s = conv.length == Length::Short  ? static_cast<short>(i)
                : conv.length == Length::Char ? static_cast<signed char>(i)
                                              : i;
            u = conv.length == Length::Short  ? static_cast<unsigned short>(v)
                : conv.length == Length::Char ? static_cast<unsigned char>(v)
                                              : v;
        }
        }
        if (isSigned)
            std::snprintf(buf, sizeof buf, (fmt + "ll" + conv.type).c_str(), s);
        else
            std::snprintf(buf, sizeof buf, (fmt + "ll" + conv.type).c_str(), u);
    }
    sink.PutNarrow(buf);
}

} // namespace

int VFormatWide(char16_t* out, size_t cap, const char16_t* format, va_list args) {
    WideSink sink(out, cap);
    if (!format) return sink.Finish();
    va_list ap;
    va_copy(ap, args);
    const char16_t* p = format;
    while (*p) {
        if (*p != u'%') {
            sink.Put(*p++);
            continue;
        }
        Conversion conv;
        const char16_t* next = ParseConversion(p + 1, conv, &ap);
        if (!next) { // not a conversion: copied as it stands
            sink.Put(*p++);
            continue;
        }
        p = next;
        switch (conv.type) {
        case '%':
            sink.Put(u'%');
            break;
        case 's':
        case 'S':
            PutString(sink, conv, &ap);
            break;
        case 'c':
        case 'C':
            PutChar(sink, conv, &ap);
            break;
        case 'n': // never written through: the argument is consumed only
            (void)va_arg(ap, int*);
            break;
        default:
            PutNumber(sink, conv, &ap);
        }
    }
    va_end(ap);
    return sink.Finish();
}

} // namespace platform
