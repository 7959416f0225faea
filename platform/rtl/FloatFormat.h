// Display formatting of reals by the class library's rules: FormatFloat with a picture of digit
// placeholders ("#,##0.###", "0.00E+00", sections for positive;negative;zero), and FloatToStr, the
// general 15-digit form. Both use the separators of the display-format settings, never the C locale.
#pragma once

#include "platform/rtl/FormatSettings.h"

#include <string>
#include <string_view>

// The value written by the picture: "0" a digit that is always written, "#" a digit written only when
// significant, "." the place of the decimal separator (first one counts), "," anywhere among the integer
// placeholders groups thousands, "E+"/"E-"/"e+"/"e-" followed by "0"s switches to scientific form (the
// "+" form always writes the exponent's sign, the "-" form only a minus), text in single or double
// quotes and any other character are copied. Up to three sections separated by ";": positive, negative
// (written without a minus) and zero. An empty picture gives FloatToStr. Non-finite values give
// "NAN", "INF" or "-INF".
std::string FormatFloat(std::string_view format, double value, const TFormatSettings& fs);
std::string FormatFloat(std::string_view format, double value);

// The general form with at most 15 significant digits: rounded to 15 digits, trailing zeros dropped, and
// written as 0.d1..dn x 10^E in fixed form, or in exponent form ("1.5E-7", "1E15") when E > 15 or E < -3.
// The decimal separator is the settings'; no thousands separator.
std::string FloatToStr(double value, const TFormatSettings& fs);
std::string FloatToStr(double value);

// Reading a real as the user types it: blanks around it are skipped, the settings' decimal separator is
// the point (a "." is refused when the separator is another character), no thousands separators. False
// for anything else; StrToFloat raises EConvertError "'<text>' is not a valid floating point value".
bool TryStrToFloat(std::string_view text, double& value, const TFormatSettings& fs);
double StrToFloat(std::string_view text);
