// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The steps that take numbers at extended precision, written once for both
// types that hold the x87 80-bit format: the x86-64 long double
// (HardExtended.h) and its software twin (SoftExtended.h). The program uses
// the one Extended.h chooses; the differential fuzz target runs both.

#include <cmath>
#include <cstdint>
#include <locale.h>
#include <stdlib.h>
#include <string>

// An extended value as x86-64 stores it: sign and 15-bit biased exponent,
// then the 64-bit significand with its explicit integer bit.
struct ExtendedBits
{
    uint16_t signExponent = 0;
    uint64_t significand = 0;
    friend bool operator==(const ExtendedBits&, const ExtendedBits&) = default;
};

// Specialised beside each type:
//   static bool Nearest(const char* digits, X& value): the value nearest to a
//       "[-]<digits>e[-]<exponent>" text, ties to even; false beyond the range.
//   static X NextToward(X from, X to): one step of the format from `from`
//       toward `to`; `to` itself when they are equal.
//   static ExtendedBits Bits(X value) and static X FromBits(ExtendedBits bits).
template <typename X> struct ExtendedOps;

// The C library reads our digits whatever the process locale says.
inline locale_t CNumericLocale()
{
    static const locale_t loc = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

// The double nearest to a "[-]<digits>e[-]<exponent>" text.
inline double NearestDouble(const std::string& digits)
{
    return strtod_l(digits.c_str(), nullptr, CNumericLocale());
}

// A "[-]<digits>e[-]<exponent>" text at extended precision; false beyond the
// extended range, zero or a subnormal below it.
template <typename X> bool ReadExtended(const std::string& digits, X& value)
{
    X result;
    if (!ExtendedOps<X>::Nearest(digits.c_str(), result))
        return false;
    // An extended value lying exactly halfway between two doubles would be
    // rounded to double by the tie rule, not by the digits, so a double
    // written with 15 digits could come back as its neighbour. One unit of
    // extended precision toward the double the digits name settles it.
    const double direct = NearestDouble(digits);
    if (std::isfinite(direct) && static_cast<double>(result) != direct)
        result = ExtendedOps<X>::NextToward(result, X(direct));
    value = result;
    return true;
}

// A torque: the product taken at extended precision, then rounded to double.
template <typename X> double ProductToDouble(X a, X b)
{
    return static_cast<double>(a * b);
}

// A running total: the value added at extended precision, the sum rounded to
// single precision.
template <typename X> float AddToSingle(X value, float total)
{
    return static_cast<float>(value + total);
}
