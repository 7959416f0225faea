// The published properties of pointers, callouts, the marks' callout and symbol, series groups and
// functions with their defaults and stored tests: each row names a property, whether a fresh object
// stores it, a change, and whether it is stored afterwards.
#include "EngineKit.h"

#include "chart/engine/LumFunci.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

bool Stored(const TPersistent& Object, const std::string& Path)
{
    TPersistent* holder = nullptr;
    const TPropInfo* prop = FindPropInfo(Object, Path, &holder);
    if (!prop || !holder) throw Exception("no property " + Path);
    return IsStoredProp(*holder, *prop);
}

// The objects a row looks at, made fresh for every row.
struct TObjects {
    TTestChart Chart;
    TPointerSeries Series;
    TCallout Callout{&Series};
    TAverageLumFunction Average{nullptr};
    TCustomLumFunction Custom{nullptr};
    TMedianLumFunction Median{nullptr};
    TSeriesGroup* Group;
    TObjects()
    {
        Series.SetParentChart(&Chart);
        Group = &Chart.SeriesList().NewGroup("g");
    }
    ~TObjects() { Series.SetParentChart(nullptr); }
};

struct TRow {
    const char* Name;
    std::function<TPersistent&(TObjects&)> Object;
    const char* Path;
    bool StoredAtFirst;
    std::function<void(TObjects&)> Change;
    bool StoredAfter;
};

TPersistent& Pointer(TObjects& o) { return o.Series.Pointer; }
TPersistent& Callout(TObjects& o) { return o.Callout; }
TPersistent& Marks(TObjects& o) { return o.Series.Marks(); }
TPersistent& Group(TObjects& o) { return *o.Group; }
TPersistent& Average(TObjects& o) { return o.Average; }
TPersistent& Custom(TObjects& o) { return o.Custom; }
TPersistent& Median(TObjects& o) { return o.Median; }

} // namespace

TEST(SeriesPartsStoredRules, GroupSeriesStreamByName)
{
    TTestChart chart;
    TPointerSeries a, b;
    a.SetName("First");
    b.SetName("Second");
    a.SetParentChart(&chart);
    b.SetParentChart(&chart);
    TSeriesGroup& group = chart.SeriesList().NewGroup("g");
    const TDefinedProperty* series = group.ClassInfo().FindDefinedProperty("Series");
    ASSERT_NE(series, nullptr);
    EXPECT_FALSE(series->IsWritten(group));
    group.Series().Add(&a);
    group.Series().Add(&b);
    ASSERT_TRUE(series->IsWritten(group));
    const TPropValue names = series->WriteValue(group);
    EXPECT_EQ(std::get<std::string>(names), "First\nSecond");
    TSeriesGroup& copy = chart.SeriesList().NewGroup("h");
    series->ReadValue(copy, std::string("Second\nNobody\nFirst"));
    ASSERT_EQ(copy.Series().Count(), 2);
    EXPECT_EQ(copy.Series().SeriesAt(0), &b);
    EXPECT_EQ(copy.Series().SeriesAt(1), &a);
    a.SetParentChart(nullptr);
    b.SetParentChart(nullptr);
}

TEST(SeriesPartsStoredRules, MarksMakeTheirOwnGradient)
{
    TTestChart chart;
    TPointerSeries series;
    TLumGradient& gradient = series.Marks().Gradient();
    ASSERT_NE(dynamic_cast<TSeriesMarksGradient*>(&gradient), nullptr);
    EXPECT_EQ(gradient.Direction(), gdRightLeft);
    EXPECT_EQ(gradient.StartColor(), static_cast<TColor>(0xC0C0C0));
    EXPECT_EQ(gradient.EndColor(), clWhite);
    EXPECT_FALSE(gradient.Visible());
}

TEST(SeriesPartsStoredRules, PointersCalloutsMarksGroupsAndFunctions)
{
    const TRow rows[] = {
        {"pointer size", Pointer, "HorizSize", false, [](auto& o) { o.Series.Pointer.SetHorizSize(6); }, true},
        {"pointer height", Pointer, "VertSize", false, [](auto& o) { o.Series.Pointer.SetVertSize(2); }, true},
        {"pointer transparency", Pointer, "Transparency", false,
         [](auto& o) { o.Series.Pointer.SetTransparency(50); }, true},
        {"pointer style has no default", Pointer, "Style", true, nullptr, true},
        {"pointer solids have no default", Pointer, "Draw3D", true, nullptr, true},
        {"pointer visibility has no default", Pointer, "Visible", true, nullptr, true},
        {"pointer brush colour", Pointer, "Brush.Color", false, [](auto& o) { o.Series.Pointer.SetBrushColor(clRed); }, true},
        {"callout flat by default", Callout, "Draw3D", false, [](auto& o) { o.Callout.SetDraw3D(true); }, true},
        {"callout visible by default", Callout, "Visible", false, [](auto& o) { o.Callout.SetVisible(false); }, true},
        {"callout style", Callout, "Style", false, [](auto& o) { o.Callout.SetStyle(psCircle); }, true},
        {"callout head", Callout, "ArrowHead", false, [](auto& o) { o.Callout.SetArrowHead(ahLine); }, true},
        {"callout head size", Callout, "ArrowHeadSize", false, [](auto& o) { o.Callout.SetArrowHeadSize(4); }, true},
        {"callout distance", Callout, "Distance", false, [](auto& o) { o.Callout.SetDistance(2); }, true},
        {"marks callout hidden by default", Marks, "Callout.Visible", false,
         [](auto& o) { o.Series.Marks().Callout().SetVisible(true); }, true},
        {"marks callout length", Marks, "Callout.Length", false,
         [](auto& o) { o.Series.Marks().SetArrowLength(12); }, true},
        {"marks arrow length is the callout's", Marks, "ArrowLength", false,
         [](auto& o) { o.Series.Marks().SetArrowLength(12); }, false},
        {"marks arrow colour", Marks, "Arrow.Color", false,
         [](auto& o) { o.Series.Marks().Arrow().SetColor(clRed); }, true},
        {"marks symbol hidden", Marks, "Symbol.Visible", false,
         [](auto& o) { o.Series.Marks().Symbol().SetVisible(true); }, true},
        {"marks symbol shadow", Marks, "Symbol.Shadow.HorizSize", false,
         [](auto& o) { o.Series.Marks().Symbol().Shadow().SetHorizSize(3); }, true},
        {"marks angle", Marks, "Angle", false, [](auto& o) { o.Series.Marks().SetAngle(90); }, true},
        {"marks multi-line", Marks, "MultiLine", false, [](auto& o) { o.Series.Marks().SetMultiLine(true); }, true},
        {"marks clip", Marks, "Clip", false, [](auto& o) { o.Series.Marks().SetClip(true); }, true},
        {"marks gradient runs right to left", Marks, "Gradient.Direction", false,
         [](auto& o) { o.Series.Marks().Gradient().SetDirection(gdTopBottom); }, true},
        {"marks gradient starts grey", Marks, "Gradient.StartColor", false,
         [](auto& o) { o.Series.Marks().Gradient().SetStartColor(clRed); }, true},
        {"marks gradient ends white", Marks, "Gradient.EndColor", false,
         [](auto& o) { o.Series.Marks().Gradient().SetEndColor(clYellow); }, true},
        {"group active", Group, "Active", false, [](auto& o) { o.Series.SetActive(false); }, true},
        {"group name has no default", Group, "Name", true, nullptr, true},
        {"function period has no default", Average, "Period", true, nullptr, true},
        {"function style", Average, "PeriodStyle", false, [](auto& o) { o.Average.SetPeriodStyle(psRange); }, true},
        {"function align", Average, "PeriodAlign", false, [](auto& o) { o.Average.SetPeriodAlign(paLast); }, true},
        {"average nulls", Average, "IncludeNulls", false, [](auto& o) { o.Average.SetIncludeNulls(false); }, true},
        {"median nulls", Median, "IncludeNulls", false, [](auto& o) { o.Median.SetIncludeNulls(false); }, true},
        {"custom points", Custom, "NumPoints", false, [](auto& o) { o.Custom.SetNumPoints(5); }, true},
        {"custom start has no default", Custom, "StartX", true, nullptr, true},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TObjects objects;
        if (std::string(row.Name) == "group active") objects.Group->Series().Add(&objects.Series);
        TPersistent& object = row.Object(objects);
        EXPECT_EQ(Stored(object, row.Path), row.StoredAtFirst);
        if (row.Change) row.Change(objects);
        EXPECT_EQ(Stored(object, row.Path), row.StoredAfter);
    }
}
