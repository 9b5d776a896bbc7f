// File services over the C run-time's stdio and the Windows file calls, with test fault
// injection. Paths are native; a "t" in a mode is the run-time's own text mode (CR LF).
#include "platform/Files.h"

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/posix/FileFaults.h"
#include "platform/win32/Win32.h"

namespace platform {

namespace {

// Counts one call of op; true when this call is the one that must fail, as a write fault.
bool FaultFires(FileOp op) {
    if (!detail::FileFaultFires(op)) return false;
    ::SetLastError(ERROR_WRITE_FAULT);
    return true;
}

DWORD Attributes(std::string_view path) {
    return GetFileAttributesW(win32::WidePath(path).c_str());
}

int64_t FromFileTime(const FILETIME& ft) {
    const uint64_t units = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<int64_t>(units) * 100; // 100-ns units
}

void StampFrom(const BY_HANDLE_FILE_INFORMATION& info, FileStamp& out) {
    out.size =
        static_cast<int64_t>((static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    out.modifiedNs = FromFileTime(info.ftLastWriteTime);
    out.changedNs = out.modifiedNs; // Windows keeps no status-change time
    out.device = info.dwVolumeSerialNumber;
    out.inode = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

bool StampOfHandle(HANDLE h, FileStamp& out) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (h == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(h, &info)) return false;
    StampFrom(info, out);
    return true;
}

HANDLE HandleOf(FILE* f) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
}

// Sets errno from the Windows error of a failed file call, so that LastFileErrorText reads the
// same for a stdio failure and for one of the Windows calls.
void ErrnoFromLastError() {
    switch (::GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        errno = ENOENT;
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        errno = EACCES;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        errno = ENOSPC;
        break;
    case ERROR_WRITE_PROTECT:
        errno = EROFS;
        break;
    default:
        errno = EIO;
        break;
    }
}

// A new, empty file beside 'native' under a fresh name ("NAME.NUMBER"); never takes an existing
// name. False, with errno set, when none can be made.
bool CreateFreshBeside(const std::string& native, std::string& temp) {
    for (unsigned n = GetTickCount() & 0xFFFFFF, tries = 0; tries < 100; ++n, ++tries) {
        const std::string name = native + "." + std::to_string(n);
        const HANDLE h = CreateFileW(win32::WidePath(name).c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            if (::GetLastError() == ERROR_FILE_EXISTS) continue;
            ErrnoFromLastError();
            return false;
        }
        CloseHandle(h);
        temp = name;
        return true;
    }
    errno = EEXIST;
    return false;
}

// How a stdio mode opens a file with CreateFile: access, disposition and the run-time's flags.
struct OpenMode {
    DWORD access = 0;
    DWORD disposition = 0;
    int flags = 0;
};

bool ParseMode(const char* mode, OpenMode& out) {
    const bool plus = std::strchr(mode, '+') != nullptr;
    switch (mode[0]) {
    case 'r':
        out = {GENERIC_READ | (plus ? GENERIC_WRITE : 0u), OPEN_EXISTING,
               plus ? _O_RDWR : _O_RDONLY};
        break;
    case 'w':
        out = {GENERIC_WRITE | (plus ? GENERIC_READ : 0u), CREATE_ALWAYS,
               plus ? _O_RDWR : _O_WRONLY};
        break;
    case 'a':
        out = {GENERIC_WRITE | (plus ? GENERIC_READ : 0u), OPEN_ALWAYS,
               (plus ? _O_RDWR : _O_WRONLY) | _O_APPEND};
        break;
    default:
        return false;
    }
    out.flags |= std::strchr(mode, 'b') ? _O_BINARY : _O_TEXT;
    return true;
}

} // namespace

// Other readers and writers are allowed, and so are a delete or a rename of the file while it
// is open, as on POSIX (CreateFile with every share mode; fopen would refuse those).
FILE* OpenFile(std::string_view path, const char* mode) {
    OpenMode how;
    if (!mode || !ParseMode(mode, how) || FaultFires(FileOp::Open)) return nullptr;
    const HANDLE h = CreateFileW(win32::WidePath(path).c_str(), how.access,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 how.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), how.flags);
    if (fd < 0) {
        CloseHandle(h);
        return nullptr;
    }
    FILE* f = _fdopen(fd, mode);
    if (!f) _close(fd);
    return f;
}

FileKind GetFileKind(std::string_view path) {
    const DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return FileKind::Missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileKind::Directory;
    return attributes & FILE_ATTRIBUTE_DEVICE ? FileKind::Other : FileKind::File;
}

// MoveFile fails when the target exists, and copies across volumes by itself.
bool MoveFile(std::string_view from, std::string_view to) {
    if (FaultFires(FileOp::Move)) return false;
    return MoveFileW(win32::WidePath(from).c_str(), win32::WidePath(to).c_str()) != 0;
}

bool DeleteFile(std::string_view path) {
    if (FaultFires(FileOp::Delete)) return false;
    return DeleteFileW(win32::WidePath(path).c_str()) != 0;
}

bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    return CopyFileW(win32::WidePath(from).c_str(), win32::WidePath(to).c_str(),
                     failIfExists ? TRUE : FALSE) != 0;
}

bool CreateDirectory(std::string_view path) {
    return CreateDirectoryW(win32::WidePath(path).c_str(), nullptr) != 0;
}

bool RemoveDirectory(std::string_view path) {
    return RemoveDirectoryW(win32::WidePath(path).c_str()) != 0;
}

bool TruncateFile(FILE* f, int64_t pos) {
    if (!f || pos < 0 || FaultFires(FileOp::Truncate)) return false;
    if (std::fflush(f) != 0) return false;
    return _chsize_s(_fileno(f), pos) == 0;
}

// A pipe or the console has nothing to commit: once flushed, its data is written.
bool CommitFile(FILE* f) {
    if (!f || FaultFires(FileOp::Commit)) return false;
    if (std::fflush(f) != 0) return false;
    const HANDLE h = HandleOf(f);
    return FlushFileBuffers(h) != 0 || GetFileType(h) != FILE_TYPE_DISK;
}

bool GetFileStamp(FILE* f, FileStamp& out) {
    return f && StampOfHandle(HandleOf(f), out);
}

bool GetPathStamp(std::string_view path, FileStamp& out) {
    const HANDLE h = CreateFileW(win32::WidePath(path).c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = StampOfHandle(h, out);
    CloseHandle(h);
    return ok;
}

// MoveFileEx with replacement swaps the file in one step on the same volume.
bool ReplaceFile(std::string_view from, std::string_view to) {
    if (FaultFires(FileOp::Move)) return false;
    return MoveFileExW(win32::WidePath(from).c_str(), win32::WidePath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// The new file is made beside the target under a name that is not taken (CREATE_NEW never
// opens an existing file); it inherits the folder's access rights as the target did.
bool CreateReplacement(std::string_view path, std::string& target, std::string& temp) {
    target.clear();
    temp.clear();
    if (FaultFires(FileOp::Open)) return false;
    if (GetFileKind(path) != FileKind::File) return false;
    const std::string real(path);
    if (!CreateFreshBeside(real, temp)) return false;
    target = real;
    return true;
}

bool CreateNewFileBeside(std::string_view path, std::string& target, std::string& temp) {
    target.clear();
    temp.clear();
    if (FaultFires(FileOp::Open)) return false;
    const std::string real(path);
    if (!CreateFreshBeside(real, temp)) return false;
    target = real;
    return true;
}

} // namespace platform
