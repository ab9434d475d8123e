#include <gtest/gtest.h>

#include "platform/ui/Mask.h"
#include "platform/widgetset/nogui/NoGuiWidgetset.h"
#include "tests/platform/ui/TestControls.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

using Entries = std::vector<std::string>;

class MaskEditTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = FixtureForm(MakeForm("frmMask"));
        log = NewObject<TEventLog>(form);
        edOther = Make<TEdit>(*form, *form, "edOther");
        edDate = Make<TMaskEdit>(*form, *form, "edDate");
        form->Show();
    }

    int Beeps() const { return dynamic_cast<TNoGuiWidgetset&>(Widgetset()).Beeps(); }

    TForm* form = nullptr;
    TEventLog* log = nullptr;
    TEdit* edOther = nullptr;
    TMaskEdit* edDate = nullptr;
};

struct TypingCase {
    const char* mask;
    const char* typed;
    const char* editText;
    const char* text;
};

// What the user types (after entering the edit, which selects it all) against what the edit
// shows and what the program reads.
TEST_F(MaskEditTest, TypingFollowsTheMaskRules) {
    const TypingCase cases[] = {
        // digits only; the caret skips the literals
        {"9999/99/99;1; ", "20240105", "2024/01/05", "2024/01/05"},
        {"9999/99/99;1; ", "2024x0105", "2024/01/05", "2024/01/05"},
        // literal flag 0: the Text holds the typed characters only
        {"9999/99/99;0; ", "202401", "2024/01/  ", "202401"},
        // blank character shown where nothing was typed
        {"99/99/9999;1;_", "0105", "01/05/____", "01/05/    "},
        // typing the literal that closes the run steps past it
        {"99-99;1;_", "1-2", "1_-2_", "1 -2 "},
        {"99/99/9999;0;_", "1/5/2024", "1_/5_/2024", "1 5 2024"},
        // case conversion and letter positions
        {">LL<ll;1;_", "abCD", "ABcd", "ABcd"},
        {"LL;1;_", "a1b", "ab", "ab"},
        // '!': optional positions are leading blanks in the Text
        {"!aaaa;0;_", "ab", "ab__", "ab  "},
        {"aaaa;0;_", "ab", "ab__", "ab"},
        // literals of an escaped mask character
        {"\\A-999;0;_", "12", "A-12_", "12"},
        // the platform's key masks with an ideograph
        {"ccc;1;_", "张a", "张a_", "张a "},
        // no mask: a plain edit
        {"", "abc", "abc", "abc"},
    };
    for (const TypingCase& c : cases) {
        edOther->SetFocus();
        edDate->SetEditMask(c.mask);
        edDate->SetText("");
        Automation().TypeText("frmMask.edDate", c.typed);
        EXPECT_EQ(edDate->EditText(), c.editText) << c.mask << " typing " << c.typed;
        EXPECT_EQ(edDate->Text(), c.text) << c.mask << " typing " << c.typed;
    }
}

TEST_F(MaskEditTest, LeadingBlanksRuleShapesTheTextOfOptionalPositions) {
    edDate->SetEditMask("!9999;0; ");
    edDate->SetText("12");
    EXPECT_EQ(edDate->EditText(), "  12") << "the program's text fills from the right";
    EXPECT_EQ(edDate->Text(), "12");
    edDate->SetEditMask("9999;0; ");
    EXPECT_EQ(edDate->EditText(), "12  ");
}

TEST_F(MaskEditTest, TheTextOfAnEmptyFieldUnderEachLiteralFlag) {
    edDate->SetEditMask("9999/99/99;1; ");
    EXPECT_EQ(edDate->Text(), "    /  /  ");
    EXPECT_EQ(edDate->EmptyText(), "    /  /  ");
    // The check of required fields: flag 0, clear, flag 1, read.
    edDate->SetText("2024/01/05");
    const std::string kept = edDate->Text();
    edDate->SetEditMask("9999/99/99;0; ");
    EXPECT_EQ(edDate->Text(), "20240105") << "the text is kept across the flag change";
    edDate->SetText("");
    edDate->SetEditMask("9999/99/99;1; ");
    EXPECT_EQ(Trim(edDate->Text()), "/  /");
    edDate->SetText(kept);
    EXPECT_EQ(edDate->Text(), "2024/01/05");
}

TEST_F(MaskEditTest, ChangingTheMaskRaisesOneChangeWhenTheEditTextChanges) {
    edDate->OnChange = TNotifyEvent(log, &TEventLog::Change);
    edDate->SetEditMask("9999/99/99;1; ");
    edDate->SetEditMask("9999/99/99;1; ");
    EXPECT_EQ(log->entries, Entries{"edDate.Change"});
}

TEST_F(MaskEditTest, EditingKeysWorkOnInputPositions) {
    edDate->SetEditMask("99/99;1;_");
    Automation().TypeText("frmMask.edDate", "1234");
    Automation().PressKey(VK_BACK);
    EXPECT_EQ(edDate->EditText(), "12/3_");
    Automation().PressKey(VK_LEFT);
    Automation().PressKey(VK_LEFT);
    Automation().PressKey(VK_DELETE);
    EXPECT_EQ(edDate->EditText(), "1_/3_") << "left stepped over the literal";
    Automation().TypeText("9");
    EXPECT_EQ(edDate->EditText(), "19/3_");
    const int beeps = Beeps();
    Automation().TypeText("x");
    EXPECT_EQ(Beeps(), beeps + 1) << "a refused character beeps";
    EXPECT_EQ(edDate->EditText(), "19/3_");
}

TEST_F(MaskEditTest, EscUndoesTheUsersChangesBeforeTheCancelButtonSeesIt) {
    auto* cancel = Make<TButton>(*form, *form, "btnCancel");
    cancel->SetCancel(true);
    log->Watch(*cancel);
    edDate->SetEditMask("9999;1;_");
    edDate->SetText("12");
    Automation().TypeText("frmMask.edDate", "99");
    Automation().PressKey(VK_ESCAPE);
    EXPECT_EQ(edDate->Text(), "12  ");
    EXPECT_TRUE(log->entries.empty());
    Automation().PressKey(VK_ESCAPE);
    EXPECT_EQ(log->entries, Entries{"btnCancel.Click"}) << "unchanged: Esc is the form's";
}

TEST_F(MaskEditTest, LeavingAnIncompleteRequiredEntryKeepsTheFocusAndShowsTheError) {
    edDate->SetEditMask("000;1;_");
    edDate->OnExit = TNotifyEvent(log, &TEventLog::Exit);
    Automation().TypeText("frmMask.edDate", "1");
    Automation().AnswerBox(mrOk);
    EXPECT_THROW(Automation().Focus(*edOther), EAutomationError);
    EXPECT_TRUE(edDate->Focused());
    EXPECT_EQ(Automation().LastBox().Text,
              "Invalid input value.  Use escape key to abandon changes.");
    EXPECT_TRUE(log->entries.empty()) << "no exit event";
    Automation().TypeText("23");
    Automation().Focus(*edOther);
    EXPECT_EQ(log->entries, Entries{"edDate.Exit"});
    edDate->SetText("");
    EXPECT_NO_THROW(edDate->ValidateEdit()) << "the program's text is not checked";
}

// ---- the editing rules without a control

struct RuleCase {
    const char* mask;
    const char* editText;
    int selStart;
    int selLength;
    char32_t typed;  // 0: backspace
    bool taken;
    const char* after;
    int caret;
};

TEST(MaskEditRules, TypingAndBackspaceOnStates) {
    const RuleCase cases[] = {
        {"99/99;1;_", "__/__", 0, 0, U'1', true, "1_/__", 1},
        {"99/99;1;_", "12/__", 2, 0, U'3', true, "12/3_", 4},
        {"99/99;1;_", "12/34", 5, 0, U'5', false, "12/34", 5},
        {"99/99;1;_", "12/34", 1, 3, U'7', true, "17/_4", 3},
        {"99/99;1;_", "12/34", 3, 0, 0, true, "1_/34", 1},
        {"99/99;1;_", "__/__", 0, 0, 0, false, "__/__", 0},
        {"99/99;1;_", "1x/3", 0, 0, U'5', true, "5_/3_", 1},  // a state that does not fit
        {"L0;1;*", "**", 0, 0, U'q', true, "q*", 1},
        {"LL;1;_", "a_", 1, 0, U'1', false, "a_", 1},
        {"cc;1;*", "**", 0, 0, U' ', true, "**", 1},  // a space where any character goes
        {"cc;1;_", "__", 0, 0, char32_t{0x110000}, false, "__", 0},  // beyond Unicode
        {"cc;1;_", "__", 0, 0, char32_t{0xD800}, false, "__", 0},    // half a surrogate pair
    };
    for (const RuleCase& c : cases) {
        const TEditMask mask(c.mask);
        TMaskEditState state{c.editText, c.selStart, c.selLength};
        const bool taken =
            c.typed == 0 ? MaskBackspace(mask, state) : MaskTypeChar(mask, state, c.typed);
        EXPECT_EQ(taken, c.taken) << c.mask << " " << c.editText;
        EXPECT_EQ(state.EditText, c.after) << c.mask << " " << c.editText;
        EXPECT_EQ(state.SelStart, c.caret) << c.mask << " " << c.editText;
    }
}

TEST(MaskEditRules, CaretKeysVisitInputPositionsOnly) {
    const TEditMask mask("(999) 999;1;_");
    TMaskEditState state{"", 0, 0};
    MaskMoveCaret(mask, state, VK_HOME);
    EXPECT_EQ(state.SelStart, 1);
    EXPECT_EQ(state.EditText, "(___) ___");
    for (int expected : {2, 3, 6, 7, 8, 9, 9}) {
        MaskMoveCaret(mask, state, VK_RIGHT);
        EXPECT_EQ(state.SelStart, expected);
    }
    MaskMoveCaret(mask, state, VK_LEFT);
    EXPECT_EQ(state.SelStart, 8);
    EXPECT_FALSE(MaskDelete(mask, state)) << "a blank position stays blank";
}

}  // namespace
}  // namespace kv::test
