// A service log for the tests: records reach a string (not a file) at every level up to 3, and
// a temporary device root holds whatever the log writer still maps.
#pragma once
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <unistd.h>

#include "common/CLog.h"

class TestRoot {
  public:
    TestRoot() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qvparts-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
        setenv("QV_ROOT", m_path.c_str(), 1);
    }
    ~TestRoot() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TestRoot(const TestRoot&) = delete;
    TestRoot& operator=(const TestRoot&) = delete;
    const std::string& Path() const { return m_path; }

  private:
    std::string m_path;
};

class CaptureLog : public CLog {
  public:
    CaptureLog() : CLog("\\PartsTest", "Parts test", 0, 1 << 20, 1, false, false) {
        EnableFile(false);
        m_hook = true;
        m_level = 3;
    }
    void OnOutput(const char* text) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_seen += text;
    }
    std::string Text() {
        Flush();
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_seen;
    }
    // Lines that contain part.
    int Count(std::string_view part) {
        const std::string text = Text();
        int n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    }
    bool Has(std::string_view part) { return Count(part) > 0; }
    void Reset() {
        Flush();
        std::lock_guard<std::mutex> lock(m_mutex);
        m_seen.clear();
    }

  private:
    std::mutex m_mutex;
    std::string m_seen; // everything emitted so far
};
