// Inside of TRegion (internal): the pixels as a banded rectangle set.
#pragma once

#include "platform/graphics/Raster.h"
#include "platform/graphics/Region.h"

#include <QRegion>

struct TRegion::Impl {
    QRegion R;
};

// Shapes are scan converted for regions only within +-RegionScanLimit pixels (beyond any device), so a
// huge polygon costs no more than a large one.
constexpr int RegionScanLimit = 1 << 15;

// The region of spans as the scan converter yields them (row by row, left to right, disjoint).
TRegion RegionFromSpans(const std::vector<raster::TSpan>& spans);
