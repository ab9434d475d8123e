// Letter case beyond ASCII for the SysUtils unit: AnsiUpperCase and AnsiLowerCase on UTF-8.
// The code pages the system ran on knew letter case for Latin letters (and Greek and Cyrillic
// in their own pages); CJK has none. Invalid UTF-8 bytes are copied unchanged.
#include <cstdint>

#include "platform/core/SysUtils.h"
#include "platform/core/Utf8.h"

namespace kv {

namespace {

char32_t ToUpper(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 32;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
    if (c == 0xFF) return 0x178;
    if (c == 0x131) return U'I';                               // dotless i
    if (c >= 0x100 && c <= 0x137) return c & ~char32_t{1};     // even upper, odd lower
    if (c >= 0x139 && c <= 0x148) return (c & 1) ? c : c - 1;  // odd upper, even lower
    if (c >= 0x14A && c <= 0x177) return c & ~char32_t{1};
    if (c >= 0x179 && c <= 0x17E) return (c & 1) ? c : c - 1;
    if (c >= 0x3B1 && c <= 0x3C9) return c == 0x3C2 ? 0x3A3 : c - 32;  // final sigma
    if (c >= 0x430 && c <= 0x44F) return c - 32;
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    return c;
}

char32_t ToLower(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 32;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    if (c == 0x178) return 0xFF;
    if (c >= 0x100 && c <= 0x137 && c != 0x130) return c | 1;
    if (c >= 0x139 && c <= 0x148) return (c & 1) ? c + 1 : c;
    if (c >= 0x14A && c <= 0x177) return c | 1;
    if (c >= 0x179 && c <= 0x17E) return (c & 1) ? c + 1 : c;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

template <typename Map>
std::string MapLetters(std::string_view s, Map map) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t length = Utf8SequenceLength(s, i);
        if (length == 0) {
            out += s[i++];
            continue;
        }
        std::size_t next = i;
        const char32_t c = ReadUtf8Char(s, next);
        if (c < 0x600) {
            AppendUtf8(out, map(c));
        } else {
            out.append(s, i, length);
        }
        i = next;
    }
    return out;
}

}  // namespace

std::string AnsiUpperCase(std::string_view s) {
    return MapLetters(s, ToUpper);
}
std::string AnsiLowerCase(std::string_view s) {
    return MapLetters(s, ToLower);
}

}  // namespace kv
