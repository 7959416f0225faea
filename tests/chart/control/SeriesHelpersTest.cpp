// Series helpers: series and functions created by class with their owners and names, clones, class
// changes and replacements that keep the series' place and links, the first active series, and a
// series' legend symbol drawn into a bitmap.
#include "ChartTestSupport.h"

#include "chart/engine/LumFunci.h"

#include <gtest/gtest.h>

namespace {

// A series tool that only holds its series.
class TTestSeriesTool : public TLumCustomToolSeries {
public:
    explicit TTestSeriesTool(TComponent* AOwner) : TLumCustomToolSeries(AOwner) {}
};

// A series whose legend symbol cannot be drawn.
class TFailingSymbolSeries : public TLineTestSeries {
public:
    explicit TFailingSymbolSeries(TComponent* AOwner = nullptr) : TLineTestSeries(AOwner) {}
    void PaintLegendShape(int, const TRect&) override { throw Exception("no symbol"); }
};

} // namespace

TEST(ChartSeriesHelpers, NewSeriesOfClassNamesAndOwns)
{
    TComponent form(nullptr);
    TChart chart(&form);
    TChartSeries* first = NewSeriesOfClass(&form, &chart, TLineTestSeries::StaticClassInfo(), nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Name(), "Series1");
    EXPECT_EQ(first->Owner(), &form);
    EXPECT_EQ(first->ParentChart(), &chart);
    EXPECT_EQ(first->AttachedFunction(), nullptr);

    TChartSeries* second =
        NewSeriesOfClass(&form, &chart, TLineTestSeries::StaticClassInfo(), &TAddLumFunction::StaticClassInfo());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Name(), "Series2");
    TLumFunction* function = second->AttachedFunction();
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(&function->ClassInfo(), &TAddLumFunction::StaticClassInfo());
    EXPECT_EQ(function->Name(), "LumFunction1");
    EXPECT_EQ(function->Owner(), &form);
    EXPECT_EQ(chart.CountSeries(), 2);

    // Without an owner the chart owns it; once the chart owns a series it owns every new one.
    TChart other(nullptr);
    TChartSeries* owned = NewSeriesOfClass(nullptr, &other, TLineTestSeries::StaticClassInfo(), nullptr);
    EXPECT_EQ(owned->Owner(), &other);
    TChartSeries* next = NewSeriesOfClass(&form, &other, TLineTestSeries::StaticClassInfo(), nullptr);
    EXPECT_EQ(next->Owner(), &other);
    EXPECT_EQ(next->Name(), "Series2");

    // A class that makes no series gives none.
    EXPECT_EQ(NewSeriesOfClass(&form, &chart, TAddLumFunction::StaticClassInfo(), nullptr), nullptr);
    EXPECT_EQ(chart.CountSeries(), 2);
    EXPECT_EQ(FirstActiveSeries(chart), first);
    first->SetActive(false);
    EXPECT_EQ(FirstActiveSeries(chart), second);
    second->SetActive(false);
    EXPECT_EQ(FirstActiveSeries(chart), nullptr);
}

TEST(ChartSeriesHelpers, CloneSeries)
{
    TComponent form(nullptr);
    TChart chart(&form);
    TChartSeries* original =
        NewSeriesOfClass(&form, &chart, TOtherTestSeries::StaticClassInfo(), &TAverageLumFunction::StaticClassInfo());
    original->SetTitle("Original");
    original->SetSeriesColor(clPurple);
    TChartSeries* clone = CloneSeries(*original);
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(&clone->ClassInfo(), &TOtherTestSeries::StaticClassInfo());
    EXPECT_EQ(clone->Owner(), &form);
    EXPECT_EQ(clone->ParentChart(), &chart);
    EXPECT_EQ(clone->Name(), "Series2");
    EXPECT_EQ(clone->Title(), "Original");
    EXPECT_EQ(clone->SeriesColor(), clPurple);
    ASSERT_NE(clone->AttachedFunction(), nullptr);
    EXPECT_EQ(&clone->AttachedFunction()->ClassInfo(), &TAverageLumFunction::StaticClassInfo());
    EXPECT_NE(clone->AttachedFunction(), original->AttachedFunction());
}

TEST(ChartSeriesHelpers, ChangeSeriesClass)
{
    TComponent form(nullptr);
    TChart chart(&form);
    NewSeriesOfClass(&form, &chart, TLineTestSeries::StaticClassInfo(), nullptr);
    TChartSeries* series = NewSeriesOfClass(&form, &chart, TLineTestSeries::StaticClassInfo(), nullptr);
    NewSeriesOfClass(&form, &chart, TLineTestSeries::StaticClassInfo(), nullptr);
    series->InsertPoint(1, 5);
    TChartSeries* same = series;
    ChangeSeriesClass(series, TLineTestSeries::StaticClassInfo());
    EXPECT_EQ(series, same) << "its own class: untouched";
    EXPECT_EQ(series->Name(), "Series2");

    ChangeSeriesClass(series, TOtherTestSeries::StaticClassInfo());
    ASSERT_NE(series, same);
    EXPECT_EQ(&series->ClassInfo(), &TOtherTestSeries::StaticClassInfo());
    EXPECT_EQ(series->Name(), "Series2");
    EXPECT_EQ(chart.SeriesAt(1), series);
    EXPECT_EQ(chart.CountSeries(), 3);
    EXPECT_EQ(series->PointCount(), 1) << "the points come along";
}

TEST(ChartSeriesHelpers, ReplaceSeriesObjectMovesEverythingThatPointsToIt)
{
    // The events' record outlives the series, whose last clear fires one when the chart frees them.
    std::vector<std::string> fired;
    TComponent form(nullptr);
    TChart chart(&form);
    TChartSeries* before = NewSeriesOfClass(&form, &chart, TLineTestSeries::StaticClassInfo(), nullptr);
    TChartSeries* old = NewSeriesOfClass(&form, &chart, TLineTestSeries::StaticClassInfo(), nullptr);
    TChartSeries* dependent = NewSeriesOfClass(&form, &chart, TLineTestSeries::StaticClassInfo(), nullptr);
    old->SetName("Measured");
    old->SetTitle("Measured data");
    old->InsertPoint(0, 1);
    old->InsertPoint(1, 2);
    dependent->SetDataSource(old);
    ASSERT_EQ(dependent->PointCount(), 2);
    auto* tool = new TTestSeriesTool(&form);
    chart.Tools().AddTool(tool);
    tool->SetSeries(old);
    chart.Legend().AssignSeries(old);

    old->AfterDrawValues = [&](TPersistent*) { fired.push_back("AfterDrawValues"); };
    old->BeforeDrawValues = [&](TPersistent*) { fired.push_back("BeforeDrawValues"); };
    old->OnAfterAdd = [&](TChartSeries*, int) { fired.push_back("OnAfterAdd"); };
    old->OnBeforeAdd = [&](TChartSeries*) {
        fired.push_back("OnBeforeAdd");
        return true;
    };
    old->OnClearValues = [&](TChartSeries*) { fired.push_back("OnClearValues"); };
    old->OnClick = [&](TChartSeries*, int, TMouseButton, TShiftState, int, int) { fired.push_back("OnClick"); };
    old->OnDblClick = [&](TChartSeries*, int, TMouseButton, TShiftState, int, int) { fired.push_back("OnDblClick"); };
    old->OnGetMarkText = [&](TChartSeries*, int, std::string&) { fired.push_back("OnGetMarkText"); };

    auto* replacement = new TOtherTestSeries(&form);
    TChartSeries* variable = old;
    ReplaceSeriesObject(variable, replacement);
    EXPECT_EQ(variable, nullptr) << "the old series is freed and the variable cleared";
    EXPECT_EQ(replacement->Name(), "Measured");
    EXPECT_EQ(replacement->Title(), "Measured data");
    EXPECT_EQ(replacement->PointCount(), 2);
    EXPECT_EQ(chart.CountSeries(), 3);
    EXPECT_EQ(chart.SeriesAt(0), before);
    EXPECT_EQ(chart.SeriesAt(1), replacement) << "the list position";
    EXPECT_EQ(chart.SeriesAt(2), dependent);
    EXPECT_EQ(dependent->DataSource(), replacement) << "dependents take their data from the new series";
    EXPECT_EQ(dependent->DataSources().Count(), 1);
    EXPECT_TRUE(replacement->Dependents().Contains(dependent));
    EXPECT_EQ(tool->Series(), replacement);
    EXPECT_EQ(chart.Legend().Series(), replacement);

    // The eight events came along.
    fired.clear();
    TShiftState none;
    std::string text;
    replacement->AfterDrawValues(replacement);
    replacement->BeforeDrawValues(replacement);
    replacement->OnAfterAdd(replacement, 0);
    replacement->OnBeforeAdd(replacement);
    replacement->OnClearValues(replacement);
    replacement->OnClick(replacement, 0, mbLeft, none, 0, 0);
    replacement->OnDblClick(replacement, 0, mbLeft, none, 0, 0);
    replacement->OnGetMarkText(replacement, 0, text);
    EXPECT_EQ(fired, (std::vector<std::string>{"AfterDrawValues", "BeforeDrawValues", "OnAfterAdd", "OnBeforeAdd",
                                               "OnClearValues", "OnClick", "OnDblClick", "OnGetMarkText"}));

    // The dependent follows the new series from now on.
    fired.clear();
    replacement->InsertPoint(2, 3);
    EXPECT_EQ(dependent->PointCount(), 3);
}

TEST(ChartSeriesHelpers, PaintSeriesLegendSymbolIntoABitmap)
{
    TBitmap bitmap(40, 20);
    bitmap.Canvas().Brush().SetColor(clWhite);
    bitmap.Canvas().FillRect({0, 0, 40, 20});

    // A series without chart: attached to a temporary chart for the call, and let go.
    TLineTestSeries lonely;
    lonely.SetSeriesColor(clRed);
    PaintSeriesLegendSymbol(lonely, bitmap.Canvas(), {5, 5, 30, 15}, nullptr);
    EXPECT_EQ(lonely.ParentChart(), nullptr);
    EXPECT_EQ(bitmap.PixelRGB(15, 10), clRed);
    EXPECT_EQ(bitmap.PixelRGB(35, 10), clWhite);

    // With a chart given: attached to it for the call only.
    TChart chart(nullptr);
    TLineTestSeries visitor;
    visitor.SetSeriesColor(clLime);
    PaintSeriesLegendSymbol(visitor, bitmap.Canvas(), {5, 5, 30, 15}, &chart);
    EXPECT_EQ(visitor.ParentChart(), nullptr);
    EXPECT_EQ(chart.CountSeries(), 0);
    EXPECT_EQ(bitmap.PixelRGB(15, 10), clLime);

    // A series of a chart draws with it, and the chart's canvas goes back to its own target, also when
    // painting raises.
    TCanvas* own = chart.ChartCanvas().AttachedCanvas();
    auto& member = AddSeries<TFailingSymbolSeries>(chart, {1});
    EXPECT_THROW(PaintSeriesLegendSymbol(member, bitmap.Canvas(), {5, 5, 30, 15}, nullptr), Exception);
    EXPECT_EQ(chart.ChartCanvas().AttachedCanvas(), own);
    EXPECT_EQ(member.ParentChart(), &chart);
    TFailingSymbolSeries failing;
    EXPECT_THROW(PaintSeriesLegendSymbol(failing, bitmap.Canvas(), {5, 5, 30, 15}, &chart), Exception);
    EXPECT_EQ(failing.ParentChart(), nullptr) << "let go also on failure";
    EXPECT_EQ(chart.CountSeries(), 1);
    // Without a chart of its own or given: the temporary chart lets it go on failure too.
    EXPECT_THROW(PaintSeriesLegendSymbol(failing, bitmap.Canvas(), {5, 5, 30, 15}, nullptr), Exception);
    EXPECT_EQ(failing.ParentChart(), nullptr);
}
