// Pump terminals' prompts, beeps and lights as settings "Terminal.<pump>.<what>".
#include "outside/qvserver/Terminals.h"

#include <cstdlib>
#include <sstream>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVWire.h"
#include "outside/qvserver/Schema.h"

namespace qvserver {

namespace {

std::string Key(int32_t pumpID, const char* what) {
    return "Terminal." + std::to_string(pumpID) + "." + what;
}

bool Digits(const std::u16string& s) {
    for (char16_t ch : s)
        if (ch < u'0' || ch > u'9') return false;
    return true;
}

} // namespace

int32_t StartTermPrompt(Store& store, const TermPromptRequest& r) {
    if (!store.Exists(kPump, r.pumpID)) return QV_UNKNOWN_ID;
    if (r.inputType < 0 || r.inputType > 2 || r.maxLength < 1 || r.maxLength > 32 || r.timeout < 0)
        return QV_INVALID_ARGUMENT;
    // The text goes last: it may hold blanks.
    std::ostringstream v;
    v << r.promptID << ' ' << r.inputType << ' ' << r.maxLength << ' ' << r.timeout << ' '
      << qvwire::ToU8(r.text);
    return store.SetSetting(Key(r.pumpID, "Prompt"), v.str()) ? QV_OK : QV_DATABASE_ERROR;
}

int32_t AnswerTermPrompt(Store& store, int32_t pumpID, int16_t result, const std::u16string& input,
                         int32_t& promptID) {
    const std::string waiting = store.Setting(Key(pumpID, "Prompt"), "");
    if (waiting.empty()) return QV_UNKNOWN_ID;
    std::istringstream in(waiting);
    int32_t id = 0, type = 0, maxLength = 0;
    in >> id >> type >> maxLength;
    if (result < 0 || result > 2) return QV_INVALID_ARGUMENT;
    if (result == 0 && (input.size() > static_cast<size_t>(maxLength) ||
                        (type == 1 && !Digits(input)) || (type == 0 && !input.empty())))
        return QV_INVALID_ARGUMENT;
    if (!store.SetSetting(Key(pumpID, "Prompt"), "")) return QV_DATABASE_ERROR;
    promptID = id;
    return QV_OK;
}

int32_t ScheduleTermBeep(Store& store, int32_t pumpID, int16_t pattern, int16_t repeats) {
    if (!store.Exists(kPump, pumpID)) return QV_UNKNOWN_ID;
    if (pattern < 0 || pattern > 3 || (pattern != 0 && (repeats < 1 || repeats > 20)))
        return QV_INVALID_ARGUMENT;
    const std::string v =
        std::to_string(pattern) + " " + std::to_string(pattern == 0 ? 0 : repeats);
    return store.SetSetting(Key(pumpID, "Beep"), v) ? QV_OK : QV_DATABASE_ERROR;
}

int32_t FlashTermLeds(Store& store, int32_t pumpID, int16_t mask, int32_t duration) {
    if (!store.Exists(kPump, pumpID)) return QV_UNKNOWN_ID;
    if (mask < 0 || mask > 255 || duration < 0) return QV_INVALID_ARGUMENT;
    const std::string v = std::to_string(mask) + " " + std::to_string(mask == 0 ? 0 : duration);
    return store.SetSetting(Key(pumpID, "LEDs"), v) ? QV_OK : QV_DATABASE_ERROR;
}

std::string DescribeTerminal(Store& store, int32_t pumpID) {
    const std::string prompt = store.Setting(Key(pumpID, "Prompt"), "");
    const std::string id = prompt.empty() ? "none" : prompt.substr(0, prompt.find(' '));
    return "beep " + store.Setting(Key(pumpID, "Beep"), "0 0") + " leds " +
           store.Setting(Key(pumpID, "LEDs"), "0 0") + " prompt " + id;
}

int32_t SetPortLineMode(Store& store, int32_t portID, int16_t mode) {
    if (!store.Exists(kPort, portID)) return QV_UNKNOWN_ID;
    if (mode < 0 || mode > 3) return QV_INVALID_ARGUMENT;
    const std::string key = "Port." + std::to_string(portID) + ".LineMode";
    return store.SetSetting(key, std::to_string(mode)) ? QV_OK : QV_DATABASE_ERROR;
}

int32_t PortLineMode(Store& store, int32_t portID) {
    if (!store.Exists(kPort, portID)) return -1;
    return std::atoi(store.Setting("Port." + std::to_string(portID) + ".LineMode", "0").c_str());
}

} // namespace qvserver
