// Encoding of message headers and typed value lists.
#include "outside/qvclient/QVWire.h"

#include <cstring>

namespace qvwire {

namespace {

void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint16_t Get16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Get32(const uint8_t* p) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}
uint64_t GetN(const uint8_t* p, int n) {
    uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

} // namespace

void EncodeHeader(const Header& h, uint8_t* out) {
    Put32(out, kMagic);
    out[4] = static_cast<uint8_t>(h.type);
    out[5] = kVersion;
    Put16(out + 6, h.op);
    Put32(out + 8, h.seq);
    Put32(out + 12, static_cast<uint32_t>(h.session));
    Put32(out + 16, static_cast<uint32_t>(h.result));
    Put16(out + 20, 0);
    Put16(out + 22, h.bodyLen);
}

bool DecodeHeader(const uint8_t* in, Header& h) {
    if (Get32(in) != kMagic || in[5] != kVersion) return false;
    if (in[4] > static_cast<uint8_t>(MsgType::Reply)) return false;
    h.type = static_cast<MsgType>(in[4]);
    h.op = Get16(in + 6);
    h.seq = Get32(in + 8);
    h.session = static_cast<int32_t>(Get32(in + 12));
    h.result = static_cast<int32_t>(Get32(in + 16));
    h.bodyLen = Get16(in + 22);
    return h.bodyLen <= kMaxBody;
}

void Writer::Raw(uint64_t v, int n) {
    for (int i = 0; i < n; ++i)
        m_bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void Writer::Put(const Value& v) {
    m_bytes.push_back(static_cast<uint8_t>(v.tag));
    switch (v.tag) {
    case Tag::I16:
        Raw(static_cast<uint64_t>(v.i), 2);
        break;
    case Tag::I32:
        Raw(static_cast<uint64_t>(v.i), 4);
        break;
    case Tag::I64:
        Raw(static_cast<uint64_t>(v.i), 8);
        break;
    case Tag::F64: {
        uint64_t bits;
        std::memcpy(&bits, &v.d, 8);
        Raw(bits, 8);
        break;
    }
    case Tag::Text: {
        // Texts longer than a body can hold are cut here; Overflow() then reports the body.
        const size_t n = v.s.size() > 0xFFFF ? 0xFFFF : v.s.size();
        Raw(n, 2);
        for (size_t i = 0; i < n; ++i)
            Raw(v.s[i], 2);
        break;
    }
    }
}

bool DecodeValues(const uint8_t* body, size_t len, Values& out) {
    out.clear();
    size_t pos = 0;
    auto need = [&](size_t n) { return len - pos >= n; };
    while (pos < len) {
        Value v;
        const uint8_t tag = body[pos++];
        switch (tag) {
        case 1:
            if (!need(2)) return false;
            v = Value::I16(static_cast<int16_t>(GetN(body + pos, 2)));
            pos += 2;
            break;
        case 2:
            if (!need(4)) return false;
            v = Value::I32(static_cast<int32_t>(GetN(body + pos, 4)));
            pos += 4;
            break;
        case 3:
            if (!need(8)) return false;
            v = Value::I64(static_cast<int64_t>(GetN(body + pos, 8)));
            pos += 8;
            break;
        case 4: {
            if (!need(8)) return false;
            const uint64_t bits = GetN(body + pos, 8);
            double d;
            std::memcpy(&d, &bits, 8);
            v = Value::F64(d);
            pos += 8;
            break;
        }
        case 5: {
            if (!need(2)) return false;
            const size_t n = Get16(body + pos);
            pos += 2;
            if (!need(2 * n)) return false;
            std::u16string s(n, u'\0');
            for (size_t i = 0; i < n; ++i)
                s[i] = static_cast<char16_t>(Get16(body + pos + 2 * i));
            pos += 2 * n;
            v = Value::Text(std::move(s));
            break;
        }
        default:
            return false;
        }
        out.push_back(std::move(v));
    }
    return true;
}

bool DecodeEvent(const uint8_t* body, size_t len, Values& event) {
    if (!DecodeValues(body, len, event) || event.empty() || event[0].tag != Tag::I16) return false;
    size_t i = 1;
    while (i < event.size()) {
        if (event.size() - i < 2 || event[i].tag != Tag::I16 || event[i + 1].tag != Tag::I16)
            return false;
        const int64_t n = event[i + 1].i;
        i += 2;
        if (n < 0 || static_cast<uint64_t>(n) > event.size() - i) return false;
        i += static_cast<size_t>(n);
    }
    return true;
}

bool EventSection(const Values& event, int16_t variant, Values& out) {
    size_t i = 1;
    while (i + 2 <= event.size()) {
        const int64_t n = event[i + 1].i;
        const bool found = event[i].i == variant;
        i += 2;
        if (n < 0 || static_cast<uint64_t>(n) > event.size() - i) return false;
        if (found) {
            out.assign(event.begin() + static_cast<long>(i),
                       event.begin() + static_cast<long>(i + static_cast<size_t>(n)));
            return true;
        }
        i += static_cast<size_t>(n);
    }
    return false;
}

char Letter(Tag t) {
    switch (t) {
    case Tag::I16:
        return 'h';
    case Tag::I32:
        return 'i';
    case Tag::I64:
        return 'l';
    case Tag::F64:
        return 'd';
    case Tag::Text:
        return 's';
    }
    return '?';
}

std::string SignatureOf(const Values& vs) {
    std::string sig;
    for (const Value& v : vs)
        sig += Letter(v.tag);
    return sig;
}

std::string_view OpName(uint16_t code) {
    if (code == 0 || code > kOperationNames.size()) return {};
    return kOperationNames[code - 1];
}

std::string FamilyName(std::string_view name) {
    size_t end = name.size();
    while (end > 0 && name[end - 1] >= '0' && name[end - 1] <= '9')
        --end;
    if (end >= 2 && name.substr(end - 2, 2) == "Ex") return std::string(name.substr(0, end - 2));
    return std::string(name);
}

std::u16string ToU16(std::string_view s) {
    std::u16string out;
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        uint32_t cp = '?';
        size_t n = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0 && i + 1 < s.size()) {
            cp = ((c & 0x1F) << 6) | (s[i + 1] & 0x3F);
            n = 2;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < s.size()) {
            cp = ((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
            n = 3;
        } else if ((c & 0xF8) == 0xF0 && i + 3 < s.size()) {
            cp = ((c & 0x07) << 18) | ((s[i + 1] & 0x3F) << 12) | ((s[i + 2] & 0x3F) << 6) |
                 (s[i + 3] & 0x3F);
            n = 4;
        }
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string ToU8(std::u16string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        uint32_t cp = s[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

} // namespace qvwire
