// Small flag types: a set of the members of an enumeration, held as one 64-bit mask, with the set
// operations the program's texts use ([ssShift, ssCtrl], S + [x], S * T, x in S, S <= T).
// Members are the enumeration's ordinals 0..63.
#pragma once

#include "platform/rtl/Exceptions.h"

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

template <class E>
    requires std::is_enum_v<E>
class TSet {
public:
    static constexpr int MaxMembers = 64;

    constexpr TSet() noexcept = default;
    constexpr TSet(std::initializer_list<E> members)
    {
        for (E m : members) FBits |= Bit(m);
    }

    // The mask with bit i standing for ordinal i (streams and property tables hold sets so).
    static constexpr TSet FromBits(std::uint64_t bits) noexcept
    {
        TSet s;
        s.FBits = bits;
        return s;
    }
    constexpr std::uint64_t Bits() const noexcept { return FBits; }

    constexpr bool Contains(E m) const { return (FBits & Bit(m)) != 0; }
    constexpr bool Empty() const noexcept { return FBits == 0; }
    constexpr int Count() const noexcept { return std::popcount(FBits); }

    constexpr TSet& Include(E m) { FBits |= Bit(m); return *this; }
    constexpr TSet& Exclude(E m) { FBits &= ~Bit(m); return *this; }
    constexpr TSet& Clear() noexcept { FBits = 0; return *this; }

    // Union, difference and intersection.
    friend constexpr TSet operator+(TSet a, TSet b) noexcept { return FromBits(a.FBits | b.FBits); }
    friend constexpr TSet operator-(TSet a, TSet b) noexcept { return FromBits(a.FBits & ~b.FBits); }
    friend constexpr TSet operator*(TSet a, TSet b) noexcept { return FromBits(a.FBits & b.FBits); }
    constexpr TSet& operator+=(TSet b) noexcept { FBits |= b.FBits; return *this; }
    constexpr TSet& operator-=(TSet b) noexcept { FBits &= ~b.FBits; return *this; }
    constexpr TSet& operator*=(TSet b) noexcept { FBits &= b.FBits; return *this; }

    // Subset and superset.
    friend constexpr bool operator<=(TSet a, TSet b) noexcept { return (a.FBits & ~b.FBits) == 0; }
    friend constexpr bool operator>=(TSet a, TSet b) noexcept { return b <= a; }
    friend constexpr bool operator==(TSet a, TSet b) noexcept = default;

private:
    // An ordinal outside 0..63 cannot be a member; taking it for one would alias another member.
    static constexpr std::uint64_t Bit(E m)
    {
        const auto ordinal = static_cast<long long>(static_cast<std::underlying_type_t<E>>(m));
        if (ordinal < 0 || ordinal >= MaxMembers) throw ERangeError();
        return std::uint64_t{1} << ordinal;
    }

    std::uint64_t FBits = 0;
};

// `x in S` of the program's texts.
template <class E>
constexpr bool InSet(E m, TSet<E> s) { return s.Contains(m); }
