// Two 3-D series of the grid-series family: TVector3DSeries draws one arrow per point from (X, Y, Z) to
// (EndX, EndY, EndZ); TTowerSeries draws one 3-D shape per grid node rising from an origin height to the
// node's Y, sized in percent of the grid spacing.
#pragma once

#include "chart/series/LumSurfaGrid.h"

#include <array>
#include <memory>

class TVector3DSeries : public TCustom3DPaletteSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TVector3DSeries(TComponent* AOwner);
    ~TVector3DSeries() override;

    // From another vector series its arrow settings; then the palette base's copy.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TVectorSeriesEditor"; }

    // The sideways half-spread of an arrow head, in pixels.
    int ArrowHeight() const { return FArrowHeight; }
    void SetArrowHeight(int Value) { SetIntegerField(FArrowHeight, Value); }
    // The length of an arrow head back along the shaft, in pixels.
    int ArrowWidth() const { return FArrowWidth; }
    void SetArrowWidth(int Value) { SetIntegerField(FArrowWidth, Value); }
    // Colour clDefault: the point's colour.
    TChartHiddenPen& StartArrow() const { return *FStartArrow; }
    void SetStartArrow(const TChartPen& Value) { FStartArrow->Assign(Value); }
    TChartPen& EndArrow() const { return *FEndArrow; }
    void SetEndArrow(const TChartPen& Value) { FEndArrow->Assign(Value); }
    TChartValueList& EndXValues() const { return *FEndXValues; }
    void SetEndXValues(const TChartValueList& Value) { ReplaceValueListSettings(*FEndXValues, Value); }
    TChartValueList& EndYValues() const { return *FEndYValues; }
    void SetEndYValues(const TChartValueList& Value) { ReplaceValueListSettings(*FEndYValues, Value); }
    TChartValueList& EndZValues() const { return *FEndZValues; }
    void SetEndZValues(const TChartValueList& Value) { ReplaceValueListSettings(*FEndZValues, Value); }

    // The vector from (X0, Y0, Z0) to (X1, Y1, Z1); its index.
    int AddVector(double X0, double Y0, double Z0, double X1, double Y1, double Z1, const std::string& Label = {},
                  TColor Color = clDefault);

    // The three points of an arrow head at Tip for the vector's screen angle (radians, y up): the two
    // barbs and the tip between them.
    static std::array<TPoint, 3> ArrowHead(TPoint Tip, double Angle, int Width, int Height);

    // ---- Series overrides ----
    void PaintPoint(int Index) override;
    double HighestX() override;
    double HighestY() override;
    double HighestZ() override;
    double LowestX() override;
    double LowestY() override;
    double LowestZ() override;
    void AddRandomSampleValues(int Count, bool AsValues) override;
    bool AcceptsSource(const TChartSeries* Series) const override;
    int DefaultSampleCount() const override { return 250; }

private:
    int FArrowHeight = 4;
    int FArrowWidth = 4;
    std::unique_ptr<TChartHiddenPen> FStartArrow;
    std::unique_ptr<TChartPen> FEndArrow;
    TChartValueList* FEndXValues;
    TChartValueList* FEndYValues;
    TChartValueList* FEndZValues;
};

enum TTowerStyle { tsCube, tsRectangle, tsCover, tsCylinder, tsArrow, tsCone, tsPyramid, tsSlantCube };
inline const TEnumNames TowerStyleNames{"tsCube", "tsRectangle", "tsCover", "tsCylinder",
                                       "tsArrow", "tsCone", "tsPyramid", "tsSlantCube"};

class TTowerSeries : public TCustom3DGridSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TTowerSeries(TComponent* AOwner);

    // From another tower series its shape settings; then the grid base's copy.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TTowerSeriesEditor"; }

    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool Value) { SetBooleanField(FDark3D, Value); }
    double Origin() const { return FOrigin; }
    void SetOrigin(double Value) { SetFloatField(FOrigin, Value); }
    int PercentDepth() const { return FPercentDepth; }
    void SetPercentDepth(int Value) { SetIntegerField(FPercentDepth, Value); }
    int PercentWidth() const { return FPercentWidth; }
    void SetPercentWidth(int Value) { SetIntegerField(FPercentWidth, Value); }
    TTowerStyle TowerStyle() const { return FTowerStyle; }
    void SetTowerStyle(TTowerStyle Value);
    int Transparency() const { return FTransparency; }
    void SetTransparency(int Value) { SetIntegerField(FTransparency, Value); }
    bool UseOrigin() const { return FUseOrigin; }
    void SetUseOrigin(bool Value) { SetBooleanField(FUseOrigin, Value); }

    // The screen box of the tower of point Index: Left..Right, Top (the point's Y) and Base as drawn
    // (Rect put in vertical order), and the near and far depth.
    struct TTowerBox {
        TRect Rect;
        int Top = 0, Base = 0;
        int NearZ = 0, FarZ = 0;
    };
    TTowerBox TowerBox(int Index) const;

    // ---- Series overrides ----
    void PaintAllPoints() override;
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    // Only cover plates are hit; the first in column-then-row order, or -1.
    int PointAtPixel(int X, int Y) const override;
    double HighestX() override { return XValues().HighestValue() + 0.5; }
    double LowestX() override { return XValues().LowestValue() - 0.5; }
    double HighestZ() override { return ZValues().HighestValue() + 0.5; }
    double LowestZ() override { return ZValues().LowestValue() - 0.5; }
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    void PrepareForGallery(bool Coloured) override;

private:
    void PaintTower(int Index);

    bool FDark3D = true;
    double FOrigin = 0;
    int FPercentDepth = 100;
    int FPercentWidth = 100;
    TTowerStyle FTowerStyle = tsCube;
    int FTransparency = 0;
    bool FUseOrigin = false;
};
