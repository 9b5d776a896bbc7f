// The server under clients that misbehave (127.0.11.1 .. 127.0.11.19): one that never reads its
// events, connections that try to take over another logon's events, a descriptor limit reached,
// and the command line.
#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>

#include "outside/qvclient/QVSocket.h"
#include "outside/qvclient/QVWire.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace qvtest;
using Clock = std::chrono::steady_clock;

namespace {

int64_t MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A logon made by hand on the calls connection: its descriptor, session ID and attach key.
struct RawLogon {
    int fd = -1;
    int32_t session = 0;
    std::u16string key;
    ~RawLogon() { qvwire::CloseSocket(fd); }
};

// Sends one frame and reads the answer; the answer's result, or the receive failure.
int32_t Exchange(int fd, qvwire::MsgType type, int32_t session, const qvwire::Values& body,
                 qvwire::Header& reply, qvwire::Values& out, uint16_t op = 0) {
    qvwire::Writer w;
    w.PutAll(body);
    qvwire::Header h;
    h.type = type;
    h.session = session;
    h.op = op;
    if (!qvwire::SendFrame(fd, h, w.Bytes())) return QV_CONNECTION_BROKEN;
    std::vector<uint8_t> raw;
    const int rc = qvwire::RecvFrame(fd, reply, raw, 3000);
    if (rc != 0) return rc;
    if (!qvwire::DecodeValues(raw.data(), raw.size(), out)) return QV_PROTOCOL_ERROR;
    return reply.result;
}

bool LogOnByHand(const std::string& address, RawLogon& l) {
    int32_t r = 0;
    l.fd = qvwire::ConnectTcp(address, 5123, 2000, r);
    qvwire::Header reply;
    qvwire::Values out;
    using qvwire::Value;
    if (Exchange(l.fd, qvwire::MsgType::Connect, 0,
                 {Value::I32(1), Value::I16(5), Value::Text(u"raw"), Value::I16(1),
                  Value::Text(u""), Value::I32(0)},
                 reply, out) != 0 ||
        qvwire::SignatureOf(out) != "s")
        return false;
    l.session = reply.session;
    l.key = out[0].s;
    return true;
}

// Tries to attach an events connection; its descriptor (the caller closes it) and the result.
int Attach(const std::string& address, int32_t session, const qvwire::Values& body,
           int32_t& result) {
    int32_t r = 0;
    const int fd = qvwire::ConnectTcp(address, 5124, 2000, r);
    qvwire::Header reply;
    qvwire::Values out;
    result = Exchange(fd, qvwire::MsgType::Connect, session, body, reply, out);
    return fd;
}

// True when an Events frame arrives on fd within the bound.
bool EventArrives(int fd, int ms) {
    qvwire::Header h;
    std::vector<uint8_t> body;
    return qvwire::RecvFrame(fd, h, body, ms) == 0 && h.type == qvwire::MsgType::Events;
}

// Reads the events waiting and discards them; their number.
// Drops every queued event; the number of log events among them (the server also tells of
// logons coming and going).
int DrainEvents(int32_t h) {
    if (ProcessEventsMT(h) != 0) return -1;
    int n = 0;
    int16_t type = 0;
    while (GetNextEventTypeMT(h, &type) == 0 && type != 0) {
        n += type == qvwire::kEventLogEvent;
        DiscardNextEventMT(h);
    }
    return n;
}

TEST(SilentClient, ALogonThatNeverReadsItsEventsHoldsNobodyUp) {
    TempDir dir;
    ServerProcess server("127.0.11.1", dir.Path());
    ASSERT_TRUE(server.Start("demo"));
    const std::string at = "127.0.11.1";
    // Logged on and attached by hand, it never reads its events connection until the end.
    RawLogon silent;
    ASSERT_TRUE(LogOnByHand(at, silent));
    int32_t r = -1;
    const int events = Attach(at, silent.session, {qvwire::Value::Text(silent.key)}, r);
    ASSERT_EQ(r, 0);
    int32_t busy = Logon(at); // the library reads its events as they come
    ASSERT_NE(busy, 0);

    // Each log event is pushed to every logon: some 4 kB each, 24 MB in all, far more than the
    // socket buffers between the server and the silent client hold.
    BSTR desc = Bstr(std::string(2000, 'x'));
    int64_t slowest = 0;
    int failed = 0, received = 0;
    for (int i = 0; i < 6000 && failed == 0; ++i) { // a frozen server fails every later call
        const auto start = Clock::now();
        int32_t id = 0;
        if (AddLogEventMT(busy, 0, 0, 1, 1, desc, &id) != 0) ++failed;
        slowest = std::max(slowest, MsSince(start));
        received += DrainEvents(busy);
    }
    platform::SysFreeString(desc);
    EXPECT_EQ(failed, 0);
    EXPECT_LT(slowest, 1000) << "the slowest call took " << slowest << " ms";

    int32_t other = Logon(at);
    ASSERT_NE(other, 0);
    Out version;
    const auto start = Clock::now();
    EXPECT_EQ(ServerVersionMT(other, &version), 0);
    EXPECT_LT(MsSince(start), 1000);

    // The silent client was disconnected from its events (not left to miss some silently): it
    // reads what had reached it, then the end of the connection. Its calls go on.
    int got = 0;
    qvwire::Header h;
    std::vector<uint8_t> body;
    int rc = 0;
    while ((rc = qvwire::RecvFrame(events, h, body, 5000)) == 0)
        ++got;
    EXPECT_EQ(rc, qvwire::kRecvBroken);
    EXPECT_GT(got, 0);
    EXPECT_LT(got, 6000);
    qvwire::CloseSocket(events);
    qvwire::Values out;
    EXPECT_EQ(Exchange(silent.fd, qvwire::MsgType::Call, silent.session, {}, h, out,
                       qvwire::OpCode("ServerVersion")),
              0);
    // The client that kept reading got every event.
    const auto until = Clock::now() + std::chrono::seconds(10);
    while (received < 6000 && Clock::now() < until)
        received += DrainEvents(busy);
    EXPECT_EQ(received, 6000);
    for (int32_t* l : {&busy, &other})
        ClientLogoffMT(l);
}

TEST(Attach, OnlyTheKeyHandedToALogonAttachesItsEventsAndOnlyOnce) {
    TempDir dir;
    ServerProcess server("127.0.11.2", dir.Path());
    ASSERT_TRUE(server.Start("demo"));
    const std::string at = "127.0.11.2";
    RawLogon victim, intruder;
    ASSERT_TRUE(LogOnByHand(at, victim));
    ASSERT_TRUE(LogOnByHand(at, intruder));
    EXPECT_EQ(victim.key.size(), 32u);
    EXPECT_NE(victim.key, intruder.key);
    EXPECT_EQ(intruder.session, victim.session + 1); // session IDs are guessable: keys are not

    using qvwire::Value;
    std::u16string wrong = victim.key;
    wrong[31] = wrong[31] == u'0' ? u'1' : u'0';
    const std::vector<qvwire::Values> forged = {
        {},                               // the session ID alone
        {Value::Text(intruder.key)},      // another logon's key
        {Value::Text(wrong)},             // one digit off
        {Value::Text(victim.key + u"0")}, // too long
        {Value::Text(u"")},
        {Value::I32(victim.session)},
    };
    for (size_t i = 0; i < forged.size(); ++i) {
        int32_t r = 0;
        const int fd = Attach(at, victim.session, forged[i], r);
        EXPECT_NE(r, 0) << "forged attach " << i;
        qvwire::CloseSocket(fd);
    }
    // The refusals changed nothing: the victim attaches with its key, once.
    int32_t r = -1;
    const int events = Attach(at, victim.session, {Value::Text(victim.key)}, r);
    EXPECT_EQ(r, 0);
    const int again = Attach(at, victim.session, {Value::Text(victim.key)}, r);
    EXPECT_EQ(r, QV_ACCESS_DENIED);
    // A second attempt with the right key neither takes the events nor ends the first.
    int32_t id = 0;
    BSTR desc = Bstr("probe");
    int32_t h = Logon(at);
    ASSERT_EQ(AddLogEventMT(h, 0, 0, 1, 1, desc, &id), 0);
    EXPECT_TRUE(EventArrives(events, 3000));
    EXPECT_FALSE(EventArrives(again, 300));
    qvwire::CloseSocket(again);
    ASSERT_EQ(AddLogEventMT(h, 0, 0, 1, 1, desc, &id), 0);
    EXPECT_TRUE(EventArrives(events, 3000));
    platform::SysFreeString(desc);
    qvwire::CloseSocket(events);
    ClientLogoffMT(&h);
}

TEST(Attach, ALibraryLogonKeepsItsEventsWhileOthersTryToTakeThem) {
    TempDir dir;
    ServerProcess server("127.0.11.3", dir.Path());
    ASSERT_TRUE(server.Start("demo"));
    const std::string at = "127.0.11.3";
    int32_t victim = Logon(at); // the server's first logon: session 1000
    ASSERT_NE(victim, 0);
    // Attempts on every session the intruder could guess, with keys it could make up.
    std::vector<int> fds;
    for (int32_t session = 995; session < 1010; ++session) {
        int32_t r = 0;
        fds.push_back(Attach(at, session, {qvwire::Value::Text(std::u16string(32, u'0'))}, r));
        EXPECT_NE(r, 0);
    }
    int32_t id = 0;
    BSTR desc = Bstr("probe");
    ASSERT_EQ(AddLogEventMT(victim, 0, 0, 1, 1, desc, &id), 0);
    platform::SysFreeString(desc);
    const auto until = Clock::now() + std::chrono::seconds(3);
    int got = 0;
    while (got == 0 && Clock::now() < until)
        got = DrainEvents(victim);
    EXPECT_EQ(got, 1);
    for (int fd : fds) {
        EXPECT_FALSE(EventArrives(fd, 50));
        qvwire::CloseSocket(fd);
    }
    ClientLogoffMT(&victim);
}

// ---- Hoses: any sequence of setters leaves pumps whose hoses a walk reads ----

struct Hose {
    int32_t number = 0, pump = 0, tank = 0, physical = 0;
};

int32_t GetHose(int32_t h, int32_t id, Hose& hose) {
    double d[8];
    int16_t uve, enabled;
    return GetHosePropertiesEx3MT(h, id, &hose.number, &hose.pump, &hose.tank, &hose.physical,
                                  &d[0], &d[1], &d[2], &d[3], &uve, &d[4], &d[5], &d[6], &d[7],
                                  &enabled);
}

int32_t SetHose(int32_t h, int32_t id, const Hose& x) {
    return SetHosePropertiesEx3MT(h, id, x.number, x.pump, x.tank, x.physical, 0, 0, 0, 0, 16, 1.5,
                                  0, 0, 0, 1);
}

std::vector<int32_t> Ids(int32_t h, int32_t (*count)(int32_t, int32_t*),
                         int32_t (*byOrdinal)(int32_t, int32_t, int32_t*)) {
    int32_t n = 0;
    std::vector<int32_t> ids;
    if (count(h, &n) != 0) return ids;
    for (int32_t o = 1; o <= n; ++o) {
        int32_t id = 0;
        if (byOrdinal(h, o, &id) == 0) ids.push_back(id);
    }
    return ids;
}

// Walks every pump's hoses as an export does; an empty text when each one reads, with distinct
// numbers on its pump, and the walks together cover every hose of the site.
std::string WalkProblem(int32_t h) {
    std::set<int32_t> walked;
    for (int32_t pump : Ids(h, GetPumpsCountMT, GetPumpByOrdinalMT)) {
        int32_t count = 0;
        if (GetPumpHosesCountMT(h, pump, &count) != 0)
            return "count of pump " + std::to_string(pump);
        int32_t last = INT32_MIN;
        for (int32_t n = 1; n <= count; ++n) {
            int32_t id = 0;
            Hose hose;
            const std::string where = "pump " + std::to_string(pump) + " hose " + std::to_string(n);
            if (GetPumpHoseByNumberMT(h, pump, n, &id) != 0) return where + " by number";
            if (GetHose(h, id, hose) != 0) return where + " properties";
            if (hose.pump != pump) return where + " on another pump";
            if (hose.number <= last) return where + " shares or breaks the number order";
            last = hose.number;
            walked.insert(id);
        }
        int32_t none = 0;
        if (GetPumpHoseByNumberMT(h, pump, count + 1, &none) != QV_UNKNOWN_ID)
            return "pump " + std::to_string(pump) + " has a hose beyond its count";
    }
    const std::vector<int32_t> all = Ids(h, GetHosesCountMT, GetHoseByOrdinalMT);
    if (std::set<int32_t>(all.begin(), all.end()) != walked) return "hoses outside the walks";
    return "";
}

class HoseSetters : public ::testing::Test {
  protected:
    void SetUp() override {
        m_server = std::make_unique<ServerProcess>("127.0.11.4", m_dir.Path());
        ASSERT_TRUE(m_server->Start("demo"));
        m_h = Logon("127.0.11.4");
        ASSERT_NE(m_h, 0);
        m_pumps = Ids(m_h, GetPumpsCountMT, GetPumpByOrdinalMT);
        m_tanks = Ids(m_h, GetTanksCountMT, GetTankByOrdinalMT);
        ASSERT_GE(m_pumps.size(), 2u);
        ASSERT_GE(m_tanks.size(), 1u);
        ASSERT_EQ(WalkProblem(m_h), "");
    }
    void TearDown() override { ClientLogoffMT(&m_h); }
    TempDir m_dir;
    std::unique_ptr<ServerProcess> m_server;
    int32_t m_h = 0;
    std::vector<int32_t> m_pumps, m_tanks;
};

TEST_F(HoseSetters, AHoseStoredUnderANewIdTakesItsPlaceOnThePump) {
    const int32_t pump = m_pumps[0];
    int32_t before = 0, old = 0;
    ASSERT_EQ(GetPumpHosesCountMT(m_h, pump, &before), 0);
    ASSERT_EQ(GetPumpHoseByNumberMT(m_h, pump, 1, &old), 0);
    Hose hose;
    ASSERT_EQ(GetHose(m_h, old, hose), 0);
    ASSERT_EQ(hose.number, 1);
    // What an import does with a file whose hose 1 of this pump has the ID 900.
    ASSERT_EQ(SetHose(m_h, 900, hose), 0);
    int32_t after = 0, now = 0;
    ASSERT_EQ(GetPumpHosesCountMT(m_h, pump, &after), 0);
    EXPECT_EQ(after, before);
    ASSERT_EQ(GetPumpHoseByNumberMT(m_h, pump, 1, &now), 0);
    EXPECT_EQ(now, 900);
    Hose gone;
    EXPECT_EQ(GetHose(m_h, old, gone), QV_UNKNOWN_ID);
    EXPECT_EQ(WalkProblem(m_h), "");
    // Moving a hose onto another pump's occupied place replaces that pump's hose there too.
    int32_t target = 0;
    ASSERT_EQ(GetPumpHoseByNumberMT(m_h, m_pumps[1], 1, &target), 0);
    hose.pump = m_pumps[1];
    ASSERT_EQ(SetHose(m_h, 900, hose), 0);
    EXPECT_EQ(GetHose(m_h, target, gone), QV_UNKNOWN_ID);
    EXPECT_EQ(WalkProblem(m_h), "");
}

TEST_F(HoseSetters, RandomSequencesOfSettersAndDeletesLeaveWalkablePumps) {
    std::mt19937 rng(20261208);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 400; ++step) {
        const int32_t id = pick(3) == 0 ? 900 + pick(6) : 1 + pick(14);
        Hose x;
        x.number = pick(8) == 0 ? 7 : 1 + pick(4); // gaps as well as the usual places
        x.pump = pick(10) == 0 ? 999 : m_pumps[static_cast<size_t>(pick(int(m_pumps.size())))];
        x.tank = m_tanks[static_cast<size_t>(pick(int(m_tanks.size())))];
        x.physical = 1 + pick(4);
        int32_t r = 0;
        switch (pick(5)) {
        case 0:
            r = DeleteHoseMT(m_h, id);
            EXPECT_TRUE(r == 0 || r == QV_UNKNOWN_ID) << r;
            break;
        case 1: // the oldest setter, which carries no prices
            r = SetHosePropertiesExMT(m_h, id, x.number, x.pump, x.tank, x.physical, 0, 0, 0, 0,
                                      16);
            EXPECT_TRUE(r == 0 || r == QV_UNKNOWN_REFERENCE) << r;
            break;
        case 2:
            r = SetHosePricesMT(m_h, id, 0, 0, 1.25, 1.5);
            EXPECT_TRUE(r == 0 || r == QV_UNKNOWN_ID) << r;
            break;
        default:
            r = SetHose(m_h, id, x);
            EXPECT_TRUE(r == 0 || r == QV_UNKNOWN_REFERENCE) << r;
            break;
        }
        const std::string problem = WalkProblem(m_h);
        ASSERT_EQ(problem, "") << "after step " << step;
    }
}

// ---- The command line ----

struct Ran {
    int status = -1; // exit code
    std::string out, err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool FileExists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

// Runs qvserver with the arguments (already quoted for the shell) until it ends.
Ran Qvserver(const TempDir& dir, const std::string& args) {
    const std::string out = dir.Path() + "/out", err = dir.Path() + "/err";
    const int raw = std::system(
        (BuildDir() + "/bin/qvserver " + args + " >" + out + " 2>" + err + " </dev/null").c_str());
    Ran r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(out);
    r.err = ReadFile(err);
    return r;
}

TEST(CommandLine, HelpAndVersionAnswerOnStandardOutput) {
    TempDir dir;
    Ran r = Qvserver(dir, "--help");
    EXPECT_EQ(r.status, 0);
    // The one required option stands bare; every other is in brackets.
    EXPECT_NE(r.out.find("usage: qvserver --db FILE [--address A] [--seed SEED] "
                         "[--fail NAME:N[:RESULT]]...\n                [--calls-port P] "
                         "[--events-port P]\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("(required)"), std::string::npos);
    EXPECT_EQ(r.err, "");
    r = Qvserver(dir, "--version");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "QVServer 5.1.3.0\n");
    // Help wins wherever it stands, before anything is opened.
    r = Qvserver(dir, "--db " + dir.Path() + "/h.db --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_FALSE(FileExists(dir.Path() + "/h.db"));
}

TEST(CommandLine, WrongOptionsAreNamedAndCreateNothing) {
    TempDir dir;
    const std::string db = dir.Path() + "/site.db";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"--db " + db + " --bogus 1", "qvserver: unknown option '--bogus'\nTry 'qvserver --help' "},
        {"--db " + db + " -x", "qvserver: unknown option '-x'\n"},
        {"--db", "qvserver: option '--db' needs a value (FILE)\n"},
        {"", "qvserver: option '--db FILE' is required\n"},
        {"--db " + db + " --calls-port 70000", "qvserver: invalid value '70000' for --calls-port"},
        {"--db " + db + " --events-port 12x", "qvserver: invalid value '12x' for --events-port"},
        {"--db " + db + " --seed bogus", "qvserver: invalid value 'bogus' for --seed"},
        {"--db " + db + " --seed large:1:2", "qvserver: invalid value 'large:1:2' for --seed"},
        {"--db " + db + " --fail NoSuchCall:1",
         "qvserver: invalid value 'NoSuchCall:1' for --fail: "},
    };
    for (const auto& c : cases) {
        const Ran r = Qvserver(dir, c.first);
        EXPECT_EQ(r.status, 2) << c.first;
        EXPECT_EQ(r.err.rfind(c.second, 0), 0u) << c.first << ": " << r.err;
        EXPECT_FALSE(FileExists(db)) << c.first;
    }
}

TEST(CommandLine, AFailedStartSaysWhyAndRemovesTheFileItCreated) {
    TempDir dir;
    const std::string db = dir.Path() + "/site.db";
    // Something else holds the calls port.
    const int holder = qvwire::ListenTcp("127.0.11.5", 5123);
    ASSERT_GE(holder, 0);
    Ran r = Qvserver(dir, "--address 127.0.11.5 --db " + db + " --seed demo");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("qvserver: cannot listen on 127.0.11.5 port 5123: Address already in use"),
              std::string::npos)
        << r.err;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        EXPECT_FALSE(FileExists(db + suffix)) << suffix;
    qvwire::CloseSocket(holder);

    // A seed that fails after the file was made.
    r = Qvserver(dir, "--address 127.0.11.5 --db " + db + " --seed large:0:1:1");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("qvserver: seed failed: "), std::string::npos) << r.err;
    EXPECT_FALSE(FileExists(db));

    // A file that was there before stays, whatever the start did.
    {
        ServerProcess server("127.0.11.5", dir.Path());
        ASSERT_TRUE(server.Start("demo"));
    }
    const std::string kept = dir.Path() + "/site-127.0.11.5.db";
    ASSERT_TRUE(FileExists(kept));
    const int again = qvwire::ListenTcp("127.0.11.5", 5124);
    ASSERT_GE(again, 0);
    r = Qvserver(dir, "--address 127.0.11.5 --db " + kept);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("port 5124: Address already in use"), std::string::npos) << r.err;
    EXPECT_TRUE(FileExists(kept));
    qvwire::CloseSocket(again);
    // A folder that does not exist is named with the reason.
    r = Qvserver(dir, "--db " + dir.Path() + "/no/such/site.db");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("qvserver: cannot open " + dir.Path() + "/no/such/site.db: "),
              std::string::npos)
        << r.err;
}

// ---- Out of descriptors ----

// CPU seconds (user and system) the process has used so far; -1 when it cannot be read.
double CpuSeconds(pid_t pid) {
    std::istringstream stat(ReadFile("/proc/" + std::to_string(pid) + "/stat"));
    std::string field;
    // The command name (field 2) holds no blanks here; utime and stime are fields 14 and 15.
    for (int i = 1; i <= 13 && stat >> field; ++i) {
    }
    long utime = 0, stime = 0;
    if (!(stat >> utime >> stime)) return -1;
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// A server started through prlimit with a low descriptor limit.
class LimitedServer {
  public:
    LimitedServer(const std::string& address, const std::string& folder, int files) {
        std::vector<std::string> args = {"/usr/bin/prlimit",
                                         "--nofile=" + std::to_string(files) + ":" +
                                             std::to_string(files),
                                         BuildDir() + "/bin/qvserver",
                                         "--address",
                                         address,
                                         "--db",
                                         folder + "/limited.db",
                                         "--seed",
                                         "demo"};
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const std::string log = folder + "/limited.log";
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) m_pid = 0;
        posix_spawn_file_actions_destroy(&actions);
        const auto until = Clock::now() + std::chrono::seconds(20);
        while (m_pid > 0 && Clock::now() < until && !qvtesting::AcceptsConnections(address, 5123))
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~LimitedServer() {
        if (m_pid <= 0) return;
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }
    pid_t Pid() const { return m_pid; }

  private:
    pid_t m_pid = 0;
};

TEST(DescriptorLimit, AServerOutOfDescriptorsWaitsInsteadOfSpinning) {
    TempDir dir;
    const std::string at = "127.0.11.6";
    LimitedServer server(at, dir.Path(), 48);
    ASSERT_GT(server.Pid(), 0);
    ASSERT_TRUE(qvtesting::AcceptsConnections(at, 5123));
    int32_t early = Logon(at); // logged on before the server runs short
    ASSERT_NE(early, 0);
    // Far more idle connections than the server has descriptors: the rest wait in its backlog.
    std::vector<int> idle;
    for (int i = 0; i < 60; ++i) {
        int32_t r = 0;
        const int fd = qvwire::ConnectTcp(at, 5123, 2000, r);
        if (fd >= 0) idle.push_back(fd);
    }
    ASSERT_GE(idle.size(), 50u);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const double before = CpuSeconds(server.Pid());
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const double used = CpuSeconds(server.Pid()) - before;
    ASSERT_GE(before, 0);
    // A spinning accept loop takes the whole 2 s; the forecourt's clock ticks on meanwhile, which
    // under the sanitizers on a loaded machine costs a few tenths.
    EXPECT_LT(used, 0.8) << "the server used " << used << " s of CPU in 2 s while starved";
    // Descriptors were kept for the database: a logon made before goes on reading and writing.
    BSTR desc = Bstr("while starved");
    int32_t id = 0;
    EXPECT_EQ(AddLogEventMT(early, 0, 0, 1, 1, desc, &id), 0);
    platform::SysFreeString(desc);
    int32_t ports = 0;
    EXPECT_EQ(GetPortsCountMT(early, &ports), 0);
    ClientLogoffMT(&early);
    // Once the idle connections go, the server serves again.
    for (int fd : idle)
        qvwire::CloseSocket(fd);
    int32_t h = 0;
    const auto until = Clock::now() + std::chrono::seconds(20);
    while (h == 0 && Clock::now() < until) {
        h = Logon(at);
        if (h == 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_NE(h, 0) << ReadFile(dir.Path() + "/limited.log");
    Out version;
    EXPECT_EQ(ServerVersionMT(h, &version), 0);
    ClientLogoffMT(&h);
}

} // namespace
