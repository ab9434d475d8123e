// The list view's columns, items and icon options.
#include <algorithm>

#include "platform/ui/ListView.h"

namespace kv {

KV_PUBLISHED(TListColumn) {
    b.Property("Alignment", &T::Alignment, &T::SetAlignment).Default(taLeftJustify);
    b.Property("AutoSize", &T::AutoSize, &T::SetAutoSize).Default(0);
    b.Property("Caption", &T::Caption, &T::SetCaption);
    b.Property("ImageIndex", &T::ImageIndex, &T::SetImageIndex).Default(-1);
    b.Property("MaxWidth", &T::MaxWidth, &T::SetMaxWidth).Default(0);
    b.Property("MinWidth", &T::MinWidth, &T::SetMinWidth).Default(0);
    b.Property("Tag", &T::Tag, &T::SetTag).Default(0);
    b.Property("Width", &T::Width, &T::SetWidth).Default(50);
}
KV_PUBLISHED(TListColumns) {}
KV_PUBLISHED(TListItem) {
    b.Property("Caption", &T::Caption, &T::SetCaption);
    b.Property("ImageIndex", &T::ImageIndex, &T::SetImageIndex).Default(-1);
    b.Property("StateIndex", &T::StateIndex, &T::SetStateIndex).Default(-1);
    b.Property("SubItems", &T::SubItems, &T::SetSubItems);
}
KV_PUBLISHED(TListItems) {}
KV_PUBLISHED(TIconOptions) {
    b.Property("Arrangement", &T::Arrangement, &T::SetArrangement).Default(iaTop);
    b.Property("AutoArrange", &T::AutoArrange, &T::SetAutoArrange).Default(0);
    b.Property("WrapText", &T::WrapText, &T::SetWrapText).Default(1);
}

// ---- TListColumn

TCustomListView* TListColumn::ListView() const {
    const auto* columns = dynamic_cast<const TListColumns*>(Collection());
    return columns != nullptr ? columns->Owner() : nullptr;
}

void TListColumn::SetCaption(const std::string& value) {
    if (value == caption_) return;
    caption_ = value;
    Changed(false);
}

void TListColumn::SetWidth(int value) {
    if (value == ColumnTextWidth || value == ColumnHeaderWidth) {
        const TCustomListView* view = ListView();
        if (view == nullptr) return;
        value = view->FitColumnWidth(Index(), value == ColumnHeaderWidth);
    }
    if (value < 0) value = 0;
    if (minWidth_ > 0) value = std::max(value, minWidth_);
    if (maxWidth_ > 0) value = std::min(value, maxWidth_);
    if (value == width_) return;
    width_ = value;
    Changed(false);
}

void TListColumn::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    Changed(false);
}

void TListColumn::SetAutoSize(bool value) {
    autoSize_ = value;
    Changed(false);
}

void TListColumn::SetMinWidth(int value) {
    minWidth_ = std::max(value, 0);
    if (minWidth_ > 0 && width_ < minWidth_) SetWidth(minWidth_);
}

void TListColumn::SetMaxWidth(int value) {
    maxWidth_ = std::max(value, 0);
    if (maxWidth_ > 0 && width_ > maxWidth_) SetWidth(maxWidth_);
}

void TListColumn::SetImageIndex(int value) {
    imageIndex_ = value;
    Changed(false);
}

void TListColumn::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TListColumn*>(source);
    if (other == nullptr) return TCollectionItem::Assign(source);
    caption_ = other->caption_;
    width_ = other->width_;
    alignment_ = other->alignment_;
    autoSize_ = other->autoSize_;
    minWidth_ = other->minWidth_;
    maxWidth_ = other->maxWidth_;
    imageIndex_ = other->imageIndex_;
    tag_ = other->tag_;
    Changed(false);
}

TListColumns::TListColumns(TCustomListView* owner)
    : TOwnedCollection(owner, TListColumn::StaticClass()), owner_(owner) {}

void TListColumns::Update(TCollectionItem*) {
    owner_->ColumnsChanged();
}

// ---- TListItem

TListItem::TListItem(TCollection* collection)
    : TCollectionItem(collection), subItems_(std::make_unique<TStringList>()) {
    subItems_->OnChange = TNotifyEvent(this, &TListItem::SubItemsChanged);
}

TListItem::~TListItem() {
    ++destroyedCount_;
    if (tracker_ != nullptr) tracker_->Forget(this);
    // The list view hears of the item before it leaves the items (OnDeletion, editing).
    if (TCustomListView* view = ListView()) view->ItemDeleting(this);
}

TCustomListView* TListItem::ListView() const {
    const auto* items = dynamic_cast<const TListItems*>(Collection());
    return items != nullptr ? items->Owner() : nullptr;
}

void TListItem::SetCaption(const std::string& value) {
    if (value == caption_) return;
    TCustomListView* view = ListView();
    if (view != nullptr && !view->CanChange(this, ctText)) return;
    caption_ = value;
    if (view != nullptr) view->Changed(this, ctText);
    Changed(false);
}

void TListItem::SetImageIndex(int value) {
    if (value == imageIndex_) return;
    TCustomListView* view = ListView();
    if (view != nullptr && !view->CanChange(this, ctImage)) return;
    imageIndex_ = value;
    if (view != nullptr) view->Changed(this, ctImage);
    Changed(false);
}

void TListItem::SetStateIndex(int value) {
    if (value == stateIndex_) return;
    stateIndex_ = value;
    Changed(false);
}

void TListItem::SetData(void* value) {
    data_ = value;
    Changed(false);
}

void TListItem::SetSelected(bool value) {
    if (TCustomListView* view = ListView()) {
        view->ChangeSelection(this, value);
    } else {
        // Out of any list: the list that tracked it lets go; the next one it joins takes it.
        if (tracker_ != nullptr) tracker_->Forget(this);
        selected_ = value;
    }
}

void TListItem::SetFocused(bool value) {
    TCustomListView* view = ListView();
    if (view == nullptr) {
        if (tracker_ != nullptr) tracker_->Forget(this);
        focused_ = value;
    } else if (value) {
        view->SetItemFocused(this);
    } else if (focused_) {
        view->SetItemFocused(nullptr);
    }
}

bool TListItem::EditCaption() {
    TCustomListView* view = ListView();
    return view != nullptr && view->BeginEdit(this);
}

void TListItem::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TListItem*>(source);
    if (other == nullptr) return TCollectionItem::Assign(source);
    caption_ = other->caption_;
    subItems_->Assign(other->subItems_.get());
    imageIndex_ = other->imageIndex_;
    stateIndex_ = other->stateIndex_;
    data_ = other->data_;
    Changed(false);
}

void TListItem::SubItemsChanged(TObject*) {
    Changed(false);
}

// ---- TListItems

TListItems::TListItems(TCustomListView* owner)
    : TOwnedCollection(owner, TListItem::StaticClass()), owner_(owner) {}

int TListItems::IndexOf(const TListItem* item) const {
    for (int i = 0; i < Count(); ++i)
        if (Items(i) == item) return i;
    return -1;
}

void TListItems::Update(TCollectionItem* item) {
    owner_->ItemChanged(dynamic_cast<TListItem*>(item));
}

void TListItems::Added(TCollectionItem& item) {
    owner_->ItemAdded(dynamic_cast<TListItem*>(&item));
}

void TListItems::Deleting(TCollectionItem&) {
    // The item's destructor tells the list view, also when it is freed directly.
}

// ---- TIconOptions

void TIconOptions::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TIconOptions*>(source);
    if (other == nullptr) return TPersistent::Assign(source);
    arrangement_ = other->arrangement_;
    autoArrange_ = other->autoArrange_;
    wrapText_ = other->wrapText_;
}

}  // namespace kv
