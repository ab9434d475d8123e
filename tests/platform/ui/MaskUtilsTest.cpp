#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/ui/MaskUtils.h"

namespace kv {
namespace {

TEST(EditMaskParse, FieldsAndDirectives) {
    TEditMask date("99/99/9999;1; ");
    EXPECT_EQ(date.Length(), 10);
    EXPECT_TRUE(date.SaveLiterals());
    EXPECT_EQ(date.Blank(), U' ');
    EXPECT_TRUE(date.IsLiteral(2));
    EXPECT_TRUE(date.IsLiteral(5));
    EXPECT_FALSE(date.IsRequired(0));

    TEditMask key("!aaaa\\-aaaaaaaaaaa;0; ");
    EXPECT_TRUE(key.LeadingBlanks());
    EXPECT_FALSE(key.SaveLiterals());
    EXPECT_EQ(key.Length(), 16);
    EXPECT_EQ(key.At(4).Literal, U'-');

    TEditMask bare("000");  // no flag fields: literals saved, '_' blank
    EXPECT_TRUE(bare.SaveLiterals());
    EXPECT_EQ(bare.Blank(), U'_');
    EXPECT_TRUE(bare.IsRequired(0));

    TEditMask noMask("");
    EXPECT_FALSE(noMask.IsMasked());
}

TEST(EditMaskParse, EscapesBlankAndSeparatorsFromSettings) {
    TFormatSettings settings;
    settings.DateSeparator = '-';
    settings.TimeSeparator = '.';
    TEditMask mask("\\9_9/9:9\\;;0;*", settings);
    ASSERT_EQ(mask.Length(), 8);
    EXPECT_EQ(mask.At(0).Literal, U'9');
    EXPECT_EQ(mask.At(1).Literal, U' ');
    EXPECT_EQ(mask.At(3).Literal, U'-');
    EXPECT_EQ(mask.At(5).Literal, U'.');
    EXPECT_EQ(mask.At(7).Literal, U';');  // an escaped ';' does not end the mask
    EXPECT_FALSE(mask.SaveLiterals());
    EXPECT_EQ(mask.Blank(), U'*');
    EXPECT_EQ(mask.NextInputPos(0), 2);
    EXPECT_EQ(mask.NextInputPos(7), 8);
}

struct EmptyCase {
    const char* mask;
    const char* editText;
    const char* text;
};

TEST(EditMaskEmpty, ShowsLiteralsAndBlanks) {
    const EmptyCase cases[] = {
        {"99/99/9999;1;_", "__/__/____", "  /  /    "},
        {"99/99/9999;0;_", "__/__/____", ""},
        {"99/99/9999;1; ", "  /  /    ", "  /  /    "},
        {"!aaaa\\-aaaaaaaaaaa;0; ", "    -           ", ""},
        {"(999) 000;1;*", "(***) ***", "(   )    "},
        {"", "", ""},
    };
    for (const EmptyCase& c : cases) {
        TEditMask mask(c.mask);
        EXPECT_EQ(mask.EmptyEditText(), c.editText) << c.mask;
        EXPECT_EQ(mask.EmptyText(), c.text) << c.mask;
        EXPECT_TRUE(mask.IsEmpty(mask.EmptyEditText())) << c.mask;
    }
}

struct ApplyCase {
    const char* mask;
    const char* text;
    const char* editText;
};

TEST(EditMaskApply, TextToEditText) {
    const ApplyCase cases[] = {
        // Without saved literals the text holds typed characters only.
        {"99/99/9999;0;_", "12312024", "12/31/2024"},
        {"99/99/9999;0;_", "1231", "12/31/____"},
        {"99/99/9999;0;_", "123120249999", "12/31/2024"},
        {"999;0;_", "12", "12_"},
        {"!999;0;_", "12", "_12"},
        {"999;0;_", "1 2", "1_2"},
        // With saved literals each run is filled up to the literal that closes it.
        {"99/99/9999;1;_", "12/31/2024", "12/31/2024"},
        {"99/99/9999;1;_", "12312024", "12/31/2024"},
        {"99/99/9999;1;_", "1/5/2024", "1_/5_/2024"},
        {"99/99/9999;1;_", "12/ 5/2024", "12/_5/2024"},  // full length: position by position
        {"9_9;1; ", "  1", "  1"},                       // a blank literal among blanks
        {"!99/99/9999;1;_", "1/5/2024", "_1/_5/2024"},
        {"!aaaa\\-aaaaaaaaaaa;1; ", "ABCD-12345678901", "ABCD-12345678901"},
        {"!aaaa\\-aaaaaaaaaaa;1; ", "AB-123", "  AB-        123"},
        {"aaaa\\-aaaaaaaaaaa;1; ", "AB-123", "AB  -123        "},
        // Characters outside ASCII take one position each; a byte that is no UTF-8 is Latin-1.
        {"ccc;0;_", "中文x", "中文x"},
        {"ccc;0;_", "\xff", "\xC3\xBF__"},
        {"", "as is", "as is"},
    };
    for (const ApplyCase& c : cases) {
        EXPECT_EQ(TEditMask(c.mask).EditTextFor(c.text), c.editText) << c.mask << " / " << c.text;
    }
}

struct ExtractCase {
    const char* mask;
    const char* editText;
    bool withLiterals;
    const char* expected;
};

TEST(EditMaskExtract, EditTextToValue) {
    const ExtractCase cases[] = {
        {"99/99/9999;1;_", "12/31/2024", false, "12312024"},
        {"99/99/9999;1;_", "12/31/2024", true, "12/31/2024"},
        {"99/99/9999;1;_", "12/__/____", true, "12/  /    "},
        {"99/99/9999;1;_", "12/__/____", false, "12"},
        {"99/99/9999;1;_", "12", true, "12/  /    "},  // a short edit text is blank after
        {"999;0;_", "_12", false, " 12"},              // leading blanks stay without '!'
        {"!999;0;_", "_12", false, "12"},
        {"!999;0;_", "1__", false, "1  "},  // with '!' the trailing ones stay
        {"!aaaa\\-aaaaaaaaaaa;0; ", "  AB-        123", false, "AB        123"},
        {"", "plain", false, "plain"},
    };
    for (const ExtractCase& c : cases) {
        EXPECT_EQ(TEditMask(c.mask).ExtractText(c.editText, c.withLiterals), c.expected)
            << c.mask << " / " << c.editText;
    }
}

TEST(EditMaskExtract, TextSurvivesARoundTrip) {
    const char* const masks[] = {
        "99/99/9999;1;_",          "99/99/9999;0;_", "!aaaa\\-aaaaaaaaaaa;1; ",
        "!aaaa\\-aaaaaaaaaaa;0; ", ">LL-000;1;*",    "9_9;1; "};
    const char* const texts[] = {"",      "12/31/2024", "1231", "AB-123", "AB12-34567890123",
                                 "XY-42", " 12"};
    for (const char* m : masks) {
        TEditMask mask(m);
        for (const char* t : texts) {
            std::string once = mask.TextOf(mask.EditTextFor(t));
            EXPECT_EQ(mask.TextOf(mask.EditTextFor(once)), once) << m << " / " << t;
        }
    }
}

struct AcceptCase {
    const char* mask;
    int pos;
    char32_t typed;
    std::optional<char32_t> result;
};

TEST(EditMaskAccept, CharacterClassesAndCase) {
    const AcceptCase cases[] = {
        {"0", 0, U'5', U'5'},          {"0", 0, U'a', std::nullopt},
        {"9", 0, U' ', std::nullopt},  {"#", 0, U'-', U'-'},
        {"#", 0, U'+', U'+'},          {"#", 0, U'x', std::nullopt},
        {"L", 0, U'q', U'q'},          {"l", 0, U'1', std::nullopt},
        {"L", 0, U'中', U'中'},        {"A", 0, U'7', U'7'},
        {"a", 0, U'-', std::nullopt},  {"C", 0, U'-', U'-'},
        {"c", 0, U'\t', std::nullopt}, {">L", 0, U'a', U'A'},
        {"<L", 0, U'A', U'a'},         {">L<>L", 1, U'a', U'a'},
        {">L<L", 1, U'Q', U'q'},       {"9-9", 1, U'-', std::nullopt},
        {"9", 1, U'1', std::nullopt},  {"9", -1, U'1', std::nullopt},
    };
    for (const AcceptCase& c : cases) {
        EXPECT_EQ(TEditMask(c.mask).Accept(c.pos, c.typed), c.result)
            << c.mask << " at " << c.pos << " char " << static_cast<unsigned>(c.typed);
    }
}

struct ValidCase {
    const char* mask;
    const char* editText;
    int firstInvalid;
};

TEST(EditMaskValidate, CompleteEntries) {
    const ValidCase cases[] = {
        {"00/00;1;_", "12/34", -1}, {"00/00;1;_", "12/3_", 4},  // required position blank
        {"00/00;1;_", "12/3", 4},    // short text: missing required position
        {"99/99;1;_", "1_/__", -1},  // optional positions may stay blank
        {"00;1;_", "1a", 1},         // rejected character
        {"00/00;1;_", "12-34", 2},   // literal changed
        {"00;1;_", "123", 2},        // longer than the mask
        {">LL;1;_", "ab", -1},       // letter case is converted on typing, not checked
        {"CC;0;_", "中文", -1},     {"", "anything", -1},
    };
    for (const ValidCase& c : cases) {
        EXPECT_EQ(TEditMask(c.mask).FirstInvalidPos(c.editText), c.firstInvalid)
            << c.mask << " / " << c.editText;
    }
    EXPECT_FALSE(TEditMask("99/99;1;_").IsEmpty("1_/__"));
}

TEST(FormatMaskTextTest, AppliesValueWithLiteralsAndSpaces) {
    EXPECT_EQ(FormatMaskText("99/99/9999;0;_", "12312024"), "12/31/2024");
    EXPECT_EQ(FormatMaskText("99/99/9999;1;_", "1231"), "12/31/    ");
    EXPECT_EQ(FormatMaskText("!999;0;_", "7"), "  7");
    EXPECT_EQ(FormatMaskText("", "value"), "value");
}

}  // namespace
}  // namespace kv
