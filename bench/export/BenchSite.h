// What the transfer benchmarks share: a temporary device root with the client library linked
// where the tool loads it, a local server simulator on a benchmark address, the tool's logon,
// a quiet console while a walk runs, and a wall-clock timer.
#pragma once
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/CStr.h"
#include "extract/ClientLibrary.h"
#include "extract/ToolGlobals.h"

extern char** environ;

namespace bench {

// build/ from QV_BUILD_DIR, else from the program's own place (build/bin/<program>).
inline std::string BuildDir(const char* argv0) {
    if (const char* d = std::getenv("QV_BUILD_DIR")) return d;
    char path[PATH_MAX];
    if (::realpath(argv0, path) == nullptr) return ".";
    std::string p = path;
    p = p.substr(0, p.rfind('/')); // bin
    return p.substr(0, p.rfind('/'));
}

class DeviceRoot {
  public:
    explicit DeviceRoot(const std::string& buildDir) {
        char pattern[] = "/tmp/qvbench.XXXXXX";
        m_path = ::mkdtemp(pattern);
        ::setenv("QV_ROOT", m_path.c_str(), 1);
        ::mkdir((m_path + "/C").c_str(), 0755);
        ::mkdir((m_path + "/C/QVForecourt").c_str(), 0755);
        const std::string lib = buildDir + "/lib/libQVClient.so";
        [[maybe_unused]] int rc =
            ::symlink(lib.c_str(), (m_path + "/C/QVForecourt/QVClient.DLL").c_str());
    }
    ~DeviceRoot() { std::system(("rm -rf '" + m_path + "'").c_str()); }
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    const std::string& Path() const { return m_path; }

  private:
    std::string m_path;
};

class Server {
  public:
    ~Server() { Stop(); }
    bool Start(const std::string& buildDir, const std::string& address, const std::string& dir,
               const std::vector<std::string>& extra) {
        m_address = address;
        const std::string program = buildDir + "/bin/qvserver";
        std::vector<std::string> args = {program, "--address", address, "--db",
                                         dir + "/site-" + address + ".db"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const std::string log = dir + "/qvserver-" + address + ".log";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                         0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        const int rc =
            posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) {
            m_pid = 0;
            return false;
        }
        // A large seed takes a while to build.
        for (int i = 0; i < 6000; ++i) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = 0;
                return false;
            }
            const int s = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in a{};
            a.sin_family = AF_INET;
            a.sin_port = htons(5123);
            ::inet_pton(AF_INET, address.c_str(), &a.sin_addr);
            const bool up = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
            ::close(s);
            if (up) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    void Stop() {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = 0;
    }

  private:
    pid_t m_pid = 0;
    std::string m_address;
};

inline int32_t Logon(const std::string& address) {
    ClientLibrary& library = ToolLibrary();
    if (!library.IsLoaded()) library.Load();
    if (library.LogonHandle() != 0) library.Logoff();
    return library.Logon(110, 5, CStr("Dovetrix"), 3, CStr("7A3E-19C4-B05D-62F8-D1A7-4E93"), 0,
                         CStr(address.c_str()), 5123, 5124, 10000, 0, 0, 1024);
}

// CPU seconds (user and system) this process has used so far.
inline double CpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Times {
    double wall = 0; // seconds the action took
    double cpu = 0;  // of which this process computed (the rest is waiting for the server)
};

// Times the action with its console output sent to the file.
inline Times TimeQuietly(const std::string& consoleFile, const std::function<void()>& action) {
    std::fflush(stdout);
    const int saved = ::dup(1);
    const int quiet = ::open(consoleFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(quiet, 1);
    ::close(quiet);
    const double cpuStart = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    action();
    const auto end = std::chrono::steady_clock::now();
    const double cpuEnd = CpuSeconds();
    std::fflush(stdout);
    ::dup2(saved, 1);
    ::close(saved);
    return {std::chrono::duration<double>(end - start).count(), cpuEnd - cpuStart};
}

} // namespace bench
