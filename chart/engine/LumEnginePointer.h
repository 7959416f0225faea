// The point symbol of a series (TSeriesPointer: square, circle, triangles, crosses, diamond, dot; flat or
// as a solid in 3-D), the connector from a point to a label (TCallout: a line or arrow with the symbol at
// the point end), and the callout of series marks (TMarksCallout, which lifts marks above their points).
#pragma once

#include "chart/base/RadErare.h"
#include "chart/engine/LumEngineTypes.h"

#include <memory>

class TSeriesMarkPosition;

enum TSeriesPointerStyle {
    psRectangle, psCircle, psTriangle, psDownTriangle, psCross, psDiagCross, psStar, psDiamond, psSmallDot,
    psNothing, psLeftTriangle, psRightTriangle
};
inline const TEnumNames SeriesPointerStyleNames{"psRectangle", "psCircle",   "psTriangle",     "psDownTriangle",
                                                "psCross",     "psDiagCross", "psStar",        "psDiamond",
                                                "psSmallDot",  "psNothing",  "psLeftTriangle", "psRightTriangle"};

enum TArrowHeadStyle { ahNone, ahLine, ahSolid };
inline const TEnumNames ArrowHeadStyleNames{"ahNone", "ahLine", "ahSolid"};

class TSeriesPointer : public TLumCustomShapeBrushPen {
    VSP_PERSISTENT_CLASS
public:
    // With a series, the panel is the series' chart and the depths come from the series.
    explicit TSeriesPointer(TChartSeries* Series);
    ~TSeriesPointer() override;

    // From another pointer: Dark3D, Draw3D, Gradient, HorizSize, InflateMargins, Style, Transparency,
    // VertSize; then brush, pen and Visible.
    void Assign(const TPersistent& Source) override;

    // ---- Settings ----
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool Value) { Change(FDark3D, Value); }
    bool Draw3D() const { return FDraw3D; }
    void SetDraw3D(bool Value) { Change(FDraw3D, Value); }
    TLumGradient& Gradient() const { return *FGradient; }
    void SetGradient(const TLumGradient& Value) { FGradient->Assign(Value); }
    // The series asks its axes for room for the symbol.
    bool InflateMargins() const { return FInflateMargins; }
    void SetInflateMargins(bool Value) { Change(FInflateMargins, Value); }
    TSeriesPointerStyle Style() const { return FStyle; }
    void SetStyle(TSeriesPointerStyle Value) { Change(FStyle, Value); }
    TLumTransparency Transparency() const { return FTransparency; }
    void SetTransparency(TLumTransparency Value) { Change(FTransparency, Value); }
    // Half width and half height in pixels; ChartException "Pointer size must be greater than zero" for a
    // size <= 0 (the size stays).
    int HorizSize() const { return FHorizSize; }
    void SetHorizSize(int Value);
    int VertSize() const { return FVertSize; }
    void SetVertSize(int Value);
    // Set without checks or repaint.
    void StoreHorizSize(int Value) { FHorizSize = Value; }
    void StoreVertSize(int Value) { FVertSize = Value; }
    TColor GetBrushColor() const;
    void SetBrushColor(TColor Value);
    TChartSeries* OwnerSeries() const { return FSeries; }
    // Whether editors offer the symbol's size (series that size their symbols from values turn it off).
    bool SizeEditable() const { return FSizeEditable; }
    void SetSizeEditable(bool Value) { FSizeEditable = Value; }
    // A symbol that keeps its own gradient end colour (a callout's): editors offer the whole gradient.
    bool OwnGradientEnd() const { return FOwnGradientEnd; }

    // ---- Margins ----
    // When Visible and InflateMargins, each margin becomes at least HorizSize (VertSize) + 1.
    void WidenHorizMargins(int& Left, int& Right) const;
    void WidenVertMargins(int& Top, int& Bottom) const;

    // ---- Drawing ----
    // Selects the pen (in the point colour when its colour is clDefault; clear when invisible) and the
    // brush (see PointBrushColor) with the point colour as background.
    void PrepareCanvas(TLumCanvas& Canvas, TColor PointColor);
    // PrepareCanvas on the parent chart's canvas with the brush colour.
    void PrepareOwnCanvas();
    // The colour the brush fills a symbol of that point colour with.
    TColor PointBrushColor(TColor PointColor) const;
    // One symbol of half width H and half height V at (X, Y), at the series' depths when Is3D.
    void PaintSymbol(TCanvas3D& Canvas, bool Is3D, int X, int Y, int H, int V, TColor Color, TSeriesPointerStyle Style);
    // PaintSymbol on the parent chart's canvas with the chart's View3D and the pointer's sizes.
    void PaintOnChart(int X, int Y, TColor Color, TSeriesPointerStyle Style);
    // PaintOnChart with the brush colour and Style.
    void PaintAt(int X, int Y) { PaintOnChart(X, Y, GetBrushColor(), FStyle); }
    void PaintAtPoint(TPoint P) { PaintAt(P.x, P.y); }

    // The owner series' start, middle and end depth (0 without a series).
    int StartZ() const;
    int MiddleZ() const;
    int EndZ() const;

protected:
    // A series pointer's gradient ends in the point colour; a callout's keeps its own end colour.
    void SetOwnGradientEnd(bool Value) { FOwnGradientEnd = Value; }
    // Without repaint (constructors).
    void InitDraw3D(bool Value) { FDraw3D = Value; }
    template <class T>
    void Change(T& Field, T Value)
    {
        if (Field == Value) return;
        Field = Value;
        RepaintParent();
    }

private:
    static void CheckSize(int Value);
    void DrawStyle(TCanvas3D& Canvas, bool Is3D, const TRect& Box, TPoint Centre, TSeriesPointerStyle Style);
    void FillGradient(TCanvas3D& Canvas, bool Is3D, const TRect& Box, TPoint Centre, TColor Color,
                      TSeriesPointerStyle Style);
    bool DrawnAsSolid(bool Is3D, TSeriesPointerStyle Style) const;

    bool FDark3D = true;
    bool FDraw3D = true;
    std::unique_ptr<TLumGradient> FGradient;
    bool FInflateMargins = true;
    TChartSeries* FSeries;
    TSeriesPointerStyle FStyle = psRectangle;
    TLumTransparency FTransparency = 0;
    bool FOwnGradientEnd = false;
    bool FSizeEditable = true;
    int FVertSize = 4;
    int FHorizSize = 4;
};

// A connector from a point (the arrow start) to a label (the arrow end): a line or an arrow in the Arrow
// pen, with a flat pointer symbol at the arrow start.
class TCallout : public TSeriesPointer {
    VSP_PERSISTENT_CLASS
public:
    // Visible, flat, black brush, arrow head size 8.
    explicit TCallout(TChartSeries* Series);
    ~TCallout() override;

    // Distance, Arrow, ArrowHead, ArrowHeadSize, then the pointer's settings.
    void Assign(const TPersistent& Source) override;

    TWhitePen& Arrow() const { return *FArrow; }
    void SetArrow(const TChartPen& Value) { FArrow->Assign(Value); }
    TArrowHeadStyle ArrowHead() const { return FArrowHead; }
    void SetArrowHead(TArrowHeadStyle Value) { Change(FArrowHead, Value); }
    int ArrowHeadSize() const { return FArrowHeadSize; }
    void SetArrowHeadSize(int Value) { Change(FArrowHeadSize, Value); }
    int Distance() const { return FDistance; }
    void SetDistance(int Value) { Change(FDistance, Value); }

    // The line or arrow from ArrowEnd to ArrowStart at depth Z, then (without an arrow head) the symbol
    // at ArrowStart in the brush colour. The colour of the point the connector serves is not used here.
    void PaintConnector(TColor Color, TPoint ArrowStart, int Z, TPoint ArrowEnd);

private:
    std::unique_ptr<TWhitePen> FArrow;
    TArrowHeadStyle FArrowHead = ahNone;
    int FDistance = 0;
    int FArrowHeadSize = 8;
};

// The callout of series marks: hidden by default, a white arrow, and a Length by which marks float above
// their points.
class TMarksCallout : public TCallout {
    VSP_PERSISTENT_CLASS
public:
    explicit TMarksCallout(TChartSeries* Series);

    // Length, then the callout's settings.
    void Assign(const TPersistent& Source) override;

    int Length() const { return FLength; }
    // Through the owner series (repaint on a change).
    void SetLength(int Value);
    // Sets the length and the default it is streamed against.
    void InitLength(int Value) { FLength = FDefaultLength = Value; }
    bool LengthStored() const { return FLength != FDefaultLength; }

    // The mark's top and arrow end move up by Length + Distance, the arrow start by Distance.
    void ApplyToPosition(TSeriesMarkPosition& Position) const;

private:
    int FDefaultLength = 8;
    int FLength = 8;
};
