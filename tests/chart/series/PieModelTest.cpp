// The pie's model: slice angles, the other slice and its two legends, rotation, angles of screen points,
// circle geometry, several pies in one chart, exploding the biggest slice, the chart's 3-D view while a
// pie is in it, explode percents kept with their points, copying, samples and gallery styles.
#include "SeriesTestSupport.h"

#include "chart/base/RadErareServices.h"
#include "chart/control/Chart.h"
#include "platform/controls/Screen.h"
#include "platform/rtl/PixelMath.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

// A bench whose pies draw flat, with their marks hidden unless a test shows them.
struct TPieBench : TSeriesBench {
    TPieSeries& AddPie(const std::vector<double>& Values, bool Marks = false)
    {
        auto& s = Add<TPieSeries>(Values);
        s.Marks().SetVisible(Marks);
        return s;
    }
    // Prepares and lays out, then works out the circle of each pie as the drawing pass does.
    void Geometry()
    {
        PrepareAndLayout();
        for (auto& s : Series) s->FireBeforeDrawValues();
    }
};

std::vector<double> ToAngles(const TPieSeries& S)
{
    std::vector<double> r;
    for (const TPieAngle& a : S.SliceAngles()) r.push_back(a.ToAngle);
    return r;
}

std::vector<int> Explodes(const TPieSeries& S, int N)
{
    std::vector<int> r;
    for (int i = 0; i < N; ++i) r.push_back(S.ExplodePercents().ValueAt(i));
    return r;
}

} // namespace

TEST(PieModel, SliceAngles)
{
    struct TCase {
        const char* name;
        std::vector<double> values;
        int angleSize;
        std::vector<double> to;
    };
    const TCase cases[] = {
        {"1, 1, 2", {1, 1, 2}, 360, {Pi / 2, Pi, 2 * Pi}},
        {"negative counts by its size", {1, -1, 2}, 360, {Pi / 2, Pi, 2 * Pi}},
        {"total 0: the first slice is the whole pie", {0, 0, 0}, 360, {2 * Pi, 2 * Pi, 2 * Pi}},
        {"half pie", {1, 1}, 180, {Pi / 2, Pi}},
        {"zero slice between two others", {1, 0, 1}, 360, {Pi, Pi, 2 * Pi}},
    };
    for (const TCase& c : cases) {
        TPieBench b;
        auto& s = b.AddPie(c.values);
        s.SetAngleSize(c.angleSize);
        b.PrepareAndLayout();
        s.CalcAngles();
        const std::vector<double> to = ToAngles(s);
        ASSERT_EQ(to.size(), c.to.size()) << c.name;
        for (std::size_t i = 0; i < to.size(); ++i) EXPECT_NEAR(to[i], c.to[i], 1e-12) << c.name << " slice " << i;
        // The last slice ends exactly on the full angle, not on a rounded product.
        EXPECT_EQ(to.back(), c.angleSize * Pi / 180) << c.name;
        for (std::size_t i = 0; i < to.size(); ++i) {
            const TPieAngle& a = s.SliceAngles()[i];
            EXPECT_EQ(a.FromAngle, i == 0 ? 0.0 : to[i - 1]) << c.name;
            EXPECT_EQ(a.MiddleAngle, (a.FromAngle + a.ToAngle) * 0.5) << c.name;
        }
    }
}

TEST(PieModel, OtherSliceGroupsTheSmallSlicesOncePerPass)
{
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 500, 400);
    auto pie = std::make_unique<TPieSeries>(nullptr);
    for (double v : {50.0, 45.0, 3.0, 2.0}) pie->AppendValue(v);
    pie->SetParentChart(&chart);
    pie->OtherSlice().SetStyle(poBelowPercent);
    pie->OtherSlice().SetValue(10);
    TMemoryStream before;
    pie->WritePointData(before);

    TChartLegend& otherLegend = pie->OtherSlice().Legend();
    EXPECT_FALSE(otherLegend.Visible()) << "made hidden";
    EXPECT_EQ(otherLegend.Series(), pie.get());
    otherLegend.SetVisible(true);
    TBitmap bitmap(500, 400);
    for (int pass = 0; pass < 3; ++pass) chart.DrawOnCanvas(bitmap.Canvas(), chart.ChartBounds());

    ASSERT_EQ(pie->PointCount(), 5) << "one other slice after three paints";
    EXPECT_EQ(pie->XValues().ValueAt(2), PieGroupedX);
    EXPECT_EQ(pie->XValues().ValueAt(3), PieGroupedX);
    EXPECT_EQ(pie->XValues().ValueAt(4), PieOtherSliceX);
    EXPECT_EQ(pie->YValues().ValueAt(4), 5);
    EXPECT_EQ(pie->PointLabel(4), "Other");
    // The percents count every value once.
    EXPECT_EQ(pie->YValues().SumOfAbsValues(), 100);
    // The chart's legend lists the three shown slices; the other slice's legend the two grouped points.
    EXPECT_EQ(pie->LegendEntryCount(), 3);
    EXPECT_EQ(pie->LabelIndexOf(2), 4);
    EXPECT_EQ(chart.Legend().Layout().TotalItems, 3);
    EXPECT_EQ(otherLegend.Layout().TotalItems, 2);
    EXPECT_EQ(pie->CurrentLegend(), nullptr) << "only while the other legend draws";
    // The grouped slices are empty and the rest fills the pie.
    EXPECT_EQ(pie->SliceAngles()[2].ToAngle, pie->SliceAngles()[2].FromAngle);
    EXPECT_NEAR(pie->SliceAngles()[4].ToAngle, 2 * Pi, 1e-12);

    // Saving writes only the points that were added.
    TMemoryStream after;
    pie->WritePointData(after);
    ASSERT_EQ(after.Size(), before.Size());
    EXPECT_EQ(std::memcmp(after.Memory(), before.Memory(), static_cast<std::size_t>(before.Size())), 0);
    EXPECT_EQ(pie->PointCount(), 4);
}

TEST(PieModel, OtherSliceBelowValueAndTheUserPlacedMark)
{
    TPieBench b;
    auto& s = b.AddPie({10, 1, 2, 30});
    s.OtherSlice().SetStyle(poBelowValue);
    s.OtherSlice().SetValue(5);
    s.OtherSlice().SetText("Rest");
    s.OtherSlice().SetColor(clRed);
    b.PrepareAndLayout();
    ASSERT_EQ(s.PointCount(), 5);
    EXPECT_EQ(s.PointLabel(4), "Rest");
    EXPECT_EQ(s.PointColor(4), clRed);
    EXPECT_EQ(s.YValues().ValueAt(4), 3);
    // A mark the user placed on the other slice stays with the re-made slice.
    TSeriesMarkPosition placed;
    placed.LeftTop = {7, 9};
    s.Marks().Positions().StoreCustomPosition(4, placed);
    b.PrepareAndLayout();
    ASSERT_EQ(s.PointCount(), 5);
    const TSeriesMarkPosition* kept = s.Marks().Positions().PositionAt(4);
    ASSERT_NE(kept, nullptr);
    EXPECT_TRUE(kept->Custom);
    EXPECT_EQ(kept->LeftTop, (TPoint{7, 9}));
    // Style none removes it again and renumbers the points.
    s.OtherSlice().SetStyle(poNone);
    b.PrepareAndLayout();
    EXPECT_EQ(s.PointCount(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s.XValues().ValueAt(i), i);
}

TEST(PieModel, RotationAndScreenAngles)
{
    TPieBench b;
    auto& s = b.AddPie({1, 1});
    s.SetRotationAngle(450);
    EXPECT_EQ(s.RotationAngle(), 90);
    s.SetRotationAngle(-90);
    EXPECT_EQ(s.RotationAngle(), 270);
    s.SetRotationAngle(0);
    b.Geometry();
    const int cx = s.CircleXCenter(), cy = s.CircleYCenter();
    ASSERT_EQ(cx, 240);
    ASSERT_EQ(cy, 170);
    struct TCase {
        int rotation;
        TPoint p;
        double angle;
    };
    const TCase cases[] = {
        {0, {cx, cy + 50}, 3 * Pi / 2}, {0, {cx, cy - 50}, Pi / 2}, {0, {cx, cy}, Pi / 2},
        {0, {cx + 50, cy}, 0},         {0, {cx - 50, cy}, Pi},     {90, {cx, cy - 50}, 0},
        {90, {cx + 50, cy}, 3 * Pi / 2},
    };
    for (const TCase& c : cases) {
        s.SetRotationAngle(c.rotation);
        EXPECT_NEAR(s.ScreenToAngle(c.p.x, c.p.y), c.angle, 1e-12) << c.rotation << " at " << c.p.x << "," << c.p.y;
    }
    // PolarToScreen adds the rotation: angle 0 with 90 degrees points up.
    s.SetRotationAngle(90);
    EXPECT_EQ(s.PolarToScreen(0, 100, 100), (TPoint{cx, cy - 100}));
    s.SetRotationAngle(0);
    EXPECT_EQ(s.PolarToScreen(Pi, 100, 50), (TPoint{cx - 100, cy}));
}

TEST(PieModel, CircleGeometry)
{
    struct TCase {
        const char* name;
        TRect chartRect;
        TRect circle;
        int xRadius, yRadius;
    };
    const TCase cases[] = {
        {"the whole chart rectangle", {40, 20, 440, 320}, {40, 20, 440, 320}, 200, 150},
        {"odd sizes lose a pixel", {40, 20, 441, 321}, {40, 20, 440, 320}, 200, 150},
        {"below 4 pixels grows to 4", {40, 20, 42, 21}, {40, 20, 44, 24}, 2, 2},
    };
    for (const TCase& c : cases) {
        TPieBench b;
        auto& s = b.AddPie({1, 2});
        b.Chart.SetChartRect(c.chartRect);
        s.FireBeforeDrawValues();
        EXPECT_EQ(s.CircleRect(), c.circle) << c.name;
        EXPECT_EQ(s.XRadius(), c.xRadius) << c.name;
        EXPECT_EQ(s.YRadius(), c.yRadius) << c.name;
    }

    // Visible marks take a line and the callout above and below, and a "W", the widest mark and the
    // callout at the sides.
    TPieBench b;
    auto& s = b.AddPie({1, 2}, true);
    b.Geometry();
    TCanvas3D& canvas = b.Chart.ChartCanvas();
    canvas.SelectFont(s.Marks().Font());
    const int m = 8 + 2 * s.Marks().Pen().Width();
    const int v = canvas.CharHeight() + m, h = canvas.MeasureTextWidth("W") + b.Chart.WidestSeriesMark() + m;
    TRect expected{40 + h, 20 + v, 440 - h, 320 - v};
    if ((expected.Right - expected.Left) % 2) --expected.Right;
    if ((expected.Bottom - expected.Top) % 2) --expected.Bottom;
    EXPECT_EQ(s.CircleRect(), expected);

    // Custom radii around the centre.
    s.SetCustomXRadius(50);
    s.FireBeforeDrawValues();
    EXPECT_EQ(s.XRadius(), 50);
    EXPECT_EQ(s.CircleWidth(), 100);
    EXPECT_EQ(s.CircleRect().Left, s.CircleXCenter() - 50);

    // Circled keeps the circle round on the screen and drops the custom radii.
    s.Marks().SetVisible(false);
    s.SetCircled(true);
    EXPECT_EQ(s.CustomXRadius(), 0);
    s.FireBeforeDrawValues();
    // Square pixels: the circle is as wide as high, narrowed from both sides of the wide chart.
    EXPECT_EQ(s.YRadius(), 150);
    EXPECT_EQ(s.XRadius(), 150);
    EXPECT_EQ(s.CircleXCenter(), 240) << "narrowed from both sides";
    // Pixels twice as high as wide: the circle is round in inches, half as many pixels high as wide.
    b.Recorder->MutableCaps().DpiY = 48;
    s.FireBeforeDrawValues();
    EXPECT_EQ(s.XRadius(), 200);
    EXPECT_EQ(s.YRadius(), 100);
    EXPECT_EQ(s.CircleYCenter(), 170);
}

TEST(PieModel, CircledAndCustomRadiiAreSharedWithTheChartsPies)
{
    TPieBench b;
    auto& a = b.AddPie({1});
    auto& c = b.AddPie({2});
    a.SetCustomYRadius(40);
    EXPECT_EQ(c.CustomYRadius(), 40);
    c.SetCircled(true);
    EXPECT_TRUE(a.Circled());
    EXPECT_EQ(a.CustomYRadius(), 0);
    EXPECT_EQ(c.CustomYRadius(), 0);
}

TEST(PieModel, SeveralPiesShareTheChartRectangleInCells)
{
    struct TCase {
        int pies;
        int columns, rows;
    };
    // n = 4 gives two rows: R(2.5) rounds to even.
    const TCase cases[] = {{2, 1, 2}, {3, 2, 2}, {4, 2, 2}, {5, 2, 3}};
    for (const TCase& c : cases) {
        TPieBench b;
        for (int k = 0; k < c.pies; ++k) b.AddPie({1, 2});
        b.PrepareAndLayout();
        const int w = 400 / c.columns, h = 300 / c.rows;
        for (int k = 0; k < c.pies; ++k) {
            auto& s = dynamic_cast<TPieSeries&>(*b.Series[static_cast<std::size_t>(k)]);
            s.FireBeforeDrawValues();
            const TRect cell{40 + (k % c.columns) * w, 20 + (k / c.columns) * h, 40 + (k % c.columns + 1) * w,
                             20 + (k / c.columns + 1) * h};
            EXPECT_EQ(s.CircleXCenter(), (cell.Left + cell.Right - (cell.Right - cell.Left) % 2) / 2) << c.pies << " pie " << k;
            EXPECT_EQ(s.CircleYCenter(), (cell.Top + cell.Bottom - (cell.Bottom - cell.Top) % 2) / 2) << c.pies << " pie " << k;
            s.FireAfterDrawValues();
            EXPECT_EQ(b.Chart.ChartRect(), BenchChartRect) << "given back after the pie";
        }
    }
    // A disabled multi-pie and an inactive one take the whole rectangle.
    TPieBench b;
    auto& one = b.AddPie({1});
    auto& two = b.AddPie({1});
    two.SetActive(false);
    b.PrepareAndLayout();
    one.FireBeforeDrawValues();
    EXPECT_EQ(one.CircleRect(), BenchChartRect);
    one.FireAfterDrawValues();
    two.SetActive(true);
    one.SetMultiPie(mpDisabled);
    one.FireBeforeDrawValues();
    EXPECT_EQ(one.CircleRect(), BenchChartRect);
}

TEST(PieModel, ExplodeBiggest)
{
    TPieBench b;
    auto& s = b.AddPie({3, 9, 9, 2});
    s.ExplodePercents().SetValue(3, 15);
    s.SetExplodeBiggest(30);
    EXPECT_EQ(Explodes(s, 4), (std::vector<int>{0, 30, 0, 15})) << "the first of equal maxima";
    // Paged: the biggest of the points on the page.
    b.Chart.SetMaxPointsPerPage(2);
    b.Chart.SetPage(2);
    b.PrepareAndLayout();
    s.CalcExplodeBiggest();
    EXPECT_EQ(Explodes(s, 4), (std::vector<int>{0, 30, 30, 15}));
}

TEST(PieModel, ChartViewSwitchedWhileAPieIsInTheChart)
{
    TPieBench b;
    TView3DOptions& view = b.Chart.View3DOptions();
    view.SetRotation(20);
    view.SetElevation(330);
    view.SetPerspective(40);
    view.SetTilt(5);
    view.SetOrthogonal(true);
    auto expectOwn = [&](const char* when) {
        EXPECT_EQ(view.Rotation(), 20) << when;
        EXPECT_EQ(view.Elevation(), 330) << when;
        EXPECT_EQ(view.Perspective(), 40) << when;
        EXPECT_EQ(view.Tilt(), 5) << when;
        EXPECT_TRUE(view.Orthogonal()) << when;
    };
    auto expectPie = [&](const char* when) {
        EXPECT_EQ(view.Rotation(), 360) << when;
        EXPECT_EQ(view.Elevation(), 315) << when;
        EXPECT_EQ(view.Perspective(), 0) << when;
        EXPECT_EQ(view.Tilt(), 0) << when;
        EXPECT_FALSE(view.Orthogonal()) << when;
    };
    auto& s = b.AddPie({1, 2});
    expectPie("joined");
    s.SetParentChart(nullptr);
    expectOwn("left");
    s.SetParentChart(&b.Chart);
    expectPie("joined again");
    s.SetActive(false);
    expectOwn("deactivated");
    s.SetActive(true);
    expectPie("activated");
    b.Series.clear();
    expectOwn("freed");
}

TEST(PieModel, ParentView3DSetsThePieViewAndCircled)
{
    TPieBench b;
    auto& s = b.AddPie({1, 2});
    s.SetParentView3D(false);
    EXPECT_FALSE(b.Chart.View3D());
    EXPECT_TRUE(s.Circled());
    EXPECT_EQ(b.Chart.View3DOptions().Elevation(), 305);
    EXPECT_EQ(b.Chart.View3DOptions().Rotation(), 0);
    s.SetParentView3D(true);
    EXPECT_TRUE(b.Chart.View3D());
    EXPECT_FALSE(s.Circled());
}

TEST(PieModel, ExplodePercentsFollowTheirPoints)
{
    TPieBench b;
    auto& s = b.AddPie({1, 2, 3, 4});
    for (int i = 0; i < 4; ++i) s.ExplodePercents().SetValue(i, 10 * i);
    s.DeletePoint(1);
    EXPECT_EQ(Explodes(s, 3), (std::vector<int>{0, 20, 30}));
    s.SwapValueIndex(0, 2);
    EXPECT_EQ(Explodes(s, 3), (std::vector<int>{30, 20, 0}));
    EXPECT_EQ(s.YValues().ValueAt(0), 4);

    // A short list is padded to the points before the exchange.
    auto& t = b.AddPie({1, 2, 3, 4});
    t.ExplodePercents().SetValue(0, 7);
    t.SwapValueIndex(0, 3);
    EXPECT_EQ(t.ExplodePercents().Count(), 4);
    EXPECT_EQ(Explodes(t, 4), (std::vector<int>{0, 0, 0, 7}));
    // An empty list stays empty; deleting past its end changes nothing.
    auto& u = b.AddPie({1, 2, 3});
    u.SwapValueIndex(0, 1);
    u.DeletePoint(2);
    EXPECT_EQ(u.ExplodePercents().Count(), 0);
    EXPECT_EQ(u.ExplodePercents().ValueAt(5), 0);
    t.ClearPoints();
    EXPECT_EQ(t.ExplodePercents().Count(), 0);
    EXPECT_TRUE(t.SliceAngles().empty());
}

TEST(PieModel, ConstructionCopyAndAxes)
{
    TPieBench b;
    b.FixAxes(-3, 7, 2, 12);
    auto& s = b.AddPie({1, 2});
    EXPECT_TRUE(TPieSeries(nullptr).Marks().Visible());
    EXPECT_EQ(s.Marks().Callout().Length(), 8);
    EXPECT_EQ(s.XValues().Name(), "");
    EXPECT_EQ(s.PieValues().Name(), "Pie");
    EXPECT_EQ(s.Gradient().Direction(), gdRadial);
    EXPECT_EQ(s.Shadow().Color(), static_cast<TColor>(0xA0A0A0));
    EXPECT_TRUE(s.ColorEachPoint());
    EXPECT_FALSE(s.KeepsOwnValues());
    EXPECT_FALSE(s.UsesAxes());
    EXPECT_EQ(s.EditorFormName(), "TPieSeriesEditor");
    // A pie never changes an axis range.
    b.Layout();
    EXPECT_EQ(s.LowestX(), -3);
    EXPECT_EQ(s.HighestX(), 7);
    EXPECT_EQ(s.LowestY(), 2);
    EXPECT_EQ(s.HighestY(), 12);

    s.SetAngleSize(180);
    s.SetDarkPen(40);
    s.SetExplodeBiggest(20);
    s.SetUsePatterns(true);
    s.SetRotationAngle(45);
    s.SetCircled(true);
    s.SetDonutPercent(30);
    s.SetMultiPie(mpDisabled);
    s.SetColorEachPoint(false);
    s.ExplodePercents().SetValue(1, 25);
    s.OtherSlice().SetStyle(poBelowValue);
    s.Shadow().SetColor(clBlue);
    TPieSeries copy(nullptr);
    copy.Assign(s);
    EXPECT_EQ(copy.AngleSize(), 180);
    EXPECT_EQ(copy.DarkPen(), 40);
    EXPECT_EQ(copy.ExplodeBiggest(), 20);
    EXPECT_TRUE(copy.UsePatterns());
    EXPECT_EQ(copy.RotationAngle(), 45);
    EXPECT_NEAR(copy.RotationRadians(), Pi / 4, 1e-15);
    EXPECT_TRUE(copy.Circled());
    EXPECT_EQ(copy.ExplodePercents().ValueAt(1), 25);
    EXPECT_EQ(copy.OtherSlice().Style(), poBelowValue);
    EXPECT_EQ(copy.Shadow().Color(), clBlue);
    EXPECT_EQ(copy.DonutPercent(), 0) << "not copied";
    EXPECT_EQ(copy.MultiPie(), mpAutomatic) << "not copied";
    EXPECT_TRUE(copy.ColorEachPoint()) << "always on after a copy";
}

TEST(PieModel, SamplesAndGallery)
{
    TPieBench b;
    auto& s = b.AddPie({});
    EXPECT_EQ(s.DefaultSampleCount(), 8);
    s.AddRandomSampleValues(10, false);
    ASSERT_EQ(s.PointCount(), 10);
    EXPECT_EQ(s.PointLabel(0), "Cars");
    EXPECT_EQ(s.PointLabel(7), "Chairs");
    EXPECT_EQ(s.PointLabel(8), "Cars");
    for (int i = 0; i < 10; ++i) {
        EXPECT_GE(s.YValues().ValueAt(i), 1);
        EXPECT_LE(s.YValues().ValueAt(i), 1000);
        EXPECT_EQ(s.XValues().ValueAt(i), i);
    }
    std::vector<std::string> styles;
    s.ListGalleryStyles([&](const std::string& name) { styles.push_back(name); });
    EXPECT_EQ(styles, (std::vector<std::string>{"Normal", "Patterns", "Exploded", "Shadow", "Marks", "Semi Pie",
                                                "No Border", "Dark Border"}));
    s.ApplyGalleryStyle(&s, 1);
    EXPECT_TRUE(s.UsePatterns());
    s.ApplyGalleryStyle(&s, 2);
    EXPECT_EQ(s.ExplodeBiggest(), 30);
    s.ApplyGalleryStyle(&s, 3);
    EXPECT_EQ(s.Shadow().HorizSize(), 10);
    EXPECT_EQ(s.Shadow().VertSize(), 10);
    s.ApplyGalleryStyle(&s, 4);
    ASSERT_EQ(s.PointCount(), 2);
    EXPECT_EQ(s.PointLabel(1), "B");
    EXPECT_EQ(s.YValues().ValueAt(1), 70);
    s.ApplyGalleryStyle(&s, 5);
    EXPECT_EQ(s.AngleSize(), 180);
    s.ApplyGalleryStyle(&s, 6);
    EXPECT_FALSE(s.PiePen().Visible());
    s.ApplyGalleryStyle(&s, 7);
    EXPECT_EQ(s.DarkPen(), 32);
    s.PrepareForGallery(false);
    EXPECT_EQ(s.PointCount(), 8);
    EXPECT_EQ(b.Chart.Chart3DPercent(), 75);
    EXPECT_EQ(s.Marks().Callout().Length(), 0);
    EXPECT_TRUE(s.Gradient().Visible());
    EXPECT_FALSE(s.ColorEachPoint());
    EXPECT_EQ(b.Chart.View3DOptions().Elevation(), 305);
}
