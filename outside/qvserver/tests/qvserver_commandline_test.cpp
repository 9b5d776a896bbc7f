// qvserver's command lines as a user meets them: help and version on standard output, a wrong
// line as one named mistake with the hint to --help (exit 2, nothing created or sent), the
// operation names --fail takes, and 'ctl' answers that name pump states and say why a command
// was refused. Server on 127.0.93.1; nothing listens on 127.0.93.2.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "outside/qvclient/QVWire.h"
#include "testing/CommandLine.h"
#include "testing/Files.h"
#include "testing/QvServerProcess.h"
#include "testing/Run.h"
#include "testing/TempDir.h"

namespace {

using qvtesting::RunResult;

constexpr char kAddress[] = "127.0.93.1";
constexpr char kNobody[] = "127.0.93.2";

std::string Program() {
    return qvtesting::QvBuildDir() + "/bin/qvserver";
}

RunResult Qvserver(const std::vector<std::string>& args) {
    return qvtesting::Run(Program(), args);
}

// The words of the help's list of operation names (the lines after its heading that start
// with blanks).
std::vector<std::string> ListedFaultNames(const std::string& help) {
    std::vector<std::string> names;
    std::istringstream in(help.substr(help.find("Operation names that --fail takes:\n")));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line) && line.rfind("    ", 0) == 0) {
        std::istringstream words(line);
        for (std::string w; words >> w;)
            names.push_back(w);
    }
    return names;
}

TEST(ServerCommandLine, HelpAndVersionGoToStandardOutput) {
    EXPECT_EQ(qvtesting::HelpProblem(Qvserver({"--help"}), "usage: qvserver --db FILE"), "");
    EXPECT_EQ(qvtesting::HelpProblem(Qvserver({"-h"}), "usage: qvserver --db FILE"), "");
    EXPECT_EQ(qvtesting::HelpProblem(Qvserver({"ctl", "--help"}), "usage: qvserver ctl ADDRESS"),
              "");
    EXPECT_EQ(qvtesting::HelpProblem(Qvserver({"ctl", kNobody, "status", "--help"}),
                                     "usage: qvserver ctl ADDRESS"),
              "");
    // The server's version is the one it reports to the client library.
    for (const auto& args : {std::vector<std::string>{"--version"}, {"ctl", "--version"}}) {
        const RunResult r = Qvserver(args);
        EXPECT_EQ(qvtesting::VersionProblem(r, "QVServer"), "");
        EXPECT_EQ(r.out, "QVServer 5.1.3.0\n");
    }
    // Every ctl command is described.
    const std::string ctlHelp = Qvserver({"ctl", "--help"}).out;
    for (const char* command :
         {"nozzle-up", "nozzle-down", "flow", "card", "tank-drop", "pump-error", "offline",
          "drop-clients", "drop-events", "zb-status", "odo", "prompt-answer", "terminal",
          "line-mode", "advance", "status"})
        EXPECT_NE(ctlHelp.find("\n  " + std::string(command) + " "), std::string::npos) << command;
}

// The help lists one name per operation family of the wire's table, and --fail takes each.
TEST(ServerCommandLine, HelpListsEveryOperationNameThatFailTakes) {
    const std::vector<std::string> listed = ListedFaultNames(Qvserver({"--help"}).out);
    std::set<std::string> families;
    for (std::string_view op : qvwire::kOperationNames)
        families.insert(qvwire::FamilyName(op));
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), families);
    EXPECT_EQ(listed.size(), families.size()) << "a name listed twice";

    // All at once: the line is read to its end and the start fails only at the missing folder.
    qvtesting::TempDir dir("qvcltest");
    std::vector<std::string> args = {"--db", dir.Str() + "/no/such/folder/site.db"};
    for (const std::string& name : listed)
        args.insert(args.end(), {"--fail", name + ":1"});
    const RunResult r = Qvserver(args);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.err.find("cannot open " + dir.Str() +
                         "/no/such/folder/site.db: unable to open database file (no such folder)"),
              std::string::npos)
        << r.err;
}

TEST(ServerCommandLine, AWrongLineIsOneNamedMistakeAndCreatesNothing) {
    qvtesting::TempDir dir("qvcltest");
    const std::string db = dir.Str() + "/site.db";
    struct Case {
        std::vector<std::string> args;
        std::string mistake;
    };
    const Case cases[] = {
        {{"--db", db, "--x"}, "unknown option '--x'"},
        {{"--db", db, "-x"}, "unknown option '-x'"},
        {{"--db", db, "stray"}, "unexpected argument 'stray'"},
        {{"--db"}, "option '--db' needs a value (FILE)"},
        {{}, "option '--db FILE' is required"},
        {{"--db", db, "--calls-port", "70000"},
         "invalid value '70000' for --calls-port: expected a port from 1 to 65535"},
        {{"--db", db, "--events-port", "12x"},
         "invalid value '12x' for --events-port: expected a port from 1 to 65535"},
        {{"--db", db, "--seed", "large:1:2"},
         "invalid value 'large:1:2' for --seed: expected demo, empty or "
         "large:CARDS:PRODUCTS:ATTENDANTS"},
        {{"--db", db, "--clock", "fast"},
         "invalid value 'fast' for --clock: expected real or manual"},
        {{"--db", db, "--seed-random", "-1"},
         "invalid value '-1' for --seed-random: expected a whole number from 0 to 4294967295"},
        {{"--db", db, "--fail", "NoSuchCall:1"},
         "invalid value 'NoSuchCall:1' for --fail: unknown operation NoSuchCall ('qvserver "
         "--help' lists the names)"},
        {{"--db", db, "--fail", "GetPumpStatus:0"},
         "invalid value 'GetPumpStatus:0' for --fail: N must be a whole number from 1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qvtesting::UsageErrorProblem(Qvserver(c.args), "qvserver", c.mistake), "");
        EXPECT_FALSE(qvtesting::FileExists(db)) << c.mistake;
    }
}

TEST(ControlCommandLine, AWrongLineIsOneNamedMistakeAndNothingIsSent) {
    // Nothing listens on the address: a line that got as far as sending would fail with 1.
    struct Case {
        std::vector<std::string> args;
        std::string mistake;
    };
    const Case cases[] = {
        {{}, "missing the server's address"},
        {{kNobody}, "missing the command after the address"},
        {{"--x"}, "unknown option '--x'"},
        {{kNobody, "nozzle"}, "unknown command 'nozzle'"},
        {{kNobody, "--x", "status", "1"}, "unknown option '--x'"},
        {{kNobody, "--calls-port"}, "option '--calls-port' needs a value (P)"},
        {{kNobody, "--calls-port", "0", "status", "1"},
         "invalid value '0' for --calls-port: expected a port from 1 to 65535"},
        {{kNobody, "status"}, "status takes 1 argument (0 given)"},
        {{kNobody, "nozzle-up", "1"}, "nozzle-up takes 2 arguments (1 given)"},
        {{kNobody, "card", "1", "2", "3", "4"}, "card takes 2 or 3 arguments (4 given)"},
        {{kNobody, "drop-clients", "1"}, "drop-clients takes no arguments (1 given)"},
        {{kNobody, "odo", "2", "1", "1"}, "odo takes 21 arguments (3 given)"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"ctl"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(qvtesting::UsageErrorProblem(Qvserver(args), "qvserver ctl", c.mistake), "");
    }
    const RunResult none = Qvserver({"ctl", kNobody, "status", "1"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, "qvserver ctl: cannot connect to 127.0.93.2 port 5123: Cannot connect to "
                        "the server\n");
}

// On the demo site pump 2 waits for an authorisation when a nozzle is lifted.
TEST(ControlCommandLine, StatusNamesTheStateAndARefusalSaysWhy) {
    qvtesting::TempDir dir("qvcltest");
    qvtesting::QvServerProcess server;
    ASSERT_TRUE(server.Start(kAddress, dir.Str(), {"--seed", "demo", "--clock", "manual"}));
    auto ctl = [](std::vector<std::string> words) {
        words.insert(words.begin(), {"ctl", kAddress});
        return Qvserver(words);
    };
    RunResult r = ctl({"status", "2"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("state 4 (Idle) hose 0 ", 0), 0u) << r.out;
    ASSERT_EQ(ctl({"nozzle-up", "2", "1"}).exitCode, 0);
    r = ctl({"status", "2"});
    EXPECT_EQ(r.out.rfind("state 6 (Calling) hose 1 ", 0), 0u) << r.out;

    struct Refusal {
        std::vector<std::string> words;
        std::string answer;
    };
    const Refusal refusals[] = {
        {{"status", "99"}, "refused 3 (Unknown ID)\n"},
        {{"flow", "2", "fast"}, "refused 2 (an argument is not a number in range)\n"},
        {{"tank-drop", "99", "1000"}, "refused 3 (Unknown ID)\n"},
    };
    for (const Refusal& c : refusals) {
        r = ctl(c.words);
        EXPECT_EQ(r.exitCode, 1) << c.answer;
        EXPECT_EQ(r.out, c.answer);
        EXPECT_EQ(r.err, "");
    }
}

} // namespace
