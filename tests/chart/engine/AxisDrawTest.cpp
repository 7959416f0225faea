// Axes laid out with CalcLayout and drawn with PaintAxis on the recording device: the room taken for
// labels and ticks, the axis line, ticks, grid lines, inner and minor ticks at the pixels they belong to,
// centred grids, the grey default grid pen, "0" for zero labels, flat titles, alternate labels, the label
// event, drawing with a temporary range, and the hit test.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {
using TSegment = TRecordedChart::TSegment;

// The recorder's font: 11 pixels high, 5 wide per character.
constexpr int CharHeight = 11;

struct TAxisChart : TRecordedChart {
    TTestSeries Series;
    TAxisChart() : TRecordedChart({50, 20, 250, 320}) { Series.SetParentChart(&Chart); }

    // Lays the axis out taking its room from the chart rectangle, makes the rest the chart rectangle and
    // draws the axis there.
    void LayOutAndPaint(TChartAxis& axis)
    {
        axis.ComputeAutoRange();
        axis.CalcPixelRange();
        TRect r = Chart.ChartRect();
        axis.CalcLayout(r, true);
        Chart.SetChartRect(r);
        Chart.RecalcChartRect();
        axis.CalcPixelRange();
        axis.BindPositionCalculators();
        Recorder->Clear();
        axis.PaintAxis(true);
    }

    std::vector<TSegment> Where(bool (*test)(const TSegment&)) const
    {
        std::vector<TSegment> out;
        for (const TSegment& s : Segments())
            if (test(s)) out.push_back(s);
        return out;
    }
};

std::vector<int> XsOf(const std::vector<TSegment>& segments)
{
    std::vector<int> out;
    for (const TSegment& s : segments) out.push_back(s.x0);
    return out;
}
} // namespace

TEST(AxisDraw, BottomAxisLineTicksGridAndMinorTicks)
{
    TAxisChart c;
    c.Series.InsertPoint(0, 0);
    c.Series.InsertPoint(100, 1);
    TChartAxis& axis = c.Chart.BottomAxis();
    c.LayOutAndPaint(axis);

    // Labels take one text line, ticks the axis pen (2 + 1) and the tick length 4.
    EXPECT_EQ(axis.LabelsPosition, 320 - CharHeight);
    EXPECT_EQ(c.Chart.ChartRect().Bottom, 320 - CharHeight - 7);
    EXPECT_EQ(axis.AxisPosition, 302);

    const auto segments = c.Segments();
    ASSERT_FALSE(segments.empty());
    EXPECT_EQ(segments.front(), (TSegment{50, 302, 250, 302}));          // the axis line

    std::vector<int> labelPixels;
    for (int v = 100; v >= 10; v -= 10) labelPixels.push_back(50 + 2 * v);
    EXPECT_EQ(axis.TickPositions, labelPixels);
    const auto ticks = c.Where([](const TSegment& s) { return s.y0 == 303 && s.y1 == 307; });
    EXPECT_EQ(XsOf(ticks), labelPixels);
    const auto grid = c.Where([](const TSegment& s) { return s.y0 == 21 && s.y1 == 302; });
    EXPECT_EQ(XsOf(grid), labelPixels);

    // Three minor ticks in every interval and beyond the last tick, none beyond the axis end.
    const auto minor = c.Where([](const TSegment& s) { return s.y0 == 303 && s.y1 == 305; });
    std::set<int> expected;
    for (int t = 70; t <= 250; t += 20)
        for (int j = 1; j <= 3; ++j)
            if (t - 5 * j > 50) expected.insert(t - 5 * j);
    const std::vector<int> minorXs = XsOf(minor);
    EXPECT_EQ(std::set<int>(minorXs.begin(), minorXs.end()), expected);
    EXPECT_EQ(minor.size(), expected.size());

    // The labels stand on their pixels just outside the ticks.
    for (const auto* r : c.Recorder->OfKind("TextOut")) EXPECT_EQ(r->Args[1], axis.LabelsPosition);
}

TEST(AxisDraw, LeftAxisTakesTheWidthOfItsWidestEndLabel)
{
    TAxisChart c;
    c.Series.AppendValue(0);
    c.Series.AppendValue(100);
    TChartAxis& axis = c.Chart.LeftAxis();
    c.LayOutAndPaint(axis);
    const int zone = 3 * 5 + 5;                   // "100" and a blank
    EXPECT_EQ(axis.LabelsPosition, 50 + zone);
    EXPECT_EQ(axis.AxisPosition, 50 + zone + 7);
    EXPECT_EQ(c.Segments().front(), (TSegment{77, 20, 77, 320}));
    const auto texts = c.Texts(false);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), (std::pair<int, std::string>{20 - CharHeight / 2, "100"}));
}

TEST(AxisDraw, CentredGridGreyPenZeroLabelsAndInnerTicks)
{
    TAxisChart c;
    c.Series.InsertPoint(-25, 0);
    c.Series.InsertPoint(100, 1);
    TChartAxis& axis = c.Chart.BottomAxis();
    axis.SetIncrement(25);
    axis.SetGridCentered(true);
    axis.Grid().SetColor(clDefault);
    axis.SetAxisValuesFormat("0.00");
    axis.SetTickInnerLength(3);
    axis.MinorTicks().SetVisible(false);
    c.LayOutAndPaint(axis);

    ASSERT_EQ(axis.TickPositions, (std::vector<int>{250, 210, 170, 130, 90}));
    std::vector<const TRecordingBackend::TRecord*> grid;
    for (const auto* r : c.Recorder->OfKind("LineTo"))
        if (r->Shape.Stroke[0].Points.front().y == 21) grid.push_back(r);
    ASSERT_EQ(grid.size(), 4u);                                        // five ticks, four lines between
    EXPECT_EQ(grid[0]->Shape.Stroke[0].Points.front().x, 230);
    EXPECT_EQ(grid[3]->Shape.Stroke[0].Points.front().x, 110);
    for (const auto* r : grid) EXPECT_EQ(r->Shape.Pen.Color, 0x808080);

    std::vector<std::string> texts;
    for (const auto& t : c.Texts(true)) texts.push_back(t.second);
    EXPECT_EQ(texts, (std::vector<std::string>{"100.00", "75.00", "50.00", "25.00", "0"}));

    // Inner ticks: from one pixel inside the line, three pixels into the plot.
    const auto inner = c.Where([](const TSegment& s) { return s.y0 == 301 && s.y1 == 298; });
    EXPECT_EQ(XsOf(inner), axis.TickPositions);
}

TEST(AxisDraw, FlatTitleAlternateLabelsAndTheLabelEvent)
{
    TAxisChart c;
    c.Series.AppendValue(0);
    c.Series.AppendValue(100);
    TChartAxis& axis = c.Chart.LeftAxis();
    axis.Title().SetCaption("Depth");
    axis.TitleFlat = true;
    axis.ComputeAutoRange();
    axis.CalcPixelRange();
    TRect r = c.Chart.ChartRect();
    axis.CalcLayout(r, false);                    // positions only
    EXPECT_EQ(r, c.Chart.ChartRect());
    EXPECT_EQ(axis.LabelsPosition, 50 - 7);
    EXPECT_EQ(axis.TitlePosition, 50 - 7 - 20);
    c.Recorder->Clear();
    axis.PaintAxis(false);
    const auto* title = c.Recorder->OfKind("TextOut").front();
    EXPECT_EQ(title->Text, "Depth");
    EXPECT_EQ(title->Args[0], (50 - 7 - 20) / 2);
    EXPECT_EQ(title->Args[1], axis.CenterPixel);
    EXPECT_EQ(title->TextCmd.Angle, 0);

    // A cancelled label is not written, but its tick stays.
    axis.TitleFlat = false;
    axis.Title().SetCaption("");
    axis.OnDrawLabel = [](TChartAxis*, int&, int&, int&, std::string& text, bool& draw) { draw = text != "50"; };
    c.Recorder->Clear();
    axis.PaintAxis(false);
    const auto texts = c.Texts(false);
    EXPECT_TRUE(std::none_of(texts.begin(), texts.end(), [](const auto& t) { return t.second == "50"; }));
    EXPECT_EQ(axis.TickPositions.size(), texts.size() + 1);

    // Alternate labels: a zone twice as wide, the first label moved out by the widest label.
    axis.OnDrawLabel = nullptr;
    axis.SetLabelsAlternate(true);
    EXPECT_EQ(axis.LabelZoneSize(), 40);
    c.Recorder->Clear();
    axis.PaintAxis(false);
    const auto xs = c.Recorder->OfKind("TextOut");
    ASSERT_GE(xs.size(), 2u);
    EXPECT_EQ(xs[0]->Args[0], axis.LabelsPosition - 20);
    EXPECT_EQ(xs[1]->Args[0], axis.LabelsPosition);
}

TEST(AxisDraw, DrawingWithATemporaryRangeRestoresTheAxis)
{
    TAxisChart c;
    c.Series.InsertPoint(0, 0);
    c.Series.InsertPoint(100, 1);
    TChartAxis& axis = c.Chart.BottomAxis();
    c.Recorder->Clear();
    axis.DrawWithRange(330, 345, 250, 50, false, 320, 0, 4, 1);
    std::vector<std::string> texts;
    for (const auto& t : c.Texts(true)) texts.push_back(t.second);
    EXPECT_EQ(texts, (std::vector<std::string>{"4", "3", "2", "1"}));
    EXPECT_TRUE(c.Where([](const TSegment& s) { return s.y0 == 21; }).empty());   // no grid this time
    EXPECT_TRUE(axis.Automatic());
    EXPECT_EQ(axis.Increment(), 0);
    EXPECT_TRUE(axis.Grid().Visible());
}

TEST(AxisDraw, HitTestCoversLineAndLabels)
{
    TAxisChart c;
    c.Series.InsertPoint(0, 0);
    c.Series.InsertPoint(100, 1);
    TChartAxis& axis = c.Chart.BottomAxis();
    c.LayOutAndPaint(axis);
    EXPECT_EQ(axis.GetAxisRect(), (TRect{50, 299, 250, 309}));
    EXPECT_FALSE(axis.HitTest(100, 300));         // not shown yet
    axis.Shown = c.Chart.ComputeAxisVisible(axis);
    EXPECT_TRUE(axis.HitTest(100, 300));
    EXPECT_TRUE(axis.HitTest(100, 310));
    EXPECT_FALSE(axis.HitTest(100, 311));
    EXPECT_FALSE(axis.HitTest(100, 290));
}

// In 3-D the depth axis shows the series' titles along the depth, one slot each.
TEST(AxisDraw, DepthAxisShowsSeriesTitlesInThreeD)
{
    TRecordedChart rc({50, 20, 450, 320});
    TTestChart& chart = rc.Chart;
    chart.SetView3D(true);
    chart.ChartCanvas().SetupView(&rc.Device, &chart.View3DOptions(), clWhite, true, {0, 0, 600, 400});
    TTestSeries a, b;
    a.SetTitle("near");
    b.SetTitle("far");
    for (TTestSeries* s : {&a, &b}) {
        s->SetParentChart(&chart);
        s->AppendValue(1);
    }
    chart.SetMaxZOrder(-1);
    a.ComputeZOrder();
    b.ComputeZOrder();
    chart.ComputeDepthSizes();
    TChartDepthAxis& depth = chart.DepthAxis();
    depth.SetVisible(true);
    EXPECT_TRUE(chart.ComputeAxisVisible(depth));
    depth.ComputeAutoRange();
    EXPECT_EQ(depth.CurrentMinimum, -0.5);
    EXPECT_EQ(depth.CurrentMaximum, 1.5);
    depth.CalcPixelRange();
    EXPECT_EQ(depth.EndPixel, chart.Width3D());
    TRect r = chart.ChartRect();
    depth.CalcLayout(r, true);
    rc.Recorder->Clear();
    depth.PaintAxis(true);
    std::vector<std::string> texts;
    for (const auto* t : rc.Recorder->OfKind("TextOut")) texts.push_back(t->Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"near", "far"}));
    EXPECT_EQ(depth.TickPositions.size(), 2u);
    EXPECT_FALSE(rc.Recorder->OfKind("LineTo").empty());
}
