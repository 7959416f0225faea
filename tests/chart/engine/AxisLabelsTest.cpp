// Axis labels as the walks draw them, read back from the recording device as (pixel, text) lists: linear,
// logarithmic, signed logarithmic and calendar walks, label offsets, the chart's label events, point
// labels of the series, custom items; and the label texts and styles.
#include "EngineTestSupport.h"

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/PixelMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {
using TLabels = std::vector<std::pair<int, std::string>>;

// The recorder's font: 11 pixels high, 5 wide per character. A label of a vertical axis is written half
// a character height above its pixel.
constexpr int HalfHeight = 5;

struct TAxisLabelChart : TRecordedChart {
    TTestSeries Series;
    explicit TAxisLabelChart(const TRect& rect = {50, 20, 250, 320}) : TRecordedChart(rect) { Series.SetParentChart(&Chart); }

    TLabels Walk(TChartAxis& axis)
    {
        Scale(axis);
        axis.BindPositionCalculators();
        axis.IsDateTime = axis.ShowsDateTime();
        Recorder->Clear();
        axis.DrawLabels();
        return Texts(axis.Horizontal());
    }
};

TLabels Shifted(TLabels labels, int dy)
{
    for (auto& l : labels) l.first += dy;
    return labels;
}
} // namespace

TEST(AxisLabels, LinearWalkRunsDownFromTheTopValue)
{
    // 200 pixels, "100" is 15 wide (+10 % separation): 12 labels fit, the step grows to 10.
    TAxisLabelChart c;
    c.Series.InsertPoint(0, 0);
    c.Series.InsertPoint(100, 1);
    TChartAxis& axis = c.Chart.BottomAxis();
    const TLabels labels = c.Walk(axis);
    TLabels expected;
    for (int v = 100; v >= 10; v -= 10) expected.emplace_back(50 + 2 * v, std::to_string(v));
    EXPECT_EQ(labels, expected);                           // the minimum 0 gets no label
    EXPECT_EQ(axis.TickPositions.size(), expected.size()); // ticks only at drawn labels

    // A range across zero: the minimum itself stays unlabelled.
    c.Series.ClearPoints();
    c.Series.InsertPoint(-50, 0);
    c.Series.InsertPoint(50, 1);
    axis.SetIncrement(25);
    EXPECT_EQ(c.Walk(axis), (TLabels{{250, "50"}, {200, "25"}, {150, "0"}, {100, "-25"}}));

    // Without RoundFirstLabel the first label is the maximum itself.
    c.Series.ClearPoints();
    c.Series.InsertPoint(0, 0);
    c.Series.InsertPoint(97, 1);
    axis.SetIncrement(0);
    axis.SetRoundFirstLabel(false);
    const TLabels unrounded = c.Walk(axis);
    ASSERT_FALSE(unrounded.empty());
    EXPECT_EQ(unrounded.front(), (std::pair<int, std::string>{250, "97"}));
    EXPECT_EQ(unrounded[1].second, "77");                 // "48.5" sets the width: steps of 20
}

TEST(AxisLabels, TinyRangeGivesOneLabel)
{
    TAxisLabelChart c;
    c.Series.AppendValue(0);
    c.Series.AppendValue(1e-11);
    TChartAxis& axis = c.Chart.LeftAxis();
    axis.SetAxisValuesFormat("0.##E+0");
    EXPECT_EQ(c.Walk(axis).size(), 1u);
}

TEST(AxisLabels, LabelValueOffsetShiftsTheTextsNotThePixels)
{
    TAxisLabelChart c;
    c.Series.InsertPoint(0, 0);
    c.Series.InsertPoint(50, 1);
    TChartAxis& axis = c.Chart.BottomAxis();
    axis.SetIncrement(10);
    axis.LabelValueOffset = -100;
    const double ppu = 200.0 / 50;
    TLabels expected;
    for (int v = 50; v >= 10; v -= 10) expected.emplace_back(50 + PixelFromReal(v * ppu), std::to_string(v - 100));
    EXPECT_EQ(c.Walk(axis), expected);
    axis.LabelValueOffset = 0;
    for (auto& e : expected) e.second = std::to_string(std::stoi(e.second) + 100);
    EXPECT_EQ(c.Walk(axis), expected);
}

TEST(AxisLabels, LogarithmicWalksByDecades)
{
    TAxisLabelChart c;
    c.Series.AppendValue(1);
    c.Series.AppendValue(1000);
    TChartAxis& axis = c.Chart.LeftAxis();
    axis.SetLogarithmic(true);
    // Left axis 20..320: one decade is 100 pixels.
    EXPECT_EQ(c.Walk(axis), Shifted(TLabels{{320, "1"}, {220, "10"}, {120, "100"}, {20, "1,000"}}, -HalfHeight));
}

TEST(AxisLabels, SignedLogarithmicWalkPassesThroughZero)
{
    TAxisLabelChart c;
    c.Series.AppendValue(-1000);
    c.Series.AppendValue(1000);
    TChartAxis& axis = c.Chart.LeftAxis();
    axis.DecShift = 2;                                    // C = 10 / 9
    axis.SetLogarithmic(true);
    const TLabels labels = c.Walk(axis);
    ASSERT_NEAR(axis.SignedLogScale, 10.0 / 9, 1e-12);
    const double c9 = axis.SignedLogScale;
    const double top = SymLogTransform(c9, 1000);
    TLabels expected;
    const std::pair<double, const char*> values[] = {{-1000, "-1,000"}, {-100, "-100"}, {-10, "-10"}, {0, "0"},
                                                     {10, "10"}, {100, "100"}, {1000, "1,000"}};
    for (const auto& [v, text] : values)
        expected.emplace_back(320 - PixelFromReal((SymLogTransform(c9, v) + top) * 300 / (2 * top)) - HalfHeight, text);
    EXPECT_EQ(labels, expected);
}

TEST(AxisLabels, CalendarStepsFollowTheMonths)
{
    TAxisLabelChart c({50, 20, 450, 320});
    const double first = EncodeDate(2004, 1, 1);
    c.Series.XValues().InitDateTime(true);
    c.Series.InsertPoint(first, 0);
    c.Series.InsertPoint(EncodeDate(2004, 12, 31), 1);
    TChartAxis& axis = c.Chart.BottomAxis();
    axis.SetDateTimeFormat("yyyy-mm-dd");
    axis.SetIncrement(30);                                // a month: the labels take two-month steps
    const TLabels labels = c.Walk(axis);
    const double ppu = 400 / (EncodeDate(2004, 12, 31) - first);
    TLabels expected;
    for (int month : {12, 10, 8, 6, 4, 2}) {
        const double d = EncodeDate(2004, month, 1);
        expected.emplace_back(50 + PixelFromReal((d - first) * ppu), FormatDateTime("yyyy-mm-dd", d));
    }
    EXPECT_EQ(labels, expected);
}

TEST(AxisLabels, TheChartsEventCanSupplyTheValues)
{
    TAxisLabelChart c;
    c.Series.InsertPoint(0, 0);
    c.Series.InsertPoint(100, 1);
    TChartAxis& axis = c.Chart.BottomAxis();
    c.Chart.OnGetNextAxisLabel = [](TChartAxis*, int, double&, bool&) {};   // stops at once
    EXPECT_EQ(c.Walk(axis).size(), 10u);                                    // the normal labels

    c.Chart.OnGetNextAxisLabel = [](TChartAxis*, int index, double& value, bool& stop) {
        value = 7 + 40 * index;                                             // 7, 47, 87, 127 ...
        stop = false;
    };
    EXPECT_EQ(c.Walk(axis), (TLabels{{64, "7"}, {144, "47"}, {224, "87"}}));

    c.Chart.OnGetNextAxisLabel = nullptr;
    c.Chart.OnGetAxisLabel = [](TChartAxis*, TChartSeries*, int, std::string& text) { text = "<" + text + ">"; };
    EXPECT_EQ(c.Walk(axis).front().second, "<100>");
}

TEST(AxisLabels, PointLabelsStandAtTheirPointsWithoutOverlap)
{
    TAxisLabelChart c;
    const std::pair<double, const char*> points[] = {{0, "alphabet"}, {2, "b"}, {4, "c"}, {6, "d"}, {20, "e"}};
    for (const auto& [x, name] : points) c.Series.InsertPoint(x, 0, name);
    TChartAxis& axis = c.Chart.BottomAxis();
    EXPECT_EQ(axis.CalcLabelStyle(), talText);
    // 0..20 over 200 pixels. "alphabet" (40 wide) reaches to 70, where "b" (half 3 with separation)
    // would begin at 67: skipped; "c" clears it.
    EXPECT_EQ(c.Walk(axis), (TLabels{{50, "alphabet"}, {90, "c"}, {110, "d"}, {250, "e"}}));
    EXPECT_EQ(axis.TickPositions, (std::vector<int>{50, 90, 110, 250}));
}

TEST(AxisLabels, CustomItemsReplaceTheWalk)
{
    TAxisLabelChart c;
    c.Series.InsertPoint(0, 0);
    c.Series.InsertPoint(100, 1);
    TChartAxis& axis = c.Chart.BottomAxis();
    axis.Items().Add(25, "quarter");
    axis.Items().Add(60);
    axis.Items().Add(130, "outside");
    EXPECT_EQ(c.Walk(axis), (TLabels{{100, "quarter"}, {170, "60"}}));
}

TEST(AxisLabels, TextsOfValues)
{
    TTestChart chart;
    TChartAxis& axis = chart.LeftAxis();
    EXPECT_EQ(axis.FormatLabelValue(1234.5), "1,234.5");
    TFormatSettings saved = FormatSettings();
    FormatSettings().DecimalSeparator = ',';
    FormatSettings().ThousandSeparator = '.';
    EXPECT_EQ(axis.FormatLabelValue(1234.5), "1.234,5");
    FormatSettings() = saved;

    axis.IsDateTime = true;
    axis.SetDateTimeFormat("yyyy-mm-dd hh:nn");
    axis.SetLabelsMultiLine(true);
    EXPECT_EQ(axis.FormatLabelValue(EncodeDate(2004, 5, 6) + 0.5), "2004-05-06\r12:00");
    EXPECT_EQ(axis.FormatLabelValue(-1), "");

    EXPECT_EQ(ParseNumberInRange("1,5", true, 0, 0), 1.5);
    EXPECT_EQ(ParseNumberInRange("abc", true, 0, 0), 123456789.0);
    EXPECT_EQ(ParseNumberInRange("5", true, 1, 5), 5);
    EXPECT_EQ(ParseNumberInRange("5", false, 1, 5), 123456789.0);
    EXPECT_EQ(LineCount("a\rb"), 2);
    EXPECT_EQ(LineCount("a\r"), 1);
    EXPECT_EQ(LineCount(""), 0);
}

TEST(AxisLabels, AutomaticLabelStyle)
{
    TTestChart chart;
    EXPECT_EQ(chart.BottomAxis().AutoLabelStyle(), talNone);
    TTestSeries s;
    s.SetParentChart(&chart);
    s.AppendValue(1);
    EXPECT_EQ(chart.BottomAxis().AutoLabelStyle(), talValue);
    s.AppendValue(2, "two");
    EXPECT_EQ(chart.BottomAxis().AutoLabelStyle(), talText);
    EXPECT_EQ(chart.LeftAxis().AutoLabelStyle(), talValue);   // the points do not run along it
    EXPECT_EQ(chart.DepthAxis().AutoLabelStyle(), talText);
    s.SetActive(false);
    EXPECT_EQ(chart.BottomAxis().AutoLabelStyle(), talNone);
}
