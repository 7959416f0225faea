// The chart panel unit in one include: engine utilities and services, chart events and listeners, zoom,
// pan and back image settings, the chart panel base and the extended panel with its face, and framed
// shapes.
#pragma once

#include "chart/base/RadErareEvents.h"
#include "chart/base/RadErarePanel.h"
#include "chart/base/RadErarePanelExt.h"
#include "chart/base/RadErareServices.h"
#include "chart/base/RadErareShapes.h"
#include "chart/base/RadErareUtils.h"
#include "chart/base/RadErareZoom.h"
