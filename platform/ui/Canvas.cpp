#include "platform/ui/Canvas.h"

#include <algorithm>
#include <cstdlib>

#include "platform/ui/Bitmap.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Widgetset.h"

namespace kv {

namespace {

TRect Intersect(const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    return r;
}

TCanvasRecord Shape(TCanvasRecord::TKind kind, const TRect& rect, TColor color = clNone) {
    TCanvasRecord record;
    record.Kind = kind;
    record.Rect = rect;
    record.Color = color;
    return record;
}

TRect Normalized(const TRect& r) {
    return TRect{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
                 std::max(r.Top, r.Bottom)};
}

}  // namespace

// ---- pens and brushes

KV_PUBLISHED(TPen) {
    b.Property("Color", &T::Color, &T::SetColor).Type(ColorTypeInfo()).Default(clBlack);
    b.Property("Style", &T::Style, &T::SetStyle).Default(psSolid);
    b.Property("Width", &T::Width, &T::SetWidth).Default(1);
}

void TPen::SetColor(TColor value) {
    if (color_ == value) return;
    color_ = value;
    OnChange(this);
}

void TPen::SetWidth(int value) {
    value = std::max(value, 1);
    if (width_ == value) return;
    width_ = value;
    OnChange(this);
}

void TPen::SetStyle(TPenStyle value) {
    if (style_ == value) return;
    style_ = value;
    OnChange(this);
}

void TPen::Assign(const TPersistent* source) {
    const auto* pen = dynamic_cast<const TPen*>(source);
    if (pen == nullptr) return TPersistent::Assign(source);
    color_ = pen->color_;
    width_ = pen->width_;
    style_ = pen->style_;
    OnChange(this);
}

KV_PUBLISHED(TBrush) {
    b.Property("Color", &T::Color, &T::SetColor).Type(ColorTypeInfo()).Default(clWhite);
    b.Property("Style", &T::Style, &T::SetStyle).Default(bsSolid);
}

void TBrush::SetColor(TColor value) {
    // A colour makes a clear brush paint again, as on the platform, even the colour it had.
    if (color_ == value && style_ != bsClear) return;
    color_ = value;
    if (style_ == bsClear) style_ = bsSolid;
    OnChange(this);
}

void TBrush::SetStyle(TBrushStyle value) {
    if (style_ == value) return;
    style_ = value;
    OnChange(this);
}

void TBrush::Assign(const TPersistent* source) {
    const auto* brush = dynamic_cast<const TBrush*>(source);
    if (brush == nullptr) return TPersistent::Assign(source);
    color_ = brush->color_;
    style_ = brush->style_;
    OnChange(this);
}

// ---- TCanvas

KV_PUBLISHED(TCanvas) {}

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()),
      brush_(std::make_unique<TBrush>()),
      pen_(std::make_unique<TPen>()) {}

TCanvas::~TCanvas() = default;

TFont* TCanvas::Font() const {
    UpdateFont();
    return font_.get();
}

void TCanvas::Changed() {
    if (TBitmap* surface = Surface()) surface->Changed();
    OnChange(this);
}

void TCanvas::Record(TCanvasRecord record) {
    records_.push_back(std::move(record));
}

void TCanvas::HorizontalLine(TBitmap& surface, int x1, int x2, int y, TColor color) {
    if (y < 0 || y >= surface.Height()) return;
    for (int x = std::max(x1, 0); x < std::min(x2, surface.Width()); ++x)
        surface.PutPixel(x, y, color);
}

void TCanvas::FillRect(const TRect& rect) {
    const TRect r = Normalized(rect);
    if (brush_->Style() == bsClear) return;
    if (TBitmap* surface = Surface()) {
        for (int y = r.Top; y < r.Bottom; ++y)
            HorizontalLine(*surface, r.Left, r.Right, y, brush_->Color());
    } else {
        Record(Shape(TCanvasRecord::TKind::FillRect, r, brush_->Color()));
    }
    Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
    const TRect r = Normalized(rect);
    if (r.Width() == 0 || r.Height() == 0) return;
    if (TBitmap* surface = Surface()) {
        const TColor c = brush_->Color();
        HorizontalLine(*surface, r.Left, r.Right, r.Top, c);
        HorizontalLine(*surface, r.Left, r.Right, r.Bottom - 1, c);
        for (int y = r.Top; y < r.Bottom; ++y) {
            HorizontalLine(*surface, r.Left, r.Left + 1, y, c);
            HorizontalLine(*surface, r.Right - 1, r.Right, y, c);
        }
    } else {
        Record(Shape(TCanvasRecord::TKind::FrameRect, r, brush_->Color()));
    }
    Changed();
}

void TCanvas::Rectangle(const TRect& rect) {
    const TRect r = Normalized(rect);
    FillRect(r);
    if (pen_->Style() == psClear) return;
    const TColor brushColor = brush_->Color();
    const TBrushStyle brushStyle = brush_->Style();
    brush_->SetColor(pen_->Color());
    FrameRect(r);
    brush_->SetColor(brushColor);
    brush_->SetStyle(brushStyle);
}

// Bresenham's line; the end point is left out, as the platform's LineTo does.
void TCanvas::LineTo(int x, int y) {
    const TPoint from = penPos_;
    penPos_ = Point(x, y);
    if (pen_->Style() == psClear) return;
    TBitmap* surface = Surface();
    if (surface == nullptr) {
        Record(Shape(TCanvasRecord::TKind::Line, Rect(from.X, from.Y, x, y), pen_->Color()));
        Changed();
        return;
    }
    const int dx = std::abs(x - from.X);
    const int dy = -std::abs(y - from.Y);
    const int sx = from.X < x ? 1 : -1;
    const int sy = from.Y < y ? 1 : -1;
    int error = dx + dy;
    int cx = from.X;
    int cy = from.Y;
    while (cx != x || cy != y) {
        if (cx >= 0 && cy >= 0 && cx < surface->Width() && cy < surface->Height())
            surface->PutPixel(cx, cy, pen_->Color());
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            cx += sx;
        }
        if (e2 <= dx) {
            error += dx;
            cy += sy;
        }
    }
    Changed();
}

void TCanvas::Draw(int x, int y, const TBitmap* bitmap) {
    if (bitmap == nullptr || bitmap->Empty()) return;
    TBitmap* surface = Surface();
    if (surface == nullptr) {
        Record(Shape(TCanvasRecord::TKind::Draw, Bounds(x, y, bitmap->Width(), bitmap->Height())));
        Changed();
        return;
    }
    // A bitmap drawn onto itself reads the pixels as they were.
    const TBitmap* source = bitmap;
    std::unique_ptr<TBitmap> copy;
    if (bitmap == surface) {
        copy = std::make_unique<TBitmap>();
        copy->Assign(bitmap);
        source = copy.get();
    }
    const bool transparent = source->Transparent();
    const TColor skip = ColorToRGB(source->TransparentColor());
    const TRect area = Intersect(Bounds(x, y, source->Width(), source->Height()), ClipRect());
    for (int ty = area.Top; ty < area.Bottom; ++ty) {
        for (int tx = area.Left; tx < area.Right; ++tx) {
            const TColor c = source->Pixel(tx - x, ty - y);
            if (!transparent || c != skip) surface->PutPixel(tx, ty, c);
        }
    }
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
    TBitmap* surface = Surface();
    const TBitmap* from = source.Surface();
    if (surface == nullptr || from == nullptr) {
        Record(Shape(TCanvasRecord::TKind::Draw, Normalized(dest)));
        Changed();
        return;
    }
    TBitmap snapshot;
    snapshot.Assign(from);  // copying within one bitmap reads the pixels as they were
    const TRect d = Normalized(dest);
    const TRect s = Normalized(sourceRect);
    const int w = std::min(d.Width(), s.Width());
    const int h = std::min(d.Height(), s.Height());
    for (int yy = 0; yy < h; ++yy) {
        for (int xx = 0; xx < w; ++xx) {
            const TColor c = snapshot.Pixel(s.Left + xx, s.Top + yy);
            const int tx = d.Left + xx;
            const int ty = d.Top + yy;
            if (c != kInvalidColor && tx >= 0 && ty >= 0 && tx < surface->Width() &&
                ty < surface->Height())
                surface->PutPixel(tx, ty, c);
        }
    }
    Changed();
}

void TCanvas::FillMask(int x, int y, const TBitmap& mask) {
    TBitmap* surface = Surface();
    if (surface == nullptr) {
        Record(Shape(TCanvasRecord::TKind::Draw, Bounds(x, y, mask.Width(), mask.Height()),
                     brush_->Color()));
        Changed();
        return;
    }
    const TRect area = Intersect(Bounds(x, y, mask.Width(), mask.Height()), ClipRect());
    for (int ty = area.Top; ty < area.Bottom; ++ty)
        for (int tx = area.Left; tx < area.Right; ++tx)
            if (ColorToRGB(mask.Pixel(tx - x, ty - y)) != clWhite)
                surface->PutPixel(tx, ty, brush_->Color());
    Changed();
}

TColor TCanvas::Pixels(int x, int y) const {
    const TBitmap* surface = Surface();
    return surface == nullptr ? kInvalidColor : surface->Pixel(x, y);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    TBitmap* surface = Surface();
    if (surface == nullptr || x < 0 || y < 0 || x >= surface->Width() || y >= surface->Height())
        return;
    surface->PutPixel(x, y, color);
    Changed();
}

TSize TCanvas::TextExtent(std::string_view text) const {
    const TTextExtent extent = Widgetset().TextExtent(*Font(), text);
    return TSize{extent.Width, extent.Height};
}

int TCanvas::TextWidth(std::string_view text) const {
    return TextExtent(text).cx;
}

int TCanvas::TextHeight(std::string_view text) const {
    return TextExtent(text).cy;
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    const TSize size = TextExtent(text);
    TextRect(Bounds(x, y, size.cx, size.cy), x, y, text);
    penPos_ = Point(x + size.cx, y);
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const std::string& text) {
    const TSize size = TextExtent(text);
    const TFont* font = Font();
    TCanvasRecord record{TCanvasRecord::TKind::Text,
                         Intersect(Bounds(x, y, size.cx, size.cy), Normalized(rect)),
                         text,
                         font->Color(),
                         brush_->Style() == bsClear ? clNone : brush_->Color(),
                         font->Name(),
                         font->Height(),
                         font->Style()};
    Record(std::move(record));
    Changed();
}

TRect TCanvas::ClipRect() const {
    const TBitmap* surface = Surface();
    return surface == nullptr ? TRect{} : Rect(0, 0, surface->Width(), surface->Height());
}

// ---- TControlCanvas

KV_PUBLISHED(TControlCanvas) {}

TControlCanvas::TControlCanvas(TControl* control) : control_(control) {}

TControlCanvas::~TControlCanvas() = default;

void TControlCanvas::SetControl(TControl* control) {
    control_ = control;
    seen_.reset();
}

TRect TControlCanvas::ClipRect() const {
    return control_ == nullptr ? TRect{} : control_->ClientRect();
}

void TControlCanvas::UpdateFont() const {
    if (control_ == nullptr) return;
    const TFont* current = control_->Font();
    if (seen_ != nullptr && seen_->Equals(*current)) return;
    if (seen_ == nullptr) seen_ = std::make_unique<TFont>();
    seen_->Assign(current);
    OwnFont()->Assign(current);
}

void Frame3D(TCanvas& canvas, const TRect& rect, TColor topLeft, TColor bottomRight) {
    const int right = rect.Right - 1;
    const int bottom = rect.Bottom - 1;
    canvas.Pen()->SetColor(topLeft);
    canvas.MoveTo(rect.Left, bottom);
    canvas.LineTo(rect.Left, rect.Top);
    canvas.LineTo(right, rect.Top);
    canvas.Pen()->SetColor(bottomRight);
    canvas.LineTo(right, bottom);
    canvas.LineTo(rect.Left - 1, bottom);
}

}  // namespace kv
