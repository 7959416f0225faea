// Series points: adds in X order with their Y values, colours and labels, null points, deletes and clears
// with their events and refusals, swaps with short label lists, colours from the chart's palette, and
// the notices to dependent series.
#include "EngineTestSupport.h"

#include "chart/base/LumConst.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {
struct TSeriesPoints {
    std::vector<double> x, y;
    std::vector<std::string> labels;
    std::vector<TColor> colors;
};

TSeriesPoints SeriesPointsOf(const TChartSeries& s)
{
    TSeriesPoints p;
    for (int i = 0; i < s.PointCount(); ++i) {
        p.x.push_back(s.XValueAt(i));
        p.y.push_back(s.YValueAt(i));
        p.labels.push_back(s.PointLabel(i));
        p.colors.push_back(s.StoredPointColor(i));
    }
    return p;
}
} // namespace

TEST(SeriesPoints, PointsFollowTheirXWithValuesLabelsAndColours)
{
    TTestSeries s;
    std::vector<int> added;
    s.OnAfterAdd = [&](TChartSeries*, int index) { added.push_back(index); };
    EXPECT_EQ(s.InsertPoint(3, 30, "c"), 0);
    EXPECT_EQ(s.InsertPoint(1, 10, "a", clRed), 0);
    EXPECT_EQ(s.InsertPoint(2, 20), 1);
    EXPECT_EQ(s.InsertPoint(2, 21, "b2"), 2);              // after the equal X already there
    EXPECT_EQ(added, (std::vector<int>{0, 0, 1, 2}));

    const TSeriesPoints p = SeriesPointsOf(s);
    EXPECT_EQ(p.x, (std::vector<double>{1, 2, 2, 3}));
    EXPECT_EQ(p.y, (std::vector<double>{10, 20, 21, 30}));
    EXPECT_EQ(p.labels, (std::vector<std::string>{"a", "", "b2", "c"}));
    EXPECT_EQ(p.colors, (std::vector<TColor>{clRed, clDefault, clDefault, clDefault}));
}

// Arrays added at once end as the same points added one by one: in order they are moved in whole,
// otherwise each goes to its place; earlier colours and labels stay in step; one notice follows.
TEST(SeriesPoints, ArraysAddAsTheirPointsOneByOne)
{
    const double nan = std::nan("");
    struct Case {
        const char* name;
        TChartListOrder order;
        std::vector<double> before, x;
        bool movedIn;
    };
    const Case cases[] = {
        {"ascending into an empty series", loAscending, {}, {1, 2, 2, 5}, true},
        {"ascending after equal values", loAscending, {0, 1}, {1, 1, 3}, false},
        {"out of order", loAscending, {}, {3, 1, 2, 2, 0}, false},
        {"before the last point", loAscending, {5}, {6, 4}, false},
        {"NaN keeps its place", loAscending, {}, {1, nan, 0.5, 2}, true},
        {"descending", loDescending, {}, {9, 7, 7, 1}, true},
        {"descending out of order", loDescending, {}, {1, 9, 4}, false},
        {"unordered", loNone, {}, {4, 1, 3}, true},
    };
    for (const Case& c : cases) {
        TTestSeries bulk, single;
        for (TTestSeries* t : {&bulk, &single}) {
            t->XValues().SetOrder(c.order);
            for (double x : c.before) t->InsertPoint(x, -x, "old", clRed);
        }
        std::vector<double> y;
        for (std::size_t i = 0; i < c.x.size(); ++i) y.push_back(100 + double(i));
        for (std::size_t i = 0; i < c.x.size(); ++i) single.InsertPoint(c.x[i], y[i]);
        int notices = 0;
        bulk.OnAfterAdd = [&](TChartSeries*, int) { ++notices; };
        bulk.AddArrays(c.x, y);
        const TSeriesPoints a = SeriesPointsOf(bulk), b = SeriesPointsOf(single);
        ASSERT_EQ(a.x.size(), b.x.size()) << c.name;
        for (std::size_t i = 0; i < a.x.size(); ++i) {
            EXPECT_TRUE(a.x[i] == b.x[i] || (std::isnan(a.x[i]) && std::isnan(b.x[i]))) << c.name << " " << i;
            EXPECT_EQ(a.y[i], b.y[i]) << c.name << " " << i;
        }
        EXPECT_EQ(a.labels, b.labels) << c.name;
        EXPECT_EQ(a.colors, b.colors) << c.name;
        EXPECT_EQ(notices, 0) << c.name;                       // no per-point events inside the update
        if (c.movedIn) {
            EXPECT_EQ(bulk.XValues().StorageLength(), int(c.x.size())) << c.name;
        }
    }

    // A refusing OnBeforeAdd is asked for every point, as one by one.
    TTestSeries picky;
    picky.OnBeforeAdd = [](TChartSeries* s) { return s->XValues().PendingValue > 1; };
    picky.AddArrays({1, 2, 3}, {10, 20, 30});
    EXPECT_EQ(SeriesPointsOf(picky).x, (std::vector<double>{2, 3}));

    // Arrays of different lengths change nothing.
    TTestSeries s;
    s.InsertPoint(1, 1);
    EXPECT_THROW(s.AddArrays({2, 3}, {2}), ChartException);
    EXPECT_EQ(s.PointCount(), 1);
}

TEST(SeriesPoints, ColourListIsMadeByTheFirstOwnColour)
{
    TTestSeries s;
    s.AppendValue(5);
    s.AppendValue(6, "", clDefault);
    EXPECT_FALSE(s.HasColorList());
    s.AppendValue(7, "", clRed);
    ASSERT_TRUE(s.HasColorList());
    EXPECT_EQ(SeriesPointsOf(s).colors, (std::vector<TColor>{clDefault, clDefault, clRed}));
    s.SetSeriesColor(clBlue);
    EXPECT_EQ(s.PointColor(0), clBlue);
    EXPECT_EQ(s.PointColor(2), clRed);
    s.SetColorEachPoint(true);
    EXPECT_EQ(s.PointColor(1), CurrentPaletteColor(1));   // no chart: the global palette by index
}

TEST(SeriesPoints, NullPointsKeepTheirPlace)
{
    TTestSeries s;
    s.AppendValue(4);
    EXPECT_EQ(s.AppendNullValue("gap"), 1);
    EXPECT_EQ(s.InsertNullPoint(0.5, 9), 1);
    const TSeriesPoints p = SeriesPointsOf(s);
    EXPECT_EQ(p.x, (std::vector<double>{0, 0.5, 1}));
    EXPECT_EQ(p.y, (std::vector<double>{4, 9, 0}));
    EXPECT_FALSE(s.PointIsNull(0));
    EXPECT_TRUE(s.PointIsNull(1));
    EXPECT_TRUE(s.PointIsNull(2));
    EXPECT_EQ(s.PointLabel(2), "gap");
}

TEST(SeriesPoints, XMandatorySeriesAppendAlongY)
{
    TTestSeries s;
    s.MakeXMandatory();
    s.AppendValue(7);
    s.AppendValue(3);
    EXPECT_EQ(SeriesPointsOf(s).x, (std::vector<double>{3, 7}));   // the X list keeps its ascending order
    EXPECT_EQ(SeriesPointsOf(s).y, (std::vector<double>{1, 0}));
    EXPECT_EQ(&s.MandatoryValues(), &s.XValues());
    EXPECT_EQ(s.MandatoryValueAt(0), 3);
}

TEST(SeriesPoints, RefusedAddsChangeNothing)
{
    TTestSeries s;
    s.AppendValue(1);
    s.OnBeforeAdd = [](TChartSeries*) { return false; };
    EXPECT_EQ(s.InsertPoint(5, 5, "x", clRed), -1);
    EXPECT_EQ(s.AppendValue(2), -1);
    EXPECT_EQ(s.PointCount(), 1);
    EXPECT_FALSE(s.HasColorList());
    EXPECT_EQ(s.Labels().Count(), 0);
}

TEST(SeriesPoints, DeletingPointsKeepsColoursAndLabelsInStep)
{
    TTestSeries s;
    for (int i = 0; i < 6; ++i) s.AppendValue(i * 10, i < 2 ? "L" + std::to_string(i) : "", i == 4 ? clRed : clDefault);
    s.DeletePoint(1);
    TSeriesPoints p = SeriesPointsOf(s);
    EXPECT_EQ(p.y, (std::vector<double>{0, 20, 30, 40, 50}));
    EXPECT_EQ(p.labels, (std::vector<std::string>{"L0", "", "", "", ""}));
    EXPECT_EQ(p.colors[3], clRed);

    // The labels list is shorter than the run: the removal stops at its end.
    s.DeletePointRange(0, 2);
    p = SeriesPointsOf(s);
    EXPECT_EQ(p.y, (std::vector<double>{30, 40, 50}));
    EXPECT_EQ(p.colors, (std::vector<TColor>{clDefault, clRed, clDefault}));
    s.DeletePointRange(0, 1, true);
    EXPECT_EQ(SeriesPointsOf(s).x, (std::vector<double>{0, 1}));   // renumbered
}

TEST(SeriesPoints, DeleteRefusalsCarryTheirTexts)
{
    TTestSeries s;
    for (int i = 0; i < 3; ++i) s.AppendValue(i);
    for (int bad : {3, -1}) {
        try {
            s.DeletePoint(bad);
            FAIL() << bad;
        } catch (const ChartException& e) {
            EXPECT_EQ(e.Message(), "Series Delete: ValueIndex " + std::to_string(bad) + " out of bounds (0 to 2).");
        }
    }
    struct Case { int start, quantity; const char* text; };
    const Case cases[] = {
        {0, 0, "Quantity of data points to delete must be greater than zero."},
        {2, 2, "Quantity of data to delete must be less than Count."},
        {3, 1, "Quantity of data to delete must be less than Count."},
    };
    for (const Case& c : cases) {
        try {
            s.DeletePointRange(c.start, c.quantity);
            FAIL() << c.start << " " << c.quantity;
        } catch (const EAssertionFailed& e) {
            EXPECT_EQ(e.Message(), c.text);
        }
    }
    EXPECT_THROW(s.DeletePointRange(-1, 1), ERangeError);
    EXPECT_EQ(s.PointCount(), 3);
    EXPECT_THROW(s.XValueAt(3), ERangeError);
    EXPECT_THROW(s.YValueAt(-1), ERangeError);
}

TEST(SeriesPoints, ClearEmptiesEverythingAndTellsOnce)
{
    int cleared = 0;                   // outlives the series, whose destruction clears it once more
    TTestSeries s;
    s.AppendValue(1, "a", clRed);
    s.Marks().Positions().Ensure(0);
    s.OnClearValues = [&](TChartSeries*) { ++cleared; };
    s.ClearPoints();
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(s.PointCount(), 0);
    EXPECT_EQ(s.YValues().ValueCount(), 0);
    EXPECT_FALSE(s.HasColorList());
    EXPECT_EQ(s.Labels().Count(), 0);
    EXPECT_EQ(s.Marks().Positions().Count(), 0);
    EXPECT_EQ(s.FirstVisible(), -1);
}

// Labels stored on early points only make the labels list shorter than the points; sorting must carry
// each label with its point.
TEST(SeriesPoints, SortingCarriesShortLabelListsAlong)
{
    TTestSeries s;
    s.YValues().SetOrder(loDescending);
    for (double y : {1.0, 5.0, 3.0, 4.0}) s.AppendValue(y);
    s.SetPointLabel(0, "one");
    ASSERT_EQ(s.Labels().Count(), 1);
    s.YValues().SortByOrder();
    const TSeriesPoints p = SeriesPointsOf(s);
    EXPECT_EQ(p.y, (std::vector<double>{5, 4, 3, 1}));
    EXPECT_EQ(p.labels, (std::vector<std::string>{"", "", "", "one"}));
    EXPECT_EQ(p.x, (std::vector<double>{1, 3, 2, 0}));   // whole points moved
}

TEST(SeriesPoints, ValueListByNameFindsOnlyExtraLists)
{
    TTestSeries s;
    auto* radius = new TChartValueList(&s, "Radius");
    EXPECT_EQ(s.ValueLists().Count(), 3);
    EXPECT_EQ(s.ValueListByName("radius"), radius);
    EXPECT_EQ(s.ValueListByName("x"), &s.YValues());
    EXPECT_EQ(s.ValueListByName("X"), &s.YValues());
    EXPECT_EQ(s.ValueListByName("Nothing"), &s.YValues());

    radius->PendingValue = 7;
    const int i = s.InsertPoint(1, 2);
    EXPECT_EQ(radius->ValueAt(i), 7);
}

TEST(SeriesPoints, ChangeInPlaceKeepsOrderAndStaysQuiet)
{
    TTestSeries source;
    TTestSeries follower;
    for (int i = 0; i < 3; ++i) source.AppendValue(i);
    follower.AddDataSource(&source);
    follower.CopyPointsFrom(source);
    source.ChangeXValueAt(0, 10);
    EXPECT_EQ(SeriesPointsOf(source).x, (std::vector<double>{10, 1, 2}));
    EXPECT_EQ(SeriesPointsOf(follower).x, (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(source.XValues().HighestValue(), 10);
}

TEST(SeriesChart, PaletteColourIsTakenButNotStored)
{
    TTestChart chart;
    TTestSeries a, b;
    std::vector<std::pair<int, TChartSeries*>> events;
    a.SetParentChart(&chart);
    b.SetParentChart(&chart);
    EXPECT_EQ(a.SeriesColor(), chart.PaletteColorAt(0));
    EXPECT_EQ(b.SeriesColor(), chart.PaletteColorAt(1));
    const TPropInfo* color = a.ClassInfo().FindProperty("SeriesColor");
    ASSERT_NE(color, nullptr);
    EXPECT_FALSE(IsStoredProp(a, *color));
    a.SetSeriesColor(clBlack);
    EXPECT_TRUE(IsStoredProp(a, *color));

    // With every palette colour in use, a new series takes the palette's last colour.
    chart.SetChartPalette({clRed, clGreen});
    a.SetSeriesColor(clRed);
    b.SetSeriesColor(clGreen);
    TTestSeries c;
    c.SetParentChart(&chart);
    EXPECT_EQ(c.SeriesColor(), clGreen);
}

TEST(SeriesDependents, FollowersCopyOnceAtTheEndOfADataUpdate)
{
    int copies = 0;                    // outlives the series, whose destruction clears them once more
    TTestChart chart;
    TTestSeries source, follower;
    source.SetParentChart(&chart);
    follower.SetParentChart(&chart);
    follower.AddDataSource(&source);
    follower.OnClearValues = [&](TChartSeries*) { ++copies; };
    const int before = copies;

    source.BeginDataUpdate();
    for (int i = 0; i < 100; ++i) source.AppendValue(i);
    EXPECT_EQ(follower.PointCount(), 0);
    source.EndDataUpdate();
    EXPECT_EQ(copies - before, 1);
    EXPECT_EQ(follower.PointCount(), 100);

    // Outside an update each change is followed as it happens.
    source.AppendValue(100);
    EXPECT_EQ(follower.PointCount(), 101);
    source.DeletePoint(0);
    EXPECT_EQ(follower.YValueAt(0), 1);
    source.DeletePointRange(0, 10);                    // a run: the follower copies anew
    EXPECT_EQ(follower.PointCount(), 90);
    EXPECT_EQ(follower.YValueAt(0), 11);
    source.ClearPoints();
    EXPECT_EQ(follower.PointCount(), 0);
}

TEST(SeriesDependents, CircularSourcesAreRefused)
{
    TTestChart chart;
    TTestSeries a, b, c;
    for (TTestSeries* s : {&a, &b, &c}) s->SetParentChart(&chart);
    b.AddDataSource(&a);
    c.AddDataSource(&b);
    for (TTestSeries* target : {&a}) {
        for (TTestSeries* candidate : {&b, &c}) {
            try {
                target->AddDataSource(candidate);
                FAIL();
            } catch (const ChartException& e) {
                EXPECT_EQ(e.Message(), LumConst::CircularSeriesDependence);
            }
        }
    }
    EXPECT_EQ(a.DataSources().Count(), 0);
}

TEST(SeriesDependents, DestroyedSourcesAndFollowersLetGo)
{
    TTestSeries follower;
    {
        TTestSeries source;
        follower.AddDataSource(&source);
        EXPECT_EQ(source.Dependents().Count(), 1);
    }
    EXPECT_EQ(follower.DataSources().Count(), 0);
    TTestSeries source;
    {
        TTestSeries other;
        other.AddDataSource(&source);
    }
    EXPECT_EQ(source.Dependents().Count(), 0);
}

TEST(SeriesSamples, SampleValuesStayWithinTheirSpanAndMarkTheDataNotLoaded)
{
    TTestSeries s;
    s.SetDataLoaded(true);
    s.FillSampleValues(0);
    EXPECT_EQ(s.PointCount(), 25);
    EXPECT_FALSE(s.DataLoaded());
    for (int i = 0; i < s.PointCount(); ++i) {
        EXPECT_EQ(s.XValueAt(i), i);
        EXPECT_GE(s.YValueAt(i), 0);
    }
    try {
        s.FillSampleValues(-1);
        FAIL();
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), LumConst::FillSampleValuesCount);
    }
    EXPECT_EQ(s.PointCount(), 25);
}

TEST(SeriesChart, PointsMapThroughTheAxesTheSeriesUses)
{
    TRecordedChart rc({50, 20, 450, 320});
    TTestSeries s;
    s.SetParentChart(&rc.Chart);
    s.InsertPoint(0, 0);
    s.InsertPoint(10, 30);
    TTestChart& chart = rc.Chart;
    for (TChartAxis* a : {&chart.BottomAxis(), &chart.LeftAxis(), &chart.RightAxis(), &chart.TopAxis()}) rc.Scale(*a);

    EXPECT_EQ(s.ScreenXOf(1), 450);
    EXPECT_EQ(s.ScreenYOf(1), 20);
    EXPECT_EQ(s.HorizValueToPixel(5), 250);
    EXPECT_EQ(s.HorizPixelToValue(250), 5);
    EXPECT_EQ(s.VertPixelToValue(170), 15);
    EXPECT_EQ(s.MandatoryValueToPixel(15), 170);
    EXPECT_EQ(s.ValuesForAxis(&chart.BottomAxis()), &s.XValues());
    EXPECT_EQ(s.ValuesForAxis(&chart.LeftAxis()), &s.YValues());
    EXPECT_EQ(s.ValuesForAxis(&chart.TopAxis()), nullptr);
    EXPECT_FALSE(s.UsesAxis(&chart.DepthAxis()));

    s.SetHorizAxis(aBothHorizAxis);
    EXPECT_TRUE(s.UsesAxis(&chart.TopAxis()));
    EXPECT_EQ(s.GetHorizAxis(), &chart.BottomAxis());
    s.SetVertAxis(aRightAxis);
    EXPECT_FALSE(s.UsesAxis(&chart.LeftAxis()));
    EXPECT_EQ(s.GetVertAxis(), &chart.RightAxis());

    TChartAxis& custom = TChartAxis::CreateForChart(chart);
    s.SetVertAxis(aCustomVertAxis);               // no custom axis yet: the left axis
    EXPECT_EQ(s.GetVertAxis(), &chart.LeftAxis());
    s.BindCustomVertAxis(&custom);
    EXPECT_EQ(s.GetVertAxis(), &custom);
    s.SetVertAxis(aLeftAxis);                     // the custom binding is forgotten
    EXPECT_EQ(s.CustomVertAxis(), nullptr);
}
