// Offscreen renders probed at the pixels the drawing rules fix: null points, stairs, stacking, the model
// view's mask area (on a bitmap and in a metafile), the area gradient, a zoomed start at the chart edge,
// shadow and outline passes, dark 3-D faces, and map polygons (palette colours, explicit colours, the parent brush, one-vertex polygons,
// transparency, gradients, and the drawing order by Z in 3-D), and pointers of points beyond zoomed axes.
#include "SeriesTestSupport.h"

#include "platform/graphics/Metafile.h"
#include "platform/rtl/SystemColors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>

namespace {

// A bench with fixed axes 0..10 and no axis lines or grids drawn.
struct TRenderBench : TSeriesBench {
    TRenderBench()
    {
        FixAxes(0, 10, 0, 10);
        Chart.SetAxisVisible(false);
    }
    TColor Back() const { return ColorToRGB(Chart.Color()); }
};

// Whether a pixel of that colour lies within Radius of (X, Y).
bool AnyNear(const TBitmap& B, int X, int Y, TColor Color, int Radius = 1)
{
    for (int dy = -Radius; dy <= Radius; ++dy)
        for (int dx = -Radius; dx <= Radius; ++dx)
            if (B.PixelRGB(X + dx, Y + dy) == Color) return true;
    return false;
}

int Channel(TColor c, int k) { return static_cast<int>((static_cast<std::uint32_t>(c) >> (8 * k)) & 0xFF); }

bool Close(TColor a, TColor b, int tolerance)
{
    for (int k = 0; k < 3; ++k)
        if (std::abs(Channel(a, k) - Channel(b, k)) > tolerance) return false;
    return true;
}

} // namespace

TEST(LineRender, NullPointIsReachedButNotLeft)
{
    TRenderBench b;
    auto& s = b.Add<TLineSeries>();
    s.SetSeriesColor(clGreen);
    s.Pointer().SetVisible(true);
    s.InsertPoint(0, 2);
    s.InsertPoint(1, 4, {}, clRed);
    s.InsertNullPoint(2, 6);
    s.InsertPoint(3, 8);
    s.InsertPoint(4, 3);
    const auto bitmap = b.Render();
    // Into the null point: the segment from point 1, (80, 200) to (120, 140), in the series colour.
    EXPECT_TRUE(AnyNear(*bitmap, 100, 170, clGreen));
    // Out of it: nothing between (120, 140) and (160, 80).
    EXPECT_FALSE(AnyNear(*bitmap, 140, 110, clGreen, 2));
    // The null point's pointer in its left neighbour's colour; the next pointer in its own.
    EXPECT_EQ(bitmap->PixelRGB(122, 142), clRed);
    EXPECT_EQ(bitmap->PixelRGB(162, 82), clGreen);
    EXPECT_EQ(bitmap->PixelRGB(82, 202), clRed);
    // And the line goes on from point 3.
    EXPECT_TRUE(AnyNear(*bitmap, 180, 155, clGreen));
}

TEST(LineRender, StairsAndInvertedStairs)
{
    struct Case {
        bool inverted;
        std::vector<TPoint> drawn, empty;
    };
    // From (2, 2) at (120, 260) to (4, 6) at (200, 140).
    const Case cases[] = {
        {false, {{160, 260}, {200, 200}}, {{120, 200}, {160, 140}, {160, 200}}},
        {true, {{120, 200}, {160, 140}}, {{160, 260}, {200, 200}, {160, 200}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.inverted ? "inverted" : "normal");
        TRenderBench b;
        auto& s = b.Add<TLineSeries>({2, 6}, {2, 4});
        s.SetSeriesColor(clBlue);
        s.SetStairs(true);
        s.SetInvertedStairs(k.inverted);
        const auto bitmap = b.Render();
        for (TPoint p : k.drawn) EXPECT_EQ(bitmap->PixelRGB(p.x, p.y), clBlue) << p.x << "," << p.y;
        for (TPoint p : k.empty) EXPECT_EQ(bitmap->PixelRGB(p.x, p.y), b.Back()) << p.x << "," << p.y;
    }
}

TEST(LineRender, TwoStackedSeries)
{
    TRenderBench b;
    auto& lower = b.Add<TLineSeries>({1, 2, 1});
    auto& upper = b.Add<TLineSeries>({3, 3, 3});
    lower.SetSeriesColor(clRed);
    upper.SetSeriesColor(clBlue);
    lower.SetStacked(cssStack);
    const auto bitmap = b.Render();
    // The upper series runs at 4, 5, 4: half way between its first points at 4.5.
    EXPECT_TRUE(AnyNear(*bitmap, 60, PixelY(4.5), clBlue));
    EXPECT_FALSE(AnyNear(*bitmap, 60, PixelY(3), clBlue, 2)) << "not at its own values";
    EXPECT_TRUE(AnyNear(*bitmap, 60, PixelY(1.5), clRed));
}

TEST(AreaRender, MaskDownToAFarOriginOnAnInvertedAxis)
{
    // The model view: polygons fill the section, an area in the back colour masks the sky above the
    // relief, reaching from the relief up to an origin far beyond the top of an inverted depth axis.
    TRenderBench b;
    b.Chart.LeftAxis().SetInverted(true);
    auto& map = b.Add<TMapSeries>();
    TLumPolygon& ground = *map.Shapes().AddPolygon();
    for (const auto& [x, y] : std::vector<std::pair<double, double>>{{0, 0}, {10, 0}, {10, 10}, {0, 10}}) ground.AddVertex(x, y);
    ground.SetColor(clRed);
    auto& mask = b.Add<TAreaSeries>({2, 3, 2, 4}, {0, 3, 6, 10});
    mask.SetSeriesColor(clWhite);
    mask.SetUseYOrigin(true);
    mask.SetYOrigin(-10000);
    mask.LinePen().SetVisible(false);
    mask.AreaLinesPen().SetVisible(false);
    const auto bitmap = b.Render();
    // Depth 2 at y 80 (the axis runs down from y 20): white above, the polygon below.
    for (int x : {60, 100, 200, 300}) {
        SCOPED_TRACE(x);
        const int relief = b.Chart.LeftAxis().CalcYPosValue(mask.YValues().ValueAt(0) +
                                                            (mask.YValues().ValueAt(1) - mask.YValues().ValueAt(0)) *
                                                                (b.Chart.BottomAxis().PixelToValue(x) / 3));
        if (x > PixelX(3)) continue;
        EXPECT_EQ(bitmap->PixelRGB(x, 22), clWhite) << "at the chart's top edge";
        EXPECT_EQ(bitmap->PixelRGB(x, relief - 3), clWhite);
        EXPECT_EQ(bitmap->PixelRGB(x, relief + 3), clRed);
        EXPECT_EQ(bitmap->PixelRGB(x, 300), clRed);
    }
    EXPECT_EQ(bitmap->PixelRGB(400, 50), clWhite);
    EXPECT_EQ(bitmap->PixelRGB(400, 200), clRed);
    EXPECT_EQ(bitmap->PixelRGB(20, 50), b.Back()) << "nothing outside the chart";
}

// The same mask in a metafile: the header bounds the picture, not the mask's far origin, and every polygon
// is written within the picture.
TEST(AreaRender, MetafileOfAMaskWithAFarOriginKeepsThePicturesSize)
{
    TRenderBench b;
    b.Chart.LeftAxis().SetInverted(true);
    auto& mask = b.Add<TAreaSeries>({2, 3, 2, 4}, {0, 3, 6, 10});
    mask.SetSeriesColor(clWhite);
    mask.SetUseYOrigin(true);
    mask.SetYOrigin(-10000);
    const auto metafile = b.Chart.RenderToMetafile(true, b.Chart.ChartBounds());
    std::vector<std::uint8_t> emf;
    metafile->SaveToBytes(emf);
    const auto i32 = [&emf](std::size_t at) {
        return static_cast<std::int32_t>(emf.at(at) | emf.at(at + 1) << 8 | emf.at(at + 2) << 16 |
                                         static_cast<std::uint32_t>(emf.at(at + 3)) << 24);
    };
    EXPECT_GE(i32(8), 0);
    EXPECT_GE(i32(12), 0);
    EXPECT_LE(i32(16), 479);
    EXPECT_LE(i32(20), 339);
    int polygons = 0;
    for (std::size_t at = 0; at + 8 <= emf.size(); at += static_cast<std::uint32_t>(i32(at + 4))) {
        if (i32(at) != 3) continue;  // a polygon
        ++polygons;
        const std::int32_t n = i32(at + 24);
        for (std::int32_t k = 0; k < n; ++k) {
            const std::size_t p = at + 28 + 8 * static_cast<std::size_t>(k);
            EXPECT_TRUE(i32(p) >= -1 && i32(p) <= 481 && i32(p + 4) >= -1 && i32(p + 4) <= 341)
                << "a polygon point at " << i32(p) << "," << i32(p + 4);
        }
    }
    EXPECT_GT(polygons, 0);
}

TEST(AreaRender, OneGradientAcrossAllSegments)
{
    TRenderBench b;
    auto& area = b.Add<TAreaSeries>({2, 8, 4, 6, 8});
    area.Gradient().SetVisible(true);
    area.Gradient().SetStartColor(clWhite);
    area.Gradient().SetEndColor(clBlue);
    area.AreaLinesPen().SetVisible(false);
    area.LinePen().SetVisible(false);
    const auto bitmap = b.Render();
    // At one height, segments far apart show the same colour; higher and lower rows differ.
    const int y = PixelY(3);
    const TColor first = bitmap->PixelRGB(PixelX(0.5), y);
    EXPECT_EQ(bitmap->PixelRGB(PixelX(2.5), y), first);
    EXPECT_EQ(bitmap->PixelRGB(PixelX(3.5), y), first);
    EXPECT_NE(bitmap->PixelRGB(PixelX(1.5), PixelY(6.5)), first);
    EXPECT_NE(first, clWhite);
    EXPECT_NE(first, clBlue);
    EXPECT_EQ(bitmap->PixelRGB(PixelX(1), PixelY(9)), b.Back()) << "above the area";
}

TEST(LineRender, ZoomedLineEntersAtTheChartEdge)
{
    struct Case {
        const char* name;
        bool logarithmic;
        double low, high;
        double y1, y2;
        double atEdge; // the interpolated value at x 1.5
    };
    const Case cases[] = {
        {"linear", false, 0, 10, 2, 6, 4},
        {"logarithmic", true, 1, 1000, 10, 1000, 100},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TRenderBench b;
        b.Chart.BottomAxis().SetFixedRange(1.5, 10);
        b.Chart.LeftAxis().SetFixedRange(k.low, k.high);
        b.Chart.LeftAxis().SetLogarithmic(k.logarithmic);
        auto& s = b.Add<TLineSeries>({k.y1, k.y1, k.y2, k.y2, k.y1});
        s.SetSeriesColor(clBlue);
        const auto bitmap = b.Render();
        EXPECT_EQ(s.FirstVisible(), 2);
        const int edgeY = b.Chart.LeftAxis().CalcYPosValue(k.atEdge);
        const int x2 = s.ScreenXOf(2), y2 = s.ScreenYOf(2);
        // Two pixels into the chart, on the line from the edge point to point 2.
        const int x = 42;
        const int y = edgeY + (y2 - edgeY) * (x - 40) / (x2 - 40);
        EXPECT_TRUE(AnyNear(*bitmap, x, y, clBlue, 1)) << "expected near " << x << "," << y;
        // The linear guess of the logarithmic case lies elsewhere.
        if (k.logarithmic) {
            EXPECT_FALSE(AnyNear(*bitmap, x, b.Chart.LeftAxis().CalcYPosValue(505), clBlue, 2));
        }
    }
}

TEST(LineRender, ShadowPassWithoutPointers)
{
    TRenderBench b;
    auto& s = b.Add<TLineSeries>({5, 5, 5});
    s.SetSeriesColor(clBlue);
    s.Pointer().SetVisible(true);
    s.Shadow().SetHorizSize(3);
    s.Shadow().SetVertSize(3);
    s.Shadow().SetColor(clGray);
    const auto bitmap = b.Render();
    const int y = PixelY(5);
    EXPECT_EQ(bitmap->PixelRGB(60, y), clBlue) << "the line over its shadow";
    EXPECT_EQ(bitmap->PixelRGB(63, y + 3), clGray) << "the shadow 3 right, 3 down";
    // Where a shadow pointer of point 1 would be, outside the real pointer: nothing.
    EXPECT_EQ(bitmap->PixelRGB(PixelX(1) + 6, y + 6), b.Back());
    EXPECT_EQ(bitmap->PixelRGB(PixelX(1) + 2, y + 2), clBlue) << "the real pointer";
    EXPECT_EQ(s.SeriesColor(), clBlue);
    EXPECT_TRUE(s.Pointer().Visible());
    EXPECT_EQ(b.Chart.BottomAxis().StartPixel, 40) << "the axes are back in place";
}

TEST(LineRender, OutlinePassDrawsAWiderLineAndRestores)
{
    TRenderBench b;
    auto& s = b.Add<TLineSeries>({5, 5, 5});
    s.SetSeriesColor(clBlue);
    s.LinePen().SetWidth(2);
    s.OutLine().SetVisible(true);
    s.OutLine().SetWidth(1);
    s.OutLine().SetColor(clRed);
    const auto bitmap = b.Render();
    int red = 0, blue = 0;
    for (int y = PixelY(5) - 8; y <= PixelY(5) + 8; ++y) {
        red += bitmap->PixelRGB(100, y) == clRed;
        blue += bitmap->PixelRGB(100, y) == clBlue;
    }
    EXPECT_EQ(red + blue, 6) << "2 x 2 + 1 + 1 pixels wide";
    EXPECT_EQ(blue, 2);
    EXPECT_EQ(s.SeriesColor(), clBlue);
    EXPECT_EQ(s.LinePen().Width(), 2);
    EXPECT_EQ(s.LinePen().Color(), TChartPen().Color());
}

TEST(LineRender, RisingFacesIn3DAreDarker)
{
    TRenderBench b;
    b.Chart.SetView3D(true);
    b.Chart.View3DOptions().SetOrthogonal(true);
    b.Chart.View3DOptions().SetOrthoAngle(45);
    const TColor color = 0x80C0F0;
    auto& s = b.Add<TLineSeries>({2, 8, 2}, {1, 2, 5});
    s.SetSeriesColor(color);
    const auto bitmap = b.Render();
    TCanvas3D& canvas = b.Chart.ChartCanvas();
    const int z = (s.StartZ() + s.EndZ()) / 2;
    ASSERT_GT(s.EndZ(), s.StartZ());
    // The middle of each ribbon at the middle depth.
    const TPoint rising = canvas.ProjectXYZ((s.ScreenXOf(0) + s.ScreenXOf(1)) / 2, (s.ScreenYOf(0) + s.ScreenYOf(1)) / 2, z);
    const TPoint falling = canvas.ProjectXYZ((s.ScreenXOf(1) + s.ScreenXOf(2)) / 2, (s.ScreenYOf(1) + s.ScreenYOf(2)) / 2, z);
    EXPECT_EQ(bitmap->PixelRGB(rising.x, rising.y), DarkenColorBy(color, 64));
    EXPECT_EQ(bitmap->PixelRGB(falling.x, falling.y), color);
    s.SetDark3D(false);
    const auto flat = b.Render();
    EXPECT_EQ(flat->PixelRGB(rising.x, rising.y), color);
}

namespace {

TLumPolygon& Square(TMapSeries& map, double x0, double y0, double x1, double y1)
{
    TLumPolygon& p = *map.Shapes().AddPolygon();
    for (const auto& [x, y] : std::vector<std::pair<double, double>>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}) p.AddVertex(x, y);
    return p;
}

} // namespace

TEST(MapRender, PolygonsInTheirPointColours)
{
    TRenderBench b;
    auto& map = b.Add<TMapSeries>();
    map.SetUseColorRange(false);
    map.SetUsePalette(true);
    Square(map, 0, 0, 2, 2).SetZ(0);
    Square(map, 3, 0, 5, 2).SetZ(5);
    Square(map, 6, 0, 8, 2).SetZ(10);
    TLumPolygon& red = Square(map, 0, 3, 2, 5);
    red.SetZ(5);
    red.SetColor(clRed);
    TLumPolygon& parent = Square(map, 3, 3, 5, 5);
    parent.SetZ(10);
    parent.SetParentBrush(true);
    map.Brush().SetColor(clLime);
    TLumPolygon& dot = *map.Shapes().AddPolygon();
    dot.AddVertex(7, 4);
    dot.SetZ(0);
    const auto bitmap = b.Render();
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const double z = map.Shapes().GetPolygon(i)->Z();
        EXPECT_EQ(map.PointColor(i), map.PaletteColorOf(z));
        EXPECT_EQ(bitmap->PixelRGB(PixelX(3 * i + 1), PixelY(1)), map.PaletteColorOf(z));
    }
    EXPECT_NE(map.PaletteColorOf(0), map.PaletteColorOf(10));
    EXPECT_EQ(bitmap->PixelRGB(PixelX(1), PixelY(4)), clRed) << "the explicit colour wins";
    EXPECT_EQ(bitmap->PixelRGB(PixelX(4), PixelY(4)), map.PaletteColorOf(10)) << "the map's brush, the point's colour";
    // A closed polygon of one vertex is one black pixel.
    EXPECT_EQ(bitmap->PixelRGB(PixelX(7), PixelY(4)), clBlack);
    EXPECT_EQ(bitmap->PixelRGB(PixelX(7) + 1, PixelY(4)), b.Back());
    EXPECT_EQ(bitmap->PixelRGB(PixelX(7), PixelY(4) - 1), b.Back());
}

TEST(MapRender, TransparencyAndGradient)
{
    TRenderBench b;
    auto& map = b.Add<TMapSeries>();
    Square(map, 0, 0, 6, 6).SetColor(clWhite);
    TLumPolygon& glass = Square(map, 2, 2, 4, 4);
    glass.SetColor(clBlue);
    glass.SetTransparency(50);
    TLumPolygon& shaded = Square(map, 7, 1, 9, 9);
    shaded.Gradient().SetVisible(true);
    shaded.Gradient().SetStartColor(clWhite);
    shaded.Gradient().SetEndColor(clRed);
    shaded.SetColor(clLime);
    const auto bitmap = b.Render();
    EXPECT_TRUE(Close(bitmap->PixelRGB(PixelX(3), PixelY(3)), static_cast<TColor>(0xFF7F7F), 2))
        << std::hex << bitmap->PixelRGB(PixelX(3), PixelY(3));
    EXPECT_EQ(bitmap->PixelRGB(PixelX(1), PixelY(1)), clWhite);
    // The gradient fills the polygon (the screen canvas may clip), top to bottom, instead of its brush.
    const TColor top = bitmap->PixelRGB(PixelX(8), PixelY(8.5)), bottom = bitmap->PixelRGB(PixelX(8), PixelY(1.5));
    EXPECT_NE(top, bottom);
    EXPECT_NE(top, clLime);
    EXPECT_NE(bottom, clLime);
    EXPECT_TRUE(b.Chart.ClippingAllowed());
}

TEST(MapRender, LargerZDrawnFirstIn3D)
{
    for (bool nearFirst : {false, true}) {
        SCOPED_TRACE(nearFirst);
        TRenderBench b;
        b.Chart.SetView3D(true);
        b.Chart.View3DOptions().SetOrthogonal(true);
        auto& map = b.Add<TMapSeries>();
        TLumPolygon& a = Square(map, 2, 2, 8, 8);
        TLumPolygon& c = Square(map, 2, 2, 8, 8);
        a.SetColor(clRed);
        c.SetColor(clBlue);
        // The polygon with the smaller Z stands in front, whatever its index.
        a.SetZ(nearFirst ? 0 : 10);
        c.SetZ(nearFirst ? 10 : 0);
        const auto bitmap = b.Render();
        TLumPolygon& front = nearFirst ? a : c;
        const TPoint p = b.Chart.ChartCanvas().ProjectXYZ(PixelX(5), PixelY(5), map.ZScreenPosition(front.Index()));
        EXPECT_EQ(bitmap->PixelRGB(p.x, p.y), nearFirst ? clRed : clBlue);
    }
}

TEST(LineRender, ThinLineGoesOutAsOnePolylineWithTheSegmentsPixels)
{
    TRenderBench b;
    std::vector<double> ys;
    for (int i = 0; i < 41; ++i) ys.push_back(5 + 3 * std::sin(i * 0.7) + (i % 3) * 0.4);
    std::vector<double> xs;
    for (int i = 0; i < 41; ++i) xs.push_back(0.5 + i * 0.2);
    auto& s = b.Add<TLineSeries>(ys, xs);
    s.SetSeriesColor(clBlue);
    const auto bitmap = b.Render();
    // The same segments drawn one by one.
    TBitmap reference(bitmap->Width(), bitmap->Height());
    TCanvas& c = reference.Canvas();
    c.Brush().SetColor(b.Back());
    c.FillRect({0, 0, reference.Width(), reference.Height()});
    c.Pen().SetColor(clBlue);
    for (int i = 1; i < s.PointCount(); ++i) {
        c.MoveTo(s.ScreenXOf(i - 1), s.ScreenYOf(i - 1));
        c.LineTo(s.ScreenXOf(i), s.ScreenYOf(i));
    }
    int differing = 0;
    for (int y = BenchChartRect.Top + 1; y < BenchChartRect.Bottom; ++y)
        for (int x = BenchChartRect.Left + 1; x < BenchChartRect.Right; ++x) differing += bitmap->PixelRGB(x, y) != reference.PixelRGB(x, y);
    EXPECT_EQ(differing, 0);
    // One polyline on the recorder.
    b.Layout();
    b.Recorder->Clear();
    s.PaintAllPoints();
    ASSERT_EQ(b.Recorder->OfKind("Polyline").size(), 1u);
    EXPECT_EQ(b.Recorder->OfKind("Polyline")[0]->Points.size(), 41u);
    EXPECT_TRUE(b.Recorder->OfKind("LineTo").empty());
}

namespace {
// Fails while painting a chosen point.
class TFailingLine : public TLineSeries {
public:
    using TLineSeries::TLineSeries;
    int FailAt = -1;
    void PaintPoint(int Index) override
    {
        if (Index == FailAt) throw std::runtime_error("paint failed");
        TLineSeries::PaintPoint(Index);
    }
};
} // namespace

TEST(LineRender, PassesRestoreWhatTheyChangeAlsoWhenDrawingFails)
{
    TSeriesBench b;
    b.FixAxes(0, 10, 0, 10);
    auto& s = b.Add<TFailingLine>({5, 5, 5});
    s.SetSeriesColor(clBlue);
    s.Shadow().SetHorizSize(3);
    s.Shadow().SetVertSize(2);
    s.OutLine().SetVisible(true);
    s.LinePen().SetWidth(2);
    b.Layout();
    const int start = b.Chart.BottomAxis().StartPixel, top = b.Chart.LeftAxis().StartPixel;
    s.FailAt = 1;
    EXPECT_THROW(s.PaintAllPoints(), std::runtime_error);
    EXPECT_EQ(b.Chart.BottomAxis().StartPixel, start);
    EXPECT_EQ(b.Chart.LeftAxis().StartPixel, top);
    // The next drawing is the series' own: the line in its colour and width, not the shadow's.
    s.FailAt = -1;
    s.Shadow().SetHorizSize(0);
    s.Shadow().SetVertSize(0);
    s.OutLine().SetVisible(false);
    b.Recorder->Clear();
    s.PaintAllPoints();
    const auto lines = b.Recorder->OfKind("LineTo");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back()->Shape.Pen.Color, clBlue);
    EXPECT_EQ(s.LinePen().Width(), 2);
    EXPECT_EQ(s.SeriesColor(), clBlue);
}

TEST(LineRender, PointerStylePerPointAndItsSettingsPutBack)
{
    TSeriesBench b;
    b.FixAxes(0, 10, 0, 10);
    auto& s = b.Add<TPointSeries>({2, 4, 6});
    s.OnGetPointerStyle = [&](TChartSeries*, int i) {
        if (i == 2) {
            s.Pointer().StoreHorizSize(7);
            s.Pointer().Pen().SetWidth(3);
        }
        return i == 1 ? psCircle : psRectangle;
    };
    b.Layout();
    b.Recorder->Clear();
    const int before = b.Chart.Invalidations;
    s.PaintAllPoints();
    EXPECT_EQ(b.Recorder->OfKind("Ellipse").size(), 1u);
    const auto boxes = b.Recorder->OfKind("Rectangle");
    ASSERT_EQ(boxes.size(), 2u);
    // Point 2 drawn with the sizes the event gave it: 7 either side.
    EXPECT_EQ(boxes[1]->Args[2] - boxes[1]->Args[0], 15);
    EXPECT_EQ(s.Pointer().HorizSize(), 4);
    EXPECT_EQ(s.Pointer().Pen().Width(), 1);
    EXPECT_EQ(b.Chart.Invalidations, before) << "putting the settings back repaints nothing";
    EXPECT_EQ(s.PointerStyleOf(1), psCircle);
}

// Zoomed axes leave points beyond every side of the plot: with ClipPoints their pointers end at the
// chart rectangle and the margins stay clean; without it they reach into the margins.
TEST(PointRender, PointersOfPointsBeyondZoomedAxesStayInsideThePlot)
{
    for (const bool clip : {true, false}) {
        SCOPED_TRACE(clip ? "ClipPoints" : "no ClipPoints");
        TSeriesBench b;
        b.FixAxes(2, 8, 2, 8);
        b.Chart.SetAxisVisible(false);
        b.Chart.SetClipPoints(clip);
        // Beyond the left, right, bottom and top, one on the bottom-left corner, and one inside.
        auto& s = b.Add<TPointSeries>({5, 5, 1.9, 8.1, 1.95, 5}, {1.9, 8.1, 5, 5, 1.95, 5});
        s.Pointer().SetStyle(psRectangle);
        s.Pointer().SetHorizSize(4);
        s.Pointer().SetVertSize(4);
        s.Pointer().Brush().SetColor(clRed);
        s.Pointer().Pen().SetColor(clRed);
        const auto bitmap = b.Render();
        int beyond = 0;
        for (int y = 0; y < 340; ++y)
            for (int x = 0; x < 480; ++x) {
                const bool inPlot = x > BenchChartRect.Left && x < BenchChartRect.Right && y > BenchChartRect.Top &&
                                    y < BenchChartRect.Bottom;
                if (!inPlot && bitmap->PixelRGB(x, y) == clRed) ++beyond;
            }
        if (clip)
            EXPECT_EQ(beyond, 0);
        else
            EXPECT_GT(beyond, 4 * 20);
        EXPECT_TRUE(AnyNear(*bitmap, 240, 170, clRed, 0)) << "the point inside is drawn";
    }
}
