// The Menus unit: menu items, popup menus and main menus, and shortcuts.
//
// Menu items form a tree under a menu's root item (Items). An item's click raises OnClick when
// the item is enabled; an AutoCheck item toggles Checked first. Checking a RadioItem unchecks
// the other radio items of the same parent with the same GroupIndex. Headless, a popup menu
// that pops up only records where and raises OnPopup; the user's choice is an item's Click.
//
// Form descriptions nest items in their menu or parent item: the reader hands the enclosing
// menu or item to SetParentComponent (IChildComponent).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/ChildComponent.h"
#include "platform/ui/Controls.h"

namespace kv {

class TMenu;
class TCustomImageList;

KV_DECLARE_EXCEPTION(EMenuError, Exception);

KV_ENUM(TMenuBreak, mbNone, mbBreak, mbBarBreak);
KV_ENUM(TPopupAlignment, paLeft, paRight, paCenter);
KV_ENUM(TTrackButton, tbRightButton, tbLeftButton);

// A key with shift state: the key in the low byte, scShift, scCtrl and scAlt above.
using TShortCut = Word;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;
TShortCut ShortCut(Word key, TShiftState shift);
// A caption without its "&" marks ("&&" stands for "&"): what a menu, tab or label shows.
std::string StripHotkey(std::string_view caption);
void ShortCutToKey(TShortCut shortCut, Word& key, TShiftState& shift);
// "Ctrl+S", "Shift+F2", "Del"; empty for none. TextToShortCut reads the same forms (letter case
// ignored) and answers scNone for text it does not know.
std::string ShortCutToText(TShortCut shortCut);
TShortCut TextToShortCut(std::string_view text);
// The published type "TShortCut" of ShortCut properties.
const TTypeInfo* ShortCutTypeInfo();

class TMenuItem : public TComponent, public IChildComponent {
    KV_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* owner);
    // Leaves its parent item and frees its own items.
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value) { caption_ = value; }
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool value);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool value) { autoCheck_ = value; }
    bool Default() const { return default_; }
    void SetDefault(bool value) { default_ = value; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    bool Visible() const { return visible_; }
    void SetVisible(bool value) { visible_ = value; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value) { imageIndex_ = value; }
    // The images ImageIndex picks from: its menu's Images, or null.
    TCustomImageList* GetImageList() const;
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value) { hint_ = value; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut value) { shortCut_ = value; }
    TMenuBreak Break() const { return break_; }
    void SetBreak(TMenuBreak value) { break_ = value; }
    // A separator is an item captioned "-".
    bool IsLine() const { return caption_ == "-"; }

    // ---- the tree
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;  // EMenuError when out of range
    TMenuItem* Parent() const { return parent_; }
    // The menu the item belongs to, or null.
    TMenu* GetParentMenu() const;
    int MenuIndex() const;
    void SetMenuIndex(int value);
    // Adds item last (or at index); an item that has a parent raises EMenuError "Menu inserted
    // twice"; an item into itself or its own items raises too.
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Delete(int index);
    void Remove(TMenuItem* item);
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    // The item with that caption ("&" marks and letter case ignored), or null.
    TMenuItem* Find(std::string_view caption) const;

    // A menu (its root item) or a menu item as parent: what form descriptions nest in. Any
    // other parent raises EMenuError and leaves the item where it was.
    TComponent* GetParentComponent() const override;
    bool HasParent() const override { return true; }
    void SetParentComponent(TComponent* parent) override;

    // The user's choice of the item: nothing when disabled; AutoCheck toggles (a checked radio
    // item stays checked); then OnClick.
    virtual void Click();

    TNotifyEvent OnClick;

private:
    friend class TMenu;
    void InsertItem(int index, TMenuItem* item);
    // A checked radio item unchecks the other radio items of its group.
    void UncheckGroupSiblings();

    std::string caption_;
    bool checked_ = false;
    bool radioItem_ = false;
    int groupIndex_ = 0;
    bool autoCheck_ = false;
    bool default_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    int imageIndex_ = -1;
    std::string hint_;
    TShortCut shortCut_ = scNone;
    TMenuBreak break_ = mbNone;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on a menu's root item
    std::vector<TMenuItem*> items_;
};

class TMenu : public TComponent {
    KV_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    // The root item; its items are the menu's items.
    TMenuItem* Items() const { return items_; }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    // Items drawn by the program instead of the backend.
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value) { ownerDraw_ = value; }
    // The enabled, visible item anywhere in the menu with that shortcut, or null.
    TMenuItem* FindItemByShortCut(TShortCut shortCut) const;
    // Clicks the item of the shortcut; false when there is none.
    bool IsShortCut(Word key, TShiftState shift);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TMenuItem* items_;
    TCustomImageList* images_ = nullptr;
    bool ownerDraw_ = false;
};

class TPopupMenu : public TMenu {
    KV_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* owner);

    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment value) { alignment_ = value; }
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }
    TTrackButton TrackButton() const { return trackButton_; }
    void SetTrackButton(TTrackButton value) { trackButton_ = value; }
    // The control the menu popped up for (set by PopupFor), or null.
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* value);

    // Pops the menu up at a screen position: raises OnPopup and records the position.
    virtual void Popup(int x, int y);
    // Pops it up for a control at a position in the control's client area.
    void PopupFor(TControl& control, int x, int y);
    TPoint PopupPoint() const { return popupPoint_; }
    int PopupCount() const { return popupCount_; }

    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TPopupAlignment alignment_ = paLeft;
    bool autoPopup_ = true;
    TTrackButton trackButton_ = tbRightButton;
    TComponent* popupComponent_ = nullptr;
    TPoint popupPoint_;
    int popupCount_ = 0;
};

class TMainMenu : public TMenu {
    KV_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
};

// What a right click at (x, y) of the control's client area brings up once the button is
// released: the popup menu of the control, else of its nearest parent that has one, pops up
// for the control it belongs to (PopupComponent) at the click's screen position. A menu whose
// AutoPopup is off is passed over. False when no menu popped up.
bool ShowContextMenu(TControl& control, int x, int y);

}  // namespace kv
