// What the chart control's mouse handling shares with its users: the hit test's result, the hooks
// through which the pop-up menus and the legend open the editor dialogs (filled by the editors'
// library; while a hook is empty its "Options" item is disabled), and the axis names. Qt-free.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class TChartAxis;
class TChartLegend;
class TChartSeries;
class TCustomChart;

// The part of a chart under a point.
enum TChartPartKind : std::uint8_t {
    cpNone = 0,
    cpLegend = 1,
    cpAxis = 2,
    cpSeries = 3,
    cpTitle = 4,
    cpFoot = 5,
    cpChartRect = 6,
    cpSeriesMarks = 7,
    cpSubTitle = 8,
    cpSubFoot = 9
};

struct TChartPartHit {
    TChartPartKind Part = cpNone;
    // The legend item, the point or the point of the mark; -1 for the other parts.
    int ItemIndex = -1;
    TChartSeries* Series = nullptr;
    TChartAxis* Axis = nullptr;
};

// The editor dialogs the chart opens, modally; each returns when the dialog is closed.
struct TChartEditorHooks {
    // The series-only chart editor "Graphic editor" for one series.
    std::function<void(TChartSeries& Series)> ShowGraphicEditor;
    // The axis dialog for one axis of the chart.
    std::function<void(TCustomChart& Chart, TChartAxis& Axis)> ShowAxisDialog;
    // The legend editor, captioned "Legend options".
    std::function<void(TCustomChart& Chart, TChartLegend& Legend)> ShowLegendEditor;
    // The chart engine's about box.
    std::function<void()> ShowAboutBox;
};

// The process's hooks (empty until the editors' library installs them).
TChartEditorHooks& ChartEditorHooks();

// The axis title's caption; when empty "Depth Right", "Depth Top", "Top Axis", "Bottom Axis", "Right Axis"
// or "Left Axis" by the axis' place.
std::string AxisTitleOrName(const TChartAxis& Axis);

// The hint an axis shows while the mouse is over it.
inline constexpr char AxisSettingsHint[] = "[Shift+RightClick] axis settings";
