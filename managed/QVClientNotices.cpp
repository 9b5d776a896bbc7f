// QVClient's forwarders for the pump terminals' prompts, beeper and lights and the ZigBee
// coordinator's PAN id; as QVClientOperations.cpp, each passes its arguments to the library
// function of the same name and its result through CheckResult.
#include "managed/LibraryCall.h"
#include "outside/qvclient/QVClientPlain.h"

namespace Halvora {

int32_t QVClient::SetZBCoordPan(int32_t PortID, int32_t PanID) {
    return Forward(::SetZBCoordPan, PortID, PanID);
}

int32_t QVClient::SetLineMode(int32_t PortID, int16_t LineMode) {
    return Forward(::SetLineMode, PortID, LineMode);
}

int32_t QVClient::QVTermPrompt(int32_t PumpID, int32_t PromptID, const QString& PromptText,
                               int16_t InputType, int16_t MaxLength, int32_t Timeout) {
    return Forward(::QVTermPrompt, PumpID, PromptID, PromptText, InputType, MaxLength, Timeout);
}

int32_t QVClient::ScheduleBeep(int32_t PumpID, int16_t Pattern, int16_t Repeats) {
    return Forward(::ScheduleBeep, PumpID, Pattern, Repeats);
}

int32_t QVClient::FlashLEDS(int32_t PumpID, int16_t LEDMask, int32_t Duration) {
    return Forward(::FlashLEDS, PumpID, LEDMask, Duration);
}

} // namespace Halvora
