// Axis labels taken from the series' marks and point labels, as (pixel, text) lists read back from the
// recording device, and the room the widest mark asks for the label zone.
#include "EngineKit.h"

#include <gtest/gtest.h>

namespace {

using TLabels = std::vector<std::pair<int, std::string>>;

struct TMarkLabelChart : TRecordedChart {
    TTestSeries Series;
    TMarkLabelChart() : TRecordedChart({50, 20, 250, 320}) { Series.SetParentChart(&Chart); }
    ~TMarkLabelChart() { Series.SetParentChart(nullptr); }

    TLabels Walk(TChartAxis& Axis)
    {
        Scale(Axis);
        Axis.BindPositionCalculators();
        Recorder->Clear();
        Axis.DrawLabels();
        return Texts(Axis.Horizontal());
    }
};

} // namespace

TEST(AxisMarkLabels, MarkTextsAndPointLabelsStandAtTheirPoints)
{
    TMarkLabelChart c;
    // x 0..20 over 200 pixels.
    const double xs[] = {0, 5, 10, 20};
    const double ys[] = {1.5, 30, 7, 42};
    const char* labels[] = {"a", "", "c", "d"};
    for (int i = 0; i < 4; ++i) c.Series.InsertPoint(xs[i], ys[i], labels[i]);
    c.Series.Marks().SetStyle(smsLabelValue);
    TChartAxis& axis = c.Chart.BottomAxis();
    axis.SetLabelsSeparation(0);

    axis.SetLabelStyle(talMark);
    EXPECT_EQ(c.Walk(axis), (TLabels{{50, "a 1.5"}, {100, " 30"}, {150, "c 7"}, {250, "d 42"}}));
    axis.SetLabelStyle(talText);
    EXPECT_EQ(c.Walk(axis), (TLabels{{50, "a"}, {150, "c"}, {250, "d"}}));

    // The chart's label event sees every text; an emptied text gives no label.
    c.Chart.OnGetAxisLabel = [](TChartAxis*, TChartSeries*, int index, std::string& text) {
        if (index == 2) text.clear();
    };
    axis.SetLabelStyle(talMark);
    EXPECT_EQ(c.Walk(axis), (TLabels{{50, "a 1.5"}, {100, " 30"}, {250, "d 42"}}));
    c.Chart.OnGetAxisLabel = nullptr;

    // A vertical axis labels the marks at the points' y.
    TChartAxis& left = c.Chart.LeftAxis();
    left.SetLabelStyle(talMark);
    left.SetLabelsSeparation(0);
    const TLabels vertical = c.Walk(left);
    ASSERT_EQ(vertical.size(), 4u);
    EXPECT_EQ(vertical[3].second, "d 42");
}

TEST(AxisMarkLabels, WidestMarkGivesTheLabelZone)
{
    TMarkLabelChart c;
    c.Series.InsertPoint(0, 5);
    c.Series.InsertPoint(1, 12345);
    c.Series.Marks().SetStyle(smsValue);
    c.Series.Marks().SetVisible(true);
    c.Chart.ChartCanvas().SelectFont(c.Series.Marks().Font());
    // "12,345" in the recorder's font: 6 characters of 5 pixels.
    EXPECT_EQ(c.Series.WidestMarkText(), 30);
    EXPECT_EQ(c.Chart.WidestSeriesMark(), 30);
    c.Series.Marks().Items().ItemAt(1).SetVisible(false);
    EXPECT_EQ(c.Series.WidestMarkText(), 5);
    c.Series.SetActive(false);
    EXPECT_EQ(c.Chart.WidestSeriesMark(), 0);
    TChartAxis& axis = c.Chart.LeftAxis();
    axis.SetLabelStyle(talMark);
    c.Series.SetActive(true);
    EXPECT_EQ(axis.MaxLabelsWidth(), 5);
}
