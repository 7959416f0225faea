// The data graphs: the curves of both views from small surveys (weights, null points, values the survey
// did not give, failed calculations), how the data view is set up for them, the Data menu, and the
// curves and legend as drawn.
#include "chart/series/Series.h"
#include "core/Supermath2d.h"
#include "platform/controls/Menus.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/RecordingBackend.h"
#include "tests/views/DataViewFixtures.h"
#include "views/PseudoSection2d.h"
#include "views/ResMainFormData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

using TPoints = std::vector<std::pair<double, double>>;

TPoints PointsOf(const TChartSeries& s)
{
    TPoints points;
    for (int i = 0; i < s.PointCount(); ++i) points.emplace_back(s.XValues().ValueAt(i), s.YValues().ValueAt(i));
    return points;
}

struct TGraphs {
    TPseudoSection2d Data{nullptr};
    TChart Model{nullptr};
    TGraphs()
    {
        Data.CreateDataGraphs();
        Model.BottomAxis().SetFixedRange(-1, 4);
    }
    TPoints Observed() const { return PointsOf(*Data.Series1); }
    TPoints Calculated() const { return PointsOf(*Data.Series2); }
};

const double NaN = std::numeric_limits<double>::quiet_NaN();

struct TGraphCase {
    const char* Name;
    TSmallSurvey Survey;
    int DataType;
    int NullPoint;
    bool DataLoaded;
    TPoints Observed;
    TPoints Calculated;
};

TEST(DataGraphs, CurvesOfSmallSurveys)
{
    const std::vector<double> line = {0, 1, 2, 3};
    const TGraphCase cases[] = {
        {"DU: midpoints", {line, {1, 2, 3}, {4, 5, 6}}, 0, 0, true,
         {{0.5, 1}, {1.5, 2}, {2.5, 3}}, {{0.5, 4}, {1.5, 5}, {2.5, 6}}},
        {"DU: a dU not given is not drawn", {line, {1, 0, 3}, {4, 5, 6}, {}, {true, false, true}}, 0, 0, true,
         {{0.5, 1}, {2.5, 3}}, {{0.5, 4}, {1.5, 5}, {2.5, 6}}},
        {"DU: missing and NaN calculations skipped", {line, {1, 2, 3}, {MissingValue, NaN, 6}}, 0, 0, true,
         {{0.5, 1}, {1.5, 2}, {2.5, 3}}, {{2.5, 6}}},
        {"DU: observed drawn without loaded data", {line, {1, 2, 3}}, 0, 0, false,
         {{0.5, 1}, {1.5, 2}, {2.5, 3}}, {{0.5, 0}, {1.5, 0}, {2.5, 0}}},
        {"Potential from 0", {line, {1, 2, 3}, {1, 2, 3}}, 1, 0, true,
         {{1, 1}, {2, 3}, {3, 6}}, {{1, 1}, {2, 3}, {3, 6}}},
        {"Potential from 2", {line, {1, 2, 3}, {1, 2, 3}}, 1, 2, true,
         {{0, -3}, {1, -2}, {3, 3}}, {{0, -3}, {1, -2}, {3, 3}}},
        {"Potential from M: backward only", {line, {1, 2, 3}, {1, 2, 3}}, 1, 3, true,
         {{0, -6}, {1, -5}, {2, -3}}, {{0, -6}, {1, -5}, {2, -3}}},
        {"Potential without loaded data", {line, {1, 2, 3}, {1, 2, 3}}, 1, 0, false,
         {}, {{1, 1}, {2, 3}, {3, 6}}},
        {"Potential: a dU not given ends the observed run", {{0, 1, 2, 3, 4}, {1, 2, 3, 4}, {1, 1, 1, 1}, {},
                                                            {true, false, true, true}}, 1, 0, true,
         {{1, 1}}, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
        {"Potential: a failed calculation ends its run", {{0, 1, 2, 3, 4}, {1, 1, 1, 1}, {1, NaN, 1, MissingValue}},
         1, 2, true, {{0, -2}, {1, -1}, {3, 1}, {4, 2}}, {{3, 1}}},
        {"Potential: null point below 0", {line, {1, 2, 3}, {1, 2, 3}}, 1, -1, true, {}, {}},
        {"Potential: null point beyond M", {line, {1, 2, 3}, {1, 2, 3}}, 1, 4, true, {}, {}},
    };
    for (const TGraphCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TSurveyState s = MakeSurvey(c.Survey);
        s.DataType = c.DataType;
        s.NullPointIndex = c.NullPoint;
        s.DataLoaded = c.DataLoaded;
        TGraphs g;
        ShowDataGraphs(s, g.Data, g.Model);
        EXPECT_EQ(g.Observed(), c.Observed);
        EXPECT_EQ(g.Calculated(), c.Calculated);
    }
}

TEST(DataGraphs, WeightLabels)
{
    TSurveyState s = MakeSurvey({{0, 1, 2, 3}, {1, 2, 3}, {1, 2, 3}, {1, 2, 0.5}});
    TGraphs g;
    ShowDataGraphs(s, g.Data, g.Model);
    for (TLineSeries* series : {g.Data.Series1, g.Data.Series2}) {
        ASSERT_EQ(series->PointCount(), 3);
        EXPECT_EQ(series->PointLabel(0), "");
        EXPECT_EQ(series->PointLabel(1), "2");
        EXPECT_EQ(series->PointLabel(2), FormatValue(0.5, 0, true));
    }
    // The potential's points carry no label.
    s.DataType = 1;
    ShowDataGraphs(s, g.Data, g.Model);
    for (int i = 0; i < g.Data.Series1->PointCount(); ++i) EXPECT_EQ(g.Data.Series1->PointLabel(i), "");
}

TEST(DataGraphs, SyntheticSurveyShowsOnlyTheCalculatedCurve)
{
    // A made survey gives no dU: none is observed.
    TSurveyState s = MakeSurvey({{0, 1, 2, 3}, {0, 0, 0}, {4, 5, 6}, {}, {false, false, false}});
    s.DataLoaded = false;
    for (int type : {0, 1}) {
        s.DataType = type;
        TGraphs g;
        ShowDataGraphs(s, g.Data, g.Model);
        EXPECT_EQ(g.Data.Series1->PointCount(), 0);
        EXPECT_EQ(g.Data.Series2->PointCount(), 3);
    }
}

TEST(DataGraphs, ViewSetUpForGraphs)
{
    TSurveyState s = MakeSurvey({{0, 1, 2, 3}, {1, 2, 3}});
    TGraphs g;
    g.Data.MarkerSeries->InsertPoint(1, 1, "p1");
    g.Data.MarkerSeries->SetActive(false);
    g.Data.GridSeries->InsertPoint(1, 1);
    g.Model.BottomAxis().SetFixedRange(-7.5, 12.25);
    ShowDataGraphs(s, g.Data, g.Model);

    EXPECT_EQ(g.Data.Series1->Title(), "<font name=arial>dU<font name=arial size=-2>obs");
    EXPECT_EQ(g.Data.Series2->Title(), "<font name=arial>dU<font name=arial size=-2>calc");
    ASSERT_EQ(g.Data.Title().Text().Count(), 1);
    EXPECT_EQ(g.Data.Title().Text()[0], "Self-Potential data");
    EXPECT_EQ(g.Data.LeftAxis().Title().Caption(), " ");
    EXPECT_EQ(g.Data.MarkerSeries->PointCount(), 0);
    EXPECT_TRUE(g.Data.MarkerSeries->Active());
    EXPECT_FALSE(g.Data.StationSeries->Active());
    EXPECT_EQ(g.Data.GridSeries->PointCount(), 0);
    EXPECT_FALSE(g.Data.BottomAxis().Automatic());
    EXPECT_EQ(g.Data.BottomAxis().Minimum(), -7.5);
    EXPECT_EQ(g.Data.BottomAxis().Maximum(), 12.25);

    s.DataType = 1;
    ShowDataGraphs(s, g.Data, g.Model);
    EXPECT_EQ(g.Data.Series1->Title(), "<font name=arial>U<font name=arial size=-2>obs");
    EXPECT_EQ(g.Data.Series2->Title(), "<font name=arial>U<font name=arial size=-2>calc");
}

TEST(DataGraphs, DrawnCurvesAndLegend)
{
    TSurveyState s = MakeSurvey({{0, 1, 2, 3}, {1, 2, 3}, {3, 1, 2}});
    TGraphs g;
    g.Data.SetBounds(0, 0, 790, 339);
    ShowDataGraphs(s, g.Data, g.Model);
    g.Data.PlaceLegend();
    const auto picture = g.Data.RenderToBitmap(clWhite, g.Data.ChartBounds(), pf24bit);
    const TChartAxis& bottom = g.Data.BottomAxis();
    const TChartAxis& left = g.Data.LeftAxis();
    // Each observed point's circle is outlined round its pixel; the calculated curve is red there.
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        const int x = bottom.CalcPosValue(k + 0.5);
        const int yObs = left.CalcPosValue(k + 1.0);
        bool dark = false;
        for (int dx = -2; dx <= 2; ++dx)
            for (int dy = -2; dy <= 2; ++dy) dark = dark || picture->Canvas().Pixels(x + dx, yObs + dy) != clWhite;
        EXPECT_TRUE(dark);
        const int yCalc = left.CalcPosValue(s.DataSets[0].Calculated[k]);
        bool red = false;
        // (the dots may leave the vertex itself out)
        for (int dx = -4; dx <= 4; ++dx)
            for (int dy = -4; dy <= 4; ++dy) red = red || picture->Canvas().Pixels(x + dx, yCalc + dy) == clRed;
        EXPECT_TRUE(red);
    }
    // Between two calculated points the dotted line leaves gaps.
    const int x0 = bottom.CalcPosValue(0.5), x1 = bottom.CalcPosValue(1.5);
    int red = 0, other = 0;
    for (int x = x0 + 3; x < x1 - 3; ++x) {
        const double value = 3 + (1.0 - 3) * (bottom.PixelToValueFloat(x) - 0.5);
        const int y = left.CalcPosValue(value);
        bool hit = false;
        for (int dy = -1; dy <= 1; ++dy) hit = hit || picture->Canvas().Pixels(x, y + dy) == clRed;
        (hit ? red : other)++;
    }
    EXPECT_GT(red, 0);
    EXPECT_GT(other, 0);

    // The legend writes the titles' texts, never their tags.
    auto recorder = std::make_shared<TRecordingBackend>(790, 339);
    TCanvas canvas(recorder);
    g.Data.DrawUnbuffered(canvas, TRect{0, 0, 790, 339});
    std::string legendText;
    for (const auto& rec : recorder->Records) {
        const auto* r = &rec;
        if (r->Text.empty()) continue;
        EXPECT_EQ(r->Text.find('<'), std::string::npos) << r->Text;
        if (r->Args.size() >= 1 && r->Args[0] >= g.Data.Legend().Left()) legendText += r->Text + "|";
    }
    EXPECT_NE(legendText.find("dU"), std::string::npos) << legendText;
    EXPECT_NE(legendText.find("obs"), std::string::npos) << legendText;
    EXPECT_NE(legendText.find("calc"), std::string::npos) << legendText;
}

TEST(DataGraphs, DataMenu)
{
    TMenuItem du(nullptr), potential(nullptr), pointIndex(nullptr);
    TSurveyState s;
    const struct {
        int Type, Null;
        bool Du, Potential;
        const char* Caption;
    } cases[] = {{0, 0, true, false, "Point index 0"}, {1, 12, false, true, "Point index 12"},
                 {2, -3, false, false, "Point index -3"}};
    for (const auto& c : cases) {
        s.DataType = c.Type;
        s.NullPointIndex = c.Null;
        UpdateDataMenu(s, du, potential, pointIndex);
        EXPECT_EQ(du.Checked(), c.Du);
        EXPECT_EQ(potential.Checked(), c.Potential);
        EXPECT_EQ(pointIndex.Caption(), c.Caption);
    }
}

} // namespace
