// The chart control unit's process-wide registries (series and function types with their gallery
// captions and pages, tool types, named colour palettes), the helpers that create, clone, replace and
// name series and functions and draw a series' legend symbol on any canvas, and the unit's start-up and
// shut-down. Qt-free.
#pragma once

#include "platform/graphics/GraphicsTypes.h"
#include "platform/rtl/Classes.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class TCanvas;
class TChartSeries;
class TCustomAxisPanel;
class TCustomChart;
class TLumFunction;
class TStringList;

// ---- Series and function types ---------------------------------------------------------------------------

// A registered type: a series class (a series type), a function class (a function type) or both (the
// gallery's temporary entries), with its gallery caption (#13 breaks it into two lines) and page.
struct TLumSeriesType {
    const TClassInfo* SeriesClassRef = nullptr;
    const TClassInfo* FunctionClassRef = nullptr;
    std::string Caption;
    std::string Page;
    // Series the gallery's sample chart shows: 1 or 2.
    int GallerySeriesCount = 1;
};

class TLumSeriesTypes {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // ERangeError outside 0..Count-1.
    TLumSeriesType& GetSeriesType(int Index) const;
    // The first entry of the series class without a function class; none when there is none.
    TLumSeriesType* FindSeriesType(const TClassInfo& SeriesClass) const;
    // The entry of exactly this pair; none when there is none.
    TLumSeriesType* FindEntry(const TClassInfo* SeriesClass, const TClassInfo* FunctionClass) const;
    void Add(TLumSeriesType Entry);
    // Removes the entries whose series class (IsSeries) or function class is the class.
    void RemoveClass(bool IsSeries, const TClassInfo& Class);
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TLumSeriesType>> FItems;
};

// The registry; none until the first registration (and after shut-down).
TLumSeriesTypes* LumSeriesTypes();

// Creates the registry when missing, registers each given class with the class library, and adds an
// entry unless one with the same series class and function class exists.
void RegisterSeriesOrFunction(const TClassInfo* SeriesClass, const TClassInfo* FunctionClass,
                              const std::string& Caption, int GallerySeriesCount, const std::string& Page);
void RegisterSeries(const TClassInfo& SeriesClass, const std::string& Caption, const std::string& Page,
                    int GallerySeriesCount = 1);
void RegisterFunction(const TClassInfo& FunctionClass, const std::string& Caption, const std::string& Page,
                      int GallerySeriesCount = 1);
// On the page "Standard" with a gallery count of 2.
void RegisterStandardSeries(const TClassInfo& SeriesClass, const std::string& Caption);
void RegisterStandardFunction(const TClassInfo& FunctionClass, const std::string& Caption);
// Removes every entry of the class as series class (IsSeries) or function class; nothing without a
// registry.
void UnregisterSeriesOrFunction(bool IsSeries, const TClassInfo& Class);
void UnregisterSeriesClasses(std::initializer_list<const TClassInfo*> Classes);
void UnregisterFunctionClasses(std::initializer_list<const TClassInfo*> Classes);
// The caption of the series type entry of the element's class, else the class name.
std::string SeriesTypeDescription(const TPersistent& Element);

// ---- Tool types ------------------------------------------------------------------------------------------

class TLumToolTypes {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // ERangeError outside 0..Count-1.
    const TClassInfo* GetToolClass(int Index) const;
    int IndexOf(const TClassInfo* Class) const;
    void Add(const TClassInfo* Class) { FItems.push_back(Class); }
    void Remove(const TClassInfo* Class);

private:
    std::vector<const TClassInfo*> FItems;
};

// The registry, in the order of the tools gallery; none before start-up and after shut-down.
TLumToolTypes* LumToolTypes();
// Each class not yet listed is registered with the class library and appended.
void RegisterToolClasses(std::initializer_list<const TClassInfo*> Classes);
void UnregisterToolClasses(std::initializer_list<const TClassInfo*> Classes);
// The page-number tool's class, given by its unit at start-up (none until then); the paging page of the
// chart editor offers the tool only when it is known.
const TClassInfo* PageNumToolClass();
void SetPageNumToolClass(const TClassInfo* Class);

// ---- Colour palettes -------------------------------------------------------------------------------------

// The palette names, index = palette index ("Lumigram", "Excel", ..., "Win. XP"); none before start-up.
const TStringList* ColorPalettes();
// The colours of a palette; empty for 0 (the engine's default palette) and for indexes beyond 9.
const std::vector<TColor>& ColorPaletteColors(int Index);
// The chart's palette becomes that palette's colours (emptied for any index but 1..9); series still on
// the default colour take the first free palette colour; ColorPaletteIndex := Index; a repaint.
void ApplyColorPalette(TCustomChart& Chart, int Index);

// ---- Series helpers --------------------------------------------------------------------------------------

// "Series" and the smallest number from 1 that no component of the owner uses.
std::string UniqueSeriesName(const TComponent* Owner);
// A new series of the class, owned by Owner (or the chart when none is given, or whenever a series of
// the chart is owned by the chart itself), named by UniqueSeriesName, in the chart, with a new function
// of FunctionClass when one is given. None for a class that makes no series.
TChartSeries* NewSeriesOfClass(TComponent* Owner, TCustomAxisPanel* Chart, const TClassInfo& SeriesClass,
                               const TClassInfo* FunctionClass);
// A function of the class owned by the series' owner, attached to it, named "LumFunction" and the
// smallest free number.
TLumFunction* NewFunctionOfClass(TChartSeries& Series, const TClassInfo& FunctionClass);
// A series of the same class (and function class) in the same owner and chart, with the settings of
// the given one.
TChartSeries* CloneSeries(TChartSeries& Series);
// Unless the series is of that very class, a new series of the class takes its place
// (ReplaceSeriesObject); Series then holds the new one.
void ChangeSeriesClass(TChartSeries*& Series, const TClassInfo& Class);
// The new series takes the old one's settings, its eight events, the series that take their data from
// it, the chart's series tools and legend that point to it, its name and its place in the chart; the
// old series is freed and OldSeries cleared.
void ReplaceSeriesObject(TChartSeries*& OldSeries, TChartSeries* NewSeries);
// The series' legend symbol in Rect of any canvas. A series without a chart is attached for the call
// to Chart, or to a temporary chart. The chart's canvas is back on its own target afterwards, also when
// painting raises.
void PaintSeriesLegendSymbol(TChartSeries& Series, TCanvas& Canvas, const TRect& Rect, TCustomChart* Chart);
// The chart's first Active series; none when there is none.
TChartSeries* FirstActiveSeries(const TCustomAxisPanel& Chart);

// ---- Start-up and shut-down ------------------------------------------------------------------------------

// Seeds the random generator of the engine's sample values, creates the tool registry and the palette
// list, installs the engine's hook for standard functions and registers the basic functions. The
// program and the test environments call it once, before the chart control is used.
void ChartInitialization();
// Frees the palette list and the registries.
void ChartFinalization();
