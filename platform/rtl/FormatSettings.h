// The program's one set of display-format settings: separators, date and time formats, month and day
// names and the first day of the week. Number text in
// files never follows it; display formatting does. The views set it from the user's locale, tests set it.
#pragma once

#include <array>
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
    // Month names, January first, and day names, Sunday first.
    std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> LongMonthNames{"January", "February", "March",     "April",   "May",      "June",
                                               "July",    "August",   "September", "October", "November", "December"};
    std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> LongDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    // The first day of a calendar week: 0 Monday .. 6 Sunday.
    int FirstDayOfWeek = 0;
};

// The settings in force (English defaults until someone sets them).
TFormatSettings& FormatSettings();
// Back to the English defaults.
void ResetFormatSettings();
