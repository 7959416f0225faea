// Operations that add area to the polygon model: a new body drawn point by point, a new sub-polygon
// attached to a body by a polyline between two of its nodes (layers of the host included), and the
// division of a sub-polygon along a chord. Refusals are false results without messages.
#pragma once

#include "core/Polygons.h"
#include "core/PolygonsFrame.h"

// True when the points drawn so far (p[0..n]) are acceptable: the last point lies in no sub-polygon, the
// newest segment crosses no open edge of the model nor an earlier segment, and with `closing` the closing
// segment p[0]-p[n] crosses no open edge of the model either.
bool CheckNewPolygon(const arofcomplexM& points, const AllSpolygon& bodies, const Tnodes& nodes, bool closing);

// True when the ring's first point lies inside a sub-polygon (the host aside), or the first node of a
// sub-polygon lies inside the ring.
bool PolygonOverlapsModel(const arofcomplexM& ring, const AllSpolygon& bodies, const Tnodes& nodes);

// Appends a body of one oriented sub-polygon made of new nodes at the ring's points, with a copy of
// `properties` (the row every new sub-polygon of the model's owner takes). False, nothing changed, for
// fewer than 3 points, a ring of no area (its points on one line) or an overlap with the model.
bool AddPolygon(const arofcomplexM& ring, AllSpolygon& bodies, Tnodes& nodes, const PolygonProperties& properties);

// Appends to the body a sub-polygon closed by a polyline from its node a to its node b (polyline[0] stands
// for a, the last point for b, the points between become new nodes) and the body's outline walked from a
// to b. The variant flag builds the sub-polygon on the other side of the polyline. A polyline that starts
// and ends at the same node closes on itself. False with nothing changed when the outline walk finds no
// way to b within one turn (or the ring would have fewer than 3 nodes); false with the model extended when
// the new ring turned over (it closed round the far side of the body) or the body ends up nested with
// another. The new sub-polygon takes a copy of `properties`.
bool AddSubPolygon(int a, int b, int body, bool variant, Tnodes& nodes, AllSpolygon& bodies,
                   const arofcomplexM& polyline, const PolygonProperties& properties);

// AddSubPolygon, then for body 0 the nodes of the new layer get the frame codes of their places.
bool AddSubPolygonInFrame(int a, int b, int body, bool variant, Tnodes& nodes, AllSpolygon& bodies,
                          const arofcomplexM& polyline, const TModelBox& box, const PolygonProperties& properties);

// Divides the first sub-polygon of the body that holds nodes a and b (two positions in all) along the
// chord a-b into two sub-polygons appended at the body's end, both with the divided one's properties and
// ShapeIndex -1. `shapeIndex` receives the divided sub-polygon's ShapeIndex. False, nothing changed, when
// no sub-polygon qualifies, a and b are ring neighbours, the chord crosses the ring or runs outside it,
// or a half would turn over (a chord running along the ring's own edges).
bool DividePolygon(int a, int b, int body, int& shapeIndex, Tnodes& nodes, AllSpolygon& bodies);
