// Start-up and shut-down of the editor library.
#include "chart/editors/ChartEditors.h"

void ChartEditorsInitialization() {}

void ChartEditorsFinalization() {}
