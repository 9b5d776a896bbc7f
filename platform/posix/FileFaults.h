// The file services' parts that are plain C++ and shared by every platform: the test fault
// table behind FailFileOp, and the words of LastFileErrorText read from errno.
#pragma once
#include "platform/Files.h"

namespace platform::detail {

// Counts one call of op; true (with errno set to EIO) when this call is the one that must fail.
bool FileFaultFires(FileOp op);

} // namespace platform::detail
