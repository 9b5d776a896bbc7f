#include "logservice/ScriptText.h"

#include <cstdio>

#include "platform/Text.h"

namespace script {

void CutTrailing(std::string& line) {
    size_t end = line.size();
    while (end > 0 && static_cast<unsigned char>(line[end - 1]) <= 32)
        --end;
    line.resize(end);
}

bool NextToken(const char*& cursor, std::string& word) {
    word.clear();
    while (*cursor == ' ')
        ++cursor;
    bool quoted = false;
    while (*cursor != '\0' && (quoted || *cursor != ' ')) {
        if (*cursor == '"') {
            if (cursor[1] == '"') {
                word += '"';
                cursor += 2;
            } else {
                quoted = !quoted;
                ++cursor;
            }
            continue;
        }
        word += *cursor++;
    }
    return !word.empty();
}

std::string FormatMessage(const char* format, va_list args) {
    char text[kMessageMax + 1];
    std::vsnprintf(text, sizeof text, format, args);
    return text;
}

std::string FormatMessageWide(const char16_t* format, va_list args) {
    char16_t wide[kMessageMax + 1];
    platform::VFormatWide(wide, kMessageMax + 1, format, args);
    char text[kMessageMax + 1];
    platform::WideToMultiByte(wide, text, sizeof text);
    return text;
}

} // namespace script
