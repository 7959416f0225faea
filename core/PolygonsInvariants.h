// The invariants every edit of the polygon model keeps, checked as one routine, for tests and for callers
// that want to vet a model that came from elsewhere (a file, a chain of edits).
#pragma once

#include "core/Polygons.h"

#include <string>

// Empty when the model holds its invariants, else a short description of the first fault found:
// - a host body 0 whose sub-polygon 0 has the doubled ring: the outline once forward, then ring[0] again
//   and the frame nodes 0 .. K backward (a subsequence of the outline in reverse), with K >= 3 and the
//   corner nodes 0..3 coded 1, 2, 4, 5;
// - ring entries in range; every other ring of at least 3 positions, no position repeating its
//   neighbour (a node may recur further apart after a couple), and NodeRingOrientation false;
// - no empty body; each body connected through shared nodes; no node shared by two bodies; every node
//   used by some ring;
// - NodeClass equal to ClassifyNode for every used node; FrameCode 0 on every node of bodies other than 0.
std::string ModelInvariantFault(const AllSpolygon& bodies, const Tnodes& nodes);

// The host ring's part of the invariants: its doubled form, node 0 first, the second half 0, K .. 1 with
// K >= 3, an outline that lists no node twice and runs through 1 .. K in order. Empty when it holds.
std::string HostRingFault(const arofintM& ring);

// What the model operations cannot do without, and a model read from a file must therefore have: a host
// sub-polygon whose ring holds HostRingFault, ring entries within 0 .. nodeCount - 1, no body without a
// sub-polygon and no node in the rings of two bodies. Empty when it holds.
std::string ModelStructureFault(const AllSpolygon& bodies, int nodeCount);
