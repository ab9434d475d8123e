// The Buttons unit: speed buttons (TSpeedButton) and bit buttons (TBitBtn), push buttons with a
// picture.
//
// A glyph is one bitmap holding up to four pictures side by side: up, disabled, down and
// "exclusive" (held down in a group). NumGlyphs says how many there are. Setting a glyph whose
// width is a whole multiple (up to 4) of its height sets NumGlyphs to that multiple; setting
// NumGlyphs afterwards overrides it. The glyph's transparent colour is left out when it is
// drawn.
#pragma once

#include <memory>
#include <string>

#include "platform/ui/StdCtrls.h"

namespace kv {

KV_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom);
KV_ENUM(TButtonState, bsUp, bsDisabled, bsDown, bsExclusive);
KV_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry,
        bkIgnore, bkAll);
KV_ENUM(TButtonStyle, bsAutoDetect, bsWin31, bsNew);

// The published type "TNumGlyphs" (1..4) of NumGlyphs.
const TTypeInfo* NumGlyphsTypeInfo();

// The picture of a glyph button and the rules of its pictures.
class TButtonGlyph {
public:
    TButtonGlyph();
    ~TButtonGlyph();

    TBitmap* Glyph() const { return glyph_.get(); }
    // Copies value (null empties the glyph) and takes NumGlyphs from its shape.
    void SetGlyph(const TBitmap* value);
    int NumGlyphs() const { return numGlyphs_; }
    // Kept within 1..4.
    void SetNumGlyphs(int value);
    // The part of the glyph shown in state (a state without its own picture shows the up one;
    // exclusive falls back to down).
    TRect PictureRect(TButtonState state) const;
    // Draws that part at (x, y), leaving out the transparent colour; disabled with one picture,
    // the picture's dark shape embossed in the button's highlight and shadow colours.
    void Draw(TCanvas& canvas, int x, int y, TButtonState state) const;

private:
    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
};

class TSpeedButton : public TGraphicControl {
    KV_CLASS(TSpeedButton, TGraphicControl)
public:
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;

    // With GroupIndex 0 the button never stays down (moving a down button to group 0 raises
    // it). Buttons of one parent with the same GroupIndex are exclusive: one down pushes the
    // others up, also when it joins the group or the parent.
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    // Setting Down on a button of group 0 does nothing; releasing the down button of a group
    // is refused unless AllowAllUp is set.
    bool Down() const { return down_; }
    void SetDown(bool value);
    // Shared by the whole group: setting it on one button sets it on all of them.
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    TBitmap* Glyph() const { return glyph_.Glyph(); }
    void SetGlyph(TBitmap* value);
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return margin_; }
    void SetMargin(int value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    const TButtonGlyph& ButtonGlyph() const { return glyph_; }
    // What the button shows now: disabled, down while the mouse holds it, exclusive while
    // Down, else up.
    TButtonState State() const;
    TCanvas* Canvas() const { return canvas_.get(); }

    void SetParent(TWinControl* parent) override;
    // The user's click: a group button goes down (or up, when down and AllowAllUp), then
    // OnClick.
    void Click() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // A raised edge when up, a sunk one when down (a flat button shows only the sunk one),
    // then the glyph and the caption.
    void Paint() override;

private:
    // Pushes the other buttons of the group up and shares AllowAllUp with them.
    void UpdateExclusive();
    void SetPressed(bool value);
    void PaintEdge(bool sunk);

    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    bool flat_ = false;
    bool pressed_ = false;  // the left mouse button holds it
    TButtonGlyph glyph_;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    bool transparent_ = true;
    std::unique_ptr<TControlCanvas> canvas_;
};

class TBitBtn : public TButton {
    KV_CLASS(TBitBtn, TButton)
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;

    TBitmap* Glyph() const { return glyph_.Glyph(); }
    void SetGlyph(TBitmap* value);
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int value);
    // A kind other than bkCustom gives the button its caption, modal result, default or cancel
    // role and a two-picture glyph. The kind reads bkCustom again once the button no longer
    // matches it (another glyph, modal result or role).
    TBitBtnKind Kind() const;
    void SetKind(TBitBtnKind value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value) { layout_ = value; }
    int Margin() const { return margin_; }
    void SetMargin(int value) { margin_ = std::max(value, -1); }
    int Spacing() const { return spacing_; }
    void SetSpacing(int value) { spacing_ = value; }
    TButtonStyle Style() const { return style_; }
    void SetStyle(TButtonStyle value) { style_ = value; }
    const TButtonGlyph& ButtonGlyph() const { return glyph_; }
    // The picture the button shows: disabled or up.
    TButtonState State() const { return EffectiveEnabled() ? bsUp : bsDisabled; }

    // bkClose closes the form instead of clicking.
    void Click() override;

private:
    TButtonGlyph glyph_;
    TBitBtnKind kind_ = bkCustom;
    bool modifiedGlyph_ = false;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    TButtonStyle style_ = bsAutoDetect;
};

// The two-picture glyph (normal and disabled) of a bit button kind; empty for bkCustom.
std::unique_ptr<TBitmap> BitBtnGlyph(TBitBtnKind kind);

}  // namespace kv
