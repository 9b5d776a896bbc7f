// Helpers of the configuration tool's tests: a temporary device root with the client library
// linked where the tool loads it from, the forecourt server simulator on a loopback address of
// the binding tests' range, and running the built programs with their output captured.
#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "testing/Env.h"
#include "testing/Files.h"
#include "testing/QvServerProcess.h"
#include "testing/Run.h"
#include "testing/TempDir.h"

namespace tooltest {

namespace fs = std::filesystem;

using qvtesting::CountOf;
using qvtesting::Lines;
using qvtesting::ReadFile;

inline std::string BuildDir() {
    return qvtesting::QvBuildDir();
}

// A temporary device root with both flavours' folders; QV_ROOT points at it while it lives.
class DeviceRoot : public qvtesting::DeviceRoot {
  public:
    DeviceRoot()
        : qvtesting::DeviceRoot("dovetrix",
                                {qvtesting::kDesktopLogFolder, qvtesting::kBoardFolder}) {}

    // Links both flavours' library path to build/lib/<file> (replacing an earlier link).
    void LinkLibrary(const std::string& file = "libQVClient.so") const {
        const fs::path target = fs::path(BuildDir()) / "lib" / file;
        for (const char* link : {"C/QVForecourt/QVClient.DLL", "DAVozuz/QVForecourt/QVClient.DLL"})
            Link(link, target);
    }
    std::string DesktopLog() const { return ReadFile(Path("C/QVForecourt/log/Dovetrix.L00")); }
    std::string BoardLog() const { return ReadFile(Path("Dovetrix.L00")); }
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
    bool Start() { return QvServerProcess::Start(m_address, m_data.Str(), m_extra); }

  private:
    std::string m_address;
    std::vector<std::string> m_extra;
    qvtesting::TempDir m_data{"qvserver"}; // the server's own folder; it does not touch QV_ROOT
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

using qvtesting::RunResult;

// Runs a program with the given arguments in the current environment (QV_ROOT included) plus the
// "NAME=value" entries of env, and collects its standard output and standard error.
inline RunResult Run(const std::string& program, const std::vector<std::string>& args,
                     const std::vector<std::string>& env = {}) {
    qvtesting::RunOptions options;
    options.env = env;
    return qvtesting::Run(program, args, options);
}

} // namespace tooltest
