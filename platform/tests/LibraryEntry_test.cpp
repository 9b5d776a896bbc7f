// The attach hook runs when a library is loaded and the detach hook when it is unloaded.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/DynLib.h"
#include "testing/TempDir.h"

namespace {

std::string ReadLog(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(LibraryEntry, AttachOnLoadDetachOnUnloadOnceEach) {
    qvtesting::DeviceRoot root;
    const std::string log = root.Str() + "/entry.log";
    setenv("QV_LIBENTRY_LOG", log.c_str(), 1);
    const std::string lib =
        std::string(std::getenv("QV_BUILD_DIR")) + "/tests/libplatform_libentry.so";
    platform::LibHandle h = platform::LoadLibrary(lib);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ("attach instance\n", ReadLog(log));
    auto probe = reinterpret_cast<int (*)()>(platform::GetProcAddress(h, "LibEntryProbe"));
    ASSERT_NE(nullptr, probe);
    EXPECT_EQ(7, probe());
    platform::FreeLibrary(h);
    EXPECT_EQ("attach instance\ndetach instance\n", ReadLog(log));
    unsetenv("QV_LIBENTRY_LOG");
}

} // namespace
