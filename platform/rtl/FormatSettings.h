// The program's one set of display-format settings: separators and date and time formats. Number text in
// files never follows it; display formatting does. The views set it from the user's locale, tests set it.
#pragma once

#include <string>

struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    char DateSeparator = '/';
    char TimeSeparator = ':';
    std::string ShortDateFormat = "M/d/yyyy";
    std::string LongDateFormat = "dddd, MMMM d, yyyy";
    std::string ShortTimeFormat = "h:mm AMPM";
    std::string LongTimeFormat = "h:mm:ss AMPM";
    // The currency symbol of number formats.
    std::string CurrencyString = "$";
};

// The settings in force (English defaults until someone sets them).
TFormatSettings& FormatSettings();
// Back to the English defaults.
void ResetFormatSettings();
