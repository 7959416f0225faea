// Plane geometry of the polygon model: segment crossing, point in polygon, ring orientation, screen
// distances and angles, snapping, the edge rule of rings, and the model-level crossing and nesting tests.
// Nothing here changes the model.
#pragma once

#include "core/Polygons.h"

// ---- Points and edges of rings ----

// Position of node `index` as an (x, z) point.
complexM NodePoint(const Tnodes& nodes, int index);

// Number of leading ring positions whose edges count: the whole ring, except for the host sub-polygon
// (body 0, sub-polygon 0), whose doubled ring counts only up to the second occurrence of ring[0]. The
// edge at position k joins ring[k] and ring[(k + 1) % count].
int EdgePositionCount(const AllSpolygon& bodies, int body, int sub);
// The same count for a host ring given alone: the position of the second occurrence of ring[0]
// (scanning from position 1), or the ring's length when there is none.
int HostHalfLength(const arofintM& ring);

// ---- Primitives ----

// True when segment AB crosses segment CD. Segments sharing an end point (equal coordinates) never cross;
// a point exactly on the other segment's line counts as lying on its greater-or-equal side.
bool SegmentsIntersect(complexM a, complexM b, complexM c, complexM d);
bool NodeSegmentsIntersect(int a, int b, int c, int d, const Tnodes& nodes);

// Even-odd test with a ray toward +x. A point within 1e-10 of a vertex is outside; an empty ring holds
// nothing; a ring that runs its outline forth and back (the host ring) holds nothing.
bool PointInPolygon(complexM p, const arofcomplexM& ring);
bool PointInNodeRing(complexM p, const arofintM& ring, const Tnodes& nodes);

// Orientation flag of a ring: false when the corners whose centroids lie inside have positive signed
// area in the (x, z) frame (counter-clockwise with z taken upward), true otherwise, degenerate rings
// included. Rings of the model are kept with this flag false.
bool RingOrientation(const arofcomplexM& ring);
bool NodeRingOrientation(const arofintM& ring, const Tnodes& nodes);
// Reverses the ring when RingOrientation is true, so that it reports false afterwards.
void OrientRing(arofcomplexM& ring);

// Screen distance (sx, sz: pixels per model unit) from P to the segment AB; A = B gives the distance to A.
double SegmentPixelDistance(double sx, double sz, complexM a, complexM b, complexM p);
// Unsigned angle between two vectors in degrees, 0..180; 180 when either is of zero length.
double AngleBetween(complexM u, complexM v);
// Moves P onto the line AB along one axis: z is recomputed when AB is longer on screen along x,
// otherwise x (x of A when the segment is horizontal).
void SnapToSegment(complexM& p, complexM a, complexM b, double sx, double sz);

// ---- Model tests (an open edge joins two nodes of NodeClass below 2) ----

// True when the segment from p[n-1] to P crosses one of p[i]-p[i+1], i = 0..n-2 (n = p.High()).
bool NewSegmentCrossesPolyline(complexM p, const arofcomplexM& points);
// True when AB crosses an open edge of any sub-polygon of the body (edge rule).
bool SegmentCrossesBodyEdges(complexM a, complexM b, int body, const Tnodes& nodes,
                             const AllSpolygon& bodies);
// SegmentCrossesBodyEdges for every body except `skippedBody` (-1: none).
bool SegmentCrossesOtherBodies(complexM a, complexM b, int skippedBody, const Tnodes& nodes,
                               const AllSpolygon& bodies);
// True when P lies inside a sub-polygon of a body other than `skippedBody` (-1: none).
bool PointInOtherBodies(complexM p, int skippedBody, const AllSpolygon& bodies, const Tnodes& nodes);
// True when a != b and the first node of either body's sub-polygon 0 lies inside a sub-polygon of the other.
bool BodiesNested(int a, int b, const AllSpolygon& bodies, const Tnodes& nodes);
// True when the segment between nodes a and b crosses an edge of the body (edge rule, open or not)
// whose two end nodes both differ from a and b.
bool NodeSegmentCrossesBody(int a, int b, int body, const Tnodes& nodes, const AllSpolygon& bodies);
// The same against the edges at all positions of one sub-polygon's ring.
bool NodeSegmentCrossesSubPolygon(int a, int b, int body, int sub, const Tnodes& nodes,
                                  const AllSpolygon& bodies);
// True when i == j or the two rings of the body hold a common node.
bool SubPolygonsShareNode(int i, int j, int body, const AllSpolygon& bodies);

// ---- Ring positions ----

// k + 1, or 0 after the last position; `node` receives the node there.
int NextRingPosition(int k, const arofintM& ring, int& node);
// k - 1, or the last position before 0; `node` receives the node there.
int PreviousRingPosition(int k, const arofintM& ring, int& node);
// True and the first position holding the node, or false (position left unchanged).
bool FindInRing(int node, const arofintM& ring, int& position);
