#include <gtest/gtest.h>

#include "tests/platform/ui/TestControls.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

using Entries = std::vector<std::string>;

// frmFocus: pnlA { edA1, edA2 }, pnlB { edB1, pnlInner { edB2 } }, btnOk; every control logs
// its enter and exit events.
class FocusTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = FixtureForm(MakeForm("frmFocus"));
        log = NewObject<TEventLog>(form);
        pnlA = Make<TTestPanel>(*form, *form, "pnlA");
        edA1 = Make<TTestEdit>(*form, *pnlA, "edA1");
        edA2 = Make<TTestEdit>(*form, *pnlA, "edA2");
        pnlB = Make<TTestPanel>(*form, *form, "pnlB");
        edB1 = Make<TTestEdit>(*form, *pnlB, "edB1");
        pnlInner = Make<TTestPanel>(*form, *pnlB, "pnlInner");
        edB2 = Make<TTestEdit>(*form, *pnlInner, "edB2");
        btnOk = Make<TTestButton>(*form, *form, "btnOk");
        for (TWinControl* c :
             std::vector<TWinControl*>{pnlA, edA1, edA2, pnlB, edB1, pnlInner, edB2, btnOk})
            log->Watch(*c);
    }

    Entries Take() { return std::exchange(log->entries, {}); }

    TForm* form = nullptr;
    TEventLog* log = nullptr;
    TTestPanel *pnlA = nullptr, *pnlB = nullptr, *pnlInner = nullptr;
    TTestEdit *edA1 = nullptr, *edA2 = nullptr, *edB1 = nullptr, *edB2 = nullptr;
    TTestButton* btnOk = nullptr;
};

TEST_F(FocusTest, ShowingFocusesTheFirstTabStopWithItsEnterEvents) {
    form->Show();
    EXPECT_EQ(form->ActiveControl(), edA1);
    EXPECT_TRUE(edA1->Focused());
    EXPECT_EQ(Take(), (Entries{"pnlA.Enter", "edA1.Enter"}));
    EXPECT_EQ(Screen().ActiveForm(), form);
    EXPECT_EQ(Screen().ActiveControl(), edA1);
}

TEST_F(FocusTest, MovesRaiseExitsUpToTheCommonParentAndEntersDownToTheControl) {
    form->Show();
    Take();
    struct Move {
        TWinControl* to;
        Entries events;
    };
    const Move moves[] = {
        {edA2, {"edA1.Exit", "edA2.Enter"}},
        {edB2, {"edA2.Exit", "pnlA.Exit", "pnlB.Enter", "pnlInner.Enter", "edB2.Enter"}},
        {edB1, {"edB2.Exit", "pnlInner.Exit", "edB1.Enter"}},
        {btnOk, {"edB1.Exit", "pnlB.Exit", "btnOk.Enter"}},
        {btnOk, {}},
    };
    for (const Move& m : moves) {
        m.to->SetFocus();
        EXPECT_EQ(Take(), m.events) << "to " << m.to->Name();
        EXPECT_TRUE(m.to->Focused());
        EXPECT_EQ(form->ActiveControl(), m.to);
    }
}

TEST_F(FocusTest, TheActiveControlIsTheNewOneWhileTheExitEventsRun) {
    form->Show();
    TWinControl* seen = nullptr;
    struct Probe : TObject {
        TForm* form;
        TWinControl** seen;
        void Exit(TObject*) { *seen = form->ActiveControl(); }
    } probe;
    probe.form = form;
    probe.seen = &seen;
    edA1->OnExit = TNotifyEvent(&probe, &Probe::Exit);
    btnOk->SetFocus();
    EXPECT_EQ(seen, btnOk);
}

// An exit check that keeps the focus (a field holding a bad value) stops the move: no enter
// event reaches the control the user went for; the field is entered again.
TEST_F(FocusTest, AnExitHandlerThatRefocusesStopsTheMove) {
    form->Show();
    struct Validator : TObject {
        TWinControl* field;
        TEventLog* log;
        void Exit(TObject* sender) {
            log->Exit(sender);
            field->SetFocus();
        }
    } validator;
    validator.field = edA1;
    validator.log = log;
    edA1->OnExit = TNotifyEvent(&validator, &Validator::Exit);
    Take();
    edB1->SetFocus();
    EXPECT_EQ(Take(), (Entries{"edA1.Exit", "edA1.Enter"}));
    EXPECT_TRUE(edA1->Focused());
    EXPECT_EQ(form->ActiveControl(), edA1);
    EXPECT_EQ(form->FocusedControl(), edA1);
}

TEST_F(FocusTest, TabFollowsTheTabOrderOverFocusableStops) {
    form->Show();
    edA2->SetEnabled(false);
    edB1->SetTabStop(false);
    Take();
    const TWinControl* expected[] = {edB2, btnOk, edA1, edB2};
    for (const TWinControl* next : expected) {
        TInput::Key(VK_TAB);
        EXPECT_EQ(Screen().FocusedWindow(), next);
    }
    TInput::Key(VK_TAB, {ssShift});
    EXPECT_EQ(Screen().FocusedWindow(), edA1);
    pnlInner->SetVisible(false);
    TInput::Key(VK_TAB);
    EXPECT_EQ(Screen().FocusedWindow(), btnOk) << "a control inside a hidden panel is skipped";
}

TEST_F(FocusTest, HidingOrDisablingTheFocusedControlTakesTheFocusAway) {
    form->Show();
    edA2->SetFocus();
    Take();
    edA2->SetVisible(false);
    EXPECT_EQ(Take(), (Entries{"edA2.Exit", "pnlA.Exit"}));
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_TRUE(form->Focused());

    edB2->SetFocus();
    Take();
    pnlB->SetEnabled(false);
    EXPECT_EQ(Take(), (Entries{"edB2.Exit", "pnlInner.Exit", "pnlB.Exit"}));
    EXPECT_THROW(edB2->SetFocus(), EInvalidOperation);
}

// The controls that go get no exit events; the parents that stay do.
TEST_F(FocusTest, FreeingTheFocusedControlLeavesNoDanglingFocus) {
    form->Show();
    edB2->SetFocus();
    Take();
    pnlInner->Free();
    EXPECT_EQ(Take(), Entries{"pnlB.Exit"});
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_EQ(Screen().FocusedWindow(), form);
    edA1->SetFocus();
    EXPECT_EQ(Take(), (Entries{"pnlA.Enter", "edA1.Enter"}));
    TInput::Key(VK_TAB);
    EXPECT_EQ(Screen().FocusedWindow(), edA2) << "the tab order holds no freed control";
}

TEST_F(FocusTest, AHiddenFormRecordsTheActiveControlAndFocusesItWhenShown) {
    try {
        edB1->SetFocus();
        FAIL() << "a hidden form cannot take the focus";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Cannot focus a disabled or invisible window");
    }
    form->SetActiveControl(edB1);
    EXPECT_TRUE(log->entries.empty());
    form->Show();
    EXPECT_EQ(Take(), (Entries{"pnlB.Enter", "edB1.Enter"}));
    TTestEdit stranger(nullptr);
    EXPECT_THROW(form->SetActiveControl(&stranger), EInvalidOperation);
}

// Focus changes of one form raise no events on another's controls; the forms get their
// activation events instead, and the form is told of every focus change.
TEST_F(FocusTest, AnotherFormTakesTheActivationNotTheControlsEvents) {
    class TWatchedForm : public TForm {
    public:
        using TForm::TForm;
        void WndProc(TMessage& message) override {
            if (message.Msg == CM_FOCUSCHANGED)
                lastFocused = reinterpret_cast<TWinControl*>(message.LParam);
            TForm::WndProc(message);
        }
        TWinControl* lastFocused = nullptr;
    };
    auto* other = NewObject<TWatchedForm>(&Application(), true);
    other->SetName("frmOther");
    auto* edOther = Make<TTestEdit>(*other, *other, "edOther");
    log->Watch(*edOther);
    form->OnActivate = TNotifyEvent(log, &TEventLog::Enter);
    form->OnDeactivate = TNotifyEvent(log, &TEventLog::Exit);
    form->Show();
    Take();
    other->Show();
    EXPECT_EQ(Take(), (Entries{"frmFocus.Exit", "edOther.Enter"}));
    EXPECT_EQ(other->lastFocused, edOther);
    edA2->SetFocus();  // back to the first form
    EXPECT_EQ(Take(), (Entries{"frmFocus.Enter", "edA1.Exit", "edA2.Enter"}));
    EXPECT_FALSE(other->Active());
    other->Show();
    other->Hide();
    EXPECT_EQ(Screen().ActiveForm(), form);
    other->Free();
}

}  // namespace
}  // namespace kv::test
