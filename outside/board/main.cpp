// qvboard: the controller board for one device root.
//   qvboard run [--root DIR] [options]   the board, until SIGTERM or SIGINT; prints one ready
//                                        line once its services host has booted
//   qvboard ctl [--root DIR] COMMAND ... talks to a running board
//   qvboard host --root DIR --address A  the services host (started by the board itself)
// --help prints to standard output (exit 0), --version the version; a usage error is one line
// naming the mistake and a pointer to --help on standard error (exit 2).
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "outside/board/Board.h"
#include "outside/board/BoardOptions.h"
#include "outside/board/ServicesHost.h"
#include "platform/posix/BoardWire.h"

namespace {

const char kVersion[] = "qvboard 1.1\n";

const char kHelp[] = "usage: qvboard run|ctl ... | --help | --version\n"
                     "The controller board simulator for one device root ($QV_ROOT, else\n"
                     "/tmp/qvroot, or --root DIR).\n"
                     "  qvboard run [--root DIR] [options]    runs the board in the foreground\n"
                     "  qvboard ctl [--root DIR] COMMAND ...  talks to a running board\n"
                     "qvboard run --help and qvboard ctl --help tell more.\n";

const char kRunHelp[] =
    "usage: qvboard run [--root DIR] [options]\n"
    "Runs the board for the device root in the foreground: the USB devices\n"
    "QVF1: to QVF4: with a simulated controller, the board driver LED1: with\n"
    "the watchdog, and the services host with the services that\n"
    "\\Windows\\Services.ini lists. Once the host has booted it prints one\n"
    "line \"qvboard ready: \" with each service and whether it runs (a service\n"
    "that did not start says why). SIGTERM or SIGINT shuts it down.\n"
    "Options:\n";

const char kCtlHelp[] =
    "usage: qvboard ctl [--root DIR] COMMAND ...\n"
    "Commands to a running board:\n"
    "  wait                    waits up to 60 s until the board's services host has booted,\n"
    "                          then prints its services as \"services\" does\n"
    "  status                  boots, resets, services host, LED, watchdog, pen drive\n"
    "  led                     the LED and watchdog record, one change a line with its time\n"
    "  usb-log                 every USB frame in and out with its time\n"
    "  log                     the board's record (boots, watchdog resets, plug, unplug)\n"
    "  plug DIR                puts the folder DIR at \\Hard Disk in one step (a new\n"
    "                          insertion; a folder on another file system is linked there)\n"
    "  unplug                  takes the pen drive out: files still open on it fail from now\n"
    "                          on, as on a real removal, and the folder is given back\n"
    "  services                each service, its device prefix and whether it runs\n"
    "  ioctl SERVICE CODE [N]  sends a control code (N bytes of output, default 4) and\n"
    "                          prints the result, the last error and the output\n"
    "Exit codes: 0 done, 1 the board refused the command, 2 usage error, 3 no board.\n";

// A usage error: one line naming the mistake and where help is.
int UsageError(const std::string& who, const std::string& mistake) {
    fprintf(stderr, "%s: %s\nTry '%s --help'.\n", who.c_str(), mistake.c_str(), who.c_str());
    return 2;
}

bool IsHelp(const std::string& a) {
    return a == "--help" || a == "-h";
}

// Takes "--root DIR" from the arguments and points QV_ROOT at it.
void TakeRoot(std::vector<std::string>& args) {
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] != "--root") continue;
        std::error_code ec;
        const std::string root = std::filesystem::absolute(args[i + 1], ec).string();
        setenv("QV_ROOT", root.c_str(), 1);
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
        return;
    }
}

constexpr int kReadyWaitMs = 60000;

// One command to the board (control) or its services host; false when nobody answers.
bool Call(bool toHost, const std::string& line, bool& ok, std::string& text) {
    const std::string path =
        toHost ? platform::board::ServicesSocketPath() : platform::board::ControlSocketPath();
    const int fd = platform::board::Connect(path);
    if (fd < 0) return false;
    const platform::board::Request request{static_cast<uint32_t>(platform::board::Op::Command), 0,
                                           0, static_cast<uint32_t>(line.size())};
    platform::board::Reply reply{};
    std::vector<uint8_t> payload;
    const bool answered = platform::board::Call(fd, request, line.data(), reply, payload);
    close(fd);
    ok = reply.m_ok != 0;
    text.assign(payload.begin(), payload.end());
    return answered;
}

// Waits up to ms until the services host answers; its "services" listing.
bool HostAnswers(int ms, std::string& services) {
    for (int waited = 0; waited <= ms; waited += 100) {
        bool ok = false;
        if (Call(true, "services", ok, services) && ok) return true;
        usleep(100 * 1000);
    }
    return false;
}

// "QVServer QVS1: running\nQV2Serial QV21: stopped (why)\n" as one line:
// "QVServer running, QV2Serial stopped (why)".
std::string ServiceSummary(const std::string& services) {
    std::string line;
    size_t at = 0;
    while (at < services.size()) {
        size_t end = services.find('\n', at);
        if (end == std::string::npos) end = services.size();
        const std::string entry = services.substr(at, end - at);
        const size_t name = entry.find(' ');
        const size_t state = entry.find(' ', name == std::string::npos ? 0 : name + 1);
        if (name != std::string::npos && state != std::string::npos)
            line += (line.empty() ? "" : ", ") + entry.substr(0, name) + entry.substr(state);
        at = end + 1;
    }
    return line.empty() ? "no services" : line;
}

int Run(int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
        if (IsHelp(argv[i])) {
            printf("%s%s", kRunHelp, qvboard::kBoardOptionsHelp);
            return 0;
        }
        if (!strcmp(argv[i], "--version")) {
            printf("%s", kVersion);
            return 0;
        }
    }
    qvboard::BoardOptions options;
    std::string why;
    if (!qvboard::ParseBoardOptions(argc, argv, 2, options, why))
        return UsageError("qvboard run", why);
    if (!options.m_root.empty()) {
        std::error_code ec;
        setenv("QV_ROOT", std::filesystem::absolute(options.m_root, ec).c_str(), 1);
    }
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr); // every thread after this one inherits it
    signal(SIGPIPE, SIG_IGN);
    qvboard::Board board(options);
    if (!board.Start()) return 1;
    // The ready line once the host answers; a stop signal ends the wait as it ends the board.
    int signal = 0;
    bool ready = false;
    for (int waited = 0; waited <= kReadyWaitMs && signal <= 0; waited += 100) {
        std::string services;
        bool ok = false;
        if (Call(true, "services", ok, services) && ok) {
            printf("qvboard ready: %s\n", ServiceSummary(services).c_str());
            fflush(stdout);
            ready = true;
            break;
        }
        const timespec step{0, 100 * 1000 * 1000};
        signal = sigtimedwait(&stop, nullptr, &step);
    }
    if (!ready && signal <= 0)
        fprintf(stderr, "qvboard: the services host did not come up (see %s)\n",
                platform::board::BoardFolder().c_str());
    if (signal <= 0) sigwait(&stop, &signal);
    board.Stop();
    return 0;
}

int Host(int argc, char** argv) {
    std::vector<std::string> args(argv + 2, argv + argc);
    TakeRoot(args);
    std::string address = "127.0.0.1";
    if (args.size() == 2 && args[0] == "--address") address = args[1];
    signal(SIGPIPE, SIG_IGN);
    return qvboard::RunServicesHost(address);
}

// The commands of qvboard ctl: name, words after it (least, most), whether the services host
// answers it.
struct CtlCommand {
    const char* name;
    size_t least;
    size_t most;
    bool toHost;
};
constexpr CtlCommand kCtlCommands[] = {
    {"wait", 0, 0, true},     {"status", 0, 0, false},  {"led", 0, 0, false},
    {"usb-log", 0, 0, false}, {"log", 0, 0, false},     {"plug", 1, 1, false},
    {"unplug", 0, 0, false},  {"services", 0, 0, true}, {"ioctl", 2, 3, true},
};

int Ctl(int argc, char** argv) {
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const std::string& a : args) {
        if (IsHelp(a)) {
            printf("%s", kCtlHelp);
            return 0;
        }
        if (a == "--version") {
            printf("%s", kVersion);
            return 0;
        }
    }
    TakeRoot(args);
    if (args.empty()) return UsageError("qvboard ctl", "no command given");
    const CtlCommand* command = nullptr;
    for (const CtlCommand& c : kCtlCommands)
        if (args[0] == c.name) command = &c;
    if (command == nullptr) return UsageError("qvboard ctl", "unknown command '" + args[0] + "'");
    if (args.size() - 1 < command->least || args.size() - 1 > command->most)
        return UsageError("qvboard ctl",
                          std::string("wrong number of words after ") + command->name);
    if (args[0] == "plug") {
        std::error_code ec;
        args[1] = std::filesystem::absolute(args[1], ec).string();
    }
    std::string text;
    bool ok = false;
    if (args[0] == "wait") {
        if (!HostAnswers(kReadyWaitMs, text)) {
            fprintf(stderr, "qvboard ctl: no services host came up at %s within 60 s\n",
                    platform::board::ServicesSocketPath().c_str());
            return 3;
        }
        fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    std::string line;
    for (const std::string& a : args)
        line += (line.empty() ? "" : " ") + a;
    if (!Call(command->toHost, line, ok, text)) {
        const std::string path = command->toHost ? platform::board::ServicesSocketPath()
                                                 : platform::board::ControlSocketPath();
        fprintf(stderr, "qvboard ctl: no %s is running at %s\n",
                command->toHost ? "services host" : "board", path.c_str());
        return 3;
    }
    fwrite(text.data(), 1, text.size(), ok ? stdout : stderr);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return UsageError("qvboard", "no verb given (run or ctl)");
    const std::string verb = argv[1];
    if (verb == "run") return Run(argc, argv);
    if (verb == "ctl") return Ctl(argc, argv);
    if (verb == "host") return Host(argc, argv);
    if (IsHelp(verb)) {
        printf("%s", kHelp);
        return 0;
    }
    if (verb == "--version") {
        printf("%s", kVersion);
        return 0;
    }
    return UsageError("qvboard", "unknown verb '" + verb + "'");
}
