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

#include "testing/CommandLine.h"
#include "testing/Files.h"
#include "testing/FullDisk.h"
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

TEST_F(QVZipTest, FailuresExitNonZeroWithOneLineThatSaysWhyAndLeaveNoArchive) {
    std::ofstream(m_root / "Logs" / "old.zip") << "previous archive";
    fs::create_directories(m_root / "Logs" / "dir.L01");
    const std::string logs = (m_root / "Logs").string();
    struct Case {
        std::string args;
        std::string reason;
    };
    const Case cases[] = {
        {R"(-Q -C "\Logs\x.zip" "\Logs\missing.L01")",
         "cannot read " + logs + "/missing.L01: no such file or folder"},
        {R"(-Q -C "\Logs\old.zip" "\Logs\missing.L01")",
         "cannot read " + logs + "/missing.L01: no such file or folder"},
        {R"(-Q -C "\Logs\x.zip" "\Logs\dir.L01")", "cannot read " + logs + "/dir.L01: is a folder"},
        {R"(-Q -C "\NoSuchDir\x.zip" "\Logs\old.zip")",
         "cannot write " + (m_root / "NoSuchDir" / "x.zip").string() + ": no such folder"},
        {R"(-Q -C "\Logs\dir.L01" "\Logs\old.zip")",
         "cannot write " + logs + "/dir.L01: is a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const Result r = Zip(c.args);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err, "QVZip: " + c.reason + "\n");
        EXPECT_EQ(Listing(), (std::vector<std::string>{"dir.L01", "old.zip"}));
    }
    EXPECT_EQ(ReadFile(m_root / "Logs" / "old.zip"), "previous archive");
}

// The command line of our own programs: help and version on standard output, a wrong line as
// one named mistake with the hint to --help, exit 2, nothing written.
TEST_F(QVZipTest, HelpVersionAndAWrongCommandLine) {
    qvtesting::RunResult r = qvtesting::Run(m_program.string(), {"--help"});
    EXPECT_EQ(qvtesting::HelpProblem(r, "usage: QVZip -Q -C \"<zip>\" \"<file>\"\n"), "");
    EXPECT_EQ(qvtesting::VersionProblem(qvtesting::Run(m_program.string(), {"--version"}), "QVZip"),
              "");
    std::ofstream(m_root / "Logs" / "x.L01") << "log";
    const std::string zip = (m_root / "Logs" / "x.zip").string();
    const std::string log = (m_root / "Logs" / "x.L01").string();
    struct Case {
        std::vector<std::string> args;
        std::string mistake;
    };
    const Case cases[] = {
        {{}, "missing the archive or the file (expected \"<zip>\" \"<file>\")"},
        {{"-Q", "-C"}, "missing the archive or the file (expected \"<zip>\" \"<file>\")"},
        {{"-Q", "-X", zip, log}, "unknown option '-X'"},
        {{"--bogus", zip, log}, "unknown option '--bogus'"},
        {{"-Q", zip, log}, "missing -C (create an archive, the only action)"},
        {{"-Q", "-C", zip, log, "extra"}, "unexpected argument 'extra'"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qvtesting::UsageErrorProblem(qvtesting::Run(m_program.string(), c.args), "QVZip",
                                               c.mistake),
                  "");
        EXPECT_EQ(Listing(), (std::vector<std::string>{"x.L01"})) << c.mistake;
    }
}

// A full disk: a small tmpfs in a mount namespace of its own takes the archive's folder.
TEST_F(QVZipTest, AFullDiskIsNamedAndLeavesNothingBehind) {
    if (!qvtesting::TmpfsAvailable()) GTEST_SKIP() << "no mount namespace with a tmpfs here";
    // Random bytes do not compress: 256 KB cannot fit into 64 KB.
    const fs::path log = m_root / "Logs" / "big.L01";
    ASSERT_EQ(qvtesting::RunShell("head -c 262144 /dev/urandom >" + log.string()).exitCode, 0);
    const fs::path full = m_root / "full";
    fs::create_directories(full);
    const qvtesting::RunResult r = qvtesting::RunWithTmpfs(
        full.string(), 64,
        m_program.string() + " -Q -C " + full.string() + "/big.zip " + log.string() +
            "; code=$?; ls -A " + full.string() + "; exit $code",
        false);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "QVZip: cannot write " + full.string() + "/big.zip: disk full\n");
    EXPECT_EQ(r.out, "") << "left on the full disk";
}

} // namespace
