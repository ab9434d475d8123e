// Date-time texts of the SysUtils unit: FormatDateTime and the date and time readers.
#include <cctype>
#include <cstdio>

#include "platform/core/DateTimeParts.h"
#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace kv {

namespace {

// Formats nested through "c", "ddddd", "t" and the like expand this deep at most, so a
// settings format that names itself cannot recurse without end.
constexpr int kMaxNesting = 3;

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool StartsWithNoCase(std::string_view s, std::size_t at, std::string_view prefix) {
    return s.size() - at >= prefix.size() && SameText(s.substr(at, prefix.size()), prefix);
}

std::string Padded(long long value, int width) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*lld", width, value);
    return buffer;
}

class DateTimeWriter {
public:
    DateTimeWriter(TDateTime value, const TFormatSettings& settings) : settings_(settings) {
        const DayAndTime parts = SplitDateTime(value);
        DecodeDate(static_cast<double>(parts.day), year_, month_, day_);
        DecodeTime(JoinDateTime(0, parts.ms), hour_, minute_, second_, ms_);
        dayOfWeek_ = DayOfWeek(value);
        midnight_ = parts.ms == 0;
    }

    void Write(std::string_view fmt, std::string& out, int depth);

private:
    void WriteLetters(std::string_view fmt, std::size_t& i, std::string& out, int depth);
    void WriteMonthOrMinute(std::size_t count, std::string& out);
    void WriteDay(std::size_t count, std::string& out, int depth);
    bool WriteAmPm(std::string_view fmt, std::size_t& i, std::string& out);
    static bool HasAmPmAfter(std::string_view fmt, std::size_t from);

    const TFormatSettings& settings_;
    int year_ = 0, month_ = 0, day_ = 0, hour_ = 0, minute_ = 0, second_ = 0, ms_ = 0;
    int dayOfWeek_ = 1;
    bool midnight_ = true;
    bool lastWasHour_ = false;
    bool twelveHour_ = false;
};

bool DateTimeWriter::HasAmPmAfter(std::string_view fmt, std::size_t from) {
    for (std::size_t i = from; i < fmt.size(); ++i) {
        const char c = fmt[i];
        if (c == '"' || c == '\'') {
            const std::size_t close = fmt.find(c, i + 1);
            if (close == std::string_view::npos) return false;
            i = close;
        } else if (StartsWithNoCase(fmt, i, "am/pm") || StartsWithNoCase(fmt, i, "a/p") ||
                   StartsWithNoCase(fmt, i, "ampm")) {
            return true;
        }
    }
    return false;
}

bool DateTimeWriter::WriteAmPm(std::string_view fmt, std::size_t& i, std::string& out) {
    const bool pm = hour_ >= 12;
    if (StartsWithNoCase(fmt, i, "am/pm")) {
        out += fmt.substr(pm ? i + 3 : i, 2);
        i += 5;
    } else if (StartsWithNoCase(fmt, i, "a/p")) {
        out += fmt[pm ? i + 2 : i];
        i += 3;
    } else if (StartsWithNoCase(fmt, i, "ampm")) {
        out += pm ? settings_.TimePMString : settings_.TimeAMString;
        i += 4;
    } else {
        return false;
    }
    return true;
}

void DateTimeWriter::WriteMonthOrMinute(std::size_t count, std::string& out) {
    if (lastWasHour_ && count <= 2) {
        out += count == 1 ? std::to_string(minute_) : Padded(minute_, 2);
        return;
    }
    const auto index = static_cast<std::size_t>(month_ - 1);
    if (count == 1) {
        out += std::to_string(month_);
    } else if (count == 2) {
        out += Padded(month_, 2);
    } else if (count == 3) {
        out += settings_.ShortMonthNames[index];
    } else {
        out += settings_.LongMonthNames[index];
    }
}

void DateTimeWriter::WriteDay(std::size_t count, std::string& out, int depth) {
    const auto weekday = static_cast<std::size_t>(dayOfWeek_ - 1);
    switch (count) {
        case 1:
            out += std::to_string(day_);
            break;
        case 2:
            out += Padded(day_, 2);
            break;
        case 3:
            out += settings_.ShortDayNames[weekday];
            break;
        case 4:
            out += settings_.LongDayNames[weekday];
            break;
        case 5:
            Write(settings_.ShortDateFormat, out, depth + 1);
            break;
        default:
            Write(settings_.LongDateFormat, out, depth + 1);
            break;
    }
}

void DateTimeWriter::WriteLetters(std::string_view fmt, std::size_t& i, std::string& out,
                                  int depth) {
    const char letter = Upper(fmt[i]);
    std::size_t count = 1;
    while (i + count < fmt.size() && Upper(fmt[i + count]) == letter)
        ++count;
    const std::size_t next = i + count;
    bool isHour = false;
    switch (letter) {
        case 'Y':
            out += count <= 2 ? Padded(year_ % 100, 2) : Padded(year_, 4);
            break;
        case 'M':
            WriteMonthOrMinute(count, out);
            break;
        case 'D':
            WriteDay(count, out, depth);
            break;
        case 'H': {
            isHour = true;
            twelveHour_ = HasAmPmAfter(fmt, next);
            int hour = hour_;
            if (twelveHour_) hour = hour % 12 == 0 ? 12 : hour % 12;
            out += count == 1 ? std::to_string(hour) : Padded(hour, 2);
            break;
        }
        case 'N':
            out += count == 1 ? std::to_string(minute_) : Padded(minute_, 2);
            break;
        case 'S':
            out += count == 1 ? std::to_string(second_) : Padded(second_, 2);
            break;
        case 'Z':
            out += count < 3 ? std::to_string(ms_) : Padded(ms_, 3);
            break;
        case 'T':
            Write(count == 1 ? settings_.ShortTimeFormat : settings_.LongTimeFormat, out,
                  depth + 1);
            break;
        default:  // 'C', one letter at a time
            count = 1;
            Write(settings_.ShortDateFormat, out, depth + 1);
            if (!midnight_) {
                out += ' ';
                Write(settings_.LongTimeFormat, out, depth + 1);
            }
            break;
    }
    lastWasHour_ = isHour;
    i += count;
}

void DateTimeWriter::Write(std::string_view fmt, std::string& out, int depth) {
    if (depth > kMaxNesting) return;
    std::size_t i = 0;
    while (i < fmt.size()) {
        const char c = fmt[i];
        const char upper = Upper(c);
        if (c == '"' || c == '\'') {
            std::size_t close = fmt.find(c, i + 1);
            if (close == std::string_view::npos) close = fmt.size();
            out += fmt.substr(i + 1, close - i - 1);
            i = close + 1;
        } else if (upper == 'A' && WriteAmPm(fmt, i, out)) {
            lastWasHour_ = false;
        } else if (std::string_view("YMDHNSZTC").find(upper) != std::string_view::npos) {
            WriteLetters(fmt, i, out, depth);
        } else {
            if (c == '/') {
                out += settings_.DateSeparator;
            } else if (c == ':') {
                out += settings_.TimeSeparator;
            } else {
                out += c;
            }
            ++i;
        }
    }
}

}  // namespace

std::string FormatDateTime(std::string_view format, TDateTime value) {
    return FormatDateTime(format, value, FormatSettings);
}

std::string FormatDateTime(std::string_view format, TDateTime value,
                           const TFormatSettings& settings) {
    std::string out;
    DateTimeWriter(value, settings).Write(format.empty() ? "c" : format, out, 0);
    return out;
}

std::string DateToStr(TDateTime value) {
    return FormatDateTime("ddddd", value);
}
std::string TimeToStr(TDateTime value) {
    return FormatDateTime("tt", value);
}
std::string DateTimeToStr(TDateTime value) {
    return FormatDateTime("c", value);
}

}  // namespace kv
