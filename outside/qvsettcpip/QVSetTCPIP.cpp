#include "outside/qvsettcpip/QVSetTCPIP.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "common/CProfile.h"
#include "common/CStr.h"
#include "platform/Paths.h"

namespace {

constexpr const char* kSettings = "\\Windows\\QVNetwork.ini";
constexpr const char* kFailCount = "\\Windows\\QVNetwork.fail";
constexpr const char* kSection = "Network";
// Keys in the order they are written.
constexpr const char* kKeys[] = {"BoardName", "DHCP", "IP", "SubnetMask", "Gateway", "DNS", "TFTP"};

using Settings = std::map<std::string, std::string>;

// Consumes one injected failure; true when this call is to fail.
bool InjectedFailure() {
    const std::string path = platform::MapPath(std::string(kFailCount));
    std::ifstream in(path);
    long n = 0;
    if (!(in >> n) || n <= 0) return false;
    in.close();
    std::ofstream(path, std::ios::trunc) << (n - 1) << "\n";
    return true;
}

bool Read(Settings& out) {
    if (!std::filesystem::exists(platform::MapPath(std::string(kSettings)))) return false;
    CProfile profile(kSettings, false);
    profile.SetSection(kSection);
    for (const char* key : kKeys) {
        CStr value;
        profile.GetString(key, value);
        const std::string text = value.Narrow();
        out[key] = text == "<null>" ? "" : text;
    }
    return true;
}

// The whole file anew, beside the old one, then moved over it.
bool Write(const Settings& settings) {
    const std::string path = platform::MapPath(std::string(kSettings));
    const std::string temp = path + ".new";
    std::string text = std::string("[") + kSection + "]\r\n";
    for (const char* key : kKeys)
        text += std::string(key) + "=" + settings.at(key) + "\r\n";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (f == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !written || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

bool Narrow(BSTR s, std::string& out) {
    out.clear();
    const uint32_t n = platform::SysStringLen(s);
    for (uint32_t i = 0; i < n && s[i] != 0; ++i) {
        if (s[i] > 126 || s[i] < 32) return false;
        out += static_cast<char>(s[i]);
    }
    return true;
}

bool Store(BSTR* to, const std::string& text) {
    std::u16string wide(text.begin(), text.end());
    BSTR fresh = platform::SysAllocStringLen(wide.data(), static_cast<uint32_t>(wide.size()));
    if (fresh == nullptr) return false;
    platform::SysFreeString(*to);
    *to = fresh;
    return true;
}

// Dotted IPv4: four decimal parts 0 to 255, no leading zeros, nothing else.
bool ParseAddress(const std::string& text, uint32_t& out) {
    out = 0;
    size_t pos = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= text.size() || text[pos] != '.') return false;
            ++pos;
        }
        const size_t start = pos;
        unsigned value = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 3)
            value = value * 10 + static_cast<unsigned>(text[pos++] - '0');
        const size_t digits = pos - start;
        if (digits == 0 || value > 255 || (digits > 1 && text[start] == '0')) return false;
        out = (out << 8) | value;
    }
    return pos == text.size();
}

bool ValidMask(const std::string& text) {
    uint32_t mask = 0;
    if (!ParseAddress(text, mask) || mask == 0) return false;
    return ((~mask + 1) & ~mask) == 0; // ones, then only zeros
}

bool ValidAddress(const std::string& text, bool emptyAllowed) {
    uint32_t a = 0;
    return (emptyAllowed && text.empty()) || ParseAddress(text, a);
}

bool ValidName(const std::string& name) {
    if (name.empty() || name.size() > 15 || name[0] == '-') return false;
    for (char c : name)
        if (!isalnum(static_cast<unsigned char>(c)) && c != '-') return false;
    return true;
}

} // namespace

extern "C" {

int32_t GetIPConfig(BSTR* ip, BSTR* subnetMask, BSTR* tftp, int16_t* dhcp, BSTR* dns,
                    BSTR* gateway) {
    Settings s;
    if (InjectedFailure() || !ip || !subnetMask || !tftp || !dhcp || !dns || !gateway || !Read(s))
        return 0;
    const bool ok = Store(ip, s["IP"]) && Store(subnetMask, s["SubnetMask"]) &&
                    Store(tftp, s["TFTP"]) && Store(dns, s["DNS"]) && Store(gateway, s["Gateway"]);
    std::string flag = s["DHCP"];
    for (char& c : flag)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    *dhcp = (flag == "1" || flag == "YES" || flag == "TRUE") ? 1 : 0;
    return ok ? 1 : 0;
}

int32_t GetBoardName(BSTR* name) {
    Settings s;
    if (InjectedFailure() || name == nullptr || !Read(s) || s["BoardName"].empty()) return 0;
    return Store(name, s["BoardName"]) ? static_cast<int32_t>(s["BoardName"].size()) : 0;
}

int32_t SetIPConfig(BSTR ip, BSTR subnetMask, BSTR tftp, int16_t dhcp, BSTR dns) {
    Settings s;
    std::string ipText, maskText, tftpText, dnsText;
    if (InjectedFailure() || !Read(s) || !Narrow(ip, ipText) || !Narrow(subnetMask, maskText) ||
        !Narrow(tftp, tftpText) || !Narrow(dns, dnsText))
        return 0;
    const bool dhcpOn = dhcp != 0;
    const bool sound = ValidAddress(ipText, dhcpOn) &&
                       ((dhcpOn && maskText.empty()) || ValidMask(maskText)) &&
                       ValidAddress(tftpText, true) && ValidAddress(dnsText, true);
    if (!sound) return 0;
    s["IP"] = ipText;
    s["SubnetMask"] = maskText;
    s["TFTP"] = tftpText;
    s["DNS"] = dnsText;
    s["DHCP"] = dhcpOn ? "Yes" : "No";
    return Write(s) ? 1 : 0;
}

int32_t SetBoardName(BSTR name) {
    Settings s;
    std::string text;
    if (InjectedFailure() || !Read(s) || !Narrow(name, text) || !ValidName(text)) return 0;
    s["BoardName"] = text;
    return Write(s) ? static_cast<int32_t>(text.size()) : 0;
}
}
