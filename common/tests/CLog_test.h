// Shared by the log writer's tests (desktop and board): a temporary device root, a driven tick
// counter and wall clock, and file helpers that take device paths.
#pragma once
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/CLog.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "testing/Files.h"
#include "testing/TempDir.h"
#include "testing/Time.h"

namespace logtest {

inline std::atomic<uint32_t> g_tick{1000};
inline std::atomic<uint64_t> g_clock{0}; // file time of the driven local clock

inline uint32_t DrivenTick() {
    return g_tick.load();
}
inline platform::SystemTime DrivenClock() {
    platform::SystemTime st;
    platform::FileTimeToSystemTime(g_clock.load(), st);
    return st;
}
inline void AdvanceSeconds(int64_t s) {
    g_clock += static_cast<uint64_t>(s * 10000000);
}

// Reads a whole file (device or native path); "" when it is missing. Read in text mode, as the
// log writes it, so its line ends read as LF wherever the platform's are CR LF.
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(platform::MapPath(path));
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
inline bool FileExists(const std::string& path) {
    return qvtesting::FileExists(platform::MapPath(path));
}
inline void WriteFile(const std::string& path, const std::string& text) {
    qvtesting::WriteFile(platform::MapPath(path), text);
}
// The log's lines split at LF, a CR kept.
inline std::vector<std::string> Lines(const std::string& text) {
    return qvtesting::RawLines(text);
}

// A log whose hook collects everything emitted (Emit runs under the log's lock).
class HookLog : public CLog {
  public:
    using CLog::CLog;
    void OnOutput(const char* text) override { m_seen += text; }
    std::string m_seen;
};

// Each test gets its own device root with the desktop log folder, a driven tick counter
// and a driven clock at 07/01/2025 16:50:27.
class LogTest : public ::testing::Test {
  protected:
    static constexpr const char* kBase = "C:\\QVForecourt\\log\\Test";
    static constexpr const char* kNow = "07/01/2025 16:50:27";

    void SetUp() override {
        // The desktop log folder starts empty (on Windows it is the machine's own folder).
        const std::filesystem::path folder = platform::MapPath("C:\\QVForecourt\\log");
        std::filesystem::create_directories(folder);
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            std::filesystem::remove_all(entry.path());
        uint64_t ft = 0;
        platform::SystemTimeToFileTime(qvtesting::MakeTime(2025, 1, 7, 16, 50, 27), ft);
        g_clock = ft;
        g_tick = 1000;
        platform::SetTickSource(DrivenTick);
        platform::SetClockSource(DrivenClock);
    }
    void TearDown() override {
        platform::ClearFileFaults();
        platform::SetTickSource(nullptr);
        platform::SetClockSource(nullptr);
    }
    static std::string Name(const char* suffix) { return std::string(kBase) + suffix; }

    qvtesting::DeviceRoot m_device{"qvlogtest",
                                   {qvtesting::kDesktopLogFolder, qvtesting::kBoardFolder}};
    const std::string m_root = m_device.Str();
};

} // namespace logtest
