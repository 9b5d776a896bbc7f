#include "extract/ConfigLayout.h"

#include <charconv>
#include <cstdio>
#include <limits>
#include <string_view>

const std::array<KindLayout, kKindCount> kKinds = {{
    {SectionKind::Port, "Port", "Port%02d", "\n  Ports ", "Port", "Ports"},
    {SectionKind::Grade, "Grade", "Grade%02d", "\n  Grades ", "Grade", "Grades"},
    {SectionKind::Tank, "Tank", "Tank%02d", "\n  Tanks ", "Tank", "Tanks"},
    {SectionKind::ZigBee, "ZigBee", "ZigBee%02d", "\n  ZigBee devices", "ZigBee device",
     "ZigBee devices"},
    {SectionKind::Pump, "Pump", "Pump%02d", "\n  Pumps ", "Pump", "Pumps"},
    {SectionKind::Sensor, "Sensor", "Sensor%02d", "\n  Sensors ", "Sensor", "Sensors"},
    {SectionKind::Attendant, "Attendant", "Attendant%02d", "\n  Attendants ", "Attendant",
     "Attendants"},
    {SectionKind::Product, "Product", "Product%03d", "\n  Products ", "Product", "Products"},
    {SectionKind::Client, "Client", "Client%03d", "\n  Cards ", "Card", "Cards"},
}};

const std::array<SectionKind, kKindCount> kImportSummaryOrder = {
    SectionKind::Port,    SectionKind::Grade,     SectionKind::Tank,
    SectionKind::ZigBee,  SectionKind::Pump,      SectionKind::Sensor,
    SectionKind::Product, SectionKind::Attendant, SectionKind::Client};

std::string SectionName(SectionKind kind, int32_t id) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, LayoutOf(kind).sectionFormat, id);
    return buffer;
}

int32_t SectionNumber(const CStr& name) {
    int64_t number = 0;
    for (int i = 1; i <= name.Length(); ++i) {
        const char16_t c = name.At(i);
        if (c < u'0' || c > u'9') continue;
        number = number * 10 + (c - u'0');
        if (number > std::numeric_limits<int32_t>::max()) return 0; // no entity has such an ID
    }
    return static_cast<int32_t>(number);
}

bool FindKind(const CStr& name, SectionKind& kind) {
    const std::string_view text = name.IsNull() ? "" : name.Narrow();
    for (const KindLayout& row : kKinds) {
        if (text.find(row.text) != std::string_view::npos) {
            kind = row.kind;
            return true;
        }
    }
    return false;
}

std::string FormatInt(int64_t value) {
    return std::to_string(value);
}

// to_chars formats as printf does in the "C" locale, whatever locale the process has set.
std::string FormatReal(double value, int places) {
    char buffer[400]; // room for the largest double in fixed notation
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, places);
    if (result.ec != std::errc()) return "0";
    return std::string(buffer, result.ptr);
}

std::string FormatHex4(int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%04X", static_cast<unsigned>(value));
    return buffer;
}

std::string FormatHex64(int64_t value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%016llX", static_cast<unsigned long long>(value));
    return buffer;
}

std::string ChannelList(int32_t mask) {
    constexpr int kFirstChannel = 11;
    constexpr int kLastChannel = 26;
    std::string list;
    for (int k = kFirstChannel; k <= kLastChannel; ++k) {
        if ((static_cast<uint32_t>(mask) >> k) & 1u) {
            list += list.empty() ? ' ' : ',';
            list += std::to_string(k);
        }
    }
    return list;
}

std::string HoseKey(const char* format, int32_t hose) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, format, hose);
    return buffer;
}

CStr OneLine(const CStr& value) {
    const int n = value.Length();
    const char16_t* text = value.Wide();
    if (value.IsNull() ||
        std::u16string_view(text, n).find_first_of(u"\r\n") == std::u16string_view::npos)
        return value;
    std::u16string line(text, n);
    for (char16_t& c : line) {
        if (c == u'\r' || c == u'\n') c = u' ';
    }
    return CStr(line.c_str(), n);
}

std::string GradePriceKey(int level) {
    char key[16];
    std::snprintf(key, sizeof key, "Price%02d", level);
    return key;
}
