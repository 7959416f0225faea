// FormatFloat's picture reader and writer, and FloatToStr. Digits come from std::to_chars, which is
// correctly rounded and ignores the C locale.
#include "platform/rtl/FloatFormat.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

// A decimal significand d1d2d3... and the exponent e of the form d1.d2d3... x 10^e.
struct TDigits {
    std::string Digits;
    int Exponent = 0;
};

// |value| (finite, not 0) rounded to `significant` digits (at most 17).
TDigits SignificantDigits(double value, int significant)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                                   significant - 1);
    const std::string text(buf, res.ptr);
    TDigits d;
    const std::size_t e = text.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.') d.Digits += text[i];
    d.Exponent = std::atoi(text.c_str() + e + 1);
    return d;
}

// Display formatting first takes the 15 significant digits a reader sees, so that a binary neighbour
// of a decimal half (1234567.8915) rounds as written; this keeps `keep` digits of them, halves rounding
// away from zero. Keeping none leaves either nothing (zero) or a carried 1.
void RoundDigits(TDigits& d, int keep)
{
    if (keep >= static_cast<int>(d.Digits.size())) {
        d.Digits.append(static_cast<std::size_t>(keep) - d.Digits.size(), '0');
        return;
    }
    const bool up = keep >= 0 && d.Digits[static_cast<std::size_t>(keep)] >= '5';
    d.Digits.resize(static_cast<std::size_t>(std::max(keep, 0)));
    if (!up) return;
    int i = keep - 1;
    while (i >= 0 && d.Digits[static_cast<std::size_t>(i)] == '9') d.Digits[static_cast<std::size_t>(i--)] = '0';
    if (i >= 0) {
        ++d.Digits[static_cast<std::size_t>(i)];
    } else {
        d.Digits.insert(d.Digits.begin(), '1');
        ++d.Exponent;
    }
}

// |value| in fixed notation with `decimals` digits after the point, split at the point.
void FixedDigits(double value, int decimals, std::string& intPart, std::string& fracPart)
{
    intPart = "0";
    fracPart.assign(static_cast<std::size_t>(decimals), '0');
    if (value == 0) return;
    TDigits d = SignificantDigits(value, 15);
    RoundDigits(d, d.Exponent + 1 + decimals);
    if (d.Digits.empty() || d.Exponent + 1 + decimals <= 0) return;
    if (d.Exponent >= 0) {
        const std::size_t intCount = static_cast<std::size_t>(d.Exponent) + 1;
        intPart = d.Digits.substr(0, intCount);
        fracPart = d.Digits.substr(intCount);
    } else {
        fracPart = std::string(static_cast<std::size_t>(-d.Exponent - 1), '0') + d.Digits;
    }
    fracPart.resize(static_cast<std::size_t>(decimals), '0');
}

bool AllZero(const std::string& s)
{
    for (char c : s)
        if (c != '0') return false;
    return true;
}

// ---- The picture ---------------------------------------------------------------------------------------

enum class TTokenKind { IntDigit, FracDigit, Point, Exponent, Literal };

struct TToken {
    TTokenKind Kind = TTokenKind::Literal;
    bool Zero = false;  // digit placeholder "0" (else "#")
    std::string Text;   // literal text; for the exponent its letter
    bool PlusSign = false;
    int ExponentDigits = 0;
};

TToken MakeToken(TTokenKind kind, bool zero = false, std::string text = {})
{
    TToken t;
    t.Kind = kind;
    t.Zero = zero;
    t.Text = std::move(text);
    return t;
}

struct TPicture {
    std::vector<TToken> Tokens;
    bool Thousands = false;
    bool Scientific = false;
    int IntPlaces = 0;     // placeholders before the point
    int IntRequired = 0;   // placeholders from the first "0" before the point up to the point
    int FracPlaces = 0;
    int FracRequired = 0;  // placeholders after the point up to the last "0"
};

TPicture ReadPicture(std::string_view s)
{
    TPicture pic;
    bool afterPoint = false;
    bool afterExponent = false;
    int firstIntZero = -1;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"' || c == '\'') {
            const std::size_t close = s.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? s.size() : close;
            pic.Tokens.push_back(MakeToken(TTokenKind::Literal, false, std::string(s.substr(i + 1, end - i - 1))));
            i = end;
        } else if ((c == '0' || c == '#') && !afterExponent) {
            if (afterPoint) {
                pic.Tokens.push_back(MakeToken(TTokenKind::FracDigit, c == '0'));
                ++pic.FracPlaces;
                if (c == '0') pic.FracRequired = pic.FracPlaces;
            } else {
                if (c == '0' && firstIntZero < 0) firstIntZero = pic.IntPlaces;
                pic.Tokens.push_back(MakeToken(TTokenKind::IntDigit, c == '0'));
                ++pic.IntPlaces;
            }
        } else if (c == '.' && !afterPoint && !afterExponent) {
            afterPoint = true;
            pic.Tokens.push_back(MakeToken(TTokenKind::Point));
        } else if (c == ',' && !afterPoint && !afterExponent) {
            pic.Thousands = true;
        } else if ((c == 'E' || c == 'e') && !afterExponent && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) {
            TToken t = MakeToken(TTokenKind::Exponent, false, std::string(1, c));
            t.PlusSign = s[i + 1] == '+';
            i += 1;
            while (i + 1 < s.size() && s[i + 1] == '0') {
                ++t.ExponentDigits;
                ++i;
            }
            pic.Tokens.push_back(t);
            pic.Scientific = true;
            afterExponent = true;
        } else {
            pic.Tokens.push_back(MakeToken(TTokenKind::Literal, false, std::string(1, c)));
        }
    }
    pic.IntRequired = firstIntZero < 0 ? 0 : pic.IntPlaces - firstIntZero;
    return pic;
}

// The number as digit strings ready to be laid into the picture.
struct TNumberParts {
    std::string Int;
    std::string Frac;
    int Exponent = 0;
    bool IsZero = true;
};

TNumberParts FixedParts(const TPicture& pic, double value)
{
    TNumberParts n;
    FixedDigits(value, pic.FracPlaces, n.Int, n.Frac);
    n.IsZero = AllZero(n.Int) && AllZero(n.Frac);
    if (n.Int == "0" && pic.IntRequired == 0) n.Int.clear();
    while (static_cast<int>(n.Int.size()) < pic.IntRequired) n.Int.insert(n.Int.begin(), '0');
    return n;
}

TNumberParts ScientificParts(const TPicture& pic, double value)
{
    TNumberParts n;
    if (value == 0) {
        n.Int = pic.IntPlaces > 0 ? "0" : "";
        n.Frac = std::string(static_cast<std::size_t>(pic.FracPlaces), '0');
        return n;
    }
    const int significant = std::max(1, pic.IntPlaces + pic.FracPlaces);
    TDigits d = SignificantDigits(value, 15);
    RoundDigits(d, significant);
    const std::size_t intCount = static_cast<std::size_t>(pic.IntPlaces);
    n.Int = d.Digits.substr(0, std::min(intCount, d.Digits.size()));
    while (n.Int.size() < intCount) n.Int += '0';
    n.Frac = intCount < d.Digits.size() ? d.Digits.substr(intCount) : std::string();
    n.Exponent = d.Exponent - pic.IntPlaces + 1;
    n.IsZero = false;
    return n;
}

void AppendExponent(std::string& out, const TToken& t, int exponent)
{
    out += t.Text;
    if (exponent < 0)
        out += '-';
    else if (t.PlusSign)
        out += '+';
    std::string digits = std::to_string(std::abs(exponent));
    while (static_cast<int>(digits.size()) < t.ExponentDigits) digits.insert(digits.begin(), '0');
    out += digits;
}

// Lays the parts into the picture: the first integer placeholder takes every digit beyond the
// placeholders, groups of three are separated when asked.
std::string WritePicture(const TPicture& pic, const TNumberParts& n, const TFormatSettings& fs)
{
    std::string frac = n.Frac;
    while (static_cast<int>(frac.size()) > pic.FracRequired && !frac.empty() && frac.back() == '0') frac.pop_back();

    const int count = static_cast<int>(n.Int.size());
    std::string out;
    auto emitDigit = [&](int i) {
        out += n.Int[static_cast<std::size_t>(i)];
        const int after = count - 1 - i;
        if (pic.Thousands && after > 0 && after % 3 == 0) out += fs.ThousandSeparator;
    };
    auto emitAllInt = [&] {
        for (int i = 0; i < count; ++i) emitDigit(i);
    };
    bool intWritten = pic.IntPlaces > 0;
    int k = 0;
    int j = 0;
    for (const TToken& t : pic.Tokens) {
        switch (t.Kind) {
        case TTokenKind::IntDigit: {
            const int idx = count - pic.IntPlaces + k;
            if (k == 0) {
                for (int i = 0; i <= idx; ++i) emitDigit(i);
            } else if (idx >= 0) {
                emitDigit(idx);
            }
            ++k;
            break;
        }
        case TTokenKind::Point:
            if (!intWritten) {
                emitAllInt();
                intWritten = true;
            }
            if (!frac.empty()) out += fs.DecimalSeparator;
            break;
        case TTokenKind::FracDigit:
            if (j < static_cast<int>(frac.size())) out += frac[static_cast<std::size_t>(j)];
            ++j;
            break;
        case TTokenKind::Exponent:
            if (!intWritten) {
                emitAllInt();
                intWritten = true;
            }
            AppendExponent(out, t, n.Exponent);
            break;
        case TTokenKind::Literal:
            out += t.Text;
            break;
        }
    }
    if (!intWritten) out.insert(0, n.Int);
    return out;
}

std::vector<std::string_view> SplitSections(std::string_view format)
{
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    char quote = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            sections.push_back(format.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(format.substr(start));
    return sections;
}

// The text of |value| in one section, and whether it rounded to zero.
std::string FormatSection(std::string_view section, double value, const TFormatSettings& fs, bool& isZero)
{
    const TPicture pic = ReadPicture(section);
    const TNumberParts parts = pic.Scientific ? ScientificParts(pic, value) : FixedParts(pic, value);
    isZero = parts.IsZero;
    return WritePicture(pic, parts, fs);
}

} // namespace

std::string FormatFloat(std::string_view format, double value, const TFormatSettings& fs)
{
    if (!std::isfinite(value)) return NonFiniteText(value);
    if (format.empty()) return FloatToStr(value, fs);
    const std::vector<std::string_view> sections = SplitSections(format);
    auto has = [&](std::size_t i) { return sections.size() > i && !sections[i].empty(); };

    if (value == 0 && has(2)) {
        bool zero = false;
        return FormatSection(sections[2], 0.0, fs, zero);
    }
    const bool negative = value < 0;
    const bool ownNegative = negative && has(1);
    bool zero = false;
    std::string text = FormatSection(ownNegative ? sections[1] : sections[0], value, fs, zero);
    if (zero && has(2)) return FormatSection(sections[2], 0.0, fs, zero);
    if (negative && !ownNegative && !zero) text.insert(text.begin(), '-');
    return text;
}

std::string FormatFloat(std::string_view format, double value) { return FormatFloat(format, value, FormatSettings()); }

std::string FloatToStr(double value, const TFormatSettings& fs)
{
    if (!std::isfinite(value)) return NonFiniteText(value);
    if (value == 0) return "0";
    TDigits d = SignificantDigits(value, 15);
    while (d.Digits.size() > 1 && d.Digits.back() == '0') d.Digits.pop_back();
    const int e = d.Exponent + 1; // value = 0.d1d2... x 10^e
    const int n = static_cast<int>(d.Digits.size());
    std::string out = value < 0 ? "-" : "";
    if (e > 15 || e < -3) {
        out += d.Digits[0];
        if (n > 1) {
            out += fs.DecimalSeparator;
            out += d.Digits.substr(1);
        }
        out += 'E';
        out += std::to_string(e - 1);
    } else if (e <= 0) {
        out += '0';
        out += fs.DecimalSeparator;
        out += std::string(static_cast<std::size_t>(-e), '0');
        out += d.Digits;
    } else {
        std::string digits = d.Digits;
        while (static_cast<int>(digits.size()) < e) digits += '0';
        out += digits.substr(0, static_cast<std::size_t>(e));
        if (static_cast<int>(digits.size()) > e) {
            out += fs.DecimalSeparator;
            out += digits.substr(static_cast<std::size_t>(e));
        }
    }
    return out;
}

std::string FloatToStr(double value) { return FloatToStr(value, FormatSettings()); }

bool TryStrToFloat(std::string_view text, double& value, const TFormatSettings& fs)
{
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty()) return false;
    std::string dotted(text);
    if (fs.DecimalSeparator != '.') {
        if (dotted.find('.') != std::string::npos) return false;
        for (char& c : dotted)
            if (c == fs.DecimalSeparator) c = '.';
    }
    return TryParseNumber(dotted, value);
}

double StrToFloat(std::string_view text)
{
    double value = 0;
    if (!TryStrToFloat(text, value, FormatSettings()))
        throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
    return value;
}
