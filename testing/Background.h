// A program run in the background by a test, so that the test can act on it while it works (send
// it SIGINT or SIGTERM as Ctrl-C and kill do) and then wait for its end with a bound.
#pragma once
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

namespace qvtesting {

class BackgroundProgram {
  public:
    // Runs the shell command line (with "exec" in front, so the program is the child itself);
    // standard output and error go to outFile.
    BackgroundProgram(const std::string& command, const std::string& outFile) {
        m_pid = ::fork();
        if (m_pid == 0) {
            const std::string line = "exec " + command + " >'" + outFile + "' 2>&1";
            ::execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~BackgroundProgram() {
        if (m_pid > 0 && !m_ended) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    BackgroundProgram(const BackgroundProgram&) = delete;
    BackgroundProgram& operator=(const BackgroundProgram&) = delete;

    bool Started() const { return m_pid > 0; }
    bool Running() {
        if (m_ended) return false;
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) != m_pid) return true;
        m_ended = true;
        m_status = status;
        return false;
    }
    void Signal(int sig) const { ::kill(m_pid, sig); }

    // Waits up to bound for the end (killed after it); the exit code as the program returned it
    // (a byte read as signed), -999 when a signal ended it.
    int Wait(std::chrono::milliseconds bound) {
        const auto limit = std::chrono::steady_clock::now() + bound;
        while (Running() && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (Running()) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &m_status, 0);
            m_ended = true;
            return -999;
        }
        return WIFEXITED(m_status) ? static_cast<signed char>(WEXITSTATUS(m_status)) : -999;
    }

  private:
    pid_t m_pid = -1;
    bool m_ended = false;
    int m_status = 0;
};

} // namespace qvtesting
