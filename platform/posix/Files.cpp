// File services over stdio and POSIX calls, with mapped paths and test fault injection.
#include "platform/Files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Paths.h"
#include "platform/posix/FileFaults.h"
#include "platform/posix/RemovableDrive.h"

namespace platform {

namespace {

bool FaultFires(FileOp op) {
    return detail::FileFaultFires(op);
}

// A new file that already has the owner and group of st (no change was needed).
bool OwnedAlike(int fd, const struct stat& st) {
    struct stat now {};
    return fstat(fd, &now) == 0 && now.st_uid == st.st_uid && now.st_gid == st.st_gid;
}

bool Exists(const std::string& native) {
    struct stat st {};
    return lstat(native.c_str(), &st) == 0;
}

// Copies the bytes and permission bits of an open file into a new descriptor.
bool CopyContents(int in, int out) {
    char buf[65536];
    for (;;) {
        const ssize_t n = read(in, buf, sizeof buf);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = write(out, buf + done, static_cast<size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            done += w;
        }
    }
}

bool CopyNative(const std::string& from, const std::string& to, bool failIfExists) {
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    struct stat src {};
    struct stat dst {};
    // Copying a file onto itself would truncate it first.
    if (fstat(in, &src) != 0 || !S_ISREG(src.st_mode) ||
        (stat(to.c_str(), &dst) == 0 && dst.st_dev == src.st_dev && dst.st_ino == src.st_ino)) {
        close(in);
        return false;
    }
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : O_TRUNC);
    const int out = open(to.c_str(), flags, src.st_mode & 07777);
    if (out < 0) {
        close(in);
        return false;
    }
    bool ok = CopyContents(in, out);
    const timespec times[2] = {src.st_atim, src.st_mtim};
    futimens(out, times);
    ok = close(out) == 0 && ok;
    close(in);
    if (!ok) unlink(to.c_str());
    return ok;
}

} // namespace

FILE* OpenFile(std::string_view path, const char* mode) {
    if (!mode || FaultFires(FileOp::Open)) return nullptr;
    std::string native;
    for (const char* m = mode; *m; ++m)
        if (*m != 't') native += *m;
    return drive::Open(MapPath(path), native.c_str());
}

FileKind GetFileKind(std::string_view path) {
    struct stat st {};
    if (stat(MapPath(path).c_str(), &st) != 0) return FileKind::Missing;
    if (S_ISDIR(st.st_mode)) return FileKind::Directory;
    return S_ISREG(st.st_mode) ? FileKind::File : FileKind::Other;
}

bool GetMediaId(std::string_view path, uint64_t& id) {
    const std::string native = MapPath(path);
    struct stat st {};
    if (stat(native.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    uint64_t insertion = 0;
    if (drive::OnDrive(native) && drive::CurrentInsertion(insertion) && insertion != 0) {
        id = insertion; // the board numbers its insertions
        return true;
    }
    id = static_cast<uint64_t>(st.st_dev) << 40 ^ static_cast<uint64_t>(st.st_ino);
    return true;
}

bool MoveFile(std::string_view from, std::string_view to) {
    if (FaultFires(FileOp::Move)) return false;
    const std::string src = MapPath(from);
    const std::string dst = MapPath(to);
    if (!Exists(src) || Exists(dst)) return false;
    if (rename(src.c_str(), dst.c_str()) == 0) return true;
    // Across file systems a file is copied and the original removed.
    if (errno != EXDEV || !CopyNative(src, dst, true)) return false;
    return unlink(src.c_str()) == 0;
}

bool DeleteFile(std::string_view path) {
    if (FaultFires(FileOp::Delete)) return false;
    return unlink(MapPath(path).c_str()) == 0;
}

bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    return CopyNative(MapPath(from), MapPath(to), failIfExists);
}

bool CreateDirectory(std::string_view path) {
    return mkdir(MapPath(path).c_str(), 0777) == 0;
}

bool RemoveDirectory(std::string_view path) {
    return rmdir(MapPath(path).c_str()) == 0;
}

bool TruncateFile(FILE* f, int64_t pos) {
    if (!f || pos < 0 || FaultFires(FileOp::Truncate)) return false;
    if (std::fflush(f) != 0) return false;
    return ftruncate(drive::Descriptor(f), static_cast<off_t>(pos)) == 0;
}

bool CommitFile(FILE* f) {
    if (!f || FaultFires(FileOp::Commit)) return false;
    if (std::fflush(f) != 0) return false;
    // A pipe or device has nothing to commit: once flushed, its data is written.
    return fsync(drive::Descriptor(f)) == 0 || errno == EINVAL || errno == EROFS;
}

namespace {

void StampFrom(const struct stat& st, FileStamp& out) {
    out.size = static_cast<int64_t>(st.st_size);
    out.modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    out.changedNs = static_cast<int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    out.device = static_cast<uint64_t>(st.st_dev);
    out.inode = static_cast<uint64_t>(st.st_ino);
}

} // namespace

bool GetFileStamp(FILE* f, FileStamp& out) {
    struct stat st {};
    if (!f || fstat(drive::Descriptor(f), &st) != 0) return false;
    StampFrom(st, out);
    return true;
}

bool GetPathStamp(std::string_view path, FileStamp& out) {
    struct stat st {};
    if (stat(MapPath(path).c_str(), &st) != 0) return false;
    StampFrom(st, out);
    return true;
}

// rename() replaces the target atomically: readers see the old file or the new one, never none.
bool ReplaceFile(std::string_view from, std::string_view to) {
    if (FaultFires(FileOp::Move)) return false;
    return rename(MapPath(from).c_str(), MapPath(to).c_str()) == 0;
}

bool CreateReplacement(std::string_view path, std::string& target, std::string& temp) {
    target.clear();
    temp.clear();
    if (FaultFires(FileOp::Open)) return false;
    char* resolved = realpath(MapPath(path).c_str(), nullptr);
    if (!resolved) return false;
    std::string real = resolved;
    free(resolved);
    struct stat st {};
    if (stat(real.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    // mkstemp opens with O_EXCL and retries with other names: an existing file is never reused.
    std::string name = real + ".XXXXXX";
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return false;
    // The owner first: changing it may clear set-id bits, which the mode then puts back.
    bool ok = (fchown(fd, st.st_uid, st.st_gid) == 0 || OwnedAlike(fd, st)) &&
              fchmod(fd, st.st_mode & 07777) == 0;
    ok = close(fd) == 0 && ok;
    if (!ok) {
        unlink(name.c_str());
        return false;
    }
    target = real;
    temp = name;
    return true;
}

bool CreateNewFileBeside(std::string_view path, std::string& target, std::string& temp) {
    target.clear();
    temp.clear();
    if (FaultFires(FileOp::Open)) return false;
    const std::string native = MapPath(path);
    // Mode 0666 as a new file gets it, less the umask; O_EXCL never takes an existing name.
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device seed;
    std::mt19937 pick(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = native + ".";
        for (int i = 0; i < 6; ++i)
            name += kLetters[pick() % (sizeof kLetters - 1)];
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        if (close(fd) != 0) {
            const int error = errno;
            unlink(name.c_str());
            errno = error;
            return false;
        }
        target = native;
        temp = name;
        return true;
    }
    return false;
}

} // namespace platform
