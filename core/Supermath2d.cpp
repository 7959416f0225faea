// Program-wide number text, tokenising, array helpers and numeric helpers.
#include "core/Supermath2d.h"

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/SystemColors.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

// ---- Number text -------------------------------------------------------------------------------------

namespace {

// The run time's number rule applied to a token whose first "," stands for the point.
bool ParseWithComma(std::string_view text, double& value)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) return TryParseNumber(text, value);
    std::string copy(text);
    copy[comma] = '.';
    return TryParseNumber(copy, value);
}

bool PassesBounds(double value, bool inclusive, double low, double high)
{
    if (low == high) return true;
    if (low != 0.0 && !(inclusive ? value >= low : value > low)) return false;
    if (high != 0.0 && !(inclusive ? value <= high : value < high)) return false;
    return true;
}

// Decimals of the fixed form: the given ones plus, adaptively, as many as the magnitude needs.
int AdaptiveDecimals(double value, int decimals, bool adaptive)
{
    if (!adaptive) return decimals;
    const double magnitude = std::log10(std::fabs(value));
    if (magnitude >= 0) return decimals + 1;
    return decimals + static_cast<int>(std::ceil(-magnitude));
}

bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

// Calls `take(index, token)` for every token of the line, in order.
template <class Take>
void ForEachToken(std::string_view text, Take take)
{
    const std::size_t n = text.size();
    if (n == 0) return;
    std::size_t pos = 0;
    for (int index = 0;; ++index) {
        while (pos < n && IsSeparator(text[pos])) ++pos;
        const std::size_t start = pos;
        while (pos < n && !IsSeparator(text[pos])) ++pos;
        take(index, text.substr(start, pos - start));
        // The scan ends once the token's end reaches the last character, so a single trailing separator
        // adds nothing while two or more leave one empty token.
        if (pos >= n - 1) break;
    }
}

} // namespace

double StrToValue(std::string_view text, bool inclusive, double low, double high)
{
    double value = 0.0;
    if (!ParseWithComma(text, value)) return MissingValue;
    return PassesBounds(value, inclusive, low, high) ? value : MissingValue;
}

std::string FormatValue(double value, int decimals, bool adaptive)
{
    if (value == MissingValue) return "*";
    if (!std::isfinite(value)) return NonFiniteText(value);
    if (value == std::nearbyint(value)) return FormatFixed(value, 0);
    return FormatFixed(value, AdaptiveDecimals(value, decimals, adaptive));
}

std::string FormatPrecision(int digits, double value)
{
    if (value == MissingValue) return "*";
    return FormatGeneral(value, digits, FormatSettings().DecimalSeparator);
}

std::string JoinValues(const arofdoubleM& values, std::string_view prefix, int decimals, bool adaptive)
{
    std::string text(prefix);
    for (int i = 0; i < values.Length(); ++i) {
        if (i > 0) text += ' ';
        text += FormatValue(values[i], decimals, adaptive);
    }
    return text;
}

arofstrM SplitToStrings(std::string_view text, int skip)
{
    arofstrM tokens;
    ForEachToken(text, [&](int index, std::string_view token) {
        if (index >= skip) tokens.push_back(std::string(token));
    });
    return tokens;
}

void SplitToViews(std::string_view text, std::vector<std::string_view>& tokens)
{
    tokens.clear();
    ForEachToken(text, [&](int, std::string_view token) { tokens.push_back(token); });
}

arofdoubleM SplitToDoubles(std::string_view text, int skip)
{
    arofdoubleM values;
    ForEachToken(text, [&](int index, std::string_view token) {
        double v = 0.0;
        if (index >= skip && ParseWithComma(token, v)) values.push_back(v);
    });
    return values;
}

arofintM SplitToInts(std::string_view text, int skip)
{
    arofintM values;
    ForEachToken(text, [&](int index, std::string_view token) {
        double v = 0.0;
        if (index < skip || !ParseWithComma(token, v)) return;
        v = std::nearbyint(v);
        if (v >= -2147483648.0 && v <= 2147483647.0) values.push_back(static_cast<std::int32_t>(v));
    });
    return values;
}

// ---- Array helpers -----------------------------------------------------------------------------------

void FillBools(arofboolM& values, bool value) { std::fill(values.begin(), values.end(), value); }
void FillInts(arofintM& values, std::int32_t value) { std::fill(values.begin(), values.end(), value); }
void FillDoubles(arofdoubleM& values, double value) { std::fill(values.begin(), values.end(), value); }

void FillMatrix(ararofdoubleM& rows, double value)
{
    for (arofdoubleM& row : rows) FillDoubles(row, value);
}

void FillCube(arararofdoubleM& cube, double value)
{
    for (ararofdoubleM& matrix : cube) FillMatrix(matrix, value);
}

arofboolM CopyBools(const arofboolM& values) { return values; }
arofintM CopyInts(const arofintM& values) { return values; }
arofdoubleM CopyDoubles(const arofdoubleM& values) { return values; }
arofcomplexM CopyPoints(const arofcomplexM& points) { return points; }
ararofdoubleM CopyMatrix(const ararofdoubleM& rows) { return rows; }

namespace {

template <class Array>
Array DeleteAt(const Array& values, int k)
{
    if (k < 0) throw ERangeError();
    Array result = values;
    if (!result.empty()) result.Delete(std::min(k, result.High()));
    return result;
}

} // namespace

arofdoubleM DeleteDoubleAt(const arofdoubleM& values, int k) { return DeleteAt(values, k); }
arofboolM DeleteBoolAt(const arofboolM& values, int k) { return DeleteAt(values, k); }

complexM MakeProfilePoint(double x, double z) { return complexM{x, z}; }

// ---- Numeric helpers ---------------------------------------------------------------------------------

int CountValues(const arofdoubleM& values)
{
    return static_cast<int>(std::count_if(values.begin(), values.end(), [](double v) { return v != MissingValue; }));
}

namespace {

// A sum of doubles that carries its rounding error along (two-sum in extended precision), so that a sum
// kept up by adding and removing values gives the mean a fresh sum in any order gives.
struct TCarriedSum {
    long double hi = 0;
    long double lo = 0;

    void Add(double v)
    {
        const long double s = hi + v;
        const long double back = s - hi;
        lo += (hi - (s - back)) + (v - back);
        hi = s;
    }
    double Mean(int count) const
    {
        if (!std::isfinite(hi)) return static_cast<double>(hi / count);
        return static_cast<double>((hi + lo) / count);
    }
};

} // namespace

// A long list goes through a radix sort of the values' bits, which reads every element a fixed number of
// times where a comparison sort waits on memory at every level. The pairs are first brought into index
// order, so that the sort, being stable, leaves equal values by index; the two zeros sort apart there
// and are put back in index order afterwards.
void SortByValueThenIndex(std::vector<std::pair<double, int>>& order)
{
    const std::size_t n = order.size();
    if (n < 256) {
        std::sort(order.begin(), order.end());
        return;
    }
    const auto byIndex = [](const auto& a, const auto& b) { return a.second < b.second; };
    if (!std::is_sorted(order.begin(), order.end(), byIndex)) std::sort(order.begin(), order.end(), byIndex);
    // The bits of a double, turned so that unsigned order is the order of the values.
    const auto key = [](double v) {
        const auto u = std::bit_cast<std::uint64_t>(v);
        return u >> 63 ? ~u : u | (std::uint64_t{1} << 63);
    };
    constexpr int DigitBits = 11;
    constexpr int Digits = (64 + DigitBits - 1) / DigitBits;
    constexpr std::size_t Buckets = std::size_t{1} << DigitBits;
    std::vector<std::array<std::size_t, Buckets>> counts(Digits);
    for (std::array<std::size_t, Buckets>& c : counts) c.fill(0);
    for (const auto& p : order) {
        const std::uint64_t k = key(p.first);
        for (int d = 0; d < Digits; ++d) ++counts[d][(k >> (d * DigitBits)) & (Buckets - 1)];
    }
    std::vector<std::pair<double, int>> other(n);
    for (int d = 0; d < Digits; ++d) {
        std::array<std::size_t, Buckets>& c = counts[d];
        if (std::find(c.begin(), c.end(), n) != c.end()) continue; // every element has this digit
        std::size_t start = 0;
        for (std::size_t& b : c) start += std::exchange(b, start);
        for (const auto& p : order) other[c[(key(p.first) >> (d * DigitBits)) & (Buckets - 1)]++] = p;
        order.swap(other);
    }
    // -0 sorts just before +0; as equal values they go by index.
    const auto zero = std::partition_point(order.begin(), order.end(), [](const auto& p) { return p.first < 0.0; });
    const auto afterZero =
        std::partition_point(zero, order.end(), [](const auto& p) { return p.first == 0.0; });
    std::sort(zero, afterZero, byIndex);
}

double RobustMean(const arofdoubleM& values)
{
    std::vector<std::pair<double, int>> order; // (value, index) of the non-missing elements, sorted below
    order.reserve(values.size());
    TCarriedSum sum;
    for (int i = 0; i < values.Length(); ++i)
        if (values[i] != MissingValue) {
            order.push_back({values[i], i});
            sum.Add(values[i]);
        }
    const int n = static_cast<int>(order.size());
    if (n == 0) return MissingValue;
    // A NaN or an infinity makes every distance meaningless: the plain mean stands.
    if (!std::isfinite(sum.Mean(n))) return sum.Mean(n);
    SortByValueThenIndex(order);

    // The farthest active element is the smallest or the largest one, so the active elements stay a range
    // [lo, hi] of `order`. Of equally far elements the lowest index leaves: at the bottom that is order[lo];
    // at the top the lowest indexes of the top value leave first, so the one to compare is found from the
    // count already taken off that value's run [topStart, topEnd].
    int lo = 0, hi = n - 1;
    int topStart = hi, topEnd = hi;
    const auto findTopRun = [&] {
        topStart = topEnd = hi;
        while (topStart > lo && order[topStart - 1].first == order[hi].first) --topStart;
    };
    findTopRun();
    for (;;) {
        const int count = hi - lo + 1;
        const double mean = sum.Mean(count);
        if (count <= 1) return mean;
        const double low = std::fabs(order[lo].first - mean);
        const double high = std::fabs(order[hi].first - mean);
        // The passes end when nothing lies farther than 10 % of the mean, or when one more removal would
        // leave fewer than half of the elements.
        if (!(std::max(low, high) > 0.1 * std::fabs(mean)) || 2 * (count - 1) < n) return mean;
        const int topIndex = order[topStart + (topEnd - hi)].second;
        if (low > high || (low == high && order[lo].second < topIndex)) {
            sum.Add(-order[lo].first);
            ++lo;
        } else {
            sum.Add(-order[hi].first);
            if (--hi < topStart) findTopRun();
        }
    }
}

namespace {

// Picks the element that `better` prefers among those `eligible` accepts; `fallback` when none.
template <class Eligible, class Better>
double PickExtreme(const arofdoubleM& values, double fallback, Eligible eligible, Better better)
{
    bool found = false;
    double pick = fallback;
    for (double v : values) {
        if (v == MissingValue || !eligible(v)) continue;
        if (!found || better(v, pick)) pick = v;
        found = true;
    }
    return pick;
}

auto Any = [](double) { return true; };
auto Positive = [](double v) { return v > 0; };
auto Negative = [](double v) { return v < 0; };
auto Larger = [](double a, double b) { return a > b; };
auto Smaller = [](double a, double b) { return a < b; };

} // namespace

double MaxByMode(const arofdoubleM& values, int mode)
{
    switch (mode) {
    case 1: return PickExtreme(values, -1e20, Positive, Larger);
    case 2: return PickExtreme(values, 1e20, Negative, Smaller);
    default: return PickExtreme(values, -1e20, Any, Larger);
    }
}

double MinByMode(const arofdoubleM& values, int mode)
{
    switch (mode) {
    case 1: return PickExtreme(values, -1e20, Positive, Smaller);
    case 2: return PickExtreme(values, 1e20, Negative, Larger);
    default: return PickExtreme(values, 1e20, Any, Smaller);
    }
}

double InterpolateLinear(double x, double x1, double x2, double y1, double y2)
{
    if (x1 == x2) return y1;
    return y1 + (x - x1) / (x2 - x1) * (y2 - y1);
}

namespace {

// One step of the table search: advances `i` past every abscissa below x and returns y at x.
// `count` entries are read through xAt(i) and yAt(i).
template <class XAt, class YAt>
double InterpolateFrom(int& i, int count, double x, XAt xAt, YAt yAt)
{
    while (i < count && x > xAt(i)) ++i;
    if (i == 0) return yAt(0);
    if (i >= count) return yAt(count - 1);
    return InterpolateLinear(x, xAt(i - 1), xAt(i), yAt(i - 1), yAt(i));
}

} // namespace

double InterpolateTable(const arofdoubleM& tableX, const arofdoubleM& tableY, double x)
{
    const int count = std::min(tableX.Length(), tableY.Length());
    if (count == 0) return 0.0;
    int i = 0;
    return InterpolateFrom(i, count, x, [&](int k) { return tableX[k]; }, [&](int k) { return tableY[k]; });
}

arofdoubleM ResampleTable(const arofdoubleM& newX, const arofdoubleM& tableX, const arofdoubleM& tableY)
{
    const int count = std::min(tableX.Length(), tableY.Length());
    arofdoubleM result(newX.size());
    if (count == 0) return result;
    int i = 0;
    for (int k = 0; k < newX.Length(); ++k)
        result[k] = InterpolateFrom(i, count, newX[k], [&](int j) { return tableX[j]; },
                                    [&](int j) { return tableY[j]; });
    return result;
}

double InterpolateProfile(const arofcomplexM& profile, double x)
{
    if (profile.empty()) return 0.0;
    int i = 0;
    return InterpolateFrom(i, profile.Length(), x, [&](int k) { return profile[k].x; },
                           [&](int k) { return profile[k].z; });
}

double SignForLog(double value) { return value >= 0 ? 1.0 : -1.0; }
double SignForPow10(double value) { return value >= 0 ? 1.0 : -1.0; }

double SignedLog(double value, double scale)
{
    return SignForLog(value) * std::log10(std::fabs(value) / scale + 1.0);
}

double SignedPow10(double value, double scale)
{
    return SignForPow10(value) * scale * (std::pow(10.0, std::fabs(value)) - 1.0);
}

namespace {

// Entries a..b of the ramp between two key colours.
void FillRampSegment(arofintM& ramp, int a, int b, TColor from, TColor to)
{
    const int channels1[3] = {GetRValue(from), GetGValue(from), GetBValue(from)};
    const int channels2[3] = {GetRValue(to), GetGValue(to), GetBValue(to)};
    for (int j = a; j <= b; ++j) {
        int mixed[3];
        for (int c = 0; c < 3; ++c) {
            const double step = b == a ? 0.0
                                       : static_cast<double>(j - a) * (channels2[c] - channels1[c]) / (b - a);
            mixed[c] = static_cast<int>(std::nearbyint(step + channels1[c]));
        }
        ramp[j] = RGB(mixed[0], mixed[1], mixed[2]);
    }
}

} // namespace

arofintM ColorRamp(int n, const arofintM& keys)
{
    const int k = keys.Length();
    if (n <= k - 1) {
        arofintM first(static_cast<std::size_t>(std::max(n + 1, 0)));
        for (int j = 0; j <= n; ++j) first[j] = keys[j];
        return first;
    }
    arofintM ramp(static_cast<std::size_t>(n) + 1);
    if (k == 1) FillInts(ramp, ColorToRGB(keys[0]));
    for (int s = 0; s + 1 < k; ++s) {
        const int a = static_cast<int>(std::floor(static_cast<double>(n) * s / (k - 1)));
        const int b = static_cast<int>(std::floor(static_cast<double>(n) * (s + 1) / (k - 1)));
        FillRampSegment(ramp, a, b, ColorToRGB(keys[s]), ColorToRGB(keys[s + 1]));
    }
    return ramp;
}

arofdoubleM ExpValues(const arofdoubleM& values)
{
    arofdoubleM result(values.size());
    for (int i = 0; i < values.Length(); ++i) result[i] = std::exp(values[i]);
    return result;
}

void ExchangeDoubles(double& a, double& b) { std::swap(a, b); }
void SwapInts(std::int32_t& a, std::int32_t& b) { std::swap(a, b); }
void SwapPoints(complexM& a, complexM& b) { std::swap(a, b); }
