// Find-first/find-next search of a directory by a name pattern ("\Hard Disk\*.txt"): '*'
// matches any run of characters, '?' any one character, and names are matched without regard
// to case, as on the board's file system; a pattern ending in ".*" also matches names without a
// dot ("*.*" matches every name). Names are read in the narrow code page of Text.h. Matches come
// in name order; "." and ".." never.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

struct FindData {
    std::u16string m_name; // the name of the match, without its directory
    bool m_directory = false;
};

using FindHandle = intptr_t;
constexpr FindHandle kInvalidFind = -1;

// The first match of pattern (a program path whose last part is the name pattern) into out;
// kInvalidFind when the directory cannot be read or nothing matches.
FindHandle FindFirstFile(std::u16string_view pattern, FindData& out);
// The next match into out; false when there is none left.
bool FindNextFile(FindHandle h, FindData& out);
void FindClose(FindHandle h);

// The match rule on its own: true when name fits pattern ('*', '?', ".*", case-insensitive).
bool MatchesPattern(std::u16string_view pattern, std::u16string_view name);

} // namespace platform
