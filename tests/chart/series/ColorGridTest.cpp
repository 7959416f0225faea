// The colour grid and the contour series drawn offscreen and probed at pixels: cells in their colours
// (corner or centred points, holes, a clear brush, the frame, zoomed and shifted grids), grid lines,
// pictures loaded as points, clicks on regular and irregular grids, a smoothed picture at a deep zoom,
// and contour lines of a cone with their click test.
#include "SeriesTestSupport.h"

#include "chart/series/LumSurfaColorGrid.h"
#include "chart/series/LumSurfaContour.h"
#include "platform/rtl/SystemColors.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct TGridBench : TSeriesBench {
    TGridBench() { Chart.SetAxisVisible(false); }
    int PX(double X) const { return Chart.BottomAxis().CalcXPosValue(X); }
    int PY(double Z) const { return Chart.LeftAxis().CalcYPosValue(Z); }
};

TColor CellColour(int X, int Z) { return static_cast<TColor>((X * 50) | ((Z * 60) << 8) | (100 << 16)); }

// A Columns x Rows grid at X = X0 + 1.., Z = Z0 + 1.. with cell (x, z) in CellColour(x, z), row by row.
TColorGridSeries& ColourGrid(TGridBench& B, int Columns, int Rows, double X0 = 0, double Z0 = 0)
{
    auto& g = B.Add<TColorGridSeries>();
    for (int z = 1; z <= Rows; ++z)
        for (int x = 1; x <= Columns; ++x) g.AppendXYZWithLabel(X0 + x, 0, Z0 + z, {}, CellColour(x, z));
    return g;
}

// The pixels an empty chart shows, for comparing holes with.
std::unique_ptr<TBitmap> EmptyRender(double X0, double X1, double Z0, double Z1)
{
    TGridBench e;
    e.FixAxes(X0, X1, Z0, Z1);
    return e.Render();
}

} // namespace

TEST(ColorGridRender, CellsInTheirColours)
{
    for (bool centred : {false, true}) {
        SCOPED_TRACE(centred ? "centred points" : "points at the low corner");
        TGridBench b;
        b.FixAxes(0, 6, 0, 5);
        auto& g = ColourGrid(b, 4, 3);
        g.SetCenteredPoints(centred);
        g.Pen().SetVisible(false);
        g.StorePointColor(5, clNone); // cell (2, 2)
        const auto bitmap = b.Render();
        const auto empty = EmptyRender(0, 6, 0, 5);
        const double d = centred ? 0 : 0.5;
        for (int z = 1; z <= 3; ++z)
            for (int x = 1; x <= 4; ++x) {
                const int px = b.PX(x + d), py = b.PY(z + d);
                const TColor want = x == 2 && z == 2 ? empty->PixelRGB(px, py) : CellColour(x, z);
                EXPECT_EQ(bitmap->PixelRGB(px, py), want) << x << ", " << z;
            }
        EXPECT_EQ(g.LowestX(), centred ? 0.5 : 1);
        EXPECT_EQ(g.HighestX(), centred ? 4.5 : 5);
        // Beyond the last column the chart's own background shows.
        EXPECT_EQ(bitmap->PixelRGB(b.PX(5.5), b.PY(2)), empty->PixelRGB(b.PX(5.5), b.PY(2)));
    }
}

TEST(ColorGridRender, ClearBrushAndFrame)
{
    TGridBench b;
    b.FixAxes(0, 6, 0, 5);
    auto& g = ColourGrid(b, 4, 3);
    g.Pen().SetVisible(false);
    g.Brush().SetStyle(bsClear);
    g.Frame().SetVisible(true);
    g.Frame().SetColor(clRed);
    const auto bitmap = b.Render();
    const auto empty = EmptyRender(0, 6, 0, 5);
    EXPECT_EQ(bitmap->PixelRGB(b.PX(2.5), b.PY(2.5)), empty->PixelRGB(b.PX(2.5), b.PY(2.5))) << "no cell colours";
    // The frame runs round the cells 1..5 by 1..4.
    EXPECT_EQ(bitmap->PixelRGB(b.PX(1), b.PY(2.5)), clRed);
    EXPECT_EQ(bitmap->PixelRGB(b.PX(3), b.PY(4)), clRed);
    EXPECT_NE(bitmap->PixelRGB(b.PX(3), b.PY(4) - 3), clRed);
}

TEST(ColorGridRender, ZoomedAndShiftedGrids)
{
    const struct {
        const char* what;
        double x0, z0;              // the grid's offset
        double ax0, ax1, az0, az1;  // the axes
    } cases[] = {
        {"zoomed into the middle", 0, 0, 2.3, 4.6, 1.7, 3.2},
        {"grid far from the origin", 100, -50, 101, 106, -49.5, -46},
        {"zoomed on a shifted grid", 100, -50, 102.3, 103.7, -48.5, -47.2},
        {"negative grid", -20, -20, -19.5, -14, -19.2, -15},
    };
    for (const auto& c : cases) {
        for (bool centred : {false, true}) {
            SCOPED_TRACE(::testing::Message() << c.what << (centred ? ", centred" : ""));
            TGridBench b;
            b.FixAxes(c.ax0, c.ax1, c.az0, c.az1);
            auto& g = ColourGrid(b, 6, 5, c.x0, c.z0);
            g.SetCenteredPoints(centred);
            g.Pen().SetVisible(false);
            const auto bitmap = b.Render();
            const double d = centred ? 0 : 0.5;
            int probed = 0;
            for (int z = 1; z <= 5; ++z)
                for (int x = 1; x <= 6; ++x) {
                    const double cx = c.x0 + x + d, cz = c.z0 + z + d;
                    if (cx <= c.ax0 || cx >= c.ax1 || cz <= c.az0 || cz >= c.az1) continue;
                    ++probed;
                    EXPECT_EQ(bitmap->PixelRGB(b.PX(cx), b.PY(cz)), CellColour(x, z)) << x << ", " << z;
                }
            EXPECT_GT(probed, 0);
        }
    }
}

TEST(ColorGridRender, GridLinesEveryOtherColumn)
{
    TGridBench b;
    b.FixAxes(0, 12, 0, 12);
    auto& g = ColourGrid(b, 10, 10);
    g.Pen().SetColor(clBlack);
    g.SetXGridEvery(2);
    g.SetZGridEvery(20); // no horizontal lines
    const auto bitmap = b.Render();
    const int y = b.PY(5.5);
    for (int column = 1; column <= 11; ++column) {
        const bool line = column == 3 || column == 5 || column == 7 || column == 9;
        EXPECT_EQ(bitmap->PixelRGB(b.PX(column), y) == clBlack, line) << "column " << column;
    }
    EXPECT_NE(bitmap->PixelRGB(b.PX(5.5), b.PY(3)), clBlack);
}

TEST(ColorGridModel, LoadFromGraphic)
{
    TBitmap picture(3, 2);
    const TColor pixels[2][3] = {{clRed, clLime, clBlue}, {clYellow, clAqua, static_cast<TColor>(0x123456)}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) picture.SetPixelRGB(x, y, pixels[y][x]);
    TColorGridSeries g(nullptr);
    g.LoadFromGraphic(picture);
    ASSERT_EQ(g.PointCount(), 6);
    EXPECT_EQ(g.NumXValues(), 3);
    EXPECT_EQ(g.NumZValues(), 2);
    EXPECT_TRUE(g.CenteredPoints());
    // Column by column: point i * 2 + j is pixel (i, j) at x = i + 1, z = j + 1.
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j) {
            const int p = i * 2 + j;
            EXPECT_EQ(g.XValues().ValueAt(p), i + 1);
            EXPECT_EQ(g.ZValues().ValueAt(p), j + 1);
            EXPECT_EQ(g.StoredPointColor(p), pixels[j][i]) << p;
            EXPECT_EQ(g.YValues().ValueAt(p), pixels[j][i]);
        }
}

TEST(ColorGridModel, Clicks)
{
    // Regular, both point placements, and an irregular grid stored row by row.
    TGridBench b;
    b.FixAxes(0, 10, 0, 10);
    auto& g = ColourGrid(b, 4, 3);
    (void)b.Render();
    const struct {
        double x, z;
        int point;
    } regular[] = {{1.5, 1.5, 0}, {4.9, 1.1, 3}, {2.2, 3.7, 9}, {0.9, 1.5, -1}, {5.1, 1.5, -1}, {2.5, 4.2, -1}};
    for (const auto& c : regular) EXPECT_EQ(g.PointAtPixel(b.PX(c.x), b.PY(c.z)), c.point) << c.x << ", " << c.z;
    g.SetCenteredPoints(true);
    (void)b.Render();
    EXPECT_EQ(g.PointAtPixel(b.PX(1.2), b.PY(0.8)), 0);
    EXPECT_EQ(g.PointAtPixel(b.PX(0.4), b.PY(1)), -1);

    TGridBench ib;
    ib.FixAxes(0, 10, 0, 10);
    auto& irregular = ib.Add<TColorGridSeries>();
    irregular.SetIrregularGrid(true);
    const double xs[] = {1, 2.5, 4, 7}, zs[] = {1, 3, 4};
    for (double z : zs)
        for (double x : xs) irregular.AppendXYZ(x, x + z, z);
    (void)ib.Render();
    const struct {
        double x, z;
        int point;
    } cells[] = {{3, 3.5, 5}, {1.1, 1.1, 0}, {6.9, 3.9, 6}, {0.5, 2, -1}, {7.5, 2, -1}, {3, 4.5, -1}};
    for (const auto& c : cells)
        EXPECT_EQ(irregular.PointAtPixel(ib.PX(c.x), ib.PY(c.z)), c.point) << c.x << ", " << c.z;
    // The irregular cells are drawn from a point to its neighbours.
    const auto bitmap = ib.Render();
    EXPECT_EQ(bitmap->PixelRGB(ib.PX(3), ib.PY(3.5)), irregular.PointColor(5));
}

TEST(ColorGridRender, SmoothBitmapAtADeepZoomStretchesPlainly)
{
    TGridBench b;
    // One cell covers millions of pixels both ways.
    b.FixAxes(3.4999, 3.5001, 2.4999, 2.5001);
    auto& g = ColourGrid(b, 5, 4);
    g.Pen().SetVisible(false);
    g.SetSmoothBitmap(true);
    const auto bitmap = b.Render();
    EXPECT_EQ(bitmap->PixelRGB(b.PX(3.5), b.PY(2.5)), CellColour(3, 2));

    // At an ordinary zoom the smoothed picture blends the cells but keeps them in place.
    TGridBench n;
    n.FixAxes(0, 7, 0, 6);
    auto& s = ColourGrid(n, 5, 4);
    s.Pen().SetVisible(false);
    s.SetSmoothBitmap(true);
    const auto smooth = n.Render();
    const auto empty = EmptyRender(0, 7, 0, 6);
    EXPECT_NE(smooth->PixelRGB(n.PX(2.5), n.PY(2.5)), empty->PixelRGB(n.PX(2.5), n.PY(2.5)));
    EXPECT_EQ(smooth->PixelRGB(n.PX(6.5), n.PY(2.5)), empty->PixelRGB(n.PX(6.5), n.PY(2.5)));
}

// ---- Contour ---------------------------------------------------------------------------------------------------

TEST(ContourRender, ConeLinesInLevelColoursAndTheirClicks)
{
    TGridBench b;
    b.FixAxes(0, 22, 0, 22);
    auto& s = b.Add<TContourSeries>();
    const double ax = 11.2, az = 10.8;
    for (int z = 1; z <= 21; ++z)
        for (int x = 1; x <= 21; ++x) s.AppendXYZ(x, 100 - std::hypot(x - ax, z - az) * 10, z);
    s.SetAutomaticLevels(false);
    const TColor colours[] = {clRed, clBlue, clDefault};
    const double values[] = {80, 50, 20}; // radii 2, 5, 8
    for (int i = 0; i < 3; ++i) {
        TContourLevel& l = s.Levels().AddLevel();
        l.SetUpToValue(values[i]);
        l.SetColor(colours[i]);
    }
    const auto bitmap = b.Render();
    const auto empty = EmptyRender(0, 22, 0, 22);
    const TColor drawn[] = {clRed, clBlue, ColorToRGB(b.Chart.PaletteColorAt(2))};
    for (int i = 0; i < 3; ++i) {
        const double r = (100 - values[i]) / 10;
        SCOPED_TRACE(r);
        // East of the apex the line crosses the row of the apex at X = ax + r.
        const int px = b.PX(ax + r), py = b.PY(az);
        int at = -1;
        for (int dx = -2; dx <= 2 && at < 0; ++dx)
            if (bitmap->PixelRGB(px + dx, py) == drawn[i]) at = px + dx;
        ASSERT_GE(at, 0);
        EXPECT_EQ(s.PointAtPixel(at, py), i);
    }
    // Between the lines the background.
    const int between = b.PX(ax + 3.5);
    EXPECT_EQ(bitmap->PixelRGB(between, b.PY(az)), empty->PixelRGB(between, b.PY(az)));
    EXPECT_EQ(s.PointAtPixel(between, b.PY(az)), -1);
}
