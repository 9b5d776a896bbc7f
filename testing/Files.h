// Whole-file reading and writing for tests, and the splitting of a text into lines: what a test
// needs to look at a written file or the output of a program.
#pragma once
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qvtesting {

// The file's bytes; "" when it is missing or cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Replaces the file's content by text (bytes as given).
inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// True when something (of any kind) is at the path.
inline bool FileExists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// The lines of text as split at LF, each kept as it is (a CR before the LF stays).
inline std::vector<std::string> RawLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The lines of text without their line ends (LF or CR LF).
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines = RawLines(text);
    for (std::string& line : lines)
        if (!line.empty() && line.back() == '\r') line.pop_back();
    return lines;
}

// How often `what` occurs in text, overlapping occurrences counted.
inline int CountOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// Number of lines that contain `part`.
inline int CountLines(const std::vector<std::string>& lines, const std::string& part) {
    int n = 0;
    for (const std::string& line : lines)
        n += line.find(part) != std::string::npos ? 1 : 0;
    return n;
}

// Index of the first line at or after `from` that contains `part`, -1 when none.
inline int FindLine(const std::vector<std::string>& lines, const std::string& part, int from = 0) {
    for (size_t i = static_cast<size_t>(from); i < lines.size(); ++i)
        if (lines[i].find(part) != std::string::npos) return static_cast<int>(i);
    return -1;
}

} // namespace qvtesting
