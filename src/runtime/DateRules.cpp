#include "src/runtime/DateRules.h"

#include <cstdint>
#include <limits>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "platform/core/Variant.h"
#include "src/runtime/LibStrs.h"

namespace kv {

namespace {

// A day count that fits the shifting routine; rule parts come from stored records, so an
// absurd amount must fail cleanly instead of overflowing.
int CheckedDays(std::int64_t days) {
    if (days < std::numeric_limits<int>::min() || days > std::numeric_limits<int>::max())
        throw ERangeError("Date rule moves by " + IntToStr(days) + " days");
    return static_cast<int>(days);
}

std::string Shift(const std::string& ymd, const char* unit, std::int64_t n) {
    if (ymd.empty()) return std::string();
    return ShiftDate(Variant(ymd), unit, CheckedDays(n));
}

// Weekday 1 = Sunday .. 7 = Saturday of a ymd text; 0 when it is no date.
int WeekdayOf(const std::string& ymd) {
    const TDateTime date = YmdToDate(ymd);
    return date == 0 ? 0 : DayOfWeek(date);
}

int DayPart(const std::string& ymd) {
    return StrToIntDef(Copy(ymd, 7, 2), 0);
}

std::string LastDayOfMonth(const std::string& ymd) {
    const int year = StrToIntDef(Copy(ymd, 1, 4), 0);
    const int month = StrToIntDef(Copy(ymd, 5, 2), 0);
    return Copy(ymd, 1, 6) + Format("%.2d", {DaysOfMonth(year, month)});
}

std::string MonthRule(const std::string& base, int amount, const std::string& mode,
                      const std::string& dayOffset) {
    const std::string moved = Shift(base, "M", amount);
    if (moved.empty()) return moved;
    switch (StrToInt(mode)) {
        case 0:
            return Shift(moved, "D", StrToInt(dayOffset));
        case 1:
            return Copy(moved, 1, 6) + "01";
        case 2:
            return LastDayOfMonth(moved);
        default:
            return moved;
    }
}

// The day of the month `months` months after start's month, written with two digits; the
// month's last day when that day does not exist.
std::string DayOfMonthRun(const std::string& start, int months, int day) {
    const std::string month = Shift(start, "M", months);
    if (month.empty()) return month;
    const std::string candidate = Copy(month, 1, 6) + Format("%.2d", {day});
    return IsValidYmd(candidate) ? candidate : LastDayOfMonth(month);
}

// Occurrence k (0..3 first to fourth, 4 last) of weekday t (1..7) in the month `months` months
// after start's month.
std::string WeekdayOfMonthRun(const std::string& start, int months, int k, int t) {
    const std::string month = Shift(start, "M", months);
    if (month.empty()) return month;
    if (k >= 0 && k <= 3) {
        const std::string first = Copy(month, 1, 6) + "01";
        const int c = t - WeekdayOf(first);
        return Shift(first, "D", c < 0 ? c + 7 * (k + 1) : c + 7 * k);
    }
    if (k != 4) throw EConvertError("Occurrence " + IntToStr(k) + " is not 0 to 4");
    const std::string last = LastDayOfMonth(month);
    const int e = WeekdayOf(last) - t;
    return Shift(last, "D", e < 0 ? -e - 7 : -e);
}

// Counts and indexes of a schedule come from the job-option form; anything outside their
// ranges is a malformed schedule.
int CheckedCount(const Variant& value, int low, int high, const char* what) {
    const int n = value.AsInteger();
    if (n < low || n > high)
        throw EConvertError(std::string(what) + " " + IntToStr(n) + " is out of range");
    return n;
}

void WeeklyRun(const std::string& start, const Variant& detail, std::string& result) {
    const int n = CheckedCount(detail[0], 1, 100000, "Week count");
    const int t = CheckedCount(detail[1], 0, 6, "Weekday index") + 1;
    const int s = WeekdayOf(start);
    const std::string moved = Shift(start, "D", std::int64_t{t < s ? n : n - 1} * 7);
    result = moved;
    const int w = WeekdayOf(moved);
    if (w != 0) result = Shift(moved, "D", t - w);
}

void MonthlyRun(const std::string& start, const Variant& detail, std::string& result) {
    const int n = CheckedCount(detail[1], 1, 100000, "Month count");
    if (detail[0].AsInteger() == 0) {
        const int d = detail[2].AsInteger();
        result = DayOfMonthRun(start, d >= DayPart(start) ? n - 1 : n, d);
        return;
    }
    const int k = detail[2].AsInteger();
    const int t = CheckedCount(detail[3], 0, 6, "Weekday index") + 1;
    result = WeekdayOfMonthRun(start, n - 1, k, t);
    if (result < start) result = WeekdayOfMonthRun(start, n, k, t);
}

// Field n of a date-rule record.
std::string RuleField(const std::string& record, int n) {
    return GetField(record, kFieldSep, n);
}

// The value a rule whose enable flag sits in field `flag` gives, or the kept value when the
// rule is off. Fields flag + 1 .. flag + 4 are amount, unit, mode and day offset.
Variant RuleValue(const std::string& record, int flag, const std::string& base,
                  const Variant& kept) {
    if (RuleField(record, flag) != "Y") return kept;
    const std::string amount = RuleField(record, flag + 1);
    const std::string mode = RuleField(record, flag + 3);
    const std::string offset = RuleField(record, flag + 4);
    if (amount == "0" && mode == "0" && offset == "0") return Variant(base);
    return Variant(EvalDateRule(base, amount, RuleField(record, flag + 2), mode, offset));
}

std::string BaseFor(const std::string& kindField, const std::string& runDay) {
    return kindField == "D" ? runDay : Copy(runDay, 1, 6);
}

void RedateOne(const std::string& record, const std::string& runDay, Variant& values) {
    if (RuleField(record, 1) != "0") {
        const std::string base = BaseFor(RuleField(record, 8), runDay);
        Variant& value = values[StrToInt(RuleField(record, 9))];
        value = RuleValue(record, 3, base, value);
        return;
    }
    const std::string base = BaseFor(RuleField(record, 13), runDay);
    Variant& range = values[StrToInt(RuleField(record, 14))];
    range[1] = RuleValue(record, 3, base, range[1]);
    range[2] = RuleValue(record, 8, base, range[2]);
}

}  // namespace

std::string WeekBoundary(const std::string& base, int weeks, const std::string& mode) {
    const bool toSunday = StrToInt(mode) == 1;
    const std::string moved = Shift(base, "D", std::int64_t{weeks} * 7);
    const int weekday = WeekdayOf(moved);
    if (weekday == 0) return std::string();
    return Shift(moved, "D", toSunday ? 1 - weekday : 7 - weekday);
}

std::string EvalDateRule(const std::string& base, const std::string& amount,
                         const std::string& unit, const std::string& mode,
                         const std::string& dayOffset) {
    const int count = StrToInt(amount);
    if (base.size() < 7) return Copy(Shift(base + "01", "M", count), 1, 6);
    if (unit != "0") return MonthRule(base, count, mode, dayOffset);
    if (StrToInt(mode) != 0) return WeekBoundary(base, count, mode);
    return Shift(base, "D", std::int64_t{count} * 7 + StrToInt(dayOffset));
}

std::string FirstRunDate(const std::string& start, const Variant& cycleStyle) {
    std::string result;
    try {
        switch (cycleStyle[0].AsInteger()) {
            case 0:
                result = start;
                break;
            case 1:
                WeeklyRun(start, cycleStyle[1], result);
                break;
            case 2:
                MonthlyRun(start, cycleStyle[1], result);
                break;
            default:
                break;  // hourly and unknown kinds run from the current time instead
        }
    } catch (...) {
    }
    return result;
}

Variant RedateDynamicFields(const Variant& job, const std::string& runDay) {
    try {
        Variant values = job[1];
        const Variant& records = job[3];
        const int count = records[0].AsInteger();
        for (int i = 1; i <= count; ++i)
            RedateOne(records[i].AsString(), runDay, values);
        return values;
    } catch (...) {
        return Variant(std::string());
    }
}

}  // namespace kv
