// Boundary discretisation of the polygon model for the solver: every edge refined into elements whose
// size grows with depth below the relief, and the model frame pushed far outwards with graded elements
// joining it to the model box.
#pragma once

#include "core/Polygons.h"

// 3^7 H, how far the frame is pushed outwards (1093.5 ScaleLength for H = ScaleLength / 2).
double FrameOffset(double H);

// A frame node's x moved outwards: minus `offset` for frame codes 1 and 2, plus for 4 and 5.
double FrameNodeX(const Tnodes& nodes, int index, double offset);
// A frame node's z moved outwards: plus `offset` for frame codes 2, 3 and 4.
double FrameNodeZ(const Tnodes& nodes, int index, double offset);

// The interior points of the edge (x1, z1) -> (x2, z2), in order from the first end, ends excluded. The
// walk starts at the shallower end; d is the depth below the model's relief (z without one). An edge at
// nearly constant depth is cut into round(length / (FactorX d + StartStepX)) equal parts; otherwise
// points follow at steps mixing hx = FactorX d + StartStepX (Exponent: StartStepX exp(FactorX d)) and
// hz = FactorZ d + StartStepZ by the edge's direction, the last one dropped when it lies too close to the
// far end. A step that is not finite and positive becomes MinStep; an edge of zero or non-finite length
// gets no points, and no edge gets more than MaxEdgePoints.
inline constexpr int MaxEdgePoints = 100000;
arofcomplexM DivideEdge(const TPolygonModel& model, bool Exponent, double x1, double z1, double x2, double z2,
                        double FactorX, double StartStepX, double FactorZ, double StartStepZ, double MinStep);

// Refines `bodies` and `nodes`, which must be deep copies of the model's own, for one solver run:
// 1. with a relief the host ring becomes the ground line, node 3, the surface from right to left, node 0,
//    an open line; without one the host ring takes no part;
// 2. every edge from a side of the model box into it gets a copy of its side node, which stays;
// 3. frame nodes move out by FrameOffset(H) (their unmoved position kept in WorkX, WorkZ);
// 4. edges inside the box are divided by DivideEdge, edges from the box out to a moved node get seven
//    points at 3^i H (i = 0..6) from the box side, edges outside get none.
// New nodes are appended (x and z set, every other field 0) and inserted, in their order along the edge,
// into every ring holding the edge; bodies, sub-polygons and the model's node indexes stay. The element
// sizes: StartStepX = StartX ScaleLength / 3, StartStepZ = StartZ ScaleLength / 10, H = ScaleLength / 2;
// steps that are not finite and positive become 1e-3 ScaleLength.
void DiscretizeBoundary(const TPolygonModel& model, bool Exponent, AllSpolygon& bodies, double H, double FactorX,
                        double StartStepX, double FactorZ, double StartStepZ, Tnodes& nodes);
