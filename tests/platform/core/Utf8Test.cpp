#include <gtest/gtest.h>

#include "platform/core/Utf8.h"

namespace kv::test {
namespace {

TEST(Utf8, SequenceLengthsOfGoodAndBadBytes) {
    const struct {
        std::string_view text;
        std::size_t length;
    } cases[] = {
        {"A", 1},
        {"\xC3\xA9", 2},
        {"\xE4\xB8\xAD", 3},
        {"\xF0\x9F\x98\x80", 4},
        {"\xC3", 0},              // cut off
        {"\x80", 0},              // a continuation on its own
        {"\xC0\xAF", 0},          // overlong two-byte form
        {"\xE0\x80\xAF", 0},      // overlong three-byte form
        {"\xED\xA0\x80", 0},      // a surrogate
        {"\xF4\x90\x80\x80", 0},  // beyond U+10FFFF
        {"\xE4\xB8"
         "A",
         0},  // a sequence broken by an ASCII byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf8SequenceLength(c.text, 0), c.length) << testing::PrintToString(c.text);
}

TEST(Utf8, StrayBytesReadAsTheirOwnNumberAndWriteBackAsValidText) {
    const std::u32string chars = Utf8ToChars("a\xFF\xE4\xB8\xAD\xC3");
    EXPECT_EQ(chars, (std::u32string{U'a', 0xFF, 0x4E2D, 0xC3}));
    const std::string written = CharsToUtf8(chars);
    EXPECT_EQ(written, "a\xC3\xBF\xE4\xB8\xAD\xC3\x83");
    EXPECT_TRUE(IsValidUtf8(written));
    EXPECT_EQ(Utf8ToChars(written), chars) << "reading what was written gives the same characters";
}

TEST(Utf8, NumbersThatAreNoCharacterAreWrittenAsTheReplacement) {
    for (char32_t bad :
         {char32_t{0xD800}, char32_t{0xDFFF}, char32_t{0x110000}, char32_t{0xFFFFFFFF}}) {
        std::string out;
        AppendUtf8(out, bad);
        EXPECT_EQ(out, "\xEF\xBF\xBD") << static_cast<unsigned long>(bad);
    }
    EXPECT_EQ(CharsToUtf8(std::u32string{0x10FFFF}), "\xF4\x8F\xBF\xBF");
    EXPECT_FALSE(IsValidUtf8("ok\xE4\xB8"));
    EXPECT_TRUE(IsValidUtf8(""));
}

}  // namespace
}  // namespace kv::test
