// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/AircraftFinding.h"

// The keys of an aircraft as written: unknown-key, with the known key it most
// likely misspells, and duplicate-key.
AircraftFindings CheckKeySpelling(const CatalogueSection& section);
