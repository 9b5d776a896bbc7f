// CLedBlinker: the status LED blinking while the service works on a pen drive. A thread of its
// own alternates the two LED states of "LED1:" every 100 ms until it is stopped. Start and Stop
// are called by the service's worker thread only.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "common/CLog.h"
#include "platform/Handle.h"

class CLedBlinker {
  public:
    static constexpr uint32_t kStepMs = 100;
    static constexpr uint32_t kStopWaitMs = 1000;

    // Messages go to log, which must outlive the blinker.
    explicit CLedBlinker(CLog& log);
    // Stops a running blinker.
    ~CLedBlinker();
    CLedBlinker(const CLedBlinker&) = delete;
    CLedBlinker& operator=(const CLedBlinker&) = delete;

    // Stops any blinker, then starts a new one ("Starting LED.").
    void Start();
    // Nothing when none was started. Else "Stopping LED."; a running blinker is asked to end
    // and waited for up to 1000 ms ("LED stopped."); one that takes longer is forgotten and
    // ends on its own at its next step.
    void Stop();

    bool IsStarted() const { return m_thread != platform::kInvalidHandle; }

  private:
    // What the blinker thread shares with the worker. Shared ownership lets a forgotten thread
    // outlive the blinker object safely.
    struct Block {
        std::atomic<bool> m_running{false}; // set and cleared by the thread itself
        std::atomic<bool> m_stop{false};    // set by Stop
        platform::Handle m_driver = platform::kInvalidHandle; // the thread's own "LED1:" handle
    };
    static uint32_t Blink(const std::shared_ptr<Block>& block);

    CLog& m_log;                                          // the service log
    platform::Handle m_thread = platform::kInvalidHandle; // kInvalidHandle when none was started
    std::shared_ptr<Block> m_block;                       // of the last blinker started
};
