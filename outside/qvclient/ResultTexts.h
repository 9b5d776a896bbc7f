// Texts of the client library's result codes.
#pragma once
#include <cstdint>
#include <string>

namespace qvclient {

// The text of a result; unknown codes give "Unknown result <code>".
std::string ResultText(int32_t result);

} // namespace qvclient
