// Profile reading on fixture files named after their case, rewrites checked byte for byte
// against golden files, large rewrites, injected file faults and the section index.
#include "common/CProfile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Files.h"
#include "testing/Files.h"
#include "testing/TempDir.h"

namespace fs = std::filesystem;

namespace {

using qvtesting::ReadFile;
using qvtesting::WriteFile;

size_t FolderCount(const fs::path& dir) {
    size_t n = 0;
    for (const auto& e : fs::directory_iterator(dir)) {
        (void)e;
        ++n;
    }
    return n;
}

class ProfileTest : public ::testing::Test {
  protected:
    void SetUp() override { platform::ClearFileFaults(); }
    void TearDown() override { platform::ClearFileFaults(); }

    static fs::path FixtureDir() {
        const char* dir = std::getenv("QV_FIXTURES");
        return fs::path(dir ? dir : "common/tests/fixtures") / "profile";
    }
    // Copies a fixture into the test's own folder and returns the copy's path.
    std::string Fixture(const char* name) {
        fs::path to = m_root / name;
        fs::copy_file(FixtureDir() / name, to, fs::copy_options::overwrite_existing);
        return to.string();
    }
    static std::string Golden(const char* name) {
        fs::path path = FixtureDir() / name;
        EXPECT_TRUE(fs::exists(path)) << path;
        return ReadFile(path);
    }
    std::string Path(const char* name) const { return (m_root / name).string(); }

    static std::string Get(CProfile& p, const char* section, const char* key) {
        CStr out;
        p.SetSection(section);
        p.GetString(key, out);
        return out.Length() ? out.Narrow() : "";
    }

    qvtesting::DeviceRoot m_device{"qvprofile"};
    const fs::path& m_root = m_device.Dir();
};

// ---- reading ----

TEST_F(ProfileTest, HeaderWithLeadingBlanksAndCommentIsFound) {
    CProfile p(Fixture("leading_blanks_header.ini").c_str(), false);
    EXPECT_EQ(Get(p, "pump 1", "Name"), "one");
    EXPECT_EQ(Get(p, "PUMP 10", "name"), "ten");
    EXPECT_EQ(Get(p, "Pump", "Name"), "");
}

TEST_F(ProfileTest, BlanksAroundEqualsAndQuotedValue) {
    CProfile p(Fixture("blanks_around_equals.ini").c_str(), false);
    CStr out;
    p.SetSection("Grade");
    EXPECT_EQ(p.GetString("Label", out), 4);
    EXPECT_STREQ(out.Narrow(), "ABC ");
    EXPECT_EQ(Get(p, "Grade", "price"), "1.2345");
}

TEST_F(ProfileTest, KeyThatIsTheStartOfALongerKeyDoesNotMatch) {
    CProfile p(Fixture("key_prefix.ini").c_str(), false);
    EXPECT_EQ(Get(p, "Tank", "Name"), "upper"); // NAME matches, Name2 and "Name 3" do not
    EXPECT_EQ(Get(p, "Tank", "Name2"), "second");
    EXPECT_EQ(Get(p, "Tank", "Name 3"), "third");
    EXPECT_EQ(Get(p, "Tank", "Nam"), "");
}

TEST_F(ProfileTest, QuoteRules) {
    CProfile p(Fixture("single_quote_value.ini").c_str(), false);
    const struct {
        const char* key;
        const char* value;
    } cases[] = {
        {"Single", ""}, {"Pair", ""}, {"Inner", "a\"b\""}, {"OpenOnly", "\"abc"}, {"Empty", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Get(p, "Quotes", c.key), c.value) << c.key;
    p.SetSection("Quotes");
    EXPECT_TRUE(p.KeyExists("Single"));
    EXPECT_TRUE(p.KeyExists("Empty"));
    EXPECT_FALSE(p.KeyExists("Missing"));
}

TEST_F(ProfileTest, KeysBeforeTheFirstSectionBelongToNone) {
    CProfile p(Fixture("keys_before_section.ini").c_str(), false);
    EXPECT_EQ(Get(p, "Main", "Orphan"), "");
    EXPECT_EQ(Get(p, "Main", "Shared"), "inside");
    ASSERT_TRUE(p.Open()); // at the start of the file
    CStr out;
    EXPECT_EQ(p.GetStringHere("Shared", out), 7);
    EXPECT_STREQ(out.Narrow(), "outside");
}

TEST_F(ProfileTest, LfOnlyFileReads) {
    CProfile p(Fixture("lf_only.ini").c_str(), false);
    EXPECT_EQ(Get(p, "Log", "Level"), "2");
    EXPECT_EQ(Get(p, "Log", "Path"), "\\Log\\B");
    EXPECT_EQ(Get(p, "Other", "Key"), "v");
}

TEST_F(ProfileTest, LineOver1023BytesIsReadInPieces) {
    CProfile p(Fixture("long_line.ini").c_str(), false);
    EXPECT_EQ(Get(p, "Long", "Long"), std::string(1018, 'x'));          // the first piece only
    EXPECT_EQ(Get(p, "Long", "Hidden"), "yes" + std::string(470, 'y')); // the second piece
    EXPECT_EQ(Get(p, "Long", "After"), "1");
}

TEST_F(ProfileTest, TypedGetters) {
    CProfile p(Fixture("typed_values.ini").c_str(), false);
    p.SetSection("Values");
    EXPECT_EQ(p.GetInt("Int"), 1024);
    EXPECT_EQ(p.GetInt("NegInt"), -15);
    EXPECT_EQ(p.GetInt("Missing"), 0);
    CFixed f;
    EXPECT_EQ(p.GetFixed(f, "Fixed").Raw(), 123457);
    EXPECT_EQ(p.GetFixed(f, "NegFixed").Raw(), -313);
    EXPECT_EQ(p.GetFixed(f, "Missing").Raw(), 0);

    CDateTime d;
    p.GetDateTime(d, "When");
    EXPECT_EQ(d.Year(), 2023);
    EXPECT_EQ(d.Month(), 11);
    EXPECT_EQ(d.Day(), 3);
    EXPECT_EQ(d.Hour(), 8);
    EXPECT_EQ(d.Minute(), 26);
    EXPECT_EQ(d.Second(), 40);
    p.GetDateTime(d, "WhenSlash");
    EXPECT_EQ(d.Day(), 29);
    EXPECT_TRUE(p.GetDateTime(d, "BadWhen").IsNull());
    EXPECT_TRUE(p.GetDateTime(d, "Missing").IsNull());

    const struct {
        const char* key;
        bool value;
    } bools[] = {{"B1", true},  {"B2", true},   {"B3", true},  {"B4", true},
                 {"B5", true},  {"B6", true},   {"B7", false}, {"B8", false},
                 {"B9", false}, {"B10", false}, {"B11", true}, {"Missing", false}};
    for (const auto& b : bools)
        EXPECT_EQ(p.GetBool(b.key), b.value) << b.key;
}

TEST_F(ProfileTest, MissingFileReadOnlyAndWritable) {
    std::string path = Path("missing.ini");
    {
        CProfile ro(path.c_str(), false);
        EXPECT_EQ(Get(ro, "Log", "Level"), "");
        ro.SetSection("Log");
        EXPECT_EQ(ro.GetInt("Level"), 0);
        EXPECT_FALSE(ro.GetBool("Level"));
        EXPECT_FALSE(ro.KeyExists("Level"));
        CStr name;
        EXPECT_FALSE(ro.GetSectionName(1, name));
    }
    EXPECT_FALSE(fs::exists(path));
    CProfile rw(path.c_str(), true);
    EXPECT_EQ(Get(rw, "Log", "Level"), "");
    EXPECT_TRUE(fs::exists(path)); // created on first access
    rw.SetSection("Log");
    EXPECT_EQ(rw.SetString("Level", "1"), 1);
    EXPECT_EQ(ReadFile(path), Golden("created_on_first_access.expected"));
}

TEST_F(ProfileTest, ReadOnlyProfileClosesAfterEachRead) {
    CProfile p(Fixture("lf_only.ini").c_str(), false);
    EXPECT_EQ(Get(p, "Log", "Level"), "2");
    EXPECT_FALSE(p.IsOpen());
    CProfile rw(Fixture("section_text.ini").c_str(), true);
    EXPECT_EQ(Get(rw, "B", "K"), "2");
    EXPECT_TRUE(rw.IsOpen()); // a writable profile keeps its file open
    p.SetSection("Log");
    EXPECT_TRUE(p.KeyExists("Path"));
    EXPECT_TRUE(p.IsOpen()); // left behind the key line
    CStr out;
    EXPECT_EQ(p.GetStringHere("Level", out), 0); // Level lies before the position
}

TEST_F(ProfileTest, SectionText) {
    CProfile p(Fixture("section_text.ini").c_str(), false);
    CStr out;
    EXPECT_EQ(p.GetSectionText("a", out), 24);
    EXPECT_STREQ(out.Narrow(), "K=1\r\n  indented line\r\n\r\n");
    EXPECT_EQ(p.GetSectionText("C", out), 0);
    EXPECT_EQ(out.Length(), 0);
}

// ---- enumeration ----

TEST_F(ProfileTest, SectionEnumeration) {
    CProfile p(Fixture("enumeration.ini").c_str(), false);
    CStr name;
    EXPECT_FALSE(p.GetNextSectionName(name)); // never started
    const char* expected[] = {"One", "Two", "Three", "Four"};
    ASSERT_TRUE(p.GetSectionName(1, name));
    EXPECT_STREQ(name.Narrow(), expected[0]);
    for (int i = 1; i < 4; ++i) {
        ASSERT_TRUE(p.GetNextSectionName(name)) << i;
        EXPECT_STREQ(name.Narrow(), expected[i]);
    }
    EXPECT_FALSE(p.GetNextSectionName(name));
    EXPECT_FALSE(p.GetNextSectionName(name));
    ASSERT_TRUE(p.GetSectionName(2, name)); // asking backwards starts again
    EXPECT_STREQ(name.Narrow(), "Two");
    CStr value;
    EXPECT_EQ(p.GetStringHere("K", value), 1); // positioned behind the header
    EXPECT_STREQ(value.Narrow(), "2");
    ASSERT_TRUE(p.GetSectionName(4, name));
    EXPECT_STREQ(name.Narrow(), "Four");
    EXPECT_FALSE(p.GetSectionName(5, name));
    EXPECT_EQ(name.Length(), 0);
    EXPECT_FALSE(p.GetSectionName(0, name));
    EXPECT_EQ(p.GetSectionCount(), 4);
}

// ---- rewrites against golden files ----

struct RewriteCase {
    const char* base;
    const char* section;
    const char* key;
    const char* value;
    const char* golden;
};

TEST_F(ProfileTest, RewritesMatchGoldenFiles) {
    const RewriteCase cases[] = {
        {"rewrite_base.ini", "Middle", "New", "x", "rewrite_new_key_middle.expected"},
        {"rewrite_base.ini", "middle", "d", "44", "rewrite_existing_key.expected"},
        {"rewrite_base.ini", "Added", "K", "v w", "rewrite_missing_section.expected"},
        {"rewrite_base.ini", "Last", "F", "6", "rewrite_new_key_last.expected"},
        {"rewrite_base.ini", "First", "A", "", "rewrite_empty_value.expected"},
        {"no_final_break.ini", "Only", "F", "6", "no_final_break.expected"},
        {"lf_only.ini", "Log", "Level", "3", "lf_only_rewrite.expected"},
        {"lf_only.ini", "Log", "Size", "10", "lf_only_new_key.expected"},
    };
    for (const auto& c : cases) {
        std::string path = Fixture(c.base);
        {
            CProfile p(path.c_str(), true);
            p.SetSection(c.section);
            EXPECT_EQ(p.SetString(c.key, c.value), static_cast<int>(std::strlen(c.value)))
                << c.golden;
            EXPECT_FALSE(p.IsOpen());
            EXPECT_EQ(Get(p, c.section, c.key), c.value) << c.golden;
        }
        EXPECT_EQ(ReadFile(path), Golden(c.golden)) << c.golden;
        EXPECT_FALSE(fs::exists(path + ".new")) << c.golden;
    }
}

TEST_F(ProfileTest, RewritingALongLineReplacesAllOfIt) {
    std::string path = Fixture("long_line.ini");
    CProfile p(path.c_str(), true);
    p.SetSection("Long");
    EXPECT_EQ(p.SetString("Long", "short"), 5);
    EXPECT_EQ(ReadFile(path), "[Long]\r\nLong=short\r\nAfter=1\r\n");
}

TEST_F(ProfileTest, SetDateTimeAndNullDate) {
    std::string path = Path("dates.ini");
    CProfile p(path.c_str(), true);
    p.SetSection("Run");
    CDateTime null;
    EXPECT_EQ(p.SetDateTime("Last", null), 19);
    CDateTime d;
    p.GetDateTime(d, "Last");
    EXPECT_FALSE(d.IsNull());
    EXPECT_EQ(d.Year(), 2000);
    EXPECT_EQ(d.Month(), 1);
    EXPECT_EQ(d.Day(), 1);
    ASSERT_TRUE(d.Parse("2025-01-07 16:50:27"));
    p.SetDateTime("Last", d);
    EXPECT_EQ(Get(p, "Run", "Last"), "2025/01/07 16:50:27");
}

TEST_F(ProfileTest, AppendKeyWritesAFreshFile) {
    std::string path = Path("export.ini");
    {
        CProfile p(path.c_str(), true);
        p.SetSection("Port 1");
        EXPECT_EQ(p.AppendKey("Protocol", "2"), 1);
        EXPECT_EQ(p.AppendKey("Speed", "9600"), 4);
        p.SetSection("Port 2");
        p.AppendKey("Protocol", "3");
        p.SetSection("PORT 2"); // same section, other case: no new header
        p.AppendKey("When", "2000/01/01 00:00:00");
        EXPECT_TRUE(p.IsOpen());
    }
    EXPECT_EQ(ReadFile(path), Golden("append_keys.expected"));
    CProfile r(path.c_str(), false);
    EXPECT_EQ(Get(r, "Port 2", "Protocol"), "3");
    EXPECT_EQ(Get(r, "Port 1", "Speed"), "9600");
}

TEST_F(ProfileTest, AppendKeyWithoutSectionWritesNoHeader) {
    std::string path = Path("nosection.ini");
    {
        CProfile p(path.c_str(), true);
        p.AppendKey("Top", "1"); // no section set: a key before every header
        p.SetSection("A");
        p.AppendKey("Key", "2");
    }
    EXPECT_EQ(ReadFile(path), "Top=1\r\n\r\n[A]\r\nKey=2\r\n");
}

// ---- rests beyond 64 KiB and injected faults ----

std::string BigSections(int from, int count) {
    std::string s;
    for (int i = from; i < from + count; ++i) {
        s += "[Section " + std::to_string(i) + "]\r\n";
        s += "Value=" + std::string(200, static_cast<char>('a' + i % 26)) + "\r\n";
        s += "Number=" + std::to_string(i) + "\r\n\r\n";
    }
    return s;
}

TEST_F(ProfileTest, LargeRestBehindTheKeyIsKept) {
    std::string head = "[First]\r\nA=1\r\nB=2\r\n\r\n";
    std::string rest = BigSections(0, 1000); // about 230 KB
    ASSERT_GT(rest.size(), 65536u * 3);
    std::string path = Path("big.ini");
    WriteFile(path, head + rest);
    CProfile p(path.c_str(), true);
    p.SetSection("First");
    EXPECT_EQ(p.SetString("A", "changed"), 7);
    EXPECT_EQ(ReadFile(path), "[First]\r\nA=changed\r\nB=2\r\n\r\n" + rest);
    EXPECT_EQ(p.SetString("C", "new"), 3);
    EXPECT_EQ(ReadFile(path), "[First]\r\nA=changed\r\nB=2\r\nC=new\r\n\r\n" + rest);
    EXPECT_EQ(Get(p, "Section 999", "Number"), "999");
}

// A rewrite that fails at any step leaves the old file whole and no copy behind.
TEST_F(ProfileTest, FailedRewriteKeepsTheOldFile) {
    std::string original = "[First]\r\nA=1\r\n\r\n" + BigSections(0, 600);
    std::string path = Path("faults.ini");
    const struct {
        platform::FileOp op;
        int nth;
    } faults[] = {
        {platform::FileOp::Write, 1},  {platform::FileOp::Write, 2}, {platform::FileOp::Write, 3},
        {platform::FileOp::Commit, 1}, {platform::FileOp::Move, 1},  {platform::FileOp::Open, 2},
    };
    for (const auto& f : faults) {
        WriteFile(path, original);
        CProfile p(path.c_str(), true);
        p.SetSection("First");
        platform::FailFileOp(f.op, f.nth);
        int32_t result = p.SetString("A", "changed");
        platform::ClearFileFaults();
        std::string now = ReadFile(path);
        std::string expected =
            result == -1 ? original : "[First]\r\nA=changed\r\n\r\n" + BigSections(0, 600);
        EXPECT_EQ(now, expected) << int(f.op) << " #" << f.nth;
        EXPECT_FALSE(fs::exists(path + ".new")) << int(f.op) << " #" << f.nth;
        EXPECT_EQ(FolderCount(m_root), 1u) << int(f.op) << " #" << f.nth; // no copy left
        // An open that fails is retried by the file wrapper's create step.
        if (f.op != platform::FileOp::Open) {
            EXPECT_EQ(result, -1) << int(f.op) << " #" << f.nth;
        }
    }
}

TEST_F(ProfileTest, ReadOnlyProfileDoesNotWrite) {
    std::string path = Fixture("rewrite_base.ini");
    CProfile p(path.c_str(), false);
    p.SetSection("Middle");
    EXPECT_EQ(p.SetString("C", "9"), -1);
    EXPECT_EQ(p.SetString("New", "9"), -1);
    EXPECT_EQ(ReadFile(path), Golden("rewrite_base.ini"));
}

TEST_F(ProfileTest, FailedAppendIsReported) {
    std::string path = Fixture("rewrite_base.ini");
    CProfile p(path.c_str(), true);
    p.SetSection("Last");
    platform::FailFileOp(platform::FileOp::Write, 1);
    EXPECT_EQ(p.SetString("F", "6"), -1);
    platform::ClearFileFaults();
    EXPECT_EQ(ReadFile(path), Golden("rewrite_base.ini"));
}

// ---- the section index follows changes made by other programs ----

TEST_F(ProfileTest, ChangesBehindTheObjectsBackAreSeen) {
    std::string path = Path("changing.ini");
    WriteFile(path, "[A]\r\nK=1\r\n[B]\r\nK=2\r\n");
    CProfile p(path.c_str(), false);
    EXPECT_EQ(Get(p, "A", "K"), "1");
    EXPECT_EQ(Get(p, "B", "K"), "2");

    // Same size, sections swapped: every header moved.
    WriteFile(path, "[B]\r\nK=3\r\n[A]\r\nK=4\r\n");
    EXPECT_EQ(Get(p, "B", "K"), "3");
    EXPECT_EQ(Get(p, "A", "K"), "4");
    EXPECT_EQ(Get(p, "A", "K"), "4"); // the same section twice

    // Same size, a section that was missing appears where another one stood.
    EXPECT_EQ(Get(p, "C", "K"), "");
    WriteFile(path, "[C]\r\nK=3\r\n[A]\r\nK=4\r\n");
    EXPECT_EQ(Get(p, "C", "K"), "3");

    // Same size, the modification time put back as it was.
    auto stamp = fs::last_write_time(path);
    EXPECT_EQ(Get(p, "D", "K"), "");
    WriteFile(path, "[D]\r\nK=5\r\n[A]\r\nK=6\r\n");
    fs::last_write_time(path, stamp);
    EXPECT_EQ(Get(p, "D", "K"), "5");
    EXPECT_EQ(Get(p, "C", "K"), "");
    EXPECT_EQ(Get(p, "A", "K"), "6");

    // Another size: a section inserted in front.
    WriteFile(path, "[New]\r\nK=0\r\n[D]\r\nK=7\r\n[A]\r\nK=8\r\n");
    EXPECT_EQ(Get(p, "A", "K"), "8");
    EXPECT_EQ(Get(p, "new", "K"), "0");
    CStr name;
    ASSERT_TRUE(p.GetSectionName(1, name));
    EXPECT_STREQ(name.Narrow(), "New");

    fs::remove(path);
    EXPECT_EQ(Get(p, "A", "K"), "");
    EXPECT_FALSE(p.GetSectionName(1, name));
}

TEST_F(ProfileTest, OwnRewritesRefreshTheIndex) {
    std::string path = Fixture("rewrite_base.ini");
    CProfile p(path.c_str(), true);
    EXPECT_EQ(Get(p, "Last", "E"), "5");
    p.SetSection("First");
    p.SetString("Z", std::string(300, 'z').c_str()); // every later header moves
    EXPECT_EQ(Get(p, "Last", "E"), "5");
    EXPECT_EQ(Get(p, "Middle", "C"), "3");
    p.SetSection("Zulu");
    p.SetString("Y", "1");
    EXPECT_EQ(Get(p, "zulu", "Y"), "1");
    EXPECT_EQ(p.GetSectionCount(), 4);
}

TEST_F(ProfileTest, FirstOfDuplicateSectionsAndKeysWins) {
    std::string path = Path("dup.ini");
    WriteFile(path, "[S]\r\nK=1\r\nK=2\r\n[s]\r\nK=3\r\nL=4\r\n");
    CProfile p(path.c_str(), false);
    EXPECT_EQ(Get(p, "S", "K"), "1");
    EXPECT_EQ(Get(p, "S", "L"), ""); // the second header is never reached
}

} // namespace

// ---- a file kept open between lookups still follows other programs ----

// Rewrites the file in place (same inode, same size), as an editor saving over it would.
void RewriteInPlace(const std::string& path, const std::string& text) {
    std::FILE* f = std::fopen(path.c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), f), text.size());
    std::fclose(f);
}

TEST_F(ProfileTest, FileKeptOpenBetweenLookupsFollowsOtherPrograms) {
    for (bool writable : {false, true}) {
        SCOPED_TRACE(writable ? "writable" : "read-only");
        std::string path = Path(writable ? "kept_rw.ini" : "kept_ro.ini");
        WriteFile(path, "[A]\r\nK=1\r\n[B]\r\nK=2\r\n");
        CProfile p(path.c_str(), writable);
        EXPECT_EQ(Get(p, "A", "K"), "1");
        EXPECT_EQ(Get(p, "B", "K"), "2");
        EXPECT_EQ(p.IsOpen(), writable); // a read-only profile still reports its file closed

        // Same size, same inode, the modification time put back: only the change time moves.
        auto stamp = fs::last_write_time(path);
        RewriteInPlace(path, "[B]\r\nK=3\r\n[A]\r\nK=4\r\n");
        fs::last_write_time(path, stamp);
        EXPECT_EQ(Get(p, "B", "K"), "3");
        EXPECT_EQ(Get(p, "A", "K"), "4");
        // A value changed right away, the headers where they were: read from the file, not
        // from what an earlier lookup had buffered.
        RewriteInPlace(path, "[B]\r\nK=8\r\n[A]\r\nK=9\r\n");
        EXPECT_EQ(Get(p, "A", "K"), "9");
        EXPECT_EQ(Get(p, "B", "K"), "8");

        // Replaced by a new file of the same size (a new inode under the old name).
        WriteFile(path + ".tmp", "[A]\r\nK=5\r\n[C]\r\nK=6\r\n");
        fs::rename(path + ".tmp", path);
        EXPECT_EQ(Get(p, "A", "K"), "5");
        EXPECT_EQ(Get(p, "C", "K"), "6");
        EXPECT_EQ(Get(p, "B", "K"), "");

        // Grown: a section appended behind the last one.
        {
            std::ofstream out(path, std::ios::binary | std::ios::app);
            out << "[D]\r\nK=7\r\n";
        }
        EXPECT_EQ(Get(p, "D", "K"), "7");
        EXPECT_EQ(p.GetSectionCount(), 3);

        // Deleted: nothing is read from the handle that was kept.
        fs::remove(path);
        EXPECT_EQ(Get(p, "A", "K"), "");
        EXPECT_EQ(fs::exists(path), writable); // a writable profile creates it anew, empty
        CStr name;
        EXPECT_FALSE(p.GetSectionName(1, name));
    }
}

// ---- line pieces, NUL bytes and values out of range ----

// A line of about 1023 bytes ends in the second piece of the reading (or the piece boundary
// falls between CR and LF). A key inserted behind it must start a line of its own, and a later
// rewrite of the long key (or of the new one) must keep the other.
TEST_F(ProfileTest, KeysBesideLinesAroundThePieceBoundary) {
    enum class Kind { Key, Comment, Header };
    const std::string path = Path("boundary.ini");
    for (const char* eol : {"\r\n", "\n"}) {
        for (Kind kind : {Kind::Key, Kind::Comment, Kind::Header}) {
            for (int length = 1016; length <= 1030; ++length) {
                for (bool last : {false, true}) {
                    SCOPED_TRACE(std::to_string(length) + (eol[0] == '\r' ? " CRLF " : " LF ") +
                                 std::to_string(static_cast<int>(kind)) + (last ? " last" : ""));
                    std::string line;
                    if (kind == Kind::Key) line = "Long=" + std::string(length - 5, 'x');
                    if (kind == Kind::Comment) line = "#" + std::string(length - 1, 'c');
                    if (kind == Kind::Header) line = "[A] " + std::string(length - 4, 'h');
                    const std::string head =
                        kind == Kind::Header ? line + eol : "[A]\r\nK=1\r\n" + line + eol;
                    const std::string tail = last ? "" : "\r\n[B]\r\nX=1\r\n";
                    WriteFile(path, head + tail);
                    CProfile p(path.c_str(), true);
                    p.SetSection("A");
                    ASSERT_EQ(p.SetString("New", "v"), 1);
                    const std::string inserted = last ? "New=v\r\n" : "New=v\r\n\r\n[B]\r\nX=1\r\n";
                    ASSERT_EQ(ReadFile(path), head + inserted);
                    EXPECT_EQ(Get(p, "A", "New"), "v");
                    if (!last) {
                        EXPECT_EQ(Get(p, "B", "X"), "1");
                    }

                    p.SetSection("A");
                    if (kind == Kind::Key) {
                        ASSERT_EQ(p.SetString("Long", "short"), 5);
                        EXPECT_EQ(ReadFile(path), "[A]\r\nK=1\r\nLong=short\r\n" + inserted);
                    } else {
                        ASSERT_EQ(p.SetString("New", "w"), 1);
                        EXPECT_EQ(ReadFile(path),
                                  head + "New=w\r\n" + (last ? "" : "\r\n[B]\r\nX=1\r\n"));
                    }
                    EXPECT_EQ(Get(p, "A", "New"), kind == Kind::Key ? "v" : "w");
                }
            }
        }
    }
}

// A NUL byte inside a line hides neither the rest of the line nor its line end.
TEST_F(ProfileTest, LinesHoldingNulBytes) {
    using namespace std::string_literals;
    const std::string path = Path("nulbytes.ini");
    const std::string rest = "\r\n[B]\r\nX=1\r\n"s;

    WriteFile(path, "[A]\r\nK=ab\0cd\r\nL=2\r\n"s + rest);
    CProfile p(path.c_str(), true);
    EXPECT_EQ(Get(p, "A", "K"), "ab"); // the value ends at the NUL
    p.SetSection("A");
    ASSERT_EQ(p.SetString("K", "new"), 3);
    EXPECT_EQ(ReadFile(path), "[A]\r\nK=new\r\nL=2\r\n"s + rest); // the next line stays

    const std::string kept = "[A]\r\nK=1\r\n#a\0b\0\r\n\0zz\r\n"s;
    WriteFile(path, kept + rest);
    p.SetSection("A");
    ASSERT_EQ(p.SetString("K", "2"), 1);
    EXPECT_EQ(ReadFile(path), "[A]\r\nK=2\r\n#a\0b\0\r\n\0zz\r\n"s + rest);
    ASSERT_EQ(p.SetString("New", "v"), 1); // behind the last line, NUL lines included
    EXPECT_EQ(ReadFile(path), "[A]\r\nK=2\r\n#a\0b\0\r\n\0zz\r\nNew=v\r\n"s + rest);
    EXPECT_EQ(Get(p, "A", "New"), "v");
    EXPECT_EQ(Get(p, "B", "X"), "1");
}

// Fixed-point values beyond the 64-bit range read as the nearest limit.
TEST_F(ProfileTest, FixedValuesOutOfRangeReadAsTheLimit) {
    const std::string path = Path("fixed.ini");
    WriteFile(path, "[F]\r\nBig=123456789012345678901234567890\r\n"
                    "Small=-123456789012345678901234567890.5\r\nCapacity=1000000000000000\r\n"
                    "Fits=900000000000000\r\n");
    CProfile p(path.c_str(), false);
    p.SetSection("F");
    CFixed f;
    EXPECT_EQ(p.GetFixed(f, "Big").Raw(), INT64_MAX);
    EXPECT_EQ(p.GetFixed(f, "Small").Raw(), INT64_MIN);
    EXPECT_EQ(p.GetFixed(f, "Capacity").Raw(), INT64_MAX);
    EXPECT_EQ(p.GetFixed(f, "Fits").Raw(), 9000000000000000000);
}

// ---- what a rewrite keeps of the file ----

TEST_F(ProfileTest, RewriteKeepsLinksModeOwnerAndOtherFiles) {
    const std::string original = "[A]\r\nK=1\r\n\r\n[B]\r\nX=1\r\n";
    const std::string rewritten = "[A]\r\nK=2\r\n\r\n[B]\r\nX=1\r\n";
    fs::create_directories(m_root / "real");
    const std::string target = (m_root / "real" / "site.ini").string();
    const std::string link = Path("link.ini");
    WriteFile(target, original);
    fs::create_symlink(target, link);
    ASSERT_EQ(chmod(target.c_str(), 0600), 0);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(target.c_str(), 1234, 1235), 0);
    }
    WriteFile(target + ".new", "keep me");
    WriteFile(link + ".new", "keep me too");
    {
        CProfile p(link.c_str(), true);
        p.SetSection("A");
        ASSERT_EQ(p.SetString("K", "2"), 1);
        EXPECT_EQ(Get(p, "A", "K"), "2");
    }
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(target), rewritten);
    struct stat st {};
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    if (root) {
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 1235u);
    }
    EXPECT_EQ(ReadFile(target + ".new"), "keep me");
    EXPECT_EQ(ReadFile(link + ".new"), "keep me too");
    EXPECT_EQ(FolderCount(m_root / "real"), 2u); // no temporary file left
    EXPECT_EQ(FolderCount(m_root), 3u);

    // A second name of the file (a hard link) keeps the content it had: the rewritten name
    // gets a new file.
    const std::string second = Path("second.ini");
    fs::create_hard_link(target, second);
    {
        CProfile p(target.c_str(), true);
        p.SetSection("A");
        ASSERT_EQ(p.SetString("K", "3"), 1);
    }
    EXPECT_EQ(ReadFile(second), rewritten);
    CProfile reader(target.c_str(), false);
    EXPECT_EQ(Get(reader, "A", "K"), "3");
}

// A file whose last line ends in a CR alone: that CR ends no line when read, so a key appended
// to the last section starts a line of its own.
TEST_F(ProfileTest, KeyAppendedBehindALoneCarriageReturn) {
    const std::string path = Path("lone_cr.ini");
    WriteFile(path, "[A]\r\nK=1\r");
    CProfile p(path.c_str(), true);
    p.SetSection("A");
    ASSERT_EQ(p.SetString("New", "v"), 1);
    EXPECT_EQ(ReadFile(path), "[A]\r\nK=1\r\r\nNew=v\r\n");
    EXPECT_EQ(Get(p, "A", "New"), "v");
    EXPECT_EQ(Get(p, "A", "K"), "1");
}

// A header line longer than a piece: the rest of the line is read as the section's next line
// (so a key there is found, listed and replaced), and it never starts a section of its own.
TEST_F(ProfileTest, RestOfALongHeaderLineBelongsToItsSection) {
    const std::string path = Path("long_header.ini");
    const std::string header = "[S]" + std::string(1020, 'x');
    const std::string next = "\r\n[U]\r\nJ=2\r\n";
    WriteFile(path, header + "K=1\r\n" + next);
    {
        CProfile p(path.c_str(), true);
        EXPECT_EQ(Get(p, "S", "K"), "1");
        p.SetSection("S");
        EXPECT_TRUE(p.KeyExists("K"));
        CStr text;
        EXPECT_EQ(p.GetSectionText("S", text), 7);
        EXPECT_STREQ(text.Narrow(), "K=1\r\n\r\n");
        CStr name;
        ASSERT_TRUE(p.GetSectionName(1, name));
        EXPECT_STREQ(name.Narrow(), "S");
        EXPECT_EQ(p.GetStringHere("K", text), 1); // enumeration stands behind the header's piece
        p.SetSection("S");
        ASSERT_EQ(p.SetString("K", "2"), 1);
        EXPECT_EQ(ReadFile(path), header + "K=2\r\n" + next); // replaced, not appended
        EXPECT_EQ(Get(p, "S", "K"), "2");
        EXPECT_EQ(Get(p, "U", "J"), "2");
    }

    // "[T]" (or any header text) starting the rest of a long line is no header.
    for (const char* tail : {"[T]", "  [T]", "[a]b]"}) {
        SCOPED_TRACE(tail);
        WriteFile(path, header + tail + "\r\nJ=1\r\n" + next);
        CProfile p(path.c_str(), true);
        EXPECT_EQ(p.GetSectionCount(), 2);
        CStr name;
        ASSERT_TRUE(p.GetSectionName(2, name));
        EXPECT_STREQ(name.Narrow(), "U");
        EXPECT_EQ(Get(p, "S", "J"), "1");
        EXPECT_EQ(Get(p, "T", "J"), "");
        EXPECT_EQ(Get(p, "a]b", "J"), ""); // a name the index cannot answer: the line scan
        p.SetSection("S");
        ASSERT_EQ(p.SetString("New", "v"), 1);
        EXPECT_EQ(ReadFile(path), header + tail + "\r\nJ=1\r\nNew=v\r\n" + next);
    }
}

// A blank piece in the middle of a long line is no place for a new key: the key goes behind
// the whole line.
TEST_F(ProfileTest, NewKeyIsNeverInsertedInsideALongLine) {
    const std::string path = Path("blank_piece.ini");
    const std::string longLine = std::string(1023, 'x') + std::string(1023, ' ') + "[B]\r\n";
    WriteFile(path, "[A]\r\n" + longLine);
    CProfile p(path.c_str(), true);
    p.SetSection("A");
    ASSERT_EQ(p.SetString("New", "v"), 1);
    EXPECT_EQ(ReadFile(path), "[A]\r\n" + longLine + "New=v\r\n");
    EXPECT_EQ(Get(p, "A", "New"), "v");

    const std::string rest = "\r\n[C]\r\nX=1\r\n";
    WriteFile(path, "[A]\r\n" + longLine + rest);
    p.SetSection("A");
    ASSERT_EQ(p.SetString("New", "v"), 1);
    EXPECT_EQ(ReadFile(path), "[A]\r\n" + longLine + "New=v\r\n" + rest);
    EXPECT_EQ(Get(p, "C", "X"), "1");
}

// The section's lines read at once answer as the key search in the file does.
TEST_F(ProfileTest, SectionKeysAnswerAsTheFileSearch) {
    const std::string path = Path("keys.ini");
    WriteFile(path, "[A]\r\n  Name = \"ABC \"  \r\nName2=no\r\nname=second\r\nQ=\"\r\n\r\n"
                    "Long=" +
                        std::string(1018, 'y') + "Hidden=1\r\n[B]\r\nX=1\r\n");
    CProfile p(path.c_str(), false);
    p.SetSection("A");
    CProfile::SectionKeys keys;
    ASSERT_TRUE(p.GetSectionKeys(keys));
    EXPECT_FALSE(p.IsOpen()); // a read-only profile closes as after GetString
    EXPECT_STREQ(keys.Section().Narrow(), "A");
    for (const char* key : {"Name", "NAME", "Name2", "Q", "Long", "Hidden", "X", "Missing", ""}) {
        SCOPED_TRACE(key);
        CStr fromKeys;
        CStr fromFile;
        EXPECT_EQ(keys.GetString(key, fromKeys), p.GetString(key, fromFile));
        EXPECT_EQ(std::string(fromKeys.Narrow()), std::string(fromFile.Narrow()));
    }
    p.SetSection("Missing");
    EXPECT_FALSE(p.GetSectionKeys(keys));
    CStr out;
    EXPECT_EQ(keys.GetString("X", out), 0);
}
