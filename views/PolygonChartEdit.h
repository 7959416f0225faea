// The model view's thirteen edit modes apart from any chart: their numbers, the screen radii of their
// picks, and the box tests the edits make. The chart (PolygonChart.h) drives the modes with the mouse
// through the core's model operations.
#pragma once

#include "core/Polygons.h"

enum TPolygonEditMode : int {
    emNone = -1,
    emAddPolygon = 0,
    emAddSubPolygon = 1,
    emDividePolygon = 2,
    emUncoupleNodes = 3,
    emDeleteNode = 4,
    emMoveNode = 5,
    emCoupleNodes = 6,
    emAddNode = 7,
    emDeleteSubPolygon = 8,
    emUncoupleSubPolygon = 9,
    emMovePolygon = 10,
    emMoveSubPolygon = 11,
    emFixNode = 12,
};
inline constexpr int EditModeCount = 13;

// Screen radii of the picks, in pixels. A node or edge is taken when it lies nearer than its radius; the
// single-node hovers of modes 3, 4, 5 and 12 also take a node exactly HoverNodePixels away.
inline constexpr double HoverNodePixels = 7;     // modes 3, 4, 5, 6 (hover) and 12
inline constexpr double FirstPickPixels = 5;     // the first pick of modes 1 (edge) and 6 (node)
inline constexpr double SecondPickPixels = 3;    // the second pick of modes 1 and 6, both picks of mode 2
inline constexpr double AddNodeEdgePixels = 4;   // the hovered edge of mode 7
inline constexpr double CoupleTargetPixels = 3;  // the edge a couple onto no node inserts its target on

inline bool PickedWithin(double pixels, double radius) { return pixels < radius; }
inline bool HoveredNode(double pixels) { return pixels <= HoverNodePixels; }

// Strictly inside the box: a point on a side is outside.
bool StrictlyInsideBox(const TModelBox& box, complexM p);
// The point moved into the box (onto its sides when outside).
complexM ClampIntoBox(const TModelBox& box, complexM p);
// Whether every free node (frame code 0) of the list lies strictly inside the box.
bool FreeNodesInsideBox(const arofintM& list, const Tnodes& nodes, const TModelBox& box);
