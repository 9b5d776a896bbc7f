// The service library's entry points, its attach and detach, and the worker control.
#include <cstring>

#include "logservice/CLogService.h"
#include "logservice/ModuleState.h"
#include "logservice/RunGuarded.h"
#include "platform/Clock.h"
#include "platform/LastError.h"
#include "platform/LibraryEntry.h"
#include "platform/Services.h"
#include "platform/Thread.h"

namespace {

constexpr uint32_t kStartWaitMs = 1000;
constexpr uint32_t kStopWaitMs = 5000;
// How long the detach waits for workers still running: a worker that still builds its object
// (up to ten seconds for a late log directory) ends once built, and its code must still be
// there. A worker held after an exception never ends; the watchdog resets the board first.
constexpr uint32_t kDetachWaitMs = 15000;

ModuleState* g_module = nullptr;

bool ThreadAlive(platform::Handle thread) {
    return thread != 0 && platform::WaitForSingleObject(thread, 0) == platform::kWaitTimeout;
}

// STATUS and SUPPORTED_OPTIONS: one 32-bit value into the caller's buffer.
int32_t AnswerValue(uint32_t value, uint8_t* out, uint32_t outSize, uint32_t* actualOut) {
    if (out == nullptr || outSize < 4) {
        platform::SetLastError(platform::kErrorInvalidUserBuffer);
        return 0;
    }
    std::memcpy(out, &value, 4);
    if (actualOut != nullptr) *actualOut = 4;
    return 1;
}

// Waits up to ms in all for the workers that stops gave up on; true when none runs any more.
bool WaitForLeftWorkers(uint32_t ms) {
    ModuleState* m = g_module;
    const uint32_t start = platform::TickCount();
    bool allEnded = true;
    for (platform::Handle worker : m->m_leftRunning) {
        const uint32_t spent = platform::TickCount() - start;
        const uint32_t left = spent < ms ? ms - spent : 0;
        if (platform::WaitForSingleObject(worker, left) != platform::kWaitObject0) allEnded = false;
        platform::CloseHandle(worker);
    }
    m->m_leftRunning.clear();
    return allEnded;
}

} // namespace

ModuleState* Module() {
    return g_module;
}

void StopWorker() {
    ModuleState* m = g_module;
    if (m == nullptr) return;
    platform::Lock lock(m->m_lock);
    if (ThreadAlive(m->m_thread)) {
        // The control keeps the request for a worker still building its object.
        if (m->m_control) m->m_control->m_stop = true;
        if (CLogService* service = m->m_service.load()) service->RequestStop();
        if (platform::WaitForSingleObject(m->m_thread, kStopWaitMs) == platform::kWaitTimeout) {
            m->m_leftRunning.push_back(m->m_thread);
            m->m_thread = 0;
        }
    }
    if (m->m_thread != 0) platform::CloseHandle(m->m_thread);
    m->m_thread = 0;
    m->m_control.reset();
    m->m_service = nullptr;
    m->m_state = 0;
}

// Forgets the workers a stop gave up on that have ended since; true when none still runs.
static bool NoWorkerLeft(ModuleState* m) {
    std::vector<platform::Handle> running;
    for (platform::Handle worker : m->m_leftRunning) {
        if (platform::WaitForSingleObject(worker, 0) == platform::kWaitTimeout)
            running.push_back(worker);
        else
            platform::CloseHandle(worker);
    }
    m->m_leftRunning = running;
    return running.empty();
}

ModuleState* StartWorker() {
    StopWorker();
    ModuleState* m = g_module;
    if (m == nullptr) return nullptr;
    platform::Lock lock(m->m_lock);
    // Never two workers: one that did not end on a stop still owns the drive, the report and the
    // log files, so no new one starts beside it.
    if (!NoWorkerLeft(m)) return nullptr;
    auto control = std::make_shared<WorkerControl>();
    m->m_control = control;
    m->m_thread = platform::CreateThread([m, control]() { return ServiceThread(m, control); },
                                         &m->m_threadId);
    ModuleState* result = nullptr;
    if (m->m_thread != 0 &&
        platform::WaitForSingleObject(m->m_thread, kStartWaitMs) == platform::kWaitTimeout) {
        m->m_state = 1;
        result = m;
    }
    return result;
}

uint32_t ServiceThread(void* parameter, const std::shared_ptr<WorkerControl>& control) {
    ModuleState* m = g_module;
    if (m == nullptr || parameter != m) return 0;
    CLogService* service = CreateServiceObject();
    if (service == nullptr) return 0;
    m->m_service = service;
    // A stop that came while the object was being built ends the worker before its loop.
    if (control->m_stop) service->RequestStop();
    service->ServiceLog().Write("Ostrel service started");
    RunGuarded([service]() { service->Run(); }, service->ServiceLog(), service->Watchdog());
    service->ServiceLog().Write("Ostrel service stopped");
    // Only our own object is forgotten: a stop that timed out may have started a new worker.
    CLogService* own = service;
    m->m_service.compare_exchange_strong(own, nullptr);
    delete service;
    return 0;
}

bool platform::LibraryMain(void* instance, uint32_t reason) {
    if (reason == kProcessAttach) {
        g_module = new ModuleState();
        g_module->m_initialised = 1;
        g_module->m_instance = instance;
    } else if (reason == kProcessDetach && g_module != nullptr) {
        StopWorker();
        if (WaitForLeftWorkers(kDetachWaitMs)) {
            delete g_module;
        } // else a worker still refers to the record: it is left to the process's end
        g_module = nullptr;
    }
    return true;
}

extern "C" {

[[gnu::visibility("default")]] uintptr_t QVL_Init(uintptr_t) {
    return reinterpret_cast<uintptr_t>(StartWorker());
}

[[gnu::visibility("default")]] int32_t QVL_Deinit(uintptr_t) {
    StopWorker();
    return 1;
}

// QVL_Open and QVL_Close: nobody talks to this service through a handle.
[[gnu::visibility("default")]] uintptr_t QVL_Open(uintptr_t, uint32_t, uint32_t) {
    return 1;
}
[[gnu::visibility("default")]] int32_t QVL_Close(uintptr_t) {
    return 1;
}

// QVL_Read, QVL_Write and QVL_Seek: no data flows through the service.
[[gnu::visibility("default")]] uint32_t QVL_Read(uintptr_t, void*, uint32_t) {
    return 0xFFFFFFFF;
}
[[gnu::visibility("default")]] uint32_t QVL_Write(uintptr_t, const void*, uint32_t) {
    return 0xFFFFFFFF;
}
[[gnu::visibility("default")]] uint32_t QVL_Seek(uintptr_t, int32_t, uint32_t) {
    return 0xFFFFFFFF;
}

[[gnu::visibility("default")]] int32_t QVL_IOControl(uintptr_t, uint32_t code, uint8_t*, uint32_t,
                                                     uint8_t* out, uint32_t outSize,
                                                     uint32_t* actualOut) {
    switch (code) {
    case platform::kIoctlServiceStart:
        StartWorker();
        return 1;
    case platform::kIoctlServiceStop:
        StopWorker();
        return 1;
    case platform::kIoctlServiceRefresh:
        StopWorker();
        StartWorker();
        return 1;
    case platform::kIoctlServiceControl:
    case platform::kIoctlServiceDebug:
    case platform::kIoctlServiceDeregisterSockaddr:
    case platform::kIoctlServiceQueryCanDeinit:
        return 1;
    case platform::kIoctlServiceRegisterSockaddr:
    case platform::kIoctlServiceStarted:
    case platform::kIoctlServiceNotifyAddrChange:
        return 0;
    case platform::kIoctlServiceStatus:
        return AnswerValue(g_module != nullptr ? g_module->m_state : 0, out, outSize, actualOut);
    case platform::kIoctlServiceSupportedOptions:
        return AnswerValue(1, out, outSize, actualOut);
    default:
        platform::SetLastError(platform::kErrorInvalidParameter);
        return 0;
    }
}
}
