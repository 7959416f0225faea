// The chart control in one include: walls and titles, the legend, the chart control itself (TCustomChart
// and the published TChart), and the unit's registries, palettes and series helpers.
#pragma once

#include "chart/control/ChartControl.h"
#include "chart/control/ChartLegend.h"
#include "chart/control/ChartMouse.h"
#include "chart/control/ChartRegistry.h"
#include "chart/control/ChartWalls.h"
