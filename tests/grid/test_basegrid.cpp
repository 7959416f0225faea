// The base grid: merged blocks and their texts, splitting, spans and base lookups, the footer row's
// painting and notification, the display-text hook's row limit, the change recorder, grid lines of fixed
// and normal cells at their widths, and merged blocks on the keyboard.
#include "GridHosts.h"

#include "grid/BaseGrid.h"

#include <gtest/gtest.h>

using namespace gridtest;

namespace {

class TProbeGrid : public TBaseGrid {
public:
    using TBaseGrid::TBaseGrid;
    int LastRowChanges = 0;
    std::vector<TRect> Contents;
    using TBaseGrid::KeyDown;
    void LastRowChanged() override { ++LastRowChanges; }
    void DrawCellContent(TCanvas& c, int col, int row, TRect r, TGridDrawState s) override
    {
        Contents.push_back(r);
        TBaseGrid::DrawCellContent(c, col, row, r, s);
    }
};

struct BaseHost {
    BaseHost()
    {
        Application->ProcessMessages();
        Window = std::make_unique<QWidget>();
        Window->setGeometry(40, 40, 400, 300);
        Grid = std::make_unique<TProbeGrid>(nullptr);
        Grid->SetParentWidget(Window.get());
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetColCount(6);
        Grid->SetRowCount(6);
        Grid->SetDefaultColWidth(40);
        Grid->SetDefaultRowHeight(20);
        Window->show();
        Application->ProcessMessages();
    }
    std::unique_ptr<QWidget> Window;
    std::unique_ptr<TProbeGrid> Grid;
};

} // namespace

TEST(BaseGrid, MergedBlocksShareTheBaseCellsText)
{
    BaseHost h;
    TProbeGrid& g = *h.Grid;
    g.SetCells(1, 1, "base");
    g.MergeCellRange(1, 1, 3, 2);
    struct Cell {
        int c, r;
        bool base;
        int sx, sy;
    } cells[] = {{1, 1, true, 2, 1}, {2, 1, false, 1, 0}, {3, 2, false, 2, 1}, {1, 2, false, 0, 1}};
    for (const Cell& e : cells) {
        const TCellProperties& p = g.CellProps(e.c, e.r);
        EXPECT_EQ(p.IsBaseCell, e.base) << e.c << "," << e.r;
        EXPECT_EQ(p.CellSpanX, e.sx);
        EXPECT_EQ(p.CellSpanY, e.sy);
        EXPECT_EQ(g.BaseCellOf(e.c, e.r), (TPoint{1, 1}));
    }
    EXPECT_EQ(g.GetCellValue(3, 2), "base");
    g.SetCellValue(3, 2, "x");
    EXPECT_EQ(g.Cells(1, 1), "x");
    EXPECT_EQ(g.Cells(3, 2), "");
    EXPECT_TRUE(g.InMergedBlock(2, 2));
    EXPECT_TRUE(g.MergedAcross(3, 2));
    EXPECT_TRUE(g.MergedDown(3, 2));
    EXPECT_EQ(g.BaseSpans(3, 2), (TPoint{2, 1}));
    EXPECT_EQ(g.CellSpanRect(2, 2), (TRect{40, 20, 160, 60}));
    EXPECT_EQ(g.CellExtent(2, 1), (TPoint{120, 40}));
    g.SplitMergedCell(2, 2);
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 2; ++r) {
            EXPECT_TRUE(g.CellProps(c, r).IsBaseCell);
            EXPECT_EQ(g.CellProps(c, r).CellSpanX, -1);
            EXPECT_FALSE(g.InMergedBlock(c, r));
        }
    // A 1 x 1 merge counts for geometry but not as a block.
    g.MergeCellRange(4, 4, 1, 1);
    EXPECT_FALSE(g.InMergedBlock(4, 4));
    EXPECT_EQ(g.CellSpanRect(4, 4), g.RawCellRect(4, 4));
    // Reading never creates properties.
    EXPECT_FALSE(g.HasCellProps(5, 5));
    (void)g.GetCellValue(5, 5);
    (void)g.CellSpanRect(5, 5);
    EXPECT_FALSE(g.HasCellProps(5, 5));
}

TEST(BaseGrid, RowsShareAMergedBlockOnlyWithTheSameBaseRows)
{
    BaseHost h;
    TProbeGrid& g = *h.Grid;
    g.MergeCellRange(1, 1, 1, 3);
    EXPECT_TRUE(g.RowsShareMergedBlock(1, 3));
    g.MergeCellRange(2, 1, 1, 2);
    g.MergeCellRange(2, 3, 1, 2);
    EXPECT_FALSE(g.RowsShareMergedBlock(2, 3));   // column 2 splits rows 2 and 3
    EXPECT_FALSE(g.RowsShareMergedBlock(4, 5));   // no column with multi-row blocks there
}

TEST(BaseGrid, FooterRowPaintsInTheControlColourAndNotifiesWrites)
{
    BaseHost h;
    TProbeGrid& g = *h.Grid;
    g.SetColor(0x00FF00);
    g.SetLastRowInFooter(true);
    g.SetCellValue(1, 5, "a");
    g.SetCellValue(2, 5, "b");
    g.SetCellValue(2, 4, "c");
    EXPECT_EQ(g.LastRowChanges, 2);
    g.SetCells(1, 5, "sum");
    g.Invalidate();
    g.Update();
    EXPECT_EQ(g.Canvas().GetPixel(60, 110), 0x00FF00u);
}

TEST(BaseGrid, DisplayTextHookStopsAtTheRowLimit)
{
    BaseHost h;
    TProbeGrid& g = *h.Grid;
    g.OnGetDisplText = [](TPersistent*, int, int, std::string& v) { v = "[" + v + "]"; };
    g.SetCells(1, 1, "a");
    g.SetCells(1, 4, "b");
    g.SetDisplayRowLimit(3);
    EXPECT_EQ(g.GetCellValue(1, 1), "[a]");
    EXPECT_EQ(g.GetCellValue(1, 4), "b");
}

TEST(BaseGrid, RecorderKeepsTheLastChangesOldestFirst)
{
    TExtGridUndoRedo rec(nullptr);
    rec.SetMaxLevel(2);
    rec.RecordChange(1, 1, "a", "b");
    rec.RecordChange(1, 2, "c", "d");
    rec.RecordChange(2, 3, "e", "f");
    ASSERT_EQ(rec.Depth(), 2);
    EXPECT_EQ(rec.Changes()[0].OrigValue, "c");
    EXPECT_EQ(rec.Changes()[1].Value, "f");
    EXPECT_EQ(rec.Changes()[1].Col, 2);
    rec.SetMaxLevel(0);
    for (int i = 0; i < 5; ++i) rec.RecordChange(0, i, "", "");
    EXPECT_EQ(rec.Depth(), 7);
    // The grid forgets a recorder that goes away.
    BaseHost h;
    auto* owned = new TExtGridUndoRedo(nullptr);
    h.Grid->SetUndoRedo(owned);
    EXPECT_EQ(owned->Grid(), h.Grid.get());
    delete owned;
    EXPECT_EQ(h.Grid->UndoRedo(), nullptr);
}

TEST(BaseGrid, GridLinesOfFixedAndNormalCells)
{
    struct Case {
        int width;
        int inset;
    } cases[] = {{1, 1}, {3, 3}};
    for (const Case& c : cases) {
        BaseHost h;
        TProbeGrid& g = *h.Grid;
        g.SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine});
        g.SetGridLineWidth(c.width);
        g.SetGridLineColor(0x0000FF);
        g.Contents.clear();
        g.Invalidate();
        g.Update();
        // Normal cell (2, 2) at x 80..120, y 40..60: its content is inset by the line width.
        bool found = false;
        for (const TRect& r : g.Contents)
            if (r.Left == 80 + c.inset && r.Top == 40 + c.inset) {
                found = true;
                EXPECT_EQ(r.Right, 120 - c.inset);
            }
        EXPECT_TRUE(found) << c.width;
        // Its right line is GridLineColor, (width + 1) / 2 pixels from the edge, `width` pixels wide.
        const int L = (c.width + 1) / 2;
        EXPECT_EQ(g.Canvas().GetPixel(120 - L, 50), 0x0000FFu) << c.width;
        // A fixed cell's lines are $808080 and 1 pixel whatever the settings.
        EXPECT_EQ(g.Canvas().GetPixel(39, 10), 0x808080u) << c.width;
        EXPECT_NE(g.Canvas().GetPixel(37, 10), 0x808080u) << c.width;
    }
}

TEST(BaseGrid, RightAndDownLeaveABlockAndLeftNeverTargetsAFixedColumn)
{
    BaseHost h;
    TProbeGrid& g = *h.Grid;
    g.MergeCellRange(1, 1, 3, 2);
    g.SetFocus();
    g.MoveColRow(1, 1, true, true);
    std::uint16_t key = VK_RIGHT;
    g.KeyDown(key, {});
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{4, 1}));
    g.MoveColRow(1, 1, true, true);
    key = VK_DOWN;
    g.KeyDown(key, {});
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{1, 3}));
    // From a covered cell of a block starting in the first normal column, Left stays in the normal area
    // (the raw rule targets column 1 - 2 = -1).
    g.MoveColRow(3, 2, true, true);
    ASSERT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{3, 2}));
    key = VK_LEFT;
    EXPECT_NO_THROW(g.KeyDown(key, {}));
    EXPECT_EQ((std::pair{g.Col(), g.Row()}), (std::pair{1, 1}));
}
