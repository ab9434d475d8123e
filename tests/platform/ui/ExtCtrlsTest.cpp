// Radio groups (items, buttons in columns, ItemIndex, clicks, arrow keys, loading), panels, and
// splitters (dragging resizes the neighbour within MinSize and the room beside it).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/FormReader.h"
#include "tests/platform/ui/TestControls.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

using Entries = std::vector<std::string>;

class TSplitterHandlers : public TEventLog {
    KV_CLASS(TSplitterHandlers, TEventLog)
public:
    explicit TSplitterHandlers(TComponent* owner) : TEventLog(owner) {}
    void CanResize(TObject*, int& newSize, bool& accept) {
        entries.push_back("CanResize(" + std::to_string(newSize) + ")");
        if (newSize > limit) newSize = limit;
        accept = newSize != refuse;
    }
    int limit = 1000;
    int refuse = -1;
};
KV_PUBLISHED(TSplitterHandlers) {}

// ---- radio groups

class RadioGroupTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = FixtureForm(MakeForm("frmExt"));
        form->SetBounds(0, 0, 400, 300);
        log = NewObject<TSplitterHandlers>(form);
        group = Make<TRadioGroup>(*form, *form, "rgSort", 0);
        group->SetBounds(10, 10, 185, 105);
        group->OnClick = TNotifyEvent(log, &TEventLog::ClickEvent);
        edit = Make<TTestEdit>(*form, *form, "edNext", 1);
        form->Show();
    }
    void SetItems(std::initializer_list<const char*> items) {
        group->Items()->Clear();
        for (const char* item : items)
            group->Items()->Add(item);
    }
    std::string Checks() const {
        std::string s;
        for (int i = 0; i < group->ButtonCount(); ++i)
            s += group->Buttons(i)->Checked() ? '1' : '0';
        return s;
    }

    TForm* form = nullptr;
    TSplitterHandlers* log = nullptr;
    TRadioGroup* group = nullptr;
    TTestEdit* edit = nullptr;
};

TEST_F(RadioGroupTest, ButtonsFillColumnsTopToBottomInsideTheGroup) {
    SetItems({"a", "b", "c", "d", "e"});
    group->SetColumns(2);
    ASSERT_EQ(group->ButtonCount(), 5);
    const auto layout = [&] {
        std::vector<TRect> r;
        for (int i = 0; i < group->ButtonCount(); ++i)
            r.push_back(group->Buttons(i)->BoundsRect());
        return r;
    };
    std::vector<TRect> r = layout();
    EXPECT_EQ(r[0].Left, r[2].Left) << "three in the first column";
    EXPECT_LT(r[2].Left, r[3].Left) << "two in the second";
    EXPECT_EQ(r[3].Left, r[4].Left);
    EXPECT_EQ(r[3].Top, r[0].Top);
    EXPECT_EQ(r[1].Top, r[0].Bottom) << "rows follow each other";
    EXPECT_EQ(r[0].Width(), r[3].Width());
    const TRect client = group->ClientRect();
    for (const TRect& b : r) {
        EXPECT_TRUE(b.Left >= client.Left + 8 && b.Right <= client.Right - 2);
        EXPECT_TRUE(b.Top > group->Canvas()->TextHeight("0") && b.Bottom <= client.Bottom - 4)
            << "below the caption, above the frame";
    }
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(group->Buttons(i)->Caption(), std::string(1, static_cast<char>('a' + i)));

    group->SetBounds(10, 10, 305, 205);
    EXPECT_GT(group->Buttons(3)->Left(), r[3].Left) << "a resize arranges them again";
    const int top = group->Buttons(0)->Top();
    group->Font()->SetHeight(-30);
    EXPECT_GT(group->Buttons(0)->Top(), top) << "so does a font change";
    group->SetColumns(0);
    EXPECT_EQ(group->Columns(), 1);
    EXPECT_EQ(group->Buttons(4)->Left(), group->Buttons(0)->Left());
    group->SetColumns(40);
    EXPECT_EQ(group->Columns(), 16);
}

TEST_F(RadioGroupTest, ItemIndexStaysWithinTheItemsAndChecksItsButton) {
    SetItems({"Dept", "Customer"});
    group->SetItemIndex(7);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(Checks(), "01");
    group->SetItemIndex(-5);
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_EQ(Checks(), "00");
    SetItems({"a", "b", "c"});
    group->SetItemIndex(2);
    log->entries.clear();
    group->Items()->Delete(2);
    EXPECT_EQ(group->ItemIndex(), 1) << "the last item removed while checked: the new last";
    EXPECT_EQ(Checks(), "01");
    EXPECT_TRUE(log->entries.empty()) << "updating the buttons is no click";
    group->Buttons(0)->Free();
    EXPECT_EQ(group->ButtonCount(), 1) << "a button freed elsewhere leaves the group";
    group->Items()->Add("d");
    EXPECT_EQ(group->ButtonCount(), 3) << "the items make the buttons again";
    group->Items()->Clear();
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_EQ(group->ButtonCount(), 0);
}

TEST_F(RadioGroupTest, ClickingAButtonSetsItemIndexAndRaisesOnClickOnce) {
    SetItems({"Dept", "Customer", "Date"});
    Automation().Click(*group->Buttons(2));
    EXPECT_EQ(group->ItemIndex(), 2);
    Automation().Click(*group->Buttons(2));
    EXPECT_EQ(log->entries, Entries{"rgSort.Click"}) << "the checked button again is no change";
    Automation().Select("frmExt.rgSort", "Customer");
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(Checks(), "010");
    group->SetItemIndex(0);
    EXPECT_EQ(log->entries, (Entries{"rgSort.Click", "rgSort.Click", "rgSort.Click"}))
        << "the program's change clicks too";

    group->SetEnabled(false);
    EXPECT_FALSE(group->Buttons(1)->Enabled());
    EXPECT_THROW(Automation().Select("frmExt.rgSort", "Date"), EAutomationError);
    group->SetEnabled(true);
    EXPECT_TRUE(group->Buttons(1)->Enabled());
}

TEST_F(RadioGroupTest, ArrowKeysMoveWithinTheGroupAndCheckTheButton) {
    SetItems({"a", "b", "c", "d"});
    Automation().Click(*group->Buttons(0));
    group->Buttons(2)->SetEnabled(false);
    log->entries.clear();
    struct Step {
        Word key;
        int index;  // the button focused and checked after the key
    };
    const Step steps[] = {{VK_DOWN, 1}, {VK_RIGHT, 3}, {VK_DOWN, 0}, {VK_UP, 3}, {VK_LEFT, 1}};
    for (const Step& s : steps) {
        Automation().PressKey(s.key);
        EXPECT_TRUE(group->Buttons(s.index)->Focused()) << s.key;
        EXPECT_EQ(group->ItemIndex(), s.index);
    }
    EXPECT_EQ(Checks(), "0100");
    EXPECT_EQ(log->entries.size(), 5u) << "one click per move";
    EXPECT_FALSE(edit->Focused()) << "the arrows stay inside the group";
}

TEST_F(RadioGroupTest, ADescriptionSetsItemIndexBeforeItemsAndColumns) {
    form->Free();
    auto* loaded = FixtureForm(NewObject<TForm>(&Application(), true));
    ReadComponentDescription(*loaded,
                             "object frmLoaded: TForm\n"
                             "  object rgSort: TRadioGroup\n"
                             "    Width = 185\n"
                             "    Height = 105\n"
                             "    Columns = 2\n"
                             "    ItemIndex = 2\n"
                             "    Items = ( 'a' 'b' 'c' )\n"
                             "  end\n"
                             "end\n",
                             "radio.kvform");
    auto& rg = Automation().FindAs<TRadioGroup>("frmLoaded.rgSort");
    EXPECT_EQ(rg.ItemIndex(), 2);
    ASSERT_EQ(rg.ButtonCount(), 3);
    EXPECT_TRUE(rg.Buttons(2)->Checked());
    EXPECT_LT(rg.Buttons(0)->Left(), rg.Buttons(2)->Left()) << "arranged at the end of loading";
}

// ---- panels

TEST_F(RadioGroupTest, APanelAlignsItsControlsInsideItsBevelsAndAClickOnItLeavesTheFocus) {
    auto* panel = Make<TPanel>(*form, *form, "pnlBottom");
    panel->SetAlign(alBottom);
    panel->SetHeight(43);
    panel->OnClick = TNotifyEvent(log, &TEventLog::ClickEvent);
    auto* inner = Make<TTestEdit>(*form, *panel, "edInner");
    inner->SetAlign(alClient);
    EXPECT_EQ(panel->BoundsRect(), Rect(0, 300 - 43, 400, 300));
    EXPECT_EQ(inner->BoundsRect(), Rect(1, 1, 399, 42)) << "inside the raised bevel";
    panel->SetBorderWidth(2);
    panel->SetBevelInner(bvLowered);
    EXPECT_EQ(inner->BoundsRect(), Rect(4, 4, 396, 39)) << "inside border and both bevels";
    panel->SetBevelOuter(bvNone);
    panel->SetBevelInner(bvNone);
    panel->SetBorderWidth(0);
    EXPECT_EQ(inner->BoundsRect(), Rect(0, 0, 400, 43));
    Automation().Focus(*edit);
    Automation().Click(*panel);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(log->entries, Entries{"pnlBottom.Click"});
    panel->SetVisible(false);
    EXPECT_FALSE(inner->Showing());
    EXPECT_THROW(Automation().Focus(*inner), EAutomationError);
}

// ---- splitters

class SplitterTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = FixtureForm(MakeForm("frmSplit"));
        form->SetBounds(0, 0, 400, 300);
        log = NewObject<TSplitterHandlers>(form);
        form->Show();
    }
    // An aligned panel, the splitter beside it and a client panel filling the rest.
    void Build(TAlign align, int size) {
        side = Make<TTestPanel>(*form, *form, "pnlSide");
        side->SetBounds(0, 0, size, size);
        side->SetAlign(align);
        splitter = NewObject<TSplitter>(form);
        splitter->SetName("Splitter1");
        splitter->SetAlign(align);
        // Placed beyond the panel on its side, 3 pixels thick, as the designer leaves it.
        if (align == alLeft) splitter->SetBounds(size, 0, 3, 100);
        if (align == alRight) splitter->SetBounds(0, 0, 3, 100);
        if (align == alTop) splitter->SetBounds(0, size, 100, 3);
        if (align == alBottom) splitter->SetBounds(0, 0, 100, 3);
        splitter->SetParent(form);
        rest = Make<TTestPanel>(*form, *form, "pnlRest");
        rest->SetAlign(alClient);
        splitter->OnMoved = TNotifyEvent(log, &TEventLog::Change);
    }
    // The user drags the splitter by delta pixels along its axis.
    void Drag(int delta) {
        const bool across = splitter->Align() == alLeft || splitter->Align() == alRight;
        splitter->MouseDown(mbLeft, {ssLeft}, 1, 1);
        splitter->MouseMove({ssLeft}, across ? 1 + delta / 2 : 1, across ? 1 : 1 + delta / 2);
        splitter->MouseUp(mbLeft, {}, across ? 1 + delta : 1, across ? 1 : 1 + delta);
    }
    int SideSize() const {
        return splitter->Align() == alLeft || splitter->Align() == alRight ? side->Width()
                                                                           : side->Height();
    }

    TForm* form = nullptr;
    TSplitterHandlers* log = nullptr;
    TTestPanel* side = nullptr;
    TTestPanel* rest = nullptr;
    TSplitter* splitter = nullptr;
};

TEST_F(SplitterTest, DraggingResizesTheNeighbourOnItsSideWithinMinSizeAndTheRoom) {
    struct Case {
        TAlign align;
        int delta;
        bool autoSnap;
        int size;  // the panel's size after the drag, from 100
    };
    // 400 x 300 client: beside a 100 panel and the 3-pixel splitter the rest keeps MinSize 30.
    const Case cases[] = {
        {alLeft, 40, true, 140},    {alLeft, -60, true, 40},   {alLeft, -80, true, 0},
        {alLeft, -80, false, 30},   {alLeft, 1000, true, 367}, {alRight, -40, true, 140},
        {alRight, 40, false, 60},   {alTop, 25, true, 125},    {alTop, 500, true, 267},
        {alBottom, -50, true, 150}, {alBottom, 90, false, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "align " << c.align << " by " << c.delta);
        Build(c.align, 100);
        EXPECT_EQ(splitter->ResizeControl(), side);
        splitter->SetAutoSnap(c.autoSnap);
        Drag(c.delta);
        EXPECT_EQ(SideSize(), c.size);
        EXPECT_EQ(log->entries, Entries{"Splitter1.Change"}) << "OnMoved once";
        const TRect s = splitter->BoundsRect();
        const TRect p = side->BoundsRect();
        const bool touches =
            (c.align == alLeft && s.Left == p.Right) || (c.align == alRight && s.Right == p.Left) ||
            (c.align == alTop && s.Top == p.Bottom) || (c.align == alBottom && s.Bottom == p.Top);
        EXPECT_TRUE(touches) << "the splitter follows the panel's edge";
        for (TComponent* c2 : {static_cast<TComponent*>(side), static_cast<TComponent*>(rest),
                               static_cast<TComponent*>(splitter)})
            c2->Free();
        log->entries.clear();
    }
}

TEST_F(SplitterTest, ASnappedPanelOpensAgainAndOnCanResizeMayChangeOrRefuse) {
    Build(alLeft, 100);
    Drag(-90);
    ASSERT_EQ(side->Width(), 0);
    Drag(50);
    EXPECT_EQ(side->Width(), 50) << "the closed panel is still the splitter's neighbour";

    splitter->OnCanResize = TCanResizeEvent(log, &TSplitterHandlers::CanResize);
    log->limit = 80;
    log->entries.clear();
    Drag(60);
    EXPECT_EQ(side->Width(), 80);
    log->refuse = 120;
    Drag(40);
    EXPECT_EQ(side->Width(), 80) << "refused";
    Drag(0);
    EXPECT_EQ(log->entries, (Entries{"CanResize(110)", "Splitter1.Change", "CanResize(120)"}))
        << "no OnMoved without a resize; a click without a move does nothing";
}

TEST_F(SplitterTest, WithRsUpdateThePanelFollowsEveryMove) {
    for (TResizeStyle style : {rsPattern, rsUpdate}) {
        Build(alLeft, 100);
        splitter->SetResizeStyle(style);
        // The mouse moves 20 pixels twice; its positions are taken from where the splitter is.
        splitter->MouseDown(mbLeft, {ssLeft}, 1, 1);
        splitter->MouseMove({ssLeft}, 21, 1);
        EXPECT_EQ(side->Width(), style == rsUpdate ? 120 : 100);
        const int atRelease = style == rsUpdate ? 1 : 41;
        splitter->MouseMove({ssLeft}, style == rsUpdate ? 21 : 41, 1);
        splitter->MouseUp(mbLeft, {}, atRelease, 1);
        EXPECT_EQ(side->Width(), 140);
        EXPECT_EQ(log->entries.size(), style == rsUpdate ? 2u : 1u) << "OnMoved per resize";
        for (TComponent* c : {static_cast<TComponent*>(side), static_cast<TComponent*>(rest),
                              static_cast<TComponent*>(splitter)})
            c->Free();
        log->entries.clear();
    }
}

TEST_F(SplitterTest, NoNeighbourNoResize) {
    splitter = NewObject<TSplitter>(form);
    splitter->SetLeft(50);
    splitter->SetAlign(alNone);
    splitter->SetParent(form);
    splitter->OnMoved = TNotifyEvent(log, &TEventLog::Change);
    EXPECT_EQ(splitter->ResizeControl(), nullptr);
    splitter->MoveBy(20);
    EXPECT_TRUE(log->entries.empty());
}

}  // namespace
}  // namespace kv::test
