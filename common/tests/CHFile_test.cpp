#include "common/CHFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/Files.h"
#include "testing/Files.h"
#include "testing/TempDir.h"

namespace fs = std::filesystem;

namespace {

// Each test works in its own device root; files are named by native paths inside it.
class CHFileTest : public ::testing::Test {
  protected:
    void TearDown() override { platform::ClearFileFaults(); }
    std::string PathOf(const char* name) const { return (m_root / name).string(); }
    void WriteFile(const char* name, const std::string& content) const {
        qvtesting::WriteFile(m_root / name, content);
    }
    std::string ReadFile(const char* name) const { return qvtesting::ReadFile(m_root / name); }
    qvtesting::DeviceRoot m_device{"chfile-test"};
    const fs::path& m_root = m_device.Dir();
};

TEST_F(CHFileTest, WritableOpenCreatesAMissingFileEmpty) {
    std::string path = PathOf("new.ini");
    CHFile reader(path.c_str(), false, "rb", "r+b");
    EXPECT_FALSE(reader.Open());
    EXPECT_FALSE(fs::exists(path));

    CHFile writer(path.c_str(), true, "rb", "r+b");
    ASSERT_TRUE(writer.Open());
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(writer.Size(), 0);
    // "r+b" keeps what is there: a second open does not truncate.
    EXPECT_GE(writer.PutString("[Log]\n"), 0);
    writer.Close();
    ASSERT_TRUE(writer.Open());
    EXPECT_EQ(writer.Size(), 6);
}

TEST_F(CHFileTest, DefaultsAndModeSwitching) {
    WriteFile("a.txt", "abc");
    CHFile file;
    EXPECT_EQ(file.GetName().Length(), 0);
    EXPECT_FALSE(file.Open()); // empty path
    file.SetName(PathOf("a.txt").c_str());
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.SetWritable(false)); // unchanged flag: reports the (closed) state
    ASSERT_TRUE(file.Open());
    EXPECT_TRUE(file.SetWritable(false));
    EXPECT_EQ(file.PutChar('x'), EOF);   // "rb" does not write
    ASSERT_TRUE(file.SetWritable(true)); // reopens with "r+b"
    EXPECT_EQ(file.PutChar('x'), 'x');
    file.Close();
    EXPECT_EQ(ReadFile("a.txt"), "xbc");
}

TEST_F(CHFileTest, WritesReadsAndPositions) {
    std::string path = PathOf("data.bin");
    CHFile file;
    ASSERT_TRUE(file.OpenAs(path.c_str(), true, "rb", "r+b"));
    EXPECT_EQ(file.WriteBytes("12345", 5), 5);
    EXPECT_GE(file.PutString("line one\n"), 0);
    EXPECT_EQ(file.PutChar('Z'), 'Z');
    EXPECT_EQ(file.Print("%s=%d\n", "Key", 42), 7);
    EXPECT_TRUE(file.Flush());
    EXPECT_EQ(file.Size(), 22);

    FilePos pos = 99;
    ASSERT_TRUE(file.Seek(5, SEEK_SET));
    ASSERT_TRUE(file.GetPos(pos));
    EXPECT_EQ(pos, 5);
    char line[64];
    ASSERT_NE(file.ReadLine(line, sizeof line), nullptr);
    EXPECT_STREQ(line, "line one\n");
    EXPECT_EQ(file.GetChar(), 'Z');
    EXPECT_EQ(file.Size(), 22);                 // measuring keeps the position
    ASSERT_NE(file.ReadLine(line, 4), nullptr); // at most size - 1 bytes
    EXPECT_STREQ(line, "Key");
    ASSERT_TRUE(file.SetPos(pos));
    char bytes[8] = {};
    EXPECT_EQ(file.Read(bytes, 4), 4);
    EXPECT_STREQ(bytes, "line");
    EXPECT_FALSE(file.AtEnd());
    ASSERT_TRUE(file.Seek(-2, SEEK_END));
    EXPECT_EQ(file.Read(bytes, 8), 2);
    EXPECT_TRUE(file.AtEnd());
    EXPECT_EQ(file.ReadLine(line, sizeof line), nullptr);
}

TEST_F(CHFileTest, ClosedFileFailsQuietly) {
    CHFile file(PathOf("none").c_str(), true, "rb", "r+b");
    char buffer[8];
    FilePos pos = 5;
    EXPECT_FALSE(file.GetPos(pos));
    EXPECT_EQ(pos, 0);
    EXPECT_FALSE(file.SetPos(pos));
    EXPECT_EQ(file.Read(buffer, 8), 0);
    EXPECT_EQ(file.ReadLine(buffer, 8), nullptr);
    EXPECT_EQ(file.GetChar(), 0);
    EXPECT_EQ(file.WriteBytes("ab", 2), 0);
    EXPECT_EQ(file.PutString("ab"), EOF);
    EXPECT_EQ(file.PutChar('a'), EOF);
    EXPECT_EQ(file.Print("%d", 1), 0);
    EXPECT_FALSE(file.Flush());
    EXPECT_FALSE(file.Seek(0, SEEK_SET));
    EXPECT_FALSE(file.Truncate());
    EXPECT_TRUE(file.AtEnd());
    EXPECT_FALSE(fs::exists(PathOf("none")));
}

TEST_F(CHFileTest, SizeOfAClosedFileLeavesItClosed) {
    WriteFile("sized.txt", std::string(1234, 'q'));
    CHFile file(PathOf("sized.txt").c_str(), true, "rb", "r+b");
    EXPECT_EQ(file.Size(), 1234);
    EXPECT_FALSE(file.IsOpen());

    CHFile missing(PathOf("missing.txt").c_str(), true, "rb", "r+b");
    EXPECT_EQ(missing.Size(), -1);
    EXPECT_FALSE(fs::exists(PathOf("missing.txt"))); // measuring does not create it
}

TEST_F(CHFileTest, ExistsAndDirExistsTellFilesFromDirectories) {
    fs::create_directory(m_root / "logs");
    WriteFile("plain.txt", "x");
    CHFile dir(PathOf("logs").c_str(), false, "rb", "r+b");
    EXPECT_FALSE(dir.Exists());
    EXPECT_TRUE(dir.DirExists());

    CHFile file(PathOf("plain.txt").c_str(), false, "rb", "r+b");
    ASSERT_TRUE(file.Open());
    EXPECT_TRUE(file.Exists());
    EXPECT_FALSE(file.IsOpen()); // the tests close the file first
    EXPECT_FALSE(file.DirExists());

    CHFile missing(PathOf("gone").c_str(), false, "rb", "r+b");
    EXPECT_FALSE(missing.Exists());
    EXPECT_FALSE(missing.DirExists());
    CHFile empty;
    EXPECT_FALSE(empty.Exists());
    EXPECT_FALSE(empty.DirExists());
}

TEST_F(CHFileTest, BoardPathsLandInTheDeviceRoot) {
    fs::create_directories(m_root / "DAVozuz" / "QVForecourt");
    CHFile file("\\DAVozuz\\QVForecourt\\Ostrel.ini", true, "rb", "r+b");
    ASSERT_TRUE(file.Open());
    EXPECT_GE(file.PutString("[Log]\n"), 0);
    file.Close();
    EXPECT_EQ(ReadFile("DAVozuz/QVForecourt/Ostrel.ini"), "[Log]\n");
    EXPECT_TRUE(file.Exists());
}

TEST_F(CHFileTest, TextModesOpenAndAppend) {
    std::string path = PathOf("B.L00");
    CHFile log(path.c_str(), true, "rt", "a+t");
    ASSERT_TRUE(log.Open());
    EXPECT_GE(log.PutString("first\n"), 0);
    log.Close();
    ASSERT_TRUE(log.Open());
    EXPECT_GE(log.PutString("second\n"), 0);
    log.Close();
    EXPECT_EQ(ReadFile("B.L00"), "first\nsecond\n");
    ASSERT_TRUE(log.SetWritable(false));
    char line[32];
    ASSERT_NE(log.ReadLine(line, sizeof line), nullptr);
    EXPECT_STREQ(line, "first\n");
}

TEST_F(CHFileTest, RenameTakesTheNewPathEvenWhenTheMoveFails) {
    WriteFile("old.txt", "old");
    WriteFile("taken.txt", "taken");
    CHFile file(PathOf("old.txt").c_str(), false, "rb", "r+b");
    ASSERT_TRUE(file.Open());
    EXPECT_FALSE(file.Rename(PathOf("taken.txt").c_str())); // the target exists
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.GetName().Compare(PathOf("taken.txt").c_str()), 0);
    EXPECT_EQ(ReadFile("taken.txt"), "taken");

    file.SetName(PathOf("old.txt").c_str());
    EXPECT_TRUE(file.Rename(PathOf("new.txt").c_str()));
    EXPECT_FALSE(fs::exists(PathOf("old.txt")));
    EXPECT_EQ(ReadFile("new.txt"), "old");
    EXPECT_TRUE(file.Exists());
}

TEST_F(CHFileTest, DeleteClosesAndRemoves) {
    WriteFile("del.txt", "x");
    CHFile file(PathOf("del.txt").c_str(), true, "rb", "r+b");
    ASSERT_TRUE(file.Open());
    EXPECT_TRUE(file.Delete());
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(fs::exists(PathOf("del.txt")));
    EXPECT_FALSE(file.Delete());
}

TEST_F(CHFileTest, TruncateCutsAtTheCurrentPosition) {
    WriteFile("cut.txt", "0123456789");
    CHFile file(PathOf("cut.txt").c_str(), true, "rb", "r+b");
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(file.Seek(4, SEEK_SET));
    EXPECT_TRUE(file.Truncate());
    EXPECT_EQ(file.Size(), 4);
    file.Close();
    EXPECT_EQ(ReadFile("cut.txt"), "0123");
}

TEST_F(CHFileTest, InjectedFaultsComeBackAsFailures) {
    std::string path = PathOf("faults.txt");
    CHFile file(path.c_str(), true, "rb", "r+b");
    ASSERT_TRUE(file.Open());
    platform::FailFileOp(platform::FileOp::Write, 1);
    EXPECT_EQ(file.WriteBytes("abc", 3), 0);
    EXPECT_EQ(file.WriteBytes("abc", 3), 3);
    platform::FailFileOp(platform::FileOp::Commit, 1);
    EXPECT_FALSE(file.Flush());
    EXPECT_TRUE(file.Flush());
    platform::FailFileOp(platform::FileOp::Truncate, 1);
    EXPECT_FALSE(file.Truncate());
    file.Close();

    WriteFile("ro.txt", "x");
    CHFile reader(PathOf("ro.txt").c_str(), false, "rb", "r+b");
    platform::FailFileOp(platform::FileOp::Open, 1);
    EXPECT_FALSE(reader.Open());
    EXPECT_TRUE(reader.Open());
}

// Another program may delete or rewrite a file that is held open here (a kept-open profile):
// on Windows only when the file was opened with every share mode.
TEST_F(CHFileTest, AnOpenFileMayBeDeletedByAnotherProgram) {
    WriteFile("held.ini", "[A]\r\n");
    CHFile held(PathOf("held.ini").c_str(), true, "rb", "r+b");
    ASSERT_TRUE(held.Open());
    std::error_code ec;
    EXPECT_TRUE(fs::remove(PathOf("held.ini"), ec)) << ec.message();
    held.Close();
    EXPECT_FALSE(fs::exists(PathOf("held.ini")));
}

} // namespace
