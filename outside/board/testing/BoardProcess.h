// Runs the board simulator (build/bin/qvboard run) for tests: on a device root of the test's
// choosing, ready once its services host answers, stopped with SIGTERM and reaped. Also runs
// "qvboard ctl" commands and returns their output. Header-only, free of any test framework.
#pragma once
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace qvtesting {

class BoardProcess {
  public:
    BoardProcess() = default;
    ~BoardProcess() { Stop(); }
    BoardProcess(const BoardProcess&) = delete;
    BoardProcess& operator=(const BoardProcess&) = delete;

    // The board's standard output and error (its services' console output) go to this file
    // from the next Start on; empty: the test's own.
    void SetOutput(const std::string& path) { m_output = path; }

    // Starts "qvboard run --root ROOT OPTIONS..." and waits (up to readyMs) until its services
    // host has booted; false when it did not come up.
    bool Start(const std::string& root, const std::vector<std::string>& options = {},
               int readyMs = 30000) {
        Stop();
        m_root = root;
        std::vector<std::string> args = {Program(), "run", "--root", root};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        if (!m_output.empty()) {
            posix_spawn_file_actions_addopen(&files, 1, m_output.c_str(),
                                             O_WRONLY | O_CREAT | O_APPEND, 0644);
            posix_spawn_file_actions_adddup2(&files, 1, 2);
        }
        const int r = posix_spawn(&m_pid, args[0].c_str(), &files, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&files);
        if (r != 0) {
            m_pid = -1;
            return false;
        }
        return WaitHostReady(readyMs);
    }

    // Waits until the services host answers (after a boot or a watchdog reset).
    bool WaitHostReady(int ms) {
        for (int waited = 0; waited < ms; waited += 20) {
            if (!Running()) return false;
            if (Answers(m_root + "/.board/services")) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    // SIGTERM, then the board's exit status (-1 when it had to be killed or was not running).
    int Stop(int ms = 60000) {
        if (m_pid <= 0) return -1;
        kill(m_pid, SIGTERM);
        int status = 0;
        for (int waited = 0; waited < ms; waited += 10) {
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        kill(m_pid, SIGKILL);
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        return -1;
    }

    bool Running() {
        if (m_pid <= 0) return false;
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) m_pid = -1;
        return m_pid > 0;
    }

    // Output of "qvboard ctl --root ROOT ARGS" (stderr included); exitCode its exit code.
    std::string Ctl(const std::string& args, int* exitCode = nullptr) const {
        const std::string cmd = Program() + " ctl --root '" + m_root + "' " + args + " 2>&1";
        std::string out;
        FILE* p = popen(cmd.c_str(), "r");
        if (p == nullptr) return out;
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        const int status = pclose(p);
        if (exitCode != nullptr) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return out;
    }

    // build/bin/qvboard as QV_BUILD_DIR names it.
    static std::string Program() {
        const char* dir = std::getenv("QV_BUILD_DIR");
        return std::string(dir != nullptr ? dir : ".") + "/bin/qvboard";
    }

  private:
    static bool Answers(const std::string& path) {
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        if (path.size() >= sizeof addr.sun_path) return false;
        std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
        const int fd = socket(AF_UNIX, SOCK_SEQPACKET, 0);
        if (fd < 0) return false;
        const bool up = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
        close(fd);
        return up;
    }

    std::string m_root;
    std::string m_output;
    pid_t m_pid = -1;
};

} // namespace qvtesting
