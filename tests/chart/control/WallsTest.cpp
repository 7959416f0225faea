// Walls on a real chart on the offscreen platform, probed at pixels after event-loop turns (2-D plot
// background, the 3-D walls inside their projected planes, boxes, the right wall, charts without series
// or without axes); and the chart's answers about colours, wall sizes and the room for 3-D, as tables;
// copying the palette index; the stream's "BackColor".
#include "ChartTestSupport.h"

#include "platform/controls/Application.h"
#include "platform/rtl/PropertyStream.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SystemColors.h"

#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// A chart shown in a window, painted by the event loop; its back buffer is read at pixels.
struct TShownChart {
    QWidget Window;
    TChart Chart{nullptr};

    TShownChart()
    {
        Window.resize(400, 300);
        Chart.SetParentWidget(&Window);
        Chart.SetBounds(0, 0, 400, 300);
        // The walls alone: no axes, no gradients, a flat panel face.
        Chart.SetAxisVisible(false);
        Chart.SetBevelOuter(bvNone);
        Window.show();
    }
    void Paint()
    {
        Chart.Invalidate();
        for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    }
    TColor Pixel(TPoint P) { return Chart.Canvas().GetPixel(P.x, P.y); }
    TColor PanelColor() const { return ColorToRGB(Chart.Color()); }
    // A point of the plot at a depth, on the screen.
    TPoint Project(int X, int Y, int Z) { return Chart.ChartCanvas().ProjectXYZ(X, Y, Z); }
    int MidY() const { return (Chart.ChartRect().Top + Chart.ChartRect().Bottom) / 2; }
};

} // namespace

TEST(ChartWalls, TwoDimensionalPlotBackground)
{
    TShownChart sc;
    TChart& chart = sc.Chart;
    chart.SetView3D(false);
    chart.BackWall().SetTransparent(false);
    chart.BackWall().SetColor(clYellow);
    AddSeries(chart, {1, 2}).SetActive(false);
    sc.Paint();
    ASSERT_FALSE(chart.PaintPending());
    const TRect r = chart.ChartRect();
    const TPoint inside{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    EXPECT_EQ(sc.Pixel(inside), clYellow) << "an opaque back wall fills the plot";
    EXPECT_EQ(sc.Pixel({r.Left, inside.y}), clBlack) << "framed by its pen";
    EXPECT_EQ(chart.GetBackColor(), clYellow);

    chart.SetView3DWalls(false);
    sc.Paint();
    EXPECT_EQ(sc.Pixel(inside), sc.PanelColor()) << "walls off: no back wall at all";
    EXPECT_EQ(sc.Pixel({r.Left, inside.y}), sc.PanelColor());

    chart.SetView3DWalls(true);
    chart.BackWall().SetTransparent(true);
    sc.Paint();
    EXPECT_EQ(sc.Pixel(inside), sc.PanelColor()) << "a transparent back wall only frames the plot";
    EXPECT_EQ(chart.GetBackColor(), chart.Color());
}

TEST(ChartWalls, ThreeDimensionalWallsInTheirPlanes)
{
    TShownChart sc;
    TChart& chart = sc.Chart;
    chart.SetChart3DPercent(100);
    chart.RightWall().SetColor(clRed);
    ASSERT_TRUE(chart.View3D());
    ASSERT_TRUE(chart.View3DOptions().Orthogonal());
    sc.Paint();
    const TRect r = chart.ChartRect();
    const int depth = chart.Width3D(), y = sc.MidY();
    ASSERT_GT(depth, 10);
    const TPoint onLeft = sc.Project(r.Left, y, depth / 2);
    const TPoint onBottom = sc.Project((r.Left + r.Right) / 2, r.Bottom, depth / 2);
    const TPoint onRight = sc.Project(r.Right, y, depth / 2);
    const TPoint besideLeft = sc.Project(r.Left - 2, y, 0);
    EXPECT_EQ(sc.Pixel(onLeft), static_cast<TColor>(0x0080FFFF)) << "the left wall";
    EXPECT_EQ(sc.Pixel(onBottom), clWhite) << "the bottom wall";
    EXPECT_EQ(sc.Pixel(onRight), sc.PanelColor()) << "no right wall while it is hidden";
    EXPECT_EQ(sc.Pixel(besideLeft), sc.PanelColor()) << "a flat left wall has no thickness";
    EXPECT_TRUE(chart.RightWallInFront());
    EXPECT_FALSE(chart.LeftWallInFront());

    chart.RightWall().SetVisible(true);
    chart.LeftWall().SetSize(3);
    sc.Paint();
    const TRect r2 = chart.ChartRect();
    const int depth2 = chart.Width3D(), y2 = sc.MidY();
    EXPECT_EQ(sc.Pixel(sc.Project(r2.Right, y2, depth2 / 2)), clRed) << "the right wall on the right";
    EXPECT_EQ(sc.Pixel(sc.Project(r2.Left - 2, y2, 0)), static_cast<TColor>(0x0080FFFF))
        << "a wall of size 3 is a box: its front face lies left of the plot";
    EXPECT_EQ(chart.WallSizeForAxis(chart.LeftAxis()), 3);
}

namespace {

// Whether a polygon with these four corners (in any order) was drawn.
bool QuadDrawn(const TRecordedChart& Rc, std::vector<TPoint> Corners)
{
    const auto key = [](TPoint p) { return std::pair{p.x, p.y}; };
    std::sort(Corners.begin(), Corners.end(), [&](TPoint a, TPoint b) { return key(a) < key(b); });
    for (const auto* r : Rc.Recorder->OfKind("Polygon")) {
        std::vector<TPoint> points = r->Points;
        std::sort(points.begin(), points.end(), [&](TPoint a, TPoint b) { return key(a) < key(b); });
        if (points == Corners) return true;
    }
    return false;
}

} // namespace

TEST(ChartWalls, FlatRightWallReachesOnePixelBehindTheBackWall)
{
    TRecordedChart rc;
    TProbeChart& chart = rc.Chart;
    chart.SetView3D(true);
    chart.SetChart3DPercent(40);
    chart.Legend().SetVisible(false);
    chart.RightWall().SetVisible(true);
    chart.RightWall().SetTransparent(false);
    AddSeries(chart, {1, 3, 2});
    rc.Draw();
    const TRect r = chart.ChartRect();
    const int depth = chart.Width3D();
    TCanvas3D& c = chart.ChartCanvas();
    ASSERT_NE(c.ProjectXYZ(r.Right, r.Top, depth + 1), c.ProjectXYZ(r.Right, r.Top, depth))
        << "one pixel of depth shows";
    EXPECT_TRUE(QuadDrawn(rc, {c.ProjectXYZ(r.Right, r.Top, 0), c.ProjectXYZ(r.Right, r.Top, depth + 1),
                               c.ProjectXYZ(r.Right, r.Bottom, depth + 1), c.ProjectXYZ(r.Right, r.Bottom, 0)}));
}

TEST(ChartWalls, BottomWallReachesUnderAnAutoHiddenLeftWallThatFacesTheViewer)
{
    // With the depth drawn up and to the left the left side faces the viewer; an AutoHide left wall is
    // then left out, and the bottom wall takes its place.
    struct Case {
        const char* Name;
        int OrthoAngle;
        bool AutoHide;
        bool ReachesUnder;
    };
    const Case cases[] = {{"left side in front, AutoHide", 135, true, true},
                          {"left side in front, drawn", 135, false, false},
                          {"left side behind, AutoHide", 45, true, false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Name);
        TRecordedChart rc;
        TProbeChart& chart = rc.Chart;
        chart.SetView3D(true);
        chart.SetChart3DPercent(40);
        chart.View3DOptions().SetOrthoAngle(k.OrthoAngle);
        chart.Legend().SetVisible(false);
        chart.LeftWall().SetSize(6);
        chart.LeftWall().SetAutoHide(k.AutoHide);
        chart.BottomWall().SetTransparent(false);
        AddSeries(chart, {1, 3, 2});
        rc.Draw();
        EXPECT_EQ(chart.LeftWallInFront(), k.OrthoAngle > 90);
        const TRect r = chart.ChartRect();
        const int depth = chart.Width3D();
        const int x0 = k.ReachesUnder ? r.Left - 6 : r.Left;
        TCanvas3D& c = chart.ChartCanvas();
        EXPECT_TRUE(QuadDrawn(rc, {c.ProjectXYZ(x0, r.Bottom, 0), c.ProjectXYZ(x0, r.Bottom, depth),
                                   c.ProjectXYZ(r.Right, r.Bottom, depth), c.ProjectXYZ(r.Right, r.Bottom, 0)}));
    }
}

TEST(ChartWalls, WithoutSeriesOrWithoutAxes)
{
    // A chart without series paints its walls.
    TShownChart empty;
    empty.Chart.SetChart3DPercent(100);
    empty.Paint();
    const TRect r = empty.Chart.ChartRect();
    EXPECT_TRUE(empty.Chart.WallsRelevant());
    EXPECT_EQ(empty.Pixel(empty.Project(r.Left, empty.MidY(), empty.Chart.Width3D() / 2)),
              static_cast<TColor>(0x0080FFFF));

    // Only a series that uses no axes: no walls anywhere.
    TShownChart pie;
    pie.Chart.SetChart3DPercent(100);
    AddSeries<TNoAxesTestSeries>(pie.Chart, {1, 2, 3});
    AddSeries(pie.Chart, {4, 5}).SetActive(false);
    pie.Paint();
    EXPECT_FALSE(pie.Chart.WallsRelevant());
    const TRect p = pie.Chart.ChartRect();
    const int depth = pie.Chart.Width3D(), y = pie.MidY();
    EXPECT_EQ(pie.Pixel(pie.Project(p.Left, y, depth / 2)), pie.PanelColor());
    EXPECT_EQ(pie.Pixel(pie.Project((p.Left + p.Right) / 2, p.Bottom, depth / 2)), pie.PanelColor());
}

TEST(ChartWalls, BackColorAndFreeColors)
{
    TChart chart(nullptr);
    auto& a = AddSeries(chart, {1});
    auto& b = AddSeries(chart, {1});
    a.SetSeriesColor(clRed);
    b.SetSeriesColor(clBlue);
    chart.SetColor(clTeal);
    chart.BackWall().SetColor(clOlive);
    struct Case {
        TColor Color;
        bool CheckBack;
        const TChartSeries* Skip;
        bool Free;
    };
    const Case cases[] = {
        {clRed, false, nullptr, false}, {clRed, false, &a, true},     {clBlue, true, &a, false},
        {clTeal, false, nullptr, true}, {clTeal, true, nullptr, false}, {clOlive, true, nullptr, false},
        {clOlive, false, nullptr, true}, {clLime, true, nullptr, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chart.IsColorFree(c.Color, c.CheckBack, c.Skip), c.Free)
            << std::hex << c.Color << (c.CheckBack ? " checking back colours" : "");

    EXPECT_EQ(chart.GetBackColor(), clTeal) << "the back wall is transparent by default";
    chart.BackWall().SetTransparent(false);
    EXPECT_EQ(chart.GetBackColor(), clOlive);
}

TEST(ChartWalls, WallSizeForAxis)
{
    TChart chart(nullptr);
    chart.LeftWall().SetSize(1);
    chart.BottomWall().SetSize(2);
    chart.RightWall().SetSize(3);
    chart.BackWall().SetSize(4);
    struct Case {
        bool View3D, Walls;
        TChartAxis* Axis;
        int Size;
    };
    const Case cases[] = {
        {true, true, &chart.LeftAxis(), 1},   {true, true, &chart.BottomAxis(), 2},
        {true, true, &chart.RightAxis(), 0}, // the right wall is hidden
        {true, true, &chart.TopAxis(), 4},    {true, true, &chart.DepthAxis(), 4},
        {false, true, &chart.LeftAxis(), 0},  {true, false, &chart.BottomAxis(), 0},
    };
    for (const Case& c : cases) {
        chart.SetView3D(c.View3D);
        chart.SetView3DWalls(c.Walls);
        EXPECT_EQ(chart.WallSizeForAxis(*c.Axis), c.Size) << c.Size;
    }
    chart.SetView3D(true);
    chart.SetView3DWalls(true);
    chart.RightWall().SetVisible(true);
    EXPECT_EQ(chart.WallSizeForAxis(chart.RightAxis()), 3);
    chart.LeftWall().SetVisible(false);
    EXPECT_EQ(chart.WallSizeForAxis(chart.LeftAxis()), 0);
}

TEST(ChartWalls, FitChartRectTo3D)
{
    struct Case {
        const char* Name;
        bool View3D, Orthogonal;
        int OrthoAngle, BackSize;
        bool AxesSeries;
        bool RightVisible, LeftVisible;
        int SideSize;
    };
    const Case cases[] = {
        {"2-D", false, true, 45, 5, true, false, true, 0},
        {"rotated", true, false, 45, 5, true, false, true, 0},
        {"ortho 45", true, true, 45, 0, true, false, true, 0},
        {"ortho 45, back wall 5", true, true, 45, 5, true, false, true, 0},
        {"ortho 90, right wall 3", true, true, 90, 5, true, true, true, 3},
        {"ortho 135, left wall 4", true, true, 135, 5, true, false, true, 4},
        {"ortho 135, no left wall", true, true, 135, 5, true, false, false, 4},
        {"ortho 45, no axes", true, true, 45, 5, false, false, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TChart chart(nullptr);
        chart.SetView3D(c.View3D);
        chart.View3DOptions().SetOrthogonal(c.Orthogonal);
        chart.View3DOptions().SetOrthoAngle(c.OrthoAngle);
        chart.BackWall().SetSize(c.BackSize);
        chart.RightWall().SetVisible(c.RightVisible);
        chart.RightWall().SetSize(c.SideSize);
        chart.LeftWall().SetVisible(c.LeftVisible);
        chart.LeftWall().SetSize(c.SideSize);
        if (c.AxesSeries)
            AddSeries(chart, {1, 2});
        else
            AddSeries<TNoAxesTestSeries>(chart, {1, 2});
        const TRect before{40, 30, 440, 330};
        chart.SetChartRect(before);
        chart.RecalcChartRect();
        chart.FitChartRectTo3D();
        const TRect after = chart.ChartRect();
        const int w = std::abs(chart.Width3D()), h = std::abs(chart.Height3D());
        if (!c.View3D) {
            EXPECT_EQ(w, 0);
        }
        TRect expected = before;
        if (c.View3D && c.Orthogonal) {
            const int s = c.AxesSeries ? c.BackSize : 0;
            if (c.OrthoAngle > 90)
                expected.Left += w + s + (c.LeftVisible ? c.SideSize + 1 : 0);
            else
                expected.Right -= w + s + (c.RightVisible ? c.SideSize + 1 : 0);
            expected.Top += h + s;
        }
        EXPECT_EQ(after, expected);
        EXPECT_EQ(chart.ChartWidth(), after.Right - after.Left) << "the extents follow";
    }
}

TEST(ChartWalls, AssignCopiesThePaletteIndexWithoutRecolouring)
{
    TChart source(nullptr);
    ApplyColorPalette(source, 4);
    source.BackWall().SetSize(7);
    source.Legend().SetAlignment(laTop);
    TChart target(nullptr);
    auto& s = AddSeries(target, {1, 2});
    const TColor before = s.SeriesColor();
    target.Assign(source);
    EXPECT_EQ(target.ColorPaletteIndex(), 4);
    EXPECT_EQ(s.SeriesColor(), before) << "the palette is not applied again";
    EXPECT_EQ(target.BackWall().Size(), 7);
    EXPECT_EQ(target.Legend().Alignment(), laTop);
}

TEST(ChartWalls, StreamBackColorColoursTheBackWall)
{
    const TDefinedProperty* d = TChart::StaticClassInfo().FindDefinedProperty("BackColor");
    ASSERT_NE(d, nullptr);
    // An identifier, through the colour-name lookup, or an integer.
    TChart byName(nullptr);
    byName.BackWall().Brush().SetStyle(bsCross);
    d->ReadValue(byName, std::string("clRed"));
    EXPECT_EQ(byName.BackWall().Color(), clRed);
    EXPECT_EQ(byName.BackWall().Brush().Style(), bsCross) << "without a parent window the brush stays";
    TChart byNumber(nullptr);
    d->ReadValue(byNumber, std::int64_t{0x8000});
    EXPECT_EQ(byNumber.BackWall().Color(), static_cast<TColor>(0x8000));

    // The same from a property list with an integer, on a chart with a parent window: the brush becomes
    // solid.
    QWidget window;
    TChart shown(nullptr);
    shown.SetParentWidget(&window);
    shown.BackWall().Brush().SetStyle(bsCross);
    TMemoryStream stream;
    std::string bytes{char(vaList), char(9)};
    bytes += "BackColor";
    bytes += std::string{char(vaInt32), char(0x00), char(0x00), char(0xFF), char(0x00)};
    bytes += char(0);
    stream.WriteBytes(bytes);
    stream.SetPosition(0);
    ReadPropertyList(stream, shown);
    EXPECT_EQ(shown.BackWall().Color(), clBlue);
    EXPECT_EQ(shown.BackWall().Brush().Style(), bsSolid);
    EXPECT_FALSE(d->IsWritten(shown)) << "it is only read";
}

TEST(ChartWalls, StreamColorPaletteIndex)
{
    const TDefinedProperty* d = TChart::StaticClassInfo().FindDefinedProperty("ColorPaletteIndex");
    ASSERT_NE(d, nullptr);
    TChart chart(nullptr);
    EXPECT_FALSE(d->IsWritten(chart)) << "written only above 0";
    auto& s = AddSeries(chart, {1});
    d->ReadValue(chart, std::int64_t{5});
    EXPECT_EQ(chart.ColorPaletteIndex(), 5);
    EXPECT_EQ(s.SeriesColor(), ColorPaletteColors(5)[0]) << "reading applies the palette";
    EXPECT_TRUE(d->IsWritten(chart));
    EXPECT_EQ(d->WriteValue(chart), TPropValue{std::int64_t{5}});
}

TEST(ChartWalls, BackWallGradientTranslucencyAndInsideImage)
{
    auto plotPixel = [](TChart& chart, const auto& bitmap, double fx, double fy) {
        const TRect r = chart.ChartRect();
        return bitmap->PixelRGB(r.Left + static_cast<int>((r.Right - r.Left) * fx),
                                r.Top + static_cast<int>((r.Bottom - r.Top) * fy));
    };
    auto makeChart = [](TChart& chart) {
        chart.SetBounds(0, 0, 300, 200);
        chart.SetView3D(false);
        chart.SetAxisVisible(false);
        chart.SetBevelOuter(bvNone);
        chart.BackWall().SetTransparent(false);
    };

    // Half translucent blue over the silver panel: each channel half-way.
    TChart translucent(nullptr);
    makeChart(translucent);
    translucent.SetColor(clSilver);
    translucent.BackWall().SetColor(clBlue);
    translucent.BackWall().SetTransparency(50);
    const auto t = RenderChart(translucent);
    const TColor mixed = plotPixel(translucent, t, 0.5, 0.5);
    EXPECT_NEAR(GetRValue(mixed), 0xC0 / 2, 2);
    EXPECT_NEAR(GetBValue(mixed), (0xFF + 0xC0) / 2, 2);

    // A visible gradient fills the plot, white and yellow at its ends, instead of the wall's colour.
    TChart graded(nullptr);
    makeChart(graded);
    graded.BackWall().Gradient().SetVisible(true);
    const auto g = RenderChart(graded);
    const TColor top = plotPixel(graded, g, 0.5, 0.05), bottom = plotPixel(graded, g, 0.5, 0.95);
    EXPECT_GT(std::abs(int(GetBValue(top)) - int(GetBValue(bottom))), 150);
    EXPECT_EQ(GetRValue(top), 0xFF);
    EXPECT_EQ(GetGValue(bottom), 0xFF);

    // The panel's back image inside the back wall.
    TChart pictured(nullptr);
    makeChart(pictured);
    TBitmap red(4, 4);
    red.Canvas().Brush().SetColor(clRed);
    red.Canvas().FillRect({0, 0, 4, 4});
    pictured.BackImage().SetGraphic(&red);
    pictured.SetBackImageInside(true);
    const auto p = RenderChart(pictured);
    EXPECT_EQ(plotPixel(pictured, p, 0.5, 0.5), clRed);
    EXPECT_EQ(p->PixelRGB(2, 2), ColorToRGB(pictured.Color())) << "the panel outside the plot keeps its face";
}
