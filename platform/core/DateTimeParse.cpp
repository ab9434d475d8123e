// Date and time readers of the SysUtils unit: StrToDate, StrToTime, StrToDateTime.
#include <cctype>

#include "platform/core/DateTimeParts.h"
#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace kv {

namespace {

enum class DateOrder { YMD, MDY, DMY };

// The order of year, month and day is the order in which they first appear in the format.
DateOrder OrderOf(std::string_view format) {
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '"' || c == '\'') {
            const std::size_t close = format.find(c, i + 1);
            if (close == std::string_view::npos) break;
            i = close;
            continue;
        }
        switch (std::tolower(static_cast<unsigned char>(c))) {
            case 'y':
                return DateOrder::YMD;
            case 'm':
                return DateOrder::MDY;
            case 'd':
                return DateOrder::DMY;
            default:
                break;
        }
    }
    return DateOrder::YMD;
}

class Scanner {
public:
    explicit Scanner(std::string_view s) : s_(s) {}

    void SkipBlanks() {
        while (pos_ < s_.size() && s_[pos_] == ' ')
            ++pos_;
    }
    bool AtEnd() {
        SkipBlanks();
        return pos_ >= s_.size();
    }
    // Reads up to nine digits (longer numbers are no date part).
    bool Number(int& value, int& digits) {
        SkipBlanks();
        value = 0;
        digits = 0;
        while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
            if (++digits > 9) return false;
            value = value * 10 + (s_[pos_++] - '0');
        }
        return digits > 0;
    }
    bool Char(char c) {
        SkipBlanks();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool Word(std::string_view word) {
        SkipBlanks();
        if (word.empty() || s_.size() - pos_ < word.size()) return false;
        if (!SameText(s_.substr(pos_, word.size()), word)) return false;
        pos_ += word.size();
        return true;
    }
    std::size_t Position() const { return pos_; }
    void Reset(std::size_t pos) { pos_ = pos; }

private:
    std::string_view s_;
    std::size_t pos_ = 0;
};

// A year written with one or two digits lies in the century window of the settings.
int ExpandYear(int year, int digits, const TFormatSettings& settings) {
    if (digits > 2) return year;
    const int current = YearOf(Now());
    if (settings.TwoDigitYearCenturyWindow <= 0) return current / 100 * 100 + year;
    const int base = current - settings.TwoDigitYearCenturyWindow;
    int expanded = base / 100 * 100 + year;
    if (expanded < base) expanded += 100;
    return expanded;
}

bool ScanDate(Scanner& in, const TFormatSettings& settings, std::int64_t& day) {
    int n[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int parts = 0;
    do {
        if (!in.Number(n[parts], digits[parts])) return false;
        ++parts;
    } while (parts < 3 && in.Char(settings.DateSeparator));
    if (parts < 2) return false;
    const DateOrder order = OrderOf(settings.ShortDateFormat);
    int year = YearOf(Now());
    int yearDigits = 4;
    int month = 0;
    int dayOfMonth = 0;
    if (parts == 2) {
        month = order == DateOrder::DMY ? n[1] : n[0];
        dayOfMonth = order == DateOrder::DMY ? n[0] : n[1];
    } else if (order == DateOrder::YMD) {
        year = n[0], yearDigits = digits[0], month = n[1], dayOfMonth = n[2];
    } else if (order == DateOrder::MDY) {
        month = n[0], dayOfMonth = n[1], year = n[2], yearDigits = digits[2];
    } else {
        dayOfMonth = n[0], month = n[1], year = n[2], yearDigits = digits[2];
    }
    TDateTime date = 0;
    if (!TryEncodeDate(ExpandYear(year, yearDigits, settings), month, dayOfMonth, date)) {
        return false;
    }
    day = static_cast<std::int64_t>(date);
    return true;
}

// 0 = none, 1 = AM, 2 = PM.
int ScanAmPm(Scanner& in, const TFormatSettings& settings) {
    if (in.Word(settings.TimeAMString) || in.Word("AM")) return 1;
    if (in.Word(settings.TimePMString) || in.Word("PM")) return 2;
    return 0;
}

bool ScanTime(Scanner& in, const TFormatSettings& settings, std::int64_t& ms) {
    int half = ScanAmPm(in, settings);
    int value[4] = {0, 0, 0, 0};
    int digits = 0;
    if (!in.Number(value[0], digits)) return false;
    int parts = 1;
    while (parts < 3 && in.Char(settings.TimeSeparator)) {
        if (!in.Number(value[parts++], digits)) return false;
    }
    // Milliseconds follow the seconds after a time separator or a decimal point.
    if (parts == 3 && (in.Char(settings.TimeSeparator) || in.Char(settings.DecimalSeparator))) {
        if (!in.Number(value[3], digits)) return false;
    }
    if (half == 0) half = ScanAmPm(in, settings);
    int hour = value[0];
    if (half != 0) {
        if (hour < 1 || hour > 12) return false;
        hour = hour % 12 + (half == 2 ? 12 : 0);
    }
    TDateTime time = 0;
    if (!TryEncodeTime(hour, value[1], value[2], value[3], time)) return false;
    ms = SplitDateTime(time).ms;
    return true;
}

}  // namespace

bool TryStrToDate(std::string_view s, TDateTime& value) {
    return TryStrToDate(s, value, FormatSettings);
}

bool TryStrToDate(std::string_view s, TDateTime& value, const TFormatSettings& settings) {
    Scanner in(s);
    std::int64_t day = 0;
    if (!ScanDate(in, settings, day) || !in.AtEnd()) return false;
    value = static_cast<double>(day);
    return true;
}

TDateTime StrToDate(std::string_view s) {
    return StrToDate(s, FormatSettings);
}

TDateTime StrToDate(std::string_view s, const TFormatSettings& settings) {
    TDateTime value = 0;
    if (!TryStrToDate(s, value, settings)) {
        throw EConvertError("'" + std::string(s) + "' is not a valid date");
    }
    return value;
}

bool TryStrToTime(std::string_view s, TDateTime& value) {
    return TryStrToTime(s, value, FormatSettings);
}

bool TryStrToTime(std::string_view s, TDateTime& value, const TFormatSettings& settings) {
    Scanner in(s);
    std::int64_t ms = 0;
    if (!ScanTime(in, settings, ms) || !in.AtEnd()) return false;
    value = JoinDateTime(0, ms);
    return true;
}

TDateTime StrToTime(std::string_view s) {
    TDateTime value = 0;
    if (!TryStrToTime(s, value)) {
        throw EConvertError("'" + std::string(s) + "' is not a valid time");
    }
    return value;
}

bool TryStrToDateTime(std::string_view s, TDateTime& value) {
    return TryStrToDateTime(s, value, FormatSettings);
}

bool TryStrToDateTime(std::string_view s, TDateTime& value, const TFormatSettings& settings) {
    Scanner in(s);
    std::int64_t day = 0;
    std::int64_t ms = 0;
    if (ScanDate(in, settings, day)) {
        if (!in.AtEnd() && !ScanTime(in, settings, ms)) return false;
    } else {
        // No date in front: a time of day alone.
        in.Reset(0);
        day = 0;
        if (!ScanTime(in, settings, ms)) return false;
    }
    if (!in.AtEnd()) return false;
    value = JoinDateTime(day, ms);
    return true;
}

TDateTime StrToDateTime(std::string_view s) {
    return StrToDateTime(s, FormatSettings);
}

TDateTime StrToDateTime(std::string_view s, const TFormatSettings& settings) {
    TDateTime value = 0;
    if (!TryStrToDateTime(s, value, settings)) {
        throw EConvertError("'" + std::string(s) + "' is not a valid date and time");
    }
    return value;
}

}  // namespace kv
