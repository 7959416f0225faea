// Start-up and shut-down of the extras library.
#include "chart/extras/ChartExtras.h"

#include "chart/extras/ArrowCha.h"
#include "chart/extras/Bar3D.h"
#include "chart/extras/BubbleCh.h"
#include "chart/extras/GanttCh.h"
#include "chart/extras/ImaPoint.h"
#include "chart/extras/ImageBar.h"
#include "chart/extras/LumCalendar.h"
#include "chart/extras/LumBezie.h"
#include "chart/extras/LumDonut.h"
#include "chart/extras/LumDragPoint.h"
#include "chart/extras/LumFunnel.h"
#include "chart/extras/LumGanttTool.h"
#include "chart/extras/LumPoin3.h"
#include "chart/extras/LumPyramid.h"
#include "chart/extras/LumShape.h"
#include "chart/extras/LumVolumePipe.h"
#include "chart/extras/MyPoint.h"

void ChartExtrasInitialization()
{
    LumDragPointInitialization();
    LumShapeInitialization();
    GanttChInitialization();
    LumGanttToolInitialization();
    ArrowChaInitialization();
    BubbleChInitialization();
    LumBezieInitialization();
    LumPoin3Initialization();
    MyPointInitialization();
    Bar3DInitialization();
    LumDonutInitialization();
    ImageBarInitialization();
    ImaPointInitialization();
    LumPyramidInitialization();
    LumVolumePipeInitialization();
    LumFunnelInitialization();
    LumCalendarInitialization();
}

void ChartExtrasFinalization()
{
    LumDragPointFinalization();
    LumGanttToolFinalization();
    LumBezieFinalization();
    LumPoin3Finalization();
    MyPointFinalization();
    Bar3DFinalization();
    LumDonutFinalization();
    ImageBarFinalization();
    ImaPointFinalization();
    LumPyramidFinalization();
    LumVolumePipeFinalization();
    LumFunnelFinalization();
    LumCalendarFinalization();
}
