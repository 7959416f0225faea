// The grid as a drop target and a drag source.
#include "grid/ExtGrid.h"

void TDragDropSettings::SetOleDropTarget(bool v) { FOleDropTarget = v; }

void TDragDropSettings::SetOleDropRTF(bool v) { FOleDropRTF = v; }
