// The option and command tables of qvserver and the reading of its command lines.
#include "outside/qvserver/CommandLine.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "tools/cli/CommandLine.h"

namespace qvserver {

namespace {

using qvcli::Quoted;

using Mistake = std::string; // empty when the value is good

// What the server's options set, one table row per option. A row without a value name is a
// switch; set() gets "" for it.
struct ServerOption {
    const char* name;
    const char* value; // the value's name in the help, nullptr for a switch
    const char* help;  // lines after the first are indented to the help column
    Mistake (*set)(const std::string& value, ServerOptions& o, FaultPlan& faults);
};

Mistake Port(const std::string& text, uint16_t& out) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || text.empty() || *end != 0 || v < 1 || v > 65535)
        return "expected a port from 1 to 65535";
    out = static_cast<uint16_t>(v);
    return "";
}

bool SeedValid(const std::string& seed) {
    int cards = 0, products = 0, attendants = 0;
    char rest = 0;
    return seed == "empty" || seed == "demo" ||
           std::sscanf(seed.c_str(), "large:%d:%d:%d%c", &cards, &products, &attendants, &rest) ==
               3;
}

const ServerOption kServerOptions[] = {
    {"--db", "FILE", "the site's SQLite file, created when missing (required)",
     [](const std::string& v, ServerOptions& o, FaultPlan&) -> Mistake {
         o.db = v;
         return v.empty() ? "expected a file name" : "";
     }},
    {"--address", "A", "loopback or local address to serve on (default 127.0.0.1)",
     [](const std::string& v, ServerOptions& o, FaultPlan&) -> Mistake {
         o.address = v;
         return v.empty() ? "expected an address" : "";
     }},
    {"--seed", "SEED",
     "fills an empty file: demo, empty (default) or\nlarge:CARDS:PRODUCTS:ATTENDANTS",
     [](const std::string& v, ServerOptions& o, FaultPlan&) -> Mistake {
         o.seed = v;
         return SeedValid(v) ? "" : "expected demo, empty or large:CARDS:PRODUCTS:ATTENDANTS";
     }},
    {"--fail", "NAME:N[:R]",
     "the N-th call of the operation NAME (any of its variants) fails with\nresult R (default "
     "10); may be repeated; the names are listed below",
     [](const std::string& v, ServerOptions&, FaultPlan& faults) -> Mistake {
         std::string error;
         return faults.Add(v, error) ? "" : error;
     }},
    {"--calls-port", "P", "port of the calls connections (default 5123)",
     [](const std::string& v, ServerOptions& o, FaultPlan&) { return Port(v, o.callPort); }},
    {"--events-port", "P", "port of the events connections (default 5124)",
     [](const std::string& v, ServerOptions& o, FaultPlan&) { return Port(v, o.eventsPort); }},
    {"--clock", "C",
     "real (default): the forecourt follows real time; manual: it moves\nonly by 'ctl ADDRESS "
     "advance MS'",
     [](const std::string& v, ServerOptions& o, FaultPlan&) -> Mistake {
         o.forecourt.manualClock = v == "manual";
         return v == "real" || v == "manual" ? "" : "expected real or manual";
     }},
    {"--simulate", nullptr, "customers come and go at the pumps on their own",
     [](const std::string&, ServerOptions& o, FaultPlan&) -> Mistake {
         o.forecourt.simulate = true;
         return "";
     }},
    {"--no-cashier", nullptr,
     "with --simulate: no simulated cashier (client 9000) authorises\ncalling pumps or clears "
     "sales; that is left to the clients",
     [](const std::string&, ServerOptions& o, FaultPlan&) -> Mistake {
         o.forecourt.cashier = false;
         return "";
     }},
    {"--seed-random", "N",
     "seed of the customers' choices (default 1): the same seed on the\nsame site gives the "
     "same forecourt",
     [](const std::string& v, ServerOptions& o, FaultPlan&) -> Mistake {
         char* end = nullptr;
         errno = 0;
         const unsigned long long n = std::strtoull(v.c_str(), &end, 10);
         if (v.empty() || v[0] == '-' || *end != 0 || errno != 0 || n > 0xFFFFFFFFull)
             return "expected a whole number from 0 to 4294967295";
         o.forecourt.seed = static_cast<uint32_t>(n);
         return "";
     }},
};

// The commands of 'qvserver ctl' with the number of arguments each takes.
struct ControlCommand {
    const char* name;
    const char* arguments; // as the help shows them
    int least, most;       // numbers of arguments
    const char* help;
};

const ControlCommand kControlCommands[] = {
    {"nozzle-up", "PUMP HOSE", 2, 2, "lifts the nozzle of hose number HOSE (1..4) on pump ID PUMP"},
    {"nozzle-down", "PUMP", 1, 1, "hangs it up"},
    {"flow", "PUMP LPM", 2, 2, "sets the pump's flow rate in litres per minute"},
    {"card", "PUMP TAG [NAME]", 2, 3, "a card read at the pump (TAG in hexadecimal)"},
    {"tank-drop", "TANK LITRES", 2, 2, "a delivery of fuel into the tank"},
    {"pump-error", "PUMP STATE", 2, 2, "puts the pump in an error state (0 clears it)"},
    {"offline", "PUMP 1|0", 2, 2, "takes the pump off line or back"},
    {"drop-clients", "", 0, 0, "closes every client connection"},
    {"drop-events", "", 0, 0, "closes every events connection (the logons stay)"},
    {"zb-status", "PORT ZBADDR LQI RSSI PARENT CHANNEL MEMBLOCKS MEMFREE DEVTYPE", 9, 9,
     "a ZigBee device's status as its coordinator reports it"},
    {"odo",
     "PORT ZBADDR LQI RSSI PARENT CHANNEL MEMBLOCKS MEMFREE DEVTYPE CLIENT\n"
     "ODO1 FACTOR1 LEVEL1 ODO2 FACTOR2 LEVEL2 TAG1 TAG2 TAG3 TAG4 FUELTYPES",
     21, 21, "an odometer's report, stored on the card client"},
    {"prompt-answer", "PUMP RESULT [INPUT]", 2, 3, "the terminal answers its waiting prompt"},
    {"terminal", "PUMP", 1, 1, "prints the terminal's beeps, lights and waiting prompt"},
    {"line-mode", "PORT", 1, 1, "prints the mode of the port's serial line"},
    {"advance", "MS", 1, 1, "moves the forecourt's clock on by MS milliseconds"},
    {"status", "PUMP", 1, 1, "prints the pump's state (its number and name) and sale"},
};

const ServerOption* FindOption(const std::string& name) {
    for (const ServerOption& o : kServerOptions)
        if (name == o.name) return &o;
    return nullptr;
}

const ControlCommand* FindCommand(const std::string& name) {
    for (const ControlCommand& c : kControlCommands)
        if (name == c.name) return &c;
    return nullptr;
}

// The text with every line after its first indented by `indent` spaces.
std::string Indent(const std::string& text, size_t indent) {
    std::string out;
    for (char ch : text) {
        out += ch;
        if (ch == '\n') out += std::string(indent, ' ');
    }
    return out;
}

// One help entry: `left` (an option or command with its values, maybe over several lines),
// then `help` starting at `column` of left's last line, or of a line of its own when that line
// reaches the column.
std::string Entry(const std::string& left, const std::string& help, size_t column) {
    std::string out = Indent(left, 6);
    const size_t lastLine = out.rfind('\n') == std::string::npos ? 0 : out.rfind('\n') + 1;
    const size_t last = out.size() - lastLine;
    out += last + 1 < column ? std::string(column - last, ' ') : "\n" + std::string(column, ' ');
    return out + Indent(help, column) + "\n";
}

// The names --fail takes, filled into lines of at most 78 characters.
std::string FaultNames() {
    std::string out, line = "   ";
    for (const std::string& name : FaultPlan::Names()) {
        if (line.size() + 1 + name.size() > 78) {
            out += line + "\n";
            line = "   ";
        }
        line += " " + name;
    }
    return out + line + "\n";
}

// "invalid value 'V' for --x: <why>".
std::string BadValue(const ServerOption& o, const std::string& value, const Mistake& why) {
    return "invalid value " + Quoted(value) + " for " + o.name + ": " + why;
}

} // namespace

LineAction ParseServerLine(int argc, char** argv, ServerOptions& options, FaultPlan& faults,
                           std::string& mistake) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") return LineAction::Help;
        if (a == "--version") return LineAction::Version;
        const ServerOption* o = FindOption(a);
        if (o == nullptr) {
            mistake = a.rfind('-', 0) == 0 ? "unknown option " + Quoted(a)
                                           : "unexpected argument " + Quoted(a);
            return LineAction::Wrong;
        }
        std::string value;
        if (o->value != nullptr) {
            if (i + 1 >= argc) {
                mistake = "option " + Quoted(a) + " needs a value (" + o->value + ")";
                return LineAction::Wrong;
            }
            value = argv[++i];
        }
        const Mistake wrong = o->set(value, options, faults);
        if (!wrong.empty()) {
            mistake = BadValue(*o, value, wrong);
            return LineAction::Wrong;
        }
    }
    if (options.db.empty()) {
        mistake = "option '--db FILE' is required";
        return LineAction::Wrong;
    }
    return LineAction::Run;
}

LineAction ParseControlLine(int argc, char** argv, ControlLine& line, std::string& mistake) {
    int at = 2; // after "qvserver ctl"
    for (int i = at; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") return LineAction::Help;
        if (a == "--version") return LineAction::Version;
    }
    if (at >= argc) {
        mistake = "missing the server's address";
        return LineAction::Wrong;
    }
    line.address = argv[at++];
    if (line.address.rfind('-', 0) == 0) {
        mistake = "unknown option " + Quoted(line.address);
        return LineAction::Wrong;
    }
    if (at < argc && std::string(argv[at]) == "--calls-port") {
        if (at + 1 >= argc) {
            mistake = "option '--calls-port' needs a value (P)";
            return LineAction::Wrong;
        }
        const std::string value = argv[at + 1];
        if (!Port(value, line.callPort).empty()) {
            mistake = "invalid value " + Quoted(value) +
                      " for --calls-port: expected a port from 1 to 65535";
            return LineAction::Wrong;
        }
        at += 2;
    }
    if (at >= argc) {
        mistake = "missing the command after the address";
        return LineAction::Wrong;
    }
    const std::string name = argv[at];
    const ControlCommand* c = FindCommand(name);
    if (c == nullptr) {
        mistake = (name.rfind('-', 0) == 0 ? "unknown option " : "unknown command ") + Quoted(name);
        return LineAction::Wrong;
    }
    const int given = argc - at - 1;
    if (given < c->least || given > c->most) {
        const std::string takes = c->most == 0 ? "no arguments"
                                  : c->least == c->most
                                      ? std::to_string(c->least)
                                      : std::to_string(c->least) + " or " + std::to_string(c->most);
        mistake = name + " takes " + takes +
                  (c->most == 1 ? " argument"
                   : c->most    ? " arguments"
                                : "") +
                  " (" + std::to_string(given) + " given)";
        return LineAction::Wrong;
    }
    for (int i = at; i < argc; ++i)
        line.words.push_back(argv[i]);
    return LineAction::Run;
}

std::string ServerHelp() {
    std::string text =
        "usage: qvserver --db FILE [--address A] [--seed SEED] [--fail NAME:N[:RESULT]]...\n"
        "                [--calls-port P] [--events-port P]\n"
        "                [--clock real|manual] [--simulate [--no-cashier]] [--seed-random N]\n"
        "       qvserver ctl ADDRESS [--calls-port P] COMMAND [ARGUMENT]...\n"
        "       qvserver --help | --version\n"
        "The forecourt server: keeps a site in FILE and answers the client library until\n"
        "SIGTERM or SIGINT. Exit status 0 after a stop signal, 1 when it cannot start, 2 for\n"
        "a wrong command line.\n";
    for (const ServerOption& o : kServerOptions) {
        const std::string left =
            std::string("  ") + o.name + (o.value != nullptr ? std::string(" ") + o.value : "");
        text += Entry(left, o.help, 21);
    }
    text += "Operation names that --fail takes:\n" + FaultNames();
    return text + "'qvserver ctl --help' lists the commands of ctl.\n";
}

std::string ControlHelp() {
    std::string text =
        "usage: qvserver ctl ADDRESS [--calls-port P] COMMAND [ARGUMENT]...\n"
        "Drives a running server's forecourt over its calls port, from this host only. It\n"
        "prints the server's answer: exit status 0 when the server accepted the command, 1\n"
        "when it refused it (the answer says why) or could not be reached, 2 for a wrong\n"
        "command line.\n";
    for (const ControlCommand& c : kControlCommands) {
        const std::string left =
            std::string("  ") + c.name + (*c.arguments ? " " : "") + c.arguments;
        text += Entry(left, c.help, 26);
    }
    return text;
}

} // namespace qvserver
