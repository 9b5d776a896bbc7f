// What the transfer benchmarks share: a temporary device root with the client library linked
// where the tool loads it, a local server simulator on a benchmark address (both from the
// test-support library), the tool's logon, a quiet console while a walk runs, and a timer.
#pragma once
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "common/CStr.h"
#include "extract/ClientLibrary.h"
#include "extract/ToolGlobals.h"
#include "extract/ToolLogon.h"
#include "testing/QvServerProcess.h"
#include "testing/TempDir.h"

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

// A temporary device root with the client library of the build folder linked where the tool
// loads it; QV_ROOT points at it while it lives.
class DeviceRoot : public qvtesting::DeviceRoot {
  public:
    explicit DeviceRoot(const std::string& buildDir)
        : qvtesting::DeviceRoot("qvbench", {qvtesting::kDesktopFolder}) {
        Link("C/QVForecourt/QVClient.DLL", buildDir + "/lib/libQVClient.so");
    }
    std::string File(const std::string& name) const { return Str() + "/" + name; }
    using qvtesting::DeviceRoot::Path;
    std::string Path() const { return Str(); }
};

// The server simulator started from the given build folder, with time for a large seed to build.
class Server : public qvtesting::QvServerProcess {
  public:
    bool Start(const std::string& buildDir, const std::string& address, const std::string& dir,
               const std::vector<std::string>& extra) {
        qvtesting::QvServerLaunch launch;
        launch.address = address;
        launch.folder = dir;
        launch.extra = extra;
        launch.readyTimeout = std::chrono::seconds(60);
        launch.buildDir = buildDir;
        return QvServerProcess::Start(launch);
    }
};

inline int32_t Logon(const std::string& address) {
    ClientLibrary& library = ToolLibrary();
    if (!library.IsLoaded()) library.Load();
    if (library.LogonHandle() != 0) library.Logoff();
    return ToolLogon(library, CStr(address.c_str()));
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
