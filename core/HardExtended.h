// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The x86-64 long double as the extended type. Anywhere else, or with a
// long double of another format, this does not build: the numbers would
// silently differ.

#include "core/ExtendedSteps.h"

#include <cstring>
#include <limits>

#if !defined(__x86_64__)
#error "long double is the x87 80-bit format only on x86-64: build with TRX_SOFT_EXTENDED"
#endif

static_assert(std::numeric_limits<long double>::is_iec559);
static_assert(std::numeric_limits<long double>::radix == 2);
static_assert(std::numeric_limits<long double>::digits == 64, "64-bit significand");
static_assert(std::numeric_limits<long double>::max_exponent == 16384 &&
                  std::numeric_limits<long double>::min_exponent == -16381,
              "15-bit exponent");
static_assert(std::numeric_limits<long double>::has_denorm == std::denorm_present &&
                  std::numeric_limits<long double>::denorm_min() == 0x1p-16445L,
              "subnormals down to 2^-16445");
static_assert(std::numeric_limits<long double>::round_style == std::round_to_nearest,
              "round to nearest even");
static_assert(sizeof(long double) >= 10);

template <> struct ExtendedOps<long double>
{
    static bool Nearest(const char* digits, long double& value)
    {
        char* end = nullptr;
        const long double result = strtold_l(digits, &end, CNumericLocale());
        if (*end != '\0' || !std::isfinite(result))
            return false;
        value = result;
        return true;
    }

    static long double NextToward(long double from, long double to)
    {
        return std::nextafter(from, to);
    }

    static ExtendedBits Bits(long double value)
    {
        ExtendedBits bits;
        std::memcpy(&bits.significand, &value, 8);
        std::memcpy(&bits.signExponent, reinterpret_cast<const char*>(&value) + 8, 2);
        return bits;
    }

    static long double FromBits(ExtendedBits bits)
    {
        long double value = 0;
        std::memcpy(&value, &bits.significand, 8);
        std::memcpy(reinterpret_cast<char*>(&value) + 8, &bits.signExponent, 2);
        return value;
    }
};
