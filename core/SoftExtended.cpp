// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SoftExtended.h"

#include <algorithm>
#include <cstdint>
#define MPFR_USE_INTMAX_T 1
#include <mpfr.h>

namespace {

constexpr mpfr_prec_t Precision = 64;
// MPFR writes a number as 0.1bbb... x 2^e. The largest extended value lies
// just below 2^16384; the smallest subnormal is 2^-16445 = 0.1 x 2^-16444.
constexpr mpfr_exp_t MaxExponent = 16384;
constexpr mpfr_exp_t MinExponent = -16444;
constexpr int Bias = 16383;
constexpr int ExponentField = 0x7fff;
constexpr uint16_t SignBit = 0x8000;
constexpr uint64_t IntegerBit = uint64_t(1) << 63;

// MPFR's exponent range belongs to the thread: it is the extended range for
// one computation and whatever it was before afterwards.
class ExtendedRange
{
public:
    ExtendedRange() : m_min(mpfr_get_emin()), m_max(mpfr_get_emax())
    {
        mpfr_set_emin(MinExponent);
        mpfr_set_emax(MaxExponent);
    }
    ~ExtendedRange()
    {
        mpfr_set_emin(m_min);
        mpfr_set_emax(m_max);
    }
    ExtendedRange(const ExtendedRange&) = delete;
    ExtendedRange& operator=(const ExtendedRange&) = delete;

private:
    mpfr_exp_t m_min;
    mpfr_exp_t m_max;
};

// An MPFR variable of the extended precision, its significand on the stack:
// no allocation for a number of 64 bits.
class Number
{
public:
    Number()
    {
        mpfr_custom_init(m_significand, Precision);
        mpfr_custom_init_set(m_value, MPFR_ZERO_KIND, 0, Precision, m_significand);
    }
    Number(const Number&) = delete;
    Number& operator=(const Number&) = delete;
    operator mpfr_ptr() { return m_value; }

private:
    mp_limb_t m_significand[(Precision + GMP_NUMB_BITS - 1) / GMP_NUMB_BITS];
    mpfr_t m_value;
};

void Load(ExtendedBits bits, mpfr_ptr x)
{
    const bool negative = (bits.signExponent & SignBit) != 0;
    const int field = bits.signExponent & ExponentField;
    if (field == ExponentField) {
        if ((bits.significand << 1) == 0)
            mpfr_set_inf(x, negative ? -1 : 1);
        else
            mpfr_set_nan(x);
    } else if (bits.significand == 0) {
        mpfr_set_zero(x, negative ? -1 : 1);
    } else {
        // significand x 2^(exponent - bias - 63); subnormals share the
        // exponent of the smallest normal. Exact: 64 bits fit.
        mpfr_set_uj_2exp(x, bits.significand, std::max(field, 1) - Bias - 63, MPFR_RNDN);
        if (negative)
            mpfr_neg(x, x, MPFR_RNDN);
    }
}

// `x` must lie on the extended grid (as Rounded leaves it).
ExtendedBits Store(mpfr_ptr x)
{
    const uint16_t sign = mpfr_signbit(x) ? SignBit : 0;
    if (mpfr_nan_p(x)) // what the x87 makes of an invalid operation
        return {uint16_t(SignBit | ExponentField), IntegerBit | IntegerBit >> 1};
    if (mpfr_inf_p(x))
        return {uint16_t(sign | ExponentField), IntegerBit};
    if (mpfr_zero_p(x))
        return {sign, 0};
    const mpfr_exp_t e = mpfr_get_exp(x);
    Number scaled; // the 64 bits as an integer
    mpfr_mul_2si(scaled, x, Precision - e, MPFR_RNDN);
    mpfr_abs(scaled, scaled, MPFR_RNDN);
    uint64_t significand = mpfr_get_uj(scaled, MPFR_RNDN);
    long field = long(e) - 1 + Bias;
    if (field < 1) { // subnormal: the low bits are zero, the shift loses nothing
        significand >>= 1 - field;
        field = 0;
    }
    return {uint16_t(sign | field), significand};
}

// A result MPFR rounded to 64 bits within the extended exponent range,
// rounded again to the subnormal grid where it falls there: `ternary` tells
// which way the first rounding went, so this is one rounding of the exact
// result, as the x87 does it.
SoftExtended Rounded(mpfr_ptr x, int ternary)
{
    mpfr_subnormalize(x, ternary, MPFR_RNDN);
    return SoftExtended::FromBits(Store(x));
}

} // namespace

SoftExtended::SoftExtended(double value)
{
    Number x;
    mpfr_set_d(x, value, MPFR_RNDN);
    m_bits = Store(x);
}

SoftExtended::operator double() const
{
    Number x;
    Load(m_bits, x);
    return mpfr_get_d(x, MPFR_RNDN);
}

SoftExtended::operator float() const
{
    Number x;
    Load(m_bits, x);
    return mpfr_get_flt(x, MPFR_RNDN);
}

SoftExtended operator*(SoftExtended a, SoftExtended b)
{
    const ExtendedRange range;
    Number x, y, product;
    Load(a.m_bits, x);
    Load(b.m_bits, y);
    return Rounded(product, mpfr_mul(product, x, y, MPFR_RNDN));
}

SoftExtended operator+(SoftExtended a, SoftExtended b)
{
    const ExtendedRange range;
    Number x, y, sum;
    Load(a.m_bits, x);
    Load(b.m_bits, y);
    return Rounded(sum, mpfr_add(sum, x, y, MPFR_RNDN));
}

bool operator==(SoftExtended a, SoftExtended b)
{
    Number x, y;
    Load(a.m_bits, x);
    Load(b.m_bits, y);
    return mpfr_equal_p(x, y) != 0;
}

std::partial_ordering operator<=>(SoftExtended a, SoftExtended b)
{
    Number x, y;
    Load(a.m_bits, x);
    Load(b.m_bits, y);
    if (mpfr_unordered_p(x, y))
        return std::partial_ordering::unordered;
    const int c = mpfr_cmp(x, y);
    return c < 0   ? std::partial_ordering::less
           : c > 0 ? std::partial_ordering::greater
                   : std::partial_ordering::equivalent;
}

bool ExtendedOps<SoftExtended>::Nearest(const char* digits, SoftExtended& value)
{
    const ExtendedRange range;
    Number x;
    char* end = nullptr;
    const int ternary = mpfr_strtofr(x, digits, &end, 10, MPFR_RNDN);
    if (*end != '\0')
        return false;
    const SoftExtended result = Rounded(x, ternary);
    if (!mpfr_number_p(x))
        return false;
    value = result;
    return true;
}

SoftExtended ExtendedOps<SoftExtended>::NextToward(SoftExtended from, SoftExtended to)
{
    const auto order = from <=> to;
    if (order == std::partial_ordering::unordered)
        return from + to; // a NaN, as nextafterl gives
    if (order == std::partial_ordering::equivalent)
        return to;
    ExtendedBits bits = from.Bits();
    const bool negative = (bits.signExponent & SignBit) != 0;
    int field = bits.signExponent & ExponentField;
    uint64_t significand = bits.significand;
    if (significand == 0) // from zero: the smallest subnormal on the side of `to`
        return SoftExtended::FromBits({uint16_t(order < 0 ? 0 : SignBit), 1});
    // Steps on the bits, as the format orders its magnitudes: the significand
    // runs over the subnormals into the normals, then wraps into the next binade.
    if ((order < 0) != negative) { // away from zero
        if (significand == ~uint64_t(0)) {
            significand = IntegerBit;
            ++field;
        } else if (++significand == IntegerBit && field == 0) {
            field = 1;
        }
    } else if (significand == IntegerBit && field > 0) { // toward zero from a binade's start
        --field;
        significand = field == 0 ? IntegerBit - 1 : ~uint64_t(0);
    } else {
        --significand;
    }
    bits.signExponent = uint16_t((negative ? SignBit : 0) | field);
    bits.significand = significand;
    return SoftExtended::FromBits(bits);
}
