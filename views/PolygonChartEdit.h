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

// Why a press of an edit mode was refused, and what to do then (status panel 5 shows it).
inline constexpr const char* RefusedPointOutsideBox =
    "Refused: the point lies outside the model box. Click inside the box, or press Esc.";
inline constexpr const char* RefusedPointCrosses =
    "Refused: the outline would cross itself or another body there. Place the point elsewhere, or press Esc.";
inline constexpr const char* RefusedClosingCrosses =
    "Refused: closed there, the outline would cross itself or another body. Close it elsewhere, or press Esc.";
inline constexpr const char* RefusedLineEnd =
    "Refused: the line must end on the outline of the body it started from. Right-click there, or press Esc.";
inline constexpr const char* RefusedSubPolygon =
    "Refused: the new sub-polygon would cross an outline. Start it again from the outline.";
inline constexpr const char* RefusedDivide =
    "Refused: the polygon cannot be divided along this line. Start again from its border.";
inline constexpr const char* RefusedUncoupleNode =
    "Refused: the node is not shared by two polygons. Choose a shared node.";
inline constexpr const char* RefusedDeleteNode =
    "Refused: a polygon keeps three nodes and the frame its corners; no edge may cross. Choose another node.";
inline constexpr const char* RefusedFixedNode = "Refused: the node is fixed. Free it in \"Fix node\" mode first.";
inline constexpr const char* RefusedFrameCorner = "Refused: this corner of the frame cannot move.";
inline constexpr const char* RefusedNodeOutsideBox =
    "Refused: the node would lie outside the model box. Place it elsewhere with a right click, or press Esc.";
inline constexpr const char* RefusedNodeCrosses =
    "Refused: the outline would cross itself. Place the node elsewhere with a right click, or press Esc.";
inline constexpr const char* RefusedCoupleFirst =
    "Refused: a fixed node or a node of the frame cannot be coupled. Choose another node.";
inline constexpr const char* RefusedCouple = "Refused: the nodes cannot be coupled there. Choose the first node again.";
inline constexpr const char* RefusedAddNode = "Refused: no node can be added there. Choose another place on the edge.";
inline constexpr const char* RefusedPolygonOutsideBox =
    "Refused: the polygon would leave the model box; it is back in its place. Drag it again.";
inline constexpr const char* RefusedPolygonCrosses =
    "Refused: the polygon would cross another outline; it is back in its place. Drag it again.";

// Strictly inside the box: a point on a side is outside.
bool StrictlyInsideBox(const TModelBox& box, complexM p);
// The point moved into the box (onto its sides when outside).
complexM ClampIntoBox(const TModelBox& box, complexM p);
// Whether every free node (frame code 0) of the list lies strictly inside the box.
bool FreeNodesInsideBox(const arofintM& list, const Tnodes& nodes, const TModelBox& box);
