// The series style string: a series' look (colours, brush, pen, cursor, marks with their callout, font,
// frame, gradient and shadow, the line pen and pointer of line and point series) in one line, kept in the
// settings file and as the series' default style.
#pragma once

#include <string>

class TChartSeries;

// The series' string, fields joined by "~" (empty without a series): the general part, the type
// description (line breaks written as "*"), the class tail, the pointer block and Marks.DrawEvery.
std::string WriteSeriesStyle(const TChartSeries* Series);

// Applies a string written for the series' type (its description, or a word found in its class name)
// and returns whether it did; nothing happens without a series, for a string of fewer than 42 fields, of
// another type or of an error-bar kind. A field that is no integer raises EConvertError, a missing field
// the steps need or an ordinal outside its range ERangeError, a setter its own error; what was applied
// before stays.
bool ReadSeriesStyle(TChartSeries* Series, const std::string& Text);

// Installs the series codec into the chart engine's style hooks (the series library's start-up), and
// takes it out again (its shut-down).
void InstallSeriesStyleHooks();
void RemoveSeriesStyleHooks();
