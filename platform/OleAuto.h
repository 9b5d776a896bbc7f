// OLE automation strings (BSTR) and automation dates, as the client library exchanges them.
// A BSTR is a pointer to UTF-16 units preceded by a 32-bit byte length and followed by a 0 unit.
// Allocation uses the C heap, so a BSTR allocated by one module may be freed by any other.
#pragma once
#include <cstdint>

#include "platform/Clock.h"

typedef char16_t* BSTR;

namespace platform {

// Copies len units of text (text may be null: the units are then zero). Null on allocation failure.
BSTR SysAllocStringLen(const char16_t* text, uint32_t len);
// Copies a 0-terminated text; null text gives a null BSTR.
BSTR SysAllocString(const char16_t* text);
// Frees a BSTR; null is ignored.
void SysFreeString(BSTR s);
// Length in units; 0 for null.
uint32_t SysStringLen(BSTR s);

// Number of BSTRs allocated and not yet freed by this process (for leak tests).
long LiveBstrCount();

// Automation date: days since 30 December 1899, the time of day as the fraction.
// Both return false (output unchanged) for values outside years 100..9999.
bool SystemTimeToVariantTime(const SystemTime& st, double& out);
bool VariantTimeToSystemTime(double vt, SystemTime& out);

} // namespace platform
