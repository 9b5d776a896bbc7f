// Test support for the log service's parts: the board simulator (build/bin/qvboard run) on the
// test's device root, its records read back, and child programs run and stopped.
#pragma once
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace partstest {

inline std::string BuildDir() {
    const char* dir = std::getenv("QV_BUILD_DIR");
    return dir != nullptr ? dir : ".";
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Polls until ready() or ms have passed; true when ready.
inline bool WaitFor(const std::function<bool()>& ready, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!ready()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// A program run with arguments; its standard output and error go to outPath.
class Child {
  public:
    Child() = default;
    ~Child() { Kill(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Start(std::vector<std::string> args, const std::string& outPath) {
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        const int rc = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) m_pid = -1;
        return rc == 0;
    }
    // True while it runs (reaps it once it has ended).
    bool Running() {
        if (m_pid <= 0) return false;
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) != m_pid) return true;
        m_status = status;
        m_pid = -1;
        return false;
    }
    // Waits up to ms for the end; the exit code, or -1 when it is still running or was killed.
    int Wait(int ms) {
        if (!WaitFor([this] { return !Running(); }, ms)) return -1;
        return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1;
    }
    // SIGTERM, then SIGKILL when it has not ended within ms.
    void Terminate(int ms) {
        if (m_pid <= 0) return;
        kill(m_pid, SIGTERM);
        if (Wait(ms) == -1) Kill();
    }
    void Kill() {
        if (m_pid <= 0) return;
        kill(m_pid, SIGKILL);
        waitpid(m_pid, &m_status, 0);
        m_pid = -1;
    }

  private:
    pid_t m_pid = -1;
    int m_status = 0; // wait status once reaped
};

// "qvboard run --root ROOT OPTIONS...", ready once it has booted.
class Board {
  public:
    explicit Board(std::string root) : m_root(std::move(root)) {}

    bool Start(const std::vector<std::string>& options = {}) {
        std::vector<std::string> args = {BuildDir() + "/bin/qvboard", "run", "--root", m_root};
        args.insert(args.end(), options.begin(), options.end());
        if (!m_process.Start(args, m_root + "/qvboard.out")) return false;
        return WaitFor(
            [this] { return ReadText(Record("board.log")).find("boot 1") != std::string::npos; },
            20000);
    }
    // The board's record file (led.log, usb.log, board.log).
    std::string Record(const std::string& name) const { return m_root + "/.board/" + name; }
    std::vector<std::string> RecordLines(const std::string& name) const {
        return SplitLines(ReadText(Record(name)));
    }
    // Output of "qvboard ctl --root ROOT COMMAND".
    std::string Ctl(const std::string& command) const {
        const std::string out = m_root + "/ctl.out";
        Child ctl;
        if (!ctl.Start({BuildDir() + "/bin/qvboard", "ctl", "--root", m_root, command}, out))
            return "";
        ctl.Wait(10000);
        return ReadText(out);
    }
    // A value from "qvboard ctl status" ("watchdog", "resets", ...); "" when absent.
    std::string StatusText(const std::string& key) const {
        for (const std::string& line : SplitLines(Ctl("status")))
            if (line.rfind(key + " ", 0) == 0) return line.substr(key.size() + 1);
        return "";
    }
    // A number from it ("refreshes", "resets"); -1 when absent.
    long Status(const std::string& key) const {
        const std::string text = StatusText(key);
        return text.empty() ? -1 : std::atol(text.c_str());
    }
    // The record's lines without their leading milliseconds, and the milliseconds.
    struct Event {
        long ms;
        std::string text;
    };
    std::vector<Event> Events(const std::string& name) const {
        std::vector<Event> events;
        for (const std::string& line : RecordLines(name)) {
            const size_t space = line.find(' ');
            if (space == std::string::npos) continue;
            events.push_back({std::atol(line.c_str()), line.substr(space + 1)});
        }
        return events;
    }
    ~Board() { Stop(); }
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;
    // SIGTERM lets the board shut its services host down in order.
    void Stop() { m_process.Terminate(30000); }

  private:
    std::string m_root;
    Child m_process;
};

} // namespace partstest
