// The calendar of the SysUtils unit: encoding and decoding dates and times, the clock, and
// moving dates by days, months and years.
#include <chrono>
#include <cmath>
#include <ctime>

#include "platform/core/DateTimeParts.h"
#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace kv {

namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

// Days from 1 March of year 0 (proleptic Gregorian) to the date; the usual civil algorithm.
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

const std::int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += kEpochDays;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp + (mp < 10 ? 3 : -9);
    year = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
    month = static_cast<int>(m);
    day = static_cast<int>(d);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Whole days and milliseconds of a date-time

DayAndTime SplitDateTime(TDateTime value) {
    DayAndTime parts;
    if (!std::isfinite(value) || std::fabs(value) > kMaxDateTimeMagnitude) {
        throw EConvertError("Invalid date/time value");
    }
    const double whole = std::trunc(value);
    parts.day = static_cast<std::int64_t>(whole);
    parts.ms = std::llround(std::fabs(value - whole) * static_cast<double>(kMsPerDay));
    // A time that rounds up to midnight is the start of the next calendar day.
    if (parts.ms >= kMsPerDay) {
        parts.ms -= kMsPerDay;
        parts.day += 1;
    }
    return parts;
}

TDateTime JoinDateTime(std::int64_t day, std::int64_t ms) {
    const double time = static_cast<double>(ms) / static_cast<double>(kMsPerDay);
    const auto date = static_cast<double>(day);
    // Before the epoch the fraction still counts forwards from midnight.
    return day >= 0 ? date + time : date - time;
}

// ---------------------------------------------------------------------------------------------
// Calendar

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInAMonth(int year, int month) {
    if (month < 1 || month > 12) return 0;
    return MonthDays[IsLeapYear(year) ? 1 : 0][static_cast<std::size_t>(month - 1)];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
    if (year < 1 || year > 9999 || day < 1 || day > DaysInAMonth(year, month)) return false;
    value = static_cast<double>(DaysFromCivil(year, month, day) - kEpochDays);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime value = 0;
    if (!TryEncodeDate(year, month, day, value)) {
        throw EConvertError("Invalid argument to date encode");
    }
    return value;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999) {
        return false;
    }
    const std::int64_t ms = ((hour * 60LL + minute) * 60LL + second) * 1000LL + millisecond;
    value = static_cast<double>(ms) / static_cast<double>(kMsPerDay);
    return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    TDateTime value = 0;
    if (!TryEncodeTime(hour, minute, second, millisecond, value)) {
        throw EConvertError("Invalid argument to time encode");
    }
    return value;
}

bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                       int millisecond, TDateTime& value) {
    TDateTime date = 0;
    TDateTime time = 0;
    if (!TryEncodeDate(year, month, day, date) ||
        !TryEncodeTime(hour, minute, second, millisecond, time)) {
        return false;
    }
    const std::int64_t ms = std::llround(time * static_cast<double>(kMsPerDay));
    value = JoinDateTime(static_cast<std::int64_t>(date), ms);
    return true;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond) {
    TDateTime value = 0;
    if (!TryEncodeDate(year, month, day, value)) {
        throw EConvertError("Invalid argument to date encode");
    }
    if (!TryEncodeDateTime(year, month, day, hour, minute, second, millisecond, value)) {
        throw EConvertError("Invalid argument to time encode");
    }
    return value;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
    CivilFromDays(SplitDateTime(value).day, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
    std::int64_t ms = SplitDateTime(value).ms;
    millisecond = static_cast<int>(ms % 1000);
    ms /= 1000;
    second = static_cast<int>(ms % 60);
    ms /= 60;
    minute = static_cast<int>(ms % 60);
    hour = static_cast<int>(ms / 60);
}

void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute,
                    int& second, int& millisecond) {
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, millisecond);
}

// ---------------------------------------------------------------------------------------------
// Clock

TDateTime Now() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto sinceSecond = now - std::chrono::system_clock::from_time_t(seconds);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceSecond).count();
    std::tm local{};
    localtime_r(&seconds, &local);
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                          local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec,
                          static_cast<int>(ms < 0 ? 0 : (ms > 999 ? 999 : ms)));
}

TDateTime Date() {
    return DateOf(Now());
}
TDateTime Time() {
    return TimeOf(Now());
}

// ---------------------------------------------------------------------------------------------
// Parts and moves

int DayOfWeek(TDateTime value) {
    // Day 0 (30 December 1899) was a Saturday.
    const std::int64_t day = SplitDateTime(value).day;
    return static_cast<int>(((day - 1) % 7 + 7) % 7) + 1;
}

int YearOf(TDateTime value) {
    int year = 0, month = 0, day = 0;
    DecodeDate(value, year, month, day);
    return year;
}

int MonthOf(TDateTime value) {
    int year = 0, month = 0, day = 0;
    DecodeDate(value, year, month, day);
    return month;
}

int DayOf(TDateTime value) {
    int year = 0, month = 0, day = 0;
    DecodeDate(value, year, month, day);
    return day;
}

TDateTime DateOf(TDateTime value) {
    return static_cast<double>(SplitDateTime(value).day);
}

TDateTime TimeOf(TDateTime value) {
    return JoinDateTime(0, SplitDateTime(value).ms);
}

TDateTime IncDay(TDateTime value, int days) {
    const DayAndTime parts = SplitDateTime(value);
    return JoinDateTime(parts.day + days, parts.ms);
}

TDateTime IncMonth(TDateTime value, int months) {
    const DayAndTime parts = SplitDateTime(value);
    int year = 0, month = 0, day = 0;
    CivilFromDays(parts.day, year, month, day);
    const std::int64_t total = std::int64_t{year} * 12 + (month - 1) + months;
    const auto newYear = static_cast<int>(total >= 0 ? total / 12 : (total - 11) / 12);
    const auto newMonth = static_cast<int>(total - std::int64_t{newYear} * 12) + 1;
    const int lastDay = DaysInAMonth(newYear, newMonth);
    TDateTime date = 0;
    if (!TryEncodeDate(newYear, newMonth, day > lastDay ? lastDay : day, date)) {
        throw EConvertError("Invalid argument to date encode");
    }
    return JoinDateTime(static_cast<std::int64_t>(date), parts.ms);
}

TDateTime IncYear(TDateTime value, int years) {
    // Beyond this the result lies outside every valid year anyway.
    constexpr int kYearLimit = 1'000'000;
    if (years > kYearLimit || years < -kYearLimit) {
        throw EConvertError("Invalid argument to date encode");
    }
    return IncMonth(value, years * 12);
}

}  // namespace kv
