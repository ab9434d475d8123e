// Draw grids, string grids and the aligned string grid through the automation interface:
// cells, the current cell and selection, fixed rows and columns, options, the in-place editor,
// check, pick-list and edit-button columns, cell hints.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/ui/Aligrid.h"
#include "platform/ui/FormReader.h"
#include "platform/ui/Grids.h"
#include "tests/platform/ui/UiTestFixture.h"

namespace kv::test {
namespace {

class TfrmGridTest : public TForm {
    KV_CLASS(TfrmGridTest, TForm)
public:
    explicit TfrmGridTest(TComponent* owner) : TForm(owner, true) {}
    void gridSelectCell(TObject*, int col, int row, bool& canSelect) {
        canSelect = !(col == refusedCol && row == refusedRow);
    }
    void gridSetEditText(TObject*, int col, int row, const std::string& value) {
        log.push_back(IntToStr(col) + "," + IntToStr(row) + "=" + value);
    }
    void gridDrawCell(TObject*, int col, int row, TRect, TGridDrawState state) {
        std::string flags;
        if (state.Contains(gdFixed)) flags += "F";
        if (state.Contains(gdSelected)) flags += "S";
        if (state.Contains(gdFocused)) flags += "*";
        drawn.push_back(IntToStr(col) + "," + IntToStr(row) + flags);
    }
    // The recipient grid's keys: Down on the last row appends a row, Ctrl+Delete removes one.
    void grReceiveKeyDown(TObject*, Word& key, TShiftState shift) {
        if (key == VK_DOWN && grReceive->Row() == grReceive->RowCount() - 1) {
            grReceive->SetRowCount(grReceive->RowCount() + 1);
            grReceive->SetRow(grReceive->RowCount() - 1);
        } else if (key == VK_DELETE && shift.Contains(ssCtrl) && grReceive->RowCount() > 2) {
            grReceive->DeleteRow(grReceive->Row());
            key = 0;
        }
    }
    // Hints of column 0 show while the editor is open only.
    void grReceiveShowHintCell(TObject*, int col, int, std::string&, bool& canShow) {
        canShow = col == 0 && grReceive->EditorMode();
    }
    void grReceiveEditButtonClick(TObject*) {
        log.push_back("button " + IntToStr(grReceive->Col()) + "," + IntToStr(grReceive->Row()));
        grReceive->SetCells(0, grReceive->Row(), "796");
    }

    TStringGrid* grPlain = nullptr;
    TDrawGrid* grDraw = nullptr;
    TStringAlignGrid* grReceive = nullptr;
    std::vector<std::string> log;
    std::vector<std::string> drawn;
    int refusedCol = -1;
    int refusedRow = -1;
};
KV_PUBLISHED(TfrmGridTest) {
    b.Method("gridSelectCell", &T::gridSelectCell);
    b.Method("gridSetEditText", &T::gridSetEditText);
    b.Method("gridDrawCell", &T::gridDrawCell);
    b.Method("grReceiveKeyDown", &T::grReceiveKeyDown);
    b.Method("grReceiveShowHintCell", &T::grReceiveShowHintCell);
    b.Method("grReceiveEditButtonClick", &T::grReceiveEditButtonClick);
    b.Field("grPlain", &T::grPlain);
    b.Field("grDraw", &T::grDraw);
    b.Field("grReceive", &T::grReceive);
}

const char* const kGridForm =
    "object frmGrid: TfrmGridTest\n"
    "  Width = 640\n"
    "  Height = 480\n"
    "  object grPlain: TStringGrid\n"
    "    ColCount = 4\n"
    "    RowCount = 4\n"
    "    Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,\n"
    "      goEditing, goTabs]\n"
    "    OnSelectCell = gridSelectCell\n"
    "    OnSetEditText = gridSetEditText\n"
    "  end\n"
    "  object grDraw: TDrawGrid\n"
    "    Top = 150\n"
    "    ColCount = 3\n"
    "    RowCount = 3\n"
    "    OnDrawCell = gridDrawCell\n"
    "  end\n"
    "  object grReceive: TStringAlignGrid\n"
    "    Top = 300\n"
    "    Width = 500\n"
    "    ColCount = 8\n"
    "    FixedCols = 0\n"
    "    RowCount = 2\n"
    "    DefaultRowHeight = 18\n"
    "    Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,\n"
    "      goColSizing, goEditing, goAlwaysShowEditor]\n"
    "    Hint = 'recipients'\n"
    "    OnEditButtonClick = grReceiveEditButtonClick\n"
    "    OnKeyDown = grReceiveKeyDown\n"
    "    OnSetEditText = gridSetEditText\n"
    "    OnShowHintCell = grReceiveShowHintCell\n"
    "  end\n"
    "end\n";

class GridsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form_ = FixtureForm(NewObject<TfrmGridTest>(&Application()));
        ReadComponentDescription(*form_, kGridForm, "grids.kvform");
        form_->Show();
    }
    static void ClickCell(TCustomGrid& grid, int col, int row, TShiftState shift = {}) {
        const TRect r = grid.CellRect(col, row);
        TInput::Click(grid, mbLeft, shift, r.Left + 2, r.Top + 2);
    }
    std::vector<std::string> TakeLog() { return std::exchange(form_->log, {}); }
    TfrmGridTest* form_ = nullptr;
};

TEST_F(GridsTest, CellsRowsAndColumnsOfAStringGrid) {
    TStringGrid& grid = *form_->grPlain;
    grid.SetCells(1, 2, "b");
    grid.Rows(1)->SetCommaText("h0,h1,h2,h3");
    EXPECT_EQ(grid.Cells(2, 1), "h2");
    EXPECT_EQ(grid.Cols(1)->CommaText(), ",h1,b,");
    EXPECT_EQ(grid.Cells(9, 9), "");  // outside reads empty
    EXPECT_THROW(grid.SetCells(4, 0, "x"), EInvalidGridOperation);
    EXPECT_THROW(grid.Rows(1)->Insert(0, "x"), EInvalidGridOperation);
    // Growing keeps the cells; a row inserted or deleted moves the cells with it.
    grid.SetColCount(6);
    EXPECT_EQ(grid.Cells(1, 2), "b");
    grid.InsertRow(2);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.Cells(1, 3), "b");
    grid.DeleteRow(1);
    EXPECT_EQ(grid.Cells(1, 2), "b");
    EXPECT_EQ(grid.Cells(2, 1), "");
    EXPECT_THROW(grid.SetFixedRows(4), EInvalidGridOperation);
    EXPECT_THROW(grid.DeleteRow(0), EInvalidGridOperation);  // a fixed row
    grid.SetRowCount(1);                                     // the fixed rows give way
    EXPECT_EQ(grid.FixedRows(), 0);
}

TEST_F(GridsTest, CurrentCellFollowsKeysAndClicksButNeverAFixedCell) {
    TStringGrid& grid = *form_->grPlain;
    Automation().Focus("frmGrid.grPlain");
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Row(), 1);
    Automation().PressKey(VK_UP);  // the fixed row is no place to go
    EXPECT_EQ(grid.Row(), 1);
    Automation().PressKey(VK_RIGHT);
    Automation().PressKey(VK_DOWN, {ssShift});  // extends the selection
    EXPECT_EQ(grid.Selection(), (TGridRect{2, 1, 2, 2}));
    Automation().PressKey(VK_END, {ssCtrl});
    EXPECT_EQ(grid.Col(), 3);
    EXPECT_EQ(grid.Row(), 3);
    Automation().PressKey(VK_TAB);  // goTabs: Tab wraps to the next row's first cell
    EXPECT_EQ(grid.Col(), 1);
    ClickCell(grid, 0, 0);  // fixed
    EXPECT_EQ(grid.Col(), 1);
    ClickCell(grid, 2, 2);
    ClickCell(grid, 3, 3, {ssShift});
    EXPECT_EQ(grid.Selection(), (TGridRect{2, 2, 3, 3}));
    form_->refusedCol = 1;
    form_->refusedRow = 2;
    ClickCell(grid, 1, 2);  // OnSelectCell refuses
    EXPECT_EQ(grid.Col(), 3);
    grid.SetOptions(grid.Options() + TGridOptions{goRowSelect});
    ClickCell(grid, 2, 1);
    EXPECT_EQ(grid.Selection(), (TGridRect{1, 1, 3, 1}));
}

TEST_F(GridsTest, TheEditorOpensOnTypingAndWritesTheCellAsTyped) {
    TStringGrid& grid = *form_->grPlain;
    grid.SetCells(1, 1, "old");
    Automation().Focus("frmGrid.grPlain");
    Automation().TypeText("ab");  // the first character replaces the text
    EXPECT_TRUE(grid.EditorMode());
    EXPECT_EQ(grid.Cells(1, 1), "ab");
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"1,1=a", "1,1=ab"}));
    Automation().PressKey(VK_RETURN);
    EXPECT_FALSE(grid.EditorMode());
    Automation().PressKey(VK_F2);
    Automation().TypeText("\xE4\xB8\xAD");  // input-method text replaces the selection
    Automation().PressKey(VK_ESCAPE);       // Esc puts the text back
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.Cells(1, 1), "ab");
    Automation().PressKey(VK_F2);
    Automation().PressKey(VK_END);
    Automation().TypeText("c");
    Automation().PressKey(VK_DOWN);  // leaving the cell keeps the edit
    EXPECT_EQ(grid.Cells(1, 1), "abc");
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_FALSE(grid.EditorMode());
    grid.SetOptions(grid.Options() - TGridOptions{goEditing});
    Automation().TypeText("z");
    EXPECT_EQ(grid.Cells(1, 2), "");
}

TEST_F(GridsTest, ADrawGridDrawsEveryCellWithItsState) {
    TDrawGrid& grid = *form_->grDraw;
    Automation().Focus("frmGrid.grDraw");
    Automation().PressKey(VK_RIGHT, {ssShift});
    form_->drawn.clear();
    grid.PaintCells();
    EXPECT_EQ(form_->drawn, (std::vector<std::string>{"0,0F", "1,0F", "2,0F", "0,1F", "1,1S",
                                                      "2,1S*", "0,2F", "1,2", "2,2"}));
    const TRect cell = grid.CellRect(1, 1);
    EXPECT_EQ(cell, Bounds(65, 25, 64, 24));  // widths and heights plus the grid lines
    EXPECT_EQ(grid.MouseCoord(cell.Left, cell.Bottom - 1), (TGridCoord{1, 1}));
    EXPECT_EQ(grid.MouseCoord(64, 5), (TGridCoord{-1, -1}));  // on a grid line
}

TEST_F(GridsTest, RecipientGridColumnsEditButtonPickListChecksAndHints) {
    TStringAlignGrid& grid = *form_->grReceive;
    grid.SetColumnEditKind(0, cekEllipsis);
    grid.SetColumnEditKind(4, cekPickList);
    grid.PickList(4)->SetCommaText("1.System,5.Portal");
    for (int col = 5; col <= 7; ++col)
        grid.SetColumnEditKind(col, cekCheck);
    grid.SetHintCell(0, 1, "[F2] users");

    // The editor is always shown: the button stands at the right of the open cell.
    Automation().Focus("frmGrid.grReceive");
    EXPECT_TRUE(grid.EditorMode());
    EXPECT_EQ(grid.HintAt(2, grid.CellRect(0, 1).Top + 2), "[F2] users");
    EXPECT_EQ(grid.HintAt(grid.CellRect(1, 1).Left + 2, 20), "");  // other columns: none
    const TRect button = grid.EditButtonRect();
    ASSERT_GT(button.Width(), 0);
    TInput::Click(grid, mbLeft, {}, button.Left + 1, button.Top + 1);
    Automation().PressKey(VK_RETURN, {ssCtrl});
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"button 0,1", "button 0,1"}));
    EXPECT_EQ(grid.Cells(0, 1), "796");
    EXPECT_EQ(grid.EditorText(), "796");  // the open editor shows what the code wrote

    // A check cell toggles on a click and on Space, between Y and N.
    ClickCell(grid, 5, 1);
    EXPECT_EQ(grid.Cells(5, 1), "Y");
    Automation().PressKey(VK_SPACE);
    EXPECT_EQ(grid.Cells(5, 1), "N");
    EXPECT_FALSE(grid.CellChecked(5, 1));
    TakeLog();

    ClickCell(grid, 4, 1);
    Automation().Select("frmGrid.grReceive", "5.Portal");
    EXPECT_EQ(grid.Cells(4, 1), "5.Portal");
    Automation().PressKey(VK_DOWN, {ssAlt});  // steps through the pick list
    EXPECT_EQ(grid.Cells(4, 1), "1.System");

    // Down on the last row appends one (the form's handler); Ctrl+Delete removes it again.
    Automation().PressKey(VK_DOWN);
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Row(), 2);
    Automation().PressKey(VK_DELETE, {ssCtrl});
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cells(4, 1), "1.System");
}

TEST_F(GridsTest, AlignmentOfCellRowColumnAndGrid) {
    TStringAlignGrid& grid = *form_->grReceive;
    grid.SetAlignment(taCenter);
    EXPECT_EQ(grid.CellAlignment(2, 1), taCenter);
    grid.SetAlignCol(2, taRightJustify);
    EXPECT_EQ(grid.CellAlignment(2, 1), taRightJustify);
    grid.SetAlignRow(1, taLeftJustify);
    EXPECT_EQ(grid.CellAlignment(2, 1), taLeftJustify);
    grid.SetAlignCell(2, 1, taCenter);
    EXPECT_EQ(grid.CellAlignment(2, 1), taCenter);
    grid.ResetAlignCell(2, 1);
    EXPECT_EQ(grid.CellAlignment(2, 1), taLeftJustify);
    EXPECT_THROW(grid.SetAlignCell(9, 1, taCenter), EInvalidGridOperation);
    EXPECT_FALSE(grid.HasColFont(3));
    grid.ColFont(3)->SetName("SimSun");
    EXPECT_TRUE(grid.HasColFont(3));
    EXPECT_EQ(grid.ColFont(9), nullptr);
}

// Rows get their cells only when one is set: growing a row at a time, dropping columns and
// rows, and inserting rows must still show every cell where it was put.
TEST_F(GridsTest, CellsSurviveGrowingRowByRowAndGoWithTheirColumnOrRow) {
    TStringGrid grid(nullptr);
    grid.SetColCount(3);
    grid.SetRowCount(2);
    grid.SetCells(2, 1, "last");
    grid.SetObjects(1, 1, &grid);
    for (int row = 2; row < 40; ++row) {
        grid.SetRowCount(row + 1);
        grid.SetCells(0, row, IntToStr(row));
    }
    EXPECT_EQ(grid.Cells(2, 1), "last");
    EXPECT_EQ(grid.Objects(1, 1), &grid);
    EXPECT_EQ(grid.Cells(0, 39), "39");
    EXPECT_EQ(grid.Cells(2, 39), "");
    EXPECT_EQ(grid.Objects(2, 39), nullptr);
    grid.SetColCount(2);  // column 2 goes, and comes back empty
    grid.SetColCount(4);
    EXPECT_EQ(grid.Cells(2, 1), "");
    EXPECT_EQ(grid.Cells(0, 39), "39");
    grid.SetCells(3, 39, "far");
    EXPECT_EQ(grid.Cols(3)->Strings(39), "far");
    EXPECT_EQ(grid.Rows(5), grid.Rows(5));
    EXPECT_NE(grid.Rows(3), grid.Cols(3));
    grid.InsertRow(1);
    EXPECT_EQ(grid.Cells(1, 2), "");
    EXPECT_EQ(grid.Objects(1, 2), &grid);
    EXPECT_EQ(grid.Cells(0, 40), "39");
    grid.SetRowCount(10);  // rows beyond go, and come back empty
    grid.SetRowCount(41);
    EXPECT_EQ(grid.Cells(0, 40), "");
    EXPECT_EQ(grid.Cells(0, 9), "8");

    TStringAlignGrid aligned(nullptr);
    aligned.SetColCount(3);
    aligned.SetRowCount(3);
    aligned.SetHintCell(2, 2, "tip");
    aligned.SetAlignCell(1, 2, taCenter);
    aligned.InsertRow(1);
    EXPECT_EQ(aligned.HintCell(2, 3), "tip");
    aligned.SetColCount(2);
    aligned.SetColCount(3);
    EXPECT_EQ(aligned.HintCell(2, 3), "");
    EXPECT_EQ(aligned.CellAlignment(1, 3), taCenter);
    EXPECT_EQ(aligned.CellAlignment(1, 2), taLeftJustify);
}

// Cell rectangles and the cell under each point follow the sizes and grid lines, also after
// sizes change.
TEST_F(GridsTest, CellRectAndMouseCoordFollowTheSizesAndLines) {
    const auto check = [](const TCustomGrid& grid) {
        int top = 0;
        for (int row = 0; row < grid.RowCount(); ++row) {
            int left = 0;
            for (int col = 0; col < grid.ColCount(); ++col) {
                ASSERT_EQ(grid.CellRect(col, row),
                          Bounds(left, top, grid.ColWidths(col), grid.RowHeights(row)));
                left += grid.ColWidths(col) + grid.GridLineWidth();
            }
            top += grid.RowHeights(row) + grid.GridLineWidth();
        }
        const TRect last = grid.CellRect(grid.ColCount() - 1, grid.RowCount() - 1);
        for (int y = -1; y < last.Bottom + 3; ++y) {
            for (int x = -1; x < last.Right + 3; x += 3) {
                TGridCoord expected{-1, -1};
                for (int row = 0; row < grid.RowCount(); ++row)
                    for (int col = 0; col < grid.ColCount(); ++col)
                        if (grid.CellRect(col, row).Contains(Point(x, y))) expected = {col, row};
                ASSERT_EQ(grid.MouseCoord(x, y), expected) << x << "," << y;
            }
        }
    };
    struct Case {
        int line;
        bool rows;
        bool cols;
    };
    for (const Case c :
         {Case{1, false, false}, Case{0, true, false}, Case{2, true, true}, Case{1, false, true}}) {
        SCOPED_TRACE(c.line * 100 + c.rows * 10 + c.cols);
        TDrawGrid grid(nullptr);
        grid.SetColCount(6);
        grid.SetRowCount(8);
        grid.SetGridLineWidth(c.line);
        for (int row = 0; c.rows && row < 8; ++row)
            grid.SetRowHeights(row, (row * 7) % 13);  // some rows of no height
        for (int col = 0; c.cols && col < 6; ++col)
            grid.SetColWidths(col, (col * 11) % 17);
        check(grid);
        grid.SetRowCount(10);
        check(grid);
        if (c.rows) grid.SetRowHeights(3, 40);
        if (c.cols) grid.SetColWidths(0, 9);
        grid.InsertRow(2);
        check(grid);
        grid.DeleteRow(5);
        grid.SetGridLineWidth(c.line + 1);
        check(grid);
    }
}

}  // namespace
}  // namespace kv::test
