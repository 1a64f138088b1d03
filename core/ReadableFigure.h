// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Figures as a person reads them on a sheet: rounded, decided on the exact
// value first. The sheet's cells and everything a program reads keep the
// exact texts; these are for the totals, limits and margins printed beside.

// Weights and moments are read to 0.1, centres of gravity to 0.001 m or
// 0.01 in.
constexpr int WeightDecimals = 1;
constexpr int MomentDecimals = 1;
int CentreDecimals(bool imperial);

// `value` in fixed notation with `decimals` places (rounded to nearest) and
// the program's decimal separator, no group separators. A value that is not
// zero never reads as zero: it keeps places up to its first significant
// digit ("0.04", "-0.0003"). A value that is not finite reads as
// FiniteText gives it.
QString ReadableFigure(double value, int decimals);

// FloatToStr's text for a finite value; in words, "infinite", "minus
// infinite" or "not a number", for one that is not: a total beyond single
// precision is said, never shown as INF or NAN.
QString FiniteText(double value);
