// The axis panel: the chart panel that owns a chart's model (the six standard axes and the custom axes,
// the series list with its groups, the tool list); it pages long series, hands out series colours,
// tells listeners of series events, computes the series' extremes that give the axes their automatic
// ranges, and says which axes are shown. The chart control derives from it and supplies walls, titles,
// legend and the colour test.
#pragma once

#include "chart/base/RadErare.h"
#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineAxisList.h"
#include "chart/engine/LumEngineLists.h"
#include "chart/engine/LumEngineTools.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// The label text of an axis value (no series and index -1) or of a series' point; the handler may change it.
using TAxisOnGetLabel =
    std::function<void(TChartAxis* Sender, TChartSeries* Series, int ValueIndex, std::string& LabelText)>;
// The next label value of an axis; leaving Stop set ends the walk.
using TAxisOnGetNextLabel = std::function<void(TChartAxis* Sender, int LabelIndex, double& LabelValue, bool& Stop)>;

// A series was added, removed, retitled, recoloured, swapped, (de)activated or its data changed.
class TLumSeriesEvent : public TLumEvent {
public:
    std::uint8_t Event = 0;
    TChartSeries* Series = nullptr;
};

// The chart's page changed.
class TChartChangePage : public TLumEvent {};

class TCustomAxisPanel : public TCustomLumPanelExtended {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomAxisPanel(TComponent* AOwner);
    // Frees the series (detached first), the custom axes and the tools.
    ~TCustomAxisPanel() override;

    // From another axis panel: 3-D percent, axis flags and axes, clip flag, palette, custom axes, paging
    // and walls (as plain stores), then the extended panel's settings.
    void Assign(const TPersistent& Source) override;

    // ---- Settings ----
    int Chart3DPercent() const { return FChart3DPercent; }
    // 1..100; otherwise an exception "3D effect percent must be between 1 and 100".
    void SetChart3DPercent(int Value);
    bool AxisBehind() const { return FAxisBehind; }
    void SetAxisBehind(bool Value) { ChangeBoolean(FAxisBehind, Value); }
    bool AxisVisible() const { return FAxisVisible; }
    void SetAxisVisible(bool Value) { ChangeBoolean(FAxisVisible, Value); }
    bool ClipPoints() const { return FClipPoints; }
    void SetClipPoints(bool Value) { ChangeBoolean(FClipPoints, Value); }
    bool View3DWalls() const { return FView3DWalls; }
    void SetView3DWalls(bool Value) { ChangeBoolean(FView3DWalls, Value); }
    int Page() const { return FPage; }
    // Kept within 1..CountPages; a change tells the listeners and OnPageChange.
    void SetPage(int Value);
    int MaxPointsPerPage() const { return FMaxPointsPerPage; }
    // ChartException "MaxPointsPerPage must be >= 0" for a negative value; pulls Page back.
    void SetMaxPointsPerPage(int Value);
    bool ScaleLastPage() const { return FScaleLastPage; }
    void SetScaleLastPage(bool Value) { ChangeBoolean(FScaleLastPage, Value); }
    // 0: a legend check box shows Active; 1: not ExcludeFromXRange; 2: not ExcludeFromYRange.
    int LegendCheckMode() const { return FLegendCheckMode; }
    void SetLegendCheckMode(int Value) { ChangeInteger(FLegendCheckMode, Value); }
    // The chart's own palette; empty: the global palette.
    const TColorArray& ChartPalette() const { return FChartPalette; }
    void SetChartPalette(const TColorArray& Value) { FChartPalette = Value; }
    TColor LegendBackColor() const { return FLegendBackColor; }
    void SetLegendBackColor(TColor Value) { FLegendBackColor = Value; }

    // ---- Axes ----
    TChartAxes& Axes() { return FAxes; }
    const TChartAxes& Axes() const { return FAxes; }
    TChartCustomAxes& CustomAxes() { return *FCustomAxes; }
    void SetCustomAxes(const TChartCustomAxes& Value) { FCustomAxes->Assign(Value); }
    TChartAxis& BottomAxis() const { return *FBottomAxis; }
    TChartAxis& TopAxis() const { return *FTopAxis; }
    TChartAxis& LeftAxis() const { return *FLeftAxis; }
    TChartAxis& RightAxis() const { return *FRightAxis; }
    TChartDepthAxis& DepthAxis() const { return *FDepthAxis; }
    TChartDepthAxis& DepthTopAxis() const { return *FDepthTopAxis; }
    // Copy into the owned axes.
    void SetBottomAxis(const TChartAxis& Value) { FBottomAxis->Assign(Value); }
    void SetTopAxis(const TChartAxis& Value) { FTopAxis->Assign(Value); }
    void SetLeftAxis(const TChartAxis& Value) { FLeftAxis->Assign(Value); }
    void SetRightAxis(const TChartAxis& Value) { FRightAxis->Assign(Value); }
    void SetDepthAxis(const TChartAxis& Value) { FDepthAxis->Assign(Value); }
    void SetDepthTopAxis(const TChartAxis& Value) { FDepthTopAxis->Assign(Value); }

    // ---- Series ----
    TChartSeriesList& SeriesList() { return FSeriesList; }
    const TChartSeriesList& SeriesList() const { return FSeriesList; }
    int CountSeries() const { return FSeriesList.Count(); }
    TChartSeries* SeriesAt(int Index) const { return FSeriesList.SeriesAt(Index); }
    int ActiveSeriesCount() const;
    // 0 without Active series.
    int LargestActivePointCount() const;
    int WidestSeriesMark() const;
    // The widest point label of any series.
    int WidestSeriesLabel() const;
    // Nothing when listed; else the series' chart link, AddedToChart, append, added event, repaint.
    void AddSeries(TChartSeries* Series);
    void RemoveSeries(TChartSeries* Series) { RemoveSeriesAt(FSeriesList.IndexOf(Series)); }
    // Nothing for a negative index; removed event, RemovedFromChart, delete, repaint.
    void RemoveSeriesAt(int Index);
    // The series' ParentChart becomes this chart.
    TChartSeries* AttachSeries(TChartSeries* Series);
    // A new series of a registered series class, owned by the chart's owner and attached; nil for a
    // class that makes no series.
    TChartSeries* CreateSeriesFromClass(const TClassInfo& Class);
    // Detaches and frees every series whose class descends from the named one (every series for "").
    void FreeSeriesOfClass(const std::string& ClassName);
    void SwapSeries(int A, int B);
    void SwapSeriesObjects(TChartSeries* A, TChartSeries* B);
    ISeriesListObserver* SeriesListObserver() const { return FSeriesListObserver.get(); }
    void SetSeriesListObserver(std::unique_ptr<ISeriesListObserver> Observer) { FSeriesListObserver = std::move(Observer); }

    // ---- Events ----
    void SendSeriesEvent(TChartSeries* Series, std::uint8_t Kind);
    // Broadcasts the chart's page-change event.
    void BroadcastPageChange();
    TAxisOnGetLabel OnGetAxisLabel;
    TAxisOnGetNextLabel OnGetNextAxisLabel;
    TNotifyEvent OnPageChange;
    TNotifyEvent OnBeforeDrawChart;
    TNotifyEvent OnBeforeDrawAxes;
    TNotifyEvent OnBeforeDrawSeries;
    virtual void FireAfterDraw();
    virtual void FireBeforeDrawAxes();
    virtual void FireBeforeDrawChart();
    virtual void FireBeforeDrawSeries();

    // ---- Pages ----
    virtual int CountPages() const;
    int PageCountForAxis(const TChartAxis& Axis) const;
    // Prints pages First..Last (0 and 0: all) on the printer, one printer page each, titled with the
    // chart's Name; Page comes back afterwards. A failure aborts the print job and passes on.
    void PrintPageRange(int First, int Last);

    // ---- Colours and legend ----
    TColor PaletteColorAt(int Index) const;
    // The first palette colour that IsColorFree accepts; the palette's last colour when none is free.
    TColor FreeSeriesColor(bool CheckBack, const TChartSeries* Series) const;
    void FillDefaultSeriesColors();
    TChartSeries* SeriesForLegendItem(int Index, bool OnlyChecked) const;
    TChartSeries* CheckedSeriesForLegendItem(int Index) const { return SeriesForLegendItem(Index, true); }
    void LegendItemSeriesTitle(int Index, bool OnlyChecked, std::string& Text) const;
    // A rectangle with the current pen and brush, outlined again when its colour is the legend's.
    virtual void PaintLegendRectangle(const TRect& Rect);
    // The widest line of a text split at character 13 on the chart canvas; Lines receives their number.
    int MeasureMultiLineText(const std::string& Text, int& Lines) const;
    virtual void LegendItemText(TChartSeries* Series, int Index, std::string& Text) const;

    // ---- Data sources ----
    virtual void RecomputeSeriesFromSource(TChartSeries& Series);
    virtual bool AcceptsDataSource(const TChartSeries& Series, TComponent* Candidate) const;
    virtual void ReleaseSeriesSource(TChartSeries& Series, TComponent* Source);
    // ChartException "Circular Series dependences are not allowed" when Component feeds Series.
    void CheckCircularSource(TComponent* Component, const TChartSeries& Series) const;

    // ---- 3-D ----
    int MaxZOrder() const { return FMaxZOrder; }
    void SetMaxZOrder(int Value) { FMaxZOrder = Value; }
    int SeriesWidth3D() const { return FSeriesWidth3D; }
    int SeriesHeight3D() const { return FSeriesHeight3D; }
    bool BackFaced() const { return FBackFaced; }
    void SetBackFaced(bool Value) { FBackFaced = Value; }
    // The depth of one series slot and of the whole chart (0 in 2-D).
    void ComputeDepthSizes();

    // ---- What the chart control supplies ----
    // Computes the 3-D sizes and shrinks ChartRect for depth and walls.
    virtual void FitChartRectTo3D() = 0;
    // Pixels of the 3-D wall beside an axis (0 without walls).
    virtual int WallSizeForAxis(const TChartAxis& Axis) const = 0;
    virtual void PaintLegendAndTitles(bool BeforeSeries) = 0;
    virtual void PaintWalls() = 0;
    // False when another series than SkipSeries has the colour (or, when asked, it is a back colour).
    virtual bool IsColorFree(TColor Color, bool CheckBackColors, const TChartSeries* SkipSeries) const = 0;
    // Whether a zoom or pan has saved the axis scales; axes then keep their Minimum and Maximum.
    virtual bool IsZoomed() const { return false; }
    virtual void UndoZoom() {}

    // ---- Series ranges and axis visibility ----
    // The smallest (IsMinimum) or largest value of the series on an axis, with paging, depth axes and
    // the range exclusions; 0 when no series qualifies.
    double SeriesValueLimit(const TChartAxis& Axis, bool IsMinimum, bool Horizontal) const;
    double MaxXValue(const TChartAxis& Axis) const { return SeriesValueLimit(Axis, false, true); }
    double MaxYValue(const TChartAxis& Axis) const { return SeriesValueLimit(Axis, false, false); }
    double MinXValue(const TChartAxis& Axis) const { return SeriesValueLimit(Axis, true, true); }
    double MinYValue(const TChartAxis& Axis) const { return SeriesValueLimit(Axis, true, false); }
    // WhenNone without Active series; false at once for an Active series drawn without axes.
    bool AxisHasSeries(const TChartAxis& Axis, bool WhenNone = true) const;
    bool ComputeAxisVisible(const TChartAxis& Axis) const;
    bool IsAxisShown(const TChartAxis& Axis) const { return Axis.Shown; }
    bool AxisWithoutActiveSeries(const TChartAxis& Axis) const;
    // The pixels to keep free beside an axis' ends for SetRangeFromPixels: what its Active series ask at
    // the automatic ends (left and right of a horizontal axis, top and bottom of a vertical one), plus
    // MinimumOffset at the minimum's side and MaximumOffset at the maximum's; an inverted axis has its
    // ends on the other sides.
    TRect AxisMargins(const TChartAxis& Axis) const;
    TChartSeries* FirstSeriesForAxis(const TChartAxis& Axis) const;
    TChartSeries* LargestSeriesForAxis(const TChartAxis& Axis) const;

    // ---- Tools ----
    TChartTools& Tools() { return *FTools; }
    // NotifyChartStage of every Active tool in list order.
    void NotifyToolsStage(int Stage);

    // ---- Drawing the chart ----
    // The legend's symbol pen while the legend draws (nil: series outline their symbols with their pen).
    TChartPen* LegendSymbolPen() const { return FLegendSymbolPen; }
    void SetLegendSymbolPen(TChartPen* Value) { FLegendSymbolPen = Value; }
    // True when the plane of ChartRect at depth Z is turned away from the viewer (seen from behind);
    // false in 2-D and on a canvas with its own renderer.
    virtual bool IsPlaneSeenFromBehind(int Z);
    // BackFaced: a 3-D view seen from behind (ortho angle above 90, or rotation below 180).
    void ComputeBackFaced();
    // Z orders of the Active series: claimed in list order, then counted from the back.
    void AssignSeriesZOrders();
    // Shown flags and automatic ranges of the axes, their room taken from ChartRect, their pixel spans.
    void FitAxesInChartRect();
    void PositionAllAxes();
    void ComputeSeriesZExtents();
    // The pixels series and axis offsets ask beside each axis' ends widen its working range.
    void ApplySeriesMargins();
    void PaintAxes();
    // The Active series, from the back of the view to the front.
    void PaintAllSeries();
    // One series (or, in 3-D, every series of its depth slot point by point) with its marks.
    void PaintSeries(TChartSeries& Series);
    // Every Active series, last to first, follows the mouse; true when any reports it over a point.
    bool TrackSeriesHover(int X, int Y);

    bool IsDestroying() const { return Destroying() || FTearingDown; }

protected:
    // The panel's handling, then tool stage 5.
    void MouseLeave() override;
    // The whole chart in its fixed order, with the tool stages and the drawing events.
    void DrawChartContent(const TRect& Rect) override;

private:
    bool SeriesOnAxis(const TChartSeries& Series, const TChartAxis& Axis, bool Horizontal) const;
    double DepthAxisLimit(const TChartAxis& Axis, bool IsMinimum) const;
    bool PagedLimit(const TChartAxis& Axis, bool IsMinimum, bool Horizontal, double& Result) const;
    bool SeriesChecked(const TChartSeries& Series) const;

    int FChart3DPercent = 15;
    TChartAxes FAxes;
    bool FAxisBehind = true;
    bool FAxisVisible = true;
    bool FClipPoints = true;
    std::unique_ptr<TChartCustomAxes> FCustomAxes;
    TChartSeriesList FSeriesList;
    std::unique_ptr<TChartAxis> FBottomAxis;
    std::unique_ptr<TChartAxis> FTopAxis;
    std::unique_ptr<TChartAxis> FLeftAxis;
    std::unique_ptr<TChartAxis> FRightAxis;
    std::unique_ptr<TChartDepthAxis> FDepthAxis;
    std::unique_ptr<TChartDepthAxis> FDepthTopAxis;
    bool FView3DWalls = true;
    int FPage = 1;
    int FMaxPointsPerPage = 0;
    bool FScaleLastPage = true;
    int FMaxZOrder = 0;
    int FSeriesWidth3D = 0;
    int FSeriesHeight3D = 0;
    bool FBackFaced = false;
    TColor FLegendBackColor = clDefault;
    std::unique_ptr<ISeriesListObserver> FSeriesListObserver;
    TColorArray FChartPalette;
    int FLegendCheckMode = 0;
    std::unique_ptr<TChartTools> FTools;
    bool FTearingDown = false;
    TChartPen* FLegendSymbolPen = nullptr;
    // Clips to the chart rectangle and its depth when clipping is allowed; true when it did.
    bool ClipToChart();
};
