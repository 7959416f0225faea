// The colour grid series: the grid as a flat map of cells in their points' colours, X on the horizontal
// axis and Z on the vertical one. A regular grid becomes one bitmap pixel per visible cell stretched over
// the cells; an irregular grid is filled cell by cell. Grid lines, a frame, and loading a picture.
#pragma once

#include "chart/series/LumSurfaGrid.h"
#include "platform/graphics/Bitmap.h"

#include <memory>

class TColorGridSeries : public TCustom3DGridSeries {
    VSP_PERSISTENT_CLASS
public:
    // A smoothed picture is made only up to this many pixels; larger ones are stretched plainly.
    static constexpr long long MaxSmoothPixels = 1LL << 25;

    explicit TColorGridSeries(TComponent* AOwner);
    ~TColorGridSeries() override;

    // From another colour grid CenteredPoints, SmoothBitmap and Frame; then the grid base's copy.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TColorGridEditor"; }

    bool CenteredPoints() const { return FCenteredPoints; }
    void SetCenteredPoints(bool Value) { SetBooleanField(FCenteredPoints, Value); }
    TChartHiddenPen& Frame() const { return *FFrame; }
    void SetFrame(const TChartPen& Value) { FFrame->Assign(Value); }
    bool SmoothBitmap() const { return FSmoothBitmap; }
    void SetSmoothBitmap(bool Value) { SetBooleanField(FSmoothBitmap, Value); }
    int XGridEvery() const { return FXGridEvery; }
    void SetXGridEvery(int Value) { SetIntegerField(FXGridEvery, Value); }
    int ZGridEvery() const { return FZGridEvery; }
    void SetZGridEvery(int Value) { SetIntegerField(FZGridEvery, Value); }

    // The low and high edge of the cell of grid value V.
    double CellLow(double V) const { return FCenteredPoints ? V - 0.5 : V; }
    double CellHigh(double V) const { return FCenteredPoints ? V + 0.5 : (IrregularGrid() ? V : V + 1); }

    // One point per pixel (column by column), coloured as the pixel; CenteredPoints on.
    void LoadFromGraphic(const TGraphic& Graphic);
    // The bitmap of the last regular paint (one pixel per visible cell).
    const TBitmap& CellBitmap() const { return *FBitmap; }

    // ---- Series overrides ----
    void PaintAllPoints() override;
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    void PrepareForGallery(bool Coloured) override;
    void SetParentView3D(bool Value) override;
    double HighestX() override { return CellHigh(XValues().HighestValue()); }
    double LowestX() override { return CellLow(XValues().LowestValue()); }
    double HighestZ() override { return CellHigh(ZValues().HighestValue()); }
    double LowestZ() override { return CellLow(ZValues().LowestValue()); }
    double HighestY() override { return HighestZ(); }
    double LowestY() override { return LowestZ(); }
    int PointAtPixel(int X, int Y) const override;

private:
    // The grid columns and rows whose cells overlap the axes' ranges, and their outer edges in pixels.
    struct TWindow {
        int Left = 0, Right = -1, Top = 0, Bottom = -1; // grid columns Left..Right, rows Top..Bottom
        TRect Pixels;                                   // normalised
        bool Empty() const { return Right < Left || Bottom < Top; }
    };
    // The grid value of a column or row (regular: from the index base; irregular: the sorted values).
    double ColumnValue(int Column) const;
    double RowValue(int Row) const;
    // The span of a column's or row's cell in data units.
    void CellSpan(bool Columns, int Index, double& Low, double& High) const;
    TWindow VisibleWindow() const;
    void DrawRegularPicture(const TWindow& Window);
    void DrawIrregularCells();
    void DrawGridLines(const TWindow& Window);
    void DrawFrame(const TWindow& Window);
    void DrawPicture(const TBitmap& Picture, const TRect& Rect);

    std::unique_ptr<TBitmap> FBitmap;
    bool FCenteredPoints = false;
    std::unique_ptr<TChartHiddenPen> FFrame;
    bool FSmoothBitmap = false;
    int FXGridEvery = 1;
    int FZGridEvery = 1;
};
