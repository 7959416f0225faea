// Which point lies under a pixel, on fixed axes (x = 40 + 40 X, y = 320 - 30 Y): line, point and area
// series with their pointers, lines, areas and stairs, a 3-D line, the fast line, and the map's polygons.
#include "SeriesTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Points (0, 1), (1, 3), (2, 5), (3, 7), (4, 5), (5, 3): pixels (40, 290), (80, 230), (120, 170),
// (160, 110), (200, 170), (240, 230).
const std::vector<double> ClickValues{1, 3, 5, 7, 5, 3};

struct TClick {
    const char* name;
    int x, y;
    int expected;
};

template <class T>
void CheckClicks(const std::function<void(T&)>& setUp, std::initializer_list<TClick> clicks)
{
    TSeriesBench b;
    b.FixAxes(0, 10, 0, 10);
    T& s = b.Add<T>(ClickValues);
    if (setUp) setUp(s);
    b.Layout();
    for (const TClick& c : clicks) EXPECT_EQ(s.PointAtPixel(c.x, c.y), c.expected) << c.name;
}

} // namespace

TEST(SeriesClicks, LineWithHiddenPointer)
{
    CheckClicks<TLineSeries>(nullptr, {
                                          {"exactly on point 2", 120, 170, 2},
                                          {"half way between 3 and 4", 180, 140, 3},
                                          {"on the line nearer 4", 190, 155, 4},
                                          {"on the line nearer 3", 170, 125, 3},
                                          {"within a pixel of the line", 170, 126, 3},
                                          {"below the line", 180, 300, -1},
                                          {"beside a point", 124, 170, -1},
                                      });
}

TEST(SeriesClicks, PointersAreHitStrictlyInsideTheirBox)
{
    CheckClicks<TPointSeries>(nullptr, {
                                           {"centre", 120, 170, 2},
                                           {"3 right, 3 down", 123, 173, 2},
                                           {"3 left, 3 up", 117, 167, 2},
                                           {"4 right: the box's edge", 124, 170, -1},
                                           {"4 down", 120, 174, -1},
                                           {"a point series is never hit on its line", 180, 140, -1},
                                       });
    // A line series with a visible pointer reports the click to OnClickPointer.
    int clicked = -1, atX = 0;
    CheckClicks<TLineSeries>(
        [&](TLineSeries& s) {
            s.Pointer().SetVisible(true);
            s.OnClickPointer = [&](TCustomSeries*, int i, int x, int) {
                clicked = i;
                atX = x;
            };
        },
        {{"inside the box of point 4", 202, 168, 4}});
    EXPECT_EQ(clicked, 4);
    EXPECT_EQ(atX, 202);
}

TEST(SeriesClicks, AreaGivesTheLeftPointOfTheSegment)
{
    CheckClicks<TAreaSeries>(nullptr, {
                                          {"inside the area under segment 2-3", 140, 250, 2},
                                          {"on the line nearer 4", 190, 155, 3},
                                          {"inside under segment 4-5", 235, 310, 4},
                                          {"above the line", 180, 60, -1},
                                          {"exactly on point 5", 240, 230, 5},
                                      });
}

TEST(SeriesClicks, StairsLegs)
{
    // Normal stairs from point 3 (160, 110) to 4 (200, 170): along y 110 to x 200, then down x 200.
    CheckClicks<TLineSeries>([](TLineSeries& s) { s.SetStairs(true); },
                             {
                                 {"tread, nearer 3", 195, 110, 3},
                                 {"riser, nearer 4", 200, 160, 4},
                                 {"the slanted line is no leg", 180, 140, -1},
                                 {"riser of segment 2-3 where it meets 3, nearer 2", 160, 160, 2},
                                 {"between the legs", 180, 150, -1},
                             });
    // Inverted: down x 160 first, then along y 170.
    CheckClicks<TLineSeries>(
        [](TLineSeries& s) {
            s.SetStairs(true);
            s.SetInvertedStairs(true);
        },
        {
            {"riser near 3", 160, 115, 3},
            {"riser near the corner, nearer 4", 160, 165, 4},
            {"tread", 195, 170, 4},
            {"where the normal tread would be", 195, 110, -1},
        });
}

TEST(SeriesClicks, LineIn3DIsUnprojectedAtItsDepth)
{
    TSeriesBench b;
    b.FixAxes(0, 10, 0, 10);
    b.Chart.SetView3D(true);
    b.Chart.View3DOptions().SetOrthogonal(true);
    auto& s = b.Add<TLineSeries>(ClickValues);
    b.Layout();
    TCanvas3D& canvas = b.Chart.ChartCanvas();
    const int w = b.Chart.SeriesWidth3D(), h = b.Chart.SeriesHeight3D();
    ASSERT_GT(w, 0);
    // The middle of the ribbon between points 3 and 4, half way into the depth.
    const TPoint p = canvas.ProjectXYZ(180 + w / 2, 140 - h / 2, s.StartZ());
    EXPECT_EQ(s.PointAtPixel(p.x, p.y), 3);
    const TPoint above = canvas.ProjectXYZ(180, 60, s.StartZ());
    EXPECT_EQ(s.PointAtPixel(above.x, above.y), -1);
    const TPoint onPoint = canvas.ProjectXYZ(120, 170, s.StartZ());
    EXPECT_EQ(s.PointAtPixel(onPoint.x, onPoint.y), 2);
}

TEST(SeriesClicks, FastLineTestsTheExactPointBeforeItsSegment)
{
    CheckClicks<TFastLineSeries>(nullptr, {
                                              {"exactly on point 3", 160, 110, 3},
                                              {"on segment 2-3", 140, 140, 2},
                                              {"on segment 3-4", 180, 140, 3},
                                              {"exactly on point 0", 40, 290, 0},
                                              {"off the line", 140, 200, -1},
                                          });
    TSeriesBench b;
    auto& empty = b.Add<TFastLineSeries>();
    b.Layout();
    EXPECT_EQ(empty.PointAtPixel(40, 290), -1);
    TFastLineSeries alone(nullptr);
    alone.InsertPoint(0, 1);
    EXPECT_EQ(alone.PointAtPixel(0, 0), -1) << "never laid out: an empty visible range";
}

namespace {

// A polygon of the given corners (axis units) in the map.
TLumPolygon& AddPolygon(TMapSeries& map, std::initializer_list<std::pair<double, double>> corners)
{
    TLumPolygon& p = *map.Shapes().AddPolygon();
    for (const auto& [x, y] : corners) p.AddVertex(x, y);
    return p;
}

TLumPolygon& AddSquare(TMapSeries& map, double x0, double y0, double x1, double y1)
{
    return AddPolygon(map, {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

} // namespace

TEST(MapClicks, PolygonsFromLastToFirst)
{
    TSeriesBench b;
    b.FixAxes(0, 10, 0, 10);
    auto& map = b.Add<TMapSeries>();
    AddSquare(map, 1, 1, 3, 3);
    AddSquare(map, 2, 2, 4, 4);
    TLumPolygon& open = AddPolygon(map, {{6, 1}, {8, 1}, {8, 3}, {6, 3}});
    open.SetClosed(false);
    map.Shapes().AddPolygon(); // no vertices
    AddSquare(map, 12, 1, 13, 2); // beyond the right end of the axis
    b.Layout();
    const TClick clicks[] = {
        {"only the first", PixelX(1.5), PixelY(1.5), 0},
        {"where they overlap: the later one", PixelX(2.5), PixelY(2.5), 1},
        {"only the second", PixelX(3.5), PixelY(3.5), 1},
        {"an open polygon is closed for the test", PixelX(7), PixelY(2), 2},
        {"nothing there", PixelX(5), PixelY(8), -1},
        {"where the empty polygon's extent (0, 0) lies: never hit", PixelX(0), PixelY(0), -1},
        {"outside the axes with ClipPoints", PixelX(12.5), PixelY(1.5), -1},
    };
    for (const TClick& c : clicks) EXPECT_EQ(map.PointAtPixel(c.x, c.y), c.expected) << c.name;
    b.Chart.SetClipPoints(false);
    EXPECT_EQ(map.PointAtPixel(PixelX(12.5), PixelY(1.5)), 4) << "without ClipPoints it is hit";
    TMapSeries alone(nullptr);
    AddSquare(alone, 0, 0, 10, 10);
    EXPECT_EQ(alone.PointAtPixel(100, 100), -1) << "no chart";
}

TEST(MapClicks, ClipTestOnInvertedAxes)
{
    TSeriesBench b;
    b.FixAxes(0, 10, 0, 10);
    b.Chart.BottomAxis().SetInverted(true);
    b.Chart.LeftAxis().SetInverted(true);
    auto& map = b.Add<TMapSeries>();
    AddSquare(map, -3, 4, -2, 5); // left of the range: right of the chart on an inverted axis
    AddSquare(map, 4, 4, 5, 5);
    AddSquare(map, -1, -1, 11, 11); // its box spans the whole rectangle
    b.Layout();
    const int x = b.Chart.BottomAxis().CalcXPosValue(-2.5), y = b.Chart.LeftAxis().CalcYPosValue(4.5);
    ASSERT_GT(x, BenchChartRect.Right);
    EXPECT_FALSE(map.Shapes().GetPolygon(0)->IsInChartRect());
    EXPECT_TRUE(map.Shapes().GetPolygon(1)->IsInChartRect());
    EXPECT_TRUE(map.Shapes().GetPolygon(2)->IsInChartRect());
    EXPECT_EQ(map.PointAtPixel(x, y), -1);
    EXPECT_EQ(map.PointAtPixel(b.Chart.BottomAxis().CalcXPosValue(4.5), y), 2) << "the spanning one lies on top";
    b.Chart.SetClipPoints(false);
    EXPECT_EQ(map.PointAtPixel(x, y), 0);
}

TEST(MapClicks, In3DTheClickIsUnprojectedAtThePolygonsDepth)
{
    TSeriesBench b;
    b.FixAxes(0, 10, 0, 10);
    b.Chart.SetView3D(true);
    b.Chart.View3DOptions().SetOrthogonal(true);
    auto& map = b.Add<TMapSeries>();
    AddSquare(map, 1, 1, 3, 3).SetZ(0);
    AddSquare(map, 5, 1, 7, 3).SetZ(10);
    b.Layout();
    TCanvas3D& canvas = b.Chart.ChartCanvas();
    const int far = map.ZScreenPosition(1);
    ASSERT_GT(far, map.ZScreenPosition(0) + 10);
    const TPoint onFar = canvas.ProjectXYZ(PixelX(6), PixelY(2), far);
    EXPECT_EQ(map.PointAtPixel(onFar.x, onFar.y), 1);
    // The same screen point taken at depth 0 would miss the far polygon.
    const TPoint flat = canvas.ProjectXYZ(PixelX(6), PixelY(2), map.ZScreenPosition(0));
    EXPECT_NE(flat, onFar);
    const TPoint onNear = canvas.ProjectXYZ(PixelX(2), PixelY(2), map.ZScreenPosition(0));
    EXPECT_EQ(map.PointAtPixel(onNear.x, onNear.y), 0);
}
