// The services host (qvboard host, started by the board): starts the services that the
// board's service list "\Windows\Services.ini" names for boot, answers the services API
// (activate by name, find by device prefix, unload) and the commands "services" and
// "ioctl NAME CODE [OUTSIZE]", and on SIGTERM stops the services in the reverse order.
//
// The service list:
//   [Services]  Boot=QVServer,QV2Serial,Ostrel
//   [QVServer]  Kind=Server  Prefix=QVS1:  Dll=QVServer.dll Database=\DAVozuz\SQLite\QVForecourt.db
//   [QV2Serial] Kind=Idle    Prefix=QV21:  Dll=QV2Serial.dll
//   [Ostrel]    Kind=Library Prefix=QVL1:  Dll=\Windows\Ostrel.dll  Entry=QVL
// A service that does not start is reported on standard error with the reason, and "services"
// lists it as "stopped (did not start: REASON)".
// A Server runs qvserver (beside qvboard) on the board's address with the database; an Idle
// service only starts and stops; a Library is loaded and its <Entry>_Init called (its
// _Deinit and the library's detach when it stops).
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "outside/board/SocketServer.h"
#include "platform/DynLib.h"
#include "platform/Services.h"

namespace qvboard {

enum class ServiceKind { Server, Idle, Library };

struct HostedService {
    std::string m_name;
    std::u16string m_prefix;
    ServiceKind m_kind = ServiceKind::Idle;
    std::string m_dll;      // the library's name (a board path for a Library)
    std::string m_entry;    // prefix of a Library's exports
    std::string m_database; // a Server's database (board path)
    std::string m_seed;     // a Server's seed ("empty" when not given)
    platform::Handle m_handle = 0;

    std::mutex m_lock; // one start, stop or control code at a time
    bool m_running = false;
    std::string m_failure;                   // why the last start failed; empty once it started
    pid_t m_pid = -1;                        // Server
    platform::LibHandle m_library = nullptr; // Library
    uintptr_t m_context = 0;
    platform::ServiceInitFn m_init = nullptr;
    platform::ServiceDeinitFn m_deinit = nullptr;
    platform::ServiceIOControlFn m_ioControl = nullptr;
};

class ServicesHost {
  public:
    ServicesHost(const std::string& address, const std::string& qvserver);
    ~ServicesHost();

    // Reads the service list; false when it names no service.
    bool Load(std::string& why);
    void Boot();
    bool Listen();
    void Shutdown();

    // The services API; on failure 0 or false with the error in error.
    platform::Handle Activate(const std::string& name, uint32_t& error);
    HostedService* Find(const std::u16string& prefix);
    bool Unload(platform::Handle handle, uint32_t& error);
    std::string Command(const std::string& line, bool& ok);

  private:
    bool Start(HostedService& s, uint32_t& error); // under s.m_lock
    void Stop(HostedService& s);                   // under s.m_lock
    bool StartServer(HostedService& s);            // false with s.m_failure
    bool StartLibrary(HostedService& s);
    bool StillRunning(HostedService& s); // under s.m_lock: a server that ended is not
    HostedService* ByName(const std::string& name);
    std::string Control(HostedService& s, uint32_t code, uint32_t outSize, bool& ok);
    void Serve(int fd);

    std::string m_address;
    std::string m_qvserver;
    std::vector<std::unique_ptr<HostedService>> m_services;
    std::vector<std::string> m_boot;
    SocketServer m_server;
};

// "qvboard host": the services host process, until SIGTERM or SIGINT; its exit code.
int RunServicesHost(const std::string& address);

} // namespace qvboard
