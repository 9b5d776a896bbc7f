// CLog: the one log writer of every native program. Records are formatted into a 4096-byte
// buffer and handed to a rotating log file (B.L00, B.L01, archives "BLnn.zip") and an output
// hook; the console shows each record at once. Records, Flush and FlushIfIdle may come from several
// threads; SetPath, SetBase, EnableFile and Close only from the owner while no other thread logs.
// The board build compresses B.L01 with the archiver "\DAVozuz\QVForecourt\QVZip.exe".
#pragma once
#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/CDateTime.h"
#include "common/CHFile.h"
#include "common/CStr.h"
#include "common/CTimer.h"
#include "platform/Sync.h"

class CLog : protected CHFile {
  public:
    static constexpr int kBufferSize = 4096;
    static constexpr int kRecordMax = 1024;  // characters of one record before its line end
    static constexpr int kEventTextMax = 80; // bytes of an event message, terminator included
    static constexpr int kDateTextSize = 64; // "07/01/2025 16:50:27" and room to spare
    static constexpr const char* kArchiver = "\\DAVozuz\\QVForecourt\\QVZip.exe";

    // Names the file base + ".L00"; writes START and checks the size when writeStart is set.
    CLog(const char* base, const char* title, int16_t timeMode, int32_t maxSize, int16_t maxFiles,
         bool writeStart, bool keepOpen);
    // Output hook: receives each chunk of text emitted while m_hook is set.
    virtual void OnOutput(const char* text);
    virtual ~CLog();
    virtual void Reserved1() {}
    virtual int Reserved2() { return 0; }

    // Moves the log into dir; on return dir holds dir + "\" + the name part of the base path.
    // A new directory discards the file written so far; the same one closes it with STOP.
    void SetPath(CStr& dir, int32_t maxSize, int16_t maxFiles);
    // Renames the log as a whole: the old file gets the buffered records, the new one START.
    void SetBase(const char* base);
    void SetLimits(int32_t maxSize, int16_t maxFiles);
    void EnableFile(bool enable);

    // Records: prefix by m_timeMode, message, line end; cut at kRecordMax characters.
    void Log(uint8_t level, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void Write(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void WriteV(const char* format, va_list args);
    void WriteError(int32_t line, const char* file, const char* format, ...)
        __attribute__((format(printf, 4, 5)));
    // CSV event record, written out to the file at once.
    void WriteEvent(int32_t category, int32_t action, int32_t id, int32_t value, const char* format,
                    ...) __attribute__((format(printf, 6, 7)));
    // kind 1: digits print as text; 2: characters 32..125; else none. number < 0: no number.
    void WriteDump(const char* caption, const char* prefix, const uint8_t* bytes, int32_t count,
                   int32_t number, int32_t kind);
    // Appends the formatted text unchanged: no prefix, no line end.
    void WriteRaw(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Flush();
    void FlushIfIdle(); // only after 500 ms without appends
    // STOP record; afterwards records reach no output. Then waits up to 3 s for an archive step
    // still running (board build), so a short run's B.L01 is archived before the program ends.
    void Close();
    uint8_t GetLevel() const { return m_level; }

    // Current log file name (B + ".L00").
    const CStr& FileName() const { return GetName(); }

    // The names a rotation moves, oldest first: each step deletes 'to' and renames 'from' to it.
    struct RenameStep {
        std::string from;
        std::string to;
    };
    static std::vector<RenameStep> ArchiveChain(const std::string& base, int maxFiles);

    // Public settings that owners assign directly.
    bool m_screen = false;     // console output, each record as it is written
    bool m_keepOpen;           // keep the file open between writes
    bool m_stackTrace = false; // kept for the owner; never read here
    uint8_t m_level = 1;       // threshold for Log
    bool m_hook = false;       // OnOutput receives the output
    int32_t m_maxSize;         // rotate above this many bytes
    int16_t m_maxFiles;        // archive slots kept

  protected:
    void WriteStartRecord();
    void CheckRotate();
    void AppendToBuffer(const char* text, int length);
    void FlushBuffer();
    void Emit(const char* text, int length);
    void WriteStopRecord();

    CStr m_base;                      // base path without extension
    CStr m_dir;                       // directory given to SetPath; empty until then
    CStr m_title;                     // shown in START, STOP and TIME records
    CStr m_header;                    // when set, written instead of the START record
    bool m_enabled = true;            // master switch
    CDateTime m_stamp;                // date-time of the last date-stamped record
    int16_t m_timeMode;               // record prefix style 0..3
    CTimer m_recTimer;                // since the previous record
    bool m_file = true;               // file output
    platform::CriticalSection m_lock; // guards the buffer, the outputs and the record timing
    char m_buffer[kBufferSize + 4];   // records not yet emitted, NUL-terminated
    char* m_writePtr;                 // end of the buffered text
    bool m_dirty = false;             // text appended since the last idle flush
    CTimer m_flushTimer;              // since the last append

  private:
    bool HasOutput() const;
    // The prefix of m_timeMode for a record 'ms' after the previous one; caller holds m_lock.
    int FormatPrefix(const CDateTime& now, int32_t ms, char* out, int size);
    const char* StampText(); // caller holds m_lock
    void AppendRecord(const char* prefix, int prefixLen, const char* message, int messageLen,
                      uint32_t tick);
    // Appends a, b and a line end when asked (at most kBufferSize bytes in all); 'tick'
    // restarts m_flushTimer. Caller holds m_lock.
    void AppendParts(const char* a, int lenA, const char* b, int lenB, bool lineEnd, uint32_t tick);
    void RotateFiles();
    void StartArchiver();
    void WaitForArchiver();       // bounded; returns at once when no archive step runs
    std::string BaseText() const; // m_base as narrow text

    uint64_t m_stampTextSecond = ~0ULL;   // second of m_stamp that m_stampText shows
    char m_stampText[kDateTextSize] = {}; // date-time text of that second
    // Set while this log's archiver runs; shared with the archive thread, which may outlive us.
    std::shared_ptr<std::atomic<bool>> m_archiving = std::make_shared<std::atomic<bool>>(false);
};
