#include "outside/board/Board.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/LastError.h"
#include "platform/Paths.h"
#include "platform/posix/BoardWire.h"

extern char** environ;

namespace qvboard {

namespace fs = std::filesystem;

namespace {

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Waits up to ms for the process to end; true when it was reaped.
bool Reap(pid_t pid, int ms) {
    for (int waited = 0;; waited += 10) {
        int status = 0;
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno == ECHILD)) return true;
        if (waited >= ms) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace

Board::Board(const BoardOptions& options)
    : m_options(options), m_folder(platform::board::BoardFolder()),
      m_usbLog((fs::create_directories(m_folder), m_folder + "/usb.log")),
      m_ledLog(m_folder + "/led.log"), m_boardLog(m_folder + "/board.log"),
      m_usb(m_options, m_usbLog),
      m_led(m_options.m_watchdogMs, m_ledLog, [this] { WatchdogReset(); }) {}

Board::~Board() {
    Stop();
}

bool Board::Start() {
    ReadNotice();
    if (!m_devices.Start(platform::board::DeviceSocketPath(),
                         [this](int fd) { ServeDevice(fd); }) ||
        !m_control.Start(platform::board::ControlSocketPath(),
                         [this](int fd) { ServeControl(fd); })) {
        fprintf(stderr, "qvboard: cannot listen in %s\n", m_folder.c_str());
        return false;
    }
    std::lock_guard<std::mutex> hold(m_hostLock);
    return Boot();
}

void Board::Stop() {
    {
        std::lock_guard<std::mutex> hold(m_hostLock);
        m_stopping = true;
        if (m_host > 0) {
            // The host stops its services in order; a stuck one is cut off after a while.
            kill(m_host, SIGTERM);
            if (!Reap(m_host, 30000)) m_boardLog.Line("services host did not stop");
            kill(-m_host, SIGKILL); // whatever the host left in its group
            Reap(m_host, 1000);
            m_host = -1;
            m_boardLog.Line("shut down");
        }
    }
    m_control.Stop();
    m_devices.Stop();
}

bool Board::Boot() {
    unlink(platform::board::ServicesSocketPath().c_str());
    std::error_code ec;
    const std::string self = fs::read_symlink("/proc/self/exe", ec).string();
    const std::string root = platform::DeviceRoot();
    std::vector<std::string> args = {self, "host",      "--root",
                                     root, "--address", m_options.m_address};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setpgroup(&attr, 0); // a group of its own, so a reset takes all of it
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    pid_t pid = -1;
    const int r = posix_spawn(&pid, self.c_str(), nullptr, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    if (r != 0) {
        m_boardLog.Line("boot failed");
        return false;
    }
    m_host = pid;
    ++m_boots;
    m_boardLog.Line("boot " + std::to_string(m_boots) + " host " + std::to_string(pid));
    return true;
}

void Board::KillHost() {
    if (m_host <= 0) return;
    kill(-m_host, SIGKILL);
    Reap(m_host, 5000);
    m_host = -1;
}

void Board::NoteHostEnd() {
    int status = 0;
    if (m_host <= 0 || waitpid(m_host, &status, WNOHANG) != m_host) return;
    m_boardLog.Line("services host ended (" +
                    (WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status))
                                         : "exit " + std::to_string(WEXITSTATUS(status))) +
                    ")");
    m_host = -1;
}

void Board::WatchdogReset() {
    std::lock_guard<std::mutex> hold(m_hostLock);
    if (m_stopping) return;
    KillHost();
    ++m_resets;
    m_boardLog.Line("watchdog reset");
    m_ledLog.Line("watchdog reset");
    m_usb.Reset();
    m_led.Reset();
    Boot();
}

void Board::ServeDevice(int fd) {
    namespace wire = platform::board;
    std::vector<uint8_t> message;
    std::unique_ptr<DriverSession> session;
    while (wire::Receive(fd, message) >= static_cast<long>(sizeof(wire::Request))) {
        wire::Request request;
        std::memcpy(&request, message.data(), sizeof request);
        const uint8_t* payload = message.data() + sizeof request;
        const uint32_t size = static_cast<uint32_t>(message.size() - sizeof request);
        if (request.m_size != size) return;
        const auto op = static_cast<wire::Op>(request.m_op);
        if (!session) {
            if (op != wire::Op::Open) return;
            const std::u16string name = wire::UnitsOf(message, sizeof request, size);
            session = m_usb.Open(name, request.m_code, request.m_arg);
            if (!session) session = m_led.Open(name, request.m_code, request.m_arg);
            if (!SendReply(fd, session != nullptr, platform::kErrorDevNotExist, nullptr, 0) ||
                !session)
                return;
            continue;
        }
        DriverAnswer a;
        if (op == wire::Op::Read)
            a = session->Read(request.m_arg);
        else if (op == wire::Op::Write)
            a = session->Write(payload, size);
        else if (op == wire::Op::Control)
            a = session->Control(request.m_code, payload, size, request.m_arg);
        else
            a = DriverAnswer::Fail(platform::kErrorInvalidParameter);
        if (a.m_data.size() > request.m_arg && op == wire::Op::Control)
            a.m_data.resize(request.m_arg);
        const bool sent = op == wire::Op::Write
                              ? SendReply(fd, a.m_ok, a.m_error, nullptr, 0, a.m_count)
                              : SendReply(fd, a.m_ok, a.m_error, a.m_data.data(), a.m_data.size(),
                                          static_cast<uint32_t>(a.m_eventName.size() * 2),
                                          a.m_eventName.data(), a.m_eventName.size() * 2);
        if (!sent) return;
    }
}

void Board::ServeControl(int fd) {
    namespace wire = platform::board;
    std::vector<uint8_t> message;
    while (wire::Receive(fd, message) >= static_cast<long>(sizeof(wire::Request))) {
        const std::string line(message.begin() + sizeof(wire::Request), message.end());
        bool ok = true;
        const std::string text = Command(line, ok);
        if (!SendReply(fd, ok, 0, text.data(), text.size())) return;
    }
}

std::string Board::Command(const std::string& line, bool& ok) {
    const size_t space = line.find(' ');
    const std::string verb = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    if (verb == "led") return ReadWhole(m_ledLog.Path());
    if (verb == "usb-log") return ReadWhole(m_usbLog.Path());
    if (verb == "log") return ReadWhole(m_boardLog.Path());
    if (verb == "plug") return Plug(rest, ok);
    if (verb == "unplug") return Unplug(ok);
    if (verb == "status") {
        const LedDriver::State led = m_led.Now();
        std::lock_guard<std::mutex> hold(m_hostLock);
        NoteHostEnd();
        std::lock_guard<std::mutex> plug(m_plugLock);
        return "boots " + std::to_string(m_boots) + "\nresets " + std::to_string(m_resets) +
               "\nhost " + std::to_string(m_host) + "\nled " + (led.m_ledOn ? "on" : "off") +
               "\nwatchdog " + (led.m_armed ? "on" : "off") + "\nrefreshes " +
               std::to_string(led.m_refreshes) + "\nplugged " + (m_plugged.empty() ? "no" : "yes") +
               "\n";
    }
    ok = false;
    return "unknown command " + verb + "\n";
}

// The drive notice that the platform's file services read: the number of the last insertion and
// whether that drive is in, replaced in one step. Under m_plugLock.
void Board::Notice(bool in) {
    const std::string path = platform::board::DriveNoticePath();
    const std::string temp = path + ".new";
    {
        std::ofstream out(temp, std::ios::trunc);
        out << "insertion " << m_insertions << (in ? " in" : " out") << "\n";
    }
    std::rename(temp.c_str(), path.c_str());
}

// At start: the count of insertions goes on from the notice a board left, and a drive that
// stayed in through a board restart stays the same insertion.
void Board::ReadNotice() {
    std::lock_guard<std::mutex> hold(m_plugLock);
    std::ifstream in(platform::board::DriveNoticePath());
    std::string word, state;
    uint64_t n = 0;
    const bool read = static_cast<bool>(in >> word >> n >> state) && word == "insertion";
    m_insertions = read ? n : 0;
    std::error_code ec;
    const bool driveIn = fs::exists(fs::path(platform::DeviceRoot()) / "Hard Disk", ec);
    if (read && driveIn && state == "in") return;
    if (driveIn) ++m_insertions; // a folder put there by hand counts as a drive of its own
    Notice(driveIn);
}

// A pen drive appears in one step: the prepared folder is renamed to "\Hard Disk", or, on
// another file system, linked there.
std::string Board::Plug(const std::string& folder, bool& ok) {
    std::lock_guard<std::mutex> hold(m_plugLock);
    ok = false;
    const fs::path drive = fs::path(platform::DeviceRoot()) / "Hard Disk";
    std::error_code ec;
    if (!m_plugged.empty() || fs::exists(fs::symlink_status(drive, ec)))
        return "a pen drive is plugged already\n";
    if (folder.empty() || !fs::is_directory(folder, ec)) return "no folder " + folder + "\n";
    const std::string from = fs::absolute(folder, ec).lexically_normal().string();
    fs::rename(from, drive, ec);
    m_linked = ec == std::errc::cross_device_link;
    if (m_linked) fs::create_directory_symlink(from, drive, ec);
    if (ec) return "cannot plug " + from + ": " + ec.message() + "\n";
    m_plugged = from;
    ++m_insertions;
    Notice(true);
    ok = true;
    m_boardLog.Line("plug " + from);
    return "plugged " + from + "\n";
}

std::string Board::Unplug(bool& ok) {
    std::lock_guard<std::mutex> hold(m_plugLock);
    ok = false;
    if (m_plugged.empty()) return "no pen drive is plugged\n";
    const fs::path drive = fs::path(platform::DeviceRoot()) / "Hard Disk";
    std::error_code ec;
    if (m_linked)
        fs::remove(drive, ec);
    else
        fs::rename(drive, m_plugged, ec);
    if (ec) return "cannot unplug to " + m_plugged + ": " + ec.message() + "\n";
    // From now on the files still open on the drive fail, as on a real removal.
    Notice(false);
    m_boardLog.Line("unplug " + m_plugged);
    const std::string text = "unplugged to " + m_plugged + "\n";
    m_plugged.clear();
    ok = true;
    return text;
}

} // namespace qvboard
