#include "platform/ui/Buttons.h"

#include <algorithm>
#include <array>

namespace kv {

KV_REGISTER_CLASS(TSpeedButton);
KV_REGISTER_CLASS(TBitBtn);

const TTypeInfo* NumGlyphsTypeInfo() {
    return NamedIntegerTypeInfo("TNumGlyphs");
}

namespace {

struct TKindInfo {
    const char* caption;
    TModalResult result;
    TColor color;  // of the kind's picture
};

constexpr std::array<TKindInfo, 11> kKinds = {{
    {"", mrNone, clBlack},
    {"OK", mrOk, clGreen},
    {"Cancel", mrCancel, clRed},
    {"&Help", mrNone, clNavy},
    {"&Yes", mrYes, clGreen},
    {"&No", mrNo, clRed},
    {"&Close", mrNone, clTeal},
    {"Abort", mrAbort, clRed},
    {"&Retry", mrRetry, clGreen},
    {"&Ignore", mrIgnore, clGray},
    {"&All", mrAll, clGreen},
}};

const TKindInfo& KindInfo(TBitBtnKind kind) {
    return kKinds[static_cast<std::size_t>(kind)];
}

bool IsLoading(const TComponent& component) {
    return component.ComponentState().Contains(csLoading);
}

}  // namespace

std::unique_ptr<TBitmap> BitBtnGlyph(TBitBtnKind kind) {
    auto glyph = std::make_unique<TBitmap>();
    if (kind == bkCustom) return glyph;
    constexpr int kSize = 18;
    glyph->SetSize(2 * kSize, kSize);
    glyph->Fill(clOlive);  // the bottom-left pixel: the transparent colour
    // A mark of the kind's colour, its size telling the kinds apart; grey on the disabled half.
    const int inset = 3 + static_cast<int>(kind) % 4;
    TCanvas& canvas = *glyph->Canvas();
    canvas.Brush()->SetColor(KindInfo(kind).color);
    canvas.FillRect(Rect(inset, inset, kSize - inset, kSize - inset));
    canvas.Brush()->SetColor(clGray);
    canvas.FillRect(Rect(kSize + inset, inset, 2 * kSize - inset, kSize - inset));
    return glyph;
}

// ---- TButtonGlyph

TButtonGlyph::TButtonGlyph() : glyph_(std::make_unique<TBitmap>()) {}

TButtonGlyph::~TButtonGlyph() = default;

void TButtonGlyph::SetGlyph(const TBitmap* value) {
    glyph_->Assign(value);
    if (value == nullptr || value->Height() == 0) return;
    if (value->Width() % value->Height() == 0) {
        const int count = value->Width() / value->Height();
        SetNumGlyphs(count > 4 ? 1 : count);
    }
}

void TButtonGlyph::SetNumGlyphs(int value) {
    numGlyphs_ = std::clamp(value, 1, 4);
}

TRect TButtonGlyph::PictureRect(TButtonState state) const {
    int index = 0;
    switch (state) {
        case bsDisabled:
            index = numGlyphs_ > 1 ? 1 : 0;
            break;
        case bsDown:
            index = numGlyphs_ > 2 ? 2 : 0;
            break;
        case bsExclusive:
            index = numGlyphs_ > 3 ? 3 : numGlyphs_ > 2 ? 2 : 0;
            break;
        default:
            break;
    }
    const int width = glyph_->Width() / numGlyphs_;
    return Bounds(index * width, 0, width, glyph_->Height());
}

namespace {

// A glyph of one picture has no disabled picture of its own: the picture's shape (its pixels
// darker than middle grey) is drawn embossed instead, in highlight one pixel down and right and
// in shadow on top, so that a disabled button never looks like an enabled one.
void DrawEmbossed(TCanvas& canvas, int x, int y, const TBitmap& picture) {
    const TColor transparent = picture.TransparentColor();
    TBitmap mask(picture.Width(), picture.Height());
    mask.Fill(clWhite);
    for (int py = 0; py < picture.Height(); ++py) {
        for (int px = 0; px < picture.Width(); ++px) {
            const TColor c = picture.Pixel(px, py);
            const int brightness = (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF);
            if (c != transparent && brightness < 384) mask.SetPixel(px, py, clBlack);
        }
    }
    canvas.Brush()->SetColor(clBtnHighlight);
    canvas.FillMask(x + 1, y + 1, mask);
    canvas.Brush()->SetColor(clBtnShadow);
    canvas.FillMask(x, y, mask);
}

}  // namespace

void TButtonGlyph::Draw(TCanvas& canvas, int x, int y, TButtonState state) const {
    if (glyph_->Empty()) return;
    const TRect part = PictureRect(state);
    TBitmap picture(part.Width(), part.Height());
    picture.Canvas()->CopyRect(Rect(0, 0, part.Width(), part.Height()), *glyph_->Canvas(), part);
    picture.SetTransparentColor(glyph_->TransparentColor());
    if (state == bsDisabled && numGlyphs_ == 1) return DrawEmbossed(canvas, x, y, picture);
    picture.SetTransparent(true);
    canvas.Draw(x, y, &picture);
}

// ---- TSpeedButton

KV_PUBLISHED(TSpeedButton) {
    PublishControlMembers(b, "Align");
    b.Property("AllowAllUp", &T::AllowAllUp, &T::SetAllowAllUp).Default(0);
    PublishControlMembers(b, "Anchors");
    b.Property("GroupIndex", &T::GroupIndex, &T::SetGroupIndex).Default(0);
    b.Property("Down", &T::Down, &T::SetDown).Default(0);
    PublishControlMembers(b, "Caption Enabled");
    b.Property("Flat", &T::Flat, &T::SetFlat).Default(0);
    PublishControlMembers(b, "Font");
    b.Property("Glyph", &T::Glyph, &T::SetGlyph);
    b.Property("Layout", &T::Layout, &T::SetLayout).Default(blGlyphLeft);
    b.Property("Margin", &T::Margin, &T::SetMargin).Default(-1);
    b.Property("NumGlyphs", &T::NumGlyphs, &T::SetNumGlyphs).Type(NumGlyphsTypeInfo()).Default(1);
    PublishControlMembers(b, "ParentFont ParentShowHint PopupMenu ShowHint");
    b.Property("Spacing", &T::Spacing, &T::SetSpacing).Default(4);
    b.Property("Transparent", &T::Transparent, &T::SetTransparent).Default(1);
    PublishControlMembers(b, "Visible OnClick OnDblClick OnMouseDown OnMouseMove OnMouseUp");
}

TSpeedButton::TSpeedButton(TComponent* owner)
    : TGraphicControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {
    SetBounds(0, 0, 23, 22);
    SetColor(clBtnFace);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetGroupIndex(int value) {
    if (groupIndex_ == value) return;
    groupIndex_ = value;
    if (value == 0 && down_) {
        down_ = false;
        Invalidate();
    }
    UpdateExclusive();
}

void TSpeedButton::SetDown(bool value) {
    if (groupIndex_ == 0) value = false;
    if (value == down_) return;
    if (down_ && !allowAllUp_) return;
    down_ = value;
    Invalidate();
    if (value) UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool value) {
    if (allowAllUp_ == value) return;
    allowAllUp_ = value;
    UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
    if (groupIndex_ == 0 || Parent() == nullptr) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (other == nullptr || other == this || other->groupIndex_ != groupIndex_) continue;
        if (down_ && other->down_) {
            other->down_ = false;
            other->Invalidate();
        }
        other->allowAllUp_ = allowAllUp_;
    }
}

void TSpeedButton::SetFlat(bool value) {
    if (flat_ == value) return;
    flat_ = value;
    Invalidate();
}

void TSpeedButton::SetGlyph(TBitmap* value) {
    glyph_.SetGlyph(value);
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int value) {
    glyph_.SetNumGlyphs(value);
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout value) {
    layout_ = value;
    Invalidate();
}

void TSpeedButton::SetMargin(int value) {
    margin_ = std::max(value, -1);
    Invalidate();
}

void TSpeedButton::SetSpacing(int value) {
    spacing_ = value;
    Invalidate();
}

void TSpeedButton::SetTransparent(bool value) {
    transparent_ = value;
    Invalidate();
}

TButtonState TSpeedButton::State() const {
    if (!EffectiveEnabled()) return bsDisabled;
    if (pressed_) return bsDown;
    return down_ ? bsExclusive : bsUp;
}

void TSpeedButton::SetParent(TWinControl* parent) {
    TGraphicControl::SetParent(parent);
    if (down_) UpdateExclusive();
}

void TSpeedButton::SetPressed(bool value) {
    if (pressed_ == value) return;
    pressed_ = value;
    Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && EffectiveEnabled()) SetPressed(true);
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) SetPressed(false);
    TGraphicControl::MouseUp(button, shift, x, y);
}

// The button comes up before the click is reported, so OnClick sees the new Down state.
void TSpeedButton::Click() {
    SetPressed(false);
    if (groupIndex_ != 0) {
        if (!down_) {
            SetDown(true);
        } else if (allowAllUp_) {
            SetDown(false);
        }
    }
    TGraphicControl::Click();
}

void TSpeedButton::PaintEdge(bool sunk) {
    if (flat_ && !sunk) return;
    Frame3D(*canvas_, ClientRect(), sunk ? clBtnShadow : clBtnHighlight,
            sunk ? clBtnHighlight : clBtnShadow);
}

// The glyph and the caption are centred as a group (glyph left of the caption by default);
// a sunk button shows them one pixel down and right.
void TSpeedButton::Paint() {
    const TButtonState state = State();
    const bool sunk = state == bsDown || state == bsExclusive;
    if (!transparent_ || !flat_) {
        canvas_->Brush()->SetStyle(bsSolid);  // the caption of the last paint left it clear
        canvas_->Brush()->SetColor(Color());
        canvas_->FillRect(ClientRect());
    }
    PaintEdge(sunk);
    const TRect picture = glyph_.PictureRect(state);
    const std::string caption = Caption();
    const TSize text = caption.empty() ? TSize{} : canvas_->TextExtent(caption);
    const int gap = caption.empty() || picture.Width() == 0 ? 0 : spacing_;
    const bool horizontal = layout_ == blGlyphLeft || layout_ == blGlyphRight;
    const bool glyphFirst = layout_ == blGlyphLeft || layout_ == blGlyphTop;
    const int glyphSize = horizontal ? picture.Width() : picture.Height();
    const int textSize = horizontal ? text.cx : text.cy;
    const int start = margin_ >= 0
                          ? margin_
                          : ((horizontal ? Width() : Height()) - glyphSize - gap - textSize) / 2;
    const int glyphAt = glyphFirst ? start : start + textSize + gap;
    const int textAt = glyphFirst ? start + glyphSize + gap : start;
    TPoint glyph{(Width() - picture.Width()) / 2, (Height() - picture.Height()) / 2};
    TPoint label{(Width() - text.cx) / 2, (Height() - text.cy) / 2};
    (horizontal ? glyph.X : glyph.Y) = glyphAt;
    (horizontal ? label.X : label.Y) = textAt;
    const int offset = sunk ? 1 : 0;
    glyph_.Draw(*canvas_, glyph.X + offset, glyph.Y + offset, state);
    if (!caption.empty()) {
        canvas_->Brush()->SetStyle(bsClear);
        canvas_->TextOut(label.X + offset, label.Y + offset, caption);
    }
}

// ---- TBitBtn

KV_PUBLISHED(TBitBtn) {
    b.Property("Glyph", &T::Glyph, &T::SetGlyph);
    b.Property("Kind", &T::Kind, &T::SetKind).Default(bkCustom);
    b.Property("Layout", &T::Layout, &T::SetLayout).Default(blGlyphLeft);
    b.Property("Margin", &T::Margin, &T::SetMargin).Default(-1);
    b.Property("NumGlyphs", &T::NumGlyphs, &T::SetNumGlyphs).Type(NumGlyphsTypeInfo()).Default(1);
    b.Property("Spacing", &T::Spacing, &T::SetSpacing).Default(4);
    b.Property("Style", &T::Style, &T::SetStyle).Default(bsAutoDetect);
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

TBitBtn::~TBitBtn() = default;

void TBitBtn::SetGlyph(TBitmap* value) {
    glyph_.SetGlyph(value);
    modifiedGlyph_ = true;
    Invalidate();
}

void TBitBtn::SetNumGlyphs(int value) {
    glyph_.SetNumGlyphs(value);
    Invalidate();
}

TBitBtnKind TBitBtn::Kind() const {
    if (kind_ == bkCustom) return bkCustom;
    const bool wantsDefault = kind_ == bkOK || kind_ == bkYes;
    const bool wantsCancel = kind_ == bkCancel || kind_ == bkNo;
    if (wantsDefault != Default() || wantsCancel != Cancel() ||
        ModalResult() != KindInfo(kind_).result || modifiedGlyph_)
        return bkCustom;
    return kind_;
}

void TBitBtn::SetKind(TBitBtnKind value) {
    if (value == Kind()) return;
    kind_ = value;
    if (value == bkCustom) return;
    SetDefault(value == bkOK || value == bkYes);
    SetCancel(value == bkCancel || value == bkNo);
    // A description that names a caption keeps it.
    if (!IsLoading(*this) || Caption().empty()) SetCaption(KindInfo(value).caption);
    SetModalResult(KindInfo(value).result);
    glyph_.SetGlyph(BitBtnGlyph(value).get());
    glyph_.SetNumGlyphs(2);
    modifiedGlyph_ = false;
    Invalidate();
}

void TBitBtn::Click() {
    if (Kind() == bkClose) {
        if (TCustomForm* form = GetParentForm(this)) {
            form->Close();
            return;
        }
    }
    TButton::Click();
}

}  // namespace kv
