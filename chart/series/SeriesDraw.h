// Drawing helpers of the line family that other series kinds and the legend share. The passes and the
// segment drawing of the line family are members of TCustomSeries (SeriesLine.h), defined in
// SeriesDraw.cpp.
#pragma once

#include "chart/engine/LumEnginePointer.h"

// The pointer symbol of a legend entry in Rect (2-D, at the rectangle's centre): half the rectangle when no
// line shows, a third around a line; never larger than the pointer's own sizes. The legend's symbol pen,
// when the legend has one, replaces the pointer's pen and says whether a line shows.
void DrawPointerInRect(TSeriesPointer& Pointer, TColor Color, const TRect& Rect, bool LineVisible);
