// Format for one real argument: the directive's width, precision and type are read by hand and the digits
// come from the run time's own fixed and general formatting, never from the C library's locale.
#include "platform/rtl/SysFormat.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/NumberText.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

[[noreturn]] void Invalid(std::string_view format)
{
    throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

// The digits of |value| in "." notation; the separators are applied afterwards.
std::string Fixed(double v, int prec) { return FormatFixed(v, prec); }

std::string Exponent(double v, int prec)
{
    // prec significant digits (at least 1) in the mantissa, the exponent signed with at least 3 digits.
    const int decimals = std::max(0, prec - 1);
    int e = v == 0 ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(v))));
    std::string mant = FormatFixed(v / std::pow(10.0, e), decimals);
    // Rounding may carry into a tenth digit ("10.00"): one more power of ten.
    const std::size_t lead = mant[0] == '-' ? 1 : 0;
    if (mant.size() > lead + 1 && mant[lead] == '1' && mant[lead + 1] == '0' && (mant.size() == lead + 2 || mant[lead + 2] == '.')) {
        ++e;
        mant = FormatFixed(v / std::pow(10.0, e), decimals);
    }
    std::string digits = std::to_string(std::abs(e));
    while (digits.size() < 3) digits = "0" + digits;
    return mant + "E" + (e < 0 ? "-" : "+") + digits;
}

std::string WithSeparators(std::string s, bool thousands)
{
    const TFormatSettings& fs = FormatSettings();
    const auto dot = s.find('.');
    if (dot != std::string::npos) s[dot] = fs.DecimalSeparator;
    if (thousands) {
        const std::size_t start = s[0] == '-' ? 1 : 0;
        std::size_t end = dot == std::string::npos ? s.find_first_not_of("0123456789", start) : dot;
        if (end == std::string::npos) end = s.size();
        for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(end) - 3; i > static_cast<std::ptrdiff_t>(start); i -= 3)
            s.insert(static_cast<std::size_t>(i), 1, fs.ThousandSeparator);
    }
    return s;
}

} // namespace

std::string FormatFloatDirective(std::string_view format, double value)
{
    std::string out;
    bool used = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        if (++i >= format.size()) Invalid(format);
        if (format[i] == '%') {
            out += '%';
            continue;
        }
        if (used) Invalid(format);
        used = true;
        bool left = false;
        if (format[i] == '-') {
            left = true;
            ++i;
        }
        int width = 0, prec = -1;
        while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) width = std::min(1000, width * 10 + (format[i++] - '0'));
        if (i < format.size() && format[i] == '.') {
            prec = 0;
            ++i;
            while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) prec = std::min(1000, prec * 10 + (format[i++] - '0'));
        }
        if (i >= format.size()) Invalid(format);
        std::string s;
        if (!std::isfinite(value)) s = NonFiniteText(value);
        else switch (std::tolower(static_cast<unsigned char>(format[i]))) {
        case 'f': s = WithSeparators(Fixed(value, prec < 0 ? 2 : std::min(prec, 18)), false); break;
        case 'n':
        case 'm': s = WithSeparators(Fixed(value, prec < 0 ? 2 : std::min(prec, 18)), true); break;
        case 'e': s = WithSeparators(Exponent(value, prec < 0 ? 15 : std::clamp(prec, 1, 18)), false); break;
        case 'g': s = WithSeparators(FormatGeneral(value, prec < 0 ? 15 : std::clamp(prec, 1, 17)), false); break;
        default: Invalid(format);
        }
        if (static_cast<int>(s.size()) < width) {
            const std::string pad(static_cast<std::size_t>(width) - s.size(), ' ');
            s = left ? s + pad : pad + s;
        }
        out += s;
    }
    return out;
}
