#include "platform/core/Collection.h"

#include <algorithm>

#include "platform/core/SysUtils.h"

namespace kv {

KV_PUBLISHED(TCollectionItem) {}
KV_PUBLISHED(TCollection) {}
KV_PUBLISHED(TOwnedCollection) {}

TCollectionItem::TCollectionItem(TCollection* collection) {
    SetCollection(collection);
}

TCollectionItem::~TCollectionItem() {
    SetCollection(nullptr);
}

// The collection hears of a new item only now: during the constructors it is not complete.
void TCollectionItem::AfterConstruction() {
    constructed_ = true;
    if (collection_ == nullptr) return;
    collection_->Added(*this);
    collection_->Changed();
}

void TCollectionItem::SetCollection(TCollection* collection) {
    if (collection == collection_) return;
    if (collection_ != nullptr) collection_->RemoveItem(this);
    if (collection != nullptr) {
        collection->InsertItem(this);
        if (constructed_) {
            collection->Added(*this);
            collection->Changed();
        }
    }
}

int TCollectionItem::Index() const {
    return collection_ != nullptr ? static_cast<int>(collection_->PositionOf(this)) : -1;
}

void TCollectionItem::SetIndex(int index) {
    if (collection_ == nullptr || index == Index()) return;
    collection_->MoveItem(this, index);
    Changed(true);
}

std::string TCollectionItem::GetNamePath() const {
    if (collection_ == nullptr) return ClassName();
    return collection_->GetNamePath() + "[" + IntToStr(Index()) + "]";
}

void TCollectionItem::Changed(bool allItems) {
    if (collection_ != nullptr && collection_->updateCount_ == 0)
        collection_->Update(allItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() const {
    return collection_;
}

TCollection::TCollection(TClass itemClass) : itemClass_(itemClass) {
    if (itemClass_ == nullptr || !itemClass_->InheritsFrom(TCollectionItem::StaticClass()))
        throw EInvalidOperation("A collection needs a TCollectionItem class");
}

TCollection::~TCollection() {
    // Items leaving while the collection goes are no changes to report.
    updateCount_ = 1;
    while (!items_.empty())
        items_.back()->Free();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return items_[static_cast<std::size_t>(index)];
}

void TCollection::SetItem(int index, const TCollectionItem* source) {
    Items(index)->Assign(source);
}

TCollectionItem* TCollection::Add() {
    return itemClass_->CreateItem(this);
}

TCollectionItem* TCollection::Insert(int index) {
    if (index < 0 || index > Count())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index) {
    TCollectionItem* item = Items(index);
    Deleting(*item);
    item->Free();
}

void TCollection::Clear() {
    if (items_.empty()) return;
    BeginUpdate();
    try {
        while (!items_.empty())
            Delete(Count() - 1);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (TCollectionItem* item : items_)
        if (item->id_ == id) return item;
    return nullptr;
}

void TCollection::BeginUpdate() {
    ++updateCount_;
}

void TCollection::EndUpdate() {
    if (updateCount_ > 0) --updateCount_;
    Changed();
}

void TCollection::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TCollection*>(source);
    if (other == nullptr) return TPersistent::Assign(source);
    if (other == this) return;
    BeginUpdate();
    try {
        Clear();
        for (const TCollectionItem* item : other->items_)
            Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TCollection::GetNamePath() const {
    const TPersistent* owner = GetOwner();
    if (owner == nullptr) return ClassName();
    const std::string ownerPath = owner->GetNamePath();
    if (ownerPath.empty()) return ClassName();
    auto* ownerObject = const_cast<TPersistent*>(owner);
    for (const TPropInfo* prop : GetPropList(ownerObject)) {
        if (prop->PropType()->Kind() == tkClass && GetObjectProp(ownerObject, prop) == this)
            return ownerPath + "." + prop->Name();
    }
    return ClassName();
}

void TCollection::Update(TCollectionItem* item) {
    (void)item;
}

void TCollection::Added(TCollectionItem& item) {
    (void)item;
}

void TCollection::Deleting(TCollectionItem& item) {
    (void)item;
}

void TCollection::Changed() {
    if (updateCount_ == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item) {
    items_.push_back(item);
    item->collection_ = this;
    item->index_ = Count() - 1;
    if (numbered_ + 1 == items_.size()) numbered_ = items_.size();
    item->id_ = nextId_++;
}

void TCollection::RemoveItem(TCollectionItem* item) {
    const std::size_t at = StalePosition(item);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(at));
    numbered_ = std::min(numbered_, at);
    item->collection_ = nullptr;
    item->index_ = -1;
    Changed();
}

void TCollection::MoveItem(TCollectionItem* item, int index) {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    const int from = static_cast<int>(PositionOf(item));
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + index, item);
    Renumber(static_cast<std::size_t>(std::min(from, index)),
             static_cast<std::size_t>(std::max(from, index)) + 1);
}

void TCollection::ReorderItems(const std::vector<TCollectionItem*>& order) {
    const auto misfit = [this](const TCollectionItem* item) {
        return item == nullptr || item->collection_ != this;
    };
    if (order.size() != items_.size() || std::any_of(order.begin(), order.end(), misfit))
        throw EListError("The new order must hold each item of the collection once");
    Renumber(numbered_, items_.size());
    std::vector<bool> seen(order.size());
    for (const TCollectionItem* item : order) {
        const auto at = static_cast<std::size_t>(item->index_);
        if (seen[at]) throw EListError("The new order must hold each item of the collection once");
        seen[at] = true;
    }
    items_ = order;
    Renumber(0, items_.size());
}

// Where an item of this collection is, without numbering the items behind it: its number when
// that is sure, else the first or last place that may be out of date (removing from the front
// or the back), else a search.
std::size_t TCollection::StalePosition(const TCollectionItem* item) const {
    const auto number = static_cast<std::size_t>(item->index_);
    if (number < numbered_) return number;
    if (items_[numbered_] == item) return numbered_;
    if (items_.back() == item) return items_.size() - 1;
    const auto from = items_.begin() + static_cast<std::ptrdiff_t>(numbered_);
    return static_cast<std::size_t>(std::find(from, items_.end(), item) - items_.begin());
}

std::size_t TCollection::PositionOf(const TCollectionItem* item) {
    if (static_cast<std::size_t>(item->index_) >= numbered_) Renumber(numbered_, items_.size());
    return static_cast<std::size_t>(item->index_);
}

// Numbers the items from..to; when that reaches the end, all are numbered.
void TCollection::Renumber(std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        items_[i]->index_ = static_cast<int>(i);
    if (from <= numbered_ && to == items_.size()) numbered_ = to;
}

TOwnedCollection::TOwnedCollection(TPersistent* owner, TClass itemClass)
    : TCollection(itemClass), owner_(owner) {}

}  // namespace kv
