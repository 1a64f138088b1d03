// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The aircraft as the OK button loads it: where the load stops, and the
// default loading it ends with (default-total, default-outside-envelope, and
// totals beyond single precision).

#include "check/AircraftFinding.h"
#include "core/AircraftLoad.h"
#include "core/LoadingJudgement.h"

// A load of the aircraft from the first entry of each key, by the headless load.
struct DefaultLoad
{
    LoadOutcome outcome;
    AircraftState state;
    int slotCount = 0; // the rows the load added to the sheet
    // The default loading judged as the chart's outline judges it, once the
    // load completed with a slot; left as it is (no centre of gravity, no
    // envelope) for an aircraft without slots, which has no loading.
    LoadingJudgement loading;
};
DefaultLoad LoadDefault(const CatalogueSection& section);

// Marks in `found` the finding whose step is where `outcome` stops, and ends
// each load-stopping finding's message with the box it shows or would show.
// Returns the section-wide finding that quotes the box when no finding
// foresaw the stop, and none otherwise.
AircraftFindings MarkLoadStop(AircraftFindings& found, const CatalogueSection& section,
                              const LoadOutcome& outcome);

// The findings on the default loading of a completed `load`.
// `maxWeightUsable`: MaxWeight itself has no finding, so a total over it is
// worth one.
AircraftFindings CheckDefaultLoading(const CatalogueSection& section, const DefaultLoad& load,
                                     bool maxWeightUsable);
