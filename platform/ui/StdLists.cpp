// StdCtrls: the items of list controls, combo boxes and list boxes.
#include <algorithm>
#include <numeric>

#include "platform/core/SysUtils.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/Widgetset.h"

namespace kv {

KV_REGISTER_CLASS(TComboBox);
KV_REGISTER_CLASS(TListBox);

namespace {

bool IsLoading(const TComponent& component) {
    return component.ComponentState().Contains(csLoading);
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           AnsiCompareText(text.substr(0, prefix.size()), prefix) == 0;
}

// The index after removing or inserting at changed: the item it named moves along; a removed
// one is gone (-1).
int AfterDelete(int selected, int deleted) {
    if (selected == deleted) return -1;
    return selected > deleted ? selected - 1 : selected;
}

int AfterInsert(int selected, int inserted) {
    return selected >= inserted ? selected + 1 : selected;
}

int AfterReorder(int selected, const std::vector<int>& order) {
    if (selected < 0) return selected;
    const auto found = std::find(order.begin(), order.end(), selected);
    return found == order.end() ? -1 : static_cast<int>(found - order.begin());
}

}  // namespace

// ---- TListControlItems

KV_PUBLISHED(TListControlItems) {}

std::string TListControlItems::Get(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].text;
}

void TListControlItems::Put(int index, const std::string& s) {
    CheckIndex(index);
    items_[static_cast<std::size_t>(index)].text = s;
}

void* TListControlItems::GetObjectPtr(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].pointer;
}

void TListControlItems::PutObjectPtr(int index, void* pointer) {
    CheckIndex(index);
    items_[static_cast<std::size_t>(index)].pointer = pointer;
}

int TListControlItems::Add(const std::string& s) {
    return AddPointer(s, nullptr);
}

// In a sorted list the line goes after the lines that sort before or equal to it.
int TListControlItems::AddPointer(const std::string& s, void* pointer) {
    int index = Count();
    if (sorted_) {
        const auto at = std::upper_bound(
            items_.begin(), items_.end(), s,
            [this](const std::string& a, const TItem& b) { return CompareStrings(a, b.text) < 0; });
        index = static_cast<int>(at - items_.begin());
    }
    InsertPointer(index, s, pointer);
    return index;
}

void TListControlItems::Insert(int index, const std::string& s) {
    InsertPointer(index, s, nullptr);
}

void TListControlItems::InsertPointer(int index, const std::string& s, void* pointer) {
    if (index < 0 || index > Count()) IndexError(index);
    items_.insert(items_.begin() + index, TItem{s, pointer});
    listener_.ItemInserted(index);
}

void TListControlItems::Delete(int index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
    listener_.ItemDeleted(index);
}

void TListControlItems::Clear() {
    items_.clear();
    listener_.ItemsCleared();
}

void TListControlItems::SetSorted(bool value) {
    if (sorted_ == value) return;
    sorted_ = value;
    if (value) Sort();
}

void TListControlItems::Sort() {
    std::vector<int> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return CompareStrings(items_[static_cast<std::size_t>(a)].text,
                              items_[static_cast<std::size_t>(b)].text) < 0;
    });
    std::vector<TItem> sorted;
    sorted.reserve(items_.size());
    for (int i : order)
        sorted.push_back(items_[static_cast<std::size_t>(i)]);
    items_ = std::move(sorted);
    listener_.ItemsReordered(order);
}

// ---- TCustomComboBox

KV_PUBLISHED(TCustomComboBox) {}

KV_PUBLISHED(TComboBox) {
    b.Property("Style", &T::Style, &T::SetStyle).Default(csDropDown);
    PublishControlMembers(b, "Align Anchors");
    b.Property("CharCase", &T::CharCase, &T::SetCharCase).Default(ecNormal);
    PublishControlMembers(b, "Color");
    b.Property("DropDownCount", &T::DropDownCount, &T::SetDropDownCount).Default(8);
    PublishControlMembers(b, "Enabled Font");
    b.Property("ImeMode", &T::ImeMode, &T::SetImeMode).Default(imDontCare);
    b.Property("ImeName", &T::ImeName, &T::SetImeName);
    b.Property("ItemHeight", &T::ItemHeight, &T::SetItemHeight);
    b.Property("ItemIndex", &T::ItemIndex, &T::SetItemIndex).Default(-1);
    b.Property("MaxLength", &T::MaxLength, &T::SetMaxLength).Default(0);
    PublishControlMembers(b, "ParentColor ParentFont ParentShowHint PopupMenu ShowHint");
    b.Property("Sorted", &T::Sorted, &T::SetSorted).Default(0);
    PublishControlMembers(b, "TabOrder TabStop Text Visible");
    b.Event("OnChange", &T::OnChange);
    PublishControlMembers(b, "OnClick");
    b.Event("OnCloseUp", &T::OnCloseUp);
    PublishControlMembers(b, "OnDblClick");
    b.Event("OnDrawItem", &T::OnDrawItem);
    b.Event("OnDropDown", &T::OnDropDown);
    PublishControlMembers(b, "OnEnter OnExit OnKeyDown OnKeyPress OnKeyUp");
    b.Event("OnMeasureItem", &T::OnMeasureItem);
    b.Event("OnSelect", &T::OnSelect);
    b.Property("Items", &T::Items, &T::SetItems);
}

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner),
      items_(
          std::make_unique<TListControlItems>(static_cast<TListControlItems::TListener&>(*this))),
      canvas_(std::make_unique<TControlCanvas>(this)) {
    SetTabStop(true);
    SetBounds(0, 0, 145, 21);
}

TCustomComboBox::~TCustomComboBox() = default;

bool TCustomComboBox::IsListStyle() const {
    return style_ == csDropDownList || style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable;
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
    if (style_ == value) return;
    style_ = value;
    if (IsListStyle()) ShowItemText();
    UpdatePeer(TPeerChange::Other);
}

void TCustomComboBox::SetItems(TStrings* value) {
    if (value != nullptr) items_->Assign(value);
}

void TCustomComboBox::SetItemHeight(int value) {
    if (value > 0) itemHeight_ = value;
}

// The text shows the selected item (none: empty).
void TCustomComboBox::ShowItemText() {
    const std::string text = itemIndex_ >= 0 ? items_->Strings(itemIndex_) : std::string();
    if (edit_.Text() == text) return;
    edit_.SetText(text);
    edit_.SelectAll();
    UpdatePeer(TPeerChange::Text);
}

void TCustomComboBox::SetItemIndex(int value) {
    if (IsLoading(*this)) {
        loadingItemIndex_ = value;  // the items may come later
        return;
    }
    if (value < -1 || value >= items_->Count()) value = -1;
    if (itemIndex_ == value && edit_.Text() == (value >= 0 ? items_->Strings(value) : "")) return;
    itemIndex_ = value;
    ShowItemText();
}

void TCustomComboBox::Loaded() {
    TWinControl::Loaded();
    if (loadingItemIndex_ >= 0) SetItemIndex(loadingItemIndex_);
    loadingItemIndex_ = -1;
}

// The program's text: a list style selects the item that equals it (else the first that starts
// with it; nothing when none does); an editable combo box takes the text and selects the item
// that equals it, if any.
void TCustomComboBox::SetTextValue(const std::string& value) {
    if (IsListStyle()) {
        int index = items_->IndexOf(value);
        if (index < 0) index = FindPrefix(value, -1);
        if (index >= 0 && !value.empty()) {
            itemIndex_ = index;
            edit_.SetText(items_->Strings(index));
        }
        return;
    }
    edit_.SetText(value);
    itemIndex_ = items_->IndexOf(value);
}

void TCustomComboBox::SetDroppedDown(bool value) {
    if (droppedDown_ == value) return;
    droppedDown_ = value;
    UpdatePeer(TPeerChange::Other);
    if (value) {
        OnDropDown(this);
    } else {
        OnCloseUp(this);
    }
}

void TCustomComboBox::Clear() {
    items_->Clear();
    SetText("");
}

void TCustomComboBox::Change() {
    OnChange(this);
}

void TCustomComboBox::Select() {
    if (OnSelect) {
        OnSelect(this);
    } else {
        Change();
    }
}

void TCustomComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    canvas_->FillRect(rect);
    if (index >= 0 && index < items_->Count())
        canvas_->TextOut(rect.Left + 2, rect.Top, items_->Strings(index));
}

int TCustomComboBox::FindPrefix(std::string_view prefix, int after) const {
    const int count = items_->Count();
    for (int n = 1; n <= count; ++n) {
        const int i = (after + n) % count;
        if (StartsWithText(items_->Strings(i), prefix)) return i;
    }
    return -1;
}

void TCustomComboBox::UserPick(int index) {
    const auto life = LifeToken();
    itemIndex_ = index;
    edit_.SetText(index >= 0 ? items_->Strings(index) : std::string());
    edit_.SelectAll();
    UpdatePeer(TPeerChange::Text);
    Click();
    if (!life.expired()) Select();
}

bool TCustomComboBox::SelectItemByUser(const std::string& item) {
    const int index = items_->IndexOf(item);
    if (index < 0) return false;
    UserPick(index);
    return true;
}

bool TCustomComboBox::SelectIndexByUser(int index) {
    if (index < 0 || index >= items_->Count()) return false;
    UserPick(index);
    return true;
}

void TCustomComboBox::UserTyped() {
    itemIndex_ = items_->IndexOf(edit_.Text());
    UpdatePeer(TPeerChange::Text);
    Change();
}

void TCustomComboBox::DefaultKeyDown(Word& key, TShiftState shift) {
    const int count = items_->Count();
    const bool alt = shift.Contains(ssAlt);
    if (key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP))) {
        SetDroppedDown(!droppedDown_);
        return;
    }
    if ((key == VK_RETURN || key == VK_ESCAPE) && droppedDown_) {
        SetDroppedDown(false);
        return;
    }
    int target = -2;
    if (key == VK_DOWN) target = std::min(itemIndex_ + 1, count - 1);
    if (key == VK_UP) target = itemIndex_ < 0 ? (count > 0 ? 0 : -1) : std::max(itemIndex_ - 1, 0);
    if (IsListStyle() && key == VK_HOME) target = count > 0 ? 0 : -1;
    if (IsListStyle() && key == VK_END) target = count - 1;
    if (target >= 0 && target != itemIndex_) {
        UserPick(target);
        return;
    }
    if (target != -2 || IsListStyle()) return;
    const bool extend = shift.Contains(ssShift);
    if (key == VK_LEFT) edit_.MoveCaret(edit_.Caret() - 1, extend);
    if (key == VK_RIGHT) edit_.MoveCaret(edit_.Caret() + 1, extend);
    if (key == VK_HOME) edit_.MoveCaret(0, extend);
    if (key == VK_END) edit_.MoveCaret(edit_.Length(), extend);
    if (key == VK_DELETE && edit_.DeleteForward()) UserTyped();
}

void TCustomComboBox::DefaultKeyPress(char& key) {
    const auto ch = static_cast<unsigned char>(key);
    if (IsListStyle()) {
        // A letter picks the next item that starts with it.
        if (ch < 32) return;
        const int index = FindPrefix(std::string(1, key), itemIndex_);
        if (index >= 0 && index != itemIndex_) UserPick(index);
        return;
    }
    if (ch == 8) {
        if (edit_.Backspace()) UserTyped();
    } else if (ch >= 32 && ch != 127) {
        InputMethodText(std::string(1, key));
    }
}

void TCustomComboBox::InputMethodText(const std::string& text) {
    if (IsListStyle()) return;
    std::string typed = text;
    if (charCase_ == ecUpperCase) typed = AnsiUpperCase(typed);
    if (charCase_ == ecLowerCase) typed = AnsiLowerCase(typed);
    if (maxLength_ > 0 &&
        CharCount(edit_.Text()) - edit_.SelLength() + CharCount(typed) > maxLength_)
        return;
    edit_.ReplaceSelection(typed);
    UserTyped();
}

void TCustomComboBox::DoEnter() {
    edit_.SelectAll();
    TWinControl::DoEnter();
}

void TCustomComboBox::WndProc(TMessage& message) {
    // Enter and Esc close an open list (DefaultKeyDown) instead of serving the form's buttons.
    if (message.Msg == CM_WANTSPECIALKEY && droppedDown_ &&
        (message.WParam == VK_RETURN || message.WParam == VK_ESCAPE)) {
        message.Result = 1;
        return;
    }
    TWinControl::WndProc(message);
}

void TCustomComboBox::ItemInserted(int index) {
    itemIndex_ = AfterInsert(itemIndex_, index);
}

void TCustomComboBox::ItemDeleted(int index) {
    const int before = itemIndex_;
    itemIndex_ = AfterDelete(itemIndex_, index);
    if (before == index && IsListStyle()) ShowItemText();
}

void TCustomComboBox::ItemsCleared() {
    itemIndex_ = -1;
    if (IsListStyle()) ShowItemText();
}

void TCustomComboBox::ItemsReordered(const std::vector<int>& order) {
    itemIndex_ = AfterReorder(itemIndex_, order);
}

// ---- TCustomListBox

KV_PUBLISHED(TCustomListBox) {}

KV_PUBLISHED(TListBox) {
    PublishControlMembers(b, "Align Anchors");
    b.Property("Columns", &T::Columns, &T::SetColumns).Default(0);
    PublishControlMembers(b, "Color Enabled");
    b.Property("ExtendedSelect", &T::ExtendedSelect, &T::SetExtendedSelect).Default(1);
    PublishControlMembers(b, "Font");
    b.Property("IntegralHeight", &T::IntegralHeight, &T::SetIntegralHeight).Default(0);
    b.Property("ItemHeight", &T::ItemHeight, &T::SetItemHeight).Default(13);
    b.Property("ItemIndex", &T::ItemIndex, &T::SetItemIndex).Default(-1);
    b.Property("MultiSelect", &T::MultiSelect, &T::SetMultiSelect).Default(0);
    PublishControlMembers(b, "ParentColor ParentFont ParentShowHint PopupMenu ShowHint");
    b.Property("Sorted", &T::Sorted, &T::SetSorted).Default(0);
    b.Property("Style", &T::Style, &T::SetStyle).Default(lbStandard);
    PublishControlMembers(b, "TabOrder TabStop Visible");
    PublishControlMembers(b, "OnClick OnDblClick");
    b.Event("OnDrawItem", &T::OnDrawItem);
    PublishControlMembers(b, "OnEnter OnExit OnKeyDown OnKeyPress OnKeyUp");
    b.Event("OnMeasureItem", &T::OnMeasureItem);
    PublishControlMembers(b, "OnMouseDown OnMouseMove OnMouseUp");
    b.Property("Items", &T::Items, &T::SetItems);
}

TCustomListBox::TCustomListBox(TComponent* owner)
    : TWinControl(owner),
      items_(
          std::make_unique<TListControlItems>(static_cast<TListControlItems::TListener&>(*this))),
      canvas_(std::make_unique<TControlCanvas>(this)) {
    SetTabStop(true);
    SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::SetItems(TStrings* value) {
    if (value != nullptr) items_->Assign(value);
}

void TCustomListBox::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}

// With MultiSelect the index only moves the focus rectangle; otherwise it is the selection.
void TCustomListBox::SetItemIndex(int value) {
    if (IsLoading(*this)) {
        loadingItemIndex_ = value;
        return;
    }
    if (value < -1 || value >= Count()) value = -1;
    itemIndex_ = value;
    if (!multiSelect_) {
        std::fill(selected_.begin(), selected_.end(), false);
        if (value >= 0) selected_[static_cast<std::size_t>(value)] = true;
    }
    UpdatePeer(TPeerChange::Other);
}

void TCustomListBox::Loaded() {
    TWinControl::Loaded();
    if (loadingItemIndex_ >= 0) SetItemIndex(loadingItemIndex_);
    loadingItemIndex_ = -1;
}

void TCustomListBox::SetMultiSelect(bool value) {
    if (multiSelect_ == value) return;
    multiSelect_ = value;
    if (!value) SetItemIndex(itemIndex_);
}

bool TCustomListBox::Selected(int index) const {
    CheckIndex(index);
    return selected_[static_cast<std::size_t>(index)];
}

void TCustomListBox::SetSelected(int index, bool value) {
    CheckIndex(index);
    if (!multiSelect_) {
        if (value) {
            SetItemIndex(index);
        } else if (itemIndex_ == index) {
            SetItemIndex(-1);
        }
        return;
    }
    selected_[static_cast<std::size_t>(index)] = value;
    UpdatePeer(TPeerChange::Other);
}

int TCustomListBox::SelCount() const {
    if (!multiSelect_) return -1;  // as on the platform: single selection has no count
    return static_cast<int>(std::count(selected_.begin(), selected_.end(), true));
}

void TCustomListBox::ClearSelection() {
    std::fill(selected_.begin(), selected_.end(), false);
    if (!multiSelect_) itemIndex_ = -1;
    UpdatePeer(TPeerChange::Other);
}

void TCustomListBox::SetItemHeight(int value) {
    if (value > 0) itemHeight_ = value;
}

void TCustomListBox::SetTopIndex(int value) {
    topIndex_ = std::clamp(value, 0, std::max(Count() - 1, 0));
}

void TCustomListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    canvas_->FillRect(rect);
    if (index >= 0 && index < Count())
        canvas_->TextOut(rect.Left + 2, rect.Top, items_->Strings(index));
}

void TCustomListBox::UserPick(int index) {
    std::fill(selected_.begin(), selected_.end(), false);
    selected_[static_cast<std::size_t>(index)] = true;
    itemIndex_ = index;
    UpdatePeer(TPeerChange::Other);
    Click();
}

bool TCustomListBox::SelectItemByUser(const std::string& item) {
    const int index = items_->IndexOf(item);
    if (index < 0) return false;
    UserPick(index);
    return true;
}

bool TCustomListBox::SelectIndexByUser(int index) {
    if (index < 0 || index >= Count()) return false;
    UserPick(index);
    return true;
}

void TCustomListBox::DefaultKeyDown(Word& key, TShiftState) {
    const int count = Count();
    if (count == 0) return;
    int target = -1;
    if (key == VK_DOWN) target = std::min(itemIndex_ + 1, count - 1);
    if (key == VK_UP) target = std::max(itemIndex_ - 1, 0);
    if (key == VK_HOME) target = 0;
    if (key == VK_END) target = count - 1;
    if (target >= 0 && target != itemIndex_) UserPick(target);
}

void TCustomListBox::DefaultKeyPress(char& key) {
    if (static_cast<unsigned char>(key) < 32 || Count() == 0) return;
    const int count = Count();
    for (int n = 1; n <= count; ++n) {
        const int i = (itemIndex_ + n) % count;
        if (StartsWithText(items_->Strings(i), std::string(1, key))) {
            if (i != itemIndex_) UserPick(i);
            return;
        }
    }
}

void TCustomListBox::ItemInserted(int index) {
    selected_.insert(selected_.begin() + index, false);
    itemIndex_ = AfterInsert(itemIndex_, index);
}

void TCustomListBox::ItemDeleted(int index) {
    selected_.erase(selected_.begin() + index);
    itemIndex_ = AfterDelete(itemIndex_, index);
}

void TCustomListBox::ItemsCleared() {
    selected_.clear();
    itemIndex_ = -1;
    topIndex_ = 0;
}

void TCustomListBox::ItemsReordered(const std::vector<int>& order) {
    std::vector<bool> selected(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        selected[i] = selected_[static_cast<std::size_t>(order[i])];
    selected_ = std::move(selected);
    itemIndex_ = AfterReorder(itemIndex_, order);
}

}  // namespace kv
