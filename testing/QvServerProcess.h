// Runs the forecourt server simulator (build/bin/qvserver) for tests and benchmarks: started on its
// own loopback address with its database and log in a given folder, ready once it accepts calls,
// stopped with a chosen signal and reaped. Header-only and free of any test framework.
#pragma once
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "testing/Env.h"

extern char** environ;

namespace qvtesting {

// True when something accepts a TCP connection on the address and port.
inline bool AcceptsConnections(const std::string& address, int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) return false;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, address.c_str(), &to.sin_addr);
    const bool up = ::connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    ::close(s);
    return up;
}

// How one server is started.
struct QvServerLaunch {
    std::string address;            // loopback address it serves on
    std::string folder;             // holds site-<address>.db and qvserver-<address>.log
    std::string seed;               // --seed value; empty gives none
    std::vector<std::string> extra; // further arguments, such as "--fail", "GetPortsCount:2"
    std::chrono::milliseconds readyTimeout{std::chrono::seconds(20)}; // longer for large seeds
    std::string buildDir; // where bin/qvserver is; empty: QvBuildDir()
};

class QvServerProcess {
  public:
    static constexpr int kCallsPort = 5123;

    QvServerProcess() = default;
    ~QvServerProcess() { Stop(); }
    QvServerProcess(const QvServerProcess&) = delete;
    QvServerProcess& operator=(const QvServerProcess&) = delete;

    // Stops an earlier server, starts this one and waits until it accepts calls; false when it
    // could not be started, ended first or was not ready within the launch's timeout.
    bool Start(const QvServerLaunch& launch) {
        Stop();
        m_address = launch.address;
        return Spawn(launch) && WaitReady(launch.readyTimeout);
    }
    // The same with the usual timeout; the seed, if any, among the extra arguments.
    bool Start(const std::string& address, const std::string& folder,
               const std::vector<std::string>& extra = {}) {
        QvServerLaunch launch;
        launch.address = address;
        launch.folder = folder;
        launch.extra = extra;
        return Start(launch);
    }

    // Sends the signal and reaps the server (SIGKILL after ten seconds); the raw wait status
    // (0 after a clean exit), -1 when none was running.
    int Stop(int sig = SIGTERM) {
        if (m_pid <= 0) return -1;
        ::kill(m_pid, sig);
        int status = 0;
        if (!Reap(std::chrono::seconds(10), status)) {
            ::kill(m_pid, SIGKILL);
            while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
            }
        }
        m_pid = 0;
        return status;
    }

    const std::string& Address() const { return m_address; }
    // The running server's process ID, 0 when none runs.
    pid_t Pid() const { return m_pid; }

  private:
    bool Spawn(const QvServerLaunch& launch) {
        const std::string program =
            (launch.buildDir.empty() ? QvBuildDir() : launch.buildDir) + "/bin/qvserver";
        std::vector<std::string> args = {program, "--address", launch.address, "--db",
                                         launch.folder + "/site-" + launch.address + ".db"};
        if (!launch.seed.empty()) args.insert(args.end(), {"--seed", launch.seed});
        args.insert(args.end(), launch.extra.begin(), launch.extra.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const std::string log = launch.folder + "/qvserver-" + launch.address + ".log";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                         0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        const int rc =
            posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) m_pid = 0;
        return rc == 0;
    }

    bool WaitReady(std::chrono::milliseconds timeout) {
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < until) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = 0; // ended before it served
                return false;
            }
            if (AcceptsConnections(m_address, kCallsPort)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    // Waits up to the bound for the server to end; false when it is still running.
    bool Reap(std::chrono::milliseconds bound, int& status) {
        const auto until = std::chrono::steady_clock::now() + bound;
        for (;;) {
            const pid_t r = ::waitpid(m_pid, &status, WNOHANG);
            if (r == m_pid || (r < 0 && errno != EINTR)) return true;
            if (std::chrono::steady_clock::now() > until) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    pid_t m_pid = 0;       // the running server, 0 when none
    std::string m_address; // where it serves
};

// Runs 'qvserver ctl ADDRESS COMMAND' (the test driver: nozzles, flow, clock, ...) against a
// running server; the exit status, 0 when the server accepted the command.
inline int ServerCtl(const std::string& address, const std::string& command) {
    const std::string line =
        QvBuildDir() + "/bin/qvserver ctl " + address + " " + command + " >/dev/null 2>&1";
    const int raw = std::system(line.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

} // namespace qvtesting
