// The options of one simulated board (qvboard run), with their defaults.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qvboard {

// A frame the controller sends before its version response.
struct NoiseFrame {
    uint8_t m_type;
    uint32_t m_length; // 1 to 261
};

// One simulated forecourt controller behind a USB device.
struct ControllerOptions {
    int m_device = 1;                           // 1 to 4, 0 for none
    std::string m_serial = "QV0012345";         // at offset 50, at most 9 characters
    std::string m_bootVersion = "QVBoot 2.10";  // at offset 10, at most 20
    std::string m_driverVersion = "QVDrv 4.02"; // at offset 30, at most 20
    uint16_t m_dels = 0;                        // big-endian at offset 8
    bool m_answers = true;                      // false: the version request gets no answer
    uint32_t m_delayMs = 0;                     // the answer comes this long after the request
    std::vector<NoiseFrame> m_noise;            // sent, in order, before the response
};

struct BoardOptions {
    std::string m_root;                  // the device root
    std::string m_address = "127.0.0.1"; // where "QVServer" listens
    ControllerOptions m_controller;
    ControllerOptions m_second;   // a second controller; its m_device 0 for none
    bool m_giveEvent = true;      // the port code hands back the data event
    uint32_t m_watchdogMs = 5000; // the watchdog's timeout
};

// Parses the options of "qvboard run" from argv[first]; false with why.
bool ParseBoardOptions(int argc, char** argv, int first, BoardOptions& out, std::string& why);
extern const char* const kBoardOptionsHelp;

} // namespace qvboard
