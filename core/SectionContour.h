// Contours of a triangulated section: rounded levels and the colour tables, the value nudge, the filled
// band polygons and the smoothed isolines, handed out as picture points with their colours for a canvas
// to draw. No GUI, no chart.
#pragma once

#include "core/SectionMesh.h"

#include <array>
#include <vector>

// One thing to draw in the section's picture: a polygon filled without outline, or a polyline.
struct TSectionShape {
    bool Filled = false;
    TColor Color = 0;
    struct TPixel {
        int X = 0, Y = 0;
        bool operator==(const TPixel&) const = default;
    };
    std::vector<TPixel> Points;
};
using TSectionPicture = std::vector<TSectionShape>;

// Levels (rounded, zero snapped), band and isoline colours, and the nudge of node values equal to a
// level. Nothing for a level count outside 1 ... 100 or a section of under three triangles or two nodes.
void UpdateLevels(TSectionData& s);

// Decimals of level i's label on the colour bar: from the spacing to the next lower level (the next
// higher one for the lowest; the whole range for a single level) and the level's magnitude; 0 for 0.
int LevelDecimals(const TSectionData& s, int i);

// Band polygons of triangle t (bands in the level table's order).
void FillTriangleBands(const TSectionData& s, int t, TSectionPicture& out);

// The smoothed boundary of `level` across triangle t from edge a to edge b, eight picture points (x, y).
std::array<complexM, 8> BandBoundaryCurve(const TSectionData& s, int t, int a, int b, double level);

// The isolines of every level in their colours (uses the triangles' Visited flags).
void DrawIsolines(TSectionData& s, TSectionPicture& out);

// One step of an isoline through triangle t entered over edge `entry`: appends the crossing on the exit
// edge and moves to the neighbour across it (true); false when the line ends at the border (the point is
// appended) or finds no way on (nothing appended).
bool TraceIsolineStep(TSectionData& s, int& t, int& entry, double level, arofcomplexM& points);

// The polyline, in picture coordinates, of a chain of crossings smoothed by quadratic pieces through
// their midpoints; open lines keep straight end pieces to their first and last crossings.
std::vector<complexM> DrawSmoothLine(const arofcomplexM& points, bool closed);

// The whole picture: bands, then isolines when shown. Empty without levels, with under three triangles,
// or when the working coordinates span no finite width or height.
TSectionPicture RenderSection(TSectionData& s);
