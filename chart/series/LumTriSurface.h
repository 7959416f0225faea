// The triangulated surface series: scattered points (X, Y, Z) triangulated in the X-Z plane (points
// added outward from the closest pair, each new triangle improved by Lawson's max-min angle exchanges)
// and drawn in 3-D, in list order or back to front, with the hull's border lines.
#pragma once

#include "chart/series/LumSurfa.h"

#include <memory>
#include <span>
#include <vector>

VSP_DECLARE_EXCEPTION(ETriSurfaceException, ChartException);

// One triangulation. Points are numbered 1..N: number k stands for point k (k < N) and number N for
// point 0, until a duplicate position is dropped and the last number moves into its gap (PointOf keeps
// the correspondence).
struct TTriangulation {
    // Three point numbers per triangle (triangle t, 1-based, at 3t - 3 .. 3t - 1).
    std::vector<int> Triangles;
    // First point, second point and triangle (1-based) per border line, counter-clockwise in X-Z.
    std::vector<int> Borders;
    // The point (0-based) a number stands for; entry 0 unused.
    std::vector<int> PointOf;

    int TriangleCount() const { return static_cast<int>(Triangles.size() / 3); }
    int BorderCount() const { return static_cast<int>(Borders.size() / 3); }
    // The point of vertex K (0..2) of triangle T (1-based).
    int TrianglePoint(int T, int K) const
    {
        return PointOf[static_cast<std::size_t>(Triangles[static_cast<std::size_t>(3 * (T - 1) + K)])];
    }
};

// The triangulation of the points (X[i], Z[i]); nothing for fewer than three distinct positions.
// Improve runs the exchange passes after each added point.
TTriangulation TriangulatePoints(std::span<const double> X, std::span<const double> Z, bool Improve = true);

// Lawson's test on the quadrilateral whose diagonal is P3-P4: true when the diagonal P1-P2 makes the
// smallest angle larger. Points are (x, z).
bool TriangleExchangeWanted(const double P1[2], const double P2[2], const double P3[2], const double P4[2]);

class TCustomTriSurfaceSeries : public TCustom3DPaletteSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TCustomTriSurfaceSeries(TComponent* AOwner);
    ~TCustomTriSurfaceSeries() override;

    // From another triangulated surface its border, exchange, hiding and transparency settings.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TTriSurfaceSeriesEditor"; }

    TChartHiddenPen& Border() const { return *FBorder; }
    void SetBorder(const TChartPen& Value) { FBorder->Assign(Value); }
    bool FastBrush() const { return FFastBrush; }
    void SetFastBrush(bool Value) { SetBooleanField(FFastBrush, Value); }
    // Triangles sorted by depth and drawn back to front.
    bool HideTriangles() const { return FHideTriangles; }
    void SetHideTriangles(bool Value) { SetBooleanField(FHideTriangles, Value); }
    int Transparency() const { return FTransparency; }
    void SetTransparency(int Value) { SetIntegerField(FTransparency, Value); }
    bool ImproveTriangles() const { return FImproveTriangles; }
    void SetImproveTriangles(bool Value) { FImproveTriangles = Value; }

    // The last triangulation (rebuilt before every paint).
    const TTriangulation& Triangulation() const { return FTriangulation; }
    bool TriangulationValid() const { return FValid; }
    int TriangleCount() const { return FTriangulation.TriangleCount(); }
    // Triangulates the points now (unchanged positions keep the last triangulation, which is the same).
    void Triangulate();
    // The triangles in the order the last hidden-triangle paint drew them (empty after a list-order paint).
    const std::vector<int>& DrawnOrder() const { return FDrawnOrder; }

    // ---- Series overrides ----
    void FireBeforeDrawValues() override;
    void PaintAllPoints() override;
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    void ClearPoints() override;
    // A triangle number (1-based), the nearest drawn first; -1 for none.
    int PointAtPixel(int X, int Y) const override;
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    void AddRandomSampleValues(int Count, bool AsValues) override;
    void PrepareForGallery(bool Coloured) override;
    int DefaultSampleCount() const override { return 15; }

private:
    // A triangle of the hidden-triangle paint: its number, colour and projected corners.
    struct TDrawnTriangle {
        int Number = 0;
        TColor Color = 0;
        TPoint Points[3];
    };
    TPoint3D VertexOf(int Triangle, int K) const;
    void PaintInListOrder();
    void PaintSorted();
    void PaintBorder();
    bool FarToNear() const;

    std::unique_ptr<TChartHiddenPen> FBorder;
    bool FFastBrush = false;
    bool FHideTriangles = true;
    int FTransparency = 0;
    bool FImproveTriangles = true;
    bool FValid = false;
    TTriangulation FTriangulation;
    // The positions and setting of the last triangulation.
    std::vector<double> FTriangulatedX, FTriangulatedZ;
    bool FTriangulatedImproved = true;
    std::vector<TDrawnTriangle> FSorted;
    std::vector<int> FDrawnOrder;
};

class TTriSurfaceSeries : public TCustomTriSurfaceSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TTriSurfaceSeries(TComponent* AOwner) : TCustomTriSurfaceSeries(AOwner) {}
};

void LumTriSurfaceInitialization();
void LumTriSurfaceFinalization();
