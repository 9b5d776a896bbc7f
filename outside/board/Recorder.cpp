#include "outside/board/Recorder.h"

#include <chrono>

namespace qvboard {

int64_t BoardMillis() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

Recorder::Recorder(const std::string& path) : m_path(path), m_file(fopen(path.c_str(), "a")) {}

Recorder::~Recorder() {
    if (m_file != nullptr) fclose(m_file);
}

void Recorder::Line(const std::string& text) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_file == nullptr) return;
    fprintf(m_file, "%lld %s\n", static_cast<long long>(BoardMillis()), text.c_str());
    fflush(m_file);
}

std::string HexBytes(const uint8_t* data, size_t size) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(size * 3);
    for (size_t i = 0; i < size; ++i) {
        if (i > 0) out += ' ';
        out += kDigits[data[i] >> 4];
        out += kDigits[data[i] & 15];
    }
    return out;
}

} // namespace qvboard
