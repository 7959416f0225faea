// Thinning pixel columns of a thin solid line: a line of many points per column, with each column reduced
// to its first, lowest, highest and last points, lights exactly the pixels of the full line. Checked on
// polylines and on whole charts of both line kinds against the same chart drawn segment by segment; wider
// or broken pens, pointers and marks draw what the full drawing draws.
#include "SeriesTestSupport.h"

#include "chart/series/SeriesColumns.h"
#include "platform/graphics/Canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

namespace {

// Shapes of data, many points to a pixel column: value i, or the step to it for a walk.
struct TShape {
    const char* Name;
    bool Walk;
    std::function<double(int i, std::mt19937& random)> Value;
};

const TShape Shapes[] = {
    {"random walk", true, [](int, std::mt19937& r) { return std::normal_distribution<double>(0, 1)(r); }},
    {"steps", false, [](int i, std::mt19937&) { return double((i / 997) % 5); }},
    {"spikes", false, [](int i, std::mt19937&) { return i % 613 == 0 ? 40.0 : (i % 389 == 0 ? -40.0 : 0.0); }},
    {"sine", false, [](int i, std::mt19937&) { return 30 * std::sin(i * 0.0007); }},
};

std::vector<double> Values(const TShape& Shape, int Count)
{
    std::mt19937 random(7);
    std::vector<double> v;
    double sum = 0;
    for (int i = 0; i < Count; ++i) {
        const double value = Shape.Value(i, random);
        sum += value;
        v.push_back(Shape.Walk ? sum : value);
    }
    return v;
}

std::vector<TColor> Pixels(TBitmap& b)
{
    std::vector<TColor> px;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) px.push_back(b.PixelRGB(x, y));
    return px;
}

TEST(ColumnThinning, PolylinesKeepTheirPixels)
{
    for (const TShape& shape : Shapes) {
        const std::vector<double> v = Values(shape, 20000);
        const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
        // 20000 points over 300 columns, and in reverse (an inverted axis).
        for (bool reversed : {false, true}) {
            std::vector<TPoint> run;
            for (int i = 0; i < 20000; ++i) {
                const int x = 10 + i * 300 / 20000;
                run.push_back({reversed ? 320 - x : x, 10 + int(std::lround((v[std::size_t(i)] - *lo) / (*hi - *lo + 1e-9) * 180))});
            }
            std::vector<TPoint> thin = run;
            ReduceRunByColumns(thin);
            EXPECT_LE(thin.size(), 4u * 301) << shape.Name;
            EXPECT_EQ(thin.front(), run.front());
            EXPECT_EQ(thin.back(), run.back());
            TBitmap full(330, 200), reduced(330, 200);
            for (auto [bitmap, points] : {std::pair{&full, &run}, std::pair{&reduced, &thin}}) {
                TCanvas& c = bitmap->Canvas();
                c.Pen().SetColor(clRed);
                c.Pen().SetWidth(1);
                c.Pen().SetStyle(psSolid);
                c.Polyline(*points);
            }
            EXPECT_EQ(Pixels(full), Pixels(reduced)) << shape.Name << (reversed ? " reversed" : "");
        }
    }
    // A run that ends on a pixel its last column passed before: that pixel shows, as in the full line.
    std::vector<TPoint> back{{0, 0}, {1, 5}, {1, 1}, {1, 9}, {1, 2}, {1, 1}};
    TBitmap a(12, 12), b(12, 12);
    a.Canvas().Polyline(back);
    ReduceRunByColumns(back);
    b.Canvas().Polyline(back);
    EXPECT_EQ(Pixels(a), Pixels(b));
    EXPECT_EQ(a.PixelRGB(1, 1), clBlack);
    // Few points to a column: nothing changes, repeated points included.
    std::vector<TPoint> few{{1, 1}, {1, 1}, {2, 5}, {2, 3}, {2, 9}, {2, 4}, {3, 3}};
    const std::vector<TPoint> before = few;
    ReduceRunByColumns(few);
    EXPECT_EQ(few, before);
}

// A whole chart with a thin solid line, drawn thinned and in full.
template <class TKind>
void CompareChart(const TShape& Shape, bool Nulls, bool Inverted)
{
    TSeriesBench thin, full;
    for (TSeriesBench* b : {&thin, &full}) {
        const std::vector<double> v = Values(Shape, 12000);
        auto& s = b->Add<TKind>();
        for (int i = 0; i < 12000; ++i) {
            if (Nulls && i % 1501 == 700)
                s.InsertNullPoint(i, v[std::size_t(i)]);
            else
                s.InsertPoint(i, v[std::size_t(i)]);
        }
        s.SetSeriesColor(clBlue);
        b->Chart.LeftAxis().SetInverted(Inverted);
        b->Chart.BottomAxis().SetInverted(Inverted);
    }
    auto a = thin.Render();
    SeriesColumnsSettings().Thinning = false;
    auto b = full.Render();
    SeriesColumnsSettings().Thinning = true;
    int blue = 0;
    for (int y = 0; y < a->Height(); ++y)
        for (int x = 0; x < a->Width(); ++x) blue += a->PixelRGB(x, y) == clBlue;
    EXPECT_GT(blue, 300) << Shape.Name;
    const std::vector<TColor> pa = Pixels(*a), pb = Pixels(*b);
    int differ = 0;
    for (std::size_t i = 0; i < pa.size(); ++i) differ += pa[i] != pb[i];
    EXPECT_EQ(differ, 0) << typeid(TKind).name() << " " << Shape.Name << (Nulls ? " with nulls" : "") << (Inverted ? " inverted" : "");
}

TEST(ColumnThinning, ChartsOfBothLineKindsDrawTheFullLinesPixels)
{
    for (const TShape& shape : Shapes)
        for (auto [nulls, inverted] : {std::pair{false, false}, std::pair{true, false}, std::pair{false, true}}) {
            CompareChart<TLineSeries>(shape, nulls, inverted);
            CompareChart<TFastLineSeries>(shape, nulls, inverted);
        }
}

} // namespace

namespace {

// What a line series of random-walk points draws on the recording device: polyline vertices and line
// ends, pointer shapes, texts.
struct TDrawnCounts {
    std::size_t Vertices = 0, Shapes = 0, Texts = 0;
    bool operator==(const TDrawnCounts&) const = default;
};

template <class TKind>
TDrawnCounts DrawnCounts(int Count, const std::function<void(TKind&)>& SetUp)
{
    TSeriesBench b;
    auto& s = b.template Add<TKind>(Values(Shapes[0], Count));
    SetUp(s);
    b.Chart.SetBufferedDisplay(false);
    b.Recorder->Clear();
    b.Chart.DrawOnCanvas(b.Device, {0, 0, 480, 340});
    TDrawnCounts c;
    for (const auto& r : b.Recorder->Records) {
        if (r.Kind == "Polyline") c.Vertices += r.Points.size();
        if (r.Kind == "LineTo") c.Vertices += 1;
        if (r.Kind == "Rectangle") c.Shapes += 1;
        if (r.Kind == "TextOut") c.Texts += 1;
    }
    return c;
}

// The counts with thinning on, then off.
template <class TKind>
std::pair<TDrawnCounts, TDrawnCounts> ThinnedAndFull(const std::function<void(TKind&)>& SetUp)
{
    // 4000 points over the chart's 400 columns: ten to a column.
    const TDrawnCounts thinned = DrawnCounts<TKind>(4000, SetUp);
    SeriesColumnsSettings().Thinning = false;
    const TDrawnCounts full = DrawnCounts<TKind>(4000, SetUp);
    SeriesColumnsSettings().Thinning = true;
    return {thinned, full};
}

} // namespace

TEST(ColumnThinning, OtherPensPointersAndMarksDrawEverySegment)
{
    // Only a thin solid line loses points.
    const auto [line, lineFull] = ThinnedAndFull<TLineSeries>([](TLineSeries&) {});
    EXPECT_LT(line.Vertices * 2, lineFull.Vertices);
    const auto [fast, fastFull] = ThinnedAndFull<TFastLineSeries>([](TFastLineSeries&) {});
    EXPECT_LT(fast.Vertices * 2, fastFull.Vertices);

    // Wide, dashed and dotted pens draw what the full drawing draws; so do pointers and marks.
    const std::function<void(TChartPen&)> pens[] = {
        [](TChartPen& p) { p.SetWidth(2); },
        [](TChartPen& p) { p.SetStyle(psDash); },
        [](TChartPen& p) { p.SetStyle(psDot); },
    };
    for (std::size_t i = 0; i < std::size(pens); ++i) {
        const auto [a, b] = ThinnedAndFull<TLineSeries>([&](TLineSeries& s) { pens[i](s.LinePen()); });
        EXPECT_EQ(a, b) << "line, pen " << i;
        EXPECT_GT(a.Vertices, std::size_t(3000)) << "line, pen " << i;
        const auto [c, d] = ThinnedAndFull<TFastLineSeries>([&](TFastLineSeries& s) { pens[i](s.LinePen()); });
        EXPECT_EQ(c, d) << "fast line, pen " << i;
        EXPECT_GT(c.Vertices, std::size_t(4000)) << "fast line, pen " << i;
    }
    const auto [pointers, pointersFull] = ThinnedAndFull<TLineSeries>([](TLineSeries& s) { s.Pointer().SetVisible(true); });
    EXPECT_EQ(pointers.Shapes, pointersFull.Shapes);
    EXPECT_EQ(pointers.Shapes, std::size_t(4000)) << "a pointer at every point";
    const auto [marks, marksFull] = ThinnedAndFull<TLineSeries>([](TLineSeries& s) { s.Marks().SetVisible(true); });
    EXPECT_EQ(marks.Texts, marksFull.Texts);
}
