// The editor library's start-up and shut-down: the editor forms that are found by class name are
// registered, and the chart control's hooks open the "Graphic editor", the axis dialog and the legend
// dialog. The program and the test environments call it after the chart control's and the series
// library's start-up.
#pragma once

void ChartEditorsInitialization();
void ChartEditorsFinalization();
