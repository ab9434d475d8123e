// The list view of the ComCtrls unit: items with a caption, sub-items and images, shown as
// large icons, small icons, a list or a report with columns.
//
// Rules the list view keeps:
// - Selection: one item at most unless MultiSelect; a user's click selects the item clicked
//   (Ctrl toggles it, Shift selects the range from the last one clicked), arrows move the
//   focused item. Every change of an item's selection raises OnChanging (which may refuse
//   it), OnChange and OnSelectItem, for the item deselected before the one selected.
// - In-place caption editing: F2 or EditCaption on an item of a list view that is not ReadOnly
//   opens the editor (OnEditing may refuse); typing edits the text, Enter or leaving the list
//   view ends it (OnEdited may change the text, and the caption takes it), Esc drops it.
// - Sorting: with SortType stText (or stBoth) the items stay sorted by OnCompare, or by their
//   captions without one; AlphaSort and CustomSort sort on request. A click on a column
//   header raises OnColumnClick when ColumnClick is set.
// - Items.BeginUpdate/EndUpdate: no sorting and no repainting in between, once at the end.
// - Layout is deterministic (ItemRect, HeaderRect, GetItemAt), from the text measure of the
//   widgetset, so clicks can be placed on items.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/EditBuffer.h"
#include "platform/ui/StdCtrls.h"

namespace kv {

class TCustomImageList;
class TCustomListView;
class TListItem;
class TListColumn;

KV_ENUM(TViewStyle, vsIcon, vsSmallIcon, vsList, vsReport);
KV_ENUM(TSortType, stNone, stData, stText, stBoth);
KV_ENUM(TItemChange, ctText, ctImage, ctState);
KV_ENUM(TIconArrangement, iaTop, iaLeft);

KV_EVENT(TLVChangeEvent, void(TObject* Sender, TListItem* Item, TItemChange Change));
KV_EVENT(TLVChangingEvent,
         void(TObject* Sender, TListItem* Item, TItemChange Change, bool& AllowChange));
KV_EVENT(TLVSelectItemEvent, void(TObject* Sender, TListItem* Item, bool Selected));
KV_EVENT(TLVEditingEvent, void(TObject* Sender, TListItem* Item, bool& AllowEdit));
KV_EVENT(TLVEditedEvent, void(TObject* Sender, TListItem* Item, std::string& S));
KV_EVENT(TLVCompareEvent,
         void(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare));
KV_EVENT(TLVColumnClickEvent, void(TObject* Sender, TListColumn* Column));
KV_EVENT(TLVDeletedEvent, void(TObject* Sender, TListItem* Item));

// Column widths that fit the column to its texts (ColumnTextWidth) or to its header and its
// texts (ColumnHeaderWidth) when set.
constexpr int ColumnTextWidth = -1;
constexpr int ColumnHeaderWidth = -2;

class TListColumn : public TCollectionItem {
    KV_CLASS(TListColumn, TCollectionItem)
public:
    explicit TListColumn(TCollection* collection) : TCollectionItem(collection) {}

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    int Width() const { return width_; }
    // ColumnTextWidth and ColumnHeaderWidth fit the width once (as the platform does).
    void SetWidth(int value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int value);
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    int Tag() const { return tag_; }
    void SetTag(int value) { tag_ = value; }
    std::string DisplayName() const override { return caption_; }
    void Assign(const TPersistent* source) override;
    TCustomListView* ListView() const;

private:
    std::string caption_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = false;
    int minWidth_ = 0;
    int maxWidth_ = 0;
    int imageIndex_ = -1;
    int tag_ = 0;
};

class TListColumns : public TOwnedCollection {
    KV_CLASS(TListColumns, TOwnedCollection)
public:
    explicit TListColumns(TCustomListView* owner);
    TListColumn* Add() { return dynamic_cast<TListColumn*>(TCollection::Add()); }
    TListColumn* Items(int index) const { return ItemAs<TListColumn>(index); }
    TCustomListView* Owner() const { return owner_; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TCustomListView* owner_;
};

class TListItem : public TCollectionItem {
    KV_CLASS(TListItem, TCollectionItem)
public:
    explicit TListItem(TCollection* collection);
    ~TListItem() override;

    const std::string& Caption() const { return caption_; }
    // Raises OnChanging (which may refuse) and OnChange with ctText.
    void SetCaption(const std::string& value);
    // The texts of the further columns.
    TStrings* SubItems() const { return subItems_.get(); }
    void SetSubItems(TStrings* value) { subItems_->Assign(value); }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    int StateIndex() const { return stateIndex_; }
    void SetStateIndex(int value);
    void* Data() const { return data_; }
    void SetData(void* value);
    bool Selected() const { return selected_; }
    void SetSelected(bool value);
    bool Focused() const { return focused_; }
    void SetFocused(bool value);
    // Opens the in-place editor on the caption; false when the list view refuses.
    bool EditCaption();
    void Delete() { Free(); }
    TCustomListView* ListView() const;
    std::string DisplayName() const override { return caption_; }
    void Assign(const TPersistent* source) override;

private:
    friend class TCustomListView;

    void SubItemsChanged(TObject* sender);

    // Counts the items ever destroyed: a list view whose handlers ran checks by it whether an
    // item it holds a pointer to may be gone.
    static inline unsigned long destroyedCount_ = 0;

    std::string caption_;
    std::unique_ptr<TStringList> subItems_;
    int imageIndex_ = -1;
    int stateIndex_ = -1;
    void* data_ = nullptr;
    bool selected_ = false;
    bool focused_ = false;
    // The list view that keeps this item among its selected or focused items (it hears when
    // the item goes, also after the item left its list), and where in its selection.
    TCustomListView* tracker_ = nullptr;
    int selectionSlot_ = -1;
};

class TListItems : public TOwnedCollection {
    KV_CLASS(TListItems, TOwnedCollection)
public:
    explicit TListItems(TCustomListView* owner);
    TListItem* Add() { return dynamic_cast<TListItem*>(TCollection::Add()); }
    TListItem* Insert(int index) { return dynamic_cast<TListItem*>(TCollection::Insert(index)); }
    TListItem* Item(int index) const { return ItemAs<TListItem>(index); }
    int IndexOf(const TListItem* item) const;
    TCustomListView* Owner() const { return owner_; }

protected:
    void Update(TCollectionItem* item) override;
    void Added(TCollectionItem& item) override;
    void Deleting(TCollectionItem& item) override;

private:
    friend class TCustomListView;
    void Reorder(const std::vector<TCollectionItem*>& order) { ReorderItems(order); }

    TCustomListView* owner_;
};

// What the icon views arrange by.
class TIconOptions : public TPersistent {
    KV_CLASS(TIconOptions, TPersistent)
public:
    TIconOptions() = default;
    TIconArrangement Arrangement() const { return arrangement_; }
    void SetArrangement(TIconArrangement value) { arrangement_ = value; }
    bool AutoArrange() const { return autoArrange_; }
    void SetAutoArrange(bool value) { autoArrange_ = value; }
    bool WrapText() const { return wrapText_; }
    void SetWrapText(bool value) { wrapText_ = value; }
    void Assign(const TPersistent* source) override;

private:
    TIconArrangement arrangement_ = iaTop;
    bool autoArrange_ = false;
    bool wrapText_ = true;
};

class TCustomListView : public TCustomControl {
    KV_CLASS(TCustomListView, TCustomControl)
public:
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;

    // ---- contents
    TListColumns* Columns() const { return columns_.get(); }
    void SetColumns(TListColumns* value) { columns_->Assign(value); }
    TListColumn* Column(int index) const { return columns_->Items(index); }
    TListItems* Items() const { return items_.get(); }
    void SetItems(TListItems* value) { items_->Assign(value); }

    // ---- appearance and behaviour
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle value);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool value);
    bool MultiSelect() const { return multiSelect_; }
    // Turning it off keeps the first selected item only.
    void SetMultiSelect(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    bool ShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool value);
    bool ColumnClick() const { return columnClick_; }
    void SetColumnClick(bool value) { columnClick_ = value; }
    TSortType SortType() const { return sortType_; }
    void SetSortType(TSortType value);
    TIconOptions* IconOptions() const { return iconOptions_.get(); }
    void SetIconOptions(TIconOptions* value) { iconOptions_->Assign(value); }
    TCustomImageList* LargeImages() const { return largeImages_; }
    void SetLargeImages(TCustomImageList* value);
    TCustomImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TCustomImageList* value);

    // ---- selection and focus
    // The first selected item, or null. Setting selects only that item (null: none).
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int ItemIndex() const;
    void SetItemIndex(int index);
    int SelCount() const;
    void ClearSelection();
    void SelectAll();
    TListItem* ItemFocused() const;
    void SetItemFocused(TListItem* item);

    // ---- sorting
    // Sorts by OnCompare (Data = 0), or by caption without one.
    void AlphaSort();
    // Sorts with compare (negative: item1 first); a null compare sorts as AlphaSort.
    void CustomSort(const std::function<int(TListItem*, TListItem*)>& compare);

    // ---- editing
    bool IsEditing() const { return editing_ != nullptr; }
    TListItem* EditingItem() const { return editing_; }
    // The editor's text while editing.
    std::string EditText() const { return editor_.Text(); }
    // Ends editing: accept keeps the text (OnEdited, then the caption), else it is dropped.
    void EndEdit(bool accept);

    // ---- layout, in client coordinates
    int ItemHeight() const;
    int HeaderHeight() const;
    TRect ItemRect(int index) const;
    // The header of a column (report view with headers), else an empty rectangle.
    TRect HeaderRect(int column) const;
    // The item at a point (only its caption column unless RowSelect), or null.
    TListItem* GetItemAt(int x, int y) const;

    // ---- input
    bool SelectItemByUser(const std::string& item) override;
    bool SelectIndexByUser(int index) override;
    LRESULT DialogCode() const override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void DefaultKeyDown(Word& key, TShiftState shift) override;
    void DefaultKeyPress(char& key) override;
    void InputMethodText(const std::string& text) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

    TLVChangeEvent OnChange;
    TLVChangingEvent OnChanging;
    TLVSelectItemEvent OnSelectItem;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVCompareEvent OnCompare;
    TLVColumnClickEvent OnColumnClick;
    TLVDeletedEvent OnDeletion;
    TLVDeletedEvent OnInsert;

protected:
    // The platform's dynamic methods.
    virtual void ColClick(TListColumn* column);
    virtual bool CanEdit(TListItem* item);
    virtual void Edit(TListItem* item, std::string& text);
    void DoExit() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumns;
    friend class TListColumn;

    // Called by the items and columns.
    bool CanChange(TListItem* item, TItemChange change);
    void Changed(TListItem* item, TItemChange change);
    void ItemChanged(TListItem* item);
    void ItemAdded(TListItem* item);
    void ItemDeleting(TListItem* item);
    void ColumnsChanged();
    void ChangeSelection(TListItem* item, bool selected);
    void DeselectOthers(const TListItem* keep);
    std::vector<TListItem*> SelectedBelow(const TListItem* keep, int bound) const;
    // Whether item, in the list when stamp (TListItem::destroyedCount_) was taken, still is.
    bool Holds(const TListItem* item, unsigned long stamp) const;
    // Whether item (null allowed) is one of this list's items.
    bool Counts(const TListItem* item) const;
    void SetItemSelected(TListItem* item, bool selected);
    void Unlist(TListItem* item);
    void Retrack(TListItem* item);
    // A tracked item is destroyed or moves to another list: no pointer to it stays.
    void Forget(TListItem* item);
    bool BeginEdit(TListItem* item);
    // User input
    void ClickItem(TListItem* item, TShiftState shift);
    void MoveFocus(int index, TShiftState shift);
    int NeighbourIndex(int from, Word key) const;
    void EditorKey(Word& key, TShiftState shift);
    // Sorting
    bool AutoSorts() const { return sortType_ != stNone; }
    void SortIfNeeded();
    bool Sort(const std::function<int(TListItem*, TListItem*)>& compare);
    int Compare(TListItem* a, TListItem* b);
    // Layout
    int TextWidth(const std::string& text) const;
    int ImageWidth(const TCustomImageList* images, int fallback) const;
    int ImageHeight(const TCustomImageList* images, int fallback) const;
    int CellWidth() const;
    TRect ItemRectIn(int index, int height, int cell) const;
    int FitColumnWidth(int column, bool withHeader) const;

    std::unique_ptr<TListColumns> columns_;
    std::unique_ptr<TListItems> items_;
    std::unique_ptr<TIconOptions> iconOptions_;
    TViewStyle viewStyle_ = vsIcon;
    bool rowSelect_ = false;
    bool multiSelect_ = false;
    bool readOnly_ = false;
    bool hideSelection_ = true;
    bool showColumnHeaders_ = true;
    bool columnClick_ = true;
    TSortType sortType_ = stNone;
    TCustomImageList* largeImages_ = nullptr;
    TCustomImageList* smallImages_ = nullptr;
    TListItem* anchor_ = nullptr;  // where a Shift range starts
    // The selected items (in no order; an item that left the list may linger until it goes
    // or joins another) and the focused one, so that selecting and asking walk no list.
    std::vector<TListItem*> selection_;
    TListItem* focused_ = nullptr;
    TListItem* editing_ = nullptr;
    TEditBuffer editor_;
    bool sorting_ = false;
    bool destroying_ = false;
};

class TListView : public TCustomListView {
    KV_CLASS(TListView, TCustomListView)
public:
    explicit TListView(TComponent* owner) : TCustomListView(owner) {}
};

}  // namespace kv
