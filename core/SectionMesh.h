// The data of a contoured section (nodes, triangles, levels, range, picture geometry) and its mesh: the
// structured mesh of a grid of values, the incremental Delaunay triangulation of scattered nodes with its
// neighbour links, and the value range the contouring cuts into bands. No GUI, no chart.
#pragma once

#include "core/Supermath2d.h"
#include "platform/rtl/DynArray.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SystemColors.h"

#include <array>
#include <cstdint>
#include <string>

// One node of the section: its working coordinates (the axes' scales applied), its value, its place on
// the border and its source coordinates.
struct dVertex3d {
    double X = 0, Y = 0, Z = 0;
    std::int32_t Border = 0; // 1 on the section's border
    double OrigX = 0, OrigY = 0;
    std::string Text;
};

// One triangle of the mesh (entry 0 of the table is none). Edge e joins Vertex[e] and Vertex[(e + 1) % 3].
struct TSectionTriangle {
    std::array<std::int32_t, 3> Vertex{};
    std::array<std::int32_t, 3> Neighbour{};
    std::array<std::uint8_t, 3> NeighbourEdge{255, 255, 255};
    std::array<std::int32_t, 3> BorderEdge{};
    std::array<std::uint8_t, 3> Visited{};
};

// The triangulation's working limits: triangles alive at once, edges listed while one node goes in, and
// the nodes a grid keeps before its deepest levels are dropped.
inline constexpr int MaxWorkingTriangles = 16000;
inline constexpr int MaxInsertEdges = 48000;
inline constexpr int MaxGridNodes = 20000;
inline constexpr int MaxGridColumns = 10000;

// Everything of a section that its mesh and its contours read and write; the data view holds one.
struct TSectionData {
    // ---- Section ----
    DynArray<dVertex3d> FNodes;
    std::int32_t NodeEnd = 1; // one more than the number of nodes; 1 is the empty section
    DynArray<TSectionTriangle> FTriangles;
    std::int32_t FTriangleCount = 0;
    bool FGridInput = false;
    arofdoubleM FGridX, FGridDepths, FGridRelief;
    ararofdoubleM FGridValues;
    double FDepthStretch = 0;

    // ---- Levels and colours ----
    std::int32_t FLevelCount = 15;
    arofdoubleM FLevels;
    arofintM FBandColors, FLineColors;
    TColor FMinBandColor = clRed, FMaxBandColor = clBlue;
    std::array<TColor, 2> FMidBandColors{clYellow, clGreen};
    TColor FMinLineColor = clBlue, FMaxLineColor = clRed;
    bool FLogScale = false;
    bool FShowIsolines = true;
    bool FShowColorBar = true;

    // ---- Range ----
    double FDataMin = 0, FDataMax = 0;
    double FUserMin = MissingValue, FUserMax = MissingValue; // MissingValue: no user limits
    bool FUseUserLimits = false;
    double FRangeMin = 0, FRangeMax = 0;

    // ---- Picture geometry ----
    // Five times the screen, fixed by the view at construction.
    std::int32_t FPictureWidth = 0, FPictureHeight = 0;
    double FXMin = 0, FXMax = 0, FYMin = 0, FYMax = 0;
    double FXScale = 0, FYScale = 0;
};

// Raised when the triangulation would outgrow its working limits; the section is then left as it was.
class ESectionCapacity : public Exception {
public:
    ESectionCapacity() : Exception("Too many nodes for the section mesh.") {}
};

// The section's part of a rebuild: the grid's nodes and mesh with grid input, otherwise (three nodes or
// more) the triangulation and its links, or only the value range without mesh. True when the grid had to
// lose levels (the caller says "Very large nodes number!"). On ESectionCapacity nothing has changed.
bool RebuildSectionMesh(TSectionData& s, bool withMesh);

// Nodes and (with mesh) the two triangles per cell of a grid: columns X, depths D, values V[column][level],
// relief R (any length other than X's counts as zeros). True when levels were dropped to stay within
// MaxGridNodes.
bool BuildPseudoGrid(TSectionData& s, const arofdoubleM& X, const arofdoubleM& D, bool withMesh,
                     const ararofdoubleM& V, const arofdoubleM& R);

// Triangulates nodes 1 ... N (with mesh) and returns the triangle count, after the value range; without
// mesh only the value range. Needs N + 4 node entries (three auxiliary nodes follow the last). Raises
// ESectionCapacity, with the section unchanged, past the working limits.
int TriangulateNodes(TSectionData& s, int N, bool withMesh);

// Neighbours, their edges and the border flags of triangles 1 ... count: two triangles sharing an edge
// (either direction) are linked; where more than two share one, the last pair in table order wins.
void LinkTriangles(TSectionData& s, int count);

// Whether p lies in or on the circle through the three corners (the degenerate cases of a straight line
// decided as the triangulation needs).
bool InCircle(double xp, double yp, double x1, double y1, double x2, double y2, double x3, double y3);

// Data range of nodes 1 ... N, the user limits when usable, else the data range (written back into the
// user limits); a range of one value widened to value / 100 ... value * 100.
void UpdateValueRange(TSectionData& s, int N);

// Bounds of the working coordinates of the nodes and the picture's scales.
void UpdateGeometry(TSectionData& s);
// Whether the working coordinates span a finite, non-zero width and height (else no picture is drawn).
bool GeometryUsable(const TSectionData& s);

// Input checks and writing of the two feeders; each raises Exception saying why and changes nothing on
// bad input. SetNodes sizes the tables (nodes + 3 entries, every working triangle) and writes each node
// whole with X = OrigX, Y = OrigY; SetGrid stores the grid and turns grid input on.
void SetSectionNodes(TSectionData& s, const arofdoubleM& x, const arofdoubleM& y, const arofdoubleM& values,
                     const arofintM& border);
void SetSectionGrid(TSectionData& s, const arofdoubleM& columnX, const arofdoubleM& depths,
                    const ararofdoubleM& values, const arofdoubleM& relief, double depthStretch);
