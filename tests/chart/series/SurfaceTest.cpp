// The surface, water-fall, vector and tower series: the cell draw order and the centred walk, the
// colour corner of a cell, clicks on overlapping rows, renders probed at pixels in flat and orthogonal
// 3-D charts (cells, wire frame, curtains, sides, arrows, towers) and what Assign keeps.
#include "SeriesTestSupport.h"

#include "chart/series/LumSurfaSurface.h"
#include "chart/series/LumSurfaTower.h"
#include "platform/rtl/SystemColors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

namespace {

struct TSurfaceBench : TSeriesBench {
    TSurfaceBench() { Chart.SetAxisVisible(false); }

    // Orthogonal 3-D.
    void Go3D()
    {
        Chart.SetView3D(true);
        Chart.View3DOptions().SetOrthogonal(true);
    }
    // The screen point of (X, Y, Z) as the last paint projected it.
    TPoint Screen(double X, double Y, double Z)
    {
        return Chart.ChartCanvas().ProjectXYZ(Chart.BottomAxis().CalcXPosValue(X), Chart.LeftAxis().CalcYPosValue(Y),
                                              Chart.DepthAxis().CalcPosValue(Z));
    }
};

TColor NodeColour(int X, int Z) { return static_cast<TColor>((X * 40) | ((Z * 50) << 8) | (90 << 16)); }

// Columns x Rows nodes at X = 1.., Z = 1.. with height Height(x, z), each in NodeColour, row by row.
template <class S>
S& Grid(TSeriesBench& B, int Columns, int Rows, const std::function<double(int, int)>& Height)
{
    auto& s = B.Add<S>();
    for (int z = 1; z <= Rows; ++z)
        for (int x = 1; x <= Columns; ++x) s.AppendXYZWithLabel(x, Height(x, z), z, {}, NodeColour(x, z));
    return s;
}

int NodeIndex(int X, int Z, int Columns) { return (Z - 1) * Columns + (X - 1); }

} // namespace

// ---- Draw order ---------------------------------------------------------------------------------------------

TEST(SurfaceOrder, FourCasesOfTheCellWalk)
{
    struct TCase {
        bool horizInverted, depthInverted, waterFall;
        TSurfaceSeries::TCellOrder want;
    };
    // 4 columns, 3 rows.
    const TCase cases[] = {
        {false, false, false, {3, 1, -1, 2, 5, 1, -1, -1}},
        {false, true, false, {1, 3, 1, 2, 5, 1, -1, 1}},
        {true, false, false, {3, 1, -1, 3, 0, -1, 1, -1}},
        {true, true, false, {1, 3, 1, 3, 0, -1, 1, 1}},
        {false, false, true, {3, 0, -1, 2, 5, 1, -1, -1}},
        {false, true, true, {1, 4, 1, 2, 5, 1, -1, 1}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "horizontal inverted " << c.horizInverted << ", depth inverted "
                                          << c.depthInverted << ", water fall " << c.waterFall);
        TSurfaceBench b;
        b.FixAxes(0, 5, 0, 5);
        auto& s = Grid<TSurfaceSeries>(b, 4, 3, [](int, int) { return 1.0; });
        s.SetWaterFall(c.waterFall);
        b.Chart.BottomAxis().SetInverted(c.horizInverted);
        b.Chart.DepthAxis().SetInverted(c.depthInverted);
        s.PrepareForDraw();
        const TSurfaceSeries::TCellOrder o = s.CellDrawOrder();
        EXPECT_EQ(o.FirstRow, c.want.FirstRow);
        EXPECT_EQ(o.StopRow, c.want.StopRow);
        EXPECT_EQ(o.RowStep, c.want.RowStep);
        EXPECT_EQ(o.FirstColumn, c.want.FirstColumn);
        EXPECT_EQ(o.StopColumn, c.want.StopColumn);
        EXPECT_EQ(o.ColumnStep, c.want.ColumnStep);
        EXPECT_EQ(s.XStep(), c.want.XStep);
        EXPECT_EQ(s.ZStep(), c.want.ZStep);
    }
}

TEST(SurfaceOrder, CentredPerspectiveWalksFromBothEnds)
{
    using V = std::vector<int>;
    EXPECT_EQ(TSurfaceSeries::CentredColumns(2, 6, 1), (V{2, 5, 3, 4}));
    EXPECT_EQ(TSurfaceSeries::CentredColumns(2, 7, 1), (V{2, 6, 3, 5, 4})) << "five: first, last, second, fourth, third";
    EXPECT_EQ(TSurfaceSeries::CentredColumns(4, 0, -1), (V{4, 1, 3, 2}));
    EXPECT_EQ(TSurfaceSeries::CentredColumns(2, 3, 1), (V{2}));
    EXPECT_EQ(TSurfaceSeries::CentredColumns(2, 2, 1), V{});
    EXPECT_EQ(TSurfaceSeries::CentredColumns(2, 1, 1), V{}) << "an empty grid";

    TSurfaceBench b;
    b.FixAxes(0, 7, 0, 5);
    auto& s = Grid<TSurfaceSeries>(b, 6, 2, [](int, int) { return 1.0; });
    b.Chart.SetView3D(true);
    b.Chart.View3DOptions().SetPerspective(50);
    b.Chart.View3DOptions().SetRotation(360);
    s.PrepareForDraw();
    const auto order = s.CellDrawOrder();
    EXPECT_EQ(s.ColumnWalk(order), (V{2, 6, 3, 5, 4}));
    b.Chart.View3DOptions().SetRotation(345);
    EXPECT_EQ(s.ColumnWalk(order), (V{2, 3, 4, 5, 6}));
    b.Chart.View3DOptions().SetRotation(180);
    b.Chart.View3DOptions().SetPerspective(0);
    EXPECT_EQ(s.ColumnWalk(order), (V{2, 3, 4, 5, 6})) << "no perspective";
}

// ---- Flat renders and clicks -------------------------------------------------------------------------------

TEST(SurfaceRender, CellColourIsTheLowColumnHighRowCorner)
{
    // One cell whatever the steps: its colour is always node (1, 2)'s.
    for (bool horizInverted : {false, true})
        for (bool depthInverted : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "horizontal inverted " << horizInverted << ", depth inverted " << depthInverted);
            TSurfaceBench b;
            b.FixAxes(0, 3, 0, 3);
            auto& s = Grid<TSurfaceSeries>(b, 2, 2, [](int, int z) { return z; });
            s.Pen().SetVisible(false);
            b.Chart.BottomAxis().SetInverted(horizInverted);
            b.Chart.DepthAxis().SetInverted(depthInverted);
            const auto bitmap = b.Render();
            EXPECT_EQ(s.XStep(), horizInverted ? 1 : -1);
            EXPECT_EQ(s.ZStep(), depthInverted ? 1 : -1);
            const TPoint centre = b.Screen(1.5, 1.5, 1);
            EXPECT_EQ(bitmap->PixelRGB(centre.x, centre.y), NodeColour(1, 2));
        }
}

TEST(SurfaceRender, OneRowOrOneColumnDrawsNothing)
{
    const struct {
        int columns, rows;
    } grids[] = {{1, 4}, {4, 1}, {1, 1}};
    for (const auto& g : grids) {
        SCOPED_TRACE(::testing::Message() << g.columns << " x " << g.rows);
        TSurfaceBench empty;
        empty.FixAxes(0, 5, 0, 5);
        const auto none = empty.Render();
        TSurfaceBench b;
        b.FixAxes(0, 5, 0, 5);
        auto& s = Grid<TSurfaceSeries>(b, g.columns, g.rows, [](int x, int z) { return x + z; });
        s.Pen().SetColor(clRed);
        const auto bitmap = b.Render();
        int differing = 0;
        for (int y = 0; y < bitmap->Height(); ++y)
            for (int x = 0; x < bitmap->Width(); ++x) differing += bitmap->PixelRGB(x, y) != none->PixelRGB(x, y);
        EXPECT_EQ(differing, 0);
    }
}

TEST(SurfaceClick, OverlappingRowsAnswerTheOnePaintedLater)
{
    // Rows 1 and 3 at height 0, row 2 at 10: in a flat chart both cells cover the same square.
    for (bool depthInverted : {false, true}) {
        SCOPED_TRACE(depthInverted ? "depth inverted" : "depth upright");
        TSurfaceBench b;
        b.FixAxes(0, 3, -1, 11);
        auto& s = Grid<TSurfaceSeries>(b, 2, 3, [](int, int z) { return z == 2 ? 10.0 : 0.0; });
        s.Pen().SetVisible(false);
        b.Chart.DepthAxis().SetInverted(depthInverted);
        const auto bitmap = b.Render();
        const TPoint p = b.Screen(1.5, 5, 1);
        // Upright: rows 3-2 first, rows 2-1 last; inverted the other way round.
        const int laterRow = depthInverted ? 3 : 1;
        EXPECT_EQ(s.PointAtPixel(p.x, p.y), NodeIndex(2, laterRow, 2));
        EXPECT_EQ(bitmap->PixelRGB(p.x, p.y), NodeColour(1, depthInverted ? 3 : 2)) << "the later cell is on top";
        EXPECT_EQ(s.PointAtPixel(b.Screen(2.5, 5, 1).x, p.y), -1);
    }
    TSurfaceSeries empty(nullptr);
    EXPECT_EQ(empty.PointAtPixel(10, 10), -1);
}

TEST(SurfaceModel, AssignKeepsTheWaterFallOfItsClass)
{
    TSurfaceSeries surface(nullptr);
    TWaterFallSeries fall(nullptr);
    fall.SetWireFrame(true);
    surface.Assign(fall);
    EXPECT_FALSE(surface.WaterFall());
    EXPECT_TRUE(surface.WireFrame());
    TSurfaceSeries other(nullptr);
    other.SetSmoothPalette(true);
    fall.Assign(other);
    EXPECT_TRUE(fall.WaterFall());
    EXPECT_TRUE(fall.SmoothPalette());
    // The two frame modes exclude each other and show the pen.
    surface.Pen().SetVisible(false);
    surface.SetDotFrame(true);
    EXPECT_FALSE(surface.WireFrame());
    EXPECT_TRUE(surface.Pen().Visible());
    EXPECT_EQ(surface.EditorFormName(), "TSurfaceSeriesEditor");
    EXPECT_EQ(fall.EditorFormName(), "TWaterFallEditor");
}

// ---- Orthogonal 3-D renders ---------------------------------------------------------------------------------

TEST(SurfaceRender, CellsInOrthogonal3DTakeTheirCornersColour)
{
    TSurfaceBench b;
    b.Go3D();
    b.FixAxes(0, 4, 0, 10);
    auto& s = Grid<TSurfaceSeries>(b, 3, 3, [](int x, int z) { return 2 + x + z; });
    s.Pen().SetVisible(false);
    const auto bitmap = b.Render();
    for (int z = 1; z <= 2; ++z)
        for (int x = 1; x <= 2; ++x) {
            const TPoint c = b.Screen(x + 0.5, 3 + x + z, z + 0.5);
            EXPECT_EQ(bitmap->PixelRGB(c.x, c.y), NodeColour(x, z + 1)) << x << ", " << z;
        }
}

TEST(SurfaceRender, WireFrameLeavesTheCellsOpen)
{
    TSurfaceBench plain;
    plain.Go3D();
    plain.FixAxes(0, 4, 0, 10);
    (void)Grid<TSurfaceSeries>(plain, 3, 3, [](int, int) { return 5.0; });
    const auto filled = plain.Render();
    TSurfaceBench b;
    b.Go3D();
    b.FixAxes(0, 4, 0, 10);
    auto& s = Grid<TSurfaceSeries>(b, 3, 3, [](int, int) { return 5.0; });
    s.SetWireFrame(true);
    const auto bitmap = b.Render();
    const TPoint centre = b.Screen(1.5, 5, 1.5);
    EXPECT_NE(bitmap->PixelRGB(centre.x, centre.y), filled->PixelRGB(centre.x, centre.y));
    // The cell's edge along row 2 is drawn in a cell's colour.
    const TPoint edge = b.Screen(1.5, 5, 2);
    const TColor c = bitmap->PixelRGB(edge.x, edge.y);
    EXPECT_TRUE(c == NodeColour(1, 2) || c == NodeColour(1, 3)) << std::hex << c;
}

TEST(SurfaceRender, WaterFallCurtainsReachTheAxisBottom)
{
    TSurfaceBench b;
    b.Go3D();
    b.FixAxes(0, 4, 0, 10);
    auto& s = Grid<TWaterFallSeries>(b, 3, 3, [](int x, int z) { return 4 + x + z; });
    s.Pen().SetVisible(false);
    s.WaterLines().SetVisible(false);
    const auto bitmap = b.Render();
    // The front row's strip between columns 1 and 2 hangs from its line to the axis bottom (value 0).
    for (double y : {5.0, 2.0, 0.3}) {
        const TPoint p = b.Screen(1.5, y, 1);
        EXPECT_EQ(bitmap->PixelRGB(p.x, p.y), NodeColour(1, 1)) << "height " << y;
    }
    const TPoint above = b.Screen(1.5, 8, 1);
    EXPECT_NE(bitmap->PixelRGB(above.x, above.y), NodeColour(1, 1));
}

TEST(SurfaceRender, SidesStandOnTheLowestValue)
{
    TSurfaceBench b;
    b.Go3D();
    b.FixAxes(0, 4, 0, 10);
    auto& s = Grid<TSurfaceSeries>(b, 3, 3, [](int x, int z) { return 4 + x + z; });
    s.Pen().SetVisible(false);
    s.SideBrush().SetStyle(bsSolid);
    s.SideBrush().SetColor(clRed);
    const auto bitmap = b.Render();
    // The front wall (row 1) under the cells, down to the lowest height 6.
    const TPoint front = b.Screen(2.5, 6.5, 1);
    EXPECT_EQ(bitmap->PixelRGB(front.x, front.y), clRed);
    const TPoint below = b.Screen(2.5, 5, 1);
    EXPECT_NE(bitmap->PixelRGB(below.x, below.y), clRed);
}

// ---- Vector -------------------------------------------------------------------------------------------------

TEST(VectorSeries, ArrowHeads)
{
    // A zero vector's angle is atan2(0, 0) = 0: the head points right.
    const auto zero = TVector3DSeries::ArrowHead({100, 50}, std::atan2(0.0, 0.0), 4, 3);
    EXPECT_EQ(zero[0], (TPoint{96, 47}));
    EXPECT_EQ(zero[1], (TPoint{100, 50}));
    EXPECT_EQ(zero[2], (TPoint{96, 53}));
    // Pointing up the screen (y grows downward): the barbs hang below the tip.
    const auto up = TVector3DSeries::ArrowHead({100, 50}, std::numbers::pi / 2, 4, 3);
    EXPECT_EQ(up[0], (TPoint{97, 54}));
    EXPECT_EQ(up[2], (TPoint{103, 54}));

    TSurfaceBench b;
    b.FixAxes(0, 10, 0, 10);
    auto& v = b.Add<TVector3DSeries>();
    v.Pen().SetColor(clBlue);
    v.SetColorEachPoint(false);
    v.SetUseColorRange(false);
    v.SetSeriesColor(clBlue);
    v.SetArrowWidth(6);
    v.SetArrowHeight(6);
    v.EndArrow().SetColor(clRed);
    v.StartArrow().SetVisible(true);
    v.StartArrow().SetColor(clLime);
    v.AddVector(2, 5, 0, 6, 5, 0);
    v.AddVector(8, 2, 0, 8, 2, 0); // zero
    const auto bitmap = b.Render();
    const int sx = b.Chart.BottomAxis().CalcXPosValue(2), ex = b.Chart.BottomAxis().CalcXPosValue(6);
    const int y = b.Chart.LeftAxis().CalcYPosValue(5);
    EXPECT_EQ(bitmap->PixelRGB((sx + ex) / 2, y), clBlue) << "the shaft in the point colour";
    EXPECT_EQ(bitmap->PixelRGB(ex - 3, y - 3), clRed) << "the end head pointing along the vector";
    EXPECT_EQ(bitmap->PixelRGB(ex - 3, y + 3), clRed);
    EXPECT_EQ(bitmap->PixelRGB(sx - 3, y - 3), clLime) << "the start head points the same way";
    const int zx = b.Chart.BottomAxis().CalcXPosValue(8), zy = b.Chart.LeftAxis().CalcYPosValue(2);
    EXPECT_EQ(bitmap->PixelRGB(zx - 3, zy - 3), clRed) << "the zero vector's head points right";
    EXPECT_NE(bitmap->PixelRGB(zx + 3, zy - 3), clRed);
    // Extents take the ends in.
    TVector3DSeries e(nullptr);
    e.AddVector(1, 2, 3, -4, 9, 7);
    EXPECT_EQ(e.LowestX(), -4);
    EXPECT_EQ(e.HighestY(), 9);
    EXPECT_EQ(e.HighestZ(), 7);
    EXPECT_EQ(e.LowestZ(), 3);
}

// ---- Tower --------------------------------------------------------------------------------------------------

TEST(TowerSeries, WidthOriginAndClicks)
{
    TSurfaceBench b;
    b.FixAxes(0, 5, 0, 12);
    auto& t = Grid<TTowerSeries>(b, 3, 2, [](int x, int) { return 2.0 * x; });
    t.Pen().SetVisible(false);
    const auto bitmap = b.Render();
    // Width 100 %: neighbours touch.
    EXPECT_EQ(t.TowerBox(NodeIndex(1, 1, 3)).Rect.Right, t.TowerBox(NodeIndex(2, 1, 3)).Rect.Left);
    EXPECT_EQ(t.LowestX(), 0.5);
    EXPECT_EQ(t.HighestZ(), 2.5);
    const int x2 = b.Chart.BottomAxis().CalcXPosValue(2);
    EXPECT_EQ(bitmap->PixelRGB(x2, b.Chart.LeftAxis().CalcYPosValue(3)), t.PointColor(NodeIndex(2, 1, 3)))
        << "a tower rises from the lowest Y";

    // An origin above a point: the tower hangs down from it to the point.
    t.SetUseOrigin(true);
    t.SetOrigin(10);
    const auto down = b.Render();
    const auto box = t.TowerBox(NodeIndex(1, 1, 3));
    EXPECT_LT(box.Rect.Top, box.Rect.Bottom);
    EXPECT_EQ(box.Rect.Top, b.Chart.LeftAxis().CalcYPosValue(10));
    const int x1 = b.Chart.BottomAxis().CalcXPosValue(1);
    EXPECT_EQ(down->PixelRGB(x1, b.Chart.LeftAxis().CalcYPosValue(6)), t.PointColor(NodeIndex(1, 1, 3)));
    EXPECT_NE(down->PixelRGB(x1, b.Chart.LeftAxis().CalcYPosValue(1)), t.PointColor(NodeIndex(1, 1, 3)));

    // Only cover plates answer clicks.
    b.Go3D();
    t.SetUseOrigin(false);
    for (TTowerStyle style : {tsCube, tsRectangle, tsCover, tsCylinder, tsArrow, tsCone, tsPyramid, tsSlantCube}) {
        t.SetTowerStyle(style);
        (void)b.Render();
        const TPoint top = b.Screen(3, 6, 1);
        EXPECT_EQ(t.PointAtPixel(top.x, top.y), style == tsCover ? NodeIndex(3, 1, 3) : -1) << std::string(TowerStyleNames.NameOf(style));
    }
}

TEST(TowerSeries, EveryStyleDrawsInTheTowerColour)
{
    for (TTowerStyle style : {tsCube, tsRectangle, tsCylinder, tsArrow, tsCone, tsPyramid, tsSlantCube}) {
        SCOPED_TRACE(std::string(TowerStyleNames.NameOf(style)));
        TSurfaceBench b;
        b.Go3D();
        b.FixAxes(0, 2, 0, 10);
        auto& t = Grid<TTowerSeries>(b, 1, 1, [](int, int) { return 8.0; });
        t.Pen().SetVisible(false);
        t.SetDark3D(false);
        t.SetUseOrigin(true);
        t.SetTowerStyle(style);
        const auto bitmap = b.Render();
        // Half-way up the tower, in the middle of its depth.
        const TPoint p = b.Screen(1, 4, 1);
        EXPECT_EQ(bitmap->PixelRGB(p.x, p.y), NodeColour(1, 1));
    }
}
