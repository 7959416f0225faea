// The class library's grid on the offscreen platform: geometry and visible counts, Col and Row writes
// through SelectCell and Click, painting only the cells in view and in the asked rows, the cell store's
// rows and columns with their object slots, cursor keys, the in-place editor protocol, the scroll bar's
// thumb and pages, the wheel and column sizing by the mouse; the edit control, hint window, flood fill
// and the desktop's open.
#include "platform/controls/Application.h"
#include "platform/controls/Grids.h"
#include "platform/controls/HintWindow.h"
#include "platform/controls/ShellApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/FloodFill.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

struct GridHost {
    GridHost()
    {
        Application->ProcessMessages();
        Window = std::make_unique<QWidget>();
        Window->setGeometry(40, 40, 400, 300);
    }
    void Show()
    {
        Window->show();
        Window->activateWindow();
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    }
    std::unique_ptr<QWidget> Window;
};

// A string grid that logs its virtual steps.
class TLogGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    std::vector<std::string> Log;
    bool Refuse = false;
    using TCustomGrid::KeyDown;

protected:
    bool SelectCell(int c, int r) override
    {
        Log.push_back("select " + std::to_string(c) + "," + std::to_string(r));
        return !Refuse && TStringGrid::SelectCell(c, r);
    }
    void Click() override
    {
        Log.push_back("click");
        TStringGrid::Click();
    }
};

void Key(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
}

void Press(QWidget* w, int x, int y, Qt::MouseButton b = Qt::LeftButton)
{
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), b, b, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
void Move(QWidget* w, int x, int y, Qt::MouseButtons held)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
void Release(QWidget* w, int x, int y, Qt::MouseButton b = Qt::LeftButton)
{
    QMouseEvent e(QEvent::MouseButtonRelease, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), b, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// A grid of `rows` rows of 20 pixels and 4 columns of 50, in a 200 x 110 control.
struct Fixture {
    explicit Fixture(int rows = 20)
    {
        grid.SetParentWidget(host.Window.get());
        grid.SetBounds(0, 0, 200 + 16, 110);
        grid.SetColCount(4);
        grid.SetRowCount(rows);
        grid.SetDefaultColWidth(50);
        grid.SetDefaultRowHeight(20);
        grid.SetScrollBars(ssVertical);
        host.Show();
    }
    GridHost host;
    TLogGrid grid{nullptr};
};

} // namespace

TEST(Grid, GeometryFollowsWidthsHeightsAndTheScrolledTopLeft)
{
    Fixture f;
    TLogGrid& g = f.grid;
    EXPECT_TRUE(g.ScrollBarVisible(SB_VERT));
    EXPECT_EQ(g.ClientWidth(), 200);
    // One fixed row of 20 and rows of 20 in 110 pixels: 4 whole rows after the fixed one.
    EXPECT_EQ(g.VisibleRowCount(), 4);
    EXPECT_EQ(g.CellRect(2, 1), (TRect{100, 20, 150, 40}));
    g.SetColWidths(1, 30);
    EXPECT_EQ(g.CellRect(2, 1), (TRect{80, 20, 130, 40}));
    g.SetTopRow(5);
    EXPECT_EQ(g.CellRect(2, 5), (TRect{80, 20, 130, 40}));
    EXPECT_EQ(g.CellRect(2, 1), (TRect{0, 0, 0, 0}));                  // scrolled away
    EXPECT_EQ(g.CellRect(2, 0), (TRect{80, 0, 130, 20}));              // fixed rows stay
    EXPECT_EQ(g.MouseCoord(85, 25), (TGridCoord{2, 5}));
    EXPECT_EQ(g.MouseCoord(175, 109).X, 3);
    EXPECT_EQ(g.MouseCoord(185, 50).X, -1);                           // right of the last column
    EXPECT_EQ(g.MouseCoord(205, 50), (TGridCoord{-1, -1}));            // over the scroll bar
    // The top row cannot pass the last page.
    g.SetTopRow(1000);
    EXPECT_EQ(g.TopRow(), 16);
}

TEST(Grid, ColAndRowWritesGoThroughSelectCellAndClick)
{
    Fixture f;
    TLogGrid& g = f.grid;
    g.Log.clear();
    g.SetRow(3);
    EXPECT_EQ(g.Log, (std::vector<std::string>{"select 1,3", "click"}));
    g.Refuse = true;
    g.SetCol(2);
    EXPECT_EQ(g.Col(), 1);
    g.Refuse = false;
    for (auto [c, r] : {std::pair{-1, 1}, {4, 1}, {1, 20}}) {
        try {
            g.MoveColRow(c, r, true, true);
            ADD_FAILURE() << c << "," << r;
        } catch (const EInvalidGridOperation& e) {
            EXPECT_EQ(e.Message(), "Grid index out of range");
        }
    }
    // A row far below comes into view.
    g.SetRow(15);
    EXPECT_GE(15, g.TopRow());
    EXPECT_LT(15, g.TopRow() + g.VisibleRowCount());
}

TEST(Grid, PaintDrawsOnlyTheCellsInViewAndInTheAskedRows)
{
    Fixture f(10000);
    TLogGrid& g = f.grid;
    g.Invalidate();
    g.Repaint();
    // 1 fixed + 5 scrollable rows (the last partly) of 4 columns.
    EXPECT_EQ(g.CellsPaintedLastTime(), 6 * 4);
    g.SetTopRow(9000);
    g.Repaint();
    EXPECT_EQ(g.CellsPaintedLastTime(), 6 * 4);
    g.InvalidateRow(9002);
    g.Update();
    EXPECT_EQ(g.CellsPaintedLastTime(), 4);
    EXPECT_EQ(g.UpdateRect(), (TRect{0, 60, 200, 80}));
}

TEST(Grid, RowsAndColumnsAreAssignedWholeWithTheirObjects)
{
    Fixture f(5);
    TStringGrid& g = f.grid;
    TPersistent* tag = &g;
    g.SetCells(1, 1, "a");
    g.SetObjects(1, 1, tag);
    g.SetCells(2, 2, "b");
    const char* storedA = g.Cells(1, 1).data();
    g.ExchangeRows(1, 2);
    EXPECT_EQ(g.Cells(1, 2), "a");
    EXPECT_EQ(g.Cells(2, 1), "b");
    EXPECT_EQ(g.Objects(1, 2), tag);
    EXPECT_EQ(g.Cells(1, 2).data(), storedA);   // moved, not copied
    g.SetRows(4, g.Rows(2));
    EXPECT_EQ(g.Cells(1, 4), "a");
    EXPECT_EQ(g.Objects(1, 4), tag);
    g.SetCols(3, g.Cols(1));
    EXPECT_EQ(g.Cells(3, 2), "a");
    g.DeleteRow(2);
    EXPECT_EQ(g.RowCount(), 4);
    EXPECT_EQ(g.Cells(1, 3), "a");
    EXPECT_EQ(g.Cells(7, 7), "");               // reading outside is empty
    EXPECT_THROW(g.SetCells(4, 0, "x"), EInvalidGridOperation);
}

TEST(Grid, CursorKeysMoveByCellPageAndEnds)
{
    Fixture f(30);
    TLogGrid& g = f.grid;
    g.SetFocus();
    QWidget* w = g.Widget();
    struct Step {
        int key;
        Qt::KeyboardModifiers mods;
        int col, row;
    };
    const Step steps[] = {
        {Qt::Key_Down, Qt::NoModifier, 1, 2},  {Qt::Key_Right, Qt::NoModifier, 2, 2},
        {Qt::Key_PageDown, Qt::NoModifier, 2, 6}, {Qt::Key_End, Qt::NoModifier, 3, 6},
        {Qt::Key_Home, Qt::NoModifier, 1, 6},  {Qt::Key_End, Qt::ControlModifier, 3, 29},
        {Qt::Key_Down, Qt::NoModifier, 3, 29}, {Qt::Key_Home, Qt::ControlModifier, 1, 1},
        {Qt::Key_Up, Qt::NoModifier, 1, 1},
    };
    for (const Step& s : steps) {
        Key(w, s.key, s.mods);
        EXPECT_EQ(g.Col(), s.col) << s.key;
        EXPECT_EQ(g.Row(), s.row) << s.key;
    }
    // Tab walks only with goTabs, wrapping to the next row.
    g.SetCol(3);
    Key(w, Qt::Key_Tab);
    EXPECT_EQ(g.Col(), 3);
    g.SetOptions(g.Options() + TGridOptions{goTabs});
    Key(w, Qt::Key_Tab);
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{1, 2}));
}

TEST(Grid, EditorOpensWithTheCellTextAndHandsEveryChangeToTheCell)
{
    Fixture f;
    TLogGrid& g = f.grid;
    g.SetOptions(g.Options() + TGridOptions{goEditing});
    g.SetCells(1, 1, "abc");
    g.SetFocus();
    QWidget* w = g.Widget();
    Key(w, Qt::Key_Return, Qt::NoModifier, "\r");
    ASSERT_TRUE(g.EditorMode());
    ASSERT_NE(g.InplaceEditor(), nullptr);
    EXPECT_TRUE(g.InplaceEditor()->Visible());
    EXPECT_EQ(g.InplaceEditor()->Text(), "abc");
    EXPECT_EQ(g.InplaceEditor()->Left(), 50);
    // Typing replaces the selected text, and the cell follows at once.
    QWidget* e = g.InplaceEditor()->Widget();
    Key(e, Qt::Key_X, Qt::NoModifier, "x");
    EXPECT_EQ(g.Cells(1, 1), "x");
    Key(e, Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_FALSE(g.EditorMode());
    EXPECT_FALSE(g.InplaceEditor()->Visible());
    // A typed character opens the editor holding it.
    Key(w, Qt::Key_7, Qt::NoModifier, "7");
    EXPECT_EQ(g.InplaceEditor()->Text(), "7");
    EXPECT_EQ(g.Cells(1, 1), "7");
    // Down in the editor goes to the grid.
    Key(e, Qt::Key_Down);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_FALSE(g.EditorMode());
}

TEST(Grid, ScrollBarThumbAndPagesMoveTheTopRow)
{
    Fixture f(100);
    TLogGrid& g = f.grid;
    const int maxTop = 100 - 4;   // the last 4 rows fill the view
    EXPECT_EQ(g.GetScrollInfo(SB_VERT).Max, 127);
    EXPECT_EQ(g.GetScrollInfo(SB_VERT).Pos, 0);
    g.Scroll(SB_VERT, SB_PAGEDOWN, 0);
    EXPECT_EQ(g.TopRow(), 1 + g.VisibleRowCount());
    g.Scroll(SB_VERT, SB_LINEUP, 0);
    EXPECT_EQ(g.TopRow(), g.VisibleRowCount());
    g.Scroll(SB_VERT, SB_THUMBPOSITION, 127);
    EXPECT_EQ(g.TopRow(), maxTop);
    EXPECT_EQ(g.GetScrollInfo(SB_VERT).Pos, 127);
    g.Scroll(SB_VERT, SB_THUMBTRACK, 0);        // no thumb tracking without goThumbTracking
    EXPECT_EQ(g.TopRow(), maxTop);
    g.SetOptions(g.Options() + TGridOptions{goThumbTracking});
    g.Scroll(SB_VERT, SB_THUMBTRACK, 64);
    EXPECT_EQ(g.TopRow(), 1 + (64 * (maxTop - 1) + 63) / 127);
    // When everything fits the bar goes away and the client area widens.
    g.SetRowCount(3);
    EXPECT_FALSE(g.ScrollBarVisible(SB_VERT));
    EXPECT_EQ(g.ClientWidth(), 216);
}

TEST(Grid, WheelNotchMovesTheCurrentRowByOne)
{
    Fixture f;
    TLogGrid& g = f.grid;
    QWidget* w = g.Widget();
    auto notch = [&](int delta) {
        QWheelEvent e(QPointF(60, 30), w->mapToGlobal(QPointF(60, 30)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
    };
    notch(-120);
    notch(-120);
    EXPECT_EQ(g.Row(), 3);
    notch(120);
    EXPECT_EQ(g.Row(), 2);
}

TEST(Grid, DraggingAHeaderEdgeSizesTheColumn)
{
    Fixture f;
    TLogGrid& g = f.grid;
    g.SetOptions(g.Options() + TGridOptions{goColSizing});
    QWidget* w = g.Widget();
    Press(w, 100, 5);       // right edge of column 1
    EXPECT_EQ(g.GridState(), gsColSizing);
    Move(w, 120, 5, Qt::LeftButton);
    Release(w, 120, 5);
    EXPECT_EQ(g.ColWidths(1), 70);
    EXPECT_EQ(g.GridState(), gsNormal);
    // Pressing inside a cell selects it instead.
    Press(w, 130, 50);
    Release(w, 130, 50);
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{2, 2}));
}

TEST(Edit, TextSelectionAndLimit)
{
    GridHost host;
    TCustomEdit e(nullptr);
    e.SetParentWidget(host.Window.get());
    host.Show();
    int changes = 0;
    e.OnChange = [&](TPersistent*) { ++changes; };
    e.SetText("hello");
    EXPECT_EQ(e.Text(), "hello");
    EXPECT_FALSE(e.Modified());
    e.SetSelStart(1);
    e.SetSelLength(3);
    EXPECT_EQ(e.SelText(), "ell");
    e.SetSelText("a");
    EXPECT_EQ(e.Text(), "hao");
    EXPECT_EQ(e.SelStart(), 2);
    EXPECT_EQ(changes, 2);
    e.SetMaxLength(3);
    e.SetFocus();
    Key(e.Widget(), Qt::Key_Z, Qt::NoModifier, "z");
    EXPECT_EQ(e.Text(), "hao");
    e.SetMaxLength(0);
    e.SetText("caf\xE9");
    EXPECT_EQ(e.Text(), "caf\xE9");
}

TEST(HintWindow, ShowsItsTextAtTheScreenRectangleWithoutTheFocus)
{
    GridHost host;
    host.Show();
    THintWindow hint(nullptr);
    const TRect r = hint.CalcHintRect(200, "Row : 12");
    EXPECT_GT(r.Right, 20);
    EXPECT_GT(r.Bottom, 8);
    hint.ActivateHint({300, 200, 300 + r.Right, 200 + r.Bottom}, "Row : 12");
    Application->ProcessMessages();
    EXPECT_TRUE(hint.IsShowing());
    EXPECT_EQ(hint.Widget()->geometry().topLeft(), QPoint(300, 200));
    EXPECT_NE(QApplication::focusWidget(), hint.Widget());
    hint.ReleaseHandle();
    EXPECT_FALSE(hint.IsShowing());
}

TEST(FloodFill, FillsUpToTheBorderColourOnly)
{
    TBitmap bmp;
    bmp.SetSize(20, 20);
    TCanvas& c = bmp.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect({0, 0, 20, 20});
    c.Pen().SetColor(0x808080);
    c.Brush().SetStyle(bsClear);
    c.Rectangle(2, 2, 12, 12);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(0x0000FF);
    ExtFloodFill(c, 5, 5, 0x808080, fsBorder);
    EXPECT_EQ(c.GetPixel(3, 3), 0x0000FF);
    EXPECT_EQ(c.GetPixel(10, 10), 0x0000FF);
    EXPECT_EQ(c.GetPixel(2, 2), 0x808080);
    EXPECT_EQ(c.GetPixel(15, 15), 0xFFFFFF);
    c.Brush().SetColor(0x00FF00);
    ExtFloodFill(c, 15, 15, 0xFFFFFF, fsSurface);
    EXPECT_EQ(c.GetPixel(0, 19), 0x00FF00);
    EXPECT_EQ(c.GetPixel(5, 5), 0x0000FF);
}

TEST(Shell, RefusesAnEmptyTargetAndCountsBeeps)
{
    EXPECT_FALSE(ShellOpenDocument(""));
    const int before = MessageBeepCount();
    MessageBeep();
    EXPECT_EQ(MessageBeepCount(), before + 1);
}
