// TCustomGrid: keys, mouse and the in-place editor.
#include <algorithm>

#include "platform/ui/Grids.h"

namespace kv {

// ---- the editor

bool TCustomGrid::CanEditShow() const {
    return options_.Contains(goEditing) && !options_.Contains(goRowSelect);
}

std::string TCustomGrid::GetEditText(int col, int row) {
    std::string value;
    OnGetEditText(this, col, row, value);
    return value;
}

void TCustomGrid::SetEditText(int col, int row, const std::string& value) {
    OnSetEditText(this, col, row, value);
}

void TCustomGrid::SetEditorMode(bool value) {
    if (value) {
        if (CanEditShow()) ShowEditor();
    } else {
        HideEditor(true);
    }
}

void TCustomGrid::ShowEditor() {
    if (editing_ || !CanEditShow()) return;
    editStart_ = GetEditText(col_, row_);
    editor_.SetText(editStart_);
    editor_.SelectAll();
    editing_ = true;
    Invalidate();
}

// The cell already holds what was typed; Esc puts back the text the editor started with.
void TCustomGrid::HideEditor(bool accept) {
    if (!editing_) return;
    editing_ = false;
    if (!accept && editor_.Text() != editStart_) SetEditText(col_, row_, editStart_);
    Invalidate();
}

// Shows the current cell's text again in an open editor (the cell changed under it).
void TCustomGrid::UpdateEditor() {
    if (!editing_) return;
    editor_.SetText(GetEditText(col_, row_));
    editor_.SelectAll();
}

void TCustomGrid::EditTyped() {
    SetEditText(col_, row_, editor_.Text());
}

void TCustomGrid::DoEnter() {
    if (options_.Contains(goAlwaysShowEditor)) ShowEditor();
    TCustomControl::DoEnter();
}

void TCustomGrid::DoExit() {
    if (!options_.Contains(goAlwaysShowEditor)) HideEditor(true);
    TCustomControl::DoExit();
}

// ---- keys

LRESULT TCustomGrid::DialogCode() const {
    LRESULT code = DLGC_WANTARROWS;
    if (options_.Contains(goRowSelect)) return code;
    if (options_.Contains(goTabs)) code |= DLGC_WANTTAB;
    if (options_.Contains(goEditing)) code |= DLGC_WANTCHARS;
    if (editing_) code |= DLGC_WANTALLKEYS;
    return code;
}

void TCustomGrid::MoveCurrent(int col, int row, TShiftState shift) {
    const bool extend = shift.Contains(ssShift) && options_.Contains(goRangeSelect) &&
                        !options_.Contains(goRowSelect);
    const int oldCol = col_;
    const int oldRow = row_;
    const auto life = LifeToken();
    if (FocusCell(col, row, !extend) && !life.expired() && (col_ != oldCol || row_ != oldRow))
        Click();
}

void TCustomGrid::DefaultKeyDown(Word& key, TShiftState shift) {
    if (editing_) {
        EditorKey(key, shift);
        if (key == 0) return;
    }
    const bool ctrl = shift.Contains(ssCtrl);
    switch (key) {
        case VK_UP:
            MoveCurrent(col_, row_ - 1, shift);
            break;
        case VK_DOWN:
            MoveCurrent(col_, row_ + 1, shift);
            break;
        case VK_LEFT:
            MoveCurrent(options_.Contains(goRowSelect) ? col_ : col_ - 1, row_, shift);
            break;
        case VK_RIGHT:
            MoveCurrent(options_.Contains(goRowSelect) ? col_ : col_ + 1, row_, shift);
            break;
        case VK_HOME:
            MoveCurrent(fixedCols_, ctrl ? fixedRows_ : row_, shift);
            break;
        case VK_END:
            MoveCurrent(colCount_ - 1, ctrl ? rowCount_ - 1 : row_, shift);
            break;
        case VK_PRIOR:
            MoveCurrent(col_, fixedRows_, shift);
            break;
        case VK_NEXT:
            MoveCurrent(col_, rowCount_ - 1, shift);
            break;
        case VK_TAB:
            if (!options_.Contains(goTabs)) return;
            if (shift.Contains(ssShift)) {
                MoveCurrent(col_ > fixedCols_ ? col_ - 1 : colCount_ - 1,
                            col_ > fixedCols_ ? row_ : row_ - 1, {});
            } else {
                MoveCurrent(col_ < colCount_ - 1 ? col_ + 1 : fixedCols_,
                            col_ < colCount_ - 1 ? row_ : row_ + 1, {});
            }
            break;
        case VK_F2:
        case VK_RETURN:
            ShowEditor();
            break;
        default:
            return;
    }
    key = 0;
}

// Keys of the open editor; the others (up, down, tab) close it and move on.
void TCustomGrid::EditorKey(Word& key, TShiftState shift) {
    const bool extend = shift.Contains(ssShift);
    switch (key) {
        case VK_RETURN:
            if (!options_.Contains(goAlwaysShowEditor)) HideEditor(true);
            break;
        case VK_ESCAPE:
            HideEditor(false);
            if (options_.Contains(goAlwaysShowEditor)) ShowEditor();
            break;
        case VK_BACK:
            if (editor_.Backspace()) EditTyped();
            break;
        case VK_DELETE:
            if (editor_.DeleteForward()) EditTyped();
            break;
        case VK_LEFT:
            if (editor_.Caret() == 0 && editor_.SelLength() == 0) return;
            editor_.MoveCaret(editor_.Caret() - 1, extend);
            break;
        case VK_RIGHT:
            if (editor_.Caret() == editor_.Length() && editor_.SelLength() == 0) return;
            editor_.MoveCaret(editor_.Caret() + 1, extend);
            break;
        case VK_HOME:
            editor_.MoveCaret(0, extend);
            break;
        case VK_END:
            editor_.MoveCaret(editor_.Length(), extend);
            break;
        default:
            if (key == VK_UP || key == VK_DOWN || key == VK_TAB || key == VK_PRIOR ||
                key == VK_NEXT)
                HideEditor(true);
            return;
    }
    key = 0;
}

// A character typed on a cell that can be edited opens the editor on it; Space acts on the
// cell first (a check cell toggles).
void TCustomGrid::DefaultKeyPress(char& key) {
    const auto ch = static_cast<unsigned char>(key);
    if (ch < 32 || ch == 127) return;
    if (!editing_) {
        if ((ch == ' ' && CellAction(false)) || !CanEditShow()) return;
        ShowEditor();
    }
    if (!editing_) return;
    editor_.ReplaceSelection(std::string(1, key));
    EditTyped();
}

void TCustomGrid::InputMethodText(const std::string& text) {
    if (!editing_) ShowEditor();
    if (!editing_) return;
    editor_.ReplaceSelection(text);
    EditTyped();
}

// ---- mouse

// A click makes the cell current (Shift extends the selection); a click on the current cell
// acts on it (a check cell toggles) or opens the editor.
void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    const auto life = LifeToken();
    const TGridCoord cell = MouseCoord(x, y);
    if (button == mbLeft && !shift.Contains(ssDouble) && cell.X >= fixedCols_ &&
        cell.Y >= fixedRows_) {
        const bool wasCurrent = cell.X == col_ && cell.Y == row_;
        const bool extend = shift.Contains(ssShift) && options_.Contains(goRangeSelect) &&
                            !options_.Contains(goRowSelect);
        if (FocusCell(cell.X, cell.Y, !extend) && !life.expired() && !editing_ &&
            !CellAction(true) && wasCurrent && !life.expired())
            ShowEditor();
    }
    if (!life.expired()) TCustomControl::MouseDown(button, shift, x, y);
}

}  // namespace kv
