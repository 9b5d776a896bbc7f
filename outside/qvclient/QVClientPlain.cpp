// The plain-named functions: the process's one logon and the forwarding of every logon-bound
// function to its MT form with that logon's handle.
#include "outside/qvclient/QVClientPlain.h"

#include <atomic>
#include <mutex>

namespace {

// The process's logon: its handle (0 while none is held) and the notification target given
// with it, kept for the library's event notification.
struct ProcessLogon {
    std::mutex change; // serialises logon and logoff
    std::atomic<int32_t> handle{0};
    int32_t eventHandle = 0;
    intptr_t window = 0;
    int32_t message = 0;
};

ProcessLogon& TheLogon() {
    static ProcessLogon logon;
    return logon;
}

int32_t Handle() {
    return TheLogon().handle.load(std::memory_order_acquire);
}

// An MT function with the process's handle (read at call time) put in front of its arguments.
template <class... Params> struct BoundToLogon {
    int32_t (*mt)(int32_t, Params...);
    template <class... Args> int32_t operator()(Args... args) const {
        return mt(Handle(), args...);
    }
};
template <class... Params> BoundToLogon<Params...> WithLogon(int32_t (*mt)(int32_t, Params...)) {
    return {mt};
}

// Runs logonMT(&handle) when no logon is held and keeps its handle and target on success.
template <class LogonMT>
int32_t LogOnProcess(LogonMT logonMT, int32_t eventHandle, intptr_t window, int32_t message) {
    ProcessLogon& logon = TheLogon();
    std::lock_guard<std::mutex> hold(logon.change);
    if (logon.handle.load() != 0) return QV_TOO_MANY_LOGONS;
    int32_t handle = 0;
    const int32_t result = logonMT(&handle);
    if (result != QV_OK) return result;
    logon.eventHandle = eventHandle;
    logon.window = window;
    logon.message = message;
    logon.handle.store(handle, std::memory_order_release);
    return QV_OK;
}

} // namespace

extern "C" {

int32_t InternalClientLogon(int32_t ClientID, int16_t ClientType, BSTR ClientName,
                            int16_t ClientCategory, BSTR HashKey, int32_t EventMask,
                            BSTR ServerName, int32_t CallPortNo, int32_t EventsPortNo,
                            int32_t CallTimeout, int32_t EventHandle, intptr_t hwnd, int32_t msg) {
    return LogOnProcess(
        [&](int32_t* handle) {
            return InternalClientLogonMT(handle, ClientID, ClientType, ClientName, ClientCategory,
                                         HashKey, EventMask, ServerName, CallPortNo, EventsPortNo,
                                         CallTimeout, EventHandle, hwnd, msg);
        },
        EventHandle, hwnd, msg);
}

int32_t ClientLogonEx(int32_t ClientID, int16_t ClientType, BSTR ServerName, int32_t CallPortNo,
                      int32_t EventsPortNo, int32_t CallTimeout, int32_t EventHandle, intptr_t hwnd,
                      int32_t msg) {
    return LogOnProcess(
        [&](int32_t* handle) {
            return ClientLogonExMT(handle, ClientID, ClientType, ServerName, CallPortNo,
                                   EventsPortNo, CallTimeout, EventHandle, hwnd, msg);
        },
        EventHandle, hwnd, msg);
}

int32_t ClientLogon(int32_t ClientID, int16_t ClientType, int32_t EventHandle, intptr_t hwnd,
                    int32_t msg) {
    return LogOnProcess(
        [&](int32_t* handle) {
            return ClientLogonMT(handle, ClientID, ClientType, EventHandle, hwnd, msg);
        },
        EventHandle, hwnd, msg);
}

int32_t ClientLogoff(void) {
    ProcessLogon& logon = TheLogon();
    std::lock_guard<std::mutex> hold(logon.change);
    int32_t handle = logon.handle.exchange(0);
    if (handle == 0) return QV_NOT_LOGGED_ON;
    logon.eventHandle = 0;
    logon.window = 0;
    logon.message = 0;
    return ClientLogoffMT(&handle);
}

// Each plain function calls its MT form with the process's handle put in front of its arguments.
#define QV_PLAIN_FUNCTION(Name, Params, Args)                                                      \
    int32_t Name Params {                                                                          \
        return WithLogon(Name##MT) Args;                                                           \
    }
#include "outside/qvclient/QVClientPlainList.inc"
#undef QV_PLAIN_FUNCTION

} // extern "C"
