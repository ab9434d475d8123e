// Letter case beyond ASCII for the SysUtils unit: AnsiUpperCase and AnsiLowerCase on UTF-8.
// The code pages the system ran on knew letter case for Latin letters (and Greek and Cyrillic
// in their own pages); CJK has none. Invalid UTF-8 bytes are copied unchanged.
#include <cstdint>

#include "platform/core/SysUtils.h"

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

// Decodes one UTF-8 sequence at s[i]; false for a malformed one.
bool Decode(std::string_view s, std::size_t i, char32_t& c, std::size_t& length) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) {
        c = lead;
        length = 1;
        return true;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07u;
    } else {
        return false;
    }
    if (i + length > s.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(s[i + k]);
        if ((next & 0xC0) != 0x80) return false;
        c = (c << 6) | (next & 0x3Fu);
    }
    // Overlong forms are malformed too.
    return (length == 3 && c >= 0x800) || (length == 4 && c >= 0x10000) || length == 2;
}

void Encode(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

template <typename Map>
std::string MapLetters(std::string_view s, Map map) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        char32_t c = 0;
        std::size_t length = 1;
        if (!Decode(s, i, c, length)) {
            out += s[i++];
            continue;
        }
        if (c < 0x600) {
            Encode(map(c), out);
        } else {
            out.append(s, i, length);
        }
        i += length;
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
