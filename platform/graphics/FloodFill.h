// Flood fill of the class library's canvas: the area around a point is filled with the canvas brush, up
// to a border colour (fsBorder) or over the run of one colour (fsSurface). Qt-free.
#pragma once

#include "platform/graphics/GraphicsTypes.h"

class TCanvas;

enum TFillStyle { fsSurface, fsBorder };

// Fills through the canvas' pixels (logical coordinates, the clip respected); nothing when the start
// point lies outside the drawable area or already has the border colour (fsBorder), or has another
// colour than `color` (fsSurface).
void ExtFloodFill(TCanvas& canvas, int x, int y, TColor color, TFillStyle style);
