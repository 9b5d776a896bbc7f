// Strings and dates of OLE automation (oleaut32). Its header is not included: it names the
// string type on wchar_t, where the platform's BSTR is on char16_t (the same 16-bit units), so
// the few calls are declared here on wchar_t.
#include "platform/OleAuto.h"

#include <atomic>
#include <cstring>

#include "platform/win32/Win32.h"

extern "C" {
__declspec(dllimport) wchar_t* __stdcall SysAllocStringLen(const wchar_t* text, unsigned len);
__declspec(dllimport) void __stdcall SysFreeString(wchar_t* s);
__declspec(dllimport) unsigned __stdcall SysStringLen(wchar_t* s);
__declspec(dllimport) int __stdcall SystemTimeToVariantTime(void* st, double* out);
__declspec(dllimport) int __stdcall VariantTimeToSystemTime(double vt, void* st);
}

namespace platform {

namespace {

std::atomic<long> g_liveBstrs{0};

// The system's record has the same eight 16-bit fields in the same order.
static_assert(sizeof(SystemTime) == 16, "SystemTime is the system-time record");

wchar_t* Wide(const char16_t* text) {
    return reinterpret_cast<wchar_t*>(const_cast<char16_t*>(text));
}

} // namespace

BSTR SysAllocStringLen(const char16_t* text, uint32_t len) {
    wchar_t* s = ::SysAllocStringLen(Wide(text), len);
    if (s) ++g_liveBstrs;
    return reinterpret_cast<BSTR>(s);
}

BSTR SysAllocString(const char16_t* text) {
    if (!text) return nullptr;
    uint32_t n = 0;
    while (text[n])
        ++n;
    return SysAllocStringLen(text, n);
}

void SysFreeString(BSTR s) {
    if (!s) return;
    --g_liveBstrs;
    ::SysFreeString(Wide(s));
}

uint32_t SysStringLen(BSTR s) {
    return s ? ::SysStringLen(Wide(s)) : 0;
}

long LiveBstrCount() {
    return g_liveBstrs.load();
}

bool SystemTimeToVariantTime(const SystemTime& st, double& out) {
    SYSTEMTIME copy = win32::ToWindows(st);
    if (!win32::ValidSystemTime(copy)) return false;
    double vt = 0;
    if (!::SystemTimeToVariantTime(&copy, &vt)) return false;
    out = vt;
    return true;
}

bool VariantTimeToSystemTime(double vt, SystemTime& out) {
    SYSTEMTIME st{};
    if (!::VariantTimeToSystemTime(vt, &st)) return false;
    out = win32::FromWindows(st);
    return true;
}

} // namespace platform
