// Import of configuration files with many card clients (attendants, products and other card
// clients as their parents) into an empty local server simulator, at two sizes, beside the same
// library calls replayed alone (values read beforehand, no file), so that the tool's own share
// shows.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bench/export/BenchSite.h"
#include "common/CFixed.h"
#include "common/CProfile.h"
#include "extract/ConfigLayout.h"
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

// What the import sends for one file: every record it stores, in the order it stores them, read
// once beforehand so that the replay times the library calls alone.
class CallPlan {
  public:
    explicit CallPlan(const std::string& file) {
        CProfile profile(file.c_str(), false);
        CStr name;
        for (int32_t index = 1; profile.GetSectionName(index, name); ++index) {
            SectionKind kind;
            const int32_t n = SectionNumber(name);
            if (n < 1 || !FindKind(name, kind)) continue;
            profile.SetSection(name.Narrow());
            CProfile::SectionKeys keys;
            profile.GetSectionKeys(keys);
            Reader reader{keys};
            if (kind == SectionKind::Attendant) AttendantKeys(reader, m_attendants[n]);
            if (kind == SectionKind::Product) ProductKeys(reader, m_products[n]);
            if (kind == SectionKind::Client) {
                CardClientKeys(reader, m_clients[n]);
                if (m_clients[n].factor == 0) m_clients[n].factor = 1;
            }
            m_walk.push_back({kind, n});
        }
    }

    // The walk's calls, parents first, as the import makes them.
    void Replay(ClientLibrary& l) const {
        for (const auto& [kind, n] : m_walk) {
            if (kind == SectionKind::Attendant) Attendant(l, n);
            if (kind == SectionKind::Product) Product(l, n);
            if (kind == SectionKind::Client) Client(l, n);
        }
    }

  private:
    // Reads a record's keys with the import's conversions.
    struct Reader {
        const CProfile::SectionKeys& keys;
        CStr Value(const char* key) const {
            CStr v;
            keys.GetString(key, v);
            return v;
        }
        void Int(const char* key, int32_t& out) { out = Value(key).ToInt(); }
        void Int16(const char* key, int16_t& out) {
            out = static_cast<int16_t>(Value(key).ToInt());
        }
        void Text(const char* key, CStr& out) { out = Value(key); }
        void Real(const char* key, double& out, int) {
            out = CFixed(Value(key).ToDouble()).ToDouble();
        }
        void Date(const char* key, double& out) { out = Value(key).ToDouble(); }
    };

    void Attendant(ClientLibrary& l, int32_t n) const {
        const AttendantRecord& r = m_attendants.at(n);
        l.SetAttendantProperties(n, r.number, r.name, r.shortName, r.password, r.tag, r.idNumber,
                                 r.shiftAStart, r.shiftAEnd, r.shiftBStart, r.shiftBEnd, r.type);
    }
    void Product(ClientLibrary& l, int32_t n) const {
        const ProductRecord& r = m_products.at(n);
        l.SetProductProperties(n, r.number, r.name, r.tag, r.enabled, r.shortName, r.barcode,
                               r.quickCode, r.prices[0], r.prices[1], r.prices[2], r.prices[3],
                               r.group);
    }
    void Client(ClientLibrary& l, int32_t n) const {
        const CardClientRecord& r = m_clients.at(n);
        if (r.cardType == 4 || r.cardType == 6) Client(l, r.parentID);
        if (r.cardType == 5) Attendant(l, r.parentID);
        if (r.cardType == 7 || r.cardType == 8) Product(l, r.parentID);
        l.SetCardClientProperties(n, r.number, r.name, r.tag, r.enabled, r.priceLevel, r.plate,
                                  r.idNumber, r.shortName, r.password, r.gradeType, r.cardType,
                                  r.limitType, r.limit, r.entryType, r.expiration, r.parentID,
                                  r.odoSerialNo, r.odometer, r.factor);
    }

    std::vector<std::pair<SectionKind, int32_t>> m_walk;
    std::map<int32_t, AttendantRecord> m_attendants;
    std::map<int32_t, ProductRecord> m_products;
    std::map<int32_t, CardClientRecord> m_clients;
};

constexpr int kRuns = 3; // the median counts, the spread is shown

struct Figures {
    std::vector<double> wall, cpu, calls, callsCpu; // per run: the import and the calls alone
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A fresh empty server on the address, logged on; false when it could not be had.
bool FreshServer(bench::Server& server, const std::string& buildDir, const std::string& address,
                 const std::string& dir) {
    std::filesystem::create_directories(dir);
    if (!server.Start(buildDir, address, dir, {"--seed", "empty"})) {
        std::fprintf(stderr, "qvserver did not start on %s\n", address.c_str());
        return false;
    }
    if (bench::Logon(address) != 0) {
        std::fprintf(stderr, "logon to %s failed\n", address.c_str());
        return false;
    }
    return true;
}

// Each run imports the file into a fresh empty server, then replays the import's library calls
// into another; empty figures when a run failed.
Figures TimeImport(const std::string& buildDir, const bench::DeviceRoot& root, int n,
                   const char* address) {
    const std::string file = root.File("import-" + std::to_string(n) + ".ini");
    WriteSite(file, n);
    const CallPlan plan(file);
    Figures f;
    for (int run = 0; run < kRuns; ++run) {
        const std::string dir = root.File("run-" + std::to_string(n) + "-" + std::to_string(run));
        const std::string console = dir + "/console.txt";
        {
            bench::Server server;
            if (!FreshServer(server, buildDir, address, dir + "/import")) return {};
            const bench::Times times = bench::TimeQuietly(console, [&] {
                ImportConfiguration(ToolLibrary(), file.c_str(), ImportOptions());
            });
            int32_t stored = 0;
            ToolLibrary().GetCardClientsCount(stored);
            ToolLibrary().Logoff();
            if (stored != n) {
                std::fprintf(stderr, "%d of %d card clients stored (see %s)\n", stored, n,
                             console.c_str());
                return {};
            }
            f.wall.push_back(times.wall);
            f.cpu.push_back(times.cpu);
        }
        bench::Server server;
        if (!FreshServer(server, buildDir, address, dir + "/replay")) return {};
        const bench::Times calls =
            bench::TimeQuietly(console + ".replay", [&] { plan.Replay(ToolLibrary()); });
        ToolLibrary().Logoff();
        f.calls.push_back(calls.wall);
        f.callsCpu.push_back(calls.cpu);
    }
    return f;
}

void Print(int n, const Figures& f) {
    const auto [lo, hi] = std::minmax_element(f.wall.begin(), f.wall.end());
    const auto [clo, chi] = std::minmax_element(f.calls.begin(), f.calls.end());
    std::printf("import %6d card clients: %7.3f s (%.3f-%.3f, CPU %.3f s); library calls alone "
                "%.3f s (%.3f-%.3f, CPU %.3f s); import/calls %.2f\n",
                n, Median(f.wall), *lo, *hi, Median(f.cpu), Median(f.calls), *clo, *chi,
                Median(f.callsCpu), Median(f.wall) / Median(f.calls));
}

} // namespace

int main(int, char** argv) {
    const std::string buildDir = bench::BuildDir(argv[0]);
    bench::DeviceRoot root(buildDir);
    const Figures f1 = TimeImport(buildDir, root, 1000, "127.0.50.21");
    const Figures f2 = TimeImport(buildDir, root, 10000, "127.0.50.22");
    if (f1.wall.empty() || f2.wall.empty()) return 1;
    std::printf("median of %d runs (spread), each into a fresh empty server\n", kRuns);
    Print(1000, f1);
    Print(10000, f2);
    std::printf("10000/1000 (aim: at most 11): %.2f; import/calls at 10000 (aim: at most 2): "
                "%.2f\n",
                Median(f2.wall) / Median(f1.wall), Median(f2.wall) / Median(f2.calls));
    return 0;
}
