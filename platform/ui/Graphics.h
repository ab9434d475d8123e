// The Graphics unit: colours, points and rectangles, and fonts.
//
// TColor is the platform's colour: 0x00BBGGRR for an RGB colour, or a system colour (the
// clSystemColor bit plus an index) that ColorToRGB resolves. Fonts are persistent objects
// with published Name, Height, Size, Charset, Style, Color and Pitch and an OnChange event
// that controls use to follow font changes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/Classes.h"

namespace kv {

using TColor = std::int32_t;

constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor SystemColor(int index) {
    return clSystemColor | index;
}

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);

// The RGB value of a colour: system colours resolve to the classic palette of the platform.
TColor ColorToRGB(TColor color);
// Colour identifiers as form descriptions write them ("clRed", "clBtnFace"); other values
// read and write as numbers. The type "TColor" is registered with these at load time.
bool ColorToIdent(int color, std::string& ident);
bool IdentToColor(std::string_view ident, int& color);
// The published type of colour properties: b.Property(...).Type(ColorTypeInfo()).
const TTypeInfo* ColorTypeInfo();

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(TPoint p) const {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(int x, int y) {
    return TPoint{x, y};
}
constexpr TRect Rect(int left, int top, int right, int bottom) {
    return TRect{left, top, right, bottom};
}
constexpr TRect Bounds(int left, int top, int width, int height) {
    return TRect{left, top, left + width, top + height};
}

// Character sets of fonts.
using TFontCharset = std::uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset GB2312_CHARSET = 134;
constexpr TFontCharset CHINESEBIG5_CHARSET = 136;

KV_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut);
KV_SET(TFontStyles, TFontStyle);
KV_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed);

// The screen's resolution that font sizes in points are converted with.
constexpr int kScreenPixelsPerInch = 96;

// A font. Height is in pixels: negative for the character height (what the platform's
// designers write), positive for the cell height. Size is in points (Height converted at 96
// pixels per inch). Every change calls OnChange, once per property set or Assign.
class TFont : public TPersistent {
    KV_CLASS(TFont, TPersistent)
public:
    // "MS Sans Serif", height -11 (8 points), DEFAULT_CHARSET, window-text colour, no styles.
    TFont();

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    int Height() const { return height_; }
    void SetHeight(int height);
    int Size() const;
    void SetSize(int size);
    int Charset() const { return charset_; }
    void SetCharset(int charset);  // 0..255, else ERangeError
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);

    // Same name, height, charset, style, colour and pitch.
    bool Equals(const TFont& other) const;
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    int charset_ = DEFAULT_CHARSET;
    TFontStyles style_;
    TColor color_ = clWindowText;
    TFontPitch pitch_ = fpDefault;
};

}  // namespace kv

// Pens, brushes, canvases and bitmaps belong to the Graphics unit too.
#include "platform/ui/Canvas.h"
#include "platform/ui/Bitmap.h"
