// Start-up and shut-down of the extras library.
#include "chart/extras/ChartExtras.h"

#include "chart/extras/LumDragPoint.h"

void ChartExtrasInitialization() { LumDragPointInitialization(); }

void ChartExtrasFinalization() { LumDragPointFinalization(); }
