// Support of the export and import tests: a temporary device root with the client library linked
// where the tool loads it, forecourt server simulators on the transfer tests' loopback addresses,
// the tool's logon, and small file and console helpers.
#pragma once
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/CStr.h"
#include "extract/ClientLibrary.h"
#include "extract/ToolGlobals.h"
#include "extract/ToolLogon.h"
#include "testing/Env.h"
#include "testing/Files.h"
#include "testing/QvServerProcess.h"
#include "testing/TempDir.h"

namespace transfer_test {

using qvtesting::CountOf;
using qvtesting::Env;
using qvtesting::FileExists;
using qvtesting::FixtureDir;
using qvtesting::Lines;
using qvtesting::ReadFile;
using qvtesting::WriteFile;

inline std::string BuildDir() {
    return Env("QV_BUILD_DIR");
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
class DeviceRoot : public qvtesting::DeviceRoot {
  public:
    explicit DeviceRoot(const std::string& libraryName = "libQVClient.so")
        : qvtesting::DeviceRoot("qvtransfer", {qvtesting::kDesktopFolder}) {
        Link("C/QVForecourt/QVClient.DLL", BuildDir() + "/lib/" + libraryName);
    }
    using qvtesting::DeviceRoot::Path;
    std::string Path() const { return Str(); }
    std::string File(const std::string& name) const { return Str() + "/" + name; }
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
