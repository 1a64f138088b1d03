// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/AircraftCheck.h"

#include "check/DefaultLoadingCheck.h"
#include "check/EnvelopeCheck.h"
#include "check/FlightLimitsCheck.h"
#include "check/KeySpellingCheck.h"
#include "check/ListCheck.h"
#include "check/SettingsCheck.h"
#include "check/SlotCheck.h"

namespace {

AircraftSummary::Fit SummaryFit(EnvelopeVerdict::Fit fit)
{
    switch (fit) {
    case EnvelopeVerdict::Fit::Inside:
        return AircraftSummary::Fit::Inside;
    case EnvelopeVerdict::Fit::Outside:
        return AircraftSummary::Fit::Outside;
    case EnvelopeVerdict::Fit::NoEnvelope:
        break;
    }
    return AircraftSummary::Fit::NoEnvelope;
}

} // namespace

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

    const DefaultLoad load = LoadDefault(section);
    summary.loadError = load.outcome.errorBox;
    const AircraftFindings safetyNet = MarkLoadStop(found, section, load.outcome);
    found += safetyNet;
    if (load.outcome.Completed()) {
        summary.weight = load.end.weight;
        summary.moment = load.end.moment;
        const DefaultLoading loading = CheckDefaultLoading(section, load, maxWeight.isEmpty());
        found += loading.findings;
        summary.fit = SummaryFit(loading.fit);
    }

    result.findings.reserve(found.size());
    for (AircraftFinding& f : found)
        result.findings.append(std::move(f.finding));
    return result;
}
