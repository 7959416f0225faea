// The graphic a cell may carry besides its text (its data: type, object, alignments, state); the grid
// owns it through the cell's properties. Drawing, sizing and hit tests of graphics come later; a cell
// without one reports ctEmpty. Qt-free.
#pragma once

#include "grid/GridTypes.h"

#include <string>

class TCellGraphic : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    ~TCellGraphic() override;

    TCellType CellType = ctNone;
    // The type's main object and the icon slot; owned when CellCreated is set.
    TPersistent* CellObject = nullptr;
    TPersistent* CellIcon = nullptr;
    TCellVAlign CellVAlign = vaTop;
    TCellHAlign CellHAlign = haLeft;
    int CellIndex = 0;
    bool CellTransparent = false, CellCreated = false, CellBoolean = false;
    int CellAngle = 0;
    double CellValue = 0;
    short CellErrFrom = 0, CellErrLen = 0;
    std::string CellText;
};
