// The setup script's text rules: a line is cut after its last visible character, and split
// into words at spaces, where double quotes group spaces into a word and two double quotes in a
// row stand for one literal double quote.
#pragma once
#include <string>

namespace script {

constexpr int kLineBytes = 100; // one read takes at most 99 characters

// Cuts the trailing characters with codes up to 32 (spaces, tabs, line ends).
void CutTrailing(std::string& line);

// Skips spaces, then reads one word into word, leaving cursor on the character that ended it.
// True when a non-empty word was read.
bool NextToken(const char*& cursor, std::string& word);

} // namespace script
