#include "logservice/SetupRun.h"

#include <cstring>

#include "logservice/CLogService.h"
#include "logservice/NamedService.h"
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

SetupRun::SetupRun(CLogService& service) : m_service(service) {}

SetupRun::~SetupRun() {
    for (BSTR* s : {&m_ip, &m_mask, &m_tftp, &m_dns, &m_gateway, &m_name})
        Release(*s);
}

void SetupRun::Pass(CLogService& service) {
    CLog& log = service.ServiceLog();
    if (platform::GetFileKind(kDrive) != platform::FileKind::Directory) {
        if (service.m_handled) {
            log.Write("Pen drive removed.");
            service.m_handled = false;
        }
        return;
    }
    if (service.m_handled) return;
    log.Write("Pen drive found.");
    service.m_handled = true;
    SetupRun run(service);
    run.Execute();
}

void SetupRun::Execute() {
    CLog& log = m_service.ServiceLog();
    m_service.m_script = platform::OpenFile(kScriptPath, "rt");
    if (m_service.m_script == nullptr) return;
    m_service.m_setupLog = platform::OpenFile(kSetupLogPath, "wt");
    if (m_service.m_setupLog == nullptr) return;
    log.Write("QVSetup.scp found.");

    script::StartNamedService("QVServer");
    ExportConfiguration();
    script::StopNamedService("QV2Serial");
    script::StopNamedService("QVServer");

    m_index = 1;
    if (m_service.m_usb.Open(static_cast<uint16_t>(m_index), m_serial, m_boot, m_driver, &m_index) <
        0) {
        log.Write("Failed to open USB port.");
        RestartServices(); // the forecourt must not stay down; the script stays on the drive
        return;
    }
    m_service.ReportLine(kBoth, "Driver version      [%s]", m_driver.Narrow());
    m_service.ReportLine(kBoth, "Boot version        [%s]", m_boot.Narrow());
    m_service.ReportLine(kBoth, "Serial No           [%s]", m_serial.Narrow());
    m_service.m_usb.Close();

    if (!ReadNetworkSettings()) {
        RestartServices();
        return;
    }
    m_service.ReportLine(kService, "Starting to process QVSetup.scp....");
    m_service.m_blinker.Start();
    RunScript();
    m_service.ReportLine(kService, "Processing complete.");
    CheckControllerAgain();

    std::fclose(m_service.m_script);
    m_service.m_script = nullptr;
    platform::DeleteFile(kScriptPath);
    for (BSTR* s : {&m_ip, &m_mask, &m_tftp, &m_dns, &m_gateway, &m_name})
        Release(*s);
    m_service.m_blinker.Stop();
    RestartServices();
}

void SetupRun::RestartServices() {
    script::StartNamedService("QV2Serial");
    script::StartNamedService("QVServer");
}

bool SetupRun::RunProgram(const std::string& program, const std::u16string& cmdLine,
                          uint32_t& code) {
    const platform::ProcessHandle process = platform::StartProcess(program, cmdLine, false);
    if (process == 0) return false;
    bool read = platform::GetExitCode(process, code);
    while (read && code == platform::kStillActive) {
        platform::Sleep(kPollMs);
        read = platform::GetExitCode(process, code);
    }
    platform::CloseProcess(process);
    return read;
}

void SetupRun::ExportConfiguration() {
    platform::DeleteFile(kExportFile);
    uint32_t code = 0;
    if (!RunProgram(kExportProgram, kExportCommand, code)) return;
    if (code == 0)
        m_service.ReportLine(kService, "config.ini extracted successfully");
    else // a failed export must not be reported as a success
        m_service.ReportLine(kBoth, "config.ini extraction failed, exit code %d",
                             static_cast<int32_t>(code));
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
    while (std::fgets(buffer, sizeof buffer, m_service.m_script) != nullptr) {
        std::string line = buffer;
        script::CutTrailing(line);
        RunLine(line);
    }
}

void SetupRun::CheckControllerAgain() {
    CStr boot, driver;
    int32_t index = m_index;
    if (m_service.m_usb.Open(static_cast<uint16_t>(m_index), m_serial, boot, driver, &index) < 0) {
        m_service.ServiceLog().Write("Failed to open USB port.");
        return;
    }
    m_service.ReportLine(kBoth, "Driver version      [%s]", driver.Narrow());
    m_service.m_usb.Close();
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
        m_service.ReportLine(kService, "empty line!!");
        return;
    }
    for (const Command& c : kCommands) {
        if (EqualsNoCase(word, c.name)) {
            (this->*c.run)(cursor);
            return;
        }
    }
    m_service.ReportLine(kService, "unknown command!!");
}

void SetupRun::Rem(const char*& cursor) {
    std::string heading;
    if (!script::NextToken(cursor, heading)) {
        m_service.ReportLine(kService, "invalid rem!!");
        return;
    }
    m_service.ReportLine(kBoth, "\n*** %s *** ", heading.c_str());
}

void SetupRun::Exec(const char*& cursor) {
    std::string program, cmdLine;
    if (!script::NextToken(cursor, program)) {
        m_service.ReportLine(kService, "exec invalid!!");
        return;
    }
    if (!script::NextToken(cursor, cmdLine)) {
        m_service.ReportLine(kService, "exec command line invalid!!");
        return;
    }
    uint32_t code = 0;
    if (RunProgram(program, ToWide(cmdLine), code))
        m_service.ReportLine(kBoth, "%s %s - successful.", program.c_str(), cmdLine.c_str());
    else
        m_service.ReportLine(kBoth, "%s %s - failed!!", program.c_str(), cmdLine.c_str());
}

void SetupRun::Copy(const char*& cursor) {
    std::string source, destination;
    if (!script::NextToken(cursor, source)) {
        m_service.ReportLine(kService, "copy source invalid!!");
        return;
    }
    if (!script::NextToken(cursor, destination)) {
        m_service.ReportLine(kService, "copy destination invalid !!");
        return;
    }
    std::u16string target = ToWide(destination);
    if (!target.empty() && target.back() != u'\\') target += u'\\';
    int copied = 0;
    ForEachMatch(ToWide(source), [&](const std::u16string& from, const std::u16string& name) {
        const std::u16string to = target + name;
        m_service.ReportLineWide(kService, u"copying %s to %s.", from.c_str(), to.c_str());
        if (platform::CopyFile(ToNarrow(from), ToNarrow(to), false)) ++copied;
    });
    m_service.ReportLine(kBoth, "%2d file(s) copied.  [%s -> %s]", copied, source.c_str(),
                         destination.c_str());
}

void SetupRun::Del(const char*& cursor) {
    std::string pattern;
    if (!script::NextToken(cursor, pattern)) {
        m_service.ReportLine(kService, "copy source invalid!!");
        return;
    }
    int deleted = 0;
    ForEachMatch(ToWide(pattern), [&](const std::u16string& path, const std::u16string&) {
        m_service.ReportLineWide(kService, u"deleting %s.", path.c_str());
        if (platform::DeleteFile(ToNarrow(path))) ++deleted;
    });
    m_service.ReportLine(kBoth, "%2d file(s) deleted. [%s]", deleted, pattern.c_str());
}

void SetupRun::MakeDir(const char*& cursor) {
    std::string dir;
    if (!script::NextToken(cursor, dir)) {
        m_service.ReportLine(kService, "copy source invalid!!");
        return;
    }
    if (platform::CreateDirectory(ToNarrow(ToWide(dir))))
        m_service.ReportLine(kService, "directory %s created.", dir.c_str());
    else
        m_service.ReportLine(kService, "directory %s failed to create!!", dir.c_str());
}

void SetupRun::RemoveDir(const char*& cursor) {
    std::string dir;
    if (!script::NextToken(cursor, dir)) {
        m_service.ReportLine(kService, "copy source invalid!!");
        return;
    }
    if (platform::RemoveDirectory(ToNarrow(ToWide(dir))))
        m_service.ReportLine(kBoth, "directory %s removed.", dir.c_str());
    else
        m_service.ReportLine(kBoth, "directory %s failed to remove!!", dir.c_str());
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
        m_service.ReportLine(kService, "invalid set!!");
        return;
    }
    if (!script::NextToken(cursor, value)) {
        m_service.ReportLine(kService, "set parameter invalid!!");
        return;
    }
    if (EqualsNoCase(key, "DHCP")) {
        m_dhcp = EqualsNoCase(value, "yes") ? 1 : 0;
        m_service.ReportLine(kBoth, "Setting DHCP        [%s]", value.c_str());
        return;
    }
    const char16_t* setText = nullptr;
    const char16_t* getText = nullptr;
    BSTR* held = NetworkString(key, setText, getText);
    if (held == nullptr) {
        m_service.ReportLine(kService, "unknown set!!");
        return;
    }
    const std::u16string wide = ToWide(value);
    Release(*held);
    *held = platform::SysAllocStringLen(wide.c_str(), static_cast<uint32_t>(wide.size()));
    m_service.ReportLineWide(kBoth, setText, *held != nullptr ? *held : u"");
}

void SetupRun::Get(const char*& cursor) {
    std::string key;
    if (!script::NextToken(cursor, key)) {
        m_service.ReportLine(kService, "invalid get!!");
        return;
    }
    if (EqualsNoCase(key, "DHCP")) {
        m_service.ReportLineWide(kBoth, u"DHCP                [%s]", m_dhcp != 0 ? u"Yes" : u"No");
        return;
    }
    const char16_t* setText = nullptr;
    const char16_t* getText = nullptr;
    BSTR* held = NetworkString(key, setText, getText);
    if (held == nullptr) {
        m_service.ReportLine(kService, "unknown get!!");
        return;
    }
    m_service.ReportLineWide(kBoth, getText, *held != nullptr ? *held : u"");
}

void SetupRun::Save(const char*& cursor) {
    std::string word;
    if (!script::NextToken(cursor, word)) {
        m_service.ReportLine(kService, "invalid set!!");
        return;
    }
    for (int attempt = 0; attempt < kSaveAttempts; ++attempt) {
        if (SetIPConfig(m_ip, m_mask, m_tftp, m_dhcp, m_dns) != 0 && SetBoardName(m_name) > 0) {
            m_service.ReportLine(kBoth, "IP Address updated successfully.");
            return;
        }
    }
    m_service.ReportLine(kBoth, "IP Address updated  failed !!");
}
