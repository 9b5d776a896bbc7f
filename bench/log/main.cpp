// Log writer throughput: 100-byte records into a rotating file, from 1 and from 4 threads,
// for CLog and, side by side, spdlog's synchronous rotating file sink writing the same records.
// Two record shapes: plain (CLog time mode 0, spdlog pattern "%v") and stamped (CLog time mode
// 3, date-time and milliseconds since the previous record; spdlog the same fields).
// Both rotate at 1 MB into 3 older files; CLog checks its size on a flush, which this program
// asks for every 10,000 records (1 MB), as a busy owner's idle flush would.
//
// The files go to a fresh folder in /dev/shm when there is one (so the figures are the writers'
// own cost, not the disk's; CLog's flush also commits the file, which costs a disk a lot more than
// a page cache), else in /tmp; a folder given as the second argument is used instead.
//
// usage: bench_log [records per run, default 400000] [folder]
#include <spdlog/logger.h>
#include <spdlog/sinks/rotating_file_sink.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/CLog.h"

namespace fs = std::filesystem;

namespace {

constexpr int kMaxSize = 1000000;
constexpr int kMaxFiles = 3;
constexpr int kFlushEvery = 10000;
constexpr int kRuns = 3; // the median of three runs is reported

struct Shape {
    const char* name;
    int16_t timeMode;    // CLog
    const char* pattern; // spdlog
    int fill;            // payload characters after "record 0000000 " so that a line is 100 bytes
};
constexpr Shape kShapes[] = {
    {"plain", 0, "%v", 99 - 15},
    // "07/01/2025 16:50:27     12ms " is 29 characters, as spdlog's pattern below prints.
    {"stamped", 3, "%d/%m/%Y %H:%M:%S %6oms %v", 99 - 15 - 29},
};

using Clock = std::chrono::steady_clock;

// Runs body(thread, index) for 'records' records spread over 'threads' threads; seconds taken.
template <class Body> double Timed(int threads, int records, Body body) {
    std::vector<std::thread> pool;
    const auto start = Clock::now();
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([=] {
            for (int i = t; i < records; i += threads)
                body(i);
        });
    for (std::thread& th : pool)
        th.join();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double RunCLog(const Shape& shape, const std::string& filler, int threads, int records) {
    CLog log("\\bench\\clog", "bench", shape.timeMode, kMaxSize, kMaxFiles, false, true);
    // Record indexes are unique across the threads, so this flushes once per kFlushEvery records
    // without a shared counter that would cost the writers more than the log does.
    const double s = Timed(threads, records, [&](int i) {
        log.Write("record %07d %s", i, filler.c_str());
        if ((i + 1) % kFlushEvery == 0) log.Flush();
    });
    log.Flush();
    return s;
}

double RunSpdlog(const Shape& shape, const std::string& filler, int threads, int records,
                 const fs::path& dir) {
    auto sink = std::make_shared<spdlog::sinks::rotating_file_sink_mt>(
        (dir / "spdlog.txt").string(), kMaxSize, kMaxFiles);
    spdlog::logger logger("bench", sink);
    logger.set_pattern(shape.pattern);
    const double s =
        Timed(threads, records, [&](int i) { logger.info("record {:07d} {}", i, filler); });
    logger.flush();
    return s;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int records = argc > 1 ? std::max(1000, atoi(argv[1])) : 400000;
    const fs::path parent = argc > 2                       ? fs::path(argv[2])
                            : fs::is_directory("/dev/shm") ? "/dev/shm"
                                                           : "/tmp";
    std::string tmpl = (parent / "qvbenchlogXXXXXX").string();
    if (!mkdtemp(tmpl.data())) {
        fprintf(stderr, "bench_log: cannot make a folder in %s\n", parent.c_str());
        return 1;
    }
    const fs::path root = tmpl;
    fs::create_directories(root / "bench");
    setenv("QV_ROOT", root.c_str(), 1);

    printf("%d records of 100 bytes per run, rotating at %d bytes, median of %d runs, in %s\n",
           records, kMaxSize, kRuns, root.c_str());
    printf("%-8s %7s %14s %14s %7s\n", "shape", "threads", "CLog rec/s", "spdlog rec/s", "ratio");
    double smallest = 0;
    for (const Shape& shape : kShapes) {
        const std::string filler(shape.fill, 'x');
        for (int threads : {1, 4}) {
            std::vector<double> clog, spd;
            for (int run = 0; run < kRuns; ++run) {
                clog.push_back(RunCLog(shape, filler, threads, records));
                spd.push_back(RunSpdlog(shape, filler, threads, records, root / "bench"));
            }
            const double clogRate = records / Median(clog);
            const double spdRate = records / Median(spd);
            const double ratio = clogRate / spdRate;
            printf("%-8s %7d %14.0f %14.0f %7.2f\n", shape.name, threads, clogRate, spdRate, ratio);
            if (smallest == 0 || ratio < smallest) smallest = ratio;
        }
    }
    printf("smallest ratio (CLog against spdlog, aim: at least 1.25): %.2f\n", smallest);
    fs::remove_all(root);
    return 0;
}
