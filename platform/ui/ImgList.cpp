#include "platform/ui/ImgList.h"

#include <algorithm>

#include "platform/core/SysUtils.h"

namespace kv {

KV_REGISTER_CLASS(TImageList);

namespace {

// A colour that no pixel of image has (a picture has fewer pixels than there are colours).
TColor UnusedColor(const TBitmap& image) {
    std::vector<TColor> used;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            used.push_back(image.Pixel(x, y));
    std::sort(used.begin(), used.end());
    TColor candidate = 0x00FF00FE;
    while (std::binary_search(used.begin(), used.end(), candidate))
        candidate = (candidate + 1) & 0xFFFFFF;
    return candidate;
}

}  // namespace

KV_PUBLISHED(TCustomImageList) {}

KV_PUBLISHED(TImageList) {
    b.Property("AllocBy", &T::AllocBy, &T::SetAllocBy).Default(4);
    b.Property("BkColor", &T::BkColor, &T::SetBkColor).Type(ColorTypeInfo()).Default(clNone);
    b.Property("DrawingStyle", &T::DrawingStyle, &T::SetDrawingStyle).Default(dsNormal);
    b.Property("Height", &T::Height, &T::SetHeight).Default(16);
    b.Property("ImageType", &T::ImageType, &T::SetImageType).Default(itImage);
    b.Property("Masked", &T::Masked, &T::SetMasked).Default(1);
    b.Property("Width", &T::Width, &T::SetWidth).Default(16);
    b.Event("OnChange", &T::OnChange);
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::Changed() {
    OnChange(this);
}

void TCustomImageList::SetWidth(int value) {
    value = std::max(value, 1);
    if (width_ == value) return;
    width_ = value;
    Clear();
}

void TCustomImageList::SetHeight(int value) {
    value = std::max(value, 1);
    if (height_ == value) return;
    height_ = value;
    Clear();
}

void TCustomImageList::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EInvalidOperation("Invalid image list index " + IntToStr(index));
}

std::vector<TCustomImageList::TPicture> TCustomImageList::Split(const TBitmap& image,
                                                                const TBitmap* mask,
                                                                TColor maskColor) const {
    std::vector<TPicture> pictures;
    const int count = std::max(1, image.Width() / width_);
    for (int n = 0; n < count; ++n) {
        const TRect part = Bounds(n * width_, 0, width_, height_);
        TPicture picture;
        picture.image = std::make_unique<TBitmap>(width_, height_);
        picture.image->Canvas()->CopyRect(Rect(0, 0, width_, height_), *image.Canvas(), part);
        if (mask != nullptr && !mask->Empty()) {
            picture.mask = std::make_unique<TBitmap>(width_, height_);
            picture.mask->Canvas()->CopyRect(Rect(0, 0, width_, height_), *mask->Canvas(), part);
        }
        picture.maskColor = maskColor == clNone ? clNone : ColorToRGB(maskColor);
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

int TCustomImageList::Add(const TBitmap* image, const TBitmap* mask) {
    if (image == nullptr || image->Empty()) return -1;
    const int first = Count();
    Insert(first, image, mask);
    return first;
}

int TCustomImageList::AddMasked(const TBitmap* image, TColor maskColor) {
    if (image == nullptr || image->Empty()) return -1;
    const int first = Count();
    for (TPicture& picture : Split(*image, nullptr, maskColor))
        images_.push_back(std::move(picture));
    Changed();
    return first;
}

void TCustomImageList::Insert(int index, const TBitmap* image, const TBitmap* mask) {
    if (index < 0 || index > Count())
        throw EInvalidOperation("Invalid image list index " + IntToStr(index));
    if (image == nullptr || image->Empty()) return;
    std::vector<TPicture> pictures = Split(*image, mask, clNone);
    images_.insert(images_.begin() + index, std::make_move_iterator(pictures.begin()),
                   std::make_move_iterator(pictures.end()));
    Changed();
}

void TCustomImageList::Replace(int index, const TBitmap* image, const TBitmap* mask) {
    CheckIndex(index);
    if (image == nullptr || image->Empty()) return;
    images_[static_cast<std::size_t>(index)] = std::move(Split(*image, mask, clNone).front());
    Changed();
}

void TCustomImageList::Delete(int index) {
    CheckIndex(index);
    images_.erase(images_.begin() + index);
    Changed();
}

void TCustomImageList::Move(int curIndex, int newIndex) {
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    if (curIndex == newIndex) return;
    TPicture picture = std::move(images_[static_cast<std::size_t>(curIndex)]);
    images_.erase(images_.begin() + curIndex);
    images_.insert(images_.begin() + newIndex, std::move(picture));
    Changed();
}

void TCustomImageList::Clear() {
    if (images_.empty()) return;
    images_.clear();
    Changed();
}

bool TCustomImageList::GetBitmap(int index, TBitmap* image) const {
    if (image == nullptr || index < 0 || index >= Count()) return false;
    const TPicture& picture = images_[static_cast<std::size_t>(index)];
    image->Assign(picture.image.get());
    if (picture.maskColor != clNone) {
        image->SetTransparentColor(picture.maskColor);
        image->SetTransparent(true);
    }
    return true;
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const {
    if (canvas == nullptr || index < 0 || index >= Count()) return;
    const TPicture& picture = images_[static_cast<std::size_t>(index)];
    TBitmap shown;
    shown.Assign(picture.image.get());
    if (picture.mask != nullptr) {
        // Masked pixels take a colour no other pixel has, which is then left out.
        const TColor kHole = UnusedColor(*picture.image);
        for (int py = 0; py < height_; ++py)
            for (int px = 0; px < width_; ++px)
                if (picture.mask->Pixel(px, py) == clWhite) shown.SetPixel(px, py, kHole);
        shown.SetTransparentColor(kHole);
        shown.SetTransparent(true);
    } else if (picture.maskColor != clNone && masked_) {
        shown.SetTransparentColor(picture.maskColor);
        shown.SetTransparent(true);
    }
    if (!enabled) {
        for (int py = 0; py < height_; ++py) {
            for (int px = 0; px < width_; ++px) {
                const TColor c = shown.Pixel(px, py);
                if (shown.Transparent() && c == shown.TransparentColor()) continue;
                const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
                const int grey = (r + g + b) / 3;
                shown.SetPixel(px, py, grey | grey << 8 | grey << 16);
            }
        }
    }
    canvas->Draw(x, y, &shown);
}

}  // namespace kv
