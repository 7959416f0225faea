// Locale-independent number text: parsing by a grammar check of our own, then std::from_chars;
// formatting with std::to_chars.
#include "platform/rtl/NumberText.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

bool TryParseNumber(std::string_view text, double& value)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissaStart = i;
    std::size_t digits = 0;
    while (i < n && IsDigit(text[i])) { ++i; ++digits; }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) { ++i; ++digits; }
    }
    const std::size_t mantissaEnd = i;
    bool negativeExponent = false;
    std::size_t exponentStart = n;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        exponentStart = i;
        while (i < n && IsDigit(text[i])) ++i;
        if (i == exponentStart) return false; // an exponent needs a digit
    }
    if (i != n) return false;                       // trailing characters, blanks included
    if (mantissaEnd == mantissaStart && exponentStart == n) return false; // empty or a lone sign
    if (digits == 0) {                              // "." or an exponent alone: zero
        value = negative ? -0.0 : 0.0;
        return true;
    }

    // from_chars takes no sign of its own: build "mantissa[e exponent]" without it.
    std::string body(text.substr(mantissaStart, mantissaEnd - mantissaStart));
    if (exponentStart != n) {
        body += negativeExponent ? "e-" : "e";
        body += text.substr(exponentStart);
    }
    double v = 0.0;
    auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), v, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (!negativeExponent) return false; // too large for a double
        v = 0.0;                             // too small: underflows to zero
    } else if (ec != std::errc() || ptr != body.data() + body.size()) {
        return false;
    }
    value = negative ? -v : v;
    return true;
}

bool TryStrToInt(std::string_view text, std::int32_t& value)
{
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint64_t magnitude = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size()) return false;
    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFu : (negative ? 0x80000000u : 0x7FFFFFFFu);
    if (magnitude > limit) return false;
    const auto bits = static_cast<std::uint32_t>(negative ? 0u - magnitude : magnitude);
    value = static_cast<std::int32_t>(bits);
    return true;
}

std::int32_t StrToInt(std::string_view text)
{
    std::int32_t value = 0;
    if (!TryStrToInt(text, value)) throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

// ---- Formatting --------------------------------------------------------------------------------------

namespace {

// The digits of |value| rounded to `significant` digits; the first digit stands for 10^exponent.
struct TDecimalDigits {
    bool negative = false;
    std::string digits; // exactly `significant` digits, the first non-zero unless the value is 0
    int exponent = 0;
};

TDecimalDigits RoundToSignificant(double value, int significant)
{
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                                   significant - 1);
    (void)ec; // 64 characters hold any double at 17 digits
    TDecimalDigits r;
    r.negative = std::signbit(value) && value != 0.0;
    const char* p = buf;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.') r.digits += *p;
    if (p < end) std::from_chars(p + (p[1] == '+' ? 2 : 1), end, r.exponent);
    return r;
}

// Drops trailing zeros after the point, and the point itself when nothing follows it.
void TrimFraction(std::string& text, char point)
{
    if (text.find(point) == std::string::npos) return;
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == point) text.pop_back();
}

std::string ExponentText(int exponent, int width, bool plusSign)
{
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
    if (exponent < 0) return "-" + digits;
    return plusSign ? "+" + digits : digits;
}

} // namespace

std::string NonFiniteText(double value)
{
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    return {};
}

std::string FormatFixed(double value, int decimals)
{
    if (!std::isfinite(value)) return NonFiniteText(value);
    decimals = std::clamp(decimals, 0, 1100);
    // Up to 309 integral digits, the point and the decimals.
    std::string buf(static_cast<std::size_t>(decimals) + 330, '\0');
    auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, decimals);
    (void)ec;
    buf.resize(static_cast<std::size_t>(end - buf.data()));
    if (buf[0] == '-' && buf.find_first_not_of("-0.") == std::string::npos) buf.erase(0, 1);
    return buf;
}

std::string FormatGeneral(double value, int digits, char point)
{
    if (!std::isfinite(value)) return NonFiniteText(value);
    if (value == 0.0) return "0";
    digits = std::clamp(digits, 1, 17);
    const TDecimalDigits d = RoundToSignificant(value, digits);
    std::string text = d.negative ? "-" : "";
    if (d.exponent + 1 <= digits && std::fabs(value) >= 0.00001) {
        if (d.exponent >= 0) {
            text += d.digits.substr(0, d.exponent + 1);
            text += point;
            text += d.digits.substr(d.exponent + 1);
        } else {
            text += '0';
            text += point;
            text.append(static_cast<std::size_t>(-d.exponent - 1), '0');
            text += d.digits;
        }
        TrimFraction(text, point);
        return text;
    }
    std::string mantissa = d.digits.substr(0, 1) + point + d.digits.substr(1);
    TrimFraction(mantissa, point);
    return text + mantissa + "E" + ExponentText(d.exponent, 0, false);
}

std::string FormatReal23(double value)
{
    if (!std::isfinite(value)) return NonFiniteText(value);
    TDecimalDigits d = RoundToSignificant(value, 15);
    if (value == 0.0) d.exponent = 0;
    std::string text = (d.negative ? "-" : " ") + d.digits.substr(0, 1) + "." + d.digits.substr(1) + "E"
                       + ExponentText(d.exponent, 4, true);
    double check = 0.0;
    if (d.exponent >= 308 && !TryParseNumber(text, check)) {
        // Rounded past the largest double: cut to 15 digits instead (1.79769313486231E+0308).
        char buf[64];
        auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 20);
        (void)ec;
        std::string cut(buf, end);
        text = (d.negative ? "-" : " ") + cut.substr(0, 16) + "E" + ExponentText(d.exponent, 4, true);
    }
    return text;
}
