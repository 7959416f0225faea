// The axis panel: series joining and leaving with their events, pages, legend items, palette and
// legend rectangles, the series' extremes behind the automatic ranges, axis visibility, the 3-D sizes,
// and the visible and paged index ranges of a series.
#include "EngineTestSupport.h"

#include "chart/base/LumConst.h"

#include "platform/graphics/Printers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
// Records the series events the chart broadcasts.
class TEventLog : public IChartEventListener {
public:
    void HandleChartEvent(TLumEvent& Event) override
    {
        if (auto* e = dynamic_cast<TLumSeriesEvent*>(&Event)) Kinds.push_back(e->Event);
        if (dynamic_cast<TChartChangePage*>(&Event)) ++Pages;
    }
    std::vector<int> Kinds;
    int Pages = 0;
};

void Fill(TChartSeries& s, int n)
{
    for (int i = 0; i < n; ++i) s.AppendValue(i);
}
} // namespace

TEST(AxisPanel, SeriesJoinAndLeaveOnceWithTheirEvents)
{
    TTestChart chart;
    TEventLog log;
    ListAddOnce(chart.Listeners(), &log);
    TTestSeries s;
    s.SetParentChart(&chart);
    chart.AddSeries(&s);                          // already listed: nothing
    EXPECT_EQ(chart.CountSeries(), 1);
    s.SetTitle("T");
    s.SetActive(false);
    s.SetSeriesColor(clBlack);
    s.BeginDataUpdate();
    s.EndDataUpdate();
    TTestSeries other;
    chart.RemoveSeries(&other);                   // not listed: nothing
    s.SetParentChart(nullptr);
    EXPECT_EQ(chart.CountSeries(), 0);
    EXPECT_EQ(log.Kinds, (std::vector<int>{seColor, seAdded, seTitle, seActive, seColor, seDataChanged, seRemoved}));
    EXPECT_EQ(s.GetHorizAxis(), nullptr);
}

TEST(AxisPanel, ARemovedSeriesAndItsMarksForgetTheChart)
{
    TTestChart chart;
    TTestSeries s;
    s.SetParentChart(&chart);
    ASSERT_EQ(s.Marks().ParentChart(), &chart);
    chart.RemoveSeries(&s);
    EXPECT_EQ(s.ParentChart(), nullptr);
    EXPECT_EQ(s.Marks().ParentChart(), nullptr);
    s.Marks().RepaintParent(); // nothing to repaint, and no chart reached
    s.SetParentChart(&chart);
    EXPECT_EQ(s.Marks().ParentChart(), &chart);
}

TEST(AxisPanel, PagesFollowThePointsPerPage)
{
    TTestChart chart;
    TEventLog log;
    ListAddOnce(chart.Listeners(), &log);
    TTestSeries s;
    s.SetParentChart(&chart);
    Fill(s, 25);
    EXPECT_EQ(chart.CountPages(), 1);             // no paging
    chart.SetMaxPointsPerPage(10);
    EXPECT_EQ(chart.CountPages(), 3);
    chart.SetPage(5);
    EXPECT_EQ(chart.Page(), 3);
    chart.SetPage(0);
    EXPECT_EQ(chart.Page(), 1);
    EXPECT_GE(log.Pages, 3);

    try {
        chart.SetMaxPointsPerPage(-1);
        FAIL();
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), LumConst::MaxPointsPerPageNegative);
    }
    chart.SetPage(3);
    chart.SetMaxPointsPerPage(20);                // two pages now: the page is pulled back
    EXPECT_EQ(chart.Page(), 2);

    try {
        chart.SetChart3DPercent(0);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "3D effect percent must be between 1 and 100");
    }
    EXPECT_EQ(chart.Chart3DPercent(), 15);
}

TEST(AxisPanel, PagedAndVisibleIndexRanges)
{
    TRecordedChart rc;
    TTestSeries s;
    s.SetParentChart(&rc.Chart);
    Fill(s, 25);
    int first = 0, last = 0;
    rc.Chart.SetMaxPointsPerPage(10);
    struct Case { int page, first, last; };
    for (const Case& c : {Case{1, 0, 9}, Case{3, 20, 24}}) {
        rc.Chart.SetPage(c.page);
        s.PageIndexRange(first, last);
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(last, c.last);
    }

    // X 1..10 on an axis showing 3.5..6.5 draws indexes 3 to 5 (6 with one point beyond).
    TTestSeries v;
    v.SetParentChart(&rc.Chart);
    for (int x = 1; x <= 10; ++x) v.InsertPoint(x, x);
    TChartAxis& axis = rc.Chart.BottomAxis();
    axis.SetFixedRange(3.5, 6.5);
    rc.Scale(axis);
    v.ComputeVisibleIndexRange();
    EXPECT_EQ(v.FirstVisible(), 3);
    EXPECT_EQ(v.LastVisible(), 5);
    v.SetKeepOneBeyond(true);
    v.ComputeVisibleIndexRange();
    EXPECT_EQ(v.LastVisible(), 6);
}

// On an ascending X list the ends of the visible range are found by halving: the first value at or past
// the axis' low end, and the first from there that reaches its high end (one back when that lies past
// it and no point beyond is kept). Runs of equal values at both ends show which of them is taken.
TEST(AxisPanel, VisibleRangeEndsAmongEqualValues)
{
    TRecordedChart rc;
    TTestSeries v;
    v.SetParentChart(&rc.Chart);
    for (double x : {0, 1, 1, 1, 2, 2, 3, 4, 4, 5}) v.InsertPoint(x, x);
    struct Case { double lo, hi; int first, last, lastKeepingOneBeyond; };
    const Case cases[] = {
        {1, 4, 1, 7, 7},       // the first of the 1s; the first 4 reaches the end
        {1.5, 3.5, 4, 6, 7},   // between values
        {-3, -1, 0, -1, 0},    // before every point
        {6, 8, -1, -1, -1},    // after every point
        {0, 9, 0, 9, 9},       // around every point
        {2, 2.5, 4, 5, 6},
    };
    TChartAxis& axis = rc.Chart.BottomAxis();
    for (const Case& c : cases) {
        axis.SetFixedRange(c.lo, c.hi);
        rc.Scale(axis);
        for (const bool keep : {false, true}) {
            v.SetKeepOneBeyond(keep);
            v.ComputeVisibleIndexRange();
            EXPECT_EQ(v.FirstVisible(), c.first) << c.lo << ".." << c.hi;
            EXPECT_EQ(v.LastVisible(), c.first < 0 ? -1 : keep ? c.lastKeepingOneBeyond : c.last) << c.lo << ".." << c.hi;
        }
    }
}

TEST(AxisPanel, LegendItemsFollowTheCheckMode)
{
    TTestChart chart;
    TTestSeries a, b, c;
    a.SetName("A");
    for (TTestSeries* s : {&a, &b, &c}) s->SetParentChart(&chart);
    b.SetExcludeFromXRange(true);
    c.SetActive(false);
    std::string title;
    chart.LegendItemSeriesTitle(1, false, title);
    EXPECT_EQ(title, "Series2");                  // untitled and unnamed: by its place
    chart.SetLegendCheckMode(1);
    EXPECT_EQ(chart.CheckedSeriesForLegendItem(1), &c);
    chart.SetLegendCheckMode(0);
    EXPECT_EQ(chart.CheckedSeriesForLegendItem(1), &b);
    EXPECT_EQ(chart.CheckedSeriesForLegendItem(2), nullptr);
    chart.SetLegendCheckMode(3);
    EXPECT_EQ(chart.CheckedSeriesForLegendItem(0), nullptr);
    chart.LegendItemSeriesTitle(0, false, title);
    EXPECT_EQ(title, "A");
}

TEST(AxisPanel, SeriesExtremesGiveTheAutomaticRanges)
{
    TTestChart chart;
    TTestSeries a, b;
    a.SetParentChart(&chart);
    b.SetParentChart(&chart);
    a.InsertPoint(1, 10);
    a.InsertPoint(5, 20);
    b.InsertPoint(-3, 50);
    b.InsertPoint(2, 40);
    TChartAxis& bottom = chart.BottomAxis();
    TChartAxis& left = chart.LeftAxis();
    EXPECT_EQ(chart.MinXValue(bottom), -3);
    EXPECT_EQ(chart.MaxYValue(left), 50);

    // Excluded from the horizontal range, still counted for the vertical one.
    b.SetExcludeFromXRange(true);
    EXPECT_EQ(chart.MinXValue(bottom), 1);
    EXPECT_EQ(chart.MaxYValue(left), 50);

    // Every series inactive: all of them count; no series on the axis: 0 and 0.
    a.SetActive(false);
    b.SetActive(false);
    b.SetExcludeFromXRange(false);
    EXPECT_EQ(chart.MinXValue(bottom), -3);
    EXPECT_EQ(chart.MaxXValue(chart.TopAxis()), 0);
    EXPECT_EQ(chart.MinXValue(chart.TopAxis()), 0);

    // Depth axis: z values with talValue, else the slots around the z orders.
    a.SetActive(true);
    b.SetActive(true);
    a.SetZOrder(1);
    b.SetZOrder(9);
    chart.DepthAxis().SetLabelStyle(talValue);
    EXPECT_EQ(chart.SeriesValueLimit(chart.DepthAxis(), true, false), 1);
    EXPECT_EQ(chart.SeriesValueLimit(chart.DepthAxis(), false, false), 9);
    chart.DepthAxis().SetLabelStyle(talText);
    chart.SetMaxZOrder(2);
    EXPECT_EQ(chart.SeriesValueLimit(chart.DepthAxis(), true, false), -0.5);
    EXPECT_EQ(chart.SeriesValueLimit(chart.DepthAxis(), false, false), 2.5);
}

TEST(AxisPanel, ShortLastPageKeepsTheScaleOfAFullPage)
{
    TTestChart chart;
    TTestSeries s;
    s.SetParentChart(&chart);
    for (int i = 0; i < 45; ++i) s.InsertPoint(i, i);
    chart.SetMaxPointsPerPage(10);
    chart.SetScaleLastPage(false);
    chart.SetPage(5);
    EXPECT_EQ(chart.MinXValue(chart.BottomAxis()), 40);
    EXPECT_EQ(chart.MaxXValue(chart.BottomAxis()), 40 + 4.0 * 10 / 5);
    chart.SetScaleLastPage(true);
    EXPECT_EQ(chart.MaxXValue(chart.BottomAxis()), 44);
}

// A series drawn without axes in the list before any other Active series hides every axis.
class TAxisFreeSeries : public TTestSeries {
public:
    bool UsesAxes() const override { return false; }
};

TEST(AxisPanel, AxisVisibility)
{
    TTestChart chart;
    EXPECT_TRUE(chart.ComputeAxisVisible(chart.LeftAxis()));       // no series yet
    EXPECT_FALSE(chart.ComputeAxisVisible(chart.DepthAxis()));
    TTestSeries s;
    s.SetParentChart(&chart);
    EXPECT_TRUE(chart.ComputeAxisVisible(chart.BottomAxis()));
    EXPECT_FALSE(chart.ComputeAxisVisible(chart.TopAxis()));
    chart.DepthAxis().SetVisible(true);
    chart.SetView3D(true);
    EXPECT_TRUE(chart.ComputeAxisVisible(chart.DepthAxis()));
    chart.SetView3D(false);
    EXPECT_FALSE(chart.ComputeAxisVisible(chart.DepthAxis()));

    TAxisFreeSeries pie;
    pie.SetParentChart(&chart);
    chart.SwapSeriesObjects(&s, &pie);
    EXPECT_FALSE(chart.ComputeAxisVisible(chart.BottomAxis()));
    EXPECT_FALSE(chart.ComputeAxisVisible(chart.LeftAxis()));
    chart.SetAxisVisible(false);
    chart.SwapSeriesObjects(&s, &pie);
    EXPECT_FALSE(chart.ComputeAxisVisible(chart.BottomAxis()));
}

TEST(AxisPanel, DepthSizesAndZOrders)
{
    TRecordedChart rc({0, 0, 400, 300});
    TTestChart& chart = rc.Chart;
    chart.ComputeDepthSizes();
    EXPECT_EQ(chart.Width3D(), 0);                // 2-D
    chart.SetView3D(true);
    chart.View3DOptions().SetOrthogonal(false);
    chart.ComputeDepthSizes();
    EXPECT_EQ(chart.SeriesWidth3D(), 12);         // 15 % of 400, doubled, per mille
    chart.View3DOptions().SetOrthogonal(true);
    chart.View3DOptions().SetOrthoAngle(45);
    TTestSeries a, b, c;
    for (TTestSeries* s : {&a, &b, &c}) s->SetParentChart(&chart);
    chart.SetMaxZOrder(-1);
    for (TTestSeries* s : {&a, &b, &c}) s->ComputeZOrder();
    chart.FitChartRectTo3D();
    EXPECT_EQ(chart.SeriesWidth3D(), 6);
    EXPECT_EQ(chart.SeriesHeight3D(), 6);
    EXPECT_EQ(chart.Width3D(), 18);
    EXPECT_EQ(c.ZOrder(), 2);
    EXPECT_FALSE(a.SharesDepthWithOther());
    EXPECT_TRUE(a.IsFirstAtDepth());
    b.SetZOrder(0);
    EXPECT_TRUE(a.SharesDepthWithOther());
    EXPECT_FALSE(b.IsFirstAtDepth());
    a.ComputeZExtent();
    EXPECT_EQ(a.StartZ(), 0);
    EXPECT_EQ(a.EndZ(), 6);
    EXPECT_EQ(a.MiddleZ(), 3);
}

TEST(AxisPanel, ChartPaletteAndFreeingSeries)
{
    TTestChart chart;
    chart.SetChartPalette({clRed, clLime, clBlue});
    EXPECT_EQ(chart.PaletteColorAt(4), clLime);
    auto* owned = new TTestSeries;
    chart.AttachSeries(owned);
    auto* second = new TTestSeries;
    chart.AttachSeries(second);
    EXPECT_EQ(second->SeriesColor(), clLime);
    chart.FreeSeriesOfClass("");
    EXPECT_EQ(chart.CountSeries(), 0);
}

namespace {
// Notes the page each drawing shows.
class TPageProbe : public TTestChart {
public:
    std::vector<int> Drawn;

protected:
    void DrawChartContent(const TRect&) override { Drawn.push_back(Page()); }
};

int PdfPageCount(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::regex page(R"(/Type\s*/Page[^s])");
    return static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}
} // namespace

TEST(AxisPanel, PrintsAPageRangeAndKeepsThePage)
{
    TPrinter::SetPlatformPrintersHidden(true);
    Printer()->Reset();
    const auto file = std::filesystem::temp_directory_path() / ("vsp_engine_pages_" + std::to_string(::getpid()) + ".pdf");
    Printer()->SetOutputFileName(file.string());
    {
        TPageProbe chart;
        chart.SetBounds(0, 0, 400, 200);
        TTestSeries s;
        s.SetParentChart(&chart);
        Fill(s, 25);
        chart.SetMaxPointsPerPage(10);
        chart.SetPage(2);
        chart.PrintPageRange(0, 0);
        EXPECT_EQ(chart.Drawn, (std::vector<int>{1, 2, 3}));
        EXPECT_EQ(chart.Page(), 2);
        EXPECT_FALSE(Printer()->Printing());
        chart.Drawn.clear();
        chart.PrintPageRange(2, 3);
        EXPECT_EQ(chart.Drawn, (std::vector<int>{2, 3}));
    }
    EXPECT_EQ(PdfPageCount(file), 2);
    std::filesystem::remove(file);
    Printer()->Reset();
    TPrinter::SetPlatformPrintersHidden(false);
}
