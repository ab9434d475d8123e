#include <gtest/gtest.h>

#include <functional>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "tests/platform/ui/TestControls.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

using Entries = std::vector<std::string>;

// The form's OnKeyDown records what the form looked like when it saw the key, and stops the
// key (Key := 0) when asked to; the controls' key events and the buttons' clicks are logged.
struct TKeyLog : TObject {
    Entries entries;
    bool stop = false;
    std::function<std::string()> state;

    void FormKeyDown(TObject*, Word& key, TShiftState) {
        entries.push_back("form.KeyDown(" + std::to_string(key) + ") at " + state());
        if (stop) key = 0;
    }
    void FormKeyPress(TObject*, char& key) {
        entries.push_back(std::string("form.KeyPress(") + key + ")");
    }
    void KeyDown(TObject* sender, Word& key, TShiftState) {
        entries.push_back(Name(sender) + ".KeyDown(" + std::to_string(key) + ")");
    }
    void KeyPress(TObject* sender, char& key) {
        entries.push_back(Name(sender) + ".KeyPress(" + std::string(1, key) + ")");
    }
    void Click(TObject* sender) { entries.push_back(Name(sender) + ".Click"); }
    static std::string Name(TObject* sender) { return dynamic_cast<TComponent*>(sender)->Name(); }
};

// frmKeys (KeyPreview): ed1, ed2, chk1, chk2, pgc { ts1 { edP1 }, ts2 { edP2 } }, btnOk
// (Default), btnCancel (Cancel).
class KeyPreviewTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = FixtureForm(MakeForm("frmKeys"));
        form->SetKeyPreview(true);
        form->OnKeyDown = TKeyEvent(&log, &TKeyLog::FormKeyDown);
        form->OnKeyPress = TKeyPressEvent(&log, &TKeyLog::FormKeyPress);
        ed1 = Make<TTestEdit>(*form, *form, "ed1");
        ed2 = Make<TTestEdit>(*form, *form, "ed2");
        chk1 = Make<TTestCheck>(*form, *form, "chk1");
        chk2 = Make<TTestCheck>(*form, *form, "chk2");
        pgc = Make<TPageControl>(*form, *form, "pgc");
        ts1 = NewObject<TTabSheet>(form);
        ts1->SetName("ts1");
        ts1->SetPageControl(pgc);
        ts2 = NewObject<TTabSheet>(form);
        ts2->SetName("ts2");
        ts2->SetPageControl(pgc);
        edP1 = Make<TTestEdit>(*form, *ts1, "edP1");
        edP2 = Make<TTestEdit>(*form, *ts2, "edP2");
        btnOk = Make<TButton>(*form, *form, "btnOk");
        btnOk->SetDefault(true);
        btnCancel = Make<TButton>(*form, *form, "btnCancel");
        btnCancel->SetCancel(true);
        for (TWinControl* c : std::vector<TWinControl*>{ed1, ed2, chk1, chk2, edP1, edP2}) {
            c->OnKeyDown = TKeyEvent(&log, &TKeyLog::KeyDown);
            c->OnKeyPress = TKeyPressEvent(&log, &TKeyLog::KeyPress);
        }
        btnOk->OnClick = TNotifyEvent(&log, &TKeyLog::Click);
        btnCancel->OnClick = TNotifyEvent(&log, &TKeyLog::Click);
        log.state = [this] { return State(); };
        form->Show();
    }

    // "focused control/active page".
    std::string State() const {
        const TWinControl* focused = Screen().FocusedWindow();
        return (focused != nullptr ? focused->Name() : "-") + "/" + pgc->ActivePage()->Name();
    }

    TKeyLog log;  // outlives the form
    TForm* form = nullptr;
    TTestEdit *ed1 = nullptr, *ed2 = nullptr, *edP1 = nullptr, *edP2 = nullptr;
    TTestCheck *chk1 = nullptr, *chk2 = nullptr;
    TPageControl* pgc = nullptr;
    TTabSheet *ts1 = nullptr, *ts2 = nullptr;
    TButton *btnOk = nullptr, *btnCancel = nullptr;
};

// The form sees every dialog key before the form, a button or the page control acts on it;
// a form that sets Key to 0 stops the key there.
TEST_F(KeyPreviewTest, TheFormSeesDialogKeysFirstAndMayStopThem) {
    struct Case {
        const char* name;
        TWinControl* from;
        Word key;
        TShiftState shift;
        std::string after;  // the state once the key was handled
        Entries handled;    // what else happened
    };
    const Case cases[] = {
        {"Tab", ed1, VK_TAB, {}, "ed2/ts1", {}},
        {"Shift+Tab", ed2, VK_TAB, {ssShift}, "ed1/ts1", {}},
        {"Right", chk1, VK_RIGHT, {}, "chk2/ts1", {}},
        {"Up", chk2, VK_UP, {}, "chk1/ts1", {}},
        {"Enter", ed1, VK_RETURN, {}, "ed1/ts1", {"btnOk.Click"}},
        {"Esc", ed1, VK_ESCAPE, {}, "ed1/ts1", {"btnCancel.Click"}},
        {"Ctrl+Tab", edP1, VK_TAB, {ssCtrl}, "edP2/ts2", {}},
    };
    for (bool stop : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (stop ? " stopped" : ""));
            pgc->SetActivePage(ts1);
            Automation().Focus(*c.from);
            const std::string before = State();
            log.entries.clear();
            log.stop = stop;
            Automation().PressKey(c.key, c.shift);
            Entries expected = {"form.KeyDown(" + std::to_string(c.key) + ") at " + before};
            if (!stop) expected.insert(expected.end(), c.handled.begin(), c.handled.end());
            EXPECT_EQ(log.entries, expected) << "no KeyDown or character for the control";
            EXPECT_EQ(State(), stop ? before : c.after);
        }
    }
}

TEST_F(KeyPreviewTest, OrdinaryKeysGoToTheFormThenTheControlOnce) {
    Automation().Focus(*ed1);
    Automation().PressKey('A');
    EXPECT_EQ(log.entries, (Entries{"form.KeyDown(65) at ed1/ts1", "ed1.KeyDown(65)",
                                    "form.KeyPress(a)", "ed1.KeyPress(a)"}));
    EXPECT_EQ(ed1->Text(), "a");

    log.entries.clear();
    log.stop = true;
    Automation().PressKey('B');
    EXPECT_EQ(log.entries, Entries{"form.KeyDown(66) at ed1/ts1"});
    EXPECT_EQ(ed1->Text(), "a") << "a stopped key types nothing";
}

TEST_F(KeyPreviewTest, WithoutKeyPreviewTheFormSeesNoKeysOfItsControls) {
    form->SetKeyPreview(false);
    Automation().Focus(*ed1);
    Automation().PressKey('A');
    Automation().PressKey(VK_TAB);
    EXPECT_EQ(State(), "ed2/ts1");
    Automation().Focus(*edP1);
    Automation().PressKey(VK_TAB, {ssCtrl});
    EXPECT_EQ(State(), "edP2/ts2");
    EXPECT_EQ(log.entries, (Entries{"ed1.KeyDown(65)", "ed1.KeyPress(a)"}));
}

}  // namespace
}  // namespace kv::test
