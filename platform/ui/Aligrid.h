// The aligned string grid of the suite's grid pack (TStringAlignGrid): a string grid whose
// cells carry an alignment (by cell, row, column or the grid's default), a hint and fonts by
// row and column, and whose columns can be edited through an edit button, a pick list or as
// check cells.
//
// - Edit button (cekEllipsis): while the editor is open on a cell of the column, a button
//   stands at the cell's right end (EditButtonRect); clicking it, or Ctrl+Enter, raises
//   OnEditButtonClick.
// - Pick list (cekPickList): the column's PickList holds the values a user picks from
//   (Automation Select with the value, or Alt+Down steps through them).
// - Check cells (cekCheck): a click or Space toggles the cell between the column's checked and
//   unchecked texts ("Y" and "N" by default); an empty cell reads unchecked. No editor opens.
// - Hints: HintAt(x, y) is the hint a user sees over a cell: the cell's hint (else the grid's),
//   passed through OnShowHintCell, which may change it or hide it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Grids.h"
#include "platform/ui/StdCtrls.h"

namespace kv {

KV_ENUM(TCellEditKind, cekEdit, cekEllipsis, cekPickList, cekCheck);

KV_EVENT(TShowHintCellEvent,
         void(TObject* Sender, int ACol, int ARow, std::string& HintStr, bool& CanShow));

class TStringAlignGrid : public TStringGrid {
    KV_CLASS(TStringAlignGrid, TStringGrid)
public:
    explicit TStringAlignGrid(TComponent* owner);
    ~TStringAlignGrid() override;

    // ---- alignment: the cell's, else its row's, else its column's, else Alignment
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    void SetAlignCol(int col, TAlignment value);
    void SetAlignRow(int row, TAlignment value);
    void SetAlignCell(int col, int row, TAlignment value);
    // Forgets the cell's own alignment.
    void ResetAlignCell(int col, int row);
    TAlignment CellAlignment(int col, int row) const;

    // ---- hints and fonts
    std::string HintCell(int col, int row) const;
    void SetHintCell(int col, int row, const std::string& hint);
    bool ShowCellHints() const { return showCellHints_; }
    void SetShowCellHints(bool value) { showCellHints_ = value; }
    // The hint shown over the point ("" when none is shown).
    std::string HintAt(int x, int y);
    // Fonts of a column or a row, made on first use (null when out of range).
    TFont* ColFont(int col);
    TFont* RowFont(int row);
    bool HasColFont(int col) const;
    bool HasRowFont(int row) const;

    // ---- column editors
    TCellEditKind ColumnEditKind(int col) const;
    void SetColumnEditKind(int col, TCellEditKind kind);
    // The values of a pick-list column (null when out of range).
    TStrings* PickList(int col);
    void SetCheckValues(int col, const std::string& checked, const std::string& unchecked);
    bool CellChecked(int col, int row) const;
    void SetCellChecked(int col, int row, bool checked);
    // The edit button of the open editor, or an empty rectangle.
    TRect EditButtonRect() const;

    bool SelectItemByUser(const std::string& text) override;
    // Ctrl+Enter (edit button) and Alt+Down (pick list) belong to the open editor: the grid's
    // OnKeyDown does not see them.
    void KeyDown(Word& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

    TShowHintCellEvent OnShowHintCell;
    TNotifyEvent OnEditButtonClick;

protected:
    bool CellAction(bool byMouse) override;
    // Check cells open no editor.
    bool CanEditShow() const override;
    void SizeChanged() override;
    void RowInserted(int row) override;
    void RowDeleted(int row) override;

private:
    struct TColumn {
        TCellEditKind kind = cekEdit;
        std::unique_ptr<TStringList> pickList;
        std::string checked = "Y";
        std::string unchecked = "N";
        bool hasAlignment = false;
        TAlignment alignment = taLeftJustify;
        std::unique_ptr<TFont> font;
    };
    struct TLine {
        bool hasAlignment = false;
        TAlignment alignment = taLeftJustify;
        std::unique_ptr<TFont> font;
    };
    struct TCellExtra {
        bool hasAlignment = false;
        TAlignment alignment = taLeftJustify;
        std::string hint;
    };
    const TColumn* ColumnAt(int col) const;
    TColumn& ColumnRef(int col);
    TCellExtra& ExtraRef(int col, int row);
    const TCellExtra* ExtraAt(int col, int row) const;
    void PickNext();

    TAlignment alignment_ = taLeftJustify;
    bool showCellHints_ = true;
    std::vector<TColumn> columns_;
    std::vector<TLine> rows_;
    std::vector<std::vector<TCellExtra>> extras_;  // [row][col], a row empty until set
    std::size_t widestExtras_ = 0;                 // the longest row of extras_
};

}  // namespace kv
