// Export of a large site from a local server simulator, at two sizes, to see that the walk's
// time grows linearly with the number of card clients and products.
#include <cstdio>
#include <string>

#include "bench/export/BenchSite.h"
#include "extract/Export.h"

namespace {

struct SiteSize {
    int cardClients;
    int products;
    int attendants;
    const char* address;
};

struct Timing {
    double exportSeconds = -1;   // the whole export, best of the runs
    double exportCpu = -1;       // of which the tool computed (profile writing, formatting)
    double cardCallSeconds = -1; // the card-client library calls alone, without the file
};
constexpr int kRuns = 3; // the best run counts, so other work on the machine matters less

// The library calls the export makes for the card clients, timed on their own.
double TimeCardClientCalls() {
    ClientLibrary& l = ToolLibrary();
    const auto start = std::chrono::steady_clock::now();
    int32_t count = 0;
    l.GetCardClientsCount(count);
    for (int32_t ordinal = 1; ordinal <= count; ++ordinal) {
        int32_t id = -1, number, parent, factor;
        CStr name, tag, plate, idNumber, shortName, password, odo;
        int16_t enabled, priceLevel, gradeType, cardType, limitType, entryType;
        double limit, expiration, odometer;
        l.GetCardClientByOrdinal(ordinal, id);
        l.GetCardClientProperties(id, number, name, tag, enabled, priceLevel, plate, idNumber,
                                  shortName, password, gradeType, cardType, limitType, limit,
                                  entryType, expiration, parent, odo, odometer, factor);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One export of a site of that size; negative times when it could not run.
Timing TimeExport(const std::string& buildDir, const bench::DeviceRoot& root, const SiteSize& s) {
    Timing t;
    bench::Server server;
    const std::string seed = "large:" + std::to_string(s.cardClients) + ":" +
                             std::to_string(s.products) + ":" + std::to_string(s.attendants);
    if (!server.Start(buildDir, s.address, root.Path(), {"--seed", seed})) {
        std::fprintf(stderr, "qvserver with --seed %s did not start\n", seed.c_str());
        return t;
    }
    if (bench::Logon(s.address) != 0) {
        std::fprintf(stderr, "logon to %s failed\n", s.address);
        return t;
    }
    const std::string file = root.File("export-" + std::to_string(s.cardClients) + ".ini");
    for (int run = 0; run < kRuns; ++run) {
        int code = -1;
        const bench::Times times = bench::TimeQuietly(root.File("console.txt"), [&] {
            code = ExportConfiguration(ToolLibrary(), file.c_str(), ExportOptions());
        });
        if (code != 0) {
            std::fprintf(stderr, "export of %d card clients failed\n", s.cardClients);
            ToolLibrary().Logoff();
            return Timing();
        }
        if (t.exportSeconds < 0 || times.wall < t.exportSeconds) {
            t.exportSeconds = times.wall;
            t.exportCpu = times.cpu;
        }
    }
    t.cardCallSeconds = TimeCardClientCalls();
    ToolLibrary().Logoff();
    return t;
}
} // namespace

int main(int, char** argv) {
    const std::string buildDir = bench::BuildDir(argv[0]);
    bench::DeviceRoot root(buildDir);
    const SiteSize small = {1000, 100, 10, "127.0.50.11"};
    const SiteSize large = {10000, 1000, 100, "127.0.50.12"};
    const Timing t1 = TimeExport(buildDir, root, small);
    const Timing t2 = TimeExport(buildDir, root, large);
    if (t1.exportSeconds < 0 || t2.exportSeconds < 0) return 1;
    const char* format = "export %6d card clients, %5d products: %7.3f s (tool CPU %.3f s, "
                         "card-client library calls alone %.3f s)\n";
    std::printf(format, small.cardClients, small.products, t1.exportSeconds, t1.exportCpu,
                t1.cardCallSeconds);
    std::printf(format, large.cardClients, large.products, t2.exportSeconds, t2.exportCpu,
                t2.cardCallSeconds);
    std::printf("ratio (aim: about 10, linear): %.2f\n", t2.exportSeconds / t1.exportSeconds);
    return 0;
}
