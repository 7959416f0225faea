// The run time's text-to-number rule, independent of the C library's locale: leading blanks (not tabs),
// an optional sign, digits, an optional "." with digits, an optional exponent with at least one digit;
// nothing may follow. A text without digits before the exponent reads as 0 ("." gives 0).
#pragma once

#include <string_view>

// Parses `text` by the rule above. Returns false for invalid text, "inf", "nan", hex and values beyond
// the double range (a value too small for a double reads as 0).
bool TryParseNumber(std::string_view text, double& value);
