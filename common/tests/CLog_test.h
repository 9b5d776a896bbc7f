// Shared by the log writer's tests (desktop and board): a temporary device root, a driven tick
// counter and wall clock, and small file helpers.
#pragma once
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/CLog.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace logtest {

namespace fs = std::filesystem;

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

// Reads a whole file (device or native path); "" when it is missing.
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(platform::MapPath(path), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
inline bool FileExists(const std::string& path) {
    return fs::exists(platform::MapPath(path));
}
inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(platform::MapPath(path), std::ios::binary) << text;
}
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
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
        char tmpl[] = "/tmp/qvlogtestXXXXXX";
        m_root = mkdtemp(tmpl);
        setenv("QV_ROOT", m_root.c_str(), 1);
        fs::create_directories(m_root + "/C/QVForecourt/log");
        fs::create_directories(m_root + "/DAVozuz/QVForecourt");
        platform::SystemTime st;
        st.year = 2025;
        st.month = 1;
        st.day = 7;
        st.hour = 16;
        st.minute = 50;
        st.second = 27;
        uint64_t ft = 0;
        platform::SystemTimeToFileTime(st, ft);
        g_clock = ft;
        g_tick = 1000;
        platform::SetTickSource(DrivenTick);
        platform::SetClockSource(DrivenClock);
    }
    void TearDown() override {
        platform::ClearFileFaults();
        platform::SetTickSource(nullptr);
        platform::SetClockSource(nullptr);
        fs::remove_all(m_root);
    }
    static std::string Name(const char* suffix) { return std::string(kBase) + suffix; }

    std::string m_root;
};

} // namespace logtest
