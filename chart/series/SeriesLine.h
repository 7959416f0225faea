// The line family's model: line, point and area series (and the horizontal line and area) with their
// pointer, area fill, stairs, stacking, outline, shadow and gradient; their extents and margins, the
// click test, marks placement, legend symbols and gallery sub-styles. Their drawing is SeriesDraw.cpp.
#pragma once

#include "chart/engine/LumEngine.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// How the series of one class pile up: apart, at one depth, summed, or summed to 100 percent.
enum TCustomSeriesStack { cssNone, cssOverlap, cssStack, cssStack100 };
inline const TEnumNames CustomSeriesStackNames{"cssNone", "cssOverlap", "cssStack", "cssStack100"};

// The area series' face of stacking.
enum TMultiArea { maNone, maStacked, maStacked100 };
inline const TEnumNames MultiAreaNames{"maNone", "maStacked", "maStacked100"};

class TCustomSeries;

// A click hit the pointer of a point.
using TSeriesClickPointerEvent = std::function<void(TCustomSeries* Sender, int ValueIndex, int X, int Y)>;
// The pointer style of one point.
using TOnGetPointerStyle = std::function<TSeriesPointerStyle(TChartSeries* Sender, int ValueIndex)>;

// Series whose pen draws a line; LinePen is the series pen.
class TCustomLineSeries : public TChartSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomLineSeries(TComponent* AOwner) : TChartSeries(AOwner) {}
    TChartPen& LinePen() const { return Pen(); }
    void SetLinePen(const TChartPen& Value) { SetPen(Value); }
};

class TCustomSeries : public TCustomLineSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomSeries(TComponent* AOwner);
    ~TCustomSeries() override;

    // From any TCustomSeries: the line family's settings, then the series base's copy.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TCustomSeriesEditor"; }
    // The pointer follows the series into the chart.
    void SetParentChart(TCustomAxisPanel* Value) override;

    // ---- Settings ----
    TChartBrush& AreaChartBrush() const { return *FAreaBrush; }
    void SetAreaChartBrush(const TChartBrush& Value) { FAreaBrush->Assign(Value); }
    TBrushStyle AreaBrush() const { return FAreaBrush->Style(); }
    void SetAreaBrush(TBrushStyle Value) { FAreaBrush->SetStyle(Value); }
    // clDefault: the point colour.
    TColor AreaColor() const { return FAreaColor; }
    void SetAreaColor(TColor Value) { SetColorField(FAreaColor, Value); }
    TChartPen& AreaLinesPen() const { return *FAreaLinesPen; }
    void SetAreaLinesPen(const TChartPen& Value) { FAreaLinesPen->Assign(Value); }
    bool ClickableLine() const { return FClickableLine; }
    void SetClickableLine(bool Value) { FClickableLine = Value; }
    bool ColorEachLine() const { return FColorEachLine; }
    void SetColorEachLine(bool Value) { SetBooleanField(FColorEachLine, Value); }
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool Value) { SetBooleanField(FDark3D, Value); }
    bool DrawArea() const { return FDrawArea; }
    void SetDrawArea(bool Value) { SetBooleanField(FDrawArea, Value); }
    bool DrawLine() const { return FDrawLine; }
    void SetDrawLine(bool Value) { SetBooleanField(FDrawLine, Value); }
    bool InvertedStairs() const { return FInvertedStairs; }
    void SetInvertedStairs(bool Value) { SetBooleanField(FInvertedStairs, Value); }
    TBrushStyle LineBrush() const { return Brush().Style(); }
    void SetLineBrush(TBrushStyle Value) { Brush().SetStyle(Value); }
    // In 3-D, the height of a line drawn as a band (0: a flat ribbon).
    int LineHeight() const { return FLineHeight; }
    void SetLineHeight(int Value) { SetIntegerField(FLineHeight, Value); }
    TChartHiddenPen& OutLine() const { return *FOutLine; }
    void SetOutLine(const TChartPen& Value) { FOutLine->Assign(Value); }
    TSeriesPointer& Pointer() const { return *FPointer; }
    void SetPointer(const TSeriesPointer& Value) { FPointer->Assign(Value); }
    TLumShadow& Shadow() const { return *FShadow; }
    void SetShadow(const TLumShadow& Value) { FShadow->Assign(Value); }
    TCustomSeriesStack Stacked() const { return FStacked; }
    // Every series of the chart of whose class this one is an instance takes the value too.
    void SetStacked(TCustomSeriesStack Value);
    bool Stairs() const { return FStairs; }
    void SetStairs(bool Value) { SetBooleanField(FStairs, Value); }
    virtual TLumGradient& Gradient() const { return *FGradient; }
    void SetGradient(const TLumGradient& Value) { FGradient->Assign(Value); }
    // Percent of transparency of the area fill (the point series: its pointer's).
    virtual int Transparency() const { return FTransparency; }
    virtual void SetTransparency(int Value);

    TSeriesClickPointerEvent OnClickPointer;
    TOnGetPointerStyle OnGetPointerStyle;

    // ---- Model ----
    void HorizMargins(int& Left, int& Right) override;
    void VertMargins(int& Top, int& Bottom) override;
    void ComputeZOrder() override;
    double HighestX() override;
    double HighestY() override;
    double LowestX() override;
    double LowestY() override;
    // Stacked in the mandatory direction, else the axis' conversion.
    int ScreenXOf(int Index) const override;
    int ScreenYOf(int Index) const override;
    bool ScreenXFollowsXValues() const override { return YMandatory() || !IsStacking(); }
    // The point under the pixel: its pointer, the point itself, or (ClickableLine) the line or area
    // between two points; -1 when none.
    int PointAtPixel(int X, int Y) const override;
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    void PaintLegendShape(int Index, const TRect& Rect) override;

    // The room marks ask above (beside) their points.
    virtual int MarksSpace();
    // The click lies strictly within the pointer's half sizes of the point's pixel.
    virtual bool PointerHit(int Index, int PointX, int PointY, int X, int Y) const;
    // Run before a point's pointer is hit-tested or drawn; descendants size the pointer per point.
    virtual void PreparePointer(int Index) const;
    // The pixel where the point's area or stack starts.
    virtual int OriginPosition(int Index) const;
    // The pointer style of a point: OnGetPointerStyle's answer, else the pointer's.
    TSeriesPointerStyle PointerStyleOf(int Index) const;
    // The fill colour of an area of that point colour.
    TColor AreaColorOf(TColor PointColor) const;

    // ---- Stacking ----
    // The sum of the displayed values at Index of the Active series of related classes before this one
    // (and this one with IncludeSelf): positive values on positive ones, negative on negative ones.
    double StackedOrigin(int Index, bool IncludeSelf) const;
    // The pixel of Value stacked on the series before this one.
    int StackedPosition(int Index, double Value) const;
    bool IsStacking() const { return FStacked == cssStack || FStacked == cssStack100; }

    // ---- Drawing (SeriesDraw.cpp) ----
    // Shadow, outline and normal passes over the visible points.
    void PaintAllPoints() override;
    void PaintPoint(int Index) override;
    // The symbol of a point, in its colour (nothing when the pointer is hidden).
    virtual void DrawPointer(int X, int Y, int Index, TColor Color);
    // Selects the line pen for drawing in Color (2-D: that colour and a clear brush).
    void PrepareLinePen(TCanvas3D& Canvas, TColor Color);
    // The mandatory pixel at category value V between points J and J + 1.
    int EdgeValueAt(double V, int J) const;
    // Where the line into the first drawn point Index (> 0, drawn forward) starts: the chart's edge at
    // the height the line from point Index - 1 has there.
    TPoint EntryPoint(int Index) const;
    // The smallest rectangle holding the four points (in 3-D projected at the start depth).
    TRect AreaBounds(const TFourPoints& Points);
    // A line through the middle of Rect (in 3-D the rectangle itself) in the line pen.
    void DrawLegendLine(const TRect& Rect, TColor Color);

protected:
    // Gallery helpers of the descendants.
    static TCustomSeries* AsCustomSeries(TChartSeries* Series) { return dynamic_cast<TCustomSeries*>(Series); }
    // Whether the mandatory values run along Y (vertical series).
    bool Vertical() const { return YMandatory(); }

private:
    // Model helpers.
    bool IsLineHit(int X, int Y, int PX, int PY, int CX, int CY) const;
    void PropagateStacked();
    void StackedExtents(double& Low, double& High);

    // Drawing steps (SeriesDraw.cpp). Coordinates (X, Y) are the point's pixel, (PX, PY) the previous
    // point's; U and V below are the category and value directions (x and y of a vertical series).
    void PaintPass();
    void DrawSegment(int Index, int X, int Y, TColor Color, bool WithPointer);
    void DrawLineSegment(int Index, int X, int Y, TColor Color);
    void DrawAreaSegment(int Index, int X, int Y, TColor Fill);
    void DrawPointerAfterSegment(int Index, int X, int Y, TColor Color);
    bool IsFirstDrawn(int Index) const;
    bool IsLastDrawn(int Index) const;
    // The colour a point is drawn in during the current pass.
    TColor DrawColorOf(int Index) const;
    TColor PassSeriesColor() const { return FPassColor != clNone ? FPassColor : SeriesColor(); }
    const TChartPen& LinePenInUse() const { return FPassPen ? *FPassPen : LinePen(); }

    std::unique_ptr<TChartBrush> FAreaBrush;
    TColor FAreaColor = clDefault;
    std::unique_ptr<TChartPen> FAreaLinesPen;
    bool FColorEachLine = true;
    bool FDark3D = true;
    bool FDrawArea = false;
    bool FDrawLine = false;
    bool FInvertedStairs = false;
    int FLineHeight = 0;
    std::unique_ptr<TChartHiddenPen> FOutLine;
    std::unique_ptr<TSeriesPointer> FPointer;
    std::unique_ptr<TLumShadow> FShadow;
    TCustomSeriesStack FStacked = cssNone;
    bool FStairs = false;
    int FTransparency = 0;
    std::unique_ptr<TLumGradient> FGradient;
    bool FClickableLine = true;

    // Drawing state between the points of one pass (SeriesDraw.cpp).
    int FBottomPos = 0;
    int FOldBottomPos = 0;
    int FOldX = 0;
    int FOldY = 0;
    TColor FOldColor = clNone;
    double FDarkSlope = 0;
    // Set for the shadow and outline passes: the colour points on the series colour take, whether the
    // pointers are left out, and the pen the line is drawn with instead of the line pen.
    TColor FPassColor = clNone;
    bool FPassHidesPointer = false;
    const TChartPen* FPassPen = nullptr;
    // Within a pass: the colour the line pen was last selected in (clNone: not selected since something
    // else used the canvas), and consecutive plain segments of a thin solid line collected into one
    // polyline, which draws the same pixels.
    bool FInPass = false;
    TColor FLinePenColor = clNone;
    std::vector<TPoint> FLineRun;
    bool CanCollectLine() const;
    void FlushLineRun();
    // Draws the pass' line straight from the value arrays, thinned by pixel columns, when that lights the
    // very pixels of the point-by-point drawing; false (nothing drawn) otherwise.
    bool PaintThinnedLine();
};

class TLineSeries : public TCustomSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TLineSeries(TComponent* AOwner);
    // Then, from another class, the pointer hidden; always a line without area.
    void Assign(const TPersistent& Source) override;
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    void LegendSymbolStyle(int Index, TColor& BackColor, TBrushStyle& Style) override;
};

// Values along X.
class THorizLineSeries : public TLineSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit THorizLineSeries(TComponent* AOwner);
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    int MarksSpace() override { return WidestMarkText(); }
};

class TPointSeries : public TCustomSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TPointSeries(TComponent* AOwner);
    // Then the point defaults again.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TSeriesPointerEditor"; }
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    // Switching it on gives the pointer's brush the point colours.
    void SetColorEachPoint(bool Value) override;
    int Transparency() const override { return Pointer().Transparency(); }
    void SetTransparency(int Value) override;
    void PrepareForGallery(bool Enabled) override;
    // The gallery lists the pointer styles.
    virtual bool OffersPointerVariants() const { return true; }

private:
    void ApplyPointDefaults();
};

class TAreaSeries : public TCustomSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TAreaSeries(TComponent* AOwner);
    // Then area and line on; from a related class the origin settings, else the pointer hidden.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TAreaSeriesEditor"; }
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    void PaintLegendShape(int Index, const TRect& Rect) override;
    void LegendSymbolStyle(int Index, TColor& BackColor, TBrushStyle& Style) override;
    double HighestX() override;
    double HighestY() override;
    double LowestX() override;
    double LowestY() override;
    bool DrawSeriesForward(int Index) const override;
    int OriginPosition(int Index) const override;
    void PrepareForGallery(bool Enabled) override;

    // The area reaches down to YOrigin instead of the axis edge.
    bool UseYOrigin() const { return FUseYOrigin; }
    void SetUseYOrigin(bool Value) { SetBooleanField(FUseYOrigin, Value); }
    double YOrigin() const { return FYOrigin; }
    void SetYOrigin(double Value) { SetFloatField(FYOrigin, Value); }
    TMultiArea MultiArea() const;
    void SetMultiArea(TMultiArea Value);

private:
    bool FUseYOrigin = false;
    double FYOrigin = 0;
};

// Values along X.
class THorizAreaSeries : public TAreaSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit THorizAreaSeries(TComponent* AOwner);
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    int DefaultSampleCount() const override { return 10; }
};

// The published properties of a series kind: the series base's, then Own, with XValues and YValues
// last; the names in Without are left out of the base's.
std::vector<TPropInfo> SeriesKindProperties(std::vector<TPropInfo> Own, std::initializer_list<std::string_view> Without = {});

// Hatch style 2 + (Index mod 6): bsHorizontal .. bsDiagCross (the pie series' patterns).
TBrushStyle BrushPatternOf(int Index);
