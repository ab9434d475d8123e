// ComCtrls: tool bars and tool buttons, status bars and their panels.
#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Widgetset.h"

namespace kv {

KV_REGISTER_CLASS(TToolBar);
KV_REGISTER_CLASS(TToolButton);
KV_REGISTER_CLASS(TStatusBar);

namespace {

bool IsLoading(const TComponent& component) {
    return component.ComponentState().Contains(csLoading);
}

bool IsSeparator(TToolButtonStyle style) {
    return style == tbsSeparator || style == tbsDivider;
}

}  // namespace

// ---- TToolButton

KV_PUBLISHED(TToolButton) {
    b.Property("AllowAllUp", &T::AllowAllUp, &T::SetAllowAllUp).Default(0);
    PublishControlMembers(b, "Caption");
    b.Property("Down", &T::Down, &T::SetDown).Default(0);
    b.Property("DropdownMenu", &T::DropdownMenu, &T::SetDropdownMenu);
    PublishControlMembers(b, "Enabled");
    b.Property("Grouped", &T::Grouped, &T::SetGrouped).Default(0);
    b.Property("ImageIndex", &T::ImageIndex, &T::SetImageIndex).Default(-1);
    b.Property("Indeterminate", &T::Indeterminate, &T::SetIndeterminate).Default(0);
    b.Property("Marked", &T::Marked, &T::SetMarked).Default(0);
    b.Property("MenuItem", &T::MenuItem, &T::SetMenuItem);
    PublishControlMembers(b, "ParentShowHint PopupMenu ShowHint");
    b.Property("Style", &T::Style, &T::SetStyle).Default(tbsButton);
    PublishControlMembers(b, "Visible");
    b.Property("Wrap", &T::Wrap, &T::SetWrap).Default(0);
    PublishControlMembers(b, "OnClick OnMouseDown OnMouseMove OnMouseUp");
}

TToolButton::TToolButton(TComponent* owner)
    : TGraphicControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {
    SetBounds(0, 0, 23, 22);
}

// While the tool bar itself goes, it is no tool bar any more (the cast fails) and needs no
// telling.
TToolButton::~TToolButton() {
    if (TToolBar* bar = ToolBar()) bar->RemoveButton(this);
}

TToolBar* TToolButton::ToolBar() const {
    return dynamic_cast<TToolBar*>(Parent());
}

int TToolButton::Index() const {
    const TToolBar* bar = ToolBar();
    if (bar == nullptr) return -1;
    const auto found = std::find(bar->buttons_.begin(), bar->buttons_.end(), this);
    return found == bar->buttons_.end() ? -1 : static_cast<int>(found - bar->buttons_.begin());
}

void TToolButton::SetParent(TWinControl* parent) {
    if (parent == Parent()) return;
    if (TToolBar* bar = ToolBar()) bar->RemoveButton(this);
    TGraphicControl::SetParent(parent);
    if (TToolBar* bar = ToolBar()) bar->AddButton(this);
}

void TToolButton::SetStyle(TToolButtonStyle value) {
    if (style_ == value) return;
    const bool wasSeparator = IsSeparator(style_);
    style_ = value;
    if (IsSeparator(value) && !wasSeparator) SetWidth(8);
    if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::SetWrap(bool value) {
    if (wrap_ == value) return;
    wrap_ = value;
    if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

// A button shown or hidden makes room or takes it; so does a caption the bar shows.
void TToolButton::WndProc(TMessage& message) {
    const auto life = LifeToken();
    TGraphicControl::WndProc(message);
    if (life.expired()) return;
    TToolBar* bar = ToolBar();
    if (bar == nullptr) return;
    if (message.Msg == CM_VISIBLECHANGED || (message.Msg == CM_TEXTCHANGED && bar->ShowCaptions()))
        bar->ArrangeButtons();
}

void TToolButton::SetImageIndex(int value) {
    imageIndex_ = value;
    Invalidate();
}

std::vector<TToolButton*> TToolButton::Group() const {
    std::vector<TToolButton*> group;
    const TToolBar* bar = ToolBar();
    const int index = Index();
    if (bar == nullptr || index < 0) return group;
    auto inGroup = [](const TToolButton* b) { return b->style_ == tbsCheck && b->grouped_; };
    int first = index;
    while (first > 0 && inGroup(bar->buttons_[static_cast<std::size_t>(first - 1)]))
        --first;
    for (int i = first; i < bar->ButtonCount(); ++i) {
        TToolButton* b = bar->buttons_[static_cast<std::size_t>(i)];
        if (i > index && !inGroup(b)) break;
        group.push_back(b);
    }
    return group;
}

void TToolButton::SetDown(bool value) {
    if (down_ == value) return;
    down_ = value;
    if (value && grouped_ && style_ == tbsCheck) {
        for (TToolButton* other : Group()) {
            if (other != this && other->down_) {
                other->down_ = false;
                other->Invalidate();
            }
        }
    }
    Invalidate();
}

void TToolButton::SetDropdownMenu(TPopupMenu* value) {
    if (dropdownMenu_ != nullptr) dropdownMenu_->RemoveFreeNotification(this);
    dropdownMenu_ = value;
    if (value != nullptr) value->FreeNotification(this);
}

void TToolButton::SetMenuItem(TMenuItem* value) {
    if (menuItem_ != nullptr) menuItem_->RemoveFreeNotification(this);
    menuItem_ = value;
    if (value != nullptr) value->FreeNotification(this);
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == dropdownMenu_) dropdownMenu_ = nullptr;
    if (component == menuItem_) menuItem_ = nullptr;
}

// A grouped check button that is down stays down unless the group allows all up.
void TToolButton::Click() {
    if (IsSeparator(style_)) return;
    if (style_ == tbsCheck) {
        if (!down_) {
            SetDown(true);
        } else if (!grouped_ || allowAllUp_) {
            SetDown(false);
        }
    }
    const auto life = LifeToken();
    TGraphicControl::Click();
    if (!life.expired() && menuItem_ != nullptr) menuItem_->Click();
}

void TToolButton::DropDownClick() {
    if (dropdownMenu_ != nullptr) dropdownMenu_->PopupFor(*this, 0, Height());
}

void TToolButton::PaintEdge(bool sunk) {
    Frame3D(*canvas_, ClientRect(), sunk ? clBtnShadow : clBtnHighlight,
            sunk ? clBtnHighlight : clBtnShadow);
}

void TToolButton::Paint() {
    if (style_ == tbsSeparator) return;
    if (style_ == tbsDivider) {
        canvas_->Pen()->SetColor(clBtnShadow);
        canvas_->MoveTo(Width() / 2, 0);
        canvas_->LineTo(Width() / 2, Height());
        return;
    }
    const TToolBar* bar = ToolBar();
    const bool sunk = down_;
    if (sunk || (bar != nullptr && !bar->Flat())) PaintEdge(sunk);
    const int offset = sunk ? 1 : 0;
    const TCustomImageList* images = bar != nullptr ? bar->Images() : nullptr;
    const bool hasImage = images != nullptr && imageIndex_ >= 0 && imageIndex_ < images->Count();
    const bool showCaption = bar != nullptr && bar->ShowCaptions() && !Caption().empty();
    const TSize text = showCaption ? canvas_->TextExtent(Caption()) : TSize{};
    const int imageHeight = hasImage ? images->Height() : 0;
    const int gap = hasImage && showCaption ? 2 : 0;
    const int top = (Height() - imageHeight - gap - text.cy) / 2 + offset;
    if (hasImage) {
        images->Draw(canvas_.get(), (Width() - images->Width()) / 2 + offset, top, imageIndex_,
                     EffectiveEnabled());
    }
    if (showCaption) {
        canvas_->Brush()->SetStyle(bsClear);
        canvas_->TextOut((Width() - text.cx) / 2 + offset, top + imageHeight + gap, Caption());
    }
}

// ---- TToolBar

KV_PUBLISHED(TToolBar) {
    PublishControlMembers(b, "Align Anchors");
    b.Property("ButtonHeight", &T::ButtonHeight, &T::SetButtonHeight).Default(22);
    b.Property("ButtonWidth", &T::ButtonWidth, &T::SetButtonWidth).Default(23);
    PublishControlMembers(b, "Caption Color Enabled");
    b.Property("Flat", &T::Flat, &T::SetFlat).Default(0);
    PublishControlMembers(b, "Font");
    b.Property("Images", &T::Images, &T::SetImages);
    b.Property("Indent", &T::Indent, &T::SetIndent).Default(0);
    b.Property("List", &T::List, &T::SetList).Default(0);
    PublishControlMembers(b, "ParentColor ParentFont ParentShowHint PopupMenu");
    b.Property("ShowCaptions", &T::ShowCaptions, &T::SetShowCaptions).Default(0);
    PublishControlMembers(b, "ShowHint TabOrder TabStop");
    b.Property("Transparent", &T::Transparent, &T::SetTransparent).Default(0);
    PublishControlMembers(b, "Visible");
    b.Property("Wrapable", &T::Wrapable, &T::SetWrapable).Default(1);
    PublishControlMembers(b, "OnClick OnDblClick OnResize");
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
    SetColor(clBtnFace);
}

TToolButton* TToolBar::Buttons(int index) const {
    if (index < 0 || index >= ButtonCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return buttons_[static_cast<std::size_t>(index)];
}

void TToolBar::AddButton(TToolButton* button) {
    buttons_.push_back(button);
    ArrangeButtons();
}

void TToolBar::RemoveButton(TToolButton* button) {
    std::erase(buttons_, button);
    ArrangeButtons();
}

void TToolBar::SetButtonWidth(int value) {
    buttonWidth_ = std::max(value, 0);
    ArrangeButtons();
}

void TToolBar::SetButtonHeight(int value) {
    buttonHeight_ = std::max(value, 0);
    ArrangeButtons();
}

void TToolBar::SetImages(TCustomImageList* value) {
    if (images_ != nullptr) images_->RemoveFreeNotification(this);
    images_ = value;
    if (value != nullptr) value->FreeNotification(this);
    Invalidate();
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == images_) images_ = nullptr;
}

void TToolBar::SetIndent(int value) {
    indent_ = std::max(value, 0);
    ArrangeButtons();
}

void TToolBar::SetShowCaptions(bool value) {
    showCaptions_ = value;
    ArrangeButtons();
}

void TToolBar::SetWrapable(bool value) {
    wrapable_ = value;
    ArrangeButtons();
}

// Rows from the left: separators keep their own width, buttons take ButtonWidth (with
// captions shown, at least their caption's width plus 8). A row holds at least one button.
void TToolBar::ArrangeButtons() {
    if (IsLoading(*this)) return;
    int x = indent_;
    int y = 0;
    bool rowEmpty = true;
    for (TToolButton* button : buttons_) {
        if (!button->Visible()) continue;
        int width = buttonWidth_;
        if (IsSeparator(button->Style())) {
            width = button->Width();
        } else if (showCaptions_) {
            const int text = Widgetset().TextExtent(*Font(), button->Caption()).Width + 8;
            width = std::max(width, text);
        }
        if (wrapable_ && !rowEmpty && x + width > ClientWidth()) {
            x = indent_;
            y += buttonHeight_;
        }
        button->SetBounds(x, y, width, buttonHeight_);
        x += width;
        rowEmpty = false;
        if (button->Wrap()) {
            x = indent_;
            y += buttonHeight_;
            rowEmpty = true;
        }
    }
}

void TToolBar::Loaded() {
    TWinControl::Loaded();
    ArrangeButtons();
}

void TToolBar::WndProc(TMessage& message) {
    const auto life = LifeToken();
    TWinControl::WndProc(message);
    if (!life.expired() && message.Msg == WM_SIZE) ArrangeButtons();
}

// ---- status panels

KV_PUBLISHED(TStatusPanel) {
    b.Property("Alignment", &T::Alignment, &T::SetAlignment).Default(taLeftJustify);
    b.Property("Bevel", &T::Bevel, &T::SetBevel).Default(pbLowered);
    b.Property("Style", &T::Style, &T::SetStyle).Default(psText);
    b.Property("Text", &T::Text, &T::SetText);
    b.Property("Width", &T::Width, &T::SetWidth);
}

TStatusPanel::TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

void TStatusPanel::SetText(const std::string& value) {
    if (text_ == value) return;
    text_ = value;
    Changed(false);
}

void TStatusPanel::SetWidth(int value) {
    if (width_ == value) return;
    width_ = value;
    Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment value) {
    alignment_ = value;
    Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel value) {
    bevel_ = value;
    Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle value) {
    style_ = value;
    Changed(false);
}

void TStatusPanel::Assign(const TPersistent* source) {
    const auto* panel = dynamic_cast<const TStatusPanel*>(source);
    if (panel == nullptr) return TCollectionItem::Assign(source);
    text_ = panel->text_;
    width_ = panel->width_;
    alignment_ = panel->alignment_;
    bevel_ = panel->bevel_;
    style_ = panel->style_;
    Changed(true);
}

KV_PUBLISHED(TStatusPanels) {}

TStatusPanels::TStatusPanels(TCustomStatusBar* statusBar)
    : TOwnedCollection(statusBar, TStatusPanel::StaticClass()), statusBar_(statusBar) {}

TStatusPanel* TStatusPanels::Add() {
    return static_cast<TStatusPanel*>(TCollection::Add());
}

TStatusPanel* TStatusPanels::Items(int index) const {
    return ItemAs<TStatusPanel>(index);
}

void TStatusPanels::Update(TCollectionItem*) {
    if (statusBar_ != nullptr) statusBar_->PanelsChanged();
}

// ---- TCustomStatusBar

KV_PUBLISHED(TCustomStatusBar) {}

KV_PUBLISHED(TStatusBar) {
    PublishControlMembers(b, "Align Anchors");
    b.Property("AutoHint", &T::AutoHint, &T::SetAutoHint).Default(0);
    PublishControlMembers(b, "Color Font");
    b.Property("Panels", &T::Panels, &T::SetPanels);
    PublishControlMembers(b, "ParentColor ParentFont ParentShowHint PopupMenu ShowHint");
    b.Property("SimplePanel", &T::SimplePanel, &T::SetSimplePanel).Default(0);
    b.Property("SimpleText", &T::SimpleText, &T::SetSimpleText);
    b.Property("SizeGrip", &T::SizeGrip, &T::SetSizeGrip).Default(1);
    PublishControlMembers(b, "Visible OnClick OnDblClick OnResize");
    b.Event("OnDrawPanel", &T::OnDrawPanel);
}

TCustomStatusBar::TCustomStatusBar(TComponent* owner)
    : TWinControl(owner),
      panels_(std::make_unique<TStatusPanels>(this)),
      canvas_(std::make_unique<TControlCanvas>(this)) {
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
    SetColor(clBtnFace);
}

TCustomStatusBar::~TCustomStatusBar() = default;

void TCustomStatusBar::SetPanels(TStatusPanels* value) {
    if (value != nullptr) panels_->Assign(value);
}

void TCustomStatusBar::SetSimplePanel(bool value) {
    simplePanel_ = value;
    Invalidate();
}

void TCustomStatusBar::SetSimpleText(const std::string& value) {
    simpleText_ = value;
    Invalidate();
}

void TCustomStatusBar::PanelsChanged() {
    Invalidate();
}

TRect TCustomStatusBar::PanelRect(int index) const {
    if (index < 0 || index >= panels_->Count()) return {};
    int x = 0;
    for (int i = 0; i < index; ++i)
        x += std::max(panels_->Items(i)->Width(), 0);
    const int width = index == panels_->Count() - 1 ? std::max(Width() - x, 0)
                                                    : std::max(panels_->Items(index)->Width(), 0);
    return Bounds(x, 0, width, Height());
}

void TCustomStatusBar::PaintPanels() {
    canvas_->Brush()->SetStyle(bsClear);
    if (simplePanel_) {
        canvas_->TextOut(2, 2, simpleText_);
        return;
    }
    for (int i = 0; i < panels_->Count(); ++i) {
        TStatusPanel* panel = panels_->Items(i);
        const TRect rect = PanelRect(i);
        if (panel->Style() == psOwnerDraw) {
            OnDrawPanel(this, panel, rect);
            continue;
        }
        const int width = canvas_->TextWidth(panel->Text());
        int x = rect.Left + 2;
        if (panel->Alignment() == taRightJustify) x = rect.Right - 2 - width;
        if (panel->Alignment() == taCenter) x = rect.Left + (rect.Width() - width) / 2;
        canvas_->TextRect(rect, x, 2, panel->Text());
    }
}

}  // namespace kv
