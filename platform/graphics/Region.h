// Regions: sets of device pixels built from rectangles, ellipses, rounded rectangles and polygons with the
// device's pixel rules (right and bottom edges excluded), combined with the five region modes. A region
// is a value (copying copies the pixels); an empty region is the null region. Qt-free.
#pragma once

#include "platform/graphics/GraphicsTypes.h"

#include <memory>
#include <vector>

class TRegion {
public:
    TRegion();                                           // null region
    ~TRegion();
    TRegion(const TRegion& o);
    TRegion& operator=(const TRegion& o);
    TRegion(TRegion&& o) noexcept;
    TRegion& operator=(TRegion&& o) noexcept;

    // Pixels x in [Left, Right), y in [Top, Bottom); reversed corners are ordered first.
    static TRegion FromRect(int left, int top, int right, int bottom);
    static TRegion FromRect(const TRect& r) { return FromRect(r.Left, r.Top, r.Right, r.Bottom); }
    // Pixels of the ellipse inscribed in the box, as a filled ellipse of that box covers them.
    static TRegion FromEllipse(int left, int top, int right, int bottom);
    // A rectangle with elliptic corners; the corner ellipses are w wide and h high (diameters).
    static TRegion FromRoundRect(int left, int top, int right, int bottom, int w, int h);
    // Pixels whose centres lie inside the polygon, with the fill mode ALTERNATE or WINDING.
    static TRegion FromPolygon(const TPoint* points, int count, int fillMode = ALTERNATE);
    static TRegion FromPolygon(const std::vector<TPoint>& points, int fillMode = ALTERNATE)
    {
        return FromPolygon(points.data(), static_cast<int>(points.size()), fillMode);
    }
    // The union of rectangles (each [Left, Right) x [Top, Bottom)).
    static TRegion FromRects(const std::vector<TRect>& rects);
    // The union of one-pixel-high runs given row by row from the top, left to right within a row, not
    // touching (as a scan of a picture yields them), built in one pass; other lists as FromRects.
    static TRegion FromRowRuns(const std::vector<TRect>& runs);

    // dest = a (mode) b; RGN_COPY copies a. Returns NULLREGION, SIMPLEREGION or COMPLEXREGION.
    static int Combine(TRegion& dest, const TRegion& a, const TRegion& b, int mode);
    int Combine(const TRegion& other, int mode) { return Combine(*this, *this, other, mode); }

    void Offset(int dx, int dy);
    bool IsEmpty() const;
    bool Contains(int x, int y) const;                   // PtInRegion
    bool IntersectsRect(const TRect& r) const;           // RectInRegion
    // Smallest rectangle holding the region (Right and Bottom exclusive); (0,0,0,0) when empty.
    TRect Bounds() const;
    // NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
    int Kind() const;
    // The region as disjoint rectangles, in rows from top to bottom.
    std::vector<TRect> Rects() const;

    bool operator==(const TRegion& o) const;             // EqualRgn

    struct Impl;
    Impl* GetImpl() const { return FImpl.get(); }

private:
    std::unique_ptr<Impl> FImpl;
};
