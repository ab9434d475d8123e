#include "platform/core/Persistent.h"

#include "platform/core/SysUtils.h"

namespace kv {

KV_PUBLISHED(TPersistent) {}
KV_PUBLISHED(TList) {}

void TPersistent::Assign(const TPersistent* source) {
    if (source == nullptr) AssignError(nullptr);
    source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) const {
    dest->AssignError(this);
}

std::string TPersistent::GetNamePath() const {
    return ClassName();
}

void TPersistent::AssignError(const TPersistent* source) const {
    const std::string sourceName = source == nullptr ? std::string("nil") : source->ClassName();
    throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

void TList::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}

void* TList::Items(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)];
}

void TList::SetItems(int index, void* item) {
    CheckIndex(index);
    items_[static_cast<std::size_t>(index)] = item;
}

int TList::Add(void* item) {
    items_.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, void* item) {
    if (index < 0 || index > Count())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    items_.insert(items_.begin() + index, item);
}

void TList::Delete(int index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
}

int TList::Remove(void* item) {
    const int index = IndexOf(item);
    if (index >= 0) Delete(index);
    return index;
}

void* TList::Extract(void* item) {
    return Remove(item) >= 0 ? item : nullptr;
}

int TList::IndexOf(const void* item) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == item) return static_cast<int>(i);
    return -1;
}

void TList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
}

void TList::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    void* item = items_[static_cast<std::size_t>(curIndex)];
    items_.erase(items_.begin() + curIndex);
    items_.insert(items_.begin() + newIndex, item);
}

void TList::Pack() {
    std::erase(items_, nullptr);
}

}  // namespace kv
