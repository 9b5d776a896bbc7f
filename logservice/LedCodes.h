// Control codes of the board driver "LED1:" (sent without buffers).
#pragma once
#include <cstdint>

namespace led {

constexpr char16_t kDeviceName[] = u"LED1:";
constexpr uint32_t kLedStateOn = 0x00220000;  // SetLed(true), the blinker's even steps
constexpr uint32_t kLedStateOff = 0x00220004; // SetLed(false), the blinker's odd steps
constexpr uint32_t kWatchdogOn = 0x00220018;
constexpr uint32_t kWatchdogOff = 0x0022001C;
constexpr uint32_t kWatchdogRefresh = 0x00220020;

} // namespace led
