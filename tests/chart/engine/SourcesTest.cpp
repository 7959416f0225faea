// Series feeding each other: circular sources refused wherever they are attached (also from a stream
// and without a chart), one refresh per data update, range deletions followed by a full copy, the
// DataSource writer, source components that load and clear their series, and copying a series.
#include "EngineKit.h"

#include "chart/engine/LumEngineSeriesSource.h"
#include "chart/engine/LumFunci.h"

#include <gtest/gtest.h>

namespace {

// Counts how often it copies its source.
class TCountingSeries : public TPointerSeries {
public:
    using TPointerSeries::TPointerSeries;
    void CopyPointsFrom(TChartSeries& Source) override
    {
        ++Copies;
        TPointerSeries::CopyPointsFrom(Source);
    }
    int Copies = 0;
};

// A source that fills its series with as many points as it was told.
class TCountSource : public TLumSeriesSource {
public:
    using TLumSeriesSource::TLumSeriesSource;
    int Points = 3;
    int Loads = 0;
    void LoadData() override
    {
        ++Loads;
        if (!Series()) return;
        Series()->ClearPoints();
        for (int i = 0; i < Points; ++i) Series()->AppendValue(i * 10);
    }
};

// Counts the data-changed events of a chart.
class TDataChangedCounter : public IChartEventListener {
public:
    int Count = 0;
    void HandleChartEvent(TLumEvent& Event) override
    {
        if (auto* e = dynamic_cast<TLumSeriesEvent*>(&Event); e && e->Event == seDataChanged) ++Count;
    }
};

void ExpectCircular(const std::function<void()>& Attach)
{
    try {
        Attach();
        ADD_FAILURE() << "attached";
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), "Circular Series dependences are not allowed");
    }
}

} // namespace

TEST(SeriesSources, CircularSourcesAreRefusedWhereverAttached)
{
    TSeriesChart chart;
    TPointerSeries& a = chart.Add({1});
    TPointerSeries& b = chart.Add({});
    TPointerSeries& c = chart.Add({});
    b.SetDataSource(&a);
    c.SetDataSource(&b);
    ExpectCircular([&] { a.SetDataSource(&c); });
    ExpectCircular([&] { a.AddDataSource(&b, false); });
    ExpectCircular([&] { a.AttachSource(&c); });
    EXPECT_EQ(a.DataSources().Count(), 0);
    EXPECT_EQ(c.PointCount(), 1);

    // Without a chart.
    TTestSeries x, y;
    y.AddDataSource(&x);
    ExpectCircular([&] { x.AddDataSource(&y); });
    EXPECT_EQ(x.DataSources().Count(), 0);

    // From a stream: the names resolve among the owner's components when loading ends.
    TComponent owner(nullptr);
    auto* p = new TTestSeries(&owner);
    auto* q = new TTestSeries(&owner);
    p->SetName("P");
    q->SetName("Q");
    q->AddDataSource(p);
    p->BeginLoading();
    p->ReadDataSourceNames({"Q", "Missing"});
    ExpectCircular([&] { p->Loaded(); });
    EXPECT_EQ(p->DataSources().Count(), 0);
    q->SetDataSource(nullptr);
    p->BeginLoading();
    p->ReadDataSourceNames({"Q", "Missing"});
    p->Loaded();
    ASSERT_EQ(p->DataSources().Count(), 1); // a name without a component adds nothing
    EXPECT_EQ(p->DataSource(), q);
}

TEST(SeriesSources, OneRefreshPerDataUpdate)
{
    TSeriesChart chart;
    TPointerSeries& source = chart.Add({});
    auto& dependent = chart.Add<TCountingSeries>({});
    dependent.SetDataSource(&source);
    dependent.Copies = 0;
    TDataChangedCounter changes;
    ListAddOnce(chart.Chart.Listeners(), &changes);
    source.BeginDataUpdate();
    source.BeginDataUpdate();
    for (int i = 0; i < 100; ++i) source.AppendValue(i);
    source.EndDataUpdate();
    EXPECT_EQ(dependent.Copies, 0);
    source.EndDataUpdate();
    source.EndDataUpdate(); // an unmatched end does nothing
    EXPECT_EQ(dependent.Copies, 1);
    EXPECT_EQ(dependent.PointCount(), 100);
    EXPECT_EQ(changes.Count, 2); // the source's update, then the copy's own
    chart.Chart.RemoveListener(&changes);
}

TEST(SeriesSources, RangeDeletionsAndClearsReachDependents)
{
    TSeriesChart chart;
    TPointerSeries& source = chart.Add({1, 2, 3, 4, 5});
    auto& follower = chart.Add<TCountingSeries>({});
    follower.SetDataSource(&source);
    TPointerSeries& computed = chart.Add({});
    computed.AttachFunction(new TAddLumFunction(nullptr));
    computed.SetDataSource(&source);
    ASSERT_EQ(computed.YValues().ValueAt(0), 15);

    source.DeletePointRange(1, 3);
    EXPECT_EQ(PointsOf(follower), PointsOf(source)); // a full copy, not a deletion at index -1
    EXPECT_EQ(computed.PointCount(), 1);              // a function's result is not cut point by point
    source.DeletePoint(0);
    EXPECT_EQ(follower.PointCount(), 1);
    source.ClearPoints();
    EXPECT_EQ(follower.PointCount(), 0);

    // A dependent that does not follow deletions keeps its points.
    TPointerSeries& source2 = chart.Add({1, 2, 3});
    TPointerSeries& stubborn = chart.Add({});
    stubborn.SetDataSource(&source2);
    stubborn.SetFollowFlags(followAll & ~followDeletions);
    source2.DeletePointRange(0, 2);
    EXPECT_EQ(stubborn.PointCount(), 3);
}

TEST(SeriesSources, DataSourceNilDetachesEverySource)
{
    TSeriesChart chart;
    TPointerSeries& a = chart.Add({1, 2});
    TPointerSeries& b = chart.Add({3});
    TPointerSeries& sum = chart.Add({});
    sum.AttachFunction(new TAddLumFunction(nullptr));
    sum.SetDataSource(&a);
    sum.AddDataSource(&b, false);
    ASSERT_EQ(sum.DataSources().Count(), 2);
    sum.SetDataSource(nullptr);
    EXPECT_EQ(sum.DataSources().Count(), 0);
    EXPECT_EQ(sum.PointCount(), 0);
    EXPECT_FALSE(a.Dependents().Contains(&sum));
    EXPECT_FALSE(b.Dependents().Contains(&sum));
}

TEST(SeriesSources, SourceComponentsLoadAndClearTheirSeries)
{
    TSeriesChart chart;
    TPointerSeries& s = chart.Add({});
    TComponent owner(nullptr);
    auto* source = new TCountSource(&owner);
    source->BindSeries(&s);
    EXPECT_EQ(s.DataSource(), source);
    EXPECT_EQ(s.PointCount(), 0); // closed: nothing loaded
    source->SetActive(true);
    EXPECT_EQ(s.PointCount(), 3);
    EXPECT_TRUE(source->FeedsSeries(s));
    source->SetActive(false);
    EXPECT_EQ(s.PointCount(), 0);
    source->SetKeepPoints(true);
    source->SetActive(true);
    source->SetActive(false);
    EXPECT_EQ(s.PointCount(), 3);

    // Another series takes the source over, open as it was.
    source->SetKeepPoints(false);
    source->SetActive(true);
    TPointerSeries& other = chart.Add({});
    other.SetDataSource(source);
    EXPECT_EQ(source->Series(), &other);
    EXPECT_TRUE(source->Active());
    EXPECT_EQ(other.PointCount(), 3);

    // A freed source leaves its series without a source.
    source->Free();
    EXPECT_EQ(other.DataSource(), nullptr);
}

TEST(SeriesSources, AssignCopiesSettingsPointsAndFunction)
{
    TSeriesChart chart;
    TPointerSeries& a = chart.Add({4, 5, 6});
    a.SetPointLabel(1, "b");
    a.SetSeriesColor(clNavy);
    a.SetValueFormat("0.0");
    a.Marks().SetStyle(smsValue);
    a.SetFollowFlags(followClears);
    TPointerSeries& b = chart.Add({});
    b.Assign(a);
    EXPECT_EQ(PointsOf(b), PointsOf(a));
    EXPECT_EQ(b.PointLabel(1), "b");
    EXPECT_EQ(b.SeriesColor(), clNavy);
    EXPECT_EQ(b.ValueFormat(), "0.0");
    EXPECT_EQ(b.Marks().Style(), smsValue);
    EXPECT_EQ(b.FollowFlags(), followClears);

    TPointerSeries& f = chart.Add({});
    auto* fn = new THighLumFunction(nullptr);
    f.AttachFunction(fn);
    f.SetDataSource(&a);
    TPointerSeries& g = chart.Add({});
    g.Assign(f);
    EXPECT_EQ(g.AttachedFunction(), fn); // the function moves
    EXPECT_EQ(f.AttachedFunction(), nullptr);
    EXPECT_EQ(g.DataSource(), &a);
    EXPECT_EQ(g.YValues().ValueAt(0), 6);
}
