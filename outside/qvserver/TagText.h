// Card and attendant tags are kept as the text a tag reader shows, hexadecimal digits
// ("77100003"), and travel as numbers in events and deliveries: the two forms of one tag, so
// that a screen showing a tag in hexadecimal shows the text the site was set up with.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "outside/qvclient/QVWire.h"

namespace qvserver {

// The tag of a text of 1 to 16 hexadecimal digits; -1 for any other text (none, or not a tag).
inline int64_t TagNumber(const std::string& text) {
    if (text.empty() || text.size() > 16) return -1;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(text.c_str(), &end, 16);
    return *end == 0 && text.find_first_of("+- ") == std::string::npos ? static_cast<int64_t>(v)
                                                                       : -1;
}
inline int64_t TagNumber(const std::u16string& text) {
    return TagNumber(qvwire::ToU8(text));
}

// The text of a tag: upper-case hexadecimal digits, as the site's records hold it.
inline std::string TagText(int64_t tag) {
    char text[24];
    std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(tag));
    return text;
}

} // namespace qvserver
