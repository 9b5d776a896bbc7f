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

enum class FileKind { Missing, File, Directory };
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

} // namespace platform
