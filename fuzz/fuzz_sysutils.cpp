// Texts that reach the platform's utilities from files, servers and users: format strings
// (message texts carry them), date-time and number pictures, numbers, dates and times to read,
// and text to change case. Every input must be answered without a crash; a bad format or
// number may only raise EConvertError; what reads back must hold together.
//
// Input: byte 0 picks the check, the rest is the text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void FuzzFormat(std::string_view text) {
    static const int marker = 0;
    const std::vector<kv::FormatArg> args = {7,      -3,      std::int64_t{-1}, 2.5, "text",
                                             "中文", &marker, -1e300,           5U};
    try {
        (void)kv::Format(text, args);
    } catch (const kv::EConvertError&) {
        // A format the arguments do not fit: the one allowed failure.
    }
}

void FuzzPictures(std::string_view text) {
    const double values[] = {0, -0.5, 1234567.891, -1e-7, 9.99e20, std::nan("")};
    for (double v : values)
        (void)kv::FormatFloat(text, v);
    const double dates[] = {0, -1.25, 45356.588, 2958465.99999, -693593.5};
    for (double d : dates)
        (void)kv::FormatDateTime(text, d);
}

void FuzzNumbers(std::string_view text) {
    std::int64_t i64 = 0;
    if (kv::TryStrToInt64(text, i64)) Check(kv::StrToInt64(kv::IntToStr(i64)) == i64);
    int i32 = 0;
    if (kv::TryStrToInt(text, i32)) Check(kv::StrToInt(kv::IntToStr(i32)) == i32);
    double f = 0;
    if (kv::TryStrToFloat(text, f)) {
        Check(std::isfinite(f));
        const double back = kv::StrToFloat(kv::FloatToStr(f));
        Check(std::fabs(back - f) <= std::fabs(f) * 1e-14);
    }
    bool b = false;
    (void)kv::TryStrToBool(text, b);
}

void FuzzDates(std::string_view text) {
    kv::TDateTime value = 0;
    if (kv::TryStrToDate(text, value)) {
        Check(value == std::trunc(value));
        Check(kv::StrToDate(kv::DateToStr(value)) == value);
    }
    if (kv::TryStrToDateTime(text, value)) {
        const std::string shown = kv::FormatDateTime("yyyy/mm/dd hh:nn:ss.zzz", value);
        kv::TDateTime back = 0;
        Check(kv::TryStrToDateTime(shown, back) && back == value);
    }
    (void)kv::TryStrToTime(text, value);
}

void FuzzStrings(std::string_view text) {
    const std::string upper = kv::AnsiUpperCase(text);
    Check(kv::AnsiUpperCase(upper) == upper);
    (void)kv::AnsiLowerCase(text);
    (void)kv::AnsiSameText(text, upper);
    const std::string trimmed = kv::Trim(text);
    Check(trimmed.size() <= text.size());
    const std::string_view pattern = text.substr(0, text.size() < 2 ? text.size() : 2);
    (void)kv::StringReplace(text, pattern, "xyz", kv::rfReplaceAll | kv::rfIgnoreCase);
    (void)kv::AnsiDequotedStr(text, '\'');
    (void)kv::ExtractFileExt(text);
    (void)kv::ChangeFileExt(text, ".x");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 5) {
        case 0:
            FuzzFormat(text);
            break;
        case 1:
            FuzzPictures(text);
            break;
        case 2:
            FuzzNumbers(text);
            break;
        case 3:
            FuzzDates(text);
            break;
        default:
            FuzzStrings(text);
            break;
    }
    return 0;
}
