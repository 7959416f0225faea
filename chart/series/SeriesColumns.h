// Thinning a polyline of pixel points for a 1-pixel solid pen: where consecutive points share a pixel
// column, only the column's first, lowest, highest and last points are kept, in their order. Such a line
// lights exactly the pixels of the full one, so a million points cost a few thousand segments. Qt-free.
#pragma once

#include "platform/graphics/GraphicsTypes.h"

#include <vector>

// Thins Run in place as above; columns of at most four points and the run's last column stay as they
// are. Nothing while the thinning is switched off.
void ReduceRunByColumns(std::vector<TPoint>& Run);

// The unit's switch: on in the program; tests switch it off to draw the full line for comparison.
struct TSeriesColumnsSettings {
    bool Thinning = true;
};
TSeriesColumnsSettings& SeriesColumnsSettings();
