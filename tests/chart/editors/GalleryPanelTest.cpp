// The miniature grid: cell layout, focus and looks, clicks, Enter and the arrow keys at the grid's edges
// and before disabled miniatures, and the hover frame.
#include "chart/editors/LumGalleryPanel.h"

#include "platform/graphics/Canvas.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Seven miniatures in a 2 x 4 grid of 200 x 100 pixels (the last cell empty).
struct TGrid {
    TChartGalleryPanel Panel{nullptr};
    int Changes = 0;
    int Selections = 0;
    TGrid()
    {
        Panel.SetNumRows(2);
        Panel.SetNumCols(4);
        Panel.SetBounds(0, 0, 200, 100);
        for (int i = 0; i < 7; ++i) Panel.NewMiniature();
        Panel.OnChangeChart = [this](TPersistent*) { ++Changes; };
        Panel.OnSelectedChart = [this](TPersistent*) { ++Selections; };
    }
    int Focused() const { return Panel.IndexOfMiniature(Panel.FocusedMiniature()); }
};

} // namespace

TEST(GalleryPanel, MiniaturesFillTheirCells)
{
    // Cells share the panel less its bevel and border; each miniature leaves the last pixel of its cell.
    TGrid grid;
    const int b = grid.Panel.BevelWidth() + grid.Panel.BorderWidth();
    EXPECT_EQ(grid.Panel.CellWidth(), (200 - b) / 4);
    EXPECT_EQ(grid.Panel.CellHeight(), (100 - b) / 2);
    const TGalleryChart& sixth = grid.Panel.Miniature(5);
    EXPECT_EQ(sixth.Left(), b + grid.Panel.CellWidth());
    EXPECT_EQ(sixth.Top(), b + grid.Panel.CellHeight());
    EXPECT_EQ(sixth.Width(), grid.Panel.CellWidth() - 1);
    EXPECT_EQ(sixth.Height(), grid.Panel.CellHeight() - 1);
    grid.Panel.SetNumCols(2);
    EXPECT_EQ(grid.Panel.CellWidth(), (200 - b) / 2);
    EXPECT_EQ(grid.Panel.Miniature(5).Left(), b + grid.Panel.CellWidth());
    EXPECT_EQ(grid.Panel.Miniature(5).Top(), b + 2 * grid.Panel.CellHeight())
        << "rows go on past the panel's two rows";

    const TGalleryChart& m = grid.Panel.Miniature(0);
    EXPECT_FALSE(m.Legend().Visible());
    EXPECT_FALSE(m.LeftAxis().Labels());
    EXPECT_EQ(m.Chart3DPercent(), 100);
    EXPECT_EQ(m.LeftWall().Size(), 4);
    EXPECT_EQ(m.BottomWall().Pen().Color(), clGray);
    EXPECT_EQ(m.View3DOptions().Rotation(), 335);
}

TEST(GalleryPanel, FocusShowsOneFocusedLook)
{
    TGrid grid;
    grid.Panel.FocusMiniature(nullptr);
    EXPECT_EQ(grid.Focused(), 0) << "none focused: the first enabled one";
    EXPECT_EQ(grid.Changes, 1);
    grid.Panel.MiniatureClick(&grid.Panel.Miniature(2));
    EXPECT_EQ(grid.Focused(), 2);
    EXPECT_EQ(grid.Changes, 2);
    const TGalleryChart& focused = grid.Panel.Miniature(2);
    EXPECT_TRUE(focused.FocusedLook());
    EXPECT_TRUE(focused.Title().Font().Style().Contains(fsBold));
    EXPECT_EQ(focused.BevelOuter(), bvRaised);
    EXPECT_EQ(focused.View3DOptions().Rotation(), 345);
    const TGalleryChart& former = grid.Panel.Miniature(0);
    EXPECT_FALSE(former.FocusedLook());
    EXPECT_EQ(former.BevelOuter(), bvNone);
    EXPECT_EQ(former.Title().Font().Color(), 0x800000);
    EXPECT_EQ(former.View3DOptions().Rotation(), 335);

    grid.Panel.MiniatureClick(&grid.Panel.Miniature(2));
    EXPECT_EQ(grid.Changes, 2) << "the focused one again changes nothing";
    grid.Panel.MiniatureDblClick(&grid.Panel.Miniature(4));
    EXPECT_EQ(grid.Focused(), 4);
    EXPECT_EQ(grid.Selections, 1);
}

TEST(GalleryPanel, ArrowKeysStopAtEdgesEmptyCellsAndDisabledMiniatures)
{
    struct Case {
        int From;
        std::uint16_t Key;
        int To;
    };
    // Cells: 0 1 2 3 / 4 5 6 (empty); miniature 5 is disabled.
    const std::vector<Case> cases = {
        {0, VK_RIGHT, 1}, {3, VK_RIGHT, 3}, {1, VK_LEFT, 0}, {0, VK_LEFT, 0}, {0, VK_DOWN, 4},
        {4, VK_DOWN, 4},  {4, VK_UP, 0},    {2, VK_UP, 2},   {4, VK_RIGHT, 4}, {1, VK_DOWN, 1},
        {6, VK_RIGHT, 6}, {3, VK_DOWN, 3},  {6, VK_LEFT, 6}, {2, VK_DOWN, 6},
    };
    TGrid grid;
    grid.Panel.Miniature(5).Disable();
    EXPECT_FALSE(grid.Panel.Miniature(5).MiniatureEnabled());
    for (const Case& c : cases) {
        grid.Panel.FocusMiniature(&grid.Panel.Miniature(c.From));
        std::uint16_t key = c.Key;
        grid.Panel.KeyDown(key, {});
        EXPECT_EQ(grid.Focused(), c.To) << "from " << c.From << " key " << c.Key;
    }
    grid.Selections = 0;
    std::uint16_t enter = VK_RETURN;
    grid.Panel.KeyDown(enter, {});
    EXPECT_EQ(grid.Selections, 1);

    // A miniature hands its keys to the panel.
    grid.Panel.FocusMiniature(&grid.Panel.Miniature(0));
    std::uint16_t right = VK_RIGHT;
    grid.Panel.Miniature(0).OnKeyDown(&grid.Panel.Miniature(0), right, {});
    EXPECT_EQ(grid.Focused(), 1);
}

TEST(GalleryPanel, HoverFrameOnEnabledMiniaturesOnly)
{
    TGrid grid;
    TGalleryChart& m = grid.Panel.Miniature(0);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(m.Widget(), &enter);
    EXPECT_TRUE(m.HoverFrameShown());
    EXPECT_EQ(m.Canvas().GetPixel(0, 0), clWhite);
    EXPECT_EQ(m.Canvas().GetPixel(m.Width() - 1, m.Height() - 1), clGray);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(m.Widget(), &leave);
    EXPECT_FALSE(m.HoverFrameShown());
    EXPECT_EQ(m.Canvas().GetPixel(0, 0), ColorToRGB(m.Color()));

    TGalleryChart& off = grid.Panel.Miniature(1);
    off.Disable();
    QApplication::sendEvent(off.Widget(), &enter);
    EXPECT_FALSE(off.HoverFrameShown());
}
