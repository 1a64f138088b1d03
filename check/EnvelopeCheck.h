// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/AircraftFinding.h"

// The envelope of an aircraft: its count (count-too-large), its two lists,
// and why the outline is no envelope a loading can be judged against
// (envelope-degenerate, envelope-open, envelope-self-intersecting).
AircraftFindings CheckEnvelope(const CatalogueSection& section);
