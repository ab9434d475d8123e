// The form-description parser: what the text means, and line-numbered errors for bad text.
#include <gtest/gtest.h>

#include <string>

#include "platform/ui/FormDesc.h"

namespace kv {
namespace {

using TKind = TDescValue::TKind;

TDescValue ValueOf(const std::string& valueText) {
    const TDescObject root =
        ParseFormDescription("object a: TX\n  P = " + valueText + "\nend\n", "v.kvform");
    EXPECT_EQ(root.properties.size(), 1u);
    return root.properties.at(0).value;
}

TEST(FormDescParse, TreeKeepsFileOrderNestingAndLines) {
    const TDescObject root = ParseFormDescription(
        "\xEF\xBB\xBF// the order form\n"
        "object frmOrder: TfrmOrder\n"
        "  Caption = 'Order'\n"
        "  Font.Height = -13\n"
        "  object pnlTop: TPanel\n"
        "    Align = alTop\n"
        "  end\n"
        "  inherited btnOk: TButton\n"
        "  end\n"
        "end\n",
        "order.kvform");
    EXPECT_FALSE(root.inherited);
    EXPECT_EQ(root.name, "frmOrder");
    EXPECT_EQ(root.className, "TfrmOrder");
    EXPECT_EQ(root.line, 2);
    ASSERT_EQ(root.properties.size(), 2u);
    EXPECT_EQ(root.properties[0].path, "Caption");
    EXPECT_EQ(root.properties[1].path, "Font.Height");
    EXPECT_EQ(root.properties[1].value.integer, -13);
    EXPECT_EQ(root.properties[1].line, 4);
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[0].name, "pnlTop");
    EXPECT_EQ(root.children[0].properties.at(0).value.text, "alTop");
    EXPECT_EQ(root.children[0].line, 5);
    EXPECT_TRUE(root.children[1].inherited);
}

TEST(FormDescParse, ValuesOfEveryKind) {
    struct Case {
        const char* text;
        TKind kind;
        std::string expected;  // Describe() of the value
    };
    const Case cases[] = {
        {"12", TKind::Integer, "12"},
        {"-13", TKind::Integer, "-13"},
        {"$FF", TKind::Integer, "255"},
        {"-$10", TKind::Integer, "-16"},
        {"1.5", TKind::Float, "1.5"},
        {"2e3", TKind::Float, "2000"},
        {"'It''s'", TKind::String, "'It's'"},
        {"'a'#13#10'b'", TKind::String, "'a\r\nb'"},
        {"#$4E2D'x'", TKind::String, "'\xE4\xB8\xADx'"},
        {"'one' +\n 'two'", TKind::String, "'onetwo'"},
        {"'\xE5\xAE\x8B\xE4\xBD\x93'", TKind::String, "'\xE5\xAE\x8B\xE4\xBD\x93'"},
        {"''", TKind::String, "''"},
        {"alClient", TKind::Ident, "alClient"},
        {"Form2.Button", TKind::Ident, "Form2.Button"},
        {"[]", TKind::Set, "[]"},
        {"[biSystemMenu, biMaximize]", TKind::Set, "[biSystemMenu, biMaximize]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TDescValue value = ValueOf(c.text);
        EXPECT_EQ(value.kind, c.kind);
        EXPECT_EQ(value.Describe(), c.expected);
    }
}

TEST(FormDescParse, ListsAndCollections) {
    const TDescValue list = ValueOf("(\n 'a'\n 'b' + 'c'\n)");
    ASSERT_EQ(list.kind, TKind::List);
    ASSERT_EQ(list.items.size(), 2u);
    EXPECT_EQ(list.items[1].text, "bc");
    EXPECT_TRUE(ValueOf("()").items.empty());

    const TDescValue collection = ValueOf(
        "<\n"
        "  item\n"
        "    Caption = 'x'\n"
        "    Width = 80\n"
        "  end\n"
        "  item\n"
        "  end>");
    ASSERT_EQ(collection.kind, TKind::Collection);
    ASSERT_EQ(collection.elements.size(), 2u);
    EXPECT_EQ(collection.elements[0].properties.size(), 2u);
    EXPECT_EQ(collection.elements[0].line, 3);
    EXPECT_TRUE(collection.elements[1].properties.empty());
}

TEST(FormDescParse, BadTextNamesFileAndLine) {
    struct Case {
        const char* text;
        int line;
        const char* reason;
    };
    const Case cases[] = {
        {"", 1, "The description is empty"},
        {"// nothing\n", 2, "The description is empty"},
        {"thing a: TX\nend", 1, "Expected 'object' or 'inherited'"},
        {"object a TX\nend", 1, "Expected ':'"},
        {"object a: TX\n  P 12\nend", 2, "Expected '='"},
        {"object a: TX\n  P = 'open\nend", 2, "Unterminated string"},
        {"object a: TX\n  P = 'bad \xC3\x28'\nend", 2, "Invalid UTF-8"},
        {"object a: TX\n  P = 'overlong \xC0\xAF'\nend", 2, "Invalid UTF-8"},
        {"object a: TX\n  P = #0\nend", 2, "Invalid character code"},
        {"object a: TX\n  P = #$D800\nend", 2, "Invalid character code"},
        {"object a: TX\n  P = 99999999999999999999\nend", 2, "Number out of range"},
        {"object a: TX\n  P = 12abc\nend", 2, "Invalid number"},
        {"object a: TX\n  P =\nend", 3, "Expected a property value"},
        {"object a: TX\n  P = 'x' +\nend", 3, "Expected a string after '+'"},
        {"object a: TX\n  P = [a b]\nend", 2, "Expected ']'"},
        {"object a: TX\n  P = ( 'a'\n", 3, "Unterminated list"},
        {"object a: TX\n  P = ( [x] )\nend", 2, "A list holds"},
        {"object a: TX\n  P = < Caption = 1 >\nend", 2, "Expected 'item'"},
        {"object a: TX\n  object b: TY\n  end\n  P = 1\nend", 4, "must come before"},
        {"object a: TX\n  P = 1\n", 3, "Expected a property, an object or 'end'"},
        {"object a: TX\nend\nobject b: TY\nend", 3, "Text after the end"},
        {"object a: TX\n  P = 1 ;\nend", 2, "Unexpected character ';'"},
        {"object a: TX\n  P = \xE4\xB8\xAD\nend", 2, "Unexpected character #228"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ParseFormDescription(c.text, "bad.kvform");
            ADD_FAILURE() << "no error";
        } catch (const EFormDescError& error) {
            EXPECT_EQ(error.FileName(), "bad.kvform");
            EXPECT_EQ(error.Line(), c.line);
            EXPECT_NE(error.Reason().find(c.reason), std::string::npos) << error.Reason();
            EXPECT_EQ(
                std::string(error.what()).rfind("bad.kvform(" + std::to_string(c.line) + "): ", 0),
                0u);
        }
    }
}

TEST(FormDescParse, DeepNestingIsRefusedNotOverflowed) {
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "object a: TX\n";
    EXPECT_THROW(ParseFormDescription(text, "deep.kvform"), EFormDescError);
    std::string lists = "object a: TX\n P = ";
    for (int i = 0; i < 100000; ++i)
        lists += "(";
    EXPECT_THROW(ParseFormDescription(lists, "deep.kvform"), EFormDescError);
}

TEST(FormDescParse, ClassNameOfTheFirstLine) {
    EXPECT_EQ(FormDescriptionClassName("// c\nobject frmA: TfrmA\nend"), "TfrmA");
    EXPECT_EQ(FormDescriptionClassName("INHERITED frmB : TfrmB"), "TfrmB");
    EXPECT_EQ(FormDescriptionClassName("frmA: TfrmA"), "");
    EXPECT_EQ(FormDescriptionClassName("object 'x"), "");
}

}  // namespace
}  // namespace kv
