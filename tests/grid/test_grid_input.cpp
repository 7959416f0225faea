// Key and mouse sequences on the real control: Enter advancing and Tab over merged cells, skipping fixed
// cells, Insert and Delete with their vetoes, Ctrl+A, the incremental search, column sizing with
// AllColumnSize, a column move that keeps the sort column, an advance with no editable cell, and fixed
// cells edited by a double click or a press, and the markers of an enhanced column move.
#include "GridHosts.h"
#include "grid/ExtObj.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdlib>

using namespace gridtest;

namespace {

struct InputHost {
    InputHost(int cols = 6, int rows = 6)
    {
        Application->ProcessMessages();
        Window = std::make_unique<QWidget>();
        Window->setGeometry(40, 40, 500, 300);
        Grid = std::make_unique<TExtStringGrid>(nullptr);
        Grid->SetParentWidget(Window.get());
        Grid->SetBounds(0, 0, 500, 300);
        Grid->SetColCount(cols);
        Grid->SetRowCount(rows);
        Grid->SetDefaultColWidth(50);
        Grid->SetDefaultRowHeight(20);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) Grid->SetCells(c, r, std::to_string(c) + ":" + std::to_string(r));
        Window->show();
        Window->activateWindow();
        Application->ProcessMessages();
        Grid->SetFocus();
    }
    TExtStringGrid& G() { return *Grid; }
    QWidget* W() { return Grid->Widget(); }
    std::pair<int, int> At() { return {Grid->Col(), Grid->Row()}; }
    std::unique_ptr<QWidget> Window;
    std::unique_ptr<TExtStringGrid> Grid;
};

} // namespace

TEST(GridInput, EnterAdvancesAndTabWalksOverMergedCells)
{
    InputHost h;
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() + TGridOptions{goEditing, goTabs});
    g.Navigation.AdvanceOnEnter = true;
    g.MergeCellRange(1, 1, 3, 1);
    g.MoveColRow(1, 1, true, true);
    Key(h.W(), Qt::Key_Return, Qt::NoModifier, "\r");   // opens the editor
    ASSERT_TRUE(g.EditorMode());
    Key(g.InplaceEditor()->Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(h.At(), (std::pair{4, 1}));
    g.HideEditor();
    g.SetFocus();
    g.MoveColRow(1, 1, true, true);
    Key(h.W(), Qt::Key_Tab);
    EXPECT_EQ(h.At(), (std::pair{4, 1}));
    // Tab wraps to the next row's first normal column; Shift+Tab goes back.
    g.MoveColRow(5, 1, true, true);
    Key(h.W(), Qt::Key_Tab);
    EXPECT_EQ(h.At(), (std::pair{1, 2}));
    Key(h.W(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(h.At(), (std::pair{5, 1}));
}

TEST(GridInput, AdvanceWithAppendAndWithoutEditableCells)
{
    InputHost h(4, 3);
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() + TGridOptions{goEditing});
    g.Navigation.AdvanceOnEnter = true;
    g.Navigation.AdvanceInsert = true;
    int added = -1;
    g.OnAutoAddRow = [&](TPersistent*, int r) { added = r; };
    g.MoveColRow(3, 2, true, true);
    g.AdvanceCell(3, 2, true, false, false);
    EXPECT_EQ(g.RowCount(), 4);
    EXPECT_EQ(added, 3);
    EXPECT_EQ(h.At(), (std::pair{1, 3}));
    // With no editable cell one pass is made and the cursor stays.
    g.OnCanEditCell = [](TPersistent*, int, int, bool& can) { can = false; };
    g.MoveColRow(2, 1, true, true);
    g.AdvanceCell(2, 1, true, false, false);
    EXPECT_EQ(h.At(), (std::pair{2, 1}));
    EXPECT_EQ(g.RowCount(), 4);
}

TEST(GridInput, ArrowsSkipCellsReportedFixed)
{
    InputHost h;
    TExtStringGrid& g = h.G();
    std::vector<int> fixedCols = {2};
    g.OnIsFixedCell = [&](TPersistent*, int, int c, bool& fixed) {
        fixed = std::find(fixedCols.begin(), fixedCols.end(), c) != fixedCols.end();
    };
    g.MoveColRow(1, 1, true, true);
    Key(h.W(), Qt::Key_Right);
    EXPECT_EQ(h.At(), (std::pair{3, 1}));
    Key(h.W(), Qt::Key_Left);
    EXPECT_EQ(h.At(), (std::pair{1, 1}));
    fixedCols = {4, 5};
    g.MoveColRow(3, 1, true, true);
    Key(h.W(), Qt::Key_Right);   // every column to the right is fixed: nothing
    EXPECT_EQ(h.At(), (std::pair{3, 1}));
    // Without skipping, the class library's move is refused by the fixed cell: the cursor stays.
    g.Navigation.SkipFixedCells = false;
    fixedCols = {2};
    g.MoveColRow(1, 1, true, true);
    Key(h.W(), Qt::Key_Right);
    EXPECT_EQ(h.At(), (std::pair{1, 1}));
}

TEST(GridInput, InsertAndDeleteRowsWithTheirVetoes)
{
    InputHost h(4, 8);
    TExtStringGrid& g = h.G();
    g.Navigation.AllowInsertRow = true;
    g.Navigation.AllowDeleteRow = true;
    bool allowInsert = false, allowDelete = false;
    g.OnCanInsertRow = [&](TPersistent*, int, bool& can) { can = allowInsert; };
    g.OnCanDeleteRow = [&](TPersistent*, int, bool& can) { can = allowDelete; };
    g.MoveColRow(1, 5, true, true);
    Key(h.W(), Qt::Key_Insert);
    EXPECT_EQ(g.RowCount(), 8);
    allowInsert = true;
    g.Navigation.InsertPosition = pInsertAfter;
    Key(h.W(), Qt::Key_Insert);
    EXPECT_EQ(g.RowCount(), 9);
    EXPECT_EQ(g.Row(), 6);
    EXPECT_EQ(g.Cells(1, 6), "");
    EXPECT_EQ(g.Cells(1, 7), "1:6");
    Key(h.W(), Qt::Key_Delete);
    EXPECT_EQ(g.RowCount(), 9);
    allowDelete = true;
    Key(h.W(), Qt::Key_Delete);
    EXPECT_EQ(g.RowCount(), 8);
    EXPECT_EQ(g.Cells(1, 6), "1:6");
    // With only fixed rows left nothing is asked.
    InputHost k(3, 2);
    TExtStringGrid& t = k.G();
    t.Navigation.AllowDeleteRow = true;
    int asked = 0;
    t.OnCanDeleteRow = [&](TPersistent*, int, bool&) { ++asked; };
    t.FixedRowAlways = true;
    t.SetRowCount(1);
    ASSERT_EQ(t.FixedRows(), 1);
    Key(k.W(), Qt::Key_Delete);
    EXPECT_EQ(asked, 0);
}

TEST(GridInput, CtrlASelectsTheNormalCellsOnlyWithRangeOrRowSelect)
{
    InputHost h;
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() - TGridOptions{goRangeSelect});
    const TGridRect before = g.Selection();
    Key(h.W(), Qt::Key_A, Qt::ControlModifier, "\x01");
    EXPECT_EQ(g.Selection(), before);
    g.SetOptions(g.Options() + TGridOptions{goRangeSelect});
    Key(h.W(), Qt::Key_A, Qt::ControlModifier, "\x01");
    EXPECT_EQ(g.Selection(), (TGridRect{1, 1, 5, 5}));
}

TEST(GridInput, IncrementalSearchGrowsAndShrinks)
{
    InputHost h(3, 6);
    TExtStringGrid& g = h.G();
    const char* names[] = {"", "alpha", "Bravo", "beta", "bet", "gamma"};
    for (int r = 1; r < 6; ++r) g.SetCells(1, r, names[r]);
    g.Navigation.AutoGotoWhenSorted = true;
    g.Navigation.AutoGotoIncremental = true;
    Type(h.W(), "b");
    EXPECT_EQ(g.Row(), 2);
    Type(h.W(), "e");
    EXPECT_EQ(g.Row(), 3);
    Key(h.W(), Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(g.Row(), 2);
    Key(h.W(), Qt::Key_Home);
    EXPECT_EQ(g.SearchText(), "b");
    Key(h.W(), Qt::Key_Down);
    EXPECT_EQ(g.SearchText(), "");
}

TEST(GridInput, SizingOneColumnSizesAllWithAllColumnSize)
{
    InputHost h;
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() + TGridOptions{goColSizing});
    g.MouseActions.AllColumnSize = true;
    int ended = -1;
    g.OnEndColumnSize = [&](TPersistent*, int c) { ended = c; };
    QWidget* w = h.W();
    const QPointF press(100, 10), release(150, 10);
    QMouseEvent down(QEvent::MouseButtonPress, press, w->mapToGlobal(press), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, release, w->mapToGlobal(release), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
    EXPECT_EQ(g.ColWidths(1), 100);
    EXPECT_EQ(ended, 1);
    for (int c = 2; c < 6; ++c) EXPECT_EQ(g.ColWidths(c), 100) << c;
    EXPECT_EQ(g.ColWidths(0), 50);   // fixed columns keep theirs
}

TEST(GridInput, AColumnMoveKeepsTheSortColumn)
{
    struct Case {
        int from, to, sortBefore, sortAfter;
    } cases[] = {{1, 4, 3, 2}, {4, 1, 1, 2}, {2, 4, 2, 4}, {4, 2, 5, 5}};
    for (const Case& c : cases) {
        InputHost h;
        TExtStringGrid& g = h.G();
        g.SortSettings.Column = c.sortBefore;
        g.MoveColumn(c.from, c.to);
        EXPECT_EQ(g.SortSettings.Column, c.sortAfter) << c.from << "->" << c.to;
        EXPECT_EQ(g.Cells(c.to, 1), std::to_string(c.from) + ":1");
    }
}

namespace {

void DoubleClick(QWidget* w, int x, int y)
{
    const QPointF p(x, y);
    Click(w, x, y);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &dbl);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

} // namespace

TEST(GridInput, FixedCellsAreEditedByTheirOwnEdit)
{
    InputHost h;
    TExtStringGrid& g = h.G();
    g.MouseActions.FixedRowsEdit = fceDblClick;
    // A single click on a header opens nothing; a double click opens the edit just inside the cell.
    const TRect head = g.CellRect(2, 0);
    Click(h.W(), head.Left + 10, head.Top + 5);
    EXPECT_FALSE(g.FixedCellEditor() && g.FixedCellEditor()->Visible());
    DoubleClick(h.W(), head.Left + 10, head.Top + 5);
    TGridTransEdit* e = g.FixedCellEditor();
    ASSERT_TRUE(e && e->Visible());
    Application->ProcessMessages();
    EXPECT_TRUE(e->Focused());
    EXPECT_EQ(e->Text(), "2:0");
    EXPECT_EQ(e->Left(), head.Left + 1);
    EXPECT_EQ(e->Top(), head.Top + 1);
    EXPECT_EQ(e->Width(), head.Right - head.Left - 2);
    // Leaving it by a click into the cells stores the text.
    e->SetText("Depth");
    const TRect cell = g.CellRect(3, 3);
    Click(h.W(), cell.Left + 10, cell.Top + 5);
    Application->ProcessMessages();
    EXPECT_FALSE(e->Visible());
    EXPECT_EQ(g.Cells(2, 0), "Depth");
    // Escape leaves the cell as it was; Enter stores and gives the grid the focus back.
    DoubleClick(h.W(), head.Left + 10, head.Top + 5);
    e->SetText("lost");
    Key(e->Widget(), Qt::Key_Escape);
    Application->ProcessMessages();
    EXPECT_FALSE(e->Visible());
    EXPECT_EQ(g.Cells(2, 0), "Depth");
    DoubleClick(h.W(), head.Left + 10, head.Top + 5);
    e->SetText("Depth [m]");
    Key(e->Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    Application->ProcessMessages();
    EXPECT_EQ(g.Cells(2, 0), "Depth [m]");
    EXPECT_TRUE(g.Focused());
}

TEST(GridInput, FixedCellEditByPressAndItsLimits)
{
    struct Case {
        TGridFixedCellEdit Rows, Cols;
        int Col, Row;
        Qt::MouseButton Button;
        bool Opens;
    };
    const Case cases[] = {
        {fceLeftClick, fceNone, 2, 0, Qt::LeftButton, true},   {fceLeftClick, fceNone, 2, 0, Qt::RightButton, true},
        {fceLeftClick, fceNone, 0, 2, Qt::LeftButton, false},  {fceNone, fceLeftClick, 0, 2, Qt::RightButton, true},
        {fceNone, fceLeftClick, 2, 2, Qt::LeftButton, false},  {fceDblClick, fceDblClick, 2, 0, Qt::LeftButton, false},
        {fceNone, fceNone, 0, 0, Qt::LeftButton, false},
    };
    for (const Case& k : cases) {
        InputHost h;
        TExtStringGrid& g = h.G();
        g.MouseActions.FixedRowsEdit = k.Rows;
        g.MouseActions.FixedColsEdit = k.Cols;
        const TRect r = g.CellRect(k.Col, k.Row);
        Click(h.W(), r.Left + 10, r.Top + 5, k.Button);
        const bool open = g.FixedCellEditor() && g.FixedCellEditor()->Visible();
        EXPECT_EQ(open, k.Opens) << k.Rows << " " << k.Cols << " at " << k.Col << "," << k.Row;
        if (open) {
            EXPECT_EQ(g.FixedCellEditor()->Col, k.Col);
            EXPECT_EQ(g.FixedCellEditor()->Row, k.Row);
        }
    }
}

TEST(GridInput, EnhancedColumnMoveShowsTheHeaderAndTheLandingArrows)
{
    InputHost h(8, 6);
    TExtStringGrid& g = h.G();
    g.SetOptions(g.Options() + TGridOptions{goColMoving});
    QWidget* w = h.W();
    auto send = [&](QEvent::Type type, int x, int y, Qt::MouseButton b, Qt::MouseButtons held) {
        const QPointF p(x, y);
        QMouseEvent e(type, p, w->mapToGlobal(p), b, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    const TRect from = g.CellRect(2, 0), to = g.CellRect(5, 0);
    send(QEvent::MouseButtonPress, from.Left + 20, 8, Qt::LeftButton, Qt::LeftButton);
    ASSERT_EQ(g.GridState(), gsColMoving);
    send(QEvent::MouseMove, to.Left + 20, 9, Qt::NoButton, Qt::LeftButton);
    ASSERT_NE(g.MoveButton(), nullptr);
    TPopupButton& b = *g.MoveButton();
    EXPECT_TRUE(b.Visible());
    EXPECT_EQ(b.Caption, "2:0");
    EXPECT_EQ(b.Width(), g.ColWidths(2));
    EXPECT_EQ(b.Height(), g.RowHeights(0));
    // The button keeps the grab point: it moved by the mouse's way.
    const TPoint origin = g.ClientToScreen({from.Left, from.Top});
    EXPECT_EQ(b.Left(), origin.x + (to.Left - from.Left));
    EXPECT_EQ(b.Top(), origin.y + 1);
    // A move to the right lands behind the target column: arrows at its right edge, above and below the
    // header; the row arrows stay hidden.
    const TPoint below = g.ClientToScreen({to.Left + g.ColWidths(5) - 5, to.Bottom});
    EXPECT_TRUE(g.MoveArrow(0)->Visible());
    EXPECT_TRUE(g.MoveArrow(1)->Visible());
    EXPECT_EQ(g.MoveArrow(0)->Left(), below.x);
    EXPECT_EQ(g.MoveArrow(0)->Top(), below.y);
    EXPECT_EQ(g.MoveArrow(1)->Top(), g.ClientToScreen({0, to.Top - 8}).y);
    EXPECT_FALSE(g.MoveArrow(2)->Visible());
    EXPECT_TRUE(g.MoveArrow(0)->HasWindowRegion());
    EXPECT_TRUE(b.Showing());
    EXPECT_TRUE(g.MoveArrow(0)->Showing());
    // Under a real display, VSP_GRID_MOVE_SCREENSHOT=<file.png> saves the screen during the move.
    if (const char* file = std::getenv("VSP_GRID_MOVE_SCREENSHOT")) {
        for (int i = 0; i < 10; ++i) Application->ProcessMessages();
        EXPECT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).copy(0, 0, 600, 400).save(file));
    }
    // Over the fixed column the arrows go away; the release moves the column and hides everything.
    send(QEvent::MouseMove, 10, 9, Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(g.MoveArrow(0)->Visible());
    send(QEvent::MouseMove, to.Left + 20, 9, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to.Left + 20, 9, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(b.Visible());
    EXPECT_FALSE(g.MoveArrow(0)->Visible());
    EXPECT_EQ(g.Cells(5, 1), "2:1");
    // Without EnhRowColMove nothing shows.
    g.EnhRowColMove = false;
    send(QEvent::MouseButtonPress, from.Left + 20, 8, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to.Left + 20, 9, Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(b.Visible());
    send(QEvent::MouseButtonRelease, to.Left + 20, 9, Qt::LeftButton, Qt::NoButton);
}
