// Profile file parser and writer. Only the space counts as a blank; names compare without
// regard to (ASCII) letter case; the first matching header and key win.
#include "common/CProfile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kMaxPattern = 79; // "[" name "]" is cut to this length
constexpr int kCopyChunk = 65536;

const char* SkipBlanks(const char* p) {
    while (*p == ' ')
        ++p;
    return p;
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperText(const std::string& s) {
    std::string r(s);
    for (char& c : r)
        c = Upper(c);
    return r;
}

// The first n characters of text equal prefix without regard to case.
bool StartsWithNoCase(const char* text, const char* prefix, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        if (text[i] == 0 || Upper(text[i]) != Upper(prefix[i])) return false;
    }
    return true;
}

std::string Narrow(const CStr& s) {
    return s.Length() > 0 ? std::string(s.Narrow()) : std::string();
}

std::string HeaderPattern(const std::string& name) {
    std::string pattern = "[" + name + "]";
    if (pattern.size() > kMaxPattern) pattern.resize(kMaxPattern);
    return pattern;
}

// The value of key when the piece (blanks, the key in any case, blanks, "=") is its line; the
// value runs from the first non-blank behind "=" to the end of the text, less trailing blanks,
// CR and LF.
bool MatchKey(const char* piece, const char* key, size_t keyLength, const char*& value,
              size_t& valueLength) {
    const char* p = SkipBlanks(piece);
    if (!StartsWithNoCase(p, key, keyLength)) return false;
    const char* eq = SkipBlanks(p + keyLength);
    if (*eq != '=') return false;
    value = SkipBlanks(eq + 1);
    size_t n = std::strlen(value);
    while (n > 0 && (value[n - 1] == ' ' || value[n - 1] == '\r' || value[n - 1] == '\n'))
        --n;
    valueLength = n;
    return true;
}

// A value enclosed in double quotes loses them; a lone quote reads as empty.
int32_t AssignValue(const char* value, size_t n, CStr& out) {
    if (n > 0 && value[0] == '"' && value[n - 1] == '"') {
        n = n == 1 ? 0 : n - 2;
        if (n > 0) ++value;
    }
    char text[CProfile::kLineSize];
    n = std::min(n, sizeof text - 1); // a value lies within one piece
    std::memcpy(text, value, n);
    text[n] = 0;
    out = text;
    return out.Length();
}

// A complete pattern matches exactly the headers whose name (up to the first "]") is the name,
// so the index can answer for it; a cut one or a name holding "]" needs the line scan.
bool IndexCanAnswer(const std::string& name) {
    return name.size() + 2 <= kMaxPattern && name.find(']') == std::string::npos;
}

} // namespace

CProfile::CProfile(const char* path, bool writable)
    : CHFile(path, writable, "rb", "r+b"), m_keepOpen(writable) {}

CProfile::~CProfile() {
    DropParked();
    Close();
}

void CProfile::SetSection(const char* section) {
    m_section = section ? section : "";
}

// The length comes from the file position, not from strlen, so a NUL byte inside the line
// cannot hide its line end. A piece that starts where the previous one stopped without a line
// end continues that line.
char* CProfile::ReadPiece() {
    if (m_appending) {
        Seek(0, SEEK_CUR); // a read may follow a write only after a positioning call
        m_appending = false;
    }
    FilePos start = 0;
    GetPos(start);
    char* line = ReadLine(m_line, kLineSize);
    if (!line) return nullptr;
    FilePos end = 0;
    int length = GetPos(end) ? static_cast<int>(end - start) : 0;
    if (length <= 0 || length >= kLineSize) length = static_cast<int>(std::strlen(m_line));
    m_continuation = !m_pieceEnded && start == m_pieceEnd;
    if (!m_continuation) m_lineStart = start;
    m_pieceLength = length;
    m_pieceEnded = length > 0 && m_line[length - 1] == '\n';
    m_pieceEnd = end;
    return line;
}

bool CProfile::IsEmptyPiece(const char* p) const {
    return p - m_line >= m_pieceLength || *p == '\r' || *p == '\n';
}

// The rest of a long line is read as further lines, but never as a header: a header is only
// where a line begins.
bool CProfile::IsHeaderPiece() const {
    return !m_continuation && *SkipBlanks(m_line) == '[';
}

void CProfile::StandBehindHeader(const Header& h) {
    SetPos(h.behind);
    m_continuation = false;
    m_lineStart = h.start;
    m_pieceEnded = h.ended;
    m_pieceEnd = h.behind;
}

// Moves behind the line end of the piece just read (reading the rest of a long line).
void CProfile::SkipRestOfLine() {
    if (m_pieceEnded) return;
    int c;
    while ((c = std::fgetc(m_file)) != EOF && c != '\n') {
    }
    m_pieceEnded = true;
    GetPos(m_pieceEnd);
}

void CProfile::Reopen() {
    m_appending = false;
    m_pieceEnded = true; // what was read before says nothing about the file opened now
    m_pieceEnd = -1;
    DropParked();
    Close();
    Open();
}

void CProfile::DropParked() {
    if (m_parked) std::fclose(m_parked);
    m_parked = nullptr;
}

// The object looks closed as before, but the next lookup can take the handle back when the
// file has not changed; keeping a read handle open is not visible to other programs.
void CProfile::Park() {
    DropParked();
    m_parked = m_file;
    m_file = nullptr;
}

// The stdio buffer is emptied first (pending writes go out, read-ahead is dropped), so the next
// read comes from the file as it is now, exactly as after a reopen.
bool CProfile::StillCurrent(FILE* f) {
    if (!f || m_appending || !m_stampValid || std::fflush(f) != 0) return false;
    platform::FileStamp open;
    platform::FileStamp named;
    return platform::GetFileStamp(f, open) && open == m_stamp &&
           platform::GetPathStamp(Narrow(m_path), named) && named == open;
}

// A lookup on an unchanged file keeps its handle (not its read-ahead); a file rewritten, replaced,
// deleted or grown since the caches were built is opened anew.
void CProfile::OpenForLookup() {
    if (IsOpen() && StillCurrent(m_file)) {
        DropParked();
        return;
    }
    if (!IsOpen() && StillCurrent(m_parked)) {
        m_file = m_parked;
        m_parked = nullptr;
        return;
    }
    Reopen();
    if (IsOpen()) CheckStamp();
}

void CProfile::DropCaches() {
    m_cached.Clear();
    m_indexed = false;
    m_headers.clear();
    m_byName.clear();
}

void CProfile::CheckStamp() {
    platform::FileStamp stamp;
    if (!platform::GetFileStamp(m_file, stamp)) {
        DropCaches();
        m_stampValid = false;
        return;
    }
    if (!m_stampValid || stamp != m_stamp) {
        DropCaches();
        m_stamp = stamp;
        m_stampValid = true;
    }
}

void CProfile::BuildIndex() {
    m_headers.clear();
    m_byName.clear();
    SetPos(0);
    m_pieceEnded = true;
    while (ReadPiece()) {
        if (IsHeaderPiece()) {
            Header h;
            const char* name = SkipBlanks(m_line) + 1;
            const char* close = std::strchr(name, ']');
            const char* end = close;
            if (!end) {
                end = name + std::strlen(name);
                while (end > name && (end[-1] == '\r' || end[-1] == '\n'))
                    --end;
            }
            h.name.assign(name, static_cast<size_t>(end - name));
            h.start = m_lineStart;
            h.behind = m_pieceEnd; // the rest of a long header line is read as the section's
            h.ended = m_pieceEnded;
            h.closed = close != nullptr;
            if (h.closed) m_byName.emplace(UpperText(h.name), m_headers.size()); // first one wins
            m_headers.push_back(std::move(h));
        }
    }
    m_indexed = true;
}

bool CProfile::VerifyHeader(FilePos start, FilePos behind, const std::string& pattern) {
    SetPos(start);
    m_pieceEnded = true; // a header begins a line
    if (!ReadPiece()) return false;
    return m_pieceEnd == behind && IsHeaderPiece() &&
           StartsWithNoCase(SkipBlanks(m_line), pattern.data(), pattern.size());
}

bool CProfile::FindSection(const char* section) {
    std::string name = section ? section : "";
    if (name.empty()) {
        m_cached.Clear();
        return false;
    }
    OpenForLookup();
    if (!IsOpen()) {
        m_cached.Clear();
        return false;
    }
    std::string pattern = HeaderPattern(name);
    if (m_cached.Length() > 0 && m_cached == CStr(name.c_str())) {
        if (VerifyHeader(m_sectionStart, m_sectionPos, pattern))
            return true; // the file now stands behind the header
        DropCaches();    // the file changed under the same stamp
    }
    m_keyPos = 0;
    if (IndexCanAnswer(name)) return FindIndexed(name, pattern);
    SetPos(0);
    m_pieceEnded = true;
    while (ReadPiece()) {
        if (IsHeaderPiece() &&
            StartsWithNoCase(SkipBlanks(m_line), pattern.data(), pattern.size())) {
            m_cached = name.c_str();
            m_sectionStart = m_lineStart;
            m_sectionPos = m_pieceEnd;
            return true;
        }
    }
    m_cached.Clear();
    return false;
}

bool CProfile::FindIndexed(const std::string& name, const std::string& pattern) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!m_indexed) BuildIndex();
        auto it = m_byName.find(UpperText(name));
        if (it == m_byName.end()) break;
        const Header& h = m_headers[it->second];
        if (VerifyHeader(h.start, h.behind, pattern)) {
            m_cached = name.c_str();
            m_sectionStart = h.start;
            m_sectionPos = h.behind;
            return true; // the file now stands behind the header
        }
        DropCaches(); // headers moved although the stamp did not change: scan again
    }
    m_cached.Clear();
    Seek(0, SEEK_END);
    return false;
}

// The insertion point (m_keyPos) only ever moves to the end of a whole line: a line longer than
// a piece is read as several lines, but a new key must not be glued onto its first pieces.
bool CProfile::FindKey(const char* key, KeySearch* search) {
    KeySearch local;
    KeySearch& s = search ? *search : local;
    s = KeySearch();
    m_value = nullptr;
    if (!key || !*key || !IsOpen()) return false;
    size_t keyLength = std::strlen(key);
    GetPos(m_keyPos);
    for (;;) {
        FilePos before;
        GetPos(before);
        if (!ReadPiece()) {
            s.atEnd = true;
            s.restPos = before;
            return false;
        }
        if (IsEmptyPiece(SkipBlanks(m_line))) {
            // Empty lines do not move the insertion point; the line end of a long line does
            // (a blank piece in its middle is no place for a key).
            if (m_continuation && m_pieceEnded) m_keyPos = m_pieceEnd;
            continue;
        }
        if (IsHeaderPiece()) {
            // The rest keeps the whole line of the next header (never text before m_keyPos).
            s.restPos = m_lineStart > m_keyPos ? m_lineStart : m_keyPos;
            return false;
        }
        const char* value = nullptr;
        size_t n = 0;
        if (MatchKey(m_line, key, keyLength, value, n)) {
            m_value = m_line + (value - m_line);
            m_value[n] = 0;
            m_keyPos = before;
            SkipRestOfLine(); // a rewrite replaces the whole line
            GetPos(s.restPos);
            s.found = true;
            return true;
        }
        if (m_pieceEnded) m_keyPos = m_pieceEnd;
    }
}

int32_t CProfile::ValueLength(CStr& out) {
    return AssignValue(m_value, std::strlen(m_value), out);
}

int32_t CProfile::GetString(const char* key, CStr& out) {
    out = "";
    if (!FindSection(Narrow(m_section).c_str())) {
        Park();
        return 0;
    }
    int32_t length = FindKey(key) ? ValueLength(out) : 0;
    if (!m_keepOpen) Park();
    return length;
}

int32_t CProfile::GetInt(const char* key) {
    CStr value;
    GetString(key, value);
    return value.ToInt();
}

CFixed& CProfile::GetFixed(CFixed& out, const char* key) {
    CStr value;
    GetString(key, value);
    out.FromDouble(value.ToDouble());
    return out;
}

bool CProfile::GetBool(const char* key) {
    static const char* const kYes[] = {"Y", "YES", "S", "SIM", "1", "TRUE"};
    CStr value;
    if (GetString(key, value) == 0) return false;
    value.MakeUpper();
    for (const char* yes : kYes) {
        if (value.Compare(yes) == 0) return true;
    }
    return false;
}

CDateTime& CProfile::GetDateTime(CDateTime& out, const char* key) {
    out.SetNull();
    CStr value;
    if (GetString(key, value) > 0) out.Parse(value.Narrow());
    return out;
}

bool CProfile::KeyExists(const char* key) {
    return FindSection(Narrow(m_section).c_str()) && FindKey(key);
}

int32_t CProfile::GetStringHere(const char* key, CStr& out) {
    out = "";
    return FindKey(key) ? ValueLength(out) : 0;
}

bool CProfile::GetSectionKeys(SectionKeys& out) {
    out.Clear(m_section);
    const bool found = FindSection(Narrow(m_section).c_str());
    if (found) {
        while (ReadPiece() && !IsHeaderPiece())
            out.Add(m_line);
    }
    if (!found || !m_keepOpen) Park();
    return found;
}

void CProfile::SectionKeys::Clear(const CStr& section) {
    m_section = section;
    m_text.clear();
    m_start.clear();
}

void CProfile::SectionKeys::Add(const char* piece) {
    m_start.push_back(m_text.size());
    m_text.append(piece);
    m_text.push_back(0);
}

// The first matching line wins, as in the file's key search.
int32_t CProfile::SectionKeys::GetString(const char* key, CStr& out) const {
    out = "";
    if (!key || !*key) return 0;
    const size_t keyLength = std::strlen(key);
    for (size_t start : m_start) {
        const char* value = nullptr;
        size_t n = 0;
        if (MatchKey(m_text.data() + start, key, keyLength, value, n))
            return AssignValue(value, n, out);
    }
    return 0;
}

bool CProfile::AppendText(const std::string& text) {
    if (!Seek(0, SEEK_END)) return false;
    int n = static_cast<int>(text.size());
    return WriteBytes(text.data(), n) == n && Flush();
}

// True when text appended at the end must start with a line break: the last line has no line
// end or is shorter than two characters. A CR alone ends no line when the file is read, so a
// key appended behind it would be glued onto the last line.
bool CProfile::LastLineNeedsBreak() {
    FilePos end = 0;
    if (!Seek(0, SEEK_END) || !GetPos(end) || end < 2) return true;
    char tail[2];
    if (!Seek(-2, SEEK_END) || Read(tail, 2) != 2) return true;
    if (tail[1] != '\n') return true;
    return tail[0] == '\n';
}

bool CProfile::CopyRange(CHFile& out, FilePos from, FilePos to) {
    if (!SetPos(from)) return false;
    std::vector<char> buffer(kCopyChunk);
    FilePos pos = from;
    while (to < 0 || pos < to) {
        int want = kCopyChunk;
        if (to >= 0 && to - pos < want) want = static_cast<int>(to - pos);
        int got = Read(buffer.data(), want);
        if (got <= 0) return to < 0; // the end of the file ends an open range
        if (out.WriteBytes(buffer.data(), got) != got) return false;
        pos += got;
    }
    return true;
}

// Builds the new file beside the old one (beside a link's target): the text before keepTo, the
// inserted text, the text from restFrom on; commits it and moves it over the old file. Any
// failure leaves the old file as it was and removes the partial copy.
bool CProfile::RewriteTail(FilePos keepTo, const std::string& insert, FilePos restFrom) {
    std::string target;
    std::string temp;
    bool ok = platform::CreateReplacement(Narrow(m_path), target, temp);
    if (ok) {
        CHFile out(temp.c_str(), true, "rb", "r+b");
        int n = static_cast<int>(insert.size());
        ok = out.Open() && CopyRange(out, 0, keepTo) && out.WriteBytes(insert.data(), n) == n &&
             CopyRange(out, restFrom, -1) && out.Flush();
    }
    Close();
    if (ok) ok = platform::ReplaceFile(temp, target);
    if (!ok && !temp.empty()) platform::DeleteFile(temp);
    return ok;
}

int32_t CProfile::SetString(const char* key, const CStr& value) {
    std::string section = Narrow(m_section);
    if (!key || !*key || section.empty()) return 0;
    if (!m_writable) return -1; // the rewrite must not go around a read-only profile
    std::string line = std::string(key) + "=" + Narrow(value) + "\r\n";
    bool ok;
    if (FindSection(section.c_str())) {
        KeySearch search;
        bool found = FindKey(key, &search);
        if (!found && search.atEnd)
            ok = AppendText((LastLineNeedsBreak() ? "\r\n" : "") + line);
        else
            ok = RewriteTail(m_keyPos, found ? line : line + "\r\n", search.restPos);
    } else if (IsOpen()) {
        ok = AppendText("\r\n[" + section + "]\r\n" + line);
    } else {
        return 0;
    }
    DropCaches(); // positions have changed
    m_stampValid = false;
    Close();
    return ok ? value.Length() : -1;
}

int32_t CProfile::SetDateTime(const char* key, const CDateTime& value) {
    CStr text;
    if (value.IsNull())
        text = "2000/01/01 00:00:00";
    else
        text.Format("%04d/%02d/%02d %02d:%02d:%02d", value.Year(), value.Month(), value.Day(),
                    value.Hour(), value.Minute(), value.Second());
    return SetString(key, text);
}

int32_t CProfile::AppendKey(const char* key, const CStr& value) {
    DropParked();
    if (!IsOpen()) {
        Open();
        m_cached.Clear();
    }
    std::string text = std::string(key ? key : "") + "=" + Narrow(value) + "\r\n";
    if (m_cached.CompareNoCase(m_section) != 0) {
        text = "\r\n[" + Narrow(m_section) + "]\r\n" + text;
        m_cached = m_section;
    }
    // The index no longer describes the file; m_cached now names the last section written.
    m_indexed = false;
    m_headers.clear();
    m_byName.clear();
    m_stampValid = false;
    int n = static_cast<int>(text.size());
    // A write may follow a read only after a positioning call; a run of appends needs none,
    // and without it stdio keeps collecting the keys instead of writing each one out.
    if (!m_appending) Seek(0, SEEK_CUR);
    m_appending = true;
    return WriteBytes(text.data(), n) == n ? value.Length() : -1;
}

bool CProfile::GetSectionName(int32_t n, CStr& out) {
    m_cached.Clear();
    out = "";
    OpenForLookup();
    if (!IsOpen()) return false;
    if (!m_indexed) BuildIndex();
    if (n >= 1 && static_cast<size_t>(n) <= m_headers.size()) {
        const Header& h = m_headers[static_cast<size_t>(n) - 1];
        out = h.name.c_str();
        m_enumIndex = n;
        m_enumPos = h.behind;
        StandBehindHeader(h);
        return true;
    }
    m_enumIndex = -1;
    m_enumPos = 0;
    Seek(0, SEEK_END);
    return false;
}

bool CProfile::GetNextSectionName(CStr& out) {
    if (m_enumIndex <= 0) {
        out = "";
        return false;
    }
    return GetSectionName(m_enumIndex + 1, out);
}

int32_t CProfile::GetSectionCount() {
    OpenForLookup();
    if (!IsOpen()) return 0;
    if (m_indexed)
        SetPos(0); // where a fresh open would stand
    else
        BuildIndex();
    return static_cast<int32_t>(m_headers.size());
}

int32_t CProfile::GetSectionText(const char* section, CStr& out) {
    out = "";
    if (!FindSection(section)) {
        Park();
        return 0;
    }
    while (ReadPiece()) {
        if (IsHeaderPiece()) break;
        if (out.Length() + std::strlen(m_line) > static_cast<size_t>(CStr::kMaxLength))
            break; // keep whole lines only
        out.Append(m_line);
    }
    Park();
    return out.Length();
}
