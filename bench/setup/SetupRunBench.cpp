// The whole pen-drive run on the simulated board, from the drive's insertion to the restarted
// services, for a script of 1,000 lines (copies and deletions of small files, sets and gets)
// and for an empty script. The difference, per line, is what the script's commands cost once
// the fixed steps (export, controller identity, service stops and starts) are taken out.
// Run inside a network namespace of its own: the board's server listens on 127.0.0.1.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "logservice/CLogService.h"
#include "outside/board/testing/BoardProcess.h"

namespace {

namespace fs = std::filesystem;
constexpr int kLines = 1000;
constexpr int kRuns = 3; // the best run counts

std::string Script(int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i) {
        switch (i % 4) {
        case 0:
            text += "copy \"\\Hard Disk\\files\\f" + std::to_string(i % 40) + ".txt\" \\Bench\r\n";
            break;
        case 1:
            text += "del \\Bench\\f" + std::to_string((i - 1) % 40) + ".txt\r\n";
            break;
        case 2:
            text += "set IP 10.0." + std::to_string(i % 250) + ".1\r\n";
            break;
        default:
            text += "get IP\r\n";
            break;
        }
    }
    return text;
}

// One run: plug a drive with the script, run the pass, unplug. Seconds, or -1.
double RunOnce(const fs::path& root, qvtesting::BoardProcess& board, CLogService& service,
               int lines) {
    const fs::path pen = root / "pen";
    fs::remove_all(pen);
    fs::create_directories(pen / "files");
    for (int i = 0; i < 40; ++i)
        std::ofstream(pen / "files" / ("f" + std::to_string(i) + ".txt")) << "small file " << i;
    std::ofstream(pen / "QVSetup.scp", std::ios::binary) << Script(lines);
    service.ProcessSetupScript(); // notices the earlier drive's removal
    const auto start = std::chrono::steady_clock::now();
    board.Ctl("plug '" + pen.string() + "'");
    service.ProcessSetupScript();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const bool done = !fs::exists(root / "Hard Disk" / "QVSetup.scp");
    board.Ctl("unplug");
    // Every line reports to the drive, besides the four identity lines.
    std::ifstream report(pen / "QVSetup.log");
    int reported = 0;
    for (std::string line; std::getline(report, line);)
        ++reported;
    return done && reported == lines + 4 ? seconds : -1;
}

} // namespace

int main() {
    std::string pattern = (fs::temp_directory_path() / "qvbench-setup-XXXXXX").string();
    const fs::path root = mkdtemp(pattern.data());
    setenv("QV_ROOT", root.c_str(), 1);
    setenv("QV_BUILD_DIR", QV_BENCH_BUILD_DIR, 0);
    const std::string provision = std::string(std::getenv("QV_BUILD_DIR")) +
                                  "/bin/qvroot-provision '" + root.string() + "' >/dev/null";
    if (std::system(provision.c_str()) != 0) return 1;
    std::ofstream(root / "Windows" / "Services.ini", std::ios::binary)
        << "[Services]\r\nBoot=QVServer,QV2Serial\r\n\r\n[QVServer]\r\nKind=Server\r\n"
           "Prefix=QVS1:\r\nDll=QVServer.dll\r\nDatabase=\\DAVozuz\\SQLite\\QVForecourt.db\r\n"
           "Seed=demo\r\n\r\n[QV2Serial]\r\nKind=Idle\r\nPrefix=QV21:\r\nDll=QV2Serial.dll\r\n";
    fs::create_directories(root / "Bench");
    qvtesting::BoardProcess board;
    if (!board.Start(root.string())) {
        std::fprintf(stderr, "the board did not come up\n");
        return 1;
    }
    double best[2] = {1e9, 1e9};
    {
        CLogService service;
        for (int run = 0; run < kRuns; ++run) {
            for (int k = 0; k < 2; ++k) {
                const double s = RunOnce(root, board, service, k == 0 ? 0 : kLines);
                if (s < 0) {
                    std::fprintf(stderr, "a run did not complete\n");
                    return 1;
                }
                if (s < best[k]) best[k] = s;
            }
        }
    }
    board.Stop();
    fs::remove_all(root);
    std::printf("pen-drive run, empty script:        %8.3f s (fixed steps)\n", best[0]);
    std::printf("pen-drive run, %d-line script:    %8.3f s\n", kLines, best[1]);
    std::printf("per script line (fixed steps out):  %8.1f us\n",
                (best[1] - best[0]) * 1e6 / kLines);
    return 0;
}
