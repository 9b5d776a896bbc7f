// Round trips to the simulated board through the platform's devices (a timing program, not a
// test): frames per second of one frame written and one read, and the time of a whole version
// exchange as the service's USB link makes it (mutex, open, port code, flush, request, wait for
// the response, close).
//   bench_board [FRAMES] [EXCHANGES]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "outside/board/testing/BoardProcess.h"
#include "platform/Device.h"
#include "platform/Event.h"
#include "platform/NamedMutex.h"

using namespace platform;
using Clock = std::chrono::steady_clock;

namespace {

constexpr uint32_t kSetPort = 0x0022000C;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// One frame in, one frame out; false when the board did not answer.
bool RoundTrip(Handle device, Handle event, uint8_t* frame) {
    const uint8_t request = 0x00;
    uint32_t n = 0;
    if (!WriteDevice(device, &request, 1, n)) return false;
    for (int tries = 0; tries < 100; ++tries) {
        if (!ReadDevice(device, frame, 261, n)) return false;
        if (n > 0) return n == 59;
        WaitForSingleObject(event, 50);
    }
    return false;
}

bool VersionExchange(Handle mutex) {
    if (WaitForSingleObject(mutex, kInfinite) != kWaitObject0) return false;
    bool ok = false;
    const Handle device = OpenDevice(u"QVF1:", kGenericRead | kGenericWrite, 0);
    if (device != kInvalidHandle) {
        const uint8_t port[2] = {1, 0};
        Handle event = kInvalidHandle;
        uint32_t n = 0;
        if (DeviceIoControl(device, kSetPort, port, 2, &event, 4, &n)) {
            uint8_t frame[261];
            while (ReadDevice(device, frame, 261, n) && n > 0) {
            }
            ok = RoundTrip(device, event, frame) && frame[0] == 0x40;
            CloseHandle(event);
        }
        CloseHandle(device);
    }
    ReleaseMutex(mutex);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int exchanges = argc > 2 ? std::atoi(argv[2]) : 2000;
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "qvboard-bench-XXXXXX").string();
    const std::string root = mkdtemp(pattern.data());
    setenv("QV_ROOT", root.c_str(), 1);
    fs::create_directories(fs::path(root) / "Windows");
    std::ofstream(fs::path(root) / "Windows" / "Services.ini")
        << "[Services]\r\nBoot=QV2Serial\r\n\r\n[QV2Serial]\r\nKind=Idle\r\n";
    if (std::getenv("QV_BUILD_DIR") == nullptr) {
        const std::string build = fs::canonical("/proc/self/exe").parent_path().parent_path();
        setenv("QV_BUILD_DIR", build.c_str(), 1);
    }
    qvtesting::BoardProcess board;
    if (!board.Start(root)) {
        fprintf(stderr, "bench_board: the board did not start\n");
        return 1;
    }
    int failures = 0;
    {
        const Handle device = OpenDevice(u"QVF1:", kGenericRead | kGenericWrite, 0);
        const uint8_t port[2] = {1, 0};
        Handle event = kInvalidHandle;
        uint32_t n = 0;
        DeviceIoControl(device, kSetPort, port, 2, &event, 4, &n);
        uint8_t frame[261];
        const auto start = Clock::now();
        for (int i = 0; i < frames; ++i)
            if (!RoundTrip(device, event, frame)) ++failures;
        const double s = Seconds(start);
        printf("frame round trips: %d in %.3f s = %.0f frames/s (%.1f us each)\n", frames, s,
               frames / s, s * 1e6 / frames);
        CloseHandle(event);
        CloseHandle(device);
    }
    {
        const Handle mutex = CreateMutex(false, u"QVForecourtUSBMutex");
        const auto start = Clock::now();
        for (int i = 0; i < exchanges; ++i)
            if (!VersionExchange(mutex)) ++failures;
        const double s = Seconds(start);
        printf("version exchanges: %d in %.3f s = %.1f us each\n", exchanges, s,
               s * 1e6 / exchanges);
        CloseHandle(mutex);
    }
    board.Stop();
    fs::remove_all(root);
    if (failures > 0) fprintf(stderr, "bench_board: %d failed round trips\n", failures);
    return failures == 0 ? 0 : 1;
}
