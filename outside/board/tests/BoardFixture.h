// A temporary device root with a service list, and a board running on it; the test process
// points QV_ROOT at the root, so its platform calls reach this board.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "outside/board/testing/BoardProcess.h"

namespace boardtest {

namespace fs = std::filesystem;

// Only the idle service: a board that boots in a moment.
constexpr const char* kIdleServices =
    "[Services]\r\nBoot=QV2Serial\r\n\r\n[QV2Serial]\r\nKind=Idle\r\nPrefix=QV21:\r\n"
    "Dll=QV2Serial.dll\r\n";

inline std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Lines of a board record that contain the text.
inline std::vector<std::string> LinesWith(const std::string& text, const std::string& what) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.find(what) != std::string::npos) out.push_back(line);
    return out;
}

class BoardFixture : public ::testing::Test {
  protected:
    void TearDown() override {
        m_board.Stop();
        unsetenv("QV_ROOT");
        if (!m_root.empty()) fs::remove_all(m_root);
    }

    // A fresh root with the service list, then the board with the options.
    void StartBoard(const std::vector<std::string>& options,
                    const std::string& services = kIdleServices) {
        if (!m_root.empty()) {
            m_board.Stop();
            fs::remove_all(m_root);
        }
        std::string pattern = (fs::temp_directory_path() / "qvboard-XXXXXX").string();
        m_root = mkdtemp(pattern.data());
        setenv("QV_ROOT", m_root.c_str(), 1);
        fs::create_directories(m_root / "Windows");
        fs::create_directories(m_root / "DAVozuz" / "SQLite");
        std::ofstream(m_root / "Windows" / "Services.ini", std::ios::binary) << services;
        PrepareRoot();
        ASSERT_TRUE(m_board.Start(m_root.string(), options)) << "the board did not come up";
    }
    virtual void PrepareRoot() {}

    fs::path m_root;
    qvtesting::BoardProcess m_board;
};

} // namespace boardtest
