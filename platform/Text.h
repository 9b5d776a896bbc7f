// Narrow/wide text conversion and wide printf, as the standard run-time library offers them.
// Narrow text here is Latin-1: bytes 0-255 are the characters of the same code; a wide character
// above 255 becomes "?" when converted to narrow text.
#pragma once
#include <cstdarg>
#include <cstddef>

namespace platform {

// Converts n bytes; returns the units written (at most cap, no terminator added).
int MultiByteToWide(const char* text, int n, char16_t* out, int cap);
// Converts a 0-terminated wide text into at most cap - 1 bytes plus a terminator; returns bytes
// written without the terminator.
int WideToMultiByte(const char16_t* text, char* out, int cap);

// Wide printf into at most cap units including the terminator (%s and %c take wide arguments
// (char16_t), %hs and %S narrow ones, as the Windows run-time does). Returns the units written
// without the terminator; output cut at cap - 1 units.
int VFormatWide(char16_t* out, size_t cap, const char16_t* format, va_list args);

// Upper-case of one character by the standard run-time rule ("C" locale: a-z only).
char16_t ToUpperChar(char16_t c);

} // namespace platform
