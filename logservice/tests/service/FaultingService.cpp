// A test build of the service library whose main loop faults once: when "<QV_ROOT>/fault.once"
// exists at the start of the loop, the file is removed and the loop writes through a null
// pointer, so the exception report, the armed watchdog and the board's reset can be seen.
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "logservice/CLogService.h"
#include "logservice/ModuleState.h"

namespace {

// A real processor fault, not one the sanitizers catch first.
[[gnu::noinline, gnu::no_sanitize("address", "undefined")]] void WriteThroughNull() {
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
}

class FaultingService : public CLogService {
  public:
    void Run() override {
        const char* root = std::getenv("QV_ROOT");
        const std::string trigger =
            std::string(root != nullptr ? root : "/tmp/qvroot") + "/fault.once";
        if (std::remove(trigger.c_str()) == 0) {
            ServiceLog().Write("faulting now");
            WriteThroughNull();
        }
        CLogService::Run();
    }
};

} // namespace

CLogService* CreateServiceObject() {
    return new (std::nothrow) FaultingService();
}
