// Drawing the pie: flat pies rendered offscreen and probed at pixels (slices in their places, an
// exploded slice with the smaller pie, a zero slice, one point as a whole circle, a circle too small for
// slices), the recorded shape calls (patterns, pens darkened by DarkPen, 3-D slices back to front with
// their radial faces, a half donut's open ends), marks on both sides of the pie and the click test.
#include "SpyCanvas.h"

#include "platform/rtl/SystemColors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double HalfTurn = std::numbers::pi;

// A pie whose marks record where they were placed.
class TMarkedPie : public TPieSeries {
public:
    using TPieSeries::TPieSeries;
    std::vector<std::pair<int, TSeriesMarkPosition>> Placed;
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override
    {
        TPieSeries::PaintMark(Index, Text, Position);
        Placed.emplace_back(Index, Position);
    }
};

// Fixed axes, none drawn, marks hidden: a pie fills the chart rectangle (40, 20, 440, 320) with its
// centre at (240, 170) and radii 200 and 150.
struct TPieRenderBench : TSeriesBench {
    TPieRenderBench()
    {
        FixAxes(0, 10, 0, 10);
        Chart.SetAxisVisible(false);
    }
    template <class T = TPieSeries>
    T& Pie(const std::vector<std::pair<double, TColor>>& Slices)
    {
        auto& s = Add<T>();
        for (const auto& [v, c] : Slices) s.AppendValue(v, {}, c);
        s.Marks().SetVisible(false);
        return s;
    }
    TColor Back() const { return ColorToRGB(Chart.Color()); }
};

bool AnyPixel(const TBitmap& B, TColor Color)
{
    for (int y = 0; y < B.Height(); ++y)
        for (int x = 0; x < B.Width(); ++x)
            if (B.PixelRGB(x, y) == Color) return true;
    return false;
}

} // namespace

TEST(PieRender, SlicesOfOneOneTwo)
{
    TPieRenderBench b;
    auto& s = b.Pie({{1, clRed}, {1, clLime}, {2, clBlue}});
    const auto bitmap = b.Render();
    EXPECT_EQ(bitmap->PixelRGB(340, 100), clRed) << "upper right";
    EXPECT_EQ(bitmap->PixelRGB(140, 100), clLime) << "upper left";
    EXPECT_EQ(bitmap->PixelRGB(150, 250), clBlue) << "lower half, left";
    EXPECT_EQ(bitmap->PixelRGB(330, 250), clBlue) << "lower half, right";
    EXPECT_EQ(bitmap->PixelRGB(45, 25), b.Back()) << "outside the ellipse";
    EXPECT_EQ(bitmap->PixelRGB(240, 10), b.Back()) << "above the circle";
    // The border in the pie pen between the upper slices.
    EXPECT_EQ(bitmap->PixelRGB(240, 100), clBlack);

    struct TClick {
        TPoint p;
        int index;
    };
    const TClick clicks[] = {{{340, 100}, 0}, {{140, 100}, 1}, {{240, 280}, 2}, {{45, 25}, -1}, {{470, 170}, -1}};
    for (const TClick& c : clicks) EXPECT_EQ(s.PointAtPixel(c.p.x, c.p.y), c.index) << c.p.x << "," << c.p.y;
    EXPECT_EQ(s.SliceAtPoint(340, 100, false), 0);
}

TEST(PieRender, ExplodedSliceMovesOutAndThePieShrinks)
{
    TPieRenderBench b;
    auto& s = b.Pie({{1, clRed}, {1, clLime}, {2, clBlue}});
    s.ExplodePercents().SetValue(2, 30);
    const auto bitmap = b.Render();
    // The lower slice moved 45 pixels down: the pie shrinks by 22 at the top and the bottom, and the
    // slice then moves R(128 x 0.3) = 38 pixels out of the smaller pie.
    EXPECT_TRUE(s.RadialFaces());
    EXPECT_EQ(s.CircleRect(), (TRect{40, 42, 440, 298}));
    EXPECT_EQ(s.ExplodeOffset(2), (TPoint{0, -38}));
    EXPECT_EQ(s.ExplodeOffset(0), (TPoint{0, 0}));
    EXPECT_EQ(bitmap->PixelRGB(240, 35), b.Back()) << "above the smaller pie";
    EXPECT_EQ(bitmap->PixelRGB(340, 110), clRed);
    EXPECT_EQ(bitmap->PixelRGB(240, 190), b.Back()) << "the gap the slice left";
    EXPECT_EQ(bitmap->PixelRGB(240, 300), clBlue) << "the slice at its moved place";
    EXPECT_EQ(bitmap->PixelRGB(240, 330), clBlue) << "reaching below the smaller pie";
    // Clicks find it at its moved place, and nothing in the gap.
    EXPECT_EQ(s.PointAtPixel(240, 300), 2);
    EXPECT_EQ(s.PointAtPixel(240, 190), -1);
    EXPECT_EQ(s.SliceAtPoint(240, 190, false), 2) << "where it would be unexploded";
    EXPECT_EQ(s.PointAtPixel(340, 110), 0);
}

TEST(PieRender, ZeroSliceSinglePointAndTinyCircle)
{
    {
        TPieRenderBench b;
        b.Pie({{1, clRed}, {0, clLime}, {1, clBlue}});
        const auto bitmap = b.Render();
        EXPECT_FALSE(AnyPixel(*bitmap, clLime)) << "the zero slice draws nothing";
        EXPECT_EQ(bitmap->PixelRGB(240, 100), clRed);
        EXPECT_EQ(bitmap->PixelRGB(240, 250), clBlue) << "the next slice starts where the first ended";
    }
    {
        TPieRenderBench b;
        b.Pie({{5, clRed}});
        const auto bitmap = b.Render();
        for (TPoint p : {TPoint{340, 100}, TPoint{140, 100}, TPoint{140, 250}, TPoint{340, 250}, TPoint{240, 150}})
            EXPECT_EQ(bitmap->PixelRGB(p.x, p.y), clRed) << p.x << "," << p.y;
    }
    {
        TPieRenderBench b;
        auto& s = b.Pie({{1, clRed}, {2, clBlue}});
        s.Shadow().SetSmooth(false);
        s.Shadow().SetUniformSize(4);
        s.Shadow().SetColor(clLime);
        b.Chart.SetChartRect({100, 100, 103, 160});
        const auto bitmap = b.Render();
        EXPECT_LT(s.CircleWidth(), 5);
        EXPECT_FALSE(AnyPixel(*bitmap, clRed));
        EXPECT_FALSE(AnyPixel(*bitmap, clBlue));
        EXPECT_TRUE(AnyPixel(*bitmap, clLime)) << "the shadow still draws";
    }
}

TEST(PieDraw, PatternsAndDarkPen)
{
    TBarDrawBench b;
    auto& s = b.Add<TPieSeries>();
    for (int i = 0; i < 7; ++i) s.AppendValue(1, {}, static_cast<TColor>(0x204060));
    s.Marks().SetVisible(false);
    s.SetUsePatterns(true);
    b.Render();
    const std::vector<TCall> wedges = b.Spy->Named("Pie");
    ASSERT_EQ(wedges.size(), 7u);
    const TBrushStyle expected[] = {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross, bsHorizontal};
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(wedges[i].BrushStyle, expected[i]) << "slice " << i;
    EXPECT_EQ(wedges[0].PenColor, clBlack) << "DarkPen 0: the pie pen";

    struct TCase {
        int darkPen;
        TColor pen;
    };
    // 1 darkens by 254 per channel (none below 0); 255 and above keep the slice colour.
    const TCase cases[] = {{1, static_cast<TColor>(0x000000)}, {200, static_cast<TColor>(0x000929)},
                           {255, static_cast<TColor>(0x204060)}, {300, static_cast<TColor>(0x204060)}};
    for (const TCase& c : cases) {
        s.SetDarkPen(c.darkPen);
        b.Spy->Calls.clear();
        EXPECT_NO_THROW(b.Render()) << c.darkPen;
        const std::vector<TCall> drawn = b.Spy->Named("Pie");
        ASSERT_EQ(drawn.size(), 7u);
        EXPECT_EQ(drawn[3].PenColor, c.pen) << "DarkPen " << c.darkPen;
    }
    EXPECT_EQ(s.DarkPen(), 300) << "the stored value is kept";
}

TEST(PieDraw, WedgesChainFromAngleZero)
{
    TBarDrawBench b;
    auto& s = b.Add<TPieSeries>({1, 1, 2});
    s.Marks().SetVisible(false);
    b.Render();
    const std::vector<TCall> wedges = b.Spy->Named("Pie");
    ASSERT_EQ(wedges.size(), 3u);
    // Bounds of the circle; from the previous end point to this slice's end, counter-clockwise.
    EXPECT_EQ(wedges[0].Args, (std::vector<int>{40, 20, 440, 320, 440, 170, 240, 20}));
    EXPECT_EQ(wedges[1].Args, (std::vector<int>{40, 20, 440, 320, 240, 20, 40, 170}));
    EXPECT_EQ(wedges[2].Args, (std::vector<int>{40, 20, 440, 320, 40, 170, 440, 170}));
    // A donut draws ring segments instead.
    s.SetDonutPercent(40);
    b.Spy->Calls.clear();
    b.Render();
    EXPECT_TRUE(b.Spy->Named("Pie").empty());
    const std::vector<TCall> rings = b.Spy->Named("Ring");
    ASSERT_EQ(rings.size(), 3u);
    EXPECT_EQ(rings[2].Args, (std::vector<int>{240, 170, 200, 150, 3142, 6283, 40}));
}

TEST(PieDraw, SlicesIn3D)
{
    struct TCase {
        const char* name;
        int angleSize, donut, exploded;
        std::vector<int> order;
        std::vector<int> sides;
    };
    // Values 1, 1, 2: middles at 45, 135 and 270 degrees. With an exploded slice the slices are sorted
    // back to front (the two upper ones are equally near the back); a closed pie without a hole keeps
    // the list order and no radial faces; a half donut shows faces only at its open ends.
    const TCase cases[] = {
        {"exploded", 360, 0, 2, {-1, -1, 2}, {1, 1, 1}},
        {"plain", 360, 0, -1, {0, 1, 2}, {0, 0, 0}},
        {"half donut", 180, 50, -1, {-1, -1, -1}, {-1, -1, -1}},
    };
    for (const TCase& c : cases) {
        TBarDrawBench b(true);
        auto& s = b.Add<TPieSeries>({1, 1, 2});
        s.Marks().SetVisible(false);
        s.SetAngleSize(c.angleSize);
        s.SetDonutPercent(c.donut);
        if (c.exploded >= 0) s.ExplodePercents().SetValue(c.exploded, 30);
        b.Render();
        const std::vector<TCall> slices = b.Spy->Named("PieSlice3D");
        ASSERT_EQ(slices.size(), 3u) << c.name;
        std::vector<int> fromAngles;
        for (const TCall& call : slices) {
            EXPECT_EQ(call.Args[4], s.StartZ()) << c.name;
            EXPECT_EQ(call.Args[5], s.EndZ()) << c.name;
            EXPECT_EQ(call.Args[9], c.donut) << c.name;
            fromAngles.push_back(call.Args[6]);
        }
        auto indexOf = [&](int from) {
            const double a[] = {0, HalfTurn / (c.angleSize == 360 ? 2 : 4)};
            if (from == 0) return 0;
            if (from == int(std::lround(a[1] * 1000))) return 1;
            return 2;
        };
        for (std::size_t k = 0; k < 3; ++k) {
            if (c.order[k] >= 0) EXPECT_EQ(indexOf(fromAngles[k]), c.order[k]) << c.name << " draw " << k;
            if (c.sides[k] >= 0) EXPECT_EQ(slices[k].Args[8], c.sides[k]) << c.name << " draw " << k;
        }
        if (c.exploded >= 0) {
            // The exploded slice last, moved down from the centre.
            EXPECT_GT(slices[2].Args[1], s.CircleYCenter()) << c.name;
            EXPECT_EQ(slices[0].Args[1], s.CircleYCenter()) << c.name;
        }
        if (c.donut > 0) {
            // Faces at the two ends of the half ring, none in the middle slice.
            for (const TCall& call : slices) {
                const bool end = indexOf(call.Args[6]) != 1;
                EXPECT_EQ(call.Args[8], end ? 1 : 0) << c.name << " from " << call.Args[6];
            }
        }
    }
}

TEST(PieRender, ThreeDPieShowsEverySlice)
{
    TPieRenderBench b;
    b.Chart.SetView3D(true);
    auto& s = b.Pie({{1, clRed}, {1, clLime}, {2, clBlue}});
    s.ExplodePercents().SetValue(2, 30);
    s.SetDark3D(false);
    s.Gradient().SetVisible(false);
    const auto bitmap = b.Render();
    for (TColor c : {clRed, clLime, clBlue}) EXPECT_TRUE(AnyPixel(*bitmap, c)) << std::hex << c;
    const TPoint p = b.Chart.ChartCanvas().ProjectXYZ(s.CircleXCenter(), s.CircleYCenter() + s.YRadius() / 2 + 30, s.EndZ());
    EXPECT_EQ(s.PointAtPixel(p.x, p.y), 2) << "found on the projected slice";
}

TEST(PieDraw, MarksLeftAndRightOfThePie)
{
    TBarDrawBench b;
    auto& s = b.Add<TMarkedPie>({1, 2, 1});
    s.Marks().SetVisible(true);
    s.Marks().SetStyle(smsValue);
    s.SetAutoMarkPosition(false);
    s.ExplodePercents().SetValue(2, 20);
    b.Render();
    ASSERT_EQ(s.Placed.size(), 3u);
    const int cx = s.CircleXCenter(), cy = s.CircleYCenter();
    const int l = s.Marks().Callout().Length() + s.Marks().Callout().Distance();
    for (const auto& [i, p] : s.Placed) {
        EXPECT_TRUE(p.ArrowFix) << i;
        const double m = s.SliceAngles()[static_cast<std::size_t>(i)].MiddleAngle;
        const double f = i == 2 ? 1.2 : 1.0;
        EXPECT_EQ(p.ArrowTo, s.PolarToScreen(m, std::nearbyint(s.XRadius() * f) + l, std::nearbyint(s.YRadius() * f) + l)) << i;
        if (p.ArrowTo.x > cx)
            EXPECT_EQ(p.LeftTop.x, p.ArrowTo.x) << "right half: right of the arrow end, slice " << i;
        else
            EXPECT_EQ(p.LeftTop.x + p.Width, p.ArrowTo.x) << "left half: left of the arrow end, slice " << i;
        if (p.ArrowTo.y > cy)
            EXPECT_EQ(p.LeftTop.y, p.ArrowTo.y) << i;
        else
            EXPECT_EQ(p.LeftTop.y + p.Height, p.ArrowTo.y) << i;
    }
    // Slice 1 (the left half) and slice 0 (upper right) lie on both sides.
    EXPECT_LT(s.Placed[1].second.ArrowTo.x, cx);
    EXPECT_GT(s.Placed[0].second.ArrowTo.x, cx);
    EXPECT_EQ(s.Marks().ZPosition(), s.EndZ());
}
