// The map series: polygons on a chart, polygon i paired with point i of the series, which carries its Z,
// label, explicit colour and mark; a polygon is filled in its point's colour (by default the colour of its
// Z through the palette base's range or palette). Each polygon keeps its vertices in a hidden vertex
// series, with its own pen, brush, optional gradient and transparency.
#pragma once

#include "chart/series/LumSurfa.h"
#include "platform/rtl/Collections.h"

#include <memory>
#include <string>
#include <vector>

class TLumPolygon;
class TMapSeries;

// The hidden series of one polygon's vertices (x in XValues, y in YValues, in insertion order); it has
// no owner and no chart of its own.
class TPolygonSeries : public TChartSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TPolygonSeries(TComponent* AOwner);

    // The polygon it belongs to; none once the polygon lets it go.
    TLumPolygon* Polygon() const { return FPolygon; }

    // The map's chart repaints.
    void SetActive(bool Value) override;
    // The polygon's visible gradient, else the plain shape.
    void PaintLegendShape(int Index, const TRect& Rect) override;
    // Vertex changes repaint the map.
    void NotifyDependents(int Kind, int Index) override;
    // The canvas brush takes the polygon's colour (the map's palette made first).
    void LegendSymbolStyle(int Index, TColor& BackColor, TBrushStyle& Style) override;
    // Without a chart the colour becomes the map point's explicit colour.
    void SetSeriesColor(TColor Value) override;
    void FillSampleValues(int) override {}

private:
    friend class TLumPolygon;
    TLumPolygon* FPolygon = nullptr;
};

class TLumPolygon : public TCollectionItem {
    VSP_PERSISTENT_CLASS
public:
    // Joins the collection (of a map series) and appends the map's point for it.
    explicit TLumPolygon(TCollection* Collection);
    ~TLumPolygon() override;

    TMapSeries* ParentSeries() const { return FParentSeries; }
    TPolygonSeries& VertexSeries() const { return *FVertexSeries; }
    std::string DisplayName() const override;

    // Appends a vertex (in axis units); its index.
    int AddVertex(double X, double Y);
    // The vertices in pixels through the map series' axes (kept until the next call).
    const TPointArray& CalcScreenPoints();
    const TPointArray& ScreenPoints() const { return FScreenPoints; }
    // The screen points' bounding rectangle, right and bottom included; (0, 0, 0, 0) without vertices.
    TRect ScreenBounds();
    // False only when the chart clips points and the vertices' box lies wholly outside the chart rectangle.
    bool IsInChartRect() const;
    // Draws the polygon in the colour of map point ValueIndex.
    void Draw(TCanvas3D& Canvas, int ValueIndex);

    // ---- Properties ----
    TChartBrush& Brush() const { return FVertexSeries->Brush(); }
    void SetBrush(const TChartBrush& Value) { FVertexSeries->SetBrush(Value); }
    TChartPen& Pen() const { return FVertexSeries->Pen(); }
    void SetPen(const TChartPen& Value) { FVertexSeries->SetPen(Value); }
    // True: a filled polygon; False: an open polyline.
    bool Closed() const { return FClosed; }
    void SetClosed(bool Value);
    // The map point's colour; writing it stores the point's explicit colour.
    TColor Color() const;
    void SetColor(TColor Value);
    // Made on first read.
    TLumGradient& Gradient() const;
    bool HasGradient() const { return FGradient != nullptr; }
    // Copied in; nullptr frees the gradient.
    void SetGradient(const TLumGradient* Value);
    // True: filled with the map's brush (still in the point's colour), outlined with the map's pen.
    bool ParentBrush() const { return FParentBrush; }
    void SetParentBrush(bool Value);
    bool ParentPen() const { return FParentPen; }
    void SetParentPen(bool Value);
    // The map point's label.
    std::string Text() const;
    void SetText(const std::string& Value);
    int Transparency() const { return FTransparency; }
    void SetTransparency(int Value);
    // The map point's Z, written in place (no reordering).
    double Z() const;
    void SetZ(double Value);

private:
    void InvalidateMap() const;

    TMapSeries* FParentSeries = nullptr;
    std::unique_ptr<TPolygonSeries> FVertexSeries;
    mutable std::unique_ptr<TLumGradient> FGradient;
    bool FClosed = true;
    TLumTransparency FTransparency = 0;
    bool FParentBrush = false;
    bool FParentPen = false;
    TPointArray FScreenPoints;
};

// The polygons of a map series. Freeing a polygon through the list (Delete, Clear, Free, assigning an
// empty list) takes its point with it; moving one (Index, Exchange) moves its point.
class TLumPolygonList : public TCollection {
    VSP_PERSISTENT_CLASS
public:
    explicit TLumPolygonList(TMapSeries* Owner);

    TMapSeries* Series() const { return FSeries; }
    // A new polygon at the end (and the map point for it).
    TLumPolygon* AddPolygon();
    // EListError outside 0..Count-1.
    TLumPolygon* GetPolygon(int Index) const { return static_cast<TLumPolygon*>(Items(Index)); }
    // Frees Count polygons from Start on.
    void DeleteRange(int Start, int Count);

protected:
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override;
    void ItemMoved(TCollectionItem* Item, int FromIndex, int ToIndex) override;
    void ItemsExchanged(int Index1, int Index2) override;

private:
    TMapSeries* FSeries;
};

class TMapSeries : public TCustom3DPaletteSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TMapSeries(TComponent* AOwner);
    ~TMapSeries() override;

    // The palette base's copy (settings and points), then one polygon per source polygon with its
    // vertices and settings, each paired with the copied point of the same index.
    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TMapSeriesEditor"; }

    TLumPolygonList& Shapes() const { return *FShapes; }
    void SetShapes(const TLumPolygonList& Value) { FShapes->Assign(Value); }

    void HorizMargins(int& Left, int& Right) override;
    void VertMargins(int& Top, int& Bottom) override;
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    // 2-D: in point order; 3-D: far (larger Z) to near.
    void PaintAllPoints() override;
    void PaintPoint(int Index) override;
    // The mark sits on the polygon: its box centre, or for a polygon that does not hold that centre the
    // point three averaging passes over its edges find.
    void PaintMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
    // Points and polygons go together.
    void ClearPoints() override;
    void DeletePoint(int Index) override;
    void DeletePointRange(int Start, int Quantity, bool Renumber = false) override;
    void SwapValueIndex(int I, int J) override;
    // Over the polygons' vertices; 0 without polygons.
    double HighestX() override;
    double HighestY() override;
    double LowestX() override;
    double LowestY() override;
    // The last polygon (highest index) holding the pixel; -1 when none or without a chart.
    int PointAtPixel(int X, int Y) const override;
    // Sample shapes "A" to "L".
    void AddRandomSampleValues(int Count, bool AsValues) override;
    int DefaultSampleCount() const override { return 12; }
    void SetParentView3D(bool Value) override;
    void PrepareForGallery(bool Enabled) override;

private:
    friend class TLumPolygon;
    friend class TLumPolygonList;
    void PaintSortedByZ();
    void AddSampleShape(int Shape);
    double VertexExtreme(double (TChartSeries::*Of)());

    std::unique_ptr<TLumPolygonList> FShapes;
    std::vector<TLumPolygon*> FSortedShapes;
    // Above 0 while the series removes or moves points itself: the polygons follow without touching the
    // points again.
    int FPairing = 0;
    // Set while Assign creates polygons for points that exist already.
    bool FAdoptPoints = false;
    bool FDestroying = false;
};
