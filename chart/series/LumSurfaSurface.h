// The surface and water-fall series: the grid drawn in 3-D as quadrilateral cells painted back to front,
// each in the palette colour of one corner, or as a wire frame or dots, with side walls; the water fall
// draws every grid row as a curtain down to the bottom of the vertical axis.
#pragma once

#include "chart/series/LumSurfaGrid.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

class TSurfaceSeries : public TCustom3DGridSeries {
    VSP_PERSISTENT_CLASS
public:
    // The loop bounds of the cell walk: rows First..Stop (exclusive) by Step, columns likewise.
    struct TCellOrder {
        int FirstRow = 0, StopRow = 0, RowStep = 1;
        int FirstColumn = 0, StopColumn = 0, ColumnStep = 1;
        int XStep = 1, ZStep = 1; // from a cell's first corner to its neighbour column and row
    };

    explicit TSurfaceSeries(TComponent* AOwner);
    ~TSurfaceSeries() override;

    // From another surface its drawing settings; WaterFall follows this series' class.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TSurfaceSeriesEditor"; }

    bool DotFrame() const { return FDotFrame; }
    // Either frame mode on switches the other off and shows the series pen.
    void SetDotFrame(bool Value);
    bool WireFrame() const { return FWireFrame; }
    void SetWireFrame(bool Value);
    bool FastBrush() const { return FFastBrush; }
    void SetFastBrush(bool Value) { SetBooleanField(FFastBrush, Value); }
    TChartBrush& SideBrush() const { return *FSideBrush; }
    void SetSideBrush(const TChartBrush& Value) { FSideBrush->Assign(Value); }
    TChartHiddenPen& SideLines() const { return *FSideLines; }
    void SetSideLines(const TChartPen& Value) { FSideLines->Assign(Value); }
    bool SmoothPalette() const { return FSmoothPalette; }
    void SetSmoothPalette(bool Value) { SetBooleanField(FSmoothPalette, Value); }
    int Transparency() const { return FTransparency; }
    void SetTransparency(int Value) { SetIntegerField(FTransparency, Value); }
    bool WaterFall() const { return FWaterFall; }
    void SetWaterFall(bool Value) { SetBooleanField(FWaterFall, Value); }
    TChartPen& WaterLines() const { return *FWaterLines; }
    void SetWaterLines(const TChartPen& Value) { FWaterLines->Assign(Value); }

    // The walk's bounds for the current view, farthest cell first; CellDrawOrder also sets XStep and ZStep.
    TCellOrder CellOrder() const;
    TCellOrder CellDrawOrder();
    // The columns First..Stop (exclusive) by Step in the order a centred perspective paints them: from
    // both ends alternately, the nearest (middle) last.
    static std::vector<int> CentredColumns(int First, int Stop, int Step);
    // The columns of one paint in their order.
    std::vector<int> ColumnWalk(const TCellOrder& Order) const;

    // ---- Series overrides ----
    void PaintAllPoints() override;
    // One cell (surface) or one row strip (water fall) through the current XStep and ZStep.
    virtual void PaintCell(int X, int Z);
    // The first corner of the nearest cell under the pixel, or -1.
    int PointAtPixel(int X, int Y) const override;
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    void PrepareForGallery(bool Coloured) override;

private:
    // The per-paint state: projection routines' axes, brush and blend decisions.
    struct TPaintState {
        const TChartAxis* Horiz = nullptr;
        const TChartAxis* Vert = nullptr;
        const TChartAxis* Depth = nullptr;
        bool SameBrush = false;
        bool FastBrushActive = false;
        std::unique_ptr<TLumBlend> Blend;
    };
    TPoint CornerPoint(int Index) const;
    int CornerDepth(int Index) const;
    // The cell's colour corner for the current steps.
    int ColourCorner() const;
    void FillWithBlend(const std::array<TPoint, 4>& Projected, const std::function<void()>& Fill);
    void PaintDots(int Depth0, int Depth2);
    void PaintSides(bool FrontPass);
    void PaintOnRenderer();

    bool FDotFrame = false;
    bool FFastBrush = false;
    std::unique_ptr<TChartBrush> FSideBrush;
    std::unique_ptr<TChartHiddenPen> FSideLines;
    bool FSmoothPalette = false;
    int FTransparency = 0;
    bool FWaterFall = false;
    std::unique_ptr<TChartPen> FWaterLines;
    bool FWireFrame = false;
    TPaintState FPaint;
    TPoint FCellPoint[4];
};

class TWaterFallSeries : public TSurfaceSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TWaterFallSeries(TComponent* AOwner);

    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TWaterFallEditor"; }
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    void SetParentView3D(bool Value) override;
};
