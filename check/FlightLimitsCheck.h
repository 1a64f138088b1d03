// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/AircraftFinding.h"

// The keys that judge a whole flight, read by core/FlightLimits as trx-sheet
// reads them: weight-limit, limit-order, fuel-slots and fuel-density, each
// an error at the key's line. None stops a load: the window never reads them.
AircraftFindings CheckFlightLimits(const CatalogueSection& section);
