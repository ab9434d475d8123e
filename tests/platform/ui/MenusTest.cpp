// Menus: the item tree, checked and radio items, enabled and visible, images, shortcuts, popup
// menus and the right click, and choosing items through the automation interface.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "tests/platform/ui/TestControls.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

using Entries = std::vector<std::string>;

// Handlers that do more than log: rebuilding a submenu as it opens, failing.
class TMenuHandlers : public TEventLog {
    KV_CLASS(TMenuHandlers, TEventLog)
public:
    explicit TMenuHandlers(TComponent* owner) : TEventLog(owner) {}
    void Rebuild(TObject* sender) {
        auto* parent = dynamic_cast<TMenuItem*>(sender);
        parent->Clear();
        auto* fresh = NewObject<TMenuItem>(parent->Owner());
        fresh->SetName("mnFresh");
        fresh->OnClick = TNotifyEvent(this, &TEventLog::ClickEvent);
        parent->Add(fresh);
        ClickEvent(sender);
    }
    void Fail(TObject*) { throw std::runtime_error("the handler failed"); }
    void Failed(TObject*, const std::exception& error) { entries.push_back(error.what()); }
};
KV_PUBLISHED(TMenuHandlers) {}

class MenusTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = FixtureForm(MakeForm("frmMenu"));
        log = NewObject<TMenuHandlers>(form);
        mainMenu = NewObject<TMainMenu>(form);
        mainMenu->SetName("mnMain");
        file = Item(mainMenu->Items(), "mnFile", "&File");
        open = Item(file, "mnOpen", "&Open");
        line = Item(file, "mnLine", "-");
        quit = Item(file, "mnQuit", "E&xit");
        form->Show();
    }

    TMenuItem* Item(TMenuItem* parent, const std::string& name, const std::string& caption) {
        auto* item = NewObject<TMenuItem>(form);
        item->SetName(name);
        item->SetCaption(caption);
        item->OnClick = TNotifyEvent(log, &TEventLog::ClickEvent);
        if (parent != nullptr) parent->Add(item);
        return item;
    }

public:  // reached by the case tables
    TForm* form = nullptr;
    TMenuHandlers* log = nullptr;
    TMainMenu* mainMenu = nullptr;
    TMenuItem* file = nullptr;
    TMenuItem* open = nullptr;
    TMenuItem* line = nullptr;
    TMenuItem* quit = nullptr;
};

// ---- the tree

TEST_F(MenusTest, ItemsFormATreeThatRefusesLoopsAndSecondParents) {
    TMenuItem* recent = Item(nullptr, "mnRecent", "Recent");
    file->Insert(1, recent);
    EXPECT_EQ(file->IndexOf(recent), 1);
    EXPECT_EQ(quit->MenuIndex(), 3);
    EXPECT_EQ(recent->GetParentMenu(), mainMenu);
    EXPECT_EQ(recent->GetParentComponent(), file);
    EXPECT_EQ(file->GetParentComponent(), mainMenu) << "a first-level item's parent is the menu";
    EXPECT_THROW(mainMenu->Items()->Add(recent), EMenuError) << "an item has one parent";
    EXPECT_THROW(file->Insert(9, Item(nullptr, "", "x")), EMenuError);
    EXPECT_THROW(file->Items(4), EMenuError);

    TMenuItem* loose = Item(nullptr, "", "loose");
    TMenuItem* below = Item(loose, "", "below");
    EXPECT_THROW(below->Add(loose), EMenuError) << "an item inside its own items";
    EXPECT_THROW(loose->SetParentComponent(below), EMenuError);
    EXPECT_EQ(loose->Parent(), nullptr) << "a refused move leaves the item where it was";
    EXPECT_EQ(loose->GetParentMenu(), nullptr);

    quit->SetMenuIndex(0);
    EXPECT_EQ(file->Items(0), quit);
    EXPECT_EQ(file->Items(1), open);
    file->Delete(0);
    EXPECT_EQ(quit->Parent(), nullptr) << "Delete takes the item out without freeing it";
    EXPECT_EQ(file->Find("OPEN"), open) << "captions found without their & marks";
    EXPECT_EQ(file->Find("&Recent"), recent);
    EXPECT_EQ(file->Find("Exit"), nullptr);

    recent->Free();
    EXPECT_EQ(file->Count(), 2) << "a freed item leaves its parent";
    const int components = form->ComponentCount();
    file->Free();
    EXPECT_EQ(form->ComponentCount(), components - 3) << "an item frees its own items";
    EXPECT_EQ(mainMenu->Items()->Count(), 0);
}

// ---- checked items

TEST_F(MenusTest, RadioItemsOfAGroupUnderOneParentKeepOneChecked) {
    TMenuItem* view = Item(mainMenu->Items(), "mnView", "View");
    std::vector<TMenuItem*> items;
    // Four radio items in group 1, one in group 2, a plain item, and a radio item elsewhere.
    for (const char* caption : {"Large", "Small", "List", "Details", "Wrap", "Bar"})
        items.push_back(Item(view, "", caption));
    for (int i = 0; i < 5; ++i) {
        items[static_cast<std::size_t>(i)]->SetRadioItem(true);
        items[static_cast<std::size_t>(i)]->SetGroupIndex(i < 4 ? 1 : 2);
    }
    open->SetRadioItem(true);
    open->SetGroupIndex(1);
    open->SetChecked(true);
    const auto checks = [&] {
        std::string s;
        for (const TMenuItem* item : items)
            s += item->Checked() ? '1' : '0';
        return s + (open->Checked() ? '1' : '0');
    };
    items[0]->SetChecked(true);
    items[4]->SetChecked(true);
    items[5]->SetChecked(true);
    EXPECT_EQ(checks(), "1000111") << "other groups, plain items and other parents stay";
    items[2]->SetChecked(true);
    EXPECT_EQ(checks(), "0010111");
    items[4]->SetGroupIndex(1);
    EXPECT_EQ(checks(), "0000111") << "a checked item moving into a group wins it";
    items[1]->SetChecked(true);
    items[4]->SetRadioItem(false);
    items[4]->SetChecked(true);
    EXPECT_EQ(checks(), "0100111") << "a plain item leaves the group alone";
    items[4]->SetRadioItem(true);
    EXPECT_EQ(checks(), "0000111") << "becoming a radio item again wins the group";

    TMenuItem* extra = Item(nullptr, "", "Extra");
    extra->SetRadioItem(true);
    extra->SetGroupIndex(1);
    extra->SetChecked(true);
    view->Insert(0, extra);
    EXPECT_EQ(checks(), "0000011") << "a checked radio item inserted wins its group";
}

TEST_F(MenusTest, ClickRaisesOnClickWhenEnabledAndAutoCheckToggles) {
    TMenuItem* wrap = Item(file, "mnWrap", "Wrap");
    TMenuItem* large = Item(file, "mnLarge", "Large");
    wrap->SetAutoCheck(true);
    large->SetAutoCheck(true);
    large->SetRadioItem(true);
    wrap->Click();
    large->Click();
    EXPECT_TRUE(wrap->Checked());
    EXPECT_TRUE(large->Checked());
    wrap->Click();
    large->Click();
    EXPECT_FALSE(wrap->Checked());
    EXPECT_TRUE(large->Checked()) << "a checked radio item stays checked";
    EXPECT_EQ(log->entries,
              (Entries{"mnWrap.Click", "mnLarge.Click", "mnWrap.Click", "mnLarge.Click"}));
    log->entries.clear();
    wrap->SetEnabled(false);
    wrap->Click();
    EXPECT_FALSE(wrap->Checked());
    EXPECT_TRUE(log->entries.empty()) << "a disabled item does nothing";
}

// ---- shortcuts and images

TEST_F(MenusTest, ShortCutsReadAndWriteAsTextAndClickTheirItem) {
    struct Case {
        TShortCut shortCut;
        const char* text;
    };
    const Case cases[] = {
        {static_cast<TShortCut>(scCtrl | 'S'), "Ctrl+S"},
        {static_cast<TShortCut>(scShift | VK_F2), "Shift+F2"},
        {static_cast<TShortCut>(scShift | scCtrl | scAlt | '0'), "Shift+Ctrl+Alt+0"},
        {VK_DELETE, "Del"},
        {VK_F12, "F12"},
        {scNone, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ShortCutToText(c.shortCut), c.text);
        EXPECT_EQ(TextToShortCut(c.text), c.shortCut);
    }
    EXPECT_EQ(TextToShortCut("ctrl+alt+s"), scCtrl | scAlt | 'S');
    EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
    EXPECT_EQ(TextToShortCut("Ctrl+Nope"), scNone);
    EXPECT_EQ(ShortCut('O', {ssCtrl}), scCtrl | 'O');

    open->SetShortCut(ShortCut('O', {ssCtrl}));
    EXPECT_TRUE(mainMenu->IsShortCut('O', {ssCtrl}));
    EXPECT_FALSE(mainMenu->IsShortCut('O', {}));
    file->SetEnabled(false);
    EXPECT_FALSE(mainMenu->IsShortCut('O', {ssCtrl})) << "nor under a disabled item";
    file->SetEnabled(true);
    open->SetVisible(false);
    EXPECT_FALSE(mainMenu->IsShortCut('O', {ssCtrl})) << "a hidden item has no shortcut";
    EXPECT_EQ(log->entries, Entries{"mnOpen.Click"});
}

TEST_F(MenusTest, ItemsTakeTheirImagesFromTheirMenuUntilTheListIsFreed) {
    for (TComponent* owner : {static_cast<TComponent*>(form), static_cast<TComponent*>(nullptr)}) {
        auto* images = NewObject<TImageList>(owner);
        mainMenu->SetImages(images);
        open->SetImageIndex(2);
        EXPECT_EQ(open->GetImageList(), images);
        EXPECT_EQ(Item(nullptr, "", "loose")->GetImageList(), nullptr);
        images->Free();
        EXPECT_EQ(mainMenu->Images(), nullptr) << (owner ? "same owner" : "no owner");
        EXPECT_EQ(open->GetImageList(), nullptr);
    }
}

// ---- popup menus and the right click

class PopupTest : public MenusTest {
protected:
    void SetUp() override {
        MenusTest::SetUp();
        panel = Make<TTestPanel>(*form, *form, "pnlList");
        panel->SetBounds(20, 30, 200, 100);
        edit = Make<TTestEdit>(*form, *panel, "edName");
        edit->SetBounds(5, 6, 80, 20);
        label = Make<TTestLabel>(*form, *panel, "lblName");
        muPanel = Popup("muPanel");
        muEdit = Popup("muEdit");
        panel->SetPopupMenu(muPanel);
        edit->OnMouseDown = TMouseEvent(log, &TEventLog::MouseDownEvent);
        edit->OnMouseUp = TMouseEvent(log, &TEventLog::MouseUpEvent);
        edit->OnClick = TNotifyEvent(log, &TEventLog::ClickEvent);
    }
    TPopupMenu* Popup(const std::string& name) {
        auto* menu = NewObject<TPopupMenu>(form);
        menu->SetName(name);
        menu->OnPopup = TNotifyEvent(log, &TEventLog::Change);  // logged as "name.Change"
        return menu;
    }

    TTestPanel* panel = nullptr;
    TTestEdit* edit = nullptr;
    TTestLabel* label = nullptr;
    TPopupMenu* muPanel = nullptr;
    TPopupMenu* muEdit = nullptr;
};

TEST_F(PopupTest, RightClickShowsTheNearestAutoPopupMenuForItsControl) {
    edit->SetPopupMenu(muEdit);
    muEdit->SetAutoPopup(false);
    Automation().RightClick("frmMenu.pnlList.edName", 3, 4);
    EXPECT_EQ(log->entries, (Entries{"edName.MouseDown", "edName.MouseUp", "muPanel.Change"}))
        << "no click; a menu without AutoPopup is passed over for the parent's";
    EXPECT_EQ(muPanel->PopupComponent(), panel);
    EXPECT_EQ(muPanel->PopupPoint(), edit->ClientToScreen(Point(3, 4)));
    EXPECT_EQ(muEdit->PopupCount(), 0);

    muEdit->SetAutoPopup(true);
    Automation().RightClick(*edit);
    EXPECT_EQ(muEdit->PopupComponent(), edit);
    EXPECT_EQ(muEdit->PopupCount(), 1);
    Automation().RightClick(*label, 2, 2);
    EXPECT_EQ(muPanel->PopupCount(), 2) << "a graphic control's click goes to its parent too";
    EXPECT_EQ(muPanel->PopupPoint(), label->ClientToScreen(Point(2, 2)));

    panel->SetPopupMenu(nullptr);
    log->entries.clear();
    Automation().RightClick(*label);
    EXPECT_TRUE(log->entries.empty()) << "no menu anywhere: nothing pops up";
    muEdit->Free();
    EXPECT_EQ(edit->PopupMenu(), nullptr) << "a freed menu leaves its control";
}

TEST_F(PopupTest, PopupRecordsThePointAndRaisesOnPopup) {
    muPanel->Popup(10, 20);
    muPanel->PopupFor(*edit, 1, 2);
    EXPECT_EQ(log->entries, (Entries{"muPanel.Change", "muPanel.Change"}));
    EXPECT_EQ(muPanel->PopupPoint(), edit->ClientToScreen(Point(1, 2)));
    EXPECT_EQ(muPanel->PopupComponent(), edit);
    edit->Free();
    EXPECT_EQ(muPanel->PopupComponent(), nullptr) << "a freed control is forgotten";
}

TEST_F(PopupTest, RightClickNeedsAControlThatTakesInput) {
    edit->SetEnabled(false);
    EXPECT_THROW(Automation().RightClick(*edit), EAutomationError);
    panel->SetVisible(false);
    EXPECT_THROW(Automation().RightClick(*label), EAutomationError);
    EXPECT_EQ(muPanel->PopupCount(), 0);
}

// ---- choosing items through the automation interface

TEST_F(MenusTest, ClickMenuItemFindsItemsByNameOrCaptionAndOpensTheMenusAbove) {
    Automation().ClickMenuItem("frmMenu.mnMain.mnFile.mnOpen");
    Automation().ClickMenuItem("frmMenu.mnMain.file.OPEN");
    Automation().ClickMenuItem("frmMenu.mnQuit");
    Automation().ClickMenuItem("mnMain.&File");  // in the active form
    EXPECT_EQ(log->entries, (Entries{"mnFile.Click", "mnOpen.Click", "mnFile.Click", "mnOpen.Click",
                                     "mnFile.Click", "mnQuit.Click", "mnFile.Click"}));
    EXPECT_EQ(&Automation().FindMenuItem("frmMenu.mnMain.File.E&xit"), quit);
    EXPECT_EQ(Automation().TryFindMenuItem("frmMenu.mnMain.File.Nope"), nullptr);
    EXPECT_EQ(Automation().TryFindMenuItem("frmMenu.mnMain"), nullptr) << "a menu is no item";
    EXPECT_EQ(Automation().TryFindMenuItem("frmMenu.mnMain..File"), nullptr);
}

TEST_F(MenusTest, ClickMenuItemRefusesWhatTheUserCannotChoose) {
    struct Case {
        const char* path;
        void (*arrange)(MenusTest&);
        const char* reason;
        Entries clicks;  // the menus opened before the item was found unfit
    };
    const Case cases[] = {
        {"frmMenu.mnMain.File.Nope", [](MenusTest&) {}, "No menu item", {}},
        {"frmMenu.mnLine", [](MenusTest&) {}, "it is a separator", {}},
        {"frmMenu.mnQuit",
         [](MenusTest& t) { t.quit->SetVisible(false); },
         "it is hidden",
         {"mnFile.Click"}},
        {"frmMenu.mnOpen",
         [](MenusTest& t) { t.file->SetEnabled(false); },
         "menu item 'mnFile' above it is disabled",
         {}},
        {"frmMenu.mnOpen",
         [](MenusTest& t) { t.file->SetVisible(false); },
         "menu item 'mnFile' above it is hidden",
         {}},
        {"frmMenu.mnOpen", [](MenusTest& t) { t.file->Remove(t.open); }, "it is in no menu", {}},
        {"frmMenu.mnOpen", [](MenusTest& t) { t.form->Hide(); }, "no form that is showing", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        c.arrange(*this);
        try {
            Automation().ClickMenuItem(c.path);
            ADD_FAILURE() << "no error";
        } catch (const EAutomationError& error) {
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
        }
        EXPECT_EQ(log->entries, c.clicks);
        form->Free();
        SetUp();  // a fresh menu for the next case
    }
}

TEST_F(MenusTest, ClickMenuItemRefusesAFormBehindAModalForm) {
    TForm* dialog = MakeForm("frmDialog");
    Automation().AnswerModal("frmDialog", [&](TCustomForm&) {
        EXPECT_THROW(Automation().ClickMenuItem("frmMenu.mnMain.File.Open"), EAutomationError);
    });
    dialog->ShowModal();
    dialog->Free();
    EXPECT_TRUE(log->entries.empty());
}

TEST_F(MenusTest, ClickMenuItemFindsItemsAgainInASubmenuRebuiltAsItOpens) {
    file->OnClick = TNotifyEvent(log, &TMenuHandlers::Rebuild);  // makes a fresh "mnFresh"
    EXPECT_THROW(Automation().ClickMenuItem(*open), EAutomationError) << "gone from the menu";
    Automation().ClickMenuItem("frmMenu.mnMain.File.mnFresh");
    EXPECT_EQ(log->entries, (Entries{"mnFile.Click", "mnFile.Click", "mnFresh.Click"}))
        << "the fresh item is clicked, not the one found before the menu opened";
}

TEST_F(MenusTest, ErrorsOfMenuHandlersGoToTheApplication) {
    TMenuItem* failing = Item(file, "mnFail", "Fail");
    failing->OnClick = TNotifyEvent(log, &TMenuHandlers::Fail);
    Application().OnException = TExceptionEvent(log, &TMenuHandlers::Failed);
    Automation().ClickMenuItem(*failing);
    EXPECT_EQ(log->entries, (Entries{"mnFile.Click", "the handler failed"}))
        << "reported, not raised to the script";
}

}  // namespace
}  // namespace kv::test
