// CHFile: one buffered stdio file with its path and its pair of open modes (one for reading,
// one for writing), so the same wrapper serves text logs and untranslated profiles.
// Every operation fails quietly: a closed file reads 0 or null and tests false.
#pragma once
#include <cstdint>
#include <cstdio>

#include "common/CStr.h"

typedef int64_t FilePos; // a position object starts at 0

class CHFile {
public:
    CHFile(); // empty path, read-only, "rb" / "r+b"
    CHFile(const char* path, bool writable, const char* readMode, const char* writeMode);
    ~CHFile();
    CHFile(const CHFile&) = delete;
    CHFile& operator=(const CHFile&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    void Close();
    // Opens with the write mode when writable, else the read mode; a writable object whose mode
    // needs an existing file creates it empty ("a+") first.
    bool Open();
    bool SetWritable(bool writable);
    bool OpenAs(const char* path, bool writable, const char* readMode, const char* writeMode);
    void SetName(const char* path);
    const CStr& GetName() const { return m_path; }

    int32_t Size(); // -1 on failure
    bool AtEnd() const;
    bool Truncate();
    bool Exists();
    bool DirExists();
    bool Rename(const char* newPath); // the path becomes newPath even on failure
    bool Delete();
    bool GetPos(FilePos& pos) const;
    bool SetPos(const FilePos& pos);
    char* ReadLine(char* buffer, int size);
    int Read(void* buffer, int n);
    int WriteBytes(const void* data, int n);
    int PutString(const char* text);
    int PutChar(int c);
    int GetChar(); // 0 when closed
    int Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    bool Flush(); // stdio flush and commit to disk
    bool Seek(int64_t offset, int origin); // SEEK_SET, SEEK_CUR, SEEK_END

protected:
    FILE* m_file = nullptr; // null while closed
    CStr m_path;
    bool m_writable = false;
    const char* m_readMode = "rb";
    const char* m_writeMode = "r+b";
};
