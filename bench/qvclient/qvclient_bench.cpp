// Calls per second from one client to a forecourt server on loopback (127.0.10.200): a
// property read and a property write, each timed over a fixed number of calls.
#include <chrono>
#include <cstdio>
#include <string>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace qvtest;

namespace {

template <typename F> double CallsPerSecond(int calls, F call) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        if (call(i) != 0) return -1;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return calls / took.count();
}

} // namespace

int main() {
    TempDir dir;
    ServerProcess server("127.0.10.200", dir.Path());
    if (!server.Start("demo")) {
        std::fprintf(stderr, "qvserver did not start (QV_BUILD_DIR=%s)\n", BuildDir().c_str());
        return 1;
    }
    const int32_t h = Logon("127.0.10.200");
    if (!h) return 1;
    const int calls = 50000;
    const double reads = CallsPerSecond(calls, [&](int) {
        int32_t count = 0;
        return GetPumpsCountMT(h, &count);
    });
    const double props = CallsPerSecond(calls, [&](int i) {
        int32_t number;
        Out name, sn, code;
        return GetGradePropertiesMT(h, 1 + i % 4, &number, &name, &sn, &code);
    });
    BSTR name = Bstr("Bench grade"), e = Bstr("");
    const double writes = CallsPerSecond(
        calls / 5, [&](int i) { return SetGradePropertiesExMT(h, 50, i, name, e, e, 1); });
    platform::SysFreeString(name);
    platform::SysFreeString(e);
    std::printf("GetPumpsCount:        %8.0f calls/s\n", reads);
    std::printf("GetGradeProperties:   %8.0f calls/s\n", props);
    std::printf("SetGradePropertiesEx: %8.0f calls/s\n", writes);
    int32_t hh = h;
    ClientLogoffMT(&hh);
    return 0;
}
