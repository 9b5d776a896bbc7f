#include "platform/Console.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

// Runs `body` in a child whose standard output is a pipe without a reader and whose SIGPIPE
// has its default action; returns the child's wait status.
template <typename Body> int RunWithClosedStdout(Body body) {
    int fds[2];
    EXPECT_EQ(pipe(fds), 0);
    close(fds[0]);
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGPIPE, SIG_DFL);
        dup2(fds[1], 1);
        close(fds[1]);
        _exit(body());
    }
    close(fds[1]);
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

TEST(Console, WritesIntoAClosedPipeFailQuietlyOnceIgnored) {
    const int ignored = RunWithClosedStdout([] {
        platform::IgnoreClosedConsole();
        platform::IgnoreClosedConsole(); // twice is harmless
        const bool rawFailed = write(1, "x", 1) == -1 && errno == EPIPE;
        std::fputs("through stdio\n", stdout);
        const bool stdioFailed = std::fflush(stdout) == EOF;
        return rawFailed && stdioFailed ? 7 : 1;
    });
    ASSERT_TRUE(WIFEXITED(ignored)) << "the process was ended by a signal";
    EXPECT_EQ(WEXITSTATUS(ignored), 7) << "the writes must report their failure";

    const int unguarded = RunWithClosedStdout([] {
        (void)!write(1, "x", 1);
        return 0;
    });
    EXPECT_TRUE(WIFSIGNALED(unguarded) && WTERMSIG(unguarded) == SIGPIPE)
        << "without the call the default action still ends the process";
}

} // namespace
