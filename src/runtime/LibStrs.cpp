// LibStrs: field records, text helpers and the small miscellaneous functions.
#include "src/runtime/LibStrs.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <utility>

#include "platform/core/SystemInfo.h"
#include "platform/core/Utf8.h"
#include "platform/ui/MaskUtils.h"

namespace kv {

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

size_t CodePointCount(std::string_view text) {
    return static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}

// Replacing the leftmost occurrence again and again, in one pass: characters move from the
// pending text to the result, and when the result ends in oldText that is the leftmost
// occurrence of the whole text (the result held none before), so it is cut off and newText is
// put back in front of the pending text to be read again. Returns false when the rewriting
// does not settle within budget replacements.
bool ReplaceWithRestart(std::string& text, std::string_view oldText, std::string_view newText,
                        size_t budget) {
    std::string pending(text.rbegin(), text.rend());  // read from its back
    std::string result;
    result.reserve(text.size());
    size_t done = 0;
    while (!pending.empty()) {
        result.push_back(pending.back());
        pending.pop_back();
        if (!result.ends_with(oldText)) continue;
        if (done++ == budget) return false;
        result.resize(result.size() - oldText.size());
        pending.append(newText.rbegin(), newText.rend());
    }
    text = std::move(result);
    return true;
}

}  // namespace

std::string GetField(std::string_view text, std::string_view separator, int n) {
    if (n < 1) return {};
    if (separator.empty()) return n == 1 ? std::string(text) : std::string();
    size_t start = 0;
    for (int field = 1;; ++field) {
        size_t end = text.find(separator, start);
        if (field == n) {
            return std::string(text.substr(
                start, end == std::string_view::npos ? std::string_view::npos : end - start));
        }
        if (end == std::string_view::npos) return {};
        start = end + separator.size();
    }
}

int FieldCount(std::string_view text, std::string_view separator) {
    if (text.empty()) return 0;
    if (separator.empty()) return 1;
    int count = 1;
    for (size_t pos = text.find(separator); pos != std::string_view::npos;
         pos = text.find(separator, pos + separator.size())) {
        ++count;
    }
    return count;
}

std::string CutField(std::string& text, std::string_view separator) {
    size_t pos = separator.empty() ? std::string::npos : text.find(separator);
    if (pos == std::string::npos) return std::exchange(text, std::string());
    std::string field = text.substr(0, pos);
    text.erase(0, pos + separator.size());
    return field;
}

std::string PadRight(std::string_view text, int width, char32_t fill) {
    std::string result(text);
    size_t length = CodePointCount(text);
    if (width <= 0 || length >= static_cast<size_t>(width)) return result;
    std::string filler;
    AppendUtf8(filler, fill);
    for (size_t i = length; i < static_cast<size_t>(width); ++i)
        result += filler;
    return result;
}

std::string ReplaceAll(std::string_view text, std::string_view oldText, std::string_view newText,
                       bool trim) {
    std::string result(text);
    if (!oldText.empty() && !AnsiSameText(oldText, newText)) {
        // A one-character pattern cannot be formed anew by a replacement, so one pass is the
        // same. A text that only shrinks always settles; a growing one is given ample room
        // before it counts as never settling.
        bool onePass = oldText.size() == 1 || newText.find(oldText) != std::string_view::npos;
        size_t budget = newText.size() < oldText.size() ? std::string::npos
                                                        : (text.size() / oldText.size() + 1) * 16;
        if (onePass || !ReplaceWithRestart(result, oldText, newText, budget)) {
            // Restarting would never end: replace each occurrence of the original text once.
            result = StringReplace(text, oldText, newText, rfReplaceAll);
        }
    }
    return trim ? Trim(result) : result;
}

std::string ReformatByMask(std::string_view text, std::string_view mask, std::string_view newMask) {
    TEditMask from(mask);
    std::string typed = from.ExtractText(from.EditTextFor(text), false);
    TEditMask to(newMask);
    return to.TextOf(to.FormatValue(typed));
}

double StrToFloatOr(std::string_view text, double defaultValue) {
    double value = 0;
    return TryStrToFloat(text, value) ? value : defaultValue;
}

std::string GetTempDir() {
    std::string normal = std::filesystem::path(GetTempPath()).lexically_normal().string();
    return IncludeTrailingPathDelimiter(normal);
}

bool IsLocalAddress(std::string_view address) {
    return address == "127.0.0.1";
}

std::string ButtonCaption(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 11> kCaptions = {{
        {"Yes", "是(&Y)"},
        {"No", "否(&N)"},
        {"OK", "确定"},
        {"Cancel", "取消"},
        {"Abort", "中断(&A)"},
        {"Retry", "重试(&R)"},
        {"Ignore", "忽略(&I)"},
        {"All", "全部(&A)"},
        {"NoToAll", "全否(&o)"},
        {"YesToAll", "全是(&A)"},
        {"Help", "帮助(&H)"},
    }};
    for (const auto& [button, caption] : kCaptions) {
        if (button == name) return std::string(caption);
    }
    return std::string(name);
}

}  // namespace kv
