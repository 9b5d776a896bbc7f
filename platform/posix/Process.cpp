// Processes through posix_spawn. The board hands a child its command line as one string; here
// the string travels unchanged in an environment variable, and argv carries its split words.
#include "platform/Process.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/Paths.h"
#include "platform/Text.h"

extern char** environ;

namespace platform {

namespace {

constexpr const char* kCmdLineVar = "QV_CMDLINE";

// What a handle points at: the child and, once it has been reaped, its exit code.
struct Child {
    pid_t pid = 0;
    std::mutex lock; // serialises the reaping
    bool ended = false;
    uint32_t code = 0;
};

Child* FromHandle(ProcessHandle h) {
    return reinterpret_cast<Child*>(h);
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

std::string ToNarrow(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text)
        out += WideToNarrowChar(c);
    return out;
}

// Narrow text is in the code page of Text.h.
std::u16string FromNarrow(std::string_view text) {
    std::u16string out;
    for (char c : text)
        out += NarrowToWideChar(c);
    return out;
}

// The environment variable holds UTF-8, so every unit of the line survives.
std::string ToUtf8(std::u16string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string FromUtf8(std::string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        const int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        uint32_t c = extra == 0 ? b : b & (0x3F >> extra);
        ++i;
        for (int k = 0; k < extra && i < text.size(); ++k, ++i)
            c = (c << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

bool Exists(const std::string& native) {
    struct stat st {};
    return stat(native.c_str(), &st) == 0;
}

bool EndsWithExe(const std::string& path) {
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    for (char& c : tail)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return tail == ".exe";
}

// A bare name lives in the device's Windows folder; a ".exe" that is not there is the Linux
// program of the same name without it.
std::string ResolveProgram(const std::string& program) {
    const bool bare = program.find_first_of("\\/") == std::string::npos &&
                      !(program.size() >= 2 && program[1] == ':');
    std::string native = MapPath(bare ? "\\Windows\\" + program : program);
    if (EndsWithExe(native) && !Exists(native)) native.resize(native.size() - 4);
    return native;
}

// The environment of the child: ours with the command-line variable replaced.
std::vector<std::string> ChildEnvironment(const std::u16string& cmdLine) {
    std::vector<std::string> env;
    const std::string prefix = std::string(kCmdLineVar) + "=";
    for (char** e = environ; e && *e; ++e)
        if (std::string_view(*e).substr(0, prefix.size()) != prefix) env.emplace_back(*e);
    const size_t nul = cmdLine.find(u'\0');
    env.push_back(prefix + ToUtf8(std::u16string_view(cmdLine).substr(0, nul)));
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (auto& s : strings)
        out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

// Reaps the child when it has ended (blocking when asked); false when it cannot be queried.
bool Reap(Child& c, bool block) {
    std::lock_guard<std::mutex> guard(c.lock);
    if (c.ended) return true;
    int status = 0;
    pid_t r;
    do {
        r = waitpid(c.pid, &status, block ? 0 : WNOHANG);
    } while (r < 0 && errno == EINTR);
    if (r < 0) return false;
    if (r == 0) return true; // still running
    c.ended = true;
    if (WIFEXITED(status))
        c.code = static_cast<uint32_t>(WEXITSTATUS(status));
    else if (WIFSIGNALED(status))
        c.code = 128u + static_cast<uint32_t>(WTERMSIG(status)); // as a shell reports it
    return true;
}

int64_t MonotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

} // namespace

ProcessHandle StartProcess(const std::string& program, const std::u16string& cmdLine,
                           bool /*newConsole: a console of its own has no meaning here*/) {
    if (program.empty()) return 0;
    std::vector<std::string> args{ResolveProgram(program)};
    for (const auto& word : SplitCommandLine(cmdLine))
        args.push_back(ToNarrow(word));
    std::vector<std::string> env = ChildEnvironment(cmdLine);
    std::vector<char*> argv = Pointers(args);
    std::vector<char*> envp = Pointers(env);
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0].c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0)
        return 0;
    auto* child = new Child;
    child->pid = pid;
    return reinterpret_cast<ProcessHandle>(child);
}

bool GetExitCode(ProcessHandle h, uint32_t& code) {
    Child* c = FromHandle(h);
    if (!c || !Reap(*c, false)) return false;
    std::lock_guard<std::mutex> guard(c->lock);
    code = c->ended ? c->code : kStillActive;
    return true;
}

bool WaitProcess(ProcessHandle h, uint32_t ms) {
    Child* c = FromHandle(h);
    if (!c) return false;
    if (ms == 0xFFFFFFFFu) {
        if (!Reap(*c, true)) return false;
        std::lock_guard<std::mutex> guard(c->lock);
        return c->ended;
    }
    // Polled against the real clock: a test's driven tick source must not stall the wait.
    const int64_t deadline = MonotonicMs() + ms;
    int pause = 1;
    for (;;) {
        if (!Reap(*c, false)) return false;
        {
            std::lock_guard<std::mutex> guard(c->lock);
            if (c->ended) return true;
        }
        const int64_t left = deadline - MonotonicMs();
        if (left <= 0) return false;
        const int step = static_cast<int>(left < pause ? left : pause);
        std::this_thread::sleep_for(std::chrono::milliseconds(step));
        if (pause < 20) pause *= 2;
    }
}

void CloseProcess(ProcessHandle h) {
    Child* c = FromHandle(h);
    if (!c) return;
    bool ended = false;
    {
        std::lock_guard<std::mutex> guard(c->lock);
        ended = c->ended;
    }
    if (!ended && Reap(*c, false)) {
        std::lock_guard<std::mutex> guard(c->lock);
        ended = c->ended;
    }
    if (ended) {
        delete c;
        return;
    }
    // The process runs on without its handle; someone must still collect it when it ends.
    const pid_t pid = c->pid;
    delete c;
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

std::u16string CommandLine(int argc, char** argv) {
    std::vector<std::u16string> args;
    for (int i = 1; i < argc && argv && argv[i]; ++i)
        args.push_back(FromNarrow(argv[i]));
    // The variable is inherited by grandchildren started by other means: it counts only when
    // its words are this process's arguments.
    if (const char* passed = std::getenv(kCmdLineVar)) {
        std::u16string line = FromUtf8(passed);
        std::vector<std::u16string> words = SplitCommandLine(line);
        for (auto& w : words)
            w = FromNarrow(ToNarrow(w)); // as argv received them
        if (words == args) return line;
    }
    std::u16string line;
    for (const auto& arg : args) {
        if (!line.empty()) line += u' ';
        bool quote = arg.empty();
        for (char16_t c : arg)
            quote = quote || IsBlank(c);
        line += quote ? u"\"" + arg + u"\"" : arg;
    }
    return line;
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
