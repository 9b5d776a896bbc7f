// ConfigLayout: the layout of the configuration file shared by the export and the import: the
// entity kinds with their section-name formats, console words and texts, the recognition of a
// section name, and the value formats (always with a point as decimal separator).
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "common/CStr.h"

// Entity kinds, in the order in which the import looks for their texts in a section name.
enum class SectionKind { Port, Grade, Tank, ZigBee, Pump, Sensor, Attendant, Product, Client };
constexpr int kKindCount = 9;

struct KindLayout {
    SectionKind kind;
    const char* text;          // marks the kind in a section name (case-sensitive)
    const char* sectionFormat; // section name from the entity's ID
    const char* importHeader;  // printed when the import reaches a section of this kind
    const char* singular;      // word of the import summary for a count of 1
    const char* plural;        // word for any other count
};

// Recognition order; the row of a kind is kKinds[static_cast<int>(kind)].
extern const std::array<KindLayout, kKindCount> kKinds;
// Order of the import summaries.
extern const std::array<SectionKind, kKindCount> kImportSummaryOrder;

inline const KindLayout& LayoutOf(SectionKind kind) {
    return kKinds[static_cast<int>(kind)];
}

// Section name of the entity with this ID ("Pump07", "Client100").
std::string SectionName(SectionKind kind, int32_t id);

// All decimal digits of the name in order as one number ("A1B2" gives 12); 0 when there are
// none, when they make 0, or when they exceed the 32-bit ID range.
int32_t SectionNumber(const CStr& name);
// The first kind whose text occurs in the name; false when none does.
bool FindKind(const CStr& name, SectionKind& kind);

// Value formats of the file.
std::string FormatInt(int64_t value);             // "%d"
std::string FormatReal(double value, int places); // "%.<places>f", always with a point
std::string FormatHex4(int32_t value);            // "0x%04X"
std::string FormatHex64(int64_t value);           // "0x%016llX": 16 upper-case hex digits
// Radio channels 11 to 26 of the mask: " 11,15,20" for bits 11, 15, 20; "" for none.
std::string ChannelList(int32_t mask);
// Key name with the hose number in it ("Hose%dPrice1" with 2 gives "Hose2Price1").
std::string HoseKey(const char* format, int32_t hose);
