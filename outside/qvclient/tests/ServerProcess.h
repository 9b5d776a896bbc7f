// Support of the client library and server tests: a temporary folder, a qvserver on its own
// loopback address, BSTR helpers and the test client's logon.
#pragma once
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "outside/qvclient/QVClient.h"
#include "outside/qvserver/testing/QvServerProcess.h"

namespace qvtest {

inline std::string BuildDir() {
    return qvtesting::QvBuildDir();
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

// A server with its address, folder and arguments fixed up front and the seed given at start.
class ServerProcess : public qvtesting::QvServerProcess {
  public:
    // folder: holds the server's database and log (one pair per address).
    ServerProcess(std::string address, std::string folder, std::vector<std::string> extra = {}) {
        m_launch.address = std::move(address);
        m_launch.folder = std::move(folder);
        m_launch.extra = std::move(extra);
    }

    // Starts and waits until it accepts calls; false when the server ended instead.
    bool Start(const std::string& seed = "demo") {
        m_launch.seed = seed;
        return QvServerProcess::Start(m_launch);
    }

    const std::string& Address() const { return m_launch.address; }

  private:
    qvtesting::QvServerLaunch m_launch;
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
