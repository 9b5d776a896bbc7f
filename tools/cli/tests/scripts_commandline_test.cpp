// The scripts' command lines as a user meets them: help and version on standard output, a wrong
// line as one named mistake with the hint to --help (exit 2) before anything is installed or
// built; a file that compare-configs.sh cannot read is named with the reason.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/CommandLine.h"
#include "testing/Env.h"
#include "testing/Files.h"
#include "testing/Run.h"
#include "testing/TempDir.h"

namespace {

using qvtesting::RunResult;

std::string Script(const std::string& name) {
    return qvtesting::Env("QV_SOURCE_DIR") + "/scripts/" + name;
}

RunResult RunScript(const std::string& name, const std::vector<std::string>& args) {
    std::vector<std::string> all = {Script(name)};
    all.insert(all.end(), args.begin(), args.end());
    return qvtesting::Run("/bin/bash", all);
}

TEST(Scripts, HelpAndVersionGoToStandardOutput) {
    const std::string version = qvtesting::ReadFile(qvtesting::Env("QV_SOURCE_DIR") + "/VERSION");
    for (const char* name : {"demo.sh", "build.sh", "test.sh", "compare-configs.sh"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(
            qvtesting::HelpProblem(RunScript(name, {"--help"}), std::string("usage: ") + name), "");
        EXPECT_EQ(qvtesting::HelpProblem(RunScript(name, {"-h"}), std::string("usage: ") + name),
                  "");
        const RunResult r = RunScript(name, {"--version"});
        EXPECT_EQ(qvtesting::VersionProblem(r, name), "");
        EXPECT_EQ(r.out, std::string(name) + " (Forecourt tools) " + version);
    }
}

// Each of these would otherwise install packages, configure, build or run servers: a usage
// error ends the script first.
TEST(Scripts, AWrongLineIsOneNamedMistake) {
    struct Case {
        const char* script;
        std::vector<std::string> args;
        std::string mistake;
    };
    const Case cases[] = {
        {"demo.sh", {"--bogus"}, "unknown option '--bogus'"},
        {"demo.sh", {"site.ini"}, "unexpected argument 'site.ini' (the demo takes none)"},
        {"build.sh", {"--bogus"}, "unknown option '--bogus'"},
        {"build.sh",
         {"Dovetrix"},
         "unexpected argument 'Dovetrix' (targets are named with --target)"},
        {"build.sh", {"--target"}, "option '--target' needs a value (NAME)"},
        {"test.sh", {"--sanitise"}, "unknown option '--sanitise'"},
        {"test.sh", {"all"}, "unexpected argument 'all'"},
        {"compare-configs.sh", {"--bogus", "a", "b"}, "unknown option '--bogus'"},
        {"compare-configs.sh", {"a"}, "expected two configuration files, got 1"},
        {"compare-configs.sh", {"a", "b", "c"}, "expected two configuration files, got 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        EXPECT_EQ(qvtesting::UsageErrorProblem(RunScript(c.script, c.args), c.script, c.mistake),
                  "");
    }
}

// A file that cannot be read is named with the reason (not taken as "the files differ").
TEST(Scripts, CompareConfigsSaysWhyAFileCannotBeRead) {
    qvtesting::TempDir dir("qvscripts");
    const std::string good = dir.Str() + "/a.ini";
    qvtesting::WriteFile(good, "[Site]\r\nName=A\r\n");
    struct Case {
        std::string file;
        std::string reason;
    };
    const Case cases[] = {
        {dir.Str() + "/missing.ini", "no such file"},
        {dir.Str(), "is a folder"},
    };
    for (const Case& c : cases) {
        const RunResult r = RunScript("compare-configs.sh", {good, c.file});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err, "compare-configs.sh: cannot read " + c.file + ": " + c.reason + "\n");
    }
    const RunResult same = RunScript("compare-configs.sh", {good, good});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "The two configuration files agree (1 sections).\n");
}

} // namespace
