// The shape series: one geometric shape (box, ellipse, lines, triangles, diamond, cube, crosses, star,
// pyramids) between its two points, read as axis values, pixels or an axis origin with a pixel size,
// filled, outlined and with lines of text inside. Qt-free.
#pragma once

#include "chart/engine/LumEngine.h"
#include "platform/controls/Edit.h"
#include "platform/rtl/StringList.h"

#include <memory>

enum TChartShapeStyle {
    chasRectangle, chasCircle, chasVertLine, chasHorizLine, chasTriangle, chasInvertTriangle, chasLine,
    chasDiamond, chasCube, chasCross, chasDiagCross, chasStar, chasPyramid, chasInvertPyramid
};
inline const TEnumNames ChartShapeStyleNames{"chasRectangle", "chasCircle",        "chasVertLine", "chasHorizLine",
                                             "chasTriangle",  "chasInvertTriangle", "chasLine",    "chasDiamond",
                                             "chasCube",      "chasCross",          "chasDiagCross", "chasStar",
                                             "chasPyramid",   "chasInvertPyramid"};

// How the two points are read: four pixels, two axis points, or an axis point with a pixel width and height.
enum TChartShapeXYStyle { xysPixels, xysAxis, xysAxisOrigin };
inline const TEnumNames ChartShapeXYStyleNames{"xysPixels", "xysAxis", "xysAxisOrigin"};

enum TLumVertAlign { vaTop, vaCenter, vaBottom };
inline const TEnumNames LumVertAlignNames{"vaTop", "vaCenter", "vaBottom"};

class TChartShape : public TChartSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TChartShape(TComponent* AOwner);
    ~TChartShape() override;

    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TChartShapeEditor"; }

    // The shape's rectangle in pixels, corners as the points give them (not sorted).
    virtual TRect ShapeBounds() const;

    TChartShapeStyle Style() const { return FStyle; }
    void SetStyle(TChartShapeStyle Value);
    TChartShapeXYStyle XYStyle() const { return FXYStyle; }
    void SetXYStyle(TChartShapeXYStyle Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TLumVertAlign VertAlign() const { return FVertAlign; }
    void SetVertAlign(TLumVertAlign Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { SetBooleanField(FTransparent, Value); }
    bool RoundRectangle() const { return FRoundRectangle; }
    void SetRoundRectangle(bool Value) { SetBooleanField(FRoundRectangle, Value); }
    TLumFont& Font() const { return *FFont; }
    void SetFont(const TLumFont& Value) { FFont->Assign(Value); }
    TLumGradient& Gradient() const { return *FGradient; }
    void SetGradient(const TLumGradient& Value) { FGradient->Assign(Value); }
    TStringList& Text() const { return *FText; }
    void SetText(const TStringList& Value);

    // The corners: X and Y of points 0 and 1; ERangeError while the point is missing.
    double X0() const { return XValues().ValueAt(0); }
    double Y0() const { return YValues().ValueAt(0); }
    double X1() const { return XValues().ValueAt(1); }
    double Y1() const { return YValues().ValueAt(1); }
    void SetX0(double Value) { SetCorner(XValues(), 0, Value); }
    void SetY0(double Value) { SetCorner(YValues(), 0, Value); }
    void SetX1(double Value) { SetCorner(XValues(), 1, Value); }
    void SetY1(double Value) { SetCorner(YValues(), 1, Value); }

    void ComputeZOrder() override;
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void PaintLegendShape(int Index, const TRect& Rect) override;
    void PaintPoint(int Index) override;
    bool SharesDepthWithOther() const override { return false; }
    void SetSeriesColor(TColor Value) override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    int PointAtPixel(int X, int Y) const override;
    bool UsesAxes() const override { return FXYStyle != xysPixels; }
    void AddRandomSampleValues(int Count, bool AsValues) override;
    void PrepareForGallery(bool Coloured) override;
    bool AcceptsSource(const TChartSeries* Series) const override;

private:
    void SetCorner(TChartValueList& List, int Index, double Value);
    // The shape of the current style in Rect (sorted); with Is3D at the series' depths.
    void DrawShape(bool Is3D, const TRect& Rect);
    // Fills Rect with the gradient when it shows and leaves the brush clear.
    void GradientStep(bool Is3D, const TRect& Rect);
    void DrawText(const TRect& Rect);

    TChartShapeStyle FStyle = chasCircle;
    TChartShapeXYStyle FXYStyle = xysAxis;
    TAlignment FAlignment = taCenter;
    TLumVertAlign FVertAlign = vaCenter;
    bool FTransparent = false;
    bool FRoundRectangle = false;
    std::unique_ptr<TLumFont> FFont;
    std::unique_ptr<TLumGradient> FGradient;
    std::unique_ptr<TStringList> FText;
};

void LumShapeInitialization();
