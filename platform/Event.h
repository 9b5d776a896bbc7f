// Events: auto-reset or manual-reset; unnamed (this process only) or named (shared by every
// process of the device root). Waited on with WaitForSingleObject (Handle.h).
#pragma once
#include <string_view>

#include "platform/Handle.h"

namespace platform {

// Creates an event: manual-reset stays set until ResetEvent; auto-reset releases one wait and
// resets itself. An empty name gives an unnamed event. When the named event exists already it
// is opened (its kind and state are kept) and the last error is 183, else 0.
// Returns 0 on failure with the last error: 6 when the name belongs to a mutex, 87 for a name
// longer than 200 characters.
Handle CreateEvent(bool manualReset, bool initiallySet, std::u16string_view name = {});

// Opens an existing named event; 0 with last error 2 when there is none (6: it is a mutex).
Handle OpenEvent(std::u16string_view name);

// Both return false with last error 6 when h is not an event handle.
bool SetEvent(Handle h);
bool ResetEvent(Handle h);

} // namespace platform
