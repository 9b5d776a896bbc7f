// The board process (qvboard run): owns the devices and their drivers, answers "qvboard ctl",
// and boots the services host as a process of its own. A watchdog reset kills the host's whole
// process group at once (SIGKILL, as a power cut), counts and records the reset, clears the
// devices and boots the host again. The board's records live in "<root>/.board/": "usb.log"
// (every frame and port binding), "led.log" (LED and watchdog changes), "board.log" (boots,
// resets, plug and unplug) and "drive", the notice of the pen drive's insertion that the
// platform's file services read, so files open on a pulled drive fail.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "outside/board/BoardOptions.h"
#include "outside/board/LedDriver.h"
#include "outside/board/Recorder.h"
#include "outside/board/SocketServer.h"
#include "outside/board/UsbDriver.h"

namespace qvboard {

class Board {
  public:
    explicit Board(const BoardOptions& options);
    ~Board();

    // Opens the sockets and boots the host; false (with a message on stderr) when it cannot.
    bool Start();
    // Shuts the host down in order and closes the devices.
    void Stop();

  private:
    void ServeDevice(int fd);
    void ServeControl(int fd);
    std::string Command(const std::string& line, bool& ok);
    bool Boot();        // under m_hostLock
    void KillHost();    // under m_hostLock: SIGKILL to the host's group, reaped
    void NoteHostEnd(); // under m_hostLock: records a host that ended by itself
    void WatchdogReset();
    std::string Plug(const std::string& folder, bool& ok);
    std::string Unplug(bool& ok);
    void Notice(bool in);
    void ReadNotice();

    BoardOptions m_options;
    std::string m_folder; // "<root>/.board"
    Recorder m_usbLog;
    Recorder m_ledLog;
    Recorder m_boardLog;
    UsbDriver m_usb;
    LedDriver m_led;
    SocketServer m_devices;
    SocketServer m_control;
    std::mutex m_hostLock;
    pid_t m_host = -1;
    bool m_stopping = false; // no reset boots the host again once the board stops
    int m_boots = 0;
    int m_resets = 0;
    std::mutex m_plugLock;
    std::string m_plugged;     // the folder a plugged pen drive came from; empty when none
    bool m_linked = false;     // the drive is a link to its folder (another file system)
    uint64_t m_insertions = 0; // drives plugged so far, the last one's number
};

} // namespace qvboard
