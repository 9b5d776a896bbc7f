// Runs a qvserver for a test: started on its own loopback address with a fresh database,
// ready once it prints its ready line, stopped (SIGTERM, or SIGKILL on request) at the end.
#pragma once
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "outside/qvclient/QVClient.h"

namespace qvtest {

inline std::string BuildDir() {
    const char* d = std::getenv("QV_BUILD_DIR");
    return d ? d : ".";
}

// A temporary folder removed at the end.
class TempDir {
  public:
    TempDir() {
        char tmpl[] = "/tmp/qvtest.XXXXXX";
        m_path = mkdtemp(tmpl);
    }
    ~TempDir() { std::system(("rm -rf '" + m_path + "'").c_str()); }
    const std::string& Path() const { return m_path; }

  private:
    std::string m_path;
};

class ServerProcess {
  public:
    ServerProcess(std::string address, std::string db, std::vector<std::string> extra = {})
        : m_address(std::move(address)), m_db(std::move(db)), m_extra(std::move(extra)) {}
    ~ServerProcess() { Stop(); }

    // Starts and waits for the ready line; false when the server ended instead.
    bool Start(const std::string& seed = "demo") {
        int out[2];
        if (pipe(out) != 0) return false;
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], 1);
            close(out[0]);
            close(out[1]);
            std::vector<std::string> args{
                BuildDir() + "/bin/qvserver", "--address", m_address, "--db", m_db, "--seed", seed};
            args.insert(args.end(), m_extra.begin(), m_extra.end());
            std::vector<char*> argv;
            for (auto& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        std::string line;
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n')
            line += c;
        close(out[0]);
        return line.find("ready") != std::string::npos;
    }
    // SIGTERM (or SIGKILL) and wait; the exit status, -1 when not running.
    int Stop(int sig = SIGTERM) {
        if (m_pid <= 0) return -1;
        kill(m_pid, sig);
        int status = 0;
        while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
        return status;
    }
    const std::string& Address() const { return m_address; }

  private:
    std::string m_address, m_db;
    std::vector<std::string> m_extra;
    pid_t m_pid = -1;
};

// A BSTR from UTF-8 text; the caller frees it.
inline BSTR Bstr(const std::string& s) {
    std::u16string u(s.begin(), s.end());
    return platform::SysAllocStringLen(u.data(), static_cast<uint32_t>(u.size()));
}
inline std::string Text(BSTR b) {
    std::string s;
    for (uint32_t i = 0; b && i < platform::SysStringLen(b); ++i)
        s += static_cast<char>(b[i]);
    return s;
}

// Owns one BSTR output slot.
struct Out {
    BSTR b = nullptr;
    ~Out() { platform::SysFreeString(b); }
    BSTR* operator&() { return &b; }
    std::string str() const { return Text(b); }
};

// Logs on with InternalClientLogon; 0 on failure.
inline int32_t Logon(const std::string& server, int32_t* result = nullptr) {
    int32_t h = 0;
    BSTR name = Bstr("tester"), key = Bstr(""), host = Bstr(server);
    const int32_t r =
        InternalClientLogonMT(&h, 7, 5, name, 1, key, 0, host, 5123, 5124, 3000, 0, 0, 1024);
    platform::SysFreeString(name);
    platform::SysFreeString(key);
    platform::SysFreeString(host);
    if (result) *result = r;
    return r == 0 ? h : 0;
}

} // namespace qvtest
