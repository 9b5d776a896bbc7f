// The setup script's text rules: a line is cut after its last visible character, and split
// into words at spaces, where double quotes group spaces into a word and two double quotes in a
// row stand for one literal double quote.
// Also the formatting of one reported message.
#pragma once
#include <cstdarg>
#include <string>

namespace script {

constexpr int kLineBytes = 100; // one read takes at most 99 characters

// Cuts the trailing characters with codes up to 32 (spaces, tabs, line ends).
void CutTrailing(std::string& line);

// Skips spaces, then reads one word into word, leaving cursor on the character that ended it.
// True when a non-empty word was read.
bool NextToken(const char*& cursor, std::string& word);

constexpr int kMessageMax = 255; // characters of one reported message

// One reported message from a narrow or a wide printf format, cut at 255 characters; wide text
// becomes narrow text in the platform's code page.
std::string FormatMessage(const char* format, va_list args);
std::string FormatMessageWide(const char16_t* format, va_list args);

} // namespace script
