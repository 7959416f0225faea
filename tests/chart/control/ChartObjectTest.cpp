// The chart as a component: its stream children (series, then tools), tools moving between charts, the
// parts it frees with itself, and the published properties of walls, titles, legend and chart with their
// defaults and stored rules.
#include "ChartTestSupport.h"

#include <gtest/gtest.h>

namespace {

class TCountingChart : public TChart {
public:
    explicit TCountingChart(TComponent* AOwner = nullptr) : TChart(AOwner) {}
    void Invalidate() override
    {
        ++Invalidations;
        TChart::Invalidate();
    }
    int Invalidations = 0;
};

class TTestTool : public TLumCustomTool {
public:
    explicit TTestTool(TComponent* AOwner) : TLumCustomTool(AOwner) {}
};

std::vector<TComponent*> Children(const TCustomChart& Chart)
{
    std::vector<TComponent*> out;
    Chart.GetChildren([&](TComponent* c) { out.push_back(c); }, nullptr);
    return out;
}

} // namespace

TEST(ChartObject, ChildrenAreSeriesThenTools)
{
    TComponent form(nullptr);
    TChart chart(&form);
    auto* toolA = new TTestTool(&form);
    chart.Tools().AddTool(toolA);
    auto& s1 = AddSeries(chart, {1});
    auto* toolB = new TTestTool(&form);
    chart.Tools().AddTool(toolB);
    auto& s2 = AddSeries(chart, {2});
    EXPECT_EQ(Children(chart), (std::vector<TComponent*>{&s1, &s2, toolA, toolB}));
    chart.SwapSeriesObjects(&s1, &s2);
    EXPECT_EQ(Children(chart), (std::vector<TComponent*>{&s2, &s1, toolA, toolB}));
}

TEST(ChartObject, ToolMovedBetweenChartsLeavesTheFirstWithoutRepainting)
{
    TComponent form(nullptr);
    TCountingChart first(&form), second(&form);
    auto* tool = new TTestTool(&form);
    first.Tools().AddTool(tool);
    const int before = first.Invalidations;
    tool->SetParentChart(&second);
    EXPECT_EQ(first.Tools().Count(), 0);
    ASSERT_EQ(second.Tools().Count(), 1);
    EXPECT_EQ(second.Tools().GetTool(0), tool);
    EXPECT_EQ(first.Invalidations, before);
    EXPECT_EQ(Children(second), (std::vector<TComponent*>{tool}));
    // Leaving every chart repaints the one it leaves.
    tool->SetParentChart(nullptr);
    EXPECT_GT(second.Invalidations, 0);
}

TEST(ChartObject, FreeingAChartFreesItsParts)
{
    // Parts with sub-objects made on first use, a legend that points to a series, series and tools: the
    // sanitizer build reports anything left or used after the chart is gone.
    for (const bool seriesFirst : {false, true}) {
        TComponent form(nullptr);
        auto* chart = new TChart(&form);
        const std::string line = "title";
        chart->Title().SetTextLine(&line);
        chart->Foot().Gradient().SetVisible(true);
        chart->BackWall().Gradient();
        chart->Legend().Gradient();
        chart->Legend().Title().Text().Add("legend");
        auto& series = AddSeries(*chart, {1, 2});
        chart->Legend().AssignSeries(&series);
        chart->Tools().AddTool(new TTestTool(&form));
        RenderChart(*chart);
        if (seriesFirst) series.Free();
        chart->Free();
        EXPECT_EQ(form.ComponentCount(), 0) << "the tool went with the chart";
    }
}

namespace {

// A published property: its default as text, a value that differs, and whether the default is stored.
struct TPropCase {
    const char* Path;
    const char* Default;
    const char* Other;
};

void CheckProperties(TPersistent& Object, const std::vector<TPropCase>& Cases)
{
    for (const TPropCase& c : Cases) {
        SCOPED_TRACE(std::string(Object.ClassName()) + "." + c.Path);
        TPersistent* holder = nullptr;
        const TPropInfo* prop = FindPropInfo(Object, c.Path, &holder);
        ASSERT_NE(prop, nullptr) << "published";
        EXPECT_EQ(GetPropText(Object, c.Path), c.Default);
        EXPECT_FALSE(IsStoredProp(*holder, *prop)) << "the default is not stored";
        SetPropText(Object, c.Path, c.Other);
        EXPECT_EQ(GetPropText(Object, c.Path), c.Other);
        EXPECT_TRUE(IsStoredProp(*holder, *prop)) << "another value is stored";
        SetPropText(Object, c.Path, c.Default);
    }
}

} // namespace

TEST(ChartObject, WallPropertiesAndStoredRules)
{
    TChart chart(nullptr);
    const std::vector<TPropCase> common = {
        {"AutoHide", "False", "True"}, {"Dark3D", "True", "False"},     {"Size", "0", "3"},
        {"Transparency", "0", "40"},   {"Gradient.Visible", "False", "True"},
    };
    CheckProperties(chart.BottomWall(), common);
    CheckProperties(chart.BottomWall(), {{"Color", "16777215", "255"},
                                         {"Transparent", "False", "True"},
                                         {"Visible", "True", "False"}});
    CheckProperties(chart.LeftWall(), {{"Color", "8454143", "255"}});
    CheckProperties(chart.BackWall(), {{"Color", "12632256", "255"}, {"Transparent", "True", "False"}});
    CheckProperties(chart.BackWall(), common);
    CheckProperties(chart.RightWall(), {{"Color", "12632256", "255"}, {"Visible", "False", "True"}});
    EXPECT_NE(FindPropInfo(chart.BackWall(), "Pen.Width"), nullptr);
    EXPECT_NE(FindPropInfo(chart.BackWall(), "Brush.Style"), nullptr);
    // A colour given at construction is also the default the stored test compares with.
    EXPECT_EQ(chart.LeftWall().DefaultColor(), static_cast<TColor>(0x0080FFFF));
}

TEST(ChartObject, TitlePropertiesAndStoredRules)
{
    TChart chart(nullptr);
    const std::vector<TPropCase> common = {
        {"AdjustFrame", "True", "False"},       {"Alignment", "taCenter", "taLeftJustify"},
        {"Bevel", "bvNone", "bvRaised"},        {"BevelWidth", "2", "4"},
        {"Color", "16777215", "255"},           {"CustomPosition", "False", "True"},
        {"ShapeStyle", "fosRectangle", "fosRoundRectangle"},
        {"TextFormat", "ttfNormal", "ttfHtml"}, {"Transparency", "0", "30"},
        {"Transparent", "True", "False"},       {"Visible", "True", "False"},
    };
    for (TChartTitle* title : {&chart.Title(), &chart.SubTitle()}) {
        CheckProperties(*title, common);
        CheckProperties(*title, {{"Font.Color", "16711680", "255"}, {"Font.Style", "[]", "[fsBold]"}});
    }
    for (TChartTitle* foot : {static_cast<TChartTitle*>(&chart.Foot()), static_cast<TChartTitle*>(&chart.SubFoot())}) {
        CheckProperties(*foot, common);
        CheckProperties(*foot, {{"Font.Color", "255", "16711680"}, {"Font.Style", "[fsItalic]", "[]"}});
    }
    // Left and Top are stored only with a custom position, which setting either switches on.
    TChartTitle& title = chart.Title();
    TPersistent* holder = nullptr;
    const TPropInfo* left = FindPropInfo(title, "Left", &holder);
    ASSERT_NE(left, nullptr);
    EXPECT_FALSE(IsStoredProp(title, *left));
    SetPropText(title, "Top", "12");
    EXPECT_TRUE(title.CustomPosition());
    EXPECT_TRUE(IsStoredProp(title, *left));
    EXPECT_TRUE(IsStoredProp(title, *FindPropInfo(title, "CustomPosition")));
    EXPECT_NE(FindPropInfo(title, "Frame.Width"), nullptr);
    EXPECT_NE(FindPropInfo(title, "Text"), nullptr);
}

TEST(ChartObject, LegendPropertiesAndStoredRules)
{
    TChart chart(nullptr);
    TChartLegend& legend = chart.Legend();
    CheckProperties(legend, {
                                {"Alignment", "laRight", "laBottom"},
                                {"Bevel", "bvNone", "bvLowered"},
                                {"BevelWidth", "2", "3"},
                                {"CheckBoxes", "False", "True"},
                                {"CheckBoxesStyle", "cbsCheck", "cbsRadio"},
                                {"Color", "16777215", "65535"},
                                {"ColorWidth", "20", "35"},
                                {"CurrentPage", "True", "False"},
                                {"CustomPosition", "False", "True"},
                                {"DividingLines.Visible", "False", "True"},
                                {"FirstValue", "0", "2"},
                                {"FontSeriesColor", "False", "True"},
                                {"HorizMargin", "0", "5"},
                                {"Inverted", "False", "True"},
                                {"LeftPercent", "0", "50"},
                                {"LegendStyle", "lsAuto", "lsLastValues"},
                                {"MaxNumRows", "10", "3"},
                                {"PositionUnits", "muPixels", "muPercent"},
                                {"ResizeChart", "True", "False"},
                                {"ShapeStyle", "fosRectangle", "fosRoundRectangle"},
                                {"TextStyle", "ltsLeftValue", "ltsXAndPercent"},
                                {"TopPercent", "0", "10"},
                                {"TopPos", "10", "33"},
                                {"Transparency", "0", "20"},
                                {"Transparent", "False", "True"},
                                {"VertMargin", "0", "6"},
                                {"VertSpacing", "0", "-2"},
                                {"Visible", "True", "False"},
                                {"Gradient.Direction", "gdRightLeft", "gdTopBottom"},
                                {"Gradient.StartColor", "12632256", "255"},
                                {"Gradient.EndColor", "16777215", "255"},
                            });
    CheckProperties(legend.Symbol(), {
                                         {"Continuous", "False", "True"},
                                         {"DefaultPen", "True", "False"},
                                         {"Position", "spLeft", "spRight"},
                                         {"Squared", "False", "True"},
                                         {"Visible", "True", "False"},
                                         {"Width", "20", "40"},
                                         {"WidthUnits", "lcsPercent", "lcsPixels"},
                                         {"Gradient.Visible", "False", "True"},
                                     });
    CheckProperties(legend.Title(), {
                                        {"TextAlignment", "taLeftJustify", "taCenter"},
                                        {"TextFormat", "ttfNormal", "ttfHtml"},
                                        {"Transparent", "True", "False"},
                                        {"Font.Style", "[fsBold]", "[]"},
                                        {"Shadow.Color", "12632256", "0"},
                                        {"Shadow.HorizSize", "2", "5"},
                                        {"Shadow.VertSize", "2", "5"},
                                    });
    EXPECT_NE(FindPropInfo(legend, "Title.Text"), nullptr);
    EXPECT_NE(FindPropInfo(legend, "Symbol.Pen.Width"), nullptr);
    EXPECT_NE(FindPropInfo(legend, "Frame.Visible"), nullptr);
    EXPECT_EQ(legend.Symbol().Width(), 20);
    SetPropText(legend, "ColorWidth", "44");
    EXPECT_EQ(legend.Symbol().Width(), 44) << "ColorWidth is the symbol's width";
}

TEST(ChartObject, ChartPropertiesAndStoredRules)
{
    TChart chart(nullptr);
    CheckProperties(chart, {
                               {"AllowPanning", "pmBoth", "pmNone"},
                               {"AxisBehind", "True", "False"},
                               {"AxisVisible", "True", "False"},
                               {"BevelInner", "bvNone", "bvRaised"},
                               {"BevelOuter", "bvRaised", "bvNone"},
                               {"BevelWidth", "1", "2"},
                               {"BorderRound", "0", "5"},
                               {"BorderWidth", "0", "3"},
                               {"Chart3DPercent", "15", "40"},
                               {"ClipPoints", "True", "False"},
                               {"MarginBottom", "4", "9"},
                               {"MarginLeft", "3", "9"},
                               {"MarginRight", "3", "9"},
                               {"MarginTop", "4", "9"},
                               {"MarginUnits", "muPercent", "muPixels"},
                               {"MaxPointsPerPage", "0", "10"},
                               {"Monochrome", "False", "True"},
                               {"PrintProportional", "True", "False"},
                               {"ScaleLastPage", "True", "False"},
                               {"ScrollMouseButton", "mbRight", "mbMiddle"},
                               {"View3D", "True", "False"},
                               {"View3DWalls", "True", "False"},
                               {"Legend.Alignment", "laRight", "laLeft"},
                               {"Title.AdjustFrame", "True", "False"},
                               {"Foot.Font.Color", "255", "0"},
                               {"BackWall.Transparent", "True", "False"},
                               {"BottomWall.Size", "0", "2"},
                               {"LeftWall.Color", "8454143", "0"},
                               {"RightWall.Visible", "False", "True"},
                           });
    // Frame is the back wall's pen.
    SetPropText(chart, "Frame.Width", "3");
    EXPECT_EQ(chart.BackWall().Pen().Width(), 3);
    for (const char* part : {"SubTitle", "SubFoot", "Zoom", "View3DOptions", "BottomAxis", "DepthAxis", "Gradient"})
        EXPECT_NE(FindPropInfo(chart, part), nullptr) << part;
    const std::unique_ptr<TComponent> made(TChart::StaticClassInfo().CreateComponent(nullptr));
    EXPECT_NE(dynamic_cast<TChart*>(made.get()), nullptr) << "streams can make charts by class";
}
