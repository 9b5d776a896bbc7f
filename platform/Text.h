// Narrow/wide text conversion and wide printf, as the standard run-time library offers them.
// Narrow text is the desktop's code page for the English (UK) locale, Windows-1252: bytes below
// 0x80 and from 0xA0 are the characters of the same code, 0x80-0x9F the code page's letters and
// signs (0x80 is the euro sign). A wide character the code page cannot hold becomes "?". Every
// byte survives the way to wide text and back. All narrow/wide conversion goes through here.
#pragma once
#include <cstdarg>
#include <cstddef>

namespace platform {

// One character each way: a byte of the code page as wide text, and a wide character as a byte
// ("?" when the code page has no such character).
char16_t NarrowToWideChar(char c);
char WideToNarrowChar(char16_t c);

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
