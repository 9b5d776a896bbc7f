#include "platform/DynLib.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "testing/Env.h"
#include "testing/TempDir.h"

using namespace platform;

namespace {

std::string TestLibrary() {
    return qvtesting::QvBuildDir() + "/tests/libplatform_testlib.so";
}

} // namespace

TEST(DynLib, LoadsByDevicePathAndBindsNames) {
    qvtesting::DeviceRoot root("qvplatform");
    std::filesystem::create_directories(root.Str() + "/DAVozuz/QVForecourt");
    std::filesystem::create_symlink(TestLibrary(), root.Str() + "/DAVozuz/QVForecourt/Test.DLL");

    LibHandle h = LoadLibrary(std::u16string_view(u"\\DAVozuz\\QVForecourt\\Test.DLL"));
    ASSERT_NE(h, nullptr);
    using AddFn = int (*)(int, int);
    auto add = reinterpret_cast<AddFn>(GetProcAddress(h, "QvTestAdd"));
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add(40, 2), 42);
    EXPECT_EQ(GetProcAddress(h, "QvTestMissing"), nullptr);
    EXPECT_EQ(GetProcAddress(h, nullptr), nullptr);
    FreeLibrary(h);

    EXPECT_EQ(LoadLibrary(std::string_view("\\DAVozuz\\QVForecourt\\None.DLL")), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "QvTestAdd"), nullptr);
    FreeLibrary(nullptr);
}

TEST(DynLib, SystemLibraryByName) {
    LibHandle m = LoadLibrary(std::string_view("libm.so.6"));
    ASSERT_NE(m, nullptr);
    auto cosine = reinterpret_cast<double (*)(double)>(GetProcAddress(m, "cos"));
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    FreeLibrary(m);
}
