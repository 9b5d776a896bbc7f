// CStr: the system's string. 16-bit characters with an explicit 16-bit length (at most 32767),
// a narrow (low 8 bits) view for the run-time library and the log, and the parsing, case and
// accent folding rules that the profile reader and the configuration import rely on.
#pragma once
#include <cstddef>
#include <cstdint>

class CStr {
  public:
    static constexpr int kMaxLength = 32767;

    // Constructors from text longer than 32767 characters give the null state.
    CStr(); // null state
    CStr(std::nullptr_t) : CStr() {}
    CStr(const char* text);             // each byte one character; null gives the null state
    CStr(const char* bytes, int count); // multibyte conversion; the length is count
    CStr(const char16_t* text);         // null gives the null state
    CStr(const char16_t* text, int count);
    CStr(const CStr& other);
    CStr& operator=(const CStr& other);
    CStr& operator=(const char* text);
    CStr& operator=(const char16_t* text);
    CStr& operator=(std::nullptr_t) {
        Clear();
        return *this;
    }
    ~CStr();

    // Loads a string resource (at most 287 characters); true when the loaded length is not 0.
    bool LoadString(unsigned id);
    // printf into at most 1024 bytes / 1024 wide characters, then assigned.
    CStr& Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    CStr& Format(const char16_t* format, ...);
    void Clear(); // frees both buffers: null state

    int16_t Length() const;
    bool IsNull() const { return m_wide == nullptr; }
    // "<null>" in the null state, "" for empty text; valid until the next view or change.
    const char* Narrow() const;
    // u"<null>" in the null state.
    const char16_t* Wide() const;
    // 1-based; out of range gives a shared 0 character.
    const char16_t& At(int pos) const;
    // 1-based position of sub at or after start (below 1 counts as 1), 0 when absent, when sub
    // is empty or in the null state.
    int Find(const CStr& sub, int start = 1) const;

    int CompareNoCase(const CStr& other) const; // -1, 0, 1
    bool operator==(const CStr& other) const { return CompareNoCase(other) == 0; }
    bool operator!=(const CStr& other) const { return CompareNoCase(other) != 0; }
    // Case-sensitive, unsigned codes; a null narrow pointer compares greater than every string.
    // The null state compares as empty text.
    int Compare(const char* text) const;

    // Changes; all return the string itself and are refused beyond 32767 characters.
    CStr& Append(const CStr& other);
    CStr& Append(const char* text);
    CStr& Append(char16_t c);
    CStr& operator+=(const CStr& other) { return Append(other); }
    CStr& operator+=(const char* text) { return Append(text); }
    CStr& operator+=(char16_t c) { return Append(c); }
    CStr& Mid(int start, int count);
    CStr& PadRight(int length, char16_t c);
    CStr& PadLeft(int length, char16_t c);
    CStr& Fill(int length, char16_t c);
    CStr& TrimLeft();
    CStr& TrimRight();
    CStr& RemoveChars(const char16_t* set);
    CStr& ToHex();
    CStr& MakeUpper();
    CStr& MakeLower();
    CStr& RemoveAccents();

    // Parsing (the string is unchanged).
    int32_t ToInt() const;
    int64_t ToInt64() const;
    double ToDouble() const;
    uint64_t HexToInt64() const;

    // Number of live CStr objects (diagnostics).
    static long LiveCount();

  private:
    bool Reserve(int n, bool keep); // capacity for n characters; false when n is too long
    void SetLength(int n);
    void Assign(const char16_t* text, int n);  // text may point into this string
    void AssignBytes(const char* text, int n); // each byte one character

    // The capacities are wider than the 16-bit length: 32767 characters need 32800 slots.
    int32_t m_capacity = 0;     // slots of m_wide: length slot, characters, terminator
    char16_t* m_wide = nullptr; // [0] length, [1..n] characters, [n+1] 0; null in the null state
    mutable int32_t m_narrowCapacity = 0; // bytes of m_narrow
    mutable char* m_narrow = nullptr;     // last narrow view handed out
};

// Converts hexadecimal digits without skipping anything: A-F/a-f are 10-15, any other character
// counts as its code minus 48.
uint64_t HexStrToInt64(const CStr& s);
