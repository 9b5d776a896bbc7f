// System-time records for tests' tables of dates and times.
#pragma once
#include <cstdint>

#include "platform/Clock.h"

namespace qvtesting {

// The record of the given date and time of day (fields as given, nothing checked).
inline platform::SystemTime MakeTime(int y, int mo, int d, int h = 0, int mi = 0, int s = 0,
                                     int ms = 0) {
    platform::SystemTime st;
    st.year = static_cast<uint16_t>(y);
    st.month = static_cast<uint16_t>(mo);
    st.day = static_cast<uint16_t>(d);
    st.hour = static_cast<uint16_t>(h);
    st.minute = static_cast<uint16_t>(mi);
    st.second = static_cast<uint16_t>(s);
    st.milliseconds = static_cast<uint16_t>(ms);
    return st;
}

} // namespace qvtesting
