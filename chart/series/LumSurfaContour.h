// The contour series: iso-lines of the height Y over the X-Z grid, one polyline set per level, found cell
// by cell (each cell cut into four triangles around its centre) and joined end to end; drawn flat in a
// 2-D chart (Z on the vertical axis) or at a height in 3-D; levels automatic or edited by hand.
#pragma once

#include "chart/series/LumSurfaGrid.h"
#include "platform/rtl/Collections.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class TContourSeries;

// A point of a level line in data units: X and Z of the grid.
struct TContourPoint {
    double X = 0;
    double Z = 0;
    bool operator==(const TContourPoint&) const = default;
};

// One polyline of a level.
struct TLevelSegment {
    std::vector<TContourPoint> Points;
};
using TLevelSegments = std::vector<TLevelSegment>;

// Collects the segments of one level into polylines: a segment extends the first polyline (in list
// order) one of whose ends lies within 0.001 (city-block) of one of its ends, and the new end may then
// merge that polyline with another whose end coincides within 0.001 per coordinate. The ends are kept in
// buckets of 0.002 units, so a segment looks only at the polylines near it.
class TContourJoiner {
public:
    static constexpr double Tolerance = 0.001;

    void AddSegment(const TContourPoint& P1, const TContourPoint& P2);
    // The polylines in list order.
    TLevelSegments TakeSegments();

private:
    struct TLine {
        std::deque<TContourPoint> Points;
        bool Alive = true;
    };
    enum TEnd { eFirst, eLast };
    struct TEndRef {
        int Line;
        TEnd End;
    };
    using TKey = std::uint64_t;

    static TKey KeyOf(long long BX, long long BZ);
    static long long Bucket(double V);
    const TContourPoint& EndPoint(int Line, TEnd End) const;
    void AddEnd(int Line, TEnd End);
    void RemoveEnd(int Line, TEnd End);
    // Calls Visit for every polyline end in the buckets within the tolerance of P (one to four).
    template <class F>
    void ForEndsNear(const TContourPoint& P, F&& Visit) const;
    void JoinEnds(int Line, TEnd End);

    // A deque: lines never move, so growing the list copies none of them.
    std::deque<TLine> FLines;
    std::unordered_map<TKey, std::vector<TEndRef>> FEnds;
};

class TContourLevel : public TCollectionItem {
    VSP_PERSISTENT_CLASS
public:
    explicit TContourLevel(TCollection* Collection);
    ~TContourLevel() override;

    // From another level Color, UpToValue and its own pen (or none).
    void Assign(const TPersistent& Source) override;

    TContourSeries* ParentSeries() const { return FSeries; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    double UpToValue() const { return FUpToValue; }
    void SetUpToValue(double Value);
    // The level's own pen, made on first read in the level's colour.
    TChartPen& Pen();
    bool HasOwnPen() const { return FPen != nullptr; }
    // Copied into the own pen; nullptr frees it.
    void SetPen(const TChartPen* Value);
    bool UsesSeriesPen() const { return !FPen; }
    // The pen the level is drawn with.
    const TChartPen& DrawPen() const;

    TLevelSegments& Segments() { return FSegments; }
    const TLevelSegments& Segments() const { return FSegments; }

private:
    void LevelEdited();

    TColor FColor = 0;
    std::unique_ptr<TChartPen> FPen;
    double FUpToValue = 0;
    TContourSeries* FSeries = nullptr;
    TLevelSegments FSegments;
};

class TContourLevels : public TCollection {
    VSP_PERSISTENT_CLASS
public:
    explicit TContourLevels(TContourSeries* Owner);
    // EListError outside 0..Count-1.
    TContourLevel& GetLevel(int Index) const { return *static_cast<TContourLevel*>(Items(Index)); }
    TContourLevel& AddLevel() { return *static_cast<TContourLevel*>(Add()); }
    // The first level one of whose lines passes within a pixel of (X, Y); -1 for none.
    int Clicked(int X, int Y) const;

private:
    TContourSeries* FSeries;
};

// Smoothing of the 2-D screen polylines through a cubic B-spline.
class TSmoothPoints : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    explicit TSmoothPoints(TContourSeries* Series) : FSeries(Series) {}
    // Copies Active only.
    void Assign(const TPersistent& Source) override;

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    bool Interpolate() const { return FInterpolate; }
    void SetInterpolate(bool Value);
    // Factor x count fragments (at most 600) through the points, rounded to pixels.
    std::vector<TPoint> SmoothPoints(const std::vector<TPoint>& Points) const;

private:
    bool FActive = false;
    TContourSeries* FSeries;
    bool FInterpolate = false;
    int FFactor = 4;
};

using TOnBeforeDrawLevelEvent = std::function<void(TContourSeries* Sender, int LevelIndex)>;
using TOnGetLevelEvent = std::function<void(TContourSeries* Sender, int LevelIndex, double& Value, TColor& Color)>;

class TContourSeries : public TCustom3DGridSeries {
    VSP_PERSISTENT_CLASS
public:
    explicit TContourSeries(TComponent* AOwner);
    ~TContourSeries() override;

    void Assign(const TPersistent& Source) override;
    std::string EditorFormName() const override { return "TContourSeriesEditor"; }

    bool AutomaticLevels() const { return FAutomaticLevels; }
    // On: the levels are cleared and rebuilt by the next paint.
    void SetAutomaticLevels(bool Value);
    // The field alone (a level edited by hand switches it off without a repaint).
    void DropAutomaticLevels() { FAutomaticLevels = false; }
    TContourLevels& Levels() const { return *FLevels; }
    void SetLevels(const TContourLevels& Value) { FLevels->Assign(Value); }
    // The stored count while levels are automatic, else the number of levels.
    int NumLevels() const;
    void SetNumLevels(int Value);
    TSmoothPoints& Smoothing() const { return *FSmoothing; }
    void SetSmoothing(const TSmoothPoints& Value) { FSmoothing->Assign(Value); }
    double YPosition() const { return FYPosition; }
    void SetYPosition(double Value) { SetFloatField(FYPosition, Value); }
    bool YPositionLevel() const { return FYPositionLevel; }
    void SetYPositionLevel(bool Value) { SetBooleanField(FYPositionLevel, Value); }
    bool ClearingLevels() const { return FClearingLevels; }

    TOnBeforeDrawLevelEvent OnBeforeDrawLevel;
    TOnGetLevelEvent OnGetLevel;

    void ClearLevels();
    // NumLevels levels from the lowest Y in steps of (highest - lowest) / NumLevels.
    void CreateAutoLevels();
    // The polylines of every level from the grid (what a paint draws); the levels' Segments hold them.
    void ContourLevels();

    // The pixel of the contour's Z: the depth axis in 3-D, the vertical axis in 2-D.
    int ZPixel(double Z) const;
    // The level's polyline in 2-D screen points.
    std::vector<TPoint> ScreenPolyline(const TLevelSegment& Segment) const;

    // ---- Series overrides ----
    void PrepareForDraw() override;
    void PaintAllPoints() override;
    void AddRandomSampleValues(int Count, bool AsValues) override;
    void PrepareForGallery(bool Coloured) override;
    void ListGalleryStyles(const TGalleryStyleCallback& Callback) const override;
    void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
    int LegendEntryCount() const override;
    TColor LegendColorOf(int Index) const override;
    std::string LegendTextOf(int LegendIndex, TLegendTextStyle Style) const override;
    double HighestY() override;
    double LowestY() override;
    // A level index (not a point index), or -1.
    int PointAtPixel(int X, int Y) const override;

private:
    // The level with index Index (as the legend counts from the top).
    int LegendLevel(int Index) const { return NumLevels() - 1 - Index; }
    void DrawLevels();

    bool FAutomaticLevels = true;
    std::unique_ptr<TContourLevels> FLevels;
    int FNumLevels = 10;
    std::unique_ptr<TSmoothPoints> FSmoothing;
    double FYPosition = 0;
    bool FYPositionLevel = false;
    bool FClearingLevels = false;
};

// The segment of the triangle (A, centre C, B) at a level, by the signs of its corner heights H (height
// minus level); false when the level does not cross it. Corners are (x, z) in data units.
bool ContourTriangleSegment(const TContourPoint& A, double HA, const TContourPoint& C, double HC, const TContourPoint& B,
                            double HB, TContourPoint& P1, TContourPoint& P2);
// Every segment of one cell: corners (xA, zA), (xB, zA), (xB, zB), (xA, zB) with heights Y1..Y4, at Level.
void ContourCell(double XA, double XB, double ZA, double ZB, const double Y[4], double Level,
                 const std::function<void(const TContourPoint&, const TContourPoint&)>& Segment);
