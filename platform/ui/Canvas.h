// Canvases of the Graphics unit: pens, brushes and TCanvas, the drawing surface of bitmaps and
// of controls that paint themselves.
//
// A bitmap's canvas draws into the bitmap's pixels. A control's canvas (TControlCanvas) has no
// pixels on the headless widgetset: it records what is drawn on it, so tests can check what a
// control painted. Text drawn on any canvas is recorded (pixels of glyphs are not drawn).
//
// Text is measured by the installed widgetset in the canvas's font. On the headless widgetset
// the measure is deterministic: a character in ASCII is half as wide as the font's character
// height (rounded up), any other character (ideographs among them) as wide as the height, and a
// line is the height plus 2 pixels high; the height is -Font.Height (13 when it is 0).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Graphics.h"

namespace kv {

class TBitmap;
class TControl;

KV_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame);
KV_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross,
        bsDiagCross);

class TPen : public TPersistent {
    KV_CLASS(TPen, TPersistent)
public:
    TPen() = default;
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    int Width() const { return width_; }
    void SetWidth(int value);  // at least 1
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle value);
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
};

class TBrush : public TPersistent {
    KV_CLASS(TBrush, TPersistent)
public:
    TBrush() = default;
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle value);
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

// One drawing operation as a canvas recorded it.
struct TCanvasRecord {
    enum class TKind { Text, FillRect, FrameRect, Line, Draw };
    TKind Kind = TKind::Text;
    TRect Rect;              // text: the text's bounds; line: from (Left, Top) to (Right, Bottom)
    std::string Text;        // the text drawn
    TColor Color = clBlack;  // text: font colour; fills: brush colour; frames, lines: pen colour
    TColor Background = clNone;  // text: the brush colour behind it (clNone for bsClear)
    std::string FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
};

class TCanvas : public TPersistent {
    KV_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;

    TFont* Font() const;
    void SetFont(TFont* value) { Font()->Assign(value); }
    TBrush* Brush() const { return brush_.get(); }
    void SetBrush(TBrush* value) { brush_->Assign(value); }
    TPen* Pen() const { return pen_.get(); }
    void SetPen(TPen* value) { pen_->Assign(value); }
    TPoint PenPos() const { return penPos_; }
    void SetPenPos(TPoint value) { penPos_ = value; }

    // Lines in the pen's colour (the end point itself is not drawn, as on the platform).
    void MoveTo(int x, int y) { penPos_ = Point(x, y); }
    void LineTo(int x, int y);
    // The rectangle (right and bottom edges excluded) in the brush's colour.
    void FillRect(const TRect& rect);
    // A one-pixel frame in the brush's colour.
    void FrameRect(const TRect& rect);
    // A frame in the pen's colour filled with the brush (bsClear: frame only).
    void Rectangle(const TRect& rect);
    // Draws bitmap with its top-left corner at (x, y). A transparent bitmap leaves the pixels
    // of its transparent colour out.
    void Draw(int x, int y, const TBitmap* bitmap);
    // Copies sourceRect of source into dest (same size; no stretching).
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);
    // Paints the brush's colour wherever the monochrome mask is black and leaves the pixels
    // where it is white: what the platform's raster operation 0x00E20746 does with a mask
    // drawn in black on white.
    void FillMask(int x, int y, const TBitmap& mask);

    // A pixel; -1 outside the surface or on a canvas without pixels.
    TColor Pixels(int x, int y) const;
    void SetPixels(int x, int y, TColor color);

    int TextWidth(std::string_view text) const;
    int TextHeight(std::string_view text) const;
    TSize TextExtent(std::string_view text) const;
    // Draws one line of text with its top-left corner at (x, y); moves the pen to its end.
    void TextOut(int x, int y, const std::string& text);
    // As TextOut, clipped to rect (the record keeps the clipped bounds).
    void TextRect(const TRect& rect, int x, int y, const std::string& text);

    // The drawing surface: the bitmap's bounds, or for a control its client rectangle.
    virtual TRect ClipRect() const;

    const std::vector<TCanvasRecord>& Records() const { return records_; }
    void ClearRecords() { records_.clear(); }

    TNotifyEvent OnChange;

protected:
    // The pixels drawn on, or null for a canvas that records only.
    virtual TBitmap* Surface() const { return nullptr; }
    // Called before the font is used, so a canvas may follow another font.
    virtual void UpdateFont() const {}
    // The font object itself, without UpdateFont.
    TFont* OwnFont() const { return font_.get(); }
    void Changed();

private:
    void Record(TCanvasRecord record);
    void HorizontalLine(TBitmap& surface, int x1, int x2, int y, TColor color);

    std::unique_ptr<TFont> font_;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TPen> pen_;
    TPoint penPos_;
    std::vector<TCanvasRecord> records_;
};

// The canvas of a control that paints itself: records what is drawn. Its font follows the
// control's font (taken again whenever the control's font changed), so a handler may set the
// canvas's font for one drawing and the control's next font change still reaches it.
class TControlCanvas : public TCanvas {
    KV_CLASS(TControlCanvas, TCanvas)
public:
    explicit TControlCanvas(TControl* control = nullptr);
    ~TControlCanvas() override;

    TControl* Control() const { return control_; }
    void SetControl(TControl* control);
    TRect ClipRect() const override;

protected:
    void UpdateFont() const override;

private:
    TControl* control_ = nullptr;
    mutable std::unique_ptr<TFont> seen_;  // the control's font when the canvas last took it
};

// A one-pixel 3-D edge just inside rect: topLeft on the left and top sides, bottomRight on the
// right and bottom ones (a raised edge is light then dark, a sunk one the other way). The pen
// keeps the second colour.
void Frame3D(TCanvas& canvas, const TRect& rect, TColor topLeft, TColor bottomRight);

}  // namespace kv
