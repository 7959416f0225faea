// The series library's start-up and shut-down, which the program and the test environments call after
// the chart control's: the standard series kinds, the map and grid series and the smoothing function join
// the chart's registry.
#pragma once

// The first call registers the standard kinds (RegisterSeriesUnitTypes; kinds already listed are not
// added again), "Map" on the gallery page "Extended", the grid kinds on "3D" and the function
// "Smoothing" on "Extended"; further calls only count.
void SeriesLibraryInitialization();
// The call that balances the first start-up unregisters the map, the grid kinds and the function; the standard kinds stay until the
// chart control's registry is freed.
void SeriesLibraryFinalization();
