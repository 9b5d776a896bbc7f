// Mutexes, named ones shared by every process of the device root. A mutex belongs to a thread:
// WaitForSingleObject (Handle.h) takes it (kWaitObject0), or kWaitAbandoned when its owner
// thread or process ended without releasing it (the caller then owns it); kWaitTimeout when the
// time ran out. The owner may take it again and releases it as often as it took it.
#pragma once
#include <string_view>

#include "platform/Handle.h"

namespace platform {

// Creates a mutex, owned by the calling thread when initiallyOwned (not when it existed). An
// empty name gives an unnamed mutex. When the named mutex exists already it is opened and the
// last error is 183, else 0. Returns 0 on failure with the last error: 6 when the name belongs
// to an event, 87 for a name longer than 200 characters.
Handle CreateMutex(bool initiallyOwned, std::u16string_view name = {});

// Opens an existing named mutex; 0 with last error 2 when there is none (6: it is an event).
Handle OpenMutex(std::u16string_view name);

// Releases one hold of the calling thread. False with last error 288 when the thread does not
// own it, 6 when h is not a mutex handle.
bool ReleaseMutex(Handle h);

} // namespace platform
