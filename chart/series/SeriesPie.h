// The circled series base and the pie: circle geometry inside the chart rectangle, rotation and the
// screen-to-angle conversions, the chart's 3-D view switched while such a series is in the chart; the
// pie's slice angles, the grouping of small slices into one other slice, several pies in one chart,
// exploded slices, legend entries, samples and gallery variants. Drawing, marks and the click test are
// SeriesPieDraw.cpp.
#pragma once

#include "chart/engine/LumEngine.h"

#include <memory>
#include <string>
#include <vector>

class TChartLegend;
class TCustomChartLegend;

// Several pies of one chart share its rectangle in a grid, or each takes all of it.
enum TMultiPie { mpAutomatic, mpDisabled };
inline const TEnumNames MultiPieNames{"mpAutomatic", "mpDisabled"};

// Which slices are grouped into the other slice.
enum TPieOtherStyle { poNone, poBelowPercent, poBelowValue };
inline const TEnumNames PieOtherStyleNames{"poNone", "poBelowPercent", "poBelowValue"};

// The X values marking grouped points and the other slice itself.
inline constexpr double PieGroupedX = -1;
inline constexpr double PieOtherSliceX = 2147483647;

class TCircledSeries : public TChartSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TCircledSeries(TComponent* AOwner);
    // Gives the chart its own 3-D view back.
    ~TCircledSeries() override;

    void Assign(const TPersistent& Source) override;

    // ---- Settings ----
    bool Circled() const { return FCircled; }
    // Given to every series of the chart of this class or an ancestor class, which drop custom radii.
    void SetCircled(bool Value);
    int CustomXRadius() const { return FCustomXRadius; }
    void SetCustomXRadius(int Value);
    int CustomYRadius() const { return FCustomYRadius; }
    void SetCustomYRadius(int Value);
    TColor CircleBackColor() const { return FCircleBackColor; }
    void SetCircleBackColor(TColor Value) { SetColorField(FCircleBackColor, Value); }
    int RotationAngle() const { return FRotationAngle; }
    // Stored modulo 360.
    void SetRotationAngle(int Value);
    double RotationRadians() const { return FRotationRadians; }
    TLumGradient& Gradient() const { return *FGradient; }
    void SetGradient(const TCustomLumGradient& Value) { FGradient->Assign(Value); }

    // ---- Circle geometry (worked out before the values are drawn) ----
    const TRect& CircleRect() const { return FCircleRect; }
    void SetCircleRect(const TRect& Value) { FCircleRect = Value; }
    int CircleWidth() const { return FCircleWidth; }
    int CircleHeight() const { return FCircleHeight; }
    int CircleXCenter() const { return FCircleXCenter; }
    int CircleYCenter() const { return FCircleYCenter; }
    int XRadius() const { return FXRadius; }
    int YRadius() const { return FYRadius; }
    // Even sizes of at least 4, and the centre.
    void AdjustCircleRect();
    // The radii (custom ones when set) and the rectangle around the centre.
    void ComputeRadii();
    // Keeps the circle round on the screen.
    void MakeRound();
    // A pixel at angle A (radians, counter-clockwise from the positive x direction, rotation added).
    TPoint PolarToScreen(double A, double RX, double RY) const;
    // The angle of a pixel, rotation taken off, in [0, 2 pi).
    double ScreenToAngle(int X, int Y) const;
    TColor EffectiveCircleBackColor() const;
    bool HasCircleBackColor() const { return FCircleBackColor != clDefault && FCircleBackColor != clNone; }
    // The gradient inside the circle (for descendants; the pie does not call it).
    virtual void PaintCircleGradient();

    // ---- Overrides ----
    void FireBeforeDrawValues() override;
    void SetActive(bool Value) override;
    void SetParentChart(TCustomAxisPanel* Value) override;
    void LegendSymbolStyle(int Index, TColor& BackColor, TBrushStyle& Style) override;
    bool UsesAxes() const override { return false; }
    bool UsesAxis(const TChartAxis*) const override { return true; }

    // The chart's 3-D view: saved and adjusted while the series is in the chart and Active, given back
    // when it leaves, is deactivated or freed.
    void SwitchChartView3D(bool Restore);
    bool HasSavedView3D() const { return FSavedView3D != nullptr; }

protected:
    // Gives the chart its 3-D view back and leaves it (destructors, while the own objects exist).
    void ReleaseChart();
    // A series without visible marks takes the circle of the first Active related series with marks.
    virtual void BorrowCircleRect();
    virtual void AdjustChartView3D() {}
    // The rectangle, centre and radii of the circle from the chart rectangle.
    void ComputeCircleGeometry();

private:
    // The series of the chart of this class or an ancestor class.
    template <class F>
    void ForEachCircledKin(F Action);
    void SetRotationRadians() { FRotationRadians = FRotationAngle * 0.017453292519943295; }

    bool FCircled = false;
    int FCustomXRadius = 0;
    int FCustomYRadius = 0;
    TColor FCircleBackColor = clDefault;
    int FRotationAngle = 0;
    double FRotationRadians = 0;
    std::unique_ptr<TLumGradient> FGradient;
    std::unique_ptr<TView3DOptions> FSavedView3D;
    bool FFreeing = false;

    TRect FCircleRect;
    int FCircleWidth = 0;
    int FCircleHeight = 0;
    int FCircleXCenter = 0;
    int FCircleYCenter = 0;
    int FXRadius = 0;
    int FYRadius = 0;
};

class TPieSeries;

// An explode distance per point index in percent of the radius; entries past the end read 0.
class TSliceValueList {
public:
    explicit TSliceValueList(TPieSeries* Owner) : FOwner(Owner) {}
    int Count() const { return static_cast<int>(FItems.size()); }
    int ValueAt(int Index) const;
    // Pads the list to Index, then stores a value that differs and repaints the pie.
    void SetValue(int Index, int Value);
    void Delete(int Index);
    void Exchange(int A, int B);
    // Padded with zeros to Count entries.
    void PadTo(int Count);
    void Clear() { FItems.clear(); }

private:
    TPieSeries* FOwner;
    std::vector<int> FItems;
};

// The grouping of small slices into one slice, with a legend of its own for the grouped points.
class TPieOtherSlice : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    explicit TPieOtherSlice(TPieSeries* Owner);
    ~TPieOtherSlice() override;

    void Assign(const TPersistent& Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // Made on first read: a hidden legend of the pie's chart listing the grouped points.
    TChartLegend& Legend();
    TChartLegend* LegendIfAny() const { return FLegend.get(); }
    // Nil frees it; a legend is copied and listed for this pie again.
    void SetLegend(const TChartLegend* Value);
    // The legend moves to the pie's new chart.
    void MoveLegend(TCustomAxisPanel* Chart);
    TPieOtherStyle Style() const { return FStyle; }
    void SetStyle(TPieOtherStyle Value);
    // "Other" while empty.
    std::string Text() const;
    const std::string& StoredText() const { return FText; }
    void SetText(const std::string& Value);
    double Value() const { return FValue; }
    void SetValue(double Value);

private:
    void Changed();

    TPieSeries* FOwner;
    TColor FColor = clDefault;
    std::unique_ptr<TChartLegend> FLegend;
    TPieOtherStyle FStyle = poNone;
    std::string FText;
    double FValue = 0;
};

// The pie's shadow: silver-grey by default.
class TPieShadow : public TLumShadow {
    VSP_PERSISTENT_CLASS
public:
    explicit TPieShadow(TNotifyEvent OnChanged);
};

// One slice's angles in radians, rotation not included.
struct TPieAngle {
    double FromAngle = 0;
    double MiddleAngle = 0;
    double ToAngle = 0;
};
using TPieAngles = std::vector<TPieAngle>;

class TPieSeries : public TCircledSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TPieSeries(TComponent* AOwner);
    ~TPieSeries() override;

    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TPieSeriesEditor"; }
    void SetParentChart(TCustomAxisPanel* Value) override;
    void SetParentView3D(bool Value) override;
    // The 3-D view a pie looks best in.
    void SetDefaultPieView();

    // ---- Settings ----
    int AngleSize() const { return FAngleSize; }
    void SetAngleSize(int Value);
    bool AutoMarkPosition() const { return FAutoMarkPosition; }
    void SetAutoMarkPosition(bool Value) { SetBooleanField(FAutoMarkPosition, Value); }
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool Value) { SetBooleanField(FDark3D, Value); }
    int DarkPen() const { return FDarkPen; }
    void SetDarkPen(int Value) { SetIntegerField(FDarkPen, Value); }
    int DonutPercent() const { return FDonutPercent; }
    void SetDonutPercent(int Value) { SetIntegerField(FDonutPercent, Value); }
    int ExplodeBiggest() const { return FExplodeBiggest; }
    void SetExplodeBiggest(int Value);
    TSliceValueList& ExplodePercents() { return FExplodePercents; }
    const TSliceValueList& ExplodePercents() const { return FExplodePercents; }
    TMultiPie MultiPie() const { return FMultiPie; }
    void SetMultiPie(TMultiPie Value);
    TPieOtherSlice& OtherSlice() const { return *FOtherSlice; }
    void SetOtherSlice(const TPieOtherSlice& Value) { FOtherSlice->Assign(Value); }
    TChartPen& PiePen() const { return Pen(); }
    TChartValueList& PieValues() const { return YValues(); }
    TPieShadow& Shadow() const { return *FShadow; }
    void SetShadow(const TLumShadow& Value) { FShadow->Assign(Value); }
    bool UsePatterns() const { return FUsePatterns; }
    void SetUsePatterns(bool Value) { SetBooleanField(FUsePatterns, Value); }

    // ---- Slices ----
    const TPieAngles& SliceAngles() const { return FAngles; }
    // Works the angles out when there are none yet.
    void EnsureAngles();
    void CalcAngles();
    // The biggest visible slice gets ExplodeBiggest as its explode percent.
    void CalcExplodeBiggest();
    bool IsGrouped(int Index) const { return XValues().ValueAt(Index) == PieGroupedX; }
    bool IsOtherSlice(int Index) const { return XValues().ValueAt(Index) == PieOtherSliceX; }
    // The legend being drawn (the other slice's while it draws), nil for the chart's.
    const TCustomChartLegend* CurrentLegend() const { return FCurrentLegend; }

    // ---- Model overrides ----
    void PrepareForDraw() override;
    void FireBeforeDrawValues() override;
    void FireAfterDrawValues() override;
    void ComputeVisibleIndexRange() override;
    void ComputeZOrder() override { SetZOrder(-1); }
    bool SharesDepthWithOther() const override { return false; }
    double HighestX() override;
    double LowestX() override;
    double HighestY() override;
    double LowestY() override;
    int ScreenXOf(int Index) const override;
    // The other slice sits at 0.
    bool ScreenXFollowsXValues() const override { return false; }
    void ClearPoints() override;
    void DeletePoint(int Index) override;
    void SwapValueIndex(int I, int J) override;
    void ResetPointStorage() override;
    void WritePointData(TStream& Stream) override;
    void ReorderPoints() override;
    int LegendEntryCount() const override;
    int LabelIndexOf(int LegendIndex) const override;
    void LegendSymbolStyle(int Index, TColor& BackColor, TBrushStyle& Style) override;
    int DefaultSampleCount() const override { return 8; }
    void AddRandomSampleValues(int Count, bool AsValues) override;
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    void PrepareForGallery(bool Coloured) override;

    // ---- Drawing (SeriesPieDraw.cpp) ----
    void PaintAllPoints() override;
    void PaintPoint(int Index) override;
    // The slice shape; descendants may replace it.
    virtual void PaintSlice(int Index);
    void PaintLegendShape(int Index, const TRect& Rect) override;
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    int PointAtPixel(int X, int Y) const override;
    // The slice holding the pixel (at its exploded place when asked); -1 when none.
    int SliceAtPoint(int X, int Y, bool WithExplode) const;
    // How far slice Index moves out (screen x + dx, y - dy); (0, 0) unless some slice is exploded.
    TPoint ExplodeOffset(int Index) const;
    // The pie pen, darkened to the slice colour by DarkPen.
    void SelectSlicePen(int Index);
    TBrushStyle SlicePattern(int Index) const;
    // Whether the radial faces of the slices show (some visible slice is exploded).
    bool RadialFaces() const { return FRadialFaces; }

protected:
    void BorrowCircleRect() override {}
    void AdjustChartView3D() override;

private:
    // Sorts, removes the last pass' other slice, renumbers and groups the small slices anew.
    void PrepareOtherSlice();
    // The draw order of a 3-D pass: the slice nearer the back first.
    int CompareSliceDepth(int A, int B) const;
    // Radii grown by the slice's explode percent.
    void ExplodedRadii(int Index, int& RX, int& RY) const;
    TColor SliceColor(int Index) const;

    int FAngleSize = 360;
    bool FAutoMarkPosition = true;
    bool FDark3D = true;
    int FDarkPen = 0;
    int FDonutPercent = 0;
    int FExplodeBiggest = 0;
    TSliceValueList FExplodePercents{this};
    TMultiPie FMultiPie = mpAutomatic;
    std::unique_ptr<TPieOtherSlice> FOtherSlice;
    std::unique_ptr<TPieShadow> FShadow;
    bool FUsePatterns = false;

    TPieAngles FAngles;
    std::vector<int> FDrawOrder;
    TRect FSavedChartRect;
    bool FChartRectSaved = false;
    TPoint FWedgeStart;
    bool FRadialFaces = false;
    const TCustomChartLegend* FCurrentLegend = nullptr;
};
