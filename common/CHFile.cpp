#include "common/CHFile.h"

#include <climits>
#include <cstdarg>

#include "platform/Files.h"

namespace {

constexpr const char* kDefaultReadMode = "rb";
constexpr const char* kDefaultWriteMode = "r+b";
constexpr const char* kCreateMode = "a+"; // creates a missing file without touching an existing one

} // namespace

CHFile::CHFile() : m_path("") {}

CHFile::CHFile(const char* path, bool writable, const char* readMode, const char* writeMode)
    : m_path(path ? path : ""), m_writable(writable),
      m_readMode(readMode ? readMode : kDefaultReadMode),
      m_writeMode(writeMode ? writeMode : kDefaultWriteMode) {}

CHFile::~CHFile() {
    Close();
}

void CHFile::Close() {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
}

bool CHFile::Open() {
    Close();
    // An empty path would otherwise reach the open call as the null state's "<null>".
    if (m_path.Length() == 0) return false;
    const char* path = m_path.Narrow();
    m_file = platform::OpenFile(path, m_writable ? m_writeMode : m_readMode);
    if (!m_file && m_writable) {
        // "r+b" needs an existing file: create it empty first, then open it as asked.
        if (FILE* created = platform::OpenFile(path, kCreateMode)) {
            std::fclose(created);
            m_file = platform::OpenFile(path, m_writeMode);
        }
    }
    return m_file != nullptr;
}

bool CHFile::SetWritable(bool writable) {
    if (writable == m_writable) return IsOpen();
    m_writable = writable;
    return Open();
}

bool CHFile::OpenAs(const char* path, bool writable, const char* readMode, const char* writeMode) {
    m_path = path ? path : "";
    m_writable = writable;
    m_readMode = readMode ? readMode : kDefaultReadMode;
    m_writeMode = writeMode ? writeMode : kDefaultWriteMode;
    return Open();
}

void CHFile::SetName(const char* path) {
    m_path = path ? path : "";
}

namespace {

// Size of an open stream, leaving its position where it was; -1 on failure or beyond 2 GB.
int32_t StreamSize(FILE* f, bool restore) {
    long pos = restore ? std::ftell(f) : 0;
    if (pos < 0 || std::fseek(f, 0, SEEK_END) != 0) return -1;
    long end = std::ftell(f);
    if (restore) std::fseek(f, pos, SEEK_SET);
    return end >= 0 && end <= INT32_MAX ? static_cast<int32_t>(end) : -1;
}

} // namespace

int32_t CHFile::Size() {
    if (m_file) return StreamSize(m_file, true);
    // A closed file is measured through the read mode, so asking its size never creates it.
    if (m_path.Length() == 0) return -1;
    FILE* f = platform::OpenFile(m_path.Narrow(), m_readMode);
    if (!f) return -1;
    int32_t size = StreamSize(f, false);
    std::fclose(f);
    return size;
}

bool CHFile::AtEnd() const {
    return !m_file || std::feof(m_file) != 0;
}

bool CHFile::Truncate() {
    if (!m_file || std::fflush(m_file) != 0) return false;
    long pos = std::ftell(m_file);
    return pos >= 0 && platform::TruncateFile(m_file, pos);
}

bool CHFile::Exists() {
    Close();
    return m_path.Length() > 0 &&
           platform::GetFileKind(m_path.Narrow()) == platform::FileKind::File;
}

bool CHFile::DirExists() {
    Close();
    return m_path.Length() > 0 &&
           platform::GetFileKind(m_path.Narrow()) == platform::FileKind::Directory;
}

bool CHFile::Rename(const char* newPath) {
    Close();
    CStr from = m_path;
    m_path = newPath ? newPath : "";
    if (from.Length() == 0 || m_path.Length() == 0) return false;
    return platform::MoveFile(from.Narrow(), m_path.Narrow());
}

bool CHFile::Delete() {
    Close();
    return m_path.Length() > 0 && platform::DeleteFile(m_path.Narrow());
}

bool CHFile::GetPos(FilePos& pos) const {
    pos = 0;
    if (!m_file) return false;
    long p = std::ftell(m_file);
    if (p < 0) return false;
    pos = p;
    return true;
}

bool CHFile::SetPos(const FilePos& pos) {
    return m_file && std::fseek(m_file, static_cast<long>(pos), SEEK_SET) == 0;
}

char* CHFile::ReadLine(char* buffer, int size) {
    if (!m_file || !buffer || size < 1) return nullptr;
    return std::fgets(buffer, size, m_file);
}

int CHFile::Read(void* buffer, int n) {
    if (!m_file || !buffer || n <= 0) return 0;
    return static_cast<int>(std::fread(buffer, 1, static_cast<size_t>(n), m_file));
}

int CHFile::WriteBytes(const void* data, int n) {
    if (!m_file || !data || n <= 0 || platform::WriteFaultFires()) return 0;
    return static_cast<int>(std::fwrite(data, 1, static_cast<size_t>(n), m_file));
}

// A closed file reports the stdio failure (EOF), which cannot be mistaken for success.
int CHFile::PutString(const char* text) {
    if (!m_file || !text || platform::WriteFaultFires()) return EOF;
    return std::fputs(text, m_file);
}

int CHFile::PutChar(int c) {
    if (!m_file || platform::WriteFaultFires()) return EOF;
    return std::fputc(c, m_file);
}

int CHFile::GetChar() {
    return m_file ? std::fgetc(m_file) : 0;
}

int CHFile::Print(const char* format, ...) {
    if (!m_file || !format || platform::WriteFaultFires()) return 0;
    va_list args;
    va_start(args, format);
    int n = std::vfprintf(m_file, format, args);
    va_end(args);
    return n;
}

bool CHFile::Flush() {
    if (!m_file) return false;
    bool flushed = std::fflush(m_file) == 0;
    bool committed = platform::CommitFile(m_file);
    return flushed && committed;
}

bool CHFile::Seek(int64_t offset, int origin) {
    return m_file && std::fseek(m_file, static_cast<long>(offset), origin) == 0;
}
