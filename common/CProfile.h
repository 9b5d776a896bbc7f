// CProfile: reader and writer of the system's profile (INI) files with its own parser: section
// and key search, typed getters, in-place rewrite of one key, a sequential writer for new
// files, and section enumeration. Lines end with CR LF when written; LF or CR LF are read;
// a line is read in pieces of at most 1023 bytes (a longer line counts as several lines, but
// a key is only ever inserted at a line end, and only the first piece of a line can be a
// header). A NUL byte is an ordinary byte of its line (a value ends there when read).
// Every section lookup checks that the path still names the open, unchanged file and reopens it
// otherwise, so changes made by other programs are seen; an index of the section headers,
// dropped whenever the file's size, times or identity change, keeps lookups and enumeration
// from rescanning the file.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/CDateTime.h"
#include "common/CFixed.h"
#include "common/CHFile.h"
#include "common/CStr.h"
#include "platform/Files.h"

class CProfile : public CHFile {
  public:
    static constexpr int kLineSize = 1024; // line buffer: pieces of at most 1023 bytes

    // The lines of one section, read in one pass: a reader of many keys of the same section
    // asks them here instead of searching the file once per key. Answers as GetString would
    // have when the section was read.
    class SectionKeys {
      public:
        const CStr& Section() const { return m_section; }
        int32_t GetString(const char* key, CStr& out) const; // "" and 0 when missing

      private:
        friend class CProfile;
        void Clear(const CStr& section);
        void Add(const char* piece);

        CStr m_section;
        std::string m_text;          // the pieces, each followed by a NUL byte
        std::vector<size_t> m_start; // where each piece begins in m_text
    };

    // Names the file; does not open it. A writable profile creates a missing file on first
    // access and keeps it open between reads; a read-only one closes it after each GetString.
    CProfile(const char* path, bool writable);
    ~CProfile();

    void SetSection(const char* section); // current section of the key operations
    const CStr& GetSection() const { return m_section; }

    // Value of the key in the current section with enclosing double quotes stripped; "" and 0
    // when the file, the section or the key is missing. Returns the value's length.
    int32_t GetString(const char* key, CStr& out);
    int32_t GetInt(const char* key); // 0 when missing
    // 0 when missing; a value beyond the fixed-point range reads as the nearest limit (CFixed
    // saturates), never as a wrapped value.
    CFixed& GetFixed(CFixed& out, const char* key);
    bool GetBool(const char* key); // Y, YES, S, SIM, 1, TRUE in any case; false when missing
    CDateTime& GetDateTime(CDateTime& out, const char* key); // null when missing or unparsable
    // True when the current section holds the key; the file stays open behind the key line.
    bool KeyExists(const char* key);
    // Key search from the current file position (no section lookup), up to the next header.
    int32_t GetStringHere(const char* key, CStr& out);
    // Reads the current section's lines into out; false (and out empty) when it is missing.
    bool GetSectionKeys(SectionKeys& out);

    // Writes the key in the current section: replaced in place when present, inserted behind the
    // section's last line otherwise, the section appended when missing. Returns the value's
    // length; 0 when the file cannot be opened, -1 when writing failed (the file then holds its
    // old content: a rewrite is built in a new file beside it and moved over it when complete).
    // A rewrite goes to the file a symbolic link names (the link stays), keeps the file's mode
    // and owner (it fails with -1 when the owner cannot be kept), and never replaces another
    // file: its temporary name is fresh. A file with several names (hard links) is replaced
    // under this name only: the other names keep the old content.
    int32_t SetString(const char* key, const CStr& value);
    // "yyyy/mm/dd hh:mm:ss"; a null value is written as "2000/01/01 00:00:00".
    int32_t SetDateTime(const char* key, const CDateTime& value);
    // Sequential writer for a fresh file: writes a header when the current section differs from
    // the last one written, then the key, at the current position. Keeps the file open.
    int32_t AppendKey(const char* key, const CStr& value);

    // Name of the n-th (1-based) section header; the file is left behind that header, so
    // GetStringHere reads its keys. False (and "") when there are fewer headers.
    bool GetSectionName(int32_t n, CStr& out);
    // The header after the one last returned; false when the enumeration ended or never started.
    bool GetNextSectionName(CStr& out);
    // Number of section headers in the file (0 when it cannot be opened).
    int32_t GetSectionCount();
    // All lines of the section as read, line ends included, up to the next header. Returns the
    // length; 0 when the section is missing.
    int32_t GetSectionText(const char* section, CStr& out);

  private:
    struct KeySearch {
        bool found = false;
        bool atEnd = false;  // the search ran into the end of the file
        FilePos restPos = 0; // where the text behind the key (or the stopping header) begins
    };
    struct Header {
        std::string name; // text behind "[" up to "]" or the end of its piece
        FilePos start;    // position of the header line
        FilePos behind;   // position behind the header's piece (its line goes on when !ended)
        bool closed;      // a "]" ends the name
        bool ended;       // the piece holds the whole line
    };

    bool FindSection(const char* name);
    bool FindIndexed(const std::string& name, const std::string& pattern);
    // The line at start still begins with the pattern and ends at behind.
    bool VerifyHeader(FilePos start, FilePos behind, const std::string& pattern);
    bool FindKey(const char* key, KeySearch* search = nullptr);
    int32_t ValueLength(CStr& out);          // quotes stripped, output set from m_value
    char* ReadPiece();                       // next line piece into m_line, null at the end
    bool IsEmptyPiece(const char* p) const;  // p: first non-blank of the piece
    bool IsHeaderPiece() const;              // a line's first piece that starts with "["
    void StandBehindHeader(const Header& h); // positioned as just after reading its piece
    void SkipRestOfLine();                   // behind the line end of the piece just read
    void Reopen();
    void OpenForLookup(); // reuses the open (or parked) file while it is unchanged, else Reopen
    bool StillCurrent(FILE* f); // the path names f's file, and f is as the caches saw it
    void Park();                // a read-only close that keeps the handle for the next lookup
    void DropParked();
    void CheckStamp(); // drops the caches when the file differs from the indexed one
    void BuildIndex();
    void DropCaches();
    bool AppendText(const std::string& text);
    bool RewriteTail(FilePos keepTo, const std::string& insert, FilePos restFrom);
    bool CopyRange(CHFile& out, FilePos from, FilePos to); // to -1: the end of the file
    bool LastLineNeedsBreak();

    char m_line[kLineSize] = {}; // last line read
    char* m_value = nullptr;     // start of the value in m_line after a successful key search
    int m_pieceLength = 0;       // bytes of the last piece read (it may hold NUL bytes)
    bool m_pieceEnded = true;    // the last piece read ends with its line end
    bool m_continuation = false; // the last piece read continues a longer line
    FilePos m_pieceEnd = -1;     // position behind the last piece read (or behind its line)
    FilePos m_lineStart = 0;     // start of the line the last piece read belongs to
    CStr m_section;              // current section
    CStr m_cached;               // section whose header m_sectionPos belongs to; empty when none
    bool m_keepOpen;             // equals the writable flag
    int32_t m_enumIndex = -1;    // last section returned by GetSectionName; -1 when none
    FilePos m_enumPos = 0;       // position behind that section's header
    FilePos m_keyPos = 0;        // start of the found key line, or the insertion point
    FilePos m_sectionPos = 0;    // position behind the cached section's header
    FilePos m_sectionStart = 0;  // position of the cached section's header line

    platform::FileStamp m_stamp;   // the file as the caches saw it
    bool m_stampValid = false;     // m_stamp describes the file behind m_cached and the index
    bool m_indexed = false;        // m_headers and m_byName are built
    bool m_appending = false;      // the last file operation was an AppendKey write
    FILE* m_parked = nullptr;      // handle kept by Park while the object reports itself closed
    std::vector<Header> m_headers; // every header line in file order
    std::unordered_map<std::string, size_t> m_byName; // upper-cased name -> first such header
};
