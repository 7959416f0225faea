// Program-wide arrays, the missing-value marker, number text (parsing, formatting, tokenising) and the
// numeric helpers: robust mean, extremes by sign, table interpolation, signed logarithm, colour ramps.
#pragma once

#include "platform/rtl/DynArray.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Marks an absent or invalid number everywhere; compared by exact equality.
inline constexpr double MissingValue = 123456789.0;

// ---- Number text -------------------------------------------------------------------------------------

// The value of `text`, its first "," read as "."; MissingValue when the text is no number (blanks after
// it, "inf", "nan", hex, out of the double range) or fails a bound. When low == high nothing is tested;
// otherwise a low bound other than 0 needs value > low (>= when inclusive), a high bound other than 0
// needs value < high (<= when inclusive).
double StrToValue(std::string_view text, bool inclusive = false, double low = 0.0, double high = 0.0);

// "*" for MissingValue; an integral value as plain digits; otherwise fixed notation with "." and
// `decimals` decimals, plus (adaptive) 1 when |value| >= 1, else ceil(-log10 |value|).
// Non-finite values give "NAN", "INF", "-INF".
std::string FormatValue(double value, int decimals = 2, bool adaptive = true);

// "*" for MissingValue, else the general format with `digits` significant digits and the decimal
// separator of FormatSettings() (fixed up to `digits` integral digits and down to 0.00001, scientific
// like "1.2345E-6" otherwise; trailing zeros dropped).
std::string FormatPrecision(int digits, double value);

// `prefix` then the FormatValue text of every element, one blank between two values.
std::string JoinValues(const arofdoubleM& values, std::string_view prefix, int decimals, bool adaptive);

// Tokens of a line, separated by runs of blanks and tabs, numbered from 0; those numbered below `skip`
// are left out. Two or more trailing separators (or separators only) end the line with one empty token,
// a single trailing separator adds nothing. SplitToDoubles keeps the tokens that read as numbers (first
// "," as "."), SplitToInts those rounded to a 32-bit integer (halves to even); others are dropped.
arofstrM SplitToStrings(std::string_view text, int skip = 0);
arofdoubleM SplitToDoubles(std::string_view text, int skip = 0);
arofintM SplitToInts(std::string_view text, int skip = 0);
// The tokens of SplitToStrings as views into `text`, in `tokens` (emptied first), which a caller reading
// many lines keeps from line to line.
void SplitToViews(std::string_view text, std::vector<std::string_view>& tokens);

// ---- Array helpers -----------------------------------------------------------------------------------

void FillBools(arofboolM& values, bool value);
void FillInts(arofintM& values, std::int32_t value);
void FillDoubles(arofdoubleM& values, double value);
void FillMatrix(ararofdoubleM& rows, double value);
void FillCube(arararofdoubleM& cube, double value);

// Independent copies (the arrays are value types; these name the intent at the call site).
arofboolM CopyBools(const arofboolM& values);
arofintM CopyInts(const arofintM& values);
arofdoubleM CopyDoubles(const arofdoubleM& values);
arofcomplexM CopyPoints(const arofcomplexM& points);
ararofdoubleM CopyMatrix(const ararofdoubleM& rows);

// A copy one element shorter without element k; k past the end removes the last element; an empty array
// gives an empty copy. A negative k raises ERangeError.
arofdoubleM DeleteDoubleAt(const arofdoubleM& values, int k);
arofboolM DeleteBoolAt(const arofboolM& values, int k);

complexM MakeProfilePoint(double x, double z);

// ---- Numeric helpers ---------------------------------------------------------------------------------

// Number of elements other than MissingValue.
int CountValues(const arofdoubleM& values);

// Typical value of the non-missing elements: the mean, after dropping one farthest element per pass (the
// lowest index of equally far ones) until at most one element is left, no element lies farther than 10 %
// of |mean| from the mean, or one more drop would leave fewer than half of the elements. MissingValue
// when there is none. n log n.
double RobustMean(const arofdoubleM& values);

// Sorts (value, index) pairs of finite values by value, then index: the order std::sort gives them, with
// -0 and +0 equal. Linear in the length for long lists (a radix sort of the values' bits).
void SortByValueThenIndex(std::vector<std::pair<double, int>>& order);

// Extremes by sign, MissingValue skipped. Mode 0: largest / smallest (fallback -1e20 / 1e20). Mode 1:
// largest positive / smallest positive (fallback -1e20 for both). Mode 2: most negative / negative nearest
// zero (fallback 1e20 for both). Any other mode acts as mode 0.
double MaxByMode(const arofdoubleM& values, int mode);
double MinByMode(const arofdoubleM& values, int mode);

// y1 + (x - x1) / (x2 - x1) * (y2 - y1); y1 when x1 == x2.
double InterpolateLinear(double x, double x1, double x2, double y1, double y2);

// y at x in a table of ascending x, linear between entries, clamped to the end values. Only the first
// min(length of x, length of y) entries count; an empty table gives 0.
double InterpolateTable(const arofdoubleM& tableX, const arofdoubleM& tableY, double x);

// y at every one of the ascending positions `newX`; the search resumes where the previous one stopped.
arofdoubleM ResampleTable(const arofdoubleM& newX, const arofdoubleM& tableX, const arofdoubleM& tableY);

// z of a profile of ascending x at x, clamped to the end values; 0 for an empty profile.
double InterpolateProfile(const arofcomplexM& profile, double x);

// +1 for value >= 0, else -1.
double SignForLog(double value);
double SignForPow10(double value);
// sign(value) * log10(|value| / scale + 1) and its inverse sign(value) * scale * (10^|value| - 1).
double SignedLog(double value, double scale);
double SignedPow10(double value, double scale);

// n + 1 colours running through the key colours (system colours resolved), each key at index
// floor(i * n / (K - 1)), channels interpolated and rounded halves to even. With n <= K - 1 the first
// n + 1 keys unchanged; with one key n + 1 copies of it; with no keys n + 1 black entries.
arofintM ColorRamp(int n, const arofintM& keys);

// exp of every element (MissingValue not treated apart).
arofdoubleM ExpValues(const arofdoubleM& values);

void ExchangeDoubles(double& a, double& b);
void SwapInts(std::int32_t& a, std::int32_t& b);
void SwapPoints(complexM& a, complexM& b);
