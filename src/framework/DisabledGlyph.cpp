// The disabled pictures of glyph buttons (declared in KvForm.h): an embossed grey copy of a
// button's picture, put beside the picture so that the button's second picture is the disabled
// one.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"
#include "src/framework/KvForm.h"

namespace kv {

namespace {

int Brightness(TColor rgb) {
    const auto value = static_cast<std::uint32_t>(rgb);
    return static_cast<int>((value & 0xFFu) + ((value >> 8) & 0xFFu) + ((value >> 16) & 0xFFu));
}

int Clamp(int value, int last) {
    return value < 0 ? 0 : (value > last ? last : value);
}

// A light pixel still belongs to the shape when it borders the transparent area; neighbours
// outside the picture are the nearest pixel inside it.
bool BordersTransparent(const TBitmap& source, int x, int y, TColor transparent) {
    const int lastX = source.Width() - 1;
    const int lastY = source.Height() - 1;
    const int dx[] = {0, 0, -1, 1};
    const int dy[] = {-1, 1, 0, 0};
    for (int i = 0; i < 4; ++i) {
        const TColor n = source.Pixel(Clamp(x + dx[i], lastX), Clamp(y + dy[i], lastY));
        if (ColorToRGB(n) == transparent) return true;
    }
    return false;
}

// The monochrome mask of the shape: black where a pixel belongs to it, white elsewhere. The
// shape is kept apart from the colours, so a transparent colour that is black itself cannot
// turn the whole picture into shape.
std::unique_ptr<TBitmap> ShapeMask(const TBitmap& source, TColor transparent) {
    auto mask = std::make_unique<TBitmap>(source.Width(), source.Height());
    mask->Fill(clWhite);
    for (int y = 0; y < source.Height(); ++y) {
        for (int x = 0; x < source.Width(); ++x) {
            const TColor pixel = ColorToRGB(source.Pixel(x, y));
            if (pixel == transparent) continue;
            if (Brightness(pixel) < 384 || BordersTransparent(source, x, y, transparent))
                mask->SetPixel(x, y, clBlack);
        }
    }
    mask->SetMonochrome(true);
    return mask;
}

struct TFinderEntry {
    std::string className;
    TGlyphButtonFinder finder;
};

std::vector<TFinderEntry>& Finders() {
    static std::vector<TFinderEntry> finders;
    return finders;
}

}  // namespace

std::unique_ptr<TBitmap> MakeDisabledGlyph(TBitmap& source) {
    source.SetPixelFormat(pf24bit);
    const TColor transparent = ColorToRGB(source.TransparentColor()) & 0xFFFFFF;
    const std::unique_ptr<TBitmap> mask = ShapeMask(source, transparent);
    auto result = std::make_unique<TBitmap>(source.Width(), source.Height());
    result->SetPixelFormat(pf24bit);
    result->Fill(clBtnFace);
    TCanvas& canvas = *result->Canvas();
    // Highlight one pixel down and right, shadow on top: the shape looks pressed into the face.
    canvas.Brush()->SetColor(ColorToRGB(clBtnHighlight));
    canvas.FillMask(1, 1, *mask);
    canvas.Brush()->SetColor(ColorToRGB(clBtnShadow));
    canvas.FillMask(0, 0, *mask);
    return result;
}

void AddDisabledGlyph(TBitmap& picture) {
    if (picture.Empty()) return;
    const std::unique_ptr<TBitmap> disabled = MakeDisabledGlyph(picture);
    TBitmap copy;
    copy.Assign(&picture);
    const TColor transparent = picture.TransparentColor();
    const int width = picture.Width();
    picture.SetWidth(width * 2);
    TCanvas& canvas = *picture.Canvas();
    canvas.Brush()->SetColor(transparent);
    canvas.FillRect(Rect(0, 0, picture.Width(), picture.Height()));
    canvas.Draw(0, 0, &copy);
    canvas.Draw(width, 0, disabled.get());
}

void RegisterGlyphButtonFinder(std::string_view className, TGlyphButtonFinder finder) {
    for (TFinderEntry& entry : Finders()) {
        if (SameText(entry.className, className)) {
            entry.finder = std::move(finder);
            return;
        }
    }
    Finders().push_back({std::string(className), std::move(finder)});
}

std::vector<TComponent*> DisabledGlyphButtons(TComponent& component) {
    for (const TFinderEntry& entry : Finders())
        if (component.InheritsFrom(entry.className)) return entry.finder(component);
    if (component.InheritsFrom("TSpeedButton") || component.InheritsFrom("TBitBtn"))
        return {&component};
    return {};
}

bool AddDisabledGlyphToButton(TComponent& button) {
    const TPropInfo* glyphProp = GetPropInfo(&button, "Glyph");
    const TPropInfo* countProp = GetPropInfo(&button, "NumGlyphs");
    if (glyphProp == nullptr || countProp == nullptr || glyphProp->PropType()->Kind() != tkClass ||
        !countProp->PropType()->IsOrdinal())
        return false;
    if (GetOrdProp(&button, countProp) != 1) return false;
    if (auto* glyph = dynamic_cast<TBitmap*>(GetObjectProp(&button, glyphProp))) {
        // Through the property, so that the button hears of its new picture.
        TBitmap doubled;
        doubled.Assign(glyph);
        AddDisabledGlyph(doubled);
        SetObjectProp(&button, glyphProp, &doubled);
    }
    SetOrdProp(&button, countProp, 2);
    return true;
}

}  // namespace kv
