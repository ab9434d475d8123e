// TCustomListView: layout, mouse and keys, the in-place editor's keys, and the automation hooks.
#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Widgetset.h"

namespace kv {

// ---- layout

int TCustomListView::TextWidth(const std::string& text) const {
    return Widgetset().TextExtent(*Font(), text).Width;
}

int TCustomListView::ImageWidth(const TCustomImageList* images, int fallback) const {
    return images != nullptr ? images->Width() : fallback;
}

int TCustomListView::ImageHeight(const TCustomImageList* images, int fallback) const {
    return images != nullptr ? images->Height() : fallback;
}

int TCustomListView::ItemHeight() const {
    const int line = Widgetset().TextExtent(*Font(), "Wg").Height;
    if (viewStyle_ == vsIcon) return ImageHeight(largeImages_, 32) + line + 8;
    return std::max(line, ImageHeight(smallImages_, 0)) + 2;
}

int TCustomListView::HeaderHeight() const {
    if (viewStyle_ != vsReport || !showColumnHeaders_) return 0;
    return Widgetset().TextExtent(*Font(), "Wg").Height + 6;
}

// The width of one cell of the icon, small-icon and list views: the widest caption and its
// image.
int TCustomListView::CellWidth() const {
    if (viewStyle_ == vsIcon) return std::max(75, ImageWidth(largeImages_, 32) + 43);
    int widest = 0;
    for (int i = 0; i < items_->Count(); ++i)
        widest = std::max(widest, TextWidth(items_->Item(i)->Caption()));
    return std::max(widest, 16) + ImageWidth(smallImages_, 0) + 8;
}

TRect TCustomListView::ItemRect(int index) const {
    if (index < 0 || index >= items_->Count()) return {};
    return ItemRectIn(index, ItemHeight(), viewStyle_ == vsReport ? 0 : CellWidth());
}

// The item's rectangle from the item height and cell width (measured once by the caller).
TRect TCustomListView::ItemRectIn(int index, int height, int cell) const {
    if (viewStyle_ == vsReport) {
        int width = ClientWidth();
        if (columns_->Count() > 0) {
            width = rowSelect_ ? 0 : columns_->Items(0)->Width();
            for (int c = 0; rowSelect_ && c < columns_->Count(); ++c)
                width += columns_->Items(c)->Width();
        }
        return Bounds(0, HeaderHeight() + index * height, width, height);
    }
    if (viewStyle_ == vsList) {
        const int rows = std::max(1, ClientHeight() / height);
        return Bounds((index / rows) * cell, (index % rows) * height, cell, height);
    }
    const int perRow = std::max(1, ClientWidth() / cell);
    return Bounds((index % perRow) * cell, (index / perRow) * height, cell, height);
}

TRect TCustomListView::HeaderRect(int column) const {
    if (HeaderHeight() == 0 || column < 0 || column >= columns_->Count()) return {};
    int left = 0;
    for (int c = 0; c < column; ++c)
        left += columns_->Items(c)->Width();
    return Bounds(left, 0, columns_->Items(column)->Width(), HeaderHeight());
}

// The items tile the view from its top left: the point names the one item it can fall into.
TListItem* TCustomListView::GetItemAt(int x, int y) const {
    if (x < 0 || y < 0) return nullptr;
    const int height = ItemHeight();
    const int cell = viewStyle_ == vsReport ? 0 : CellWidth();
    int index = -1;
    if (viewStyle_ == vsReport) {
        if (y >= HeaderHeight()) index = (y - HeaderHeight()) / height;
    } else if (viewStyle_ == vsList) {
        const int rows = std::max(1, ClientHeight() / height);
        if (y / height < rows) index = (x / cell) * rows + y / height;
    } else {
        const int perRow = std::max(1, ClientWidth() / cell);
        if (x / cell < perRow) index = (y / height) * perRow + x / cell;
    }
    if (index < 0 || index >= items_->Count()) return nullptr;
    if (!ItemRectIn(index, height, cell).Contains(Point(x, y))) return nullptr;
    return items_->Item(index);
}

int TCustomListView::FitColumnWidth(int column, bool withHeader) const {
    int widest = withHeader ? TextWidth(columns_->Items(column)->Caption()) : 0;
    for (int i = 0; i < items_->Count(); ++i) {
        const TListItem* item = items_->Item(i);
        const std::string text = column == 0 ? item->Caption()
                                             : (column - 1 < item->SubItems()->Count()
                                                    ? item->SubItems()->Strings(column - 1)
                                                    : std::string());
        widest = std::max(widest, TextWidth(text));
    }
    return widest + 12;
}

// ---- mouse

void TCustomListView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    const auto life = LifeToken();
    if (button == mbLeft && y >= 0 && y < HeaderHeight()) {
        for (int c = 0; c < columns_->Count(); ++c) {
            if (!HeaderRect(c).Contains(Point(x, y))) continue;
            if (columnClick_) ColClick(columns_->Items(c));
            break;
        }
    } else if (button == mbLeft || button == mbRight) {
        EndEdit(true);
        if (life.expired()) return;
        TListItem* item = GetItemAt(x, y);
        // A right click keeps a selection it falls into.
        if (button == mbLeft || item == nullptr || !item->Selected()) ClickItem(item, shift);
    }
    if (!life.expired()) TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomListView::ColClick(TListColumn* column) {
    OnColumnClick(this, column);
}

void TCustomListView::ClickItem(TListItem* item, TShiftState shift) {
    const unsigned long stamp = TListItem::destroyedCount_;
    if (item == nullptr) {
        if (!shift.Contains(ssCtrl)) ClearSelection();
        return;
    }
    if (multiSelect_ && shift.Contains(ssCtrl)) {
        ChangeSelection(item, !item->Selected());
        anchor_ = item;
    } else if (multiSelect_ && shift.Contains(ssShift) && anchor_ != nullptr) {
        const int from = items_->IndexOf(anchor_);
        const int to = items_->IndexOf(item);
        for (int i = 0; i < items_->Count(); ++i) {
            if (i >= items_->Count()) break;
            const bool inside = i >= std::min(from, to) && i <= std::max(from, to);
            ChangeSelection(items_->Item(i), inside);
        }
    } else {
        SetSelected(item);
    }
    if (Holds(item, stamp)) SetItemFocused(item);
}

// ---- keys

LRESULT TCustomListView::DialogCode() const {
    if (editing_ != nullptr) return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    return DLGC_WANTARROWS | DLGC_WANTCHARS;
}

// Keys typed into the in-place editor are the editor's: the list view's OnKeyDown does not see
// them.
void TCustomListView::KeyDown(Word& key, TShiftState shift) {
    if (editing_ == nullptr) TCustomControl::KeyDown(key, shift);
}

void TCustomListView::KeyPress(char& key) {
    if (editing_ == nullptr) TCustomControl::KeyPress(key);
}

int TCustomListView::NeighbourIndex(int from, Word key) const {
    const int count = items_->Count();
    if (from < 0) return count > 0 ? 0 : -1;
    int step = 1;
    const bool vertical = key == VK_UP || key == VK_DOWN;
    if (viewStyle_ == vsList && !vertical) {
        step = std::max(1, ClientHeight() / ItemHeight());
    } else if ((viewStyle_ == vsIcon || viewStyle_ == vsSmallIcon) && vertical) {
        step = std::max(1, ClientWidth() / CellWidth());
    } else if (viewStyle_ == vsReport && !vertical) {
        return from;  // left and right scroll a report; the focus stays
    }
    const int target = key == VK_UP || key == VK_LEFT ? from - step : from + step;
    return std::clamp(target, 0, count - 1);
}

void TCustomListView::MoveFocus(int index, TShiftState shift) {
    if (index < 0 || index >= items_->Count()) return;
    TListItem* item = items_->Item(index);
    if (multiSelect_ && shift.Contains(ssCtrl)) {
        SetItemFocused(item);
        return;
    }
    if (multiSelect_ && shift.Contains(ssShift) && anchor_ != nullptr) {
        ClickItem(item, {ssShift});
        return;
    }
    ClickItem(item, {});
}

void TCustomListView::DefaultKeyDown(Word& key, TShiftState shift) {
    if (editing_ != nullptr) return EditorKey(key, shift);
    const int focused = ItemFocused() != nullptr ? ItemFocused()->Index() : -1;
    switch (key) {
        case VK_UP:
        case VK_DOWN:
        case VK_LEFT:
        case VK_RIGHT:
            MoveFocus(NeighbourIndex(focused, key), shift);
            break;
        case VK_HOME:
            MoveFocus(0, shift);
            break;
        case VK_END:
            MoveFocus(items_->Count() - 1, shift);
            break;
        case VK_SPACE:
            if (multiSelect_ && shift.Contains(ssCtrl) && focused >= 0)
                ChangeSelection(items_->Item(focused), !items_->Item(focused)->Selected());
            break;
        case VK_F2:
            if (TListItem* item = ItemFocused() != nullptr ? ItemFocused() : Selected())
                BeginEdit(item);
            break;
        case 'A':
            if (shift.Contains(ssCtrl)) SelectAll();
            break;
        default:
            return;
    }
    key = 0;
}

// Typing a character while browsing moves to the next item whose caption starts with it.
void TCustomListView::DefaultKeyPress(char& key) {
    const auto ch = static_cast<unsigned char>(key);
    if (editing_ != nullptr) {
        if (ch >= 32 && ch != 127) editor_.ReplaceSelection(std::string(1, key));
        return;
    }
    if (ch <= 32 || ch >= 127 || items_->Count() == 0) return;
    const int start = ItemFocused() != nullptr ? ItemFocused()->Index() : -1;
    for (int n = 1; n <= items_->Count(); ++n) {
        const int i = (start + n + items_->Count()) % items_->Count();
        const std::string& caption = items_->Item(i)->Caption();
        if (!caption.empty() && SameText(caption.substr(0, 1), std::string(1, key))) {
            MoveFocus(i, {});
            return;
        }
    }
}

void TCustomListView::InputMethodText(const std::string& text) {
    if (editing_ != nullptr) editor_.ReplaceSelection(text);
}

void TCustomListView::EditorKey(Word& key, TShiftState shift) {
    const bool extend = shift.Contains(ssShift);
    switch (key) {
        case VK_RETURN:
            EndEdit(true);
            break;
        case VK_ESCAPE:
            EndEdit(false);
            break;
        case VK_BACK:
            editor_.Backspace();
            break;
        case VK_DELETE:
            editor_.DeleteForward();
            break;
        case VK_LEFT:
            editor_.MoveCaret(editor_.Caret() - 1, extend);
            break;
        case VK_RIGHT:
            editor_.MoveCaret(editor_.Caret() + 1, extend);
            break;
        case VK_HOME:
            editor_.MoveCaret(0, extend);
            break;
        case VK_END:
            editor_.MoveCaret(editor_.Length(), extend);
            break;
        default:
            return;
    }
    key = 0;
}

// ---- automation: a user's click on an item

bool TCustomListView::SelectItemByUser(const std::string& caption) {
    for (int i = 0; i < items_->Count(); ++i)
        if (items_->Item(i)->Caption() == caption) return SelectIndexByUser(i);
    return false;
}

bool TCustomListView::SelectIndexByUser(int index) {
    if (index < 0 || index >= items_->Count()) return false;
    EndEdit(true);
    if (index >= items_->Count()) return false;
    ClickItem(items_->Item(index), {});
    Click();
    return true;
}

}  // namespace kv
