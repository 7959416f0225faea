// What the model chart needs around moves and redraws: the validity test after nodes were moved, the node
// sets that a move drags along, the body of a node, and the lists of chart shapes to redraw.
#pragma once

#include "core/Polygons.h"

// Checks of CheckMovedNodes.
enum MoveCheckMode : int {
    mcFull = 0,      // moved edges against the body's own edges and the open edges of other bodies
    mcOtherBodies = 1, // moved outline edges against the open edges of other bodies only
    // any other value: orientation and nesting only
};

// True when body `body` is still valid after the nodes of `moved` were moved: no non-host ring of it
// turned over (NodeRingOrientation true), no moved edge crosses what the mode tests, and the body is
// nested with no other body.
bool CheckMovedNodes(const arofintM& moved, int body, const AllSpolygon& bodies, int mode, const Tnodes& nodes);

// The distinct nodes of a body (all its rings) or of one sub-polygon, in ring order. With `skipLocked`,
// fixed nodes and frame nodes are left out. `moveFree` tells whether none of them is fixed or on the frame.
void CollectBodyNodes(bool skipLocked, int body, const AllSpolygon& bodies, arofintM& list, bool& moveFree,
                      const Tnodes& nodes);
void CollectSubPolygonNodes(bool skipLocked, int body, int sub, arofintM& list, bool& moveFree,
                            const Tnodes& nodes, const AllSpolygon& bodies);

// True and the first body whose rings hold the node; false (body unchanged) when no ring holds it.
bool FindBodyOfNode(int node, int& body, const AllSpolygon& bodies);

// Shape lists (cleared on entry): one entry per sub-polygon, its ShapeIndex, body and sub-polygon.
// CollectShapesOfNodes lists the sub-polygons of the body that use a node of `list`, one entry per
// ShapeIndex value; ListBodyShapes every sub-polygon of the body; ListSubPolygonShape the one.
void CollectShapesOfNodes(const arofintM& list, int body, const AllSpolygon& bodies, arofintM& shapes,
                          arofintM& shapeBodies, arofintM& shapeSubs);
void ListBodyShapes(int body, const AllSpolygon& bodies, arofintM& shapes, arofintM& shapeBodies,
                    arofintM& shapeSubs);
void ListSubPolygonShape(int body, int sub, const AllSpolygon& bodies, arofintM& shapes, arofintM& shapeBodies,
                         arofintM& shapeSubs);
