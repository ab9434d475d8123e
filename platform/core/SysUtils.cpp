// Strings, integers, Booleans and file names of the SysUtils unit.
#include "platform/core/SysUtils.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <limits>
#include <system_error>

#include "platform/core/Exceptions.h"

namespace kv {

// Constant-initialised, so that code running before main already sees the defaults. clang 14
// with this standard library cannot build the strings at compile time; there the settings are
// initialised before main as an ordinary global.
#if defined(__clang__)
TFormatSettings FormatSettings;
#else
constinit TFormatSettings FormatSettings;
#endif

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Strings

std::string Trim(std::string_view s) {
    return TrimRight(TrimLeft(s));
}

std::string TrimLeft(std::string_view s) {
    auto first = std::find_if_not(s.begin(), s.end(), IsBlank);
    return std::string(first, s.end());
}

std::string TrimRight(std::string_view s) {
    auto last = std::find_if_not(s.rbegin(), s.rend(), IsBlank);
    return std::string(s.begin(), last.base());
}

std::string UpperCase(std::string_view s) {
    std::string result(s);
    std::transform(result.begin(), result.end(), result.begin(), AsciiUpper);
    return result;
}

std::string LowerCase(std::string_view s) {
    std::string result(s);
    std::transform(result.begin(), result.end(), result.begin(), AsciiLower);
    return result;
}

int CompareStr(std::string_view a, std::string_view b) {
    return Sign(a.compare(b));
}

int CompareText(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(AsciiUpper(a[i]));
        const auto cb = static_cast<unsigned char>(AsciiUpper(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

int AnsiCompareText(std::string_view a, std::string_view b) {
    return CompareStr(AnsiUpperCase(a), AnsiUpperCase(b));
}

bool AnsiSameText(std::string_view a, std::string_view b) {
    return AnsiCompareText(a, b) == 0;
}

std::string QuotedStr(std::string_view s) {
    return AnsiQuotedStr(s, '\'');
}

std::string AnsiQuotedStr(std::string_view s, char quote) {
    std::string result(1, quote);
    for (char c : s) {
        result += c;
        if (c == quote) result += quote;
    }
    result += quote;
    return result;
}

std::string AnsiDequotedStr(std::string_view s, char quote) {
    if (s.empty() || s.front() != quote) return std::string(s);
    std::string result;
    for (std::size_t i = 1; i < s.size(); ++i) {
        if (s[i] != quote) {
            result += s[i];
        } else if (i + 1 < s.size() && s[i + 1] == quote) {
            result += quote;
            ++i;
        } else {
            break;  // the closing quote; anything after it is not part of the text
        }
    }
    return result;
}

std::string StringReplace(std::string_view s, std::string_view oldPattern,
                          std::string_view newPattern, TReplaceFlags flags) {
    if (oldPattern.empty()) return std::string(s);
    const bool ignoreCase = (flags & rfIgnoreCase) != 0;
    const bool all = (flags & rfReplaceAll) != 0;
    auto matchesAt = [&](std::size_t at) {
        if (at + oldPattern.size() > s.size()) return false;
        std::string_view part = s.substr(at, oldPattern.size());
        return ignoreCase ? SameText(part, oldPattern) : part == oldPattern;
    };
    std::string result;
    std::size_t i = 0;
    bool replaced = false;
    while (i < s.size()) {
        if ((all || !replaced) && matchesAt(i)) {
            result += newPattern;
            i += oldPattern.size();
            replaced = true;
        } else {
            result += s[i++];
        }
    }
    return result;
}

int Pos(std::string_view sub, std::string_view s) {
    return PosEx(sub, s, 1);
}

int PosEx(std::string_view sub, std::string_view s, int offset) {
    if (sub.empty() || offset < 1 || static_cast<std::size_t>(offset) > s.size()) return 0;
    const std::size_t found = s.find(sub, static_cast<std::size_t>(offset - 1));
    return found == std::string_view::npos ? 0 : static_cast<int>(found + 1);
}

std::string Copy(std::string_view s, int index, int count) {
    if (index < 1) index = 1;
    if (count < 1 || static_cast<std::size_t>(index) > s.size()) return {};
    return std::string(
        s.substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count)));
}

std::string StringOfChar(char c, int count) {
    return count > 0 ? std::string(static_cast<std::size_t>(count), c) : std::string();
}

// ---------------------------------------------------------------------------------------------
// Integers

std::string IntToStr(long long value) {
    return std::to_string(value);
}
std::string UIntToStr(unsigned long long value) {
    return std::to_string(value);
}

std::string HexDigits(std::uint64_t bits, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string result;
    do {
        result.insert(result.begin(), kDigits[bits & 0xF]);
        bits >>= 4;
    } while (bits != 0);
    if (static_cast<int>(result.size()) < digits) {
        result.insert(0, static_cast<std::size_t>(digits) - result.size(), '0');
    }
    return result;
}

namespace {

// The value of a digit in bases up to 16; 16 for anything else.
unsigned DigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
    return 16;
}

// Reads [blanks][sign](digits | $hex | 0xhex) as a magnitude that must fit in positiveLimit,
// or one more for a negative value. Hexadecimal is a magnitude too: "$FFFFFFFF" is out of
// range for a 32-bit integer rather than -1.
bool ParseInteger(std::string_view s, std::uint64_t positiveLimit, bool& negative,
                  std::uint64_t& magnitude) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    unsigned base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return false;
    const std::uint64_t limit = positiveLimit + (negative ? 1 : 0);
    magnitude = 0;
    for (; i < s.size(); ++i) {
        const std::uint64_t d = DigitValue(s[i]);
        if (d >= base) return false;
        if (magnitude > (limit - d) / base) return false;
        magnitude = magnitude * base + d;
    }
    return true;
}

template <typename T>
bool TryStrToSigned(std::string_view s, T& value) {
    bool negative = false;
    std::uint64_t magnitude = 0;
    const auto limit = static_cast<std::uint64_t>(std::numeric_limits<T>::max());
    if (!ParseInteger(s, limit, negative, magnitude)) return false;
    if (negative) {
        // -(max + 1) is the minimum; computed without overflowing T.
        value = magnitude == 0 ? T{0} : -static_cast<T>(magnitude - 1) - 1;
    } else {
        value = static_cast<T>(magnitude);
    }
    return true;
}

[[noreturn]] void RaiseNotInteger(std::string_view s) {
    throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
}

}  // namespace

bool TryStrToInt(std::string_view s, int& value) {
    return TryStrToSigned(s, value);
}
bool TryStrToInt64(std::string_view s, std::int64_t& value) {
    return TryStrToSigned(s, value);
}

int StrToInt(std::string_view s) {
    int value = 0;
    if (!TryStrToInt(s, value)) RaiseNotInteger(s);
    return value;
}

std::int64_t StrToInt64(std::string_view s) {
    std::int64_t value = 0;
    if (!TryStrToInt64(s, value)) RaiseNotInteger(s);
    return value;
}

int StrToIntDef(std::string_view s, int defaultValue) {
    int value = 0;
    return TryStrToInt(s, value) ? value : defaultValue;
}

std::int64_t StrToInt64Def(std::string_view s, std::int64_t defaultValue) {
    std::int64_t value = 0;
    return TryStrToInt64(s, value) ? value : defaultValue;
}

// ---------------------------------------------------------------------------------------------
// Booleans

std::string BoolToStr(bool value, bool useBoolStrs) {
    if (useBoolStrs) return value ? "True" : "False";
    return value ? "-1" : "0";
}

bool TryStrToBool(std::string_view s, bool& value) {
    const std::string text = Trim(s);
    if (SameText(text, "True")) {
        value = true;
        return true;
    }
    if (SameText(text, "False")) {
        value = false;
        return true;
    }
    double number = 0;
    if (!TryStrToFloat(text, number)) return false;
    value = number != 0;
    return true;
}

bool StrToBool(std::string_view s) {
    bool value = false;
    if (!TryStrToBool(s, value)) {
        throw EConvertError("'" + std::string(s) + "' is not a valid boolean value");
    }
    return value;
}

bool StrToBoolDef(std::string_view s, bool defaultValue) {
    bool value = false;
    return TryStrToBool(s, value) ? value : defaultValue;
}

// ---------------------------------------------------------------------------------------------
// File names and files

namespace {

bool IsPathSeparator(char c) {
    return c == '/' || c == '\\';
}

std::size_t NameStart(std::string_view fileName) {
    const std::size_t last = fileName.find_last_of("/\\");
    return last == std::string_view::npos ? 0 : last + 1;
}

// Position of the extension's dot, or npos when the name part has none.
std::size_t ExtensionDot(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || dot < NameStart(fileName)) return std::string_view::npos;
    return dot;
}

std::filesystem::path PathOf(std::string_view name) {
    return std::filesystem::path(name);
}

}  // namespace

std::string ExtractFilePath(std::string_view fileName) {
    return std::string(fileName.substr(0, NameStart(fileName)));
}

std::string ExtractFileDir(std::string_view fileName) {
    std::size_t start = NameStart(fileName);
    // Keep the root delimiter of "/file" so that the directory stays "/".
    if (start > 1) --start;
    return std::string(fileName.substr(0, start));
}

std::string ExtractFileName(std::string_view fileName) {
    return std::string(fileName.substr(NameStart(fileName)));
}

std::string ExtractFileExt(std::string_view fileName) {
    const std::size_t dot = ExtensionDot(fileName);
    return dot == std::string_view::npos ? std::string() : std::string(fileName.substr(dot));
}

std::string ChangeFileExt(std::string_view fileName, std::string_view extension) {
    const std::size_t dot = ExtensionDot(fileName);
    std::string result(fileName.substr(0, dot == std::string_view::npos ? fileName.size() : dot));
    result += extension;
    return result;
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
    std::string result(path);
    if (result.empty() || !IsPathSeparator(result.back())) result += PathDelim;
    return result;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path) {
    std::string result(path);
    if (result.size() > 1 && IsPathSeparator(result.back())) result.pop_back();
    return result;
}

bool FileExists(std::string_view fileName) {
    std::error_code error;
    return !fileName.empty() && std::filesystem::is_regular_file(PathOf(fileName), error);
}

bool DirectoryExists(std::string_view directory) {
    std::error_code error;
    return !directory.empty() && std::filesystem::is_directory(PathOf(directory), error);
}

bool ForceDirectories(std::string_view directory) {
    if (directory.empty()) return false;
    std::error_code error;
    std::filesystem::create_directories(PathOf(ExcludeTrailingPathDelimiter(directory)), error);
    return DirectoryExists(directory);
}

bool DeleteFile(std::string_view fileName) {
    if (fileName.empty() || DirectoryExists(fileName)) return false;
    std::error_code error;
    return std::filesystem::remove(PathOf(fileName), error);
}

std::string GetCurrentDir() {
    std::error_code error;
    std::filesystem::path current = std::filesystem::current_path(error);
    return error ? std::string() : current.string();
}

}  // namespace kv
