#include "platform/ui/Controls.h"

#include <algorithm>
#include <unordered_map>

#include "platform/core/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Widgetset.h"

namespace kv {

namespace {

constexpr TIdentMapEntry kCursors[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},           {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},     {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
};

bool CursorToIdent(int cursor, std::string& ident) {
    return IntToIdent(cursor, ident, kCursors);
}

bool IdentToCursor(std::string_view ident, int& cursor) {
    return IdentToInt(ident, cursor, kCursors);
}

bool IsLoading(const TComponent& component) {
    return component.ComponentState().Contains(csLoading);
}

}  // namespace

const TTypeInfo* CursorTypeInfo() {
    static const TTypeInfo* type = [] {
        const TTypeInfo* t = NamedIntegerTypeInfo("TCursor");
        RegisterIntegerConsts(t, &IdentToCursor, &CursorToIdent);
        return t;
    }();
    return type;
}

KV_PUBLISHED(TControl) {
    b.Property("Left", &T::Left, &T::SetLeft);
    b.Property("Top", &T::Top, &T::SetTop);
    b.Property("Width", &T::Width, &T::SetWidth);
    b.Property("Height", &T::Height, &T::SetHeight);
    b.Property("Cursor", &T::Cursor, &T::SetCursor).Type(CursorTypeInfo()).Default(crDefault);
    b.Property("Hint", &T::Hint, &T::SetHint);
    b.Property("HelpContext", &T::HelpContext, &T::SetHelpContext).Default(0);
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
    font_->OnChange = TNotifyEvent(this, &TControl::FontChanged);
}

TControl::~TControl() {
    life_.reset();
    if (parent_ != nullptr) parent_->RemoveControl(this);
}

TComponent* TControl::GetParentComponent() const {
    return parent_;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent_ == parent) return;
    const auto* self = dynamic_cast<const TWinControl*>(this);
    if (parent != nullptr && self != nullptr && self->ContainsControl(parent))
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_ != nullptr) parent_->RemoveControl(this);
    if (parent != nullptr) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    const TRect old = BoundsRect();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged(old);
}

void TControl::BoundsChanged(const TRect& old) {
    UpdatePeer(TPeerChange::Bounds);
    if (parent_ != nullptr && align_ != alNone) parent_->Realign();
    if (old.Width() != width_ || old.Height() != height_) Resize();
}

void TControl::Resize() {
    if (!IsLoading(*this)) OnResize(this);
}

TPoint TControl::ClientToScreen(TPoint p) const {
    for (const TControl* c = this; c != nullptr; c = c->parent_) {
        p.X += c->left_;
        p.Y += c->top_;
    }
    return p;
}

TPoint TControl::ScreenToClient(TPoint p) const {
    const TPoint origin = ClientToScreen(Point(0, 0));
    return Point(p.X - origin.X, p.Y - origin.Y);
}

void TControl::SetAlign(TAlign value) {
    if (align_ == value) return;
    align_ = value;
    if (parent_ != nullptr) parent_->Realign();
}

void TControl::SetVisible(bool value) {
    if (visible_ == value) return;
    visible_ = value;
    Perform(CM_VISIBLECHANGED, value ? 1 : 0);
}

bool TControl::Showing() const {
    return visible_ && parent_ != nullptr && parent_->Showing();
}

void TControl::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    Perform(CM_ENABLEDCHANGED);
}

bool TControl::EffectiveEnabled() const {
    for (const TControl* c = this; c != nullptr; c = c->parent_)
        if (!c->enabled_) return false;
    return true;
}

void TControl::SetText(const std::string& value) {
    if (GetTextValue() == value) return;
    SetTextValue(value);
    Perform(CM_TEXTCHANGED);
}

void TControl::SetColor(TColor value) {
    if (color_ == value) return;
    color_ = value;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
    if (parentColor_ == value) return;
    parentColor_ = value;
    if (value) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || parent_ == nullptr || color_ == parent_->color_) return;
    color_ = parent_->color_;
    Perform(CM_COLORCHANGED);
}

void TControl::SetFont(TFont* value) {
    if (value != nullptr) font_->Assign(value);
}

void TControl::SetParentFont(bool value) {
    if (parentFont_ == value) return;
    parentFont_ = value;
    if (value) ParentFontChanged();
}

// A change made through the font object itself is the control's own font from now on; the
// copy taken from the parent is not.
void TControl::FontChanged(TObject*) {
    if (!updatingFont_) parentFont_ = false;
    Perform(CM_FONTCHANGED);
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || parent_ == nullptr) return;
    updatingFont_ = true;
    try {
        font_->Assign(parent_->font_.get());
    } catch (...) {
        updatingFont_ = false;
        throw;
    }
    updatingFont_ = false;
}

void TControl::SetCursor(TCursor value) {
    if (cursor_ == value) return;
    cursor_ = value;
    UpdatePeer(TPeerChange::Other);
}

void TControl::SetShowHint(bool value) {
    if (showHint_ == value) return;
    showHint_ = value;
    parentShowHint_ = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
    if (parentShowHint_ == value) return;
    parentShowHint_ = value;
    if (value) ParentShowHintChanged();
}

void TControl::ParentShowHintChanged() {
    if (!parentShowHint_ || parent_ == nullptr || showHint_ == parent_->showHint_) return;
    showHint_ = parent_->showHint_;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetPopupMenu(TComponent* menu) {
    if (popupMenu_ == menu) return;
    if (popupMenu_ != nullptr) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = menu;
    if (menu != nullptr) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::Loaded() {
    TComponent::Loaded();
    // Properties read from a description may have set ParentFont and friends before the
    // parent's own values were known.
    if (parent_ != nullptr) {
        ParentColorChanged();
        ParentFontChanged();
        ParentShowHintChanged();
    }
}

void TControl::Click() {
    OnClick(this);
}

void TControl::DblClick() {
    OnDblClick(this);
}

void TControl::BringToFront() {
    if (parent_ == nullptr) return;
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.push_back(this);
    UpdatePeer(TPeerChange::Other);
}

void TControl::SendToBack() {
    if (parent_ == nullptr) return;
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.insert(list.begin(), this);
    UpdatePeer(TPeerChange::Other);
}

void TControl::Invalidate() {
    UpdatePeer(TPeerChange::Paint);
}

void TControl::UpdatePeer(TPeerChange change) const {
    Widgetset().UpdatePeer(const_cast<TControl&>(*this), change);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    WndProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& message) {
    switch (message.Msg) {
        case CM_PARENTFONTCHANGED:
            ParentFontChanged();
            break;
        case CM_PARENTCOLORCHANGED:
            ParentColorChanged();
            break;
        case CM_PARENTSHOWHINTCHANGED:
            ParentShowHintChanged();
            break;
        case CM_FONTCHANGED:
            UpdatePeer(TPeerChange::Font);
            break;
        case CM_COLORCHANGED:
            UpdatePeer(TPeerChange::Color);
            break;
        case CM_TEXTCHANGED:
            UpdatePeer(TPeerChange::Text);
            break;
        case CM_ENABLEDCHANGED:
            UpdatePeer(TPeerChange::Enabled);
            break;
        case CM_VISIBLECHANGED:
            UpdatePeer(TPeerChange::Visible);
            if (parent_ != nullptr && align_ != alNone) parent_->Realign();
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            const TMouseButton button = message.Msg == WM_LBUTTONDOWN   ? mbLeft
                                        : message.Msg == WM_RBUTTONDOWN ? mbRight
                                                                        : mbMiddle;
            MouseDown(button, {}, LoWordSigned(message.LParam), HiWordSigned(message.LParam));
            break;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            const TMouseButton button = message.Msg == WM_LBUTTONUP   ? mbLeft
                                        : message.Msg == WM_RBUTTONUP ? mbRight
                                                                      : mbMiddle;
            MouseUp(button, {}, LoWordSigned(message.LParam), HiWordSigned(message.LParam));
            break;
        }
        case WM_MOUSEMOVE:
            MouseMove({}, LoWordSigned(message.LParam), HiWordSigned(message.LParam));
            break;
        default:
            break;
    }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    OnMouseMove(this, shift, x, y);
}

bool TControl::SelectItemByUser(const std::string&) {
    return false;
}

bool TControl::SelectIndexByUser(int) {
    return false;
}

// ---------------------------------------------------------------------------------------------

KV_PUBLISHED(TGraphicControl) {}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

KV_PUBLISHED(TCustomControl) {}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

// ---------------------------------------------------------------------------------------------

TCustomForm* GetParentForm(const TControl* control) {
    if (control == nullptr) return nullptr;
    while (control->Parent() != nullptr)
        control = control->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(control));
}

TCustomForm* ValidParentForm(const TControl* control) {
    TCustomForm* form = GetParentForm(control);
    if (form == nullptr) {
        const std::string name = control == nullptr ? std::string() : control->Name();
        throw EInvalidOperation("Control '" + name + "' has no parent window");
    }
    return form;
}

std::string GetShortHint(const std::string& hint) {
    const std::size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string GetLongHint(const std::string& hint) {
    const std::size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

}  // namespace kv
