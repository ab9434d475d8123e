// TBitmap of the Graphics unit: a picture of 24-bit colours (or a monochrome one), with a canvas
// to draw on it, a transparent colour, and .bmp files.
//
// Pixels are TColor values (0x00BBGGRR). New pixels (after creation or growing) are black.
// A monochrome bitmap (PixelFormat pf1bit) holds only black and white: white stays white and
// every other colour becomes black, which is how the platform turns a picture into a mask.
//
// The transparent colour is, in the automatic mode, the colour of the bottom-left pixel (as on
// the platform); setting it fixes it. Canvas::Draw leaves it out when Transparent is set.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/ui/Graphics.h"

namespace kv {

class TCanvas;

// A picture that cannot be read (a damaged or unsupported .bmp) or made (too large).
KV_DECLARE_EXCEPTION(EInvalidGraphic, Exception);

KV_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit,
        pfCustom);
KV_ENUM(TTransparentMode, tmAuto, tmFixed);

// What Pixels answers outside a picture.
constexpr TColor kInvalidColor = -1;

class TBitmap : public TPersistent {
    KV_CLASS(TBitmap, TPersistent)
public:
    // Pictures larger than this many pixels are refused with EInvalidGraphic.
    static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;

    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Resizing keeps the pixels that stay inside; new ones are black. Negative sizes count 0.
    void SetWidth(int value) { SetSize(value, height_); }
    void SetHeight(int value) { SetSize(width_, value); }
    void SetSize(int width, int height);
    bool Empty() const { return width_ == 0 || height_ == 0; }

    // pf1bit makes the picture monochrome; every other format keeps 24-bit colours.
    TPixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TPixelFormat value);
    bool Monochrome() const { return pixelFormat_ == pf1bit; }
    void SetMonochrome(bool value) { SetPixelFormat(value ? pf1bit : pf24bit); }

    // kInvalidColor outside the picture. Setting resolves system colours to RGB; outside the
    // picture it does nothing.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);
    // The whole picture in one colour.
    void Fill(TColor color);

    TCanvas* Canvas() const { return canvas_.get(); }

    // tmAuto: the bottom-left pixel's colour (clDefault for an empty picture); tmFixed: the
    // colour set. Setting the colour switches to tmFixed.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor value);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);

    // A copy of another bitmap (pixels, format, transparency); null empties this one.
    void Assign(const TPersistent* source) override;
    // Turns the picture into a monochrome mask: pixels of that colour white, all others black.
    void Mask(TColor transparentColor);

    // .bmp files: reading takes uncompressed pictures of 1, 4, 8, 24 and 32 bits per pixel
    // (bottom-up or top-down); writing gives a 24-bit picture. A file that cannot be opened
    // raises EFOpenError; a picture that cannot be read raises EInvalidGraphic and leaves the
    // bitmap as it was.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;
    void LoadFromBytes(std::span<const std::uint8_t> bytes);
    std::vector<std::uint8_t> SaveToBytes() const;

    bool Equals(const TBitmap& other) const;

    // Size, pixels, format or transparency changed (not raised per pixel while a canvas
    // operation runs: once at its end).
    TNotifyEvent OnChange;

private:
    friend class TCanvas;

    void Changed();
    std::size_t Offset(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }
    TColor Store(TColor color) const;
    void PutPixel(int x, int y, TColor color) { pixels_[Offset(x, y)] = Store(color); }

    int width_ = 0;
    int height_ = 0;
    std::vector<TColor> pixels_;
    TPixelFormat pixelFormat_ = pfDevice;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
    bool transparent_ = false;
    std::unique_ptr<TCanvas> canvas_;
};

}  // namespace kv
