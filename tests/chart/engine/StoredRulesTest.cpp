// The published properties of the engine's classes with their defaults and stored tests: each row names
// a property, whether a fresh object stores it, a change, and whether it is stored afterwards.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {
bool IsStored(const TPersistent& obj, const std::string& path)
{
    TPersistent* holder = nullptr;
    const TPropInfo* prop = FindPropInfo(obj, path, &holder);
    if (!prop || !holder) throw Exception("no property " + path);
    return IsStoredProp(*holder, *prop);
}

struct TStoredRow {
    const char* name;
    std::function<TPersistent&(TTestChart&, TTestSeries&)> object;
    const char* path;
    bool storedAtFirst;
    std::function<void(TTestChart&, TTestSeries&)> change;
    bool storedAfter;
};

TPersistent& Bottom(TTestChart& c, TTestSeries&) { return c.BottomAxis(); }
TPersistent& Left(TTestChart& c, TTestSeries&) { return c.LeftAxis(); }
TPersistent& Top(TTestChart& c, TTestSeries&) { return c.TopAxis(); }
TPersistent& Depth(TTestChart& c, TTestSeries&) { return c.DepthAxis(); }
TPersistent& CustomAxis(TTestChart& c, TTestSeries&) { return c.CustomAxes().CustomAxisAt(0); }
TPersistent& Series(TTestChart&, TTestSeries& s) { return s; }
TPersistent& Chart(TTestChart& c, TTestSeries&) { return c; }
} // namespace

TEST(StoredRules, PublishedPropertiesCarryTheirDefaultsAndStoredTests)
{
    const TStoredRow rows[] = {
        {"automatic", Bottom, "Automatic", false, [](auto& c, auto&) { c.BottomAxis().SetAutomatic(false); }, true},
        {"maximum while automatic", Bottom, "Maximum", false,
         [](auto& c, auto&) { c.BottomAxis().SetAutomaticMaximum(false); }, true},
        {"maximum with only the minimum fixed", Bottom, "Maximum", false,
         [](auto& c, auto&) { c.BottomAxis().SetAutomaticMinimum(false); }, false},
        {"minimum", Bottom, "Minimum", false, [](auto& c, auto&) { c.BottomAxis().SetAutomatic(false); }, true},
        {"values format", Bottom, "AxisValuesFormat", false,
         [](auto& c, auto&) { c.BottomAxis().SetAxisValuesFormat("0.0"); }, true},
        {"date-time format", Bottom, "DateTimeFormat", true, nullptr, true},
        {"increment", Bottom, "Increment", true, nullptr, true},
        {"logarithmic base", Bottom, "LogarithmicBase", false,
         [](auto& c, auto&) { c.BottomAxis().SetLogarithmicBase(2); }, true},
        {"horizontal of a standard axis", Bottom, "Horizontal", false, nullptr, false},
        {"horizontal of a custom axis", CustomAxis, "Horizontal", false,
         [](auto& c, auto&) { c.CustomAxes().CustomAxisAt(0).SetHorizontal(true); }, true},
        {"other side of a custom axis", CustomAxis, "OtherSide", false,
         [](auto& c, auto&) { c.CustomAxes().CustomAxisAt(0).SetOtherSide(true); }, true},
        {"z position", Bottom, "ZPosition", false, [](auto& c, auto&) { c.BottomAxis().SetZPosition(50); }, true},
        {"z position 0 becomes 0.01", Bottom, "ZPosition", false,
         [](auto& c, auto&) { c.BottomAxis().SetZPosition(0); }, false},
        {"z position on the other side", Top, "ZPosition", false,
         [](auto& c, auto&) { c.TopAxis().SetZPosition(50); }, true},
        {"z position of a depth axis", Depth, "ZPosition", false,
         [](auto& c, auto&) { c.DepthAxis().SetZPosition(50); }, false},
        {"start position", Bottom, "StartPosition", false, [](auto& c, auto&) { c.BottomAxis().SetStartPosition(10); }, true},
        {"end position", Bottom, "EndPosition", false, [](auto& c, auto&) { c.BottomAxis().SetEndPosition(90); }, true},
        {"position percent", Bottom, "PositionPercent", false,
         [](auto& c, auto&) { c.BottomAxis().SetPositionPercent(5); }, true},
        {"tick length", Bottom, "TickLength", false, [](auto& c, auto&) { c.BottomAxis().SetTickLength(5); }, true},
        {"labels", Bottom, "Labels", false, [](auto& c, auto&) { c.BottomAxis().SetLabels(false); }, true},
        {"labels separation", Bottom, "LabelsSeparation", false,
         [](auto& c, auto&) { c.BottomAxis().SetLabelsSeparation(0); }, true},
        {"label style", Bottom, "LabelStyle", false, [](auto& c, auto&) { c.BottomAxis().SetLabelStyle(talText); }, true},
        {"grid centred", Bottom, "GridCentered", false, [](auto& c, auto&) { c.BottomAxis().SetGridCentered(true); }, true},
        {"visible", Bottom, "Visible", false, [](auto& c, auto&) { c.BottomAxis().SetVisible(false); }, true},
        {"depth axis hidden", Depth, "Visible", false, [](auto& c, auto&) { c.DepthAxis().SetVisible(true); }, true},
        {"left title angle", Left, "Title.Angle", false, [](auto& c, auto&) { c.LeftAxis().Title().SetAngle(0); }, true},
        {"bottom title angle", Bottom, "Title.Angle", false,
         [](auto& c, auto&) { c.BottomAxis().Title().SetAngle(45); }, true},
        {"title caption", Bottom, "Title.Caption", true, nullptr, true},
        {"top grid depth", Top, "Grid.ZPosition", false, [](auto& c, auto&) { c.TopAxis().Grid().SetZPosition(0); }, true},
        {"axis pen width", Bottom, "Axis.Width", false, [](auto& c, auto&) { c.BottomAxis().Axis().SetWidth(3); }, true},
        {"axis line mode", Bottom, "Axis.LineMode", false,
         [](auto& c, auto&) { c.BottomAxis().Axis().SetLineMode(lmCylinder); }, true},
        {"minor grid hidden", Bottom, "MinorGrid.Visible", false,
         [](auto& c, auto&) { c.BottomAxis().MinorGrid().SetVisible(true); }, true},
        {"series colour from the palette", Series, "SeriesColor", false,
         [](auto&, auto& s) { s.SetSeriesColor(clBlack); }, true},
        {"value format", Series, "ValueFormat", false, [](auto&, auto& s) { s.SetValueFormat("0.0"); }, true},
        {"percent format", Series, "PercentFormat", false, [](auto&, auto& s) { s.SetPercentFormat("0 %"); }, true},
        {"depth", Series, "Depth", false, [](auto&, auto& s) { s.SetDepth(5); }, true},
        {"horizontal axis", Series, "HorizAxis", false, [](auto&, auto& s) { s.SetHorizAxis(aTopAxis); }, true},
        {"vertical axis", Series, "VertAxis", false, [](auto&, auto& s) { s.SetVertAxis(aRightAxis); }, true},
        {"show in legend", Series, "ShowInLegend", false, [](auto&, auto& s) { s.SetShowInLegend(false); }, true},
        {"active", Series, "Active", false, [](auto&, auto& s) { s.SetActive(false); }, true},
        {"show in editor", Series, "ShowInEditor", false, [](auto&, auto& s) { s.SetShowInEditor(false); }, true},
        {"list date-time", Series, "XValues.DateTime", false, [](auto&, auto& s) { s.XValues().SetDateTime(true); }, true},
        {"list date-time by default", Series, "XValues.DateTime", false,
         [](auto&, auto& s) { s.XValues().InitDateTime(true); }, false},
        {"list order", Series, "XValues.Order", true, nullptr, true},
        {"marks visible", Series, "Marks.Visible", false, [](auto&, auto& s) { s.Marks().SetVisible(true); }, true},
        {"marks style", Series, "Marks.Style", false, [](auto&, auto& s) { s.Marks().SetStyle(smsValue); }, true},
        {"marks colour", Series, "Marks.Color", false, [](auto&, auto& s) { s.Marks().SetColor(clWhite); }, true},
        {"marks every", Series, "Marks.DrawEvery", false, [](auto&, auto& s) { s.Marks().SetDrawEvery(3); }, true},
        {"3-D percent", Chart, "Chart3DPercent", false, [](auto& c, auto&) { c.SetChart3DPercent(30); }, true},
        {"axis behind", Chart, "AxisBehind", false, [](auto& c, auto&) { c.SetAxisBehind(false); }, true},
        {"points per page", Chart, "MaxPointsPerPage", false, [](auto& c, auto&) { c.SetMaxPointsPerPage(5); }, true},
        {"page", Chart, "Page", false, nullptr, false},
    };
    for (const TStoredRow& row : rows) {
        TTestChart chart;
        TChartAxis::CreateForChart(chart);
        TTestSeries series;
        series.SetParentChart(&chart);
        TPersistent& object = row.object(chart, series);
        EXPECT_EQ(IsStored(object, row.path), row.storedAtFirst) << row.name;
        if (row.change) row.change(chart, series);
        EXPECT_EQ(IsStored(object, row.path), row.storedAfter) << row.name;
    }
}

TEST(StoredRules, StreamPropertiesWrittenOnlyWhenThereIsSomethingToWrite)
{
    TTestSeries s;
    const TDefinedProperty* identifier = s.ClassInfo().FindDefinedProperty("Identifier");
    const TDefinedProperty* style = s.ClassInfo().FindDefinedProperty("Style");
    ASSERT_TRUE(identifier && style);
    EXPECT_FALSE(identifier->IsWritten(s));
    EXPECT_FALSE(style->IsWritten(s));
    s.SetIdentifier("obs");
    s.SetEditorFlags(0x11);
    EXPECT_TRUE(identifier->IsWritten(s));
    EXPECT_EQ(std::get<std::int64_t>(style->WriteValue(s)), 0x11);
    style->ReadValue(s, TPropValue(std::int64_t{0xFF}));   // only the six known bits are kept
    EXPECT_EQ(s.EditorFlags(), 0x3F);

    TTestChart chart;
    TLumCustomToolAxis tool(nullptr);
    const TDefinedProperty* axisId = tool.ClassInfo().FindDefinedProperty("AxisID");
    ASSERT_NE(axisId, nullptr);
    EXPECT_FALSE(axisId->IsWritten(tool));
    tool.SetAxis(&chart.LeftAxis());
    EXPECT_EQ(std::get<std::int64_t>(axisId->WriteValue(tool)), 2);
    TLumCustomToolAxis copy(nullptr);
    copy.SetParentChart(&chart);
    axisId->ReadValue(copy, TPropValue(std::int64_t{3}));
    EXPECT_EQ(copy.Axis(), &chart.RightAxis());
}

TEST(StoredRules, StartUpMakesTheStreamedClassesKnown)
{
    LumEngineInitialization();
    for (const char* name : {"TChartAxisTitle", "TChartAxis", "TChartDepthAxis", "TSeriesMarks"})
        EXPECT_NE(FindClassInfo(name), nullptr) << name;
    LumEngineFinalization();
    EXPECT_EQ(FindClassInfo("TChartAxis"), nullptr);
}
