#include <gtest/gtest.h>

#include "platform/core/TypInfo.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/FormReader.h"
#include "platform/ui/ImgList.h"
#include "tests/platform/ui/TestControls.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

using Entries = std::vector<std::string>;
using Kind = TCanvasRecord::TKind;

// Logs "name.Click(down)" or "name.Click(up)": what OnClick sees.
struct TClickLog : TObject {
    Entries entries;
    void Click(TObject* sender) {
        auto* button = dynamic_cast<TToolButton*>(sender);
        entries.push_back(button->Name() + (button->Down() ? ".Click(down)" : ".Click(up)"));
    }
};

std::vector<TRect> RecordsOf(const TCanvas& canvas, Kind kind) {
    std::vector<TRect> rects;
    for (const TCanvasRecord& r : canvas.Records())
        if (r.Kind == kind) rects.push_back(r.Rect);
    return rects;
}

// frmBars: ToolBar1 (100 wide, buttons 25 x 24, not aligned) at the top of the form.
class ToolBarTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = FixtureForm(MakeForm("frmBars"));
        form->SetBounds(0, 0, 400, 300);
        bar = Make<TToolBar>(*form, *form, "ToolBar1");
        bar->SetAlign(alNone);
        bar->SetBounds(0, 0, 100, 60);
        bar->SetButtonWidth(25);
        bar->SetButtonHeight(24);
    }

    TToolButton* Button(const std::string& name, TToolButtonStyle style = tbsButton,
                        bool grouped = false) {
        auto* button = Make<TToolButton>(*form, *bar, name);
        button->SetStyle(style);
        button->SetGrouped(grouped);
        button->OnClick = TNotifyEvent(&clicks, &TClickLog::Click);
        return button;
    }

    // "name@x,y+width" of every visible button in the bar's order.
    Entries Places() const {
        Entries places;
        for (int i = 0; i < bar->ButtonCount(); ++i) {
            const TToolButton* b = bar->Buttons(i);
            if (!b->Visible()) continue;
            EXPECT_EQ(b->Height(), bar->ButtonHeight());
            places.push_back(b->Name() + "@" + std::to_string(b->Left()) + "," +
                             std::to_string(b->Top()) + "+" + std::to_string(b->Width()));
        }
        return places;
    }

    TClickLog clicks;  // outlives the form
    TForm* form = nullptr;
    TToolBar* bar = nullptr;
};

TEST_F(ToolBarTest, ButtonsGoFromTheLeftAndWrapIntoRows) {
    TToolButton* b1 = Button("b1");
    TToolButton* b2 = Button("b2");
    Button("sep", tbsSeparator);
    Button("b3");
    EXPECT_EQ(Places(), (Entries{"b1@0,0+25", "b2@25,0+25", "sep@50,0+8", "b3@58,0+25"}));
    EXPECT_EQ(b2->Index(), 1);

    TToolButton* b4 = Button("b4");
    EXPECT_EQ(Places().back(), "b4@0,24+25") << "no room left in the first row";
    bar->SetWrapable(false);
    EXPECT_EQ(Places().back(), "b4@83,0+25") << "one row past the edge";
    bar->SetWrapable(true);
    bar->SetWidth(120);
    EXPECT_EQ(Places().back(), "b4@83,0+25") << "a wider bar takes it back";

    b1->SetWrap(true);
    EXPECT_EQ(Places(),
              (Entries{"b1@0,0+25", "b2@0,24+25", "sep@25,24+8", "b3@33,24+25", "b4@58,24+25"}));
    b1->SetWrap(false);
    b2->SetVisible(false);
    bar->SetIndent(4);
    EXPECT_EQ(Places(), (Entries{"b1@4,0+25", "sep@29,0+8", "b3@37,0+25", "b4@62,0+25"}));
    b4->Free();
    EXPECT_EQ(bar->ButtonCount(), 4);
    EXPECT_THROW(bar->Buttons(4), EListError);

    // A button wider than the bar still gets a row of its own.
    bar->SetShowCaptions(true);
    b1->SetCaption("A long caption here");
    EXPECT_EQ(Places().front(), "b1@4,0+" + std::to_string(b1->Width()));
    EXPECT_GT(b1->Width(), 100);
    EXPECT_EQ(Places()[1].substr(0, 8), "sep@4,24");
}

TEST_F(ToolBarTest, ClicksFollowTheStyleAndTheGroup) {
    TToolButton* plain = Button("plain");
    TToolButton* check = Button("check", tbsCheck);
    TToolButton* g1 = Button("g1", tbsCheck, true);
    TToolButton* g2 = Button("g2", tbsCheck, true);
    TToolButton* g3 = Button("g3", tbsCheck, true);
    TToolButton* sep = Button("sep", tbsSeparator);
    TToolButton* g4 = Button("g4", tbsCheck, true);  // the separator starts another group
    form->Show();

    struct Step {
        TToolButton* click;
        const char* event;  // empty: no OnClick
        std::vector<TToolButton*> down;
    };
    const Step steps[] = {
        {plain, "plain.Click(up)", {}},
        {check, "check.Click(down)", {check}},
        {check, "check.Click(up)", {}},
        {g1, "g1.Click(down)", {g1}},
        {g2, "g2.Click(down)", {g2}},
        {g2, "g2.Click(down)", {g2}},  // stays down: the group does not allow all up
        {g4, "g4.Click(down)", {g2, g4}},
        {sep, "", {g2, g4}},
    };
    const std::vector<TToolButton*> all = {plain, check, g1, g2, g3, sep, g4};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.click->Name());
        clicks.entries.clear();
        Automation().Click(*step.click);
        EXPECT_EQ(clicks.entries, step.event[0] != 0 ? Entries{step.event} : Entries{});
        for (TToolButton* b : all) {
            const bool down = std::find(step.down.begin(), step.down.end(), b) != step.down.end();
            EXPECT_EQ(b->Down(), down) << b->Name();
        }
    }

    g3->SetDown(true);
    EXPECT_FALSE(g2->Down()) << "Down set by the program keeps the group rule";
    g3->SetAllowAllUp(true);
    Automation().Click(*g3);
    EXPECT_FALSE(g3->Down());

    clicks.entries.clear();
    plain->SetEnabled(false);
    EXPECT_THROW(Automation().Click(*plain), EAutomationError);
    EXPECT_TRUE(clicks.entries.empty());
}

TEST_F(ToolBarTest, ButtonsPaintTheToolBarsImage) {
    auto* images = NewObject<TImageList>(form);
    images->SetWidth(16);
    images->SetHeight(16);
    TBitmap strip(48, 16);
    images->Add(&strip, nullptr);
    ASSERT_EQ(images->Count(), 3);
    TToolButton* button = Button("btnOpen");
    button->SetImageIndex(2);
    auto paint = [&] {
        button->Canvas()->ClearRecords();
        button->Paint();
    };

    paint();
    EXPECT_TRUE(RecordsOf(*button->Canvas(), Kind::Draw).empty()) << "no images on the bar";
    bar->SetImages(images);
    bar->SetFlat(true);
    paint();
    EXPECT_EQ(RecordsOf(*button->Canvas(), Kind::Draw), std::vector<TRect>{Bounds(4, 4, 16, 16)});
    EXPECT_TRUE(RecordsOf(*button->Canvas(), Kind::Line).empty()) << "a flat button is bare";

    button->SetStyle(tbsCheck);
    button->SetDown(true);
    paint();
    EXPECT_EQ(RecordsOf(*button->Canvas(), Kind::Draw), std::vector<TRect>{Bounds(5, 5, 16, 16)});
    EXPECT_FALSE(RecordsOf(*button->Canvas(), Kind::Line).empty()) << "down: a sunk edge";

    bar->SetShowCaptions(true);
    button->SetCaption("Open");
    paint();
    ASSERT_FALSE(RecordsOf(*button->Canvas(), Kind::Text).empty());
    EXPECT_GT(RecordsOf(*button->Canvas(), Kind::Text)[0].Top,
              RecordsOf(*button->Canvas(), Kind::Draw)[0].Bottom)
        << "the caption goes under the image";

    for (int index : {-1, 3}) {
        button->SetImageIndex(index);
        paint();
        EXPECT_TRUE(RecordsOf(*button->Canvas(), Kind::Draw).empty()) << index;
    }
    button->SetImageIndex(0);
    images->Free();
    EXPECT_EQ(bar->Images(), nullptr);
    paint();
    EXPECT_TRUE(RecordsOf(*button->Canvas(), Kind::Draw).empty());
}

class StatusBarTest : public UiTest {};

TEST_F(StatusBarTest, PanelsSimplePanelAndTheirDescription) {
    TForm* form = MakeForm("frmStatus");
    ReadComponentDescription(*form,
                             "object frmStatus: TForm\n"
                             "  object sbMain: TStatusBar\n"
                             "    Panels = <\n"
                             "      item\n"
                             "        Text = 'Ready'\n"
                             "        Width = 80\n"
                             "      end\n"
                             "      item\n"
                             "        Alignment = taRightJustify\n"
                             "        Text = 'Line 1'\n"
                             "        Width = 100\n"
                             "      end\n"
                             "      item\n"
                             "      end>\n"
                             "    SimpleText = 'Busy'\n"
                             "  end\n"
                             "end\n",
                             "status.kvform");
    auto& bar = Automation().FindAs<TStatusBar>("frmStatus.sbMain");
    bar.SetAlign(alNone);
    bar.SetBounds(0, 0, 300, 19);
    const TPropInfo* panelsProp = GetPropInfo(&bar, "Panels");
    ASSERT_NE(panelsProp, nullptr);
    EXPECT_EQ(panelsProp->PropType()->Name(), "TStatusPanels");
    TStatusPanels& panels = *bar.Panels();
    ASSERT_EQ(panels.Count(), 3);
    EXPECT_EQ(panels.Items(0)->Text(), "Ready");
    EXPECT_EQ(panels.Items(1)->Width(), 100);
    EXPECT_EQ(panels.Items(2)->Width(), 50);
    EXPECT_THROW(panels.Items(3), EListError);

    EXPECT_EQ(bar.PanelRect(0), Rect(0, 0, 80, 19));
    EXPECT_EQ(bar.PanelRect(1), Rect(80, 0, 180, 19));
    EXPECT_EQ(bar.PanelRect(2), Rect(180, 0, 300, 19)) << "the last panel reaches the edge";
    EXPECT_EQ(bar.PanelRect(3), TRect{});

    panels.Items(2)->SetText("Saved");
    bar.Canvas()->ClearRecords();
    bar.PaintPanels();
    Entries texts;
    for (const TCanvasRecord& r : bar.Canvas()->Records())
        if (r.Kind == Kind::Text) texts.push_back(r.Text + "@" + std::to_string(r.Rect.Left));
    const int lineWidth = bar.Canvas()->TextWidth("Line 1");
    EXPECT_EQ(texts,
              (Entries{"Ready@2", "Line 1@" + std::to_string(178 - lineWidth), "Saved@182"}));

    bar.SetSimplePanel(true);
    bar.Canvas()->ClearRecords();
    bar.PaintPanels();
    ASSERT_EQ(RecordsOf(*bar.Canvas(), Kind::Text).size(), 1U);
    EXPECT_EQ(bar.Canvas()->Records().back().Text, "Busy");
    bar.SetSimpleText("Done");
    EXPECT_EQ(bar.SimpleText(), "Done");
    form->Free();
}

}  // namespace
}  // namespace kv::test
