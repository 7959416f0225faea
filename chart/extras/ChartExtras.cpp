// Start-up and shut-down of the extras library.
#include "chart/extras/ChartExtras.h"

#include "chart/extras/LumDragPoint.h"
#include "chart/extras/LumShape.h"

void ChartExtrasInitialization()
{
    LumDragPointInitialization();
    LumShapeInitialization();
}

void ChartExtrasFinalization() { LumDragPointFinalization(); }
