// Picking model elements under a cursor (sub-polygon, node, edge), node classes within a body, and the
// split of a body into connected groups of sub-polygons that every topology edit ends with.
#pragma once

#include "core/Polygons.h"

// Body and sub-polygon of a pick; -1 when none.
struct SubPolygonPick {
    int body = -1;
    int sub = -1;
};

// The nearest node of a pick and its distances.
struct NodePick {
    int node = -1;              // -1 only for an empty node array
    double distance = 1e30;     // in model units
    double pixelDistance = 1e30; // on screen
};

// The nearest edge of a pick. body, a and b are in-out: they keep the caller's values when no edge is
// taken (callers pass -1 in a).
struct EdgePick {
    int body = -1;
    int a = -1;
    int b = -1;
    double pixelDistance = 1e30; // screen distance to the edge (to the end node for an open-edge end pick)
    bool onEndNode = false;      // the point sits on an end node rather than along the edge
};

// The first sub-polygon (bodies, then sub-polygons, in index order; the host skipped) that holds P.
SubPolygonPick FindSubPolygonAt(const AllSpolygon& bodies, complexM p, const Tnodes& nodes);

// The node nearest to P on screen (sx, sz: pixels per model unit); ties go to the lower index.
NodePick NearestNode(complexM p, const Tnodes& nodes, double sx, double sz);

// The nearest edge of the whole model (edge rule, host included) to P on screen. Returns the end node
// within 2 pixels of P (the nearer one), or -1; fills `pick` when an edge was found.
int NearestEdge(complexM p, const Tnodes& nodes, const AllSpolygon& bodies, double sx, double sz, EdgePick& pick);
// The same over open edges only (both end nodes of NodeClass below 2), with a 7-pixel end-node radius;
// on an end node the reported distance is that to the node.
int NearestOpenEdge(complexM p, const Tnodes& nodes, const AllSpolygon& bodies, double sx, double sz,
                    EdgePick& pick);

// Class of node v within the body: 2 when every edge at v is used twice (or the body has no edge at v),
// else 1 when v holds more than one ring position of the body, else 0.
int ClassifyNode(int v, int body, const AllSpolygon& bodies, const Tnodes& nodes);

// Splits the body into groups of sub-polygons connected through shared nodes: group 0 (with
// sub-polygon 0) stays, every further group becomes a new body at the end. Renews NodeClass on every
// node of the body and the new bodies, and clears FrameCode on them unless the body is 0.
void SplitConnectedGroups(int body, AllSpolygon& bodies, Tnodes& nodes);

// Sets NodeClass of every node at a ring position of the body to ClassifyNode.
void ClassifyBodyNodes(int body, const AllSpolygon& bodies, Tnodes& nodes);
