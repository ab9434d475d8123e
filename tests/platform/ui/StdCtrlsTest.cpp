#include <gtest/gtest.h>

#include "platform/ui/StdCtrls.h"
#include "platform/widgetset/nogui/NoGuiWidgetset.h"
#include "tests/platform/ui/TestControls.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

using Entries = std::vector<std::string>;

// A property set from text by name, as form descriptions set it.
void SetByName(TObject* object, const char* name, std::string_view value) {
    SetPropText(object, GetPropInfo(object, name), value);
}

class StdCtrlsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = FixtureForm(MakeForm("frmStd"));
        log = NewObject<TEventLog>(form);
        edName = Make<TEdit>(*form, *form, "edName");
        edNote = Make<TEdit>(*form, *form, "edNote");
        form->Show();
    }

    void WatchChange(TCustomEdit& edit) { edit.OnChange = TNotifyEvent(log, &TEventLog::Change); }

    TForm* form = nullptr;
    TEventLog* log = nullptr;
    TEdit* edName = nullptr;
    TEdit* edNote = nullptr;
};

// ---- edits

TEST_F(StdCtrlsTest, TypingEditsAtTheCaretAndRaisesOnChangeForEveryChange) {
    WatchChange(*edName);
    Automation().TypeText("frmStd.edName", "Smitj\bh");
    EXPECT_EQ(edName->Text(), "Smith");
    EXPECT_EQ(log->entries.size(), 7u) << "five letters, a backspace and a letter";
    EXPECT_TRUE(edName->Modified());
    Automation().PressKey(VK_HOME);
    Automation().PressKey(VK_DELETE);
    Automation().TypeText("J");
    EXPECT_EQ(edName->Text(), "Jmith");
    log->entries.clear();
    edName->SetText("Jones");
    EXPECT_EQ(log->entries, Entries{"edName.Change"}) << "the program's change raises it too";
    EXPECT_FALSE(edName->Modified());
    edName->SetText("Jones");
    EXPECT_EQ(log->entries.size(), 1u) << "the same text is no change";
}

TEST_F(StdCtrlsTest, EnteringWithAutoSelectMakesTypingReplaceTheText) {
    edName->SetText("old");
    edNote->SetText("keep");
    edNote->SetAutoSelect(false);
    Automation().TypeText("frmStd.edNote", "x");
    Automation().TypeText("frmStd.edName", "new");
    EXPECT_EQ(edName->Text(), "new");
    EXPECT_EQ(edNote->Text(), "xkeep") << "without AutoSelect the caret stays at the start";
}

TEST_F(StdCtrlsTest, MaxLengthCountsDoubleByteCharactersTwice) {
    edName->SetMaxLength(5);
    Automation().TypeText("frmStd.edName", "ab张三cd");
    EXPECT_EQ(edName->Text(), "ab张c") << "a, b, 张 fill 4 of 5; 三 needs 2, c fits";
    edName->SetText("longer than five");
    EXPECT_EQ(edName->Text(), "longer than five") << "the program is not limited";
}

TEST_F(StdCtrlsTest, CharCaseReadOnlyAndSelectionRules) {
    edName->SetCharCase(ecUpperCase);
    Automation().TypeText("frmStd.edName", "ab1");
    EXPECT_EQ(edName->Text(), "AB1");
    edName->SetSelStart(1);
    edName->SetSelLength(1);
    EXPECT_EQ(edName->SelText(), "B");
    edName->SetSelText("xy");
    EXPECT_EQ(edName->Text(), "AXY1") << "the selection is replaced, converted";
    edName->SetReadOnly(true);
    Automation().TypeText("zz\b");
    EXPECT_EQ(edName->Text(), "AXY1");
}

TEST_F(StdCtrlsTest, AutoSizeFollowsTheFontHeight) {
    EXPECT_EQ(edName->Height(), 21) << "the default font's line plus 8";
    edName->Font()->SetHeight(-20);
    EXPECT_EQ(edName->Height(), 30);
    edName->SetAutoSize(false);
    edName->SetHeight(40);
    edName->Font()->SetHeight(-11);
    EXPECT_EQ(edName->Height(), 40);
}

// ---- memos

TEST_F(StdCtrlsTest, MemoKeepsEnterForNewLinesAndReportsTheCaretLine) {
    auto* memo = Make<TMemo>(*form, *form, "mmNote");
    auto* ok = Make<TButton>(*form, *form, "btnOk");
    ok->SetDefault(true);
    log->Watch(*ok);
    Automation().TypeText("frmStd.mmNote", "one\ntwo\nthree");
    EXPECT_EQ(memo->Text(), "one\r\ntwo\r\nthree");
    EXPECT_TRUE(log->entries.empty()) << "Enter stays in the memo";
    EXPECT_EQ(memo->CaretPos(), Point(5, 2));
    EXPECT_EQ(memo->LineFromChar(memo->SelStart()), 2);
    Automation().PressKey(VK_UP);
    EXPECT_EQ(memo->CaretPos(), Point(3, 1)) << "the column is kept within the shorter line";
    Automation().PressKey(VK_BACK);
    EXPECT_EQ(memo->Lines()->Strings(1), "tw");
    memo->SetWantReturns(false);
    Automation().PressKey(VK_RETURN);
    EXPECT_EQ(log->entries, Entries{"btnOk.Click"}) << "without WantReturns Enter goes to the form";
}

TEST_F(StdCtrlsTest, MemoLinesReadAndWriteTheText) {
    auto* memo = Make<TMemo>(*form, *form, "mmNote");
    TStrings& lines = *memo->Lines();
    EXPECT_EQ(lines.Count(), 0);
    lines.Add("a");
    lines.Add("b");
    EXPECT_EQ(memo->Text(), "a\r\nb\r\n");
    EXPECT_EQ(lines.Count(), 2) << "the empty line after the last break does not count";
    lines.Insert(1, "x");
    lines.SetStrings(0, "A");
    lines.Delete(2);
    EXPECT_EQ(memo->Text(), "A\r\nx\r\n");
    lines.SetText("p\nq");
    EXPECT_EQ(memo->Text(), "p\r\nq");
    lines.Add("r");
    EXPECT_EQ(memo->Text(), "p\r\nq\r\nr") << "past a last line without a break";
    EXPECT_THROW(lines.Delete(5), EStringListError);
    TStringList copy;
    copy.Assign(&lines);
    EXPECT_EQ(copy.CommaText(), "p,q,r");
}

// ---- combo boxes

class ComboTest : public StdCtrlsTest {
protected:
    void SetUp() override {
        StdCtrlsTest::SetUp();
        combo = Make<TComboBox>(*form, *form, "cboKind");
        combo->Items()->SetCommaText("Repair,Service,Sale");
        combo->OnChange = TNotifyEvent(log, &TEventLog::Change);
        combo->OnClick = TNotifyEvent(log, &TEventLog::ClickEvent);
    }
    TComboBox* combo = nullptr;
};

TEST_F(ComboTest, AUserPickRaisesClickThenChangeUnlessOnSelectIsSet) {
    Automation().Select("frmStd.cboKind", "Service");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "Service");
    EXPECT_EQ(log->entries, (Entries{"cboKind.Click", "cboKind.Change"}));
    log->entries.clear();
    combo->OnSelect = TNotifyEvent(log, &TEventLog::DblClickEvent);  // any logging handler
    Automation().PressKey(VK_DOWN);
    EXPECT_EQ(combo->Text(), "Sale");
    EXPECT_EQ(log->entries, (Entries{"cboKind.Click", "cboKind.DblClick"}));
    log->entries.clear();
    combo->SetItemIndex(0);
    EXPECT_EQ(combo->Text(), "Repair");
    combo->SetText("Sale");
    EXPECT_TRUE(log->entries.empty()) << "the program's changes raise nothing";
    EXPECT_EQ(combo->ItemIndex(), 2) << "a text that equals an item selects it";
}

TEST_F(ComboTest, TypingInADropDownComboEditsTheTextAndFindsTheItem) {
    combo->SetItemIndex(0);
    Automation().TypeText("frmStd.cboKind", "sale");
    EXPECT_EQ(combo->Text(), "sale") << "entering selected the text, typing replaced it";
    EXPECT_EQ(combo->ItemIndex(), 2) << "letter case ignored";
    Automation().TypeText("s");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(log->entries.size(), 5u) << "one change per character";
}

TEST_F(ComboTest, ListStylesShowOnlyItems) {
    combo->SetStyle(csDropDownList);
    combo->SetText("Nothing");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
    combo->SetText("ser");
    EXPECT_EQ(combo->Text(), "Service") << "the first item that starts with the text";
    Automation().TypeText("frmStd.cboKind", "r");
    EXPECT_EQ(combo->Text(), "Repair") << "a letter picks the next item starting with it";
    EXPECT_EQ(log->entries, (Entries{"cboKind.Click", "cboKind.Change"}));
}

TEST_F(ComboTest, TheSelectionFollowsItsItem) {
    combo->SetItemIndex(1);
    combo->Items()->Insert(0, "Check");
    EXPECT_EQ(combo->ItemIndex(), 2);
    combo->Items()->Delete(0);
    EXPECT_EQ(combo->ItemIndex(), 1);
    combo->SetSorted(true);
    EXPECT_EQ(combo->Items()->CommaText(), "Repair,Sale,Service");
    EXPECT_EQ(combo->ItemIndex(), 2) << "Service moved to the end";
    EXPECT_EQ(combo->Items()->Add("Audit"), 0) << "a sorted list adds in order";
    combo->Items()->Delete(3);
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetItemIndex(7);
    EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(ComboTest, ItemIndexReadWhileLoadingWaitsForTheItems) {
    auto* loaded = NewObject<TComboBox>(form);
    loaded->IncludeState(csLoading);
    SetByName(loaded, "Style", "csDropDownList");
    SetOrdProp(loaded, "ItemIndex", 1);
    loaded->Items()->SetCommaText("a,b");
    loaded->Loaded();
    EXPECT_EQ(loaded->Text(), "b");
}

TEST_F(ComboTest, DropDownEventsAndEnterClosingTheList) {
    combo->OnDropDown = TNotifyEvent(log, &TEventLog::Enter);
    combo->OnCloseUp = TNotifyEvent(log, &TEventLog::Exit);
    auto* ok = Make<TButton>(*form, *form, "btnOk");
    ok->SetDefault(true);
    ok->OnClick = TNotifyEvent(log, &TEventLog::ClickEvent);
    Automation().PressKey("frmStd.cboKind", VK_F4);
    EXPECT_TRUE(combo->DroppedDown());
    Automation().PressKey(VK_RETURN);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(log->entries, (Entries{"cboKind.Enter", "cboKind.Exit"}))
        << "Enter closed the list and did not press the default button";
}

// ---- list boxes

TEST_F(StdCtrlsTest, ListBoxSelectionByUserAndProgram) {
    auto* list = Make<TListBox>(*form, *form, "lstUsers");
    list->Items()->SetCommaText("ann,bob,cid");
    log->Watch(*list);
    Automation().Select("frmStd.lstUsers", "bob");
    Automation().PressKey(VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_TRUE(list->Selected(2));
    EXPECT_FALSE(list->Selected(1));
    EXPECT_EQ(log->entries, (Entries{"lstUsers.Enter", "lstUsers.Click", "lstUsers.Click"}));
    list->SetMultiSelect(true);
    list->SetSelected(0, true);
    EXPECT_EQ(list->SelCount(), 2);
    list->Items()->Delete(0);
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_EQ(list->ItemIndex(), 1) << "cid moved up";
    EXPECT_THROW(list->Selected(5), EListError);
}

// ---- buttons

TEST_F(StdCtrlsTest, ButtonsSetTheModalResultAndAnswerEnterAndEsc) {
    auto* ok = Make<TButton>(*form, *form, "btnOk");
    auto* cancel = Make<TButton>(*form, *form, "btnCancel");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    log->Watch(*ok);
    log->Watch(*cancel);
    edName->SetFocus();
    log->entries.clear();
    Automation().PressKey(VK_RETURN);
    EXPECT_EQ(form->ModalResult(), mrOk);
    Automation().PressKey(VK_ESCAPE);
    EXPECT_EQ(form->ModalResult(), mrCancel);
    cancel->SetFocus();
    log->entries.clear();
    Automation().PressKey(VK_RETURN);
    EXPECT_EQ(log->entries, Entries{"btnCancel.Click"}) << "Enter clicks the focused button";
    log->entries.clear();
    Automation().PressKey(VK_SPACE);
    EXPECT_EQ(log->entries, Entries{"btnCancel.Click"});
    form->SetModalResult(mrNone);
}

TEST_F(StdCtrlsTest, ModalFormEndsWithTheButtonsResult) {
    auto* dialog = MakeForm("frmAsk");
    auto* ok = Make<TButton>(*dialog, *dialog, "btnOk");
    ok->SetModalResult(mrOk);
    Automation().AnswerModal("frmAsk", [](TCustomForm&) { Automation().Click("frmAsk.btnOk"); });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    dialog->Free();
}

// ---- check boxes and radio buttons

TEST_F(StdCtrlsTest, CheckBoxRaisesOnClickForEveryStateChange) {
    auto* check = Make<TCheckBox>(*form, *form, "chkVip");
    log->Watch(*check);
    Automation().Check("frmStd.chkVip", true);
    EXPECT_TRUE(check->Checked());
    check->SetChecked(false);
    check->SetChecked(false);
    EXPECT_EQ(log->entries, (Entries{"chkVip.Enter", "chkVip.Click", "chkVip.Click"}))
        << "the program's change clicks too; no change, no click";
    log->entries.clear();
    check->SetClicksDisabled(true);
    check->SetChecked(true);
    check->SetClicksDisabled(false);
    EXPECT_TRUE(log->entries.empty());
    check->SetAllowGrayed(true);
    const TCheckBoxState expected[] = {cbGrayed, cbUnchecked, cbChecked};
    for (TCheckBoxState state : expected) {
        Automation().Click(*check);
        EXPECT_EQ(check->State(), state);
    }
    EXPECT_EQ(GetPropInfo(check, "Alignment")->PropType()->Name(), "TLeftRight");
}

TEST_F(StdCtrlsTest, RadioButtonsAreExclusiveAmongTheirSiblings) {
    auto* group = Make<TGroupBox>(*form, *form, "gbWhen");
    auto* now = Make<TRadioButton>(*form, *group, "rdoNow");
    auto* later = Make<TRadioButton>(*form, *group, "rdoLater");
    auto* queue = Make<TRadioButton>(*form, *group, "rdoQueue");
    auto* elsewhere = Make<TRadioButton>(*form, *form, "rdoOther");
    elsewhere->SetChecked(true);
    log->Watch(*later);
    now->SetChecked(true);
    Automation().Click("frmStd.gbWhen.rdoLater");
    EXPECT_FALSE(now->Checked());
    EXPECT_TRUE(later->Checked());
    EXPECT_FALSE(queue->Checked());
    EXPECT_TRUE(elsewhere->Checked()) << "another parent, another group";
    EXPECT_TRUE(later->TabStop());
    EXPECT_FALSE(now->TabStop()) << "the checked button is the group's tab stop";
    Automation().Click(*later);
    EXPECT_EQ(log->entries, (Entries{"rdoLater.Enter", "rdoLater.Click"}))
        << "a click focuses the button; a checked button stays checked";
    Automation().Check(*queue, true);
    EXPECT_FALSE(later->Checked());
}

// ---- labels

TEST_F(StdCtrlsTest, LabelsSizeToTheirTextWithoutAcceleratorMarks) {
    auto* label = Make<TLabel>(*form, *form, "lblName");
    label->SetCaption("&Name");
    EXPECT_EQ(label->DisplayText(), "Name");
    EXPECT_EQ(label->Width(), 24) << "four ASCII characters of 6 pixels";
    EXPECT_EQ(label->Height(), 13);
    label->SetCaption("客户&&号");
    EXPECT_EQ(label->DisplayText(), "客户&号");
    EXPECT_EQ(label->Width(), 11 + 11 + 6 + 11);
    label->SetAlignment(taRightJustify);
    label->SetLeft(100);
    label->SetCaption("ab");
    EXPECT_EQ(label->Left() + label->Width(), 139) << "the right edge stays";
    label->SetCaption("");
    EXPECT_EQ(label->Height(), 13) << "an empty label keeps one line";
    label->SetAutoSize(false);
    label->SetCaption("a much longer caption");
    EXPECT_EQ(label->Width(), 6);
}

TEST_F(StdCtrlsTest, LabelPaintRecordsItsText) {
    auto* label = Make<TLabel>(*form, *form, "lblName");
    label->SetCaption("A&B\nC");
    label->Paint();
    const auto& records = label->Canvas()->Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].Text, "AB");
    EXPECT_EQ(records[2].Text, "C");
    EXPECT_EQ(records[2].Rect.Top, 13);
}

// ---- published members

TEST_F(StdCtrlsTest, PublishedPropertiesCarryTheTypeNamesFormsWalk) {
    auto* combo = Make<TComboBox>(*form, *form, "cbo");
    auto* list = Make<TListBox>(*form, *form, "lst");
    auto* memo = Make<TMemo>(*form, *form, "mm");
    struct Case {
        TObject* object;
        const char* property;
        const char* type;
    };
    const Case cases[] = {
        {combo, "Items", "TStrings"},
        {combo, "Style", "TComboBoxStyle"},
        {list, "Items", "TStrings"},
        {list, "Style", "TListBoxStyle"},
        {memo, "Lines", "TStrings"},
        {edName, "Font", "TFont"},
        {edName, "Color", "TColor"},
        {edName, "ImeName", "String"},
        {edName, "BorderStyle", "TBorderStyle"},
    };
    for (const Case& c : cases) {
        const TPropInfo* info = GetPropInfo(c.object, c.property);
        ASSERT_NE(info, nullptr) << c.property;
        EXPECT_EQ(info->PropType()->Name(), c.type) << c.property;
    }
    EXPECT_EQ(GetPropInfo(edName, "Caption"), nullptr) << "an edit publishes Text only";
    EXPECT_EQ(GetPropInfo(edName, "Lines"), nullptr);
    SetByName(combo, "Style", "csOwnerDrawFixed");
    EXPECT_TRUE(combo->IsListStyle());
    SetByName(edName, "Text", "by name");
    EXPECT_EQ(edName->Text(), "by name");
    EXPECT_EQ(FindClass("TComboBox"), TComboBox::StaticClass());
}

}  // namespace
}  // namespace kv::test
