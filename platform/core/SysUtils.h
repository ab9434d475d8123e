// The platform's general utilities: formatting (Format, FormatFloat, FormatDateTime), string
// helpers, number and date conversions, the calendar, and file-name helpers.
//
// Text is UTF-8 in std::string. Conversions that read user text raise EConvertError with the
// platform's messages; the Try* forms answer false instead, the *Def forms a default.
#pragma once

#include <array>
#include <bit>
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace kv {

// ---------------------------------------------------------------------------------------------
// Format settings

// Days since 30 December 1899; the fraction is the time of day. For dates before that day the
// whole part is negative while the fraction still counts forwards from midnight (-1.25 is
// 29 December 1899, 06:00), as the platform's dates do.
using TDateTime = double;

// Locale-like settings that formatting and parsing read. Defaults:
//   DateSeparator '/', TimeSeparator ':', ShortDateFormat "yyyy/mm/dd",
//   LongDateFormat "yyyy/mm/dd", ShortTimeFormat "hh:nn", LongTimeFormat "hh:nn:ss",
//   DecimalSeparator '.', ThousandSeparator ',', TimeAMString "AM", TimePMString "PM",
//   CurrencyString "$", CurrencyDecimals 2, English month and day names,
//   TwoDigitYearCenturyWindow 50.
struct TFormatSettings {
    char DateSeparator = '/';
    char TimeSeparator = ':';
    std::string ShortDateFormat = "yyyy/mm/dd";
    std::string LongDateFormat = "yyyy/mm/dd";
    std::string ShortTimeFormat = "hh:nn";
    std::string LongTimeFormat = "hh:nn:ss";
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::string CurrencyString = "$";
    int CurrencyDecimals = 2;
    std::array<std::string, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> LongMonthNames = {"January",   "February", "March",    "April",
                                                  "May",       "June",     "July",     "August",
                                                  "September", "October",  "November", "December"};
    std::array<std::string, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> LongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                               "Thursday", "Friday", "Saturday"};
    // A two-digit year read by StrToDate lies within 100 years whose start is this many years
    // before the current year; 0 means the current century.
    int TwoDigitYearCenturyWindow = 50;
};

// The process-wide settings that every function without a settings argument reads. Settable;
// not synchronised (the platform runs its user interface on one thread).
extern TFormatSettings FormatSettings;

// ---------------------------------------------------------------------------------------------
// Format

// One argument of Format: an integer, a floating-point number, a text or a pointer.
class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Float, Text, Pointer };

    template <std::signed_integral T>
    requires(!std::same_as<T, char>) FormatArg(T value)
        : value_(std::int64_t{value}), bytes_(sizeof(T) > 4 ? 8 : 4) {}
    template <std::unsigned_integral T>
    requires(!std::same_as<T, bool>) FormatArg(T value)
        : value_(std::uint64_t{value}), bytes_(sizeof(T) > 4 ? 8 : 4) {}
    FormatArg(bool) = delete;  // the platform formats no Booleans; convert explicitly
    FormatArg(double value) : value_(value) {}
    FormatArg(char value) : value_(std::string(1, value)) {}
    FormatArg(const char* value) : value_(std::string(value != nullptr ? value : "")) {}
    FormatArg(std::string value) : value_(std::move(value)) {}
    FormatArg(std::string_view value) : value_(std::string(value)) {}
    FormatArg(const void* value) : value_(value) {}

    Kind GetKind() const noexcept { return static_cast<Kind>(value_.index()); }
    std::int64_t AsSigned() const { return std::get<std::int64_t>(value_); }
    std::uint64_t AsUnsigned() const { return std::get<std::uint64_t>(value_); }
    double AsFloat() const { return std::get<double>(value_); }
    const std::string& AsText() const { return std::get<std::string>(value_); }
    const void* AsPointer() const { return std::get<const void*>(value_); }
    // Size of an integer argument in bytes (4 or 8): "%u" and "%x" show a negative value as
    // the two's complement of that size.
    int IntegerBytes() const noexcept { return bytes_; }

private:
    std::variant<std::int64_t, std::uint64_t, double, std::string, const void*> value_;
    int bytes_ = 0;
};

// Formats like the platform: "%" [index ":"] ["-"] [width] ["." precision] type, with width,
// precision and index also given as "*" (taken from the next argument). Types:
//   d (integer; precision = minimum digits, zero-padded), u (unsigned), x/X (hexadecimal),
//   s (text or single character; precision truncates), f (fixed), e (scientific),
//   g (general, shortest), n (fixed with thousand separators), m (money), p (pointer),
//   "%%" is a percent sign. Width pads with blanks on the left, or on the right with "-".
// Too few arguments, an argument of the wrong kind or a malformed directive raise
// EConvertError "Format '<fmt>' invalid or incompatible with argument".
std::string Format(std::string_view fmt, std::initializer_list<FormatArg> args = {});
std::string Format(std::string_view fmt, const std::vector<FormatArg>& args);
std::string Format(std::string_view fmt, const std::vector<FormatArg>& args,
                   const TFormatSettings& settings);

// ---------------------------------------------------------------------------------------------
// Strings

// Strip blanks and control characters (bytes <= ' ') from both ends, the left or the right.
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

// ASCII letters only.
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
// Also the Latin-1 Supplement, Latin Extended-A and Greek/Cyrillic basics in UTF-8; other
// characters (CJK among them) stay as they are.
std::string AnsiUpperCase(std::string_view s);
std::string AnsiLowerCase(std::string_view s);

// Byte-wise comparison: < 0, 0, > 0.
int CompareStr(std::string_view a, std::string_view b);
// Comparison ignoring ASCII letter case.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// Comparison ignoring letter case as AnsiUpperCase knows it.
int AnsiCompareText(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);

// s in single quotes with each single quote doubled: O'Neil -> 'O''Neil'.
std::string QuotedStr(std::string_view s);
// s in the given quote character with that character doubled inside.
std::string AnsiQuotedStr(std::string_view s, char quote);
// The inverse of AnsiQuotedStr; a text that does not start with the quote is returned as is;
// a missing closing quote takes the rest of the text.
std::string AnsiDequotedStr(std::string_view s, char quote);

enum TReplaceFlags : unsigned { rfNone = 0, rfReplaceAll = 1, rfIgnoreCase = 2 };
constexpr TReplaceFlags operator|(TReplaceFlags a, TReplaceFlags b) {
    return static_cast<TReplaceFlags>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
// Replaces the first (or, with rfReplaceAll, every) occurrence of oldPattern; rfIgnoreCase
// matches ignoring ASCII letter case. Replaced text is not searched again. An empty
// oldPattern replaces nothing.
std::string StringReplace(std::string_view s, std::string_view oldPattern,
                          std::string_view newPattern, TReplaceFlags flags);

// 1-based position of the first occurrence of sub in s, 0 when absent or sub is empty.
int Pos(std::string_view sub, std::string_view s);
// The same, searching from the 1-based offset; 0 for an offset outside s.
int PosEx(std::string_view sub, std::string_view s, int offset);
// count bytes from the 1-based index; an index below 1 counts as 1, past the end or a count
// below 1 gives the empty text.
std::string Copy(std::string_view s, int index, int count);
// count copies of c (none for count <= 0).
std::string StringOfChar(char c, int count);

// ---------------------------------------------------------------------------------------------
// Integers

std::string IntToStr(long long value);
std::string UIntToStr(unsigned long long value);
template <std::integral T>
requires(!std::same_as<T, bool>) std::string IntToStr(T value) {
    if constexpr (std::is_signed_v<T>) {
        long long wide = value;
        return IntToStr(wide);
    } else {
        unsigned long long wide = value;
        return UIntToStr(wide);
    }
}

// Upper-case hexadecimal with at least `digits` digits. Negative values show their two's
// complement at the width of their type (32 bits for int, 64 bits for 64-bit types).
std::string HexDigits(std::uint64_t bits, int digits);
template <std::integral T>
requires(!std::same_as<T, bool>) std::string IntToHex(T value, int digits) {
    if constexpr (sizeof(T) < sizeof(int)) {
        return IntToHex(int{value}, digits);
    } else {
        std::uint64_t bits = std::bit_cast<std::make_unsigned_t<T>>(value);
        return HexDigits(bits, digits);
    }
}

// Reads a whole text as an integer: leading blanks allowed (trailing ones are not), an
// optional sign, decimal digits or hexadecimal after "$", "0x" or "0X". Out of range or
// anything else raises EConvertError "'<s>' is not a valid integer value".
int StrToInt(std::string_view s);
std::int64_t StrToInt64(std::string_view s);
bool TryStrToInt(std::string_view s, int& value);
bool TryStrToInt64(std::string_view s, std::int64_t& value);
int StrToIntDef(std::string_view s, int defaultValue);
std::int64_t StrToInt64Def(std::string_view s, std::int64_t defaultValue);

// ---------------------------------------------------------------------------------------------
// Floating point

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Shortest text with at most 15 significant digits ("0.1", "1E20", "1.5E-7"), the platform's
// general form; "NAN", "INF", "-INF" for the special values.
std::string FloatToStr(double value);
std::string FloatToStr(double value, const TFormatSettings& settings);
// The platform's FloatToStrF: precision = significant digits (general, exponent) and digits
// = decimals (fixed, number, currency) or minimum exponent digits (exponent).
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits);
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& settings);
// Picture formatting: "0" digit, "#" optional digit, "." decimal point, "," thousands,
// "E+0"/"E-0" exponent, quoted literals, ";" separating positive;negative;zero sections.
std::string FormatFloat(std::string_view format, double value);
std::string FormatFloat(std::string_view format, double value, const TFormatSettings& settings);

// Reads a decimal number with the settings' decimal separator, optional sign, optional
// exponent, surrounding blanks allowed. Raises EConvertError
// "'<s>' is not a valid floating point value".
double StrToFloat(std::string_view s);
double StrToFloat(std::string_view s, const TFormatSettings& settings);
bool TryStrToFloat(std::string_view s, double& value);
bool TryStrToFloat(std::string_view s, double& value, const TFormatSettings& settings);
double StrToFloatDef(std::string_view s, double defaultValue);

// ---------------------------------------------------------------------------------------------
// Booleans

// "True"/"False" with useBoolStrs, else "-1"/"0".
std::string BoolToStr(bool value, bool useBoolStrs = false);
// "True"/"False" in any case, or a number (non-zero is true). Raises EConvertError
// "'<s>' is not a valid boolean value".
bool StrToBool(std::string_view s);
bool TryStrToBool(std::string_view s, bool& value);
bool StrToBoolDef(std::string_view s, bool defaultValue);

// ---------------------------------------------------------------------------------------------
// Calendar

inline constexpr std::array<std::array<int, 12>, 2> MonthDays = {
    {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
     {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}}};

bool IsLeapYear(int year);
// Days of the month; 0 for a month outside 1..12.
int DaysInAMonth(int year, int month);

// Valid dates are years 1..9999; invalid arguments raise EConvertError
// "Invalid argument to date encode" / "Invalid argument to time encode".
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond);
bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                       int millisecond, TDateTime& value);

// Decoding rounds to the nearest millisecond first, so a time built with EncodeTime decodes
// to exactly what was encoded; a time that rounds up to midnight belongs to the next day.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);
void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute,
                    int& second, int& millisecond);

// Local time of the system clock.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime value);
int YearOf(TDateTime value);
int MonthOf(TDateTime value);
int DayOf(TDateTime value);
TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);

// Moves by whole months keeping the time of day; a day beyond the end of the target month
// becomes its last day (31 January + 1 month = end of February).
TDateTime IncMonth(TDateTime value, int months = 1);
TDateTime IncYear(TDateTime value, int years = 1);
TDateTime IncDay(TDateTime value, int days = 1);

// ---------------------------------------------------------------------------------------------
// Date and time texts

// Specifiers (letter case does not matter): c (short date + long time, the time left out at
// midnight), d, dd, ddd, dddd, ddddd (short date), dddddd (long date), m, mm, mmm, mmmm, yy,
// yyyy, h, hh, n, nn, s, ss, z, zzz, t (short time), tt (long time), am/pm, a/p, ampm,
// "/" (date separator), ":" (time separator), '...' and "..." literals. An "m" right after an
// "h" or "hh" means minutes. Other characters are copied.
std::string FormatDateTime(std::string_view format, TDateTime value);
std::string FormatDateTime(std::string_view format, TDateTime value,
                           const TFormatSettings& settings);
std::string DateToStr(TDateTime value);
std::string TimeToStr(TDateTime value);
std::string DateTimeToStr(TDateTime value);

// Read a date in the order of ShortDateFormat (y, m, d as they first appear) with the
// DateSeparator; a missing year is the current year, a two-digit year follows the century
// window. Times are h[:n[:s[(:|.)z]]] with optional AM/PM. Raise EConvertError
// "'<s>' is not a valid date" / "... valid time" / "... valid date and time".
TDateTime StrToDate(std::string_view s);
TDateTime StrToDate(std::string_view s, const TFormatSettings& settings);
bool TryStrToDate(std::string_view s, TDateTime& value);
bool TryStrToDate(std::string_view s, TDateTime& value, const TFormatSettings& settings);
TDateTime StrToTime(std::string_view s);
bool TryStrToTime(std::string_view s, TDateTime& value);
bool TryStrToTime(std::string_view s, TDateTime& value, const TFormatSettings& settings);
TDateTime StrToDateTime(std::string_view s);
TDateTime StrToDateTime(std::string_view s, const TFormatSettings& settings);
bool TryStrToDateTime(std::string_view s, TDateTime& value);
bool TryStrToDateTime(std::string_view s, TDateTime& value, const TFormatSettings& settings);

// ---------------------------------------------------------------------------------------------
// File names and files

// Paths use '/'. Both '/' and '\\' count as separators when taking names apart, since
// configuration texts may carry either.
inline constexpr char PathDelim = '/';

std::string ExtractFilePath(std::string_view fileName);  // up to and including the last '/'
std::string ExtractFileDir(std::string_view fileName);   // the same without the delimiter
std::string ExtractFileName(std::string_view fileName);
std::string ExtractFileExt(std::string_view fileName);  // with the dot; "" when none
std::string ChangeFileExt(std::string_view fileName, std::string_view extension);
std::string IncludeTrailingPathDelimiter(std::string_view path);
std::string ExcludeTrailingPathDelimiter(std::string_view path);

bool FileExists(std::string_view fileName);  // a regular file (following links)
bool DirectoryExists(std::string_view directory);
// Creates the directory and any missing parents; true when it exists afterwards.
bool ForceDirectories(std::string_view directory);
// Deletes a file (not a directory); true when it was deleted.
bool DeleteFile(std::string_view fileName);
std::string GetCurrentDir();

}  // namespace kv
