// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one place that chooses the extended-precision type every number read
// from text is held in: the x87 80-bit format (64-bit significand, 15-bit
// exponent, subnormals, round to nearest even). On x86-64 it is the
// processor's long double; elsewhere, or when the build forces it
// (TRX_SOFT_EXTENDED), the same format in software, bit for bit.
// Use it through `Extended` and the steps of ExtendedSteps.h.

#if !defined(TRX_SOFT_EXTENDED)
#error "TRX_SOFT_EXTENDED comes from the build (core/CMakeLists.txt)"
#endif

#if TRX_SOFT_EXTENDED
#include "core/SoftExtended.h"
using Extended = SoftExtended;
#else
#include "core/HardExtended.h"
using Extended = long double;
#endif
