#include "platform/core/Utf8.h"

namespace kv {

namespace {

bool IsCharacter(char32_t ch) {
    return ch <= 0x10FFFF && (ch < 0xD800 || ch > 0xDFFF);
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) noexcept {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) return 1;
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || i + length > text.size()) return 0;
    char32_t ch = lead & (0x7Fu >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(text[i + k]);
        if ((byte & 0xC0) != 0x80) return 0;
        ch = (ch << 6) | (byte & 0x3Fu);
    }
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    return ch >= kMinimum[length] && IsCharacter(ch) ? length : 0;
}

char32_t ReadUtf8Char(std::string_view text, std::size_t& i) noexcept {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length <= 1) {
        ++i;
        return lead;
    }
    char32_t ch = lead & (0x7Fu >> length);
    for (std::size_t k = 1; k < length; ++k)
        ch = (ch << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
    i += length;
    return ch;
}

void AppendUtf8(std::string& out, char32_t ch) {
    if (!IsCharacter(ch)) ch = kReplacementChar;
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (ch < 0x80) {
        out += byte(ch);
    } else if (ch < 0x800) {
        out += byte(0xC0 | (ch >> 6));
        out += byte(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += byte(0xE0 | (ch >> 12));
        out += byte(0x80 | ((ch >> 6) & 0x3F));
        out += byte(0x80 | (ch & 0x3F));
    } else {
        out += byte(0xF0 | (ch >> 18));
        out += byte(0x80 | ((ch >> 12) & 0x3F));
        out += byte(0x80 | ((ch >> 6) & 0x3F));
        out += byte(0x80 | (ch & 0x3F));
    }
}

std::u32string Utf8ToChars(std::string_view text) {
    std::u32string chars;
    chars.reserve(text.size());
    for (std::size_t i = 0; i < text.size();)
        chars += ReadUtf8Char(text, i);
    return chars;
}

std::string CharsToUtf8(std::u32string_view chars) {
    std::string text;
    text.reserve(chars.size());
    for (char32_t ch : chars)
        AppendUtf8(text, ch);
    return text;
}

bool IsValidUtf8(std::string_view text) noexcept {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

}  // namespace kv
