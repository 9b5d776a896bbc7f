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
    const char* address;
};

// Seconds of one export of a site of that size; negative when it could not run.
double TimeExport(const std::string& buildDir, const bench::DeviceRoot& root, const SiteSize& s) {
    bench::Server server;
    const std::string seed = "large:cardclients=" + std::to_string(s.cardClients) +
                             ",products=" + std::to_string(s.products);
    if (!server.Start(buildDir, s.address, root.Path(), {"--seed", seed})) {
        std::fprintf(stderr, "qvserver with --seed %s did not start\n", seed.c_str());
        return -1;
    }
    if (bench::Logon(s.address) != 0) {
        std::fprintf(stderr, "logon to %s failed\n", s.address);
        return -1;
    }
    const std::string file = root.File("export-" + std::to_string(s.cardClients) + ".ini");
    int code = -1;
    const double seconds = bench::TimeQuietly(root.File("console.txt"), [&] {
        code = ExportConfiguration(file.c_str(), false, false, false, false, false, false, false);
    });
    ToolLibrary().Logoff();
    if (code != 0) {
        std::fprintf(stderr, "export of %d card clients failed\n", s.cardClients);
        return -1;
    }
    return seconds;
}

} // namespace

int main(int, char** argv) {
    const std::string buildDir = bench::BuildDir(argv[0]);
    bench::DeviceRoot root(buildDir);
    const SiteSize small = {1000, 100, "127.0.50.11"};
    const SiteSize large = {10000, 1000, "127.0.50.12"};
    const double t1 = TimeExport(buildDir, root, small);
    const double t2 = TimeExport(buildDir, root, large);
    if (t1 < 0 || t2 < 0) return 1;
    std::printf("export  1,000 card clients,   100 products: %8.3f s\n", t1);
    std::printf("export 10,000 card clients, 1,000 products: %8.3f s\n", t2);
    std::printf("ratio (aim: about 10, linear): %.2f\n", t2 / t1);
    return 0;
}
