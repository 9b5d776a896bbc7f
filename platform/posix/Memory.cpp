// Memory status from /proc/meminfo.
#include "platform/Memory.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace platform {

namespace {

// Reads the values (in kB) of the named fields; false when the file cannot be read.
bool ReadMeminfo(uint64_t& totalKb, uint64_t& availKb, uint64_t& cachedKb) {
    FILE* f = std::fopen("/proc/meminfo", "r");
    if (f == nullptr) return false;
    char line[256];
    totalKb = availKb = cachedKb = 0;
    while (std::fgets(line, sizeof line, f) != nullptr) {
        unsigned long long value = 0;
        if (std::sscanf(line, "MemTotal: %llu kB", &value) == 1)
            totalKb = value;
        else if (std::sscanf(line, "MemAvailable: %llu kB", &value) == 1)
            availKb = value;
        else if (std::sscanf(line, "Cached: %llu kB", &value) == 1)
            cachedKb = value;
    }
    std::fclose(f);
    return totalKb > 0;
}

} // namespace

bool GetMemoryStatus(MemoryStatus& out) {
    uint64_t totalKb = 0, availKb = 0, cachedKb = 0;
    if (!ReadMeminfo(totalKb, availKb, cachedKb)) return false;
    const long pageSize = sysconf(_SC_PAGESIZE);
    const uint64_t pageKb = pageSize > 0 ? static_cast<uint64_t>(pageSize) / 1024 : 4;
    out.totalPhys = totalKb * 1024;
    out.availPhys = availKb * 1024;
    out.programPages = static_cast<uint32_t>((totalKb - availKb) / pageKb);
    out.storePages = static_cast<uint32_t>(cachedKb / pageKb);
    return true;
}

} // namespace platform
