// The log writer's console output seen from another process: a child writes, this test reads
// its standard output through a pipe. POSIX only (fork); the Windows build leaves it out.
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "common/CLog.h"
#include "common/tests/CLog_test.h"

using namespace logtest;

// The console shows each record as it is written, while the file still waits for its buffer to
// fill: a reader of the program's output pipe sees the record before the program goes on.
TEST_F(LogTest, ConsoleShowsEachRecordAtOnceWhileTheFileWaits) {
    int out[2];
    int go[2];
    ASSERT_EQ(pipe(out), 0);
    ASSERT_EQ(pipe(go), 0);
    std::fflush(stdout);
    const pid_t pid = fork();
    ASSERT_NE(pid, -1);
    if (pid == 0) {
        close(out[0]);
        close(go[1]);
        dup2(out[1], STDOUT_FILENO);
        {
            CLog log(kBase, "T", 0, 1000000, 3, true, true);
            log.m_screen = true;
            log.Write("first %d", 1);
            char c;
            if (read(go[0], &c, 1) != 1) _exit(3); // the parent has looked
            log.Write("second");
        }
        _exit(0);
    }
    close(out[1]);
    close(go[0]);
    // START went to the file with the size check at construction, before the screen was on.
    const std::string start = std::string(kNow) + " ***START <T>\n";
    std::string seen;
    char buf[256];
    pollfd pfd{out[0], POLLIN, 0};
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (seen.size() < 8 && std::chrono::steady_clock::now() < until) {
        if (poll(&pfd, 1, 100) <= 0) continue;
        const ssize_t n = read(out[0], buf, sizeof buf);
        if (n <= 0) break;
        seen.append(buf, static_cast<size_t>(n));
    }
    EXPECT_EQ(seen, "first 1\n");
    EXPECT_EQ(ReadFile(Name(".L00")), start); // the file still waits for the buffer
    EXPECT_EQ(write(go[1], "g", 1), 1);
    close(go[1]);
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;)
        seen.append(buf, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(seen, "first 1\nsecond\n"); // STOP goes to the file only
    EXPECT_EQ(ReadFile(Name(".L00")),
              start + "first 1\nsecond\n" + std::string(kNow) + " ****STOP <T>\n");
}
