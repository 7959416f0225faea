// The statistics series: error whiskers from a second value list, alone or on top of bars, and the
// high-low band between a high and a low value per point; their registration on the gallery page "Stats".
#pragma once

#include "chart/series/SeriesBar.h"

#include <memory>

// Where the whiskers of a point go.
enum TErrorSeriesStyle { essLeft, essRight, essLeftRight, essTop, essBottom, essTopBottom };
inline const TEnumNames ErrorSeriesStyleNames{"essLeft", "essRight", "essLeftRight", "essTop", "essBottom", "essTopBottom"};

// What ErrorWidth counts.
enum TErrorWidthUnits { ewuPercent, ewuPixels };
inline const TEnumNames ErrorWidthUnitsNames{"ewuPercent", "ewuPixels"};

class TCustomErrorSeries : public TBarSeries {
    VSP_PERSISTENT_CLASS
public:
    TCustomErrorSeries(TComponent* AOwner, bool DrawBar);
    ~TCustomErrorSeries() override;

    // From another error series: the error settings, then the bar settings.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TErrorSeriesEditor"; }

    TChartPen& ErrorPen() const { return *FErrorPen; }
    // Without the bar, the series colour follows the pen.
    void SetErrorPen(const TChartPen& Value);
    TErrorSeriesStyle ErrorStyle() const { return FErrorStyle; }
    void SetErrorStyle(TErrorSeriesStyle Value);
    TChartValueList& ErrorValues() const { return *FErrorValues; }
    void SetErrorValues(const TChartValueList& Value) { ReplaceValueListSettings(*FErrorValues, Value); }
    int ErrorWidth() const { return FErrorWidth; }
    void SetErrorWidth(int Value) { SetIntegerField(FErrorWidth, Value); }
    TErrorWidthUnits ErrorWidthUnits() const { return FErrorWidthUnits; }
    void SetErrorWidthUnits(TErrorWidthUnits Value);
    bool DrawsBar() const { return FDrawBar; }

    // The point with its error value; the index it got.
    int AddErrorPoint(double X, double Y, double Error, const std::string& Label = {}, TColor Color = clDefault);

    // Without the bar, the error pen takes the series colour.
    void SetSeriesColor(TColor Value) override;
    void HorizMargins(int& Left, int& Right) override;
    void VertMargins(int& Top, int& Bottom) override;
    double HighestY() override;
    double LowestY() override;
    bool OffersStackVariants() const override { return false; }
    void AddRandomSampleValues(int Count, bool AsValues) override;
    void PrepareForGallery(bool Coloured) override;
    void LegendSymbolStyle(int Index, TColor& BackColor, TBrushStyle& Style) override;
    void PaintLegendShape(int Index, const TRect& Rect) override;
    // The bar when the kind draws one, then the whiskers.
    void PaintBar(int Index, int Upper, int Lower) override;

    // The whiskers of ErrorStyle around (X, Y): H pixels sideways, Up and Down pixels up and down, with
    // cross lines CrossWidth wide on vertical whiskers and CrossHeight high on horizontal ones; at depth
    // Z in 3-D (In3D).
    void DrawWhiskers(int X, int Y, int CrossWidth, int CrossHeight, int H, int Up, int Down, bool In3D, int Z);

private:
    std::unique_ptr<TChartPen> FErrorPen;
    TErrorSeriesStyle FErrorStyle = essTopBottom;
    TChartValueList* FErrorValues = nullptr;
    int FErrorWidth = 100;
    TErrorWidthUnits FErrorWidthUnits = ewuPercent;
    bool FDrawBar;
};

// Whiskers alone: the points themselves are not drawn.
class TErrorSeries : public TCustomErrorSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TErrorSeries(TComponent* AOwner) : TCustomErrorSeries(AOwner, false) {}
};

// Bars with a whisker on top.
class TErrorBarSeries : public TCustomErrorSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TErrorBarSeries(TComponent* AOwner);
    void PrepareForGallery(bool Coloured) override;
};

class THighLowSeries : public TChartSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit THighLowSeries(TComponent* AOwner);
    ~THighLowSeries() override;

    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "THighLowEditor"; }

    TChartBrush& HighBrush() const { return Brush(); }
    TChartPen& HighPen() const { return *FHighPen; }
    void SetHighPen(const TChartPen& Value) { FHighPen->Assign(Value); }
    TChartValueList& HighValues() const { return YValues(); }
    TChartBrush& LowBrush() const { return *FLowBrush; }
    void SetLowBrush(const TChartBrush& Value) { FLowBrush->Assign(Value); }
    TChartPen& LowPen() const { return *FLowPen; }
    void SetLowPen(const TChartPen& Value) { FLowPen->Assign(Value); }
    TChartValueList& LowValues() const { return *FLowValues; }
    int Transparency() const { return FTransparency; }
    void SetTransparency(int Value) { SetIntegerField(FTransparency, Value); }

    int AddHighLowPoint(double X, double High, double Low);

    void PaintPoint(int Index) override;
    // The band between two points answers the later one; the high line its nearer end.
    int PointAtPixel(int X, int Y) const override;
    double HighestY() override;
    double LowestY() override;
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    bool AcceptsSource(const TChartSeries* Series) const override;
    void AddRandomSampleValues(int Count, bool AsValues) override;

private:
    void FillBand(TPoint P0, TPoint P1, TPoint P2, TPoint P3, TChartBrush& Brush, TColor Color);
    void DrawSide(const TChartPen& Pen, TPoint From, TPoint To, TColor Color);

    std::unique_ptr<TChartPen> FHighPen;
    TChartValueList* FLowValues = nullptr;
    std::unique_ptr<TChartPen> FLowPen;
    std::unique_ptr<TChartBrush> FLowBrush;
    int FTransparency = 0;
    int FOldX = 0;
    int FOldHigh = 0;
    int FOldLow = 0;
};

// The three kinds on the gallery page "Stats", and their removal.
void RegisterErrorBarUnit();
void UnregisterErrorBarUnit();
