// What the server records of each pump's terminal: the prompt waiting for an answer, the beeps
// scheduled and the lights flashing. Kept in the store's settings so that every logon and the
// control channel see one state; the caller holds the store's lock.
#pragma once
#include <cstdint>
#include <string>

#include "outside/qvserver/Store.h"

namespace qvserver {

struct TermPromptRequest {
    int32_t pumpID = 0;
    int32_t promptID = 0;
    std::u16string text;
    int16_t inputType = 0; // 0 a key to confirm, 1 digits, 2 text
    int16_t maxLength = 0; // 1..32
    int32_t timeout = 0;   // seconds, 0 none
};

// 0 when stored (replacing a prompt not yet answered), 3 unknown pump, 2 out of range.
int32_t StartTermPrompt(Store& store, const TermPromptRequest& r);
// The terminal's answer to the waiting prompt: result 0 entered, 1 cancelled, 2 timed out.
// 0 with the prompt's ID (the prompt is done); 3 when no prompt waits at the pump, 2 when the
// result is unknown or the input does not fit the prompt (too long, not digits for type 1).
int32_t AnswerTermPrompt(Store& store, int32_t pumpID, int16_t result, const std::u16string& input,
                         int32_t& promptID);
// Pattern 0..3 and repeats 1..20 (any with pattern 0); 3 unknown pump, 2 out of range.
int32_t ScheduleTermBeep(Store& store, int32_t pumpID, int16_t pattern, int16_t repeats);
// Mask 0..255, duration 0 or more ms; 3 unknown pump, 2 out of range.
int32_t FlashTermLeds(Store& store, int32_t pumpID, int16_t mask, int32_t duration);
// "beep PATTERN REPEATS leds MASK DURATION prompt ID|none" for the control channel.
std::string DescribeTerminal(Store& store, int32_t pumpID);

// The line mode of a port's serial line (0 RS-485 two-wire, the default, 1 RS-485 four-wire,
// 2 RS-232, 3 current loop), kept beside the port's record; 3 unknown port, 2 out of range.
int32_t SetPortLineMode(Store& store, int32_t portID, int16_t mode);
// The mode stored, 0 when none was set; -1 for an unknown port.
int32_t PortLineMode(Store& store, int32_t portID);

} // namespace qvserver
