// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ExtendedSteps.h"

#include <compare>

// The x87 80-bit extended format computed in software with GNU MPFR: 64-bit
// significand, exponent range of 15 bits, subnormals down to 2^-16445, round
// to nearest even. Every result is the one an x86-64 processor gives with its
// long double, bit for bit, on any machine. Held as x86-64 stores it.
class SoftExtended
{
public:
    constexpr SoftExtended() = default;
    // Exact, as for long double: every double is an extended value.
    SoftExtended(double value); // NOLINT(google-explicit-constructor)

    // Rounded once, to nearest even, subnormals included; beyond the range: infinite.
    explicit operator double() const;
    explicit operator float() const;

    // Rounded to the extended format; beyond its range: infinite.
    friend SoftExtended operator*(SoftExtended a, SoftExtended b);
    friend SoftExtended operator+(SoftExtended a, SoftExtended b);

    friend bool operator==(SoftExtended a, SoftExtended b);
    friend std::partial_ordering operator<=>(SoftExtended a, SoftExtended b);

    ExtendedBits Bits() const { return m_bits; }
    // `bits` as x86-64 stores a value; other encodings than the canonical ones are not values.
    static SoftExtended FromBits(ExtendedBits bits)
    {
        SoftExtended value;
        value.m_bits = bits;
        return value;
    }

private:
    ExtendedBits m_bits;
};

template <> struct ExtendedOps<SoftExtended>
{
    static bool Nearest(const char* digits, SoftExtended& value);
    static SoftExtended NextToward(SoftExtended from, SoftExtended to);
    static ExtendedBits Bits(SoftExtended value) { return value.Bits(); }
    static SoftExtended FromBits(ExtendedBits bits) { return SoftExtended::FromBits(bits); }
};
