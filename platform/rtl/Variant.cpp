// Variant conversions.
#include "platform/rtl/Variant.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/NumberText.h"

#include <charconv>
#include <cmath>

namespace {

double TextToDouble(const std::string& text)
{
    std::string t = text;
    if (auto p = t.find(','); p != std::string::npos) t[p] = '.';
    double v = 0.0;
    if (!TryParseNumber(t, v)) throw EConvertError("Could not convert variant of type (String) into type (Double)");
    return v;
}

} // namespace

double Variant::AsDouble() const
{
    switch (GetKind()) {
    case Kind::Empty: return 0.0;
    case Kind::Integer: return std::get<std::int32_t>(FValue);
    case Kind::Real: return std::get<double>(FValue);
    case Kind::Text: return TextToDouble(std::get<std::string>(FValue));
    case Kind::Byte: return std::get<std::int8_t>(FValue);
    }
    return 0.0;
}

std::int32_t Variant::AsInteger() const
{
    if (GetKind() == Kind::Integer) return std::get<std::int32_t>(FValue);
    if (GetKind() == Kind::Byte) return std::get<std::int8_t>(FValue);
    const double r = std::nearbyint(AsDouble());
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throw EConvertError("Could not convert variant of type (Double) into type (Integer)");
    return static_cast<std::int32_t>(r);
}

std::string Variant::AsString() const
{
    switch (GetKind()) {
    case Kind::Empty: return {};
    case Kind::Integer: return std::to_string(std::get<std::int32_t>(FValue));
    case Kind::Real: {
        char buf[64];
        auto [p, ec] = std::to_chars(buf, buf + sizeof buf, std::get<double>(FValue));
        return ec == std::errc() ? std::string(buf, p) : std::string();
    }
    case Kind::Text: return std::get<std::string>(FValue);
    case Kind::Byte: return std::to_string(std::get<std::int8_t>(FValue));
    }
    return {};
}
