// File services: stdio open with path mapping and shared access, attributes, move, delete,
// truncate, commit to disk, directories. Paths are program paths (see Paths.h).
// Every operation can be made to fail by a test through the fault hook below.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace platform {

// Opens with a stdio mode; a "t" (text) in the mode is accepted and means the platform's line
// ends. Other readers and writers are allowed. Null on failure.
FILE* OpenFile(std::string_view path, const char* mode);

// An identity of the medium mounted at the folder path that changes whenever a medium is put in
// there again: a pen drive pulled and plugged back is a new insertion. False when the path is not
// a folder.
bool GetMediaId(std::string_view path, uint64_t& id);

// Other: a device, pipe or socket, which is written into as it is and never deleted as a file.
enum class FileKind { Missing, File, Directory, Other };
FileKind GetFileKind(std::string_view path);

// All return true on success.
bool MoveFile(std::string_view from, std::string_view to); // fails when 'to' exists
bool DeleteFile(std::string_view path);
bool CopyFile(std::string_view from, std::string_view to, bool failIfExists);
bool CreateDirectory(std::string_view path);
bool RemoveDirectory(std::string_view path);
// Cuts the open file at byte position pos (the stdio buffer is flushed first).
bool TruncateFile(FILE* f, int64_t pos);
// Flushes the stdio buffer and commits the file's data to the disk.
bool CommitFile(FILE* f);

// Fault injection for tests: the n-th (1-based) call of the operation from now on fails.
enum class FileOp { Open, Move, Delete, Truncate, Commit, Write };
void FailFileOp(FileOp op, int nth);
void ClearFileFaults();
// Used by callers that write through stdio: true when an injected write fault fires now.
bool WriteFaultFires();

// Size, modification and status-change times (ns) and identity of an open file, so a caller can
// tell by comparing two stamps whether the file changed in between. False on failure.
struct FileStamp {
    int64_t size = -1;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator==(const FileStamp& o) const {
        return size == o.size && modifiedNs == o.modifiedNs && changedNs == o.changedNs &&
               device == o.device && inode == o.inode;
    }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};
bool GetFileStamp(FILE* f, FileStamp& out);
// The stamp of the file the path names now (false when it is missing), so a caller holding the
// file open can tell whether the path still names the same, unchanged file.
bool GetPathStamp(std::string_view path, FileStamp& out);
// Moves 'from' over 'to' in one step, replacing an existing 'to'; when it fails 'to' is left as
// it was. Subject to the Move fault.
bool ReplaceFile(std::string_view from, std::string_view to);

// Prepares a crash-safe rewrite of the existing file 'path' names. 'target' receives the file
// the path finally names (symbolic links followed, so a link stays a link and its target is
// rewritten), 'temp' a new, empty file beside the target under a fresh name that never replaces
// an existing file, already carrying the target's permission bits and owner. Both are native
// paths, usable with every call here. The caller fills 'temp', commits it and moves it over
// 'target' with ReplaceFile. False, with nothing left behind, when the target is not a regular
// file, or the new file cannot be created or given the target's mode and owner. Subject to the
// Open fault.
bool CreateReplacement(std::string_view path, std::string& target, std::string& temp);

// The same for a file that does not exist yet: 'target' receives the native path, 'temp' a new,
// empty file in the same folder under a fresh name, with the mode a new file gets there. The
// caller fills 'temp', commits it and moves it into place with ReplaceFile, so the name appears
// only with its whole content. False, with nothing left behind, when the new file cannot be
// created (its reason in LastFileErrorText). Subject to the Open fault.
bool CreateNewFileBeside(std::string_view path, std::string& target, std::string& temp);

// Why the last failed file operation of this thread failed, in a few words for a message:
// "no such folder" (or "no such file" when reading), "is a folder", "disk full",
// "permission denied", "read-only disk", or the system's own text. Read it right after the
// failure, before other calls.
const char* LastFileErrorText(bool reading);

} // namespace platform
