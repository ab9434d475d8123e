#include "platform/ui/Aligrid.h"

#include <algorithm>

namespace kv {

KV_PUBLISHED(TStringAlignGrid) {
    b.Property("Alignment", &T::Alignment, &T::SetAlignment).Default(taLeftJustify);
    b.Property("ShowCellHints", &T::ShowCellHints, &T::SetShowCellHints).Default(1);
    b.Event("OnEditButtonClick", &T::OnEditButtonClick);
    b.Event("OnShowHintCell", &T::OnShowHintCell);
}
KV_REGISTER_CLASS(TStringAlignGrid);

TStringAlignGrid::TStringAlignGrid(TComponent* owner) : TStringGrid(owner) {
    SizeChanged();
}

TStringAlignGrid::~TStringAlignGrid() = default;

void TStringAlignGrid::SizeChanged() {
    TStringGrid::SizeChanged();
    columns_.resize(static_cast<std::size_t>(ColCount()));
    rows_.resize(static_cast<std::size_t>(RowCount()));
    extras_.resize(static_cast<std::size_t>(RowCount()));
    // Rows get their cells when one is first set (a grid grows a row at a time); fewer
    // columns drop the cells beyond them.
    const auto cols = static_cast<std::size_t>(ColCount());
    if (cols < widestExtras_) {
        for (auto& row : extras_)
            if (row.size() > cols) row.resize(cols);
        widestExtras_ = cols;
    }
}

void TStringAlignGrid::RowInserted(int row) {
    TStringGrid::RowInserted(row);
    rows_.insert(rows_.begin() + row, TLine());
    extras_.insert(extras_.begin() + row, std::vector<TCellExtra>());
}

void TStringAlignGrid::RowDeleted(int row) {
    TStringGrid::RowDeleted(row);
    rows_.erase(rows_.begin() + row);
    extras_.erase(extras_.begin() + row);
}

const TStringAlignGrid::TColumn* TStringAlignGrid::ColumnAt(int col) const {
    if (col < 0 || col >= ColCount()) return nullptr;
    return &columns_[static_cast<std::size_t>(col)];
}

TStringAlignGrid::TColumn& TStringAlignGrid::ColumnRef(int col) {
    if (col < 0 || col >= ColCount()) GridError("Grid index out of range");
    return columns_[static_cast<std::size_t>(col)];
}

// Null outside the grid and for cells never set.
const TStringAlignGrid::TCellExtra* TStringAlignGrid::ExtraAt(int col, int row) const {
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return nullptr;
    const auto& line = extras_[static_cast<std::size_t>(row)];
    const auto at = static_cast<std::size_t>(col);
    return at < line.size() ? &line[at] : nullptr;
}

TStringAlignGrid::TCellExtra& TStringAlignGrid::ExtraRef(int col, int row) {
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        GridError("Grid index out of range");
    auto& line = extras_[static_cast<std::size_t>(row)];
    const auto cols = static_cast<std::size_t>(ColCount());
    if (line.size() < cols) line.resize(cols);
    widestExtras_ = std::max(widestExtras_, cols);
    return line[static_cast<std::size_t>(col)];
}

// ---- alignment

void TStringAlignGrid::SetAlignment(TAlignment value) {
    alignment_ = value;
    Invalidate();
}

void TStringAlignGrid::SetAlignCol(int col, TAlignment value) {
    TColumn& column = ColumnRef(col);
    column.hasAlignment = true;
    column.alignment = value;
    Invalidate();
}

void TStringAlignGrid::SetAlignRow(int row, TAlignment value) {
    if (row < 0 || row >= RowCount()) GridError("Grid index out of range");
    rows_[static_cast<std::size_t>(row)].hasAlignment = true;
    rows_[static_cast<std::size_t>(row)].alignment = value;
    Invalidate();
}

void TStringAlignGrid::SetAlignCell(int col, int row, TAlignment value) {
    TCellExtra& extra = ExtraRef(col, row);
    extra.hasAlignment = true;
    extra.alignment = value;
    Invalidate();
}

void TStringAlignGrid::ResetAlignCell(int col, int row) {
    ExtraRef(col, row).hasAlignment = false;
    Invalidate();
}

TAlignment TStringAlignGrid::CellAlignment(int col, int row) const {
    if (const TCellExtra* extra = ExtraAt(col, row); extra != nullptr && extra->hasAlignment)
        return extra->alignment;
    if (row >= 0 && row < RowCount() && rows_[static_cast<std::size_t>(row)].hasAlignment)
        return rows_[static_cast<std::size_t>(row)].alignment;
    if (const TColumn* column = ColumnAt(col); column != nullptr && column->hasAlignment)
        return column->alignment;
    return alignment_;
}

// ---- hints and fonts

std::string TStringAlignGrid::HintCell(int col, int row) const {
    const TCellExtra* extra = ExtraAt(col, row);
    return extra != nullptr ? extra->hint : std::string();
}

void TStringAlignGrid::SetHintCell(int col, int row, const std::string& hint) {
    ExtraRef(col, row).hint = hint;
}

std::string TStringAlignGrid::HintAt(int x, int y) {
    const TGridCoord cell = MouseCoord(x, y);
    if (cell.X < 0) return {};
    std::string hint = HintCell(cell.X, cell.Y);
    if (hint.empty()) hint = Hint();
    bool canShow = showCellHints_;
    OnShowHintCell(this, cell.X, cell.Y, hint, canShow);
    return canShow ? hint : std::string();
}

TFont* TStringAlignGrid::ColFont(int col) {
    if (col < 0 || col >= ColCount()) return nullptr;
    auto& font = columns_[static_cast<std::size_t>(col)].font;
    if (font == nullptr) {
        font = std::make_unique<TFont>();
        font->Assign(Font());
    }
    return font.get();
}

TFont* TStringAlignGrid::RowFont(int row) {
    if (row < 0 || row >= RowCount()) return nullptr;
    auto& font = rows_[static_cast<std::size_t>(row)].font;
    if (font == nullptr) {
        font = std::make_unique<TFont>();
        font->Assign(Font());
    }
    return font.get();
}

bool TStringAlignGrid::HasColFont(int col) const {
    const TColumn* column = ColumnAt(col);
    return column != nullptr && column->font != nullptr;
}

bool TStringAlignGrid::HasRowFont(int row) const {
    return row >= 0 && row < RowCount() && rows_[static_cast<std::size_t>(row)].font != nullptr;
}

// ---- column editors

TCellEditKind TStringAlignGrid::ColumnEditKind(int col) const {
    const TColumn* column = ColumnAt(col);
    return column != nullptr ? column->kind : cekEdit;
}

void TStringAlignGrid::SetColumnEditKind(int col, TCellEditKind kind) {
    ColumnRef(col).kind = kind;
    if (kind == cekCheck && EditorMode() && Col() == col) SetEditorMode(false);
    Invalidate();
}

TStrings* TStringAlignGrid::PickList(int col) {
    if (col < 0 || col >= ColCount()) return nullptr;
    auto& list = columns_[static_cast<std::size_t>(col)].pickList;
    if (list == nullptr) list = std::make_unique<TStringList>();
    return list.get();
}

void TStringAlignGrid::SetCheckValues(int col, const std::string& checked,
                                      const std::string& unchecked) {
    TColumn& column = ColumnRef(col);
    column.checked = checked;
    column.unchecked = unchecked;
}

bool TStringAlignGrid::CellChecked(int col, int row) const {
    const TColumn* column = ColumnAt(col);
    return column != nullptr && Cells(col, row) == column->checked;
}

// Written as a user's edit: OnSetEditText hears of it.
void TStringAlignGrid::SetCellChecked(int col, int row, bool checked) {
    const TColumn& column = ColumnRef(col);
    SetEditText(col, row, checked ? column.checked : column.unchecked);
}

TRect TStringAlignGrid::EditButtonRect() const {
    if (!EditorMode()) return {};
    const TCellEditKind kind = ColumnEditKind(Col());
    if (kind != cekEllipsis && kind != cekPickList) return {};
    const TRect cell = CellRect(Col(), Row());
    const int width = std::min(cell.Height(), cell.Width());
    return Rect(cell.Right - width, cell.Top, cell.Right, cell.Bottom);
}

bool TStringAlignGrid::CellAction(bool) {
    if (ColumnEditKind(Col()) != cekCheck) return false;
    SetCellChecked(Col(), Row(), !CellChecked(Col(), Row()));
    return true;
}

// The next value of the pick list after the cell's (the first after the last).
void TStringAlignGrid::PickNext() {
    TStrings* list = PickList(Col());
    if (list == nullptr || list->Count() == 0) return;
    const int index = list->IndexOf(Cells(Col(), Row()));
    const std::string value = list->Strings((index + 1) % list->Count());
    SetEditText(Col(), Row(), value);
    UpdateEditor();
}

void TStringAlignGrid::KeyDown(Word& key, TShiftState shift) {
    const TCellEditKind kind = ColumnEditKind(Col());
    if (EditorMode() && key == VK_RETURN && shift.Contains(ssCtrl) && kind == cekEllipsis) {
        key = 0;
        OnEditButtonClick(this);
        return;
    }
    if (EditorMode() && key == VK_DOWN && shift.Contains(ssAlt) && kind == cekPickList) {
        key = 0;
        PickNext();
        return;
    }
    TStringGrid::KeyDown(key, shift);
}

bool TStringAlignGrid::CanEditShow() const {
    return TStringGrid::CanEditShow() && ColumnEditKind(Col()) != cekCheck;
}

void TStringAlignGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && EditButtonRect().Contains(Point(x, y))) {
        const auto life = LifeToken();
        if (ColumnEditKind(Col()) == cekEllipsis) {
            OnEditButtonClick(this);
        } else {
            PickNext();
        }
        if (!life.expired()) TCustomControl::MouseDown(button, shift, x, y);
        return;
    }
    TStringGrid::MouseDown(button, shift, x, y);
}

// A value of the current cell's pick list is picked as from its drop-down; any other text
// selects the first cell holding it.
bool TStringAlignGrid::SelectItemByUser(const std::string& text) {
    if (ColumnEditKind(Col()) == cekPickList && PickList(Col())->IndexOf(text) >= 0) {
        if (!EditorMode()) SetEditorMode(true);
        SetEditText(Col(), Row(), text);
        UpdateEditor();
        return true;
    }
    return TStringGrid::SelectItemByUser(text);
}

}  // namespace kv
