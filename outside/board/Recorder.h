// A record file of the board in "<root>/.board/" (frames, LED, resets): one line per event,
// prefixed with the milliseconds since the board started, flushed at once so that tests and
// "qvboard ctl" read it while the board runs.
#pragma once
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

namespace qvboard {

// Milliseconds since this process started (a steady clock).
int64_t BoardMillis();

class Recorder {
  public:
    explicit Recorder(const std::string& path);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void Line(const std::string& text);
    const std::string& Path() const { return m_path; }

  private:
    std::mutex m_lock;
    std::string m_path;
    FILE* m_file; // null when the file cannot be written: records are then lost
};

// "40 00 01" for the bytes.
std::string HexBytes(const uint8_t* data, size_t size);

} // namespace qvboard
