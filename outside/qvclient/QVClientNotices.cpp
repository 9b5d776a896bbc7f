// The server's notices, the ZigBee coordinator's reports, terminal prompts and the pump
// terminal's beeper and lights: readers of event types 3, 10, 19, 23 and 27 and the calls
// that make the server produce them.
#include "outside/qvclient/ClientSession.h"
#include "outside/qvclient/Marshal.h"
#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVWire.h"

using qvclient::Call;
using qvclient::ReadEvent;
using qvwire::OpCode;

extern "C" {

int32_t GetNextServerEventMT(int32_t handle, int32_t* pEventID, BSTR* pEventText) {
    return ReadEvent(handle, qvwire::kEventServer, 0, pEventID, pEventText);
}

int32_t GetNextDBTriggerEventMT(int32_t handle, int32_t* pTableID, int32_t* pRowID) {
    return ReadEvent(handle, qvwire::kEventDBTrigger, 0, pTableID, pRowID);
}

int32_t GetNextZBPanIDEventMT(int32_t handle, int32_t* pPortID, int32_t* pPanID) {
    return ReadEvent(handle, qvwire::kEventZBPanID, 0, pPortID, pPanID);
}

int32_t GetNextZB2GStatusEventMT(int32_t handle, int32_t* pPortID, int64_t* pZBAddress,
                                 int16_t* pLQI, int16_t* pRSSI, int64_t* pParZBAddress,
                                 int16_t* pZBChannel, int32_t* pMemBlocks, int32_t* pMemFree,
                                 int16_t* pDeviceType) {
    return ReadEvent(handle, qvwire::kEventZB2GStatus, 0, pPortID, pZBAddress, pLQI, pRSSI,
                     pParZBAddress, pZBChannel, pMemBlocks, pMemFree, pDeviceType);
}

int32_t GetNextQVTermPromptEventMT(int32_t handle, int32_t* pPumpID, int32_t* pPromptID,
                                   int16_t* pPromptResult, BSTR* pInput) {
    return ReadEvent(handle, qvwire::kEventTermPrompt, 0, pPumpID, pPromptID, pPromptResult,
                     pInput);
}

int32_t GetNextQVOdoEventMT(int32_t handle, int32_t* pPortID, int64_t* pZBAddress, int16_t* pLQI,
                            int16_t* pRSSI, int64_t* pParZBAddress, int16_t* pZBChannel,
                            int32_t* pMemBlocks, int32_t* pMemFree, int16_t* pDeviceType,
                            int32_t* pClientID, BSTR* pClientName, int64_t* pClientTag,
                            double* pOdo1, int32_t* pFactor1, int16_t* pLevel1, double* pOdo2,
                            int32_t* pFactor2, int16_t* pLevel2, int64_t* pTag1, int64_t* pTag2,
                            int64_t* pTag3, int64_t* pTag4, int32_t* pFuelTypes, BSTR* pPlate) {
    return ReadEvent(handle, qvwire::kEventQVOdo, 0, pPortID, pZBAddress, pLQI, pRSSI,
                     pParZBAddress, pZBChannel, pMemBlocks, pMemFree, pDeviceType, pClientID,
                     pClientName, pClientTag, pOdo1, pFactor1, pLevel1, pOdo2, pFactor2, pLevel2,
                     pTag1, pTag2, pTag3, pTag4, pFuelTypes, pPlate);
}

int32_t SetZBCoordPanMT(int32_t handle, int32_t PortID, int32_t PanID) {
    return Call<OpCode("SetZBCoordPan")>(handle, PortID, PanID);
}

int32_t SetLineModeMT(int32_t handle, int32_t PortID, int16_t LineMode) {
    return Call<OpCode("SetLineMode")>(handle, PortID, LineMode);
}

int32_t QVTermPromptMT(int32_t handle, int32_t PumpID, int32_t PromptID, BSTR PromptText,
                       int16_t InputType, int16_t MaxLength, int32_t Timeout) {
    return Call<OpCode("QVTermPrompt")>(handle, PumpID, PromptID, PromptText, InputType, MaxLength,
                                        Timeout);
}

int32_t ScheduleBeepMT(int32_t handle, int32_t PumpID, int16_t Pattern, int16_t Repeats) {
    return Call<OpCode("ScheduleBeep")>(handle, PumpID, Pattern, Repeats);
}

int32_t FlashLEDSMT(int32_t handle, int32_t PumpID, int16_t LEDMask, int32_t Duration) {
    return Call<OpCode("FlashLEDS")>(handle, PumpID, LEDMask, Duration);
}

} // extern "C"
