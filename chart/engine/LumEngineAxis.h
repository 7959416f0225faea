// An axis of a chart: its range, label, tick, grid and title settings, its place in the chart, and the
// working state (current range, pixel mapping, tick positions) that scaling, labelling and drawing
// compute. The sub-objects (title, pens, custom labels) live here too. Scaling is LumEngineAxisScale.cpp,
// labels LumEngineAxisLabels.cpp, drawing and layout LumEngineAxisDraw.cpp.
#pragma once

#include "chart/base/RadErare.h"
#include "chart/base/RadErareShapes.h"
#include "chart/engine/LumEngineAxisScale.h"
#include "chart/engine/LumEngineLists.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// ---- Sub-objects ---------------------------------------------------------------------------------------

// An axis title: a framed text with an angle (degrees, kept modulo 360 with the remainder's sign).
class TChartAxisTitle : public TLumCustomShape {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartAxisTitle(TCustomAxisPanel* Chart);

    // From another title: Angle and Caption, then the shape's own settings.
    void Assign(const TPersistent& Source) override;

    int Angle() const { return FAngle; }
    void SetAngle(int Value);
    int DefaultAngle() const { return FDefaultAngle; }
    // Sets the angle and the default it is stored against.
    void InitAngle(int Value) { FAngle = FDefaultAngle = Value; }
    bool AngleStored() const { return FAngle != FDefaultAngle; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);

private:
    int FAngle = 0;
    int FDefaultAngle = 0;
    std::string FCaption;
};

// The axis line's pen: width 2 and a line mode (line, cylinder, box).
class TChartAxisPen : public TChartPen {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartAxisPen(TNotifyEvent onChange = nullptr);

    void Assign(const TPersistent& Source) override;
    TPenLineMode LineMode() const { return FLineMode; }
    void SetLineMode(TPenLineMode Value);

private:
    TPenLineMode FLineMode = lmLine;
};

// The grid pen: grey dots, a depth position in percent of the chart's depth, and the centred flag.
class TAxisGridPen : public TDottedGrayPen {
    VSP_PERSISTENT_CLASS
public:
    explicit TAxisGridPen(TNotifyEvent onChange = nullptr);

    void Assign(const TPersistent& Source) override;
    double ZPosition() const { return FZPosition; }
    void SetZPosition(double Value);
    double DefaultZPosition() const { return FDefaultZPosition; }
    // Sets the position and the default it is stored against.
    void InitZPosition(double Value) { FZPosition = FDefaultZPosition = Value; }
    bool ZPositionStored() const { return FZPosition != FDefaultZPosition; }
    bool Centered() const { return FCentered; }
    void SetCentered(bool Value);

private:
    double FZPosition = 0;
    double FDefaultZPosition = 0;
    bool FCentered = false;
};

// One custom label of an axis: a value and an optional text, framed by its own shape settings.
class TAxisItem : public TLumShape {
    VSP_PERSISTENT_CLASS
public:
    TAxisItem(TChartAxis& Axis, double Value, const std::string& Text);

    void Assign(const TPersistent& Source) override;
    double Value() const { return FValue; }
    void SetValue(double Value);
    const std::string& Text() const { return FText; }
    void SetText(const std::string& Value);
    TChartAxis& Axis() const { return FAxis; }

private:
    TChartAxis& FAxis;
    double FValue;
    std::string FText;
};

// The custom labels of an axis, and the format shape of every value label (its visibility is the axis'
// Labels, its font the LabelsFont).
class TAxisItems {
public:
    explicit TAxisItems(TChartAxis& Axis);
    ~TAxisItems();
    TAxisItems(const TAxisItems&) = delete;
    TAxisItems& operator=(const TAxisItems&) = delete;

    TLumShape& Format() const { return *FFormat; }
    int Count() const { return static_cast<int>(FItems.size()); }
    TAxisItem& Item(int Index) const { return *FItems.at(static_cast<std::size_t>(Index)); }
    // A new transparent item with that value (and text).
    TAxisItem& Add(double Value);
    TAxisItem& Add(double Value, const std::string& Text);
    // Frees every item and repaints the chart.
    void Clear();
    // The format and copies of the other list's items.
    void CopyFrom(const TAxisItems& Other);

private:
    TChartAxis& FAxis;
    std::unique_ptr<TLumShape> FFormat;
    std::vector<std::unique_ptr<TAxisItem>> FItems;
};

// ---- The axis ------------------------------------------------------------------------------------------

using TAxisTicks = std::vector<int>;
using TAxisEvent = std::function<void(TChartAxis* Sender)>;
// May move the label, change its text or cancel it (DrawLabel false).
using TAxisDrawLabelEvent =
    std::function<void(TChartAxis* Sender, int& X, int& Y, int& Z, std::string& Text, bool& DrawLabel)>;

class TChartAxis : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    // A standard axis while the chart has fewer than six, else a custom axis of Collection; appends
    // itself to the chart's axis list.
    TChartAxis(TCustomAxisPanel& Chart, TChartCustomAxes* Collection = nullptr);
    // Series bound to it as a custom axis go back to the bottom or left axis; leaves the axis list.
    ~TChartAxis() override;
    TChartAxis(const TChartAxis&) = delete;
    TChartAxis& operator=(const TChartAxis&) = delete;

    // A new custom axis in the chart's custom axes.
    static TChartAxis& CreateForChart(TCustomAxisPanel& Chart);

    // From another axis every published setting (pens, title and custom items by their own copy); the
    // unpublished settings stay.
    void Assign(const TPersistent& Source) override;

    // ---- Virtual operations ----
    // The label style talAuto stands for.
    virtual TAxisLabelStyle AutoLabelStyle() const;
    virtual void SetInverted(bool Value);
    // The label text of a value.
    virtual std::string FormatLabelValue(double Value) const;

    // ---- Published settings ----
    bool Automatic() const { return FAutomatic; }
    void SetAutomatic(bool Value);
    bool AutomaticMaximum() const { return FAutomaticMaximum; }
    void SetAutomaticMaximum(bool Value);
    bool AutomaticMinimum() const { return FAutomaticMinimum; }
    void SetAutomaticMinimum(bool Value);
    TChartAxisPen& Axis() const { return *FAxisPen; }
    void SetAxis(const TChartPen& Value) { FAxisPen->Assign(Value); }
    const std::string& AxisValuesFormat() const { return FAxisValuesFormat; }
    void SetAxisValuesFormat(const std::string& Value);
    const std::string& DateTimeFormat() const { return FDateTimeFormat; }
    void SetDateTimeFormat(const std::string& Value);
    bool ExactDateTime() const { return FExactDateTime; }
    void SetExactDateTime(bool Value);
    TAxisGridPen& Grid() const { return *FGrid; }
    void SetGrid(const TChartPen& Value) { FGrid->Assign(Value); }
    bool GridCentered() const { return FGrid->Centered(); }
    void SetGridCentered(bool Value) { FGrid->SetCentered(Value); }
    double Increment() const { return FIncrement; }
    // AxisException "Axis increment must be >= 0" for a negative value.
    void SetIncrement(double Value);
    bool Inverted() const { return FInverted; }
    bool Horizontal() const { return FHorizontal; }
    void SetHorizontal(bool Value);
    bool OtherSide() const { return FOtherSide; }
    void SetOtherSide(bool Value);
    bool Labels() const;
    void SetLabels(bool Value);
    TAxisLabelAlign LabelsAlign() const { return FLabelsAlign; }
    void SetLabelsAlign(TAxisLabelAlign Value);
    bool LabelsAlternate() const { return FLabelsAlternate; }
    void SetLabelsAlternate(bool Value);
    int LabelsAngle() const { return FLabelsAngle; }
    void SetLabelsAngle(int Value);
    bool LabelsExponent() const { return FLabelsExponent; }
    void SetLabelsExponent(bool Value);
    TLumFont& LabelsFont() const;
    void SetLabelsFont(const TLumFont& Value);
    bool LabelsMultiLine() const { return FLabelsMultiLine; }
    void SetLabelsMultiLine(bool Value);
    bool LabelsOnAxis() const { return FLabelsOnAxis; }
    void SetLabelsOnAxis(bool Value);
    int LabelsSeparation() const { return FLabelsSeparation; }
    // AxisException "Labels Separation % must be greater than 0" for a negative value (0 is taken).
    void SetLabelsSeparation(int Value);
    int LabelsSize() const { return FLabelsSize; }
    void SetLabelsSize(int Value);
    TAxisLabelStyle LabelStyle() const { return FLabelStyle; }
    void SetLabelStyle(TAxisLabelStyle Value);
    bool Logarithmic() const { return FLogarithmic; }
    // Undoes a zoom, refuses a date-time axis, switches the label formats with AutoLogFormat and
    // recomputes the range.
    void SetLogarithmic(bool Value);
    double LogarithmicBase() const { return FLogarithmicBase; }
    // AxisException "Axis Logarithmic Base should be <> 1 and > 0".
    void SetLogarithmicBase(double Value);
    double Maximum() const { return FMaximum; }
    // AxisException "Axis Maximum Value must be >= Minimum" below Minimum (not while the chart reads).
    void SetMaximum(double Value);
    int MaximumOffset() const { return FMaximumOffset; }
    void SetMaximumOffset(int Value);
    double Minimum() const { return FMinimum; }
    // AxisException "Axis Minimum Value must be <= Maximum" above Maximum (not while the chart reads).
    void SetMinimum(double Value);
    int MinimumOffset() const { return FMinimumOffset; }
    void SetMinimumOffset(int Value);
    TChartHiddenPen& MinorGrid() const { return *FMinorGrid; }
    void SetMinorGrid(const TChartPen& Value) { FMinorGrid->Assign(Value); }
    int MinorTickCount() const { return FMinorTickCount; }
    void SetMinorTickCount(int Value);
    int MinorTickLength() const { return FMinorTickLength; }
    void SetMinorTickLength(int Value);
    TDarkGrayPen& MinorTicks() const { return *FMinorTicks; }
    void SetMinorTicks(const TChartPen& Value) { FMinorTicks->Assign(Value); }
    double StartPosition() const { return FStartPosition; }
    void SetStartPosition(double Value);
    double EndPosition() const { return FEndPosition; }
    void SetEndPosition(double Value);
    double PositionPercent() const { return FPositionPercent; }
    void SetPositionPercent(double Value);
    TLumUnits PositionUnits() const { return FPositionUnits; }
    void SetPositionUnits(TLumUnits Value);
    bool RoundFirstLabel() const { return FRoundFirstLabel; }
    void SetRoundFirstLabel(bool Value);
    int TickInnerLength() const { return FTickInnerLength; }
    void SetTickInnerLength(int Value);
    int TickLength() const { return FTickLength; }
    void SetTickLength(int Value);
    TDarkGrayPen& Ticks() const { return *FTicks; }
    void SetTicks(const TChartPen& Value) { FTicks->Assign(Value); }
    TDarkGrayPen& TicksInner() const { return *FTicksInner; }
    void SetTicksInner(const TChartPen& Value) { FTicksInner->Assign(Value); }
    bool TickOnLabelsOnly() const { return FTickOnLabelsOnly; }
    void SetTickOnLabelsOnly(bool Value);
    TChartAxisTitle& Title() const { return *FTitle; }
    void SetTitle(const TChartAxisTitle& Value) { FTitle->Assign(Value); }
    int TitleSize() const { return FTitleSize; }
    void SetTitleSize(int Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    double ZPosition() const { return FZPosition; }
    // A result of exactly 0 becomes 0.01.
    void SetZPosition(double Value);
    TAxisItems& Items() const { return *FItems; }

    TAxisDrawLabelEvent OnDrawLabel;

    // Stored-tests of the published settings.
    bool MaximumStored() const { return !FAutomatic && !FAutomaticMaximum; }
    bool MinimumStored() const { return !FAutomatic && !FAutomaticMinimum; }
    bool ZPositionStored() const;
    // Custom axes stand at index 6 and above in the chart's axis list.
    bool IsCustom() const;

    // ---- Unpublished settings ----
    int DecShift = 3;
    bool RoundedLimits = false;
    bool MinDecOn = false;
    double MinDec = 0.01;
    bool AutoLogFormat = false;
    bool FixedAutoLimits = false;
    double FixedAutoMinimum = 0;
    double FixedAutoMaximum = 0;
    bool TitleFlat = false;
    bool SignedLogMode = false;
    double SignedLogScale = 1.0;
    // A label shows LabelValueScale × (value + LabelValueOffset); the offset is left out on a
    // logarithmic axis. Neither changes the range or the pixel mapping.
    double LabelValueOffset = 0;
    double LabelValueScale = 1.0;
    std::string DefaultStyle;
    TAxisEvent OnRangeChange;

    // ---- Working state ----
    TCustomAxisPanel* ParentChart() const { return FChart; }
    bool IsDepthAxis() const { return FIsDepthAxis; }
    void SetIsDepthAxis(bool Value) { FIsDepthAxis = Value; }
    bool IsDateTime = false;
    double CurrentMaximum = 0;
    double CurrentMinimum = 0;
    double CurrentRange = 0;
    double LogMaximum = 0;
    double LogMinimum = 0;
    double LogRange = 0;
    double PixelsPerUnit = 0;
    double PixelsPerLogUnit = 0;
    double PreviousMaximum = 0;
    double PreviousMinimum = 0;
    bool RangeIsZero = true;
    bool RangeChanged = false;
    bool RangeFrozen = false;
    int StartPixel = 0;
    int EndPixel = 0;
    int PixelSize = 0;
    int CenterPixel = 0;
    int AxisPosition = 0;
    int LabelsPosition = 0;
    int TitlePosition = 0;
    int DepthPixel = 0;
    TAxisTicks TickPositions;
    TCustomSeriesList AxisSeries;
    TAxisEvent OnDrawGrids;
    bool SkipWallGrid = false;
    bool SkipSideGrid = false;
    // Whether the chart shows the axis, written at every drawing.
    bool Shown = false;

    // ---- Model operations ----
    // Minimum and Maximum stored through the chart (repaint on a change), without the range checks.
    void StoreMinimum(double Value);
    void StoreMaximum(double Value);
    void StoreInverted(bool Value) { FInverted = Value; }
    // Keeps the axis' style string (through the style-string hook) in DefaultStyle.
    void StoreDefaultStyle();
    // The DateTime flag of the value list that the first Active series using the axis has for it.
    bool ShowsDateTime() const;
    // LabelStyle, or AutoLabelStyle for talAuto.
    TAxisLabelStyle CalcLabelStyle() const;

    // ---- Scaling ----
    // The working range from the settings and the series' extremes; then RecalcScales.
    void ComputeAutoRange();
    void RecalcScales();
    // Chooses the value-to-pixel routines for the axis' orientation and mode.
    void BindPositionCalculators();
    // Value to pixel through the routine of the axis' own orientation, of horizontal use, of vertical use.
    int CalcPosValue(double Value) const { return (this->*FCalcPos)(Value); }
    int CalcXPosValue(double Value) const { return (this->*FCalcXPos)(Value); }
    int CalcYPosValue(double Value) const { return (this->*FCalcYPos)(Value); }
    // Pixels[i] = CalcXPosValue (Horizontal set) or CalcYPosValue of Values[i], for Count values at once.
    void CalcPosValues(bool Horizontal, const double* Values, int Count, int* Pixels) const;
    // Whether that routine is the linear one, whose pixels follow the order of the values (a NaN aside).
    bool MapsLinearly(bool Horizontal) const
    {
        const TCalculator calc = Horizontal ? FCalcXPos : FCalcYPos;
        return calc == &TChartAxis::CalcLinearXPos || calc == &TChartAxis::CalcLinearYPos;
    }
    double PixelToValue(int Pixel) const { return PixelToValueFloat(Pixel); }
    double PixelToValueFloat(double Pixel) const;
    int SpanToPixels(double Span) const;
    // StartPixel and EndPixel from the chart rectangle (or the depth) and the position percents; then
    // SetPixelRange.
    void CalcPixelRange();
    void SetPixelRange();
    // Automatic off, the ends ordered, at least the least span apart.
    void SetFixedRange(double AMinimum, double AMaximum);
    void ScrollBy(bool CheckLimits, double Offset);
    // ComputeAutoRange, BindPositionCalculators, repaint, OnRangeChange.
    void ApplyRangeChange();
    // Widens the working range so that its ends land Margins pixels inside the span (horizontal axes
    // take Left at StartPixel and Right at EndPixel, vertical ones Top at StartPixel and Bottom at
    // EndPixel). Minimum and Maximum keep the computed ends; less than a pixel left changes nothing.
    void SetRangeFromPixels(const TRect& Margins);
    double CalcIncrement(int LabelCount) const;
    double IncrementForLabelSize(int Size) const;
    double MinLabelStep() const;
    // The value rounded to a power of the base (signed mode: of ten, by the transform).
    double LogStep(double Value) const;

    // ---- Labels ----
    // The widest line of the label of a value along (Horizontal set) or across the axis.
    int LabelSize(bool Horizontal, double Value) const;
    int LabelWidth(double Value) const { return LabelSize(false, Value); }
    int MaxLabelsWidth() const;
    // Empties TickPositions, then walks the labels, drawing them (part of PaintAxis).
    void DrawLabels();

    // ---- Layout and drawing ----
    // Positions of line, labels and title; with Shrink the title, labels and ticks take their room
    // from Rect.
    void CalcLayout(TRect& Rect, bool Shrink);
    void PaintAxis(bool RecomputePosition);
    void PaintGridLines(int TickCount);
    // Draws the axis at given places with a temporary range and increment, all restored afterwards.
    void DrawWithRange(int ALabelsPosition, int ATitlePosition, int AEndPixel, int AStartPixel, bool WithGrid,
                       int AAxisPosition, double AMinimum, double AMaximum, double AIncrement);
    void DrawAxisAt(int ALabelsPosition, int ATitlePosition, int AEndPixel, int AStartPixel, bool WithGrid,
                    int AAxisPosition);
    TRect GetAxisRect() const;
    bool HitTest(int X, int Y) const;
    int TickZoneSize() const;
    int LabelZoneSize() const;
    int TitleZoneSize(TLumFont& Font, int Angle, int FixedSize, const std::string& Text) const;
    void DrawTitle(int X, int Y);
    void DrawLabelAt(int Pixel, const std::string& Text, TLumCustomShape* Shape);
    void DrawAxisLabel(int X, int Y, TLumCustomShape* Shape, const std::string& Text, int Angle);
    int RectSide(const TRect& Rect) const;
    int OutwardBy(int Position, std::int64_t Size) const;
    void ShrinkRect(TRect& Rect, int Size) const;
    int ApplyPositionPercent(int Position, const TRect& Rect) const;
    int DepthLabelPosition() const;
    unsigned LabelsSideFactor() const { return FOtherSide ? 0u : 2u; }

protected:
    // Stores through the chart's change routines (repaint on a change).
    void ChangeBoolean(bool& Field, bool Value);
    void ChangeInteger(int& Field, int Value);
    void ChangeString(std::string& Field, const std::string& Value);
    void ChangeDouble(double& Field, double Value);
    bool ChartLoading() const;
    TNotifyEvent RepaintHandler();

private:
    using TCalculator = int (TChartAxis::*)(double) const;
    // Value-to-pixel routines.
    int CalcDepthPos(double Value) const;
    int CalcLinearXPos(double Value) const;
    int CalcLinearYPos(double Value) const;
    int CalcLogXPos(double Value) const;
    int CalcLogYPos(double Value) const;
    double LogTransform(double Value) const;
    double LogInverse(double Value) const;
    // Steps of ComputeAutoRange.
    void ApplyAutomaticEnds();
    void ChooseSignedMode();
    void RoundLimits(double& lo, double& hi) const;
    void ChooseSignedScale();
    double NumericIncrement(int n) const;
    double DateTimeIncrement(int n) const;
    // Label walks.
    int DateTimeStepIndex() const;
    void LinearValueWalk(double step, int stepIndex);
    void LogValueWalk();
    bool EventValueWalk();
    void SeriesTextWalk(TAxisLabelStyle style);
    void DepthTitleWalk();
    void CustomItemsWalk();
    void DrawValueLabel(double LabelValue);
    void AddTick(int Pixel);
    // Drawing steps.
    void DrawAxisLine();
    void DrawTicks(const TChartPen& Pen, int Offset, std::int64_t Length);
    void DrawMinorMarks(const TChartPen& Pen, int Length, bool AsGrid);
    void DrawGridLine(int Pixel);
    void DrawMinorTick(int Pixel, int Length);
    void WriteLabelLine(int X, int Y, const std::string& Line, int Angle, unsigned Align);
    void WriteExponentLine(int X, int Y, const std::string& Line, unsigned Align);
    int WallSize() const;

    TCustomAxisPanel* FChart;
    TChartCustomAxes* FCollection;
    bool FIsDepthAxis = false;
    TCalculator FCalcXPos = nullptr;
    TCalculator FCalcYPos = nullptr;
    TCalculator FCalcPos = nullptr;
    bool FLabelsDrawnAlternate = false; // the next label of the current drawing moves out

    bool FAutomatic = true;
    bool FAutomaticMaximum = true;
    bool FAutomaticMinimum = true;
    std::unique_ptr<TChartAxisPen> FAxisPen;
    std::string FAxisValuesFormat;
    std::string FDateTimeFormat;
    bool FExactDateTime = true;
    std::unique_ptr<TAxisGridPen> FGrid;
    double FIncrement = 0;
    bool FInverted = false;
    bool FHorizontal = false;
    bool FOtherSide = false;
    TAxisLabelAlign FLabelsAlign = alDefault;
    bool FLabelsAlternate = false;
    int FLabelsAngle = 0;
    bool FLabelsExponent = false;
    bool FLabelsMultiLine = false;
    bool FLabelsOnAxis = true;
    int FLabelsSeparation = 10;
    int FLabelsSize = 0;
    TAxisLabelStyle FLabelStyle = talAuto;
    bool FLogarithmic = false;
    double FLogarithmicBase = 10;
    double FMaximum = 0;
    int FMaximumOffset = 0;
    double FMinimum = 0;
    int FMinimumOffset = 0;
    std::unique_ptr<TChartHiddenPen> FMinorGrid;
    int FMinorTickCount = 3;
    int FMinorTickLength = 2;
    std::unique_ptr<TDarkGrayPen> FMinorTicks;
    double FStartPosition = 0;
    double FEndPosition = 100;
    double FPositionPercent = 0;
    TLumUnits FPositionUnits = muPercent;
    bool FRoundFirstLabel = true;
    int FTickInnerLength = 0;
    int FTickLength = 4;
    std::unique_ptr<TDarkGrayPen> FTicks;
    std::unique_ptr<TDarkGrayPen> FTicksInner;
    bool FTickOnLabelsOnly = true;
    std::unique_ptr<TChartAxisTitle> FTitle;
    int FTitleSize = 0;
    bool FVisible = true;
    double FZPosition = 0;
    std::unique_ptr<TAxisItems> FItems;
};

// The two depth (z) axes: their own automatic label style, and Inverted shared by both.
class TChartDepthAxis : public TChartAxis {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartDepthAxis(TCustomAxisPanel& Chart);

    TAxisLabelStyle AutoLabelStyle() const override;
    void SetInverted(bool Value) override;
};

// The number in a text (the first "," read as "."), 123456789.0 when it is none; equal bounds check
// nothing, otherwise a bound of 0 is open and a value outside the bounds (included or excluded by
// Inclusive) gives 123456789.0.
double ParseNumberInRange(const std::string& Text, bool Inclusive, double Lower, double Upper);
// The line count of a multi-line text: separators (character 13) plus one when text follows the last.
int LineCount(const std::string& Text);
