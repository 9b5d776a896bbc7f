// The window-message service: one queue and one delivery thread for the process, started with
// the first window. Unregistering waits for a callback of that window that is running on the
// delivery thread, so that a window's owner may free what the callback uses right after.
#include "platform/WindowMessages.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace platform {

namespace {

struct Message {
    WindowHandle window;
    uint32_t msg;
    intptr_t wParam, lParam;
};

class Service {
  public:
    WindowHandle Register(WindowProc proc) {
        if (!proc) return 0;
        std::lock_guard<std::mutex> lock(m_mutex);
        const WindowHandle h = ++m_last;
        m_windows[h] = std::make_shared<WindowProc>(std::move(proc));
        if (!m_thread.joinable()) m_thread = std::thread([this] { Deliver(); });
        return h;
    }

    bool Unregister(WindowHandle h) {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_windows.erase(h) == 0) return false;
        if (std::this_thread::get_id() != m_thread.get_id())
            m_idle.wait(lock, [&] { return m_running != h; });
        return true;
    }

    bool Post(const Message& m) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_windows.count(m.window) == 0) return false;
            m_queue.push_back(m);
        }
        m_wake.notify_one();
        return true;
    }

    ~Service() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_one();
        if (m_thread.joinable()) m_thread.join();
    }

  private:
    void Deliver() {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [&] { return m_stopping || !m_queue.empty(); });
            if (m_stopping) return;
            const Message m = m_queue.front();
            m_queue.pop_front();
            auto it = m_windows.find(m.window);
            if (it == m_windows.end()) continue; // unregistered since it was posted
            const std::shared_ptr<WindowProc> proc = it->second;
            m_running = m.window;
            lock.unlock();
            (*proc)(m.window, m.msg, m.wParam, m.lParam);
            lock.lock();
            m_running = 0;
            m_idle.notify_all();
        }
    }

    std::mutex m_mutex; // guards everything below
    std::condition_variable m_wake, m_idle;
    std::map<WindowHandle, std::shared_ptr<WindowProc>> m_windows;
    std::deque<Message> m_queue;
    WindowHandle m_last = 0x10000; // handles start above small integers
    WindowHandle m_running = 0;    // the window whose callback runs now
    bool m_stopping = false;
    std::thread m_thread;
};

Service& TheService() {
    static Service service;
    return service;
}

} // namespace

WindowHandle RegisterWindow(WindowProc proc) {
    return TheService().Register(std::move(proc));
}

bool UnregisterWindow(WindowHandle window) {
    return TheService().Unregister(window);
}

bool PostWindowMessage(WindowHandle window, uint32_t msg, intptr_t wParam, intptr_t lParam) {
    return TheService().Post({window, msg, wParam, lParam});
}

} // namespace platform
