// The funnel series on a real chart: slice colours by ratio and limit, the quota order, the hidden vertical
// axis, the fill polygons' click table, marks with the slice's ratio (a quote of 0 included), legend
// entries, extents, samples, the recalculation rules, stored rules and degenerate values.
#include "chart/extras/LumFunnel.h"

#include "ExtrasTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Quotes 30, 20, 10 with ratios 1, 0.75 and 0.65, added in the order given; axes -0.5..2.5 and 0..30.
struct TFunnelChart : TRenderChart {
    TFunnelSeries& Funnel;
    explicit TFunnelChart(bool Sorted = false) : TRenderChart(-0.5, 2.5, 0, 30), Funnel(Add<TFunnelSeries>())
    {
        Funnel.SetQuotesSorted(Sorted);
        Funnel.LinesPen().SetVisible(false);
        Funnel.AddSegment(10, 6.5, "c");
        Funnel.AddSegment(30, 30, "a");
        Funnel.AddSegment(20, 15, "b");
    }
};

} // namespace

TEST(FunnelSeries, SliceColoursByRatioInQuotaOrder)
{
    for (const bool is3D : {false, true}) {
        TFunnelChart c;
        c.Chart.SetView3D(is3D);
        const auto b = c.Render();
        KeepShot(*b, is3D ? "funnel-3d" : "funnel-2d");
        EXPECT_EQ(c.Funnel.QuoteValues().ValueAt(0), 30.0);
        EXPECT_EQ(c.Funnel.PointLabel(2), "c");
        EXPECT_EQ(c.Funnel.XValueAt(2), 2.0) << "X holds the indices after sorting";
        // Each slice's centre column at value 12 lies within its fill.
        const TColor expected[] = {TColor(0x008000), TColor(0x00FFFF), TColor(0x0000FF)};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(c.Funnel.SliceColor(i), expected[i]) << i;
            if (!is3D) {
                EXPECT_EQ(b->PixelRGB(c.X(i), c.Y(12)), expected[i]) << i;
            }
        }
        if (!is3D) {
            // Slice 1 is filled to 20.83 only; slice 2 to 17.5.
            EXPECT_EQ(b->PixelRGB(c.X(1), c.Y(23)), c.Back());
            EXPECT_EQ(b->PixelRGB(c.X(2), c.Y(19)), c.Back());
        }
    }
    TFunnelChart sorted(true);
    EXPECT_EQ(sorted.Funnel.QuoteValues().ValueAt(0), 10.0) << "kept in the adding order";
}

TEST(FunnelSeries, RatioColoursAtTheLimit)
{
    struct Case {
        double quote, opportunity, limit;
        TColor expected;
    };
    const Case cases[] = {
        {10, 10, 30, TColor(0x008000)}, {10, 12, 30, TColor(0x008000)}, {10, 7.5, 30, TColor(0x00FFFF)},
        {10, 7.1, 30, TColor(0x00FFFF)},{10, 6.5, 30, TColor(0x0000FF)}, {10, 6.5, 40, TColor(0x00FFFF)},
        {0, 5, 30, TColor(0x0000FF)},
    };
    for (const Case& k : cases) {
        TFunnelSeries f(nullptr);
        f.SetDifferenceLimit(k.limit);
        f.AddSegment(k.quote, k.opportunity);
        EXPECT_EQ(f.SliceColor(0), k.expected) << k.quote << " " << k.opportunity << " " << k.limit;
    }
}

TEST(FunnelSeries, VerticalAxisHiddenWhileActive)
{
    for (const bool active : {true, false}) {
        TFunnelChart c;
        c.Chart.SetAxisVisible(true);
        c.Funnel.SetActive(active);
        c.Render();
        EXPECT_EQ(c.Chart.LeftAxis().Visible(), !active);
    }
}

TEST(FunnelSeries, ClickHitsTheFillPolygons)
{
    TFunnelChart c;
    c.Render();
    const std::pair<std::pair<double, double>, int> cases[] = {
        {{0, 12}, 0}, {{0, 28}, 0}, {{1, 12}, 1}, {{1, 23}, -1}, {{2, 12}, 2}, {{2, 19}, -1}, {{2, 5}, -1}};
    for (const auto& [v, expected] : cases) EXPECT_EQ(c.Funnel.PointAtPixel(c.X(v.first), c.Y(v.second)), expected) << v.first << "," << v.second;
}

TEST(FunnelSeries, MarksShowTheSlicesRatio)
{
    TFunnelSeries f(nullptr);
    f.AddSegment(20, 15);
    f.AddSegment(0, 5);
    EXPECT_EQ(f.ComposeMarkText(0), "75.00 %");
    EXPECT_EQ(f.ComposeMarkText(1), "0.00 %") << "a quote of 0 fills nothing";
    EXPECT_EQ(f.LegendEntryCount(), 3);
    EXPECT_EQ(f.LegendTextOf(0, ltsPlain), "Exceeds quota");
    EXPECT_EQ(f.LegendTextOf(1, ltsPlain), "30.00 % within quota");
    EXPECT_EQ(f.LegendTextOf(2, ltsPlain), "30.00 % or more below quota");
    EXPECT_EQ(f.LegendColorOf(0), f.AboveColor());
    EXPECT_EQ(f.LegendColorOf(1), f.WithinColor());
    EXPECT_EQ(f.LegendColorOf(2), f.BelowColor());
    EXPECT_EQ(f.LowestX(), -0.5);
    EXPECT_EQ(f.HighestX(), 1.5);
    EXPECT_EQ(f.LowestY(), 0.0);
    TFunnelChart c;
    c.Funnel.Marks().SetVisible(true);
    EXPECT_NO_THROW(c.Render());
}

TEST(FunnelSeries, RecalculationRules)
{
    TFunnelSeries f(nullptr);
    f.AddSegment(40, 1);
    f.AddSegment(10, 1);
    // Adds recalculate while AutoUpdate is on: the slices use 40 and 10.
    TRenderChart c(-0.5, 1.5, 0, 40);
    auto& drawn = c.Add<TFunnelSeries>();
    drawn.AddSegment(40, 40);
    drawn.AddSegment(10, 10);
    c.Render();
    const std::vector<TPoint> whole = drawn.FillPolygon(0);
    ASSERT_EQ(whole.size(), 4u);
    EXPECT_EQ(whole[0].y, c.Y(40));
    EXPECT_EQ(whole[1].y, c.Y(40 - 7.5)) << "step (40 - 10) / 2 / 2";
    // With AutoUpdate off the geometry waits for Recalc.
    drawn.SetAutoUpdate(false);
    drawn.AddSegment(80, 80);
    EXPECT_EQ(drawn.FillPolygon(0)[0].y, c.Y(40));
    drawn.Recalc();
    EXPECT_EQ(drawn.FillPolygon(0)[0].y, c.Y(80));
    EXPECT_EQ(f.EditorFormName(), "TFunnelSeriesEditor");
    EXPECT_FALSE(f.HasSeriesColor());
}

TEST(FunnelSeries, SamplesAndStoredRules)
{
    TFunnelSeries f(nullptr);
    f.FillSampleValues(4);
    ASSERT_EQ(f.PointCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(f.QuoteValues().ValueAt(i), 2.3 * 4 * (4 - i)) << "sorted descending";
        EXPECT_EQ(f.PointLabel(i), "Segment " + std::to_string(4 - i));
    }
    for (const char* p : {"AutoUpdate", "QuotesSorted", "DifferenceLimit", "AboveColor", "WithinColor", "BelowColor"})
        EXPECT_FALSE(Stored(f, p)) << p;
    EXPECT_TRUE(Stored(f, "PercentFormat")) << "the funnel's own percent format";
    f.SetDifferenceLimit(12);
    f.SetBelowColor(clBlack);
    EXPECT_TRUE(Stored(f, "DifferenceLimit"));
    EXPECT_TRUE(Stored(f, "BelowColor"));
}

TEST(FunnelSeries, DegenerateValues)
{
    const std::vector<std::vector<std::pair<double, double>>> sets{
        {}, {{5, 5}}, {{3, 1}, {3, 1}, {3, 1}}, {{0, 0}, {0, 0}}, {{NaN, 1}, {2, NaN}}, {{1e300, 1}, {-1e300, 2}}};
    for (const auto& values : sets)
        for (const bool is3D : {false, true}) {
            TRenderChart c(-0.5, 3, 0, 10);
            c.Chart.SetView3D(is3D);
            auto& f = c.Add<TFunnelSeries>();
            f.Marks().SetVisible(true);
            for (const auto& [q, o] : values) f.AddSegment(q, o);
            EXPECT_NO_THROW(c.Render()) << values.size();
            EXPECT_NO_THROW(f.PointAtPixel(240, 170));
        }
}
