// Import of configuration files with many card clients (attendants, products and other card
// clients as their parents) into an empty local server simulator, at two sizes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/export/BenchSite.h"
#include "extract/Import.h"

namespace {

// A file of n card clients with n / 10 attendants and n / 10 products as parents; every fourth
// card client is the driver card of the one before it.
void WriteSite(const std::string& path, int n) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    const int parents = n / 10;
    for (int a = 1; a <= parents; ++a) {
        f << "\r\n[Attendant" << (a < 10 ? "0" : "") << a << "]\r\nNumber=" << a
          << "\r\nName=Attendant " << a << "\r\nShortName=A" << a << "\r\nPassword=" << 1000 + a
          << "\r\nTag=\r\nIDNumber=" << a
          << "\r\nShiftAStart=0\r\nShiftAEnd=1439\r\nShiftBStart=0\r\nShiftBEnd=1439"
             "\r\nEnabled=1\r\nType=1\r\n";
    }
    char id[16];
    for (int p = 1; p <= parents; ++p) {
        std::snprintf(id, sizeof id, "%03d", p);
        f << "\r\n[Product" << id << "]\r\nNumber=" << p << "\r\nName=Product " << p
          << "\r\nTag=\r\nEnabled=1\r\nShortName=P" << p << "\r\nBarcode=" << 5000000000000 + p
          << "\r\nQuickCode=" << p
          << "\r\nPrice1=1.500\r\nPrice2=1.400\r\nPrice3=0.000\r\nPrice4=0.000"
             "\r\nProductGroup=1\r\n";
    }
    for (int c = 1; c <= n; ++c) {
        int cardType = 1, parent = -1;
        switch (c % 4) {
        case 1:
            cardType = 5, parent = 1 + c % parents;
            break; // attendant's card
        case 2:
            cardType = 7, parent = 1 + c % parents;
            break; // product card
        case 3:
            cardType = 4, parent = c - 1;
            break; // driver of the card before
        default:
            break;
        }
        std::snprintf(id, sizeof id, "%03d", c);
        f << "\r\n[Client" << id << "]\r\nNumber=" << c << "\r\nName=Client " << c
          << "\r\nTag=" << 100000 + c << "\r\nEnabled=1\r\nPriceLevel=1\r\nPlate=AB-" << c
          << "\r\nIDNumber=" << c << "\r\nShortName=C" << c
          << "\r\nPassword=\r\nGradeType=1\r\nCardType=" << cardType
          << "\r\nLimitType=1\r\nLimitValue=100.000\r\nEntryType=1"
             "\r\nExpirationDate=46023.50000\r\nParentID="
          << parent << "\r\nQVOdoSerialNo=\r\nOdometer=0.0\r\nFactor=1\r\n";
    }
}

constexpr int kRuns = 3; // the best run counts, so other work on the machine matters less

// The best of the runs, each into a fresh empty server; wall -1 when a run failed.
bench::Times TimeImport(const std::string& buildDir, const bench::DeviceRoot& root, int n,
                        const char* address) {
    const std::string file = root.File("import-" + std::to_string(n) + ".ini");
    WriteSite(file, n);
    bench::Times best{-1, -1};
    for (int run = 0; run < kRuns; ++run) {
        bench::Server server;
        const std::string dir = root.File("run-" + std::to_string(n) + "-" + std::to_string(run));
        std::filesystem::create_directories(dir);
        if (!server.Start(buildDir, address, dir, {"--seed", "empty"})) {
            std::fprintf(stderr, "qvserver did not start on %s\n", address);
            return {-1, -1};
        }
        if (bench::Logon(address) != 0) {
            std::fprintf(stderr, "logon to %s failed\n", address);
            return {-1, -1};
        }
        const std::string console = dir + "/console.txt";
        const bench::Times times = bench::TimeQuietly(
            console, [&] { ImportConfiguration(ToolLibrary(), file.c_str(), ImportOptions()); });
        int32_t stored = 0;
        ToolLibrary().GetCardClientsCount(stored);
        ToolLibrary().Logoff();
        if (stored != n) {
            std::fprintf(stderr, "%d of %d card clients stored (see %s)\n", stored, n,
                         console.c_str());
            return {-1, -1};
        }
        if (best.wall < 0 || times.wall < best.wall) best = times;
    }
    return best;
}

} // namespace

int main(int, char** argv) {
    const std::string buildDir = bench::BuildDir(argv[0]);
    bench::DeviceRoot root(buildDir);
    const bench::Times t1 = TimeImport(buildDir, root, 1000, "127.0.50.21");
    const bench::Times t2 = TimeImport(buildDir, root, 10000, "127.0.50.22");
    if (t1.wall < 0 || t2.wall < 0) return 1;
    const char* format = "import %6d card clients: %7.3f s (tool CPU %.3f s, the rest waiting "
                         "for the server)\n";
    std::printf(format, 1000, t1.wall, t1.cpu);
    std::printf(format, 10000, t2.wall, t2.cpu);
    std::printf("ratio (aim: at most 12): %.2f\n", t2.wall / t1.wall);
    return 0;
}
