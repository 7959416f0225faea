// What every topic of the chart engine model shares: its two exception classes, the enumerations of
// series, axes and marks with their stream names, the forward declarations of the model's classes, and
// the unit's module state (growth step of value lists, the axis pixel clamp, the hooks that the chart
// control's style-string codec fills).
#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TypInfo.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>

// Refused series and function settings, with the engine's English message texts.
VSP_DECLARE_EXCEPTION(ChartException, Exception);
// Refused axis settings.
VSP_DECLARE_EXCEPTION(AxisException, Exception);

class TChartValueList;
class TCustomChartElement;
class TCustomChartSeries;
class TChartSeries;
class TSeriesMarks;
class TChartAxis;
class TChartDepthAxis;
class TChartAxes;
class TChartCustomAxes;
class TCustomSeriesList;
class TChartSeriesList;
class TCustomAxisPanel;
class TLumCustomTool;
class TChartTools;

// Stored sizes and offsets (a symbol's half size, a mark's frame, an arrow's length) are bounded to this
// reach before they are added to a position: far beyond any device, and a few such sums still fit an int.
constexpr int DrawingReach = 1 << 28;
inline int WithinReach(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, -DrawingReach, DrawingReach));
}

// ---- Enumerations ------------------------------------------------------------------------------------

enum TChartListOrder { loNone, loAscending, loDescending };
inline const TEnumNames ChartListOrderNames{"loNone", "loAscending", "loDescending"};

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
inline const TEnumNames HorizAxisNames{"aTopAxis", "aBottomAxis", "aBothHorizAxis", "aCustomHorizAxis"};

enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };
inline const TEnumNames VertAxisNames{"aLeftAxis", "aRightAxis", "aBothVertAxis", "aCustomVertAxis"};

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };
inline const TEnumNames AxisLabelStyleNames{"talAuto", "talNone", "talValue", "talMark", "talText"};

enum TAxisLabelAlign { alDefault, alOpposite };
inline const TEnumNames AxisLabelAlignNames{"alDefault", "alOpposite"};

enum TPenLineMode { lmLine, lmCylinder, lmRectangle };
inline const TEnumNames PenLineModeNames{"lmLine", "lmCylinder", "lmRectangle"};

enum TSeriesMarksStyle {
    smsValue, smsPercent, smsLabel, smsLabelPercent, smsLabelValue, smsLegend, smsPercentTotal,
    smsLabelPercentTotal, smsXValue, smsXY
};
inline const TEnumNames SeriesMarksStyleNames{"smsValue", "smsPercent", "smsLabel", "smsLabelPercent",
                                              "smsLabelValue", "smsLegend", "smsPercentTotal",
                                              "smsLabelPercentTotal", "smsXValue", "smsXY"};

enum TSeriesGroupActive { gaYes, gaNo, gaSome };
inline const TEnumNames SeriesGroupActiveNames{"gaYes", "gaNo", "gaSome"};

// What a data change of a series tells the series that depend on it.
enum : int {
    dnCleared = 0, dnAdded = 1, dnDeleted = 2, dnRefresh = 3, dnValueChanged = 4
};
// Which changes of a source series a dependent follows (its follow flags).
enum : std::uint8_t {
    followDeletions = 1, followValueChanges = 2, followAdditions = 4, followClears = 8, followAll = 15
};

// Kinds of the series event the chart sends its listeners.
enum : std::uint8_t {
    seAdded = 0, seRemoved = 1, seTitle = 2, seColor = 3, seSwapped = 4, seActive = 5, seDataChanged = 6
};

// ---- Module state ------------------------------------------------------------------------------------

// The hooks through which the model reaches the style-string codec of the chart control; empty until
// that unit installs them (a default style stays empty, a restore applies nothing).
struct TLumEngineStyleHooks {
    std::function<std::string(TChartAxis&)> WriteAxisStyle;
    std::function<void(TChartAxis&, const std::string&, bool withPosition)> ReadAxisStyle;
    std::function<std::string(TChartSeries&)> WriteSeriesStyle;
    std::function<bool(TChartSeries&, const std::string&)> ReadSeriesStyle;
};

// Hooks of the chart control's start-up that the model's units call; empty until it installs them.
struct TLumEngineControlHooks {
    // Registers a function class on the gallery page of standard functions under a gallery name.
    std::function<void(const TClassInfo& FunctionClass, const std::string& GalleryName)> RegisterStandardFunction;
};

struct TLumEngineModule {
    // Values by which a value list's storage grows when it is full.
    int ValueListGrowthStep = 1000;
    // The value-to-pixel routines clamp to -L..L before rounding: the largest device coordinate the
    // raster engine takes.
    int AxisPixelClampLimit = 8388607;
    TLumEngineStyleHooks Style;
    TLumEngineControlHooks Control;
};

TLumEngineModule& LumEngineModule();
// Back to the start-up state (tests).
void ResetLumEngineModule();
