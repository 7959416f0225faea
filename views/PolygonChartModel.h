// The model view's model side, apart from any chart: the relief as depths, the box a change may take,
// the box change with its check of the frame, and the pixels per model unit of an axis. The chart
// (PolygonChart.h) adds the axes and the shapes around these.
#pragma once

#include "core/Polygons.h"

// A copy of the points; with two or more, every z becomes zmax - z (zmax the largest z), the depth below
// the highest point, which gets 0. One point or none is kept as it is.
arofcomplexM ReliefDepths(const arofcomplexM& points);

// The box a change to (xmin, xmax, zmax) may take: a side that would cut into the free nodes (frame code
// 0) keeps its current value, and the top (ZMin) never changes.
TModelBox BoundedModelBox(const TPolygonModel& model, double xmin, double xmax, double zmax);

// Moves the model into `box`: unless keepFrame the frame is rebuilt for it (RebuildFrame, which acts only
// with a relief), then the frame nodes move onto its sides (MoveFrameNodes). With a body 0 the side and
// bottom frame nodes (codes 1 to 5) are then checked as moved nodes of body 0 (CheckMovedNodes, full
// mode): a move of the frame that would make a layer cross it is refused, and the model's nodes and
// bodies stay as they were. A model that fails that check before the change is not checked after it.
// ModelBox becomes `box` only on success. Returns whether it was taken.
bool ApplyModelBox(TPolygonModel& model, bool keepFrame, const TModelBox& box);

// Pixels per model unit of an axis `lengthPixels` long over a value span: length / span when the span is
// more than the least one an axis keeps (1e-10, give or take the rounding of its ends at `magnitude`),
// else 1. A scale that comes out as 0, negative (an axis squeezed to nothing) or not finite is 1 as well.
double PixelScale(int lengthPixels, double span, double magnitude);
