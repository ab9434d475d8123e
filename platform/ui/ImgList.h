// The ImgList unit: image lists, pictures of one size kept by number (tool bars, menus, tabs
// and list views show them by index).
//
// Adding a bitmap adds as many pictures as it is Width-wide pictures side by side (at least
// one; a narrower or lower bitmap is padded with black). A picture may keep a mask (white:
// left out when drawn) or a mask colour. Changing Width or Height empties the list, as on the
// platform.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/Graphics.h"

namespace kv {

KV_ENUM(TDrawingStyle, dsFocus, dsSelected, dsNormal, dsTransparent);
KV_ENUM(TImageType, itImage, itMask);

class TCustomImageList : public TComponent {
    KV_CLASS(TCustomImageList, TComponent)
public:
    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;

    int Width() const { return width_; }
    void SetWidth(int value);
    int Height() const { return height_; }
    void SetHeight(int value);
    int Count() const { return static_cast<int>(images_.size()); }
    TColor BkColor() const { return bkColor_; }
    void SetBkColor(TColor value) { bkColor_ = value; }
    bool Masked() const { return masked_; }
    void SetMasked(bool value) { masked_ = value; }
    TDrawingStyle DrawingStyle() const { return drawingStyle_; }
    void SetDrawingStyle(TDrawingStyle value) { drawingStyle_ = value; }
    TImageType ImageType() const { return imageType_; }
    void SetImageType(TImageType value) { imageType_ = value; }
    int AllocBy() const { return allocBy_; }
    void SetAllocBy(int value) { allocBy_ = value; }

    // The index of the first picture added; -1 for a null or empty image.
    int Add(const TBitmap* image, const TBitmap* mask);
    // Pixels of maskColor are left out when the picture is drawn.
    int AddMasked(const TBitmap* image, TColor maskColor);
    // Inserts the pictures of image at index (0..Count).
    void Insert(int index, const TBitmap* image, const TBitmap* mask);
    void Replace(int index, const TBitmap* image, const TBitmap* mask);
    void Delete(int index);
    void Move(int curIndex, int newIndex);
    void Clear();
    // Sets image to the picture (Width x Height); a masked picture comes with its mask colour
    // as the bitmap's transparent colour. False for an index that names no picture.
    bool GetBitmap(int index, TBitmap* image) const;
    // Draws the picture at (x, y), leaving out its masked pixels; nothing for a bad index.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;

    TNotifyEvent OnChange;

private:
    struct TPicture {
        std::unique_ptr<TBitmap> image;
        std::unique_ptr<TBitmap> mask;  // white: left out; may be null
        TColor maskColor = clNone;      // left out when not clNone
    };
    std::vector<TPicture> Split(const TBitmap& image, const TBitmap* mask, TColor maskColor) const;
    void CheckIndex(int index) const;
    void Changed();

    int width_ = 16;
    int height_ = 16;
    TColor bkColor_ = clNone;
    bool masked_ = true;
    TDrawingStyle drawingStyle_ = dsNormal;
    TImageType imageType_ = itImage;
    int allocBy_ = 4;
    std::vector<TPicture> images_;
};

class TImageList : public TCustomImageList {
    KV_CLASS(TImageList, TCustomImageList)
public:
    explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
};

}  // namespace kv
