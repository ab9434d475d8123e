#include "platform/ui/ExtCtrls.h"

#include <algorithm>

#include "platform/core/SysUtils.h"

namespace kv {

KV_REGISTER_CLASS(TPanel);
KV_REGISTER_CLASS(TBevel);
KV_REGISTER_CLASS(TSplitter);
KV_REGISTER_CLASS(TImage);
KV_REGISTER_CLASS(TRadioGroup);

namespace {

bool IsLoading(const TComponent& component) {
    return component.ComponentState().Contains(csLoading);
}

}  // namespace

// ---- TCustomPanel

KV_PUBLISHED(TCustomPanel) {}

KV_PUBLISHED(TPanel) {
    PublishControlMembers(b, "Align");
    b.Property("Alignment", &T::Alignment, &T::SetAlignment).Default(taCenter);
    PublishControlMembers(b, "Anchors");
    b.Property("BevelInner", &T::BevelInner, &T::SetBevelInner).Default(bvNone);
    b.Property("BevelOuter", &T::BevelOuter, &T::SetBevelOuter).Default(bvRaised);
    b.Property("BevelWidth", &T::BevelWidth, &T::SetBevelWidth).Default(1);
    b.Property("BorderWidth", &T::BorderWidth, &T::SetBorderWidth).Default(0);
    b.Property("BorderStyle", &T::BorderStyle, &T::SetBorderStyle)
        .Type(BorderStyleTypeInfo())
        .Default(bsNone);
    PublishControlMembers(b, "Caption Color Enabled Font");
    b.Property("FullRepaint", &T::FullRepaint, &T::SetFullRepaint).Default(1);
    b.Property("Locked", &T::Locked, &T::SetLocked).Default(0);
    PublishControlMembers(b, "ParentColor ParentFont ParentShowHint PopupMenu ShowHint");
    PublishControlMembers(b, "TabOrder TabStop Visible");
    PublishControlMembers(b,
                          "OnClick OnDblClick OnEnter OnExit OnMouseDown OnMouseMove OnMouseUp "
                          "OnResize");
}

TCustomPanel::TCustomPanel(TComponent* owner)
    : TCustomControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csOpaque});
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::SetAlignment(TAlignment value) {
    alignment_ = value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
    bevelInner_ = value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value) {
    bevelOuter_ = value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int value) {
    bevelWidth_ = std::max(value, 1);
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int value) {
    borderWidth_ = std::max(value, 0);
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TFormBorderStyle value) {
    borderStyle_ = value == bsSingle ? bsSingle : bsNone;
    Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& rect) const {
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    rect =
        Rect(rect.Left + inset, rect.Top + inset, std::max(rect.Left + inset, rect.Right - inset),
             std::max(rect.Top + inset, rect.Bottom - inset));
}

void TCustomPanel::Paint() {
    TRect r = ClientRect();
    canvas_->Brush()->SetColor(Color());
    canvas_->FillRect(r);
    for (TPanelBevel bevel : {bevelOuter_, bevelInner_}) {
        if (bevel == bvNone) continue;
        const bool lowered = bevel == bvLowered;
        for (int i = 0; i < bevelWidth_; ++i) {
            Frame3D(*canvas_, r, lowered ? clBtnShadow : clBtnHighlight,
                    lowered ? clBtnHighlight : clBtnShadow);
            r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        }
    }
    const std::string caption = Caption();
    if (caption.empty()) return;
    const TSize size = canvas_->TextExtent(caption);
    int x = (Width() - size.cx) / 2;
    if (alignment_ == taLeftJustify) x = r.Left + borderWidth_;
    if (alignment_ == taRightJustify) x = r.Right - borderWidth_ - size.cx;
    canvas_->Brush()->SetStyle(bsClear);
    canvas_->TextOut(x, (Height() - size.cy) / 2, caption);
}

// ---- TBevel

KV_PUBLISHED(TBevel) {
    PublishControlMembers(b, "Align Anchors ParentShowHint");
    b.Property("Shape", &T::Shape, &T::SetShape).Default(bsBox);
    PublishControlMembers(b, "ShowHint");
    b.Property("Style", &T::Style, &T::SetStyle).Default(bsLowered);
    PublishControlMembers(b, "Visible");
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value) {
    shape_ = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
    style_ = value;
    Invalidate();
}

// ---- TSplitter

KV_PUBLISHED(TSplitter) {
    b.Property("AutoSnap", &T::AutoSnap, &T::SetAutoSnap).Default(1);
    b.Property("Beveled", &T::Beveled, &T::SetBeveled).Default(0);
    PublishControlMembers(b, "Align Color");
    b.Property("MinSize", &T::MinSize, &T::SetMinSize).Default(30);
    PublishControlMembers(b, "ParentColor");
    b.Property("ResizeStyle", &T::ResizeStyle, &T::SetResizeStyle).Default(rsPattern);
    PublishControlMembers(b, "Visible");
    b.Event("OnCanResize", &T::OnCanResize);
    b.Event("OnMoved", &T::OnMoved);
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
    SetCursor(crHSplit);
}

TControl* TSplitter::ResizeControl() const {
    const TWinControl* parent = Parent();
    if (parent == nullptr) return nullptr;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        const bool touches = (Align() == alLeft && c->Left() + c->Width() == Left()) ||
                             (Align() == alRight && c->Left() == Left() + Width()) ||
                             (Align() == alTop && c->Top() + c->Height() == Top()) ||
                             (Align() == alBottom && c->Top() == Top() + Height());
        if (touches) return c;
    }
    return nullptr;
}

void TSplitter::MoveBy(int delta) {
    TControl* control = ResizeControl();
    if (control == nullptr || delta == 0) return;
    const int size = Horizontal() ? control->Width() : control->Height();
    // The room the client part keeps beside the aligned controls of this axis.
    int used = 0;
    const TWinControl* parent = Parent();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        const TControl* c = parent->Controls(i);
        if (!c->Visible()) continue;
        if (Horizontal() && (c->Align() == alLeft || c->Align() == alRight)) used += c->Width();
        if (!Horizontal() && (c->Align() == alTop || c->Align() == alBottom)) used += c->Height();
    }
    const int room = (Horizontal() ? parent->ClientWidth() : parent->ClientHeight()) - used;
    int newSize = Align() == alLeft || Align() == alTop ? size + delta : size - delta;
    newSize = std::min(newSize, size + std::max(room - minSize_, 0));
    if (newSize < minSize_) newSize = autoSnap_ ? 0 : minSize_;
    bool accept = true;
    OnCanResize(this, newSize, accept);
    if (!accept || newSize == size) return;
    if (Horizontal()) {
        control->SetWidth(newSize);
    } else {
        control->SetHeight(newSize);
    }
    OnMoved(this);
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    dragging_ = true;
    dragStart_ = Point(x, y);
    dragDelta_ = 0;
}

// With rsUpdate the control follows the mouse as it moves; the splitter moves with the
// control's edge, so the mouse's offset from the grab point is always the step still to go.
void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_) return;
    dragDelta_ = Horizontal() ? x - dragStart_.X : y - dragStart_.Y;
    if (resizeStyle_ == rsUpdate) MoveBy(dragDelta_);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (dragging_ && button == mbLeft) {
        dragging_ = false;
        MoveBy(Horizontal() ? x - dragStart_.X : y - dragStart_.Y);
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

// ---- TImage

KV_PUBLISHED(TImage) {
    PublishControlMembers(b, "Align Anchors");
    b.Property("AutoSize", &T::AutoSize, &T::SetAutoSize).Default(0);
    b.Property("Center", &T::Center, &T::SetCenter).Default(0);
    PublishControlMembers(b, "ParentShowHint");
    b.Property("Picture", &T::Picture, &T::SetPicture);
    PublishControlMembers(b, "PopupMenu ShowHint");
    b.Property("Stretch", &T::Stretch, &T::SetStretch).Default(0);
    b.Property("Transparent", &T::Transparent, &T::SetTransparent).Default(0);
    PublishControlMembers(b, "Visible OnClick OnDblClick OnMouseDown OnMouseMove OnMouseUp");
}

TImage::TImage(TComponent* owner)
    : TGraphicControl(owner),
      picture_(std::make_unique<TBitmap>()),
      canvas_(std::make_unique<TControlCanvas>(this)) {
    SetBounds(0, 0, 105, 105);
    picture_->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
}

TImage::~TImage() {
    picture_->OnChange = TNotifyEvent();
}

void TImage::SetPicture(TBitmap* value) {
    picture_->Assign(value);
}

void TImage::PictureChanged(TObject*) {
    if (autoSize_ && !picture_->Empty())
        SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
    Invalidate();
}

void TImage::SetAutoSize(bool value) {
    autoSize_ = value;
    PictureChanged(this);
}

void TImage::SetCenter(bool value) {
    center_ = value;
    Invalidate();
}

void TImage::SetStretch(bool value) {
    stretch_ = value;
    Invalidate();
}

void TImage::Paint() {
    int x = 0;
    int y = 0;
    if (center_) {
        x = (Width() - picture_->Width()) / 2;
        y = (Height() - picture_->Height()) / 2;
    }
    canvas_->Draw(x, y, picture_.get());
}

// ---- TGroupButton and TCustomRadioGroup

KV_PUBLISHED(TGroupButton) {}

TGroupButton::TGroupButton(TComponent* owner) : TRadioButton(owner) {}

KV_PUBLISHED(TCustomRadioGroup) {}

KV_PUBLISHED(TRadioGroup) {
    PublishControlMembers(b, "Align Anchors Caption Color");
    b.Property("Columns", &T::Columns, &T::SetColumns).Default(1);
    PublishControlMembers(b, "Enabled Font");
    b.Property("ItemIndex", &T::ItemIndex, &T::SetItemIndex).Default(-1);
    b.Property("Items", &T::Items, &T::SetItems);
    PublishControlMembers(b, "ParentColor ParentFont ParentShowHint PopupMenu ShowHint");
    PublishControlMembers(b, "TabOrder TabStop Visible OnClick OnEnter OnExit");
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner)
    : TCustomGroupBox(owner), items_(std::make_unique<TStringList>()) {
    items_->OnChange = TNotifyEvent(this, &TCustomRadioGroup::ItemsChanged);
}

TCustomRadioGroup::~TCustomRadioGroup() {
    items_->OnChange = TNotifyEvent();
}

void TCustomRadioGroup::SetItems(TStrings* value) {
    if (value != nullptr) items_->Assign(value);
}

TGroupButton* TCustomRadioGroup::Buttons(int index) const {
    if (index < 0 || index >= ButtonCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return buttons_[static_cast<std::size_t>(index)];
}

// Checking the new button raises the group's OnClick, also when the program sets it, as the
// platform's radio group does.
void TCustomRadioGroup::SetItemIndex(int value) {
    if (IsLoading(*this)) {
        itemIndex_ = value;
        return;
    }
    value = std::clamp(value, -1, ButtonCount() - 1);
    if (itemIndex_ == value) return;
    if (itemIndex_ >= 0) Buttons(itemIndex_)->SetChecked(false);
    itemIndex_ = value;
    if (value >= 0) Buttons(value)->SetChecked(true);
}

void TCustomRadioGroup::SetColumns(int value) {
    value = std::clamp(value, 1, 16);
    if (columns_ == value) return;
    columns_ = value;
    ArrangeButtons();
}

void TCustomRadioGroup::ItemsChanged(TObject*) {
    if (IsLoading(*this)) return;
    if (itemIndex_ >= items_->Count()) itemIndex_ = items_->Count() - 1;
    UpdateButtons();
}

void TCustomRadioGroup::UpdateButtons() {
    while (ButtonCount() > items_->Count()) {
        TGroupButton* last = buttons_.back();
        buttons_.pop_back();
        last->Free();
    }
    while (ButtonCount() < items_->Count()) {
        auto* button = NewObject<TGroupButton>(this);
        button->SetParentShowHint(false);
        button->OnClick = TNotifyEvent(this, &TCustomRadioGroup::ButtonClick);
        button->SetParent(this);
        buttons_.push_back(button);
    }
    updating_ = true;
    try {
        for (int i = 0; i < ButtonCount(); ++i) {
            TGroupButton* button = Buttons(i);
            button->SetCaption(items_->Strings(i));
            button->SetEnabled(Enabled());
            button->SetChecked(i == itemIndex_);
        }
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
    ArrangeButtons();
    Invalidate();
}

void TCustomRadioGroup::ArrangeButtons() {
    if (buttons_.empty() || IsLoading(*this)) return;
    const int count = ButtonCount();
    const int textHeight = Canvas()->TextHeight("0");
    const int perColumn = (count + columns_ - 1) / columns_;
    const int buttonWidth = (Width() - 10) / columns_;
    const int inner = Height() - textHeight - 5;
    const int buttonHeight = inner / perColumn;
    const int topMargin = textHeight + 1 + (inner % perColumn) / 2;
    for (int i = 0; i < count; ++i) {
        TGroupButton* button = Buttons(i);
        button->SetBounds((i / perColumn) * buttonWidth + 8,
                          (i % perColumn) * buttonHeight + topMargin, buttonWidth, buttonHeight);
        button->SetVisible(true);
    }
}

void TCustomRadioGroup::ButtonClick(TObject* sender) {
    if (updating_) return;
    const auto found = std::find(buttons_.begin(), buttons_.end(), sender);
    if (found == buttons_.end()) return;
    itemIndex_ = static_cast<int>(found - buttons_.begin());
    Click();
}

bool TCustomRadioGroup::SelectItemByUser(const std::string& item) {
    const int index = items_->IndexOf(item);
    return index >= 0 && SelectIndexByUser(index);
}

bool TCustomRadioGroup::SelectIndexByUser(int index) {
    if (index < 0 || index >= ButtonCount()) return false;
    TGroupButton* button = Buttons(index);
    if (!button->CanFocus()) return false;
    button->Click();
    return true;
}

// The arrow keys move among the group's buttons (wrapping round, past those that take no
// focus) and check the button they arrive at, as the platform's dialog keys do for a group of
// radio buttons.
bool TCustomRadioGroup::ArrowKey(Word key, const TControl* from) {
    if (key != VK_LEFT && key != VK_RIGHT && key != VK_UP && key != VK_DOWN) return false;
    const auto found = std::find(buttons_.begin(), buttons_.end(), from);
    if (found == buttons_.end()) return false;
    const int count = ButtonCount();
    const int step = key == VK_RIGHT || key == VK_DOWN ? 1 : count - 1;
    const int start = static_cast<int>(found - buttons_.begin());
    for (int i = (start + step) % count; i != start; i = (i + step) % count) {
        TGroupButton* button = Buttons(i);
        if (!button->CanFocus()) continue;
        const auto life = button->LifeToken();
        button->SetFocus();
        if (!life.expired() && button->Focused()) button->Click();
        break;
    }
    return true;
}

void TCustomRadioGroup::WndProc(TMessage& message) {
    if (message.Msg == CM_CHILDKEY &&
        ArrowKey(static_cast<Word>(message.WParam), reinterpret_cast<TControl*>(message.LParam))) {
        message.Result = 1;
        return;
    }
    TCustomGroupBox::WndProc(message);
    switch (message.Msg) {
        case CM_ENABLEDCHANGED:
            for (TGroupButton* button : buttons_)
                button->SetEnabled(Enabled());
            break;
        case CM_FONTCHANGED:
        case WM_SIZE:
            ArrangeButtons();
            break;
        default:
            break;
    }
}

// A button freed by someone else leaves the list (the group owns its buttons).
void TCustomRadioGroup::Notification(TComponent* component, TOperation operation) {
    TCustomGroupBox::Notification(component, operation);
    if (operation == opRemove) std::erase(buttons_, component);
}

void TCustomRadioGroup::Loaded() {
    TCustomGroupBox::Loaded();
    itemIndex_ = std::clamp(itemIndex_, -1, items_->Count() - 1);
    UpdateButtons();
}

}  // namespace kv
