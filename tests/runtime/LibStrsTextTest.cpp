#include <gtest/gtest.h>

#include <string>

#include "src/runtime/LibStrs.h"

namespace kv {
namespace {

struct FieldCase {
    const char* text;
    const char* separator;
    int n;
    const char* expected;
};

TEST(LibStrsFields, GetFieldCountsFromOne) {
    const FieldCase cases[] = {
        {"a;b", ";", 3, ""},
        {"a;", ";", 2, ""},
        {"a;;c", ";", 3, "c"},
        {"", ";", 1, ""},
        {"abc", ";", 1, "abc"},
        {"abc", ";", 0, ""},
        {"a;b", ";", -1, ""},
        {"a\x03"
         "b\x03"
         "c",
         "\x03", 2, "b"},
        {"k1--k2--k3", "--", 3, "k3"},  // a separator longer than one character
        {"a---b", "--", 2, "-b"},       // occurrences taken from the left without overlap
        {"aXb", "x", 1, "aXb"},         // case-sensitive
        {"abc", "", 1, "abc"},
        {"abc", "", 2, ""},
    };
    for (const FieldCase& c : cases) {
        EXPECT_EQ(GetField(c.text, c.separator, c.n), c.expected)
            << "'" << c.text << "' sep '" << c.separator << "' n " << c.n;
    }
}

TEST(LibStrsFields, FieldCountMatchesGetField) {
    struct CountCase {
        const char* text;
        const char* separator;
        int expected;
    };
    const CountCase cases[] = {
        {"", ";", 0},     {"abc", ";", 1},   {"a#b#c", "#", 3}, {"a;", ";", 2},
        {"aaa", "aa", 2}, {"#x#x", "#x", 3}, {"x#x#", "x#", 3}, {"abc", "", 1},
    };
    for (const CountCase& c : cases) {
        EXPECT_EQ(FieldCount(c.text, c.separator), c.expected) << c.text << " / " << c.separator;
        // The last field exists and the one after it does not.
        int n = c.expected;
        if (n > 0 && *c.separator != '\0') {
            EXPECT_EQ(GetField(c.text, c.separator, n + 1), "") << c.text;
        }
    }
}

TEST(LibStrsFields, CutFieldConsumesTheText) {
    std::string text = "2024/01/31";
    EXPECT_EQ(CutField(text, "/"), "2024");
    EXPECT_EQ(text, "01/31");
    EXPECT_EQ(CutField(text, "/"), "01");
    EXPECT_EQ(CutField(text, "/"), "31");
    EXPECT_EQ(text, "");
    EXPECT_EQ(CutField(text, "/"), "");

    std::string tail = "a::";
    EXPECT_EQ(CutField(tail, "::"), "a");
    EXPECT_EQ(tail, "");
}

TEST(LibStrsText, PadRightCountsCharacters) {
    EXPECT_EQ(PadRight("AB", 4), "AB  ");
    EXPECT_EQ(PadRight("ABCDE", 4), "ABCDE");
    EXPECT_EQ(PadRight("ABCD", 4), "ABCD");
    EXPECT_EQ(PadRight("7", 3, U'0'), "700");
    EXPECT_EQ(PadRight("中", 3), "中  ");  // one character, not three bytes
    EXPECT_EQ(PadRight("", 2, U'＊'), "＊＊");
    EXPECT_EQ(PadRight("x", -5), "x");
}

TEST(LibStrsText, ReplaceAll) {
    struct ReplaceCase {
        const char* text;
        const char* oldText;
        const char* newText;
        bool trim;
        const char* expected;
    };
    const ReplaceCase cases[] = {
        {"a;b;c", ";", "", false, "abc"},      {" a-b ", "-", "", true, "ab"},
        {"aabb", "ab", "", false, ""},          // a replacement forms a new occurrence
        {"xaab", "ab", "b", false, "xb"},       // ... which is replaced too
        {"abc", "b", "B", false, "abc"},        // equal ignoring case: unchanged
        {" abc ", "b", "B", true, "abc"},       // ... but still trimmed
        {"abc", "", "x", false, "abc"},         // nothing to look for
        {"a.b", ".", "..", false, "a..b"},      // new holds old: each one replaced once
        {"aab", "ab", "bba", false, "bbbbaa"},  // a growing rewrite that settles
        {"aab", "ab", "bbaa", false, "abbaa"},  // one that never would: a single pass
    };
    for (const ReplaceCase& c : cases) {
        EXPECT_EQ(ReplaceAll(c.text, c.oldText, c.newText, c.trim), c.expected)
            << c.text << " : " << c.oldText << " -> " << c.newText;
    }
}

struct MaskCase {
    const char* text;
    const char* mask;
    const char* newMask;
    const char* expected;
};

TEST(LibStrsText, ReformatByMask) {
    const MaskCase cases[] = {
        // A date typed under a mask with slashes comes back as its digits.
        {"12/31/2024", "99/99/9999;1; ", "", "12312024"},
        {"2024-01-31", "9999-99-99;1; ", "", "20240131"},
        {"  /  /    ", "99/99/9999;1; ", "", ""},
        // The composite repair-order number with the literal kept, and leading blanks trimmed.
        {"ABCD-12345678901", "!aaaa\\-aaaaaaaaaaa;1; ", "", "ABCD12345678901"},
        {"AB-123", "!aaaa\\-aaaaaaaaaaa;1; ", "", "AB        123"},
        // From one mask to another.
        {"12312024", "99/99/9999;0;_", "9999-99-99;1;_", "1231-20-24"},
        {"20240131", "", "9999/99/99;1;_", "2024/01/31"},
        {"as is", "", "", "as is"},
    };
    for (const MaskCase& c : cases) {
        EXPECT_EQ(ReformatByMask(c.text, c.mask, c.newMask), c.expected)
            << c.text << " under " << c.mask << " to " << c.newMask;
    }
}

TEST(LibStrsMisc, ButtonCaptionIsExact) {
    EXPECT_EQ(ButtonCaption("Yes"), "是(&Y)");
    EXPECT_EQ(ButtonCaption("OK"), "确定");
    EXPECT_EQ(ButtonCaption("NoToAll"), "全否(&o)");
    EXPECT_EQ(ButtonCaption("Help"), "帮助(&H)");
    EXPECT_EQ(ButtonCaption("yes"), "yes");
    EXPECT_EQ(ButtonCaption(""), "");
}

TEST(LibStrsMisc, SmallHelpers) {
    EXPECT_TRUE(IsLocalAddress("127.0.0.1"));
    EXPECT_FALSE(IsLocalAddress("localhost"));
    EXPECT_FALSE(IsLocalAddress(" 127.0.0.1"));

    EXPECT_DOUBLE_EQ(StrToFloatOr("1.25", 7), 1.25);
    EXPECT_DOUBLE_EQ(StrToFloatOr("-3e2", 7), -300);
    EXPECT_DOUBLE_EQ(StrToFloatOr("abc", 7), 7);
    EXPECT_DOUBLE_EQ(StrToFloatOr("", 7), 7);
}

}  // namespace
}  // namespace kv
