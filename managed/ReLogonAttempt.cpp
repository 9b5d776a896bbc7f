#include "managed/ReLogonAttempt.h"

#include "outside/qvclient/QVClientPlain.h"
#include "platform/Thread.h"

namespace Halvora {

std::shared_ptr<ReLogonAttempt> ReLogonAttempt::Start(QObject* receiver, Logon logon,
                                                      Deliver deliver) {
    std::shared_ptr<ReLogonAttempt> attempt(new ReLogonAttempt);
    // Detached: the thread keeps the attempt alive through its own reference, and a destroyed
    // owner has abandoned it, so nothing waits for a hung server.
    const bool started = platform::StartDetachedThread(
        [attempt, receiver, logon = std::move(logon), deliver = std::move(deliver)] {
            attempt->Run(receiver, logon, deliver);
        },
        platform::ThreadPriority::Normal);
    return started ? attempt : nullptr;
}

void ReLogonAttempt::Run(QObject* receiver, const Logon& logon, const Deliver& deliver) {
    const int32_t result = logon();
    bool endLogon = false;
    {
        std::lock_guard<std::mutex> hold(m_mutex);
        m_finished = true;
        m_result = result;
        if (m_abandoned) {
            endLogon = result == 0;
        } else {
            // Posted under the lock: the receiver abandons (taking the lock) before it goes, so
            // it is alive here, and Qt drops the posted call if it goes before the call runs.
            std::shared_ptr<ReLogonAttempt> self = shared_from_this();
            QMetaObject::invokeMethod(
                receiver,
                [self, deliver, result] {
                    {
                        std::lock_guard<std::mutex> check(self->m_mutex);
                        if (self->m_abandoned) return;
                    }
                    deliver(result);
                },
                Qt::QueuedConnection);
        }
    }
    // Outside the lock: a logoff may wait on the server, and the owner must never wait on that.
    if (endLogon) ::ClientLogoff();
}

bool ReLogonAttempt::Abandon() {
    std::lock_guard<std::mutex> hold(m_mutex);
    m_abandoned = true;
    return !m_finished;
}

bool ReLogonAttempt::GotLogon() {
    std::lock_guard<std::mutex> hold(m_mutex);
    return m_finished && m_result == 0;
}

} // namespace Halvora
