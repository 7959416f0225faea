// Dates and times as TDateTime: days since 30 December 1899 as a double, the fraction being the time
// of day (before that day the whole part is negative and the fraction still counts forward, so -1.25 is
// 29 December 1899 06:00). Encoding, decoding, calendar steps, and text through the format settings.
#pragma once

#include "platform/rtl/FormatSettings.h"

#include <string>
#include <string_view>

using TDateTime = double;

inline constexpr double HoursPerDay = 24.0;
inline constexpr double MinsPerDay = 24.0 * 60.0;
inline constexpr double SecsPerDay = 24.0 * 60.0 * 60.0;
inline constexpr double MSecsPerDay = 24.0 * 60.0 * 60.0 * 1000.0;

bool IsLeapYear(int year);
// Days of a month 1..12 of a year (0 for a month outside 1..12).
int DaysInAMonth(int year, int month);
int DaysInMonth(TDateTime dt);

// Years 1..9999. EncodeDate raises EConvertError "Invalid argument to date encode" where TryEncodeDate
// returns false.
bool TryEncodeDate(int year, int month, int day, TDateTime& dt);
TDateTime EncodeDate(int year, int month, int day);
// Hours 0..23, minutes and seconds 0..59, milliseconds 0..999; EncodeTime raises EConvertError
// "Invalid argument to time encode".
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& t);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
// The date part joined with a time of day, also before 30 December 1899.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

// Decoding rounds to the nearest millisecond. A value outside the years 1..9999 (or not finite)
// decodes to zeros.
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec);

// The same day and time `months` months later (earlier when negative); a day past the end of the new
// month becomes its last day. Raises EConvertError when the year leaves 1..9999.
TDateTime IncMonth(TDateTime dt, int months = 1);
// 1 for Sunday .. 7 for Saturday (0 outside the years 1..9999).
int DayOfWeek(TDateTime dt);
// The local date and time, to the millisecond.
TDateTime Now();

// Text of a date by format specifiers (letter case ignored): d dd ddd dddd (day, names), ddddd and
// dddddd (the short and long date formats), m mm mmm mmmm (month; minutes right after an hour), yy yyyy,
// h hh (12-hour when the format has am/pm, a/p or ampm), n nn, s ss, z zzz, t tt (short and long time
// formats), c (short date and, when not midnight, long time), am/pm, a/p, ampm, "/" and ":" (the date and
// time separators), and text in single or double quotes. Other characters stand for themselves. Day and
// month names and the AM/PM texts are English. A value outside the years 1..9999 gives "".
std::string FormatDateTime(std::string_view format, TDateTime dt, const TFormatSettings& fs);
std::string FormatDateTime(std::string_view format, TDateTime dt);
std::string DateToStr(TDateTime dt);
std::string TimeToStr(TDateTime dt);
std::string DateTimeToStr(TDateTime dt);

// Reading: a date is two or three numbers separated by the date separator, in the order of the short
// date format (day, month and year in the order its letters first name them); without a year the current
// one; a year of one or two digits falls within 50 years before the current year and 49 after. A time is
// hours with optional minutes, seconds and milliseconds (after "."), separated by the time separator,
// with an optional AM or PM. A date and time is a date, then optionally blanks and a time, or a time
// alone. The Str... forms raise EConvertError "'<text>' is not a valid date" (time, date and time).
bool TryStrToDate(std::string_view text, TDateTime& dt, const TFormatSettings& fs);
bool TryStrToTime(std::string_view text, TDateTime& dt, const TFormatSettings& fs);
bool TryStrToDateTime(std::string_view text, TDateTime& dt, const TFormatSettings& fs);
TDateTime StrToDate(std::string_view text);
TDateTime StrToTime(std::string_view text);
TDateTime StrToDateTime(std::string_view text);
