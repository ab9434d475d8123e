#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/StdCtrls.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& bytes, std::initializer_list<int> values) {
    for (int v : values)
        bytes.push_back(static_cast<std::uint8_t>(v));
}

TEST(Bitmap, PixelsSizeAndSystemColours) {
    TBitmap bitmap(3, 2);
    EXPECT_EQ(bitmap.Pixel(2, 1), clBlack) << "new pixels are black";
    bitmap.SetPixel(1, 1, clRed);
    bitmap.SetPixel(2, 0, clBtnFace);
    EXPECT_EQ(bitmap.Pixel(2, 0), 0xC0C0C0) << "system colours are stored as RGB";
    EXPECT_EQ(bitmap.Pixel(3, 0), kInvalidColor);
    EXPECT_EQ(bitmap.Pixel(-1, 0), kInvalidColor);
    bitmap.SetPixel(5, 5, clRed);  // outside: nothing
    bitmap.SetWidth(4);
    EXPECT_EQ(bitmap.Pixel(1, 1), clRed) << "pixels inside stay when growing";
    EXPECT_EQ(bitmap.Pixel(3, 1), clBlack);
    bitmap.SetSize(-5, 1);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_THROW(bitmap.SetSize(100000, 100000), EInvalidGraphic);
    EXPECT_TRUE(bitmap.Empty()) << "a refused size leaves the bitmap as it was";
}

TEST(Bitmap, TransparentColourIsTheBottomLeftPixelUntilFixed) {
    TBitmap bitmap(2, 2);
    EXPECT_EQ(TBitmap().TransparentColor(), clDefault);
    bitmap.SetPixel(0, 1, clOlive);
    EXPECT_EQ(bitmap.TransparentColor(), clOlive);
    bitmap.SetTransparentColor(clFuchsia);
    EXPECT_EQ(bitmap.TransparentMode(), tmFixed);
    bitmap.SetPixel(0, 1, clLime);
    EXPECT_EQ(bitmap.TransparentColor(), clFuchsia);
    TBitmap copy;
    copy.Assign(&bitmap);
    EXPECT_TRUE(copy.Equals(bitmap));
    EXPECT_EQ(copy.TransparentColor(), clFuchsia);
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
}

TEST(Bitmap, MonochromeKeepsWhiteAndMakesEveryOtherColourBlack) {
    TBitmap bitmap(3, 1);
    bitmap.SetPixel(0, 0, clWhite);
    bitmap.SetPixel(1, 0, clSilver);
    bitmap.SetMonochrome(true);
    EXPECT_EQ(bitmap.Pixel(0, 0), clWhite);
    EXPECT_EQ(bitmap.Pixel(1, 0), clBlack);
    bitmap.SetPixel(2, 0, clYellow);
    EXPECT_EQ(bitmap.Pixel(2, 0), clBlack);
    TBitmap shape(2, 1);
    shape.SetPixel(0, 0, clOlive);
    shape.SetPixel(1, 0, clRed);
    shape.Mask(clOlive);
    EXPECT_EQ(shape.Pixel(0, 0), clWhite) << "the mask colour becomes white";
    EXPECT_EQ(shape.Pixel(1, 0), clBlack);
    EXPECT_EQ(shape.PixelFormat(), pf1bit);
}

TEST(Canvas, FillsFramesLinesAndCopies) {
    TBitmap bitmap(6, 4);
    TCanvas& canvas = *bitmap.Canvas();
    canvas.Brush()->SetColor(clWhite);
    canvas.FillRect(Rect(0, 0, 6, 4));
    canvas.Brush()->SetColor(clBlue);
    canvas.FrameRect(Rect(1, 1, 4, 4));
    EXPECT_EQ(bitmap.Pixel(1, 1), clBlue);
    EXPECT_EQ(bitmap.Pixel(3, 3), clBlue);
    EXPECT_EQ(bitmap.Pixel(2, 2), clWhite) << "a frame leaves the inside";
    EXPECT_EQ(bitmap.Pixel(4, 1), clWhite) << "right edge excluded";
    canvas.Pen()->SetColor(clRed);
    canvas.MoveTo(0, 0);
    canvas.LineTo(5, 0);
    EXPECT_EQ(bitmap.Pixel(4, 0), clRed);
    EXPECT_EQ(bitmap.Pixel(5, 0), clWhite) << "the end point is not drawn";
    EXPECT_EQ(canvas.PenPos(), Point(5, 0));
    canvas.CopyRect(Rect(3, 0, 6, 2), canvas, Rect(0, 0, 3, 2));
    EXPECT_EQ(bitmap.Pixel(4, 1), clBlue) << "copied from (1, 1)";
    EXPECT_EQ(bitmap.Pixel(5, 0), clRed) << "the source was read before the copy wrote";
    canvas.FillRect(Rect(4, 3, 100, 100));  // clipped to the bitmap
    EXPECT_EQ(bitmap.Pixel(5, 3), clBlue);
    canvas.Brush()->SetStyle(bsClear);
    canvas.Brush()->SetColor(clBlue);
    EXPECT_EQ(canvas.Brush()->Style(), bsSolid) << "even the same colour makes the brush paint";
}

TEST(Canvas, DrawLeavesOutTheTransparentColourOfATransparentBitmap) {
    TBitmap target(3, 1);
    target.Fill(clWhite);
    TBitmap glyph(2, 1);
    glyph.SetPixel(0, 0, clRed);
    glyph.SetPixel(1, 0, clOlive);
    glyph.SetTransparentColor(clOlive);
    target.Canvas()->Draw(1, 0, &glyph);
    EXPECT_EQ(target.Pixel(2, 0), clOlive) << "not transparent: drawn as it is";
    target.Fill(clWhite);
    glyph.SetTransparent(true);
    target.Canvas()->Draw(1, 0, &glyph);
    EXPECT_EQ(target.Pixel(1, 0), clRed);
    EXPECT_EQ(target.Pixel(2, 0), clWhite);
    target.Canvas()->Draw(-1, 0, &glyph);
    EXPECT_EQ(target.Pixel(0, 0), clWhite) << "clipped at the left edge";
    target.Canvas()->Draw(1, 0, &target);
    EXPECT_EQ(target.Pixel(2, 0), clRed) << "a bitmap drawn onto itself reads its old pixels";
}

TEST(Canvas, FillMaskPaintsTheBrushWhereTheMaskIsBlack) {
    TBitmap target(2, 2);
    target.Fill(clSilver);
    TBitmap mask(2, 2);
    mask.Fill(clWhite);
    mask.SetPixel(0, 0, clBlack);
    target.Canvas()->Brush()->SetColor(clBtnHighlight);
    target.Canvas()->FillMask(1, 1, mask);
    EXPECT_EQ(target.Pixel(1, 1), clWhite);
    EXPECT_EQ(target.Pixel(0, 0), clSilver);
}

// ---- the disabled picture of one-picture buttons, built on the bitmap as forms build it

std::unique_ptr<TBitmap> MakeDisabledGlyph(const TBitmap& source) {
    const TColor t = source.TransparentColor();
    auto shape = std::make_unique<TBitmap>();
    shape->Assign(&source);
    shape->Fill(t);
    auto at = [&](int x, int y) {
        return source.Pixel(std::clamp(x, 0, source.Width() - 1),
                            std::clamp(y, 0, source.Height() - 1));
    };
    for (int y = 0; y < source.Height(); ++y) {
        for (int x = 0; x < source.Width(); ++x) {
            const TColor c = source.Pixel(x, y);
            if (c == t) continue;
            const bool dark = (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) < 384;
            const bool edge =
                at(x, y - 1) == t || at(x, y + 1) == t || at(x - 1, y) == t || at(x + 1, y) == t;
            if (dark || edge) shape->SetPixel(x, y, clBlack);
        }
    }
    TBitmap mask;
    mask.Assign(shape.get());
    mask.Mask(t);
    TCanvas& canvas = *shape->Canvas();
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(Rect(0, 0, shape->Width(), shape->Height()));
    canvas.Brush()->SetColor(clBtnHighlight);
    canvas.FillMask(1, 1, mask);
    canvas.Brush()->SetColor(clBtnShadow);
    canvas.FillMask(0, 0, mask);
    return shape;
}

TEST(DisabledGlyph, TheBitmapCarriesThePicturesRule) {
    TBitmap glyph(4, 4);
    glyph.Fill(clOlive);            // transparent: the bottom-left pixel
    glyph.SetPixel(1, 1, clNavy);   // dark: always part of the shape
    glyph.SetPixel(2, 1, clWhite);  // light, next to the transparent colour
    glyph.SetPixel(0, 0, clWhite);  // light, on the edge
    auto disabled = MakeDisabledGlyph(glyph);
    EXPECT_EQ(disabled->Pixel(1, 1), 0x808080) << "shadow where the shape is";
    EXPECT_EQ(disabled->Pixel(2, 1), 0x808080);
    EXPECT_EQ(disabled->Pixel(2, 2), 0xFFFFFF) << "highlight one pixel down and right";
    EXPECT_EQ(disabled->Pixel(3, 3), 0xC0C0C0) << "button face elsewhere";

    TBitmap light(3, 3);
    light.Fill(clWhite);
    light.SetPixel(0, 2, clOlive);
    light.SetTransparentColor(clOlive);
    auto inner = MakeDisabledGlyph(light);
    EXPECT_EQ(inner->Pixel(1, 1), 0xC0C0C0) << "a light pixel among light ones stays out";

    TBitmap blank(2, 2);
    blank.Fill(clOlive);
    auto none = MakeDisabledGlyph(blank);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(none->Pixel(x, y), 0xC0C0C0) << "only button face";

    // Adding the disabled picture beside the normal one doubles the width.
    TBitmap doubled;
    doubled.Assign(&glyph);
    doubled.SetWidth(8);
    doubled.Canvas()->Brush()->SetColor(doubled.TransparentColor());
    doubled.Canvas()->FillRect(Rect(0, 0, 8, 4));
    doubled.Canvas()->Draw(0, 0, &glyph);
    doubled.Canvas()->Draw(4, 0, disabled.get());
    EXPECT_EQ(doubled.Width(), 8);
    EXPECT_EQ(doubled.Pixel(1, 1), clNavy);
    EXPECT_EQ(doubled.Pixel(5, 1), 0x808080);
}

// ---- .bmp files

Bytes Header(std::int32_t width, std::int32_t height, std::uint16_t bits, std::uint32_t colors,
             std::uint32_t compression = 0) {
    Bytes out;
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&](std::uint16_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    u16(0x4D42);
    u32(0);
    u32(0);
    u32(14 + 40 + colors * 4);
    u32(40);
    u32(static_cast<std::uint32_t>(width));
    u32(static_cast<std::uint32_t>(height));
    u16(1);
    u16(bits);
    u32(compression);
    for (int i = 0; i < 5; ++i)
        u32(i == 3 ? colors : 0);  // the colours used
    return out;
}

TEST(BitmapFile, TwentyFourBitPicturesRoundTrip) {
    TBitmap bitmap(3, 2);
    bitmap.SetPixel(0, 0, clRed);
    bitmap.SetPixel(2, 1, 0x123456);
    const Bytes bytes = bitmap.SaveToBytes();
    EXPECT_EQ(bytes.size(), 14u + 40u + 2u * 12u) << "rows padded to four bytes";
    TBitmap read;
    read.LoadFromBytes(bytes);
    EXPECT_TRUE(read.Equals(bitmap));
    const std::string path = ::testing::TempDir() + "graphics_test.bmp";
    bitmap.SaveToFile(path);
    TBitmap fromFile;
    fromFile.LoadFromFile(path);
    EXPECT_TRUE(fromFile.Equals(bitmap));
    std::filesystem::remove(path);
    EXPECT_THROW(fromFile.LoadFromFile(path), EFOpenError);
}

TEST(BitmapFile, PalettesAndTopDownRows) {
    // 8 bits, two colours, top-down (negative height): row 0 first in the file.
    Bytes eight = Header(2, -2, 8, 2);
    Append(eight, {255, 0, 0, 0, 0, 0, 255, 0});  // blue, red (B G R x)
    Append(eight, {0, 1, 0, 0, 1, 1, 0, 0});
    TBitmap bitmap;
    bitmap.LoadFromBytes(eight);
    EXPECT_EQ(bitmap.Pixel(0, 0), clBlue);
    EXPECT_EQ(bitmap.Pixel(1, 0), clRed);
    EXPECT_EQ(bitmap.Pixel(0, 1), clRed);

    // 1 bit, black and white, bottom-up: a monochrome picture.
    Bytes one = Header(3, 1, 1, 2);
    Append(one, {0, 0, 0, 0, 255, 255, 255, 0});
    Append(one, {0xA0, 0, 0, 0});  // 1 0 1
    bitmap.LoadFromBytes(one);
    EXPECT_EQ(bitmap.Pixel(0, 0), clWhite);
    EXPECT_EQ(bitmap.Pixel(1, 0), clBlack);
    EXPECT_TRUE(bitmap.Monochrome());
}

TEST(BitmapFile, DamagedFilesAreRefusedAndChangeNothing) {
    Bytes good = TBitmap(2, 2).SaveToBytes();
    Bytes cut(good.begin(), good.end() - 3);
    Bytes signature = good;
    signature[0] = 'X';
    Bytes huge = Header(1 << 20, 1 << 20, 24, 0);
    Bytes compressed = Header(2, 2, 8, 2, 1);
    Bytes colours = Header(2, 1, 8, 300);
    Bytes bits = Header(2, 1, 16, 0);
    Bytes index = Header(1, 1, 8, 1);
    Append(index, {0, 0, 0, 0, 5, 0, 0, 0});  // one colour, pixel index 5
    const Bytes* cases[] = {&cut, &signature, &huge, &compressed, &colours, &bits, &index};
    TBitmap bitmap(1, 1);
    bitmap.SetPixel(0, 0, clRed);
    for (const Bytes* bytes : cases) {
        EXPECT_THROW(bitmap.LoadFromBytes(*bytes), EInvalidGraphic);
        EXPECT_EQ(bitmap.Pixel(0, 0), clRed);
    }
    EXPECT_THROW(bitmap.LoadFromBytes(Bytes{}), EInvalidGraphic);
}

// ---- text

TEST(TextMeasure, DeterministicFromTheFontHeight) {
    TCanvas canvas;
    EXPECT_EQ(canvas.TextWidth("ab"), 12) << "ASCII: half the height of 11, rounded up";
    EXPECT_EQ(canvas.TextWidth("客户"), 22) << "others: the whole height";
    EXPECT_EQ(canvas.TextHeight("x"), 13) << "height plus 2";
    canvas.Font()->SetHeight(-20);
    EXPECT_EQ(canvas.TextExtent("a客"), (TSize{30, 22}));
    EXPECT_EQ(canvas.TextWidth(""), 0);
}

class ControlCanvasTest : public test::UiTest {};

TEST_F(ControlCanvasTest, FollowsTheControlsFontAndRecordsDrawing) {
    auto* form = FixtureForm(NewObject<TForm>(&Application(), true));
    auto* box = NewObject<TGroupBox>(form);
    box->SetParent(form);
    TCanvas& canvas = *box->Canvas();
    box->Font()->SetHeight(-16);
    EXPECT_EQ(canvas.TextHeight("A"), 18);
    canvas.Font()->SetStyle({fsBold});
    canvas.TextOut(3, 4, "Hi");
    EXPECT_TRUE(canvas.Font()->Style().Contains(fsBold)) << "the canvas's own change holds";
    box->Font()->SetHeight(-12);
    EXPECT_EQ(canvas.Font()->Height(), -12);
    EXPECT_FALSE(canvas.Font()->Style().Contains(fsBold)) << "until the control's font changes";
    canvas.Brush()->SetColor(clYellow);
    canvas.FillRect(Rect(0, 0, 5, 5));
    ASSERT_EQ(canvas.Records().size(), 2u);
    const TCanvasRecord& text = canvas.Records()[0];
    EXPECT_EQ(text.Text, "Hi");
    EXPECT_EQ(text.Rect, Rect(3, 4, 19, 22));
    EXPECT_TRUE(text.FontStyle.Contains(fsBold));
    EXPECT_EQ(canvas.Records()[1].Color, clYellow);
    EXPECT_EQ(canvas.Pixels(0, 0), kInvalidColor) << "a control canvas has no pixels";
}

// ---- image lists

TEST(ImageList, AddSplitsWidePicturesAndGivesThemBack) {
    TImageList list(nullptr);
    TBitmap strip(48, 16);
    strip.SetPixel(16, 0, clRed);
    strip.SetPixel(47, 15, clOlive);
    EXPECT_EQ(list.AddMasked(&strip, clOlive), 0);
    EXPECT_EQ(list.Count(), 3);
    TBitmap second;
    ASSERT_TRUE(list.GetBitmap(1, &second));
    EXPECT_EQ(second.Width(), 16);
    EXPECT_EQ(second.Pixel(0, 0), clRed);
    TBitmap third;
    list.GetBitmap(2, &third);
    EXPECT_EQ(third.TransparentColor(), clOlive);
    EXPECT_TRUE(third.Transparent());
    EXPECT_FALSE(list.GetBitmap(3, &third));
    TBitmap target(16, 16);
    target.Fill(clWhite);
    list.Draw(target.Canvas(), 0, 0, 2);
    EXPECT_EQ(target.Pixel(15, 15), clWhite) << "the mask colour is left out";
    EXPECT_EQ(target.Pixel(0, 0), clBlack);
    list.SetWidth(24);
    EXPECT_EQ(list.Count(), 0) << "a new size empties the list";
    EXPECT_EQ(list.Add(nullptr, nullptr), -1);
    EXPECT_THROW(list.Delete(0), EInvalidOperation);
}

}  // namespace
}  // namespace kv
