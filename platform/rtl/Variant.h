// The variant of the polygon property slots: empty, 32-bit integer, real, text or one-byte integer.
// A number converts to itself, empty to 0, a text by the run time's number rule (the first "," taken as
// the point) or else raises EConvertError.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

class Variant {
public:
    enum class Kind { Empty, Integer, Real, Text, Byte };

    Variant() = default;
    Variant(std::int32_t v) : FValue(v) {}
    // A one-byte integer: a number like the others, but a kind of its own where the kind is written out.
    Variant(std::int8_t v) : FValue(v) {}
    Variant(double v) : FValue(v) {}
    Variant(const char* v) : FValue(std::string(v)) {}
    Variant(std::string v) : FValue(std::move(v)) {}

    Kind GetKind() const { return static_cast<Kind>(FValue.index()); }
    bool IsEmpty() const { return GetKind() == Kind::Empty; }
    bool IsNumber() const { return GetKind() == Kind::Integer || GetKind() == Kind::Real || GetKind() == Kind::Byte; }

    // Conversions; AsInteger rounds a real to the nearest integer (halves to even) and raises
    // EConvertError when it lies outside the 32-bit range.
    double AsDouble() const;
    std::int32_t AsInteger() const;
    // Text of the value: digits for an integer, the shortest round-trip form with "." for a real,
    // "" for empty.
    std::string AsString() const;

    bool operator==(const Variant& o) const { return FValue == o.FValue; }

private:
    std::variant<std::monostate, std::int32_t, double, std::string, std::int8_t> FValue;
};
