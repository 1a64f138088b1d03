// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/AircraftFinding.h"

// The two settings of an aircraft that are single numbers: MaxWeight
// (max-weight, out-of-range) and Unit (unit).

// Findings about the maximum total weight; none when it is a usable limit.
AircraftFindings CheckMaxWeight(const CatalogueSection& section);
AircraftFindings CheckUnit(const CatalogueSection& section);
// The sheet's labels are imperial.
bool ReadsImperial(const CatalogueSection& section);
