// The bar series' model: vertical and horizontal bars, how related bar series share a category (side by
// side, stacked, stacked to 100 %, self-stacked, one after another), bar width, bar ends and origins,
// axis extents and margins, depth, draw order, gallery sub-styles and sample data. The bars' drawing,
// marks and click test are SeriesBarDraw.cpp.
#pragma once

#include "chart/engine/LumEngine.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// How related bar series share one category position.
enum TMultiBar { mbNone, mbSide, mbStacked, mbStacked100, mbSideAll, mbSelfStack };
inline const TEnumNames MultiBarNames{"mbNone", "mbSide", "mbStacked", "mbStacked100", "mbSideAll", "mbSelfStack"};

// The shape of a bar.
enum TBarStyle {
    bsRectangle, bsPyramid, bsInvPyramid, bsCilinder, bsEllipse, bsArrow, bsRectGradient, bsCone, bsBevel,
    bsSlantCube, bsDiamond, bsInvArrow, bsInvCone
};
inline const TEnumNames BarStyleNames{"bsRectangle",    "bsPyramid", "bsInvPyramid", "bsCilinder", "bsEllipse",
                                      "bsArrow",        "bsRectGradient", "bsCone",   "bsBevel",    "bsSlantCube",
                                      "bsDiamond",      "bsInvArrow", "bsInvCone"};

class TCustomBarSeries;

// Lets a handler change the shape of one bar.
using TGetBarStyleEvent = std::function<void(TCustomBarSeries* Sender, int ValueIndex, TBarStyle& TheBarStyle)>;

// The fill of gradient bars; its end colour is set per bar while drawing. Visible from the start, and its
// direction's default is the one the owning series kind gave it.
class TBarSeriesGradient : public TCustomLumGradient {
    VSP_PERSISTENT_CLASS
public:
    TBarSeriesGradient(TNotifyEvent OnChanged, TGradientDirection DefaultDirection);
    void Assign(const TPersistent& Source) override;
    // The end colour blends from StartColor by the bar's value between origin and highest value.
    bool Relative() const { return FRelative; }
    void SetRelative(bool Value);
    TGradientDirection DefaultDirection() const { return FDefaultDirection; }

private:
    bool FRelative = false;
    TGradientDirection FDefaultDirection;
};

class TCustomBarSeries : public TChartSeries {
    VSP_PERSISTENT_CLASS
public:
    TCustomBarSeries(TComponent* AOwner, TGradientDirection GradientDirection);
    ~TCustomBarSeries() override;

    // From another bar series: its bar settings (not AutoBarSize), then the series base's.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TBarSeriesEditor"; }
    // Joining a chart takes MultiBar and SideMargins from the chart's first related series.
    void SetParentChart(TCustomAxisPanel* Value) override;

    // ---- Settings ----
    bool AutoBarSize() const { return FAutoBarSize; }
    void SetAutoBarSize(bool Value) { SetBooleanField(FAutoBarSize, Value); }
    bool AutoMarkPosition() const { return FAutoMarkPosition; }
    void SetAutoMarkPosition(bool Value) { SetBooleanField(FAutoMarkPosition, Value); }
    TChartBrush& BarBrush() const { return Brush(); }
    TChartPen& BarPen() const { return Pen(); }
    TBarStyle BarStyle() const { return FBarStyle; }
    void SetBarStyle(TBarStyle Value);
    int BarWidthPercent() const { return FBarWidthPercent; }
    void SetBarWidthPercent(int Value) { SetIntegerField(FBarWidthPercent, Value); }
    int BevelSize() const { return FBevelSize; }
    void SetBevelSize(int Value) { SetIntegerField(FBevelSize, Value); }
    // Bar thickness in pixels; 0 computes it from the room per category.
    int CustomBarWidth() const { return FCustomBarWidth; }
    void SetCustomBarWidth(int Value) { SetIntegerField(FCustomBarWidth, Value); }
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool Value) { SetBooleanField(FDark3D, Value); }
    int DepthPercent() const { return FDepthPercent; }
    void SetDepthPercent(int Value) { SetIntegerField(FDepthPercent, Value); }
    TBarSeriesGradient& Gradient() const { return *FGradient; }
    void SetGradient(const TCustomLumGradient& Value) { FGradient->Assign(Value); }
    TMultiBar MultiBar() const { return FMultiBar; }
    // Every related series of the chart takes the mode and SideMargins.
    void SetMultiBar(TMultiBar Value);
    int OffsetPercent() const { return FOffsetPercent; }
    void SetOffsetPercent(int Value) { SetIntegerField(FOffsetPercent, Value); }
    bool SideMargins() const { return FSideMargins; }
    // Every related series of the chart takes it and MultiBar.
    void SetSideMargins(bool Value);
    int StackGroup() const { return FStackGroup; }
    void SetStackGroup(int Value) { SetIntegerField(FStackGroup, Value); }
    TChartHiddenPen& TickLines() const { return *FTickLines; }
    void SetTickLines(const TChartPen& Value) { FTickLines->Assign(Value); }
    bool UseYOrigin() const { return FUseYOrigin; }
    void SetUseYOrigin(bool Value) { SetBooleanField(FUseYOrigin, Value); }
    double YOrigin() const { return FYOrigin; }
    void SetYOrigin(double Value) { SetFloatField(FYOrigin, Value); }

    TGetBarStyleEvent OnGetBarStyle;

    // ---- Layout (worked out before every drawing pass) ----
    void PrepareForDraw() override;
    int SlotCount() const { return FSlotCount; }
    int SlotIndex() const { return FSlotIndex; }
    int MaxPointCount() const { return FMaxPointCount; }
    int PrecedingPointCount() const { return FPrecedingPointCount; }
    int BarPixelWidth() const { return FBarPixelWidth; }
    const TRect& BarBounds() const { return FBarBounds; }
    TColor CurrentBarColor() const { return FCurrentBarColor; }
    // The bar thickness from the category axis' length (run with the margin request).
    void ComputeBarWidth();
    // What the bars ask of the category axis at each end.
    int BarMargin() const;
    // The value where bar Index starts (its stack below it; with IncludeSelf the stack's total).
    virtual double BarOriginValue(int Index, bool IncludeSelf) const;
    // The summed displayed values at Index of the Active related series of this stack group, up to this
    // one (with IncludeSelf, through it), of the sign class of this series' value.
    double StackedSumAt(int Index, bool IncludeSelf) const;
    // The value-axis pixel where bar Index starts.
    int BarOriginPixel(int Index) const;
    // Room for marks along the value axis: text extent, callout length and frame.
    int MarksRoom(int Index);
    virtual int MarkExtent(int) { return 0; }

    // ---- Model overrides ----
    void ComputeZOrder() override;
    void ComputeZExtent() override;
    void ComputeVisibleIndexRange() override;
    bool SharesDepthWithOther() const override;
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    void PrepareForGallery(bool Coloured) override;
    int DefaultSampleCount() const override;
    void AddRandomSampleValues(int Count, bool AsValues) override;
    void LegendSymbolStyle(int Index, TColor& BackColor, TBrushStyle& Style) override;
    // The gallery offers the stacking sub-styles.
    virtual bool OffersStackVariants() const { return true; }

    // ---- Drawing (SeriesBarDraw.cpp) ----
    void PaintPoint(int Index) override;
    // The first visible bar that holds the pixel; -1 when none.
    int PointAtPixel(int X, int Y) const override;
    virtual bool BarContains(int, TPoint) const { return false; }
    // Draws one bar between two pixels of the value axis (Low <= High).
    virtual void PaintBar(int Index, int Low, int High) = 0;
    virtual void DrawTickLine(int, TBarStyle) {}
    // The shape of bar Index: BarStyle, or OnGetBarStyle's answer.
    TBarStyle BarStyleOf(int Index);
    // BarBounds of bar Index.
    virtual void CalcBarBounds(int Index) = 0;
    // The bar pen, and the bar brush in the current bar colour.
    void SelectBarBrushAndPen();
    // A rectangle, or a line or an outline for bars thinner than the pen (see the cpp).
    void DrawBarRect(int Left, int Top, int Right, int Bottom);
    void DrawBarRect(const TRect& R) { DrawBarRect(R.Left, R.Top, R.Right, R.Bottom); }
    // Tick lines of the value axis strictly inside Low..High.
    void DrawTickLines(int Low, int High, TBarStyle Style);
    // The gradient's end colour for bar Index.
    void PrepareBarGradient(int Index);
    // Fills Rect with the gradient (projected at the front depth in 3-D).
    void DrawGradientBar(int Index, const TRect& Rect);
    // Lit top-left and dark bottom-right frames inside the current bar.
    void DrawBevel();
    // Pen width the bar outline takes beyond the bar (vertical bars: at least 1 with a visible pen).
    int PenExtra(bool AtLeastOne) const;

protected:
    // Category and value directions: the category axis runs across the bars.
    TChartAxis* CategoryAxis() const { return YMandatory() ? GetHorizAxis() : GetVertAxis(); }
    // The pixel edge of bar Index across the category axis (left or top edge).
    int CategoryEdge(int Index) const;
    // The pixel of the bar's value end.
    int ValueEnd(int Index) const;
    // The inherited pixel of a category or value along one axis.
    int CategoryPixel(double Value) const;
    // The value-axis extents (stacking included) and the category extents.
    void ValueExtents(double& Low, double& High);
    void CategoryExtents(double& Low, double& High);
    // Value-axis margins for marks: r to the side where the bars end.
    void ValueMargins(int& Low, int& High, int MarkIndex, bool Inverted);
    // Whether bar Index draws forward (stacked kinds by the side of the origin).
    bool ForwardBySign(int Index, double Origin, const TChartAxis* ValueAxis) const;
    // The pixel room for one category.
    int RoomPerCategory() const;
    void SetBarBounds(const TRect& R) { FBarBounds = R; }
    void SetCurrentBarColor(TColor C) { FCurrentBarColor = C; }

private:
    void SyncMultiBar();
    // Applies the stacked-100 scale to a value pixel.
    int StackedPixel(int Index, double Value) const;

    bool FAutoBarSize = false;
    bool FAutoMarkPosition = true;
    TBarStyle FBarStyle = bsRectangle;
    int FBarWidthPercent = 70;
    int FBevelSize = 1;
    int FCustomBarWidth = 0;
    bool FDark3D = true;
    int FDepthPercent = 100;
    std::unique_ptr<TBarSeriesGradient> FGradient;
    TMultiBar FMultiBar = mbSide;
    int FOffsetPercent = 0;
    bool FSideMargins = true;
    int FStackGroup = 0;
    std::unique_ptr<TChartHiddenPen> FTickLines;
    bool FUseYOrigin = true;
    double FYOrigin = 0;

    int FSlotCount = 1;
    int FSlotIndex = 1;
    int FMaxPointCount = -1;
    int FPrecedingPointCount = 0;
    int FBarPixelWidth = 0;
    TRect FBarBounds;
    TColor FCurrentBarColor = clNone;
};

// The published properties of a bar kind: the series base's, the bar settings (the custom width under
// WidthName), then Own.
std::vector<TPropInfo> BarKindProperties(const char* WidthName, std::vector<TPropInfo> Own = {});

// Vertical bars: values up the vertical axis, categories along the horizontal axis.
class TBarSeries : public TCustomBarSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TBarSeries(TComponent* AOwner);

    void HorizMargins(int& Left, int& Right) override;
    void VertMargins(int& Top, int& Bottom) override;
    int ScreenXOf(int Index) const override { return CategoryEdge(Index); }
    bool ScreenXFollowsXValues() const override { return false; }
    int ScreenYOf(int Index) const override { return ValueEnd(Index); }
    double HighestX() override;
    double LowestX() override;
    double HighestY() override;
    double LowestY() override;
    bool DrawSeriesForward(int Index) const override;
    int MarkExtent(int) override;

    // ---- Drawing (SeriesBarDraw.cpp) ----
    void CalcBarBounds(int Index) override;
    void PaintBar(int Index, int Upper, int Lower) override;
    void DrawTickLine(int Pixel, TBarStyle Style) override;
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    bool BarContains(int Index, TPoint P) const override;
};

// Horizontal bars: values along the horizontal axis, categories up the vertical axis.
class THorizBarSeries : public TCustomBarSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit THorizBarSeries(TComponent* AOwner);

    void HorizMargins(int& Left, int& Right) override;
    void VertMargins(int& Top, int& Bottom) override;
    int ScreenXOf(int Index) const override { return ValueEnd(Index); }
    bool ScreenXFollowsXValues() const override { return false; }
    int ScreenYOf(int Index) const override { return CategoryEdge(Index); }
    double HighestX() override;
    double LowestX() override;
    double HighestY() override;
    double LowestY() override;
    bool DrawSeriesForward(int Index) const override;
    int MarkExtent(int Index) override;

    // ---- Drawing (SeriesBarDraw.cpp) ----
    void CalcBarBounds(int Index) override;
    void PaintBar(int Index, int Left, int Right) override;
    void DrawTickLine(int Pixel, TBarStyle Style) override;
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    bool BarContains(int Index, TPoint P) const override;
};
