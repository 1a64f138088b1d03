// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/AircraftFinding.h"

// The slots of an aircraft: their count (no-slots, count-too-large), their
// lists, each slot's limits and default loading against them
// (position-limits, default-position, default-weight) and its torque.
AircraftFindings CheckSlots(const CatalogueSection& section);
