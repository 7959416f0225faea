// The string grid component: the base grid, the grid component with its in-place editor, option objects
// and editor controls, cell graphics and the shared routines.
#pragma once

#include "grid/BaseGrid.h"
#include "grid/CellGraphic.h"
#include "grid/EsgHTMLE.h"
#include "grid/ExtGridComponent.h"
#include "grid/ExtGridEditLink.h"
#include "grid/ExtGridEditors.h"
#include "grid/ExtGridFilter.h"
#include "grid/ExtGridOptions.h"
#include "grid/ExtObj.h"
#include "grid/ExtUtil.h"
#include "grid/GridTypes.h"
#include "grid/asgcheck.h"
