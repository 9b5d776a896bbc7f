#include "platform/Files.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "platform/tests/TempRoot.h"

using namespace platform;

namespace {

std::string ReadAll(const std::string& native) {
    std::ifstream in(native, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteText(std::string_view path, const char* text) {
    FILE* f = OpenFile(path, "wt");
    ASSERT_NE(f, nullptr);
    std::fputs(text, f);
    std::fclose(f);
}

class Files : public ::testing::Test {
  protected:
    void TearDown() override { ClearFileFaults(); }
    TempRoot m_root;
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
    EXPECT_EQ(ReadAll(m_root.Path() + "/Logs/a.L00"), "one\ntwo\n");
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
    EXPECT_EQ(ReadAll(m_root.Path() + "/b"), "B");
    EXPECT_TRUE(MoveFile("\\a", "\\c"));
    EXPECT_EQ(GetFileKind("\\a"), FileKind::Missing);
    EXPECT_FALSE(MoveFile("\\a", "\\d")); // source gone

    EXPECT_FALSE(CopyFile("\\c", "\\b", true));
    EXPECT_EQ(ReadAll(m_root.Path() + "/b"), "B");
    EXPECT_TRUE(CopyFile("\\c", "\\b", false));
    EXPECT_EQ(ReadAll(m_root.Path() + "/b"), "A");
    EXPECT_TRUE(CopyFile("\\c", "\\e", true));
    EXPECT_EQ(ReadAll(m_root.Path() + "/e"), "A");
    EXPECT_FALSE(CopyFile("\\c", "\\c", false)); // onto itself: the file must survive
    EXPECT_EQ(ReadAll(m_root.Path() + "/c"), "A");
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
    EXPECT_EQ(ReadAll(m_root.Path() + "/C/t.bin"), "0123");
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
    EXPECT_EQ(ReadAll(m_root.Path() + "/old"), "OLD");
    EXPECT_TRUE(ReplaceFile("\\new", "\\old"));
    EXPECT_EQ(ReadAll(m_root.Path() + "/old"), "NEW");
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
