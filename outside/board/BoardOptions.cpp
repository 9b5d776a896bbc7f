#include "outside/board/BoardOptions.h"

#include <cstdlib>
#include <cstring>

namespace qvboard {

const char* const kBoardOptionsHelp =
    "  --root DIR              the device root (default: $QV_ROOT, else /tmp/qvroot)\n"
    "  --address A             where QVServer listens (default 127.0.0.1)\n"
    "  --controller N          the device QVFN: the controller answers on, 0 for none (1)\n"
    "  --serial S              its serial number, at most 9 characters; \"???????\" in the\n"
    "                          last seven for a board that reports none (QV0012345)\n"
    "  --boot-version S        its boot version, at most 20 characters (QVBoot 2.10)\n"
    "  --driver-version S      its driver version, at most 20 characters (QVDrv 4.02)\n"
    "  --dels N                the count it reports, 0 to 65535 (0)\n"
    "  --no-answer             it ignores the version request\n"
    "  --answer-delay-ms N     it answers N ms after the request (0)\n"
    "  --noise TYPE:LEN        it first sends a frame of that type and length (repeatable)\n"
    "  --second-controller N   a second controller on QVFN: (none)\n"
    "  --second-serial S       the second controller's serial number (QV0099999)\n"
    "  --no-event              the port control code hands back no event handle\n"
    "  --watchdog-ms N         the watchdog's timeout (5000)\n";

namespace {

bool Number(const char* text, long low, long high, long& out) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 0);
    if (end == text || *end != '\0' || v < low || v > high) return false;
    out = v;
    return true;
}

bool Noise(const char* text, NoiseFrame& out) {
    const char* colon = std::strchr(text, ':');
    if (colon == nullptr) return false;
    long type = 0, length = 0;
    if (!Number(std::string(text, colon).c_str(), 0, 255, type)) return false;
    if (!Number(colon + 1, 1, 261, length)) return false;
    out = NoiseFrame{static_cast<uint8_t>(type), static_cast<uint32_t>(length)};
    return true;
}

} // namespace

bool ParseBoardOptions(int argc, char** argv, int first, BoardOptions& o, std::string& why) {
    o.m_second.m_device = 0;
    o.m_second.m_serial = "QV0099999";
    for (int i = first; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--no-answer") {
            o.m_controller.m_answers = false;
            continue;
        }
        if (a == "--no-event") {
            o.m_giveEvent = false;
            continue;
        }
        static const char* const kValued[] = {
            "--root",         "--address",           "--controller",    "--serial",
            "--boot-version", "--driver-version",    "--dels",          "--answer-delay-ms",
            "--noise",        "--second-controller", "--second-serial", "--watchdog-ms"};
        bool known = false;
        for (const char* v : kValued)
            known = known || a == v;
        if (!known) {
            why = "unknown option " + a;
            return false;
        }
        if (i + 1 >= argc) {
            why = "missing value after " + a;
            return false;
        }
        const char* v = argv[++i];
        long n = 0;
        bool ok = true;
        if (a == "--root") {
            o.m_root = v;
        } else if (a == "--address") {
            o.m_address = v;
        } else if (a == "--controller") {
            ok = Number(v, 0, 4, n);
            o.m_controller.m_device = static_cast<int>(n);
        } else if (a == "--serial") {
            ok = std::strlen(v) <= 9;
            o.m_controller.m_serial = v;
        } else if (a == "--boot-version") {
            ok = std::strlen(v) <= 20;
            o.m_controller.m_bootVersion = v;
        } else if (a == "--driver-version") {
            ok = std::strlen(v) <= 20;
            o.m_controller.m_driverVersion = v;
        } else if (a == "--dels") {
            ok = Number(v, 0, 65535, n);
            o.m_controller.m_dels = static_cast<uint16_t>(n);
        } else if (a == "--answer-delay-ms") {
            ok = Number(v, 0, 600000, n);
            o.m_controller.m_delayMs = static_cast<uint32_t>(n);
        } else if (a == "--noise") {
            NoiseFrame f{};
            ok = Noise(v, f);
            o.m_controller.m_noise.push_back(f);
        } else if (a == "--second-controller") {
            ok = Number(v, 1, 4, n);
            o.m_second.m_device = static_cast<int>(n);
        } else if (a == "--second-serial") {
            ok = std::strlen(v) <= 9;
            o.m_second.m_serial = v;
        } else if (a == "--watchdog-ms") {
            ok = Number(v, 10, 3600000, n);
            o.m_watchdogMs = static_cast<uint32_t>(n);
        } else {
            why = "unknown option " + a;
            return false;
        }
        if (!ok) {
            why = "bad value for " + a + ": " + v;
            return false;
        }
    }
    if (o.m_second.m_device != 0 && o.m_second.m_device == o.m_controller.m_device) {
        why = "the second controller needs a device of its own";
        return false;
    }
    return true;
}

} // namespace qvboard
