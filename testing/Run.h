// Runs a built program (or a shell command line) from a test and captures what it printed:
// standard output through a pipe, standard error through a temporary file (or into standard
// output), the exit code and the raw wait status. Also runs a program or a piece of the test in a
// child whose standard output is a pipe that nobody reads any more.
#pragma once
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "testing/Files.h"

namespace qvtesting {

struct RunResult {
    int exitCode = -1; // the process's exit status (0..255), -1 when it did not end normally
    int status = -1;   // the raw wait status, -1 when the program could not be started
    std::string out;   // standard output
    std::string err;   // standard error (empty when it went into standard output)
};

// How a program is run besides its arguments.
struct RunOptions {
    std::vector<std::string> env; // "NAME=value" entries added to the current environment
    bool errIntoOut = false;      // standard error goes into the standard output pipe
};

// Runs program with args in the current environment (QV_ROOT included) and waits for it.
inline RunResult Run(const std::string& program, const std::vector<std::string>& args,
                     const RunOptions& options = {}) {
    RunResult result;
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return result;
    std::string errPath = (std::filesystem::temp_directory_path() / "qvrun-err-XXXXXX").string();
    const int errFd = options.errIntoOut ? -1 : ::mkstemp(errPath.data());
    std::vector<std::string> all = {program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<std::string> env = options.env;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        ::dup2(pipeFds[1], 1);
        if (options.errIntoOut) ::dup2(pipeFds[1], 2);
        ::close(pipeFds[1]);
        if (errFd >= 0) ::dup2(errFd, 2);
        for (std::string& e : env)
            ::putenv(e.data());
        std::vector<char*> argv;
        for (std::string& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0) result.out.append(buffer, static_cast<size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    if (pid > 0) {
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        result.status = status;
        if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    }
    if (errFd >= 0) {
        ::close(errFd);
        result.err = ReadFile(errPath);
        ::unlink(errPath.c_str());
    }
    return result;
}

// Runs a command line through /bin/sh (redirections and quoting as a shell reads them).
inline RunResult RunShell(const std::string& command, const RunOptions& options = {}) {
    return Run("/bin/sh", {"-c", command}, options);
}

// Runs body in a forked child whose standard output is a pipe with no reader (it goes before the
// fork, so no process holds it) and SIGPIPE at its default action, as at the head of a shell
// pipeline that ended; the child then ends with exitCode. Returns the child's raw wait status,
// -1 when it could not be started.
inline int ForkIntoClosedPipe(const std::function<void()>& body, int exitCode) {
    int fds[2];
    if (::pipe(fds) != 0) return -1;
    ::close(fds[0]);
    std::fflush(stdout);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(SIGPIPE, SIG_DFL);
        ::dup2(fds[1], 1);
        ::close(fds[1]);
        body();
        ::_exit(exitCode);
    }
    ::close(fds[1]);
    if (pid < 0) return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// Runs program with args into a pipe with no reader as ForkIntoClosedPipe does; killed by SIGALRM
// after timeoutSeconds. Returns the raw wait status (exit code 127 when it could not be run).
inline int RunIntoClosedPipe(const std::string& program, const std::vector<std::string>& args,
                             unsigned timeoutSeconds = 60) {
    std::vector<std::string> all = {program};
    all.insert(all.end(), args.begin(), args.end());
    return ForkIntoClosedPipe(
        [&] {
            ::alarm(timeoutSeconds);
            std::vector<char*> argv;
            for (std::string& a : all)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
        },
        127);
}

} // namespace qvtesting
