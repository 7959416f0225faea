// The drawing layer in one include: colours and device constants, pens, brushes and fonts, regions,
// TCanvas and its backends, bitmaps and pictures, bitmap resources. Qt-free.
#pragma once

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/CanvasBackend.h"
#include "platform/graphics/GraphicsObjects.h"
#include "platform/graphics/GraphicsTypes.h"
#include "platform/graphics/ImageBackend.h"
#include "platform/graphics/RecordingBackend.h"
#include "platform/graphics/Region.h"
#include "platform/graphics/ResourceStore.h"
