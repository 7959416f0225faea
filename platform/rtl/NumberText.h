// Number text of the run time, independent of the C library's locale. Parsing follows the run time's
// rule: leading blanks (not tabs), an optional sign, digits, an optional "." with digits, an optional
// exponent with at least one digit; nothing may follow. A text without digits before the exponent reads
// as 0 ("." gives 0).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Parses `text` by the rule above. Returns false for invalid text, "inf", "nan", hex and values beyond
// the double range (a value too small for a double reads as 0).
bool TryParseNumber(std::string_view text, double& value);

// The run time's integer text: leading blanks (not tabs), an optional sign, then decimal digits or "$"
// or "0x" and hexadecimal digits; nothing may follow. Decimal values must fit into 32 signed bits;
// hexadecimal ones may spell the 32-bit pattern of a negative number ("$FFFFFFFF" is -1).
bool TryStrToInt(std::string_view text, std::int32_t& value);
// The same, raising EConvertError "'<text>' is not a valid integer value" for invalid text.
std::int32_t StrToInt(std::string_view text);

// Number to text, equally independent of the locale. Non-finite values are written "NAN", "INF" and
// "-INF" by every formatter (the grammar above reads them as invalid).

// Shortest text of a non-finite value, or empty for a finite one.
std::string NonFiniteText(double value);
// Fixed notation with `decimals` (0..1100) digits after ".", correctly rounded; a result whose digits
// are all zero carries no "-". An integral value of any size with 0 decimals gives its plain digits.
std::string FormatFixed(double value, int decimals);
// General notation with `digits` significant digits (1..17): fixed when the rounded value has at most
// `digits` digits before the point and |value| >= 0.00001, else scientific like "1.2345E-6" (no "+", no
// padding in the exponent); trailing zeros and a needless point dropped; `point` is the decimal point.
std::string FormatGeneral(double value, int digits, char point = '.');
// The 23-character real of the program's text files: a blank or "-", one digit, ".", 14 digits, "E",
// the exponent's sign and 4 digits, e.g. " 2.00000000000000E+0000". Values that would round past the
// largest double are cut instead, so the text always reads back.
std::string FormatReal23(double value);
