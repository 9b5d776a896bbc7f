// qvserver's command line: the options of the server and of 'qvserver ctl', their help texts
// (built from the option and command tables, with the operation names --fail takes), and the
// checks that turn a wrong line into one usage error before anything is opened or sent.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "outside/qvclient/QVWire.h"
#include "outside/qvserver/FaultPlan.h"
#include "outside/qvserver/ForecourtService.h"

namespace qvserver {

// What a command line asks for. Wrong comes with the mistake in words.
enum class LineAction { Run, Help, Version, Wrong };

struct ServerOptions {
    std::string address = "127.0.0.1";
    std::string db;             // required
    std::string seed = "empty"; // empty, demo or large:C:P:A
    uint16_t callPort = qvwire::kCallPort;
    uint16_t eventsPort = qvwire::kEventsPort;
    ServiceOptions forecourt;
};

// qvserver [OPTION]... (argv[0] is the program). Options are read in order; --help and
// --version end the reading. Faults named by --fail go into faults.
LineAction ParseServerLine(int argc, char** argv, ServerOptions& options, FaultPlan& faults,
                           std::string& mistake);

// qvserver ctl ADDRESS [--calls-port P] COMMAND [ARGUMENT]...: the command and its arguments
// are sent as words; the command and the number of its arguments are checked here.
struct ControlLine {
    std::string address;
    uint16_t callPort = qvwire::kCallPort;
    std::vector<std::string> words; // the command, then its arguments
};
LineAction ParseControlLine(int argc, char** argv, ControlLine& line, std::string& mistake);

// The help texts of the server and of ctl.
std::string ServerHelp();
std::string ControlHelp();

} // namespace qvserver
