// Texts of the code sets that the client library names in words: pump states, delivery states,
// delivery types, reservations, and the results of pump and delivery control.
#pragma once
#include <cstdint>
#include <string>

namespace qvclient {

// Each gives the code's text, or "Unknown <set> <code>" for a value outside its set.
std::string PumpStateText(int32_t state);
std::string DeliveryStateText(int32_t state);
std::string DeliveryTypeText(int32_t type);
std::string ReserveTypeText(int32_t type);
// The text of a pump or delivery control result (TResult), or an empty text for a code that is
// not one of them.
std::string ControlResultText(int32_t result);

} // namespace qvclient
