// The Grids unit: TCustomGrid (cells in rows and columns, fixed rows and columns at the top and
// left, a current cell, a selection, an in-place editor), TDrawGrid (cells drawn by OnDrawCell)
// and TStringGrid (a text per cell).
//
// Rules the grids keep:
// - The current cell (Col, Row) is never a fixed cell. Moving it, by code, keys or clicks,
//   asks OnSelectCell first; a refusal keeps the cell where it was.
// - With goEditing the current cell can be edited: F2 or Enter opens the editor, a typed
//   character opens it on that character, Enter closes it again, Esc drops the edit; the text
//   goes to the cell (SetEditText, OnSetEditText) as it is typed. goAlwaysShowEditor keeps the
//   editor open on every cell the user moves to. goRowSelect selects whole rows and edits
//   nothing; goRangeSelect lets Shift extend the selection; goTabs moves with Tab.
// - Layout is deterministic (CellRect, MouseToCell), from the column widths and row heights,
//   with no scrolling (TopRow and LeftCol stay at the first non-fixed cell).
// Errors raise EInvalidGridOperation ("Fixed row count must be less than row count").
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Canvas.h"
#include "platform/ui/Controls.h"
#include "platform/ui/EditBuffer.h"

namespace kv {

KV_DECLARE_EXCEPTION(EInvalidGridOperation, Exception);

KV_ENUM(TGridOption, goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
        goDrawFocusSelected, goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs,
        goRowSelect, goAlwaysShowEditor, goThumbTracking);
KV_SET(TGridOptions, TGridOption);
KV_ENUM(TGridDrawStateItem, gdSelected, gdFocused, gdFixed);
KV_SET(TGridDrawState, TGridDrawStateItem);

struct TGridCoord {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// Columns Left..Right and rows Top..Bottom, inclusive.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool Contains(int col, int row) const {
        return col >= Left && col <= Right && row >= Top && row <= Bottom;
    }
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

KV_EVENT(TSelectCellEvent, void(TObject* Sender, int ACol, int ARow, bool& CanSelect));
KV_EVENT(TDrawCellEvent,
         void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State));
KV_EVENT(TGetEditEvent, void(TObject* Sender, int ACol, int ARow, std::string& Value));
KV_EVENT(TSetEditEvent, void(TObject* Sender, int ACol, int ARow, const std::string& Value));

class TCustomGrid : public TCustomControl {
    KV_CLASS(TCustomGrid, TCustomControl)
public:
    explicit TCustomGrid(TComponent* owner);
    ~TCustomGrid() override;

    // ---- size. Counts are at least 1 (fixed ones less); FixedCols/FixedRows must stay below.
    int ColCount() const { return colCount_; }
    void SetColCount(int value);
    int RowCount() const { return rowCount_; }
    void SetRowCount(int value);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int value);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int value);
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int value);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int value);
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions value);
    // Inserts an empty row before row (RowCount grows) and removes a row; the cells of a
    // string grid move with their rows.
    void InsertRow(int row);
    void DeleteRow(int row);

    // ---- the current cell and the selection
    int Col() const { return col_; }
    void SetCol(int value) { FocusCell(value, row_, true); }
    int Row() const { return row_; }
    void SetRow(int value) { FocusCell(col_, value, true); }
    TGridRect Selection() const;
    void SetSelection(const TGridRect& value);
    int TopRow() const { return fixedRows_; }
    int LeftCol() const { return fixedCols_; }

    // ---- editing
    bool EditorMode() const { return editing_; }
    // Opening needs goEditing (and no goRowSelect) and CanEditShow; closing writes the text.
    void SetEditorMode(bool value);
    // The editor's text while it is open.
    std::string EditorText() const { return editor_.Text(); }

    // ---- layout, in client coordinates
    TRect CellRect(int col, int row) const;
    // The cell under a point; -1, -1 outside the cells.
    TGridCoord MouseCoord(int x, int y) const;
    void MouseToCell(int x, int y, int& col, int& row) const;
    TCanvas* Canvas() const { return canvas_.get(); }
    // Draws every cell through DrawCell (what a backend does when it paints).
    void PaintCells();

    // ---- input
    LRESULT DialogCode() const override;
    void DefaultKeyDown(Word& key, TShiftState shift) override;
    void DefaultKeyPress(char& key) override;
    void InputMethodText(const std::string& text) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void Loaded() override;

    TSelectCellEvent OnSelectCell;
    TDrawCellEvent OnDrawCell;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;
    TNotifyEvent OnTopLeftChanged;

protected:
    // The platform's dynamic methods.
    virtual bool SelectCell(int col, int row);
    virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);
    virtual std::string GetEditText(int col, int row);
    virtual void SetEditText(int col, int row, const std::string& value);
    virtual bool CanEditShow() const;
    // The grid's shape changed: a string grid keeps its cells in step.
    virtual void SizeChanged() {}
    virtual void RowInserted(int row) { (void)row; }
    virtual void RowDeleted(int row) { (void)row; }
    // A user acts on the current cell while the editor is not open (a click on it, Space):
    // check cells of derived grids toggle here; answer true to keep the editor shut.
    virtual bool CellAction(bool byMouse) {
        (void)byMouse;
        return false;
    }
    // With goAlwaysShowEditor the editor opens when the grid takes the focus.
    void DoEnter() override;
    void DoExit() override;
    // Moves the current cell (clamped to the non-fixed cells) after OnSelectCell agreed;
    // false when it refused. With moveAnchor the selection collapses to the new cell.
    bool FocusCell(int col, int row, bool moveAnchor);
    void ShowEditor();
    void HideEditor(bool accept);
    void UpdateEditor();
    TEditBuffer& Editor() { return editor_; }
    [[noreturn]] static void GridError(const std::string& message);

private:
    void MoveCurrent(int col, int row, TShiftState shift);
    void Paint() override { PaintCells(); }
    void EditorKey(Word& key, TShiftState shift);
    void EditTyped();
    // Where a column or row starts (index up to the count): O(1) with default sizes, else
    // from running sums kept until a size changes.
    int ColLeft(int col) const;
    int RowTop(int row) const;
    static int Offset(const std::vector<int>& sizes, std::vector<int>& starts, int index, int size,
                      int line);
    // The column or row holding a coordinate, -1 when none.
    int ColAt(int x) const;
    int RowAt(int y) const;
    static int IndexAt(const std::vector<int>& sizes, std::vector<int>& starts, int count, int size,
                       int line, int position);

    int colCount_ = 5;
    int rowCount_ = 5;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
    int gridLineWidth_ = 1;
    std::vector<int> colWidths_;  // empty: all default
    std::vector<int> rowHeights_;
    // Running sums of colWidths_ / rowHeights_ with the grid lines; empty when out of date.
    mutable std::vector<int> colLefts_;
    mutable std::vector<int> rowTops_;
    TGridOptions options_ = {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                             goRangeSelect};
    int col_ = 1;
    int row_ = 1;
    TGridCoord anchor_{1, 1};
    bool editing_ = false;
    std::string editStart_;  // the cell's text when the editor opened (Esc puts it back)
    TEditBuffer editor_;
    std::unique_ptr<TControlCanvas> canvas_;
};

class TDrawGrid : public TCustomGrid {
    KV_CLASS(TDrawGrid, TCustomGrid)
public:
    explicit TDrawGrid(TComponent* owner) : TCustomGrid(owner) {}
};

class TStringGrid : public TDrawGrid {
    KV_CLASS(TStringGrid, TDrawGrid)
public:
    explicit TStringGrid(TComponent* owner);
    ~TStringGrid() override;

    // Cells outside the grid read "" and raise EInvalidGridOperation when written.
    std::string Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& value);
    TObject* Objects(int col, int row) const;
    void SetObjects(int col, int row, TObject* value);
    // The cells of a row or a column as a string list (Strings, Assign, CommaText, Clear);
    // lines cannot be inserted or deleted.
    TStrings* Rows(int row);
    TStrings* Cols(int col);
    bool SelectItemByUser(const std::string& text) override;

protected:
    std::string GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const std::string& value) override;
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    void SizeChanged() override;
    void RowInserted(int row) override;
    void RowDeleted(int row) override;

private:
    class TLineStrings;
    struct TCell {
        std::string text;
        TObject* object = nullptr;
    };
    bool InGrid(int col, int row) const;
    // Null for a cell never set (or outside the grid).
    const TCell* CellAt(int col, int row) const;
    // A cell inside the grid, made when first set.
    TCell& MakeCell(int col, int row);

    std::vector<std::vector<TCell>> cells_;  // [row][col], a row empty until one is set
    std::size_t widestRow_ = 0;              // the longest row of cells_
    std::map<std::pair<bool, int>, std::unique_ptr<TLineStrings>> lines_;  // by (row?, index)
};

}  // namespace kv
