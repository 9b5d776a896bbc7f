// String resources: each program registers its compiled-in table once at start.
#include "platform/Resources.h"

namespace platform {

namespace {
const StringResource* g_table = nullptr;
size_t g_count = 0;
} // namespace

void RegisterStringTable(const StringResource* table, size_t count) {
    g_table = table;
    g_count = count;
}

int LoadString(unsigned id, char16_t* out, int cap) {
    if (out == nullptr || cap <= 0) return 0;
    out[0] = 0;
    for (size_t i = 0; i < g_count; ++i) {
        if (g_table[i].id != id || g_table[i].text == nullptr) continue;
        int n = 0;
        while (n < cap - 1 && g_table[i].text[n] != 0) {
            out[n] = g_table[i].text[n];
            ++n;
        }
        out[n] = 0;
        return n;
    }
    return 0;
}

} // namespace platform
