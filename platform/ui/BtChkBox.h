// The bitmap check box of the suite's grid pack (TBitCheckBox): a check box that draws its
// box from a bitmap (Glyph, NumGlyphs images side by side: unchecked, checked, grayed) beside
// its caption. It behaves as the standard check box: a click or Space steps the state,
// Checked and State are published, OnClick follows every change of state.
#pragma once

#include <memory>

#include "platform/ui/Bitmap.h"
#include "platform/ui/StdCtrls.h"

namespace kv {

class TControlCanvas;

class TBitCheckBox : public TCustomCheckBox {
    KV_CLASS(TBitCheckBox, TCustomCheckBox)
public:
    explicit TBitCheckBox(TComponent* owner);
    ~TBitCheckBox() override;

    // The box images; empty draws the standard box (13 x 13).
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* value);
    // How many images the glyph holds, 1 to 3 (a state without its own image shows the first).
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    // Pixels between the box and the caption.
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    // Where the box's image is taken from the glyph for the current state.
    TRect GlyphRect() const;
    // The box's size: a glyph image's, else the standard box's.
    TSize BoxSize() const;
    TCanvas* Canvas() const;
    // Draws the box image, then the caption beside it (on the side Alignment says): what a
    // backend calls when it paints the control.
    virtual void Paint();

private:
    void GlyphChanged(TObject* sender);

    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
    int spacing_ = 4;
    std::unique_ptr<TControlCanvas> canvas_;
};

}  // namespace kv
