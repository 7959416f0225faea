// What the grid paints beyond its cells' colours and texts: the row indicator in the current row, the
// background picture tiled continuously or placed once, user borders with a pen per side, and the
// two-pixel control border of the soft, quarn and XP looks, and the pan marker with the pan cursors.
#include "GridHosts.h"

#include "grid/ExtUtil.h"
#include "platform/controls/Screen.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace gridtest;

namespace {

struct LookHost {
    LookHost()
    {
        Application->ProcessMessages();
        Window = std::make_unique<QWidget>();
        Window->setGeometry(40, 40, 420, 300);
        Grid = std::make_unique<TExtStringGrid>(nullptr);
        Grid->SetParentWidget(Window.get());
        Grid->SetBounds(0, 0, 420, 300);
        Grid->SetColCount(5);
        Grid->SetRowCount(8);
        Grid->SetDefaultColWidth(60);
        Grid->SetBorderStyle(bsNone);
        Window->show();
        Application->ProcessMessages();
    }
    TExtStringGrid& G() { return *Grid; }
    TColor Pixel(int x, int y) { return Grid->Canvas().GetPixel(x, y); }
    void Paint()
    {
        Grid->Invalidate();
        Grid->Update();
    }
    std::unique_ptr<QWidget> Window;
    std::unique_ptr<TExtStringGrid> Grid;
};

// A picture whose every pixel differs from its neighbours, so any shift of the pattern shows.
TColor PatternAt(int x, int y) { return static_cast<TColor>(0x102030 + 0x20 * x + 0x2000 * y); }

std::unique_ptr<TBitmap> Pattern(int w, int h)
{
    auto b = std::make_unique<TBitmap>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->Canvas().SetPixel(x, y, PatternAt(x, y));
    return b;
}

int Mod(int a, int m) { return ((a % m) + m) % m; }

} // namespace

TEST(GridLook, RowIndicatorStandsInTheCurrentRowOnly)
{
    LookHost h;
    TExtStringGrid& g = h.G();
    // A 6 x 6 glyph: a key-coloured ground (its top-left pixel) round a blue square.
    TBitmap glyph(6, 6);
    glyph.Canvas().Brush().SetColor(0x00FF00);
    glyph.Canvas().FillRect({0, 0, 6, 6});
    glyph.Canvas().Brush().SetColor(0xFF0000);
    glyph.Canvas().FillRect({2, 2, 4, 4});
    g.SetRowIndicator(glyph);
    g.SetRow(2);
    h.Paint();
    const TRect cur = g.CellRect(0, 2), other = g.CellRect(0, 3);
    const int x = cur.Left + 1, y = cur.Top + 1;
    EXPECT_EQ(h.Pixel(x + 2, y + 2), 0xFF0000u);
    // The key colour shows the fixed colour.
    EXPECT_EQ(h.Pixel(x, y), ColorToRGB(g.FixedColor()));
    EXPECT_EQ(h.Pixel(x + 5, y + 5), ColorToRGB(g.FixedColor()));
    // The fixed gradient starts right of the glyph, and no glyph stands in another row.
    EXPECT_NE(h.Pixel(other.Left + 3, other.Top + 3), 0xFF0000u);
    EXPECT_EQ(h.Pixel(x + 7, y + 2), h.Pixel(other.Left + 8, other.Top + 3));
    // Moving the current row moves the glyph.
    g.SetRow(3);
    Application->ProcessMessages();
    g.Update();
    EXPECT_EQ(h.Pixel(other.Left + 3, other.Top + 3), 0xFF0000u);
    EXPECT_NE(h.Pixel(x + 2, y + 2), 0xFF0000u);
}

TEST(GridLook, TiledBackgroundRunsOnAcrossNormalCells)
{
    LookHost h;
    TExtStringGrid& g = h.G();
    g.SetColWidths(1, 37);   // widths and heights that are no multiple of the picture
    g.SetRowHeights(2, 23);
    g.BackGround.SetBitmap(*Pattern(7, 5));
    g.SetRow(6);
    g.SetCol(4);
    h.Paint();
    const int x0 = g.ColWidths(0), y0 = g.RowHeights(0);
    // Inside several normal cells (off their grid lines) the pattern continues from the first normal
    // cell's corner.
    for (const TPoint cell : {TPoint{1, 1}, TPoint{2, 1}, TPoint{1, 2}, TPoint{2, 3}, TPoint{3, 4}}) {
        const TRect r = g.CellRect(cell.x, cell.y);
        for (const TPoint d : {TPoint{2, 2}, TPoint{9, 4}, TPoint{r.Right - r.Left - 3, r.Bottom - r.Top - 3}}) {
            const int px = r.Left + d.x, py = r.Top + d.y;
            EXPECT_EQ(h.Pixel(px, py), PatternAt(Mod(px - x0, 7), Mod(py - y0, 5)))
                << "cell " << cell.x << "," << cell.y << " at " << px << "," << py;
        }
    }
    // Fixed cells keep their look with bcNormal; a cell with a colour of its own keeps that colour.
    const TRect fixedCell = g.CellRect(2, 0);
    EXPECT_NE(h.Pixel(fixedCell.Left + 5, fixedCell.Top + 5), PatternAt(Mod(fixedCell.Left + 5 - x0, 7), Mod(fixedCell.Top + 5 - y0, 5)));
    g.CellProps(2, 2).BrushColor = 0x00FFFF;
    h.Paint();
    const TRect own = g.CellRect(2, 2);
    EXPECT_EQ(h.Pixel(own.Left + 4, own.Top + 4), 0x00FFFFu);
    // bcAll tiles the fixed cells too, from the grid's corner.
    g.BackGround.SetCells(bcAll);
    h.Paint();
    EXPECT_EQ(h.Pixel(fixedCell.Left + 5, fixedCell.Top + 5), PatternAt(Mod(fixedCell.Left + 5, 7), Mod(fixedCell.Top + 5, 5)));
}

TEST(GridLook, FixedBackgroundSitsOnceAtItsClientPosition)
{
    LookHost h;
    TExtStringGrid& g = h.G();
    g.SetRow(7);
    g.SetCol(4);
    g.BackGround.SetDisplay(bdFixed);
    g.BackGround.SetLeft(90);
    g.BackGround.SetTop(30);
    g.BackGround.SetBitmap(*Pattern(50, 30));
    h.Paint();
    // Over a grid line the line shows; inside cells the picture's own pixels.
    for (const TPoint p : {TPoint{92, 32}, TPoint{110, 40}, TPoint{125, 50}, TPoint{135, 58}}) {
        const TGridCoord c = g.MouseCoord(p.x, p.y);
        const TRect r = g.CellRect(c.X, c.Y);
        if (p.x <= r.Left || p.x >= r.Right - 1 || p.y <= r.Top || p.y >= r.Bottom - 1) continue;
        EXPECT_EQ(h.Pixel(p.x, p.y), PatternAt(p.x - 90, p.y - 30)) << p.x << "," << p.y;
    }
    // Outside the picture the cells keep the window colour.
    EXPECT_EQ(h.Pixel(150, 70), ColorToRGB(g.Color()));
    EXPECT_EQ(h.Pixel(85, 40), ColorToRGB(g.Color()));
}

TEST(GridLook, UserBordersTakeAPenPerSide)
{
    LookHost h;
    TExtStringGrid& g = h.G();
    g.SetRow(7);
    g.OnGetCellBorder = [](TPersistent*, int r, int c, TPen& pen, TCellBorders& b) {
        if (r == 2 && c == 2) {
            b = {cbLeft, cbBottom, cbTop};
            pen.SetColor(0x00FF00);
        }
    };
    g.OnGetCellBorderProp = [](TPersistent*, int r, int c, TPen& left, TPen&, TPen&, TPen& bottom) {
        if (r == 2 && c == 2) {
            left.SetColor(0x0000FF);
            bottom.SetColor(0xFF0000);
        }
    };
    h.Paint();
    const TRect r = g.CellRect(2, 2);
    const int midX = (r.Left + r.Right) / 2, midY = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(h.Pixel(r.Left, midY), 0x0000FFu);        // left: its own pen
    EXPECT_EQ(h.Pixel(midX, r.Bottom - 2), 0xFF0000u);  // bottom: its own pen
    EXPECT_EQ(h.Pixel(midX, r.Top + 1), 0x00FF00u);     // top: the border pen
    EXPECT_NE(h.Pixel(r.Right - 1, midY), 0x00FF00u);   // no right border asked
    // The next cell has no border.
    const TRect n = g.CellRect(3, 2);
    EXPECT_EQ(h.Pixel(n.Left + 5, n.Bottom - 2), ColorToRGB(g.Color()));
}

TEST(GridLook, ControlBorderOnlyForTheSoftQuarnAndXPLooksWithABorder)
{
    struct Case {
        TGridLook Look;
        bool Flat;
        TBorderStyle Border;
        bool Drawn;
    };
    const Case cases[] = {
        {glXP, false, bsSingle, true},    {glQuarn, false, bsSingle, true}, {glSoft, false, bsSingle, true},
        {glClassic, false, bsSingle, false}, {glStandard, false, bsSingle, false}, {glXP, true, bsSingle, false},
        {glXP, false, bsNone, false},
    };
    for (const Case& k : cases) {
        LookHost h;
        TExtStringGrid& g = h.G();
        g.SetLook(k.Look);
        g.SetFlat(k.Flat);
        g.SetBorderStyle(k.Border);
        h.Paint();
        const int w = g.Width(), hh = g.Height();
        // Right of the last column and below the last row the window colour shows unless a border does.
        const TColor grey = 0x808080;
        const TColor ground = ColorToRGB(g.Color());
        EXPECT_EQ(h.Pixel(w - 2, hh / 2), k.Drawn ? grey : ground) << k.Look << " " << k.Flat << " " << k.Border;
        EXPECT_EQ(h.Pixel(w - 50, hh - 2), k.Drawn ? grey : ground) << k.Look;
        EXPECT_EQ(h.Pixel(w - 50, hh - 3), ground) << k.Look;
        EXPECT_EQ(h.Pixel(w - 3, hh / 2), ground) << k.Look;
    }
}

TEST(GridLook, ControlBorderComesBackAfterAPartialRepaintAndTheRedrawLock)
{
    LookHost h;
    TExtStringGrid& g = h.G();
    g.SetBorderStyle(bsSingle);
    g.SetColWidths(4, 300);   // the last column reaches the right edge
    h.Paint();
    const int w = g.Width();
    EXPECT_EQ(h.Pixel(w - 2, 30), 0x808080u);
    g.RefreshCell(4, 1);
    g.Update();
    EXPECT_EQ(h.Pixel(w - 2, 30), 0x808080u);
    g.LockRedraw();
    g.SetCells(4, 1, "x");
    g.UnlockRedraw();
    g.Update();
    EXPECT_EQ(h.Pixel(w - 2, 30), 0x808080u);
}

TEST(GridLook, PanMarkerAndCursorsFollowThePanningMode)
{
    struct Case {
        TIntelliPan Mode;
        bool Vertical, Horizontal;
    };
    for (const Case k : {Case{ipVertical, true, false}, Case{ipHorizontal, false, true}, Case{ipBoth, true, true}}) {
        LookHost h;
        TExtStringGrid& g = h.G();
        g.SetRowCount(40);
        g.SetColCount(20);
        g.IntelliPan = k.Mode;
        g.SetCursor(crHandPoint);
        QWidget* w = g.Widget();
        const QPointF origin(150, 100);
        QMouseEvent press(QEvent::MouseButtonPress, origin, w->mapToGlobal(origin), Qt::MiddleButton, Qt::MiddleButton, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
        ASSERT_TRUE(g.Panning());
        EXPECT_EQ(g.Cursor(), 8000);
        EXPECT_FALSE(g.ShowHint());
        h.Paint();   // the marker stays over a full repaint
        const int x = 150, y = 100;
        EXPECT_EQ(h.Pixel(x + 1, y + 1), 0xFFFFFFu) << k.Mode;
        EXPECT_EQ(h.Pixel(x + 13, y + 13), 0x000000u) << k.Mode;
        EXPECT_EQ(h.Pixel(x + 13, y + 6) == 0, k.Vertical) << k.Mode;
        EXPECT_EQ(h.Pixel(x + 13, y + 20) == 0, k.Vertical) << k.Mode;
        EXPECT_EQ(h.Pixel(x + 6, y + 13) == 0, k.Horizontal) << k.Mode;
        EXPECT_EQ(h.Pixel(x + 20, y + 13) == 0, k.Horizontal) << k.Mode;
        // The cursor points where the grid moves; a locked axis leaves its arrow out.
        const QPointF down(150, 130);
        QMouseEvent move(QEvent::MouseMove, down, w->mapToGlobal(down), Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        g.PanStep();
        EXPECT_EQ(g.Cursor(), k.Vertical ? 8001 : 8000) << k.Mode;
        const QPointF upLeft(120, 80);
        QMouseEvent move2(QEvent::MouseMove, upLeft, w->mapToGlobal(upLeft), Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move2);
        g.PanStep();
        EXPECT_EQ(g.Cursor(), k.Mode == ipBoth ? 8006 : k.Vertical ? 8004 : 8002) << k.Mode;
        ASSERT_TRUE(Screen->HasCursor(8006));
        // A key ends panning: the cursor and the hints come back and the marker goes.
        Key(w, Qt::Key_Shift);
        EXPECT_FALSE(g.Panning());
        EXPECT_EQ(g.Cursor(), crHandPoint);
        EXPECT_TRUE(g.ShowHint());
        g.Update();
        EXPECT_NE(h.Pixel(x + 13, y + 13), 0x000000u) << k.Mode;
    }
}

namespace {

// Whether any dark (text) pixel lies in the strip's columns x0..x1.
bool DarkIn(TCanvas& c, int x0, int x1, int h)
{
    for (int x = x0; x < x1; ++x)
        for (int y = 2; y < h - 2; ++y)
            if ((c.GetPixel(x, y) & 0xFFFFFF) < 0x404040) return true;
    return false;
}

} // namespace

TEST(GridLook, FooterStripShowsTheLastRowScrollingWithTheColumns)
{
    LookHost h;
    TExtStringGrid& g = h.G();
    g.SetColCount(10);
    g.SetRowCount(30);
    g.SetCells(3, 29, "XXXX");
    TFooterPanel* p = g.FooterPanel();
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(p->Visible());
    g.FloatingFooter.SetVisible(true);
    EXPECT_TRUE(p->Visible());
    EXPECT_EQ(p->Height(), g.DefaultRowHeight() - 1);
    EXPECT_EQ(p->Top(), g.ClientHeight() - p->Height());
    EXPECT_EQ(p->Width(), g.ClientWidth());
    EXPECT_EQ(g.FixedFooters(), 1);
    p->Invalidate();
    p->Update();
    TCanvas& c = p->Canvas();
    const int ph = p->Height();
    // Column 3 lies behind the fixed column and columns 1 and 2: its text is there, none elsewhere.
    const int x3 = 60 * 3 + 1;
    EXPECT_TRUE(DarkIn(c, x3, x3 + 58, ph));
    EXPECT_FALSE(DarkIn(c, 61, 60 * 3 - 2, ph));
    // Grey separators at the columns' right edges, the look's gradient from white at the top.
    EXPECT_EQ(c.GetPixel(59, ph / 2), 0x808080u);
    EXPECT_EQ(c.GetPixel(60 * 2 + 59, ph / 2), 0x808080u);
    // Scrolling moves the cells with the columns; the fixed column stays.
    g.SetLeftCol(3);
    Application->ProcessMessages();
    p->Update();
    EXPECT_TRUE(DarkIn(c, 62, 118, ph));
    EXPECT_FALSE(DarkIn(c, x3 + 2, x3 + 56, ph));
    // A write into the last row reaches the strip.
    g.SetCellValue(4, 29, "YYYY");
    Application->ProcessMessages();
    p->Update();
    EXPECT_TRUE(DarkIn(c, 122, 178, ph));
    // Hidden again: no strip, no footer row.
    g.FloatingFooter.SetVisible(false);
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(g.FixedFooters(), 0);
}

TEST(GridLook, FooterPreviewsTheCurrentRow)
{
    LookHost h;
    TExtStringGrid& g = h.G();
    for (int r = 1; r < 8; ++r) g.SetCells(2, r, "r" + std::to_string(r));
    g.SetCells(2, 3, "XXXX");
    g.SetRow(3);
    g.FloatingFooter.SetFooterStyle(fsColumnPreview);
    g.FloatingFooter.SetColumn(2);
    g.FloatingFooter.SetVisible(true);
    EXPECT_EQ(g.FixedFooters(), 0);   // a preview keeps the last row an ordinary row
    TFooterPanel* p = g.FooterPanel();
    p->Invalidate();
    p->Update();
    TCanvas& c = p->Canvas();
    const int ph = p->Height(), W = 5 * 60;
    EXPECT_EQ(c.GetPixel(W / 2, ph - 1), 0x808080u);
    EXPECT_EQ(c.GetPixel(W - 1, ph / 2), 0x808080u);
    EXPECT_EQ(c.GetPixel(W / 2, 0), 0xFFFFFFu);
    EXPECT_EQ(c.GetPixel(0, ph / 2), 0xFFFFFFu);
    EXPECT_EQ(c.GetPixel(W + 20, ph / 2), ColorToRGB(g.Color()));
    EXPECT_TRUE(DarkIn(c, 2, 80, ph));
    EXPECT_EQ(g.SelectionTextColor(), clBlack);
    // The template of column tags.
    struct Case {
        const char* Template;
        const char* Text;
    };
    const Case cases[] = {
        {"Row <#0>: <#2> and <#x> end", "Row : XXXX and  end"},
        {"<#2><#2>", "XXXXXXXX"},
        {"none <#99> past the last column", "none  past the last column"},
        {"open <#2 tag", "open <#2 tag"},
        {"plain", "plain"},
    };
    for (const Case& k : cases) {
        g.FloatingFooter.SetCustomTemplate(k.Template);
        EXPECT_EQ(g.FooterTemplateText(), k.Text) << k.Template;
    }
    g.SetCells(0, 3, "0:3");
    g.FloatingFooter.SetCustomTemplate("Row <#0>: <#2> and <#x> end");
    EXPECT_EQ(g.FooterTemplateText(), "Row 0:3: XXXX and  end");
}

// Under a real display, VSP_GRID_LOOK_SCREENSHOT=<file.png> saves a grid with a row indicator, a tiled
// background, the control border and the footer strip; without it the test is skipped.
TEST(GridLook, ScreenshotOnRequest)
{
    const char* file = std::getenv("VSP_GRID_LOOK_SCREENSHOT");
    if (!file) GTEST_SKIP() << "VSP_GRID_LOOK_SCREENSHOT not set";
    LookHost h;
    TExtStringGrid& g = h.G();
    g.SetBorderStyle(bsSingle);
    g.SetRowCount(20);
    for (int r = 1; r < 20; ++r)
        for (int c = 1; c < 5; ++c) g.SetCells(c, r, std::to_string(c * r));
    TBitmap glyph(8, 8);
    glyph.Canvas().Brush().SetColor(0x00FF00);
    glyph.Canvas().FillRect({0, 0, 8, 8});
    glyph.Canvas().Brush().SetColor(0x000000);
    const TPoint tri[] = {{1, 1}, {6, 4}, {1, 7}};
    glyph.Canvas().Pen().SetColor(0x000000);
    glyph.Canvas().Polygon(tri, 3);
    g.SetRowIndicator(glyph);
    auto tile = std::make_unique<TBitmap>(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) tile->Canvas().SetPixel(x, y, ((x / 4 + y / 4) % 2) ? 0xF0E0D0 : 0xFFFFFF);
    g.BackGround.SetBitmap(*tile);
    g.SetRow(3);
    g.SetCells(2, 19, "Sum");
    g.FloatingFooter.SetVisible(true);
    g.SetFocus();
    for (int i = 0; i < 20; ++i) Application->ProcessMessages();
    const QImage shot = h.Window->grab().toImage();
    ASSERT_TRUE(shot.save(file));
}
