// The shape series: its drawing on a real chart probed at the pixels its rules fix (the default circle,
// coincident corners, the line from point 0 to point 1, the text colour on an equal brush, pixel text in
// 3-D), the click test per style, the corners' range errors, gallery styles, samples, copying, stored
// rules and degenerate points.
#include "chart/extras/LumShape.h"

#include "ExtrasTestSupport.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Axes 0..100 both ways: x = 40 + 4 v, y = 320 - 3 v.
struct TShapeChart : TRenderChart {
    TChartShape& Shape;
    TShapeChart() : TRenderChart(0, 100, 0, 100), Shape(Add<TChartShape>())
    {
        Shape.Pen().SetColor(clBlue);
        Shape.SetSeriesColor(clRed);
    }
    void Corners(double X0, double Y0, double X1, double Y1)
    {
        Shape.SetX0(X0);
        Shape.SetY0(Y0);
        Shape.SetX1(X1);
        Shape.SetY1(Y1);
    }
};

} // namespace

TEST(ShapeSeries, NewShapeIsTheCircleBetweenItsDefaultPoints)
{
    TShapeChart c;
    EXPECT_EQ(c.Shape.PointCount(), 2);
    EXPECT_EQ(c.Shape.Style(), chasCircle);
    EXPECT_EQ(c.Shape.Brush().Color(), clRed) << "the brush follows the series colour";
    const auto b = c.Render();
    KeepShot(*b, "shape-circle");
    // The ellipse in the box (40, 20)-(440, 320): filled at the centre, outlined at its four extremes,
    // the box's corners left alone.
    EXPECT_EQ(b->PixelRGB(240, 170), clRed);
    // (The chart's frame covers the outline on the box's left and top edge: the fill reaches them.)
    EXPECT_EQ(b->PixelRGB(42, 170), clRed);
    EXPECT_EQ(b->PixelRGB(240, 22), clRed);
    EXPECT_TRUE(AnyNear(*b, 438, 170, clBlue, 2));
    EXPECT_TRUE(AnyNear(*b, 240, 318, clBlue, 2));
    EXPECT_EQ(b->PixelRGB(50, 30), c.Back());
    EXPECT_EQ(b->PixelRGB(430, 310), c.Back());
}

TEST(ShapeSeries, CoincidentCornersDrawOnePixel)
{
    TShapeChart c;
    c.Shape.SetStyle(chasVertLine);
    c.Shape.SetX1(50);
    c.Shape.SetY1(50);
    c.Shape.SetX0(50);
    c.Shape.SetY0(50);
    const auto b = c.Render();
    EXPECT_EQ(b->PixelRGB(240, 170), clBlue);
    EXPECT_EQ(CountColor(*b, {230, 160, 250, 180}, clBlue), 1);
}

TEST(ShapeSeries, LineRunsFromPointZeroToPointOne)
{
    struct Case {
        double x0, y0, x1, y1;
        TPoint on, off;
    };
    // (25, 75) is (140, 95); (25, 25) is (140, 245).
    for (const Case k : {Case{100, 0, 0, 100, {140, 95}, {140, 245}}, Case{0, 0, 100, 100, {140, 245}, {140, 95}}}) {
        TShapeChart c;
        c.Shape.SetStyle(chasLine);
        c.Corners(k.x0, k.y0, k.x1, k.y1);
        const auto b = c.Render();
        EXPECT_TRUE(AnyNear(*b, k.on.x, k.on.y, clBlue)) << k.x0;
        EXPECT_FALSE(AnyNear(*b, k.off.x, k.off.y, clBlue, 3)) << k.x0;
    }
}

TEST(ShapeSeries, TextColourSwapsOnAnEqualBrush)
{
    struct Case {
        TColor brush, font, drawn;
    };
    for (const Case k : {Case{clWhite, clWhite, clBlack}, Case{clBlack, clBlack, clWhite}, Case{clRed, clBlack, clBlack}}) {
        TShapeChart c;
        c.Shape.SetStyle(chasRectangle);
        c.Shape.SetSeriesColor(k.brush);
        c.Shape.Font().SetColor(k.font);
        c.Shape.Font().SetSize(20);
        c.Shape.Text().Add("MMMM");
        const auto b = c.Render();
        KeepShot(*b, "shape-text");
        EXPECT_GT(CountColor(*b, {140, 140, 340, 200}, k.drawn), 20) << k.brush;
    }
}

TEST(ShapeSeries, PixelShapeTakesNoDepthAndWritesItsTextFlat)
{
    TShapeChart c;
    c.Chart.SetView3D(true);
    c.Shape.SetXYStyle(xysPixels);
    c.Shape.SetStyle(chasRectangle);
    c.Corners(100, 100, 300, 200);
    c.Shape.Font().SetColor(clGreen);
    c.Shape.Font().SetSize(16);
    c.Shape.Text().Add("WWW");
    EXPECT_FALSE(c.Shape.UsesAxes());
    const auto b = c.Render();
    KeepShot(*b, "shape-pixels-3d");
    EXPECT_EQ(c.Chart.MaxZOrder(), -1) << "no series took a depth slot";
    // The rectangle's edge at its pixels, and the text inside the same pixel box.
    EXPECT_EQ(b->PixelRGB(100, 150), clBlue);
    EXPECT_EQ(b->PixelRGB(300, 150), clBlue);
    EXPECT_GT(CountColor(*b, {100, 100, 301, 201}, clGreen), 20);
}

TEST(ShapeSeries, ThreeDStylesDrawAtTheSeriesDepth)
{
    for (const TChartShapeStyle s : {chasCube, chasPyramid, chasInvertPyramid, chasCircle, chasStar, chasDiamond}) {
        TShapeChart c;
        c.Chart.SetView3D(true);
        c.Shape.SetStyle(s);
        c.Corners(20, 20, 80, 80);
        const auto b = c.Render();
        KeepShot(*b, "shape-3d-" + std::to_string(int(s)));
        EXPECT_GT(CountColor(*b, {0, 0, 480, 340}, clBlue), 50) << s;
    }
}

TEST(ShapeSeries, ClickTestPerStyle)
{
    struct Case {
        TChartShapeStyle style;
        TPoint pixel;
        int expected;
    };
    // The shape (25, 25)-(75, 75) is the pixel box (140, 245)-(340, 95): centre (240, 170).
    const Case cases[] = {
        {chasVertLine, {240, 170}, 0},  {chasVertLine, {241, 170}, -1}, {chasVertLine, {239, 120}, -1},
        {chasVertLine, {240, 96}, 0},   {chasHorizLine, {150, 170}, 0}, {chasHorizLine, {150, 171}, -1},
        {chasDiamond, {240, 170}, 0},   {chasDiamond, {150, 110}, -1},  {chasDiamond, {330, 168}, 0},
        {chasCircle, {240, 170}, 0},    {chasCircle, {145, 100}, -1},   {chasCircle, {141, 170}, 0},
        {chasTriangle, {240, 120}, 0},  {chasTriangle, {150, 110}, -1}, {chasInvertTriangle, {150, 240}, -1},
        {chasInvertTriangle, {240, 220}, 0}, {chasLine, {190, 207}, 0}, {chasLine, {190, 133}, -1},
        {chasRectangle, {140, 95}, 0},  {chasRectangle, {340, 245}, 0}, {chasRectangle, {341, 245}, -1},
    };
    for (const Case& k : cases) {
        TShapeChart c;
        c.Shape.SetStyle(k.style);
        c.Corners(25, 25, 75, 75);
        c.Render();
        EXPECT_EQ(c.Shape.PointAtPixel(k.pixel.x, k.pixel.y), k.expected)
            << k.style << " at " << k.pixel.x << "," << k.pixel.y;
    }
}

TEST(ShapeSeries, CornersNeedTheirPoints)
{
    TChartShape s(nullptr);
    s.DeletePoint(1);
    EXPECT_EQ(s.X0(), 0.0);
    EXPECT_THROW(s.X1(), ERangeError);
    EXPECT_THROW(s.SetY1(5), ERangeError);
    EXPECT_EQ(s.PointCount(), 1);
    s.SetY0(7);
    EXPECT_EQ(s.YValueAt(0), 7.0);
    EXPECT_TRUE(s.ForceStoreData()) << "the corner goes with the chart's data";
}

TEST(ShapeSeries, PixelCornersBeyondTheIntRangeAreClamped)
{
    TShapeChart c;
    c.Shape.SetXYStyle(xysPixels);
    c.Shape.SetStyle(chasRectangle);
    c.Corners(-1e12, 50, 1e300, std::numeric_limits<double>::quiet_NaN());
    const TRect r = c.Shape.ShapeBounds();
    EXPECT_EQ(r.Left, std::numeric_limits<int>::min());
    EXPECT_EQ(r.Right, std::numeric_limits<int>::max());
    EXPECT_EQ(r.Bottom, 0);
    EXPECT_NO_THROW(c.Render());
}

TEST(ShapeSeries, OnlyExactlyTwoPointsDrawAndOnlyOnce)
{
    for (int extra : {-2, -1, 1}) {
        TShapeChart c;
        if (extra > 0) c.Shape.InsertPoint(50, 50);
        for (int i = 0; i < -extra; ++i) c.Shape.DeletePoint(0);
        const auto b = c.Render();
        EXPECT_EQ(CountColor(*b, {0, 0, 480, 340}, clRed), 0) << extra;
        // The click test still answers on points 0 and 1 (with three, (0, 0) and (50, 50)).
        if (extra == 1) {
            EXPECT_EQ(c.Shape.PointAtPixel(140, 245), 0);
        }
    }
    TShapeChart nan;
    nan.Shape.SetX1(std::numeric_limits<double>::quiet_NaN());
    EXPECT_NO_THROW(nan.Render());
    EXPECT_NO_THROW(nan.Shape.PointAtPixel(240, 170));
}

TEST(ShapeSeries, GalleryStylesAndSamples)
{
    TChartShape s(nullptr);
    EXPECT_EQ(GalleryStyles(s), (std::vector<std::string>{"Normal", "Rectangle", "Vert.Line", "Horiz.Line", "Ellipse",
                                                          "Down Tri.", "Line", "Diamond", "Cube", "Cross", "Diag.Cross",
                                                          "Star", "Pyramid", "Inv. Pyramid", "Hollow"}));
    const TChartShapeStyle expected[] = {chasRectangle, chasVertLine, chasHorizLine, chasCircle, chasInvertTriangle,
                                         chasLine,      chasDiamond,  chasCube,      chasCross,  chasDiagCross,
                                         chasStar,      chasPyramid,  chasInvertPyramid};
    for (int i = 1; i <= 13; ++i) {
        s.ApplyGalleryStyle(&s, i);
        EXPECT_EQ(s.Style(), expected[i - 1]) << i;
    }
    s.ApplyGalleryStyle(&s, 14);
    EXPECT_TRUE(s.Transparent());
    s.ApplyGalleryStyle(&s, 14);
    EXPECT_FALSE(s.Transparent()) << "applied twice it is back";
    s.ApplyGalleryStyle(&s, 15);
    EXPECT_EQ(s.Style(), chasInvertPyramid);

    // Without a chart the bounds have no X step: the default points.
    s.FillSampleValues(7);
    ASSERT_EQ(s.PointCount(), 2);
    EXPECT_EQ(s.X0(), 0.0);
    EXPECT_EQ(s.Y1(), 100.0);
}

TEST(ShapeSeries, GalleryMiniatureOfFirstAndSecondSeries)
{
    TRenderChart c;
    auto& first = c.Add<TChartShape>();
    auto& second = c.Add<TChartShape>();
    first.PrepareForGallery(true);
    second.PrepareForGallery(false);
    EXPECT_EQ(first.Style(), chasTriangle);
    EXPECT_EQ(first.Brush().Color(), clRed);
    EXPECT_EQ(first.Text().Text(), "123\n");
    EXPECT_EQ(first.Font().Color(), TColor(0x0000FFFF));
    EXPECT_EQ(second.Style(), chasCircle);
    EXPECT_EQ(second.Brush().Color(), TColor(0xC0C0C0));
    EXPECT_EQ(second.Text().Text(), "abc\n");
    EXPECT_EQ(second.Font().Size(), 12);
}

TEST(ShapeSeries, AssignCopiesTheShapeSettings)
{
    TChartShape a(nullptr), b(nullptr);
    a.SetStyle(chasStar);
    a.SetXYStyle(xysAxisOrigin);
    a.SetAlignment(taRightJustify);
    a.SetVertAlign(vaBottom);
    a.SetTransparent(true);
    a.SetRoundRectangle(true);
    a.Text().Add("x");
    a.Gradient().SetVisible(true);
    a.Font().SetSize(17);
    b.Assign(a);
    EXPECT_EQ(b.Style(), chasStar);
    EXPECT_EQ(b.XYStyle(), xysAxisOrigin);
    EXPECT_EQ(b.Alignment(), taRightJustify);
    EXPECT_EQ(b.VertAlign(), vaBottom);
    EXPECT_TRUE(b.Transparent());
    EXPECT_TRUE(b.RoundRectangle());
    EXPECT_EQ(b.Text().Count(), 1);
    EXPECT_TRUE(b.Gradient().Visible());
    EXPECT_EQ(b.Font().Size(), 17);
    EXPECT_TRUE(b.AcceptsSource(&a));
    TChartSeries other(nullptr);
    EXPECT_FALSE(b.AcceptsSource(&other));
}

TEST(ShapeSeries, StoredRules)
{
    TChartShape s(nullptr);
    for (const char* p : {"Style", "XYStyle", "Alignment", "VertAlign", "Transparent", "RoundRectangle", "X0", "Y0",
                          "X1", "Y1", "SeriesColor"})
        EXPECT_FALSE(Stored(s, p)) << p;
    s.SetStyle(chasCube);
    s.SetXYStyle(xysPixels);
    s.SetVertAlign(vaTop);
    s.SetX1(3);
    s.SetSeriesColor(clRed);
    for (const char* p : {"Style", "XYStyle", "VertAlign", "X1", "SeriesColor"}) EXPECT_TRUE(Stored(s, p)) << p;
    EXPECT_EQ(s.EditorFormName(), "TChartShapeEditor");
}

TEST(ShapeSeries, AxisOriginTakesAPixelSize)
{
    TShapeChart c;
    c.Shape.SetXYStyle(xysAxisOrigin);
    c.Corners(50, 50, 30.9, -20);
    c.Render();
    EXPECT_EQ(c.Shape.ShapeBounds(), (TRect{240, 170, 270, 150}));
}
