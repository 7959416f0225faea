// The model view's own view settings as one line of text: the four node-mark colours, the four margins
// and the shapes' label font, kept in the settings file's section "paramspolychart" under "common".
#pragma once

#include <string>

// The section and key of the settings file.
inline constexpr const char* PolygonChartSection = "paramspolychart";
inline constexpr const char* PolygonChartKey = "common";
