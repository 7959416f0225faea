// The line-point, bar-join, 3-D bar and donut series on a real chart: guide lines to a left axis placed at
// half the width, joints between bars per bar style (none for one bar), bars from their offsets with the
// range and marks they imply, the donut's hole, and their copying, samples and degenerate points.
#include "chart/extras/Bar3D.h"
#include "chart/extras/LumDonut.h"
#include "chart/extras/MyPoint.h"

#include "ExtrasTestSupport.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// The runs of a colour along row Y: (first, last) columns.
std::vector<std::pair<int, int>> Runs(const TBitmap& B, int Y, TColor Color)
{
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < B.Width(); ++x) {
        if (B.PixelRGB(x, Y) != Color) continue;
        if (!runs.empty() && runs.back().second == x - 1)
            runs.back().second = x;
        else
            runs.emplace_back(x, x);
    }
    return runs;
}

} // namespace

TEST(LinePointSeries, GuideLinesRunToTheAxesWhereverTheyStand)
{
    TRenderChart c;
    c.Chart.SetAxisVisible(true);
    c.Chart.LeftAxis().SetPositionPercent(50);
    auto& s = c.Add<TMyPointSeries>();
    s.SetSeriesColor(clBlue);
    s.InsertPoint(8, 5); // (360, 170)
    const auto b = c.Render();
    KeepShot(*b, "line-point");
    EXPECT_EQ(s.LinesPen().Color(), TColor(0x0000FF));
    // From the left axis in the middle (x = 240) to the point, then down to the bottom axis (y = 320).
    EXPECT_EQ(b->PixelRGB(300, 170), clRed);
    EXPECT_EQ(b->PixelRGB(245, 170), clRed);
    EXPECT_NE(b->PixelRGB(200, 170), clRed);
    EXPECT_EQ(b->PixelRGB(360, 250), clRed);
    EXPECT_NE(b->PixelRGB(360, 100), clRed);
    EXPECT_TRUE(AnyNear(*b, 360, 170, clBlue, 2)) << "the diamond on top";
    TMyPointSeries t(nullptr);
    s.LinesPen().SetWidth(3);
    t.Assign(s);
    EXPECT_EQ(t.LinesPen().Width(), 3);
    EXPECT_EQ(t.Pointer().Style(), psDiamond);
    EXPECT_FALSE(t.Pointer().Draw3D());
    EXPECT_EQ(t.EditorFormName(), "TLinePointEditor");
}

TEST(BarJoinSeries, JointsPerBarStyle)
{
    struct Case {
        TBarStyle style;
        int bars;
    };
    for (const Case k : {Case{bsRectangle, 3}, Case{bsCone, 3}, Case{bsRectangle, 1}}) {
        TRenderChart c(-0.5, 2.5, 0, 10);
        auto& s = c.Add<TBarJoinSeries>();
        s.SetSeriesColor(clRed);
        s.SetBarStyle(k.style);
        s.JoinPen().SetColor(clLime);
        const double values[] = {4, 8, 6};
        for (int i = 0; i < k.bars; ++i) s.InsertPoint(i, values[i]);
        const auto b = c.Render();
        KeepShot(*b, "bar-join-" + std::to_string(int(k.style)) + "-" + std::to_string(k.bars));
        const int green = CountColor(*b, {0, 0, 480, 340}, clLime);
        if (k.bars == 1) {
            EXPECT_EQ(green, 0) << "one bar, no joint";
            continue;
        }
        const auto runs = Runs(*b, 315, clRed);
        ASSERT_EQ(runs.size(), 3u) << k.style;
        const int centre0 = (runs[0].first + runs[0].second) / 2;
        // Rectangles: the joint spans the gaps only; cones: it runs from centre to centre.
        const int overBar0 = CountColor(*b, {centre0, 0, runs[0].second - 2, 340}, clLime);
        const int inGap = CountColor(*b, {runs[0].second + 2, 0, runs[1].first - 1, 340}, clLime);
        EXPECT_GT(inGap, 0) << k.style;
        if (k.style == bsRectangle)
            EXPECT_EQ(overBar0, 0);
        else
            EXPECT_GT(overBar0, 0);
    }
    TBarJoinSeries s(nullptr);
    EXPECT_EQ(s.DefaultSampleCount(), 3);
    EXPECT_EQ(s.EditorFormName(), "TBarJoinEditor");
    TRenderChart c;
    auto& g = c.Add<TBarJoinSeries>();
    g.PrepareForGallery(true);
    EXPECT_EQ(g.JoinPen().Color(), TColor(0xFF0000));
    EXPECT_EQ(g.JoinPen().Width(), 2);
    EXPECT_EQ(g.PointCount(), 2);
}

TEST(Bar3DSeries, BarsStartAtTheirOffsets)
{
    TRenderChart c(-0.5, 1.5, 0, 10);
    auto& s = c.Add<TBar3DSeries>();
    s.SetSeriesColor(clRed);
    s.AddBar(0, 8, 3);
    s.AddBar(1, 5, 0);
    const auto b = c.Render();
    KeepShot(*b, "bar3d");
    // Bar 0 from 3 to 8: y 230 .. 80; bar 1 from 0 to 5: y 320 .. 170.
    EXPECT_EQ(b->PixelRGB(140, 150), clRed);
    EXPECT_NE(b->PixelRGB(140, 260), clRed) << "nothing below the offset";
    EXPECT_EQ(b->PixelRGB(340, 260), clRed);
    EXPECT_NE(b->PixelRGB(340, 150), clRed);
    EXPECT_EQ(s.DisplayValueAt(0), 11.0);
}

TEST(Bar3DSeries, RangesAndMarksFollowTheOffsets)
{
    struct Case {
        TMultiBar multi;
        double low, high;
    };
    for (const Case k : {Case{mbNone, -5, 3}, Case{mbSide, -5, 3}, Case{mbStacked, 0, 3}}) {
        TBar3DSeries s(nullptr);
        s.SetMultiBar(k.multi);
        s.AddBar(0, 3, -5);
        s.Marks().SetStyle(smsValue);
        EXPECT_EQ(s.LowestY(), k.low) << k.multi;
        EXPECT_EQ(s.HighestY(), k.high) << k.multi;
        EXPECT_EQ(s.DisplayValueAt(0), -2.0);
        EXPECT_EQ(s.ComposeMarkText(0), "-2");
    }
    TBar3DSeries s(nullptr);
    s.AddBar(0, 2, 9);
    EXPECT_EQ(s.HighestY(), 9.0);
    EXPECT_FALSE(s.OffersStackVariants());
    EXPECT_EQ(s.OffsetValues().Name(), "Offset");
    EXPECT_EQ(s.BarOriginValue(0, false), 9.0);
    s.FillSampleValues(5);
    ASSERT_EQ(s.PointCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_GE(s.YValueAt(i), 10.0);
        EXPECT_GE(s.OffsetValues().ValueAt(i), 0.0);
    }
}

TEST(DonutSeries, TheHoleAndItsCopy)
{
    int centre[2];
    for (const int hole : {0, 50}) {
        TRenderChart c;
        auto& s = c.Add<TDonutSeries>();
        s.SetDonutPercent(hole);
        s.SetColorEachPoint(false);
        s.SetSeriesColor(clRed);
        s.AppendValue(3, {}, clRed);
        s.AppendValue(5, {}, clRed);
        const auto b = c.Render();
        KeepShot(*b, "donut-" + std::to_string(hole));
        centre[hole ? 1 : 0] = CountColor(*b, {230, 160, 250, 180}, clRed);
        EXPECT_EQ(b->PixelRGB(240, 70), clRed) << hole;
    }
    EXPECT_GT(centre[0], 300) << "a pie is full at its centre";
    EXPECT_EQ(centre[1], 0) << "the donut's hole";

    TDonutSeries a(nullptr), b(nullptr);
    EXPECT_EQ(a.DonutPercent(), 50);
    EXPECT_FALSE(Stored(a, "DonutPercent"));
    a.SetDonutPercent(0);
    b.Assign(a);
    EXPECT_EQ(b.DonutPercent(), 50) << "a donut of 0 % gives 50";
    a.SetDonutPercent(70);
    b.Assign(a);
    EXPECT_EQ(b.DonutPercent(), 70);
    EXPECT_EQ(b.EditorFormName(), "TDonutSeriesEditor");
}

TEST(LinePointBarsDonut, DegeneratePoints)
{
    const std::vector<std::vector<double>> sets{{}, {5}, {3, 3, 3}, {NaN, 1}, {1e300, -1e300}};
    for (const auto& values : sets)
        for (const bool is3D : {false, true}) {
            TRenderChart c;
            c.Chart.SetView3D(is3D);
            auto& lp = c.Add<TMyPointSeries>();
            auto& bj = c.Add<TBarJoinSeries>();
            auto& b3 = c.Add<TBar3DSeries>();
            auto& dn = c.Add<TDonutSeries>();
            for (std::size_t i = 0; i < values.size(); ++i) {
                lp.InsertPoint(double(i), values[i]);
                bj.InsertPoint(double(i), values[i]);
                b3.AddBar(double(i), values[i], values[i] / 2);
                dn.AppendValue(values[i]);
            }
            EXPECT_NO_THROW(c.Render()) << values.size();
            for (TChartSeries* s : std::initializer_list<TChartSeries*>{&lp, &bj, &b3, &dn}) EXPECT_NO_THROW(s->PointAtPixel(240, 170));
        }
}
