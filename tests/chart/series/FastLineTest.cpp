// The fast line: the runs its walk draws (nulls skipped or breaking the line, stairs, points on one
// pixel), points added with AutoRepaint off drawn at once without events, the pen and series colour
// following each other, margins by pen width, and the legend symbol.
#include "SeriesTestSupport.h"

#include <gtest/gtest.h>

namespace {

// The polylines drawn since the recorder was cleared.
std::vector<std::vector<TPoint>> Runs(const TRecordingBackend& Recorder)
{
    std::vector<std::vector<TPoint>> runs;
    for (const auto* r : Recorder.OfKind("Polyline")) runs.push_back(r->Points);
    return runs;
}

TPoint P(double X, double Y) { return {PixelX(X), PixelY(Y)}; }

} // namespace

TEST(FastLine, WalkDrawsUnbrokenRuns)
{
    struct Case {
        const char* name;
        std::function<void(TFastLineSeries&)> setUp;
        std::vector<std::vector<TPoint>> runs;
    };
    // Points (0, 1), (1, 3), (2, 2) null, (3, 4), (4, 4.01).
    const Case cases[] = {
        {"nulls ignored: neighbours joined", nullptr, {{P(0, 1), P(1, 3), P(3, 4), P(4, 4.01)}}},
        {"nulls break the line", [](auto& s) { s.SetIgnoreNulls(false); }, {{P(0, 1), P(1, 3)}, {P(3, 4), P(4, 4.01)}}},
        {"stairs",
         [](auto& s) { s.SetStairs(true); },
         {{P(0, 1), {PixelX(1), PixelY(1)}, P(1, 3), {PixelX(3), PixelY(3)}, P(3, 4), {PixelX(4), PixelY(4)}, P(4, 4.01)}}},
        {"inverted stairs",
         [](auto& s) {
             s.SetStairs(true);
             s.SetInvertedStairs(true);
         },
         {{P(0, 1), {PixelX(0), PixelY(3)}, P(1, 3), {PixelX(1), PixelY(4)}, P(3, 4), {PixelX(3), PixelY(4.01)}, P(4, 4.01)}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TSeriesBench b;
        b.FixAxes(0, 10, 0, 10);
        auto& s = b.Add<TFastLineSeries>();
        s.InsertPoint(0, 1);
        s.InsertPoint(1, 3);
        s.InsertNullPoint(2, 2);
        s.InsertPoint(3, 4);
        s.InsertPoint(4, 4.01);
        if (k.setUp) k.setUp(s);
        b.Layout();
        b.Recorder->Clear();
        s.PaintAllPoints();
        EXPECT_EQ(Runs(*b.Recorder), k.runs);
        EXPECT_EQ(s.StartPixel(), P(0, 1));
        EXPECT_EQ(s.LastPixel(), P(4, 4.01));
    }
    // Points on the pixel of the last drawn one are skipped unless every point is drawn.
    TSeriesBench b;
    b.FixAxes(0, 10, 0, 10);
    auto& s = b.Add<TFastLineSeries>({1, 1.001, 1.002, 5}, {0, 0.001, 0.002, 1});
    b.Layout();
    b.Recorder->Clear();
    s.PaintAllPoints();
    ASSERT_EQ(Runs(*b.Recorder).size(), 1u);
    EXPECT_EQ(Runs(*b.Recorder)[0].size(), 4u);
    s.SetDrawAllPoints(false);
    b.Recorder->Clear();
    s.PaintAllPoints();
    EXPECT_EQ(Runs(*b.Recorder), (std::vector<std::vector<TPoint>>{{P(0, 1), P(1, 5)}}));
}

TEST(FastLine, ZoomedWalkStartsOnePointBeforeTheFirstVisible)
{
    TSeriesBench b;
    b.FixAxes(2.5, 10, 0, 10);
    auto& s = b.Add<TFastLineSeries>({1, 2, 3, 4, 5});
    b.Layout();
    ASSERT_EQ(s.FirstVisible(), 3);
    b.Recorder->Clear();
    s.PaintAllPoints();
    ASSERT_EQ(Runs(*b.Recorder).size(), 1u);
    EXPECT_EQ(Runs(*b.Recorder)[0].front(), s.PointPixel(2));
    EXPECT_EQ(s.StartPixel(), s.PointPixel(2));
    EXPECT_THROW(s.PointPixel(5), ERangeError);
    EXPECT_THROW(s.PointPixel(-1), ERangeError);
}

TEST(FastLine, AutoRepaintOffDrawsAddedPointsAtOnceWithoutEvents)
{
    TSeriesBench b;
    b.FixAxes(0, 10, 0, 10);
    auto& s = b.Add<TFastLineSeries>({1, 2});
    int added = 0;
    s.OnAfterAdd = [&](TChartSeries*, int) { ++added; };
    b.Layout();

    // On: the base's way, an event and a repaint per point.
    int before = b.Chart.Invalidations;
    s.InsertPoint(2, 3);
    EXPECT_EQ(added, 1);
    EXPECT_GT(b.Chart.Invalidations, before);

    // Off: no event, no repaint, the new segment on the canvas at once.
    s.SetAutoRepaint(false);
    b.Recorder->Clear();
    before = b.Chart.Invalidations;
    s.InsertPoint(3, 6);
    s.InsertPoint(4, 2);
    EXPECT_EQ(added, 1);
    EXPECT_EQ(b.Chart.Invalidations, before);
    EXPECT_EQ(Runs(*b.Recorder), (std::vector<std::vector<TPoint>>{{P(2, 3), P(3, 6)}, {P(3, 6), P(4, 2)}}));
    EXPECT_EQ(s.LastPixel(), P(4, 2));
    EXPECT_EQ(s.PointCount(), 5);

    // Without a chart the point is only stored.
    TFastLineSeries alone(nullptr);
    alone.SetAutoRepaint(false);
    alone.OnAfterAdd = [&](TChartSeries*, int) { ++added; };
    alone.InsertPoint(0, 1);
    alone.InsertPoint(1, 2);
    EXPECT_EQ(alone.PointCount(), 2);
    EXPECT_EQ(added, 1);
}

TEST(FastLine, PenAndSeriesColourFollowEachOther)
{
    TFastLineSeries s(nullptr);
    TChartPen red;
    red.SetColor(clRed);
    red.SetWidth(3);
    s.SetPen(red);
    EXPECT_EQ(s.SeriesColor(), clRed);
    EXPECT_EQ(s.LinePen().Width(), 3);
    s.SetSeriesColor(clGreen);
    EXPECT_EQ(s.LinePen().Color(), clGreen);
    EXPECT_EQ(s.LinePen().Width(), 3);
}

TEST(FastLine, MarginsGrowWithThePenWidth)
{
    const int expected[] = {1, 1, 2, 3, 3, 4, 4, 5, 5, 6, 6};
    for (int w = 0; w <= 10; ++w) {
        TFastLineSeries s(nullptr);
        s.LinePen().SetWidth(w);
        int l = 0, r = 0, t = 0, bottom = 0;
        s.HorizMargins(l, r);
        s.VertMargins(t, bottom);
        EXPECT_EQ(l, expected[w]) << w;
        EXPECT_EQ(r, expected[w]) << w;
        EXPECT_EQ(t, expected[w]) << w;
        EXPECT_EQ(bottom, expected[w]) << w;
    }
}

TEST(FastLine, LegendSymbolIsALineThroughTheMiddle)
{
    TSeriesBench b;
    auto& s = b.Add<TFastLineSeries>({1, 2});
    b.Layout();
    b.Recorder->Clear();
    s.PaintLegendShape(-1, {10, 5, 30, 14});
    const auto lines = b.Recorder->OfKind("LineTo");
    ASSERT_EQ(lines.size(), 1u);
    const auto& pts = lines[0]->Shape.Stroke.at(0).Points;
    EXPECT_EQ(static_cast<int>(pts.front().x), 10);
    EXPECT_EQ(static_cast<int>(pts.back().x), 30);
    EXPECT_EQ(static_cast<int>(pts.front().y), 9);
    EXPECT_EQ(static_cast<int>(pts.back().y), 9);
}
