// A provisioned temporary device root for the service's tests, optionally with the simulated
// board running on it, and helpers to read its files and wait for them.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "outside/board/testing/BoardProcess.h"

namespace servicetest {

namespace fs = std::filesystem;

// Services for the board: the server with the demo site and the idle serial service; the
// service library itself is loaded by the test or listed by the caller.
inline std::string ServiceList(const std::string& boot = "QVServer,QV2Serial") {
    return "[Services]\r\nBoot=" + boot +
           "\r\n\r\n[QVServer]\r\nKind=Server\r\nPrefix=QVS1:\r\nDll=QVServer.dll\r\n"
           "Database=\\DAVozuz\\SQLite\\QVForecourt.db\r\nSeed=demo\r\n\r\n"
           "[QV2Serial]\r\nKind=Idle\r\nPrefix=QV21:\r\nDll=QV2Serial.dll\r\n\r\n"
           "[Ostrel]\r\nKind=Library\r\nPrefix=QVL1:\r\nDll=\\Windows\\Ostrel.dll\r\nEntry=QVL\r\n";
}

inline std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFile(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

inline int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Polls until done() or ms have passed; the last answer.
inline bool WaitFor(const std::function<bool()>& done, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

// A setup script line that waits in an exec until the file hold is removed.
inline std::string HoldLine(const fs::path& hold) {
    return "exec /bin/sh \"-c \"\"while test -e " + hold.string() +
           "; do sleep 0.1; done\"\"\"\r\n";
}

inline std::string BuildDir() {
    const char* dir = std::getenv("QV_BUILD_DIR");
    return dir != nullptr ? dir : ".";
}

class ServiceRoot : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "qvostrel-XXXXXX").string();
        m_root = mkdtemp(pattern.data());
        setenv("QV_ROOT", m_root.c_str(), 1);
        WriteFile(m_root / "Windows" / "Services.ini", ServiceList());
        const std::string cmd =
            BuildDir() + "/bin/qvroot-provision '" + m_root.string() + "' > /dev/null";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
    void TearDown() override {
        m_board.Stop();
        unsetenv("QV_ROOT");
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }

    void StartBoard(const std::vector<std::string>& options = {}) {
        ASSERT_TRUE(m_board.Start(m_root.string(), options)) << "the board did not come up";
    }
    void SetProfile(const std::string& logSection) {
        WriteFile(m_root / "DAVozuz" / "QVForecourt" / "Ostrel.ini", "[Log]\r\n" + logSection);
    }
    std::string ServiceLogText() { return ReadFile(m_root / "Ostrel.L00"); }

    fs::path m_root;
    qvtesting::BoardProcess m_board;
};

} // namespace servicetest
