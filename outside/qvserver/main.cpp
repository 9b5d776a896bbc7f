// qvserver: the forecourt server. Keeps a site and the controller tables in one SQLite file
// and answers the client library over TCP until SIGTERM or SIGINT. CommandLine.cpp holds the
// options; a start that fails leaves no database file behind that it created.
#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "outside/qvclient/QVSocket.h"
#include "outside/qvclient/QVWire.h"
#include "outside/qvclient/ResultTexts.h"
#include "outside/qvserver/CommandLine.h"
#include "outside/qvserver/ForecourtService.h"
#include "outside/qvserver/Operations.h"
#include "outside/qvserver/Seed.h"
#include "outside/qvserver/Server.h"
#include "tools/cli/CommandLine.h"

namespace {

using qvserver::LineAction;

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
int Serve(const qvserver::ServerOptions& o, qvserver::FaultPlan& faults) {
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
    qvserver::ControlLine line;
    std::string mistake;
    switch (qvserver::ParseControlLine(argc, argv, line, mistake)) {
    case LineAction::Help:
        std::fputs(qvserver::ControlHelp().c_str(), stdout);
        return 0;
    case LineAction::Version:
        std::printf("%s\n", qvserver::kServerVersion);
        return 0;
    case LineAction::Wrong:
        return qvcli::UsageError("qvserver ctl", mistake);
    case LineAction::Run:
        break;
    }
    qvwire::Values in;
    for (const std::string& word : line.words)
        in.push_back(qvwire::Value::Text(qvwire::ToU16(word)));
    int32_t result = 0;
    const int fd = qvwire::ConnectTcp(line.address, line.callPort, 5000, result);
    if (fd < 0) {
        std::fprintf(stderr, "qvserver ctl: cannot connect to %s port %u: %s\n",
                     line.address.c_str(), line.callPort, qvclient::ResultText(result).c_str());
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
        std::fprintf(stderr, "qvserver ctl: no answer from %s\n", line.address.c_str());
        return 1;
    }
    if (!out.empty() && out[0].tag == qvwire::Tag::Text)
        std::printf("%s\n", qvwire::ToU8(out[0].s).c_str());
    return h.result == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "ctl") return Control(argc, argv);
    qvserver::ServerOptions o;
    qvserver::FaultPlan faults;
    std::string mistake;
    switch (qvserver::ParseServerLine(argc, argv, o, faults, mistake)) {
    case LineAction::Help:
        std::fputs(qvserver::ServerHelp().c_str(), stdout);
        return 0;
    case LineAction::Version:
        std::printf("%s\n", qvserver::kServerVersion);
        return 0;
    case LineAction::Wrong:
        return qvcli::UsageError("qvserver", mistake);
    case LineAction::Run:
        break;
    }

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
