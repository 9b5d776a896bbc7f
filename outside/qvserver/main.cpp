// qvserver: the forecourt server. Keeps a site and the controller tables in one SQLite file
// and answers the client library over TCP until SIGTERM or SIGINT.
//   qvserver --address A --db FILE --seed demo|empty|large:CARDS:PRODUCTS:ATTENDANTS
//            [--fail NAME:N[:RESULT]]... [--calls-port P] [--events-port P]
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>
#include <string>
#include <thread>

#include "outside/qvclient/QVWire.h"
#include "outside/qvserver/Seed.h"
#include "outside/qvserver/Server.h"

namespace {

struct Options {
    std::string address = "127.0.0.1";
    std::string db;
    std::string seed = "empty";
    uint16_t callPort = qvwire::kCallPort;
    uint16_t eventsPort = qvwire::kEventsPort;
};

int Usage(const char* why) {
    std::fprintf(stderr,
                 "qvserver: %s\nusage: qvserver --address A --db FILE --seed "
                 "demo|empty|large:CARDS:PRODUCTS:ATTENDANTS [--fail NAME:N[:RESULT]]... "
                 "[--calls-port P] [--events-port P]\n",
                 why);
    return 2;
}

bool Port(const char* text, uint16_t& out) {
    const long v = std::strtol(text, nullptr, 10);
    if (v < 1 || v > 65535) return false;
    out = static_cast<uint16_t>(v);
    return true;
}

bool ApplySeed(qvserver::Store& store, qvserver::Operations& ops, const std::string& seed,
               std::string& error) {
    if (seed == "empty") return true;
    if (!store.IsEmpty()) return true; // a seed fills only an empty file
    if (seed == "demo") return qvserver::SeedDemo(store, ops, error);
    int cards = 0, products = 0, attendants = 0;
    if (std::sscanf(seed.c_str(), "large:%d:%d:%d", &cards, &products, &attendants) == 3)
        return qvserver::SeedLarge(store, ops, cards, products, attendants, error);
    error = "unknown seed " + seed;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    qvserver::FaultPlan faults;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) return Usage(("missing value after " + a).c_str());
        const char* v = argv[++i];
        std::string error;
        if (a == "--address")
            o.address = v;
        else if (a == "--db")
            o.db = v;
        else if (a == "--seed")
            o.seed = v;
        else if (a == "--fail") {
            if (!faults.Add(v, error))
                return Usage(("--fail " + std::string(v) + ": " + error).c_str());
        } else if (a == "--calls-port") {
            if (!Port(v, o.callPort)) return Usage("bad --calls-port");
        } else if (a == "--events-port") {
            if (!Port(v, o.eventsPort)) return Usage("bad --events-port");
        } else {
            return Usage(("unknown option " + a).c_str());
        }
    }
    if (o.db.empty()) return Usage("--db is required");

    // Signals are taken by one thread with sigwait; every other thread blocks them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

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
    // Wake the signal thread if Run ended for another reason.
    pthread_kill(signals.native_handle(), SIGTERM);
    signals.join();
    std::fprintf(stderr, "qvserver: stopped on %s\n", o.address.c_str());
    return 0;
}
