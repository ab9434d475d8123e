// Speed buttons and bit buttons driven as a user drives them: group rules of speed buttons,
// the picture a glyph shows in each state, the kinds of bit buttons and how they end a modal
// form.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>

#include "platform/ui/Buttons.h"
#include "platform/ui/FormReader.h"
#include "tests/platform/ui/TestControls.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

using Entries = std::vector<std::string>;

// Records what a speed button shows while its handlers run.
class TButtonProbe : public TComponent {
    KV_CLASS(TButtonProbe, TComponent)
public:
    explicit TButtonProbe(TComponent* owner) : TComponent(owner) {}
    void Clicked(TObject* sender) { downInClick.push_back(AsButton(sender).Down()); }
    void Pressed(TObject* sender, TMouseButton, TShiftState, int, int) {
        stateAtMouseDown = AsButton(sender).State();
    }
    // A toggle that refuses to stay down (a failed check raises it again).
    void Refuse(TObject* sender) { AsButton(sender).SetDown(false); }

    std::vector<bool> downInClick;
    TButtonState stateAtMouseDown = bsUp;

private:
    static TSpeedButton& AsButton(TObject* sender) { return *dynamic_cast<TSpeedButton*>(sender); }
};

KV_PUBLISHED(TButtonProbe) {}

class ButtonsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = FixtureForm(MakeForm("frmBtn"));
        log = NewObject<TEventLog>(form);
        probe = NewObject<TButtonProbe>(form);
        panel = Make<TTestPanel>(*form, *form, "pnlTools");
        form->Show();
    }

    TSpeedButton* Speed(TWinControl& parent, const std::string& name, int group) {
        auto* button = Make<TSpeedButton>(*form, parent, name);
        button->SetGroupIndex(group);
        log->Watch(*button);
        return button;
    }

    TForm* form = nullptr;
    TEventLog* log = nullptr;
    TButtonProbe* probe = nullptr;
    TTestPanel* panel = nullptr;
};

std::vector<bool> DownStates(std::initializer_list<const TSpeedButton*> buttons) {
    std::vector<bool> result;
    for (const TSpeedButton* button : buttons)
        result.push_back(button->Down());
    return result;
}

// ---- speed buttons: groups

TEST_F(ButtonsTest, ClickingAGroupButtonPutsItDownAndLiftsTheRestOfItsGroupOnly) {
    auto* left = Speed(*panel, "sbLeft", 1);
    auto* centre = Speed(*panel, "sbCentre", 1);
    auto* bold = Speed(*panel, "sbBold", 2);
    auto* elsewhere = Speed(*form, "sbElsewhere", 1);  // same group, other parent
    bold->SetDown(true);
    elsewhere->SetDown(true);

    Automation().Click("frmBtn.pnlTools.sbLeft");
    EXPECT_EQ(DownStates({left, centre, bold, elsewhere}), (std::vector<bool>{1, 0, 1, 1}));
    Automation().Click("frmBtn.pnlTools.sbCentre");
    EXPECT_EQ(DownStates({left, centre, bold, elsewhere}), (std::vector<bool>{0, 1, 1, 1}));
    Automation().Click("frmBtn.pnlTools.sbCentre");
    EXPECT_TRUE(centre->Down()) << "without AllowAllUp the down button stays down";
    EXPECT_EQ(log->entries, (Entries{"sbLeft.Click", "sbCentre.Click", "sbCentre.Click"}))
        << "every click is reported, also the one that changed nothing";

    left->SetAllowAllUp(true);
    EXPECT_TRUE(centre->AllowAllUp()) << "the group shares AllowAllUp";
    EXPECT_FALSE(elsewhere->AllowAllUp());
    Automation().Click("frmBtn.pnlTools.sbCentre");
    EXPECT_EQ(DownStates({left, centre}), (std::vector<bool>{0, 0}));
}

TEST_F(ButtonsTest, OnClickSeesTheNewDownStateAndMayRaiseAToggleAgain) {
    auto* period = Speed(*form, "btnPeriod", 2);
    period->SetAllowAllUp(true);
    period->OnClick = TNotifyEvent(probe, &TButtonProbe::Clicked);
    Automation().Click("frmBtn.btnPeriod");
    Automation().Click("frmBtn.btnPeriod");
    EXPECT_EQ(probe->downInClick, (std::vector<bool>{true, false}));
    period->OnClick = TNotifyEvent(probe, &TButtonProbe::Refuse);
    Automation().Click("frmBtn.btnPeriod");
    EXPECT_FALSE(period->Down());
}

TEST_F(ButtonsTest, GroupIndexZeroNeverStaysDown) {
    auto* plain = Speed(*form, "sbPlain", 0);
    plain->OnMouseDown = TMouseEvent(probe, &TButtonProbe::Pressed);
    Automation().Click("frmBtn.sbPlain");
    EXPECT_EQ(probe->stateAtMouseDown, bsDown) << "down while the mouse holds it";
    EXPECT_EQ(plain->State(), bsUp);
    EXPECT_EQ(log->entries, Entries{"sbPlain.Click"});
    plain->SetDown(true);
    EXPECT_FALSE(plain->Down());

    auto* grouped = Speed(*form, "sbGrouped", 3);
    grouped->SetDown(true);
    grouped->SetGroupIndex(0);
    EXPECT_FALSE(grouped->Down()) << "leaving the groups raises it";
    EXPECT_EQ(grouped->State(), bsUp);
}

TEST_F(ButtonsTest, DownSetInCodeFollowsTheGroupRule) {
    auto* day = Speed(*panel, "sbDay", 4);
    auto* week = Speed(*panel, "sbWeek", 4);
    day->SetDown(true);
    week->SetDown(true);
    EXPECT_EQ(DownStates({day, week}), (std::vector<bool>{0, 1}));
    week->SetDown(false);
    EXPECT_TRUE(week->Down()) << "the group would be left with none down";
    EXPECT_TRUE(log->entries.empty()) << "a change in code is no click";

    // A down button joining the group, by its index or by its parent, lifts the group's.
    auto* month = Speed(*panel, "sbMonth", 5);
    month->SetDown(true);
    month->SetGroupIndex(4);
    EXPECT_EQ(DownStates({day, week, month}), (std::vector<bool>{0, 0, 1}));
    auto* year = Make<TSpeedButton>(*form, *form, "sbYear");
    year->SetGroupIndex(4);
    year->SetDown(true);
    year->SetParent(panel);
    EXPECT_EQ(DownStates({week, month, year}), (std::vector<bool>{0, 0, 1}));

    week->SetAllowAllUp(true);
    year->SetDown(false);
    EXPECT_FALSE(year->Down());
}

// A described group keeps one button down, the one described last, as the form loads.
class TfrmButtonsDesc : public TForm {
    KV_CLASS(TfrmButtonsDesc, TForm)
public:
    explicit TfrmButtonsDesc(TComponent* owner) : TForm(owner, true) {}
};
KV_PUBLISHED(TfrmButtonsDesc) {}

TEST_F(ButtonsTest, ADescribedGroupLoadsWithOneButtonDown) {
    RegisterClasses({TfrmButtonsDesc::StaticClass()});
    auto* described = NewObject<TfrmButtonsDesc>(&Application());
    ReadComponentDescription(*described,
                             "object frmButtonsDesc: TfrmButtonsDesc\n"
                             "  object sbA: TSpeedButton\n"
                             "    GroupIndex = 1\n"
                             "    Down = True\n"
                             "    Flat = True\n"
                             "    NumGlyphs = 2\n"
                             "  end\n"
                             "  object sbB: TSpeedButton\n"
                             "    AllowAllUp = True\n"
                             "    GroupIndex = 1\n"
                             "    Down = True\n"
                             "  end\n"
                             "end\n",
                             "speed.kvform");
    auto& a = Automation().Find(*described, "sbA");
    auto& b = Automation().Find(*described, "sbB");
    EXPECT_FALSE(dynamic_cast<TSpeedButton&>(a).Down());
    EXPECT_TRUE(dynamic_cast<TSpeedButton&>(b).Down());
    EXPECT_TRUE(dynamic_cast<TSpeedButton&>(a).AllowAllUp());
    EXPECT_TRUE(dynamic_cast<TSpeedButton&>(a).Flat());
    EXPECT_EQ(dynamic_cast<TSpeedButton&>(a).NumGlyphs(), 2);
    EXPECT_EQ(GetPropInfo(&a, "NumGlyphs")->PropType()->Name(), "TNumGlyphs");
    described->Free();
}

// ---- glyphs

// A glyph of count 5 x 5 pictures on a transparent olive ground, picture i marked in the
// middle with kMarks[i].
constexpr std::array<TColor, 4> kMarks = {clRed, clGreen, clBlue, clYellow};
constexpr int kSize = 5;

std::unique_ptr<TBitmap> MakeGlyph(int count) {
    auto glyph = std::make_unique<TBitmap>(count * kSize, kSize);
    glyph->Fill(clOlive);
    for (int i = 0; i < count; ++i)
        glyph->Canvas()->SetPixels(i * kSize + 2, 2, kMarks[static_cast<std::size_t>(i)]);
    return glyph;
}

// The number of the picture the glyph shows in state (kEmbossed: the shape of the first in
// the shadow colour, -1: none of them); checks that the transparent ground is left out.
constexpr int kEmbossed = -2;

int ShownPicture(const TButtonGlyph& glyph, TButtonState state) {
    TBitmap target(kSize, kSize);
    target.Fill(clWhite);
    glyph.Draw(*target.Canvas(), 0, 0, state);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), clWhite) << "the transparent colour is drawn";
    const TColor mark = target.Canvas()->Pixels(2, 2);
    for (std::size_t i = 0; i < kMarks.size(); ++i)
        if (kMarks[i] == mark) return static_cast<int>(i);
    if (mark == ColorToRGB(clBtnShadow)) {
        EXPECT_EQ(target.Canvas()->Pixels(3, 3), ColorToRGB(clBtnHighlight));
        return kEmbossed;
    }
    return -1;
}

TEST_F(ButtonsTest, TheNumberOfGlyphsDecidesWhichPictureEachStateShows) {
    struct Case {
        int numGlyphs;
        int up, disabled, pressed, down;
    };
    const Case cases[] = {
        {1, 0, kEmbossed, 0, 0},
        {2, 0, 1, 0, 0},
        {3, 0, 1, 2, 2},
        {4, 0, 1, 2, 3},
    };
    auto* button = Speed(*form, "sbGlyph", 1);
    button->SetAllowAllUp(true);
    button->OnMouseDown = TMouseEvent(probe, &TButtonProbe::Pressed);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.numGlyphs);
        button->SetGlyph(MakeGlyph(c.numGlyphs).get());
        EXPECT_EQ(button->NumGlyphs(), c.numGlyphs) << "taken from the glyph's shape";
        const TButtonGlyph& pictures = button->ButtonGlyph();
        EXPECT_EQ(ShownPicture(pictures, button->State()), c.up);
        button->SetEnabled(false);
        EXPECT_EQ(ShownPicture(pictures, button->State()), c.disabled);
        button->SetEnabled(true);
        Automation().Click(*button);
        EXPECT_EQ(ShownPicture(pictures, probe->stateAtMouseDown), c.pressed);
        EXPECT_EQ(ShownPicture(pictures, button->State()), c.down);
        Automation().Click(*button);
        ASSERT_FALSE(button->Down());
    }
}

TEST_F(ButtonsTest, NumGlyphsFollowsTheGlyphsShapeAndStaysWithinOneToFour) {
    auto* button = Speed(*form, "sbShape", 0);
    struct Case {
        int width, height, before, after;
    };
    const Case cases[] = {
        {32, 16, 1, 2},                  // two square pictures
        {64, 16, 1, 4}, {80, 16, 3, 1},  // five pictures are no shape a button knows
        {20, 16, 3, 3},                  // no whole multiple: the count set before stays
        {0, 0, 2, 2},                    // an empty glyph
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        button->SetNumGlyphs(c.before);
        TBitmap glyph(c.width, c.height);
        button->SetGlyph(&glyph);
        EXPECT_EQ(button->NumGlyphs(), c.after);
    }
    button->SetNumGlyphs(7);
    EXPECT_EQ(button->NumGlyphs(), 4);
    button->SetNumGlyphs(0);
    EXPECT_EQ(button->NumGlyphs(), 1);
    button->SetGlyph(nullptr);
    EXPECT_TRUE(button->Glyph()->Empty());
}

// What a paint leaves on the canvas: its fills and the colours of its edge lines.
struct Painted {
    int fills = 0;
    std::vector<TColor> edge;
};

Painted Paint(TSpeedButton& button) {
    button.Canvas()->ClearRecords();
    button.Paint();
    Painted result;
    for (const TCanvasRecord& record : button.Canvas()->Records()) {
        if (record.Kind == TCanvasRecord::TKind::FillRect) ++result.fills;
        if (record.Kind == TCanvasRecord::TKind::Line) result.edge.push_back(record.Color);
    }
    return result;
}

TEST_F(ButtonsTest, AFlatButtonShowsAnEdgeOnlyWhileDown) {
    auto* button = Speed(*form, "sbFlat", 1);
    button->SetAllowAllUp(true);
    const std::vector<TColor> raised = {clBtnHighlight, clBtnHighlight, clBtnShadow, clBtnShadow};
    const std::vector<TColor> sunk = {clBtnShadow, clBtnShadow, clBtnHighlight, clBtnHighlight};
    EXPECT_EQ(Paint(*button).edge, raised);
    EXPECT_EQ(Paint(*button).fills, 1);
    button->SetDown(true);
    EXPECT_EQ(Paint(*button).edge, sunk);

    button->SetFlat(true);
    EXPECT_EQ(Paint(*button).edge, sunk);
    button->SetDown(false);
    EXPECT_TRUE(Paint(*button).edge.empty());
    EXPECT_EQ(Paint(*button).fills, 0) << "flat and transparent: the parent shows through";
    button->SetTransparent(false);
    EXPECT_EQ(Paint(*button).fills, 1);
}

// Where a paint puts the glyph and the caption.
struct Placed {
    TPoint glyph, text;
};

Placed Place(TSpeedButton& button) {
    button.Canvas()->ClearRecords();
    button.Paint();
    Placed result;
    for (const TCanvasRecord& record : button.Canvas()->Records()) {
        if (record.Kind == TCanvasRecord::TKind::Draw)
            result.glyph = {record.Rect.Left, record.Rect.Top};
        if (record.Kind == TCanvasRecord::TKind::Text)
            result.text = {record.Rect.Left, record.Rect.Top};
    }
    return result;
}

TEST_F(ButtonsTest, GlyphAndCaptionAreCentredAsAGroupInTheirLayout) {
    auto* button = Speed(*form, "sbLayout", 1);
    button->SetBounds(0, 0, 60, 40);
    button->SetCaption("Go");
    button->SetGlyph(MakeGlyph(1).get());  // 5 x 5
    const TSize text = button->Canvas()->TextExtent("Go");
    const int across =
        (60 - 5 - 4 - text.cx) / 2;  // the group's left, glyph and caption side by side
    const int down = (40 - 5 - 4 - text.cy) / 2;
    struct Case {
        TButtonLayout layout;
        int margin;
        Placed expected;
    };
    const Case cases[] = {
        {blGlyphLeft, -1, {{across, 17}, {across + 9, (40 - text.cy) / 2}}},
        {blGlyphRight, -1, {{across + text.cx + 4, 17}, {across, (40 - text.cy) / 2}}},
        {blGlyphTop, -1, {{27, down}, {(60 - text.cx) / 2, down + 9}}},
        {blGlyphBottom, 3, {{27, 3 + text.cy + 4}, {(60 - text.cx) / 2, 3}}},
        {blGlyphLeft, 0, {{0, 17}, {9, (40 - text.cy) / 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.layout << ", margin " << c.margin);
        button->SetLayout(c.layout);
        button->SetMargin(c.margin);
        const Placed placed = Place(*button);
        EXPECT_EQ(placed.glyph, c.expected.glyph);
        EXPECT_EQ(placed.text, c.expected.text);
        button->SetDown(true);
        const Placed sunk = Place(*button);
        EXPECT_EQ(sunk.glyph, (TPoint{c.expected.glyph.X + 1, c.expected.glyph.Y + 1}));
        button->SetAllowAllUp(true);
        button->SetDown(false);
    }
}

// ---- bit buttons

TEST_F(ButtonsTest, EachKindGivesItsCaptionModalResultRoleAndTwoPictures) {
    struct Case {
        TBitBtnKind kind;
        const char* caption;
        TModalResult result;
        bool isDefault, isCancel;
    };
    const Case cases[] = {
        {bkOK, "OK", mrOk, true, false},
        {bkCancel, "Cancel", mrCancel, false, true},
        {bkYes, "&Yes", mrYes, true, false},
        {bkNo, "&No", mrNo, false, true},
        {bkClose, "&Close", mrNone, false, false},
        {bkHelp, "&Help", mrNone, false, false},
        {bkAbort, "Abort", mrAbort, false, false},
        {bkRetry, "&Retry", mrRetry, false, false},
        {bkIgnore, "&Ignore", mrIgnore, false, false},
        {bkAll, "&All", mrAll, false, false},
    };
    auto* button = Make<TBitBtn>(*form, *form, "bbKind");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        button->SetKind(c.kind);
        EXPECT_EQ(button->Kind(), c.kind);
        EXPECT_EQ(button->Caption(), c.caption);
        EXPECT_EQ(button->ModalResult(), c.result);
        EXPECT_EQ(button->Default(), c.isDefault);
        EXPECT_EQ(button->Cancel(), c.isCancel);
        EXPECT_EQ(button->NumGlyphs(), 2) << "normal and disabled";
        EXPECT_EQ(button->Glyph()->Width(), 2 * button->Glyph()->Height());
        EXPECT_FALSE(button->Glyph()->Empty());
    }
    button->SetEnabled(false);
    EXPECT_EQ(button->ButtonGlyph().PictureRect(button->State()).Left, button->Glyph()->Height());

    button->SetKind(bkCustom);
    EXPECT_EQ(button->Caption(), "&All") << "a custom button keeps what it had";
    EXPECT_EQ(button->ModalResult(), mrAll);
    button->SetKind(bkOK);
    button->SetModalResult(mrYes);
    EXPECT_EQ(button->Kind(), bkCustom) << "it no longer does what an OK button does";
    button->SetKind(bkOK);
    EXPECT_EQ(button->ModalResult(), mrOk);
    TBitmap own(16, 16);
    button->SetGlyph(&own);
    EXPECT_EQ(button->Kind(), bkCustom);
    EXPECT_EQ(button->NumGlyphs(), 1);
}

// Each case runs in the modal loop of a dialog with an edit and four bit buttons.
TEST_F(ButtonsTest, BitButtonsEndAModalFormWithTheirResult) {
    auto* dialog = MakeForm("frmAsk");
    auto* dialogLog = NewObject<TEventLog>(dialog);
    Make<TTestEdit>(*dialog, *dialog, "edValue", 0);
    const std::pair<const char*, TBitBtnKind> kinds[] = {
        {"bbOk", bkOK}, {"bbCancel", bkCancel}, {"bbRetry", bkRetry}, {"bbClose", bkClose}};
    for (const auto& [name, kind] : kinds) {
        auto* button = Make<TBitBtn>(*dialog, *dialog, name);
        button->SetKind(kind);
        button->OnClick = TNotifyEvent(dialogLog, &TEventLog::ClickEvent);
    }
    struct Case {
        const char* what;
        std::function<void()> act;
        TModalResult result;
        Entries clicks;
    };
    auto& a = Automation();
    const Case cases[] = {
        {"click OK", [&] { a.Click("frmAsk.bbOk"); }, mrOk, {"bbOk.Click"}},
        {"click Retry", [&] { a.Click("frmAsk.bbRetry"); }, mrRetry, {"bbRetry.Click"}},
        {"Enter in the edit",
         [&] { a.PressKey("frmAsk.edValue", VK_RETURN); },
         mrOk,
         {"bbOk.Click"}},
        {"Esc in the edit",
         [&] { a.PressKey("frmAsk.edValue", VK_ESCAPE); },
         mrCancel,
         {"bbCancel.Click"}},
        {"Enter on Retry",
         [&] { a.PressKey("frmAsk.bbRetry", VK_RETURN); },
         mrRetry,
         {"bbRetry.Click"}},
        {"Space on Cancel",
         [&] { a.PressKey("frmAsk.bbCancel", VK_SPACE); },
         mrCancel,
         {"bbCancel.Click"}},
        {"click Close", [&] { a.Click("frmAsk.bbClose"); }, mrCancel, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dialogLog->entries.clear();
        a.ClearRecords();
        a.AnswerModal("frmAsk", [&](TCustomForm&) { c.act(); });
        EXPECT_EQ(dialog->ShowModal(), c.result);
        EXPECT_EQ(dialogLog->entries, c.clicks);
        ASSERT_EQ(a.ModalForms().size(), 1U);
        EXPECT_TRUE(a.ModalForms()[0].Scripted) << "the script's action ended the loop";
    }
    dialog->Free();
}

TEST_F(ButtonsTest, ACloseButtonClosesAModelessFormWithoutAClick) {
    auto* close = Make<TBitBtn>(*form, *form, "bbClose");
    close->SetKind(bkClose);
    log->Watch(*close);
    Automation().Click("frmBtn.bbClose");
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(log->entries, Entries{"bbClose.Enter"});
}

TEST_F(ButtonsTest, ADescribedKindKeepsTheDescribedCaption) {
    RegisterClasses({TfrmButtonsDesc::StaticClass()});
    auto* described = NewObject<TfrmButtonsDesc>(&Application());
    ReadComponentDescription(*described,
                             "object frmButtonsDesc: TfrmButtonsDesc\n"
                             "  object BitBtn1: TBitBtn\n"
                             "    Caption = '\xE7\xA1\xAE\xE5\xAE\x9A'\n"
                             "    Kind = bkOK\n"
                             "  end\n"
                             "  object BitBtn2: TBitBtn\n"
                             "    Kind = bkCancel\n"
                             "  end\n"
                             "end\n",
                             "bitbtn.kvform");
    auto& ok = dynamic_cast<TBitBtn&>(Automation().Find(*described, "BitBtn1"));
    auto& cancel = dynamic_cast<TBitBtn&>(Automation().Find(*described, "BitBtn2"));
    EXPECT_EQ(ok.Caption(), "\xE7\xA1\xAE\xE5\xAE\x9A");
    EXPECT_EQ(ok.Kind(), bkOK);
    EXPECT_TRUE(ok.Default());
    EXPECT_EQ(ok.ModalResult(), mrOk);
    EXPECT_EQ(cancel.Caption(), "Cancel");
    EXPECT_TRUE(cancel.Cancel());
    described->Free();
}

}  // namespace
}  // namespace kv::test
