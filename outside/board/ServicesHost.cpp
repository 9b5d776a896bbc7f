#include "outside/board/ServicesHost.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <thread>

#include "common/CProfile.h"
#include "common/CStr.h"
#include "platform/LastError.h"
#include "platform/Paths.h"
#include "platform/posix/BoardWire.h"

extern char** environ;

namespace qvboard {

namespace {

constexpr const char* kServiceList = "\\Windows\\Services.ini";
constexpr uint16_t kServerCallsPort = 5123; // where a started server is seen to be ready
constexpr int kServerReadyMs = 20000;
constexpr int kServerStopMs = 10000;

std::string Text(CProfile& profile, const char* key) {
    CStr value;
    profile.GetString(key, value);
    const std::string text = value.Narrow();
    return text == "<null>" ? "" : text;
}

std::u16string Wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return text;
}

std::u16string UpperWide(std::u16string text) {
    for (char16_t& c : text)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return text;
}

bool Accepts(const std::string& address, uint16_t port) {
    const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) return false;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    inet_pton(AF_INET, address.c_str(), &to.sin_addr);
    const bool up = connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    close(s);
    return up;
}

// True when the child ended (and was reaped) within ms.
bool Reaped(pid_t pid, int ms) {
    for (int waited = 0;; waited += 10) {
        int status = 0;
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno == ECHILD)) return true;
        if (waited >= ms) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        const size_t b = item.find_first_not_of(" \t");
        const size_t e = item.find_last_not_of(" \t");
        if (b != std::string::npos) out.push_back(item.substr(b, e - b + 1));
    }
    return out;
}

} // namespace

ServicesHost::ServicesHost(const std::string& address, const std::string& qvserver)
    : m_address(address), m_qvserver(qvserver) {}

ServicesHost::~ServicesHost() {
    Shutdown();
}

bool ServicesHost::Load(std::string& why) {
    CProfile profile(kServiceList, false);
    profile.SetSection("Services");
    m_boot = SplitList(Text(profile, "Boot"));
    profile.SetSection("Services");
    std::vector<std::string> names = SplitList(Text(profile, "Known"));
    for (const std::string& b : m_boot)
        if (std::find(names.begin(), names.end(), b) == names.end()) names.push_back(b);
    if (names.empty()) {
        why = std::string("no services in ") + platform::MapPath(std::string(kServiceList));
        return false;
    }
    for (const std::string& name : names) {
        auto s = std::make_unique<HostedService>();
        profile.SetSection(name.c_str());
        s->m_name = name;
        const std::string kind = Upper(Text(profile, "Kind"));
        s->m_kind = kind == "SERVER"    ? ServiceKind::Server
                    : kind == "LIBRARY" ? ServiceKind::Library
                                        : ServiceKind::Idle;
        std::string prefix = Text(profile, "Prefix");
        if (prefix.empty()) prefix = Upper(name.substr(0, 3)) + "1:";
        s->m_prefix = UpperWide(Wide(prefix));
        s->m_dll = Text(profile, "Dll");
        if (s->m_dll.empty()) s->m_dll = name + ".dll";
        s->m_entry = Text(profile, "Entry");
        if (s->m_entry.empty()) s->m_entry = Upper(name.substr(0, 3));
        s->m_database = Text(profile, "Database");
        s->m_seed = Text(profile, "Seed");
        if (s->m_seed.empty()) s->m_seed = "empty";
        s->m_handle = static_cast<platform::Handle>(0x5000 + 4 * m_services.size());
        m_services.push_back(std::move(s));
    }
    return true;
}

void ServicesHost::Boot() {
    for (const std::string& name : m_boot) {
        HostedService* s = ByName(name);
        if (s == nullptr) continue;
        std::lock_guard<std::mutex> hold(s->m_lock);
        uint32_t error = 0;
        Start(*s, error); // a failure is reported by Start
    }
}

bool ServicesHost::Listen() {
    return m_server.Start(platform::board::ServicesSocketPath(), [this](int fd) { Serve(fd); });
}

void ServicesHost::Shutdown() {
    m_server.Stop();
    for (auto it = m_services.rbegin(); it != m_services.rend(); ++it) {
        std::lock_guard<std::mutex> hold((*it)->m_lock);
        Stop(**it);
    }
}

HostedService* ServicesHost::ByName(const std::string& name) {
    for (auto& s : m_services)
        if (Upper(s->m_name) == Upper(name)) return s.get();
    return nullptr;
}

HostedService* ServicesHost::Find(const std::u16string& prefix) {
    const std::u16string wanted = UpperWide(prefix);
    for (auto& s : m_services)
        if (s->m_prefix == wanted) return s.get();
    return nullptr;
}

bool ServicesHost::StillRunning(HostedService& s) {
    if (s.m_running && s.m_kind == ServiceKind::Server && Reaped(s.m_pid, 0)) {
        s.m_running = false;
        s.m_pid = -1;
    }
    return s.m_running;
}

platform::Handle ServicesHost::Activate(const std::string& name, uint32_t& error) {
    HostedService* s = ByName(name);
    if (s == nullptr) {
        error = platform::kErrorServiceDoesNotExist;
        return 0;
    }
    std::lock_guard<std::mutex> hold(s->m_lock);
    if (StillRunning(*s)) {
        error = platform::kErrorServiceAlreadyRunning;
        return 0;
    }
    return Start(*s, error) ? s->m_handle : 0;
}

bool ServicesHost::Unload(platform::Handle handle, uint32_t& error) {
    for (auto& s : m_services) {
        if (s->m_handle != handle) continue;
        std::lock_guard<std::mutex> hold(s->m_lock);
        if (!StillRunning(*s)) break;
        Stop(*s);
        return true;
    }
    error = platform::kErrorInvalidHandle;
    return false;
}

bool ServicesHost::Start(HostedService& s, uint32_t& error) {
    bool started = true;
    s.m_failure.clear();
    if (s.m_kind == ServiceKind::Server) started = StartServer(s);
    if (s.m_kind == ServiceKind::Library) started = StartLibrary(s);
    s.m_running = started;
    if (started) {
        fprintf(stderr, "qvboard host: %s started\n", s.m_name.c_str());
        return true;
    }
    error = platform::kErrorGenFailure;
    if (s.m_failure.empty()) s.m_failure = "its start failed";
    fprintf(stderr, "qvboard host: %s did not start: %s\n", s.m_name.c_str(), s.m_failure.c_str());
    return false;
}

bool ServicesHost::StartServer(HostedService& s) {
    // A server already answering there is another program's: ours would not get the address.
    if (Accepts(m_address, kServerCallsPort)) {
        s.m_failure = m_address + " port " + std::to_string(kServerCallsPort) +
                      " is in use by another program";
        return false;
    }
    const std::string db = platform::MapPath(s.m_database);
    const std::string log = platform::board::BoardFolder() + "/qvserver.log";
    std::vector<std::string> args = {m_qvserver, "--address", m_address, "--db",
                                     db,         "--seed",    s.m_seed};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&files, 1, 2);
    pid_t pid = -1;
    const int r = posix_spawn(&pid, m_qvserver.c_str(), &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    if (r != 0) {
        s.m_failure = "cannot run " + m_qvserver + ": " + std::strerror(r);
        return false;
    }
    for (int waited = 0; waited < kServerReadyMs; waited += 20) {
        if (Reaped(pid, 0)) {
            s.m_failure = "qvserver ended at once (see " + log + ")";
            return false;
        }
        if (Accepts(m_address, kServerCallsPort) && !Reaped(pid, 0)) {
            s.m_pid = pid;
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    Reaped(pid, 1000);
    s.m_failure = "qvserver did not answer on " + m_address + " within " +
                  std::to_string(kServerReadyMs / 1000) + " s";
    return false;
}

bool ServicesHost::StartLibrary(HostedService& s) {
    s.m_library = platform::LoadLibrary(s.m_dll);
    if (s.m_library == nullptr) {
        s.m_failure = "cannot load " + s.m_dll;
        return false;
    }
    const auto entry = [&](const char* name) {
        return platform::GetProcAddress(s.m_library, (s.m_entry + name).c_str());
    };
    s.m_init = reinterpret_cast<platform::ServiceInitFn>(entry("_Init"));
    s.m_deinit = reinterpret_cast<platform::ServiceDeinitFn>(entry("_Deinit"));
    s.m_ioControl = reinterpret_cast<platform::ServiceIOControlFn>(entry("_IOControl"));
    s.m_context = s.m_init != nullptr ? s.m_init(0) : 0;
    if (s.m_context != 0) return true;
    s.m_failure = s.m_entry + "_Init failed";
    platform::FreeLibrary(s.m_library); // a service that does not start is unloaded
    s.m_library = nullptr;
    return false;
}

void ServicesHost::Stop(HostedService& s) {
    if (!s.m_running) return;
    s.m_running = false;
    if (s.m_kind == ServiceKind::Server && s.m_pid > 0) {
        kill(s.m_pid, SIGTERM);
        if (!Reaped(s.m_pid, kServerStopMs)) {
            kill(s.m_pid, SIGKILL);
            Reaped(s.m_pid, 1000);
        }
        s.m_pid = -1;
    }
    if (s.m_kind == ServiceKind::Library && s.m_library != nullptr) {
        if (s.m_deinit != nullptr) s.m_deinit(s.m_context);
        platform::FreeLibrary(s.m_library); // the library's detach runs here
        s.m_library = nullptr;
        s.m_context = 0;
    }
    fprintf(stderr, "qvboard host: %s stopped\n", s.m_name.c_str());
}

// A control code: a loaded library answers it itself; the host answers for the others.
std::string ServicesHost::Control(HostedService& s, uint32_t code, uint32_t outSize, bool& ok) {
    std::vector<uint8_t> out(outSize, 0);
    uint32_t actual = 0;
    int32_t result = 0;
    platform::SetLastError(0);
    if (s.m_kind == ServiceKind::Library) {
        if (!s.m_running || s.m_ioControl == nullptr) {
            ok = false;
            return s.m_name + " is not loaded\n";
        }
        result = s.m_ioControl(s.m_context, code, nullptr, 0, outSize > 0 ? out.data() : nullptr,
                               outSize, &actual);
    } else {
        uint32_t error = 0;
        switch (code) {
        case platform::kIoctlServiceStart:
            result = StillRunning(s) || Start(s, error);
            break;
        case platform::kIoctlServiceStop:
            Stop(s);
            result = 1;
            break;
        case platform::kIoctlServiceRefresh:
            Stop(s);
            result = Start(s, error);
            break;
        case platform::kIoctlServiceStatus:
            if (outSize < 4) {
                platform::SetLastError(platform::kErrorInvalidUserBuffer);
                break;
            }
            out[0] = StillRunning(s) ? 1 : 0;
            actual = 4;
            result = 1;
            break;
        default:
            platform::SetLastError(platform::kErrorInvalidParameter);
        }
        if (error != 0) platform::SetLastError(error);
    }
    const uint32_t error = platform::GetLastError();
    char line[160];
    snprintf(line, sizeof line, "result %d error %u bytes %u out", result, error, actual);
    std::string text = line;
    for (uint32_t i = 0; i + 3 < out.size() && i < actual; i += 4) {
        uint32_t v;
        std::memcpy(&v, out.data() + i, 4);
        snprintf(line, sizeof line, " %08X", v);
        text += line;
    }
    return text + "\n";
}

std::string ServicesHost::Command(const std::string& line, bool& ok) {
    std::istringstream in(line);
    std::string verb;
    in >> verb;
    if (verb == "services") {
        std::string text;
        for (auto& s : m_services) {
            std::lock_guard<std::mutex> hold(s->m_lock);
            text += s->m_name + " " + std::string(s->m_prefix.begin(), s->m_prefix.end()) + " " +
                    (StillRunning(*s)       ? "running"
                     : s->m_failure.empty() ? "stopped"
                                            : "stopped (did not start: " + s->m_failure + ")") +
                    "\n";
        }
        return text;
    }
    if (verb == "ioctl") {
        std::string name, code;
        uint32_t outSize = 4;
        in >> name >> code;
        if (!(in >> outSize)) outSize = 4;
        HostedService* s = ByName(name);
        if (s == nullptr || code.empty() || outSize > 4096) {
            ok = false;
            return "usage: ioctl SERVICE CODE [OUTSIZE]\n";
        }
        std::lock_guard<std::mutex> hold(s->m_lock);
        return Control(*s, static_cast<uint32_t>(std::stoul(code, nullptr, 0)), outSize, ok);
    }
    ok = false;
    return "unknown command " + verb + "\n";
}

void ServicesHost::Serve(int fd) {
    namespace wire = platform::board;
    std::vector<uint8_t> message;
    while (wire::Receive(fd, message) >= static_cast<long>(sizeof(wire::Request))) {
        wire::Request request;
        std::memcpy(&request, message.data(), sizeof request);
        const size_t size = message.size() - sizeof request;
        const std::u16string name = wire::UnitsOf(message, sizeof request, size);
        const std::string narrow(name.begin(), name.end());
        uint32_t error = 0;
        bool sent = false;
        switch (static_cast<wire::Op>(request.m_op)) {
        case wire::Op::Activate: {
            const platform::Handle h = Activate(narrow, error);
            sent = SendReply(fd, h != 0, error, nullptr, 0, h);
            break;
        }
        case wire::Op::Find: {
            HostedService* s = Find(name);
            bool running = false;
            if (s != nullptr) {
                std::lock_guard<std::mutex> hold(s->m_lock);
                running = StillRunning(*s);
            }
            if (!running) {
                sent = SendReply(fd, false, platform::kErrorServiceNotActive, nullptr, 0);
                break;
            }
            std::string dll = s->m_dll.substr(s->m_dll.find_last_of("\\/") + 1);
            const std::u16string wide = Wide(dll);
            sent = SendReply(fd, true, 0, wide.data(), wide.size() * 2, s->m_handle);
            break;
        }
        case wire::Op::Unload: {
            const bool done = Unload(request.m_code, error);
            sent = SendReply(fd, done, error, nullptr, 0);
            break;
        }
        case wire::Op::Command: {
            bool ok = true;
            const std::string line(message.begin() + sizeof request, message.end());
            const std::string text = Command(line, ok);
            sent = SendReply(fd, ok, 0, text.data(), text.size());
            break;
        }
        default:
            sent = SendReply(fd, false, platform::kErrorInvalidParameter, nullptr, 0);
        }
        if (!sent) return;
    }
}

int RunServicesHost(const std::string& address) {
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder = n > 0 ? std::string(self, static_cast<size_t>(n)) : "";
    folder = folder.substr(0, folder.find_last_of('/') + 1);
    ServicesHost host(address, folder + "qvserver");
    std::string why;
    if (!host.Load(why)) {
        fprintf(stderr, "qvboard host: %s\n", why.c_str());
        return 1;
    }
    host.Boot();
    if (!host.Listen()) {
        fprintf(stderr, "qvboard host: cannot listen\n");
        return 1;
    }
    int signal = 0;
    sigwait(&stop, &signal);
    host.Shutdown();
    return 0;
}

} // namespace qvboard
