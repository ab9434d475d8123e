#include "platform/ui/Menus.h"

#include <algorithm>
#include <array>

#include "platform/core/SysUtils.h"
#include "platform/ui/ImgList.h"

namespace kv {

KV_REGISTER_CLASS(TMenuItem);
KV_REGISTER_CLASS(TPopupMenu);
KV_REGISTER_CLASS(TMainMenu);

namespace {

struct TKeyName {
    Word key;
    const char* name;
};

constexpr std::array<TKeyName, 17> kKeyNames = {{
    {VK_BACK, "BkSp"},
    {VK_TAB, "Tab"},
    {VK_RETURN, "Enter"},
    {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"},
    {VK_NEXT, "PgDn"},
    {VK_END, "End"},
    {VK_HOME, "Home"},
    {VK_LEFT, "Left"},
    {VK_UP, "Up"},
    {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},
    {VK_INSERT, "Ins"},
    {VK_DELETE, "Del"},
    {VK_ADD, "Num +"},
    {VK_SUBTRACT, "Num -"},
}};

struct TModifier {
    TShortCut bit;
    const char* prefix;
};

constexpr std::array<TModifier, 3> kModifiers = {{
    {scShift, "Shift+"},
    {scCtrl, "Ctrl+"},
    {scAlt, "Alt+"},
}};

std::string KeyName(Word key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F12) return "F" + IntToStr(key - VK_F1 + 1);
    for (const TKeyName& k : kKeyNames)
        if (k.key == key) return k.name;
    return {};
}

Word KeyOfName(std::string_view name) {
    if (name.size() == 1) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<Word>(c);
    }
    for (Word f = VK_F1; f <= VK_F12; ++f)
        if (SameText(name, KeyName(f))) return f;
    for (const TKeyName& k : kKeyNames)
        if (SameText(name, k.name)) return k.key;
    return 0;
}

}  // namespace

std::string StripHotkey(std::string_view caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            out += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
            out += '&';
            ++i;
        }
    }
    return out;
}

TShortCut ShortCut(Word key, TShiftState shift) {
    if ((key & 0xFF00) != 0) return scNone;
    TShortCut result = key;
    if (shift.Contains(ssShift)) result |= scShift;
    if (shift.Contains(ssCtrl)) result |= scCtrl;
    if (shift.Contains(ssAlt)) result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut shortCut, Word& key, TShiftState& shift) {
    key = static_cast<Word>(shortCut & 0xFF);
    shift = {};
    if ((shortCut & scShift) != 0) shift.Include(ssShift);
    if ((shortCut & scCtrl) != 0) shift.Include(ssCtrl);
    if ((shortCut & scAlt) != 0) shift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut shortCut) {
    const std::string name = KeyName(static_cast<Word>(shortCut & 0xFF));
    if (name.empty()) return {};
    std::string text;
    for (const TModifier& m : kModifiers)
        if ((shortCut & m.bit) != 0) text += m.prefix;
    return text + name;
}

TShortCut TextToShortCut(std::string_view text) {
    TShortCut modifiers = 0;
    bool found = true;
    while (found) {
        found = false;
        for (const TModifier& m : kModifiers) {
            const std::string_view prefix = m.prefix;
            if (text.size() > prefix.size() && SameText(text.substr(0, prefix.size()), prefix)) {
                modifiers |= m.bit;
                text.remove_prefix(prefix.size());
                found = true;
            }
        }
    }
    const Word key = KeyOfName(text);
    return key == 0 ? scNone : static_cast<TShortCut>(key | modifiers);
}

const TTypeInfo* ShortCutTypeInfo() {
    return NamedIntegerTypeInfo("TShortCut");
}

// ---- TMenuItem

KV_PUBLISHED(TMenuItem) {
    b.Property("AutoCheck", &T::AutoCheck, &T::SetAutoCheck).Default(0);
    b.Property("Break", &T::Break, &T::SetBreak).Default(mbNone);
    b.Property("Caption", &T::Caption, &T::SetCaption);
    b.Property("Checked", &T::Checked, &T::SetChecked).Default(0);
    b.Property("Default", &T::Default, &T::SetDefault).Default(0);
    b.Property("Enabled", &T::Enabled, &T::SetEnabled).Default(1);
    b.Property("GroupIndex", &T::GroupIndex, &T::SetGroupIndex).Default(0);
    b.Property("Hint", &T::Hint, &T::SetHint);
    b.Property("ImageIndex", &T::ImageIndex, &T::SetImageIndex).Default(-1);
    b.Property("RadioItem", &T::RadioItem, &T::SetRadioItem).Default(0);
    b.Property("ShortCut", &T::ShortCut, &T::SetShortCut).Type(ShortCutTypeInfo()).Default(0);
    b.Property("Visible", &T::Visible, &T::SetVisible).Default(1);
    b.Event("OnClick", &T::OnClick);
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    if (parent_ != nullptr) parent_->Remove(this);
    while (!items_.empty())
        items_.back()->Free();
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EMenuError("Menu index out of range (" + IntToStr(index) + ")");
    return items_[static_cast<std::size_t>(index)];
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->parent_ != nullptr)
        item = item->parent_;
    return item->menu_;
}

int TMenuItem::MenuIndex() const {
    return parent_ == nullptr ? -1 : parent_->IndexOf(this);
}

void TMenuItem::SetMenuIndex(int value) {
    if (parent_ == nullptr) return;
    TMenuItem* parent = parent_;
    value = std::clamp(value, 0, parent->Count() - 1);
    parent->Remove(this);
    parent->Insert(value, this);
}

void TMenuItem::SetChecked(bool value) {
    if (checked_ == value) return;
    checked_ = value;
    UncheckGroupSiblings();
}

void TMenuItem::UncheckGroupSiblings() {
    if (!checked_ || !radioItem_ || parent_ == nullptr) return;
    for (TMenuItem* other : parent_->items_)
        if (other != this && other->radioItem_ && other->groupIndex_ == groupIndex_)
            other->checked_ = false;
}

void TMenuItem::SetRadioItem(bool value) {
    radioItem_ = value;
    UncheckGroupSiblings();
}

// A checked radio item moving into another group leaves that group one checked item.
void TMenuItem::SetGroupIndex(int value) {
    groupIndex_ = std::clamp(value, 0, 255);
    UncheckGroupSiblings();
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (item == nullptr) return;
    if (item->parent_ != nullptr) throw EMenuError("Menu inserted twice");
    for (const TMenuItem* p = this; p != nullptr; p = p->parent_)
        if (p == item) throw EMenuError("A menu item cannot hold itself");
    if (index < 0 || index > Count())
        throw EMenuError("Menu index out of range (" + IntToStr(index) + ")");
    InsertItem(index, item);
}

void TMenuItem::InsertItem(int index, TMenuItem* item) {
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    item->UncheckGroupSiblings();
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = Items(index);
    items_.erase(items_.begin() + index);
    item->parent_ = nullptr;
}

void TMenuItem::Remove(TMenuItem* item) {
    const int index = IndexOf(item);
    if (index >= 0) Delete(index);
}

void TMenuItem::Clear() {
    while (!items_.empty())
        items_.back()->Free();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    const auto found = std::find(items_.begin(), items_.end(), item);
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

TMenuItem* TMenuItem::Find(std::string_view caption) const {
    const std::string wanted = StripHotkey(caption);
    for (TMenuItem* item : items_)
        if (SameText(StripHotkey(item->caption_), wanted)) return item;
    return nullptr;
}

TComponent* TMenuItem::GetParentComponent() const {
    if (parent_ != nullptr && parent_->menu_ != nullptr) return parent_->menu_;
    return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    TMenuItem* target = nullptr;
    if (auto* menu = dynamic_cast<TMenu*>(parent)) {
        target = menu->Items();
    } else {
        target = dynamic_cast<TMenuItem*>(parent);
    }
    if (target == nullptr)
        throw EMenuError("Menu item '" + Name() + "' belongs in a menu or a menu item, not in " +
                         (parent == nullptr ? std::string("nil") : "a " + parent->ClassName()));
    if (target == parent_) return;
    for (const TMenuItem* p = target; p != nullptr; p = p->parent_)
        if (p == this) throw EMenuError("A menu item cannot hold itself");
    if (parent_ != nullptr) parent_->Remove(this);
    target->Add(this);
}

TCustomImageList* TMenuItem::GetImageList() const {
    const TMenu* menu = GetParentMenu();
    return menu == nullptr ? nullptr : menu->Images();
}

void TMenuItem::Click() {
    if (!enabled_) return;
    if (autoCheck_ && !(radioItem_ && checked_)) SetChecked(!checked_);
    OnClick(this);
}

// ---- TMenu

KV_PUBLISHED(TMenu) {}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(NewObject<TMenuItem>(this)) {
    items_->menu_ = this;
}

TMenu::~TMenu() = default;

void TMenu::SetImages(TCustomImageList* value) {
    if (images_ != nullptr) images_->RemoveFreeNotification(this);
    images_ = value;
    if (value != nullptr) value->FreeNotification(this);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == images_) images_ = nullptr;
}

namespace {

TMenuItem* FindShortCut(const TMenuItem& item, TShortCut shortCut) {
    for (int i = 0; i < item.Count(); ++i) {
        TMenuItem* child = item.Items(i);
        if (!child->Enabled() || !child->Visible()) continue;
        if (child->ShortCut() == shortCut) return child;
        if (TMenuItem* found = FindShortCut(*child, shortCut)) return found;
    }
    return nullptr;
}

}  // namespace

TMenuItem* TMenu::FindItemByShortCut(TShortCut shortCut) const {
    return shortCut == scNone ? nullptr : FindShortCut(*items_, shortCut);
}

bool TMenu::IsShortCut(Word key, TShiftState shift) {
    TMenuItem* item = FindItemByShortCut(ShortCut(key, shift));
    if (item == nullptr) return false;
    item->Click();
    return true;
}

// ---- TPopupMenu

KV_PUBLISHED(TPopupMenu) {
    b.Property("Alignment", &T::Alignment, &T::SetAlignment).Default(paLeft);
    b.Property("AutoPopup", &T::AutoPopup, &T::SetAutoPopup).Default(1);
    b.Property("Images", &T::Images, &T::SetImages);
    b.Property("OwnerDraw", &T::OwnerDraw, &T::SetOwnerDraw).Default(0);
    b.Property("TrackButton", &T::TrackButton, &T::SetTrackButton).Default(tbRightButton);
    b.Event("OnPopup", &T::OnPopup);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

void TPopupMenu::SetPopupComponent(TComponent* value) {
    if (popupComponent_ != nullptr) popupComponent_->RemoveFreeNotification(this);
    popupComponent_ = value;
    if (value != nullptr) value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int x, int y) {
    popupPoint_ = Point(x, y);
    ++popupCount_;
    OnPopup(this);
}

void TPopupMenu::PopupFor(TControl& control, int x, int y) {
    SetPopupComponent(&control);
    const TPoint p = control.ClientToScreen(Point(x, y));
    Popup(p.X, p.Y);
}

KV_PUBLISHED(TMainMenu) {
    b.Property("Images", &T::Images, &T::SetImages);
    b.Property("OwnerDraw", &T::OwnerDraw, &T::SetOwnerDraw).Default(0);
}

// The right click goes up the parents as long as none of them has a menu to show, as the
// platform's context-menu message does.
bool ShowContextMenu(TControl& control, int x, int y) {
    const TPoint screen = control.ClientToScreen(Point(x, y));
    for (TControl* c = &control; c != nullptr; c = c->Parent()) {
        auto* menu = dynamic_cast<TPopupMenu*>(c->PopupMenu());
        if (menu == nullptr || !menu->AutoPopup()) continue;
        menu->SetPopupComponent(c);
        menu->Popup(screen.X, screen.Y);
        return true;
    }
    return false;
}

}  // namespace kv
