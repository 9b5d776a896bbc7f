// The archiver stand-in, run as the log writer runs it, in a temporary device root.
#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "testing/Files.h"
#include "testing/Run.h"
#include "testing/TempDir.h"

namespace fs = std::filesystem;

namespace {

struct Result {
    int code = -1;
    std::string out;
    std::string err;
};

using qvtesting::ReadFile;

// Entry names and contents of a zip, read back with libzip.
std::vector<std::pair<std::string, std::string>> ReadZip(const fs::path& p) {
    std::vector<std::pair<std::string, std::string>> entries;
    int error = 0;
    zip_t* z = zip_open(p.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!z) return entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, i, 0, &st);
        std::string data(st.size, '\0');
        zip_file_t* f = zip_fopen_index(z, i, 0);
        if (f) {
            zip_fread(f, data.data(), data.size());
            zip_fclose(f);
        }
        entries.emplace_back(st.name, data);
    }
    zip_close(z);
    return entries;
}

class QVZipTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* build = getenv("QV_BUILD_DIR");
        ASSERT_NE(build, nullptr);
        m_program = fs::path(build) / "bin" / "QVZip";
    }
    Result Zip(const std::string& args) {
        const qvtesting::RunResult run = qvtesting::RunShell(m_program.string() + " " + args);
        Result r;
        r.code = run.exitCode;
        r.out = run.out;
        r.err = run.err;
        return r;
    }
    // Names in Logs/ (to see that nothing half-written is left).
    std::vector<std::string> Listing() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(m_root / "Logs"))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    qvtesting::DeviceRoot m_device{"qvziptest", {"Logs"}};
    const fs::path& m_root = m_device.Dir();
    fs::path m_program;
};

TEST_F(QVZipTest, StoresTheFileUnderItsNameAtAMappedDevicePath) {
    const std::string text = "07/01/2025 16:50:27 ***START <T>\nrecord\n";
    std::ofstream(m_root / "Logs" / "Test.L01") << text;
    const Result r = Zip(R"(-Q -C "\Logs\TestL01.zip" "\Logs\Test.L01")");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, ""); // quiet
    const auto entries = ReadZip(m_root / "Logs" / "TestL01.zip");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].first, "Test.L01");
    EXPECT_EQ(entries[0].second, text);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"Test.L01", "TestL01.zip"}));
}

TEST_F(QVZipTest, ReplacesAnExistingArchiveAndReportsWhenNotQuiet) {
    std::ofstream(m_root / "Logs" / "a.L01") << "first";
    ASSERT_EQ(Zip(R"(-Q -C "\Logs\aL01.zip" "\Logs\a.L01")").code, 0);
    std::ofstream(m_root / "Logs" / "a.L01") << "second";
    const Result r = Zip(R"(-C "\Logs\aL01.zip" "\Logs\a.L01")");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("a.L01"), std::string::npos);
    const auto entries = ReadZip(m_root / "Logs" / "aL01.zip");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].second, "second");
}

TEST_F(QVZipTest, FailuresExitNonZeroWithOneLineAndLeaveNoArchive) {
    std::ofstream(m_root / "Logs" / "old.zip") << "previous archive";
    fs::create_directories(m_root / "Logs" / "dir.L01");
    struct Case {
        std::string args;
        int code;
    };
    const Case cases[] = {
        {"", 1},
        {"-Q -C", 1},
        {R"(-Q -X "\Logs\x.zip" "\Logs\x.L01")", 1},
        {R"(-Q "\Logs\x.zip" "\Logs\x.L01")", 1},
        {R"(-Q -C "\Logs\x.zip" "\Logs\x.L01" extra)", 1},
        {R"(-Q -C "\Logs\x.zip" "\Logs\missing.L01")", 2},
        {R"(-Q -C "\Logs\old.zip" "\Logs\missing.L01")", 2},
        {R"(-Q -C "\Logs\x.zip" "\Logs\dir.L01")", 2},
        {R"(-Q -C "\NoSuchDir\x.zip" "\Logs\old.zip")", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const Result r = Zip(c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.err.rfind("QVZip: ", 0), 0u);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
        EXPECT_EQ(Listing(), (std::vector<std::string>{"dir.L01", "old.zip"}));
    }
    EXPECT_EQ(ReadFile(m_root / "Logs" / "old.zip"), "previous archive");
}

} // namespace
