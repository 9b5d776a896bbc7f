#include "platform/FindFiles.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/Paths.h"
#include "platform/Text.h"

namespace platform {

namespace {

// One search: the matches found when it began, handed out in order.
struct Search {
    std::vector<FindData> matches;
    size_t next = 0;
};

char16_t Fold(char16_t c) {
    return ToUpperChar(c);
}

// A name on the disk in the narrow code page, as every other conversion reads it, so that the
// match's name maps back to the same file.
std::u16string FromNative(const char* name) {
    std::u16string out;
    for (const char* p = name; *p != '\0'; ++p)
        out += NarrowToWideChar(*p);
    return out;
}

bool MatchesPlain(std::u16string_view pattern, std::u16string_view name) {
    // Iterative wildcard match with one back-track point for the last '*'.
    size_t p = 0, n = 0, star = std::u16string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || Fold(pattern[p]) == Fold(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            mark = n;
        } else if (star != std::u16string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

} // namespace

// A pattern ending in ".*" also matches names without an extension, as on Windows, where "*.*"
// matches every name.
bool MatchesPattern(std::u16string_view pattern, std::u16string_view name) {
    if (MatchesPlain(pattern, name)) return true;
    const size_t n = pattern.size();
    return n >= 2 && pattern.substr(n - 2) == u".*" && MatchesPlain(pattern.substr(0, n - 2), name);
}

FindHandle FindFirstFile(std::u16string_view pattern, FindData& out) {
    const size_t slash = pattern.find_last_of(u"\\/");
    const std::u16string_view dirPart =
        slash == std::u16string_view::npos ? std::u16string_view{} : pattern.substr(0, slash + 1);
    const std::u16string_view namePart =
        slash == std::u16string_view::npos ? pattern : pattern.substr(slash + 1);
    const std::string dir = dirPart.empty() ? std::string(".") : MapPath(dirPart);
    if (dir.empty()) return kInvalidFind; // a path that leaves the device root
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) return kInvalidFind;
    auto search = std::make_unique<Search>();
    while (const dirent* e = readdir(d)) {
        const std::string native = e->d_name;
        if (native == "." || native == "..") continue;
        const std::u16string name = FromNative(e->d_name);
        if (!MatchesPattern(namePart, name)) continue;
        struct stat st {};
        const std::string full = dir + (dir.back() == '/' ? "" : "/") + native;
        const bool isDir = stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        search->matches.push_back({name, isDir});
    }
    closedir(d);
    if (search->matches.empty()) return kInvalidFind;
    std::sort(search->matches.begin(), search->matches.end(),
              [](const FindData& a, const FindData& b) { return a.m_name < b.m_name; });
    out = search->matches[search->next++];
    return reinterpret_cast<FindHandle>(search.release());
}

bool FindNextFile(FindHandle h, FindData& out) {
    if (h == kInvalidFind || h == 0) return false;
    Search* search = reinterpret_cast<Search*>(h);
    if (search->next >= search->matches.size()) return false;
    out = search->matches[search->next++];
    return true;
}

void FindClose(FindHandle h) {
    if (h == kInvalidFind || h == 0) return;
    delete reinterpret_cast<Search*>(h);
}

} // namespace platform
