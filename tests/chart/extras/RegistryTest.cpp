// The extras' series kinds and tools in the chart's registries after start-up: each kind with its gallery
// caption, page and count, in the order of the start-up, the tools in the tools gallery, all creatable by
// name from streams.
#include "ExtrasTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

void PrintTo(const TSeriesEntry& E, std::ostream* Out) { *Out << E.ClassName << " \"" << E.Caption << "\" " << E.Page << " " << E.Count; }

TEST(ExtrasRegistry, EveryKindWithCaptionPageAndCount)
{
    const std::vector<TSeriesEntry> expected{
        {"TChartShape", "Shape", "Standard", 2},
        {"TGanttSeries", "Gantt", "Standard", 1},
        {"TArrowSeries", "Arrow", "Extended", 2},
        {"TBubbleSeries", "Bubble", "Standard", 1},
        {"TBezierSeries", "Bezier", "Extended", 1},
        {"TPoint3DSeries", "Point 3D", "3D", 1},
        {"TBubble3DSeries", "Bubble 3D", "3D", 1},
        {"TMyPointSeries", "Line Point", "Other", 1},
        {"TBarJoinSeries", "Bar Join", "Other", 1},
        {"TBar3DSeries", "Bar 3D", "Other", 1},
        {"TDonutSeries", "Donut", "Extended", 1},
        {"TImageBarSeries", "ImageBar", "Other", 1},
        {"TImagePointSeries", "ImagePoint", "Other", 1},
        {"TDeltaPointSeries", "DeltaPoint", "Other", 1},
        {"TPyramidSeries", "Pyramid", "Extended", 2},
        {"TVolumePipeSeries", "VolumePipe", "Stats", 1},
        {"TFunnelSeries", "Funnel", "Stats", 1},
        {"TCalendarSeries", "Calendar", "Other", 1},
    };
    const std::vector<TSeriesEntry> all = RegisteredSeries();
    const auto first = std::find_if(all.begin(), all.end(), [](const TSeriesEntry& e) { return e.ClassName == "TChartShape"; });
    ASSERT_NE(first, all.end());
    EXPECT_EQ(std::vector<TSeriesEntry>(first, all.end()), expected);
    for (const TSeriesEntry& e : expected) EXPECT_NE(FindClassInfo(e.ClassName), nullptr) << e.ClassName;
}

TEST(ExtrasRegistry, ToolsJoinTheToolsGallery)
{
    const TLumToolTypes* tools = LumToolTypes();
    ASSERT_NE(tools, nullptr);
    std::vector<std::string> names;
    for (int i = 0; i < tools->Count(); ++i) names.push_back(tools->GetToolClass(i)->Name());
    const auto drag = std::find(names.begin(), names.end(), "TDragPointTool");
    ASSERT_NE(drag, names.end());
    EXPECT_EQ(std::vector<std::string>(drag, names.end()), (std::vector<std::string>{"TDragPointTool", "TGanttTool"}));
    EXPECT_NE(FindClassInfo("TGanttTool"), nullptr);
}
