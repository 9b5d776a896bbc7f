// qvroot-provision [DIR]: lays a device root out as the programs expect to find it: the board's
// and the desktop's folders, and links to the built programs and libraries that stand for the
// board's files. DIR defaults to $QV_ROOT, else the platform's default root. Running it again
// changes nothing; a link whose target is not built yet is made anyway. A line per entry says
// what was done, or why it failed.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/Paths.h"
#include "tools/cli/CommandLine.h"

namespace fs = std::filesystem;

namespace {

enum class Kind { Folder, Link, Profile }; // a profile is written only when missing
enum class From { None, Build, System };   // where a link's target lives

struct Entry {
    Kind kind;
    const char* path; // inside the device root
    From from;
    const char* target; // relative to the build folder, a system library's file name, or a
                        // profile's text
};

// The device root. "Hard Disk" is left out on purpose: it appears when a pen drive is plugged.
constexpr Entry kLayout[] = {
    {Kind::Folder, "DAVozuz", From::None, nullptr},
    {Kind::Folder, "DAVozuz/QVForecourt", From::None, nullptr},
    {Kind::Folder, "DAVozuz/SQLite", From::None, nullptr},
    {Kind::Folder, "DAVozuz/LOG", From::None, nullptr},
    {Kind::Folder, "Windows", From::None, nullptr},
    {Kind::Folder, "C", From::None, nullptr},
    {Kind::Folder, "C/QVForecourt", From::None, nullptr},
    {Kind::Folder, "C/QVForecourt/log", From::None, nullptr},
    {Kind::Link, "DAVozuz/QVForecourt/QVZip.exe", From::Build, "bin/QVZip"},
    {Kind::Link, "DAVozuz/QVForecourt/QVClient.DLL", From::Build, "lib/libQVClient.so"},
    {Kind::Link, "C/QVForecourt/QVClient.DLL", From::Build, "lib/libQVClient.so"},
    {Kind::Link, "DAVozuz/QVForecourt/SQLite.DLL", From::System, "libsqlite3.so.0"},
    {Kind::Link, "Windows/Dovetrix.exe", From::Build, "bin/ce/Dovetrix"},
    {Kind::Link, "Windows/Ostrel.dll", From::Build, "lib/ce/libOstrel.so"},
    {Kind::Link, "Windows/QVSetTCPIP.dll", From::Build, "lib/ce/libQVSetTCPIP.so"},
    // The board's services, started in this order at boot by the board's services host.
    {Kind::Profile, "Windows/Services.ini", From::None,
     "[Services]\r\nBoot=QVServer,QV2Serial,Ostrel\r\n\r\n"
     "[QVServer]\r\nKind=Server\r\nPrefix=QVS1:\r\nDll=QVServer.dll\r\n"
     "Database=\\DAVozuz\\SQLite\\QVForecourt.db\r\n\r\n"
     "[QV2Serial]\r\nKind=Idle\r\nPrefix=QV21:\r\nDll=QV2Serial.dll\r\n\r\n"
     "[Ostrel]\r\nKind=Library\r\nPrefix=QVL1:\r\nDll=\\Windows\\Ostrel.dll\r\n"
     "Entry=QVL\r\n"},
    // The board's network settings, read and written by QVSetTCPIP.
    {Kind::Profile, "Windows/QVNetwork.ini", From::None,
     "[Network]\r\nBoardName=QVBOARD\r\nDHCP=No\r\nIP=192.168.1.100\r\n"
     "SubnetMask=255.255.255.0\r\nGateway=192.168.1.1\r\nDNS=192.168.1.1\r\n"
     "TFTP=192.168.1.1\r\n"},
    // The controller service's log settings: level 1, the log at its own base path.
    {Kind::Profile, "DAVozuz/QVForecourt/Ostrel.ini", From::None,
     "[Log]\r\nLevel=1\r\nPath=\r\nMaxSize=1024000\r\nMaxFiles=5\r\nScreen=No\r\n"
     "File=Yes\r\nSocket=No\r\n"},
    // The database tool's settings: the controller database that a local qvserver keeps with
    // --db $QV_ROOT/DAVozuz/SQLite/QVForecourt.db, purged after 60 days.
    {Kind::Profile, "DAVozuz/SQLite/QVSQLite.ini", From::None,
     "[Parameters]\r\nDeliveryKeepDays=60\r\nMaxDeliveries=100000\r\nEventsKeepDays=60\r\n"
     "MaxLogEvents=10000\r\nSaleItemKeepDays=60\r\nMaxSaleItems=10000\r\n"
     "DeleteBatchSize=250\r\nBetweenBatchWait=1000\r\nBackupBefore=No\r\n"
     "DBName=\\DAVozuz\\SQLite\\QVForecourt.db\r\n\r\n[Log]\r\nLogLevel=1\r\n"},
};

// Where the system's shared libraries may be, searched in this order.
constexpr const char* kLibraryFolders[] = {"/usr/lib/x86_64-linux-gnu",
                                           "/lib/x86_64-linux-gnu",
                                           "/usr/lib/aarch64-linux-gnu",
                                           "/lib/aarch64-linux-gnu",
                                           "/usr/lib64",
                                           "/usr/lib",
                                           "/usr/local/lib"};

void Report(const char* what, const fs::path& path, const std::string& detail = "") {
    printf("%-9s %s%s\n", what, path.c_str(), detail.c_str());
}

// " (why)" for a failed entry.
std::string Why(const std::error_code& ec) {
    return " (" + qvcli::WriteReason(ec.value()) + ")";
}

// The build folder: this program lives in <build>/bin.
fs::path BuildFolder() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : self.parent_path().parent_path();
}

fs::path SystemLibrary(const char* name) {
    for (const char* folder : kLibraryFolders) {
        const fs::path candidate = fs::path(folder) / name;
        if (fs::exists(candidate)) return candidate;
    }
    return fs::path(kLibraryFolders[0]) / name;
}

bool MakeFolder(const fs::path& path) {
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(path, ec))) {
        Report("exists", path);
        return true;
    }
    if (fs::create_directory(path, ec)) {
        Report("created", path);
        return true;
    }
    const bool inTheWay = !ec || ec == std::errc::file_exists;
    Report("FAILED", path, inTheWay ? " (a file is in the way)" : Why(ec));
    return false;
}

bool MakeLink(const fs::path& path, const fs::path& target) {
    std::error_code ec;
    const std::string arrow = " -> " + target.string();
    const std::string missing = fs::exists(target) ? "" : " (target not there yet)";
    const fs::file_status st = fs::symlink_status(path, ec);
    if (fs::is_symlink(st)) {
        if (fs::read_symlink(path, ec) == target) {
            Report("exists", path, arrow + missing);
            return true;
        }
        fs::remove(path, ec);
        fs::create_symlink(target, path, ec);
        Report(ec ? "FAILED" : "relinked", path, arrow + (ec ? Why(ec) : missing));
        return !ec;
    }
    if (fs::exists(st)) {
        Report("FAILED", path, " (not a link; left as it is)");
        return false;
    }
    fs::create_symlink(target, path, ec);
    Report(ec ? "FAILED" : "linked", path, arrow + (ec ? Why(ec) : missing));
    return !ec;
}

// Writes a default profile unless one is there: a profile holds the site's own settings. A
// profile that could not be written whole is removed, so that the next run writes it again.
bool MakeProfile(const fs::path& path, const char* text) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(path, ec))) {
        Report("exists", path);
        return true;
    }
    FILE* f = fopen(path.c_str(), "wb");
    if (f == nullptr) {
        Report("FAILED", path, " (" + qvcli::WriteReason(errno) + ")");
        return false;
    }
    const size_t n = strlen(text);
    int error = fwrite(text, 1, n, f) == n && fflush(f) == 0 ? 0 : errno;
    if (fclose(f) != 0 && error == 0) error = errno;
    if (error != 0) {
        fs::remove(path, ec);
        Report("FAILED", path, " (" + qvcli::WriteReason(error) + ")");
        return false;
    }
    Report("created", path);
    return true;
}

bool Provision(const fs::path& root, const fs::path& build) {
    std::error_code ec;
    fs::create_directories(root, ec);
    if (!fs::is_directory(root)) {
        Report("FAILED", root,
               " (cannot create the device root: " +
                   (ec ? qvcli::WriteReason(ec.value()) : "a file is in the way") + ")");
        return false;
    }
    bool ok = true;
    for (const Entry& e : kLayout) {
        const fs::path path = root / e.path;
        if (e.kind == Kind::Folder) {
            ok = MakeFolder(path) && ok;
            continue;
        }
        if (e.kind == Kind::Profile) {
            ok = MakeProfile(path, e.target) && ok;
            continue;
        }
        const fs::path target = e.from == From::Build ? build / e.target : SystemLibrary(e.target);
        ok = MakeLink(path, target) && ok;
    }
    return ok;
}

void Help() {
    printf("usage: qvroot-provision [DIR]\n"
           "       qvroot-provision --help | --version\n"
           "Lays a device root out in DIR (default: $QV_ROOT, else %s):\n"
           "the board folders DAVozuz/QVForecourt, DAVozuz/SQLite, DAVozuz/LOG and Windows,\n"
           "the desktop folder C/QVForecourt/log, links to the built QVZip, QVClient,\n"
           "Dovetrix, Ostrel and QVSetTCPIP and to the system's SQLite library, and default\n"
           "settings (the board's services and network, the service's and the database\n"
           "tool's) where none exist. Running it again changes nothing. One line per entry\n"
           "says created, linked, relinked, exists or FAILED (and why).\n"
           "Exit status 0 done, 1 when an entry could not be made, 2 for a wrong command line.\n",
           platform::DeviceRoot().c_str());
}

} // namespace

int main(int argc, char** argv) {
    const char* dir = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            Help();
            return 0;
        }
        if (a == "--version") return qvcli::PrintVersion("qvroot-provision");
        if (a.size() > 1 && a[0] == '-')
            return qvcli::UsageError("qvroot-provision", "unknown option " + qvcli::Quoted(a));
        if (dir != nullptr)
            return qvcli::UsageError("qvroot-provision",
                                     "unexpected argument " + qvcli::Quoted(a) + " (one DIR only)");
        dir = argv[i];
    }
    const fs::path build = BuildFolder();
    if (build.empty()) {
        fprintf(stderr, "qvroot-provision: cannot find its own build folder\n");
        return 1;
    }
    const fs::path root =
        fs::absolute(dir != nullptr ? fs::path(dir) : fs::path(platform::DeviceRoot()));
    return Provision(root.lexically_normal(), build) ? 0 : 1;
}
