#include <gtest/gtest.h>

#include "platform/widgetset/nogui/NoGuiWidgetset.h"
#include "tests/platform/ui/TestControls.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

using Entries = std::vector<std::string>;

// frmOrder: pcMain { tsGeneral { edName, chkVip, lstKind }, tsOther { edNote } }, btnOk,
// lblTitle.
class AutomationTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = FixtureForm(MakeForm("frmOrder"));
        log = NewObject<TEventLog>(form);
        auto* pages = Make<TTestPanel>(*form, *form, "pcMain");
        general = Make<TTestPanel>(*form, *pages, "tsGeneral");
        edName = Make<TTestEdit>(*form, *general, "edName");
        chkVip = Make<TTestCheck>(*form, *general, "chkVip");
        lstKind = Make<TTestList>(*form, *general, "lstKind");
        lstKind->items = {"Repair", "Service"};
        auto* other = Make<TTestPanel>(*form, *pages, "tsOther");
        edNote = Make<TTestEdit>(*form, *other, "edNote");
        btnOk = Make<TTestButton>(*form, *form, "btnOk");
        lblTitle = Make<TTestLabel>(*form, *form, "lblTitle");
        form->Show();
    }

    TForm* form = nullptr;
    TEventLog* log = nullptr;
    TTestPanel* general = nullptr;
    TTestEdit *edName = nullptr, *edNote = nullptr;
    TTestCheck* chkVip = nullptr;
    TTestList* lstKind = nullptr;
    TTestButton* btnOk = nullptr;
    TTestLabel* lblTitle = nullptr;
};

TEST_F(AutomationTest, NamePathsFindControlsFromAFormOrInsideTheActiveForm) {
    auto& a = Automation();
    EXPECT_EQ(&a.Find("frmOrder.pcMain.tsGeneral.edName"), edName);
    EXPECT_EQ(&a.Find("FRMORDER.PCMAIN.TSGENERAL.EDNAME"), edName) << "letter case is ignored";
    EXPECT_EQ(&a.Find("frmOrder.edNote"), edNote) << "levels in between may be left out";
    EXPECT_EQ(&a.Find("tsOther.edNote"), edNote) << "relative to the active form";
    EXPECT_EQ(&a.Find(*general, "chkVip"), chkVip);
    EXPECT_EQ(&a.Find("frmOrder"), form);
    EXPECT_EQ(&a.FindAs<TTestList>("frmOrder.lstKind"), lstKind);
    EXPECT_EQ(a.TryFind("frmOrder.tsOther.edName"), nullptr) << "edName is not inside tsOther";
    EXPECT_EQ(a.TryFind("frmOrder..edName"), nullptr);
    try {
        a.Find("frmOrder.pcMain.edMissing");
        FAIL();
    } catch (const EAutomationError& e) {
        EXPECT_STREQ(e.what(), "No control at 'frmOrder.pcMain.edMissing'");
    }
    EXPECT_THROW(a.FindAs<TTestEdit>("frmOrder.btnOk"), EAutomationError);
    EXPECT_THROW(a.FindForm("frmNone"), EAutomationError);
}

TEST_F(AutomationTest, TypingRaisesTheKeyAndChangeEventsOfEachCharacter) {
    log->WatchKeys(*edName);
    edName->OnChange = TNotifyEvent(log, &TEventLog::Change);
    Automation().TypeText("frmOrder.edName", "Ab");
    EXPECT_EQ(log->entries, (Entries{"edName.KeyDown(65)", "edName.KeyPress(A)", "edName.Change",
                                     "edName.KeyUp(65)", "edName.KeyDown(66)", "edName.KeyPress(b)",
                                     "edName.Change", "edName.KeyUp(66)"}));
    EXPECT_EQ(edName->Text(), "Ab");
    log->entries.clear();
    Automation().TypeText("张三\b");
    EXPECT_EQ(edName->Text(), "Ab张");
    EXPECT_EQ(log->entries, (Entries{"edName.Change", "edName.KeyDown(8)", "edName.KeyPress(\b)",
                                     "edName.Change", "edName.KeyUp(8)"}))
        << "text outside ASCII arrives in one input-method commit";
}

TEST_F(AutomationTest, TypingIntoAnotherControlMovesTheFocusFirst) {
    log->Watch(*edName);
    log->Watch(*edNote);
    edName->SetFocus();
    log->entries.clear();
    Automation().TypeText("frmOrder.edNote", "x");
    EXPECT_EQ(log->entries, (Entries{"edName.Exit", "edNote.Enter"}));
    EXPECT_EQ(edNote->Text(), "x");
}

TEST_F(AutomationTest, ClicksFocusTheControlThenRaiseMouseAndClickEvents) {
    log->Watch(*edName);
    log->Watch(*btnOk);
    btnOk->OnMouseDown = TMouseEvent(log, &TEventLog::MouseDownEvent);
    btnOk->OnMouseUp = TMouseEvent(log, &TEventLog::MouseUpEvent);
    btnOk->OnDblClick = TNotifyEvent(log, &TEventLog::DblClickEvent);
    edName->SetFocus();
    log->entries.clear();
    Automation().Click("frmOrder.btnOk");
    EXPECT_EQ(log->entries, (Entries{"edName.Exit", "btnOk.Enter", "btnOk.MouseDown", "btnOk.Click",
                                     "btnOk.MouseUp"}));
    log->entries.clear();
    Automation().DblClick(*btnOk);
    EXPECT_EQ(log->entries,
              (Entries{"btnOk.MouseDown", "btnOk.Click", "btnOk.MouseUp", "btnOk.DblClick",
                       "btnOk.MouseDown(double)", "btnOk.MouseUp"}));
    log->entries.clear();
    log->Watch(*lblTitle);
    Automation().Click(*lblTitle);
    EXPECT_EQ(log->entries, Entries{"lblTitle.Click"}) << "a label takes no focus";
    EXPECT_TRUE(btnOk->Focused());
}

// The exit check of the field being left keeps the focus: the click never happens.
TEST_F(AutomationTest, NoClickWhenTheFocusDoesNotArrive) {
    struct Validator : TObject {
        TWinControl* field;
        void Exit(TObject*) { field->SetFocus(); }
    } validator;
    validator.field = edName;
    edName->SetFocus();
    edName->OnExit = TNotifyEvent(&validator, &Validator::Exit);
    log->Watch(*btnOk);
    btnOk->OnEnter = TNotifyEvent();
    Automation().Click(*btnOk);
    EXPECT_TRUE(log->entries.empty());
    try {
        Automation().Focus(*btnOk);
        FAIL();
    } catch (const EAutomationError& e) {
        EXPECT_STREQ(e.what(),
                     "The focus did not arrive at frmOrder.btnOk; it stayed at frmOrder.edName");
    }
    edName->OnExit = TNotifyEvent();
}

TEST_F(AutomationTest, InputToHiddenOrDisabledControlsIsRefused) {
    struct Case {
        std::function<void()> setUp;
        const char* message;
    };
    const Case cases[] = {
        {[&] { btnOk->SetEnabled(false); }, "Cannot click frmOrder.btnOk: it is disabled"},
        {[&] { btnOk->SetVisible(false); }, "Cannot click frmOrder.btnOk: it is not showing"},
        {[&] { form->Hide(); }, "Cannot click frmOrder.btnOk: it is not showing"},
    };
    for (const Case& c : cases) {
        c.setUp();
        try {
            Automation().Click(*btnOk);
            ADD_FAILURE() << c.message;
        } catch (const EAutomationError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        btnOk->SetEnabled(true);
        btnOk->SetVisible(true);
        form->Show();
    }
}

TEST_F(AutomationTest, KeysGoToTheFocusedControlWithTheirShiftStates) {
    form->SetKeyPreview(true);
    log->WatchKeys(*form);
    edName->SetFocus();
    Automation().PressKey(VK_TAB, {ssCtrl});
    EXPECT_TRUE(edName->Focused()) << "Ctrl+Tab is no dialog key";
    EXPECT_EQ(log->entries, (Entries{"frmOrder.KeyDown(9)", "frmOrder.KeyUp(9)"}))
        << "and makes no character";
    log->entries.clear();
    Automation().PressKey(VK_TAB);
    EXPECT_TRUE(chkVip->Focused());
    EXPECT_EQ(log->entries, (Entries{"frmOrder.KeyDown(9)", "frmOrder.KeyUp(9)"}))
        << "the form previews Tab before it moves the focus, and no character follows";
    log->entries.clear();
    Automation().PressKey("frmOrder.edNote", 'V', {ssCtrl, ssAlt});
    EXPECT_EQ(log->entries, (Entries{"frmOrder.KeyDown(86)", "frmOrder.KeyUp(86)"}));
    EXPECT_EQ(edNote->Text(), "");
}

TEST_F(AutomationTest, ChecksAndSelectionsGoThroughTheControlsOwnBehaviour) {
    log->Watch(*chkVip);
    Automation().Check("frmOrder.chkVip", true);
    EXPECT_TRUE(chkVip->Checked());
    Automation().Check(*chkVip, true);
    EXPECT_EQ(log->entries, (Entries{"chkVip.Enter", "chkVip.Click"}))
        << "no click when already so";
    chkVip->radio = true;
    EXPECT_THROW(Automation().Check(*chkVip, false), EAutomationError);
    EXPECT_THROW(Automation().Check(*edName, true), EAutomationError) << "an edit has no Checked";

    lstKind->OnChange = TNotifyEvent(log, &TEventLog::Change);
    Automation().Select("frmOrder.lstKind", "Service");
    EXPECT_EQ(lstKind->itemIndex, 1);
    EXPECT_TRUE(lstKind->Focused());
    Automation().SelectIndex(*lstKind, 0);
    EXPECT_EQ(lstKind->itemIndex, 0);
    EXPECT_THROW(Automation().Select(*lstKind, "Sale"), EAutomationError);
    EXPECT_THROW(Automation().Select(*edName, "x"), EAutomationError);
}

TEST_F(AutomationTest, ScriptedModalFormsAndTheirBoxesNest) {
    auto* dialog = MakeForm("frmAsk");
    auto* yes = Make<TTestButton>(*dialog, *dialog, "btnYes");
    yes->ModalResult = mrYes;
    Automation().AnswerModal("frmAsk", [](TCustomForm&) {
        Automation().AnswerBox(mrOk);
        EXPECT_EQ(MessageDlg("Sure?", mtConfirmation, mbOKCancel), mrOk);
        Automation().Click("frmAsk.btnYes");
    });
    Automation().AnswerModal("", mrAbort);
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    EXPECT_EQ(dialog->ShowModal(), mrAbort);
    EXPECT_EQ(Automation().Boxes().size(), 1U);
    ASSERT_EQ(Automation().ModalForms().size(), 2U);
    EXPECT_EQ(Automation().ModalForms()[0].FormName, "frmAsk");
    EXPECT_TRUE(Automation().ModalForms()[1].Scripted);
    dialog->Free();
}

TEST_F(AutomationTest, TheCloseBoxRunsTheFormsCloseHandling) {
    Automation().CloseForm("frmOrder");
    EXPECT_FALSE(form->Visible());
    EXPECT_THROW(Automation().CloseForm(*form), EAutomationError);
}

TEST(NoGuiWidgetset, TheVirtualClockFiresTimersWhenTimePasses) {
    Application().ProcessMessages();
    TNoGuiWidgetset nogui;
    TForm* form = MakeForm("frmTimer");
    const HWND window = form->Handle();
    nogui.SetTimer(window, 7, 100);
    EXPECT_EQ(nogui.TickCount(), 0U);
    nogui.Sleep(99);
    EXPECT_EQ(Application().PendingMessages(), 0);
    nogui.Sleep(1);
    EXPECT_EQ(Application().PendingMessages(), 1);
    nogui.Sleep(1000);
    EXPECT_EQ(Application().PendingMessages(), 2) << "timer messages are merged";
    EXPECT_EQ(nogui.TickCount(), 1100U);
    nogui.KillTimer(window, 7);
    nogui.Sleep(1000);
    EXPECT_EQ(Application().PendingMessages(), 2);
    Application().ProcessMessages();
    form->Free();

    TFont font;
    font.SetHeight(-12);
    const TTextExtent extent = nogui.TextExtent(font, "ab中文");
    EXPECT_EQ(extent.Width, 6 + 6 + 12 + 12);
    EXPECT_EQ(extent.Height, 14);
}

}  // namespace
}  // namespace kv::test
