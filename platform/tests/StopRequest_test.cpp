// Stop requests: a real SIGINT or SIGTERM sent to the process sets the flag instead of ending it,
// and cuts a pending wait short. Each case runs in a forked child, since the flag is for the
// whole process and stays set.
#include "platform/StopRequest.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

// Runs body in a child; its exit code (-1 when a signal ended it).
template <typename Body> int InChild(Body body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(StopRequest, SignalsBecomeARequestThatEndsAWaitEarly) {
    for (int sig : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(sig);
        const int code = InChild([sig] {
            platform::InstallStopHandlers();
            if (platform::StopRequested()) return 1;
            std::thread sender([sig] {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                kill(getpid(), sig);
            });
            const auto start = std::chrono::steady_clock::now();
            const bool whole = platform::SleepUnlessStopped(60000);
            const auto waited = std::chrono::steady_clock::now() - start;
            sender.join();
            if (whole) return 2;
            if (waited > std::chrono::seconds(10)) return 3;
            return platform::StopRequested() ? 0 : 4;
        });
        EXPECT_EQ(code, 0);
    }
}

TEST(StopRequest, WaitsRunTheirTimeWithoutARequestAndNotAtAllAfterOne) {
    const int code = InChild([] {
        platform::InstallStopHandlers();
        const auto start = std::chrono::steady_clock::now();
        if (!platform::SleepUnlessStopped(60)) return 1;
        if (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(60)) return 2;
        platform::RequestStop();
        return platform::SleepUnlessStopped(60000) ? 3 : 0;
    });
    EXPECT_EQ(code, 0);
}

TEST(StopRequest, WithoutHandlersASignalKeepsItsDefaultEffect) {
    EXPECT_EQ(InChild([] {
                  kill(getpid(), SIGTERM);
                  return 0;
              }),
              -1);
}

} // namespace
