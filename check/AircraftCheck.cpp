// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/AircraftCheck.h"

#include "check/DefaultLoadingCheck.h"
#include "check/EnvelopeCheck.h"
#include "check/FlightLimitsCheck.h"
#include "check/KeySpellingCheck.h"
#include "check/ListCheck.h"
#include "check/SettingsCheck.h"
#include "check/SlotCheck.h"

AircraftResult CheckAircraft(const CatalogueSection& section)
{
    AircraftResult result;
    AircraftSummary& summary = result.summary;
    summary.section = section.name;
    summary.line = section.line;
    summary.listed = section.listed;
    summary.slotCount = ReadCount(section, CatalogueKey::Slots).value;
    summary.imperial = ReadsImperial(section);

    AircraftFindings found = CheckKeySpelling(section);
    found += CheckValueCuts(section);
    found += CheckEnvelope(section);
    found += CheckSlots(section);
    const AircraftFindings maxWeight = CheckMaxWeight(section);
    found += maxWeight;
    found += CheckUnit(section);
    found += CheckFlightLimits(section);

    DefaultLoad load = LoadDefault(section);
    summary.loadError = load.outcome.errorBox;
    const AircraftFindings safetyNet = MarkLoadStop(found, section, load.outcome);
    found += safetyNet;
    if (load.outcome.Completed()) {
        found += CheckDefaultLoading(section, load, maxWeight.isEmpty());
        summary.loading = std::move(load.loading);
    }

    result.findings.reserve(found.size());
    for (AircraftFinding& f : found)
        result.findings.append(std::move(f.finding));
    return result;
}
