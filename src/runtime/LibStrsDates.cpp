// LibStrs: the five date forms, ymd texts and date shifting.
#include <cmath>
#include <cstdint>

#include "platform/core/Variant.h"
#include "src/runtime/LibStrs.h"

namespace kv {

namespace {

// Republic-of-China years count from 1912.
constexpr int kRocYearOffset = 1911;
constexpr std::int64_t kMaxYear = 9999;

// The first character (not byte) of the separator text, or nothing.
std::string FirstCharacter(std::string_view text) {
    if (text.empty()) return {};
    size_t len = 1;
    while (len < text.size() && (static_cast<unsigned char>(text[len]) & 0xC0) == 0x80)
        ++len;
    return std::string(text.substr(0, len));
}

// Year, month and day of a date the calendar can show; false for anything else (not a
// number, outside years 1 to 9999).
bool SafeDecode(TDateTime date, int& year, int& month, int& day) {
    if (!std::isfinite(date)) return false;
    TDateTime first = 0;
    TDateTime last = 0;
    if (!TryEncodeDate(1, 1, 1, first) || !TryEncodeDate(9999, 12, 31, last)) return false;
    if (date < first || date >= last + 1) return false;
    DecodeDate(date, year, month, day);
    return true;
}

std::string YmdText(int year, int month, int day) {
    return Format("%.4d%.2d%.2d", {year, month, day});
}

// The year in the way the form writes it.
int DisplayYear(int form, int year) {
    return form >= 4 ? year - kRocYearOffset : year;
}

// A trimmed field as a whole number; -1 when it is none.
int FieldNumber(const std::string& field) {
    return StrToIntDef(Trim(field), -1);
}

// The date of a ymd text, or 0.
TDateTime DateOfText(const Variant& value) {
    std::string text = VarToStr(value);
    return YmdToDate(text);
}

std::string ShiftYears(int year, int month, int day, std::int64_t n) {
    std::int64_t newYear = year + n;
    if (newYear < 1 || newYear > kMaxYear) return {};
    int y = static_cast<int>(newYear);
    if (month == 2 && day == 29 && !IsLeapYear(y)) day = 28;
    return YmdText(y, month, day);
}

std::string ShiftMonths(int year, int month, int day, std::int64_t n) {
    std::int64_t total = std::int64_t{year} * 12 + month + n;
    std::int64_t newYear = total / 12;
    std::int64_t newMonth = total % 12;
    if (newMonth <= 0) {  // a remainder of 0 is December of the year before
        newMonth += 12;
        --newYear;
    }
    if (newYear < 1 || newYear > kMaxYear) return {};
    int y = static_cast<int>(newYear);
    int m = static_cast<int>(newMonth);
    int last = DaysOfMonth(y, m);
    return YmdText(y, m, day > last ? last : day);
}

std::string ShiftDays(TDateTime date, std::int64_t n) {
    int year = 0;
    int month = 0;
    int day = 0;
    if (!SafeDecode(date + static_cast<double>(n), year, month, day)) return {};
    return YmdText(year, month, day);
}

}  // namespace

std::string FormatDateStr(int form, std::string_view separator, TDateTime date) {
    int year = 0;
    int month = 0;
    int day = 0;
    if (date == 0 || !SafeDecode(date, year, month, day)) return {};
    std::string sep = FirstCharacter(separator);
    int shown = DisplayYear(form, year);
    switch (form) {
        case 1:
            return Format("%.4d%s%.2d%s%.2d", {shown, sep, month, sep, day});
        case 2:
            return Format("%.2d%s%.2d%s%.4d", {month, sep, day, sep, shown});
        case 3:
            return Format("%.2d%s%.2d%s%.4d", {day, sep, month, sep, shown});
        case 4:
            return Format("%.2d%s%.2d%s%.2d", {shown, sep, month, sep, day});
        case 5:
            return Format("%.3d%s%.2d%s%.2d", {shown, sep, month, sep, day});
        default:
            return {};
    }
}

std::string FormatYearMonthStr(int form, std::string_view separator, TDateTime date) {
    int year = 0;
    int month = 0;
    int day = 0;
    if (date == 0 || !SafeDecode(date, year, month, day)) return {};
    std::string sep = FirstCharacter(separator);
    int shown = DisplayYear(form, year);
    switch (form) {
        case 1:
            return Format("%.4d%s%.2d", {shown, sep, month});
        case 2:
        case 3:
            return Format("%.2d%s%.4d", {month, sep, shown});
        case 4:
            return Format("%.2d%s%.2d", {shown, sep, month});
        case 5:
            return Format("%.3d%s%.2d", {shown, sep, month});
        default:
            return {};
    }
}

TDateTime ParseDateStr(std::string_view text, int form, std::string_view separator) {
    std::string rest = Trim(text);
    if (rest.empty() || form < 1 || form > 5) return 0;
    int a = FieldNumber(CutField(rest, separator));
    int b = FieldNumber(CutField(rest, separator));
    int c = FieldNumber(CutField(rest, separator));
    if (a <= 0 || b <= 0 || c <= 0) return 0;
    std::int64_t year = a;
    int month = b;
    int day = c;
    if (form == 2) {
        year = c;
        month = a;
        day = b;
    } else if (form == 3) {
        year = c;
        day = a;
    } else if (form >= 4) {
        year = std::int64_t{a} + kRocYearOffset;
    }
    TDateTime first = 0;
    if (year > kMaxYear || !TryEncodeDate(static_cast<int>(year), month, 1, first)) return 0;
    // A day past the month's end runs on into the following months, but never past the last
    // day the calendar knows.
    TDateTime result = first + (day - 1);
    int y = 0;
    int m = 0;
    int d = 0;
    return SafeDecode(result, y, m, d) ? result : 0;
}

TDateTime YmdToDate(std::string_view ymd) {
    if (ymd.size() != 8) return 0;
    int year = StrToIntDef(ymd.substr(0, 4), 0);
    int month = StrToIntDef(ymd.substr(4, 2), 0);
    int day = StrToIntDef(ymd.substr(6, 2), 0);
    TDateTime date = 0;
    if (year == 0 || month == 0 || day == 0 || !TryEncodeDate(year, month, day, date)) return 0;
    return date;
}

bool IsValidYmd(std::string_view ymd) {
    if (ymd.empty()) return true;
    // Exactly eight digits: a shorter or longer text would compare as a text inside the range
    // while naming a year outside it (year 999 written "9990101").
    if (ymd.size() != 8) return false;
    for (char c : ymd) {
        if (c < '0' || c > '9') return false;
    }
    TDateTime date = 0;
    if (!TryEncodeDate(StrToInt(ymd.substr(0, 4)), StrToInt(ymd.substr(4, 2)),
                       StrToInt(ymd.substr(6, 2)), date)) {
        return false;
    }
    return ymd >= "17530101" && ymd <= "99991231";
}

std::string ShiftDate(const Variant& value, std::string_view unit, int n) {
    TDateTime date = 0;
    if (VarIsStr(value)) {
        date = DateOfText(value);
    } else if (VarType(value) == varDate) {
        date = value.AsDate();
    } else {
        return {};
    }
    int year = 0;
    int month = 0;
    int day = 0;
    if (date == 0 || !SafeDecode(date, year, month, day)) return {};
    if (SameText(unit, "Y")) return ShiftYears(year, month, day, n);
    if (SameText(unit, "M")) return ShiftMonths(year, month, day, n);
    if (SameText(unit, "D")) return ShiftDays(std::trunc(date), n);
    return {};
}

int DaysOfMonth(int year, int month) {
    return DaysInAMonth(year, month);
}

}  // namespace kv
