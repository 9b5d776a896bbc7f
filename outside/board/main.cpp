// qvboard: the controller board for one device root.
//   qvboard run [--root DIR] [options]   the board, until SIGTERM or SIGINT
//   qvboard ctl [--root DIR] COMMAND ... talks to a running board
//   qvboard host --root DIR --address A  the services host (started by the board itself)
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

const char kRunHelp[] = "usage: qvboard run [--root DIR] [options]\n"
                        "Runs the board for the device root in the foreground: the USB devices\n"
                        "QVF1: to QVF4: with a simulated controller, the board driver LED1: with\n"
                        "the watchdog, and the services host with the services that\n"
                        "\\Windows\\Services.ini lists. SIGTERM or SIGINT shuts it down.\n"
                        "Options:\n";

const char kCtlHelp[] =
    "usage: qvboard ctl [--root DIR] COMMAND ...\n"
    "Commands to a running board:\n"
    "  status                  boots, resets, services host, LED, watchdog, pen drive\n"
    "  led                     the LED and watchdog record, one change a line with its time\n"
    "  usb-log                 every USB frame in and out with its time\n"
    "  log                     the board's record (boots, watchdog resets, plug, unplug)\n"
    "  plug DIR                puts the folder DIR at \\Hard Disk in one step\n"
    "  unplug                  gives the pen drive's folder back\n"
    "  services                each service, its device prefix and whether it runs\n"
    "  ioctl SERVICE CODE [N]  sends a control code (N bytes of output, default 4) and\n"
    "                          prints the result, the last error and the output\n";

int Usage(FILE* to, int code) {
    fprintf(to, "usage: qvboard run|ctl|host ... (qvboard run --help, qvboard ctl --help)\n");
    return code;
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

int Run(int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
        if (!strcmp(argv[i], "--help") || !strcmp(argv[i], "-h")) {
            printf("%s%s", kRunHelp, qvboard::kBoardOptionsHelp);
            return 0;
        }
    }
    qvboard::BoardOptions options;
    std::string why;
    if (!qvboard::ParseBoardOptions(argc, argv, 2, options, why)) {
        fprintf(stderr, "qvboard run: %s\n%s%s", why.c_str(), kRunHelp, qvboard::kBoardOptionsHelp);
        return 2;
    }
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
    int signal = 0;
    sigwait(&stop, &signal);
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

int Ctl(int argc, char** argv) {
    std::vector<std::string> args(argv + 2, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        printf("%s", kCtlHelp);
        return 0;
    }
    TakeRoot(args);
    if (args.empty()) {
        fprintf(stderr, "%s", kCtlHelp);
        return 2;
    }
    if (args[0] == "plug" && args.size() == 2) {
        std::error_code ec;
        args[1] = std::filesystem::absolute(args[1], ec).string();
    }
    std::string line;
    for (const std::string& a : args)
        line += (line.empty() ? "" : " ") + a;
    const bool toHost = args[0] == "services" || args[0] == "ioctl";
    const std::string path =
        toHost ? platform::board::ServicesSocketPath() : platform::board::ControlSocketPath();
    const int fd = platform::board::Connect(path);
    if (fd < 0) {
        fprintf(stderr, "qvboard ctl: no %s is running at %s\n", toHost ? "services host" : "board",
                path.c_str());
        return 3;
    }
    const platform::board::Request request{static_cast<uint32_t>(platform::board::Op::Command), 0,
                                           0, static_cast<uint32_t>(line.size())};
    platform::board::Reply reply{};
    std::vector<uint8_t> text;
    const bool answered = platform::board::Call(fd, request, line.data(), reply, text);
    close(fd);
    if (!answered) {
        fprintf(stderr, "qvboard ctl: the board did not answer\n");
        return 3;
    }
    fwrite(text.data(), 1, text.size(), reply.m_ok ? stdout : stderr);
    return reply.m_ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage(stderr, 2);
    const std::string verb = argv[1];
    if (verb == "run") return Run(argc, argv);
    if (verb == "ctl") return Ctl(argc, argv);
    if (verb == "host") return Host(argc, argv);
    if (verb == "--help" || verb == "-h") return Usage(stdout, 0);
    return Usage(stderr, 2);
}
