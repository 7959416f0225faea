// Cell hints through the application's hint flow (text, colour, position and the cell the hint stays
// in, for each hint setting) and the hover step of the grid timer.
#include "GridHosts.h"

#include "grid/CellGraphic.h"

#include <gtest/gtest.h>

using namespace gridtest;

namespace {

struct HintHost {
    HintHost()
    {
        Application->ProcessMessages();
        Window = std::make_unique<QWidget>();
        Window->setGeometry(50, 50, 420, 300);
        Grid = std::make_unique<TExtStringGrid>(nullptr);
        Grid->SetParentWidget(Window.get());
        Grid->SetBounds(0, 0, 420, 300);
        Grid->SetColCount(5);
        Grid->SetRowCount(8);
        Grid->SetDefaultColWidth(60);
        Grid->SetHint("grid hint");
        Grid->HintColor = clYellow;
        Grid->SetCells(2, 3, "<B>bold</B> text");
        Grid->SetCells(1, 2, "a text much too long to be seen whole in a column of sixty pixels");
        Grid->SetCells(1, 4, "short");
        Grid->SetCells(2, 0, "Header");
        Window->show();
        Application->ProcessMessages();
    }
    TExtStringGrid& G() { return *Grid; }
    // The hint flow with the mouse in the middle of a cell.
    const THintRecord& HintAt(int col, int row)
    {
        const TRect r = Grid->CellRect(col, row);
        Application->ShowControlHint(Grid.get(), {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
        return Application->LastHint();
    }
    TPoint Screen(int x, int y) const { return Grid->ClientToScreen({x, y}); }
    std::unique_ptr<QWidget> Window;
    std::unique_ptr<TExtStringGrid> Grid;
};

} // namespace

TEST(GridHints, TextAndPlaceFollowTheHintSettings)
{
    enum Place { Below, AtTop };
    struct Case {
        const char* Name;
        bool ShowCells, HTML, LargeText;
        int Col, Row;
        const char* Text;
        Place Where;
    };
    const Case cases[] = {
        {"no setting keeps the control's hint", false, false, false, 2, 3, "grid hint", Below},
        {"cell text without tags", true, false, false, 2, 3, "bold text", AtTop},
        {"cell text with tags", true, true, false, 2, 3, "<B>bold</B> text", AtTop},
        {"a fixed cell is no normal cell", true, false, false, 2, 0, "grid hint", Below},
        {"large text shows whole", false, false, true, 1, 2, "a text much too long to be seen whole in a column of sixty pixels", AtTop},
        {"a short text is no large text", false, false, true, 1, 4, "grid hint", Below},
    };
    for (const Case& k : cases) {
        HintHost h;
        TExtStringGrid& g = h.G();
        g.HintShowCells = k.ShowCells;
        g.HTMLHint = k.HTML;
        g.HintShowLargeText = k.LargeText;
        const THintRecord& hint = h.HintAt(k.Col, k.Row);
        const TRect r = g.CellRect(k.Col, k.Row);
        EXPECT_TRUE(hint.Shown) << k.Name;
        EXPECT_EQ(hint.Text, k.Text) << k.Name;
        const TPoint at = k.Where == Below ? h.Screen(r.Left, r.Bottom + 6) : h.Screen(r.Left, r.Top);
        EXPECT_EQ(hint.Pos.x, at.x) << k.Name;
        EXPECT_EQ(hint.Pos.y, at.y) << k.Name;
        // The hint stays only while the mouse stays in that cell.
        EXPECT_EQ(hint.CursorRect.Left, r.Left) << k.Name;
        EXPECT_EQ(hint.CursorRect.Bottom, r.Bottom) << k.Name;
        EXPECT_EQ(g.HintCell().x, k.Col);
        EXPECT_EQ(g.HintCell().y, k.Row);
    }
}

TEST(GridHints, CommentCellsAndTheGridHintEvent)
{
    HintHost h;
    TExtStringGrid& g = h.G();
    TCellGraphic& comment = g.CreateCellGraphic(3, 5);
    comment.CellType = ctComment;
    comment.CellText = "measured twice";
    const THintRecord& hint = h.HintAt(3, 5);
    const TRect r = g.CellRect(3, 5);
    EXPECT_EQ(hint.Text, "measured twice");
    EXPECT_EQ(hint.Pos.x, h.Screen(r.Right, r.Top).x);
    EXPECT_EQ(hint.Pos.y, h.Screen(r.Right, r.Top).y);
    // OnGridHint has the last word, with the display column and row; an empty text shows no hint.
    g.HintShowCells = true;
    g.OnGridHint = [](TPersistent*, int row, int col, std::string& text) {
        text = row == 3 ? text + " @" + std::to_string(col) + "," + std::to_string(row) : std::string();
    };
    EXPECT_EQ(h.HintAt(2, 3).Text, "bold text @2,3");
    EXPECT_FALSE(h.HintAt(2, 4).Shown);
}

TEST(GridHints, HoverMakesTheCellUnderTheMouseCurrent)
{
    HintHost h;
    TExtStringGrid& g = h.G();
    const TRect cell = g.CellRect(3, 5), fixed = g.CellRect(0, 2);
    const TPoint over = h.Screen(cell.Left + 10, cell.Top + 5);
    // Without Hovering nothing moves.
    g.HoverStep(over);
    EXPECT_EQ(g.Row(), 1);
    g.Hovering = true;
    g.HoverStep(h.Screen(fixed.Left + 5, fixed.Top + 5));
    EXPECT_EQ(g.Row(), 1);
    g.HoverStep(h.Screen(500, 20));   // outside the grid
    EXPECT_EQ(g.Row(), 1);
    g.HoverStep(over);
    EXPECT_EQ(g.Col(), 3);
    EXPECT_EQ(g.Row(), 5);
    Application->ProcessMessages();
    EXPECT_TRUE(g.Focused());
    // A window lying over the grid takes the hover away.
    QWidget cover;
    cover.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    const TRect other = g.CellRect(2, 2);
    const TPoint under = h.Screen(other.Left + 10, other.Top + 5);
    cover.setGeometry(under.x - 20, under.y - 20, 60, 60);
    cover.show();
    Application->ProcessMessages();
    g.HoverStep(under);
    EXPECT_EQ(g.Row(), 5);
}
