// How the model view shows a sub-polygon: a map-series shape takes its colour, brush, pen, gradient and
// label from the sub-polygon's property slots and gives them back; the surface line that bounds the white
// mask above the relief. Property slots of any kind are read without raising: a slot that does not hold
// what it should gives the shape's default.
#pragma once

#include "core/Polygons.h"

#include <string>

class TLumPolygon;

// The label a shape shows by LabelMode (slot 8): 0 " "; 1 the resistivity (slot 10) with one decimal in
// magnitude mode; 2 that followed by " I" when ConductorType (slot 11) is not 0, else " E"; 3 the label
// text (slot 7); any other mode keeps `current`.
std::string ShapeLabel(const PolygonProperties& row, const std::string& current);

// The shape's own pen and brush (ParentPen and ParentBrush off), its colour from slot 4, brush, pen and
// gradient from the style texts of slots 1 to 3, and ShapeLabel as its text.
void ApplyPropertiesToShape(TLumPolygon& shape, const PolygonProperties& row);

// The shape's look back into the row: slot 4 its colour, slots 1 to 3 the style texts of its brush, pen
// and gradient, slot 7 its text; slots 5, 6, 9 and 14 to 18 become "*".
void StoreShapeInProperties(TLumPolygon& shape, PolygonProperties& row);

// The surface line that bounds the mask: without a relief the box top, (XMin, 0) and (XMax, 0); with one,
// from right to left, the host ring's nodes from its first entry holding node 3 (the top-right corner) up to and
// including the next entry holding node 0 (the top-left corner), or to the ring's end.
arofcomplexM SurfaceLine(const TPolygonModel& model);
