// The log writer, board flavour: after a rotation the archiver turns B.L01 into BL01.zip and
// B.L01 goes; without an archiver B.L01 goes all the same; no rotation while one is running.
#include "common/CLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <thread>

#include "common/tests/CLog_test.h"
#include "testing/Run.h"
#include "testing/Wait.h"

using namespace logtest;
namespace fs = std::filesystem;

namespace {

constexpr const char* kBoardBase = "\\DAVozuz\\QVForecourt\\Test";

std::string Board(const char* suffix) {
    return std::string(kBoardBase) + suffix;
}

// Polls until done() holds; the archiver waits 100 ms before it starts, so allow plenty.
bool WaitFor(const std::function<bool()>& done) {
    return qvtesting::WaitFor(done, std::chrono::seconds(30), std::chrono::milliseconds(20));
}

bool Archived(const char* slot) {
    return !FileExists(Board(".L01")) && FileExists(Board(slot));
}

// What the shell command printed on its standard output.
std::string Command(const std::string& cmd) {
    return qvtesting::RunShell(cmd).out;
}

// Eleven 100-byte records and a flush: more than the 1000-byte limit, so the file rotates.
std::string Overfill(CLog& log, char c) {
    std::string text;
    const std::string record(99, c);
    for (int i = 0; i < 11; ++i) {
        log.Write("%s", record.c_str());
        text += record + "\n";
    }
    log.Flush();
    return text;
}

class BoardLogTest : public LogTest {
  protected:
    void InstallArchiver() {
        const char* build = getenv("QV_BUILD_DIR");
        ASSERT_NE(build, nullptr);
        fs::create_symlink(fs::path(build) / "bin" / "QVZip",
                           m_root + "/DAVozuz/QVForecourt/QVZip.exe");
    }
    // An archiver that waits for the test's go-ahead before it runs QVZip.
    void InstallGatedArchiver() {
        const std::string path = m_root + "/DAVozuz/QVForecourt/QVZip.exe";
        WriteFile(path, "#!/bin/sh\n"
                        "while [ ! -e \"$QV_ROOT/go\" ]; do sleep 0.02; done\n"
                        "exec \"$QV_BUILD_DIR/bin/QVZip\" \"$@\"\n");
        fs::permissions(path, fs::perms::owner_all);
    }
    void Go() { WriteFile(m_root + "/go", ""); }
    std::string Unzip(const char* slot) {
        return Command("unzip -p '" + platform::MapPath(Board(slot)) + "'");
    }
};

TEST_F(BoardLogTest, ArchiverTurnsThePreviousLogIntoAZip) {
    InstallArchiver();
    CLog log(kBoardBase, "T", 0, 1000, 3, false, true);
    const std::string first = Overfill(log, 'a');
    ASSERT_TRUE(WaitFor([] { return Archived("L01.zip"); }));
    const std::string listing = Command("unzip -l '" + platform::MapPath(Board("L01.zip")) + "'");
    EXPECT_NE(listing.find("Test.L01"), std::string::npos) << listing;
    EXPECT_EQ(Unzip("L01.zip"), first);

    // Shifts the zip one slot on. The archiver's thread may still be finishing when its files are
    // done, and no rotation starts before it is; a later size check then rotates.
    const std::string second = Overfill(log, 'b');
    ASSERT_TRUE(WaitFor([&log] {
        log.Flush();
        return Archived("L02.zip");
    }));
    ASSERT_TRUE(WaitFor([] { return Archived("L01.zip"); }));
    EXPECT_EQ(Unzip("L01.zip"), second);
    EXPECT_EQ(Unzip("L02.zip"), first);
}

TEST_F(BoardLogTest, NoRotationWhileTheArchiverRuns) {
    InstallGatedArchiver();
    CLog log(kBoardBase, "T", 0, 1000, 3, false, true);
    const std::string first = Overfill(log, 'a');
    const std::string second = Overfill(log, 'b'); // over the limit, but B.L01 is not zipped yet
    EXPECT_EQ(ReadFile(Board(".L00")), second);
    EXPECT_EQ(ReadFile(Board(".L01")), first);
    Go();
    ASSERT_TRUE(WaitFor([] { return Archived("L01.zip"); }));
    EXPECT_EQ(Unzip("L01.zip"), first);

    // The first size check after the archiver's thread is done rotates.
    ASSERT_TRUE(WaitFor([&log] {
        log.Flush();
        return Archived("L02.zip");
    }));
    ASSERT_TRUE(WaitFor([] { return Archived("L01.zip"); }));
    EXPECT_EQ(Unzip("L01.zip"), second);
    EXPECT_EQ(Unzip("L02.zip"), first);
}

TEST_F(BoardLogTest, MissingArchiverStillRemovesThePreviousLog) {
    CLog log(kBoardBase, "T", 0, 1000, 3, false, true);
    Overfill(log, 'a');
    EXPECT_TRUE(FileExists(Board(".L01")));
    ASSERT_TRUE(WaitFor([] { return !FileExists(Board(".L01")); }));
    EXPECT_FALSE(FileExists(Board("L01.zip")));
}

// A short run: the log rotates and the program ends at once. Close waits for the archive step,
// so B.L01 is zipped and gone when Close returns, with nothing waited for by the test.
TEST_F(BoardLogTest, CloseWaitsForTheArchiver) {
    InstallArchiver();
    std::string first;
    {
        CLog log(kBoardBase, "T", 0, 1000, 3, false, true);
        first = Overfill(log, 'a');
        log.Close();
        EXPECT_FALSE(FileExists(Board(".L01")));
        EXPECT_TRUE(FileExists(Board("L01.zip")));
    }
    EXPECT_EQ(Unzip("L01.zip"), first);
    // Destroying a log whose rotation has just happened waits as well.
    {
        CLog log(kBoardBase, "T", 0, 1000, 3, false, true);
        Overfill(log, 'b');
    }
    EXPECT_FALSE(FileExists(Board(".L01")));
    EXPECT_TRUE(FileExists(Board("L02.zip")));
}

// An archiver that never ends holds Close for a few seconds only; B.L01 then stays.
TEST_F(BoardLogTest, CloseWaitIsBounded) {
    InstallGatedArchiver();
    CLog log(kBoardBase, "T", 0, 1000, 3, false, true);
    const std::string first = Overfill(log, 'a');
    const auto start = std::chrono::steady_clock::now();
    log.Close();
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(2500));
    EXPECT_LT(waited, std::chrono::seconds(10));
    EXPECT_EQ(ReadFile(Board(".L01")), first);
    const auto again = std::chrono::steady_clock::now();
    log.Close(); // nothing more to wait for than what still runs: bounded again
    EXPECT_LT(std::chrono::steady_clock::now() - again, std::chrono::seconds(10));
    Go(); // let the archiver finish, so it does not outlive the test's device root
    ASSERT_TRUE(WaitFor([] { return Archived("L01.zip"); }));
}

} // namespace
