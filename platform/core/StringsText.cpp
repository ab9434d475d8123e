// Delimited and comma text of string lists, with the platform's quoting.
#include "platform/core/Strings.h"
#include "platform/core/SysUtils.h"

namespace kv {
namespace {

bool IsBlank(char c) {
    return c != '\0' && static_cast<unsigned char>(c) <= ' ';
}

bool NeedsQuotes(std::string_view s, char delimiter, char quote, bool strict) {
    for (char c : s) {
        if (c == quote || c == delimiter) return true;
        if (!strict && static_cast<unsigned char>(c) <= ' ') return true;
    }
    return false;
}

// Reads a quoted item starting at the opening quote; doubled quotes stand for one, a missing
// closing quote takes the rest.
std::string ExtractQuoted(std::string_view text, std::size_t& pos, char quote) {
    std::string item;
    ++pos;
    while (pos < text.size()) {
        if (text[pos] == quote) {
            if (pos + 1 < text.size() && text[pos + 1] == quote) {
                item += quote;
                pos += 2;
                continue;
            }
            ++pos;
            break;
        }
        item += text[pos++];
    }
    return item;
}

std::string Join(const TStrings& list, char delimiter, char quote, bool strict) {
    if (list.Count() == 1 && list[0].empty()) return std::string(2, quote);
    std::string text;
    for (int i = 0; i < list.Count(); ++i) {
        if (i > 0) text += delimiter;
        const std::string item = list[i];
        text += NeedsQuotes(item, delimiter, quote, strict) ? AnsiQuotedStr(item, quote) : item;
    }
    return text;
}

// Splits as the platform does: without strict delimiting, blanks also end an unquoted item and
// are skipped around items; a delimiter at the very end adds an empty item.
std::vector<std::string> Split(std::string_view text, char delimiter, char quote, bool strict) {
    // The platform reads the text as a null-terminated string: a NUL ends it.
    text = text.substr(0, text.find('\0'));
    auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
    std::vector<std::string> items;
    std::size_t pos = 0;
    if (!strict)
        while (IsBlank(at(pos)))
            ++pos;
    while (at(pos) != '\0') {
        if (at(pos) == quote) {
            items.push_back(ExtractQuoted(text, pos, quote));
        } else {
            const std::size_t start = pos;
            while (at(pos) != '\0' && at(pos) != delimiter &&
                   (strict || static_cast<unsigned char>(at(pos)) > ' '))
                ++pos;
            items.emplace_back(text.substr(start, pos - start));
        }
        if (!strict)
            while (IsBlank(at(pos)))
                ++pos;
        if (at(pos) == delimiter && at(pos) != '\0') {
            if (at(pos + 1) == '\0') items.emplace_back();
            do {
                ++pos;
            } while (!strict && IsBlank(at(pos)));
        }
    }
    return items;
}

}  // namespace

std::string TStrings::DelimitedText() const {
    return Join(*this, delimiter_, quoteChar_, strictDelimiter_);
}

void TStrings::SetDelimitedText(std::string_view text) {
    const std::vector<std::string> items = Split(text, delimiter_, quoteChar_, strictDelimiter_);
    BeginUpdate();
    try {
        Clear();
        for (const std::string& item : items)
            Add(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TStrings::CommaText() const {
    return Join(*this, ',', '"', false);
}

void TStrings::SetCommaText(std::string_view text) {
    const std::vector<std::string> items = Split(text, ',', '"', false);
    BeginUpdate();
    try {
        Clear();
        for (const std::string& item : items)
            Add(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

}  // namespace kv
