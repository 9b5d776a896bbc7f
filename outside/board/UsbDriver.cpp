#include "outside/board/UsbDriver.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>

#include "platform/Event.h"
#include "platform/LastError.h"

namespace qvboard {

namespace {

constexpr uint8_t kVersionRequest = 0x00;
constexpr uint8_t kVersionResponseType = 0x40;
constexpr size_t kVersionResponseSize = 59;

void Put(std::vector<uint8_t>& frame, size_t offset, const std::string& text, size_t most) {
    std::memcpy(frame.data() + offset, text.data(), std::min(text.size(), most));
}

int DeviceNumber(const std::u16string& name) {
    if (name.size() != 5 || name.compare(0, 3, u"QVF") != 0 || name[4] != u':') return 0;
    return name[3] >= u'1' && name[3] <= u'4' ? name[3] - u'0' : 0;
}

std::string DeviceName(int device) {
    return "QVF" + std::to_string(device) + ":";
}

} // namespace

std::vector<uint8_t> VersionResponse(const ControllerOptions& c) {
    std::vector<uint8_t> frame(kVersionResponseSize, 0);
    frame[0] = kVersionResponseType;
    frame[8] = static_cast<uint8_t>(c.m_dels >> 8);
    frame[9] = static_cast<uint8_t>(c.m_dels & 0xFF);
    Put(frame, 10, c.m_bootVersion, 20);
    Put(frame, 30, c.m_driverVersion, 20);
    Put(frame, 50, c.m_serial, 9);
    return frame;
}

class UsbDriver::Session : public DriverSession {
  public:
    Session(UsbDriver& driver, int device) : m_driver(driver), m_device(device) {}
    DriverAnswer Read(uint32_t most) override { return m_driver.Read(m_device, most); }
    DriverAnswer Write(const uint8_t* data, uint32_t size) override {
        return m_driver.Write(m_device, data, size);
    }
    DriverAnswer Control(uint32_t code, const uint8_t* in, uint32_t inSize, uint32_t) override {
        return m_driver.Control(m_device, code, in, inSize);
    }

  private:
    UsbDriver& m_driver;
    int m_device;
};

UsbDriver::UsbDriver(const BoardOptions& options, Recorder& log) : m_options(options), m_log(log) {
    for (const ControllerOptions* c : {&options.m_controller, &options.m_second})
        if (c->m_device >= 1 && c->m_device <= 4) m_channels[c->m_device].m_controller = c;
    m_scheduler = std::thread([this] { RunScheduler(); });
}

UsbDriver::~UsbDriver() {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_stopping = true;
    }
    m_scheduleChanged.notify_all();
    m_scheduler.join();
    for (Channel& c : m_channels)
        if (c.m_event != 0) platform::CloseHandle(c.m_event);
}

std::unique_ptr<DriverSession> UsbDriver::Open(const std::u16string& name, uint32_t, uint32_t) {
    const int device = DeviceNumber(name);
    if (device == 0) return nullptr;
    m_log.Line(DeviceName(device) + " open");
    return std::make_unique<Session>(*this, device);
}

void UsbDriver::Reset() {
    std::lock_guard<std::mutex> hold(m_lock);
    m_schedule.clear();
    for (Channel& c : m_channels) {
        c.m_frames.clear();
        c.m_bound = false;
        if (c.m_event != 0) platform::ResetEvent(c.m_event);
    }
}

DriverAnswer UsbDriver::Read(int device, uint32_t most) {
    std::lock_guard<std::mutex> hold(m_lock);
    Channel& c = m_channels[device];
    DriverAnswer a;
    if (c.m_frames.empty()) return a;
    if (c.m_frames.front().size() > most)
        return DriverAnswer::Fail(platform::kErrorInsufficientBuffer);
    a.m_data = std::move(c.m_frames.front());
    c.m_frames.pop_front();
    UpdateEvent(c);
    m_log.Line(DeviceName(device) + " read " + std::to_string(a.m_data.size()) + " " +
               HexBytes(a.m_data.data(), a.m_data.size()));
    return a;
}

DriverAnswer UsbDriver::Write(int device, const uint8_t* data, uint32_t size) {
    if (size == 0 || size > kMaxFrame) return DriverAnswer::Fail(platform::kErrorInvalidParameter);
    m_log.Line(DeviceName(device) + " write " + std::to_string(size) + " " + HexBytes(data, size));
    const ControllerOptions* controller = m_channels[device].m_controller;
    if (controller != nullptr && size == 1 && data[0] == kVersionRequest)
        Answer(device, *controller);
    DriverAnswer a;
    a.m_count = size;
    return a;
}

DriverAnswer UsbDriver::Control(int device, uint32_t code, const uint8_t* in, uint32_t inSize) {
    if (code != kUsbSetPort || inSize < 2)
        return DriverAnswer::Fail(platform::kErrorInvalidParameter);
    const uint16_t port = static_cast<uint16_t>(in[0] | (in[1] << 8));
    std::u16string name = u"QVFrcUSB";
    for (char ch : std::to_string(port))
        name += static_cast<char16_t>(ch);
    std::lock_guard<std::mutex> hold(m_lock);
    Channel& c = m_channels[device];
    if (c.m_event == 0 || c.m_port != port) {
        if (c.m_event != 0) platform::CloseHandle(c.m_event);
        c.m_event = platform::CreateEvent(true, false, name);
    }
    c.m_bound = true;
    c.m_port = port;
    UpdateEvent(c);
    m_log.Line(DeviceName(device) + " port " + std::to_string(port));
    DriverAnswer a;
    if (m_options.m_giveEvent && c.m_event != 0) a.m_eventName = name;
    return a;
}

void UsbDriver::Answer(int device, const ControllerOptions& c) {
    if (!c.m_answers) return;
    std::vector<std::vector<uint8_t>> frames;
    for (const NoiseFrame& n : c.m_noise) {
        std::vector<uint8_t> f(n.m_length, 0xA5);
        f[0] = n.m_type;
        frames.push_back(std::move(f));
    }
    frames.push_back(VersionResponse(c));
    if (c.m_delayMs == 0) {
        for (std::vector<uint8_t>& f : frames)
            Deliver(device, std::move(f));
        return;
    }
    std::lock_guard<std::mutex> hold(m_lock);
    const int64_t due = BoardMillis() + c.m_delayMs;
    for (std::vector<uint8_t>& f : frames)
        m_schedule.emplace(due, std::make_pair(device, std::move(f)));
    m_scheduleChanged.notify_all();
}

void UsbDriver::Deliver(int device, std::vector<uint8_t> frame) {
    std::lock_guard<std::mutex> hold(m_lock);
    Channel& c = m_channels[device];
    c.m_frames.push_back(std::move(frame));
    UpdateEvent(c);
}

void UsbDriver::UpdateEvent(Channel& c) {
    if (c.m_event == 0 || !c.m_bound) return;
    if (c.m_frames.empty())
        platform::ResetEvent(c.m_event);
    else
        platform::SetEvent(c.m_event);
}

void UsbDriver::RunScheduler() {
    std::unique_lock<std::mutex> hold(m_lock);
    while (!m_stopping) {
        if (m_schedule.empty()) {
            m_scheduleChanged.wait(hold);
            continue;
        }
        const int64_t wait = m_schedule.begin()->first - BoardMillis();
        if (wait > 0) {
            m_scheduleChanged.wait_for(hold, std::chrono::milliseconds(wait));
            continue;
        }
        auto next = m_schedule.begin();
        Channel& c = m_channels[next->second.first];
        c.m_frames.push_back(std::move(next->second.second));
        m_schedule.erase(next);
        UpdateEvent(c);
    }
}

} // namespace qvboard
