// The small symbol series marks can show inside each box, filled in the point's colour: a framed shape
// that is hidden until made visible.
#pragma once

#include "chart/base/RadErareShapes.h"

class TSeriesMarksSymbol : public TLumCustomShape {
    VSP_PERSISTENT_CLASS
public:
    // Not visible, not transparent, a shadow of 1 pixel (also its stream default).
    explicit TSeriesMarksSymbol(TCustomLumPanel* Panel);

    // Drawn when Visible and not Transparent.
    bool IsShown() const { return Visible() && !Transparent(); }
};
