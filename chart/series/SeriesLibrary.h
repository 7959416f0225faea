// The series library's start-up and shut-down, which the program and the test environments call after
// the chart control's: the standard series kinds and the map series join the chart's series registry.
#pragma once

// The first call registers the standard kinds (RegisterSeriesUnitTypes; kinds already listed are not
// added again) and "Map" on the gallery page "Extended"; further calls only count.
void SeriesLibraryInitialization();
// The call that balances the first start-up unregisters the map; the standard kinds stay until the
// chart control's registry is freed.
void SeriesLibraryFinalization();
