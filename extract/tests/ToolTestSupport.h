// Helpers of the configuration tool's tests: a temporary device root with the client library
// linked where the tool loads it from, the forecourt server simulator on a loopback address of
// the binding tests' range, and running the built programs with their output captured.
#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "outside/qvserver/testing/QvServerProcess.h"

namespace tooltest {

namespace fs = std::filesystem;

inline std::string BuildDir() {
    return qvtesting::QvBuildDir();
}

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

inline int CountOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// A temporary device root; QV_ROOT points at it while it lives (the last one made wins).
class DeviceRoot {
  public:
    DeviceRoot() {
        std::string pattern = (fs::temp_directory_path() / "dovetrix-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        m_dir = pattern;
        fs::create_directories(m_dir / "C/QVForecourt/log");
        fs::create_directories(m_dir / "DAVozuz/QVForecourt");
        setenv("QV_ROOT", m_dir.c_str(), 1);
    }
    ~DeviceRoot() {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    DeviceRoot(const DeviceRoot&) = delete;
    DeviceRoot& operator=(const DeviceRoot&) = delete;

    const fs::path& Dir() const { return m_dir; }
    fs::path Path(const std::string& relative) const { return m_dir / relative; }

    // Links both flavours' library path to build/lib/<file> (replacing an earlier link).
    void LinkLibrary(const std::string& file = "libQVClient.so") const {
        const fs::path target = fs::path(BuildDir()) / "lib" / file;
        for (const char* link :
             {"C/QVForecourt/QVClient.DLL", "DAVozuz/QVForecourt/QVClient.DLL"}) {
            std::error_code ec;
            fs::remove(m_dir / link, ec);
            fs::create_symlink(target, m_dir / link);
        }
    }
    std::string DesktopLog() const { return ReadFile(m_dir / "C/QVForecourt/log/Dovetrix.L00"); }
    std::string BoardLog() const { return ReadFile(m_dir / "Dovetrix.L00"); }

  private:
    fs::path m_dir;
};

// The forecourt server simulator on one loopback address, with its database and log in its own
// folder; stopped when the object goes.
class Server : public qvtesting::QvServerProcess {
  public:
    // extra: further command-line arguments (a seed, injected failures).
    explicit Server(std::string address, std::vector<std::string> extra = {})
        : m_address(std::move(address)), m_extra(std::move(extra)) {}
    ~Server() { Stop(); } // before its folder goes

    const std::string& Address() const { return m_address; }

    // True once the server accepts calls (within a generous bound).
    bool Start() { return QvServerProcess::Start(m_address, m_data.Dir().string(), m_extra); }

  private:
    // The server's own folder; it does not touch QV_ROOT.
    struct DataDir {
        DataDir() {
            std::string pattern = (fs::temp_directory_path() / "qvserver-XXXXXX").string();
            if (mkdtemp(pattern.data()) == nullptr) std::abort();
            dir = pattern;
        }
        ~DataDir() {
            std::error_code ec;
            fs::remove_all(dir, ec);
        }
        const fs::path& Dir() const { return dir; }
        fs::path dir;
    };

    std::string m_address;
    std::vector<std::string> m_extra;
    DataDir m_data;
};

// Stands on a loopback address in front of a server on another one: it drops the first few
// connections to the calls port at once (so those logons fail) and relays all others, on both
// ports, to the server.
class FlakyProxy {
  public:
    FlakyProxy(std::string address, std::string target, int dropCalls)
        : m_target(std::move(target)), m_drop(dropCalls) {
        for (int port : {5123, 5124}) {
            const int s = socket(AF_INET, SOCK_STREAM, 0);
            const int on = 1;
            setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
            sockaddr_in at = Address(address, port);
            if (bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 || listen(s, 8) != 0)
                std::abort();
            m_listeners.push_back(s);
            m_threads.emplace_back([this, s, port] { Accept(s, port); });
        }
    }
    ~FlakyProxy() {
        m_stop = true;
        for (int s : m_listeners)
            shutdown(s, SHUT_RDWR);
        for (std::thread& t : m_threads)
            t.join();
        for (int s : m_listeners)
            close(s);
    }
    FlakyProxy(const FlakyProxy&) = delete;
    FlakyProxy& operator=(const FlakyProxy&) = delete;

    int CallConnections() const { return m_calls; }

  private:
    static sockaddr_in Address(const std::string& address, int port) {
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET, address.c_str(), &at.sin_addr);
        return at;
    }
    void Accept(int listener, int port) {
        std::vector<std::thread> relays;
        while (!m_stop) {
            const int client = accept(listener, nullptr, nullptr);
            if (client < 0) break;
            if (port == 5123 && m_calls++ < m_drop) {
                close(client);
                continue;
            }
            relays.emplace_back([this, client, port] { Relay(client, port); });
        }
        for (std::thread& t : relays)
            t.join();
    }
    void Relay(int client, int port) {
        const int server = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in to = Address(m_target, port);
        if (connect(server, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) {
            pollfd fds[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
            char buffer[16384];
            bool open = true;
            while (open && !m_stop) {
                if (poll(fds, 2, 100) < 0) break;
                for (int i = 0; i < 2 && open; ++i) {
                    if (fds[i].revents == 0) continue;
                    const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
                    open = n > 0 && write(fds[1 - i].fd, buffer, static_cast<size_t>(n)) == n;
                }
            }
        }
        close(server);
        close(client);
    }

    std::string m_target;
    int m_drop;
    std::atomic<int> m_calls{0};
    std::atomic<bool> m_stop{false};
    std::vector<int> m_listeners;
    std::vector<std::thread> m_threads;
};

struct RunResult {
    int exitCode = -1; // the process's exit status (0..255), -1 when it did not end normally
    std::string out;   // standard output
    std::string err;   // standard error
};

// Runs a program with the given arguments in the current environment (QV_ROOT included) and
// collects its standard output and (through a temporary file) its standard error.
inline RunResult Run(const std::string& program, const std::vector<std::string>& args,
                     const std::vector<std::string>& env = {}) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return {};
    std::string errPath = (fs::temp_directory_path() / "dovetrix-err-XXXXXX").string();
    const int errFd = mkstemp(errPath.data());
    std::vector<std::string> all = {program};
    all.insert(all.end(), args.begin(), args.end());
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        dup2(pipeFds[1], 1);
        close(pipeFds[1]);
        if (errFd >= 0) dup2(errFd, 2);
        for (const std::string& e : env)
            putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> argv;
        for (std::string& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    RunResult result;
    char buffer[4096];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        result.out.append(buffer, static_cast<size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (errFd >= 0) {
        close(errFd);
        result.err = ReadFile(errPath);
        unlink(errPath.c_str());
    }
    return result;
}

} // namespace tooltest
