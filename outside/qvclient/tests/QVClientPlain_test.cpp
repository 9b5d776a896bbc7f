// The plain-named functions against real servers on 127.0.70.1 .. 127.0.70.3: the process's one
// logon through each logon form, calls that match their MT forms, and every MT function
// present under its plain name in each build of the library.
#include "outside/qvclient/QVClientPlain.h"

#include <cstdlib>
#include <dlfcn.h>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>

#include "outside/qvclient/tests/ServerProcess.h"

using namespace qvtest;

namespace {

class PlainLogon : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_dir = new TempDir;
        s_server = new ServerProcess("127.0.70.1", s_dir->Path());
        ASSERT_TRUE(s_server->Start("demo"));
    }
    static void TearDownTestSuite() {
        delete s_server;
        delete s_dir;
    }
    void TearDown() override { ClientLogoff(); }

    static int32_t LogOnFully(int32_t id = 7) {
        BSTR name = Bstr("plain"), key = Bstr(""), host = Bstr("127.0.70.1");
        const int32_t r = InternalClientLogon(id, 5, name, 1, key, 0, host, 5123, 5124, 3000, -1,
                                              reinterpret_cast<intptr_t>(&s_dir), 1024);
        platform::SysFreeString(name);
        platform::SysFreeString(key);
        platform::SysFreeString(host);
        return r;
    }
    static TempDir* s_dir;
    static ServerProcess* s_server;
};
TempDir* PlainLogon::s_dir = nullptr;
ServerProcess* PlainLogon::s_server = nullptr;

TEST_F(PlainLogon, WithoutALogonEveryCallIsNotLoggedOnAndLeavesItsOutputs) {
    int32_t count = -5;
    EXPECT_EQ(GetPumpsCount(&count), QV_NOT_LOGGED_ON);
    EXPECT_EQ(count, -5);
    Out text;
    EXPECT_EQ(GetSerialNo(&text), QV_NOT_LOGGED_ON);
    EXPECT_EQ(text.b, nullptr);
    EXPECT_EQ(AllStop(), QV_NOT_LOGGED_ON);
    EXPECT_EQ(ClientLogoff(), QV_NOT_LOGGED_ON);
}

TEST_F(PlainLogon, CallsAnswerAsTheirMTFormsDo) {
    ASSERT_EQ(LogOnFully(), 0);
    const int32_t mt = Logon("127.0.70.1");
    ASSERT_NE(mt, 0);

    int32_t plainCount = 0, mtCount = 0;
    ASSERT_EQ(GetPumpsCount(&plainCount), 0);
    ASSERT_EQ(GetPumpsCountMT(mt, &mtCount), 0);
    EXPECT_GT(plainCount, 0);
    EXPECT_EQ(plainCount, mtCount);
    for (int32_t i = 1; i <= plainCount; ++i) {
        int32_t id = 0, mtID = 0;
        ASSERT_EQ(GetPumpByOrdinal(i, &id), 0);
        ASSERT_EQ(GetPumpByOrdinalMT(mt, i, &mtID), 0);
        EXPECT_EQ(id, mtID);
    }
    int32_t bad = -3;
    EXPECT_EQ(GetPumpByOrdinal(plainCount + 1, &bad), QV_INVALID_ORDINAL);

    // A change made under the plain name is what the MT form reads back.
    int32_t grade = 0;
    ASSERT_EQ(GetGradeByOrdinal(1, &grade), 0);
    ASSERT_EQ(SetGradePrice(grade, 3, 1.875), 0);
    double price = 0;
    ASSERT_EQ(GetGradePriceMT(mt, grade, 3, &price), 0);
    EXPECT_DOUBLE_EQ(price, 1.875);

    BSTR section = Bstr("Plain"), key = Bstr("Key"), value = Bstr("v\xe9");
    ASSERT_EQ(SetIniValue(section, key, value), 0);
    Out back;
    ASSERT_EQ(GetIniValueMT(mt, section, key, &back), 0);
    EXPECT_EQ(back.str(), "v\xe9");
    platform::SysFreeString(section);
    platform::SysFreeString(key);
    platform::SysFreeString(value);

    int32_t h = mt;
    ClientLogoffMT(&h);
}

TEST_F(PlainLogon, OneLogonAtATimeAndLogoffEndsIt) {
    ASSERT_EQ(LogOnFully(), 0);
    // A second logon of any form is refused and the held one goes on working.
    BSTR host = Bstr("127.0.70.1");
    EXPECT_EQ(ClientLogonEx(8, 5, host, 5123, 5124, 3000, -1, 0, 1024), QV_TOO_MANY_LOGONS);
    EXPECT_EQ(LogOnFully(9), QV_TOO_MANY_LOGONS);
    int32_t count = 0;
    EXPECT_EQ(GetPortsCount(&count), 0);

    EXPECT_EQ(ClientLogoff(), 0);
    EXPECT_EQ(GetPortsCount(&count), QV_NOT_LOGGED_ON);
    EXPECT_EQ(ClientLogoff(), QV_NOT_LOGGED_ON);

    // The other two forms log the process on again.
    ASSERT_EQ(ClientLogonEx(8, 5, host, 5123, 5124, 3000, -1, 0, 1024), 0);
    EXPECT_EQ(GetPortsCount(&count), 0);
    EXPECT_EQ(ClientLogoff(), 0);
    setenv("QV_CLIENT_SERVER", "127.0.70.1", 1);
    ASSERT_EQ(ClientLogon(9, 5, -1, 0, 1024), 0);
    EXPECT_EQ(GetPortsCount(&count), 0);
    platform::SysFreeString(host);
}

TEST(PlainLogonFailure, AFailedLogonHoldsNothing) {
    BSTR host = Bstr("127.0.70.2"); // no server there
    EXPECT_EQ(ClientLogonEx(8, 5, host, 5123, 5124, 1000, -1, 0, 1024), QV_CANNOT_CONNECT);
    platform::SysFreeString(host);
    int32_t count = 0;
    EXPECT_EQ(GetPumpsCount(&count), QV_NOT_LOGGED_ON);
    EXPECT_EQ(ClientLogoff(), QV_NOT_LOGGED_ON);

    TempDir dir;
    ServerProcess server("127.0.70.3", dir.Path());
    ASSERT_TRUE(server.Start("empty"));
    host = Bstr("127.0.70.3");
    EXPECT_EQ(ClientLogonEx(8, 5, host, 5123, 5124, 3000, -1, 0, 1024), 0);
    platform::SysFreeString(host);
    EXPECT_EQ(GetPumpsCount(&count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(ClientLogoff(), 0);
}

// Every function declared with an MT name in the library's header.
std::set<std::string> MTFunctionsOfTheHeader() {
    std::ifstream in(std::string(std::getenv("QV_SOURCE_DIR")) + "/outside/qvclient/QVClient.h");
    std::stringstream text;
    text << in.rdbuf();
    const std::string s = text.str();
    std::set<std::string> names;
    const std::regex decl(R"((?:int32_t|BSTR) ([A-Za-z0-9_]+)MT\()");
    for (auto it = std::sregex_iterator(s.begin(), s.end(), decl); it != std::sregex_iterator();
         ++it)
        names.insert((*it)[1]);
    return names;
}

TEST(PlainNames, EveryMTFunctionHasItsPlainNameWhereverItsMTFormIsExported) {
    const std::set<std::string> names = MTFunctionsOfTheHeader();
    ASSERT_EQ(names.size(), 258u);
    for (const char* lib : {"libQVClient.so", "libQVClientLegacy.so", "libQVClientNoTCPIP.so"}) {
        void* so = dlopen((BuildDir() + "/lib/" + lib).c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(so, nullptr) << dlerror();
        size_t plain = 0;
        for (const std::string& n : names) {
            const bool hasMT = dlsym(so, (n + "MT").c_str()) != nullptr;
            const bool hasPlain = dlsym(so, n.c_str()) != nullptr;
            EXPECT_EQ(hasPlain, hasMT) << lib << ": " << n;
            plain += hasPlain;
        }
        if (std::string(lib) == "libQVClient.so") {
            EXPECT_EQ(plain, 258u);
        } else if (std::string(lib) == "libQVClientNoTCPIP.so") {
            EXPECT_EQ(plain, 257u);
        }
        dlclose(so);
    }
}

} // namespace
