// The log writer, desktop flavour: record formats, timing, buffering, rotation, moves and
// renames, injected file faults, and many threads at once.
#include "common/CLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <map>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "common/tests/CLog_test.h"
#include "testing/Run.h"

using namespace logtest;

namespace {

// The lines of the log file, without the START line the constructor wrote.
std::vector<std::string> RecordLines(const std::string& file) {
    std::vector<std::string> lines = Lines(ReadFile(file));
    if (!lines.empty() && lines[0].find("***START") != std::string::npos)
        lines.erase(lines.begin());
    return lines;
}

// "dd/dd/dddd dd:dd:dd" at the start of the line.
bool HasDate(const std::string& line) {
    static const char kShape[] = "00/00/0000 00:00:00";
    if (line.size() < sizeof kShape - 1) return false;
    for (size_t k = 0; k + 1 < sizeof kShape; ++k)
        if (kShape[k] == '0' ? !isdigit(static_cast<unsigned char>(line[k])) : line[k] != kShape[k])
            return false;
    return true;
}

// A record of the thread test: "<date>   12ms thread 3 record 00042 payload-...".
bool ParseRecord(const std::string& line, int& thread, int& index) {
    if (!HasDate(line)) return false;
    int ms = 0, used = 0;
    const std::string rest = line.substr(19);
    if (sscanf(rest.c_str(), " %dms thread %d record %d %n", &ms, &thread, &index, &used) != 3)
        return false;
    return rest.substr(used) == "payload-payload-payload-payload";
}

bool IsOtherRecord(const std::string& line) {
    if (!HasDate(line)) return false;
    const std::string rest = line.substr(19);
    return rest == " ***START <T>" || rest == " ****STOP <T>" || rest.rfind(",PROC,STRT,", 0) == 0;
}

} // namespace

// --- records ---------------------------------------------------------------------------------

TEST_F(LogTest, StartRecordsAndStopOnceAfterCloseNothingMore) {
    HookLog log(kBase, "Test 1.0", 1, 1000000, 10, true, true);
    log.m_hook = true;
    g_tick += 7;
    log.Write("hello %d", 42);
    log.Close();
    log.Close();
    log.Write("after close");
    log.WriteEvent(1, 1, 1, 1, "after close");
    log.WriteError(1, "x.cpp", "after close");
    log.Flush();
    EXPECT_EQ(ReadFile(Name(".L00")), std::string(kNow) + " ***START <Test 1.0>\n" +
                                          "     7ms hello 42\n" + kNow + " ****STOP <Test 1.0>\n");
    EXPECT_EQ(log.m_seen.find("after close"), std::string::npos);
}

TEST_F(LogTest, LevelFilter) {
    CLog log(kBase, "T", 0, 1000000, 10, false, true);
    log.Log(2, "level two");
    log.Log(1, "level one");
    log.Log(0, "level zero");
    log.m_level = 2;
    log.Log(2, "now two");
    log.Flush();
    EXPECT_EQ(ReadFile(Name(".L00")), "level one\nlevel zero\nnow two\n");
}

TEST_F(LogTest, PrefixByTimeMode) {
    struct Case {
        int16_t mode;
        std::string expected;
    };
    const std::string now = kNow;
    const Case cases[] = {{0, "msg\n"},
                          {1, "    42ms msg\n"},
                          {2, now + " msg\n"},
                          {3, now + "     42ms msg\n"},
                          {7, "msg\n"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        std::filesystem::remove(platform::MapPath(Name(".L00")));
        CLog log(kBase, "T", c.mode, 1000000, 10, false, true);
        g_tick += 42;
        log.Write("msg");
        log.Flush();
        EXPECT_EQ(ReadFile(Name(".L00")), c.expected);
    }
}

TEST_F(LogTest, TimeLineAtMostOncePerMinute) {
    CLog log(kBase, "T", 1, 1000000, 10, false, true);
    log.Write("a");
    AdvanceSeconds(59);
    log.Write("b");
    AdvanceSeconds(1);
    log.Write("c"); // 60 s after the stamp
    AdvanceSeconds(59);
    log.Write("d");
    AdvanceSeconds(1);
    log.Write("e");
    AdvanceSeconds(-3600); // clock set back: no TIME line
    log.Write("f");
    log.Flush();
    EXPECT_EQ(RecordLines(Name(".L00")),
              (std::vector<std::string>{
                  "     0ms a", "     0ms b", "07/01/2025 16:51:27 ****TIME <T>", "     0ms c",
                  "     0ms d", "07/01/2025 16:52:27 ****TIME <T>", "     0ms e", "     0ms f"}));
}

TEST_F(LogTest, DatedRecordsFollowTheClock) {
    CLog log(kBase, "T", 3, 1000000, 10, false, true);
    log.Write("a");
    AdvanceSeconds(1);
    g_tick += 1000;
    log.Write("b");
    AdvanceSeconds(3600 * 24 * 40);
    log.Write("c");
    log.Flush();
    EXPECT_EQ(RecordLines(Name(".L00")),
              (std::vector<std::string>{"07/01/2025 16:50:27      0ms a",
                                        "07/01/2025 16:50:28   1000ms b",
                                        "16/02/2025 16:50:28      0ms c"}));
}

TEST_F(LogTest, NoTimeLineWithoutTitle) {
    CLog log(kBase, "", 1, 1000000, 10, true, true);
    AdvanceSeconds(120);
    log.Write("a");
    AdvanceSeconds(3600);
    log.Write("b");
    log.Flush();
    EXPECT_EQ(ReadFile(Name(".L00")), "     0ms a\n     0ms b\n");
}

TEST_F(LogTest, RecordTimerCountsFromThePreviousRecordOnlyAndWraps) {
    CLog log(kBase, "T", 1, 1000000, 10, false, true);
    log.Write("a");
    g_tick += 10;
    log.WriteEvent(0, 0, 1, 2, "event");
    log.WriteRaw("raw\n");
    log.WriteError(5, "f.cpp", "err");
    g_tick += 5;
    log.Write("b"); // 15 ms: only records restart the timer
    g_tick = 0xFFFFFFF0u;
    log.Write("c");
    g_tick += 0x20; // wraps past 0
    log.Write("d");
    log.Flush();
    std::vector<std::string> lines = RecordLines(Name(".L00"));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[4], "    15ms b");
    EXPECT_EQ(lines[5], " -1031ms c"); // the tick went back: printed as "%6d" prints it
    EXPECT_EQ(lines[6], "    32ms d");
}

// Messages are formatted without the C library where they can be; every record must read as
// the C library's printf writes it, including what is left to it (floating point, '#', '*').
TEST_F(LogTest, MessagesReadAsPrintfWritesThem) {
    HookLog log(kBase, "T", 0, 1000000, 10, false, true);
    log.m_hook = true;
    std::string expected;
    char text[CLog::kRecordMax + 1];
#define QV_SAME_AS_PRINTF(...)                                                                     \
    do {                                                                                           \
        log.Write(__VA_ARGS__);                                                                    \
        snprintf(text, sizeof text, __VA_ARGS__);                                                  \
        expected += std::string(text) + "\n";                                                      \
    } while (0)
    const char* null = nullptr;
    const std::string long1(1500, 'L');
    QV_SAME_AS_PRINTF("plain text, 100%% sure");
    QV_SAME_AS_PRINTF("record %07d %s|%d|%i|%u", 42, "abc", -7, 0, 4000000000u);
    QV_SAME_AS_PRINTF("[%5d][%-5d][%05d][%+d][% d][%+05d][%-+6d][%.3d][%8.3d][%-8.3d|", 42, 42, -42,
                      42, 42, 42, -3, 7, -7, 7);
    QV_SAME_AS_PRINTF("[%.0d][%5.0d][%x][%X][%08X][%06X][%-4x|][%.4x]", 0, 0, 255, 255, 0xBEEFu,
                      0xFFu, 10u, 10u);
    QV_SAME_AS_PRINTF("[%d][%d][%u][%x]", INT32_MIN, INT32_MAX, UINT32_MAX, UINT32_MAX);
    // Sizes: given as a variable, since the Windows compiler checks formats against its own
    // run-time, which lacks z and hh; long is 32 bits there.
    const std::string sized = "[%ld][%lld][%lu][%llx][%zu][%hd][%hu][%hhd][%hhu]";
    QV_SAME_AS_PRINTF(sized.c_str(), -1234567890L, LLONG_MIN, ULONG_MAX, ULLONG_MAX,
                      static_cast<size_t>(77), 70000, 70000, 300, 300);
    QV_SAME_AS_PRINTF("[%s][%10s][%-10s][%.2s][%8.3s][%-8.3s][%.0s][%.20s]", "text", "text", "text",
                      "text", "text", "text", "text", "short");
    QV_SAME_AS_PRINTF("[%c][%3c][%-3c][%s]", 'a', 'b', 'c', "");
    QV_SAME_AS_PRINTF("[%6.2f][%e][%#x][%*d][%-*d][%.*s][%p]", 3.14159, 1e10, 255, 6, 1, 4, 2, 3,
                      "abcdef", static_cast<void*>(nullptr));
    QV_SAME_AS_PRINTF("%d %s %d", 1, long1.c_str(), 2); // cut at the record's length
    // Formats the compiler would warn about: flags the C library ignores, a null text, a width
    // beyond the record.
    const std::string ignored = "[%08.3d][%-08d][%05.0d]";
    const std::string nulls = "[%s][%%][%-6s]";
    const std::string wide = "%1030d|";
    QV_SAME_AS_PRINTF(ignored.c_str(), -5, 3, 0);
    QV_SAME_AS_PRINTF(nulls.c_str(), null, null);
    QV_SAME_AS_PRINTF(wide.c_str(), 5);
#undef QV_SAME_AS_PRINTF
    log.Flush();
    EXPECT_EQ(log.m_seen, expected);
}

TEST_F(LogTest, LongTextsAreCutAndKeepTheirLineEnd) {
    CLog log(kBase, "T", 1, 1000000, 10, false, true);
    const std::string big(3000, 'x');
    log.Write("%s", big.c_str());
    log.WriteError(12, "f.cpp", "%s", big.c_str());
    log.WriteEvent(2, 2, 1, 1, "%s", big.c_str());
    log.WriteRaw("%s", big.c_str());
    log.Flush();
    std::vector<std::string> lines = Lines(ReadFile(Name(".L00")));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "     0ms " + std::string(1024 - 9, 'x'));
    EXPECT_EQ(lines[1].size(), 1024u);
    EXPECT_EQ(lines[1].substr(0, 50), std::string(kNow) + " ***ERROR line 12 in <f.cpp> xx");
    EXPECT_EQ(lines[2],
              std::string(kNow) + ",TANK,STRT,     1,     1,\"" + std::string(79, 'x') + "\"");
    EXPECT_EQ(lines[3], std::string(1023, 'x')); // raw text: no line end of its own
}

TEST_F(LogTest, EventRecordsReachTheFileAtOnce) {
    CLog log(kBase, "T", 1, 1000000, 10, false, true);
    const std::string now = kNow;
    struct Case {
        int32_t category, action, id, value;
        std::string expected;
    };
    const Case cases[] = {
        {5, 0, 255, 3, now + ",QVID,INIT,0000FF,     3,\"m\""},
        {1, 2, 12, -4, now + ",PUMP,STRT,    12,    -4,\"m\""},
        {16, 14, 1, 1, now + ",USER,RSET,     1,     1,\"m\""},
        {10, 13, 1, 1, now + ",POS ,MEM ,     1,     1,\"m\""},
        {17, 15, 1, 1, now + ",*UNK,*UNK,     1,     1,\"m\""},
        {-1, -1, 1, 1, now + ",*UNK,*UNK,     1,     1,\"m\""},
    };
    for (const Case& c : cases) {
        log.WriteEvent(c.category, c.action, c.id, c.value, "m");
        EXPECT_EQ(Lines(ReadFile(Name(".L00"))).back(), c.expected); // no flush needed
    }
}

TEST_F(LogTest, Dumps) {
    struct Case {
        std::vector<uint8_t> bytes;
        const char* prefix;
        int32_t number, kind;
        std::string expected;
    };
    const Case cases[] = {
        {{0x02, 'A', 'B', 0x03}, nullptr, 7, 2, "Len 004 RX 07 [02]\"AB\"[03]"},
        {{0x02, 'A', 'B', 0x03}, "USB", -1, 2, "USB Len 004 RX [02]\"AB\"[03]"},
        {{'1', '2', 'a', 'b'}, nullptr, -1, 1, "Len 004 RX \"12\"[61 62]"},
        {{'1', '2'}, nullptr, -1, 0, "Len 002 RX [31 32]"},
        {{'}', '~'}, nullptr, -1, 2, "Len 002 RX \"}\"[7E]"},
        {{}, nullptr, 3, 2, "Len 000 RX 03 "},
    };
    for (const Case& c : cases) {
        CLog log(kBase, "T", 0, 1000000, 10, false, true);
        log.WriteDump("RX", c.prefix, c.bytes.data(), static_cast<int32_t>(c.bytes.size()),
                      c.number, c.kind);
        log.Close();
        EXPECT_EQ(Lines(ReadFile(Name(".L00")))[0], c.expected);
        std::filesystem::remove(platform::MapPath(Name(".L00")));
    }
    // A dump too long for one record still closes its run and its line.
    CLog log(kBase, "T", 0, 1000000, 10, false, true);
    const std::vector<uint8_t> many(600, 0xAB);
    log.WriteDump("RX", nullptr, many.data(), 600, -1, 2);
    log.Flush();
    const std::string line = Lines(ReadFile(Name(".L00")))[0];
    EXPECT_LE(line.size(), 1024u);
    EXPECT_EQ(line.back(), ']');
}

// --- buffering and outputs -------------------------------------------------------------------

TEST_F(LogTest, RecordsWaitInTheBufferUntilItFillsOrIsFlushed) {
    HookLog log(kBase, "T", 0, 1000000, 10, false, false); // closed after each output
    log.m_hook = true;
    const std::string record(99, 'r'); // 100 bytes with the line end
    for (int i = 0; i < 40; ++i)
        log.Write("%s", record.c_str());
    EXPECT_EQ(ReadFile(Name(".L00")), "");
    log.Write("%s", record.c_str()); // 41 x 100 bytes > 4096
    EXPECT_EQ(ReadFile(Name(".L00")).size(), 4000u);
    log.FlushIfIdle();
    EXPECT_EQ(ReadFile(Name(".L00")).size(), 4000u); // not idle yet
    g_tick += 499;
    log.FlushIfIdle();
    EXPECT_EQ(ReadFile(Name(".L00")).size(), 4000u);
    g_tick += 1;
    log.FlushIfIdle();
    EXPECT_EQ(ReadFile(Name(".L00")).size(), 4100u);
    EXPECT_EQ(log.m_seen, ReadFile(Name(".L00")));
}

TEST_F(LogTest, FileOffAndFailingFileStillFeedTheHook) {
    HookLog log("C:\\Missing\\Dir\\Test", "T", 0, 1000000, 10, false, true);
    log.m_hook = true;
    log.Write("one");
    log.Flush();
    log.EnableFile(false);
    log.Write("two");
    log.Flush();
    EXPECT_EQ(log.m_seen, "one\ntwo\n");
    EXPECT_FALSE(FileExists("C:\\Missing\\Dir\\Test.L00"));
}

TEST_F(LogTest, SetBaseKeepsBufferedRecordsInTheOldFile) {
    CLog log(kBase, "T", 0, 1000000, 10, true, true);
    log.Write("old");
    log.SetBase("C:\\QVForecourt\\log\\Other");
    log.Write("new");
    log.Close();
    EXPECT_EQ(RecordLines(Name(".L00")), (std::vector<std::string>{"old"}));
    std::vector<std::string> other = Lines(ReadFile("C:\\QVForecourt\\log\\Other.L00"));
    ASSERT_EQ(other.size(), 3u);
    EXPECT_EQ(other[0], std::string(kNow) + " ***START <T>");
    EXPECT_EQ(other[1], "new");
    EXPECT_EQ(log.FileName().Compare("C:\\QVForecourt\\log\\Other.L00"), 0);
}

TEST_F(LogTest, SetPathNewDirectoryStartsAFreshFileThereSameDirectoryStopsAndStarts) {
    const std::string logs = platform::MapPath("C:\\Logs"); // on Windows, the machine's own
    std::filesystem::remove_all(logs);
    std::filesystem::create_directories(logs);
    CLog log(kBase, "T", 0, 1000000, 10, true, true);
    log.Write("discarded");
    CStr dir("C:\\Logs");
    log.SetPath(dir, 500, 3);
    EXPECT_EQ(dir.Compare("C:\\Logs\\Test"), 0);
    EXPECT_EQ(log.FileName().Compare("C:\\Logs\\Test.L00"), 0);
    EXPECT_FALSE(FileExists(Name(".L00")));
    EXPECT_EQ(log.m_maxSize, 500);
    EXPECT_EQ(log.m_maxFiles, 3);
    log.Write("first");
    CStr same("C:\\Logs");
    log.SetPath(same, 600, 4);
    log.Write("second");
    log.Close();
    const std::string now = kNow;
    EXPECT_EQ(Lines(ReadFile("C:\\Logs\\Test.L00")),
              (std::vector<std::string>{now + " ***START <T>", "first", now + " ****STOP <T>",
                                        now + " ***START <T>", "second", now + " ****STOP <T>"}));
}

// --- rotation --------------------------------------------------------------------------------

class RotateTest : public LogTest {
  protected:
    // Fills slots BL01.zip..BLnn.zip with "zip n" and B.L01 with "old".
    void SeedArchives(int slots) {
        for (int i = 1; i <= slots; ++i)
            WriteFile(Slot(i), "zip " + std::to_string(i));
        WriteFile(Name(".L01"), "old");
    }
    static std::string Slot(int i) {
        char name[16];
        snprintf(name, sizeof name, "L%02d.zip", i);
        return std::string(kBase) + name;
    }
    // A file of exactly 'size' bytes of records, then a size check.
    static void FillAndCheck(CLog& log, int size) {
        for (; size > 100; size -= 100)
            log.Write("%s", std::string(99, 'a').c_str());
        log.Write("%s", std::string(size - 1, 'b').c_str());
        log.Flush();
    }
};

TEST_F(RotateTest, ExactSizeStaysOneByteMoreRotates) {
    CLog log(kBase, "T", 0, 1000, 10, false, true);
    FillAndCheck(log, 1000);
    EXPECT_FALSE(FileExists(Name(".L01")));
    EXPECT_EQ(ReadFile(Name(".L00")).size(), 1000u);
    log.WriteRaw("x");
    log.Flush();
    EXPECT_EQ(ReadFile(Name(".L01")).size(), 1001u);
    EXPECT_EQ(ReadFile(Name(".L00")), "");
    log.Write("after");
    log.Flush(); // the new file is the kept-open B.L00, without a START record
    EXPECT_EQ(ReadFile(Name(".L00")), "after\n");
}

TEST_F(RotateTest, TenSlotsShiftByOne) {
    SeedArchives(10);
    CLog log(kBase, "T", 0, 1000, 10, false, true);
    FillAndCheck(log, 1001);
    EXPECT_EQ(ReadFile(Name(".L01")).size(), 1001u);
    EXPECT_FALSE(FileExists(Slot(1))); // filled only by the board's archiver
    for (int i = 2; i <= 10; ++i)
        EXPECT_EQ(ReadFile(Slot(i)), "zip " + std::to_string(i - 1));
    EXPECT_FALSE(FileExists(Slot(11)));
}

TEST_F(RotateTest, OneSlotOrNoneShiftsNoArchive) {
    for (int16_t slots : {1, 0}) {
        std::filesystem::remove(platform::MapPath(Name(".L00")));
        SeedArchives(2);
        CLog log(kBase, "T", 0, 1000, slots, false, true);
        FillAndCheck(log, 1001);
        EXPECT_EQ(ReadFile(Name(".L01")).size(), 1001u);
        EXPECT_EQ(ReadFile(Slot(1)), "zip 1");
        EXPECT_EQ(ReadFile(Slot(2)), "zip 2");
    }
}

TEST_F(RotateTest, EventsAndIdleFlushCheckTheSizeEvenWhenTheFileIsNotKeptOpen) {
    CLog log(kBase, "T", 0, 1000, 10, false, false);
    FillAndCheck(log, 900);
    log.WriteEvent(1, 1, 1, 1, "%s", std::string(70, 'e').c_str());
    EXPECT_GT(ReadFile(Name(".L01")).size(), 1000u);
    for (int i = 0; i < 11; ++i)
        log.Write("%s", std::string(99, 'a').c_str());
    g_tick += 500;
    log.FlushIfIdle();
    EXPECT_EQ(ReadFile(Name(".L01")).size(), 1100u);
}

TEST_F(RotateTest, FailedRenameKeepsTheRecordsInTheCurrentFile) {
    CLog log(kBase, "T", 0, 1000, 1, false, true);
    platform::FailFileOp(platform::FileOp::Move, 1);
    FillAndCheck(log, 1001);
    EXPECT_EQ(ReadFile(Name(".L00")).size(), 1001u);
    log.Write("more");
    log.Flush(); // the next check rotates
    EXPECT_EQ(ReadFile(Name(".L01")).size(), 1006u);
}

TEST_F(RotateTest, FailedDeleteLeavesBothFiles) {
    SeedArchives(0);
    CLog log(kBase, "T", 0, 1000, 1, false, true);
    platform::FailFileOp(platform::FileOp::Delete, 1);
    FillAndCheck(log, 1001);
    EXPECT_EQ(ReadFile(Name(".L01")), "old");
    EXPECT_EQ(ReadFile(Name(".L00")).size(), 1001u);
}

TEST_F(RotateTest, FailedDeleteInTheArchiveChainStopsOnlyThatStep) {
    SeedArchives(3);
    CLog log(kBase, "T", 0, 1000, 3, false, true);
    platform::FailFileOp(platform::FileOp::Delete, 1); // BL03.zip stays, BL02.zip cannot move
    FillAndCheck(log, 1001);
    EXPECT_EQ(ReadFile(Slot(3)), "zip 3");
    EXPECT_EQ(ReadFile(Slot(2)), "zip 1");
    EXPECT_EQ(ReadFile(Name(".L01")).size(), 1001u);
}

// --- threads ---------------------------------------------------------------------------------

// Four threads log 10,000 records each through several rotations: every record arrives once,
// whole, in its thread's order, and the files hold only whole records.
TEST_F(LogTest, ManyThreadsLoseAndTearNothing) {
    platform::SetTickSource(nullptr);
    platform::SetClockSource(nullptr); // real clocks: dates formatted by all threads at once
    constexpr int kThreads = 4;
    constexpr int kRecords = 10000;
    HookLog log(kBase, "T", 3, 200000, 3, true, true);
    log.m_hook = true;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&log, t] {
            for (int i = 0; i < kRecords; ++i) {
                log.Write("thread %d record %05d %s", t, i, "payload-payload-payload-payload");
                if (i % 1000 == 999) log.Flush();
                if (i % 2500 == 0) log.WriteEvent(9, 2, t, i, "t%d", t);
            }
        });
    }
    for (std::thread& th : threads)
        th.join();
    log.Close();

    std::map<int, int> next;
    for (const std::string& line : Lines(log.m_seen)) {
        int t = 0, i = 0;
        if (ParseRecord(line, t, i)) {
            EXPECT_EQ(i, next[t]) << line;
            next[t] = i + 1;
        } else {
            EXPECT_TRUE(IsOtherRecord(line)) << line;
        }
    }
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(next[t], kRecords);

    const std::string previous = ReadFile(Name(".L01"));
    // Rotated at least once (4 x 10,000 x 70 bytes: more): L01 reached the 200,000-byte limit,
    // less the carriage returns where the file is read in text mode (Windows).
    EXPECT_GT(previous.size(), 190000u);
    int t = 0, i = 0;
    for (const std::string& line : Lines(previous + ReadFile(Name(".L00"))))
        EXPECT_TRUE(ParseRecord(line, t, i) || IsOtherRecord(line)) << line;
}

// Screen output into a pipe whose reader has gone (a program piped into "head"): the run goes
// on, and the file still receives every record and the STOP record.
TEST_F(LogTest, ScreenIntoAClosedPipeKeepsTheRunGoing) {
    const int status = qvtesting::ForkIntoClosedPipe(
        [] {
            CLog log(kBase, "T", 0, 100000000, 3, true, true);
            log.m_screen = true;
            const std::string record(1000, 'r');
            for (int i = 0; i < 300; ++i) {
                log.Write("%d %s", i, record.c_str());
                log.Flush();
            }
            log.Write("last");
            log.Close();
        },
        7);
    ASSERT_NE(status, -1);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7) << status;
    const std::vector<std::string> lines = Lines(ReadFile(std::string(kBase) + ".L00"));
    ASSERT_EQ(lines.size(), 303u);
    EXPECT_EQ(lines[301], "last");
    EXPECT_NE(lines[302].find("****STOP <T>"), std::string::npos);
}
