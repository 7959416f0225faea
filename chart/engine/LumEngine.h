// The chart engine model in one include: value lists, the chart element and series base with marks,
// pointers and callouts, series lists, sources and the point data stream, the function base, the axes
// with their scaling, labels, drawing and lists, the axis panel with its drawing, and the tool base
// classes.
#pragma once

#include "chart/engine/LumEngineAxis.h"
#include "chart/engine/LumEngineAxisList.h"
#include "chart/engine/LumEngineAxisScale.h"
#include "chart/engine/LumEngineElement.h"
#include "chart/engine/LumEngineFunction.h"
#include "chart/engine/LumEngineLists.h"
#include "chart/engine/LumEngineMarks.h"
#include "chart/engine/LumEnginePanel.h"
#include "chart/engine/LumEnginePointer.h"
#include "chart/engine/LumEngineSeries.h"
#include "chart/engine/LumEngineSeriesSource.h"
#include "chart/engine/LumEngineSeriesStream.h"
#include "chart/engine/LumEngineTools.h"
#include "chart/engine/LumEngineTypes.h"
#include "chart/engine/LumEngineValues.h"
