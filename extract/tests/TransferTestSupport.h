// Support of the export and import tests: a temporary device root with the client library linked
// where the tool loads it, forecourt server simulators on the transfer tests' loopback addresses,
// the tool's logon, and small file and console helpers.
#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/CStr.h"
#include "extract/ClientLibrary.h"
#include "extract/ToolGlobals.h"
#include "extract/ToolLogon.h"
#include "outside/qvserver/testing/QvServerProcess.h"

namespace transfer_test {

inline std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}
inline std::string BuildDir() {
    return Env("QV_BUILD_DIR");
}
inline std::string FixtureDir() {
    return Env("QV_FIXTURES");
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}
inline bool FileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

inline int CountOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The file's lines without their CR LF ends.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Sections of a configuration file: name -> its key lines, in order; repeated headers append
// under the same name.
using Sections = std::map<std::string, std::vector<std::string>>;
inline Sections ParseSections(const std::string& text) {
    Sections sections;
    std::string current;
    for (const std::string& line : Lines(text)) {
        if (line.empty()) continue;
        if (line[0] == '[') {
            current = line.substr(1, line.find(']') - 1);
            sections[current];
        } else {
            sections[current].push_back(line);
        }
    }
    return sections;
}

// A temporary device root for this test process, QV_ROOT set to it, with the client library
// linked at $QV_ROOT/C/QVForecourt/QVClient.DLL (library file name under build/lib).
class DeviceRoot {
  public:
    explicit DeviceRoot(const std::string& libraryName = "libQVClient.so") {
        char pattern[] = "/tmp/qvtransfer.XXXXXX";
        m_path = ::mkdtemp(pattern);
        ::setenv("QV_ROOT", m_path.c_str(), 1);
        ::mkdir((m_path + "/C").c_str(), 0755);
        ::mkdir((m_path + "/C/QVForecourt").c_str(), 0755);
        const std::string target = BuildDir() + "/lib/" + libraryName;
        [[maybe_unused]] int rc =
            ::symlink(target.c_str(), (m_path + "/C/QVForecourt/QVClient.DLL").c_str());
    }
    ~DeviceRoot() {
        if (!m_path.empty() && Env("QV_KEEP_ROOT").empty())
            std::system(("rm -rf '" + m_path + "'").c_str());
    }
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

  private:
    std::string m_path;
};

// One forecourt server simulator on a loopback address, stopped when the object goes; Start takes
// the address, the folder for its database and log, and the extra arguments (such as "--seed",
// "demo", "--fail", "GetPumpHoseByNumber").
using Server = qvtesting::QvServerProcess;

// The tool's logon, as its command line makes it.
inline int32_t Logon(const std::string& address) {
    ClientLibrary& library = ToolLibrary();
    if (!library.IsLoaded()) library.Load();
    if (library.LogonHandle() != 0) library.Logoff();
    return ToolLogon(library, CStr(address.c_str()));
}
inline void Logoff() {
    if (ToolLibrary().LogonHandle() != 0) ToolLibrary().Logoff();
}

// Runs the action with standard output captured; returns what it printed.
inline std::string Console(const std::function<void()>& action) {
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    action();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

inline std::string Narrow(const CStr& s) {
    return s.IsNull() ? "" : s.Narrow();
}

} // namespace transfer_test
