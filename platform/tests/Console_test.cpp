// Console output into a pipe whose reader has gone: the writer goes on and ends normally.
#include "platform/Console.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "testing/Run.h"

namespace {

constexpr int kFinished = 7; // exit code of a child that got through its writes

// Runs body in a child whose standard output is a pipe with no reader, with SIGPIPE at its
// default action as a program starts; returns the child's wait status.
int RunIntoClosedPipe(const std::function<void()>& body) {
    return qvtesting::ForkIntoClosedPipe(
        [&] {
            body();
            std::fflush(stdout);
        },
        kFinished);
}

bool Finished(int status) {
    return WIFEXITED(status) && WEXITSTATUS(status) == kFinished;
}

const std::string kChunk(65536, 'x'); // more than a pipe holds

TEST(ConsoleTest, WritesIntoAClosedPipeFailQuietly) {
    // Without the preparation the first write ends the process, as the fault looked.
    int status = RunIntoClosedPipe([] { std::fwrite(kChunk.data(), 1, kChunk.size(), stdout); });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) << status;

    status = RunIntoClosedPipe([] {
        platform::PrepareConsole();
        std::printf("%s", kChunk.c_str()); // a program's own printf survives as well
        std::fflush(stdout);
        if (platform::WriteConsole(kChunk.data(), kChunk.size())) _exit(1);
        std::fflush(stdout);
        if (platform::WriteConsole(kChunk.data(), kChunk.size())) _exit(2); // still tried
    });
    EXPECT_TRUE(Finished(status)) << status;

    // WriteConsole prepares the process itself when the entry did not.
    status = RunIntoClosedPipe([] {
        for (int i = 0; i < 4; ++i)
            platform::WriteConsole(kChunk.data(), kChunk.size());
    });
    EXPECT_TRUE(Finished(status)) << status;
}

TEST(ConsoleTest, WritesReachStandardOutput) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        dup2(fds[1], STDOUT_FILENO);
        std::printf("one ");
        bool ok = platform::WriteConsole("two", 3);
        std::fflush(stdout);
        _exit(ok ? kFinished : 1);
    }
    close(fds[1]);
    std::string out;
    char buf[64];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;)
        out.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(Finished(status));
    EXPECT_EQ(out, "one two");
}

} // namespace
