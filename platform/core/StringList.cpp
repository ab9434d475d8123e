// TStringList: lines with attached pointers in memory, optionally kept sorted.
#include "platform/core/Strings.h"
#include "platform/core/SysUtils.h"

namespace kv {

KV_PUBLISHED(TStringList) {}

TStringList::~TStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
}

std::string TStringList::Get(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].text;
}

void TStringList::Put(int index, const std::string& s) {
    CheckNotSorted();
    CheckIndex(index);
    Changing();
    items_[static_cast<std::size_t>(index)].text = s;
    Changed();
}

void* TStringList::GetObjectPtr(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].pointer;
}

void TStringList::PutObjectPtr(int index, void* pointer) {
    CheckIndex(index);
    Changing();
    items_[static_cast<std::size_t>(index)].pointer = pointer;
    Changed();
}

int TStringList::Add(const std::string& s) {
    return AddPointer(s, nullptr);
}

int TStringList::AddPointer(const std::string& s, void* pointer) {
    if (sorted_) return AddSorted(s, pointer);
    const int index = Count();
    InsertItem(index, s, pointer);
    return index;
}

int TStringList::AddSorted(const std::string& s, void* pointer) {
    int index = 0;
    if (Find(s, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError)
            throw EStringListError("String list does not allow duplicates");
    }
    InsertItem(index, s, pointer);
    return index;
}

void TStringList::Insert(int index, const std::string& s) {
    InsertPointer(index, s, nullptr);
}

void TStringList::InsertPointer(int index, const std::string& s, void* pointer) {
    CheckNotSorted();
    if (index < 0 || index > Count()) IndexError(index);
    InsertItem(index, s, pointer);
}

void TStringList::InsertItem(int index, const std::string& s, void* pointer) {
    Changing();
    items_.insert(items_.begin() + index, Item{s, pointer});
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    CheckNotSorted();
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    ExchangeItems(index1, index2);
    Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
    CheckNotSorted();
    TStrings::Move(curIndex, newIndex);
}

int TStringList::IndexOf(std::string_view s) const {
    if (!sorted_) return TStrings::IndexOf(s);
    int index = 0;
    return Find(s, index) ? index : -1;
}

bool TStringList::Find(std::string_view s, int& index) const {
    bool found = false;
    int lo = 0;
    int hi = Count() - 1;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        const int c = CompareStrings(items_[static_cast<std::size_t>(mid)].text, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != dupAccept) lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

namespace {
int CompareLines(TStringList& list, int index1, int index2) {
    return list.CaseSensitive() ? CompareStr(list[index1], list[index2])
                                : AnsiCompareText(list[index1], list[index2]);
}
}  // namespace

void TStringList::Sort() {
    if (!sorted_ && Count() > 1) {
        Changing();
        QuickSort(0, Count() - 1, CompareLines);
        Changed();
    }
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
    if (!sorted_ && Count() > 1) {
        Changing();
        QuickSort(0, Count() - 1, compare);
        Changed();
    }
}

void TStringList::SetSorted(bool sorted) {
    if (sorted == sorted_) return;
    if (sorted) Sort();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
    if (caseSensitive == caseSensitive_) return;
    caseSensitive_ = caseSensitive;
    // A sorted list must follow the new order, or Find would answer wrongly.
    if (sorted_) {
        sorted_ = false;
        Sort();
        sorted_ = true;
    }
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
    return caseSensitive_ ? CompareStr(a, b) : AnsiCompareText(a, b);
}

// Hoare partitioning around the middle element; the index guards keep an inconsistent compare
// function inside the list.
void TStringList::QuickSort(int lo, int hi, const TStringListSortCompare& compare) {
    while (lo < hi) {
        int i = lo;
        int j = hi;
        int pivot = lo + (hi - lo) / 2;
        do {
            while (i < hi && compare(*this, i, pivot) < 0)
                ++i;
            while (j > lo && compare(*this, j, pivot) > 0)
                --j;
            if (i <= j) {
                ExchangeItems(i, j);
                if (pivot == i)
                    pivot = j;
                else if (pivot == j)
                    pivot = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (lo < j) QuickSort(lo, j, compare);
        lo = i;
    }
}

void TStringList::ExchangeItems(int index1, int index2) {
    std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
}

void TStringList::CheckNotSorted() const {
    if (sorted_) throw EStringListError("Operation not allowed on sorted string list");
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

void TStringList::Changed() {
    if (UpdateCount() == 0) OnChange(this);
}

void TStringList::Changing() {
    if (UpdateCount() == 0) OnChanging(this);
}

}  // namespace kv
