#include "logservice/CLedBlinker.h"

#include "logservice/LedCodes.h"
#include "platform/Clock.h"
#include "platform/Device.h"
#include "platform/Thread.h"

CLedBlinker::CLedBlinker(CLog& log) : m_log(log) {}

CLedBlinker::~CLedBlinker() {
    Stop();
}

void CLedBlinker::Start() {
    Stop();
    m_log.Write("Starting LED.");
    // A fresh block: a forgotten blinker keeps its own, with its stop flag set.
    m_block = std::make_shared<Block>();
    const platform::Handle thread =
        platform::CreateThread([block = m_block] { return Blink(block); });
    m_thread = thread != 0 ? thread : platform::kInvalidHandle;
}

void CLedBlinker::Stop() {
    if (m_thread == platform::kInvalidHandle) return;
    m_log.Write("Stopping LED.");
    // Asked to stop even before the thread has marked itself running, so a blinker started just
    // before cannot be left blinking for good; it then ends without sending anything.
    m_block->m_stop = true;
    if (m_block->m_running) {
        platform::WaitForSingleObject(m_thread, kStopWaitMs);
        m_log.Write("LED stopped.");
    }
    platform::CloseHandle(m_thread); // the thread, if still running, runs on to its end
    m_thread = platform::kInvalidHandle;
}

uint32_t CLedBlinker::Blink(const std::shared_ptr<Block>& block) {
    block->m_running = true;
    block->m_driver =
        platform::OpenDevice(led::kDeviceName, platform::kGenericRead | platform::kGenericWrite, 0);
    if (!block->m_stop) {
        bool odd = true; // the first step sends the "off" state
        while (block->m_driver != platform::kInvalidHandle) {
            uint32_t bytes = 0;
            platform::DeviceIoControl(block->m_driver, odd ? led::kLedStateOff : led::kLedStateOn,
                                      nullptr, 0, nullptr, 0, &bytes);
            odd = !odd;
            platform::Sleep(kStepMs);
            if (block->m_stop) break;
        }
    }
    if (block->m_driver != platform::kInvalidHandle) platform::CloseHandle(block->m_driver);
    block->m_driver = platform::kInvalidHandle;
    block->m_running = false;
    return 0;
}
