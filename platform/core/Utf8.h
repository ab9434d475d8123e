// UTF-8, the encoding of every text in memory. One reading and writing of sequences for the
// whole system, so that edits, masks, form descriptions and string functions agree on what a
// character is.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

// The replacement written for a number that is no character.
inline constexpr char32_t kReplacementChar = 0xFFFD;

// The length (1 to 4) of the well-formed sequence at text[i], or 0 when the bytes there start
// none: a stray or cut-off byte, an overlong form, a surrogate or a value beyond U+10FFFF.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) noexcept;

// Reads the character at text[i] and moves i past it. A byte that starts no well-formed
// sequence reads as the character of its own number (U+0080..U+00FF) and moves one byte, so any
// text reads as characters and writing them back gives valid UTF-8.
char32_t ReadUtf8Char(std::string_view text, std::size_t& i) noexcept;

// Appends the encoding of a character; a surrogate or a number beyond U+10FFFF appends U+FFFD.
void AppendUtf8(std::string& out, char32_t ch);

// Whole texts, with the reading rule of ReadUtf8Char.
std::u32string Utf8ToChars(std::string_view text);
std::string CharsToUtf8(std::u32string_view chars);

bool IsValidUtf8(std::string_view text) noexcept;

}  // namespace kv
