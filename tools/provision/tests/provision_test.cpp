// qvroot-provision run in temporary folders: the layout, the links, and a second run that
// changes nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
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
    std::vector<std::string> lines;
};

class ProvisionTest : public ::testing::Test {
  protected:
    // The device root is a folder not made yet inside the test's own folder.
    void SetUp() override {
        m_root = m_tmp / "root";
        setenv("QV_ROOT", m_root.c_str(), 1);
        const char* build = getenv("QV_BUILD_DIR");
        ASSERT_NE(build, nullptr);
        m_build = fs::canonical(build);
    }
    void TearDown() override { unsetenv("QV_ROOT"); }

    Result Provision(const std::string& args) {
        const qvtesting::RunResult run = qvtesting::RunShell(
            (m_build / "bin" / "qvroot-provision").string() + " " + args + " 2>&1");
        Result r;
        r.code = run.exitCode;
        r.lines = qvtesting::RawLines(run.out);
        return r;
    }
    // Every entry under the root: "d" for a folder, "-> target" for a link, "f" for a file.
    std::map<std::string, std::string> Snapshot() {
        std::map<std::string, std::string> tree;
        for (const auto& e : fs::recursive_directory_iterator(m_root)) {
            const std::string rel = e.path().lexically_relative(m_root).string();
            if (e.is_symlink())
                tree[rel] = "-> " + fs::read_symlink(e.path()).string();
            else
                tree[rel] = e.is_directory() ? "d" : "f";
        }
        return tree;
    }

    qvtesting::TempDir m_dir{"qvprovtest"};
    const fs::path& m_tmp = m_dir.Dir();
    fs::path m_root, m_build;
};

TEST_F(ProvisionTest, LaysTheRootOutAndASecondRunChangesNothing) {
    const Result first = Provision(m_root.string());
    EXPECT_EQ(first.code, 0);
    EXPECT_EQ(first.lines.size(), 19u); // one line per entry

    const std::string bin = (m_build / "bin").string(), lib = (m_build / "lib").string();
    std::map<std::string, std::string> tree = Snapshot();
    const fs::path sqlite = tree["DAVozuz/QVForecourt/SQLite.DLL"].substr(3);
    EXPECT_EQ(sqlite.filename(), "libsqlite3.so.0");
    EXPECT_TRUE(fs::exists(sqlite));
    tree.erase("DAVozuz/QVForecourt/SQLite.DLL");
    EXPECT_EQ(tree, (std::map<std::string, std::string>{
                        {"C", "d"},
                        {"C/QVForecourt", "d"},
                        {"C/QVForecourt/log", "d"},
                        {"C/QVForecourt/QVClient.DLL", "-> " + lib + "/libQVClient.so"},
                        {"DAVozuz", "d"},
                        {"DAVozuz/LOG", "d"},
                        {"DAVozuz/QVForecourt", "d"},
                        {"DAVozuz/QVForecourt/Ostrel.ini", "f"},
                        {"DAVozuz/QVForecourt/QVClient.DLL", "-> " + lib + "/libQVClient.so"},
                        {"DAVozuz/QVForecourt/QVZip.exe", "-> " + bin + "/QVZip"},
                        {"DAVozuz/SQLite", "d"},
                        {"DAVozuz/SQLite/QVSQLite.ini", "f"},
                        {"Windows", "d"},
                        {"Windows/Dovetrix.exe", "-> " + bin + "/ce/Dovetrix"},
                        {"Windows/Ostrel.dll", "-> " + lib + "/ce/libOstrel.so"},
                        {"Windows/QVNetwork.ini", "f"},
                        {"Windows/QVSetTCPIP.dll", "-> " + lib + "/ce/libQVSetTCPIP.so"},
                        {"Windows/Services.ini", "f"},
                    }));

    // The board's service list starts the three services; the service's log section exists.
    std::ifstream services(m_root / "Windows" / "Services.ini", std::ios::binary);
    const std::string list((std::istreambuf_iterator<char>(services)), {});
    EXPECT_NE(list.find("Boot=QVServer,QV2Serial,Ostrel\r\n"), std::string::npos);
    EXPECT_NE(list.find("Dll=\\Windows\\Ostrel.dll\r\n"), std::string::npos);
    std::ifstream ostrel(m_root / "DAVozuz" / "QVForecourt" / "Ostrel.ini", std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(ostrel)), {}).rfind("[Log]\r\n", 0), 0u);

    // The database tool's default settings name the database in the device root.
    const std::string settings =
        qvtesting::ReadFile(m_root / "DAVozuz" / "SQLite" / "QVSQLite.ini");
    EXPECT_NE(settings.find("DBName=\\DAVozuz\\SQLite\\QVForecourt.db\r\n"), std::string::npos);

    // A site's own settings are never overwritten.
    std::ofstream(m_root / "DAVozuz" / "SQLite" / "QVSQLite.ini") << "[Parameters]\nDBName=mine\n";
    const std::map<std::string, std::string> before = Snapshot();
    const Result second = Provision(""); // from $QV_ROOT this time
    EXPECT_EQ(second.code, 0);
    ASSERT_EQ(second.lines.size(), 19u);
    for (const std::string& line : second.lines)
        EXPECT_EQ(line.rfind("exists ", 0), 0u) << line;
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(qvtesting::ReadFile(m_root / "DAVozuz" / "SQLite" / "QVSQLite.ini"),
              "[Parameters]\nDBName=mine\n");
}

TEST_F(ProvisionTest, RepairsAWrongLinkButLeavesAFileInTheWay) {
    fs::create_directories(m_root / "DAVozuz" / "QVForecourt");
    fs::create_directories(m_root / "Windows");
    fs::create_symlink("/nowhere", m_root / "DAVozuz" / "QVForecourt" / "QVZip.exe");
    std::ofstream(m_root / "Windows" / "Dovetrix.exe") << "mine";
    const Result r = Provision(m_root.string());
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(fs::read_symlink(m_root / "DAVozuz" / "QVForecourt" / "QVZip.exe"),
              m_build / "bin" / "QVZip");
    EXPECT_FALSE(fs::is_symlink(m_root / "Windows" / "Dovetrix.exe"));
    int failed = 0, relinked = 0;
    for (const std::string& line : r.lines) {
        failed += line.rfind("FAILED ", 0) == 0;
        relinked += line.rfind("relinked ", 0) == 0;
    }
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(relinked, 1);
}

TEST_F(ProvisionTest, HelpAndBadUsage) {
    const Result help = Provision("--help");
    EXPECT_EQ(help.code, 0);
    ASSERT_FALSE(help.lines.empty());
    EXPECT_EQ(help.lines[0].rfind("usage: qvroot-provision", 0), 0u);
    EXPECT_EQ(Provision("--bogus").code, 2);
    EXPECT_EQ(Provision("a b").code, 2);
    EXPECT_FALSE(fs::exists(m_root));
}

// Help and version on standard output; a wrong line is one named mistake with the hint.
TEST_F(ProvisionTest, TheCommandLineKeepsTheConventions) {
    const std::string program = (m_build / "bin" / "qvroot-provision").string();
    EXPECT_EQ(
        qvtesting::HelpProblem(qvtesting::Run(program, {"--help"}), "usage: qvroot-provision"), "");
    EXPECT_EQ(qvtesting::HelpProblem(qvtesting::Run(program, {"-h"}), "usage: qvroot-provision"),
              "");
    EXPECT_EQ(qvtesting::VersionProblem(qvtesting::Run(program, {"--version"}), "qvroot-provision"),
              "");
    struct Case {
        std::vector<std::string> args;
        std::string mistake;
    };
    const Case cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{m_root.string(), "-x"}, "unknown option '-x'"},
        {{m_root.string(), "other"}, "unexpected argument 'other' (one DIR only)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qvtesting::UsageErrorProblem(qvtesting::Run(program, c.args), "qvroot-provision",
                                               c.mistake),
                  "");
    EXPECT_FALSE(fs::exists(m_root));
}

// Entries that cannot be made say why; a default profile that did not fit on a full disk is not
// left behind half-written (a later run would take it as the site's own).
TEST_F(ProvisionTest, AFailedEntrySaysWhyAndAFullDiskLeavesNoPartialProfile) {
    fs::create_directories(m_root);
    std::ofstream(m_root / "C") << "a file where a folder belongs";
    Result r = Provision(m_root.string());
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(qvtesting::CountLines(r.lines, "FAILED    " + (m_root / "C").string() +
                                                 " (a file is in the way)"),
              1);
    EXPECT_EQ(qvtesting::CountLines(r.lines, "FAILED    " +
                                                 (m_root / "C" / "QVForecourt").string() +
                                                 " (a part of the path is not a folder)"),
              1);
    fs::remove_all(m_root);

    if (!qvtesting::TmpfsAvailable()) GTEST_SKIP() << "no mount namespace with a tmpfs here";
    // A whole provision on a disk too small for every profile; what the disk holds then is
    // copied out before the disk goes with its namespace.
    fs::create_directories(m_root);
    const fs::path kept = m_tmp / "kept";
    fs::create_directories(kept);
    const std::string program = (m_build / "bin" / "qvroot-provision").string();
    const qvtesting::RunResult full =
        qvtesting::RunWithTmpfs(m_root.string(), 8,
                                program + " " + m_root.string() + "; code=$?; cp -a " +
                                    m_root.string() + "/. " + kept.string() + "; exit $code",
                                false);
    EXPECT_EQ(full.exitCode, 1) << full.out;
    const std::vector<std::string> lines = qvtesting::RawLines(full.out);
    EXPECT_GE(qvtesting::CountLines(lines, " (disk full)"), 1) << full.out;
    for (const std::string& line : lines) {
        if (line.rfind("FAILED", 0) == 0) {
            EXPECT_NE(line.find(" (disk full)"), std::string::npos) << line;
        }
    }

    // Every profile that is there is whole: the same as on a disk with room.
    const Result roomy = Provision(m_root.string());
    ASSERT_EQ(roomy.code, 0);
    int profiles = 0;
    for (const auto& e : fs::recursive_directory_iterator(kept)) {
        if (e.is_symlink() || !e.is_regular_file()) continue;
        ++profiles;
        const fs::path rel = e.path().lexically_relative(kept);
        EXPECT_EQ(qvtesting::ReadFile(e.path()), qvtesting::ReadFile(m_root / rel)) << rel;
    }
    EXPECT_LT(profiles, 4) << "the disk was meant to be too small for every profile";
}

} // namespace
