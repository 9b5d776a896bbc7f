// String resources: a compiled-in table that each program registers at start.
#pragma once
#include <cstddef>

namespace platform {

struct StringResource {
    unsigned id;
    const char16_t* text;
};

// Registers the program's table (kept by pointer; must outlive its use).
void RegisterStringTable(const StringResource* table, size_t count);
// Copies the string of id, at most cap - 1 units, terminated. Returns the units copied, 0 when
// the id is unknown.
int LoadString(unsigned id, char16_t* out, int cap);

} // namespace platform
