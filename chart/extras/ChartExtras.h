// Start-up and shut-down of the extras library: its tool classes join the chart's registries and leave
// them again.
#pragma once

void ChartExtrasInitialization();
void ChartExtrasFinalization();
