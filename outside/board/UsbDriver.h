// The controller's USB driver: devices "QVF1:" to "QVF4:". One read takes one whole waiting
// frame (0 bytes when none waits); one write hands one whole frame (1 to 261 bytes) to whatever
// is behind the device. Control code 0x0022000C binds the 2-byte port number and hands back the
// data event "QVFrcUSB<port>" (a manual-reset event set while a frame waits), unless the board
// runs with --no-event. A simulated forecourt controller sits behind the configured devices and
// answers the version request (the frame 0x00) with its 59-byte version response.
#pragma once
#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "outside/board/BoardOptions.h"
#include "outside/board/Driver.h"
#include "outside/board/Recorder.h"
#include "platform/Handle.h"

namespace qvboard {

constexpr uint32_t kUsbSetPort = 0x0022000C;
constexpr uint32_t kMaxFrame = 261;

// The 59-byte version response of a controller.
std::vector<uint8_t> VersionResponse(const ControllerOptions& c);

class UsbDriver : public Driver {
  public:
    UsbDriver(const BoardOptions& options, Recorder& log);
    ~UsbDriver() override;

    std::unique_ptr<DriverSession> Open(const std::u16string& name, uint32_t access,
                                        uint32_t share) override;
    // A board reset: frames dropped, ports unbound, events cleared.
    void Reset();

  private:
    class Session;
    struct Channel {
        std::deque<std::vector<uint8_t>> m_frames; // waiting to be read, oldest first
        bool m_bound = false;
        uint16_t m_port = 0;
        platform::Handle m_event = 0;                    // the data event once a port is bound
        const ControllerOptions* m_controller = nullptr; // null: nobody answers
    };

    DriverAnswer Read(int device, uint32_t most);
    DriverAnswer Write(int device, const uint8_t* data, uint32_t size);
    DriverAnswer Control(int device, uint32_t code, const uint8_t* in, uint32_t inSize);
    void Deliver(int device, std::vector<uint8_t> frame); // to the device's reader
    void UpdateEvent(Channel& c);                         // under m_lock
    void Answer(int device, const ControllerOptions& c);
    void RunScheduler();

    const BoardOptions& m_options;
    Recorder& m_log;
    std::mutex m_lock;                 // guards the channels and the schedule
    std::array<Channel, 5> m_channels; // 1 to 4
    // Frames to deliver later, by due time (BoardMillis) and order of scheduling.
    std::multimap<int64_t, std::pair<int, std::vector<uint8_t>>> m_schedule;
    std::condition_variable m_scheduleChanged;
    bool m_stopping = false;
    std::thread m_scheduler;
};

} // namespace qvboard
