// The model frame: the host sub-polygon (the model box with the relief on top), the frame codes of nodes,
// moving and rebuilding the frame for a new box, constraining dragged frame nodes, and keeping the surface
// runs of the host and its layers in order. A relief is a profile of (x, depth below its highest point)
// in increasing x.
#pragma once

#include "core/Polygons.h"

// Frame codes of TNode::FrameCode.
enum FrameCodeValue : int {
    fcFree = 0,
    fcLeft = 1,
    fcBottomLeft = 2,
    fcBottom = 3,
    fcBottomRight = 4,
    fcRight = 5,
    fcSurface = 6,
};

// Extent of the free nodes (FrameCode 0); 1e30, -1e30, -1e30 when there is none.
struct NodesExtent {
    double minX = 1e30;
    double maxX = -1e30;
    double maxZ = -1e30;
};

// Makes the frame nodes into `nodes` (0 top-left, 1 bottom-left, 2 bottom-right, 3 top-right, then with a
// relief its points strictly inside the box from right to left, on the relief) and into `host` the one
// host sub-polygon with the doubled ring 0, 1, ..., N-1, 0, N-1, ..., 1. Returns N. Without a relief (or
// with none reaching the box) the top corners lie at the box top.
int BuildFramePolygon(Tnodes& nodes, SPolygon& host, const arofcomplexM& relief, bool hasRelief,
                      const TModelBox& box);

// The frame code that the node's position implies (tolerance 1e-5): the box sides and bottom by position,
// 6 for a node on (or within 1e-5 of a node of) the host ring, else 0. The box top is not used. Frame
// codes belong to body 0: a node that no ring of body 0 holds gets 0 wherever it lies.
int FrameSideCode(int node, const AllSpolygon& bodies, const Tnodes& nodes, const TModelBox& box);

// Moves the side and bottom frame nodes onto the box by their codes; surface and free nodes stay.
void MoveFrameNodes(Tnodes& nodes, const TModelBox& box);

NodesExtent FreeNodesExtent(const Tnodes& nodes);

// With a relief, rebuilds the frame for `newBox`: new frame nodes first, every node added to the frame
// or used by the model kept (its index shifted by the change in frame-node count), layers made to follow
// the new surface. Without a relief nothing happens (MoveFrameNodes alone adapts the frame).
void RebuildFrame(const arofcomplexM& relief, bool hasRelief, AllSpolygon& bodies, Tnodes& nodes,
                  const TModelBox& newBox, const TModelBox& oldBox);

// Clamps a proposed position (x, z) of a dragged frame node into the box and onto its side, bottom or
// surface. False for nodes built with the frame, bottom corners and free nodes; true otherwise.
bool ConstrainFrameNodeMove(int node, const arofcomplexM& relief, bool hasRelief, const Tnodes& nodes,
                            const AllSpolygon& bodies, double& z, double& x, const TModelBox& box);

// After the surface node moved (FrameCode 6, relief in use): re-sorts the host surface run from right to
// left and rebuilds the surface run of every layer of body 0 that uses the node from the host surface
// nodes lying between the run's two ends; then renews the node classes of body 0.
void AdjustSurfaceNode(int node, bool hasRelief, AllSpolygon& bodies, Tnodes& nodes);
