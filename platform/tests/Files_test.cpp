#include "platform/Files.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "testing/Files.h"
#include "testing/TempDir.h"

using namespace platform;

namespace {

void WriteText(std::string_view path, const char* text) {
    FILE* f = OpenFile(path, "wt");
    ASSERT_NE(f, nullptr);
    std::fputs(text, f);
    std::fclose(f);
}

class Files : public ::testing::Test {
  protected:
    void TearDown() override { ClearFileFaults(); }
    qvtesting::DeviceRoot m_root{"qvplatform"};
};

} // namespace

TEST_F(Files, OpenMapsThePathAndAcceptsTextMode) {
    ASSERT_TRUE(CreateDirectory("\\Logs"));
    EXPECT_FALSE(CreateDirectory("\\Logs")); // already there
    WriteText("\\Logs\\a.L00", "one\n");
    FILE* f = OpenFile("\\Logs\\a.L00", "a+t");
    ASSERT_NE(f, nullptr);
    std::fputs("two\n", f);
    FILE* reader = OpenFile("\\Logs\\a.L00", "rt"); // shared access while a writer is open
    ASSERT_NE(reader, nullptr);
    std::fclose(f);
    std::fclose(reader);
    EXPECT_EQ(qvtesting::ReadFile(m_root.Str() + "/Logs/a.L00"), "one\ntwo\n");
    EXPECT_EQ(GetFileKind("\\Logs\\a.L00"), FileKind::File);
    EXPECT_EQ(GetFileKind("\\Logs"), FileKind::Directory);
    EXPECT_EQ(GetFileKind("\\Logs\\none"), FileKind::Missing);
    EXPECT_EQ(OpenFile("\\Logs\\none", "r"), nullptr);
    EXPECT_FALSE(RemoveDirectory("\\Logs")); // not empty
    EXPECT_TRUE(DeleteFile("\\Logs\\a.L00"));
    EXPECT_FALSE(DeleteFile("\\Logs\\a.L00"));
    EXPECT_FALSE(DeleteFile("\\Logs")); // a directory is no file
    EXPECT_TRUE(RemoveDirectory("\\Logs"));
}

TEST_F(Files, MoveAndCopyRefuseExistingTargets) {
    WriteText("\\a", "A");
    WriteText("\\b", "B");
    EXPECT_FALSE(MoveFile("\\a", "\\b"));
    EXPECT_EQ(qvtesting::ReadFile(m_root.Str() + "/b"), "B");
    EXPECT_TRUE(MoveFile("\\a", "\\c"));
    EXPECT_EQ(GetFileKind("\\a"), FileKind::Missing);
    EXPECT_FALSE(MoveFile("\\a", "\\d")); // source gone

    EXPECT_FALSE(CopyFile("\\c", "\\b", true));
    EXPECT_EQ(qvtesting::ReadFile(m_root.Str() + "/b"), "B");
    EXPECT_TRUE(CopyFile("\\c", "\\b", false));
    EXPECT_EQ(qvtesting::ReadFile(m_root.Str() + "/b"), "A");
    EXPECT_TRUE(CopyFile("\\c", "\\e", true));
    EXPECT_EQ(qvtesting::ReadFile(m_root.Str() + "/e"), "A");
    EXPECT_FALSE(CopyFile("\\c", "\\c", false)); // onto itself: the file must survive
    EXPECT_EQ(qvtesting::ReadFile(m_root.Str() + "/c"), "A");
}

TEST_F(Files, TruncateAndCommitWorkOnOpenStreams) {
    FILE* f = OpenFile("C:\\t.bin", "w+b");
    EXPECT_EQ(f, nullptr); // the C folder does not exist yet
    ASSERT_TRUE(CreateDirectory("C:\\"));
    f = OpenFile("C:\\t.bin", "w+b");
    ASSERT_NE(f, nullptr);
    std::fputs("0123456789", f); // still in the stdio buffer
    EXPECT_TRUE(TruncateFile(f, 4));
    EXPECT_TRUE(CommitFile(f));
    EXPECT_EQ(qvtesting::ReadFile(m_root.Str() + "/C/t.bin"), "0123");
    EXPECT_FALSE(TruncateFile(f, -1));
    std::fclose(f);
    EXPECT_FALSE(TruncateFile(nullptr, 0));
    EXPECT_FALSE(CommitFile(nullptr));
}

// Devices are a kind of their own; one that cannot be synchronised commits once flushed, one
// that refuses the data does not.
TEST_F(Files, DevicesAreWrittenButNotCommittedToADisk) {
    EXPECT_EQ(GetFileKind("/dev/null"), FileKind::Other);
    FILE* sink = OpenFile("/dev/null", "r+b");
    ASSERT_NE(sink, nullptr);
    std::fputs("data", sink);
    EXPECT_TRUE(CommitFile(sink));
    std::fclose(sink);
    FILE* full = OpenFile("/dev/full", "r+b");
    ASSERT_NE(full, nullptr);
    std::fputs("data", full);
    EXPECT_FALSE(CommitFile(full));
    std::fclose(full);
}

TEST_F(Files, InjectedFaultsFireOnTheNthCallOnce) {
    WriteText("\\x", "X");
    FailFileOp(FileOp::Delete, 2);
    WriteText("\\y", "Y");
    EXPECT_TRUE(DeleteFile("\\x"));
    EXPECT_FALSE(DeleteFile("\\y")); // second delete fails
    EXPECT_EQ(GetFileKind("\\y"), FileKind::File);
    EXPECT_TRUE(DeleteFile("\\y"));

    FailFileOp(FileOp::Open, 1);
    EXPECT_EQ(OpenFile("\\z", "w"), nullptr);
    EXPECT_EQ(GetFileKind("\\z"), FileKind::Missing);
    WriteText("\\z", "Z");

    FailFileOp(FileOp::Move, 1);
    EXPECT_FALSE(MoveFile("\\z", "\\w"));
    EXPECT_TRUE(MoveFile("\\z", "\\w"));

    FILE* f = OpenFile("\\w", "a");
    ASSERT_NE(f, nullptr);
    FailFileOp(FileOp::Truncate, 1);
    FailFileOp(FileOp::Commit, 1);
    EXPECT_FALSE(TruncateFile(f, 0));
    EXPECT_FALSE(CommitFile(f));
    EXPECT_TRUE(CommitFile(f));
    std::fclose(f);

    FailFileOp(FileOp::Write, 3);
    EXPECT_FALSE(WriteFaultFires());
    EXPECT_FALSE(WriteFaultFires());
    EXPECT_TRUE(WriteFaultFires());
    EXPECT_FALSE(WriteFaultFires());

    FailFileOp(FileOp::Write, 1);
    ClearFileFaults();
    EXPECT_FALSE(WriteFaultFires());
}

TEST_F(Files, ReplaceOverwritesAndStampsSeeChanges) {
    WriteText("\\new", "NEW");
    WriteText("\\old", "OLD");
    FILE* f = OpenFile("\\old", "r");
    ASSERT_NE(f, nullptr);
    FileStamp before;
    ASSERT_TRUE(GetFileStamp(f, before));
    EXPECT_EQ(before.size, 3);
    std::fclose(f);

    FailFileOp(FileOp::Move, 1);
    EXPECT_FALSE(ReplaceFile("\\new", "\\old"));
    EXPECT_EQ(qvtesting::ReadFile(m_root.Str() + "/old"), "OLD");
    EXPECT_TRUE(ReplaceFile("\\new", "\\old"));
    EXPECT_EQ(qvtesting::ReadFile(m_root.Str() + "/old"), "NEW");
    EXPECT_EQ(GetFileKind("\\new"), FileKind::Missing);

    f = OpenFile("\\old", "r");
    ASSERT_NE(f, nullptr);
    FileStamp after;
    ASSERT_TRUE(GetFileStamp(f, after));
    EXPECT_NE(after, before); // another file now stands under the name
    FileStamp again;
    ASSERT_TRUE(GetFileStamp(f, again));
    EXPECT_EQ(again, after);
    std::fclose(f);
    EXPECT_FALSE(GetFileStamp(nullptr, again));
}

namespace {

size_t Entries(const std::string& dir) {
    size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        (void)e;
        ++n;
    }
    return n;
}

} // namespace

// The new file for a rewrite stands beside the file a link finally names, is new, and already
// has that file's mode and owner; a failure leaves nothing behind.
TEST_F(Files, ReplacementFollowsLinksAndKeepsModeAndOwner) {
    namespace fs = std::filesystem;
    const std::string dir = m_root.Str() + "/real";
    fs::create_directories(dir);
    WriteText("\\real\\profile.ini", "OLD");
    const std::string file = dir + "/profile.ini";
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(file.c_str(), 1234, 1235), 0);
    }
    fs::create_symlink(file, m_root.Str() + "/link.ini");
    fs::create_symlink(m_root.Str() + "/link.ini", m_root.Str() + "/link2.ini");

    std::string target;
    std::string temp;
    ASSERT_TRUE(CreateReplacement("\\link2.ini", target, temp));
    EXPECT_EQ(target, fs::canonical(file).string());
    EXPECT_EQ(fs::path(temp).parent_path(), fs::canonical(dir));
    EXPECT_NE(temp, target);
    struct stat st {};
    ASSERT_EQ(stat(temp.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_size, 0);
    if (root) {
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 1235u);
    }
    std::string second;
    std::string temp2;
    ASSERT_TRUE(CreateReplacement(file, second, temp2));
    EXPECT_NE(temp2, temp); // a fresh name each time
    EXPECT_EQ(Entries(dir), 3u);

    ASSERT_TRUE(ReplaceFile(temp, target));
    EXPECT_TRUE(fs::is_symlink(m_root.Str() + "/link.ini"));
    EXPECT_EQ(qvtesting::ReadFile(m_root.Str() + "/link2.ini"), "");
    ASSERT_TRUE(DeleteFile(temp2));

    FailFileOp(FileOp::Open, 1);
    EXPECT_FALSE(CreateReplacement(file, target, temp));
    EXPECT_TRUE(target.empty() && temp.empty());
    EXPECT_FALSE(CreateReplacement("\\missing.ini", target, temp));
    EXPECT_FALSE(CreateReplacement("\\real", target, temp)); // a folder
    EXPECT_EQ(Entries(dir), 1u);
}
