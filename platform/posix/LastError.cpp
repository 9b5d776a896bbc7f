// The last error, one per thread.
#include "platform/LastError.h"

namespace platform {

namespace {
thread_local uint32_t t_lastError = 0;
} // namespace

uint32_t GetLastError() {
    return t_lastError;
}

void SetLastError(uint32_t error) {
    t_lastError = error;
}

} // namespace platform
