// Start-up and shut-down of the extras library: its series and tool classes join the chart's registries;
// the tools leave them again.
#pragma once

void ChartExtrasInitialization();
void ChartExtrasFinalization();
