// TChartSeries, the class every drawable series derives from: its value lists, point colours and labels,
// the add, insert and delete operations with their events and dependency notices, null points, the
// default-colour rules and sample values; joining and leaving a chart, binding to axes, depth and the
// visible index range; data updates and the notices to dependent series.
#pragma once

#include "chart/engine/LumEngineElement.h"
#include "chart/engine/LumEngineLists.h"
#include "chart/engine/LumEngineValues.h"
#include "platform/controls/Controls.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TLumFunction;
class TLumSeriesSource;
class TStream;
class TSeriesMarkPosition;

// What a legend entry of a series says: the label alone, or with its value, percent or X.
enum TLegendTextStyle {
    ltsPlain, ltsLeftValue, ltsRightValue, ltsLeftPercent, ltsRightPercent, ltsXValue, ltsValue, ltsPercent,
    ltsXAndValue, ltsXAndPercent
};
inline const TEnumNames LegendTextStyleNames{"ltsPlain",        "ltsLeftValue", "ltsRightValue", "ltsLeftPercent",
                                             "ltsRightPercent", "ltsXValue",    "ltsValue",      "ltsPercent",
                                             "ltsXAndValue",    "ltsXAndPercent"};

using TSeriesOnAfterAdd = std::function<void(TChartSeries* Sender, int ValueIndex)>;
using TSeriesOnBeforeAdd = std::function<bool(TChartSeries* Sender)>;
using TSeriesOnClear = std::function<void(TChartSeries* Sender)>;
using TSeriesClick =
    std::function<void(TChartSeries* Sender, int ValueIndex, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TSeriesOnGetMarkText = std::function<void(TChartSeries* Sender, int ValueIndex, std::string& MarkText)>;
using TSeriesBeforeMark = std::function<void(TChartSeries* Sender, int ValueIndex)>;
// Receives the name of each gallery sub-style of a series kind, in order.
using TGalleryStyleCallback = std::function<void(const std::string& StyleName)>;

// The start X, X step, first Y, Y minimum and Y span of sample values.
struct TSampleBounds {
    double StartX = 0;
    double StepX = 0;
    double FirstY = 0;
    double MinY = 0;
    double SpanY = 0;
};

class TChartSeries : public TCustomChartSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartSeries(TComponent* AOwner);
    ~TChartSeries() override;

    // The properties series kinds publish, with their defaults and stored tests; a kind lists them in
    // its own class description.
    static std::vector<TPropInfo> PublishedSeriesProperties();

    // ---- Points ----
    int PointCount() const { return FXValues->ValueCount(); }
    TChartValueList& XValues() const { return *FXValues; }
    TChartValueList& YValues() const { return *FYValues; }
    // Copy the given list's settings into the own list and repaint.
    void SetXValues(const TChartValueList& Value) { ReplaceValueListSettings(*FXValues, Value); }
    void SetYValues(const TChartValueList& Value) { ReplaceValueListSettings(*FYValues, Value); }
    void ReplaceValueListSettings(TChartValueList& Own, const TChartValueList& Given);
    TChartValueLists& ValueLists() { return FValueLists; }
    const TChartValueLists& ValueLists() const { return FValueLists; }
    // The list shown in marks and legend (Y for vertical series), and the other one.
    TChartValueList& MandatoryValues() const { return *FMandatory; }
    TChartValueList& OtherValues() const { return *FOther; }
    bool YMandatory() const { return FYMandatory; }
    // The X list becomes the mandatory one (horizontal series kinds).
    void MakeXMandatory();
    TLabelsList& Labels() const { return *FLabels; }
    TSeriesMarks& Marks() const { return *FMarks; }
    void SetMarks(const TSeriesMarks& Value);

    // The core add: X inserted by its list's order, Y and the extra lists' pending values at the same
    // index, then colour and label. -1 when OnBeforeAdd refuses (nothing changes).
    virtual int InsertPoint(double X, double Y, const std::string& Label = {}, TColor Color = clDefault);
    // X (or Y for an X-mandatory series) is the point count.
    virtual int AppendValue(double Value, const std::string& Label = {}, TColor Color = clDefault);
    virtual int AppendNullValue(const std::string& Label = {});
    virtual int InsertNullPoint(double X, double Y, const std::string& Label = {});
    // The points (X[i], Y[i]) as InsertPoint would add them one by one (no label, the default colour)
    // inside one data update, then a repaint. X values that each keep the X list's order are moved in
    // at once; others, and a series with OnBeforeAdd, go point by point. ChartException when the arrays
    // differ in length (nothing changes then).
    void AddArrays(std::vector<double> X, std::vector<double> Y);
    // Point Index of another series: values only, no colour, no label, no events.
    virtual int AddPointFrom(TChartSeries& Source, int Index);
    // AddPointFrom, then colour and label, then PointAdded.
    virtual void AddFullPointFrom(TChartSeries& Source, int Index);
    // Replaces every point by those of Source, inside one data update.
    virtual void CopyPointsFrom(TChartSeries& Source);
    void AssignPoints(TChartSeries& Source) { CopyPointsFrom(Source); }
    // A dependent follows the deletion of a source point.
    virtual void DropPoint(TChartSeries& Source, int Index);
    // ChartException "Series Delete: ValueIndex <i> out of bounds (0 to <n-1>)." outside 0..count-1.
    virtual void DeletePoint(int Index);
    // EAssertionFailed for Quantity <= 0 or a run past the end, ERangeError for a negative start; with
    // Renumber the other list becomes 0, 1, 2, ...
    virtual void DeletePointRange(int Start, int Quantity, bool Renumber = false);
    virtual void ClearPoints();
    // Empties every value list, the colours, the labels and the marks' stored positions and items.
    virtual void ResetPointStorage();
    virtual void PointAdded(TChartSeries* Sender, int Index);
    // Exchanges points I and J in every list, the colours and the labels.
    virtual void SwapValueIndex(int I, int J);
    // Overwrite one value in place: no re-ordering, no dependency notice; repaint.
    void ChangeXValueAt(int Index, double Value);
    void ChangeYValueAt(int Index, double Value);

    // Values of a point; ERangeError outside 0..count-1.
    virtual double XValueAt(int Index) const { return FXValues->ValueAt(Index); }
    virtual double YValueAt(int Index) const { return FYValues->ValueAt(Index); }
    virtual double MandatoryValueAt(int Index) const { return FMandatory->ValueAt(Index); }
    virtual double DisplayValueAt(int Index) const { return MandatoryValueAt(Index); }
    // An extra list (position 2 and up) of that name, letter case ignored; the Y list when none matches.
    virtual TChartValueList* ValueListByName(const std::string& Name) const;
    virtual double HighestX() { return FXValues->HighestValue(); }
    virtual double HighestY() { return FYValues->HighestValue(); }
    virtual double HighestZ() { return FZOrder; }
    virtual double LowestX() { return FXValues->LowestValue(); }
    virtual double LowestY() { return FYValues->LowestValue(); }
    virtual double LowestZ() { return FZOrder; }

    // ---- Colours and labels ----
    // The stored colour, or the palette colour while the stored one is clDefault.
    TColor SeriesColor() const { return FColor == clDefault ? FPaletteColor : FColor; }
    virtual void SetSeriesColor(TColor Value);
    bool SeriesColorStored() const { return FColor != clDefault; }
    // The chart's colour: stored as the palette colour, so the stored colour stays clDefault.
    void TakePaletteColor(TColor Value);
    bool ColorEachPoint() const { return FColorEachPoint; }
    virtual void SetColorEachPoint(bool Value) { SetBooleanField(FColorEachPoint, Value); }
    // The point's own colour, or a palette colour by index (ColorEachPoint), or the series colour.
    virtual TColor PointColor(int Index) const;
    TColor StoredPointColor(int Index) const;
    void StorePointColor(int Index, TColor Color);
    bool HasColorList() const { return FColors != nullptr; }
    // Whether a point in First..Last has Color as its stored colour (one pass over the colour list).
    bool StoresColorIn(TColor Color, int First, int Last) const;
    bool PointIsNull(int Index) const { return PointColor(Index) == clNone; }
    std::string PointLabel(int Index) const;
    void SetPointLabel(int Index, const std::string& Text);

    // ---- Chart and axes ----
    void SetParentChart(TCustomAxisPanel* Value) override;
    void AddedToChart() override;
    void RemovedFromChart() override;
    THorizAxis HorizAxis() const { return FHorizAxisKind; }
    void SetHorizAxis(THorizAxis Value);
    TVertAxis VertAxis() const { return FVertAxisKind; }
    void SetVertAxis(TVertAxis Value);
    // The axis objects in use (nil without a chart).
    TChartAxis* GetHorizAxis() const { return FHorizAxis; }
    TChartAxis* GetVertAxis() const { return FVertAxis; }
    TChartAxis* CustomHorizAxis() const { return FCustomHorizAxis; }
    TChartAxis* CustomVertAxis() const { return FCustomVertAxis; }
    void BindCustomHorizAxis(TChartAxis* Axis);
    void BindCustomVertAxis(TChartAxis* Axis);
    void ResolveAxes();
    virtual bool UsesAxes() const { return true; }
    virtual bool UsesAxis(const TChartAxis* Axis) const;
    // The X list for a horizontal axis, the Y list for a vertical one; nil when the axis is not used.
    virtual TChartValueList* ValuesForAxis(const TChartAxis* Axis) const;
    TChartAxis* MandatoryAxis() const { return FYMandatory ? FVertAxis : FHorizAxis; }
    virtual int ScreenXOf(int Index) const;
    virtual int ScreenYOf(int Index) const;
    // Whether ScreenXOf(i) is HorizValueToPixel of the X value i for every point. An override of ScreenXOf
    // that places points otherwise answers false: searches that bisect the X values rely on it.
    virtual bool ScreenXFollowsXValues() const { return true; }
    int HorizValueToPixel(double Value) const;
    int VertValueToPixel(double Value) const;
    int MandatoryValueToPixel(double Value) const;
    double HorizPixelToValue(int Pixel) const;
    double VertPixelToValue(int Pixel) const;
    virtual int PointAtPixel(int, int) const { return -1; }

    // ---- Depth and drawing ----
    int Depth() const { return FDepth; }
    void SetDepth(int Value) { SetIntegerField(FDepth, Value); }
    int ZOrder() const { return FZOrder; }
    void SetZOrder(int Value) { FZOrder = Value; }
    int StartZ() const { return FStartZ; }
    int MiddleZ() const { return FMiddleZ; }
    int EndZ() const { return FEndZ; }
    virtual void ComputeZOrder();
    virtual void ComputeZExtent();
    virtual bool SharesDepthWithOther() const;
    bool IsFirstAtDepth() const;
    int FirstVisible() const { return FFirstVisible; }
    int LastVisible() const { return FLastVisible; }
    virtual void ComputeVisibleIndexRange();
    void PageIndexRange(int& First, int& Last) const;
    virtual bool DrawsForward() const;
    virtual bool DrawSeriesForward(int Index) const;
    int StartDrawIndex() const { return DrawsForward() ? FFirstVisible : FLastVisible; }
    virtual void PaintAllPoints();
    virtual void PaintPoint(int) {}
    virtual void FireBeforeDrawValues();
    virtual void FireAfterDrawValues();
    // Has the chart draw the legend rectangle.
    virtual void PaintLegendShape(int Index, const TRect& Rect);

    // ---- Data updates and dependents ----
    void BeginDataUpdate() { ++FUpdateCount; }
    // The last end tells the dependents once (refresh) and sends the data-changed event.
    void EndDataUpdate();
    bool InDataUpdate() const { return FUpdateCount > 0; }
    void AnnounceDataChanged();
    virtual void NotifyDependents(int Kind, int Index);
    void AddDependent(TChartSeries* Series);
    void RemoveDependent(TChartSeries* Series);
    TCustomSeriesList& Dependents() const { return *FDependents; }
    TDataSourcesList& DataSources() const { return *FDataSources; }
    // The first data source, or nil.
    TComponent* DataSource() const;
    // Writes through AddDataSource with replace, or RemoveDataSource for nil.
    void SetDataSource(TComponent* Value);
    // Adds a source the chart accepts (ChartException "No valid DataSource: <name>", or without a chart
    // "No ParentChart to validate DataSource" for anything but an accepted series) that makes no circle;
    // with Replace the other sources go first. -1 for a source already listed.
    int AddDataSource(TComponent* Source, bool Replace = true);
    // Appends a source: a series gets this series as a dependent, anything else a free notification.
    int AttachSource(TComponent* Source);
    // The whole list goes when the first source is removed; then a refresh.
    void RemoveDataSource(TComponent* Source);
    // ChartException "Circular Series dependences are not allowed" when Candidate is fed by this series.
    void CheckNoCircularSource(TComponent* Candidate) const;
    // Asks the chart to recompute the series from its sources (nothing inside a data update).
    void RefreshFromSource();
    // Leaves the dependents list of every series among the sources.
    void ReleaseSourceSeries();
    virtual bool AcceptsSource(const TChartSeries* Series) const { return Series != this; }
    std::uint8_t FollowFlags() const { return FFollowFlags; }
    void SetFollowFlags(std::uint8_t Value) { FFollowFlags = Value; }
    bool DataLoaded() const { return FDataLoaded; }
    void SetDataLoaded(bool Value) { FDataLoaded = Value; }

    // ---- Sample values ----
    virtual void FillSampleValues(int Count = 0);
    virtual void AddRandomSampleValues(int Count, bool AsValues);
    virtual void ReorderPoints();
    virtual void PrepareForGallery(bool Coloured);
    virtual int DefaultSampleCount() const { return 25; }
    virtual void ListGalleryStyles(const TGalleryStyleCallback& Callback) const;
    virtual void ApplyGalleryStyle(TChartSeries*, int) {}
    TSampleBounds SampleValueBounds(int Count) const;
    int SampleCount() const { return FSampleCount; }
    void SetSampleCount(int Value) { FSampleCount = Value; }

    // ---- Settings ----
    const std::string& ValueFormat() const { return FValueFormat; }
    void SetValueFormat(const std::string& Value) { SetStringField(FValueFormat, Value); }
    const std::string& PercentFormat() const { return FPercentFormat; }
    void SetPercentFormat(const std::string& Value) { SetStringField(FPercentFormat, Value); }
    const std::string& ColorSource() const { return FColorSource; }
    void SetColorSource(const std::string& Value);
    const std::string& XLabelsSource() const { return FXLabelsSource; }
    void SetXLabelsSource(const std::string& Value);
    int Cursor() const { return FCursor; }
    void SetCursor(int Value) { FCursor = static_cast<std::int16_t>(Value); }
    bool ExcludeFromXRange() const { return FExcludeFromXRange; }
    void SetExcludeFromXRange(bool Value) { FExcludeFromXRange = Value; }
    bool ExcludeFromYRange() const { return FExcludeFromYRange; }
    void SetExcludeFromYRange(bool Value) { FExcludeFromYRange = Value; }
    bool EditLocked() const { return FEditLocked; }
    void SetEditLocked(bool Value) { FEditLocked = Value; }
    // Kind flags: the series has one colour that lists show; it keeps its own non-mandatory values.
    bool HasSeriesColor() const { return FHasSeriesColor; }
    bool KeepsOwnValues() const { return FKeepsOwnValues; }
    // Visible-range rules: the range follows the axis; one point beyond it is kept.
    bool OrderedRange() const { return FOrderedRange; }
    // Kinds set it in their constructors; a function sets it on its parent when it changes the lists' order.
    void SetOrderedRange(bool Value) { FOrderedRange = Value; }
    bool KeepOneBeyond() const { return FKeepOneBeyond; }
    bool SinglePointResults() const { return FSinglePointResults; }
    // A kind's rule, and also part of the series' style string, which stores it directly.
    void SetSinglePointResults(bool Value) { FSinglePointResults = Value; }
    bool Has3DValues() const { return FHas3DValues; }
    // Only points whose value in it is 0 are drawn.
    TChartValueList* NullFlags() const { return FNullFlags; }
    const std::string& DefaultStyle() const { return FDefaultStyle; }
    // Keeps the series' style string (through the style-string hook); RestoreDefaultStyle applies it.
    void StoreDefaultStyle();
    void RestoreDefaultStyle();

    // ---- Legend entries and hover ----
    virtual int LegendEntryCount() const { return PointCount(); }
    // The point a legend entry shows.
    virtual int LabelIndexOf(int LegendIndex) const { return LegendIndex; }
    virtual TColor LegendColorOf(int Index) const { return PointColor(Index); }
    // The text of a legend entry: the point's label, or its value, percent or X with the label, columns
    // separated by character 6.
    virtual std::string LegendTextOf(int LegendIndex, TLegendTextStyle Style) const;
    // A series kind may change the symbol's back colour and brush style (and select its own pen).
    virtual void LegendSymbolStyle(int, TColor&, TBrushStyle&) {}
    // The legend symbol of an entry (-1: the whole series) in Rect, with the chart's repaint paused.
    virtual void PaintLegendSymbol(int Index, const TRect& Rect);
    // The mouse at (X, Y): enter and leave events as it comes onto and off the series' points, and the
    // series' cursor while over one. True while over a point of a series that tracks the mouse.
    bool TrackMouseHover(int X, int Y);
    bool Hovered() const { return FHovered; }

    // ---- Marks ----
    // The mark text of a point: its item's own text, or the text of the marks' Style; OnGetMarkText last.
    std::string ComposeMarkText(int Index) const;
    // |value| as a percent of the mandatory list's absolute total; WithTotal adds "of" and the total.
    std::string PercentText(int Index, bool WithTotal) const;
    // The marks of the visible points (every DrawEvery-th), measured and placed on their points.
    virtual void PaintMarks();
    // Draws one mark; series kinds move the position first.
    virtual void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position);
    // The widest mark text of the points whose mark is visible; 0 when none.
    int WidestMarkText();

    // ---- Point data stream ----
    // The binary block "Data" (LumEngineSeriesStream.h).
    virtual void WritePointData(TStream& Stream);
    void LoadPointData(TStream& Stream);
    // Set by the chart's stream writer: "Data" is written (force) or left out (never).
    bool ForceStoreData() const { return FForceStoreData; }
    void SetForceStoreData(bool Value) { FForceStoreData = Value; }
    bool NeverStoreData() const { return FNeverStoreData; }
    void SetNeverStoreData(bool Value) { FNeverStoreData = Value; }
    // The source names of a stream, resolved among the owner's components in Loaded.
    void ReadDataSourceNames(const std::vector<std::string>& Names);
    const std::vector<std::string>* PendingSourceNames() const { return FSourceNames.get(); }

    // ---- Data sources and function ----
    virtual bool FunctionAcceptsSource(const TChartSeries* Source) const;
    TLumFunction* AttachedFunction() const { return FFunction; }
    // A stream writes the series' function inside it.
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) const override;
    // Frees the previous function and takes this one (nil: none); then refreshes.
    virtual void AttachFunction(TLumFunction* Function);
    // The function moved to another series: forget it without freeing it.
    void ForgetFunction();
    // Resolves the stream's source names, then refreshes.
    void Loaded() override;
    // From another series: its settings, its function (when this one has none), its sources or points.
    void Assign(const TPersistent& Source) override;
    // Value-list, marks, colour, format, axis and follow settings of another series.
    void AssignSettings(const TChartSeries& Other);

    // ---- Events ----
    TNotifyEvent AfterDrawValues;
    TNotifyEvent BeforeDrawValues;
    TSeriesOnAfterAdd OnAfterAdd;
    TSeriesOnBeforeAdd OnBeforeAdd;
    TSeriesOnClear OnClearValues;
    TSeriesClick OnClick;
    TSeriesClick OnDblClick;
    TSeriesOnGetMarkText OnGetMarkText;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TSeriesBeforeMark OnBeforeMark;

protected:
    // A data source being destroyed leaves the list.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Series kinds set their rules in their constructors.
    void SetHasSeriesColor(bool Value) { FHasSeriesColor = Value; }
    void SetKeepsOwnValues(bool Value) { FKeepsOwnValues = Value; }
    // Kinds that narrow or widen their depth, and kinds that choose their own visible points.
    void SetZExtent(int Start, int Middle, int End)
    {
        FStartZ = Start;
        FMiddleZ = Middle;
        FEndZ = End;
    }
    void SetVisibleRange(int First, int Last)
    {
        FFirstVisible = First;
        FLastVisible = Last;
    }
    void SetKeepOneBeyond(bool Value) { FKeepOneBeyond = Value; }
    void SetHas3DValues(bool Value) { FHas3DValues = Value; }
    void SetNullFlags(TChartValueList* Value) { FNullFlags = Value; }
    // One of the series' own extra lists becomes the mandatory one (3-D kinds coloured by Z); Y is then
    // no longer mandatory and X stays the other list.
    void MakeMandatory(TChartValueList& List)
    {
        FMandatory = &List;
        FYMandatory = false;
    }
    // Series event 3 and the observer note.
    void AnnounceColorChange();

private:
    // Frees the function (series destruction, another function).
    void FreeFunction();
    // A source bound to another series moves here.
    void TakeOverSource(TLumSeriesSource& Source);
    void CreateColorList();
    void InsertColorAt(int Index, TColor Color);
    void RepaintIfActive();
    bool PointDrawn(int Index) const;
    // The first index from From on whose other-list value is at least Value (halving on an ascending
    // list); -1 when none.
    int VisibleFirstAtOrAbove(double Value, int From = 0) const;
    void LeaveChart();

    // Colours.
    TColor FColor = clDefault;
    bool FColorEachPoint = false;
    std::unique_ptr<std::vector<TColor>> FColors;
    std::string FColorSource;
    std::int16_t FCursor = 0;
    std::unique_ptr<TDataSourcesList> FDataSources;
    int FDepth = -1;
    TChartAxis* FHorizAxis = nullptr;
    TChartAxis* FVertAxis = nullptr;
    std::string FXLabelsSource;
    std::unique_ptr<TCustomSeriesList> FDependents;
    std::unique_ptr<TSeriesMarks> FMarks;
    std::string FPercentFormat;
    std::string FValueFormat;
    TChartValueLists FValueLists;
    std::unique_ptr<TLabelsList> FLabels;
    THorizAxis FHorizAxisKind = aBottomAxis;
    TChartAxis* FCustomHorizAxis = nullptr;
    TChartAxis* FCustomVertAxis = nullptr;
    TVertAxis FVertAxisKind = aLeftAxis;
    std::uint8_t FFollowFlags = followAll;
    TColor FPaletteColor = clDefault;
    bool FNeverStoreData = false;
    bool FForceStoreData = false;
    bool FDataLoaded = false;
    int FSampleCount = 0;
    int FUpdateCount = 0;
    bool FHasSeriesColor = true;
    bool FKeepsOwnValues = true;
    int FZOrder = 0;
    TChartValueList* FNullFlags = nullptr;
    int FFirstVisible = -1;
    int FLastVisible = -1;
    bool FExcludeFromYRange = false;
    bool FExcludeFromXRange = false;
    bool FEditLocked = false;
    std::string FDefaultStyle;
    bool FOrderedRange = true;
    bool FKeepOneBeyond = false;
    bool FSinglePointResults = true;
    bool FHas3DValues = false;
    int FStartZ = 0;
    int FMiddleZ = 0;
    int FEndZ = 0;
    TChartValueList* FMandatory = nullptr;
    TChartValueList* FOther = nullptr;
    bool FYMandatory = true;
    TChartValueList* FYValues = nullptr;
    TChartValueList* FXValues = nullptr;
    bool FDestroying = false;
    TLumFunction* FFunction = nullptr;
    std::unique_ptr<std::vector<std::string>> FSourceNames;
    bool FHovered = false;
};

// Whether Candidate takes its data, directly or through other series, from Target (or is Target).
bool SeriesDependsOn(const TChartSeries& Candidate, const TChartSeries& Target);

// The gallery icon of the series' class at (X, Y); nothing when the class has none.
void DrawSeriesIcon(TCanvas& Canvas, const TChartSeries& Series, int X, int Y);

// The engine's random integer in 0..Limit-1 (the platform's pseudo-random generator).
int RandomBelow(int Limit);
// Reseeds the generator.
void RandomizeSeed(unsigned Seed);
