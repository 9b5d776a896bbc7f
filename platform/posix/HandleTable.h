// Inside the platform: the process's table of kernel objects behind Handle values.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/Handle.h"

namespace platform::posix {

// One kernel object. Waitable kinds override Wait; the others fail the wait with last error 6.
class KernelObject {
  public:
    virtual ~KernelObject() = default;
    virtual uint32_t Wait(uint32_t ms);
};

// Adds the object and returns its new handle (never 0 or kInvalidHandle); 0 when the table is
// full (last error 8).
Handle AddHandle(std::shared_ptr<KernelObject> object);
// The object behind h, null when h is not open.
std::shared_ptr<KernelObject> FindHandle(Handle h);

void SetInvalidHandleError();

// The object behind h when it is of kind T; null with last error 6 otherwise.
template <class T> std::shared_ptr<T> FindHandleOf(Handle h) {
    std::shared_ptr<T> object = std::dynamic_pointer_cast<T>(FindHandle(h));
    if (!object) SetInvalidHandleError();
    return object;
}

// Absolute CLOCK_MONOTONIC time ms from now, for timed waits.
struct timespec DeadlineAfter(uint32_t ms);

} // namespace platform::posix
