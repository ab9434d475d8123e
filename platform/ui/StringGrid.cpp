// TStringGrid: a text and an object per cell, rows and columns as string lists.
#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/ui/Grids.h"

namespace kv {

KV_PUBLISHED(TStringGrid) {}
KV_REGISTER_CLASS(TStringGrid);

// One row or column of the grid as a string list: its lines are the cells.
class TStringGrid::TLineStrings : public TStrings {
public:
    TLineStrings(TStringGrid& grid, bool isRow, int index)
        : grid_(grid), isRow_(isRow), index_(index) {}

    int Count() const override { return isRow_ ? grid_.ColCount() : grid_.RowCount(); }
    // Fills the first empty cell; -1 when there is none.
    int Add(const std::string& s) override {
        for (int i = 0; i < Count(); ++i) {
            if (Get(i).empty()) {
                Put(i, s);
                return i;
            }
        }
        return -1;
    }
    int AddPointer(const std::string& s, void* pointer) override {
        const int index = Add(s);
        if (index >= 0) PutObjectPtr(index, pointer);
        return index;
    }
    void Insert(int, const std::string&) override {
        throw EInvalidGridOperation("Cannot insert a cell into a grid line");
    }
    void Delete(int) override {
        throw EInvalidGridOperation("Cannot delete a cell of a grid line");
    }
    void Clear() override {
        for (int i = 0; i < Count(); ++i) {
            Put(i, "");
            PutObjectPtr(i, nullptr);
        }
    }

protected:
    std::string Get(int index) const override {
        CheckIndex(index);
        return isRow_ ? grid_.Cells(index, index_) : grid_.Cells(index_, index);
    }
    void Put(int index, const std::string& s) override {
        CheckIndex(index);
        if (isRow_) {
            grid_.SetCells(index, index_, s);
        } else {
            grid_.SetCells(index_, index, s);
        }
    }
    void* GetObjectPtr(int index) const override {
        CheckIndex(index);
        return isRow_ ? grid_.Objects(index, index_) : grid_.Objects(index_, index);
    }
    void PutObjectPtr(int index, void* pointer) override {
        CheckIndex(index);
        auto* object = static_cast<TObject*>(pointer);
        if (isRow_) {
            grid_.SetObjects(index, index_, object);
        } else {
            grid_.SetObjects(index_, index, object);
        }
    }

private:
    TStringGrid& grid_;
    bool isRow_;
    int index_;
};

TStringGrid::TStringGrid(TComponent* owner) : TDrawGrid(owner) {
    SizeChanged();
}

TStringGrid::~TStringGrid() = default;

// Rows get their cells when one is first set, so that growing the grid a row at a time touches
// no other row; fewer columns drop the cells beyond them.
void TStringGrid::SizeChanged() {
    cells_.resize(static_cast<std::size_t>(RowCount()));
    const auto cols = static_cast<std::size_t>(ColCount());
    if (cols < widestRow_) {
        for (auto& row : cells_)
            if (row.size() > cols) row.resize(cols);
        widestRow_ = cols;
    }
}

void TStringGrid::RowInserted(int row) {
    cells_.insert(cells_.begin() + row, std::vector<TCell>());
}

void TStringGrid::RowDeleted(int row) {
    cells_.erase(cells_.begin() + row);
}

bool TStringGrid::InGrid(int col, int row) const {
    return col >= 0 && row >= 0 && col < ColCount() && row < RowCount();
}

const TStringGrid::TCell* TStringGrid::CellAt(int col, int row) const {
    if (!InGrid(col, row)) return nullptr;
    const auto& line = cells_[static_cast<std::size_t>(row)];
    const auto at = static_cast<std::size_t>(col);
    return at < line.size() ? &line[at] : nullptr;
}

TStringGrid::TCell& TStringGrid::MakeCell(int col, int row) {
    auto& line = cells_[static_cast<std::size_t>(row)];
    const auto cols = static_cast<std::size_t>(ColCount());
    if (line.size() < cols) line.resize(cols);
    widestRow_ = std::max(widestRow_, cols);
    return line[static_cast<std::size_t>(col)];
}

std::string TStringGrid::Cells(int col, int row) const {
    const TCell* cell = CellAt(col, row);
    return cell != nullptr ? cell->text : std::string();
}

void TStringGrid::SetCells(int col, int row, const std::string& value) {
    if (!InGrid(col, row)) GridError("Grid index out of range");
    const TCell* cell = CellAt(col, row);
    if (cell != nullptr ? cell->text == value : value.empty()) return;
    MakeCell(col, row).text = value;
    // Code that writes the cell being edited shows in the editor.
    if (EditorMode() && col == Col() && row == Row() && EditorText() != value) UpdateEditor();
    Invalidate();
}

TObject* TStringGrid::Objects(int col, int row) const {
    const TCell* cell = CellAt(col, row);
    return cell != nullptr ? cell->object : nullptr;
}

void TStringGrid::SetObjects(int col, int row, TObject* value) {
    if (!InGrid(col, row)) GridError("Grid index out of range");
    if (value == nullptr && CellAt(col, row) == nullptr) return;
    MakeCell(col, row).object = value;
}

TStrings* TStringGrid::Rows(int row) {
    if (row < 0 || row >= RowCount()) GridError("Grid index out of range");
    auto& line = lines_[{true, row}];
    if (line == nullptr) line = std::make_unique<TLineStrings>(*this, true, row);
    return line.get();
}

TStrings* TStringGrid::Cols(int col) {
    if (col < 0 || col >= ColCount()) GridError("Grid index out of range");
    auto& line = lines_[{false, col}];
    if (line == nullptr) line = std::make_unique<TLineStrings>(*this, false, col);
    return line.get();
}

std::string TStringGrid::GetEditText(int col, int row) {
    std::string value = Cells(col, row);
    OnGetEditText(this, col, row, value);
    return value;
}

void TStringGrid::SetEditText(int col, int row, const std::string& value) {
    if (!InGrid(col, row)) return;
    SetCells(col, row, value);
    TDrawGrid::SetEditText(col, row, value);
}

void TStringGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    Canvas()->TextRect(rect, rect.Left + 2, rect.Top + 2, Cells(col, row));
    TDrawGrid::DrawCell(col, row, rect, state);
}

// A user picking a text: the first cell that holds it becomes current, as a click on it.
bool TStringGrid::SelectItemByUser(const std::string& text) {
    for (int row = FixedRows(); row < RowCount(); ++row) {
        for (int col = FixedCols(); col < ColCount(); ++col) {
            if (Cells(col, row) != text) continue;
            const TRect rect = CellRect(col, row);
            MouseDown(mbLeft, {ssLeft}, rect.Left + 1, rect.Top + 1);
            Click();
            return true;
        }
    }
    return false;
}

}  // namespace kv
