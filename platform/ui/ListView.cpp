// TCustomListView: properties, selection, sorting and in-place editing. Input and layout are in
// ListViewInput.cpp.
#include "platform/ui/ListView.h"

#include <algorithm>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Widgetset.h"

namespace kv {

KV_PUBLISHED(TCustomListView) {}
KV_PUBLISHED(TListView) {
    PublishControlMembers(b, "Align Anchors");
    b.Property("ColumnClick", &T::ColumnClick, &T::SetColumnClick).Default(1);
    b.Property("Columns", &T::Columns, &T::SetColumns);
    PublishControlMembers(b, "Color Enabled Font");
    b.Property("HideSelection", &T::HideSelection, &T::SetHideSelection).Default(1);
    b.Property("IconOptions", &T::IconOptions, &T::SetIconOptions);
    b.Property("Items", &T::Items, &T::SetItems);
    b.Property("LargeImages", &T::LargeImages, &T::SetLargeImages);
    b.Property("MultiSelect", &T::MultiSelect, &T::SetMultiSelect).Default(0);
    PublishControlMembers(b, "ParentColor ParentFont ParentShowHint PopupMenu");
    b.Property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Default(0);
    b.Property("RowSelect", &T::RowSelect, &T::SetRowSelect).Default(0);
    b.Property("ShowColumnHeaders", &T::ShowColumnHeaders, &T::SetShowColumnHeaders).Default(1);
    PublishControlMembers(b, "ShowHint");
    b.Property("SmallImages", &T::SmallImages, &T::SetSmallImages);
    b.Property("SortType", &T::SortType, &T::SetSortType).Default(stNone);
    PublishControlMembers(b, "TabOrder TabStop");
    b.Property("ViewStyle", &T::ViewStyle, &T::SetViewStyle).Default(vsIcon);
    PublishControlMembers(b, "Visible");
    b.Event("OnChange", &T::OnChange);
    b.Event("OnChanging", &T::OnChanging);
    PublishControlMembers(b, "OnClick");
    b.Event("OnColumnClick", &T::OnColumnClick);
    b.Event("OnCompare", &T::OnCompare);
    PublishControlMembers(b, "OnDblClick");
    b.Event("OnDeletion", &T::OnDeletion);
    b.Event("OnEdited", &T::OnEdited);
    b.Event("OnEditing", &T::OnEditing);
    PublishControlMembers(b, "OnEnter OnExit");
    b.Event("OnInsert", &T::OnInsert);
    PublishControlMembers(b, "OnKeyDown OnKeyPress OnKeyUp OnMouseDown OnMouseMove OnMouseUp");
    PublishControlMembers(b, "OnResize");
    b.Event("OnSelectItem", &T::OnSelectItem);
}
KV_REGISTER_CLASS(TListView);

TCustomListView::TCustomListView(TComponent* owner)
    : TCustomControl(owner),
      columns_(std::make_unique<TListColumns>(this)),
      items_(std::make_unique<TListItems>(this)),
      iconOptions_(std::make_unique<TIconOptions>()) {
    SetTabStop(true);
    SetBounds(Left(), Top(), 250, 150);
}

// The items go first and quietly: no OnDeletion while the list view is half destroyed.
TCustomListView::~TCustomListView() {
    destroying_ = true;
    editing_ = nullptr;
    // Items that left the list may outlive it: they must not call back.
    for (TListItem* item : selection_)
        item->tracker_ = nullptr;
    if (focused_ != nullptr) focused_->tracker_ = nullptr;
    selection_.clear();
    focused_ = nullptr;
    items_.reset();
    columns_.reset();
}

// ---- properties

void TCustomListView::SetViewStyle(TViewStyle value) {
    if (value == viewStyle_) return;
    EndEdit(true);
    viewStyle_ = value;
    Invalidate();
}

void TCustomListView::SetRowSelect(bool value) {
    rowSelect_ = value;
    Invalidate();
}

void TCustomListView::SetMultiSelect(bool value) {
    if (value == multiSelect_) return;
    multiSelect_ = value;
    if (multiSelect_) return;
    bool first = true;
    for (int i = 0; i < items_->Count(); ++i) {
        TListItem* item = items_->Item(i);
        if (!item->Selected()) continue;
        if (!first) ChangeSelection(item, false);
        first = false;
    }
}

void TCustomListView::SetHideSelection(bool value) {
    hideSelection_ = value;
    Invalidate();
}

void TCustomListView::SetShowColumnHeaders(bool value) {
    showColumnHeaders_ = value;
    Invalidate();
}

void TCustomListView::SetSortType(TSortType value) {
    if (value == sortType_) return;
    sortType_ = value;
    SortIfNeeded();
}

void TCustomListView::SetLargeImages(TCustomImageList* value) {
    if (largeImages_ != nullptr) largeImages_->RemoveFreeNotification(this);
    largeImages_ = value;
    if (largeImages_ != nullptr) largeImages_->FreeNotification(this);
    Invalidate();
}

void TCustomListView::SetSmallImages(TCustomImageList* value) {
    if (smallImages_ != nullptr) smallImages_->RemoveFreeNotification(this);
    smallImages_ = value;
    if (smallImages_ != nullptr) smallImages_->FreeNotification(this);
    Invalidate();
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == largeImages_) largeImages_ = nullptr;
    if (component == smallImages_) smallImages_ = nullptr;
}

// ---- changes of items and columns

bool TCustomListView::CanChange(TListItem* item, TItemChange change) {
    bool allow = true;
    OnChanging(this, item, change, allow);
    return allow;
}

void TCustomListView::Changed(TListItem* item, TItemChange change) {
    OnChange(this, item, change);
}

void TCustomListView::ItemChanged(TListItem*) {
    if (destroying_ || sorting_) return;
    if (sortType_ != stNone && items_->UpdateCount() == 0) Sort(nullptr);
    Invalidate();
}

// An item that arrives selected or focused (moved from elsewhere) is this list's to track; one
// focused item already here keeps the focus.
void TCustomListView::ItemAdded(TListItem* item) {
    if (destroying_) return;
    if (item->tracker_ != nullptr && item->tracker_ != this) item->tracker_->Forget(item);
    if (item->selected_ && item->selectionSlot_ < 0) SetItemSelected(item, true);
    if (item->focused_ && focused_ != item) {
        if (Counts(focused_)) {
            item->focused_ = false;
        } else {
            focused_ = item;
            Retrack(item);
        }
    }
    OnInsert(this, item);
}

void TCustomListView::ItemDeleting(TListItem* item) {
    if (destroying_) return;
    if (item->tracker_ == this) Forget(item);
    if (editing_ == item) editing_ = nullptr;
    if (anchor_ == item) anchor_ = nullptr;
    OnDeletion(this, item);
}

void TCustomListView::ColumnsChanged() {
    if (!destroying_) Invalidate();
}

// ---- selection

bool TCustomListView::Holds(const TListItem* item, unsigned long stamp) const {
    // While nothing was destroyed the item can be asked; else only compared.
    if (stamp == TListItem::destroyedCount_) return item->Collection() == items_.get();
    return items_->IndexOf(item) >= 0;
}

bool TCustomListView::Counts(const TListItem* item) const {
    return item != nullptr && item->Collection() == items_.get();
}

void TCustomListView::Retrack(TListItem* item) {
    const bool kept = item->selectionSlot_ >= 0 || focused_ == item;
    item->tracker_ = kept ? this : nullptr;
}

void TCustomListView::SetItemSelected(TListItem* item, bool selected) {
    item->selected_ = selected;
    if (selected && item->selectionSlot_ < 0) {
        item->selectionSlot_ = static_cast<int>(selection_.size());
        selection_.push_back(item);
    } else if (!selected) {
        Unlist(item);
    }
    Retrack(item);
}

// Takes item out of the selection list; the last one moves to its slot (no walk).
void TCustomListView::Unlist(TListItem* item) {
    if (item->selectionSlot_ < 0) return;
    TListItem* last = selection_.back();
    selection_[static_cast<std::size_t>(item->selectionSlot_)] = last;
    last->selectionSlot_ = item->selectionSlot_;
    selection_.pop_back();
    item->selectionSlot_ = -1;
}

void TCustomListView::Forget(TListItem* item) {
    Unlist(item);
    if (focused_ == item) focused_ = nullptr;
    if (anchor_ == item) anchor_ = nullptr;
    item->tracker_ = nullptr;
}

// The selected items of this list other than keep with an index below bound, last first.
std::vector<TListItem*> TCustomListView::SelectedBelow(const TListItem* keep, int bound) const {
    std::vector<TListItem*> found;
    for (TListItem* item : selection_)
        if (item != keep && Counts(item) && item->Index() < bound) found.push_back(item);
    std::sort(found.begin(), found.end(),
              [](const TListItem* a, const TListItem* b) { return a->Index() > b->Index(); });
    return found;
}

// Deselects the other items from the last to the first. Handlers may delete or select items:
// after a deletion the remaining ones are looked up afresh, and items they selected further up
// are taken too.
void TCustomListView::DeselectOthers(const TListItem* keep) {
    int bound = items_->Count();
    for (std::vector<TListItem*> next = SelectedBelow(keep, bound); !next.empty();
         next = SelectedBelow(keep, bound)) {
        const unsigned long stamp = TListItem::destroyedCount_;
        for (TListItem* other : next) {
            if (stamp != TListItem::destroyedCount_) break;
            if (!other->selected_ || !Counts(other) || other->Index() >= bound) continue;
            bound = other->Index();
            ChangeSelection(other, false);
        }
    }
}

// Deselects the others first when only one item may be selected; every change of an item's
// state may be refused by OnChanging. Handlers may delete items: an item that is gone is left.
void TCustomListView::ChangeSelection(TListItem* item, bool selected) {
    if (item == nullptr || item->selected_ == selected) return;
    const unsigned long stamp = TListItem::destroyedCount_;
    if (selected && !multiSelect_) {
        DeselectOthers(item);
        if (!Holds(item, stamp) || item->selected_) return;
    }
    if (!CanChange(item, ctState) || !Holds(item, stamp)) return;
    SetItemSelected(item, selected);
    Changed(item, ctState);
    if (!Holds(item, stamp)) return;
    OnSelectItem(this, item, selected);
    Invalidate();
}

TListItem* TCustomListView::Selected() const {
    // Many selected items: the first is near the top, where a walk finds it soonest.
    if (selection_.size() > 8) {
        for (int i = 0; i < items_->Count(); ++i)
            if (items_->Item(i)->selected_) return items_->Item(i);
        return nullptr;
    }
    TListItem* first = nullptr;
    for (TListItem* item : selection_)
        if (Counts(item) && (first == nullptr || item->Index() < first->Index())) first = item;
    return first;
}

void TCustomListView::SetSelected(TListItem* item) {
    if (item != nullptr && !Counts(item)) return;
    const unsigned long stamp = TListItem::destroyedCount_;
    DeselectOthers(item);
    if (item != nullptr && Holds(item, stamp)) {
        ChangeSelection(item, true);
        if (Holds(item, stamp)) anchor_ = item;
    }
}

int TCustomListView::ItemIndex() const {
    const TListItem* item = Selected();
    return item != nullptr ? item->Index() : -1;
}

void TCustomListView::SetItemIndex(int index) {
    SetSelected(index >= 0 && index < items_->Count() ? items_->Item(index) : nullptr);
}

int TCustomListView::SelCount() const {
    return static_cast<int>(std::count_if(selection_.begin(), selection_.end(),
                                          [this](const TListItem* item) { return Counts(item); }));
}

void TCustomListView::ClearSelection() {
    SetSelected(nullptr);
}

void TCustomListView::SelectAll() {
    if (!multiSelect_) return;
    for (int i = 0; i < items_->Count(); ++i)
        ChangeSelection(items_->Item(i), true);
}

TListItem* TCustomListView::ItemFocused() const {
    return Counts(focused_) ? focused_ : nullptr;
}

void TCustomListView::SetItemFocused(TListItem* item) {
    if (TListItem* old = focused_; old != nullptr && old != item) {
        old->focused_ = false;
        focused_ = nullptr;
        Retrack(old);
    }
    if (Counts(item)) {
        item->focused_ = true;
        focused_ = item;
        Retrack(item);
    }
    Invalidate();
}

// ---- sorting

int TCustomListView::Compare(TListItem* a, TListItem* b) {
    if (OnCompare) {
        int result = 0;
        OnCompare(this, a, b, 0, result);
        return result;
    }
    if (sortType_ == stData) {
        const auto x = reinterpret_cast<std::uintptr_t>(a->Data());
        const auto y = reinterpret_cast<std::uintptr_t>(b->Data());
        return x < y ? -1 : x > y ? 1 : 0;
    }
    return CompareStr(a->Caption(), b->Caption());
}

void TCustomListView::SortIfNeeded() {
    if (sorting_ || destroying_ || sortType_ == stNone || items_->UpdateCount() > 0) return;
    AlphaSort();
}

void TCustomListView::AlphaSort() {
    CustomSort(nullptr);
}

void TCustomListView::CustomSort(const std::function<int(TListItem*, TListItem*)>& compare) {
    if (Sort(compare)) Invalidate();
}

// Reorders the items; false when they were in order already. Changes made by OnCompare sort
// nothing in between.
bool TCustomListView::Sort(const std::function<int(TListItem*, TListItem*)>& compare) {
    if (sorting_) return false;
    sorting_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{sorting_};
    std::vector<TListItem*> order;
    for (int i = 0; i < items_->Count(); ++i)
        order.push_back(items_->Item(i));
    std::stable_sort(order.begin(), order.end(), [&](TListItem* a, TListItem* b) {
        return (compare ? compare(a, b) : Compare(a, b)) < 0;
    });
    bool same = true;
    for (int i = 0; i < items_->Count() && same; ++i)
        same = items_->Item(i) == order[static_cast<std::size_t>(i)];
    if (same) return false;
    items_->Reorder(std::vector<TCollectionItem*>(order.begin(), order.end()));
    return true;
}

// ---- in-place editing

bool TCustomListView::CanEdit(TListItem* item) {
    bool allow = true;
    OnEditing(this, item, allow);
    return allow;
}

void TCustomListView::Edit(TListItem* item, std::string& text) {
    OnEdited(this, item, text);
}

bool TCustomListView::BeginEdit(TListItem* item) {
    if (readOnly_ || item == nullptr || items_->IndexOf(item) < 0) return false;
    EndEdit(true);
    if (!CanEdit(item) || items_->IndexOf(item) < 0) return false;
    editing_ = item;
    editor_.SetText(item->Caption());
    editor_.SelectAll();
    Invalidate();
    return true;
}

// OnEdited may change the text or raise: a raising handler leaves the caption as it was.
void TCustomListView::EndEdit(bool accept) {
    TListItem* item = editing_;
    if (item == nullptr) return;
    editing_ = nullptr;
    Invalidate();
    if (!accept) return;
    std::string text = editor_.Text();
    Edit(item, text);
    if (items_->IndexOf(item) >= 0) item->SetCaption(text);
}

void TCustomListView::DoExit() {
    EndEdit(true);
    TCustomControl::DoExit();
}

}  // namespace kv
