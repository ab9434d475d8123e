#include "platform/ui/Graphics.h"

#include <array>
#include <cmath>

#include "platform/core/SysUtils.h"

namespace kv {

namespace {

// The classic palette the system colours resolve to (0x00BBGGRR), by system colour index.
constexpr std::array<TColor, 25> kSystemPalette = {
    0xC8C8C8,  // scroll bar
    0x808000,  // background
    0x800000,  // active caption
    0x808080,  // inactive caption
    0xC0C0C0,  // menu
    0xFFFFFF,  // window
    0x000000,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0xFFFFFF,  // caption text
    0xC0C0C0,  // active border
    0xC0C0C0,  // inactive border
    0x808080,  // application work space
    0x800000,  // highlight
    0xFFFFFF,  // highlight text
    0xC0C0C0,  // button face
    0x808080,  // button shadow
    0x808080,  // grey text
    0x000000,  // button text
    0xC0C0C0,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x000000,  // 3D dark shadow
    0xDFDFDF,  // 3D light
    0x000000,  // info text
    0xE1FFFF,  // info background
};

constexpr TIdentMapEntry kColors[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
};

}  // namespace

TColor ColorToRGB(TColor color) {
    if ((color & clSystemColor) != 0) {
        const int index = color & 0xFF;
        if (index < static_cast<int>(kSystemPalette.size()))
            return kSystemPalette[static_cast<std::size_t>(index)];
        return clBlack;
    }
    return color & 0xFFFFFF;
}

bool ColorToIdent(int color, std::string& ident) {
    return IntToIdent(color, ident, kColors);
}

bool IdentToColor(std::string_view ident, int& color) {
    return IdentToInt(ident, color, kColors);
}

const TTypeInfo* ColorTypeInfo() {
    static const TTypeInfo* type = [] {
        const TTypeInfo* t = NamedIntegerTypeInfo("TColor");
        RegisterIntegerConsts(t, &IdentToColor, &ColorToIdent);
        return t;
    }();
    return type;
}

KV_PUBLISHED(TFont) {
    b.Property("Charset", &T::Charset, &T::SetCharset).Type(NamedIntegerTypeInfo("TFontCharset"));
    b.Property("Color", &T::Color, &T::SetColor).Type(ColorTypeInfo());
    b.Property("Height", &T::Height, &T::SetHeight);
    b.Property("Name", &T::Name, &T::SetName);
    b.Property("Pitch", &T::Pitch, &T::SetPitch).Default(fpDefault);
    b.Property("Size", &T::Size, &T::SetSize).Stored(false);
    b.Property("Style", &T::Style, &T::SetStyle);
}

TFont::TFont() = default;

void TFont::SetName(const std::string& name) {
    if (name_ == name) return;
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height_ == height) return;
    height_ = height;
    Changed();
}

// Points from the character height: Size = -Height * 72 / 96, rounded.
int TFont::Size() const {
    return static_cast<int>(std::lround(-height_ * 72.0 / kScreenPixelsPerInch));
}

void TFont::SetSize(int size) {
    SetHeight(
        -static_cast<int>(std::lround(size * static_cast<double>(kScreenPixelsPerInch) / 72.0)));
}

void TFont::SetCharset(int charset) {
    if (charset < 0 || charset > 255)
        throw ERangeError("Font character set " + IntToStr(charset) + " out of range");
    if (charset_ == charset) return;
    charset_ = charset;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style_ == style) return;
    style_ = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color_ == color) return;
    color_ = color;
    Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
    if (pitch_ == pitch) return;
    pitch_ = pitch;
    Changed();
}

bool TFont::Equals(const TFont& other) const {
    return name_ == other.name_ && height_ == other.height_ && charset_ == other.charset_ &&
           style_ == other.style_ && color_ == other.color_ && pitch_ == other.pitch_;
}

void TFont::Assign(const TPersistent* source) {
    const auto* font = dynamic_cast<const TFont*>(source);
    if (font == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    if (Equals(*font)) return;
    name_ = font->name_;
    height_ = font->height_;
    charset_ = font->charset_;
    style_ = font->style_;
    color_ = font->color_;
    pitch_ = font->pitch_;
    Changed();
}

void TFont::Changed() {
    OnChange(this);
}

}  // namespace kv
