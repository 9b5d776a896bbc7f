// Temporary folders for tests: TempDir is a fresh folder removed with all it holds when the object
// goes; DeviceRoot is one that QV_ROOT points at while it lives (the value before it comes back
// when it goes), with the device folders a test asks for. A folder that cannot be made aborts the
// test program. QV_KEEP_ROOT set in the environment keeps the folders for a look afterwards.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <system_error>

namespace qvtesting {

// Device folders of the two flavours, relative to the root.
inline constexpr const char* kDesktopFolder = "C/QVForecourt";
inline constexpr const char* kDesktopLogFolder = "C/QVForecourt/log";
inline constexpr const char* kBoardFolder = "DAVozuz/QVForecourt";

class TempDir {
  public:
    // prefix: the start of the folder's name under the system's temporary folder.
    explicit TempDir(const std::string& prefix = "qvtest") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        m_dir = pattern;
    }
    ~TempDir() {
        if (std::getenv("QV_KEEP_ROOT") != nullptr) return;
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Dir() const { return m_dir; }
    // The folder as a native path string.
    std::string Str() const { return m_dir.string(); }
    // A path inside the folder.
    std::filesystem::path Path(const std::string& relative) const { return m_dir / relative; }

  private:
    std::filesystem::path m_dir;
};

class DeviceRoot : public TempDir {
  public:
    // folders: made inside the root (with their parents), such as kDesktopLogFolder.
    explicit DeviceRoot(const std::string& prefix = "qvroot",
                        std::initializer_list<const char*> folders = {})
        : TempDir(prefix) {
        for (const char* folder : folders)
            std::filesystem::create_directories(Dir() / folder);
        if (const char* before = std::getenv("QV_ROOT")) m_before = before;
        ::setenv("QV_ROOT", Dir().string().c_str(), 1);
    }
    ~DeviceRoot() {
        if (m_before)
            ::setenv("QV_ROOT", m_before->c_str(), 1);
        else
            ::unsetenv("QV_ROOT");
    }

    // Replaces whatever is at the relative path by a symbolic link to target.
    void Link(const std::string& relative, const std::filesystem::path& target) const {
        std::error_code ec;
        std::filesystem::remove(Path(relative), ec);
        std::filesystem::create_symlink(target, Path(relative));
    }

  private:
    std::optional<std::string> m_before; // QV_ROOT before this root
};

} // namespace qvtesting
