// A fresh device root for one test: a temporary folder that QV_ROOT points at while it lives.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

class TempRoot {
  public:
    TempRoot() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qvplatform-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
        setenv("QV_ROOT", m_path.c_str(), 1);
    }
    ~TempRoot() {
        unsetenv("QV_ROOT");
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;
    const std::string& Path() const { return m_path; }

  private:
    std::string m_path; // native folder of the device root
};
