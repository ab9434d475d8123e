#include <gtest/gtest.h>

#include <functional>

#include "platform/ui/ComCtrls.h"
#include "tests/platform/ui/TestControls.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

using Entries = std::vector<std::string>;

// Logs the page control's change events and the sheets' OnShow/OnHide; answers OnChanging with
// allow.
struct TPageLog : TObject {
    Entries entries;
    bool allow = true;
    TPageControl* pages = nullptr;
    std::string activeSeen;  // the active page's caption when a sheet's OnShow last ran

    void Add(TObject* sender, const std::string& what) {
        entries.push_back(dynamic_cast<TComponent*>(sender)->Name() + "." + what);
    }
    void Changing(TObject* sender, bool& allowChange) {
        Add(sender, "Changing");
        allowChange = allow;
    }
    void Change(TObject* sender) { Add(sender, "Change"); }
    void Show(TObject* sender) {
        Add(sender, "Show");
        activeSeen = pages->ActivePage() != nullptr ? pages->ActivePage()->Caption() : "";
    }
    void Hide(TObject* sender) { Add(sender, "Hide"); }
};

// frmPages: edTop, pgc { ts1 "&One" { ed1a, ed1b }, ts2 "&Two" { ed2a, ed2b (tab order 0) },
// ts3 "T&hree" { ed3a } }, edBottom.
class PageControlTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = FixtureForm(MakeForm("frmPages"));
        edTop = Make<TTestEdit>(*form, *form, "edTop");
        pgc = Make<TPageControl>(*form, *form, "pgc");
        log.pages = pgc;
        pgc->OnChanging = TTabChangingEvent(&log, &TPageLog::Changing);
        pgc->OnChange = TNotifyEvent(&log, &TPageLog::Change);
        ts1 = AddSheet("ts1", "&One");
        ts2 = AddSheet("ts2", "&Two");
        ts3 = AddSheet("ts3", "T&hree");
        ed1a = Make<TTestEdit>(*form, *ts1, "ed1a");
        ed1b = Make<TTestEdit>(*form, *ts1, "ed1b");
        ed2a = Make<TTestEdit>(*form, *ts2, "ed2a");
        ed2b = Make<TTestEdit>(*form, *ts2, "ed2b", 0);
        ed3a = Make<TTestEdit>(*form, *ts3, "ed3a");
        edBottom = Make<TTestEdit>(*form, *form, "edBottom");
    }

    TTabSheet* AddSheet(const std::string& name, const std::string& caption) {
        auto* sheet = NewObject<TTabSheet>(form);
        sheet->SetName(name);
        sheet->SetCaption(caption);
        sheet->SetPageControl(pgc);
        sheet->OnShow = TNotifyEvent(&log, &TPageLog::Show);
        sheet->OnHide = TNotifyEvent(&log, &TPageLog::Hide);
        return sheet;
    }

    // Shows the form with the focus in ed1a and forgets the events so far.
    void ShowAtFirstPage() {
        form->Show();
        Automation().Focus(*ed1a);
        Take();
    }

    Entries Take() { return std::exchange(log.entries, {}); }

    TPageLog log;  // outlives the form
    TForm* form = nullptr;
    TPageControl* pgc = nullptr;
    TTabSheet *ts1 = nullptr, *ts2 = nullptr, *ts3 = nullptr;
    TTestEdit *edTop = nullptr, *edBottom = nullptr;
    TTestEdit *ed1a = nullptr, *ed1b = nullptr, *ed2a = nullptr, *ed2b = nullptr, *ed3a = nullptr;
};

TEST_F(PageControlTest, ProgramChangesMovePagesWithoutChangeEvents) {
    EXPECT_EQ(pgc->PageCount(), 3);
    EXPECT_EQ(pgc->ActivePage(), ts1) << "the first page added is active";
    ShowAtFirstPage();

    pgc->SetActivePageIndex(2);
    EXPECT_EQ(pgc->ActivePage(), ts3);
    EXPECT_EQ(pgc->TabIndex(), 2);
    EXPECT_EQ(Take(), (Entries{"ts3.Show", "ts1.Hide"}));
    EXPECT_TRUE(ts3->Visible());
    EXPECT_FALSE(ts1->Visible());

    pgc->SetActivePage(ts2);
    EXPECT_EQ(pgc->ActivePageIndex(), 1);
    EXPECT_EQ(Take(), (Entries{"ts2.Show", "ts3.Hide"}));

    TPageControl* other = Make<TPageControl>(*form, *form, "pgcOther");
    auto* foreign = NewObject<TTabSheet>(form);
    foreign->SetPageControl(other);
    pgc->SetActivePage(foreign);
    EXPECT_EQ(pgc->ActivePage(), ts2) << "a sheet of another page control is ignored";

    ts3->SetPageIndex(0);
    EXPECT_EQ(pgc->Pages(0), ts3);
    EXPECT_EQ(pgc->Pages(2), ts2);
    EXPECT_EQ(ts1->PageIndex(), 1);
    EXPECT_EQ(pgc->ActivePageIndex(), 2);
    EXPECT_EQ(pgc->TabCaption(0), "T&hree");
    EXPECT_THROW(pgc->Pages(3), EListError);
    EXPECT_THROW(pgc->Pages(-1), EListError);
    EXPECT_TRUE(Take().empty());
}

// Every way the user turns the page asks OnChanging first; a refusal keeps the page, its focus
// and its sheets as they were, without OnChange.
TEST_F(PageControlTest, UserChangesAskOnChangingAndRaiseOnChangeAfter) {
    struct Way {
        const char* name;
        std::function<void()> turn;
    };
    const Way ways[] = {
        {"tab by caption", [&] { Automation().Select(*pgc, "Two"); }},
        {"tab by index", [&] { Automation().SelectIndex(*pgc, 1); }},
        {"Ctrl+Tab", [&] { Automation().PressKey(VK_TAB, {ssCtrl}); }},
        {"SelectNextPage", [&] { pgc->SelectNextPage(true); }},
    };
    for (bool allow : {true, false}) {
        for (const Way& way : ways) {
            SCOPED_TRACE(std::string(way.name) + (allow ? " allowed" : " refused"));
            pgc->SetActivePage(ts1);
            ShowAtFirstPage();
            log.allow = allow;
            way.turn();
            if (allow) {
                EXPECT_EQ(pgc->ActivePage(), ts2);
                EXPECT_EQ(Take(), (Entries{"pgc.Changing", "ts2.Show", "ts1.Hide", "pgc.Change"}));
                EXPECT_EQ(log.activeSeen, "&Two") << "OnShow sees the new active page";
            } else {
                EXPECT_EQ(pgc->ActivePage(), ts1);
                EXPECT_EQ(Take(), (Entries{"pgc.Changing"}));
                EXPECT_TRUE(ts1->Showing());
                EXPECT_FALSE(ts2->Showing());
            }
            log.allow = true;
            form->Hide();
        }
    }
}

TEST_F(PageControlTest, TheFocusFollowsIntoTheNewPage) {
    ShowAtFirstPage();
    Automation().Focus(*ed1b);
    Automation().PressKey(VK_TAB, {ssCtrl});
    EXPECT_EQ(Screen().FocusedWindow(), ed2b) << "the first control in tab order";

    ed3a->SetEnabled(false);
    auto* ed3b = Make<TTestEdit>(*form, *ts3, "ed3b");
    Automation().PressKey(VK_TAB, {ssCtrl});
    EXPECT_EQ(pgc->ActivePage(), ts3);
    EXPECT_EQ(Screen().FocusedWindow(), ed3b) << "a disabled control is passed over";

    // Picking a tab focuses the page control itself; Ctrl+Tab then still turns the page.
    Automation().Select(*pgc, "One");
    EXPECT_EQ(Screen().FocusedWindow(), pgc);
    Automation().PressKey(VK_TAB, {ssCtrl, ssShift});
    EXPECT_EQ(pgc->ActivePage(), ts3);
    EXPECT_EQ(Screen().FocusedWindow(), pgc);

    // Outside the page control Ctrl+Tab turns nothing.
    Automation().Focus(*edTop);
    Automation().PressKey(VK_TAB, {ssCtrl});
    EXPECT_EQ(pgc->ActivePage(), ts3);
    EXPECT_EQ(Screen().FocusedWindow(), edTop);
}

// An exit check that keeps the focus on its control keeps the page too.
TEST_F(PageControlTest, AnExitCheckThatKeepsTheFocusKeepsThePage) {
    struct Check : TObject {
        TTestEdit* edit = nullptr;
        void Exit(TObject*) { edit->SetFocus(); }
    } check;
    check.edit = ed1a;
    ShowAtFirstPage();
    ed1a->OnExit = TNotifyEvent(&check, &Check::Exit);
    Automation().PressKey(VK_TAB, {ssCtrl});
    EXPECT_EQ(pgc->ActivePage(), ts1);
    EXPECT_EQ(Screen().FocusedWindow(), ed1a);
    EXPECT_EQ(Take(), (Entries{"pgc.Changing"}));
    ed1a->OnExit = TNotifyEvent();
}

TEST_F(PageControlTest, HiddenTabsAreSkippedEverywhere) {
    ts2->SetTabVisible(false);
    ShowAtFirstPage();
    EXPECT_EQ(pgc->TabCount(), 2);
    EXPECT_EQ(pgc->TabCaption(1), "T&hree");
    EXPECT_EQ(pgc->PageForTab(1), ts3);
    EXPECT_EQ(ts2->TabIndex(), -1);
    EXPECT_EQ(ts3->TabIndex(), 1);
    EXPECT_EQ(pgc->TabRect(2), TRect{});

    struct Turn {
        std::function<void()> turn;
        TTabSheet* to;
    };
    const Turn turns[] = {
        {[] { Automation().PressKey(VK_TAB, {ssCtrl}); }, ts3},
        {[] { Automation().PressKey(VK_TAB, {ssCtrl}); }, ts1},  // wraps
        {[] {
             Automation().PressKey(VK_TAB, {ssCtrl, ssShift});
         },
         ts3},
        {[] {
             Automation().PressKey(VK_TAB, {ssCtrl, ssShift});
         },
         ts1},
        {[&] { pgc->SelectNextPage(false); }, ts3},
        {[&] { pgc->SelectNextPage(true); }, ts1},
        {[&] { Automation().SelectIndex(*pgc, 1); }, ts3},
        {[&] { pgc->SelectNextPage(false, false); }, ts2},  // hidden tabs counted on request
    };
    for (std::size_t i = 0; i < std::size(turns); ++i) {
        turns[i].turn();
        EXPECT_EQ(pgc->ActivePage(), turns[i].to) << "turn " << i;
    }
    pgc->SetActivePage(ts1);
    EXPECT_THROW(Automation().Select(*pgc, "Two"), EAutomationError);
    EXPECT_THROW(Automation().SelectIndex(*pgc, 2), EAutomationError);
    EXPECT_EQ(pgc->ActivePage(), ts1);
}

TEST_F(PageControlTest, HidingTheActiveTabShowsTheNextTabWithoutChangeEvents) {
    ShowAtFirstPage();
    ts1->SetTabVisible(false);
    EXPECT_EQ(pgc->ActivePage(), ts2) << "the page now at the same tab position";
    EXPECT_EQ(Take(), (Entries{"ts2.Show", "ts1.Hide"}));
    EXPECT_EQ(Screen().FocusedWindow(), ed2b);

    pgc->SetActivePage(ts3);
    ts3->SetTabVisible(false);
    EXPECT_EQ(pgc->ActivePage(), ts2) << "the last tab's page when no tab follows";
    ts2->SetTabVisible(false);
    EXPECT_EQ(pgc->ActivePage(), nullptr);
    EXPECT_EQ(pgc->TabIndex(), -1);
    EXPECT_FALSE(ts2->Showing());
    EXPECT_EQ(Screen().FocusedWindow(), pgc);
}

TEST_F(PageControlTest, FreeingTheActivePageActivatesTheNextTab) {
    ts2->SetTabVisible(false);
    ShowAtFirstPage();
    ts1->Free();
    EXPECT_EQ(pgc->PageCount(), 2);
    EXPECT_EQ(pgc->ActivePage(), ts3) << "the next page with a visible tab";
    EXPECT_EQ(Take(), (Entries{"ts3.Show", "ts1.Hide"}));
    EXPECT_EQ(Screen().FocusedWindow(), ed3a) << "the focus left the freed page";
    ts3->Free();
    EXPECT_EQ(pgc->ActivePage(), nullptr) << "no page with a visible tab is left";
    EXPECT_EQ(pgc->Pages(0), ts2);
}

// Only the active page's controls take the focus, by Tab or otherwise.
TEST_F(PageControlTest, ControlsOnHiddenPagesTakeNoFocus) {
    ShowAtFirstPage();
    EXPECT_FALSE(ed2a->CanFocus());
    EXPECT_THROW(Automation().Focus(*ed2a), EAutomationError);
    EXPECT_THROW(ed3a->SetFocus(), EInvalidOperation);
    EXPECT_EQ(Screen().FocusedWindow(), ed1a);

    Automation().Focus(*edTop);
    const TWinControl* order[] = {pgc, ed1a, ed1b, edBottom, edTop};
    for (const TWinControl* next : order) {
        Automation().PressKey(VK_TAB);
        EXPECT_EQ(Screen().FocusedWindow(), next) << "Tab to " << next->Name();
    }
    Automation().PressKey(VK_TAB, {ssShift});
    EXPECT_EQ(Screen().FocusedWindow(), edBottom);
    Automation().PressKey(VK_TAB, {ssShift});
    EXPECT_EQ(Screen().FocusedWindow(), ed1b);
}

TEST_F(PageControlTest, SheetsShowAndHideWithTheForm) {
    pgc->SetActivePage(ts2);  // while the form is hidden: no sheet shows
    EXPECT_TRUE(Take().empty());
    struct FormShow : TObject {
        TPageLog* log;
        void Show(TObject*) { log->entries.push_back("form.Show"); }
    } formShow;
    formShow.log = &log;
    form->OnShow = TNotifyEvent(&formShow, &FormShow::Show);
    form->Show();
    EXPECT_EQ(Take(), (Entries{"form.Show", "ts2.Show"}));
    EXPECT_EQ(log.activeSeen, "&Two");
    form->Hide();
    EXPECT_EQ(Take(), (Entries{"ts2.Hide"}));
    form->Show();
    EXPECT_EQ(Take(), (Entries{"form.Show", "ts2.Show"}));

    // A page control on a sheet: its active sheet goes and comes with the outer sheet.
    auto* inner = Make<TPageControl>(*form, *ts2, "pgcInner");
    auto* tsInner = NewObject<TTabSheet>(form);
    tsInner->SetName("tsInner");
    tsInner->OnShow = TNotifyEvent(&log, &TPageLog::Show);
    tsInner->OnHide = TNotifyEvent(&log, &TPageLog::Hide);
    tsInner->SetPageControl(inner);
    EXPECT_EQ(Take(), (Entries{"tsInner.Show"}));
    pgc->SetActivePage(ts3);
    EXPECT_EQ(Take(), (Entries{"ts3.Show", "ts2.Hide", "tsInner.Hide"}));
    pgc->SetActivePage(ts2);
    EXPECT_EQ(Take(), (Entries{"ts2.Show", "tsInner.Show", "ts3.Hide"}));
    form->OnShow = TNotifyEvent();
}

}  // namespace
}  // namespace kv::test
