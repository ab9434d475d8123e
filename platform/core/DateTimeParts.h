// Splitting a date-time into whole calendar days and milliseconds of the day, shared by the
// calendar and the date-time texts of the SysUtils unit.
#pragma once

#include <cstdint>

#include "platform/core/SysUtils.h"

namespace kv {

// Larger magnitudes (and NaN or infinity) are no date-time: SplitDateTime raises
// EConvertError rather than decode them.
inline constexpr double kMaxDateTimeMagnitude = 1e9;

struct DayAndTime {
    std::int64_t day = 0;  // days since 30 December 1899 (negative before it)
    std::int64_t ms = 0;   // 0 .. 86,399,999, rounded to the nearest millisecond
};

DayAndTime SplitDateTime(TDateTime value);
TDateTime JoinDateTime(std::int64_t day, std::int64_t ms);

}  // namespace kv
