// The log writer. Records are built on the caller's stack and appended under m_lock; m_lock
// also covers the outputs, so each output receives whole buffers in order, and the record
// timing (m_stamp, m_recTimer), so the milliseconds printed follow the order in the file.
#include "common/CLog.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/Clock.h"
#include "platform/Console.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/Text.h"
#include "platform/Thread.h"

namespace {

constexpr bool kBoardBuild = QV_BOARD_BUILD;

constexpr std::array<const char*, 17> kCategoryCodes = {
    "SRVC", "PUMP", "TANK", "HOSE", "GRAD", "QVID", "ATTD", "CARD", "PORT",
    "PROC", "POS ", "ATG ", "SENS", "PRSG", "PROD", "MVC ", "USER"};
constexpr std::array<const char*, 15> kActionCodes = {"INIT", "TERM", "STRT", "STOP", "SPST",
                                                      "ADD ", "DEL ", "EDIT", "PRIC", "OFPR",
                                                      "OFLN", "EREV", "QVER", "MEM ", "RSET"};
constexpr const char* kUnknownCode = "*UNK";
constexpr int kHexCategory = 5; // its identifiers print in hexadecimal

constexpr int kDateTextSize = CLog::kDateTextSize;
constexpr uint64_t kFileTimePerSecond = 10000000; // 100-ns units
constexpr int32_t kTimeLineSeconds = 60;
constexpr int32_t kIdleFlushMs = 500;
constexpr uint32_t kArchiverDelayMs = 100;
constexpr uint32_t kArchiverPollMs = 100;
// Close waits this long for an archive step still running, so that a short run (one export)
// still gets its B.L01 archived before the process ends; a hung archiver cannot hold it longer.
constexpr uint32_t kCloseWaitMs = 3000;
constexpr uint32_t kCloseWaitStepMs = 10;

template <size_t N> const char* CodeAt(const std::array<const char*, N>& table, int32_t index) {
    return index >= 0 && static_cast<size_t>(index) < N ? table[index] : kUnknownCode;
}

// The characters a snprintf-style call really wrote into a buffer of 'size' bytes.
int Written(int result, int size) {
    return std::clamp(result, 0, size - 1);
}

// "07/01/2025 16:50:27" into a buffer of the caller's (each thread formats into its own).
const char* DateText(const CDateTime& when, char (&out)[kDateTextSize]) {
    out[0] = 0;
    when.Format(out, kDateTextSize, u"dd'/'MM'/'yyyy", u"HH':'mm':'ss");
    return out;
}

// "%6d" into out (at least 13 bytes), NUL-terminated.
void PutWidth6(char* out, int32_t value) {
    char digits[12];
    int n = 0;
    uint32_t u = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        digits[n++] = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u);
    if (value < 0) digits[n++] = '-';
    int len = 0;
    for (int pad = 6 - n; pad > 0; --pad)
        out[len++] = ' ';
    while (n)
        out[len++] = digits[--n];
    out[len] = 0;
}

// --- message formatting ----------------------------------------------------------------------
//
// Records are formatted on every call, so the conversions that log messages use are done here
// without the C library's general printf: flags "-0+ ", a width, a precision, the length
// modifiers hh h l ll z and the conversions d i u x X c s %. Anything else (a '*' width, floating
// point, '#', wide text, a null string) makes FormatMessage give up, and the caller formats the
// whole message with vsnprintf instead; the text is the same either way.

struct Conversion {
    bool left = false, zero = false, plus = false, space = false;
    int width = 0;
    int precision = -1;
    int length = 0; // -2 hh, -1 h, 0 int, 1 l, 2 ll, 3 z
    char conversion = 0;
};

// Appends to a buffer of 'size' bytes, keeping one for the terminator; text beyond is cut.
class Out {
  public:
    Out(char* out, int size) : m_out(out), m_end(size - 1) {}
    void Put(char c) {
        if (m_n < m_end) m_out[m_n++] = c;
    }
    void Put(const char* text, int n) {
        n = std::min(n, m_end - m_n);
        std::memcpy(m_out + m_n, text, static_cast<size_t>(n));
        m_n += n;
    }
    void Fill(char c, int n) {
        n = std::min(n, m_end - m_n);
        if (n > 0) std::memset(m_out + m_n, c, static_cast<size_t>(n));
        if (n > 0) m_n += n;
    }
    int Done() {
        m_out[m_n] = 0;
        return m_n;
    }

  private:
    char* m_out;
    int m_end;
    int m_n = 0;
};

// Reads flags, width, precision and length behind a '%'; false for what is left to vsnprintf.
bool ParseConversion(const char*& f, Conversion& s) {
    for (;; ++f) {
        if (*f == '-')
            s.left = true;
        else if (*f == '0')
            s.zero = true;
        else if (*f == '+')
            s.plus = true;
        else if (*f == ' ')
            s.space = true;
        else
            break;
    }
    while (*f >= '0' && *f <= '9')
        s.width = s.width * 10 + (*f++ - '0');
    if (*f == '.') {
        s.precision = 0;
        for (++f; *f >= '0' && *f <= '9'; ++f)
            s.precision = s.precision * 10 + (*f - '0');
    }
    if (s.width > CLog::kRecordMax || s.precision > CLog::kRecordMax) return false;
    if (*f == 'h')
        s.length = f[1] == 'h' ? (++f, -2) : -1, ++f;
    else if (*f == 'l')
        s.length = f[1] == 'l' ? (++f, 2) : 1, ++f;
    else if (*f == 'z')
        s.length = 3, ++f;
    s.conversion = *f;
    return true;
}

// The digits of the magnitude, written backwards so that they end at 'end'; their count.
int Digits(unsigned long long magnitude, char conversion, char* end) {
    char* p = end;
    if (conversion == 'x' || conversion == 'X') {
        const char* hex = conversion == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
        for (; magnitude; magnitude >>= 4)
            *--p = hex[magnitude & 15];
    } else if (magnitude <= UINT32_MAX) {
        for (auto v = static_cast<uint32_t>(magnitude); v; v /= 10)
            *--p = static_cast<char>('0' + v % 10);
    } else {
        for (; magnitude; magnitude /= 10)
            *--p = static_cast<char>('0' + magnitude % 10);
    }
    return static_cast<int>(end - p);
}

// An integer conversion: sign, precision zeros, the '0' flag or blanks up to the width.
void PutInteger(Out& out, const Conversion& s, unsigned long long magnitude, bool negative) {
    char digits[24];
    char* const end = digits + sizeof digits;
    int n = Digits(magnitude, s.conversion, end);
    if (n == 0 && s.precision != 0) end[-++n] = '0';
    const bool isSigned = s.conversion == 'd' || s.conversion == 'i';
    const char sign = negative ? '-' : (isSigned && s.plus) ? '+' : (isSigned && s.space) ? ' ' : 0;
    const int zeros = std::max(0, s.precision - n);
    const int body = n + zeros + (sign ? 1 : 0);
    const int pad = std::max(0, s.width - body);
    const bool zeroPad = s.zero && !s.left && s.precision < 0;
    if (!s.left && !zeroPad) out.Fill(' ', pad);
    if (sign) out.Put(sign);
    out.Fill('0', zeros + (zeroPad ? pad : 0));
    out.Put(end - n, n);
    if (s.left) out.Fill(' ', pad);
}

// Text with the width and precision of %s or %c; the '0' flag is left to vsnprintf.
void PutText(Out& out, const Conversion& s, const char* text, int n) {
    const int pad = std::max(0, s.width - n);
    if (!s.left) out.Fill(' ', pad);
    out.Put(text, n);
    if (s.left) out.Fill(' ', pad);
}

bool PutConversion(Out& out, const Conversion& s, va_list* args) {
    switch (s.conversion) {
    case 'd':
    case 'i': {
        long long v;
        if (s.length == 1)
            v = va_arg(*args, long);
        else if (s.length == 2)
            v = va_arg(*args, long long);
        else if (s.length == 3)
            v = static_cast<long long>(va_arg(*args, size_t));
        else
            v = va_arg(*args, int);
        if (s.length == -1) v = static_cast<short>(v);
        if (s.length == -2) v = static_cast<signed char>(v);
        const unsigned long long magnitude =
            v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
        PutInteger(out, s, magnitude, v < 0);
        return true;
    }
    case 'u':
    case 'x':
    case 'X': {
        unsigned long long v;
        if (s.length == 1)
            v = va_arg(*args, unsigned long);
        else if (s.length == 2)
            v = va_arg(*args, unsigned long long);
        else if (s.length == 3)
            v = va_arg(*args, size_t);
        else
            v = va_arg(*args, unsigned);
        if (s.length == -1) v = static_cast<unsigned short>(v);
        if (s.length == -2) v = static_cast<unsigned char>(v);
        PutInteger(out, s, v, false);
        return true;
    }
    case 's': {
        if (s.length != 0 || s.zero) return false;
        const char* text = va_arg(*args, const char*);
        if (!text) return false; // "(null)" is the C library's to write
        size_t n = 0;
        if (s.precision < 0) {
            n = std::strlen(text);
        } else {
            const void* end = std::memchr(text, 0, static_cast<size_t>(s.precision));
            n = end ? static_cast<size_t>(static_cast<const char*>(end) - text)
                    : static_cast<size_t>(s.precision);
        }
        PutText(out, s, text, static_cast<int>(std::min(n, static_cast<size_t>(INT32_MAX))));
        return true;
    }
    case 'c': {
        if (s.length != 0 || s.zero) return false;
        const char c = static_cast<char>(va_arg(*args, int));
        PutText(out, s, &c, 1);
        return true;
    }
    default:
        return false;
    }
}

// The message into out (size bytes), cut as vsnprintf cuts it; the characters written, or -1
// when the format needs the C library (args is then partly read: the caller formats a copy).
int FormatMessage(char* text, int size, const char* format, va_list* args) {
    Out out(text, size);
    for (const char* f = format; *f;) {
        if (*f != '%') { // log formats hold short runs of text between conversions
            out.Put(*f++);
            continue;
        }
        ++f;
        if (*f == '%') {
            out.Put('%');
            ++f;
            continue;
        }
        Conversion conversion;
        if (!ParseConversion(f, conversion) || !PutConversion(out, conversion, args)) return -1;
        ++f;
    }
    return out.Done();
}

// The message as vsnprintf would write it into 'size' bytes; the characters written.
int FormatRecordText(char* text, int size, const char* format, va_list args) {
    va_list attempt;
    va_copy(attempt, args);
    const int n = FormatMessage(text, size, format, &attempt);
    va_end(attempt);
    return n >= 0 ? n : Written(vsnprintf(text, static_cast<size_t>(size), format, args), size);
}

std::u16string Widen(const char* text) {
    std::u16string wide;
    for (const char* p = text; *p; ++p)
        wide += platform::NarrowToWideChar(*p);
    return wide;
}

std::string ArchiveSlot(const std::string& base, int slot) {
    char number[16];
    snprintf(number, sizeof number, "L%02d.zip", slot);
    return base + number;
}

// Compresses base.L01 into baseL01.zip with the archiver, then removes base.L01 whatever the
// archiver did. Runs on its own thread; 'busy' is cleared when it is done.
void ArchiveThread(const std::string& base, const std::shared_ptr<std::atomic<bool>>& busy) {
    platform::Sleep(kArchiverDelayMs);
    std::vector<char> cmd(base.size() * 2 + 32);
    snprintf(cmd.data(), cmd.size(), "-Q -C \"%sL01.zip\" \"%s.L01\"", base.c_str(), base.c_str());
    platform::ProcessHandle process =
        platform::StartProcess(CLog::kArchiver, Widen(cmd.data()), true);
    if (process) {
        uint32_t code = 0;
        while (platform::GetExitCode(process, code) && code == platform::kStillActive)
            platform::Sleep(kArchiverPollMs);
        platform::CloseProcess(process);
    }
    platform::DeleteFile(base + ".L01");
    busy->store(false);
}

bool PrintsAsText(uint8_t byte, int32_t kind) {
    if (kind == 1) return byte >= '0' && byte <= '9';
    if (kind == 2) return byte >= 32 && byte <= 125;
    return false;
}

// Renders bytes as quoted text runs and bracketed hex runs: 02 41 42 03 -> [02]"AB"[03].
// Stops early, still closing the run, when the text would not fit in 'size' bytes.
int RenderDump(const uint8_t* bytes, int32_t count, int32_t kind, char* out, int size) {
    static const char kHex[] = "0123456789ABCDEF";
    constexpr int kMostPerByte = 4; // "\"[" + two digits
    enum class Run { None, Hex, Text };
    int n = 0;
    Run state = Run::None;
    for (int32_t i = 0; i < count && n + kMostPerByte + 1 < size - 1; ++i) {
        const uint8_t b = bytes[i];
        if (PrintsAsText(b, kind)) {
            if (state == Run::None) out[n++] = '"';
            if (state == Run::Hex) {
                out[n++] = ']';
                out[n++] = '"';
            }
            out[n++] = static_cast<char>(b);
            state = Run::Text;
        } else {
            if (state == Run::Text) {
                out[n++] = '"';
                out[n++] = '[';
            }
            if (state == Run::Hex) out[n++] = ' ';
            if (state == Run::None) out[n++] = '[';
            out[n++] = kHex[b >> 4];
            out[n++] = kHex[b & 15];
            state = Run::Hex;
        }
    }
    if (state == Run::Hex) out[n++] = ']';
    if (state == Run::Text) out[n++] = '"';
    out[n] = 0;
    return n;
}

} // namespace

CLog::CLog(const char* base, const char* title, int16_t timeMode, int32_t maxSize, int16_t maxFiles,
           bool writeStart, bool keepOpen)
    : CHFile(base, true, "rt", "a+t"), m_keepOpen(keepOpen), m_maxSize(maxSize),
      m_maxFiles(maxFiles), m_base(base), m_title(title), m_timeMode(timeMode),
      m_writePtr(m_buffer) {
    std::memset(m_buffer, 0, sizeof m_buffer);
    EnableFile(true);
    if (writeStart) {
        WriteStartRecord();
        CheckRotate();
    } else {
        m_stamp.SetNow();
    }
}

CLog::~CLog() {
    Close();
}

void CLog::OnOutput(const char*) {}

std::string CLog::BaseText() const {
    return m_base.Narrow();
}

bool CLog::HasOutput() const {
    return m_enabled && (m_screen || m_file || m_hook);
}

// --- records ---------------------------------------------------------------------------------

void CLog::Log(uint8_t level, const char* format, ...) {
    if (level > m_level) return;
    va_list args;
    va_start(args, format);
    WriteV(format, args);
    va_end(args);
}

void CLog::Write(const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteV(format, args);
    va_end(args);
}

// m_stamp as date-time text; the text of the last second is kept, since every record of a
// dated mode needs it. Caller holds m_lock.
const char* CLog::StampText() {
    const uint64_t second = m_stamp.Value() / kFileTimePerSecond;
    if (second != m_stampTextSecond) {
        DateText(m_stamp, m_stampText);
        m_stampTextSecond = second;
    }
    return m_stampText;
}

// The prefix of a record by m_timeMode, for a record made at 'now'; built for every record, so
// without printf where it can be. Caller holds m_lock.
int CLog::FormatPrefix(const CDateTime& now, int32_t ms, char* out, int size) {
    int n = 0;
    auto put = [&](const char* text) {
        while (*text && n < size - 1)
            out[n++] = *text++;
    };
    switch (m_timeMode) {
    case 1: {
        // Whole seconds since the stamp, as CDateTime::SecondsSince counts them (a null stamp
        // counts as long ago).
        const int64_t seconds =
            (static_cast<int64_t>(now.Value()) - static_cast<int64_t>(m_stamp.Value())) /
            static_cast<int64_t>(kFileTimePerSecond);
        if (seconds >= kTimeLineSeconds && m_title.Length() > 0) {
            m_stamp = now;
            n = Written(snprintf(out, size, "%s ****TIME <%s>\n", StampText(), m_title.Narrow()),
                        size);
        }
        break;
    }
    case 2:
        m_stamp = now;
        put(StampText());
        put(" ");
        return n;
    case 3:
        m_stamp = now;
        put(StampText());
        put(" ");
        break;
    default:
        return 0;
    }
    char width6[16];
    PutWidth6(width6, ms);
    put(width6);
    put("ms ");
    return n;
}

void CLog::WriteV(const char* format, va_list args) {
    if (!HasOutput()) return;
    char message[kRecordMax + 1];
    const int messageLen = FormatRecordText(message, sizeof message, format, args);
    // The wall clock is read before the lock; the record timer and the stamp change under it.
    // A dated prefix shows whole seconds, for which the cheap coarse clock is close enough.
    CDateTime now;
    uint64_t fileTime = 0;
    if (m_timeMode >= 1 && m_timeMode <= 3 &&
        platform::SystemTimeToFileTime(platform::CoarseLocalNow(), fileTime))
        now = CDateTime(fileTime);
    // Only modes 1 and 3 print the record timer; the others need only the idle-flush timer,
    // for which the coarse tick is close enough.
    const bool printsMs = m_timeMode == 1 || m_timeMode == 3;

    char prefix[kRecordMax + 1];
    platform::Lock lock(m_lock);
    // One tick reading restarts both the record timer and the idle-flush timer.
    const uint32_t tick = printsMs ? platform::TickCount() : platform::CoarseTickCount();
    const int n = FormatPrefix(now, m_recTimer.LapAt(tick), prefix, sizeof prefix);
    AppendRecord(prefix, n, message, std::min(messageLen, kRecordMax - n), tick);
}

void CLog::WriteError(int32_t sourceLine, const char* file, const char* format, ...) {
    if (!HasOutput()) return;
    CDateTime now;
    now.SetNow();
    char date[kDateTextSize];
    char line[kRecordMax + 2];
    int n = Written(snprintf(line, kRecordMax + 1, "%s ***ERROR line %d in <%s> ",
                             DateText(now, date), sourceLine, file ? file : ""),
                    kRecordMax + 1);
    va_list args;
    va_start(args, format);
    n += Written(vsnprintf(line + n, kRecordMax + 1 - n, format, args), kRecordMax + 1 - n);
    va_end(args);
    line[n++] = '\n';
    line[n] = 0;

    platform::Lock lock(m_lock);
    m_stamp = now;
    AppendToBuffer(line, n);
}

void CLog::WriteEvent(int32_t category, int32_t action, int32_t id, int32_t value,
                      const char* format, ...) {
    if (!HasOutput()) return;
    char message[kEventTextMax];
    va_list args;
    va_start(args, format);
    vsnprintf(message, sizeof message, format, args);
    va_end(args);

    CDateTime now;
    now.SetNow();
    char date[kDateTextSize];
    DateText(now, date);
    const char* cat = CodeAt(kCategoryCodes, category);
    const char* act = CodeAt(kActionCodes, action);
    char line[kRecordMax];
    const int n = Written(category == kHexCategory
                              ? snprintf(line, sizeof line, "%s,%s,%s,%06X,%6d,\"%s\"\n", date, cat,
                                         act, static_cast<unsigned>(id), value, message)
                              : snprintf(line, sizeof line, "%s,%s,%s,%6d,%6d,\"%s\"\n", date, cat,
                                         act, id, value, message),
                          sizeof line);

    platform::Lock lock(m_lock);
    AppendToBuffer(line, n);
    CheckRotate();
}

void CLog::WriteDump(const char* caption, const char* prefix, const uint8_t* bytes, int32_t count,
                     int32_t number, int32_t kind) {
    const bool hasPrefix = prefix && *prefix;
    const char* pre = hasPrefix ? prefix : "";
    const char* gap = hasPrefix ? " " : "";
    if (!caption) caption = "";
    // The bytes get the room the record leaves behind its header, so a long dump still ends
    // with its closing mark.
    const int header =
        number >= 0
            ? snprintf(nullptr, 0, "%s%sLen %03d %s %02d ", pre, gap, count, caption, number)
            : snprintf(nullptr, 0, "%s%sLen %03d %s ", pre, gap, count, caption);
    char text[kRecordMax + 1];
    RenderDump(bytes, bytes ? count : 0, kind, text,
               std::clamp(kRecordMax + 1 - header, 1, kRecordMax + 1));
    if (number >= 0)
        Write("%s%sLen %03d %s %02d %s", pre, gap, count, caption, number, text);
    else
        Write("%s%sLen %03d %s %s", pre, gap, count, caption, text);
}

void CLog::WriteRaw(const char* format, ...) {
    if (!HasOutput()) return;
    char text[kRecordMax];
    va_list args;
    va_start(args, format);
    const int n = Written(vsnprintf(text, sizeof text, format, args), sizeof text);
    va_end(args);
    AppendToBuffer(text, n);
}

void CLog::WriteStartRecord() {
    if (m_header.Length() == 0 && m_title.Length() > 0) {
        m_stamp.SetNow();
        char date[kDateTextSize];
        WriteRaw("%s ***START <%s>\n", DateText(m_stamp, date), m_title.Narrow());
    } else if (m_header.Length() > 0) {
        WriteRaw("%s\n", m_header.Narrow());
    }
}

// Straight into the file, past the buffer: the last line of a file.
void CLog::WriteStopRecord() {
    if (!IsOpen()) Open();
    if (!IsOpen()) return;
    m_stamp.SetNow();
    char date[kDateTextSize];
    char line[kRecordMax];
    const int n = Written(snprintf(line, sizeof line, "%s ****STOP <%s>\n", DateText(m_stamp, date),
                                   m_title.Narrow()),
                          sizeof line);
    WriteBytes(line, n);
}

// --- buffer and outputs ----------------------------------------------------------------------

void CLog::AppendToBuffer(const char* text, int length) {
    if (!text || length <= 0) return;
    platform::Lock lock(m_lock);
    AppendParts(text, std::min(length, kBufferSize), nullptr, 0, false, platform::TickCount());
}

// A record straight into the buffer: prefix, message and line end, with no copy between. Caller
// holds m_lock.
void CLog::AppendRecord(const char* prefix, int prefixLen, const char* message, int messageLen,
                        uint32_t tick) {
    AppendParts(prefix, prefixLen, message, messageLen, true, tick);
}

void CLog::AppendParts(const char* a, int lenA, const char* b, int lenB, bool lineEnd,
                       uint32_t tick) {
    const int length = lenA + lenB + (lineEnd ? 1 : 0);
    if ((m_writePtr - m_buffer) + length > kBufferSize) FlushBuffer();
    char* const start = m_writePtr;
    std::memcpy(m_writePtr, a, lenA);
    m_writePtr += lenA;
    if (lenB > 0) {
        std::memcpy(m_writePtr, b, lenB);
        m_writePtr += lenB;
    }
    if (lineEnd) *m_writePtr++ = '\n';
    *m_writePtr = 0;
    // The console shows each record as it comes (a person watches it); the file and the hook
    // take the buffer when it is handed on.
    if (m_screen) platform::WriteConsole(start, static_cast<size_t>(m_writePtr - start));
    m_dirty = true;
    m_flushTimer.RestartAt(tick);
}

void CLog::FlushBuffer() {
    platform::Lock lock(m_lock);
    const int used = static_cast<int>(m_writePtr - m_buffer);
    if (used == 0) return;
    Emit(m_buffer, used);
    m_writePtr = m_buffer;
    m_buffer[0] = 0;
}

// 'text' is NUL-terminated at 'length' (the hook takes it as a C string). The console had it
// when it was appended.
void CLog::Emit(const char* text, int length) {
    if (m_file) {
        if (!IsOpen()) Open();
        if (IsOpen()) {
            WriteBytes(text, length);
            if (!m_keepOpen) CHFile::Close();
        }
    }
    if (m_hook) OnOutput(text);
}

void CLog::FlushIfIdle() {
    platform::Lock lock(m_lock);
    if (!m_dirty || m_flushTimer.Elapsed() < kIdleFlushMs) return;
    Flush();
}

void CLog::Flush() {
    platform::Lock lock(m_lock);
    FlushBuffer();
    m_dirty = false;
    m_flushTimer.Restart();
    // A file that is not kept open is closed after each output; CheckRotate opens it for the
    // size check, so such a log still rotates.
    if (m_file) {
        if (IsOpen()) CHFile::Flush();
        CheckRotate();
    }
}

// --- file management -------------------------------------------------------------------------

// Rotation shifts every file one place along the chain and drops the oldest archive:
//
//   B.L00 -> B.L01 -> BL01.zip -> BL02.zip -> ... -> BLnn.zip -> (deleted)    nn = maxFiles
//
// The steps run from the old end, so each target is free when its file arrives. B.L01 reaches
// BL01.zip only through the board's archiver; on the desktop the .zip names shift but stay empty.
std::vector<CLog::RenameStep> CLog::ArchiveChain(const std::string& base, int maxFiles) {
    std::vector<RenameStep> steps;
    for (int i = maxFiles; i >= 2; --i)
        steps.push_back({ArchiveSlot(base, i - 1), ArchiveSlot(base, i)});
    steps.push_back({base + ".L00", base + ".L01"});
    return steps;
}

// A failed delete leaves its target, so the rename onto it fails too and the file stays where
// it was (B.L00 then keeps growing and is rotated at the next check).
void CLog::RotateFiles() {
    for (const RenameStep& step : ArchiveChain(BaseText(), m_maxFiles)) {
        platform::DeleteFile(step.to);
        platform::MoveFile(step.from, step.to);
    }
}

void CLog::StartArchiver() {
    m_archiving->store(true);
    std::string base = BaseText();
    std::shared_ptr<std::atomic<bool>> busy = m_archiving;
    if (!platform::StartDetachedThread([base, busy] { ArchiveThread(base, busy); },
                                       platform::ThreadPriority::Lowest))
        m_archiving->store(false);
}

void CLog::CheckRotate() {
    if (!m_file) return;
    if (!IsOpen()) Open();
    if (!IsOpen()) return;
    FlushBuffer();
    if (!IsOpen()) Open(); // the flush closes a file that is not kept open
    if (!IsOpen()) return;
    CHFile::Flush();
    FilePos size = 0;
    Seek(0, SEEK_END);
    GetPos(size);
    const bool stayOpen = m_dir.Length() == 0 && m_keepOpen;
    if (!stayOpen) CHFile::Close();
    if (size <= m_maxSize) return;
    // B.L01 is still being archived: rotating now would delete it unread. The file grows on
    // and is rotated at the first check after the archiver is done.
    if (kBoardBuild && m_archiving->load()) return;
    CHFile::Close();
    RotateFiles();
    if constexpr (kBoardBuild) StartArchiver();
    if (stayOpen) Open();
}

void CLog::SetLimits(int32_t maxSize, int16_t maxFiles) {
    m_maxSize = maxSize;
    m_maxFiles = maxFiles;
}

void CLog::EnableFile(bool enable) {
    // Buffered records go out under the setting they were written with.
    FlushBuffer();
    m_file = enable;
    if (!enable) {
        CHFile::Close();
    } else if (!IsOpen()) {
        CStr name(m_base);
        name.Append(".L00");
        SetName(name.Narrow());
        if (m_keepOpen) Open();
    }
}

void CLog::SetPath(CStr& dir, int32_t maxSize, int16_t maxFiles) {
    SetLimits(maxSize, maxFiles);
    if (m_dir.Length() == 0 || dir != m_dir) {
        FlushBuffer();
        CHFile::Close();
        Delete();
    } else if (m_file) {
        FlushBuffer();
        WriteStopRecord();
        CHFile::Close();
    }
    m_dir = dir;
    int slash = m_base.Length();
    while (slash > 0 && m_base.At(slash) != u'\\')
        --slash;
    CStr name(m_base);
    name.Mid(slash + 1, m_base.Length() - slash);
    dir.Append(u'\\');
    dir.Append(name);
    m_base = dir;
    CStr fileName(m_base);
    fileName.Append(".L00");
    SetName(fileName.Narrow());
    if (m_file) {
        WriteStartRecord();
        CheckRotate();
    }
}

void CLog::SetBase(const char* base) {
    EnableFile(false);
    m_base = base;
    EnableFile(true);
    WriteStartRecord();
    CheckRotate();
}

void CLog::Close() {
    FlushBuffer();
    if (m_file) {
        WriteStopRecord();
        CHFile::Close();
    }
    m_screen = false;
    m_file = false;
    m_hook = false;
    m_dirty = false;
    WaitForArchiver();
}

// Counted sleeps rather than the tick counter, which tests may hold still.
void CLog::WaitForArchiver() {
    for (uint32_t waited = 0; m_archiving->load() && waited < kCloseWaitMs;
         waited += kCloseWaitStepMs)
        platform::Sleep(kCloseWaitStepMs);
}
