// ModuleState: the one record of the loaded service library, and the worker control that the
// entry points use: StartWorker, StopWorker and the worker thread's body ServiceThread.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Handle.h"
#include "platform/Sync.h"

class CLogService;

// What one worker shares with the thread that stops it: a stop that arrives while the worker
// still builds its service object is kept here until the object exists.
struct WorkerControl {
    std::atomic<bool> m_stop{false};
};

struct ModuleState {
    uint32_t m_initialised = 0;                   // 1 once attached
    uint32_t m_threadId = 0;                      // of the current worker
    platform::Handle m_thread = 0;                // the current worker, 0 when none was created
    platform::CriticalSection m_lock;             // guards start and stop
    uint32_t m_state = 0;                         // 0 off, 1 on (the status code reports it)
    std::atomic<CLogService*> m_service{nullptr}; // the current worker's object, once built
    void* m_instance = nullptr;                   // the library's module handle
    std::shared_ptr<WorkerControl> m_control;     // of the current worker
    std::vector<platform::Handle> m_leftRunning;  // workers a stop gave up on, still running
};

// The library's record (null before attach and after detach).
ModuleState* Module();

// Stops a running worker, starts a new one and waits one second: the record when the worker is
// still alive then (the state becomes 1), else null. While a worker that a stop gave up on still
// runs, no new one starts (null).
ModuleState* StartWorker();
// Asks the worker to stop and waits up to 5000 ms for it; the state becomes 0. A worker that
// takes longer is left running (and remembered for the detach).
void StopWorker();
// Builds the worker's service object; null when it cannot be allocated. The service library
// builds a CLogService; a test build of the library may build a variant.
CLogService* CreateServiceObject();
// The worker: builds the service object, runs its main loop guarded, destroys it.
uint32_t ServiceThread(void* parameter, const std::shared_ptr<WorkerControl>& control);
