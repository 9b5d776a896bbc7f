// Memory status of the machine.
#pragma once
#include <cstdint>

namespace platform {

struct MemoryStatus {
    uint64_t totalPhys = 0; // bytes
    uint64_t availPhys = 0; // bytes
    // The board divides its RAM between program memory and the object store, in pages. On Linux
    // there is no such division: programPages is RAM pages used by processes (total - available)
    // and storePages the pages held by the page cache.
    uint32_t programPages = 0;
    uint32_t storePages = 0;
};

// False when the status cannot be read.
bool GetMemoryStatus(MemoryStatus& out);

} // namespace platform
