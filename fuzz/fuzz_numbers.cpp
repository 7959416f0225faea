// Fuzz target over the number text functions: parsing and tokenising any bytes, and formatting any
// double, whose file forms must read back.
#include "core/Supermath2d.h"
#include "platform/rtl/NumberText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

void ParseText(std::string_view text)
{
    (void)StrToValue(text);
    (void)StrToValue(text, true, -1, 1);
    const arofstrM tokens = SplitToStrings(text);
    if (tokens.size() > text.size() + 1) std::abort();
    if (SplitToDoubles(text).size() > tokens.size() || SplitToInts(text, 1).size() > tokens.size()) std::abort();
}

void Require(bool condition)
{
    if (!condition) std::abort();
}

void FormatDouble(double v, int decimals, bool adaptive)
{
    const std::string real = FormatReal23(v);
    double back = 0;
    if (std::isfinite(v)) {
        Require(real.size() == 23 && TryParseNumber(real, back));
        Require(std::fabs(back - v) <= std::fabs(v) * 1e-14);
    } else {
        Require(!TryParseNumber(real, back) && StrToValue(FormatValue(v)) == MissingValue);
    }
    const std::string value = FormatValue(v, decimals, adaptive);
    if (std::isfinite(v) && v != MissingValue) Require(TryParseNumber(value, back));
    (void)FormatPrecision(decimals, v);
    (void)FormatGeneral(v, decimals, ',');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ParseText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (size >= 10) {
        double v = 0;
        std::memcpy(&v, data, sizeof v);
        FormatDouble(v, data[8] % 40 - 4, data[9] & 1);
    }
    return 0;
}
