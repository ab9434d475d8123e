// TCustomGrid: size, current cell, selection, layout and drawing. Keys, mouse and the editor
// are in GridInput.cpp, TStringGrid in StringGrid.cpp.
#include "platform/ui/Grids.h"

#include <algorithm>

#include "platform/core/SysUtils.h"

namespace kv {

KV_PUBLISHED(TCustomGrid) {}
KV_PUBLISHED(TDrawGrid) {
    PublishControlMembers(b, "Align Anchors Color");
    b.Property("ColCount", &T::ColCount, &T::SetColCount).Default(5);
    b.Property("DefaultColWidth", &T::DefaultColWidth, &T::SetDefaultColWidth).Default(64);
    b.Property("DefaultRowHeight", &T::DefaultRowHeight, &T::SetDefaultRowHeight).Default(24);
    PublishControlMembers(b, "Enabled");
    b.Property("FixedCols", &T::FixedCols, &T::SetFixedCols).Default(1);
    b.Property("FixedRows", &T::FixedRows, &T::SetFixedRows).Default(1);
    PublishControlMembers(b, "Font");
    b.Property("GridLineWidth", &T::GridLineWidth, &T::SetGridLineWidth).Default(1);
    b.Property("Options", &T::Options, &T::SetOptions);
    PublishControlMembers(b, "ParentColor ParentFont ParentShowHint PopupMenu");
    b.Property("RowCount", &T::RowCount, &T::SetRowCount).Default(5);
    PublishControlMembers(b, "ShowHint TabOrder TabStop Visible OnClick OnDblClick");
    b.Event("OnDrawCell", &T::OnDrawCell);
    PublishControlMembers(b, "OnEnter OnExit");
    b.Event("OnGetEditText", &T::OnGetEditText);
    PublishControlMembers(b, "OnKeyDown OnKeyPress OnKeyUp OnMouseDown OnMouseMove OnMouseUp");
    b.Event("OnSelectCell", &T::OnSelectCell);
    b.Event("OnSetEditText", &T::OnSetEditText);
    b.Event("OnTopLeftChanged", &T::OnTopLeftChanged);
}
KV_REGISTER_CLASS(TDrawGrid);

TCustomGrid::TCustomGrid(TComponent* owner)
    : TCustomControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {
    SetTabStop(true);
    SetBounds(Left(), Top(), 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::GridError(const std::string& message) {
    throw EInvalidGridOperation(message);
}

// ---- size

void TCustomGrid::SetColCount(int value) {
    value = std::max(value, 1);
    if (value == colCount_) return;
    HideEditor(true);
    colCount_ = value;
    if (fixedCols_ >= colCount_) fixedCols_ = colCount_ - 1;
    if (!colWidths_.empty())
        colWidths_.resize(static_cast<std::size_t>(colCount_), defaultColWidth_);
    colLefts_.clear();
    SizeChanged();
    col_ = std::clamp(col_, fixedCols_, colCount_ - 1);
    anchor_.X = std::clamp(anchor_.X, fixedCols_, colCount_ - 1);
    Invalidate();
}

void TCustomGrid::SetRowCount(int value) {
    value = std::max(value, 1);
    if (value == rowCount_) return;
    HideEditor(true);
    rowCount_ = value;
    if (fixedRows_ >= rowCount_) fixedRows_ = rowCount_ - 1;
    if (!rowHeights_.empty())
        rowHeights_.resize(static_cast<std::size_t>(rowCount_), defaultRowHeight_);
    rowTops_.clear();
    SizeChanged();
    row_ = std::clamp(row_, fixedRows_, rowCount_ - 1);
    anchor_.Y = std::clamp(anchor_.Y, fixedRows_, rowCount_ - 1);
    Invalidate();
}

void TCustomGrid::SetFixedCols(int value) {
    if (value < 0) GridError("Fixed column count must not be negative");
    if (value >= colCount_) GridError("Fixed column count must be less than column count");
    // The current cell goes back to the first cell that is not fixed.
    HideEditor(true);
    fixedCols_ = value;
    col_ = fixedCols_;
    anchor_ = {col_, row_};
    Invalidate();
}

void TCustomGrid::SetFixedRows(int value) {
    if (value < 0) GridError("Fixed row count must not be negative");
    if (value >= rowCount_) GridError("Fixed row count must be less than row count");
    HideEditor(true);
    fixedRows_ = value;
    row_ = fixedRows_;
    anchor_ = {col_, row_};
    Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int value) {
    defaultColWidth_ = std::max(value, 0);
    colWidths_.clear();
    colLefts_.clear();
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int value) {
    defaultRowHeight_ = std::max(value, 0);
    rowHeights_.clear();
    rowTops_.clear();
    Invalidate();
}

int TCustomGrid::ColWidths(int col) const {
    if (col < 0 || col >= colCount_) return 0;
    return colWidths_.empty() ? defaultColWidth_ : colWidths_[static_cast<std::size_t>(col)];
}

void TCustomGrid::SetColWidths(int col, int width) {
    if (col < 0 || col >= colCount_) GridError("Grid index out of range");
    if (colWidths_.empty())
        colWidths_.assign(static_cast<std::size_t>(colCount_), defaultColWidth_);
    colWidths_[static_cast<std::size_t>(col)] = std::max(width, 0);
    colLefts_.clear();
    Invalidate();
}

int TCustomGrid::RowHeights(int row) const {
    if (row < 0 || row >= rowCount_) return 0;
    return rowHeights_.empty() ? defaultRowHeight_ : rowHeights_[static_cast<std::size_t>(row)];
}

void TCustomGrid::SetRowHeights(int row, int height) {
    if (row < 0 || row >= rowCount_) GridError("Grid index out of range");
    if (rowHeights_.empty())
        rowHeights_.assign(static_cast<std::size_t>(rowCount_), defaultRowHeight_);
    rowHeights_[static_cast<std::size_t>(row)] = std::max(height, 0);
    rowTops_.clear();
    Invalidate();
}

void TCustomGrid::SetGridLineWidth(int value) {
    gridLineWidth_ = std::max(value, 0);
    colLefts_.clear();
    rowTops_.clear();
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions value) {
    options_ = value;
    if (!CanEditShow()) {
        HideEditor(true);
    } else if (options_.Contains(goAlwaysShowEditor) && Focused()) {
        ShowEditor();
    }
    if (options_.Contains(goRowSelect)) anchor_ = {fixedCols_, row_};
    Invalidate();
}

void TCustomGrid::InsertRow(int row) {
    if (row < fixedRows_ || row > rowCount_) GridError("Grid index out of range");
    HideEditor(true);
    ++rowCount_;
    if (!rowHeights_.empty()) rowHeights_.insert(rowHeights_.begin() + row, defaultRowHeight_);
    rowTops_.clear();
    RowInserted(row);
    Invalidate();
}

void TCustomGrid::DeleteRow(int row) {
    if (row < fixedRows_ || row >= rowCount_) GridError("Grid index out of range");
    if (rowCount_ - 1 <= fixedRows_) GridError("Fixed row count must be less than row count");
    HideEditor(true);
    --rowCount_;
    if (!rowHeights_.empty()) rowHeights_.erase(rowHeights_.begin() + row);
    rowTops_.clear();
    RowDeleted(row);
    row_ = std::clamp(row_, fixedRows_, rowCount_ - 1);
    anchor_ = {std::clamp(anchor_.X, fixedCols_, colCount_ - 1), row_};
    Invalidate();
}

// ---- current cell and selection

bool TCustomGrid::SelectCell(int col, int row) {
    bool canSelect = true;
    OnSelectCell(this, col, row, canSelect);
    return canSelect;
}

bool TCustomGrid::FocusCell(int col, int row, bool moveAnchor) {
    col = std::clamp(col, fixedCols_, colCount_ - 1);
    row = std::clamp(row, fixedRows_, rowCount_ - 1);
    if (col != col_ || row != row_) {
        const auto life = LifeToken();
        if (!SelectCell(col, row) || life.expired()) return false;
        HideEditor(true);
        col_ = col;
        row_ = row;
    }
    if (moveAnchor) anchor_ = {options_.Contains(goRowSelect) ? fixedCols_ : col_, row_};
    if (options_.Contains(goAlwaysShowEditor) && CanEditShow() && Focused()) ShowEditor();
    Invalidate();
    return true;
}

TGridRect TCustomGrid::Selection() const {
    if (options_.Contains(goRowSelect))
        return {fixedCols_, std::min(anchor_.Y, row_), colCount_ - 1, std::max(anchor_.Y, row_)};
    return {std::min(anchor_.X, col_), std::min(anchor_.Y, row_), std::max(anchor_.X, col_),
            std::max(anchor_.Y, row_)};
}

void TCustomGrid::SetSelection(const TGridRect& value) {
    if (!FocusCell(value.Right, value.Bottom, true)) return;
    anchor_ = {std::clamp(value.Left, fixedCols_, colCount_ - 1),
               std::clamp(value.Top, fixedRows_, rowCount_ - 1)};
    Invalidate();
}

// ---- layout and drawing

TRect TCustomGrid::CellRect(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return {};
    return Bounds(ColLeft(col), RowTop(row), ColWidths(col), RowHeights(row));
}

int TCustomGrid::Offset(const std::vector<int>& sizes, std::vector<int>& starts, int index,
                        int size, int line) {
    if (sizes.empty()) return index * (size + line);
    if (starts.empty()) {
        starts.reserve(sizes.size() + 1);
        starts.push_back(0);
        for (const int each : sizes)
            starts.push_back(starts.back() + each + line);
    }
    return starts[static_cast<std::size_t>(index)];
}

int TCustomGrid::ColLeft(int col) const {
    return Offset(colWidths_, colLefts_, col, defaultColWidth_, gridLineWidth_);
}

int TCustomGrid::RowTop(int row) const {
    return Offset(rowHeights_, rowTops_, row, defaultRowHeight_, gridLineWidth_);
}

// The last column (row) starting at or before position holds it, unless position falls on the
// grid line after it.
int TCustomGrid::IndexAt(const std::vector<int>& sizes, std::vector<int>& starts, int count,
                         int size, int line, int position) {
    if (position < 0 || count <= 0) return -1;
    int index = 0;
    if (sizes.empty()) {
        if (size + line <= 0) return -1;
        index = std::min(position / (size + line), count - 1);
    } else {
        Offset(sizes, starts, 0, size, line);
        const auto end = starts.begin() + count;
        index =
            static_cast<int>(std::upper_bound(starts.begin(), end, position) - starts.begin()) - 1;
        size = sizes[static_cast<std::size_t>(index)];
    }
    const int start =
        sizes.empty() ? index * (size + line) : starts[static_cast<std::size_t>(index)];
    return position < start + size ? index : -1;
}

int TCustomGrid::ColAt(int x) const {
    return IndexAt(colWidths_, colLefts_, colCount_, defaultColWidth_, gridLineWidth_, x);
}

int TCustomGrid::RowAt(int y) const {
    return IndexAt(rowHeights_, rowTops_, rowCount_, defaultRowHeight_, gridLineWidth_, y);
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
    const TGridCoord coord{ColAt(x), RowAt(y)};
    if (coord.X < 0 || coord.Y < 0) return {-1, -1};
    return coord;
}

void TCustomGrid::MouseToCell(int x, int y, int& col, int& row) const {
    const TGridCoord coord = MouseCoord(x, y);
    col = coord.X;
    row = coord.Y;
}

void TCustomGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    OnDrawCell(this, col, row, rect, state);
}

void TCustomGrid::PaintCells() {
    const TGridRect selection = Selection();
    const auto life = LifeToken();
    for (int row = 0; row < rowCount_; ++row) {
        for (int col = 0; col < colCount_; ++col) {
            TGridDrawState state;
            if (col < fixedCols_ || row < fixedRows_) {
                state.Include(gdFixed);
            } else if (selection.Contains(col, row)) {
                state.Include(gdSelected);
            }
            if (col == col_ && row == row_ && Focused()) state.Include(gdFocused);
            DrawCell(col, row, CellRect(col, row), state);
            if (life.expired()) return;
        }
    }
}

void TCustomGrid::Loaded() {
    TCustomControl::Loaded();
    col_ = std::clamp(col_, fixedCols_, colCount_ - 1);
    row_ = std::clamp(row_, fixedRows_, rowCount_ - 1);
    anchor_ = {col_, row_};
}

}  // namespace kv
