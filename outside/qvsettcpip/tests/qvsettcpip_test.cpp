// The network library against a settings file in a temporary device root.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "outside/qvsettcpip/QVSetTCPIP.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Text(BSTR s) {
    std::string out;
    for (uint32_t i = 0; i < platform::SysStringLen(s); ++i)
        out += static_cast<char>(s[i]);
    return out;
}

// An owned BSTR.
struct Str {
    explicit Str(const char16_t* text) : m_s(platform::SysAllocString(text)) {}
    Str() : m_s(platform::SysAllocStringLen(nullptr, 260)) {}
    ~Str() { platform::SysFreeString(m_s); }
    BSTR m_s;
};

class NetworkLibrary : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "qvnet-XXXXXX").string();
        m_root = mkdtemp(pattern.data());
        setenv("QV_ROOT", m_root.c_str(), 1);
        fs::create_directories(m_root / "Windows");
        std::ofstream(m_root / "Windows/QVNetwork.ini", std::ios::binary)
            << "[Network]\r\nBoardName=QVBOARD\r\nDHCP=No\r\nIP=192.168.1.100\r\n"
               "SubnetMask=255.255.255.0\r\nGateway=192.168.1.1\r\nDNS=192.168.1.1\r\n"
               "TFTP=192.168.1.2\r\n";
    }
    void TearDown() override {
        unsetenv("QV_ROOT");
        fs::remove_all(m_root);
    }
    fs::path Settings() const { return m_root / "Windows/QVNetwork.ini"; }
    fs::path m_root;
};

TEST_F(NetworkLibrary, GetsWhatTheFileHoldsIntoFreshStrings) {
    Str ip, mask, tftp, dns, gateway, name;
    int16_t dhcp = 7;
    ASSERT_NE(0, GetIPConfig(&ip.m_s, &mask.m_s, &tftp.m_s, &dhcp, &dns.m_s, &gateway.m_s));
    EXPECT_EQ("192.168.1.100", Text(ip.m_s));
    EXPECT_EQ("255.255.255.0", Text(mask.m_s));
    EXPECT_EQ("192.168.1.2", Text(tftp.m_s));
    EXPECT_EQ("192.168.1.1", Text(dns.m_s));
    EXPECT_EQ("192.168.1.1", Text(gateway.m_s));
    EXPECT_EQ(0, dhcp);
    EXPECT_EQ(7, GetBoardName(&name.m_s));
    EXPECT_EQ("QVBOARD", Text(name.m_s));
    EXPECT_EQ(0, GetIPConfig(nullptr, &mask.m_s, &tftp.m_s, &dhcp, &dns.m_s, &gateway.m_s));
}

TEST_F(NetworkLibrary, SetWritesEveryValueAndKeepsTheGateway) {
    Str ip(u"10.0.0.5"), mask(u"255.255.0.0"), tftp(u""), dns(u"10.0.0.1"), name(u"PUMP-7");
    ASSERT_NE(0, SetIPConfig(ip.m_s, mask.m_s, tftp.m_s, 1, dns.m_s));
    ASSERT_EQ(6, SetBoardName(name.m_s));
    EXPECT_EQ("[Network]\r\nBoardName=PUMP-7\r\nDHCP=Yes\r\nIP=10.0.0.5\r\n"
              "SubnetMask=255.255.0.0\r\nGateway=192.168.1.1\r\nDNS=10.0.0.1\r\nTFTP=\r\n",
              ReadFile(Settings()));
    Str got, m2, t2, d2, g2;
    int16_t dhcp = 0;
    ASSERT_NE(0, GetIPConfig(&got.m_s, &m2.m_s, &t2.m_s, &dhcp, &d2.m_s, &g2.m_s));
    EXPECT_EQ(1, dhcp);
    EXPECT_EQ("10.0.0.5", Text(got.m_s));
}

TEST_F(NetworkLibrary, ValuesThatDoNotParseFailAndChangeNothing) {
    const std::string before = ReadFile(Settings());
    const char16_t* badAddresses[] = {u"192.168.1",    u"192.168.1.256", u"1.2.3.4.5", u"a.b.c.d",
                                      u"192.168.01.1", u" 192.168.1.1",  u""};
    Str mask(u"255.255.255.0"), empty(u"");
    for (const char16_t* bad : badAddresses) {
        Str ip(bad);
        EXPECT_EQ(0, SetIPConfig(ip.m_s, mask.m_s, empty.m_s, 0, empty.m_s));
    }
    Str ip(u"192.168.1.9");
    for (const char16_t* badMask : {u"255.0.255.0", u"0.0.0.0", u"255.255.255"}) {
        Str m(badMask);
        EXPECT_EQ(0, SetIPConfig(ip.m_s, m.m_s, empty.m_s, 0, empty.m_s));
    }
    Str badDns(u"dns.example");
    EXPECT_EQ(0, SetIPConfig(ip.m_s, mask.m_s, empty.m_s, 0, badDns.m_s));
    for (const char16_t* badName : {u"", u"-LEAD", u"HAS SPACE", u"SIXTEEN-CHARS-XX"}) {
        Str n(badName);
        EXPECT_EQ(0, SetBoardName(n.m_s));
    }
    EXPECT_EQ(before, ReadFile(Settings()));
    EXPECT_FALSE(fs::exists(Settings().string() + ".new"));
}

TEST_F(NetworkLibrary, DhcpAcceptsAnEmptyAddressAndMask) {
    Str empty(u"");
    EXPECT_NE(0, SetIPConfig(empty.m_s, empty.m_s, empty.m_s, 1, empty.m_s));
    EXPECT_EQ(0, SetIPConfig(empty.m_s, empty.m_s, empty.m_s, 0, empty.m_s));
}

TEST_F(NetworkLibrary, TheFailOptionFailsTheNextCallsOnly) {
    std::ofstream(m_root / "Windows/QVNetwork.fail") << "2\n";
    Str name(u"NEWNAME");
    EXPECT_EQ(0, SetBoardName(name.m_s));
    EXPECT_EQ(0, SetBoardName(name.m_s));
    EXPECT_EQ(7, SetBoardName(name.m_s));
    Str got;
    EXPECT_EQ(7, GetBoardName(&got.m_s));
    EXPECT_EQ("NEWNAME", Text(got.m_s));
}

TEST_F(NetworkLibrary, AMissingSettingsFileFailsEveryCall) {
    fs::remove(Settings());
    Str a, b, c, d, e, name(u"X");
    int16_t dhcp = 0;
    EXPECT_EQ(0, GetIPConfig(&a.m_s, &b.m_s, &c.m_s, &dhcp, &d.m_s, &e.m_s));
    EXPECT_EQ(0, SetBoardName(name.m_s));
}

} // namespace
