// The older library build (127.0.10.20): it lacks the full logon and every Ex variant but logs
// on with ClientLogonEx and answers the older calls; a variant can omit any chosen functions.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace qvtest;

namespace {

struct Library {
    explicit Library(const std::string& name) {
        m_h = dlopen((BuildDir() + "/lib/" + name).c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    ~Library() {
        if (m_h) dlclose(m_h);
    }
    void* Find(const char* name) const { return m_h ? dlsym(m_h, name) : nullptr; }
    void* m_h = nullptr;
};

TEST(Legacy, LacksTheNewerNamesButLogsOnWithClientLogonEx) {
    Library lib("libQVClientLegacy.so");
    ASSERT_NE(lib.m_h, nullptr) << dlerror();
    for (const char* missing :
         {"InternalClientLogonMT", "GetPumpPropertiesExMT", "GetHosePropertiesEx3MT",
          "GetCardClientPropertiesEx4MT", "SetTankPropertiesEx2MT", "GetLogEventCountExMT"})
        EXPECT_EQ(lib.Find(missing), nullptr) << missing;
    for (const char* present : {"ClientLogonExMT", "GetPumpPropertiesMT", "ResultString",
                                "DllVersion", "GetTCPIPConfigMT", "SetGradePriceMT"})
        EXPECT_NE(lib.Find(present), nullptr) << present;
    // Nothing of the implementation leaks out.
    EXPECT_EQ(lib.Find("_ZN8qvclient10ResultTextEi"), nullptr);

    TempDir dir;
    ServerProcess server("127.0.10.20", dir.Path());
    ASSERT_TRUE(server.Start("demo"));
    auto logonEx = reinterpret_cast<decltype(&ClientLogonExMT)>(lib.Find("ClientLogonExMT"));
    auto logoff = reinterpret_cast<decltype(&ClientLogoffMT)>(lib.Find("ClientLogoffMT"));
    auto pumps = reinterpret_cast<decltype(&GetPumpsCountMT)>(lib.Find("GetPumpsCountMT"));
    auto props = reinterpret_cast<decltype(&GetPumpPropertiesMT)>(lib.Find("GetPumpPropertiesMT"));
    int32_t h = 0;
    BSTR host = Bstr("127.0.10.20");
    ASSERT_EQ(logonEx(&h, 110, 5, host, 5123, 5124, 3000, 0, 0, 1024), 0);
    platform::SysFreeString(host);
    int32_t count = 0, number = 0, port, att;
    ASSERT_EQ(pumps(h, &count), 0);
    EXPECT_EQ(count, 4);
    int16_t v[14];
    Out name;
    ASSERT_EQ(props(h, 1, &number, &name, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7],
                    &v[8], &port, &att, &v[9], &v[10], &v[11], &v[12]),
              0);
    EXPECT_EQ(name.str(), "Pump 1");
    EXPECT_EQ(logoff(&h), 0);
}

TEST(Variant, OmitsExactlyTheChosenFunctions) {
    Library lib("libQVClientNoTCPIP.so");
    ASSERT_NE(lib.m_h, nullptr) << dlerror();
    EXPECT_EQ(lib.Find("GetTCPIPConfigMT"), nullptr);
    EXPECT_NE(lib.Find("SetTCPIPConfigMT"), nullptr);
    EXPECT_NE(lib.Find("InternalClientLogonMT"), nullptr);
    EXPECT_NE(lib.Find("GetPumpPropertiesExMT"), nullptr);
}

} // namespace
