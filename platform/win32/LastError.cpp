// The thread's last error is the system's own: a library and the program that loads it share it.
#include "platform/LastError.h"

#include "platform/win32/Win32.h"

namespace platform {

uint32_t GetLastError() {
    return ::GetLastError();
}

void SetLastError(uint32_t error) {
    ::SetLastError(error);
}

} // namespace platform
