// qvserver: the forecourt server. Keeps a site and the controller tables in one SQLite file
// and answers the client library over TCP until SIGTERM or SIGINT. The usage text below lists
// the options; a start that fails leaves no database file behind that it created.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "outside/qvclient/QVSocket.h"
#include "outside/qvclient/QVWire.h"
#include "outside/qvserver/ForecourtService.h"
#include "outside/qvserver/Operations.h"
#include "outside/qvserver/Seed.h"
#include "outside/qvserver/Server.h"

namespace {

constexpr char kUsage[] =
    "usage: qvserver --db FILE [--address A] [--seed SEED] [--fail NAME:N[:RESULT]]...\n"
    "                [--calls-port P] [--events-port P]\n"
    "                [--clock real|manual] [--simulate [--no-cashier]] [--seed-random N]\n"
    "       qvserver ctl ADDRESS [--calls-port P] COMMAND [ARGUMENT]...\n"
    "       qvserver --help | --version\n"
    "  --db FILE          the site's SQLite file, created when missing (required)\n"
    "  --address A        loopback or local address to serve on (default 127.0.0.1)\n"
    "  --seed SEED        fills an empty file: demo, empty (default) or\n"
    "                     large:CARDS:PRODUCTS:ATTENDANTS\n"
    "  --fail NAME:N[:R]  the N-th call of the family NAME fails with result R (default 10);\n"
    "                     may be repeated\n"
    "  --calls-port P     port of the calls connections (default 5123)\n"
    "  --events-port P    port of the events connections (default 5124)\n"
    "  --clock C          real (default): the forecourt follows real time; manual: it moves\n"
    "                     only by 'ctl ADDRESS advance MS'\n"
    "  --simulate         customers come and go at the pumps on their own\n"
    "  --no-cashier       with --simulate: no simulated cashier (client 9000) authorises\n"
    "                     calling pumps or clears sales; that is left to the clients\n"
    "  --seed-random N    seed of the customers' choices (default 1): the same seed on the\n"
    "                     same site gives the same forecourt\n"
    "ctl drives a running server's forecourt over its calls port, from this host only:\n"
    "  nozzle-up PUMP HOSE     lifts the nozzle of hose number HOSE (1..4) on pump ID PUMP\n"
    "  nozzle-down PUMP        hangs it up\n"
    "  flow PUMP LPM           sets the pump's flow rate in litres per minute\n"
    "  card PUMP TAG [NAME]    a card read at the pump\n"
    "  tank-drop TANK LITRES   a delivery of fuel into the tank\n"
    "  pump-error PUMP STATE   puts the pump in an error state (0 clears it)\n"
    "  offline PUMP 1|0        takes the pump off line or back\n"
    "  drop-clients            closes every client connection\n"
    "  drop-events             closes every events connection (the logons stay)\n"
    "  zb-status PORT ZBADDR LQI RSSI PARENT CHANNEL MEMBLOCKS MEMFREE DEVTYPE\n"
    "                          a ZigBee device's status as its coordinator reports it\n"
    "  odo PORT ZBADDR LQI RSSI PARENT CHANNEL MEMBLOCKS MEMFREE DEVTYPE CLIENT\n"
    "      ODO1 FACTOR1 LEVEL1 ODO2 FACTOR2 LEVEL2 TAG1 TAG2 TAG3 TAG4 FUELTYPES\n"
    "                          an odometer's report, stored on the card client\n"
    "  prompt-answer PUMP RESULT [INPUT]  the terminal answers its waiting prompt\n"
    "  terminal PUMP           prints the terminal's beeps, lights and waiting prompt\n"
    "  line-mode PORT          prints the mode of the port's serial line\n"
    "  advance MS              moves the forecourt's clock on by MS milliseconds\n"
    "  status PUMP             prints the pump's state and sale\n"
    "  It prints the server's answer; exit status 0 when the server accepted the command.\n";

struct Options {
    std::string address = "127.0.0.1";
    std::string db;
    std::string seed = "empty";
    uint16_t callPort = qvwire::kCallPort;
    uint16_t eventsPort = qvwire::kEventsPort;
    qvserver::ServiceOptions forecourt;
};

int Usage(const std::string& why) {
    std::fprintf(stderr, "qvserver: %s\n%s", why.c_str(), kUsage);
    return 2;
}

bool Port(const char* text, uint16_t& out) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != 0 || v < 1 || v > 65535) return false;
    out = static_cast<uint16_t>(v);
    return true;
}

bool SeedValid(const std::string& seed) {
    int cards = 0, products = 0, attendants = 0;
    char rest = 0;
    return seed == "empty" || seed == "demo" ||
           std::sscanf(seed.c_str(), "large:%d:%d:%d%c", &cards, &products, &attendants, &rest) ==
               3;
}

bool ApplySeed(qvserver::Store& store, qvserver::Operations& ops, const std::string& seed,
               std::string& error) {
    if (seed == "empty") return true;
    if (!store.IsEmpty()) return true; // a seed fills only an empty file
    if (seed == "demo") return qvserver::SeedDemo(store, ops, error);
    int cards = 0, products = 0, attendants = 0;
    std::sscanf(seed.c_str(), "large:%d:%d:%d", &cards, &products, &attendants);
    return qvserver::SeedLarge(store, ops, cards, products, attendants, error);
}

// What main does after the options: 0 after a clean stop, 1 when the start failed.
int Serve(const Options& o, qvserver::FaultPlan& faults) {
    qvserver::Store store;
    std::string error;
    if (!store.Open(o.db, error)) {
        std::fprintf(stderr, "qvserver: cannot open %s: %s\n", o.db.c_str(), error.c_str());
        return 1;
    }
    qvserver::Server server(store, faults);
    if (!ApplySeed(store, server.Ops(), o.seed, error)) {
        std::fprintf(stderr, "qvserver: seed failed: %s\n", error.c_str());
        return 1;
    }
    if (!server.Listen(o.address, o.callPort, o.eventsPort, error)) {
        std::fprintf(stderr, "qvserver: %s\n", error.c_str());
        return 1;
    }
    qvserver::ForecourtService forecourt(store, server);
    if (!forecourt.Start(o.forecourt, error)) {
        std::fprintf(stderr, "qvserver: cannot start the forecourt: %s\n", error.c_str());
        return 1;
    }
    server.SetForecourt(&forecourt);
    // Signals are taken by one thread with sigwait; every other thread blocks them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    std::thread signals([&] {
        int sig = 0;
        sigwait(&stopSignals, &sig);
        server.Stop();
    });
    std::fprintf(stderr, "qvserver: started on %s (calls %u, events %u), database %s\n",
                 o.address.c_str(), o.callPort, o.eventsPort, o.db.c_str());
    std::printf("qvserver ready\n");
    std::fflush(stdout);
    server.Run();
    forecourt.Stop();
    server.SetForecourt(nullptr);
    // Wake the signal thread if Run ended for another reason.
    pthread_kill(signals.native_handle(), SIGTERM);
    signals.join();
    std::fprintf(stderr, "qvserver: stopped on %s\n", o.address.c_str());
    return 0;
}

bool Exists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

// qvserver ctl ADDRESS [--calls-port P] COMMAND [ARGUMENT]...
int Control(int argc, char** argv) {
    if (argc < 4) return Usage("ctl needs an address and a command");
    const std::string address = argv[2];
    uint16_t port = qvwire::kCallPort;
    int at = 3;
    if (std::string(argv[at]) == "--calls-port") {
        if (at + 2 >= argc || !Port(argv[at + 1], port)) return Usage("bad --calls-port");
        at += 2;
    }
    qvwire::Values in;
    for (; at < argc; ++at)
        in.push_back(qvwire::Value::Text(qvwire::ToU16(argv[at])));
    int32_t result = 0;
    const int fd = qvwire::ConnectTcp(address, port, 5000, result);
    if (fd < 0) {
        std::fprintf(stderr, "qvserver ctl: cannot connect to %s port %u\n", address.c_str(), port);
        return 1;
    }
    qvwire::Writer w;
    w.PutAll(in);
    qvwire::Header h;
    h.type = qvwire::MsgType::Call;
    h.op = qvwire::kControlOp;
    h.seq = 1;
    h.bodyLen = static_cast<uint16_t>(w.Bytes().size());
    std::vector<uint8_t> body;
    qvwire::Values out;
    const bool answered = !w.Overflow() && qvwire::SendFrame(fd, h, w.Bytes()) &&
                          qvwire::RecvFrame(fd, h, body, 10000) == 0 &&
                          qvwire::DecodeValues(body.data(), body.size(), out);
    qvwire::CloseSocket(fd);
    if (!answered) {
        std::fprintf(stderr, "qvserver ctl: no answer from %s\n", address.c_str());
        return 1;
    }
    if (!out.empty() && out[0].tag == qvwire::Tag::Text)
        std::printf("%s\n", qvwire::ToU8(out[0].s).c_str());
    return h.result == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "ctl") return Control(argc, argv);
    Options o;
    qvserver::FaultPlan faults;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (a == "--version") {
            std::printf("%s\n", qvserver::kServerVersion);
            return 0;
        }
        if (a == "--simulate") {
            o.forecourt.simulate = true;
            continue;
        }
        if (a == "--no-cashier") {
            o.forecourt.cashier = false;
            continue;
        }
        const bool known = a == "--clock" || a == "--seed-random" || a == "--address" ||
                           a == "--db" || a == "--seed" || a == "--fail" || a == "--calls-port" ||
                           a == "--events-port";
        if (!known) return Usage("unknown option " + a);
        if (i + 1 >= argc) return Usage("missing value after " + a);
        const char* v = argv[++i];
        std::string error;
        if (a == "--clock") {
            if (std::string(v) != "real" && std::string(v) != "manual")
                return Usage("bad --clock " + std::string(v));
            o.forecourt.manualClock = std::string(v) == "manual";
        } else if (a == "--seed-random") {
            char* end = nullptr;
            const unsigned long n = std::strtoul(v, &end, 10);
            if (*v == 0 || *end != 0) return Usage("bad --seed-random " + std::string(v));
            o.forecourt.seed = static_cast<uint32_t>(n);
        } else if (a == "--address") {
            o.address = v;
        } else if (a == "--db") {
            o.db = v;
        } else if (a == "--seed") {
            o.seed = v;
            if (!SeedValid(o.seed)) return Usage("unknown seed " + o.seed);
        } else if (a == "--fail") {
            if (!faults.Add(v, error)) return Usage("--fail " + std::string(v) + ": " + error);
        } else if (!Port(v, a == "--calls-port" ? o.callPort : o.eventsPort)) {
            return Usage("bad " + a + " " + v);
        }
    }
    if (o.db.empty()) return Usage("--db is required");

    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    const bool existed = Exists(o.db);
    const int rc = Serve(o, faults);
    if (rc != 0 && !existed) {
        // The file this failed start created, with the journal files SQLite keeps beside it.
        for (const char* suffix : {"", "-wal", "-shm", "-journal"})
            unlink((o.db + suffix).c_str());
    }
    return rc;
}
