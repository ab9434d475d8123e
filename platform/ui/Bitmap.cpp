#include "platform/ui/Bitmap.h"

#include <algorithm>

#include "platform/core/SysUtils.h"

namespace kv {

namespace {

// The canvas of a bitmap draws into its pixels.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}

protected:
    TBitmap* Surface() const override { return &bitmap_; }

private:
    TBitmap& bitmap_;
};

}  // namespace

KV_PUBLISHED(TBitmap) {
    b.Property("Height", &T::Height, &T::SetHeight);
    b.Property("Monochrome", &T::Monochrome, &T::SetMonochrome).Default(0);
    b.Property("PixelFormat", &T::PixelFormat, &T::SetPixelFormat).Stored(false);
    b.Property("Transparent", &T::Transparent, &T::SetTransparent).Default(0);
    b.Property("TransparentColor", &T::TransparentColor, &T::SetTransparentColor)
        .Type(ColorTypeInfo())
        .Stored(false);
    b.Property("TransparentMode", &T::TransparentMode, &T::SetTransparentMode).Default(tmAuto);
    b.Property("Width", &T::Width, &T::SetWidth);
}

TBitmap::TBitmap() : canvas_(std::make_unique<TBitmapCanvas>(*this)) {}

TBitmap::TBitmap(int width, int height) : TBitmap() {
    SetSize(width, height);
}

TBitmap::~TBitmap() = default;

void TBitmap::Changed() {
    OnChange(this);
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    if (static_cast<std::int64_t>(width) * height > kMaxPixels)
        throw EInvalidGraphic("A bitmap of " + IntToStr(width) + " x " + IntToStr(height) +
                              " pixels is too large");
    std::vector<TColor> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                               clBlack);
    const int keepWidth = std::min(width, width_);
    for (int y = 0; y < std::min(height, height_); ++y)
        std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(Offset(0, y)), keepWidth,
                    pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
    Changed();
}

TColor TBitmap::Store(TColor color) const {
    const TColor rgb = ColorToRGB(color);
    if (pixelFormat_ != pf1bit) return rgb;
    return rgb == clWhite ? clWhite : clBlack;
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
    if (pixelFormat_ == value) return;
    pixelFormat_ = value;
    if (value == pf1bit) {
        for (TColor& c : pixels_)
            c = c == clWhite ? clWhite : clBlack;
    }
    Changed();
}

TColor TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kInvalidColor;
    return pixels_[Offset(x, y)];
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    PutPixel(x, y, color);
    Changed();
}

void TBitmap::Fill(TColor color) {
    std::fill(pixels_.begin(), pixels_.end(), Store(color));
    Changed();
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == tmFixed) return transparentColor_;
    if (Empty()) return clDefault;
    return Pixel(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor value) {
    if (transparentMode_ == tmFixed && transparentColor_ == value) return;
    transparentColor_ = value;
    transparentMode_ = value == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
    if (transparentMode_ == value) return;
    // Fixing the mode keeps the colour that the automatic mode showed.
    if (value == tmFixed) transparentColor_ = TransparentColor();
    transparentMode_ = value;
    Changed();
}

void TBitmap::SetTransparent(bool value) {
    if (transparent_ == value) return;
    transparent_ = value;
    Changed();
}

void TBitmap::Assign(const TPersistent* source) {
    if (source == this) return;
    if (source == nullptr) {
        pixels_.clear();
        width_ = height_ = 0;
        Changed();
        return;
    }
    const auto* bitmap = dynamic_cast<const TBitmap*>(source);
    if (bitmap == nullptr) return TPersistent::Assign(source);
    pixels_ = bitmap->pixels_;
    width_ = bitmap->width_;
    height_ = bitmap->height_;
    pixelFormat_ = bitmap->pixelFormat_;
    transparentColor_ = bitmap->transparentColor_;
    transparentMode_ = bitmap->transparentMode_;
    transparent_ = bitmap->transparent_;
    Changed();
}

void TBitmap::Mask(TColor transparentColor) {
    const TColor key = ColorToRGB(transparentColor);
    for (TColor& c : pixels_)
        c = c == key ? clWhite : clBlack;
    pixelFormat_ = pf1bit;
    Changed();
}

bool TBitmap::Equals(const TBitmap& other) const {
    return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
}

}  // namespace kv
