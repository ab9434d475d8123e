// The bitmap check box: behaves as a check box through the automation interface and draws
// the glyph image of its state beside its caption.
#include <gtest/gtest.h>

#include "platform/ui/BtChkBox.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/FormReader.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

class TfrmBitCheck : public TForm {
    KV_CLASS(TfrmBitCheck, TForm)
public:
    explicit TfrmBitCheck(TComponent* owner) : TForm(owner, true) {}
    void chkViewClick(TObject*) { ++clicks; }
    int clicks = 0;
};
KV_PUBLISHED(TfrmBitCheck) {
    b.Method("chkViewClick", &T::chkViewClick);
}

class BitCheckBoxTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form_ = FixtureForm(NewObject<TfrmBitCheck>(&Application()));
        ReadComponentDescription(*form_,
                                 "object frmBitCheck: TfrmBitCheck\n"
                                 "  object chkView: TBitCheckBox\n"
                                 "    Width = 120\n"
                                 "    Height = 17\n"
                                 "    Caption = 'View'\n"
                                 "    Checked = True\n"
                                 "    NumGlyphs = 3\n"
                                 "    OnClick = chkViewClick\n"
                                 "  end\n"
                                 "end\n",
                                 "bitcheck.kvform");
        form_->Show();
        box_ = &Automation().FindAs<TBitCheckBox>("frmBitCheck.chkView");
        form_->clicks = 0;
    }
    TfrmBitCheck* form_ = nullptr;
    TBitCheckBox* box_ = nullptr;
};

TEST_F(BitCheckBoxTest, ClicksSpaceAndCheckStepTheState) {
    EXPECT_TRUE(box_->Checked());
    Automation().Check("frmBitCheck.chkView", false);
    EXPECT_FALSE(box_->Checked());
    Automation().PressKey("frmBitCheck.chkView", VK_SPACE);
    EXPECT_TRUE(box_->Checked());
    EXPECT_EQ(form_->clicks, 2);
    box_->SetAllowGrayed(true);
    Automation().Click("frmBitCheck.chkView");
    EXPECT_EQ(box_->State(), cbGrayed);
    Automation().Click("frmBitCheck.chkView");
    EXPECT_EQ(box_->State(), cbUnchecked);
}

TEST_F(BitCheckBoxTest, DrawsTheGlyphImageOfItsState) {
    TBitmap glyph(39, 13);  // three images: unchecked, checked, grayed
    box_->SetGlyph(&glyph);
    EXPECT_EQ(box_->BoxSize(), (TSize{13, 13}));
    EXPECT_EQ(box_->GlyphRect(), Bounds(13, 0, 13, 13));  // checked
    box_->SetState(cbUnchecked);
    EXPECT_EQ(box_->GlyphRect().Left, 0);
    box_->SetNumGlyphs(2);  // a state without an image of its own shows the first
    box_->SetAllowGrayed(true);
    box_->SetState(cbGrayed);
    EXPECT_EQ(box_->GlyphRect(), Bounds(0, 0, 19, 13));

    box_->Canvas()->ClearRecords();
    box_->Paint();
    const auto& records = box_->Canvas()->Records();
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().Kind, TCanvasRecord::TKind::Text);
    EXPECT_EQ(records.back().Text, "View");
    EXPECT_EQ(records.back().Rect.Left, 19 + box_->Spacing());  // right of the box
}

}  // namespace
}  // namespace kv::test
