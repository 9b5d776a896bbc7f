#include "platform/Paths.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace platform;

TEST(Paths, MappingTable) {
    setenv("QV_ROOT", "/r/root", 1);
    struct {
        const char* in;
        const char* out;
    } const cases[] = {
        {"\\DAVozuz\\QVForecourt\\Ostrel.ini", "/r/root/DAVozuz/QVForecourt/Ostrel.ini"},
        {"\\config.ini", "/r/root/config.ini"},
        {"\\Hard Disk\\QVSetup.scp", "/r/root/Hard Disk/QVSetup.scp"},
        {"C:\\QVForecourt\\log\\Dovetrix", "/r/root/C/QVForecourt/log/Dovetrix"},
        {"c:\\a\\b", "/r/root/C/a/b"},
        {"d:/mixed\\seps", "/r/root/D/mixed/seps"},
        {"C:name.txt", "/r/root/C/name.txt"},
        {"./site.ini", "./site.ini"},
        {"site.ini", "site.ini"},
        {"/abs/path", "/abs/path"},
        {"QVF1:", "QVF1:"},
        {"1:\\x", "1:\\x"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MapPath(std::string_view(c.in)), c.out) << c.in;
        std::u16string wide(c.in, c.in + std::char_traits<char>::length(c.in));
        EXPECT_EQ(MapPath(std::u16string_view(wide)), c.out) << c.in;
    }
    // Wide paths reach the file system in the narrow code page; what it cannot hold is "?".
    EXPECT_EQ(MapPath(std::u16string_view(u"\\caf\u00E9\u20AC\u0141")), "/r/root/caf\xE9\x80?");
}

TEST(Paths, RootIsReadOnEveryCall) {
    setenv("QV_ROOT", "/first/", 1);
    EXPECT_EQ(DeviceRoot(), "/first");
    EXPECT_EQ(MapPath(std::string_view("\\x")), "/first/x");
    setenv("QV_ROOT", "/second", 1);
    EXPECT_EQ(MapPath(std::string_view("\\x")), "/second/x");
    unsetenv("QV_ROOT");
    EXPECT_EQ(DeviceRoot(), "/tmp/qvroot");
    EXPECT_EQ(MapPath(std::string_view("C:\\y")), "/tmp/qvroot/C/y");
    setenv("QV_ROOT", "", 1);
    EXPECT_EQ(DeviceRoot(), "/tmp/qvroot");
    unsetenv("QV_ROOT");
}

TEST(Paths, DotPartsResolveAndNeverClimbAboveTheDeviceRoot) {
    setenv("QV_ROOT", "/r/root", 1);
    struct {
        const char* in;
        const char* out; // "" when the path is refused
    } const cases[] = {
        {"\\A\\..\\B", "/r/root/B"},
        {"\\A\\.\\B\\", "/r/root/A/B/"},
        {"\\A\\\\B", "/r/root/A/B"},
        {"\\A\\..", "/r/root"},
        {"\\..\\outside\\victim.txt", ""},
        {"\\A\\..\\..\\x", ""},
        {"\\Hard Disk\\..\\..\\..\\etc\\passwd", ""},
        {"C:\\..\\x", ""},
        {"C:..\\x", ""},
        {"c:\\log\\..\\y", "/r/root/C/y"},
        {"../native/stays", "../native/stays"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MapPath(std::string_view(c.in)), c.out) << c.in;
        std::u16string wide(c.in, c.in + std::char_traits<char>::length(c.in));
        EXPECT_EQ(MapPath(std::u16string_view(wide)), c.out) << c.in;
    }
    unsetenv("QV_ROOT");
}
