// Events from a forecourt server on loopback (127.0.10.201, manual clock) to one client that
// reads them with ProcessEvents and GetNextPumpEventEx3: pump status events per second while
// the four pumps of the demonstration site deliver, and the time from a driver command that changes
// a pump's state to the arrival of its status event (median and 99th percentile). Then the same
// through the library's window message: a host that reads only when its window is posted, the
// time from the driver command to the post, and the posts per event.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVCodes.h"
#include "outside/qvclient/QVSocket.h"
#include "outside/qvclient/tests/ServerProcess.h"
#include "platform/WindowMessages.h"

using namespace qvtest;
using Clock = std::chrono::steady_clock;

namespace {

// The driver's control channel: control frames on one calls connection.
class Driver {
  public:
    explicit Driver(const std::string& address) {
        int32_t result = 0;
        m_fd = qvwire::ConnectTcp(address, qvwire::kCallPort, 5000, result);
    }
    ~Driver() { qvwire::CloseSocket(m_fd); }
    bool Send(const std::vector<std::string>& words) {
        qvwire::Values in;
        for (const std::string& w : words)
            in.push_back(qvwire::Value::Text(qvwire::ToU16(w)));
        qvwire::Writer w;
        w.PutAll(in);
        qvwire::Header h;
        h.type = qvwire::MsgType::Call;
        h.op = qvwire::kControlOp;
        h.seq = ++m_seq;
        h.bodyLen = static_cast<uint16_t>(w.Bytes().size());
        std::vector<uint8_t> body;
        return qvwire::SendFrame(m_fd, h, w.Bytes()) &&
               qvwire::RecvFrame(m_fd, h, body, 10000) == 0 && h.result == 0;
    }
    bool Ok() const { return m_fd >= 0; }

  private:
    int m_fd = -1;
    uint32_t m_seq = 0;
};

struct PumpRead {
    int32_t pumpID = 0;
    int16_t state = 0;
};

// Reads the oldest event; true when it was a pump status.
bool ReadPump(int32_t h, PumpRead& r) {
    int32_t number, reservedBy, hoseID, hoseNumber, hosePhys, gradeID, gradeNumber, portID,
        attendantID, attendantNumber, ccID, ccNumber;
    int16_t reservedFor, level, stack, phys, side, address, pl1, pl2, type, auth, stackMode, prepay,
        preauth, pf, vf, vof;
    double price, volume, value, cur, peak;
    int64_t tag, attTag, ccTag;
    Out grade, shortGrade, pump, att, cc;
    return GetNextPumpEventEx3MT(
               h, &r.pumpID, &number, &r.state, &reservedFor, &reservedBy, &hoseID, &hoseNumber,
               &hosePhys, &gradeID, &gradeNumber, &grade, &shortGrade, &level, &price, &volume,
               &value, &stack, &pump, &phys, &side, &address, &pl1, &pl2, &type, &portID, &auth,
               &stackMode, &prepay, &preauth, &pf, &vf, &vof, &tag, &attendantID, &attendantNumber,
               &att, &attTag, &ccID, &ccNumber, &cc, &ccTag, &cur, &peak) == 0;
}

// Reads every event waiting; the pump statuses read.
int ReadAll(int32_t h, PumpRead* last = nullptr, bool* sawClientEvent = nullptr) {
    ProcessEventsMT(h);
    int n = 0;
    int16_t type = 0;
    while (GetNextEventTypeMT(h, &type) == 0 && type != 0) {
        PumpRead r;
        if (type == EVENT_PUMP_STATUS && ReadPump(h, r)) {
            ++n;
            if (last) *last = r;
        } else if (type != EVENT_PUMP_STATUS) {
            if (sawClientEvent && type == EVENT_CLIENT) *sawClientEvent = true;
            DiscardNextEventMT(h);
        }
    }
    return n;
}

double Throughput(int32_t h, Driver& drive) {
    // Every pump delivers, slowly enough never to finish: 1 and 3 authorise themselves.
    for (const char* pump : {"1", "2", "3", "4"}) {
        AuthoriseMT(h, std::atoi(pump));
        drive.Send({"nozzle-up", pump, "1"});
        drive.Send({"flow", pump, "0.05"});
    }
    drive.Send({"advance", "1000"});
    ReadAll(h);
    const int target = 200000;
    int read = 0;
    const auto start = Clock::now();
    while (read < target) {
        // 25 simulated seconds: 250 amount reports per pump, a burst the outbox holds.
        drive.Send({"advance", "25000"});
        read += ReadAll(h);
    }
    const std::chrono::duration<double> took = Clock::now() - start;
    return read / took.count();
}

void Latency(int32_t h, Driver& drive, double& median, double& p99) {
    std::vector<double> us;
    for (int i = 0; i < 2000; ++i) {
        const bool up = i % 2 == 0;
        ReadAll(h);
        const auto sent = Clock::now();
        drive.Send(up ? std::vector<std::string>{"nozzle-up", "2", "1"}
                      : std::vector<std::string>{"nozzle-down", "2"});
        const int16_t want = up ? PUMP_STATE_CALLING : PUMP_STATE_IDLE;
        for (;;) {
            PumpRead r;
            if (ReadAll(h, &r) > 0 && r.pumpID == 2 && r.state == want) break;
        }
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - sent).count());
    }
    std::sort(us.begin(), us.end());
    median = us[us.size() / 2];
    p99 = us[us.size() * 99 / 100];
}

// A host window: counts posts and lets the host wait for the next one.
class HostWindow {
  public:
    HostWindow() {
        m_handle =
            platform::RegisterWindow([this](platform::WindowHandle, uint32_t, intptr_t, intptr_t) {
                std::lock_guard<std::mutex> lock(m_mutex);
                ++m_posts;
                m_last = Clock::now();
                m_posted.notify_all();
            });
    }
    ~HostWindow() { platform::UnregisterWindow(m_handle); }
    intptr_t Handle() const { return m_handle; }
    // Waits up to `ms` for a post after `seen` posts; false on time-out.
    bool Wait(long& seen, int ms, Clock::time_point* at = nullptr) {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_posted.wait_for(lock, std::chrono::milliseconds(ms), [&] { return m_posts > seen; }))
            return false;
        seen = m_posts;
        if (at) *at = m_last;
        return true;
    }
    long Posts() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_posts;
    }

  private:
    intptr_t m_handle = 0;
    std::mutex m_mutex;
    std::condition_variable m_posted;
    long m_posts = 0;
    Clock::time_point m_last;
};

int32_t LogonWithWindow(const std::string& server, intptr_t window) {
    int32_t h = 0;
    BSTR name = Bstr("bench"), key = Bstr(""), host = Bstr(server);
    const int32_t r =
        InternalClientLogonMT(&h, 8, 5, name, 1, key, 0, host, 5123, 5124, 3000, 0, window, 1024);
    platform::SysFreeString(name);
    platform::SysFreeString(key);
    platform::SysFreeString(host);
    return r == 0 ? h : 0;
}

// Events read by a host that reads only on its window's posts; posts per event in `ratio`.
double ThroughputByMessage(int32_t h, Driver& drive, HostWindow& window, double& ratio) {
    for (const char* pump : {"1", "2", "3", "4"}) {
        AuthoriseMT(h, std::atoi(pump));
        drive.Send({"nozzle-up", pump, "1"});
        drive.Send({"flow", pump, "0.05"});
    }
    drive.Send({"advance", "1000"});
    long seen = window.Posts();
    while (window.Wait(seen, 200))
        ReadAll(h);
    ReadAll(h);
    const long postsBefore = window.Posts();
    const int target = 200000;
    int read = 0;
    const auto start = Clock::now();
    BSTR marker = Bstr("end of burst");
    while (read < target) {
        drive.Send({"advance", "25000"});
        // The burst is read as its posts come, up to the client event sent after it.
        FireClientEventMT(h, 1, marker);
        bool end = false;
        while (!end && window.Wait(seen, 1000))
            read += ReadAll(h, nullptr, &end);
    }
    platform::SysFreeString(marker);
    const std::chrono::duration<double> took = Clock::now() - start;
    ratio = static_cast<double>(window.Posts() - postsBefore) / read;
    return read / took.count();
}

// From the driver command to the window's post of the resulting status.
void LatencyToMessage(int32_t h, Driver& drive, HostWindow& window, double& median, double& p99) {
    std::vector<double> us;
    long seen = window.Posts();
    for (int i = 0; i < 2000; ++i) {
        const bool up = i % 2 == 0;
        while (window.Wait(seen, 5))
            ReadAll(h);
        ReadAll(h);
        const auto sent = Clock::now();
        drive.Send(up ? std::vector<std::string>{"nozzle-up", "2", "1"}
                      : std::vector<std::string>{"nozzle-down", "2"});
        Clock::time_point at;
        if (!window.Wait(seen, 2000, &at)) continue;
        us.push_back(std::chrono::duration<double, std::micro>(at - sent).count());
    }
    std::sort(us.begin(), us.end());
    median = us.empty() ? 0 : us[us.size() / 2];
    p99 = us.empty() ? 0 : us[us.size() * 99 / 100];
}

} // namespace

int main() {
    TempDir dir;
    ServerProcess server("127.0.10.201", dir.Path(), {"--clock", "manual"});
    if (!server.Start("demo")) {
        std::fprintf(stderr, "qvserver did not start (QV_BUILD_DIR=%s)\n", BuildDir().c_str());
        return 1;
    }
    const int32_t h = Logon("127.0.10.201");
    Driver drive("127.0.10.201");
    if (!h || !drive.Ok()) return 1;
    const double rate = Throughput(h, drive);
    for (const char* pump : {"1", "2", "3", "4"})
        drive.Send({"nozzle-down", pump});
    double median = 0, p99 = 0;
    Latency(h, drive, median, p99);
    std::printf("pump status events to one client: %8.0f events/s\n", rate);
    std::printf("state change to event arrival:    median %.0f us, p99 %.0f us\n", median, p99);
    int32_t hh = h;
    ClientLogoffMT(&hh);

    // The same pumps, read by a host that waits for its window message.
    for (const char* pump : {"1", "2", "3", "4"})
        drive.Send({"nozzle-down", pump});
    HostWindow window;
    int32_t hw = LogonWithWindow("127.0.10.201", window.Handle());
    if (!hw) return 1;
    double ratio = 0;
    const double byMessage = ThroughputByMessage(hw, drive, window, ratio);
    for (const char* pump : {"1", "2", "3", "4"})
        drive.Send({"nozzle-down", pump});
    LatencyToMessage(hw, drive, window, median, p99);
    std::printf("read on the window message:       %8.0f events/s, %.3f posts per event\n",
                byMessage, ratio);
    std::printf("state change to window message:   median %.0f us, p99 %.0f us\n", median, p99);
    ClientLogoffMT(&hw);
    return 0;
}
