#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace kv {
namespace {

struct FormatCase {
    const char* fmt;
    std::vector<FormatArg> args;
    const char* expected;
};

void ExpectFormats(const std::vector<FormatCase>& cases) {
    for (const auto& c : cases) {
        EXPECT_EQ(Format(c.fmt, c.args), c.expected) << "format " << c.fmt;
    }
}

TEST(Format, IntegerDirectives) {
    ExpectFormats({
        {"%d", {42}, "42"},
        {"%d", {-42}, "-42"},
        {"%5d|", {42}, "   42|"},
        {"%-5d|", {42}, "42   |"},
        {"%.2d", {7}, "07"},
        {"%.3d", {7}, "007"},
        {"%.4d", {2024}, "2024"},
        {"%.2d", {123}, "123"},
        {"%.3d", {-7}, "-007"},
        {"%6.3d|", {7}, "   007|"},
        {"%d", {std::numeric_limits<std::int64_t>::min()}, "-9223372036854775808"},
        {"%d", {std::numeric_limits<std::uint64_t>::max()}, "18446744073709551615"},
        {"%u", {-1}, "4294967295"},
        {"%u", {std::int64_t{-1}}, "18446744073709551615"},
        {"%x", {255}, "FF"},
        {"%X", {255}, "FF"},
        {"%.4x", {255}, "00FF"},
        {"%x", {-1}, "FFFFFFFF"},
        {"%x", {std::int64_t{-1}}, "FFFFFFFFFFFFFFFF"},
        {"%d%%", {50}, "50%"},
        {"%.4d%s%.2d%s%.2d", {2024, "/", 3, "/", 5}, "2024/03/05"},
        {"%.3d%s%.2d", {88, ".", 12}, "088.12"},
        {"%d%.2d%.2d", {2024, 1, 31}, "20240131"},
    });
}

TEST(Format, TextDirectives) {
    ExpectFormats({
        {"%s", {"abc"}, "abc"},
        {"[%5s]", {"abc"}, "[  abc]"},
        {"[%-5s]", {"abc"}, "[abc  ]"},
        {"[%.2s]", {"abc"}, "[ab]"},
        {"[%5.2s]", {"abc"}, "[   ab]"},
        {"%s", {'x'}, "x"},
        {"%s", {std::string("std")}, "std"},
        {"%s", {std::string_view("view")}, "view"},
        {"", {}, ""},
        {"no directives", {}, "no directives"},
        // A character outside ASCII is two columns wide and is never cut in half.
        {"[%-6s]", {"中文"}, "[中文  ]"},
        {"[%.3s]", {"中文"}, "[中]"},
        {"[%3s]", {"中文"}, "[中文]"},
    });
}

TEST(Format, FloatDirectives) {
    ExpectFormats({
        {"%f", {1.5}, "1.50"},
        {"%.3f", {3.14159}, "3.142"},
        {"%.0f", {2.5}, "3"},
        {"%.0f", {-2.5}, "-3"},
        {"%.2f", {1.005}, "1.00"},  // 1.005 is stored slightly below 1.005
        {"%.2f", {0.125}, "0.13"},  // exact ties round away from zero
        {"%.2f", {-0.001}, "0.00"},
        {"%8.2f|", {3.14159}, "    3.14|"},
        {"%e", {1234.5}, "1.23450000000000E+003"},
        {"%.3e", {1234.5}, "1.23E+003"},
        {"%.3e", {-0.00012345}, "-1.23E-004"},
        {"%g", {0.1}, "0.1"},
        {"%g", {1e20}, "1E20"},
        {"%.3g", {1234.5}, "1.23E3"},
        {"%n", {1234567.891}, "1,234,567.89"},
        {"%.0n", {-1234567.5}, "-1,234,568"},
        {"%m", {1234.5}, "$1,234.50"},
        {"%m", {-5.0}, "-$5.00"},
    });
}

TEST(Format, IndexAndStarTakeArgumentsFromTheList) {
    ExpectFormats({
        {"%1:s %0:s", {"a", "b"}, "b a"},
        {"%0:s %s", {"a", "b"}, "a b"},
        {"%1:s %0:s %s", {"a", "b"}, "b a b"},
        {"%1:s %s", {"a", "b", "c"}, "b c"},
        {"[%*d]", {5, 42}, "[   42]"},
        {"[%-*s]", {4, "ab"}, "[ab  ]"},
        {"[%.*d]", {3, 7}, "[007]"},
        {"[%*.*f]", {7, 1, 2.25}, "[    2.3]"},
    });
}

TEST(Format, PointerIsHexadecimal) {
    int target = 0;
    const std::string text = Format("%p", {static_cast<const void*>(&target)});
    EXPECT_EQ(text.size(), 16u);
    EXPECT_EQ(text, IntToHex(reinterpret_cast<std::uintptr_t>(&target), 16));
}

TEST(Format, BadDirectivesAndArgumentsRaiseConvertError) {
    const std::vector<FormatCase> cases = {
        {"%d", {}, ""},           // too few arguments
        {"%d %d", {1}, ""},       // too few for the second
        {"%d", {"x"}, ""},        // text for an integer
        {"%d", {1.5}, ""},        // float for an integer
        {"%s", {5}, ""},          // integer for a text
        {"%f", {5}, ""},          // integer for a float
        {"%p", {5}, ""},          // integer for a pointer
        {"%q", {5}, ""},          // unknown type
        {"abc%", {5}, ""},        // directive cut off
        {"%5", {5}, ""},          // no type
        {"%*d", {"x", 1}, ""},    // width from a text
        {"%3:d", {1, 2}, ""},     // index past the end
        {"%99999999d", {1}, ""},  // absurd width
    };
    for (const auto& c : cases) {
        try {
            Format(c.fmt, c.args);
            ADD_FAILURE() << "no error for " << c.fmt;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(),
                      std::string("Format '") + c.fmt + "' invalid or incompatible with argument");
        }
    }
}

TEST(Format, SettingsChooseSeparators) {
    TFormatSettings german;
    german.DecimalSeparator = ',';
    german.ThousandSeparator = '.';
    german.CurrencyString = "EUR ";
    EXPECT_EQ(Format("%n", {1234.5}, german), "1.234,50");
    EXPECT_EQ(Format("%.1f", {2.25}, german), "2,3");
    EXPECT_EQ(Format("%m", {7.0}, german), "EUR 7,00");
}

}  // namespace
}  // namespace kv
