// A driver of the simulated board: what one open device does with reads, writes and control
// codes. Each open device ("QVF1:", "LED1:") gets its own Driver::Session.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qvboard {

// The answer to one call: failure with its error, or success with data and a count.
struct DriverAnswer {
    bool m_ok = true;
    uint32_t m_error = 0;
    std::vector<uint8_t> m_data; // bytes read, or the control output
    uint32_t m_count = 0;        // bytes written
    std::u16string m_eventName;  // a named event whose handle goes at the output's start

    static DriverAnswer Fail(uint32_t error) {
        DriverAnswer a;
        a.m_ok = false;
        a.m_error = error;
        return a;
    }
};

class DriverSession {
  public:
    virtual ~DriverSession() = default;
    virtual DriverAnswer Read(uint32_t most) = 0;
    virtual DriverAnswer Write(const uint8_t* data, uint32_t size) = 0;
    virtual DriverAnswer Control(uint32_t code, const uint8_t* in, uint32_t inSize,
                                 uint32_t outSize) = 0;
};

class Driver {
  public:
    virtual ~Driver() = default;
    // A session for the device name, null when this driver has no such device.
    virtual std::unique_ptr<DriverSession> Open(const std::u16string& name, uint32_t access,
                                                uint32_t share) = 0;
};

} // namespace qvboard
