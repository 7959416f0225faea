// Locale-independent number parsing: a grammar check of our own, then std::from_chars.
#include "platform/rtl/NumberText.h"

#include <charconv>
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
