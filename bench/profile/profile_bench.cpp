// Times reading three keys from every section of generated profiles with 1,000 and 10,000
// sections, in file order and in random order, as the configuration import reads its file,
// and prints the times with the ratio of the large to the small file.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "common/CProfile.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 5;

std::string SectionName(int i) {
    return "Pump " + std::to_string(i);
}

void WriteProfile(const fs::path& path, int sections) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < sections; ++i) {
        out << "\r\n[" << SectionName(i) << "]\r\n"
            << "Number=" << i << "\r\n"
            << "Name=Pump number " << i << "\r\n"
            << "Protocol=" << (i % 7) << "\r\n"
            << "Price=1." << (1000 + i % 9000) << "\r\n"
            << "Hoses=4\r\n";
    }
}

// Seconds to read Number, Name and Price from every section in the given order; counts wrong
// values into errors.
double ReadAll(const fs::path& path, const std::vector<int>& order, int& errors) {
    auto start = std::chrono::steady_clock::now();
    CProfile profile(path.string().c_str(), false);
    CStr value;
    for (int i : order) {
        std::string section = SectionName(i);
        profile.SetSection(section.c_str());
        if (profile.GetInt("Number") != i) ++errors;
        profile.GetString("Name", value);
        if (value.Length() == 0) ++errors;
        CFixed price;
        if (profile.GetFixed(price, "Price").Raw() <= 10000) ++errors;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Result {
    double fileOrder;
    double randomOrder;
};

// The best of several runs, so that other work on the machine disturbs the figures less.
double Best(const fs::path& path, const std::vector<int>& order, int& errors) {
    double best = 1e9;
    for (int run = 0; run < kRuns; ++run)
        best = std::min(best, ReadAll(path, order, errors));
    return best;
}

Result Measure(const fs::path& dir, int sections, int& errors) {
    fs::path path = dir / ("bench" + std::to_string(sections) + ".ini");
    WriteProfile(path, sections);
    std::vector<int> order(static_cast<size_t>(sections));
    for (int i = 0; i < sections; ++i)
        order[static_cast<size_t>(i)] = i;
    Result r;
    r.fileOrder = Best(path, order, errors);
    std::mt19937 rng(12345);
    std::shuffle(order.begin(), order.end(), rng);
    r.randomOrder = Best(path, order, errors);
    return r;
}

} // namespace

int main() {
    std::random_device rd;
    fs::path dir = fs::temp_directory_path() / ("qvprofile-bench-" + std::to_string(rd()));
    fs::create_directories(dir);
    int errors = 0;
    Result small = Measure(dir, 1000, errors);
    Result large = Measure(dir, 10000, errors);
    fs::remove_all(dir);

    std::printf("three keys from every section (read-only profile), best of %d runs\n", kRuns);
    std::printf("%-10s %14s %14s\n", "sections", "file order s", "random order s");
    std::printf("%-10d %14.4f %14.4f\n", 1000, small.fileOrder, small.randomOrder);
    std::printf("%-10d %14.4f %14.4f\n", 10000, large.fileOrder, large.randomOrder);
    std::printf("ratio 10k/1k: file order %.2f, random order %.2f\n",
                large.fileOrder / small.fileOrder, large.randomOrder / small.randomOrder);
    if (errors) std::printf("%d wrong values read\n", errors);
    return errors ? 1 : 0;
}
