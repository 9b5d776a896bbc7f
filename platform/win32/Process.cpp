// Processes through CreateProcess; the command line is the system's own.
#include "platform/Process.h"

#include "platform/win32/Win32.h"

namespace platform {

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

HANDLE FromHandle(ProcessHandle h) {
    return reinterpret_cast<HANDLE>(h);
}

// A program given without its ".exe" that exists only with it, or the other way round.
std::wstring ResolveProgram(const std::string& program) {
    std::wstring path = win32::WidePath(program);
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return path;
    const size_t n = path.size();
    if (n > 4 && _wcsicmp(path.c_str() + n - 4, L".exe") == 0) return path.substr(0, n - 4);
    return path;
}

} // namespace

ProcessHandle StartProcess(const std::string& program, const std::u16string& cmdLine,
                           bool newConsole) {
    if (program.empty()) return 0;
    const std::wstring path = ResolveProgram(program);
    std::wstring line = L"\"" + path + L"\"";
    if (!cmdLine.empty()) line += L" " + std::wstring(cmdLine.begin(), cmdLine.end());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE,
                        newConsole ? CREATE_NEW_CONSOLE : 0, nullptr, nullptr, &si, &pi))
        return 0;
    CloseHandle(pi.hThread);
    return reinterpret_cast<ProcessHandle>(pi.hProcess);
}

bool GetExitCode(ProcessHandle h, uint32_t& code) {
    DWORD c = 0;
    if (!h || !GetExitCodeProcess(FromHandle(h), &c)) return false;
    code = c;
    return true;
}

bool WaitProcess(ProcessHandle h, uint32_t ms) {
    return h && WaitForSingleObject(FromHandle(h), ms) == WAIT_OBJECT_0;
}

void CloseProcess(ProcessHandle h) {
    if (h) CloseHandle(FromHandle(h));
}

// The system's command line without the program's name (quoted or not) and the blanks after it.
std::u16string CommandLine(int /*argc*/, char** /*argv*/) {
    const wchar_t* line = GetCommandLineW();
    std::u16string text(line, line + wcslen(line));
    size_t at = 0;
    bool quoted = false;
    for (; at < text.size() && (quoted || !IsBlank(text[at])); ++at)
        if (text[at] == u'"') quoted = !quoted;
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    return text.substr(at);
}

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
    std::vector<std::u16string> words;
    std::u16string word;
    bool inWord = false; // a quote starts a word too, so "" is an empty argument
    bool quoted = false;
    for (char16_t c : line) {
        if (c == u'"') {
            quoted = !quoted;
            inWord = true;
        } else if (IsBlank(c) && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

} // namespace platform
