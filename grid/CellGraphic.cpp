// A cell graphic frees the objects it owns.
#include "grid/CellGraphic.h"

const TClassInfo& TCellGraphic::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TCellGraphic", .Parent = &TPersistent::StaticClassInfo()});
    return info;
}

TCellGraphic::~TCellGraphic()
{
    if (CellCreated) {
        delete CellObject;
        delete CellIcon;
    }
}
