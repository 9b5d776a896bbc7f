// Halvora::ReLogonAttempt: one automatic re-logon of the client library, run on a thread of its
// own. A server that accepts connections but does not answer (stopped, overloaded) then holds up
// that thread for the call timeout, never the host's UI thread. The result comes back as a
// queued call on the receiver's thread. The owner may abandon the attempt at any time (a logoff,
// the control destroyed): its result is then never delivered, and a logon it got is ended on
// the attempt's own thread.
#pragma once
#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace Halvora {

class ReLogonAttempt : public std::enable_shared_from_this<ReLogonAttempt> {
  public:
    using Logon = std::function<int32_t()>;       // the library's logon call, 0 on success
    using Deliver = std::function<void(int32_t)>; // gets the logon's result on receiver's thread

    // Runs logon on a new thread and hands its result to deliver through receiver's event loop.
    // Null when no thread could be started (nothing was run). receiver must abandon the attempt
    // before it is destroyed.
    static std::shared_ptr<ReLogonAttempt> Start(QObject* receiver, Logon logon, Deliver deliver);

    // Nothing is delivered from now on. True while the logon call is still running: the library
    // is then busy with it and the caller must not call its logon or logoff (they would wait for
    // the call timeout); the attempt ends a logon it gets itself. False once the call has
    // returned: a logon it got is the caller's to end.
    bool Abandon();
    // True once the logon call has returned with the library's logon (0).
    bool GotLogon();

  private:
    ReLogonAttempt() = default;
    void Run(QObject* receiver, const Logon& logon, const Deliver& deliver);

    std::mutex m_mutex;       // guards the members below; held while posting to the receiver
    bool m_abandoned = false; // the owner no longer wants the result
    bool m_finished = false;  // the logon call has returned
    int32_t m_result = -1;    // its result, once finished
};

} // namespace Halvora
