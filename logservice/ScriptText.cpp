#include "logservice/ScriptText.h"

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

} // namespace script
