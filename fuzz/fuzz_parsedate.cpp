// Dates and masked keys as users type them: the date forms, ymd checks, date shifting,
// re-formatting by edit masks and field records must answer every input without crashing,
// and what they answer must hold together.
//
// Input: byte 0 picks the date form (0..6, outside 1..5 included), byte 1 the length of the
// separator (0..2) taken from the next bytes, byte 2 the shift unit and amount; the rest is
// "text\nmask\nnewMask".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/core/Variant.h"
#include "platform/ui/MaskUtils.h"
#include "src/runtime/LibStrs.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

std::string_view NextLine(std::string_view& rest) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return line;
}

void FuzzDates(std::string_view text, int form, std::string_view separator) {
    kv::TDateTime date = kv::ParseDateStr(text, form, separator);
    if (date == 0) return;
    Check(form >= 1 && form <= 5);
    std::string shown = kv::FormatDateStr(form, separator, date);
    Check(!shown.empty());
    (void)kv::FormatYearMonthStr(form, separator, date);
    // With a plain one-character separator the text written reads back as the same day.
    if (separator == "/" || separator == ".")
        Check(kv::ParseDateStr(shown, form, separator) == date);
}

void FuzzYmd(std::string_view text, std::uint8_t control) {
    bool valid = kv::IsValidYmd(text);
    if (valid && !text.empty()) Check(kv::YmdToDate(text) != 0);
    static constexpr const char* kUnits[] = {"Y", "m", "D", "x"};
    int n = (control >> 2) - 32;
    std::string shifted = kv::ShiftDate(kv::Variant(std::string(text)), kUnits[control & 3], n);
    Check(shifted.empty() || kv::IsValidYmd(shifted) || shifted < "17530101");
}

void FuzzMasks(std::string_view text, std::string_view mask, std::string_view newMask) {
    (void)kv::ReformatByMask(text, mask, newMask);
    kv::TEditMask editMask(mask);
    std::string editText = editMask.EditTextFor(text);
    if (editMask.IsMasked()) Check(editMask.FirstInvalidPos(editText) <= editMask.Length());
    std::string value = editMask.TextOf(editText);
    // Text set from what the edit shows gives the same Text again.
    Check(editMask.TextOf(editMask.EditTextFor(value)) == value);
    (void)kv::FormatMaskText(mask, text);
}

void FuzzFields(std::string_view text, std::string_view separator) {
    int count = kv::FieldCount(text, separator);
    if (!separator.empty() && count > 0) Check(kv::GetField(text, separator, count + 1).empty());
    (void)kv::GetField(text, separator, 1);
    (void)kv::ReplaceAll(text, separator, "", true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3 || size > 4096) return 0;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    int form = data[0] % 7;
    size_t sepLength = std::min<size_t>(data[1] % 3, size - 3);
    std::uint8_t control = data[2];
    std::string_view separator = input.substr(3, sepLength);
    std::string_view rest = input.substr(3 + sepLength);
    std::string_view text = NextLine(rest);
    std::string_view mask = NextLine(rest);
    std::string_view newMask = rest;

    FuzzDates(text, form, separator);
    FuzzYmd(text, control);
    FuzzMasks(text, mask, newMask);
    FuzzFields(text, separator);
    return 0;
}
