// The standard series of the chart engine in one include: the line family (line, point, area and their
// horizontal kinds) with its drawing, the bars, the circled series and the pie, the fast line with the
// registration of the standard kinds, the series style string, and the library's start-up and shut-down.
#pragma once

#include "chart/series/SeriesBar.h"
#include "chart/series/SeriesDraw.h"
#include "chart/series/SeriesFastLine.h"
#include "chart/series/SeriesLibrary.h"
#include "chart/series/SeriesLine.h"
#include "chart/series/SeriesPie.h"
#include "chart/series/SeriesStyle.h"
