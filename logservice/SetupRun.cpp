#include "logservice/SetupRun.h"

#include <cstdarg>
#include <cstring>

#include "logservice/ScriptText.h"
#include "outside/qvsettcpip/QVSetTCPIP.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/FindFiles.h"
#include "platform/Process.h"
#include "platform/Text.h"

namespace {

constexpr bool kBoth = true;     // service log and setup log
constexpr bool kService = false; // service log only

// Script text to wide text of at most SetupRun::kPathMax characters.
std::u16string ToWide(const std::string& text) {
    char16_t out[SetupRun::kPathMax + 1] = {};
    const int n = platform::MultiByteToWide(text.data(), static_cast<int>(text.size()), out,
                                            SetupRun::kPathMax);
    return std::u16string(out, static_cast<size_t>(n));
}

std::string ToNarrow(const std::u16string& text) {
    std::string out(text.size() * 2 + 1, '\0');
    const int n = platform::WideToMultiByte(text.c_str(), out.data(), static_cast<int>(out.size()));
    out.resize(static_cast<size_t>(n));
    return out;
}

bool EqualsNoCase(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (platform::ToUpperChar(static_cast<unsigned char>(a[i])) !=
            platform::ToUpperChar(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// The directory part of a pattern: up to and including its last backslash.
std::u16string DirectoryPart(const std::u16string& pattern) {
    const size_t slash = pattern.rfind(u'\\');
    return slash == std::u16string::npos ? std::u16string() : pattern.substr(0, slash + 1);
}

// Calls each(match path, match name) for every match of pattern.
template <class Each> void ForEachMatch(const std::u16string& pattern, Each each) {
    const std::u16string dir = DirectoryPart(pattern);
    platform::FindData found;
    const platform::FindHandle h = platform::FindFirstFile(pattern, found);
    if (h == platform::kInvalidFind) return;
    do {
        each(dir + found.m_name, found.m_name);
    } while (platform::FindNextFile(h, found));
    platform::FindClose(h);
}

BSTR NewString() {
    return platform::SysAllocStringLen(nullptr, SetupRun::kPathMax);
}

void Release(BSTR& s) {
    platform::SysFreeString(s);
    s = nullptr;
}

} // namespace

SetupRun::SetupRun(SetupHost& host, uint64_t media) : m_host(host), m_media(media) {}

SetupRun::~SetupRun() {
    if (m_script != nullptr) std::fclose(m_script);
    for (BSTR* s : {&m_ip, &m_mask, &m_tftp, &m_dns, &m_gateway, &m_name})
        Release(*s);
}

void SetupRun::Emit(bool toReport, const std::string& text) {
    if (m_host.Report(toReport, text.c_str()) || m_end != End::None) return;
    // A report that cannot be written any more: the drive was pulled, or it is full.
    if (!DriveStillIn()) m_end = End::Pulled;
}

void SetupRun::Say(bool toReport, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = script::FormatMessage(format, args);
    va_end(args);
    Emit(toReport, text);
}

void SetupRun::SayWide(bool toReport, const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = script::FormatMessageWide(format, args);
    va_end(args);
    Emit(toReport, text);
}

bool SetupRun::DriveStillIn() {
    uint64_t media = 0;
    return platform::GetMediaId(kDrive, media) && media == m_media;
}

bool SetupRun::Interrupted() {
    if (m_end == End::None && m_host.StopRequested()) m_end = End::Stopped;
    if (m_end == End::None && !DriveStillIn()) m_end = End::Pulled;
    return m_end != End::None;
}

void SetupRun::Execute() {
    CLog& log = m_host.ServiceLog();
    m_script = platform::OpenFile(kScriptPath, "rt");
    if (m_script == nullptr) return;
    if (!m_host.OpenReport()) return;
    log.Write("QVSetup.scp found.");

    m_host.StartService("QVServer");
    ExportConfiguration();
    if (Interrupted()) return Finish();
    m_host.StopService("QV2Serial");
    m_host.StopService("QVServer");
    m_servicesStopped = true;

    m_index = 1;
    if (m_host.Controller().Open(static_cast<uint16_t>(m_index), m_serial, m_boot, m_driver,
                                 &m_index) < 0) {
        Say(kBoth, "Failed to open USB port."); // the drive says why its script did not run
        return Finish();
    }
    Say(kBoth, "Driver version      [%s]", m_driver.Narrow());
    Say(kBoth, "Boot version        [%s]", m_boot.Narrow());
    Say(kBoth, "Serial No           [%s]", m_serial.Narrow());
    m_host.Controller().Close();
    if (Interrupted()) return Finish();

    if (!ReadNetworkSettings()) {
        Say(kBoth, "%s", kNoNetworkText);
        return Finish();
    }
    Say(kService, "Starting to process QVSetup.scp....");
    m_host.Blink(true);
    RunScript();
    if (m_end != End::None) return Finish();
    Say(kService, "Processing complete.");
    CheckControllerAgain();

    // Only the script this run read is deleted, never one of a drive plugged since.
    std::fclose(m_script);
    m_script = nullptr;
    if (!Interrupted()) platform::DeleteFile(kScriptPath);
    Finish();
}

void SetupRun::Finish() {
    if (m_end == End::Stopped) Say(kBoth, "%s", kStoppedText);
    if (m_end == End::Pulled) Say(kService, "%s", kPulledText);
    for (BSTR* s : {&m_ip, &m_mask, &m_tftp, &m_dns, &m_gateway, &m_name})
        Release(*s);
    m_host.Blink(false);
    if (m_servicesStopped) { // the forecourt must not stay down
        m_host.StartService("QV2Serial");
        m_host.StartService("QVServer");
    }
    m_host.CloseReport();
}

SetupRun::Ran SetupRun::RunProgram(const std::string& program, const std::u16string& cmdLine,
                                   uint32_t& code) {
    const platform::ProcessHandle process = platform::StartProcess(program, cmdLine, false);
    if (process == 0) return Ran::NotStarted;
    Ran ran = Ran::Ended;
    bool read = platform::GetExitCode(process, code);
    while (read && code == platform::kStillActive) {
        if (m_host.WaitOrStop(kPollMs)) {
            m_end = End::Stopped;
            ran = Ran::Stopped;
            break;
        }
        read = platform::GetExitCode(process, code);
    }
    platform::CloseProcess(process);
    return read || ran == Ran::Stopped ? ran : Ran::NotStarted;
}

void SetupRun::ExportConfiguration() {
    platform::DeleteFile(kExportFile);
    uint32_t code = 0;
    if (RunProgram(kExportProgram, kExportCommand, code) != Ran::Ended) return;
    if (code == 0)
        Say(kService, "config.ini extracted successfully");
    else // a failed export must not be reported as a success
        Say(kBoth, "config.ini extraction failed, exit code %d", static_cast<int32_t>(code));
}

bool SetupRun::ReadNetworkSettings() {
    for (BSTR* s : {&m_ip, &m_mask, &m_tftp, &m_dns, &m_gateway, &m_name})
        *s = NewString();
    m_dhcp = 0;
    const int32_t config = GetIPConfig(&m_ip, &m_mask, &m_tftp, &m_dhcp, &m_dns, &m_gateway);
    const int32_t name = GetBoardName(&m_name);
    return config != 0 && name > 0;
}

void SetupRun::RunScript() {
    char buffer[script::kLineBytes];
    while (!Interrupted() && std::fgets(buffer, sizeof buffer, m_script) != nullptr) {
        std::string line = buffer;
        script::CutTrailing(line);
        RunLine(line);
    }
    // A script that cannot be read on is a pulled drive, not the script's end.
    if (m_end == End::None && std::ferror(m_script)) m_end = End::Pulled;
}

void SetupRun::CheckControllerAgain() {
    CStr boot, driver;
    int32_t index = m_index;
    if (m_host.Controller().Open(static_cast<uint16_t>(m_index), m_serial, boot, driver, &index) <
        0) {
        m_host.ServiceLog().Write("Failed to open USB port.");
        return;
    }
    Say(kBoth, "Driver version      [%s]", driver.Narrow());
    m_host.Controller().Close();
}

void SetupRun::RunLine(const std::string& line) {
    struct Command {
        const char* name;
        void (SetupRun::*run)(const char*& cursor);
    };
    static constexpr Command kCommands[] = {
        {"rem", &SetupRun::Rem},    {"exec", &SetupRun::Exec},    {"copy", &SetupRun::Copy},
        {"md", &SetupRun::MakeDir}, {"rd", &SetupRun::RemoveDir}, {"del", &SetupRun::Del},
        {"set", &SetupRun::Set},    {"get", &SetupRun::Get},      {"save", &SetupRun::Save},
    };
    const char* cursor = line.c_str();
    std::string word;
    if (!script::NextToken(cursor, word)) {
        Say(kService, "empty line!!");
        return;
    }
    for (const Command& c : kCommands) {
        if (EqualsNoCase(word, c.name)) {
            (this->*c.run)(cursor);
            return;
        }
    }
    Say(kService, "unknown command!!");
}

void SetupRun::Rem(const char*& cursor) {
    std::string heading;
    if (!script::NextToken(cursor, heading)) {
        Say(kService, "invalid rem!!");
        return;
    }
    Say(kBoth, "\n*** %s *** ", heading.c_str());
}

void SetupRun::Exec(const char*& cursor) {
    std::string program, cmdLine;
    if (!script::NextToken(cursor, program)) {
        Say(kService, "exec invalid!!");
        return;
    }
    if (!script::NextToken(cursor, cmdLine)) {
        Say(kService, "exec command line invalid!!");
        return;
    }
    uint32_t code = 0;
    const Ran ran = RunProgram(program, ToWide(cmdLine), code);
    if (ran == Ran::Stopped) return; // the run's end says why
    if (ran == Ran::NotStarted)
        Say(kBoth, "%s %s - failed!!", program.c_str(), cmdLine.c_str());
    else if (code == 0)
        Say(kBoth, "%s %s - successful.", program.c_str(), cmdLine.c_str());
    else // a program that failed is not reported as a success
        Say(kBoth, "%s %s - failed!! exit code %d", program.c_str(), cmdLine.c_str(),
            static_cast<int32_t>(code));
}

void SetupRun::Copy(const char*& cursor) {
    std::string source, destination;
    if (!script::NextToken(cursor, source)) {
        Say(kService, "copy source invalid!!");
        return;
    }
    if (!script::NextToken(cursor, destination)) {
        Say(kService, "copy destination invalid !!");
        return;
    }
    std::u16string target = ToWide(destination);
    if (!target.empty() && target.back() != u'\\') target += u'\\';
    int copied = 0;
    ForEachMatch(ToWide(source), [&](const std::u16string& from, const std::u16string& name) {
        const std::u16string to = target + name;
        SayWide(kService, u"copying %s to %s.", from.c_str(), to.c_str());
        if (platform::CopyFile(ToNarrow(from), ToNarrow(to), false)) ++copied;
    });
    Say(kBoth, "%2d file(s) copied.  [%s -> %s]", copied, source.c_str(), destination.c_str());
}

void SetupRun::Del(const char*& cursor) {
    std::string pattern;
    if (!script::NextToken(cursor, pattern)) {
        Say(kService, "copy source invalid!!");
        return;
    }
    int deleted = 0;
    ForEachMatch(ToWide(pattern), [&](const std::u16string& path, const std::u16string&) {
        SayWide(kService, u"deleting %s.", path.c_str());
        if (platform::DeleteFile(ToNarrow(path))) ++deleted;
    });
    Say(kBoth, "%2d file(s) deleted. [%s]", deleted, pattern.c_str());
}

void SetupRun::MakeDir(const char*& cursor) {
    std::string dir;
    if (!script::NextToken(cursor, dir)) {
        Say(kService, "copy source invalid!!");
        return;
    }
    if (platform::CreateDirectory(ToNarrow(ToWide(dir))))
        Say(kService, "directory %s created.", dir.c_str());
    else
        Say(kService, "directory %s failed to create!!", dir.c_str());
}

void SetupRun::RemoveDir(const char*& cursor) {
    std::string dir;
    if (!script::NextToken(cursor, dir)) {
        Say(kService, "copy source invalid!!");
        return;
    }
    if (platform::RemoveDirectory(ToNarrow(ToWide(dir))))
        Say(kBoth, "directory %s removed.", dir.c_str());
    else
        Say(kBoth, "directory %s failed to remove!!", dir.c_str());
}

BSTR* SetupRun::NetworkString(const std::string& key, const char16_t*& setText,
                              const char16_t*& getText) {
    const NetworkKey keys[] = {
        {"BoardName", &SetupRun::m_name, u"Setting network name[%s]", u"Network name        [%s]"},
        {"IP", &SetupRun::m_ip, u"Setting IP Address  [%s]", u"IP address          [%s]"},
        {"SUBNETMASK", &SetupRun::m_mask, u"Setting SubNet mask [%s]", u"SubNet mask         [%s]"},
        {"DNS", &SetupRun::m_dns, u"Setting DNS         [%s]", u"DNS                 [%s]"},
        {"TFTP", &SetupRun::m_tftp, u"Setting TFTP Address[%s]", u"TFTP address        [%s]"},
    };
    for (const NetworkKey& k : keys) {
        if (EqualsNoCase(key, k.key)) {
            setText = k.setText;
            getText = k.getText;
            return &(this->*k.held);
        }
    }
    return nullptr;
}

void SetupRun::Set(const char*& cursor) {
    std::string key, value;
    if (!script::NextToken(cursor, key)) {
        Say(kService, "invalid set!!");
        return;
    }
    if (!script::NextToken(cursor, value)) {
        Say(kService, "set parameter invalid!!");
        return;
    }
    if (EqualsNoCase(key, "DHCP")) {
        m_dhcp = EqualsNoCase(value, "yes") ? 1 : 0;
        Say(kBoth, "Setting DHCP        [%s]", value.c_str());
        return;
    }
    const char16_t* setText = nullptr;
    const char16_t* getText = nullptr;
    BSTR* held = NetworkString(key, setText, getText);
    if (held == nullptr) {
        Say(kService, "unknown set!!");
        return;
    }
    const std::u16string wide = ToWide(value);
    Release(*held);
    *held = platform::SysAllocStringLen(wide.c_str(), static_cast<uint32_t>(wide.size()));
    SayWide(kBoth, setText, *held != nullptr ? *held : u"");
}

void SetupRun::Get(const char*& cursor) {
    std::string key;
    if (!script::NextToken(cursor, key)) {
        Say(kService, "invalid get!!");
        return;
    }
    if (EqualsNoCase(key, "DHCP")) {
        SayWide(kBoth, u"DHCP                [%s]", m_dhcp != 0 ? u"Yes" : u"No");
        return;
    }
    const char16_t* setText = nullptr;
    const char16_t* getText = nullptr;
    BSTR* held = NetworkString(key, setText, getText);
    if (held == nullptr) {
        Say(kService, "unknown get!!");
        return;
    }
    SayWide(kBoth, getText, *held != nullptr ? *held : u"");
}

void SetupRun::Save(const char*& cursor) {
    std::string word;
    if (!script::NextToken(cursor, word)) {
        Say(kService, "invalid set!!");
        return;
    }
    bool addressWritten = false; // an attempt wrote the IP settings but not the name
    for (int attempt = 0; attempt < kSaveAttempts; ++attempt) {
        if (SetIPConfig(m_ip, m_mask, m_tftp, m_dhcp, m_dns) == 0) continue;
        addressWritten = true;
        if (SetBoardName(m_name) > 0) {
            Say(kBoth, "IP Address updated successfully.");
            return;
        }
    }
    Say(kBoth, "IP Address updated  failed !!");
    // The board keeps what an attempt wrote: say exactly what changed.
    Say(kBoth, "%s", addressWritten ? kAddressOnlyText : kNothingSavedText);
}
