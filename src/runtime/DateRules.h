// Relative date rules and schedule dates: the evaluation of one relative date rule, the first
// run day of a periodic schedule, and the re-dating of a periodic job's condition values.
//
// Dates travel as ymd texts ("yyyymmdd") or year-month texts ("yyyymm"); weekdays are numbered
// 1 = Sunday to 7 = Saturday. A rule is four decimal texts: amount (signed count of weeks or
// months), unit ("0" weeks, anything else months), mode and day offset (signed days).
#pragma once

#include <string>

namespace kv {

class Variant;

// One rule against base. A year-month base (shorter than 7 characters) moves by amount months
// and nothing else. A month rule moves by amount months (a missing day falls back to the
// month's last day), then mode 0 adds the day offset, mode 1 takes the month's first day, mode
// 2 its last day, any other mode keeps the moved day. A week rule with mode 0 moves by
// amount × 7 + day offset days; with another mode it is WeekBoundary(base, amount, mode).
// Raises EConvertError when amount, mode or day offset is needed and is no whole number, and
// ERangeError when the move does not fit a day count. An empty or invalid base gives "".
std::string EvalDateRule(const std::string& base, const std::string& amount,
                         const std::string& unit, const std::string& mode,
                         const std::string& dayOffset);

// The Sunday (mode 1) or the Saturday (any other mode) of the week `weeks` weeks after base.
// Raises EConvertError for a mode that is no whole number; "" for an invalid base.
std::string WeekBoundary(const std::string& base, int weeks, const std::string& mode);

// The first run day (ymd) of a schedule for a job that may start on the ymd day start.
// cycleStyle is [kind, detail]: 0 every n days; 1 every n weeks, detail [n, weekday index
// 0 = Sunday .. 6]; 2 every n months, detail [0, n, day of month] or [1, n, occurrence 0..4
// (4 = last), weekday index]; 3 every n hours. Gives "" for the hourly and unknown kinds. Never
// raises: on a malformed style it answers what it had computed so far ("" when nothing).
std::string FirstRunDate(const std::string& start, const Variant& cycleStyle);

// job: [1] the job's value array, [2] the period record (not read), [3] the dynamic-field list
// ([0] count c, [1..c] date-rule records). Answers a copy of the value array with the values
// that follow a rule re-computed against runDay (ymd). On any failure (a position outside the
// value array, a non-numeric rule part, a missing element) answers the empty text instead of
// an array. Never raises. Linear in the number of records.
Variant RedateDynamicFields(const Variant& job, const std::string& runDay);

}  // namespace kv
