// The setup script's word rules and the file search by pattern.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "logservice/ScriptText.h"
#include "platform/FindFiles.h"
#include "platform/Paths.h"

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> out;
    const char* cursor = line.c_str();
    for (std::string word; script::NextToken(cursor, word);)
        out.push_back(word);
    return out;
}

using Strings = std::vector<std::string>;

TEST(ScriptWords, SpacesQuotesAndDoubledQuotes) {
    EXPECT_EQ(Words("   rem heading"), (Strings{"rem", "heading"}));
    EXPECT_EQ(Words("rem \"two words\" after"), (Strings{"rem", "two words", "after"}));
    EXPECT_EQ(Words("copy \"\\Hard Disk\\a b\\*.txt\" \\Windows"),
              (Strings{"copy", "\\Hard Disk\\a b\\*.txt", "\\Windows"}));
    // Two quotes in a row are one literal quote, inside and outside a quoted stretch.
    EXPECT_EQ(Words("say \"\"hi\"\""), (Strings{"say", "\"hi\""}));
    EXPECT_EQ(Words("say \"a \"\"b\"\" c\""), (Strings{"say", "a \"b\" c"}));
    // A quote inside a word joins the stretch to it.
    EXPECT_EQ(Words("x ab\"c d\"e f"), (Strings{"x", "abc de", "f"}));
    // Only spaces separate: a tab belongs to the word.
    EXPECT_EQ(Words("a\tb c"), (Strings{"a\tb", "c"}));
    EXPECT_TRUE(Words("     ").empty());
    EXPECT_TRUE(Words("").empty());
}

TEST(ScriptWords, CursorStopsOnTheCharacterThatEndedTheWord) {
    const std::string line = "exec prog  rest";
    const char* cursor = line.c_str();
    std::string word;
    ASSERT_TRUE(script::NextToken(cursor, word));
    EXPECT_EQ(*cursor, ' ');
    ASSERT_TRUE(script::NextToken(cursor, word));
    EXPECT_EQ(word, "prog");
    EXPECT_STREQ(cursor, "  rest");
}

TEST(ScriptWords, TrailingControlCharactersAreCut) {
    std::string line = "set IP 1.2.3.4 \t\r\n";
    script::CutTrailing(line);
    EXPECT_EQ(line, "set IP 1.2.3.4");
    line = " \r\n";
    script::CutTrailing(line);
    EXPECT_EQ(line, "");
    line = "caf\xe9"; // a character above 127 stays
    script::CutTrailing(line);
    EXPECT_EQ(line, "caf\xe9");
}

TEST(FilePattern, StarQuestionMarkAndCase) {
    struct Case {
        const char16_t* pattern;
        const char16_t* name;
        bool matches;
    };
    const Case cases[] = {
        {u"*", u"anything.txt", true},
        {u"*.txt", u"A.TXT", true},
        {u"*.TXT", u"a.txt", true},
        {u"a?.txt", u"a1.txt", true},
        {u"a?.txt", u"a.txt", false},
        {u"a?.txt", u"a12.txt", false},
        {u"*a*b", u"xxaYYb", true},
        {u"*a*b", u"xxaYYbc", false},
        {u"data*.*", u"DATA01.bin", true},
        {u"exact", u"EXACT", true},
        {u"exact", u"exactly", false},
        {u"**?", u"", false},
        {u"*", u"", true},
        // As on Windows, "*.*" takes every name and a trailing ".*" names without a dot.
        {u"*.*", u"README", true},
        {u"*.*", u"a.b.c", true},
        {u"data*.*", u"data", true},
        {u"data*.*", u"other", false},
        {u"x.*", u"x", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::MatchesPattern(c.pattern, c.name), c.matches)
            << std::string(c.pattern, c.pattern + std::char_traits<char16_t>::length(c.pattern));
}

TEST(FilePattern, FindFirstFindNextInNameOrder) {
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "qvfind-XXXXXX").string();
    const fs::path root = mkdtemp(pattern.data());
    setenv("QV_ROOT", root.c_str(), 1);
    fs::create_directories(root / "Drive" / "Sub.txt");
    for (const char* name : {"b.TXT", "a.txt", "c.log"})
        std::ofstream(root / "Drive" / name) << "x";

    std::vector<std::u16string> names;
    std::vector<bool> dirs;
    platform::FindData found;
    const platform::FindHandle h = platform::FindFirstFile(u"\\Drive\\*.txt", found);
    ASSERT_NE(h, platform::kInvalidFind);
    do {
        names.push_back(found.m_name);
        dirs.push_back(found.m_directory);
    } while (platform::FindNextFile(h, found));
    platform::FindClose(h);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"Sub.txt", u"a.txt", u"b.TXT"}));
    EXPECT_EQ(dirs, (std::vector<bool>{true, false, false}));

    EXPECT_EQ(platform::FindFirstFile(u"\\Drive\\*.none", found), platform::kInvalidFind);
    EXPECT_EQ(platform::FindFirstFile(u"\\Missing\\*", found), platform::kInvalidFind);
    // A pattern that climbs out of the device root finds nothing, even where files are.
    EXPECT_EQ(platform::FindFirstFile(u"\\..\\*", found), platform::kInvalidFind);
    EXPECT_EQ(platform::FindFirstFile(u"\\Drive\\..\\..\\*", found), platform::kInvalidFind);

    // Names with bytes of the code page's upper half (here UTF-8 names from a technician's
    // computer, and a euro sign) are found under the names that open them.
    for (const char* name : {"\xC3\x84rger.txt", "\xC3\x9F.txt", "\x80uro.txt"})
        std::ofstream(root / "Drive" / name) << "x";
    names.clear();
    const platform::FindHandle accents = platform::FindFirstFile(u"\\Drive\\?*.txt", found);
    ASSERT_NE(accents, platform::kInvalidFind);
    do {
        names.push_back(found.m_name);
        EXPECT_TRUE(std::ifstream(platform::MapPath(u"\\Drive\\" + found.m_name)).good());
    } while (platform::FindNextFile(accents, found));
    platform::FindClose(accents);
    EXPECT_EQ(names.size(), 6u);
    EXPECT_NE(std::find(names.begin(), names.end(), u"\u20ACuro.txt"), names.end());
    fs::remove_all(root);
    unsetenv("QV_ROOT");
}

} // namespace
