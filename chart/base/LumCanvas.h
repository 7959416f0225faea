// The chart canvas unit in one include: the geometry and colour helpers with the module state, the style
// objects (pens, brush, 3-D options, shadow, gradients, font, blend), the canvas interface and the device
// canvas with its 3-D projection.
#pragma once

#include "chart/base/LumCanvas3D.h"
#include "chart/base/LumCanvasBase.h"
#include "chart/base/LumCanvasEffects.h"
#include "chart/base/LumCanvasGdi.h"
#include "chart/base/LumCanvasHelpers.h"
#include "chart/base/LumCanvasStyles.h"
