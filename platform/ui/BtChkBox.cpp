#include "platform/ui/BtChkBox.h"

#include <algorithm>

#include "platform/ui/Canvas.h"

namespace kv {

KV_PUBLISHED(TBitCheckBox) {
    PublishControlMembers(b, "Align");
    b.Property("Alignment", &T::Alignment, &T::SetAlignment)
        .Type(LeftRightTypeInfo())
        .Default(taRightJustify);
    b.Property("AllowGrayed", &T::AllowGrayed, &T::SetAllowGrayed).Default(0);
    PublishControlMembers(b, "Anchors Caption");
    b.Property("Checked", &T::Checked, &T::SetChecked).Default(0);
    PublishControlMembers(b, "Color Enabled Font");
    b.Property("Glyph", &T::Glyph, &T::SetGlyph);
    b.Property("NumGlyphs", &T::NumGlyphs, &T::SetNumGlyphs).Default(1);
    PublishControlMembers(b, "ParentColor ParentFont ParentShowHint PopupMenu ShowHint");
    b.Property("Spacing", &T::Spacing, &T::SetSpacing).Default(4);
    b.Property("State", &T::State, &T::SetState).Default(cbUnchecked);
    PublishControlMembers(b, "TabOrder TabStop Visible");
    PublishControlMembers(b,
                          "OnClick OnDblClick OnEnter OnExit OnKeyDown OnKeyPress OnKeyUp "
                          "OnMouseDown OnMouseMove OnMouseUp");
}
KV_REGISTER_CLASS(TBitCheckBox);

namespace {
constexpr int kStandardBox = 13;
}

TBitCheckBox::TBitCheckBox(TComponent* owner)
    : TCustomCheckBox(owner),
      glyph_(std::make_unique<TBitmap>()),
      canvas_(std::make_unique<TControlCanvas>(this)) {
    glyph_->OnChange = TNotifyEvent(this, &TBitCheckBox::GlyphChanged);
}

TBitCheckBox::~TBitCheckBox() = default;

void TBitCheckBox::SetGlyph(TBitmap* value) {
    glyph_->Assign(value);
}

void TBitCheckBox::GlyphChanged(TObject*) {
    Invalidate();
}

void TBitCheckBox::SetNumGlyphs(int value) {
    numGlyphs_ = std::clamp(value, 1, 3);
    Invalidate();
}

void TBitCheckBox::SetSpacing(int value) {
    spacing_ = std::max(value, 0);
    Invalidate();
}

TCanvas* TBitCheckBox::Canvas() const {
    return canvas_.get();
}

TSize TBitCheckBox::BoxSize() const {
    if (glyph_->Empty()) return {kStandardBox, kStandardBox};
    return {glyph_->Width() / numGlyphs_, glyph_->Height()};
}

TRect TBitCheckBox::GlyphRect() const {
    if (glyph_->Empty()) return {};
    const int width = glyph_->Width() / numGlyphs_;
    const int image = static_cast<int>(State()) < numGlyphs_ ? static_cast<int>(State()) : 0;
    return Bounds(image * width, 0, width, glyph_->Height());
}

void TBitCheckBox::Paint() {
    TCanvas& canvas = *canvas_;
    const TSize box = BoxSize();
    const int textWidth = canvas.TextWidth(Caption());
    // The caption stands right of the box unless Alignment puts it on the left.
    const bool textLeft = Alignment() == taLeftJustify;
    const int boxLeft = textLeft ? std::max(0, Width() - box.cx) : 0;
    const int boxTop = std::max(0, (Height() - box.cy) / 2);
    const TRect boxRect = Bounds(boxLeft, boxTop, box.cx, box.cy);
    if (glyph_->Empty()) {
        canvas.Brush()->SetColor(clWindow);
        canvas.Rectangle(boxRect);
    } else {
        canvas.CopyRect(boxRect, *glyph_->Canvas(), GlyphRect());
    }
    const int textLeftEdge = textLeft ? boxLeft - spacing_ - textWidth : box.cx + spacing_;
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextOut(textLeftEdge, std::max(0, (Height() - canvas.TextHeight(Caption())) / 2),
                   Caption());
}

}  // namespace kv
